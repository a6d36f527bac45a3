#include "skin/dialogs/file_controls.h"

#include <algorithm>
#include <set>

#include "platform/rtl/exception.h"
#include "platform/rtl/masks.h"
#include "platform/rtl/scope_exit.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/vcl/forms.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/path_routines.h"
#include "skin/packages/default_pictures.h"

namespace skin {

namespace {

// The ";"-separated patterns of a mask without their surrounding blanks.
std::vector<std::string> MaskPatterns(const std::string& mask) {
    std::vector<std::string> patterns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semi = mask.find(';', start);
        const std::string p = rtl::Trim(mask.substr(start, semi - start));
        if (!p.empty()) patterns.push_back(p);
        if (semi == std::string::npos) break;
        start = semi + 1;
    }
    return patterns;
}

// Folder names in the order the directory list shows them: letter case aside, then exactly.
bool FolderNameLess(const std::string& a, const std::string& b) {
    const int c = rtl::CompareText(a, b);
    return c != 0 ? c < 0 : a < b;
}

void SwitchToSaved(const std::string& folder) {
    if (IsDirectoryPath(folder)) sys::SetCurrentDir(folder);
}

// Links are one-to-one: a control linked anew drops the old partner's back link.
template <class TOwnerSide, class TPartner, class TBack>
void Relink(vcl::TComponent* self, TOwnerSide*& field, TPartner* value, TBack TPartner::*back,
            TBack selfBack) {
    if (field == value) return;
    if (field) field->*back = nullptr;
    field = value;
    if (value) {
        value->*back = selfBack;
        value->FreeNotification(self);
    }
}

// The folder `dir` names from the current one; "" when it cannot be entered.
std::string ResolvedDir(const std::string& dir) {
    const std::string saved = sys::GetCurrentDir();
    if (!sys::SetCurrentDir(dir)) return "";
    const std::string resolved = sys::GetCurrentDir();
    sys::SetCurrentDir(saved);
    return resolved;
}

}  // namespace

sys::TVolumeSources& FileControlVolumeSources() {
    static sys::TVolumeSources sources;
    return sources;
}

std::string MountPointOf(const std::string& path) {
    const auto volumes = sys::ReadVolumes(FileControlVolumeSources());
    const sys::TVolume* v = sys::VolumeOfPath(volumes, path);
    return v ? v->MountPoint : "";
}

void LoadFileControlPicture(gfx::TBitmap& bitmap, const char* name) {
    RegisterDefaultPictures();
    bitmap.LoadFromResourceName(name);
    bitmap.SetTransparent(true);
}

// --- TbsSkinDirectoryListBox -----------------------------------------------------------------

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(vcl::TComponent* AOwner) : TbsSkinListBox(AOwner) {
    OnDrawItem = [this](gfx::TCanvas& Cnvs, int Index, int, int ItemHeight, const TRect& TxtRect,
                        vcl::TOwnerDrawState) { DrawItem(Cnvs, Index, ItemHeight, TxtRect); };
    SetWidth(145);
    SetSorted(false);
    LoadFolderBitmaps();
    FDirectory = sys::GetCurrentDir();
}

void TbsSkinDirectoryListBox::LoadFolderBitmaps() {
    LoadFileControlPicture(OpenedBMP, "BS_OPENFOLDER");
    LoadFileControlPicture(ClosedBMP, "BS_CLOSEDFOLDER");
    LoadFileControlPicture(CurrentBMP, "BS_CURRENTFOLDER");
}

void TbsSkinDirectoryListBox::CreateWnd() {
    TbsSkinListBox::CreateWnd();
    BuildDirectoryList();
    SetItemIndex(CountPathSeparators(FDirectory));
}

void TbsSkinDirectoryListBox::UpdateList() {
    BuildDirectoryList();
    DirectoryChanged();
}

void TbsSkinDirectoryListBox::OpenCurrent() {
    SetDirectory(GetItemPath(ItemIndex()));
}

