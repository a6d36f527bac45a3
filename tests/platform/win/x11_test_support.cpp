#include "platform/win/x11_test_support.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/gfx/codecs.h"
#include "platform/gfx/text.h"
#include "platform/sys/main_thread.h"
#include "platform/win/headless.h"
#include "support/temp_dir.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace win::test {

namespace {

std::string Hex(std::uint64_t id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(id));
    return text;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

int Shift(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

// The XWD dump of a TrueColor screen: a big-endian header of 25 words, the window name, the
// colour table, then the rows (32-bit pixels, or packed 24-bit ones when windows of several
// depths are on the screen).
TShot ParseXwd(const std::string& dump) {
    TShot shot;
    if (dump.size() < 100) return shot;
    const std::uint32_t headerSize = BigEndian32(dump, 0);
    const int width = int(BigEndian32(dump, 16));
    const int height = int(BigEndian32(dump, 20));
    const std::uint32_t byteOrder = BigEndian32(dump, 28);
    const std::uint32_t bitsPerPixel = BigEndian32(dump, 44);
    const std::uint32_t bytesPerLine = BigEndian32(dump, 48);
    const std::uint32_t masks[3] = {BigEndian32(dump, 56), BigEndian32(dump, 60),
                                    BigEndian32(dump, 64)};
    const std::uint32_t colours = BigEndian32(dump, 76);
    const std::size_t data = headerSize + std::size_t(colours) * 12;
    const int bytesPerPixel = int(bitsPerPixel / 8);
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) ||
        dump.size() < data + std::size_t(bytesPerLine) * height)
        return shot;
    shot.Width = width;
    shot.Height = height;
    shot.Pixels.resize(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at =
                data + std::size_t(y) * bytesPerLine + std::size_t(x) * bytesPerPixel;
            std::uint32_t v = 0;
            for (int i = 0; i < bytesPerPixel; ++i) {
                const std::uint32_t b = static_cast<unsigned char>(dump[at + i]);
                v |= byteOrder == 0 ? b << (8 * i) : b << (8 * (bytesPerPixel - 1 - i));
            }
            std::uint32_t rgb = 0;
            for (int c = 0; c < 3; ++c) rgb = rgb << 8 | ((v & masks[c]) >> Shift(masks[c]));
            shot.Pixels[std::size_t(y) * width + x] = rgb;
        }
    return shot;
}

}  // namespace

// --- Another X client ----------------------------------------------------------------------

struct TXClient::TImpl {
    Display* Dpy = nullptr;
    std::vector<Window> Windows;
    std::vector<KeyCode> BoundCodes;  // set back to no symbol when the client goes

    Atom Intern(const char* name) { return XInternAtom(Dpy, name, False); }
    // The next event of `type` for `window`; the bound is a hang guard only.
    bool Next(Window window, int type, XEvent& ev) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (std::chrono::steady_clock::now() < deadline) {
            if (XCheckTypedWindowEvent(Dpy, window, type, &ev)) return true;
            pollfd fd{ConnectionNumber(Dpy), POLLIN, 0};
            poll(&fd, 1, 50);
        }
        return false;
    }
};

TXClient::TXClient() : FImpl(std::make_unique<TImpl>()) {
    FImpl->Dpy = XOpenDisplay(nullptr);
}

TXClient::~TXClient() {
    if (!FImpl->Dpy) return;
    for (Window w : FImpl->Windows) XDestroyWindow(FImpl->Dpy, w);
    KeySym none[2] = {NoSymbol, NoSymbol};
    for (KeyCode code : FImpl->BoundCodes) XChangeKeyboardMapping(FImpl->Dpy, code, 2, none, 1);
    XCloseDisplay(FImpl->Dpy);
}

std::uint64_t TXClient::CreateWindow(TRect bounds, std::uint32_t rgb) {
    Display* d = FImpl->Dpy;
    if (!d) return 0;
    XSetWindowAttributes a{};
    a.background_pixel = rgb;
    a.event_mask = ButtonPressMask | StructureNotifyMask;
    const Window w =
        XCreateWindow(d, DefaultRootWindow(d), bounds.Left, bounds.Top, unsigned(bounds.Width()),
                      unsigned(bounds.Height()), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWBackPixel | CWEventMask, &a);
    FImpl->Windows.push_back(w);
    XMapWindow(d, w);
    XEvent ev;
    FImpl->Next(w, MapNotify, ev);
    return w;
}

