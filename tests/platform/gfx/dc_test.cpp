#include "platform/gfx/dc.h"

#include <gtest/gtest.h>

#include "platform/gfx/test_surface.h"
#include "platform/rtl/exception.h"

namespace gfx {
namespace {

using test::TTestSurface;

struct TLineCase {
    TPoint From, To;
};

void PrintTo(const TLineCase& c, std::ostream* os) {
    *os << "(" << c.From.X << "," << c.From.Y << ")-(" << c.To.X << "," << c.To.Y << ")";
}

class LineTest : public testing::TestWithParam<TLineCase> {};

// Every direction: the start point is drawn, the end point is not, and the pixels form an
// unbroken 8-connected path from one to the other.
TEST_P(LineTest, LeavesEndPointUnsetInEveryDirection) {
    const auto [from, to] = GetParam();
    TTestSurface s(12, 12);
    MoveToEx(s.Dc(), from.X, from.Y);
    LineTo(s.Dc(), to.X, to.Y);
    EXPECT_EQ(s.At(from.X, from.Y), clBlack);
    EXPECT_EQ(s.At(to.X, to.Y), clWhite);
    const int steps = std::max(std::abs(to.X - from.X), std::abs(to.Y - from.Y));
    int drawn = 0;
    for (TColor c : s.Pixels()) drawn += c == clBlack;
    EXPECT_EQ(drawn, steps);
    EXPECT_EQ(s.DC.State().PenPos, to);
}

INSTANTIATE_TEST_SUITE_P(Directions, LineTest,
                         testing::Values(TLineCase{{1, 1}, {6, 6}}, TLineCase{{6, 6}, {1, 1}},
                                         TLineCase{{1, 9}, {9, 1}}, TLineCase{{2, 3}, {10, 3}},
                                         TLineCase{{10, 3}, {2, 3}}, TLineCase{{4, 1}, {4, 10}},
                                         TLineCase{{4, 10}, {4, 1}}, TLineCase{{1, 1}, {3, 10}}));

TEST(DcTest, DiagonalLineSetsExactlyTheDiagonalBeforeTheEnd) {
    TTestSurface s(8, 8);
    MoveToEx(s.Dc(), 0, 0);
    LineTo(s.Dc(), 5, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.At(i, i), clBlack) << i;
    EXPECT_EQ(s.At(5, 5), clWhite);
    EXPECT_EQ(s.At(1, 0), clWhite);
}

TEST(DcTest, RectangleWithClearBrushDrawsOnlyItsOutline) {
    TTestSurface s(10, 10, clBlue);
    SelectObject(s.Dc(), CreatePen(PS_SOLID, 1, clRed));
    SelectObject(s.Dc(), TLogBrush{BS_NULL, clGreen});
    Rectangle(s.Dc(), 2, 2, 8, 7);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 2 && y < 7;
            const bool edge = inside && (x == 2 || x == 7 || y == 2 || y == 6);
            EXPECT_EQ(s.At(x, y), edge ? clRed : clBlue) << x << "," << y;
        }
}

TEST(DcTest, RectangleFillsInsideWithTheBrushAndNullPenFillsOneLess) {
    TTestSurface s(10, 10);
    SelectObject(s.Dc(), CreatePen(PS_SOLID, 1, clRed));
    SelectObject(s.Dc(), CreateSolidBrush(clGreen));
    Rectangle(s.Dc(), 0, 0, 4, 4);
    EXPECT_EQ(s.At(0, 0), clRed);
    EXPECT_EQ(s.At(1, 1), clGreen);
    EXPECT_EQ(s.At(2, 2), clGreen);
    EXPECT_EQ(s.At(3, 3), clRed);
    SelectObject(s.Dc(), CreatePen(PS_NULL, 1, clRed));
    Rectangle(s.Dc(), 5, 5, 9, 9);
    EXPECT_EQ(s.At(5, 5), clGreen);
    EXPECT_EQ(s.At(7, 7), clGreen);
    EXPECT_EQ(s.At(8, 8), clWhite);
    EXPECT_EQ(s.At(8, 5), clWhite);
}

TEST(DcTest, FrameRectDrawsOnePixelFrame) {
    TTestSurface s(6, 6);
    FrameRect(s.Dc(), {1, 1, 5, 5}, CreateSolidBrush(clRed));
    EXPECT_EQ(s.At(1, 1), clRed);
    EXPECT_EQ(s.At(4, 4), clRed);
    EXPECT_EQ(s.At(4, 2), clRed);
    EXPECT_EQ(s.At(2, 2), clWhite);
    EXPECT_EQ(s.At(5, 5), clWhite);
}

TEST(DcTest, EllipseStaysInItsBoxAndIsSymmetric) {
    TTestSurface s(24, 16);
    SelectObject(s.Dc(), CreatePen(PS_SOLID, 1, clRed));
    SelectObject(s.Dc(), CreateSolidBrush(clGreen));
    Ellipse(s.Dc(), 2, 2, 22, 14);
    EXPECT_EQ(s.Ink(), Rect(2, 2, 22, 14));
    EXPECT_EQ(s.At(12, 8), clGreen);
    EXPECT_EQ(s.At(2, 2), clWhite);  // corners of the box stay outside
    EXPECT_EQ(s.At(2, 8), clRed);
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 22; ++x) {
            EXPECT_EQ(s.At(x, y), s.At(23 - x, y)) << x << "," << y;
            EXPECT_EQ(s.At(x, y), s.At(x, 15 - y)) << x << "," << y;
        }
}

