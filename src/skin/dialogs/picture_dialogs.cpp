#include "skin/dialogs/picture_dialogs.h"

#include "platform/gfx/graphics.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/bars.h"
#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/splitter.h"
#include "skin/dialogs/dialog_support.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/lists/skin_edit.h"

namespace skin {

// --- TbsOpenPictureDlgForm ---------------------------------------------------------------------

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(vcl::TComponent* AOwner) : TbsOpenDlgForm(AOwner) {}

TbsOpenPictureDlgForm* TbsOpenPictureDlgForm::CreateEx(vcl::TComponent* AOwner, bool ASaveMode,
                                                       TbsSkinData* ACtrlSkinData,
                                                       bool AToolButtonsTransparent) {
    auto* f = new TbsOpenPictureDlgForm(AOwner);
    f->FSaveMode = ASaveMode;
    f->CtrlSD = ACtrlSkinData;
    f->BuildControls(AToolButtonsTransparent);

    // The pane first, then the splitter: both at the right, the splitter just left of the pane.
    f->ImagePanel = new TbsSkinPanel(f);
    f->ImagePanel->SetBounds(kAppendToBar, 0, 200, 100);
    f->ImagePanel->SetAlign(vcl::alRight);
    f->ImagePanel->SetBorderStyle(bvFrame);
    f->ImagePanel->SetParent(f);
    f->Splitter = new TbsSkinSplitter(f);
    // Right-aligned controls keep their order by position: the splitter goes left of the pane.
    f->Splitter->SetBounds(f->ImagePanel->Left() - 10, 0, 10, 100);
    f->Splitter->SetAlign(vcl::alRight);
    f->Splitter->SetDefaultSize(10);
    f->Splitter->SetBeveled(false);
    f->Splitter->SetParent(f);

    f->SBVScrollBar = new TbsSkinScrollBar(f);
    f->SBVScrollBar->SetKind(sbVertical);
    f->SBVScrollBar->SetParent(f->ImagePanel);
    f->SBVScrollBar->SetAlign(vcl::alRight);
    f->SBVScrollBar->SetDefaultWidth(19);
    f->SBVScrollBar->SetEnabled(false);
    f->SBVScrollBar->SetSkinDataName("vscrollbar");
    f->SBHScrollBar = new TbsSkinScrollBar(f);
    f->SBHScrollBar->SetParent(f->ImagePanel);
    f->SBHScrollBar->SetAlign(vcl::alBottom);
    f->SBHScrollBar->SetDefaultHeight(19);
    f->SBHScrollBar->SetBothMarkerWidth(19);
    f->SBHScrollBar->SetEnabled(false);
    f->SBHScrollBar->SetSkinDataName("hscrollbar");
    f->ScrollBox = new TbsSkinScrollBox(f);
    f->ScrollBox->SetParent(f->ImagePanel);
    f->ScrollBox->SetAlign(vcl::alClient);
    f->ScrollBox->SetBorderStyle(bvNone);
    f->ScrollBox->SetVScrollBar(f->SBVScrollBar);
    f->ScrollBox->SetHScrollBar(f->SBHScrollBar);
    f->Image = new vcl::TImage(f);
    f->Image->SetBounds(0, 0, 0, 0);
    f->Image->SetParent(f->ScrollBox);

    f->StretchButton = new TbsSkinSpeedButton(f);
    f->StretchButton->SetDefaultWidth(27);
    f->StretchButton->SetSkinDataName("toolbutton");
    f->StretchButton->SetGroupIndex(2);
    f->StretchButton->SetAllowAllUp(true);
    f->StretchButton->SetBounds(kAppendToBar, 0, f->StretchButton->Width(), 25);
    f->StretchButton->SetAlign(vcl::alRight);
    f->StretchButton->SetDefaultHeight(25);
    f->StretchButton->SetHint(DialogText(ACtrlSkinData, "MSG_BTN_STRETCH_HINT", "Stretch Picture"));
    f->StretchButton->SetShowHint(true);
    f->StretchButton->SetFlat(AToolButtonsTransparent);
    LoadDialogGlyph(f->StretchButton, "BS_STRETCH");
    f->StretchButton->OnClick = [f](vcl::TObject* s) { f->StretchButtonClick(s); };
    f->StretchButton->SetParent(f->ToolPanel);

    // The bottom row keeps fixed places; nothing follows the right edge.
    const vcl::TAnchors fixed{vcl::akLeft, vcl::akTop};
    for (vcl::TControl* c :
         std::initializer_list<vcl::TControl*>{f->FileNameEdit, f->FilterComboBox}) {
        c->SetAnchors(fixed);
        c->SetWidth(280);
    }
    for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{f->OpenButton, f->CancelButton}) {
        c->SetAnchors(fixed);
        c->SetLeft(370);
    }

