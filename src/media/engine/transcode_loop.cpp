// The body of a conversion: the run's tables, the loop that reads the inputs packet by packet,
// the switch between the inputs of a joined output, and the end of the run.
#include <algorithm>
#include <cmath>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

int64_t NowMicros() {
    return sys::Clock().NowMicros();
}

// Seconds: a decoding or presentation time further than this from the expected one is taken
// for damage in a format whose times never restart (the ffmpeg tool's bound, 30 hours).
constexpr double kDtsErrorThreshold = 3600.0 * 30;

}  // namespace

void TCustomFFmpeg::Transcode() {
    try {
        BuildInputStreamTable();
        BuildOutputStreamTable();
        // The decoders first: a subtitle encoder starts from its decoder's style header.
        OpenDecoders();
        OpenEncoders();
        InitInputTimestamps();
        CopyMetadataMaps();
        CopyAllChapters();
        OpenOutputFiles();
        WriteHeaders();
        LogStreamMapping();
    } catch (...) {
        // Nothing was converted: no output stays behind.
        for (int j = 0; j < Fnb_output_files; ++j) Foutput_discard[size_t(j)] = 1;
        FreeTranscodeTables();
        throw;
    }

    std::string failure;
    try {
        RunMainLoop();
        // Stopped or not, the outputs are drained and closed properly.
        for (size_t i = 0; i < FRun.InputStreams.size(); ++i) {
            TAVInputStream& ist = *FRun.InputStreams[i];
            if (ist.decoding_needed != 0 && ist.decoder_flushed != 1 &&
                ProcessInputPacket(ist, int(i), nullptr) < 0 && Fverbose >= 0)
                GetFFLogger().Log(
                    this, llVerbose,
                    rtl::Format("Error while decoding stream #%d.%d (%s)", ist.file_index,
                                ist.index, MediaTypeText(uint32_t(ist.st->codecpar->codec_type))));
        }
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Unknown exception";
    }

    // Which outputs received a frame; a joined output is one file.
    int count = FJoinMode ? 1 : Fnb_output_files;
    std::vector<char> received(size_t(count), 0);
    std::vector<std::string> emptySources;
    for (const auto& ost : FRun.OutputStreams) {
        size_t entry = FJoinMode ? 0 : size_t(ost->file_index);
        if (ost->packets_written > 0) received[entry] = 1;
    }
    for (const auto& ost : FRun.OutputStreams) {
        size_t entry = FJoinMode ? 0 : size_t(ost->file_index);
        if (received[entry] != 0) continue;
        const TAVInputStream& ist = *FRun.InputStreams[size_t(ost->source_index)];
        std::string name = FileNameFromLibrary(Finput_files[size_t(ist.file_index)]->url);
        if (std::find(emptySources.begin(), emptySources.end(), name) == emptySources.end())
            emptySources.push_back(name);
    }

    // A failed run still ends every output that received frames, so what was converted stays
    // playable; an output without a frame is not kept.
    std::string trailerFailure;
    std::vector<std::string> kept;
    for (int j = 0; j < count; ++j) {
        AVFormatContext* oc = Foutput_files[size_t(j)];
        if (failure.empty() || received[size_t(j)] != 0) {
            int result = lib::av_write_trailer(oc);
            if (result < 0 && trailerFailure.empty())
                trailerFailure = WriteErrorText(oc, "av_write_trailer()", result);
            if (received[size_t(j)] != 0) kept.push_back(FileNameFromLibrary(oc->url));
        }
        // A stopped run keeps what it wrote, as it is.
        if (received[size_t(j)] == 0 && (!failure.empty() || !FBroken))
            Foutput_discard[size_t(j)] = 1;
    }
    bool empty = failure.empty() && !FBroken && !emptySources.empty();
    if (failure.empty()) ReportProgress(true, -1);
    // Files that changed under the run spoil it: what it wrote is not kept.
    const std::string changed = failure.empty() && !FBroken ? CheckRunFiles() : std::string();
    if (!changed.empty()) std::fill(Foutput_discard.begin(), Foutput_discard.end(), 1);
    CloseEncoders();
    CloseDecoders();
    FFinished = !FBroken && failure.empty() && trailerFailure.empty() && !empty && changed.empty();
    FreeTranscodeTables();
    auto quoted = [](const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names) text += (text.empty() ? "'" : ", '") + name + "'";
        return text;
    };
    if (!failure.empty()) {
        if (!kept.empty())
            failure +=
                rtl::Format("; what was converted before the failure was kept in %s", quoted(kept));
        throw FFmpegException(failure);
    }
    if (!changed.empty()) throw FFmpegException(changed);
    // A file whose end could not be written is no success.
    if (!trailerFailure.empty()) throw FFmpegException(trailerFailure);
    // Nor is a file without a single frame.
    if (empty)
        throw FFmpegException(
            rtl::Format("no frame could be decoded from %s", quoted(emptySources)));
}