std::vector<TPoint> TXClient::Presses(std::uint64_t window) {
    std::vector<TPoint> out;
    XSync(FImpl->Dpy, False);
    XEvent ev;
    while (XCheckTypedWindowEvent(FImpl->Dpy, Window(window), ButtonPress, &ev))
        out.push_back({ev.xbutton.x, ev.xbutton.y});
    return out;
}

void TXClient::BindCharacters(const std::string& text) {
    Display* d = FImpl->Dpy;
    if (!d) return;
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(d, &minCode, &maxCode);
    const int count = maxCode - minCode + 1;
    KeySym* map = XGetKeyboardMapping(d, KeyCode(minCode), count, &perCode);
    if (!map) return;
    auto at = [&](int code, int i) -> KeySym& { return map[(code - minCode) * perCode + i]; };
    auto mapped = [&](KeySym sym) {
        for (int i = 0; i < count * perCode; ++i)
            if (map[i] == sym) return true;
        return false;
    };
    int spare = maxCode;
    for (std::size_t i = 0; i < text.size();) {
        // One UTF-8 sequence.
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += std::size_t(length);
        const KeySym sym = cp < 0x100 ? KeySym(cp) : KeySym(0x1000000 + cp);
        if (mapped(sym)) continue;
        auto unused = [&](int code) {
            for (int k = 0; k < perCode; ++k)
                if (at(code, k) != NoSymbol) return false;
            return true;
        };
        while (spare >= minCode && !unused(spare)) --spare;
        if (spare < minCode) break;
        KeySym syms[2] = {sym, sym};
        XChangeKeyboardMapping(d, spare, 2, syms, 1);
        at(spare, 0) = sym;
        FImpl->BoundCodes.push_back(KeyCode(spare));
    }
    XFree(map);
    XSync(d, False);
}

void TXClient::SetFocus(std::uint64_t window) {
    XSetInputFocus(FImpl->Dpy, Window(window), RevertToParent, CurrentTime);
    XSync(FImpl->Dpy, False);
}

std::uint64_t TXClient::FocusWindow() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(FImpl->Dpy, &focus, &revert);
    return focus;
}

void TXClient::AskToClose(std::uint64_t window) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = Window(window);
    ev.xclient.message_type = FImpl->Intern("WM_PROTOCOLS");
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(FImpl->Intern("WM_DELETE_WINDOW"));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(FImpl->Dpy, Window(window), False, 0, &ev);
    XSync(FImpl->Dpy, False);
}

namespace {

void SendToRoot(Display* d, Window window, Atom type, std::initializer_list<long> data) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    int i = 0;
    for (long value : data) ev.xclient.data.l[i++] = value;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureNotifyMask | SubstructureRedirectMask,
               &ev);
    XSync(d, False);
}

}  // namespace

void TXClient::AskManagerToClose(std::uint64_t window) {
    // Source 2: a pager, which the manager obeys at once.
    SendToRoot(FImpl->Dpy, Window(window), FImpl->Intern("_NET_CLOSE_WINDOW"),
               {long(CurrentTime), 2});
}

void TXClient::AskManagerToMaximize(std::uint64_t window, bool maximized) {
    SendToRoot(FImpl->Dpy, Window(window), FImpl->Intern("_NET_WM_STATE"),
               {maximized ? 1 : 0, long(FImpl->Intern("_NET_WM_STATE_MAXIMIZED_VERT")),
                long(FImpl->Intern("_NET_WM_STATE_MAXIMIZED_HORZ")), 2});
}

