// Fonts and text drawing over device contexts. Fonts are found through fontconfig with a table
// of stand-ins for the names the program uses (Arial, Tahoma, 宋体, ...) and rendered by
// FreeType, anti-aliased; a character missing from the chosen font is taken from a font that
// has it (CJK from WenQuanYi Micro Hei). Font objects are immutable once created and cached by
// description; the font machinery is locked, so any thread may measure and draw text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/dc.h"

namespace gfx {

enum : int { FW_NORMAL = 400, FW_BOLD = 700 };

struct TLogFont {
    // > 0: cell height (ascent + descent) in pixels; < 0: character (em) height; 0: default.
    int Height = 0;
    int Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    std::string FaceName;
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

struct TTextMetric {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
};

// The same description gives the same font object.
HFONT CreateFontIndirect(const TLogFont& font);
// The font a DC uses while none is selected.
HFONT DefaultGuiFont();

enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_WORD_ELLIPSIS = 0x40000,
    DT_HIDEPREFIX = 0x100000,
    DT_PREFIXONLY = 0x200000,
};

enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4 };

bool GetTextMetrics(HDC dc, TTextMetric& metrics);
// Width and height of one line of text, no prefixes or tabs.
bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize& size);
// (x, y) is the top-left corner of the text's cell.
bool TextOut(HDC dc, int x, int y, std::string_view text);
bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text);
// Draws, or with DT_CALCRECT only measures and sets rect's right and bottom. Returns the text's
// height (with DT_VCENTER or DT_BOTTOM: from rect.Top to the bottom of the text).
int DrawText(HDC dc, std::string_view text, TRect& rect, unsigned format);
// One line with tabs: each tab moves to the next of `tabStops` (x positions counted from
// tabOrigin); one stop is an interval, none is eight average character widths, and past the last
// stop the interval of eight characters goes on. Returns the width and height drawn.
TSize TabbedTextOut(HDC dc, int x, int y, std::string_view text, int stopCount, const int* tabStops,
                    int tabOrigin);
// Per character, the glyph index in the font that draws it; 0 where no installed font has one.
std::vector<std::uint32_t> GetGlyphIndices(HDC dc, std::string_view text);

// UTF-8 to code points; an invalid byte becomes one code point U+0080..U+00FF.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);

}  // namespace gfx
