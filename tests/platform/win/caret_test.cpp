// The caret blinks on the manual clock, inverts exactly its rectangle, and painting never
// leaves a stale or doubled caret behind.
#include "platform/win/caret.h"

#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

class CaretTest : public TWinTest {
protected:
    void SetUp() override {
        TWinTest::SetUp();
        Owner = Top(10, 10, 100, 60);
        PumpMessages();
    }
    HWND Owner;
};

TEST_F(CaretTest, BlinksOnTheClockAndNests) {
    ASSERT_TRUE(CreateCaret(Owner, 2, 12));
    ASSERT_TRUE(SetCaretPos(20, 5));
    PumpMessages();
    EXPECT_FALSE(IsCaretDrawn()) << "a new caret starts hidden";
    ASSERT_TRUE(ShowCaret(Owner));
    PumpMessages();
    EXPECT_TRUE(IsCaretDrawn());
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clBlack);
    EXPECT_EQ(ClientPixel(Owner, 21, 16), gfx::clBlack);
    EXPECT_EQ(ClientPixel(Owner, 22, 5), gfx::clWhite);
    EXPECT_EQ(ClientPixel(Owner, 20, 17), gfx::clWhite);

    const int blink = int(GetCaretBlinkTime());
    AdvanceMs(blink);
    PumpMessages();
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clWhite);
    AdvanceMs(blink);
    PumpMessages();
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clBlack);

    // Two hides need two shows.
    HideCaret(Owner);
    HideCaret(Owner);
    ShowCaret(Owner);
    PumpMessages();
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clWhite);
    ShowCaret(Owner);
    PumpMessages();
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clBlack);

    // Moving restarts the blink with the caret on, at the new place only.
    AdvanceMs(blink + 10);
    SetCaretPos(40, 5);
    PumpMessages();
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clWhite);
    EXPECT_EQ(ClientPixel(Owner, 40, 5), gfx::clBlack);
    TPoint p;
    ASSERT_TRUE(GetCaretPos(p));
    EXPECT_EQ(p, (TPoint{40, 5}));
}

TEST_F(CaretTest, TheInputMethodSpotFollowsTheCaret) {
    const HWND child = Child(Owner, 15, 8, 60, 30);
    PumpMessages();
    ASSERT_TRUE(CreateCaret(child, 1, 12));
    ASSERT_TRUE(SetCaretPos(20, 5));
    EXPECT_EQ(Screen->TextSpot(Owner), (TPoint{15 + 20, 8 + 5 + 12}));
    SetCaretPos(7, 2);
    EXPECT_EQ(Screen->TextSpot(Owner), (TPoint{15 + 7, 8 + 2 + 12}));
}

TEST_F(CaretTest, PaintingUnderTheCaretLeavesOneCaret) {
    CreateCaret(Owner, 2, 12);
    SetCaretPos(20, 5);
    ShowCaret(Owner);
    PumpMessages();
    ASSERT_EQ(ClientPixel(Owner, 20, 5), gfx::clBlack);
    for (int i = 0; i < 2; ++i) {
        InvalidateRect(Owner, nullptr, true);
        PumpMessages();
        EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::clBlack) << "paint " << i;
    }
    // A DC drawing over the caret takes it off first; it comes back when drawing is done.
    HDC dc = GetDC(Owner);
    EXPECT_FALSE(IsCaretDrawn());
    gfx::FillRect(dc, {0, 0, 100, 60}, gfx::CreateSolidBrush(gfx::clRed));
    ReleaseDC(Owner, dc);
    PumpMessages();
    EXPECT_EQ(ClientPixel(Owner, 20, 5), gfx::RGB(0, 255, 255));
    EXPECT_EQ(ClientPixel(Owner, 30, 5), gfx::clRed);
}

TEST_F(CaretTest, GoesWithItsWindowOrDestroyCaret) {
    EXPECT_FALSE(ShowCaret(Owner)) << "no caret yet";
    CreateCaret(Owner, 2, 12);
    ShowCaret(Owner);
    PumpMessages();
    EXPECT_TRUE(IsCaretDrawn());
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(IsCaretDrawn());
    EXPECT_EQ(ClientPixel(Owner, 0, 0), gfx::clWhite);

    HWND other = Top(200, 10, 50, 50);
    CreateCaret(other, 2, 12);
    ShowCaret(other);
    PumpMessages();
    DestroyWindow(other);
    PumpMessages();
    EXPECT_FALSE(IsCaretDrawn());
    EXPECT_FALSE(SetCaretPos(1, 1));
}

}  // namespace
}  // namespace win::test
