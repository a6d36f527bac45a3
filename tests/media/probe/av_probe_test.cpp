#include "media/probe/av_probe.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/media_utils.h"
#include "media/libs/unicode_protocol.h"
#include "media/media_test_support.h"
#include "platform/rtl/exception.h"
#include "platform/sys/files.h"

namespace media {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line must end with CR LF";
    return lines;
}

size_t CountPrefixed(const std::vector<std::string>& lines, const std::string& prefix) {
    size_t count = 0;
    for (const std::string& line : lines) count += line.rfind(prefix, 0) == 0;
    return count;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A format context another component opened; the probe only borrows it.
class TOtherInput {
public:
    explicit TOtherInput(const std::string& fileName) {
        EXPECT_EQ(OpenInputFile(&FContext, fileName, nullptr, nullptr), 0);
        if (FContext != nullptr) lib::avformat_find_stream_info(FContext, nullptr);
    }
    ~TOtherInput() { CloseInputFile(&FContext); }
    TOtherInput(const TOtherInput&) = delete;
    TOtherInput& operator=(const TOtherInput&) = delete;
    AVFormatContext* Context() const { return FContext; }

private:
    AVFormatContext* FContext = nullptr;
};

class AVProbeTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }
    TCustomAVProbe FProbe;
};

TEST_F(AVProbeTest, WithoutAFileEverythingIsUnsetAndReadsSayNotLoaded) {
    for (int value :
         {FProbe.StreamCount(), FProbe.ProgramCount(), FProbe.AudioStreamCount(),
          FProbe.VideoStreamCount(), FProbe.SubtitleStreamCount(), FProbe.FirstAudioStreamIndex(),
          FProbe.FirstVideoStreamIndex(), FProbe.FirstSubtitleStreamIndex()})
        EXPECT_EQ(value, -1);
    EXPECT_EQ(FProbe.FileSize(), -1);

    test::TLogCapture capture;
    EXPECT_EQ(FProbe.FileInfoText(), "");
    EXPECT_EQ(FProbe.LastErrMsg(), "file not loaded.");
    EXPECT_EQ(FProbe.FileName(), "");
    EXPECT_EQ(FProbe.FormatName(), "");
    EXPECT_FALSE(FProbe.IsAudioStream(0));
    TFileStreamInfo info = FProbe.FileStreamInfo();
    EXPECT_EQ(info.Duration, -1);
    EXPECT_EQ(info.BitRate, -1);
    EXPECT_EQ(info.Title, "");
    EXPECT_EQ(FProbe.FirstVideoStreamInfo().Width, -1);
    ASSERT_TRUE(capture.WaitForLines(6));
    EXPECT_EQ(capture.Lines().size(), 6u);
    for (const test::TCapturedLine& line : capture.Lines()) {
        EXPECT_EQ(line.Msg, "file not loaded.");
        EXPECT_EQ(line.Level, llWarning);
        EXPECT_EQ(line.Sender, &FProbe);
    }
}

