// The plain list view and its header window.
#include "platform/vcl/list_view.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/rtl/exception.h"
#include "platform/vcl/view_support.h"
#include "platform/win/scroll_info.h"
#include "platform/win/win.h"

namespace vcl {

using namespace win;

namespace {

constexpr int kListCellWidth = 120;  // list view column width
constexpr int kIconCellWidth = 76;
constexpr int kDividerSlop = 3;  // pixels either side of a divider that grab it

rtl::EListError IndexError(int index) {
    return rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TCustomListView* ViewOfHeader(HWND header) {
    return dynamic_cast<TCustomListView*>(FindControl(GetParent(header)));
}

}  // namespace

// --- Columns ---------------------------------------------------------------------------------

void TListColumn::SetCaption(const std::string& value) {
    FCaption = value;
    FView.ColumnsChanged();
}

void TListColumn::SetWidth(int value) {
    value = std::max(value, FMinWidth);
    if (FMaxWidth > 0) value = std::min(value, FMaxWidth);
    value = std::max(value, 0);
    if (value == FWidth) return;
    FWidth = value;
    FView.ColumnsChanged();
}

void TListColumn::SetMinWidth(int value) {
    FMinWidth = std::max(value, 0);
    SetWidth(FWidth);
}

void TListColumn::SetMaxWidth(int value) {
    FMaxWidth = std::max(value, 0);
    SetWidth(FWidth);
}

void TListColumn::SetAlignment(TAlignment value) {
    FAlignment = value;
    FView.ColumnsChanged();
}

void TListColumn::SetImageIndex(int value) {
    FImageIndex = value;
    FView.ColumnsChanged();
}

int TListColumn::Index() const {
    const auto& all = FView.FColumns.FColumns;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].get() == this) return int(i);
    return -1;
}

TListColumn* TListColumns::Add() {
    FColumns.push_back(std::unique_ptr<TListColumn>(new TListColumn(FView)));
    FView.ColumnsChanged();
    return FColumns.back().get();
}

TListColumn* TListColumns::Items(int index) const {
    if (index < 0 || index >= Count()) throw IndexError(index);
    return FColumns[index].get();
}

void TListColumns::Delete(int index) {
    if (index < 0 || index >= Count()) throw IndexError(index);
    FColumns.erase(FColumns.begin() + index);
    FView.ColumnsChanged();
}

void TListColumns::Clear() {
    FColumns.clear();
    FView.ColumnsChanged();
}

// --- Items -------------------------------------------------------------------------------------

TListItem::TListItem(TCustomListView& view) : FView(view) {
    // A changed sub-item shows at once, as a changed caption does.
    FSubItems.OnChange = [this](rtl::TStringList&) { Changed(ctText); };
}

void TListItem::Changed(TItemChange change) {
    if (FIndex < 0 || FView.FOwnerData) return;
    FView.Perform(LVM_REDRAWITEMS, FIndex, FIndex);
    FView.Change(this, change);
}

void TListItem::SetCaption(const std::string& value) {
    FCaption = value;
    Changed(ctText);
}

void TListItem::SetImageIndex(int value) {
    FImageIndex = value;
    Changed(ctImage);
}

bool TListItem::Selected() const {
    return FView.IsSelected(FIndex);
}

void TListItem::SetSelected(bool value) {
    if (FIndex < 0 || value == Selected()) return;
    if (!value) {
        FView.FSelected[FIndex] = 0;
        if (FView.FItemIndex == FIndex) FView.FItemIndex = -1;
        FView.SelectionChange(FIndex, false);
    } else if (!FView.FMultiSelect) {
        FView.SetItemIndex(FIndex);
    } else {
        FView.FSelected[FIndex] = 1;
        FView.FItemIndex = FIndex;
        FView.SelectionChange(FIndex, true);
    }
}

bool TListItem::Focused() const {
    return FIndex >= 0 && FView.FFocused == FIndex;
}

void TListItem::SetFocused(bool value) {
    if (value)
        FView.SetFocusedIndex(FIndex);
    else if (Focused())
        FView.SetFocusedIndex(-1);
}

TRect TListItem::DisplayRect(int code) const {
    return FView.ItemRect(FIndex, code);
}

bool TListItem::EditCaption() {
    return FView.StartEdit(FIndex);
}

void TListItem::MakeVisible() {
    FView.MakeVisible(FIndex);
}

void TListItem::Delete() {
    FView.FItems.Delete(FIndex);
}

void TListItem::AssignTo(TPersistent* Dest) const {
    auto* item = dynamic_cast<TListItem*>(Dest);
    if (!item) {
        TPersistent::AssignTo(Dest);
        return;
    }
    item->FCaption = FCaption;
    item->FSubItems.Assign(FSubItems);
    item->FImageIndex = FImageIndex;
    item->FData = FData;
    item->Changed(ctText);
}

TListItems::~TListItems() = default;

int TListItems::Count() const {
    return FView.FOwnerData ? FOwnerCount : int(FItems.size());
}

void TListItems::SetCount(int value) {
    FOwnerCount = std::max(value, 0);
    if (FView.FOwnerData) FView.ItemsChanged();
}

TListItem* TListItems::Add() {
    return Insert(int(FItems.size()));
}

