// Creating the outputs of a job: container, streams with their encoder settings, the file.
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <string_view>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "media/libs/media_utils.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

// Encoder names of an older generation of the libraries and the encoder now standing in.
struct TEncoderAlias {
    const char* Name;
    const char* Encoder;
};
constexpr TEncoderAlias kEncoderAliases[] = {{"libfaac", "aac"}, {"msmpeg4v1", "msmpeg4v2"}};
std::atomic<bool> gAliasLogged[std::size(kEncoderAliases)];

// Codecs that a container has no place for, and the encoder written in their stead, so that a
// preset naming both still gives a file.
struct TContainerSubstitute {
    AVCodecID Codec;
    std::array<std::string_view, 5> Muxers;  // unused places empty
    const char* Encoder;
};
constexpr TContainerSubstitute kContainerSubstitutes[] = {
    // The MPEG program stream muxers refuse AAC.
    {AV_CODEC_ID_AAC, {"mpeg", "vob", "svcd", "vcd", "dvd"}, "mp2"},
    // MP4 knows no tag for the Microsoft variants of MPEG-4 part 2: the standard one.
    {AV_CODEC_ID_MSMPEG4V2, {"mp4"}, "mpeg4"},
    {AV_CODEC_ID_MSMPEG4V3, {"mp4"}, "mpeg4"},
};
std::atomic<bool> gSubstituteLogged[std::size(kContainerSubstitutes)];

// One "start,end,q" triple after another, separated by "/".
std::vector<RcOverride> ParseRcOverride(const std::string& text) {
    std::vector<RcOverride> overrides;
    const char* p = text.c_str();
    auto readFrame = [&p](int& value) {
        char* end = nullptr;
        long number = std::strtol(p, &end, 10);
        // No digits, or nothing after them to separate the next number.
        if (end == p || *end == '\0') throw FFmpegException("error parsing rc_override");
        value = int(number);
        p = end + 1;
    };
    while (true) {
        RcOverride entry{};
        readFrame(entry.start_frame);
        readFrame(entry.end_frame);
        int q = int(std::strtol(p, nullptr, 10));
        if (q > 0) {
            entry.qscale = q;
            entry.quality_factor = 1.0f;
        } else {
            entry.qscale = 0;
            entry.quality_factor = float(-q) / 100;
        }
        overrides.push_back(entry);
        p = std::strchr(p, '/');
        if (p == nullptr) break;
        ++p;
    }
    return overrides;
}

// A copy in library memory, which the codec frees.
template <class T>
T* LibraryCopy(const T* values, size_t count) {
    auto* copy = static_cast<T*>(lib::av_malloc(count * sizeof(T)));
    if (copy == nullptr) throw FFmpegException("Could not alloc stream");
    std::copy(values, values + count, copy);
    return copy;
}

// "creation_time" in the form the muxers read: ISO 8601, UTC.
std::string CreationTimeText(int64_t unixSeconds) {
    std::time_t time = std::time_t(unixSeconds);
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[64];
    std::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
    return text;
}

