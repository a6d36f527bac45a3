#include "skin/core/layered_windows.h"

#include <algorithm>

#include "platform/win/win.h"
#include "skin/core/system_routines.h"

namespace skin {

void AlphaFromMask(TbsBitmap& image, TbsBitmap& mask) {
    const int w = std::min(image.Width(), mask.Width());
    const int h = std::min(image.Height(), mask.Height());
    for (int y = 0; y < h; ++y) {
        TbsColor* p = image.ScanLine(y);
        const TbsColor* m = mask.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t sum = (m[x] & 0xFF) + (m[x] >> 8 & 0xFF) + (m[x] >> 16 & 0xFF);
            p[x] = (p[x] & 0x00FFFFFFu) | (sum / 3) << 24;
        }
    }
}

void ComposeImageWithMask(gfx::TBitmap& image, gfx::TBitmap& mask, TbsBitmap& dest) {
    dest.Assign(image);
    TbsBitmap alpha;
    alpha.Assign(mask);
    AlphaFromMask(dest, alpha);
}

void ApplyWindowAlpha(win::HWND wnd, std::uint8_t alpha) {
    if (!OsIsW2kUp()) return;
    win::SetLayeredWindowAttributes(wnd, 0, alpha, win::LWA_ALPHA);
}

namespace {

// x / 255 rounded to nearest, for x up to 255 * 255.
inline std::uint32_t Div255(std::uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

}  // namespace

void PushLayeredBitmap(TbsBitmap& bitmap, std::uint8_t alpha, vcl::TWinControl& control) {
    if (!OsIsW2kUp() || bitmap.Empty()) return;
    const win::HWND wnd = control.Handle();
    const gfx::TPoint position{control.Left(), control.Top()};
    // The window layer takes premultiplied pixels; ours are straight.
    gfx::TSurface image(bitmap.Width(), bitmap.Height(), 32);
    const TbsColor* src = bitmap.Bits();
    std::uint32_t* dst = image.Pixels();
    for (std::size_t i = 0, n = std::size_t(bitmap.Width()) * bitmap.Height(); i < n; ++i) {
        const std::uint32_t p = src[i], a = p >> 24;
        dst[i] = a << 24 | Div255((p >> 16 & 0xFF) * a) << 16 | Div255((p >> 8 & 0xFF) * a) << 8 |
                 Div255((p & 0xFF) * a);
    }
    const win::TSize size{bitmap.Width(), bitmap.Height()};
    win::BLENDFUNCTION blend;
    blend.BlendOp = win::AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = alpha;
    blend.AlphaFormat = win::AC_SRC_ALPHA;
    win::UpdateLayeredWindow(wnd, &position, &size, image, {0, 0}, 0, blend, win::ULW_ALPHA);
}

// ---- the layer -------------------------------------------------------------------------------

TbsLayerWindow::TbsLayerWindow(vcl::TComponent* AOwner) : vcl::TCustomControl(AOwner) {}

void TbsLayerWindow::CreateParams(vcl::TCreateParams& Params) {
    vcl::TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP;
    Params.ExStyle = win::WS_EX_TOOLWINDOW | win::WS_EX_TRANSPARENT;
}

void TbsLayerWindow::Dispatch(vcl::TMessage& Message) {
    if (Message.Msg == win::WM_MOUSEACTIVATE) {
        Message.Result = win::MA_NOACTIVATE;
        return;
    }
    vcl::TCustomControl::Dispatch(Message);
}

TbsLayerManager::TbsLayerManager(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    Timer = new vcl::TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(25);
    Timer->SetOnTimer([this](vcl::TObject* sender) { TimerAction(sender); });
}

void TbsLayerManager::Show(int x, int y, gfx::TBitmap& image, gfx::TBitmap& imageMask,
                           int alphaBlendValue) {
    if (!OsIsW2kUp()) return;
    if (LayerWindow) Hide();
    IsVisible = true;
    LayerWindow = new TbsLayerWindow(this);
    LayerWindow->SetVisible(false);
    LayerWindow->SetBounds(x, y, image.Width(), image.Height());
    const win::HWND wnd = LayerWindow->Handle();
    win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE,
                          win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED);
    Bmp = std::make_unique<TbsBitmap>();
    ComposeImageWithMask(image, imageMask, *Bmp);
    PushLayeredBitmap(*Bmp, 0, *LayerWindow);
    win::SetWindowPos(wnd, TopMostMode ? win::HWND_TOPMOST : win::HWND_NOTOPMOST, x, y, 0, 0,
                      win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE);
    EndAlphaBlendValue = alphaBlendValue;
    // Values below 10 would give a step of 0 and a fade that never ends.
    StepAlphaBlendValue = std::max(1, alphaBlendValue / 10);
    StartTimer();
}

void TbsLayerManager::Hide() {
    if (!OsIsW2kUp()) return;
    StopTimer();
    Bmp.reset();
    IsVisible = false;
    if (!LayerWindow) return;
    if (LayerWindow->HandleAllocated())
        win::SetWindowPos(LayerWindow->Handle(), {}, 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOACTIVATE | win::SWP_NOZORDER |
                              win::SWP_NOMOVE | win::SWP_NOSIZE);
    vcl::FreeAndNil(LayerWindow);
}

void TbsLayerManager::StartTimer() {
    BeginAlphaBlendValue = 0;
    Timer->SetEnabled(true);
}

void TbsLayerManager::StopTimer() {
    Timer->SetEnabled(false);
}

void TbsLayerManager::TimerAction(vcl::TObject*) {
    if (!Bmp || !LayerWindow) return;
    BeginAlphaBlendValue = std::min(BeginAlphaBlendValue + StepAlphaBlendValue, EndAlphaBlendValue);
    PushLayeredBitmap(*Bmp, std::uint8_t(std::clamp(BeginAlphaBlendValue, 0, 255)), *LayerWindow);
    if (BeginAlphaBlendValue >= EndAlphaBlendValue) StopTimer();
}

}  // namespace skin
