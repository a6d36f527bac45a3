// The main window's category pictures, its notification-area icon and the snapshot's save dialog.
#include <optional>
#include <string>

#include "app/app_pictures.h"
#include "app/main_form.h"
#include "catalogue/categories.h"
#include "skin/form/tray_icon.h"

namespace app {

void TForm1::BuildStartUpLeftovers() {
    // Both lists are indexed by category code, so every format of a category shows its picture.
    auto pictures = [this](const std::string& name, int size) {
        auto* list = new skin::TbsPngImageList(this);
        list->SetName(name);
        list->SetPngWidth(size);
        list->SetPngHeight(size);
        for (int code = 0; code < catalogue::kCategoryCount; ++code) {
            gfx::TPngImage image;
            LoadAppPicture("cat" + std::to_string(size) + "_" + std::to_string(code), image);
            list->PngImages().Add()->SetPngImage(image);
        }
        return list;
    };
    bsPngImageList4 = pictures("bsPngImageList4", 48);
    bsPngImageList5 = pictures("bsPngImageList5", 32);
    bsSkinOfficeComboBox2->SetImages(bsPngImageList4);
    bsSkinOfficeComboBox1->SetImages(bsPngImageList5);

    bsTrayIcon1 = new skin::TbsTrayIcon(this);
    bsTrayIcon1->SetName("bsTrayIcon1");
    bsTrayIcon1->SetEnabled(false);
    bsTrayIcon1->SetIconVisible(false);
    bsSkinForm1->SetTrayIcon(bsTrayIcon1);

    SavePictureDialog1 = new skin::TbsSkinSavePictureDialog(this);
    SavePictureDialog1->SetName("SavePictureDialog1");
    SavePictureDialog1->SetSkinData(bsSkinData1);
    SavePictureDialog1->SetCtrlSkinData(bsSkinData1);
    // The capture command asks through this; tests put their own answer in its place.
    ExecuteSavePicture = [this]() -> std::optional<std::string> {
        if (!SavePictureDialog1->Execute()) return std::nullopt;
        return SavePictureDialog1->FileName();
    };
}

// The skinned dialog always hides read-only state, allows other extensions, wants an existing
// folder and can be sized; only the overwrite question is a choice.
void TForm1::PrepareSavePictureDialog() {
    SavePictureDialog1->OverwritePromt = true;
    SavePictureDialog1->Filter = "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg";
    SavePictureDialog1->DefaultExt = "bmp";
}

}  // namespace app
