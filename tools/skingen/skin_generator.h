// The skin generator: draws every picture of Moradex's nine skins from code (fills, gradients,
// rounded faces, bevels, highlights and the caption-button glyphs of the drawing routines) and
// fills a skin's pictures, frame geometry, singletons, colours and records from the contents
// table (skin_contents.h). Packages are written through the engine's own writer, so the format
// cannot drift from the reader; nothing is random or dated, so the same sources give the same
// bytes. Main thread (it draws on gfx bitmaps).
#pragma once

#include <cstdint>
#include <vector>

#include "skin/core/skin_content.h"

namespace skingen {

// Fills a fresh skin with skin `index` (0 to 8).
void BuildSkin(int index, skin::TbsSkinContent& skin);

// The package of skin `index`: BuildSkin into a skin data, packed with LoadFromSkinData and
// written with SaveToCompressStream.
std::vector<std::uint8_t> BuildPackage(int index);

}  // namespace skingen
