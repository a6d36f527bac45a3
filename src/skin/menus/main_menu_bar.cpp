// The main menu bar control: building its objects from the menus, geometry and painting, the
// mouse and selection, the keyboard operations the form component calls, and the MDI buttons.
#include "skin/menus/main_menu_bar.h"

#include <algorithm>

#include "platform/vcl/messages.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"

namespace skin {

namespace {

TbsMainMenuBarHostLookup& HostLookup() {
    static TbsMainMenuBarHostLookup lookup;
    return lookup;
}

bool SkinLoaded(const TbsSkinData* sd) {
    return sd && !sd->Empty;
}

}  // namespace

void SetMainMenuBarHostLookup(TbsMainMenuBarHostLookup lookup) {
    HostLookup() = std::move(lookup);
}

TbsMainMenuBarHost* FindMainMenuBarHost(vcl::TCustomForm* form) {
    return form && HostLookup() ? HostLookup()(form) : nullptr;
}

// ---- TbsSkinMainMenu

void TbsSkinMainMenu::SetSkinData(TbsSkinData* value) {
    if (FSD == value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = value;
    if (FSD) FSD->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TMainMenu::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- TbsSkinMainMenuBar: life and properties

TbsSkinMainMenuBar::TbsSkinMainMenuBar(vcl::TComponent* AOwner)
    : TbsSkinControl(AOwner),
      MouseTimer(new vcl::TTimer(this)),
      MorphTimer(new vcl::TTimer(this)),
      AnimateTimer(new vcl::TTimer(this)) {
    auto setUp = [this](vcl::TTimer* timer, unsigned interval, void (TbsSkinMainMenuBar::*proc)()) {
        timer->SetEnabled(false);
        timer->SetInterval(interval);
        timer->SetOnTimer([this, proc](vcl::TObject*) { (this->*proc)(); });
    };
    setUp(MouseTimer, 50, &TbsSkinMainMenuBar::MouseTimerProc);
    setUp(MorphTimer, 25, &TbsSkinMainMenuBar::MorphTimerProc);
    setUp(AnimateTimer, 25, &TbsSkinMainMenuBar::AnimateTimerProc);
    FDefItemFont.SetName("Arial");
    FDefItemFont.SetStyle({});
    FDefItemFont.SetHeight(14);
    FDefItemFont.SetColor(gfx::clBtnText);
    SetAlign(vcl::alTop);
    SetHeight(22);
    FSkinDataName = "mainmenubar";
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar() = default;

void TbsSkinMainMenuBar::BeforeDestruction() {
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    ObjectList.clear();
    TbsSkinControl::BeforeDestruction();
}

void TbsSkinMainMenuBar::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        ClearObjects();
    }
    if (AComponent == FMergeMenu) {
        FMergeMenu = nullptr;
        ClearObjects();
    }
    if (BSF && AComponent == BSF->BarHostComponent()) BSF = nullptr;
}

void TbsSkinMainMenuBar::SetDefItemFont(const gfx::TFont& value) {
    FDefItemFont.Assign(value);
    if (!FSkinSupport) Invalidate();
}

void TbsSkinMainMenuBar::SetDefaultWidth(int value) {
    FDefaultWidth = value;
    if (!FSkinSupport && value > 0) SetWidth(value);
}

void TbsSkinMainMenuBar::SetDefaultHeight(int value) {
    FDefaultHeight = value;
    if (!FSkinSupport && value > 0) SetHeight(value);
}

void TbsSkinMainMenuBar::SetSkinForm(TbsMainMenuBarHost* value) {
    if (BSF == value) return;
    if (BSF) BSF->BarHostComponent()->RemoveFreeNotification(this);
    BSF = value;
    if (BSF) BSF->BarHostComponent()->FreeNotification(this);
}

void TbsSkinMainMenuBar::SetMainMenu(vcl::TMainMenu* value) {
    if (FMainMenu) FMainMenu->RemoveFreeNotification(this);
    FMainMenu = value;
    if (FMainMenu) FMainMenu->FreeNotification(this);
    CreateMenu();
    Invalidate();
}

// ---- Skin

void TbsSkinMainMenuBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    auto* rec =
        FIndex >= 0
            ? dynamic_cast<TbsDataSkinMainMenuBar*>(FSD->CtrlList[std::size_t(FIndex)].get())
            : nullptr;
    if (!rec) {
        FIndex = -1;
        return;
    }
    SkinRect = rec->SkinRect;
    ItemsRect = rec->ItemsRect;
    MenuBarItem = rec->MenuBarItem;
    MaxButton = rec->MaxButton;
    MinButton = rec->MinButton;
    SysMenuButton = rec->SysMenuButton;
    CloseButton = rec->CloseButton;
    TrackMarkColor = gfx::TColor(rec->TrackMarkColor);
    TrackMarkActiveColor = gfx::TColor(rec->TrackMarkActiveColor);
    const int pi = rec->PictureIndex;
    Picture = pi >= 0 && pi < int(FSD->FActivePictures.size())
                  ? FSD->FActivePictures[std::size_t(pi)].get()
                  : nullptr;
    StretchEffect = rec->StretchEffect;
    ItemTransparent = rec->ItemTransparent;
}

void TbsSkinMainMenuBar::ChangeSkinData() {
    GetSkinData();
    FSkinSupport = FIndex != -1;
    CreateMenu();
    if (FSkinSupport)
        SetHeight(SkinRect.Height());
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    Invalidate();
}

void TbsSkinMainMenuBar::BeforeChangeSkinData() {
    FSkinSupport = false;
    TbsSkinControl::BeforeChangeSkinData();
    ClearObjects();
}

void TbsSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    if (FSkinSupport && FIndex != -1) AHeight = SkinRect.Height();
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
}

