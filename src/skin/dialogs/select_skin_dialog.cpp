#include "skin/dialogs/select_skin_dialog.h"

#include <algorithm>

#include "skin/controls/skin_button.h"
#include "skin/core/resource_strings.h"
#include "skin/form/skin_form.h"
#include "skin/lists/list_box.h"

namespace skin {

namespace {

// The texts of the chooser: the table's when the control skin has one, else the built-in ones.
std::string ChooserText(TbsResourceStrData* table, const char* key, const char* builtIn) {
    return table ? table->GetResStr(key) : builtIn;
}

}  // namespace

// --- TbsSelectSkinDlgForm ----------------------------------------------------------------------

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(vcl::TComponent* AOwner, TbsSkinData* ACtrlSkinData)
    : vcl::TForm(AOwner) {
    SetPosition(vcl::poScreenCenter);
    SetBorderStyle(vcl::bsSingle);
    TbsResourceStrData* table = ACtrlSkinData ? ACtrlSkinData->ResourceStrData() : nullptr;

    BSF = new TbsSkinForm(this);

    PreviewForm = new vcl::TForm(this);
    PreviewForm->SetParent(this);
    PreviewForm->SetCaption(ChooserText(table, "MSG_PREVIEWSKIN", "Preview"));
    PreviewForm->SetEnabled(false);
    PreviewForm->SetBounds(0, 0, 220, 170);

    PreviewSkinData = new TbsSkinData(this);
    if (table) PreviewSkinData->SetResourceStrData(table);

    PreviewButton = new TbsSkinButton(this);
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetWidth(100);
    PreviewButton->SetCaption(ChooserText(table, "MSG_PREVIEWBUTTON", "Button"));
    PreviewButton->SetLeft(20);
    PreviewButton->SetTop(20);
    PreviewButton->SetSkinData(PreviewSkinData);

    PreviewBSF = new TbsSkinForm(PreviewForm);
    PreviewBSF->SetSkinData(PreviewSkinData);
    PreviewBSF->PreviewMode = true;

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetDefault(true);
    OpenButton->SetCaption(ChooserText(table, "MSG_BTN_OK", "OK"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(260, 200, 70, 25);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetParent(this);
    OpenButton->SetModalResult(vcl::mrOk);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetCaption(ChooserText(table, "MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(340, 200, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetParent(this);
    CancelButton->SetModalResult(vcl::mrCancel);
    CancelButton->SetCancel(true);

    SkinsListBox = new TbsSkinListBox(this);
    SkinsListBox->SetParent(this);
    SkinsListBox->SetBounds(10, 10, 170, 170);
    SkinsListBox->OnListBoxClick = [this](vcl::TObject* sender) { SLBOnChange(sender); };
    SkinsListBox->OnListBoxDblClick = [this](vcl::TObject* sender) { SLBOnDblClick(sender); };
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx2(vcl::TComponent* AOwner,
                                                      TbsCompressedSkinList* ASkinList,
                                                      int ASkinIndex, TbsSkinData* ACtrlSkinData) {
    auto* form = new TbsSelectSkinDlgForm(AOwner, ACtrlSkinData);
    form->FCSkinList = ASkinList;
    form->FCSkinIndex = ASkinIndex;
    const TbsSkinListItems& skins = ASkinList->Skins();
    for (int i = 0; i < skins.Count(); ++i) {
        const TbsSkinListItem* item = skins.Items(i);
        form->SkinsListBox->Items().Add(item->Description().empty() ? item->Name()
                                                                    : item->Description());
    }
    form->SkinsListBox->SetItemIndex(ASkinIndex);
    // The index first: the list then loads that skin.
    form->PreviewSkinData->SetSkinIndex(ASkinIndex);
    form->PreviewSkinData->SetSkinList(ASkinList);
    form->ShowPreview();
    return form;
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx(vcl::TComponent* AOwner,
                                                     vcl::TComponent* AForm,
                                                     TbsCompressedStoredSkin* ADefaultSkin,
                                                     TbsSkinData* ACtrlSkinData) {
    auto* form = new TbsSelectSkinDlgForm(AOwner, ACtrlSkinData);
    int position = 0;
    for (int i = 0; AForm && i < AForm->ComponentCount(); ++i) {
        auto* stored = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(i));
        if (!stored) continue;
        if (stored == ADefaultSkin) position = int(form->SkinList.size());
        form->SkinList.push_back(stored);
        form->SkinsListBox->Items().Add(stored->Description().empty() ? stored->Name()
                                                                      : stored->Description());
    }
    form->SkinsListBox->SetItemIndex(position);
    const int i = form->SkinsListBox->ItemIndex();
    // Nothing to preview when the owner holds no stored skin.
    if (i >= 0 && i < int(form->SkinList.size()))
        form->PreviewSkinData->SetCompressedStoredSkin(form->SkinList[std::size_t(i)]);
    form->ShowPreview();
    return form;
}

void TbsSelectSkinDlgForm::ShowPreview() {
    PreviewForm->SetLeft(190);
    PreviewForm->SetTop(10);
    PreviewForm->Show();
    SetActiveControl(SkinsListBox->ListBox);
}

void TbsSelectSkinDlgForm::SLBOnChange(vcl::TObject*) {
    const int i = SkinsListBox->ItemIndex();
    if (FCSkinList) {
        PreviewSkinData->SetSkinIndex(i);
    } else if (i >= 0 && i < int(SkinList.size())) {
        PreviewSkinData->SetCompressedStoredSkin(SkinList[std::size_t(i)]);
    }
}

void TbsSelectSkinDlgForm::SLBOnDblClick(vcl::TObject*) {
    SetModalResult(vcl::mrOk);
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() const {
    return PreviewSkinData->CompressedStoredSkin();
}

// --- TbsSelectSkinDialog -----------------------------------------------------------------------

TbsSelectSkinDialog::TbsSelectSkinDialog(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle({});
}

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* value) {
    FSkinList = value;
    if (value) value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetCtrlSkinData(TbsSkinData* value) {
    FCtrlFSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSelectSkinDialog::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
}

bool TbsSelectSkinDialog::Run(TbsSelectSkinDlgForm* form,
                              const std::function<void(TbsSelectSkinDlgForm*)>& takeResult) {
    struct TFree {
        TbsSelectSkinDialog* Self;
        TbsSelectSkinDlgForm* Form;
        ~TFree() {
            Form->Free();
            Self->FDlgFrm = nullptr;
        }
    } freeIt{this, form};
    FDlgFrm = form;
    form->BSF->SetBorderIcons({});
    form->BSF->SetSkinData(FSD);
    // After the skin: the title set earlier paints the plain frame's grey caption first.
    form->SetCaption(Title);
    form->BSF->SetMenusSkinData(FCtrlFSD);
    form->BSF->SetAlphaBlend(AlphaBlend);
    form->BSF->SetAlphaBlendValue(AlphaBlendValue);
    for (TbsSkinCustomControl* c : std::initializer_list<TbsSkinCustomControl*>{
             form->OpenButton, form->CancelButton, form->SkinsListBox}) {
        c->SetDefaultFont(FDefaultFont);
        c->SetSkinData(FCtrlFSD);
    }
    int width = 420, height = 240;
    if (FSD && !FSD->Empty) {
        width = std::max(width, form->BSF->GetMinWidth());
        height = std::max(height, form->BSF->GetMinHeight());
    }
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    if (form->ShowModal() != vcl::mrOk) return false;
    takeResult(form);
    return true;
}

bool TbsSelectSkinDialog::Execute(int SkinIndex) {
    if (!FSkinList) return false;
    TbsSelectSkinDlgForm* form =
        TbsSelectSkinDlgForm::CreateEx2(vcl::Application, FSkinList, SkinIndex, FCtrlFSD);
    FSelectedSkin = nullptr;
    FSelectedSkinIndex = -1;
    return Run(form, [this](TbsSelectSkinDlgForm* f) {
        FSelectedSkinIndex = f->PreviewSkinData->SkinIndex();
    });
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin) {
    TbsSelectSkinDlgForm* form =
        TbsSelectSkinDlgForm::CreateEx(vcl::Application, Owner(), DefaultCompressedSkin, FCtrlFSD);
    FSelectedSkin = nullptr;
    return Run(form, [this](TbsSelectSkinDlgForm* f) { FSelectedSkin = f->GetSelectedSkin(); });
}

}  // namespace skin
