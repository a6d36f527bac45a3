#include "skin/core/pixel_routines.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/core/bs_bitmap.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using test::At;
using test::Fill;
using test::Put;

struct TBlendCase {
    const char* Name;
    TbsColor Source, Destination;
    TbsColor Plain, Mmx;
};

// Source over destination; both variants through the table.
const TBlendCase kBlendCases[] = {
    {"alpha 0 keeps the destination", 0x00FF0000, 0x12345678, 0x12345678, 0x12345678},
    {"alpha 255 replaces it", 0xFF102030, 0x80FFFFFF, 0xFF102030, 0xFF102030},
    {"red 255 at 128 over red 0", 0x80FF0000, 0x00000000, 0xFF7F0000, 0x407F0000},
    {"red 0 at 128 over red 200", 0x80000000, 0x00C80000, 0xFF630000, 0x40640000},
    {"all channels at 64", 0x40C08040, 0xFF204060, 0xFF474F57, 0xCF485058},
};

TEST(PixelRoutinesTest, BlendVariantsFollowTheirArithmetic) {
    for (const bool mmx : {false, true}) {
        test::TBlendVariant variant(mmx);
        for (const TBlendCase& c : kBlendCases) {
            TbsColor dst = c.Destination;
            PixelRoutineTable.BlendPixelRow(&c.Source, &dst, 1);
            EXPECT_EQ(dst, mmx ? c.Mmx : c.Plain)
                << c.Name << (mmx ? " (mmx)" : " (plain)") << std::hex << " got 0x" << dst;
        }
    }
}

// The SWAR arithmetic against the per-channel formula, for every alpha and a spread of values.
TEST(PixelRoutinesTest, BlendVariantsMatchThePerChannelFormulaForEveryAlpha) {
    std::vector<TbsColor> src, dst;
    for (std::uint32_t a = 0; a < 256; ++a)
        for (std::uint32_t v : {0u, 1u, 127u, 128u, 254u, 255u}) {
            src.push_back(a << 24 | v << 16 | (255 - v) << 8 | (v * 7 & 0xFF));
            dst.push_back((255 - a) << 24 | (v * 3 & 0xFF) << 16 | v << 8 | (255 - v));
        }
    std::vector<TbsColor> plain = dst, mmx = dst;
    BlendPixelRowPlain(src.data(), plain.data(), int(src.size()));
    BlendPixelRowMmx(src.data(), mmx.data(), int(src.size()));
    for (std::size_t i = 0; i < src.size(); ++i) {
        const std::uint32_t a = src[i] >> 24;
        std::uint32_t p = 0, m = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const std::uint32_t f = src[i] >> shift & 0xFF, b = dst[i] >> shift & 0xFF;
            p |= (shift == 24 ? 255 : (f * a + b * (255 - a)) / 256) << shift;
            m |= (((256 - a) * b + a * f) / 256) << shift;
        }
        if (a == 0) p = m = dst[i];
        if (a == 255) p = m = src[i];
        ASSERT_EQ(plain[i], p) << i;
        ASSERT_EQ(mmx[i], m) << i;
    }
}

TEST(PixelRoutinesTest, RowRoutinesOnCountsAndOverlap) {
    // Count 0 or below does nothing.
    TbsColor a = 0xFF000000, b = 0x11111111;
    PixelRoutineTable.BlendPixelRow(&a, &b, 0);
    PixelRoutineTable.CopyKeyedPixelRow(&a, &b, -1);
    PixelRoutineTable.MovePixels(&a, &b, 0);
    EXPECT_EQ(b, 0x11111111u);

    // Key colour skipped whatever its alpha; every other pixel written opaque.
    const std::vector<TbsColor> keyed{0x007F007F, 0xFF7F007F, 0x807F007E, 0x00000000};
    std::vector<TbsColor> out(4, 0x12345678);
    PixelRoutineTable.CopyKeyedPixelRow(keyed.data(), out.data(), 4);
    EXPECT_EQ(out, (std::vector<TbsColor>{0x12345678, 0x12345678, 0xFF7F007E, 0xFF000000}));

    // Overlapping moves in both directions.
    std::vector<TbsColor> row{1, 2, 3, 4, 5};
    PixelRoutineTable.MovePixels(row.data(), row.data() + 1, 4);
    EXPECT_EQ(row, (std::vector<TbsColor>{1, 1, 2, 3, 4}));
    PixelRoutineTable.MovePixels(row.data() + 1, row.data(), 4);
    EXPECT_EQ(row, (std::vector<TbsColor>{1, 2, 3, 4, 4}));

    PixelRoutineTable.SetPixelsAlpha(row.data(), 2, 0x80);
    EXPECT_EQ(row[0], 0x80000001u);
    EXPECT_EQ(row[2], 3u);
}

