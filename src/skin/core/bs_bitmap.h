// TbsBitmap: the skin engine's off-screen picture with an alpha channel. It owns a 32-bit
// top-down surface (B, G, R, A bytes, rows of Width * 4 bytes without padding), a memory DC with
// that surface selected and, on demand, a canvas on the DC, so text and shapes can be drawn into
// it while pixel routines work on Bits() directly. Live bitmaps are registered so that drawing
// onto a DC that belongs to one composes pixel by pixel instead of through the DC. Main thread
// only; the registry is not locked.
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/picture.h"
#include "skin/core/pixel_routines.h"

namespace skin {

class TbsBitmap {
public:
    TbsBitmap();
    virtual ~TbsBitmap();
    TbsBitmap(const TbsBitmap&) = delete;
    TbsBitmap& operator=(const TbsBitmap&) = delete;

    // Negative sizes count by their absolute value. A zero size or the current size changes
    // nothing (the pixels stay); any other size gives a new surface of zero pixels. Raises "Can't
    // allocate the DIB handle", "Can't create compatible DC" or "Can't bslect an object into DC",
    // leaving the bitmap empty and 0 x 0.
    void SetSize(int width, int height);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return !FHandle; }

    // Pixel (x, y) is element y * Width() + x; nullptr while empty.
    TbsColor* Bits() { return FHandle ? FHandle->Pixels() : nullptr; }
    const TbsColor* Bits() const { return FHandle ? FHandle->Pixels() : nullptr; }
    TbsColor* ScanLine(int y) { return Bits() + std::size_t(y) * std::size_t(FWidth); }
    const gfx::HBITMAP& Handle() const { return FHandle; }
    gfx::HDC DC() const { return FDC.get(); }
    // Made on first use, on the bitmap's DC; follows the DC when the size changes.
    gfx::TCanvas& Canvas();

    std::string Name;
    bool AlphaBlend = false;   // drawn by alpha blending
    bool Transparent = false;  // drawn leaving key-colour pixels out
    bool NewFormat = false;    // kept, not used

    // From another TbsBitmap: size, pixels, Name and both flags. From a 32-bit TBitmap: size and
    // pixels with their alpha, then CheckingAlphaBlend. From any other TBitmap: its picture with
    // alpha 255. From any other graphic: drawn through DrawGraphic, with alpha 255. From a
    // picture: its bitmap with alpha 255 whatever its format, else its graphic as above; an
    // empty picture changes nothing.
    void Assign(const TbsBitmap& source);
    void Assign(const gfx::TGraphic& source);
    void Assign(const gfx::TPicture& source);
    // Makes dest a 32-bit bitmap of this size and draws this bitmap onto it (the flags apply); a
    // picture gets it as its bitmap.
    void AssignTo(gfx::TBitmap& dest);
    void AssignTo(gfx::TPicture& dest);

    void SetAlpha(std::uint8_t alpha);
    // AlphaBlend := some pixel has an alpha other than 0 and 255.
    void CheckingAlphaBlend();

    // The whole bitmap with its top-left corner at (x, y), by this bitmap's flags. Onto a DC of a
    // live TbsBitmap it composes into that bitmap, moved by minus the DC's window origin.
    void Draw(gfx::TCanvas& canvas, int x, int y);
    void Draw(gfx::HDC dc, int x, int y);
    void Draw(TbsBitmap& target, int x, int y);
    // The graphic stretched into dstRect; its magenta (255, 0, 255) pixels, and the parts of the
    // bitmap it doesn't cover, keep the bitmap's own pixels. Drawn pixels keep their full value.
    void DrawGraphic(const gfx::TGraphic& graphic, const gfx::TRect& dstRect);

private:
    void Release();
    void AssignOpaque(const gfx::TBitmap& source);

    int FWidth = 0;
    int FHeight = 0;
    gfx::HBITMAP FHandle;
    std::unique_ptr<gfx::TDC> FDC;
    std::unique_ptr<gfx::TCanvas> FCanvas;
};

// The first live bitmap whose DC is `dc`; nullptr for none (and for a null DC).
TbsBitmap* FindBitmapOfDC(gfx::HDC dc);

}  // namespace skin
