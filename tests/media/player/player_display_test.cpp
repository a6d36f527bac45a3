// What the player draws: the picture's rectangle by aspect, subtitles blended into a copy, the
// wave and the spectrum of a file without pictures.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/player/ff_player.h"
#include "media/player/player_display.h"
#include "media/player/player_test_support.h"

namespace media {
namespace {

constexpr int kHostWidth = 240;
constexpr int kHostHeight = 145;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

class PlayerDisplayTest : public test::TPlayerTest {
protected:
    bool Open(const std::string& fixture, bool paused) {
        return OpenWithHost(fixtures::Path(fixture), paused, kHostWidth, kHostHeight);
    }
    bool OpenPaused(const std::string& fixture) {
        return Open(fixture, true) && test::WaitUntil([&] {
                   return FPlayer.PlayState() == psPause && FHost->Count() >= 2;
               });
    }
    // Waits for a picture published after the `count`-th one.
    std::shared_ptr<const TVideoImage> NextPicture(size_t count) {
        EXPECT_TRUE(test::WaitUntil([&] { return FHost->Count() > count; }));
        return FHost->Last();
    }
};

// The bounds of what is not black.
TDisplayRect Drawn(const TVideoImage& image) {
    int left = image.Width, top = image.Height, right = -1, bottom = -1;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            if (image.Pixel(x, y) != kBlack) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? TDisplayRect{} : TDisplayRect{left, top, right - left + 1, bottom - top + 1};
}

TEST_F(PlayerDisplayTest, AspectTableOnTheSmallHost) {
    // The pictures are painted white, so that everything outside the bars is drawn.
    FPlayer.SetVideoFilters("drawbox=x=0:y=0:w=iw:h=ih:color=white:t=fill");
    struct TCase {
        const char* Fixture;
        float Aspect;
        TDisplayRect Expected;
    };
    const TCase cases[] = {
        {fixtures::kClipAvi, -1, {0, 0, 240, 145}},      // fills the host
        {fixtures::kClipAvi, 0, {24, 0, 192, 145}},      // square pixels, 4:3
        {fixtures::kClipAvi, 1.777f, {0, 5, 240, 134}},  // letterboxed
        {fixtures::kSar16x15, 0, {24, 0, 192, 145}},     // 720x576 at 16:15 is 4:3
        {fixtures::kSar0, 0, {30, 0, 180, 145}},         // no pixel aspect: square, 5:4
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Fixture) + " at " + std::to_string(c.Aspect));
        FPlayer.SetAspectRatio(c.Aspect);
        ASSERT_TRUE(OpenPaused(c.Fixture));
        std::shared_ptr<const TVideoImage> shown = FHost->Last();
        ASSERT_EQ(shown->Width, kHostWidth);
        ASSERT_EQ(shown->Height, kHostHeight);
        TDisplayRect drawn = Drawn(*shown);
        EXPECT_EQ(drawn, c.Expected)
            << drawn.X << "," << drawn.Y << " " << drawn.Width << "x" << drawn.Height;
        EXPECT_EQ(drawn.Width % 2, 0);
        for (int y = drawn.Y; y < drawn.Y + drawn.Height; ++y)
            for (int x = drawn.X; x < drawn.X + drawn.Width; ++x)
                ASSERT_GT(shown->Pixel(x, y) & 0xFF, 0xE0u) << x << "," << y;
        FPlayer.Stop(true);
    }

    // Changed while playing: shown again at once.
    FPlayer.SetAspectRatio(0);
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    size_t count = FHost->Count();
    FPlayer.SetAspectRatio(-1);
    EXPECT_EQ(Drawn(*NextPicture(count)), (TDisplayRect{0, 0, 240, 145}));
}

// A 16 x 12 grey picture (Y 100, U and V 128) and one subtitle colour.
struct TBlendPicture {
    static constexpr int kWidth = 16;
    static constexpr int kHeight = 12;
    std::vector<uint8_t> Y = std::vector<uint8_t>(kWidth * kHeight, 100);
    std::vector<uint8_t> U = std::vector<uint8_t>(kWidth * kHeight / 4, 128);
    std::vector<uint8_t> V = std::vector<uint8_t>(kWidth * kHeight / 4, 128);
    TAVPicture Picture() {
        TAVPicture p;
        p.data[0] = Y.data();
        p.data[1] = U.data();
        p.data[2] = V.data();
        p.linesize[0] = kWidth;
        p.linesize[1] = p.linesize[2] = kWidth / 2;
        return p;
    }
};

void Blend(TBlendPicture& target, int x, int y, int w, int h, uint32_t ayuv) {
    std::vector<uint8_t> indexes(size_t(w) * size_t(h), 0);
    uint32_t palette[1] = {ayuv};
    AVSubtitleRect rect{};
    rect.x = x;
    rect.y = y;
    rect.w = w;
    rect.h = h;
    rect.nb_colors = 1;
    rect.data[0] = indexes.data();
    rect.data[1] = reinterpret_cast<uint8_t*>(palette);
    rect.linesize[0] = w;
    rect.type = SUBTITLE_BITMAP;
    TAVPicture picture = target.Picture();
    BlendSubtitleRect(picture, rect, TBlendPicture::kWidth, TBlendPicture::kHeight);
}

