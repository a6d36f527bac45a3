// Opening the inputs of a job, and the look-up of codecs by name.
#include <cmath>
#include <utility>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

// Frees the option dictionary of an open call however the call ends.
struct TDictGuard {
    AVDictionary* Dict = nullptr;
    ~TDictGuard() { lib::av_dict_free(&Dict); }
};

bool FormatHasOption(const AVInputFormat* format, const char* name) {
    if (format == nullptr || format->priv_class == nullptr) return false;
    const AVClass* privClass = format->priv_class;
    return lib::av_opt_find(&privClass, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

void SetCaptureParameter(AVDictionary*& dict, const AVInputFormat* format, const char* name,
                         const std::string& value) {
    if (FormatHasOption(format, name)) lib::av_dict_set(&dict, name, value.c_str(), 0);
}

}  // namespace

int MappedVideoStream(const AVFormatContext* ic) {
    int best = -1;
    int64_t bestScore = 0;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVStream* st = ic->streams[i];
        const AVCodecParameters* par = st->codecpar;
        if (par->codec_type != AVMEDIA_TYPE_VIDEO || st->discard == AVDISCARD_ALL ||
            int64_t(par->width) * par->height == 0)
            continue;
        int64_t score = int64_t(par->width) * par->height +
                        ((st->disposition & AV_DISPOSITION_DEFAULT) != 0 ? 5000000 : 0);
        if ((st->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0) score = 1;
        if (score > bestScore) {
            best = int(i);
            bestScore = score;
        }
    }
    return best;
}

bool TCustomFFmpeg::FindCodecByName(const std::optional<std::string>& name, AVMediaType type,
                                    AVCodecID& codecId, int strict, bool encoder) {
    if (!name) {
        codecId = AV_CODEC_ID_NONE;
        return true;
    }
    const char* kind = encoder ? "encoder" : "decoder";
    const AVCodec* codec = encoder ? lib::avcodec_find_encoder_by_name(name->c_str())
                                   : lib::avcodec_find_decoder_by_name(name->c_str());
    if (codec == nullptr) {
        FLastErrMsg = rtl::Format("Unknown %s '%s'", kind, *name);
        return false;
    }
    if (codec->type != type) {
        FLastErrMsg = rtl::Format("Invalid %s type '%s'", kind, *name);
        return false;
    }
    if ((codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) != 0 &&
        strict > FF_COMPLIANCE_EXPERIMENTAL) {
        FLastErrMsg = rtl::Format(
            "%s '%s' is experimental and might produce bad results.\r\n"
            "Add '-strict experimental' if you want to use it.",
            kind, codec->name);
        const AVCodec* first =
            encoder ? lib::avcodec_find_encoder(codec->id) : lib::avcodec_find_decoder(codec->id);
        if (first != nullptr && (first->capabilities & AV_CODEC_CAP_EXPERIMENTAL) == 0)
            FLastErrMsg +=
                "\r\n" + rtl::Format("Or use the non experimental %s '%s'.", kind, first->name);
        return false;
    }
    codecId = codec->id;
    return true;
}

bool TCustomFFmpeg::OpenInputFile(const std::string& fileName) {
    int n = Fnb_input_files;
    if (n >= FMaxFiles) {
        FLastErrMsg = rtl::Format("max input files %d reached", FMaxFiles);
        return false;
    }

    const AVInputFormat* format = nullptr;
    if (!Flast_asked_format.empty()) {
        format = lib::av_find_input_format(Flast_asked_format.c_str());
        if (format == nullptr)
            throw FFmpegException(rtl::Format("Unknown input format: \"%s\"", Flast_asked_format));
        Flast_asked_format.clear();
    }

    AVFormatContext* ic = lib::avformat_alloc_context();
    if (ic == nullptr) throw FFmpegException("avformat_alloc_context failed");
    std::vector<AVCodecContext*> decoders;
    auto cleanup = [&] {
        Fvideo_codec_name.reset();
        Faudio_codec_name.reset();
        Fsubtitle_codec_name.reset();
        Fvideo_channel = 0;
        CloseInputCleanup(ic, decoders);
    };

    // What the capture parameters of the old open call carried, for the demuxers that take it.
    TDictGuard options;
    if (FOptions.format_private_opts != nullptr)
        lib::av_dict_copy(&options.Dict, FOptions.format_private_opts, 0);
    if (Fframe_rate.num != 0 && Fframe_rate.den != 0)
        SetCaptureParameter(options.Dict, format, "framerate",
                            rtl::Format("%d/%d", Fframe_rate.num, Fframe_rate.den));
    SetCaptureParameter(options.Dict, format, "sample_rate", std::to_string(Faudio_sample_rate));
    if (FormatHasOption(format, "ch_layout"))
        SetCaptureParameter(options.Dict, format, "ch_layout", rtl::Format("%dC", Faudio_channels));
    else
        SetCaptureParameter(options.Dict, format, "channels", std::to_string(Faudio_channels));
    if (Fframe_width > 0 && Fframe_height > 0)
        SetCaptureParameter(options.Dict, format, "video_size",
                            rtl::Format("%dx%d", Fframe_width, Fframe_height));
    if (Fframe_pix_fmt != AV_PIX_FMT_NONE) {
        const char* pixFmtName = lib::av_get_pix_fmt_name(Fframe_pix_fmt);
        if (pixFmtName != nullptr)
            SetCaptureParameter(options.Dict, format, "pixel_format", pixFmtName);
    }
    if (Fvideo_channel != 0)
        SetCaptureParameter(options.Dict, format, "channel", std::to_string(Fvideo_channel));
    if (Fvideo_standard) SetCaptureParameter(options.Dict, format, "standard", *Fvideo_standard);
    // Looping an input is an option of the image demuxers now.
    if (Floop_input) lib::av_dict_set(&options.Dict, "loop", "1", 0);

    ApplyCodecOptions(FOptions, ic, FOptions.avformat_opts, AV_OPT_FLAG_DECODING_PARAM);

    struct TForced {
        const std::optional<std::string>& Name;
        AVMediaType Type;
        AVCodecID& Id;
    };
    const TForced forced[] = {{Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, ic->video_codec_id},
                              {Faudio_codec_name, AVMEDIA_TYPE_AUDIO, ic->audio_codec_id},
                              {Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, ic->subtitle_codec_id}};
    const AVCodecContext* videoOptions = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    int strict = videoOptions != nullptr ? videoOptions->strict_std_compliance : 0;
    for (const TForced& codec : forced) {
        if (!FindCodecByName(codec.Name, codec.Type, codec.Id, strict, false)) {
            cleanup();
            return false;
        }
    }

    ic->flags |= AVFMT_FLAG_NONBLOCK;
    if (Fpgmyuv_compatibility_hack != 0) ic->video_codec_id = AV_CODEC_ID_PGMYUV;

    try {
        RememberInputFile(n, fileName);
        // On failure the library frees the context and clears `ic`.
        int result = media::OpenInputFile(&ic, fileName, format, &options.Dict);
        if (result < 0) {
            FLastErrMsg = ErrorCodeText(fileName, result);
            cleanup();
            return false;
        }

        if (Fopt_programid != 0) {
            bool found = false;
            for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
            for (unsigned i = 0; i < ic->nb_programs; ++i) {
                AVProgram* program = ic->programs[i];
                if (program->id != Fopt_programid) {
                    program->discard = AVDISCARD_ALL;
                    continue;
                }
                found = true;
                for (unsigned j = 0; j < program->nb_stream_indexes; ++j)
                    ic->streams[program->stream_index[j]]->discard = AVDISCARD_DEFAULT;
            }
            if (!found) {
                FLastErrMsg = "Specified program id not found";
                cleanup();
                return false;
            }
            Fopt_programid = 0;
        }

        const int infoResult = lib::avformat_find_stream_info(ic, nullptr);
        if (infoResult < 0 && Fverbose >= 0) {
            FLastErrMsg = rtl::Format("%s: could not find codec parameters", fileName);
            GetFFLogger().Log(this, llVerbose, FLastErrMsg);
            cleanup();
            return false;
        }

        int64_t timestamp = Fstart_time;
        if (ic->start_time != AV_NOPTS_VALUE) timestamp += ic->start_time;
        if (Fstart_time != 0) {
            if (lib::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0 && Fverbose > 0)
                GetFFLogger().Log(this, llVerbose,
                                  rtl::Format("%s: could not seek to position %0.3f", fileName,
                                              double(timestamp) / 1000000));
            Fstart_time = 0;
        }

        // The pictures an output takes over are those of the stream it will be given.
        const int mappedVideo = MappedVideoStream(ic);
        for (unsigned i = 0; i < ic->nb_streams; ++i) {
            AVStream* st = ic->streams[i];
            AVCodecParameters* par = st->codecpar;
            if (par->codec_type < AVMEDIA_TYPE_UNKNOWN || par->codec_type > AVMEDIA_TYPE_NB - 1)
                throw FFmpegException("invalid codec_type");
            // Streams carry no codec context any more: the job keeps one decoder per stream.
            AVCodecContext* dec = lib::avcodec_alloc_context3(nullptr);
            if (dec == nullptr) throw FFmpegException("avcodec_alloc_context3 failed");
            decoders.push_back(dec);
            if (lib::avcodec_parameters_to_context(dec, par) < 0)
                throw FFmpegException("avcodec_parameters_to_context failed");
            dec->thread_count = Fthread_count;

            switch (par->codec_type) {
                case AVMEDIA_TYPE_VIDEO: {
                    ApplyCodecOptions(FOptions, dec, FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                                      AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
                    if (dec->pix_fmt == AV_PIX_FMT_NONE) dec->pix_fmt = AVPixelFormat(0);
                    AppendInputCodec(Fvideo_codec_name);
                    if (Fvideo_disable)
                        st->discard = AVDISCARD_ALL;
                    else if (Fvideo_discard != 0)
                        st->discard = AVDiscard(Fvideo_discard);
                    if (int(i) == mappedVideo) TakeOverVideoStream(st, dec, int(i));
                    break;
                }
                case AVMEDIA_TYPE_AUDIO:
                    ApplyCodecOptions(FOptions, dec, FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO],
                                      AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM);
                    Fchannel_layout = dec->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                                          ? int64_t(dec->ch_layout.u.mask)
                                          : 0;
                    Faudio_channels = dec->ch_layout.nb_channels;
                    Faudio_sample_rate = dec->sample_rate;
                    Faudio_sample_fmt = dec->sample_fmt;
                    AppendInputCodec(Faudio_codec_name);
                    if (Faudio_disable) st->discard = AVDISCARD_ALL;
                    break;
                case AVMEDIA_TYPE_DATA:
                    break;
                case AVMEDIA_TYPE_SUBTITLE:
                    AppendInputCodec(Fsubtitle_codec_name);
                    if (Fsubtitle_disable) st->discard = AVDISCARD_ALL;
                    break;
                default:  // no type, attachment
                    AppendInputCodec(std::nullopt);
                    break;
            }
        }

        if (ic->duration != AV_NOPTS_VALUE && ic->duration > FTotalOutputDuration)
            FTotalOutputDuration = ic->duration;

        Finput_files[size_t(n)] = ic;
        Finput_codec_contexts[size_t(n)] = std::move(decoders);
        Finput_files_ts_offset[size_t(n)] =
            Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - timestamp;
        ic = nullptr;
    } catch (...) {
        // The input this call opened is closed on every way out.
        cleanup();
        throw;
    }

    if (Fverbose >= 0)
        lib::av_dump_format(Finput_files[size_t(n)], n, LibraryFileName(fileName).c_str(), 0);
    Fnb_input_files = n + 1;
    Fvideo_channel = 0;
    Fvideo_codec_name.reset();
    Faudio_codec_name.reset();
    Fsubtitle_codec_name.reset();
    return true;
}

void TCustomFFmpeg::TakeOverVideoStream(const AVStream* st, const AVCodecContext* dec, int index) {
    Fframe_height = dec->height;
    Fframe_width = dec->width;
    double aspect = st->sample_aspect_ratio.num != 0 ? av_q2d(st->sample_aspect_ratio)
                                                     : av_q2d(dec->sample_aspect_ratio);
    if (int64_t(dec->width) * dec->height != 0) {
        if (aspect == 0) aspect = 1;
        Fframe_aspect_ratio = float(dec->width * aspect / dec->height);
    } else {
        Fframe_aspect_ratio = aspect == 0 ? 4.0f / 3 : float(aspect);
    }
    Fframe_pix_fmt = dec->pix_fmt;
    if (dec->lowres != 0) {
        Fframe_height >>= dec->lowres;
        Fframe_width >>= dec->lowres;
    }
    // A picture shown turned by a quarter is converted upright: the output has its sides
    // traded.
    if (UprightSwapsSides(st)) {
        std::swap(Fframe_width, Fframe_height);
        if (Fframe_aspect_ratio != 0) Fframe_aspect_ratio = 1 / Fframe_aspect_ratio;
    }
    // The demuxer's codec time base is gone; its average rate stands for it.
    AVRational rfps = st->r_frame_rate;
    AVRational average = st->avg_frame_rate;
    if (average.num != 0 && average.den != 0 && rfps.den != 0 &&
        (average.num != rfps.num || average.den != rfps.den) && Fverbose >= 0)
        GetFFLogger().Log(this, llInfo,
                          "Seems stream %d codec frame rate differs from container frame "
                          "rate: %2.2f (%d/%d) -> %2.2f (%d/%d)",
                          index, av_q2d(average), average.num, average.den, av_q2d(rfps), rfps.num,
                          rfps.den);
    Fframe_rate = rfps;
}

void TCustomFFmpeg::AppendInputCodec(const std::optional<std::string>& name) {
    const AVCodec* codec = name ? lib::avcodec_find_decoder_by_name(name->c_str()) : nullptr;
    // The table is sized for kMaxStreams streams per input; an input with more makes it grow.
    if (Fnb_icodecs >= int(Finput_codecs.size())) Finput_codecs.resize(size_t(Fnb_icodecs) + 1);
    Finput_codecs[size_t(Fnb_icodecs++)] = codec;
}

}  // namespace media
