#include "platform/gfx/graphics.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/gfx/paint.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/streams.h"

namespace gfx {

// ---- TGraphic --------------------------------------------------------------------------------

void TGraphic::LoadFromFile(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) throw rtl::Exception("Cannot open file \"" + fileName + "\"");
    const TBytes data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) throw rtl::Exception("Cannot read file \"" + fileName + "\"");
    LoadFromBuffer(data);
}

void TGraphic::SaveToFile(const std::string& fileName) const {
    // Encoded first, so a picture that can't be written never touches the file; a write that
    // fails half-way (disk full) takes its partial file away again.
    const TBytes data = SaveToBuffer();
    rtl::TFileStream file(fileName, rtl::fmCreate);
    try {
        if (!data.empty()) file.WriteBuffer(data.data(), std::int64_t(data.size()));
    } catch (...) {
        std::remove(fileName.c_str());
        throw;
    }
}

void TGraphic::LoadFromStream(rtl::TStream& stream) {
    const std::int64_t left = stream.Size() - stream.Position();
    TBytes data(std::size_t(std::max<std::int64_t>(left, 0)));
    if (!data.empty()) stream.ReadBuffer(data.data(), std::int64_t(data.size()));
    LoadFromBuffer(data);
}

void TGraphic::SaveToStream(rtl::TStream& stream) const {
    const TBytes data = SaveToBuffer();
    if (!data.empty()) stream.WriteBuffer(data.data(), std::int64_t(data.size()));
}

void TGraphic::CannotAssign(const TGraphic& source) const {
    throw rtl::Exception(std::string("Cannot assign a ") + source.ClassName() + " to a " +
                         ClassName());
}

// ---- TBitmap ---------------------------------------------------------------------------------

TBitmap::TBitmap() : FDC(CreateCompatibleDC(nullptr)) {}
TBitmap::~TBitmap() = default;

void TBitmap::SetSurface(HBITMAP surface) {
    FSurface = std::move(surface);
    SelectObject(FDC.get(), FSurface);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height()) return;
    if (width == 0 || height == 0) {
        SetSurface(nullptr);
        Changed();
        return;
    }
    auto surface = std::make_shared<TSurface>(width, height, FPixelFormat == pf24bit ? 24 : 32);
    if (FSurface) {
        const int w = std::min(width, Width()), bytes = w * surface->BytesPerPixel();
        for (int y = 0; y < std::min(height, Height()); ++y)
            std::memcpy(surface->ScanLine(y), FSurface->ScanLine(y), std::size_t(bytes));
    }
    SetSurface(std::move(surface));
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    const int oldBits = FPixelFormat == pf24bit ? 24 : 32, newBits = format == pf24bit ? 24 : 32;
    FPixelFormat = format;
    if (!FSurface || oldBits == newBits) return;
    auto surface = std::make_shared<TSurface>(Width(), Height(), newBits);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(Width()));
    for (int y = 0; y < Height(); ++y) {
        detail::ReadSpan(*FSurface, 0, y, Width(), row.data());
        detail::WriteSpan(*surface, 0, y, Width(), row.data());
    }
    SetSurface(std::move(surface));
    Changed();
}

void TBitmap::SetMonochrome(bool value) {
    if (value == FMonochrome) return;
    FMonochrome = value;
    if (value && FSurface) {
        std::vector<std::uint32_t> row(static_cast<std::size_t>(Width()));
        for (int y = 0; y < Height(); ++y) {
            detail::ReadSpan(*FSurface, 0, y, Width(), row.data());
            for (auto& p : row) p = (p & 0xFFFFFFu) == 0xFFFFFFu ? 0xFFFFFFFFu : 0xFF000000u;
            detail::WriteSpan(*FSurface, 0, y, Width(), row.data());
        }
    }
    Changed();
}