TEST(BlendSubtitleRectTest, RectanglesAreCutToThePictureAndMovedIntoIt) {
    constexpr uint32_t kOpaque = 0xFFC832FA;  // A 255, Y 200, U 50, V 250
    struct TCase {
        const char* Name;
        int X, Y, W, H;
        TDisplayRect Covered;  // the luma samples that turn 200
    };
    const TCase cases[] = {
        {"inside", 2, 2, 4, 4, {2, 2, 4, 4}},
        {"larger than the picture", -3, -3, 40, 30, {0, 0, 16, 12}},
        {"left of and above it", -2, -1, 4, 4, {0, 0, 4, 4}},
        {"right of and below it", 14, 10, 4, 4, {12, 8, 4, 4}},
        {"wider only", 5, 2, 20, 2, {0, 2, 16, 2}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBlendPicture target;
        Blend(target, c.X, c.Y, c.W, c.H, kOpaque);
        for (int y = 0; y < TBlendPicture::kHeight; ++y)
            for (int x = 0; x < TBlendPicture::kWidth; ++x) {
                bool inside = x >= c.Covered.X && x < c.Covered.X + c.Covered.Width &&
                              y >= c.Covered.Y && y < c.Covered.Y + c.Covered.Height;
                ASSERT_EQ(target.Y[size_t(y * TBlendPicture::kWidth + x)], inside ? 200 : 100)
                    << x << "," << y;
            }
        // Whole 2 x 2 blocks under an opaque rectangle take its colour.
        EXPECT_EQ(target.U[size_t(c.Covered.Y / 2 * 8 + c.Covered.X / 2)], 50);
        EXPECT_EQ(target.V[size_t(c.Covered.Y / 2 * 8 + c.Covered.X / 2)], 250);
    }

    // Half a chroma block covered counts the rest as transparent; alpha blends luma.
    TBlendPicture edge;
    Blend(edge, 1, 0, 2, 2, kOpaque);
    EXPECT_EQ(edge.U[0], 89);
    EXPECT_EQ(edge.V[0], 188);
    EXPECT_EQ(edge.U[1], 89);
    EXPECT_EQ(edge.U[2], 128);
    TBlendPicture half;
    Blend(half, 0, 0, 2, 2, 0x80C832FA);
    EXPECT_EQ(half.Y[0], 150);
    EXPECT_EQ(half.Y[2], 100);
}

TEST_F(PlayerDisplayTest, SubtitleIsBlendedIntoACopyAtEachDisplay) {
    ASSERT_TRUE(OpenPaused(fixtures::kSubtitledMkv));
    test::PumpFor(100);
    std::shared_ptr<const TVideoImage> plain = FHost->Last();

    // A half-transparent white box from the start on, as the subtitle thread would queue it.
    {
        TVideoState& is = State();
        std::lock_guard lock(is.subpq_mutex);
        ASSERT_EQ(is.subpq_size, 0);
        TSubtitleSlot& sp = is.subpq[size_t(is.subpq_windex)];
        sp.PTS = 0;
        sp.Sub = AVSubtitle{};
        sp.Sub.format = 0;
        sp.Sub.start_display_time = 0;
        sp.Sub.end_display_time = 100000;
        sp.Sub.num_rects = 1;
        sp.Sub.rects = static_cast<AVSubtitleRect**>(lib::av_mallocz(sizeof(AVSubtitleRect*)));
        AVSubtitleRect* rect =
            static_cast<AVSubtitleRect*>(lib::av_mallocz(sizeof(AVSubtitleRect)));
        sp.Sub.rects[0] = rect;
        rect->type = SUBTITLE_BITMAP;
        rect->x = 100;
        rect->y = 100;
        rect->w = 120;
        rect->h = 40;
        rect->nb_colors = 1;
        rect->linesize[0] = rect->w;
        rect->data[0] = static_cast<uint8_t*>(lib::av_mallocz(size_t(rect->w * rect->h)));
        rect->data[1] = static_cast<uint8_t*>(lib::av_mallocz(4));
        uint32_t color = 0x80EB8080;  // A 128, white
        std::memcpy(rect->data[1], &color, 4);
        is.subpq_windex = (is.subpq_windex + 1) % kSubpictureQueueSize;
        ++is.subpq_size;
    }
    std::vector<std::shared_ptr<const TVideoImage>> shown;
    for (int i = 0; i < 2; ++i) {
        size_t count = FHost->Count();
        State().events->Push({TPlayerEventKind::Expose});
        shown.push_back(NextPicture(count));
    }
    EXPECT_EQ(shown[0]->Pixels, shown[1]->Pixels) << "blended once each time, not onto itself";
    EXPECT_NE(shown[0]->Pixels, plain->Pixels);
    // Inside the box the picture is lighter, outside it is as before. The host is 240 wide:
    // the 320 x 240 picture is shown at 192 x 145 from x = 24, scale 0.6.
    EXPECT_EQ(shown[0]->Pixel(30, 20), plain->Pixel(30, 20));
    int x = 24 + 160 * 6 / 10;
    int y = 120 * 6 / 10;
    EXPECT_GT(shown[0]->Pixel(x, y) & 0xFF, plain->Pixel(x, y) & 0xFF);
}

// The rows with white of each column lie within the bands of the channels.
TEST_F(PlayerDisplayTest, WaveStaysWithinItsChannelBands) {
    ASSERT_TRUE(Open(fixtures::kSineMp3, false));
    EXPECT_EQ(State().show_audio.load(), int(saWave));
    const int h = kHostHeight / 2;  // two channels
    const int h2 = h * 9 / 20;
    auto reach = [&](const TVideoImage& image, int channel) {
        int centre = channel * h + h / 2;
        int most = 0;
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x)
                if (image.Pixel(x, y) == kWhite && y != h && y / h == channel)
                    most = std::max(most, std::abs(y - centre));
        return most;
    };
    std::shared_ptr<const TVideoImage> wave;
    ASSERT_TRUE(test::WaitUntil([&] {
        wave = FHost->Last();
        return wave && reach(*wave, 0) > h2 / 2 && reach(*wave, 1) > h2 / 2;
    }));
    for (int y = 0; y < wave->Height; ++y)
        for (int x = 0; x < wave->Width; ++x) {
            uint32_t p = wave->Pixel(x, y);
            ASSERT_TRUE(p == kWhite || p == kBlack) << x << "," << y;
            if (p != kWhite || y == h) continue;  // the line between the bands
            int channel = y / h;
            ASSERT_LT(channel, 2) << y;
            int centre = channel * h + h / 2;
            ASSERT_LE(std::abs(y - centre), h2) << x << "," << y;
        }
    // The separating line runs across.
    for (int x = 0; x < wave->Width; ++x) ASSERT_EQ(wave->Pixel(x, h), kWhite);
}

