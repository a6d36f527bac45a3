// The preview window of a conversion on a real X server (x11_run.sh starts a private Xvfb): an
// X window kept above a form of the test, its caption text drawn by the platform's frame, the
// picture on the screen, and a drag inside the picture through injected X input (xdotool).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "fixtures/fixtures.h"
#include "media/engine/run_test_support.h"
#include "media/libs/ff_utils.h"
#include "media/media_test_support.h"
#include "media/probe/av_probe.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/vcl/forms.h"
#include "platform/win/x11_test_support.h"

namespace media {
namespace {

using win::TPoint;
using win::TRect;
using win::test::TShot;

constexpr std::uint32_t kMagenta = 0xFF00FF;  // the test's form; not in the clip's pictures

class PreviewX11Test : public win::test::TX11Test {
public:
    void SetUp() override {
        TX11Test::SetUp();
        if (HasFatalFailure()) return;
        vcl::InitializeApplication();
        test::RequireLibraries();
    }
    void TearDown() override {
        FManager.reset();
        vcl::FinalizeApplication();
        TX11Test::TearDown();
    }

    // The preview form: the tool window among the forms that is not the test's.
    vcl::TForm* PreviewForm(const vcl::TForm* own) const {
        for (int i = 0; i < vcl::Screen->FormCount(); ++i) {
            auto* form = dynamic_cast<vcl::TForm*>(vcl::Screen->Forms(i));
            if (form != nullptr && form != own && form->HandleAllocated() &&
                win::IsWindowVisible(form->Handle()))
                return form;
        }
        return nullptr;
    }
    bool Ended() {
        std::lock_guard lock(FLock);
        return !FReports.empty() && FReports.back().TaskIndex == -1;
    }
    void Xdo(const std::vector<std::string>& words) {
        std::vector<std::string> args{"xdotool"};
        args.insert(args.end(), words.begin(), words.end());
        const win::test::TToolResult r = Tool(args);
        ASSERT_EQ(r.ExitCode, 0) << r.Errors;
    }

