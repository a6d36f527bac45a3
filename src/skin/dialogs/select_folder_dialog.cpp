#include "skin/dialogs/select_folder_dialog.h"

#include "platform/sys/files.h"
#include "skin/controls/bevel.h"
#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/dialogs/dialog_support.h"
#include "skin/dialogs/path_routines.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"

namespace skin {

// --- TbsSelDirDlgForm --------------------------------------------------------------------------

TbsSelDirDlgForm::TbsSelDirDlgForm(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {}

TbsSelDirDlgForm* TbsSelDirDlgForm::CreateEx(vcl::TComponent* AOwner, TbsSkinData* ACtrlSkinData,
                                             bool AShowToolBar, bool AToolButtonsTransparent) {
    auto* f = new TbsSelDirDlgForm(AOwner);
    f->SetPosition(vcl::poScreenCenter);
    f->BSF = new TbsSkinForm(f);
    f->CtrlSD = ACtrlSkinData;
    f->ShowToolBar = AShowToolBar;

    if (AShowToolBar) {
        f->ToolPanel = new TbsSkinPanel(f);
        f->ToolPanel->SetParent(f);
        f->ToolPanel->SetAlign(vcl::alTop);
        f->ToolPanel->SetBorderStyle(bvNone);
        f->ToolPanel->SetDefaultHeight(25);
        f->ToolPanel->SetSkinDataName("toolpanel");

        f->NewFolderToolButton = new TbsSkinSpeedButton(f);
        f->NewFolderToolButton->SetParent(f->ToolPanel);
        f->NewFolderToolButton->SetAlign(vcl::alRight);
        f->NewFolderToolButton->SetDefaultWidth(27);
        f->NewFolderToolButton->SetDefaultHeight(25);
        f->NewFolderToolButton->SetSkinDataName("toolbutton");
        LoadDialogGlyph(f->NewFolderToolButton, "BS_NEWFOLDER");
        f->NewFolderToolButton->SetHint(
            DialogText(ACtrlSkinData, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder"));
        f->NewFolderToolButton->SetShowHint(true);
        f->NewFolderToolButton->SetFlat(AToolButtonsTransparent);
        f->NewFolderToolButton->OnClick = [f](vcl::TObject* s) { f->NewFolderToolButtonClick(s); };

        auto* gap = new TbsSkinBevel(f);
        gap->SetParent(f->ToolPanel);
        gap->SetWidth(5);
        gap->SetShape(vcl::bsSpacer);
        gap->SetAlign(vcl::alRight);

        f->DirEdit = new TbsSkinEdit(f);
        f->DirEdit->SetParent(f->ToolPanel);
        f->DirEdit->SetAlign(vcl::alClient);
        f->DirEdit->SetDefaultHeight(25);
        f->DirEdit->SetSkinDataName("edit");
        f->DirEdit->OnKeyPress = [f](vcl::TObject* s, char32_t& key) {
            f->DirEditKeyPress(s, key);
        };
    }

    f->DirTreeViewPanel = new TbsSkinPanel(f);
    f->DirTreeViewPanel->SetParent(f);
    f->DirTreeViewPanel->SetAlign(vcl::alClient);
    f->DirTreeViewPanel->SetBorderStyle(bvFrame);
    f->DirTreeViewPanel->SetHeight(200);

    f->VScrollBar = new TbsSkinScrollBar(f);
    f->VScrollBar->SetKind(sbVertical);
    f->VScrollBar->SetParent(f->DirTreeViewPanel);
    f->VScrollBar->SetAlign(vcl::alRight);
    f->VScrollBar->SetDefaultWidth(19);
    f->VScrollBar->SetEnabled(false);
    f->VScrollBar->SetSkinDataName("vscrollbar");

    f->HScrollBar = new TbsSkinScrollBar(f);
    f->HScrollBar->SetParent(f->DirTreeViewPanel);
    f->HScrollBar->SetAlign(vcl::alBottom);
    f->HScrollBar->SetDefaultHeight(19);
    f->HScrollBar->SetEnabled(false);
    f->HScrollBar->SetBothMarkerWidth(19);
    f->HScrollBar->SetSkinDataName("hscrollbar");

    f->DirTreeView = new TbsSkinDirTreeView(f);
    f->DirTreeView->SetParent(f->DirTreeViewPanel);
    f->DirTreeView->SetAlign(vcl::alClient);
    f->DirTreeView->SetHScrollBar(f->HScrollBar);
    f->DirTreeView->SetVScrollBar(f->VScrollBar);
    shell::TShellObjectTypes types = f->DirTreeView->ObjectTypes();
    types += shell::otHidden;
    f->DirTreeView->SetObjectTypes(types);
    f->DirTreeView->SetHideSelection(false);
    f->DirTreeView->OnChange = [f](vcl::TObject* s, vcl::TTreeNode* n) {
        f->DirTreeViewChange(s, n);
    };

    f->BottomPanel = new TbsSkinPanel(f);
    f->BottomPanel->SetParent(f);
    f->BottomPanel->SetAlign(vcl::alBottom);
    f->BottomPanel->SetBorderStyle(bvNone);
    f->BottomPanel->SetHeight(50);

    f->OkButton = new TbsSkinButton(f);
    f->OkButton->SetDefault(true);
    f->OkButton->SetCaption(DialogText(ACtrlSkinData, "MSG_BTN_OK", "OK"));
    f->OkButton->SetCanFocused(true);
    f->OkButton->SetBounds(20, 15, 70, 25);
    f->OkButton->SetDefaultHeight(25);
    f->OkButton->SetParent(f->BottomPanel);
    f->OkButton->SetModalResult(vcl::mrOk);

    f->CancelButton = new TbsSkinButton(f);
    f->CancelButton->SetCancel(true);
    f->CancelButton->SetCaption(DialogText(ACtrlSkinData, "MSG_BTN_CANCEL", "Cancel"));
    f->CancelButton->SetCanFocused(true);
    f->CancelButton->SetBounds(100, 15, 70, 25);
    f->CancelButton->SetDefaultHeight(25);
    f->CancelButton->SetParent(f->BottomPanel);
    f->CancelButton->SetModalResult(vcl::mrCancel);
    return f;
}

void TbsSelDirDlgForm::DirTreeViewChange(vcl::TObject*, vcl::TTreeNode*) {
    if (ShowToolBar && DirEdit) DirEdit->SetText(DirTreeView->Path());
}

void TbsSelDirDlgForm::DirEditKeyPress(vcl::TObject*, char32_t& Key) {
    if (Key != U'\r') return;
    const std::string text = DirEdit->Text();
    if (!text.empty() && IsDirectoryPath(text)) DirTreeView->SetPath(text);
}

void TbsSelDirDlgForm::NewFolderToolButtonClick(vcl::TObject*) {
    const std::string name = DialogText(CtrlSD, "MSG_NEWFOLDER", "New Folder");
    vcl::TTreeNode* node = DirTreeView->Selected();
    const std::string folder = DirTreeView->Path();
    // Only a shown item with a file-system path gets a folder: 计算机 and 桌面-only items have
    // none.
    if (!node || name.empty() || folder.empty() || folder.front() != '/') return;
    const std::string full = JoinPath(folder, name);
    if (sys::DirectoryExists(full) || sys::FileExists(full)) return;
    CreateDialogFolder(full);
    DirTreeView->Refresh(node);
}

// --- TbsSkinSelectDirectoryDialog --------------------------------------------------------------

TbsSkinSelectDirectoryDialog::TbsSkinSelectDirectoryDialog(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle({});
}

void TbsSkinSelectDirectoryDialog::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetCtrlSkinData(TbsSkinData* value) {
    FCtrlFSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::Notification(vcl::TComponent* AComponent,
                                                vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

bool TbsSkinSelectDirectoryDialog::Execute() {
    if (OnShow) OnShow(this);
    TbsSelDirDlgForm* form =
        TbsSelDirDlgForm::CreateEx(vcl::Application, FCtrlFSD, ShowToolBar, ToolButtonsTransparent);
    TbsDialogRun<TbsSelDirDlgForm> run(this, OnClose, FDlgFrm, form);
    form->SetCaption(Title);
    ApplyDialogFrame(form->BSF, {FSD, FCtrlFSD, DialogMinWidth, DialogMinHeight, AlphaBlend,
                                 AlphaBlendValue, AlphaBlendAnimation});

    form->DirTreeViewPanel->SetSkinData(FCtrlFSD);
    form->DirTreeView->SetDefaultFont(FDefaultFont);
    form->DirTreeView->SetSkinData(FCtrlFSD);
    // The window first: the frame's size and the tree's selection are then final.
    form->HandleNeeded();
    if (!Directory.empty() && IsDirectoryPath(Directory))
        form->DirTreeView->SetPath(Directory);
    else
        form->DirTreeView->ExpandMyComputer();

    for (TbsSkinCustomControl* c : std::initializer_list<TbsSkinCustomControl*>{
             form->VScrollBar, form->HScrollBar, form->OkButton, form->CancelButton,
             form->BottomPanel})
        c->SetSkinData(FCtrlFSD);
    form->OkButton->SetDefaultFont(FDefaultFont);
    form->CancelButton->SetDefaultFont(FDefaultFont);
    if (ShowToolBar) {
        form->ToolPanel->SetSkinData(FCtrlFSD);
        form->NewFolderToolButton->SetSkinData(FCtrlFSD);
        form->DirEdit->SetSkinData(FCtrlFSD);
    }

    const gfx::TSize size = DialogClientSize(form->BSF, FSD, DialogWidth, DialogHeight, 280, 280);
    form->SetClientWidth(size.cx);
    form->SetClientHeight(size.cy);
    form->SetActiveControl(form->DirTreeView);
    const int result = form->ShowModal();
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    if (result != vcl::mrOk) return false;
    Directory = form->DirTreeView->Path();
    return true;
}

}  // namespace skin
