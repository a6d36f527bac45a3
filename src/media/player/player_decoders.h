// The player's decoders: the video thread (decoding, the filter graph src → VideoFilters → out,
// the picture queue), the subtitle thread (picture subtitles with their palettes in the display's
// colour space) and the audio path that SDL's audio thread pulls through AudioCallback.
//
// Each decoder owns its codec context and takes from its packet queue; the video thread is the
// only user of the filter graph. Started and joined by OpenStreamComponent and
// CloseStreamComponent.
#pragma once

#include <cstdint>

#include "media/player/player_state.h"

namespace media {

void VideoThreadProc(TVideoState& is);
// Decodes until a picture comes out of the filter graph into `out`, with the serial of its
// packet. 1 for a picture, -1 at the end (queue aborted, or no graph could be built).
int GetFilteredFrame(TVideoState& is, AVFrame* decoded, AVFrame* out, int& serial);
// Takes and decodes video packets into `frame`, whose pts becomes the chosen timestamp. 1 when a
// picture is delivered, 0 when nothing is (a flush, the end of the file, a skipped picture), -1
// when the queue is aborted.
int DecodeVideoPacket(TVideoState& is, AVFrame* frame);

void SubtitleThreadProc(TVideoState& is);
// A palette entry (alpha, red, green, blue from the high byte down) as alpha, Y, U, V.
uint32_t PaletteEntryToYUVA(uint32_t argb);

// Decodes the next audio into audio_buf as signed 16-bit samples; their bytes, or -1 when there is
// nothing to play (paused, aborted, nothing queued). `pts` is the time of the first sample.
int DecodeAudioFrame(TVideoState& is, double& pts);
void StoreAudioSamples(TVideoState& is, const int16_t* samples, int size);
// SDL's callback: fills `stream` with `len` bytes; never waits for packets.
void AudioCallback(TVideoState& is, uint8_t* stream, int len);

}  // namespace media
