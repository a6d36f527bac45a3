#include "platform/vcl/std_ctrls.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/win/win.h"

namespace vcl {

void DrawDisabledText(gfx::TCanvas& canvas, const std::string& text, TRect rect, unsigned flags) {
    canvas.Brush().SetStyle(gfx::bsClear);
    TRect shifted = rect.Offset(1, 1);
    canvas.Font().SetColor(gfx::clBtnHighlight);
    canvas.DrawText(text, shifted, flags);
    canvas.Font().SetColor(gfx::clBtnShadow);
    canvas.DrawText(text, rect, flags);
}

namespace {

void DrawFocus(gfx::TCanvas& canvas, const TRect& r) {
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(gfx::clBtnFace);
    canvas.Font().SetColor(gfx::clBtnText);
    canvas.DrawFocusRect(r);
}

}  // namespace

// ---- TButton ------------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetDefault(bool value) {
    if (FDefault == value) return;
    FDefault = value;
    if (TCustomForm* form = GetParentForm(this)) {
        TControl* focused = form->ActiveControl();
        FActive = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    }
    Invalidate();
}

void TButton::SetDown(bool value) {
    if (FDown == value) return;
    FDown = value;
    Invalidate();
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

void TButton::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!Focused() && CanFocus()) SetFocus();
            SetDown(true);
            break;
        case WM_MOUSEMOVE:
            if (MouseCapture())
                SetDown(ClientRect().Contains(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
            break;
        case WM_LBUTTONUP:
            SetDown(false);
            break;
        case WM_KEYDOWN:
            TCustomControl::Dispatch(m);
            if (m.WParam == WPARAM(VK_SPACE)) SetDown(true);
            return;
        case WM_KEYUP:
            TCustomControl::Dispatch(m);
            if (m.WParam == WPARAM(VK_SPACE) && FDown) {
                SetDown(false);
                Click();
            }
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(m);
            if (m.Msg == WM_KILLFOCUS) SetDown(false);
            Invalidate();
            return;
        case WM_GETDLGCODE:
            m.Result = FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
            return;
        case BM_CLICK:
            Click();
            return;
        case CM_FOCUSCHANGED: {
            // Enter presses the focused button, else the default one.
            auto* focused = reinterpret_cast<TControl*>(m.LParam);
            FActive = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
            break;
        }
        case CM_DIALOGKEY:
            if (((m.WParam == WPARAM(VK_RETURN) && FActive) ||
                 (m.WParam == WPARAM(VK_ESCAPE) && FCancel)) &&
                Enabled() && Visible() && (!Parent() || Parent()->Showing())) {
                Click();
                m.Result = 1;
                return;
            }
            break;
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::Dispatch(m);
}

void TButton::Paint() {
    gfx::TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(gfx::clBtnFace);
    c.FillRect(r);
    if (FDefault || Focused()) Frame3D(c, r, gfx::clWindowFrame, gfx::clWindowFrame, 1);
    if (FDown) {
        Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnShadow, 1);
    } else {
        Frame3D(c, r, gfx::clBtnHighlight, gfx::cl3DDkShadow, 1);
        Frame3D(c, r, gfx::cl3DLight, gfx::clBtnShadow, 1);
    }
    c.Font().Assign(Font());
    c.Brush().SetStyle(gfx::bsClear);
    TRect text = r;
    if (FDown) text = text.Offset(1, 1);
    const unsigned flags = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;
    if (Enabled()) {
        c.DrawText(Caption(), text, flags);
    } else {
        DrawDisabledText(c, Caption(), text, flags);
    }
    if (Focused()) DrawFocus(c, {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2});
}

// ---- check and radio boxes ----------------------------------------------------------------------

namespace {
constexpr int kMark = 13;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TButtonControl::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    Invalidate();
    Click();
}

void TButtonControl::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

TRect TButtonControl::MarkRect() const {
    const int top = (Height() - kMark) / 2;
    const int left = FAlignment == taLeftJustify ? Width() - kMark : 0;
    return gfx::Bounds(left, top, kMark, kMark);
}

