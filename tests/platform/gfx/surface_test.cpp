#include "platform/gfx/surface.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace gfx {
namespace {

struct TSize {
    int Width, Height;
};

struct TResizeCase {
    std::string Name;
    int BitCount;
    TSize Start;
    std::vector<TSize> Steps;
};

void PrintTo(const TResizeCase& c, std::ostream* os) {
    *os << c.Name << "/" << c.BitCount;
}

// A value no other pixel byte of the start has, never 0.
std::uint8_t Mark(int x, int y, int byte) {
    return std::uint8_t(1 + (x * 7 + y * 13 + byte * 3) % 251);
}

void Fill(TSurface& s) {
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            for (int b = 0; b < s.BytesPerPixel(); ++b)
                s.ScanLine(y)[x * s.BytesPerPixel() + b] = Mark(x, y, b);
}

class SurfaceResizeTest : public testing::TestWithParam<TResizeCase> {};

// After every step the pixels that every size so far shared still hold what was drawn at the
// start, and all others are 0: a strip that shrank away and came back does not bring its old
// pixels with it, whether the memory was kept, grown or given back.
TEST_P(SurfaceResizeTest, SharedPixelsStayAndEveryOtherPixelIsZero) {
    const TResizeCase& c = GetParam();
    TSurface s(c.Start.Width, c.Start.Height, c.BitCount);
    Fill(s);
    TSize kept = c.Start;
    for (std::size_t step = 0; step < c.Steps.size(); ++step) {
        const TSize size = c.Steps[step];
        s.Resize(size.Width, size.Height);
        kept = {std::min(kept.Width, size.Width), std::min(kept.Height, size.Height)};
        ASSERT_EQ(s.Width(), size.Width);
        ASSERT_EQ(s.Height(), size.Height);
        ASSERT_EQ(s.Stride(), (size.Width * s.BytesPerPixel() + 3) / 4 * 4);
        int wrong = 0;
        for (int y = 0; y < size.Height; ++y)
            for (int x = 0; x < size.Width; ++x)
                for (int b = 0; b < s.BytesPerPixel(); ++b) {
                    const bool inKept = x < kept.Width && y < kept.Height;
                    const std::uint8_t want = inKept ? Mark(x, y, b) : 0;
                    if (s.ScanLine(y)[x * s.BytesPerPixel() + b] != want && wrong++ == 0)
                        ADD_FAILURE()
                            << "step " << step << ": pixel " << x << "," << y << " byte " << b;
                }
        ASSERT_EQ(wrong, 0) << "step " << step;
    }
}

std::vector<TResizeCase> Cases() {
    std::vector<TSize> drag;
    for (int i = 1; i <= 40; ++i) drag.push_back({37 + 3 * i, 23 + 2 * i});
    for (int i = 39; i >= 0; --i) drag.push_back({37 + 3 * i, 23 + 2 * i});
    const std::vector<TResizeCase> shapes = {
        {"wider", 0, {37, 23}, {{41, 23}, {60, 23}}},
        {"taller", 0, {37, 23}, {{37, 24}, {37, 50}}},
        {"narrower_and_back", 0, {37, 23}, {{30, 23}, {37, 23}, {45, 23}}},
        {"shorter_and_back", 0, {37, 23}, {{37, 10}, {37, 23}}},
        {"smaller_then_larger", 0, {37, 23}, {{20, 11}, {50, 40}}},
        {"one_way_grows_the_other_shrinks", 0, {37, 23}, {{50, 12}, {21, 30}, {37, 23}}},
        {"far_smaller_gives_memory_back", 0, {200, 150}, {{9, 7}, {200, 150}}},
        {"empty_and_back", 0, {37, 23}, {{0, 0}, {37, 23}, {37, 0}, {0, 23}, {37, 23}}},
        {"zero_wide_grows_taller", 0, {0, 0}, {{0, 5}, {0, 9}, {0, 2}, {6, 2}, {0, 7}}},
        {"zero_high_grows_wider", 0, {0, 0}, {{5, 0}, {9, 0}, {9, 3}, {2, 0}}},
        {"drag_out_and_back", 0, {37, 23}, drag},
    };
    std::vector<TResizeCase> out;
    for (int bits : {32, 24})
        for (TResizeCase c : shapes) {
            c.BitCount = bits;
            out.push_back(c);
        }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Shapes, SurfaceResizeTest, testing::ValuesIn(Cases()),
                         [](const auto& info) {
                             return info.param.Name + "_" + std::to_string(info.param.BitCount);
                         });

TEST(SurfaceTest, ResizeRefusesBadSizesAndLeavesTheSurfaceAsItWas) {
    TSurface s(5, 4, 32);
    Fill(s);
    for (TSize bad : {TSize{-1, 4}, TSize{5, -1}, TSize{1 << 16, 1 << 15}}) {
        EXPECT_THROW(s.Resize(bad.Width, bad.Height), rtl::Exception) << bad.Width;
        EXPECT_EQ(s.Width(), 5);
        EXPECT_EQ(s.Height(), 4);
        EXPECT_EQ(s.ScanLine(3)[4 * 4 + 2], Mark(4, 3, 2));
    }
}

}  // namespace
}  // namespace gfx
