// Hints on the virtual clock: the pause before a hint, OnShowHint, the hint window class and
// what takes a hint away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;

std::vector<std::string>* HintLog = nullptr;

class TRecordingHint : public THintWindow {
public:
    using THintWindow::THintWindow;
    void ActivateHint(TRect rect, const std::string& hint) override {
        HintLog->push_back("activate " + hint + " at " + std::to_string(rect.Left) + "," +
                           std::to_string(rect.Top));
        THintWindow::ActivateHint(rect, hint);
    }
};

class HintsTest : public TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        HintLog = &log;
        HintWindowClass = HintWindowClassOf<TRecordingHint>();
        Application->SetShowHint(false);  // made again from the new class
        Application->SetShowHint(true);
        Application->OnShowHint = [this](std::string& text, bool&, THintInfo& info) {
            log.push_back("show " + text + " for " + info.HintControl->Name());
        };
        form = ShowForm(0, 0, 300, 200);
        target = new TCustomControl(form);
        target->SetName("Target");
        target->SetParent(form);
        target->SetBounds(20, 20, 100, 50);
        target->SetHint("Convert the queue");
        target->SetShowHint(true);
        Run();
    }
    void TearDown() override {
        HintWindowClass = HintWindowClassOf<THintWindow>();
        TVclTest::TearDown();
    }
    bool HintShowing() const {
        THintWindow* w = Application->HintWindow();
        return w && w->HandleAllocated() && win::IsWindowVisible(w->Handle());
    }

    std::vector<std::string> log;
    TForm* form = nullptr;
    TCustomControl* target = nullptr;
};

TEST_F(HintsTest, AHintShowsAfterHintPauseAndGoesAfterHintHidePause) {
    EXPECT_TRUE(dynamic_cast<TRecordingHint*>(Application->HintWindow()));
    Screen->MouseMove(At(target, 10, 10));
    Run();
    AdvanceMs(499);
    Run();
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(HintShowing());
    AdvanceMs(1);
    Run();
    const TPoint cursor = At(target, 10, 10);
    // Below the pointer by the arrow cursor's height.
    EXPECT_EQ(
        log, (std::vector<std::string>{"show Convert the queue for Target",
                                       "activate Convert the queue at " + std::to_string(cursor.X) +
                                           "," + std::to_string(cursor.Y + 19)}));
    EXPECT_TRUE(HintShowing());
    EXPECT_EQ(Application->HintControl(), target);
    AdvanceMs(2499);
    Run();
    EXPECT_TRUE(HintShowing());
    AdvanceMs(1);
    Run();
    EXPECT_FALSE(HintShowing());
}

TEST_F(HintsTest, AKeyTakesTheHintAway) {
    Screen->MouseMove(At(target, 10, 10));
    Run();
    AdvanceMs(500);
    Run();
    ASSERT_TRUE(HintShowing());
    Press('A');
    Run();
    EXPECT_FALSE(HintShowing());
}

TEST_F(HintsTest, OnShowHintCanChangeOrRefuseTheHint) {
    Application->OnShowHint = [](std::string& text, bool& canShow, THintInfo&) {
        canShow = text != "refused";
        text = "changed";
    };
    Screen->MouseMove(At(target, 10, 10));
    Run();
    AdvanceMs(500);
    Run();
    EXPECT_EQ(log.back().rfind("activate changed at ", 0), 0u);
    Application->CancelHint();
    target->SetHint("refused");
    Screen->MouseMove(At(form, 200, 150));
    Screen->MouseMove(At(target, 12, 10));
    Run();
    AdvanceMs(600);
    Run();
    EXPECT_FALSE(HintShowing());
}

}  // namespace
}  // namespace vcl
