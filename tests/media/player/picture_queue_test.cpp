#include "media/player/picture_queue.h"

#include <gtest/gtest.h>

#include "media/player/ff_player.h"
#include "media/player/player_clock.h"
#include "media/player/player_test_support.h"
#include "platform/sys/clock.h"

namespace media {
namespace {

constexpr int64_t kNowMicros = 100000000;
constexpr double kNow = 100.0;

struct TSlotSetup {
    double Pts;
    double DueIn;  // TargetTime - now
    bool Stale;    // from before the last seek
};

// RefreshVideo on a state whose picture queue is filled by hand, on a wall clock that stands.
class RefreshVideoTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequirePlayerLibraries();
        sys::SetClock(&FClock);
        NewState();
    }
    void TearDown() override {
        FState.reset();
        sys::SetClock(nullptr);
    }

    void NewState() {
        FState = std::make_unique<TVideoState>(&FPlayer);
        FState->events = std::make_shared<TPlayerEventQueue>();
        FState->video_st = &FStream;
        FState->videoq.PutFlush();
    }

    void Fill(const std::vector<TSlotSetup>& slots, double videoClock) {
        TVideoState& is = *FState;
        for (size_t i = 0; i < slots.size(); ++i) {
            TPictureSlot& vp = is.pictq[i];
            vp.Frame = lib::av_frame_alloc();
            vp.PTS = slots[i].Pts;
            vp.TargetTime = kNow + slots[i].DueIn;
            vp.Serial = slots[i].Stale ? is.videoq.Serial() - 1 : is.videoq.Serial();
        }
        is.pictq_size = int(slots.size());
        is.video_clock = videoClock;
    }

    sys::TManualClock FClock{kNowMicros};
    TCustomPlayer FPlayer;
    AVStream FStream{};
    std::unique_ptr<TVideoState> FState;
};

TEST_F(RefreshVideoTest, DueLateAndStalePictures) {
    struct TCase {
        const char* Name;
        bool FrameDrop;
        std::vector<TSlotSetup> Slots;
        double VideoClock;  // the time predicted after the last queued picture
        int Left;           // pictures still queued afterwards
        double ShownPts;    // video_current_pts afterwards, -1: none was taken
    };
    const TCase cases[] = {
        {"nothing due yet", true, {{1.0, 0.01, false}}, 1.04, 1, -1},
        {"a due picture is shown", true, {{1.0, -0.01, false}}, 1.04, 0, 1.0},
        {"one of two due pictures is shown",
         true,
         {{1.0, -0.01, false}, {1.04, 0.03, false}},
         1.08,
         1,
         1.0},
        {"a due picture with a due successor is dropped",
         true,
         {{1.0, -0.1, false}, {1.04, -0.06, false}},
         1.08,
         0,
         1.04},
        {"without frame dropping it is shown",
         false,
         {{1.0, -0.1, false}, {1.04, -0.06, false}},
         1.08,
         1,
         1.0},
        {"a single late picture is shown", true, {{1.0, -0.3, false}}, 1.04, 0, 1.0},
        {"one more than 0.5 s late is dropped", true, {{1.0, -0.6, false}}, 1.04, 0, 1.0},
        {"pictures from before a seek are never shown",
         true,
         {{5.0, -0.01, true}, {5.04, 0.5, true}},
         1.04,
         0,
         -1},
        {"a stale one goes, the fresh one waits",
         true,
         {{5.0, 0.2, true}, {1.0, 0.2, false}},
         1.04,
         1,
         -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        NewState();
        FPlayer.Setframedrop(c.FrameDrop ? 1 : 0);
        Fill(c.Slots, c.VideoClock);
        FState->video_current_pts = -1;
        RefreshVideo(*FState, true);
        EXPECT_EQ(FState->pictq_size, c.Left);
        EXPECT_EQ(FState->video_current_pts.load(), c.ShownPts);
    }
}

TEST_F(RefreshVideoTest, LatePicturesMakeTheDecoderSkip) {
    FPlayer.Setframedrop(1);
    Fill({{1.0, -0.1, false}, {1.04, -0.06, false}}, 1.08);
    RefreshVideo(*FState, true);
    // Both were late: the first dropped, the second shown.
    EXPECT_FLOAT_EQ(FState->skip_frames.load(), 1.05f * 1.05f);
}

}  // namespace
}  // namespace media
