// A headless window layer on a manual clock for each test, and a window class that records
// every message its windows receive (with the nesting depth of the send).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sys/clock.h"
#include "platform/win/headless.h"
#include "platform/win/win.h"

namespace win::test {

struct TRecord {
    HWND Window;
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    int Depth = 0;
};

// Answers a message instead of DefWindowProc when it returns true.
using THandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

class TWinTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // "Rec" (no double clicks) and "RecDbl" (CS_DBLCLKS), white background.
    HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0,
             HWND owner = {}, const std::string& cls = "Rec");
    HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE,
               DWORD exStyle = 0, const std::string& cls = "Rec");
    // An empty handler goes back to DefWindowProc.
    void Handle(HWND window, THandler handler) {
        if (handler)
            FHandlers[window.Value()] = std::move(handler);
        else
            FHandlers.erase(window.Value());
    }

    // Messages from the given set (all when empty), in order, optionally for one window and
    // at one depth.
    std::vector<UINT> Seq(const std::set<UINT>& only = {}, HWND window = {}, int depth = -1) const;
    std::vector<TRecord> Find(UINT message, HWND window = {}) const;
    void ClearLog() { FLog.clear(); }
    int Count(UINT message, HWND window = {}) const { return int(Find(message, window).size()); }

    void AdvanceMs(int ms) { FClock.Advance(std::int64_t(ms) * 1000); }

    // The window's pixel at a point of its client area, 0x00BBGGRR, from its surface.
    gfx::TColor ClientPixel(HWND window, int x, int y) const;
    gfx::TColor ScreenPixel(int x, int y) const { return Screen->ScreenPixel(x, y); }

    sys::TManualClock FClock{1'000'000'000};
    THeadlessBackend* Screen = nullptr;
    std::vector<TRecord> FLog;
    std::map<std::uint32_t, THandler> FHandlers;
    int FDepth = 0;
};

std::string MessageName(UINT message);
std::vector<std::string> Names(const std::vector<UINT>& messages);

}  // namespace win::test
