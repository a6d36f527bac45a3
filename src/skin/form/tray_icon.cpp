#include "skin/form/tray_icon.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "skin/core/skin_messages.h"
#include "skin/menus/skin_menu.h"

namespace skin {
namespace {

constexpr win::UINT kQueryEndSession = 0x0011;
constexpr win::UINT kUserChanged = 0x0054;

// The shell record's fields hold so many characters, counted as code points.
std::string CutTo(const std::string& text, int chars) {
    std::u32string wide = gfx::DecodeUtf8(text);
    if (int(wide.size()) <= chars) return text;
    wide.resize(std::size_t(chars));
    return gfx::EncodeUtf8(wide);
}

vcl::TShiftState AsyncShift() {
    vcl::TShiftState shift;
    if (win::GetAsyncKeyState(win::VK_SHIFT) < 0) shift += vcl::ssShift;
    if (win::GetAsyncKeyState(win::VK_CONTROL) < 0) shift += vcl::ssCtrl;
    if (win::GetAsyncKeyState(win::VK_MENU) < 0) shift += vcl::ssAlt;
    return shift;
}

}  // namespace

TbsTrayIcon::TbsTrayIcon(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    FTaskbarCreated = win::RegisterWindowMessage("TaskbarCreated");
    IconData.Wnd = vcl::AllocateHWnd([this](vcl::TMessage& m) { WndProc(m); });
    IconData.uID = 1;
    IconData.uFlags = win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP;
    IconData.uCallbackMessage = WM_TRAYICONNOTIFY;
    FWindowHandle = win::GetParent(IconData.Wnd);

    AnimateTimer = new vcl::TTimer(this);
    AnimateTimer->SetEnabled(false);
    AnimateTimer->SetInterval(FAnimateTimerInterval);
    AnimateTimer->SetOnTimer([this](vcl::TObject*) { AnimateTimerProc(); });
    ClickTimer = new vcl::TTimer(this);
    ClickTimer->SetEnabled(false);
    ClickTimer->SetInterval(win::GetDoubleClickTime());
    ClickTimer->SetOnTimer([this](vcl::TObject*) { ClickTimerProc(); });

    if (Designing()) return;
    // The application has no icon of its own: the system's application icon stands for it.
    if (!FIcon.HandleAllocated() && LoadDefaultIcon())
        FIcon.SetHandle(gfx::LoadIcon(0, gfx::IDI_APPLICATION));
    if (vcl::Application) {
        FAppWnd = vcl::Application->Handle();
        FAppLink = win::SubclassWindow(
            FAppWnd, [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                            const win::TNextProc& next) { return AppProc(h, m, w, l, next); });
    }
    EnsureOwnerLink();
}

void TbsTrayIcon::BeforeDestruction() {
    SetIconVisible(false);
    SetDesignPreview(false);
    if (IconData.Wnd) vcl::DeallocateHWnd(IconData.Wnd);
    IconData.Wnd = win::HWND();
    if (FAppLink) win::RemoveSubclass(FAppWnd, FAppLink);
    if (FOwnerLink) win::RemoveSubclass(FOwnerWnd, FOwnerLink);
    FAppLink = FOwnerLink = 0;
    vcl::TComponent::BeforeDestruction();
}

bool TbsTrayIcon::Designing() const {
    return ComponentState().Contains(vcl::csDesigning);
}

vcl::TWinControl* TbsTrayIcon::OwnerControl() const {
    return dynamic_cast<vcl::TWinControl*>(Owner());
}

void TbsTrayIcon::EnsureOwnerLink() {
    vcl::TWinControl* owner = OwnerControl();
    if (Designing() || !owner || !owner->HandleAllocated()) return;
    const win::HWND wnd = owner->Handle();
    if (FOwnerLink && wnd == FOwnerWnd && win::IsWindow(FOwnerWnd)) return;
    if (FOwnerLink) win::RemoveSubclass(FOwnerWnd, FOwnerLink);
    FOwnerWnd = wnd;
    FOwnerLink = win::SubclassWindow(
        wnd, [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                    const win::TNextProc& next) { return OwnerProc(h, m, w, l, next); });
}

void TbsTrayIcon::Loaded() {
    vcl::TComponent::Loaded();
    EnsureOwnerLink();
    if (OwnerControl() && MinimizedOnStart && !Designing()) {
        FIconVisible = true;
        FMinimizeToTray = true;
        if (vcl::Application) {
            vcl::Application->ShowMainForm = false;
            win::ShowWindow(vcl::Application->Handle(), win::SW_HIDE);
        }
    }
    ModifyTrayIcon();
    SetIconVisible(FIconVisible);
}

void TbsTrayIcon::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == static_cast<vcl::TComponent*>(FPopupMenu)) FPopupMenu = nullptr;
    if (AComponent == FIconList) FIconList = nullptr;
}

