#include "default_pictures.h"

#include <array>
#include <functional>

#include "dialog_pictures.h"
#include "platform/gfx/graphics.h"

namespace skingen {

namespace {

constexpr gfx::TColor kKey = gfx::RGB(255, 0, 255);
constexpr gfx::TColor kFace = gfx::RGB(212, 208, 200);
constexpr gfx::TColor kLight = gfx::RGB(255, 255, 255);
constexpr gfx::TColor kShadow = gfx::RGB(128, 128, 128);
constexpr gfx::TColor kDark = gfx::RGB(0, 0, 0);

constexpr std::array<std::string_view, 4> kNames = {"BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL"};

using TShape = std::function<bool(int x, int y)>;

void Put(gfx::TBitmap& b, int x, int y, gfx::TColor c) {
    std::uint8_t* p = b.ScanLine(y) + 3 * x;
    p[0] = std::uint8_t(gfx::GetBValue(c));
    p[1] = std::uint8_t(gfx::GetGValue(c));
    p[2] = std::uint8_t(gfx::GetRValue(c));
}

std::unique_ptr<gfx::TBitmap> Blank(int w, int h) {
    auto b = std::make_unique<gfx::TBitmap>();
    b->SetPixelFormat(gfx::pf24bit);
    b->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Put(*b, x, y, kKey);
    return b;
}

// A raised tab of the classic look at (left, 0): light where the outside lies left or above,
// dark where it lies right or below, a shadow line inside that, face elsewhere. The pressed
// (second) state dithers the face with the light colour.
void Tab(gfx::TBitmap& b, int left, int w, int h, const TShape& inside, bool dithered) {
    auto in = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && inside(x, y); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!in(x, y)) continue;
            gfx::TColor c = dithered && (x + y) % 2 ? kLight : kFace;
            if (!in(x + 1, y) || !in(x, y + 1))
                c = kDark;
            else if (!in(x - 1, y) || !in(x, y - 1))
                c = kLight;
            else if (!in(x + 2, y) || !in(x, y + 2))
                c = kShadow;
            Put(b, left + x, y, c);
        }
}

// The sunken groove, horizontal: rows 2 to 5 of a 10 x 8 picture.
gfx::TColor Groove(int x, int y) {
    constexpr int w = 10;
    if (y < 2 || y > 5) return kKey;
    if (y == 5 || x == w - 1) return kLight;
    if (y == 2 || x == 0) return kShadow;
    if (y == 3 || x == 1) return x == w - 2 ? kFace : kDark;
    return kFace;
}

std::unique_ptr<gfx::TBitmap> Draw(std::string_view name) {
    if (name == "BS_HTB") {
        // Two 9 x 17 states; the tab points down and leaves the bottom row blank.
        auto b = Blank(18, 17);
        auto shape = [](int x, int y) {
            return y < 16 && (y < 12 || y - 11 <= std::min(x, 8 - x));
        };
        Tab(*b, 0, 9, 17, shape, false);
        Tab(*b, 9, 9, 17, shape, true);
        return b;
    }
    if (name == "BS_VTB") {
        // Two 19 x 9 states; the tab points right and leaves the bottom row blank.
        auto b = Blank(38, 9);
        auto shape = [](int x, int y) { return y < 8 && (x < 14 || x - 13 <= std::min(y, 7 - y)); };
        Tab(*b, 0, 19, 9, shape, false);
        Tab(*b, 19, 19, 9, shape, true);
        return b;
    }
    if (name == "BS_HRL") {
        auto b = Blank(10, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) Put(*b, x, y, Groove(x, y));
        return b;
    }
    if (name == "BS_VRL") {
        auto b = Blank(8, 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 8; ++x) Put(*b, x, y, Groove(y, x));
        return b;
    }
    return DrawDialogPicture(name);
}

}  // namespace

std::span<const std::string_view> DefaultPictureNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all(kNames.begin(), kNames.end());
        for (std::string_view n : DialogPictureNames()) all.push_back(n);
        return all;
    }();
    return names;
}

std::vector<std::uint8_t> BuildDefaultPicture(std::string_view name) {
    auto b = Draw(name);
    if (!b) return {};
    const gfx::TBytes bytes = b->SaveToBuffer();
    return {bytes.begin(), bytes.end()};
}

}  // namespace skingen
