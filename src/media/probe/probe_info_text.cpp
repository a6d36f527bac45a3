// FileInfoText: the probe's description of a file, modelled on the library's own format dump.
#include "media/probe/av_probe.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <string_view>
#include <vector>

#include "media/libs/media_utils.h"
#include "media/probe/probe_support.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

constexpr const char* kLineEnd = "\r\n";

struct TKeyName {
    std::string_view Key;
    const char* Name;
};

// ID3v2 frame identifiers shown by their meaning.
constexpr std::array<TKeyName, 22> kKeyNames = {{
    {"TALB", "album"},     {"TAL", "album"},      {"TCOM", "composer"},   {"TCON", "genre"},
    {"TCO", "genre"},      {"TCOP", "copyright"}, {"TDRL", "date"},       {"TENC", "encoder"},
    {"TEN", "encoder"},    {"TSOA", "albumsort"}, {"TSOP", "authorsort"}, {"TIT2", "title"},
    {"TT2", "title"},      {"TLAN", "language"},  {"TPE1", "artist"},     {"TP1", "artist"},
    {"TPOS", "disc"},      {"TPUB", "publisher"}, {"TRCK", "track"},      {"TRK", "track"},
    {"TSOT", "titlesort"}, {"TYER", "year"},
}};

std::string MetadataKeyName(const char* key) {
    for (const TKeyName& entry : kKeyNames)
        if (entry.Key == key) return entry.Name;
    return LibraryText(key);
}

// ", 25 fps", ", 29.97 fps", ", 90k tbn".
std::string FormatRate(double rate, const char* suffix) {
    auto v = int64_t(std::nearbyint(rate * 100));
    if (v % 100 != 0) return rtl::Format(", %3.2f %s", rate, suffix);
    if (v % 100000 != 0) return rtl::Format(", %1.0f %s", rate, suffix);
    return rtl::Format(", %1.0fk %s", rate / 1000, suffix);
}

// "<seconds>.<micros>"; a negative time keeps one sign in front.
std::string SecondsText(int64_t micros) {
    std::string sign = micros < 0 ? "-" : "";
    uint64_t magnitude = micros < 0 ? 0 - uint64_t(micros) : uint64_t(micros);
    return sign + rtl::Format("%d.%.6d", magnitude / 1000000, magnitude % 1000000);
}

// The program's provider and name. The transport-stream reader calls them service_provider and
// service_name now; the older keys still count when a reader sets them.
std::string ProgramTag(const AVDictionary* metadata, const char* key, const char* olderKey) {
    std::string value = MetadataValue(metadata, key, "");
    if (value.empty()) value = MetadataValue(metadata, olderKey, "N/A");
    return value;
}

}  // namespace

void TCustomAVProbe::AppendMetadata(std::string& text, const AVDictionary* metadata,
                                    const std::string& indent) {
    if (metadata == nullptr) return;
    const AVDictionaryEntry* first = lib::av_dict_get(metadata, "", nullptr, AV_DICT_IGNORE_SUFFIX);
    if (first == nullptr) return;
    bool onlyLanguage = std::string_view(first->key) == "language" &&
                        lib::av_dict_get(metadata, "", first, AV_DICT_IGNORE_SUFFIX) == nullptr;
    if (onlyLanguage) return;
    text += indent + "Metadata:" + kLineEnd;
    for (const AVDictionaryEntry* tag = first; tag != nullptr;
         tag = lib::av_dict_get(metadata, "", tag, AV_DICT_IGNORE_SUFFIX)) {
        if (std::string_view(tag->key) == "language") continue;
        text += rtl::Format("%s  %-16s: %s", indent, MetadataKeyName(tag->key),
                            LibraryText(tag->value != nullptr ? tag->value : "")) +
                kLineEnd;
    }
}

