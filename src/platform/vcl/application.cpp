// TApplication (loop, key and hint handling, exceptions), TScreen and THintWindow.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "platform/gfx/text.h"
#include "platform/rtl/lists.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/message_box.h"

namespace vcl {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;
THintWindowClass HintWindowClass = HintWindowClassOf<THintWindow>();

namespace {

constexpr const char* kApplicationClass = "TApplication";
constexpr std::uintptr_t kShowHintTimer = 1;
constexpr std::uintptr_t kHideHintTimer = 2;

std::string ProgramName() {
    std::error_code ignored;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ignored);
    return ignored ? std::string("Moradex") : exe.stem().string();
}

// How far the current cursor reaches below its hot spot, so a hint goes under the pointer.
int CursorHeightMargin() {
    win::ICONINFO info;
    if (!win::GetIconInfo(win::GetCursor(), info) || !info.hbmMask)
        return win::GetSystemMetrics(win::SM_CYCAPTION);
    const gfx::TSurface& mask = *info.hbmMask;
    const int size = mask.Width();
    int last = -1;
    for (int y = 0; y < std::min(size, mask.Height()); ++y)
        for (int x = 0; x < size; ++x)
            if ((mask.Pixels()[std::size_t(y) * size + x] & 0xFFFFFFu) != 0xFFFFFFu) last = y;
    return last + 1 - info.yHotspot;
}

}  // namespace

LRESULT ApplicationWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Application && Application->Handle() == h) {
        try {
            return Application->WndProc(msg, wParam, lParam);
        } catch (...) {
            Application->HandleException(Application);
            return 0;
        }
    }
    return win::DefWindowProc(h, msg, wParam, lParam);
}

// ---- TApplication
// -----------------------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), Title(ProgramName()) {
    win::TWndClass cls;
    cls.Name = kApplicationClass;
    cls.Proc = ApplicationWindowProc;
    win::RegisterClass(cls);
    FHandle = win::CreateWindowEx(0, kApplicationClass, Title, win::WS_POPUP, 0, 0, 0, 0, HWND());
    FFilter = win::AddMessageFilter([this](win::MSG& msg) { return Filter(msg); });
    SetShowHint(true);
}

TApplication::~TApplication() = default;

void TApplication::BeforeDestruction() {
    Destroying();
    CancelHint();
    win::RemoveMessageFilter(FFilter);
    FFilter = 0;
    FreeAndNil(FHintWindow);
    TComponent::BeforeDestruction();
    if (FHandle) win::DestroyWindow(FHandle);
    FHandle = HWND();
}

void TApplication::FormCreated(TCustomForm* form) {
    if (!FMainForm) FMainForm = form;
}

void TApplication::Run() {
    if (FMainForm && ShowMainForm) FMainForm->Show();
    while (!FTerminated) HandleMessage();
}