TRect TButtonControl::CaptionRect() {
    Canvas().Font().Assign(Font());
    const TSize s = Canvas().TextExtent(Caption());
    const int left = FAlignment == taLeftJustify ? 1 : kMark + 4;
    const int top = (Height() - s.cy) / 2;
    return gfx::Bounds(left, top, s.cx, s.cy);
}

void TButtonControl::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!Focused() && CanFocus()) SetFocus();
            FPressed = true;
            Invalidate();
            // The toggle does the click; the generic click on release would be a second one.
            TCustomControl::Dispatch(m);
            SetControlState(ControlState() - csClicked);
            return;
        case WM_LBUTTONUP: {
            const bool inside =
                FPressed && ClientRect().Contains(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            FPressed = false;
            TCustomControl::Dispatch(m);
            Invalidate();
            if (inside) Toggle();
            return;
        }
        case WM_KEYUP:
            TCustomControl::Dispatch(m);
            if (m.WParam == WPARAM(VK_SPACE)) Toggle();
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case CM_TEXTCHANGED:
            TCustomControl::Dispatch(m);
            Invalidate();
            return;
        case BM_GETCHECK:
            m.Result = FState;
            return;
        case BM_SETCHECK:
            FState = TCheckBoxState(std::min<WPARAM>(m.WParam, 2));
            Invalidate();
            return;
        case BM_CLICK:
            Toggle();
            return;
        default:
            TCustomControl::Dispatch(m);
    }
}

void TButtonControl::Paint() {
    gfx::TCanvas& c = Canvas();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(ClientRect());
    PaintMark(c, MarkRect());
    TRect text = CaptionRect();
    c.Font().Assign(Font());
    c.Brush().SetStyle(gfx::bsClear);
    const unsigned flags = gfx::DT_LEFT | gfx::DT_SINGLELINE;
    if (Enabled())
        c.DrawText(Caption(), text, flags);
    else
        DrawDisabledText(c, Caption(), text, flags);
    if (Focused()) DrawFocus(c, {text.Left - 1, text.Top, text.Right + 1, text.Bottom});
}

void TCheckBox::Toggle() {
    switch (FState) {
        case cbUnchecked:
            SetState(cbChecked);
            break;
        case cbChecked:
            SetState(FAllowGrayed ? cbGrayed : cbUnchecked);
            break;
        case cbGrayed:
            SetState(cbUnchecked);
            break;
    }
}

void TCheckBox::PaintMark(gfx::TCanvas& c, const TRect& box) {
    TRect r = box;
    Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
    Frame3D(c, r, gfx::cl3DDkShadow, gfx::cl3DLight, 1);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Enabled() && !FPressed ? gfx::clWindow : gfx::clBtnFace);
    c.FillRect(r);
    if (FState == cbUnchecked) return;
    const TColor mark = !Enabled() || FState == cbGrayed ? gfx::clGrayText : gfx::clWindowText;
    // A tick three pixels thick: down from the left, then up to the right.
    c.Pen().SetColor(mark);
    for (int i = 0; i < 3; ++i) {
        c.MoveTo(r.Left + 1, r.Top + 3 + i);
        c.LineTo(r.Left + 3, r.Top + 5 + i);
        c.LineTo(r.Left + 8, r.Top + i);
    }
}

void TRadioButton::SetState(TCheckBoxState value) {
    if (value == cbGrayed) value = cbChecked;
    const bool checking = value == cbChecked && FState != cbChecked;
    TButtonControl::SetState(value);
    if (checking && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
                other && other != this)
                other->SetChecked(false);
}

void TRadioButton::Toggle() {
    SetChecked(true);
}

