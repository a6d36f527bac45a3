#include "media/tasks/previewer.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/engine/run_test_support.h"
#include "media/libs/ff_utils.h"
#include "media/media_test_support.h"
#include "media/probe/av_probe.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/sys/main_thread.h"
#include "platform/vcl/vcl_test_support.h"
#include "platform/win/video_host.h"

namespace media {
namespace {

using win::TPoint;
using win::TRect;

// Every pixel tells where it is, shifted by `seed` to tell pictures apart.
void Fill(gfx::TBitmap& bitmap, int seed) {
    const int bytes = BitsPerPixel(bitmap) / 8;
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[x * bytes] = uint8_t(x + seed);      // B
            row[x * bytes + 1] = uint8_t(y);         // G
            row[x * bytes + 2] = uint8_t(x ^ seed);  // R
            if (bytes == 4) row[x * bytes + 3] = 0xFF;
        }
    }
}

std::unique_ptr<gfx::TBitmap> Pattern(int width, int height, int seed, int bitsPerPixel = 24) {
    std::unique_ptr<gfx::TBitmap> picture = CreateFrameBitmap(width, height, bitsPerPixel);
    Fill(*picture, seed);
    return picture;
}

// 0x00BBGGRR, as the screen reads.
gfx::TColor PatternColor(int x, int y, int seed) {
    return gfx::TColor(uint8_t(x ^ seed) | uint8_t(y) << 8 | uint32_t(uint8_t(x + seed)) << 16);
}

// A screen point on the window's close button, found by asking the frame what lies where.
std::optional<TPoint> CloseButtonOf(win::HWND window) {
    TRect bounds;
    win::GetWindowRect(window, bounds);
    TPoint client{0, 0};
    win::ClientToScreen(window, client);
    for (int y = bounds.Top; y < client.Y; ++y)
        for (int x = bounds.Right - 1; x >= bounds.Left; --x)
            if (win::SendMessage(window, win::WM_NCHITTEST, 0, win::MAKELPARAM(x, y)) ==
                win::HTCLOSE)
                return TPoint{x, y};
    return std::nullopt;
}

class PreviewerTest : public vcl::test::TVclTest {
protected:
    void TearDown() override {
        FPreviewer.reset();
        TVclTest::TearDown();
    }

    win::HWND Window() const { return FPreviewer->Form()->Handle(); }
    TPoint ClientOrigin() const {
        TPoint origin{0, 0};
        win::ClientToScreen(Window(), origin);
        return origin;
    }
    void ExpectShows(int seed, std::initializer_list<TPoint> points) {
        const TPoint origin = ClientOrigin();
        for (const TPoint& p : points)
            EXPECT_EQ(ScreenPixel(origin.X + p.X, origin.Y + p.Y), PatternColor(p.X, p.Y, seed))
                << p.X << "," << p.Y;
    }

    std::unique_ptr<TWindowPreviewer> FPreviewer = std::make_unique<TWindowPreviewer>();
};

TEST_F(PreviewerTest, TheFirstPictureMakesAFloatingToolWindowOfItsSizeCentredOnTheScreen) {
    EXPECT_EQ(FPreviewer->Form(), nullptr) << "no window before a picture";
    auto first = Pattern(320, 240, 0);
    // On the main thread with no loop running: painted at once.
    ASSERT_TRUE(FPreviewer->PaintFrame(*first, 1, 1'200'000));
    ASSERT_NE(FPreviewer->Form(), nullptr);
    const win::HWND window = Window();
    EXPECT_TRUE(win::IsWindowVisible(window));
    EXPECT_FALSE(win::GetWindow(window, win::GW_OWNER));
    const auto exStyle = win::DWORD(win::GetWindowLongPtr(window, win::GWL_EXSTYLE));
    EXPECT_NE(exStyle & win::WS_EX_TOPMOST, 0u);
    EXPECT_NE(exStyle & win::WS_EX_TOOLWINDOW, 0u);
    TRect client;
    win::GetClientRect(window, client);
    EXPECT_EQ(client.Width(), 320);
    EXPECT_EQ(client.Height(), 240);
    TRect bounds;
    win::GetWindowRect(window, bounds);
    EXPECT_NEAR((bounds.Left + bounds.Right) / 2.0, 640, 1);
    EXPECT_NEAR((bounds.Top + bounds.Bottom) / 2.0, 400, 1);
    EXPECT_EQ(win::GetWindowText(window), "00:00:01.200");
    ExpectShows(0, {{0, 0}, {100, 50}, {319, 239}});

    // A larger picture keeps the window's size and shows its top left part, unscaled.
    auto larger = Pattern(640, 480, 7, 32);
    ASSERT_TRUE(FPreviewer->PaintFrame(*larger, 2, 2'040'000));
    win::GetClientRect(window, client);
    EXPECT_EQ(client.Width(), 320);
    EXPECT_EQ(client.Height(), 240);
    EXPECT_EQ(win::GetWindowText(window), "00:00:02.040");
    ExpectShows(7, {{0, 0}, {200, 120}, {319, 239}});
}

