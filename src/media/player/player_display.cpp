#include "media/player/player_display.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "media/player/ff_player.h"
#include "platform/sys/clock.h"

namespace media {

namespace {

constexpr int kDefaultScreenWidth = 640;
constexpr int kDefaultScreenHeight = 480;
constexpr int kRefreshMs = 5;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
// Samples searched back for the wave's trigger point.
constexpr int kTriggerSearch = 1000;
// Pixels the scaler may write past the end of a row.
constexpr int kScalerSlack = 32;

void Publish(TCustomPlayer& player) {
    if (player.FVideoHost && player.Fscreen)
        player.FVideoHost->Publish(std::make_shared<const TVideoImage>(*player.Fscreen));
}

void FillRect(TVideoImage& screen, int x, int y, int w, int h, uint32_t color) {
    int left = std::max(x, 0);
    int top = std::max(y, 0);
    int right = std::min(x + w, screen.Width);
    int bottom = std::min(y + h, screen.Height);
    for (int row = top; row < bottom; ++row)
        std::fill(screen.Row(row) + left, screen.Row(row) + right, color);
}

int ModSamples(int value) {
    value %= kSampleArraySize;
    return value < 0 ? value + kSampleArraySize : value;
}

// The scaler's source: the shown picture, or a copy of it with the subtitle due blended in.
const AVFrame* PictureWithSubtitle(TVideoState& is, const AVFrame* frame) {
    if (is.subtitle_st.load() == nullptr) return frame;
    std::lock_guard lock(is.subpq_mutex);
    if (is.subpq_size == 0) return frame;
    const TSubtitleSlot& sp = is.subpq[size_t(is.subpq_rindex)];
    if (is.last_pts < sp.PTS + double(sp.Sub.start_display_time) / 1000) return frame;
    if (frame->format != AV_PIX_FMT_YUV420P) return frame;

    AVFrame*& copy = is.blend_frame;
    if (copy == nullptr) copy = lib::av_frame_alloc();
    if (copy == nullptr) return frame;
    if (copy->width != frame->width || copy->height != frame->height ||
        copy->format != frame->format || copy->data[0] == nullptr) {
        lib::av_frame_unref(copy);
        copy->width = frame->width;
        copy->height = frame->height;
        copy->format = frame->format;
        if (lib::av_frame_get_buffer(copy, 0) < 0) return frame;
    }
    if (lib::av_frame_copy(copy, frame) < 0) return frame;
    TAVPicture picture;
    for (int plane = 0; plane < 3; ++plane) {
        picture.data[plane] = copy->data[plane];
        picture.linesize[plane] = copy->linesize[plane];
    }
    for (unsigned i = 0; i < sp.Sub.num_rects; ++i) {
        const AVSubtitleRect* rect = sp.Sub.rects[i];
        if (rect != nullptr && rect->type == SUBTITLE_BITMAP)
            BlendSubtitleRect(picture, *rect, is.last_width, is.last_height);
    }
    return copy;
}

}  // namespace

double DisplayAspect(float aspectRatio, int areaWidth, int areaHeight, AVRational pixelAspect,
                     int pictureWidth, int pictureHeight) {
    if (aspectRatio < 0 && areaWidth > 0 && areaHeight > 0) return double(areaWidth) / areaHeight;
    if (aspectRatio > 0) return aspectRatio;
    double pixel = pixelAspect.num == 0 || pixelAspect.den == 0
                       ? 0
                       : double(pixelAspect.num) / pixelAspect.den;
    if (pixel <= 0) pixel = 1;
    return pictureHeight > 0 ? pixel * pictureWidth / pictureHeight : 1;
}

TDisplayRect DisplayRectangle(int areaWidth, int areaHeight, double aspect) {
    int h = areaHeight;
    int w = int(std::nearbyint(h * aspect)) & ~1;
    if (w > areaWidth) {
        w = areaWidth;
        h = int(std::nearbyint(w / aspect)) & ~1;
    }
    return {(areaWidth - w) / 2, (areaHeight - h) / 2, w, h};
}

void BlendSubtitleRect(TAVPicture& picture, const AVSubtitleRect& rect, int imageWidth,
                       int imageHeight) {
    if (rect.data[0] == nullptr || rect.data[1] == nullptr) return;
    int w = std::clamp(rect.w, 0, std::max(imageWidth, 0));
    int h = std::clamp(rect.h, 0, std::max(imageHeight, 0));
    int x = std::clamp(rect.x, 0, imageWidth - w);
    int y = std::clamp(rect.y, 0, imageHeight - h);
    if (w == 0 || h == 0) return;
    const auto* palette = reinterpret_cast<const uint32_t*>(rect.data[1]);
    auto color = [&](int i, int j) {
        uint8_t index = rect.data[0][ptrdiff_t(j) * rect.linesize[0] + i];
        return index < rect.nb_colors ? palette[index] : 0u;
    };

    for (int j = 0; j < h; ++j) {
        uint8_t* luma = picture.data[0] + ptrdiff_t(y + j) * picture.linesize[0] + x;
        for (int i = 0; i < w; ++i) {
            uint32_t c = color(i, j);
            int a = int(c >> 24);
            luma[i] = uint8_t(((255 - a) * luma[i] + int((c >> 16) & 0xFF) * a) / 255);
        }
    }
    // Each chroma sample blends with the rectangle's pixels in its 2 x 2 block; positions of the
    // block outside the rectangle count as transparent.
    for (int cy = y / 2; cy <= (y + h - 1) / 2; ++cy) {
        uint8_t* u = picture.data[1] + ptrdiff_t(cy) * picture.linesize[1];
        uint8_t* v = picture.data[2] + ptrdiff_t(cy) * picture.linesize[2];
        for (int cx = x / 2; cx <= (x + w - 1) / 2; ++cx) {
            int k = 0;
            int sumA = 0;
            int sumU = 0;
            int sumV = 0;
            for (int py = 2 * cy; py < 2 * cy + 2; ++py)
                for (int px = 2 * cx; px < 2 * cx + 2; ++px) {
                    if (px < x || px >= x + w || py < y || py >= y + h) continue;
                    uint32_t c = color(px - x, py - y);
                    ++k;
                    sumA += int(c >> 24);
                    sumU += int((c >> 8) & 0xFF);
                    sumV += int(c & 0xFF);
                }
            int a = sumA >> 2;
            u[cx] = uint8_t((u[cx] * k * (255 - a) + sumU * a) / (255 * k));
            v[cx] = uint8_t((v[cx] * k * (255 - a) + sumV * a) / (255 * k));
        }
    }
}

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
    if (is.audio_st.load() != nullptr && is.show_audio.load() != 0)
        DisplayAudioWave(is);
    else if (is.video_st.load() != nullptr)
        DisplayPicture(is);
}

