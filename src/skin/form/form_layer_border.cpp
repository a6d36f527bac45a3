#include "skin/form/form_layer_border.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/clock.h"
#include "platform/win/win.h"
#include "skin/core/fades.h"
#include "skin/core/layered_windows.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

bool EmptyRect(const gfx::TRect& r) {
    return r.Right - r.Left <= 0 || r.Bottom - r.Top <= 0;
}

// Copies src's rectangle (with its alpha) into dst's, stretching by truncating sampling;
// parts outside either bitmap are left out.
void CopyStretch(TbsBitmap& src, const gfx::TRect& s, TbsBitmap& dst, const gfx::TRect& d) {
    const int sw = s.Right - s.Left, sh = s.Bottom - s.Top;
    const int dw = d.Right - d.Left, dh = d.Bottom - d.Top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || src.Empty() || dst.Empty()) return;
    for (int y = 0; y < dh; ++y) {
        const int ty = d.Top + y;
        const int sy = s.Top + int(std::int64_t(y) * sh / dh);
        if (ty < 0 || ty >= dst.Height() || sy < 0 || sy >= src.Height()) continue;
        TbsColor* out = dst.ScanLine(ty);
        const TbsColor* in = src.ScanLine(sy);
        for (int x = 0; x < dw; ++x) {
            const int tx = d.Left + x;
            const int sx = s.Left + int(std::int64_t(x) * sw / dw);
            if (tx < 0 || tx >= dst.Width() || sx < 0 || sx >= src.Width()) continue;
            out[tx] = in[sx];
        }
    }
}

// A picture of the skin with its alpha from the mask; an index outside the skin's pictures
// gives nothing, a missing mask an opaque picture.
std::unique_ptr<TbsBitmap> PictureWithAlpha(TbsSkinData& sd, int index, int maskIndex) {
    const int count = int(sd.FActivePictures.size());
    if (index < 0 || index >= count || !sd.FActivePictures[index]) return nullptr;
    auto bitmap = std::make_unique<TbsBitmap>();
    bitmap->Assign(*sd.FActivePictures[index]);
    if (bitmap->Empty()) return nullptr;
    if (maskIndex >= 0 && maskIndex < count && sd.FActivePictures[maskIndex]) {
        TbsBitmap mask;
        mask.Assign(*sd.FActivePictures[maskIndex]);
        AlphaFromMask(*bitmap, mask);
    } else {
        bitmap->SetAlpha(255);
    }
    bitmap->CheckingAlphaBlend();
    return bitmap;
}

bool HasContent(const std::unique_ptr<TbsBitmap>& image, bool byWidth) {
    if (!image || image->Empty()) return false;
    return byWidth ? image->Width() > 0 : image->Height() > 0;
}

// Waits until more than `gapMicros` passed since `last`; a clock that stands still (a test's)
// gets a few real milliseconds instead, so the caller's loop always ends.
}  // namespace

// --- the side windows -------------------------------------------------------------------------

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* AOwner, vcl::TCustomForm* AForm)
    : vcl::TForm(AOwner), FForm(AForm), FLayerBorder(AOwner) {
    SetVisible(false);
    SetBorderStyle(vcl::bsNone);
    SetFormStyle(AForm && AForm->FormStyle() == vcl::fsStayOnTop ? vcl::fsStayOnTop
                                                                 : vcl::fsNormal);
    SetControlStyle(ControlStyle() + vcl::csCaptureMouse);
    const TbsDataSkinLayerFrame* data = AOwner->Data();
    FEmptyBorderRect = !data || EmptyRect(data->BorderRect);
}

void TbsFormLayerWindow::CreateParams(vcl::TCreateParams& Params) {
    vcl::TForm::CreateParams(Params);
    Params.ExStyle |= win::WS_EX_LAYERED | win::WS_EX_NOACTIVATE;
    // Without resize zones every mouse event goes to the windows below.
    if (FEmptyBorderRect) Params.ExStyle |= win::WS_EX_TRANSPARENT;
}

