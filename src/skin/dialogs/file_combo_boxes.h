// The two skinned combo boxes of the file-system chooser. TbsSkinDriveComboBox lists the mounted
// volumes ("/" first, then by mount point) with a picture of their kind and moves a linked
// directory list; TbsSkinFilterComboBox turns a filter text ("description|mask|...") into items
// and hands the chosen mask to a linked file list. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/sys/volumes.h"
#include "skin/dialogs/file_controls.h"
#include "skin/lists/combo_box.h"

namespace skin {

enum TTextCase { tcLowerCase, tcUpperCase };

class TbsSkinDriveComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinDriveComboBox(vcl::TComponent* AOwner);

    // The mount point of the chosen volume, "" for none. A write selects the volume's item and
    // moves a linked directory list there.
    const std::string& Drive() const { return FDrive; }
    void SetDrive(const std::string& value);
    // Applies to the labels and remote names only; mount points keep their case.
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TbsSkinDirectoryListBox* value);

    // The volumes of the items, in item order.
    const std::vector<sys::TVolume>& Volumes() const { return FVolumes; }
    // The picture item Index is drawn with.
    const gfx::TBitmap* ItemBitmap(int Index) const;
    virtual void BuildDriveList();

protected:
    void CreateWnd() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

    gfx::TBitmap FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;

private:
    void DrawItem(gfx::TCanvas& Cnvs, int Index, int ItemHeight, const TRect& TxtRect);
    std::string Cased(const std::string& s) const;

    std::string FDrive;
    TTextCase FTextCase = tcLowerCase;
    TbsSkinDirectoryListBox* FDirList = nullptr;
    std::vector<sys::TVolume> FVolumes;
};

class TbsSkinFilterComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinFilterComboBox(vcl::TComponent* AOwner);

    // Pairs of description and mask, all separated by "|"; a text differing only in letter case
    // changes nothing.
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& value);
    // The mask of the selected item; with no selection the last item is selected first; "*.*"
    // without items.
    std::string Mask();
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* value);
    const std::vector<std::string>& MaskList() const { return FMaskList; }

protected:
    void CreateWnd() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void SelectionChanged() override;

private:
    void BuildLists();

    std::string FFilter = "All files (*.*)|*.*";
    TbsSkinFileListBox* FFileList = nullptr;
    std::vector<std::string> FMaskList;
};

}  // namespace skin
