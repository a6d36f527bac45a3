#include "platform/vcl/timer.h"

#include <memory>
#include <unordered_map>

#include "platform/vcl/forms.h"
#include "platform/win/win.h"

namespace vcl {

namespace {

constexpr const char* kUtilityClass = "TPUtilWindow";

std::unordered_map<std::uint32_t, std::shared_ptr<TWndMethod>>& Methods() {
    static std::unordered_map<std::uint32_t, std::shared_ptr<TWndMethod>> methods;
    return methods;
}

LRESULT UtilityWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = Methods().find(h.Value());
    if (it == Methods().end()) return win::DefWindowProc(h, msg, wParam, lParam);
    const std::shared_ptr<TWndMethod> method = it->second;  // the window may go while it runs
    TMessage m{msg, wParam, lParam, 0};
    try {
        (*method)(m);
    } catch (...) {
        if (!Application) throw;
        Application->HandleException(nullptr);
    }
    return m.Result;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    win::TWndClass cls;
    cls.Name = kUtilityClass;
    cls.Proc = UtilityWindowProc;
    win::RegisterClass(cls);
    const HWND h = win::CreateWindowEx(win::WS_EX_TOOLWINDOW, kUtilityClass, "", win::WS_POPUP, 0,
                                       0, 0, 0, HWND());
    if (h) Methods()[h.Value()] = std::make_shared<TWndMethod>(std::move(method));
    return h;
}

void DeallocateHWnd(HWND window) {
    Methods().erase(window.Value());
    win::DestroyWindow(window);
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FWindow = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == win::WM_TIMER) {
            Timer();
            return;
        }
        m.Result = win::DefWindowProc(FWindow, m.Msg, m.WParam, m.LParam);
    });
}

void TTimer::BeforeDestruction() {
    FEnabled = false;
    if (FWindow) DeallocateHWnd(FWindow);
    FWindow = HWND();
    TComponent::BeforeDestruction();
}

void TTimer::UpdateTimer() {
    if (!FWindow) return;
    win::KillTimer(FWindow, 1);
    if (FEnabled && FInterval > 0 && FOnTimer) win::SetTimer(FWindow, 1, FInterval);
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    if (value == FInterval) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    FOnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Timer() {
    if (FEnabled && FOnTimer) FOnTimer(this);
}

}  // namespace vcl
