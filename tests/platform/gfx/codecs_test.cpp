#include "platform/gfx/codecs.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>

#include <gtest/gtest.h>

#include "platform/gfx/graphics.h"
#include "platform/rtl/exception.h"
#include "support/png_bytes.h"
#include "support/temp_dir.h"

namespace gfx {
namespace {

// A 37x23 picture (odd width, so rows need padding) with gradients and sharp edges.
TBitmap& Picture(TBitmap& bitmap, TPixelFormat format) {
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(37, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            bitmap.Canvas().SetPixel(x, y, x < 18 ? RGB(x * 7, y * 11, 200) : RGB(255, 0, 0));
    return bitmap;
}

// Few colours, so GIF keeps them exactly.
TImage Flag(bool alpha) {
    TImage image;
    image.Width = 21;
    image.Height = 9;
    image.HasAlpha = alpha;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 21; ++x) {
            const std::uint32_t a = alpha ? std::uint32_t(x * 12) << 24 : 0xFF000000u;
            image.Pixels.push_back(a | (x < 7 ? 0x0000FFu : x < 14 ? 0xFFFFFFu : 0xFF0000u));
        }
    return image;
}

TEST(ImageFileTest, BitmapFilesKeepEveryPixel) {
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        TBitmap original, loaded;
        Picture(original, format);
        if (format == pf32bit) original.ScanLine(3)[7] = 0x80;  // an alpha byte survives too
        const testsupport::TTempDir dir;
        const std::string path = dir / "picture.bmp";
        original.SaveToFile(path);
        loaded.LoadFromFile(path);
        EXPECT_EQ(loaded.PixelFormat(), format);
        ASSERT_EQ(loaded.Width(), 37);
        ASSERT_EQ(loaded.Height(), 23);
        for (int y = 0; y < 23; ++y)
            ASSERT_EQ(std::memcmp(loaded.ScanLine(y), original.ScanLine(y),
                                  37 * (format == pf24bit ? 3 : 4)),
                      0)
                << y;
    }
}

TEST(ImageFileTest, PngKeepsEveryPixelWithAndWithoutAlpha) {
    for (bool alpha : {false, true}) {
        const TImage flag = Flag(alpha);
        for (unsigned filters : {unsigned(pfNone), unsigned(pfSub), unsigned(pfPaeth | pfUp)}) {
            TBytes png;
            std::string error;
            ASSERT_TRUE(WritePng(flag, 7, filters, alpha, png, error)) << error;
            TImage back;
            ASSERT_TRUE(ReadPng(png, back, error)) << error;
            EXPECT_EQ(back.HasAlpha, alpha);
            EXPECT_EQ(back.Width, flag.Width);
            EXPECT_EQ(back.Pixels, flag.Pixels);
        }
    }
}

// ---- what a PNG file says besides its pixels ------------------------------------------------

struct TPngInfoCase {
    const char* Name;
    testsupport::TPngSpec Spec;
    int ColorType;
    TPngTransparencyMode Mode;
    TColor Transparent;
    // Pixel (0, 0) and (1, 0) as decoded, with their alpha.
    TColor First, Second;
    int FirstAlpha, SecondAlpha;
};

TEST(PngImageTest, HeaderColourTypeAndTransparencyChunk) {
    const TPngInfoCase cases[] = {
        {"RGB with a transparent colour",
         {2, 1, pctRgb, 8, {10, 20, 30, 200, 0, 0}, {}, {0, 10, 0, 20, 0, 30}},
         pctRgb,
         ptmBit,
         RGB(10, 20, 30),
         RGB(10, 20, 30),
         RGB(200, 0, 0),
         0,
         255},
        {"RGB without",
         {2, 1, pctRgb, 8, {10, 20, 30, 200, 0, 0}, {}, {}},
         pctRgb,
         ptmNone,
         clNone,
         RGB(10, 20, 30),
         RGB(200, 0, 0),
         255,
         255},
        {"4-bit grey with a transparent level",
         {2, 1, pctGrey, 4, {0x3F}, {}, {0, 3}},
         pctGrey,
         ptmBit,
         RGB(51, 51, 51),
         RGB(51, 51, 51),
         RGB(255, 255, 255),
         0,
         255},
        {"palette with an either-or chunk",
         {2, 1, pctPalette, 8, {0, 1}, {255, 0, 0, 0, 0, 255}, {255, 0}},
         pctPalette,
         ptmBit,
         RGB(0, 0, 255),
         RGB(255, 0, 0),
         RGB(0, 0, 255),
         255,
         0},
        {"palette with an in-between alpha",
         {2, 1, pctPalette, 8, {0, 1}, {255, 0, 0, 0, 0, 255}, {255, 128}},
         pctPalette,
         ptmPartial,
         clNone,
         RGB(255, 0, 0),
         RGB(0, 0, 255),
         255,
         128},
        {"palette without chunk",
         {2, 1, pctPalette, 8, {0, 1}, {255, 0, 0, 0, 0, 255}, {}},
         pctPalette,
         ptmNone,
         clNone,
         RGB(255, 0, 0),
         RGB(0, 0, 255),
         255,
         255},
        {"grey with alpha",
         {2, 1, pctGreyAlpha, 8, {90, 40, 91, 255}, {}, {}},
         pctGreyAlpha,
         ptmNone,
         clNone,
         RGB(90, 90, 90),
         RGB(91, 91, 91),
         40,
         255},
    };
    for (const TPngInfoCase& c : cases) {
        TPngImage png;
        png.LoadFromBuffer(testsupport::MakePng(c.Spec));
        EXPECT_EQ(png.ColorType(), c.ColorType) << c.Name;
        EXPECT_EQ(png.TransparencyMode(), c.Mode) << c.Name;
        EXPECT_EQ(png.TransparentColor(), c.Transparent) << c.Name;
        EXPECT_EQ(png.Pixel(0, 0), c.First) << c.Name;
        EXPECT_EQ(png.Pixel(1, 0), c.Second) << c.Name;
        EXPECT_EQ(png.Alpha(0, 0), c.FirstAlpha) << c.Name;
        EXPECT_EQ(png.Alpha(1, 0), c.SecondAlpha) << c.Name;

        // A copy says the same; a picture of another class starts again from its pixels.
        TPngImage copy;
        copy.Assign(png);
        EXPECT_EQ(copy.ColorType(), c.ColorType) << c.Name;
        EXPECT_EQ(copy.TransparentColor(), c.Transparent) << c.Name;
    }
}

TEST(PngImageTest, PixelAndAlphaAccessAndNewAlphaChannel) {
    TPngImage png;
    EXPECT_EQ(png.ColorType(), -1);
    EXPECT_EQ(png.Pixel(0, 0), clNone);
    png.SetAlpha(0, 0, 1);  // nothing to set

    png.LoadFromBuffer(
        testsupport::MakePng({2, 2, pctRgb, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {}, {}}));
    EXPECT_FALSE(png.HasAlpha());
    EXPECT_EQ(png.Alpha(1, 1), 255);
    png.SetPixel(1, 0, RGB(40, 50, 60));
    EXPECT_EQ(png.Pixel(1, 0), RGB(40, 50, 60));
    EXPECT_EQ(png.Pixel(2, 0), clNone);
    EXPECT_EQ(png.Alpha(-1, 0), 0);

    png.CreateAlpha();
    EXPECT_TRUE(png.HasAlpha());
    EXPECT_EQ(png.ColorType(), pctRgbAlpha);
    EXPECT_EQ(png.Alpha(0, 1), 255);
    png.SetAlpha(0, 1, 77);
    EXPECT_EQ(png.Alpha(0, 1), 77);
    EXPECT_EQ(png.Pixel(0, 1), RGB(7, 8, 9));

    // Alpha survives a trip through a file.
    TPngImage back;
    back.LoadFromBuffer(png.SaveToBuffer());
    EXPECT_EQ(back.ColorType(), pctRgbAlpha);
    EXPECT_EQ(back.Alpha(0, 1), 77);
    EXPECT_EQ(back.Pixel(1, 0), RGB(40, 50, 60));

    png.CreateBlank(pctGrey, 3, 2);
    EXPECT_EQ(png.Width(), 3);
    EXPECT_FALSE(png.HasAlpha());
    EXPECT_EQ(png.ColorType(), pctGrey);
    EXPECT_EQ(png.Pixel(2, 1), RGB(0, 0, 0));

    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    png.Assign(bitmap);
    EXPECT_EQ(png.ColorType(), pctRgb);
    EXPECT_EQ(png.TransparencyMode(), ptmNone);
}

TEST(ImageFileTest, PngImageFromBitmapRoundTripsThroughAFile) {
    TBitmap original, loaded;
    Picture(original, pfDevice);
    TPngImage png;
    png.Assign(original);
    png.CompressionLevel = 9;
    const testsupport::TTempDir dir;
    const std::string path = dir / "picture.png";
    png.SaveToFile(path);
    TPngImage read;
    read.LoadFromFile(path);
    EXPECT_FALSE(read.HasAlpha());
    loaded.Assign(read);
    EXPECT_EQ(loaded.PixelFormat(), pf24bit);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(loaded.Canvas().Pixel(x, y), original.Canvas().Pixel(x, y)) << x << "," << y;
}

TEST(ImageFileTest, JpegKeepsTheSizeAndRoughlyTheColours) {
    TBitmap original;
    Picture(original, pf24bit);
    TJPEGImage jpeg;
    jpeg.Assign(original);
    jpeg.CompressionQuality = 90;
    const TBytes data = jpeg.SaveToBuffer();
    TJPEGImage read;
    read.LoadFromBuffer(data);
    ASSERT_EQ(read.Width(), 37);
    ASSERT_EQ(read.Height(), 23);
    TBitmap back;
    back.Assign(read);
    EXPECT_NEAR(GetRValue(back.Canvas().Pixel(30, 10)), 255, 12);
    EXPECT_NEAR(GetBValue(back.Canvas().Pixel(5, 10)), 200, 12);

    TJPEGImage poor;
    poor.Assign(original);
    poor.CompressionQuality = 10;
    EXPECT_LT(poor.SaveToBuffer().size(), data.size());
}

TEST(ImageFileTest, GifKeepsSizeAndFewColoursExactly) {
    const TImage flag = Flag(false);
    TBytes gif;
    std::string error;
    ASSERT_TRUE(WriteGif(flag, gif, error)) << error;
    TImage back;
    ASSERT_TRUE(ReadGif(gif, back, error)) << error;
    EXPECT_EQ(back.Width, 21);
    EXPECT_EQ(back.Height, 9);
    EXPECT_EQ(back.Pixels, flag.Pixels);
}

TEST(ImageFileTest, GifReducesManyColoursAndKeepsTheSize) {
    TBitmap original;
    Picture(original, pf24bit);
    original.SetSize(300, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) original.Canvas().SetPixel(x, y, RGB(x, y, (x * y) & 0xFF));
    TGIFImage gif;
    gif.Assign(original);
    const testsupport::TTempDir dir;
    const std::string path = dir / "picture.gif";
    gif.SaveToFile(path);
    TGIFImage read;
    read.LoadFromFile(path);
    EXPECT_EQ(read.Width(), 300);
    EXPECT_EQ(read.Height(), 200);
}

// The peak memory of this process so far, in bytes.
std::int64_t PeakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return std::int64_t(usage.ru_maxrss) * 1024;
}

