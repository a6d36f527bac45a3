// The preview pane: a file opened paused on its first picture in Panel6, the log lines, the seek
// bar in step with the player and the user's seeks, the end of the file, play, pause, stop and
// mute, and files that cannot be played.
#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

#include <gtest/gtest.h>

#include "platform/sys/main_thread.h"
#include "preview_test_support.h"

namespace app::test {
namespace {

// Mean of a 5 x 5 block around (cx, cy) of 0xAARRGGBB pixels, per channel.
std::array<int, 3> BlockMean(const std::uint32_t* pixels, int stride, int cx, int cy) {
    std::array<int, 3> sum{};
    for (int y = cy - 2; y <= cy + 2; ++y)
        for (int x = cx - 2; x <= cx + 2; ++x) {
            const std::uint32_t p = pixels[std::size_t(y) * std::size_t(stride) + std::size_t(x)];
            sum[0] += int(p >> 16 & 0xFF);
            sum[1] += int(p >> 8 & 0xFF);
            sum[2] += int(p & 0xFF);
        }
    for (int& s : sum) s /= 25;
    return sum;
}

// The state names the log got since line `from`.
std::vector<std::string> States(const std::vector<std::string>& log, std::size_t from = 0) {
    std::vector<std::string> states;
    for (std::size_t i = from; i < log.size(); ++i)
        for (const char* s : {"Play", "Pause", "Resume", "Step", "Stop", "End"})
            if (log[i] == s) states.push_back(s);
    return states;
}

TEST_F(TPreviewTest, APreviewRestsPausedOnTheFirstPictureFittedIntoThePane) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    EXPECT_EQ(Form1->FScreenControl, Form1->Panel6);
    EXPECT_EQ(Form1->FFPlayer->ScreenWidth(), 240);
    EXPECT_EQ(Form1->FFPlayer->ScreenHeight(), 145);
    EXPECT_TRUE(Form1->FFPlayer->Paused());
    // Opened paused, the player shows the pictures it decoded first, then holds still.
    int64_t pts = -1;
    Form1->FFPlayer->CurrentFrame(pts);
    EXPECT_GE(pts, 0);
    EXPECT_LE(pts, 80'000);

    const std::vector<std::string> log = LogLines();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].rfind("File Name: ", 0), 0u) << log[0];
    const auto duration = std::find(log.begin(), log.end(), "duration: 2.01, frame size: 320x240");
    ASSERT_NE(duration, log.end()) << testing::PrintToString(log);
    EXPECT_EQ(States(log), (std::vector<std::string>{"Play", "Pause"}));
    EXPECT_EQ(log.back(), "Pause");
    EXPECT_EQ(States({log.begin(), duration}), std::vector<std::string>{})
        << "the probe text and the duration come first";

    EXPECT_LE(Form1->bsSkinSlider1->Value(), 241 * 80'000 / 2'011'000) << "at the start";
    EXPECT_EQ(Form1->bsSkinSlider1->MaxValue(), 241);
    EXPECT_EQ(Form1->bsSkinSlider1->Increment(), 5);

    // 320 x 240 fitted into 240 x 145 keeps its shape: 192 x 145 in the middle.
    const win::TPicture shown = PaneHost()->Picture();
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->Width(), 240);
    ASSERT_EQ(shown->Height(), 145);
    gfx::TBitmap frame;
    frame.Assign(Form1->FFPlayer->CurrentFrame());
    frame.SetPixelFormat(gfx::pf32bit);
    ASSERT_EQ(frame.Width(), 320);
    std::vector<std::uint32_t> framePixels;
    for (int y = 0; y < 240; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(frame.ScanLine(y));
        framePixels.insert(framePixels.end(), row, row + 320);
    }
    std::set<std::array<int, 3>> seen;
    for (int gy = 1; gy <= 5; ++gy)
        for (int gx = 1; gx <= 7; ++gx) {
            const int px = 24 + 192 * gx / 8, py = 145 * gy / 6;
            const int fx = 320 * gx / 8, fy = 240 * gy / 6;
            const std::array<int, 3> pane = BlockMean(shown->Pixels(), shown->Width(), px, py);
            const std::array<int, 3> source = BlockMean(framePixels.data(), 320, fx, fy);
            seen.insert(pane);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(pane[std::size_t(c)], source[std::size_t(c)], 40)
                    << "block " << gx << "," << gy << " channel " << c;
        }
    EXPECT_GT(seen.size(), 10u) << "a picture, not a plain colour";
    EXPECT_EQ(shown->Pixels()[72 * 240 + 5] & 0xFFFFFF, 0u) << "black bars beside it";
    // The window shows what the host holds.
    const gfx::TColor middle = ClientPixel(Form1->Panel6->Handle(), 120, 72);
    const std::uint32_t expected = shown->Pixels()[72 * 240 + 120];
    EXPECT_EQ(middle,
              gfx::TColor(gfx::RGB(expected >> 16 & 0xFF, expected >> 8 & 0xFF, expected & 0xFF)));
}

