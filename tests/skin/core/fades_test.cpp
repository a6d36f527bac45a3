// The shared fades: the hover fade's whole steps, and the window fade-in's steps, gaps and end
// on a clock that moves and on one that stands still.
#include "skin/core/fades.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sys/clock.h"

namespace skin {
namespace {

TEST(HoverFade, FiveStepsEachWayLandExactlyOnTheEnds) {
    TbsHoverFade fade;
    std::vector<double> kf;
    while (fade.Step(true)) kf.push_back(fade.Kf());
    while (fade.Step(false)) kf.push_back(fade.Kf());
    EXPECT_EQ(kf, (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1.0, 0.8, 0.6, 0.4, 0.2, 0.0}));
    EXPECT_FALSE(fade.CanStep(false));
    EXPECT_TRUE(fade.CanStep(true));
}

TEST(HoverFade, AFactorSetFromOutsideTakesTheNearestStep) {
    struct TCase {
        double In;
        int Steps;
        double Kf;
    };
    const TCase cases[] = {{-1, 0, 0.0},  {0.0, 0, 0.0},  {0.09, 0, 0.0}, {0.11, 1, 0.2},
                           {0.6, 3, 0.6}, {0.61, 3, 0.6}, {1.0, 5, 1.0},  {7, 5, 1.0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.In);
        TbsHoverFade fade;
        fade.SetKf(c.In);
        EXPECT_EQ(fade.Steps(), c.Steps);
        EXPECT_EQ(fade.Kf(), c.Kf);
        EXPECT_EQ(fade.Fading(), c.Steps > 0 && c.Steps < TbsHoverFade::kSteps);
    }
}

class TReadClock : public sys::TClock {
public:
    explicit TReadClock(std::int64_t stride) : FStride(stride) {}
    std::int64_t NowMicros() override { return FNow += FStride; }

private:
    std::int64_t FStride;
    std::int64_t FNow = 1'000'000;
};

struct TShown {
    std::vector<int> Alphas;
    std::vector<std::int64_t> Times;
};

TShown Fade(int target, int step, std::int64_t gap, int stopAfter = 0) {
    TShown shown;
    FadeIn(
        target, step,
        [&](int alpha) {
            shown.Alphas.push_back(alpha);
            shown.Times.push_back(sys::Clock().NowMicros());
            return stopAfter == 0 || int(shown.Alphas.size()) < stopAfter;
        },
        gap);
    return shown;
}

TEST(WindowFadeIn, StepsMoreThanTheGapApartUpToTheTarget) {
    TReadClock clock(1000);
    sys::SetClock(&clock);
    const TShown shown = Fade(200, FadeInStep(200), 5000);
    sys::SetClock(nullptr);
    std::vector<int> expected;
    for (int a = 13; a < 200; a += 13) expected.push_back(a);
    expected.push_back(200);
    EXPECT_EQ(shown.Alphas, expected);
    for (std::size_t i = 1; i < shown.Times.size(); ++i)
        EXPECT_GT(shown.Times[i] - shown.Times[i - 1], 5000) << i;
}

TEST(WindowFadeIn, EndsOnAClockThatStandsStillAndStopsWhenAsked) {
    sys::TManualClock still(5'000'000);
    sys::SetClock(&still);
    EXPECT_EQ(Fade(30, 10, 5000).Alphas, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(Fade(30, 10, 5000, 2).Alphas, (std::vector<int>{10, 20}));
    EXPECT_EQ(Fade(5, FadeInStep(5), 5000).Alphas.size(), 5u) << "a step of at least 1";
    EXPECT_TRUE(Fade(0, 1, 5000).Alphas.empty());
    sys::SetClock(nullptr);
}

}  // namespace
}  // namespace skin
