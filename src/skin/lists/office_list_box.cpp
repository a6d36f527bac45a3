#include "skin/lists/office_list_box.h"

#include <algorithm>

#include "platform/vcl/messages.h"
#include "platform/win/win.h"

namespace skin {

TbsSkinOfficeListBox::TbsSkinOfficeListBox(vcl::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csAcceptsControls + vcl::csReplicatable);
    FItems = new TbsSkinOfficeItems(this);
    SetTabStop(false);
    SetBounds(Left(), Top(), 150, 150);
    SetSkinDataName("listbox");
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox() {
    TbsSkinOfficeItems* items = FItems;
    FItems = nullptr;
    delete items;
}

void TbsSkinOfficeListBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FImages) FImages = nullptr;
}

// ---- properties ---------------------------------------------------------------------------------

void TbsSkinOfficeListBox::SetItems(const TbsSkinOfficeItems& value) {
    FItems->Assign(value);
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetImages(vcl::TCustomImageList* value) {
    if (FImages == value) return;
    FImages = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinOfficeListBox::SetShowItemTitles(bool value) {
    if (FShowItemTitles == value) return;
    FShowItemTitles = value;
    Repaint();
}

void TbsSkinOfficeListBox::SetItemHeight(int value) {
    if (FItemHeight == value) return;
    FItemHeight = value;
    Repaint();
}

void TbsSkinOfficeListBox::SetHeaderHeight(int value) {
    if (FHeaderHeight == value) return;
    FHeaderHeight = value;
    Repaint();
}

void TbsSkinOfficeListBox::SetShowLines(bool value) {
    if (FShowLines == value) return;
    FShowLines = value;
    Repaint();
}

// ---- selection ----------------------------------------------------------------------------------

void TbsSkinOfficeListBox::SetItemIndex(int value) {
    if (value < 0) {
        FItemIndex = value;
        Repaint();
        return;
    }
    FItemIndex = value;
    bool found = false;
    for (int i = 0; i < FItems->Count(); ++i) {
        FItems->Items(i)->Active = i == value;
        found = found || i == value;
    }
    Repaint();
    ScrollToItem(value);
    if (!found || ComponentState().Contains(vcl::csDesigning)) return;
    // The handlers may change the list; take the item again after each.
    if (auto& click = FItems->Items(value)->OnClick) {
        const vcl::TNotifyEvent handler = click;
        handler(this);
    }
    if (OnItemClick) {
        const vcl::TNotifyEvent handler = OnItemClick;
        handler(this);
    }
}

void TbsSkinOfficeListBox::SetActiveItem(int Index) {
    FItemIndex = Index;
    for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->Active = i == Index;
    Repaint();
    ScrollToItem(Index);
}

// ---- layout and scrolling -----------------------------------------------------------------------

void TbsSkinOfficeListBox::CalcItemRects() {
    FRealMax = 0;
    if (FIndex == -1)
        FItemsRect = TRect{2, 2, Width() - 2, Height() - 2};
    else
        FItemsRect = NewClRect;
    if (ScrollBar) FItemsRect.Right -= ScrollBar->Width();
    int y = FItemsRect.Top;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsSkinOfficeItem* item = FItems->Items(i);
        const int h = item->Header() ? FHeaderHeight : FItemHeight;
        TRect r{FItemsRect.Left, y, FItemsRect.Right, y + h};
        y += h;
        r.Top -= FScrollOffset;
        r.Bottom -= FScrollOffset;
        item->ItemRect = r;
        const auto inside = [this](int v) { return v >= FItemsRect.Top && v < FItemsRect.Bottom; };
        item->IsVisible = inside(r.Top) || inside(r.Bottom) ||
                          (r.Top <= FItemsRect.Top && r.Bottom >= FItemsRect.Bottom);
        if (item->IsVisible) FRealMax = r.Bottom;
    }
    FMax = y;
}

int TbsSkinOfficeListBox::CalcHeight(int AItemCount) {
    const int n = std::min(AItemCount, FItems->Count());
    if (FIndex == -1) return n * FItemHeight + 5;
    return n * FItemHeight + Height() - NewClRect.Height() + 1;
}

void TbsSkinOfficeListBox::GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition) {
    CalcItemRects();
    AMin = 0;
    AMax = FMax - FItemsRect.Top;
    APage = FItemsRect.Height();
    if (AMax <= APage) {
        AMax = 0;
        APage = 0;
    }
    APosition = FScrollOffset;
}

