#include "media/probe/probed_streams.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/unicode_protocol.h"
#include "media/media_test_support.h"
#include "media/probe/av_probe.h"
#include "support/temp_dir.h"

namespace media {
namespace {

// A file opened as the player opens it: the header read, the streams not probed (yet).
class TOpened {
public:
    TOpened(const std::string& fileName, bool probe) {
        EXPECT_EQ(OpenInputFile(&FContext, fileName, nullptr, nullptr), 0) << fileName;
        if (FContext != nullptr && probe)
            EXPECT_GE(lib::avformat_find_stream_info(FContext, nullptr), 0);
    }
    ~TOpened() { CloseInputFile(&FContext); }
    TOpened(const TOpened&) = delete;
    TOpened& operator=(const TOpened&) = delete;
    AVFormatContext* Context() const { return FContext; }

private:
    AVFormatContext* FContext = nullptr;
};

std::string InfoText(AVFormatContext* ic) {
    TCustomAVProbe probe;
    probe.SetFileHandle(ic);
    std::string text = probe.FileInfoText();
    probe.SetFileHandle(nullptr);
    return text;
}

class ProbedStreamsTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }
};

// A format whose header names its streams takes the probe over and is described as the probed
// file is; one whose streams show only while reading (MPEG-TS) is left to the probe.
TEST_F(ProbedStreamsTest, AFreshOpenOfTheProbedFileIsDescribedAsTheProbedOne) {
    const struct {
        const char* Fixture;
        bool TakenOver;
    } cases[] = {
        {fixtures::kClipMp4, true},  {fixtures::kClipMkv, true},
        {fixtures::kClipAvi, true},  {fixtures::kSubtitlesMkv, true},
        {fixtures::kAudioMp3, true}, {fixtures::kTwoProgramsTs, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Fixture);
        const std::string file = fixtures::Path(c.Fixture);
        TOpened probed(file, true);
        const auto streams = TProbedStreams::Take(probed.Context(), file);
        ASSERT_NE(streams, nullptr);
        EXPECT_EQ(streams->FileName(), file);

        TOpened fresh(file, false);
        const unsigned before = fresh.Context()->nb_streams;
        EXPECT_EQ(streams->ApplyTo(fresh.Context()), c.TakenOver);
        if (c.TakenOver)
            EXPECT_EQ(InfoText(fresh.Context()), InfoText(probed.Context()));
        else
            EXPECT_EQ(fresh.Context()->nb_streams, before);
    }
}

// What was probed of one file is not written into another: the file at the name was replaced
// since (other streams, or the same streams in a file of another length), or the name differs.
TEST_F(ProbedStreamsTest, AnotherFileKeepsItsOwnParameters) {
    testsupport::TTempDir dir;
    const std::string name = dir / "clip.mp4";
    std::filesystem::copy_file(fixtures::Path(fixtures::kClipMp4), name);
    TOpened probed(name, true);
    const auto streams = TProbedStreams::Take(probed.Context(), name);
    ASSERT_NE(streams, nullptr);

    for (const char* other : {fixtures::kSecondVideoMp4, fixtures::kHalfClipMp4}) {
        SCOPED_TRACE(other);
        std::filesystem::copy_file(fixtures::Path(other), name,
                                   std::filesystem::copy_options::overwrite_existing);
        TOpened fresh(name, false);
        AVCodecParameters* before = fresh.Context()->streams[0]->codecpar;
        const int64_t duration = fresh.Context()->duration;
        EXPECT_FALSE(streams->ApplyTo(fresh.Context()));
        EXPECT_EQ(fresh.Context()->streams[0]->codecpar, before);
        EXPECT_EQ(fresh.Context()->duration, duration);
    }
}

TEST_F(ProbedStreamsTest, NothingIsTakenWithoutAContext) {
    EXPECT_EQ(TProbedStreams::Take(nullptr, "x"), nullptr);
}

}  // namespace
}  // namespace media
