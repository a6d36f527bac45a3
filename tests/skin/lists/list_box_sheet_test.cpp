// Screenshot sheet of the skinned list box in the lists fixture skin ("itemlistbox") and the
// default look: a focused selection with the main bar, the caption bar with a hot and a pressed
// button and a glyph, and both bars with the corner square.
#include <gtest/gtest.h>

#include <string>

#include "lists_test_support.h"
#include "sheet_test_support.h"
#include "skin/lists/list_box.h"

namespace skin {
namespace {

const test::TSheetLook kFixtureLook{"lists fixture", -1};

class ListBoxSheet : public test::TSheetTest {
public:
    TbsSkinListBox* NewBox(int items) {
        auto* box = Make<TbsSkinListBox>(20, 20, 140, 120, "Box");
        box->SetSkinDataName("itemlistbox");
        for (int i = 0; i < items; ++i) box->Items().Add("第 " + std::to_string(i) + " 项");
        box->ChangeSkinData();
        Run();
        return box;
    }
};

TEST_F(ListBoxSheet, LooksAndStates) {
    Form->SetBounds(0, 0, 500, 400);
    test::TSheet sheet;
    const test::TSheetLook* looks[] = {&kFixtureLook, &test::kNoSkinLook};
    for (int column = 0; column < 2; ++column) {
        if (column == 0)
            Load(test::ListsFixtureSkin());
        else
            ApplyLook(*looks[column]);

        TbsSkinListBox* box = NewBox(8);
        box->SetItemIndex(2);
        box->ListBox->SetFocus();
        MoveAway();
        Settle();
        sheet.Add(0, column, CaptureAround(box));
        box->Free();
        Run();

        box = NewBox(8);
        box->SetCaptionMode(true);
        box->SetCaption("列表");
        // The glyph's bottom-left pixel is its transparent colour.
        auto glyph = test::SolidPicture(10, 10, gfx::RGB(200, 0, 160));
        glyph->Canvas().SetPixel(0, 9, gfx::clWhite);
        box->SetGlyph(*glyph);
        box->SetItemIndex(0);
        Run();
        const TRect& down = box->Buttons[1].R;
        MoveTo(box, (down.Left + down.Right) / 2, (down.Top + down.Bottom) / 2);
        Settle();
        sheet.Add(1, column, CaptureAround(box));
        const TRect& up = box->Buttons[0].R;
        Down(box, (up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2);
        sheet.Add(2, column, CaptureAround(box));
        Up(box, (up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2);
        box->Free();
        Run();

        box = NewBox(8);
        box->SetHorizontalExtent(true);
        box->Items().Add("一个很长很长很长很长很长的项目名称");
        box->SetItemIndex(8);
        Run();
        sheet.Add(3, column, CaptureAround(box));
        box->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "list_box");
}

}  // namespace
}  // namespace skin
