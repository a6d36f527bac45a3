#include "media/player/player_clock.h"

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "media/player/ff_player.h"
#include "platform/sys/clock.h"

namespace media {
namespace {

constexpr int64_t kNowMicros = 100000000;  // the wall clock stands at 100 s
constexpr double kNow = 100.0;

// A state with a video and (when asked) an audio stream, on a wall clock that stands still.
class PlayerClockTest : public testing::Test {
protected:
    void SetUp() override { sys::SetClock(&FClock); }
    void TearDown() override { sys::SetClock(nullptr); }

    TVideoState& State(Tav_sync_type sync, bool audio, bool video = true) {
        FState = std::make_unique<TVideoState>(nullptr);
        FState->av_sync_type = sync;
        FState->audio_st = audio ? &FAudioStream : nullptr;
        FState->video_st = video ? &FVideoStream : nullptr;
        FState->audio_tgt_channels = 2;
        FState->audio_tgt_freq = 44100;
        return *FState;
    }
    // Video at `video` seconds and every other clock at `master`.
    static void SetClocks(TVideoState& is, double video, double master) {
        is.video_current_pts = video;
        is.video_current_pts_drift = video - kNow;
        is.audio_clock = master;
        is.external_clock = master;
        is.external_clock_time = kNowMicros;
    }

