// The window layer on the x11 backend against a real X server (x11_run.sh starts a private Xvfb
// for these tests), with what the tests need around it: a class that records messages, bounded
// waits that keep the loop running, the X tools run as child processes, root-window screenshots
// read from xwd dumps, and a window of another X client to click on.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/win.h"
#include "platform/win/x11_backend.h"

namespace win::test {

struct TXRecord {
    HWND Window;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

// A screenshot as 0x00RRGGBB pixels.
struct TShot {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};

struct TToolResult {
    int ExitCode = -1;
    std::string Output;
    std::string Errors;
};

// Another X client: the "other program" beside ours, with its own windows and its own view of
// the server.
class TXClient {
public:
    TXClient();
    ~TXClient();
    // A plain window, mapped, that records button presses.
    std::uint64_t CreateWindow(TRect bounds, std::uint32_t rgb);
    // Button presses a window of this client received so far, at window points.
    std::vector<TPoint> Presses(std::uint64_t window);
    void SetFocus(std::uint64_t window);
    // The window that has the keyboard focus now.
    std::uint64_t FocusWindow();
    // What a window manager sends when the user closes a window.
    void AskToClose(std::uint64_t window);
    // What a pager or task bar asks of the window manager (EWMH): close a window, add or remove
    // its maximized state. Without a window manager nothing happens.
    void AskManagerToClose(std::uint64_t window);
    void AskManagerToMaximize(std::uint64_t window, bool maximized);
    // The window manager runs (it names its check window on the root).
    bool ManagerRuns();
    // _NET_WORKAREA on the root window (one desktop); empty: none.
    void SetWorkArea(std::optional<TRect> area);
    // The root window's pixels.
    TShot RootShot();
    // Owns the clipboard with `text` and serves it (in pieces of `chunk` bytes through INCR when
    // the text is longer) until `requests` conversions were answered or 15 s passed; for a
    // thread of its own.
    void ServeClipboard(const std::string& text, std::size_t chunk, int requests);
    // Binds every character of `text` that no key has to a spare key code for the life of this
    // client. xdotool then types them through those keys instead of rebinding one scratch key per
    // character, a change a lagging reader of the keyboard map may see only after the next one.
    void BindCharacters(const std::string& text);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// Just enough of an EWMH window manager to see what our windows ask of one: it redirects the
// root's children, maps and configures what clients ask for, focuses on _NET_ACTIVE_WINDOW,
// unmaps on an iconify request, and records every request it handled.
class TFakeWindowManager {
public:
    struct TRequest {
        std::string Type;  // "MapRequest", or the client message's type
        std::uint64_t Window = 0;
        std::vector<std::string> Atoms;  // the states a _NET_WM_STATE message names
        long Data[5] = {};
    };
    TFakeWindowManager();
    ~TFakeWindowManager();
    // Handles what arrived; the requests handled so far.
    const std::vector<TRequest>& Serve();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

class TX11Test : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Runs the loop until `done` holds or 15 s pass; false when it never held.
    bool PumpUntil(const std::function<bool()>& done, int limitMs = 120'000);
    // Runs one of the X tools with the loop running meanwhile (xdotool's input must be read
    // while it types).
    TToolResult Tool(const std::vector<std::string>& args);
    // The root window as the screen shows it (xwd -root).
    TShot Screenshot();
    // xwininfo's view of a window: empty when X doesn't know it.
    std::string WindowInfo(std::uint64_t id);
    bool Shows(HWND window);  // X maps it and it can be seen
    std::string Property(HWND window, const std::string& name);

    // Windows of the class "XRec", which records what they receive.
    HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0,
             HWND owner = {});
    HWND Child(HWND parent, int x, int y, int w, int h);
    using THandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;
    void Handle(HWND window, THandler handler) { FHandlers[window.Value()] = std::move(handler); }
    std::vector<TXRecord> Find(UINT message, HWND window = {}) const;
    int Count(UINT message, HWND window = {}) const { return int(Find(message, window).size()); }
    void ClearLog() { FLog.clear(); }
    // The text a window received as WM_CHAR, in UTF-8.
    std::string Typed(HWND window) const;

    TX11Backend* X = nullptr;
    bool FExpectCompositor = false;
    std::vector<TXRecord> FLog;
    std::map<std::uint32_t, THandler> FHandlers;
};

void PaintSolid(TX11Test& test, HWND window, gfx::TColor color);
// Pixels that differ by more than `tolerance` in a channel, and the largest difference.
struct TShotDiff {
    int Differing = 0;
    int MaxDelta = 0;
};
TShotDiff Compare(const TShot& a, const TShot& b, int tolerance);
bool SavePng(const TShot& shot, const std::string& path);

}  // namespace win::test
