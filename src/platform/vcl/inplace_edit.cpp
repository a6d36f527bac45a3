// The in-place label editor and its factory.
#include "platform/vcl/inplace_edit.h"

#include "platform/gfx/text.h"

namespace vcl {

namespace {

TInplaceEditFactory& Factory() {
    static TInplaceEditFactory factory;
    return factory;
}

// Drops the last UTF-8 code point.
void PopCodePoint(std::string& s) {
    while (!s.empty()) {
        const unsigned char c = static_cast<unsigned char>(s.back());
        s.pop_back();
        if ((c & 0xC0) != 0x80) break;
    }
}

}  // namespace

void SetInplaceEditFactory(TInplaceEditFactory factory) {
    Factory() = std::move(factory);
}

TWinControl* CreateInplaceEdit(TComponent* Owner) {
    if (Factory()) return Factory()(Owner);
    return new TInplaceEdit(Owner);
}

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(gfx::clWindow);
    SetTabStop(true);
    SetCursor(crIBeam);
}

void TInplaceEdit::SetText(const std::string& value) {
    FReplace = true;
    TCustomControl::SetText(value);
    Invalidate();
}

void TInplaceEdit::Paint() {
    gfx::TCanvas& c = Canvas();
    const TRect r = ClientRect();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clWindow);
    c.FillRect(r);
    c.Brush().SetColor(gfx::clWindowFrame);
    c.FrameRect(r);
    TRect t{r.Left + 2, r.Top, r.Right - 2, r.Bottom};
    if (FReplace && !Text().empty()) {
        TRect measure = t;
        c.DrawText(Text(), measure, gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_CALCRECT);
        c.Brush().SetColor(gfx::clHighlight);
        c.FillRect({t.Left, r.Top + 1, std::min(measure.Right, t.Right), r.Bottom - 1});
        c.Font().SetColor(gfx::clHighlightText);
    } else {
        c.Font().SetColor(gfx::clWindowText);
    }
    c.Brush().SetStyle(gfx::bsClear);
    c.DrawText(Text(), t, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX);
}

void TInplaceEdit::KeyPress(char32_t& Key) {
    TCustomControl::KeyPress(Key);
    std::string text = FReplace ? std::string() : Text();
    if (Key == 8) {
        if (!FReplace) PopCodePoint(text);
    } else if (Key >= 32 && Key != 127) {
        text += gfx::EncodeUtf8(std::u32string(1, Key));
    } else {
        return;
    }
    TCustomControl::SetText(text);
    FReplace = false;
    Invalidate();
}

void TInplaceEdit::Dispatch(TMessage& m) {
    if (m.Msg == CM_WANTSPECIALKEY &&
        (m.WParam == WPARAM(win::VK_RETURN) || m.WParam == WPARAM(win::VK_ESCAPE))) {
        m.Result = 1;
        return;
    }
    if (m.Msg == win::WM_GETDLGCODE) {
        m.Result = win::DLGC_WANTCHARS | win::DLGC_WANTALLKEYS;
        return;
    }
    TCustomControl::Dispatch(m);
}

namespace detail {

TLabelEditSession::~TLabelEditSession() {
    if (!FEditor) return;
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
    return FEditor;
}

void TLabelEditSession::Finish(bool accepted) {
    if (!FActive) return;
    FActive = false;
    const std::string text = accepted ? FEditor->Text() : std::string();
    if (FEditor->Focused() && FView->CanFocus()) FView->SetFocus();
    FEditor->SetVisible(false);
    if (OnDone) OnDone(accepted, text);
}

}  // namespace detail

}  // namespace vcl