    sys::TManualClock FClock{kNowMicros};
    AVStream FAudioStream{};
    AVStream FVideoStream{};
    std::unique_ptr<TVideoState> FState;
};

TEST_F(PlayerClockTest, Clocks) {
    TVideoState& is = State(AV_SYNC_AUDIO_MASTER, true);
    is.StartTime = 2500000;
    EXPECT_DOUBLE_EQ(VideoClock(is), 2.5) << "no picture shown yet";
    SetClocks(is, 7.0, 6.0);
    FClock.Advance(500000);
    EXPECT_DOUBLE_EQ(VideoClock(is), 7.5);
    EXPECT_DOUBLE_EQ(ExternalClock(is), 6.5);
    is.paused = 1;
    EXPECT_DOUBLE_EQ(VideoClock(is), 7.0);

    // Bytes not yet handed to the device are not heard yet: 4410 bytes are 25 ms.
    is.audio_buf_size = 8820;
    is.audio_buf_index = 4410;
    EXPECT_DOUBLE_EQ(AudioClock(is), 6.0 - 0.025);
    EXPECT_DOUBLE_EQ(MasterClock(is), 6.0 - 0.025);
    is.audio_st = nullptr;
    EXPECT_DOUBLE_EQ(AudioClock(is), 6.0);
    EXPECT_DOUBLE_EQ(MasterClock(is), 7.0) << "no audio: the video clock leads";
    is.av_sync_type = AV_SYNC_EXTERNAL_CLOCK;
    EXPECT_DOUBLE_EQ(MasterClock(is), 6.5);
}

TEST_F(PlayerClockTest, NextFrameTime) {
    struct TCase {
        const char* Name;
        Tav_sync_type Sync;
        bool Audio;
        double LastPts;
        double Pts;
        double VideoMinusMaster;
        double Delay;      // added to frame_timer
        double LastDelay;  // frame_last_delay afterwards
    };
    const double kNoPts = double(AV_NOPTS_VALUE);
    const TCase cases[] = {
        {"steady", AV_SYNC_AUDIO_MASTER, false, 1.00, 1.04, 0, 0.04, 0.04},
        {"backward jump reuses the last distance", AV_SYNC_AUDIO_MASTER, false, 2.0, 1.0, 0, 0.05,
         0.05},
        {"jump of 10 s reuses it", AV_SYNC_AUDIO_MASTER, false, 1.0, 11.0, 0, 0.05, 0.05},
        {"first picture after a flush", AV_SYNC_AUDIO_MASTER, false, kNoPts, 0.5, 0, 0.05, 0.05},
        {"video behind audio is shown at once", AV_SYNC_AUDIO_MASTER, true, 1.0, 1.04, -0.05, 0,
         0.04},
        {"slightly behind stays", AV_SYNC_AUDIO_MASTER, true, 1.0, 1.04, -0.03, 0.04, 0.04},
        {"video ahead is held twice as long", AV_SYNC_AUDIO_MASTER, true, 1.0, 1.04, 0.05, 0.08,
         0.04},
        {"10 s apart is not corrected", AV_SYNC_AUDIO_MASTER, true, 1.0, 1.04, 10.0, 0.04, 0.04},
        {"threshold is at least 10 ms", AV_SYNC_AUDIO_MASTER, true, 1.0, 1.004, -0.011, 0, 0.004},
        {"under 10 ms is not corrected", AV_SYNC_AUDIO_MASTER, true, 1.0, 1.004, -0.009, 0.004,
         0.004},
        {"external clock leads too", AV_SYNC_EXTERNAL_CLOCK, false, 1.0, 1.04, 0.5, 0.08, 0.04},
        {"video master is never corrected", AV_SYNC_VIDEO_MASTER, true, 1.0, 1.04, 5.0, 0.04, 0.04},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVideoState& is = State(c.Sync, c.Audio);
        is.frame_last_pts = c.LastPts;
        is.frame_last_delay = 0.05;
        is.frame_timer = 200.0;
        SetClocks(is, 3.0, 3.0 - c.VideoMinusMaster);
        double due = NextFrameTime(is, c.Pts);
        EXPECT_NEAR(due, 200.0 + c.Delay, 1e-9);
        EXPECT_NEAR(is.frame_timer.load(), due, 1e-12);
        EXPECT_NEAR(is.frame_last_delay, c.LastDelay, 1e-9);
        EXPECT_EQ(is.frame_last_pts, c.Pts);
    }
}

TEST_F(PlayerClockTest, SyncAudio) {
    constexpr int kFrameBytes = 4;  // 16-bit stereo
    constexpr int kSecond = 44100 * kFrameBytes;
    const double coef = std::exp(std::log10(0.01) / 20);
    struct TCase {
        const char* Name;
        Tav_sync_type Sync;
        double AudioMinusMaster;  // steady over the summed measurements
        int Summed;
        int Size;
        int Capacity;
        int Expected;
    };
    const TCase cases[] = {
        {"audio master is never changed", AV_SYNC_AUDIO_MASTER, 0.05, 20, kSecond, 2 * kSecond,
         kSecond},
        {"within the threshold", AV_SYNC_VIDEO_MASTER, 0.04, 20, kSecond, 2 * kSecond, kSecond},
        {"ahead of video: stretched", AV_SYNC_VIDEO_MASTER, 0.05, 20, kSecond, 2 * kSecond,
         kSecond + 2205 * kFrameBytes},
        {"behind video: cut", AV_SYNC_VIDEO_MASTER, -0.05, 20, kSecond, 2 * kSecond,
         kSecond - 2205 * kFrameBytes},
        {"external clock too", AV_SYNC_EXTERNAL_CLOCK, -0.05, 20, kSecond, 2 * kSecond,
         kSecond - 2205 * kFrameBytes},
        {"fewer than 20 measurements", AV_SYNC_VIDEO_MASTER, 0.05, 19, kSecond, 2 * kSecond,
         kSecond},
        {"at most 10 % longer", AV_SYNC_VIDEO_MASTER, 0.5, 20, 4000, 8000, 4400},
        {"at most 10 % shorter", AV_SYNC_VIDEO_MASTER, -0.5, 20, 4000, 8000, 3600},
        {"a large negative difference is corrected", AV_SYNC_VIDEO_MASTER, -12.0, 20, 4000, 8000,
         3600},
        {"a large positive difference is a jump", AV_SYNC_VIDEO_MASTER, 12.0, 20, 4000, 8000, 4000},
        {"never past the capacity", AV_SYNC_VIDEO_MASTER, 0.5, 20, 4000, 4102, 4100},
        {"a full buffer cannot grow", AV_SYNC_VIDEO_MASTER, 0.5, 20, 4000, 4000, 4000},
    };
    constexpr uint8_t kGuard = 0xAB;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVideoState& is = State(c.Sync, true, true);
        is.audio_diff_avg_coef = coef;
        is.audio_diff_threshold = 2048.0 / 44100;
        is.audio_diff_avg_count = c.Summed;
        is.audio_diff_cum = c.AudioMinusMaster / (1 - coef);
        SetClocks(is, 3.0, 3.0 + c.AudioMinusMaster);
        if (c.Sync == AV_SYNC_EXTERNAL_CLOCK) is.external_clock = 3.0;

        std::vector<uint8_t> buffer(size_t(c.Capacity) + 16, kGuard);
        for (int i = 0; i < c.Size; ++i) buffer[size_t(i)] = uint8_t(i % 251);
        int result = SyncAudio(is, buffer.data(), c.Size, c.Capacity);
        EXPECT_EQ(result, c.Expected);
        EXPECT_EQ(result % kFrameBytes, 0);
        for (int i = c.Size; i < result; ++i)
            ASSERT_EQ(buffer[size_t(i)], buffer[size_t(c.Size - kFrameBytes + i % kFrameBytes)])
                << "the added room repeats the last sample frame, byte " << i;
        for (size_t i = size_t(std::max(result, c.Size)); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], kGuard) << "written past the block, byte " << i;
    }
}