// ---- the shell record

bool TbsTrayIcon::RefreshIconData() {
    if (Designing() && !SettingPreview && !FDesignPreview) return false;
    IconData.hIcon = FIcon.HandleAllocated()
                         ? gfx::IconImage(FIcon.Handle(), gfx::kSmallIconSize, gfx::kSmallIconSize)
                         : gfx::TImage();
    IconData.szTip =
        !FHint.empty() && FShowHint ? CutTo(FHint, win::NOTIFYICONDATA::kTipChars) : std::string();
    return true;
}

bool TbsTrayIcon::Notify(win::DWORD message) {
    if (!RefreshIconData()) return false;
    return win::Shell_NotifyIcon(message, IconData);
}

bool TbsTrayIcon::AddTrayIcon() {
    if (Designing() && !SettingPreview) return false;
    const bool ok = Notify(win::NIM_ADD);
    if (!SettingPreview) FIconVisible = true;
    return ok;
}

bool TbsTrayIcon::DeleteTrayIcon() {
    if (Designing() && !SettingPreview) return false;
    const bool ok = Notify(win::NIM_DELETE);
    if (!SettingPreview) FIconVisible = false;
    return ok;
}

bool TbsTrayIcon::ModifyTrayIcon() {
    return Notify(win::NIM_MODIFY);
}

bool TbsTrayIcon::HideBalloonHint() {
    IconData.uFlags |= win::NIF_INFO;
    IconData.szInfo.clear();
    return ModifyTrayIcon();
}

bool TbsTrayIcon::ShowBalloonHint(const std::string& Title, const std::string& Text,
                                  TbsBalloonHintIcon IconType) {
    HideBalloonHint();
    IconData.uFlags |= win::NIF_INFO;
    IconData.szInfo = CutTo(Text, win::NOTIFYICONDATA::kInfoChars);
    IconData.szInfoTitle = CutTo(Title, win::NOTIFYICONDATA::kInfoTitleChars);
    IconData.dwInfoFlags = win::DWORD(IconType);
    const bool ok = ModifyTrayIcon();
    IconData.uFlags = win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP;
    return ok;
}

// ---- properties

void TbsTrayIcon::SetIcon(const gfx::TIcon& value) {
    FIcon.Assign(value);
    ModifyTrayIcon();
}

void TbsTrayIcon::SetIconVisible(bool value) {
    if (value)
        AddTrayIcon();
    else
        DeleteTrayIcon();
}

void TbsTrayIcon::SetHint(const std::string& value) {
    FHint = value;
    ModifyTrayIcon();
}

void TbsTrayIcon::SetShowHint(bool value) {
    FShowHint = value;
    ModifyTrayIcon();
}