bool HasPrivateOption(const AVClass* privClass, const char* name) {
    if (privClass == nullptr) return false;
    return lib::av_opt_find(&privClass, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

}  // namespace

// --- streams ---

const AVCodec* TCustomFFmpeg::FindOutputEncoder(std::optional<std::string>& name,
                                                AVFormatContext* oc, AVMediaType type, int strict) {
    if (!name) {
        // Also for subtitles: the format's own codec, as for pictures and sound.
        AVCodecID id = lib::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, type);
        return id == AV_CODEC_ID_NONE ? nullptr : lib::avcodec_find_encoder(id);
    }
    if (lib::avcodec_find_encoder_by_name(name->c_str()) == nullptr) {
        for (size_t i = 0; i < std::size(kEncoderAliases); ++i) {
            if (*name != kEncoderAliases[i].Name) continue;
            if (!gAliasLogged[i].exchange(true))
                GetFFLogger().Log(this, llInfo,
                                  rtl::Format("Encoder '%s' is not available, using '%s'", *name,
                                              kEncoderAliases[i].Encoder));
            name = kEncoderAliases[i].Encoder;
            break;
        }
    }
    AVCodecID id = AV_CODEC_ID_NONE;
    if (!FindCodecByName(name, type, id, strict, true)) throw FFmpegException(FLastErrMsg);
    const std::string_view muxer = oc->oformat->name;
    for (size_t i = 0; i < std::size(kContainerSubstitutes); ++i) {
        const TContainerSubstitute& substitute = kContainerSubstitutes[i];
        if (substitute.Codec != id ||
            std::ranges::find(substitute.Muxers, muxer) == substitute.Muxers.end())
            continue;
        if (!gSubstituteLogged[i].exchange(true))
            GetFFLogger().Log(
                this, llInfo,
                rtl::Format("Encoder '%s' cannot be stored in format '%s', using '%s'", *name,
                            oc->oformat->name, substitute.Encoder));
        name = substitute.Encoder;
        if (!FindCodecByName(name, type, id, strict, true)) throw FFmpegException(FLastErrMsg);
        break;
    }
    return lib::avcodec_find_encoder_by_name(name->c_str());
}

AVStream* TCustomFFmpeg::NewOutputStream(AVFormatContext* oc, int slot, AVMediaType type,
                                         const AVCodec* codec, TBitstreamFilterChain& filters,
                                         uint32_t codecTag) {
    int index = int(oc->nb_streams);
    // The per-stream tables have room for kMaxStreams streams per output.
    if (index >= kMaxStreams)
        throw FFmpegException(rtl::Format("stream index over MAX_STREAMS(%d)", kMaxStreams));
    AVStream* st = lib::avformat_new_stream(oc, nullptr);
    if (st == nullptr) throw FFmpegException("Could not alloc stream");
    st->id = Fstreamid_map[size_t(index)];
    st->codecpar->codec_type = type;
    st->codecpar->codec_tag = codecTag;
    Fbitstream_filters[size_t(slot)][size_t(index)] = std::move(filters);
    filters.clear();
    // Written for every stream, so that no encoder of an earlier output is left in the slot.
    size_t codecSlot = size_t(Fnb_ocodecs);
    if (codecSlot >= Foutput_codecs.size()) Foutput_codecs.resize(codecSlot + 1);
    Foutput_codecs[codecSlot] = codec;
    return st;
}

namespace {

// The encoder context of a new stream, registered with its output at once so that every way
// out of the set-up frees it.
AVCodecContext* NewStreamContext(std::vector<AVCodecContext*>& contexts, const AVCodec* codec,
                                 AVMediaType type) {
    AVCodecContext* enc = lib::avcodec_alloc_context3(codec);
    if (enc == nullptr) throw FFmpegException("Could not alloc stream");
    contexts.push_back(enc);
    enc->codec_type = type;
    return enc;
}

// The option state of one stream type: a new stream of that type takes it, then resets it for
// the next stream.
struct TStreamTypeOptions {
    std::optional<std::string>& CodecName;
    int& StreamCopy;
    TBitstreamFilterChain& BitstreamFilters;
    uint32_t& CodecTag;
    std::string& Language;
    bool& Disable;
    int ParameterFlag;  // of the codec options that apply to the type
};

}  // namespace

