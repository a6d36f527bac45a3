// The skin engine's drawing foundation: 32-bit bitmaps with alpha and their registry
// (bs_bitmap.h), the pixel routines every composition goes through (pixel_routines.h), 24-bit
// transition and colour-effect pictures (effect_bitmap.h), stack blur with glow and reflection
// text (glow_text.h), the images built from skin pictures at any size (skin_images.h) and the
// window regions built from their masks (skin_regions.h), layered windows (layered_windows.h),
// PNG pictures for the image lists (png_image_list.h), the shared canvas routines: glyph and
// caption layout, text, arrows, marks and frame glyphs (drawing_routines.h), and the rectangle,
// screen, monitor and processor routines (system_routines.h).
//
// Everything here sits on gfx (surfaces, DCs, canvases, regions) and asks the window layer for
// monitors, what the backend can show and the layered state of top-level windows. The
// pixel-routine table is chosen once before main and only read afterwards; bitmaps, their
// registry and the drawing calls belong to the main thread, except a TbsEffectBmp, which any one
// thread may use at a time.
#pragma once

#include "skin/core/bs_bitmap.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/glow_text.h"
#include "skin/core/layered_windows.h"
#include "skin/core/pixel_routines.h"
#include "skin/core/png_image_list.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_regions.h"
#include "skin/core/system_routines.h"
