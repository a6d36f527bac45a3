// The component library's pictures: TGraphic, TBitmap (24- or 32-bit pixels with row access,
// a canvas, key-colour transparency, BMP files and streams, compiled-in resources) and the PNG,
// JPEG and GIF image classes. Files, streams and byte buffers that can't be read raise
// EInvalidGraphic; other file failures raise rtl::Exception. A picture is used by one thread at
// a time (a media thread may draw on a bitmap it was handed while nobody else touches it).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/gfx/codecs.h"
#include "platform/gfx/surface.h"
#include "platform/rtl/exception.h"

namespace rtl {
class TStream;
}

namespace gfx {

// Data a picture class can't read: a damaged or truncated file, an unknown kind of picture.
class EInvalidGraphic : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TGraphic {
public:
    virtual ~TGraphic() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value) { FTransparent = value; }

    // Draws the whole picture stretched into rect.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
    // Raises "Cannot assign a <source class> to a <class>" for a source it can't take.
    virtual void Assign(const TGraphic& source) = 0;
    virtual const char* ClassName() const = 0;

    // The file's bytes; raise on data the class can't read or write.
    virtual void LoadFromBuffer(std::span<const std::uint8_t> data) = 0;
    virtual TBytes SaveToBuffer() const = 0;
    void LoadFromFile(const std::string& fileName);
    // A file that can't be made raises rtl::EFCreateError "Cannot create file "<name>".
    // <reason>"; a write that fails raises too and leaves no file behind.
    void SaveToFile(const std::string& fileName) const;
    // From the stream's position; the base reads to the end of the stream.
    virtual void LoadFromStream(rtl::TStream& stream);
    void SaveToStream(rtl::TStream& stream) const;

    // After every change of the picture.
    std::function<void()> OnChange;

protected:
    [[noreturn]] void CannotAssign(const TGraphic& source) const;
    void Changed() {
        if (OnChange) OnChange();
    }

    bool FTransparent = false;
};

// pfDevice is the screen's format, 32 bits here.
enum TPixelFormat { pfDevice, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return FSurface ? FSurface->Width() : 0; }
    int Height() const override { return FSurface ? FSurface->Height() : 0; }
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Keeps the pixels that stay inside; new ones are 0.
    void SetSize(int width, int height);
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat format);

    // Row y (top-down): B, G, R per pixel for pf24bit (rows padded to 4 bytes), B, G, R, A
    // otherwise. Raises "Scan line index out of range" outside the bitmap.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    TCanvas& Canvas();
    // The surface and the memory DC it is selected into; null surface while empty.
    HBITMAP Handle() const { return FSurface; }
    HDC DC() const { return FDC.get(); }

    // tmAuto takes the colour of the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode mode) { FTransparentMode = mode; }

    // Black and white: turning it on makes every white pixel white and every other one black.
    bool Monochrome() const { return FMonochrome; }
    void SetMonochrome(bool value);

    void Draw(TCanvas& canvas, const TRect& rect) const override;
    void Assign(const TGraphic& source) override;
    const char* ClassName() const override { return "TBitmap"; }
    // BMP; pf32bit saves 32 bits per pixel with alpha, the others 24.
    void LoadFromBuffer(std::span<const std::uint8_t> data) override;
    TBytes SaveToBuffer() const override;
    // Reads exactly one BMP file (its header says how long), so pictures can follow each other.
    void LoadFromStream(rtl::TStream& stream) override;
    // A compiled-in resource (resources.h) holding a BMP or PNG file. A missing one leaves the
    // bitmap empty and returns false; the instance is accepted as callers pass it.
    bool LoadFromResourceName(std::string_view name);
    bool LoadFromResourceName(std::uintptr_t instance, std::string_view name) {
        (void)instance;
        return LoadFromResourceName(name);
    }

    TImage ToImage() const;
    void FromImage(const TImage& image, TPixelFormat format);

private:
    void SetSurface(HBITMAP surface);

    HBITMAP FSurface;
    std::unique_ptr<TDC> FDC;
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
    bool FMonochrome = false;
};

