#include "media/tasks/option_records.h"

#include <cmath>
#include <ctime>
#include <string_view>

#include "media/engine/ffmpeg_options.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

bool IsOneOf(const std::string& name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names)
        if (name == candidate) return true;
    return false;
}

// An integer time of the text overloads; anything else means no time.
int64_t TimeValue(const std::string& value) {
    int64_t time = 0;
    return rtl::TryStrToInt64(value, time) ? time : kNoTimestamp;
}

void AppendLine(std::string& text, const TExtOption& option) {
    text += option.Name + "=" + option.Value + "\n";
}

void SetIntOption(TOptionCalls& task, const char* name, int value) {
    if (value > 0) task.SetCodecOptionInt(name, value);
}

void SetFlag(TOptionCalls& task, const char* name, bool value) {
    if (value) task.ParseOption(name, "1");
}

void AddMetadataText(TOptionCalls& task, const char* key, const std::string& value) {
    if (!value.empty()) task.AddMetadata(key, value);
}

void AddMetadataNumber(TOptionCalls& task, const char* key, int value) {
    if (value > 0) task.AddMetadata(key, std::to_string(value));
}

}  // namespace

void InitInputOptions(TInputOptions& options) {
    options = TInputOptions();
}

void InitOutputOptions(TOutputOptions& options) {
    options = TOutputOptions();
}

TInputOptions InputOptionsFromText(const std::string& text) {
    TInputOptions options;
    for (const TExtOption& option : SplitExtOptions(text, false)) {
        if (rtl::SameText(option.Name, "TimeStart"))
            options.TimeStart = TimeValue(option.Value);
        else
            AppendLine(options.ExtOptions, option);
    }
    return options;
}

TOutputOptions OutputOptionsFromText(const std::string& text) {
    TOutputOptions options;
    for (const TExtOption& option : SplitExtOptions(text, false)) {
        if (rtl::SameText(option.Name, "Hook") || rtl::SameText(option.Name, "CustomHook"))
            options.CustomHook = true;
        else if (rtl::SameText(option.Name, "Join"))
            options.Join = true;
        else if (rtl::SameText(option.Name, "TimeStart"))
            options.TimeStart = TimeValue(option.Value);
        else if (rtl::SameText(option.Name, "TimeLength"))
            options.TimeLength = TimeValue(option.Value);
        else
            AppendLine(options.ExtOptions, option);
    }
    return options;
}

void ApplyExtOptions(TOptionCalls& task, const std::string& text, bool inputSide) {
    for (const TExtOption& option : SplitExtOptions(text)) {
        // The output side takes these through the stream defaults and the extra streams; an
        // input has no presets, filters or extra streams.
        if (IsOneOf(option.Name, {"newvideo", "newaudio", "newsubtitle", "apre", "vpre", "spre",
                                  "vfilters", "vf"}))
            continue;
        // On an input these force the decoders and the picture size; on an output the stream
        // defaults carry them.
        if (!inputSide && IsOneOf(option.Name, {"acodec", "vcodec", "scodec", "s"})) continue;
        task.ParseOption(option.Name, option.Value);
    }
}

void CollectStreamDefaults(TStreamDefaults& list, const TOutputOptions& options) {
    list.SetValue("def_acodec", options.AudioCodec);
    list.SetValue("def_vcodec", options.VideoCodec);
    list.SetValue("def_scodec", options.SubtitleCodec);
    list.SetValue("def_apre", options.AudioPreset);
    list.SetValue("def_vpre", options.VideoPreset);
    list.SetValue("def_spre", options.SubtitlePreset);
    list.SetValue("def_s", options.FrameSize);
    list.SetValue("def_vf", options.VideoFilters);
    for (TExtOption option : SplitExtOptions(options.ExtOptions)) {
        if (option.Value.empty() || !IsOneOf(option.Name, {"acodec", "vcodec", "scodec", "apre",
                                                           "vpre", "spre", "s", "vfilters", "vf"}))
            continue;
        if (option.Name == "vfilters") option.Name = "vf";
        // The record's field wins over the lines, and the first line over later ones.
        std::string defaultName = "def_" + option.Name;
        if (list.Values(defaultName).empty()) list.SetValue(defaultName, option.Value);
        list.Add(option.Name + "=" + option.Value);
    }
}

