// TCustomForm: frame styles, showing and placing, focus bookkeeping for all its controls, modal
// showing, closing, MDI.
#include <algorithm>

#include "platform/rtl/lists.h"
#include "platform/rtl/scope_exit.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "platform/win/win.h"

namespace vcl {

namespace {

constexpr const char* kMDIClientClass = "MDICLIENT";

void EnsureMDIClientClass() {
    win::TWndClass cls;
    cls.Name = kMDIClientClass;
    cls.Background = gfx::clAppWorkSpace;
    win::RegisterClass(cls);  // false when it exists
}

// The window style bits of a frame.
void FrameStyles(TFormBorderStyle border, TBorderIcons icons, DWORD& style, DWORD& exStyle) {
    using namespace win;
    switch (border) {
        case bsNone:
            break;
        case bsSingle:
            style |= WS_CAPTION;
            break;
        case bsSizeable:
            style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case bsDialog:
            style |= WS_CAPTION;
            exStyle |= WS_EX_DLGMODALFRAME;
            break;
        case bsToolWindow:
            style |= WS_CAPTION;
            exStyle |= WS_EX_TOOLWINDOW;
            break;
        case bsSizeToolWin:
            style |= WS_CAPTION | WS_THICKFRAME;
            exStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (border != bsNone && icons.Contains(biSystemMenu)) {
        style |= WS_SYSMENU;
        if (border == bsSingle || border == bsSizeable) {
            if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
            if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
        }
    }
}

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {
    FVisible = false;
    FParentFont = false;
    SetBounds(0, 0, 320, 240);
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::BeforeDestruction() {
    if (!ComponentState().Contains(csDestroying)) DoDestroy();
    Destroying();
    if (Application) Application->CancelHint();
    if (Screen) Screen->RemoveForm(this);
    if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
    if (TCustomForm* main = MDIParentForm(); main && IsMDIChild()) main->MDIChildGone(this);
    for (TCustomForm* child : std::vector<TCustomForm*>(FMDIChildren)) child->Free();
    TWinControl::BeforeDestruction();
}

void TCustomForm::EndLoading() {
    TWinControl::EndLoading();
    if (IsMDIChild() || (FVisible && !Showing())) ShowingChanged();
    DoCreate();
}

// ---- focus
// ---------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == FActiveControl) return;
    if (control && (control == this || GetParentForm(control) != this ||
                    (!ComponentState().Contains(csLoading) && Visible() && !control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (control && FActive && !ComponentState().Contains(csLoading))
        win::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control->CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (Visible() && HandleAllocated()) win::SetFocus(control->Handle());
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
    if (ComponentState().Contains(csDestroying) || control == FFocusedControl) return;
    TWinControl* old = FFocusedControl;
    FFocusedControl = control;
    if (control != this) FActiveControl = control;
    std::vector<TWinControl*> leaving;
    for (TWinControl* c = old; c && c != this && !c->ContainsControl(control); c = c->Parent())
        leaving.push_back(c);
    for (TWinControl* c : leaving) {
        c->Perform(CM_EXIT);
        if (FFocusedControl != control) return;
    }
    Perform(CM_FOCUSCHANGED, 0, win::PtrToParam(control));
    if (FFocusedControl != control) return;
    std::vector<TWinControl*> entering;
    for (TWinControl* c = control; c && c != this && !(old && c->ContainsControl(old));
         c = c->Parent())
        entering.push_back(c);
    for (auto it = entering.rbegin(); it != entering.rend(); ++it) {
        (*it)->Perform(CM_ENTER);
        if (FFocusedControl != control) return;
    }
    if (Screen) {
        // A form parented into this one becomes the most recent form.
        for (TControl* c = control; c && c != this; c = c->Parent())
            if (auto* inner = dynamic_cast<TCustomForm*>(c)) {
                Screen->FormActivated(inner);
                break;
            }
        if (FActive || IsMDIChild()) Screen->SetActiveControl(control);
    }
    if (IsMDIChild())
        if (TCustomForm* main = MDIParentForm(); main && main->ActiveMDIChild() != this)
            main->MDIActivate(this);
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (!control) return;
    const bool hadFocus = control->HandleAllocated() && win::GetFocus() &&
                          FindControl(win::GetFocus()) &&
                          control->ContainsControl(FindControl(win::GetFocus()));
    TWinControl* replacement =
        control->Parent() && control->Parent() != this ? control->Parent() : nullptr;
    if (FActiveControl && control->ContainsControl(FActiveControl)) FActiveControl = replacement;
    if (FFocusedControl && control->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
    if (Screen && Screen->ActiveControl() && control->ContainsControl(Screen->ActiveControl()))
        Screen->SetActiveControl(nullptr);
    if (removing && hadFocus && HandleAllocated()) win::SetFocus(FHandle);
}

TWinControl* TCustomForm::FocusTarget() const {
    if (FFormStyle == fsMDIForm)
        if (TCustomForm* child = ActiveMDIChild()) return child->FocusTarget();
    if (FActiveControl && FActiveControl->CanFocus()) return FActiveControl;
    return nullptr;
}

// ---- frame and placement
// ---------------------------------------------------------------------------

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (value == FBorderIcons) return;
    FBorderIcons = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == FFormStyle) return;
    const TFormStyle old = FFormStyle;
    if (old == fsMDIChild) {
        if (TCustomForm* main = MDIParentForm()) main->MDIChildGone(this);
        FMDIParent = nullptr;
    }
    FFormStyle = value;
    if (value == fsMDIChild) {
        TCustomForm* main = MDIParentForm();
        if (!main || main->FFormStyle != fsMDIForm) {
            FFormStyle = old;
            throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
        }
        main->FMDIChildren.push_back(this);
        FMDIParent = main;
        FVisible = true;
    }
    if (HandleAllocated()) {
        if ((old == fsStayOnTop) != (value == fsStayOnTop) && old != fsMDIChild &&
            old != fsMDIForm && value != fsMDIChild && value != fsMDIForm)
            win::SetWindowPos(FHandle,
                              value == fsStayOnTop ? win::HWND_TOPMOST : win::HWND_NOTOPMOST, 0, 0,
                              0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
        else
            RecreateWnd();
    }
    if (value == fsMDIChild && !ComponentState().Contains(csLoading)) ShowingChanged();
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (value == FWindowState) return;
    FWindowState = value;
    if (!HandleAllocated() || !Showing()) return;
    win::ShowWindow(FHandle, value == wsMinimized   ? win::SW_MINIMIZE
                             : value == wsMaximized ? win::SW_SHOWMAXIMIZED
                                                    : win::SW_RESTORE);
}

void TCustomForm::SetMenu(TMainMenu* value) {
    FMenu = value;
    if (value) value->FreeNotification(this);
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    DWORD style = 0, exStyle = 0;
    FrameStyles(FBorderStyle, FBorderIcons, style, exStyle);
    if (IsMDIChild()) {
        TCustomForm* main = MDIParentForm();
        if (!main || !main->FClientHandle)
            throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
        p.Style = win::WS_CHILD | win::WS_CLIPSIBLINGS | style;
        p.ExStyle = exStyle;
        p.WndParent = main->FClientHandle;
    } else if (Parent()) {
        p.Style |= style;
        p.ExStyle |= exStyle;
    } else {
        p.Style = style ? style : win::WS_POPUP;
        if (FBorderStyle == bsNone) p.Style = win::WS_POPUP;
        p.ExStyle = exStyle;
        if (FFormStyle == fsStayOnTop) p.ExStyle |= win::WS_EX_TOPMOST;
        // Other forms stay above the main form, whose window owns them.
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        if (main && main != this && main->FFormStyle != fsMDIChild) p.WndParent = main->Handle();
    }
    if (!Enabled()) p.Style |= win::WS_DISABLED;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    // The forms whose windows the old window owned come back, owned by the new one.
    const auto owned = std::move(FOwnedWhileRecreating);
    FOwnedWhileRecreating.clear();
    for (const auto& [form, shown] : owned) {
        form->HandleNeeded();
        if (shown) win::ShowWindow(form->FHandle, win::SW_SHOWNA);
    }
    if (FFormStyle == fsMDIForm) {
        EnsureMDIClientClass();
        const TRect r = ClientRect();
        FClientHandle = win::CreateWindowEx(
            win::WS_EX_CLIENTEDGE, kMDIClientClass, "",
            win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPCHILDREN | win::WS_CLIPSIBLINGS, r.Left,
            r.Top, r.Width(), r.Height(), FHandle);
        Realign();
    }
}

void TCustomForm::DestroyWnd() {
    // An owner's window takes the windows it owns with it; when it is only made again, those
    // forms get theirs back afterwards instead of losing them.
    if (FRecreating && Screen)
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (form == this || !form->HandleAllocated() || form->Parent() ||
                win::GetParent(form->FHandle) != FHandle || form->IsMDIChild())
                continue;
            FOwnedWhileRecreating.emplace_back(form, win::IsWindowVisible(form->FHandle));
        }
    for (const auto& entry : FOwnedWhileRecreating) entry.first->DestroyHandle();
    FClientHandle = HWND();
    TWinControl::DestroyWnd();
}

TRect TCustomForm::ClientRect() const {
    if (HandleAllocated()) return TWinControl::ClientRect();
    DWORD style = Parent() || IsMDIChild() ? win::WS_CHILD : 0, exStyle = 0;
    FrameStyles(FBorderStyle, FBorderIcons, style, exStyle);
    TRect frame{0, 0, 0, 0};
    win::AdjustWindowRectEx(frame, style, false, exStyle);
    return {0, 0, std::max(0, Width() - frame.Width()), std::max(0, Height() - frame.Height())};
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
    TWinControl::AlignControls(AControl, Rect);
    if (FClientHandle)
        win::SetWindowPos(FClientHandle, win::HWND_BOTTOM, Rect.Left, Rect.Top, Rect.Width(),
                          Rect.Height(), win::SWP_NOACTIVATE);
}

void TCustomForm::PlaceOnFirstShow() {
    if (FPlaced) return;
    FPlaced = true;
    if (Parent() || IsMDIChild()) return;
    TRect area;
    switch (FPosition) {
        case poScreenCenter: {
            win::MONITORINFO info;
            if (!win::GetMonitorInfo(
                    win::MonitorFromRect(BoundsRect(), win::MONITOR_DEFAULTTOPRIMARY), info))
                return;
            area = info.rcMonitor;
            break;
        }
        case poDesktopCenter:
            area = gfx::Bounds(win::GetSystemMetrics(win::SM_XVIRTUALSCREEN),
                               win::GetSystemMetrics(win::SM_YVIRTUALSCREEN),
                               win::GetSystemMetrics(win::SM_CXVIRTUALSCREEN),
                               win::GetSystemMetrics(win::SM_CYVIRTUALSCREEN));
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TCustomForm* over =
                FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
            if (!over && Application) over = Application->MainForm();
            if (!over || over == this || !over->Visible()) {
                area = gfx::Bounds(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN),
                                   win::GetSystemMetrics(win::SM_CYSCREEN));
            } else {
                area = over->BoundsRect();
            }
            break;
        }
        default:
            return;
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
              Width(), Height());
}

// ---- showing
// -------------------------------------------------------------------------------------

void TCustomForm::SetVisible(bool value) {
    if (value == FVisible) {
        if (!value || ComponentState().Contains(csLoading) || Showing()) return;
    }
    FVisible = value;
    if (value)
        FFormState += fsVisible;
    else
        FFormState -= fsVisible;
    if (ComponentState().Contains(csLoading)) return;
    ShowingChanged();
}

void TCustomForm::Show() {
    SetVisible(true);
    if (IsMDIChild())
        if (TCustomForm* main = MDIParentForm(); main && main->ActiveMDIChild() != this)
            main->MDIActivate(this);
}

void TCustomForm::ShowingChanged() {
    if (FVisible) {
        FFormState += fsShowing;
        DoShow();
        HandleNeeded();
        PlaceOnFirstShow();
        const int command = FWindowState == wsMaximized   ? win::SW_SHOWMAXIMIZED
                            : FWindowState == wsMinimized ? win::SW_SHOWMINIMIZED
                                                          : win::SW_SHOW;
        win::ShowWindow(FHandle, command);
        FFormState -= fsShowing;
        if (IsMDIChild())
            if (TCustomForm* main = MDIParentForm()) main->MDIActivate(this);
        return;
    }
    DoHide();
    if (HandleAllocated()) win::ShowWindow(FHandle, win::SW_HIDE);
    if (IsMDIChild())
        if (TCustomForm* main = MDIParentForm(); main && main->ActiveMDIChild())
            main->MDIActivate(main->ActiveMDIChild());
}

void TCustomForm::SetModalResult(TModalResult value) {
    FModalResult = value;
    if (value != mrNone && FFormState.Contains(fsModal) && HandleAllocated())
        win::EndModalLoop(FHandle, value);
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FFormState.Contains(fsModal) || IsMDIChild())
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCaptureControl()) SetCaptureControl(nullptr);
    if (Application) Application->CancelHint();
    FFormState += fsModal;
    FModalResult = mrNone;
    bool releasing = false;
    {
        rtl::TScopeExit modal([this] { FFormState -= fsModal; });
        Show();
        const HWND h = Handle();
        for (;;) {
            win::RunModalLoop(h);
            if (!win::IsWindow(h)) break;
            if (FModalResult == mrNone) {
                // The loop ended without an answer: the application is quitting.
                FModalResult = mrCancel;
                break;
            }
            CloseModal();
            if (FModalResult != mrNone) break;
        }
        releasing = FReleasePending;
        FReleasePending = false;
        Hide();
    }
    if (releasing) Release();
    return FModalResult;
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) FModalResult = mrNone;
    if (action == caFree) FReleasePending = true;
}