TListItem* TListItems::Insert(int index) {
    if (FView.FOwnerData) throw rtl::EListError("Owner data lists have no items of their own");
    if (index < 0 || index > int(FItems.size())) throw IndexError(index);
    FItems.insert(FItems.begin() + index, std::unique_ptr<TListItem>(new TListItem(FView)));
    FView.FSelected.insert(
        FView.FSelected.begin() + std::min<std::size_t>(index, FView.FSelected.size()), 0);
    for (int* at : {&FView.FItemIndex, &FView.FFocused, &FView.FAnchor})
        if (*at >= index) ++*at;
    Renumber(index);
    FView.ItemsChanged();
    return FItems[index].get();
}

TListItem* TListItems::Item(int index) {
    if (index < 0 || index >= Count()) throw IndexError(index);
    return FView.FOwnerData ? FView.Fetch(index) : FItems[index].get();
}

void TListItems::Delete(int index) {
    if (FView.FOwnerData || index < 0 || index >= int(FItems.size())) throw IndexError(index);
    if (FView.FEditSession.Active() && FView.FEditIndex == index) FView.FEditSession.Finish(false);
    FItems.erase(FItems.begin() + index);
    FView.FSelected.erase(FView.FSelected.begin() + index);
    for (int* at : {&FView.FItemIndex, &FView.FFocused, &FView.FAnchor}) {
        if (*at == index)
            *at = -1;
        else if (*at > index)
            --*at;
    }
    Renumber(index);
    FView.ItemsChanged();
}

void TListItems::Clear() {
    FView.FEditSession.Finish(false);
    FItems.clear();
    FOwnerCount = 0;
    FView.FSelected.clear();
    FView.FItemIndex = FView.FFocused = FView.FAnchor = -1;
    FView.FTop = FView.FScrollX = FView.FScrollY = 0;
    FView.ItemsChanged();
}

void TListItems::BeginUpdate() {
    ++FUpdate;
}

void TListItems::EndUpdate() {
    if (FUpdate > 0 && --FUpdate == 0) FView.ItemsChanged();
}

void TListItems::Renumber(int from) {
    for (int i = std::max(from, 0); i < int(FItems.size()); ++i) FItems[i]->FIndex = i;
}

// --- The header window -----------------------------------------------------------------------

LRESULT ListViewHeaderProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    TCustomListView* view = ViewOfHeader(h);
    if (!view) return DefWindowProc(h, msg, wParam, lParam);
    auto& drag = view->FDrag;
    switch (msg) {
        case HDM_GETITEMCOUNT:
            return view->FColumns.Count();
        case HDM_GETITEMRECT: {
            const int index = int(wParam);
            if (index < 0 || index >= view->FColumns.Count() || !lParam) return 0;
            *ParamToPtr<TRect>(std::uint64_t(lParam)) = view->SectionRect(index);
            return 1;
        }
        case HDM_GETORDERARRAY: {
            const int n = std::min(int(wParam), view->FColumns.Count());
            int* order = ParamToPtr<int>(std::uint64_t(lParam));
            if (!order) return 0;
            for (int i = 0; i < n; ++i) order[i] = i;  // columns cannot be reordered
            return 1;
        }
        case HDM_HITTEST: {
            auto* info = ParamToPtr<HDHITTESTINFO>(std::uint64_t(lParam));
            if (!info) return -1;
            info->iItem = view->HeaderHitTest(info->pt, info->flags);
            return info->iItem;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            if (wParam) {
                view->PaintHeader(ParamToDc(wParam));
                return 0;
            }
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(h, ps)) {
                if ((view = ViewOfHeader(h))) view->PaintHeader(dc);
                EndPaint(h, ps);
            }
            return 0;
        }
        case WM_SETCURSOR: {
            TPoint p;
            GetCursorPos(p);
            ScreenToClient(h, p);
            UINT flags = 0;
            view->HeaderHitTest(p, flags);
            if (flags & HHT_ONDIVIDER) {
                SetCursor(IDC_SIZEWE);
                return 1;
            }
            return DefWindowProc(h, msg, wParam, lParam);
        }
        case WM_LBUTTONDOWN: {
            const TPoint p = PointFromParam(lParam);
            UINT flags = 0;
            const int index = view->HeaderHitTest(p, flags);
            drag = {};
            if (index >= 0 && (flags & HHT_ONDIVIDER)) {
                drag.Column = index;
                drag.StartX = p.X;
                drag.StartWidth = view->FColumns[index]->Width();
            } else if (index >= 0) {
                drag.Pressed = index;
            }
            SetCapture(h);
            InvalidateRect(h, nullptr, false);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (drag.Column >= 0 && drag.Column < view->FColumns.Count())
                view->FColumns[drag.Column]->SetWidth(drag.StartWidth + GET_X_LPARAM(lParam) -
                                                      drag.StartX);
            return 0;
        case WM_LBUTTONUP: {
            const int pressed = drag.Pressed;
            drag = {};
            if (GetCapture() == h) ReleaseCapture();
            InvalidateRect(h, nullptr, false);
            UINT flags = 0;
            const int index = view->HeaderHitTest(PointFromParam(lParam), flags);
            if (pressed >= 0 && index == pressed && !(flags & HHT_ONDIVIDER))
                view->ColClick(view->FColumns[index]);
            return 0;
        }
        case WM_CAPTURECHANGED:
            drag = {};
            return 0;
        default:
            return DefWindowProc(h, msg, wParam, lParam);
    }
}

