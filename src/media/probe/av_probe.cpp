#include "media/probe/av_probe.h"

#include <cctype>
#include <cstdint>
#include <type_traits>

#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/media_utils.h"
#include "media/libs/unicode_protocol.h"
#include "media/probe/probe_support.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

// The leading decimal number of a tag such as "2009-05-01" or "3/12"; 0 when there is none.
int32_t LeadingNumber(const std::string& text) {
    int64_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return int32_t(value);
}

// The container's creation time in seconds since 1970; 0 when it has none or it does not parse.
int64_t CreationTime(const AVDictionary* metadata) {
    const AVDictionaryEntry* tag = lib::av_dict_get(metadata, "creation_time", nullptr, 0);
    int64_t micros = 0;
    if (tag == nullptr || tag->value == nullptr || lib::av_parse_time(&micros, tag->value, 0) < 0)
        return 0;
    return micros / 1000000;
}

int64_t RawOrMinusOne(int64_t value) {
    return value == AV_NOPTS_VALUE ? -1 : value;
}

}  // namespace

TCustomAVProbe::TCustomAVProbe() {
    ScanStreams();
}

TCustomAVProbe::~TCustomAVProbe() {
    TCustomAVProbe::CloseFile();
}

void TCustomAVProbe::SetError(int libLevel, const std::string& message) {
    GetFFLogger().Log(this, LibLevelToLogLevel(libLevel), message);
    FLastErrMsg = message;
}

void TCustomAVProbe::CheckLibraries() const {
    static constexpr struct {
        TLibrary Library;
        const char* Message;
    } kChecks[] = {
        {avCodec, "LibAVCodec not loaded."},
        {avFormat, "LibAVFormat not loaded."},
        {avUtil, "LibAVUtil not loaded."},
        {swScale, "LibSwScale not loaded."},
    };
    for (const auto& check : kChecks)
        if (!AVLibLoader().Loaded(check.Library)) throw rtl::Exception(check.Message);
}

bool TCustomAVProbe::LoadFile(const std::string& fileName, const std::string& formatName) {
    CheckLibraries();
    CloseFile();

    const AVInputFormat* format = nullptr;
    if (!formatName.empty()) {
        format = lib::av_find_input_format(formatName.c_str());
        if (format == nullptr) {
            FLastErrMsg = "Unknown input format: " + formatName;
            return false;
        }
    }

    FFileHandle = lib::avformat_alloc_context();
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_ERROR, ErrorCodeText(fileName, AVERROR(ENOMEM)));
        return false;
    }
    FOwnHandle = true;
    FFileHandle->flags |= AVFMT_FLAG_NONBLOCK;

    // The library frees our context when it fails, and nulls the pointer.
    int result = OpenInputFile(&FFileHandle, fileName, format, nullptr);
    if (result < 0) {
        SetError(AV_LOG_ERROR, ErrorCodeText(fileName, result));
        CloseFile();
        return false;
    }

    result = lib::avformat_find_stream_info(FFileHandle, nullptr);
    if (result < 0) {
        FLastErrMsg = fileName + ": could not find codec parameters";
        CloseFile();
        return false;
    }

    ScanStreams();
    FForceFormat = formatName;
    return true;
}

void TCustomAVProbe::SetFileHandle(AVFormatContext* value) {
    CheckLibraries();
    CloseFile();
    FOwnHandle = false;
    FFileHandle = value;
    ScanStreams();
}

void TCustomAVProbe::CloseFile() {
    FForceFormat.clear();
    if (FFileHandle != nullptr) {
        if (FOwnHandle) CloseInputFile(&FFileHandle);
        FFileHandle = nullptr;
    }
    FOwnHandle = false;
    ScanStreams();
}

