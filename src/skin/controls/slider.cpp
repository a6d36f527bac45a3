#include "skin/controls/slider.h"

#include <algorithm>
#include <cmath>

#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"
#include "skin/packages/default_pictures.h"

namespace skin {

namespace {

constexpr std::uintptr_t kJumpTimer = 1;
constexpr unsigned kJumpMs = 400;
// What the ruler and thumb keep from every border.
constexpr int kIndent = 6;

constexpr const char* kDefaultImageNames[] = {"BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL"};

int Round(double value) {
    return int(std::nearbyint(value));
}

// Draws the picture keyed on its bottom-left pixel, or plainly.
void DrawPicture(gfx::TCanvas& c, int x, int y, gfx::TBitmap& picture, bool transparent) {
    picture.SetTransparentMode(gfx::tmAuto);
    picture.SetTransparent(transparent);
    c.Draw(x, y, picture);
}

// A piece of a picture drawn keyed on the piece's own bottom-left pixel, or plainly.
void DrawPiece(gfx::TCanvas& c, int x, int y, gfx::TBitmap& picture, const TRect& piece,
               bool transparent) {
    if (piece.IsEmpty()) return;
    gfx::TBitmap b;
    b.SetPixelFormat(gfx::pf32bit);
    b.SetSize(piece.Width(), piece.Height());
    b.Canvas().CopyRect({0, 0, piece.Width(), piece.Height()}, picture.Canvas(), piece);
    DrawPicture(c, x, y, b, transparent);
}

}  // namespace

TbsSkinCustomSlider::TbsSkinCustomSlider(vcl::TComponent* AOwner)
    : TbsSkinControl(AOwner), FRuler(std::make_unique<gfx::TBitmap>()) {
    SetControlStyle({vcl::csAcceptsControls, vcl::csCaptureMouse, vcl::csClickEvents, vcl::csOpaque,
                     vcl::csDoubleClicks});
    SetTabStop(true);
    SetBounds(Left(), Top(), 150, 40);
    FRuler->SetPixelFormat(gfx::pf32bit);
    for (int i = siHThumb; i <= siVRuler; ++i) LoadDefaultImage(TbsSliderImage(i));
    LayoutElements();
    SetSkinDataName("slider");
    FCreating = false;
}

TbsSkinCustomSlider::~TbsSkinCustomSlider() {
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
    for (auto& image : FImages)
        if (image) image->OnChange = nullptr;
}

void TbsSkinCustomSlider::LoadDefaultImage(TbsSliderImage index) {
    RegisterDefaultPictures();
    auto& image = FImages[index];
    if (!image) {
        image = std::make_unique<gfx::TBitmap>();
        image->OnChange = [this] { ImageChanged(); };
    }
    // Loading fires the change hook, which lays the slider out once it is built.
    image->LoadFromResourceName(kDefaultImageNames[index]);
}

void TbsSkinCustomSlider::ImageChanged() {
    if (!FCreating) LayoutElements();
}

void TbsSkinCustomSlider::SetImage(TbsSliderImage index, const gfx::TBitmap* value) {
    if (value) {
        if (!FImages[index]) LoadDefaultImage(index);
        FImages[index]->Assign(*value);
        FUserImages += index;
        return;
    }
    LoadDefaultImage(index);
    FUserImages -= index;
    if (ComponentState().Contains(vcl::csReading)) return;
    if (index == siHThumb || index == siVThumb)
        FOptions -= soThumbOpaque;
    else
        FOptions -= soRulerOpaque;
    Invalidate();
}

void TbsSkinCustomSlider::Loaded() {
    TbsSkinControl::Loaded();
    for (int i = siHThumb; i <= siVRuler; ++i)
        if (FUserImages.Contains(TbsSliderImage(i))) {
            gfx::TBitmap copy;
            copy.Assign(*FImages[i]);
            SetImage(TbsSliderImage(i), &copy);
        }
}

// ---- skin -----------------------------------------------------------------------------------

void TbsSkinCustomSlider::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1) return;
    auto* r = dynamic_cast<const TbsDataSkinSlider*>(FSD->CtrlList[FIndex].get());
    if (!r) {
        // A record of another kind draws nothing of ours.
        FIndex = -1;
        return;
    }
    HRulerRect = r->HRulerRect;
    HThumbRect = r->HThumbRect;
    VRulerRect = r->VRulerRect;
    VThumbRect = r->VThumbRect;
    SkinEdgeSize = r->EdgeSize;
    BGColor = r->BGColor;
    PointsColor = r->PointsColor;
    const auto& pictures = SkinData()->FActivePictures;
    if (r->PictureIndex >= 0 && r->PictureIndex < int(pictures.size()))
        Picture = pictures[std::size_t(r->PictureIndex)].get();
}

