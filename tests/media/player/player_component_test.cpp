// The player component as the application sees it: the event hand-over and the play states,
// play lengths, the hook, the copy of the shown picture, the window host and bounded stops.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/media_test_support.h"
#include "media/player/ff_player.h"
#include "media/player/player_event_thread.h"
#include "media/player/player_test_support.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/threads.h"
#include "platform/win/headless.h"
#include "platform/win/video_host.h"
#include "platform/win/win.h"
#include "support/temp_dir.h"

namespace media {
namespace {

constexpr int kClipWidth = 320;
constexpr int kClipHeight = 240;

// What the handlers saw, on which threads.
struct TEventLog {
    std::vector<TPlayState> States;
    std::vector<int64_t> Positions;
    bool OffMainThread = false;

    void Attach(TCustomPlayer& player) {
        player.OnState = [this](TCustomPlayer*, TPlayState state) {
            OffMainThread = OffMainThread || !sys::IsMainThread();
            States.push_back(state);
        };
        player.OnPosition = [this](TCustomPlayer*, int64_t pts) {
            OffMainThread = OffMainThread || !sys::IsMainThread();
            Positions.push_back(pts);
        };
    }
    int Count(TPlayState state) const {
        return int(std::count(States.begin(), States.end(), state));
    }
};

class PlayerComponentTest : public test::TPlayerTest {
protected:
    bool Open(const std::string& fixture, bool paused, int width = kClipWidth,
              int height = kClipHeight) {
        return OpenWithHost(fixtures::Path(fixture), paused, width, height);
    }
    bool OpenPaused(const std::string& fixture) {
        return Open(fixture, true) && test::WaitUntil([&] {
                   return FPlayer.PlayState() == psPause && FHost->Count() >= 2;
               });
    }