// --- TCustomListView -------------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* AOwner)
    : TScrollingView(AOwner), FFetched(new TListItem(*this)) {
    SetBounds(0, 0, 250, 150);
    FEditSession.OnDone = [this](bool accepted, const std::string& text) {
        EditDone(accepted, text);
    };
}

TCustomListView::~TCustomListView() {
    FEditSession.OnDone = nullptr;
}

void TCustomListView::CreateParams(TCreateParams& p) {
    TScrollingView::CreateParams(p);
    p.Style |= WS_BORDER | WS_VSCROLL | WS_HSCROLL;
}

void TCustomListView::CreateWnd() {
    FHeader = {};
    TScrollingView::CreateWnd();
    if (FViewStyle == vsReport && FShowColumnHeaders) CreateHeader();
    UpdateScrollInfo();
}

void TCustomListView::DestroyWnd() {
    FEditSession.Finish(false);
    FHeader = {};
    TScrollingView::DestroyWnd();
}

void TCustomListView::CreateHeader() {
    TWndClass cls;
    cls.Name = kHeaderClass;
    cls.Proc = ListViewHeaderProc;
    RegisterClass(cls);  // false when it exists already
    // The view hears WM_PARENTNOTIFY while the header is made: a subclass can take it over.
    FHeader = CreateWindowEx(0, kHeaderClass, "", WS_CHILD | WS_VISIBLE, 0, 0, ClientWidth(),
                             HeaderHeight(), Handle());
    PlaceHeader();
}