void DisplayPicture(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    if (!player.Fscreen) return;
    std::lock_guard lock(is.last_mutex);
    const AVFrame* frame = is.last_frame;
    if (frame == nullptr || frame->data[0] == nullptr || is.last_width <= 0 || is.last_height <= 0)
        return;

    double aspect = DisplayAspect(player.FAspectRatio.load(), is.width, is.height,
                                  frame->sample_aspect_ratio, is.last_width, is.last_height);
    TDisplayRect rect = DisplayRectangle(is.width, is.height, aspect);
    is.no_background = 0;
    const AVFrame* source = PictureWithSubtitle(is, frame);

    TVideoImage& screen = *player.Fscreen;
    std::fill(screen.Pixels.begin(), screen.Pixels.end(), kBlack);
    if (rect.Width > 0 && rect.Height > 0) {
        is.display_sws = lib::sws_getCachedContext(
            is.display_sws, is.last_width, is.last_height, AVPixelFormat(source->format),
            rect.Width, rect.Height, AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (is.display_sws == nullptr) return;
        // The scaler's vector code writes whole groups of pixels: a row of some widths gets a
        // few more, which in the screen would overwrite the bar or run past the last row.
        int stride = (rect.Width + kScalerSlack + 15) & ~15;
        is.display_scratch.resize(size_t(stride) * size_t(rect.Height + 1));
        uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(is.display_scratch.data())};
        int dstStride[4] = {stride * 4};
        lib::sws_scale(is.display_sws, source->data, source->linesize, 0, is.last_height, dst,
                       dstStride);
        for (int row = 0; row < rect.Height; ++row)
            std::copy_n(is.display_scratch.data() + size_t(row) * size_t(stride), rect.Width,
                        screen.Row(is.ytop + rect.Y + row) + is.xleft + rect.X);
    }
    Publish(player);
}

