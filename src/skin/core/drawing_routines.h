// Canvas text routines shared by the skinned parts. Text is UTF-8 throughout; the canvas's font,
// colours and brush apply. Main thread, like the canvases they draw on.
#pragma once

#include <string_view>

#include "platform/gfx/canvas.h"

namespace skin {

// DrawText on the canvas's DC with the canvas's font and colours; a clear brush draws no
// background. Returns what DrawText returns (0 without a DC).
int DrawWideTextOn(gfx::TCanvas& canvas, std::string_view text, gfx::TRect& rect, unsigned format);

}  // namespace skin
