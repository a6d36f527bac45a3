#include "app/legacy_catalogue.h"

#include "catalogue/working_settings.h"

namespace app::legacy {

namespace {

using catalogue::BitrateUnset;

// Columns: key, OutputExt, FileExt, VideoCodec, VideoTag, FrameSize, FrameRate,
// FrameAspectRatio, VideoBitrate, AudioCodec, AudioChannels, AudioSampleRate, AudioBitrate,
// VideoFilters, AudioVolume, NormType, CopyTimestamp, FileFormat, TargetType, DisableVideo.
// The encoder names are the old ones and stay as text.
// clang-format off
const TLegacyDefaults kDefaults[kLegacyPresetCount] = {
    {100, ".avi", ".avi", "mpeg4", "XVID", "", "25", "", 816000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {101, ".mp4", ".mp4", "mpeg4", "", "", "25", "", 816000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {102, ".avi", ".avi", "mpeg4", "DX50", "", "25", "", 816000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {103, ".mov", ".mov", "", "", "", "25", "", 816000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {104, ".avi", ".avi", "libxvid", "", "", "25", "", 816000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {105, ".mkv", ".mkv", "mpeg4", "", "", "25", "", 1200000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {106, ".mpg", ".mpg", "mpeg1video", "", "", "25", "", 528000, "", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {107, ".mpg", ".mpg", "mpeg2video", "", "", "25", "", 816000, "", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {108, ".asf", ".asf", "msmpeg4", "", "", "25", "", 816000, "wmav2", "2", "44100", 128000, "", "256", "", "", "asf", "", kKeepValue},
    {109, ".3gp", ".3gp", "mpeg4", "", "176*144", "12", "4:3", 128000, "libfaac", "1", "8000", 12000, "", "256", "", "", "", "", kKeepValue},
    {110, ".wmv", ".wmv", "wmv2", "", "", "25", "", 816000, "wmav2", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {111, ".mpg", kKeep, "", "", "", "", "", BitrateUnset, "", "", "", BitrateUnset, kKeep, "256", "PAL", kKeep, "", "dvd", kKeepValue},
    {112, ".mpg", kKeep, "", "", "", "", "", BitrateUnset, "", "", "", BitrateUnset, kKeep, "256", "PAL", kKeep, "", "svcd", kKeepValue},
    {113, ".mpg", kKeep, "", "", "", "", "", BitrateUnset, "", "", "", BitrateUnset, kKeep, "256", "PAL", kKeep, "", "vcd", kKeepValue},
    {114, ".rm", kKeep, "rv20", kKeep, "320*240", kKeep, kKeep, kKeepValue, kKeep, kKeep, kKeep, kKeepValue, kKeep, kKeep, "", "", "", "", kKeepValue},
    {200, ".mp3", ".mp3", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libmp3lame", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {201, ".wma", ".wma", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "wmav2", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {202, ".wav", ".wav", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {203, ".aac", ".aac", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libfaac", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {204, ".m4a", ".m4a", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {205, ".ogg", ".ogg", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libvorbis", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {206, ".ra", ".rm", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {207, ".ac3", ".ac3", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "ac3", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {208, ".aiff", ".aiff", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {209, ".mp2", ".mp2", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "", "2", "44100", 128000, kKeep, "256", "", "", "", "", true},
    {210, ".flac", ".flac", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "flac", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {211, ".m4a", ".alac", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "alac", "2", "48000", 128000, kKeep, "256", "", "", "", "", true},
    {212, ".amr", ".amr", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libopencore_amrnb", "1", "8000", 7400, kKeep, "256", "", "", "", "", true},
    {300, ".avi", ".avi", "mpeg4", "", "1280*720", "25", "", 1600000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {301, ".avi", ".avi", "libxvid", "", "1280*720", "25", "", 1600000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {302, ".mp4", ".mp4", "libx264", "", "1280*720", "25", "", 1600000, "libmp3lame", "2", "48000", 256000, "", "256", "", "", "", "", kKeepValue},
    {303, ".mp4", ".mp4", "mpeg4", "", "1280*720", "25", "", 1600000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {304, ".mov", ".mov", "", "", "1280*720", "25", "", 1600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {305, ".asf", ".asf", "msmpeg4", kKeep, "1280*720", "25", "", 1600000, "wmav2", "2", "48000", 128000, "", "256", "", "", "asf", "", kKeepValue},
    {306, ".wmv", ".asf", "wmv2", "", "1280*720", "25", "", 1600000, "wmav2", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {307, ".vob", ".vob", "", "", "1280*720", "25", "", 1600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {308, ".mpg", ".mpg", "mpeg2video", "", "1280*720", "25", "", 1600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {309, ".mkv", ".mkv", "mpeg4", "", "1280*720", "25", "", 1600000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {400, ".mp4", ".mp4", "libx264", "", "320*240", "25", "", 512000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {401, ".mp4", ".mp4", "libxvid", "", "320*240", "25", "", 768000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {402, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 768000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {403, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 768000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", kKeep, kKeepValue},
    {404, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", "", 600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", kKeep, kKeepValue},
    {405, ".mp4", ".mp4", "libx264", "", "640*480", "25", "", 1200000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", kKeep, kKeepValue},
    {406, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 512000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", kKeep, kKeepValue},
    {407, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", "", 600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {408, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 7680000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {409, ".mp4", ".mp4", "libx264", "", "640*480", "25", "", 1200000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {410, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 512000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {411, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "16:9", 1200000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {412, ".mp4", ".mp4", "libxvid", "", "320*240", "25", "", 768000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {413, ".mp4", ".mp4", "libxvid", "", "480*320", "25", "", 1000000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {500, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", "", 600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {501, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 1000000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {502, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", "16:9", 600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {503, ".mp4", ".mp4", "libx264", "", "320*240", "25", "", 1200000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {504, ".mp4", ".mp4", "mpeg4", "XVID", "320*240", "25", "", 600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {505, ".mp4", ".mp4", "mpeg4", "", "480*320", "25", "", 768000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {600, ".mp4", ".mp4", "mpeg4", "", "320*240", "29.97", "", 600000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {601, ".mp4", ".mp4", "libx264", "", "320*240", "29.97", "", 768000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {602, ".mp4", ".mp4", "libx264", "", "320*240", "29.97", "", 1200000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {603, ".mp4", ".mp4", "libxvid", "", "320*240", "29.97", "", 384000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {604, ".mp4", ".mp4", "libx264", "", "640*480", "29.97", "", 1000000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {700, ".3gp", ".3gp", "h263", "", "176*144", "12", "", 128000, "libamr_nb", "1", "8000", 12000, "", "256", "", "", "", "", kKeepValue},
    {701, ".3gp", ".3gp", "h263", "", "176*144", "12", "", 128000, "libfaac", "2", "16000", 48000, "", "256", "", "", "", "", kKeepValue},
    {702, ".3gp", ".3gp", "mpeg4", "", "176*144", "12", "", 128000, "libamr_nb", "1", "8000", 12000, "", "256", "", "", "", "", kKeepValue},
    {703, ".3g2", ".3g2", "mpeg4", "", "176*144", "12", "", 128000, "libfaac", "2", "32000", 48000, "", "256", "", "", "", "", kKeepValue},
    {704, ".3gp", ".3gp", "mpeg4", "", "176*144", "12", "", 128000, "libamr_nb", "1", "8000", 10200, "", "256", "", "", "", "", kKeepValue},
    {705, ".3gp", ".3gp", "mpeg4", "", "320*240", "15", "", 128000, "libfaac", "2", "16000", 32000, "", "256", "", "", "", "", kKeepValue},
    {706, ".avi", ".avi", "h263", "", "352*288", "15", "", 256000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {707, ".mp4", ".mp4", "mpeg4", "", "352*288", "15", "", 128000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {708, ".amr", ".amr", kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libopencore_amrnb", "1", "8000", 7400, kKeep, "256", "", "", "", "", true},
    {709, ".mp4", ".mp4", "mpeg4", "", "352*288", "15", "", 160000, "libfaac", "2", "44100", 64000, "", "256", "", "", "", "", kKeepValue},
    {710, ".mp4", ".mp4", "mpeg4", "", "352*288", "12", "", 128000, "libfaac", "2", "32000", 32000, "", "256", "", "", "", "", kKeepValue},
    {711, ".avi", ".avi", "mpeg4", "DX50", "320*240", "25", "", 256000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {712, ".mov", ".mov", "", "", "320*240", "25", "", 256000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {713, ".mp4", ".mp4", "mpeg4", "", "176*144", "12", "", 128000, "libfaac", "2", "32000", 32000, "", "256", "", "", "", "", kKeepValue},
    {800, ".mp4", ".mp4", "libx264", "", "320*240", "25", "", 768000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {801, ".mp4", ".mp4", "libx264", "", "640*480", "25", "", 1000000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {802, ".mp4", ".mp4", "libx264", "", "1280*720", "25", "", 1000000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {803, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", "", 1200000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {804, ".mp4", ".mp4", "libxvid", "", "640*480", "25", "", 600000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {900, ".mp4", ".mp4", "libx264", "", "640*480", "29.97", "", 1200000, "libfaac", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {901, ".mpeg", ".mpeg", "mpeg2video", "", "1280*720", "25", "", 1200000, "ac3", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {902, ".mpg", ".mpg", "mpeg2video", "", "1280*720", "25", "", 1200000, "ac3", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {903, ".mp4", ".mp4", "mpeg4", "", "640*480", "25", "", 1200000, "libmp3lame", "2", "48000", 192000, "", "256", "", "", "", "", kKeepValue},
    {904, ".mp4", ".mp4", "mpeg4", "", "1280*720", "25", "", 1200000, "libfaac", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {905, ".wmv", ".wmv", "wmv2", "", "640*480", "25", "", 1200000, "wmav2", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {906, ".avi", ".avi", "wmv2", "", "1280*720", "25", "", 1200000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {907, ".avi", ".avi", "msmpeg4v2", "", "1280*720", "25", "", 1200000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {908, ".avi", ".avi", "msmpeg4", "", "1280*720", "25", "", 1200000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {909, ".mp4", ".mp4", "msmpeg4v1", "", "1280*720", "25", "", 1200000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {1000, ".avi", ".avi", "mpeg4", "", "480*272", "25", "", 1000000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {1001, ".avi", ".avi", "mpeg4", "", "720*480", "25", "", 1000000, "libmp3lame", "2", "48000", 128000, "", "256", "", "", "", "", kKeepValue},
    {1002, ".avi", ".avi", "mpeg4", "", "320*240", "25", "", 768000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1003, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", "", 512000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1004, ".mp4", ".mp4", "libx264", "", "320*240", "25", "", 768000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1005, ".mp4", ".mp4", "libxvid", "", "320*240", "25", "", 768000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1006, ".wmv", ".wmv", "wmv2", "", "320*240", "25", "", 1000000, "wmav2", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1007, ".avi", ".avi", "mpeg4", "", "640*480", "25", "", 1000000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1100, ".mp4", ".mp4", "mpeg4", "", "320*240", "25", "", 528000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1101, ".mp4", ".mp4", "mpeg4", "", "", "25", "", 768000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1102, ".mp4", ".mp4", "libx264", "", "", "25", "", 1200000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1103, ".mp4", ".mp4", "libx264", "", "320*240", "25", "", 1200000, "libfaac", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1104, ".mp4", ".mp4", "libx264", "", "", "25", "", 1200000, "libmp3lame", "2", "44100", 128000, "", "256", "", "", "", "", kKeepValue},
    {1200, ".flv", ".flv", "", "", "", "25", "", 1200000, "libmp3lame", "2", "22050", 128000, "", "256", "", "", "", "", kKeepValue},
    {1201, ".swf", ".swf", "", "", "", "25", "", 528000, "libmp3lame", "2", "22050", 128000, "", "256", "", "", "", "", kKeepValue},
    {1202, ".flv", kKeep, kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libmp3lame", "2", "22050", 128000, kKeep, "256", "", "", "", "", true},
    {1203, ".swf", kKeep, kKeep, kKeep, kKeep, kKeep, kKeep, kKeepValue, "libmp3lame", "2", "22050", 128000, kKeep, "256", "", "", "", "", true},
};
// clang-format on

}  // namespace

std::span<const TLegacyDefaults> LegacyDefaultsTable() {
    return kDefaults;
}

const TLegacyDefaults* FindLegacyDefaults(int presetKey) {
    return FindRowByKey<TLegacyDefaults>(kDefaults, presetKey);
}

}  // namespace app::legacy