bool TXClient::ManagerRuns() {
    Display* d = FImpl->Dpy;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    const bool found =
        XGetWindowProperty(d, DefaultRootWindow(d), FImpl->Intern("_NET_SUPPORTING_WM_CHECK"), 0, 1,
                           False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && count == 1;
    if (data) XFree(data);
    return found;
}

void TXClient::SetWorkArea(std::optional<TRect> area) {
    Display* d = FImpl->Dpy;
    const Atom name = FImpl->Intern("_NET_WORKAREA");
    if (area) {
        const long values[4] = {area->Left, area->Top, area->Width(), area->Height()};
        XChangeProperty(d, DefaultRootWindow(d), name, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(values), 4);
    } else {
        XDeleteProperty(d, DefaultRootWindow(d), name);
    }
    XSync(d, False);
}

TShot TXClient::RootShot() {
    TShot shot;
    Display* d = FImpl->Dpy;
    const int width = DisplayWidth(d, DefaultScreen(d));
    const int height = DisplayHeight(d, DefaultScreen(d));
    XImage* image = XGetImage(d, DefaultRootWindow(d), 0, 0, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.Width = width;
    shot.Height = height;
    shot.Pixels.reserve(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            shot.Pixels.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0xFFFFFFu);
    XDestroyImage(image);
    return shot;
}

void TXClient::ServeClipboard(const std::string& text, std::size_t chunk, int requests) {
    Display* d = FImpl->Dpy;
    XSetWindowAttributes a{};
    a.event_mask = PropertyChangeMask;
    const Window owner = XCreateWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, CopyFromParent,
                                       InputOnly, CopyFromParent, CWEventMask, &a);
    FImpl->Windows.push_back(owner);
    const Atom clipboard = FImpl->Intern("CLIPBOARD"), utf8 = FImpl->Intern("UTF8_STRING"),
               incr = FImpl->Intern("INCR");
    XSetSelectionOwner(d, clipboard, owner, CurrentTime);
    XSync(d, False);
    for (int served = 0; served < requests;) {
        XEvent ev;
        if (!FImpl->Next(owner, SelectionRequest, ev)) return;
        const XSelectionRequestEvent r = ev.xselectionrequest;
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = r.requestor;
        reply.selection = r.selection;
        reply.target = r.target;
        reply.time = r.time;
        reply.property = 0;
        if (r.target == utf8) {
            reply.property = r.property;
            if (text.size() <= chunk) {
                XChangeProperty(d, r.requestor, r.property, utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()),
                                int(text.size()));
            } else {
                // The incremental transfer: announce, then one piece per deleted property.
                XSelectInput(d, r.requestor, PropertyChangeMask);
                const long size = long(text.size());
                XChangeProperty(d, r.requestor, r.property, incr, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(&size), 1);
            }
        }
        XSendEvent(d, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XFlush(d);
        ++served;
        if (!reply.property || text.size() <= chunk) continue;
        for (std::size_t at = 0;; at += chunk) {
            // Wait until the requestor took the last value away.
            for (;;) {
                if (!FImpl->Next(r.requestor, PropertyNotify, ev)) return;
                if (ev.xproperty.atom == r.property && ev.xproperty.state == PropertyDelete) break;
            }
            const std::size_t n = at < text.size() ? std::min(chunk, text.size() - at) : 0;
            XChangeProperty(d, r.requestor, r.property, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data() + at), int(n));
            XFlush(d);
            if (n == 0) break;
        }
        XSelectInput(d, r.requestor, 0);
    }
}

// --- A window manager ------------------------------------------------------------------------

struct TFakeWindowManager::TImpl {
    Display* Dpy = nullptr;
    Window Check = 0;
    std::vector<TRequest> Requests;
};

TFakeWindowManager::TFakeWindowManager() : FImpl(std::make_unique<TImpl>()) {
    Display* d = FImpl->Dpy = XOpenDisplay(nullptr);
    if (!d) return;
    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureRedirectMask | SubstructureNotifyMask);
    FImpl->Check = XCreateSimpleWindow(d, root, -1, -1, 1, 1, 0, 0, 0);
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    for (Window on : {root, FImpl->Check})
        XChangeProperty(d, on, check, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&FImpl->Check), 1);
    const Atom supported[] = {XInternAtom(d, "_NET_ACTIVE_WINDOW", False),
                              XInternAtom(d, "_NET_WM_STATE", False),
                              XInternAtom(d, "_NET_WM_STATE_ABOVE", False)};
    XChangeProperty(d, root, XInternAtom(d, "_NET_SUPPORTED", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(supported), 3);
    XSync(d, False);
}

