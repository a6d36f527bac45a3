// The set-up of a run: the source of every output stream, stream copy or encoding, the codecs,
// metadata, chapters and headers; closing and, between the inputs of a joined output, renewing
// the encoders.
#include <algorithm>
#include <climits>
#include <filesystem>
#include <map>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"

namespace media {

namespace {

std::string TypeName(const AVCodecContext* context) {
    return MediaTypeText(uint32_t(context->codec_type));
}

// Looks `name` up among the private options of `privClass`.
bool KnowsOption(const AVClass* privClass, const char* name) {
    if (privClass == nullptr) return false;
    return lib::av_opt_find(&privClass, name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

// A copy of `options` with the entries that `privClass` knows; the others belong to other
// encoders of the job's option text and are handed to `skipped`.
template <class TSkipped>
AVDictionary* OptionsFor(const AVClass* privClass, const AVDictionary* options, TSkipped skipped) {
    AVDictionary* result = nullptr;
    const AVDictionaryEntry* entry = nullptr;
    while ((entry = lib::av_dict_get(options, "", entry, AV_DICT_IGNORE_SUFFIX)) != nullptr) {
        if (KnowsOption(privClass, entry->key))
            lib::av_dict_set(&result, entry->key, entry->value, 0);
        else
            skipped(entry->key);
    }
    return result;
}

// The settings of an encoder that is not open yet, into a fresh one.
void CopyEncoderSettings(AVCodecContext* target, const AVCodecContext* source) {
    lib::av_opt_copy(target, source);
    target->codec_type = source->codec_type;
    target->codec_id = source->codec_id;
    target->codec_tag = source->codec_tag;
    target->time_base = source->time_base;
    target->framerate = source->framerate;
    target->width = source->width;
    target->height = source->height;
    target->pix_fmt = source->pix_fmt;
    target->sample_aspect_ratio = source->sample_aspect_ratio;
    target->sample_fmt = source->sample_fmt;
    target->sample_rate = source->sample_rate;
    lib::av_channel_layout_uninit(&target->ch_layout);
    lib::av_channel_layout_copy(&target->ch_layout, &source->ch_layout);
    target->flags = source->flags;
    target->flags2 = source->flags2;
    target->global_quality = source->global_quality;
    target->bits_per_raw_sample = source->bits_per_raw_sample;
    target->chroma_sample_location = source->chroma_sample_location;
    target->thread_count = source->thread_count;
    auto copyMatrix = [](uint16_t*& to, const uint16_t* from) {
        if (from == nullptr) return;
        to = static_cast<uint16_t*>(lib::av_malloc(64 * sizeof(uint16_t)));
        if (to != nullptr) std::copy(from, from + 64, to);
    };
    copyMatrix(target->intra_matrix, source->intra_matrix);
    copyMatrix(target->inter_matrix, source->inter_matrix);
    if (source->rc_override_count > 0) {
        size_t count = size_t(source->rc_override_count);
        target->rc_override = static_cast<RcOverride*>(lib::av_malloc(count * sizeof(RcOverride)));
        if (target->rc_override != nullptr) {
            std::copy(source->rc_override, source->rc_override + count, target->rc_override);
            target->rc_override_count = source->rc_override_count;
        }
    }
    if (source->stats_in != nullptr) target->stats_in = lib::av_strdup(source->stats_in);
}

}  // namespace

// --- sources ---

void TCustomFFmpeg::BuildOutputStreamTable() {
    int total = 0;
    for (int j = 0; j < Fnb_output_files; ++j) {
        AVFormatContext* oc = Foutput_files[size_t(j)];
        if (oc->nb_streams == 0) {
            lib::av_dump_format(oc, j, oc->url, 1);
            throw FFmpegException(rtl::Format("Output file #%d does not contain any stream", j));
        }
        total += int(oc->nb_streams);
    }
    FRun.StreamsPerGroup = int(Foutput_files[0]->nb_streams);

    if (Fnb_stream_maps > 0 && Fnb_stream_maps != total)
        throw FFmpegException("Number of stream maps must match number of output streams");
    for (int i = 0; i < Fnb_stream_maps; ++i) {
        const TAVStreamMap& map = Fstream_maps[size_t(i)];
        auto exists = [this](int file, int stream) {
            return file >= 0 && file < Fnb_input_files && stream >= 0 &&
                   stream < FRun.Files[size_t(file)].nb_streams;
        };
        if (!exists(map.file_index, map.stream_index))
            throw FFmpegException(rtl::Format("Could not find input stream #%d.%d", map.file_index,
                                              map.stream_index));
        if (!exists(map.sync_file_index, map.sync_stream_index))
            throw FFmpegException(rtl::Format("Could not find sync stream #%d.%d",
                                              map.sync_file_index, map.sync_stream_index));
    }

    FRun.OutputStreams.clear();
    FRun.OutputStreams.reserve(size_t(total));
    for (int i = 0; i < total; ++i)
        FRun.OutputStreams.push_back(std::make_unique<TAVOutputStream>());
    AssignSourceStreams();
    SetupOutputStreams();
}

void TCustomFFmpeg::AssignSourceStreams() {
    FRun.Feeds.assign(FRun.InputStreams.size(), {});
    int n = 0;
    for (int j = 0; j < Fnb_output_files; ++j) {
        AVFormatContext* oc = Foutput_files[size_t(j)];
        // A joined output keeps its streams' bookkeeping in its first slot.
        size_t slot = FJoinMode ? 0 : size_t(j);
        for (unsigned k = 0; k < oc->nb_streams; ++k, ++n) {
            TAVOutputStream& ost = *FRun.OutputStreams[size_t(n)];
            ost.file_index = j;
            ost.index = int(k);
            ost.st = oc->streams[k];
            ost.enc_ctx = Foutput_codec_contexts[slot][k];
            const TOutputStreamSetup& setup = Foutput_stream_setups[slot][k];
            ost.stream_copy = setup.StreamCopy;
            ost.quality = setup.Quality;
            ost.codec_opts = setup.CodecOptions;
            if (Fnb_stream_maps > 0)
                MapStreamByTable(ost, n);
            else
                FindSourceStream(ost, j);
            TAVInputStream& source = *FRun.InputStreams[size_t(ost.source_index)];
            source.discard = 0;
            FRun.Feeds[size_t(ost.source_index)].push_back(&ost);
            if (Fnb_stream_maps > 0) {
                const TAVStreamMap& map = Fstream_maps[size_t(n)];
                int sync =
                    FRun.Files[size_t(map.sync_file_index)].ist_index + map.sync_stream_index;
                ost.sync_ist = FRun.InputStreams[size_t(sync)].get();
            } else {
                ost.sync_ist = &source;
            }
            ost.show_fps = 1;
        }
    }
    // What no output takes is not read at all: a stream the job does not use can neither end
    // the input early nor cost its reading.
    for (const auto& ist : FRun.InputStreams)
        if (ist->discard != 0) ist->st->discard = AVDISCARD_ALL;
}

void TCustomFFmpeg::MapStreamByTable(TAVOutputStream& ost, int n) {
    const TAVStreamMap& map = Fstream_maps[size_t(n)];
    ost.source_index = FRun.Files[size_t(map.file_index)].ist_index + map.stream_index;
    const TAVInputStream& source = *FRun.InputStreams[size_t(ost.source_index)];
    if (source.st->codecpar->codec_type != ost.enc_ctx->codec_type) {
        AVFormatContext* oc = Foutput_files[size_t(ost.file_index)];
        lib::av_dump_format(oc, ost.file_index, oc->url, 1);
        throw FFmpegException(rtl::Format(
            "Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)", map.file_index,
            map.stream_index, MediaTypeText(uint32_t(source.st->codecpar->codec_type)),
            ost.file_index, ost.index, TypeName(ost.enc_ctx)));
    }
}

void TCustomFFmpeg::FindSourceStream(TAVOutputStream& ost, int entry) {
    AVMediaType type = ost.enc_ctx->codec_type;
    // The probed-frame counts are the library's own now: it names the best stream of a type in
    // each input (by the same count, then default disposition and bit rate), and that stream
    // goes first among the candidates. Video goes by the picture the input set-up took over.
    std::map<int, int> bestOfFile;
    auto isBestOfFile = [&](const TAVInputStream& ist) {
        auto found = bestOfFile.find(ist.file_index);
        if (found == bestOfFile.end()) {
            const AVFormatContext* ic = Finput_files[size_t(ist.file_index)];
            int best = type == AVMEDIA_TYPE_VIDEO
                           ? MappedVideoStream(ic)
                           : lib::av_find_best_stream(const_cast<AVFormatContext*>(ic), type, -1,
                                                      -1, nullptr, 0);
            found = bestOfFile.emplace(ist.file_index, best).first;
        }
        return found->second == ist.index;
    };
    auto inProgram = [&](const TAVInputStream& ist) {
        const AVFormatContext* ic = Finput_files[size_t(ist.file_index)];
        for (unsigned p = 0; p < ic->nb_programs; ++p) {
            const AVProgram* program = ic->programs[p];
            if (program->id != Fopt_programid) continue;
            for (unsigned s = 0; s < program->nb_stream_indexes; ++s)
                if (ic->streams[program->stream_index[s]] == ist.st) return true;
        }
        return false;
    };

    int found = -1;
    int foundScore = -1;
    for (size_t i = 0; i < FRun.InputStreams.size(); ++i) {
        const TAVInputStream& ist = *FRun.InputStreams[i];
        if (Fopt_programid != 0 && !inProgram(ist)) continue;
        if (ist.discard == 0 || ist.st->discard == AVDISCARD_ALL ||
            ist.st->codecpar->codec_type != type)
            continue;
        if (FJoinMode && ist.file_index != entry) continue;
        int score = isBestOfFile(ist) ? 1 : 0;
        if (score > foundScore) {
            found = int(i);
            foundScore = score;
        }
    }
    if (found < 0 && Fopt_programid == 0 && !FJoinMode) {
        for (size_t i = 0; i < FRun.InputStreams.size(); ++i) {
            const TAVInputStream& ist = *FRun.InputStreams[i];
            if (ist.st->discard != AVDISCARD_ALL && ist.st->codecpar->codec_type == type)
                found = int(i);
        }
    }
    if (found < 0) {
        AVFormatContext* oc = Foutput_files[size_t(entry)];
        lib::av_dump_format(oc, entry, oc->url, 1);
        throw FFmpegException(
            rtl::Format("Could not find input stream matching output stream #%d.%d (%s)", entry,
                        ost.index, TypeName(ost.enc_ctx)));
    }
    ost.source_index = found;
}

// --- copy or encode ---

void TCustomFFmpeg::SetupOutputStreams() {
    for (size_t i = 0; i < FRun.OutputStreams.size(); ++i) {
        TAVOutputStream& ost = *FRun.OutputStreams[i];
        TAVInputStream& ist = *FRun.InputStreams[size_t(ost.source_index)];
        lib::av_dict_copy(&ost.st->metadata, ist.st->metadata, AV_DICT_DONT_OVERWRITE);
        ost.st->disposition = ist.st->disposition;
        ost.enc_ctx->bits_per_raw_sample = ist.dec_ctx->bits_per_raw_sample;
        ost.enc_ctx->chroma_sample_location = ist.dec_ctx->chroma_sample_location;
        if (ost.stream_copy)
            SetupStreamCopy(ost, ist);
        else
            SetupEncoding(ost, ist, int(i));
    }
}

void TCustomFFmpeg::SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist) {
    const AVCodecParameters* source = ist.st->codecpar;
    if (int64_t(source->extradata_size) + AV_INPUT_BUFFER_PADDING_SIZE > INT_MAX)
        throw FFmpegException("icodec.extradata_size is invalid (too large)");
    AVCodecParameters* target = ost.st->codecpar;
    AVRational sampleAspect = ost.st->sample_aspect_ratio;
    uint32_t tag = target->codec_tag;
    if (lib::avcodec_parameters_copy(target, source) < 0) throw FFmpegException("av_mallocz fail");
    target->codec_tag = tag;
    if (tag == 0) {
        const AVCodecTag* const* tags = Foutput_files[size_t(ost.file_index)]->oformat->codec_tag;
        if (tags == nullptr || lib::av_codec_get_id(tags, source->codec_tag) == source->codec_id ||
            lib::av_codec_get_tag(tags, source->codec_id) == 0)
            target->codec_tag = source->codec_tag;
    }
    // A copy is shown as the source is: turned by the same display matrix, and so on.
    for (int i = 0; i < ist.st->nb_side_data; ++i) {
        const AVPacketSideData& data = ist.st->side_data[i];
        uint8_t* copy = lib::av_stream_new_side_data(ost.st, data.type, data.size);
        if (copy == nullptr) throw FFmpegException("av_mallocz fail");
        std::copy(data.data, data.data + data.size, copy);
    }
    // The codec's own time base is not told any more; the stream's stands for it.
    ost.st->time_base = ist.st->time_base;
    ost.st->avg_frame_rate = ist.st->avg_frame_rate;
    ost.st->r_frame_rate = ist.st->r_frame_rate;
    ost.enc_ctx->codec_id = source->codec_id;

    switch (source->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
            bool postHooks = !WantedPostHooks().Empty();
            if (OnCustomHook)
                throw FFmpegException(
                    "-vcodec copy and CustomHook are incompatible (frames are not decoded)");
            if (!FFirstHook.empty())
                throw FFmpegException(
                    "-vcodec copy and -vhook are incompatible (frames are not decoded)");
            if (postHooks)
                throw FFmpegException(
                    "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
            ost.st->sample_aspect_ratio = sampleAspect;
            target->sample_aspect_ratio = sampleAspect;
            break;
        }
        case AVMEDIA_TYPE_AUDIO:
            if (Faudio_volume != 256)
                throw FFmpegException(
                    "-acodec copy and -vol are incompatible (frames are not decoded)");
            if ((target->block_align == 1 && target->codec_id == AV_CODEC_ID_MP3) ||
                target->codec_id == AV_CODEC_ID_AC3)
                target->block_align = 0;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            break;
        default:
            throw FFmpegException("invalid codec_type of output stream");
    }
}

void TCustomFFmpeg::SetupEncoding(TAVOutputStream& ost, TAVInputStream& ist, int i) {
    AVCodecContext* codec = ost.enc_ctx;
    AVCodecContext* icodec = ist.dec_ctx;
    switch (codec->codec_type) {
        case AVMEDIA_TYPE_AUDIO:
            ost.fifo = lib::av_audio_fifo_alloc(codec->sample_fmt,
                                                std::max(codec->ch_layout.nb_channels, 1), 1024);
            if (ost.fifo == nullptr) throw FFmpegException("av_fifo_alloc fail");
            ost.audio_resample =
                codec->sample_rate != icodec->sample_rate || Faudio_sync_method > 1;
            break;
        case AVMEDIA_TYPE_VIDEO: {
            if (codec->pix_fmt == AV_PIX_FMT_NONE)
                throw FFmpegException("Video pixel format is unknown, stream cannot be encoded");
            ost.video_crop =
                Fframe_topBand + Fframe_bottomBand + Fframe_leftBand + Fframe_rightBand != 0;
            ost.topBand = ost.original_topBand = Fframe_topBand;
            ost.bottomBand = ost.original_bottomBand = Fframe_bottomBand;
            ost.leftBand = ost.original_leftBand = Fframe_leftBand;
            ost.rightBand = ost.original_rightBand = Fframe_rightBand;
            int croppedWidth = icodec->width - (ost.leftBand + ost.rightBand);
            int croppedHeight = icodec->height - (ost.topBand + ost.bottomBand);
            ost.video_resample = codec->width != croppedWidth || codec->height != croppedHeight ||
                                 codec->pix_fmt != icodec->pix_fmt;
            // With a filter graph the graph scales; the scaler here serves the plain path. A
            // turned picture goes through a graph that turns it upright, as the tool does.
            ost.video_graph = FEnableFilter || !UprightFilters(ist.st).empty();
            if (ost.video_resample && !ost.video_graph) {
                ost.pict_tmp = lib::av_frame_alloc();
                if (ost.pict_tmp == nullptr)
                    throw FFmpegException("Cannot allocate temp picture, check pix fmt");
                ost.pict_tmp->format = codec->pix_fmt;
                ost.pict_tmp->width = codec->width;
                ost.pict_tmp->height = codec->height;
                if (lib::av_frame_get_buffer(ost.pict_tmp, 0) != 0)
                    throw FFmpegException("Cannot allocate temp picture, check pix fmt");
                int64_t swsFlags = SWS_BICUBIC;
                if (FOptions.sws_opts != nullptr)
                    lib::av_opt_get_int(FOptions.sws_opts, "sws_flags", 0, &swsFlags);
                Fsws_flags = int(swsFlags);
                ost.img_resample_ctx = lib::sws_getContext(
                    croppedWidth, croppedHeight, icodec->pix_fmt, codec->width, codec->height,
                    codec->pix_fmt, Fsws_flags, nullptr, nullptr, nullptr);
                if (ost.img_resample_ctx == nullptr)
                    throw FFmpegException("Cannot get resampling context");
                codec->bits_per_raw_sample = 0;
            }
            // The crop bands follow a later change of the picture size from here.
            ost.original_height = icodec->height;
            ost.original_width = icodec->width;
            ost.resample_height = croppedHeight;
            ost.resample_width = croppedWidth;
            ost.resample_pix_fmt = icodec->pix_fmt;
            FLastErrMsg.clear();
            if (ost.video_graph && ConfigureFilters(ist, ost) != 0)
                throw FFmpegException(FLastErrMsg.empty()
                                          ? std::string("Error opening filters!")
                                          : "Error opening filters: " + FLastErrMsg);
            break;
        }
        case AVMEDIA_TYPE_SUBTITLE:
            break;
        default:
            throw FFmpegException("invalid codec_type of output stream");
    }
    ost.encoding_needed = 1;
    ist.decoding_needed = 1;
    if ((codec->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)) != 0) OpenPassLogFile(ost, i);
}

void TCustomFFmpeg::OpenPassLogFile(TAVOutputStream& ost, int i) {
    std::string prefix = Fpass_logfilename_prefix;
    if (prefix.empty()) {
        // Jobs run side by side: each input gets statistics files of its own, which both passes
        // over that input find again.
        const char* input = Fnb_input_files > 0 ? Finput_files[0]->url : "";
        uint64_t hash = 1469598103934665603ull;
        for (const char* c = input; c != nullptr && *c != '\0'; ++c)
            hash = (hash ^ uint8_t(*c)) * 1099511628211ull;
        prefix = sys::IncludeTrailingPathDelimiter(std::filesystem::temp_directory_path()) +
                 rtl::Format("ffmpeg2pass-%s", rtl::IntToHex(int64_t(hash), 16));
    }
    std::string fileName = rtl::Format("%s-%d.log", prefix, i).substr(0, 1023);
    AVCodecContext* codec = ost.enc_ctx;
    if ((codec->flags & AV_CODEC_FLAG_PASS1) != 0) {
        ost.logfile = std::fopen(fileName.c_str(), "wb");
        if (ost.logfile == nullptr)
            throw FFmpegException(
                rtl::Format("Cannot write log file %s for pass-1 encoding", fileName));
        return;
    }
    uint8_t* text = nullptr;
    int size = 0;
    int result = ReadWholeFile(fileName, text, size);
    if (result == AVERROR(ENOMEM))
        throw FFmpegException(rtl::Format(
            "Could not allocate file buffer: Error reading log file \"%s\" for pass-2 encoding",
            fileName));
    if (result < 0)
        throw FFmpegException(rtl::Format(
            "Cannot read file: Error reading log file \"%s\" for pass-2 encoding", fileName));
    codec->stats_in = reinterpret_cast<char*>(text);
}

// --- codecs ---

int TCustomFFmpeg::OpenEncoder(TAVOutputStream& ost, const AVCodec* codec) {
    AVDictionary* options = OptionsFor(codec->priv_class, ost.codec_opts, [&](const char* key) {
        GetFFLogger().Log(
            this, llWarning,
            rtl::Format("Option %s does not apply to %s: not used", key, codec->name));
    });
    int result = lib::avcodec_open2(ost.enc_ctx, codec, &options);
    if (result >= 0) AddCodecItem(FEncoderList, ost.enc_ctx);
    const AVDictionaryEntry* unused = nullptr;
    while ((unused = lib::av_dict_get(options, "", unused, AV_DICT_IGNORE_SUFFIX)) != nullptr) {
        GetFFLogger().Log(this, llError,
                          rtl::Format("Option %s not used by %s", unused->key, codec->name));
        result = AVERROR_OPTION_NOT_FOUND;
    }
    lib::av_dict_free(&options);
    return result;
}

void TCustomFFmpeg::OpenEncoders() {
    size_t count = FJoinMode ? size_t(FRun.StreamsPerGroup) : FRun.OutputStreams.size();
    for (size_t i = 0; i < count; ++i) {
        TAVOutputStream& ost = *FRun.OutputStreams[i];
        if (ost.encoding_needed != 1) continue;
        AVCodecContext* enc = ost.enc_ctx;
        const AVCodec* codec = i < Foutput_codecs.size() ? Foutput_codecs[i] : nullptr;
        if (codec == nullptr) codec = lib::avcodec_find_encoder(enc->codec_id);
        if (codec == nullptr) {
            LogStreamMapping();
            std::string message =
                rtl::Format("Encoder (codec id %d) not found for output stream #%d.%d (%s)",
                            int(enc->codec_id), ost.file_index, ost.index, TypeName(enc));
            GetFFLogger().Log(this, llError, message);
            throw FFmpegException(message);
        }
        const AVCodecContext* dec = FRun.InputStreams[size_t(ost.source_index)]->dec_ctx;
        if (enc->codec_type == AVMEDIA_TYPE_SUBTITLE && dec->subtitle_header != nullptr &&
            enc->subtitle_header == nullptr) {
            enc->subtitle_header =
                static_cast<uint8_t*>(lib::av_mallocz(size_t(dec->subtitle_header_size) + 1));
            if (enc->subtitle_header == nullptr) throw FFmpegException("av_mallocz fail");
            std::copy(dec->subtitle_header, dec->subtitle_header + dec->subtitle_header_size,
                      enc->subtitle_header);
            enc->subtitle_header_size = dec->subtitle_header_size;
        }
        if (FJoinMode) {
            // A closed encoder cannot be opened again: each later input gets a fresh one made
            // from these settings.
            ost.codec_id = enc->codec_id;
            ost.join_template = lib::avcodec_alloc_context3(codec);
            if (ost.join_template == nullptr) throw FFmpegException("av_mallocz fail");
            CopyEncoderSettings(ost.join_template, enc);
        }
        if (OpenEncoder(ost, codec) < 0) {
            LogStreamMapping();
            std::string message = rtl::Format(
                "Error while opening encoder for output stream #%d.%d (%s) - maybe incorrect "
                "parameters such as bit_rate, rate, width or height. Please check error log "
                "message to find out more detail information.",
                ost.file_index, ost.index, TypeName(enc));
            GetFFLogger().Log(this, llError, message);
            throw FFmpegException(message);
        }
        Fextra_size += enc->extradata_size;
        lib::avcodec_parameters_from_context(ost.st->codecpar, enc);
        ost.st->time_base = enc->time_base;
        if (enc->codec_type == AVMEDIA_TYPE_VIDEO) ost.st->avg_frame_rate = enc->framerate;
    }
}

void TCustomFFmpeg::OpenDecoders() {
    for (size_t i = 0; i < FRun.InputStreams.size(); ++i) {
        TAVInputStream& ist = *FRun.InputStreams[i];
        if (ist.decoding_needed != 1) continue;
        AVCodecContext* dec = ist.dec_ctx;
        const AVCodec* codec = i < Finput_codecs.size() ? Finput_codecs[i] : nullptr;
        if (codec == nullptr) codec = lib::avcodec_find_decoder(dec->codec_id);
        std::string type = MediaTypeText(uint32_t(ist.st->codecpar->codec_type));
        if (codec == nullptr) {
            LogStreamMapping();
            std::string message =
                rtl::Format("Decoder (codec id %d) not found for input stream #%d.%d (%s)",
                            int(dec->codec_id), ist.file_index, ist.index, type);
            GetFFLogger().Log(this, llError, message);
            throw FFmpegException(message);
        }
        dec->pkt_timebase = ist.st->time_base;
        int result = lib::avcodec_open2(dec, codec, nullptr);
        if (result >= 0) AddCodecItem(FDecoderList, dec);
        if (result < 0) {
            LogStreamMapping();
            std::string message =
                rtl::Format("Error while opening decoder for input stream #%d.%d (%s)",
                            ist.file_index, ist.index, type);
            GetFFLogger().Log(this, llError, message);
            throw FFmpegException(message);
        }
    }
}

void TCustomFFmpeg::CloseEncoders() {
    size_t count = FJoinMode ? size_t(FRun.StreamsPerGroup) : FRun.OutputStreams.size();
    for (size_t i = 0; i < count && i < FRun.OutputStreams.size(); ++i) {
        TAVOutputStream& ost = *FRun.OutputStreams[i];
        if (ost.encoding_needed == 0) continue;
        lib::av_freep(&ost.enc_ctx->stats_in);
        RemoveCodecItem(FEncoderList, ost.enc_ctx);
        lib::avcodec_close(ost.enc_ctx);
    }
}

void TCustomFFmpeg::CloseDecoders() {
    for (const auto& ist : FRun.InputStreams) {
        if (ist->decoding_needed == 0) continue;
        RemoveCodecItem(FDecoderList, ist->dec_ctx);
        lib::avcodec_close(ist->dec_ctx);
    }
}

void TCustomFFmpeg::ReopenEncoders() {
    size_t count = size_t(FRun.StreamsPerGroup);
    for (size_t i = 0; i < count; ++i) {
        TAVOutputStream& ost = *FRun.OutputStreams[i];
        if (ost.encoding_needed != 1) continue;
        AVCodecContext* old = ost.enc_ctx;
        RemoveCodecItem(FEncoderList, old);
        lib::avcodec_close(old);
        const AVCodec* codec = i < Foutput_codecs.size() ? Foutput_codecs[i] : nullptr;
        if (codec == nullptr) codec = lib::avcodec_find_encoder(ost.codec_id);
        if (codec == nullptr)
            throw FFmpegException(rtl::Format("Unsupported codec for output stream #%d.%d (%s)",
                                              ost.file_index, ost.index, TypeName(old)));
        AVCodecContext* fresh = lib::avcodec_alloc_context3(codec);
        if (fresh == nullptr) throw FFmpegException("av_mallocz fail");
        CopyEncoderSettings(fresh, ost.join_template);
        fresh->codec_id = ost.codec_id;
        // The new encoder takes the old one's place everywhere: in the output's list and in
        // the records of every input's group.
        for (AVCodecContext*& context : Foutput_codec_contexts[0])
            if (context == old) context = fresh;
        for (const auto& other : FRun.OutputStreams) {
            if (other->enc_ctx != old) continue;
            other->enc_ctx = fresh;
            other->encoder_flushed = false;
        }
        lib::avcodec_free_context(&old);
        if (OpenEncoder(ost, codec) < 0)
            throw FFmpegException(rtl::Format(
                "Error while opening codec for output stream #%d.%d (%s) - maybe incorrect "
                "parameters such as bit_rate, rate, width or height",
                ost.file_index, ost.index, TypeName(fresh)));
    }
}

// --- metadata, chapters, headers ---

void TCustomFFmpeg::CopyMetadataMaps() {
    for (int i = 0; i < Fnb_meta_data_maps; ++i) {
        const TAVMetaDataMap& map = Fmeta_data_maps[size_t(i)];
        std::string failure;
        if (map.out_file < 0 || map.out_file >= Fnb_output_files)
            failure = rtl::Format("Invalid output file index %d map_meta_data(%d,%d)", map.out_file,
                                  map.out_file, map.in_file);
        else if (map.in_file < 0 || map.in_file >= Fnb_input_files)
            failure = rtl::Format("Invalid input file index %d map_meta_data(%d,%d)", map.in_file,
                                  map.out_file, map.in_file);
        if (!failure.empty()) {
            LogStreamMapping();
            GetFFLogger().Log(this, llError, failure);
            throw FFmpegException(failure);
        }
        lib::av_dict_copy(&Foutput_files[size_t(map.out_file)]->metadata,
                          Finput_files[size_t(map.in_file)]->metadata, AV_DICT_DONT_OVERWRITE);
    }
}

void TCustomFFmpeg::CopyAllChapters() {
    // In a joined output each input's chapters come after the inputs before it.
    int64_t joinOffset = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        const AVFormatContext* ic = Finput_files[size_t(i)];
        for (int j = 0; j < Fnb_output_files && ic->nb_chapters != 0; ++j) {
            // A joined output is one file behind all its entries: its chapters once.
            if (FJoinMode && j > 0) break;
            CopyChapters(i, j, joinOffset);
        }
        if (FJoinMode && ic->duration != AV_NOPTS_VALUE) joinOffset += ic->duration;
    }
}