void TbsSkinCustomSlider::ChangeSkinData() {
    LayoutElements();
}

// ---- geometry -------------------------------------------------------------------------------

TbsSkinCustomSlider::TThumbSizes TbsSkinCustomSlider::ThumbSizes() const {
    TThumbSizes s;
    if (SkinThumb()) {
        s = {HThumbRect.Width(), HThumbRect.Height(), VThumbRect.Width(), VThumbRect.Height(), 2};
    } else {
        s = {FImages[siHThumb]->Width(), FImages[siHThumb]->Height(), FImages[siVThumb]->Width(),
             FImages[siVThumb]->Height(), FNumThumbStates};
    }
    if (s.N < 1) s.N = 1;
    return s;
}

int TbsSkinCustomSlider::RulerLength() const {
    const TThumbSizes s = ThumbSizes();
    return Horizontal() ? FRuler->Width() - s.Wh / s.N : FRuler->Height() - s.Hv;
}

int TbsSkinCustomSlider::MinOffset() {
    TRect R;
    GetSliderArea(R);
    return (Horizontal() ? R.Left : R.Top) + kIndent;
}

int TbsSkinCustomSlider::OffsetOfValue(int V) {
    TRect R;
    GetSliderArea(R);
    const int minOffset = MinOffset();
    const int length = RulerLength();
    // A slider too small for its ruler keeps the thumb at the start.
    if (length <= 0 || FMaxValue == FMinValue) return minOffset;
    int result = Round(double(V - FMinValue) / double(FMaxValue - FMinValue) * length) + minOffset;
    if (!Horizontal()) result = R.Top + R.Bottom - result - ThumbSizes().Hv;
    return std::max(result, minOffset);
}

int TbsSkinCustomSlider::ValueAtOffset(int Offset) {
    TRect R;
    GetSliderArea(R);
    const int length = RulerLength();
    // No travel: every offset means the minimum (the plain formula divides by zero).
    if (length <= 0) return FMinValue;
    if (!Horizontal()) Offset = ClientHeight() - Offset - ThumbSizes().Hv;
    int result = Round(double(Offset - R.Left - kIndent) * (FMaxValue - FMinValue) / length);
    if (!FOptions.Contains(soSmooth)) result = Round(double(result) / FIncrement) * FIncrement;
    return std::min(FMinValue + std::max(result, 0), FMaxValue);
}

void TbsSkinCustomSlider::SnapThumbOffset(int& Offset) {
    const int minOffset = MinOffset();
    const int maxOffset = minOffset + std::max(RulerLength(), 0);
    Offset =
        std::min(OffsetOfValue(ValueAtOffset(std::clamp(Offset, minOffset, maxOffset))), maxOffset);
}

void TbsSkinCustomSlider::InvalidateThumbRect() {
    if (HandleAllocated()) win::InvalidateRect(Handle(), &FThumbRect, false);
}

