// The up-down control: a click steps at the release, a held button repeats on the clock (600 ms,
// then 100 ms, 50 ms after coming back), the held button alone lights, the range rules of
// Position, Min and Max, and the looks: default, the record at its own size, "resizebutton".
#include "skin/controls/up_down.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_test_support.h"

namespace skin {
namespace {

using gfx::TColor;
using TLog = std::vector<std::string>;

class UpDownTest : public test::TControlsTest {
protected:
    TbsSkinUpDown* NewUpDown(const std::string& name = "UpDown") {
        auto* upDown = Make<TbsSkinUpDown>(10, 10, 50, 25, name);
        upDown->SetPosition(10);
        upDown->OnChange = [this, upDown](vcl::TObject*) {
            Log.push_back("change " + std::to_string(upDown->Position()));
        };
        upDown->OnUpButtonClick = [this](vcl::TObject*) { Log.push_back("up click"); };
        upDown->OnDownButtonClick = [this](vcl::TObject*) { Log.push_back("down click"); };
        upDown->OnMouseUp = [this](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            Log.push_back("mouse up");
        };
        Run();
        return upDown;
    }
    TLog Log;
};

// Horizontal: the down button is the left half, the up button the right half.
constexpr int kUpX = 37, kDownX = 12, kY = 12;

TEST_F(UpDownTest, ClickStepsOnceAtTheRelease) {
    auto* upDown = NewUpDown();
    Down(upDown, kUpX, kY);
    Wait(100);
    EXPECT_EQ(upDown->Position(), 10);
    Up(upDown, kUpX, kY);
    EXPECT_EQ(upDown->Position(), 11);
    EXPECT_EQ(Log, (TLog{"change 11", "up click", "mouse up"}));
}

TEST_F(UpDownTest, HeldButtonRepeatsAfter600ThenEvery100) {
    auto* upDown = NewUpDown();
    upDown->SetIncrement(2);
    Down(upDown, kUpX, kY);
    Wait(590);
    EXPECT_EQ(upDown->Position(), 10);
    Wait(10);
    EXPECT_EQ(upDown->Position(), 12);
    Wait(200);
    EXPECT_EQ(upDown->Position(), 16);
    MoveTo(upDown, kDownX, kY);  // off the held button
    Wait(300);
    EXPECT_EQ(upDown->Position(), 16);
    MoveTo(upDown, kUpX, kY);
    Wait(100);
    EXPECT_EQ(upDown->Position(), 20) << "every 50 ms after coming back";
    MoveTo(upDown, 25, 40);  // off the control
    Wait(300);
    EXPECT_EQ(upDown->Position(), 20);
    MoveTo(upDown, kUpX, kY);
    Wait(50);
    EXPECT_EQ(upDown->Position(), 22);
    Up(upDown, kUpX, kY);
    EXPECT_EQ(upDown->Position(), 24) << "the release adds one";
    Wait(300);
    EXPECT_EQ(upDown->Position(), 24);
}

TEST_F(UpDownTest, SlidingToTheOtherButtonStepsNothing) {
    auto* upDown = NewUpDown();
    Down(upDown, kUpX, kY);
    EXPECT_TRUE(upDown->Button(0).MouseIn);
    MoveTo(upDown, kDownX, kY);
    EXPECT_FALSE(upDown->Button(1).MouseIn) << "the other button never lights";
    EXPECT_FALSE(upDown->Button(0).MouseIn);
    Wait(300);
    Up(upDown, kDownX, kY);
    EXPECT_EQ(upDown->Position(), 10);
    EXPECT_EQ(Log, (TLog{"mouse up"}));
}

TEST_F(UpDownTest, DownButtonStepsDown) {
    auto* upDown = NewUpDown();
    Down(upDown, kDownX, kY);
    Up(upDown, kDownX, kY);
    EXPECT_EQ(upDown->Position(), 9);
    EXPECT_EQ(Log, (TLog{"change 9", "down click", "mouse up"}));
}

TEST_F(UpDownTest, PositionRules) {
    auto* upDown = NewUpDown();
    upDown->SetPosition(101);
    EXPECT_EQ(upDown->Position(), 10);
    EXPECT_TRUE(Log.empty()) << "outside the range: ignored, no event";
    upDown->SetPosition(10);
    EXPECT_EQ(Log, (TLog{"change 10"})) << "the same value raises OnChange again";
    Log.clear();
    upDown->SetMax(3);
    EXPECT_EQ(upDown->Position(), 3);
    upDown->SetMin(5);
    upDown->SetMax(100);
    EXPECT_EQ(upDown->Position(), 5);
    EXPECT_TRUE(Log.empty());
    upDown->SetPosition(100);
    Log.clear();
    Down(upDown, kUpX, kY);
    Up(upDown, kUpX, kY);
    EXPECT_EQ(upDown->Position(), 100) << "a step beyond Max is ignored";
    EXPECT_EQ(Log, (TLog{"up click", "mouse up"}));
}

TEST_F(UpDownTest, IncrementZeroStartsNoTimer) {
    auto* upDown = NewUpDown();
    upDown->SetIncrement(0);
    const auto timers = win::GetWinStats().Timers;
    Down(upDown, kUpX, kY);
    EXPECT_EQ(win::GetWinStats().Timers, timers);
    Wait(1000);
    Up(upDown, kUpX, kY);
    EXPECT_EQ(upDown->Position(), 10);
    EXPECT_EQ(Log, (TLog{"up click", "mouse up"}));
}

TEST_F(UpDownTest, VerticalPutsUpOnTop) {
    auto* upDown = NewUpDown();
    upDown->SetOrientation(udVertical);
    upDown->SetBounds(10, 10, 20, 40);
    EXPECT_EQ(upDown->Button(0).R, (TRect{0, 0, 20, 20}));
    EXPECT_EQ(upDown->Button(1).R, (TRect{0, 20, 20, 40}));
    EXPECT_EQ(upDown->SkinDataName(), "hupdown") << "the record name stays at run time";
}

TEST_F(UpDownTest, DefaultLookLightsTheHoveredButton) {
    auto* upDown = NewUpDown();
    const TColor face = gfx::ColorToRGB(gfx::clBtnFace);
    EXPECT_EQ(PixelOf(upDown, kUpX - 8, 3), face);
    MoveTo(upDown, kUpX, kY);
    EXPECT_EQ(PixelOf(upDown, kUpX - 8, 3), gfx::RGB(182, 189, 210));
    EXPECT_EQ(PixelOf(upDown, 25, 0), gfx::RGB(0, 0, 128));
    Down(upDown, kUpX, kY);
    EXPECT_EQ(PixelOf(upDown, kUpX - 8, 3), gfx::RGB(133, 147, 181));
    Up(upDown, kUpX, kY);
    MoveAway();
    EXPECT_EQ(PixelOf(upDown, kUpX - 8, 3), face);
}

TEST_F(UpDownTest, RecordAtItsOwnSizeOrResizeButtons) {
    constexpr TColor kBack = gfx::RGB(10, 20, 30), kHotUp = gfx::RGB(40, 200, 40),
                     kButton = gfx::RGB(200, 100, 50);
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(100, 40, kBack));
    test::FillArea(*pictures[0], {40, 0, 52, 16}, kHotUp);
    test::FillArea(*pictures[0], {60, 0, 80, 20}, kButton);
    const std::string upDownKeys =
        "pictureindex=0\nskinrect=0,0,24,16\nlefttoppoint=5,5\nclientrect=2,2,20,14\n"
        "upbuttonrect=12,0,24,16\ndownbuttonrect=0,0,12,16\nactiveupbuttonrect=40,0,52,16\n";
    Load(test::FixtureSkin({{"hupdown", "updown", upDownKeys}}, std::move(pictures)));
    auto* upDown = NewUpDown();
    EXPECT_EQ(upDown->Width(), 24) << "the record's size, whatever its section says";
    EXPECT_EQ(upDown->Height(), 16);
    EXPECT_EQ(upDown->Button(0).R, (TRect{12, 0, 24, 16}));
    EXPECT_EQ(PixelOf(upDown, 18, 8), kBack);
    MoveTo(upDown, 18, 8);
    EXPECT_EQ(PixelOf(upDown, 18, 8), kHotUp);