void TCustomFFmpeg::NewStream(AVFormatContext* oc, int slot, AVMediaType type) {
    auto typeOptions = [&]() -> TStreamTypeOptions {
        switch (type) {
            case AVMEDIA_TYPE_VIDEO:
                return {Fvideo_codec_name,      Fvideo_stream_copy, Fvideo_bitstream_filters,
                        Fvideo_codec_tag,       Fvideo_language,    Fvideo_disable,
                        AV_OPT_FLAG_VIDEO_PARAM};
            case AVMEDIA_TYPE_AUDIO:
                return {Faudio_codec_name,      Faudio_stream_copy, Faudio_bitstream_filters,
                        Faudio_codec_tag,       Faudio_language,    Faudio_disable,
                        AV_OPT_FLAG_AUDIO_PARAM};
            default:
                return {Fsubtitle_codec_name,        Fsubtitle_stream_copy,
                        Fsubtitle_bitstream_filters, Fsubtitle_codec_tag,
                        Fsubtitle_language,          Fsubtitle_disable,
                        AV_OPT_FLAG_SUBTITLE_PARAM};
        }
    };
    TStreamTypeOptions own = typeOptions();
    const AVCodecContext* options = FOptions.avcodec_opts[type];
    int strict = options != nullptr ? options->strict_std_compliance : 0;
    bool copy = own.StreamCopy != 0;
    const AVCodec* codec = nullptr;
    AVCodecID codecId = AV_CODEC_ID_NONE;
    std::vector<RcOverride> overrides;
    try {
        if (!copy) {
            codec = FindOutputEncoder(own.CodecName, oc, type, strict);
            codecId = codec != nullptr
                          ? codec->id
                          : lib::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, type);
            if (type == AVMEDIA_TYPE_VIDEO && Fvideo_rc_override_string)
                overrides = ParseRcOverride(*Fvideo_rc_override_string);
        }
    } catch (...) {
        own.CodecName.reset();
        // A refused picture stream leaves its language for the next one.
        if (type != AVMEDIA_TYPE_VIDEO) own.Language.clear();
        throw;
    }

    AVStream* st = NewOutputStream(oc, slot, type, codec, own.BitstreamFilters, own.CodecTag);
    AVCodecContext* enc = NewStreamContext(Foutput_codec_contexts[size_t(slot)], codec, type);
    std::vector<TOutputStreamSetup>& setups = Foutput_stream_setups[size_t(slot)];
    TOutputStreamSetup& setup = setups.emplace_back();
    // Subtitle encoders keep the context's default.
    if (type != AVMEDIA_TYPE_SUBTITLE) enc->thread_count = Fthread_count;
    enc->codec_tag = own.CodecTag;
    if (!copy)
        ApplyCodecOptions(FOptions, enc, FOptions.avcodec_opts[type],
                          own.ParameterFlag | AV_OPT_FLAG_ENCODING_PARAM);

    if (type == AVMEDIA_TYPE_VIDEO) {
        SetUpVideoEncoder(oc, st, enc, codec, codecId, copy, overrides, setup.Quality);
    } else if (type == AVMEDIA_TYPE_AUDIO) {
        SetUpAudioEncoder(oc, enc, codec, codecId, copy, setup.Quality);
    } else if (!copy) {
        enc->codec_id = codecId;
        // Subtitle encoders want a time base too now; their times are microseconds.
        enc->time_base = AV_TIME_BASE_Q;
    }
    if (copy)
        setup.StreamCopy = true;
    else
        lib::av_dict_copy(&setup.CodecOptions, FOptions.codec_private_opts[type], 0);

    ++Fnb_ocodecs;
    if (!own.Language.empty()) {
        lib::av_dict_set(&st->metadata, "language", own.Language.c_str(), 0);
        own.Language.clear();
    }
    own.Disable = false;
    own.CodecName.reset();
    own.StreamCopy = 0;
    if (type == AVMEDIA_TYPE_VIDEO) Fframe_pix_fmt = AV_PIX_FMT_NONE;
}

