// TAVProbe: single pictures from a video stream of a file the probe opened itself.
#include "media/probe/av_probe.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/probe/probe_support.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

bool Known(int64_t timestamp) {
    return timestamp != AV_NOPTS_VALUE;
}

// A frame duration that moves a seek target: a rate of millions per second would give 0.
// The longest step back when looking for the previous key frame, in microseconds.
constexpr int64_t kMaxBackStride = 2000000;

int64_t StepDuration(AVRational rate) {
    int64_t duration = FrameDuration(rate);
    return duration > 0 ? duration : 40000;
}

}  // namespace

TAVProbe::TAVProbe() = default;

TAVProbe::~TAVProbe() {
    TAVProbe::CloseFile();
    if (FPicture.Buffer != nullptr) lib::av_free(FPicture.Buffer);
    ResetRGBConvertContext(FRGBContext);
    if (FFrame != nullptr) lib::av_frame_free(&FFrame);
    if (FPacket != nullptr) lib::av_packet_free(&FPacket);
}

void TAVProbe::ScanStreams() {
    TCustomAVProbe::ScanStreams();
    FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
    if (FFileHandle == nullptr) return;
    int64_t start =
        FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
    FStartTime = Known(start) ? start : 0;
}

void TAVProbe::ResetPicture() {
    if (Known(FPicture.PTS)) FLastPTS = FPicture.PTS;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.PixFmt = FPicture.Width = FPicture.Height = FPicture.StreamIndex = -1;
    FPicture.Position = -1;
    FPicture.IsKeyFrame = false;
    FPicture.PictureType = ptUnknown;
    FPicture.PTS = FPicture.OriginalDTS = FPicture.OriginalPTS = AV_NOPTS_VALUE;
    FPicture.Ready = false;
}

void TAVProbe::CloseFile() {
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ResetPicture();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    CloseDecoder();
    ResetRGBConvertContext(FRGBContext);
    TCustomAVProbe::CloseFile();
}

void TAVProbe::CloseDecoder() {
    if (FCodec != nullptr) lib::avcodec_free_context(&FCodec);
    FCodecIndex = -1;
    FDraining = false;
    FSentDTS = FSentPTS = AV_NOPTS_VALUE;
    FSentFlags = 0;
}

int64_t TAVProbe::ReaderPosition() const {
    // avio_tell is an inline call of avio_seek.
    if (FFileHandle == nullptr || FFileHandle->pb == nullptr) return -1;
    return lib::avio_seek(FFileHandle->pb, 0, SEEK_CUR);
}

int64_t TAVProbe::Position() {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return -1;
    }
    if (FFileHandle->pb == nullptr) {
        SetError(AV_LOG_WARNING, "cannot get position");
        return -1;
    }
    return ReaderPosition();
}

bool TAVProbe::CheckOwnHandle() {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return false;
    }
    if (FOwnHandle) return true;
    const char* message = "file cannot be seeked, handle is readonly.";
    SetError(AV_LOG_WARNING, message);
    throw rtl::Exception(message);
}

bool TAVProbe::CheckSeekable() {
    if (!CheckOwnHandle()) return false;
    if (IsStillImageFormat()) {
        SetError(AV_LOG_INFO, "\"image2\" format cannot to be seeked.");
        return false;
    }
    return true;
}