    TEventLog FLog;
};

TEST(PlayEventRingTest, PositionsCoalesceStatesQueueAndTheOldestGoesWhenFull) {
    TPlayEventRing ring;
    EXPECT_EQ(ring.Pop().Kind, pekNone);
    for (int i = 1; i <= 10; ++i) ring.Push({pekPosition, i * 1000});
    TPlayEventItem item = ring.Pop();
    EXPECT_EQ(item.Kind, pekPosition);
    EXPECT_EQ(item.Value, 10000) << "only the newest position waits";
    EXPECT_EQ(ring.Pop().Kind, pekNone);
    EXPECT_EQ(ring.Waiting().Wait(0), sys::TWaitResult::Timeout);

    // States are never replaced by other states; a position between them stays in its place.
    ring.Push({pekState, psPlay});
    ring.Push({pekState, psPause});
    ring.Push({pekState, psPause});
    ring.Push({pekPosition, 1});
    ring.Push({pekPosition, 2});
    ring.Push({pekState, psStop});
    EXPECT_EQ(ring.Waiting().Wait(0), sys::TWaitResult::Signaled);
    const std::vector<std::pair<int, int64_t>> expected = {
        {pekState, psPlay}, {pekState, psPause}, {pekPosition, 2}, {pekState, psStop}};
    for (const auto& [kind, value] : expected) {
        item = ring.Pop();
        EXPECT_EQ(item.Kind, kind);
        EXPECT_EQ(item.Value, value);
    }
    EXPECT_EQ(ring.Pop().Kind, pekNone);

    // Nine wait at most: the tenth drops the oldest.
    for (int i = 0; i < 10; ++i) ring.Push({i % 2 == 0 ? pekState : pekPosition, i});
    for (int i = 1; i < 10; ++i) EXPECT_EQ(ring.Pop().Value, i);
    EXPECT_EQ(ring.Pop().Kind, pekNone);
}

TEST_F(PlayerComponentTest, StateSequenceOfPauseStepResumeAndStop) {
    FLog.Attach(FPlayer);
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    ASSERT_TRUE(test::WaitUntil([&] { return FLog.States.size() == 2; }));
    EXPECT_EQ(FLog.States, (std::vector<TPlayState>{psPlay, psPause}));

    FPlayer.Pause();
    int64_t queued = State().pictures_queued.load();
    size_t published = FHost->Count();
    for (int step = 1; step <= 3; ++step) {
        FPlayer.StepToNextFrame();
        ASSERT_TRUE(test::WaitUntil(
            [&] { return State().pictures_queued.load() == queued + step && FPlayer.Paused(); }));
    }
    // Every stepped picture is shown: three more publications at least.
    EXPECT_TRUE(test::WaitUntil([&] { return FHost->Count() >= published + 3; }));
    FPlayer.Resume();
    FPlayer.Resume();
    FPlayer.Stop(true);
    EXPECT_FALSE(FPlayer.Playing());
    EXPECT_EQ(FLog.States, (std::vector<TPlayState>{psPlay, psPause, psStep, psResume, psStop}));
    EXPECT_FALSE(FLog.OffMainThread);
}

TEST_F(PlayerComponentTest, PositionsAreReportedOnChangesOverTenMillisecondsUpToTheEnd) {
    FLog.Attach(FPlayer);
    FPlayer.SetTriggerEventInMainThread(false);
    ASSERT_TRUE(Open(fixtures::kClip1sAvi, false));
    ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psEnd; }));
    // The end comes once the file is read; the pictures still queued play out after it, and
    // with them the clock reaches the duration.
    const int64_t duration = State().Duration;
    ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.CurrentPTS() >= duration; }));
    FPlayer.Stop(true);  // every event is delivered by now
    EXPECT_TRUE(FLog.OffMainThread) << "delivered on the event thread";
    ASSERT_GT(FLog.Positions.size(), 3u);
    // The end is reported however close the report before it came; the others keep their step.
    const std::string seen = ::testing::PrintToString(FLog.Positions) + " states " +
                             ::testing::PrintToString(FLog.States);
    for (size_t i = 1; i + 1 < FLog.Positions.size(); ++i)
        EXPECT_GT(std::llabs(FLog.Positions[i] - FLog.Positions[i - 1]), 10000) << i << seen;
    EXPECT_NEAR(double(FLog.Positions.back()), 1000000.0, 50000.0) << "the end is reported";
    EXPECT_NE(FLog.Positions.back(), FLog.Positions[FLog.Positions.size() - 2]) << seen;
    EXPECT_EQ(FLog.Count(psEnd), 1);
    EXPECT_EQ(FLog.States.back(), psStop);
}

TEST_F(PlayerComponentTest, StopEndsTheEventThreadWithoutHandlersAndFromInsideAHandler) {
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    FPlayer.Stop(true);  // joins the event thread: it ended on the quit of the stop
    EXPECT_EQ(FPlayer.PlayState(), psStop);

    // The end's handler restarts the file once, then stops the player from inside.
    int ends = 0;
    FPlayer.OnState = [&](TCustomPlayer* sender, TPlayState state) {
        if (state != psEnd) return;
        if (++ends == 1)
            sender->Seek(int64_t(0), TSeekFlags{sfAny}, false);
        else
            sender->Stop(true);
    };
    ASSERT_TRUE(Open(fixtures::kClip1sAvi, false));
    ASSERT_TRUE(test::WaitUntil([&] { return ends == 2 && !FPlayer.Playing(); }));
    // Another playback after it, with the handler's event thread still to be joined.
    FPlayer.OnState = nullptr;
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
}

