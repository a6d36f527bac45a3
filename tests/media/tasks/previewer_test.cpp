#include "media/tasks/previewer.h"

#include <memory>

#include <gtest/gtest.h>

#include "platform/vcl/vcl_test_support.h"

namespace media {
namespace {

using win::TPoint;
using win::TRect;

// A picture whose every pixel tells where it is, shifted by `seed` to tell pictures apart.
TFrameBitmap Pattern(int width, int height, int seed, int bitsPerPixel = 24) {
    TFrameBitmap bitmap(width, height, bitsPerPixel);
    const int bytes = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[x * bytes] = uint8_t(x + seed);      // B
            row[x * bytes + 1] = uint8_t(y);         // G
            row[x * bytes + 2] = uint8_t(x ^ seed);  // R
            if (bytes == 4) row[x * bytes + 3] = 0xFF;
        }
    }
    return bitmap;
}

// 0x00BBGGRR, as the screen reads.
gfx::TColor PatternColor(int x, int y, int seed) {
    return gfx::TColor(uint8_t(x ^ seed) | uint8_t(y) << 8 | uint32_t(uint8_t(x + seed)) << 16);
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
    TFrameBitmap first = Pattern(320, 240, 0);
    // On the main thread with no loop running: painted at once.
    ASSERT_TRUE(FPreviewer->PaintFrame(first, 1, 1'200'000));
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
    TFrameBitmap larger = Pattern(640, 480, 7, 32);
    ASSERT_TRUE(FPreviewer->PaintFrame(larger, 2, 2'040'000));
    win::GetClientRect(window, client);
    EXPECT_EQ(client.Width(), 320);
    EXPECT_EQ(client.Height(), 240);
    EXPECT_EQ(win::GetWindowText(window), "00:00:02.040");
    ExpectShows(7, {{0, 0}, {200, 120}, {319, 239}});
}

TEST_F(PreviewerTest, ClosedByTheUserItHidesAndPaintsNoMore) {
    TFrameBitmap picture = Pattern(160, 120, 0);
    ASSERT_TRUE(FPreviewer->PaintFrame(picture, 1, 40'000));
    const win::HWND window = Window();
    win::SendMessage(window, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    Run();
    EXPECT_FALSE(win::IsWindowVisible(window));
    TFrameBitmap next = Pattern(160, 120, 9);
    EXPECT_FALSE(FPreviewer->PaintFrame(next, 2, 80'000));
    EXPECT_EQ(win::GetWindowText(window), "00:00:00.040") << "nothing drawn after the close";

    FPreviewer.reset();
    EXPECT_FALSE(win::IsWindow(window)) << "the window goes with its previewer";
}

TEST_F(PreviewerTest, APressOnThePictureDragsTheWindow) {
    TFrameBitmap picture = Pattern(200, 100, 0);
    ASSERT_TRUE(FPreviewer->PaintFrame(picture, 1, 0));
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

}  // namespace
}  // namespace media
