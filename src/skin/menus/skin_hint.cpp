#include "skin/menus/skin_hint.h"

#include <algorithm>
#include <cstdint>

#include "platform/gfx/graphics.h"
#include "platform/sys/clock.h"
#include "platform/win/win.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_control.h"
#include "skin/core/effects.h"
#include "skin/core/fades.h"

namespace skin {

namespace {

// Whole text blocks, never one line: no format flags, as the hint has always drawn them.
constexpr unsigned kTextFormat = 0;

// A picture the hint can draw with: in the list and not empty.
gfx::TBitmap* HintPictureAt(const TbsSkinData& sd, int index) {
    gfx::TBitmap* picture = TbsSkinGeometry::PictureAt(sd, index);
    return picture && !picture->Empty() ? picture : nullptr;
}

// The hint picture of a loaded skin, or nullptr for the default look.
gfx::TBitmap* WindowPicture(TbsSkinData* sd) {
    if (!sd || sd->Empty) return nullptr;
    return HintPictureAt(*sd, sd->HintWindow.WindowPictureIndex);
}

gfx::TSize TextSize(gfx::TCanvas& canvas, const std::string& text) {
    TRect r{0, 0, 0, 0};
    canvas.DrawText(text, r, kTextFormat | gfx::DT_CALCRECT);
    return {r.Width(), r.Height()};
}

void DrawTextAt(gfx::TCanvas& canvas, const std::string& text, TRect r) {
    canvas.DrawText(text, r, kTextFormat);
}

bool ImageInList(const vcl::TCustomImageList* list, int index) {
    return list && index >= 0 && index < list->Count();
}

// The work area a hint must keep inside, from the active form, else a visible main form.
TRect HintLimit() {
    vcl::TCustomForm* form = vcl::Screen ? vcl::Screen->ActiveCustomForm() : nullptr;
    if (!form && vcl::Application) {
        vcl::TCustomForm* main = vcl::Application->MainForm();
        if (main && main->Visible()) form = main;
    }
    TRect r{0, 0, vcl::Screen ? vcl::Screen->Width() : 0, vcl::Screen ? vcl::Screen->Height() : 0};
    if (form) GetWindowMonitorRect(form->Handle(), true, r);
    return r;
}

template <class TSkinned>
bool CopyHintOf(vcl::TControl* control, std::string& title, int& imageIndex,
                vcl::TCustomImageList*& imageList) {
    auto* skinned = dynamic_cast<TSkinned*>(control);
    if (!skinned) return false;
    title = skinned->HintTitle();
    imageIndex = skinned->HintImageIndex();
    imageList = skinned->HintImageList();
    return true;
}

// The hint title and image of a skinned control, windowed or not; nothing for other controls.
void CopySkinControlHint(vcl::TControl* control, std::string& title, int& imageIndex,
                         vcl::TCustomImageList*& imageList) {
    if (!CopyHintOf<TbsSkinControl>(control, title, imageIndex, imageList))
        CopyHintOf<TbsGraphicSkinControl>(control, title, imageIndex, imageList);
}

}  // namespace

// ---- TbsSkinHintWindow
// ---------------------------------------------------------------------------------------

TbsSkinHintWindow::TbsSkinHintWindow(vcl::TComponent* AOwner) : vcl::THintWindow(AOwner) {}

void TbsSkinHintWindow::CreateParams(vcl::TCreateParams& Params) {
    vcl::THintWindow::CreateParams(Params);
    Params.Style &= ~win::WS_BORDER;
    if (OsIsXpUp()) Params.WindowClass.style |= win::CS_DROPSHADOW;
}

void TbsSkinHintWindow::Dispatch(vcl::TMessage& Message) {
    switch (Message.Msg) {
        case win::WM_NCPAINT:
            Message.Result = 0;
            return;
        case win::WM_ERASEBKGND:
            // Paint covers every pixel from its buffer; erasing first would flicker.
            Message.Result = 1;
            return;
        default:
            vcl::THintWindow::Dispatch(Message);
    }
}

void TbsSkinHintWindow::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::THintWindow::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImageList) FImageList = nullptr;
}

