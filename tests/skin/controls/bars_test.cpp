// The skinned tool bar (centring, scrolling with its non-client arrows, what it hands its speed
// buttons and bevels) and the status bar's size grip.
#include "skin/controls/bars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_test_support.h"
#include "skin/controls/bevel.h"
#include "skin/controls/speed_button.h"

namespace skin {
namespace {

class ToolBars : public test::TControlsTest {
public:
    // A bar 200 wide holding five 60-pixel speed buttons side by side (300 in all).
    TbsSkinToolBar* Bar() {
        auto* bar = Make<TbsSkinToolBar>(10, 10, 100, 30, "Bar");
        bar->SetCanScroll(true);
        bar->SetScrollOffset(30);
        bar->SetScrollTimerInterval(50);
        for (int i = 0; i < 5; ++i)
            Buttons.push_back(Make<TbsSkinSpeedButton>(i * 60, 0, 60, 22, "", bar));
        bar->SetWidth(200);
        Run();
        return bar;
    }
    // Screen points over the arrows, outside the client area.
    gfx::TPoint LeftArrow(TbsSkinToolBar* bar) { return bar->ClientToScreen({-6, 10}); }
    gfx::TPoint RightArrow(TbsSkinToolBar* bar) {
        return bar->ClientToScreen({bar->ClientWidth() + 6, 10});
    }
    std::vector<TbsSkinSpeedButton*> Buttons;
};

TEST_F(ToolBars, HoldingTheRightArrowScrollsStepByStepUntilTheLastButtonShows) {
    auto* bar = Bar();
    ASSERT_TRUE(bar->ArrowsShown());
    EXPECT_EQ(bar->ClientWidth(), 200 - 2 * 12);
    EXPECT_EQ(bar->ScrollPosition(), 0);
    Screen->MouseMove(RightArrow(bar));
    Screen->MouseDown(RightArrow(bar));
    Run();
    EXPECT_EQ(bar->ScrollTimerMode(), 2);
    std::vector<int> positions;
    for (int i = 0; i < 6; ++i) {
        Wait(50);
        positions.push_back(bar->ScrollPosition());
    }
    EXPECT_EQ(positions, (std::vector<int>{30, 60, 90, 120, 124, 124}));
    EXPECT_EQ(bar->ScrollTimerMode(), 0);
    EXPECT_EQ(Buttons.back()->Left() + Buttons.back()->Width(), bar->ClientWidth());
    Screen->MouseUp(RightArrow(bar));
    Run();
    EXPECT_EQ(bar->ScrollPosition(), 124);
    // A click on the left arrow: one step back at the release.
    Screen->MouseMove(LeftArrow(bar));
    Screen->MouseDown(LeftArrow(bar));
    Screen->MouseUp(LeftArrow(bar));
    Run();
    EXPECT_EQ(bar->ScrollPosition(), 94);
    EXPECT_EQ(Buttons.front()->Left(), -94);
}

TEST_F(ToolBars, WideningScrollsBackByTheGrowthAndAllFittingDropsTheArrows) {
    auto* bar = Bar();
    Screen->MouseMove(RightArrow(bar));
    Screen->MouseDown(RightArrow(bar));
    Run();
    Wait(300);
    Screen->MouseUp(RightArrow(bar));
    Run();
    ASSERT_EQ(bar->ScrollPosition(), 124);
    bar->SetWidth(250);
    EXPECT_EQ(bar->ScrollPosition(), 74);
    EXPECT_EQ(Buttons.front()->Left(), -74);
    bar->SetWidth(330);
    EXPECT_EQ(bar->ScrollPosition(), 0);
    EXPECT_FALSE(bar->ArrowsShown());
    EXPECT_EQ(bar->ClientWidth(), 330);
    EXPECT_EQ(Buttons.front()->Left(), 0);
}

TEST_F(ToolBars, HotScrollRunsWhileThePointerRestsOnAnArrowAndStopsWhenItLeaves) {
    auto* bar = Bar();
    bar->SetHotScroll(true);
    Screen->MouseMove(RightArrow(bar));
    Run();
    Wait(100);
    EXPECT_EQ(bar->ScrollPosition(), 60);
    MoveAway();
    Wait(100);
    EXPECT_EQ(bar->ScrollTimerMode(), 0);
    EXPECT_EQ(bar->ScrollPosition(), 60);
}

TEST_F(ToolBars, ChildrenStayCentredAndTakeWhatTheBarHandsThem) {
    auto* bar = Make<TbsSkinToolBar>(10, 10, 300, 40, "Bar");
    auto* b = Make<TbsSkinSpeedButton>(0, 0, 40, 20, "", bar);
    auto* bevel = new TbsSkinBevel(Form);
    bevel->SetParent(bar);
    bevel->SetBounds(50, 0, 4, 30);
    for (int top : {0, 3, 25}) {
        b->SetTop(top);
        bevel->SetTop(top);
        const TRect r = bar->GetSkinClientRect();
        EXPECT_EQ(b->Top(), r.Top + r.Height() / 2 - 10);
        EXPECT_EQ(bevel->Top(), r.Top + r.Height() / 2 - 15);
    }
    bar->SetFlat(true);
    EXPECT_TRUE(b->Flat());
    TbsSkinData* other = new TbsSkinData(Form);
    bar->SetSkinData(other);
    EXPECT_EQ(b->SkinData(), other);
    EXPECT_EQ(bevel->SkinData(), other);
    vcl::TCustomImageList images(nullptr, 16, 16), hot(nullptr, 16, 16);
    bar->SetImages(&images);
    bar->SetHotImages(&hot);
    vcl::TCustomImageList *i = nullptr, *h = nullptr, *d = nullptr;
    EXPECT_TRUE(SkinParentOf(b)->ChildImages(i, h, d));
    EXPECT_EQ(i, &images);
    EXPECT_EQ(h, &hot);
    EXPECT_EQ(d, nullptr);
    bar->SetImages(nullptr);
    bar->SetHotImages(nullptr);
}

TEST_F(ToolBars, ShowCaptionsSwitchesTheWidth) {
    auto* bar = Make<TbsSkinToolBar>(10, 10, 150, 30, "Bar");
    auto* b = Make<TbsSkinSpeedButton>(0, 0, 40, 20, "", bar);
    bar->SetAutoShowHideCaptions(true);
    bar->SetWidthWithCaptions(200);
    bar->SetWidthWithoutCaptions(120);
    bar->SetShowCaptions(true);
    EXPECT_EQ(bar->Width(), 200);
    EXPECT_TRUE(b->ShowCaption());
    bar->SetShowCaptions(false);
    EXPECT_EQ(bar->Width(), 120);
    EXPECT_FALSE(b->ShowCaption());
}

class StatusBars : public test::TControlsTest {};

TEST_F(StatusBars, TheGripAnswersTheSizingHitTestAndSizesTheForm) {
    auto* bar = Make<TbsSkinStatusBar>(0, 0, 100, 21, "Status");
    Run();
    EXPECT_EQ(bar->Align(), vcl::alBottom);
    const win::HWND h = bar->Handle();
    auto hit = [&](int x, int y) {
        const gfx::TPoint p = bar->ClientToScreen({x, y});
        return int(win::SendMessage(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(p.X, p.Y)));
    };
    const int platform = hit(bar->Width() - 5, 10);
    bar->SetSizeGrip(true);
    const TRect grip = bar->GripRect();
    EXPECT_EQ(grip.Right, bar->Width());
    EXPECT_EQ(hit(grip.Left + 5, grip.Top + 5), win::HTBOTTOMRIGHT);
    EXPECT_EQ(hit(10, 10), win::HTCLIENT);
    bar->SetShowGrip(false);
    EXPECT_EQ(hit(bar->Width() - 5, 10), platform);
    bar->SetShowGrip(true);

    const int width = Form->Width(), height = Form->Height();
    const gfx::TPoint from = bar->ClientToScreen({grip.Left + 8, grip.Top + 8});
    Screen->MouseMove(from);
    Screen->MouseDown(from);
    Screen->MouseMove({from.X + 30, from.Y + 20});
    Screen->MouseUp({from.X + 30, from.Y + 20});
    Run();
    EXPECT_EQ(Form->Width(), width + 30);
    EXPECT_EQ(Form->Height(), height + 20);
    EXPECT_EQ(bar->Top() + bar->Height(), Form->ClientHeight());
}

}  // namespace
}  // namespace skin
