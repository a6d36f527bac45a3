// The caret: one per application, owned by a window, blinking on the injectable clock. It is
// drawn by inverting its rectangle in the owner's top-level surface after painting is done, and
// taken off again before anything paints into that surface, so painting never meets it.
// Main thread only, like the rest of the window layer.
#pragma once

#include "platform/win/types.h"

namespace win {

// Replaces any caret of the application; the new one starts hidden (ShowCaret shows it).
bool CreateCaret(HWND window, int width, int height);
bool DestroyCaret();
// Hiding nests: each HideCaret needs its ShowCaret. A null window means the caret's own.
bool ShowCaret(HWND window);
bool HideCaret(HWND window);
// Client coordinates of the owner; moving restarts the blink with the caret on.
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& point);
UINT GetCaretBlinkTime();
void SetCaretBlinkTime(UINT ms);
// True while the caret is painted on its surface (tests and the backend's screenshots see it).
bool IsCaretDrawn();

}  // namespace win
