// The encoder presets built into the transcoder: 36 named sets of H.264 encoder options, kept as
// data. Each value is a text of key=value lines, each ending with a line feed, written in the
// option names of the libraries the program runs on.
//
// Constant tables; safe on any thread.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace media {

struct TOptionsPreset {
    const char* Name;
    const char* Value;
};

inline constexpr size_t kBuiltinPresetCount = 36;

const std::array<TOptionsPreset, kBuiltinPresetCount>& BuiltinPresets();
// The text of the first preset whose name equals `name` without regard to case; '' for none.
std::string FindBuiltinPreset(std::string_view name);

}  // namespace media
