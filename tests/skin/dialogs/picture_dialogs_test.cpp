// The picture choosers over the fixture namespace: the preview of each picture format, the
// stretch toggle and splitter remembered between calls, unreadable files, and the save rules,
// driven by clicks and keys while the modal loop waits. Pictures are written at test time.
#include "skin/dialogs/picture_dialogs.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gfx/codecs.h"
#include "platform/gfx/picture.h"
#include "platform/shell/shell_fixture.h"
#include "platform/sys/env.h"
#include "platform/sys/files.h"
#include "platform/vcl/ext_ctrls.h"
#include "sheet_test_support.h"
#include "skin/controls/bars.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/splitter.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/lists/skin_edit.h"

namespace skin {
namespace {

constexpr gfx::TColor kRed = gfx::RGB(230, 20, 20);
constexpr gfx::TColor kBlue = gfx::RGB(20, 40, 220);

// A picture whose top-left quarter is red and the rest blue, in the file's format.
gfx::TBytes PictureBytes(const std::string& ext, int width, int height) {
    gfx::TImage image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const gfx::TColor c = x < width / 2 && y < height / 2 ? kRed : kBlue;
            image.Pixels.push_back(0xFF000000u | gfx::GetRValue(c) << 16 | gfx::GetGValue(c) << 8 |
                                   gfx::GetBValue(c));
        }
    gfx::TBytes out;
    std::string error;
    bool written = false;
    if (ext == ".bmp") written = gfx::WriteBmp(image, 24, out, error);
    if (ext == ".png")
        written = gfx::WritePng(image, 6, gfx::PNG_ROW_FILTER_SUB, false, out, error);
    if (ext == ".jpg") written = gfx::WriteJpeg(image, 95, out, error);
    if (ext == ".gif") written = gfx::WriteGif(image, out, error);
    if (ext == ".ico") {
        // One PNG image in an icon directory.
        gfx::TBytes png;
        written = gfx::WritePng(image, 6, gfx::PNG_ROW_FILTER_SUB, true, png, error);
        const std::uint32_t size = std::uint32_t(png.size());
        out = {0,
               0,
               1,
               0,
               1,
               0,
               std::uint8_t(width),
               std::uint8_t(height),
               0,
               0,
               1,
               0,
               32,
               0,
               std::uint8_t(size),
               std::uint8_t(size >> 8),
               std::uint8_t(size >> 16),
               std::uint8_t(size >> 24),
               22,
               0,
               0,
               0};
        out.insert(out.end(), png.begin(), png.end());
    }
    EXPECT_TRUE(written) << ext << ": " << error;
    return out;
}

bool Near(gfx::TColor a, gfx::TColor b) {
    return std::abs(int(gfx::GetRValue(a)) - int(gfx::GetRValue(b))) < 24 &&
           std::abs(int(gfx::GetGValue(a)) - int(gfx::GetGValue(b))) < 24 &&
           std::abs(int(gfx::GetBValue(a)) - int(gfx::GetBValue(b))) < 24;
}

class PictureDialogsTest : public test::TSheetTest {
protected:
    void SetUp() override {
        TSheetTest::SetUp();
        FHome = std::make_unique<shelltest::TShellHome>();
        Dir().MakeFolder("pics/sub");
        Dialog = new TbsSkinOpenPictureDialog(Form);
        Dialog->InitialDir = Dir() / "pics";
        Dialog->Filter = "Pictures|*.bmp;*.png;*.jpg;*.gif;*.wmf;*.ico|All|*.*";
    }
    void TearDown() override {
        FHome.reset();
        TSheetTest::TearDown();
    }
    const testsupport::TTempDir& Dir() const { return FHome->Dir(); }
    std::string Picture(const std::string& name, int width = 400, int height = 300) {
        const std::string ext = name.substr(name.rfind('.'));
        const gfx::TBytes bytes = PictureBytes(ext, width, height);
        return FHome->Touch("pics/" + name, std::string(bytes.begin(), bytes.end()));
    }
    void WhenShown(TbsSkinOpenPictureDialog* dialog,
                   std::function<void(TbsOpenPictureDlgForm*)> step) {
        Screen->QueueIdleStep([dialog, step] {
            ASSERT_NE(dialog->PictureFrm(), nullptr);
            step(dialog->PictureFrm());
        });
    }
    void WhenShown(std::function<void(TbsOpenPictureDlgForm*)> step) { WhenShown(Dialog, step); }
    // A real click on a row of the file list, after a pause so it is no double click.
    void ClickRow(TbsOpenPictureDlgForm* form, const std::string& name) {
        Wait(1000);
        TbsSkinFileListView* list = form->FileListView;
        for (int i = 0; i < list->FolderCount(); ++i)
            if (list->FolderAt(i)->DisplayName() == name) {
                const TRect r = list->Items().Item(i)->DisplayRect();
                Screen->Click(At(list, r.Left + 4, r.Top + 4));
                Run();
                return;
            }
        ADD_FAILURE() << name << " is not listed";
    }
    void ClickButton(vcl::TControl* button) {
        Wait(1000);
        Click(button, button->Width() / 2, button->Height() / 2);
        Run();
    }
    static bool BarsShown(TbsOpenPictureDlgForm* form) {
        return form->SBHScrollBar->Visible() && form->SBVScrollBar->Visible();
    }

