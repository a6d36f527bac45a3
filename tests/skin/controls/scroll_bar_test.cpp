// The skinned scroll bar: its range rules as a table of operations, the layout of its parts in
// the default look and with a record, the thumb drag, the repeats of its buttons and track on the
// manual clock, and the keys and wheel of a focusable bar.
#include "skin/controls/scroll_bar.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls_test_support.h"

namespace skin {
namespace {

using gfx::TColor;

class TBarProbe : public TbsSkinScrollBar {
public:
    using TbsSkinScrollBar::TbsSkinScrollBar;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TbsSkinScrollBar::Paint();
    }
};

class ScrollBarTest : public test::TControlsTest {
protected:
    // A bar at (10, 10) with counters on its events.
    TBarProbe* NewBar(int width = 200, int height = 19) {
        auto* bar = Make<TBarProbe>(10, 10, width, height, "Bar");
        bar->OnChange = [this](vcl::TObject*) { ++Changes; };
        bar->OnLastChange = [this](vcl::TObject*) { ++LastChanges; };
        bar->OnPageUp = [this](vcl::TObject*) { ++PageUps; };
        bar->OnPageDown = [this](vcl::TObject*) { ++PageDowns; };
        Run();
        return bar;
    }
    int Changes = 0, LastChanges = 0, PageUps = 0, PageDowns = 0;
};

TEST_F(ScrollBarTest, NewBarIsHorizontal200By19From0To100) {
    auto* bar = new TbsSkinScrollBar(Form);
    EXPECT_EQ(bar->Width(), 200);
    EXPECT_EQ(bar->Height(), 19);
    EXPECT_EQ(bar->Kind(), sbHorizontal);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(bar->PageSize(), 0);
    EXPECT_EQ(bar->SkinDataName(), "hscrollbar");
    EXPECT_FALSE(bar->TabStop());
}

struct TRangeCase {
    std::string Name;
    std::function<void(TbsSkinScrollBar&)> Setup;  // not counted
    std::function<void(TbsSkinScrollBar&)> Operation;
    int Position;
    int Changes;
    int PageSize;
    bool Repaints = true;
};

TEST_F(ScrollBarTest, RangeRules) {
    const std::vector<TRangeCase> cases = {
        {"above max", {}, [](auto& b) { b.SetPosition(150); }, 100, 1, 0},
        {"same again", [](auto& b) { b.SetPosition(100); }, [](auto& b) { b.SetPosition(100); },
         100, 0, 0, false},
        {"largest with a page", [](auto& b) { b.SetPageSize(13); },
         [](auto& b) { b.SetPosition(150); }, 88, 1, 13},
        {"range clamps silently", {}, [](auto& b) { b.SetRange(0, 100, 95, 13); }, 88, 0, 13},
        {"page that does not fit", [](auto& b) { b.SetPosition(90); },
         [](auto& b) { b.SetPageSize(20); }, 90, 0, 0},
        {"max lowers the position", [](auto& b) { b.SetRange(0, 100, 48, 10); },
         [](auto& b) { b.SetMax(50); }, 41, 0, 10},
        {"min above 0: bound never below min",
         {},
         [](auto& b) { b.SetRange(10, 15, 12, 20); },
         10,
         0,
         20},
        {"min above 0: page measured from min", [](auto& b) { b.SetRange(10, 20, 15, 0); },
         [](auto& b) { b.SetPageSize(5); }, 15, 0, 5},
        {"min above 0: max clamps to the bound", [](auto& b) { b.SetRange(10, 100, 55, 10); },
         [](auto& b) { b.SetMax(60); }, 51, 0, 10},
        {"min raises the position", [](auto& b) { b.SetPosition(5); },
         [](auto& b) { b.SetMin(20); }, 20, 0, 0},
        {"simply set: no event", {}, [](auto& b) { b.SimplySetPosition(70); }, 70, 0, 0},
    };
    for (const TRangeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* bar = NewBar();
        if (c.Setup) c.Setup(*bar);
        Changes = 0;
        const int paints = bar->Paints;
        c.Operation(*bar);
        EXPECT_EQ(bar->Position(), c.Position);
        EXPECT_EQ(Changes, c.Changes);
        EXPECT_EQ(bar->PageSize(), c.PageSize);
        EXPECT_EQ(bar->Paints > paints, c.Repaints);
        bar->Free();
    }
}

TEST_F(ScrollBarTest, DefaultLookInBothModeLeavesTheCornerPlain) {
    auto* bar = NewBar();
    bar->SetBoth(true);
    Run();
    EXPECT_EQ(bar->Part(1).R, (TRect{164, 1, 180, 18}));
    EXPECT_EQ(bar->Part(2).R, (TRect{1, 1, 17, 18}));
    const TColor face = gfx::ColorToRGB(gfx::clBtnFace);
    for (int x : {180, 190, 199})
        for (int y : {0, 9, 18}) EXPECT_EQ(PixelOf(bar, x, y), face) << x << "," << y;
    // The button itself is framed.
    EXPECT_EQ(PixelOf(bar, 164, 9), gfx::ColorToRGB(gfx::clBtnShadow));
    bar->SetBoth(false);
    Run();
    EXPECT_EQ(bar->Part(1).R, (TRect{183, 1, 199, 18}));
}

TEST_F(ScrollBarTest, PageThumbLength) {
    // The default track runs from 17 to 183 (166 pixels); the drawn thumb is 2 * (length div 2).
    struct TCase {
        int Max, Page, Drawn;
    };
    for (const TCase c : {TCase{99, 20, 32}, TCase{99, 50, 82}, TCase{99, 5, 16}, TCase{9, 1, 16},
                          TCase{199, 25, 20}}) {
        SCOPED_TRACE(c.Page);
        auto* bar = NewBar();
        bar->SetRange(0, c.Max, 0, c.Page);
        EXPECT_EQ(bar->Part(0).R.Width(), c.Drawn);
        EXPECT_EQ(bar->Part(0).R.Left, 17);
        bar->Free();
    }
}

TEST_F(ScrollBarTest, PageAboveTheSpanPutsTheThumbAtTheEndOrTheStart) {
    auto* horizontal = NewBar();
    horizontal->SetRange(0, 9, 0, 12);
    EXPECT_EQ(horizontal->Part(0).R.Right, 183);
    auto* vertical = Make<TbsSkinScrollBar>(250, 10, 19, 200, "V");
    vertical->SetKind(sbVertical);
    vertical->SetRange(0, 9, 0, 12);
    EXPECT_EQ(vertical->Part(0).R.Top, 17);
}

TEST_F(ScrollBarTest, ThumbDragFollowsThePointer) {
    // Thumb centre from 25 (Offset1) to 175 (Offset2): 150 pixels for the span.
    struct TCase {
        int Min, Max, Page;
        std::vector<std::pair<int, int>> Moves;  // pointer x, position
        int Changes;
    };
    const std::vector<TCase> cases = {
        {0, 100, 0, {{26, 1}, {27, 1}, {28, 2}, {100, 50}, {400, 100}, {-50, 0}}, 5},
        {10, 110, 0, {{26, 11}, {100, 60}}, 2},
    };
    for (const TCase& c : cases) {
        auto* bar = NewBar();
        bar->SetRange(c.Min, c.Max, c.Min, c.Page);
        Changes = LastChanges = 0;
        Down(bar, 25, 9);
        EXPECT_TRUE(bar->Part(0).Down);
        for (auto [x, position] : c.Moves) {
            MoveTo(bar, x, 9);
            EXPECT_EQ(bar->Position(), position) << "pointer at " << x;
        }
        EXPECT_EQ(Changes, c.Changes);
        EXPECT_EQ(LastChanges, 0);
        Up(bar, c.Moves.back().first, 9);
        EXPECT_EQ(LastChanges, 1);
        EXPECT_FALSE(bar->Part(0).Down);
        bar->Free();
        MoveAway();
    }
}

TEST_F(ScrollBarTest, DragWithAPageUsesTheThumbsOwnLength) {
    auto* bar = NewBar();
    bar->SetRange(0, 99, 0, 50);  // thumb 82 drawn (length 83): centre 58 to 142
    Down(bar, 50, 9);
    MoveTo(bar, 50 + 42, 9);
    EXPECT_EQ(bar->Position(), 25);  // nearest(50 * 42 / 84)
    MoveTo(bar, 400, 9);
    EXPECT_EQ(bar->Position(), 50);
    Up(bar, 400, 9);
}

TEST_F(ScrollBarTest, ReleaseWithoutAMoveStillRaisesLastChange) {
    auto* bar = NewBar();
    Down(bar, 25, 9);
    Up(bar, 25, 9);
    EXPECT_EQ(LastChanges, 1);
    EXPECT_EQ(Changes, 0);
}

TEST_F(ScrollBarTest, HeldButtonRepeatsOnTheClock) {
    auto* bar = NewBar();
    Down(bar, 190, 9);
    EXPECT_EQ(bar->Position(), 1) << "one step at once";
    Wait(500);
    EXPECT_EQ(bar->Position(), 1) << "the first wait ends without a step";
    Wait(50);
    EXPECT_EQ(bar->Position(), 2);
    Wait(100);
    EXPECT_EQ(bar->Position(), 4);
    MoveTo(bar, 100, 9);
    Wait(200);
    EXPECT_EQ(bar->Position(), 4) << "off the button the repeat pauses";
    EXPECT_FALSE(bar->Part(1).MouseIn);
    MoveTo(bar, 190, 9);
    Wait(50);
    EXPECT_EQ(bar->Position(), 5) << "back on it resumes at 50 ms";
    Up(bar, 190, 9);
    Wait(200);
    EXPECT_EQ(bar->Position(), 5);
    EXPECT_EQ(Changes, 5);
}

TEST_F(ScrollBarTest, AssignedButtonClickReplacesTheStep) {
    auto* bar = NewBar();
    int ups = 0;
    bar->OnUpButtonClick = [&](vcl::TObject*) { ++ups; };
    Down(bar, 190, 9);
    EXPECT_EQ(ups, 1);
    Wait(600);
    EXPECT_EQ(ups, 3);
    Up(bar, 190, 9);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(Changes, 0);
}

TEST_F(ScrollBarTest, TrackPressPagesUntilTheThumbReachesThePointer) {
    auto* bar = NewBar();
    bar->SetLargeChange(10);
    bar->SetPosition(50);  // thumb 92..108
    Changes = 0;
    Down(bar, 40, 9);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_EQ(PageUps, 1);
    Wait(1000);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(PageUps, 4);
    Up(bar, 40, 9);
    // After the thumb: towards Max, raising OnPageDown.
    Down(bar, 150, 9);
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(PageDowns, 1);
    Up(bar, 150, 9);
    EXPECT_EQ(PageUps, 4);
}

TEST_F(ScrollBarTest, LeavingTheBarStopsOnlyThePageRepeatTowardsMax) {
    auto* bar = NewBar();
    bar->SetLargeChange(10);
    Down(bar, 150, 9);
    Wait(550);
    EXPECT_EQ(bar->Position(), 20);
    MoveTo(bar, 150, 60);
    Wait(300);
    EXPECT_EQ(bar->Position(), 20) << "towards Max the repeat ends when the pointer leaves";
    Up(bar, 150, 60);
    bar->SetPosition(100);
    Down(bar, 40, 9);
    Wait(550);
    EXPECT_EQ(bar->Position(), 80);
    MoveTo(bar, 40, 60);
    Wait(50);
    EXPECT_EQ(bar->Position(), 70) << "towards Min it goes on";
    Up(bar, 40, 60);
}

TEST_F(ScrollBarTest, RightPressRaisesOnlyMouseDown) {
    auto* bar = NewBar();
    int downs = 0;
    bar->OnMouseDown = [&](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
        ++downs;
    };
    Screen->MouseMove(At(bar, 190, 9));
    Screen->MouseDown(At(bar, 190, 9), win::TMouseButton::Right);
    Run();
    Wait(700);
    Screen->MouseUp(At(bar, 190, 9), win::TMouseButton::Right);
    Run();
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_FALSE(bar->Part(1).Down);
}

TEST_F(ScrollBarTest, ArrowsAndWheelOnlyWhenFocusable) {
    for (bool focusable : {false, true}) {
        SCOPED_TRACE(focusable);
        auto* bar = NewBar();
        bar->SetSmallChange(3);
        bar->SetPosition(50);
        bar->SetCanFocused(focusable);
        EXPECT_EQ(bar->TabStop(), focusable);
        bar->SetFocus();
        Run();
        Press(win::VK_RIGHT);
        Run();
        Press(win::VK_UP);
        Press(win::VK_UP);
        Run();
        Screen->Wheel(At(bar, 100, 9), -120);
        Run();
        EXPECT_EQ(bar->Position(), focusable ? 50 + 3 - 6 + 3 : 50);
        Screen->Wheel(At(bar, 100, 9), 120);
        Run();
        EXPECT_EQ(bar->Position(), focusable ? 47 : 50);
        bar->Free();
    }
}

// A press takes the focus only for a bar that asks for it; the press acts either way.
TEST_F(ScrollBarTest, APressFocusesOnlyABarThatAsksForIt) {
    auto* holder = NewBar();
    holder->SetCanFocused(true);
    for (bool focusable : {false, true}) {
        SCOPED_TRACE(focusable);
        auto* bar = Make<TBarProbe>(10, 40, 200, 19, "Pressed");
        bar->SetCanFocused(focusable);
        holder->SetFocus();
        Run();
        ASSERT_TRUE(holder->Focused());
        // The second press comes at once, so it may arrive as a double click.
        for (int press = 1; press <= 2; ++press) {
            Screen->MouseDown(At(bar, 190, 9));
            Run();
            Screen->MouseUp(At(bar, 190, 9));
            Run();
            EXPECT_EQ(bar->Focused(), focusable) << press;
            EXPECT_EQ(holder->Focused(), !focusable) << press;
            EXPECT_EQ(bar->Position(), press) << press;
        }
        bar->Free();
    }
}

TEST_F(ScrollBarTest, RecordLayoutStretchesTheTrackAndMovesTheFarButton) {
    constexpr TColor kBack = gfx::RGB(10, 20, 30), kThumb = gfx::RGB(200, 40, 40),
                     kHotUp = gfx::RGB(40, 200, 40);
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(120, 40, kBack));
    test::FillArea(*pictures[0], {0, 20, 30, 30}, kThumb);
    test::FillArea(*pictures[0], {40, 20, 60, 40}, kHotUp);
    Load(test::FixtureSkin(
        {{"hscrollbar", "scrollbar",
          "pictureindex=0\nskinrect=0,0,100,20\nlefttoppoint=20,2\nrighttoppoint=78,2\n"
          "leftbottompoint=20,18\nrightbottompoint=80,18\nclientrect=20,2,80,18\n"
          "stretcheffect=1\ntrackarea=20,0,80,20\nupbuttonrect=80,0,100,20\n"
          "downbuttonrect=0,0,20,20\nactiveupbuttonrect=40,20,60,40\nthumbrect=0,20,30,30\n"}},
        std::move(pictures)));
    auto* bar = NewBar(200, 20);
    EXPECT_NE(bar->FIndex, -1);
    EXPECT_EQ(bar->TrackRect(), (TRect{20, 0, 180, 20}));
    EXPECT_EQ(bar->Part(1).R, (TRect{180, 0, 200, 20}));
    EXPECT_EQ(bar->Part(2).R, (TRect{0, 0, 20, 20}));
    EXPECT_EQ(bar->Part(0).R, (TRect{20, 5, 50, 15})) << "centred across the track";
    EXPECT_EQ(PixelOf(bar, 35, 10), kThumb);
    EXPECT_EQ(PixelOf(bar, 100, 2), kBack);
    MoveTo(bar, 190, 10);
    EXPECT_EQ(PixelOf(bar, 190, 10), kHotUp);
    bar->SetPosition(100);
    EXPECT_EQ(bar->Part(0).R, (TRect{150, 5, 180, 15}));
}

TEST_F(ScrollBarTest, EraseOutsideItsOwnPaintPaintsTheWholeBar) {
    auto* bar = NewBar();
    gfx::TDibDC dib = gfx::CreateDibDC(bar->Width(), bar->Height());
    gfx::FillRect(dib.DC.get(), {0, 0, bar->Width(), bar->Height()},
                  gfx::CreateSolidBrush(gfx::clWhite));
    EXPECT_EQ(bar->Perform(win::WM_ERASEBKGND, win::DcToParam(dib.DC.get())), 1);
    EXPECT_EQ(gfx::GetPixel(dib.DC.get(), 1, 1), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(gfx::GetPixel(dib.DC.get(), 100, 9), gfx::ColorToRGB(gfx::clBtnFace));
}

TEST_F(ScrollBarTest, KindAtRunTimeKeepsNameAndSize) {
    auto* bar = NewBar();
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->SkinDataName(), "hscrollbar");
    EXPECT_EQ(bar->Width(), 200);
    EXPECT_EQ(bar->Height(), 19);
}

}  // namespace
}  // namespace skin