TEST(DcTest, CopyOntoItselfWithOffsetReadsTheOldPixels) {
    TTestSurface s(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) SetPixel(s.Dc(), x, y, RGB(x * 20, y * 20, 7));
    const auto before = s.Pixels();
    ASSERT_TRUE(BitBlt(s.Dc(), 2, 1, 5, 5, s.Dc(), 0, 0, SRCCOPY));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool moved = x >= 2 && x < 7 && y >= 1 && y < 6;
            const TColor expected = moved ? before[(y - 1) * 10 + (x - 2)] : before[y * 10 + x];
            EXPECT_EQ(s.At(x, y), expected) << x << "," << y;
        }
}

TEST(DcTest, StretchTurnsTwoByTwoCheckerIntoFourByFourBlocks) {
    TTestSurface src(2, 2, clBlack), dst(4, 4, clGreen);
    SetPixel(src.Dc(), 1, 0, clWhite);
    SetPixel(src.Dc(), 0, 1, clWhite);
    ASSERT_TRUE(StretchBlt(dst.Dc(), 0, 0, 4, 4, src.Dc(), 0, 0, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dst.At(x, y), ((x / 2 + y / 2) % 2) ? clWhite : clBlack) << x << "," << y;
}

TEST(DcTest, StretchShrinksAndWorksBetween24And32Bits) {
    TTestSurface src(4, 4, clRed, 24), dst(2, 2, clWhite, 32);
    ASSERT_TRUE(StretchBlt(dst.Dc(), 0, 0, 2, 2, src.Dc(), 0, 0, 4, 4, SRCCOPY));
    for (TColor c : dst.Pixels()) EXPECT_EQ(c, clRed);
}

TEST(DcTest, KeyColourDrawSkipsExactlyTheKeyPixels) {
    const TColor key = RGB(0x7F, 0, 0x7F);
    TTestSurface src(4, 3, clRed), dst(4, 3, clBlue);
    SetPixel(src.Dc(), 0, 0, key);
    SetPixel(src.Dc(), 3, 2, key);
    SetPixel(src.Dc(), 2, 1, RGB(0x7F, 0, 0x7E));  // one off: drawn
    ASSERT_TRUE(TransparentBlt(dst.Dc(), 0, 0, 4, 3, src.Dc(), 0, 0, 4, 3, key));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool keyed = (x == 0 && y == 0) || (x == 3 && y == 2);
            EXPECT_EQ(dst.At(x, y), keyed ? clBlue : src.At(x, y)) << x << "," << y;
        }
}

TEST(DcTest, ClipAfterSaveIntersectRestoreIsRestored) {
    TTestSurface s(10, 10);
    const TLogBrush red = CreateSolidBrush(clRed), green = CreateSolidBrush(clGreen);
    const int level = SaveDC(s.Dc());
    EXPECT_EQ(IntersectClipRect(s.Dc(), 2, 2, 5, 5), SIMPLEREGION);
    SaveDC(s.Dc());
    ExcludeClipRect(s.Dc(), 3, 3, 4, 4);
    FillRect(s.Dc(), {0, 0, 10, 10}, red);
    EXPECT_EQ(s.Ink(), Rect(2, 2, 5, 5));
    EXPECT_EQ(s.At(3, 3), clWhite);
    ASSERT_TRUE(RestoreDC(s.Dc(), level));  // both levels at once
    FillRect(s.Dc(), {0, 0, 10, 10}, green);
    for (TColor c : s.Pixels()) EXPECT_EQ(c, clGreen);
    EXPECT_FALSE(RestoreDC(s.Dc(), -1));  // nothing left to restore
}