std::uint8_t* TBitmap::ScanLine(int y) {
    if (!FSurface || y < 0 || y >= Height()) throw rtl::Exception("Scan line index out of range");
    return FSurface->ScanLine(y);
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    return const_cast<TBitmap*>(this)->ScanLine(y);
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>(FDC.get());
        FCanvas->OnChange = [this] { Changed(); };
    }
    return *FCanvas;
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
    if (!FSurface) return clDefault;
    std::uint32_t p;
    detail::ReadSpan(*FSurface, 0, Height() - 1, 1, &p);
    return detail::FromPixel(p);
}

void TBitmap::SetTransparentColor(TColor color) {
    FTransparentColor = color;
    FTransparentMode = color == clDefault ? tmAuto : tmFixed;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
    if (Empty() || !canvas.Handle()) return;
    if (Transparent())
        TransparentBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), FDC.get(),
                       0, 0, Width(), Height(), TransparentColor());
    else
        StretchBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), FDC.get(), 0,
                   0, Width(), Height(), canvas.CopyMode());
}

void TBitmap::Assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        FPixelFormat = bitmap->FPixelFormat;
        SetSurface(bitmap->FSurface ? std::make_shared<TSurface>(*bitmap->FSurface) : nullptr);
        FTransparent = bitmap->FTransparent;
        FTransparentMode = bitmap->FTransparentMode;
        FTransparentColor = bitmap->FTransparentColor;
        FMonochrome = bitmap->FMonochrome;
        Changed();
        return;
    }
    if (const auto* image = dynamic_cast<const TRasterImage*>(&source)) {
        FromImage(image->ToImage(), image->HasAlpha() ? pf32bit : pf24bit);
        return;
    }
    SetSurface(nullptr);
    SetSize(source.Width(), source.Height());
    if (!Empty()) source.Draw(Canvas(), {0, 0, Width(), Height()});
    Changed();
}

TImage TBitmap::ToImage() const {
    TImage image;
    image.Width = Width();
    image.Height = Height();
    image.BitCount = FPixelFormat == pf24bit ? 24 : 32;
    image.HasAlpha = FPixelFormat == pf32bit;
    image.Pixels.resize(std::size_t(Width()) * Height());
    for (int y = 0; y < Height(); ++y) {
        std::uint32_t* row = image.Pixels.data() + std::size_t(y) * Width();
        detail::ReadSpan(*FSurface, 0, y, Width(), row);
        if (FSurface->BitCount() == 24)
            for (int x = 0; x < Width(); ++x) row[x] |= 0xFF000000u;
    }
    return image;
}

void TBitmap::FromImage(const TImage& image, TPixelFormat format) {
    FPixelFormat = format;
    FMonochrome = false;
    SetSurface(nullptr);
    const auto notify = std::move(OnChange);  // one notice for the whole picture
    SetSize(image.Width, image.Height);
    OnChange = notify;
    for (int y = 0; y < Height(); ++y)
        detail::WriteSpan(*FSurface, 0, y, Width(),
                          image.Pixels.data() + std::size_t(y) * image.Width);
    Changed();
}

void TBitmap::LoadFromBuffer(std::span<const std::uint8_t> data) {
    TImage image;
    std::string error;
    if (!ReadBmp(data, image, error)) throw EInvalidGraphic("Bitmap image is not valid: " + error);
    FromImage(image, image.BitCount == 32 ? pf32bit : pf24bit);
}

void TBitmap::LoadFromStream(rtl::TStream& stream) {
    std::uint8_t header[14];
    if (stream.Read(header, 14) != 14 || header[0] != 'B' || header[1] != 'M')
        throw EInvalidGraphic("Bitmap image is not valid: no bitmap file header");
    const std::uint32_t size = std::uint32_t(header[2]) | std::uint32_t(header[3]) << 8 |
                               std::uint32_t(header[4]) << 16 | std::uint32_t(header[5]) << 24;
    if (size < 14 || size - 14 > stream.Size() - stream.Position())
        throw EInvalidGraphic(
            "Bitmap image is not valid: the file is shorter than its header says");
    TBytes data(header, header + 14);
    data.resize(size);
    stream.ReadBuffer(data.data() + 14, std::int64_t(size - 14));
    LoadFromBuffer(data);
}

