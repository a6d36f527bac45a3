#include "skin/dialogs/skin_message.h"

#include <algorithm>
#include <array>

#include "platform/gfx/icons.h"
#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/std_label.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_records.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

struct TButtonKind {
    TMsgDlgBtn Kind;
    const char* Name;
    const char* Key;
    const char* Caption;
    vcl::TModalResult Result;
};

// In the order the buttons stand in the row.
constexpr TButtonKind kButtonKinds[] = {
    {vcl::mbYes, "Yes", "MSG_BTN_YES", "&Yes", vcl::mrYes},
    {vcl::mbNo, "No", "MSG_BTN_NO", "&No", vcl::mrNo},
    {vcl::mbOK, "OK", "MSG_BTN_OK", "OK", vcl::mrOk},
    {vcl::mbCancel, "Cancel", "MSG_BTN_CANCEL", "Cancel", vcl::mrCancel},
    {vcl::mbAbort, "Abort", "MSG_BTN_ABORT", "&Abort", vcl::mrAbort},
    {vcl::mbRetry, "Retry", "MSG_BTN_RETRY", "&Retry", vcl::mrRetry},
    {vcl::mbIgnore, "Ignore", "MSG_BTN_IGNORE", "&Ignore", vcl::mrIgnore},
    {vcl::mbAll, "All", "MSG_BTN_ALL", "&All", vcl::mrAll},
    {vcl::mbNoToAll, "NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", vcl::mrNoToAll},
    {vcl::mbYesToAll, "YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", vcl::mrYesToAll},
    {vcl::mbHelp, "Help", "MSG_BTN_HELP", "&Help", vcl::mrNone},
    {vcl::mbClose, "Close", "MSG_BTN_CLOSE", "Close", vcl::mrClose},
};

struct TDialogKind {
    const char* Key;  // null: no caption key
    const char* Caption;
    int Icon;  // 0: no icon
};

// Indexed by TMsgDlgType.
constexpr TDialogKind kDialogKinds[] = {
    {"MSG_CAP_WARNING", "Warning", gfx::IDI_EXCLAMATION},
    {"MSG_CAP_ERROR", "Error", gfx::IDI_HAND},
    {"MSG_CAP_INFORMATION", "Information", gfx::IDI_ASTERISK},
    {"MSG_CAP_CONFIRM", "Confirm", gfx::IDI_QUESTION},
    {nullptr, "", 0},
};

constexpr char kShowFlagKey[] = "MSG_CAP_SHOWFLAG";
constexpr char kShowFlagCaption[] = "Do not display this message again";

constexpr int kButtonWidth = 70;
constexpr int kButtonSpacing = 10;

const TButtonKind& KindOf(TMsgDlgBtn btn) {
    return kButtonKinds[std::size_t(btn)];
}

TbsResourceStrData* TableOf(TbsSkinData* data) {
    return data ? data->ResourceStrData() : nullptr;
}

void InitDefaultFont(gfx::TFont& font) {
    font.SetName("Arial");
    font.SetHeight(14);
    font.SetStyle({});
}

// "Arial", height 14: the component's fonts until it is given others.
const gfx::TFont& BuiltInFont() {
    static const gfx::TFont font = [] {
        gfx::TFont f;
        InitDefaultFont(f);
        return f;
    }();
    return font;
}

enum class TIconSource { System, ImageList };

struct TBuild {
    const std::string& Msg;
    std::string Caption;
    TMsgDlgType DlgType = vcl::mtCustom;
    TIconSource Icon = TIconSource::System;
    vcl::TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    TMsgDlgButtons Buttons;
    bool ShowAgain = false;
};

int ButtonHeightOf(const TbsMessageLook& look) {
    TbsSkinData* sd = look.CtrlSkinData;
    if (sd && !sd->Empty) {
        const int i = sd->GetControlIndex(look.ButtonSkinDataName);
        if (i != -1)
            if (const auto* r = dynamic_cast<const TbsDataSkinButtonControl*>(
                    sd->CtrlList[std::size_t(i)].get()))
                return r->SkinRect.Bottom - r->SkinRect.Top;
    }
    return 25;
}

void PlaceIcon(TbsMessageForm* form, const TBuild& b) {
    const TbsSkinStdLabel* label = form->Message;
    const int middle = label->Top() + label->Height() / 2 - 16;
    if (b.Icon == TIconSource::System) {
        form->Image = new vcl::TImage(form);
        form->Image->SetName("Image");
        form->Image->SetParent(form);
        if (const int id = kDialogKinds[std::size_t(b.DlgType)].Icon)
            form->Image->Picture().Icon().SetHandle(gfx::LoadIcon(0, id));
        form->Image->SetBounds(5, std::max(10, middle), 32, 32);
        return;
    }
    if (!b.Images || b.ImageIndex < 0 || b.ImageIndex >= b.Images->Count()) return;
    form->Image = new vcl::TImage(form);
    form->Image->SetName("Image");
    form->Image->SetParent(form);
    form->Image->SetTransparent(true);
    b.Images->GetIcon(b.ImageIndex, form->Image->Picture().Icon());
    // No lower bound here, unlike the system icons.
    form->Image->SetBounds(5, middle, b.Images->Width(), b.Images->Height());
}

