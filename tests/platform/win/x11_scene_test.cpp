// One scene, two backends: a skinned form with a child button, a popup and (with a compositor)
// translucent layers, shown on the X server and composed by the headless backend. The X tools
// must see exactly one X window per top-level, and the root window must look like the headless
// screen. Also which backend the program picks, and what it says when it falls back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

#include "platform/gfx/text.h"
#include "platform/sys/env.h"
#include "platform/win/headless.h"
#include "platform/win/x11_test_support.h"

namespace win::test {
namespace {

constexpr gfx::TColor kDesktopMark = gfx::RGB(255, 0, 255);  // nothing in the scene is magenta
constexpr int kCaption = 28;

struct TScene {
    HWND Form, Button, Popup, Glass, Badge;
};

void DrawLabel(HDC dc, const std::string& text, TRect r, gfx::TColor color, unsigned flags) {
    gfx::SetBkMode(dc, gfx::TRANSPARENT);
    gfx::SetTextColor(dc, color);
    gfx::DrawText(dc, text, r, flags | gfx::DT_SINGLELINE | gfx::DT_VCENTER);
}

LRESULT FormProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCHITTEST) {
        TPoint p = PointFromParam(l);
        ScreenToClient(h, p);
        if (p.Y >= 0 && p.Y < kCaption) return HTCAPTION;
    }
    if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    TRect client;
    GetClientRect(h, client);
    gfx::FillRect(dc, client, gfx::CreateSolidBrush(gfx::RGB(240, 244, 250)));
    gfx::FillRect(dc, {0, 0, client.Right, kCaption}, gfx::CreateSolidBrush(gfx::RGB(20, 60, 130)));
    DrawLabel(dc, "视频转换器 Moradex", {10, 0, client.Right, kCaption}, gfx::clWhite,
              gfx::DT_LEFT);
    gfx::FillRect(dc, {40, 120, 380, 136}, gfx::CreateSolidBrush(gfx::RGB(200, 200, 200)));
    gfx::FillRect(dc, {40, 120, 250, 136}, gfx::CreateSolidBrush(gfx::RGB(40, 170, 60)));
    DrawLabel(dc, "正在转换：62%", {40, 60, 380, 100}, gfx::RGB(30, 30, 30), gfx::DT_LEFT);
    EndPaint(h, ps);
    return 0;
}

LRESULT ButtonProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    TRect client;
    GetClientRect(h, client);
    gfx::FillRect(dc, client, gfx::CreateSolidBrush(gfx::RGB(210, 220, 235)));
    gfx::FrameRect(dc, client, gfx::CreateSolidBrush(gfx::RGB(60, 80, 120)));
    DrawLabel(dc, "开始", client, gfx::RGB(10, 20, 60), gfx::DT_CENTER);
    EndPaint(h, ps);
    return 0;
}

LRESULT PopupProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != WM_PAINT) return DefWindowProc(h, m, w, l);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    TRect client;
    GetClientRect(h, client);
    gfx::FillRect(dc, client, gfx::CreateSolidBrush(gfx::RGB(255, 250, 200)));
    gfx::FrameRect(dc, client, gfx::CreateSolidBrush(gfx::clBlack));
    DrawLabel(dc, "提示：就绪", client, gfx::clBlack, gfx::DT_CENTER);
    EndPaint(h, ps);
    return 0;
}

void Register(const std::string& name, TWndProc proc) {
    TWndClass cls;
    cls.Name = name;
    cls.Proc = std::move(proc);
    RegisterClass(cls);
}

// A disc whose alpha falls off towards the rim, premultiplied.
gfx::TSurface Badge(int w, int h) {
    gfx::TSurface image(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = (x + 0.5 - w / 2.0) / (w / 2.0), dy = (y + 0.5 - h / 2.0) / (h / 2.0);
            const double d = std::sqrt(dx * dx + dy * dy);
            const std::uint32_t a = d >= 1 ? 0 : std::uint32_t(std::lround(255 * (1 - d)));
            const std::uint32_t r = a * 200 / 255, g = a * 40 / 255, b = a * 90 / 255;
            image.Pixels()[std::size_t(y) * w + x] = a << 24 | r << 16 | g << 8 | b;
        }
    return image;
}

TScene BuildScene(bool layered) {
    Register("SceneForm", FormProc);
    Register("SceneButton", ButtonProc);
    Register("ScenePopup", PopupProc);
    TScene s{};
    s.Form = CreateWindowEx(0, "SceneForm", "视频转换器", WS_POPUP, 100, 80, 420, 300, {});
    s.Button =
        CreateWindowEx(0, "SceneButton", "开始", WS_CHILD | WS_VISIBLE, 40, 200, 120, 36, s.Form);
    ShowWindow(s.Form, SW_SHOW);
    s.Popup = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ScenePopup", "提示", WS_POPUP, 600,
                             120, 180, 90, {});
    ShowWindow(s.Popup, SW_SHOWNA);
    if (!layered) return s;
    s.Glass = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ScenePopup", "",
                             WS_POPUP, 300, 150, 160, 100, {});
    SetLayeredWindowAttributes(s.Glass, 0, 160, LWA_ALPHA);
    ShowWindow(s.Glass, SW_SHOWNA);
    s.Badge = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ScenePopup", "",
                             WS_POPUP, 0, 0, 10, 10, {});
    const TPoint at{150, 230};
    const TSize size{120, 60};
    BLENDFUNCTION blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindow(s.Badge, &at, &size, Badge(120, 60), {0, 0}, 0, blend, ULW_ALPHA);
    ShowWindow(s.Badge, SW_SHOWNA);
    return s;
}