bool TAVProbe::Seek(int64_t pts, TSeekFlags seekFlags) {
    ++FSeekCount;
    if (!CheckSeekable()) return false;
    AVIOContext* reader = FFileHandle->pb;
    if (reader != nullptr)
        SetError(AV_LOG_DEBUG, rtl::Format("currunt position %d bytes", ReaderPosition()));

    bool byBytes = seekFlags.Contains(sfByte);
    int64_t target = std::max<int64_t>(pts, 0);
    if (!byBytes) {
        if (FSeekIndex >= 0)
            target = lib::av_rescale_q(target, kMicroseconds,
                                       UsableTimeBase(FFileHandle->streams[FSeekIndex]->time_base));
        if (FStartTime > 0) target += FStartTime;
    }

    if (FCodec != nullptr) lib::avcodec_flush_buffers(FCodec);
    FDraining = false;
    FEOF = false;
    ResetPicture();

    int flags = SeekFlagsValue(seekFlags);
    int result;
    if (pts > 0) {
        result = lib::av_seek_frame(FFileHandle, FSeekIndex, target, flags);
    } else {
        // The start of the file: backward from 0 first, then as asked without backward.
        result = lib::av_seek_frame(FFileHandle, FSeekIndex, 0, flags | AVSEEK_FLAG_BACKWARD);
        if (result < 0)
            result =
                lib::av_seek_frame(FFileHandle, FSeekIndex, pts, flags & ~AVSEEK_FLAG_BACKWARD);
    }
    bool ok = result >= 0;
    if (!ok) {
        SetError(AV_LOG_ERROR,
                 byBytes ? rtl::Format("could not seek to position %d bytes", pts)
                         : rtl::Format("could not seek to position %0.3f seconds", pts / 1e6));
    }
    if (reader != nullptr) {
        SetError(AV_LOG_DEBUG, rtl::Format("seek to position %d bytes", ReaderPosition()));
        if (lib::avio_feof(reader)) {
            if (ok) SetError(AV_LOG_INFO, "stream eof reached.");
            FEOF = true;
            return false;
        }
    }
    return ok;
}

int TAVProbe::SelectDecodeStream(int streamIndex) {
    if (!CheckOwnHandle()) return -1;
    if (streamIndex < 0) {
        streamIndex = FDecodeIndex >= 0 ? FDecodeIndex : FFirstVideoStreamIndex;
        if (streamIndex < 0) {
            SetError(AV_LOG_ERROR, "no video stream.");
            return -1;
        }
    } else if (streamIndex >= FStreamCount) {
        SetError(AV_LOG_ERROR, rtl::Format("stream index #%d is invalid.", streamIndex));
        return -1;
    } else if (FFileHandle->streams[streamIndex]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        SetError(AV_LOG_ERROR, rtl::Format("stream #%d is not video stream.", streamIndex));
        return -1;
    }
    if (streamIndex != FDecodeIndex) ResetPicture();
    FDecodeIndex = streamIndex;
    return streamIndex;
}

AVCodecContext* TAVProbe::OpenDecoder(int streamIndex) {
    const AVStream* stream = FFileHandle->streams[streamIndex];
    const AVCodecParameters* parameters = stream->codecpar;
    if (parameters->width == 0 || parameters->height == 0) {
        SetError(AV_LOG_ERROR, "frame size of codec is invalid.");
        return nullptr;
    }
    if (FCodec != nullptr && FCodecIndex == streamIndex) return FCodec;
    CloseDecoder();

    const AVCodec* codec = lib::avcodec_find_decoder(parameters->codec_id);
    if (codec == nullptr) {
        SetError(AV_LOG_ERROR, rtl::Format("Unsupported codec (id=%d) for input file stream #%d",
                                           int(parameters->codec_id), streamIndex));
        return nullptr;
    }
    // Streams carry no codec context any more: the decoder gets one of its own.
    AVCodecContext* context = lib::avcodec_alloc_context3(codec);
    int result = context != nullptr ? lib::avcodec_parameters_to_context(context, parameters)
                                    : AVERROR(ENOMEM);
    if (result >= 0) {
        context->pkt_timebase = stream->time_base;
        context->thread_count = 1;
        result = lib::avcodec_open2(context, codec, nullptr);
        if (result < 0) lib::avcodec_free_context(&context);
    } else if (context != nullptr) {
        lib::avcodec_free_context(&context);
    }
    if (result < 0) {
        SetError(AV_LOG_ERROR,
                 rtl::Format("Error while opening codec for input file stream #%d", streamIndex));
        return nullptr;
    }
    FCodec = context;
    FCodecIndex = streamIndex;
    FDraining = false;
    return FCodec;
}

