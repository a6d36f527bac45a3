// The form of the skinned file dialog, built by TbsSkinOpenDialog for one Execute: the look-in
// bar (shell combo, back, up, new-folder and view-style buttons), the shell file list, the
// file-name edit, the filter combo and Open (or Save) and Cancel. It decides when the user has
// chosen a file and which name it reports, asks the overwrite question of save mode, keeps the
// folder history behind the back button and names new folders.
//
// The form owns its controls and the history's item-id copies. Main thread only, inside the
// modal loop of its dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/item_ids.h"
#include "platform/vcl/forms.h"
#include "skin/core/skin_data.h"

namespace vcl {
class TMenuItem;
}

namespace skin {

class TbsSkinButton;
class TbsSkinEdit;
class TbsSkinFileListView;
class TbsSkinFilterComboBox;
class TbsSkinForm;
class TbsSkinMenuSpeedButton;
class TbsSkinPanel;
class TbsSkinPopupMenu;
class TbsSkinScrollBar;
class TbsSkinShellComboBox;
class TbsSkinSpeedButton;
class TbsSkinStdLabel;
class TbsSkinToolBar;

class TbsOpenDlgForm : public vcl::TForm {
public:
    static TbsOpenDlgForm* CreateEx(vcl::TComponent* AOwner, bool ASaveMode,
                                    TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent);

    // Appends the shown folder to the history (the dialog calls it just before showing).
    void InitHistory();
    int HistoryCount() const { return static_cast<int>(FolderHistory.size()); }
    bool SaveMode() const { return FSaveMode; }
    int NewFolderCount() const { return FNewFolderCount; }

    // The Open (Save) command: closes with OK once a file is chosen, see the rules in the .cpp.
    void OpenButtonClick(vcl::TObject* Sender);
    void FLVChange(vcl::TObject* Sender);
    void FLVPathChange(vcl::TObject* Sender);
    void FLVDBLClick(vcl::TObject* Sender);
    void FLVKeyPress(vcl::TObject* Sender, char32_t& Key);
    void FCBChange(vcl::TObject* Sender);
    void EditKeyPress(vcl::TObject* Sender, char32_t& Key);
    void BackToolButtonClick(vcl::TObject* Sender);
    void UpToolButtonClick(vcl::TObject* Sender);
    // "New Folder", then "New Folder(2)"...; rtl::EInOutError when it cannot be made.
    void NewFolderToolButtonClick(vcl::TObject* Sender);
    void IconItemClick(vcl::TObject* Sender);
    void SmallIconItemClick(vcl::TObject* Sender);
    void ListItemClick(vcl::TObject* Sender);
    void ReportItemClick(vcl::TObject* Sender);

    // The filter combo's mask gives no extension for ".*", else its first pattern's extension.
    std::string FilterExtension();

    std::string DefaultExt;
    bool OverwritePromt = false;
    std::string FileName;
    vcl::TNotifyEvent OnFolderChange;
    bool CheckFileExists = true;

    TbsSkinForm* BSF = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinStdLabel* Drivelabel = nullptr;
    TbsSkinShellComboBox* ShellBox = nullptr;
    TbsSkinSpeedButton* BackToolButton = nullptr;
    TbsSkinSpeedButton* UpToolButton = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinMenuSpeedButton* StyleToolButton = nullptr;
    TbsSkinPopupMenu* StylePopupMenu = nullptr;
    vcl::TMenuItem* IconMenuItem = nullptr;
    vcl::TMenuItem* SmallIconMenuItem = nullptr;
    vcl::TMenuItem* ListMenuItem = nullptr;
    vcl::TMenuItem* ReportMenuItem = nullptr;
    TbsSkinPanel* FileListViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinScrollBar* FLVHScrollBar = nullptr;
    TbsSkinScrollBar* FLVVScrollBar = nullptr;
    TbsSkinFileListView* FileListView = nullptr;
    TbsSkinEdit* FileNameEdit = nullptr;
    TbsSkinFilterComboBox* FilterComboBox = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinStdLabel* OpenFileLabel = nullptr;
    TbsSkinStdLabel* FileTypeLabel = nullptr;

protected:
    explicit TbsOpenDlgForm(vcl::TComponent* AOwner);
    // Builds everything but the form itself; descendants add their parts after it.
    void BuildControls(bool AToolButtonsTransparent);

    TbsSkinData* CtrlSD = nullptr;
    bool FSaveMode = false;

private:
    // The shown folder with "/" at its end.
    std::string FolderPrefix();
    // "." + DefaultExt when set, else the filter extension.
    std::string DefaultExtension();
    // The existing file of that path, else the one file of its folder whose name equals the
    // name ignoring ASCII case, else "".
    std::string ExistingFile(const std::string& path);
    // The save dialog's final name: the filter extension (else DefaultExt) for a name without.
    std::string SaveName(const std::string& name);
    // Save mode with OverwritePromt and an existing file: the warning's answer; else true.
    bool MayOverwrite(const std::string& name);
    void CloseWith(const std::string& name);
    void SetViewStyleItem(vcl::TMenuItem* item);

    std::vector<shell::TItemIdPtr> FolderHistory;
    bool StopAddToHistory = false;
    int FNewFolderCount = 0;
};

}  // namespace skin
