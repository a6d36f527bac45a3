// The component library's drawing objects: TFont, TPen and TBrush describe what a canvas draws
// with, and TCanvas draws through a device context with them. Used by the thread that owns the
// DC, in practice the main thread.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/gfx/dc.h"
#include "platform/gfx/text.h"

namespace gfx {

class TGraphic;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;  // a set of TFontStyle bits

class TFont {
public:
    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Points at 96 pixels per inch.
    int Size() const;
    void SetSize(int size);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    void Assign(const TFont& source);
    HFONT Handle() const;

    std::function<void()> OnChange;

private:
    void Changed();

    std::string FName = "Tahoma";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    mutable HFONT FHandle;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    void Assign(const TPen& source);
    TLogPen Handle() const { return {int(FStyle), FWidth, FColor}; }

    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    void Assign(const TBrush& source);
    TLogBrush Handle() const { return {FStyle == bsClear ? BS_NULL : BS_SOLID, FColor}; }

    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) OnChange();
    }
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : FHandle(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return FHandle; }
    void SetHandle(HDC dc) { FHandle = dc; }
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont& Font() { return FFont; }
    TPen& Pen() { return FPen; }
    TBrush& Brush() { return FBrush; }
    std::uint32_t CopyMode() const { return FCopyMode; }
    void SetCopyMode(std::uint32_t rop) { FCopyMode = rop; }

    TPoint PenPos() const;
    void SetPenPos(TPoint pos);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // The graphic at its own size with its top-left corner at (x, y).
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies (stretching when the sizes differ) with CopyMode.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    // Text is drawn in the font colour on the brush colour, or on nothing when the brush is clear.
    void TextOut(int x, int y, std::string_view text);
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }
    TRect ClipRect() const;

    // Selects the current font, pen and brush (and the text colours they give) into the DC;
    // every drawing method does it first, and code that draws straight on Handle() with the
    // canvas's font calls it before.
    void Prepare();

private:
    HDC FHandle = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    std::uint32_t FCopyMode = SRCCOPY;
};

}  // namespace gfx
