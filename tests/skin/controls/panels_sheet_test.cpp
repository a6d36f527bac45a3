// Screenshot sheets of the panels, bars, check and radio boxes, labels, splitter and bevel: a row
// per state or shape, a column per look (no skin, the first-start skin, and the morphing skin for
// the boxes, whose hot state fades there).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheet_test_support.h"
#include "skin/controls/bars.h"
#include "skin/controls/bevel.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/link_label.h"
#include "skin/controls/panels.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/splitter.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"

namespace skin {
namespace {

using test::TSheetLook;

const std::vector<TSheetLook> kLooks = {test::kNoSkinLook, test::kFirstStartLook};

class PanelSheets : public test::TSheetTest {
public:
    // A striped backdrop for the transparent looks, behind everything else on the form.
    TbsSkinPaintPanel* Backdrop() {
        auto* back = Make<TbsSkinPaintPanel>(0, 0, Form->ClientWidth(), Form->ClientHeight());
        back->SetSkinData(nullptr);
        back->OnPanelPaint = [](gfx::TCanvas& c, vcl::TRect r) {
            c.Brush().SetStyle(gfx::bsSolid);
            for (int x = 0; x < r.Right; x += 16) {
                c.Brush().SetColor((x / 16) % 2 ? gfx::RGB(214, 220, 232)
                                                : gfx::RGB(236, 228, 212));
                c.FillRect({x, 0, x + 16, r.Bottom + 10});
            }
        };
        return back;
    }
};

TEST_F(PanelSheets, Panels) {
    enum { kFrame, kRaised, kLowered, kNone, kCaption, kChecked, kRollUp, kGroup, kGlass, kRows };
    Form->SetClientWidth(420);
    Form->SetClientHeight(kRows * 60 + 20);
    test::TSheet sheet;
    for (std::size_t column = 0; column < kLooks.size(); ++column) {
        ApplyLook(kLooks[column]);
        auto* back = Backdrop();
        std::vector<TbsSkinPanel*> panels;
        for (int row = 0; row < kRows; ++row) {
            TbsSkinPanel* p = row == kGroup
                                  ? Make<TbsSkinGroupBox>(20, 10 + row * 60, 160, 50, "", back)
                                  : Make<TbsSkinPanel>(20, 10 + row * 60, 160, 50, "", back);
            p->SetCaption(row >= kCaption ? "视频设置" : "");
            panels.push_back(p);
        }
        panels[kRaised]->SetBorderStyle(bvRaised);
        panels[kLowered]->SetBorderStyle(bvLowered);
        panels[kNone]->SetBorderStyle(bvNone);
        // The skins draw captions from the group box record, as the program's panels do.
        for (int row : {kCaption, kChecked, kRollUp, kGlass}) {
            panels[row]->SetSkinDataName("groupbox");
            panels[row]->SetCaptionMode(true);
        }
        panels[kChecked]->SetCheckedMode(true);
        panels[kChecked]->SetChecked(true);
        panels[kRollUp]->SetRollUpMode(true);
        panels[kGlass]->SetTransparentMode(true);
        // Some setters only store while a record paints the panel.
        for (TbsSkinPanel* p : panels) p->Repaint();
        MoveAway();
        Settle();
        for (int row = 0; row < kRows; ++row)
            sheet.Add(row, int(column), CaptureAround(panels[std::size_t(row)], 4));
        back->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "panels");
}

TEST_F(PanelSheets, BarsWithArrowsAndGrip) {
    enum { kNormal, kHot, kPressed, kGrip, kRows };
    Form->SetClientWidth(420);
    Form->SetClientHeight(260);
    test::TSheet sheet;
    for (std::size_t column = 0; column < kLooks.size(); ++column) {
        ApplyLook(kLooks[column]);
        std::vector<TbsSkinToolBar*> bars;
        for (int row = 0; row < kGrip; ++row) {
            auto* bar = Make<TbsSkinToolBar>(30, 20 + row * 50, 100, 30);
            bar->SetCanScroll(true);
            for (int i = 0; i < 4; ++i) {
                auto* b = Make<TbsSkinSpeedButton>(i * 50, 0, 50, 24, "", bar);
                b->SetCaption("工具" + std::to_string(i + 1));
                b->SetFlat(true);
            }
            bar->SetWidth(180);
            bars.push_back(bar);
        }
        auto* status = Make<TbsSkinStatusBar>(0, 0, 100, 21);
        status->SetSizeGrip(true);
        MoveAway();
        Settle();
        sheet.Add(kNormal, int(column), CaptureAround(bars[kNormal], 14));
        Screen->MouseMove(bars[kHot]->ClientToScreen({bars[kHot]->ClientWidth() + 6, 10}));
        Run();
        Settle();
        sheet.Add(kHot, int(column), CaptureAround(bars[kHot], 14));
        const gfx::TPoint press =
            bars[kPressed]->ClientToScreen({bars[kPressed]->ClientWidth() + 6, 10});
        Screen->MouseMove(press);
        Screen->MouseDown(press);
        Run();
        sheet.Add(kPressed, int(column), CaptureAround(bars[kPressed], 14));
        Screen->MouseUp(press);
        MoveAway();
        Settle();
        sheet.Add(kGrip, int(column), CaptureAround(status, 2));
        for (auto* b : bars) b->Free();
        status->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "bars");
}

TEST_F(PanelSheets, CheckAndRadioBoxes) {
    // Rows: each mark state in each look state; columns: look x (flat, skinned) x (check, radio).
    const char* const marks[] = {"unchecked", "checked", "grayed"};
    enum { kNormal, kHot, kFocused, kDisabled, kStates };
    const std::vector<TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook,
                                           test::kMorphLook};
    Form->SetClientWidth(640);
    Form->SetClientHeight(3 * kStates * 30 + 20);
    test::TSheet sheet;
    for (std::size_t look = 0; look < looks.size(); ++look) {
        ApplyLook(looks[look]);
        // The boxes sit on a panel of the skin, as in the program's dialogs.
        auto* back = Make<TbsSkinPanel>(0, 0, Form->ClientWidth(), Form->ClientHeight());
        back->SetBorderStyle(bvNone);
        for (int kind = 0; kind < 4; ++kind) {
            const bool flat = kind < 2, radio = kind % 2 == 1;
            std::vector<TbsSkinCheckRadioBox*> boxes;
            for (int mark = 0; mark < 3; ++mark)
                for (int state = 0; state < kStates; ++state) {
                    const int row = mark * kStates + state;
                    auto* b = Make<TbsSkinCheckRadioBox>(10 + kind * 150, 10 + row * 30, 130, 22,
                                                         "", back);
                    if (radio) b->SetSkinDataName("radiobox");
                    b->SetRadio(radio);
                    b->SetFlat(flat);
                    b->SetCanFocused(true);
                    b->SetCaption(std::string(radio ? "单选 " : "复选 ") + marks[mark]);
                    if (mark == 1) b->SetChecked(true);
                    if (mark == 2) b->SetState(vcl::cbGrayed);
                    if (state == kDisabled) b->SetEnabled(false);
                    boxes.push_back(b);
                }
            MoveAway();
            Settle();
            const int column = int(look) * 4 + kind;
            for (int mark = 0; mark < 3; ++mark) {
                auto* normal = boxes[std::size_t(mark * kStates + kNormal)];
                auto* hot = boxes[std::size_t(mark * kStates + kHot)];
                auto* focused = boxes[std::size_t(mark * kStates + kFocused)];
                auto* disabled = boxes[std::size_t(mark * kStates + kDisabled)];
                sheet.Add(mark * kStates + kNormal, column, CaptureAround(normal, 2));
                sheet.Add(mark * kStates + kDisabled, column, CaptureAround(disabled, 2));
                Hover(hot);
                sheet.Add(mark * kStates + kHot, column, CaptureAround(hot, 2));
                MoveAway();
                focused->SetFocus();
                Settle();
                sheet.Add(mark * kStates + kFocused, column, CaptureAround(focused, 2));
            }
            for (auto* b : boxes) b->Free();
            Run();
        }
        back->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "check_radio");
}

TEST_F(PanelSheets, Labels) {
    enum { kEnabled, kDisabled, kHovered, kRows };
    Form->SetClientWidth(560);
    Form->SetClientHeight(200);
    test::TSheet sheet;
    for (std::size_t column = 0; column < kLooks.size(); ++column) {
        ApplyLook(kLooks[column]);
        auto* back = Make<TbsSkinPanel>(0, 0, 560, 200);
        for (int row = 0; row < kRows; ++row) {
            auto* std = new TbsSkinStdLabel(Form);
            std->SetParent(back);
            std->SetLeft(20);
            std->SetTop(20 + row * 50);
            std->SetCaption("输出文件夹：");
            std->SetSkinData(Data);
            auto* text = new TbsSkinTextLabel(Form);
            text->SetParent(back);
            text->SetLeft(160);
            text->SetTop(20 + row * 50);
            text->Lines().SetText("视频码率\nVideo bit rate");
            text->SetSkinData(Data);
            auto* link = new TbsSkinLinkLabel(Form);
            link->SetParent(back);
            link->SetAutoSize(false);
            link->SetBounds(330, 14 + row * 50, 153, 33);
            link->SetAlignment(vcl::taCenter);
            link->SetGlowEffect(true);
            link->SetGlowSize(6);
            link->SetCaption("moradex.example");
            link->SetSkinData(Data);
            if (row == kDisabled)
                for (vcl::TControl* c :
                     {(vcl::TControl*)std, (vcl::TControl*)text, (vcl::TControl*)link})
                    c->SetEnabled(false);
            MoveAway();
            Settle();
            if (row == kHovered) {
                // The plain labels have no hot look; the link turns or glows.
                MoveTo(link, 70, 16);
                Settle();
            }
            sheet.Add(row, int(column) * 3, CaptureAround(std, 4));
            sheet.Add(row, int(column) * 3 + 1, CaptureAround(text, 4));
            sheet.Add(row, int(column) * 3 + 2, CaptureAround(link, 4));
        }
        back->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "labels");
}

TEST_F(PanelSheets, SplitterAndBevels) {
    const vcl::TBevelShape shapes[] = {vcl::bsBox,        vcl::bsFrame,    vcl::bsTopLine,
                                       vcl::bsBottomLine, vcl::bsLeftLine, vcl::bsRightLine,
                                       vcl::bsSpacer};
    Form->SetClientWidth(420);
    Form->SetClientHeight(300);
    test::TSheet sheet;
    for (std::size_t column = 0; column < kLooks.size(); ++column) {
        ApplyLook(kLooks[column]);
        auto* back = Make<TbsSkinPanel>(0, 10, 420, 290);
        back->SetBorderStyle(bvNone);
        auto* left = Make<TbsSkinPanel>(0, 0, 60, 100, "", back);
        left->SetAlign(vcl::alLeft);
        auto* split = new TbsSkinSplitter(Form);
        split->SetParent(back);
        split->SetLeft(100);
        split->SetAlign(vcl::alLeft);
        split->SetSkinData(Data);
        int row = 0;
        for (bool divider : {false, true})
            for (vcl::TBevelShape shape : shapes) {
                auto* bevel = new TbsSkinBevel(Form);
                bevel->SetParent(back);
                bevel->SetBounds(divider ? 270 : 150, 10 + (row % 7) * 40, 60, 30);
                bevel->SetShape(shape);
                bevel->SetDividerMode(divider);
                bevel->SetSkinData(Data);
                ++row;
            }
        MoveAway();
        Settle();
        sheet.Add(0, int(column) * 3, CaptureAround(split, 4));
        row = 0;
        for (int i = 0; i < back->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TbsSkinBevel*>(back->Controls(i))) {
                sheet.Add(row % 7, int(column) * 3 + 1 + row / 7, CaptureAround(b, 3));
                ++row;
            }
        back->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "splitter_bevels");
}

}  // namespace
}  // namespace skin
