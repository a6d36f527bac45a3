// Whole playbacks of the fixtures through the dummy audio driver and a recording video host.
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/libs/media_utils.h"
#include "media/media_test_support.h"
#include "media/player/ff_player.h"
#include "media/player/player_test_support.h"
#include "platform/sys/env.h"

namespace media {
namespace {

constexpr int kClipWidth = 320;
constexpr int kClipHeight = 240;

class PlayerPlaybackTest : public test::TPlayerTest {
protected:
    bool OpenPaused(const std::string& fileName) {
        if (!OpenWithHost(fileName, true, kClipWidth, kClipHeight)) return false;
        return test::WaitUntil([&] { return FPlayer.PlayState() == psPause; });
    }
    // The time of the picture queued last, read under the queue's lock.
    double LastQueuedPts() {
        std::lock_guard lock(State().pictq_mutex);
        return State().frame_last_pts;
    }
    // The picture published last once a paused open has shown both of its pictures.
    std::shared_ptr<const TVideoImage> PausedPicture() {
        EXPECT_TRUE(test::WaitUntil([&] { return FHost->Count() >= 2; }));
        return FHost->Last();
    }
};

TEST_F(PlayerPlaybackTest, OpenPausedQueuesTwoPicturesAndStopsDecoding) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
    EXPECT_TRUE(FPlayer.Paused());
    EXPECT_EQ(State().pictures_queued.load(), 2);
    test::PumpFor(300);
    EXPECT_EQ(State().pictures_queued.load(), 2);
    EXPECT_GT(State().videoq.Count(), 0) << "the packets wait for the resume";
    std::shared_ptr<const TVideoImage> shown = PausedPicture();
    EXPECT_EQ(shown->Width, kClipWidth);

    // Shown again on an expose while paused: the same picture, though its queue slot is free.
    size_t published = FHost->Count();
    State().events->Push({TPlayerEventKind::Expose});
    ASSERT_TRUE(test::WaitUntil([&] { return FHost->Count() == published + 1; }));
    EXPECT_EQ(FHost->Last()->Pixels, shown->Pixels);

    FPlayer.Resume();
    EXPECT_EQ(FPlayer.PlayState(), psResume);
    EXPECT_TRUE(test::WaitUntil([&] { return State().pictures_queued.load() > 10; }));
}

TEST_F(PlayerPlaybackTest, EachStepQueuesOnePictureAndPausesAgain) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
    for (int step = 1; step <= 3; ++step) {
        SCOPED_TRACE(step);
        FPlayer.StepToNextFrame();
        EXPECT_EQ(FPlayer.PlayState(), psStep) << "raised by the first step only, kept after";
        ASSERT_TRUE(test::WaitUntil([&] { return State().pictures_queued.load() == 2 + step; }));
        ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.Paused(); }));
    }
    test::PumpFor(200);
    EXPECT_EQ(State().pictures_queued.load(), 5);

    FPlayer.Resume();
    EXPECT_EQ(FPlayer.PlayState(), psResume);
    EXPECT_TRUE(test::WaitUntil([&] { return State().pictures_queued.load() > 10; }));
}

TEST_F(PlayerPlaybackTest, VideoFiltersApplyToThePublishedPicture) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
    std::shared_ptr<const TVideoImage> plain = PausedPicture();
    FPlayer.SetVideoFilters("hflip");
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
    std::shared_ptr<const TVideoImage> flipped = PausedPicture();
    ASSERT_EQ(plain->Width, kClipWidth);
    ASSERT_EQ(flipped->Width, kClipWidth);
    ASSERT_EQ(flipped->Height, plain->Height);

    auto channelDiff = [](uint32_t a, uint32_t b) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
        return sum;
    };
    double mirrored = 0;
    double same = 0;
    for (int y = 0; y < plain->Height; ++y)
        for (int x = 0; x < plain->Width; ++x) {
            mirrored += channelDiff(flipped->Pixel(x, y), plain->Pixel(plain->Width - 1 - x, y));
            same += channelDiff(flipped->Pixel(x, y), plain->Pixel(x, y));
        }
    double pixels = double(plain->Width) * plain->Height;
    EXPECT_LT(mirrored / pixels, 6.0);
    EXPECT_GT(same / pixels, 30.0);
}

