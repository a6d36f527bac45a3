#include "platform/gfx/icons.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/paint.h"
#include "platform/gfx/text.h"

namespace gfx {

namespace {

// ---- drawing the system icons ----------------------------------------------------------------

// Shapes are given in a 32 x 32 design space and sampled 4 x 4 times per pixel, so the icons
// have soft edges at 32 and 16 pixels alike.
class TIconPainter {
public:
    explicit TIconPainter(int size) {
        FImage.Width = FImage.Height = size;
        FImage.Pixels.assign(std::size_t(size) * size, 0);
        FImage.HasAlpha = true;
        FImage.BitCount = 32;
    }

    template <class F>
    void Fill(F inside, TColor color, int alpha = 255) {
        const int size = FImage.Width;
        const double scale = 32.0 / size;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        if (inside((x + (sx + 0.5) / 4) * scale, (y + (sy + 0.5) / 4) * scale))
                            ++hits;
                if (hits) Over(FImage.Pixels[std::size_t(y) * size + x], color, alpha * hits / 16);
            }
    }

    // A character of a bold font in `color`, its ink centred on (centreX, centreY).
    void Glyph(const char* text, int designHeight, TColor color, double centreX, double centreY) {
        const int size = FImage.Width, room = size * 2;
        const double scale = size / 32.0;
        TDibDC scratch = CreateDibDC(room, room);
        FillRect(scratch.DC.get(), {0, 0, room, room}, CreateSolidBrush(clBlack));
        SelectObject(scratch.DC.get(), CreateFontIndirect({-int(std::lround(designHeight * scale)),
                                                           FW_BOLD, false, false, false, "Arial"}));
        SetTextColor(scratch.DC.get(), clWhite);
        SetBkMode(scratch.DC.get(), TRANSPARENT);
        TextOut(scratch.DC.get(), size / 2, size / 4, text);
        auto coverage = [&](int x, int y) {
            return int((scratch.Bitmap->Pixels()[std::size_t(y) * room + x] >> 8) & 0xFF);
        };
        TRect ink{room, room, 0, 0};
        for (int y = 0; y < room; ++y)
            for (int x = 0; x < room; ++x)
                if (coverage(x, y)) {
                    ink.Left = std::min(ink.Left, x);
                    ink.Top = std::min(ink.Top, y);
                    ink.Right = std::max(ink.Right, x + 1);
                    ink.Bottom = std::max(ink.Bottom, y + 1);
                }
        if (ink.IsEmpty()) return;
        const int dx = int(std::floor(centreX * scale - (ink.Left + ink.Right) / 2.0 + 0.5));
        const int dy = int(std::floor(centreY * scale - (ink.Top + ink.Bottom) / 2.0 + 0.5));
        for (int y = ink.Top; y < ink.Bottom; ++y)
            for (int x = ink.Left; x < ink.Right; ++x) {
                const int tx = x + dx, ty = y + dy, c = coverage(x, y);
                if (c && tx >= 0 && ty >= 0 && tx < size && ty < size)
                    Over(FImage.Pixels[std::size_t(ty) * size + tx], color, c);
            }
    }

    TImage Take() { return std::move(FImage); }

private:
    static void Over(std::uint32_t& dst, TColor color, int alpha) {
        const TColor c = ColorToRGB(color);
        const double a = alpha / 255.0, da = (dst >> 24) / 255.0;
        const double outA = a + da * (1 - a);
        if (outA <= 0) return;
        auto mix = [&](int src, int shift) {
            const double d = (dst >> shift) & 0xFF;
            return std::uint32_t(std::lround((src * a + d * da * (1 - a)) / outA));
        };
        dst = std::uint32_t(std::lround(outA * 255)) << 24 | mix(GetRValue(c), 16) << 16 |
              mix(GetGValue(c), 8) << 8 | mix(GetBValue(c), 0);
    }

    TImage FImage;
};

auto Disc(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

auto Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1;
    };
}

// Within `half` of the segment from (x0, y0) to (x1, y1): a bar with round ends.
auto Bar(double x0, double y0, double x1, double y1, double half) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
        t = std::clamp(t, 0.0, 1.0);
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= half * half;
    };
}

auto Triangle(TPoint a, TPoint b, TPoint c, double inset) {
    return [=](double x, double y) {
        // Inside when on the inner side of every edge by at least `inset`.
        auto side = [&](TPoint p, TPoint q) {
            const double ex = q.X - p.X, ey = q.Y - p.Y, len = std::sqrt(ex * ex + ey * ey);
            return ((x - p.X) * ey - (y - p.Y) * ex) / len;
        };
        return side(a, b) <= -inset && side(b, c) <= -inset && side(c, a) <= -inset;
    };
}