void AddShowAgainBox(TbsMessageForm* form, const TbsMessageLook& look, int buttonHeight) {
    form->SetClientHeight(form->ClientHeight() + 40);
    auto* box = new TbsSkinCheckRadioBox(form);
    form->DisplayCheckBox = box;
    box->SetName("checkbox");
    box->SetDefaultHeight(30);
    box->SetChecked(!look.ShowAgainFlagValue);
    box->SetParent(form);
    box->SetDefaultFont(*look.DefaultFont);
    box->SetUseSkinFont(look.UseSkinFont);
    box->SetSkinData(look.CtrlSkinData);
    const int boxTop = form->ClientHeight() - buttonHeight - 50;
    std::string caption;
    if (TbsResourceStrData* table = TableOf(look.CtrlSkinData))
        caption = table->GetResStr(kShowFlagKey);
    if (caption.empty()) caption = kShowFlagCaption;
    box->SetCaption(caption);

    gfx::TCanvas& canvas = form->Canvas();
    if (box->FIndex != -1 && look.UseSkinFont) {
        canvas.Font().SetName(box->FontName);
        canvas.Font().SetHeight(box->FontHeight);
    } else {
        canvas.Font().Assign(*look.DefaultFont);
    }
    const int w = canvas.TextWidth(caption);
    if (form->ClientWidth() < w + 60) form->SetClientWidth(w + 60);
    box->SetBounds(5, boxTop, w + 55, 30);
}

TbsMessageForm* Build(const TBuild& b, const TbsMessageLook& given, int X, int Y) {
    TbsMessageLook look = given;
    if (!look.DefaultFont) look.DefaultFont = &BuiltInFont();
    if (!look.DefaultButtonFont) look.DefaultButtonFont = &BuiltInFont();
    auto* form = new TbsMessageForm(vcl::Application, X, Y);
    form->BSF->SetSkinData(look.SkinData);
    form->BSF->SetMenusSkinData(look.CtrlSkinData);
    form->BSF->SetAlphaBlend(look.AlphaBlend);
    form->BSF->SetAlphaBlendValue(look.AlphaBlendValue);

    const int buttonHeight = ButtonHeightOf(look);
    int count = 0;
    for (const TButtonKind& k : kButtonKinds) count += b.Buttons.Contains(k.Kind);
    const int rowWidth = count == 0 ? 0 : count * kButtonWidth + (count - 1) * kButtonSpacing;
    form->SetCaption(b.Caption);

    auto* label = new TbsSkinStdLabel(form);
    form->Message = label;
    label->Font().Assign(*look.DefaultFont);
    label->SetDefaultFont(*look.DefaultFont);
    label->SetUseSkinFont(look.UseSkinFont);
    label->SetSkinDataName(look.MessageLabelSkinDataName);
    label->SetSkinData(look.CtrlSkinData);
    label->SetName("Message");
    label->SetParent(form);
    label->SetAutoSize(true);
    label->SetCaption(b.Msg);
    label->SetLeft(50);
    label->SetTop(15);
    const int labelRight = label->Left() + label->Width();

    PlaceIcon(form, b);

    form->SetClientHeight(buttonHeight + label->Height() + 50);
    form->SetClientWidth(std::max(rowWidth, labelRight) + 40);
    if (b.ShowAgain) AddShowAgainBox(form, look, buttonHeight);

    if (form->BSF->GetMaxWidth() < form->Width())
        form->SetWidth(form->BSF->GetMaxWidth());
    else if (form->Width() < form->BSF->GetMinWidth())
        form->SetWidth(form->BSF->GetMinWidth());

    const TMsgDlgBtn defaultKind = b.Buttons.Contains(vcl::mbOK)    ? vcl::mbOK
                                   : b.Buttons.Contains(vcl::mbYes) ? vcl::mbYes
                                                                    : vcl::mbRetry;
    const TMsgDlgBtn cancelKind = b.Buttons.Contains(vcl::mbCancel) ? vcl::mbCancel
                                  : b.Buttons.Contains(vcl::mbNo)   ? vcl::mbNo
                                                                    : vcl::mbOK;
    int x = (form->ClientWidth() - rowWidth) / 2;
    for (const TButtonKind& k : kButtonKinds) {
        if (!b.Buttons.Contains(k.Kind)) continue;
        auto* button = new TbsSkinButton(form);
        button->SetParent(form);
        button->SetName(k.Name);
        button->SetCanFocused(true);
        button->SetCaption(GetMsgButtonCaption(k.Kind, look.CtrlSkinData));
        button->SetModalResult(k.Result);
        button->SetDefault(k.Kind == defaultKind);
        button->SetCancel(k.Kind == cancelKind);
        button->SetDefaultHeight(buttonHeight);
        button->SetBounds(x, form->ClientHeight() - buttonHeight - 10, kButtonWidth, buttonHeight);
        button->SetDefaultFont(*look.DefaultButtonFont);
        button->SetUseSkinFont(look.UseSkinFont);
        x += kButtonWidth + kButtonSpacing;
        if (k.Kind == vcl::mbHelp)
            button->OnClick = [form](vcl::TObject* sender) { form->HelpButtonClick(sender); };
        button->SetSkinDataName(look.ButtonSkinDataName);
        button->SetSkinData(look.CtrlSkinData);
    }
    return form;
}