void TCustomFFmpeg::CopyChapters(int inFile, int outFile, int64_t joinOffset) {
    const AVFormatContext* ic = Finput_files[size_t(inFile)];
    AVFormatContext* oc = Foutput_files[size_t(outFile)];
    for (unsigned c = 0; c < ic->nb_chapters; ++c) {
        const AVChapter* chapter = ic->chapters[c];
        int64_t tsOff =
            lib::av_rescale_q(Fstart_time - Finput_files_ts_offset[size_t(inFile)] - joinOffset,
                              AV_TIME_BASE_Q, chapter->time_base);
        int64_t rt = Frecording_time == INT64_MAX
                         ? INT64_MAX
                         : lib::av_rescale_q(Frecording_time, AV_TIME_BASE_Q, chapter->time_base);
        if (chapter->end < tsOff) continue;
        if (rt != INT64_MAX && chapter->start > rt + tsOff) break;
        auto* copy = static_cast<AVChapter*>(lib::av_mallocz(sizeof(AVChapter)));
        if (copy == nullptr) throw FFmpegException("av_mallocz fail");
        copy->id = chapter->id;
        copy->time_base = chapter->time_base;
        copy->start = std::max<int64_t>(0, chapter->start - tsOff);
        copy->end = std::min(rt, chapter->end - tsOff);
        lib::av_dict_copy(&copy->metadata, chapter->metadata, 0);
        auto* chapters = static_cast<AVChapter**>(
            lib::av_realloc_array(oc->chapters, oc->nb_chapters + 1, sizeof(AVChapter*)));
        if (chapters == nullptr) {
            lib::av_dict_free(&copy->metadata);
            lib::av_free(copy);
            throw FFmpegException("av_realloc fail");
        }
        oc->chapters = chapters;
        oc->chapters[oc->nb_chapters++] = copy;
    }
}

