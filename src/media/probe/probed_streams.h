// What a probe of a file found out about its streams (their codec parameters, rates and times,
// the file's start, duration and bit rate), copied out of the probed format context. Another
// open of the same file takes it over in place of avformat_find_stream_info, which for H.264
// decodes several pictures: the preview of a file the add has probed opens without probing it
// again.
//
// Immutable once taken: made on one thread, read by any (it is handed over as a shared_ptr).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/libs/ffmpeg_api.h"

namespace media {

class TProbedStreams {
public:
    // A copy of what the probed context `ic` of `fileName` holds; null when it holds no stream
    // or a copy fails.
    static std::shared_ptr<const TProbedStreams> Take(const AVFormatContext* ic,
                                                      const std::string& fileName);
    ~TProbedStreams();
    TProbedStreams(const TProbedStreams&) = delete;
    TProbedStreams& operator=(const TProbedStreams&) = delete;

    const std::string& FileName() const { return FFileName; }

    // Writes the probed parameters into `ic`, a context of the same file just opened (its header
    // read, nothing else), and returns true. False, leaving `ic` as it was, when the header shows
    // other streams than those probed (the file was replaced, or its format names its streams
    // only while reading): the caller probes then.
    bool ApplyTo(AVFormatContext* ic) const;

private:
    struct TStream {
        AVCodecParameters* Parameters = nullptr;
        AVRational TimeBase{};
        AVRational AvgFrameRate{};
        AVRational RFrameRate{};
        AVRational SampleAspectRatio{};
        int64_t StartTime = 0;
        int64_t Duration = 0;
        int64_t FrameCount = 0;
    };
    TProbedStreams() = default;
    bool Matches(const AVFormatContext* ic) const;

    std::string FFileName;
    std::string FFormatName;
    int64_t FFileSize = -1;
    int64_t FStartTime = 0;
    int64_t FDuration = 0;
    int64_t FBitRate = 0;
    std::vector<TStream> FStreams;
};

}  // namespace media