TEST_F(PlayerClockTest, SyncAudioCountsAndResetsItsMeasurements) {
    TVideoState& is = State(AV_SYNC_VIDEO_MASTER, true);
    is.audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
    EXPECT_NEAR(is.audio_diff_avg_coef, 0.904837, 1e-6) << "the decimal logarithm";
    is.audio_diff_threshold = 2048.0 / 44100;
    std::vector<uint8_t> buffer(8000);
    SetClocks(is, 3.0, 3.5);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(SyncAudio(is, buffer.data(), 4000, 8000), 4000);
    EXPECT_EQ(is.audio_diff_avg_count, 20);
    EXPECT_EQ(SyncAudio(is, buffer.data(), 4000, 8000), 4400);
    SetClocks(is, 3.0, 13.5);
    EXPECT_EQ(SyncAudio(is, buffer.data(), 4000, 8000), 4000);
    EXPECT_EQ(is.audio_diff_avg_count, 0);
    EXPECT_EQ(is.audio_diff_cum, 0);
}

TEST_F(PlayerClockTest, ResumingMovesTheTimersOverThePause) {
    struct TCase {
        int ReadPauseReturn;
        double PtsAfter;
    };
    // A demuxer that cannot pause keeps the picture last shown as the video clock.
    const TCase cases[] = {{0, 8.0}, {AVERROR(ENOSYS), 5.0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.ReadPauseReturn);
        sys::TManualClock clock{kNowMicros};
        sys::SetClock(&clock);
        TCustomPlayer player;
        TVideoState& is = State(AV_SYNC_AUDIO_MASTER, false, false);
        is.events = std::make_shared<TPlayerEventQueue>();
        player.FVideoState = &is;
        is.read_pause_return = c.ReadPauseReturn;
        is.frame_timer = 101.0;
        SetClocks(is, 5.0, 0);
        TogglePauseState(player);
        EXPECT_EQ(is.paused.load(), 1);

        clock.Advance(3000000);
        TogglePauseState(player);
        EXPECT_EQ(is.paused.load(), 0);
        EXPECT_DOUBLE_EQ(is.frame_timer.load(), 104.0);
        EXPECT_DOUBLE_EQ(is.video_current_pts.load(), c.PtsAfter);
        EXPECT_DOUBLE_EQ(is.video_current_pts_drift.load(), c.PtsAfter - 103.0);
        player.FVideoState = nullptr;
        sys::SetClock(&FClock);
    }
}

TEST_F(PlayerClockTest, ResumingBeforeAnyPictureWasShownKeepsTheTimers) {
    TCustomPlayer player;
    TVideoState& is = State(AV_SYNC_AUDIO_MASTER, false, false);
    is.events = std::make_shared<TPlayerEventQueue>();
    player.FVideoState = &is;
    is.paused = 1;
    is.frame_timer = 99.0;
    TogglePauseState(player);
    EXPECT_EQ(is.paused.load(), 0);
    EXPECT_EQ(is.frame_timer.load(), 99.0);
    EXPECT_EQ(is.video_current_pts.load(), 0);
    EXPECT_EQ(VideoClock(is), 0) << "still the start time";
    player.FVideoState = nullptr;
}

TEST_F(PlayerClockTest, PauseTogglesFromTwoThreadsAreSerialised) {
    TCustomPlayer player;
    TVideoState& is = State(AV_SYNC_AUDIO_MASTER, false, false);
    is.events = std::make_shared<TPlayerEventQueue>();
    player.FVideoState = &is;
    SetClocks(is, 5.0, 0);
    is.frame_timer = 101.0;
    constexpr int kToggles = 500;
    auto toggle = [&] {
        for (int i = 0; i < kToggles; ++i) TogglePauseState(player);
    };
    std::thread other(toggle);
    toggle();
    other.join();
    // An even number of toggles with the wall clock standing: back where it started.
    EXPECT_EQ(is.paused.load(), 0);
    EXPECT_DOUBLE_EQ(is.frame_timer.load(), 101.0);
    EXPECT_DOUBLE_EQ(is.video_current_pts.load(), 5.0);
    player.FVideoState = nullptr;
}

}  // namespace
}  // namespace media
