// The in-place label editor's factory and the rename session.
#include "platform/vcl/inplace_edit.h"

#include "platform/vcl/edits.h"

namespace vcl {

namespace {

// Enter and Esc end the renaming: they must not reach the form as dialog keys, where they would
// press its default or cancel button and close a dialog in the middle of a rename.
class TInplaceEdit : public TEdit {
public:
    using TEdit::TEdit;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_WANTSPECIALKEY &&
            (Message.WParam == win::VK_RETURN || Message.WParam == win::VK_ESCAPE)) {
            Message.Result = 1;
            return;
        }
        TEdit::Dispatch(Message);
    }
};

TInplaceEditFactory& Factory() {
    static TInplaceEditFactory factory;
    return factory;
}

}  // namespace

void SetInplaceEditFactory(TInplaceEditFactory factory) {
    Factory() = std::move(factory);
}

TWinControl* CreateInplaceEdit(TComponent* Owner) {
    if (Factory()) return Factory()(Owner);
    return new TInplaceEdit(Owner);
}

namespace detail {

bool TLabelEditSession::EditorFreed() const {
    // The view frees the editor it owns before its window goes, which ends a running edit.
    return FView && FView->ComponentState().Contains(csDestroying);
}

TLabelEditSession::~TLabelEditSession() {
    if (!FEditor || EditorFreed()) return;
    FEditor->OnKeyDown = nullptr;
    FEditor->OnExit = nullptr;
}

TWinControl* TLabelEditSession::Start(TWinControl* view, const TRect& rect,
                                      const std::string& text) {
    Finish(false);
    if (!FEditor) {
        FEditor = CreateInplaceEdit(view);
        if (!FEditor) return nullptr;
        FEditor->OnKeyDown = [this](TObject*, int& key, TShiftState) {
            if (key == win::VK_RETURN || key == win::VK_ESCAPE) {
                const bool keep = key == win::VK_RETURN;
                key = 0;
                Finish(keep);
            }
        };
        FEditor->OnExit = [this](TObject*) { Finish(true); };
    }
    FView = view;
    FEditor->SetVisible(false);
    FEditor->SetParent(view);
    FEditor->SetBoundsRect(rect);
    FEditor->SetText(text);
    FEditor->SetVisible(true);
    FActive = true;
    if (FEditor->CanFocus()) FEditor->SetFocus();
    if (auto* edit = dynamic_cast<TCustomEdit*>(FEditor)) edit->SelectAll();
    return FEditor;
}

void TLabelEditSession::Finish(bool accepted) {
    if (!FActive) return;
    FActive = false;
    if (EditorFreed()) {
        if (OnDone) OnDone(false, std::string());
        return;
    }
    const std::string text = accepted ? FEditor->Text() : std::string();
    if (FEditor->Focused() && FView->CanFocus()) FView->SetFocus();
    FEditor->SetVisible(false);
    if (OnDone) OnDone(accepted, text);
}

}  // namespace detail

}  // namespace vcl