// Closing clears the events of a running preview on the main thread while the player's threads
// call them: a call runs the handler it found, whole, or none at all.
TEST_F(PlayerComponentTest, EventsAreClearedAndSetAgainWhileThePlayerCallsThem) {
    std::atomic<int> positions{0}, states{0}, hooks{0};
    auto attach = [&] {
        FPlayer.OnPosition = [&](TCustomPlayer*, int64_t) { ++positions; };
        FPlayer.OnState = [&](TCustomPlayer*, TPlayState) { ++states; };
        FPlayer.OnHook = [&](TCustomPlayer*, gfx::TBitmap&, int64_t) { ++hooks; };
    };
    auto clear = [&] {
        FPlayer.OnPosition = nullptr;
        FPlayer.OnState = nullptr;
        FPlayer.OnHook = nullptr;
    };
    FPlayer.SetTriggerEventInMainThread(false);  // the handlers run on the event thread
    FPlayer.SetHook(true);                       // and on the video thread
    attach();
    ASSERT_TRUE(Open(fixtures::kClipAvi, false));
    for (int round = 0; round < 20 && FPlayer.Playing(); ++round) {
        const int seen = positions + hooks;
        ASSERT_TRUE(
            test::WaitUntil([&] { return positions + hooks > seen || !FPlayer.Playing(); }));
        clear();
        attach();
    }
    clear();
    FPlayer.Stop(true);
    EXPECT_GT(positions.load(), 0);
    EXPECT_GT(hooks.load(), 0);
    EXPECT_GT(states.load(), 0);
}

TEST_F(PlayerComponentTest, PlayTimeStopsOrLoops) {
    FLog.Attach(FPlayer);
    FPlayer.SetPlayTime(5000000);
    FPlayer.SetRepeatType(rtStop);
    ASSERT_TRUE(FPlayer.Open(fixtures::Path(fixtures::kSineMp3), nullptr, false));
    // Bounds are hang guards only: a loaded machine may play slower than real time.
    ASSERT_TRUE(test::WaitUntil([&] { return !FPlayer.Playing(); }));
    FPlayer.Stop(true);
    ASSERT_FALSE(FLog.Positions.empty());
    EXPECT_GE(FLog.Positions.back(), 4900000);
    // The stop comes at the first position past the play time, however late that report is;
    // the file itself lasts 6 s.
    EXPECT_LT(FLog.Positions.back(), 5950000) << "stopped at the play time, not the end";
    EXPECT_EQ(FLog.Count(psEnd), 0);
    EXPECT_EQ(FPlayer.PlayTime(), AV_NOPTS_VALUE) << "for one playback only";
    EXPECT_EQ(FPlayer.RepeatType(), rtStop);

    // Looping: past one second the playback seeks back to the start and plays on.
    FLog = {};
    FLog.Attach(FPlayer);
    FPlayer.SetPlayTime(1000000);
    FPlayer.SetRepeatType(rtLoop);
    ASSERT_TRUE(Open(fixtures::kClipAvi, false));
    bool passed = false;
    ASSERT_TRUE(test::WaitUntil([&] {
        for (int64_t pts : FLog.Positions) {
            if (pts >= 1000000) passed = true;
            if (passed && pts < 500000) return true;
        }
        return false;
    }));
    EXPECT_TRUE(FPlayer.Playing());
    EXPECT_EQ(FLog.Count(psEnd), 0);
}

TEST_F(PlayerComponentTest, HookDrawsIntoThePublishedPicture) {
    std::vector<int64_t> times;
    FPlayer.SetHook(true);
    FPlayer.OnHook = [&](TCustomPlayer*, gfx::TBitmap& bitmap, int64_t pts) {
        times.push_back(pts);
        EXPECT_EQ(bitmap.Width(), kClipWidth);
        EXPECT_EQ(bitmap.Height(), kClipHeight);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                uint8_t* pixel = bitmap.ScanLine(y) + x * 3;
                pixel[0] = 0;  // B, G, R: pure red
                pixel[1] = 0;
                pixel[2] = 255;
            }
    };
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    std::shared_ptr<const TVideoImage> shown = FHost->Last();
    size_t hooked = times.size();  // paused: the video thread waits
    FPlayer.Stop(true);            // it resumes to end; no hook runs after this
    uint32_t red = shown->Pixel(20, 20);
    EXPECT_GT((red >> 16) & 0xFF, 200u);
    EXPECT_LT((red >> 8) & 0xFF, 60u);
    EXPECT_LT(red & 0xFF, 60u);
    uint32_t outside = shown->Pixel(200, 200);
    EXPECT_FALSE(((outside >> 16) & 0xFF) > 200 && ((outside >> 8) & 0xFF) < 60);
    ASSERT_EQ(hooked, 2u) << "on the video thread, once per queued picture: "
                          << ::testing::PrintToString(times);
    EXPECT_EQ(times[0], 0);
    EXPECT_EQ(times[1], 40000);
}