// Pictures read from or written to a compressed file: 32-bit pixels, drawn blended when the
// file has an alpha channel.
class TRasterImage : public TGraphic {
public:
    int Width() const override { return FSurface ? FSurface->Width() : 0; }
    int Height() const override { return FSurface ? FSurface->Height() : 0; }
    bool HasAlpha() const { return FHasAlpha; }
    TImage ToImage() const;

    void Draw(TCanvas& canvas, const TRect& rect) const override;
    // Takes a TBitmap (its colours, no alpha) or a picture of the same class.
    void Assign(const TGraphic& source) override;
    void LoadFromBuffer(std::span<const std::uint8_t> data) override;
    TBytes SaveToBuffer() const override;

protected:
    TSurface* Surface() const { return FSurface.get(); }
    void SetHasAlpha(bool value) { FHasAlpha = value; }
    void SetImage(const TImage& image);
    virtual bool Decode(std::span<const std::uint8_t> data, TImage& image,
                        std::string& error) const = 0;
    virtual bool Encode(const TImage& image, TBytes& out, std::string& error) const = 0;

private:
    HBITMAP FSurface;  // 32-bit, straight alpha
    bool FHasAlpha = false;
};

// PNG row filters to combine with |.
enum TPngFilter : unsigned {
    pfNone = PNG_ROW_FILTER_NONE,
    pfSub = PNG_ROW_FILTER_SUB,
    pfUp = PNG_ROW_FILTER_UP,
    pfAverage = PNG_ROW_FILTER_AVG,
    pfPaeth = PNG_ROW_FILTER_PAETH,
};

// How the file marks transparency besides an alpha channel: not at all, by one colour (tRNS of a
// grey or RGB picture, or of a palette whose entries are either transparent or opaque), or by
// in-between palette alphas.
enum TPngTransparencyMode { ptmNone, ptmBit, ptmPartial };

// A PNG picture also knows what its file said: the header's colour type and the transparency
// chunk. The pixels are decoded to 32 bits as every raster image is.
class TPngImage : public TRasterImage {
public:
    int CompressionLevel = 7;  // 0..9
    unsigned Filters = pfSub;
    const char* ClassName() const override { return "TPngImage"; }

    // Another PNG picture of any class derived from this one, or what TRasterImage takes.
    void Assign(const TGraphic& source) override;
    void LoadFromBuffer(std::span<const std::uint8_t> data) override;

    // The header's colour type (pct*); -1 while empty.
    int ColorType() const { return FInfo.ColorType; }
    TPngTransparencyMode TransparencyMode() const;
    // The transparent colour under ptmBit, else clNone.
    TColor TransparentColor() const;

    // Colour and alpha of one pixel; outside the picture Pixel gives clNone and Alpha 0, and the
    // setters do nothing. A picture without an alpha channel reads alpha 255.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    std::uint8_t Alpha(int x, int y) const;
    void SetAlpha(int x, int y, std::uint8_t alpha);
    // Gives a picture without alpha channel one, opaque everywhere (grey becomes grey with
    // alpha, the others RGBA); the transparency chunk stays as it was.
    void CreateAlpha();
    // A new picture of zero pixels, without transparency chunk; the alpha types have an alpha
    // channel.
    void CreateBlank(int colorType, int width, int height);

protected:
    bool Decode(std::span<const std::uint8_t> data, TImage& image,
                std::string& error) const override;
    bool Encode(const TImage& image, TBytes& out, std::string& error) const override;

private:
    TPngInfo FInfo;
};

class TJPEGImage : public TRasterImage {
public:
    int CompressionQuality = 90;  // 1..100
    const char* ClassName() const override { return "TJPEGImage"; }

protected:
    bool Decode(std::span<const std::uint8_t> data, TImage& image,
                std::string& error) const override;
    bool Encode(const TImage& image, TBytes& out, std::string& error) const override;
};

// Written with at most 256 colours, reduced by median cut when the picture has more.
class TGIFImage : public TRasterImage {
public:
    const char* ClassName() const override { return "TGIFImage"; }

protected:
    bool Decode(std::span<const std::uint8_t> data, TImage& image,
                std::string& error) const override;
    bool Encode(const TImage& image, TBytes& out, std::string& error) const override;
};

}  // namespace gfx
