// Layered windows of the skin engine: the routines that turn a picture and a grey mask into a
// TbsBitmap with alpha (white opaque, black transparent), and the wrappers over the window
// layer's layered-window calls for whole-window transparency and per-pixel-alpha windows. Both
// wrappers do nothing where the backend can't show layered windows. Main thread.
#pragma once

#include <cstdint>

#include "platform/gfx/graphics.h"
#include "platform/win/types.h"
#include "skin/core/bs_bitmap.h"

namespace skin {

// Each pixel's alpha := (red + green + blue) / 3 of the mask's pixel at the same place,
// truncated; pixels outside the mask keep theirs.
void AlphaFromMask(TbsBitmap& image, TbsBitmap& mask);
// dest := image, with its alpha taken from mask.
void ComposeImageWithMask(gfx::TBitmap& image, gfx::TBitmap& mask, TbsBitmap& dest);

// The whole window at constant alpha.
void ApplyWindowAlpha(win::HWND wnd, std::uint8_t alpha);
// Shows bitmap as the look of the top-level window at position, its per-pixel alpha times the
// constant alpha. Bitmap pixels are straight alpha; a premultiplied copy is pushed.
void PushLayeredBitmap(TbsBitmap& bitmap, std::uint8_t alpha, win::HWND wnd, gfx::TPoint position);

}  // namespace skin