void DisplayAudioWave(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    if (!player.Fscreen || is.width <= 0 || is.height <= 0) return;
    TVideoImage& screen = *player.Fscreen;
    int mode = is.show_audio.load();
    int channels = std::max(is.audio_tgt_channels, 1);
    int bits = 1;
    while ((1 << bits) < 2 * is.height) ++bits;
    int nbFreq = 1 << (bits - 1);
    int sampleIndex;
    {
        std::lock_guard lock(is.sample_mutex);
        is.display_samples = is.sample_array;
        sampleIndex = is.sample_array_index.load();
    }
    auto sample = [&](int index) { return int(is.display_samples[size_t(ModSamples(index))]); };

    int start;
    if (is.paused.load() != 0) {
        start = is.last_i_start;
    } else {
        int dataUsed = mode == 1 ? is.width : 2 * nbFreq;
        int64_t delay = int64_t(is.audio_buf_size.load() - unsigned(is.audio_buf_index.load())) /
                        (2 * channels);
        int64_t callbackTime = player.Faudio_callback_time.load();
        if (callbackTime != 0)
            delay -= int64_t(is.audio_tgt_freq) * int32_t(sys::Clock().NowMicros() - callbackTime) /
                     1000000;
        delay += 2 * dataUsed;
        delay = std::max<int64_t>(delay, dataUsed);
        start = ModSamples(int(int64_t(sampleIndex) - delay * channels % kSampleArraySize));
        if (mode == 1) {
            // A trigger point: the steepest fall through zero, so the wave stands still.
            int best = start;
            int bestScore = 0;
            bool found = false;
            for (int i = 0; i < kTriggerSearch; i += channels) {
                int idx = ModSamples(start - i);
                int a = sample(idx);
                int b = sample(idx + 4 * channels);
                int c = sample(idx + 5 * channels);
                int d = sample(idx + 9 * channels);
                int score = a - d;
                if ((b ^ c) < 0 && (!found || score > bestScore)) {
                    best = idx;
                    bestScore = score;
                    found = true;
                }
            }
            start = best;
        }
        is.last_i_start = start;
    }

    if (mode == 1) {
        FillRect(screen, is.xleft, is.ytop, is.width, is.height, kBlack);
        int h = is.height / channels;
        int h2 = h * 9 / 20;
        for (int c = 0; c < channels; ++c) {
            int centre = is.ytop + c * h + h / 2;
            int index = start + c;
            for (int x = 0; x < is.width; ++x) {
                int v = (sample(index) * h2) >> 15;
                if (v < 0)
                    FillRect(screen, is.xleft + x, centre + v, 1, -v, kWhite);
                else
                    FillRect(screen, is.xleft + x, centre, 1, v, kWhite);
                index += channels;
            }
        }
        for (int c = 1; c < channels; ++c)
            FillRect(screen, is.xleft, is.ytop + c * h, is.width, 1, kWhite);
    } else {
        int used = std::min(channels, 2);
        if (bits != is.rdft_bits || is.rdft == nullptr || is.rdft_data == nullptr) {
            if (is.rdft != nullptr) lib::av_rdft_end(is.rdft);
            if (is.rdft_data != nullptr) lib::av_free(is.rdft_data);
            is.rdft = lib::av_rdft_init(bits, DFT_R2C);
            is.rdft_bits = bits;
            is.rdft_data = static_cast<float*>(lib::av_malloc(size_t(4 * nbFreq) * sizeof(float)));
            if (is.rdft == nullptr || is.rdft_data == nullptr) return;
        }
        float* data[2] = {is.rdft_data, is.rdft_data + 2 * nbFreq};
        for (int c = 0; c < used; ++c) {
            int index = start + c;
            for (int x = 0; x < 2 * nbFreq; ++x) {
                double w = double(x - nbFreq) / nbFreq;
                data[c][x] = float(sample(index) * (1.0 - w * w));
                index += channels;
            }
            lib::av_rdft_calc(is.rdft, data[c]);
        }
        // A single channel colours both components.
        const float* second = used > 1 ? data[1] : data[0];
        double f = 1.0 / std::sqrt(double(nbFreq));
        auto level = [&](const float* d, int y) {
            double magnitude = std::hypot(double(d[2 * y]), double(d[2 * y + 1]));
            return std::min(255, int(std::lround(std::sqrt(f * magnitude))));
        };
        for (int y = 0; y < is.height; ++y) {
            int a = level(data[0], y);
            int b = level(second, y);
            uint32_t color = kBlack | uint32_t(a) << 16 | uint32_t(b) << 8 | uint32_t((a + b) / 2);
            FillRect(screen, is.xpos, is.ytop + is.height - y, 1, 1, color);
        }
        if (++is.xpos >= is.width) is.xpos = is.xleft;
    }
    Publish(player);
}

void ToggleAudioDisplay(TVideoState& is) {
    TCustomPlayer& player = *is.Owner;
    if (!player.Fscreen) return;
    is.show_audio = (is.show_audio.load() + 1) % 3;
    FillRect(*player.Fscreen, is.xleft, is.ytop, is.width, is.height, kBlack);
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
        is.abort_event.Wait(audioDisplay ? player.Frdftspeed.load() : kRefreshMs);
    }
}

}  // namespace media