// A source whose pixel (x, y) is x + 16 * y + 1, opaque.
void Numbered(TbsBitmap& b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Put(b, x, y, 0xFF000000u | TbsColor(x + 16 * y + 1));
}

struct TStretchCase {
    const char* Name;
    int SrcW, SrcH;
    gfx::TRect S, D, C;
    // Expected source column for each target column of D's first row (-1: untouched).
    std::vector<int> Columns;
};

const TStretchCase kStretchCases[] = {
    {"3 to 5 columns", 3, 1, {0, 0, 3, 1}, {0, 0, 5, 1}, {0, 0, 5, 1}, {0, 0, 1, 1, 2}},
    {"10 columns to 1", 10, 1, {0, 0, 10, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, {4}},
    {"sub-rectangle 2..5 to 1", 10, 1, {2, 0, 6, 1}, {0, 0, 1, 1}, {0, 0, 1, 1}, {3}},
    {"same size from an offset", 10, 1, {4, 0, 7, 1}, {1, 0, 4, 1}, {1, 0, 4, 1}, {-1, 4, 5, 6}},
    {"clip keeps the left part",
     3,
     1,
     {0, 0, 3, 1},
     {0, 0, 5, 1},
     {0, 0, 2, 1},
     {0, 0, -1, -1, -1}},
    {"clip beyond the target is cut",
     3,
     1,
     {0, 0, 3, 1},
     {3, 0, 8, 1},
     {0, 0, 100, 1},
     {-1, -1, -1, 0, 0, 1}},
    {"source one pixel outside draws nothing",
     3,
     1,
     {0, 0, 4, 1},
     {0, 0, 5, 1},
     {0, 0, 5, 1},
     {-1, -1, -1, -1, -1}},
    {"source above the bitmap draws nothing",
     3,
     1,
     {0, -1, 3, 1},
     {0, 0, 5, 1},
     {0, 0, 5, 1},
     {-1, -1, -1, -1, -1}},
    {"empty source draws nothing",
     3,
     1,
     {1, 0, 1, 1},
     {0, 0, 5, 1},
     {0, 0, 5, 1},
     {-1, -1, -1, -1, -1}},
};

TEST(PixelRoutinesTest, StretchSamplesNearestColumnsWithinTheClip) {
    constexpr TbsColor kUntouched = 0xFFEEEEEE;
    for (const TStretchCase& c : kStretchCases) {
        TbsBitmap src, dst;
        Numbered(src, c.SrcW, c.SrcH);
        dst.SetSize(6, 1);
        Fill(dst, kUntouched);
        PixelRoutineTable.StretchToBitmap(dst, c.D, c.C, c.S, src);
        for (std::size_t i = 0; i < c.Columns.size(); ++i) {
            const TbsColor want = c.Columns[i] < 0 ? kUntouched : 0xFF000000u | (c.Columns[i] + 1);
            EXPECT_EQ(At(dst, int(i), 0), want) << c.Name << ", column " << i;
        }
    }
}

TEST(PixelRoutinesTest, OnePixelStretchedFillsEveryTargetPixel) {
    TbsBitmap src, dst;
    src.SetSize(1, 1);
    Put(src, 0, 0, 0xFF123456);
    dst.SetSize(10, 10);
    PixelRoutineTable.StretchToBitmap(dst, {0, 0, 10, 10}, {0, 0, 10, 10}, {0, 0, 1, 1}, src);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(At(dst, x, y), 0xFF123456u) << x << "," << y;
}

TEST(PixelRoutinesTest, RowsRepeatAndShrinkLikeColumns) {
    TbsBitmap src, dst;
    Numbered(src, 1, 3);
    dst.SetSize(1, 5);
    PixelRoutineTable.StretchToBitmap(dst, {0, 0, 1, 5}, {0, 0, 1, 5}, {0, 0, 1, 3}, src);
    std::vector<int> rows;
    for (int y = 0; y < 5; ++y) rows.push_back(int((At(dst, 0, y) & 0xFF) - 1) / 16);
    EXPECT_EQ(rows, (std::vector<int>{0, 0, 1, 1, 2}));
}

// The three stretches sample the same pixels: opaque source pixels over an opaque target come
// out the same whether copied, blended or key-copied.
TEST(PixelRoutinesTest, OpaqueBlendedAndKeyedStretchesAgree) {
    TbsBitmap src;
    Numbered(src, 7, 5);
    const gfx::TRect d{1, 2, 18, 13}, c{3, 3, 15, 12}, s{1, 1, 6, 5};
    std::vector<TbsColor> results[3];
    const TDrawToBitmapProc procs[] = {PixelRoutineTable.StretchToBitmap,
                                       PixelRoutineTable.StretchBlendToBitmap,
                                       PixelRoutineTable.StretchKeyedToBitmap};
    for (int i = 0; i < 3; ++i) {
        TbsBitmap dst;
        dst.SetSize(20, 15);
        Fill(dst, 0xFF808080);
        procs[i](dst, d, c, s, src);
        results[i].assign(dst.Bits(), dst.Bits() + 20 * 15);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);
    // Only the clip changed.
    int written = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = c.Contains(x, y);
            written += inside;
            EXPECT_EQ(results[0][std::size_t(y) * 20 + x] != 0xFF808080, inside) << x << "," << y;
        }
    EXPECT_EQ(written, c.Width() * c.Height());
}