bool TbsFormLayerWindow::HitTestEnable() const {
    const TbsDataSkinLayerFrame* data = FLayerBorder->Data();
    return data && data->HitTestEnable;
}

bool TbsFormLayerWindow::CanResizeForm() const {
    const TbsSkinForm* bsf = FLayerBorder->BSF;
    return bsf->IsSizeable() && !bsf->FRollUpState && bsf->WindowState() == vcl::wsNormal;
}

TbsFormLayerBorderHit TbsFormLayerWindow::GetHitMode() const {
    gfx::TPoint p;
    win::GetCursorPos(p);
    const int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    const int LS = FLayerBorder->LeftSize, TS = FLayerBorder->TopSize;
    const int RS = FLayerBorder->RightSize, BS = FLayerBorder->BottomSize;
    auto in = [&p](int a, int b, int c, int d) {
        return a <= p.X && p.X < c && b <= p.Y && p.Y < d;
    };
    auto sides = [&]() {
        if (L - LS <= p.X && p.X < L) return bsflhLeft;
        if (L + W < p.X && p.X <= L + W + RS) return bsflhRight;
        return bsflhNone;
    };
    switch (BorderType) {
        case bsflLeft:
            return p.X >= L - LS ? bsflhLeft : bsflhNone;
        case bsflRight:
            return p.X <= L + W + RS ? bsflhRight : bsflhNone;
        case bsflTop:
            if (in(L - LS, T - TS, L + 3, T + 3)) return bsflhTopLeft;
            if (in(L, T - TS, L + W, T)) return bsflhTop;
            if (in(L + W - 3, T - TS, L + W + RS, T + 3)) return bsflhTopRight;
            return p.Y > T ? sides() : bsflhNone;
        case bsflBottom:
            if (in(L - LS, T + H - 3, L + 3, T + H + BS)) return bsflhBottomLeft;
            if (in(L, T + H, L + W, T + H + BS)) return bsflhBottom;
            if (in(L + W - 3, T + H - 3, L + W + RS, T + H + BS)) return bsflhBottomRight;
            return p.Y < T + H ? sides() : bsflhNone;
    }
    return bsflhNone;
}

void TbsFormLayerWindow::Dispatch(vcl::TMessage& Message) {
    if (Message.Msg == win::WM_MOUSEACTIVATE) {
        Message.Result = win::MA_NOACTIVATE;
        if (HitTestEnable()) {
            FHitMode = GetHitMode();
            // A press on a resize zone brings an inactive form forward.
            if (FHitMode != bsflhNone && !FForm->Active()) {
                FForm->Show();
                FForm->BringToFront();
            }
        }
        return;
    }
    vcl::TForm::Dispatch(Message);
}

void TbsFormLayerWindow::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    vcl::TForm::MouseDown(Button, Shift, X, Y);
    if (!HitTestEnable() || !CanResizeForm()) return;
    FInProcessMessages = false;
    FDown = GetHitMode() != bsflhNone;
    win::GetCursorPos(MousePos1);
    MousePos2 = MousePos1;
}

void TbsFormLayerWindow::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    vcl::TForm::MouseUp(Button, Shift, X, Y);
    FLayerBorder->BSF->FBorderLayerChangeSize = false;
    if (!HitTestEnable() || !CanResizeForm()) return;
    FDown = false;
    FInProcessMessages = false;
}

