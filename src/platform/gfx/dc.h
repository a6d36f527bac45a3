// Device contexts and the classic drawing calls over them. A TDC draws into the surface selected
// into it, through its origin and clip, with its pen, brush, font and text colours; SaveDC and
// RestoreDC keep a stack of all of that. The window layer makes DCs for window surfaces and
// narrows them with a system clip; memory DCs come from CreateCompatibleDC. A DC and its surface
// are used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/gfx/region.h"
#include "platform/gfx/surface.h"
#include "platform/gfx/types.h"

namespace gfx {

class TFontObject;
using HFONT = std::shared_ptr<const TFontObject>;

enum : int {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6
};
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1 };
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

// How pen and brush pixels of lines and shapes combine with what is there (P pen, D destination).
enum : int {
    R2_BLACK = 1,         // 0
    R2_NOTMERGEPEN = 2,   // ~(P | D)
    R2_MASKNOTPEN = 3,    // ~P & D
    R2_NOTCOPYPEN = 4,    // ~P
    R2_MASKPENNOT = 5,    // P & ~D
    R2_NOT = 6,           // ~D
    R2_XORPEN = 7,        // P ^ D
    R2_NOTMASKPEN = 8,    // ~(P & D)
    R2_MASKPEN = 9,       // P & D
    R2_NOTXORPEN = 10,    // ~(P ^ D)
    R2_NOP = 11,          // D
    R2_MERGENOTPEN = 12,  // ~P | D
    R2_COPYPEN = 13,      // P
    R2_MERGEPENNOT = 14,  // P | ~D
    R2_MERGEPEN = 15,     // P | D
    R2_WHITE = 16,        // 1
};

// Raster operations of the block transfers.
enum : std::uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    NOTSRCCOPY = 0x00330008,
    PATCOPY = 0x00F00021,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};

constexpr TColor CLR_INVALID = MakeColor(0xFFFFFFFFu);

// Pens and brushes are small values; "creating" one just fills the record.
struct TLogPen {
    int Style = PS_SOLID;
    int Width = 1;
    TColor Color = clBlack;
    friend bool operator==(const TLogPen&, const TLogPen&) = default;
};
struct TLogBrush {
    int Style = BS_SOLID;
    TColor Color = clWhite;
    friend bool operator==(const TLogBrush&, const TLogBrush&) = default;
};
using HPEN = TLogPen;
using HBRUSH = TLogBrush;

class TDC {
public:
    // Everything SaveDC keeps.
    struct TState {
        HBITMAP Bitmap;
        TLogPen Pen;
        TLogBrush Brush;
        HFONT Font;
        TColor TextColor = clBlack;
        TColor BkColor = clWhite;
        int BkMode = OPAQUE;
        int StretchMode = BLACKONWHITE;
        int Rop2 = R2_COPYPEN;
        TPoint ViewportOrg;
        TPoint WindowOrg;
        TPoint PenPos;
        std::optional<TRegion> Clip;  // device coordinates; none = the whole surface
    };

    TDC() = default;
    explicit TDC(HBITMAP bitmap);

    TState& State() { return FState; }
    const TState& State() const { return FState; }
    // Logical to device: + viewport origin - window origin.
    TPoint Offset() const;
    TSurface* Surface() const { return FState.Bitmap.get(); }

    // The window layer's own limit (device coordinates), kept by SaveDC/RestoreDC untouched.
    void SetSystemClip(std::optional<TRegion> region);
    // Where drawing may land, in device coordinates: surface ∩ system clip ∩ clip.
    const TRegion& VisibleRegion() const;
    void ClipChanged() { FVisibleValid = false; }

    int Save();
    bool Restore(int level);

private:
    TState FState;
    std::vector<TState> FSaved;
    std::optional<TRegion> FSystemClip;
    mutable TRegion FVisible;
    mutable bool FVisibleValid = false;
    mutable TRect FVisibleFor;  // surface bounds the cached region was made for
};

using HDC = TDC*;

// A memory DC with nothing selected; the argument is accepted as in the classic call.
std::unique_ptr<TDC> CreateCompatibleDC(HDC dc);

// A 32-bit top-down surface with a memory DC selected on it, as off-screen images need. Raises
// "Can't allocate the DIB handle", "Can't create compatible DC" or "Can't bslect an object into
// DC" when a step fails.
struct TDibDC {
    HBITMAP Bitmap;
    std::unique_ptr<TDC> DC;
};
TDibDC CreateDibDC(int width, int height);

// Selection; each returns what was selected before.
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
TLogPen SelectObject(HDC dc, const TLogPen& pen);
TLogBrush SelectObject(HDC dc, const TLogBrush& brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP GetCurrentBitmap(HDC dc);
TLogPen CreatePen(int style, int width, TColor color);
TLogBrush CreateSolidBrush(TColor color);

int SaveDC(HDC dc);
// level > 0: back to the state SaveDC returned that level for; level < 0: that many back.
bool RestoreDC(HDC dc, int level);

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old = nullptr);
bool GetViewportOrgEx(HDC dc, TPoint* origin);
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old = nullptr);
bool GetWindowOrgEx(HDC dc, TPoint* origin);

// The region is in device coordinates and copied; nullptr removes the clip.
int SelectClipRgn(HDC dc, const TRegion* region);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
// The visible area's bounds, in logical coordinates.
int GetClipBox(HDC dc, TRect* rect);

TColor SetTextColor(HDC dc, TColor color);
TColor GetTextColor(HDC dc);
TColor SetBkColor(HDC dc, TColor color);
TColor GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
// The mix mode of lines, rectangles and ellipses (FillRect, FrameRect and text ignore it).
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);

// Block transfers. Source and destination may be the same DC, overlapping or not.
bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
            std::uint32_t rop);
// Nearest-neighbour stretch.
bool StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, std::uint32_t rop);
// A stretch that leaves out every source pixel of the key colour (compared on R, G, B).
bool TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                    int srcWidth, int srcHeight, TColor keyColor);

// Shapes, with the classic pixel rules: right and bottom edges are outside; a line leaves its
// end point out.
int FillRect(HDC dc, const TRect& rect, const TLogBrush& brush);
int FrameRect(HDC dc, const TRect& rect, const TLogBrush& brush);
bool FillRgn(HDC dc, const TRegion& region, const TLogBrush& brush);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
bool MoveToEx(HDC dc, int x, int y, TPoint* old = nullptr);
bool LineTo(HDC dc, int x, int y);
TColor SetPixel(HDC dc, int x, int y, TColor color);
// CLR_INVALID outside the visible area.
TColor GetPixel(HDC dc, int x, int y);
// The dotted focus frame: every other pixel of the rectangle's 1-pixel outline inverted, so a
// second call with the same rectangle takes it away.
bool DrawFocusRect(HDC dc, const TRect& rect);

}  // namespace gfx