TEST_F(TPreviewTest, TheSeekBarFollowsPositionsIn64BitsUnlessItIsHeld) {
    StartPreview();
    Form1->bsSkinSlider1->SetMaxValue(241);
    const struct {
        int64_t Duration;
        int64_t Pts;
        int Value;  // -1: left as it was
    } cases[] = {
        {120'000'000, 30'000'000, 60},
        {120'000'000, 120'000'000, 241},
        {10'800'000'000, 5'400'000'000, 120},  // three hours: the product needs 64 bits
        {120'000'000, -1, -1},
        {0, 30'000'000, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pts);
        Form1->bsSkinSlider1->SetValue(7);
        Form1->FDuration = c.Duration;
        Form1->FFPlayerPosition(c.Pts);
        EXPECT_EQ(Form1->bsSkinSlider1->Value(), c.Value < 0 ? 7 : c.Value);
    }
    Form1->FDuration = 120'000'000;
    Form1->bsSkinSlider1_down_UP = "Down";
    Form1->FFPlayerPosition(30'000'000);
    EXPECT_EQ(Form1->bsSkinSlider1->Value(), 7) << "held: positions leave the bar alone";
}

TEST_F(TPreviewTest, ReleasingTheSeekBarSeeksThereAndPlaysOn) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    skin::TbsSkinSlider* bar = Form1->bsSkinSlider1;
    const vcl::TPoint at = At(bar, bar->Width() / 2, bar->Height() / 2);
    Screen->MouseDown(at);
    Run();
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "Down");
    EXPECT_TRUE(Form1->FFPlayer->Paused());
    bar->SetValue(120);
    Form1->FFPlayerPosition(1'500'000);
    EXPECT_EQ(bar->Value(), 120) << "held: positions leave the bar alone";
    Screen->MouseUp(at);
    Run();
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");
    // 2 s x 120 / 241 = 0.996 s.
    int64_t pts = -1;
    ASSERT_TRUE(RunUntil([&] {
        Form1->FFPlayer->CurrentFrame(pts);
        return !Form1->FFPlayer->Seeking() && pts >= 900'000 && LogCount("Resume") == 1;
    }));
    EXPECT_LT(pts, 1'400'000);
    EXPECT_FALSE(Form1->FFPlayer->Paused()) << "plays on after the release";
    EXPECT_EQ(States(LogLines()).back(), "Resume");
}

TEST_F(TPreviewTest, AtTheEndTheFileGoesBackToTheStartAndRestsPausedWhileTheBarMoved) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    Form1->bsSkinOfficeComboBox1->SetFocus();
    Click(Form1->btnPreviewPlay, 5, 5);
    EXPECT_EQ(Form1->ActiveControl(), Form1->lvFiles);
    int highest = 0;
    ASSERT_TRUE(RunUntil([&] {
        highest = std::max(highest, Form1->bsSkinSlider1->Value());
        int64_t pts = -1;
        Form1->FFPlayer->CurrentFrame(pts);
        return LogCount("End") == 1 && Form1->FFPlayer->Paused() && pts >= 0 && pts < 100'000 &&
               Form1->bsSkinSlider1->Value() == 0 && States(LogLines()).back() == "Pause";
    }));
    EXPECT_GT(highest, 200) << "the bar went along while it played";
    const std::vector<std::string> states = States(LogLines());
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states[states.size() - 2], "End");
    EXPECT_EQ(states.back(), "Pause");
}

