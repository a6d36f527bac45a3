// Every per-pixel job on 32-bit skin bitmaps goes through one table of routines, filled once at
// start-up: blending, the key-colour copy, row moves, alpha setting, and drawing a TbsBitmap onto
// a device context or into another TbsBitmap (same size or nearest-neighbour stretched). The
// blend comes in two variants whose arithmetic differs by at most 1 per channel; the processor
// test picks one, and callers only ever call through the table. The table is written during
// start-up on the main thread and read afterwards; the routines belong to the thread that owns
// the bitmaps, in practice the main thread.
#pragma once

#include <cstdint>

#include "platform/gfx/dc.h"
#include "platform/gfx/types.h"

namespace skin {

// One pixel of a TbsBitmap: blue in bits 0-7, green 8-15, red 16-23, alpha 24-31.
using TbsColor = std::uint32_t;
// Pixels whose red, green and blue equal this are left out by the key-colour routines; the
// alpha byte is not compared. Red and blue are equal, so it reads the same as a TColor.
inline constexpr TbsColor SkinKeyColor = 0x007F007F;

class TbsBitmap;

// Row routines: count pixels from src to dst; a count of 0 or below does nothing.
using TPixelRowProc = void (*)(const TbsColor* src, TbsColor* dst, int count);
using TPixelAlphaProc = void (*)(TbsColor* dst, int count, std::uint8_t alpha);
// Onto a device context: the source rectangle of `src` onto the destination rectangle.
using TDrawToDCProc = void (*)(gfx::HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                               int srcWidth, int srcHeight, TbsBitmap& src);
// Into another bitmap: source rectangle `s` of `src` onto target rectangle `d` of `dst`,
// writing only inside the clip rectangle `c`.
using TDrawToBitmapProc = void (*)(TbsBitmap& dst, const gfx::TRect& d, const gfx::TRect& c,
                                   const gfx::TRect& s, TbsBitmap& src);

struct TPixelRoutines {
    // Source over destination, in place in the destination.
    TPixelRowProc BlendPixelRow;
    // Key-colour pixels are skipped, the others written with alpha 255.
    TPixelRowProc CopyKeyedPixelRow;
    // Overlapping ranges allowed.
    TPixelRowProc MovePixels;
    TPixelAlphaProc SetPixelsAlpha;

    TDrawToDCProc StretchToDC;
    TDrawToDCProc BlendToDC;
    TDrawToDCProc KeyedToDC;
    TDrawToBitmapProc CopyRowsToBitmap;
    TDrawToBitmapProc BlendRowsToBitmap;
    TDrawToBitmapProc CopyKeyedRowsToBitmap;
    TDrawToBitmapProc StretchToBitmap;
    TDrawToBitmapProc StretchBlendToBitmap;
    TDrawToBitmapProc StretchKeyedToBitmap;
};

// Usable from the first instruction (the plain variant); start-up re-picks by the processor.
extern TPixelRoutines PixelRoutineTable;

// Fills the row entries and picks the blend variant by CpuHasMmx; returns whether the MMX
// arithmetic was chosen. The second form picks it as told (tests run both variants).
bool PickPixelRoutines();
bool PickPixelRoutines(bool useMmx);
void PickDrawRoutines();

// The two blend variants. With A the source alpha: A = 0 keeps the destination, A = 255 takes
// the source. Otherwise the plain one gives (F*A + B*(255-A)) div 256 in blue, green and red and
// alpha 255; the MMX one gives ((256-A)*B + A*F) div 256 in all four channels.
void BlendPixelRowPlain(const TbsColor* src, TbsColor* dst, int count);
void BlendPixelRowMmx(const TbsColor* src, TbsColor* dst, int count);

// The source rectangle of `src` into `dst` by src's own flags (AlphaBlend: blended; Transparent:
// key colour; else opaque), stretched onto `d` and clipped to it.
void DrawBitmapByFlags(TbsBitmap& dst, const gfx::TRect& d, const gfx::TRect& s, TbsBitmap& src);

}  // namespace skin
