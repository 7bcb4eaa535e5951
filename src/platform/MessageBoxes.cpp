#include "platform/MessageBoxes.h"

#include <QDebug>

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
    return messageBoxesSlot().get().show(text, style, title.isEmpty() ? QString::fromLatin1(kProgramTitle) : title);
}

} // namespace platform