void TbsFormLayerWindow::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    if (FInProcessMessages) {
        // A move delivered while the form repaints after a step: already counted.
        FInProcessMessages = false;
        MousePos1 = MousePos2;
        return;
    }
    vcl::TForm::MouseMove(Shift, X, Y);
    if (!HitTestEnable()) return;
    if (!CanResizeForm()) {
        if (Cursor() != vcl::crDefault) SetCursor(vcl::crDefault);
        return;
    }
    win::GetCursorPos(MousePos2);
    if (!FDown) {
        FLayerBorder->BSF->FBorderLayerChangeSize = false;
        FHitMode = GetHitMode();
        static constexpr vcl::TCursor kCursors[] = {
            vcl::crDefault,  vcl::crSizeWE,   vcl::crSizeNS,   vcl::crSizeWE,  vcl::crSizeNS,
            vcl::crSizeNWSE, vcl::crSizeNESW, vcl::crSizeNESW, vcl::crSizeNWSE};
        SetCursor(kCursors[FHitMode]);
    } else {
        DragStep();
    }
    MousePos1 = MousePos2;
}

void TbsFormLayerWindow::DragStep() {
    TbsSkinForm* bsf = FLayerBorder->BSF;
    bsf->FBorderLayerChangeSize = true;
    const int DX = MousePos2.X - MousePos1.X, DY = MousePos2.Y - MousePos1.Y;
    const int L = FForm->Left(), T = FForm->Top(), W = FForm->Width(), H = FForm->Height();
    const bool growsLeft =
        FHitMode == bsflhLeft || FHitMode == bsflhTopLeft || FHitMode == bsflhBottomLeft;
    const bool growsRight =
        FHitMode == bsflhRight || FHitMode == bsflhTopRight || FHitMode == bsflhBottomRight;
    const bool growsTop =
        FHitMode == bsflhTop || FHitMode == bsflhTopLeft || FHitMode == bsflhTopRight;
    const bool growsBottom =
        FHitMode == bsflhBottom || FHitMode == bsflhBottomLeft || FHitMode == bsflhBottomRight;
    const int wantW = growsLeft ? W - DX : growsRight ? W + DX : W;
    const int wantH = growsTop ? H - DY : growsBottom ? H + DY : H;
    int nw = wantW, nh = wantH;
    nw = std::max(nw, bsf->GetMinWidth());
    nw = std::min(nw, bsf->GetMaxWidth());
    nh = std::max(nh, bsf->GetMinHeight());
    nh = std::min(nh, bsf->GetMaxHeight());
    const bool wFree = nw == wantW, hFree = nh == wantH;
    const bool sizeChanged = nw != W || nh != H;
    const bool moved = DX != 0 || DY != 0;
    bool apply = false;
    int nl = L, nt = T;
    switch (FHitMode) {
        case bsflhLeft:
            apply = wFree && DX != 0 && nw != W;
            nl = L + DX;
            break;
        case bsflhTop:
            apply = hFree && DY != 0 && nh != H;
            nt = T + DY;
            break;
        case bsflhRight:
            apply = DX != 0 && nw != W;
            break;
        case bsflhBottom:
            apply = DY != 0 && nh != H;
            break;
        case bsflhTopLeft:
            apply = wFree && hFree && sizeChanged && moved;
            nl = L + DX;
            nt = T + DY;
            break;
        case bsflhTopRight:
            apply = hFree && sizeChanged && moved;
            nt = T + DY;
            break;
        case bsflhBottomLeft:
            apply = wFree && sizeChanged && moved;
            nl = L + DX;
            break;
        case bsflhBottomRight:
            apply = sizeChanged && moved;
            break;
        case bsflhNone:
            break;
    }
    if (!apply) return;
    FForm->SetBounds(nl, nt, nw, nh);
    MousePos1 = MousePos2;
    FInProcessMessages = true;
    if (vcl::Application) vcl::Application->ProcessMessages();
    FInProcessMessages = false;
}

// --- the border -------------------------------------------------------------------------------

TbsFormLayerBorder::TbsFormLayerBorder(TbsSkinForm* AOwner)
    : vcl::TComponent(AOwner), BSF(AOwner) {}

TbsFormLayerBorder::~TbsFormLayerBorder() {
    FreeWindows();
}

void TbsFormLayerBorder::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == LeftBorder) LeftBorder = nullptr;
    if (AComponent == TopBorder) TopBorder = nullptr;
    if (AComponent == RightBorder) RightBorder = nullptr;
    if (AComponent == BottomBorder) BottomBorder = nullptr;
}

