#include "media/player/picture_queue.h"

#include <algorithm>
#include <cmath>

#include "media/player/ff_player.h"
#include "media/player/player_clock.h"
#include "media/player/player_display.h"

namespace media {

namespace {

// Seconds a single late picture may lag before it is dropped.
constexpr double kLateDropLimit = 0.5;

bool VideoAborted(const TVideoState& is) {
    return is.videoq.Aborted();
}

void DropReadSlot(TVideoState& is) {
    is.pictq_rindex = (is.pictq_rindex + 1) % kPictureQueueSize;
    std::lock_guard lock(is.pictq_mutex);
    --is.pictq_size;
    is.pictq_cond.notify_all();
}

// Presents the picture upside down by walking its rows from the last one.
void FlipVertically(AVFrame* frame, int height) {
    for (int plane = 0; plane < 3; ++plane) {
        int rows = plane == 0 ? height : height / 2;
        if (frame->data[plane] == nullptr || rows <= 0) continue;
        frame->data[plane] += ptrdiff_t(frame->linesize[plane]) * (rows - 1);
        frame->linesize[plane] = -frame->linesize[plane];
    }
}

void ExpireSubtitles(TVideoState& is) {
    std::lock_guard lock(is.subpq_mutex);
    if (is.subtitle_stream_changed != 0) {
        while (is.subpq_size > 0) {
            FreeSubtitlePicture(is.subpq[is.subpq_rindex]);
            is.subpq_rindex = (is.subpq_rindex + 1) % kSubpictureQueueSize;
            --is.subpq_size;
        }
        is.subtitle_stream_changed = 0;
        is.subpq_cond.notify_all();
        return;
    }
    if (is.subpq_size == 0) return;
    double current = is.video_current_pts.load();
    TSubtitleSlot& sp = is.subpq[is.subpq_rindex];
    bool expired = current > sp.PTS + double(sp.Sub.end_display_time) / 1000;
    if (!expired && is.subpq_size > 1) {
        TSubtitleSlot& sp2 = is.subpq[(is.subpq_rindex + 1) % kSubpictureQueueSize];
        expired = current > sp2.PTS + double(sp2.Sub.start_display_time) / 1000;
    }
    if (expired) {
        FreeSubtitlePicture(sp);
        is.subpq_rindex = (is.subpq_rindex + 1) % kSubpictureQueueSize;
        --is.subpq_size;
        is.subpq_cond.notify_all();
    }
}

}  // namespace

void FreeSubtitlePicture(TSubtitleSlot& slot) {
    lib::avsubtitle_free(&slot.Sub);
    slot.Sub = AVSubtitle{};
}

int QueueFrame(TVideoState& is, AVFrame* frame, double pts, int64_t pos, int serial) {
    if (!std::isnan(pts))
        is.video_clock = pts;
    else
        pts = is.video_clock.load();
    double frameDelay = 0;
    AVStream* st = is.video_st.load();
    if (st != nullptr && is.ic != nullptr) {
        AVRational rate = lib::av_guess_frame_rate(is.ic, st, nullptr);
        if (rate.num != 0 && rate.den != 0) frameDelay = double(rate.den) / rate.num;
    }
    is.video_clock = is.video_clock + frameDelay + frame->repeat_pict * frameDelay / 2;
    return QueuePicture(is, frame, pts, pos, serial);
}

int QueuePicture(TVideoState& is, AVFrame* frame, double pts, int64_t pos, int serial) {
    TCustomPlayer& player = *is.Owner;
    std::unique_lock lock(is.pictq_mutex);
    if (is.pictq_size >= kPictureQueueSize && is.refresh.load() != 1)
        is.skip_frames = std::max(0.95f, is.skip_frames.load() * 0.95f);
    is.pictq_cond.wait(lock, [&] { return is.pictq_size < kPictureQueueSize || VideoAborted(is); });
    if (VideoAborted(is)) return -1;

    TPictureSlot& vp = is.pictq[is.pictq_windex];
    int width = frame->width & ~1;
    int height = frame->height & ~1;
    if (vp.Width == 0 || vp.Width != width || vp.Height != height || vp.PixFmt != frame->format) {
        // The play thread sets its video mode for the new size first.
        vp.Allocated = false;
        is.alloc_width = width;
        is.alloc_height = height;
        is.alloc_pix_fmt = frame->format;
        is.events->Push({TPlayerEventKind::Alloc});
        is.pictq_cond.wait(lock, [&] { return vp.Allocated || VideoAborted(is); });
        if (VideoAborted(is)) return -1;
    }
    lock.unlock();

    if (vp.Frame == nullptr) vp.Frame = lib::av_frame_alloc();
    if (vp.Frame == nullptr) {  // no memory: the picture is dropped
        lib::av_frame_unref(frame);
        return 0;
    }
    lib::av_frame_unref(vp.Frame);
    lib::av_frame_move_ref(vp.Frame, frame);
    // The hook sees the picture as decoded; flipping only changes how it is walked.
    player.CallHook(vp.Frame, pts);
    if (player.FVerticalFlip.load()) FlipVertically(vp.Frame, vp.Height);
    vp.PTS = pts;
    vp.FilePos = pos;
    vp.Serial = serial;
    is.pictq_windex = (is.pictq_windex + 1) % kPictureQueueSize;

    lock.lock();
    vp.TargetTime = NextFrameTime(is, pts);
    ++is.pictq_size;
    ++is.pictures_queued;
    return 0;
}

void RefreshVideo(TVideoState& is, bool advance) {
    TCustomPlayer& player = *is.Owner;
    bool dropped = false;
    if (is.video_st.load() == nullptr) {
        if (is.audio_st.load() != nullptr) {
            DisplayCurrent(is);
            player.UpdatePosition();
        }
        return;
    }
    for (;;) {
        int size;
        {
            std::lock_guard lock(is.pictq_mutex);
            size = is.pictq_size;
        }
        if (size == 0) {
            if (!advance) DisplayCurrent(is);
            break;
        }
        TPictureSlot& vp = is.pictq[is.pictq_rindex];
        // A picture decoded before the last seek or stream switch is never shown.
        if (vp.Serial != is.videoq.Serial()) {
            DropReadSlot(is);
            dropped = true;
            continue;
        }
        double now = WallClock();
        if (now < vp.TargetTime.load()) return;

        is.video_current_pts = vp.PTS;
        is.video_current_pts_drift = vp.PTS - now;
        is.video_current_pos = vp.FilePos;
        is.video_current_serial = vp.Serial;

        double nextTarget =
            size > 1 ? is.pictq[(is.pictq_rindex + 1) % kPictureQueueSize].TargetTime.load()
                     : vp.TargetTime.load() + is.video_clock.load() - vp.PTS;
        if (player.Fframedrop.load() != 0 && now > nextTarget && is.IsDevice == 0) {
            is.skip_frames = is.skip_frames.load() * 1.05f;
            if (size > 1 || now > nextTarget + kLateDropLimit) {
                DropReadSlot(is);
                dropped = true;
                continue;
            }
        }

        if (is.subtitle_st.load() != nullptr) ExpireSubtitles(is);
        ShowPicture(is, vp);
        if (advance) DropReadSlot(is);
        break;
    }
    if (!dropped) player.UpdatePosition();
}

}  // namespace media
