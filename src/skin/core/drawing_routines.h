// Canvas routines shared by the skinned parts: placing a glyph and a caption inside a button-like
// rectangle, text drawing and shortening, the small arrows and marks of the default look, the
// caption-button glyphs that stand in when a skin has no picture for them, and the dotted focus
// frame. Text is UTF-8 throughout; the canvas's font, pen and brush apply, and lines leave their
// end point out. Main thread, like the canvases they draw on.
#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphics.h"
#include "skin/core/skin_description.h"

namespace vcl {
class TControl;
class TCustomImageList;
}  // namespace vcl

namespace skin {

using gfx::TColor;
using gfx::TRect;

// The glyph's and the caption's top-left corners. A margin below 0 centres glyph and caption
// together as one block; 0 or more is the glyph's distance from the rectangle's edge on its
// side. Without a glyph (width 0) the spacing counts as 0.
void LayoutGlyphAndText(TbsButtonLayout layout, const TRect& rect, int glyphWidth, int glyphHeight,
                        int textWidth, int textHeight, int spacing, int margin, int& textX,
                        int& textY, int& glyphX, int& glyphY);

// Image imageIndex of the list (none when the index is out of its range) and a caption with
// centred lines, laid out by LayoutGlyphAndText; the brush is left clear. ADown moves everything
// one pixel right and down (the pressed look); aEnabled draws the image normal or disabled. With
// drawColorMarker a bar in colorMarkerValue goes under the glyph, else under the caption, else
// fills the rectangle less a margin.
void PaintGlyphTextFromList(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                            TbsButtonLayout layout, std::string_view caption, int imageIndex,
                            vcl::TCustomImageList* imageList, bool aDown, bool aEnabled,
                            bool drawColorMarker, TColor colorMarkerValue);
// The same with the caption's lines left-aligned.
void PaintGlyphTextFromList2(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                             TbsButtonLayout layout, std::string_view caption, int imageIndex,
                             vcl::TCustomImageList* imageList, bool aDown, bool aEnabled,
                             bool drawColorMarker, TColor colorMarkerValue);
// The same with the glyph taken from a strip of numGlyphs frames (frame glyphNum, from 1); the
// brush turns clear only for a caption, and the pressed look moves the filling marker too.
void PaintGlyphTextFromBitmap(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                              TbsButtonLayout layout, std::string_view caption, gfx::TBitmap& glyph,
                              int numGlyphs, int glyphNum, bool aDown, bool drawColorMarker,
                              TColor colorMarkerValue);

// Paints on canvas, which draws the control's area, what the parent and its windowless children
// listed before the control would show there: the control looks transparent. The parent paints
// with csPaintCopy set. The Rect form paints the part rect of the control at the canvas's
// origin.
void PaintParentBackdrop(vcl::TControl* control, gfx::TCanvas& canvas);
void PaintParentBackdropRect(vcl::TControl* control, const TRect& rect, gfx::TCanvas& canvas);

// DrawText on the canvas's DC with the canvas's font and colours; a clear brush draws no
// background. Returns what DrawText returns (0 without a DC).
int DrawWideTextOn(gfx::TCanvas& canvas, std::string_view text, gfx::TRect& rect, unsigned format);
// The size DrawWideTextOn measures for the text from an empty rectangle.
int WideTextWidthOf(gfx::TCanvas& canvas, std::string_view text);
int WideTextHeightOf(gfx::TCanvas& canvas, std::string_view text);
// A text wider than maxWidth loses characters at its end until it fits with "..." after it;
// once shortening starts the result ends in "...", even with nothing of the text left. Whole
// characters go, never part of one. Measured with WideTextWidthOf, or the canvas's TextWidth.
void EllipsizeWideText(gfx::TCanvas& canvas, std::string& text, int maxWidth);
void EllipsizeText(gfx::TCanvas& canvas, std::string& text, int maxWidth);

// One line centred vertically in rect; nothing for an empty text.
void DrawTextCentredV(gfx::TCanvas& canvas, std::string_view text, const TRect& rect);
// One line 2 pixels (plus offset) from the left, centred vertically, clipped to rect.
void DrawTextLeftCentredV(gfx::TCanvas& canvas, std::string_view text, const TRect& rect);
void DrawTextLeftCentredVOffset(gfx::TCanvas& canvas, std::string_view text, const TRect& rect,
                                int offset);

// Small shapes of the default look, around the rectangle's centre.
void DrawDropArrow3(gfx::TCanvas& canvas, const TRect& rect, TColor color);
// kind: 1 left, 2 right, 3 up, 4 down; any other kind only sets the pen colour.
void DrawDirArrow(gfx::TCanvas& canvas, const TRect& rect, TColor color, int kind);
void DrawRadioMark(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawCheckMark(gfx::TCanvas& canvas, int x, int y, TColor color);

// Caption-button glyphs, (x, y) being the glyph's top-left corner.
void DrawCloseGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawSysMenuGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawMinimizeGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawMaximizeGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawRestoreGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawRollDownGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawRollUpGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);
void DrawTrayGlyph(gfx::TCanvas& canvas, int x, int y, TColor color);

// Every second pixel of the rectangle's border in the font colour (right and bottom one pixel
// in), corners shared by both their edges; the top-left pixel is off when the width and height
// less one are both even.
void DrawDotFrame(gfx::TCanvas& canvas, const TRect& rect);

}  // namespace skin
