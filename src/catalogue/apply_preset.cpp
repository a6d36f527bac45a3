#include "catalogue/apply_preset.h"

#include "catalogue/categories.h"
#include "catalogue/preset_defaults.h"

namespace catalogue {

bool ApplyPreset(int categoryIndex, int presetIndex, const TOutputNameRules& rules,
                 TWorkingSettings& settings, std::string& errorText) {
    ResetWorkingSettings(settings);
    // A position without a preset has no key; it must not land in the next category's block.
    const int presetKey = PresetKeyOf(categoryIndex, presetIndex);
    settings.All_Trant_Number = presetKey;
    settings.Video_DisableVideo = false;

    const TPresetDefaults* defaults = FindPresetDefaults(presetKey);
    if (defaults) StorePresetDefaults(*defaults, settings);

    if (rules.OutputFolder.empty()) {
        errorText = kEmptyOutputFolderText;
        return false;
    }
    const std::string name =
        defaults
            ? OutputFileNameFor(rules.OutputFolder, settings.Video_AddFileName, defaults->OutputExt)
            : OutputFileNameFor(rules.OutputFolder, "", "");
    settings.Video_OutPutFileName =
        MakeUniqueOutputFileName(name, settings.Video_AddFileName, rules);
    return true;
}

std::array<TSubItemText, kWriteBackCount> DefaultsWriteBack(const TWorkingSettings& s) {
    return {{
        {10, s.Video_VideoCodec},
        {11, s.Video_AudioCodec},
        {12, s.Video_AudioChannels},
        {13, s.Video_VideoTag},
        {14, s.Video_FileExt},
        {15, s.Video_FrameSize},
        {16, std::to_string(s.Video_VideoBitrate)},
        {17, s.Video_FrameRate},
        {18, std::to_string(s.Video_AudioBitrate)},
        {19, s.Video_AudioSampleRate},
        {20, s.Video_FrameAspectRatio},
        {21, s.Video_DisableVideo ? "True" : "False"},
        {22, s.Video_TargetType},
        {23, s.Video_NormType},
    }};
}

}  // namespace catalogue