// ---- Building

void TbsSkinMainMenuBar::ClearObjects() {
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

vcl::TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() {
    if (FMergeMenu) return FMergeMenu;
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    vcl::TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    if (!child) return nullptr;
    for (int i = 0; i < child->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<vcl::TMainMenu*>(child->Components(i))) return menu;
    return nullptr;
}

void TbsSkinMainMenuBar::CreateMenu() {
    ClearObjects();
    if (!FMainMenu) return;
    vcl::TCustomForm* form = BSF ? BSF->BarMenuHost()->MenuHostForm() : nullptr;
    vcl::TMainMenu* child = nullptr;
    if ((form && form->FormStyle() == vcl::fsMDIForm) || FMergeMenu) child = GetChildMainMenu();
    TbsDataSkinMainMenuBarItem* rec = nullptr;
    if (SkinLoaded(FSD)) {
        const int i = FSD->GetIndex(MenuBarItem);
        if (i >= 0)
            rec = dynamic_cast<TbsDataSkinMainMenuBarItem*>(FSD->ObjectList[std::size_t(i)].get());
    }
    ChildMenuIn = child != nullptr;
    // A merged menu's items no longer line up with the popup of hidden ones.
    if (child) FScrollMenu = false;
    std::vector<vcl::TMenuItem*> items;
    vcl::TMenuItem* main = FMainMenu->Items();
    if (child) {
        vcl::TMenuItem* extra = child->Items();
        auto childHas = [extra](std::uint8_t group) {
            for (int i = 0; i < extra->Count(); ++i)
                if (extra->Items(i)->GroupIndex() == group) return true;
            return false;
        };
        for (int i = 0; i < main->Count(); ++i)
            if (!childHas(main->Items(i)->GroupIndex())) items.push_back(main->Items(i));
        for (int i = 0; i < extra->Count(); ++i) items.push_back(extra->Items(i));
        std::stable_sort(items.begin(), items.end(), [](vcl::TMenuItem* a, vcl::TMenuItem* b) {
            return a->GroupIndex() < b->GroupIndex();
        });
    } else {
        for (int i = 0; i < main->Count(); ++i) items.push_back(main->Items(i));
    }
    for (vcl::TMenuItem* menuItem : items) {
        if (!menuItem->Visible()) continue;
        auto item = std::make_unique<TbsSkinMainMenuBarItem>(this, rec);
        item->IDName = menuItem->Name();
        item->Enabled = menuItem->Enabled();
        item->OldEnabled = item->Enabled;
        item->MenuItem = menuItem;
        ObjectList.push_back(std::move(item));
    }
    if (FMDIChildMax) {
        CreateMDIButtons();
        SetMDIButtonsState(MaximizedChild());
    }
}

void TbsSkinMainMenuBar::Merge(vcl::TMainMenu* Menu) {
    if (FMergeMenu) FMergeMenu->RemoveFreeNotification(this);
    FMergeMenu = Menu;
    if (FMergeMenu) FMergeMenu->FreeNotification(this);
    UpDateItems();
}

void TbsSkinMainMenuBar::UnMerge() {
    Merge(nullptr);
}

void TbsSkinMainMenuBar::UpDateItems() {
    CreateMenu();
    Invalidate();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems() {
    for (auto& object : ObjectList)
        if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(object.get())) {
            if (!item->MenuItem) continue;
            if (item->FVisible)
                item->Enabled = item->MenuItem->Enabled();
            else
                item->OldEnabled = item->MenuItem->Enabled();
        }
    Invalidate();
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::Item(int i) const {
    return dynamic_cast<TbsSkinMainMenuBarItem*>(ObjectList[std::size_t(i)].get());
}

bool TbsSkinMainMenuBar::Usable(int i) const {
    TbsSkinMainMenuBarItem* item = Item(i);
    return item && item->Enabled && item->Fits();
}

// ---- Geometry and painting

void TbsSkinMainMenuBar::CalcObjectRects() {
    if (FSkinSupport)
        NewItemsRect = {ItemsRect.Left, ItemsRect.Top,
                        Width() - (SkinRect.Width() - ItemsRect.Right), ItemsRect.Bottom};
    else
        NewItemsRect = {2, 2, Width() - 2, Height() - 2};
    if (!FMDIChildMax || ButtonsCount != 4) return;
    const int itemsHeight = NewItemsRect.Height();
    for (int i = 0; i < 4; ++i) {
        auto* button = static_cast<TbsSkinMainMenuBarButton*>(ObjectList[std::size_t(i)].get());
        const int w = button->FSkinSupport ? button->SkinRect.Width() : itemsHeight;
        const int h = button->FSkinSupport ? button->SkinRect.Height() : itemsHeight;
        const int top = NewItemsRect.Top + itemsHeight / 2 - h / 2;
        if (button->Command == cmSysMenu) {
            button->ObjectRect = {NewItemsRect.Left, top, NewItemsRect.Left + w, top + h};
            NewItemsRect.Left += w + 2;
        } else {
            button->ObjectRect = {NewItemsRect.Right - w, top, NewItemsRect.Right, top + h};
            NewItemsRect.Right -= w + 2;
        }
    }
}

TRect TbsSkinMainMenuBar::GetMarkerRect() const {
    return {NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom};
}

void TbsSkinMainMenuBar::DrawMarker(gfx::TCanvas& C) {
    const gfx::TColor color = FSkinSupport ? (MarkerActive ? TrackMarkActiveColor : TrackMarkColor)
                                           : (MarkerActive ? gfx::clBtnText : gfx::clBtnShadow);
    DrawDirArrow(C, GetMarkerRect(), color, 2);
}

void TbsSkinMainMenuBar::PaintMenuBar(gfx::TCanvas& C) {
    if (Width() <= 0 || Height() <= 0) return;
    gfx::TBitmap B;
    B.SetSize(Width(), Height());
    if (!FSkinSupport) {
        B.Canvas().Brush().SetColor(gfx::clBtnFace);
        B.Canvas().FillRect({0, 0, Width(), Height()});
    } else if (FSD->MainMenuBarTransparent) {
        PaintParentBackdrop(this, B.Canvas());
    } else if (Picture) {
        gfx::TBitmap strip;
        BuildHorzSkinStrip(ItemsRect.Left, SkinRect.Width() - ItemsRect.Right, strip, *Picture,
                           SkinRect, Width(), Height(), StretchEffect);
        B.Canvas().Draw(0, 0, strip);
    }
    FBarImage.Assign(B);
    CalcObjectRects();
    Scroll = false;
    for (auto& object : ObjectList)
        if (object->Visible) object->Draw(B.Canvas());
    if (Scroll && FScrollMenu) DrawMarker(B.Canvas());
    C.Draw(0, 0, B);
}

void TbsSkinMainMenuBar::Paint() {
    GetSkinData();
    PaintMenuBar(Canvas());
}

void TbsSkinMainMenuBar::DrawObject(TbsMenuBarObject* AObject) {
    if (!HandleAllocated()) return;
    if (FSkinSupport && ItemTransparent && dynamic_cast<TbsSkinMainMenuBarItem*>(AObject)) {
        Invalidate();
        return;
    }
    if (AObject->Visible) AObject->Draw(Canvas());
}

// ---- Mouse

void TbsSkinMainMenuBar::TestActive(int X, int Y) {
    if (ObjectList.empty()) return;
    OldActiveObject = ActiveObject;
    int found = -1;
    for (int i = 0; i < ObjectCount(); ++i)
        if (Object(i)->Enabled && Object(i)->ObjectRect.Contains(X, Y)) {
            found = i;
            break;
        }
    const bool keep = found == -1 && MenuActive && OldActiveObject >= 0 &&
                      OldActiveObject < ObjectCount() && Item(OldActiveObject);
    if (!keep) ActiveObject = found;
    if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
    if (OldActiveObject != ActiveObject) {
        if (OldActiveObject >= 0 && OldActiveObject < ObjectCount() &&
            Object(OldActiveObject)->Enabled)
            Object(OldActiveObject)->MouseLeave();
        if (ActiveObject >= 0 && ActiveObject < ObjectCount() && Object(ActiveObject)->Enabled)
            Object(ActiveObject)->MouseEnter();
    }
    if (Scroll && FScrollMenu) {
        const bool over = GetMarkerRect().Contains(X, Y);
        if (over != MarkerActive) {
            MarkerActive = over;
            if (HandleAllocated()) DrawMarker(Canvas());
        }
    }
}

void TbsSkinMainMenuBar::MouseTimerProc() {
    gfx::TPoint p;
    win::GetCursorPos(p);
    p = ScreenToClient(p);
    if (p.X < 0 || p.Y < 0 || p.X > Width() || p.Y > Height()) {
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1);
    } else {
        TestActive(p.X, p.Y);
    }
}

void TbsSkinMainMenuBar::MorphTimerProc() {
    if (!StepHoverFades(ObjectList)) MorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::AnimateTimerProc() {
    bool any = false;
    for (auto& object : ObjectList) {
        auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(object.get());
        if (!item || !item->EnableAnimation()) continue;
        if (item->Active && item->CurrentFrame <= item->FrameCount) {
            ++item->CurrentFrame;
        } else if (!item->Active && item->CurrentFrame > 0) {
            --item->CurrentFrame;
        } else {
            continue;
        }
        DrawObject(item);
        any = true;
    }
    if (!any) AnimateTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    TestActive(X, Y);
    if (ActiveObject >= 0 && ActiveObject < ObjectCount()) {
        MouseCaptureObject = ActiveObject;
        TbsMenuBarObject* o = Object(ActiveObject);
        o->MouseDown(X, Y, Button);
        // The command may have rebuilt the bar.
        if (Shift.Contains(vcl::ssDouble) && MouseCaptureObject >= 0 &&
            MouseCaptureObject < ObjectCount() && Object(MouseCaptureObject) == o)
            o->DblClick();
    } else if (Scroll && FScrollMenu && GetMarkerRect().Contains(X, Y)) {
        PopupHiddenItems();
    }
}

void TbsSkinMainMenuBar::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    MouseTimer->SetEnabled(false);
    MouseTimer->SetEnabled(true);
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinMainMenuBar::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    if (MouseCaptureObject >= 0 && MouseCaptureObject < ObjectCount())
        Object(MouseCaptureObject)->MouseUp(X, Y, Button);
    MouseCaptureObject = -1;
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMainMenuBar::PopupHiddenItems() {
    if (!BSF || !FMainMenu) return;
    int n = 0;
    for (int i = 0; i < ObjectCount(); ++i)
        if (Item(i) && Item(i)->FVisible) ++n;
    const TRect m = GetMarkerRect();
    const gfx::TPoint p = ClientToScreen({m.Left, m.Top});
    const TRect r{p.X, p.Y, p.X + m.Width(), p.Y + m.Height()};
    TbsSkinMenuHost* menuHost = BSF->BarMenuHost();
    menuHost->SkinMenuOpen();
    if (vcl::TMainMenu* child = ChildMenuIn ? GetChildMainMenu() : nullptr)
        menuHost->MenuHostSkinMenu()->Popup2(nullptr, FSD, n, r, FMainMenu->Items(), child->Items(),
                                             false);
    else
        menuHost->MenuHostSkinMenu()->Popup(nullptr, FSD, n, r, FMainMenu->Items(), false);
    if (!menuHost->MenuHostSkinMenu()->Visible()) menuHost->SkinMenuClose();
}

void TbsSkinMainMenuBar::Dispatch(vcl::TMessage& Message) {
    const win::UINT m = Message.Msg;
    if (m == WM_CLOSESKINMENU) {
        for (int i = 0; i < ButtonsCount && i < ObjectCount(); ++i) {
            auto* button = static_cast<TbsSkinMainMenuBarButton*>(Object(i));
            if (button->Command == cmSysMenu && button->FDown) {
                button->FDown = false;
                if (ActiveObject != i) button->Active = false;
                button->Redraw();
            }
        }
        return;
    }
    if (m == WM_CHECKPARENTBG) {
        if (FSkinSupport && FSD->MainMenuBarTransparent) Invalidate();
        return;
    }
    switch (m) {
        case win::WM_SIZE:
            TbsSkinControl::Dispatch(Message);
            CalcObjectRects();
            return;
        case win::WM_MOVE:
            TbsSkinControl::Dispatch(Message);
            if (FSkinSupport && FSD->MainMenuBarTransparent && Align() == vcl::alNone) Invalidate();
            return;
        case vcl::CM_MOUSEENTER:
            TbsSkinControl::Dispatch(Message);
            if (!ComponentState().Contains(vcl::csDesigning)) MouseTimer->SetEnabled(true);
            return;
        case vcl::CM_MOUSELEAVE:
            TbsSkinControl::Dispatch(Message);
            if (!ComponentState().Contains(vcl::csDesigning)) {
                MouseTimer->SetEnabled(false);
                TestActive(-1, -1);
            }
            return;
        default:
            TbsSkinControl::Dispatch(Message);
    }
}

// ---- Keyboard

void TbsSkinMainMenuBar::EnterMainMenu() {
    MenuActive = true;
    TbsSkinMainMenuBarItem* target = nullptr;
    for (int i = 0; i < ObjectCount() && !target; ++i)
        if (Item(i) && Item(i)->Active) target = Item(i);
    for (int i = 0; i < ObjectCount() && !target; ++i)
        if (Item(i)) target = Item(i);
    if (target) target->MouseEnter();
    if (!BSF) return;
    BSF->HookApp();
    BSF->SetBarInMainMenu(true);
    BSF->MainMenuEntered(this);
}

bool TbsSkinMainMenuBar::CheckHotKey(int Key) {
    if (!BSF) return false;
    vcl::TCustomForm* form = BSF->BarMenuHost()->MenuHostForm();
    if (!form || !form->Visible()) return false;
    for (int i = 0; i < ObjectCount(); ++i) {
        TbsSkinMainMenuBarItem* item = Item(i);
        if (!Usable(i) || !item->MenuItem || !vcl::IsAccel(Key, item->MenuItem->Caption()))
            continue;
        item->MouseEnter();
        if (!(BSF->BarInMenu() && item->HasSubItems())) item->MouseDown(0, 0, vcl::mbLeft);
        return true;
    }
    return false;
}

void TbsSkinMainMenuBar::NextMainMenuItem() {
    const int n = ObjectCount();
    int cur = -1;
    for (int i = 0; i < n && cur < 0; ++i)
        if (Usable(i) && (Item(i)->Active || Item(i)->FDown)) cur = i;
    auto firstFrom = [&](int from, int to) {
        for (int i = from; i < to; ++i)
            if (Usable(i)) return i;
        return -1;
    };
    if (cur < 0) {
        if (const int first = firstFrom(0, n); first >= 0) Item(first)->MouseEnter();
        return;
    }
    Item(cur)->MouseLeave();
    int next = firstFrom(cur + 1, n);
    if (next < 0) next = firstFrom(0, n);
    if (next >= 0) Item(next)->MouseEnter();
}

void TbsSkinMainMenuBar::PrevMainMenuItem() {
    const int n = ObjectCount();
    int cur = -1;
    for (int i = n - 1; i >= 0 && cur < 0; --i)
        if (Usable(i) && (Item(i)->Active || Item(i)->FDown)) cur = i;
    auto lastFrom = [&](int from) {
        for (int i = from; i >= 0; --i)
            if (Usable(i)) return i;
        return -1;
    };
    if (cur < 0) {
        if (const int last = lastFrom(n - 1); last >= 0) Item(last)->MouseEnter();
        return;
    }
    Item(cur)->MouseLeave();
    int prev = lastFrom(cur - 1);
    if (prev < 0) prev = lastFrom(n - 1);
    if (prev >= 0) Item(prev)->MouseEnter();
}

bool TbsSkinMainMenuBar::CheckReturnKey() {
    if (!BSF) return false;
    for (int i = 0; i < ObjectCount(); ++i) {
        TbsSkinMainMenuBarItem* item = Item(i);
        if (!item) continue;
        if ((item->FDown && !item->HasSubItems()) || (item->Active && !BSF->BarInMenu())) {
            item->Active = false;
            item->MouseDown(0, 0, vcl::mbLeft);
            return true;
        }
    }
    return false;
}

void TbsSkinMainMenuBar::ReleaseDownItem() {
    for (int i = 0; i < ObjectCount(); ++i)
        if (TbsSkinMainMenuBarItem* item = Item(i); item && item->FDown) {
            item->FDown = false;
            item->Active = true;
            DrawObject(item);
            return;
        }
}

void TbsSkinMainMenuBar::ResetMainMenu() {
    MenuActive = false;
    for (int i = 0; i < ObjectCount(); ++i) {
        TbsSkinMainMenuBarItem* item = Item(i);
        if (!item || !(item->Active || item->FDown)) continue;
        item->Active = false;
        item->FMouseIn = false;
        item->FDown = false;
        if (item->EnableAnimation() && !item->InActiveAnimation) item->CurrentFrame = 0;
        item->Redraw();
        break;
    }
    ActiveObject = OldActiveObject = -1;
}

// ---- MDI child buttons

TbsMainMenuBarHost* TbsSkinMainMenuBar::MaximizedChild() const {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (int i = 0; i < main->MDIChildCount(); ++i) {
        TbsMainMenuBarHost* host = FindMainMenuBarHost(main->MDIChildren(i));
        if (host && host->BarHostWindowState() == vcl::wsMaximized) return host;
    }
    return nullptr;
}

void TbsSkinMainMenuBar::CreateMDIButtons() {
    ButtonsCount = 0;
    const bool skinned = SkinLoaded(FSD) && FSkinSupport;
    const std::pair<std::string, TbsStdCommand> buttons[] = {
        {skinned ? MinButton : "MinButton", cmMinimize},
        {skinned ? MaxButton : "MaxButton", cmMaximize},
        {skinned ? CloseButton : "CloseButton", cmClose},
        {skinned ? SysMenuButton : "SysMenuButton", cmSysMenu}};
    for (const auto& [name, command] : buttons) {
        TbsDataSkinObject* rec = nullptr;
        if (skinned) {
            const int i = FSD->GetIndex(name);
            if (i >= 0) rec = FSD->ObjectList[std::size_t(i)].get();
        }
        auto button = std::make_unique<TbsSkinMainMenuBarButton>(this, rec, command);
        button->IDName = name;
        ObjectList.insert(ObjectList.begin(), std::move(button));
        ++ButtonsCount;
    }
}

void TbsSkinMainMenuBar::DeleteMDIButtons() {
    const int n = std::min(ButtonsCount, ObjectCount());
    ObjectList.erase(ObjectList.begin(), ObjectList.begin() + n);
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinMainMenuBar::SetMDIButtonsState(TbsMainMenuBarHost* child) {
    for (int i = 0; i < ButtonsCount && i < ObjectCount(); ++i) {
        auto* button = static_cast<TbsSkinMainMenuBarButton*>(Object(i));
        button->Enabled = true;
        if (!child) continue;
        if (button->Command == cmMinimize && !child->BarHostHasIcon(TbsBarBorderIcon::Minimize))
            button->Enabled = false;
        if (button->Command == cmSysMenu && !child->BarHostHasIcon(TbsBarBorderIcon::SystemMenu))
            button->Enabled = false;
    }
}

void TbsSkinMainMenuBar::MDIChildMaximize() {
    if (FMDIChildMax) return;
    FMDIChildMax = true;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    CreateMDIButtons();
    if (TbsMainMenuBarHost* child = MaximizedChild()) SetMDIButtonsState(child);
    Invalidate();
}

void TbsSkinMainMenuBar::MDIChildRestore() {
    TbsMainMenuBarHost* child = MaximizedChild();
    if (!child && FMDIChildMax) {
        FMDIChildMax = false;
        DeleteMDIButtons();
        Invalidate();
    } else if (child) {
        SetMDIButtonsState(child);
    }
}

}  // namespace skin
