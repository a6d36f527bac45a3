#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "media/engine/run_test_support.h"
#include "media/media_test_support.h"

namespace media {
namespace {

using test::TRunEngine;

class OutputSetupTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    // The streams of output `slot` by type, in order.
    static std::vector<AVMediaType> StreamTypes(TRunEngine& engine, int slot = 0) {
        std::vector<AVMediaType> types;
        AVFormatContext* oc = engine.Foutput_files[size_t(slot)];
        for (unsigned i = 0; i < oc->nb_streams; ++i)
            types.push_back(oc->streams[i]->codecpar->codec_type);
        return types;
    }

    test::TTempDir FDir;
};

TEST_F(OutputSetupTest, ContainerComesFromTheFormatOptionOrTheName) {
    std::filesystem::create_directories(FDir / "x");
    struct TCase {
        std::string Format;  // option "f"
        std::string Name;
        const char* Muxer;  // nullptr: refused with Message
        std::string Message;
    };
    const TCase cases[] = {
        {"", "x/out.mp4", "mp4", ""},
        {"matroska", "out.avi", "matroska", ""},
        {"nosuchfmt", "out.mp4", nullptr,
         "Requested output format 'nosuchfmt' is not a suitable output format"},
        // The feed output of older versions is gone.
        {"ffm", "http://localhost/feed.ffm", nullptr,
         "Requested output format 'ffm' is not a suitable output format"},
        {"", "out.xyz", nullptr, "Unable to find a suitable output format for '%s'"},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.ParseOption("f", c.Format);
        std::string name = c.Name.starts_with("http") ? c.Name : FDir.File(c.Name);
        int result = engine.OpenOutputFile(name, false);
        if (c.Muxer == nullptr) {
            EXPECT_EQ(result, -1) << c.Name;
            std::string expected = c.Message;
            size_t at = expected.find("%s");
            if (at != std::string::npos) expected.replace(at, 2, name);
            EXPECT_EQ(engine.LastErrMsg(), expected);
            EXPECT_EQ(engine.nb_output_files(), 0);
            EXPECT_FALSE(std::filesystem::exists(name));
            continue;
        }
        ASSERT_EQ(result, 1) << engine.LastErrMsg();
        EXPECT_STREQ(engine.Foutput_files[0]->oformat->name, c.Muxer);
        EXPECT_TRUE(engine.State().Flast_asked_format.empty());
        EXPECT_FALSE(std::filesystem::exists(name)) << "the run makes the file, not the set-up";
    }
}

TEST_F(OutputSetupTest, RefusedStreamLeavesNoOutputBehind) {
    struct TCase {
        std::vector<std::pair<std::string, std::string>> Options;
        std::string Message;
    };
    const TCase cases[] = {
        {{{"acodec", "nosuchenc"}}, "new_audio_stream fail: Unknown encoder 'nosuchenc'"},
        {{{"vcodec", "mp2"}}, "new_video_stream fail: Invalid encoder type 'mp2'"},
        {{{"rc_override", "0,100"}}, "new_video_stream fail: error parsing rc_override"},
        {{{"rc_override", ""}}, "new_video_stream fail: error parsing rc_override"},
        {{{"rc_override", "a,1,2"}}, "new_video_stream fail: error parsing rc_override"},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.Apply(c.Options);
        std::string name = FDir.File("out.avi");
        EXPECT_EQ(engine.OpenOutputFile(name, false), -1);
        EXPECT_EQ(engine.LastErrMsg(), c.Message);
        EXPECT_EQ(engine.nb_output_files(), 0);
        EXPECT_EQ(engine.Foutput_files[0], nullptr);
        EXPECT_TRUE(engine.Foutput_codec_contexts[0].empty());
        EXPECT_EQ(engine.Fnb_ocodecs, 0);
        EXPECT_FALSE(std::filesystem::exists(name));
        // The names are used up, as by any stream.
        EXPECT_FALSE(engine.State().Faudio_codec_name.has_value());
        EXPECT_FALSE(engine.State().Fvideo_codec_name.has_value());
    }
}

TEST_F(OutputSetupTest, MissingFolderIsReportedWithTheFileName) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    std::string name = FDir.File("no/such/folder/out.mp4");
    EXPECT_EQ(engine.OpenOutputFile(name, false), -1);
    EXPECT_EQ(engine.LastErrMsg(), name + ": No such file or directory");
    EXPECT_EQ(engine.nb_output_files(), 0);
    EXPECT_EQ(engine.Foutput_files[0], nullptr);
    // The next output takes the slot.
    engine.Output(FDir.File("out.mp4"));
    EXPECT_EQ(engine.nb_output_files(), 1);
}

