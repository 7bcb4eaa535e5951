#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {

class PrimaryScreen final : public Screen {
public:
    int widthTwips() const override { return pixelsToTwips(size().width()); }
    int heightTwips() const override { return pixelsToTwips(size().height()); }

private:
    static QSize size()
    {
        const QScreen* primary = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
            ? QGuiApplication::primaryScreen()
            : nullptr;
        return primary ? primary->size() : QSize(1024, 768);
    }
};

} // namespace

ServiceSlot<Screen>& screenSlot()
{
    static ServiceSlot<Screen> slot([]() -> std::unique_ptr<Screen> { return std::make_unique<PrimaryScreen>(); });
    return slot;
}

} // namespace platform