void TCustomFFmpeg::BuildInputStreamTable() {
    FRun.Files.assign(size_t(Fnb_input_files), TAVInputFile());
    FRun.InputStreams.clear();
    int64_t now = NowMicros();
    int streamIndex = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        AVFormatContext* ic = Finput_files[size_t(i)];
        TAVInputFile& file = FRun.Files[size_t(i)];
        file.ist_index = streamIndex;
        file.nb_streams = int(ic->nb_streams);
        streamIndex += file.nb_streams;
        for (unsigned k = 0; k < ic->nb_streams; ++k) {
            auto ist = std::make_unique<TAVInputStream>();
            ist->st = ic->streams[k];
            ist->dec_ctx = Finput_codec_contexts[size_t(i)][k];
            ist->file_index = i;
            ist->index = int(k);
            ist->discard = 1;
            if (Frate_emu) ist->start = now;
            FRun.InputStreams.push_back(std::move(ist));
        }
    }
    FRun.NoPacket.assign(size_t(FMaxFiles), 0);
    FRun.NoPacketCount = 0;
    FRun.InPacket = lib::av_packet_alloc();
    FRun.OutPacket = lib::av_packet_alloc();
    FRun.DecodedFrame = lib::av_frame_alloc();
    FRun.FilteredFrame = lib::av_frame_alloc();
    FRun.DeinterlacedFrame = lib::av_frame_alloc();
    if (FRun.InPacket == nullptr || FRun.OutPacket == nullptr || FRun.DecodedFrame == nullptr ||
        FRun.FilteredFrame == nullptr || FRun.DeinterlacedFrame == nullptr)
        throw FFmpegException("av_mallocz fail");
}

void TCustomFFmpeg::InitInputTimestamps() {
    for (const auto& ist : FRun.InputStreams) {
        AVRational rate = ist->st->avg_frame_rate;
        // Pictures held back for reordering start the decoding times before 0; the pictures
        // themselves start at 0.
        ist->dts = rate.num != 0 && rate.den != 0
                       ? -rtl::Round(ist->dec_ctx->has_b_frames * 1000000.0 / av_q2d(rate))
                       : 0;
        ist->pts = 0;
        ist->next_dts = AV_NOPTS_VALUE;
        ist->next_pts = AV_NOPTS_VALUE;
        ist->is_start = 1;
    }
}

double TCustomFFmpeg::OutputStreamTime(const TAVOutputStream& ost) {
    return double(ost.end_ts) * av_q2d(ost.st->time_base);
}