TEST_F(PlayerComponentTest, ARaisingHookIsLoggedAndThePictureKept) {
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    std::shared_ptr<const TVideoImage> plain = FHost->Last();
    FPlayer.Stop(true);

    test::TLogCapture log;
    FPlayer.SetHook(true);
    FPlayer.OnHook = [](TCustomPlayer*, gfx::TBitmap& bitmap, int64_t) {
        std::fill(bitmap.ScanLine(0), bitmap.ScanLine(0) + RowSize(bitmap), 0xFF);
        throw std::runtime_error("no ink");
    };
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    EXPECT_EQ(FHost->Last()->Pixels, plain->Pixels);
    int reported = 0;
    for (const test::TCapturedLine& line : log.Lines())
        if (line.Msg == "Error occurs OnHook: no ink") {
            ++reported;
            EXPECT_EQ(line.Level, llError);
            EXPECT_EQ(line.Sender, &FPlayer);
        }
    EXPECT_EQ(reported, 2);
}

TEST_F(PlayerComponentTest, HookBitmapFollowsPictureSizeAndFormat) {
    std::vector<std::pair<int, int>> sizes;
    FPlayer.SetHook(true);
    FPlayer.OnHook = [&](TCustomPlayer*, gfx::TBitmap& bitmap, int64_t) {
        sizes.emplace_back(bitmap.Width(), bitmap.Height());
        // Every byte of every row: past the bitmap would be caught by the address checker.
        for (int y = 0; y < bitmap.Height(); ++y)
            std::fill(bitmap.ScanLine(y), bitmap.ScanLine(y) + RowSize(bitmap), 0x80);
    };
    struct TCase {
        int Width;
        int Height;
        AVPixelFormat Format;
    };
    const TCase cases[] = {{64, 48, AV_PIX_FMT_YUV420P},
                           {320, 240, AV_PIX_FMT_YUV420P},
                           {33, 17, AV_PIX_FMT_YUV420P},
                           {16, 16, AV_PIX_FMT_YUV444P},
                           {640, 360, AV_PIX_FMT_YUV420P}};
    for (const TCase& c : cases) {
        AVFrame* frame = lib::av_frame_alloc();
        frame->width = c.Width;
        frame->height = c.Height;
        frame->format = c.Format;
        ASSERT_GE(lib::av_frame_get_buffer(frame, 0), 0);
        EXPECT_TRUE(FPlayer.CallHook(frame, 0));
        // Grey in, grey out: the picture took the bitmap back.
        EXPECT_NEAR(frame->data[0][0], 0x80, 8);
        lib::av_frame_free(&frame);
    }
    ASSERT_EQ(sizes.size(), std::size(cases));
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(sizes[i].first, cases[i].Width);
        EXPECT_EQ(sizes[i].second, cases[i].Height);
    }
    // Without a handler, or switched off, nothing runs.
    FPlayer.SetHook(false);
    AVFrame* frame = lib::av_frame_alloc();
    frame->width = 8;
    frame->height = 8;
    frame->format = AV_PIX_FMT_YUV420P;
    ASSERT_GE(lib::av_frame_get_buffer(frame, 0), 0);
    EXPECT_FALSE(FPlayer.CallHook(frame, 0));
    lib::av_frame_free(&frame);
}