void TbsSkinHintWindow::Follow(vcl::TComponent* oldValue, vcl::TComponent* newValue) {
    // The old one may still be the other field's; hearing of it once too often costs nothing.
    if (newValue && newValue != oldValue) newValue->FreeNotification(this);
}

void TbsSkinHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
    AExtendedStyle = false;
    FspHint = TbsSkinHint::InCharge();
    if (!FspHint) return;
    if (!FspHint->FHintTitle.empty() || FspHint->FHintImageList) {
        ActivateHintEx(Rect, FspHint->FHintTitle, AHint, FspHint->FHintImageIndex,
                       FspHint->FHintImageList);
        return;
    }
    if (!FspHint->Active()) return;
    Activate(TLayout::Plain, Rect, "", AHint, 0, nullptr, false);
}

void TbsSkinHintWindow::ActivateHintEx(TRect Rect, const std::string& AHintTitle,
                                       const std::string& AHint, int AImageIndex,
                                       vcl::TCustomImageList* AImageList) {
    AExtendedStyle = true;
    FspHint = TbsSkinHint::InCharge();
    if (!FspHint || !FspHint->Active()) return;
    Activate(TLayout::Extended, Rect, AHintTitle, AHint, AImageIndex, AImageList, false);
}

void TbsSkinHintWindow::ActivateHintFromRect(TRect ARect, const std::string& AHint, bool ATop) {
    AExtendedStyle = false;
    FspHint = TbsSkinHint::InCharge();
    if (!FspHint || !FspHint->Active()) return;
    Activate(TLayout::FromRect, ARect, "", AHint, 0, nullptr, ATop);
}