void TCustomFFmpeg::RunMainLoop() {
    auto resetNoPacket = [this] {
        std::fill(FRun.NoPacket.begin(), FRun.NoPacket.end(), 0);
        FRun.NoPacketCount = 0;
    };
    Ftimer_start = NowMicros();
    int64_t lastReport = Ftimer_start;
    int joinInput = 0;
    size_t group = size_t(FRun.StreamsPerGroup);
    resetNoPacket();
    AVPacket* packet = FRun.InPacket;

    while (!FBroken) {
        WaitWhilePaused();
        if (FBroken) break;

        int fileIndex = -1;
        if (FJoinMode) {
            fileIndex = joinInput;
            size_t first = size_t(joinInput) * group;
            for (size_t t = first; t < first + group && t < FRun.OutputStreams.size(); ++t) {
                const TAVOutputStream& ost = *FRun.OutputStreams[t];
                if (ost.frame_number >= Fmax_frames[size_t(ost.enc_ctx->codec_type)]) {
                    fileIndex = -1;
                    break;
                }
            }
        } else {
            double optsMin = 1e100;
            double iptsMin = 1e100;
            for (const auto& ost : FRun.OutputStreams) {
                const TAVInputStream& ist = *FRun.InputStreams[size_t(ost->source_index)];
                if (ist.is_past_recording_time != 0 || FRun.NoPacket[size_t(ist.file_index)] != 0)
                    continue;
                double opts = OutputStreamTime(*ost);
                double ipts = double(ist.pts);
                if (FRun.Files[size_t(ist.file_index)].eof_reached == 0) {
                    if (ipts < iptsMin) {
                        iptsMin = ipts;
                        if (Finput_sync) fileIndex = ist.file_index;
                    }
                    if (opts < optsMin) {
                        optsMin = opts;
                        if (!Finput_sync) fileIndex = ist.file_index;
                    }
                }
                if (ost->frame_number >= Fmax_frames[size_t(ost->enc_ctx->codec_type)]) {
                    fileIndex = -1;
                    break;
                }
            }
        }

        if (fileIndex < 0) {
            if (FJoinMode || FRun.NoPacketCount == 0) break;
            resetNoPacket();
            sys::SleepMs(10);
            continue;
        }

        AVIOContext* pb = Foutput_files[0]->pb;
        if (Flimit_filesize != 0 && pb != nullptr &&
            lib::avio_seek(pb, 0, SEEK_CUR) > Flimit_filesize)
            break;

        AVFormatContext* ic = Finput_files[size_t(fileIndex)];
        TAVInputFile& file = FRun.Files[size_t(fileIndex)];
        int result = lib::av_read_frame(ic, packet);
        if (result == AVERROR(EAGAIN)) {
            FRun.NoPacket[size_t(fileIndex)] = 1;
            ++FRun.NoPacketCount;
            // Every input answering "try again" in a joined output means a wait here too.
            if (FJoinMode) sys::SleepMs(10);
            continue;
        }
        if (result < 0) {
            file.eof_reached = 1;
            if (FJoinMode) {
                SwitchJoinInput(joinInput);
                if (joinInput >= Fnb_input_files - 1) break;
                ++joinInput;
                continue;
            }
            if (Fopt_shortest) break;
            continue;
        }

        resetNoPacket();
        if (Fdo_pkt_dump)
            lib::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, packet, Fdo_hex_dump ? 1 : 0,
                                  ic->streams[packet->stream_index]);

        bool deliver = packet->stream_index < file.nb_streams;
        TAVInputStream* ist = nullptr;
        int istIndex = 0;
        if (deliver) {
            istIndex = file.ist_index + packet->stream_index;
            ist = FRun.InputStreams[size_t(istIndex)].get();
            deliver = ist->discard == 0;
        }
        if (deliver) {
            AVRational timeBase = ist->st->time_base;
            int64_t offset = Finput_files_ts_offset[size_t(fileIndex)];
            if (offset != 0) {
                int64_t shift = lib::av_rescale_q(offset, AV_TIME_BASE_Q, timeBase);
                if (packet->dts != AV_NOPTS_VALUE) packet->dts += shift;
                if (packet->pts != AV_NOPTS_VALUE) packet->pts += shift;
            }
            double scale =
                packet->stream_index < kMaxStreams
                    ? Finput_files_ts_scale[size_t(fileIndex)][size_t(packet->stream_index)]
                    : 0;
            if (scale != 0) {
                if (packet->pts != AV_NOPTS_VALUE)
                    packet->pts = rtl::Round(double(packet->pts) * scale);
                if (packet->dts != AV_NOPTS_VALUE)
                    packet->dts = rtl::Round(double(packet->dts) * scale);
            }

            CorrectTimestamps(*ist, fileIndex, packet);

            // A packet without a presentation time is placed by its decoding time.
            int64_t when = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (Frecording_time != INT64_MAX && when != AV_NOPTS_VALUE &&
                lib::av_compare_ts(when, timeBase, Frecording_time + Fstart_time, AV_TIME_BASE_Q) >=
                    0) {
                ist->is_past_recording_time = 1;
                deliver = false;
            }
        }

        if (deliver && ProcessInputPacket(*ist, istIndex, packet) < 0) {
            std::string message =
                rtl::Format("Error while decoding stream #%d.%d (%s)", ist->file_index, ist->index,
                            MediaTypeText(uint32_t(ist->st->codecpar->codec_type)));
            lib::av_packet_unref(packet);
            if (Fexit_on_error) {
                FreeTranscodeTables();
                throw FFmpegException(message);
            }
            if (Fverbose >= 0) GetFFLogger().Log(this, llVerbose, message);
            continue;
        }
        lib::av_packet_unref(packet);

        int64_t now = NowMicros();
        if (now - lastReport > ReportInterval) {
            lastReport = now;
            ReportProgress(false, fileIndex);
        }
    }
}

