#pragma once

#include "platform/Service.h"

#include <QString>

namespace platform {

// The program's title, shown on every message box that has none of its own.
inline constexpr auto kProgramTitle = "Tervalo";

// Message box styles, as numbers the way the windows use them: buttons in the
// low bits, the icon in the next ones, 256 for "the second button is the
// default". 16 critical, 64 information, 4/36/292 questions Yes/No, 65 OK/Cancel.
namespace style {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
} // namespace style

enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// True when the style offers a choice (it is a question, not a notice).
bool isQuestion(int style);
// The answer given by pressing Enter on a box of this style.
Answer defaultAnswer(int style);

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // `title` is never empty here: MsgBox() puts the program's title in.
    virtual Answer show(const QString& text, int style, const QString& title) = 0;
};

ServiceSlot<MessageBoxes>& messageBoxesSlot();

// Shows a message box; an empty title stands for the program's title. The
// window that was active when the box opened is made active again when it
// closes.
Answer MsgBox(const QString& text, int style = style::OkOnly, const QString& title = {});

// What the user is told when a task ran out of memory: "No hay memoria
// suficiente para " and the task, in words that follow it ("abrir el
// documento"), or "completar la operación" when none is given.
QString outOfMemoryMessage(const QString& task = {});

} // namespace platform
