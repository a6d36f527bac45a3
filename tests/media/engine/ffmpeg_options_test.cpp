#include "media/engine/ffmpeg_options.h"

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/engine/engine_test_support.h"
#include "media/media_test_support.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/paths.h"

namespace media {
namespace {

using test::TTestEngine;

class OptionsTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequireLibraries();
        GetFFLogger().SetLogLevel(llDebug);
    }

    // Applies an option text the way the option records do.
    static void ApplyText(TCustomFFmpeg& engine, const std::string& text) {
        for (const TExtOption& option : SplitExtOptions(text))
            engine.ParseOption(option.Name, option.Value);
    }

    static int64_t AudioBitRate(TTestEngine& engine) {
        return engine.Options().avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate;
    }
};

// --- refusals ---

struct TRefusal {
    const char* Name;
    const char* Value;
    const char* Message;
    // Options given first, as "name=value" lines.
    const char* Before = "";
    int MaxFiles = 20;
    bool ConversionError = false;
};

std::ostream& operator<<(std::ostream& out, const TRefusal& refusal) {
    return out << refusal.Name << "=" << refusal.Value;
}

const std::string k63 = [] {
    std::string text = "1";
    for (int i = 1; i < 63; ++i) text += "," + std::to_string(i + 1);
    return text;
}();

const char* const kVertical =
    "Vertical crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";
const char* const kHorizontal =
    "Horizontal crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";

const TRefusal kRefusals[] = {
    {"threads", "2", "TODO: option - threads"},
    {"r", "fast", "Incorrect frame rate"},
    {"s", "huge", "Incorrect frame size"},
    {"aspect", "16:0", "Incorrect aspect ratio specification."},
    {"aspect", "wide", "Incorrect aspect ratio specification."},
    {"aspect", "0", "Incorrect aspect ratio specification."},
    {"pix_fmt", "yuv999p", "Unknown pixel format requested: yuv999p"},
    {"pix_fmt", "", "Unknown pixel format requested: "},
    {"croptop", "240", kVertical, "s=320x240"},
    {"cropbottom", "300", kVertical, "s=320x240"},
    {"croptop", "200", kVertical, "s=320x240\ncropbottom=40"},
    {"cropleft", "320", kHorizontal, "s=320x240"},
    {"cropright", "400", kHorizontal, "s=320x240"},
    {"padtop", "8", "Please use vfilters=pad"},
    {"padbottom", "8", "Please use vfilters=pad"},
    {"padleft", "8", "Please use vfilters=pad"},
    {"padright", "8", "Please use vfilters=pad"},
    {"padcolor", "000000", "Please use vfilters=pad"},
    {"qscale", "0", "qscale must be > 0.0 and <= 255"},
    {"qscale", "255.5", "qscale must be > 0.0 and <= 255"},
    {"metadata", "title", "Missing ="},
    {"itsscale", "20:1.5", "stream index over MAX_STREAMS(20)"},
    {"itsscale", "-1:1.5", "stream index over MAX_STREAMS(20)"},
    {"t", "soon", "Invalid duration specification for t: soon"},
    {"ss", "1:xx", "Invalid duration specification for ss: 1:xx"},
    {"itsoffset", "later", "Invalid duration specification for itsoffset: later"},
    {"timestamp", "yesterday", "Invalid date specification for timestamp: yesterday"},
    {"streamid", ":5",
     "Invalid value \":5\" for option \"streamid\", required syntax is "
     "\"index:value\""},
    {"streamid", "3:",
     "Invalid value \"3:\" for option \"streamid\", required syntax is "
     "\"index:value\""},
    {"streamid", "35",
     "Invalid value \"35\" for option \"streamid\", required syntax is "
     "\"index:value\""},
    {"pass", "3", "pass number can be only 1 or 2"},
    {"pass", "0", "pass number can be only 1 or 2"},
    {"intra_matrix", k63.c_str(), nullptr},  // message built in the test
    {"vhook", "/nonexistent/hook.so -x",
     "Failed to add video hook function: "
     "/nonexistent/hook.so -x"},
    {"absf", "nosuch_bsf", "Unknown bitstream filter nosuch_bsf"},
    {"vbsf", "nosuch_bsf=arg", "Unknown bitstream filter nosuch_bsf=arg"},
    {"sbsf", " nosuch ", "Unknown bitstream filter nosuch"},
    {"atag", "mp4", "audio tag parameter must be 4 chars"},
    {"vtag", "xvid1", "video tag parameter must be 4 chars"},
    {"stag", "t", "subtitle tag parameter must be 4 chars"},
    {"vframes", "many", "'many' is not a valid integer value", "", 20, true},
    {"fs", "big", "'big' is not a valid integer value", "", 20, true},
    {"muxdelay", "0,7", "'0,7' is not a valid floating point value", "", 20, true},
    // Capacities the tables have: refused rather than written past.
    {"streamid", "20:1", "stream index over MAX_STREAMS(20)"},
    {"map", "0.0", "Too many stream maps (at most 20)", "", 1},
    {"map_meta_data", "0:0", "Too many metadata maps (at most 1)", "", 1},
};

