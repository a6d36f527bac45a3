#include "skin/dialogs/open_dialog.h"

#include <vector>

#include "platform/sys/files.h"
#include "platform/sys/paths.h"
#include "platform/vcl/menus.h"
#include "skin/controls/bars.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/dialog_support.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/path_routines.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"

namespace skin {

TbsSkinOpenDialog::TbsSkinOpenDialog(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle({});
}

void TbsSkinOpenDialog::SetFileName(const std::string& value) {
    FFileName = value;
    if (FDlgFrm) FDlgFrm->FileNameEdit->SetText(value);
}

std::string TbsSkinOpenDialog::GetSelectedFile() {
    return FDlgFrm ? FDlgFrm->FileListView->GetSelectedFile() : "";
}

void TbsSkinOpenDialog::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinOpenDialog::SetCtrlSkinData(TbsSkinData* value) {
    FCtrlFSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinOpenDialog::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

TbsOpenDlgForm* TbsSkinOpenDialog::CreateForm() {
    return TbsOpenDlgForm::CreateEx(vcl::Application, FSaveMode, FCtrlFSD, ToolButtonsTransparent);
}

std::string TbsSkinOpenDialog::StartFolder() const {
    // The last file's folder only while it still exists: a folder removed since must not make
    // every later Execute fail.
    const std::string folder = sys::ExtractFilePath(FFileName);
    if (!folder.empty() && IsDirectoryPath(folder)) return folder;
    if (!InitialDir.empty() && IsDirectoryPath(InitialDir)) return InitialDir;
    return sys::GetAppPath();
}

void TbsSkinOpenDialog::ConfigureForm(TbsOpenDlgForm* form) {
    form->OverwritePromt = OverwritePromt;
    form->OnFolderChange = OnFolderChange;
    form->CheckFileExists = CheckFileExists;
    form->DefaultExt = DefaultExt;
    ApplyDialogFrame(form->BSF, {FSD, FCtrlFSD, DialogMinWidth, DialogMinHeight, AlphaBlend,
                                 AlphaBlendValue, AlphaBlendAnimation});
    // After the skin: the title set earlier paints the plain frame's grey caption first.
    form->SetCaption(Title);
    for (TbsSkinCustomComboBox* combo :
         {static_cast<TbsSkinCustomComboBox*>(form->ShellBox),
          static_cast<TbsSkinCustomComboBox*>(form->FilterComboBox)}) {
        combo->SetAlphaBlend(CtrlAlphaBlend);
        combo->SetAlphaBlendValue(CtrlAlphaBlendValue);
        combo->SetAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    }
    form->BSF->SetMenusAlphaBlend(CtrlAlphaBlend);
    form->BSF->SetMenusAlphaBlendValue(CtrlAlphaBlendValue);
    form->BSF->SetMenusAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    form->OpenButton->SetDefaultFont(FDefaultFont);
    form->CancelButton->SetDefaultFont(FDefaultFont);
    form->ShellBox->SetDefaultFont(FDefaultFont);
    form->FileListView->SetDefaultFont(FDefaultFont);

    switch (ListViewStyle) {
        case vcl::vsIcon:
            form->IconItemClick(form);
            break;
        case vcl::vsSmallIcon:
            form->SmallIconItemClick(form);
            break;
        case vcl::vsList:
            form->ListItemClick(form);
            break;
        case vcl::vsReport:
            form->ReportItemClick(form);
            break;
    }
    // The window first: the frame's size is then final and the list keeps the folder it is given.
    form->HandleNeeded();
    TbsSkinFileListView* list = form->FileListView;
    list->SetRoot(StartFolder());
    list->SetHeaderSkinDataName(LVHeaderSkinDataName);
    list->SetSkinData(FCtrlFSD);
    list->SetMultiSelect(MultiSelection);
    if (ShowHiddenFiles) {
        shell::TShellObjectTypes types = list->ObjectTypes();
        types += shell::otHidden;
        list->SetObjectTypes(types);
    }
    form->FilterComboBox->SetFilter(Filter);
    form->FilterComboBox->SetItemIndex(FilterIndex - 1);
    // The combo tells the list only when its text changed; the entry's mask holds either way.
    list->SetMask(form->FilterComboBox->Mask());

    for (TbsSkinCustomControl* c : std::initializer_list<TbsSkinCustomControl*>{
             form->FileListViewPanel, form->BottomPanel, form->ToolPanel, form->FLVHScrollBar,
             form->FLVVScrollBar, form->FilterComboBox, form->OpenButton, form->CancelButton,
             form->ShellBox})
        c->SetSkinData(FCtrlFSD);
    for (TbsSkinSpeedButton* b :
         {form->UpToolButton, form->BackToolButton,
          static_cast<TbsSkinSpeedButton*>(form->StyleToolButton), form->NewFolderToolButton})
        b->SetSkinData(FCtrlFSD);
    form->FileNameEdit->SetSkinData(FCtrlFSD);
    form->Drivelabel->SetSkinData(FCtrlFSD);
    form->OpenFileLabel->SetSkinData(FCtrlFSD);
    form->FileTypeLabel->SetSkinData(FCtrlFSD);
    form->ShellBox->SetSkinDataName("combobox");

    const gfx::TSize fallback = DefaultSize();
    const gfx::TSize size =
        DialogClientSize(form->BSF, FSD, DialogWidth, DialogHeight, fallback.cx, fallback.cy);
    form->SetClientWidth(size.cx);
    form->SetClientHeight(size.cy);

    if (list->Items().Count() > 0) list->Items().Item(0)->SetFocused(true);
    form->FileNameEdit->SetText(sys::ExtractFileName(FFileName));
    form->InitHistory();
}

void TbsSkinOpenDialog::TakeResults(TbsOpenDlgForm* form) {
    FFileName = form->FileName;
    if (FSaveMode && sys::ExtractFileExt(sys::ExtractFileName(FFileName)).empty())
        FFileName += form->FilterExtension();
    std::vector<std::string> files;
    form->FileListView->GetSelectedFiles(files);
    FFiles.Clear();
    for (const std::string& f : files) FFiles.Add(f);
    // A name typed with nothing selected is the one file chosen; the main window adds from Files.
    if (MultiSelection && files.empty() && !FFileName.empty()) FFiles.Add(FFileName);
    if (FSaveMode && sys::ExtractFileExt(sys::ExtractFileName(FFileName)).empty() &&
        !DefaultExt.empty())
        FFileName += "." + DefaultExt;
}

bool TbsSkinOpenDialog::Execute() {
    if (OnShow) OnShow(this);
    TbsOpenDlgForm* form = CreateForm();
    TbsDialogRun<TbsOpenDlgForm> run(this, OnClose, FDlgFrm, form);
    ConfigureForm(form);
    const int result = form->ShowModal();
    FilterIndex = form->FilterComboBox->ItemIndex() + 1;
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    ListViewStyle = form->FileListView->ViewStyle();
    KeepState(form);
    if (result != vcl::mrOk) return false;
    TakeResults(form);
    return true;
}

}  // namespace skin
