// The application's own pictures, drawn by tools/appgen at build time: the tool bar's image list
// ("tool0" .. "tool17"), the preview glyphs ("play", "pause", "stop", "mute", "snapshot"), the
// empty list's logo ("listlogo"), the about box's logo ("aboutlogo") and the legacy settings
// dialog's category pictures ("legacy0" .. "legacy11") and panel picture ("legacyimage").
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/gfx/graphics.h"

namespace app {

struct TAppPicture {
    const char* Name;
    int Width, Height;
    const std::uint32_t* Argb;  // 0xAARRGGBB, rows from the top
};

std::span<const TAppPicture> AppPictures();

// The named picture as an RGBA PNG image; an empty image for an unknown name.
void LoadAppPicture(std::string_view name, gfx::TPngImage& image);

}  // namespace app
