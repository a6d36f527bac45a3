// The menu controller (one chain of levels) and the application's skinned popup menu.
#include "skin/menus/skin_menu.h"

#include <algorithm>

#include "platform/vcl/messages.h"
#include "skin/core/skin_messages.h"
#include "skin/core/system_routines.h"

namespace skin {

namespace {

TbsSkinMenuHostLookup& HostLookup() {
    static TbsSkinMenuHostLookup lookup;
    return lookup;
}

}  // namespace

void SetSkinMenuHostLookup(TbsSkinMenuHostLookup lookup) {
    HostLookup() = std::move(lookup);
}

TbsSkinMenuHost* FindSkinMenuHost(vcl::TCustomForm* form) {
    return form && HostLookup() ? HostLookup()(form) : nullptr;
}

// ---- TbsSkinMenu

TbsSkinMenu::TbsSkinMenu(vcl::TComponent* AOwner, vcl::TCustomForm* AForm)
    : vcl::TComponent(AOwner), WaitTimer(new vcl::TTimer(this)), FForm(AForm) {
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->SetOnTimer([this](vcl::TObject*) { WaitTimerProc(); });
    FDefaultMenuItemFont.SetName("Arial");
    FDefaultMenuItemFont.SetHeight(14);
    FDefaultMenuItemFont.SetStyle({});
}

TbsSkinMenu::~TbsSkinMenu() = default;

void TbsSkinMenu::BeforeDestruction() {
    Destroying();
    if (!FPopupList.empty()) CloseMenu(0);
    vcl::TComponent::BeforeDestruction();
}

int TbsSkinMenu::LevelOf(const TbsSkinPopupWindow* W) const {
    for (std::size_t i = 0; i < FPopupList.size(); ++i)
        if (FPopupList[i] == W) return int(i);
    return int(FPopupList.size());
}

void TbsSkinMenu::Notify(vcl::TControl* ctrl, win::UINT msg) {
    if (auto* w = dynamic_cast<vcl::TWinControl*>(ctrl))
        win::SendMessage(w->Handle(), msg, 0, 0);
    else
        ctrl->Perform(msg, 0, 0);
}

void TbsSkinMenu::Popup(vcl::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex,
                        const TRect& R, vcl::TMenuItem* AItem, bool PopupUp) {
    Popup2(APopupCtrl, ASkinData, StartIndex, R, AItem, nullptr, PopupUp);
}

void TbsSkinMenu::Popup2(vcl::TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex,
                         const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2,
                         bool PopupUp) {
    FFirst = !FVisible;
    // The old chain's control hears its close before the new one takes its place.
    if (!FPopupList.empty()) CloseMenu(0);
    PopupCtrl = APopupCtrl;
    WorkArea = TRect{};
    if (FForm && FForm->HandleAllocated()) GetWindowMonitorRect(FForm->Handle(), true, WorkArea);
    SkinData = ASkinData;
    const int count = (AItem ? AItem->Count() : 0) + (AItem2 ? AItem2->Count() : 0);
    if (AItem && AItem->Count() > 0 && StartIndex < count) {
        FVisible = true;
        OpenLevel(R, AItem, AItem2, StartIndex, false, PopupUp);
        FFirst = false;
    }
}

void TbsSkinMenu::OpenLevel(const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2,
                            int StartIndex, bool PopupByItem, bool PopupUp) {
    TbsDataSkinPopupWindow* rec = SkinData && !SkinData->Empty ? &SkinData->PopupWindow : nullptr;
    auto* w = new TbsSkinPopupWindow(this, this, rec);
    FPopupList.push_back(w);
    if (AItem2)
        w->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
    else
        w->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

void TbsSkinMenu::CloseMenu(int EndIndex) {
    EndIndex = std::max(EndIndex, 0);
    while (int(FPopupList.size()) > EndIndex) {
        TbsSkinPopupWindow* w = FPopupList.back();
        FPopupList.pop_back();
        if (WItem && WItem->Parent == w) {
            WaitTimer->SetEnabled(false);
            WItem = nullptr;
        }
        w->Hide();
        // The close often comes from inside the window's own handlers: it goes once they
        // have returned.
        if (w->HandleAllocated())
            win::PostMessage(w->Handle(), vcl::CM_RELEASE);
        else
            w->Free();
    }
    if (EndIndex != 0) return;
    FVisible = false;
    WaitTimer->SetEnabled(false);
    DCtrl = PopupCtrl;
    if (vcl::TControl* ctrl = PopupCtrl) {
        PopupCtrl = nullptr;
        Notify(ctrl, WM_CLOSESKINMENU);
    }
    if (OnMenuClose) {
        vcl::TNotifyEvent ev = std::move(OnMenuClose);
        OnMenuClose = nullptr;
        ev(this);
    }
}

bool TbsSkinMenu::ListsItemsOf(const vcl::TMenu* menu) const {
    for (const TbsSkinPopupWindow* w : FPopupList)
        for (int i = 0; i < w->ItemCount(); ++i)
            if (w->Item(i)->MenuItem->GetParentMenu() == menu) return true;
    return false;
}

void TbsSkinMenu::Hide() {
    CloseMenu(0);
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    if (FForm && FForm->HandleAllocated())
        win::SendMessage(FForm->Handle(), WM_CLOSESKINMENU, 0, 0);
}

void TbsSkinMenu::CheckItem(TbsSkinPopupWindow* W, TbsSkinMenuItem* I, bool Click, bool Kb) {
    vcl::TMenuItem* item = I->MenuItem;
    const int n = item->Count();
    const int L = LevelOf(W);
    auto dispatch = [item] {
        if (vcl::TMenu* menu = item->GetParentMenu())
            menu->DispatchCommand(item->Command());
        else
            item->Click();
    };
    if (n == 0) {
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        if (!Click) {
            CloseMenu(L + 1);
            return;
        }
        Hide();
        dispatch();
        if (vcl::TControl* ctrl = DCtrl) {
            DCtrl = nullptr;
            Notify(ctrl, WM_AFTERDISPATCH);
        }
        DCtrl = nullptr;
        return;
    }
    if (!Click) {
        if (Kb) return;
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        CloseMenu(L + 1);
        WItem = I;
        WaitTimer->SetEnabled(true);
        return;
    }
    dispatch();
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    // The handler may have closed the chain.
    if (LevelOf(W) >= LevelCount() || W->ItemIndexOf(I) < 0) return;
    CloseMenu(L + 1);
    I->Down = true;
    I->ReDraw();
    TRect r = I->ObjectRect;
    r = r.Offset(W->Left(), W->Top());
    OpenLevel(r, item, nullptr, 0, true, false);
}

void TbsSkinMenu::WaitTimerProc() {
    if (TbsSkinMenuItem* item = WItem) CheckItem(item->Parent, item, true, false);
    WaitTimer->SetEnabled(false);
}

// ---- TbsSkinPopupMenu

TbsSkinPopupMenu::TbsSkinPopupMenu(vcl::TComponent* AOwner) : vcl::TPopupMenu(AOwner) {}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* value) {
    if (FSD == value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = value;
    if (FSD) FSD->FreeNotification(this);
}

void TbsSkinPopupMenu::BeforeDestruction() {
    // Open levels point at this menu's items: they close before the items go, or the next key
    // or click would read freed items.
    if (FShownOn && FShownOn->ListsItemsOf(this)) FShownOn->Hide();
    vcl::TPopupMenu::BeforeDestruction();
}

void TbsSkinPopupMenu::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TPopupMenu::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == SkinComponent) SkinComponent = nullptr;
    if (AComponent == ComponentForm) ComponentForm = nullptr;
    if (AComponent == FShownOn) FShownOn = nullptr;
}

