#include "media/player/player_state.h"

#include "media/player/picture_queue.h"

namespace media {

TVideoState::TVideoState(TCustomPlayer* owner)
    : audio_buf1(kAudioBufferSize),
      audio_buf2(kAudioBufferSize),
      sample_array(kSampleArraySize),
      Owner(owner) {}

TVideoState::~TVideoState() {
    // The threads are joined and the streams closed by now; what is left are the pictures and
    // subtitles still held.
    for (TPictureSlot& slot : pictq)
        if (slot.Frame != nullptr) lib::av_frame_free(&slot.Frame);
    if (last_frame != nullptr) lib::av_frame_free(&last_frame);
    for (; subpq_size > 0; --subpq_size) {
        FreeSubtitlePicture(subpq[size_t(subpq_rindex)]);
        subpq_rindex = (subpq_rindex + 1) % kSubpictureQueueSize;
    }
    if (display_sws != nullptr) lib::sws_freeContext(display_sws);
    if (blend_frame != nullptr) lib::av_frame_free(&blend_frame);
    if (rdft != nullptr) lib::av_rdft_end(rdft);
    if (rdft_data != nullptr) lib::av_free(rdft_data);
}

}  // namespace media
