// TTimer, a component that raises OnTimer every Interval milliseconds of the window layer's
// clock, and AllocateHWnd, a hidden window whose messages go to a method (what TTimer and other
// non-visual components receive their messages through). Main thread only.
#pragma once

#include "platform/vcl/classes.h"
#include "platform/vcl/messages.h"

namespace vcl {

// A hidden top-level window whose messages go to `method`; free it with DeallocateHWnd.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND window);

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    void BeforeDestruction() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    // 0 stops the timer.
    void SetInterval(unsigned value);
    // The timer runs only while OnTimer is assigned; call SetOnTimer to have it start.
    void SetOnTimer(TNotifyEvent handler);
    const TNotifyEvent& OnTimer() const { return FOnTimer; }

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    HWND FWindow;
    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
};

}  // namespace vcl