// Several jobs preview at once: each new window covers no earlier one and not the area kept
// clear, and stays inside the work area; once no free place is left they step down and right.
TEST_F(PreviewerTest, NewWindowsOpenClearOfEarlierOnesAndOfTheKeptAreaInsideTheWorkArea) {
    win::MONITORINFO info;
    ASSERT_TRUE(win::GetMonitorInfo(
        win::MonitorFromRect({0, 0, 1, 1}, win::MONITOR_DEFAULTTOPRIMARY), info));
    const TRect work = info.rcWork;
    struct TCase {
        std::string Name;
        TRect KeepClear;
        int Count, Free;  // windows opened, and how many of them find a free place
    };
    const std::vector<TCase> cases = {
        {"nothing kept clear", {}, 4, 4},
        {"the centre kept clear", {500, 300, 780, 500}, 4, 4},
        {"more than the work area holds", {0, 0, 1280, 100}, 12, 5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TWindowPreviewer::SetKeepClear([&] { return c.KeepClear; });
        std::vector<std::unique_ptr<TWindowPreviewer>> previews;
        std::vector<TRect> placed;
        auto picture = Pattern(320, 240, 0);
        for (int i = 0; i < c.Count; ++i) {
            previews.push_back(std::make_unique<TWindowPreviewer>());
            ASSERT_TRUE(previews.back()->PaintFrame(*picture, 1, 0));
            TRect r;
            win::GetWindowRect(previews.back()->Form()->Handle(), r);
            EXPECT_TRUE(r.Left >= work.Left && r.Top >= work.Top && r.Right <= work.Right &&
                        r.Bottom <= work.Bottom)
                << "window " << i << " leaves the work area";
            if (i == 0 && c.KeepClear.IsEmpty()) {
                EXPECT_NEAR((r.Left + r.Right) / 2.0, 640, 1) << "the first one is centred";
            }
            // While a free place is left, nothing is covered; after that each steps on from the
            // newest.
            const bool overlapsAny = std::any_of(placed.begin(), placed.end(), [&](const TRect& p) {
                return !gfx::IntersectRect(r, p).IsEmpty();
            });
            if (i < c.Free) {
                EXPECT_FALSE(overlapsAny) << "window " << i << " covers an earlier one";
                EXPECT_TRUE(gfx::IntersectRect(r, c.KeepClear).IsEmpty())
                    << "window " << i << " covers the area kept clear";
            } else if (!placed.empty()) {
                EXPECT_NE(r, placed.back()) << "window " << i << " lies exactly on the newest";
            }
            placed.push_back(r);
        }
        // A closed window's place is free again.
        previews.front().reset();
        auto next = std::make_unique<TWindowPreviewer>();
        ASSERT_TRUE(next->PaintFrame(*picture, 1, 0));
        TRect r;
        win::GetWindowRect(next->Form()->Handle(), r);
        if (c.Count == c.Free) {
            EXPECT_EQ(r, placed.front());
        }
    }
    TWindowPreviewer::SetKeepClear({});
}

TEST_F(PreviewerTest, ClosedByTheUserItHidesAndPaintsNoMore) {
    auto picture = Pattern(160, 120, 0);
    ASSERT_TRUE(FPreviewer->PaintFrame(*picture, 1, 40'000));
    const win::HWND window = Window();
    const std::optional<TPoint> close = CloseButtonOf(window);
    ASSERT_TRUE(close.has_value()) << "the frame offers a close button";
    Screen->Click(*close);
    Run();
    EXPECT_FALSE(win::IsWindowVisible(window));
    auto next = Pattern(160, 120, 9);
    EXPECT_FALSE(FPreviewer->PaintFrame(*next, 2, 80'000));
    EXPECT_EQ(win::GetWindowText(window), "00:00:00.040") << "nothing drawn after the close";

    FPreviewer.reset();
    EXPECT_FALSE(win::IsWindow(window)) << "the window goes with its previewer";
}

TEST_F(PreviewerTest, APressOnThePictureDragsTheWindow) {
    auto picture = Pattern(200, 100, 0);
    ASSERT_TRUE(FPreviewer->PaintFrame(*picture, 1, 0));
    Run();
    TRect before;
    win::GetWindowRect(Window(), before);
    const TPoint start{ClientOrigin().X + 50, ClientOrigin().Y + 40};
    Screen->MouseDown(start);
    Screen->MouseMove({start.X + 20, start.Y + 10});
    Screen->MouseMove({start.X + 40, start.Y + 25});
    Screen->MouseUp({start.X + 40, start.Y + 25});
    Run();
    TRect after;
    win::GetWindowRect(Window(), after);
    EXPECT_EQ(after.Left - before.Left, 40);
    EXPECT_EQ(after.Top - before.Top, 25);
}

TEST_F(PreviewerTest, PressesElsewhereGoOnAndTwoWindowsFreedInEitherOrderLeaveTheOtherDragging) {
    int heard = 0;
    vcl::Application->OnMessage = [&](win::MSG& message, bool&) {
        if (message.message == win::WM_LBUTTONDOWN) ++heard;
    };
    // Away from where the two windows open (the centre, then the work area's top left).
    vcl::TForm* other = ShowForm(1100, 600, 100, 80, "Other");
    Watch(other);
    const size_t filtersBefore = win::GetWinStats().Filters;
    for (bool firstGoesFirst : {true, false}) {
        SCOPED_TRACE(firstGoesFirst ? "first freed first" : "second freed first");
        auto first = std::make_unique<TWindowPreviewer>();
        auto second = std::make_unique<TWindowPreviewer>();
        auto picture = Pattern(120, 90, 0);
        ASSERT_TRUE(first->PaintFrame(*picture, 1, 0));
        ASSERT_TRUE(second->PaintFrame(*picture, 1, 0));
        EXPECT_EQ(win::GetWinStats().Filters, filtersBefore + 2);

        heard = 0;
        ForgetHeard();
        Click(other, 10, 10);
        EXPECT_EQ(CountHeard("Other", win::WM_LBUTTONDOWN), 1);
        EXPECT_EQ(heard, 1) << "the application's hook still sees it";

        std::unique_ptr<TWindowPreviewer>& freed = firstGoesFirst ? first : second;
        std::unique_ptr<TWindowPreviewer>& kept = firstGoesFirst ? second : first;
        freed.reset();
        EXPECT_EQ(win::GetWinStats().Filters, filtersBefore + 1);
        const win::HWND window = kept->Form()->Handle();
        win::SetWindowPos(window, win::HWND_TOP, 400, 300, 0, 0,
                          win::SWP_NOSIZE | win::SWP_NOACTIVATE);
        Run();
        TRect before;
        win::GetWindowRect(window, before);
        TPoint start{10, 10};
        win::ClientToScreen(window, start);
        Screen->MouseDown(start);
        Screen->MouseMove({start.X + 40, start.Y + 25});
        Screen->MouseUp({start.X + 40, start.Y + 25});
        Run();
        TRect after;
        win::GetWindowRect(window, after);
        EXPECT_EQ(after.Left - before.Left, 40);
        EXPECT_EQ(after.Top - before.Top, 25);
        kept.reset();
        EXPECT_EQ(win::GetWinStats().Filters, filtersBefore);
    }
    other->Free();
}

// The engine paints from its conversion thread and writes its next picture into the same
// bitmap; the main thread may be busy meanwhile.
TEST_F(PreviewerTest, PicturesFromAnotherThreadNeitherWaitNorGetLostAndTheNewestIsShown) {
    auto bitmap = Pattern(160, 120, 0);
    // Paints seed after seed into the one bitmap, then scribbles over it; true when every paint
    // returned before the main thread ran a hand-over.
    auto paintFromAThread = [&](TWindowPreviewer& previewer, std::vector<int> seeds) {
        std::promise<void> done;
        std::future<void> returned = done.get_future();
        std::thread painter([&] {
            for (int seed : seeds) {
                Fill(*bitmap, seed);
                EXPECT_TRUE(previewer.PaintFrame(*bitmap, seed, seed * 40'000));
            }
            Fill(*bitmap, 99);
            done.set_value();
        });
        const bool inTime =
            returned.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
        while (returned.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
            sys::CheckSynchronize(1);
        painter.join();
        return inTime;
    };

    EXPECT_TRUE(paintFromAThread(*FPreviewer, {1, 2, 3}));
    EXPECT_EQ(FPreviewer->Form(), nullptr) << "window work waits for the main thread";
    sys::CheckSynchronize();
    Run();
    ASSERT_NE(FPreviewer->Form(), nullptr);
    EXPECT_EQ(win::GetWindowText(Window()), "00:00:00.120");
    ExpectShows(3, {{0, 0}, {80, 60}, {159, 119}});

    // Pictures the main thread did not get to are replaced, not queued behind each other.
    std::shared_ptr<win::TVideoHost> host = win::GetVideoHost(Window());
    host->SetRecording(true);
    EXPECT_TRUE(paintFromAThread(*FPreviewer, {4, 5, 6, 7}));
    EXPECT_EQ(win::GetWindowText(Window()), "00:00:00.120");
    sys::CheckSynchronize();
    Run();
    EXPECT_EQ(host->TakeRecorded().size(), 1u);
    EXPECT_EQ(win::GetWindowText(Window()), "00:00:00.280");
    ExpectShows(7, {{0, 0}, {80, 60}, {159, 119}});
    host->SetRecording(false);

    // A picture still waiting when the previewer goes is dropped with it.
    EXPECT_TRUE(paintFromAThread(*FPreviewer, {8}));
    const win::HWND window = Window();
    const size_t windows = Screen->StackOrder().size();
    FPreviewer.reset();
    sys::CheckSynchronize();
    Run();
    EXPECT_FALSE(win::IsWindow(window));
    EXPECT_EQ(Screen->StackOrder().size(), windows - 1) << "no window comes back";
}

// The engine frees its previewer on the conversion thread right after the last picture: that
// picture still reaches the screen before the window goes.
TEST_F(PreviewerTest, FreedOnAnotherThreadItsLastPictureIsShownBeforeTheWindowGoes) {
    auto bitmap = Pattern(160, 120, 5);
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread engine([&] {
        EXPECT_TRUE(FPreviewer->PaintFrame(*bitmap, 1, 40'000));
        Fill(*bitmap, 6);
        EXPECT_TRUE(FPreviewer->PaintFrame(*bitmap, 2, 80'000));
        FPreviewer.reset();
        done.set_value();
    });
    // One pass of a main loop: the hand-overs, then a look at the screen.
    std::set<std::string> captions;
    while (finished.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        sys::CheckSynchronize(1);
        for (win::HWND window : Screen->StackOrder())
            if (win::IsWindowVisible(window)) captions.insert(win::GetWindowText(window));
    }
    engine.join();
    EXPECT_EQ(captions.count("00:00:00.080"), 1u) << "the last picture was on screen";
}

// Whole runs through the task manager on a worker thread, the main thread waiting.
class PreviewRunTest : public vcl::test::TVclTest {
protected:
    void SetUp() override {
        TVclTest::SetUp();
        test::RequireLibraries();
        FManager.SetOnTerminate([this](TCustomFFTaskManager*, const TTerminateInfo& info) {
            std::lock_guard lock(FLock);
            FReports.push_back(info);
        });
    }
    void TearDown() override {
        FManager.ClearTasks();
        TVclTest::TearDown();
    }

    // clip.avi read at its own pace into an MPEG-4 AVI; returns the output's name.
    std::string Queue(const std::string& name) {
        const int task = FManager.AddTask(fixtures::Path(fixtures::kClipAvi), "re=1");
        EXPECT_GE(task, 0) << FManager.LastErrMsg();
        TOutputOptions options;
        options.VideoCodec = "mpeg4";
        options.AudioCodec = "mp2";
        const std::string output = FDir.File(name);
        EXPECT_TRUE(FManager.SetOutputFile(task, output, &options)) << FManager.LastErrMsg();
        return output;
    }
    // The run reads at the pace of the test's clock, which moves on at every look.
    bool Ended() {
        AdvanceMs(20);
        std::lock_guard lock(FLock);
        return !FReports.empty() && FReports.back().TaskIndex == -1;
    }
    // The window's client area as the screen shows it now, 0xRRGGBB per pixel, row by row.
    std::vector<std::uint32_t> ClientShot(win::HWND window) const {
        TRect client;
        win::GetClientRect(window, client);
        TPoint origin{0, 0};
        win::ClientToScreen(window, origin);
        const gfx::HBITMAP screen = Screen->Compose();
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x)
                pixels.push_back(screen->Pixels()[size_t(origin.Y + y) * screen->Width() +
                                                  size_t(origin.X + x)] &
                                 0xFFFFFF);
        return pixels;
    }
    // The preview windows on the screen now.
    std::vector<win::HWND> PreviewWindows() const {
        std::vector<win::HWND> windows;
        for (win::HWND window : Screen->StackOrder()) {
            const auto exStyle = win::DWORD(win::GetWindowLongPtr(window, win::GWL_EXSTYLE));
            if ((exStyle & win::WS_EX_TOOLWINDOW) != 0 && win::IsWindowVisible(window))
                windows.push_back(window);
        }
        return windows;
    }

    test::TTempDir FDir;
    TFFTaskManager FManager;
    std::mutex FLock;
    std::vector<TTerminateInfo> FReports;
};

TEST_F(PreviewRunTest, AThreadRunShowsItsPicturesInOneWindowThatGoesWithTheJob) {
    const std::string plain = Queue("plain.avi");
    FManager.Start(1);
    ASSERT_TRUE(test::WaitUntil([&] { return Ended(); }));
    EXPECT_TRUE(PreviewWindows().empty());
    FManager.ClearTasks();
    FReports.clear();

    const std::string previewed = Queue("previewed.avi");
    FManager.SetPreview(true);
    FManager.Start(1);
    std::set<std::uint32_t> windows;
    std::set<std::string> captions;
    // Between two hand-overs the window shows the last picture painted, whose time its caption
    // gives: the client area of a screenshot, kept per caption.
    std::map<std::string, std::vector<std::uint32_t>> shots;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            for (win::HWND window : PreviewWindows()) {
                windows.insert(window.Value());
                const std::string caption = win::GetWindowText(window);
                captions.insert(caption);
                TRect client;
                win::GetClientRect(window, client);
                EXPECT_EQ(client.Width(), 320);
                EXPECT_EQ(client.Height(), 240);
                if (shots.count(caption) == 0) {
                    shots[caption] = ClientShot(window);
                    // A floating window of its own, in the middle of the screen.
                    EXPECT_FALSE(win::GetWindow(window, win::GW_OWNER));
                    const auto exStyle =
                        win::DWORD(win::GetWindowLongPtr(window, win::GWL_EXSTYLE));
                    EXPECT_NE(exStyle & win::WS_EX_TOPMOST, 0u);
                    TRect bounds;
                    win::GetWindowRect(window, bounds);
                    EXPECT_NEAR((bounds.Left + bounds.Right) / 2.0, 640, 1);
                    EXPECT_NEAR((bounds.Top + bounds.Bottom) / 2.0, 400, 1);
                }
            }
            return Ended();
        },
        60000));
    {
        std::lock_guard lock(FLock);
        ASSERT_EQ(FReports.size(), 2u);
        EXPECT_TRUE(FReports[0].Finished) << FReports[0].ExceptionMsg;
    }
    EXPECT_EQ(windows.size(), 1u) << "one window for the job";
    EXPECT_GE(captions.size(), 2u) << "the caption follows the pictures";
    EXPECT_TRUE(PreviewWindows().empty()) << "the window goes when the job ends";
    for (const std::string& caption : captions)
        EXPECT_EQ(caption.size(), std::string("00:00:01.200").size()) << caption;
    FManager.ClearTasks();
    EXPECT_TRUE(PreviewWindows().empty());
    for (std::uint32_t id : windows) EXPECT_FALSE(win::IsWindow(win::HWND(id)));

    // Each shot is the clip's picture of its caption's time, pixel for pixel: decoded apart and
    // made RGB the way the engine makes its preview picture.
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(fixtures::Path(fixtures::kClipAvi))) << probe.LastErrMsg();
    size_t compared = 0;
    gfx::TBitmap picture;
    while (probe.Decode()) {
        auto shot = shots.find(FormatTimestamp(probe.FrameInfo().PTS));
        if (shot == shots.end()) continue;
        SCOPED_TRACE(shot->first);
        ASSERT_TRUE(probe.CopyToBitmap(picture));
        ASSERT_EQ(picture.Width(), 320);
        ASSERT_EQ(picture.Height(), 240);
        size_t differing = 0;
        for (int y = 0; y < 240; ++y) {
            const uint8_t* row = picture.ScanLine(y);
            for (int x = 0; x < 320; ++x) {
                const std::uint32_t expected = std::uint32_t(row[x * 3 + 2]) << 16 |
                                               std::uint32_t(row[x * 3 + 1]) << 8 | row[x * 3];
                differing += (shot->second[size_t(y) * 320 + x] & 0xFFFFFF) != expected;
            }
        }
        EXPECT_EQ(differing, 0u);
        ++compared;
    }
    EXPECT_EQ(compared, shots.size()) << "every caption is the time of a picture of the clip";

    // The preview changes nothing of what is written.
    const test::TFileInfo a = test::DescribeFile(plain);
    const test::TFileInfo b = test::DescribeFile(previewed);
    ASSERT_TRUE(a.Opened);
    ASSERT_TRUE(b.Opened);
    EXPECT_NEAR(b.Duration, a.Duration, 1e-6);
    ASSERT_EQ(b.Streams.size(), a.Streams.size());
    for (size_t i = 0; i < a.Streams.size(); ++i) {
        EXPECT_EQ(b.Streams[i].Codec, a.Streams[i].Codec);
        EXPECT_EQ(b.Streams[i].Packets, a.Streams[i].Packets);
        EXPECT_NEAR(b.Streams[i].Duration, a.Streams[i].Duration, 1e-6);
    }
}

TEST_F(PreviewRunTest, SwitchingThePreviewWhileFourTasksPaintLeavesNoWindow) {
    for (int i = 0; i < 4; ++i) Queue("task" + std::to_string(i) + ".avi");
    FManager.SetPreview(true);
    FManager.Start(4);
    // 100 switches within 1.5 s of the clips' 2 s, a few pictures between two of them.
    for (int i = 0; i < 100; ++i) {
        FManager.SetPreview(i % 2 != 0);
        AdvanceMs(15);
        sys::CheckSynchronize(1);
        sys::CheckSynchronize(1);
    }
    EXPECT_FALSE(Ended()) << "the switches came while the tasks painted";
    FManager.SetPreview(true);
    ASSERT_TRUE(test::WaitUntil([&] { return Ended(); }));
    EXPECT_TRUE(PreviewWindows().empty());
    {
        std::lock_guard lock(FLock);
        ASSERT_EQ(FReports.size(), 5u);
        for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(FReports[i].Finished) << i;
    }
}

TEST_F(PreviewRunTest, AWindowClosedByTheUserEndsThePreviewNotTheConversion) {
    const std::string output = Queue("closed.avi");
    FManager.SetPreview(true);
    FManager.Start(1);
    std::optional<TPoint> close;
    win::HWND window;
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            AdvanceMs(20);
            const std::vector<win::HWND> windows = PreviewWindows();
            if (windows.empty()) return false;
            window = windows[0];
            close = CloseButtonOf(window);
            return true;
        },
        10000));
    ASSERT_TRUE(close.has_value());
    Screen->Click(*close);
    Run();
    EXPECT_FALSE(win::IsWindowVisible(window));
    ASSERT_TRUE(test::WaitUntil([&] { return Ended(); }));
    EXPECT_FALSE(win::IsWindow(window)) << "freed with the preview, before the job's end";
    EXPECT_TRUE(PreviewWindows().empty()) << "no window comes back";
    {
        std::lock_guard lock(FLock);
        ASSERT_EQ(FReports.size(), 2u);
        EXPECT_TRUE(FReports[0].Finished) << FReports[0].ExceptionMsg;
    }
    const test::TFileInfo written = test::DescribeFile(output);
    ASSERT_TRUE(written.Opened);
    EXPECT_NEAR(written.Duration, 2.0, 0.1);
}

TEST_F(PreviewRunTest, StopWhilePicturesArePaintedReturnsAndLeavesNoWindow) {
    Queue("stopped.avi");
    FManager.SetPreview(true);
    FManager.Start(1);
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            AdvanceMs(20);
            return !PreviewWindows().empty();
        },
        10000));
    FManager.Stop(true);
    EXPECT_TRUE(Ended());
    EXPECT_TRUE(PreviewWindows().empty());
}

}  // namespace
}  // namespace media
