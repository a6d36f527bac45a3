#include "skin/core/fades.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/clock.h"

namespace skin {

void TbsHoverFade::SetSteps(int steps) {
    FSteps = std::clamp(steps, 0, kSteps);
}

void TbsHoverFade::SetKf(double kf) {
    SetSteps(int(std::lround(std::clamp(kf, 0.0, 1.0) * kSteps)));
}

bool TbsHoverFade::Step(bool hot) {
    if (!CanStep(hot)) return false;
    FSteps += hot ? 1 : -1;
    return true;
}

int FadeInStep(int target) {
    return std::max(target / 15, 1);
}

namespace {

// Returns once the clock is more than gap past `last`, or after six real milliseconds in which
// the clock stood still; then `last` is now.
void WaitPast(std::int64_t& last, std::int64_t gap) {
    sys::TClock& clock = sys::Clock();
    int stalls = 0;
    for (std::int64_t now = clock.NowMicros(); now - last <= gap && stalls < 6;) {
        const std::int64_t next = clock.NowMicros();
        if (next == now) {
            sys::SleepMs(1);
            ++stalls;
        }
        now = next;
    }
    last = clock.NowMicros();
}

}  // namespace

void FadeIn(int target, int step, const std::function<bool(int)>& show, std::int64_t gapMicros) {
    step = std::max(step, 1);
    std::int64_t last = sys::Clock().NowMicros();
    for (int alpha = 0; alpha < target;) {
        WaitPast(last, gapMicros);
        alpha = std::min(alpha + step, target);
        if (!show(alpha)) return;
    }
}

}  // namespace skin
