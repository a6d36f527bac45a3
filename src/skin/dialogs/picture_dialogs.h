// The picture choosers. TbsSkinOpenPictureDialog is the file dialog with a preview pane at the
// right: the selected file's picture at its own size in a skinned scroll box, or stretched over
// the pane by a toggle on the look-in bar, the pane resized by a splitter. Its form is
// TbsOpenPictureDlgForm. TbsSkinSavePictureDialog is the same in save mode. Besides what the
// file dialog keeps between calls, the component keeps the pane width and the stretch state.
// The preview reads BMP, PNG, JPEG and GIF; other files raise the picture error. The image lives
// and dies with the form. Main thread only.
#pragma once

#include <string>

#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"

namespace vcl {
class TImage;
}

namespace skin {

class TbsSkinScrollBox;
class TbsSkinSplitter;

class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
public:
    static TbsOpenPictureDlgForm* CreateEx(vcl::TComponent* AOwner, bool ASaveMode,
                                           TbsSkinData* ACtrlSkinData,
                                           bool AToolButtonsTransparent);

    // The name edit shows the selected file's name ("" for a folder or nothing) and the preview
    // its picture. A file the preview cannot read raises the picture error; the previous
    // picture stays.
    void FLVChange(vcl::TObject* Sender);
    void StretchButtonClick(vcl::TObject* Sender);
    // Loads the file into the image and sizes the image; raises as FLVChange does.
    void ShowPicture(const std::string& fileName);

    TbsSkinPanel* ImagePanel = nullptr;
    vcl::TImage* Image = nullptr;
    TbsSkinScrollBox* ScrollBox = nullptr;
    TbsSkinScrollBar* SBVScrollBar = nullptr;
    TbsSkinScrollBar* SBHScrollBar = nullptr;
    TbsSkinSpeedButton* StretchButton = nullptr;
    TbsSkinSplitter* Splitter = nullptr;

private:
    explicit TbsOpenPictureDlgForm(vcl::TComponent* AOwner);
    // An image not stretched takes the picture's size (0 x 0 with no file); the box re-ranges.
    void SizeImage(bool hasFile);
};

class TbsSkinOpenPictureDialog : public TbsSkinOpenDialog {
public:
    explicit TbsSkinOpenPictureDialog(vcl::TComponent* AOwner);

    // The form while Execute runs, else null.
    TbsOpenPictureDlgForm* PictureFrm() const;

    // Every Execute starts stretched.
    bool StretchPicture = false;
    // The pane width and the stretch toggle of the next Execute (the toggle unless
    // StretchPicture); written back after every Execute.
    int ImagePanelWidth = 190;
    bool DialogStretch = false;

protected:
    TbsOpenDlgForm* CreateForm() override;
    gfx::TSize DefaultSize() const override { return {550, 290}; }
    void ConfigureForm(TbsOpenDlgForm* form) override;
    void KeepState(TbsOpenDlgForm* form) override;
};

class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
public:
    explicit TbsSkinSavePictureDialog(vcl::TComponent* AOwner);
};

}  // namespace skin
