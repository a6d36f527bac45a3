// The tab control, the page control and tab sheets.
#include "platform/vcl/tab_controls.h"

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/vcl/view_support.h"
#include "platform/win/scroll_info.h"
#include "platform/win/win.h"

namespace vcl {

using namespace win;

namespace {

TCustomTabControl* TabsOfUpDown(HWND upDown) {
    return dynamic_cast<TCustomTabControl*>(FindControl(GetParent(upDown)));
}

void DrawArrow(gfx::TCanvas& c, const TRect& r, int dir, bool enabled) {
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(enabled ? gfx::clBtnText : gfx::clGrayText);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        const int x = dir < 0 ? cx - 2 + i : cx + 1 - i;
        c.FillRect({x, cy - i, x + 1, cy + i + 1});
    }
}

// The up-down that scrolls a single line of tabs: the left half goes back, the right half on.
LRESULT UpDownProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = wParam ? ParamToDc(wParam) : BeginPaint(h, ps);
            if (!dc) return 0;
            TRect r;
            GetClientRect(h, r);
            gfx::TCanvas c(dc);
            const TRect left{0, 0, r.Width() / 2, r.Height()};
            const TRect right{r.Width() / 2, 0, r.Width(), r.Height()};
            detail::DrawRaised(c, left, false);
            detail::DrawRaised(c, right, false);
            const bool enabled = IsWindowEnabled(h);
            DrawArrow(c, left, -1, enabled);
            DrawArrow(c, right, 1, enabled);
            c.SetHandle(nullptr);
            if (!wParam) EndPaint(h, ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            TCustomTabControl* tabs = TabsOfUpDown(h);
            if (!tabs) return 0;
            TRect r;
            GetClientRect(h, r);
            const bool back = GET_X_LPARAM(lParam) < r.Width() / 2;
            int pos = tabs->FirstShownTab() + (back ? -1 : 1);
            if (pos < 0) return 0;
            SendMessage(GetParent(h), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos),
                        HwndToParam(h));
            return 0;
        }
        default:
            return DefWindowProc(h, msg, wParam, lParam);
    }
}

}  // namespace

// --- TCustomTabControl -------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetControlStyle(ControlStyle() + csAcceptsControls);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateWnd() {
    FUpDown = {};  // went with the old window; the new one may make its own while it is created
    TWinControl::CreateWnd();
    UpdateUpDown();
}

int TCustomTabControl::ItemHeight() const {
    if (FItemHeight > 0) return FItemHeight;
    return std::abs(const_cast<TCustomTabControl*>(this)->Font().Height()) + 6;
}

int TCustomTabControl::TabLength(int index) const {
    if (FItemWidth > 0) return FItemWidth;
    int w =
        detail::MeasureText(const_cast<TCustomTabControl*>(this)->Font(), TabCaption(index)) + 12;
    // Side tabs run along the image's height.
    const bool side = FTabPosition == tpLeft || FTabPosition == tpRight;
    if (FImages) w += (side ? FImages->Height() : FImages->Width()) + 3;
    return w;
}

TCustomTabControl::TLayout TCustomTabControl::Layout() const {
    TLayout l;
    const int n = TabCount();
    const int W = ClientWidth(), H = ClientHeight(), h = ItemHeight();
    const bool across = FTabPosition == tpTop || FTabPosition == tpBottom;
    const int room = (across ? W : H) - 4;
    std::vector<int> along(n), row(n, 0);
    int x = 0, r = 0;
    if (!FMultiLine)
        for (int i = 0; i < std::min(FFirstTab, n); ++i) x -= TabLength(i);
    for (int i = 0; i < n; ++i) {
        const int len = TabLength(i);
        if (FMultiLine && x > 0 && x + len > room) {
            ++r;
            x = 0;
        }
        along[i] = x;
        row[i] = r;
        x += len;
    }
    l.Rows = r + 1;
    for (int i = 0; i < n; ++i) {
        const int a = 2 + along[i], len = TabLength(i), k = row[i];
        switch (FTabPosition) {
            case tpTop:
                l.Tabs.push_back({a, 2 + k * h, a + len, 2 + (k + 1) * h});
                break;
            case tpBottom:
                l.Tabs.push_back({a, H - 2 - (k + 1) * h, a + len, H - 2 - k * h});
                break;
            case tpLeft:
                l.Tabs.push_back({2 + k * h, a, 2 + (k + 1) * h, a + len});
                break;
            case tpRight:
                l.Tabs.push_back({W - 2 - (k + 1) * h, a, W - 2 - k * h, a + len});
                break;
        }
    }
    return l;
}

int TCustomTabControl::RowCount() const {
    return Layout().Rows;
}

