#include "platform/MessageBoxes.h"

#include <QDebug>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

namespace platform {

namespace {

// Used where no window can be shown: the text goes to the error output and the
// box answers with its default button.
class LoggedMessageBoxes final : public MessageBoxes {
public:
    Answer show(const QString& text, int style, const QString& title) override
    {
        qWarning().noquote() << title << ":" << text;
        return defaultAnswer(style);
    }
};

} // namespace

bool isQuestion(int style)
{
    return (style & 7) != style::OkOnly;
}

Answer defaultAnswer(int style)
{
    const int buttons = style & 7;
    const bool second = (style & style::DefaultButton2) != 0;
    switch (buttons) {
    case style::OkCancel:
        return second ? Answer::Cancel : Answer::Ok;
    case style::YesNo:
    case style::YesNoCancel:
        return second ? Answer::No : Answer::Yes;
    default:
        return Answer::Ok;
    }
}

ServiceSlot<MessageBoxes>& messageBoxesSlot()
{
    static ServiceSlot<MessageBoxes> slot(
        []() -> std::unique_ptr<MessageBoxes> { return std::make_unique<LoggedMessageBoxes>(); });
    return slot;
}

Answer MsgBox(const QString& text, int style, const QString& title)
{
    // A box on the screen takes the activation from the window it opens over;
    // once it closes, that window gets it back, and with it the focus of its
    // box, so the checks that run when the focus leaves a box run again. A
    // desktop without a window manager gives nothing back by itself.
    const QPointer<QWindow> active = QGuiApplication::focusWindow();
    const Answer answer
        = messageBoxesSlot().get().show(text, style, title.isEmpty() ? QString::fromLatin1(kProgramTitle) : title);
    if (active && active->isVisible() && QGuiApplication::focusWindow() != active)
        active->requestActivate();
    return answer;
}

QString outOfMemoryMessage(const QString& task)
{
    return QStringLiteral("No hay memoria suficiente para %1.")
        .arg(task.isEmpty() ? QStringLiteral("completar la operación") : task);
}

} // namespace platform
