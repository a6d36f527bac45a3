#include "catalogue/working_settings.h"

#include <utility>

namespace catalogue {

void ResetWorkingSettings(TWorkingSettings& settings) {
    TWorkingSettings fresh;
    fresh.Video_AddFileName = std::move(settings.Video_AddFileName);
    fresh.Video_AudioVolume = "256";
    fresh.Video_VideoBitrate = -1;
    fresh.Video_AudioBitrate = -1;
    fresh.Video_DisableVideo = false;
    fresh.All_Trant_Number = settings.All_Trant_Number;
    settings = std::move(fresh);
}

}  // namespace catalogue
