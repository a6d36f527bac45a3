// Probe (src/media/probe): what a media file holds and single pictures out of it. The probe and
// its description (this header, av_probe.cpp), the information text (probe_info_text.cpp) and
// the frame grabber (frame_grabber.cpp: seek, decode, step and copy a picture); the helpers they
// share are in probe_support.h. Uses the media libraries (libs) only; the task manager and the
// player use it.
//
// The media probe: opens a file with the format library, or attaches to a format context another
// component opened, and describes it (stream counts and first indexes, size, duration, tags,
// per-stream records and FileInfoText). TAVProbe adds single pictures: seek, decode, step to the
// next or previous (key) frame and copy the picture into a bitmap.
//
// A probe owns the context it opened itself (never an attached one), its decoder context and its
// stored picture. It is used by one thread at a time, its owner's; it opens, probes and closes
// without CodecLock, as everything else does (see ffmpeg_loader.h).
#pragma once

#include <cstdint>
#include <string>

#include "media/libs/ff_base_component.h"
#include "media/libs/ff_utils.h"
#include "media/libs/ffmpeg_api.h"

namespace media {

// Times in microseconds, -1 when the library has no value. TimeStamp is seconds since
// 1970-01-01 UTC (0 when unknown), Year and Track 0 when unknown. Without a file every number
// is -1.
struct TFileStreamInfo {
    int64_t StartTime = -1;
    int64_t Duration = -1;
    int64_t BitRate = -1;
    int64_t TimeStamp = -1;
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

// StartTime and Duration in the stream's time base as the library holds them (AV_NOPTS_VALUE
// when it has none); the Scaled fields in microseconds, -1 for AV_NOPTS_VALUE.
struct TAudioStreamInfo {
    std::string Language;
    std::string CodecName;
    int64_t StartTime = -1;
    int64_t StartTimeScaled = -1;
    int64_t Duration = -1;
    int64_t DurationScaled = -1;
    int64_t BitRate = -1;
    int32_t Channels = -1;
    int32_t SampleRate = -1;
    int32_t SampleFormat = -1;  // AVSampleFormat
};

struct TVideoStreamInfo {
    std::string Language;
    std::string CodecName;
    int64_t StartTime = -1;
    int64_t StartTimeScaled = -1;
    int64_t Duration = -1;
    int64_t DurationScaled = -1;
    int64_t BitRate = -1;
    int32_t Height = -1;
    int32_t Width = -1;
    float AspectRatio = -1.0f;  // display width / height; 0 for an unset sample aspect
    int32_t PixFmt = -1;        // AVPixelFormat
    AVRational FrameRate = {-1, -1};
};

struct TSubtitleStreamInfo {
    std::string Language;
    std::string CodecName;
};

class TCustomAVProbe : public TFFBaseComponent {
public:
    TCustomAVProbe();
    ~TCustomAVProbe() override;

    // Closes what is open, then opens the file (with the named input format when not empty).
    // False with LastErrMsg on failure. Raises rtl::Exception when a library is not loaded.
    bool LoadFile(const std::string& fileName, const std::string& formatName = "");
    virtual void CloseFile();

    // Attaches a context another component opened and keeps it (the opener closes it, after it
    // detached it with CloseFile or SetFileHandle(nullptr)). Raises like LoadFile.
    virtual void SetFileHandle(AVFormatContext* value);
    AVFormatContext* FileHandle() const { return FFileHandle; }

    std::string FileName();
    int64_t FileSize() const { return FFileSize; }
    const std::string& ForceFormat() const { return FForceFormat; }
    std::string FormatName();
    std::string FormatLongName();
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
    TFileStreamInfo FileStreamInfo();
    // A negative index means the first stream of the kind.
    TAudioStreamInfo GetAudioStreamInfo(int streamIndex);
    TVideoStreamInfo GetVideoStreamInfo(int streamIndex);
    TSubtitleStreamInfo GetSubtitleStreamInfo(int streamIndex);
    TAudioStreamInfo FirstAudioStreamInfo() { return GetAudioStreamInfo(-1); }
    TVideoStreamInfo FirstVideoStreamInfo() { return GetVideoStreamInfo(-1); }
    TSubtitleStreamInfo FirstSubtitleStreamInfo() { return GetSubtitleStreamInfo(-1); }
    // The multi-line description, every line ended by CR LF.
    std::string FileInfoText();
    const std::string& LastErrMsg() const { return FLastErrMsg; }

    bool IsAudioStream(int streamIndex);
    bool IsVideoStream(int streamIndex);
    bool IsSubtitleStream(int streamIndex);