void TbsSkinCustomSlider::MoveThumb(int Offset) {
    const int old = FValue;
    SnapThumbOffset(Offset);
    InvalidateThumbRect();
    if (Horizontal())
        FThumbRect = FThumbRect.Offset(Offset - FThumbRect.Left, 0);
    else
        FThumbRect = FThumbRect.Offset(0, Offset - FThumbRect.Top);
    InvalidateThumbRect();
    if (FSliding) {
        FValue = ValueAtOffset(Offset);
        if (FValue != old) NotifyChange();
    }
}

// ---- layout ---------------------------------------------------------------------------------

void TbsSkinCustomSlider::BuildSkinRuler(const TRect& R) {
    if (Horizontal())
        BuildHorzSkinStrip(SkinEdgeSize, SkinEdgeSize, *FRuler, *Picture, HRulerRect,
                           std::max(R.Width() - 2 * kIndent, 0), HRulerRect.Height(), false);
    else
        BuildVertSkinStrip(SkinEdgeSize, SkinEdgeSize, *FRuler, *Picture, VRulerRect,
                           VRulerRect.Width(), std::max(R.Height() - 2 * kIndent, 0), false);
}

void TbsSkinCustomSlider::BuildImageRuler(const TRect& R) {
    gfx::TBitmap& image = *FImages[Horizontal() ? siHRuler : siVRuler];
    const int L = std::max((Horizontal() ? R.Width() : R.Height()) - 2 * kIndent, 0);
    if (Horizontal())
        FRuler->SetSize(L, image.Height());
    else
        FRuler->SetSize(image.Width(), L);
    if (L == 0 || image.Empty()) return;
    const int E = FEdgeSize;
    const int I = Horizontal() ? image.Width() : image.Height();
    const int T = I - 2 * E;
    // Copies `count` pixels of the image from `from` to `at` along the ruler, cut at its end.
    auto copy = [&](int at, int from, int count) {
        count = std::min(count, L - at);
        if (count <= 0 || from < 0) return;
        const TRect d = Horizontal() ? TRect{at, 0, at + count, image.Height()}
                                     : TRect{0, at, image.Width(), at + count};
        const TRect s = Horizontal() ? TRect{from, 0, from + count, image.Height()}
                                     : TRect{0, from, image.Width(), from + count};
        FRuler->Canvas().CopyRect(d, image.Canvas(), s);
    };
    if (T <= 0) {
        // No middle to tile (an assigned picture no longer than its two ends): the ends alone.
        copy(0, 0, std::min(E, I));
        copy(std::max(L - E, 0), std::max(I - E, 0), std::min(E, I));
        return;
    }
    const int A = L - 2 * E;
    copy(0, 0, I - E);
    if (A <= 0) {
        copy(std::max(L - E, 0), I - E, E);
        return;
    }
    const int pieces = A / T + 1;
    for (int k = 1; k < pieces - 1; ++k) copy(E + k * T, E, T);
    const int rest = A % T;
    copy(E + (pieces - 1) * T, E + T - rest, E + rest);
}

void TbsSkinCustomSlider::LayoutElements() {
    GetSkinData();
    const int value = FValue;
    TRect R;
    GetSliderArea(R);
    if (HasRecord())
        BuildSkinRuler(R);
    else
        BuildImageRuler(R);
    const TThumbSizes s = ThumbSizes();
    const int RW = FRuler->Width(), RH = FRuler->Height();
    if (Horizontal()) {
        const int w = s.Wh / s.N, h = s.Hh;
        TPoint thumb;
        if (h > RH) {
            thumb = {R.Left + kIndent, R.Top + kIndent};
            FRulerOrg = {R.Left + kIndent, R.Top + kIndent + (h - RH) / 2};
        } else {
            thumb = {R.Left + kIndent, R.Top + kIndent + (RH - h) / 2};
            FRulerOrg = {R.Left + kIndent, R.Top + kIndent};
        }
        FThumbRect = gfx::Bounds(thumb.X, thumb.Y, w, h);
        FPointsRect = {FRulerOrg.X, R.Top + 7 + std::max(h, RH), FRulerOrg.X + RW,
                       R.Bottom - R.Top - 1};
    } else {
        const int w = s.Wv / s.N, h = s.Hv;
        TPoint thumb;
        if (w > RW) {
            thumb = {R.Left + kIndent, R.Top + kIndent};
            FRulerOrg = {R.Left + kIndent + (w - RW) / 2, R.Top + kIndent};
        } else {
            thumb = {R.Left + kIndent + (RW - w) / 2, R.Top + kIndent};
            FRulerOrg = {R.Left + kIndent, R.Top + kIndent};
        }
        FThumbRect = gfx::Bounds(thumb.X, thumb.Y, w, h);
        FPointsRect = {R.Left + 7 + std::max(w, RW), FRulerOrg.Y, R.Right - R.Left - 1,
                       FRulerOrg.Y + RH};
    }
    SetValue(value);
    Invalidate();
}