TRect TCustomTabControl::Adjust(TRect r, bool larger) const {
    const int band = 6 + RowCount() * ItemHeight() - 4;  // the tabs' side beyond the 4 px edge
    const int s = larger ? -1 : 1;
    r = {r.Left + 4 * s, r.Top + 4 * s, r.Right - 4 * s, r.Bottom - 4 * s};
    switch (FTabPosition) {
        case tpTop:
            r.Top += band * s;
            break;
        case tpBottom:
            r.Bottom -= band * s;
            break;
        case tpLeft:
            r.Left += band * s;
            break;
        case tpRight:
            r.Right -= band * s;
            break;
    }
    return r;
}

TRect TCustomTabControl::DisplayRect() {
    TRect r = ClientRect();
    Perform(TCM_ADJUSTRECT, 0, PtrToParam(&r));
    return r;
}

TRect TCustomTabControl::ItemRect(int index) {
    TRect r;
    if (!Perform(TCM_GETITEMRECT, WPARAM(index), PtrToParam(&r))) return {};
    return r;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
    const TLayout l = Layout();
    for (int i = 0; i < int(l.Tabs.size()); ++i)
        if (l.Tabs[i].Contains(X, Y)) return i;
    return -1;
}

int TCustomTabControl::HiddenTabCount() const {
    const TLayout l = Layout();
    const int W = ClientWidth();
    return int(std::count_if(l.Tabs.begin(), l.Tabs.end(),
                             [W](const TRect& r) { return r.Right > W - 3 || r.Right <= 0; }));
}

