// The main window's category pictures and its notification-area icon.
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
}

}  // namespace app
