#include "media/player/player_clock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/player/ff_player.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

// Differences this large are a jump (a seek, a broken timestamp), not drift.
constexpr double kNoSyncThreshold = 10.0;
constexpr double kSyncThreshold = 0.01;
constexpr int kAudioDiffAvgCount = 20;
constexpr int kMaxCorrectionPercent = 10;
constexpr int kPauseWaitMs = 250;

bool HasAudio(const TVideoState& is) {
    return is.audio_st.load() != nullptr;
}

bool HasVideo(const TVideoState& is) {
    return is.video_st.load() != nullptr;
}

}  // namespace

double WallClock() {
    return double(sys::Clock().NowMicros()) / 1000000.0;
}

double AudioClock(const TVideoState& is) {
    double clock = is.audio_clock.load();
    int bytesPerSec = HasAudio(is) ? is.audio_tgt_freq * 2 * is.audio_tgt_channels : 0;
    if (bytesPerSec > 0) {
        int pending = int(is.audio_buf_size.load()) - is.audio_buf_index.load();
        clock -= double(pending) / bytesPerSec;
    }
    return clock;
}

double VideoClock(const TVideoState& is) {
    if (is.paused.load() != 0) return is.video_current_pts.load();
    double drift = is.video_current_pts_drift.load();
    if (drift != 0) return WallClock() + drift;
    return double(is.StartTime) / 1000000.0;
}

double ExternalClock(const TVideoState& is) {
    int64_t elapsed = sys::Clock().NowMicros() - is.external_clock_time.load();
    return is.external_clock.load() + double(elapsed) * 0.000001;
}

double MasterClock(const TVideoState& is) {
    switch (is.av_sync_type) {
        case AV_SYNC_VIDEO_MASTER:
            return HasVideo(is) ? VideoClock(is) : AudioClock(is);
        case AV_SYNC_AUDIO_MASTER:
            return HasAudio(is) ? AudioClock(is) : VideoClock(is);
        case AV_SYNC_EXTERNAL_CLOCK:
            break;
    }
    return ExternalClock(is);
}

double NextFrameTime(TVideoState& is, double pts) {
    double delay = pts - is.frame_last_pts;
    if (delay <= 0 || delay >= kNoSyncThreshold)
        delay = is.frame_last_delay;
    else
        is.frame_last_delay = delay;
    is.frame_last_pts = pts;

    bool followsOther = (is.av_sync_type == AV_SYNC_AUDIO_MASTER && HasAudio(is)) ||
                        is.av_sync_type == AV_SYNC_EXTERNAL_CLOCK;
    if (followsOther) {
        double diff = VideoClock(is) - MasterClock(is);
        double threshold = std::max(kSyncThreshold, delay);
        if (std::fabs(diff) < kNoSyncThreshold) {
            if (diff <= -threshold)
                delay = 0;
            else if (diff >= threshold)
                delay = 2 * delay;
        }
    }
    double target = is.frame_timer.load() + delay;
    is.frame_timer = target;
    return target;
}

int SyncAudio(TVideoState& is, uint8_t* samples, int size, int capacity) {
    bool followsOther = (is.av_sync_type == AV_SYNC_VIDEO_MASTER && HasVideo(is)) ||
                        is.av_sync_type == AV_SYNC_EXTERNAL_CLOCK;
    if (!followsOther) return size;

    double diff = AudioClock(is) - MasterClock(is);
    if (diff >= kNoSyncThreshold) {
        is.audio_diff_avg_count = 0;
        is.audio_diff_cum = 0;
        return size;
    }
    is.audio_diff_cum = diff + is.audio_diff_avg_coef * is.audio_diff_cum;
    if (is.audio_diff_avg_count < kAudioDiffAvgCount) {
        ++is.audio_diff_avg_count;
        return size;
    }
    double avg = is.audio_diff_cum * (1 - is.audio_diff_avg_coef);
    if (std::fabs(avg) < is.audio_diff_threshold) return size;

    int frameBytes = 2 * is.audio_tgt_channels;
    if (frameBytes <= 0) return size;
    int wanted = size + int(std::lround(diff * is.audio_tgt_freq)) * frameBytes;
    int frames = size / frameBytes;
    int minSize = frames * (100 - kMaxCorrectionPercent) / 100 * frameBytes;
    int maxSize = frames * (100 + kMaxCorrectionPercent) / 100 * frameBytes;
    wanted = std::clamp(wanted, minSize, maxSize);
    // Whole sample frames that fit: a block decoded into a full buffer cannot grow.
    wanted = std::min(wanted, capacity / frameBytes * frameBytes);
    if (wanted < size) return std::max(wanted, 0);
    if (wanted > size && size >= frameBytes) {
        const uint8_t* last = samples + size - frameBytes;
        for (uint8_t* p = samples + size; p < samples + wanted; p += frameBytes)
            std::memcpy(p, last, size_t(frameBytes));
        return wanted;
    }
    return size;
}

void TogglePauseState(TCustomPlayer& player) {
    // A seek in progress, or the first picture after it, holds the toggle up a little only.
    if (player.FSeekEvent.Wait(kPauseWaitMs) == sys::TWaitResult::Timeout) player.FSeekEvent.Set();
    TVideoState* is = player.FVideoState.load();
    if (is == nullptr) return;
    if (is->paused.load() == 0 && is->video_st.load() != nullptr) {
        if (player.FPictEvent.Wait(kPauseWaitMs) == sys::TWaitResult::Timeout)
            player.FPictEvent.Set();
    }

    std::lock_guard lock(player.FStateLock);
    is = player.FVideoState.load();
    if (is == nullptr) return;
    if (is->paused.load() != 0) {
        double now = WallClock();
        // Before the first picture is shown there is no drift to go by; moving the timers by
        // the wall clock itself would put every picture decades ahead.
        if (is->video_current_pts_drift.load() != 0) {
            is->frame_timer =
                is->frame_timer.load() + now + is->video_current_pts_drift - is->video_current_pts;
            if (is->read_pause_return.load() != AVERROR(ENOSYS))
                is->video_current_pts = is->video_current_pts_drift + now;
            is->video_current_pts_drift = is->video_current_pts - now;
        }
        is->paused = 0;
    } else {
        is->paused = 1;
    }
}

}  // namespace media
