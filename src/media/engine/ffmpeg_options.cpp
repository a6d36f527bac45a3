// The engine's options: ParseOption with its table, the typed setters, and the option text.
#include "media/engine/ffmpeg_options.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/paths.h"

namespace media {

namespace {

const char* const kVerticalCrop =
    "Vertical crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";
const char* const kHorizontalCrop =
    "Horizontal crop dimensions are outside the range of the original image.\n"
    "Remember to crop first and scale second.";

bool Flag(const std::string& value) {
    return value != "0";
}

// Reads an integer the way the C library's strtol does with base 0, from `p` on.
int ReadInt(const char*& p) {
    char* end = nullptr;
    long value = std::strtol(p, &end, 0);
    p = end;
    return int(value);
}

void SkipOne(const char*& p) {
    if (*p != '\0') ++p;
}

}  // namespace

std::vector<TExtOption> SplitExtOptions(std::string_view text, bool lowerCaseNames) {
    std::string normal;
    std::string trimmed = rtl::Trim(text);
    for (size_t i = 0; i < trimmed.size(); ++i) {
        char c = trimmed[i];
        if (c == '\r') {
            normal += '\n';
            if (i + 1 < trimmed.size() && trimmed[i + 1] == '\n') ++i;
        } else if (trimmed.compare(i, 6, "<CRLF>") == 0) {
            normal += '\n';
            i += 5;
        } else {
            normal += c;
        }
    }
    std::vector<TExtOption> options;
    if (trimmed.empty()) return options;
    size_t start = 0;
    while (true) {
        size_t end = normal.find('\n', start);
        std::string line = normal.substr(start, end == std::string::npos ? end : end - start);
        size_t equals = line.find('=');
        TExtOption option;
        option.Name = line.substr(0, equals);
        if (lowerCaseNames) option.Name = rtl::LowerCase(option.Name);
        if (equals != std::string::npos) option.Value = line.substr(equals + 1);
        options.push_back(std::move(option));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return options;
}

// --- dispatch ---

// One handler of the option table: `e` the engine, `n` the option's name, `v` its value.
#define OPTION(...)                                                              \
    []([[maybe_unused]] TCustomFFmpeg& e, [[maybe_unused]] const std::string& n, \
       [[maybe_unused]] const std::string& v) { __VA_ARGS__ }

void TCustomFFmpeg::ParseOption(const std::string& name, const std::string& value) {
    using THandler = void (*)(TCustomFFmpeg&, const std::string&, const std::string&);
    static const std::unordered_map<std::string_view, THandler> kOptions = {
        // Options of the command line that have nothing to do in a job.
        {"L", OPTION(GetFFLogger().Log(&e, llInfo, "Do nothing: option - " + n);)},
        {"timelimit",
         OPTION(GetFFLogger().Log(&e, llWarning, "Warning: -timelimit not implemented");)},
        {"threads", OPTION(throw FFmpegException("TODO: option - " + n);)},
        {"loglevel", OPTION(GetFFLogger().OptLogLevel(v);)},

        // Files, muxing, mapping and run control.
        {"f", OPTION(e.SetFormatName(v);)},
        {"programid", OPTION(e.Fopt_programid = rtl::StrToInt(v);)},
        {"map", OPTION(e.AddStreamMap(v);)},
        {"map_meta_data", OPTION(e.AddMetadataMap(v);)},
        {"streamid", OPTION(e.SetStreamId(n, v);)},
        {"metadata", OPTION(e.AddMetadataText(v);)},
        {"loop_input", OPTION(e.Floop_input = Flag(v);)},
        {"loop_output", OPTION(e.Floop_output = rtl::StrToInt(v);)},
        {"re", OPTION(e.Frate_emu = Flag(v);)},
        {"copyts", OPTION(e.Fcopy_ts = true;)},
        {"shortest", OPTION(e.Fopt_shortest = Flag(v);)},
        {"isync", OPTION(e.Finput_sync = Flag(v);)},
        {"xerror", OPTION(e.Fexit_on_error = true;)},
        {"fs", OPTION(e.Flimit_filesize = rtl::StrToInt64(v);)},
        {"muxdelay", OPTION(e.Fmux_max_delay = float(rtl::StrToFloat(v));)},
        {"muxpreload", OPTION(e.Fmux_preload = float(rtl::StrToFloat(v));)},
        {"dts_delta_threshold", OPTION(e.Fdts_delta_threshold = float(rtl::StrToFloat(v));)},
        {"v", OPTION(e.SetVerbose(rtl::StrToInt(v));)},
        {"dump", OPTION(e.Fdo_pkt_dump = Flag(v);)},
        {"hex", OPTION(e.Fdo_hex_dump = Flag(v);)},
        {"vstats", OPTION(e.SetVstats();)},
        {"vstats_file", OPTION(e.Fvstats_filename = v;)},
        {"pass", OPTION(e.SetPassNumber(rtl::StrToInt(v));)},
        {"passlogfile", OPTION(e.Fpass_logfilename_prefix = v;)},

        // Times and frame counts.
        {"t", OPTION(e.SetRecordingTime(e.ParseTimeOption(n, v, true));)},
        {"ss", OPTION(e.Fstart_time = e.ParseTimeOption(n, v, true);)},
        {"itsoffset", OPTION(e.Finput_ts_offset = e.ParseTimeOption(n, v, true);)},
        {"timestamp", OPTION(e.Frecording_timestamp =
                                 rtl::Round(double(e.ParseTimeOption(n, v, false)) / 1e6);)},
        {"itsscale", OPTION(e.SetInputTimeScale(v);)},
        {"vframes", OPTION(e.Fmax_frames[AVMEDIA_TYPE_VIDEO] = rtl::StrToInt(v);)},
        {"aframes", OPTION(e.Fmax_frames[AVMEDIA_TYPE_AUDIO] = rtl::StrToInt(v);)},
        {"dframes", OPTION(e.Fmax_frames[AVMEDIA_TYPE_DATA] = rtl::StrToInt(v);)},

        // Video.
        {"b", OPTION(e.SetBitrateOption(n, v);)},
        {"r", OPTION(e.SetFrameRate(v);)},
        {"s", OPTION(e.SetFrameSize(v);)},
        {"aspect", OPTION(e.SetFrameAspect(v);)},
        {"pix_fmt", OPTION(e.SetPixelFormat(v);)},
        {"croptop", OPTION(e.SetCropTop(rtl::StrToInt(v));)},
        {"cropbottom", OPTION(e.SetCropBottom(rtl::StrToInt(v));)},
        {"cropleft", OPTION(e.SetCropLeft(rtl::StrToInt(v));)},
        {"cropright", OPTION(e.SetCropRight(rtl::StrToInt(v));)},
        {"padtop", OPTION(throw FFmpegException("Please use vfilters=pad");)},
        {"intra", OPTION(e.Fintra_only = Flag(v);)},
        {"vn", OPTION(e.Fvideo_disable = Flag(v);)},
        {"vdt", OPTION(e.Fvideo_discard = rtl::StrToInt(v);)},
        {"qscale", OPTION(e.SetVideoQScale(rtl::StrToFloat(v));)},
        {"rc_override", OPTION(e.Fvideo_rc_override_string = v;)},
        {"vcodec", OPTION(e.SetVideoCodec(v);)},
        {"me_threshold", OPTION(e.SetMeThreshold(rtl::StrToInt(v));)},
        {"sameq", OPTION(e.SetSameQuality(Flag(v));)},
        {"deinterlace", OPTION(e.Fdo_deinterlace = Flag(v);)},
        {"psnr", OPTION(e.Fdo_psnr = Flag(v);)},
        {"vhook", OPTION(e.AddVideoHook(v);)},
        {"vfilters", OPTION(e.SetVideoFilters(v);)},
        {"intra_matrix", OPTION(e.SetMatrix(e.Fintra_matrix, v);)},
        {"inter_matrix", OPTION(e.SetMatrix(e.Finter_matrix, v);)},
        {"top", OPTION(e.Ftop_field_first = rtl::StrToInt(v);)},
        {"dc", OPTION(e.Fintra_dc_precision = rtl::StrToInt(v);)},
        {"vtag", OPTION(e.SetVideoTag(v);)},
        {"vlang", OPTION(e.Fvideo_language = v;)},
        {"qphist", OPTION(e.Fqp_hist = Flag(v);)},
        {"force_fps", OPTION(e.Fforce_fps = Flag(v);)},
        {"vsync", OPTION(e.Fvideo_sync_method = rtl::StrToInt(v);)},
        {"vglobal", OPTION(e.Fvideo_global_header = rtl::StrToInt(v);)},
        {"copyinkf", OPTION(e.Fcopy_initial_nonkeyframes = rtl::StrToInt(v);)},
        {"vc", OPTION(e.Fvideo_channel = rtl::StrToInt(v);)},
        {"tvstd", OPTION(e.Fvideo_standard = v;)},

        // Audio.
        {"aq", OPTION(e.Faudio_qscale = float(rtl::StrToFloat(v));)},
        {"ar", OPTION(e.SetAudioSampleRate(rtl::StrToInt(v));)},
        {"ac", OPTION(e.SetAudioChannels(rtl::StrToInt(v));)},
        {"an", OPTION(e.Faudio_disable = Flag(v);)},
        {"acodec", OPTION(e.SetAudioCodec(v);)},
        {"atag", OPTION(e.SetAudioTag(v);)},
        {"vol", OPTION(e.Faudio_volume = rtl::StrToInt(v);)},
        {"alang", OPTION(e.Faudio_language = v;)},
        {"sample_fmt", OPTION(e.SetSampleFormat(v);)},
        {"async", OPTION(e.Faudio_sync_method = rtl::StrToInt(v);)},
        {"adrift_threshold", OPTION(e.Faudio_drift_threshold = float(rtl::StrToFloat(v));)},

        // Subtitles.
        {"sn", OPTION(e.Fsubtitle_disable = Flag(v);)},
        {"scodec", OPTION(e.SetSubtitleCodec(v);)},
        {"slang", OPTION(e.Fsubtitle_language = v;)},
        {"stag", OPTION(e.SetSubtitleTag(v);)},

        // Bitstream filters.
        {"absf", OPTION(e.AddBitstreamFilter(n, v);)},

        // Presets, targets and further output streams.
        {"target", OPTION(e.ApplyTargetText(v);)},
        {"apre", OPTION(e.ApplyPreset(n, v);)},
        {"newvideo", OPTION(e.AddStream(AVMEDIA_TYPE_VIDEO);)},
        {"newaudio", OPTION(e.AddStream(AVMEDIA_TYPE_AUDIO);)},
        {"newsubtitle", OPTION(e.AddStream(AVMEDIA_TYPE_SUBTITLE);)},
    };
    // Names that share another name's handler; the handler still sees the name given.
    static const std::unordered_map<std::string_view, std::string_view> kAliases = {
        {"h", "L"},
        {"version", "L"},
        {"formats", "L"},
        {"codecs", "L"},
        {"bsfs", "L"},
        {"protocols", "L"},
        {"filters", "L"},
        {"i", "L"},
        {"y", "L"},
        {"benchmark", "L"},
        {"vb", "b"},
        {"ab", "b"},
        {"padbottom", "padtop"},
        {"padleft", "padtop"},
        {"padright", "padtop"},
        {"padcolor", "padtop"},
        {"vf", "vfilters"},
        {"vbsf", "absf"},
        {"sbsf", "absf"},
        {"vpre", "apre"},
        {"spre", "apre"},
        {"fpre", "apre"},
    };

    std::string_view key = name;
    auto alias = kAliases.find(key);
    if (alias != kAliases.end()) key = alias->second;
    auto option = kOptions.find(key);
    if (option != kOptions.end()) {
        option->second(*this, name, value);
        return;
    }
    SetCodecOption(FOptions, name, value);
}

#undef OPTION

// --- typed setters ---

void TCustomFFmpeg::SetFormatName(const std::string& value) {
    if (value.empty()) return;
    std::string format = value;
    if (format == "pgmyuv") {
        Fpgmyuv_compatibility_hack = 1;
        GetFFLogger().Log(this, llInfo, "pgmyuv format is deprecated, use image2");
        format = "image2";
    }
    Flast_asked_format = format;
}

void TCustomFFmpeg::SetFrameRate(const std::string& value) {
    if (value.empty()) return;
    if (lib::av_parse_video_rate(&Fframe_rate, value.c_str()) < 0)
        throw FFmpegException("Incorrect frame rate");
}

void TCustomFFmpeg::SetFrameSize(const std::string& value) {
    if (value.empty()) return;
    if (lib::av_parse_video_size(&Fframe_width, &Fframe_height, value.c_str()) < 0)
        throw FFmpegException("Incorrect frame size");
}

void TCustomFFmpeg::SetFrameAspect(const std::string& value) {
    if (value.empty()) return;
    double ratio = 0;
    size_t colon = value.find(':');
    if (colon != std::string::npos) {
        int left = rtl::StrToIntDef(value.substr(0, colon), 0);
        int right = rtl::StrToIntDef(value.substr(colon + 1), 0);
        if (right > 0) ratio = double(left) / right;
    } else {
        ratio = rtl::StrToFloatDef(value, 0);
    }
    if (ratio == 0) throw FFmpegException("Incorrect aspect ratio specification.");
    Fframe_aspect_ratio = float(ratio);
}

void TCustomFFmpeg::SetCrop(int& band, int& size, const char* message, int value) {
    if (value <= 0) return;
    if (value >= size) throw FFmpegException(message);
    GetFFLogger().Log(this, llWarning, "CropXXX is deprecated in favor of the crop avfilter");
    band = value;
    size -= value;
}

void TCustomFFmpeg::SetCropTop(int value) {
    SetCrop(Fframe_topBand, Fframe_height, kVerticalCrop, value);
}

void TCustomFFmpeg::SetCropBottom(int value) {
    SetCrop(Fframe_bottomBand, Fframe_height, kVerticalCrop, value);
}

void TCustomFFmpeg::SetCropLeft(int value) {
    SetCrop(Fframe_leftBand, Fframe_width, kHorizontalCrop, value);
}

void TCustomFFmpeg::SetCropRight(int value) {
    SetCrop(Fframe_rightBand, Fframe_width, kHorizontalCrop, value);
}

void TCustomFFmpeg::SetAudioSampleRate(int value) {
    if (value > 0) Faudio_sample_rate = value;
}

void TCustomFFmpeg::SetAudioChannels(int value) {
    if (value > 0) Faudio_channels = value;
}

void TCustomFFmpeg::SetCodecName(std::optional<std::string>& name, int& streamCopy,
                                 const std::string& value) {
    if (value.empty()) return;
    name.reset();
    if (value == "copy")
        streamCopy = 1;
    else
        name = value;
}

void TCustomFFmpeg::SetAudioCodec(const std::string& value) {
    SetCodecName(Faudio_codec_name, Faudio_stream_copy, value);
}

void TCustomFFmpeg::SetVideoCodec(const std::string& value) {
    SetCodecName(Fvideo_codec_name, Fvideo_stream_copy, value);
}

void TCustomFFmpeg::SetSubtitleCodec(const std::string& value) {
    SetCodecName(Fsubtitle_codec_name, Fsubtitle_stream_copy, value);
}

void TCustomFFmpeg::SetCodecTag(uint32_t& tag, const char* kind, const std::string& value) {
    if (value.empty()) return;
    // Checked in every build: a shorter value would be read past its end.
    if (value.size() != 4)
        throw FFmpegException(rtl::Format("%s tag parameter must be 4 chars", kind));
    tag = uint32_t(uint8_t(value[0])) | uint32_t(uint8_t(value[1])) << 8 |
          uint32_t(uint8_t(value[2])) << 16 | uint32_t(uint8_t(value[3])) << 24;
}

void TCustomFFmpeg::SetAudioTag(const std::string& value) {
    SetCodecTag(Faudio_codec_tag, "audio", value);
}

void TCustomFFmpeg::SetVideoTag(const std::string& value) {
    SetCodecTag(Fvideo_codec_tag, "video", value);
}

void TCustomFFmpeg::SetSubtitleTag(const std::string& value) {
    SetCodecTag(Fsubtitle_codec_tag, "subtitle", value);
}

void TCustomFFmpeg::SetVideoFilters(const std::string& value) {
    if (!value.empty()) Fvfilters = value;
}

void TCustomFFmpeg::SetVerbose(int value) {
    Fverbose = value;
}

bool TCustomFFmpeg::SetCodecOptionInt(const std::string& name, int value) {
    return SetCodecOption(FOptions, name, std::to_string(value));
}

void TCustomFFmpeg::AddMetadata(const std::string& key, const std::string& value) {
    Fmetadata.push_back({key, value});
}

void TCustomFFmpeg::SetStartTime(int64_t value) {
    if (value != AV_NOPTS_VALUE) Fstart_time = value;
}

void TCustomFFmpeg::SetRecordingTime(int64_t value) {
    if (value == AV_NOPTS_VALUE) return;
    Frecording_time = value;
    FTotalOutputDuration = value;
}

void TCustomFFmpeg::SetProgramId(int value) {
    if (value >= 0) Fopt_programid = value;
}

void TCustomFFmpeg::SetAudioVolume(int value) {
    if (value >= 0) Faudio_volume = value;
}

void TCustomFFmpeg::SetAudioSyncMethod(int value) {
    Faudio_sync_method = value;
}

void TCustomFFmpeg::SetVideoSyncMethod(int value) {
    Fvideo_sync_method = value;
}

void TCustomFFmpeg::SetMuxMaxDelay(float value) {
    if (value > 0) Fmux_max_delay = value;
}

void TCustomFFmpeg::SetMuxPreload(float value) {
    if (value > 0) Fmux_preload = value;
}

void TCustomFFmpeg::SetPostHooks(TPostHooks hooks) {
    FWantedPostHooks = hooks;
    ApplyWantedPostHooksIfIdle();
}

void TCustomFFmpeg::ApplyWantedPostHooksIfIdle() {
    std::unique_ptr<TPreviewer> dropped;
    {
        std::lock_guard lock(FStateLock);
        // A running job owns its preview: it takes the change at its next picture.
        if (FState == TJobState::Converting) return;
        ApplyPostHooks(WantedPostHooks(), dropped);
    }
    // Closing the window hands work to the main thread: never inside the lock.
    dropped.reset();
}

TPostHooks TCustomFFmpeg::WantedPostHooks() const {
    TPostHooks hooks = FWantedPostHooks;
    for (TPostHook hook : {phPreview, phBitmap, phHBITMAP})
        if (FDroppedPostHooks.Contains(hook)) hooks.Exclude(hook);
    return hooks;
}

void TCustomFFmpeg::ApplyPostHooks(TPostHooks hooks, std::unique_ptr<TPreviewer>& dropped) {
    if (hooks == FPostHooks) return;
    if (FPostHooks.Contains(phPreview) && !hooks.Contains(phPreview))
        dropped = std::move(FPostContext.Previewer);
    FPostHooks = hooks;
}

// --- option handlers ---

void TCustomFFmpeg::SetBitrateOption(const std::string& name, const std::string& value) {
    if (!SetCodecOption(FOptions, name, value)) return;
    AVCodecContext* context =
        FOptions.avcodec_opts[name[0] == 'a' ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO];
    int64_t bitRate = 0;
    if (context != nullptr && lib::av_opt_get_int(context, "b", 0, &bitRate) >= 0 && bitRate < 1000)
        GetFFLogger().Log(this, llWarning,
                          "WARNING: The bitrate parameter is set too low. It takes bits/s as "
                          "argument, not kbits/s");
}

void TCustomFFmpeg::SetPixelFormat(const std::string& value) {
    if (value == "list") {
        char line[128];
        for (int format = -1; format < AV_PIX_FMT_NB; ++format) {
            lib::av_get_pix_fmt_string(line, sizeof(line), AVPixelFormat(format));
            GetFFLogger().Log(this, llInfo, rtl::Trim(line));
        }
        return;
    }
    AVPixelFormat format = lib::av_get_pix_fmt(value.c_str());
    if (format == AV_PIX_FMT_NONE)
        throw FFmpegException(rtl::Format("Unknown pixel format requested: %s", value));
    Fframe_pix_fmt = format;
}

void TCustomFFmpeg::SetSampleFormat(const std::string& value) {
    if (value == "list") {
        char line[128];
        for (int format = -1; format < AV_SAMPLE_FMT_NB; ++format) {
            lib::av_get_sample_fmt_string(line, sizeof(line), AVSampleFormat(format));
            GetFFLogger().Log(this, llInfo, rtl::Trim(line));
        }
        return;
    }
    Faudio_sample_fmt = lib::av_get_sample_fmt(value.c_str());
}

int64_t TCustomFFmpeg::ParseTimeOption(const std::string& name, const std::string& value,
                                       bool isDuration) {
    int64_t time = 0;
    if (lib::av_parse_time(&time, value.c_str(), isDuration ? 1 : 0) < 0)
        throw FFmpegException(rtl::Format("Invalid %s specification for %s: %s",
                                          isDuration ? "duration" : "date", name, value));
    return time;
}

void TCustomFFmpeg::AddMetadataText(const std::string& value) {
    size_t equals = value.find('=');
    if (equals == std::string::npos) throw FFmpegException("Missing =");
    AddMetadata(value.substr(0, equals), value.substr(equals + 1));
}

void TCustomFFmpeg::AddStreamMap(const std::string& value) {
    if (Fnb_stream_maps >= int(Fstream_maps.size()))
        throw FFmpegException(
            rtl::Format("Too many stream maps (at most %d)", int(Fstream_maps.size())));
    TAVStreamMap map;
    const char* p = value.c_str();
    map.file_index = ReadInt(p);
    SkipOne(p);
    map.stream_index = ReadInt(p);
    if (*p != '\0') {
        SkipOne(p);
        map.sync_file_index = ReadInt(p);
        SkipOne(p);
        map.sync_stream_index = ReadInt(p);
    } else {
        map.sync_file_index = map.file_index;
        map.sync_stream_index = map.stream_index;
    }
    Fstream_maps[size_t(Fnb_stream_maps++)] = map;
}

void TCustomFFmpeg::AddMetadataMap(const std::string& value) {
    if (Fnb_meta_data_maps >= int(Fmeta_data_maps.size()))
        throw FFmpegException(
            rtl::Format("Too many metadata maps (at most %d)", int(Fmeta_data_maps.size())));
    TAVMetaDataMap map;
    const char* p = value.c_str();
    map.out_file = ReadInt(p);
    SkipOne(p);
    map.in_file = ReadInt(p);
    Fmeta_data_maps[size_t(Fnb_meta_data_maps++)] = map;
}

void TCustomFFmpeg::SetInputTimeScale(const std::string& value) {
    const char* p = value.c_str();
    int stream = ReadInt(p);
    SkipOne(p);
    // The C library's reading: "." whatever the locale, as the process keeps LC_NUMERIC "C".
    double scale = std::strtod(p, nullptr);
    if (stream < 0 || stream >= kMaxStreams)
        throw FFmpegException(rtl::Format("stream index over MAX_STREAMS(%d)", kMaxStreams));
    if (Fnb_input_files >= FMaxFiles)
        throw FFmpegException(rtl::Format("Too many input files (at most %d)", FMaxFiles));
    Finput_files_ts_scale[size_t(Fnb_input_files)][size_t(stream)] = scale;
}

void TCustomFFmpeg::SetStreamId(const std::string& name, const std::string& value) {
    if (value.empty()) return;
    size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == value.size())
        throw FFmpegException(rtl::Format(
            "Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"", value,
            name));
    int index = rtl::StrToInt(value.substr(0, colon));
    int id = rtl::StrToInt(value.substr(colon + 1));
    if (index < 0 || index >= kMaxStreams)
        throw FFmpegException(rtl::Format("stream index over MAX_STREAMS(%d)", kMaxStreams));
    Fstreamid_map[size_t(index)] = id;
}

void TCustomFFmpeg::AddBitstreamFilter(const std::string& name, const std::string& value) {
    if (value.empty() || value[0] == '=') return;
    std::string filterName = value.substr(0, value.find('='));
    const AVBitStreamFilter* filter = lib::av_bsf_get_by_name(filterName.c_str());
    if (filter == nullptr)
        throw FFmpegException(rtl::Format("Unknown bitstream filter %s", rtl::Trim(value)));
    if (name[0] == 'v')
        Fvideo_bitstream_filters.push_back(filter);
    else if (name[0] == 'a')
        Faudio_bitstream_filters.push_back(filter);
    else
        Fsubtitle_bitstream_filters.push_back(filter);
}

void TCustomFFmpeg::AddVideoHook(const std::string& value) {
    if (FrameHookAdd(FFirstHook, SplitHookWords(value)) != 0)
        throw FFmpegException("Failed to add video hook function: " + value);
    Fusing_vhook = true;
}

void TCustomFFmpeg::SetVstats() {
    Fvstats_filename = rtl::Format("%svstats_%s.log", sys::GetAppPath(),
                                   rtl::FormatDateTime("hhnnss", rtl::Now()));
}

void TCustomFFmpeg::SetMatrix(std::optional<std::array<uint16_t, 64>>& matrix,
                              const std::string& value) {
    matrix.emplace();
    matrix->fill(0);
    const char* p = value.c_str();
    for (int i = 0;; ++i) {
        (*matrix)[size_t(i)] = uint16_t(std::atoi(p));
        if (i == 63) break;
        p = std::strchr(p, ',');
        if (p == nullptr)
            throw FFmpegException(
                rtl::Format("Syntax error in matrix \"%s\" at coeff %d", value, i));
        ++p;
    }
}

void TCustomFFmpeg::SetVideoQScale(double value) {
    if (!(value > 0 && value <= 255)) throw FFmpegException("qscale must be > 0.0 and <= 255");
    Fvideo_qscale = float(value);
}

// The libraries no longer take a motion-estimation threshold (nor the motion-vector debug it
// turned on at the input): the value is kept for the option's sake.
void TCustomFFmpeg::SetMeThreshold(int value) {
    Fme_threshold = value;
    if (value != 0)
        LogOnce(FLoggedMeThreshold, llWarning,
                "me_threshold has no effect with this version of the libraries");
}

// Decoders no longer tell a picture's quantiser, so the same quality is only approached.
void TCustomFFmpeg::SetSameQuality(bool value) {
    Fsame_quality = value;
    if (value)
        LogOnce(FLoggedSameQuality, llWarning,
                "sameq is approximate with this version of the libraries");
}

void TCustomFFmpeg::SetPassNumber(int value) {
    if (value != 1 && value != 2) throw FFmpegException("pass number can be only 1 or 2");
    Fdo_pass = value;
}

}  // namespace media
