// What the list box, list view, tree view and tab control share (not public): the scroll
// request arithmetic and the plain row look.
#pragma once

#include <string>

#include "platform/vcl/controls.h"
#include "platform/win/scroll_info.h"

namespace vcl::detail {

// The position a WM_HSCROLL / WM_VSCROLL request asks for, from the window's scroll
// information of that bar; `line` is one small step.
int ScrollTarget(HWND window, int bar, WPARAM request, int line = 1);
// Sets range 0..max, page and position of a bar (range, page and position in one call).
void SetScrollState(HWND window, int bar, int maxPos, int page, int pos);

// A canvas over a paint DC in the control's font.
void Prepare(gfx::TCanvas& canvas, HDC dc, gfx::TFont& font);
// A row: highlight fill when selected, text left-aligned and centred vertically, 2 px in; an
// enabled row that is not selected takes `textColor` (a view's own font colour).
void DrawRow(gfx::TCanvas& canvas, const TRect& rect, const std::string& text, bool selected,
             bool enabled, bool fill = true, gfx::TColor textColor = gfx::clWindowText);
// A button-face box with a light top-left and a dark bottom-right edge (swapped when pressed).
void DrawRaised(gfx::TCanvas& canvas, const TRect& rect, bool pressed);
// The width of a single-line text in a font, measured off screen.
int MeasureText(gfx::TFont& font, const std::string& text);
// ASCII-case-insensitive prefix test, as the search and find requests compare.
bool StartsWithText(const std::string& s, const std::string& prefix);
// Milliseconds within which typed characters extend an incremental search.
inline constexpr int kSearchPauseMs = 1000;
std::int64_t NowMs();

}  // namespace vcl::detail
