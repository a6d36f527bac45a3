// The plain tree view.
#include "platform/vcl/tree_view.h"

#include <algorithm>

#include "platform/gfx/graphics.h"
#include "platform/gfx/text.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"
#include "platform/vcl/view_support.h"
#include "platform/win/scroll_info.h"
#include "platform/win/win.h"

namespace vcl {

using namespace win;

namespace {

constexpr int kButton = 9;  // the expand button's square

// Depth-first order of the nodes below `list`, shown rows only when asked.
void Flatten(const std::vector<std::unique_ptr<TTreeNode>>& list, bool shownOnly,
             std::vector<TTreeNode*>& out);

}  // namespace

// --- TTreeNode -------------------------------------------------------------------------------

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const {
    return &FOwner.FView;
}

void TTreeNode::Changed() {
    FOwner.FView.Invalidate();
}

void TTreeNode::SetText(const std::string& value) {
    FText = value;
    FOwner.FView.UpdateScrollInfo();
    Changed();
}

void TTreeNode::SetImageIndex(int value) {
    FImageIndex = value;
    Changed();
}

void TTreeNode::SetSelectedIndex(int value) {
    FSelectedIndex = value;
    Changed();
}

void TTreeNode::SetHasChildren(bool value) {
    FHasChildren = value;
    Changed();
}

void TTreeNode::SetExpanded(bool value) {
    if (value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
    FOwner.FView.DoExpand(this, true);
    if (Recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    FOwner.FView.DoExpand(this, false);
    if (Recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Collapse(true);
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = FParent; p; p = p->FParent) ++level;
    return level;
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count())
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FChildren[index].get();
}

int TTreeNode::Index() const {
    const auto& list = FOwner.ListOf(FParent);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return int(i);
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    const auto& list = FOwner.ListOf(FParent);
    const int i = Index();
    return i >= 0 && i + 1 < int(list.size()) ? list[i + 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    const auto& list = FOwner.ListOf(FParent);
    const int i = Index();
    return i > 0 ? list[i - 1].get() : nullptr;
}

bool TTreeNode::Selected() const {
    return FOwner.FView.FSelected == this;
}

void TTreeNode::SetSelected(bool value) {
    if (value)
        FOwner.FView.SetSelected(this);
    else if (Selected())
        FOwner.FView.SetSelected(nullptr);
}

bool TTreeNode::IsVisible() const {
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) return false;
    return true;
}

void TTreeNode::MakeVisible() {
    for (TTreeNode* p = FParent; p; p = p->FParent)
        if (!p->FExpanded) p->Expand(false);
    FOwner.FView.MakeVisible(this);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
    return FOwner.FView.NodeRect(this, TextOnly);
}

bool TTreeNode::EditText() {
    return FOwner.FView.StartEdit(this);
}

void TTreeNode::Delete() {
    FOwner.Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!FChildren.empty()) FOwner.Delete(FChildren.back().get());
}

// --- TTreeNodes ------------------------------------------------------------------------------

namespace {

void Flatten(const std::vector<std::unique_ptr<TTreeNode>>& list, bool shownOnly,
             std::vector<TTreeNode*>& out) {
    for (const auto& root : list) {
        out.push_back(root.get());
        if (!root->Count() || (shownOnly && !root->Expanded())) continue;
        std::vector<std::pair<TTreeNode*, int>> work{{root.get(), 0}};
        while (!work.empty()) {
            auto& [node, next] = work.back();
            if (next >= node->Count()) {
                work.pop_back();
                continue;
            }
            TTreeNode* child = node->Item(next++);
            out.push_back(child);
            if (child->Count() && (!shownOnly || child->Expanded())) work.push_back({child, 0});
        }
    }
}

}  // namespace

TTreeNodes::~TTreeNodes() = default;

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::ListOf(TTreeNode* parent) {
    return parent ? parent->FChildren : FRoots;
}

int TTreeNodes::Count() const {
    std::vector<TTreeNode*> all;
    Flatten(FRoots, false, all);
    return int(all.size());
}

TTreeNode* TTreeNodes::Item(int index) const {
    std::vector<TTreeNode*> all;
    Flatten(FRoots, false, all);
    if (index < 0 || index >= int(all.size()))
        throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return all[index];
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return FRoots.empty() ? nullptr : FRoots.front().get();
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const std::string& s, void* data) {
    auto& list = ListOf(parent);
    index = std::clamp(index, 0, int(list.size()));
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(*this, parent));
    node->FText = s;
    node->FData = data;
    TTreeNode* raw = node.get();
    list.insert(list.begin() + index, std::move(node));
    if (parent) parent->FHasChildren = true;
    FView.StructureChanged();
    return raw;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& S) {
    return AddObject(Sibling, S, nullptr);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Data) {
    TTreeNode* parent = Sibling ? Sibling->FParent : nullptr;
    return InsertAt(parent, int(ListOf(parent).size()), S, Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
    return InsertAt(Sibling ? Sibling->FParent : nullptr, 0, S, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& S) {
    return AddChildObject(Parent, S, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Data) {
    return InsertAt(Parent, int(ListOf(Parent).size()), S, Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) {
    return InsertAt(Parent, 0, S, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::string& S) {
    if (!Sibling) return Add(nullptr, S);
    return InsertAt(Sibling->FParent, Sibling->Index(), S, nullptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node) return;
    FView.NodeDeleting(Node);
    auto& list = ListOf(Node->FParent);
    const auto at =
        std::find_if(list.begin(), list.end(), [Node](const auto& p) { return p.get() == Node; });
    if (at == list.end()) return;
    TTreeNode* parent = Node->FParent;
    list.erase(at);
    if (parent && parent->FChildren.empty()) {
        parent->FHasChildren = false;
        parent->FExpanded = false;
    }
    FView.StructureChanged();
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (!FRoots.empty()) Delete(FRoots.back().get());
    EndUpdate();
}

void TTreeNodes::BeginUpdate() {
    ++FUpdate;
}

void TTreeNodes::EndUpdate() {
    if (FUpdate > 0 && --FUpdate == 0) FView.StructureChanged();
}

// --- TCustomTreeView -------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TScrollingView(AOwner) {
    SetBounds(0, 0, 121, 97);
    FEditSession.OnDone = [this](bool accepted, const std::string& text) {
        EditDone(accepted, text);
    };
}

TCustomTreeView::~TCustomTreeView() {
    FEditSession.OnDone = nullptr;
    // Deletion hooks must not run into a half-destroyed view.
    OnDeletion = nullptr;
    ++FItems.FUpdate;
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
    TScrollingView::CreateParams(p);
    p.Style |= WS_BORDER | WS_VSCROLL | WS_HSCROLL;
}

void TCustomTreeView::CreateWnd() {
    TScrollingView::CreateWnd();
    UpdateScrollInfo();
}

void TCustomTreeView::DestroyWnd() {
    FEditSession.Finish(false);
    TScrollingView::DestroyWnd();
}

void TCustomTreeView::StructureChanged() {
    FRowsValid = false;
    if (FItems.FUpdate > 0) return;
    ScrollTo(FTopRow, FScrollX);
    Invalidate();
}

const std::vector<TTreeNode*>& TCustomTreeView::Rows() const {
    if (!FRowsValid) {
        FRows.clear();
        Flatten(FItems.FRoots, true, FRows);
        FRowsValid = true;
    }
    return FRows;
}

int TCustomTreeView::ShownCount() const {
    return int(Rows().size());
}

int TCustomTreeView::RowOf(const TTreeNode* node) const {
    const auto& rows = Rows();
    const auto at = std::find(rows.begin(), rows.end(), node);
    return at == rows.end() ? -1 : int(at - rows.begin());
}

int TCustomTreeView::RowHeight() const {
    const int font = std::abs(const_cast<TCustomTreeView*>(this)->Font().Height());
    int h = std::max(16, font + 5);
    if (FImages) h = std::max(h, FImages->Height() + 1);
    return h;
}

int TCustomTreeView::VisibleCount() const {
    return std::max(0, ClientHeight() / RowHeight());
}

int TCustomTreeView::NodeLeft(const TTreeNode* node) const {
    const int level = node->Level() + (FShowRoot ? 1 : 0);
    int x = 2 + level * FIndent;
    if (FImages) x += FImages->Width() + 2;
    return x;
}

int TCustomTreeView::TextWidth(const TTreeNode* node) const {
    return detail::MeasureText(const_cast<TCustomTreeView*>(this)->Font(), node->Text()) + 4;
}

int TCustomTreeView::ContentWidth() const {
    int width = 0;
    for (const TTreeNode* node : Rows()) width = std::max(width, NodeLeft(node) + TextWidth(node));
    return width;
}

TRect TCustomTreeView::NodeRect(const TTreeNode* node, bool textOnly) const {
    const int row = node ? RowOf(node) : -1;
    if (row < 0) return {};
    const int top = (row - FTopRow) * RowHeight();
    if (!textOnly) return {0, top, ClientWidth(), top + RowHeight()};
    const int left = NodeLeft(node) - FScrollX;
    return {left, top, left + TextWidth(node), top + RowHeight()};
}

TRect TCustomTreeView::ButtonRect(const TTreeNode* node) const {
    const TRect row = NodeRect(node, false);
    const int level = node->Level() + (FShowRoot ? 1 : 0);
    if (level == 0) return {};
    const int cx = 2 + (level - 1) * FIndent + FIndent / 2 - FScrollX;
    const int cy = (row.Top + row.Bottom) / 2;
    return {cx - kButton / 2, cy - kButton / 2, cx - kButton / 2 + kButton,
            cy - kButton / 2 + kButton};
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return nullptr;
    const int row = FTopRow + Y / RowHeight();
    const auto& rows = Rows();
    return row < int(rows.size()) ? rows[row] : nullptr;
}

TTreeNode* TCustomTreeView::TopItem() const {
    const auto& rows = Rows();
    return FTopRow < int(rows.size()) ? rows[FTopRow] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* value) {
    const int row = RowOf(value);
    if (row >= 0) ScrollTo(row, FScrollX);
}

void TCustomTreeView::ScrollTo(int row, int x) {
    const int shown = ShownCount();
    row = std::clamp(row, 0, std::max(shown - VisibleCount(), 0));
    x = std::clamp(x, 0, std::max(ContentWidth() - ClientWidth(), 0));
    if (row != FTopRow || x != FScrollX) {
        FTopRow = row;
        FScrollX = x;
        Invalidate();
    }
    UpdateScrollInfo();
}

void TCustomTreeView::UpdateScrollInfo() {
    if (!HandleAllocated() || FItems.FUpdate > 0) return;
    detail::SetScrollState(Handle(), SB_VERT, ShownCount() - 1, VisibleCount(), FTopRow);
    detail::SetScrollState(Handle(), SB_HORZ, ContentWidth() - 1, ClientWidth(), FScrollX);
}

void TCustomTreeView::MakeVisible(const TTreeNode* node) {
    const int row = RowOf(node);
    if (row < 0) return;
    const int page = std::max(VisibleCount(), 1);
    if (row < FTopRow)
        ScrollTo(row, FScrollX);
    else if (row >= FTopRow + page)
        ScrollTo(row - page + 1, FScrollX);
}

void TCustomTreeView::Resize() {
    ScrollTo(FTopRow, FScrollX);
    TScrollingView::Resize();
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, Node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
    if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
    if (OnCollapsed) OnCollapsed(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion) OnDeletion(this, Node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
    if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
    if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

void TCustomTreeView::SetSelected(TTreeNode* value) {
    if (value == FSelected) return;
    if (!CanChange(value)) return;
    FSelected = value;
    if (value) MakeVisible(value);
    Invalidate();
    Change(value);
}

void TCustomTreeView::DoExpand(TTreeNode* node, bool expand) {
    if (!node || node->FExpanded == expand) return;
    if (expand) {
        if (!node->FHasChildren && node->FChildren.empty()) return;
        if (!CanExpand(node)) return;
        // The handler may have filled the node, or found it empty.
        if (node->FChildren.empty()) {
            node->FHasChildren = false;
            Invalidate();
            return;
        }
        node->FExpanded = true;
        StructureChanged();
        Expand(node);
    } else {
        if (!CanCollapse(node)) return;
        node->FExpanded = false;
        // A selection inside the closed branch moves up to the node.
        for (TTreeNode* p = FSelected ? FSelected->FParent : nullptr; p; p = p->FParent)
            if (p == node) {
                FSelected = node;
                Change(node);
                break;
            }
        StructureChanged();
        Collapse(node);
    }
}

void TCustomTreeView::Toggle(TTreeNode* node) {
    DoExpand(node, !node->FExpanded);
}

void TCustomTreeView::NodeDeleting(TTreeNode* node) {
    while (!node->FChildren.empty()) FItems.Delete(node->FChildren.back().get());
    if (FEditNode == node) FEditSession.Finish(false);
    Delete(node);
    if (FSelected == node) {
        TTreeNode* next = node->GetNextSibling();
        if (!next) next = node->GetPrevSibling();
        if (!next) next = node->FParent;
        FSelected = next;
        if (FItems.FUpdate == 0 || next) Change(next);
    }
    FRowsValid = false;
}

void TCustomTreeView::SetShowRoot(bool value) {
    FShowRoot = value;
    StructureChanged();
}

void TCustomTreeView::SetShowButtons(bool value) {
    FShowButtons = value;
    Invalidate();
}

void TCustomTreeView::SetShowLines(bool value) {
    FShowLines = value;
    Invalidate();
}

void TCustomTreeView::SetHideSelection(bool value) {
    FHideSelection = value;
    Invalidate();
}

void TCustomTreeView::SetIndent(int value) {
    FIndent = std::max(value, kButton + 2);
    StructureChanged();
}

void TCustomTreeView::SetImages(TCustomImageList* value) {
    Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, PtrToParam(value));
}

void TCustomTreeView::SetStateImages(TCustomImageList* value) {
    Perform(TVM_SETIMAGELIST, TVSIL_STATE, PtrToParam(value));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TScrollingView::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == FStateImages) SetStateImages(nullptr);
}

void TCustomTreeView::SortLevel(std::vector<std::unique_ptr<TTreeNode>>& list,
                                const TTVCompare& compare, std::intptr_t data, bool recurse) {
    std::stable_sort(list.begin(), list.end(), [&](const auto& a, const auto& b) {
        return compare(a.get(), b.get(), data) < 0;
    });
    if (recurse)
        for (auto& node : list) SortLevel(node->FChildren, compare, data, true);
}

bool TCustomTreeView::CustomSort(TTVCompare SortProc, std::intptr_t Data, bool Recurse) {
    TTVCompare compare = SortProc;
    if (!compare)
        compare = [this](TTreeNode* a, TTreeNode* b, std::intptr_t data) {
            int result = rtl::CompareText(a->Text(), b->Text());
            if (OnCompare) OnCompare(this, a, b, int(data), result);
            return result;
        };
    SortLevel(FItems.FRoots, compare, Data, Recurse);
    StructureChanged();
    return true;
}

void TCustomTreeView::FullExpand() {
    for (auto& node : FItems.FRoots) node->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (auto& node : FItems.FRoots) node->Collapse(true);
}

void TCustomTreeView::PaintWindow(HDC DC) {
    BeginViewPaint(DC);
    const TRect client = ClientRect();
    const auto rows = Rows();  // a hook below may change the tree
    const int rh = RowHeight();
    const int last = std::min(int(rows.size()) - 1, FTopRow + client.Height() / rh + 1);
    const bool enabled = Enabled();
    for (int r = FTopRow; r <= last; ++r) {
        TTreeNode* node = rows[r];
        const TRect row = NodeRect(node, false);
        const int level = node->Level() + (FShowRoot ? 1 : 0);
        const int cy = (row.Top + row.Bottom) / 2;
        if (FShowLines && level > 0) {
            FCanvas.Brush().SetStyle(gfx::bsSolid);
            FCanvas.Brush().SetColor(gfx::clBtnShadow);
            const int cx = 2 + (level - 1) * FIndent + FIndent / 2 - FScrollX;
            const bool more = node->GetNextSibling() != nullptr;
            const bool first = !node->FParent && node->Index() == 0;
            FCanvas.FillRect({cx, first ? cy : row.Top, cx + 1, more ? row.Bottom : cy + 1});
            FCanvas.FillRect({cx, cy, cx + FIndent / 2 + 1, cy + 1});
            // Lines of the ancestors that have siblings below.
            int lx = cx;
            for (TTreeNode* p = node->FParent; p; p = p->FParent) {
                lx -= FIndent;
                if (p->GetNextSibling() && (FShowRoot || p->FParent))
                    FCanvas.FillRect({lx, row.Top, lx + 1, row.Bottom});
            }
        }
        if (FShowButtons && level > 0 && (node->FHasChildren || !node->FChildren.empty())) {
            const TRect b = ButtonRect(node);
            FCanvas.Brush().SetStyle(gfx::bsSolid);
            FCanvas.Brush().SetColor(gfx::clWindow);
            FCanvas.FillRect(b);
            FCanvas.Brush().SetColor(gfx::clBtnShadow);
            FCanvas.FrameRect(b);
            FCanvas.Brush().SetColor(enabled ? gfx::clWindowText : gfx::clGrayText);
            const int mx = (b.Left + b.Right) / 2, my = (b.Top + b.Bottom) / 2;
            FCanvas.FillRect({b.Left + 2, my, b.Right - 2, my + 1});
            if (!node->FExpanded) FCanvas.FillRect({mx, b.Top + 2, mx + 1, b.Bottom - 2});
        }
        const bool selected = node == FSelected;
        if (FImages) {
            selected ? GetSelectedIndex(node) : GetImageIndex(node);
            const int index = selected ? node->FSelectedIndex : node->FImageIndex;
            const int x = NodeLeft(node) - FImages->Width() - 2 - FScrollX;
            if (index >= 0)
                FImages->Draw(FCanvas, x, row.Top + (rh - FImages->Height()) / 2, index, enabled);
        }
        const TRect text = NodeRect(node, true);
        const bool shown = selected && (Focused() || !FHideSelection);
        if (shown && !Focused()) {
            FCanvas.Brush().SetStyle(gfx::bsSolid);
            FCanvas.Brush().SetColor(gfx::clBtnFace);
            FCanvas.FillRect(text);
            detail::DrawRow(FCanvas, text, node->Text(), false, enabled, false, Font().Color());
        } else {
            detail::DrawRow(FCanvas, text, node->Text(), shown, enabled, false, Font().Color());
        }
        if (selected && Focused()) FCanvas.DrawFocusRect(text);
    }
    EndViewPaint();
}

bool TCustomTreeView::StartEdit(TTreeNode* node) {
    if (FReadOnly || !node) return false;
    bool allow = true;
    if (OnEditing) OnEditing(this, node, allow);
    if (!allow) return false;
    node->MakeVisible();
    FEditNode = node;
    TRect r = NodeRect(node, true);
    r.Right = std::max(r.Right + 8, r.Left + 40);
    return FEditSession.Start(this, r, node->Text()) != nullptr;
}

void TCustomTreeView::EditDone(bool accepted, const std::string& text) {
    TTreeNode* node = FEditNode;
    FEditNode = nullptr;
    if (node) Edit(TTVItem{node, accepted ? text.c_str() : nullptr});
}

void TCustomTreeView::Edit(const TTVItem& Item) {
    if (!Item.pszText || !Item.hItem) return;
    std::string s = Item.pszText;
    if (OnEdited) OnEdited(this, Item.hItem, s);
    Item.hItem->SetText(s);
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !Focused()) SetFocus();
    TTreeNode* node = GetNodeAt(X, Y);
    if (node && Button == mbLeft) {
        const TRect b = ButtonRect(node);
        const TRect hot{b.Left - 2, b.Top - 2, b.Right + 2, b.Bottom + 2};
        if (FShowButtons && hot.Contains(X, Y) &&
            (node->FHasChildren || !node->FChildren.empty())) {
            Toggle(node);
        } else if (X >= NodeLeft(node) - (FImages ? FImages->Width() + 2 : 0) - FScrollX) {
            SetSelected(node);
            if (Shift.Contains(ssDouble) && FItems.FRoots.size() && RowOf(node) >= 0) Toggle(node);
        }
    } else if (node && Button == mbRight && FRightClickSelect) {
        SetSelected(node);
    }
    TScrollingView::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::KeyDown(int& Key, TShiftState Shift) {
    TScrollingView::KeyDown(Key, Shift);
    if (Key == 0) return;
    const auto& rows = Rows();
    if (rows.empty()) return;
    const int row = FSelected ? std::max(RowOf(FSelected), 0) : -1;
    const int page = std::max(VisibleCount(), 1);
    int target = -2;
    switch (Key) {
        case VK_UP:
            target = std::max(row - 1, 0);
            break;
        case VK_DOWN:
            target = std::min(row + 1, int(rows.size()) - 1);
            break;
        case VK_PRIOR:
            target = std::max(row - page + 1, 0);
            break;
        case VK_NEXT:
            target = std::min(row + page - 1, int(rows.size()) - 1);
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = int(rows.size()) - 1;
            break;
        case VK_RIGHT:
            if (FSelected && !FSelected->FExpanded)
                DoExpand(FSelected, true);
            else if (FSelected && FSelected->Count())
                SetSelected(FSelected->Item(0));
            Key = 0;
            return;
        case VK_LEFT:
            if (FSelected && FSelected->FExpanded)
                DoExpand(FSelected, false);
            else if (FSelected && FSelected->FParent)
                SetSelected(FSelected->FParent);
            Key = 0;
            return;
        case VK_ADD:
        case VK_SUBTRACT:
            if (FSelected) DoExpand(FSelected, Key == VK_ADD);
            Key = 0;
            return;
        case VK_F1 + 1:  // F2 renames
            if (FSelected) StartEdit(FSelected);
            Key = 0;
            return;
        default:
            return;
    }
    if (target >= 0 && target < int(Rows().size())) SetSelected(Rows()[target]);
    Key = 0;
}

void TCustomTreeView::KeyPress(char32_t& Key) {
    TScrollingView::KeyPress(Key);
    const auto rows = Rows();
    if (Key == U'+' || Key == U'-' || rows.empty() || !AddSearchChar(Key)) return;
    const std::string& search = SearchText();
    const int n = int(rows.size());
    const int row = FSelected ? std::max(RowOf(FSelected), 0) : 0;
    const int start = search.size() > 1 || !FSelected ? row : row + 1;
    for (int k = 0; k < n; ++k) {
        TTreeNode* node = rows[(start + k) % n];
        if (detail::StartsWithText(node->Text(), search)) {
            SetSelected(node);
            break;
        }
    }
    Key = 0;
}

void TCustomTreeView::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case TVM_GETCOUNT:
            m.Result = FItems.Count();
            return;
        case TVM_GETVISIBLECOUNT:
            m.Result = VisibleCount();
            return;
        case TVM_SETIMAGELIST: {
            TakeImageList(int(m.WParam) == TVSIL_STATE ? FStateImages : FImages, m);
            StructureChanged();
            return;
        }
        case TVM_EDITLABEL: {
            auto* node = ParamToPtr<TTreeNode>(std::uint64_t(m.LParam));
            if (!node) {
                FEditSession.Finish(false);
                m.Result = 0;
                return;
            }
            m.Result = StartEdit(node) && FEditSession.Editor()
                           ? HwndToParam(FEditSession.Editor()->Handle())
                           : 0;
            return;
        }
        case WM_VSCROLL:
            ScrollTo(detail::ScrollTarget(Handle(), SB_VERT, m.WParam), FScrollX);
            return;
        case WM_HSCROLL:
            ScrollTo(FTopRow, detail::ScrollTarget(Handle(), SB_HORZ, m.WParam, 8));
            return;
        case WM_MOUSEWHEEL:
            ScrollTo(FTopRow - GET_WHEEL_DELTA_WPARAM(m.WParam) * 3 / 120, FScrollX);
            m.Result = 1;
            return;
        case CM_FONTCHANGED:
            TScrollingView::Dispatch(m);
            StructureChanged();
            return;
        default:
            TScrollingView::Dispatch(m);
    }
}

}  // namespace vcl