void TCustomAVProbe::ScanStreams() {
    FFileSize = -1;
    FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    if (FFileHandle == nullptr) return;

    FFileSize = FFileHandle->pb != nullptr ? lib::avio_size(FFileHandle->pb) : 0;
    if (FFileSize <= 0) {
        // Pipes, non-seekable readers and formats without a reader: the size on disk.
        std::string name = FileNameFromLibrary(FFileHandle->url);
        int64_t sizeOnDisk = name.empty() ? -1 : FileSizeOf(name);
        if (sizeOnDisk >= 0) FFileSize = sizeOnDisk;
    }

    FStreamCount = int(FFileHandle->nb_streams);
    FProgramCount = int(FFileHandle->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    for (int i = 0; i < FStreamCount; ++i) {
        switch (FFileHandle->streams[i]->codecpar->codec_type) {
            case AVMEDIA_TYPE_VIDEO:
                ++FVideoStreamCount;
                if (FFirstVideoStreamIndex < 0) FFirstVideoStreamIndex = i;
                break;
            case AVMEDIA_TYPE_AUDIO:
                ++FAudioStreamCount;
                if (FFirstAudioStreamIndex < 0) FFirstAudioStreamIndex = i;
                break;
            case AVMEDIA_TYPE_SUBTITLE:
                ++FSubtitleStreamCount;
                if (FFirstSubtitleStreamIndex < 0) FFirstSubtitleStreamIndex = i;
                break;
            default:
                break;
        }
    }
}

bool TCustomAVProbe::IsStillImageFormat() const {
    if (FFileHandle == nullptr || FFileHandle->iformat == nullptr) return false;
    std::string name = FFileHandle->iformat->name != nullptr ? FFileHandle->iformat->name : "";
    return rtl::SameText(name, "image2") || name.ends_with("_pipe");
}

std::string TCustomAVProbe::FileName() {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return "";
    }
    return FileNameFromLibrary(FFileHandle->url);
}

std::string TCustomAVProbe::FormatName() {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return "";
    }
    const AVInputFormat* format = FFileHandle->iformat;
    return format != nullptr && format->name != nullptr ? LibraryText(format->name) : "";
}

std::string TCustomAVProbe::FormatLongName() {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return "";
    }
    const AVInputFormat* format = FFileHandle->iformat;
    return format != nullptr && format->long_name != nullptr ? LibraryText(format->long_name) : "";
}

TFileStreamInfo TCustomAVProbe::FileStreamInfo() {
    TFileStreamInfo info;
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return info;
    }
    const AVDictionary* metadata = FFileHandle->metadata;
    info.StartTime = RawOrMinusOne(FFileHandle->start_time);
    info.Duration = RawOrMinusOne(FFileHandle->duration);
    info.BitRate = FFileHandle->bit_rate;
    // The container's time stamp, year and track live in its tags now.
    info.TimeStamp = CreationTime(metadata);
    std::string year = MetadataValue(metadata, "date", "");
    if (year.empty()) year = MetadataValue(metadata, "year", "");
    info.Year = LeadingNumber(year);
    info.Track = LeadingNumber(MetadataValue(metadata, "track", ""));
    info.Title = MetadataValue(metadata, "title", "");
    info.Author = MetadataValue(metadata, "author", "");
    info.Copyright = MetadataValue(metadata, "copyright", "");
    info.Comment = MetadataValue(metadata, "comment", "");
    info.Album = MetadataValue(metadata, "album", "");
    info.Genre = MetadataValue(metadata, "genre", "");
    return info;
}

bool TCustomAVProbe::IsStreamOfType(int streamIndex, AVMediaType type) {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return false;
    }
    if (streamIndex < 0 || streamIndex >= int(FFileHandle->nb_streams)) {
        SetError(AV_LOG_ERROR, rtl::Format("stream index #%d is invalid.", streamIndex));
        return false;
    }
    return FFileHandle->streams[streamIndex]->codecpar->codec_type == type;
}

bool TCustomAVProbe::IsAudioStream(int streamIndex) {
    return IsStreamOfType(streamIndex, AVMEDIA_TYPE_AUDIO);
}

bool TCustomAVProbe::IsVideoStream(int streamIndex) {
    return IsStreamOfType(streamIndex, AVMEDIA_TYPE_VIDEO);
}

bool TCustomAVProbe::IsSubtitleStream(int streamIndex) {
    return IsStreamOfType(streamIndex, AVMEDIA_TYPE_SUBTITLE);
}

