// The skinned message box. TbsSkinMessage is a non-visual component; each of its calls builds a
// TbsMessageForm (own form skin component, message label, icon, optional show-again box, one
// skinned button per requested kind), shows it modally, frees it and returns the pressed
// button's modal result. No form outlives a call. Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/message_box.h"
#include "skin/core/skin_data.h"

namespace vcl {
class TImage;
}

namespace skin {

class TbsSkinForm;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;

using vcl::TMsgDlgBtn;
using vcl::TMsgDlgButtons;
using vcl::TMsgDlgType;

using TbsMessageSetShowPosEvent = std::function<void(int& AX, int& AY, int AWidth, int AHeight)>;

// X below this centres the form on the screen.
constexpr int kCentredMessagePos = -10001;

class TbsMessageForm : public vcl::TForm {
public:
    // X below -10000 centres the form when it is shown; otherwise it stands at (X, Y).
    TbsMessageForm(vcl::TComponent* AOwner, int X, int Y);

    // The Help button: help for HelpContext; the form stays open.
    void HelpButtonClick(vcl::TObject* Sender);

    TbsSkinForm* BSF = nullptr;
    TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TbsSkinStdLabel* Message = nullptr;
    vcl::TImage* Image = nullptr;
    int HelpContext = 0;
    std::string HelpFile;
};

// What every builder takes from the component.
struct TbsMessageLook {
    TbsSkinData* SkinData = nullptr;
    TbsSkinData* CtrlSkinData = nullptr;
    std::string ButtonSkinDataName = "button";
    std::string MessageLabelSkinDataName = "stdlabel";
    const gfx::TFont* DefaultFont = nullptr;  // null: "Arial", height 14
    const gfx::TFont* DefaultButtonFont = nullptr;
    bool UseSkinFont = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;
    bool ShowAgainFlag = false;
    bool ShowAgainFlagValue = false;
};

// The caption of a button kind and of a dialog type: the skin's resource string when the skin
// data has a table (a missing key gives ""), else the built-in English text.
std::string GetMsgButtonCaption(TMsgDlgBtn Btn, TbsSkinData* ASkinData);
std::string GetMsgDlgCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData);
// The component name and modal result of a button kind.
std::string MsgButtonName(TMsgDlgBtn Btn);
vcl::TModalResult MsgButtonResult(TMsgDlgBtn Btn);

// The form builders. CreateMsgForm's caption is the dialog type's (the application's title for
// mtCustom); CreateMsgForm2 and CreateCustomMsgForm take ACaption. The custom form shows icon
// AImageIndex of AImages, or none when it is not in the list.
TbsMessageForm* CreateMsgForm(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                              const TbsMessageLook& Look, int X, int Y);
TbsMessageForm* CreateMsgForm2(const std::string& Msg, const std::string& ACaption,
                               TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                               const TbsMessageLook& Look, int X, int Y);
TbsMessageForm* CreateCustomMsgForm(const std::string& Msg, const std::string& ACaption,
                                    vcl::TCustomImageList* AImages, int AImageIndex,
                                    TMsgDlgButtons Buttons, const TbsMessageLook& Look, int X,
                                    int Y);
// Never with the show-again box, whatever Look says.
TbsMessageForm* CreateWideMsgForm(const std::string& Msg, TMsgDlgType DlgType,
                                  TMsgDlgButtons Buttons, const TbsMessageLook& Look, int X, int Y);

class TbsSkinMessage : public vcl::TComponent {
public:
    explicit TbsSkinMessage(vcl::TComponent* AOwner);

    int MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpCtx);
    int MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                      int HelpCtx, int X, int Y);
    int MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                       int HelpCtx, const std::string& HelpFileName);
    int MessageDlg2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                    TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlgHelp2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                        TMsgDlgButtons Buttons, int HelpCtx, const std::string& HelpFileName);
    int CustomMessageDlg(const std::string& Msg, const std::string& ACaption,
                         vcl::TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                         int HelpCtx);
    int CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                            vcl::TCustomImageList* AImages, int AImageIndex, TMsgDlgButtons Buttons,
                            int HelpCtx, int X, int Y);
    int CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                             vcl::TCustomImageList* AImages, int AImageIndex,
                             TMsgDlgButtons Buttons, int HelpCtx, const std::string& HelpFileName);
    // The message is UTF-8 as everywhere; these only never show the show-again box.
    int WideMessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                       int HelpCtx);
    int WideMessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                          int HelpCtx, int X, int Y);

    bool ShowAgainFlag = false;
    // The box starts checked when this is False; after the form closes it holds the negation of
    // the box's state.
    bool ShowAgainFlagValue = false;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    std::uint8_t AlphaBlendValue = 200;
    std::string ButtonSkinDataName = "button";
    std::string MessageLabelSkinDataName = "stdlabel";
    bool UseSkinFont = true;
    TbsMessageSetShowPosEvent OnSetShowPos;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return FCtrlSD; }
    void SetCtrlSkinData(TbsSkinData* value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    gfx::TFont& DefaultButtonFont() { return FDefaultButtonFont; }
    void SetDefaultButtonFont(const gfx::TFont& value) { FDefaultButtonFont.Assign(value); }

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TbsMessageLook Look(bool withShowAgain) const;
    // Shows the form modally and frees it, also when showing raises; the show-again value is
    // taken back first when asked.
    int Show(TbsMessageForm* form, int HelpCtx, const std::string* helpFile, bool placed,
             bool keepShowAgain);

    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlSD = nullptr;
    gfx::TFont FDefaultFont;
    gfx::TFont FDefaultButtonFont;
};

}  // namespace skin