class OptionRefusalTest : public OptionsTest, public testing::WithParamInterface<TRefusal> {};

TEST_P(OptionRefusalTest, RaisesWithTheOptionsText) {
    const TRefusal& refusal = GetParam();
    TTestEngine engine(refusal.MaxFiles);
    ApplyText(engine, refusal.Before);
    // The table rows that need a full table fill it first.
    if (std::string(refusal.Name) == "map")
        for (int i = 0; i < 20; ++i) engine.ParseOption("map", "0.0");
    if (std::string(refusal.Name) == "map_meta_data") engine.ParseOption("map_meta_data", "0:0");

    std::string expected = refusal.Message != nullptr
                               ? refusal.Message
                               : "Syntax error in matrix \"" + k63 + "\" at coeff 62";
    try {
        engine.ParseOption(refusal.Name, refusal.Value);
        FAIL() << "no exception";
    } catch (const FFmpegException& e) {
        EXPECT_FALSE(refusal.ConversionError);
        EXPECT_EQ(e.Message(), expected);
    } catch (const rtl::EConvertError& e) {
        EXPECT_TRUE(refusal.ConversionError);
        EXPECT_EQ(e.Message(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryRefusal, OptionRefusalTest, testing::ValuesIn(kRefusals));

TEST_F(OptionsTest, InputTimeScaleNeedsAnInputSlotLeft) {
    TTestEngine engine(1);
    ASSERT_TRUE(engine.OpenInputFile(fixtures::Path(fixtures::kClipAvi))) << engine.LastErrMsg();
    EXPECT_THROW(
        {
            try {
                engine.ParseOption("itsscale", "0:2");
            } catch (const FFmpegException& e) {
                EXPECT_STREQ(e.what(), "Too many input files (at most 1)");
                throw;
            }
        },
        FFmpegException);
}

// --- option text ---

TEST(ExtOptionsText, SplitsAtLineEndsAndTheUpperCaseMarkerOnly) {
    struct TCase {
        const char* Text;
        std::vector<std::pair<std::string, std::string>> Options;
    };
    const TCase cases[] = {
        {"AB=64000<CRLF>Vn=1", {{"ab", "64000"}, {"vn", "1"}}},
        {"vn=1<crlf>an=1", {{"vn", "1<crlf>an=1"}}},
        {"metadata=title=My film", {{"metadata", "title=My film"}}},
        {"  \r\n a=1\r\nB=2\rc=3\nd\n", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", ""}}},
        {"a=1\n b=2 ", {{"a", "1"}, {" b", "2"}}},
        {"vn = 1", {{"vn ", " 1"}}},
        {"a=1\n\nb=ÄÖ", {{"a", "1"}, {"", ""}, {"b", "ÄÖ"}}},
        {"", {}},
    };
    for (const TCase& c : cases) {
        std::vector<std::pair<std::string, std::string>> got;
        for (const TExtOption& option : SplitExtOptions(c.Text))
            got.emplace_back(option.Name, option.Value);
        EXPECT_EQ(got, c.Options) << c.Text;
    }
}

TEST_F(OptionsTest, OptionTextSetsTheAudioRateAndDisablesVideo) {
    TTestEngine engine;
    ApplyText(engine, "AB=64000<CRLF>Vn=1");
    EXPECT_EQ(AudioBitRate(engine), 64000);
    EXPECT_TRUE(engine.State().Fvideo_disable);

    // Given directly, upper-case names match no option and no option context.
    TTestEngine direct;
    int64_t before = AudioBitRate(direct);
    direct.ParseOption("AB", "64000");
    direct.ParseOption("Vn", "1");
    EXPECT_EQ(AudioBitRate(direct), before);
    EXPECT_FALSE(direct.State().Fvideo_disable);
}

TEST_F(OptionsTest, MetadataLineKeepsEverythingAfterTheFirstEquals) {
    TTestEngine engine;
    ApplyText(engine, "metadata=title=My film");
    ASSERT_EQ(engine.Fmetadata.size(), 1u);
    EXPECT_EQ(engine.Fmetadata[0].Key, "title");
    EXPECT_EQ(engine.Fmetadata[0].Value, "My film");
}

TEST_F(OptionsTest, LowerCaseMarkerStaysInTheValue) {
    TTestEngine engine;
    ApplyText(engine, "vlang=eng<crlf>an=1");
    EXPECT_EQ(engine.State().Fvideo_language, "eng<crlf>an=1");
    EXPECT_FALSE(engine.State().Faudio_disable);
}

// --- flags and values ---

TEST_F(OptionsTest, FlagsAreFalseOnlyForZero) {
    struct TCase {
        const char* Value;
        bool Disabled;
    };
    for (TCase c : {TCase{"0", false}, TCase{"", true}, TCase{"x", true}, TCase{"1", true},
                    TCase{"00", true}}) {
        TTestEngine engine;
        engine.ParseOption("vn", c.Value);
        EXPECT_EQ(engine.State().Fvideo_disable, c.Disabled) << "'" << c.Value << "'";
    }
    TTestEngine engine;
    engine.ParseOption("copyts", "0");
    EXPECT_TRUE(engine.State().Fcopy_ts);
}

TEST_F(OptionsTest, CropsAreCheckedAgainstTheCurrentFrameSize) {
    test::TLogCapture log;
    TTestEngine engine;
    engine.ParseOption("s", "320x240");
    engine.ParseOption("croptop", "0");
    engine.ParseOption("croptop", "-4");
    EXPECT_TRUE(log.Messages().empty());
    EXPECT_EQ(engine.State().Fframe_height, 240);

    engine.ParseOption("croptop", "16");
    engine.ParseOption("cropleft", "8");
    engine.ParseOption("cropright", "8");
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(state.Fframe_topBand, 16);
    EXPECT_EQ(state.Fframe_height, 224);
    EXPECT_EQ(state.Fframe_width, 304);
    ASSERT_TRUE(log.WaitForLines(3));
    EXPECT_EQ(log.Messages()[0], "CropXXX is deprecated in favor of the crop avfilter");
    // The next crop meets the size the first ones left.
    EXPECT_THROW(engine.ParseOption("cropbottom", "224"), FFmpegException);
    engine.ParseOption("cropbottom", "223");
    EXPECT_EQ(engine.State().Fframe_height, 1);
}

TEST_F(OptionsTest, FormatListsLogOneLinePerFormatAndChangeNothing) {
    struct TCase {
        const char* Option;
        int Lines;
        const char* Header;
    };
    for (TCase c : {TCase{"pix_fmt", AV_PIX_FMT_NB + 1, "name nb_components nb_bits"},
                    TCase{"sample_fmt", AV_SAMPLE_FMT_NB + 1, "name   depth"}}) {
        test::TLogCapture log;
        TTestEngine engine;
        engine.ParseOption(c.Option, "list");
        ASSERT_TRUE(log.WaitForLines(size_t(c.Lines)));
        std::vector<test::TCapturedLine> lines = log.Lines();
        EXPECT_EQ(lines.size(), size_t(c.Lines)) << c.Option;
        EXPECT_EQ(lines.front().Msg, c.Header);
        EXPECT_EQ(lines.front().Level, llInfo);
        EXPECT_EQ(lines.front().Sender, &engine);
        EXPECT_EQ(engine.State().Fframe_pix_fmt, AV_PIX_FMT_NONE);
        EXPECT_EQ(engine.State().Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
    }
    TTestEngine engine;
    engine.ParseOption("pix_fmt", "yuv422p");
    engine.ParseOption("sample_fmt", "nosuch");
    EXPECT_EQ(engine.State().Fframe_pix_fmt, AV_PIX_FMT_YUV422P);
    EXPECT_EQ(engine.State().Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
}

TEST_F(OptionsTest, LowBitRateIsKeptWithAWarning) {
    struct TCase {
        const char* Name;
        const char* Value;
        bool Warns;
    };
    for (TCase c : {TCase{"b", "999", true}, TCase{"b", "1000", false}, TCase{"ab", "64", true},
                    TCase{"vb", "800000", false}}) {
        test::TLogCapture log;
        TTestEngine engine;
        engine.ParseOption(c.Name, c.Value);
        AVMediaType type = c.Name[0] == 'a' ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO;
        EXPECT_EQ(engine.Options().avcodec_opts[type]->bit_rate, std::stoll(c.Value)) << c.Name;
        bool warned = false;
        for (const std::string& line : log.Messages())
            warned = warned || line ==
                                   "WARNING: The bitrate parameter is set too low. It takes "
                                   "bits/s as argument, not kbits/s";
        EXPECT_EQ(warned, c.Warns) << c.Name << "=" << c.Value;
    }
}

TEST_F(OptionsTest, AspectTakesARatioOrANumber) {
    struct TCase {
        const char* Value;
        float Aspect;
    };
    for (TCase c : {TCase{"16:9", 16.0f / 9}, TCase{"1.7778", 1.7778f}, TCase{"4:x", 0.0f},
                    TCase{"-1.5", -1.5f}, TCase{"", 0.0f}}) {
        TTestEngine engine;
        if (std::string(c.Value) == "4:x") {
            EXPECT_THROW(engine.ParseOption("aspect", c.Value), FFmpegException);
            continue;
        }
        engine.ParseOption("aspect", c.Value);
        EXPECT_FLOAT_EQ(engine.State().Fframe_aspect_ratio, c.Aspect) << c.Value;
    }
}

TEST_F(OptionsTest, CodecNamesAndStreamCopy) {
    TTestEngine engine;
    engine.ParseOption("acodec", "copy");
    engine.ParseOption("acodec", "mp2");
    engine.ParseOption("vcodec", "");
    engine.ParseOption("scodec", "copy");
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(state.Faudio_stream_copy, 1);
    EXPECT_EQ(state.Faudio_codec_name, "mp2");
    EXPECT_FALSE(state.Fvideo_codec_name);
    EXPECT_EQ(state.Fvideo_stream_copy, 0);
    EXPECT_EQ(state.Fsubtitle_stream_copy, 1);
    EXPECT_FALSE(state.Fsubtitle_codec_name);
}

TEST_F(OptionsTest, StreamAndMetadataMapsReadLikeTheCLibrary) {
    struct TCase {
        const char* Value;
        TAVStreamMap Map;
    };
    const TCase cases[] = {
        {"0.1", {0, 1, 0, 1}},        {"1:2", {1, 2, 1, 2}}, {"0.1:1.0", {0, 1, 1, 0}},
        {"0x10.010", {16, 8, 16, 8}}, {"3", {3, 0, 3, 0}},   {"2.1,0", {2, 1, 0, 0}},
    };
    TTestEngine engine;
    for (const TCase& c : cases) engine.ParseOption("map", c.Value);
    ASSERT_EQ(engine.Fnb_stream_maps, int(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TAVStreamMap& got = engine.Fstream_maps[i];
        const TAVStreamMap& want = cases[i].Map;
        EXPECT_EQ(std::vector<int>({got.file_index, got.stream_index, got.sync_file_index,
                                    got.sync_stream_index}),
                  std::vector<int>({want.file_index, want.stream_index, want.sync_file_index,
                                    want.sync_stream_index}))
            << cases[i].Value;
    }
    engine.ParseOption("map_meta_data", "1:0");
    ASSERT_EQ(engine.Fnb_meta_data_maps, 1);
    EXPECT_EQ(engine.Fmeta_data_maps[0].out_file, 1);
    EXPECT_EQ(engine.Fmeta_data_maps[0].in_file, 0);
}

TEST_F(OptionsTest, PerStreamValuesGoToTheirSlots) {
    TTestEngine engine;
    engine.ParseOption("itsscale", "19:2.5");
    engine.ParseOption("streamid", "3:5");
    engine.ParseOption("streamid", "");
    EXPECT_DOUBLE_EQ(engine.Finput_files_ts_scale[0][19], 2.5);
    EXPECT_EQ(engine.State().Fstreamid_map[3], 5);
}

TEST_F(OptionsTest, BitstreamFiltersCollectInOrderPerStreamType) {
    TTestEngine engine;
    engine.ParseOption("vbsf", "h264_mp4toannexb");
    engine.ParseOption("vbsf", "dump_extra=freq=k");
    engine.ParseOption("absf", "aac_adtstoasc");
    engine.ParseOption("sbsf", "null");
    engine.ParseOption("vbsf", "=nothing");
    const TFFmpegOptionState& state = engine.State();
    ASSERT_EQ(state.Fvideo_bitstream_filters.size(), 2u);
    EXPECT_STREQ(state.Fvideo_bitstream_filters[0]->name, "h264_mp4toannexb");
    EXPECT_STREQ(state.Fvideo_bitstream_filters[1]->name, "dump_extra");
    ASSERT_EQ(state.Faudio_bitstream_filters.size(), 1u);
    EXPECT_STREQ(state.Faudio_bitstream_filters[0]->name, "aac_adtstoasc");
    ASSERT_EQ(state.Fsubtitle_bitstream_filters.size(), 1u);
}

TEST_F(OptionsTest, MatrixTakesSixtyFourCoefficients) {
    std::string text;
    for (int i = 0; i < 64; ++i) text += (i ? "," : "") + std::to_string(i + 8);
    TTestEngine engine;
    engine.ParseOption("intra_matrix", text + ",99");
    engine.ParseOption("inter_matrix", "16," + text);
    const TFFmpegOptionState& state = engine.State();
    ASSERT_TRUE(state.Fintra_matrix);
    EXPECT_EQ((*state.Fintra_matrix)[0], 8);
    EXPECT_EQ((*state.Fintra_matrix)[63], 71);
    ASSERT_TRUE(state.Finter_matrix);
    EXPECT_EQ((*state.Finter_matrix)[0], 16);
    EXPECT_EQ((*state.Finter_matrix)[63], 70);
}

TEST_F(OptionsTest, TimesAreMicroseconds) {
    TTestEngine engine;
    engine.ParseOption("t", "10");
    engine.ParseOption("ss", "00:00:01.5");
    engine.ParseOption("itsoffset", "-2");
    engine.ParseOption("timestamp", "1970-01-01T00:01:40.6Z");
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(state.Frecording_time, 10000000);
    EXPECT_EQ(engine.FTotalOutputDuration, 10000000);
    EXPECT_EQ(state.Fstart_time, 1500000);
    EXPECT_EQ(state.Finput_ts_offset, -2000000);
    EXPECT_EQ(state.Frecording_timestamp, 101);
}

TEST_F(OptionsTest, FileAndRunOptions) {
    test::TLogCapture log;
    TTestEngine engine;
    const char* text =
        "f=pgmyuv\nprogramid=3\nr=30000/1001\ns=vga\nar=22050\nac=1\nar=0\nvol=512\n"
        "passlogfile=job\npass=2\nvstats_file=stats.log\nfs=1000000\nmuxdelay=0.25\n"
        "vframes=100\naframes=7\ndframes=3\nvlang=eng\ntvstd=pal\nrc_override=\nqscale=2.5";
    ApplyText(engine, text);
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(state.Flast_asked_format, "image2");
    EXPECT_EQ(state.Fpgmyuv_compatibility_hack, 1);
    EXPECT_EQ(state.Fopt_programid, 3);
    EXPECT_EQ(state.Fframe_rate.num, 30000);
    EXPECT_EQ(state.Fframe_rate.den, 1001);
    EXPECT_EQ(state.Fframe_width, 640);
    EXPECT_EQ(state.Fframe_height, 480);
    EXPECT_EQ(state.Faudio_sample_rate, 22050);
    EXPECT_EQ(state.Faudio_channels, 1);
    EXPECT_EQ(state.Faudio_volume, 512);
    EXPECT_EQ(state.Fpass_logfilename_prefix, "job");
    EXPECT_EQ(state.Fdo_pass, 2);
    EXPECT_EQ(state.Fvstats_filename, "stats.log");
    EXPECT_EQ(state.Flimit_filesize, 1000000);
    EXPECT_FLOAT_EQ(state.Fmux_max_delay, 0.25f);
    EXPECT_EQ(state.Fmax_frames, (std::array<int, 4>{100, 7, 3, 2147483647}));
    EXPECT_EQ(state.Fvideo_language, "eng");
    EXPECT_EQ(state.Fvideo_standard, "pal");
    // An empty override text is still given: the stream set-up refuses it later.
    EXPECT_EQ(state.Fvideo_rc_override_string, "");
    EXPECT_FLOAT_EQ(state.Fvideo_qscale, 2.5f);
    ASSERT_TRUE(log.WaitForLines(1));
    EXPECT_EQ(log.Messages()[0], "pgmyuv format is deprecated, use image2");
}

TEST_F(OptionsTest, CommandLineOnlyOptionsOnlyLog) {
    test::TLogCapture log;
    TTestEngine engine;
    engine.ParseOption("h", "");
    engine.ParseOption("benchmark", "1");
    engine.ParseOption("timelimit", "10");
    ASSERT_TRUE(log.WaitForLines(3));
    std::vector<test::TCapturedLine> lines = log.Lines();
    EXPECT_EQ(lines[0].Msg, "Do nothing: option - h");
    EXPECT_EQ(lines[0].Level, llInfo);
    EXPECT_EQ(lines[1].Msg, "Do nothing: option - benchmark");
    EXPECT_EQ(lines[2].Msg, "Warning: -timelimit not implemented");
    EXPECT_EQ(lines[2].Level, llWarning);
}

TEST_F(OptionsTest, OptionsOfTheOldLibrariesAreStoredAndLoggedOnce) {
    test::TLogCapture log;
    TTestEngine engine;
    engine.ParseOption("me_threshold", "4");
    engine.ParseOption("me_threshold", "8");
    engine.ParseOption("sameq", "1");
    engine.ParseOption("sameq", "1");
    EXPECT_EQ(engine.State().Fme_threshold, 8);
    EXPECT_TRUE(engine.State().Fsame_quality);
    ASSERT_TRUE(log.WaitForLines(2));
    sys::CheckSynchronize(0);
    EXPECT_EQ(log.Lines().size(), 2u);
}

TEST_F(OptionsTest, UnknownNamesChangeNothing) {
    TTestEngine engine;
    engine.ParseOption("no_such_option", "7");
    engine.ParseOption("B", "64000");
    EXPECT_TRUE(engine.Options().opt_names.empty());
    // Names of the option contexts pass through, private ones wait for the codec.
    engine.ParseOption("strict", "experimental");
    engine.ParseOption("crf", "23");
    EXPECT_EQ(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->strict_std_compliance,
              FF_COMPLIANCE_EXPERIMENTAL);
    EXPECT_NE(lib::av_dict_get(engine.Options().codec_private_opts[AVMEDIA_TYPE_VIDEO], "crf",
                               nullptr, 0),
              nullptr);
}

TEST_F(OptionsTest, TagsAreFourBytesLowFirst) {
    TTestEngine engine;
    engine.ParseOption("vtag", "XVID");
    engine.ParseOption("atag", "");
    EXPECT_EQ(engine.State().Fvideo_codec_tag, 0x44495658u);
    EXPECT_EQ(engine.State().Faudio_codec_tag, 0u);
}

TEST_F(OptionsTest, VstatsNamesAFileInTheProgramFolder) {
    TTestEngine engine;
    engine.ParseOption("vstats", "");
    ASSERT_TRUE(engine.State().Fvstats_filename);
    std::string name = *engine.State().Fvstats_filename;
    std::string folder = sys::GetAppPath();
    ASSERT_EQ(name.compare(0, folder.size(), folder), 0) << name;
    EXPECT_TRUE(std::regex_match(name.substr(folder.size()),
                                 std::regex("vstats_([01][0-9]|2[0-3])[0-5][0-9][0-5][0-9]\\.log")))
        << name;
}

TEST_F(OptionsTest, TypedSettersIgnoreTheirNoValues) {
    TTestEngine engine;
    engine.SetStartTime(AV_NOPTS_VALUE);
    engine.SetRecordingTime(AV_NOPTS_VALUE);
    engine.SetProgramId(-1);
    engine.SetAudioVolume(-1);
    engine.SetMuxPreload(0);
    engine.SetMuxMaxDelay(-1);
    engine.SetAudioSampleRate(0);
    engine.SetAudioChannels(-2);
    const TFFmpegOptionState fresh;
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(state.Fstart_time, fresh.Fstart_time);
    EXPECT_EQ(state.Frecording_time, fresh.Frecording_time);
    EXPECT_EQ(engine.FTotalOutputDuration, -1);
    EXPECT_EQ(state.Fopt_programid, 0);
    EXPECT_EQ(state.Faudio_volume, 256);
    EXPECT_FLOAT_EQ(state.Fmux_preload, 0.5f);
    EXPECT_FLOAT_EQ(state.Fmux_max_delay, 0.7f);
    EXPECT_EQ(state.Faudio_sample_rate, 44100);
    EXPECT_EQ(state.Faudio_channels, 2);

    engine.SetStartTime(5);
    engine.SetRecordingTime(7);
    engine.SetAudioSyncMethod(-3);
    engine.AddMetadata("artist", "Moradex");
    EXPECT_EQ(state.Fstart_time, 5);
    EXPECT_EQ(engine.FTotalOutputDuration, 7);
    EXPECT_EQ(state.Faudio_sync_method, -3);
    EXPECT_EQ(engine.Fmetadata.back().Value, "Moradex");
    EXPECT_TRUE(engine.SetCodecOptionInt("g", 12));
    EXPECT_FALSE(engine.SetCodecOptionInt("no_such_option", 1));
    EXPECT_EQ(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->gop_size, 12);
}

TEST_F(OptionsTest, ResetRestoresTheDefaults) {
    TTestEngine engine;
    ApplyText(engine,
              "ar=8000\nac=6\nvol=10\nv=3\ndc=10\nmuxpreload=2\nmuxdelay=3\n"
              "adrift_threshold=1\ndts_delta_threshold=1\nt=5\nss=1\nloop_output=2\ntop=1\n"
              "vsync=2\nasync=1\npix_fmt=rgb24\nsample_fmt=s16\naq=3\nvframes=1\nvn=1\n"
              "acodec=copy\nvcodec=mpeg4\nsws_flags=2\nvlang=eng\nstreamid=1:2");
    engine.FullReset();
    const TFFmpegOptionState& state = engine.State();
    EXPECT_EQ(state.Faudio_sample_rate, 44100);
    EXPECT_EQ(state.Faudio_channels, 2);
    EXPECT_EQ(state.Faudio_volume, 256);
    EXPECT_EQ(state.Fverbose, 1);
    EXPECT_EQ(state.Fthread_count, 1);
    EXPECT_EQ(state.Fintra_dc_precision, 8);
    EXPECT_FLOAT_EQ(state.Fmux_preload, 0.5f);
    EXPECT_FLOAT_EQ(state.Fmux_max_delay, 0.7f);
    EXPECT_FLOAT_EQ(state.Faudio_drift_threshold, 0.1f);
    EXPECT_FLOAT_EQ(state.Fdts_delta_threshold, 10.0f);
    EXPECT_EQ(state.Frecording_time, INT64_MAX);
    EXPECT_EQ(engine.FTotalOutputDuration, -1);
    EXPECT_EQ(state.Fstart_time, 0);
    EXPECT_EQ(state.Floop_output, -1);
    EXPECT_EQ(state.Ftop_field_first, -1);
    EXPECT_EQ(state.Fvideo_sync_method, -1);
    EXPECT_EQ(state.Faudio_sync_method, 0);
    EXPECT_EQ(state.Fframe_pix_fmt, AV_PIX_FMT_NONE);
    EXPECT_EQ(state.Faudio_sample_fmt, AV_SAMPLE_FMT_NONE);
    EXPECT_FLOAT_EQ(state.Faudio_qscale, -99999.0f);
    EXPECT_EQ(state.Fmax_frames, (std::array<int, 4>{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}));
    EXPECT_FALSE(state.Fvideo_disable);
    EXPECT_EQ(state.Faudio_stream_copy, 0);
    EXPECT_FALSE(state.Fvideo_codec_name);
    EXPECT_TRUE(state.Fvideo_language.empty());
    EXPECT_EQ(state.Fstreamid_map[1], 0);
    // The option contexts are new, with the default scaler flags.
    int64_t swsFlags = 0;
    lib::av_opt_get_int(engine.Options().sws_opts, "sws_flags", 0, &swsFlags);
    EXPECT_EQ(swsFlags, SWS_BICUBIC);
    EXPECT_TRUE(engine.Options().opt_names.empty());
}

// --- post hooks ---

class TCountingPreviewer : public TPreviewer {
public:
    explicit TCountingPreviewer(int& destroyed) : FDestroyed(destroyed) {}
    ~TCountingPreviewer() override { ++FDestroyed; }
    bool PaintFrame(const gfx::TBitmap&, int, int64_t) override { return true; }

private:
    int& FDestroyed;
};

TEST_F(OptionsTest, DroppingThePreviewHookClosesThePreviewWindow) {
    int destroyed = 0;
    TTestEngine engine;
    engine.SetPostHooks({phPreview, phBitmap});
    engine.FPostContext.Previewer = std::make_unique<TCountingPreviewer>(destroyed);
    engine.SetPostHooks({phPreview, phBitmap});
    engine.SetPostHooks({phPreview});
    EXPECT_EQ(destroyed, 0);
    engine.SetPostHooks({phBitmap});
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(engine.FPostContext.Previewer, nullptr);
    EXPECT_EQ(engine.FPostHooks, TPostHooks({phBitmap}));
}

}  // namespace
}  // namespace media
