// The skin engine's drawing foundation: 32-bit bitmaps with alpha and their registry
// (bs_bitmap.h), the pixel routines every composition goes through (pixel_routines.h), 24-bit
// transition and colour-effect pictures (effect_bitmap.h), stack blur with glow and reflection
// text (glow_text.h), canvas text helpers (drawing_routines.h) and the rectangle, screen,
// monitor and processor routines (system_routines.h).
//
// Everything here sits on gfx (surfaces, DCs, canvases) and asks the window layer only for
// monitors and what the backend can show. The pixel-routine table is chosen once before main
// and only read afterwards; bitmaps, their registry and the drawing calls belong to the main
// thread, except a TbsEffectBmp, which any one thread may use at a time.
#pragma once

#include "skin/core/bs_bitmap.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/glow_text.h"
#include "skin/core/pixel_routines.h"
#include "skin/core/system_routines.h"