    test::TTempDir FDir;
    std::unique_ptr<TFFTaskManager> FManager = std::make_unique<TFFTaskManager>();
    std::mutex FLock;
    std::vector<TTerminateInfo> FReports;
};

// The pixels of the clip's picture at `pts`, 0xRRGGBB, made RGB as the engine's preview is.
std::vector<std::uint32_t> ClipPicture(int64_t pts) {
    std::vector<std::uint32_t> pixels;
    TAVProbe probe;
    if (!probe.LoadFile(fixtures::Path(fixtures::kClipAvi))) return pixels;
    gfx::TBitmap picture;
    while (probe.Decode()) {
        if (probe.FrameInfo().PTS != pts) continue;
        if (!probe.CopyToBitmap(picture)) return pixels;
        for (int y = 0; y < picture.Height(); ++y) {
            const uint8_t* row = picture.ScanLine(y);
            for (int x = 0; x < picture.Width(); ++x)
                pixels.push_back(std::uint32_t(row[x * 3 + 2]) << 16 |
                                 std::uint32_t(row[x * 3 + 1]) << 8 | row[x * 3]);
        }
        break;
    }
    return pixels;
}

// Pixels of a window's client area on the screenshot that differ from `expected`.
int ClientDifferences(const TShot& shot, TPoint origin,
                      const std::vector<std::uint32_t>& expected) {
    int differing = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            differing += (shot.At(origin.X + x, origin.Y + y) & 0xFFFFFF) !=
                         expected[std::size_t(y) * 320 + x];
    return differing;
}

// "00:00:01.200" back to microseconds.
int64_t ParseTimestamp(const std::string& text) {
    int h = 0, m = 0, s = 0, ms = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d.%d", &h, &m, &s, &ms) != 4) return -1;
    return ((int64_t(h) * 60 + m) * 60 + s) * 1'000'000 + int64_t(ms) * 1000;
}

TEST_F(PreviewX11Test, TheWindowOfARunFloatsAboveAFormWithItsCaptionDrawnAndDragsByThePicture) {
    // A magenta form of the test where the preview will come: the middle of the 1024x768 screen.
    auto* form = new vcl::TForm(vcl::Application);
    form->SetBounds(302, 224, 420, 320);
    form->SetColor(gfx::TColor(0xFF00FF));
    form->SetCaption("测试窗体");
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Shows(form->Handle()); }));

    FManager->SetOnTerminate([this](TCustomFFTaskManager*, const TTerminateInfo& info) {
        std::lock_guard lock(FLock);
        FReports.push_back(info);
    });
    const int task = FManager->AddTask(fixtures::Path(fixtures::kClipAvi), "re=1");
    ASSERT_GE(task, 0) << FManager->LastErrMsg();
    TOutputOptions options;
    options.VideoCodec = "mpeg4";
    options.AudioCodec = "mp2";
    const std::string output = FDir.File("previewed.avi");
    ASSERT_TRUE(FManager->SetOutputFile(task, output, &options)) << FManager->LastErrMsg();
    FManager->SetPreview(true);
    FManager->Start(1);
    vcl::TForm* preview = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (preview = PreviewForm(form)) != nullptr; }));
    // Held still while the screen is read: the window keeps the last picture painted.
    FManager->Pause();
    const win::HWND window = preview->Handle();
    ASSERT_TRUE(PumpUntil([&] { return Shows(window); }));
    const std::uint64_t xWindow = X->XWindowOf(window);
    ASSERT_NE(xWindow, 0u);

    // An X window kept above the others, titled with the picture's time.
    const std::string caption = win::GetWindowText(window);
    const int64_t pts = ParseTimestamp(caption);
    ASSERT_GE(pts, 0) << caption;
    EXPECT_EQ(FormatTimestamp(pts), caption);
    EXPECT_NE(Property(window, "_NET_WM_STATE").find("_NET_WM_STATE_ABOVE"), std::string::npos);
    EXPECT_NE(Property(window, "_NET_WM_NAME").find("\"" + caption + "\""), std::string::npos);

    // On the screen, over the form: the client area is the picture of the caption's time, and
    // the caption bar holds its text, left of the close button.
    const std::vector<std::uint32_t> picture = ClipPicture(pts);
    ASSERT_EQ(picture.size(), 320u * 240u);
    TRect bounds;
    win::GetWindowRect(window, bounds);
    TPoint origin{0, 0};
    win::ClientToScreen(window, origin);
    TShot shot = Screenshot();
    EXPECT_EQ(ClientDifferences(shot, origin, picture), 0);
    // The caption bar: the row band above the client area, inside the border.
    const int border = origin.X - bounds.Left;
    const int top = bounds.Top + border, bottom = origin.Y;
    ASSERT_GT(bottom - top, 8);
    const std::uint32_t barColour = shot.At(origin.X + 200, (top + bottom) / 2) & 0xFFFFFF;
    auto inked = [&](int fromX, int toX) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = fromX; x < toX; ++x) count += (shot.At(x, y) & 0xFFFFFF) != barColour;
        return count;
    };
    EXPECT_GT(inked(origin.X, origin.X + 110), 40) << "the time's digits are drawn";
    EXPECT_EQ(inked(origin.X + 150, origin.X + 250), 0) << "and nothing past them";

    // The form activated by a click on its visible part: the preview stays above it.
    Xdo({"mousemove", "--sync", "320", "500", "click", "1"});
    ASSERT_TRUE(PumpUntil([&] { return win::GetActiveWindow() == form->Handle(); }));
    shot = Screenshot();
    EXPECT_EQ(ClientDifferences(shot, origin, picture), 0) << "still above the active form";
    EXPECT_EQ(shot.At(320, 500) & 0xFFFFFF, kMagenta);

    // A drag inside the picture moves the window by as much, X window included.
    const TPoint start{origin.X + 160, origin.Y + 120};
    Xdo({"mousemove", "--sync", std::to_string(start.X), std::to_string(start.Y), "mousedown", "1",
         "mousemove", "--sync", std::to_string(start.X + 20), std::to_string(start.Y + 10),
         "mousemove", "--sync", std::to_string(start.X + 40), std::to_string(start.Y + 25),
         "mouseup", "1"});
    TRect moved;
    ASSERT_TRUE(PumpUntil([&] {
        win::GetWindowRect(window, moved);
        return moved.Left != bounds.Left || moved.Top != bounds.Top;
    }));
    EXPECT_EQ(moved.Left - bounds.Left, 40);
    EXPECT_EQ(moved.Top - bounds.Top, 25);
    std::string info;
    EXPECT_TRUE(PumpUntil([&] {
        info = WindowInfo(xWindow);
        return info.find("Absolute upper-left X:  " + std::to_string(moved.Left) + "\n") !=
                   std::string::npos &&
               info.find("Absolute upper-left Y:  " + std::to_string(moved.Top) + "\n") !=
                   std::string::npos;
    })) << info;

    // The run goes on and ends; its window goes with it, X window included.
    FManager->Resume();
    ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
    {
        std::lock_guard lock(FLock);
        ASSERT_EQ(FReports.size(), 2u);
        EXPECT_TRUE(FReports[0].Finished) << FReports[0].ExceptionMsg;
    }
    EXPECT_FALSE(win::IsWindow(window));
    EXPECT_TRUE(PumpUntil([&] { return WindowInfo(xWindow).empty(); }));
    const test::TFileInfo written = test::DescribeFile(output);
    ASSERT_TRUE(written.Opened);
    EXPECT_NEAR(written.Duration, 2.0, 0.1);
    form->Free();
}

}  // namespace
}  // namespace media
