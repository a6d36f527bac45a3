// The video sync decision of the transcoder: how many times a decoded picture is written so
// that the output keeps its frame rate (or follows the input's timestamps).
//
// A pure function; safe on any thread.
#pragma once

#include <cstdint>

namespace media {

struct TVideoSync {
    int Wanted = 1;   // copies the method asks for: 0 drops the picture, more duplicate it
    int Written = 1;  // what the frame limit leaves of them, 0 or more
};

// `method`: 0 timestamps only, 1 constant rate (drop and duplicate), 2 variable rate (drop
// only), -1 automatic (2 when the output format takes a variable rate, else 1). `syncIpts`: the
// picture's time in encoder ticks; `syncOpts`: the ticks written so far, moved where the
// method jumps or follows the input; `framesLeft`: what the frame limit ("vframes") still
// allows.
TVideoSync VideoSyncFrames(int method, bool variableRateFormat, double syncIpts, int64_t& syncOpts,
                           int framesLeft);

}  // namespace media
