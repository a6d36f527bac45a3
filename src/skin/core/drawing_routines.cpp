#include "skin/core/drawing_routines.h"

#include <functional>

#include "platform/vcl/controls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "skin/core/saved_dc.h"
#include "skin/core/skin_images.h"

namespace skin {

namespace {

// Glyph and caption along the layout's axis, the glyph first (left, top) or last; a margin
// below 0 centres the two as one block.
void PlaceAlong(int start, int end, int glyph, int text, int spacing, int margin, bool glyphFirst,
                int& glyphPos, int& textPos) {
    const int centre = start + (end - start) / 2, half = (glyph + text + spacing) / 2;
    if (margin < 0) {
        glyphPos = glyphFirst ? centre - half : centre + half - glyph;
        textPos = glyphFirst ? centre + half - text : centre - half;
    } else if (glyphFirst) {
        glyphPos = start + margin;
        textPos = glyphPos + glyph + spacing;
    } else {
        glyphPos = end - glyph - margin;
        textPos = glyphPos - spacing - text;
    }
}

// Both centred across the layout's axis.
void PlaceAcross(int start, int end, int glyph, int text, int& glyphPos, int& textPos) {
    const int centre = start + (end - start) / 2;
    glyphPos = centre - glyph / 2;
    textPos = centre - text / 2;
}

}  // namespace

void LayoutGlyphAndText(TbsButtonLayout layout, const TRect& rect, int glyphWidth, int glyphHeight,
                        int textWidth, int textHeight, int spacing, int margin, int& textX,
                        int& textY, int& glyphX, int& glyphY) {
    if (glyphWidth == 0) spacing = 0;
    const bool glyphFirst = layout == blGlyphLeft || layout == blGlyphTop;
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        PlaceAlong(rect.Left, rect.Right, glyphWidth, textWidth, spacing, margin, glyphFirst,
                   glyphX, textX);
        PlaceAcross(rect.Top, rect.Bottom, glyphHeight, textHeight, glyphY, textY);
    } else {
        PlaceAlong(rect.Top, rect.Bottom, glyphHeight, textHeight, spacing, margin, glyphFirst,
                   glyphY, textY);
        PlaceAcross(rect.Left, rect.Right, glyphWidth, textWidth, glyphX, textX);
    }
}