TEST_F(PlayerPlaybackTest, WaitingSeekReturnsAfterTheFirstNewPicture) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
    int64_t before = State().pictures_queued.load();
    FPlayer.Seek(int64_t(1000000), TSeekFlags{}, true);
    EXPECT_GT(State().pictures_queued.load(), before);
    // Key frames every 12 pictures of 40 ms: the seek lands on the one at 0.96 s.
    EXPECT_NEAR(State().frame_last_pts, 0.96, 0.05);
    EXPECT_TRUE(FPlayer.Paused()) << "a seek while paused stays paused";
    EXPECT_TRUE(test::WaitUntil([&] { return !FPlayer.Seeking(); }));

    // The pictures from before the seek are never shown: what is shown is from after it.
    EXPECT_TRUE(test::WaitUntil([&] {
        std::lock_guard lock(State().last_mutex);
        return State().last_pts >= 0.95;
    }));
}

TEST_F(PlayerPlaybackTest, SeekForms) {
    struct TCase {
        const char* Name;
        const char* Fixture;
        std::function<void(TCustomPlayer&)> Seek;
        double Low;  // the first new picture's time lies in [Low, High]
        double High;
    };
    const TCase cases[] = {
        // Key frames every 12 pictures of 40 ms: 0.96 s is the one before 1 s.
        {"absolute", fixtures::kClipAvi,
         [](TCustomPlayer& p) { p.Seek(int64_t(1000000), TSeekFlags{}, true); }, 0.95, 0.97},
        // To 0: the window starts above the target, the fallback seek takes over.
        {"absolute to the start", fixtures::kClipAvi,
         [](TCustomPlayer& p) { p.Seek(int64_t(0), TSeekFlags{sfAny}, true); }, 0, 0.01},
        {"beyond the end is clamped to the duration", fixtures::kClipAvi,
         [](TCustomPlayer& p) { p.Seek(int64_t(60000000), TSeekFlags{}, true); }, 1.4, 2.0},
        // Forward from the current position: the next key frame at or after the target. The
        // paused start's clock is the audio's, a few milliseconds either side of 0 as the audio
        // device happened to take its buffers, so the target keeps clear of the key frame at
        // 0.48 s.
        {"relative from the paused start", fixtures::kClipAvi,
         [](TCustomPlayer& p) { p.Seek(0.7, TSeekFlags{}, true); }, 0.95, 0.97},
        {"by bytes into the middle", fixtures::kTwoProgramsTs,
         [](TCustomPlayer& p) {
             int64_t size = FileSizeOf(fixtures::Path(fixtures::kTwoProgramsTs));
             p.Seek(size / 2, TSeekFlags{sfByte}, true);
         },
         0.3, 1.9},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(OpenPaused(fixtures::Path(c.Fixture)));
        double start = double(State().StartTime) / 1000000;
        int64_t before = State().pictures_queued.load();
        c.Seek(FPlayer);
        EXPECT_GT(State().pictures_queued.load(), before);
        EXPECT_GE(State().frame_last_pts - start, c.Low);
        EXPECT_LE(State().frame_last_pts - start, c.High);
        FPlayer.Stop(true);
    }
}

// Key frames of clip.avi lie every 0.48 s: a seek to t shows the one nearest to t.
double KeyFrameAt(double seconds) {
    return std::round(seconds / 0.48) * 0.48;
}

TEST_F(PlayerPlaybackTest, AWaitingSeekRightAfterAnotherShowsItsOwnTarget) {
    // On a paused playback: a seek, then at once a waiting one. The earlier seek's picture
    // must neither end the later one's wait nor stop its picture from being decoded, and a
    // seek still pending is replaced, not dropped.
    struct TCase {
        double First;
        double Second;
    };
    const TCase cases[] = {{1.5, 0.5}, {0.5, 1.5}, {1.0, 1.0}, {1.95, 0.1}, {0.1, 1.95}};
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
    for (int round = 0; round < 4; ++round)
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.First << " then " << c.Second);
            FPlayer.Seek(int64_t(c.First * 1000000), TSeekFlags{}, false);
            FPlayer.Seek(int64_t(c.Second * 1000000), TSeekFlags{}, true);
            EXPECT_NEAR(LastQueuedPts(), KeyFrameAt(c.Second), 0.005);
            EXPECT_TRUE(FPlayer.Paused());
        }
}

// Five hundred cycles in five runs of a hundred, which may go side by side.
class PlayerStressTest : public PlayerPlaybackTest, public testing::WithParamInterface<int> {};

