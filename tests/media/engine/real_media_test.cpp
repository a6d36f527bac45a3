// Conversions of files as cameras, phones and cut downloads make them, each held against what the
// ffmpeg tool makes of the same file with the same settings (the fixture script keeps the tool's
// conversion beside the input).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/engine/run_test_support.h"
#include "media/media_test_support.h"

namespace media {
namespace {

using test::TRunEngine;

using TOptions = std::vector<std::pair<std::string, std::string>>;

// The first picture of a file's first video stream in shades of grey; empty when none decodes.
struct TGreyPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;
    // The mean shade of one quarter: row and column 0 or 1.
    int Quarter(int row, int column) const {
        int64_t sum = 0;
        int count = 0;
        for (int y = row * Height / 2; y < (row + 1) * Height / 2; ++y)
            for (int x = column * Width / 2; x < (column + 1) * Width / 2; ++x, ++count)
                sum += Pixels[size_t(y * Width + x)];
        return count == 0 ? -1 : int(sum / count);
    }
};

TGreyPicture FirstPicture(const std::string& fileName) {
    TGreyPicture picture;
    AVFormatContext* ic = nullptr;
    if (lib::avformat_open_input(&ic, fileName.c_str(), nullptr, nullptr) < 0) return picture;
    int index = lib::avformat_find_stream_info(ic, nullptr) >= 0
                    ? lib::av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                    : -1;
    const AVCodec* codec =
        index >= 0 ? lib::avcodec_find_decoder(ic->streams[index]->codecpar->codec_id) : nullptr;
    AVCodecContext* dec = codec != nullptr ? lib::avcodec_alloc_context3(codec) : nullptr;
    AVPacket* packet = lib::av_packet_alloc();
    AVFrame* frame = lib::av_frame_alloc();
    bool open = dec != nullptr &&
                lib::avcodec_parameters_to_context(dec, ic->streams[index]->codecpar) >= 0 &&
                lib::avcodec_open2(dec, codec, nullptr) >= 0;
    bool got = false;
    while (open && !got) {
        bool end = lib::av_read_frame(ic, packet) < 0;
        if (end || packet->stream_index == index)
            lib::avcodec_send_packet(dec, end ? nullptr : packet);
        lib::av_packet_unref(packet);
        got = lib::avcodec_receive_frame(dec, frame) >= 0;
        if (end) break;
    }
    if (got) {
        picture.Width = frame->width;
        picture.Height = frame->height;
        picture.Pixels.resize(size_t(frame->width * frame->height));
        SwsContext* scaler = lib::sws_getContext(
            frame->width, frame->height, AVPixelFormat(frame->format), frame->width, frame->height,
            AV_PIX_FMT_GRAY8, SWS_POINT, nullptr, nullptr, nullptr);
        uint8_t* planes[4] = {picture.Pixels.data()};
        int strides[4] = {frame->width};
        if (scaler != nullptr)
            lib::sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
        lib::sws_freeContext(scaler);
    }
    lib::av_frame_free(&frame);
    lib::av_packet_free(&packet);
    lib::avcodec_free_context(&dec);
    lib::avformat_close_input(&ic);
    return picture;
}

class RealMediaTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    // The fixture converted with `options` into `output` (a name in the test's folder), read
    // back.
    test::TFileInfo Convert(const char* fixture, const TOptions& options,
                            const std::string& output) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixture));
        engine.Apply(options);
        engine.Output(FDir.File(output));
        EXPECT_EQ(engine.Run(), "") << fixture << " -> " << output;
        EXPECT_TRUE(engine.Finished()) << fixture << " -> " << output;
        return test::DescribeFile(FDir.File(output));
    }

    test::TTempDir FDir;
};

TEST_F(RealMediaTest, TheMainPictureGivesTheSizeNotASmallTrackOrACoverPicture) {
    for (const char* fixture : {fixtures::kSecondVideoMp4, fixtures::kCoversMp4}) {
        for (const char* output : {"kept.avi", "kept.mp4"}) {
            // Size-keeping: no size given.
            test::TFileInfo info = Convert(
                fixture, {{"vcodec", std::string(output).ends_with(".avi") ? "mpeg4" : "libx264"}},
                output);
            ASSERT_TRUE(info.Opened) << fixture << " -> " << output;
            ASSERT_EQ(info.Streams.size(), 1u) << fixture << " -> " << output;
            EXPECT_EQ(info.Streams[0].Width, 320) << fixture << " -> " << output;
            EXPECT_EQ(info.Streams[0].Height, 240) << fixture << " -> " << output;
            EXPECT_NEAR(info.Streams[0].Duration, 1.0, 0.05) << fixture << " -> " << output;
        }
    }
}

