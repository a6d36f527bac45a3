// The transcoder's option vocabulary: the exception its options raise, the stream and metadata
// maps, the post-hook set, and the reading of an option text into name and value pairs.
//
// Plain values and pure functions; safe on any thread. The option state itself and ParseOption
// belong to the engine (ffmpeg_engine.h).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "media/libs/ff_utils.h"
#include "media/libs/ffmpeg_api.h"
#include "platform/rtl/exception.h"

namespace media {

// What the engine's options and its set-up raise, with a fixed English text.
class FFmpegException : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// Streams per file that the per-stream tables hold (the command-line tool's MAX_STREAMS).
inline constexpr int kMaxStreams = 20;
// The largest file capacity of one job.
inline constexpr int kMaxFilesLimit = 512;

struct TAVStreamMap {
    int file_index = 0;
    int stream_index = 0;
    int sync_file_index = 0;
    int sync_stream_index = 0;
};

struct TAVMetaDataMap {
    int out_file = 0;
    int in_file = 0;
};

enum TPostHook { phPreview, phBitmap, phHBITMAP };

// Set of TPostHook; bit n is the member of ordinal n.
class TPostHooks {
public:
    constexpr TPostHooks() = default;
    constexpr TPostHooks(std::initializer_list<TPostHook> hooks) {
        for (TPostHook hook : hooks) FBits = uint8_t(FBits | (1u << hook));
    }
    constexpr bool Contains(TPostHook hook) const { return (FBits & (1u << hook)) != 0; }
    constexpr void Include(TPostHook hook) { FBits = uint8_t(FBits | (1u << hook)); }
    constexpr void Exclude(TPostHook hook) { FBits = uint8_t(FBits & ~(1u << hook)); }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr bool operator==(const TPostHooks&) const = default;

private:
    uint8_t FBits = 0;
};

// The bitstream filters one stream passes its packets through, in order.
using TBitstreamFilterChain = std::vector<const AVBitStreamFilter*>;

struct TMetadataPair {
    std::string Key;
    std::string Value;
};

// The option state of one job, with each field's value after a reset. Text that the libraries
// receive is kept as it is given (UTF-8); "nil" of a text is an empty optional.
struct TFFmpegOptionState {
    std::string Flast_asked_format;
    std::array<int, kMaxStreams> Fstreamid_map{};
    int Fframe_width = 0;
    int Fframe_height = 0;
    float Fframe_aspect_ratio = 0;
    AVPixelFormat Fframe_pix_fmt = AV_PIX_FMT_NONE;
    AVSampleFormat Faudio_sample_fmt = AV_SAMPLE_FMT_NONE;
    int Fframe_topBand = 0;
    int Fframe_bottomBand = 0;
    int Fframe_leftBand = 0;
    int Fframe_rightBand = 0;
    // Video, audio, data, subtitle.
    std::array<int, 4> Fmax_frames{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX};
    AVRational Fframe_rate{0, 0};
    float Fvideo_qscale = 0;
    std::optional<std::array<uint16_t, 64>> Fintra_matrix;
    std::optional<std::array<uint16_t, 64>> Finter_matrix;
    std::optional<std::string> Fvideo_rc_override_string;
    bool Fvideo_disable = false;
    int Fvideo_discard = 0;
    std::optional<std::string> Fvideo_codec_name;
    uint32_t Fvideo_codec_tag = 0;
    std::string Fvideo_language;
    bool Fsame_quality = false;
    bool Fdo_deinterlace = false;
    int Ftop_field_first = -1;
    int Fme_threshold = 0;
    int Fintra_dc_precision = 8;
    bool Floop_input = false;
    int Floop_output = -1;
    bool Fqp_hist = false;
    std::string Fvfilters;
    bool FEnableFilter = false;
    bool Fintra_only = false;
    int Faudio_sample_rate = 44100;
    int64_t Fchannel_layout = 0;
    float Faudio_qscale = -99999;
    bool Faudio_disable = false;
    int Faudio_channels = 2;
    std::optional<std::string> Faudio_codec_name;
    uint32_t Faudio_codec_tag = 0;
    std::string Faudio_language;
    bool Fsubtitle_disable = false;
    std::optional<std::string> Fsubtitle_codec_name;
    std::string Fsubtitle_language;
    uint32_t Fsubtitle_codec_tag = 0;
    float Fmux_preload = 0.5f;
    float Fmux_max_delay = 0.7f;
    int64_t Frecording_time = INT64_MAX;
    int64_t Fstart_time = 0;
    int64_t Frecording_timestamp = 0;
    int64_t Finput_ts_offset = 0;
    bool Fdo_hex_dump = false;
    bool Fdo_pkt_dump = false;
    bool Fdo_psnr = false;
    int Fdo_pass = 0;
    std::string Fpass_logfilename_prefix;
    int Faudio_stream_copy = 0;
    int Fvideo_stream_copy = 0;
    int Fsubtitle_stream_copy = 0;
    int Fvideo_sync_method = -1;
    int Faudio_sync_method = 0;
    float Faudio_drift_threshold = 0.1f;
    bool Fcopy_ts = false;
    bool Fopt_shortest = false;
    int Fvideo_global_header = 0;
    std::optional<std::string> Fvstats_filename;
    std::FILE* Fvstats_file = nullptr;
    int Fopt_programid = 0;
    int Fcopy_initial_nonkeyframes = 0;
    bool Frate_emu = false;
    int Fvideo_channel = 0;
    std::optional<std::string> Fvideo_standard;
    int Faudio_volume = 256;
    bool Fexit_on_error = false;
    bool Fusing_vhook = false;
    int Fverbose = 1;
    int Fthread_count = 1;
    bool Finput_sync = false;
    int64_t Flimit_filesize = 0;
    bool Fforce_fps = false;
    int Fpgmyuv_compatibility_hack = 0;
    float Fdts_delta_threshold = 10;
    TBitstreamFilterChain Fvideo_bitstream_filters;
    TBitstreamFilterChain Faudio_bitstream_filters;
    TBitstreamFilterChain Fsubtitle_bitstream_filters;
    int Fsws_flags = SWS_BICUBIC;
    TFFOptions FOptions;
};

struct TExtOption {
    std::string Name;  // lower-cased (A-Z only) unless asked otherwise
    std::string Value;
};

// An option text as the option records carry it: trimmed; CR LF, lone CR and the exact text
// "<CRLF>" end a line; each line is a name (before the first "=") and a value (all after it).
// Lines are not trimmed, so spaces around "=" belong to the name or the value.
std::vector<TExtOption> SplitExtOptions(std::string_view text, bool lowerCaseNames = true);

}  // namespace media