void TbsTrayIcon::SetPopupMenu(TbsSkinPopupMenu* value) {
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = value;
    if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TbsTrayIcon::SetDesignPreview(bool value) {
    FDesignPreview = value;
    SettingPreview = true;
    SetIconVisible(value);
    SettingPreview = false;
}

void TbsTrayIcon::SetCycleIcons(bool value) {
    FCycleIcons = value;
    if (value) SetIconIndex(0);
    AnimateTimer->SetEnabled(value);
}

void TbsTrayIcon::SetAnimateTimerInterval(unsigned value) {
    FAnimateTimerInterval = value;
    AnimateTimer->SetInterval(value);
}

void TbsTrayIcon::SetIconList(vcl::TCustomImageList* value) {
    if (FIconList) FIconList->RemoveFreeNotification(this);
    FIconList = value;
    if (FIconList) FIconList->FreeNotification(this);
    SetIconIndex(0);
}

void TbsTrayIcon::SetIconIndex(int value) {
    // An empty list is no list: loading icon -1 from it would fail.
    if (FIconList && FIconList->Count() > 0) {
        FIconIndex = std::clamp(value, 0, FIconList->Count() - 1);
        FIconList->GetIcon(FIconIndex, FIcon);
    } else {
        FIconIndex = 0;
    }
    ModifyTrayIcon();
}

bool TbsTrayIcon::BitmapToIcon(const gfx::TBitmap& Bitmap, gfx::TIcon& Icon,
                               gfx::TColor MaskColor) {
    vcl::TImageList list(nullptr);
    list.SetWidth(gfx::kSmallIconSize);
    list.SetHeight(gfx::kSmallIconSize);
    list.AddMasked(Bitmap, MaskColor);
    list.GetIcon(0, Icon);
    return true;
}

// ---- events

void TbsTrayIcon::Click() {
    if (OnClick) OnClick(this);
}

void TbsTrayIcon::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TbsTrayIcon::DoCycle() {
    if (!OnCycle) return;
    int next = 0;
    if (FIconList && FIconIndex < FIconList->Count() - 1) next = FIconIndex + 1;
    OnCycle(this, next);
}

void TbsTrayIcon::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TbsTrayIcon::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TbsTrayIcon::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TbsTrayIcon::DoMinimizeToTray() {
    HideMainForm();
    SetIconVisible(true);
}

// ---- the utility window

void TbsTrayIcon::WndProc(vcl::TMessage& Message) {
    switch (Message.Msg) {
        case WM_TRAYICONNOTIFY:
            if (FEnabled) TrayMouse(win::UINT(Message.LParam));
            return;
        case win::WM_DESTROY:
        case win::WM_CLOSE:
        case kQueryEndSession:
        case win::WM_QUIT:
        case kUserChanged:
        case win::WM_NCDESTROY:
            Message.Result = 1;
            return;
        default:
            Message.Result =
                win::DefWindowProc(IconData.Wnd, Message.Msg, Message.WParam, Message.LParam);
    }
}

void TbsTrayIcon::TrayMouse(win::UINT mouseMessage) {
    win::TPoint p;
    win::GetCursorPos(p);
    const vcl::TShiftState shift = AsyncShift();
    switch (mouseMessage) {
        case win::WM_MOUSEMOVE:
            MouseMove(shift, p.X, p.Y);
            break;
        case win::WM_LBUTTONDOWN:
            ClickTimer->SetEnabled(false);
            ClickTimer->SetEnabled(true);
            MouseDown(vcl::mbLeft, shift + vcl::ssLeft, p.X, p.Y);
            FClickStart = true;
            if (PopupByLeftButton) PopupAtCursor();
            break;
        case win::WM_LBUTTONUP:
            if (FClickStart) {
                FClickReady = true;
                if (!ClickTimer->Enabled()) {
                    FClickStart = FClickReady = false;
                    Click();
                }
            }
            FClickStart = false;
            MouseUp(vcl::mbLeft, shift + vcl::ssLeft, p.X, p.Y);
            break;
        case win::WM_LBUTTONDBLCLK:
            FClickReady = false;
            IsDblClick = true;
            DblClick();
            if (FPopupMenu && FPopupMenu->AutoPopup() && !PopupByLeftButton) {
                vcl::TMenuItem* items = FPopupMenu->Items();
                for (int i = 0; i < items->Count(); ++i)
                    if (items->Items(i)->Default()) {
                        items->Items(i)->Click();
                        break;
                    }
            }
            break;
        case win::WM_RBUTTONDOWN:
            MouseDown(vcl::mbRight, shift + vcl::ssRight, p.X, p.Y);
            PopupAtCursor();
            break;
        case win::WM_RBUTTONUP:
            MouseUp(vcl::mbRight, shift + vcl::ssRight, p.X, p.Y);
            break;
        case win::WM_MBUTTONDOWN:
            MouseDown(vcl::mbMiddle, shift + vcl::ssMiddle, p.X, p.Y);
            break;
        case win::WM_MBUTTONUP:
            MouseUp(vcl::mbMiddle, shift + vcl::ssMiddle, p.X, p.Y);
            break;
        case win::NIN_BALLOONUSERCLICK:
            if (OnBalloonHintClick) OnBalloonHintClick(this);
            break;
        default:
            break;
    }
}

void TbsTrayIcon::PopupAtCursor() {
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
    win::TPoint p;
    if (!win::GetCursorPos(p)) return;
    if (vcl::Application) vcl::Application->ProcessMessages();
    // The application may have freed the menu meanwhile.
    if (!FPopupMenu) return;
    win::SetForegroundWindow(IconData.Wnd);
    vcl::TWinControl* owner = OwnerControl();
    if (owner && owner->HandleAllocated()) win::SetForegroundWindow(owner->Handle());
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(p.X, p.Y);
    if (owner && owner->HandleAllocated()) win::PostMessage(owner->Handle(), win::WM_NULL);
}

void TbsTrayIcon::ClickTimerProc() {
    ClickTimer->SetEnabled(false);
    if (!IsDblClick && FClickReady) {
        FClickReady = false;
        Click();
    }
    IsDblClick = false;
}

void TbsTrayIcon::AnimateTimerProc() {
    if (!FCycleIcons || !FIconList || FIconList->Count() == 0) return;
    FIconList->GetIcon(FIconIndex, FIcon);
    DoCycle();
    ModifyTrayIcon();
    SetIconIndex(FIconIndex < FIconList->Count() - 1 ? FIconIndex + 1 : 0);
}

// ---- the main form

void TbsTrayIcon::ShowMainForm() {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    win::ShowWindow(vcl::Application->Handle(), win::SW_RESTORE);
    main->SetVisible(true);
    if (main->WindowState() == vcl::wsMinimized) main->SetWindowState(vcl::wsNormal);
    main->SetTag(-10000);
    if (main->HandleAllocated()) win::PostMessage(main->Handle(), WM_TRAYRESTORED);
}

void TbsTrayIcon::HideMainForm() {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!OwnerControl() || !main) return;
    main->SetVisible(false);
    win::ShowWindow(vcl::Application->Handle(), win::SW_HIDE);
    main->SetTag(-10000);
}