TEST(ImageFileTest, ClaimedSizesTheDataCannotHoldAreRefusedWithoutTheirMemory) {
    // Small real files whose headers are made to claim 8000 x 8000 pixels (256 MB as pixels).
    TImage small;
    small.Width = 16;
    small.Height = 16;
    small.Pixels.assign(256, 0xFF336699u);
    std::string error;
    TBytes jpeg;
    ASSERT_TRUE(WriteJpeg(small, 75, jpeg, error)) << error;
    TBytes gif;
    ASSERT_TRUE(WriteGif(small, gif, error)) << error;
    auto put16 = [](TBytes& data, size_t at, int value, bool bigEndian) {
        data[at + (bigEndian ? 1 : 0)] = std::uint8_t(value & 0xFF);
        data[at + (bigEndian ? 0 : 1)] = std::uint8_t(value >> 8);
    };
    auto find = [](const TBytes& data, std::initializer_list<std::uint8_t> marker) {
        auto at = std::search(data.begin(), data.end(), marker.begin(), marker.end());
        return size_t(at - data.begin());
    };
    const size_t sof = find(jpeg, {0xFF, 0xC0});
    ASSERT_LT(sof, jpeg.size());
    put16(jpeg, sof + 5, 8000, true);
    put16(jpeg, sof + 7, 8000, true);
    TBytes progressive = jpeg;
    progressive[sof + 1] = 0xC2;
    put16(gif, 6, 8000, false);
    put16(gif, 8, 8000, false);
    const size_t image = find(gif, {0x2C, 0, 0, 0, 0});
    ASSERT_LT(image, gif.size());
    put16(gif, image + 5, 8000, false);
    put16(gif, image + 7, 8000, false);

    struct TCase {
        const char* Name;
        const TBytes& Data;
        bool (*Read)(std::span<const std::uint8_t>, TImage&, std::string&);
    };
    const TCase cases[] = {{"JPEG", jpeg, ReadJpeg},
                           {"progressive JPEG", progressive, ReadJpeg},
                           {"GIF", gif, ReadGif}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::int64_t before = PeakMemory();
        TImage read;
        EXPECT_FALSE(c.Read(c.Data, read, error));
        EXPECT_FALSE(error.empty());
        EXPECT_LT(PeakMemory() - before, std::int64_t(48) << 20);
    }
}