auto Box(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

constexpr TColor kRedRim = RGB(0x8C, 0x10, 0x10), kRed = RGB(0xDE, 0x2C, 0x2C);
constexpr TColor kBlueRim = RGB(0x12, 0x3C, 0x8C), kBlue = RGB(0x2E, 0x6E, 0xD2);
constexpr TColor kAmberRim = RGB(0xA8, 0x74, 0x08), kAmber = RGB(0xFF, 0xD2, 0x30);

void Badge(TIconPainter& p, TColor rim, TColor fill) {
    p.Fill(Disc(16, 16, 15), rim);
    p.Fill(Disc(16, 16, 13.8), fill);
    p.Fill(Ellipse(16, 10, 10, 6), clWhite, 48);  // a little light from above
}

TImage DrawSystemIcon(int id, int size) {
    TIconPainter p(size);
    switch (id) {
        case IDI_HAND:
            Badge(p, kRedRim, kRed);
            p.Fill(Bar(10.5, 10.5, 21.5, 21.5, 2.1), clWhite);
            p.Fill(Bar(21.5, 10.5, 10.5, 21.5, 2.1), clWhite);
            break;
        case IDI_QUESTION:
            Badge(p, kBlueRim, kBlue);
            p.Glyph("?", 22, clWhite, 16, 16.5);
            break;
        case IDI_ASTERISK:
            Badge(p, kBlueRim, kBlue);
            p.Fill(Disc(16, 9.2, 2.3), clWhite);
            p.Fill(Box(14, 13, 18, 24), clWhite);
            p.Fill(Box(12.5, 13, 14, 14.8), clWhite);
            p.Fill(Box(12.5, 22.5, 19.5, 24), clWhite);
            break;
        case IDI_EXCLAMATION:
            p.Fill(Triangle({16, 1}, {31, 29}, {1, 29}, 0), kAmberRim);
            p.Fill(Triangle({16, 1}, {31, 29}, {1, 29}, 1.6), kAmber);
            p.Fill(Bar(16, 10.5, 16, 19.5, 1.9), clBlack);
            p.Fill(Disc(16, 24, 1.9), clBlack);
            break;
        case IDI_APPLICATION:
        default:
            p.Fill(Box(2, 4, 30, 28), RGB(0x50, 0x50, 0x58));
            p.Fill(Box(3, 5, 29, 27), clWhite);
            p.Fill(Box(3, 5, 29, 10), RGB(0x2E, 0x5E, 0xB0));
            p.Fill(Box(24, 6, 28, 9), clWhite, 160);
            break;
    }
    return p.Take();
}

// ---- sizes and scaling ------------------------------------------------------------------------

const TImage* BestImage(const TIconData& data, int cx, int cy) {
    const TImage* best = nullptr;
    // The smallest image at least as big as asked, else the biggest.
    for (const TImage& image : data.Images)
        if (image.Width >= cx && image.Height >= cy &&
            (!best || image.Width * image.Height < best->Width * best->Height))
            best = &image;
    if (best) return best;
    for (const TImage& image : data.Images)
        if (!best || image.Width * image.Height > best->Width * best->Height) best = &image;
    return best;
}

TImage Scaled(const TImage& source, int cx, int cy) {
    if (source.Width == cx && source.Height == cy) return source;
    TImage out;
    out.Width = cx;
    out.Height = cy;
    out.HasAlpha = true;
    out.BitCount = 32;
    out.Pixels.resize(std::size_t(cx) * cy);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            out.Pixels[std::size_t(y) * cx + x] =
                source.Pixels[std::size_t(y * source.Height / cy) * source.Width +
                              std::size_t(x * source.Width / cx)];
    return out;
}

std::uint16_t Get16(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint16_t(d[at] | d[at + 1] << 8);
}
std::uint32_t Get32(std::span<const std::uint8_t> d, std::size_t at) {
    return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8 | std::uint32_t(d[at + 2]) << 16 |
           std::uint32_t(d[at + 3]) << 24;
}
void Put16(TBytes& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(TBytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A DIB entry of an ICO file: the colour rows (32 or 24 bits) and the AND mask, bottom-up.
bool ReadDibEntry(std::span<const std::uint8_t> d, TImage& image, std::string& error) {
    if (d.size() < 40 || Get32(d, 0) < 40) {
        error = "icon image header is truncated";
        return false;
    }
    const std::uint32_t headerSize = Get32(d, 0);
    const int width = int(std::int32_t(Get32(d, 4)));
    const int height = int(std::int32_t(Get32(d, 8))) / 2;
    const int bits = Get16(d, 14);
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) {
        error = "icon image size is not valid";
        return false;
    }
    if ((bits != 32 && bits != 24) || Get32(d, 16) != 0) {
        error = "only 24- and 32-bit icon images are read";
        return false;
    }
    const std::size_t stride = (std::size_t(width) * bits / 8 + 3) & ~std::size_t(3);
    const std::size_t maskStride = ((std::size_t(width) + 31) / 32) * 4;
    const std::size_t colours = headerSize, mask = colours + stride * height;
    if (d.size() < mask + maskStride * height) {
        error = "icon image is truncated";
        return false;
    }
    image.Width = width;
    image.Height = height;
    image.HasAlpha = true;
    image.BitCount = bits;
    image.Pixels.assign(std::size_t(width) * height, 0);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = colours + stride * std::size_t(height - 1 - y);
        const std::size_t maskRow = mask + maskStride * std::size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = d.data() + row + std::size_t(x) * (bits / 8);
            std::uint32_t a = bits == 32 ? p[3] : 255;
            if (bits == 32 && a) anyAlpha = true;
            const bool masked = (d[maskRow + std::size_t(x) / 8] >> (7 - x % 8)) & 1;
            if (bits == 24 && masked) a = 0;
            image.Pixels[std::size_t(y) * width + x] =
                a << 24 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
        }
    }
    // A 32-bit image with no alpha at all is drawn through its mask, as old icons are.
    if (bits == 32 && !anyAlpha)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::size_t maskRow = mask + maskStride * std::size_t(height - 1 - y);
                const bool masked = (d[maskRow + std::size_t(x) / 8] >> (7 - x % 8)) & 1;
                if (!masked) image.Pixels[std::size_t(y) * width + x] |= 0xFF000000u;
            }
    return true;
}

}  // namespace