// The set-up only asks whether the file could be written: an existing file keeps every byte,
// also when the engine is released without a run; what could not be written is refused with the
// name and the system's text.
TEST_F(OutputSetupTest, SetUpNeitherCreatesNorEmptiesAFile) {
    const std::string earlier = FDir.Touch("earlier.avi", "an earlier conversion");
    FDir.MakeFolder("folder.avi");
    const std::string blocked = FDir.Touch("blocked", "a file, not a folder");
    const struct {
        std::string Name;
        std::string Message;  // empty: accepted
    } cases[] = {
        {earlier, ""},
        {FDir.File("new.avi"), ""},
        {FDir.File("folder.avi"), FDir.File("folder.avi") + ": Is a directory"},
        {blocked + "/out.avi", blocked + "/out.avi: Not a directory"},
    };
    for (const auto& c : cases) {
        {
            TRunEngine engine;
            engine.Open(fixtures::Path(fixtures::kClipAvi));
            const int result = engine.OpenOutputFile(c.Name, false);
            EXPECT_EQ(result, c.Message.empty() ? 1 : -1) << c.Name;
            if (!c.Message.empty()) EXPECT_EQ(engine.LastErrMsg(), c.Message);
        }
        EXPECT_EQ(testsupport::ReadFile(earlier), "an earlier conversion") << c.Name;
        EXPECT_FALSE(std::filesystem::exists(FDir.File("new.avi"))) << c.Name;
    }
    EXPECT_EQ(testsupport::ReadFile(blocked), "a file, not a folder");
}

TEST_F(OutputSetupTest, AFailedOutputLeavesNoEncoderForTheNextOne) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Apply({{"vcodec", "mpeg4"}, {"acodec", "nosuchenc"}});
    EXPECT_EQ(engine.OpenOutputFile(FDir.File("first.mkv"), false), -1);
    engine.Output(FDir.File("second.mkv"));
    ASSERT_EQ(engine.Fnb_ocodecs, 2);
    // Guessed from the container, not the name given to the failed output.
    ASSERT_NE(engine.Foutput_codecs[0], nullptr);
    EXPECT_EQ(engine.Foutput_codecs[0]->id, AV_CODEC_ID_H264);
    EXPECT_EQ(engine.Foutput_codec_contexts[0][0]->codec_id, AV_CODEC_ID_H264);
}

