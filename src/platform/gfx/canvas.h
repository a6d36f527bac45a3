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

// Character sets a font can name. Glyphs are found per character whatever the set says, so the
// value is only kept and copied for the code that reads it.
using TFontCharset = std::uint8_t;
enum : TFontCharset {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    OEM_CHARSET = 255,
};

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
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset charset);
    void Assign(const TFont& source);
    HFONT Handle() const;

    std::function<void()> OnChange;

private:
    void Changed();

    std::string FName = "Tahoma";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    TFontCharset FCharset = DEFAULT_CHARSET;
    mutable HFONT FHandle;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// How the pen and brush of lines and shapes mix with what is there (SetROP2).
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
int PenModeToRop2(TPenMode mode);

class TPen {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode mode);
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
    TPenMode FMode = pmCopy;
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

// A canvas over a device context. A canvas that gets its DC on demand (a control's) makes it in
// CreateHandle when a drawing call or Handle() needs one.
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : FHandle(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas() = default;

    HDC Handle() {
        if (!FHandle) CreateHandle();
        return FHandle;
    }
    void SetHandle(HDC dc) { FHandle = dc; }
    bool HandleAllocated() const { return FHandle != nullptr; }

    // Around every drawing call (a bitmap's canvas tells its bitmap).
    std::function<void()> OnChanging;
    std::function<void()> OnChange;

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
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    void DrawFocusRect(const TRect& rect);
    // Text with tabs (see gfx::TabbedTextOut); returns the extent drawn.
    TSize TabbedTextOut(int x, int y, std::string_view text, int stopCount, const int* tabStops,
                        int tabOrigin);

    // The graphic at its own size with its top-left corner at (x, y).
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies (stretching when the sizes differ) with CopyMode.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    // Text is drawn in the font colour on the brush colour, or on nothing when the brush is clear.
    void TextOut(int x, int y, std::string_view text);
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    // DrawText with the canvas's font and colours; returns the text's height.
    int DrawText(std::string_view text, TRect& rect, unsigned format);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }
    TRect ClipRect();

    // Takes the DC (making it when needed) and selects the current font, pen and brush (and the
    // text colours they give) into it; every drawing method does it first, and code that draws
    // straight on Handle() with the canvas's font calls it before. Null when there is nothing to
    // draw on.
    HDC Prepare();

protected:
    virtual void CreateHandle() {}

private:
    HDC Ready();
    void Changing() {
        if (OnChanging) OnChanging();
    }
    void Changed() {
        if (OnChange) OnChange();
    }

    HDC FHandle = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    std::uint32_t FCopyMode = SRCCOPY;
};

// A raised or sunken edge: the top and left lines in topColor, the bottom and right ones in
// bottomColor, `width` lines deep; rect shrinks by the edge drawn.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

}  // namespace gfx