TEST_F(PlayerComponentTest, ATurnedPictureIsShownAndSnappedUpright) {
    // Stored 160x120 with its top left quarter white, with a display matrix of 90 degrees: the
    // ffmpeg tool shows that quarter at the bottom left of a 120x160 picture.
    ASSERT_TRUE(OpenPaused(fixtures::kTurned90Mp4));
    int64_t pts = 0;
    gfx::TBitmap& bitmap = FPlayer.CurrentFrame(pts);
    ASSERT_EQ(bitmap.Width(), 120);
    ASSERT_EQ(bitmap.Height(), 160);
    auto shade = [&](int x, int y) { return int(bitmap.ScanLine(y)[x * 3 + 1]); };
    EXPECT_GT(shade(30, 120), 200);
    EXPECT_LT(shade(90, 120), 50);
    EXPECT_LT(shade(30, 40), 50);
    EXPECT_LT(shade(90, 40), 50);
}

TEST_F(PlayerComponentTest, CurrentFrameIsThePictureShownLast) {
    int64_t pts = 0;
    gfx::TBitmap& none = FPlayer.CurrentFrame(pts);
    EXPECT_EQ(none.Width(), 0);
    EXPECT_EQ(pts, -1);

    ASSERT_TRUE(Open(fixtures::kAudioMp3, false));
    ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.CurrentPTS() > 100000; }));
    gfx::TBitmap& audio = FPlayer.CurrentFrame(pts);
    EXPECT_EQ(audio.Width(), 0);
    EXPECT_EQ(audio.Height(), 0);
    EXPECT_EQ(pts, -1);

    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    for (int step = 0; step < 2; ++step) {
        SCOPED_TRACE(step);
        // Nothing waits to be shown any more: what was published last is what is shown.
        ASSERT_TRUE(test::WaitUntil([&] {
            std::lock_guard lock(State().pictq_mutex);
            return State().pictq_size == 0;
        }));
        test::PumpFor(50);
        std::shared_ptr<const TVideoImage> shown = FHost->Last();
        gfx::TBitmap& bitmap = FPlayer.CurrentFrame(pts);
        ASSERT_EQ(bitmap.Width(), kClipWidth);
        ASSERT_EQ(bitmap.Height(), kClipHeight);
        {
            std::lock_guard lock(State().last_mutex);
            EXPECT_EQ(pts, std::llround(State().last_pts * 1000000));
        }
        int worst = 0;
        for (int y = 0; y < kClipHeight; ++y)
            for (int x = 0; x < kClipWidth; ++x) {
                const uint8_t* bgr = bitmap.ScanLine(y) + x * 3;
                uint32_t p = shown->Pixel(x, y);
                for (int c = 0; c < 3; ++c)
                    worst = std::max(worst, std::abs(int(bgr[c]) - int((p >> (8 * c)) & 0xFF)));
            }
        EXPECT_LE(worst, 3);
        FPlayer.StepToNextFrame();
        ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.Paused(); }));
    }
}

TEST_F(PlayerComponentTest, FormatForcesTheDemuxerOrRaises) {
    EXPECT_EQ(FPlayer.Format(), "");
    FPlayer.SetFormat("avi");
    EXPECT_EQ(FPlayer.Format(), "avi");
    for (const char* name : {"no-such-format", ""}) {
        try {
            FPlayer.SetFormat(name);
            ADD_FAILURE() << name;
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Unknown input format: ") + name);
        }
        EXPECT_EQ(FPlayer.Format(), "avi");
    }
    EXPECT_TRUE(OpenPaused(fixtures::kClipAvi));
    FPlayer.SetFormat("mp3");
    EXPECT_FALSE(FPlayer.Open(fixtures::Path(fixtures::kClipAvi), nullptr, false));
}

