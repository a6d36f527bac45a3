// The timed behaviours of the skinned buttons: the fade between the normal and the hot picture
// (a factor counted in exact fifths, one step per 20 ms tick), the record's strip of frames
// played forwards on enter and backwards on leave, and the repetition of a held button's click
// (a first wait of 500 ms, then one click per repeat interval); and the transition frame a
// record's morph kind picks.
//
// The three timers are components of the button they serve, made on first use and running only
// while their effect does; they fire on the main thread on the window layer's clock. Stop all
// three before the button's components go (BeforeDestruction).
#pragma once

#include <functional>

#include "platform/gfx/graphics.h"
#include "platform/vcl/classes.h"
#include "platform/vcl/timer.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/fades.h"
#include "skin/core/skin_description.h"

namespace skin {

// Draws at (0, 0) of dc the transition from `normal` to `hot` at factor kf by the morph kind.
void DrawMorphed(gfx::HDC dc, const gfx::TBitmap& normal, const gfx::TBitmap& hot,
                 TbsMorphKind kind, double kf);

// What the timers ask of their button.
struct TbsButtonTimerEvents {
    // The pointer is over the button (the fade runs towards hot, else towards normal).
    std::function<bool()> MouseIn;
    // The button has a record that fades; without one a tick only settles the factor.
    std::function<bool()> MorphActive;
    std::function<void()> Repaint;
    // Milliseconds between repeated clicks, and one click.
    std::function<int()> RepeatInterval;
    std::function<void()> RepeatClick;
};

class TbsButtonTimers {
public:
    static constexpr int kMorphSteps = TbsHoverFade::kSteps;
    static constexpr int kMorphInterval = TbsHoverFade::kInterval;
    static constexpr int kRepeatDelay = 500;

    TbsButtonTimers(vcl::TComponent* owner, TbsButtonTimerEvents events)
        : FOwner(owner), FEvents(std::move(events)) {}

    // --- fade: 0 the normal picture, kMorphSteps the hot one --------------------------------
    int MorphSteps() const { return FFade.Steps(); }
    void SetMorphSteps(int steps) { FFade.SetSteps(steps); }
    double MorphKf() const { return FFade.Kf(); }
    // Between the two pictures.
    bool Fading() const { return FFade.Fading(); }
    // Starts the 20 ms ticks unless they run.
    void StartMorph();
    void StopMorph();

    // --- frame strip --------------------------------------------------------------------------
    // Frame 1 (forwards) or frameCount (backwards) now, then one frame per interval; a running
    // strip starts over.
    void StartAnimation(bool forward, int frameCount, int interval);
    // Frame 0: the plain pictures again.
    void StopAnimation();
    bool Animating() const { return FAnimateTimer && FAnimateTimer->Enabled(); }
    bool AnimationForward() const { return FAnimateInc; }
    // The frame shown (from 1), 0 for none.
    int CurrentFrame() const { return FCurrentFrame; }

    // --- repetition --------------------------------------------------------------------------
    // The first click comes kRepeatDelay + the repeat interval from now.
    void StartRepeat();
    void StopRepeat();

private:
    void MorphTick();
    void AnimationTick();
    void RepeatTick();
    vcl::TTimer* NewTimer(void (TbsButtonTimers::*tick)());

    vcl::TComponent* FOwner;
    TbsButtonTimerEvents FEvents;
    vcl::TTimer* FMorphTimer = nullptr;    // owned by FOwner
    vcl::TTimer* FAnimateTimer = nullptr;  // owned by FOwner
    vcl::TTimer* FRepeatTimer = nullptr;   // owned by FOwner
    TbsHoverFade FFade;
    int FCurrentFrame = 0;
    int FFrameCount = 0;
    bool FAnimateInc = false;
    bool FRepeatArmed = false;  // the first wait is over
};

}  // namespace skin