void TbsSkinOfficeListBox::UpdateScrollInfo() {
    int smin = 0, smax = 0, page = 0, pos = 0;
    GetScrollInfo(smin, smax, page, pos);
    if (smax != 0) {
        if (!ScrollBar) ShowScrollbar();
        ScrollBar->SetRange(smin, smax, FScrollOffset, page);
        ScrollBar->SetLargeChange(page);
    } else if (ScrollBar) {
        HideScrollBar();
    }
}

void TbsSkinOfficeListBox::ShowScrollbar() {
    if (ScrollBar) return;
    ScrollBar = new TbsSkinScrollBar(this);
    ScrollBar->SetVisible(false);
    ScrollBar->SetParent(this);
    ScrollBar->SetDefaultHeight(0);
    ScrollBar->SetDefaultWidth(19);
    ScrollBar->SetSmallChange(FItemHeight);
    ScrollBar->SetLargeChange(FItemHeight);
    ScrollBar->SetSkinDataName("vscrollbar");
    ScrollBar->SetKind(sbVertical);
    ScrollBar->SetSkinData(SkinData());
    ScrollBar->OnChange = [this](vcl::TObject* Sender) { SBChange(Sender); };
    // The bar is not focusable (CanFocused is off), yet its own click handling would take the
    // focus, which would close a popup list under the user's press; its presses skip that step.
    TbsSkinScrollBar* bar = ScrollBar;
    bar->WindowProc = [bar](vcl::TMessage& m) {
        if (m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK)
            bar->TbsSkinCustomControl::WndProc(m);
        else
            bar->WndProc(m);
    };
    AdjustScrollBar();
    ScrollBar->SetVisible(true);
    Repaint();
}

void TbsSkinOfficeListBox::HideScrollBar() {
    if (!ScrollBar) return;
    TbsSkinScrollBar* bar = ScrollBar;
    ScrollBar = nullptr;
    bar->SetVisible(false);
    bar->Free();
    Repaint();
}

void TbsSkinOfficeListBox::AdjustScrollBar() {
    if (!ScrollBar) return;
    const TRect r = FIndex == -1 ? TRect{2, 2, Width() - 2, Height() - 2} : NewClRect;
    ScrollBar->SetBounds(r.Right - ScrollBar->Width(), r.Top, ScrollBar->Width(), r.Height());
}

void TbsSkinOfficeListBox::SBChange(vcl::TObject* Sender) {
    (void)Sender;
    Scroll(ScrollBar->Position());
}

void TbsSkinOfficeListBox::Scroll(int AScrollOffset) {
    FScrollOffset = AScrollOffset;
    Repaint();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::ScrollToItem(int Index) {
    CalcItemRects();
    const TRect a = FItems->Items(Index)->ItemRect;
    TRect b = a;
    b.Top += FScrollOffset;
    b.Bottom += FScrollOffset;
    if (a.Top <= FItemsRect.Top) {
        // Keeps the heading above the first entry in view.
        if (Index == 1 && FItems->Items(0)->Header())
            FScrollOffset = 0;
        else
            FScrollOffset = b.Top - FItemsRect.Top;
        CalcItemRects();
        Invalidate();
    } else if (a.Bottom >= FItemsRect.Bottom) {
        FScrollOffset = b.Bottom + FItemsRect.Top - Height() + 1;
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

int TbsSkinOfficeListBox::ItemAtPos(int X, int Y) {
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsSkinOfficeItem* item = FItems->Items(i);
        if (item->ItemRect.Contains(X, Y) && item->Enabled()) return i;
    }
    return -1;
}

// ---- keyboard moves -----------------------------------------------------------------------------

bool TbsSkinOfficeListBox::Selectable(int index) const {
    const TbsSkinOfficeItem* item = FItems->Items(index);
    return !item->Header() && item->Enabled();
}

int TbsSkinOfficeListBox::PageRows() const {
    const int page = FItemHeight > 0 ? FItemsRect.Height() / FItemHeight : 1;
    return page == 0 ? 1 : page;
}

void TbsSkinOfficeListBox::FindUp() {
    if (FItemIndex < 0) return;
    for (int i = std::min(FItemIndex, FItems->Count()) - 1; i >= 0; --i) {
        if (Selectable(i)) {
            SetItemIndex(i);
            return;
        }
    }
}

void TbsSkinOfficeListBox::FindDown() {
    for (int i = FItemIndex < 0 ? 0 : FItemIndex + 1; i < FItems->Count(); ++i) {
        if (Selectable(i)) {
            SetItemIndex(i);
            return;
        }
    }
}

void TbsSkinOfficeListBox::FindPageUp() {
    if (FItemIndex < 0 || FItemIndex - 1 < 0) return;
    const int start = std::min(FItemIndex - 1, FItems->Count() - 1);
    const int low = std::max(0, start - PageRows());
    int candidate = -1;
    bool headerPassed = false;
    for (int i = start; i >= low; --i) {
        if (FItems->Items(i)->Header()) headerPassed = true;
        if (!Selectable(i)) continue;
        candidate = i;
        if (headerPassed) break;
    }
    if (candidate != -1) SetItemIndex(candidate);
}

void TbsSkinOfficeListBox::FindPageDown() {
    const int start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    const int last = FItems->Count() - 1;
    if (start > last) return;
    const int high = std::min(last, start + PageRows());
    int candidate = -1;
    bool headerPassed = false;
    for (int i = start; i <= high; ++i) {
        if (FItems->Items(i)->Header()) headerPassed = true;
        if (!Selectable(i)) continue;
        candidate = i;
        if (headerPassed) break;
    }
    if (candidate != -1) SetItemIndex(candidate);
}

// ---- input --------------------------------------------------------------------------------------

void TbsSkinOfficeListBox::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                                     int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    const int row = ItemAtPos(X, Y);
    if (row == -1 || FItems->Items(row)->Header()) return;
    SetActiveItem(row);
    FMouseDown = true;
    FMouseActive = row;
}

void TbsSkinOfficeListBox::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    const int row = ItemAtPos(X, Y);
    if (row == -1 || FItems->Items(row)->Header()) return;
    if ((FMouseDown || FMouseMoveChangeIndex) && row != FMouseActive) {
        SetActiveItem(row);
        FMouseActive = row;
    }
}