void TCustomListView::PlaceHeader() {
    if (!FHeader || !IsWindow(FHeader)) return;
    SetWindowPos(FHeader, HWND(), 0, 0, ClientWidth(), HeaderHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(FHeader, nullptr, false);
}

int TCustomListView::RowHeight() const {
    const int font = std::abs(const_cast<TCustomListView*>(this)->Font().Height());
    int h = std::max(16, font + 5);
    if (FSmallImages) h = std::max(h, FSmallImages->Height() + 1);
    return h;
}

int TCustomListView::HeaderHeight() const {
    return FViewStyle == vsReport && FShowColumnHeaders ? RowHeight() + 2 : 0;
}

int TCustomListView::TotalColumnWidth() const {
    int w = 0;
    for (int i = 0; i < FColumns.Count(); ++i) w += FColumns[i]->Width();
    return w;
}

int TCustomListView::ColumnLeft(int column) const {
    int x = 0;
    for (int i = 0; i < column && i < FColumns.Count(); ++i) x += FColumns[i]->Width();
    return x;
}

TRect TCustomListView::SectionRect(int column) const {
    const int left = ColumnLeft(column) - FScrollX;
    return {left, 0, left + FColumns[column]->Width(), HeaderHeight()};
}

int TCustomListView::HeaderHitTest(TPoint p, UINT& flags) const {
    flags = HHT_NOWHERE;
    if (p.Y < 0 || p.Y >= HeaderHeight()) return -1;
    // The rightmost divider in reach wins, so a closed column can be found again.
    for (int i = FColumns.Count() - 1; i >= 0; --i) {
        const int right = SectionRect(i).Right;
        if (p.X >= right - kDividerSlop && p.X <= right + kDividerSlop) {
            flags = HHT_ONDIVIDER;
            return i;
        }
    }
    for (int i = 0; i < FColumns.Count(); ++i)
        if (SectionRect(i).Contains(p.X, p.Y)) {
            flags = HHT_ONHEADER;
            return i;
        }
    return -1;
}

int TCustomListView::CellWidth() const {
    switch (FViewStyle) {
        case vsIcon:
            return kIconCellWidth;
        case vsSmallIcon:
        case vsList:
            return kListCellWidth;
        default:
            return std::max(TotalColumnWidth(), 1);
    }
}

int TCustomListView::CellHeight() const {
    if (FViewStyle != vsIcon) return RowHeight();
    const int image = FLargeImages ? FLargeImages->Height() : 32;
    return image + 2 * RowHeight() + 6;
}

int TCustomListView::PerColumn() const {
    return std::max(1, ClientHeight() / RowHeight());
}

int TCustomListView::PerRow() const {
    return std::max(1, ClientWidth() / CellWidth());
}

int TCustomListView::ListColumnsShown() const {
    return std::max(1, ClientWidth() / kListCellWidth);
}

int TCustomListView::ContentHeight() const {
    const int rows = (FItems.Count() + PerRow() - 1) / PerRow();
    return rows * CellHeight();
}

int TCustomListView::CountPerPage() const {
    switch (FViewStyle) {
        case vsReport:
            return std::max(0, (ClientHeight() - HeaderHeight()) / RowHeight());
        case vsList:
            return PerColumn() * ListColumnsShown();
        default:
            return PerRow() * std::max(1, ClientHeight() / CellHeight());
    }
}

TRect TCustomListView::ItemRect(int index, int code) const {
    if (index < 0 || index >= FItems.Count()) return {};
    const int rh = RowHeight();
    TRect bounds;
    int image = 0;
    switch (FViewStyle) {
        case vsReport: {
            const int top = HeaderHeight() + (index - FTop) * rh;
            const int right = FColumns.Count() ? TotalColumnWidth() : ClientWidth();
            bounds = {-FScrollX, top, right - FScrollX, top + rh};
            image = FSmallImages ? FSmallImages->Width() + 2 : 0;
            if (code == LVIR_LABEL) {
                const int column0 = FColumns.Count() ? FColumns[0]->Width() : bounds.Width();
                return {bounds.Left + image, top, bounds.Left + column0, top + rh};
            }
            break;
        }
        case vsList: {
            const int per = PerColumn();
            const int x = (index / per - FTop) * kListCellWidth;
            const int y = (index % per) * rh;
            bounds = {x, y, x + kListCellWidth, y + rh};
            image = FSmallImages ? FSmallImages->Width() + 2 : 0;
            break;
        }
        default: {
            const int per = PerRow(), cw = CellWidth(), ch = CellHeight();
            const int x = (index % per) * cw - FScrollX;
            const int y = (index / per) * ch - FScrollY;
            bounds = {x, y, x + cw, y + ch};
            if (FViewStyle == vsIcon) {
                const int ih = FLargeImages ? FLargeImages->Height() : 32;
                if (code == LVIR_ICON) return {x, y + 2, x + cw, y + 2 + ih};
                if (code == LVIR_LABEL) return {x, y + 4 + ih, x + cw, y + ch};
                return bounds;
            }
            image = FSmallImages ? FSmallImages->Width() + 2 : 0;
        }
    }
    if (code == LVIR_ICON) return {bounds.Left, bounds.Top, bounds.Left + image, bounds.Bottom};
    if (code == LVIR_LABEL) return {bounds.Left + image, bounds.Top, bounds.Right, bounds.Bottom};
    return bounds;
}

int TCustomListView::IndexAt(int X, int Y) const {
    const int n = FItems.Count();
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return -1;
    int index = -1;
    switch (FViewStyle) {
        case vsReport:
            if (Y < HeaderHeight()) return -1;
            if (FColumns.Count() && X + FScrollX >= TotalColumnWidth()) return -1;
            index = FTop + (Y - HeaderHeight()) / RowHeight();
            break;
        case vsList: {
            const int row = Y / RowHeight();
            if (row >= PerColumn()) return -1;
            index = (FTop + X / kListCellWidth) * PerColumn() + row;
            break;
        }
        default: {
            const int column = (X + FScrollX) / CellWidth();
            if (column >= PerRow()) return -1;
            index = ((Y + FScrollY) / CellHeight()) * PerRow() + column;
        }
    }
    return index < n ? index : -1;
}

TListItem* TCustomListView::GetItemAt(int X, int Y) {
    const int index = IndexAt(X, Y);
    return index >= 0 ? FItems.Item(index) : nullptr;
}

TListItem* TCustomListView::Fetch(int index) {
    TListItem& item = *FFetched;
    item.FCaption.clear();
    item.FSubItems.Clear();
    item.FImageIndex = -1;
    item.FData = nullptr;
    item.FIndex = index;
    OwnerDataFetch(&item, {irText, irImage});
    return &item;
}

bool TCustomListView::OwnerDataFetch(TListItem* Item, TItemRequest) {
    if (!OnData) return false;
    OnData(this, Item);
    return true;
}

int TCustomListView::OwnerDataFind(const std::string& Text, int StartIndex) {
    int index = -1;
    if (OnDataFind) OnDataFind(this, Text, StartIndex, index);
    return index;
}

void TCustomListView::SetViewStyle(TViewStyle value) {
    if (FViewStyle == value) return;
    FEditSession.Finish(false);
    FViewStyle = value;
    FTop = FScrollX = FScrollY = 0;
    if (HandleAllocated()) {
        if (FHeader && IsWindow(FHeader) && value != vsReport) DestroyWindow(FHeader);
        if (value != vsReport) FHeader = {};
        if (value == vsReport && FShowColumnHeaders && !FHeader) CreateHeader();
    }
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
    if (FShowColumnHeaders == value) return;
    FShowColumnHeaders = value;
    RecreateWnd();
}

void TCustomListView::SetRowSelect(bool value) {
    FRowSelect = value;
    Invalidate();
}

void TCustomListView::SetGridLines(bool value) {
    FGridLines = value;
    Invalidate();
}

void TCustomListView::SetMultiSelect(bool value) {
    if (FMultiSelect == value) return;
    FMultiSelect = value;
    if (!value) ClearAllSelected(FItemIndex);
}

void TCustomListView::SetOwnerData(bool value) {
    if (FOwnerData == value) return;
    FItems.Clear();
    FOwnerData = value;
    ItemsChanged();
}

void TCustomListView::SetLargeImages(TCustomImageList* value) {
    Perform(LVM_SETIMAGELIST, LVSIL_NORMAL, PtrToParam(value));
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
    Perform(LVM_SETIMAGELIST, LVSIL_SMALL, PtrToParam(value));
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TScrollingView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FLargeImages) SetLargeImages(nullptr);
    if (AComponent == FSmallImages) SetSmallImages(nullptr);
}

