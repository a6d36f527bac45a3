#include "catalogue/output_record.h"

#include "platform/rtl/sysutils.h"

namespace catalogue {

namespace {

media::TOptionTargetType TargetTypeOf(const std::string& text) {
    if (text == "vcd") return media::ttVCD;
    if (text == "svcd") return media::ttSVCD;
    if (text == "dvd") return media::ttDVD;
    return media::ttIgnore;
}

media::TOptionNormType NormTypeOf(const std::string& text) {
    if (text == "PAL") return media::ntPAL;
    if (text == "NTSC") return media::ntNTSC;
    return media::ntAuto;
}

// The number before "kbps", in bit/s; a fraction is rounded to a whole number. Parsed with "."
// always: the lists' texts do not follow the locale.
int KbpsOf(const std::string& text) {
    const std::string number = rtl::Trim(text.substr(0, text.find("kbps")));
    if (number.find('.') != std::string::npos)
        return int(rtl::Round(rtl::StrToFloat(number) * 1000));
    return rtl::StrToInt(number) * 1000;
}

}  // namespace

void TakeOverListEntry(TPresetParam param, const std::string& text, TWorkingSettings& s) {
    switch (param) {
        case ppFrameSize:
            s.Video_FrameSize = text == SKeepResolution || text == SNoVideoInFormat ? "" : text;
            break;
        case ppVideoBitrate:
            s.Video_VideoBitrate = text == SNoVideo ? BitrateUnset : KbpsOf(text);
            break;
        case ppFrameRate:
            s.Video_FrameRate = text == SKeepFrameRate || text == SNoVideo ? "" : text;
            break;
        case ppAudioBitrate:
            s.Video_AudioBitrate = KbpsOf(text);
            break;
        case ppAudioSampleRate:
            s.Video_AudioSampleRate = text;
            break;
        case ppFrameAspectRatio:
            if (text == SKeepVideoMode || text == SNoVideo) s.Video_FrameAspectRatio.clear();
            if (text == SAspect4x3) s.Video_FrameAspectRatio = "4:3";
            if (text == SAspect16x9) s.Video_FrameAspectRatio = "16:9";
            if (text == SAspect37x20) s.Video_FrameAspectRatio = "37:20";
            if (text == SAspect47x20) s.Video_FrameAspectRatio = "47:20";
            break;
    }
}

media::TOutputOptions OutputOptionsFromSettings(const TWorkingSettings& s) {
    media::TOutputOptions o;
    media::InitOutputOptions(o);
    if (!s.Video_VideoCodec.empty()) {
        o.VideoCodec = s.Video_VideoCodec;
        o.VideoPreset = s.Video_VideoCodec == "libx264" ? "libx264-default" : "";
    }
    if (!s.Video_AudioCodec.empty() && s.Video_AudioCodec != "AUTO")
        o.AudioCodec = s.Video_AudioCodec;
    if (!s.Video_FrameRate.empty()) o.FrameRate = s.Video_FrameRate;
    o.DisableVideo = s.Video_DisableVideo;
    if (!s.Video_AudioChannels.empty()) o.AudioChannels = rtl::StrToInt(s.Video_AudioChannels);
    if (!s.Video_AudioSampleRate.empty() && s.Video_AudioSampleRate != "AUTO")
        o.AudioSampleRate = rtl::StrToInt(s.Video_AudioSampleRate);
    if (!s.Video_FrameSize.empty()) o.FrameSize = s.Video_FrameSize;
    if (!s.Video_TargetType.empty()) o.TargetType = TargetTypeOf(s.Video_TargetType);
    o.NormType = NormTypeOf(s.Video_NormType);
    o.AudioVolume = s.Video_AudioVolume == "256" ? 256 : rtl::StrToInt(s.Video_AudioVolume);
    if (!s.Video_FrameAspectRatio.empty()) o.FrameAspectRatio = s.Video_FrameAspectRatio;
    if (s.Video_AudioBitrate != BitrateUnset && s.Video_AudioBitrate != kBitrateAuto)
        o.AudioBitrate = s.Video_AudioBitrate;
    if (!s.Video_FileFormat.empty()) o.FileFormat = s.Video_FileFormat;
    if (!s.Video_VideoFilters.empty()) o.VideoFilters = s.Video_VideoFilters;
    if (!s.Video_VideoTag.empty()) o.VideoTag = s.Video_VideoTag;
    if (s.Video_VideoBitrate != BitrateUnset) o.VideoBitrate = s.Video_VideoBitrate;
    return o;
}

}  // namespace catalogue
