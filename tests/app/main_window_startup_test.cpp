// The main window's category pictures and its notification-area icon.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "catalogue/categories.h"
#include "platform/win/tray_host.h"
#include "skin/form/tray_icon.h"

namespace app::test {
namespace {

// Every picture of the list as its pixels, to tell the categories' pictures apart.
std::vector<std::vector<gfx::TColor>> PixelsOf(skin::TbsPngImageList& list) {
    std::vector<std::vector<gfx::TColor>> all;
    for (int i = 0; i < list.PngImages().Count(); ++i) {
        gfx::TPngImage& image = list.PngImages().Items(i)->PngImage();
        std::vector<gfx::TColor> pixels;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) pixels.push_back(image.Pixel(x, y));
        all.push_back(std::move(pixels));
    }
    return all;
}

TEST_F(TAppTest, EachCategoryShowsItsOwnPictureInBothLists) {
    Start();
    struct TCase {
        skin::TbsSkinOfficeComboBox* Box;
        skin::TbsPngImageList* List;
        int Size;
    };
    for (const TCase& c : {TCase{Form1->bsSkinOfficeComboBox2, Form1->bsPngImageList4, 48},
                           TCase{Form1->bsSkinOfficeComboBox1, Form1->bsPngImageList5, 32}}) {
        SCOPED_TRACE(c.Size);
        ASSERT_EQ(c.Box->Images(), c.List);
        ASSERT_EQ(c.List->PngImages().Count(), catalogue::kCategoryCount);
        for (int i = 0; i < catalogue::kCategoryCount; ++i) {
            EXPECT_EQ(c.List->PngImages().Items(i)->PngImage().Width(), c.Size);
            EXPECT_EQ(c.List->PngImages().Items(i)->PngImage().Height(), c.Size);
        }
        const auto pixels = PixelsOf(*c.List);
        EXPECT_EQ(std::set(pixels.begin(), pixels.end()).size(), pixels.size())
            << "two categories share a picture";
    }
    // The format list of every category shows that category's picture.
    for (const catalogue::TPresetCategory& category : catalogue::PresetCategories()) {
        SCOPED_TRACE(category.Caption);
        Form1->bsSkinOfficeComboBox2->SetItemIndex(category.CategoryIndex);
        Form1->Button2->Click();
        EXPECT_EQ(Form1->bsSkinOfficeComboBox2->Items().Items(category.CategoryIndex)->ImageIndex(),
                  category.CategoryCode);
        ASSERT_EQ(Form1->bsSkinOfficeComboBox1->Items().Count(), category.PresetCount);
        for (int i = 0; i < category.PresetCount; ++i)
            EXPECT_EQ(Form1->bsSkinOfficeComboBox1->Items().Items(i)->ImageIndex(),
                      category.CategoryCode);
    }
}

class TCountingTrayHost : public win::TTrayHost {
public:
    explicit TCountingTrayHost(int& added) : FAdded(added) {}
    bool AddIcon(const win::TTrayIconKey&, const gfx::TImage&, const std::string&) override {
        ++FAdded;
        return true;
    }
    bool ModifyIcon(const win::TTrayIconKey&, const gfx::TImage&, const std::string&) override {
        return true;
    }
    bool DeleteIcon(const win::TTrayIconKey&) override { return true; }
    bool ShowBalloon(const win::TTrayIconKey&, const std::string&, const std::string&,
                     win::DWORD) override {
        return true;
    }
    bool HideBalloon(const win::TTrayIconKey&) override { return true; }

private:
    int& FAdded;
};

// The icon is placed but stays out of the area: minimizing must not hide the window into an
// icon that is neither shown nor answers clicks.
TEST_F(TAppTest, TheTrayIconStaysHiddenAndMinimizingKeepsTheWindow) {
    int added = 0;
    win::SetTrayHost(std::make_unique<TCountingTrayHost>(added));
    Start();
    ASSERT_NE(Form1->bsTrayIcon1, nullptr);
    EXPECT_EQ(Form1->bsSkinForm1->TrayIcon(), Form1->bsTrayIcon1);
    EXPECT_FALSE(Form1->bsTrayIcon1->Enabled());
    vcl::Application->Minimize();
    Run();
    EXPECT_TRUE(Form1->Visible());
    EXPECT_EQ(added, 0);
    vcl::Application->Restore();
    Run();
    win::SetTrayHost(nullptr);
}

// Creation prepares the snapshot's save dialog: pictures as BMP or JPEG, BMP by default, and
// a question before a file is replaced.
TEST_F(TAppTest, CreationPreparesTheSnapshotDialog) {
    Start();
    ASSERT_NE(Form1->SavePictureDialog1, nullptr);
    EXPECT_TRUE(Form1->SavePictureDialog1->SaveMode());
    EXPECT_EQ(Form1->SavePictureDialog1->Filter,
              "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
    EXPECT_EQ(Form1->SavePictureDialog1->DefaultExt, "bmp");
    EXPECT_TRUE(Form1->SavePictureDialog1->OverwritePromt);
}

}  // namespace
}  // namespace app::test