void TbsSkinOfficeListBox::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDown = false;
    if (Button != vcl::mbLeft) return;
    const int row = ItemAtPos(X, Y);
    if (row == -1 || FItems->Items(row)->Header()) return;
    SetItemIndex(row);
}

void TbsSkinOfficeListBox::KeyDown(int& Key, vcl::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    switch (Key) {
        case win::VK_NEXT:
            FindPageDown();
            break;
        case win::VK_PRIOR:
            FindPageUp();
            break;
        case win::VK_UP:
        case win::VK_LEFT:
            FindUp();
            break;
        case win::VK_DOWN:
        case win::VK_RIGHT:
            FindDown();
            break;
        default:
            break;
    }
}

void TbsSkinOfficeListBox::WndProc(vcl::TMessage& Message) {
    using namespace win;
    const bool designing = ComponentState().Contains(vcl::csDesigning);
    if (!designing && !FocusBeforeClick(*this, Message.Msg, FClicksDisabled)) return;
    if (Message.Msg == vcl::CN_COMMAND && FClicksDisabled) return;
    TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinOfficeListBox::Dispatch(vcl::TMessage& Message) {
    using namespace win;
    switch (Message.Msg) {
        case WM_SIZE:
            TbsSkinCustomControl::Dispatch(Message);
            if (FOldHeight != -1 && FOldHeight != Height()) {
                CalcItemRects();
                if (FItemsRect.Bottom >= FRealMax && FScrollOffset > 0) {
                    FScrollOffset = std::max(0, FScrollOffset - (FItemsRect.Bottom - FRealMax));
                    CalcItemRects();
                    Invalidate();
                }
            }
            AdjustScrollBar();
            UpdateScrollInfo();
            FOldHeight = Height();
            return;
        case WM_MOUSEWHEEL:
            TbsSkinCustomControl::Dispatch(Message);
            if (ScrollBar) {
                const int step = ScrollBar->SmallChange();
                if (GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0)
                    ScrollBar->SetPosition(ScrollBar->Position() + step);
                else
                    ScrollBar->SetPosition(ScrollBar->Position() - step);
            }
            return;
        case vcl::CM_FOCUSCHANGED:
            TbsSkinCustomControl::Dispatch(Message);
            Repaint();
            return;
        case WM_GETDLGCODE:
            Message.Result = DLGC_WANTARROWS;
            return;
        default:
            TbsSkinCustomControl::Dispatch(Message);
    }
}

void TbsSkinOfficeListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (!FSD) return;
    FDisabledFontColor = FSD->SkinColors()->cBtnShadow;
    const int edit = FSD->GetControlIndex("edit");
    if (edit != -1) {
        if (const auto* r =
                dynamic_cast<const TbsDataSkinEditControl*>(FSD->CtrlList[std::size_t(edit)].get()))
            FDisabledFontColor = r->DisabledFontColor;
    }
    if (ScrollBar) {
        ScrollBar->SetSkinData(SkinData());
        AdjustScrollBar();
    }
    CalcItemRects();
    Repaint();
}

}  // namespace skin
