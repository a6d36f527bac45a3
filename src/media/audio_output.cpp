// The audio output path: decoded audio converted to what the encoder takes, cut into the
// encoder's frames through a FIFO, encoded and written; and the drain at the end of the input.
#include <algorithm>

#include "media/ffmpeg_engine.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

// A frame of the encoder's sample layout with room for `samples`, writable; reused while it is
// big enough and nobody else holds its buffer.
AVFrame* SampleFrame(AVFrame*& frame, int& capacity, const AVCodecContext* enc, int samples) {
    if (frame == nullptr) {
        frame = lib::av_frame_alloc();
        if (frame == nullptr) throw FFmpegException("Out of memory in do_audio_out");
        capacity = 0;
    }
    if (capacity < samples || !lib::av_frame_is_writable(frame)) {
        lib::av_frame_unref(frame);
        frame->format = enc->sample_fmt;
        frame->sample_rate = enc->sample_rate;
        if (lib::av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout) < 0)
            throw FFmpegException("Out of memory in do_audio_out");
        frame->nb_samples = std::max(samples, capacity);
        if (lib::av_frame_get_buffer(frame, 0) < 0)
            throw FFmpegException("Out of memory in do_audio_out");
        capacity = frame->nb_samples;
    }
    frame->nb_samples = samples;
    return frame;
}

void WriteToFifo(AVAudioFifo* fifo, uint8_t* const* data, int samples) {
    if (samples <= 0) return;
    if (lib::av_audio_fifo_write(fifo, reinterpret_cast<void**>(const_cast<uint8_t**>(data)),
                                 samples) < samples)
        throw FFmpegException("av_fifo_realloc2() failed");
}

bool VariableFrameSize(const AVCodecContext* enc) {
    return enc->frame_size <= 0 ||
           (enc->codec != nullptr &&
            (enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0);
}

}  // namespace

void TCustomFFmpeg::DoAudioOut(TAVOutputStream& ost, TAVInputStream& /*ist*/,
                               const AVFrame* frame) {
    AVCodecContext* enc = ost.enc_ctx;
    int orate = enc->sample_rate;
    if (frame->ch_layout.nb_channels != enc->ch_layout.nb_channels) ost.audio_resample = 1;
    bool convert = ost.audio_resample != 0 || frame->format != enc->sample_fmt ||
                   frame->sample_rate != orate ||
                   lib::av_channel_layout_compare(&frame->ch_layout, &enc->ch_layout) != 0;
    if (convert && ost.resample == nullptr) {
        int result =
            lib::swr_alloc_set_opts2(&ost.resample, &enc->ch_layout, enc->sample_fmt, orate,
                                     const_cast<AVChannelLayout*>(&frame->ch_layout),
                                     AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
        if (result >= 0) {
            // The resampler's knobs as the converter always had them.
            lib::av_opt_set_int(ost.resample, "filter_size", 16, 0);
            lib::av_opt_set_int(ost.resample, "phase_shift", 10, 0);
            lib::av_opt_set_int(ost.resample, "linear_interp", 0, 0);
            lib::av_opt_set_double(ost.resample, "cutoff", 0.8, 0);
            result = lib::swr_init(ost.resample);
        }
        if (result < 0) {
            lib::swr_free(&ost.resample);
            throw FFmpegException(
                rtl::Format("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                            frame->ch_layout.nb_channels, frame->sample_rate,
                            enc->ch_layout.nb_channels, orate));
        }
    }

    if (Faudio_sync_method == 0) {
        // The output follows the input clock, but never back over samples already encoded: the
        // encoder stamps each frame with this position, and the files want it rising.
        double ipts = double(ost.sync_ist->pts - Fstart_time) / 1000000;
        ost.sync_opts = std::max(ost.sync_opts,
                                 rtl::Round(ipts * orate) - lib::av_audio_fifo_size(ost.fifo));
    }

    if (ost.resample != nullptr) {
        int capacity = lib::swr_get_out_samples(ost.resample, frame->nb_samples);
        AVFrame* converted =
            SampleFrame(ost.converted_frame, ost.converted_frame_capacity, enc, capacity);
        int samples =
            lib::swr_convert(ost.resample, converted->data, capacity,
                             const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        if (samples < 0)
            throw FFmpegException(
                rtl::Format("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                            frame->ch_layout.nb_channels, frame->sample_rate,
                            enc->ch_layout.nb_channels, orate));
        WriteToFifo(ost.fifo, converted->data, samples);
    } else {
        WriteToFifo(ost.fifo, frame->extended_data, frame->nb_samples);
    }

    auto encodeSamples = [&](int samples) {
        AVFrame* out = SampleFrame(ost.audio_frame, ost.audio_frame_capacity, enc, samples);
        lib::av_audio_fifo_read(ost.fifo, reinterpret_cast<void**>(out->data), samples);
        out->pts = ost.sync_opts;
        EncodeFrame(ost, out, Faudio_size);
        ost.sync_opts += samples;
    };
    if (VariableFrameSize(enc)) {
        int samples = lib::av_audio_fifo_size(ost.fifo);
        if (samples > 0) encodeSamples(samples);
    } else {
        while (lib::av_audio_fifo_size(ost.fifo) >= enc->frame_size) encodeSamples(enc->frame_size);
    }
}

void TCustomFFmpeg::DrainAudio(TAVOutputStream& ost) {
    AVCodecContext* enc = ost.enc_ctx;
    if (ost.fifo != nullptr) {
        // What the resampler still holds belongs to the end too.
        if (ost.resample != nullptr) {
            int capacity = lib::swr_get_out_samples(ost.resample, 0);
            if (capacity > 0) {
                AVFrame* converted =
                    SampleFrame(ost.converted_frame, ost.converted_frame_capacity, enc, capacity);
                int samples = lib::swr_convert(ost.resample, converted->data, capacity, nullptr, 0);
                WriteToFifo(ost.fifo, converted->data, samples);
            }
        }
        int samples = lib::av_audio_fifo_size(ost.fifo);
        if (samples > 0) {
            bool whole = VariableFrameSize(enc) ||
                         (enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
            int frameSamples = whole ? samples : enc->frame_size;
            AVFrame* out =
                SampleFrame(ost.audio_frame, ost.audio_frame_capacity, enc, frameSamples);
            lib::av_audio_fifo_read(ost.fifo, reinterpret_cast<void**>(out->data), samples);
            if (frameSamples > samples)
                lib::av_samples_set_silence(out->data, samples, frameSamples - samples,
                                            enc->ch_layout.nb_channels, enc->sample_fmt);
            out->pts = ost.sync_opts;
            EncodeFrame(ost, out, Faudio_size);
            ost.sync_opts += frameSamples;
        }
    }
    EncodeFrame(ost, nullptr, Faudio_size);
}

}  // namespace media