void TRadioButton::PaintMark(gfx::TCanvas& c, const TRect& box) {
    c.Pen().SetColor(gfx::clBtnShadow);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Enabled() && !FPressed ? gfx::clWindow : gfx::clBtnFace);
    c.Ellipse(box);
    c.Pen().SetColor(gfx::cl3DDkShadow);
    c.Brush().SetStyle(gfx::bsClear);
    c.Ellipse(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1);
    if (FState != cbChecked) return;
    const TColor dot = Enabled() ? gfx::clWindowText : gfx::clGrayText;
    c.Pen().SetColor(dot);
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(dot);
    c.Ellipse(box.Left + 4, box.Top + 4, box.Right - 4, box.Bottom - 4);
}

// ---- TCustomLabel -------------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(
        {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque, csReplicatable});
    SetBounds(0, 0, 65, 17);
    SetAutoSize(true);
}

unsigned TCustomLabel::DrawFlags() const {
    unsigned flags = gfx::DT_EXPANDTABS;
    if (FAlignment == taRightJustify) flags |= gfx::DT_RIGHT;
    if (FAlignment == taCenter) flags |= gfx::DT_CENTER;
    if (FWordWrap) flags |= gfx::DT_WORDBREAK;
    if (!FShowAccelChar) flags |= gfx::DT_NOPREFIX;
    return flags;
}

void TCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
    std::string text = Caption();
    // An empty label still measures one line.
    if ((flags & gfx::DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += " ";
    if (!FShowAccelChar) flags |= gfx::DT_NOPREFIX;
    gfx::TCanvas& c = Canvas();
    c.Font().Assign(Font());
    if (flags & gfx::DT_CALCRECT) {
        c.DrawText(text, rect, flags);
        return;
    }
    c.Brush().SetStyle(gfx::bsClear);
    if (Enabled())
        c.DrawText(text, rect, flags);
    else
        DrawDisabledText(c, text, rect, flags);
}

void TCustomLabel::Paint() {
    gfx::TCanvas& c = Canvas();
    if (!FTransparent) {
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(ClientRect());
    }
    TRect r = ClientRect();
    const unsigned flags = DrawFlags();
    if (FLayout != tlTop) {
        TRect measured = r;
        DoDrawText(measured, flags | gfx::DT_CALCRECT);
        const int free = r.Height() - measured.Height();
        r = r.Offset(0, FLayout == tlBottom ? free : free / 2);
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !AutoSize()) return;
    TRect r = ClientRect();
    DoDrawText(r, DrawFlags() | gfx::DT_CALCRECT);
    int left = Left();
    if (FAlignment == taRightJustify) left += Width() - r.Width();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool value) {
    TGraphicControl::SetAutoSize(value);
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    TControlStyle style = ControlStyle();
    if (value)
        style -= csOpaque;
    else
        style += csOpaque;
    SetControlStyle(style);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

namespace {

// The character after the first single "&", lower-cased; 0 when there is none.
char32_t AccelOf(const std::string& caption) {
    const std::u32string text = gfx::DecodeUtf8(caption);
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == U'&') {
            if (text[i + 1] == U'&') {
                ++i;
                continue;
            }
            const char32_t c = text[i + 1];
            return c >= U'A' && c <= U'Z' ? c + 32 : c;
        }
    return 0;
}

}  // namespace

void TCustomLabel::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            TGraphicControl::Dispatch(m);
            AdjustBounds();
            Invalidate();
            return;
        case CM_DIALOGCHAR: {
            char32_t key = char32_t(m.WParam);
            if (key >= U'A' && key <= U'Z') key += 32;
            if (FShowAccelChar && FFocusControl && Enabled() && key && AccelOf(Caption()) == key &&
                FFocusControl->CanFocus()) {
                FFocusControl->SetFocus();
                m.Result = 1;
                return;
            }
            TGraphicControl::Dispatch(m);
            return;
        }
        default:
            TGraphicControl::Dispatch(m);
    }
}

// ---- TComboBox ----------------------------------------------------------------------------------

