#pragma once

#include <memory>
#include <utility>

namespace platform {

// One replaceable implementation of a platform interface. The program uses
// the default made by the factory; a test puts its double in place and the
// scope guard below puts the previous implementation back.
template <class Interface>
class ServiceSlot {
public:
    using Factory = std::unique_ptr<Interface> (*)();

    explicit ServiceSlot(Factory factory) : factory_(factory) {}

    Interface& get()
    {
        if (!current_)
            current_ = factory_();
        return *current_;
    }

    std::unique_ptr<Interface> replace(std::unique_ptr<Interface> next)
    {
        auto previous = std::move(current_);
        current_ = std::move(next);
        return previous;
    }

private:
    Factory factory_;
    std::unique_ptr<Interface> current_;
};

template <class Interface>
class ScopedService {
public:
    ScopedService(ServiceSlot<Interface>& slot, std::unique_ptr<Interface> double_)
        : slot_(slot), instance_(double_.get()), previous_(slot.replace(std::move(double_)))
    {
    }
    ~ScopedService() { slot_.replace(std::move(previous_)); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

    Interface* operator->() const { return instance_; }
    Interface& operator*() const { return *instance_; }

private:
    ServiceSlot<Interface>& slot_;
    Interface* instance_;
    std::unique_ptr<Interface> previous_;
};

} // namespace platform