TEST_F(AVProbeTest, DescribesTheVideoAndAudioClip) {
    std::string fileName = fixtures::Path(fixtures::kClipAvi);
    ASSERT_TRUE(FProbe.LoadFile(fileName)) << FProbe.LastErrMsg();
    EXPECT_EQ(FProbe.StreamCount(), 2);
    EXPECT_EQ(FProbe.ProgramCount(), 0);
    EXPECT_EQ(FProbe.VideoStreamCount(), 1);
    EXPECT_EQ(FProbe.AudioStreamCount(), 1);
    EXPECT_EQ(FProbe.SubtitleStreamCount(), 0);
    EXPECT_EQ(FProbe.FirstVideoStreamIndex(), 0);
    EXPECT_EQ(FProbe.FirstAudioStreamIndex(), 1);
    EXPECT_EQ(FProbe.FirstSubtitleStreamIndex(), -1);
    EXPECT_EQ(FProbe.FileSize(), sys::FileSize(fileName));
    EXPECT_EQ(FProbe.FileName(), fileName);
    EXPECT_EQ(FProbe.FormatName(), "avi");
    EXPECT_EQ(FProbe.ForceFormat(), "");
    EXPECT_TRUE(FProbe.IsVideoStream(0));
    EXPECT_TRUE(FProbe.IsAudioStream(1));
    EXPECT_FALSE(FProbe.IsSubtitleStream(1));

    TFileStreamInfo file = FProbe.FileStreamInfo();
    EXPECT_EQ(file.StartTime, 0);
    EXPECT_NEAR(double(file.Duration), 2e6, 0.05e6);
    EXPECT_GT(file.BitRate, 0);

    TVideoStreamInfo video = FProbe.FirstVideoStreamInfo();
    EXPECT_EQ(video.CodecName.rfind("mpeg4", 0), 0u) << video.CodecName;
    EXPECT_EQ(video.Width, 320);
    EXPECT_EQ(video.Height, 240);
    EXPECT_EQ(video.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_FLOAT_EQ(video.AspectRatio, 320.0f / 240.0f);
    EXPECT_EQ(video.FrameRate.num, 25);
    EXPECT_EQ(video.FrameRate.den, 1);
    EXPECT_EQ(video.StartTime, 0);
    EXPECT_EQ(video.Duration, 50);  // in the stream's own time base, 1/25
    EXPECT_EQ(video.DurationScaled, 2000000);

    TAudioStreamInfo audio = FProbe.FirstAudioStreamInfo();
    EXPECT_EQ(audio.CodecName.rfind("mp2", 0), 0u) << audio.CodecName;
    EXPECT_EQ(audio.Channels, 2);
    EXPECT_EQ(audio.SampleRate, 44100);
    EXPECT_EQ(audio.SampleFormat, AV_SAMPLE_FMT_S16P);
    EXPECT_EQ(audio.StartTimeScaled, 0);
    EXPECT_NEAR(double(audio.DurationScaled), 2e6, 0.05e6);

    std::vector<std::string> lines = Lines(FProbe.FileInfoText());
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "File Name: " + fileName);
    EXPECT_EQ(lines[1], "Format Name: avi");
    EXPECT_EQ(lines[2], "Format Long Name: AVI (Audio Video Interleaved)");
    EXPECT_EQ(lines[3], "File Size: " + SizeToText(std::filesystem::file_size(fileName)));
    EXPECT_TRUE(std::regex_match(lines[4], std::regex(R"(Duration: 00:00:0\d\.\d{3})")))
        << lines[4];
    EXPECT_EQ(lines[5], "StartTime: 0.000000");
    EXPECT_TRUE(std::regex_match(lines[6], std::regex(R"(Bit Rate: \d+ kb/s)"))) << lines[6];
    EXPECT_EQ(CountPrefixed(lines, "Stream #"), 2u);
    EXPECT_EQ(CountPrefixed(lines, "Stream #0, 1/25: Video: mpeg4"), 1u);
    EXPECT_EQ(CountPrefixed(lines, "Stream #1, 32/1225: Audio: mp2"), 1u);
    std::string videoLine = lines[lines.size() - 2];
    EXPECT_NE(videoLine.find(", 25 fps, 25 tbr, 25 tbn, StartTime: 0.000000, "
                             "Duration: 00:00:02.000"),
              std::string::npos)
        << videoLine;
}

