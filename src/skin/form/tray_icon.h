// The notification-area icon: TbsTrayIcon puts one icon into the area through the window layer's
// tray host (platform/win/tray_host.h) and turns what the host reports into component events:
// click and double click with the double-click time, mouse down, up and move, balloon clicks.
// It opens a skinned popup menu at the cursor, runs the default item on a double click, cycles
// the icon through an image list, shows balloon hints, adds the icon again when the area comes
// back, and can hide the main form into the area when the application is minimized.
//
// Host events reach its hidden utility window as message 0x800; it subclasses the application
// window (minimize, the area's return) and its owner form's window (activation, showing) by
// token and removes both links when freed. Owns its icon, utility window and timers; the popup
// menu and image list are the form's and are forgotten when freed. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gfx/icons.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/timer.h"
#include "platform/win/tray_host.h"
#include "platform/win/win.h"

namespace skin {

class TbsSkinPopupMenu;

enum TbsBalloonHintIcon { bsbitNone, bsbitInfo, bsbitWarning, bsbitError };
using TbsCycleEvent = std::function<void(vcl::TObject* Sender, int NextIndex)>;

inline constexpr win::UINT WM_TRAYICONNOTIFY = 0x800;

class TbsTrayIcon : public vcl::TComponent {
public:
    explicit TbsTrayIcon(vcl::TComponent* AOwner);
    void BeforeDestruction() override;
    void Loaded() override;

    virtual bool LoadDefaultIcon() { return true; }
    virtual bool AddTrayIcon();
    virtual bool DeleteTrayIcon();
    virtual bool ModifyTrayIcon();
    bool Refresh() { return ModifyTrayIcon(); }
    bool ShowBalloonHint(const std::string& Title, const std::string& Text,
                         TbsBalloonHintIcon IconType);
    bool HideBalloonHint();
    void ShowMainForm();
    void HideMainForm();
    // The bitmap through a 16 x 16 image list with MaskColor transparent, as Icon's picture.
    static bool BitmapToIcon(const gfx::TBitmap& Bitmap, gfx::TIcon& Icon, gfx::TColor MaskColor);

    // --- properties --------------------------------------------------------------------------
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    gfx::TIcon& Icon() { return FIcon; }
    void SetIcon(const gfx::TIcon& value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    TbsSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TbsSkinPopupMenu* value);
    bool PopupByLeftButton = false;
    bool MinimizedOnStart = false;
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int value);
    bool DesignPreview() const { return FDesignPreview; }
    void SetDesignPreview(bool value);
    vcl::TCustomImageList* IconList() const { return FIconList; }
    void SetIconList(vcl::TCustomImageList* value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool value);
    unsigned AnimateTimerInterval() const { return FAnimateTimerInterval; }
    void SetAnimateTimerInterval(unsigned value);
    // The utility window the host reports to, and its parent window.
    win::HWND Handle() const { return IconData.Wnd; }
    win::HWND WindowHandle() const { return FWindowHandle; }

    vcl::TNotifyEvent OnBalloonHintClick, OnClick, OnDblClick;
    TbsCycleEvent OnCycle;
    vcl::TMouseEvent OnMouseDown, OnMouseUp;
    vcl::TMouseMoveEvent OnMouseMove;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    virtual void Click();
    virtual void DblClick();
    virtual void DoCycle();
    virtual void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    virtual void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    virtual void MouseMove(vcl::TShiftState Shift, int X, int Y);
    virtual void DoMinimizeToTray();

private:
    bool Designing() const;
    // The owner when it is a windowed control.
    vcl::TWinControl* OwnerControl() const;
    // Links the owner's current window (a recreated window needs a new link).
    void EnsureOwnerLink();
    // False at design time outside a preview: the shell call is skipped.
    bool RefreshIconData();
    bool Notify(win::DWORD message);
    void WndProc(vcl::TMessage& Message);
    void TrayMouse(win::UINT mouseMessage);
    void PopupAtCursor();
    void ClickTimerProc();
    void AnimateTimerProc();
    win::LRESULT AppProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                         const win::TNextProc& next);
    win::LRESULT OwnerProc(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                           const win::TNextProc& next);

    bool FEnabled = true;
    gfx::TIcon FIcon;
    bool FIconVisible = true;
    std::string FHint;
    bool FShowHint = true;
    TbsSkinPopupMenu* FPopupMenu = nullptr;
    // The declared default is False; a form that stores nothing for it gets the constructor's.
    bool FMinimizeToTray = true;
    bool FClickStart = false, FClickReady = false;
    vcl::TTimer* AnimateTimer = nullptr;  // owned
    vcl::TTimer* ClickTimer = nullptr;    // owned
    bool IsDblClick = false;
    int FIconIndex = 0;
    bool FDesignPreview = false;
    bool SettingPreview = false;
    bool SettingMDIForm = true;
    vcl::TCustomImageList* FIconList = nullptr;
    bool FCycleIcons = false;
    unsigned FAnimateTimerInterval = 1000;
    win::TSubclassToken FAppLink = 0;
    win::HWND FAppWnd;
    win::TSubclassToken FOwnerLink = 0;
    win::HWND FOwnerWnd;
    win::HWND FWindowHandle;
    win::NOTIFYICONDATA IconData;
    win::UINT FTaskbarCreated = 0;
};

}  // namespace skin