TEST_P(PlayerStressTest, CyclesOfOpenSeekPauseStepAndStop) {
    // A hang shows as the test's time-out; every waiting seek on a paused playback shows its
    // own target.
    const double targets[] = {0.5, 1.0, 1.5, 0.1, 1.95, 0.7};
    auto target = [&](int i) { return targets[size_t(i) % std::size(targets)]; };
    auto seek = [&](double seconds, bool wait) {
        FPlayer.Seek(int64_t(seconds * 1000000), TSeekFlags{}, wait);
    };
    for (int cycle = GetParam() * 100; cycle < GetParam() * 100 + 100; ++cycle) {
        SCOPED_TRACE(cycle);
        bool paused = cycle % 2 == 0;
        if (paused) {
            ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
        } else {
            ASSERT_TRUE(
                OpenWithHost(fixtures::Path(fixtures::kClipAvi), false, kClipWidth, kClipHeight));
        }
        seek(target(cycle), false);
        seek(target(cycle + 1), true);
        if (paused) {
            EXPECT_NEAR(LastQueuedPts(), KeyFrameAt(target(cycle + 1)), 0.005);
        }
        FPlayer.Pause();
        ASSERT_TRUE(FPlayer.Paused());
        if (cycle % 3 == 0) seek(target(cycle + 2), false);
        seek(target(cycle + 3), true);
        double shown = KeyFrameAt(target(cycle + 3));
        EXPECT_NEAR(LastQueuedPts(), shown, 0.005);
        if (cycle % 4 == 1) {
            int64_t queued = State().pictures_queued.load();
            FPlayer.StepToNextFrame();
            ASSERT_TRUE(test::WaitUntil(
                [&] { return State().pictures_queued.load() > queued && FPlayer.Paused(); }));
            EXPECT_GT(LastQueuedPts(), shown - 0.005);
        }
        FPlayer.Stop(cycle % 5 != 0);
    }
    FPlayer.Stop(true);
    EXPECT_FALSE(FPlayer.Playing());
}

INSTANTIATE_TEST_SUITE_P(FiveHundredCycles, PlayerStressTest, testing::Range(0, 5));

TEST_F(PlayerPlaybackTest, EndOfFileIsLoggedOnceAndRaisesTheEndState) {
    test::TLogCapture log;
    std::string fileName = fixtures::Path(fixtures::kClip1sAvi);
    FHost = std::make_shared<test::TRecordingVideoHost>(kClipWidth, kClipHeight);
    ASSERT_TRUE(FPlayer.Open(fileName, FHost, false));
    ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psEnd; }));
    EXPECT_GE(FPlayer.CurrentPTS(), 500000) << "played through, not jumped to the end";
    test::PumpFor(300);
    int ends = 0;
    for (const test::TCapturedLine& line : log.Lines())
        if (line.Msg == "reach end of file: " + fileName) {
            ++ends;
            EXPECT_EQ(line.Level, llInfo);
            EXPECT_EQ(line.Sender, &FPlayer);
        }
    EXPECT_EQ(ends, 1);

    // Seeking back from the end plays the file again.
    FPlayer.Seek(int64_t(0), TSeekFlags{sfAny}, true);
    EXPECT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psEnd; }));
    EXPECT_TRUE(FPlayer.Playing());
}

TEST_F(PlayerPlaybackTest, AStillPictureEndsWithoutAReport) {
    test::TLogCapture log;
    FHost = std::make_shared<test::TRecordingVideoHost>(kClipWidth, kClipHeight);
    ASSERT_TRUE(FPlayer.Open(fixtures::Path(fixtures::kStillPng), FHost, false));
    ASSERT_TRUE(test::WaitUntil([&] { return FHost->Count() > 0 && State().ReachEOF.load(); }));
    test::PumpFor(100);
    for (const std::string& msg : log.Messages())
        EXPECT_EQ(msg.find("reach end of file"), std::string::npos) << msg;
    EXPECT_EQ(FPlayer.PlayState(), psPlay) << "no position and no end for a picture";
    EXPECT_EQ(FPlayer.CurrentPTS(), -1);
}