TShot ToShot(const gfx::TSurface& surface) {
    TShot shot{surface.Width(), surface.Height(), {}};
    for (std::size_t i = 0; i < std::size_t(surface.Width()) * surface.Height(); ++i)
        shot.Pixels.push_back(surface.Pixels()[i] & 0xFFFFFFu);
    return shot;
}

// xwininfo -tree: the root's children, each with the number of windows below it.
std::map<std::uint64_t, int> RootChildren(const std::string& tree) {
    std::map<std::uint64_t, int> out;
    std::istringstream in(tree);
    std::string line;
    int rootIndent = -1;
    std::uint64_t current = 0;
    while (std::getline(in, line)) {
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos || line.compare(indent, 2, "0x") != 0) continue;
        const std::uint64_t id = std::stoull(line.substr(indent), nullptr, 16);
        if (rootIndent < 0) rootIndent = int(indent);
        if (int(indent) == rootIndent) {
            out[current = id] = 0;
        } else {
            ++out[current];
        }
    }
    return out;
}

// Parameter: whether presents go through shared memory (a local server) or plain requests (what
// a remote display gets).
class X11SceneTest : public TX11Test, public ::testing::WithParamInterface<bool> {
public:
    void SetUp() override {
        TX11Test::SetUp();
        if (X) {
            EXPECT_EQ(X->UseSharedMemory(GetParam()), GetParam());
        }
    }
    // The same scene on the headless backend, with the desktop marked.
    TShot HeadlessShot(bool layered) {
        Finalize();
        THeadlessConfig config;
        config.Monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 768}, true}};
        config.Desktop = kDesktopMark;
        auto headless = std::make_unique<THeadlessBackend>(config);
        THeadlessBackend* screen = headless.get();
        Initialize(std::move(headless));
        BuildScene(layered);
        PumpMessages();
        TShot shot = ToShot(*screen->Compose());
        Finalize();
        SetUp();
        return shot;
    }
};

TEST_P(X11SceneTest, OneXWindowPerTopLevelAndTheScreenMatchesTheHeadlessOne) {
    const bool layered = X->Capabilities().LayeredWindows;
    EXPECT_EQ(layered, FExpectCompositor) << "layered windows need a compositor, and only that";
    const TShot expected = HeadlessShot(layered);
    const auto before = RootChildren(Tool({"xwininfo", "-root", "-tree"}).Output);

    const TScene scene = BuildScene(layered);
    std::vector<HWND> tops{scene.Form, scene.Popup};
    if (layered) tops.insert(tops.end(), {scene.Glass, scene.Badge});
    ASSERT_TRUE(PumpUntil([&] {
        for (HWND h : tops)
            if (!Shows(h)) return false;
        return true;
    }));

    // X sees the top-levels, each without a window inside: the button lives in the form's
    // image only.
    const auto after = RootChildren(Tool({"xwininfo", "-root", "-tree"}).Output);
    EXPECT_EQ(after.size(), before.size() + tops.size());
    for (HWND h : tops) {
        const std::uint64_t id = X->XWindowOf(h);
        ASSERT_TRUE(after.count(id)) << "no X window for a top-level";
        EXPECT_EQ(after.at(id), 0) << "an X window inside a top-level";
        EXPECT_FALSE(before.count(id));
    }
    EXPECT_EQ(X->XWindowOf(scene.Button), 0u);
    EXPECT_NE(Property(scene.Form, "_NET_WM_NAME").find("\"视频转换器\""), std::string::npos);
    EXPECT_NE(WindowInfo(X->XWindowOf(scene.Popup)).find("Override Redirect State: yes"),
              std::string::npos);
    EXPECT_NE(WindowInfo(X->XWindowOf(scene.Form)).find("Override Redirect State: no"),
              std::string::npos);

    // The compositor draws a moment later; the screen settles to the headless picture.
    TShot shot;
    TShotDiff diff;
    const int tolerance = layered ? 3 : 0;
    const bool same = PumpUntil([&] {
        shot = Screenshot();
        if (shot.Width != expected.Width) return false;
        const std::uint32_t desk = shot.At(shot.Width - 1, shot.Height - 1);
        TShot want = expected;
        for (std::uint32_t& p : want.Pixels)
            if (p == 0xFF00FFu) p = desk;
        diff = Compare(shot, want, tolerance);
        return diff.Differing == 0;
    });
    std::printf("screenshot vs headless: %d pixels beyond %d, largest channel difference %d\n",
                diff.Differing, tolerance, diff.MaxDelta);
    if (!same) {
        const std::string dir = ::testing::TempDir();
        SavePng(shot, dir + "x11-root.png");
        SavePng(expected, dir + "x11-headless.png");
        ADD_FAILURE() << "the root window differs from the headless screen; see " << dir
                      << "x11-root.png and x11-headless.png";
    }
    // Still on the path asked for: the local server took the segment.
    EXPECT_EQ(X->UseSharedMemory(GetParam()), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Present, X11SceneTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Shared" : "Plain"; });

}  // namespace
}  // namespace win::test