TEST(PixelRoutinesTest, KeyedStretchLeavesKeyPixelsAndBlendUsesAlpha) {
    // 3 columns to 6 (scale 0.4) take source columns 0, 0, 0, 1, 1, 2.
    TbsBitmap src, dst;
    test::Row(src, {SkinKeyColor, 0x00FF0000, 0x80FF0000});
    dst.SetSize(6, 1);
    Fill(dst, 0xFF000000);
    PixelRoutineTable.StretchKeyedToBitmap(dst, {0, 0, 6, 1}, {0, 0, 6, 1}, {0, 0, 3, 1}, src);
    EXPECT_EQ(std::vector<TbsColor>(dst.Bits(), dst.Bits() + 6),
              (std::vector<TbsColor>{0xFF000000, 0xFF000000, 0xFF000000, 0xFFFF0000, 0xFFFF0000,
                                     0xFFFF0000}));

    test::TBlendVariant plain(false);
    Fill(dst, 0xFF000000);
    PixelRoutineTable.StretchBlendToBitmap(dst, {0, 0, 6, 1}, {0, 0, 6, 1}, {0, 0, 3, 1}, src);
    EXPECT_EQ(std::vector<TbsColor>(dst.Bits(), dst.Bits() + 6),
              (std::vector<TbsColor>{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                     0xFF7F0000}));
}

TEST(PixelRoutinesTest, StartUpPickedTheVariantTheProcessorTestGives) {
    EXPECT_EQ(PixelRoutineTable.BlendPixelRow == &BlendPixelRowMmx, CpuHasMmx());
#if defined(__x86_64__)
    EXPECT_TRUE(CpuHasMmx());
#endif
}

}  // namespace
}  // namespace skin