TEST_F(AVProbeTest, AudioOnlyFileHasNoVideoRecord) {
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kAudioMp3)));
    EXPECT_EQ(FProbe.VideoStreamCount(), 0);
    EXPECT_EQ(FProbe.FirstVideoStreamIndex(), -1);

    TVideoStreamInfo video = FProbe.FirstVideoStreamInfo();
    EXPECT_EQ(FProbe.LastErrMsg(), "no video stream.");
    EXPECT_EQ(video.CodecName, "");
    for (int64_t value :
         {video.StartTime, video.StartTimeScaled, video.Duration, video.DurationScaled,
          video.BitRate, int64_t(video.Height), int64_t(video.Width), int64_t(video.PixFmt),
          int64_t(video.FrameRate.num), int64_t(video.FrameRate.den)})
        EXPECT_EQ(value, -1);
    EXPECT_EQ(video.AspectRatio, -1.0f);

    EXPECT_FALSE(FProbe.IsVideoStream(-1));
    EXPECT_EQ(FProbe.LastErrMsg(), "stream index #-1 is invalid.");

    TFileStreamInfo file = FProbe.FileStreamInfo();
    EXPECT_EQ(file.Title, "Fixture Tone");
    EXPECT_EQ(file.Album, "Tests");
    std::vector<std::string> lines = Lines(FProbe.FileInfoText());
    EXPECT_TRUE(Contains(lines, "Metadata:"));
    EXPECT_TRUE(Contains(lines, "  title           : Fixture Tone"));
    EXPECT_TRUE(Contains(lines, "  artist          : Moradex"));
}

TEST_F(AVProbeTest, WrongStreamIndexesAreReported) {
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kClipAvi)));
    struct TCase {
        std::function<void()> Read;
        const char* Message;
    };
    std::vector<TCase> cases = {
        {[&] { FProbe.GetAudioStreamInfo(2); }, "stream index #2 is invalid."},
        {[&] { FProbe.GetAudioStreamInfo(0); }, "stream #0 is not audio stream."},
        {[&] { FProbe.GetVideoStreamInfo(1); }, "stream #1 is not video stream."},
        {[&] { FProbe.GetSubtitleStreamInfo(0); }, "stream #0 is not subtitle stream."},
        {[&] { FProbe.FirstSubtitleStreamInfo(); }, "no subtitle stream."},
        {[&] { FProbe.IsAudioStream(2); }, "stream index #2 is invalid."},
    };
    for (const TCase& c : cases) {
        c.Read();
        EXPECT_EQ(FProbe.LastErrMsg(), c.Message);
    }
    EXPECT_EQ(FProbe.GetVideoStreamInfo(0).Width, 320);
    EXPECT_EQ(FProbe.GetAudioStreamInfo(1).SampleRate, 44100);
}

TEST_F(AVProbeTest, FilesThatDoNotOpen) {
    std::string missing = fixtures::Path("no such file.avi");
    std::string text = fixtures::Path(fixtures::kTextFile);
    struct TCase {
        std::string FileName;
        std::string FormatName;
        std::string Message;
        bool Logged;
    };
    for (const TCase& c :
         std::vector<TCase>{{missing, "", missing + ": No such file or directory", true},
                            {text, "", text + ": Invalid data found when processing input", true},
                            {fixtures::Path(fixtures::kClipAvi), "nosuchfmt",
                             "Unknown input format: nosuchfmt", false}}) {
        ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kClipAvi)));
        test::TLogCapture capture;
        EXPECT_FALSE(FProbe.LoadFile(c.FileName, c.FormatName));
        EXPECT_EQ(FProbe.LastErrMsg(), c.Message);
        // What was open before is closed.
        EXPECT_EQ(FProbe.FileHandle(), nullptr);
        EXPECT_EQ(FProbe.StreamCount(), -1);
        if (c.Logged) {
            ASSERT_TRUE(capture.WaitForLines(1));
            test::TCapturedLine line = capture.Lines()[0];
            EXPECT_EQ(line.Msg, c.Message);
            EXPECT_EQ(line.Level, llError);
            EXPECT_EQ(line.Sender, &FProbe);
        } else {
            for (const std::string& msg : capture.Messages()) EXPECT_NE(msg, c.Message);
        }
    }
}

