// The plain message box: a small modal form that draws itself (icon, text, one button per
// answer) with the frame of the window layer, and the message-dialog kinds and button sets other
// dialogs take. Main thread only.
#pragma once

#include <string>

#include "platform/vcl/classes.h"
#include "platform/win/types.h"

namespace vcl {

// Shows `text` under `caption` (MB_* buttons, icon, default button) over `owner`, rings the
// icon's sound and returns the ID* answer: the pressed button's, or for the frame's close button
// and Esc the cancelling one (IDCANCEL, or IDOK for a box with only OK; boxes without such an
// answer can't be closed that way).
int ShowMessageBox(win::HWND owner, const std::string& text, const std::string& caption,
                   win::UINT flags);
// The text of a plain box being shown; empty for any other window. Lets a test read the box.
std::string MessageBoxText(win::HWND window);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

}  // namespace vcl