// ---- properties -------------------------------------------------------------------------------

void TbsSkinCustomSlider::SetValue(int value) {
    const int old = FValue;
    FValue = std::clamp(value, FMinValue, FMaxValue);
    // Without travel the thumb can show only one value: the minimum.
    if (RulerLength() <= 0) FValue = FMinValue;
    MoveThumb(OffsetOfValue(FValue));
    if (FValue != old) NotifyChange();
}

void TbsSkinCustomSlider::SetRange(int AMin, int AMax) {
    const bool reading = ComponentState().Contains(vcl::csReading);
    if (AMin >= AMax && !reading) return;
    FMinValue = AMin;
    FMaxValue = AMax;
    if (!reading && FMaxValue < FMinValue + FIncrement) FIncrement = FMaxValue - FMinValue;
    if (FOptions.Contains(soShowPoints)) Invalidate();
    SetValue(FValue);
    AfterRangeChange();
}

void TbsSkinCustomSlider::SetMinValue(int value) {
    if (value != FMinValue) SetRange(value, FMaxValue);
}

void TbsSkinCustomSlider::SetMaxValue(int value) {
    if (value != FMaxValue) SetRange(FMinValue, value);
}

void TbsSkinCustomSlider::SetIncrement(int value) {
    if (value <= 0 || value == FIncrement) return;
    FIncrement = value;
    SetValue(FValue);
    Invalidate();
}

void TbsSkinCustomSlider::SetOrientation(TbsSliderOrientation value) {
    if (value == FOrientation) return;
    FOrientation = value;
    LayoutElements();
    const auto state = ComponentState();
    if (!state.Contains(vcl::csLoading) && !state.Contains(vcl::csUpdating))
        SetBounds(Left(), Top(), Height(), Width());
}

void TbsSkinCustomSlider::SetOptions(TbsSliderOptions value) {
    if (value == FOptions) return;
    FOptions = value;
    Invalidate();
}

void TbsSkinCustomSlider::SetEdgeSize(int value) {
    const gfx::TBitmap& ruler = *FImages[Horizontal() ? siHRuler : siVRuler];
    const int length = Horizontal() ? ruler.Width() : ruler.Height();
    if (2 * value >= length || value == FEdgeSize) return;
    FEdgeSize = value;
    LayoutElements();
}

void TbsSkinCustomSlider::SetNumThumbStates(int value) {
    value = std::clamp(value, 1, 2);
    if (value == FNumThumbStates) return;
    FNumThumbStates = value;
    LayoutElements();
}

void TbsSkinCustomSlider::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TbsSkinCustomSlider::SetUseSkinThumb(bool value) {
    if (value == FUseSkinThumb) return;
    FUseSkinThumb = value;
    LayoutElements();
}

void TbsSkinCustomSlider::NotifyChange() {
    if (OnChange) OnChange(this);
}

void TbsSkinCustomSlider::NotifyChanged() {
    if (OnChanged) OnChanged(this);
}

// ---- painting ---------------------------------------------------------------------------------

