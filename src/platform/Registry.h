#pragma once

#include "platform/Service.h"

#include <QString>

#include <optional>

namespace platform {

// The few system settings the program looks up by key, the way it would on
// the desktop it was made for: "SOFTWARE\Microsoft\Shared Tools\MSINFO",
// value "PATH", names the system-information program, and
// "SOFTWARE\Microsoft\Shared Tools Location", value "MSINFO", the folder
// that holds it. On this host the first answers with a system-information
// program found on the PATH; nothing else is set.
class Registry {
public:
    virtual ~Registry() = default;
    // The text of a value under HKEY_LOCAL_MACHINE, or nothing when the key
    // or the value does not exist.
    virtual std::optional<QString> value(const QString& key, const QString& name) const = 0;
};

ServiceSlot<Registry>& registrySlot();
inline Registry& registry() { return registrySlot().get(); }

} // namespace platform
