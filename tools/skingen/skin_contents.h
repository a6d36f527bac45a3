// The contents of Moradex's own skins, as one table that the generator fills and the skin
// tests check: every object and control record a skinned form, control or menu of the program
// looks up, with the kind word its users test for, and whether the list skin (the fixed skin of
// the category and format lists) carries it too. Also the names and the count of the nine
// skins. Plain data; any thread.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace skingen {

struct TContentRow {
    std::string_view Name;
    std::string_view Kind;
    bool Object;    // SKINOBJECTS (else SKINCONTROLS)
    bool ListSkin;  // the list skin carries it as well
};

std::span<const TContentRow> SkinContents();

// Skins 0 to 7 are the chooser's, in its order; skin 8 is the list skin.
inline constexpr int kChooserSkinCount = 8;
inline constexpr int kSkinCount = 9;
inline constexpr int kListSkin = 8;

// The chooser's item names, which are also the skins' VERSION "skinname".
inline constexpr std::array<std::string_view, kChooserSkinCount> kChooserSkinNames = {
    "木星战甲", "土星战甲", "宇宙战甲", "星河战甲", "银河战甲", "金星战甲", "火星战甲", "水星战甲"};

// Frame picture and the form minimum it must allow (the chooser's preview form is 220x170).
inline constexpr int kFrameWidth = 200;
inline constexpr int kFrameHeight = 120;
inline constexpr int kMaxMinFormWidth = 200;
inline constexpr int kMaxMinFormHeight = 60;

// Limits of a generated package.
inline constexpr int kMaxPackageBytes = 200 * 1024;
inline constexpr int kMaxAllPackagesBytes = 1024 * 1024;
inline constexpr int kMaxAtlasSide = 512;

}  // namespace skingen