TEST_F(TPreviewTest, PlayAndPauseFocusTheListAndTheMuteButtonsSwap) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    Click(Form1->btnPreviewPlay, 5, 5);
    ASSERT_TRUE(RunUntil([] { return !Form1->FFPlayer->Paused(); }));
    Form1->bsSkinOfficeComboBox1->SetFocus();
    Click(Form1->btnPreviewPause, 5, 5);
    ASSERT_TRUE(RunUntil([] { return Form1->FFPlayer->Paused(); }));
    EXPECT_EQ(Form1->ActiveControl(), Form1->lvFiles);

    EXPECT_EQ(Form1->bsSkinButton20->BoundsRect(), Form1->btnMute->BoundsRect());
    const struct {
        skin::TbsSkinButton* Press;
        bool Mute;
    } steps[] = {{Form1->btnMute, true}, {Form1->bsSkinButton20, false}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Press->Name());
        Click(s.Press, 5, 5);
        EXPECT_EQ(Form1->FFPlayer->Mute(), s.Mute);
        EXPECT_EQ(Form1->btnMute->Visible(), !s.Mute);
        EXPECT_EQ(Form1->bsSkinButton20->Visible(), s.Mute);
    }
}

TEST_F(TPreviewTest, StopDoesNothingWithoutARowAndReopensTheFilePausedWithOne) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    Click(Form1->btnPreviewPlay, 5, 5);
    // The state line reaches the log through the message queue, after the player turned.
    ASSERT_TRUE(RunUntil([&] { return !Form1->FFPlayer->Paused() && LogCount("Resume") == 1; }));
    const std::size_t before = LogLines().size();
    Click(Form1->btnPreviewStop, 5, 5);
    EXPECT_EQ(LogLines().size(), before);
    EXPECT_FALSE(Form1->FFPlayer->Paused());

    Form1->lvFiles->Items().Add()->SetCaption("clip.avi");
    Form1->lvFiles->SetItemIndex(0);
    Form1->bsSkinOfficeComboBox1->SetFocus();
    Click(Form1->btnPreviewStop, 5, 5);
    ASSERT_TRUE(RunUntil([&] {
        int64_t pts = -1;
        Form1->FFPlayer->CurrentFrame(pts);
        return LogCount("duration: 2.01, frame size: 320x240") == 2 && LogCount("Pause") == 2 &&
               Form1->FFPlayer->Paused() && pts >= 0 && PaneHost()->Picture();
    }));
    const std::vector<std::string> states = States(LogLines(), before);
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(states.end() - 3, states.end()),
              (std::vector<std::string>{"Stop", "Play", "Pause"}));
    EXPECT_EQ(Form1->ActiveControl(), Form1->lvFiles);
}

TEST_F(TPreviewTest, AStoppedPlayerLeavesThePaneInItsOwnColour) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    const win::HWND pane = Form1->Panel6->Handle();
    ASSERT_NE(ClientPixel(pane, 120, 72), Form1->Panel6->Color());
    Form1->FFPlayer->Stop(true);
    ASSERT_TRUE(RunUntil([&] { return LogCount("Stop") == 1; }));
    EXPECT_EQ(PaneHost()->Picture(), nullptr);
    for (const vcl::TPoint p : {vcl::TPoint{120, 72}, vcl::TPoint{60, 30}, vcl::TPoint{200, 120}})
        EXPECT_EQ(ClientPixel(pane, p.X, p.Y), Form1->Panel6->Color()) << p.X << "," << p.Y;
}

