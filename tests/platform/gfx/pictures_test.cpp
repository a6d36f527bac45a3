// Pictures of any kind: TPicture's choice of class, bitmap streams and resources, icons.
#include "platform/gfx/picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/icons.h"
#include "platform/gfx/resources.h"
#include "platform/rtl/streams.h"
#include "support/temp_dir.h"

namespace gfx {
namespace {

// A 4 x 3 picture with a red pixel at (1, 1) on blue.
TBitmap& Sample(TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(4, 3);
    b.Canvas().Brush().SetColor(clBlue);
    b.Canvas().FillRect({0, 0, 4, 3});
    b.Canvas().SetPixel(1, 1, clRed);
    return b;
}

std::string Bytes(const TGraphic& g) {
    const TBytes bytes = g.SaveToBuffer();
    return std::string(bytes.begin(), bytes.end());
}

TEST(PictureTest, FilesAreReadByTheirExtensionAndStreamsByTheirSignature) {
    testsupport::TTempDir dir;
    TBitmap sample;
    Sample(sample);
    TIcon icon;
    icon.Assign(sample);
    TPngImage png;
    png.Assign(sample);
    TJPEGImage jpeg;
    jpeg.Assign(sample);
    TGIFImage gif;
    gif.Assign(sample);
    struct TCase {
        const char* Name;
        const TGraphic* Source;
        const char* Class;
    };
    const TCase cases[] = {
        {"a.bmp", &sample, "TBitmap"},  {"b.PNG", &png, "TPngImage"},
        {"c.jpg", &jpeg, "TJPEGImage"}, {"d.jpeg", &jpeg, "TJPEGImage"},
        {"e.gif", &gif, "TGIFImage"},   {"f.ico", &icon, "TIcon"},
    };
    for (const TCase& c : cases) {
        const std::string file = dir.Touch(c.Name, Bytes(*c.Source));
        TPicture picture;
        picture.LoadFromFile(file);
        ASSERT_TRUE(picture.Graphic()) << c.Name;
        EXPECT_STREQ(picture.Graphic()->ClassName(), c.Class);
        EXPECT_EQ(picture.Width(), 4);
        EXPECT_EQ(picture.Height(), 3);

        rtl::TMemoryStream stream;
        picture.SaveToStream(stream);
        stream.SetPosition(0);
        TPicture again;
        again.LoadFromStream(stream);
        EXPECT_STREQ(again.Graphic()->ClassName(), c.Class);
        if (std::string(c.Class) != "TJPEGImage") {
            EXPECT_EQ(again.Bitmap().Canvas().Pixel(1, 1), clRed) << c.Name;
        }
    }
}

TEST(PictureTest, UnknownAndDamagedPicturesAreRefusedAndTheOldPictureStays) {
    testsupport::TTempDir dir;
    TBitmap sample;
    TPicture picture;
    picture.SetGraphic(&Sample(sample));
    int changes = 0;
    picture.OnChange = [&] { ++changes; };

    try {
        picture.LoadFromFile(dir.Touch("notes.txt", "hello"));
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.txt)");
    }
    TPngImage png;
    png.Assign(sample);
    const std::string whole = Bytes(png);
    EXPECT_THROW(picture.LoadFromFile(dir.Touch("cut.png", whole.substr(0, whole.size() / 2))),
                 EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(dir.Touch("fake.bmp", "BMnot a bitmap at all")),
                 EInvalidGraphic);
    rtl::TMemoryStream unknown;
    unknown.WriteBuffer("RIFF....", 8);
    unknown.SetPosition(0);
    try {
        picture.LoadFromStream(unknown);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture format");
    }
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(picture.Bitmap().Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(changes, 0);
}

TEST(BitmapTest, AStreamOfBitmapsIsReadOneBitmapAtATime) {
    TBitmap first, second;
    Sample(first);
    second.SetSize(2, 5);
    rtl::TMemoryStream stream;
    first.SaveToStream(stream);
    second.SaveToStream(stream);
    stream.WriteBuffer("tail", 4);
    stream.SetPosition(0);
    TBitmap a, b;
    a.LoadFromStream(stream);
    b.LoadFromStream(stream);
    EXPECT_EQ(a.Width(), 4);
    EXPECT_EQ(b.Height(), 5);
    EXPECT_EQ(stream.Size() - stream.Position(), 4);
    EXPECT_THROW(a.LoadFromStream(stream), EInvalidGraphic);
}

TEST(BitmapTest, OnChangeFollowsEveryChangeAndMonochromeKeepsBlackAndWhite) {
    TBitmap b;
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    b.SetSize(3, 3);
    EXPECT_EQ(changes, 1);
    b.Canvas().Brush().SetColor(RGB(200, 10, 10));
    b.Canvas().FillRect({0, 0, 3, 3});
    b.Canvas().SetPixel(1, 1, clWhite);
    EXPECT_EQ(changes, 3);
    b.SetMonochrome(true);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(b.Canvas().Pixel(0, 0), clBlack);
    EXPECT_EQ(b.Canvas().Pixel(1, 1), clWhite);
    TBitmap copy;
    copy.Assign(b);
    EXPECT_TRUE(copy.Monochrome());
}

TEST(BitmapTest, ResourcesLoadByNameAndAMissingOneLeavesTheBitmapEmpty) {
    TBitmap sample;
    Sample(sample);
    const TBytes bmp = sample.SaveToBuffer();
    RegisterResource("TEST_BMP", bmp);
    int drawn = 0;
    RegisterResource("TEST_DRAWN", [&] {
        ++drawn;
        TPngImage png;
        png.Assign(sample);
        return png.SaveToBuffer();
    });
    TBitmap b;
    EXPECT_TRUE(b.LoadFromResourceName("test_bmp"));
    EXPECT_EQ(b.Canvas().Pixel(1, 1), clRed);
    EXPECT_TRUE(b.LoadFromResourceName(0, "TEST_DRAWN"));
    EXPECT_TRUE(b.LoadFromResourceName("TEST_DRAWN"));
    EXPECT_EQ(drawn, 1);  // drawn once, then kept
    EXPECT_EQ(b.Width(), 4);
    EXPECT_FALSE(b.LoadFromResourceName("NO_SUCH_PICTURE"));
    EXPECT_TRUE(b.Empty());
    UnregisterResource("TEST_BMP");
    UnregisterResource("TEST_DRAWN");
    EXPECT_FALSE(FindResource("TEST_BMP"));
}

TEST(IconTest, SystemIconsComeInTwoSizesAndDrawWithTheirAlpha) {
    for (int id = IDI_APPLICATION; id <= IDI_ASTERISK; ++id) {
        const HICON icon = LoadIcon(0, id);
        ASSERT_TRUE(icon) << id;
        ASSERT_EQ(icon->Images.size(), 2u);
        EXPECT_EQ(icon->Images[0].Width, kIconSize);
        EXPECT_EQ(icon->Images[1].Width, kSmallIconSize);
        EXPECT_EQ(icon->Images[0].Pixels[0] >> 24, 0u) << "the corner is transparent";
        EXPECT_EQ(LoadIcon(0, id), icon);
    }
    EXPECT_FALSE(LoadIcon(0, 32517));
    EXPECT_FALSE(LoadIcon(1, IDI_HAND));

    TBitmap target;
    target.SetSize(40, 40);
    target.Canvas().Brush().SetColor(clLime);
    target.Canvas().FillRect({0, 0, 40, 40});
    const HICON stop = LoadIcon(0, IDI_HAND);
    DrawIconEx(target.DC(), 0, 0, stop, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clLime);     // transparent corner
    EXPECT_EQ(target.Canvas().Pixel(16, 16), clWhite);  // the cross in the middle
    EXPECT_NE(target.Canvas().Pixel(8, 16), clLime);
    EXPECT_EQ(target.Canvas().Pixel(35, 16), clLime);  // its own 32 pixels wide

    TIcon small;
    small.SetHandle(CopyIcon(stop, kSmallIconSize, kSmallIconSize));
    EXPECT_EQ(small.Width(), kSmallIconSize);
    // An icon file keeps every size.
    TIcon loaded;
    const TBytes ico = [&] {
        TIcon both;
        both.SetHandle(stop);
        return both.SaveToBuffer();
    }();
    loaded.LoadFromBuffer(ico);
    ASSERT_EQ(loaded.Handle()->Images.size(), 2u);
    EXPECT_EQ(loaded.Handle()->Images[1].Pixels, stop->Images[1].Pixels);
}

}  // namespace
}  // namespace gfx