// ---- handles ---------------------------------------------------------------------------------

HICON LoadIcon(std::uintptr_t instance, int id) {
    if (instance != 0 || id < IDI_APPLICATION || id > IDI_ASTERISK) return nullptr;
    static HICON icons[5];
    HICON& icon = icons[id - IDI_APPLICATION];
    if (!icon)
        icon = CreateIconFromImages(
            {DrawSystemIcon(id, kIconSize), DrawSystemIcon(id, kSmallIconSize)});
    return icon;
}

HICON CreateIconFromImages(std::vector<TImage> images, TPoint hotSpot) {
    if (images.empty()) return nullptr;
    for (const TImage& image : images)
        if (image.Width <= 0 || image.Height <= 0 ||
            image.Pixels.size() != std::size_t(image.Width) * image.Height)
            return nullptr;
    auto data = std::make_shared<TIconData>();
    data->Images = std::move(images);
    data->HotSpot = hotSpot;
    return data;
}

TImage IconImage(const HICON& icon, int cx, int cy) {
    if (!icon || icon->Images.empty()) return {};
    const TImage& own = icon->Images.front();
    if (cx <= 0) cx = own.Width;
    if (cy <= 0) cy = own.Height;
    return Scaled(*BestImage(*icon, cx, cy), cx, cy);
}

HICON CopyIcon(const HICON& icon, int cx, int cy) {
    if (!icon) return nullptr;
    if (cx <= 0 && cy <= 0) return icon;
    return CreateIconFromImages({IconImage(icon, cx, cy)}, icon->HotSpot);
}

bool DrawIcon(HDC dc, int x, int y, const HICON& icon) {
    return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

bool DrawIconEx(HDC dc, int x, int y, const HICON& icon, int cx, int cy, unsigned /*step*/,
                const TLogBrush* background, unsigned flags) {
    if (!dc || !icon || icon->Images.empty()) return false;
    if (cx <= 0 && cy <= 0 && (flags & DI_DEFAULTSIZE)) cx = cy = kIconSize;
    TImage image = IconImage(icon, cx, cy);
    const TRect dest = Bounds(x, y, image.Width, image.Height);
    if (background) FillRect(dc, dest, *background);
    if ((flags & DI_NORMAL) == DI_MASK)
        for (auto& p : image.Pixels) p &= 0xFF000000u;  // the shape in black
    else if ((flags & DI_NORMAL) == DI_IMAGE)
        for (auto& p : image.Pixels) p |= 0xFF000000u;
    TSurface surface(image.Width, image.Height, 32);
    std::memcpy(surface.Pixels(), image.Pixels.data(), image.Pixels.size() * 4);
    detail::BlendStretch(*dc, dest, surface, surface.BoundsRect());
    return true;
}

// ---- TIcon ------------------------------------------------------------------------------------

void TIcon::SetHandle(HICON icon) {
    FHandle = std::move(icon);
    Changed();
}

int TIcon::Width() const {
    return FHandle ? FHandle->Images.front().Width : 0;
}

int TIcon::Height() const {
    return FHandle ? FHandle->Images.front().Height : 0;
}

void TIcon::SetSize(int width, int height) {
    if (!FHandle || (width == Width() && height == Height())) return;
    SetHandle(CopyIcon(FHandle, width, height));
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
    if (!FHandle || !canvas.Handle()) return;
    DrawIconEx(canvas.Handle(), rect.Left, rect.Top, FHandle, rect.Width(), rect.Height(), 0,
               nullptr, DI_NORMAL);
}

void TIcon::Assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* icon = dynamic_cast<const TIcon*>(&source)) {
        SetHandle(icon->FHandle);
        return;
    }
    if (source.Empty()) {
        SetHandle(nullptr);
        return;
    }
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.Assign(source);
    TImage image = bitmap.ToImage();
    if (const auto* b = dynamic_cast<const TBitmap*>(&source); b && b->PixelFormat() != pf32bit)
        for (auto& p : image.Pixels) p |= 0xFF000000u;
    image.HasAlpha = true;
    SetHandle(CreateIconFromImages({std::move(image)}));
}

