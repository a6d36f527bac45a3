// One contact sheet of a loaded skin: the frame active and inactive at two sizes, every control
// record built with the image builders at its own size and a larger one in each state, check
// and radio images, scroll-bar parts, a tab row, the popup menu with its items, and the hint,
// with sample text in the skin's colours. Main thread (draws on gfx bitmaps).
#pragma once

#include "platform/gfx/graphics.h"
#include "skin/core/skin_data.h"

namespace skinsheet {

// Draws the sheet of `skin` into `sheet` (sized here, 32 bits).
void RenderSkinSheet(skin::TbsSkinData& skin, gfx::TBitmap& sheet);

// Pixels of the sheet that are magenta or the skin key colour: pieces that leaked.
int CountKeyColourPixels(const gfx::TBitmap& sheet);

}  // namespace skinsheet
