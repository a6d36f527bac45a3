// Small helpers the probe's parts share: a codec context filled from a stream's parameters (the
// streams carry no codec context of their own any more) and a time base safe to rescale with.
//
// Values of one caller; no state, no threads of their own.
#pragma once

#include "media/libs/ffmpeg_api.h"

namespace media {

inline constexpr AVRational kMicroseconds = {1, 1000000};

// A zero denominator becomes the numerator, and 1 when that is 0 too.
inline AVRational UsableTimeBase(AVRational timeBase) {
    if (timeBase.den == 0) timeBase.den = timeBase.num != 0 ? timeBase.num : 1;
    return timeBase;
}

// A decoding context described by a stream's parameters, for codec names and descriptions; it
// is never opened. Context() is null when it could not be made.
class TDecoderParameters {
public:
    explicit TDecoderParameters(const AVStream* stream) {
        FContext = lib::avcodec_alloc_context3(nullptr);
        if (FContext == nullptr) return;
        if (lib::avcodec_parameters_to_context(FContext, stream->codecpar) < 0)
            lib::avcodec_free_context(&FContext);
    }
    ~TDecoderParameters() {
        if (FContext != nullptr) lib::avcodec_free_context(&FContext);
    }
    TDecoderParameters(const TDecoderParameters&) = delete;
    TDecoderParameters& operator=(const TDecoderParameters&) = delete;

    AVCodecContext* Context() const { return FContext; }

private:
    AVCodecContext* FContext = nullptr;
};

}  // namespace media