TFakeWindowManager::~TFakeWindowManager() {
    Display* d = FImpl->Dpy;
    if (!d) return;
    const Window root = DefaultRootWindow(d);
    XDeleteProperty(d, root, XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False));
    XDeleteProperty(d, root, XInternAtom(d, "_NET_SUPPORTED", False));
    XCloseDisplay(d);
}

const std::vector<TFakeWindowManager::TRequest>& TFakeWindowManager::Serve() {
    Display* d = FImpl->Dpy;
    while (d && XPending(d)) {
        XEvent ev;
        XNextEvent(d, &ev);
        TRequest r;
        if (ev.type == MapRequest) {
            XMapWindow(d, ev.xmaprequest.window);
            r.Type = "MapRequest";
            r.Window = ev.xmaprequest.window;
        } else if (ev.type == ConfigureRequest) {
            const XConfigureRequestEvent& c = ev.xconfigurerequest;
            XWindowChanges changes{c.x, c.y, c.width, c.height, c.border_width, c.above, c.detail};
            XConfigureWindow(d, c.window, unsigned(c.value_mask), &changes);
            continue;
        } else if (ev.type == ClientMessage) {
            char* name = XGetAtomName(d, ev.xclient.message_type);
            r.Type = name ? name : "";
            if (name) XFree(name);
            r.Window = ev.xclient.window;
            for (int i = 0; i < 5; ++i) r.Data[i] = ev.xclient.data.l[i];
            // The state message names the states it changes.
            if (r.Type == "_NET_WM_STATE")
                for (int i : {1, 2})
                    if (r.Data[i])
                        if (char* atom = XGetAtomName(d, Atom(r.Data[i]))) {
                            r.Atoms.push_back(atom);
                            XFree(atom);
                        }
            if (r.Type == "_NET_ACTIVE_WINDOW")
                XSetInputFocus(d, r.Window, RevertToParent, CurrentTime);
            if (r.Type == "WM_CHANGE_STATE" && r.Data[0] == IconicState) XUnmapWindow(d, r.Window);
        } else {
            continue;
        }
        FImpl->Requests.push_back(r);
    }
    if (d) XSync(d, False);
    return FImpl->Requests;
}

// --- The fixture -----------------------------------------------------------------------------

void TX11Test::SetUp() {
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "run through x11_run.sh, which starts an X server";
    FExpectCompositor = std::getenv("MORADEX_TEST_COMPOSITOR") != nullptr;
    auto backend = CreateDefaultBackend();
    X = dynamic_cast<TX11Backend*>(backend.get());
    ASSERT_NE(X, nullptr) << "DISPLAY is set, yet the program chose " << backend->Name();
    Initialize(std::move(backend));
    TWndClass cls;
    cls.Name = "XRec";
    cls.Background = gfx::clWhite;
    cls.Proc = [this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        FLog.push_back({h, m, w, l});
        auto it = FHandlers.find(h.Value());
        LRESULT result = 0;
        if (it != FHandlers.end()) {
            const THandler handler = it->second;
            if (handler(h, m, w, l, result)) return result;
        }
        return DefWindowProc(h, m, w, l);
    };
    ASSERT_TRUE(RegisterClass(cls));
    if (FExpectCompositor) {
        ASSERT_TRUE(PumpUntil([&] { return X->Compositing(); })) << "no compositor took the screen";
    }
}

void TX11Test::TearDown() {
    Finalize();
    FHandlers.clear();
    FLog.clear();
}

bool TX11Test::PumpUntil(const std::function<bool()>& done, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        Backend().WaitForEvents(sys::MainThreadWakeFd(), 20);
    }
}

