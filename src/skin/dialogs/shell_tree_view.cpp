#include "skin/dialogs/shell_tree_view.h"

#include <algorithm>
#include <functional>

#include "platform/rtl/scope_exit.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_links.h"
#include "skin/dialogs/shell_list_view.h"

namespace skin {

namespace {

class THourGlass {
public:
    THourGlass() : FOld(vcl::Screen ? vcl::Screen->Cursor() : vcl::crDefault) {
        if (vcl::Screen) vcl::Screen->SetCursor(vcl::crHourGlass);
    }
    ~THourGlass() {
        if (vcl::Screen) vcl::Screen->SetCursor(FOld);
    }

private:
    vcl::TCursor FOld;
};

class TTreeUpdate {
public:
    explicit TTreeUpdate(vcl::TTreeNodes& nodes) : FNodes(nodes) { FNodes.BeginUpdate(); }
    ~TTreeUpdate() { FNodes.EndUpdate(); }

private:
    vcl::TTreeNodes& FNodes;
};

void ForEachNode(vcl::TTreeNode* node, const std::function<void(vcl::TTreeNode*)>& visit) {
    if (!node) return;
    visit(node);
    for (int i = 0; i < node->Count(); ++i) ForEachNode(node->Item(i), visit);
}

}  // namespace

TbsCustomShellTreeView::TbsCustomShellTreeView(vcl::TComponent* AOwner)
    : TbsSkinCustomTreeView(AOwner) {
    SetShowRoot(false);
    SetRightClickSelect(true);
    SetImages(ShellImageList(false));
    FNotifier = new shell::TbsShellChangeNotifier(this);
    SetRoot(shell::RootFolderName(shell::rfDesktop));
}

TbsCustomShellTreeView::~TbsCustomShellTreeView() {
    ClearItems();
    FRootFolder.reset();
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() const {
    return ItemOf(Selected());
}

void TbsCustomShellTreeView::SetImagesOf(vcl::TTreeNode* Node) {
    TbsShellFolder* item = ItemOf(Node);
    if (!item) return;
    Node->SetImageIndex(shell::ShellIconIndex(item->AbsoluteID(), false, false));
    Node->SetSelectedIndex(shell::ShellIconIndex(item->AbsoluteID(), false, true));
    if (Node->SelectedIndex() == 0) Node->SetSelectedIndex(Node->ImageIndex());
}

void TbsCustomShellTreeView::ClearItems() {
    TTreeUpdate update(Items());
    Items().Clear();
}

void TbsCustomShellTreeView::Delete(vcl::TTreeNode* Node) {
    std::unique_ptr<TbsShellFolder> item(ItemOf(Node));
    Node->SetData(nullptr);
    item.reset();
    TbsSkinCustomTreeView::Delete(Node);
}

void TbsCustomShellTreeView::BuildRootNode() {
    if (ComponentState().Contains(vcl::csLoading)) return;
    std::string error;
    try {
        FRootFolder = RootFolderFromText(FRootFolder, FOldRoot, FRoot);
    } catch (const rtl::Exception& e) {
        error = e.Message();
    }
    if (FRootFolder) {
        TFlagScope loading(FLoadingRoot, true);
        if (Items().Count() > 0) ClearItems();
        auto item = std::make_unique<TbsShellFolder>(nullptr, FRootFolder->AbsoluteID(),
                                                     FRootFolder->ShellFolder());
        const std::string text = shell::ItemDisplayText(
            shell::DesktopShellFolder(), FRootFolder->AbsoluteID(), shell::SHGDN_NORMAL);
        const bool subFolders = item->SubFolders();
        vcl::TTreeNode* node = Items().AddObject(nullptr, text, item.release());
        if (FUseShellImages) SetImagesOf(node);
        node->SetHasChildren(subFolders);
        node->Expand(false);
        SetSelected(node);
    }
    if (!error.empty()) throw rtl::Exception(error);
}

void TbsCustomShellTreeView::ApplyRoot() {
    if (FUpdating) return;
    TFlagScope updating(FUpdating, true);
    BuildRootNode();
    if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellTreeView::SetRoot(const TRoot& value) {
    if (!FRoot.empty() && shell::SameRoot(value, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = value;
    ApplyRoot();
}

void TbsCustomShellTreeView::SetObjectTypes(shell::TShellObjectTypes value) {
    FObjectTypes = value;
    ApplyRoot();
}

void TbsCustomShellTreeView::LoadChildNodes(vcl::TTreeNode* Node) {
    THourGlass hourGlass;
    TTreeUpdate update(Items());
    TbsShellFolder* item = ItemOf(Node);
    if (!item || !item->ShellFolder()) return;
    const TShellFolderPtr& folder = item->ShellFolder();
    std::vector<TItemIdPtr> ids;
    if (!folder->EnumObjects(shell::ObjectTypesToEnumFlags(FObjectTypes), ids)) return;
    // Sorted before they become nodes: the same order as sorting the nodes by the folder's
    // comparison.
    std::sort(ids.begin(), ids.end(), [&](const TItemIdPtr& a, const TItemIdPtr& b) {
        return static_cast<int16_t>(folder->CompareIDs(0, a.get(), b.get())) < 0;
    });
    for (const TItemIdPtr& id : ids) {
        vcl::TTreeNode* child = Items().AddChildObject(Node, "", nullptr);
        FillNode(child, id.get(), Node);
    }
}

void TbsCustomShellTreeView::FillNode(vcl::TTreeNode* Node, PCItemIDList Id,
                                      vcl::TTreeNode* ParentNode) {
    TbsShellFolder* parent = ItemOf(ParentNode);
    auto item = std::make_unique<TbsShellFolder>(
        parent, Id, shell::BindChildShellFolder(parent ? parent->ShellFolder() : nullptr, Id));
    TbsShellFolder* folder = item.get();
    Node->SetData(item.release());
    Node->SetText(folder->DisplayName());
    if (FUseShellImages) SetImagesOf(Node);
    Node->SetHasChildren(folder->SubFolders());
    if (FObjectTypes.Contains(shell::otNonFolders) && folder->ShellFolder())
        Node->SetHasChildren(shell::FolderHasChildren(folder->ShellFolder(),
                                                      shell::ObjectTypesToEnumFlags(FObjectTypes)));
    bool canAdd = true;
    if (OnAddFolder) OnAddFolder(this, folder, canAdd);
    if (!canAdd) Node->Delete();
}

bool TbsCustomShellTreeView::CanExpand(vcl::TTreeNode* Node) {
    const bool allow = TbsSkinCustomTreeView::CanExpand(Node);
    if (allow) {
        TbsShellFolder* item = ItemOf(Node);
        if (item && item->IsFolder()) {
            if (Node->HasChildren() && Node->Count() == 0) LoadChildNodes(Node);
        } else if (item) {
            item->ExecuteDefault();
        }
    }
    // A folder that claimed sub-folders and yields none loses its button.
    Node->SetHasChildren(Node->Count() > 0);
    return allow;
}

bool TbsCustomShellTreeView::CanChange(vcl::TTreeNode* Node) {
    const bool result = TbsSkinCustomTreeView::CanChange(Node);
    if (result && !FUpdating && Node) {
        const bool saved = FAutoRefresh;
        SetAutoRefresh(false);
        TbsShellFolder* folder = ItemOf(Node);
        if (folder && !folder->IsFolder()) folder = folder->Parent();
        if (folder) {
            TFlagScope updating(FUpdating, true);
            if (FComboBox) FComboBox->FollowItemId(folder->AbsoluteID());
            if (FListView) FListView->FollowItemId(folder->AbsoluteID());
        }
        FNodeToMonitor = Node;
        rtl::TScopeExit monitored([this] { FNodeToMonitor = nullptr; });
        SetAutoRefresh(saved);
    }
    return result;
}

vcl::TTreeNode* TbsCustomShellTreeView::FindNodeByItemId(PCItemIDList Id, vcl::TTreeNode* Start) {
    vcl::TTreeNode* found = nullptr;
    std::function<void(vcl::TTreeNode*)> search = [&](vcl::TTreeNode* node) {
        if (found || !node) return;
        if (TbsShellFolder* item = ItemOf(node);
            item && shell::ItemIdListsEqual(item->AbsoluteID(), Id)) {
            found = node;
            return;
        }
        for (int i = 0; i < node->Count() && !found; ++i) search(node->Item(i));
    };
    search(Start);
    return found;
}

void TbsCustomShellTreeView::SelectItemId(PCItemIDList Id) {
    if (ComponentState().Contains(vcl::csLoading) || Items().Count() == 0 || !Id) return;
    if (SelectedFolder() && shell::ItemIdListsEqual(SelectedFolder()->AbsoluteID(), Id)) return;
    TFlagScope updating(FUpdating, true);
    TTreeUpdate update(Items());
    vcl::TTreeNode* start = Items().GetFirstNode();
    for (const TItemIdPtr& ancestor : shell::ItemIdAncestors(Id)) {
        if (vcl::TTreeNode* found = FindNodeByItemId(ancestor.get(), start)) {
            found->Expand(false);
            start = found;
        }
    }
    SetSelected(FindNodeByItemId(Id, start));
    if (TbsShellFolder* selected = SelectedFolder()) {
        if (FListView) FListView->FollowItemId(selected->AbsoluteID());
        if (FComboBox) FComboBox->FollowItemId(selected->AbsoluteID());
    }
}

std::string TbsCustomShellTreeView::Path() {
    TbsShellFolder* selected = SelectedFolder();
    return selected ? selected->PathName() : "";
}

void TbsCustomShellTreeView::SetPath(const std::string& value) {
    FPath = value;
    TItemIdPtr id = ParsePathOrRaise(value);
    SelectItemId(id.get());
    if (vcl::TTreeNode* selected = Selected()) {
        selected->Expand(false);
        CanChange(selected);
    }
    FPath = value;
}

void TbsCustomShellTreeView::Refresh(vcl::TTreeNode* Node) {
    TbsShellFolder* item = ItemOf(Node);
    if (!item || !item->ShellFolder()) return;
    THourGlass hourGlass;
    TItemIdPtr topId, selectedId;
    if (TbsShellFolder* top = ItemOf(TopItem())) topId = shell::ItemIdListCopy(top->AbsoluteID());
    if (TbsShellFolder* selected = SelectedFolder())
        selectedId = shell::ItemIdListCopy(selected->AbsoluteID());
    std::vector<TItemIdPtr> expanded;
    ForEachNode(Node, [&](vcl::TTreeNode* node) {
        if (node->Expanded() && ItemOf(node))
            expanded.push_back(shell::ItemIdListCopy(ItemOf(node)->AbsoluteID()));
    });
    {
        TTreeUpdate update(Items());
        vcl::TTreeNode* parentNode = Node->Parent();
        vcl::TTreeNode* fresh = Items().Insert(Node, "");
        fresh->SetData(std::make_unique<TbsShellFolder>(ItemOf(parentNode), item->RelativeID(),
                                                        item->ShellFolder())
                           .release());
        LoadChildNodes(fresh);
        SetImagesOf(fresh);
        fresh->SetHasChildren(ItemOf(fresh)->SubFolders());
        fresh->SetText(ItemOf(fresh)->DisplayName());
        for (const TItemIdPtr& id : expanded)
            if (vcl::TTreeNode* twin = FindNodeByItemId(id.get(), fresh)) twin->Expand(false);
        {
            // The old subtree goes without moving the linked views.
            TFlagScope updating(FUpdating, true);
            Node->Delete();
            if (selectedId) SetSelected(FindNodeByItemId(selectedId.get(), Items().GetFirstNode()));
        }
        if (topId)
            if (vcl::TTreeNode* top = FindNodeByItemId(topId.get(), Items().GetFirstNode()))
                SetTopItem(top);
    }
}

void TbsCustomShellTreeView::RefreshSelected() {
    if (Selected()) Refresh(Selected());
}

void TbsCustomShellTreeView::ExpandMyComputer() {
    TItemIdPtr id;
    if (!shell::SHGetSpecialFolderLocation(shell::CSIDL_DRIVES, id)) return;
    SelectItemId(id.get());
    if (Selected()) Selected()->Expand(false);
}

void TbsCustomShellTreeView::Edit(const vcl::TTVItem& Item) {
    if (!Item.pszText || !Item.hItem) return;
    vcl::TTreeNode* node = Item.hItem;
    std::string text = Item.pszText;
    if (OnEdited) OnEdited(this, node, text);
    if (ItemOf(node) && ItemOf(node)->Rename(text)) node->SetText(text);
    if (node->Parent()) Refresh(node->Parent());
}

void TbsCustomShellTreeView::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (FAutoContext && (!PopupMenu() || !PopupMenu()->AutoPopup()))
        ShowShellContextMenu(this, SelectedFolder(), MousePos.X, MousePos.Y);
    else
        TbsSkinCustomTreeView::DoContextPopup(MousePos, Handled);
}

void TbsCustomShellTreeView::ExecuteCommand(const std::string& Verb, bool& Handled) {
    if (rtl::SameText(Verb, "rename") && Selected()) {
        Selected()->EditText();
        Handled = true;
    } else if (rtl::SameText(Verb, "open")) {
        FSavePath = sys::GetCurrentDir();
        if (TbsShellFolder* selected = SelectedFolder())
            sys::SetCurrentDir(sys::ExtractFileDir(selected->PathName()));
    }
}

void TbsCustomShellTreeView::CommandCompleted(const std::string& Verb, bool Succeeded) {
    if (!Succeeded || !Selected()) return;
    if (rtl::SameText(Verb, "delete")) {
        // A folder's path never counts as an existing file.
        if (!sys::FileExists(SelectedFolder()->PathName())) Selected()->Delete();
    } else if (rtl::SameText(Verb, "paste")) {
        Refresh(Selected());
    } else if (rtl::SameText(Verb, "open")) {
        sys::SetCurrentDir(FSavePath);
    }
}

void TbsCustomShellTreeView::SetShellListView(TbsCustomShellListView* value) {
    LinkShellPeer(this, FListView, value, FRoot, &TbsCustomShellListView::SetShellTreeView);
}

void TbsCustomShellTreeView::SetShellComboBox(TbsCustomShellComboBox* value) {
    LinkShellPeer(this, FComboBox, value, FRoot, &TbsCustomShellComboBox::SetShellTreeView);
}

void TbsCustomShellTreeView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomTreeView::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FListView) FListView = nullptr;
    if (AComponent == FComboBox) FComboBox = nullptr;
    if (AComponent == FNotifier) FNotifier = nullptr;
}

void TbsCustomShellTreeView::SetUseShellImages(bool value) {
    FUseShellImages = value;
    SetImages(value ? ShellImageList(false) : nullptr);
}

void TbsCustomShellTreeView::StartNotifier(TbsShellFolder* folder) {
    if (FNotifier) vcl::FreeAndNil(FNotifier);
    FNotifier = new shell::TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    if (folder) FNotifier->SetRoot(folder->PathName());
    FNotifier->SetOnChange([this] { RefreshSelected(); });
}

void TbsCustomShellTreeView::SetAutoRefresh(bool value) {
    FAutoRefresh = value;
    if (ComponentState().Contains(vcl::csLoading)) return;
    if (value)
        StartNotifier(FNodeToMonitor ? ItemOf(FNodeToMonitor) : FRootFolder.get());
    else if (FNotifier && FNotifier->Watching())
        vcl::FreeAndNil(FNotifier);
}

void TbsCustomShellTreeView::CreateWnd() {
    TbsSkinCustomTreeView::CreateWnd();
    if (Items().Count() > 0) ClearItems();
    SetUseShellImages(FUseShellImages);
    if (!FLoadingRoot) {
        BuildRootNode();
        if (!FPath.empty()) SetPath(FPath);
    }
}

void TbsCustomShellTreeView::DestroyWnd() {
    ClearItems();
    TbsSkinCustomTreeView::DestroyWnd();
}

void TbsCustomShellTreeView::Loaded() {
    TbsSkinCustomTreeView::Loaded();
    BuildRootNode();
}

}  // namespace skin