std::string TbsSkinDirectoryListBox::Drive() const {
    return MountPointOf(FDirectory);
}

void TbsSkinDirectoryListBox::SetDrive(const std::string& value) {
    if (value == Drive()) return;
    // A volume that cannot be entered keeps the old folder and raises nothing.
    if (!value.empty() && sys::SetCurrentDir(value)) FDirectory = sys::GetCurrentDir();
    if (!FInSetDir) {
        BuildDirectoryList();
        DirectoryChanged();
    }
}

void TbsSkinDirectoryListBox::SetDirectory(const std::string& value) {
    if (value.empty() || FileCompareText(value, FDirectory) == 0) return;
    std::string dir, file;
    SplitEditPath(value, dir, file);
    const std::string oldDrive = Drive();
    const std::string newDrive =
        MountPointOf(dir.empty() || dir[0] != '/' ? JoinPath(FDirectory, dir) : dir);
    if (newDrive != oldDrive) {
        FInSetDir = true;
        rtl::TScopeExit settled([this] { FInSetDir = false; });
        if (FDriveCombo)
            FDriveCombo->SetDrive(newDrive);
        else
            SetDrive(newDrive);
    }
    SwitchToSaved(FDirectory);
    ChangeCurrentDir(dir);
    FDirectory = sys::GetCurrentDir();
    BuildDirectoryList();
    DirectoryChanged();
}

void TbsSkinDirectoryListBox::DirectoryChanged() {
    if (FFileList) FFileList->ApplyFilePath(FDirectory);
    UpdateLabel();
    if (OnChange) OnChange(this);
}

void TbsSkinDirectoryListBox::UpdateLabel() {
    if (!FDirLabel) return;
    const int width = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(ShortenPathToWidth(FDirectory, FDirLabel->Canvas(), width));
}