bool TBitmap::LoadFromResourceName(std::string_view name) {
    const auto bytes = FindResource(name);
    if (!bytes || bytes->empty()) {
        SetSize(0, 0);
        return false;
    }
    static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
    if (bytes->size() >= 4 && std::equal(kPng, kPng + 4, bytes->begin())) {
        TImage image;
        std::string error;
        if (!ReadPng(*bytes, image, error))
            throw EInvalidGraphic("Resource " + std::string(name) + " is not valid: " + error);
        FromImage(image, image.HasAlpha ? pf32bit : pf24bit);
        return true;
    }
    LoadFromBuffer(*bytes);
    return true;
}

TBytes TBitmap::SaveToBuffer() const {
    TBytes out;
    std::string error;
    if (!WriteBmp(ToImage(), FPixelFormat == pf32bit ? 32 : 24, out, error))
        throw rtl::Exception(error);
    return out;
}

// ---- TRasterImage ----------------------------------------------------------------------------

TImage TRasterImage::ToImage() const {
    TImage image;
    if (!FSurface) return image;
    image.Width = Width();
    image.Height = Height();
    image.HasAlpha = FHasAlpha;
    image.BitCount = FHasAlpha ? 32 : 24;
    image.Pixels.assign(FSurface->Pixels(), FSurface->Pixels() + std::size_t(Width()) * Height());
    return image;
}

void TRasterImage::SetImage(const TImage& image) {
    FHasAlpha = image.HasAlpha;
    FSurface.reset();
    if (image.Width <= 0 || image.Height <= 0) return;
    auto surface = std::make_shared<TSurface>(image.Width, image.Height, 32);
    std::memcpy(surface->Pixels(), image.Pixels.data(), image.Pixels.size() * 4);
    FSurface = std::move(surface);
}

void TRasterImage::Draw(TCanvas& canvas, const TRect& rect) const {
    if (Empty() || !canvas.Handle()) return;
    if (FHasAlpha) {
        detail::BlendStretch(*canvas.Handle(), rect, *FSurface, FSurface->BoundsRect());
        return;
    }
    TDC source(FSurface);
    StretchBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), &source, 0, 0,
               Width(), Height(), canvas.CopyMode());
}

void TRasterImage::Assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        TImage image = bitmap->Empty() ? TImage{} : bitmap->ToImage();
        image.HasAlpha = false;
        for (auto& p : image.Pixels) p |= 0xFF000000u;
        SetImage(image);
        Changed();
        return;
    }
    if (const auto* image = dynamic_cast<const TRasterImage*>(&source);
        image && std::strcmp(image->ClassName(), ClassName()) == 0) {
        FSurface = image->FSurface ? std::make_shared<TSurface>(*image->FSurface) : nullptr;
        FHasAlpha = image->FHasAlpha;
        Changed();
        return;
    }
    CannotAssign(source);
}

void TRasterImage::LoadFromBuffer(std::span<const std::uint8_t> data) {
    TImage image;
    std::string error;
    if (!Decode(data, image, error)) throw EInvalidGraphic(error);
    SetImage(image);
    Changed();
}

TBytes TRasterImage::SaveToBuffer() const {
    TBytes out;
    std::string error;
    if (!Encode(ToImage(), out, error)) throw rtl::Exception(error);
    return out;
}

void TPngImage::Assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* png = dynamic_cast<const TPngImage*>(&source)) {
        SetImage(png->ToImage());
        FInfo = png->FInfo;
        return;
    }
    TRasterImage::Assign(source);
    FInfo = {};
    if (!Empty()) FInfo.ColorType = HasAlpha() ? pctRgbAlpha : pctRgb;
}