void TCustomAVProbe::AppendStreamLine(std::string& text, int streamIndex) {
    const AVStream* stream = FFileHandle->streams[streamIndex];
    const AVCodecParameters* codec = stream->codecpar;
    std::string line = rtl::Format("Stream #%d", streamIndex);
    const AVInputFormat* format = FFileHandle->iformat;
    if (format != nullptr && (format->flags & AVFMT_SHOW_IDS) != 0)
        line += rtl::Format("[0x%x]", stream->id);
    std::string language = MetadataValue(stream->metadata, "language", "");
    if (!language.empty()) line += "(" + language + ")";

    int divisor = std::abs(std::gcd(stream->time_base.num, stream->time_base.den));
    if (divisor == 0) divisor = 1;
    line +=
        rtl::Format(", %d/%d", stream->time_base.num / divisor, stream->time_base.den / divisor);

    TDecoderParameters decoder(stream);
    char description[256] = {};
    if (decoder.Context() != nullptr)
        lib::avcodec_string(description, sizeof(description), decoder.Context(), 0);
    line += ": " + LibraryText(description);

    AVRational sar = stream->sample_aspect_ratio;
    AVRational codecSar = codec->sample_aspect_ratio;
    if (sar.num != 0 && int64_t(sar.num) * codecSar.den != int64_t(sar.den) * codecSar.num) {
        int darNum = 0;
        int darDen = 0;
        lib::av_reduce(&darNum, &darDen, int64_t(codec->width) * sar.num,
                       int64_t(codec->height) * sar.den, 1024 * 1024);
        line += rtl::Format(", PAR %d:%d DAR %d:%d", sar.num, sar.den, darNum, darDen);
    }

    if (codec->codec_type == AVMEDIA_TYPE_VIDEO) {
        auto appendRate = [&line](AVRational rate, const char* suffix) {
            if (rate.num != 0 && rate.den != 0)
                line += FormatRate(double(rate.num) / double(rate.den), suffix);
        };
        appendRate(stream->avg_frame_rate, "fps");
        appendRate(stream->r_frame_rate, "tbr");
        appendRate({stream->time_base.den, stream->time_base.num}, "tbn");
        if (decoder.Context() != nullptr) {
            // Demuxed streams no longer tell the codec's time base; it shows when one is known.
            AVRational codecTimeBase = decoder.Context()->time_base;
            appendRate({codecTimeBase.den, codecTimeBase.num}, "tbc");
        }
    }

    AVRational timeBase = UsableTimeBase(stream->time_base);
    if (stream->start_time != AV_NOPTS_VALUE)
        line += ", StartTime: " +
                SecondsText(lib::av_rescale_q(stream->start_time, timeBase, kMicroseconds));
    if (stream->duration == AV_NOPTS_VALUE)
        line += ", Duration: N/A";
    else
        line += ", Duration: " +
                FormatTimestamp(lib::av_rescale_q(stream->duration, timeBase, kMicroseconds));
    text += line + kLineEnd;
    AppendMetadata(text, stream->metadata, "  ");
}

std::string TCustomAVProbe::FileInfoText() {
    if (FFileHandle == nullptr) {
        SetError(AV_LOG_WARNING, "file not loaded.");
        return "";
    }
    TFileStreamInfo info = FileStreamInfo();
    std::string text;
    auto addLine = [&text](const std::string& line) { text += line + kLineEnd; };

    addLine("File Name: " + FileName());
    addLine("Format Name: " + FormatName());
    addLine("Format Long Name: " + FormatLongName());
    addLine("File Size: " + SizeToText(FFileSize));
    addLine(info.Duration >= 0 ? "Duration: " + FormatTimestamp(info.Duration)
                               : std::string("Duration: N/A"));
    if (info.StartTime >= 0) addLine("StartTime: " + SecondsText(info.StartTime));
    addLine(info.BitRate >= 1 ? rtl::Format("Bit Rate: %d kb/s", info.BitRate / 1000)
                              : std::string("Bit Rate: N/A"));
    if (info.TimeStamp > 0)
        addLine("Time Stamp: " +
                DateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocal(info.TimeStamp)));
    AppendMetadata(text, FFileHandle->metadata, "");

    std::vector<bool> listed(FFileHandle->nb_streams, false);
    for (unsigned p = 0; p < FFileHandle->nb_programs; ++p) {
        const AVProgram* program = FFileHandle->programs[p];
        addLine(rtl::Format("Program %d %s", program->id,
                            ProgramTag(program->metadata, "service_provider", "provider_name") +
                                "@" + ProgramTag(program->metadata, "service_name", "name")));
        AppendMetadata(text, program->metadata, "  ");
        for (unsigned k = 0; k < program->nb_stream_indexes; ++k) {
            unsigned index = program->stream_index[k];
            if (index >= FFileHandle->nb_streams) continue;
            AppendStreamLine(text, int(index));
            listed[index] = true;
        }
    }
    for (unsigned i = 0; i < FFileHandle->nb_streams; ++i)
        if (!listed[i]) AppendStreamLine(text, int(i));
    return text;
}

}  // namespace media
