// The folder chooser. TbsSkinSelectDirectoryDialog is a non-visual component whose Execute builds a
// TbsSelDirDlgForm: a shell folder tree with its own bars, optionally a tool bar (new-folder button
// and a path edit), and OK and Cancel. The form lives only while Execute runs; the component keeps
// the chosen folder and the size the user left between calls. Main thread only.
#pragma once

#include <string>

#include "platform/gfx/canvas.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/tree_view.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinButton;
class TbsSkinDirTreeView;
class TbsSkinEdit;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinScrollBar;
class TbsSkinSpeedButton;

class TbsSelDirDlgForm : public vcl::TForm {
public:
    static TbsSelDirDlgForm* CreateEx(vcl::TComponent* AOwner, TbsSkinData* ACtrlSkinData,
                                      bool AShowToolBar, bool AToolButtonsTransparent);

    void DirEditKeyPress(vcl::TObject* Sender, char32_t& Key);
    void DirTreeViewChange(vcl::TObject* Sender, vcl::TTreeNode* Node);
    // Creates the "New Folder" folder under the selected one (never numbered); raises
    // rtl::EInOutError when it cannot be made.
    void NewFolderToolButtonClick(vcl::TObject* Sender);

    TbsSkinForm* BSF = nullptr;
    TbsSkinPanel* DirTreeViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinDirTreeView* DirTreeView = nullptr;
    TbsSkinScrollBar* VScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsSkinButton* OkButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    // Null without the tool bar.
    TbsSkinPanel* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinEdit* DirEdit = nullptr;

protected:
    TbsSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;

private:
    explicit TbsSelDirDlgForm(vcl::TComponent* AOwner);
};

class TbsSkinSelectDirectoryDialog : public vcl::TComponent {
public:
    explicit TbsSkinSelectDirectoryDialog(vcl::TComponent* AOwner);

    // True for OK, with Directory the tree's path; Cancel, Esc and the close command leave
    // Directory as it was. The size the user left is kept whatever the result.
    bool Execute();

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    // The form while Execute runs, else null.
    TbsSelDirDlgForm* DlgFrm() const { return FDlgFrm; }

    std::string Title = "Select folder";
    std::string Directory;
    bool ShowToolBar = false;
    bool ToolButtonsTransparent = false;
    int DialogWidth = 0, DialogHeight = 0;
    int DialogMinWidth = 0, DialogMinHeight = 0;
    bool AlphaBlend = false;
    std::uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    vcl::TNotifyEvent OnShow;
    vcl::TNotifyEvent OnClose;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    gfx::TFont FDefaultFont;
    TbsSelDirDlgForm* FDlgFrm = nullptr;
};

}  // namespace skin
