// The audio output path: decoded audio converted to what the encoder takes, cut into the
// encoder's frames through a FIFO, encoded and written; and the drain at the end of the input.
#include "media/engine/audio_volume.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
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

void TCustomFFmpeg::DoAudioOut(TAVOutputStream& ost, TAVInputStream& ist, const AVFrame* frame) {
    AVCodecContext* enc = ost.enc_ctx;
    int orate = enc->sample_rate;
    int irate = frame->sample_rate;
    if (frame->ch_layout.nb_channels != enc->ch_layout.nb_channels) ost.audio_resample = 1;
    if (ost.resample != nullptr &&
        (frame->format != ost.resample_sample_fmt || irate != ost.resample_sample_rate ||
         lib::av_channel_layout_compare(&frame->ch_layout, &ost.resample_ch_layout) != 0)) {
        // The decoder changed its output: what the old resampler holds goes out first.
        FlushResampler(ost);
        lib::swr_free(&ost.resample);
    }
    bool convert = ost.audio_resample != 0 || frame->format != enc->sample_fmt || irate != orate ||
                   lib::av_channel_layout_compare(&frame->ch_layout, &enc->ch_layout) != 0;
    if (convert && ost.resample == nullptr) {
        int result =
            lib::swr_alloc_set_opts2(&ost.resample, &enc->ch_layout, enc->sample_fmt, orate,
                                     const_cast<AVChannelLayout*>(&frame->ch_layout),
                                     AVSampleFormat(frame->format), irate, 0, nullptr);
        if (result >= 0) {
            // The resampler's knobs as the converter always had them.
            lib::av_opt_set_int(ost.resample, "filter_size", 16, 0);
            lib::av_opt_set_int(ost.resample, "phase_shift", 10, 0);
            lib::av_opt_set_int(ost.resample, "linear_interp", 0, 0);
            lib::av_opt_set_double(ost.resample, "cutoff", 0.8, 0);
            result = lib::swr_init(ost.resample);
        }
        if (result >= 0)
            result = lib::av_channel_layout_copy(&ost.resample_ch_layout, &frame->ch_layout);
        if (result < 0) {
            lib::swr_free(&ost.resample);
            throw FFmpegException(rtl::Format(
                "Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                frame->ch_layout.nb_channels, irate, enc->ch_layout.nb_channels, orate));
        }
        ost.resample_sample_fmt = AVSampleFormat(frame->format);
        ost.resample_sample_rate = irate;
    }

    const uint8_t* const* data = frame->extended_data;
    int samples = frame->nb_samples;
    // Planes of the block after samples dropped from its start.
    std::vector<const uint8_t*> moved;
    double ipts = double(ost.sync_ist->pts - Fstart_time) / 1000000;
    // Samples already on their way to the encoder, counted in the encoder's own units whatever
    // its sample format.
    int64_t buffered = lib::av_audio_fifo_size(ost.fifo);
    if (Faudio_sync_method == 0) {
        // The output follows the input clock, but never back over samples already encoded: the
        // encoder stamps each frame with this position, and the files want it rising.
        ost.sync_opts = std::max(ost.sync_opts, rtl::Round(ipts * orate) - buffered);
    } else {
        double delta = ipts * orate - double(ost.sync_opts) - double(buffered);
        int64_t inputDelta = int64_t(std::trunc(delta * irate / orate));
        if (std::fabs(delta) > 50) {
            if (ist.is_start != 0 || std::fabs(delta) > orate * double(Faudio_drift_threshold)) {
                if (inputDelta < 0) {
                    int drop = int(std::min<int64_t>(-inputDelta, samples));
                    if (Fverbose > 2)
                        GetFFLogger().Log(this, llVerbose,
                                          rtl::Format("discarding %d audio samples",
                                                      int64_t(std::trunc(-delta))));
                    bool planar = lib::av_sample_fmt_is_planar(AVSampleFormat(frame->format));
                    int planes = planar ? frame->ch_layout.nb_channels : 1;
                    int step = lib::av_get_bytes_per_sample(AVSampleFormat(frame->format)) *
                               (planar ? 1 : frame->ch_layout.nb_channels);
                    for (int p = 0; p < planes; ++p)
                        moved.push_back(data[p] + ptrdiff_t(drop) * step);
                    data = moved.data();
                    samples -= drop;
                    ist.is_start = 0;
                    if (samples == 0) return;
                } else {
                    InsertSilence(ost, int(inputDelta));
                    ist.is_start = 0;
                    if (Fverbose > 2)
                        GetFFLogger().Log(this, llVerbose,
                                          rtl::Format("adding %d audio samples of silence",
                                                      int64_t(std::trunc(delta))));
                }
            } else if (Faudio_sync_method > 1 && ost.resample != nullptr) {
                int comp = int(
                    std::clamp<double>(std::trunc(delta), -Faudio_sync_method, Faudio_sync_method));
                if (Fverbose > 2)
                    GetFFLogger().Log(
                        this, llVerbose,
                        rtl::Format("compensating audio timestamp drift:%f compensation:%d in:%d",
                                    delta, comp, orate));
                lib::swr_set_compensation(ost.resample, comp, orate);
            }
        }
    }

    if (ost.resample != nullptr) {
        int capacity = lib::swr_get_out_samples(ost.resample, samples);
        AVFrame* converted =
            SampleFrame(ost.converted_frame, ost.converted_frame_capacity, enc, capacity);
        int out = lib::swr_convert(ost.resample, converted->data, capacity,
                                   const_cast<const uint8_t**>(data), samples);
        if (out < 0)
            throw FFmpegException(rtl::Format(
                "Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                frame->ch_layout.nb_channels, irate, enc->ch_layout.nb_channels, orate));
        WriteToFifo(ost.fifo, converted->data, out);
    } else {
        WriteToFifo(ost.fifo, const_cast<uint8_t* const*>(data), samples);
    }

    auto encodeSamples = [&](int count) {
        AVFrame* out = SampleFrame(ost.audio_frame, ost.audio_frame_capacity, enc, count);
        lib::av_audio_fifo_read(ost.fifo, reinterpret_cast<void**>(out->data), count);
        out->pts = ost.sync_opts;
        EncodeFrame(ost, out, Faudio_size);
        ost.sync_opts += count;
    };
    if (VariableFrameSize(enc)) {
        int count = lib::av_audio_fifo_size(ost.fifo);
        if (count > 0) encodeSamples(count);
    } else {
        while (lib::av_audio_fifo_size(ost.fifo) >= enc->frame_size) encodeSamples(enc->frame_size);
    }
}

void TCustomFFmpeg::InsertSilence(TAVOutputStream& ost, int samples) {
    if (samples <= 0) return;
    if (ost.resample != nullptr) {
        // Through the resampler, in the input's units, so it keeps its place in the stream.
        if (lib::swr_inject_silence(ost.resample, samples) < 0)
            throw FFmpegException("Out of memory in do_audio_out");
        return;
    }
    // Without a resampler the input is what the encoder takes.
    AVCodecContext* enc = ost.enc_ctx;
    constexpr int kChunk = 16384;
    while (samples > 0) {
        int count = std::min(samples, kChunk);
        AVFrame* silence =
            SampleFrame(ost.converted_frame, ost.converted_frame_capacity, enc, count);
        lib::av_samples_set_silence(silence->data, 0, count, enc->ch_layout.nb_channels,
                                    enc->sample_fmt);
        WriteToFifo(ost.fifo, silence->data, count);
        samples -= count;
    }
}

void TCustomFFmpeg::FlushResampler(TAVOutputStream& ost) {
    if (ost.resample == nullptr || ost.fifo == nullptr) return;
    int capacity = lib::swr_get_out_samples(ost.resample, 0);
    if (capacity <= 0) return;
    AVFrame* converted =
        SampleFrame(ost.converted_frame, ost.converted_frame_capacity, ost.enc_ctx, capacity);
    int samples = lib::swr_convert(ost.resample, converted->data, capacity, nullptr, 0);
    if (samples > 0) WriteToFifo(ost.fifo, converted->data, samples);
}

void TCustomFFmpeg::DrainAudio(TAVOutputStream& ost) {
    AVCodecContext* enc = ost.enc_ctx;
    if (ost.fifo != nullptr) {
        // What the resampler still holds belongs to the end too.
        FlushResampler(ost);
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

namespace {

template <class T>
void ScaleIntegers(uint8_t* plane, int samples, int volume, int64_t low, int64_t high,
                   int64_t zero) {
    T* values = reinterpret_cast<T*>(plane);
    for (int i = 0; i < samples; ++i) {
        int64_t scaled = ((int64_t(values[i]) - zero) * volume + 128) >> 8;
        values[i] = T(std::clamp(scaled + zero, low, high));
    }
}

template <class T>
void ScaleFloats(uint8_t* plane, int samples, int volume) {
    T* values = reinterpret_cast<T*>(plane);
    T gain = T(volume) / T(256);
    for (int i = 0; i < samples; ++i) values[i] *= gain;
}

}  // namespace

void ScaleSamples(uint8_t* const* planes, int planeCount, int samples, AVSampleFormat format,
                  int volume) {
    AVSampleFormat packed = lib::av_get_packed_sample_fmt(format);
    for (int p = 0; p < planeCount; ++p) {
        uint8_t* plane = planes[p];
        switch (packed) {
            case AV_SAMPLE_FMT_U8:
                ScaleIntegers<uint8_t>(plane, samples, volume, 0, 255, 128);
                break;
            case AV_SAMPLE_FMT_S16:
                ScaleIntegers<int16_t>(plane, samples, volume, INT16_MIN, INT16_MAX, 0);
                break;
            case AV_SAMPLE_FMT_S32:
                ScaleIntegers<int32_t>(plane, samples, volume, INT32_MIN, INT32_MAX, 0);
                break;
            case AV_SAMPLE_FMT_S64: {
                // No room for the product in 64 bits: the gain in floating point, clamped.
                auto* values = reinterpret_cast<int64_t*>(plane);
                for (int i = 0; i < samples; ++i) {
                    long double scaled = (long double)values[i] * volume / 256;
                    values[i] = scaled >= (long double)INT64_MAX   ? INT64_MAX
                                : scaled <= (long double)INT64_MIN ? INT64_MIN
                                                                   : int64_t(std::round(scaled));
                }
                break;
            }
            case AV_SAMPLE_FMT_FLT:
                ScaleFloats<float>(plane, samples, volume);
                break;
            case AV_SAMPLE_FMT_DBL:
                ScaleFloats<double>(plane, samples, volume);
                break;
            default:
                break;
        }
    }
}

}  // namespace media
