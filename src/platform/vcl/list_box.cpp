// The plain list box.
#include "platform/vcl/list_box.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/view_support.h"

namespace vcl {

using namespace win;

TOwnerDrawState OwnerDrawStateFrom(UINT itemState) {
    TOwnerDrawState s;
    if (itemState & ODS_SELECTED) s += odSelected;
    if (itemState & ODS_DISABLED) s += odDisabled;
    if (itemState & ODS_FOCUS) s += odFocused;
    return s;
}

// --- TListBoxStrings -----------------------------------------------------------------------

int TListBoxStrings::Count() const {
    return FBox.Count();
}

std::string TListBoxStrings::Get(int index) const {
    std::string s;
    if (FBox.Perform(LB_GETTEXT, WPARAM(index), PtrToParam(&s)) == LB_ERR)
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return s;
}

void TListBoxStrings::Put(int index, const std::string& s) {
    const TObject* object = Objects(index);
    const bool selected = FBox.Selected(index);
    Delete(index);
    Insert(index, s);
    SetObject(index, const_cast<TObject*>(object));
    if (selected) FBox.SetSelected(index, true);
}

void TListBoxStrings::Insert(int index, const std::string& s) {
    if (FBox.Perform(LB_INSERTSTRING, WPARAM(index), PtrToParam(s.c_str())) < 0)
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TListBoxStrings::Delete(int index) {
    if (FBox.Perform(LB_DELETESTRING, WPARAM(index)) == LB_ERR)
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TListBoxStrings::Clear() {
    FBox.Perform(LB_RESETCONTENT);
}

int TListBoxStrings::Add(const std::string& s) {
    return int(FBox.Perform(LB_ADDSTRING, 0, PtrToParam(s.c_str())));
}

int TListBoxStrings::AddObject(const std::string& s, TObject* object) {
    const int index = Add(s);
    SetObject(index, object);
    return index;
}

TObject* TListBoxStrings::Objects(int index) const {
    const LRESULT data = FBox.Perform(LB_GETITEMDATA, WPARAM(index));
    return data == LB_ERR ? nullptr : reinterpret_cast<TObject*>(data);
}

void TListBoxStrings::SetObject(int index, TObject* object) {
    FBox.Perform(LB_SETITEMDATA, WPARAM(index), PtrToParam(object));
}

// --- TCustomListBox --------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* AOwner) : TScrollingView(AOwner) {
    SetControlStyle(ControlStyle() - csClickEvents + csOpaque);
    SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& p) {
    TScrollingView::CreateParams(p);
    p.Style |= WS_BORDER | (FColumns > 0 ? WS_HSCROLL : WS_VSCROLL);
}

void TCustomListBox::CreateWnd() {
    TScrollingView::CreateWnd();
    UpdateScrollInfo();
}

void TCustomListBox::Changed() {
    FTopIndex = std::clamp(FTopIndex, 0, std::max(Count() - 1, 0));
    FillPage();
    UpdateScrollInfo();
    Invalidate();
}

void TCustomListBox::FillPage() {
    // A list that grew or whose items shrank shows no empty rows under its last item while
    // items above the first are hidden: a list that fits is never scrolled.
    if (FColumns <= 0 && HandleAllocated())
        FTopIndex = std::min(FTopIndex, std::max(Count() - RowsPerPage(), 0));
}

int TCustomListBox::AddString(const std::string& s) {
    int index = Count();
    if (FSorted)
        index = int(std::upper_bound(FItems.begin(), FItems.end(), s,
                                     [](const std::string& a, const TItem& b) {
                                         return rtl::CompareText(a, b.Text) < 0;
                                     }) -
                    FItems.begin());
    return InsertString(index, s);
}

int TCustomListBox::InsertString(int index, const std::string& s) {
    if (index < 0) index = Count();
    if (index > Count()) return LB_ERR;
    FItems.insert(FItems.begin() + index, TItem{s});
    if (FItemIndex >= index) ++FItemIndex;
    if (FAnchor >= index) ++FAnchor;
    Changed();
    return index;
}

int TCustomListBox::FindString(int start, const std::string& text) const {
    const int n = Count();
    if (n == 0) return LB_ERR;
    if (start < 0 || start >= n) start = -1;
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k) % n;
        if (detail::StartsWithText(FItems[i].Text, text)) return i;
    }
    return LB_ERR;
}

