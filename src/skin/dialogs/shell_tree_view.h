// The shell folder tree: a skinned tree view whose nodes each hold one TbsShellFolder below a
// root (the desktop by default), children read when a node first expands. Linked to a shell list
// and a look-in combo, it moves them when its selection moves and follows them when they move;
// each view's updating flag keeps the calls from bouncing back. The context menu offers the
// namespace's verbs with the tree's own part in them (IbsShellCommandHandler).
//
// Nodes own their items; the links are not owned. Main thread only; a change notifier, when
// AutoRefresh is set, reaches RefreshSelected on the main thread.
#pragma once

#include <memory>
#include <string>

#include "platform/shell/change_notifier.h"
#include "skin/controls/view_wrappers.h"
#include "skin/dialogs/shell_folder.h"

namespace skin {

class TbsCustomShellListView;
class TbsCustomShellComboBox;

using TAddFolderEvent =
    std::function<void(vcl::TObject* Sender, TbsShellFolder* AFolder, bool& CanAdd)>;

class TbsCustomShellTreeView : public TbsSkinCustomTreeView,
                               public IbsShellCommandHandler,
                               public IbsShellContextSource {
public:
    explicit TbsCustomShellTreeView(vcl::TComponent* AOwner);
    ~TbsCustomShellTreeView() override;

    const TRoot& Root() const { return FRoot; }
    // Rebuilds the tree; an unknown root raises "Error setting path" with the old root kept.
    void SetRoot(const TRoot& value);
    // The selected item's PathName; empty without a selection.
    std::string Path();
    // Selects that folder (its ancestors expand); EInvalidPath when it cannot be parsed.
    void SetPath(const std::string& value);
    shell::TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
    virtual void SetObjectTypes(shell::TShellObjectTypes value);
    bool AutoContextMenus() const { return FAutoContext; }
    void SetAutoContextMenus(bool value) { FAutoContext = value; }
    bool AutoRefresh() const { return FAutoRefresh; }
    void SetAutoRefresh(bool value);
    bool UseShellImages() const { return FUseShellImages; }
    void SetUseShellImages(bool value);
    TbsCustomShellListView* ShellListView() const { return FListView; }
    void SetShellListView(TbsCustomShellListView* value);
    TbsCustomShellComboBox* ShellComboBox() const { return FComboBox; }
    void SetShellComboBox(TbsCustomShellComboBox* value);
    TbsShellFolder* RootFolder() const { return FRootFolder.get(); }
    shell::TbsShellChangeNotifier* Notifier() const { return FNotifier; }

    // Re-reads Node's subtree, keeping expanded folders, the selection and the top row.
    void Refresh(vcl::TTreeNode* Node);
    void ExpandMyComputer();
    TbsShellFolder* SelectedFolder() const;
    TbsShellFolder* ContextFolder() override { return SelectedFolder(); }
    // Selects the node of an absolute id, expanding its ancestors; the linked views follow.
    void SelectItemId(PCItemIDList Id);

    void ExecuteCommand(const std::string& Verb, bool& Handled) override;
    void CommandCompleted(const std::string& Verb, bool Succeeded) override;

    TAddFolderEvent OnAddFolder;

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool CanChange(vcl::TTreeNode* Node) override;
    bool CanExpand(vcl::TTreeNode* Node) override;
    void Delete(vcl::TTreeNode* Node) override;
    void Edit(const vcl::TTVItem& Item) override;
    void DoContextPopup(TPoint MousePos, bool& Handled) override;
    virtual void ClearItems();

private:
    friend class TbsCustomShellListView;
    friend class TbsCustomShellComboBox;

    static TbsShellFolder* ItemOf(const vcl::TTreeNode* node) {
        return node ? static_cast<TbsShellFolder*>(node->Data()) : nullptr;
    }
    void BuildRootNode();
    void ApplyRoot();
    void LoadChildNodes(vcl::TTreeNode* Node);
    void FillNode(vcl::TTreeNode* Node, PCItemIDList Id, vcl::TTreeNode* ParentNode);
    vcl::TTreeNode* FindNodeByItemId(PCItemIDList Id, vcl::TTreeNode* Start);
    void SetImagesOf(vcl::TTreeNode* Node);
    void RefreshSelected();
    void StartNotifier(TbsShellFolder* folder);

    std::string FPath;
    TRoot FRoot;
    TRoot FOldRoot;
    std::unique_ptr<TbsShellFolder> FRootFolder;
    shell::TShellObjectTypes FObjectTypes{shell::otFolders};
    bool FLoadingRoot = false;
    bool FAutoContext = true;
    bool FUpdating = false;
    TbsCustomShellListView* FListView = nullptr;
    TbsCustomShellComboBox* FComboBox = nullptr;
    bool FAutoRefresh = false;
    bool FUseShellImages = true;
    shell::TbsShellChangeNotifier* FNotifier = nullptr;
    std::string FSavePath;
    vcl::TTreeNode* FNodeToMonitor = nullptr;
};

class TbsSkinDirTreeView : public TbsCustomShellTreeView {
public:
    using TbsCustomShellTreeView::TbsCustomShellTreeView;
};

// The icons of the namespace drawn in code (shell::TShellIcon order), 16 and 32 pixels; one
// list of each size for the process.
vcl::TCustomImageList* ShellImageList(bool Large);

}  // namespace skin
