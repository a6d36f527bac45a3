#include "media/player_display.h"

#include <cmath>
#include <memory>

#include "media/ff_player.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

constexpr int kDefaultScreenWidth = 640;
constexpr int kDefaultScreenHeight = 480;
constexpr int kRefreshMs = 5;
constexpr uint32_t kBlack = 0xFF000000;

void Publish(TCustomPlayer& player) {
    if (player.FVideoHost && player.Fscreen)
        player.FVideoHost->Publish(std::make_shared<const TVideoImage>(*player.Fscreen));
}

double DisplayAspect(const TVideoState& is, const TCustomPlayer& player, const AVFrame* frame) {
    if (player.FAspectRatio < 0 && is.width > 0 && is.height > 0)
        return double(is.width) / is.height;
    if (player.FAspectRatio > 0) return player.FAspectRatio;
    AVRational sar = frame->sample_aspect_ratio;
    double pixelAspect = sar.num == 0 || sar.den == 0 ? 0 : double(sar.num) / sar.den;
    if (pixelAspect <= 0) pixelAspect = 1;
    return pixelAspect * is.last_width / is.last_height;
}

}  // namespace

int OpenVideoMode(TVideoState& is, bool force) {
    TCustomPlayer& player = *is.Owner;
    int w, h;
    if (player.Fis_full_screen && player.Ffs_screen_width > 0) {
        w = player.Ffs_screen_width;
        h = player.Ffs_screen_height;
    } else if (!player.Fis_full_screen && player.Fscreen_width > 0) {
        w = player.Fscreen_width;
        h = player.Fscreen_height;
    } else if (is.out_width.load() > 0) {
        w = is.out_width.load() & ~1;
        h = is.out_height.load() & ~1;
    } else {
        w = kDefaultScreenWidth;
        h = kDefaultScreenHeight;
    }
    if (!force && player.Fscreen && player.Fscreen->Width == is.width && is.width == w &&
        player.Fscreen->Height == is.height && is.height == h)
        return 0;
    if (w <= 0 || h <= 0) {
        player.ReportError("SDL: could not set video mode.", false);
        return -1;
    }
    player.Fscreen.emplace(w, h, kBlack);
    is.width = w;
    is.height = h;
    return 0;
}

void AllocPictureOverlay(TVideoState& is) {
    std::lock_guard lock(is.pictq_mutex);
    TPictureSlot& vp = is.pictq[is.pictq_windex];
    if (vp.Frame != nullptr) lib::av_frame_unref(vp.Frame);
    vp.Width = is.alloc_width;
    vp.Height = is.alloc_height;
    vp.PixFmt = is.alloc_pix_fmt;
    vp.Allocated = true;
    is.pictq_cond.notify_all();
}

void ShowPicture(TVideoState& is, const TPictureSlot& slot) {
    {
        std::lock_guard lock(is.last_mutex);
        if (is.last_frame == nullptr) is.last_frame = lib::av_frame_alloc();
        if (is.last_frame == nullptr) return;
        lib::av_frame_unref(is.last_frame);
        if (lib::av_frame_ref(is.last_frame, slot.Frame) < 0) return;
        is.last_width = slot.Width;
        is.last_height = slot.Height;
        is.last_pts = slot.PTS;
    }
    DisplayCurrent(is);
}

void DisplayCurrent(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    if (!player.Fscreen && OpenVideoMode(is, false) < 0) return;
    if (is.audio_st.load() != nullptr && is.show_audio.load() != 0) return;
    if (is.video_st.load() != nullptr) DisplayPicture(is);
}

void DisplayPicture(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    if (!player.Fscreen) return;
    std::lock_guard lock(is.last_mutex);
    const AVFrame* frame = is.last_frame;
    if (frame == nullptr || frame->data[0] == nullptr || is.last_width <= 0 || is.last_height <= 0)
        return;

    double aspect = DisplayAspect(is, player, frame);
    int h = is.height;
    int w = int(std::nearbyint(h * aspect)) & ~1;
    if (w > is.width) {
        w = is.width;
        h = int(std::nearbyint(w / aspect)) & ~1;
    }
    int x = (is.width - w) / 2;
    int y = (is.height - h) / 2;
    is.no_background = 0;

    TVideoImage& screen = *player.Fscreen;
    std::fill(screen.Pixels.begin(), screen.Pixels.end(), kBlack);
    if (w > 0 && h > 0) {
        is.display_sws = lib::sws_getCachedContext(
            is.display_sws, is.last_width, is.last_height, AVPixelFormat(frame->format), w, h,
            AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (is.display_sws == nullptr) return;
        uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(screen.Row(is.ytop + y) + is.xleft + x)};
        int dstStride[4] = {screen.Width * 4};
        lib::sws_scale(is.display_sws, frame->data, frame->linesize, 0, is.last_height, dst,
                       dstStride);
    }
    Publish(player);
}

void RefreshThreadProc(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    while (is.abort_request.load() == 0) {
        if (is.refresh.load() != 1) {
            is.refresh = 1;
            is.events->Push({TPlayerEventKind::Refresh});
        }
        bool audioDisplay = is.audio_st.load() != nullptr && is.show_audio.load() != 0;
        sys::SleepMs(audioDisplay ? player.Frdftspeed : kRefreshMs);
    }
}

}  // namespace media
