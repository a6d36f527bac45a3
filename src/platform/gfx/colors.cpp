#include "platform/gfx/types.h"

#include <array>

namespace gfx {

namespace {

// The default scheme; index 25 has no colour of its own.
constexpr std::array<TColor, COLOR_ENDCOLORS + 1> kSysColors = {
    RGB(200, 200, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(49, 106, 197),  RGB(212, 208, 200),
};

}  // namespace

TColor GetSysColor(int index) {
    return index >= 0 && index <= COLOR_ENDCOLORS ? kSysColors[index] : 0;
}

TColor ColorToRGB(TColor color) {
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u) return GetSysColor(int(value & 0xFF));
    if (color == clNone || color == clDefault) return clBlack;
    return MakeColor(value & 0x00FFFFFFu);
}

}  // namespace gfx
