// The main window's adding and editing of files: the add commands, the failure report, the
// folder listing, delete, clear, moves and the rename editor.
#include "app/main_form.h"

namespace app {

TTaskRows& TForm1::Rows() {
    if (!FRows) FRows = std::make_unique<TTaskRows>(*lvFiles, IO1, OO1);
    return *FRows;
}

}  // namespace app