void ApplyOutputTarget(TOptionCalls& task, const TOutputOptions& options) {
    // Indexed by TOptionTargetType; anything outside it means no target.
    static const char* const kTargets[] = {nullptr, "vcd", "svcd", "dvd"};
    if (options.TargetType < ttVCD || options.TargetType > ttDVD) return;
    const char* target = kTargets[options.TargetType];
    const char* norm = "auto";
    if (options.NormType == ntPAL)
        norm = "pal";
    else if (options.NormType == ntNTSC)
        norm = "ntsc";
    const char* defaultNorm = options.NormDefault == ntPAL ? "pal" : "ntsc";
    task.ApplyTarget(target, norm, defaultNorm);
}

void ApplyOutputOptions(TOptionCalls& task, const TOutputOptions& options) {
    if (!options.FileFormat.empty()) task.SetFormatName(options.FileFormat);
    SetIntOption(task, "packetsize", options.PacketSize);
    SetIntOption(task, "muxrate", options.MuxRate);
    if (options.MuxDelay > 0) task.SetMuxMaxDelay(options.MuxDelay);
    if (options.MuxPreload > 0) task.SetMuxPreload(options.MuxPreload);

    SetFlag(task, "an", options.DisableAudio);
    if (options.AudioVolume >= 0) task.SetAudioVolume(options.AudioVolume);
    if (options.AudioChannels > 0) task.SetAudioChannels(options.AudioChannels);
    if (options.AudioSampleRate > 0) task.SetAudioSampleRate(options.AudioSampleRate);
    SetIntOption(task, "ab", options.AudioBitrate);
    SetIntOption(task, "abt", options.AudioBitRateTolerance);
    task.ParseOption("alang", options.AudioLanguage);
    task.SetAudioSyncMethod(options.AudioSyncMethod);
    if (!options.AudioTag.empty()) task.SetAudioTag(options.AudioTag);

    SetFlag(task, "vn", options.DisableVideo);
    if (!options.FrameRate.empty()) task.SetFrameRate(options.FrameRate);
    if (!options.FrameAspectRatio.empty()) task.SetFrameAspect(options.FrameAspectRatio);
    if (options.CropTop > 0) task.SetCropTop(options.CropTop);
    if (options.CropBottom > 0) task.SetCropBottom(options.CropBottom);
    if (options.CropLeft > 0) task.SetCropLeft(options.CropLeft);
    if (options.CropRight > 0) task.SetCropRight(options.CropRight);
    SetIntOption(task, "g", options.GroupPictureSize);
    SetIntOption(task, "vb", options.VideoBitrate);
    SetIntOption(task, "maxrate", options.VideoMaxRate);
    SetIntOption(task, "minrate", options.VideoMinRate);
    SetIntOption(task, "bt", options.VideoBitRateTolerance);
    SetIntOption(task, "bufsize", options.VideoBufSize);
    task.SetVideoSyncMethod(options.VideoSyncMethod);
    if (!options.VideoTag.empty()) task.SetVideoTag(options.VideoTag);
    task.ParseOption("vlang", options.VideoLanguage);

    SetFlag(task, "sn", options.DisableSubtitle);
    task.ParseOption("slang", options.SubtitleLanguage);

    task.ParseOption("isync", options.InputSync ? "1" : "0");
    SetFlag(task, "copyts", options.CopyTimestamp);
    if (options.TimeStart != kNoTimestamp) task.SetStartTime(options.TimeStart);
    if (options.TimeLength != kNoTimestamp) task.SetRecordingTime(options.TimeLength);

    const TStreamInfo& info = options.Info;
    if (info.TimeStamp == 0)
        task.SetRecordingTimestamp(DateTimeToUnixTime(rtl::Now()));
    else if (info.TimeStamp > 0)
        task.SetRecordingTimestamp(DateTimeToUnixTime(info.TimeStamp));
    AddMetadataNumber(task, "year", info.Year);
    AddMetadataNumber(task, "track", info.Track);
    AddMetadataText(task, "title", info.Title);
    AddMetadataText(task, "author", info.Author);
    AddMetadataText(task, "copyright", info.Copyright);
    AddMetadataText(task, "comment", info.Comment);
    AddMetadataText(task, "album", info.Album);
    AddMetadataText(task, "genre", info.Genre);
}

