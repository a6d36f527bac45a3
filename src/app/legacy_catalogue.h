// The legacy settings dialog's own, older copy of the output preset catalogue: 12 categories,
// 109 presets, the parameter choices of each preset and its default settings, all found by the
// preset key (CategoryIndex + 1) * 100 + PresetIndex. It stands apart from src/catalogue and is
// kept exactly as the old dialog held it: trailing blanks, repeated titles, unsorted entries,
// old encoder names. Constant data; any thread.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "catalogue/choice_lists.h"

namespace app::legacy {

inline constexpr int kLegacyCategoryCount = 12;
inline constexpr int kLegacyPresetCount = 109;
inline constexpr int kLegacyChoiceListCount = 50;

// The row with this key in a table sorted by PresetKey, or nullptr.
template <class TRow>
const TRow* FindRowByKey(std::span<const TRow> rows, int presetKey) {
    const auto at = std::lower_bound(rows.begin(), rows.end(), presetKey,
                                     [](const TRow& r, int key) { return r.PresetKey < key; });
    return at != rows.end() && at->PresetKey == presetKey ? &*at : nullptr;
}

// A category's position in the list is also its picture index and the code in its keys.
struct TLegacyCategory {
    const char* Caption;
    int PresetCount;
};

std::span<const TLegacyCategory> LegacyPresetCategories();

struct TLegacyPreset {
    int PresetKey;
    const char* Title;    // name and "(*." extension ")"
    const char* Caption;  // one-line description
    int ImageIndex;       // no image list shows it
};

// All presets in key order.
std::span<const TLegacyPreset> LegacyOutputPresets();
// The presets of a category by PresetIndex; empty outside 0..11.
std::span<const TLegacyPreset> LegacyPresetsOfCategory(int categoryIndex);

// One choice list of the pool; the numbers in the ids have gaps.
struct TLegacyChoiceList {
    const char* Id;  // "RES1" .. "ASP3"
    std::span<const char* const> Entries;
};

std::span<const TLegacyChoiceList> LegacyChoiceListPool();

// One parameter of one preset: a list of the pool and the entry selected by default.
struct TLegacyChoice {
    const TLegacyChoiceList* List;
    int DefaultIndex;
};

struct TLegacyChoiceRow {
    int PresetKey;
    std::array<TLegacyChoice, catalogue::kPresetParamCount> Choices;  // by catalogue::TPresetParam
    // Audio-only presets offer the one-entry "no video" lists for the four video parameters.
    bool AudioOnly() const;
};

// One row per preset, in key order.
std::span<const TLegacyChoiceRow> LegacyChoiceTable();
// The row of a key, or nullptr.
const TLegacyChoiceRow* FindLegacyChoices(int presetKey);

// Marks a field that a row leaves as it was.
inline constexpr std::nullptr_t kKeep = nullptr;
inline constexpr std::nullopt_t kKeepValue = std::nullopt;

// A preset's default settings, each named after the main-window field it sets; a kKeep field is
// not written. The bit rates are in bit/s.
struct TLegacyDefaults {
    int PresetKey;
    const char* OutputExt;  // with its dot; the output name's extension, no field of its own
    const char* FileExt;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameSize;
    const char* FrameRate;
    const char* FrameAspectRatio;
    std::optional<int> VideoBitrate;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    std::optional<int> AudioBitrate;
    const char* VideoFilters;
    const char* AudioVolume;
    const char* NormType;
    const char* CopyTimestamp;
    const char* FileFormat;
    const char* TargetType;
    std::optional<bool> DisableVideo;
};

// One row per preset, in key order.
std::span<const TLegacyDefaults> LegacyDefaultsTable();
// The row of a key, or nullptr.
const TLegacyDefaults* FindLegacyDefaults(int presetKey);

}  // namespace app::legacy
