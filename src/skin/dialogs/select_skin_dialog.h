// The skin chooser. TbsSelectSkinDialog is a non-visual component whose Execute builds a
// TbsSelectSkinDlgForm: a skinned list of skin names, an embedded preview form with its own skin
// data and a sample button, and OK and Cancel. Highlighting an entry loads it into the preview
// only; the caller applies the result (SelectedSkinIndex or SelectedSkin). The form lives only
// while Execute runs. Main thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/vcl/forms.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_package.h"

namespace skin {

class TbsSkinButton;
class TbsSkinForm;
class TbsSkinListBox;

class TbsSelectSkinDlgForm : public vcl::TForm {
public:
    // List mode: the skins of ASkinList, ASkinIndex highlighted and previewed.
    static TbsSelectSkinDlgForm* CreateEx2(vcl::TComponent* AOwner,
                                           TbsCompressedSkinList* ASkinList, int ASkinIndex,
                                           TbsSkinData* ACtrlSkinData);
    // Component mode: the stored-skin components AForm owns, ADefaultSkin highlighted.
    static TbsSelectSkinDlgForm* CreateEx(vcl::TComponent* AOwner, vcl::TComponent* AForm,
                                          TbsCompressedStoredSkin* ADefaultSkin,
                                          TbsSkinData* ACtrlSkinData);

    void SLBOnChange(vcl::TObject* Sender);
    void SLBOnDblClick(vcl::TObject* Sender);
    TbsCompressedStoredSkin* GetSelectedSkin() const;
    TbsCompressedStoredSkin* SelectedSkin() const { return GetSelectedSkin(); }

    TbsCompressedSkinList* FCSkinList = nullptr;
    int FCSkinIndex = -1;
    TbsSkinForm* BSF = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    vcl::TForm* PreviewForm = nullptr;
    TbsSkinForm* PreviewBSF = nullptr;
    TbsSkinData* PreviewSkinData = nullptr;
    TbsSkinButton* PreviewButton = nullptr;
    TbsSkinListBox* SkinsListBox = nullptr;
    // Component mode: the stored skins in list order (not owned); empty in list mode.
    std::vector<TbsCompressedStoredSkin*> SkinList;

private:
    TbsSelectSkinDlgForm(vcl::TComponent* AOwner, TbsSkinData* ACtrlSkinData);
    void ShowPreview();
};

class TbsSelectSkinDialog : public vcl::TComponent {
public:
    explicit TbsSelectSkinDialog(vcl::TComponent* AOwner);

    // True for OK, with SelectedSkinIndex the highlighted entry; False (and -1) otherwise, or
    // without a SkinList (then nothing is shown and the old value stays).
    bool Execute(int SkinIndex);
    // Over the stored-skin components of the owner; SelectedSkin is the result.
    bool Execute(TbsCompressedStoredSkin* DefaultCompressedSkin);

    TbsCompressedSkinList* SkinList() const { return FSkinList; }
    void SetSkinList(TbsCompressedSkinList* value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }

    bool AlphaBlend = false;
    std::uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    std::string Title = "Select skin";

    TbsCompressedStoredSkin* SelectedSkin() const { return FSelectedSkin; }
    int SelectedSkinIndex() const { return FSelectedSkinIndex; }
    // The form while Execute runs, else null.
    TbsSelectSkinDlgForm* DlgFrm() const { return FDlgFrm; }

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    // The common part of both Executes: shows the form, lets takeResult read it on OK, and frees
    // it whatever happens. True for OK.
    bool Run(TbsSelectSkinDlgForm* form,
             const std::function<void(TbsSelectSkinDlgForm*)>& takeResult);

    TbsSkinData* FSD = nullptr;
    TbsCompressedSkinList* FSkinList = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    gfx::TFont FDefaultFont;
    TbsSelectSkinDlgForm* FDlgFrm = nullptr;
    TbsCompressedStoredSkin* FSelectedSkin = nullptr;
    int FSelectedSkinIndex = -1;
};

}  // namespace skin
