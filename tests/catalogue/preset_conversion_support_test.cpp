// The output record a queued file gets from the working settings.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "preset_conversion_support.h"

namespace catalogue::test {
namespace {

struct TRecordCase {
    const char* Label;
    std::function<void(TWorkingSettings&)> Change;
    std::function<void(media::TOutputOptions&)> Expect;  // on top of the defaults
};

// Settings as the reset leaves them.
TWorkingSettings ResetSettings() {
    TWorkingSettings settings;
    settings.Video_AddFileName = "/v/clip.avi";
    ResetWorkingSettings(settings);
    return settings;
}

void PrintTo(const TRecordCase& c, std::ostream* os) {
    *os << c.Label;
}

class OutputRecordTest : public testing::TestWithParam<TRecordCase> {};

TEST_P(OutputRecordTest, TakesOverWhatTheSettingsSet) {
    const TRecordCase& c = GetParam();
    TWorkingSettings settings = ResetSettings();
    c.Change(settings);
    media::TOutputOptions expected;
    // The reset's volume, video on and unset-looking bit rates of -1 come through as they are.
    expected.AudioVolume = 256;
    c.Expect(expected);
    media::TOutputOptions record = OutputOptionsFromSettings(settings);

    EXPECT_EQ(record.VideoCodec, expected.VideoCodec);
    EXPECT_EQ(record.VideoPreset, expected.VideoPreset);
    EXPECT_EQ(record.AudioCodec, expected.AudioCodec);
    EXPECT_EQ(record.FrameRate, expected.FrameRate);
    EXPECT_EQ(record.DisableVideo, expected.DisableVideo);
    EXPECT_EQ(record.AudioChannels, expected.AudioChannels);
    EXPECT_EQ(record.AudioSampleRate, expected.AudioSampleRate);
    EXPECT_EQ(record.FrameSize, expected.FrameSize);
    EXPECT_EQ(record.TargetType, expected.TargetType);
    EXPECT_EQ(record.NormType, expected.NormType);
    EXPECT_EQ(record.AudioVolume, expected.AudioVolume);
    EXPECT_EQ(record.FrameAspectRatio, expected.FrameAspectRatio);
    EXPECT_EQ(record.AudioBitrate, expected.AudioBitrate);
    EXPECT_EQ(record.FileFormat, expected.FileFormat);
    EXPECT_EQ(record.VideoFilters, expected.VideoFilters);
    EXPECT_EQ(record.VideoTag, expected.VideoTag);
    EXPECT_EQ(record.VideoBitrate, expected.VideoBitrate);
    // Never taken over: the whole input converts, and the extension is the caller's.
    EXPECT_EQ(record.TimeStart, media::kNoTimestamp);
    EXPECT_EQ(record.TimeLength, media::kNoTimestamp);
    EXPECT_EQ(record.FileExt, "");
    EXPECT_FALSE(record.CopyTimestamp);
}

using S = TWorkingSettings;
using O = media::TOutputOptions;

const TRecordCase kRecordCases[] = {
    {"Reset", [](S&) {}, [](O&) {}},
    {"H264GetsItsPreset", [](S& s) { s.Video_VideoCodec = "libx264"; },
     [](O& o) {
         o.VideoCodec = "libx264";
         o.VideoPreset = "libx264-default";
     }},
    {"OtherCodecNoPreset", [](S& s) { s.Video_VideoCodec = "mpeg4"; },
     [](O& o) { o.VideoCodec = "mpeg4"; }},
    {"CodecCaseMatters", [](S& s) { s.Video_VideoCodec = "LIBX264"; },
     [](O& o) { o.VideoCodec = "LIBX264"; }},
    {"AudioCodec", [](S& s) { s.Video_AudioCodec = "libmp3lame"; },
     [](O& o) { o.AudioCodec = "libmp3lame"; }},
    {"AudioCodecAuto", [](S& s) { s.Video_AudioCodec = "AUTO"; }, [](O&) {}},
    {"Numbers",
     [](S& s) {
         s.Video_AudioChannels = "1";
         s.Video_AudioSampleRate = "22050";
         s.Video_AudioVolume = "512";
         s.Video_AudioBitrate = 64000;
         s.Video_VideoBitrate = 816000;
     },
     [](O& o) {
         o.AudioChannels = 1;
         o.AudioSampleRate = 22050;
         o.AudioVolume = 512;
         o.AudioBitrate = 64000;
         o.VideoBitrate = 816000;
     }},
    {"SampleRateAuto", [](S& s) { s.Video_AudioSampleRate = "AUTO"; }, [](O&) {}},
    {"UnsetBitrates",
     [](S& s) {
         s.Video_AudioBitrate = BitrateUnset;
         s.Video_VideoBitrate = BitrateUnset;
     },
     [](O&) {}},
    {"AudioBitrateAuto", [](S& s) { s.Video_AudioBitrate = -2000; }, [](O&) {}},
    {"Texts",
     [](S& s) {
         s.Video_FrameRate = "29.97";
         s.Video_FrameSize = "1280*720";
         s.Video_FrameAspectRatio = "16:9";
         s.Video_FileFormat = "avi";
         s.Video_VideoFilters = "hflip";
         s.Video_VideoTag = "XVID";
         s.Video_FileExt = ".avi";
         s.Video_CopyTimestamp = "True";
     },
     [](O& o) {
         o.FrameRate = "29.97";
         o.FrameSize = "1280*720";
         o.FrameAspectRatio = "16:9";
         o.FileFormat = "avi";
         o.VideoFilters = "hflip";
         o.VideoTag = "XVID";
     }},
    {"VideoOff", [](S& s) { s.Video_DisableVideo = true; }, [](O& o) { o.DisableVideo = true; }},
    {"VcdPal",
     [](S& s) {
         s.Video_TargetType = "vcd";
         s.Video_NormType = "PAL";
     },
     [](O& o) {
         o.TargetType = media::ttVCD;
         o.NormType = media::ntPAL;
     }},
    {"SvcdNtsc",
     [](S& s) {
         s.Video_TargetType = "svcd";
         s.Video_NormType = "NTSC";
     },
     [](O& o) {
         o.TargetType = media::ttSVCD;
         o.NormType = media::ntNTSC;
     }},
    {"Dvd", [](S& s) { s.Video_TargetType = "dvd"; }, [](O& o) { o.TargetType = media::ttDVD; }},
    {"UnknownTargetAndNorm",
     [](S& s) {
         s.Video_TargetType = "DVD";
         s.Video_NormType = "pal";
     },
     [](O& o) { o.TargetType = media::ttIgnore; }},
};

INSTANTIATE_TEST_SUITE_P(Settings, OutputRecordTest, testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(ListEntryTakeOver, ParsesEachKindOfShownText) {
    struct TCase {
        TPresetParam Param;
        std::string Text;
        std::string S::*Field;  // the text field written, or nullptr for the bit rates
        std::string Written;
        int Bitrate;
    };
    const TCase cases[] = {
        {ppFrameSize, SKeepResolution, &S::Video_FrameSize, "", 0},
        {ppFrameSize, SNoVideoInFormat, &S::Video_FrameSize, "", 0},
        {ppFrameSize, "176*144", &S::Video_FrameSize, "176*144", 0},
        {ppFrameRate, SKeepFrameRate, &S::Video_FrameRate, "", 0},
        {ppFrameRate, SNoVideo, &S::Video_FrameRate, "", 0},
        {ppFrameRate, "29.97", &S::Video_FrameRate, "29.97", 0},
        {ppAudioSampleRate, "8000", &S::Video_AudioSampleRate, "8000", 0},
        {ppFrameAspectRatio, SKeepVideoMode, &S::Video_FrameAspectRatio, "", 0},
        {ppFrameAspectRatio, SNoVideo, &S::Video_FrameAspectRatio, "", 0},
        {ppFrameAspectRatio, SAspect4x3, &S::Video_FrameAspectRatio, "4:3", 0},
        {ppFrameAspectRatio, SAspect16x9, &S::Video_FrameAspectRatio, "16:9", 0},
        {ppFrameAspectRatio, SAspect37x20, &S::Video_FrameAspectRatio, "37:20", 0},
        {ppFrameAspectRatio, SAspect47x20, &S::Video_FrameAspectRatio, "47:20", 0},
        {ppFrameAspectRatio, "other", &S::Video_FrameAspectRatio, "1:1", 0},  // kept
        {ppVideoBitrate, SNoVideo, nullptr, "", BitrateUnset},
        {ppVideoBitrate, "1200 kbps", nullptr, "", 1200000},
        {ppAudioBitrate, "128 kbps", nullptr, "", 128000},
        {ppAudioBitrate, "12.2 kbps", nullptr, "", 12200},
        {ppAudioBitrate, "4.75 kbps", nullptr, "", 4750},
        {ppAudioBitrate, "5.15 kbps", nullptr, "", 5150},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TWorkingSettings settings = ResetSettings();
        settings.Video_FrameAspectRatio = "1:1";
        TakeOverListEntry(c.Param, c.Text, settings);
        if (c.Field != nullptr) {
            EXPECT_EQ(settings.*c.Field, c.Written);
        } else {
            const int written = c.Param == ppVideoBitrate ? settings.Video_VideoBitrate
                                                          : settings.Video_AudioBitrate;
            EXPECT_EQ(written, c.Bitrate);
        }
    }
}

}  // namespace
}  // namespace catalogue::test