namespace {

void Line(gfx::TCanvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

// The caption's size as the glyph routines measure it: word-wrapped in what the glyph leaves.
gfx::TSize MeasureCaption(gfx::TCanvas& canvas, std::string_view caption, const TRect& aRect,
                          TbsButtonLayout layout, int glyphWidth, int glyphHeight) {
    if (caption.empty()) return {};
    TRect r{0, 0, aRect.Width(), aRect.Height()};
    if (layout == blGlyphLeft || layout == blGlyphRight)
        r.Right -= glyphWidth;
    else
        r.Bottom -= glyphHeight;
    DrawWideTextOn(canvas, caption, r, gfx::DT_CALCRECT | gfx::DT_EXPANDTABS | gfx::DT_WORDBREAK);
    return {r.Width(), r.Height()};
}

// Removes the text's last character: a whole UTF-8 sequence, or one stray byte.
void DropLastCharacter(std::string& text) {
    if (text.empty()) return;
    const std::size_t n = text.size();
    std::size_t i = n - 1;
    while (i > 0 && n - i < 4 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    text.resize(length == n - i ? i : n - 1);
}

template <class TWidthOf>
void Ellipsize(std::string& text, int maxWidth, TWidthOf widthOf) {
    if (widthOf(text) <= maxWidth) return;
    do DropLastCharacter(text);
    while (!text.empty() && widthOf(text + "...") > maxWidth);
    text += "...";
}

void DrawTextLeftCentredAt(gfx::TCanvas& canvas, std::string_view text, const TRect& rect, int x) {
    if (text.empty()) return;
    canvas.TextRect(rect, x, rect.Top + rect.Height() / 2 - canvas.TextHeight(text) / 2, text);
}

}  // namespace

namespace {

// Where the glyph of a glyph-and-caption paint comes from, and how that kind of paint differs.
struct TGlyphSource {
    int Width = 0, Height = 0;  // 0 x 0: no glyph
    std::function<void(int x, int y)> Draw;
    bool ClearBrushAlways = true;
    bool PressedMarkerMoves = false;
    unsigned CaptionAlign = gfx::DT_CENTER;
};

void PaintGlyphText(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                    TbsButtonLayout layout, std::string_view caption, const TGlyphSource& glyph,
                    bool aDown, bool drawColorMarker, TColor colorMarkerValue) {
    const bool hasGlyph = bool(glyph.Draw);
    const gfx::TSize text =
        MeasureCaption(canvas, caption, aRect, layout, glyph.Width, glyph.Height);
    if (glyph.ClearBrushAlways || !caption.empty()) canvas.Brush().SetStyle(gfx::bsClear);
    int textX = 0, textY = 0, glyphX = 0, glyphY = 0;
    LayoutGlyphAndText(layout, aRect, glyph.Width, glyph.Height, text.cx, text.cy, spacing, margin,
                       textX, textY, glyphX, glyphY);
    if (aDown) {
        ++textX, ++textY, ++glyphX, ++glyphY;
    }
    TRect captionRect{textX, textY, textX + text.cx + 2, textY + text.cy};
    if (!caption.empty())
        DrawWideTextOn(
            canvas, caption, captionRect,
            gfx::DT_EXPANDTABS | gfx::DT_WORDBREAK | gfx::DT_VCENTER | glyph.CaptionAlign);
    if (hasGlyph) {
        glyph.Draw(glyphX, glyphY);
        if (drawColorMarker) {
            canvas.Pen().SetColor(colorMarkerValue);
            for (int dy = -2; dy <= 0; ++dy)
                Line(canvas, glyphX, glyphY + glyph.Height + dy, glyphX + glyph.Width,
                     glyphY + glyph.Height + dy);
        }
        return;
    }
    if (!drawColorMarker) return;
    if (!caption.empty()) {
        canvas.Pen().SetColor(colorMarkerValue);
        for (int dy = -1; dy <= 1; ++dy)
            Line(canvas, captionRect.Left, captionRect.Bottom + dy, captionRect.Right,
                 captionRect.Bottom + dy);
        return;
    }
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(colorMarkerValue);
    canvas.FillRect(aDown && glyph.PressedMarkerMoves
                        ? TRect{aRect.Left + 4, aRect.Top + 5, aRect.Right - 2, aRect.Bottom - 3}
                        : TRect{aRect.Left + 4, aRect.Top + 4, aRect.Right - 2, aRect.Bottom - 4});
}

TGlyphSource ListGlyph(gfx::TCanvas& canvas, int imageIndex, vcl::TCustomImageList* imageList,
                       bool aEnabled, unsigned captionAlign) {
    TGlyphSource glyph;
    glyph.CaptionAlign = captionAlign;
    if (imageList && imageIndex >= 0 && imageIndex < imageList->Count()) {
        glyph.Width = imageList->Width();
        glyph.Height = imageList->Height();
        glyph.Draw = [&canvas, imageList, imageIndex, aEnabled](int x, int y) {
            imageList->Draw(canvas, x, y, imageIndex, aEnabled);
        };
    }
    return glyph;
}

// Reaches a control's own painting, which the component library keeps to controls.
struct TPaintAccess : vcl::TWinControl {
    static void PaintWindowOf(vcl::TWinControl& control, gfx::HDC dc) {
        (control.*(&TPaintAccess::PaintWindow))(dc);
    }
};

// Sets a control state for a scope.
class TStateScope {
public:
    TStateScope(vcl::TControl& control, vcl::TControlStateItem item)
        : FControl(control), FItem(item) {
        FControl.SetControlState(FControl.ControlState() + FItem);
    }
    ~TStateScope() { FControl.SetControlState(FControl.ControlState() - FItem); }
    TStateScope(const TStateScope&) = delete;
    TStateScope& operator=(const TStateScope&) = delete;

private:
    vcl::TControl& FControl;
    vcl::TControlStateItem FItem;
};

void PaintBackdrop(vcl::TControl* control, gfx::TPoint shift, gfx::TCanvas& canvas) {
    vcl::TWinControl* parent = control ? control->Parent() : nullptr;
    const gfx::HDC dc = parent ? canvas.Handle() : nullptr;
    if (!dc) return;
    // Origins are taken relative to the canvas's own, so a windowless control painting in its
    // parent's DC gets the same picture as a windowed one painting in its own.
    gfx::TPoint origin;
    gfx::GetViewportOrgEx(dc, &origin);
    origin.X -= shift.X;
    origin.Y -= shift.Y;
    TStateScope copying(*parent, vcl::csPaintCopy);
    {
        TSavedDC saved(dc);
        gfx::SetViewportOrgEx(dc, origin.X - control->Left(), origin.Y - control->Top());
        gfx::IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        auto* form = dynamic_cast<vcl::TCustomForm*>(parent);
        if (form && form->FormStyle() == vcl::fsMDIForm && form->ClientHandle()) {
            win::SendMessage(form->ClientHandle(), win::WM_ERASEBKGND, win::DcToParam(dc), 0);
        } else {
            parent->Perform(win::WM_ERASEBKGND, win::DcToParam(dc), 0);
            if (!form) TPaintAccess::PaintWindowOf(*parent, dc);
        }
    }
    // The windowless siblings below the control; the list has every windowless control before
    // the windowed ones.
    for (int i = 0; i < parent->ControlCount(); ++i) {
        vcl::TControl* child = parent->Controls(i);
        if (child == control) break;
        if (!dynamic_cast<vcl::TGraphicControl*>(child) || !child->Visible() ||
            gfx::IntersectRect(child->BoundsRect(), control->BoundsRect()).IsEmpty())
            continue;
        TStateScope childCopying(*child, vcl::csPaintCopy);
        TSavedDC saved(dc);
        gfx::SetViewportOrgEx(dc, origin.X + child->Left() - control->Left(),
                              origin.Y + child->Top() - control->Top());
        gfx::IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        child->Perform(win::WM_PAINT, win::DcToParam(dc), 0);
    }
}

}  // namespace

void PaintGlyphTextFromList(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                            TbsButtonLayout layout, std::string_view caption, int imageIndex,
                            vcl::TCustomImageList* imageList, bool aDown, bool aEnabled,
                            bool drawColorMarker, TColor colorMarkerValue) {
    PaintGlyphText(canvas, aRect, margin, spacing, layout, caption,
                   ListGlyph(canvas, imageIndex, imageList, aEnabled, gfx::DT_CENTER), aDown,
                   drawColorMarker, colorMarkerValue);
}

void PaintGlyphTextFromList2(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                             TbsButtonLayout layout, std::string_view caption, int imageIndex,
                             vcl::TCustomImageList* imageList, bool aDown, bool aEnabled,
                             bool drawColorMarker, TColor colorMarkerValue) {
    PaintGlyphText(canvas, aRect, margin, spacing, layout, caption,
                   ListGlyph(canvas, imageIndex, imageList, aEnabled, gfx::DT_LEFT), aDown,
                   drawColorMarker, colorMarkerValue);
}

void PaintGlyphTextFromBitmap(gfx::TCanvas& canvas, const TRect& aRect, int margin, int spacing,
                              TbsButtonLayout layout, std::string_view caption, gfx::TBitmap& glyph,
                              int numGlyphs, int glyphNum, bool aDown, bool drawColorMarker,
                              TColor colorMarkerValue) {
    TGlyphSource source;
    source.ClearBrushAlways = false;
    source.PressedMarkerMoves = true;
    if (!glyph.Empty() && numGlyphs > 0) {
        source.Width = glyph.Width() / numGlyphs;
        source.Height = glyph.Height();
        source.Draw = [&](int x, int y) {
            DrawStripFrame(canvas, x, y, glyph, numGlyphs, glyphNum);
        };
    }
    PaintGlyphText(canvas, aRect, margin, spacing, layout, caption, source, aDown, drawColorMarker,
                   colorMarkerValue);
}

void PaintParentBackdrop(vcl::TControl* control, gfx::TCanvas& canvas) {
    PaintBackdrop(control, {0, 0}, canvas);
}

void PaintParentBackdropRect(vcl::TControl* control, const TRect& rect, gfx::TCanvas& canvas) {
    PaintBackdrop(control, {rect.Left, rect.Top}, canvas);
}

int DrawWideTextOn(gfx::TCanvas& canvas, std::string_view text, gfx::TRect& rect, unsigned format) {
    return canvas.DrawText(text, rect, format);
}

int WideTextWidthOf(gfx::TCanvas& canvas, std::string_view text) {
    TRect r;
    DrawWideTextOn(canvas, text, r, gfx::DT_CALCRECT);
    return r.Width();
}

int WideTextHeightOf(gfx::TCanvas& canvas, std::string_view text) {
    TRect r;
    DrawWideTextOn(canvas, text, r, gfx::DT_CALCRECT);
    return r.Height();
}

void EllipsizeWideText(gfx::TCanvas& canvas, std::string& text, int maxWidth) {
    Ellipsize(text, maxWidth, [&](const std::string& t) { return WideTextWidthOf(canvas, t); });
}

void EllipsizeText(gfx::TCanvas& canvas, std::string& text, int maxWidth) {
    Ellipsize(text, maxWidth, [&](const std::string& t) { return canvas.TextWidth(t); });
}

void DrawTextCentredV(gfx::TCanvas& canvas, std::string_view text, const TRect& rect) {
    if (text.empty()) return;
    TRect r = rect;
    DrawWideTextOn(canvas, text, r, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
}

void DrawTextLeftCentredV(gfx::TCanvas& canvas, std::string_view text, const TRect& rect) {
    DrawTextLeftCentredAt(canvas, text, rect, rect.Left + 2);
}

void DrawTextLeftCentredVOffset(gfx::TCanvas& canvas, std::string_view text, const TRect& rect,
                                int offset) {
    DrawTextLeftCentredAt(canvas, text, rect, rect.Left + offset + 2);
}

void DrawDropArrow3(gfx::TCanvas& canvas, const TRect& rect, TColor color) {
    const int cx = rect.Left + rect.Width() / 2, cy = rect.Top + rect.Height() / 2;
    canvas.Pen().SetColor(color);
    for (int i = 0; i < 3; ++i) Line(canvas, cx - 2 + i, cy + i, cx + 3 - i, cy + i);
}

void DrawDirArrow(gfx::TCanvas& canvas, const TRect& rect, TColor color, int kind) {
    const int cx = rect.Left + rect.Width() / 2, cy = rect.Top + rect.Height() / 2;
    canvas.Pen().SetColor(color);
    // Four lines across the arrow's direction, each one pixel longer at both ends than the
    // one before it, from the tip.
    for (int i = 0; i < 4; ++i) switch (kind) {
            case 1:
                Line(canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1);
                break;
            case 2:
                Line(canvas, cx + 2 - i, cy - i, cx + 2 - i, cy + i + 1);
                break;
            case 3:
                Line(canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i);
                break;
            case 4:
                Line(canvas, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i);
                break;
            default:
                return;
        }
}

void DrawRadioMark(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(color);
    canvas.Rectangle(x, y, x + 6, y + 6);
}

void DrawCheckMark(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    for (int i = 0; i < 3; ++i) {
        canvas.MoveTo(x, y + 5 - i);
        canvas.LineTo(x + 2, y + 7 - i);
        canvas.LineTo(x + 7, y + 2 - i);
    }
}

void DrawCloseGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    Line(canvas, x + 1, y + 1, x + 9, y + 9);
    Line(canvas, x + 9, y + 1, x + 1, y + 9);
    Line(canvas, x + 2, y + 1, x + 10, y + 9);
    Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawSysMenuGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(gfx::bsClear);
    canvas.Rectangle(x + 1, y + 3, x + 9, y + 6);
}

void DrawMinimizeGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    Line(canvas, x + 1, y + 8, x + 9, y + 8);
    Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(gfx::bsClear);
    canvas.Rectangle(x, y, x + 11, y + 10);
    canvas.Rectangle(x, y, x + 11, y + 2);
}

void DrawRestoreGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(gfx::bsClear);
    canvas.Rectangle(x + 2, y, x + 10, y + 6);
    canvas.Rectangle(x + 2, y, x + 10, y + 2);
    canvas.Rectangle(x, y + 4, x + 7, y + 10);
    canvas.Rectangle(x, y + 4, x + 7, y + 6);
}

void DrawRollDownGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    for (int i = 0; i < 4; ++i) Line(canvas, x + 1 + i, y + 2 + i, x + 9 - i, y + 2 + i);
}

void DrawRollUpGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    for (int i = 0; i < 4; ++i) Line(canvas, x + 1 + i, y + 6 - i, x + 9 - i, y + 6 - i);
}

void DrawTrayGlyph(gfx::TCanvas& canvas, int x, int y, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(color);
    canvas.Rectangle(x + 2, y + 2, x + 7, y + 7);
}

void DrawDotFrame(gfx::TCanvas& canvas, const TRect& rect) {
    const int right = rect.Right - 1, bottom = rect.Bottom - 1;
    const int w = right - rect.Left, h = bottom - rect.Top;  // width and height less one
    if (w < 0 || h < 0) return;
    const TColor color = canvas.Font().Color();
    canvas.Pen().SetColor(color);
    // Position p along the walk round the border; the corners get the same p from both edges
    // because the walk's length is even.
    const bool firstOn = !(w % 2 == 0 && h % 2 == 0);
    auto dot = [&](int p, int x, int y) {
        if ((p % 2 == 0) == firstOn) canvas.SetPixel(x, y, color);
    };
    for (int i = 0; i <= w; ++i) dot(i, rect.Left + i, rect.Top);
    for (int i = 0; i <= h; ++i) dot(w + i, right, rect.Top + i);
    for (int i = 0; i <= w; ++i) dot(w + h + i, right - i, bottom);
    for (int i = 0; i <= h; ++i) dot(2 * w + h + i, rect.Left, bottom - i);
}

}  // namespace skin
