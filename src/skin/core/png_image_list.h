// PNG pictures of the skinned image lists, and the alpha scaling that draws a disabled item at
// half its opacity. Main thread, like the pictures.
#pragma once

#include <cstdint>

#include "platform/gfx/graphics.h"

namespace skin {

class TbsPngImage : public gfx::TPngImage {
public:
    const char* ClassName() const override { return "TbsPngImage"; }
};

// Scales the picture's opacity by (value + 1) / 256: every alpha a becomes a / 256 * (value + 1)
// rounded half to even, a pixel of the transparent colour 0. A grey or palette picture becomes
// RGBA with alpha value (0 for its transparent colour); an RGB picture gets an alpha channel
// first.
void ScalePngAlpha(gfx::TPngImage& png, int value);

}  // namespace skin
