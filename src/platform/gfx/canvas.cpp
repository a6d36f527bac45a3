#include "platform/gfx/canvas.h"

#include <cmath>

#include "platform/gfx/graphics.h"

namespace gfx {

// ---- TFont, TPen, TBrush -----------------------------------------------------------------------

void TFont::Changed() {
    FHandle.reset();
    if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
    if (name == FName) return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

int TFont::Size() const {
    return -int(std::lround(FHeight * 72.0 / 96.0));
}
void TFont::SetSize(int size) {
    SetHeight(-int(std::lround(size * 96.0 / 72.0)));
}

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    FName = source.FName;
    FHeight = source.FHeight;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

HFONT TFont::Handle() const {
    if (!FHandle)
        FHandle = CreateFontIndirect({FHeight, (FStyle & fsBold) ? FW_BOLD : FW_NORMAL,
                                      (FStyle & fsItalic) != 0, (FStyle & fsUnderline) != 0,
                                      (FStyle & fsStrikeOut) != 0, FName});
    return FHandle;
}

void TPen::SetColor(TColor color) {
    FColor = color;
    Changed();
}
void TPen::SetWidth(int width) {
    FWidth = width < 1 ? 1 : width;
    Changed();
}
void TPen::SetStyle(TPenStyle style) {
    FStyle = style;
    Changed();
}
void TPen::Assign(const TPen& source) {
    FColor = source.FColor;
    FWidth = source.FWidth;
    FStyle = source.FStyle;
    Changed();
}

void TBrush::SetColor(TColor color) {
    FColor = color;
    // Giving a clear brush a colour makes it solid again, as in the component library.
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle style) {
    FStyle = style;
    Changed();
}
void TBrush::Assign(const TBrush& source) {
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

// ---- TCanvas ---------------------------------------------------------------------------------

void TCanvas::Prepare() {
    if (!FHandle) return;
    SelectObject(FHandle, FFont.Handle());
    SelectObject(FHandle, FPen.Handle());
    SelectObject(FHandle, FBrush.Handle());
    SetTextColor(FHandle, FFont.Color());
    SetBkColor(FHandle, FBrush.Color());
    SetBkMode(FHandle, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

TPoint TCanvas::PenPos() const {
    return FHandle ? FHandle->State().PenPos : TPoint{};
}
void TCanvas::SetPenPos(TPoint pos) {
    MoveTo(pos.X, pos.Y);
}

void TCanvas::MoveTo(int x, int y) {
    if (FHandle) MoveToEx(FHandle, x, y);
}

void TCanvas::LineTo(int x, int y) {
    if (!FHandle) return;
    Prepare();
    gfx::LineTo(FHandle, x, y);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!FHandle) return;
    Prepare();
    gfx::Rectangle(FHandle, left, top, right, bottom);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (!FHandle) return;
    Prepare();
    gfx::Ellipse(FHandle, left, top, right, bottom);
}

void TCanvas::FillRect(const TRect& rect) {
    if (FHandle) gfx::FillRect(FHandle, rect, FBrush.Handle());
}

void TCanvas::FrameRect(const TRect& rect) {
    if (FHandle) gfx::FrameRect(FHandle, rect, FBrush.Handle());
}

TColor TCanvas::Pixel(int x, int y) const {
    return FHandle ? GetPixel(FHandle, x, y) : CLR_INVALID;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (FHandle) gfx::SetPixel(FHandle, x, y, color);
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (FHandle && !graphic.Empty())
        graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (FHandle && !graphic.Empty()) graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    if (!FHandle || !source.FHandle) return;
    Prepare();
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), source.FHandle,
               sourceRect.Left, sourceRect.Top, sourceRect.Width(), sourceRect.Height(), FCopyMode);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    if (!FHandle) return;
    Prepare();
    gfx::TextOut(FHandle, x, y, text);
    MoveToEx(FHandle, x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
    if (!FHandle) return;
    Prepare();
    const unsigned options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0u : unsigned(ETO_OPAQUE));
    ExtTextOut(FHandle, x, y, options, &rect, text);
}

TSize TCanvas::TextExtent(std::string_view text) {
    TSize size;
    if (!FHandle) {
        TDC scratch;
        SelectObject(&scratch, FFont.Handle());
        GetTextExtentPoint32(&scratch, text, size);
        return size;
    }
    Prepare();
    GetTextExtentPoint32(FHandle, text, size);
    return size;
}

TRect TCanvas::ClipRect() const {
    TRect rect;
    if (FHandle) GetClipBox(FHandle, &rect);
    return rect;
}

}  // namespace gfx