void TCustomTabControl::UpdateUpDown() {
    if (!HandleAllocated()) return;
    const bool across = FTabPosition == tpTop || FTabPosition == tpBottom;
    const bool needed = !FMultiLine && across && (HiddenTabCount() > 0 || FFirstTab > 0);
    if (FUpDown && !IsWindow(FUpDown)) FUpDown = {};
    if (!needed) {
        if (FUpDown) DestroyWindow(FUpDown);
        FUpDown = {};
        return;
    }
    const int h = ItemHeight(), w = 2 * h;
    const int y = FTabPosition == tpTop ? 0 : ClientHeight() - h;
    if (!FUpDown) {
        TWndClass cls;
        cls.Name = kUpDownClass;
        cls.Proc = UpDownProc;
        RegisterClass(cls);  // false when it exists already
        FUpDown = CreateWindowEx(0, kUpDownClass, "", WS_CHILD | WS_VISIBLE, ClientWidth() - w, y,
                                 w, h, Handle());
    } else {
        SetWindowPos(FUpDown, HWND(), ClientWidth() - w, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TCustomTabControl::TabsChanged() {
    const int n = TabCount();
    FFirstTab = std::clamp(FFirstTab, 0, std::max(n - 1, 0));
    if (FTabIndex >= n) FTabIndex = n - 1;
    Realign();
    UpdateUpDown();
    Invalidate();
}

void TCustomTabControl::SetTabPosition(TTabPosition value) {
    if (FTabPosition == value) return;
    FTabPosition = value;
    TabsChanged();
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (FMultiLine == value) return;
    FMultiLine = value;
    FFirstTab = 0;
    TabsChanged();
}

void TCustomTabControl::SetTabHeight(int value) {
    FTabHeight = std::max(value, 0);
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TCustomTabControl::SetTabWidth(int value) {
    FTabWidth = std::max(value, 0);
    Perform(TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
}

void TCustomTabControl::SetImages(TCustomImageList* value) {
    Perform(TCM_SETIMAGELIST, 0, PtrToParam(value));
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

void TCustomTabControl::Resize() {
    UpdateUpDown();
    TWinControl::Resize();
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::UserSelect(int index) {
    if (index < 0 || index == FTabIndex) return;
    if (!CanChange()) return;
    FTabIndex = index;
    TabIndexChanged();
    Invalidate();
    Change();
}

void TCustomTabControl::PaintWindow(HDC DC) {
    gfx::TCanvas c;
    detail::Prepare(c, DC, Font());
    const TRect client = ClientRect();
    c.Brush().SetStyle(gfx::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(client);
    // The frame sits 2 px outside the display area, on the tabs' side right against them.
    TRect frame = Adjust(client, false);
    frame = {frame.Left - 2, frame.Top - 2, frame.Right + 2, frame.Bottom + 2};
    switch (FTabPosition) {
        case tpTop:
            frame.Top -= 2;
            break;
        case tpBottom:
            frame.Bottom += 2;
            break;
        case tpLeft:
            frame.Left -= 2;
            break;
        case tpRight:
            frame.Right += 2;
            break;
    }
    detail::DrawRaised(c, frame, false);
    c.Brush().SetColor(Color());
    c.FillRect({frame.Left + 1, frame.Top + 1, frame.Right - 1, frame.Bottom - 1});
    const TLayout l = Layout();
    const bool enabled = Enabled();
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < int(l.Tabs.size()); ++i) {
            const bool selected = i == FTabIndex;
            if (selected != (pass == 1)) continue;
            TRect r = l.Tabs[i];
            if (r.Right <= 0 || r.Left >= client.Right) continue;
            if (selected) {
                // The chosen tab stands out and opens onto the display area.
                switch (FTabPosition) {
                    case tpTop:
                        r = {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1};
                        break;
                    case tpBottom:
                        r = {r.Left - 2, r.Top - 1, r.Right + 2, r.Bottom + 2};
                        break;
                    case tpLeft:
                        r = {r.Left - 2, r.Top - 2, r.Right + 1, r.Bottom + 2};
                        break;
                    case tpRight:
                        r = {r.Left - 1, r.Top - 2, r.Right + 2, r.Bottom + 2};
                        break;
                }
            }
            detail::DrawRaised(c, r, false);
            if (selected) {
                c.Brush().SetColor(Color());
                switch (FTabPosition) {
                    case tpTop:
                        c.FillRect({r.Left + 1, r.Bottom - 2, r.Right - 1, r.Bottom});
                        break;
                    case tpBottom:
                        c.FillRect({r.Left + 1, r.Top, r.Right - 1, r.Top + 2});
                        break;
                    case tpLeft:
                        c.FillRect({r.Right - 2, r.Top + 1, r.Right, r.Bottom - 1});
                        break;
                    case tpRight:
                        c.FillRect({r.Left, r.Top + 1, r.Left + 2, r.Bottom - 1});
                        break;
                }
            }
            TRect text = l.Tabs[i];
            const int image = TabImage(i);
            if (FImages) {
                if (image >= 0)
                    FImages->Draw(c, text.Left + 6,
                                  text.Top + (text.Height() - FImages->Height()) / 2, image,
                                  enabled);
                text.Left += FImages->Width() + 3;
            }
            c.Brush().SetStyle(gfx::bsClear);
            c.Font().SetColor(enabled ? gfx::clBtnText : gfx::clGrayText);
            c.DrawText(TabCaption(i), text,
                       gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
            if (selected && Focused()) {
                const TRect f = l.Tabs[i];
                c.DrawFocusRect({f.Left + 2, f.Top + 2, f.Right - 2, f.Bottom - 2});
            }
        }
    c.SetHandle(nullptr);
}

void TCustomTabControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case TCM_GETITEMCOUNT:
            m.Result = TabCount();
            return;
        case TCM_GETROWCOUNT:
            m.Result = RowCount();
            return;
        case TCM_GETCURSEL:
            m.Result = FTabIndex;
            return;
        case TCM_SETCURSEL: {
            const int index = int(m.WParam);
            m.Result = FTabIndex;
            if (index < -1 || index >= TabCount()) {
                m.Result = -1;
                return;
            }
            if (index != FTabIndex) {
                FTabIndex = index;
                TabIndexChanged();
                Invalidate();
            }
            return;
        }
        case TCM_GETITEMRECT: {
            const TLayout l = Layout();
            const int index = int(m.WParam);
            auto* r = ParamToPtr<TRect>(std::uint64_t(m.LParam));
            m.Result = 0;
            if (!r || index < 0 || index >= int(l.Tabs.size())) return;
            *r = l.Tabs[index];
            m.Result = 1;
            return;
        }
        case TCM_HITTEST: {
            const TPoint p = PointFromParam(m.LParam);
            m.Result = IndexOfTabAt(p.X, p.Y);
            return;
        }
        case TCM_ADJUSTRECT: {
            auto* r = ParamToPtr<TRect>(std::uint64_t(m.LParam));
            if (r) *r = Adjust(*r, m.WParam != 0);
            return;
        }
        case TCM_SETITEMSIZE: {
            m.Result = MAKELPARAM(FItemWidth, ItemHeight());
            FItemWidth = std::max(0, int(std::int16_t(LOWORD(std::uint64_t(m.LParam)))));
            FItemHeight = std::max(0, int(std::int16_t(HIWORD(std::uint64_t(m.LParam)))));
            TabsChanged();
            return;
        }
        case TCM_SETIMAGELIST: {
            m.Result = PtrToParam(FImages);
            FImages = ParamToPtr<TCustomImageList>(std::uint64_t(m.LParam));
            if (FImages) FImages->FreeNotification(this);
            TabsChanged();
            return;
        }
        case WM_HSCROLL:
            if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
                FFirstTab = std::clamp(int(HIWORD(m.WParam)), 0, std::max(TabCount() - 1, 0));
                UpdateUpDown();
                Invalidate();
            }
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // The point comes from the message: a subclass may move it before it gets here.
            const TPoint p = PointFromParam(m.LParam);
            if (CanFocus() && !Focused()) SetFocus();
            UserSelect(IndexOfTabAt(p.X, p.Y));
            TWinControl::Dispatch(m);
            return;
        }
        case WM_KEYDOWN: {
            const int key = int(m.WParam);
            const int n = TabCount();
            if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && n > 0) {
                const int step = key == VK_LEFT || key == VK_UP ? -1 : 1;
                UserSelect(std::clamp(FTabIndex + step, 0, n - 1));
            }
            TWinControl::Dispatch(m);
            return;
        }
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTARROWS;
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case CM_ENABLEDCHANGED:
        case CM_FONTCHANGED:
            TWinControl::Dispatch(m);
            TabsChanged();
            return;
        default:
            TWinControl::Dispatch(m);
    }
}

// --- TTabSheet ---------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    SetAlign(alClient);
    SetVisible(false);
    SetControlStyle(ControlStyle() + csAcceptsControls);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
    if (FPageControl == value) return;
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = value;
    SetParent(value);
    if (value) value->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool value) {
    if (FTabVisible == value) return;
    FTabVisible = value;
    if (!FPageControl) return;
    FPageControl->TabsChanged();
    FPageControl->SetActivePage(FPageControl->FActivePage);
}

void TTabSheet::SetImageIndex(int value) {
    FImageIndex = value;
    if (FPageControl) FPageControl->Invalidate();
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    int tab = 0;
    for (TTabSheet* page : FPageControl->FPages) {
        if (page == this) return tab;
        if (page->FTabVisible) ++tab;
    }
    return -1;
}

void TTabSheet::Dispatch(TMessage& m) {
    TWinControl::Dispatch(m);
    if (m.Msg == CM_TEXTCHANGED && FPageControl) FPageControl->TabsChanged();
}

// --- TPageControl ------------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FPages[index];
}

int TPageControl::TabCount() const {
    return int(
        std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->TabVisible(); }));
}

