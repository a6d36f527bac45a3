#include "media/libs/unicode_protocol.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/media_test_support.h"
#include "media/probe/av_probe.h"
#include "platform/sys/dynlib.h"
#include "platform/sys/file_handles.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace media {
namespace {

const std::string kCjkName = "/tmp/视频 测试/片段.avi";

TEST(UnicodeNames, NoNameNeedsThePrefixedForm) {
    for (const std::string& name : std::vector<std::string>{
             "/tmp/clip.avi", kCjkName, "http://example.com/视频.flv", "udp://239.0.0.1:1234",
             "C:\\视频\\a.avi", "unicode:utf8:/tmp/a.avi", ""}) {
        EXPECT_FALSE(NeedsUnicodeName(name)) << name;
        EXPECT_EQ(LibraryFileName(name), name) << name;
    }
}

TEST(UnicodeNames, LibraryNamesAreNeverCut) {
    // A name cut at 2047 bytes could name another, existing file.
    std::string longName = "/tmp/" + std::string(3000, 'a') + "视频.avi";
    EXPECT_EQ(LibraryFileName(longName), longName);
    EXPECT_EQ(FileNameFromLibrary(EncodeUnicodeName(longName).c_str()), longName);
}

TEST(UnicodeNames, RecognisesOnlyThePrefixFollowedByAName) {
    struct TCase {
        const char* Name;
        bool Prefixed;
    };
    for (const TCase& c : std::vector<TCase>{{"unicode:utf8:/a", true},
                                             {"unicode:utf8:x", true},
                                             {"unicode:utf8:", false},
                                             {"unicode:utf8", false},
                                             {"UNICODE:utf8:/a", false},
                                             {"/tmp/unicode:utf8:/a", false},
                                             {"", false}})
        EXPECT_EQ(IsUnicodeName(c.Name), c.Prefixed) << c.Name;
}

TEST(UnicodeNames, DecodingDropsTwoColonSeparatedParts) {
    struct TCase {
        const char* Text;
        const char* Name;
    };
    for (const TCase& c : std::vector<TCase>{{"unicode:utf8:/tmp/a:b.avi", "/tmp/a:b.avi"},
                                             {"one:rest", "rest"},
                                             {"no colon at all", "no colon at all"},
                                             {"a:b:", ""}})
        EXPECT_EQ(DecodeUnicodeName(c.Text), c.Name) << c.Text;
}

TEST(UnicodeNames, NamesReadBackFromTheLibrary) {
    EXPECT_EQ(EncodeUnicodeName(kCjkName), "unicode:utf8:" + kCjkName);
    EXPECT_EQ(FileNameFromLibrary(EncodeUnicodeName(kCjkName).c_str()), kCjkName);
    EXPECT_EQ(FileNameFromLibrary(kCjkName.c_str()), kCjkName);
    // The bare prefix is a name like any other.
    EXPECT_EQ(FileNameFromLibrary("unicode:utf8:"), "unicode:utf8:");
    EXPECT_EQ(FileNameFromLibrary(nullptr), "");
}

TEST(UnicodeFiles, WritingReplacesAndReadingNeverCreates) {
    testsupport::TTempDir dir;
    std::string existing = dir.Touch("视频.bin", "old content that is long");
    int handle = OpenWideFile(existing, AVIO_FLAG_WRITE);
    ASSERT_GE(handle, 0);
    ASSERT_EQ(sys::WriteFileHandle(handle, "new", 3), 3);
    sys::CloseFileHandle(handle);
    EXPECT_EQ(testsupport::ReadFile(existing), "new");

    std::string missing = dir / "missing.bin";
    EXPECT_EQ(OpenWideFile(missing, AVIO_FLAG_READ), AVERROR(ENOENT));
    EXPECT_FALSE(sys::FileExists(missing));

    handle = OpenWideFile(missing, AVIO_FLAG_READ_WRITE);
    ASSERT_GE(handle, 0);
    sys::CloseFileHandle(handle);
    EXPECT_TRUE(sys::FileExists(missing));
}

class UnicodeIO : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    // Buffered reading and writing of the library, which the program itself leaves to muxers.
    template <class TFunction>
    static TFunction* Library(const char* name) {
        void* address = sys::GetProcAddress(AVLibLoader().Status(avFormat).Handle, name);
        EXPECT_NE(address, nullptr) << name;
        return reinterpret_cast<TFunction*>(address);
    }

    testsupport::TTempDir FDir;
};