void TbsSkinCustomSlider::DrawThumb(gfx::TCanvas& C, TPoint P, bool second) {
    if (SkinThumb()) {
        TRect r = Horizontal() ? HThumbRect : VThumbRect;
        const int half = r.Width() / 2;
        r = second ? TRect{r.Left + half, r.Top, r.Left + 2 * half, r.Bottom}
                   : TRect{r.Left, r.Top, r.Left + half, r.Bottom};
        DrawPiece(C, P.X, P.Y, *Picture, r, true);
        return;
    }
    gfx::TBitmap& image = *FImages[Horizontal() ? siHThumb : siVThumb];
    const bool transparent = !FOptions.Contains(soThumbOpaque);
    if (FNumThumbStates == 1) {
        DrawPicture(C, P.X, P.Y, image, transparent);
        return;
    }
    const int half = image.Width() / 2;
    const TRect r =
        second ? TRect{half, 0, 2 * half, image.Height()} : TRect{0, 0, half, image.Height()};
    DrawPiece(C, P.X, P.Y, image, r, transparent);
}

void TbsSkinCustomSlider::DrawPoints(gfx::TCanvas& C, int Step, int NormalLength,
                                     int ExtremeLength) {
    if (Step <= 0) return;
    C.Pen().SetColor(HasRecord() ? PointsColor : gfx::clWindowText);
    const int range = FMaxValue - FMinValue;
    const int travel = RulerLength();
    if (travel <= 0) return;
    int m = 1, count = 0, spacing = 0;
    for (;; ++m) {
        count = Round(double(range) / (m * Step)) + 1;
        spacing = count <= 1 ? travel : travel / (count - 1);
        if (spacing >= 4 || spacing >= travel) break;
    }
    const TThumbSizes s = ThumbSizes();
    int v = FMinValue;
    for (int i = 1; i <= count; ++i, v += m * Step) {
        const int value = i == count ? FMaxValue : v;
        const int length = value == FMinValue || value == FMaxValue ? ExtremeLength : NormalLength;
        const int pos = OffsetOfValue(value);
        if (Horizontal()) {
            const int x = pos + (s.Wh / s.N) / 2;
            C.MoveTo(x, FPointsRect.Top);
            C.LineTo(x, FPointsRect.Top + length);
        } else {
            const int y = pos + s.Hv / 2;
            C.MoveTo(FPointsRect.Left, y);
            C.LineTo(FPointsRect.Left + length, y);
        }
    }
}

void TbsSkinCustomSlider::DefaultDrawPoints(int PointsStep, int PointsHeight,
                                            int ExtremePointsHeight) {
    DrawPoints(Canvas(), PointsStep, PointsHeight, ExtremePointsHeight);
}