void TbsFormLayerBorder::FreeWindows() {
    vcl::FreeAndNil(LeftBorder);
    vcl::FreeAndNil(TopBorder);
    vcl::FreeAndNil(RightBorder);
    vcl::FreeAndNil(BottomBorder);
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, vcl::TCustomForm* AForm) {
    FForm = AForm;
    FSD = ASkinData;
    FData = nullptr;
    if (!ASkinData || ASkinData->Empty || ASkinData->LayerFrame.PictureIndex == -1) return;
    const TbsDataSkinLayerFrame& rec = ASkinData->LayerFrame;
    auto source = PictureWithAlpha(*ASkinData, rec.PictureIndex, rec.MaskPictureIndex);
    // A picture the skin does not have means no layer frame.
    if (!source) return;
    FData = &rec;
    FSourceBitmap = std::move(source);
    FSourceInActiveBitMap.reset();
    FCurrentAlphaBlendValue = rec.AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = rec.InActiveAlphaBlendValue;
    if (rec.InActivePictureIndex != -1)
        FSourceInActiveBitMap =
            PictureWithAlpha(*ASkinData, rec.InActivePictureIndex, rec.InActiveMaskPictureIndex);
    if (EmptyRect(rec.BorderRect)) {
        LeftSize = TopSize = RightSize = BottomSize = 0;
    } else {
        LeftSize = rec.ClRect.Left - rec.BorderRect.Left;
        TopSize = rec.ClRect.Top - rec.BorderRect.Top;
        RightSize = rec.BorderRect.Right - rec.ClRect.Right;
        BottomSize = rec.BorderRect.Bottom - rec.ClRect.Bottom;
    }
}

gfx::TRect TbsFormLayerBorder::FormMapping(int L, int T, int W, int H) const {
    if (!FData || !FSourceBitmap) return {L, T, L + W, T + H};
    const gfx::TRect& cl = FData->ClRect;
    const int x = L - cl.Left, y = T - cl.Top;
    const int w = W + FSourceBitmap->Width() - (cl.Right - cl.Left);
    const int h = H + FSourceBitmap->Height() - (cl.Bottom - cl.Top);
    return {x, y, x + w, y + h};
}

int TbsFormLayerBorder::TopHeight() const {
    return TopImage && !TopImage->Empty() ? TopImage->Height() : 0;
}

int TbsFormLayerBorder::BottomHeight() const {
    return BottomImage && !BottomImage->Empty() ? BottomImage->Height() : 0;
}