void TCustomListBox::SetItemIndex(int value) {
    Perform(LB_SETCURSEL, WPARAM(value));
}

void TCustomListBox::SelectRow(int index) {
    if (index < -1 || index >= Count()) index = -1;
    if (!FMultiSelect)
        for (TItem& item : FItems) item.Selected = false;
    FItemIndex = index;
    if (index >= 0) {
        FItems[index].Selected = FItems[index].Selected || !FMultiSelect;
        MakeVisible(index);
    }
    Invalidate();
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= Count()) throw rtl::EListError("List index out of bounds");
    return FMultiSelect ? FItems[index].Selected : index == FItemIndex;
}

void TCustomListBox::SetSelected(int index, bool value) {
    if (index < 0 || index >= Count()) throw rtl::EListError("List index out of bounds");
    if (FMultiSelect) {
        Perform(LB_SETSEL, value, index);
    } else if (value) {
        SetItemIndex(index);
    } else if (FItemIndex == index) {
        SetItemIndex(-1);
    }
}

int TCustomListBox::SelCount() const {
    if (!FMultiSelect) return -1;
    return int(
        std::count_if(FItems.begin(), FItems.end(), [](const TItem& i) { return i.Selected; }));
}

void TCustomListBox::ClearSelection() {
    if (FMultiSelect)
        Perform(LB_SETSEL, 0, -1);
    else
        SetItemIndex(-1);
}

void TCustomListBox::SelectAll() {
    if (FMultiSelect) Perform(LB_SETSEL, 1, -1);
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (FMultiSelect == value) return;
    FMultiSelect = value;
    for (TItem& item : FItems) item.Selected = false;
    if (FItemIndex >= 0 && !value) FItems[FItemIndex].Selected = true;
    Invalidate();
}

void TCustomListBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    if (!value) return;
    std::stable_sort(FItems.begin(), FItems.end(), [](const TItem& a, const TItem& b) {
        return rtl::CompareText(a.Text, b.Text) < 0;
    });
    FItemIndex = -1;
    Changed();
}