void TCustomFFmpeg::SetUpVideoEncoder(AVFormatContext* oc, AVStream* st, AVCodecContext* enc,
                                      const AVCodec* codec, AVCodecID codecId, bool copy,
                                      const std::vector<RcOverride>& overrides, float& quality) {
    bool globalHeader =
        (Fvideo_global_header & 1) != 0 ||
        (Fvideo_global_header == 0 && (oc->oformat->flags & AVFMT_GLOBALHEADER) != 0);
    AVCodecContext* videoOptions = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    if (globalHeader) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (videoOptions != nullptr) videoOptions->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if ((Fvideo_global_header & 2) != 0) {
        enc->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
        if (videoOptions != nullptr) videoOptions->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    }

    double aspect = int64_t(Fframe_width) * Fframe_height != 0
                        ? double(Fframe_aspect_ratio) * Fframe_height / Fframe_width
                        : double(Fframe_aspect_ratio) * 3 / 4;
    AVRational sampleAspect = lib::av_d2q(aspect, 255);
    st->sample_aspect_ratio = sampleAspect;
    enc->sample_aspect_ratio = sampleAspect;
    if (copy) return;

    AVRational fps = Fframe_rate.num != 0 ? Fframe_rate : AVRational{25, 1};
    enc->codec_id = codecId;
    if (codec != nullptr && codec->supported_framerates != nullptr && !Fforce_fps)
        fps = codec->supported_framerates[lib::av_find_nearest_q_idx(fps,
                                                                     codec->supported_framerates)];
    enc->time_base = AVRational{fps.den, fps.num};
    enc->framerate = fps;
    enc->width = Fframe_width;
    enc->height = Fframe_height;
    enc->pix_fmt = Fframe_pix_fmt;
    ChoosePixelFormat(enc, codec);
    if (Fintra_only) enc->gop_size = 0;
    if (Fvideo_qscale != 0 || Fsame_quality) {
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        quality = float(FF_QP2LAMBDA) * Fvideo_qscale;
        enc->global_quality = int(quality);
    }
    if (Fintra_matrix) enc->intra_matrix = LibraryCopy(Fintra_matrix->data(), 64);
    if (Finter_matrix) enc->inter_matrix = LibraryCopy(Finter_matrix->data(), 64);
    if (!overrides.empty()) {
        enc->rc_override = LibraryCopy(overrides.data(), overrides.size());
        enc->rc_override_count = int(overrides.size());
    }
    if (enc->rc_initial_buffer_occupancy == 0)
        enc->rc_initial_buffer_occupancy = enc->rc_buffer_size * 3 / 4;
    enc->intra_dc_precision = Fintra_dc_precision - 8;
    if (Fdo_psnr) enc->flags |= AV_CODEC_FLAG_PSNR;
    if (Fdo_pass == 1) enc->flags |= AV_CODEC_FLAG_PASS1;
    if (Fdo_pass == 2) enc->flags |= AV_CODEC_FLAG_PASS2;
}

void TCustomFFmpeg::SetUpAudioEncoder(AVFormatContext* oc, AVCodecContext* enc,
                                      const AVCodec* codec, AVCodecID codecId, bool copy,
                                      float& quality) {
    if ((oc->oformat->flags & AVFMT_GLOBALHEADER) != 0) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVCodecContext* audioOptions = FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO];
        if (audioOptions != nullptr) audioOptions->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }

    enc->sample_rate = Faudio_sample_rate;
    // A layout that names other channels than asked for gives way to the usual layout of that
    // count: the encoders refuse a layout without channel names.
    lib::av_channel_layout_uninit(&enc->ch_layout);
    if (Fchannel_layout != 0 && std::popcount(uint64_t(Fchannel_layout)) == Faudio_channels)
        lib::av_channel_layout_from_mask(&enc->ch_layout, uint64_t(Fchannel_layout));
    else
        lib::av_channel_layout_default(&enc->ch_layout, Faudio_channels);
    if (!copy) {
        enc->codec_id = codecId;
        if (Faudio_qscale > -99999) {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            quality = float(FF_QP2LAMBDA) * Faudio_qscale;
            enc->global_quality = int(quality);
        }
        enc->sample_fmt = Faudio_sample_fmt;
        ChooseSampleFormat(enc, codec);
        ChooseSampleRate(enc, codec);
    }
    // Samples are counted in the rate the encoder really runs at.
    enc->time_base = AVRational{1, enc->sample_rate > 0 ? enc->sample_rate : Faudio_sample_rate};
}

