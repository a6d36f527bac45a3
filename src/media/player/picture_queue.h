// The player's picture queue: two decoded pictures waiting for the time they are due.
//
// The video thread puts (QueueFrame), the play thread shows and drops (RefreshVideo); they meet
// under pictq_mutex and pictq_cond of TVideoState. A new picture size is prepared by the play
// thread on the video thread's request (an Alloc event).
#pragma once

#include <cstdint>
#include <limits>

#include "media/player/player_state.h"

namespace media {

// The time of a picture that has none: the running video clock is used instead. A real time of
// 0 (the first picture of most files) is a time like any other.
inline constexpr double kNoPicturePts = std::numeric_limits<double>::quiet_NaN();

// Queues `frame` (its content is taken over) with its time in seconds (or kNoPicturePts), its
// file position and the serial of its packet. -1 when the video queue is aborted meanwhile.
int QueueFrame(TVideoState& is, AVFrame* frame, double pts, int64_t pos, int serial);
int QueuePicture(TVideoState& is, AVFrame* frame, double pts, int64_t pos, int serial);

// Play thread: shows the picture that is due (advance) or the current one again (!advance),
// dropping late pictures and those from before a seek.
void RefreshVideo(TVideoState& is, bool advance);

// Frees the subtitle of a slot.
void FreeSubtitlePicture(TSubtitleSlot& slot);

}  // namespace media