void TCustomFFmpeg::CorrectTimestamps(TAVInputStream& ist, int fileIndex, AVPacket* packet) {
    AVMediaType type = ist.st->codecpar->codec_type;
    if ((type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO) ||
        packet->dts == AV_NOPTS_VALUE || ist.next_dts == AV_NOPTS_VALUE || Fcopy_ts)
        return;
    AVRational timeBase = ist.st->time_base;
    const AVFormatContext* ic = Finput_files[size_t(fileIndex)];
    int64_t packetDts = lib::av_rescale_q(packet->dts, timeBase, AV_TIME_BASE_Q);
    int64_t delta = packetDts - ist.next_dts;
    if ((ic->iformat->flags & AVFMT_TS_DISCONT) != 0) {
        // A format whose times may restart: the input's offset follows a jump.
        if (std::abs(double(delta)) > double(Fdts_delta_threshold) * 1000000 ||
            packetDts + AV_TIME_BASE / 10 < std::max(ist.pts, ist.dts)) {
            Finput_files_ts_offset[size_t(fileIndex)] -= delta;
            if (Fverbose > 2)
                GetFFLogger().Log(this, llVerbose,
                                  rtl::Format("timestamp discontinuity %d, new offset= %d", delta,
                                              Finput_files_ts_offset[size_t(fileIndex)]));
            int64_t shift = lib::av_rescale_q(delta, AV_TIME_BASE_Q, timeBase);
            packet->dts -= shift;
            if (packet->pts != AV_NOPTS_VALUE) packet->pts -= shift;
        }
        return;
    }
    // Elsewhere a time this far from the expected one is damage: it is dropped, and the
    // packet is timed as expected.
    auto damaged = [](int64_t difference) {
        return std::abs(double(difference)) > kDtsErrorThreshold * 1000000.0;
    };
    if (damaged(delta)) packet->dts = AV_NOPTS_VALUE;
    if (packet->pts != AV_NOPTS_VALUE &&
        damaged(lib::av_rescale_q(packet->pts, timeBase, AV_TIME_BASE_Q) - ist.next_dts))
        packet->pts = AV_NOPTS_VALUE;
}

void TCustomFFmpeg::SwitchJoinInput(int k) {
    const TAVInputFile& file = FRun.Files[size_t(k)];
    for (int s = 0; s < file.nb_streams; ++s) {
        int istIndex = file.ist_index + s;
        TAVInputStream& ist = *FRun.InputStreams[size_t(istIndex)];
        if (ist.decoding_needed == 0) continue;
        ProcessInputPacket(ist, istIndex, nullptr);
        lib::avcodec_flush_buffers(ist.dec_ctx);
        ist.decoder_flushed = 1;
    }
    // The drained encoders cannot go on: the next input gets fresh ones.
    if (k < Fnb_input_files - 1) ReopenEncoders();

    size_t group = size_t(FRun.StreamsPerGroup);
    std::vector<std::unique_ptr<TAVOutputStream>>& table = FRun.OutputStreams;
    for (size_t t = (size_t(k) + 1) * group; t < table.size(); ++t) {
        table[t]->sync_opts = table[t - group]->sync_opts;
        table[t]->frame_number = table[t - group]->frame_number;
        table[t]->end_ts = std::max(table[t]->end_ts, table[t - group]->end_ts);
        table[t]->last_mux_dts = table[t - group]->last_mux_dts;
    }
    double end = 0;
    for (size_t t = size_t(k) * group; t < (size_t(k) + 1) * group; ++t) {
        if (t + group >= table.size()) continue;
        end = std::max(end, OutputStreamTime(*table[t]));
        table[t]->show_fps = 0;
    }
    if (k < Fnb_input_files - 1) Finput_files_ts_offset[size_t(k) + 1] += rtl::Round(end * 1e6);
}

void TCustomFFmpeg::FreeTranscodeTables() {
    for (const auto& ost : FRun.OutputStreams) {
        if (ost->logfile != nullptr) std::fclose(ost->logfile);
        if (ost->fifo != nullptr) lib::av_audio_fifo_free(ost->fifo);
        lib::av_frame_free(&ost->pict_tmp);
        if (ost->img_resample_ctx != nullptr) lib::sws_freeContext(ost->img_resample_ctx);
        lib::swr_free(&ost->resample);
        lib::av_channel_layout_uninit(&ost->resample_ch_layout);
        for (AVBSFContext*& bsf : ost->bsfs) lib::av_bsf_free(&bsf);
        for (AVPacket*& bsfPacket : ost->bsf_packets) lib::av_packet_free(&bsfPacket);
        for (AVPacket*& bsfPacket : ost->bsf_kept) lib::av_packet_free(&bsfPacket);
        if (ost->join_template != nullptr) {
            lib::av_freep(&ost->join_template->stats_in);
            lib::avcodec_free_context(&ost->join_template);
        }
        lib::av_frame_free(&ost->audio_frame);
        lib::av_frame_free(&ost->last_frame);
        lib::av_frame_free(&ost->converted_frame);
        if (ost->encoding_needed != 0 && ost->enc_ctx != nullptr)
            lib::av_freep(&ost->enc_ctx->stats_in);
    }
    lib::av_packet_free(&FRun.InPacket);
    lib::av_packet_free(&FRun.OutPacket);
    lib::av_frame_free(&FRun.DecodedFrame);
    lib::av_frame_free(&FRun.FilteredFrame);
    lib::av_frame_free(&FRun.DeinterlacedFrame);
    lib::av_frame_free(&FRun.EncodeFrame);
    FRun = TTranscodeRun();
}

}  // namespace media