void TakeStreamOption(TOptionCalls& task, TStreamDefaults& list, const std::string& name) {
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Names(i) != name) continue;
        std::string value = list.ValueFromIndex(i);
        list.Delete(i);
        task.ParseOption(name, value);
        return;
    }
    std::string value = list.Values("def_" + name);
    if (!value.empty()) task.ParseOption(name, value);
}

void AddExtraStreams(TOptionCalls& task, const std::string& text, TStreamDefaults& list) {
    for (const TExtOption& option : SplitExtOptions(text)) {
        if (option.Name == "newaudio") {
            TakeStreamOption(task, list, "acodec");
            TakeStreamOption(task, list, "apre");
        } else if (option.Name == "newvideo") {
            TakeStreamOption(task, list, "vcodec");
            TakeStreamOption(task, list, "vpre");
            TakeStreamOption(task, list, "s");
            TakeStreamOption(task, list, "vf");
        } else if (option.Name == "newsubtitle") {
            // The subtitle lines are collected under "scodec": an extra subtitle stream takes
            // its codec from them like the audio and video streams do.
            TakeStreamOption(task, list, "scodec");
            TakeStreamOption(task, list, "spre");
        } else {
            continue;
        }
        task.ParseOption(option.Name, option.Value);
    }
}

void ApplyInputRecord(TOptionCalls& task, const TInputOptions& options) {
    ApplyExtOptions(task, options.ExtOptions, true);
    if (!options.FileFormat.empty()) task.SetFormatName(options.FileFormat);
    if (options.TimeStart != kNoTimestamp) task.SetStartTime(options.TimeStart);
    if (options.ProgramID >= 0) task.SetProgramId(options.ProgramID);
}

void ApplyOutputRecord(TOptionCalls& task, const TOutputOptions& options, TStreamDefaults& list) {
    list.Clear();
    CollectStreamDefaults(list, options);
    ApplyOutputTarget(task, options);
    // Empty defaults change nothing, so they are not passed on.
    auto apply = [&](const char* name, auto call) {
        std::string value = list.Values(name);
        if (!value.empty()) call(value);
    };
    apply("def_acodec", [&](const std::string& v) { task.SetAudioCodec(v); });
    apply("def_vcodec", [&](const std::string& v) { task.SetVideoCodec(v); });
    apply("def_scodec", [&](const std::string& v) { task.SetSubtitleCodec(v); });
    apply("def_apre", [&](const std::string& v) { task.ApplyPreset("apre", v); });
    apply("def_vpre", [&](const std::string& v) { task.ApplyPreset("vpre", v); });
    apply("def_spre", [&](const std::string& v) { task.ApplyPreset("spre", v); });
    ApplyExtOptions(task, options.ExtOptions, false);
    ApplyOutputOptions(task, options);
    apply("def_s", [&](const std::string& v) { task.SetFrameSize(v); });
    apply("def_vf", [&](const std::string& v) { task.SetVideoFilters(v); });
}

int64_t DateTimeToUnixTime(rtl::TDateTime time) {
    // The local wall-clock reading as if it were UTC, then the zone's offset at that moment.
    int64_t wallClock = std::llround((time - rtl::kUnixDateDelta) * 86400.0);
    int64_t days = wallClock / 86400;
    int64_t secondOfDay = wallClock % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    std::time_t dayStart = std::time_t(days * 86400);
    std::tm fields{};
    gmtime_r(&dayStart, &fields);
    fields.tm_hour = int(secondOfDay / 3600);
    fields.tm_min = int(secondOfDay / 60 % 60);
    fields.tm_sec = int(secondOfDay % 60);
    fields.tm_isdst = -1;
    return int64_t(std::mktime(&fields));
}

}  // namespace media