TEST_F(RealMediaTest, AStreamNoOutputTakesDoesNotEndTheInput) {
    // Its one sample lies past the cut, where the demuxer reaches for it a second into the file.
    test::TFileInfo ours =
        Convert(fixtures::kHalfTimecodeMp4, {{"vcodec", "mpeg4"}, {"acodec", "mp2"}}, "cut.avi");
    test::TFileInfo tool =
        test::DescribeFile(fixtures::Path(std::string(fixtures::kHalfTimecodeMp4) + ".tool.avi"));
    ASSERT_TRUE(ours.Opened && tool.Opened);
    ASSERT_EQ(ours.Streams.size(), tool.Streams.size());
    EXPECT_NEAR(ours.Duration, tool.Duration, 0.1 * tool.Duration);
    for (size_t i = 0; i < ours.Streams.size(); ++i)
        EXPECT_NEAR(ours.Streams[i].Duration, tool.Streams[i].Duration,
                    0.1 * tool.Streams[i].Duration)
            << "stream " << i;
}

TEST_F(RealMediaTest, DamagedAndMissingTimesKeepTheToolsTimeline) {
    constexpr double kFrame = 0.04;
    for (const char* fixture : {fixtures::kLateTimesMkv, fixtures::kNoPtsAvi}) {
        for (const char* ext : {".avi", ".mkv"}) {
            SCOPED_TRACE(std::string(fixture) + " -> " + ext);
            test::TFileInfo ours =
                Convert(fixture, {{"vcodec", "mpeg4"}}, std::string("times") + ext);
            test::TFileInfo tool =
                test::DescribeFile(fixtures::Path(std::string(fixture) + ".tool" + ext));
            ASSERT_TRUE(ours.Opened && tool.Opened);
            ASSERT_EQ(ours.Streams.size(), 1u);
            EXPECT_NEAR(ours.Duration, tool.Duration, kFrame + 0.001);
            EXPECT_NEAR(ours.Streams[0].Duration, tool.Streams[0].Duration, kFrame + 0.001);
        }
    }
}

TEST_F(RealMediaTest, TurnedPicturesComeOutUpright) {
    // The stored picture is 160x120 with its top left quarter white. A display matrix of 90
    // degrees (counter-clockwise, as the library counts) shows that quarter at the bottom left,
    // one of 270 at the top right: where the ffmpeg tool's conversions have it.
    struct TCase {
        const char* Fixture;
        int WhiteRow;
        int WhiteColumn;
    };
    const TCase cases[] = {{fixtures::kTurned90Mp4, 1, 0}, {fixtures::kTurned270Mp4, 0, 1}};
    struct TPreset {
        const char* Output;
        TOptions Options;
    };
    const TPreset presets[] = {{"upright.mp4", {{"vcodec", "libx264"}}},
                               {"upright.avi", {{"vcodec", "mpeg4"}, {"b", "800k"}}}};
    for (const TCase& c : cases) {
        for (const TPreset& preset : presets) {
            SCOPED_TRACE(std::string(c.Fixture) + " -> " + preset.Output);
            test::TFileInfo info = Convert(c.Fixture, preset.Options, preset.Output);
            ASSERT_TRUE(info.Opened);
            ASSERT_EQ(info.Streams.size(), 1u);
            EXPECT_EQ(info.Streams[0].Width, 120);
            EXPECT_EQ(info.Streams[0].Height, 160);
            TGreyPicture picture = FirstPicture(FDir.File(preset.Output));
            ASSERT_EQ(picture.Width, 120);
            for (int row = 0; row < 2; ++row)
                for (int column = 0; column < 2; ++column) {
                    bool white = row == c.WhiteRow && column == c.WhiteColumn;
                    int shade = picture.Quarter(row, column);
                    EXPECT_TRUE(white ? shade > 200 : shade < 50)
                        << "quarter " << row << "," << column << ": " << shade;
                }
            // The picture is upright itself: the output asks for no turn of its own.
            AVFormatContext* ic = nullptr;
            ASSERT_GE(
                lib::avformat_open_input(&ic, FDir.File(preset.Output).c_str(), nullptr, nullptr),
                0);
            EXPECT_TRUE(UprightFilters(ic->streams[0]).empty());
            lib::avformat_close_input(&ic);
        }
    }
}

TEST_F(RealMediaTest, ACopiedTurnedPictureKeepsItsTurn) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kTurned90Mp4));
    engine.Apply({{"vcodec", "copy"}});
    engine.Output(FDir.File("copy.mp4"));
    ASSERT_EQ(engine.Run(), "");
    AVFormatContext* ic = nullptr;
    ASSERT_GE(lib::avformat_open_input(&ic, FDir.File("copy.mp4").c_str(), nullptr, nullptr), 0);
    EXPECT_TRUE(UprightSwapsSides(ic->streams[0]));
    lib::avformat_close_input(&ic);
}

}  // namespace
}  // namespace media
