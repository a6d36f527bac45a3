#include "skin/dialogs/shell_combo_box.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"
#include "skin/dialogs/shell_links.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"

namespace skin {

namespace {

class TEntriesUpdate {
public:
    explicit TEntriesUpdate(TbsItemsEx& items) : FItems(items) { FItems.BeginUpdate(); }
    ~TEntriesUpdate() { FItems.EndUpdate(); }

private:
    TbsItemsEx& FItems;
};

}  // namespace

TbsItemEx* TbsItemsEx::Add() {
    return Insert(Count());
}

TbsItemEx* TbsItemsEx::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    return FItems.insert(FItems.begin() + Index, std::make_unique<TbsItemEx>())->get();
}

TbsItemEx* TbsItemsEx::AddItem(const std::string& ACaption, int AImageIndex, int ASelectedIndex,
                               int AIndent, std::unique_ptr<TbsShellFolder> AFolder) {
    TbsItemEx* item = Add();
    item->Caption = ACaption;
    item->ImageIndex = AImageIndex;
    item->SelectedImageIndex = ASelectedIndex;
    item->Indent = AIndent;
    item->Data = std::move(AFolder);
    return item;
}

TbsCustomShellComboBox::TbsCustomShellComboBox(vcl::TComponent* AOwner)
    : TbsSkinCustomComboBox(AOwner) {
    FRoot = shell::RootFolderName(shell::rfDesktop);
    SetOnListBoxDrawItem([this](gfx::TCanvas& Cnvs, int Index, int, int, const TRect& TxtRect,
                                vcl::TOwnerDrawState) { DrawEntry(Cnvs, Index, TxtRect, true); });
    OnComboBoxDrawItem = [this](gfx::TCanvas& Cnvs, int Index, int, int, const TRect& TxtRect,
                                vcl::TOwnerDrawState) { DrawEntry(Cnvs, Index, TxtRect, false); };
    BuildBaseList();
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
    FItemsEx.Clear();
    FRootFolder.reset();
}

int TbsCustomShellComboBox::EntryImageIndex(TbsShellFolder* Folder) const {
    return FUseShellImages && Folder ? shell::ShellIconIndex(Folder->AbsoluteID(), false, false)
                                     : -1;
}

void TbsCustomShellComboBox::ClearEntries() {
    {
        TEntriesUpdate update(FItemsEx);
        FItemsEx.Clear();
    }
    CopyToItems();
}

void TbsCustomShellComboBox::CopyToItems() {
    Items().Clear();
    for (int i = 0; i < FItemsEx.Count(); ++i) Items().Add(FItemsEx.Items(i)->Caption);
}

void TbsCustomShellComboBox::BuildBaseList() {
    if (ComponentState().Contains(vcl::csLoading)) return;
    TEntriesUpdate update(FItemsEx);
    ClearEntries();
    FRootFolder = RootFolderFromText(FRootFolder, FOldRoot, FRoot);
    auto root = std::make_unique<TbsShellFolder>(nullptr, FRootFolder->AbsoluteID(),
                                                 FRootFolder->ShellFolder());
    const int icon = EntryImageIndex(root.get());
    const std::string caption = root->DisplayName();
    FItemsEx.AddItem(caption, icon, icon, 0, std::move(root));
    FillItems();
    CopyToItems();
    SetItemIndex(0);
}

void TbsCustomShellComboBox::FillItems() {
    TEntriesUpdate update(FItemsEx);
    InsertChildren(0, FItemsEx.Items(0)->Data.get());
    // Only the exact name: a root written in other letters lists no volumes.
    if (FRoot == shell::RootFolderName(shell::rfDesktop)) {
        TItemIdPtr computer;
        if (!shell::SHGetSpecialFolderLocation(shell::CSIDL_DRIVES, computer)) return;
        const int index = IndexOfItemId(computer.get());
        if (index >= 0) InsertChildren(index, FItemsEx.Items(index)->Data.get());
    }
}