win::LRESULT TbsTrayIcon::AppProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                                  const win::TNextProc& next) {
    EnsureOwnerLink();
    if (m == win::WM_SIZE && w == win::SIZE_MINIMIZED && FMinimizeToTray) DoMinimizeToTray();
    if (m == win::WM_WINDOWPOSCHANGED && SettingMDIForm && vcl::Application &&
        vcl::Application->MainForm()) {
        if (vcl::Application->MainForm()->FormStyle() == vcl::fsMDIForm && MinimizedOnStart)
            win::ShowWindow(h, win::SW_HIDE);
        SettingMDIForm = false;
    }
    if (m == FTaskbarCreated && FIconVisible) AddTrayIcon();
    return next(h, m, w, l);
}

win::LRESULT TbsTrayIcon::OwnerProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                                    const win::TNextProc& next) {
    if (m == win::WM_ACTIVATE && (w & 0xFFFF) != win::WA_INACTIVE && vcl::Screen)
        if (vcl::TWinControl* active = vcl::Screen->ActiveControl()) {
            vcl::TWinControl* parent = active->Parent();
            const win::HWND keep = parent ? parent->Handle() : active->Handle();
            if (win::ParamToHwnd(std::uint64_t(l)) != keep && active->CanFocus())
                active->SetFocus();
        }
    if (m == win::WM_SHOWWINDOW && w == 1 && l == 0 && vcl::Application) {
        win::ShowWindow(vcl::Application->Handle(), win::SW_RESTORE);
        win::SetForegroundWindow(vcl::Application->Handle());
        win::SetForegroundWindow(h);
    }
    return next(h, m, w, l);
}

}  // namespace skin
