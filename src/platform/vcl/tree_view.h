// The plain tree view: nodes with text, data and images, children made on demand (HasChildren
// with an OnExpanding that adds them), vetoable expansion and selection, in-place renaming, and
// scroll information in shown rows down (page = fully visible rows) and pixels across.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/inplace_edit.h"
#include "platform/vcl/scrolling_view.h"

namespace vcl {

// Tree view requests.
inline constexpr UINT TV_FIRST = 0x1100;
inline constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
inline constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;  // wParam TVSIL_*, lParam image list*
inline constexpr UINT TVM_EDITLABEL = TV_FIRST + 14;    // lParam TTreeNode* (null ends an edit)
inline constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
inline constexpr int TVSIL_NORMAL = 0;
inline constexpr int TVSIL_STATE = 2;

class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
public:
    ~TTreeNode();
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int value);
    // Shows an expand button even before children exist.
    bool HasChildren() const { return FHasChildren; }
    void SetHasChildren(bool value);
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool value);
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    int Level() const;
    TTreeNode* Parent() const { return FParent; }
    int Count() const { return int(FChildren.size()); }
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstChild() const {
        return FChildren.empty() ? nullptr : FChildren.front().get();
    }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    int Index() const;
    bool Selected() const;
    void SetSelected(bool value);
    bool IsVisible() const;  // every ancestor expanded
    void MakeVisible();
    // Client rectangle of the row, or of the text only.
    TRect DisplayRect(bool TextOnly) const;
    // Starts renaming the node; false when the view is read-only or the edit was refused.
    bool EditText();
    void Delete();
    void DeleteChildren();
    TTreeNodes* Owner() const { return &FOwner; }
    TCustomTreeView* TreeView() const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    TTreeNode(TTreeNodes& owner, TTreeNode* parent) : FOwner(owner), FParent(parent) {}
    void Changed();

    TTreeNodes& FOwner;
    TTreeNode* FParent;
    std::vector<std::unique_ptr<TTreeNode>> FChildren;
    std::string FText;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FSelectedIndex = -1;
    bool FHasChildren = false;
    bool FExpanded = false;
};

using TTVCompare = std::function<int(TTreeNode* Node1, TTreeNode* Node2, std::intptr_t Data)>;

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView& view) : FView(view) {}
    ~TTreeNodes();
    // Every node, at any depth.
    int Count() const;
    // The node at a position of the whole tree in display order (collapsed ones included).
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const;
    // After Sibling's last sibling (at the root when null).
    TTreeNode* Add(TTreeNode* Sibling, const std::string& S);
    TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Data);
    TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
    TTreeNode* AddChild(TTreeNode* Parent, const std::string& S);
    TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Data);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
    // Before Sibling (at the end of the root when null).
    TTreeNode* Insert(TTreeNode* Sibling, const std::string& S);
    void Delete(TTreeNode* Node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    TCustomTreeView* Owner() const { return &FView; }

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* InsertAt(TTreeNode* parent, int index, const std::string& s, void* data);
    std::vector<std::unique_ptr<TTreeNode>>& ListOf(TTreeNode* parent);
    TCustomTreeView& FView;
    std::vector<std::unique_ptr<TTreeNode>> FRoots;
    int FUpdate = 0;
};

// What the label edit hook gets; pszText is null when the edit was cancelled.
struct TTVItem {
    TTreeNode* hItem = nullptr;
    const char* pszText = nullptr;
};

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2,
                                           int Data, int& Compare)>;

class TCustomTreeView : public TScrollingView {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;

    TTreeNodes& Items() { return FItems; }
    TTreeNode* Selected() const { return FSelected; }
    // Asks CanChange, then raises OnChange; a refused change keeps the old node.
    void SetSelected(TTreeNode* value);
    TTreeNode* TopItem() const;
    void SetTopItem(TTreeNode* value);
    TTreeNode* GetNodeAt(int X, int Y) const;

    bool ShowRoot() const { return FShowRoot; }
    void SetShowRoot(bool value);
    bool ShowButtons() const { return FShowButtons; }
    void SetShowButtons(bool value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool value);
    bool RightClickSelect() const { return FRightClickSelect; }
    void SetRightClickSelect(bool value) { FRightClickSelect = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TCustomImageList* value);

    // Sorts the root nodes (and every level below with Recurse); without SortProc by OnCompare,
    // else by text.
    bool CustomSort(TTVCompare SortProc, std::intptr_t Data, bool Recurse = true);
    void FullExpand();
    void FullCollapse();
    bool IsEditing() const { return FEditSession.Active(); }
    int RowHeight() const;
    // Rows shown now (expanded branches only).
    int ShownCount() const;

    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVExpandedEvent OnDeletion;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintWindow(HDC DC) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Resize() override;

    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    // A node is going away (its children first); the base raises OnDeletion.
    virtual void Delete(TTreeNode* Node);
    // Before a node is drawn; the base raises OnGetImageIndex / OnGetSelectedIndex.
    virtual void GetImageIndex(TTreeNode* Node);
    virtual void GetSelectedIndex(TTreeNode* Node);
    // A rename ended (pszText null: cancelled); the base raises OnEdited and keeps the text.
    virtual void Edit(const TTVItem& Item);

private:
    friend class TTreeNode;
    friend class TTreeNodes;

    void StructureChanged();
    const std::vector<TTreeNode*>& Rows() const;
    int RowOf(const TTreeNode* node) const;
    int NodeLeft(const TTreeNode* node) const;  // left of the text, without scrolling
    TRect NodeRect(const TTreeNode* node, bool textOnly) const;
    TRect ButtonRect(const TTreeNode* node) const;
    int TextWidth(const TTreeNode* node) const;
    int VisibleCount() const;
    int ContentWidth() const;
    void UpdateScrollInfo();
    void ScrollTo(int row, int x);
    void MakeVisible(const TTreeNode* node);
    void Toggle(TTreeNode* node);
    void DoExpand(TTreeNode* node, bool expand);
    void NodeDeleting(TTreeNode* node);
    void SortLevel(std::vector<std::unique_ptr<TTreeNode>>& list, const TTVCompare& compare,
                   std::intptr_t data, bool recurse);
    bool StartEdit(TTreeNode* node);
    void EditDone(bool accepted, const std::string& text);

    TTreeNodes FItems{*this};
    TTreeNode* FSelected = nullptr;
    bool FShowRoot = true;
    bool FShowButtons = true;
    bool FShowLines = true;
    bool FRightClickSelect = false;
    bool FReadOnly = false;
    bool FHideSelection = true;
    int FIndent = 19;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FStateImages = nullptr;
    int FTopRow = 0;
    int FScrollX = 0;
    mutable std::vector<TTreeNode*> FRows;
    mutable bool FRowsValid = false;
    detail::TLabelEditSession FEditSession;
    TTreeNode* FEditNode = nullptr;
};

class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
};

}  // namespace vcl