TEST_F(OutputSetupTest, StreamsFollowTheInputsAndTheDisableOptions) {
    struct TCase {
        const char* Input;
        const char* Output;
        std::vector<std::pair<std::string, std::string>> Options;
        std::vector<AVMediaType> Streams;
    };
    const TCase cases[] = {
        {fixtures::kClipAvi, "out.mp4", {}, {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
        // The container would take video, but the input has none.
        {fixtures::kAudioMp3, "out.mp4", {}, {AVMEDIA_TYPE_AUDIO}},
        {fixtures::kClipAvi, "out.mp4", {{"vn", "1"}}, {AVMEDIA_TYPE_AUDIO}},
        {fixtures::kClipAvi, "out.mp4", {{"an", "1"}}, {AVMEDIA_TYPE_VIDEO}},
        // No default audio codec in the container, but one is named.
        {fixtures::kClipAvi,
         "out.h264",
         {{"acodec", "aac"}},
         {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}},
        {fixtures::kClipAvi, "out.h264", {}, {AVMEDIA_TYPE_VIDEO}},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(c.Input));
        engine.Apply(c.Options);
        engine.Output(FDir.File(c.Output));
        EXPECT_EQ(StreamTypes(engine), c.Streams) << c.Input << " " << c.Output;
        // Each stream leaves its settings used up.
        EXPECT_FALSE(engine.State().Faudio_codec_name.has_value());
    }
}

TEST_F(OutputSetupTest, VideoCopyTakesTheInputsDisplayAspect) {
    struct TCase {
        const char* Input;
        AVRational SampleAspect;
    };
    for (TCase c : {TCase{fixtures::kClipAvi, {1, 1}}, TCase{fixtures::kSar16x15, {16, 15}}}) {
        TRunEngine engine;
        engine.Open(fixtures::Path(c.Input));
        engine.Apply({{"vcodec", "copy"}});
        engine.Output(FDir.File("copy.mkv"));
        const auto& setup = engine.Foutput_stream_setups[0][0];
        EXPECT_TRUE(setup.StreamCopy);
        AVStream* st = engine.Foutput_files[0]->streams[0];
        EXPECT_EQ(st->sample_aspect_ratio.num, c.SampleAspect.num) << c.Input;
        EXPECT_EQ(st->sample_aspect_ratio.den, c.SampleAspect.den) << c.Input;
        // No encoder was looked up for the copy.
        EXPECT_EQ(engine.Foutput_codecs[0], nullptr);
        EXPECT_EQ(engine.State().Fvideo_stream_copy, 0);
    }
}

TEST_F(OutputSetupTest, VideoEncoderSettings) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Apply({{"vcodec", "mpeg1video"},
                  {"r", "23"},
                  {"qscale", "5"},
                  {"intra", "1"},
                  {"rc_override", "0,100,-20/101,200,5"},
                  {"bufsize", "400000"},
                  {"dc", "10"},
                  {"pass", "1"},
                  {"vlang", "deu"},
                  {"streamid", "0:33"}});
    engine.Output(FDir.File("out.mpg"));
    AVCodecContext* enc = engine.Foutput_codec_contexts[0][0];
    ASSERT_NE(engine.Foutput_codecs[0], nullptr);
    EXPECT_STREQ(engine.Foutput_codecs[0]->name, "mpeg1video");
    // MPEG-1 has no 23 per second: the nearest rate it lists.
    EXPECT_EQ(enc->time_base.num, 1001);
    EXPECT_EQ(enc->time_base.den, 24000);
    EXPECT_EQ(enc->width, 320);
    EXPECT_EQ(enc->height, 240);
    EXPECT_EQ(enc->pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(enc->gop_size, 0);
    EXPECT_NE(enc->flags & AV_CODEC_FLAG_QSCALE, 0);
    EXPECT_EQ(enc->global_quality, 5 * FF_QP2LAMBDA);
    EXPECT_NE(enc->flags & AV_CODEC_FLAG_PASS1, 0);
    EXPECT_EQ(enc->intra_dc_precision, 2);
    EXPECT_EQ(enc->rc_initial_buffer_occupancy, 300000);
    ASSERT_EQ(enc->rc_override_count, 2);
    EXPECT_EQ(enc->rc_override[0].start_frame, 0);
    EXPECT_EQ(enc->rc_override[0].end_frame, 100);
    EXPECT_EQ(enc->rc_override[0].qscale, 0);
    EXPECT_FLOAT_EQ(enc->rc_override[0].quality_factor, 0.2f);
    EXPECT_EQ(enc->rc_override[1].start_frame, 101);
    EXPECT_EQ(enc->rc_override[1].end_frame, 200);
    EXPECT_EQ(enc->rc_override[1].qscale, 5);
    EXPECT_FLOAT_EQ(enc->rc_override[1].quality_factor, 1.0f);
    AVStream* st = engine.Foutput_files[0]->streams[0];
    EXPECT_EQ(st->id, 33);
    EXPECT_EQ(test::MetadataOf(st->metadata, "language"), "deu");
    EXPECT_TRUE(engine.State().Fvideo_language.empty());
    EXPECT_EQ(engine.State().Fstreamid_map[0], 0);
}

TEST_F(OutputSetupTest, AudioEncoderSettings) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Apply({{"acodec", "mp2"}, {"ar", "46050"}, {"ac", "1"}, {"ab", "96000"}});
    test::TLogCapture log;
    engine.Output(FDir.File("out.mkv"));
    AVCodecContext* enc = engine.Foutput_codec_contexts[0][1];
    EXPECT_EQ(enc->codec_id, AV_CODEC_ID_MP2);
    // The nearer of the rates the encoder lists, announced.
    EXPECT_EQ(enc->sample_rate, 44100);
    EXPECT_EQ(enc->time_base.den, 44100);
    EXPECT_EQ(enc->ch_layout.nb_channels, 1);
    EXPECT_EQ(enc->bit_rate, 96000);
    EXPECT_EQ(enc->sample_fmt, AV_SAMPLE_FMT_S16);
    // The input's stereo layout names two channels: one channel gets the layout of its own.
    EXPECT_EQ(enc->ch_layout.order, AV_CHANNEL_ORDER_NATIVE);
    EXPECT_EQ(enc->ch_layout.u.mask, AV_CH_LAYOUT_MONO);
    EXPECT_TRUE(log.WaitForLines(1));
    EXPECT_EQ(log.Messages().back(),
              "Requested sampling rate unsupported using closest supported (44100)");
}

