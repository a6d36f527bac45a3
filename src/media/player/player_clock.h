// The player's clocks and the rules that keep audio and video together: when a picture is due,
// how much of an audio block to play, and the pause bookkeeping of the clocks.
//
// No state of its own: everything lives in TVideoState. The clocks are read by every playback
// thread; NextFrameTime runs on the video thread, SyncAudio on SDL's audio thread and
// TogglePauseState on the player's thread (and on the video thread when stepping).
#pragma once

#include <cstdint>

#include "media/player/player_state.h"

namespace media {

// Seconds of the wall clock (sys::Clock).
double WallClock();

double AudioClock(const TVideoState& is);
double VideoClock(const TVideoState& is);
double ExternalClock(const TVideoState& is);
double MasterClock(const TVideoState& is);

// The wall clock time at which the picture of time `pts` is due; advances frame_timer.
double NextFrameTime(TVideoState& is, double pts);

// How many bytes of the `size` bytes of 16-bit samples at `samples` to play so the audio follows
// the master clock. A longer block repeats its last sample frame; the result never exceeds
// `capacity`, the bytes `samples` can hold.
int SyncAudio(TVideoState& is, uint8_t* samples, int size, int capacity);

class TCustomPlayer;
// Pauses a playing playback, or resumes a paused one; nothing without a playback.
void TogglePauseState(TCustomPlayer& player);

}  // namespace media
