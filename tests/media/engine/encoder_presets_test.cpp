#include "media/engine/encoder_presets.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "media/engine/run_test_support.h"
#include "media/media_test_support.h"

namespace media {
namespace {

using test::TRunEngine;

std::string RaisedBy(const std::function<void()>& call) {
    try {
        call();
    } catch (const FFmpegException& e) {
        return e.what();
    }
    return "";
}

class PresetTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    static std::string VideoPrivate(TRunEngine& engine, const char* key) {
        return test::MetadataOf(engine.Options().codec_private_opts[AVMEDIA_TYPE_VIDEO], key);
    }

    test::TTempDir FDir;
};

TEST_F(PresetTest, TableHoldsThirtySixNamedPresets) {
    std::set<std::string> names;
    for (const TOptionsPreset& preset : BuiltinPresets()) {
        names.insert(preset.Name);
        std::string value = preset.Value;
        ASSERT_FALSE(value.empty());
        EXPECT_EQ(value.back(), '\n') << preset.Name;
    }
    EXPECT_EQ(names.size(), 36u);
    EXPECT_EQ(FindBuiltinPreset("LIBX264-Default"), FindBuiltinPreset("libx264-default"));
    EXPECT_EQ(FindBuiltinPreset("libx264-nosuch"), "");
    EXPECT_EQ(FindBuiltinPreset("libx264-main"), "8x8dct=0\n");
}

TEST_F(PresetTest, BuiltInPresetByNameOrWithTheCodecName) {
    TRunEngine engine;
    engine.ApplyPreset("vpre", "LIBX264-ULTRAFAST");
    EXPECT_EQ(VideoPrivate(engine, "partitions"), "none");
    EXPECT_EQ(VideoPrivate(engine, "mbtree"), "0");
    EXPECT_EQ(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->max_b_frames, 0);

    TRunEngine withCodec;
    withCodec.Apply({{"vcodec", "libx264"}, {"vpre", "default"}});
    EXPECT_EQ(VideoPrivate(withCodec, "me_method"), "hex");
    EXPECT_EQ(VideoPrivate(withCodec, "direct-pred"), "1");
    EXPECT_EQ(withCodec.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->refs, 3);

    TRunEngine withoutCodec;
    EXPECT_EQ(RaisedBy([&] { withoutCodec.ParseOption("vpre", "default"); }),
              "Preset \"default\" not found");
    // A file preset never looks at the table.
    EXPECT_EQ(RaisedBy([&] { withoutCodec.ParseOption("fpre", "libx264-default"); }),
              "Preset \"libx264-default\" not found");
    // Nothing to do for an empty name.
    EXPECT_EQ(RaisedBy([&] { withoutCodec.ApplyPreset("vpre", ""); }), "");
}

TEST_F(PresetTest, PresetFiles) {
    struct TCase {
        std::string Text;
        std::string Message;  // '' when it applies
    };
    const TCase cases[] = {
        {"", ""},
        {"\r\n  \r\n", ""},
        {"g=30\r\nvcodec=libx264\rqmin=5\n", ""},
        {"g=30\n#comment\n", "%s: Invalid syntax: \"#comment\""},
        {"g=\n", "%s: Invalid syntax: \"g=\""},
        {"=5\n", "%s: Invalid syntax: \"=5\""},
        {"nosuchoption=1\n",
         "%s: Invalid option or argument: \"nosuchoption=1\", parsed as \"nosuchoption\" = \"1\""},
        {"g=notanumber\n",
         "%s: Invalid option or argument: \"g=notanumber\", parsed as \"g\" = \"notanumber\""},
    };
    for (const TCase& c : cases) {
        std::string file = FDir.Touch("preset.txt", c.Text);
        TRunEngine engine;
        std::string message = RaisedBy([&] { engine.ParseOption("fpre", file); });
        std::string expected = c.Message;
        if (size_t at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, file);
        EXPECT_EQ(message, expected) << c.Text;
        if (c.Text.starts_with("g=30\r\n")) {
            EXPECT_EQ(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->gop_size, 30);
            EXPECT_EQ(engine.State().Fvideo_codec_name, std::optional<std::string>("libx264"));
            EXPECT_EQ(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->qmin, 5);
        }
        // Lines before a bad one stay applied.
        if (c.Text.starts_with("g=30\n")) {
            EXPECT_EQ(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO]->gop_size, 30);
        }
    }
}