TTabSheet* TPageControl::SheetOfTab(int tab) const {
    for (TTabSheet* page : FPages)
        if (page->TabVisible() && tab-- == 0) return page;
    return nullptr;
}

std::string TPageControl::TabCaption(int index) const {
    TTabSheet* page = SheetOfTab(index);
    return page ? page->Caption() : std::string();
}

int TPageControl::TabImage(int index) const {
    TTabSheet* page = SheetOfTab(index);
    return page ? page->ImageIndex() : -1;
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    TabsChanged();
    if (!FActivePage) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    TTabSheet* next = page == FActivePage ? FindNextPage(page, true, true) : FActivePage;
    if (next == page) next = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (page == FActivePage) FActivePage = nullptr;
    SetActivePage(next);
    TabsChanged();
}

void TPageControl::ShowPage(TTabSheet* page) {
    FActivePage = page;
    for (TTabSheet* p : FPages) p->SetVisible(p == page);
    Realign();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    ShowPage(page);
    const int tab = page ? page->TabIndex() : -1;
    if (tab != TabIndex()) TCustomTabControl::Perform(TCM_SETCURSEL, WPARAM(tab));
    Invalidate();
}

void TPageControl::TabIndexChanged() {
    TTabSheet* page = SheetOfTab(TabIndex());
    if (page && page != FActivePage) ShowPage(page);
}

int TPageControl::ActivePageIndex() const {
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? FPages[value] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward,
                                      bool CheckTabVisible) const {
    const int n = PageCount();
    if (n == 0) return nullptr;
    int start = CurPage ? CurPage->PageIndex() : -1;
    if (start < 0) start = GoForward ? n - 1 : 0;
    for (int k = 1; k <= n; ++k) {
        const int i = ((start + (GoForward ? k : -k)) % n + n) % n;
        if (!CheckTabVisible || FPages[i]->TabVisible()) return FPages[i];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward) {
    TTabSheet* page = FindNextPage(FActivePage, GoForward, true);
    if (!page || page == FActivePage || !CanChange()) return;
    SetActivePage(page);
    Change();
}

void TPageControl::AdjustClientRect(TRect& Rect) {
    // The sheets go where the control's own answer says.
    Rect = ClientRect();
    Perform(TCM_ADJUSTRECT, 0, PtrToParam(&Rect));
}

}  // namespace vcl