TEST_F(AVProbeTest, ForcedFormatIsKeptUntilTheFileCloses) {
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kClipAvi), "avi"));
    EXPECT_EQ(FProbe.ForceFormat(), "avi");
    EXPECT_EQ(FProbe.StreamCount(), 2);
    FProbe.CloseFile();
    EXPECT_EQ(FProbe.ForceFormat(), "");
    EXPECT_EQ(FProbe.StreamCount(), -1);
}

TEST_F(AVProbeTest, CjkFolderNameShowsAsItself) {
    std::string fileName = fixtures::Path(fixtures::kCjkClip);
    ASSERT_TRUE(FProbe.LoadFile(fileName)) << FProbe.LastErrMsg();
    EXPECT_EQ(FProbe.FileName(), fileName);
    EXPECT_EQ(Lines(FProbe.FileInfoText())[0], "File Name: " + fileName);
}

TEST_F(AVProbeTest, TransportStreamListsBothProgramsWithTheirStreams) {
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kTwoProgramsTs)));
    EXPECT_EQ(FProbe.ProgramCount(), 2);
    std::vector<std::string> lines = Lines(FProbe.FileInfoText());
    std::vector<std::string> order;
    for (const std::string& line : lines)
        if (line.rfind("Program ", 0) == 0 || line.rfind("Stream #", 0) == 0)
            order.push_back(line.substr(0, line.find_first_of(",[")));
    EXPECT_EQ(order,
              (std::vector<std::string>{"Program 1 FFmpeg@First", "Stream #0", "Stream #1",
                                        "Program 2 FFmpeg@Second", "Stream #2", "Stream #3"}));
    EXPECT_EQ(CountPrefixed(lines, "Stream #0[0x100], 1/90000: Video: mpeg2video"), 1u);
    EXPECT_EQ(CountPrefixed(lines, "Stream #3[0x103], 1/90000: Audio: mp2"), 1u);
    EXPECT_EQ(CountPrefixed(lines, "StartTime: 1.4"), 1u);
    for (const std::string& line : lines) {
        if (line.find(": Video: ") != std::string::npos) {
            EXPECT_NE(line.find(", 25 fps, 25 tbr, 90k tbn, StartTime: 1.440000, "),
                      std::string::npos)
                << line;
        }
    }
}

TEST_F(AVProbeTest, AspectRatioFollowsTheSampleAspect) {
    struct TCase {
        const char* FileName;
        float Aspect;
    };
    for (const TCase& c : std::vector<TCase>{{fixtures::kSar16x15, 720.0f * 16 / 15 / 576},
                                             {fixtures::kSar0, 0.0f},
                                             {fixtures::kClipMkv, 320.0f / 240.0f}}) {
        ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(c.FileName))) << c.FileName;
        EXPECT_FLOAT_EQ(FProbe.FirstVideoStreamInfo().AspectRatio, c.Aspect) << c.FileName;
    }
}

TEST_F(AVProbeTest, LibraryMemoryIsNeverWrittenThroughTheRecords) {
    // A stream whose time base has no denominator is rescaled with a repaired copy.
    TOtherInput input(fixtures::Path(fixtures::kClipAvi));
    AVStream* video = input.Context()->streams[0];
    video->time_base = {25, 0};
    FProbe.SetFileHandle(input.Context());
    TVideoStreamInfo info = FProbe.FirstVideoStreamInfo();
    EXPECT_EQ(info.DurationScaled, 50000000);  // 50 ticks of 25/25 s
    EXPECT_EQ(video->time_base.num, 25);
    EXPECT_EQ(video->time_base.den, 0);
    FProbe.FileInfoText();
    EXPECT_EQ(video->time_base.den, 0);
    FProbe.CloseFile();
}