    // At any size: each button drawn from "resizebutton", or plainly when the skin lacks it.
    upDown->SetUseSkinSize(false);
    upDown->SetBounds(10, 10, 50, 25);
    EXPECT_EQ(upDown->Width(), 50);
    EXPECT_EQ(upDown->Button(0).R, (TRect{25, 0, 50, 25}));
    MoveAway();
    EXPECT_EQ(PixelOf(upDown, 30, 3), gfx::ColorToRGB(gfx::clBtnFace));

    std::vector<std::unique_ptr<gfx::TBitmap>> more;
    more.push_back(test::SolidPicture(100, 40, kBack));
    test::FillArea(*more[0], {60, 0, 80, 20}, kButton);
    Load(test::FixtureSkin(
        {{"hupdown", "updown", upDownKeys},
         {"resizebutton", "button",
          "pictureindex=0\nskinrect=60,0,80,20\nlefttoppoint=3,3\nrighttoppoint=17,3\n"
          "leftbottompoint=3,17\nrightbottompoint=17,17\nclientrect=3,3,17,17\n"}},
        std::move(more)));
    EXPECT_EQ(upDown->Width(), 50);
    EXPECT_EQ(PixelOf(upDown, 30, 3), kButton);
    EXPECT_EQ(PixelOf(upDown, 5, 20), kButton);
}

}  // namespace
}  // namespace skin
