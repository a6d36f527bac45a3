#include "skin/core/bs_bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace skin {

namespace {

// Bitmaps that own a surface, in the order they got one.
std::vector<TbsBitmap*>& Registry() {
    static std::vector<TbsBitmap*> list;
    return list;
}

void Register(TbsBitmap* bitmap) {
    auto& list = Registry();
    if (std::find(list.begin(), list.end(), bitmap) == list.end()) list.push_back(bitmap);
}

void Unregister(TbsBitmap* bitmap) {
    auto& list = Registry();
    list.erase(std::remove(list.begin(), list.end(), bitmap), list.end());
}

constexpr std::uint32_t kMagenta = 0x00FF00FF;  // as a pixel: red 255, green 0, blue 255

}  // namespace

TbsBitmap* FindBitmapOfDC(gfx::HDC dc) {
    if (!dc) return nullptr;
    for (TbsBitmap* bitmap : Registry())
        if (bitmap->DC() == dc) return bitmap;
    return nullptr;
}

TbsBitmap::TbsBitmap() = default;

TbsBitmap::~TbsBitmap() {
    Unregister(this);
    if (FCanvas) FCanvas->SetHandle(nullptr);
    FCanvas.reset();
    Release();
}

void TbsBitmap::Release() {
    // The canvas outlives the DC; it must not point at a freed one.
    if (FCanvas) FCanvas->SetHandle(nullptr);
    FDC.reset();
    FHandle.reset();
    FWidth = 0;
    FHeight = 0;
}

void TbsBitmap::SetSize(int width, int height) {
    width = std::abs(width);
    height = std::abs(height);
    if (width == 0 || height == 0 || (width == FWidth && height == FHeight)) return;
    Release();
    gfx::TDibDC dib = gfx::CreateDibDC(width, height);  // raises with the bitmap left empty
    FHandle = std::move(dib.Bitmap);
    FDC = std::move(dib.DC);
    Register(this);
    if (FCanvas) FCanvas->SetHandle(FDC.get());
    FWidth = width;
    FHeight = height;
}

gfx::TCanvas& TbsBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<gfx::TCanvas>(FDC.get());
    return *FCanvas;
}

void TbsBitmap::Assign(const TbsBitmap& source) {
    if (&source == this) return;
    SetSize(source.Width(), source.Height());
    if (source.Bits() && !Empty() && source.Width() == FWidth && source.Height() == FHeight)
        PixelRoutineTable.MovePixels(source.Bits(), Bits(), FWidth * FHeight);
    Name = source.Name;
    Transparent = source.Transparent;
    AlphaBlend = source.AlphaBlend;
}

void TbsBitmap::Assign(const gfx::TGraphic& source) {
    const auto* bitmap = dynamic_cast<const gfx::TBitmap*>(&source);
    SetSize(source.Width(), source.Height());
    const bool sameSize = !Empty() && source.Width() == FWidth && source.Height() == FHeight;
    if (bitmap && bitmap->PixelFormat() == gfx::pf32bit) {
        if (sameSize)
            for (int y = 0; y < FHeight; ++y)
                PixelRoutineTable.MovePixels(reinterpret_cast<const TbsColor*>(bitmap->ScanLine(y)),
                                             ScanLine(y), FWidth);
        CheckingAlphaBlend();
        return;
    }
    if (bitmap) {
        AssignOpaque(*bitmap);
        return;
    }
    if (Empty()) return;
    DrawGraphic(source, {0, 0, FWidth, FHeight});
    SetAlpha(255);
}

// A device or 24-bit bitmap carries no alpha worth keeping; neither does a picture's bitmap.
void TbsBitmap::AssignOpaque(const gfx::TBitmap& source) {
    SetSize(source.Width(), source.Height());
    if (Empty()) return;
    gfx::BitBlt(DC(), 0, 0, FWidth, FHeight, source.DC(), 0, 0, gfx::SRCCOPY);
    SetAlpha(255);
}

void TbsBitmap::Assign(const gfx::TPicture& source) {
    const gfx::TGraphic* graphic = source.Graphic();
    if (!graphic) return;
    if (const auto* bitmap = dynamic_cast<const gfx::TBitmap*>(graphic))
        AssignOpaque(*bitmap);
    else
        Assign(*graphic);
}

void TbsBitmap::AssignTo(gfx::TBitmap& dest) {
    dest.SetPixelFormat(gfx::pf32bit);
    dest.SetSize(FWidth, FHeight);
    Draw(dest.Canvas(), 0, 0);
}

void TbsBitmap::AssignTo(gfx::TPicture& dest) {
    AssignTo(dest.Bitmap());
}

void TbsBitmap::SetAlpha(std::uint8_t alpha) {
    if (Empty()) return;
    PixelRoutineTable.SetPixelsAlpha(Bits(), FWidth * FHeight, alpha);
}

void TbsBitmap::CheckingAlphaBlend() {
    AlphaBlend = false;
    if (Empty()) return;
    const TbsColor* p = Bits();
    const TbsColor* end = p + std::size_t(FWidth) * std::size_t(FHeight);
    AlphaBlend = std::any_of(p, end, [](TbsColor c) {
        const std::uint32_t a = c >> 24;
        return a != 0 && a != 255;
    });
}

void TbsBitmap::Draw(gfx::TCanvas& canvas, int x, int y) {
    Draw(canvas.Handle(), x, y);
}

void TbsBitmap::Draw(gfx::HDC dc, int x, int y) {
    if (Empty() || !dc) return;
    if (TbsBitmap* target = FindBitmapOfDC(dc)) {
        gfx::TPoint origin;
        gfx::GetWindowOrgEx(dc, &origin);
        Draw(*target, x - origin.X, y - origin.Y);
        return;
    }
    const TDrawToDCProc proc = AlphaBlend    ? PixelRoutineTable.BlendToDC
                               : Transparent ? PixelRoutineTable.KeyedToDC
                                             : PixelRoutineTable.StretchToDC;
    proc(dc, x, y, FWidth, FHeight, 0, 0, FWidth, FHeight, *this);
}

void TbsBitmap::Draw(TbsBitmap& target, int x, int y) {
    if (Empty()) return;
    DrawBitmapByFlags(target, gfx::Bounds(x, y, FWidth, FHeight), {0, 0, FWidth, FHeight}, *this);
}

void TbsBitmap::DrawGraphic(const gfx::TGraphic& graphic, const gfx::TRect& dstRect) {
    if (Empty()) return;
    gfx::TBitmap scratch;
    scratch.SetPixelFormat(gfx::pf32bit);
    scratch.SetSize(FWidth, FHeight);
    gfx::TCanvas& canvas = scratch.Canvas();
    canvas.Brush().SetColor(gfx::RGB(255, 0, 255));
    canvas.FillRect({-1, -1, FWidth + 1, FHeight + 1});
    canvas.StretchDraw(dstRect, graphic);
    for (int y = 0; y < FHeight; ++y) {
        const auto* from = reinterpret_cast<const TbsColor*>(scratch.ScanLine(y));
        TbsColor* to = ScanLine(y);
        for (int x = 0; x < FWidth; ++x)
            if ((from[x] & 0x00FFFFFF) != kMagenta) to[x] = from[x];
    }
}

}  // namespace skin