void TbsFormLayerBorder::BuildBorderImages(int AWidth, int AHeight) {
    if (!FData) return;
    TbsBitmap& P = !FActive && FSourceInActiveBitMap ? *FSourceInActiveBitMap : *FSourceBitmap;
    const int PW = P.Width(), PH = P.Height();
    const TbsDataSkinLayerFrame& d = *FData;
    LeftImage = std::make_unique<TbsBitmap>();
    TopImage = std::make_unique<TbsBitmap>();
    RightImage = std::make_unique<TbsBitmap>();
    BottomImage = std::make_unique<TbsBitmap>();

    const int TH = std::max(d.LTPoint.Y, d.RTPoint.Y);
    if (AWidth > 0 && TH > 0) {
        TopImage->SetSize(AWidth, TH);
        const int RW = PW - d.RTPoint.X;
        CopyStretch(P, {0, 0, d.LTPoint.X, TH}, *TopImage, {0, 0, d.LTPoint.X, TH});
        CopyStretch(P, {d.RTPoint.X, 0, PW, TH}, *TopImage, {AWidth - RW, 0, AWidth, TH});
        CopyStretch(P, {d.LTPoint.X, 0, d.RTPoint.X, TH}, *TopImage,
                    {d.LTPoint.X, 0, AWidth - RW, TH});
        TopImage->CheckingAlphaBlend();
    }

    const int BH = PH - std::min(d.LBPoint.Y, d.RBPoint.Y);
    if (AWidth > 0 && BH > 0) {
        BottomImage->SetSize(AWidth, BH);
        const int RW = PW - d.RBPoint.X;
        const int top = PH - BH;
        CopyStretch(P, {0, top, d.LBPoint.X, PH}, *BottomImage, {0, 0, d.LBPoint.X, BH});
        CopyStretch(P, {d.RBPoint.X, top, PW, PH}, *BottomImage, {AWidth - RW, 0, AWidth, BH});
        CopyStretch(P, {d.LBPoint.X, top, d.RBPoint.X, PH}, *BottomImage,
                    {d.LBPoint.X, 0, AWidth - RW, BH});
        BottomImage->CheckingAlphaBlend();
    }

    const int SH = AHeight - std::max(TH, 0) - std::max(BH, 0);
    // The strip runs to PH - TH - BH as stored skins expect; without height nothing is tiled.
    const int K = PH - 2 * TH - BH;
    if (SH <= 0 || K <= 0) return;
    const int leftW = d.ClRect.Left, rightW = PW - d.ClRect.Right;
    auto tile = [&](TbsBitmap& image, int width, int srcLeft) {
        if (width <= 0) return;
        image.SetSize(width, SH);
        for (int i = 0; i <= SH / K; ++i) {
            const int y0 = i * K, rows = std::min(K, SH - y0);
            if (rows <= 0) break;
            CopyStretch(P, {srcLeft, TH, srcLeft + width, TH + rows}, image,
                        {0, y0, width, y0 + rows});
        }
        image.CheckingAlphaBlend();
    };
    tile(*LeftImage, leftW, 0);
    tile(*RightImage, rightW, PW - rightW);
}

std::uint8_t TbsFormLayerBorder::CurrentAlpha() const {
    return std::uint8_t(FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue);
}

void TbsFormLayerBorder::PushImages() {
    const std::uint8_t A = CurrentAlpha();
    if (TopBorder && HasContent(TopImage, true)) PushLayeredBitmap(*TopImage, A, *TopBorder);
    if (BottomBorder && HasContent(BottomImage, true))
        PushLayeredBitmap(*BottomImage, A, *BottomBorder);
    if (LeftBorder && HasContent(LeftImage, false)) PushLayeredBitmap(*LeftImage, A, *LeftBorder);
    if (RightBorder && HasContent(RightImage, false))
        PushLayeredBitmap(*RightImage, A, *RightBorder);
}

void TbsFormLayerBorder::PlaceWindows(int X, int Y, int AWidth, bool show) {
    const int TH = TopHeight();
    const int BH = BottomHeight();
    const int RW = RightImage && !RightImage->Empty() ? RightImage->Width() : 0;
    const win::UINT flags = show ? win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE
                                 : win::SWP_NOACTIVATE | win::SWP_NOSIZE | win::SWP_NOZORDER;
    auto place = [&](TbsFormLayerWindow* w, int x, int y) {
        if (w) win::SetWindowPos(w->Handle(), win::HWND_TOP, x, y, 0, 0, flags);
    };
    place(TopBorder, X, Y);
    place(BottomBorder, X, Y + FHeight - BH);
    place(LeftBorder, X, Y + TH);
    place(RightBorder, X + AWidth - RW, Y + TH);
}

