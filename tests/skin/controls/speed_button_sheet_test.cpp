// The screenshot sheets of the speed button (normal, hot, pressed, disabled, flat and idle over a
// patterned parent, down in a group) and of the menu speed button (normal, hot, tracked, and in
// track mode hot and tracked, plain and in the new style of the main window's add button), a
// column per look: no skin, the first-start skin, the morphing skin.
#include <gtest/gtest.h>

#include <vector>

#include "menu_doubles.h"
#include "platform/vcl/img_list.h"
#include "sheet_test_support.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/speed_button.h"

namespace skin {
namespace {

const std::vector<test::TSheetLook> kLooks = {test::kNoSkinLook, test::kFirstStartLook,
                                              test::kMorphLook};

// A parent in diagonal stripes of the skin's face and shadow colours (as a skinned panel under
// the button would be), so a flat button that lets it through shows it.
class TStripedParent : public vcl::TCustomControl {
public:
    TStripedParent(vcl::TComponent* owner, TbsSkinData* data)
        : vcl::TCustomControl(owner), FData(data) {}

protected:
    void Paint() override {
        const bool skinned = FData && !FData->Empty;
        gfx::TCanvas& c = Canvas();
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(skinned ? FData->SkinColors()->cBtnFace : gfx::clBtnFace);
        c.FillRect(ClientRect());
        c.Pen().SetColor(skinned ? FData->SkinColors()->cBtnShadow : gfx::clBtnShadow);
        for (int x = -Height(); x < Width(); x += 6) {
            c.MoveTo(x, 0);
            c.LineTo(x + Height(), Height());
        }
    }

private:
    TbsSkinData* FData;
};

// One 16 x 16 picture: a green square with a darker rim on the transparent colour.
vcl::TImageList* Images(vcl::TComponent* owner) {
    auto* images = new vcl::TImageList(owner, 16, 16);
    auto picture = test::SolidPicture(16, 16, gfx::clFuchsia);
    gfx::TCanvas& c = picture->Canvas();
    c.Brush().SetColor(gfx::RGB(40, 140, 60));
    c.Pen().SetColor(gfx::RGB(20, 80, 30));
    c.Rectangle(2, 2, 14, 14);
    images->AddMasked(*picture, gfx::clFuchsia);
    return images;
}

class SpeedButtonSheetTest : public test::TSheetTest {};

TEST_F(SpeedButtonSheetTest, StatesByLook) {
    enum { kNormal, kHot, kPressed, kDisabled, kFlat, kGroupDown, kRows };
    Form->SetClientHeight(kRows * 44 + 20);
    auto* images = Images(Form);
    test::TSheet sheet;
    for (std::size_t column = 0; column < kLooks.size(); ++column) {
        ApplyLook(kLooks[column]);
        auto* striped = new TStripedParent(Form, Data);
        striped->SetParent(Form);
        striped->SetBounds(10, 10 + kFlat * 44 - 8, 104, 44);
        std::vector<TbsSkinSpeedButton*> buttons;
        for (int row = 0; row < kRows; ++row) {
            TbsSkinSpeedButton* b = row == kFlat
                                        ? Make<TbsSkinSpeedButton>(10, 8, 84, 28, "", striped)
                                        : Make<TbsSkinSpeedButton>(20, 10 + row * 44, 84, 28);
            b->SetCaption("打开");
            b->SetImageList(images);
            buttons.push_back(b);
        }
        buttons[kFlat]->SetFlat(true);
        // Two members of a group, the second down; only the first is captured.
        buttons[kGroupDown]->SetGroupIndex(1);
        auto* other = Make<TbsSkinSpeedButton>(130, 10 + kGroupDown * 44, 84, 28);
        other->SetGroupIndex(1);
        other->SetDown(true);
        buttons[kGroupDown]->SetDown(true);
        // The image list is a plain store: the next paint shows it.
        for (TbsSkinSpeedButton* b : buttons) b->Repaint();
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(buttons[std::size_t(row)]));
        };
        capture(kNormal);
        capture(kFlat);
        EXPECT_FALSE(other->Down());
        capture(kGroupDown);
        Hover(buttons[kHot]);
        capture(kHot);
        Hold(buttons[kPressed]);
        capture(kPressed);
        ReleaseAway();
        buttons[kDisabled]->SetEnabled(false);
        Settle();
        capture(kDisabled);
        for (TbsSkinSpeedButton* b : buttons) b->Free();
        other->Free();
        striped->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "speed_button");
}

TEST_F(SpeedButtonSheetTest, MenuButtonStatesByLook) {
    enum {
        kNormal,
        kHot,
        kTracked,
        kTrackHot,
        kTrackTracked,
        kNewStyleHot,
        kNewStyleTracked,
        kRows
    };
    Form->SetClientHeight(kRows * 52 + 20);
    auto* images = Images(Form);
    auto* menu = new test::TDropMenuDouble(Form);
    test::TSheet sheet;
    for (std::size_t column = 0; column < kLooks.size(); ++column) {
        ApplyLook(kLooks[column]);
        std::vector<TbsSkinMenuSpeedButton*> buttons;
        for (int row = 0; row < kRows; ++row) {
            const bool newStyle = row >= kNewStyleHot;
            auto* b = Make<TbsSkinMenuSpeedButton>(20, 10 + row * 52, 96, newStyle ? 40 : 28);
            b->SetCaption("添加");
            b->SetImageList(images);
            b->SetSkinPopupMenu(menu);
            b->SetTrackButtonMode(row >= kTrackHot);
            b->SetNewStyle(newStyle);
            b->ChangeSkinData();
            b->Repaint();
            buttons.push_back(b);
        }
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(buttons[std::size_t(row)]));
        };
        capture(kNormal);
        for (int row : {kHot, kTrackHot, kNewStyleHot}) {
            Hover(buttons[std::size_t(row)]);
            capture(row);
        }
        // Pressed on the drop-down part (anywhere without track mode): the menu opens.
        for (int row : {kTracked, kTrackTracked, kNewStyleTracked}) {
            TbsSkinMenuSpeedButton* b = buttons[std::size_t(row)];
            Down(b, b->Width() - 7, b->Height() / 2);
            Settle();
            EXPECT_TRUE(b->MenuTracked());
            capture(row);
            menu->Close();
            ReleaseAway();
        }
        for (TbsSkinMenuSpeedButton* b : buttons) b->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "menu_speed_button");
}

}  // namespace
}  // namespace skin
