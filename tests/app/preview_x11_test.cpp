// The preview pane on a real X server (x11_run.sh starts a private Xvfb): the main window with a
// previewed clip shows the pane's picture on the root window, and play moves the seek bar.
#include <stdlib.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "app/about_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program.h"
#include "fixtures/fixtures.h"
#include "platform/vcl/vcl.h"
#include "platform/win/video_host.h"
#include "platform/win/x11_test_support.h"
#include "support/temp_dir.h"

namespace app {
namespace {

class PreviewX11Test : public win::test::TX11Test {
public:
    void SetUp() override {
        TX11Test::SetUp();
        if (HasFatalFailure()) return;
        setenv("HOME", FHome.Path().c_str(), 1);
        setenv("MORADEX_APPDIR", FProgram.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (FHome.Path() + "/config").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        vcl::InitializeApplication();
    }
    void TearDown() override {
        if (Form1) Form1->FFPlayer->Stop(true);
        vcl::FinalizeApplication();
        Form1 = nullptr;
        Form2 = nullptr;
        Form5 = nullptr;
        TX11Test::TearDown();
    }

    testsupport::TTempDir FHome, FProgram;
};

TEST_F(PreviewX11Test, APreviewedClipShowsOnTheScreenAndPlayMovesTheSeekBar) {
    CreateForms();
    Form1->Show();
    ASSERT_TRUE(PumpUntil([] { return Form1->HandleAllocated(); }));
    ASSERT_TRUE(PumpUntil([this] { return Shows(Form1->Handle()); }));

    Form1->T_Movie_PLayer_FileName = fixtures::Path(fixtures::kClipAvi);
    Form1->Button31Click();
    std::shared_ptr<win::TVideoHost> host;
    ASSERT_TRUE(PumpUntil([&] {
        int64_t pts = -1;
        Form1->FFPlayer->CurrentFrame(pts);
        host = win::FindVideoHost(Form1->Panel6->Handle());
        return pts >= 0 && Form1->FFPlayer->Paused() && host && host->Picture();
    }));
    ASSERT_EQ(host->Picture()->Width(), 240);
    ASSERT_EQ(host->Picture()->Height(), 145);

    // The root window shows the pane's picture where Panel6 is. A file opened paused shows the
    // pictures it queued first as they come due: the screen is compared with the picture the
    // pane holds at that moment, until they agree.
    const vcl::TPoint origin = Form1->Panel6->ClientToScreen({0, 0});
    int differing = 0;
    win::test::TShot shot;
    const bool shown = PumpUntil([&] {
        const win::TPicture picture = host->Picture();
        shot = Screenshot();
        differing = 0;
        for (int y = 0; y < 145; ++y)
            for (int x = 0; x < 240; ++x)
                differing += (shot.At(origin.X + x, origin.Y + y) & 0xFFFFFF) !=
                             (picture->Pixels()[std::size_t(y) * 240 + std::size_t(x)] & 0xFFFFFF);
        return differing == 0;
    });
    if (!shown) win::test::SavePng(shot, MORADEX_TEST_OUTPUT "/preview_x11.png");
    ASSERT_TRUE(shown) << differing << " pixels of the pane differ from its picture at " << origin.X
                       << "," << origin.Y;

    // Play moves the bar.
    const int before = Form1->bsSkinSlider1->Value();
    EXPECT_LT(before, 20) << "resting at the start";
    Form1->btnPreviewPlay->ButtonClick();
    EXPECT_TRUE(PumpUntil([&] { return Form1->bsSkinSlider1->Value() > before + 20; }))
        << Form1->bsSkinSlider1->Value();
}

}  // namespace
}  // namespace app
