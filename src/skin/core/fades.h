// The two fades every skinned part shares. The hover fade: a factor between a part's normal (0)
// and hot look (1) moved in five equal steps, one per tick of its owner's timer; it is counted in
// whole steps, so that five steps always land on either end (a factor added up in fifths misses 0
// by a rounding error and takes a sixth). The window fade-in: a layered window's alpha raised
// from 0 to its target in steps on the program's clock, blocking; a clock that stands still (a
// test's) gets a few real milliseconds a step instead, so the fade always ends. Values and free
// functions; main thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace skin {

class TbsHoverFade {
public:
    static constexpr int kSteps = 5;
    // Milliseconds between the steps of a control's fade.
    static constexpr int kInterval = 20;

    // 0 the normal look, kSteps the hot one.
    int Steps() const { return FSteps; }
    void SetSteps(int steps);
    double Kf() const { return FSteps / double(kSteps); }
    // Taken to the nearest step.
    void SetKf(double kf);
    // Between the two looks.
    bool Fading() const { return FSteps > 0 && FSteps < kSteps; }
    // Short of the end the pointer asks for.
    bool CanStep(bool hot) const { return hot ? FSteps < kSteps : FSteps > 0; }
    // One step towards the hot or the normal look; false when already there.
    bool Step(bool hot);
    // At the end the pointer asks for, at once.
    void Settle(bool hot) { FSteps = hot ? kSteps : 0; }

private:
    int FSteps = 0;
};

// One tick of an owner's fade timer over its parts (smart pointers to objects with
// EnableMorphing, CanMorphing and DoMorphing): steps each part whose fade is on and short of its
// end; false when there was none, and the timer may stop. A step may run an event that rebuilds
// the list, so the list is walked by index.
template <class TParts>
bool StepHoverFades(TParts& parts) {
    bool any = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        auto* part = parts[i].get();
        if (part->EnableMorphing() && part->CanMorphing()) {
            part->DoMorphing();
            any = true;
        }
    }
    return any;
}

// The step of a window fade-in to `target`: fifteen steps.
int FadeInStep(int target);

// Raises an alpha from 0 (already shown) by `step` to `target`, calling show(alpha) for each
// step, each more than gapMicros after the one before on the program's clock. show returns false
// to stop the fade early (its window went away).
void FadeIn(int target, int step, const std::function<bool(int alpha)>& show,
            std::int64_t gapMicros = 5000);

}  // namespace skin
