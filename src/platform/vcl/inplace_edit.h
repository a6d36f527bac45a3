// The editor a list view or tree view lays over a label while the user renames it: a TEdit
// unless a factory chooses another class (a skinned edit, say). The views only set its bounds
// and Text, focus it (an edit's text is then selected), and listen to its OnKeyDown (Enter
// keeps, Esc cancels) and OnExit (keeps).
// Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/vcl/controls.h"

namespace vcl {

using TInplaceEditFactory = std::function<TWinControl*(TComponent* Owner)>;
// An empty factory goes back to TEdit.
void SetInplaceEditFactory(TInplaceEditFactory factory);
TWinControl* CreateInplaceEdit(TComponent* Owner);

namespace detail {

// One rename at a time over a view: places the editor, and reports the end once.
class TLabelEditSession {
public:
    TLabelEditSession() = default;
    TLabelEditSession(const TLabelEditSession&) = delete;
    TLabelEditSession& operator=(const TLabelEditSession&) = delete;
    // The editor (owned by the view) outlives the session: it must not call back.
    ~TLabelEditSession();

    // accepted false: cancelled, text empty.
    std::function<void(bool accepted, const std::string& text)> OnDone;

    // Returns the editor, or null when it could not be made.
    TWinControl* Start(TWinControl* view, const TRect& rect, const std::string& text);
    // Ends a running edit (accepted or not); nothing when none runs.
    void Finish(bool accepted);
    bool Active() const { return FActive; }
    TWinControl* Editor() const { return FEditor; }

private:
    // True once the view is being destroyed: its editor may be gone already.
    bool EditorFreed() const;

    TWinControl* FEditor = nullptr;
    TWinControl* FView = nullptr;
    bool FActive = false;
};

}  // namespace detail

}  // namespace vcl