    f->FileListView->OnChange = [f](vcl::TObject* s) { f->FLVChange(s); };
    f->OnFolderChange = nullptr;
    f->CheckFileExists = false;
    return f;
}

void TbsOpenPictureDlgForm::SizeImage(bool hasFile) {
    if (!Image->Stretch()) {
        if (hasFile)
            Image->SetBounds(0, 0, Image->Picture().Width(), Image->Picture().Height());
        else
            Image->SetBounds(0, 0, 0, 0);
    }
    ScrollBox->UpDateScrollRange();
}

void TbsOpenPictureDlgForm::ShowPicture(const std::string& fileName) {
    // The sizing runs also when the loading raised.
    struct TSize {
        TbsOpenPictureDlgForm* Form;
        ~TSize() { Form->SizeImage(true); }
    } sizeAfter{this};
    // Icons and metafiles are listed by the default filter but not read here.
    const std::string ext = rtl::LowerCase(sys::ExtractFileExt(fileName));
    if (ext == ".ico" || ext == ".emf" || ext == ".wmf")
        throw gfx::EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    Image->Picture().LoadFromFile(fileName);
}

void TbsOpenPictureDlgForm::FLVChange(vcl::TObject*) {
    const std::string name = sys::ExtractFileName(FileListView->GetSelectedFile());
    FileNameEdit->SetText(name);
    if (name.empty()) {
        SizeImage(false);
        return;
    }
    ShowPicture(sys::IncludeTrailingPathDelimiter(FileListView->Path()) + name);
}

void TbsOpenPictureDlgForm::StretchButtonClick(vcl::TObject*) {
    Image->SetVisible(false);
    if (StretchButton->Down()) {
        // Ranged without the image first: the box's client area spans the scroll range while
        // its bars show, and the stretched image is to fill the pane alone.
        ScrollBox->UpDateScrollRange();
        Image->SetStretch(true);
        Image->SetAlign(vcl::alClient);
    } else {
        Image->SetAlign(vcl::alNone);
        Image->SetBounds(0, 0, Image->Picture().Width(), Image->Picture().Height());
        Image->SetStretch(false);
    }
    Image->SetVisible(true);
    ScrollBox->UpDateScrollRange();
}

// --- TbsSkinOpenPictureDialog ------------------------------------------------------------------

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(vcl::TComponent* AOwner)
    : TbsSkinOpenDialog(AOwner) {
    Title = "Open picture";
    Filter =
        "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons "
        "(*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
    AlphaBlendValue = 200;
}

TbsOpenPictureDlgForm* TbsSkinOpenPictureDialog::PictureFrm() const {
    return static_cast<TbsOpenPictureDlgForm*>(DlgFrm());
}

TbsOpenDlgForm* TbsSkinOpenPictureDialog::CreateForm() {
    return TbsOpenPictureDlgForm::CreateEx(vcl::Application, FSaveMode, CtrlSkinData(),
                                           ToolButtonsTransparent);
}

void TbsSkinOpenPictureDialog::ConfigureForm(TbsOpenDlgForm* base) {
    auto* form = static_cast<TbsOpenPictureDlgForm*>(base);
    TbsSkinOpenDialog::ConfigureForm(form);
    // The picture dialog has neither a default extension nor a folder-change event.
    form->DefaultExt.clear();
    form->OnFolderChange = nullptr;
    form->ImagePanel->SetWidth(ImagePanelWidth);
    for (TbsSkinCustomControl* c : std::initializer_list<TbsSkinCustomControl*>{
             form->ImagePanel, form->ScrollBox, form->SBHScrollBar, form->SBVScrollBar})
        c->SetSkinData(CtrlSkinData());
    form->StretchButton->SetSkinData(CtrlSkinData());
    form->Splitter->SetSkinData(CtrlSkinData());

    form->StretchButton->SetDown(StretchPicture || DialogStretch);
    if (form->StretchButton->Down()) {
        form->ScrollBox->UpDateScrollRange();
        form->StretchButtonClick(form->StretchButton);
    }
    if (!FileName().empty() && sys::FileExists(FileName())) form->ShowPicture(FileName());
}

void TbsSkinOpenPictureDialog::KeepState(TbsOpenDlgForm* base) {
    auto* form = static_cast<TbsOpenPictureDlgForm*>(base);
    DialogStretch = form->StretchButton->Down();
    ImagePanelWidth = form->ImagePanel->Width();
}

// --- TbsSkinSavePictureDialog ------------------------------------------------------------------

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(vcl::TComponent* AOwner)
    : TbsSkinOpenPictureDialog(AOwner) {
    Title = "Save file";
    FSaveMode = true;
}

}  // namespace skin
