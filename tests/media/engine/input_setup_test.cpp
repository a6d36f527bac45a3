#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/engine/engine_test_support.h"
#include "media/media_test_support.h"

namespace media {
namespace {

using test::TTestEngine;

class InputSetupTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    static void Open(TTestEngine& engine, const char* fixture) {
        ASSERT_TRUE(engine.OpenInputFile(fixtures::Path(fixture))) << engine.LastErrMsg();
    }
};

TEST_F(InputSetupTest, TakesOverTheStreamsProperties) {
    TTestEngine engine;
    Open(engine, fixtures::kClipAvi);
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(engine.nb_input_files(), 1);
    EXPECT_EQ(state.Fframe_width, 320);
    EXPECT_EQ(state.Fframe_height, 240);
    EXPECT_EQ(state.Fframe_rate.num, 25);
    EXPECT_EQ(state.Fframe_rate.den, 1);
    EXPECT_EQ(state.Fframe_pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_FLOAT_EQ(state.Fframe_aspect_ratio, 320.0f / 240);
    EXPECT_EQ(state.Faudio_sample_rate, 44100);
    EXPECT_EQ(state.Faudio_channels, 2);
    EXPECT_EQ(state.Fchannel_layout, int64_t(AV_CH_LAYOUT_STEREO));
    EXPECT_EQ(engine.Fnb_icodecs, 2);
    EXPECT_EQ(engine.Finput_codecs[0], nullptr);
    EXPECT_EQ(engine.Finput_codecs[1], nullptr);
    EXPECT_NEAR(double(engine.FTotalOutputDuration), 2e6, 1e5);
    EXPECT_EQ(engine.Finput_files_ts_offset[0], 0);
}

TEST_F(InputSetupTest, AudioOnlyInputKeepsTheFrameRate) {
    TTestEngine engine;
    Open(engine, fixtures::kAudioMp3);
    EXPECT_EQ(engine.State().Fframe_rate.num, 0);
    EXPECT_EQ(engine.State().Fframe_rate.den, 0);
    EXPECT_EQ(engine.Fnb_icodecs, 1);
}

TEST_F(InputSetupTest, AspectFollowsTheSampleAspect) {
    struct TCase {
        const char* Fixture;
        float Aspect;
    };
    for (TCase c : {TCase{fixtures::kSar0, 1.25f}, TCase{fixtures::kSar16x15, 4.0f / 3}}) {
        TTestEngine engine;
        Open(engine, c.Fixture);
        EXPECT_EQ(engine.State().Fframe_width, 720);
        EXPECT_EQ(engine.State().Fframe_height, 576);
        EXPECT_NEAR(engine.State().Fframe_aspect_ratio, c.Aspect, 1e-4) << c.Fixture;
    }
}

TEST_F(InputSetupTest, DisabledVideoIsDiscardedButStillDescribed) {
    TTestEngine engine;
    engine.ParseOption("vn", "1");
    engine.ParseOption("an", "1");
    Open(engine, fixtures::kClipAvi);
    AVFormatContext* input = engine.Finput_files[0];
    for (unsigned i = 0; i < input->nb_streams; ++i)
        EXPECT_EQ(input->streams[i]->discard, AVDISCARD_ALL);
    EXPECT_EQ(engine.State().Fframe_width, 320);
    EXPECT_EQ(engine.State().Faudio_channels, 2);
}

TEST_F(InputSetupTest, StartPositionMovesTheTimestampOffset) {
    for (bool copyTs : {false, true}) {
        TTestEngine engine;
        engine.ParseOption("ss", "10");
        engine.ParseOption("itsoffset", "1");
        if (copyTs) engine.ParseOption("copyts", "");
        Open(engine, fixtures::kClipAvi);
        int64_t start = engine.Finput_files[0]->start_time;
        if (start == AV_NOPTS_VALUE) start = 0;
        EXPECT_EQ(engine.State().Fstart_time, 0);
        EXPECT_EQ(engine.Finput_files_ts_offset[0],
                  copyTs ? 1000000 : 1000000 - (10000000 + start));
    }
}

TEST_F(InputSetupTest, ProgramSelection) {
    TTestEngine missing;
    missing.ParseOption("programid", "3");
    EXPECT_FALSE(missing.OpenInputFile(fixtures::Path(fixtures::kTwoProgramsTs)));
    EXPECT_EQ(missing.LastErrMsg(), "Specified program id not found");
    EXPECT_EQ(missing.nb_input_files(), 0);
    // The selection stays for the next input of the job.
    EXPECT_EQ(missing.State().Fopt_programid, 3);

    TTestEngine engine;
    engine.ParseOption("programid", "2");
    Open(engine, fixtures::kTwoProgramsTs);
    EXPECT_EQ(engine.State().Fopt_programid, 0);
    AVFormatContext* input = engine.Finput_files[0];
    int kept = 0;
    for (unsigned p = 0; p < input->nb_programs; ++p) {
        AVProgram* program = input->programs[p];
        for (unsigned j = 0; j < program->nb_stream_indexes; ++j) {
            AVDiscard discard = input->streams[program->stream_index[j]]->discard;
            EXPECT_EQ(discard, program->id == 2 ? AVDISCARD_DEFAULT : AVDISCARD_ALL);
            kept += discard == AVDISCARD_DEFAULT;
        }
    }
    EXPECT_EQ(kept, 2);
}

TEST_F(InputSetupTest, ForcedDecodersAreLookedUpByName) {
    struct TCase {
        const char* Option;
        const char* Name;
        const char* Message;
    };
    const TCase cases[] = {
        {"acodec", "libmp3lame", "Unknown decoder 'libmp3lame'"},
        {"vcodec", "mp2", "Invalid decoder type 'mp2'"},
        {"scodec", "nosuchcodec", "Unknown decoder 'nosuchcodec'"},
        {"acodec", "sonic",
         "decoder 'sonic' is experimental and might produce bad results.\r\n"
         "Add '-strict experimental' if you want to use it."},
    };
    for (const TCase& c : cases) {
        TTestEngine engine;
        engine.ParseOption(c.Option, c.Name);
        EXPECT_FALSE(engine.OpenInputFile(fixtures::Path(fixtures::kClipAvi))) << c.Name;
        EXPECT_EQ(engine.LastErrMsg(), c.Message);
        EXPECT_EQ(engine.nb_input_files(), 0);
        // The names are consumed by the attempt.
        EXPECT_FALSE(engine.State().Faudio_codec_name);
        EXPECT_FALSE(engine.State().Fvideo_codec_name);
    }

    TTestEngine engine;
    engine.ParseOption("acodec", "mp3float");
    Open(engine, fixtures::kAudioMp3);
    ASSERT_NE(engine.Finput_codecs[0], nullptr);
    EXPECT_STREQ(engine.Finput_codecs[0]->name, "mp3float");
    EXPECT_EQ(engine.Finput_files[0]->audio_codec_id, AV_CODEC_ID_MP3);
}

TEST_F(InputSetupTest, ExperimentalCodecsNeedTheStrictOption) {
    TTestEngine engine;
    AVCodecID id = AV_CODEC_ID_NONE;
    int strict = FF_COMPLIANCE_NORMAL;
    EXPECT_FALSE(engine.FindCodecByName("vorbis", AVMEDIA_TYPE_AUDIO, id, strict, true));
    EXPECT_EQ(engine.LastErrMsg(),
              "encoder 'vorbis' is experimental and might produce bad results.\r\n"
              "Add '-strict experimental' if you want to use it.\r\n"
              "Or use the non experimental encoder 'libvorbis'.");

    engine.ParseOption("strict", "experimental");
    strict = engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->strict_std_compliance;
    EXPECT_TRUE(engine.FindCodecByName("sonic", AVMEDIA_TYPE_AUDIO, id, strict, false));
    EXPECT_EQ(id, AV_CODEC_ID_SONIC);
    EXPECT_TRUE(engine.FindCodecByName(std::nullopt, AVMEDIA_TYPE_AUDIO, id, strict, false));
    EXPECT_EQ(id, AV_CODEC_ID_NONE);

    engine.ParseOption("acodec", "sonic");
    EXPECT_TRUE(engine.OpenInputFile(fixtures::Path(fixtures::kAudioMp3))) << engine.LastErrMsg();
}

TEST_F(InputSetupTest, FilesTheLibraryRefuses) {
    std::string missing = fixtures::Path("no_such_file.avi");
    std::string text = fixtures::Path(fixtures::kTextFile);
    struct TCase {
        std::string FileName;
        std::string Message;
    };
    for (const TCase& c : {TCase{missing, missing + ": No such file or directory"},
                           TCase{text, text + ": Invalid data found when processing input"}}) {
        TTestEngine engine;
        engine.ParseOption("vcodec", "mpeg4");
        EXPECT_FALSE(engine.OpenInputFile(c.FileName));
        EXPECT_EQ(engine.LastErrMsg(), c.Message);
        EXPECT_EQ(engine.nb_input_files(), 0);
        EXPECT_FALSE(engine.State().Fvideo_codec_name);
    }

    TTestEngine engine;
    engine.ParseOption("f", "nosuchformat");
    try {
        engine.OpenInputFile(fixtures::Path(fixtures::kClipAvi));
        FAIL() << "no exception";
    } catch (const FFmpegException& e) {
        EXPECT_STREQ(e.what(), "Unknown input format: \"nosuchformat\"");
    }
}

TEST_F(InputSetupTest, ForcedFormatIsUsedOnceAndCleared) {
    TTestEngine engine;
    engine.ParseOption("f", "avi");
    Open(engine, fixtures::kClipAvi);
    EXPECT_STREQ(engine.Finput_files[0]->iformat->name, "avi");
    EXPECT_TRUE(engine.State().Flast_asked_format.empty());
    Open(engine, fixtures::kClipMkv);
    EXPECT_EQ(engine.nb_input_files(), 2);
    EXPECT_EQ(engine.Fnb_icodecs, 4);
}

TEST_F(InputSetupTest, CapacityLimitsTheInputs) {
    TTestEngine engine(1);
    Open(engine, fixtures::kClipAvi);
    EXPECT_FALSE(engine.OpenInputFile(fixtures::Path(fixtures::kClipAvi)));
    EXPECT_EQ(engine.LastErrMsg(), "max input files 1 reached");
    EXPECT_EQ(engine.nb_input_files(), 1);
}

TEST_F(InputSetupTest, CjkNamedFileOpens) {
    TTestEngine engine;
    Open(engine, fixtures::kCjkClip);
    EXPECT_EQ(engine.State().Fframe_width, 320);
}

TEST_F(InputSetupTest, ReleaseClosesTheInputs) {
    TTestEngine engine;
    Open(engine, fixtures::kClipAvi);
    Open(engine, fixtures::kAudioMp3);
    engine.ReleaseAll();
    EXPECT_EQ(engine.nb_input_files(), 0);
    EXPECT_EQ(engine.Finput_files[0], nullptr);
    EXPECT_EQ(engine.Finput_files[1], nullptr);
}

}  // namespace
}  // namespace media
