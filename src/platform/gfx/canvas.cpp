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

void TFont::SetCharset(TFontCharset charset) {
    if (charset == FCharset) return;
    FCharset = charset;
    if (OnChange) OnChange();  // the glyphs stay as they are
}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    FName = source.FName;
    FHeight = source.FHeight;
    FColor = source.FColor;
    FStyle = source.FStyle;
    FCharset = source.FCharset;
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
void TPen::SetMode(TPenMode mode) {
    FMode = mode;
    Changed();
}
void TPen::Assign(const TPen& source) {
    FColor = source.FColor;
    FWidth = source.FWidth;
    FStyle = source.FStyle;
    FMode = source.FMode;
    Changed();
}

int PenModeToRop2(TPenMode mode) {
    static constexpr int kRop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                    R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                    R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                    R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    return kRop2[int(mode)];
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

HDC TCanvas::Ready() {
    return Handle();
}

HDC TCanvas::Prepare() {
    HDC dc = Handle();
    if (!dc) return nullptr;
    SelectObject(dc, FFont.Handle());
    SelectObject(dc, FPen.Handle());
    SelectObject(dc, FBrush.Handle());
    SetROP2(dc, PenModeToRop2(FPen.Mode()));
    SetTextColor(dc, FFont.Color());
    SetBkColor(dc, FBrush.Color());
    SetBkMode(dc, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
    return dc;
}

TPoint TCanvas::PenPos() const {
    return FHandle ? FHandle->State().PenPos : TPoint{};
}
void TCanvas::SetPenPos(TPoint pos) {
    MoveTo(pos.X, pos.Y);
}

void TCanvas::MoveTo(int x, int y) {
    if (HDC dc = Ready()) MoveToEx(dc, x, y);
}

void TCanvas::LineTo(int x, int y) {
    HDC dc = Prepare();
    if (!dc) return;
    Changing();
    gfx::LineTo(dc, x, y);
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    HDC dc = Prepare();
    if (!dc) return;
    Changing();
    gfx::Rectangle(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    HDC dc = Prepare();
    if (!dc) return;
    Changing();
    gfx::Ellipse(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    HDC dc = Ready();
    if (!dc) return;
    Changing();
    gfx::FillRect(dc, rect, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    HDC dc = Ready();
    if (!dc) return;
    Changing();
    gfx::FrameRect(dc, rect, FBrush.Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    HDC dc = Ready();
    if (!dc) return;
    Changing();
    gfx::DrawFocusRect(dc, rect);
    Changed();
}

TColor TCanvas::Pixel(int x, int y) {
    HDC dc = Ready();
    return dc ? GetPixel(dc, x, y) : CLR_INVALID;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    HDC dc = Ready();
    if (!dc) return;
    Changing();
    gfx::SetPixel(dc, x, y, color);
    Changed();
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty() || !Ready()) return;
    Changing();
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) {
    if (graphic.Empty() || !Ready()) return;
    Changing();
    graphic.Draw(*this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    HDC dc = Prepare();
    HDC src = source.Ready();
    if (!dc || !src) return;
    Changing();
    StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), src, sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), FCopyMode);
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    HDC dc = Prepare();
    if (!dc) return;
    Changing();
    gfx::TextOut(dc, x, y, text);
    TSize size;
    GetTextExtentPoint32(dc, text, size);
    MoveToEx(dc, x + size.cx, y);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
    HDC dc = Prepare();
    if (!dc) return;
    Changing();
    const unsigned options = ETO_CLIPPED | (FBrush.Style() == bsClear ? 0u : unsigned(ETO_OPAQUE));
    ExtTextOut(dc, x, y, options, &rect, text);
    Changed();
}

TSize TCanvas::TabbedTextOut(int x, int y, std::string_view text, int stopCount,
                             const int* tabStops, int tabOrigin) {
    HDC dc = Prepare();
    if (!dc) return {};
    Changing();
    const TSize size = gfx::TabbedTextOut(dc, x, y, text, stopCount, tabStops, tabOrigin);
    Changed();
    return size;
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned format) {
    HDC dc = Prepare();
    if (!dc) return 0;
    if (!(format & DT_CALCRECT)) Changing();
    const int height = gfx::DrawText(dc, text, rect, format);
    if (!(format & DT_CALCRECT)) Changed();
    return height;
}

TSize TCanvas::TextExtent(std::string_view text) {
    TSize size;
    HDC dc = Prepare();
    if (!dc) {
        TDC scratch;
        SelectObject(&scratch, FFont.Handle());
        GetTextExtentPoint32(&scratch, text, size);
        return size;
    }
    GetTextExtentPoint32(dc, text, size);
    return size;
}

TRect TCanvas::ClipRect() {
    TRect rect;
    if (HDC dc = Ready()) GetClipBox(dc, &rect);
    return rect;
}

// ---- Frame3D ---------------------------------------------------------------------------------

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    HDC dc = canvas.Handle();
    for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
        if (dc) {
            const TLogBrush top = CreateSolidBrush(topColor),
                            bottom = CreateSolidBrush(bottomColor);
            // Top and left in the top colour; the corners at top-right and bottom-left belong to
            // the bottom colour.
            FillRect(dc, {rect.Left, rect.Top, rect.Right - 1, rect.Top + 1}, top);
            FillRect(dc, {rect.Left, rect.Top + 1, rect.Left + 1, rect.Bottom - 1}, top);
            FillRect(dc, {rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, bottom);
            FillRect(dc, {rect.Left, rect.Bottom - 1, rect.Right - 1, rect.Bottom}, bottom);
        }
        rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    }
}

}  // namespace gfx