    // Over the probe's load set (AVProbeLibraries).
    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& path);
    void UnloadAVLib();

protected:
    virtual void ScanStreams();
    // Logs the message at the library level's log level and keeps it in LastErrMsg.
    void SetError(int libLevel, const std::string& message);
    // Raises rtl::Exception "LibAVCodec not loaded." (and its siblings) for the first library
    // missing.
    void CheckLibraries() const;
    bool IsStreamOfType(int streamIndex, AVMediaType type);
    // The input format is a still picture: "image2" or one of the image-pipe demuxers.
    bool IsStillImageFormat() const;

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    std::string FLastErrMsg;
    std::string FForceFormat;
    int64_t FFileSize = -1;
    int FStreamCount = -1;
    int FProgramCount = -1;
    int FAudioStreamCount = -1;
    int FVideoStreamCount = -1;
    int FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1;
    int FFirstVideoStreamIndex = -1;
    int FFirstSubtitleStreamIndex = -1;

private:
    const AVStream* StreamOfKind(int streamIndex, AVMediaType type, int firstIndex);
    void AppendMetadata(std::string& text, const AVDictionary* metadata, const std::string& indent);
    void AppendStreamLine(std::string& text, int streamIndex);
};

// The picture last decoded. PTS in microseconds from the start of its stream, AV_NOPTS_VALUE
// when unknown; OriginalDTS and OriginalPTS in the stream's time base; Position the reader's byte
// position before the picture's packets were read. Buffer (library memory, owned by the probe)
// holds the planes of Picture.
struct TFrameInfo {
    int32_t PixFmt = -1;
    int32_t Width = -1;
    int32_t Height = -1;
    bool IsKeyFrame = false;
    TPictureType PictureType = ptUnknown;
    int64_t PTS = AV_NOPTS_VALUE;
    int64_t OriginalDTS = AV_NOPTS_VALUE;
    int64_t OriginalPTS = AV_NOPTS_VALUE;
    int32_t StreamIndex = -1;
    int64_t Position = -1;
    bool Ready = false;
    TAVPicture Picture;
    uint8_t* Buffer = nullptr;
    int32_t Size = 0;
};

class TAVProbe : public TCustomAVProbe {
public:
    TAVProbe();
    ~TAVProbe() override;

    void CloseFile() override;

    // Microseconds from the start of the seek stream (the first video stream, else the first
    // audio stream), or a byte position with sfByte; a negative time seeks to the start.
    bool Seek(int64_t pts, TSeekFlags seekFlags = {});
    // A stream index below 0 means the stream decoded last, else the first video stream.
    bool Decode(int streamIndex = -1);
    bool DecodeNextKeyFrame(int streamIndex = -1);
    bool DecodePreviousFrame(int streamIndex = -1);
    bool DecodePreviousKeyFrame(int streamIndex = -1);
    // A 24-bit copy of the stored picture. On failure the bitmap is black at the picture's size.
    bool CopyToBitmap(gfx::TBitmap& bitmap);

    // Not EOF: <cstdio> claims that name as a macro.
    bool Eof() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }
    // The file reader's byte position; -1 without a file.
    int64_t Position();

protected:
    void ScanStreams() override;

    // Calls of Seek so far: tests bound the seeks a step back costs.
    int64_t FSeekCount = 0;

private:
    void ResetPicture();
    bool CheckOwnHandle();
    bool CheckSeekable();
    int SelectDecodeStream(int streamIndex);
    AVCodecContext* OpenDecoder(int streamIndex);
    void CloseDecoder();
    // Takes a picture the decoder holds already; 1 stored, 0 none, negative on failure.
    int ReceivePicture(int64_t position);
    bool StorePicture(const AVFrame* frame, int64_t position);
    int64_t ReaderPosition() const;

    AVCodecContext* FCodec = nullptr;
    int FCodecIndex = -1;  // the stream FCodec decodes
    TRGBConvertContext FRGBContext;
    int FSeekIndex = -1;
    int64_t FStartTime = -1;
    int FDecodeIndex = -1;
    bool FEOF = false;
    TFrameInfo FPicture;
    int64_t FLastPTS = AV_NOPTS_VALUE;
    int64_t FLastPos = -1;
    AVFrame* FFrame = nullptr;
    AVPacket* FPacket = nullptr;
    // Timestamps of the packet last sent to the decoder: the one that completes a picture.
    int64_t FSentDTS = AV_NOPTS_VALUE;
    int64_t FSentPTS = AV_NOPTS_VALUE;
    int FSentFlags = 0;
    bool FDraining = false;
};

}  // namespace media