bool TAVProbe::StorePicture(const AVFrame* frame, int64_t position) {
    auto pixFmt = AVPixelFormat(frame->format);
    // The copy is a scaler's source later: rows and a tail the scaler may read past the picture.
    int size = ScalerPictureSize(pixFmt, frame->width, frame->height);
    if (size >= 0 && FPicture.Size < size) {
        lib::av_free(FPicture.Buffer);
        FPicture.Buffer = static_cast<uint8_t*>(lib::av_malloc(size_t(size)));
        if (FPicture.Buffer == nullptr) size = AVERROR(ENOMEM);
    }
    if (size < 0) {
        // The old picture's planes may be gone with the buffer.
        ResetPicture();
        FPicture.Size = 0;
        SetError(AV_LOG_ERROR, "picture buffer could not be allocated");
        return false;
    }
    FPicture.Size = size;
    FPicture.PixFmt = frame->format;
    FPicture.Width = frame->width;
    FPicture.Height = frame->height;
    FPicture.IsKeyFrame = frame->key_frame == 1;
    FPicture.PictureType =
        frame->pict_type >= 0 && frame->pict_type <= 7 ? TPictureType(frame->pict_type) : ptUnknown;

    // The packet that completed the picture gives its time; pictures drained at the end of the
    // file have no such packet and carry their own.
    int64_t packetDTS = FDraining ? frame->pkt_dts : FSentDTS;
    int64_t packetPTS = FDraining ? frame->pts : FSentPTS;
    int64_t timestamp = packetDTS;
    if (!Known(timestamp)) timestamp = frame->reordered_opaque;
    if (!Known(timestamp)) timestamp = packetPTS;

    if (Known(FPicture.PTS)) FLastPTS = FPicture.PTS;
    const AVStream* stream = FFileHandle->streams[FDecodeIndex];
    if (!Known(timestamp)) {
        FPicture.PTS = AV_NOPTS_VALUE;
    } else {
        if (Known(stream->start_time)) timestamp -= stream->start_time;
        FPicture.PTS =
            lib::av_rescale_q(timestamp, UsableTimeBase(stream->time_base), kMicroseconds);
        lib::av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", FPicture.PTS / 1e6);
    }
    FPicture.OriginalDTS = packetDTS;
    FPicture.OriginalPTS = packetPTS;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position != -1) FLastPos = FPicture.Position;
    FPicture.Position = position;

    FillScalerPicture(FPicture.Picture, FPicture.Buffer, pixFmt, frame->width, frame->height);
    lib::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize,
                       const_cast<const uint8_t**>(frame->data), frame->linesize, pixFmt,
                       frame->width, frame->height);
    FPicture.Ready = true;
    return true;
}

int TAVProbe::ReceivePicture(int64_t position) {
    if (lib::avcodec_receive_frame(FCodec, FFrame) < 0) return 0;
    GetFFLogger().Log(this, llDebug, "pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d",
                      FDecodeIndex, FSentDTS, FSentPTS, FSentFlags, int(FFrame->pict_type));
    bool stored = StorePicture(FFrame, position);
    lib::av_frame_unref(FFrame);
    return stored ? 1 : -1;
}

bool TAVProbe::Decode(int streamIndex) {
    int index = SelectDecodeStream(streamIndex);
    if (index < 0) return false;
    // A still picture is decoded once and then kept.
    if (FPicture.Ready && IsStillImageFormat()) return true;
    if (FEOF) {
        SetError(AV_LOG_INFO, "stream eof reached.");
        return false;
    }
    if (OpenDecoder(index) == nullptr) return false;
    if (FFrame == nullptr) FFrame = lib::av_frame_alloc();
    if (FPacket == nullptr) FPacket = lib::av_packet_alloc();
    if (FFrame == nullptr || FPacket == nullptr) {
        SetError(AV_LOG_ERROR, ErrorCodeText(FileName(), AVERROR(ENOMEM)));
        return false;
    }

    int64_t position = ReaderPosition();
    // One packet may complete more than one picture: take what the decoder holds first.
    int received = ReceivePicture(position);
    while (received == 0 && !FDraining) {
        int result = lib::av_read_frame(FFileHandle, FPacket);
        if (result == AVERROR(EAGAIN)) {
            // The reader is non-blocking: no data yet is not the end of the file.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (result < 0) {
            // The end: the decoder gives up the pictures it still holds.
            FDraining = true;
            lib::avcodec_send_packet(FCodec, nullptr);
        } else if (FPacket->stream_index != index) {
            lib::av_packet_unref(FPacket);
            continue;
        } else {
            FCodec->reordered_opaque = FPacket->pts;
            FSentDTS = FPacket->dts;
            FSentPTS = FPacket->pts;
            FSentFlags = FPacket->flags;
            result = lib::avcodec_send_packet(FCodec, FPacket);
            lib::av_packet_unref(FPacket);
            if (result < 0) continue;  // a broken packet: read on
        }
        received = ReceivePicture(position);
    }
    if (received > 0) return true;
    if (received < 0) return false;
    SetError(AV_LOG_INFO, "stream eof reached.");
    FEOF = true;
    return false;
}