void TbsCustomShellComboBox::InsertChildren(int Index, TbsShellFolder* Folder) {
    if (!Folder || !Folder->ShellFolder()) return;
    const TShellFolderPtr& folder = Folder->ShellFolder();
    std::vector<TItemIdPtr> ids;
    if (!folder->EnumObjects(shell::ObjectTypesToEnumFlags(FObjectTypes), ids))
        throw rtl::Exception(rtl::Format("Error setting path: \"%s\"", Folder->PathName()));
    std::sort(ids.begin(), ids.end(), [&](const TItemIdPtr& a, const TItemIdPtr& b) {
        return static_cast<int16_t>(folder->CompareIDs(0, a.get(), b.get())) < 0;
    });
    for (size_t k = 0; k < ids.size(); ++k) {
        auto child = std::make_unique<TbsShellFolder>(
            Folder, ids[k].get(), shell::BindChildShellFolder(folder, ids[k].get()));
        TbsItemEx* entry = FItemsEx.Insert(Index + static_cast<int>(k) + 1);
        entry->Caption = child->DisplayName();
        entry->Indent = child->Level();
        entry->ImageIndex = entry->SelectedImageIndex = EntryImageIndex(child.get());
        entry->Data = std::move(child);
    }
}

int TbsCustomShellComboBox::IndexOfItemId(PCItemIDList Id) const {
    for (int i = FItemsEx.Count() - 1; i >= 0; --i) {
        TbsShellFolder* folder = FItemsEx.Items(i)->Data.get();
        if (folder && shell::ItemIdListsEqual(folder->AbsoluteID(), Id)) return i;
    }
    return -1;
}

void TbsCustomShellComboBox::BuildChain(PCItemIDList Id) {
    TEntriesUpdate update(FItemsEx);
    BuildBaseList();
    const std::vector<TItemIdPtr> ancestors = shell::ItemIdAncestors(Id);
    int found = -1, current = -1;
    for (int i = static_cast<int>(ancestors.size()) - 1; i >= 0 && found < 0; --i) {
        current = IndexOfItemId(ancestors[i].get());
        if (current >= 0) found = i;
    }
    if (found < 0) return;
    auto addAfter = [&](PCItemIDList absolute) {
        TbsShellFolder* parent = FItemsEx.Items(current)->Data.get();
        TItemIdPtr last = shell::ItemIdLastCopy(absolute);
        auto child = std::make_unique<TbsShellFolder>(
            parent, last.get(),
            shell::BindChildShellFolder(parent ? parent->ShellFolder() : nullptr, last.get()));
        TbsItemEx* entry = FItemsEx.Insert(current + 1);
        entry->Caption = child->DisplayName();
        entry->Indent = child->Level();
        entry->ImageIndex = entry->SelectedImageIndex = EntryImageIndex(child.get());
        entry->Data = std::move(child);
        ++current;
    };
    for (size_t i = static_cast<size_t>(found) + 1; i < ancestors.size(); ++i)
        addAfter(ancestors[i].get());
    int index = IndexOfItemId(Id);
    if (index < 0) {
        addAfter(Id);
        index = current;
    }
    CopyToItems();
    SetItemIndex(index);
}

void TbsCustomShellComboBox::FollowItemId(PCItemIDList Id) {
    if (FUpdating || !Id) return;
    if (TbsShellFolder* selected = ItemIndex() >= 0 ? EntryFolder(ItemIndex()) : nullptr)
        if (shell::ItemIdListsEqual(selected->AbsoluteID(), Id)) return;
    TFlagScope updating(FUpdating, true);
    BuildChain(Id);
}

void TbsCustomShellComboBox::SelectionChanged() {
    if (FItemsEx.Updating()) return;
    TbsSkinCustomComboBox::SelectionChanged();
    if (ItemIndex() < 0 || FUpdating || IsPopupVisible()) return;
    TbsShellFolder* folder = EntryFolder(ItemIndex());
    if (!folder) return;
    TFlagScope updating(FUpdating, true);
    TItemIdPtr id = shell::ItemIdListCopy(folder->AbsoluteID());
    if (FTreeView) FTreeView->SelectItemId(id.get());
    if (FListView) FListView->FollowItemId(id.get());
}

