#pragma once

#include <memory>

class QApplication;
class QWidget;

namespace platform {

class MessageBoxes;

// Puts the desktop implementations of the platform services in place for the
// running program: message boxes on the screen (logged, taking their
// default, when there is none), Qt's own dialogs in Spanish.
void installDesktop(QApplication& app);

// Message boxes on the screen, in Spanish, above the windows of other
// programs and with the keyboard.
std::unique_ptr<MessageBoxes> makeDesktopMessageBoxes();

// The window a message box shown now belongs to and opens centred over: the
// program's active window (null when none is on the screen).
QWidget* messageBoxOwner();

} // namespace platform