TEST_F(PlayerPlaybackTest, OpenFailuresSayWhy) {
    test::TTempDir folder;
    std::string subtitles = folder.Touch("only.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n");
    struct TCase {
        std::string FileName;
        std::string Text;
    };
    const std::string missing = folder.File("missing.avi");
    const std::string text = fixtures::Path(fixtures::kTextFile);
    const TCase cases[] = {
        {missing, missing + ": No such file or directory"},
        {text, text + ": Invalid data found when processing input"},
        {subtitles, subtitles + ": could not open codecs, no stream to play."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.FileName);
        EXPECT_FALSE(FPlayer.Open(c.FileName, nullptr, false));
        EXPECT_EQ(FPlayer.LastErrMsg(), c.Text);
        EXPECT_FALSE(FPlayer.Playing());
    }
    // A failed open leaves the player ready for the next one.
    EXPECT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipAvi)));
}

TEST_F(PlayerPlaybackTest, WithoutAnAudioDeviceTheVideoStillPlays) {
    test::TLogCapture log;
    std::string saved = sys::GetEnv("SDL_AUDIODRIVER");
    sys::SetEnv("SDL_AUDIODRIVER", "no-such-driver");
    FHost = std::make_shared<test::TRecordingVideoHost>(kClipWidth, kClipHeight);
    bool opened = FPlayer.Open(fixtures::Path(fixtures::kClip1sAvi), FHost, false);
    sys::SetEnv("SDL_AUDIODRIVER", saved);
    ASSERT_TRUE(opened) << FPlayer.LastErrMsg();
    EXPECT_EQ(FPlayer.AudioStreamIndex(), -1);
    EXPECT_EQ(State().audio_ctx, nullptr) << "the audio decoder is closed again";
    EXPECT_GE(FPlayer.VideoStreamIndex(), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psEnd; }));
    EXPECT_GT(FHost->Count(), 10u);
    bool reported = false;
    for (const std::string& msg : log.Messages())
        reported = reported || msg.rfind("SDL_OpenAudio() failed: ", 0) == 0;
    EXPECT_TRUE(reported);
}

TEST_F(PlayerPlaybackTest, AudioOnlyPlaysThroughTheDummyDevice) {
    FHost = std::make_shared<test::TRecordingVideoHost>(kClipWidth, kClipHeight);
    ASSERT_TRUE(FPlayer.Open(fixtures::Path(fixtures::kAudioMp3), FHost, false));
    EXPECT_EQ(FPlayer.VideoStreamIndex(), -1);
    EXPECT_EQ(State().show_audio.load(), int(saWave)) << "the wave display by default";
    EXPECT_TRUE(test::WaitUntil([&] { return FPlayer.CurrentPTS() > 200000; }));
    // Muted, the audio is still decoded and its clock runs on.
    FPlayer.SetMute(true);
    int64_t muted = FPlayer.CurrentPTS();
    EXPECT_TRUE(test::WaitUntil([&] { return FPlayer.CurrentPTS() > muted + 200000; }));
    FPlayer.Pause();
    EXPECT_EQ(FPlayer.PlayState(), psPause);
    EXPECT_TRUE(FPlayer.Paused());

    // The device keeps calling for data while paused and gets silence at once: the callbacks go
    // on and the audio clock stands. The first callback after the pause may still finish a block.
    int64_t pausedAt = FPlayer.Faudio_callback_time.load();
    ASSERT_TRUE(
        test::WaitUntil([&] { return FPlayer.Faudio_callback_time.load() > pausedAt + 100000; }));
    double clock = State().audio_clock.load();
    int64_t since = FPlayer.Faudio_callback_time.load();
    ASSERT_TRUE(
        test::WaitUntil([&] { return FPlayer.Faudio_callback_time.load() > since + 100000; }));
    EXPECT_EQ(State().audio_clock.load(), clock);
}

