// Small routines the whole skin engine calls: rectangle and point arithmetic, the tests that
// decide whether layered windows, fades and drop shadows are used, monitor work areas, and the
// processor test that picks the pixel routines. Everything here is a pure function or reads the
// window layer, so it belongs to the main thread like the window layer itself.
#pragma once

#include <cstdint>

#include "platform/gfx/types.h"
#include "platform/win/types.h"

namespace skin {

using gfx::TPoint;
using gfx::TRect;

// --- Rectangles and points (right and bottom exclusive unless said otherwise) ---

inline int RectWidthOf(const TRect& r) {
    return r.Right - r.Left;
}
inline int RectHeightOf(const TRect& r) {
    return r.Bottom - r.Top;
}
inline bool RectIsEmpty(const TRect& r) {
    return RectWidthOf(r) <= 0 || RectHeightOf(r) <= 0;
}
inline void RectClear(TRect& r) {
    r = {};
}
inline bool RectsSame(const TRect& a, const TRect& b) {
    return a == b;
}
// Either coordinate zero.
inline bool PointIsNull(const TPoint& p) {
    return p.X == 0 || p.Y == 0;
}
// Right and bottom count as inside.
inline bool PointInRectIncl(const TRect& r, const TPoint& p) {
    return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}
// A's top-left and bottom-right corners both inside B, B's right and bottom excluded.
inline bool RectInsideRect(const TRect& a, const TRect& b) {
    return b.Contains(a.Left, a.Top) && b.Contains(a.Right, a.Bottom);
}
// A's top or bottom edge lies within B's rows.
inline bool RectEdgesInsideVert(const TRect& a, const TRect& b) {
    return b.Contains(b.Left + 1, a.Top) || b.Contains(b.Right - 1, a.Bottom);
}
inline int IntMaxOf(int a, int b) {
    return a > b ? a : b;
}
inline int IntMinOf(int a, int b) {
    return a < b ? a : b;
}

// --- What the screen can show ---

// The version rules of the effects, kept as rules of a (major, minor) pair: layered windows
// from 5.0, drop shadows from 5.1 (but not 5.2), everything from 6.
struct TOsVersion {
    int Major = 0;
    int Minor = 0;
};
// A version word as the system reports it: the major version in the low byte, the minor in the
// next one.
TOsVersion GetOsVersionPair(std::uint32_t version);
bool OsIsW2kUp(TOsVersion version);
bool OsIsXpUp(TOsVersion version);
bool OsIsVistaUp(TOsVersion version);

// In the running program the backend answers instead of a version: layered windows and alpha
// fades where it can show layered windows, drop shadows where it can show shadows.
bool OsIsW2kUp();
bool OsIsXpUp();
bool OsIsVistaUp();

// --- Monitors ---

bool HasMultiMonitorApi();
// The primary monitor's work area, or the whole primary screen when workArea is false.
void GetDesktopWorkRect(bool workArea, TRect& r);
// The work area (or the whole rectangle) of the monitor nearest to the window; r stays as it
// is when the monitor can't be read.
void GetWindowMonitorRect(win::HWND wnd, bool workArea, TRect& r);

// --- Processor ---

bool CpuidPresent();
// EAX and EDX of CPUID leaf 1; 0 where the processor has no CPUID.
std::uint32_t CpuSignatureOf();
std::uint32_t CpuFeatureBits();
bool CpuHasMmx();
// Our blend variants are plain C++, so no multimedia state is ever left behind; kept so the
// places that would have to leave it say so.
inline void LeaveMmxState() {}

}  // namespace skin