std::string TypeCaption(TMsgDlgType type, TbsSkinData* ctrl) {
    return type == vcl::mtCustom ? vcl::Application->Title : GetMsgDlgCaption(type, ctrl);
}

}  // namespace

std::string GetMsgButtonCaption(TMsgDlgBtn Btn, TbsSkinData* ASkinData) {
    if (TbsResourceStrData* table = TableOf(ASkinData)) return table->GetResStr(KindOf(Btn).Key);
    return KindOf(Btn).Caption;
}

std::string GetMsgDlgCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData) {
    const TDialogKind& k = kDialogKinds[std::size_t(DlgType)];
    if (!k.Key) return "";
    if (TbsResourceStrData* table = TableOf(ASkinData)) return table->GetResStr(k.Key);
    return k.Caption;
}

std::string MsgButtonName(TMsgDlgBtn Btn) {
    return KindOf(Btn).Name;
}

vcl::TModalResult MsgButtonResult(TMsgDlgBtn Btn) {
    return KindOf(Btn).Result;
}

TbsMessageForm* CreateMsgForm(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                              const TbsMessageLook& Look, int X, int Y) {
    return Build({Msg, TypeCaption(DlgType, Look.CtrlSkinData), DlgType, TIconSource::System,
                  nullptr, -1, Buttons, Look.ShowAgainFlag},
                 Look, X, Y);
}

TbsMessageForm* CreateMsgForm2(const std::string& Msg, const std::string& ACaption,
                               TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               const TbsMessageLook& Look, int X, int Y) {
    return Build(
        {Msg, ACaption, DlgType, TIconSource::System, nullptr, -1, Buttons, Look.ShowAgainFlag},
        Look, X, Y);
}

TbsMessageForm* CreateCustomMsgForm(const std::string& Msg, const std::string& ACaption,
                                    vcl::TCustomImageList* AImages, int AImageIndex,
                                    TMsgDlgButtons Buttons, const TbsMessageLook& Look, int X,
                                    int Y) {
    return Build({Msg, ACaption, vcl::mtCustom, TIconSource::ImageList, AImages, AImageIndex,
                  Buttons, Look.ShowAgainFlag},
                 Look, X, Y);
}

TbsMessageForm* CreateWideMsgForm(const std::string& Msg, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons, const TbsMessageLook& Look, int X,
                                  int Y) {
    return Build({Msg, TypeCaption(DlgType, Look.CtrlSkinData), DlgType, TIconSource::System,
                  nullptr, -1, Buttons, false},
                 Look, X, Y);
}

TbsMessageForm::TbsMessageForm(vcl::TComponent* AOwner, int X, int Y) : vcl::TForm(AOwner) {
    SetBorderStyle(vcl::bsDialog);
    SetKeyPreview(true);
    if (X < -10000) {
        SetPosition(vcl::poScreenCenter);
    } else {
        SetLeft(X);
        SetTop(Y);
    }
    BSF = new TbsSkinForm(this);
    BSF->SetBorderIcons({});
}

void TbsMessageForm::HelpButtonClick(vcl::TObject*) {
    vcl::Application->HelpContext(HelpContext);
}

TbsSkinMessage::TbsSkinMessage(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    InitDefaultFont(FDefaultFont);
    InitDefaultFont(FDefaultButtonFont);
}

void TbsSkinMessage::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* value) {
    FCtrlSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinMessage::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlSD) FCtrlSD = nullptr;
}

