#include "skin/core/png_image_list.h"

#include <algorithm>

namespace skin {

namespace {

// a / 256 * (value + 1), halves to even.
std::uint8_t ScaledAlpha(int a, int value) {
    const int n = a * (value + 1);
    int q = n / 256;
    const int r = n % 256;
    if (r > 128 || (r == 128 && q % 2 == 1)) ++q;
    return std::uint8_t(std::clamp(q, 0, 255));
}

}  // namespace

void ScalePngAlpha(gfx::TPngImage& png, int value) {
    if (png.Empty()) return;
    const bool bitMode = png.TransparencyMode() == gfx::ptmBit;
    const gfx::TColor clear = png.TransparentColor();
    const int w = png.Width(), h = png.Height();
    switch (png.ColorType()) {
        case gfx::pctGrey:
        case gfx::pctPalette: {
            gfx::TPngImage rgba;
            rgba.CreateBlank(gfx::pctRgbAlpha, w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const gfx::TColor c = png.Pixel(x, y);
                    rgba.SetPixel(x, y, c);
                    rgba.SetAlpha(
                        x, y, bitMode && c == clear ? 0 : std::uint8_t(std::clamp(value, 0, 255)));
                }
            png.Assign(rgba);
            return;
        }
        case gfx::pctRgb:
            png.CreateAlpha();
            break;
        case gfx::pctGreyAlpha:
        case gfx::pctRgbAlpha:
            break;
        default:
            return;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            png.SetAlpha(
                x, y,
                bitMode && png.Pixel(x, y) == clear ? 0 : ScaledAlpha(png.Alpha(x, y), value));
}

}  // namespace skin

namespace skin {

// ---- items -------------------------------------------------------------------------------------

TbsPngImageItem::TbsPngImageItem() : FPngImage(std::make_unique<TbsPngImage>()) {}

void TbsPngImageItem::Assign(const rtl::TCollectionItem& Source) {
    const auto* item = dynamic_cast<const TbsPngImageItem*>(&Source);
    if (!item) {
        rtl::TCollectionItem::Assign(Source);
        return;
    }
    FPngImage->Assign(*item->FPngImage);
    FName = item->FName;
}

std::string TbsPngImageItem::GetDisplayName() const {
    return FName.empty() ? "TbsPngImageItem" : FName;
}

void TbsPngImageItem::SetPngImage(const gfx::TPngImage& Value) {
    FPngImage->Assign(Value);
    Changed(false);
}

void TbsPngImageItems::Notify(rtl::TCollectionItem* Item, rtl::TCollectionNotification Action) {
    const int index = Item->Index();
    if (Action == rtl::cnAdded) {
        static_cast<TbsPngImageItem*>(Item)->FName = "PngImage" + std::to_string(index);
        FPngImageList->InsertPlaceholder(index);
    } else if (index < FPngImageList->Count()) {
        FPngImageList->Delete(index);
    }
}

// ---- the list ----------------------------------------------------------------------------------

TbsPngImageList::TbsPngImageList(vcl::TComponent* AOwner)
    : vcl::TCustomImageList(AOwner), FPngImages(std::make_unique<TbsPngImageItems>(this)) {}

TbsPngImageList::~TbsPngImageList() = default;

void TbsPngImageList::InsertPlaceholder(int Index) {
    gfx::TBitmap blank;
    blank.SetSize(Width(), Height());
    Insert(Index, &blank, nullptr);
}

void TbsPngImageList::SetPngWidth(int Value) {
    if (Value == Width() || Value <= 0) return;
    SetWidth(Value);
    SizeChanged();
}

void TbsPngImageList::SetPngHeight(int Value) {
    if (Value == Height() || Value <= 0) return;
    SetHeight(Value);
    SizeChanged();
}

// The inherited list dropped its images with the size.
void TbsPngImageList::SizeChanged() {
    if (!ComponentState().Contains(vcl::csLoading)) {
        FPngImages->Clear();
        return;
    }
    // A form being built keeps its items; their placeholders come back at the new size.
    for (int i = Count(); i < FPngImages->Count(); ++i) InsertPlaceholder(i);
}

void TbsPngImageList::DoDraw(int Index, gfx::TCanvas& Canvas, int X, int Y, unsigned,
                             bool Enabled) {
    TbsPngImage& picture = FPngImages->Items(Index)->PngImage();
    const gfx::TRect r{X, Y, X + PngWidth(), Y + PngHeight()};
    if (Enabled) {
        Canvas.StretchDraw(r, picture);
        return;
    }
    TbsPngImage faded;
    faded.Assign(picture);
    ScalePngAlpha(faded, 127);
    Canvas.StretchDraw(r, faded);
}

}  // namespace skin