void TCustomListBox::SetColumns(int value) {
    value = std::max(value, 0);
    if (FColumns == value) return;
    FColumns = value;
    FTopIndex = 0;
    RecreateWnd();
    Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

void TCustomListBox::SetItemHeight(int value) {
    Perform(LB_SETITEMHEIGHT, 0, value);
}

void TCustomListBox::SetTopIndex(int value) {
    Perform(LB_SETTOPINDEX, WPARAM(value));
}

int TCustomListBox::RowsPerPage() const {
    return std::max(1, ClientHeight() / std::max(FItemHeight, 1));
}

int TCustomListBox::PerColumn() const {
    return FColumns > 0 ? RowsPerPage() : std::max(Count(), 1);
}

int TCustomListBox::ColumnWidth() const {
    return FColumns > 0 ? std::max(1, ClientWidth() / FColumns) : ClientWidth();
}

TRect TCustomListBox::ItemRect(int index) const {
    if (index < 0 || index >= Count()) return {};
    if (FColumns <= 0) {
        const int top = (index - FTopIndex) * FItemHeight;
        return {0, top, ClientWidth(), top + FItemHeight};
    }
    const int per = PerColumn(), cw = ColumnWidth();
    const int column = (index / per) - (FTopIndex / per);
    const int row = index % per;
    return {column * cw, row * FItemHeight, (column + 1) * cw, (row + 1) * FItemHeight};
}

int TCustomListBox::ItemAtPos(TPoint pos, bool Existing) const {
    const TRect client = ClientRect();
    if (client.Contains(pos.X, pos.Y)) {
        int index;
        if (FColumns <= 0) {
            index = FTopIndex + pos.Y / std::max(FItemHeight, 1);
        } else {
            const int per = PerColumn(), row = pos.Y / std::max(FItemHeight, 1);
            index = row < per ? (FTopIndex / per + pos.X / ColumnWidth()) * per + row : Count();
        }
        if (index < Count()) return index;
    }
    return Existing ? -1 : Count();
}

void TCustomListBox::MakeVisible(int index) {
    if (index < 0) return;
    if (FColumns <= 0) {
        const int rows = RowsPerPage();
        if (index < FTopIndex)
            FTopIndex = index;
        else if (index >= FTopIndex + rows)
            FTopIndex = index - rows + 1;
    } else {
        const int per = PerColumn();
        const int column = index / per, first = FTopIndex / per;
        if (column < first)
            FTopIndex = column * per;
        else if (column >= first + FColumns)
            FTopIndex = (column - FColumns + 1) * per;
    }
    UpdateScrollInfo();
}

void TCustomListBox::UpdateScrollInfo() {
    if (!HandleAllocated()) return;
    if (FColumns <= 0) {
        // A list that fits reports an empty range, so an outside bar knows there is nothing
        // to scroll.
        const bool fits = Count() <= RowsPerPage();
        detail::SetScrollState(Handle(), SB_VERT, fits ? 0 : Count() - 1, RowsPerPage(),
                               fits ? 0 : FTopIndex);
    } else {
        const int per = PerColumn();
        const int columns = (Count() + per - 1) / per;
        detail::SetScrollState(Handle(), SB_HORZ, columns - 1, FColumns, FTopIndex / per);
    }
}

void TCustomListBox::Scroll(int bar, int /*code*/, int pos) {
    if (FColumns <= 0 && bar == SB_VERT)
        SetTopIndex(pos);
    else if (FColumns > 0 && bar == SB_HORZ)
        SetTopIndex(pos * PerColumn());
}

TOwnerDrawState TCustomListBox::StateOf(int index) const {
    TOwnerDrawState s;
    if (FMultiSelect ? FItems[index].Selected : index == FItemIndex) s += odSelected;
    if (index == FItemIndex && Focused()) s += odFocused;
    if (!Enabled()) s += odDisabled;
    return s;
}

void TCustomListBox::PaintWindow(HDC DC) {
    BeginViewPaint(DC);
    const TRect client = ClientRect();
    const int per = PerColumn();
    const int shown = FColumns <= 0 ? RowsPerPage() + 1 : per * (FColumns + 1);
    const int last = std::min(Count() - 1, FTopIndex + shown - 1);
    for (int i = FTopIndex; i <= last; ++i) {
        const TRect r = ItemRect(i);
        if (r.Top >= client.Bottom || r.Left >= client.Right) continue;
        DRAWITEMSTRUCT dis;
        dis.itemID = UINT(i);
        dis.hDC = DC;
        dis.rcItem = r;
        dis.hwndItem = Handle();
        dis.itemData = FItems[i].Data;
        const TOwnerDrawState state = StateOf(i);
        dis.itemState = (state.Contains(odSelected) ? ODS_SELECTED : 0) |
                        (state.Contains(odFocused) ? ODS_FOCUS : 0) |
                        (state.Contains(odDisabled) ? ODS_DISABLED : 0);
        if (FStyle == lbOwnerDrawFixed) {
            Perform(CN_DRAWITEM, 0, PtrToParam(&dis));
        } else {
            DrawItem(i, r, state);
            if (state.Contains(odFocused)) FCanvas.DrawFocusRect(r);
        }
    }
    EndViewPaint();
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    detail::DrawRow(FCanvas, Rect, FItems[Index].Text, State.Contains(odSelected), Enabled());
}

void TCustomListBox::UserSelect(int index, TShiftState shift, bool click) {
    if (Count() == 0) return;
    index = std::clamp(index, 0, Count() - 1);
    const int before = FItemIndex;
    std::vector<bool> old;
    for (const TItem& item : FItems) old.push_back(item.Selected);
    if (!FMultiSelect) {
        SelectRow(index);
    } else if (FExtendedSelect && shift.Contains(ssShift) && FAnchor >= 0) {
        if (!shift.Contains(ssCtrl))
            for (TItem& item : FItems) item.Selected = false;
        for (int i = std::min(FAnchor, index); i <= std::max(FAnchor, index); ++i)
            FItems[i].Selected = true;
        FItemIndex = index;
    } else if (FExtendedSelect && !shift.Contains(ssCtrl)) {
        for (TItem& item : FItems) item.Selected = false;
        FItems[index].Selected = true;
        FItemIndex = FAnchor = index;
    } else {
        if (click) FItems[index].Selected = !FItems[index].Selected;
        FItemIndex = FAnchor = index;
    }
    if (!FMultiSelect) FAnchor = index;
    MakeVisible(index);
    Invalidate();
    bool changed = before != FItemIndex;
    for (int i = 0; i < Count() && !changed; ++i) changed = old[i] != FItems[i].Selected;
    if (changed || click) Click();
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !Focused()) SetFocus();
    if (Button == mbLeft) {
        const int index = ItemAtPos({X, Y}, true);
        if (index >= 0) UserSelect(index, Shift, true);
    }
    TWinControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TWinControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::KeyDown(int& Key, TShiftState Shift) {
    TWinControl::KeyDown(Key, Shift);
    if (Count() == 0) return;
    const int current = std::max(FItemIndex, 0);
    const int rows = RowsPerPage();
    const int step = FColumns > 0 ? PerColumn() : 1;
    int target = -1;
    switch (Key) {
        case VK_UP:
            target = FItemIndex < 0 ? 0 : current - 1;
            break;
        case VK_DOWN:
            target = FItemIndex < 0 ? 0 : current + 1;
            break;
        case VK_LEFT:
            if (FColumns > 0) target = current - step;
            break;
        case VK_RIGHT:
            if (FColumns > 0) target = current + step;
            break;
        case VK_PRIOR:
            target = current - rows + 1;
            break;
        case VK_NEXT:
            target = current + rows - 1;
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = Count() - 1;
            break;
        default:
            return;
    }
    if (target < 0 && Key != VK_UP && Key != VK_LEFT && Key != VK_PRIOR) return;
    UserSelect(std::max(target, 0), Shift, false);
    Key = 0;
}

void TCustomListBox::KeyPress(char32_t& Key) {
    TWinControl::KeyPress(Key);
    if (!FAutoComplete || !AddSearchChar(Key)) return;
    const int start = SearchText().size() > 1 ? FItemIndex - 1 : FItemIndex;
    const int found = FindString(FItemIndex < 0 ? -1 : start, SearchText());
    if (found >= 0 && found != FItemIndex) UserSelect(found, {}, false);
    Key = 0;
}

void TCustomListBox::Resize() {
    FillPage();
    UpdateScrollInfo();
    TWinControl::Resize();
}

void TCustomListBox::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case LB_ADDSTRING:
            m.Result = AddString(m.LParam ? ParamToPtr<const char>(std::uint64_t(m.LParam)) : "");
            return;
        case LB_INSERTSTRING:
            m.Result = InsertString(
                int(m.WParam), m.LParam ? ParamToPtr<const char>(std::uint64_t(m.LParam)) : "");
            return;
        case LB_DELETESTRING: {
            const int index = int(m.WParam);
            if (index < 0 || index >= Count()) {
                m.Result = LB_ERR;
                return;
            }
            FItems.erase(FItems.begin() + index);
            if (FItemIndex == index)
                FItemIndex = -1;
            else if (FItemIndex > index)
                --FItemIndex;
            if (FAnchor >= index) FAnchor = FAnchor == index ? -1 : FAnchor - 1;
            Changed();
            m.Result = Count();
            return;
        }
        case LB_RESETCONTENT:
            FItems.clear();
            FItemIndex = FAnchor = -1;
            FTopIndex = 0;
            Changed();
            return;
        case LB_GETCOUNT:
            m.Result = Count();
            return;
        case LB_GETTEXT:
        case LB_GETTEXTLEN: {
            const int index = int(m.WParam);
            if (index < 0 || index >= Count()) {
                m.Result = LB_ERR;
                return;
            }
            if (m.Msg == LB_GETTEXT && m.LParam)
                *ParamToPtr<std::string>(std::uint64_t(m.LParam)) = FItems[index].Text;
            m.Result = LRESULT(FItems[index].Text.size());
            return;
        }
        case LB_GETITEMDATA:
        case LB_SETITEMDATA: {
            const int index = int(m.WParam);
            if (index < 0 || index >= Count()) {
                m.Result = LB_ERR;
                return;
            }
            if (m.Msg == LB_SETITEMDATA) FItems[index].Data = std::uintptr_t(m.LParam);
            m.Result = LRESULT(FItems[index].Data);
            return;
        }
        case LB_SETCURSEL: {
            const int index = int(m.WParam);
            SelectRow(index);
            m.Result = index >= 0 && index < Count() ? index : LB_ERR;
            return;
        }
        case LB_GETCURSEL:
            m.Result = FItemIndex;
            return;
        case LB_SETCARETINDEX:
            if (int(m.WParam) >= 0 && int(m.WParam) < Count()) {
                FItemIndex = int(m.WParam);
                MakeVisible(FItemIndex);
                Invalidate();
            }
            return;
        case LB_GETCARETINDEX:
            m.Result = FItemIndex;
            return;
        case LB_SETSEL: {
            const int index = int(m.LParam);
            if (!FMultiSelect || index >= Count()) {
                m.Result = LB_ERR;
                return;
            }
            if (index < 0)
                for (TItem& item : FItems) item.Selected = m.WParam != 0;
            else
                FItems[index].Selected = m.WParam != 0;
            Invalidate();
            return;
        }
        case LB_GETSEL: {
            const int index = int(m.WParam);
            m.Result = index < 0 || index >= Count() ? LB_ERR : Selected(index);
            return;
        }
        case LB_GETSELCOUNT:
            m.Result = SelCount();
            return;
        case LB_FINDSTRING:
            m.Result = FindString(int(m.WParam),
                                  m.LParam ? ParamToPtr<const char>(std::uint64_t(m.LParam)) : "");
            return;
        case LB_GETTOPINDEX:
            m.Result = FTopIndex;
            return;
        case LB_SETTOPINDEX: {
            int top = std::clamp(int(m.WParam), 0, std::max(Count() - 1, 0));
            if (FColumns <= 0) {
                top = std::min(top, std::max(Count() - RowsPerPage(), 0));
            } else {
                const int per = PerColumn();
                const int columns = (Count() + per - 1) / per;
                top = std::min(top / per, std::max(columns - FColumns, 0)) * per;
            }
            if (top != FTopIndex) {
                FTopIndex = top;
                Invalidate();
            }
            UpdateScrollInfo();
            return;
        }
        case LB_GETITEMRECT: {
            const TRect r = ItemRect(int(m.WParam));
            if (m.LParam) *ParamToPtr<TRect>(std::uint64_t(m.LParam)) = r;
            m.Result = r.IsEmpty() ? LB_ERR : 1;
            return;
        }
        case LB_SETITEMHEIGHT:
            FItemHeight = std::max(1, int(m.LParam));
            Changed();
            return;
        case LB_GETITEMHEIGHT:
            m.Result = FItemHeight;
            return;
        case LB_ITEMFROMPOINT: {
            const int index = ItemAtPos(PointFromParam(m.LParam), false);
            m.Result = index < Count() ? index : MAKELPARAM(std::max(Count() - 1, 0), 1);
            return;
        }
        case CN_DRAWITEM: {
            const auto* dis = ParamToPtr<DRAWITEMSTRUCT>(std::uint64_t(m.LParam));
            if (!dis || int(dis->itemID) >= Count()) return;
            gfx::TCanvas* canvas = &FCanvas;
            const bool own = !canvas->HandleAllocated();
            if (own) detail::Prepare(FCanvas, dis->hDC, Font());
            const TOwnerDrawState state = OwnerDrawStateFrom(dis->itemState);
            DrawItem(int(dis->itemID), dis->rcItem, state);
            if (state.Contains(odFocused)) FCanvas.DrawFocusRect(dis->rcItem);
            if (own) FCanvas.SetHandle(nullptr);
            m.Result = 1;
            return;
        }
        case WM_VSCROLL:
        case WM_HSCROLL: {
            const int bar = m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
            Scroll(bar, LOWORD(m.WParam), detail::ScrollTarget(Handle(), bar, m.WParam));
            return;
        }
        case WM_MOUSEWHEEL: {
            const int lines = -GET_WHEEL_DELTA_WPARAM(m.WParam) * 3 / 120;
            SetTopIndex(FTopIndex + lines * (FColumns > 0 ? PerColumn() : 1));
            m.Result = 1;
            return;
        }
        default:
            TScrollingView::Dispatch(m);
    }
}

}  // namespace vcl