TbsMessageLook TbsSkinMessage::Look(bool withShowAgain) const {
    TbsMessageLook look;
    look.SkinData = FSD;
    look.CtrlSkinData = FCtrlSD;
    look.ButtonSkinDataName = ButtonSkinDataName;
    look.MessageLabelSkinDataName = MessageLabelSkinDataName;
    look.DefaultFont = &FDefaultFont;
    look.DefaultButtonFont = &FDefaultButtonFont;
    look.UseSkinFont = UseSkinFont;
    look.AlphaBlend = AlphaBlend;
    look.AlphaBlendAnimation = AlphaBlendAnimation;
    look.AlphaBlendValue = AlphaBlendValue;
    look.ShowAgainFlag = withShowAgain && ShowAgainFlag;
    look.ShowAgainFlagValue = ShowAgainFlagValue;
    return look;
}

int TbsSkinMessage::Show(TbsMessageForm* form, int HelpCtx, const std::string* helpFile,
                         bool placed, bool keepShowAgain) {
    struct TFree {
        TbsMessageForm* Form;
        TbsSkinMessage* Self;
        bool Keep;
        ~TFree() {
            if (Keep && Form->DisplayCheckBox)
                Self->ShowAgainFlagValue = !Form->DisplayCheckBox->Checked();
            Form->Free();
        }
    } freeIt{form, this, keepShowAgain};
    form->HelpContext = HelpCtx;
    if (helpFile) form->HelpFile = *helpFile;
    if (placed && OnSetShowPos) {
        int x = form->Left(), y = form->Top();
        OnSetShowPos(x, y, form->Width(), form->Height());
        form->SetLeft(x);
        form->SetTop(y);
    }
    return form->ShowModal();
}

int TbsSkinMessage::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               int HelpCtx) {
    return Show(
        CreateMsgForm(Msg, DlgType, Buttons, Look(true), kCentredMessagePos, kCentredMessagePos),
        HelpCtx, nullptr, false, true);
}

int TbsSkinMessage::MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    return Show(CreateMsgForm(Msg, DlgType, Buttons, Look(true), X, Y), HelpCtx, nullptr, true,
                true);
}

int TbsSkinMessage::MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType,
                                   TMsgDlgButtons Buttons, int HelpCtx,
                                   const std::string& HelpFileName) {
    return Show(
        CreateMsgForm(Msg, DlgType, Buttons, Look(true), kCentredMessagePos, kCentredMessagePos),
        HelpCtx, &HelpFileName, false, true);
}

int TbsSkinMessage::MessageDlg2(const std::string& Msg, const std::string& ACaption,
                                TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return Show(CreateMsgForm2(Msg, ACaption, DlgType, Buttons, Look(true), kCentredMessagePos,
                               kCentredMessagePos),
                HelpCtx, nullptr, false, true);
}

int TbsSkinMessage::MessageDlgHelp2(const std::string& Msg, const std::string& ACaption,
                                    TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                    const std::string& HelpFileName) {
    return Show(CreateMsgForm2(Msg, ACaption, DlgType, Buttons, Look(true), kCentredMessagePos,
                               kCentredMessagePos),
                HelpCtx, &HelpFileName, false, true);
}

int TbsSkinMessage::CustomMessageDlg(const std::string& Msg, const std::string& ACaption,
                                     vcl::TCustomImageList* AImages, int AImageIndex,
                                     TMsgDlgButtons Buttons, int HelpCtx) {
    return Show(CreateCustomMsgForm(Msg, ACaption, AImages, AImageIndex, Buttons, Look(true),
                                    kCentredMessagePos, kCentredMessagePos),
                HelpCtx, nullptr, false, true);
}

int TbsSkinMessage::CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                                        vcl::TCustomImageList* AImages, int AImageIndex,
                                        TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    return Show(CreateCustomMsgForm(Msg, ACaption, AImages, AImageIndex, Buttons, Look(true), X, Y),
                HelpCtx, nullptr, true, true);
}

int TbsSkinMessage::CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                                         vcl::TCustomImageList* AImages, int AImageIndex,
                                         TMsgDlgButtons Buttons, int HelpCtx,
                                         const std::string& HelpFileName) {
    return Show(CreateCustomMsgForm(Msg, ACaption, AImages, AImageIndex, Buttons, Look(true),
                                    kCentredMessagePos, kCentredMessagePos),
                HelpCtx, &HelpFileName, false, true);
}

int TbsSkinMessage::WideMessageDlg(const std::string& Msg, TMsgDlgType DlgType,
                                   TMsgDlgButtons Buttons, int HelpCtx) {
    return Show(CreateWideMsgForm(Msg, DlgType, Buttons, Look(false), kCentredMessagePos,
                                  kCentredMessagePos),
                HelpCtx, nullptr, false, false);
}

int TbsSkinMessage::WideMessageDlgPos(const std::string& Msg, TMsgDlgType DlgType,
                                      TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
    return Show(CreateWideMsgForm(Msg, DlgType, Buttons, Look(false), X, Y), HelpCtx, nullptr,
                false, false);
}

}  // namespace skin
