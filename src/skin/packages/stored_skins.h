// The program's nine stored skins as packages compiled into it: the eight of the skin chooser,
// in its order, and the fixed skin of the category and format lists. The packages are
// generated at build time by tools/skingen (never kept in the repository); this module hands
// them out with their names and fills stored-skin lists from them, as the main window's form
// data would. Read-only data; the list filling runs on the main thread.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "skin/core/skin_package.h"

namespace skin {

struct TStoredSkinPackage {
    // The chooser's item name; empty for the list skin, whose item keeps its default name.
    std::string_view Name;
    // Int32 version, Int32 length and the zlib stream, as a package file holds it.
    std::span<const std::uint8_t> Package;
};

std::span<const TStoredSkinPackage> ChooserSkinPackages();
const TStoredSkinPackage& ListSkinPackage();

// Appends one item per package, its skin read from the package and named as the package says.
void AddStoredSkins(TbsCompressedSkinList& list, std::span<const TStoredSkinPackage> packages);

}  // namespace skin
