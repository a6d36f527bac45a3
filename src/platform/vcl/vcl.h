// The component library: the classes the program, the skin engine and the media components are
// written against, over the window layer (win) and the drawing library (gfx).
//
//   classes.h      TObject, TPersistent, TComponent (ownership, names, notifications, loading)
//   messages.h     TMessage, the CM_* notices and CN_* reflections, shift states
//   controls.h     TControl, TWinControl, TCustomControl, TGraphicControl, TControlCanvas
//   forms.h        TCustomForm/TForm, TApplication (Application), TScreen (Screen), THintWindow
//   menus.h        TMenuItem, TMainMenu, TPopupMenu, shortcuts and accelerators
//   img_list.h     TCustomImageList/TImageList over gfx image lists
//   timer.h        TTimer, AllocateHWnd
//   message_box.h  the plain message box, message-dialog kinds
//
// Who talks to whom: a TWinControl owns one window of the window layer, made on demand; the
// window's messages come to the control's WindowProc. TApplication filters every queued message
// of every loop before it is dispatched (OnMessage, hints, key navigation, shortcuts, dialog
// keys), tracks the control under the pointer for CM_MOUSEENTER/CM_MOUSELEAVE and shows what a
// window procedure throws in the plain message box. Forms register with Screen. Pictures,
// canvases, icons and image lists come from gfx.
//
// Everything here belongs to the main thread. Start the window layer, then
// InitializeApplication(); build forms with Application->CreateForm; Application->Run().
#pragma once

#include "platform/vcl/classes.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/message_box.h"
#include "platform/vcl/messages.h"
#include "platform/vcl/timer.h"
// Standard controls: edits.h (TEdit, TMemo), std_ctrls.h (buttons, label, combo box),
// ext_ctrls.h (panel, bevel, splitter, image).
#include "platform/vcl/edits.h"
#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/std_ctrls.h"