void TPngImage::LoadFromBuffer(std::span<const std::uint8_t> data) {
    TRasterImage::LoadFromBuffer(data);
    ReadPngInfo(data, FInfo);
}

TPngTransparencyMode TPngImage::TransparencyMode() const {
    return FInfo.PartialTransparency ? ptmPartial : FInfo.HasTransparentColor ? ptmBit : ptmNone;
}

TColor TPngImage::TransparentColor() const {
    if (TransparencyMode() != ptmBit) return clNone;
    return RGB(FInfo.TransparentRed, FInfo.TransparentGreen, FInfo.TransparentBlue);
}

TColor TPngImage::Pixel(int x, int y) const {
    if (!Surface() || !Surface()->BoundsRect().Contains(x, y)) return clNone;
    return detail::FromPixel(Surface()->Pixels()[std::size_t(y) * Width() + x]);
}

void TPngImage::SetPixel(int x, int y, TColor color) {
    if (!Surface() || !Surface()->BoundsRect().Contains(x, y)) return;
    std::uint32_t& p = Surface()->Pixels()[std::size_t(y) * Width() + x];
    p = (p & 0xFF000000u) | detail::ToPixel(color);
}

std::uint8_t TPngImage::Alpha(int x, int y) const {
    if (!Surface() || !Surface()->BoundsRect().Contains(x, y)) return 0;
    return std::uint8_t(Surface()->Pixels()[std::size_t(y) * Width() + x] >> 24);
}

void TPngImage::SetAlpha(int x, int y, std::uint8_t alpha) {
    if (!Surface() || !Surface()->BoundsRect().Contains(x, y)) return;
    std::uint32_t& p = Surface()->Pixels()[std::size_t(y) * Width() + x];
    p = (p & 0x00FFFFFFu) | std::uint32_t(alpha) << 24;
}

void TPngImage::CreateAlpha() {
    if (!Surface() || FInfo.ColorType == pctGreyAlpha || FInfo.ColorType == pctRgbAlpha) return;
    std::uint32_t* p = Surface()->Pixels();
    for (std::size_t i = 0, n = std::size_t(Width()) * Height(); i < n; ++i) p[i] |= 0xFF000000u;
    SetHasAlpha(true);
    FInfo.ColorType = FInfo.ColorType == pctGrey ? pctGreyAlpha : pctRgbAlpha;
}

void TPngImage::CreateBlank(int colorType, int width, int height) {
    TImage image;
    image.Width = std::max(0, width);
    image.Height = std::max(0, height);
    image.HasAlpha = colorType == pctGreyAlpha || colorType == pctRgbAlpha;
    image.Pixels.assign(std::size_t(image.Width) * image.Height, 0);
    SetImage(image);
    FInfo = {};
    FInfo.ColorType = colorType;
    FInfo.BitDepth = 8;
}

bool TPngImage::Decode(std::span<const std::uint8_t> data, TImage& image,
                       std::string& error) const {
    return ReadPng(data, image, error);
}
bool TPngImage::Encode(const TImage& image, TBytes& out, std::string& error) const {
    return WritePng(image, CompressionLevel, Filters, image.HasAlpha, out, error);
}

bool TJPEGImage::Decode(std::span<const std::uint8_t> data, TImage& image,
                        std::string& error) const {
    return ReadJpeg(data, image, error);
}
bool TJPEGImage::Encode(const TImage& image, TBytes& out, std::string& error) const {
    return WriteJpeg(image, CompressionQuality, out, error);
}

bool TGIFImage::Decode(std::span<const std::uint8_t> data, TImage& image,
                       std::string& error) const {
    return ReadGif(data, image, error);
}
bool TGIFImage::Encode(const TImage& image, TBytes& out, std::string& error) const {
    return WriteGif(image, out, error);
}

}  // namespace gfx
