// The skinned system menu, built afresh from the window state each time it opens (into the
// component's own menu, or around the application's items), where it opens, and the tray menu.
#include <array>

#include "platform/vcl/messages.h"
#include "skin/core/resource_strings.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

enum TSysItem { siMinimize, siMaximize, siRestore, siRollUp, siMinToTray, siClose };

struct TSysItemText {
    const char* Name;
    const char* Key;
    const char* BuiltIn;
};

constexpr std::array<TSysItemText, 6> kSysItems{{
    {"BSF_MINITEM", "MI_MINCAPTION", "Mi&nimize"},
    {"BSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize"},
    {"BSF_RESTORE", "MI_RESTORECAPTION", "&Restore"},
    {"BSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp"},
    {"BSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray"},
    {"BSF_CLOSE", "MI_CLOSECAPTION", "&Close"},
}};

std::string Caption(const TbsSkinData* sd, const TSysItemText& text) {
    TbsResourceStrData* table = sd ? sd->ResourceStrData() : nullptr;
    return table ? table->GetResStr(text.Key) : std::string(text.BuiltIn);
}

// Which of the items the window state offers.
struct TSysMenuPlan {
    bool Minimize, Maximize, Restore, RollUp, MinToTray;
};

TSysMenuPlan PlanFor(const TbsSkinForm& f) {
    const vcl::TWindowState state = f.WindowState();
    const TbsBorderIcons icons = f.BorderIcons();
    const bool maximizedChild =
        f.FForm->FormStyle() == vcl::fsMDIChild && state == vcl::wsMaximized;
    return {state != vcl::wsMinimized && icons.Contains(biMinimize),
            state != vcl::wsMaximized && icons.Contains(biMaximize),
            state != vcl::wsNormal || f.RollUpState(),
            !f.RollUpState() && state != vcl::wsMinimized && !maximizedChild &&
                icons.Contains(biRollUp),
            icons.Contains(biMinimizeToTray)};
}