void TbsCustomShellComboBox::Click() {
    if (ItemIndex() >= 0 && EntryFolder(ItemIndex())) {
        TFlagScope updating(FUpdating, true);
        TItemIdPtr id = shell::ItemIdListCopy(EntryFolder(ItemIndex())->AbsoluteID());
        BuildChain(id.get());
        TbsSkinCustomComboBox::Click();
        return;
    }
    TbsSkinCustomComboBox::Click();
}

TbsShellFolder* TbsCustomShellComboBox::EntryFolder(int Index) const {
    if (FItemsEx.Count() == 0 || Index < 0) return nullptr;
    return FItemsEx.Items(std::min(Index, FItemsEx.Count() - 1))->Data.get();
}

std::string TbsCustomShellComboBox::Path() {
    TbsShellFolder* folder = ItemIndex() >= 0 ? EntryFolder(ItemIndex()) : nullptr;
    return folder ? folder->PathName() : "";
}

void TbsCustomShellComboBox::SetPath(const std::string& value) {
    TItemIdPtr id = ParsePathOrRaise(value);
    TFlagScope updating(FUpdating, true);
    BuildChain(id.get());
}

void TbsCustomShellComboBox::ApplyRoot() {
    TFlagScope updating(FUpdating, true);
    ClearEntries();
    BuildBaseList();
    if (FTreeView) FTreeView->SetRoot(FRoot);
    if (FListView) FListView->SetRoot(FRoot);
}

void TbsCustomShellComboBox::SetRoot(const TRoot& value) {
    if (shell::SameRoot(value, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = value;
    ApplyRoot();
}

void TbsCustomShellComboBox::SetObjectTypes(shell::TShellObjectTypes value) {
    FObjectTypes = value;
    ApplyRoot();
}

void TbsCustomShellComboBox::SetShellTreeView(TbsCustomShellTreeView* value) {
    LinkShellPeer(this, FTreeView, value, FRoot, &TbsCustomShellTreeView::SetShellComboBox);
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* value) {
    LinkShellPeer(this, FListView, value, FRoot, &TbsCustomShellListView::SetShellComboBox);
}

void TbsCustomShellComboBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomComboBox::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FTreeView) FTreeView = nullptr;
    if (AComponent == FListView) FListView = nullptr;
}

void TbsCustomShellComboBox::DrawEntry(gfx::TCanvas& Cnvs, int Index, const TRect& TxtRect,
                                       bool Indented) {
    if (Index < 0 || Index >= FItemsEx.Count()) return;
    const TbsItemEx* entry = FItemsEx.Items(Index);
    vcl::TCustomImageList* images = ShellImageList(false);
    const int iconWidth = images->Width();
    const int offset = Indented ? entry->Indent * iconWidth / 2 : 0;
    const int height = TxtRect.Bottom - TxtRect.Top;
    if (entry->ImageIndex >= 0)
        images->Draw(Cnvs, TxtRect.Left + offset, TxtRect.Top + (height - images->Height()) / 2,
                     entry->ImageIndex);
    const int textHeight = Cnvs.TextHeight("Wg");
    Cnvs.TextOut(TxtRect.Left + offset + iconWidth + 4, TxtRect.Top + (height - textHeight) / 2,
                 Index < Items().Count() ? Items()[Index] : entry->Caption);
}

void TbsCustomShellComboBox::CreateWnd() {
    TbsSkinCustomComboBox::CreateWnd();
    if (FItemsEx.Count() == 0) BuildBaseList();
    if (Items().Count() != FItemsEx.Count()) CopyToItems();
}

void TbsCustomShellComboBox::DestroyWnd() {
    ClearEntries();
    TbsSkinCustomComboBox::DestroyWnd();
}

void TbsCustomShellComboBox::Loaded() {
    TbsSkinCustomComboBox::Loaded();
    BuildBaseList();
}

}  // namespace skin
