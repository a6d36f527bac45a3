// The skinned tree and list views with external bars: the bars follow the views' scroll state in
// every view style and scroll them, selection events pass through, the list view's header is
// taken over, widened and painted, and the skin gives colours and font.
#include "skin/controls/view_wrappers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "controls_test_support.h"
#include "platform/win/scroll_info.h"
#include "skin/controls/page_control.h"

namespace skin {
namespace {

using gfx::TColor;

// A parent that counts how often it lays its children out.
class TAlignCounter : public vcl::TCustomControl {
public:
    using vcl::TCustomControl::TCustomControl;
    int Aligns = 0;

protected:
    void AlignControls(vcl::TControl* AControl, TRect& Rect) override {
        ++Aligns;
        vcl::TCustomControl::AlignControls(AControl, Rect);
    }
};

class ViewsTest : public test::TControlsTest {
public:
    // Report view with three 100-pixel columns in 300 x 215: a 21-pixel header and ten rows of
    // 19 pixels.
    TbsSkinListView* MakeList(int rows, vcl::TWinControl* parent = nullptr) {
        auto* list = Make<TbsSkinListView>(10, 10, 300, 215, "List", parent);
        list->SetViewStyle(vcl::vsReport);
        for (int i = 0; i < 3; ++i) {
            vcl::TListColumn* column = list->Columns().Add();
            column->SetCaption("Column " + std::to_string(i));
            column->SetWidth(100);
        }
        AddRows(list, rows);
        return list;
    }
    static void AddRows(TbsSkinListView* list, int rows) {
        list->Items().BeginUpdate();
        for (int i = 0; i < rows; ++i) list->Items().Add()->SetCaption("Row " + std::to_string(i));
        list->Items().EndUpdate();
    }
    TbsSkinScrollBar* MakeBar(TScrollBarKind kind, const std::string& name,
                              vcl::TWinControl* parent = nullptr) {
        auto* bar = Make<TbsSkinScrollBar>(320, 10, 19, 200, name, parent);
        bar->SetKind(kind);
        if (kind == sbHorizontal) bar->SetBounds(10, 230, 300, 19);
        return bar;
    }
};

TEST_F(ViewsTest, ReportViewBarsFollowTheListAndScrollIt) {
    TbsSkinListView* list = MakeList(100);
    TbsSkinScrollBar* v = MakeBar(sbVertical, "V");
    TbsSkinScrollBar* h = MakeBar(sbHorizontal, "H");
    list->SetVScrollBar(v);
    list->SetHScrollBar(h);
    Run();
    ASSERT_TRUE(v->Visible());
    EXPECT_EQ(v->Min(), 0);
    EXPECT_EQ(v->Max(), 99);
    EXPECT_EQ(v->PageSize(), 10);
    EXPECT_EQ(v->LargeChange(), 10);
    EXPECT_EQ(v->SmallChange(), 1);
    EXPECT_FALSE(h->Visible());  // the columns fit
    EXPECT_TRUE(h->Both());      // the corner follows the vertical bar
    // Moving the bar by 3 scrolls by three rows.
    const int top = list->Items()[0]->Top();
    v->SetPosition(3);
    EXPECT_EQ(list->TopItem()->Index(), 3);
    EXPECT_EQ(list->Items()[3]->Top(), top);
    // A key follows: End goes to the last row.
    list->SetFocus();
    Press(win::VK_END);
    Run();
    EXPECT_EQ(v->Position(), 90);
    // A resize: 15 rows a page.
    list->SetHeight(215 + 5 * 19);
    Run();
    EXPECT_EQ(v->PageSize(), 15);
    // Deleted rows, after the repaint: the bar goes.
    list->Items().BeginUpdate();
    while (list->Items().Count() > 5) list->Items().Delete(list->Items().Count() - 1);
    list->Items().EndUpdate();
    Run();
    EXPECT_FALSE(v->Visible());
    // Added rows bring it back; wider columns show the horizontal bar, in the corner mode.
    AddRows(list, 50);
    list->Columns()[2]->SetWidth(250);
    Run();
    EXPECT_TRUE(v->Visible());
    EXPECT_EQ(v->Max(), 54);
    EXPECT_TRUE(h->Visible());
    EXPECT_EQ(h->Max(), 449);
    EXPECT_EQ(h->PageSize(), 300);
    EXPECT_TRUE(h->Both());
    // Moving it scrolls by pixels.
    h->SetPosition(40);
    EXPECT_EQ(list->Items()[0]->Left(), -40);
}

TEST_F(ViewsTest, ListStyleScrollsByColumnsAndTinyViewsLeaveTheirBars) {
    TbsSkinListView* list = MakeList(100);
    TbsSkinScrollBar* v = MakeBar(sbVertical, "V");
    TbsSkinScrollBar* h = MakeBar(sbHorizontal, "H");
    list->SetVScrollBar(v);
    list->SetHScrollBar(h);
    list->SetViewStyle(vcl::vsList);
    Run();
    EXPECT_FALSE(v->Visible());
    ASSERT_TRUE(h->Visible());
    EXPECT_FALSE(h->Both());
    EXPECT_EQ(h->SmallChange(), 1);
    EXPECT_EQ(h->LargeChange(), 1);
    Watch(list);
    h->SetPosition(2);
    std::vector<int> steps;
    for (const vcl::test::TSeen& s : Seen())
        if (s.Message == win::WM_HSCROLL) steps.push_back(win::LOWORD(s.WParam));
    EXPECT_EQ(steps, (std::vector<int>{win::SB_LINERIGHT, win::SB_LINERIGHT}));
    // A view 5 pixels high keeps the bars as they are.
    list->SetViewStyle(vcl::vsReport);
    list->SetHeight(5);
    list->UpDateScrollBars();
    Run();
    EXPECT_TRUE(h->Visible());
    EXPECT_FALSE(v->Visible());
}

TEST_F(ViewsTest, AnAlignedViewsParentRealignsOncePerChange) {
    auto* box = new TAlignCounter(Form);
    box->SetParent(Form);
    box->SetBounds(0, 0, 340, 260);
    TbsSkinListView* list = MakeList(5, box);
    TbsSkinScrollBar* v = MakeBar(sbVertical, "V", box);
    TbsSkinScrollBar* h = MakeBar(sbHorizontal, "H", box);
    v->SetAlign(vcl::alRight);
    h->SetAlign(vcl::alBottom);
    list->SetAlign(vcl::alClient);
    list->SetVScrollBar(v);
    list->SetHScrollBar(h);
    Run();
    ASSERT_FALSE(v->Visible());
    int before = box->Aligns;
    AddRows(list, 100);
    Run();
    EXPECT_TRUE(v->Visible());
    EXPECT_TRUE(h->Both());
    EXPECT_EQ(box->Aligns, before + 1);
    // The list gave the bar room.
    EXPECT_EQ(list->Width(), 340 - v->Width());
    before = box->Aligns;
    list->Items().Clear();
    Run();
    EXPECT_FALSE(v->Visible());
    EXPECT_FALSE(h->Both());
    EXPECT_EQ(box->Aligns, before + 1);
    EXPECT_EQ(list->Width(), 340);
}

TEST_F(ViewsTest, SelectionEventsAndBarsGivenAndFreed) {
    TbsSkinListView* list = MakeList(20);
    std::vector<std::string> log;
    list->OnSelectItem = [&](vcl::TObject*, vcl::TListItem* item, bool selected) {
        log.push_back(std::to_string(item->Index()) + (selected ? " on" : " off") + " index " +
                      std::to_string(list->ItemIndex()));
    };
    Run();
    const int y1 = list->Items()[1]->Top() + 3, y2 = list->Items()[2]->Top() + 3;
    Click(list, 20, y1);
    log.clear();
    Click(list, 20, y2);
    EXPECT_EQ(log, (std::vector<std::string>{"1 off index -1", "2 on index 2"}));
    // A click on empty space deselects.
    list->Items().BeginUpdate();
    while (list->Items().Count() > 3) list->Items().Delete(3);
    list->Items().EndUpdate();
    Run();
    log.clear();
    Click(list, 20, 200);
    EXPECT_EQ(log, (std::vector<std::string>{"2 off index -1"}));
    // The bar's own handler is replaced.
    TbsSkinScrollBar* v = MakeBar(sbVertical, "V");
    bool formHandler = false;
    v->OnChange = [&](vcl::TObject*) { formHandler = true; };
    list->SetVScrollBar(v);
    EXPECT_FALSE(v->Visible());
    AddRows(list, 50);
    Run();
    v->SetPosition(5);
    EXPECT_FALSE(formHandler);
    EXPECT_EQ(list->TopItem()->Index(), 5);
    // Freeing the bar forgets it.
    v->Free();
    EXPECT_EQ(list->VScrollBar(), nullptr);
    list->UpDateScrollBars();
    list->Scroll(0, 40);
    list->Invalidate();
    Run();
}

TEST_F(ViewsTest, TheHeaderIsTakenOverWidenedAndPressed) {
    TbsSkinListView* list = MakeList(3);
    Run();
    const win::HWND header = list->TakenHeader();
    ASSERT_TRUE(header);
    EXPECT_EQ(header, list->HeaderHandle());
    auto headerWidth = [&] {
        TRect r;
        win::GetWindowRect(header, r);
        return r.Width();
    };
    for (int width : {300, 260, 411}) {
        list->SetWidth(width);
        Run();
        EXPECT_EQ(headerWidth(), width + 25);
    }
    list->SetWidth(300);
    Run();
    // A press on a section draws it pressed until the release.
    const TColor pressed = gfx::TColor(0x00B59385);
    Down(list, 150, 10);
    EXPECT_TRUE(list->HeaderDown());
    EXPECT_EQ(list->ActiveSection(), 1);
    EXPECT_EQ(PixelOf(list, 150, 10), pressed);
    EXPECT_EQ(PixelOf(list, 50, 10), gfx::ColorToRGB(gfx::clBtnFace));
    Up(list, 150, 10);
    EXPECT_FALSE(list->HeaderDown());
    EXPECT_EQ(PixelOf(list, 150, 10), gfx::ColorToRGB(gfx::clBtnFace));
    // A press on a divider draws nothing pressed.
    Down(list, 100, 10);
    EXPECT_FALSE(list->HeaderDown());
    EXPECT_NE(PixelOf(list, 95, 10), pressed);
    EXPECT_NE(PixelOf(list, 105, 10), pressed);
    Up(list, 100, 10);
    // Another header (the view's window made again) is taken over in its place.
    list->SetShowColumnHeaders(false);
    list->SetShowColumnHeaders(true);
    Run();
    ASSERT_TRUE(list->HeaderHandle());
    EXPECT_EQ(list->TakenHeader(), list->HeaderHandle());
}

// The main window's task list: 25 columns, 20 of them 0 wide.
TEST_F(ViewsTest, ZeroWidthColumnsDrawNoSectionAndTheRestIsFilled) {
    auto* list = Make<TbsSkinListView>(10, 10, 380, 215, "List");
    list->SetViewStyle(vcl::vsReport);
    for (int i = 0; i < 25; ++i) {
        vcl::TListColumn* column = list->Columns().Add();
        column->SetCaption("C" + std::to_string(i));
        column->SetWidth(i < 4 || i == 5 ? 70 : 0);
    }
    std::vector<std::string> drawn;
    bool sawPressed = false;
    list->OnDrawHeaderSection = [&](gfx::TCanvas&, vcl::TListColumn* column, bool pressed,
                                    const TRect& R) {
        drawn.push_back(column->Caption());
        sawPressed = sawPressed || pressed;
        EXPECT_EQ(R.Left, 0);
        EXPECT_EQ(R.Width(), 70);
    };
    Run();
    EXPECT_EQ(drawn, (std::vector<std::string>{"C0", "C1", "C2", "C3", "C5"}));
    // The handler draws nothing: the background is still the view's.
    EXPECT_EQ(PixelOf(list, 35, 10), gfx::ColorToRGB(gfx::clBtnFace));
    // The rest: face with a shadow frame along the top.
    EXPECT_EQ(PixelOf(list, 365, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(list, 365, 10), gfx::ColorToRGB(gfx::clBtnFace));
    drawn.clear();
    Down(list, 35, 10);
    EXPECT_TRUE(sawPressed);
    Up(list, 35, 10);
}

TEST_F(ViewsTest, TreeBarsShowOnlyWhileTheTreeCanScroll) {
    auto* tree = Make<TbsSkinTreeView>(10, 10, 200, 150, "Tree");
    TbsSkinScrollBar* v = MakeBar(sbVertical, "V");
    TbsSkinScrollBar* h = MakeBar(sbHorizontal, "H");
    tree->SetVScrollBar(v);
    tree->SetHScrollBar(h);
    for (int i = 0; i < 30; ++i) tree->Items().Add(nullptr, "Node " + std::to_string(i));
    Run();
    const int shown = int(tree->Perform(vcl::TVM_GETVISIBLECOUNT));
    const int count = int(tree->Perform(vcl::TVM_GETCOUNT));
    struct TCase {
        int Max;
        bool Visible;
    };
    const TCase cases[] = {
        {0, false},          // nothing to scroll
        {shown - 1, false},  // below the visible count
        {shown, true},       //
        {count - 1, true},   //
        {count, false},      // not below the item count
    };
    for (const TCase& c : cases) {
        win::SCROLLINFO si;
        si.fMask = win::SIF_RANGE;
        si.nMin = 0;
        si.nMax = c.Max;
        win::SetScrollInfo(tree->Handle(), win::SB_VERT, si, false);
        tree->UpDateScrollBars();
        EXPECT_EQ(v->Visible(), c.Visible) << c.Max;
        EXPECT_EQ(h->Both(), c.Visible) << c.Max;
    }
    for (const TCase& c : std::vector<TCase>{{199, false}, {200, false}, {201, true}}) {
        win::SCROLLINFO si;
        si.fMask = win::SIF_RANGE;
        si.nMin = 0;
        si.nMax = c.Max;
        win::SetScrollInfo(tree->Handle(), win::SB_HORZ, si, false);
        tree->UpDateScrollBars();
        EXPECT_EQ(h->Visible(), c.Visible) << c.Max;
    }
}

TEST_F(ViewsTest, ATreeOf70000RowsScrollsPast16Bits) {
    auto* tree = Make<TbsSkinTreeView>(10, 10, 200, 150, "Tree");
    TbsSkinScrollBar* v = MakeBar(sbVertical, "V");
    tree->SetVScrollBar(v);
    tree->Items().BeginUpdate();
    for (int i = 0; i < 70000; ++i) tree->Items().Add(nullptr, "Row " + std::to_string(i));
    tree->Items().EndUpdate();
    Run();
    ASSERT_TRUE(v->Visible());
    EXPECT_EQ(v->Max(), 69999);
    v->SetPosition(69000);
    Run();
    EXPECT_EQ(tree->TopItem(), tree->Items().Item(69000));
    EXPECT_EQ(v->Position(), 69000);
    // A key moves the bar with the tree.
    tree->SetFocus();
    tree->SetSelected(tree->Items().Item(69000));
    Press(win::VK_UP);
    Run();
    EXPECT_EQ(v->Position(), 68999);
}

TEST_F(ViewsTest, TheSkinGivesColoursAndFont) {
    auto* tree = Make<TbsSkinTreeView>(10, 10, 200, 150, "Tree");
    TbsSkinListView* list = MakeList(3);
    EXPECT_EQ(list->Color(), gfx::clWindow);
    Load(test::FixtureSkin(
        {{"treeview", "treeview",
          "fontname=Arial\nfontheight=17\nfontcolor=255\nbgcolor=" +
              std::to_string(gfx::RGB(10, 20, 30)) + "\n"},
         {"listview", "listview", "fontheight=12\nfontcolor=65280\nbgcolor=16711680\n"}},
        {}));
    EXPECT_EQ(tree->FIndex, 0);
    EXPECT_EQ(tree->Color(), gfx::RGB(10, 20, 30));
    EXPECT_EQ(tree->Font().Height(), 17);
    EXPECT_EQ(tree->Font().Color(), gfx::TColor(255));
    EXPECT_EQ(list->Color(), gfx::TColor(16711680));
    EXPECT_EQ(list->Font().Height(), 12);
    // Without the skin font: the default font, the record's colours.
    list->SetUseSkinFont(false);
    list->ChangeSkinData();
    EXPECT_EQ(list->Font().Height(), 14);
    EXPECT_EQ(list->Font().Color(), gfx::TColor(65280));
    // A skin without the records: the defaults.
    Load(test::FixtureSkin({}, {}));
    EXPECT_EQ(tree->FIndex, -1);
    EXPECT_EQ(tree->Color(), gfx::clWindow);
    EXPECT_EQ(list->Color(), gfx::clWindow);
}

// Every skin of the chooser has the records these controls look up and paints them (the fixed
// skin of the category and format lists, 8, has only what lists need: the default looks).
TEST_F(ViewsTest, EveryChooserSkinHasTheirRecords) {
    std::set<std::string, std::less<>> missed;
    for (int skin = 0; skin <= 8; ++skin) {
        Data->MissedNames = skin < 8 ? &missed : nullptr;
        LoadStored(skin);
        auto* pages = Make<TbsSkinPageControl>(10, 10, 200, 120, "Pages");
        for (int i = 0; i < 6; ++i) {
            auto* sheet = new TbsSkinTabSheet(Form);
            sheet->SetCaption("Page " + std::to_string(i));
            sheet->SetPageControl(pages);
        }
        pages->SetShowCloseButtons(true);
        pages->UpDateTabs();
        TbsSkinListView* list = MakeList(40);
        auto* tree = Make<TbsSkinTreeView>(10, 240, 200, 50, "Tree");
        for (int i = 0; i < 10; ++i) tree->Items().Add(nullptr, "Node");
        TbsSkinScrollBar* v = MakeBar(sbVertical, "V");
        v->SetSkinDataName("vscrollbar");
        list->SetVScrollBar(v);
        Run();
        EXPECT_EQ(pages->FIndex >= 0, skin < 8) << skin;
        EXPECT_EQ(list->FIndex >= 0, skin < 8) << skin;
        EXPECT_EQ(tree->FIndex >= 0, skin < 8) << skin;
        EXPECT_NE(pages->Scroller(), nullptr) << skin;
        EXPECT_TRUE(v->Visible()) << skin;
        for (vcl::TControl* c : std::vector<vcl::TControl*>{pages, list, tree, v}) c->Free();
        Run();
    }
    Data->MissedNames = nullptr;
    // The generated tab records name no up-down record: the scroller takes the default look.
    missed.erase("");
    std::string names;
    for (const std::string& n : missed) names += "\"" + n + "\" ";
    EXPECT_TRUE(missed.empty()) << names;
}

}  // namespace
}  // namespace skin