TEST_F(AVProbeTest, AttachedContextIsDescribedAndLeftOpen) {
    TOtherInput input(fixtures::Path(fixtures::kClipAvi));
    AVFormatContext* context = input.Context();
    // Tags as other readers set them, and rates the clip does not have.
    lib::av_dict_set(&context->metadata, "TPE1", "Someone", 0);
    lib::av_dict_set(&context->metadata, "creation_time", "2020-01-02T03:04:05.000000Z", 0);
    lib::av_dict_set(&context->metadata, "date", "2009-05-01", 0);
    lib::av_dict_set(&context->metadata, "track", "3/12", 0);
    lib::av_dict_set(&context->streams[0]->metadata, "language", "chi", 0);
    lib::av_dict_set(&context->streams[1]->metadata, "language", "eng", 0);
    lib::av_dict_set(&context->streams[1]->metadata, "title", "Commentary", 0);
    context->streams[0]->avg_frame_rate = {30000, 1001};
    context->streams[0]->sample_aspect_ratio = {4, 3};

    FProbe.SetFileHandle(context);
    EXPECT_EQ(FProbe.FileHandle(), context);
    EXPECT_EQ(FProbe.StreamCount(), 2);
    TFileStreamInfo file = FProbe.FileStreamInfo();
    EXPECT_EQ(file.TimeStamp, 1577934245);
    EXPECT_EQ(file.Year, 2009);
    EXPECT_EQ(file.Track, 3);

    std::vector<std::string> lines = Lines(FProbe.FileInfoText());
    EXPECT_TRUE(Contains(lines, "  artist          : Someone"));
    EXPECT_EQ(CountPrefixed(lines, "Time Stamp: 2020-01-0"), 1u);
    EXPECT_EQ(CountPrefixed(lines, "Stream #0(chi), 1/25: Video: "), 1u);
    EXPECT_EQ(CountPrefixed(lines, "Stream #1(eng), 32/1225: Audio: "), 1u);
    // A stream tagged only with its language has no metadata block; one with more has.
    EXPECT_EQ(CountPrefixed(lines, "  Metadata:"), 1u);
    EXPECT_TRUE(Contains(lines, "    title           : Commentary"));
    for (const std::string& line : lines) {
        if (line.find(": Video: ") != std::string::npos) {
            EXPECT_NE(line.find(", PAR 4:3 DAR 16:9, 29.97 fps, 25 tbr, 25 tbn,"),
                      std::string::npos)
                << line;
        }
    }

    FProbe.CloseFile();
    EXPECT_EQ(FProbe.FileHandle(), nullptr);
    // Still open for its owner.
    AVPacket* packet = lib::av_packet_alloc();
    EXPECT_GE(lib::av_read_frame(context, packet), 0);
    lib::av_packet_free(&packet);
}

TEST(AVProbeLibraries, ProbingBeforeTheLibrariesLoadRaises) {
    test::RunInOwnProcess([] {
        std::string failures;
        TAVProbe probe;
        failures += test::Check(!probe.AVLibLoaded(), "AVLibLoaded before LoadAVLib");
        for (const std::function<void()>& use : std::vector<std::function<void()>>{
                 [&] { probe.LoadFile(fixtures::Path(fixtures::kClipAvi)); },
                 [&] { probe.SetFileHandle(nullptr); }}) {
            try {
                use();
                failures += "no exception\n";
            } catch (const rtl::Exception& e) {
                failures += test::Check(e.Message() == "LibAVCodec not loaded.", e.Message());
            }
        }
        failures += test::Check(probe.LoadAVLib(""), "LoadAVLib: " + probe.LastErrMsg());
        failures += test::Check(probe.AVLibLoaded(), "AVLibLoaded after LoadAVLib");
        failures += test::Check(probe.LoadFile(fixtures::Path(fixtures::kClipAvi)),
                                "LoadFile after LoadAVLib");
        probe.CloseFile();
        probe.UnloadAVLib();
        failures += test::Check(!probe.AVLibLoaded(), "AVLibLoaded after UnloadAVLib");
        return failures;
    });
}

}  // namespace
}  // namespace media