void TCustomFFmpeg::WriteHeaders() {
    int count = FJoinMode ? 1 : Fnb_output_files;
    bool allRtp = true;
    for (int j = 0; j < count; ++j) {
        AVFormatContext* oc = Foutput_files[size_t(j)];
        for (const auto& ost : FRun.OutputStreams)
            if (ost->file_index == j) InitBitstreamFilters(*ost);
        // Every group of a joined output writes through filters of its own.
        for (size_t t = size_t(FRun.StreamsPerGroup); FJoinMode && t < FRun.OutputStreams.size();
             ++t)
            InitBitstreamFilters(*FRun.OutputStreams[t],
                                 FRun.OutputStreams[t % size_t(FRun.StreamsPerGroup)].get());
        AVDictionary* options = nullptr;
        lib::av_dict_copy(&options, Fmux_options[size_t(j)], 0);
        int result = lib::avformat_write_header(oc, &options);
        bool unused = lib::av_dict_count(options) > 0;
        lib::av_dict_free(&options);
        if (result < 0) {
            LogStreamMapping();
            std::string message = rtl::Format(
                "Could not write header for output file #%d (incorrect codec parameters ?)", j);
            GetFFLogger().Log(this, llError, message);
            throw FFmpegException(message);
        }
        if (unused)
            throw FFmpegException(
                rtl::Format("%s: Invalid encoding parameters", FileNameFromLibrary(oc->url)));
        allRtp = allRtp && std::string_view(oc->oformat->name) == "rtp";
    }
    if (allRtp) {
        char sdp[2048] = {};
        lib::av_sdp_create(Foutput_files.data(), count, sdp, sizeof(sdp));
        GetFFLogger().Log(this, llInfo, "SDP:\r\n" + rtl::Trim(sdp));
    }
}

void TCustomFFmpeg::LogStreamMapping() {
    int count = FJoinMode ? 1 : Fnb_output_files;
    for (int j = 0; j < count; ++j) {
        AVFormatContext* oc = Foutput_files[size_t(j)];
        lib::av_dump_format(oc, j, oc->url, 1);
    }
    if (Fverbose < 0) return;
    GetFFLogger().Log(this, llVerbose, "Stream mapping:");
    for (const auto& ost : FRun.OutputStreams) {
        const TAVInputStream& source = *FRun.InputStreams[size_t(ost->source_index)];
        std::string type = TypeName(ost->enc_ctx);
        GetFFLogger().Log(
            this, llVerbose,
            rtl::Format("  Stream #%d.%d -> #%d.%d (%s)", source.file_index, source.index,
                        FJoinMode ? 0 : ost->file_index, ost->index, type));
        if (ost->sync_ist != nullptr && ost->sync_ist != &source)
            GetFFLogger().Log(this, llVerbose,
                              rtl::Format(" [sync #%d.%d (%s)]", ost->sync_ist->file_index,
                                          ost->sync_ist->index, type));
    }
}

}  // namespace media