void TbsFormLayerBorder::Show(int X, int Y, int AWidth, int AHeight) {
    if (!FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    BuildBorderImages(AWidth, AHeight);
    FreeWindows();
    auto make = [this](TbsFormLayerBorderType type) {
        auto* w = new TbsFormLayerWindow(this, FForm);
        w->BorderType = type;
        return w;
    };
    if (HasContent(LeftImage, false)) LeftBorder = make(bsflLeft);
    if (HasContent(RightImage, false)) RightBorder = make(bsflRight);
    if (HasContent(TopImage, true)) TopBorder = make(bsflTop);
    if (HasContent(BottomImage, true)) BottomBorder = make(bsflBottom);
    PushImages();
    PlaceWindows(X, Y, AWidth, true);
}

void TbsFormLayerBorder::ShowWithForm() {
    if (!FData) return;  // no form before the first InitFrame
    const gfx::TRect r = FormMapping(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    Show(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::ShowWithFormAnimation() {
    if (!FData) return;
    const int A = FCurrentAlphaBlendValue;
    FCurrentAlphaBlendValue = 0;
    ShowWithForm();
    if (vcl::Application) vcl::Application->ProcessMessages();
    FadeIn(A, FadeInStep(A), [this](int D) {
        FCurrentAlphaBlendValue = D;
        SetAlphaBlend();
        return true;
    });
}

void TbsFormLayerBorder::Hide() {
    FVisible = false;
    LeftImage.reset();
    TopImage.reset();
    RightImage.reset();
    BottomImage.reset();
    FreeWindows();
}

void TbsFormLayerBorder::SetBounds(int X, int Y, int AWidth, int AHeight) {
    if (!FData || !FVisible) return;
    FWidth = AWidth;
    FHeight = AHeight;
    BuildBorderImages(AWidth, AHeight);
    PushImages();
    PlaceWindows(X, Y, AWidth, true);
}

void TbsFormLayerBorder::SetBoundsWithForm() {
    if (!FData) return;  // no form before the first InitFrame
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(int AW, int AH) {
    if (!FData) return;  // no form before the first InitFrame
    SetBoundsWithForm3(FForm->Left(), FForm->Top(), AW, AH);
}

void TbsFormLayerBorder::SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH) {
    const gfx::TRect r = FormMapping(ALeft, ATop, AW, AH);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::MoveWithForm() {
    if (!FData) return;  // no form before the first InitFrame
    MoveWithForm2(FForm->Left(), FForm->Top());
}

void TbsFormLayerBorder::MoveWithForm2(int ALeft, int ATop) {
    if (!FData || !FVisible) return;
    const gfx::TRect r = FormMapping(ALeft, ATop, FForm->Width(), FForm->Height());
    FHeight = r.Height();
    FWidth = r.Width();
    PlaceWindows(r.Left, r.Top, r.Width(), false);
}

void TbsFormLayerBorder::SetAlphaBlend() {
    if (!FData || !FVisible || !TopImage) return;
    PushImages();
}

void TbsFormLayerBorder::SetAlphaBlend2() {
    if (!FData || !FVisible || !FForm) return;
    SetAlphaBlend();
    const gfx::TRect r = FormMapping(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    PlaceWindows(r.Left, r.Top, r.Width(), true);
}

void TbsFormLayerBorder::CheckFormAlpha(int AFormAlpha, bool AUpdate) {
    if (!FData) return;
    const double F = AFormAlpha / 255.0;
    // Halves to even, as every rounding of the skin engine.
    FCurrentAlphaBlendValue = int(std::nearbyint(FData->AlphaBlendValue * F));
    FCurrentInActiveAlphaBlendValue = int(std::nearbyint(FData->InActiveAlphaBlendValue * F));
    if (AUpdate) SetAlphaBlend();
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
    FActive = AValue;
    if (FVisible && AUpdate) SetAlphaBlend2();
}

void TbsFormLayerBorder::Draw(gfx::TCanvas& C, int X, int Y, int AWidth, int AHeight) {
    if (!FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    BuildBorderImages(AWidth, AHeight);
    const int TH = TopHeight(), BH = BottomHeight();
    if (HasContent(TopImage, true)) TopImage->Draw(C, X, Y);
    if (HasContent(BottomImage, true)) BottomImage->Draw(C, X, Y + AHeight - BH);
    if (HasContent(LeftImage, false)) LeftImage->Draw(C, X, Y + TH);
    if (HasContent(RightImage, false))
        RightImage->Draw(C, X + AWidth - RightImage->Width(), Y + TH);
}

}  // namespace skin
