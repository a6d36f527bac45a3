// The 320 output presets: each preset's key, the title and description the format list shows,
// and its picture. Constant data in category-list order; any thread.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace catalogue {

struct TOutputPreset {
    int PresetKey;
    const char* Title;    // ends with "(*." extension ")"
    const char* Caption;  // one-line description under the title
    int ImageIndex;       // the category's code
};

inline constexpr int kPresetCount = 320;

// All presets, category by category in list position order, each category by PresetIndex.
std::span<const TOutputPreset> OutputPresets();

// The presets of the category at a list position, by PresetIndex; empty outside 0..34.
std::span<const TOutputPreset> PresetsOfCategory(int categoryIndex);

// The preset with this key, or nullptr.
const TOutputPreset* FindPreset(int presetKey);

// The output extension read back from a title's "(*.ext)" ending, as the format handler derives
// it for a selected row: the four characters before the last one, with the few short or long
// endings mapped (".rm", ".ra", ".flac", ".aiff", ".mpeg"). Differs from a preset's OutputExt
// for five presets.
std::string TitleExtension(std::string_view title);

}  // namespace catalogue