TEST_F(PlayerDisplayTest, SpectrumScrollsAndTheDisplayToggles) {
    FPlayer.SetShowAudio(saRDFT);
    ASSERT_TRUE(Open(fixtures::kSineMp3, false));
    EXPECT_EQ(State().show_audio.load(), int(saRDFT));
    auto columns = [](const TVideoImage& image) {
        int count = 0;
        for (int x = 0; x < image.Width; ++x)
            for (int y = 0; y < image.Height; ++y)
                if (image.Pixel(x, y) != kBlack) {
                    ++count;
                    break;
                }
        return count;
    };
    int first = 0;
    ASSERT_TRUE(test::WaitUntil([&] {
        first = FHost->Last() ? columns(*FHost->Last()) : 0;
        return first >= 3;
    }));
    ASSERT_TRUE(test::WaitUntil([&] { return columns(*FHost->Last()) >= first + 5; }));
    // The tone is one bright row: the same in each column drawn. The first columns may come from
    // the file's silent lead-in (the encoder's delay), so two neighbouring columns of the tone are
    // looked for rather than fixed ones.
    std::shared_ptr<const TVideoImage> spectrum = FHost->Last();
    auto brightestRow = [&](int x) {
        int row = 0;
        uint32_t level = 0;
        for (int y = 0; y < spectrum->Height; ++y)
            if ((spectrum->Pixel(x, y) & 0xFFFFFF) > level) {
                level = spectrum->Pixel(x, y) & 0xFFFFFF;
                row = y;
            }
        return std::pair{row, level};
    };
    auto loud = [](uint32_t level) { return ((level >> 16) & 0xFF) > 100u; };
    int toneColumn = -1;
    for (int x = 0; x + 1 < spectrum->Width && toneColumn < 0; ++x)
        if (loud(brightestRow(x).second) && loud(brightestRow(x + 1).second)) toneColumn = x;
    ASSERT_GE(toneColumn, 0) << "no two neighbouring columns show the tone";
    const int brightest = brightestRow(toneColumn).first;
    EXPECT_EQ(spectrum->Pixel(toneColumn + 1, brightest), spectrum->Pixel(toneColumn, brightest));

    // Spectrum, then none: a black screen and no more drawing; then the wave.
    size_t count = FHost->Count();
    FPlayer.ToggleAudioDisplay();
    std::shared_ptr<const TVideoImage> cleared = NextPicture(count);
    EXPECT_EQ(Drawn(*cleared), TDisplayRect{});
    EXPECT_EQ(State().show_audio.load(), 0);
    EXPECT_EQ(FPlayer.ShowAudio(), saRDFT) << "the property stays";
    FPlayer.ToggleAudioDisplay();
    EXPECT_TRUE(test::WaitUntil([&] { return State().show_audio.load() == 1; }));
}

}  // namespace
}  // namespace media