void TbsSkinHintWindow::Activate(TLayout layout, TRect Rect, const std::string& AHintTitle,
                                 const std::string& AHint, int AImageIndex,
                                 vcl::TCustomImageList* AImageList, bool ATop) {
    TbsSkinHint& hint = *FspHint;
    TbsSkinData* sd = hint.HintSkinData();
    Follow(FSD, sd);
    FSD = sd;
    gfx::TBitmap* picture = WindowPicture(FSD);

    // The font the text is measured and drawn in.
    if (FSD && hint.UseSkinFont()) {
        const TbsDataSkinHintWindow& rec = FSD->HintWindow;
        FHintFont.SetHeight(rec.FontHeight);
        FHintFont.SetName(rec.FontName);
        FHintFont.SetStyle(rec.FontStyle);
    } else {
        FHintFont.Assign(hint.DefaultFont());
    }
    TbsSkinData* own = hint.SkinData();
    FHintFont.SetCharset(own && own->ResourceStrData() ? own->ResourceStrData()->CharSet()
                                                       : hint.DefaultFont().Charset());

    const std::string text = hint.HintLines(AHint);
    SetCaption(text);
    const bool extended = layout == TLayout::Extended;
    FTitle = extended ? AHintTitle : std::string();
    FImageIndex = AImageIndex;
    vcl::TCustomImageList* images =
        extended && ImageInList(AImageList, AImageIndex) ? AImageList : nullptr;
    Follow(FImageList, images);
    FImageList = images;

    gfx::TBitmap scratch;
    scratch.SetSize(1, 1);
    gfx::TCanvas& canvas = scratch.Canvas();
    canvas.Font().Assign(FHintFont);
    FTextSize = TextSize(canvas, text);
    int w = FTextSize.cx, h = FTextSize.cy;
    FTitleHeight = 0;
    if (extended) {
        if (!FTitle.empty()) {
            const gfx::TSize title = canvas.TextExtent(FTitle);
            FTitleHeight = title.cy;
            h += FTitleHeight + 10;
            w = std::max(w, title.cx);
        }
        if (FImageList) {
            w += FImageList->Width() + 10;
            h = std::max(h, FImageList->Height() + FTitleHeight + 5);
        }
    }

    int W = w + 4, H = h + 4;
    if (picture) {
        const TbsDataSkinHintWindow& rec = FSD->HintWindow;
        const int PW = picture->Width(), PH = picture->Height();
        W = w + rec.ClRect.Left + PW - rec.ClRect.Right + (extended ? 10 : 5);
        H = h + rec.ClRect.Top + PH - rec.ClRect.Bottom;
        // A picture larger than the text would make the moved corner points cross the fixed
        // ones; the window grows until they meet.
        if (rec.RTPoint.X + W - PW < rec.LTPoint.X) W += rec.LTPoint.X - (rec.RTPoint.X + W - PW);
        if (rec.RBPoint.X + W - PW < rec.LBPoint.X) W += rec.LBPoint.X - (rec.RBPoint.X + W - PW);
        if (rec.LBPoint.Y + H - PH < rec.LTPoint.Y) H += rec.LTPoint.Y - (rec.LBPoint.Y + H - PH);
        if (rec.RBPoint.Y + H - PH < rec.RTPoint.Y) H += rec.RTPoint.Y - (rec.RBPoint.Y + H - PH);
        const int dx = W - PW, dy = H - PH;
        NewClRect = {rec.ClRect.Left, rec.ClRect.Top, rec.ClRect.Right + dx,
                     rec.ClRect.Bottom + dy};
        NewLTPoint = rec.LTPoint;
        NewRTPoint = {rec.RTPoint.X + dx, rec.RTPoint.Y};
        NewLBPoint = {rec.LBPoint.X, rec.LBPoint.Y + dy};
        NewRBPoint = {rec.RBPoint.X + dx, rec.RBPoint.Y + dy};
    } else {
        NewClRect = {2, 2, W - 2, H - 2};
        NewLTPoint = NewRTPoint = NewLBPoint = NewRBPoint = {};
    }

    int left = Rect.Left, top = Rect.Top;
    if (layout == TLayout::FromRect) {
        left = Rect.Left + Rect.Width() / 2 - W / 2;
        top = ATop ? Rect.Top - H : Rect.Bottom;
    }
    // Moved to the other side of the pointer, not clamped: it never covers what it explains.
    const TRect limit = HintLimit();
    if (left + W > limit.Right) left -= W + 2;
    if (top + H > limit.Bottom) top -= H + 2;
    SetBoundsRect({left, top, left + W, top + H});

    if (OsIsW2kUp()) ApplyAlphaBlend(hint);
    ApplyRegion();

    win::SetWindowPos(Handle(), win::HWND_TOPMOST, left, top, 0, 0,
                      win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE);
    SetVisible(true);
    Repaint();
    if (OsIsW2kUp() && hint.AlphaBlend() && hint.AlphaBlendAnimation()) FadeIn(hint);
}

void TbsSkinHintWindow::ApplyAlphaBlend(TbsSkinHint& hint) {
    const win::HWND h = Handle();
    const auto exStyle = win::GetWindowLongPtr(h, win::GWL_EXSTYLE);
    const bool layered = (exStyle & win::WS_EX_LAYERED) != 0;
    if (layered != FOldAlphaBlend) {
        // The application makes its hint window anew for each hint: a new window has no layer
        // and no alpha yet.
        FOldAlphaBlend = layered;
        FOldAlphaBlendValue = 0;
    }
    if (hint.AlphaBlend() != FOldAlphaBlend) {
        win::SetWindowLongPtr(h, win::GWL_EXSTYLE,
                              hint.AlphaBlend() ? exStyle | win::WS_EX_LAYERED
                                                : exStyle & ~std::intptr_t(win::WS_EX_LAYERED));
        FOldAlphaBlend = hint.AlphaBlend();
        // A layer that comes back has lost its alpha.
        FOldAlphaBlendValue = 0;
    }
    if (!hint.AlphaBlend()) return;
    const bool animate = hint.AlphaBlendAnimation();
    if (animate) win::SetLayeredWindowAttributes(h, 0, 0, win::LWA_ALPHA);
    if (hint.AlphaBlendValue() != FOldAlphaBlendValue) {
        if (!animate) win::SetLayeredWindowAttributes(h, 0, hint.AlphaBlendValue(), win::LWA_ALPHA);
        FOldAlphaBlendValue = hint.AlphaBlendValue();
    }
}