namespace {

// The slot that keeps the bookkeeping of the last output: a joined output keeps it in its
// first slot.
int LastOutputSlot(bool joinMode, int outputCount) {
    return joinMode ? 0 : outputCount - 1;
}

}  // namespace

void TCustomFFmpeg::AddStream(AVMediaType type) {
    if (Fnb_output_files <= 0) throw FFmpegException("At least one output file must be specified");
    int slot = LastOutputSlot(FJoinMode, Fnb_output_files);
    NewStream(Foutput_files[size_t(slot)], slot, type);
}

void TCustomFFmpeg::CheckInputStreamTypes(bool firstOnly, bool& hasVideo, bool& hasAudio,
                                          bool& hasSubtitle) {
    hasVideo = hasAudio = hasSubtitle = false;
    int files = firstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (int i = 0; i < files; ++i) {
        const AVFormatContext* ic = Finput_files[size_t(i)];
        for (unsigned j = 0; j < ic->nb_streams; ++j) {
            AVMediaType type = ic->streams[j]->codecpar->codec_type;
            if (type < AVMEDIA_TYPE_UNKNOWN || type > AVMEDIA_TYPE_ATTACHMENT)
                throw FFmpegException("invalid codec_type of input file");
            // Pictures without a size are no video an output could take.
            hasVideo = hasVideo || (type == AVMEDIA_TYPE_VIDEO && MappedVideoStream(ic) >= 0);
            hasAudio = hasAudio || type == AVMEDIA_TYPE_AUDIO;
            hasSubtitle = hasSubtitle || type == AVMEDIA_TYPE_SUBTITLE;
        }
    }
}

void TCustomFFmpeg::SetupJoin() {
    FJoinMode = true;
    int64_t total = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        int64_t duration = Finput_files[size_t(i)]->duration;
        if (duration != AV_NOPTS_VALUE && duration > 0) total += duration;
    }
    FTotalOutputDuration = total == 0 ? -1 : total;
    AVFormatContext* oc = Foutput_files[size_t(Fnb_output_files - 1)];
    for (int i = 1; i < Fnb_input_files; ++i) Foutput_files[size_t(Fnb_output_files++)] = oc;
}

// --- the file ---