// The stream a record describes: a negative index picks the first of the kind. Null, with the
// message reported, when there is none or the index does not fit.
const AVStream* TCustomAVProbe::StreamOfKind(int streamIndex, AVMediaType type, int firstIndex) {
    const char* kind = type == AVMEDIA_TYPE_AUDIO   ? "audio"
                       : type == AVMEDIA_TYPE_VIDEO ? "video"
                                                    : "subtitle";
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return nullptr;
    }
    if (streamIndex < 0) {
        if (firstIndex < 0) {
            SetError(AV_LOG_ERROR, rtl::Format("no %s stream.", kind));
            return nullptr;
        }
        streamIndex = firstIndex;
    } else if (streamIndex >= int(FFileHandle->nb_streams)) {
        SetError(AV_LOG_ERROR, rtl::Format("stream index #%d is invalid.", streamIndex));
        return nullptr;
    } else if (FFileHandle->streams[streamIndex]->codecpar->codec_type != type) {
        SetError(AV_LOG_ERROR, rtl::Format("stream #%d is not %s stream.", streamIndex, kind));
        return nullptr;
    }
    return FFileHandle->streams[streamIndex];
}

namespace {

// Language, codec name and the times shared by the audio and the video record.
template <class TInfo>
void FillCommon(TInfo& info, const AVStream* stream) {
    info.Language = MetadataValue(stream->metadata, "language", "");
    TDecoderParameters decoder(stream);
    if (decoder.Context() != nullptr) info.CodecName = CodecNameText(decoder.Context(), false);
    if constexpr (!std::is_same_v<TInfo, TSubtitleStreamInfo>) {
        // A local time base: the library's stream record is not ours to repair.
        AVRational timeBase = UsableTimeBase(stream->time_base);
        info.StartTime = stream->start_time;
        info.Duration = stream->duration;
        if (stream->start_time != AV_NOPTS_VALUE)
            info.StartTimeScaled = lib::av_rescale_q(stream->start_time, timeBase, kMicroseconds);
        if (stream->duration != AV_NOPTS_VALUE)
            info.DurationScaled = lib::av_rescale_q(stream->duration, timeBase, kMicroseconds);
    }
}

}  // namespace

TAudioStreamInfo TCustomAVProbe::GetAudioStreamInfo(int streamIndex) {
    TAudioStreamInfo info;
    const AVStream* stream = StreamOfKind(streamIndex, AVMEDIA_TYPE_AUDIO, FFirstAudioStreamIndex);
    if (stream == nullptr) return info;
    FillCommon(info, stream);
    const AVCodecParameters* codec = stream->codecpar;
    info.BitRate = codec->bit_rate;
    info.Channels = codec->ch_layout.nb_channels;
    info.SampleRate = codec->sample_rate;
    info.SampleFormat = codec->format;
    return info;
}

TVideoStreamInfo TCustomAVProbe::GetVideoStreamInfo(int streamIndex) {
    TVideoStreamInfo info;
    const AVStream* stream = StreamOfKind(streamIndex, AVMEDIA_TYPE_VIDEO, FFirstVideoStreamIndex);
    if (stream == nullptr) return info;
    FillCommon(info, stream);
    const AVCodecParameters* codec = stream->codecpar;
    info.BitRate = codec->bit_rate;
    info.Height = codec->height;
    info.Width = codec->width;
    info.PixFmt = codec->format;
    // Floating point throughout: a zero height or ratio denominator gives inf or nan, not a trap.
    info.AspectRatio =
        float(codec->width) *
        (float(codec->sample_aspect_ratio.num) / float(codec->sample_aspect_ratio.den)) /
        float(codec->height);
    info.FrameRate = stream->r_frame_rate;
    return info;
}

TSubtitleStreamInfo TCustomAVProbe::GetSubtitleStreamInfo(int streamIndex) {
    TSubtitleStreamInfo info;
    const AVStream* stream =
        StreamOfKind(streamIndex, AVMEDIA_TYPE_SUBTITLE, FFirstSubtitleStreamIndex);
    if (stream == nullptr) return info;
    FillCommon(info, stream);
    return info;
}

bool TCustomAVProbe::AVLibLoaded() const {
    return AVLibLoader().Loaded(AVProbeLibraries);
}

bool TCustomAVProbe::LoadAVLib(const std::string& path) {
    AVLibLoader().SetLibraryPath(path);
    bool loaded = AVLibLoader().Load(AVProbeLibraries);
    if (!loaded) FLastErrMsg = AVLibLoader().LastErrMsg();
    return loaded;
}

void TCustomAVProbe::UnloadAVLib() {
    AVLibLoader().Unload(AVProbeLibraries);
}

}  // namespace media
