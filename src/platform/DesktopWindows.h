#pragma once

#include "platform/Service.h"

#include <QString>

class QWindow;

namespace platform {

// The windows on the desktop, the program's own and other programs': what
// the program asks of the window manager about them.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // Told just before the document is given to the word processor: the
    // word processor's windows that show a file of its name now are another
    // file's, unless `open` (it has this very document open already).
    virtual void expectDocument(const QString& hostPath, bool open) = 0;
    // Brings the word processor's window that shows the document to the
    // front, maximised and active, and returns true; false while no such
    // window is on the screen. On a desktop whose windows the program cannot
    // look among there is nothing to wait for: true.
    virtual bool bringToFront(const QString& hostPath) = 0;
    // Whether the word processor has any window on the program's desktop (a
    // document, a dialog). One that shows its windows elsewhere (another
    // display, Wayland while the program runs through XWayland) has none.
    virtual bool wordProcessorOnScreen() = 0;
    // Makes a window of the program the active one, with the keyboard, also
    // when another program's window has it; a window just shown is asked
    // again until the desktop has taken it.
    virtual void activate(QWindow& window) = 0;
    // Whether a window of another program is the active one (the document
    // shown, the user's own work): a window of the program that goes away
    // then gives the activation back to none of the program's.
    virtual bool otherProgramActive() = 0;
};

ServiceSlot<DesktopWindows>& desktopWindowsSlot();
inline DesktopWindows& desktopWindows() { return desktopWindowsSlot().get(); }

} // namespace platform