void TbsSkinHintWindow::ApplyRegion() {
    std::optional<gfx::TRegion> rgn;
    if (FSD && WindowPicture(FSD)) {
        const TbsDataSkinHintWindow& rec = FSD->HintWindow;
        if (gfx::TBitmap* mask = HintPictureAt(*FSD, rec.MaskPictureIndex))
            BuildSkinWindowRegion(rgn, rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint,
                                  rec.ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                                  NewClRect, *mask, Width(), Height());
    }
    if (!rgn && !FRgn) return;
    win::SetWindowRgn(Handle(), rgn, false);
    FRgn = std::move(rgn);
}

void TbsSkinHintWindow::FadeIn(TbsSkinHint& hint) {
    const int target = hint.AlphaBlendValue();
    const win::HWND h = Handle();
    // A step each time more than 3 ms passed.
    skin::FadeIn(
        target, FadeInStep(target),
        [this, h](int alpha) {
            Repaint();
            win::SetLayeredWindowAttributes(h, 0, std::uint8_t(alpha), win::LWA_ALPHA);
            return true;
        },
        3000);
}

void TbsSkinHintWindow::Paint() {
    TbsSkinHint* hint = TbsSkinHint::InCharge();
    if (!hint) return;
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    gfx::TBitmap DrawBuffer;
    DrawBuffer.SetSize(W, H);
    gfx::TCanvas& c = DrawBuffer.Canvas();
    gfx::TBitmap* picture = WindowPicture(FSD);
    if (picture) {
        const TbsDataSkinHintWindow& rec = FSD->HintWindow;
        gfx::TBitmap image;
        BuildNineSliceImage(rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint, rec.ClRect,
                            NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, image,
                            *picture, {0, 0, picture->Width(), picture->Height()}, W, H, true,
                            rec.LeftStretch, rec.TopStretch, rec.RightStretch, rec.BottomStretch,
                            rec.StretchEffect, rec.StretchType);
        c.Draw(0, 0, image);
    } else {
        c.Brush().SetColor(gfx::clInfoBk);
        c.FillRect({0, 0, W, H});
        c.Brush().SetColor(gfx::clBtnShadow);
        c.FrameRect({0, 0, W, H});
    }

    c.Font().Assign(FHintFont);
    c.Font().SetColor(picture ? FSD->HintWindow.FontColor : gfx::clInfoText);
    c.Brush().SetStyle(gfx::bsClear);
    const std::string& text = Caption();
    const int w = FTextSize.cx, h = FTextSize.cy;
    const TRect cl = picture ? NewClRect : TRect{2, 2, W - 2, H - 2};
    if (!AExtendedStyle) {
        if (picture)
            DrawTextAt(c, text,
                       {cl.Left + (cl.Width() - w) / 2, cl.Top + (cl.Height() - h) / 2, W, H});
        else
            DrawTextAt(c, text, cl);
    } else {
        const bool titled = !FTitle.empty();
        const int th = titled ? FTitleHeight : 0;
        if (titled) {
            c.Font().SetStyle(c.Font().Style() | gfx::fsBold);
            DrawTextAt(c, FTitle, {picture ? cl.Left + 5 : cl.Left, cl.Top, W, H});
            c.Font().SetStyle(c.Font().Style() & ~unsigned(gfx::fsBold));
        }
        const int iw = FImageList ? FImageList->Width() : 0;
        const int ih = FImageList ? FImageList->Height() : 0;
        if (picture) {
            const int L = cl.Left + 5;
            if (FImageList)
                FImageList->Draw(c, L, titled ? cl.Top + th + 5 : cl.Top + (cl.Height() - ih) / 2,
                                 FImageIndex, true);
            const int x = FImageList ? L + iw + 5 : L;
            const int y = titled ? cl.Top + th + 5 : cl.Top + (cl.Height() - h) / 2;
            DrawTextAt(c, text, {x, y, W, H});
        } else {
            if (FImageList)
                FImageList->Draw(c, cl.Left, titled ? th + 5 : cl.Top + (cl.Height() - ih) / 2,
                                 FImageIndex, true);
            TRect r = cl;
            if (titled) r = r.Offset(0, th + 5);
            if (FImageList) r = r.Offset(cl.Left + iw + 5, 0);
            DrawTextAt(c, text, r);
        }
    }
    Canvas().Draw(0, 0, DrawBuffer);
}