void TCustomListView::ItemsChanged() {
    if (FItems.FUpdate > 0) return;
    const int n = FItems.Count();
    FSelected.resize(std::size_t(n), 0);
    for (int* at : {&FItemIndex, &FFocused, &FAnchor})
        if (*at >= n) *at = -1;
    UpdateScrollInfo();
    Scroll(0, 0);
    Invalidate();
}

void TCustomListView::ColumnsChanged() {
    UpdateScrollInfo();
    Invalidate();
    if (FHeader && IsWindow(FHeader)) InvalidateRect(FHeader, nullptr, false);
}

bool TCustomListView::IsSelected(int index) const {
    return index >= 0 && index < int(FSelected.size()) && FSelected[index];
}

int TCustomListView::SelCount() const {
    return int(std::count(FSelected.begin(), FSelected.end(), 1));
}

TListItem* TCustomListView::Selected() {
    return FItemIndex >= 0 ? FItems.Item(FItemIndex) : nullptr;
}

TListItem* TCustomListView::ItemFocused() {
    return FFocused >= 0 ? FItems.Item(FFocused) : nullptr;
}

TListItem* TCustomListView::TopItem() {
    if (FItems.Count() == 0) return nullptr;
    const int index = FViewStyle == vsReport ? FTop
                      : FViewStyle == vsList ? FTop * PerColumn()
                                             : (FScrollY / CellHeight()) * PerRow();
    return index < FItems.Count() ? FItems.Item(index) : nullptr;
}

int TCustomListView::VisibleRowCount() const {
    return CountPerPage();
}

void TCustomListView::SelectionChange(int index, bool selected) {
    Perform(LVM_REDRAWITEMS, index, index);
    if (OnSelectItem) OnSelectItem(this, FItems.Item(index), selected);
    // The handler may have cut the list.
    if (index < FItems.Count()) Change(FItems.Item(index), ctState);
}

void TCustomListView::Change(TListItem* Item, TItemChange) {
    if (OnChange) OnChange(this);
    (void)Item;
}

void TCustomListView::ClearAllSelected(int except) {
    const int keep = IsSelected(except) ? except : -1;
    if (FItemIndex != keep) FItemIndex = -1;
    for (int i = 0; i < int(FSelected.size()); ++i)
        if (FSelected[i] && i != keep) {
            FSelected[i] = 0;
            SelectionChange(i, false);
        }
    FItemIndex = keep;
}

void TCustomListView::SetItemIndex(int value) {
    if (value < -1 || value >= FItems.Count()) value = -1;
    if (value == FItemIndex && (value < 0 || SelCount() == 1)) return;
    ClearAllSelected(-1);
    if (value < 0) return;
    FSelected[value] = 1;
    FItemIndex = value;
    FFocused = FAnchor = value;
    SelectionChange(value, true);
}

void TCustomListView::ClearSelection() {
    ClearAllSelected(-1);
}

void TCustomListView::SetFocusedIndex(int index) {
    if (FFocused >= 0) Perform(LVM_REDRAWITEMS, FFocused, FFocused);
    FFocused = index;
    if (index >= 0) Perform(LVM_REDRAWITEMS, index, index);
}

void TCustomListView::UserSelect(int index, TShiftState shift) {
    if (!FMultiSelect || (!shift.Contains(ssCtrl) && !shift.Contains(ssShift)) || FAnchor < 0) {
        SetItemIndex(index);
        FAnchor = index;
    } else if (shift.Contains(ssCtrl)) {
        const bool on = !FSelected[index];
        FSelected[index] = on;
        if (on)
            FItemIndex = index;
        else if (FItemIndex == index)
            FItemIndex = -1;
        FAnchor = index;
        SelectionChange(index, on);
    } else {
        const int lo = std::min(FAnchor, index), hi = std::max(FAnchor, index);
        for (int i = 0; i < int(FSelected.size()); ++i)
            if (FSelected[i] && (i < lo || i > hi)) {
                FSelected[i] = 0;
                SelectionChange(i, false);
            }
        for (int i = lo; i <= hi; ++i)
            if (!FSelected[i]) {
                FSelected[i] = 1;
                FItemIndex = i;
                SelectionChange(i, true);
            }
        FItemIndex = index;
    }
    SetFocusedIndex(index);
    MakeVisible(index);
}

void TCustomListView::MakeVisible(int index) {
    if (index < 0 || index >= FItems.Count()) return;
    switch (FViewStyle) {
        case vsReport: {
            const int page = std::max(CountPerPage(), 1);
            if (index < FTop)
                Scroll(0, (index - FTop) * RowHeight());
            else if (index >= FTop + page)
                Scroll(0, (index - page + 1 - FTop) * RowHeight());
            break;
        }
        case vsList: {
            const int column = index / PerColumn(), shown = ListColumnsShown();
            if (column < FTop)
                Scroll((column - FTop) * kListCellWidth, 0);
            else if (column >= FTop + shown)
                Scroll((column - shown + 1 - FTop) * kListCellWidth, 0);
            break;
        }
        default: {
            const TRect r = ItemRect(index, LVIR_BOUNDS);
            if (r.Top < 0)
                Scroll(0, r.Top);
            else if (r.Bottom > ClientHeight())
                Scroll(0, r.Bottom - ClientHeight());
        }
    }
}

