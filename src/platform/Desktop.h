#pragma once

class QApplication;

namespace platform {

// Puts the desktop implementations of the platform services in place for the
// running program: message boxes on the screen, Qt's own dialogs in Spanish.
void installDesktop(QApplication& app);

} // namespace platform