void TbsSkinCustomSlider::Paint() {
    GetSkinData();
    gfx::TCanvas& C = Canvas();
    const bool copy = ControlState().Contains(vcl::csPaintCopy);
    TPoint P{FThumbRect.Left, FThumbRect.Top};
    if (copy) {
        int offset = OffsetOfValue(GetShownValue());
        SnapThumbOffset(offset);
        (Horizontal() ? P.X : P.Y) = offset;
    }
    const TRect client{0, 0, Width(), Height()};
    if (FTransparent) {
        gfx::TBitmap back;
        back.SetPixelFormat(gfx::pf32bit);
        back.SetSize(Width(), Height());
        PaintParentBackdrop(this, back.Canvas());
        C.Draw(0, 0, back);
    } else {
        C.Brush().SetStyle(gfx::bsSolid);
        C.Brush().SetColor(HasRecord() ? BGColor : Color());
        C.FillRect(client);
    }
    if (!FRuler->Empty())
        DrawPicture(C, FRulerOrg.X, FRulerOrg.Y, *FRuler,
                    !(FOptions.Contains(soRulerOpaque) && !HasRecord()));
    if (FOptions.Contains(soShowFocus) && FFocused) {
        TRect r;
        GetSliderArea(r);
        r = {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
        C.Font().SetColor(HasRecord() ? SkinData()->SkinColors()->cBtnText : Font().Color());
        DrawDotFrame(C, r);
    }
    if (FOptions.Contains(soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DrawPoints(C, FIncrement, 3, 5);
    }
    DrawThumb(C, P, copy ? !Enabled() : FThumbDown || !Enabled());
}

void TbsSkinCustomSlider::BufferedPaint(vcl::TMessage& m) {
    gfx::HDC target = win::ParamToDc(m.WParam);
    win::PAINTSTRUCT ps;
    const bool own = !target;
    if (own) {
        target = win::BeginPaint(Handle(), ps);
        if (!target) return;
    }
    const int w = ClientWidth(), h = ClientHeight();
    if (w > 0 && h > 0) {
        gfx::TDibDC buffer = gfx::CreateDibDC(w, h);
        gfx::HDC dc = buffer.DC.get();
        Perform(win::WM_ERASEBKGND, win::DcToParam(dc));
        FPaintBuffered = true;
        vcl::TMessage inner{win::WM_PAINT, win::DcToParam(dc), 0, 0};
        TbsSkinControl::Dispatch(inner);
        FPaintBuffered = false;
        gfx::BitBlt(target, 0, 0, w, h, dc, 0, 0, gfx::SRCCOPY);
    }
    if (own) win::EndPaint(Handle(), ps);
}

// ---- mouse and keys -------------------------------------------------------------------------

TbsJumpMode TbsSkinCustomSlider::JumpDirectionAt(int X, int Y) const {
    if (Horizontal()) {
        if (X < FThumbRect.Left) return jmPrior;
        if (X >= FThumbRect.Right) return jmNext;
    } else {
        if (Y < FThumbRect.Top) return jmNext;
        if (Y >= FThumbRect.Bottom) return jmPrior;
    }
    return jmNone;
}

void TbsSkinCustomSlider::JumpValue(TbsJumpMode Mode) {
    int value;
    switch (Mode) {
        case jmHome:
            value = FMinValue;
            break;
        case jmEnd:
            value = FMaxValue;
            break;
        case jmNext:
            value = Round(double(FValue) / FIncrement) * FIncrement + FIncrement;
            break;
        case jmPrior:
            value = Round(double(FValue) / FIncrement) * FIncrement - FIncrement;
            break;
        default:
            return;
    }
    if (value >= FMaxValue)
        value = FMaxValue;
    else if (value <= FMinValue)
        value = FMinValue;
    if (value != FValue) SetValue(value);
}

void TbsSkinCustomSlider::RepeatJump() {
    if (JumpDirectionAt(FMousePos.X, FMousePos.Y) == FStartJump) JumpValue(FStartJump);
    if (!FTimerActive) {
        win::SetTimer(Handle(), kJumpTimer, kJumpMs);
        FTimerActive = true;
    }
}

void TbsSkinCustomSlider::EndTracking() {
    if (!FTracking) return;
    if (HandleAllocated()) win::KillTimer(Handle(), kJumpTimer);
    FTimerActive = false;
    SetMouseCapture(false);
    FTracking = false;
    NotifyChanged();
}

void TbsSkinCustomSlider::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                                    int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft || Shift.Contains(vcl::ssDouble)) return;
    if (CanFocus() && !Focused()) SetFocus();
    if (FThumbRect.Contains(X, Y)) {
        PressThumb(Button, Shift, X, Y);
        return;
    }
    TRect ruler = gfx::Bounds(FRulerOrg.X, FRulerOrg.Y, FRuler->Width(), FRuler->Height());
    if (Horizontal()) {
        ruler.Top -= 3;
        ruler.Bottom += 3;
    } else {
        ruler.Left -= 3;
        ruler.Right += 3;
    }
    if (!ruler.Contains(X, Y) || !CanUserChange()) return;
    SetMouseCapture(true);
    FTracking = true;
    FMousePos = {X, Y};
    FStartJump = JumpDirectionAt(X, Y);
    RepeatJump();
}

