#include "platform/gfx/text.h"

#include <gtest/gtest.h>

#include "platform/gfx/test_surface.h"

namespace gfx {
namespace {

using test::TTestSurface;

HFONT Font(const std::string& name, int height = -14, int weight = FW_NORMAL) {
    return CreateFontIndirect({height, weight, false, false, false, name});
}

struct TTextSurface : TTestSurface {
    TTextSurface(int width, int height, HFONT font = Font("Arial")) : TTestSurface(width, height) {
        SelectObject(Dc(), font);
        SetBkMode(Dc(), TRANSPARENT);
    }
    int Width(std::string_view text) {
        TSize size;
        GetTextExtentPoint32(Dc(), text, size);
        return size.cx;
    }
    TTextMetric Metrics() {
        TTextMetric tm;
        GetTextMetrics(Dc(), tm);
        return tm;
    }
};

class FontNameTest : public testing::TestWithParam<const char*> {};

TEST_P(FontNameTest, MixedLatinAndChineseHasEveryGlyph) {
    TTextSurface s(200, 40, Font(GetParam()));
    const auto indices = GetGlyphIndices(s.Dc(), "Moradex 视频转换");
    ASSERT_EQ(indices.size(), 12u);
    for (size_t i = 0; i < indices.size(); ++i) EXPECT_NE(indices[i], 0u) << i;
    TextOut(s.Dc(), 2, 2, "Moradex 视频转换");
    const TRect ink = s.Ink();
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_GT(ink.Right, 2 + s.Width("Moradex ") + 10);  // the Chinese part drew too
}

INSTANTIATE_TEST_SUITE_P(Names, FontNameTest,
                         testing::Values("Arial", "Tahoma", "宋体", "", "No Such Font"),
                         [](const auto& info) { return "Font" + std::to_string(info.index); });

TEST(TextTest, EveryCommonCjkCharacterFindsAGlyph) {
    TTextSurface s(10, 10, Font("Arial"));
    std::u32string all;
    for (char32_t c = 0x4E00; c < 0x9FA6; c += 37) all.push_back(c);
    for (std::uint32_t index : GetGlyphIndices(s.Dc(), EncodeUtf8(all))) ASSERT_NE(index, 0u);
}

TEST(TextTest, WidthGrowsWithTheText) {
    TTextSurface s(10, 10);
    const std::string text = "Moradex 视频转换 converts";
    const std::u32string chars = DecodeUtf8(text);
    int previous = 0;
    for (size_t n = 1; n <= chars.size(); ++n) {
        const int width = s.Width(EncodeUtf8(chars.substr(0, n)));
        if (chars[n - 1] != U' ') {
            EXPECT_GT(width, previous) << n;
        }
        EXPECT_GE(width, previous) << n;
        previous = width;
    }
    EXPECT_EQ(s.Width(""), 0);
}

TEST(TextTest, HeightRuleCellVersusCharacter) {
    TTextSurface cell(10, 10, Font("Arial", 20)), character(10, 10, Font("Arial", -20));
    EXPECT_EQ(cell.Metrics().tmHeight, 20);
    const TTextMetric tm = character.Metrics();
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
    EXPECT_GT(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
}

TEST(TextTest, BoldIsWiderThanRegular) {
    TTextSurface regular(10, 10, Font("Tahoma", -14)), bold(10, 10, Font("Tahoma", -14, FW_BOLD));
    EXPECT_GT(bold.Width("Moradex converts"), regular.Width("Moradex converts"));
    TTextSurface cjkRegular(10, 10, Font("宋体")), cjkBold(10, 10, Font("宋体", -14, FW_BOLD));
    EXPECT_GT(cjkBold.Width("视频转换"), cjkRegular.Width("视频转换"));
}

TEST(TextTest, WordBreakWrapsALongSentenceAndReportsItsHeight) {
    TTextSurface s(120, 200);
    const std::string sentence = "The quick brown fox jumps over the lazy dog and keeps running";
    const int lineHeight = s.Metrics().tmHeight;
    TRect single{0, 0, 100, 0};
    DrawText(s.Dc(), sentence, single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(single.Right, 300);
    EXPECT_EQ(single.Bottom, lineHeight);

    TRect r{0, 0, 100, 0};
    const int height = DrawText(s.Dc(), sentence, r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(height, 4 * lineHeight);
    EXPECT_EQ(height % lineHeight, 0);
    EXPECT_EQ(r.Bottom, height);
    EXPECT_LE(r.Right, 100);
    EXPECT_GT(r.Right, 60);

    TRect draw{0, 0, 100, 200};
    EXPECT_EQ(DrawText(s.Dc(), sentence, draw, DT_WORDBREAK | DT_NOCLIP), height);
    const TRect ink = s.Ink();
    EXPECT_LE(ink.Right, 100);
    EXPECT_GT(ink.Bottom, height - lineHeight);
    EXPECT_LE(ink.Bottom, height + 2);
}

TEST(TextTest, WordBreakWrapsChineseBetweenCharacters) {
    TTextSurface s(10, 10, Font("宋体"));
    TRect r{0, 0, 60, 0};
    const int height = DrawText(s.Dc(), "视频转换视频转换视频转换", r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(height, 3 * s.Metrics().tmHeight);
    EXPECT_LE(r.Right, 60);
}

TEST(TextTest, EndEllipsisDrawsAShortenedTextEndingInDotsWithinTheRectangle) {
    TTextSurface s(300, 30), expected(300, 30);
    const std::string text = "Moradex converts every video you have";
    const TRect box{10, 5, 110, 25};
    TRect r = box;
    DrawText(s.Dc(), text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(s.Ink().Right, box.Right);

    std::string prefix = text;
    while (!prefix.empty() && expected.Width(prefix + "...") > box.Width()) prefix.pop_back();
    ASSERT_FALSE(prefix.empty());
    TextOut(expected.Dc(), box.Left, box.Top, prefix + "...");
    EXPECT_EQ(s.Pixels(), expected.Pixels());
}

TEST(TextTest, PathEllipsisKeepsTheFileName) {
    TTextSurface s(300, 30), expected(300, 30);
    const std::string head = "/home/user/videos/holiday", tail = "/clip.avi";
    const TRect box{0, 0, 140, 20};
    TRect r = box;
    DrawText(s.Dc(), head + tail, r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOCLIP);
    std::string kept = head;
    while (!kept.empty() && expected.Width(kept + "..." + tail) > box.Width()) kept.pop_back();
    TextOut(expected.Dc(), 0, 0, kept + "..." + tail);
    EXPECT_EQ(s.Pixels(), expected.Pixels());
    EXPECT_LE(s.Ink().Right, box.Right);
}

TEST(TextTest, PrefixUnderlinesTheNextCharacterOnly) {
    TTextSurface prefixed(100, 30), plain(100, 30);
    TRect r1{0, 0, 100, 30}, r2 = r1;
    DrawText(prefixed.Dc(), "&File", r1, DT_SINGLELINE);
    DrawText(plain.Dc(), "File", r2, DT_SINGLELINE | DT_NOPREFIX);
    const int ascent = plain.Metrics().tmAscent, fWidth = plain.Width("F");
    int differences = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
            if (prefixed.At(x, y) != plain.At(x, y)) {
                ++differences;
                EXPECT_LT(x, fWidth) << x << "," << y;
                EXPECT_GE(y, ascent) << x << "," << y;
            }
    EXPECT_GE(differences, fWidth - 1);
}

TEST(TextTest, DoubleAmpersandDrawsOneAmpersand) {
    TTextSurface doubled(100, 30), single(100, 30);
    TRect r1{0, 0, 100, 30}, r2 = r1;
    DrawText(doubled.Dc(), "A&&B", r1, DT_SINGLELINE);
    DrawText(single.Dc(), "A&B", r2, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(doubled.Pixels(), single.Pixels());
    TRect c1{0, 0, 0, 0}, c2 = c1;
    DrawText(doubled.Dc(), "A&&B", c1, DT_CALCRECT | DT_SINGLELINE);
    DrawText(single.Dc(), "A&B", c2, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(c1, c2);
}

TEST(TextTest, AlignmentAndVerticalCentre) {
    struct TCase {
        unsigned Format;
        int MinLeft, MaxRight;
    };
    const int width = TTextSurface(1, 1).Width("Moradex");
    for (const TCase& c : {TCase{DT_LEFT, 0, width + 1},
                           TCase{DT_CENTER, (200 - width) / 2 - 1, (200 + width) / 2 + 2},
                           TCase{DT_RIGHT, 200 - width - 1, 200}}) {
        TTextSurface s(200, 100);
        TRect r{0, 0, 200, 100};
        DrawText(s.Dc(), "Moradex", r, c.Format | DT_SINGLELINE | DT_VCENTER);
        const TRect ink = s.Ink();
        EXPECT_GE(ink.Left, c.MinLeft) << c.Format;
        EXPECT_LE(ink.Right, c.MaxRight) << c.Format;
        EXPECT_GT(ink.Top, 40) << c.Format;
        EXPECT_LT(ink.Bottom, 60) << c.Format;
    }
}

TEST(TextTest, TabsExpandOnlyWhenAsked) {
    TTextSurface s(10, 10);
    TRect plain{0, 0, 0, 0}, expanded = plain;
    DrawText(s.Dc(), "a\tb", plain, DT_CALCRECT | DT_SINGLELINE);
    DrawText(s.Dc(), "a\tb", expanded, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(expanded.Right, 8 * s.Metrics().tmAveCharWidth + s.Width("b"));
    EXPECT_LT(plain.Right, expanded.Right);
}

TEST(TextTest, MultipleLinesAndClipping) {
    TTextSurface s(200, 100);
    TRect r{0, 0, 200, 0};
    EXPECT_EQ(DrawText(s.Dc(), "one\r\ntwo\nthree", r, DT_CALCRECT), 3 * s.Metrics().tmHeight);
    TRect clip{0, 0, 20, 10};
    DrawText(s.Dc(), "Moradex converts", clip, DT_SINGLELINE);
    const TRect ink = s.Ink();
    EXPECT_LE(ink.Right, 20);
    EXPECT_LE(ink.Bottom, 10);
}

TEST(TextTest, OpaqueBackgroundFillsTheTextCell) {
    TTextSurface s(100, 30);
    SetBkMode(s.Dc(), OPAQUE);
    SetBkColor(s.Dc(), clYellow);
    SetTextColor(s.Dc(), clBlue);
    TextOut(s.Dc(), 5, 5, "Mo");
    TRect cell = Bounds(5, 5, s.Width("Mo"), s.Metrics().tmHeight);
    EXPECT_EQ(s.Ink(), cell);
    EXPECT_EQ(s.At(5, 5), clYellow);
    bool blue = false;
    for (TColor c : s.Pixels()) blue |= c == clBlue;
    EXPECT_TRUE(blue);
}

TEST(TextTest, UnderlineAndStrikeOutFontsDrawLines) {
    TTextSurface plain(100, 30),
        underlined(100, 30, CreateFontIndirect({-14, FW_NORMAL, false, true, false, "Arial"}));
    TextOut(plain.Dc(), 0, 0, "Mo Mo");
    TextOut(underlined.Dc(), 0, 0, "Mo Mo");
    const int ascent = plain.Metrics().tmAscent;
    bool lineUnderSpace = false;
    for (int y = ascent; y < 30; ++y)
        lineUnderSpace |= underlined.At(plain.Width("Mo") + 1, y) == clBlack;
    EXPECT_TRUE(lineUnderSpace);
}

TEST(TextTest, InvalidUtf8BytesBecomeLatin1CodePoints) {
    EXPECT_EQ(DecodeUtf8("a\xE9z"), (std::u32string{U'a', 0xE9, U'z'}));
    EXPECT_EQ(DecodeUtf8("视"), std::u32string(1, 0x89C6));
    EXPECT_EQ(EncodeUtf8(DecodeUtf8("Moradex 视频转换")), "Moradex 视频转换");
}

}  // namespace
}  // namespace gfx