    std::unique_ptr<shelltest::TShellHome> FHome;
    TbsSkinOpenPictureDialog* Dialog = nullptr;
};

TEST_F(PictureDialogsTest, BuildsThePaneBesideTheListWithFixedBottomRow) {
    EXPECT_EQ(Dialog->Title, "Open picture");
    EXPECT_EQ(TbsSkinOpenPictureDialog(nullptr).Filter,
              "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons "
              "(*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
    EXPECT_EQ(Dialog->AlphaBlendValue, 200);
    WhenShown([&](TbsOpenPictureDlgForm* form) {
        EXPECT_EQ(form->Caption(), "Open picture");
        EXPECT_EQ(form->ClientWidth(), 550);
        EXPECT_EQ(form->ClientHeight(), 290);
        EXPECT_EQ(form->ImagePanel->Width(), 190);
        EXPECT_EQ(form->OpenButton->Caption(), "&Open");
        EXPECT_EQ(form->StretchButton->Hint(), "Stretch Picture");
        EXPECT_EQ(form->StretchButton->Glyph().Width(), 16) << "the BS_STRETCH glyph";
        EXPECT_FALSE(form->StretchButton->Down());
        // The look-in bar and the bottom panel span the width; the pane lies between them,
        // the splitter just left of it, the list left of the splitter.
        EXPECT_EQ(form->ToolPanel->Width(), 550);
        EXPECT_EQ(form->BottomPanel->Width(), 550);
        EXPECT_EQ(form->ImagePanel->Left() + form->ImagePanel->Width(), 550);
        EXPECT_EQ(form->ImagePanel->Top(), form->ToolPanel->Height());
        EXPECT_EQ(form->ImagePanel->Top() + form->ImagePanel->Height(), form->BottomPanel->Top());
        EXPECT_EQ(form->Splitter->Left() + form->Splitter->Width(), form->ImagePanel->Left());
        EXPECT_EQ(form->FileListViewPanel->Left() + form->FileListViewPanel->Width(),
                  form->Splitter->Left());
        // The stretch toggle is the bar's last button.
        EXPECT_GT(form->StretchButton->Left(), form->StyleToolButton->Left());
        form->SetClientWidth(700);
        Run();
        EXPECT_EQ(form->FileNameEdit->Width(), 280);
        EXPECT_EQ(form->FilterComboBox->Width(), 280);
        EXPECT_EQ(form->OpenButton->Left(), 370);
        EXPECT_EQ(form->CancelButton->Left(), 370);
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->DialogWidth, 700);
}

TEST_F(PictureDialogsTest, EachFormatShowsAtItsSizeWithBarsAndStretchesToThePane) {
    for (const char* name : {"big.png", "big.jpg", "big.gif", "big.bmp"}) Picture(name);
    WhenShown([&](TbsOpenPictureDlgForm* form) {
        for (const char* name : {"big.png", "big.jpg", "big.gif", "big.bmp"}) {
            SCOPED_TRACE(name);
            form->Image->Picture().SetGraphic(nullptr);
            ClickRow(form, name);
            EXPECT_EQ(form->FileNameEdit->Text(), name);
            EXPECT_EQ(form->Image->Width(), 400);
            EXPECT_EQ(form->Image->Height(), 300);
            EXPECT_TRUE(BarsShown(form)) << "the picture is larger than the pane";
            EXPECT_TRUE(Near(PixelOf(form->ScrollBox, 5, 5), kRed));
            EXPECT_TRUE(Near(PixelOf(form->ScrollBox, 150, 5), kRed)) << "at its own size";
        }
        // Down: fitted to the pane, no bars; up: its own size again.
        ClickButton(form->StretchButton);
        EXPECT_TRUE(form->StretchButton->Down());
        EXPECT_EQ(form->Image->Width(), form->ScrollBox->ClientWidth());
        EXPECT_EQ(form->Image->Height(), form->ScrollBox->ClientHeight());
        EXPECT_FALSE(form->SBHScrollBar->Visible());
        EXPECT_TRUE(Near(PixelOf(form->ScrollBox, form->ScrollBox->ClientWidth() - 5, 5), kBlue));
        ClickButton(form->StretchButton);
        EXPECT_FALSE(form->StretchButton->Down());
        EXPECT_EQ(form->Image->Width(), 400);
        EXPECT_TRUE(BarsShown(form));

        // A folder empties the edit and the preview.
        ClickRow(form, "sub");
        EXPECT_EQ(form->FileNameEdit->Text(), "");
        EXPECT_EQ(form->Image->Width(), 0);
        EXPECT_EQ(form->Image->Height(), 0);
        EXPECT_FALSE(BarsShown(form));
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
}

TEST_F(PictureDialogsTest, AnUnreadableFileShowsTheErrorBoxAndKeepsThePicture) {
    Picture("good.png", 120, 80);
    FHome->Touch("pics/drawing.wmf", "\xD7\xCD\xC6\x9A metafile");
    FHome->Touch("pics/broken.png", "\x89PNG\r\n\x1A\n not really");
    Picture("icon.ico", 16, 16);
    {
        gfx::TPicture readable;  // the platform reads it; the preview still refuses icons
        readable.LoadFromFile(Dir() / "pics/icon.ico");
        ASSERT_EQ(readable.Width(), 16);
    }
    WhenShown([&](TbsOpenPictureDlgForm* form) {
        ClickRow(form, "good.png");
        ASSERT_EQ(form->Image->Width(), 120);
        for (const char* bad : {"drawing.wmf", "broken.png", "icon.ico"}) {
            SCOPED_TRACE(bad);
            std::string boxText;
            Screen->QueueIdleStep([&] {
                boxText = win::GetWindowText(win::GetActiveWindow());
                Press(win::VK_RETURN);
            });
            const std::size_t beeps = Screen->Beeps().size();
            ClickRow(form, bad);
            EXPECT_EQ(Screen->Beeps().size(), beeps + 1) << "the error box came up";
            EXPECT_FALSE(boxText.empty());
            EXPECT_EQ(Dialog->PictureFrm(), form);
            EXPECT_EQ(form->ModalResult(), vcl::mrNone);
            EXPECT_EQ(form->FileNameEdit->Text(), bad);
            EXPECT_EQ(form->Image->Picture().Width(), 120) << "the previous picture stays";
            EXPECT_EQ(form->Image->Width(), 120);
        }
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
}

TEST_F(PictureDialogsTest, PaneWidthAndStretchAreKeptUnlessStretchPictureForcesIt) {
    Picture("big.png");
    Dialog->SetFileName(Dir() / "pics/big.png");
    // First call: the splitter dragged 40 pixels left, the toggle down, then Cancel.
    WhenShown([&](TbsOpenPictureDlgForm* form) {
        EXPECT_EQ(form->Image->Width(), 400) << "the last file's picture is shown at once";
        EXPECT_EQ(form->FileNameEdit->Text(), "big.png");
        vcl::TControl* s = form->Splitter;
        Screen->MouseMove(At(s, 5, 50));
        Screen->MouseDown(At(s, 5, 50));
        Screen->MouseMove(At(s, -15, 50));
        Screen->MouseMove(At(s, -35, 50));
        Screen->MouseUp(At(s, -35, 50));
        Run();
        EXPECT_EQ(form->ImagePanel->Width(), 230);
        ClickButton(form->StretchButton);
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->ImagePanelWidth, 230);
    EXPECT_TRUE(Dialog->DialogStretch);

    // Second: opens as left, stretched; the toggle goes up.
    WhenShown([&](TbsOpenPictureDlgForm* form) {
        EXPECT_EQ(form->ImagePanel->Width(), 230);
        EXPECT_TRUE(form->StretchButton->Down());
        EXPECT_TRUE(form->Image->Stretch());
        EXPECT_EQ(form->Image->Width(), form->ScrollBox->ClientWidth());
        ClickButton(form->StretchButton);
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_FALSE(Dialog->DialogStretch);

    // StretchPicture: stretched every time, whatever was left.
    Dialog->StretchPicture = true;
    for (int call = 0; call < 2; ++call) {
        WhenShown([&](TbsOpenPictureDlgForm* form) {
            EXPECT_TRUE(form->StretchButton->Down());
            EXPECT_TRUE(form->Image->Stretch());
            ClickButton(form->StretchButton);
            Press(win::VK_ESCAPE);
        });
        EXPECT_FALSE(Dialog->Execute());
        EXPECT_FALSE(Dialog->DialogStretch);
    }
}

TEST_F(PictureDialogsTest, ADamagedLastFileEndsExecuteBeforeTheDialogShows) {
    const std::string broken = FHome->Touch("pics/broken.png", "\x89PNG\r\n\x1A\n not really");
    Dialog->SetFileName(broken);
    bool closed = false;
    Dialog->OnClose = [&](vcl::TObject*) { closed = true; };
    bool shown = false;
    WhenShown([&](TbsOpenPictureDlgForm*) { shown = true; });
    EXPECT_THROW(Dialog->Execute(), gfx::EInvalidGraphic);
    EXPECT_TRUE(closed);
    EXPECT_EQ(Dialog->PictureFrm(), nullptr);
    EXPECT_FALSE(shown);
    Screen->QueueIdleStep([] {});
    Run();  // the step queued for a dialog that never came
}

TEST_F(PictureDialogsTest, SavePictureNamesOneFileAndAsksAboutExactlyIt) {
    auto* save = new TbsSkinSavePictureDialog(Form);
    save->Filter = "BMP文件 (*.bmp)|*.bmp|JPEG文件 (*jpg)|*.jpg";
    save->InitialDir = Dir() / "pics";
    save->OverwritePromt = true;
    EXPECT_EQ(save->Title, "Save file");
    auto type = [&](TbsOpenPictureDlgForm* form, const std::string& text) {
        form->FileNameEdit->SetText("");
        form->FileNameEdit->SetFocus();
        Screen->Text(text);
        Run();
    };
    FHome->Touch("pics/photo");  // no extension: not the file that would be written
    int asked = 0;
    WhenShown(save, [&](TbsOpenPictureDlgForm* form) {
        EXPECT_EQ(form->Caption(), "Save file");
        EXPECT_EQ(form->OpenButton->Caption(), "&Save");
        type(form, "photo.bmp");
        form->FilterComboBox->SetItemIndex(1);
        EXPECT_EQ(form->FileNameEdit->Text(), "photo.jpg") << "the filter rewrites the extension";
        form->FilterComboBox->SetItemIndex(0);
        type(form, "photo");
        // photo.bmp does not exist yet: no question, the dialog closes at once.
        const std::size_t beeps = Screen->Beeps().size();
        ClickButton(form->OpenButton);
        EXPECT_EQ(Screen->Beeps().size(), beeps);
        EXPECT_EQ(form->ModalResult(), vcl::mrOk);
    });
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(save->FileName(), Dir() / "pics/photo.bmp");

    Picture("photo.bmp", 20, 20);
    WhenShown(save, [&](TbsOpenPictureDlgForm* form) {
        for (int answer : {win::VK_ESCAPE, win::VK_RETURN}) {
            Screen->QueueIdleStep([&, answer] {
                ++asked;
                Press(answer);
            });
            type(form, "photo");
            ClickButton(form->OpenButton);
            if (answer == win::VK_ESCAPE) {
                EXPECT_EQ(form->ModalResult(), vcl::mrNone) << "Cancel keeps the dialog open";
                EXPECT_EQ(Dialog->PictureFrm(), nullptr);
                EXPECT_EQ(save->PictureFrm(), form);
            }
        }
    });
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(save->FileName(), Dir() / "pics/photo.bmp");
}

// The picture dialog as the screen shows it, a picture previewed: default look and the
// first-start skin.
TEST_F(PictureDialogsTest, LooksAsReviewed) {
    Picture("sky.png", 160, 120);
    Picture("tree.bmp", 60, 40);
    // The shell's image list is shared by every view; start from no background, as a fresh
    // program does.
    ShellImageList(false)->SetBkColor(gfx::clNone);
    test::TSheet sheet;
    int column = 0;
    for (const test::TSheetLook& look : {test::kNoSkinLook, test::kFirstStartLook}) {
        SCOPED_TRACE(look.Name);
        ApplyLook(look);
        TbsSkinData* data = look.StoredSkin < 0 ? nullptr : Data;
        Dialog->SetSkinData(data);
        Dialog->SetCtrlSkinData(data);
        Dialog->SetFileName(Dir() / "pics/sky.png");
        Dialog->DialogWidth = Dialog->DialogHeight = 0;
        WhenShown([&](TbsOpenPictureDlgForm*) { Wait(300); });
        WhenShown([&](TbsOpenPictureDlgForm* form) {
            sheet.Add(0, column, test::TSheet::ImageOf(Screen->CaptureWindow(form->Handle())));
            Press(win::VK_ESCAPE);
        });
        EXPECT_FALSE(Dialog->Execute());
        ++column;
    }
    test::ExpectSheetMatches(sheet.Compose(), "picture_dialog");
}

}  // namespace
}  // namespace skin
