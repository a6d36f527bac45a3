// The shell file list: a skinned list view in owner-data mode showing the children of one
// namespace folder, one TbsShellFolder per row, folders first, files filtered by a mask. It
// navigates on double click and keys, moves its linked tree and look-in combo and follows them,
// builds report columns from the folder's details and sorts by a clicked column.
//
// The rows' items are owned by the list; the links are not. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/shell/change_notifier.h"
#include "skin/controls/view_wrappers.h"
#include "skin/dialogs/shell_folder.h"
#include "skin/dialogs/shell_tree_view.h"

namespace skin {

class TbsCustomShellComboBox;

class TbsCustomShellListView : public TbsSkinCustomListView,
                               public IbsShellCommandHandler,
                               public IbsShellContextSource {
public:
    explicit TbsCustomShellListView(vcl::TComponent* AOwner);
    ~TbsCustomShellListView() override;

    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& value);
    // The shown folder's PathName.
    std::string Path() const;
    // Shows that folder; EInvalidPath when it cannot be parsed.
    void SetPath(const std::string& value);
    TbsShellFolder* RootFolder() const { return FRootFolder.get(); }
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& value);
    shell::TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    void SetObjectTypes(shell::TShellObjectTypes value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool AutoNavigate() const { return FAutoNavigate; }
    void SetAutoNavigate(bool value) { FAutoNavigate = value; }
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool value) { FAutoContext = value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* value);
    void SetViewStyle(vcl::TViewStyle value) override;

    // The parent folder; nothing at the desktop.
    void Back();
    // Reads the folder again, keeping the selected row's index.
    void Refresh();
    std::string GetSelectedFile();
    // Clears Files, then adds the selected rows that are not folders.
    void GetSelectedFiles(std::vector<std::string>& Files);
    TbsShellFolder* SelectedFolder();
    TbsShellFolder* ContextFolder() override { return SelectedFolder(); }
    TbsShellFolder* FolderAt(int Index) const;
    int FolderCount() const { return static_cast<int>(FFolders.size()); }
    void Repopulate();
    void FollowItemId(PCItemIDList Id);
    void BuildColumns();
    void BeginRename();
    int SortColumn() const { return FSortColumn; }
    bool SortDirection() const { return FSortDirection; }

    void ExecuteCommand(const std::string& Verb, bool& Handled) override;
    void CommandCompleted(const std::string& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;
    vcl::TNotifyEvent OnPathChanged;

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool OwnerDataFetch(vcl::TListItem* Item, vcl::TItemRequest Request) override;
    int OwnerDataFind(const std::string& Text, int StartIndex) override;
    void Edit(const vcl::TLVItem& Item) override;
    void ColClick(vcl::TListColumn* Column) override;
    void DblClick() override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    virtual void Populate();

private:
    friend class TbsCustomShellTreeView;
    friend class TbsCustomShellComboBox;

    void NavigateTo(PCItemIDList Id);
    void RepopulateOtherRows();
    void SyncLinkedViews();
    void ClearFolders();
    void ResolveRoot();
    void ReplaceRoot(std::unique_ptr<TbsShellFolder> folder);
    bool MatchesFileMask(TbsShellFolder* item) const;
    // The sort comparison: negative when A comes first.
    int CompareFolders(TbsShellFolder* A, TbsShellFolder* B, bool columnMode);
    int CharWidth();

    int FOldSortColumn = -1;
    int FSortColumn = -1;
    bool FSortDirection = false;
    TRoot FOldRoot;
    TRoot FRoot;
    std::unique_ptr<TbsShellFolder> FRootFolder;
    bool FAutoContext = true;
    bool FAutoRefresh = false;
    bool FAutoNavigate = true;
    bool FSorted = true;
    bool FUpdating = false;
    shell::TShellObjectTypes FObjectTypes{shell::otFolders, shell::otNonFolders};
    std::vector<std::unique_ptr<TbsShellFolder>> FFolders;
    // The folder the rows were listed from once another became the root: the rows point at it
    // (selection changes still read them) until they go.
    std::unique_ptr<TbsShellFolder> FListedRoot;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    shell::TbsShellChangeNotifier* FNotifier = nullptr;
    bool FSettingRoot = false;
    std::string FSavePath;
    std::string FMask = "*.*|*.*";
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
};

}  // namespace skin