void TIcon::LoadFromBuffer(std::span<const std::uint8_t> data) {
    std::vector<TImage> images;
    std::string error;
    if (!ReadIco(data, images, error)) throw EInvalidGraphic("Icon image is not valid: " + error);
    SetHandle(CreateIconFromImages(std::move(images)));
}

TBytes TIcon::SaveToBuffer() const {
    TBytes out;
    std::string error;
    if (!FHandle || !WriteIco(FHandle->Images, out, error))
        throw rtl::Exception(FHandle ? error : "The icon is empty");
    return out;
}

// ---- ICO files ---------------------------------------------------------------------------------

bool ReadIco(std::span<const std::uint8_t> d, std::vector<TImage>& images, std::string& error) {
    if (d.size() < 6 || Get16(d, 0) != 0 || Get16(d, 2) != 1) {
        error = "not an icon file";
        return false;
    }
    const int count = Get16(d, 4);
    if (count == 0 || d.size() < 6 + std::size_t(count) * 16) {
        error = "the icon directory is truncated";
        return false;
    }
    images.clear();
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + std::size_t(i) * 16;
        const std::uint32_t size = Get32(d, entry + 8), offset = Get32(d, entry + 12);
        if (offset > d.size() || size > d.size() - offset) {
            error = "an icon image lies outside the file";
            return false;
        }
        const auto bytes = d.subspan(offset, size);
        TImage image;
        static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
        if (bytes.size() >= 4 && std::equal(kPng, kPng + 4, bytes.begin())) {
            if (!ReadPng(bytes, image, error)) return false;
            if (!image.HasAlpha)
                for (auto& p : image.Pixels) p |= 0xFF000000u;
            image.HasAlpha = true;
        } else if (!ReadDibEntry(bytes, image, error)) {
            return false;
        }
        images.push_back(std::move(image));
    }
    return true;
}

bool WriteIco(const std::vector<TImage>& images, TBytes& out, std::string& error) {
    out.clear();
    if (images.empty()) {
        error = "an icon needs at least one image";
        return false;
    }
    std::vector<TBytes> entries;
    for (const TImage& image : images) {
        if (image.Width <= 0 || image.Height <= 0 || image.Width > 256 || image.Height > 256) {
            error = "icon images are 1 to 256 pixels wide and high";
            return false;
        }
        TBytes e;
        const std::size_t maskStride = ((std::size_t(image.Width) + 31) / 32) * 4;
        Put32(e, 40);
        Put32(e, std::uint32_t(image.Width));
        Put32(e, std::uint32_t(image.Height * 2));
        Put16(e, 1);
        Put16(e, 32);
        Put32(e, 0);
        Put32(e, std::uint32_t(image.Width * image.Height * 4 + maskStride * image.Height));
        for (int i = 0; i < 4; ++i) Put32(e, 0);
        for (int y = image.Height - 1; y >= 0; --y)
            for (int x = 0; x < image.Width; ++x)
                Put32(e, image.Pixels[std::size_t(y) * image.Width + x]);
        for (int y = image.Height - 1; y >= 0; --y) {
            TBytes row(maskStride, 0);
            for (int x = 0; x < image.Width; ++x)
                if ((image.Pixels[std::size_t(y) * image.Width + x] >> 24) == 0)
                    row[std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x % 8));
            e.insert(e.end(), row.begin(), row.end());
        }
        entries.push_back(std::move(e));
    }
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, std::uint32_t(images.size()));
    std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(std::uint8_t(images[i].Width == 256 ? 0 : images[i].Width));
        out.push_back(std::uint8_t(images[i].Height == 256 ? 0 : images[i].Height));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, std::uint32_t(entries[i].size()));
        Put32(out, offset);
        offset += std::uint32_t(entries[i].size());
    }
    for (const TBytes& e : entries) out.insert(out.end(), e.begin(), e.end());
    return true;
}

}  // namespace gfx
