#pragma once

class QKeyEvent;

namespace platform {

// Character code of a key press (8 Backspace, 13 Enter, 27 Escape, the
// Windows-1252 code of a printable character), or 0 for a key without one.
int keyAsciiOf(const QKeyEvent& event);
// Windows virtual-key code of a key (48-57 digits, 65-90 letters, 8
// Backspace, 13 Enter, 46 Delete, 37-40 arrows, 112-123 F1-F12, 190 the full
// stop), and the shift state (1 Shift, 2 Ctrl, 4 Alt).
int keyCodeOf(const QKeyEvent& event);
int shiftOf(const QKeyEvent& event);

} // namespace platform
