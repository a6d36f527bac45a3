// The texts and keys that tie a task row to the clock, the file size and the catalogue's lists.
// Pure functions.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace app {

// "hh:mm:ss" with the hours modulo 24.
std::string SecToDate(int sec);
// Bytes as megabytes with at most two decimals (halves to even) and "MB"; "." always.
std::string MegabyteText(int64_t bytes);

// The six parameter lists' indexes in the row's order: frame size, video bit rate, audio bit
// rate, aspect mode, frame rate, sample rate; two digits each.
std::string OptionString(const std::array<int, 6>& indexes);

int ChoiceKey(int categoryIndex, int presetIndex);
struct TChoice {
    int CategoryIndex;
    int PresetIndex;
};
TChoice DecodeChoiceKey(int key);

}  // namespace app