TEST(ImageFileTest, EmptyInputIsRefused) {
    const TBytes empty;
    TImage image;
    std::string error;
    EXPECT_FALSE(ReadGif(empty, image, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(ReadJpeg(empty, image, error));
    EXPECT_FALSE(error.empty());
}

// Hand-made palette bitmaps, bottom-up, as other programs write them.
TBytes PaletteBmp(int bitCount, int width, int height, const std::vector<std::uint32_t>& palette,
                  const std::function<int(int, int)>& index) {
    const int rowBytes = (width * bitCount + 31) / 32 * 4;
    const int offset = 54 + int(palette.size()) * 4;
    TBytes out(std::size_t(offset + rowBytes * height), 0);
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[std::size_t(at + i)] = std::uint8_t(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, std::uint32_t(out.size()));
    put32(10, std::uint32_t(offset));
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    out[26] = 1;
    out[28] = std::uint8_t(bitCount);
    put32(46, std::uint32_t(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) put32(54 + int(i) * 4, palette[i]);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int bit = x * bitCount;
            auto& byte = out[std::size_t(offset + (height - 1 - y) * rowBytes + bit / 8)];
            byte = std::uint8_t(byte | index(x, y) << (8 - bitCount - bit % 8));
        }
    return out;
}

TEST(ImageFileTest, ReadsOneFourAndEightBitBitmaps) {
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00,
                                                0x0000FF, 0xFFFFFF, 0x808080};
    for (int bits : {1, 4, 8}) {
        const int colours = bits == 1 ? 2 : 6;
        auto index = [&](int x, int y) { return (x + y) % colours; };
        TBytes bmp =
            PaletteBmp(bits, 13, 5, std::vector(palette.begin(), palette.begin() + colours), index);
        TImage image;
        std::string error;
        ASSERT_TRUE(ReadBmp(bmp, image, error)) << bits << ": " << error;
        ASSERT_EQ(image.Width, 13);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(image.Pixels[std::size_t(y * 13 + x)],
                          0xFF000000u | palette[std::size_t(index(x, y))])
                    << bits << " bits at " << x << "," << y;
    }
}

struct TFormat {
    const char* Name;
    std::function<std::unique_ptr<TGraphic>()> Make;
};

std::vector<TFormat> Formats() {
    return {{"BMP", [] { return std::make_unique<TBitmap>(); }},
            {"PNG", [] { return std::make_unique<TPngImage>(); }},
            {"JPEG", [] { return std::make_unique<TJPEGImage>(); }},
            {"GIF", [] { return std::make_unique<TGIFImage>(); }}};
}

TBytes ValidFile(const TFormat& format) {
    TBitmap picture;
    Picture(picture, pf24bit);
    auto graphic = format.Make();
    graphic->Assign(picture);
    return graphic->SaveToBuffer();
}

TEST(ImageFileTest, TruncatedOrCorruptFilesAreRefused) {
    for (const TFormat& format : Formats()) {
        const TBytes valid = ValidFile(format);
        ASSERT_NO_THROW(format.Make()->LoadFromBuffer(valid)) << format.Name;
        std::vector<std::pair<std::string, TBytes>> bad = {
            {"empty", {}},
            {"ten bytes", TBytes(valid.begin(), valid.begin() + 10)},
            {"half", TBytes(valid.begin(), valid.begin() + long(valid.size() / 2))},
            {"all but the last 20 bytes", TBytes(valid.begin(), valid.end() - 20)},
        };
        TBytes garbage = valid;
        for (size_t i = 6; i < std::min<size_t>(40, garbage.size()); ++i) garbage[i] ^= 0xA5;
        bad.emplace_back("garbled header", garbage);
        for (const auto& [what, data] : bad) {
            auto graphic = format.Make();
            EXPECT_THROW(graphic->LoadFromBuffer(data), rtl::Exception)
                << format.Name << " " << what;
        }
    }
}

TEST(ImageFileTest, MissingFileRaises) {
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromFile("/nonexistent/moradex.bmp"), rtl::Exception);
    EXPECT_THROW(Picture(bitmap, pf24bit).SaveToFile("/nonexistent/dir/x.bmp"), rtl::Exception);
}

TEST(ImageFileTest, AFileThatCannotBeMadeSaysWhyAndAFailedWriteLeavesNoFile) {
    TBitmap bitmap;
    try {
        Picture(bitmap, pf24bit).SaveToFile("/nonexistent/dir/x.bmp");
        FAIL() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.what(),
                     "Cannot create file \"/nonexistent/dir/x.bmp\". No such file or directory");
    }
    // A disk that fills up half-way: the file size limit of a child process stands in for it.
    testsupport::TTempDir dir;
    const std::string path = dir.File("full.bmp");
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        TBitmap picture;
        bool raised = false;
        try {
            Picture(picture, pf24bit).SaveToFile(path);
        } catch (const rtl::Exception&) {
            raised = true;
        }
        _exit(raised ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write raises";
    EXPECT_FALSE(std::filesystem::exists(path)) << "no partial file";
}

TEST(ImageFileTest, AssigningAcrossImageKindsIsRefused) {
    TPngImage png;
    TJPEGImage jpeg;
    try {
        png.Assign(jpeg);
        FAIL() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TJPEGImage to a TPngImage");
    }
}

}  // namespace
}  // namespace gfx