int TCustomFFmpeg::OpenOutputFile(const std::string& fileName, bool join) {
    if (FJoinMode) {
        FLastErrMsg = "Cannot join more than one output file.";
        return -1;
    }
    int n = Fnb_output_files;
    // A joined output fills the output table from its first entry: it must be the only one.
    if (join && Fnb_input_files > 1 && n > 0) {
        FLastErrMsg = "Cannot join more than one output file.";
        return -1;
    }
    if (n >= FMaxFiles) {
        FLastErrMsg = rtl::Format("max output files %d reached", FMaxFiles);
        return -1;
    }
    FEnableFilter = !Fvfilters.empty();

    std::string libraryName = LibraryFileName(fileName);
    const AVOutputFormat* format = nullptr;
    if (!Flast_asked_format.empty()) {
        format = lib::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        if (format == nullptr) {
            FLastErrMsg = rtl::Format(
                "Requested output format '%s' is not a suitable output format", Flast_asked_format);
            return -1;
        }
        Flast_asked_format.clear();
    } else {
        format = lib::av_guess_format(nullptr, libraryName.c_str(), nullptr);
        if (format == nullptr) {
            FLastErrMsg = rtl::Format("Unable to find a suitable output format for '%s'", fileName);
            return -1;
        }
    }

    AVFormatContext* oc = nullptr;
    if (lib::avformat_alloc_output_context2(&oc, format, nullptr, libraryName.c_str()) < 0 ||
        oc == nullptr)
        throw FFmpegException("avformat_alloc_context failed");

    int firstCodec = Fnb_ocodecs;
    bool registered = false;
    auto release = [&] {
        for (AVCodecContext*& enc : Foutput_codec_contexts[size_t(n)])
            lib::avcodec_free_context(&enc);
        Foutput_codec_contexts[size_t(n)].clear();
        for (TOutputStreamSetup& setup : Foutput_stream_setups[size_t(n)])
            lib::av_dict_free(&setup.CodecOptions);
        Foutput_stream_setups[size_t(n)].clear();
        lib::av_dict_free(&Fmux_options[size_t(n)]);
        for (TBitstreamFilterChain& chain : Fbitstream_filters[size_t(n)]) chain.clear();
        // The encoders named for this output must not be taken by the next one.
        for (int i = firstCodec; i < Fnb_ocodecs; ++i) Foutput_codecs[size_t(i)] = nullptr;
        Fnb_ocodecs = firstCodec;
        lib::avformat_free_context(oc);
        if (registered) {
            Foutput_files[size_t(n)] = nullptr;
            Fnb_output_files = n;
        }
    };
    auto fail = [&](const std::string& message) {
        FLastErrMsg = message;
        release();
        return -1;
    };

    try {
        bool useVideo = Fvideo_stream_copy != 0 || format->video_codec != AV_CODEC_ID_NONE ||
                        Fvideo_codec_name.has_value();
        bool useAudio = Faudio_stream_copy != 0 || format->audio_codec != AV_CODEC_ID_NONE ||
                        Faudio_codec_name.has_value();
        bool useSubtitle = Fsubtitle_stream_copy != 0 ||
                           format->subtitle_codec != AV_CODEC_ID_NONE ||
                           Fsubtitle_codec_name.has_value();
        if (Fnb_input_files > 0) {
            bool hasVideo = false;
            bool hasAudio = false;
            bool hasSubtitle = false;
            try {
                CheckInputStreamTypes(join, hasVideo, hasAudio, hasSubtitle);
            } catch (const std::exception& e) {
                return fail(rtl::Format("check_audio_video_sub_inputs fail: %s", e.what()));
            }
            useVideo = useVideo && hasVideo;
            useAudio = useAudio && hasAudio;
            useSubtitle = useSubtitle && hasSubtitle;
        }
        if (Faudio_disable) useAudio = false;
        if (Fvideo_disable) useVideo = false;
        if (Fsubtitle_disable) useSubtitle = false;

        struct TStreamKind {
            bool Wanted;
            AVMediaType Type;
            const char* Failure;
        };
        const TStreamKind kinds[] = {
            {useVideo, AVMEDIA_TYPE_VIDEO, "new_video_stream fail: %s"},
            {useAudio, AVMEDIA_TYPE_AUDIO, "new_audio_stream fail: %s"},
            {useSubtitle, AVMEDIA_TYPE_SUBTITLE, "new_subtitle_stream fail: %s"},
        };
        for (const TStreamKind& kind : kinds) {
            if (!kind.Wanted) continue;
            try {
                NewStream(oc, n, kind.Type);
            } catch (const std::exception& e) {
                return fail(rtl::Format(kind.Failure, e.what()));
            }
        }

        // Of two pairs with one key, the one given first ends up in the file.
        for (auto pair = Fmetadata.rbegin(); pair != Fmetadata.rend(); ++pair)
            lib::av_dict_set(&oc->metadata, pair->Key.c_str(), pair->Value.c_str(), 0);
        Fmetadata.clear();
        if (Frecording_timestamp != 0)
            lib::av_dict_set(&oc->metadata, "creation_time",
                             CreationTimeText(Frecording_timestamp).c_str(), 0);

        Foutput_files[size_t(n)] = oc;
        Fnb_output_files = n + 1;
        registered = true;

        if ((format->flags & AVFMT_NEEDNUMBER) != 0 && !lib::av_filename_number_test(oc->url))
            return fail(ErrorCodeText(FileNameFromLibrary(oc->url), AVERROR(EDOM)));

        // Only asked: the file is opened, and an existing one replaced, when the run writes it.
        if ((format->flags & AVFMT_NOFILE) == 0) {
            const std::string refusal = CheckOutputName(fileName);
            if (!refusal.empty()) return fail(refusal);
        }

        // The muxing settings: the generic ones on the context, the private ones of this muxer
        // wait for its header.
        oc->max_delay = int(Fmux_max_delay * 1000000);
        AVDictionary*& muxOptions = Fmux_options[size_t(n)];
        const AVDictionaryEntry* entry = nullptr;
        while ((entry = lib::av_dict_get(FOptions.format_private_opts, "", entry,
                                         AV_DICT_IGNORE_SUFFIX)) != nullptr) {
            if (HasPrivateOption(format->priv_class, entry->key))
                lib::av_dict_set(&muxOptions, entry->key, entry->value, 0);
        }
        if (HasPrivateOption(format->priv_class, "preload"))
            lib::av_dict_set_int(&muxOptions, "preload", int64_t(Fmux_preload * 1000000), 0);
        if (HasPrivateOption(format->priv_class, "loop"))
            lib::av_dict_set_int(&muxOptions, "loop", Floop_output, 0);
        oc->flags |= AVFMT_FLAG_NONBLOCK;
        ApplyCodecOptions(FOptions, oc, FOptions.avformat_opts, AV_OPT_FLAG_ENCODING_PARAM);
        Fstreamid_map.fill(0);
    } catch (...) {
        release();
        throw;
    }

    if (join && Fnb_input_files > 1) SetupJoin();
    return Fnb_output_files;
}

