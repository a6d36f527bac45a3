#include "media/probe/probed_streams.h"

#include <cstring>

#include "media/libs/ffmpeg_loader.h"

namespace media {

namespace {

int64_t SizeOf(const AVFormatContext* ic) {
    return ic->pb != nullptr ? lib::avio_size(ic->pb) : -1;
}

bool SameRational(AVRational a, AVRational b) {
    return a.num == b.num && a.den == b.den;
}

// A header value the probe keeps, or fills in where the header has none (0).
bool SameOrFilled(int header, int probed) {
    return header == 0 || header == probed;
}

// What the demuxer reads from a header and the probe does not change: a stream with another
// codec, time base, picture size, sample rate or codec set-up data is another stream. The
// probe takes the set-up data out of the first packets when the header has none (MPEG-4 Part 2
// in AVI).
bool SameStream(const AVStream* st, const AVCodecParameters* probed, AVRational timeBase) {
    const AVCodecParameters* par = st->codecpar;
    if (par->codec_type != probed->codec_type || par->codec_id != probed->codec_id ||
        !SameRational(st->time_base, timeBase) || !SameOrFilled(par->width, probed->width) ||
        !SameOrFilled(par->height, probed->height) ||
        !SameOrFilled(par->sample_rate, probed->sample_rate))
        return false;
    if (par->extradata_size == 0) return true;
    return par->extradata_size == probed->extradata_size &&
           std::memcmp(par->extradata, probed->extradata, size_t(par->extradata_size)) == 0;
}

}  // namespace

std::shared_ptr<const TProbedStreams> TProbedStreams::Take(const AVFormatContext* ic,
                                                           const std::string& fileName) {
    if (ic == nullptr || ic->nb_streams == 0 || ic->iformat == nullptr) return nullptr;
    std::shared_ptr<TProbedStreams> result(new TProbedStreams());
    result->FFileName = fileName;
    result->FFormatName = ic->iformat->name;
    result->FFileSize = SizeOf(ic);
    result->FStartTime = ic->start_time;
    result->FDuration = ic->duration;
    result->FBitRate = ic->bit_rate;
    result->FStreams.reserve(ic->nb_streams);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        const AVStream* st = ic->streams[i];
        TStream& copy = result->FStreams.emplace_back();
        copy.Parameters = lib::avcodec_parameters_alloc();
        if (copy.Parameters == nullptr ||
            lib::avcodec_parameters_copy(copy.Parameters, st->codecpar) < 0)
            return nullptr;
        copy.TimeBase = st->time_base;
        copy.AvgFrameRate = st->avg_frame_rate;
        copy.RFrameRate = st->r_frame_rate;
        copy.SampleAspectRatio = st->sample_aspect_ratio;
        copy.StartTime = st->start_time;
        copy.Duration = st->duration;
        copy.FrameCount = st->nb_frames;
    }
    return result;
}

TProbedStreams::~TProbedStreams() {
    for (TStream& stream : FStreams)
        if (stream.Parameters != nullptr) lib::avcodec_parameters_free(&stream.Parameters);
}

bool TProbedStreams::Matches(const AVFormatContext* ic) const {
    if (ic->iformat == nullptr || FFormatName != ic->iformat->name ||
        ic->nb_streams != FStreams.size() || SizeOf(ic) != FFileSize)
        return false;
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        if (!SameStream(ic->streams[i], FStreams[i].Parameters, FStreams[i].TimeBase)) return false;
    return true;
}

bool TProbedStreams::ApplyTo(AVFormatContext* ic) const {
    if (!Matches(ic)) return false;
    // Copied into fresh parameters first: a failed copy leaves the context as it was.
    std::vector<AVCodecParameters*> copies;
    auto freeCopies = [&copies] {
        for (AVCodecParameters*& par : copies) lib::avcodec_parameters_free(&par);
    };
    for (const TStream& stream : FStreams) {
        AVCodecParameters* par = lib::avcodec_parameters_alloc();
        if (par != nullptr) copies.push_back(par);
        if (par == nullptr || lib::avcodec_parameters_copy(par, stream.Parameters) < 0) {
            freeCopies();
            return false;
        }
    }
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = ic->streams[i];
        const TStream& stream = FStreams[i];
        std::swap(st->codecpar, copies[i]);
        st->avg_frame_rate = stream.AvgFrameRate;
        st->r_frame_rate = stream.RFrameRate;
        st->sample_aspect_ratio = stream.SampleAspectRatio;
        st->start_time = stream.StartTime;
        st->duration = stream.Duration;
        st->nb_frames = stream.FrameCount;
    }
    freeCopies();
    ic->start_time = FStartTime;
    ic->duration = FDuration;
    ic->bit_rate = FBitRate;
    return true;
}

}  // namespace media