TbsSkinMenuHost* TbsSkinPopupMenu::FindHost() const {
    if (SkinComponent) return dynamic_cast<TbsSkinMenuHost*>(SkinComponent);
    if (ComponentForm) return FindSkinMenuHost(ComponentForm);
    vcl::TComponent* owner = Owner();
    vcl::TCustomForm* form = dynamic_cast<vcl::TCustomForm*>(owner);
    if (!form && owner) form = dynamic_cast<vcl::TCustomForm*>(owner->Owner());
    TbsSkinMenuHost* host = FindSkinMenuHost(form);
    if (host && host->MenuHostForm() && host->MenuHostForm()->FormStyle() == vcl::fsMDIChild)
        host = FindSkinMenuHost(vcl::Application->MainForm());
    return host;
}

bool TbsSkinPopupMenu::Show(vcl::TControl* ACtrl, const TRect& R, bool up, bool needSkin) {
    if (OnPopup) OnPopup(this);
    TbsSkinMenuHost* host = FindHost();
    if (host && !FSD)
        SetSkinData(host->MenuHostMenusSkinData() ? host->MenuHostMenusSkinData()
                                                  : host->MenuHostSkinData());
    if (!host || (needSkin && !FSD)) return false;
    TbsSkinMenu* menu = host->MenuHostSkinMenu();
    if (!menu) return false;
    if (menu->Visible()) host->SkinMenuClose();
    host->SkinMenuOpen();
    FPopupPoint = {R.Left, R.Top};
    if (menu != FShownOn) {
        if (FShownOn) FShownOn->RemoveFreeNotification(this);
        FShownOn = menu;
        FShownOn->FreeNotification(this);
    }
    menu->Popup(ACtrl, FSD, 0, R, Items(), up);
    if (!menu->Visible()) {
        // Nothing opened: the form must not stay in its menu mode.
        host->SkinMenuClose();
        return false;
    }
    if (OnMenuClose) menu->OnMenuClose = OnMenuClose;
    return true;
}

void TbsSkinPopupMenu::Popup(int X, int Y) {
    Show(nullptr, {X, Y, X, Y}, false, false);
}

void TbsSkinPopupMenu::PopupFromRect(const TRect& R, bool APopupUp) {
    Show(nullptr, R, APopupUp, false);
}

bool TbsSkinPopupMenu::PopupFromRect2(vcl::TControl* ACtrl, const TRect& R, bool APopupUp) {
    return Show(ACtrl, R, APopupUp, false);
}

void TbsSkinPopupMenu::Popup2(vcl::TControl* ACtrl, int X, int Y) {
    Show(ACtrl, {X, Y, X, Y}, false, true);
}

}  // namespace skin
