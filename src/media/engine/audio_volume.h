// The volume step of the transcoder: decoded samples scaled by volume / 256 in place, whatever
// the decoder's sample format.
//
// A pure function over memory the caller owns; safe on any thread.
#pragma once

#include <cstdint>

#include "media/libs/ffmpeg_api.h"

namespace media {

// Scales `samples` values in each of `planes` (one plane for an interleaved format, where
// `samples` counts every channel's values). Integer formats round half up and clamp to their
// range (signed 16-bit: clamp((s * volume + 128) >> 8)); float formats take x * volume / 256.
void ScaleSamples(uint8_t* const* planes, int planeCount, int samples, AVSampleFormat format,
                  int volume);

}  // namespace media