// A system menu item owned by the component, running `command` when chosen.
vcl::TMenuItem* MakeSysItem(TbsSkinForm& f, TSysItem which, std::function<void()> command) {
    const TSysItemText& text = kSysItems[which];
    // One name per owner: an item of that name left in the other menu is stale.
    if (vcl::TComponent* stale = f.FindComponent(text.Name)) stale->Free();
    auto* item = new vcl::TMenuItem(&f);
    item->SetName(text.Name);
    item->SetCaption(Caption(f.SkinData(), text));
    if (which == siClose)
        item->SetShortCut(
            vcl::TextToShortCut(f.FForm->FormStyle() == vcl::fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
    item->OnClick = [command = std::move(command)](vcl::TObject*) { command(); };
    return item;
}

std::function<void()> SysCommand(TbsSkinForm& f, TSysItem which) {
    switch (which) {
        case siMinimize:
            return [&f] {
                if (f.FAlwaysMinimizeToTray)
                    f.MinimizeToTray();
                else
                    f.SetWindowState(vcl::wsMinimized);
            };
        case siMaximize:
            return [&f] { f.SetWindowState(vcl::wsMaximized); };
        case siRestore:
            return [&f] {
                if (f.MaxRollUpState || (f.RollUpState() && f.WindowState() == vcl::wsNormal))
                    f.SetRollUpState(false);
                else
                    f.SetWindowState(vcl::wsNormal);
            };
        case siRollUp:
            return [&f] { f.SetRollUpState(true); };
        case siMinToTray:
            return [&f] { f.MinimizeToTray(); };
        case siClose:
            return [&f] { f.FForm->Close(); };
    }
    return [] {};
}

}  // namespace

bool TbsSkinForm::FollowSystemCommand(win::WPARAM command) {
    const bool iconic = FForm->HandleAllocated() && win::IsIconic(FForm->Handle());
    switch (command & 0xFFF0) {
        case win::SC_MINIMIZE:
            if (iconic || FWindowState == vcl::wsMinimized) return false;
            SysCommand(*this, siMinimize)();
            return true;
        case win::SC_MAXIMIZE:
            if (iconic) return false;
            SetWindowState(vcl::wsMaximized);
            return true;
        case win::SC_RESTORE:
            // From the icon the system brings the window back itself.
            if (iconic || FWindowState == vcl::wsNormal) return false;
            SetWindowState(vcl::wsNormal);
            return true;
        default:
            return false;
    }
}

vcl::TMenuItem* TbsSkinForm::GetSysMenuItems() {
    if (FSystemMenu) {
        UpdateUserSysMenu();
        return FSystemMenu->Items();
    }
    UpdateDefaultSysMenu();
    return FSysMenu->Items();
}

void TbsSkinForm::UpdateDefaultSysMenu() {
    FSysMenu->Items()->Clear();
    const TSysMenuPlan plan = PlanFor(*this);
    vcl::TMenuItem* root = FSysMenu->Items();
    auto add = [&](bool wanted, TSysItem which) {
        if (wanted) root->Add(MakeSysItem(*this, which, SysCommand(*this, which)));
    };
    add(plan.Minimize, siMinimize);
    add(plan.Maximize, siMaximize);
    add(plan.Restore, siRestore);
    add(plan.RollUp, siRollUp);
    add(plan.MinToTray, siMinToTray);
    if (root->Count() > 0) {
        auto* line = new vcl::TMenuItem(this);
        line->SetCaption("-");
        root->Add(line);
    }
    add(true, siClose);
}

void TbsSkinForm::UpdateUserSysMenu() {
    if (!FUseDefaultSysMenu) return;
    vcl::TMenuItem* root = FSystemMenu->Items();
    for (bool removed = true; removed;) {
        removed = false;
        for (int i = 0; i < root->Count(); ++i) {
            vcl::TMenuItem* item = root->Items(i);
            bool ours = false;
            for (const TSysItemText& text : kSysItems) ours = ours || item->Name() == text.Name;
            if (ours) {
                item->Free();
                removed = true;
                break;
            }
        }
    }
    const TSysMenuPlan plan = PlanFor(*this);
    auto insert = [&](bool wanted, TSysItem which) {
        if (wanted) root->Insert(0, MakeSysItem(*this, which, SysCommand(*this, which)));
    };
    insert(plan.MinToTray, siMinToTray);
    insert(plan.RollUp, siRollUp);
    insert(plan.Maximize, siMaximize);
    insert(plan.Restore, siRestore);
    insert(plan.Minimize, siMinimize);
    root->Add(MakeSysItem(*this, siClose, SysCommand(*this, siClose)));
}

void TbsSkinForm::PopupSystemMenuFromRect(const gfx::TRect& R) {
    // The items are made again: an open chain must not show the old ones.
    if (SkinMenu->Visible()) SkinMenu->Hide();
    vcl::TMenuItem* items = GetSysMenuItems();
    SkinMenuOpen();
    TbsSkinForm* host = this;
    if (FForm->FormStyle() == vcl::fsMDIChild) {
        host = GetSkinFormComponent(vcl::Application ? vcl::Application->MainForm() : nullptr);
        if (!host) return;
    }
    host->SkinMenu->Popup(nullptr, host->FMSD ? host->FMSD : host->FSD, 0, R, items, false);
    if (!host->SkinMenu->Visible()) SkinMenuClose();
}

void TbsSkinForm::PopupSystemMenu(int X, int Y) {
    PopupSystemMenuFromRect({X, Y, X, Y});
}

void TbsSkinForm::ShowSystemMenuByKey() {
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* object = ObjectList[i].get();
        if (!object->Enabled) continue;
        const auto* animate = dynamic_cast<TbsSkinAnimateObject*>(object);
        const auto* button = dynamic_cast<TbsSkinStdButtonObject*>(object);
        if ((animate && animate->Command == cmSysMenu) || (button && button->Command == cmSysMenu))
            PopupSystemMenuFromRect(object->ScreenObjectRect());
    }
}

void TbsSkinForm::CreateSysTrayMenu() {
    vcl::TMenuItem* root = FSysTrayMenu->Items();
    // Made while no skin data is set: the built-in captions, for good.
    auto* restore = new vcl::TMenuItem(this);
    restore->SetName("TRAY_BSF_RESTORE");
    restore->SetCaption(kSysItems[siRestore].BuiltIn);
    restore->OnClick = [this](vcl::TObject*) { RestoreFromTray(); };
    root->Add(restore);
    auto* line = new vcl::TMenuItem(this);
    line->SetCaption("-");
    root->Add(line);
    auto* close = new vcl::TMenuItem(this);
    close->SetName("TRAY_BSF_CLOSE");
    close->SetCaption(kSysItems[siClose].BuiltIn);
    close->SetShortCut(
        vcl::TextToShortCut(FForm->FormStyle() == vcl::fsMDIChild ? "Ctrl+F4" : "Alt+F4"));
    close->OnClick = [this](vcl::TObject*) { FForm->Close(); };
    root->Add(close);
}

}  // namespace skin