// The dropped list: a top-level popup under the box that never takes activation.
class TComboList : public TCustomControl {
public:
    explicit TComboList(TComboBox* box) : TCustomControl(nullptr), FBox(box) {
        // The list holds the capture itself for as long as it is open.
        SetControlStyle(ControlStyle() - csCaptureMouse);
        Font().Assign(box->Font());
    }

    int Hot = -1;

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style = win::WS_POPUP | win::WS_BORDER;
        p.ExStyle = win::WS_EX_TOOLWINDOW | win::WS_EX_TOPMOST | win::WS_EX_NOACTIVATE;
    }

    void Dispatch(TMessage& m) override {
        using namespace win;
        switch (m.Msg) {
            case WM_MOUSEACTIVATE:
                m.Result = MA_NOACTIVATE;
                return;
            case WM_MOUSEMOVE: {
                const TPoint p = PointFromParam(m.LParam);
                if (!ClientRect().Contains(p.X, p.Y)) break;
                FEntered = true;
                const int row = p.Y / FBox->ItemHeight();
                if (row != Hot) {
                    Hot = row;
                    Invalidate();
                }
                break;
            }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: {
                const TPoint p = PointFromParam(m.LParam);
                if (!ClientRect().Contains(p.X, p.Y)) {
                    FBox->SetDroppedDown(false);  // a press elsewhere closes; frees this list
                    return;
                }
                FEntered = true;
                break;
            }
            case WM_LBUTTONUP: {
                const TPoint p = PointFromParam(m.LParam);
                const bool inside = ClientRect().Contains(p.X, p.Y);
                // The release of the press that opened the list leaves it open.
                if (!inside && !FEntered) return;
                TComboBox* box = FBox;
                const int row = inside ? p.Y / box->ItemHeight() : -1;
                box->SetDroppedDown(false);  // frees this list
                if (row >= 0 && row < box->Items().Count()) box->Choose(row);
                return;
            }
            default:
                break;
        }
        TCustomControl::Dispatch(m);
    }

    void Paint() override {
        gfx::TCanvas& c = Canvas();
        c.Font().Assign(Font());
        const int h = FBox->ItemHeight();
        for (int i = 0; i < FBox->Items().Count(); ++i) {
            const bool hot = i == (Hot >= 0 ? Hot : FBox->ItemIndex());
            TRect r{0, i * h, ClientWidth(), (i + 1) * h};
            c.Brush().SetStyle(gfx::bsSolid);
            c.Brush().SetColor(hot ? gfx::clHighlight : gfx::clWindow);
            c.FillRect(r);
            c.Font().SetColor(hot ? gfx::clHighlightText : gfx::clWindowText);
            c.Brush().SetStyle(gfx::bsClear);
            TRect t{r.Left + 2, r.Top, r.Right, r.Bottom};
            c.DrawText(FBox->Items().Get(i), t,
                       gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
        }
    }

private:
    TComboBox* FBox;
    bool FEntered = false;
};

TComboBox::TComboBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetColor(gfx::clWindow);
    FItems.OnChange = [this](rtl::TStringList&) {
        if (FItemIndex >= FItems.Count()) FItemIndex = -1;
        FText = FItemIndex >= 0 ? FItems.Get(FItemIndex) : FText;
        Invalidate();
    };
}

TComboBox::~TComboBox() {
    SetDroppedDown(false);
}

int TComboBox::ItemHeight() const {
    return LineHeightOf(const_cast<TComboBox*>(this)->Font()) + 2;
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= FItems.Count()) value = -1;
    FItemIndex = value;
    FText = value >= 0 ? FItems.Get(value) : std::string();
    Invalidate();
}

void TComboBox::SetText(const std::string& value) {
    SetItemIndex(FItems.IndexOf(value));
    FText = value;
}