TToolResult TX11Test::Tool(const std::vector<std::string>& args) {
    TToolResult result;
    Backend().PollEvents();  // our requests go out before the tool looks
    const testsupport::TTempDir dir;
    const std::string path = dir.File("output");
    const std::string errorPath = dir.File("errors");
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errorFd = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || errorFd < 0) {
        if (fd >= 0) close(fd);
        if (errorFd >= 0) close(errorFd);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fd, 1);
    posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // xdotool reads its text in the locale's encoding.
    std::vector<std::string> env{"LC_ALL=C.UTF-8"};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "LC_ALL=", 7) != 0) env.push_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        if (!PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream in(path, std::ios::binary);
    result.Output.assign(std::istreambuf_iterator<char>(in), {});
    std::ifstream errors(errorPath, std::ios::binary);
    result.Errors.assign(std::istreambuf_iterator<char>(errors), {});
    close(fd);
    close(errorFd);
    return result;
}

TShot TX11Test::Screenshot() {
    if (!FExpectCompositor) return ParseXwd(Tool({"xwd", "-root", "-silent"}).Output);
    // With windows of several depths mapped, xwd rebuilds the screen from each window's own
    // pixels, past the compositor's blending; what the screen shows is in the root window.
    return TXClient().RootShot();
}

std::string TX11Test::WindowInfo(std::uint64_t id) {
    const TToolResult r = Tool({"xwininfo", "-id", Hex(id)});
    return r.ExitCode == 0 ? r.Output : std::string();
}

bool TX11Test::Shows(HWND window) {
    const std::uint64_t id = X->XWindowOf(window);
    return id && WindowInfo(id).find("Map State: IsViewable") != std::string::npos;
}

std::string TX11Test::Property(HWND window, const std::string& name) {
    return Tool({"xprop", "-id", Hex(X->XWindowOf(window)), name}).Output;
}

HWND TX11Test::Top(int x, int y, int w, int h, DWORD style, DWORD exStyle, HWND owner) {
    return CreateWindowEx(exStyle, "XRec", "", style, x, y, w, h, owner);
}

HWND TX11Test::Child(HWND parent, int x, int y, int w, int h) {
    return CreateWindowEx(0, "XRec", "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent);
}

std::vector<TXRecord> TX11Test::Find(UINT message, HWND window) const {
    std::vector<TXRecord> out;
    for (const TXRecord& r : FLog)
        if (r.Message == message && (!window || r.Window == window)) out.push_back(r);
    return out;
}

std::string TX11Test::Typed(HWND window) const {
    std::u32string text;
    for (const TXRecord& r : Find(WM_CHAR, window)) text += char32_t(r.WParam);
    return gfx::EncodeUtf8(text);
}

void PaintSolid(TX11Test& test, HWND window, gfx::TColor color) {
    test.Handle(window, [color](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m != WM_PAINT) return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, ps);
        gfx::FillRect(dc, TRect{0, 0, 2000, 2000}, gfx::CreateSolidBrush(color));
        EndPaint(h, ps);
        return true;
    });
}

TShotDiff Compare(const TShot& a, const TShot& b, int tolerance) {
    TShotDiff diff;
    if (a.Width != b.Width || a.Height != b.Height) {
        diff.Differing = std::max(a.Width * a.Height, b.Width * b.Height);
        diff.MaxDelta = 255;
        return diff;
    }
    for (std::size_t i = 0; i < a.Pixels.size(); ++i) {
        int delta = 0;
        for (int shift : {0, 8, 16})
            delta = std::max(delta, std::abs(int((a.Pixels[i] >> shift) & 0xFF) -
                                             int((b.Pixels[i] >> shift) & 0xFF)));
        diff.MaxDelta = std::max(diff.MaxDelta, delta);
        if (delta > tolerance) ++diff.Differing;
    }
    return diff;
}

bool SavePng(const TShot& shot, const std::string& path) {
    gfx::TImage image;
    image.Width = shot.Width;
    image.Height = shot.Height;
    image.BitCount = 32;
    image.HasAlpha = false;
    for (std::uint32_t p : shot.Pixels) image.Pixels.push_back(p | 0xFF000000u);
    gfx::TBytes bytes;
    std::string reason;
    if (!gfx::WritePng(image, 6, gfx::PNG_ROW_FILTER_NONE, false, bytes, reason)) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace win::test