TEST_F(PlayerPlaybackTest, StreamSwitching) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kTwoProgramsTs)));
    int video = FPlayer.VideoStreamIndex();
    int audio = FPlayer.AudioStreamIndex();
    ASSERT_GE(video, 0);
    ASSERT_GE(audio, 0);
    EXPECT_FALSE(FPlayer.SetVideoStreamIndex(audio));
    EXPECT_EQ(FPlayer.LastErrMsg(), "the stream type is not matched.");
    EXPECT_FALSE(FPlayer.SetAudioStreamIndex(99));
    EXPECT_EQ(FPlayer.LastErrMsg(), "the stream index is not valid.");
    EXPECT_FALSE(FPlayer.SetSubtitleStreamIndex(-2));
    EXPECT_TRUE(FPlayer.SetSubtitleStreamIndex(-1)) << "subtitles off, there were none";

    int otherAudio = -1;
    AVFormatContext* ic = State().ic;
    for (int i = 0; i < int(ic->nb_streams); ++i)
        if (i != audio && ic->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            otherAudio = i;
    ASSERT_GE(otherAudio, 0);
    EXPECT_TRUE(FPlayer.SetAudioStreamIndex(otherAudio));
    EXPECT_EQ(FPlayer.AudioStreamIndex(), otherAudio);
    EXPECT_EQ(FPlayer.VideoStreamIndex(), video);
}

TEST_F(PlayerPlaybackTest, SubtitlesTurnOffAndOnAgain) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kSubtitledMkv)));
    int subtitles = FPlayer.SubtitleStreamIndex();
    ASSERT_GE(subtitles, 0);
    EXPECT_TRUE(FPlayer.SetSubtitleStreamIndex(-1));
    EXPECT_EQ(FPlayer.SubtitleStreamIndex(), -1);
    EXPECT_FALSE(FPlayer.SetSubtitleStreamIndex(FPlayer.AudioStreamIndex()));
    EXPECT_EQ(FPlayer.LastErrMsg(), "the stream type is not matched.");
    EXPECT_TRUE(FPlayer.SetSubtitleStreamIndex(subtitles));
    EXPECT_EQ(FPlayer.SubtitleStreamIndex(), subtitles);

    // Text subtitles are decoded and left out: only picture subtitles are shown.
    FPlayer.Resume();
    ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psEnd; }));
    std::lock_guard lock(State().subpq_mutex);
    EXPECT_EQ(State().subpq_size, 0);
}

TEST_F(PlayerPlaybackTest, WantedStreamIsTheNthOfItsType) {
    FPlayer.Setwanted_stream(AVMEDIA_TYPE_AUDIO, 1);
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kTwoProgramsTs)));
    AVFormatContext* ic = State().ic;
    int seen = 0;
    int second = -1;
    for (int i = 0; i < int(ic->nb_streams); ++i)
        if (ic->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && seen++ == 1) second = i;
    EXPECT_EQ(FPlayer.AudioStreamIndex(), second);
    FPlayer.Stop(true);

    // The wish held for one playback; one beyond the streams leaves the type unplayed.
    EXPECT_EQ(FPlayer.wanted_stream(AVMEDIA_TYPE_AUDIO), -1);
    FPlayer.Setwanted_stream(AVMEDIA_TYPE_AUDIO, 5);
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kTwoProgramsTs)));
    EXPECT_EQ(FPlayer.AudioStreamIndex(), -1);
}

TEST_F(PlayerPlaybackTest, OpenWhilePlayingStartsAFreshPlayback) {
    auto firstHost = std::make_shared<test::TRecordingVideoHost>(kClipWidth, kClipHeight);
    ASSERT_TRUE(FPlayer.Open(fixtures::Path(fixtures::kClipAvi), firstHost, false));
    ASSERT_TRUE(test::WaitUntil([&] { return firstHost->Count() > 0; }));
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kClipMkv)));
    EXPECT_EQ(firstHost->Clears(), 1) << "the first playback ended and let go of its host";
    EXPECT_EQ(State().pictures_queued.load(), 2);
    EXPECT_EQ(FPlayer.FileName(), fixtures::Path(fixtures::kClipMkv));
    EXPECT_EQ(FPlayer.AVProbe().FileHandle(), State().ic) << "the probe looks at the playback";
    EXPECT_EQ(FPlayer.AVProbe().VideoStreamCount(), 1);

    // Stop without waiting returns at once; the play thread ends the playback.
    FPlayer.Stop(false);
    EXPECT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psStop; }));
    EXPECT_FALSE(FPlayer.Playing());
    EXPECT_EQ(FHost->Clears(), 1);
    EXPECT_EQ(FPlayer.AVProbe().FileHandle(), nullptr);
}

TEST_F(PlayerPlaybackTest, PlaysAFileInAFolderWithCjkName) {
    ASSERT_TRUE(OpenPaused(fixtures::Path(fixtures::kCjkClip)));
    EXPECT_EQ(State().pictures_queued.load(), 2);
}

}  // namespace
}  // namespace media