// --- what the encoders accept ---

void TCustomFFmpeg::ChoosePixelFormat(AVCodecContext* enc, const AVCodec* codec) {
    if (codec == nullptr || codec->pix_fmts == nullptr) return;
    for (const AVPixelFormat* format = codec->pix_fmts; *format != AV_PIX_FMT_NONE; ++format)
        if (*format == enc->pix_fmt) return;
    bool lenientMjpeg = enc->codec_id == AV_CODEC_ID_MJPEG &&
                        enc->strict_std_compliance <= FF_COMPLIANCE_UNOFFICIAL &&
                        (enc->pix_fmt == AV_PIX_FMT_YUV420P || enc->pix_fmt == AV_PIX_FMT_YUV422P);
    if (!lenientMjpeg) enc->pix_fmt = codec->pix_fmts[0];
}

void TCustomFFmpeg::ChooseSampleFormat(AVCodecContext* enc, const AVCodec* codec) {
    if (codec == nullptr || codec->sample_fmts == nullptr) return;
    for (const AVSampleFormat* format = codec->sample_fmts; *format != AV_SAMPLE_FMT_NONE; ++format)
        if (*format == enc->sample_fmt) return;
    enc->sample_fmt = codec->sample_fmts[0];
}

void TCustomFFmpeg::ChooseSampleRate(AVCodecContext* enc, const AVCodec* codec) {
    if (codec == nullptr || codec->supported_samplerates == nullptr) return;
    int best = 0;
    int bestDistance = INT32_MAX;
    for (const int* rate = codec->supported_samplerates; *rate != 0; ++rate) {
        int distance = std::abs(enc->sample_rate - *rate);
        if (distance < bestDistance) {
            best = *rate;
            bestDistance = distance;
        }
    }
    if (best != enc->sample_rate)
        GetFFLogger().Log(
            this, llWarning,
            rtl::Format("Requested sampling rate unsupported using closest supported (%d)", best));
    enc->sample_rate = best;
}

}  // namespace media
