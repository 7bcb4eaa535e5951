#pragma once

class QApplication;
class QWidget;

namespace platform {

// Puts the desktop implementations of the platform services in place for the
// running program: message boxes on the screen, Qt's own dialogs in Spanish.
void installDesktop(QApplication& app);

// The window a message box shown now belongs to and opens centred over: the
// program's active window (null when none is on the screen).
QWidget* messageBoxOwner();

} // namespace platform
