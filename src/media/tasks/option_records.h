// The option records of a conversion: TInputOptions for each input and TOutputOptions for each
// output, with their defaults, their reading from an option text, and the routines that turn a
// record into option calls on a task, in the order the calls must come.
//
// Plain values and functions over them; no state and no lock. A record is applied on the thread
// that sets the task up (the task manager's caller), through the TOptionCalls the task offers.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/datetime.h"
#include "platform/rtl/strings.h"

namespace media {

// The no-timestamp value of the records' Int64 times (the library's AV_NOPTS_VALUE).
inline constexpr int64_t kNoTimestamp = INT64_MIN;

enum TOptionTargetType : int32_t { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType : int32_t { ntAuto, ntPAL, ntNTSC };
// ntPAL or ntNTSC only.
using TOptionNormDefault = TOptionNormType;

struct TInputOptions {
    std::string FileName;
    std::string FileFormat;
    int64_t TimeStart = kNoTimestamp;  // microseconds
    int32_t ProgramID = -1;
    std::string ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

// Output metadata and creation time.
struct TStreamInfo {
    // Local time: 0 stamps the output with the time of the call, < 0 leaves the engine's stamp.
    rtl::TDateTime TimeStamp = -1.0;
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

// A field that is not set (-1, empty, False, no timestamp) is not applied, so what a target or an
// ExtOptions line gave stays; the languages and the sync methods are applied whatever they hold.
struct TOutputOptions {
    std::string FileName;
    std::string FileExt;  // the caller's; not read here
    std::string FileFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    float MuxDelay = -1.0f;    // seconds
    float MuxPreload = -1.0f;  // seconds
    std::string AudioCodec;
    std::string AudioPreset;
    bool DisableAudio = false;
    int32_t AudioVolume = -1;  // 256 = unchanged
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    int32_t AudioBitrate = -1;
    int32_t AudioBitRateTolerance = -1;
    std::string AudioLanguage;
    int32_t AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    std::string VideoPreset;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string FrameAspectRatio;
    int32_t CropTop = -1;
    int32_t CropBottom = -1;
    int32_t CropLeft = -1;
    int32_t CropRight = -1;
    int32_t GroupPictureSize = -1;
    int32_t VideoBitrate = -1;
    int32_t VideoMaxRate = -1;
    int32_t VideoMinRate = -1;
    int32_t VideoBitRateTolerance = -1;
    int32_t VideoBufSize = -1;
    int32_t VideoSyncMethod = -1;  // -1 = automatic
    std::string VideoTag;
    std::string VideoFilters;
    std::string VideoLanguage;
    std::string SubtitleCodec;
    std::string SubtitlePreset;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool InputSync = false;
    bool CopyTimestamp = false;
    int64_t TimeStart = kNoTimestamp;   // microseconds
    int64_t TimeLength = kNoTimestamp;  // microseconds; also the expected output duration
    TStreamInfo Info;
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;
    TOptionNormDefault NormDefault = ntPAL;
    // Every decoded picture of the task goes through the manager's OnCustomHook.
    bool CustomHook = false;
    // The task's inputs are joined into this one output.
    bool Join = false;
    std::string ExtOptions;
    int32_t Tag = 0;
    void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

// Reset every field to its default, so a record can be reused.
void InitInputOptions(TInputOptions& options);
void InitOutputOptions(TOutputOptions& options);

// Records from an option text, for the task manager's text overloads. Names compare without
// regard to case: "TimeStart" (and for an output "TimeLength") takes an integer, anything else
// leaves no time; for an output "Hook" or "CustomHook" and "Join" set their flag whatever the
// value; every other line goes on to ExtOptions as written.
TInputOptions InputOptionsFromText(const std::string& text);
TOutputOptions OutputOptionsFromText(const std::string& text);

// The option calls a record turns into, but the recording timestamp, as
// X(result, name, parameters, arguments): one list declares them below and forwards them in the
// task to the engine's handlers of the same names (ff_task_manager.h). Each raises what the
// engine's handler raises. ApplyPreset's `kind` is "apre", "vpre" or "spre".
#define MORADEX_OPTION_CALLS(X)                                                              \
    X(void, ParseOption, (const std::string& name, const std::string& value), (name, value)) \
    X(void, SetFormatName, (const std::string& value), (value))                              \
    X(void, SetStartTime, (int64_t value), (value))                                          \
    X(void, SetRecordingTime, (int64_t value), (value))                                      \
    X(void, SetProgramId, (int value), (value))                                              \
    X(bool, SetCodecOptionInt, (const std::string& name, int value), (name, value))          \
    X(void, SetMuxMaxDelay, (float value), (value))                                          \
    X(void, SetMuxPreload, (float value), (value))                                           \
    X(void, SetAudioCodec, (const std::string& value), (value))                              \
    X(void, SetVideoCodec, (const std::string& value), (value))                              \
    X(void, SetSubtitleCodec, (const std::string& value), (value))                           \
    X(void, SetAudioVolume, (int value), (value))                                            \
    X(void, SetAudioChannels, (int value), (value))                                          \
    X(void, SetAudioSampleRate, (int value), (value))                                        \
    X(void, SetAudioSyncMethod, (int value), (value))                                        \
    X(void, SetAudioTag, (const std::string& value), (value))                                \
    X(void, SetFrameRate, (const std::string& value), (value))                               \
    X(void, SetFrameSize, (const std::string& value), (value))                               \
    X(void, SetFrameAspect, (const std::string& value), (value))                             \
    X(void, SetCropTop, (int value), (value))                                                \
    X(void, SetCropBottom, (int value), (value))                                             \
    X(void, SetCropLeft, (int value), (value))                                               \
    X(void, SetCropRight, (int value), (value))                                              \
    X(void, SetVideoSyncMethod, (int value), (value))                                        \
    X(void, SetVideoTag, (const std::string& value), (value))                                \
    X(void, SetVideoFilters, (const std::string& value), (value))                            \
    X(void, AddMetadata, (const std::string& key, const std::string& value), (key, value))   \
    X(void, ApplyPreset, (const std::string& kind, const std::string& name), (kind, name))   \
    X(void, ApplyTarget,                                                                     \
      (const std::string& target, const std::string& norm, const std::string& defaultNorm),  \
      (target, norm, defaultNorm))

class TOptionCalls {
public:
    virtual ~TOptionCalls() = default;
#define MORADEX_DECLARE_OPTION_CALL(result, name, parameters, arguments) \
    virtual result name parameters = 0;
    MORADEX_OPTION_CALLS(MORADEX_DECLARE_OPTION_CALL)
#undef MORADEX_DECLARE_OPTION_CALL
    // Seconds since 1970-01-01 00:00 UTC; the task keeps it itself.
    virtual void SetRecordingTimestamp(int64_t value) = 0;
};

// "name=value" lines: up to eight "def_" entries (def_acodec, def_vcodec, def_scodec, def_apre,
// def_vpre, def_spre, def_s, def_vf) and the ExtOptions lines of those names, collected in order
// for the extra streams.
using TStreamDefaults = rtl::TStringList;

// The lines of `text` as options: "newvideo", "newaudio", "newsubtitle", the presets and the
// video filters are never applied here; "acodec", "vcodec", "scodec" and "s" only on the input
// side; every other name on both.
void ApplyExtOptions(TOptionCalls& task, const std::string& text, bool inputSide);
void CollectStreamDefaults(TStreamDefaults& list, const TOutputOptions& options);
void ApplyOutputTarget(TOptionCalls& task, const TOutputOptions& options);
// The record's fields but the codecs, presets, frame size and video filters.
void ApplyOutputOptions(TOptionCalls& task, const TOutputOptions& options);
// Run after the output opened: each "newaudio", "newvideo" or "newsubtitle" line adds its stream
// with the next collected line of each of its stream options (else the "def_" value).
void AddExtraStreams(TOptionCalls& task, const std::string& text, TStreamDefaults& list);
// ParseOption(name, v) with v the first collected line of `name`, which is used up, or the
// "def_" value of `name` when no line is left.
void TakeStreamOption(TOptionCalls& task, TStreamDefaults& list, const std::string& name);

// The input side before the input opens: ExtOptions, format, start time, program.
void ApplyInputRecord(TOptionCalls& task, const TInputOptions& options);
// The output side before the output opens: target, stream defaults, ExtOptions, the record's
// fields, then frame size and video filters. `list` is filled for AddExtraStreams.
void ApplyOutputRecord(TOptionCalls& task, const TOutputOptions& options, TStreamDefaults& list);

// Whole seconds since 1970-01-01 00:00 UTC of a local time (daylight saving included), rounded
// to the nearest second.
int64_t DateTimeToUnixTime(rtl::TDateTime time);

}  // namespace media
