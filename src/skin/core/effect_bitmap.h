// TbsEffectBmp: a plain 24-bit picture (B, G, R bytes, top-down, rows padded to 4 bytes) for
// the transition frames of morphing skin parts and for colour effects on a copy of a picture.
// Callers copy a bitmap in, apply one operation and draw the result onto a DC. Each operation is
// one pass over the rows through a row buffer. Used by one thread at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/dc.h"
#include "skin/core/skin_description.h"

namespace skin {

class TbsEffectBmp {
public:
    // A picture of cx x cy black pixels. Raises "Can't allocate the DIB handle" for a negative
    // or too large size.
    TbsEffectBmp(int cx, int cy);
    // A copy of a surface's picture at its size, turned to 24 bits; empty for no surface.
    static TbsEffectBmp CreateFromhWnd(const gfx::HBITMAP& hBmp);
    // One picture per object: copies would share the pixels.
    TbsEffectBmp(const TbsEffectBmp&) = delete;
    TbsEffectBmp& operator=(const TbsEffectBmp&) = delete;
    TbsEffectBmp(TbsEffectBmp&&) = default;
    TbsEffectBmp& operator=(TbsEffectBmp&&) = default;

    const gfx::HBITMAP& Handle() const { return FHandle; }
    int Width() const { return FHandle->Width(); }
    int Height() const { return FHandle->Height(); }
    // Bytes of pixel memory: row stride * Height.
    int Size() const { return FHandle->Stride() * FHandle->Height(); }
    int Stride() const { return FHandle->Stride(); }
    std::uint8_t* Bits() { return FHandle->ScanLine(0); }
    const std::uint8_t* Bits() const { return FHandle->ScanLine(0); }

    // The whole picture at (x, y) through the DC's origin and clip.
    void Draw(gfx::HDC dc, int x, int y) const;
    // Width * 3 bytes of row y.
    void GetScanLine(int y, void* line) const;
    void SetScanLine(int y, const void* line);
    // 0x00RRGGBB.
    int GetPixelValue(int x, int y) const;
    void PutPixel(int x, int y, int value);

    // Transition frames in place, Kf 0 showing this picture and 1 the other; nothing when the
    // other picture has another size. A skin record's morph kind picks one: mkDefault Morph,
    // mkGradient MorphGrad, mkLeftGradient MorphLeftGrad, mkRightGradient MorphRightGrad,
    // mkLeftSlide MorphLeftSlide, mkRightSlide MorphRightSlide, mkPush MorphPush.
    void Morph(const TbsEffectBmp& bmp, double kf);
    void MorphGrad(const TbsEffectBmp& bmp, double kf);
    void MorphHGrad(const TbsEffectBmp& bmp, double kf);
    void MorphVGrad(const TbsEffectBmp& bmp, double kf);
    void MorphLeftGrad(const TbsEffectBmp& bmp, double kf);
    void MorphRightGrad(const TbsEffectBmp& bmp, double kf);
    void MorphLeftSlide(const TbsEffectBmp& bmp, double kf);
    void MorphRightSlide(const TbsEffectBmp& bmp, double kf);
    void MorphPush(const TbsEffectBmp& bmp, double kf);

    // Colour effects; real results are rounded half to even and clamped to 0..255.
    void ChangeBrightness(double kf);
    void ChangeDarkness(double kf);
    void Invert();
    void GrayScale();
    // Each pixel becomes the mean of the four pixels Amount rows and columns away (diagonally),
    // reading rows above it already blurred; beyond an edge the edge row or column is taken.
    void SplitBlur(int amount);
    // One offset from the program's random generator per pixel, added to all three channels.
    void AddMonoNoise(int amount);
    // Into a picture of Height columns and Width rows: a quarter turn anticlockwise, clockwise;
    // and upside down into one of the same size. Nothing when dst has another size.
    void Rotate90_1(TbsEffectBmp& dst) const;
    void Rotate90_2(TbsEffectBmp& dst) const;
    void FlipVert(TbsEffectBmp& dst) const;

private:
    void Slide(const TbsEffectBmp& bmp, double kf, bool fromLeft);
    const std::uint8_t* Row(int y) const { return FHandle->ScanLine(y); }
    std::uint8_t* Row(int y) { return FHandle->ScanLine(y); }
    bool SameSize(const TbsEffectBmp& other) const {
        return other.Width() == Width() && other.Height() == Height();
    }
    bool CanMorphWith(const TbsEffectBmp& other) const {
        return SameSize(other) && Width() > 0 && Height() > 0;
    }

    gfx::HBITMAP FHandle;
};

// The transition a skin record's morph kind names, from `from` towards `to` by kf.
void MorphByKind(TbsEffectBmp& from, const TbsEffectBmp& to, TbsMorphKind kind, double kf);

}  // namespace skin
