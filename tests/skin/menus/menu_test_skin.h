// A small skin built in code for the skinned menu tests: flat colours, so a probe tells which
// part of which picture a pixel came from.
#pragma once

#include "skin/core/skin_data.h"

namespace skin::test {

// Colours of the parts (TColor, 0x00BBGGRR).
inline constexpr gfx::TColor kItemColor = 0x00E0C0A0;        // an item's inactive strip
inline constexpr gfx::TColor kActiveItemColor = 0x00208040;  // an item's active strip
inline constexpr gfx::TColor kGlyphColor = 0x00101010;       // arrow and check parts
inline constexpr gfx::TColor kKeyColor = 0x00FF00FF;         // around the glyphs: transparent
inline constexpr gfx::TColor kFrameColor = 0x00806040;       // the popup window picture
inline constexpr gfx::TColor kHeaderColor = 0x0030A0F0;      // the "label" / "menuheader" strip
inline constexpr gfx::TColor kHeaderFontColor = 0x00FFFFFF;
inline constexpr gfx::TColor kButtonHotColor = 0x000000C0;   // "menuitembutton" hot
inline constexpr gfx::TColor kButtonDownColor = 0x00C00000;  // "menuitembutton" pressed
inline constexpr gfx::TColor kButtonFontColor = 0x0000FFFF;  // its hot font colour

struct TMenuSkinOptions {
    // A control record "menuheader" (else the header strip is "label").
    bool MenuHeader = true;
    // A popup mask cutting the window's four corner pixels.
    bool Mask = false;
};

// Picture 0: items (40 x 20 inactive and active, a 40 x 4 divider, 8 x 8 arrow and check parts
// on the key colour); 1: the popup window (20 x 20, 2-pixel frame); 2: the header strip
// (40 x 16); 3: the "menuitembutton" looks (hot, pressed); 4: the popup mask when asked for.
void FillMenuSkin(TbsSkinData& sd, const TMenuSkinOptions& options = {});

}  // namespace skin::test
