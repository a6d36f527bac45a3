#include "catalogue/preset_defaults.h"

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "catalogue/presets.h"

namespace {

using namespace catalogue;

std::set<int> Range(int first, int last) {
    std::set<int> keys;
    for (int k = first; k <= last; ++k) keys.insert(k);
    return keys;
}

std::set<int> Union(std::initializer_list<std::set<int>> parts) {
    std::set<int> keys;
    for (const auto& part : parts) keys.insert(part.begin(), part.end());
    return keys;
}

std::set<int> KeysOf(TPresetTemplate t) {
    std::set<int> keys;
    for (const TPresetDefaults& row : PresetDefaultsTable())
        if (row.Template == t) keys.insert(row.PresetKey);
    return keys;
}

TEST(PresetDefaults, OneRowPerPresetAndTheTemplatesPartitionThem) {
    std::map<int, int> rowsPerKey;
    for (const TPresetDefaults& row : PresetDefaultsTable()) ++rowsPerKey[row.PresetKey];
    ASSERT_EQ(rowsPerKey.size(), static_cast<std::size_t>(kPresetCount));
    for (const TOutputPreset& preset : OutputPresets()) {
        EXPECT_EQ(rowsPerKey[preset.PresetKey], 1) << preset.PresetKey;
        ASSERT_NE(FindPresetDefaults(preset.PresetKey), nullptr);
        EXPECT_EQ(FindPresetDefaults(preset.PresetKey)->PresetKey, preset.PresetKey);
    }
    EXPECT_EQ(FindPresetDefaults(115), nullptr);
    EXPECT_EQ(FindPresetDefaults(-1), nullptr);

    const std::set<int> audio = Union({Range(200, 212),
                                       {708, 1202, 1203, 1505, 1506},
                                       Range(2900, 2903),
                                       Range(3000, 3003),
                                       Range(3100, 3103),
                                       {3215, 3312}});
    const std::set<int> disc = Union({Range(111, 113), Range(1408, 1410), Range(2210, 2212),
                                      Range(2310, 2312), Range(2412, 2414), Range(2500, 2506)});
    EXPECT_EQ(KeysOf(TPresetTemplate::Audio), audio);
    EXPECT_EQ(KeysOf(TPresetTemplate::Disc), disc);
    EXPECT_EQ(KeysOf(TPresetTemplate::RealVideo), std::set<int>{114});
    EXPECT_EQ(KeysOf(TPresetTemplate::Video).size(), 265u);
}

TEST(PresetDefaults, ValuesStayInsideTheirDomains) {
    const std::set<std::string> videoCodecs = {"",           "mpeg4",      "libx264", "libxvid",
                                               "mpeg1video", "mpeg2video", "msmpeg4", "msmpeg4v1",
                                               "msmpeg4v2",  "wmv2",       "h263"};
    const std::set<std::string> audioCodecs = {
        "", "libmp3lame", "libfaac", "wmav2", "libvorbis", "ac3", "flac", "libopencore_amrnb"};
    const std::set<std::string> rates = {"", "25", "29.97", "30", "12", "15"};
    const std::set<std::string> sampleRates = {"8000",  "16000", "22050", "24000",
                                               "32000", "44100", "48000"};
    const std::regex frameSize("[1-9][0-9]*\\*[1-9][0-9]*");
    int highestVideoRate = 0;
    for (const TPresetDefaults& row : PresetDefaultsTable()) {
        SCOPED_TRACE(row.PresetKey);
        const std::string ext = row.OutputExt;
        EXPECT_EQ(ext.front(), '.');
        switch (row.Template) {
            case TPresetTemplate::Video:
                EXPECT_TRUE(videoCodecs.count(row.VideoCodec));
                EXPECT_TRUE(std::set<std::string>({"", "XVID", "DX50"}).count(row.VideoTag));
                EXPECT_TRUE(*row.FrameSize == '\0' || std::regex_match(row.FrameSize, frameSize));
                EXPECT_TRUE(std::set<std::string>({"", "4:3", "16:9"}).count(row.FrameAspectRatio));
                EXPECT_TRUE(rates.count(row.FrameRate));
                EXPECT_GT(row.VideoBitrate, 0);
                highestVideoRate = std::max(highestVideoRate, row.VideoBitrate);
                if (row.PresetKey != 306) {
                    EXPECT_STREQ(row.FileExt, row.OutputExt);
                }
                [[fallthrough]];
            case TPresetTemplate::Audio:
                EXPECT_TRUE(audioCodecs.count(row.AudioCodec));
                EXPECT_TRUE(std::set<std::string>({"1", "2"}).count(row.AudioChannels));
                EXPECT_TRUE(sampleRates.count(row.AudioSampleRate));
                EXPECT_GT(row.AudioBitrate, 0);
                break;
            case TPresetTemplate::Disc:
                EXPECT_EQ(ext, row.PresetKey == 2506 ? ".vob" : ".mpg");
                EXPECT_TRUE(std::set<std::string>({"dvd", "svcd", "vcd"}).count(row.TargetType));
                EXPECT_TRUE(std::set<std::string>({"PAL", "NTSC"}).count(row.NormType));
                break;
            case TPresetTemplate::RealVideo:
                break;
        }
    }
    EXPECT_EQ(highestVideoRate, FindPresetDefaults(3405)->VideoBitrate);
}

// The rows the catalogue's own examples name, as the working settings receive them.
TEST(PresetDefaults, SpotChecksStoreTheirValues) {
    struct TCase {
        int key;
        const char *fileExt, *videoCodec, *videoTag, *frameSize, *aspect, *frameRate;
        int videoBitrate;
        const char *audioCodec, *channels, *sampleRate;
        int audioBitrate;
        bool disableVideo;
        const char *targetType, *normType;
    };
    const TCase cases[] = {
        {100, ".avi", "mpeg4", "XVID", "", "", "25", 816000, "libmp3lame", "2", "44100", 128000,
         false, "", ""},
        {101, ".mp4", "mpeg4", "", "", "", "25", 816000, "libmp3lame", "2", "44100", 128000, false,
         "", ""},
        {109, ".3gp", "mpeg4", "", "176*144", "4:3", "12", 128000, "libfaac", "1", "8000", 12000,
         false, "", ""},
        {111, "", "", "", "", "", "", BitrateUnset, "", "", "", BitrateUnset, false, "dvd", "PAL"},
        {114, "", "rv20", "", "320*240", "", "", -1, "", "", "", -1, false, "", ""},
        {200, ".mp3", "", "", "", "", "", -1, "libmp3lame", "2", "48000", 128000, true, "", ""},
        {212, ".amr", "", "", "", "", "", -1, "libopencore_amrnb", "1", "8000", 7400, true, "", ""},
        {306, ".asf", "wmv2", "", "1280*720", "", "25", 1600000, "wmav2", "2", "48000", 128000,
         false, "", ""},
        {409, ".mp4", "libx264", "", "640*480", "", "25", 1200000, "libfaac", "2", "48000", 128000,
         false, "", ""},
        {708, ".amr", "", "", "", "", "", -1, "libopencore_amrnb", "1", "8000", 7400, true, "", ""},
        {909, ".mp4", "msmpeg4v1", "", "1280*720", "", "25", 1200000, "libmp3lame", "2", "48000",
         128000, false, "", ""},
        {1202, "", "", "", "", "", "", -1, "libmp3lame", "2", "22050", 128000, true, "", ""},
        {2207, ".3gp", "mpeg4", "", "176*144", "4:3", "12", 128000, "libfaac", "1", "8000", 12000,
         false, "", ""},
        {2501, "", "", "", "", "", "", BitrateUnset, "", "", "", BitrateUnset, false, "vcd",
         "NTSC"},
        {3405, ".avi", "libxvid", "", "3840*2160", "", "", 2500000, "libmp3lame", "2", "44100",
         128000, false, "", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.key);
        TWorkingSettings s;
        ResetWorkingSettings(s);
        StorePresetDefaults(*FindPresetDefaults(c.key), s);
        EXPECT_EQ(s.Video_FileExt, c.fileExt);
        EXPECT_EQ(s.Video_VideoCodec, c.videoCodec);
        EXPECT_EQ(s.Video_VideoTag, c.videoTag);
        EXPECT_EQ(s.Video_FrameSize, c.frameSize);
        EXPECT_EQ(s.Video_FrameAspectRatio, c.aspect);
        EXPECT_EQ(s.Video_FrameRate, c.frameRate);
        EXPECT_EQ(s.Video_VideoBitrate, c.videoBitrate);
        EXPECT_EQ(s.Video_AudioCodec, c.audioCodec);
        EXPECT_EQ(s.Video_AudioChannels, c.channels);
        EXPECT_EQ(s.Video_AudioSampleRate, c.sampleRate);
        EXPECT_EQ(s.Video_AudioBitrate, c.audioBitrate);
        EXPECT_EQ(s.Video_DisableVideo, c.disableVideo);
        EXPECT_EQ(s.Video_TargetType, c.targetType);
        EXPECT_EQ(s.Video_NormType, c.normType);
        EXPECT_EQ(s.Video_AudioVolume, "256");
        EXPECT_EQ(s.Video_VideoFilters, "");
        EXPECT_EQ(s.Video_FileFormat, "");
        EXPECT_EQ(s.Video_CopyTimestamp, "");
    }
    EXPECT_STREQ(FindPresetDefaults(306)->OutputExt, ".wmv");
    EXPECT_STREQ(FindPresetDefaults(206)->OutputExt, ".ra");
    EXPECT_STREQ(FindPresetDefaults(206)->FileExt, ".rm");
    EXPECT_STREQ(FindPresetDefaults(2506)->OutputExt, ".vob");
}

}  // namespace