void TCustomListView::Scroll(int DX, int DY) {
    const int n = FItems.Count();
    switch (FViewStyle) {
        case vsReport: {
            const int rows = DY / RowHeight();
            FTop = std::clamp(FTop + rows, 0, std::max(n - CountPerPage(), 0));
            FScrollX =
                std::clamp(FScrollX + DX, 0, std::max(TotalColumnWidth() - ClientWidth(), 0));
            if (DX && FHeader) InvalidateRect(FHeader, nullptr, false);
            break;
        }
        case vsList: {
            const int columns = (n + PerColumn() - 1) / PerColumn();
            FTop = std::clamp(FTop + DX / kListCellWidth, 0,
                              std::max(columns - ListColumnsShown(), 0));
            break;
        }
        default:
            FScrollY = std::clamp(FScrollY + DY, 0, std::max(ContentHeight() - ClientHeight(), 0));
            FScrollX = 0;
    }
    UpdateScrollInfo();
    if (DX || DY) Invalidate();
}

void TCustomListView::UpdateScrollInfo() {
    if (!HandleAllocated()) return;
    const HWND h = Handle();
    const int n = FItems.Count();
    switch (FViewStyle) {
        case vsReport:
            detail::SetScrollState(h, SB_VERT, n - 1, CountPerPage(), FTop);
            detail::SetScrollState(h, SB_HORZ, TotalColumnWidth() - 1, ClientWidth(), FScrollX);
            break;
        case vsList: {
            const int columns = (n + PerColumn() - 1) / PerColumn();
            detail::SetScrollState(h, SB_VERT, 0, 0, 0);
            detail::SetScrollState(h, SB_HORZ, columns - 1, ListColumnsShown(), FTop);
            break;
        }
        default:
            detail::SetScrollState(h, SB_VERT, ContentHeight() - 1, ClientHeight(), FScrollY);
            detail::SetScrollState(h, SB_HORZ, 0, 0, 0);
    }
}

void TCustomListView::Resize() {
    PlaceHeader();
    Scroll(0, 0);
    TScrollingView::Resize();
}

void TCustomListView::ColClick(TListColumn* Column) {
    if (OnColumnClick) OnColumnClick(this, Column);
}