bool TAVProbe::DecodeNextKeyFrame(int streamIndex) {
    int index = SelectDecodeStream(streamIndex);
    if (index < 0) return false;
    int64_t target = StepDuration(FFileHandle->streams[index]->r_frame_rate);
    if (FPicture.PTS > 0) target += FPicture.PTS;
    // Forward: the first key frame at or after the target.
    if (!Seek(target, {})) return false;
    return Decode(index);
}

bool TAVProbe::DecodePreviousFrame(int streamIndex) {
    int index = SelectDecodeStream(streamIndex);
    if (index < 0) return false;
    int64_t duration = StepDuration(FFileHandle->streams[index]->r_frame_rate);
    int64_t base = Known(FPicture.PTS) ? FPicture.PTS : Known(FLastPTS) ? FLastPTS : 0;
    int64_t target = base - 2 * duration;
    if (!DecodePreviousKeyFrame(index)) return false;
    for (;;) {
        if (target < FPicture.PTS) return true;
        if (!Decode(index)) return false;
    }
}

bool TAVProbe::DecodePreviousKeyFrame(int streamIndex) {
    int index = SelectDecodeStream(streamIndex);
    if (index < 0) return false;
    int64_t duration = StepDuration(FFileHandle->streams[index]->r_frame_rate);
    int64_t ref = 0;
    if (Known(FPicture.PTS))
        ref = FPicture.PTS;
    else if (Known(FLastPTS))
        ref = FLastPTS;
    else if (Known(FFileHandle->duration))
        ref = FFileHandle->duration;

    // Every step decodes: whether a seek got before the current picture cannot be told from the
    // reader's position, which demuxers that seek lazily (MP4) leave where it was. A picture
    // decoded without getting back is not earlier than ref, so the step goes on, each one
    // twice as long as the one before up to a cap: seeks that land late (MPEG-TS) would
    // otherwise cost one seek per frame back to the start.
    int64_t stride = duration;
    int64_t back = duration;
    for (;;) {
        Seek(ref - back, {sfBackward});
        if (Decode(index)) {
            if (FPicture.PTS < ref || FPicture.PTS <= 0) break;
            // The target lies before the start of the stream and still no earlier picture
            // came: this is the stream's first key frame, and stepping further back would
            // only find it again.
            if (back > ref) return true;
        } else if (back > ref) {
            FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
            return false;
        }
        stride = std::min(stride * 2, std::max(duration, kMaxBackStride));
        back += stride;
    }
    if (stride == duration) return true;
    // A long stride may have passed over key frames nearer to ref: the last of them before ref
    // is the one wanted.
    int64_t nearest = FPicture.PTS;
    while (Decode(index) && FPicture.PTS < ref)
        if (FPicture.IsKeyFrame) nearest = FPicture.PTS;
    Seek(nearest, {sfBackward});
    while (Decode(index))
        if (FPicture.PTS >= nearest) return true;
    return false;
}

bool TAVProbe::CopyToBitmap(gfx::TBitmap& bitmap) {
    if (!FPicture.Ready) {
        SetError(AV_LOG_ERROR, "picture not ready, please decode first");
        return false;
    }
    if (PictureToBitmap(FRGBContext, FPicture.Picture, AVPixelFormat(FPicture.PixFmt),
                        FPicture.Width, FPicture.Height)) {
        bitmap.Assign(*FRGBContext.Bitmap);
        return true;
    }
    bitmap.SetSize(FPicture.Width, FPicture.Height);
    gfx::TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(gfx::clBlack);
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    lib::av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
    return false;
}

}  // namespace media
