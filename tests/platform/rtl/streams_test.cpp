#include "platform/rtl/streams.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "support/temp_dir.h"

namespace rtl {
namespace {

std::string Content(TMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Memory()),
                       static_cast<size_t>(stream.Size()));
}

// Both stream kinds must behave alike; each case runs on a memory and a file stream.
class StreamKinds : public testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<TStream> Make() {
        if (std::string(GetParam()) == "memory") return std::make_unique<TMemoryStream>();
        return std::make_unique<TFileStream>(FDir.File("data.bin"), fmCreate);
    }
    testsupport::TTempDir FDir;
};

TEST_P(StreamKinds, PositionSeekAndSize) {
    std::unique_ptr<TStream> stream = Make();
    int32_t version = 3;
    stream->WriteBuffer(&version, sizeof version);
    stream->WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream->Size(), 10);
    EXPECT_EQ(stream->Position(), 10);

    struct TCase {
        int64_t offset;
        TSeekOrigin origin;
        int64_t expected;
    };
    const TCase cases[] = {
        {0, soFromBeginning, 0}, {4, soFromCurrent, 4},     {-2, soFromEnd, 8},
        {-1, soFromCurrent, 7},  {12, soFromBeginning, 12}, {-20, soFromCurrent, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "/" << c.origin);
        int64_t before = stream->Position();
        EXPECT_EQ(stream->Seek(c.offset, c.origin), c.expected);
        EXPECT_EQ(stream->Position(), c.expected < 0 ? before : c.expected);
    }

    stream->SetPosition(0);
    int32_t readVersion = 0;
    stream->ReadBuffer(&readVersion, sizeof readVersion);
    EXPECT_EQ(readVersion, 3);
    char tail[7] = {};
    EXPECT_EQ(stream->Read(tail, 100), 6);  // a short read at the end is no error
    EXPECT_STREQ(tail, "abcdef");
    EXPECT_EQ(stream->Read(tail, 1), 0);

    stream->SetPosition(8);
    try {
        stream->ReadBuffer(tail, 3);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }

    stream->SetSize(4);
    EXPECT_EQ(stream->Size(), 4);
    EXPECT_EQ(stream->Position(), 4);

    // Writing past the end leaves zeros in the gap.
    stream->SetPosition(6);
    stream->WriteBuffer("z", 1);
    EXPECT_EQ(stream->Size(), 7);
    char gap[3] = {1, 1, 1};
    stream->SetPosition(4);
    stream->ReadBuffer(gap, 3);
    EXPECT_EQ(std::memcmp(gap, "\0\0z", 3), 0);
}

TEST_P(StreamKinds, CopyFromWholeOrPart) {
    TMemoryStream source;
    std::string payload(200000, '\0');
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i * 7);
    source.WriteBuffer(payload.data(), static_cast<int64_t>(payload.size()));

    std::unique_ptr<TStream> target = Make();
    EXPECT_EQ(target->CopyFrom(source, 0), 200000);  // 0 copies all from the start
    source.SetPosition(100);
    EXPECT_EQ(target->CopyFrom(source, 50), 50);
    EXPECT_EQ(target->Size(), 200050);
    TMemoryStream back;
    back.CopyFrom(*target, 0);
    EXPECT_EQ(Content(back), payload + payload.substr(100, 50));

    source.SetPosition(source.Size() - 10);
    EXPECT_THROW(target->CopyFrom(source, 11), EReadError);
}

INSTANTIATE_TEST_SUITE_P(Rtl, StreamKinds, testing::Values("memory", "file"));

TEST(TMemoryStream, FileRoundTrip) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("视频.bin");
    TMemoryStream stream;
    std::string bytes("\x00\x01\xFFskin\r\n", 9);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SaveToFile(fileName);
    EXPECT_EQ(testsupport::ReadFile(fileName), bytes);

    TMemoryStream loaded;
    loaded.WriteBuffer("old content", 11);
    loaded.LoadFromFile(fileName);
    EXPECT_EQ(Content(loaded), bytes);
    EXPECT_EQ(loaded.Position(), 0);
    loaded.Clear();
    EXPECT_EQ(loaded.Size(), 0);
}

TEST(TFileStream, ModesAndOpenErrors) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("a.bin");
    testsupport::WriteFile(fileName, "hello");

    {
        TFileStream reader(fileName, fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(reader.Size(), 5);
        try {
            reader.WriteBuffer("x", 1);
            FAIL();
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), "Stream write error");
        }
    }
    {
        TFileStream writer(fileName, fmOpenWrite);
        writer.WriteBuffer("J", 1);  // open-write keeps the rest
    }
    EXPECT_EQ(testsupport::ReadFile(fileName), "Jello");
    {
        TFileStream both(fileName, fmOpenReadWrite);
        both.Seek(0, soFromEnd);
        both.WriteBuffer("!", 1);
        both.SetPosition(0);
        char first = 0;
        both.ReadBuffer(&first, 1);
        EXPECT_EQ(first, 'J');
    }
    EXPECT_EQ(testsupport::ReadFile(fileName), "Jello!");
    { TFileStream create(fileName, fmCreate); }  // create truncates
    EXPECT_EQ(testsupport::ReadFile(fileName), "");

    struct TCase {
        std::string name;
        uint32_t mode;
        std::string message;
    };
    std::string missing = dir.File("missing.bin");
    std::string noFolder = dir.File("no/such/file.bin");
    const TCase cases[] = {
        {missing, fmOpenRead, "Cannot open file \"" + missing + "\". No such file or directory"},
        {dir.Path(), fmOpenRead, "Cannot open file \"" + dir.Path() + "\". Is a directory"},
        {noFolder, fmCreate, "Cannot create file \"" + noFolder + "\". No such file or directory"},
        {dir.Path(), fmCreate, "Cannot create file \"" + dir.Path() + "\". Is a directory"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            TFileStream stream(c.name, c.mode);
            ADD_FAILURE() << "opened";
        } catch (const EStreamError& e) {
            EXPECT_EQ(e.Message(), c.message);
            bool rightKind = c.mode == fmCreate ? dynamic_cast<const EFCreateError*>(&e) != nullptr
                                                : dynamic_cast<const EFOpenError*>(&e) != nullptr;
            EXPECT_TRUE(rightKind);
        }
    }
}

}  // namespace
}  // namespace rtl
