// Layered windows of the skin engine: TbsLayerManager floats a glow picture with soft,
// per-pixel translucent edges above a form and fades it in; the picture never takes the focus
// and lets the mouse through. Beside it, the routines that turn a picture and a grey mask into a
// TbsBitmap with alpha (white opaque, black transparent), and the wrappers over the window
// layer's layered-window calls for whole-window transparency and per-pixel-alpha windows.
// Nothing here acts where the backend can't show layered windows. Main thread; the fade runs on
// a timer of the main thread.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/graphics.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/timer.h"
#include "platform/win/types.h"
#include "skin/core/bs_bitmap.h"

namespace skin {

// The window of a shown layer: a parentless popup tool window that the mouse passes through and
// that never activates.
class TbsLayerWindow : public vcl::TCustomControl {
public:
    explicit TbsLayerWindow(vcl::TComponent* AOwner);
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
};

class TbsLayerManager : public vcl::TComponent {
public:
    explicit TbsLayerManager(vcl::TComponent* AOwner);

    // Shows image at the screen point (x, y) with its alpha taken from mask, fading its constant
    // alpha from 0 to alphaBlendValue (a tenth of it per 25 ms tick). A shown layer is replaced.
    void Show(int x, int y, gfx::TBitmap& image, gfx::TBitmap& imageMask, int alphaBlendValue);
    // Stops the fade and removes the layer.
    void Hide();
    void StartTimer();
    void StopTimer();

    TbsLayerWindow* LayerWindow = nullptr;  // while a layer is shown; owned
    std::unique_ptr<TbsBitmap> Bmp;         // the composed image with alpha
    vcl::TTimer* Timer = nullptr;           // owned
    int EndAlphaBlendValue = 0;
    int BeginAlphaBlendValue = 0;
    int StepAlphaBlendValue = 0;
    bool IsVisible = false;
    bool TopMostMode = true;

private:
    void TimerAction(vcl::TObject* Sender);
};

// Each pixel's alpha := (red + green + blue) / 3 of the mask's pixel at the same place,
// truncated; pixels outside the mask keep theirs.
void AlphaFromMask(TbsBitmap& image, TbsBitmap& mask);
// dest := image, with its alpha taken from mask.
void ComposeImageWithMask(gfx::TBitmap& image, gfx::TBitmap& mask, TbsBitmap& dest);

// The whole window at constant alpha.
void ApplyWindowAlpha(win::HWND wnd, std::uint8_t alpha);
// Shows bitmap as the look of the control's (top-level) window at the control's place, its
// per-pixel alpha times the constant alpha. Bitmap pixels are straight alpha; a premultiplied
// copy is pushed.
void PushLayeredBitmap(TbsBitmap& bitmap, std::uint8_t alpha, vcl::TWinControl& control);

}  // namespace skin