// Every built-in preset opens the H.264 encoder and takes one picture.
TEST_F(PresetTest, EveryBuiltInPresetOpensTheEncoder) {
    for (const TOptionsPreset& preset : BuiltinPresets()) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.Apply({{"vcodec", "libx264"}, {"vpre", preset.Name}, {"an", "1"}, {"vframes", "1"}});
        test::TLogCapture log;
        engine.Output(FDir.File("preset.mkv"));
        EXPECT_EQ(engine.Run(), "") << preset.Name;
        for (const std::string& line : log.Messages())
            EXPECT_EQ(line.find("not used"), std::string::npos) << preset.Name << ": " << line;
    }
}

class TargetTest : public PresetTest {
protected:
    static int VideoOption(TRunEngine& engine, const char* name) {
        int64_t value = 0;
        lib::av_opt_get_int(engine.Options().avcodec_opts[AVMEDIA_TYPE_VIDEO], name, 0, &value);
        return int(value);
    }
};

TEST_F(TargetTest, SettingsByTargetAndNorm) {
    struct TCase {
        const char* Target;
        const char* Format;
        const char* VideoCodec;  // nullptr: unchanged
        const char* AudioCodec;
        int Width;
        int Height;
        AVRational Rate;
        int Gop;  // 0: unchanged
        AVPixelFormat PixelFormat;
        int SampleRate;
        const char* Assumed;  // the norm line, nullptr for none
    };
    const TCase cases[] = {
        {"pal-dvd",
         "dvd",
         "mpeg2video",
         "ac3",
         720,
         576,
         {25, 1},
         15,
         AV_PIX_FMT_YUV420P,
         48000,
         nullptr},
        {"film-vcd",
         "vcd",
         "mpeg1video",
         "mp2",
         352,
         240,
         {24000, 1001},
         18,
         AV_PIX_FMT_YUV420P,
         44100,
         nullptr},
        {"ntsc-svcd",
         "svcd",
         "mpeg2video",
         "mp2",
         480,
         480,
         {30000, 1001},
         18,
         AV_PIX_FMT_YUV420P,
         44100,
         nullptr},
        {"ntsc-dv",
         "dv",
         nullptr,
         nullptr,
         720,
         480,
         {30000, 1001},
         0,
         AV_PIX_FMT_YUV411P,
         48000,
         nullptr},
        // The input runs at 25 per second: PAL.
        {"dv50",
         "dv",
         nullptr,
         nullptr,
         720,
         576,
         {25, 1},
         0,
         AV_PIX_FMT_YUV422P,
         48000,
         "Assuming PAL for target."},
        {" dvd ",
         "dvd",
         "mpeg2video",
         "ac3",
         720,
         576,
         {25, 1},
         15,
         AV_PIX_FMT_YUV420P,
         48000,
         "Assuming PAL for target."},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        test::TLogCapture log;
        engine.ParseOption("target", c.Target);
        const TFFmpegOptionState& state = engine.State();
        EXPECT_EQ(state.Flast_asked_format, c.Format) << c.Target;
        if (c.VideoCodec != nullptr) {
            EXPECT_EQ(state.Fvideo_codec_name, std::optional<std::string>(c.VideoCodec));
            EXPECT_EQ(state.Faudio_codec_name, std::optional<std::string>(c.AudioCodec));
        } else {
            EXPECT_FALSE(state.Fvideo_codec_name.has_value());
        }
        EXPECT_EQ(state.Fframe_width, c.Width) << c.Target;
        EXPECT_EQ(state.Fframe_height, c.Height) << c.Target;
        EXPECT_EQ(state.Fframe_rate.num, c.Rate.num) << c.Target;
        EXPECT_EQ(state.Fframe_rate.den, c.Rate.den) << c.Target;
        if (c.Gop != 0) {
            EXPECT_EQ(VideoOption(engine, "g"), c.Gop) << c.Target;
        }
        EXPECT_EQ(state.Fframe_pix_fmt, c.PixelFormat) << c.Target;
        EXPECT_EQ(state.Faudio_sample_rate, c.SampleRate) << c.Target;
        EXPECT_EQ(state.Faudio_channels, 2);
        std::vector<std::string> lines = log.Messages();
        bool assumed =
            std::find(lines.begin(), lines.end(),
                      c.Assumed != nullptr ? c.Assumed : "Assuming PAL for target.") != lines.end();
        EXPECT_EQ(assumed, c.Assumed != nullptr) << c.Target;
    }
}