TEST_F(TPreviewTest, TheOpenDoesNotHoldUpTheSelectionAndItsLinesKeepTheirOrder) {
    StartPreview();
    media::TInputOptions io;
    media::TOutputOptions oo;
    vcl::TListItem* row = Form1->Rows().AddRow(io, oo, 0);
    row->SetCaption(fixtures::Path(fixtures::kClipAvi));
    row->SubItems().Put(siChoiceKey, std::to_string(Form1->CurrentChoiceKey()));
    row->SubItems().Put(siOptionString, Form1->CurrentOptionString());
    Form1->lvFiles->SetItemIndex(0);
    EXPECT_EQ(Form1->T_Movie_PLayer_FileName, fixtures::Path(fixtures::kClipAvi));
    // The selection has returned: the file opens meanwhile, and nothing of it is logged yet.
    EXPECT_FALSE(Form1->FFPlayer->Playing());
    EXPECT_EQ(LogCount("duration: 2.01, frame size: 320x240"), 0);
    ASSERT_TRUE(RunUntil([&] {
        const std::vector<std::string> states = States(LogLines());
        return !states.empty() && states.back() == "Pause" && PaneHost()->Picture();
    }));
    const std::vector<std::string> log = LogLines();
    const auto info = std::find_if(log.begin(), log.end(), [](const std::string& l) {
        return l.rfind("File Name: ", 0) == 0;
    });
    const auto duration = std::find(log.begin(), log.end(), "duration: 2.01, frame size: 320x240");
    ASSERT_NE(info, log.end());
    ASSERT_NE(duration, log.end());
    EXPECT_LT(info, duration);
    EXPECT_EQ(States({duration, log.end()}), (std::vector<std::string>{"Play", "Pause"}));
    EXPECT_EQ(States({log.begin(), duration}), std::vector<std::string>{});
    EXPECT_EQ(Form1->bsSkinSlider1->MaxValue(), 241);
}

TEST_F(TPreviewTest, ASecondOpenBeforeTheFirstFileIsOpenShowsOnlyTheSecond) {
    StartPreview();
    Form1->T_Movie_PLayer_FileName = fixtures::Path(fixtures::kClipAvi);
    Form1->Button31Click();
    Form1->T_Movie_PLayer_FileName = fixtures::Path(fixtures::kTinyClipAvi);
    Form1->Button31Click();
    ASSERT_TRUE(RunUntil([&] {
        return LogCount("Pause") > 0 && PaneHost()->Picture() && Form1->FFPlayer->Paused();
    }));
    // Some more turns: a late report of the first file would come in them.
    for (int i = 0; i < 50; ++i) {
        Run();
        sys::CheckSynchronize(2);
    }
    EXPECT_EQ(Form1->FFPlayer->FileName(), fixtures::Path(fixtures::kTinyClipAvi));
    EXPECT_EQ(LogCount("duration: 2.01, frame size: 320x240"), 0) << "the first file never opened";
    EXPECT_EQ(LogCount("duration: 0.42, frame size: 160x120"), 1)
        << testing::PrintToString(LogLines());
    EXPECT_EQ(States(LogLines()), (std::vector<std::string>{"Play", "Pause"}));
    EXPECT_EQ(PaneHost()->Picture()->Width(), 240);
}

TEST_F(TPreviewTest, AFileThatCannotBePlayedAddsItsErrorToTheLogAndShowsNoBox) {
    StartPreview();
    for (const std::string& file : {fixtures::Path(fixtures::kTextFile), home.File("gone.avi")}) {
        SCOPED_TRACE(file);
        Form1->T_Movie_PLayer_FileName = file;
        Form1->Button31Click();
        // The file opens on the player's read thread: its error comes to the log afterwards.
        ASSERT_TRUE(RunUntil([&] {
            const std::string error = Form1->FFPlayer->LastErrMsg();
            return error.find(file) != std::string::npos && LogCount(error) > 0;
        }));
        const std::string error = Form1->FFPlayer->LastErrMsg();
        EXPECT_NE(error.find(file), std::string::npos) << error;
        // The handler's own line is the error itself (the logger adds the player's line too).
        EXPECT_EQ(LogCount(error), 1);
    }
    EXPECT_TRUE(Screen->Beeps().empty()) << "no message box";
    EXPECT_EQ(Screen->PendingIdleSteps(), 0u);
}

}  // namespace
}  // namespace app::test
