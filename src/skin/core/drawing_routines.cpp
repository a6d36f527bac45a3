#include "skin/core/drawing_routines.h"

namespace skin {

int DrawWideTextOn(gfx::TCanvas& canvas, std::string_view text, gfx::TRect& rect, unsigned format) {
    if (!canvas.Handle()) return 0;
    canvas.Prepare();
    return gfx::DrawText(canvas.Handle(), text, rect, format);
}

}  // namespace skin
