// The file chooser. TbsSkinOpenDialog is a non-visual component whose Execute builds a
// TbsOpenDlgForm, configures it from the properties, shows it modally, copies the results back
// and frees it. Between calls it keeps the last file, the filter entry, the view style and the
// size, so the next Execute opens where the user left off. A descendant sets FSaveMode in its
// constructor to make a save dialog. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/canvas.h"
#include "platform/rtl/strings.h"
#include "platform/vcl/classes.h"
#include "platform/vcl/list_view.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsOpenDlgForm;

class TbsSkinOpenDialog : public vcl::TComponent {
public:
    explicit TbsSkinOpenDialog(vcl::TComponent* AOwner);

    // True for OK: FileName the chosen file, Files the chosen files. Cancel, Esc and the close
    // command leave both as they were; FilterIndex, ListViewStyle and the size the user left are
    // kept whatever the result.
    virtual bool Execute();

    const std::string& FileName() const { return FFileName; }
    // While the dialog is open, also the name edit's text.
    void SetFileName(const std::string& value);
    // Full paths of the chosen files in list order (folders left out); owned by the dialog.
    rtl::TStringList& Files() { return FFiles; }
    // While the dialog is open the list's selected file, else "".
    std::string GetSelectedFile();
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    // The form while Execute runs, else null.
    TbsOpenDlgForm* DlgFrm() const { return FDlgFrm; }
    bool SaveMode() const { return FSaveMode; }

    std::string Title = "Open file";
    std::string Filter = "All files|*.*";
    int FilterIndex = 1;
    std::string InitialDir;
    std::string DefaultExt;
    bool MultiSelection = false;
    bool CheckFileExists = true;
    bool OverwritePromt = false;
    bool ShowHiddenFiles = false;
    bool ToolButtonsTransparent = false;
    int DialogWidth = 0, DialogHeight = 0;
    int DialogMinWidth = 0, DialogMinHeight = 0;
    bool AlphaBlend = false;
    std::uint8_t AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    std::uint8_t CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    std::string LVHeaderSkinDataName = "resizebutton";
    vcl::TViewStyle ListViewStyle = vcl::vsList;
    vcl::TNotifyEvent OnFolderChange;
    vcl::TNotifyEvent OnShow;
    vcl::TNotifyEvent OnClose;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    // The form of this kind of dialog (the picture dialogs make theirs).
    virtual TbsOpenDlgForm* CreateForm();
    // Default client size when DialogWidth/DialogHeight are 0 or less.
    virtual gfx::TSize DefaultSize() const { return {450, 290}; }
    // Everything the form needs before it is shown, in the order the steps must run.
    virtual void ConfigureForm(TbsOpenDlgForm* form);
    // Copies the results of an OK into the properties.
    virtual void TakeResults(TbsOpenDlgForm* form);
    // What the dialog remembers of the form whatever the result, after the modal loop.
    virtual void KeepState(TbsOpenDlgForm* form) { (void)form; }
    // The folder the dialog opens in (see the .cpp for the order of the candidates).
    std::string StartFolder() const;

    bool FSaveMode = false;

private:
    std::string FFileName;
    rtl::TStringList FFiles;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    gfx::TFont FDefaultFont;
    TbsOpenDlgForm* FDlgFrm = nullptr;
};

}  // namespace skin