void TbsSkinDirectoryListBox::BuildDirectoryList() {
    FStopUpDateHScrollBar = true;
    Items().BeginUpdate();
    Items().Clear();
    const auto volumes = sys::ReadVolumes(FileControlVolumeSources());
    const sys::TVolume* v = sys::VolumeOfPath(volumes, FDirectory);
    FPreserveCase = true;
    FCaseSensitive = !(v && v->CaseInsensitive);

    Items().Add("/");
    std::size_t start = 1;
    while (start < FDirectory.size()) {
        const std::size_t slash = FDirectory.find('/', start);
        Items().Add(FDirectory.substr(start, slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    FCurrentPos = Items().Count() - 1;

    std::vector<sys::TDirEntry> entries;
    sys::ListDirectory(FDirectory, entries);
    std::vector<std::string> folders;
    for (const sys::TDirEntry& e : entries)
        if (e.Directory && !e.Hidden) folders.push_back(e.Name);
    std::sort(folders.begin(), folders.end(), FolderNameLess);
    for (const std::string& f : folders) Items().Add(f);

    Items().EndUpdate();
    FStopUpDateHScrollBar = false;
    if (HandleAllocated()) {
        SetItemIndex(FCurrentPos);
        UpDateScrollBar();
    }
}

int TbsSkinDirectoryListBox::ItemIndent(int Index) const {
    if (Index <= FCurrentPos) return Index * 4 + 2;
    return CountPathSeparators(FDirectory) * 4 + 6;
}

const gfx::TBitmap& TbsSkinDirectoryListBox::ItemBitmap(int Index) const {
    if (Index < FCurrentPos) return OpenedBMP;
    return Index == FCurrentPos ? CurrentBMP : ClosedBMP;
}

void TbsSkinDirectoryListBox::DrawItem(gfx::TCanvas& Cnvs, int Index, int ItemHeight,
                                       const TRect& TxtRect) {
    const gfx::TBitmap& bitmap = ItemBitmap(Index);
    const int x = TxtRect.Left + ItemIndent(Index) - ListBox->HorizontalExtentValue();
    Cnvs.Draw(x, (ItemHeight - bitmap.Height()) / 2, bitmap);
    const std::string text = DisplayCase(Items()[Index]);
    Cnvs.Brush().SetStyle(gfx::bsClear);
    Cnvs.TextOut(x + bitmap.Width() + 4, (ItemHeight - Cnvs.TextHeight("Wg")) / 2, text);
}

int TbsSkinDirectoryListBox::GetItemTextWidth(int Index, gfx::TCanvas& Canvas) {
    const int bitmapWidth = ItemBitmap(Index).Empty() ? 16 : ItemBitmap(Index).Width();
    return Canvas.TextWidth(Items()[Index]) + ItemIndent(Index) + bitmapWidth + 4;
}

std::string TbsSkinDirectoryListBox::GetItemPath(int Index) const {
    auto& items = const_cast<TbsSkinDirectoryListBox*>(this)->Items();
    if (Index < 0 || Index >= items.Count()) return "";
    if (Index == 0) return "/";
    if (Index > FCurrentPos) return JoinPath(FDirectory, items[Index]);
    if (Index == FCurrentPos) return FDirectory;
    // An ancestor: Directory up to its (Index + 1)-th "/".
    std::size_t pos = 0;
    for (int n = 0; n <= Index; ++n) pos = FDirectory.find('/', n == 0 ? 0 : pos + 1);
    return FDirectory.substr(0, pos);
}

void TbsSkinDirectoryListBox::ListBoxDblClick() {
    TbsSkinListBox::ListBoxDblClick();
    OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(char32_t& Key) {
    TbsSkinListBox::ListBoxKeyPress(Key);
    if (Key == 13) OpenCurrent();
}

std::string TbsSkinDirectoryListBox::DisplayCase(const std::string& S) const {
    return FPreserveCase || FCaseSensitive ? S : rtl::LowerCase(S);
}

int TbsSkinDirectoryListBox::FileCompareText(const std::string& A, const std::string& B) const {
    if (FCaseSensitive) return A.compare(B);
    return rtl::CompareText(A, B);
}

void TbsSkinDirectoryListBox::SetFileList(TbsSkinFileListBox* value) {
    Relink(this, FFileList, value, &TbsSkinFileListBox::FDirList, this);
    if (FFileList) FFileList->ApplyFilePath(FDirectory);
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* value) {
    FDirLabel = value;
    if (value) value->FreeNotification(this);
    UpdateLabel();
}

void TbsSkinDirectoryListBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FFileList) FFileList = nullptr;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
    if (AComponent == FDriveCombo) FDriveCombo = nullptr;
}

// --- TbsSkinFileListBox ----------------------------------------------------------------------

TbsSkinFileListBox::TbsSkinFileListBox(vcl::TComponent* AOwner) : TbsSkinListBox(AOwner) {
    SetWidth(145);
    FDirectory = sys::GetCurrentDir();
    SetMultiSelect(false);
    SetSorted(true);
}

void TbsSkinFileListBox::CreateWnd() {
    TbsSkinListBox::CreateWnd();
    BuildFileList();
}

void TbsSkinFileListBox::UpdateList() {
    BuildFileList();
}

void TbsSkinFileListBox::SetMask(const std::string& value) {
    if (value == FMask) return;
    FMask = value;
    BuildFileList();
}

void TbsSkinFileListBox::SetFileType(TbsFileType value) {
    if (value.Bits() == FFileType.Bits()) return;
    FFileType = value;
    BuildFileList();
}

std::string TbsSkinFileListBox::Drive() const {
    return MountPointOf(FDirectory);
}

void TbsSkinFileListBox::SetDrive(const std::string& value) {
    if (value != Drive()) ApplyFilePath(value);
}

std::string TbsSkinFileListBox::FileName() const {
    const int i = ItemIndex();
    if (i < 0) return "";
    return JoinPath(FDirectory, const_cast<TbsSkinFileListBox*>(this)->Items()[i]);
}

void TbsSkinFileListBox::BuildFileList() {
    if (!HandleAllocated()) return;
    ChangeCurrentDir(FDirectory);
    const vcl::TCursor savedCursor = vcl::Screen->Cursor();
    struct TRestore {
        vcl::TCursor Cursor;
        ~TRestore() { vcl::Screen->SetCursor(Cursor); }
    } restore{savedCursor};

    Items().BeginUpdate();
    Items().Clear();
    std::vector<sys::TDirEntry> entries;
    sys::ListDirectory(".", entries);
    const bool normal = FFileType.Contains(bsftNormal);
    std::set<std::string> listed;
    for (const std::string& pattern : MaskPatterns(FMask)) {
        for (const sys::TDirEntry& e : entries) {
            if (e.Hidden && !FFileType.Contains(bsftHidden)) continue;
            if (e.Directory && !FFileType.Contains(bsftDirectory)) continue;
            const bool shares = (e.Directory && FFileType.Contains(bsftDirectory)) ||
                                (e.Hidden && FFileType.Contains(bsftHidden)) ||
                                (e.ReadOnly && FFileType.Contains(bsftReadOnly));
            if (!normal && !shares) continue;
            if (!rtl::MatchesMask(e.Name, pattern)) continue;
            const std::string text = e.Directory ? "[" + e.Name + "]" : e.Name;
            if (!listed.insert(text).second) continue;
            Items().Add(text);
            if (Items().Count() == 101) vcl::Screen->SetCursor(vcl::crHourGlass);
        }
    }
    Items().EndUpdate();
    FileSelectionChanged();
}

void TbsSkinFileListBox::FileSelectionChanged() {
    FLastSel = ItemIndex();
    if (FFileEdit) {
        FFileEdit->SetText(FLastSel >= 0 ? Items()[FLastSel] : FMask);
        FFileEdit->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick() {
    TbsSkinListBox::ListBoxClick();
    if (ItemIndex() != FLastSel) FileSelectionChanged();
}

void TbsSkinFileListBox::SelectFileName(const std::string& name) {
    const int current = ItemIndex();
    if (current >= 0 && rtl::SameText(Items()[current], name)) return;
    int found = -1;
    for (int i = 0; i < Items().Count() && found < 0; ++i)
        if (rtl::SameText(Items()[i], name)) found = i;
    SetItemIndex(found);
    FileSelectionChanged();
}

void TbsSkinFileListBox::ApplyFilePath(const std::string& EditText) {
    if (EditText.empty() || EditText == FileName()) return;
    std::string dir, file;
    SplitEditPath(EditText, dir, file);
    // A linked directory list moves first and hands the folder back through its change.
    if (FDirList && FDirList->Directory() != ResolvedDir(dir)) {
        FDirList->SetDirectory(EditText);
    } else if (dir != FDirectory) {
        SwitchToSaved(FDirectory);
        ChangeCurrentDir(dir);
        const std::string now = sys::GetCurrentDir();
        if (now != FDirectory) {
            FDirectory = now;
            BuildFileList();
        }
    }
    if (file.find_first_of("*?") != std::string::npos) {
        SetMask(file);
    } else if (!file.empty()) {
        SelectFileName(file);
        if (ItemIndex() < 0 && sys::FileExists(JoinPath(FDirectory, file))) {
            SetMask(file);
            SelectFileName(file);
        }
    }
}

void TbsSkinFileListBox::SetFileEdit(vcl::TCustomEdit* value) {
    FFileEdit = value;
    if (!value) return;
    value->FreeNotification(this);
    value->SetText(ItemIndex() >= 0 ? Items()[ItemIndex()] : FMask);
}

void TbsSkinFileListBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FFileEdit) FFileEdit = nullptr;
    if (AComponent == FDirList) FDirList = nullptr;
    if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}

}  // namespace skin