TEST(DcTest, OriginMovesDrawingAndClipFollowsLogicalCoordinates) {
    TTestSurface s(10, 10);
    SetViewportOrgEx(s.Dc(), 3, 2);
    SetWindowOrgEx(s.Dc(), 1, 0);
    IntersectClipRect(s.Dc(), 0, 0, 4, 4);  // device (2, 2, 6, 6)
    FillRect(s.Dc(), {-5, -5, 20, 20}, CreateSolidBrush(clRed));
    EXPECT_EQ(s.Ink(), Rect(2, 2, 6, 6));
    TRect box;
    EXPECT_EQ(GetClipBox(s.Dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 4, 4));
    EXPECT_EQ(GetPixel(s.Dc(), 0, 0), clRed);
    EXPECT_EQ(GetPixel(s.Dc(), 5, 5), CLR_INVALID);
}

TEST(DcTest, SelectClipRgnTakesADeviceRegionAndSystemClipStaysUnderIt) {
    TTestSurface s(10, 10);
    s.DC.SetSystemClip(TRegion(Rect(0, 0, 10, 5)));
    const TRegion region = CreateRectRgn(0, 0, 3, 10).Union(CreateRectRgn(7, 0, 10, 10));
    SelectClipRgn(s.Dc(), &region);
    FillRect(s.Dc(), {0, 0, 10, 10}, CreateSolidBrush(clRed));
    EXPECT_EQ(s.At(1, 4), clRed);
    EXPECT_EQ(s.At(8, 0), clRed);
    EXPECT_EQ(s.At(5, 2), clWhite);
    EXPECT_EQ(s.At(1, 6), clWhite);  // below the system clip
    SelectClipRgn(s.Dc(), nullptr);
    FillRect(s.Dc(), {0, 0, 10, 10}, CreateSolidBrush(clGreen));
    EXPECT_EQ(s.At(5, 2), clGreen);
    EXPECT_EQ(s.At(5, 6), clWhite);
}

TEST(DcTest, SelectedBitmapMapsBackAndRestoreDcReselectsIt) {
    TTestSurface s(4, 4);
    const HBITMAP other = CreateDIBSection(2, 2, 32);
    EXPECT_EQ(GetCurrentBitmap(s.Dc()), s.Bitmap);
    SaveDC(s.Dc());
    EXPECT_EQ(SelectObject(s.Dc(), other), s.Bitmap);
    EXPECT_EQ(GetCurrentBitmap(s.Dc()), other);
    RestoreDC(s.Dc(), -1);
    EXPECT_EQ(GetCurrentBitmap(s.Dc()), s.Bitmap);
}

TEST(DcTest, DibCreationFailureRaisesTheDesignText) {
    const TDibDC dib = CreateDibDC(3, 2);
    EXPECT_EQ(dib.Bitmap->Width(), 3);
    EXPECT_EQ(GetCurrentBitmap(dib.DC.get()), dib.Bitmap);
    EXPECT_EQ(dib.Bitmap->Stride(), 12);
    try {
        CreateDibDC(1 << 20, 1 << 20);
        FAIL() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Can't allocate the DIB handle");
    }
    EXPECT_EQ(CreateDIBSection(0, 5, 32), nullptr);
}

TEST(DcTest, TwentyFourBitRowsArePaddedAndDrawnInto) {
    TTestSurface s(3, 2, clWhite, 24);
    EXPECT_EQ(s.Bitmap->Stride(), 12);
    SetPixel(s.Dc(), 2, 1, RGB(1, 2, 3));
    const std::uint8_t* row = s.Bitmap->ScanLine(1);
    EXPECT_EQ(row[6], 3);  // B, G, R
    EXPECT_EQ(row[7], 2);
    EXPECT_EQ(row[8], 1);
    EXPECT_EQ(GetPixel(s.Dc(), 2, 1), RGB(1, 2, 3));
}

TEST(DcTest, SystemColoursResolveWhenDrawing) {
    TTestSurface s(2, 2);
    FillRect(s.Dc(), {0, 0, 2, 2}, CreateSolidBrush(clBtnFace));
    EXPECT_EQ(s.At(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
}

TEST(DcTest, ThirtyTwoBitPixelsAreBgraTopDown) {
    TTestSurface s(3, 2);
    SetPixel(s.Dc(), 1, 1, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(s.Bitmap->Pixels()[1 * 3 + 1], 0x00112233u);
    const std::uint8_t* p = s.Bitmap->ScanLine(1) + 4;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[2], 0x11);
}

}  // namespace
}  // namespace gfx