TEST_F(UnicodeIO, TheLoaderRegistersTheOpenerOnceAndAgainIsHarmless) {
    EXPECT_TRUE(UnicodeProtocolRegistered());
    RegisterUnicodeProtocol();
    RegisterUnicodeProtocol();
    EXPECT_TRUE(UnicodeProtocolRegistered());
}

TEST_F(UnicodeIO, WritesThroughTheContextAndReadsBack) {
    std::string url = EncodeUnicodeName(FDir / "输出.bin");
    AVIOContext* writer = nullptr;
    ASSERT_EQ(OpenOutputIO(&writer, url, AVIO_FLAG_WRITE, nullptr, nullptr), 0);
    EXPECT_TRUE(IsUnicodeIOContext(writer));
    std::string content(100000, 'x');
    content += "end";
    Library<decltype(avio_write)>("avio_write")(
        writer, reinterpret_cast<const unsigned char*>(content.data()), int(content.size()));
    EXPECT_EQ(CloseOutputIO(&writer), 0);
    EXPECT_EQ(writer, nullptr);
    EXPECT_EQ(testsupport::ReadFile(FDir / "输出.bin"), content);

    AVIOContext* reader = nullptr;
    ASSERT_EQ(UnicodeOpen(&reader, url.c_str(), AVIO_FLAG_READ), 0);
    std::vector<unsigned char> buffer(content.size() + 10);
    int total = 0;
    auto* read = Library<decltype(avio_read)>("avio_read");
    for (int count; (count = read(reader, buffer.data() + total, int(buffer.size()) - total)) > 0;)
        total += count;
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + total), content);
    EXPECT_TRUE(lib::avio_feof(reader));
    UnicodeClose(&reader);
    EXPECT_EQ(reader, nullptr);
}

TEST_F(UnicodeIO, CallbacksReportSizeEndAndMissingFiles) {
    std::string name = FDir.Touch("数据.bin", "0123456789");
    AVIOContext* context = nullptr;
    ASSERT_EQ(UnicodeOpen(&context, EncodeUnicodeName(name).c_str(), AVIO_FLAG_READ), 0);
    void* file = context->opaque;
    EXPECT_EQ(UnicodeSeek(file, 4, SEEK_SET), 4);
    // The size query leaves the position where it was.
    EXPECT_EQ(UnicodeSeek(file, 0, AVSEEK_SIZE), 10);
    EXPECT_EQ(UnicodeSeek(file, 0, SEEK_CUR), 4);
    uint8_t bytes[16] = {};
    EXPECT_EQ(UnicodeRead(file, bytes, sizeof(bytes)), 6);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 6), "456789");
    EXPECT_EQ(UnicodeRead(file, bytes, sizeof(bytes)), AVERROR_EOF);
    EXPECT_LT(UnicodeSeek(file, -5, SEEK_SET), 0);
    EXPECT_LT(UnicodeWrite(file, bytes, 4), 0);  // opened for reading
    UnicodeClose(&context);

    context = reinterpret_cast<AVIOContext*>(1);
    EXPECT_EQ(UnicodeOpen(&context, EncodeUnicodeName(FDir / "none.bin").c_str(), AVIO_FLAG_READ),
              AVERROR(ENOENT));
    EXPECT_EQ(context, nullptr);
    EXPECT_FALSE(sys::FileExists(FDir / "none.bin"));
}

TEST_F(UnicodeIO, TheProbeOpensPrefixedNamesAndShowsThePlainName) {
    std::string fileName = fixtures::Path(fixtures::kCjkClip);
    TAVProbe probe;
    ASSERT_TRUE(probe.LoadFile(EncodeUnicodeName(fileName))) << probe.LastErrMsg();
    EXPECT_EQ(probe.FileName(), fileName);
    EXPECT_EQ(probe.FileSize(), sys::FileSize(fileName));
    EXPECT_EQ(probe.FileInfoText().rfind("File Name: " + fileName + "\r\n", 0), 0u);
    // Reading through the context, seeking and closing it again.
    EXPECT_TRUE(probe.Decode());
    EXPECT_TRUE(probe.Seek(1000000, {sfBackward}));
    EXPECT_TRUE(probe.Decode());
    EXPECT_EQ(probe.FrameInfo().PTS, 960000);
    probe.CloseFile();

    std::string missing = EncodeUnicodeName(FDir / "缺少.avi");
    EXPECT_FALSE(probe.LoadFile(missing));
    EXPECT_EQ(probe.LastErrMsg(), missing + ": No such file or directory");
}

}  // namespace
}  // namespace media
