#include "skin/dialogs/file_combo_boxes.h"

#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "skin/dialogs/path_routines.h"
#include "skin/packages/default_pictures.h"

namespace skin {

namespace {

void LoadPicture(gfx::TBitmap& bitmap, const char* name) {
    RegisterDefaultPictures();
    bitmap.LoadFromResourceName(name);
    // The bottom-left pixel is the key colour.
    bitmap.SetTransparent(true);
}

}  // namespace

// --- TbsSkinDriveComboBox --------------------------------------------------------------------

TbsSkinDriveComboBox::TbsSkinDriveComboBox(vcl::TComponent* AOwner) : TbsSkinComboBox(AOwner) {
    OnChange = [this](vcl::TObject*) {
        const int i = ItemIndex();
        if (i >= 0 && i < int(FVolumes.size())) SetDrive(FVolumes[std::size_t(i)].MountPoint);
    };
    auto draw = [this](gfx::TCanvas& Cnvs, int Index, int, int ItemHeight, const TRect& TxtRect,
                       vcl::TOwnerDrawState) { DrawItem(Cnvs, Index, ItemHeight, TxtRect); };
    OnComboBoxDrawItem = draw;
    SetOnListBoxDrawItem(draw);
    LoadPicture(FloppyBMP, "BS_FLOPPY");
    LoadPicture(FixedBMP, "BS_HARD");
    LoadPicture(NetworkBMP, "BS_NETWORK");
    LoadPicture(CDROMBMP, "BS_CDROM");
    LoadPicture(RAMBMP, "BS_RAM");
    const auto volumes = sys::ReadVolumes(FileControlVolumeSources());
    const sys::TVolume* v = sys::VolumeOfPath(volumes, sys::GetCurrentDir());
    FDrive = v ? v->MountPoint : "";
}

std::string TbsSkinDriveComboBox::Cased(const std::string& s) const {
    return FTextCase == tcUpperCase ? rtl::UpperCase(s) : rtl::LowerCase(s);
}

void TbsSkinDriveComboBox::BuildDriveList() {
    Items().Clear();
    FVolumes = sys::ReadVolumes(FileControlVolumeSources());
    for (const sys::TVolume& v : FVolumes) {
        std::string text = v.MountPoint;
        switch (v.Kind) {
            case sys::TVolumeKind::Removable:
                break;  // no volume is read: no disk is touched
            case sys::TVolumeKind::Network:
                text += " " + Cased(GetNetworkVolumeText(v.MountPoint, FVolumes));
                break;
            default:
                text += " " + Cased(GetVolumeLabelText(v.MountPoint, FVolumes));
                break;
        }
        Items().Add(text);
    }
}

const gfx::TBitmap* TbsSkinDriveComboBox::ItemBitmap(int Index) const {
    if (Index < 0 || Index >= int(FVolumes.size())) return nullptr;
    switch (FVolumes[std::size_t(Index)].Kind) {
        case sys::TVolumeKind::Removable:
            return &FloppyBMP;
        case sys::TVolumeKind::Fixed:
            return &FixedBMP;
        case sys::TVolumeKind::Network:
            return &NetworkBMP;
        case sys::TVolumeKind::CD:
            return &CDROMBMP;
        case sys::TVolumeKind::RAM:
            return &RAMBMP;
    }
    return nullptr;
}

void TbsSkinDriveComboBox::DrawItem(gfx::TCanvas& Cnvs, int Index, int ItemHeight,
                                    const TRect& TxtRect) {
    int x = TxtRect.Left;
    if (const gfx::TBitmap* b = ItemBitmap(Index)) {
        Cnvs.Draw(x, TxtRect.Top + (ItemHeight - TxtRect.Top - b->Height()) / 2, *b);
        x += b->Width() + 6;
    }
    if (Index < 0 || Index >= Items().Count()) return;
    Cnvs.Brush().SetStyle(gfx::bsClear);
    Cnvs.TextOut(x, TxtRect.Top + (ItemHeight - TxtRect.Top - Cnvs.TextHeight("Wg")) / 2,
                 Items()[Index]);
}

void TbsSkinDriveComboBox::CreateWnd() {
    TbsSkinComboBox::CreateWnd();
    BuildDriveList();
    const std::string drive = FDrive;
    FDrive.clear();
    SetDrive(drive);
}

void TbsSkinDriveComboBox::SetTextCase(TTextCase value) {
    FTextCase = value;
    BuildDriveList();
    const std::string drive = FDrive;
    FDrive.clear();
    SetDrive(drive);
}

void TbsSkinDriveComboBox::SetDrive(const std::string& value) {
    if (ItemIndex() >= 0 && value == FDrive) return;
    FDrive = value;
    int found = -1;
    for (std::size_t i = 0; i < FVolumes.size() && found < 0; ++i)
        if (!value.empty() && FVolumes[i].MountPoint == value) found = int(i);
    // The list's own index: the ItemIndex cascade would come back here through OnChange.
    ListBox()->SetItemIndex(found);
    SetText(found >= 0 ? Items()[found] : "");
    Repaint();
    if (FDirList) FDirList->SetDrive(value);
    SelectionChanged();
}

void TbsSkinDriveComboBox::SetDirList(TbsSkinDirectoryListBox* value) {
    if (FDirList == value) return;
    if (FDirList) FDirList->FDriveCombo = nullptr;
    FDirList = value;
    if (value) {
        value->FDriveCombo = this;
        value->FreeNotification(this);
    }
}

void TbsSkinDriveComboBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FDirList) FDirList = nullptr;
}

// --- TbsSkinFilterComboBox -------------------------------------------------------------------

TbsSkinFilterComboBox::TbsSkinFilterComboBox(vcl::TComponent* AOwner) : TbsSkinComboBox(AOwner) {}

void TbsSkinFilterComboBox::CreateWnd() {
    TbsSkinComboBox::CreateWnd();
    BuildLists();
}

void TbsSkinFilterComboBox::BuildLists() {
    Items().Clear();
    FMaskList.clear();
    std::string s = FFilter;
    for (std::size_t p = s.find('|'); p != std::string::npos; p = s.find('|')) {
        const std::string description = s.substr(0, p);
        s.erase(0, p + 1);
        const std::size_t q = s.find('|');
        std::string mask;
        if (q == std::string::npos) {
            mask = s;
            s.clear();
        } else {
            mask = s.substr(0, q);
            s.erase(0, q + 1);
        }
        Items().Add(description);
        FMaskList.push_back(mask);
    }
    SetItemIndex(0);
}

void TbsSkinFilterComboBox::SetFilter(const std::string& value) {
    if (rtl::SameText(value, FFilter)) return;
    FFilter = value;
    if (HandleAllocated()) BuildLists();
    SelectionChanged();
}

std::string TbsSkinFilterComboBox::Mask() {
    if (ItemIndex() < 0) SetItemIndex(Items().Count() - 1);
    const int i = ItemIndex();
    if (i >= 0 && i < int(FMaskList.size())) return FMaskList[std::size_t(i)];
    return "*.*";
}

void TbsSkinFilterComboBox::SelectionChanged() {
    if (FFileList) FFileList->SetMask(Mask());
    TbsSkinComboBox::SelectionChanged();
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* value) {
    if (FFileList == value) return;
    if (FFileList) FFileList->FFilterCombo = nullptr;
    FFileList = value;
    if (value) {
        value->FFilterCombo = this;
        value->FreeNotification(this);
    }
}

void TbsSkinFilterComboBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FFileList) FFileList = nullptr;
}

}  // namespace skin