void TApplication::HandleMessage() {
    try {
        win::MSG msg;
        if (win::PeekMessage(msg, win::PM_REMOVE)) {
            if (msg.message == win::WM_QUIT) {
                FTerminated = true;
                return;
            }
            win::HandleMessage(msg);
            return;
        }
        win::WaitMessage();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::ProcessMessages() {
    for (;;) {
        try {
            win::MSG msg;
            if (!win::PeekMessage(msg, win::PM_REMOVE)) return;
            if (msg.message == win::WM_QUIT) {
                FTerminated = true;
                return;
            }
            win::HandleMessage(msg);
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate() {
    win::PostQuitMessage(0);
}

void TApplication::Minimize() {
    // Through the application window, so whoever subclassed it sees the application go down.
    win::SendMessage(FHandle, win::WM_SIZE, win::SIZE_MINIMIZED, 0);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (FMainForm && FMainForm->HandleAllocated())
        win::ShowWindow(FMainForm->Handle(), win::SW_RESTORE);
    if (OnRestore) OnRestore(this);
}

bool TApplication::Filter(win::MSG& msg) {
    try {
        if (OnMessage) {
            bool handled = false;
            OnMessage(msg, handled);
            if (handled) return true;
        }
        IsHintMsg(msg);
        return IsKeyMsg(msg);
    } catch (...) {
        HandleException(this);
        return true;
    }
}

bool TApplication::IsKeyMsg(win::MSG& msg) {
    using namespace win;
    const UINT m = msg.message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) return false;
    TWinControl* control = nullptr;
    for (HWND h = msg.hwnd; h && !control;) {
        control = FindControl(h);
        if (control) break;
        if (!(DWORD(GetWindowLongPtr(h, GWL_STYLE)) & WS_CHILD)) break;
        h = GetParent(h);
    }
    if (!control) return false;
    TMessage k{CN_BASE + m, msg.wParam, msg.lParam, 0};
    control->WindowProc ? control->WindowProc(k) : control->WndProc(k);
    msg.wParam = k.WParam;  // a preview may change the key
    return k.Result != 0;
}

void TApplication::IsHintMsg(const win::MSG& msg) {
    using namespace win;
    if (!FHintActive && !FHintControl) return;
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_MOUSEWHEEL:
            CancelHint();
            break;
        default:
            break;
    }
}

// ---- mouse tracking and hints
// -----------------------------------------------------------------------

void TApplication::HoverWindow(TWinControl* control, bool entered) {
    if (entered)
        FHoverWindow = control;
    else if (FHoverWindow == control)
        FHoverWindow = nullptr;
    UpdateMouseControl();
}

void TApplication::UpdateMouseControl() {
    TControl* target = nullptr;
    if (FHoverWindow) {
        TPoint p;
        win::GetCursorPos(p);
        // Over the window's non-client area (a bar's scroll arrows) no child is under the
        // pointer, even one that runs on beyond the client area.
        const TPoint client = FHoverWindow->ScreenToClient(p);
        if (FHoverWindow->ClientRect().Contains(client.X, client.Y))
            target = FHoverWindow->ControlAtPos(client, false);
        if (!target) target = FHoverWindow;
    }
    if (target == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = target;
    if (old) old->Perform(CM_MOUSELEAVE, 0, win::PtrToParam(old));
    if (target && FMouseControl == target)
        target->Perform(CM_MOUSEENTER, 0, win::PtrToParam(target));
}

void TApplication::MouseMessage(TControl* control, const TMessage& m) {
    if (!control) {
        UpdateMouseControl();
        return;
    }
    if (m.Msg != win::WM_MOUSEMOVE || !FShowHint) return;
    TControl* hint = control;
    while (hint && !hint->ShowHint()) hint = hint->Parent();
    if (hint != FHintControl) HintRestart(hint);
}

void TApplication::HintRestart(TControl* control) {
    const bool wasShowing = FHintActive;
    win::KillTimer(FHandle, kShowHintTimer);
    win::KillTimer(FHandle, kHideHintTimer);
    if (FHintActive && FHintWindow) FHintWindow->ReleaseHandle();
    FHintActive = false;
    FHintControl = control;
    if (!control) return;
    const int pause = wasShowing || FHintRecently ? HintShortPause : HintPause;
    win::SetTimer(FHandle, kShowHintTimer, UINT(std::max(pause, 0)));
}

LRESULT TApplication::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case win::WM_TIMER:
            HintTimerExpired(int(wParam));
            return 0;
        case win::WM_SIZE:
            // A main form hidden before (into the notification area) stays hidden.
            if (wParam == win::SIZE_MINIMIZED && FMainForm && FMainForm->HandleAllocated() &&
                win::IsWindowVisible(FMainForm->Handle()))
                win::ShowWindow(FMainForm->Handle(), win::SW_MINIMIZE);
            return 0;
        case win::WM_WINDOWPOSCHANGING:
            // The application window itself is never seen; showing it restores the application.
            if (auto* pos = win::ParamToPtr<win::WINDOWPOS>(lParam))
                pos->flags &= ~UINT(win::SWP_SHOWWINDOW);
            return 0;
        case win::WM_SHOWWINDOW:
            if (wParam && FMainForm && FMainForm->HandleAllocated() &&
                win::IsIconic(FMainForm->Handle()))
                win::ShowWindow(FMainForm->Handle(), win::SW_RESTORE);
            return 0;
        default:
            break;
    }
    return win::DefWindowProc(FHandle, msg, wParam, lParam);
}

void TApplication::HintTimerExpired(int which) {
    if (which == int(kShowHintTimer)) {
        win::KillTimer(FHandle, kShowHintTimer);
        TPoint p;
        win::GetCursorPos(p);
        ActivateHint(p);
        return;
    }
    if (which == int(kHideHintTimer)) {
        win::KillTimer(FHandle, kHideHintTimer);
        if (FHintWindow && FHintActive) FHintWindow->ReleaseHandle();
        FHintActive = false;
        FHintRecently = false;
    }
}

void TApplication::ActivateHint(TPoint CursorPos) {
    win::KillTimer(FHandle, kShowHintTimer);
    TControl* control = FHintControl;
    if (!FShowHint || !control) return;
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = HintWindowClass;
    info.HintPos = {CursorPos.X, CursorPos.Y + CursorHeightMargin()};
    info.HintMaxWidth = Screen ? Screen->Width() : 1024;
    info.HintColor = gfx::clInfoBk;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(CursorPos);
    info.HideTimeout = HintHidePause;
    info.HintStr = control->Hint();
    bool canShow = control->Perform(CM_HINTSHOW, 0, win::PtrToParam(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty() || FHintControl != control) return;
    if (!FHintWindow) FHintWindow = HintWindowClass(this);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    r = r.Offset(info.HintPos.X, info.HintPos.Y);
    FHintWindow->SetColor(info.HintColor);
    FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
    FHintActive = true;
    FHintRecently = true;
    if (info.HideTimeout > 0) win::SetTimer(FHandle, kHideHintTimer, UINT(info.HideTimeout));
}

void TApplication::CancelHint() {
    if (FHandle) {
        win::KillTimer(FHandle, kShowHintTimer);
        win::KillTimer(FHandle, kHideHintTimer);
    }
    if (FHintWindow && FHintActive) FHintWindow->ReleaseHandle();
    FHintActive = false;
    FHintRecently = false;
    FHintControl = nullptr;
}

void TApplication::SetShowHint(bool value) {
    if (value == FShowHint) return;
    FShowHint = value;
    CancelHint();
    FreeAndNil(FHintWindow);
    if (value) FHintWindow = HintWindowClass(this);
}

void TApplication::ControlGone(TControl* control) {
    if (FMouseControl == control) FMouseControl = nullptr;
    if (FHoverWindow == control) FHoverWindow = nullptr;
    if (FHintControl == control) CancelHint();
}

// ---- errors
// ----------------------------------------------------------------------------------------------

void TApplication::HandleException(TObject*) {
    const std::exception_ptr error = std::current_exception();
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("An unknown error occurred");
    }
}

void TApplication::ShowException(const std::string& message) {
    MessageBox(message, Title, win::MB_OK | win::MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
    HWND owner = win::GetActiveWindow();
    if (!owner && FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
    return ShowMessageBox(owner, Text, Caption, Flags);
}

// ---- TScreen
// ---------------------------------------------------------------------------------------------

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) rtl::RaiseListIndexError(index);
    return FForms[std::size_t(index)];
}

int TScreen::Width() const {
    return win::GetSystemMetrics(win::SM_CXSCREEN);
}

int TScreen::Height() const {
    return win::GetSystemMetrics(win::SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    TRect r;
    win::SystemParametersInfo(win::SPI_GETWORKAREA, &r);
    return r;
}

TRect TScreen::DesktopRect() const {
    return gfx::Bounds(win::GetSystemMetrics(win::SM_XVIRTUALSCREEN),
                       win::GetSystemMetrics(win::SM_YVIRTUALSCREEN),
                       win::GetSystemMetrics(win::SM_CXVIRTUALSCREEN),
                       win::GetSystemMetrics(win::SM_CYVIRTUALSCREEN));
}

void TScreen::SetCursor(TCursor value) {
    FCursor = value;
    win::SetCursor(value == crDefault ? win::IDC_ARROW : CursorToHandle(value));
}

void TScreen::AddForm(TCustomForm* form) {
    FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
    if (FActiveForm == form) FActiveForm = nullptr;
    if (FActiveControl && GetParentForm(FActiveControl) == form) FActiveControl = nullptr;
}

void TScreen::FormActivated(TCustomForm* form) {
    auto it = std::find(FForms.begin(), FForms.end(), form);
    if (it == FForms.end()) return;
    FForms.erase(it);
    FForms.insert(FForms.begin(), form);
    if (!form->Parent() && FActiveForm != form) {
        FActiveForm = form;
        if (OnActiveFormChange) OnActiveFormChange(this);
    }
}

void TScreen::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    FActiveControl = control;
    if (OnActiveControlChange) OnActiveControlChange(this);
}

// ---- THintWindow
// -----------------------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetColor(gfx::clInfoBk);
    Font().SetColor(gfx::clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = win::WS_POPUP | win::WS_BORDER;
    p.ExStyle = win::WS_EX_TOOLWINDOW | win::WS_EX_TOPMOST;
    p.WindowClass.style |= win::CS_SAVEBITS;
    if (win::GetBackendCaps().Shadows) p.WindowClass.style |= win::CS_DROPSHADOW;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*) {
    gfx::TDC scratch;
    gfx::SelectObject(&scratch, Font().Handle());
    TRect r{0, 0, MaxWidth, 0};
    gfx::DrawText(&scratch, AHint, r,
                  gfx::DT_CALCRECT | gfx::DT_LEFT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
    // Room for the border and a little air around the text.
    return {0, 0, r.Right + 6, r.Bottom + 4};
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
    SetCaption(AHint);
    // Keep the whole hint on the monitor it starts on.
    win::MONITORINFO info;
    if (win::GetMonitorInfo(
            win::MonitorFromPoint({Rect.Left, Rect.Top}, win::MONITOR_DEFAULTTONEAREST), info)) {
        const TRect work = info.rcWork;
        if (Rect.Right > work.Right) Rect = Rect.Offset(work.Right - Rect.Right, 0);
        if (Rect.Bottom > work.Bottom) Rect = Rect.Offset(0, work.Bottom - Rect.Bottom);
        if (Rect.Left < work.Left) Rect = Rect.Offset(work.Left - Rect.Left, 0);
        if (Rect.Top < work.Top) Rect = Rect.Offset(0, work.Top - Rect.Top);
    }
    SetBoundsRect(Rect);
    win::SetWindowPos(Handle(), win::HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                      win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE);
    SetVisible(true);
    Invalidate();
    Update();
}

void THintWindow::ActivateHintData(TRect Rect, const std::string& AHint, void*) {
    ActivateHint(Rect, AHint);
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
    DestroyHandle();
}

void THintWindow::Paint() {
    gfx::TCanvas& c = Canvas();
    TRect r = ClientRect();
    c.Brush().SetColor(Color());
    c.FillRect(r);
    c.Font().Assign(Font());
    c.Brush().SetStyle(gfx::bsClear);
    r = {r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1};
    c.DrawText(Caption(), r, gfx::DT_LEFT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
}

void THintWindow::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case win::WM_NCHITTEST:
            m.Result = win::HTTRANSPARENT;
            return;
        case win::WM_MOUSEACTIVATE:
            m.Result = win::MA_NOACTIVATE;
            return;
        default:
            TCustomControl::Dispatch(m);
    }
}

// ---- set-up
// ----------------------------------------------------------------------------------------------

void InitializeApplication() {
    if (!Screen) Screen = new TScreen(nullptr);
    if (!Application) Application = new TApplication(nullptr);
}

void FinalizeApplication() {
    // The globals stay valid while the forms go: their destruction still talks to them.
    if (Application) Application->Free();
    Application = nullptr;
    if (Screen) Screen->Free();
    Screen = nullptr;
}

}  // namespace vcl