// ---- TbsSkinHint
// ---------------------------------------------------------------------------------------------

TbsSkinHint::TbsSkinHint(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), FSelf(std::make_shared<TbsSkinHint*>(this)) {
    HW = new TbsSkinHintWindow(this);
    HW->SetVisible(false);
    if (ComponentState().Contains(vcl::csDesigning) || !vcl::Application) return;
    vcl::HintWindowClass = vcl::HintWindowClassOf<TbsSkinHintWindow>();
    // Turning hints off and on again makes the application's hint window of the new class.
    const bool show = vcl::Application->ShowHint();
    vcl::Application->SetShowHint(!show);
    vcl::Application->SetShowHint(show);
    InstallShowHint();
    vcl::Application->HintShortPause = 100;
}

void TbsSkinHint::BeforeDestruction() {
    // The handler may stay in Application after us; it must find nobody home.
    *FSelf = nullptr;
    HideHint();
    vcl::TComponent::BeforeDestruction();
}

void TbsSkinHint::InstallShowHint() {
    if (!vcl::Application) return;
    std::shared_ptr<TbsSkinHint*> self = FSelf;
    vcl::Application->OnShowHint = [self](std::string& HintStr, bool& CanShow,
                                          vcl::THintInfo& HintInfo) {
        if (*self) (*self)->ShowHintHandler(HintStr, CanShow, HintInfo);
    };
}

void TbsSkinHint::ShowHintHandler(std::string& HintStr, bool& CanShow, vcl::THintInfo& HintInfo) {
    FHintTitle.clear();
    FHintImageIndex = 0;
    vcl::TCustomImageList* images = nullptr;
    CopySkinControlHint(HintInfo.HintControl, FHintTitle, FHintImageIndex, images);
    SetHintImageList(images);
    if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TbsSkinHint::SetHintImageList(vcl::TCustomImageList* value) {
    if (value) value->FreeNotification(this);
    FHintImageList = value;
}

void TbsSkinHint::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
    if (AComponent == HW) HW = nullptr;
    if (AComponent == HintTimer) HintTimer = nullptr;
}

void TbsSkinHint::SetActive(bool value) {
    FActive = value;
    if (!value) return;
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (main)
        for (int i = 0; i < main->ComponentCount(); ++i) {
            auto* other = dynamic_cast<TbsSkinHint*>(main->Components(i));
            if (other && other != this && other->Active()) other->SetActive(false);
        }
    if (!ComponentState().Contains(vcl::csDesigning)) InstallShowHint();
}

void TbsSkinHint::SetSkinData(TbsSkinData* value) {
    if (value == FSD) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = value;
    if (FSD) FSD->FreeNotification(this);
}

TbsSkinHint* TbsSkinHint::InCharge() {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (int i = 0; i < main->ComponentCount(); ++i) {
        auto* hint = dynamic_cast<TbsSkinHint*>(main->Components(i));
        if (hint && hint->Active() && !hint->ComponentState().Contains(vcl::csDestroying))
            return hint;
    }
    return nullptr;
}

TbsSkinData* TbsSkinHint::HintSkinData() const {
    return WindowPicture(FSD) ? FSD : nullptr;
}

std::string TbsSkinHint::HintLines(const std::string& AHint) const {
    if (FLineSeparator.empty()) return AHint;
    // One pass from left to right: a separator that holds a line break is not found again in
    // what replaced it.
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = AHint.find(FLineSeparator, from)) != std::string::npos;
         from = at + FLineSeparator.size())
        out.append(AHint, from, at - from).append("\n");
    out.append(AHint, from, std::string::npos);
    return out;
}

void TbsSkinHint::ActivateHint(TPoint P, const std::string& AHint) {
    if (!HW) return;
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
    HW->ActivateHint({P.X, P.Y, P.X, P.Y}, AHint);
}

