// MDI: a main form's children in its window menu and tabs bar, maximized into the MDI area with
// their buttons on the menu bar, arranged by the main form's component, and the MDI client's
// own procedure.
#include <algorithm>
#include <cmath>
#include <string>

#include "skin/core/skin_messages.h"
#include "skin/form/mdi_tabs_bar.h"
#include "skin/form/skin_form.h"
#include "skin/menus/main_menu_bar.h"

namespace skin {
namespace {

constexpr const char* kChildItem = "_BSFCHILDITEM";

vcl::TCustomForm* MainForm() {
    return vcl::Application ? vcl::Application->MainForm() : nullptr;
}

TbsSkinForm* MainComponent() {
    return GetSkinFormComponent(MainForm());
}

bool IsChildItem(const vcl::TMenuItem* item) {
    return item->Name().find(kChildItem) != std::string::npos;
}

// The item name with its first child mark removed.
std::string ChildNameOf(const vcl::TMenuItem* item) {
    std::string name = item->Name();
    const auto at = name.find(kChildItem);
    if (at != std::string::npos) name.erase(at, std::char_traits<char>::length(kChildItem));
    return name;
}

vcl::TMenuItem* ChildItemOf(vcl::TMenuItem* menu, const std::string& childName) {
    for (int i = 0; i < menu->Count(); ++i) {
        vcl::TMenuItem* item = menu->Items(i);
        if (IsChildItem(item) && ChildNameOf(item) == childName) return item;
    }
    return nullptr;
}

gfx::TRect MDIArea() {
    gfx::TRect r{0, 0, 0, 0};
    GetMDIClientArea(MainComponent(), r);
    return r;
}

}  // namespace

// --- window menu ------------------------------------------------------------------------------

void TbsSkinForm::AddChildToMenu(vcl::TCustomForm* Child) {
    vcl::TCustomForm* main = MainForm();
    if (!MainComponent() || !main->WindowMenu() || !Child) return;
    auto* item = new vcl::TMenuItem(this);
    item->SetName(Child->Name() + kChildItem);
    item->SetCaption(Child->Caption());
    item->OnClick = [this](vcl::TObject* sender) { MDIItemClick(sender); };
    main->WindowMenu()->Add(item);
}

void TbsSkinForm::DeleteChildFromMenu(vcl::TCustomForm* Child) {
    vcl::TCustomForm* main = MainForm();
    if (!main || !main->WindowMenu() || !Child) return;
    vcl::TMenuItem* menu = main->WindowMenu();
    if (vcl::TMenuItem* item = ChildItemOf(menu, Child->Name())) item->Free();
    if (main->MDIChildCount() == 0)
        for (int i = 0; i < menu->Count(); ++i)
            if (IsChildItem(menu->Items(i))) {
                menu->Items(i)->Free();
                break;
            }
}

void TbsSkinForm::UpDateChildCaptionInMenu(vcl::TCustomForm* Child) {
    vcl::TCustomForm* main = MainForm();
    if (!main || !main->WindowMenu() || !Child) return;
    if (vcl::TMenuItem* item = ChildItemOf(main->WindowMenu(), Child->Name()))
        item->SetCaption(Child->Caption());
}

void TbsSkinForm::UpDateChildActiveInMenu() {
    vcl::TCustomForm* main = MainForm();
    if (!main || !main->WindowMenu()) return;
    vcl::TCustomForm* active = main->ActiveMDIChild();
    vcl::TMenuItem* menu = main->WindowMenu();
    for (int i = 0; i < menu->Count(); ++i) {
        vcl::TMenuItem* item = menu->Items(i);
        if (IsChildItem(item)) item->SetChecked(active && ChildNameOf(item) == active->Name());
    }
}

void TbsSkinForm::MDIItemClick(vcl::TObject* Sender) {
    auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
    vcl::TCustomForm* main = MainForm();
    if (!item || !main) return;
    const std::string name = ChildNameOf(item);
    for (int i = 0; i < main->MDIChildCount(); ++i) {
        vcl::TCustomForm* child = main->MDIChildren(i);
        if (child->Name() != name) continue;
        TbsSkinForm* c = GetSkinFormComponent(child);
        if (c && c->WindowState() == vcl::wsMinimized) c->SetWindowState(vcl::wsNormal);
        child->Show();
        return;
    }
}

// --- tabs bar ---------------------------------------------------------------------------------

void TbsSkinForm::SetMDITabsBar(TbsSkinMDITabsBar* value) {
    if (FMDITabsBar) FMDITabsBar->RemoveFreeNotification(this);
    FMDITabsBar = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::AddChildToBar(vcl::TCustomForm* Child) {
    bool accept = true;
    if (FOnAcceptToMDITabsBar) FOnAcceptToMDITabsBar(accept);
    TbsSkinForm* main = MainComponent();
    if (accept && main && main->FMDITabsBar) main->FMDITabsBar->AddTab(Child);
}

void TbsSkinForm::DeleteChildFromBar(vcl::TCustomForm* Child) {
    TbsSkinForm* main = MainComponent();
    if (main && main->FMDITabsBar) main->FMDITabsBar->DeleteTab(Child);
}

void TbsSkinForm::RefreshMDIBarTab(vcl::TCustomForm* Child) {
    TbsSkinForm* main = MainComponent();
    if (main && main->FMDITabsBar) main->FMDITabsBar->RefreshTab(Child);
}

// --- a child's life cycle ---------------------------------------------------------------------

void TbsSkinForm::MDIChildShown(bool shown) {
    if (shown) {
        AddChildToMenu(FForm);
        AddChildToBar(FForm);
    } else {
        DeleteChildFromMenu(FForm);
        DeleteChildFromBar(FForm);
    }
}

void TbsSkinForm::MDIChildActivated() {
    if (TbsSkinForm* main = MainComponent()) {
        if (main->FMainMenuBar) main->FMainMenuBar->UpDateItems();
        if (main->FMDITabsBar) main->FMDITabsBar->UpdateActiveTab();
    }
    UpDateChildActiveInMenu();
}

void TbsSkinForm::MDIChildDestroyed() {
    FWindowState = vcl::wsNormal;
    vcl::TCustomForm* main = MainForm();
    if (main && main->HandleAllocated())
        win::SendMessage(main->Handle(), WM_MDICHILDRESTORED, 0, 0);
    if (TbsSkinForm* m = MainComponent()) {
        if (m->FMainMenuBar) m->FMainMenuBar->UpDateItems();
        // A tab must not outlive its child, shown or not.
        if (m->FMDITabsBar) m->FMDITabsBar->DeleteTab(FForm);
    }
}

// --- maximized children -----------------------------------------------------------------------

void TbsSkinForm::MaximizeMDIChild() {
    MouseTimer->SetEnabled(false);
    TestActive(-1, -1, false);
    const gfx::TRect area = MDIArea();
    const int w = FForm->Width(), h = FForm->Height();
    FForm->SetBounds(0, 0, area.Width(), area.Height());
    if (w == FForm->Width() && h == FForm->Height()) ForceFormResize();
    if (vcl::TCustomForm* main = MainForm(); main && main->HandleAllocated())
        win::SendMessage(main->Handle(), WM_MDICHILDMAXIMIZED, 0, 0);
}

vcl::TCustomForm* TbsSkinForm::GetMaximizedMDIChild() const {
    vcl::TCustomForm* main = MainForm();
    if (!main) return nullptr;
    auto maximized = [](vcl::TCustomForm* child) {
        TbsSkinForm* c = GetSkinFormComponent(child);
        return c && c->WindowState() == vcl::wsMaximized;
    };
    if (main->ActiveMDIChild() && maximized(main->ActiveMDIChild())) return main->ActiveMDIChild();
    for (int i = 0; i < main->MDIChildCount(); ++i)
        if (maximized(main->MDIChildren(i))) return main->MDIChildren(i);
    return nullptr;
}

void TbsSkinForm::RefitMDIChilds() {
    for (int i = 0; i < FForm->MDIChildCount(); ++i) {
        vcl::TCustomForm* child = FForm->MDIChildren(i);
        if (child->HandleAllocated()) win::SendMessage(child->Handle(), WM_FITMAXIMIZEDCHILD, 0, 0);
    }
    ArrangeMinimizedChilds();
}

void TbsSkinForm::ArrangeMinimizedChilds() {
    for (int i = 0; i < FForm->MDIChildCount(); ++i) {
        vcl::TCustomForm* child = FForm->MDIChildren(i);
        TbsSkinForm* c = GetSkinFormComponent(child);
        if (!c || c->WindowState() != vcl::wsMinimized) continue;
        const gfx::TPoint p = c->GetMinimizedPosition();
        child->SetBounds(p.X, p.Y, child->Width(), child->Height());
    }
}

// --- arranging --------------------------------------------------------------------------------

void TbsSkinForm::MinimizeAll() {
    if (FForm->FormStyle() != vcl::fsMDIForm) return;
    for (int i = FForm->MDIChildCount() - 1; i >= 0; --i)
        if (TbsSkinForm* c = GetSkinFormComponent(FForm->MDIChildren(i)))
            c->SetWindowState(vcl::wsMinimized);
}

void TbsSkinForm::MaximizeAll() {
    if (FForm->FormStyle() != vcl::fsMDIForm) return;
    for (int i = FForm->MDIChildCount() - 1; i >= 0; --i)
        if (TbsSkinForm* c = GetSkinFormComponent(FForm->MDIChildren(i)))
            c->SetWindowState(vcl::wsMaximized);
}

void TbsSkinForm::RestoreAll() {
    if (FForm->FormStyle() != vcl::fsMDIForm) return;
    // Collected first: restoring reorders nothing, but a handler might.
    std::vector<TbsSkinForm*> children;
    for (int i = 0; i < FForm->MDIChildCount(); ++i)
        if (TbsSkinForm* c = GetSkinFormComponent(FForm->MDIChildren(i))) children.push_back(c);
    for (TbsSkinForm* c : children) {
        if (c->WindowState() != vcl::wsNormal) c->SetWindowState(vcl::wsNormal);
        if (c->RollUpState() && c->WindowState() == vcl::wsNormal) c->SetRollUpState(false);
    }
}

void TbsSkinForm::CloseAll() {
    if (FForm->FormStyle() != vcl::fsMDIForm) return;
    for (int i = FForm->MDIChildCount() - 1; i >= 0; --i)
        if (i < FForm->MDIChildCount()) FForm->MDIChildren(i)->Close();
}

void TbsSkinForm::Tile() {
    if (FForm->FormStyle() != vcl::fsMDIForm) return;
    RestoreAll();
    const int n = FForm->MDIChildCount();
    const int cols = int(std::sqrt(double(n)));
    if (cols < 1) return;
    int rows = n / cols;
    if (cols * rows < n) ++rows;
    const gfx::TRect area = MDIArea();
    const int W = area.Width(), H = area.Height();
    const int cw = W / cols;
    int ch = H / rows;
    int x = W, y = H, c = cols;
    std::vector<vcl::TCustomForm*> children;
    for (int i = 0; i < n; ++i) children.push_back(FForm->MDIChildren(i));
    for (int i = n - 1; i >= 0; --i) {
        children[std::size_t(i)]->SetBounds(std::max(x - cw, 0), std::max(y - ch, 0), cw, ch);
        y -= ch;
        if (y - ch < 0) {
            y = H;
            x -= cw;
            c = std::max(c - 1, 1);
            rows = i / c;
            if (c * rows < i) ++rows;
            rows = std::max(rows, 1);
            ch = H / rows;
        }
    }
}

void TbsSkinForm::Cascade() {
    if (FForm->FormStyle() != vcl::fsMDIForm) return;
    RestoreAll();
    // A skin whose client starts at the top edge would give no step at all.
    const int s =
        std::max(1, FSkinSupport && HasSkin() ? NewClRect.Top
                                              : GetDefCaptionHeight(FForm->BorderStyle()) + 3);
    const gfx::TRect area = MDIArea();
    const int W = area.Width(), H = area.Height();
    const int n = FForm->MDIChildCount();
    const int k = (W - int(std::nearbyint(W * 0.8))) / s;
    int width, height;
    if (k > n) {
        width = W - s * (n - 1);
        height = H - s * (n - 1);
    } else {
        width = W - s * k;
        height = H - s * k;
    }
    width = std::max(width, GetMinWidth());
    height = std::max(height, GetMinHeight());
    std::vector<vcl::TCustomForm*> children;
    for (int i = 0; i < n; ++i) children.push_back(FForm->MDIChildren(i));
    int o = 0;
    for (int i = n - 1; i >= 0; --i) {
        vcl::TCustomForm* child = children[std::size_t(i)];
        const bool own = child->BorderStyle() == vcl::bsSingle;
        const int w = own ? child->Width() : width, h = own ? child->Height() : height;
        if (o + w > W || o + h > H) o = 0;
        child->SetBounds(o, o, w, h);
        o += s;
    }
}

// --- the MDI client ---------------------------------------------------------------------------

void TbsSkinForm::HookMDIClient() {
    if (FForm->FormStyle() != vcl::fsMDIForm || !FForm->HandleAllocated()) return;
    const win::HWND client = FForm->ClientHandle();
    if (!client || (FClientLink && client == FClientWnd && win::IsWindow(FClientWnd))) return;
    if (FClientLink) win::RemoveSubclass(FClientWnd, FClientLink);
    FClientWnd = client;
    FClientLink = win::SubclassWindow(
        client,
        [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
               const win::TNextProc& next) -> win::LRESULT {
            switch (m) {
                case win::WM_SIZE: {
                    const win::LRESULT r = next(h, m, w, l);
                    RefitMDIChilds();
                    const bool redraw =
                        FLogoBitMap.Width() > 0 ||
                        (FSkinSupport && HasSkin() &&
                         ((FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) ||
                          (FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1)));
                    if (redraw)
                        win::RedrawWindow(h, nullptr, nullptr,
                                          win::RDW_ERASE | win::RDW_INVALIDATE);
                    return r;
                }
                case win::WM_NCCALCSIZE:
                case win::WM_NCPAINT:
                    return 0;
                case win::WM_ERASEBKGND: {
                    const gfx::HDC dc = win::ParamToDc(w);
                    if (!HasSkin())
                        PaintMDIBGDefault(dc);
                    else if (FSD->MDIBGPictureIndex != -1)
                        PaintBG3(dc);
                    else if (FSD->BGPictureIndex == -1)
                        PaintBG(dc);
                    else
                        PaintBG2(dc);
                    return 1;
                }
                case win::WM_NCACTIVATE:
                    return 1;
                default:
                    return next(h, m, w, l);
            }
        });
}

}  // namespace skin