TEST_F(PlayerComponentTest, OpenFileOpenEventChoosesTheScreenSize) {
    struct TSeen {
        int64_t Duration = 0;
        int Width = 0;
        int Height = 0;
    } seen;
    FPlayer.OnFileOpen = [&](TCustomPlayer*, int64_t duration, int frameWidth, int frameHeight,
                             int& screenWidth, int& screenHeight) {
        EXPECT_TRUE(sys::IsMainThread());
        seen = {duration, frameWidth, frameHeight};
        screenWidth = 160;
        screenHeight = 100;
    };
    ASSERT_TRUE(OpenPaused(fixtures::kClipAvi));
    EXPECT_NEAR(double(seen.Duration), 2000000.0, 50000.0);
    EXPECT_EQ(seen.Width, kClipWidth);
    EXPECT_EQ(seen.Height, kClipHeight);
    EXPECT_EQ(FHost->Last()->Width, 160);
    EXPECT_EQ(FHost->Last()->Height, 100);

    ASSERT_TRUE(Open(fixtures::kAudioMp3, false));
    EXPECT_EQ(seen.Width, -1);
    EXPECT_EQ(seen.Height, -1);
}

TEST_F(PlayerComponentTest, HundredOpenStopCycles) {
    FLog.Attach(FPlayer);
    for (int cycle = 0; cycle < 100; ++cycle) {
        SCOPED_TRACE(cycle);
        ASSERT_TRUE(Open(cycle % 3 == 2 ? fixtures::kClipMkv : fixtures::kClipAvi, cycle % 2 == 0));
        if (cycle % 4 == 0) test::WaitUntil([&] { return FHost->Count() > 0; });
        FPlayer.Stop(cycle % 5 != 0);
    }
    FPlayer.Stop(true);
    EXPECT_EQ(FLog.Count(psPlay), 100);
    EXPECT_EQ(FLog.Count(psStop), 100);
    EXPECT_EQ(FLog.States.back(), psStop);
}

// What the add's probe found of a file, as the task manager keeps it.
std::shared_ptr<const TProbedStreams> ProbeOf(const std::string& fileName) {
    TAVProbe probe;
    EXPECT_TRUE(probe.LoadFile(fileName)) << probe.LastErrMsg();
    return TProbedStreams::Take(probe.FileHandle(), fileName);
}

// An open that takes over what a probe of the file found shows what an open that probes it
// shows: the same description, duration, picture size and first picture. When the file at the
// name was replaced since, the player probes the new one.
TEST_F(PlayerComponentTest, AnOpenTakingOverAProbeShowsWhatAProbingOneShows) {
    struct TSeen {
        std::string Text;
        int64_t Duration = 0;
        int Width = 0;
        std::vector<uint32_t> Picture;
    };
    int64_t duration = 0;
    int width = 0;
    FPlayer.OnFileOpen = [&](TCustomPlayer*, int64_t d, int w, int, int&, int&) {
        duration = d;
        width = w;
    };
    const auto open = [&](const std::string& file, std::shared_ptr<const TProbedStreams> known) {
        FPlayer.SetProbedStreams(known);
        EXPECT_TRUE(OpenWithHost(file, true, kClipWidth, kClipHeight)) << FPlayer.LastErrMsg();
        EXPECT_EQ(State().probed, known);
        EXPECT_TRUE(
            test::WaitUntil([&] { return FPlayer.PlayState() == psPause && FHost->Count() >= 2; }));
        TSeen seen{FPlayer.AVProbe().FileInfoText(), duration, width, {}};
        if (FHost->Last()) seen.Picture = FHost->Last()->Pixels;
        FPlayer.Stop(true);
        return seen;
    };
    const auto expectSame = [](const TSeen& a, const TSeen& b) {
        EXPECT_EQ(a.Text, b.Text);
        EXPECT_EQ(a.Duration, b.Duration);
        EXPECT_EQ(a.Width, b.Width);
        EXPECT_FALSE(a.Picture.empty());
        EXPECT_TRUE(a.Picture == b.Picture);
    };
    for (const char* fixture : {fixtures::kClipMp4, fixtures::kClipMkv, fixtures::kClipAvi}) {
        SCOPED_TRACE(fixture);
        const std::string file = fixtures::Path(fixture);
        expectSame(open(file, ProbeOf(file)), open(file, nullptr));
    }

    testsupport::TTempDir dir;
    const std::string name = dir / "clip.mp4";
    std::filesystem::copy_file(fixtures::Path(fixtures::kClipMp4), name);
    const auto before = ProbeOf(name);
    std::filesystem::copy_file(fixtures::Path(fixtures::kSecondVideoMp4), name,
                               std::filesystem::copy_options::overwrite_existing);
    expectSame(open(name, before), open(name, nullptr));
    // Another file's probe is not taken over.
    FPlayer.SetProbedStreams(before);
    ASSERT_TRUE(OpenWithHost(fixtures::Path(fixtures::kClipMp4), true, kClipWidth, kClipHeight));
    EXPECT_EQ(State().probed, nullptr);
}