TEST_F(TargetTest, CodecAndMuxerOptionsOfTheDiscTargets) {
    TRunEngine vcd;
    vcd.Open(fixtures::Path(fixtures::kClipAvi));
    vcd.ParseOption("target", "pal-vcd");
    EXPECT_EQ(VideoOption(vcd, "b"), 1150000);
    EXPECT_EQ(VideoOption(vcd, "maxrate"), 1150000);
    EXPECT_EQ(VideoOption(vcd, "minrate"), 1150000);
    EXPECT_EQ(VideoOption(vcd, "bufsize"), 327680);
    EXPECT_EQ(vcd.Options().avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, 224000);
    EXPECT_EQ(vcd.Options().avformat_opts->packet_size, 2324u);
    EXPECT_EQ(test::MetadataOf(vcd.Options().format_private_opts, "muxrate"), "1411200");
    EXPECT_FLOAT_EQ(vcd.State().Fmux_preload, 0.44f);

    TRunEngine svcd;
    svcd.ParseOption("r", "25");
    svcd.ParseOption("target", "svcd");
    EXPECT_EQ(VideoOption(svcd, "maxrate"), 2516000);
    EXPECT_EQ(
        test::MetadataOf(svcd.Options().codec_private_opts[AVMEDIA_TYPE_VIDEO], "scan_offset"),
        "1");
    // Without an aspect, the disc's usual one.
    EXPECT_NEAR(svcd.State().Fframe_aspect_ratio, 4.0 / 3, 1e-5);

    TRunEngine dvd;
    dvd.ParseOption("r", "30000/1001");
    dvd.ParseOption("target", "dvd");
    EXPECT_EQ(dvd.State().Fframe_height, 480);
    EXPECT_NEAR(dvd.State().Fframe_aspect_ratio, 16.0 / 9, 1e-5);
}

TEST_F(TargetTest, ChannelsAndRefusals) {
    TRunEngine six;
    six.Apply({{"r", "25"}, {"ac", "6"}, {"target", "vcd"}});
    EXPECT_EQ(six.State().Faudio_channels, 2);
    TRunEngine keep;
    keep.Apply({{"r", "25"}, {"ac", "6"}, {"target", "svcd"}});
    EXPECT_EQ(keep.State().Faudio_channels, 6);
    TRunEngine mono;
    mono.Apply({{"r", "25"}, {"ac", "1"}, {"target", "dvd"}});
    EXPECT_EQ(mono.State().Faudio_channels, 2);

    TRunEngine fresh;
    EXPECT_EQ(RaisedBy([&] { fresh.ParseOption("target", "dvd"); }), "frame_rate is invalid.");
    EXPECT_EQ(RaisedBy([&] { fresh.ApplyTarget("dvd", "auto", "pal"); }), "frame_rate is invalid.");
    EXPECT_EQ(RaisedBy([&] { fresh.ParseOption("target", "pal-bluray"); }), "Unknown target type");
    // A named norm needs no frame rate.
    EXPECT_EQ(RaisedBy([&] { fresh.ApplyTarget("vcd", "ntsc", "pal"); }), "");
    EXPECT_EQ(fresh.State().Fframe_height, 240);
    // Nothing to guess from: the default norm decides.
    TRunEngine guessed;
    guessed.ParseOption("r", "15");
    guessed.ApplyTarget("dvd", "auto", "ntsc");
    EXPECT_EQ(guessed.State().Fframe_height, 480);
    EXPECT_EQ(guessed.State().Fframe_rate.num, 30000);
}

}  // namespace
}  // namespace media
