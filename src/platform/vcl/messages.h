// Messages as the component library handles them: the TMessage record that travels through
// WindowProc, WndProc and Dispatch, views of key and mouse messages, the library's own CM_*
// notifications and the CN_* reflections of child notifications.
#pragma once

#include <cstdint>

#include "platform/vcl/classes.h"
#include "platform/win/types.h"

namespace vcl {

using win::DWORD;
using win::HWND;
using win::LPARAM;
using win::LRESULT;
using win::UINT;
using win::WPARAM;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage& Message)>;

// Key messages: CharCode is the virtual key (or the character of WM_CHAR); KeyData the lParam.
struct TWMKey {
    UINT Msg = 0;
    int CharCode = 0;
    LPARAM KeyData = 0;
    LRESULT Result = 0;

    static TWMKey From(const TMessage& m) { return {m.Msg, int(m.WParam), m.LParam, m.Result}; }
    TMessage ToMessage() const { return {Msg, WPARAM(CharCode), KeyData, Result}; }
};

// Client mouse messages: button and key state, the point in client coordinates.
struct TWMMouse {
    UINT Msg = 0;
    UINT Keys = 0;
    int XPos = 0;
    int YPos = 0;
    LRESULT Result = 0;

    static TWMMouse From(const TMessage& m) {
        return {m.Msg, UINT(m.WParam), win::GET_X_LPARAM(m.LParam), win::GET_Y_LPARAM(m.LParam),
                m.Result};
    }
};

// --- The library's notifications (CM_*) -------------------------------------------------------

// Fixed numbers that other code relies on.
inline constexpr UINT CM_BASE = 0xB000;
// To the active control of a form when any control of it is pressed; lParam names the pressed
// control (a TControl*), or is 0 when nobody in particular asks.
inline constexpr UINT CM_CANCELMODE = 0xB004;
inline constexpr UINT CM_INVALIDATE = 0xB034;

// Our own numbers, kept clear of the ranges the skin engine uses (0xB1B2-0xB1B4, 0xB1C8,
// 0xB1C9, 0xBC4A, 0xBC4B).
inline constexpr UINT CM_ACTIVATE = 0xB040;
inline constexpr UINT CM_DEACTIVATE = 0xB041;
// To the form, then offered to its controls until one answers (Result not 0): wParam the key,
// lParam the key data.
inline constexpr UINT CM_DIALOGKEY = 0xB042;
// The same for characters (accelerators): wParam the character.
inline constexpr UINT CM_DIALOGCHAR = 0xB043;
// To every control of a form after the focus moved; lParam the control that has it.
inline constexpr UINT CM_FOCUSCHANGED = 0xB044;
inline constexpr UINT CM_PARENTFONTCHANGED = 0xB045;
inline constexpr UINT CM_PARENTCOLORCHANGED = 0xB046;
// To a windowless control: Result not 0 when the client point (lParam) hits it.
inline constexpr UINT CM_HITTEST = 0xB047;
inline constexpr UINT CM_VISIBLECHANGED = 0xB048;
inline constexpr UINT CM_ENABLEDCHANGED = 0xB049;
inline constexpr UINT CM_COLORCHANGED = 0xB04A;
inline constexpr UINT CM_FONTCHANGED = 0xB04B;
inline constexpr UINT CM_CURSORCHANGED = 0xB04C;
inline constexpr UINT CM_TEXTCHANGED = 0xB04D;
// The pointer came over / left the control (windowless ones too, also while another control
// holds the capture); lParam the control.
inline constexpr UINT CM_MOUSEENTER = 0xB04E;
inline constexpr UINT CM_MOUSELEAVE = 0xB04F;
inline constexpr UINT CM_MENUCHANGED = 0xB050;
inline constexpr UINT CM_SHOWINGCHANGED = 0xB051;
// To each control the focus enters or leaves, outermost first on entry, innermost first on exit.
inline constexpr UINT CM_ENTER = 0xB052;
inline constexpr UINT CM_EXIT = 0xB053;
// To the focused control before a Tab, arrow, Enter or Esc key is taken for navigation or as a
// dialog key: Result not 0 keeps the key for the control.
inline constexpr UINT CM_WANTSPECIALKEY = 0xB054;
// Posted by Release; the form frees itself.
inline constexpr UINT CM_RELEASE = 0xB055;
inline constexpr UINT CM_SHOWHINTCHANGED = 0xB056;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = 0xB057;
inline constexpr UINT CM_TABSTOPCHANGED = 0xB058;
// wParam the control, lParam 1 when it was inserted and 0 when removed.
inline constexpr UINT CM_CONTROLLISTCHANGE = 0xB059;
// To the hint control before its hint shows: lParam points to the THintInfo; Result not 0
// cancels the hint.
inline constexpr UINT CM_HINTSHOW = 0xB05A;
inline constexpr UINT CM_RECREATEWND = 0xB05B;
inline constexpr UINT CM_BORDERCHANGED = 0xB05C;

// --- Reflected child notifications (CN_*) -----------------------------------------------------

// A parent hands WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR* and their kin back to the child control
// they came from as CN_BASE + the message; key messages go to the focused control as CN_KEYDOWN
// and its kin before they are dispatched.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_DRAWITEM = CN_BASE + win::WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + win::WM_MEASUREITEM;
inline constexpr UINT CN_NOTIFY = CN_BASE + win::WM_NOTIFY;
inline constexpr UINT CN_KEYDOWN = CN_BASE + win::WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + win::WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + win::WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + win::WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + win::WM_SYSCHAR;
inline constexpr UINT CN_COMMAND = CN_BASE + win::WM_COMMAND;
inline constexpr UINT CN_HSCROLL = CN_BASE + win::WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + win::WM_VSCROLL;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + win::WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + win::WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + win::WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + win::WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + win::WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + win::WM_CTLCOLORSTATIC;

// --- Shift state ------------------------------------------------------------------------------

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

// From the MK_* bits of a mouse message, with Alt from the key state.
TShiftState KeysToShiftState(UINT keys);
// From a key message's data (Alt in bit 29) and the key state of Shift and Ctrl.
TShiftState KeyDataToShiftState(LPARAM keyData);
TShiftState KeyboardStateToShiftState();

}  // namespace vcl
