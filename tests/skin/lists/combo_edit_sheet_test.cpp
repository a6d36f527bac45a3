// Screenshot sheet of the main window's parameter list and output-folder field: a fixed-style
// combo box closed, hot and open, an edit-style combo box, and the read-only skinned edit idle,
// focused and with its edit button, in the default look and the first-start skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "lists_test_support.h"
#include "sheet_test_support.h"
#include "skin/lists/combo_box.h"
#include "skin/lists/skin_edit.h"

namespace skin {
namespace {

class ComboEditSheet : public test::TSheetTest {
public:
    // A screen rectangle grown by 8 on every side, from the composed screen.
    gfx::TImage CaptureScreen(gfx::TRect r) {
        r = gfx::TRect{r.Left - 8, r.Top - 8, r.Right + 8, r.Bottom + 8};
        const gfx::HBITMAP screen = Screen->Compose();
        gfx::TImage image;
        image.Width = r.Width();
        image.Height = r.Height();
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const bool inside = x >= 0 && y >= 0 && x < screen->Width() && y < screen->Height();
                image.Pixels.push_back(
                    inside ? screen->Pixels()[std::size_t(y) * screen->Width() + x] | 0xFF000000u
                           : 0xFF000000u);
            }
        return image;
    }
    static gfx::TRect WindowRect(vcl::TWinControl* c) {
        gfx::TRect r;
        win::GetWindowRect(c->Handle(), r);
        return r;
    }
    gfx::TImage CaptureCombo(TbsSkinComboBox* combo) {
        gfx::TRect r = WindowRect(combo);
        if (combo->IsPopupVisible()) {
            const gfx::TRect p = WindowRect(combo->ListBox());
            r = gfx::TRect{std::min(r.Left, p.Left), std::min(r.Top, p.Top),
                           std::max(r.Right, p.Right), std::max(r.Bottom, p.Bottom)};
        }
        return CaptureScreen(r);
    }
};

TEST_F(ComboEditSheet, ParameterListAndFolderField) {
    Form->SetBounds(0, 0, 700, 400);
    test::TSheet sheet;
    const test::TSheetLook* looks[] = {&test::kNoSkinLook, &test::kFirstStartLook};
    for (int column = 0; column < 2; ++column) {
        ApplyLook(*looks[column]);
        auto* focusSink = Make<TbsSkinEdit>(20, 300, 100, 20, "Sink");
        auto* combo = Make<TbsSkinComboBox>(20, 20, 160, 20, "Rate");
        for (const char* s : {"128 kbps", "192 kbps", "256 kbps", "320 kbps"})
            combo->Items().Add(s);
        combo->SetItemIndex(1);
        auto* editCombo = Make<TbsSkinComboBox>(20, 200, 160, 20, "Threads");
        editCombo->Items().Add("4");
        editCombo->SetStyle(bscbEditStyle);
        editCombo->SetText("4");
        auto* folder = Make<TbsSkinEdit>(220, 20, 240, 20, "Folder");
        folder->SetReadOnly(true);
        folder->SetText("/home/user/视频");
        auto* buttonEdit = Make<TbsSkinEdit>(220, 80, 240, 20, "Button");
        buttonEdit->SetSkinDataName("buttonedit");
        buttonEdit->SetButtonMode(true);
        buttonEdit->SetText("output.mp4");
        focusSink->SetFocus();
        MoveAway();
        Settle();

        sheet.Add(0, column, CaptureCombo(combo));
        MoveTo(combo, 150, 10);
        Settle();
        sheet.Add(1, column, CaptureCombo(combo));
        Click(combo, 150, 10);
        Settle();
        EXPECT_TRUE(combo->IsPopupVisible());
        sheet.Add(2, column, CaptureCombo(combo));
        combo->CloseUp(false);
        MoveAway();
        focusSink->SetFocus();
        Settle();
        sheet.Add(3, column, CaptureCombo(editCombo));
        sheet.Add(4, column, CaptureScreen(WindowRect(folder)));
        folder->SetFocus();
        folder->SelectAll();
        Settle();
        sheet.Add(5, column, CaptureScreen(WindowRect(folder)));
        focusSink->SetFocus();
        Settle();
        sheet.Add(6, column, CaptureScreen(WindowRect(buttonEdit)));
        for (vcl::TControl* c :
             std::initializer_list<vcl::TControl*>{combo, editCombo, folder, buttonEdit, focusSink})
            c->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "combo_edit");
}

}  // namespace
}  // namespace skin
