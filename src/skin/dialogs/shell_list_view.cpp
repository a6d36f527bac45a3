#include "skin/dialogs/shell_list_view.h"

#include <algorithm>

#include "platform/rtl/masks.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_links.h"

namespace skin {

namespace {

class TListUpdate {
public:
    explicit TListUpdate(vcl::TListItems& items) : FItems(items) { FItems.BeginUpdate(); }
    ~TListUpdate() { FItems.EndUpdate(); }

private:
    vcl::TListItems& FItems;
};

int Sign(int64_t value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

struct TDefaultColumn {
    const char* Caption;
    vcl::TAlignment Alignment;
    int Width;
};
constexpr TDefaultColumn kDefaultColumns[] = {{"Name", vcl::taLeftJustify, 25},
                                              {"Size", vcl::taRightJustify, 10},
                                              {"Type", vcl::taLeftJustify, 10},
                                              {"Modified", vcl::taLeftJustify, 14}};

}  // namespace

TbsCustomShellListView::TbsCustomShellListView(vcl::TComponent* AOwner)
    : TbsSkinCustomListView(AOwner) {
    SetOwnerData(true);
    SetSmallImages(ShellImageList(false));
    SetLargeImages(ShellImageList(true));
    SetRoot(shell::RootFolderName(shell::rfDesktop));
}

TbsCustomShellListView::~TbsCustomShellListView() {
    FFolders.clear();
    FListedRoot.reset();
    FRootFolder.reset();
}

int TbsCustomShellListView::CharWidth() {
    gfx::TCanvas canvas;
    canvas.Font().Assign(Font());
    return canvas.TextWidth("X");
}

void TbsCustomShellListView::ClearFolders() {
    if (!ComponentState().Contains(vcl::csDestroying)) Items().SetCount(0);
    FFolders.clear();
    FListedRoot.reset();
}

void TbsCustomShellListView::ResolveRoot() {
    std::unique_ptr<TbsShellFolder> unused;
    ReplaceRoot(RootFolderFromText(unused, FOldRoot, FRoot));
}

void TbsCustomShellListView::ReplaceRoot(std::unique_ptr<TbsShellFolder> folder) {
    if (!FListedRoot && !FFolders.empty()) FListedRoot = std::move(FRootFolder);
    FRootFolder = std::move(folder);
}

void TbsCustomShellListView::SetRoot(const TRoot& value) {
    if (!FRoot.empty() && shell::SameRoot(value, FRoot)) return;
    FOldRoot = FRoot;
    FRoot = value;
    ResolveRoot();
    FSettingRoot = true;
    RepopulateOtherRows();
}

void TbsCustomShellListView::RepopulateOtherRows() {
    // Other rows come: no selection may carry over to them, or a file the user never chose
    // would count as selected. A window re-made over the same rows keeps it.
    if (!FUpdating) ClearSelection();
    Repopulate();
}

std::string TbsCustomShellListView::Path() const {
    return FRootFolder ? FRootFolder->PathName() : "";
}

void TbsCustomShellListView::SetPath(const std::string& value) {
    TItemIdPtr id = ParsePathOrRaise(value);
    NavigateTo(id.get());
}

void TbsCustomShellListView::NavigateTo(PCItemIDList Id) {
    if (FUpdating) return;
    if (FRootFolder && shell::ItemIdListsEqual(FRootFolder->AbsoluteID(), Id)) return;
    FSettingRoot = false;
    ReplaceRoot(FolderFromAbsoluteId(Id));
    RepopulateOtherRows();
    if (OnPathChanged) OnPathChanged(this);
}

void TbsCustomShellListView::FollowItemId(PCItemIDList Id) {
    if (FUpdating) return;
    if (!FRootFolder || !shell::ItemIdListsEqual(FRootFolder->AbsoluteID(), Id)) NavigateTo(Id);
}

void TbsCustomShellListView::Repopulate() {
    if (FUpdating) return;
    TFlagScope updating(FUpdating, true);
    const bool saved = FAutoRefresh;
    SetAutoRefresh(false);
    SyncLinkedViews();
    Populate();
    if (ViewStyle() == vcl::vsReport) BuildColumns();
    SetAutoRefresh(saved);
}

void TbsCustomShellListView::SyncLinkedViews() {
    if (FSettingRoot) {
        if (FTreeView) FTreeView->SetRoot(FRoot);
    } else if (FRootFolder) {
        if (FTreeView) FTreeView->SelectItemId(FRootFolder->AbsoluteID());
        if (FComboBox) FComboBox->FollowItemId(FRootFolder->AbsoluteID());
    }
    FSettingRoot = false;
}

bool TbsCustomShellListView::MatchesFileMask(TbsShellFolder* item) const {
    const std::string name = sys::ExtractFileName(item->FullObjectName());
    std::string piece;
    // Pieces are trimmed: "*.aif; *.aiff" must list ".aiff" files too.
    auto accepts = [&](const std::string& raw) {
        const std::string mask = rtl::Trim(raw);
        return mask == "*" || (mask.find('.') != std::string::npos && rtl::MatchesMask(name, mask));
    };
    for (char c : FMask) {
        if (c == ';' || c == '|') {
            if (accepts(piece)) return true;
            piece.clear();
        } else {
            piece.push_back(c);
        }
    }
    return !piece.empty() && accepts(piece);
}

void TbsCustomShellListView::Populate() {
    if (ComponentState().Contains(vcl::csLoading) && !HandleAllocated()) return;
    TListUpdate update(Items());
    ClearFolders();
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    const TShellFolderPtr& folder = FRootFolder->ShellFolder();
    std::vector<TItemIdPtr> ids;
    if (!folder->EnumObjects(shell::ObjectTypesToEnumFlags(FObjectTypes), ids)) return;
    FFolders.reserve(ids.size());
    for (const TItemIdPtr& id : ids) {
        auto item = std::make_unique<TbsShellFolder>(FRootFolder.get(), id.get(),
                                                     shell::BindChildShellFolder(folder, id.get()));
        bool canAdd = true;
        if (!item->IsFolder()) canAdd = MatchesFileMask(item.get());
        if (OnAddFolder) OnAddFolder(this, item.get(), canAdd);
        if (canAdd) FFolders.push_back(std::move(item));
    }
    Items().SetCount(static_cast<int>(FFolders.size()));
    if (FSorted)
        std::sort(FFolders.begin(), FFolders.end(), [&](const auto& a, const auto& b) {
            return CompareFolders(a.get(), b.get(), false) < 0;
        });
}

int TbsCustomShellListView::CompareFolders(TbsShellFolder* A, TbsShellFolder* B, bool columnMode) {
    if (!A || !B) return 0;
    const bool folderA = A->IsFolder(), folderB = B->IsFolder();
    int base = (folderB ? 1 : 0) - (folderA ? 1 : 0);
    if (base == 0 && A->ParentShellFolder())
        base = static_cast<int16_t>(
            A->ParentShellFolder()->CompareIDs(0, A->RelativeID(), B->RelativeID()));
    if (!columnMode) return base;
    const int column = FSortColumn;
    auto directed = [&](int result) { return FSortDirection ? -result : result; };
    if (column != 0) {
        const uintptr_t handle = 0;  // the namespace binds no view objects
        A->LoadColumnDetails(FRootFolder.get(), handle, 4);
        B->LoadColumnDetails(FRootFolder.get(), handle, 4);
        if (A->DetailText(4).find(':') == std::string::npos) return directed(base);
    }
    if (column >= 4) return directed(base);
    if (folderA != folderB) return directed(folderA ? -1 : 1);
    int result = base;
    switch (column) {
        case 0:
            result = shell::AnsiCompareText(A->DisplayName(), B->DisplayName());
            break;
        case 1:
            if (!folderA) {
                shell::TFindData a, b;
                shell::ItemFindData(A->AbsoluteID(), a);
                shell::ItemFindData(B->AbsoluteID(), b);
                result = Sign(a.Size - b.Size);
            }
            break;
        case 2:
            result = shell::AnsiCompareText(A->DetailText(2), B->DetailText(2));
            break;
        case 3: {
            shell::TFindData a, b;
            shell::ItemFindData(A->AbsoluteID(), a);
            shell::ItemFindData(B->AbsoluteID(), b);
            result = Sign(a.WriteTime - b.WriteTime);
            break;
        }
    }
    return directed(result);
}

void TbsCustomShellListView::BuildColumns() {
    if (!FRootFolder || !FRootFolder->ShellFolder()) return;
    Columns().Clear();
    const int charWidth = CharWidth();
    auto addColumn = [&](const std::string& caption, vcl::TAlignment alignment, int chars) {
        vcl::TListColumn* column = Columns().Add();
        column->SetCaption(caption);
        column->SetAlignment(alignment);
        column->SetWidth(charWidth * chars);
    };
    if (TShellFolderPtr details = FRootFolder->ShellFolder2()) {
        std::vector<std::string> seen;
        bool anyShown = false;
        shell::TShellDetails header;
        for (int column = 0; details->GetDetailsOf(nullptr, column, header); ++column) {
            uint32_t state = 0;
            details->GetDefaultColumnState(column, state);
            const bool shown = state & shell::SHCOLSTATE_ONBYDEFAULT;
            if (anyShown && !shown) break;
            anyShown = anyShown || shown;
            const std::string caption = shell::ShellTextToString(header.Str, nullptr);
            if (caption.empty()) continue;
            if (std::any_of(seen.begin(), seen.end(),
                            [&](const std::string& s) { return rtl::SameText(s, caption); }))
                break;
            seen.push_back(caption);
            const vcl::TAlignment alignment = header.Fmt == 1   ? vcl::taRightJustify
                                              : header.Fmt == 2 ? vcl::taCenter
                                                                : vcl::taLeftJustify;
            addColumn(caption, alignment, header.CxChar);
        }
        return;
    }
    const int count = FRootFolder->Properties().Contains(shell::fpFileSystem) ? 4 : 1;
    for (int i = 0; i < count; ++i)
        addColumn(kDefaultColumns[i].Caption, kDefaultColumns[i].Alignment,
                  kDefaultColumns[i].Width);
}

void TbsCustomShellListView::ColClick(vcl::TListColumn* Column) {
    TbsSkinCustomListView::ColClick(Column);
    if (!Column) return;
    if (Columns().Count() < 4 && Column->Index() != 0) return;
    FOldSortColumn = FSortColumn;
    FSortColumn = Column->Index();
    FSortDirection =
        (FSortColumn == FOldSortColumn && FOldSortColumn != -1) ? !FSortDirection : false;
    TListUpdate update(Items());
    std::sort(FFolders.begin(), FFolders.end(), [&](const auto& a, const auto& b) {
        return CompareFolders(a.get(), b.get(), true) < 0;
    });
    Invalidate();
}

bool TbsCustomShellListView::OwnerDataFetch(vcl::TListItem* Item, vcl::TItemRequest Request) {
    const int index = Item->Index();
    if (index < 0 || index >= FolderCount()) return true;
    TbsShellFolder* item = FFolders[index].get();
    if (Request.Contains(vcl::irText)) Item->SetCaption(item->DisplayName());
    if (Request.Contains(vcl::irImage))
        Item->SetImageIndex(item->ImageIndex(ViewStyle() == vcl::vsIcon));
    if (ViewStyle() == vcl::vsReport) {
        const uintptr_t handle = 0;  // the namespace binds no view objects
        item->LoadColumnDetails(FRootFolder.get(), handle, Columns().Count());
        Item->SubItems().Clear();
        for (int column = 1; column < Columns().Count(); ++column)
            Item->SubItems().Add(item->DetailText(column));
    }
    return true;
}

int TbsCustomShellListView::OwnerDataFind(const std::string& Text, int StartIndex) {
    if (StartIndex < 0) return -1;
    const std::string wanted = rtl::UpperCase(Text);
    const int count = FolderCount();
    for (int step = 0; step < count; ++step) {
        const int index = (StartIndex + step) % count;
        if (rtl::UpperCase(FFolders[index]->DisplayName()).rfind(wanted, 0) == 0) return index;
    }
    return -1;
}

void TbsCustomShellListView::Back() {
    if (!FRootFolder || shell::ItemIdListIsEmpty(FRootFolder->AbsoluteID())) return;
    TItemIdPtr parent = shell::ItemIdListCopy(FRootFolder->AbsoluteID());
    shell::ItemIdStripLast(parent.get());
    NavigateTo(parent.get());
}

void TbsCustomShellListView::Refresh() {
    const int selected = ItemIndex();
    ClearSelection();
    if (!FRootFolder) return;
    TItemIdPtr id = shell::ItemIdListCopy(FRootFolder->AbsoluteID());
    ReplaceRoot(nullptr);
    NavigateTo(id.get());
    if (selected >= 0 && selected < Items().Count()) SetItemIndex(selected);
}

TbsShellFolder* TbsCustomShellListView::FolderAt(int Index) const {
    if (FFolders.empty()) return nullptr;
    if (Index < 0 || Index >= FolderCount())
        throw rtl::EListError(rtl::Format("List index out of bounds (%d)", Index));
    return FFolders[Index].get();
}

TbsShellFolder* TbsCustomShellListView::SelectedFolder() {
    const int index = ItemIndex();
    return index >= 0 && index < FolderCount() ? FFolders[index].get() : nullptr;
}

std::string TbsCustomShellListView::GetSelectedFile() {
    TbsShellFolder* item = SelectedFolder();
    return item && !item->IsFolder() ? item->FullObjectName() : "";
}

void TbsCustomShellListView::GetSelectedFiles(std::vector<std::string>& Files) {
    Files.clear();
    for (int i = 0; i < FolderCount(); ++i)
        if (Items().Item(i)->Selected() && !FFolders[i]->IsFolder())
            Files.push_back(FFolders[i]->FullObjectName());
}

void TbsCustomShellListView::DblClick() {
    if (FAutoNavigate)
        if (TbsShellFolder* item = SelectedFolder(); item && item->IsFolder()) {
            TItemIdPtr id = shell::ItemIdListCopy(item->AbsoluteID());
            NavigateTo(id.get());
        }
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::KeyDown(int& Key, vcl::TShiftState Shift) {
    TbsSkinCustomListView::KeyDown(Key, Shift);
    if (!FAutoNavigate) return;
    if (Key == win::VK_BACK) {
        if (!IsEditing()) Back();
    } else if (Key == win::VK_RETURN && Shift.Contains(vcl::ssAlt)) {
        InvokeShellVerb(SelectedFolder(), "properties");
        Key = 0;
    } else if (Key == win::VK_RETURN) {
        if (TbsShellFolder* item = SelectedFolder(); item && item->IsFolder()) {
            TItemIdPtr id = shell::ItemIdListCopy(item->AbsoluteID());
            NavigateTo(id.get());
        }
    } else if (Key == win::VK_F1 + 4) {
        Refresh();
    }
}

void TbsCustomShellListView::BeginRename() {
    if (ItemIndex() >= 0) Items().Item(ItemIndex())->EditCaption();
}

void TbsCustomShellListView::Edit(const vcl::TLVItem& Item) {
    if (!Item.pszText || Item.iItem < 0 || Item.iItem >= FolderCount()) return;
    FFolders[Item.iItem]->Rename(Item.pszText);
    Invalidate();
    if (FTreeView && FTreeView->Selected()) FTreeView->Refresh(FTreeView->Selected());
}

void TbsCustomShellListView::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (FAutoContext && SelectedFolder()) {
        ShowShellContextMenu(this, SelectedFolder(), MousePos.X, MousePos.Y);
        Handled = true;
    } else {
        TbsSkinCustomListView::DoContextPopup(MousePos, Handled);
    }
}

void TbsCustomShellListView::ExecuteCommand(const std::string& Verb, bool& Handled) {
    if (rtl::SameText(Verb, "rename")) {
        BeginRename();
        Handled = true;
    } else if (rtl::SameText(Verb, "open")) {
        FSavePath = sys::GetCurrentDir();
        if (TbsShellFolder* item = SelectedFolder())
            sys::SetCurrentDir(sys::ExtractFileDir(item->PathName()));
    }
}

void TbsCustomShellListView::CommandCompleted(const std::string& Verb, bool Succeeded) {
    if (!Succeeded) return;
    if (rtl::SameText(Verb, "delete") || rtl::SameText(Verb, "paste"))
        Refresh();
    else if (rtl::SameText(Verb, "open"))
        sys::SetCurrentDir(FSavePath);
}

void TbsCustomShellListView::SetMask(const std::string& value) {
    if (value == FMask) return;
    FMask = value;
    RepopulateOtherRows();
}

void TbsCustomShellListView::SetObjectTypes(shell::TShellObjectTypes value) {
    FObjectTypes = value;
    if (!ComponentState().Contains(vcl::csLoading)) Repopulate();
}

void TbsCustomShellListView::SetSorted(bool value) {
    if (value == FSorted) return;
    FSorted = value;
    Populate();
}

void TbsCustomShellListView::SetViewStyle(vcl::TViewStyle value) {
    TbsSkinCustomListView::SetViewStyle(value);
    if (value == vcl::vsReport) BuildColumns();
}

void TbsCustomShellListView::SetShellTreeView(TbsCustomShellTreeView* value) {
    LinkShellPeer(this, FTreeView, value, FRoot, &TbsCustomShellTreeView::SetShellListView);
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* value) {
    LinkShellPeer(this, FComboBox, value, FRoot, &TbsCustomShellComboBox::SetShellListView);
}

void TbsCustomShellListView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomListView::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FTreeView) FTreeView = nullptr;
    if (AComponent == FComboBox) FComboBox = nullptr;
    if (AComponent == FNotifier) FNotifier = nullptr;
}

void TbsCustomShellListView::SetAutoRefresh(bool value) {
    FAutoRefresh = value;
    if (ComponentState().Contains(vcl::csLoading)) return;
    if (FNotifier) vcl::FreeAndNil(FNotifier);
    if (!value || !FRootFolder) return;
    FNotifier = new shell::TbsShellChangeNotifier(this);
    FNotifier->SetWatchSubTree(false);
    FNotifier->SetRoot(FRootFolder->PathName());
    FNotifier->SetOnChange([this] { Refresh(); });
}

void TbsCustomShellListView::CreateWnd() {
    TbsSkinCustomListView::CreateWnd();
    ResolveRoot();
    Repopulate();
}

void TbsCustomShellListView::DestroyWnd() {
    ClearFolders();
    TbsSkinCustomListView::DestroyWnd();
}

void TbsCustomShellListView::Loaded() {
    TbsSkinCustomListView::Loaded();
    Populate();
    SetAutoRefresh(FAutoRefresh);
}

}  // namespace skin