void TbsSkinHint::ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint,
                                 int AImageIndex, vcl::TCustomImageList* AImageList) {
    if (!HW) return;
    HW->ActivateHintEx({P.X, P.Y, P.X, P.Y}, AHintTitle, AHint, AImageIndex, AImageList);
}

void TbsSkinHint::ActivateHint2(const std::string& AHint) {
    HintText = AHint;
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
    StartDelay(TPending::Plain);
}

void TbsSkinHint::ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint,
                                  int AImageIndex, vcl::TCustomImageList* AImageList) {
    HintText = AHint;
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    SetHintImageList(AImageList);
    StartDelay(TPending::Extended);
}

void TbsSkinHint::ActivateHint3(TRect AFromRect, const std::string& AHint, bool ATop) {
    HintText = AHint;
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
    FromRect = AFromRect;
    Top = ATop;
    StartDelay(TPending::FromRect);
}

void TbsSkinHint::StartDelay(TPending kind) {
    FPending = kind;
    if (!HintTimer) {
        HintTimer = new vcl::TTimer(this);
        HintTimer->SetOnTimer([this](vcl::TObject* Sender) { HintTimerTick(Sender); });
    }
    HintTimer->SetEnabled(false);
    FHintShown = false;
    HintTimer->SetInterval(
        unsigned(std::max(vcl::Application ? vcl::Application->HintPause : 0, 0)));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::HintTimerTick(vcl::TObject*) {
    if (FHintShown) {
        HideHint();
        return;
    }
    HintTimer->SetEnabled(false);
    if (!HW) return;
    TPoint p;
    win::GetCursorPos(p);
    p.Y += GetCursorHeightMargin();
    switch (FPending) {
        case TPending::Plain:
            HW->ActivateHint({p.X, p.Y, p.X, p.Y}, HintText);
            break;
        case TPending::Extended:
            HW->ActivateHintEx({p.X, p.Y, p.X, p.Y}, FHintTitle, HintText, FHintImageIndex,
                               FHintImageList);
            break;
        case TPending::FromRect:
            HW->ActivateHintFromRect(FromRect, HintText, Top);
            break;
    }
    // The activation may have run user code through a repaint; the timer is ours either way.
    if (!HintTimer) return;
    FHintShown = true;
    HintTimer->SetInterval(
        unsigned(std::max(vcl::Application ? vcl::Application->HintHidePause : 0, 0)));
    HintTimer->SetEnabled(true);
}

void TbsSkinHint::HideHint() {
    if (HintTimer) HintTimer->SetEnabled(false);
    FHintShown = false;
    if (!HW || !HW->Visible()) return;
    HW->SetVisible(false);
    if (HW->HandleAllocated())
        win::SetWindowPos(HW->Handle(), win::HWND(), 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE |
                              win::SWP_NOMOVE | win::SWP_NOZORDER);
    FHintTitle.clear();
    FHintImageList = nullptr;
    FHintImageIndex = 0;
}

bool TbsSkinHint::IsVisible() const {
    return HW && HW->Visible();
}

int TbsSkinHint::GetCursorHeightMargin() const {
    // The standard cursor size, for a shape whose masks can't be read.
    constexpr int kCursorHeight = 32;
    win::ICONINFO info;
    if (!win::GetIconInfo(win::GetCursor(), info) || !info.hbmMask) return kCursorHeight;
    const gfx::TSurface& mask = *info.hbmMask;
    const int width = mask.Width(), height = mask.Height();
    // A monochrome cursor stacks its AND mask over its XOR mask.
    const bool stacked = height >= 2 * width;
    const int andRows = stacked ? width : height;
    auto lastRow = [&](int from, int to, std::uint32_t skip) {
        int last = -1;
        for (int y = from; y < to; ++y)
            for (int x = 0; x < width; ++x)
                if ((mask.Pixels()[std::size_t(y) * width + x] & 0xFFFFFFu) != skip) {
                    last = y - from;
                    break;
                }
        return last;
    };
    int last = lastRow(0, andRows, 0xFFFFFFu);
    if (last < 0 && stacked) last = lastRow(width, 2 * width, 0);
    return last + 1 - info.yHotspot;
}

}  // namespace skin