void TCustomListView::PaintHeader(HDC dc) {
    gfx::TCanvas c;
    detail::Prepare(c, dc, Font());
    TRect client;
    GetClientRect(FHeader, client);
    int right = -FScrollX;
    for (int i = 0; i < FColumns.Count(); ++i) {
        const TRect r = SectionRect(i);
        right = r.Right;
        if (r.IsEmpty()) continue;
        detail::DrawRaised(c, r, FDrag.Pressed == i);
        c.Brush().SetStyle(gfx::bsClear);
        c.Font().SetColor(Enabled() ? gfx::clBtnText : gfx::clGrayText);
        TRect t{r.Left + 5, r.Top, r.Right - 5, r.Bottom};
        const unsigned align = FColumns[i]->Alignment() == taRightJustify ? gfx::DT_RIGHT
                               : FColumns[i]->Alignment() == taCenter     ? gfx::DT_CENTER
                                                                          : gfx::DT_LEFT;
        c.DrawText(
            FColumns[i]->Caption(), t,
            align | gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    }
    if (right < client.Right)
        detail::DrawRaised(c, {right, 0, client.Right + 1, client.Bottom}, false);
    c.SetHandle(nullptr);
}

void TCustomListView::DrawItemRow(gfx::TCanvas& c, int index, const TRect& row) {
    TListItem* item = FItems.Item(index);
    const bool selected = IsSelected(index);
    const bool enabled = Enabled();
    const int rh = row.Height();
    if (FViewStyle == vsReport) {
        if (selected && FRowSelect) detail::DrawRow(c, row, "", true, enabled);
        const int width = ClientWidth();
        int x = row.Left;
        for (int col = 0; col < std::max(FColumns.Count(), 1); ++col) {
            const int cw = FColumns.Count() ? FColumns[col]->Width() : row.Width();
            const TRect cell{x, row.Top, x + cw, row.Bottom};
            x += cw;
            if (cell.Right <= 0 || cw <= 0) continue;
            if (cell.Left >= width) break;
            TRect text = cell;
            if (col == 0 && FSmallImages) {
                if (item->ImageIndex() >= 0)
                    FSmallImages->Draw(c, cell.Left + 1,
                                       cell.Top + (rh - FSmallImages->Height()) / 2,
                                       item->ImageIndex(), enabled);
                text.Left += FSmallImages->Width() + 2;
            }
            const std::string& s = col == 0 ? item->Caption()
                                   : col - 1 < item->SubItems().Count()
                                       ? item->SubItems().Get(col - 1)
                                       : std::string();
            const bool highlight = selected && (FRowSelect || col == 0);
            if (highlight && !FRowSelect) {
                TRect measure{text.Left, text.Top, text.Right, text.Bottom};
                c.DrawText(s, measure, gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_CALCRECT);
                text.Right = std::min(text.Right, measure.Right + 4);
            }
            detail::DrawRow(c, text, s, highlight, enabled, false, Font().Color());
        }
    } else {
        const TRect icon = ItemRect(index, LVIR_ICON);
        TRect label = ItemRect(index, LVIR_LABEL);
        TCustomImageList* images = FViewStyle == vsIcon ? FLargeImages : FSmallImages;
        if (images && item->ImageIndex() >= 0)
            images->Draw(c, icon.Left + (icon.Width() - images->Width()) / 2,
                         icon.Top + (icon.Height() - images->Height()) / 2, item->ImageIndex(),
                         enabled);
        if (FViewStyle == vsIcon) {
            c.Font().SetColor(!enabled   ? gfx::clGrayText
                              : selected ? gfx::clHighlightText
                                         : Font().Color());
            if (selected) {
                c.Brush().SetStyle(gfx::bsSolid);
                c.Brush().SetColor(enabled ? gfx::clHighlight : gfx::clBtnFace);
                c.FillRect(label);
            }
            c.Brush().SetStyle(gfx::bsClear);
            c.DrawText(
                item->Caption(), label,
                gfx::DT_CENTER | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
        } else {
            detail::DrawRow(c, label, item->Caption(), selected, enabled, false, Font().Color());
        }
    }
}

void TCustomListView::PaintWindow(HDC DC) {
    BeginViewPaint(DC);
    const TRect client = ClientRect();
    const int n = FItems.Count();
    int first = 0, last = -1;
    switch (FViewStyle) {
        case vsReport:
            first = FTop;
            last = FTop + (ClientHeight() - HeaderHeight()) / RowHeight();
            break;
        case vsList:
            first = FTop * PerColumn();
            last = first + PerColumn() * (ListColumnsShown() + 1) - 1;
            break;
        default:
            first = (FScrollY / CellHeight()) * PerRow();
            last = first + PerRow() * (ClientHeight() / CellHeight() + 2) - 1;
    }
    last = std::min(last, n - 1);
    for (int i = first; i <= last; ++i) {
        const TRect r = ItemRect(i, LVIR_BOUNDS);
        if (r.Top >= client.Bottom || r.Left >= client.Right) continue;
        DrawItemRow(FCanvas, i, r);
        if (i == FFocused && Focused()) {
            TRect focus = FViewStyle == vsReport && FRowSelect ? r : ItemRect(i, LVIR_LABEL);
            if (FViewStyle == vsReport && !FRowSelect && FColumns.Count())
                focus.Right = std::min(focus.Right, r.Left + FColumns[0]->Width());
            FCanvas.DrawFocusRect(focus);
        }
    }
    if (FGridLines && FViewStyle == vsReport) {
        FCanvas.Brush().SetStyle(gfx::bsSolid);
        FCanvas.Brush().SetColor(gfx::clBtnFace);
        const int rh = RowHeight();
        for (int y = HeaderHeight() + rh - 1; y < client.Bottom; y += rh)
            FCanvas.FillRect({client.Left, y, client.Right, y + 1});
        int x = -FScrollX;
        for (int i = 0; i < FColumns.Count(); ++i) {
            x += FColumns[i]->Width();
            if (x > 0 && x <= client.Right)
                FCanvas.FillRect({x - 1, HeaderHeight(), x, client.Bottom});
        }
    }
    EndViewPaint();
}

bool TCustomListView::StartEdit(int index) {
    if (FReadOnly || index < 0 || index >= FItems.Count()) return false;
    bool allow = true;
    if (OnEditing) OnEditing(this, FItems.Item(index), allow);
    if (!allow) return false;
    MakeVisible(index);
    FEditIndex = index;
    TRect r = ItemRect(index, LVIR_LABEL);
    r.Right = std::max(r.Right, r.Left + 40);
    return FEditSession.Start(this, r, FItems.Item(index)->Caption()) != nullptr;
}

void TCustomListView::EditDone(bool accepted, const std::string& text) {
    const TLVItem item{FEditIndex, accepted ? text.c_str() : nullptr};
    FEditIndex = -1;
    if (item.iItem >= 0 && item.iItem < FItems.Count()) Edit(item);
}

void TCustomListView::Edit(const TLVItem& Item) {
    if (!Item.pszText) return;
    TListItem* item = FItems.Item(Item.iItem);
    std::string s = Item.pszText;
    if (OnEdited) OnEdited(this, item, s);
    if (!FOwnerData) FItems.Item(Item.iItem)->SetCaption(s);
}

void TCustomListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !Focused()) SetFocus();
    // The double click's press comes after OnDblClick, which may have shown other rows (a folder
    // opened): the first press chose the item already, this one must not choose a row it never
    // pointed at.
    if (Shift.Contains(ssDouble) && Button == mbLeft) {
        TScrollingView::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Button == mbLeft || Button == mbRight) {
        const int index = IndexAt(X, Y);
        if (index < 0)
            ClearSelection();
        else if (Button == mbLeft || !IsSelected(index))
            UserSelect(index, Shift);
    }
    TScrollingView::MouseDown(Button, Shift, X, Y);
}

