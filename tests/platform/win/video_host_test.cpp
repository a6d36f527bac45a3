// The video host: pictures published from a worker thread, coalesced repaints, read-back.
#include <gtest/gtest.h>

#include "platform/sys/main_thread.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"
#include "platform/win/video_host.h"
#include "platform/win/win_test_support.h"

namespace win::test {
namespace {

using VideoHostTest = TWinTest;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Picture i is a solid colour that names it.
TPicture MakePicture(int i) {
    auto s = std::make_shared<gfx::TSurface>(kWidth, kHeight, 32);
    std::fill(s->Pixels(), s->Pixels() + kWidth * kHeight, 0xFF000000u | std::uint32_t(i + 1));
    return s;
}

gfx::TColor PictureColor(int i) {
    return gfx::RGB(0, 0, i + 1);
}

TEST_F(VideoHostTest, BurstsOfPicturesCoalesceIntoOneRepaintEach) {
    const HWND form = Top(0, 0, 200, 150);
    const HWND panel = Child(form, 20, 20, kWidth, kHeight);
    PumpMessages();
    const auto host = GetVideoHost(panel);
    ASSERT_TRUE(host);
    EXPECT_EQ(GetVideoHost(panel), host);
    EXPECT_EQ(host->ClientSize(), (TSize{kWidth, kHeight}));
    ClearLog();

    // The worker publishes ten bursts of ten; the loop runs between the bursts.
    sys::TEvent go(false, false);
    sys::TEvent burstDone(false, false);
    auto worker = sys::StartThread([&] {
        for (int burst = 0; burst < 10; ++burst) {
            go.Wait();
            for (int i = 0; i < 10; ++i) host->Present(MakePicture(burst * 10 + i));
            burstDone.Set();
        }
    });
    for (int burst = 0; burst < 10; ++burst) {
        go.Set();
        ASSERT_EQ(burstDone.Wait(120'000), sys::TWaitResult::Signaled);  // a hang guard
        PumpMessages();
        EXPECT_EQ(ClientPixel(panel, 5, 5), PictureColor(burst * 10 + 9));
    }
    worker->WaitFor();
    EXPECT_EQ(host->PresentCount(), 100u);
    EXPECT_EQ(Count(WM_PAINT, panel), 10);
    EXPECT_EQ(ClientPixel(panel, kWidth - 1, kHeight - 1), PictureColor(99));
    EXPECT_EQ(ScreenPixel(20, 20), PictureColor(99));
    EXPECT_EQ(GetWinStats().Posted, 0u);
}

TEST_F(VideoHostTest, AFreeRunningWorkerEndsWithTheLastPicturePainted) {
    const HWND panel = Top(0, 0, kWidth, kHeight);
    PumpMessages();
    const auto host = GetVideoHost(panel);
    ClearLog();
    sys::TEvent done(true, false);
    auto worker = sys::StartThread([&] {
        for (int i = 0; i < 100; ++i) host->Present(MakePicture(i));
        done.Set();
    });
    // The loop runs while the worker publishes (pumping wait), then once more for the rest.
    ASSERT_EQ(sys::PumpingWait(done, 120'000), sys::TWaitResult::Signaled);
    worker->WaitFor();
    PumpMessages();
    ASSERT_TRUE(host->Picture());
    EXPECT_EQ(host->Picture()->Pixels()[0], 0xFF000000u | 100u);
    EXPECT_EQ(ClientPixel(panel, 0, 0), PictureColor(99));
    EXPECT_GE(Count(WM_PAINT, panel), 1);
    EXPECT_LE(Count(WM_PAINT, panel), 100);
}

TEST_F(VideoHostTest, ClearingRecordingResizingAndOutlivingTheWindow) {
    const HWND panel = Top(0, 0, 100, 80);
    PumpMessages();
    const auto host = GetVideoHost(panel);
    std::vector<TSize> sizes;
    host->OnResized = [&](TSize s) { sizes.push_back(s); };
    host->SetRecording(true);
    host->Present(MakePicture(1));
    host->Present(MakePicture(2));
    PumpMessages();
    EXPECT_EQ(ClientPixel(panel, 0, 0), PictureColor(2));
    EXPECT_EQ(ClientPixel(panel, 80, 60), gfx::clWhite);  // outside the picture
    const auto recorded = host->TakeRecorded();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0]->Pixels()[0], 0xFF000002u);
    EXPECT_TRUE(host->TakeRecorded().empty());

    // Cleared, the window paints its own background again.
    host->Clear();
    InvalidateRect(panel, nullptr, true);
    PumpMessages();
    EXPECT_FALSE(host->Picture());
    EXPECT_EQ(ClientPixel(panel, 0, 0), gfx::clWhite);

    SetWindowPos(panel, {}, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(host->ClientSize(), (TSize{120, 90}));
    ASSERT_EQ(sizes.size(), 1u);

    // After the window, publishing is harmless and queues nothing.
    DestroyWindow(panel);
    host->Present(MakePicture(3));
    host->Clear();
    PumpMessages();
    EXPECT_EQ(GetWinStats().Posted, 0u);
    EXPECT_FALSE(GetVideoHost(panel));
}

}  // namespace
}  // namespace win::test