TEST_F(OutputSetupTest, EncoderNamesOfTheOldLibrariesFindTheirSuccessors) {
    struct TCase {
        const char* Option;
        const char* Name;
        const char* Encoder;
        const char* Output;
    };
    const TCase cases[] = {{"acodec", "libfaac", "aac", "out.mp4"},
                           {"vcodec", "msmpeg4v1", "msmpeg4v2", "out.avi"}};
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.ParseOption(c.Option, c.Name);
        engine.Output(FDir.File(c.Output));
        int slot = c.Option[0] == 'v' ? 0 : 1;
        ASSERT_NE(engine.Foutput_codecs[size_t(slot)], nullptr);
        EXPECT_STREQ(engine.Foutput_codecs[size_t(slot)]->name, c.Encoder);
    }
}

TEST_F(OutputSetupTest, CodecsAContainerCannotCarryAreWrittenAsOneItCan) {
    struct TCase {
        const char* Option;
        const char* Name;
        const char* Output;
        const char* Encoder;
    };
    const TCase cases[] = {
        {"acodec", "libfaac", "out.mpg", "mp2"},
        {"acodec", "aac", "out.mpeg", "mp2"},
        {"acodec", "aac", "out.vob", "mp2"},
        {"acodec", "libfaac", "out.mp4", "aac"},
        {"acodec", "libmp3lame", "out.mpg", "libmp3lame"},
        {"vcodec", "msmpeg4v1", "out.mp4", "mpeg4"},
        {"vcodec", "msmpeg4", "out.mp4", "mpeg4"},
        {"vcodec", "msmpeg4", "out.avi", "msmpeg4"},
        {"vcodec", "msmpeg4v1", "out.avi", "msmpeg4v2"},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.ParseOption(c.Option, c.Name);
        engine.Output(FDir.File(c.Output));
        int slot = c.Option[0] == 'v' ? 0 : 1;
        ASSERT_NE(engine.Foutput_codecs[size_t(slot)], nullptr) << c.Name << " " << c.Output;
        EXPECT_STREQ(engine.Foutput_codecs[size_t(slot)]->name, c.Encoder)
            << c.Name << " " << c.Output;
    }
}

TEST_F(OutputSetupTest, AacInAProgramStreamIsAnnouncedOnce) {
    test::RunInOwnProcess([this] {
        test::TLogCapture log;
        for (const char* output : {"a.mpg", "b.mpg"}) {
            TRunEngine engine;
            if (!engine.OpenInputFile(fixtures::Path(fixtures::kClipAvi)))
                return engine.LastErrMsg();
            engine.ParseOption("acodec", "aac");
            if (engine.OpenOutputFile(FDir.File(output), false) < 0) return engine.LastErrMsg();
        }
        log.WaitForLines(1);
        int count = 0;
        for (const std::string& message : log.Messages())
            count += message == "Encoder 'aac' cannot be stored in format 'mpeg', using 'mp2'";
        return test::Check(count == 1, "announced " + std::to_string(count) + " times");
    });
}

TEST_F(OutputSetupTest, MetadataGivenFirstWins) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Apply({{"metadata", "title=First"},
                  {"metadata", "artist=Someone"},
                  {"metadata", "title=Second"},
                  {"timestamp", "2010-05-04 03:02:01"}});
    engine.Output(FDir.File("out.mkv"));
    AVDictionary* metadata = engine.Foutput_files[0]->metadata;
    EXPECT_EQ(test::MetadataOf(metadata, "title"), "First");
    EXPECT_EQ(test::MetadataOf(metadata, "artist"), "Someone");
    EXPECT_EQ(test::MetadataOf(metadata, "creation_time").substr(0, 4), "2010");
    EXPECT_TRUE(engine.Fmetadata.empty());
}

TEST_F(OutputSetupTest, MuxerSettingsWaitForTheHeader) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Apply({{"muxrate", "10080000"}, {"muxdelay", "0.5"}, {"packetsize", "2048"}});
    engine.Output(FDir.File("out.mpg"));
    AVFormatContext* oc = engine.Foutput_files[0];
    EXPECT_EQ(oc->max_delay, 500000);
    EXPECT_EQ(oc->packet_size, 2048u);
    EXPECT_NE(oc->flags & AVFMT_FLAG_NONBLOCK, 0);
    EXPECT_EQ(test::MetadataOf(engine.Fmux_options[0], "muxrate"), "10080000");
    EXPECT_EQ(test::MetadataOf(engine.Fmux_options[0], "preload"), "500000");

    // A muxer without these options does not get them.
    TRunEngine other;
    other.Open(fixtures::Path(fixtures::kClipAvi));
    other.Apply({{"muxrate", "10080000"}});
    other.Output(FDir.File("out.mkv"));
    EXPECT_EQ(other.Fmux_options[0], nullptr);
}