void TCustomListView::KeyDown(int& Key, TShiftState Shift) {
    TScrollingView::KeyDown(Key, Shift);
    const int n = FItems.Count();
    if (n == 0 || Key == 0) return;
    if (Key == VK_F1 + 1 && FFocused >= 0) {  // F2 renames
        StartEdit(FFocused);
        Key = 0;
        return;
    }
    const int current = std::max(FFocused, 0);
    const int page = std::max(CountPerPage(), 1);
    const bool grid = FViewStyle == vsIcon || FViewStyle == vsSmallIcon;
    const int across = FViewStyle == vsList ? PerColumn() : grid ? 1 : 0;
    const int down = grid ? PerRow() : 1;
    int target;
    switch (Key) {
        case VK_UP:
            target = current - down;
            break;
        case VK_DOWN:
            target = FFocused < 0 ? 0 : current + down;
            break;
        case VK_LEFT:
            if (!across) return;
            target = current - across;
            break;
        case VK_RIGHT:
            if (!across) return;
            target = current + across;
            break;
        case VK_PRIOR:
            target = current - page + 1;
            break;
        case VK_NEXT:
            target = current + page - 1;
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = n - 1;
            break;
        default:
            return;
    }
    UserSelect(std::clamp(target, 0, n - 1), Shift);
    Key = 0;
}

void TCustomListView::KeyPress(char32_t& Key) {
    TScrollingView::KeyPress(Key);
    if (FItems.Count() == 0 || !AddSearchChar(Key)) return;
    const std::string& search = SearchText();
    const int n = FItems.Count();
    const int start = FFocused < 0 ? 0 : search.size() > 1 ? FFocused : (FFocused + 1) % n;
    int found = -1;
    if (FOwnerData) {
        found = OwnerDataFind(search, start);
    } else {
        for (int k = 0; k < n && found < 0; ++k)
            if (detail::StartsWithText(FItems.FItems[(start + k) % n]->Caption(), search))
                found = (start + k) % n;
    }
    if (found >= 0 && found < n) UserSelect(found, {});
    Key = 0;
}

void TCustomListView::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case LVM_GETITEMCOUNT:
            m.Result = FItems.Count();
            return;
        case LVM_GETCOUNTPERPAGE:
            m.Result = CountPerPage();
            return;
        case LVM_GETTOPINDEX: {
            TListItem* top = TopItem();
            m.Result = top ? top->Index() : 0;
            return;
        }
        case LVM_GETITEMRECT: {
            auto* r = ParamToPtr<TRect>(std::uint64_t(m.LParam));
            const int index = int(m.WParam);
            if (!r || index < 0 || index >= FItems.Count()) {
                m.Result = 0;
                return;
            }
            *r = ItemRect(index, r->Left);
            m.Result = 1;
            return;
        }
        case LVM_GETNEXTITEM: {
            const int start = int(m.WParam);
            m.Result = -1;
            for (int i = start + 1; i < int(FSelected.size()); ++i)
                if (FSelected[i]) {
                    m.Result = i;
                    break;
                }
            return;
        }
        case LVM_ENSUREVISIBLE:
            MakeVisible(int(m.WParam));
            m.Result = 1;
            return;
        case LVM_SCROLL:
            Scroll(int(m.WParam), int(m.LParam));
            m.Result = 1;
            return;
        case LVM_REDRAWITEMS: {
            if (!HandleAllocated()) return;
            const int first = int(m.WParam), last = int(m.LParam);
            for (int i = std::max(first, 0); i <= last && i < FItems.Count(); ++i) {
                TRect r = ItemRect(i, LVIR_BOUNDS);
                r.Left = 0;
                r.Right = ClientWidth();
                InvalidateRect(Handle(), &r, false);
            }
            m.Result = 1;
            return;
        }
        case LVM_SETIMAGELIST: {
            TakeImageList(int(m.WParam) == LVSIL_NORMAL ? FLargeImages : FSmallImages, m);
            UpdateScrollInfo();
            PlaceHeader();
            Invalidate();
            return;
        }
        case LVM_GETHEADER:
            m.Result = HwndToParam(FHeader);
            return;
        case LVM_EDITLABEL: {
            const int index = int(m.WParam);
            if (index < 0) {
                FEditSession.Finish(false);
                m.Result = 0;
                return;
            }
            m.Result = StartEdit(index) && FEditSession.Editor()
                           ? HwndToParam(FEditSession.Editor()->Handle())
                           : 0;
            return;
        }
        case WM_VSCROLL:
        case WM_HSCROLL: {
            const int bar = m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
            const bool report = FViewStyle == vsReport, list = FViewStyle == vsList;
            const int line = bar == SB_HORZ && !list ? 8 : !report && !list ? CellHeight() / 2 : 1;
            const int target = detail::ScrollTarget(Handle(), bar, m.WParam, line);
            const int pos = GetScrollPos(Handle(), bar);
            if (bar == SB_VERT)
                Scroll(0, (target - pos) * (report ? RowHeight() : 1));
            else
                Scroll((target - pos) * (list ? kListCellWidth : 1), 0);
            return;
        }
        case WM_MOUSEWHEEL: {
            const int steps = -GET_WHEEL_DELTA_WPARAM(m.WParam) * 3 / 120;
            if (FViewStyle == vsList)
                Scroll(steps / 3 * kListCellWidth, 0);
            else
                Scroll(0, steps * RowHeight());
            m.Result = 1;
            return;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case CM_ENABLEDCHANGED:
            TScrollingView::Dispatch(m);
            if (FHeader && IsWindow(FHeader)) InvalidateRect(FHeader, nullptr, false);
            return;
        case CM_FONTCHANGED:
            TScrollingView::Dispatch(m);
            PlaceHeader();
            UpdateScrollInfo();
            return;
        default:
            TScrollingView::Dispatch(m);
    }
}

}  // namespace vcl
