#include "skin_contents.h"

namespace skingen {

namespace {

constexpr TContentRow kRows[] = {
    // Frame objects.
    {"caption", "caption", true, false},
    {"closebutton", "stdbutton", true, false},
    {"maxbutton", "stdbutton", true, false},
    {"minbutton", "stdbutton", true, false},
    {"rollupbutton", "stdbutton", true, false},
    {"sysmenubutton", "stdbutton", true, false},
    {"traybutton", "stdbutton", true, false},
    {"menuitem", "menuitem", true, false},
    {"mainmenubaritem", "mainmenubaritem", true, false},
    // Controls.
    {"mainmenubar", "mainmenubar", false, false},
    {"button", "button", false, false},
    {"resizebutton", "button", false, true},
    {"resizetoolbutton", "button", false, true},
    {"resizetoolpanel", "panel", false, true},
    {"toolpanel", "panel", false, false},
    {"toolbutton", "button", false, false},
    {"toolmenubutton", "menubutton", false, false},
    {"panel", "panel", false, false},
    {"groupbox", "panel", false, false},
    {"checkbox", "checkradio", false, false},
    {"radiobox", "checkradio", false, false},
    {"stdlabel", "stdlabel", false, false},
    {"label", "label", false, true},
    {"menuheader", "label", false, true},
    {"hscrollbar", "scrollbar", false, true},
    {"vscrollbar", "scrollbar", false, true},
    {"bothhscrollbar", "scrollbar", false, true},
    {"listview", "listview", false, false},
    {"treeview", "treeview", false, false},
    {"tab", "tab", false, false},
    {"hupdown", "updown", false, false},
    {"vupdown", "updown", false, false},
    {"slider", "slider", false, false},
    {"edit", "edit", false, true},
    {"buttonedit", "edit", false, false},
    {"editbutton", "button", false, true},
    {"combobutton", "button", false, true},
    {"combobox", "combobox", false, true},
    {"listbox", "listbox", false, true},
    {"checklistbox", "checklistbox", false, false},
    {"memo", "memo", false, false},
    {"scrollbox", "scrollbox", false, false},
    {"hsplitter", "splitter", false, false},
    {"vsplitter", "splitter", false, false},
    {"bevel", "bevel", false, false},
    {"officequickbutton", "button", false, false},
    {"menuitembutton", "button", false, false},
};

}  // namespace

std::span<const TContentRow> SkinContents() {
    return kRows;
}

}  // namespace skingen
