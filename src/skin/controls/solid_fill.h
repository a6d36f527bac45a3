// Filling and framing a rectangle in one colour, as the default looks of the page control and
// the views draw their parts. Internal to the skinned controls; main thread.
#pragma once

#include "platform/gfx/canvas.h"

namespace skin {

inline void FillSolid(gfx::TCanvas& c, const gfx::TRect& r, gfx::TColor color) {
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(color);
    c.FillRect(r);
}

inline void FrameSolid(gfx::TCanvas& c, const gfx::TRect& r, gfx::TColor color) {
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(color);
    c.FrameRect(r);
}

}  // namespace skin