TEST_F(OutputSetupTest, JoinFillsOneSlotPerInput) {
    TRunEngine engine;
    for (const char* input : {fixtures::kClipAvi, fixtures::kClip1sAvi, fixtures::kClipAvi})
        engine.Open(fixtures::Path(input));
    EXPECT_EQ(engine.OpenOutputFile(FDir.File("joined.mkv"), true), 3);
    EXPECT_TRUE(engine.FJoinMode);
    EXPECT_EQ(engine.Foutput_files[0], engine.Foutput_files[1]);
    EXPECT_EQ(engine.Foutput_files[0], engine.Foutput_files[2]);
    EXPECT_NEAR(double(engine.FTotalOutputDuration), 5e6, 2e5);
    // Only the first input's stream types count.
    EXPECT_EQ(StreamTypes(engine), (std::vector{AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}));

    EXPECT_EQ(engine.OpenOutputFile(FDir.File("second.mkv"), false), -1);
    EXPECT_EQ(engine.LastErrMsg(), "Cannot join more than one output file.");
    // A further stream goes into the joined output.
    engine.Apply({{"acodec", "mp2"}, {"newaudio", ""}});
    EXPECT_EQ(engine.Foutput_files[0]->nb_streams, 3u);
}

TEST_F(OutputSetupTest, JoinWithOneInputIsAPlainOutput) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    EXPECT_EQ(engine.OpenOutputFile(FDir.File("one.mkv"), true), 1);
    EXPECT_FALSE(engine.FJoinMode);
}

TEST_F(OutputSetupTest, JoinedOutputMustBeTheOnlyOne) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Open(fixtures::Path(fixtures::kClip1sAvi));
    engine.Output(FDir.File("first.mkv"));
    EXPECT_EQ(engine.OpenOutputFile(FDir.File("joined.mkv"), true), -1);
    EXPECT_EQ(engine.LastErrMsg(), "Cannot join more than one output file.");
    EXPECT_EQ(engine.nb_output_files(), 1);
}

TEST_F(OutputSetupTest, FurtherStreamsGoToTheLastOutput) {
    TRunEngine engine;
    try {
        engine.ParseOption("newvideo", "");
        ADD_FAILURE() << "no output yet";
    } catch (const FFmpegException& e) {
        EXPECT_STREQ(e.what(), "At least one output file must be specified");
    }
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Output(FDir.File("first.mkv"));
    engine.Apply({{"acodec", "ac3"}, {"alang", "eng"}});
    engine.Output(FDir.File("second.mkv"));
    engine.Apply({{"acodec", "mp2"}, {"ab", "64000"}, {"alang", "fra"}, {"newaudio", ""}});
    ASSERT_EQ(engine.Foutput_files[1]->nb_streams, 3u);
    EXPECT_EQ(engine.Foutput_files[0]->nb_streams, 2u);
    AVCodecContext* added = engine.Foutput_codec_contexts[1][2];
    EXPECT_EQ(added->codec_id, AV_CODEC_ID_MP2);
    EXPECT_EQ(added->bit_rate, 64000);
    EXPECT_EQ(test::MetadataOf(engine.Foutput_files[1]->streams[2]->metadata, "language"), "fra");
    EXPECT_EQ(test::MetadataOf(engine.Foutput_files[1]->streams[1]->metadata, "language"), "eng");
    EXPECT_EQ(engine.Fnb_ocodecs, 5);
    EXPECT_STREQ(engine.Foutput_codecs[4]->name, "mp2");

    // A refused further stream raises its own text and leaves the output as it was.
    try {
        engine.Apply({{"acodec", "nosuchenc"}, {"newaudio", ""}});
        ADD_FAILURE() << "unknown encoder";
    } catch (const FFmpegException& e) {
        EXPECT_STREQ(e.what(), "Unknown encoder 'nosuchenc'");
    }
    EXPECT_EQ(engine.Foutput_files[1]->nb_streams, 3u);
    EXPECT_EQ(engine.Foutput_codec_contexts[1].size(), 3u);
}

TEST_F(OutputSetupTest, CjkFolderAndName) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kCjkClip));
    std::filesystem::create_directories(FDir / "输出");
    std::string name = FDir.File("输出/片段.mp4");
    engine.Output(name);
    EXPECT_EQ(engine.Run(), "");
    test::TFileInfo info = test::DescribeFile(name);
    ASSERT_TRUE(info.Opened);
    EXPECT_EQ(info.Streams.size(), 2u);
}

}  // namespace
}  // namespace media
