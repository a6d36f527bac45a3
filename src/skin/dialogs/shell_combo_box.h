// The look-in combo: a skinned combo box listing the root folder, its children (under the
// desktop root also 计算机's), and the chain of folders down to the folder the linked views
// show, each with its icon and indented by depth. Choosing an entry moves the linked tree and
// list once the popup has closed with it; when they move, the combo rebuilds its chain.
//
// Entries own their items; the links are not owned. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/dialogs/shell_folder.h"
#include "skin/lists/combo_box.h"

namespace skin {

class TbsCustomShellTreeView;
class TbsCustomShellListView;

struct TbsItemEx {
    std::string Caption;
    std::unique_ptr<TbsShellFolder> Data;
    int Indent = 0;
    int ImageIndex = -1;
    int SelectedImageIndex = -1;
};

class TbsItemsEx {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TbsItemEx* Add();
    TbsItemEx* Insert(int Index);
    TbsItemEx* AddItem(const std::string& ACaption, int AImageIndex, int ASelectedIndex,
                       int AIndent, std::unique_ptr<TbsShellFolder> AFolder);
    TbsItemEx* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
    void Clear() { FItems.clear(); }
    void BeginUpdate() { ++FUpdate; }
    void EndUpdate() { --FUpdate; }
    bool Updating() const { return FUpdate > 0; }

private:
    std::vector<std::unique_ptr<TbsItemEx>> FItems;
    int FUpdate = 0;
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsCustomShellComboBox(vcl::TComponent* AOwner);
    ~TbsCustomShellComboBox() override;

    const TRoot& Root() const { return FRoot; }
    void SetRoot(const TRoot& value);
    shell::TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(shell::TShellObjectTypes value);
    TbsCustomShellTreeView* ShellTreeView() const { return FTreeView; }
    void SetShellTreeView(TbsCustomShellTreeView* value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* value);
    // The selected entry's PathName; empty without one.
    std::string Path();
    // Shows that folder's chain (the linked views stay); EInvalidPath when it cannot be parsed.
    void SetPath(const std::string& value);
    TbsItemsEx& ItemsEx() { return FItemsEx; }
    // Past the last entry: the last entry's folder.
    TbsShellFolder* EntryFolder(int Index) const;
    void FollowItemId(PCItemIDList Id);

    void Click() override;

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void SelectionChanged() override;
    virtual void FillItems();

private:
    void BuildBaseList();
    void BuildChain(PCItemIDList Id);
    void ClearEntries();
    void CopyToItems();
    void InsertChildren(int Index, TbsShellFolder* Folder);
    int IndexOfItemId(PCItemIDList Id) const;
    int EntryImageIndex(TbsShellFolder* Folder) const;
    void ApplyRoot();
    void DrawEntry(gfx::TCanvas& Cnvs, int Index, const TRect& TxtRect, bool Indented);

    TbsItemsEx FItemsEx;
    TRoot FOldRoot;
    TRoot FRoot;
    std::unique_ptr<TbsShellFolder> FRootFolder;
    TbsCustomShellTreeView* FTreeView = nullptr;
    TbsCustomShellListView* FListView = nullptr;
    shell::TShellObjectTypes FObjectTypes{shell::otFolders};
    bool FUseShellImages = true;
    bool FUpdating = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
public:
    using TbsCustomShellComboBox::TbsCustomShellComboBox;
};

}  // namespace skin