// BeginOpen returns before the file is open; the rest of the open comes in a later turn of the
// main thread, and an open that another one or the player's end cancels says nothing.
TEST_F(PlayerComponentTest, ABackgroundOpenFinishesOnTheMainThreadAndACancelledOneIsSilent) {
    FLog.Attach(FPlayer);
    int opens = 0;
    FPlayer.OnFileOpen = [&](TCustomPlayer*, int64_t, int, int, int&, int&) {
        EXPECT_TRUE(sys::IsMainThread());
        ++opens;
    };
    std::vector<bool> done;
    auto record = [&](bool opened) { done.push_back(opened); };
    const std::string text = fixtures::Path(fixtures::kTextFile);
    FPlayer.BeginOpen(text, win::HWND(), false, record);
    EXPECT_TRUE(done.empty());
    ASSERT_TRUE(test::WaitUntil([&] { return !done.empty(); }, 60000));
    EXPECT_EQ(done, std::vector<bool>{false});
    EXPECT_NE(FPlayer.LastErrMsg().find(text), std::string::npos) << FPlayer.LastErrMsg();
    EXPECT_FALSE(FPlayer.Playing());

    FPlayer.BeginOpen(fixtures::Path(fixtures::kClipAvi), win::HWND(), true, record);
    FPlayer.BeginOpen(fixtures::Path(fixtures::kClipMkv), win::HWND(), true, record);
    EXPECT_FALSE(FPlayer.Playing()) << "nothing is open before the main thread's next turn";
    ASSERT_TRUE(test::WaitUntil([&] { return FPlayer.PlayState() == psPause; }, 60000));
    EXPECT_EQ(done, (std::vector<bool>{false, true})) << "the first of the two never reports";
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(FPlayer.FileName(), fixtures::Path(fixtures::kClipMkv));
    EXPECT_EQ(FLog.Count(psPlay), 1);
    FPlayer.Stop(true);

    {
        TCustomPlayer other;
        other.BeginOpen(fixtures::Path(fixtures::kClipAvi), win::HWND(), true,
                        [](bool) { ADD_FAILURE() << "a player that ended reported an open"; });
    }
    // The ended player joined the open's read thread, which had handed over its decision
    // first: the hand-over runs now and does nothing.
    sys::CheckSynchronize(0);
}

