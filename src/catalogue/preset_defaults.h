// The default conversion settings of every preset, keyed by preset key, and the routine that
// stores them into the working settings. Constant data; the routine runs on the main thread.
#pragma once

#include <span>

#include "catalogue/working_settings.h"

namespace catalogue {

// Which working fields a preset sets; a field it does not set keeps its reset value.
enum class TPresetTemplate {
    Video,      // every conversion field
    Audio,      // no video: the audio fields, the extension and video off
    Disc,       // a disc target and norm; codecs, sizes and rates left to the target
    RealVideo,  // the one RealVideo preset: codec and frame size only
};

struct TPresetDefaults {
    int PresetKey;
    TPresetTemplate Template;
    const char* OutputExt;  // with its dot; what the output file name ends in
    const char* FileExt;    // Video_FileExt; nullptr where the preset does not set it
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameSize;
    const char* FrameAspectRatio;
    const char* FrameRate;
    int VideoBitrate;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    int AudioBitrate;
    const char* TargetType;
    const char* NormType;
};

// One row per preset: the video presets, then the audio-only, then the disc presets, then the
// RealVideo one.
std::span<const TPresetDefaults> PresetDefaultsTable();

// The row of a preset key, or nullptr.
const TPresetDefaults* FindPresetDefaults(int presetKey);

// Stores the fields of the row's template into the settings; run after a reset.
void StorePresetDefaults(const TPresetDefaults& defaults, TWorkingSettings& settings);

}  // namespace catalogue
