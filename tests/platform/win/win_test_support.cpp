#include "platform/win/win_test_support.h"

#include <map>

namespace win::test {

void TWinTest::SetUp() {
    sys::SetClock(&FClock);
    THeadlessConfig config;
    config.DryWaitLimitMs = 120'000;  // a test that would wait for ever fails instead
    auto backend = std::make_unique<THeadlessBackend>(config);
    Screen = backend.get();
    Initialize(std::move(backend));
    for (const char* name : {"Rec", "RecDbl"}) {
        TWndClass cls;
        cls.Name = name;
        cls.Style = std::string(name) == "RecDbl" ? CS_DBLCLKS : 0;
        cls.Background = gfx::clWhite;
        cls.Proc = [this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            FLog.push_back({h, m, w, l, FDepth});
            ++FDepth;
            LRESULT result = 0;
            auto it = FHandlers.find(h.Value());
            bool handled = false;
            if (it != FHandlers.end()) {
                const THandler handler = it->second;  // may be replaced while it runs
                handled = handler(h, m, w, l, result);
            }
            if (!handled) result = DefWindowProc(h, m, w, l);
            --FDepth;
            return result;
        };
        ASSERT_TRUE(RegisterClass(cls));
    }
}

void TWinTest::TearDown() {
    Finalize();
    FHandlers.clear();
    sys::SetClock(nullptr);
}

HWND TWinTest::Top(int x, int y, int w, int h, DWORD style, DWORD exStyle, HWND owner,
                   const std::string& cls) {
    return CreateWindowEx(exStyle, cls, "", style, x, y, w, h, owner);
}

HWND TWinTest::Child(HWND parent, int x, int y, int w, int h, DWORD style, DWORD exStyle,
                     const std::string& cls) {
    return CreateWindowEx(exStyle, cls, "", style | WS_CHILD, x, y, w, h, parent);
}

std::vector<UINT> TWinTest::Seq(const std::set<UINT>& only, HWND window, int depth) const {
    std::vector<UINT> out;
    for (const TRecord& r : FLog)
        if ((only.empty() || only.count(r.Message)) && (!window || r.Window == window) &&
            (depth < 0 || r.Depth == depth))
            out.push_back(r.Message);
    return out;
}

std::vector<TRecord> TWinTest::Find(UINT message, HWND window) const {
    std::vector<TRecord> out;
    for (const TRecord& r : FLog)
        if (r.Message == message && (!window || r.Window == window)) out.push_back(r);
    return out;
}

gfx::TColor TWinTest::ClientPixel(HWND window, int x, int y) const {
    HWND root = GetAncestor(window, GA_ROOT);
    gfx::HBITMAP surface = GetWindowSurface(root);
    TPoint p{x, y};
    ClientToScreen(window, p);
    TRect r;
    GetWindowRect(root, r);
    const std::uint32_t v =
        surface->Pixels()[std::size_t(p.Y - r.Top) * surface->Width() + (p.X - r.Left)];
    return gfx::RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::string MessageName(UINT message) {
    static const std::map<UINT, std::string> kNames = {
        {WM_CREATE, "CREATE"},
        {WM_DESTROY, "DESTROY"},
        {WM_MOVE, "MOVE"},
        {WM_SIZE, "SIZE"},
        {WM_ACTIVATE, "ACTIVATE"},
        {WM_SETFOCUS, "SETFOCUS"},
        {WM_KILLFOCUS, "KILLFOCUS"},
        {WM_ENABLE, "ENABLE"},
        {WM_PAINT, "PAINT"},
        {WM_CLOSE, "CLOSE"},
        {WM_ERASEBKGND, "ERASEBKGND"},
        {WM_SHOWWINDOW, "SHOWWINDOW"},
        {WM_ACTIVATEAPP, "ACTIVATEAPP"},
        {WM_SETCURSOR, "SETCURSOR"},
        {WM_MOUSEACTIVATE, "MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WINDOWPOSCHANGED"},
        {WM_NCCREATE, "NCCREATE"},
        {WM_NCDESTROY, "NCDESTROY"},
        {WM_NCCALCSIZE, "NCCALCSIZE"},
        {WM_NCHITTEST, "NCHITTEST"},
        {WM_NCPAINT, "NCPAINT"},
        {WM_NCACTIVATE, "NCACTIVATE"},
        {WM_NCMOUSEMOVE, "NCMOUSEMOVE"},
        {WM_NCLBUTTONDOWN, "NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, "NCLBUTTONUP"},
        {WM_NCLBUTTONDBLCLK, "NCLBUTTONDBLCLK"},
        {WM_KEYDOWN, "KEYDOWN"},
        {WM_KEYUP, "KEYUP"},
        {WM_CHAR, "CHAR"},
        {WM_SYSKEYDOWN, "SYSKEYDOWN"},
        {WM_SYSKEYUP, "SYSKEYUP"},
        {WM_SYSCHAR, "SYSCHAR"},
        {WM_SYSCOMMAND, "SYSCOMMAND"},
        {WM_TIMER, "TIMER"},
        {WM_MOUSEMOVE, "MOUSEMOVE"},
        {WM_LBUTTONDOWN, "LBUTTONDOWN"},
        {WM_LBUTTONUP, "LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "RBUTTONDOWN"},
        {WM_RBUTTONUP, "RBUTTONUP"},
        {WM_MOUSEWHEEL, "MOUSEWHEEL"},
        {WM_PARENTNOTIFY, "PARENTNOTIFY"},
        {WM_SIZING, "SIZING"},
        {WM_CAPTURECHANGED, "CAPTURECHANGED"},
        {WM_MOVING, "MOVING"},
        {WM_ENTERSIZEMOVE, "ENTERSIZEMOVE"},
        {WM_EXITSIZEMOVE, "EXITSIZEMOVE"},
        {WM_MOUSELEAVE, "MOUSELEAVE"},
        {WM_MOUSEENTER, "MOUSEENTER"},
    };
    auto it = kNames.find(message);
    return it != kNames.end() ? it->second : "0x" + std::to_string(message);
}

std::vector<std::string> Names(const std::vector<UINT>& messages) {
    std::vector<std::string> out;
    for (UINT m : messages) out.push_back(MessageName(m));
    return out;
}

}  // namespace win::test
