// The slider: the application's seek bar (skin thumb, smooth, transparent) with its event order,
// the range and increment rules, ruler jumps on the clock, snapping without soSmooth, the vertical
// layout, the keys, the own pictures and a slider too narrow for its ruler.
#include "skin/controls/slider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls_test_support.h"

namespace skin {
namespace {

class SliderTest : public test::TControlsTest {
protected:
    TbsSkinSlider* NewSlider(int width = 150, int height = 40, const std::string& name = "Slider") {
        auto* slider = Make<TbsSkinSlider>(10, 10, width, height, name);
        slider->OnChange = [this, slider](vcl::TObject*) {
            Log.push_back("change " + std::to_string(slider->Value()));
        };
        slider->OnChanged = [this](vcl::TObject*) { Log.push_back("changed"); };
        slider->OnMouseDown = [this](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            Log.push_back("down");
        };
        slider->OnMouseUp = [this, slider](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int,
                                           int) {
            Log.push_back("up " + std::to_string(slider->Value()));
        };
        Run();
        return slider;
    }
    // The application's preview seek bar.
    TbsSkinSlider* SeekBar() {
        auto* slider = NewSlider(241, 26);
        slider->SetOptions({soShowFocus, soSmooth});
        slider->SetTransparent(true);
        slider->SetUseSkinThumb(true);
        slider->SetIncrement(5);
        slider->SetMaxValue(slider->Width());
        Run();
        Log.clear();
        return slider;
    }
    std::vector<std::string> Log;
};

using TLog = std::vector<std::string>;

TEST_F(SliderTest, SeekBarDragRaisesItsEventsInOrder) {
    LoadStored(0);
    auto* slider = SeekBar();
    ASSERT_NE(slider->FIndex, -1);
    const int state = slider->HThumbRect.Width() / 2;
    EXPECT_EQ(slider->RulerLength(), 229 - state);
    EXPECT_EQ(slider->ThumbRect().Left, 6);
    EXPECT_EQ(slider->ThumbRect().Width(), state);
    const int grab = slider->ThumbRect().Left + 3, y = slider->ThumbRect().Top + 3;
    Down(slider, grab, y);
    MoveTo(slider, grab + 50, y);
    const int first = slider->Value();
    MoveTo(slider, grab + 100, y);
    const int final = slider->Value();
    Up(slider, grab + 100, y);
    EXPECT_EQ(Log,
              (TLog{"down", "change " + std::to_string(first), "change " + std::to_string(final),
                    "changed", "up " + std::to_string(final)}));
    EXPECT_GT(final, 0);
    // Smooth: every pixel is a value, the thumb sits where the value puts it.
    EXPECT_EQ(slider->ThumbRect().Left,
              6 + int(std::nearbyint(double(final) / 241 * slider->RulerLength())));
}

TEST_F(SliderTest, SeekBarValueAboveTheRange) {
    LoadStored(0);
    auto* slider = SeekBar();
    slider->SetValue(1000);
    EXPECT_EQ(slider->Value(), 241);
    EXPECT_EQ(Log, (TLog{"change 241"}));
    EXPECT_EQ(slider->ThumbRect().Left, 6 + slider->RulerLength());
    slider->SetValue(1000);
    EXPECT_EQ(Log.size(), 1u) << "no change, no event";
}

TEST_F(SliderTest, RangeAndIncrementRules) {
    auto* slider = NewSlider();
    slider->SetMaxValue(0);
    slider->SetMaxValue(-5);
    EXPECT_EQ(slider->MaxValue(), 100) << "a range that does not increase is ignored";
    slider->SetMinValue(100);
    EXPECT_EQ(slider->MinValue(), 0);
    slider->SetIncrement(0);
    slider->SetIncrement(-3);
    EXPECT_EQ(slider->Increment(), 10);
    slider->SetMaxValue(4);
    EXPECT_EQ(slider->Increment(), 4) << "a range narrower than the increment shrinks it";
    slider->SetValue(4);
    slider->SetMaxValue(2);
    EXPECT_EQ(slider->Value(), 2) << "the value follows the range";
}

TEST_F(SliderTest, RulerPressJumpsAtOnceThenEvery400Ms) {
    auto* slider = NewSlider();
    slider->SetMinValue(3);
    slider->SetValue(3);
    Log.clear();
    const int y = slider->RulerOrg().Y + 2;
    Down(slider, 70, y);
    EXPECT_EQ(slider->Value(), 10);
    Wait(390);
    EXPECT_EQ(slider->Value(), 10);
    Wait(10);
    EXPECT_EQ(slider->Value(), 20);
    Wait(2000);
    EXPECT_TRUE(slider->ThumbRect().Contains(70, slider->ThumbRect().Top))
        << "the jumps stop once the thumb reaches the pointer";
    const int reached = slider->Value();
    Wait(800);
    EXPECT_EQ(slider->Value(), reached);
    Up(slider, 70, y);
    EXPECT_EQ(Log.back(), "up " + std::to_string(reached));
    EXPECT_EQ(Log[Log.size() - 2], "changed");
}

TEST_F(SliderTest, WithoutSmoothADragGivesIncrementsFromTheMinimum) {
    auto* slider = NewSlider();
    slider->SetOptions({});
    slider->SetMinValue(3);
    Log.clear();
    const TRect thumb = slider->ThumbRect();
    Down(slider, thumb.Left + 2, thumb.Top + 2);
    std::vector<int> seen;
    for (int x = thumb.Left + 3; x < 160; x += 7) {
        MoveTo(slider, x, thumb.Top + 2);
        seen.push_back(slider->Value());
    }
    Up(slider, 160, thumb.Top + 2);
    EXPECT_EQ(seen.back(), 100);
    for (int v : seen) EXPECT_TRUE((v - 3) % 10 == 0 || v == 100) << v;
    EXPECT_GT(std::count(Log.begin(), Log.end(), "change 53"), 0);
}

TEST_F(SliderTest, VerticalHasTheMinimumAtTheBottom) {
    auto* slider = NewSlider();
    slider->SetOrientation(soVertical);
    EXPECT_EQ(slider->Width(), 40);
    EXPECT_EQ(slider->Height(), 150);
    const int bottom = slider->ThumbRect().Top;
    EXPECT_EQ(bottom, 150 - 6 - slider->ThumbRect().Height());
    slider->SetFocus();
    Run();
    Log.clear();
    Press(win::VK_UP);
    Run();
    EXPECT_EQ(slider->Value(), 10);
    EXPECT_LT(slider->ThumbRect().Top, bottom);
    EXPECT_EQ(Log, (TLog{"change 10", "changed"}));
    Press(win::VK_END);
    Run();
    EXPECT_EQ(slider->Value(), 100);
    EXPECT_EQ(slider->ThumbRect().Top, 6);
    Press(win::VK_HOME);
    Run();
    EXPECT_EQ(slider->Value(), 0);
    Press(win::VK_RIGHT);  // not an arrow of a vertical slider
    Run();
    EXPECT_EQ(slider->Value(), 0);
    slider->SetOrientation(soHorizontal);
    EXPECT_EQ(slider->Width(), 150);
}

TEST_F(SliderTest, ArrowsOfAHorizontalSliderStayWithIt) {
    auto* slider = NewSlider();
    auto* other = NewSlider(150, 40, "Other");
    other->SetTop(60);
    slider->SetFocus();
    Run();
    Press(win::VK_RIGHT);
    Press(win::VK_RIGHT);
    Run();
    EXPECT_EQ(slider->Value(), 20);
    EXPECT_TRUE(slider->Focused()) << "the arrows do not move the focus on";
    Press(win::VK_LEFT);
    Run();
    EXPECT_EQ(slider->Value(), 10);
}

TEST_F(SliderTest, OwnPictureNilRestoresTheDefault) {
    auto* slider = NewSlider();
    const int defaultWidth = slider->ImageHThumb()->Width();
    EXPECT_EQ(defaultWidth, 18);
    EXPECT_EQ(slider->ImageHRuler()->Width(), 10);
    EXPECT_EQ(slider->ImageVThumb()->Width(), 38);
    EXPECT_EQ(slider->ImageVRuler()->Height(), 10);
    auto own = test::SolidPicture(30, 12, gfx::RGB(9, 9, 9));
    slider->SetImageHThumb(own.get());
    slider->SetOptions({soThumbOpaque, soRulerOpaque});
    EXPECT_EQ(slider->ImageHThumb()->Width(), 30);
    EXPECT_EQ(slider->ThumbRect().Width(), 15);
    slider->SetImageHThumb(nullptr);
    EXPECT_EQ(slider->ImageHThumb()->Width(), defaultWidth);
    EXPECT_FALSE(slider->Options().Contains(soThumbOpaque));
    EXPECT_TRUE(slider->Options().Contains(soRulerOpaque));
    EXPECT_EQ(slider->ThumbRect().Width(), 9);
}

TEST_F(SliderTest, AShortOwnRulerDrawsItsEnds) {
    auto* slider = NewSlider();
    slider->SetEdgeSize(3);
    auto ruler = test::SolidPicture(10, 8, gfx::RGB(50, 60, 70));
    slider->SetImageHRuler(ruler.get());
    auto tiny = test::SolidPicture(6, 8, gfx::RGB(50, 60, 70));
    slider->SetImageHRuler(tiny.get());  // no longer than its two ends
    EXPECT_EQ(slider->Ruler().Width(), 150 - 12);
    Run();
}

TEST_F(SliderTest, TooNarrowForItsRulerKeepsTheMinimum) {
    auto* slider = NewSlider(10, 40);
    EXPECT_LE(slider->RulerLength(), 0);
    EXPECT_EQ(slider->ThumbRect().Left, 6);
    const TRect thumb = slider->ThumbRect();
    Down(slider, thumb.Left + 1, thumb.Top + 2);
    MoveTo(slider, thumb.Left + 3, thumb.Top + 2);
    MoveTo(slider, thumb.Left - 4, thumb.Top + 2);
    Up(slider, thumb.Left - 4, thumb.Top + 2);
    slider->SetFocus();
    Run();
    for (int key : {win::VK_RIGHT, win::VK_END, win::VK_LEFT}) {
        Press(key);
        Run();
    }
    EXPECT_EQ(slider->Value(), 0);
    EXPECT_EQ(slider->ThumbRect().Left, 6);
    slider->SetWidth(150);
    slider->SetValue(50);
    EXPECT_EQ(slider->Value(), 50) << "a slider grown back has its travel again";
}

}  // namespace
}  // namespace skin
