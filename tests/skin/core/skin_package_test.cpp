#include "skin/core/skin_package.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "skin/core/zlib_streams.h"
#include "skin_data_test_support.h"
#include "support/temp_dir.h"

namespace skin {
namespace {

using TBytes = std::vector<uint8_t>;

TBytes Bytes(rtl::TMemoryStream& stream) {
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

rtl::TMemoryStream StreamOf(const TBytes& bytes) {
    rtl::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    stream.SetPosition(0);
    return stream;
}

void PutInt32(TBytes& bytes, int32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

TBytes Package(int32_t version, int32_t length, const TBytes& zlib) {
    TBytes bytes;
    PutInt32(bytes, version);
    PutInt32(bytes, length);
    bytes.insert(bytes.end(), zlib.begin(), zlib.end());
    return bytes;
}

TBytes PayloadOf(const TbsSkinContent& skin) {
    rtl::TMemoryStream payload;
    WriteSkinPayload(skin, payload);
    return Bytes(payload);
}

TBytes BmpOf(const gfx::TBitmap& picture) {
    return PictureToBmp(picture);
}

void Append(TBytes& to, const TBytes& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

void Append(TBytes& to, std::string_view text) {
    to.insert(to.end(), text.begin(), text.end());
}

std::unique_ptr<TbsCompressedStoredSkin, TComponentFree> StoredSample() {
    std::unique_ptr<TbsCompressedStoredSkin, TComponentFree> stored(
        new TbsCompressedStoredSkin(nullptr));
    stored->LoadFromSkinData(test::SampleSkin());
    return stored;
}

// The zlib stream a stored skin holds.
TBytes ZlibOf(const TbsCompressedStoredSkin& stored) {
    rtl::TMemoryStream package;
    stored.SaveToCompressStream(package);
    return TBytes(package.Memory() + 8, package.Memory() + package.Size());
}

TEST(SkinPackage, BytesOfAPackageAndTheirRoundTrip) {
    TbsCompressedStoredSkin stored(nullptr);
    EXPECT_TRUE(stored.Empty());
    stored.LoadFromSkinData(test::SampleSkin());
    ASSERT_FALSE(stored.Empty());
    rtl::TMemoryStream package;
    stored.SaveToCompressStream(package);
    const TBytes bytes = Bytes(package);
    const TBytes zlib = ZlibOf(stored);
    ASSERT_EQ(bytes.size(), zlib.size() + 8);
    EXPECT_EQ(TBytes(bytes.begin(), bytes.begin() + 4), (TBytes{3, 0, 0, 0}));
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + 4, 4);
    EXPECT_EQ(length, zlib.size());
    EXPECT_EQ(bytes[8], 0x78);
    EXPECT_EQ(bytes[9], 0xDA);

    TbsCompressedStoredSkin copy(nullptr);
    package.SetPosition(5);  // reading starts at the stream's start whatever its position
    copy.LoadFromCompressStream(package);
    EXPECT_EQ(ZlibOf(copy), zlib);
}

TEST(SkinPackage, HeaderCases) {
    const TBytes zlib = ZlibOf(*StoredSample());
    const int32_t n = int32_t(zlib.size());
    struct TCase {
        const char* what;
        TBytes bytes;
        bool empty;
        bool raises;
    };
    const TCase cases[] = {
        {"version 3", Package(3, n, zlib), false, false},
        {"version -1 is accepted", Package(-1, n, zlib), false, false},
        {"version 4 is refused", Package(4, n, zlib), true, false},
        {"length 0", Package(3, 0, zlib), true, false},
        {"length past the end", Package(3, n + 1, zlib), true, true},
        {"negative length", Package(3, -5, zlib), true, true},
        {"no length", TBytes{3, 0, 0, 0, 9}, true, true},
        {"nothing", TBytes{}, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto stored = StoredSample();
        rtl::TMemoryStream stream = StreamOf(c.bytes);
        if (c.raises) {
            try {
                stored->LoadFromCompressStream(stream);
                ADD_FAILURE() << "no exception";
            } catch (const rtl::EReadError& e) {
                EXPECT_EQ(e.Message(), "Stream read error");
            }
        } else {
            stored->LoadFromCompressStream(stream);
        }
        EXPECT_EQ(stored->Empty(), c.empty);
    }
}

TEST(SkinPackage, Files) {
    testsupport::TTempDir dir;
    TbsCompressedStoredSkin empty(nullptr);
    empty.SaveToCompressFile(dir / "empty.skn");
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.skn"));

    auto stored = StoredSample();
    stored->SaveToCompressFile(dir / "sample.skn");
    TbsCompressedStoredSkin read(nullptr);
    read.LoadFromCompressFile(dir / "sample.skn");
    EXPECT_EQ(ZlibOf(read), ZlibOf(*stored));
    EXPECT_THROW(read.LoadFromCompressFile(dir / "none.skn"), rtl::EFOpenError);
    EXPECT_TRUE(read.Empty());

    read.SetFileName(dir / "none.ini");  // only stored: nothing is read
    read.SetCompressedFileName(dir / "none.skn");
    EXPECT_EQ(read.FileName(), dir / "none.ini");
    EXPECT_TRUE(read.Empty());
}

TEST(SkinPackage, PayloadLayout) {
    const TbsSkinContent sample = test::SampleSkin();
    const TBytes payload = PayloadOf(sample);
    const TBytes main = BmpOf(*sample.FPicture);
    // version, flag 0 + main picture, flag 1 for the empty inactive picture, flag 0 + mask.
    ASSERT_GT(payload.size(), 4 + 1 + main.size() + 2);
    EXPECT_EQ(TBytes(payload.begin(), payload.begin() + 5), (TBytes{3, 0, 0, 0, 0}));
    EXPECT_EQ(TBytes(payload.begin() + 5, payload.begin() + 5 + long(main.size())), main);
    std::size_t at = 5 + main.size();
    EXPECT_EQ(payload[at], 1);
    EXPECT_EQ(payload[at + 1], 0);
    EXPECT_EQ(payload[at + 2], 'B');
    EXPECT_EQ(payload[at + 3], 'M');

    rtl::TMemoryStream inflated;
    StoredSample()->DeCompressToStream(inflated);
    EXPECT_EQ(Bytes(inflated), payload);
    TbsSkinContent read;
    ASSERT_TRUE(ReadSkinPayload(inflated, read));
    EXPECT_EQ(test::DescriptionLines(read), test::DescriptionLines(sample));
    EXPECT_TRUE(test::SamePixels(*read.FPicture, *sample.FPicture));
    EXPECT_TRUE(test::SamePixels(*read.FMask, *sample.FMask));
    EXPECT_TRUE(read.FInActivePicture->Empty());
    ASSERT_EQ(read.FActivePictures.size(), 2u);
    EXPECT_TRUE(test::SamePixels(*read.FActivePictures[1], *sample.FActivePictures[1]));
}

TEST(SkinPackage, PayloadVersions) {
    const TBytes picture = BmpOf(*test::Picture(3, 2, 9));
    TBytes v2;
    PutInt32(v2, 2);
    for (int i = 0; i < 5; ++i) {
        v2.push_back(0);
        Append(v2, BmpOf(*test::Picture(3 + i, 2, i)));
    }
    PutInt32(v2, 1);
    Append(v2, picture);
    Append(v2, "[VERSION]\r\n[PICTURES]\r\nactivepicturescount=1\r\n0=a.bmp\r\n");
    TbsSkinContent skin;
    rtl::TMemoryStream stream = StreamOf(v2);
    ASSERT_TRUE(ReadSkinPayload(stream, skin));
    EXPECT_EQ(skin.FPicture->Width(), 3);
    EXPECT_EQ(skin.FInActivePicture->Width(), 4);
    EXPECT_EQ(skin.FMask->Width(), 5);
    ASSERT_EQ(skin.FActivePictures.size(), 1u);
    EXPECT_TRUE(test::SamePixels(*skin.FActivePictures[0], *test::Picture(3, 2, 9)));
    EXPECT_EQ(skin.FActivePicturesNames.Get(0), "a.bmp");

    // Anything from a newer writer is left alone.
    TBytes v4;
    PutInt32(v4, 4);
    rtl::TMemoryStream newer = StreamOf(v4);
    TbsSkinContent untouched;
    EXPECT_FALSE(ReadSkinPayload(newer, untouched));

    // Any flag but 0 means an empty picture; a byte-order mark before the text is skipped.
    TBytes flags;
    PutInt32(flags, -7);
    Append(flags, TBytes{7, 1, 255});
    PutInt32(flags, 0);
    Append(flags, "\xEF\xBB\xBF[VERSION]\nskinname=Mark\n");
    rtl::TMemoryStream flagged = StreamOf(flags);
    TbsSkinContent marked;
    ASSERT_TRUE(ReadSkinPayload(flagged, marked));
    EXPECT_TRUE(marked.FPicture->Empty());
    EXPECT_EQ(marked.SkinName, "Mark");
}

TEST(SkinPackage, DamagedPayloadsRaise) {
    const TBytes good = PayloadOf(test::SampleSkin());
    const TBytes main = BmpOf(*test::SampleSkin().FPicture);
    auto with = [&](std::size_t at, const TBytes& bytes) {
        TBytes changed = good;
        std::copy(bytes.begin(), bytes.end(), changed.begin() + long(at));
        return changed;
    };
    auto cut = [&](std::size_t size) { return TBytes(good.begin(), good.begin() + long(size)); };
    TBytes badPixels = good;
    badPixels[5 + 28] = 7;  // 7 bits per pixel: no reader takes it
    TBytes negative;
    PutInt32(negative, 3);
    Append(negative, TBytes{1, 1, 1});
    PutInt32(negative, -1);
    TBytes listed;
    PutInt32(listed, 3);
    Append(listed, TBytes{1, 1, 1});
    PutInt32(listed, 0);
    Append(listed, "[PICTURES]\nactivepicturescount=2000000000\n");
    struct TCase {
        const char* what;
        TBytes bytes;
        std::string message;
    };
    const TCase cases[] = {
        {"no version", cut(3), "Invalid skin package: the data ends before its version"},
        {"no flags", cut(4), "Invalid skin package: the data ends before a picture flag"},
        {"size below 54", with(5 + 2, {53, 0, 0, 0}),
         "Invalid skin package: picture 1 has a size field below 54"},
        {"size past the end", with(5 + 2, {0, 0, 0, 1}),
         "Invalid skin package: picture 1 is cut short"},
        {"cut in a picture", cut(5 + 4), "Invalid skin package: picture 1 is cut short"},
        {"cut in the second picture", cut(5 + main.size() + 2 + 100),
         "Invalid skin package: picture 2 is cut short"},
        {"no count", cut(5 + main.size() + 1),
         "Invalid skin package: the data ends before a picture flag"},
        {"negative count", negative, "Invalid skin package: the picture count is negative"},
        {"more names than pictures", listed,
         "Invalid skin package: the description lists 2000000000 further pictures, the "
         "package holds 0"},
        {"pixels the reader refuses", badPixels, "Bitmap image is not valid"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        rtl::TMemoryStream stream = StreamOf(c.bytes);
        TbsSkinContent skin;
        try {
            ReadSkinPayload(stream, skin);
            ADD_FAILURE() << "no exception";
        } catch (const rtl::Exception& e) {
            EXPECT_TRUE(e.Message().starts_with(c.message)) << e.Message();
        }
    }
}

TEST(SkinPackage, BuiltFromADescriptionFile) {
    testsupport::TTempDir dir;
    const TbsSkinContent sample = test::SampleSkin();
    sample.StoreToDisk(dir / "skin.ini");
    // A BMP whose own size field is wrong still reads; the package must not depend on it.
    std::string atlas = testsupport::ReadFile(dir / "atlas.bmp");
    atlas.replace(2, 4, std::string(4, '\0'));
    testsupport::WriteFile(dir / "atlas.bmp", atlas);
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(dir / "skin.ini");
    ASSERT_FALSE(stored.Empty());
    rtl::TMemoryStream inflated;
    stored.DeCompressToStream(inflated);
    TbsSkinContent read;
    ASSERT_TRUE(ReadSkinPayload(inflated, read));
    EXPECT_EQ(test::DescriptionLines(read), test::DescriptionLines(sample));
    EXPECT_TRUE(test::SamePixels(*read.FActivePictures[0], *sample.FActivePictures[0]));

    // A file without every required section leaves the package as it was.
    const TBytes before = ZlibOf(stored);
    dir.Touch("partial.ini", "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n");
    stored.LoadFromIniFile(dir / "partial.ini");
    EXPECT_EQ(ZlibOf(stored), before);
    // So does a picture file that cannot be read, further pictures included.
    testsupport::WriteFile(dir / "frame.bmp", "not a picture");
    EXPECT_THROW(stored.LoadFromIniFile(dir / "skin.ini"), rtl::Exception);
    EXPECT_EQ(ZlibOf(stored), before);
    std::filesystem::remove(dir / "frame.bmp");
    EXPECT_THROW(stored.LoadFromIniFile(dir / "skin.ini"), rtl::Exception);
    EXPECT_EQ(ZlibOf(stored), before);
}

TEST(SkinPackage, ListItems) {
    TbsCompressedSkinList list(nullptr);
    EXPECT_EQ(list.Skins().Owner(), &list);
    TbsSkinListItem* first = list.Skins().Add();
    TbsSkinListItem* second = list.Skins().Add();
    EXPECT_EQ(first->Name(), "bsSkin0");
    EXPECT_EQ(second->Name(), "bsSkin1");
    EXPECT_EQ(second->GetDisplayName(), "bsSkin1");
    EXPECT_EQ(list.Skins().Insert(0)->Name(), "bsSkin2");  // named by its place when created
    EXPECT_TRUE(first->Skin()->Empty());

    rtl::TMemoryStream package;
    StoredSample()->SaveToCompressStream(package);
    first->Skin()->LoadFromCompressStream(package);
    first->SetName("Jupiter");
    first->SetDescription("blue");
    TbsCompressedSkinList other(nullptr);
    other.SetSkins(list.Skins());
    ASSERT_EQ(other.Skins().Count(), 3);
    EXPECT_EQ(other.Skins().Items(1)->Name(), "Jupiter");
    EXPECT_EQ(other.Skins().Items(1)->Description(), "blue");
    EXPECT_EQ(ZlibOf(*other.Skins().Items(1)->Skin()), ZlibOf(*first->Skin()));
    EXPECT_NE(other.Skins().Items(1)->Skin(), first->Skin());
}

}  // namespace
}  // namespace skin
