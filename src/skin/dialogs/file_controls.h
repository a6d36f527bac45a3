// The classic file-system chooser controls: TbsSkinDirectoryListBox shows the path of one folder
// as an indented list ("/" first, one item per folder down to the current one) followed by its
// sub-folders; TbsSkinFileListBox lists a folder's entries that match a mask. They link
// drive combo box -> directory list -> file list (and filter combo box -> file list, see
// file_combo_boxes.h); a label can show the shortened folder and an edit the chosen file.
//
// A "drive" is a mounted volume (sys::ReadVolumes), named by its mount point. The controls keep
// their own folder, change the process's current folder while they read the file system, and
// refill themselves on window creation and on every change. Main thread only.
#pragma once

#include <string>

#include "platform/gfx/graphics.h"
#include "platform/sys/volumes.h"
#include "platform/vcl/edits.h"
#include "skin/controls/std_label.h"
#include "skin/lists/list_box.h"

namespace skin {

class TbsSkinDriveComboBox;
class TbsSkinFileListBox;
class TbsSkinFilterComboBox;

// The mounted volumes as the controls see them; tests point it at fixtures.
sys::TVolumeSources& FileControlVolumeSources();

class TbsSkinDirectoryListBox : public TbsSkinListBox {
public:
    explicit TbsSkinDirectoryListBox(vcl::TComponent* AOwner);

    // The folder shown; a write goes through SplitEditPath (relative names, "[name]") and
    // raises rtl::EInOutError when the folder cannot be entered.
    const std::string& Directory() const { return FDirectory; }
    virtual void SetDirectory(const std::string& value);
    // The mount point of the volume holding Directory; writing another one moves to it (a
    // volume that cannot be entered leaves the folder as it was).
    std::string Drive() const;
    void SetDrive(const std::string& value);
    // Folders only ever keep their case here; the volume's file system says whether names
    // differ by case.
    bool PreserveCase() const { return FPreserveCase; }
    bool CaseSensitive() const { return FCaseSensitive; }

    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* value);
    TbsSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TbsSkinStdLabel* value);

    std::string DisplayCase(const std::string& S) const;
    int FileCompareText(const std::string& A, const std::string& B) const;
    // The full path of item Index: "/" for the first, the folder itself for the current one.
    std::string GetItemPath(int Index) const;
    void OpenCurrent();
    // Refills from the file system (the platform's Update is the repaint, hence the name).
    void UpdateList();

    vcl::TNotifyEvent OnChange;
    // Set by the drive combo box it is linked from.
    TbsSkinDriveComboBox* FDriveCombo = nullptr;

protected:
    void CreateWnd() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    int GetItemTextWidth(int Index, gfx::TCanvas& Canvas) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(char32_t& Key) override;
    virtual void DirectoryChanged();
    virtual void LoadFolderBitmaps();
    virtual void BuildDirectoryList();

    gfx::TBitmap ClosedBMP, OpenedBMP, CurrentBMP;

private:
    void DrawItem(gfx::TCanvas& Cnvs, int Index, int ItemHeight, const TRect& TxtRect);
    int ItemIndent(int Index) const;
    const gfx::TBitmap& ItemBitmap(int Index) const;
    void UpdateLabel();

    std::string FDirectory;
    int FCurrentPos = 0;  // the item of Directory itself; later items are its sub-folders
    bool FInSetDir = false;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    TbsSkinFileListBox* FFileList = nullptr;
    TbsSkinStdLabel* FDirLabel = nullptr;
};

enum TbsFileAttr {
    bsftReadOnly,
    bsftHidden,
    bsftSystem,
    bsftVolumeID,
    bsftDirectory,
    bsftArchive,
    bsftNormal
};
using TbsFileType = vcl::TSet<TbsFileAttr>;

class TbsSkinFileListBox : public TbsSkinListBox {
public:
    explicit TbsSkinFileListBox(vcl::TComponent* AOwner);

    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& value) { ApplyFilePath(value); }
    std::string Drive() const;
    void SetDrive(const std::string& value);
    // Patterns separated by ";"; blanks around each are ignored and a name that two patterns
    // match is listed once.
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& value);
    TbsFileType FileType() const { return FFileType; }
    void SetFileType(TbsFileType value);
    // The selected entry joined to Directory; "" without a selection.
    virtual std::string FileName() const;
    void SetFileName(const std::string& value) { ApplyFilePath(value); }

    vcl::TCustomEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(vcl::TCustomEdit* value);

    // Refills from the file system (the platform's Update is the repaint, hence the name).
    void UpdateList();
    // A folder, a file or a mask as typed: enters the folder, selects the file, takes the mask.
    virtual void ApplyFilePath(const std::string& EditText);

    vcl::TNotifyEvent OnChange;
    // Set by the directory list and the filter combo box linked to it.
    TbsSkinDirectoryListBox* FDirList = nullptr;
    TbsSkinFilterComboBox* FFilterCombo = nullptr;

protected:
    void CreateWnd() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void ListBoxClick() override;
    virtual void FileSelectionChanged();
    virtual void BuildFileList();

private:
    void SelectFileName(const std::string& name);

    std::string FDirectory;
    std::string FMask = "*.*";
    TbsFileType FFileType{bsftNormal};
    vcl::TCustomEdit* FFileEdit = nullptr;
    int FLastSel = -1;
};

}  // namespace skin
