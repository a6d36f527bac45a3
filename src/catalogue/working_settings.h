// The working settings: the conversion settings of the one file being added or re-parameterised,
// as the preset routine writes them and the main window later reads them. The main window owns
// one; plain value, main thread only.
#pragma once

#include <string>

namespace catalogue {

// A bit rate that asks for no explicit rate.
inline constexpr int BitrateUnset = -1000;

struct TWorkingSettings {
    std::string Video_OutPutFileName;
    std::string Video_AddFileName;  // the input being added; survives the reset
    std::string Video_FileExt;
    std::string Video_AudioChannels;
    std::string Video_AudioSampleRate;
    std::string Video_FrameSize;
    std::string Video_FrameRate;
    std::string Video_NormType;
    std::string Video_VideoFilters;
    std::string Video_AudioVolume;
    std::string Video_FrameAspectRatio;
    std::string Video_VideoCodec;
    std::string Video_AudioCodec;
    std::string Video_CopyTimestamp;
    std::string Video_FileFormat;
    std::string Video_TargetType;
    std::string Video_VideoTag;
    int Video_VideoBitrate = 0;
    int Video_AudioBitrate = 0;
    bool Video_DisableVideo = false;
    int All_Trant_Number = 0;  // key of the preset applied last
};

// Empties every text but Video_AddFileName, sets the volume to "256", both bit rates to -1 and
// video on. All_Trant_Number is left alone.
void ResetWorkingSettings(TWorkingSettings& settings);

}  // namespace catalogue