bool TCustomForm::CloseQuery() {
    if (FFormStyle == fsMDIForm)
        for (TCustomForm* child : std::vector<TCustomForm*>(FMDIChildren))
            if (!child->CloseQuery()) return false;
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (FFormState.Contains(fsModal)) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action =
        IsMDIChild() ? (FBorderIcons.Contains(biMinimize) ? caMinimize : caNone) : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
        case caHide:
            Hide();
            break;
        case caMinimize:
            SetWindowState(wsMinimized);
            break;
        case caFree:
            Release();
            break;
        default:
            break;
    }
}

void TCustomForm::Release() {
    win::PostMessage(Handle(), CM_RELEASE);
}

bool TCustomForm::IsShortCut(TWMKey& Message) {
    bool handled = false;
    if (OnShortCut) OnShortCut(Message, handled);
    if (!handled && FMenu) handled = FMenu->IsShortCut(Message);
    return handled;
}

// ---- MDI
// -----------------------------------------------------------------------------------------

TCustomForm* TCustomForm::MDIParentForm() const {
    if (FMDIParent) return FMDIParent;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    return main && main != this ? main : nullptr;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    if (index < 0 || index >= MDIChildCount()) rtl::RaiseListIndexError(index);
    return FMDIChildren[std::size_t(index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    if (FActiveMDIChild && FActiveMDIChild->Visible()) return FActiveMDIChild;
    for (TCustomForm* child : FMDIChildren)
        if (child->Visible()) return child;
    return nullptr;
}

void TCustomForm::MDIChildGone(TCustomForm* child) {
    FMDIChildren.erase(std::remove(FMDIChildren.begin(), FMDIChildren.end(), child),
                       FMDIChildren.end());
    if (FActiveMDIChild == child) FActiveMDIChild = nullptr;
}

void TCustomForm::MDIActivate(TCustomForm* child) {
    if (!child || std::find(FMDIChildren.begin(), FMDIChildren.end(), child) == FMDIChildren.end())
        return;
    TCustomForm* old = FActiveMDIChild;
    FMDIChildren.erase(std::remove(FMDIChildren.begin(), FMDIChildren.end(), child),
                       FMDIChildren.end());
    FMDIChildren.insert(FMDIChildren.begin(), child);
    FActiveMDIChild = child;
    if (!child->HandleAllocated()) return;
    win::SetWindowPos(child->FHandle, win::HWND_TOP, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
    if (old != child) {
        if (old && old->HandleAllocated()) {
            win::SendMessage(old->FHandle, win::WM_NCACTIVATE, 0, 0);
            old->FActive = false;
            old->Deactivate();
        }
        win::SendMessage(child->FHandle, win::WM_NCACTIVATE, 1, 0);
        child->FActive = true;
        child->Activate();
    }
    if (FActive) {
        TWinControl* target = child->FocusTarget();
        win::SetFocus(target ? target->Handle() : child->FHandle);
    }
}

// ---- messages
// ------------------------------------------------------------------------------------

void TCustomForm::WmActivate(TMessage& m) {
    const bool active = win::LOWORD(m.WParam) != win::WA_INACTIVE;
    if (!active) {
        FActive = false;
        Deactivate();
        DefaultHandler(m);
        return;
    }
    FActive = true;
    FFormState += fsActivated;
    if (Screen) Screen->FormActivated(this);
    if (!FActiveControl && FFormStyle != fsMDIForm)
        FActiveControl = FindNextControl(nullptr, true, true, false);
    if (TWinControl* target = FocusTarget())
        win::SetFocus(target->Handle());
    else
        DefaultHandler(m);
    Activate();
}

void TCustomForm::WndProc(TMessage& m) {
    if (IsMDIChild()) {
        const bool press =
            (m.Msg == win::WM_PARENTNOTIFY && (win::LOWORD(m.WParam) == win::WM_LBUTTONDOWN ||
                                               win::LOWORD(m.WParam) == win::WM_RBUTTONDOWN ||
                                               win::LOWORD(m.WParam) == win::WM_MBUTTONDOWN)) ||
            m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_NCLBUTTONDOWN ||
            m.Msg == win::WM_RBUTTONDOWN;
        if (press)
            if (TCustomForm* main = MDIParentForm(); main && main->ActiveMDIChild() != this)
                main->MDIActivate(this);
    }
    TWinControl::WndProc(m);
}

void TCustomForm::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_ACTIVATE:
            WmActivate(m);
            return;
        case WM_CLOSE:
            Close();
            return;
        case CM_RELEASE:
            if (FFormState.Contains(fsModal)) {
                FReleasePending = true;
                SetModalResult(mrCancel);
                return;
            }
            Free();
            return;
        case WM_SIZE:
            if (m.WParam == SIZE_MINIMIZED)
                FWindowState = wsMinimized;
            else if (m.WParam == SIZE_MAXIMIZED)
                FWindowState = wsMaximized;
            else if (m.WParam == SIZE_RESTORED && HandleAllocated() && !IsIconic(FHandle) &&
                     !IsZoomed(FHandle))
                FWindowState = wsNormal;
            TWinControl::Dispatch(m);
            return;
        case WM_GETMINMAXINFO: {
            auto* info = ParamToPtr<MINMAXINFO>(std::uint64_t(m.LParam));
            TSizeConstraints& c = Constraints();
            if (c.MinWidth() > 0) info->ptMinTrackSize.X = c.MinWidth();
            if (c.MinHeight() > 0) info->ptMinTrackSize.Y = c.MinHeight();
            if (c.MaxWidth() > 0) info->ptMaxTrackSize.X = c.MaxWidth();
            if (c.MaxHeight() > 0) info->ptMaxTrackSize.Y = c.MaxHeight();
            DefaultHandler(m);
            return;
        }
        default:
            TWinControl::Dispatch(m);
    }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMenu) FMenu = nullptr;
    if (AComponent == FWindowMenu) FWindowMenu = nullptr;
}

void TCustomForm::PaintWindow(HDC DC) {
    FCanvas->PaintOn(DC, [this] { Paint(); });
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

}  // namespace vcl
