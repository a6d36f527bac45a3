#include "skin/controls/button_timers.h"

#include <algorithm>

namespace skin {

void DrawMorphed(gfx::HDC dc, const gfx::TBitmap& normal, const gfx::TBitmap& hot,
                 TbsMorphKind kind, double kf) {
    TbsEffectBmp from = TbsEffectBmp::CreateFromhWnd(normal.Handle());
    const TbsEffectBmp to = TbsEffectBmp::CreateFromhWnd(hot.Handle());
    MorphByKind(from, to, kind, kf);
    from.Draw(dc, 0, 0);
}

vcl::TTimer* TbsButtonTimers::NewTimer(void (TbsButtonTimers::*tick)()) {
    auto* timer = new vcl::TTimer(FOwner);
    timer->SetEnabled(false);
    timer->SetOnTimer([this, tick](vcl::TObject*) { (this->*tick)(); });
    return timer;
}

// ---- fade ---------------------------------------------------------------------------------------

void TbsButtonTimers::StartMorph() {
    if (!FMorphTimer) {
        FMorphTimer = NewTimer(&TbsButtonTimers::MorphTick);
        FMorphTimer->SetInterval(kMorphInterval);
    }
    FMorphTimer->SetEnabled(true);
}

void TbsButtonTimers::StopMorph() {
    if (FMorphTimer) FMorphTimer->SetEnabled(false);
}

void TbsButtonTimers::MorphTick() {
    const bool hot = FEvents.MouseIn();
    // A record that stops fading (morphing switched off) settles on the pointer's look at once,
    // and is drawn so.
    if (!FEvents.MorphActive() || !FFade.Step(hot)) {
        FFade.Settle(hot);
        StopMorph();
    }
    FEvents.Repaint();
}

// ---- frame strip --------------------------------------------------------------------------------

void TbsButtonTimers::StartAnimation(bool forward, int frameCount, int interval) {
    StopAnimation();
    if (frameCount <= 0) return;
    FFrameCount = frameCount;
    FAnimateInc = forward;
    FCurrentFrame = forward ? 1 : frameCount;
    if (!FAnimateTimer) FAnimateTimer = NewTimer(&TbsButtonTimers::AnimationTick);
    FAnimateTimer->SetInterval(unsigned(std::max(1, interval)));
    FAnimateTimer->SetEnabled(true);
}

void TbsButtonTimers::StopAnimation() {
    if (FAnimateTimer) FAnimateTimer->SetEnabled(false);
    FCurrentFrame = 0;
}

void TbsButtonTimers::AnimationTick() {
    if (FAnimateInc) {
        if (FCurrentFrame <= FFrameCount) {
            ++FCurrentFrame;
            FEvents.Repaint();
        }
        if (FCurrentFrame > FFrameCount) StopAnimation();
    } else {
        if (FCurrentFrame >= 0) {
            --FCurrentFrame;
            FEvents.Repaint();
        }
        if (FCurrentFrame <= 0) StopAnimation();
    }
}

// ---- repetition ---------------------------------------------------------------------------------

void TbsButtonTimers::StartRepeat() {
    if (!FRepeatTimer) FRepeatTimer = NewTimer(&TbsButtonTimers::RepeatTick);
    FRepeatTimer->SetEnabled(false);
    FRepeatArmed = false;
    FRepeatTimer->SetInterval(kRepeatDelay);
    FRepeatTimer->SetEnabled(true);
}

void TbsButtonTimers::StopRepeat() {
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TbsButtonTimers::RepeatTick() {
    // The first wait only arms the repetition.
    if (!FRepeatArmed) {
        FRepeatArmed = true;
        FRepeatTimer->SetInterval(unsigned(std::max(1, FEvents.RepeatInterval())));
        return;
    }
    FEvents.RepeatClick();
}

}  // namespace skin