void TbsSkinCustomSlider::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    if (Shift.Contains(vcl::ssLeft) && FSliding)
        DragThumb(Shift, X, Y);
    else if (FTracking)
        FMousePos = {X, Y};
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomSlider::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    EndTracking();
    if (FSliding) ReleaseThumb(Button, Shift, X, Y);
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomSlider::PressThumb(vcl::TMouseButton Button, vcl::TShiftState, int X, int Y) {
    if (CanFocus() && !Focused()) SetFocus();
    if (Button != vcl::mbLeft || !CanUserChange()) return;
    FSliding = true;
    FThumbDown = true;
    FHit = Horizontal() ? X - FThumbRect.Left : Y - FThumbRect.Top;
    InvalidateThumbRect();
    Update();
}

void TbsSkinCustomSlider::DragThumb(vcl::TShiftState Shift, int X, int Y) {
    if (!Shift.Contains(vcl::ssLeft) || !CanUserChange()) return;
    MoveThumb(Horizontal() ? X - FHit : Y - FHit);
}

void TbsSkinCustomSlider::ReleaseThumb(vcl::TMouseButton Button, vcl::TShiftState, int, int) {
    if (Button != vcl::mbLeft) return;
    FSliding = false;
    FThumbDown = false;
    InvalidateThumbRect();
    Update();
    if (CanUserChange()) NotifyChanged();
}

void TbsSkinCustomSlider::KeyDown(int& Key, vcl::TShiftState Shift) {
    if (Shift.Empty()) {
        TbsJumpMode mode = jmNone;
        switch (Key) {
            case win::VK_HOME:
                mode = jmHome;
                break;
            case win::VK_END:
                mode = jmEnd;
                break;
            case win::VK_LEFT:
                if (Horizontal()) mode = jmPrior;
                break;
            case win::VK_RIGHT:
                if (Horizontal()) mode = jmNext;
                break;
            case win::VK_UP:
                if (!Horizontal()) mode = jmNext;
                break;
            case win::VK_DOWN:
                if (!Horizontal()) mode = jmPrior;
                break;
            default:
                break;
        }
        if (mode != jmNone && CanUserChange()) {
            Key = 0;
            JumpValue(mode);
            NotifyChanged();
        }
    }
    TbsSkinControl::KeyDown(Key, Shift);
}

void TbsSkinCustomSlider::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case win::WM_PAINT:
            if (FPaintBuffered)
                TbsSkinControl::Dispatch(m);
            else
                BufferedPaint(m);
            return;
        case win::WM_SIZE:
            TbsSkinControl::Dispatch(m);
            if (!ComponentState().Contains(vcl::csReading)) LayoutElements();
            return;
        case win::WM_MOVE:
            TbsSkinControl::Dispatch(m);
            if (FTransparent) Invalidate();
            return;
        case WM_CHECKPARENTBG:
            if (FTransparent) Repaint();
            return;
        case win::WM_TIMER:
            // Whatever the timer's id: the slider runs only the jump repeat.
            RepeatJump();
            return;
        case win::WM_GETDLGCODE:
            m.Result = win::DLGC_WANTARROWS;
            return;
        case vcl::CM_ENABLEDCHANGED:
            TbsSkinControl::Dispatch(m);
            InvalidateThumbRect();
            return;
        case vcl::CM_FOCUSCHANGED: {
            const bool focused = win::ParamToPtr<vcl::TControl>(m.LParam) == this;
            if (focused != FFocused) {
                FFocused = focused;
                if (FOptions.Contains(soShowFocus)) Invalidate();
            }
            TbsSkinControl::Dispatch(m);
            return;
        }
        default:
            TbsSkinControl::Dispatch(m);
    }
}

}  // namespace skin