// A FIFO that got part of a file and then nothing more: the read thread waits in a read.
TEST_F(PlayerComponentTest, StopReturnsWhileAReadWaitsForData) {
    test::TTempDir folder;
    std::string fifo = folder.File("stalled.mkv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Read and write: the FIFO has a writer that never writes again and never leaves.
    int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ::fcntl(writer, F_SETPIPE_SZ, 1 << 20);
    std::ifstream source(fixtures::Path(fixtures::kClipMkv), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    size_t part = std::min<size_t>(bytes.size() / 2, 1 << 19);
    ASSERT_EQ(::write(writer, bytes.data(), part), ssize_t(part));

    FHost = std::make_shared<test::TRecordingVideoHost>(kClipWidth, kClipHeight);
    ASSERT_TRUE(FPlayer.Open(fifo, FHost, false)) << FPlayer.LastErrMsg();
    ASSERT_TRUE(test::WaitUntil([&] { return State().Reading.load() == 1 && FHost->Count() > 0; }));
    test::PumpFor(200);
    ASSERT_EQ(State().Reading.load(), 1) << "the read waits";

    int64_t started = sys::Clock().NowMicros();
    FPlayer.Stop(true);
    int64_t took = sys::Clock().NowMicros() - started;
    EXPECT_FALSE(FPlayer.Playing());
    EXPECT_LT(took, 5000000) << "a hang guard: the stop ends the read at once";
    ::close(writer);
}

// The window layer's video host of a panel, headless.
class PlayerWindowTest : public PlayerComponentTest {
protected:
    void SetUp() override {
        PlayerComponentTest::SetUp();
        win::Initialize(std::make_unique<win::THeadlessBackend>());
        win::TWndClass cls;
        cls.Name = "PlayerPanel";
        cls.Background = gfx::clWhite;
        cls.Proc = [](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
            return win::DefWindowProc(h, m, w, l);
        };
        ASSERT_TRUE(win::RegisterClass(cls));
        FForm = win::CreateWindowEx(0, "PlayerPanel", "", win::WS_POPUP | win::WS_VISIBLE, 0, 0,
                                    400, 300, {});
        FPanel = win::CreateWindowEx(0, "PlayerPanel", "", win::WS_CHILD | win::WS_VISIBLE, 10, 10,
                                     240, 145, FForm);
        win::PumpMessages();
    }
    void TearDown() override {
        FPlayer.Stop(true);
        win::Finalize();
    }
    win::TPicture Picture() const { return win::GetVideoHost(FPanel)->Picture(); }

    win::HWND FForm;
    win::HWND FPanel;
};

TEST_F(PlayerWindowTest, PlaysIntoThePanelAndFollowsItsSize) {
    ASSERT_TRUE(FPlayer.Open(fixtures::Path(fixtures::kClipAvi), FPanel, true));
    EXPECT_EQ(FPlayer.ScreenHandle(), FPanel);
    ASSERT_TRUE(test::WaitUntil([&] {
        win::PumpMessages();
        return FPlayer.PlayState() == psPause && Picture() != nullptr;
    }));
    EXPECT_EQ(Picture()->Width(), 240);
    EXPECT_EQ(Picture()->Height(), 145);
    FPlayer.UpdateScreenPosition();

    // The panel grows: the next pictures are of its new size, also while paused.
    win::MoveWindow(FPanel, 10, 10, 300, 200);
    ASSERT_TRUE(test::WaitUntil([&] {
        win::PumpMessages();
        return Picture() != nullptr && Picture()->Width() == 300 && Picture()->Height() == 200;
    }));
    FPlayer.Stop(true);
    win::PumpMessages();
    EXPECT_EQ(Picture(), nullptr) << "the panel paints its own background again";

    // A handle that is not a window is refused, after the playback that runs was stopped.
    ASSERT_TRUE(FPlayer.Open(fixtures::Path(fixtures::kClipAvi), FPanel, false));
    ASSERT_TRUE(FPlayer.Playing());
    EXPECT_FALSE(FPlayer.Open(fixtures::Path(fixtures::kClipAvi), win::HWND(0xFFFFu), false));
    EXPECT_FALSE(FPlayer.Playing()) << "the old file does not play on";
    EXPECT_EQ(FPlayer.PlayState(), psStop);
    EXPECT_EQ(FPlayer.LastErrMsg().rfind("Could not initialize SDL with ScreenHandle(65535): ", 0),
              0u)
        << FPlayer.LastErrMsg();
}

}  // namespace
}  // namespace media