void TComboBox::Choose(int index) {
    if (index < 0 || index >= FItems.Count() || index == FItemIndex) return;
    SetItemIndex(index);
    Change();
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TComboBox::SetDroppedDown(bool value) {
    if (value == DroppedDown()) return;
    if (!value) {
        TComboList* list = FList;
        FList = nullptr;
        if (list->MouseCapture()) list->SetMouseCapture(false);
        list->Free();
        Invalidate();
        return;
    }
    if (!HandleAllocated() || FItems.Count() == 0) return;
    FList = new TComboList(this);
    const TPoint at = ClientToScreen({0, Height()});
    FList->SetBounds(at.X, at.Y, Width(), FItems.Count() * ItemHeight() + 2);
    win::SetWindowPos(FList->Handle(), win::HWND_TOPMOST, at.X, at.Y, FList->Width(),
                      FList->Height(), win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE);
    FList->SetMouseCapture(true);
    Invalidate();
}

void TComboBox::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!Focused() && CanFocus()) SetFocus();
            SetDroppedDown(!DroppedDown());
            m.Result = 0;
            return;
        case WM_KEYDOWN: {
            TCustomControl::Dispatch(m);
            const int key = int(m.WParam);
            if (key == VK_UP || key == VK_LEFT) Choose(std::max(FItemIndex - 1, 0));
            if (key == VK_DOWN || key == VK_RIGHT) Choose(FItemIndex + 1);
            if (key == VK_HOME) Choose(0);
            if (key == VK_END) Choose(FItems.Count() - 1);
            if (key == VK_ESCAPE || key == VK_RETURN) SetDroppedDown(false);
            return;
        }
        case WM_MOUSEWHEEL:
            Choose(GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? std::max(FItemIndex - 1, 0)
                                                        : FItemIndex + 1);
            m.Result = 1;
            return;
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTARROWS;
            return;
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(m);
            SetDroppedDown(false);
            Invalidate();
            return;
        case WM_SETFOCUS:
            TCustomControl::Dispatch(m);
            Invalidate();
            return;
        case CM_CANCELMODE:
            if (FList && reinterpret_cast<TControl*>(m.LParam) != this) SetDroppedDown(false);
            TCustomControl::Dispatch(m);
            return;
        default:
            TCustomControl::Dispatch(m);
    }
}

void TComboBox::Paint() {
    gfx::TCanvas& c = Canvas();
    TRect r = ClientRect();
    Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
    Frame3D(c, r, gfx::cl3DDkShadow, gfx::cl3DLight, 1);
    const int button = r.Height();
    TRect field{r.Left, r.Top, r.Right - button, r.Bottom};
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Enabled() ? Color() : gfx::clBtnFace);
    c.FillRect(field);
    TRect arrow{field.Right, r.Top, r.Right, r.Bottom};
    c.Brush().SetColor(gfx::clBtnFace);
    c.FillRect(arrow);
    TRect inner = arrow;
    Frame3D(c, inner, gfx::clBtnHighlight, gfx::cl3DDkShadow, 1);
    Frame3D(c, inner, gfx::cl3DLight, gfx::clBtnShadow, 1);
    const TColor ink = Enabled() ? gfx::clBtnText : gfx::clGrayText;
    c.Pen().SetColor(ink);
    const int cx = (arrow.Left + arrow.Right) / 2, cy = (arrow.Top + arrow.Bottom) / 2 - 1;
    for (int i = 0; i < 4; ++i) {
        c.MoveTo(cx - 3 + i, cy + i);
        c.LineTo(cx + 4 - i, cy + i);
    }
    c.Font().Assign(Font());
    TRect text{field.Left + 1, field.Top + 1, field.Right - 1, field.Bottom - 1};
    const bool selected = Focused() && !DroppedDown();
    if (selected) {
        c.Brush().SetColor(gfx::clHighlight);
        c.FillRect(text);
        c.Font().SetColor(gfx::clHighlightText);
    } else if (!Enabled()) {
        c.Font().SetColor(gfx::clGrayText);
    }
    c.Brush().SetStyle(gfx::bsClear);
    TRect t{text.Left + 1, text.Top, text.Right, text.Bottom};
    c.DrawText(FText, t, gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    if (selected) DrawFocus(c, text);
}

}  // namespace vcl
