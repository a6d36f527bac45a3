// Screenshot sheets of the page control and the skinned views. The page control's sheet has a row
// per side and state (normal, hot, selected, selected and focused; side tabs with and without
// horizontal text; close buttons normal, hot and pressed; the tab scroller; a sheet with a
// wallpaper) and a column per look: no skin, the first-start skin, and a skin made here whose
// selected tab is taller than the others (no generated skin has one). The views' sheet shows a
// list view with its header (normal, a section pressed, a shortened caption) and bars, and a
// tree view with bars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/ext_ctrls.h"
#include "sheet_test_support.h"
#include "skin/controls/page_control.h"
#include "skin/controls/view_wrappers.h"

namespace skin {
namespace {

using gfx::TColor;

// A "tab" record whose selected tab is 4 pixels taller than the others: a blue frame around a
// pale page, tabs with a darker outer edge.
TbsSkinContent TallTabSkin() {
    const TColor page = gfx::RGB(236, 240, 248), frame = gfx::RGB(70, 100, 160);
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(100, 100, page));
    gfx::TBitmap& p = *pictures[0];
    test::FillArea(p, {0, 0, 40, 40}, frame);
    test::FillArea(p, {2, 2, 38, 38}, page);
    // Normal tab 20 high, selected 24, hot 20: edge rows on top, sides framed.
    struct TTab {
        TRect R;
        TColor Face;
    };
    const TTab tabs[] = {{{50, 0, 80, 20}, gfx::RGB(200, 210, 228)},
                         {{50, 30, 80, 54}, page},
                         {{50, 60, 80, 80}, gfx::RGB(250, 225, 170)}};
    for (const TTab& t : tabs) {
        test::FillArea(p, t.R, frame);
        test::FillArea(p, {t.R.Left + 2, t.R.Top + 2, t.R.Right - 2, t.R.Bottom}, t.Face);
    }
    return test::FixtureSkin(
        {{"tab", "tab",
          "pictureindex=0\nskinrect=0,0,40,40\nclientrect=2,2,38,38\nlefttoppoint=2,2\n"
          "righttoppoint=38,2\nleftbottompoint=2,38\nrightbottompoint=38,38\n"
          "leftstretch=1\ntopstretch=1\nrightstretch=1\nbottomstretch=1\n"
          "tabrect=50,0,80,20\nactivetabrect=50,30,80,54\nmouseintabrect=50,60,80,80\n"
          "tableftoffset=4\ntabrightoffset=4\ntabstretcheffect=1\nfontname=Arial\n"
          "fontheight=14\nfontcolor=" +
              std::to_string(gfx::RGB(30, 40, 70)) +
              "\nactivefontcolor=0\nfocusfontcolor=0\nmouseinfontcolor=0\nshowfocus=1\n"
              "focusoffsetx=3\nfocusoffsety=3\n"}},
        std::move(pictures), "Tall tabs");
}

class ViewsSheetTest : public test::TSheetTest {
public:
    void ApplyNamedLook(int look) {
        if (look == 2)
            Load(TallTabSkin());
        else
            ApplyLook(look == 0 ? test::kNoSkinLook : test::kFirstStartLook);
    }
    TbsSkinPageControl* Pages(const TRect& r, vcl::TTabPosition position, int count = 3) {
        auto* pc = Make<TbsSkinPageControl>(r.Left, r.Top, r.Width(), r.Height());
        pc->SetTabPosition(position);
        const char* captions[] = {"常规", "Audio", "视频", "Four", "Five", "Six", "Seven", "Eight"};
        for (int i = 0; i < count; ++i) {
            auto* sheet = new TbsSkinTabSheet(Form);
            sheet->SetCaption(captions[i]);
            sheet->SetPageControl(pc);
        }
        pc->UpDateTabs();
        pc->SetActivePage(pc->Pages(std::min(1, count - 1)));
        return pc;
    }
    // The middle of visible tab i.
    TPoint TabCentre(TbsSkinPageControl* pc, int i) {
        const TRect r = pc->TabRectOf(i);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void HoverTab(TbsSkinPageControl* pc, int i) {
        const TPoint p = TabCentre(pc, i);
        MoveTo(pc, p.X, p.Y);
        Settle();
    }
    TRect CloseButton(TbsSkinPageControl* pc, int i) {
        Run();
        auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(pc->Pages(i));
        const TRect tab = pc->TabRectOf(i);
        return sheet->ButtonRect.Offset(tab.Left, tab.Top);
    }
};

TEST_F(ViewsSheetTest, PageControlSidesStatesAndLooks) {
    enum {
        kTopHot,
        kTopFocused,
        kBottomHot,
        kWallPaper,
        kLeft,
        kLeftHorizontal,
        kRight,
        kRightHorizontal,
        kCloseHot,
        kClosePressed,
        kScroller,
        kRows
    };
    Form->SetClientWidth(480);
    Form->SetClientHeight(690);
    auto wallpaper = test::PatternPicture(12, 12, 7);
    test::TSheet sheet;
    for (int look = 0; look < 3; ++look) {
        ApplyNamedLook(look);
        std::vector<TbsSkinPageControl*> pcs(kRows);
        pcs[kTopHot] = Pages({10, 10, 230, 100}, vcl::tpTop);
        pcs[kTopFocused] = Pages({250, 10, 470, 100}, vcl::tpTop);
        pcs[kBottomHot] = Pages({10, 110, 230, 200}, vcl::tpBottom);
        pcs[kWallPaper] = Pages({250, 110, 470, 200}, vcl::tpTop);
        pcs[kLeft] = Pages({10, 210, 230, 340}, vcl::tpLeft);
        pcs[kLeftHorizontal] = Pages({250, 210, 470, 340}, vcl::tpLeft);
        pcs[kRight] = Pages({10, 350, 230, 480}, vcl::tpRight);
        pcs[kRightHorizontal] = Pages({250, 350, 470, 480}, vcl::tpRight);
        pcs[kCloseHot] = Pages({10, 490, 230, 580}, vcl::tpTop, 2);
        pcs[kClosePressed] = Pages({250, 490, 470, 580}, vcl::tpTop, 2);
        pcs[kScroller] = Pages({10, 590, 230, 680}, vcl::tpTop, 8);
        // Horizontal text wants wide side tabs.
        for (int row : {kLeftHorizontal, kRightHorizontal}) {
            pcs[row]->SetTextInHorizontal(true);
            pcs[row]->SetTabHeight(48);
            pcs[row]->UpDateTabs();
        }
        pcs[kCloseHot]->SetShowCloseButtons(true);
        pcs[kClosePressed]->SetShowCloseButtons(true);
        dynamic_cast<TbsSkinTabSheet*>(pcs[kWallPaper]->ActivePage())->SetWallPaper(*wallpaper);
        MoveAway();
        Settle();
        auto capture = [&](int row) { sheet.Add(row, look, CaptureAround(pcs[row], 4)); };
        for (int row : {kWallPaper, kScroller}) capture(row);
        for (int row : {kTopHot, kLeft, kLeftHorizontal, kRight, kRightHorizontal}) {
            HoverTab(pcs[row], 2);
            capture(row);
        }
        pcs[kBottomHot]->SetFocus();
        HoverTab(pcs[kBottomHot], 2);
        capture(kBottomHot);
        pcs[kTopFocused]->SetFocus();
        MoveAway();
        Settle();
        capture(kTopFocused);
        const TRect hot = CloseButton(pcs[kCloseHot], 1);
        MoveTo(pcs[kCloseHot], hot.Left + 4, hot.Top + 4);
        Settle();
        capture(kCloseHot);
        const TRect pressed = CloseButton(pcs[kClosePressed], 1);
        Down(pcs[kClosePressed], pressed.Left + 4, pressed.Top + 4);
        Settle();
        capture(kClosePressed);
        ReleaseAway();
        for (TbsSkinPageControl* pc : pcs) pc->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "page_control");
}

TEST_F(ViewsSheetTest, ListAndTreeViewsWithTheirBars) {
    enum { kList, kListPressed, kTree, kRows };
    Form->SetClientWidth(480);
    Form->SetClientHeight(560);
    test::TSheet sheet;
    for (int look = 0; look < 2; ++look) {
        ApplyNamedLook(look);
        // Each view with its two bars in a panel of its own, captured whole.
        std::vector<vcl::TPanel*> boxes;
        std::vector<vcl::TWinControl*> views;
        for (int row = 0; row < kRows; ++row) {
            auto* box = new vcl::TPanel(Form);
            box->SetParent(Form);
            box->SetBevelOuter(vcl::bvNone);
            box->SetBounds(10, 10 + row * 180, 320, 170);
            auto* v = Make<TbsSkinScrollBar>(0, 0, 19, 100, "", box);
            v->SetKind(sbVertical);
            v->SetSkinDataName("vscrollbar");  // the form names a vertical bar's record
            v->SetAlign(vcl::alRight);
            auto* h = Make<TbsSkinScrollBar>(0, 0, 100, 19, "", box);
            h->SetAlign(vcl::alBottom);
            if (row == kTree) {
                auto* tree = Make<TbsSkinTreeView>(0, 0, 100, 100, "", box);
                tree->SetAlign(vcl::alClient);
                for (int i = 0; i < 12; ++i) {
                    vcl::TTreeNode* n = tree->Items().Add(nullptr, "文件夹 " + std::to_string(i));
                    tree->Items().AddChild(n,
                                           "A rather long child node caption " + std::to_string(i));
                    n->Expand(false);
                }
                tree->SetVScrollBar(v);
                tree->SetHScrollBar(h);
                views.push_back(tree);
            } else {
                auto* list = Make<TbsSkinListView>(0, 0, 100, 100, "", box);
                list->SetAlign(vcl::alClient);
                list->SetViewStyle(vcl::vsReport);
                const char* captions[] = {"文件名", "时长",
                                          "A caption far too long for its section", "大小"};
                const int widths[] = {120, 60, 100, 80};
                for (int i = 0; i < 4; ++i) {
                    vcl::TListColumn* c = list->Columns().Add();
                    c->SetCaption(captions[i]);
                    c->SetWidth(widths[i]);
                }
                list->Columns()[1]->SetAlignment(vcl::taRightJustify);
                for (int i = 0; i < 30; ++i) {
                    vcl::TListItem* item = list->Items().Add();
                    item->SetCaption("视频 " + std::to_string(i) + ".avi");
                    item->SubItems().Add("00:0" + std::to_string(i % 10) + ":12");
                    item->SubItems().Add("Done");
                    item->SubItems().Add(std::to_string(i * 3 + 1) + " MB");
                }
                list->SetVScrollBar(v);
                list->SetHScrollBar(h);
                list->Items()[2]->SetSelected(true);
                views.push_back(list);
            }
            boxes.push_back(box);
        }
        MoveAway();
        Settle();
        sheet.Add(kList, look, CaptureAround(boxes[kList], 4));
        sheet.Add(kTree, look, CaptureAround(boxes[kTree], 4));
        Down(views[kListPressed], 60, 8);
        Settle();
        sheet.Add(kListPressed, look, CaptureAround(boxes[kListPressed], 4));
        ReleaseAway();
        for (vcl::TPanel* box : boxes) box->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "views");
}

}  // namespace
}  // namespace skin
