// Soft glows and mirror images behind caption text. Each effect renders the text in pure red
// into a scratch TbsBitmap, turns the red intensity into the alpha of the effect colour,
// blends that bitmap onto the target canvas and then draws the text itself on top. The glows
// are blurred with a stack blur, which the inactive-client overlay uses as well. Text is UTF-8.
// Main thread, like the canvases they draw on.
#pragma once

#include <string_view>

#include "platform/gfx/canvas.h"
#include "skin/core/bs_bitmap.h"

namespace skin {

// Blurs in place with the triangular weights r + 1 - |k| over 2r + 1 neighbours, rows first,
// then columns; beyond an edge the edge pixel repeats; sums are divided by (r + 1)^2 with
// truncation. Every pixel ends with alpha 255. Nothing for a radius of 0 or below.
void StackBlurBitmap(TbsBitmap& bitmap, int radius);

// A colour value 0x00BBGGRR as a TbsColor: red and blue exchanged, alpha 255. The value must be
// a plain RGB colour, not a system-colour index.
TbsColor SwapRedBlueOpaque(gfx::TColor color);

// The text thickened by one pixel, blurred by glowSize, in glowColor behind the text, the glow
// moved by offset to the right and down; then the text in R in the canvas's font colour.
void DrawGlowText(gfx::TCanvas& canvas, const gfx::TRect& r, std::string_view text, unsigned flags,
                  int offset, gfx::TColor glowColor, int glowSize);
// The same from a single pass of the text; returns the final DrawWideTextOn result.
int DrawGlowTextW(gfx::TCanvas& canvas, const gfx::TRect& r, std::string_view text, unsigned flags,
                  int offset, gfx::TColor glowColor, int glowSize);
// A wide blurred band behind the text, reaching 12 pixels beyond R; then the text.
int DrawVistaGlowText(gfx::TCanvas& canvas, const gfx::TRect& r, std::string_view text,
                      unsigned flags, gfx::TColor glowColor);
// A fading mirror image of the text just below it, offset pixels further down; then the text.
void DrawReflectionText(gfx::TCanvas& canvas, const gfx::TRect& r, std::string_view text,
                        unsigned flags, int offset, gfx::TColor reflectionColor);

}  // namespace skin
