// The office list: its items and their repaint rule, the selection with item events, the
// keyboard moves over headers and disabled rows, the scroll bar that comes and goes with the
// content, the wheel, the size rule, and the rows' pixels in the default and skinned looks.
#include "skin/lists/office_list_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists_test_support.h"
#include "platform/rtl/sysutils.h"

namespace skin {
namespace {

using gfx::TColor;

class TListProbe : public TbsSkinOfficeListBox {
public:
    using TbsSkinOfficeListBox::TbsSkinOfficeListBox;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        TbsSkinOfficeListBox::Paint();
    }
};

// Rows by letter: e entry, h header, d disabled entry.
void Fill(TbsSkinOfficeListBox* list, const std::string& rows) {
    for (char kind : rows) {
        TbsSkinOfficeItem* item = list->Items().Add();
        item->SetCaption(std::string(1, kind) + std::to_string(list->Items().Count() - 1));
        if (kind == 'h') item->SetHeader(true);
        if (kind == 'd') item->SetEnabled(false);
    }
}

class OfficeListTest : public test::TControlsTest {
protected:
    TListProbe* NewList(int height = 100, const std::string& rows = "", int width = 150) {
        auto* list = Make<TListProbe>(10, 10, width, height, "List");
        Fill(list, rows);
        list->OnItemClick = [this](vcl::TObject*) { Events.push_back("item"); };
        for (int i = 0; i < list->Items().Count(); ++i)
            list->Items()[i]->OnClick = [this, i](vcl::TObject*) {
                Events.push_back("row" + std::to_string(i));
            };
        Run();
        return list;
    }
    std::vector<std::string> Events;
};

// ---- items --------------------------------------------------------------------------------------

TEST_F(OfficeListTest, NewListAndItemDefaults) {
    auto* list = NewList();
    EXPECT_EQ(list->Width(), 150);
    EXPECT_EQ(list->Height(), 100);
    EXPECT_EQ(list->ItemHeight(), 30);
    EXPECT_EQ(list->HeaderHeight(), 20);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(list->ShowItemTitles());
    EXPECT_FALSE(list->TabStop());
    EXPECT_EQ(list->SkinDataName(), "listbox");
    TbsSkinOfficeItem* item = list->Items().Add();
    EXPECT_EQ(item->ImageIndex(), -1);
    EXPECT_TRUE(item->Enabled());
    EXPECT_FALSE(item->Header());
    EXPECT_FALSE(item->Active);
    EXPECT_EQ(list->Items().GetOwner(), list);
    EXPECT_EQ(list->CalcHeight(4), 35);  // one item: 1 x 30 + 5
}

TEST_F(OfficeListTest, ClearKeepsIndexAndTheNextItemIsBornActive) {
    auto* list = NewList(100, "ee");
    list->SetItemIndex(0);
    Events.clear();
    list->Items().Clear();
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(list->Items().Add()->Active);
    EXPECT_FALSE(list->Items().Add()->Active);
}

TEST_F(OfficeListTest, IndexOutsideTheItemsRaisesTheListIndexError) {
    auto* list = NewList(100, "ee");
    EXPECT_THROW(list->Items()[2], rtl::EListError);
    EXPECT_THROW(list->Items()[-1], rtl::EListError);
}

TEST_F(OfficeListTest, AssignCopiesTheLookButKeepsDataAndClick) {
    auto* list = NewList(100, "ee");
    TbsSkinOfficeItem* source = list->Items()[0];
    TbsSkinOfficeItem* target = list->Items()[1];
    source->SetTitle("T");
    source->SetImageIndex(3);
    source->SetHeader(true);
    source->SetEnabled(false);
    int data = 0;
    target->SetData(&data);
    target->Assign(*source);
    EXPECT_EQ(target->Title(), "T");
    EXPECT_EQ(target->Caption(), "e0");
    EXPECT_EQ(target->ImageIndex(), 3);
    EXPECT_TRUE(target->Header());
    EXPECT_FALSE(target->Enabled());
    EXPECT_EQ(target->Data(), &data);
    target->OnClick(list);
    EXPECT_EQ(Events, (std::vector<std::string>{"row1"}));
}

TEST_F(OfficeListTest, EverySetterButDataRepaintsEvenForTheSameValue) {
    auto* list = NewList(100, "e");
    TbsSkinOfficeItem* item = list->Items()[0];
    struct TCase {
        const char* Name;
        std::function<void()> Set;
        bool Paints;
    };
    int data = 0;
    const std::vector<TCase> cases = {
        {"caption", [&] { item->SetCaption(item->Caption()); }, true},
        {"title", [&] { item->SetTitle(item->Title()); }, true},
        {"image", [&] { item->SetImageIndex(item->ImageIndex()); }, true},
        {"enabled", [&] { item->SetEnabled(item->Enabled()); }, true},
        {"header", [&] { item->SetHeader(item->Header()); }, true},
        {"data", [&] { item->SetData(&data); }, false},
    };
    for (const TCase& c : cases) {
        const int before = list->Paints;
        c.Set();
        EXPECT_EQ(list->Paints > before, c.Paints) << c.Name;
    }
}

// ---- selection ----------------------------------------------------------------------------------

TEST_F(OfficeListTest, SelectionRaisesItemEventsEveryTimeAndNegativeKeepsTheHighlight) {
    auto* list = NewList(100, "eee");
    list->SetItemIndex(2);
    list->SetItemIndex(2);
    EXPECT_EQ(Events, (std::vector<std::string>{"row2", "item", "row2", "item"}));
    Events.clear();
    list->SetItemIndex(-1);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(list->Items()[2]->Active);
    EXPECT_TRUE(Events.empty());
    list->SetItemIndex(0);
    EXPECT_FALSE(list->Items()[2]->Active);
    EXPECT_TRUE(list->Items()[0]->Active);
}

TEST_F(OfficeListTest, SelectionBeyondTheItemsClearsEveryRowAndRaises) {
    auto* list = NewList(100, "eee");
    list->SetItemIndex(1);
    Events.clear();
    EXPECT_THROW(list->SetItemIndex(3), rtl::EListError);
    EXPECT_TRUE(Events.empty());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(list->Items()[i]->Active);
}

// ---- keyboard moves -----------------------------------------------------------------------------

struct TMoveCase {
    const char* Name;
    std::string Rows;
    int From;
    int Move;  // 0 up, 1 down, 2 page up, 3 page down
    int Expected;
    bool Events;
};

class OfficeListMoveTest : public OfficeListTest,
                           public ::testing::WithParamInterface<TMoveCase> {};

TEST_P(OfficeListMoveTest, Moves) {
    const TMoveCase& c = GetParam();
    auto* list = NewList(100, c.Rows);  // an item area of 96 pixels: a page of 3 rows
    if (c.From >= 0) list->SetItemIndex(c.From);
    Events.clear();
    switch (c.Move) {
        case 0:
            list->FindUp();
            break;
        case 1:
            list->FindDown();
            break;
        case 2:
            list->FindPageUp();
            break;
        default:
            list->FindPageDown();
            break;
    }
    EXPECT_EQ(list->ItemIndex(), c.Expected);
    EXPECT_EQ(!Events.empty(), c.Events);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OfficeListMoveTest,
    ::testing::Values(
        TMoveCase{"PageDownTakesTheEntryAfterAHeader", "eehe", 0, 3, 3, true},
        TMoveCase{"PageDownWithoutHeaderTakesTheLastOfThePage", "eeeeee", 0, 3, 4, true},
        TMoveCase{"PageUpWithoutHeaderTakesTheFirstOfThePage", "eeeeee", 5, 2, 1, true},
        TMoveCase{"PageUpJumpsOverAHeader", "eheeee", 4, 2, 0, true},
        TMoveCase{"PageUpFromTheTopDoesNothing", "eee", 0, 2, 0, false},
        TMoveCase{"DownFromNoneTakesTheFirstSelectable", "hdee", -1, 1, 2, true},
        TMoveCase{"DownOverOnlyHeadersAndDisabledDoesNothing", "ehd", 0, 1, 0, false},
        TMoveCase{"UpSkipsHeadersAndDisabled", "ehde", 3, 0, 0, true},
        TMoveCase{"UpFromNoneDoesNothing", "eee", -1, 0, -1, false},
        TMoveCase{"PageDownPastTheEndDoesNothing", "ee", 1, 3, 1, false}),
    [](const ::testing::TestParamInfo<TMoveCase>& info) { return info.param.Name; });

TEST_F(OfficeListTest, PageMovesWithRowsOfNoHeightUseAPageOfOne) {
    auto* list = NewList(100, "eeee");
    list->SetItemHeight(0);
    list->SetItemIndex(0);
    list->FindPageDown();
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(OfficeListTest, UpMovesFromAnIndexLeftBeyondTheItemsWithoutRaising) {
    auto* list = NewList(100, "eeee");
    list->SetItemIndex(3);
    list->Items().Delete(3);
    list->Items().Delete(2);
    EXPECT_EQ(list->ItemIndex(), 3);
    list->FindUp();
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetItemIndex(1);
    list->Items().Delete(1);
    list->FindPageUp();
    EXPECT_EQ(list->ItemIndex(), 0);
}

TEST_F(OfficeListTest, ScrollingToTheFirstEntryUnderAHeaderShowsTheHeader) {
    auto* list = NewList(100, "heeeeee");
    list->ScrollToItem(6);
    EXPECT_GT(list->ScrollOffset(), 0);
    list->ScrollToItem(1);
    EXPECT_EQ(list->ScrollOffset(), 0);
    list->ScrollToItem(6);
    list->ScrollToItem(2);
    EXPECT_EQ(list->ScrollOffset(), 20 + 30);  // the row's top at the item area's top
}

TEST_F(OfficeListTest, KeysMoveTheCurrentRow) {
    auto* list = NewList(100, "eheee");
    list->SetFocus();
    Run();
    struct TStep {
        int Key;
        int Expected;
    } steps[] = {{win::VK_DOWN, 0}, {win::VK_RIGHT, 2}, {win::VK_NEXT, 4},
                 {win::VK_UP, 3},   {win::VK_PRIOR, 0}, {win::VK_LEFT, 0}};
    for (const TStep& s : steps) {
        Press(s.Key);
        Run();
        EXPECT_EQ(list->ItemIndex(), s.Expected) << s.Key;
    }
}

// ---- mouse --------------------------------------------------------------------------------------

TEST_F(OfficeListTest, PressTracksWithoutEventsAndReleaseChooses) {
    auto* list = NewList(200, "ehee");
    Down(list, 20, 10);  // row 0
    EXPECT_EQ(list->ItemIndex(), 0);
    MoveTo(list, 20, 40);  // the header: ignored
    EXPECT_EQ(list->ItemIndex(), 0);
    MoveTo(list, 20, 60);  // row 2
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_TRUE(Events.empty());
    Up(list, 20, 60);
    EXPECT_EQ(Events, (std::vector<std::string>{"row2", "item"}));
    EXPECT_TRUE(list->Focused());
}

// ---- scroll bar and wheel -----------------------------------------------------------------------

TEST_F(OfficeListTest, ScrollBarComesWithTheFifthRowAndGoesWithIt) {
    auto* list = NewList(150, "eeee");
    EXPECT_EQ(list->ScrollBar, nullptr);
    Fill(list, "e");
    ASSERT_NE(list->ScrollBar, nullptr);
    EXPECT_EQ(list->ScrollBar->Kind(), sbVertical);
    EXPECT_EQ(list->ScrollBar->Width(), 19);
    EXPECT_EQ(list->ScrollBar->Left(), 150 - 2 - 19);
    EXPECT_EQ(list->ScrollBar->Max(), 150);
    EXPECT_EQ(list->ScrollBar->PageSize(), 146);
    EXPECT_EQ(list->ItemsRect().Right, 150 - 2 - 19);
    list->Items().Delete(4);
    EXPECT_EQ(list->ScrollBar, nullptr);
    EXPECT_EQ(list->ItemsRect().Right, 148);
}

TEST_F(OfficeListTest, WheelScrollsARowAndNeverChangesTheIndex) {
    auto* list = NewList(150, "eeeeeeeeee");
    list->SetItemIndex(0);
    list->SetFocus();
    Run();
    Events.clear();
    Screen->Wheel(At(list, 30, 30), -120);
    Run();
    EXPECT_EQ(list->ScrollOffset(), 30);
    Screen->Wheel(At(list, 30, 30), 120);
    Run();
    EXPECT_EQ(list->ScrollOffset(), 0);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_TRUE(Events.empty());
}

TEST_F(OfficeListTest, GrowingAListScrolledToItsEndKeepsTheLastRowAtTheBottom) {
    auto* list = NewList(150, "eeeeeeeeee");
    ASSERT_NE(list->ScrollBar, nullptr);
    list->ScrollBar->SetPosition(list->ScrollBar->Max());
    EXPECT_EQ(list->ScrollOffset(), 300 - 146 + 1);
    list->SetBounds(10, 10, 150, 210);
    Run();
    EXPECT_EQ(list->Items()[9]->ItemRect.Bottom, list->ItemsRect().Bottom);
    auto* top = Make<TListProbe>(200, 10, 150, 150, "Top");
    Fill(top, "eeeeeeeeee");
    top->SetBounds(200, 10, 150, 210);
    EXPECT_EQ(top->ScrollOffset(), 0);
}

// ---- pixels -------------------------------------------------------------------------------------

TEST_F(OfficeListTest, DefaultLookPixels) {
    auto* list = NewList(150, "ehde");
    list->SetItemIndex(0);
    Run();
    EXPECT_EQ(PixelOf(list, 0, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(list, 149, 149), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(list, 2, 2), gfx::ColorToRGB(gfx::clHighlight));   // row 0, active
    EXPECT_EQ(PixelOf(list, 2, 33), gfx::ColorToRGB(gfx::clBtnShadow));  // the header
    EXPECT_EQ(PixelOf(list, 2, 53), gfx::ColorToRGB(gfx::clWindow));     // disabled row
    const gfx::TImage shot = Capture(list);
    EXPECT_GT(test::CountColour(shot, {2, 52, 148, 82}, gfx::RGB(128, 128, 128)), 0);
    EXPECT_EQ(PixelOf(list, 2, 140), gfx::ColorToRGB(gfx::clWindow));  // below the rows
}

TEST_F(OfficeListTest, SkinnedLookHighlightsWithTheRecordAndHeadersWithMenuHeader) {
    Load(test::ListsFixtureSkin());
    auto* list = NewList(150, "ehe");
    list->SetItemIndex(0);
    Run();
    ASSERT_NE(list->FIndex, -1);
    EXPECT_EQ(PixelOf(list, 1, 1), test::lists::kListBack);
    EXPECT_EQ(PixelOf(list, 4, 4), test::lists::kListActive);  // not focused
    EXPECT_EQ(PixelOf(list, 4, 36), test::lists::kHeaderBack);
    EXPECT_EQ(PixelOf(list, 4, 60), test::lists::kListBack);  // ordinary row: background
    EXPECT_EQ(list->DisabledFontColor(), test::lists::kEditDisabledText);
    list->SetFocus();
    Run();
    EXPECT_EQ(PixelOf(list, 4, 4), test::lists::kListFocus);
}

TEST_F(OfficeListTest, OwnRecordWithoutListboxDrawsBackgroundAndHeadersOnly) {
    Load(test::ListsFixtureSkin({"listbox"}));
    auto* list = NewList(150, "ehe");
    list->SetSkinDataName("resizetoolpanel");
    list->ChangeSkinData();
    list->SetItemIndex(0);
    Run();
    ASSERT_NE(list->FIndex, -1);
    EXPECT_EQ(PixelOf(list, 4, 4), test::lists::kPanelBack);  // the active row: not drawn
    EXPECT_EQ(PixelOf(list, 4, 36), test::lists::kHeaderBack);
    const gfx::TImage shot = Capture(list);
    const int rowPixels = 140 * 26;
    EXPECT_EQ(test::CountColour(shot, {5, 55, 145, 81}, test::lists::kPanelBack), rowPixels);
    EXPECT_EQ(list->DisabledFontColor(), test::lists::kEditDisabledText);
}

TEST_F(OfficeListTest, LabelStandsInForAMissingMenuHeader) {
    Load(test::ListsFixtureSkin({"menuheader"}));
    auto* list = NewList(150, "he");
    Run();
    EXPECT_EQ(PixelOf(list, 4, 6), test::lists::kLabelBack);
}

TEST_F(OfficeListTest, OwnerDrawingGetsTheRectangleOfEachLook) {
    std::vector<std::string> seen;
    auto* list = NewList(150, "eee");
    list->OnDrawItem = [&](gfx::TCanvas&, int index, const TRect& r) {
        seen.push_back(std::to_string(index) + ":" + std::to_string(r.Left) + "," +
                       std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
                       std::to_string(r.Bottom));
    };
    list->SetItemIndex(1);
    seen.clear();
    list->Repaint();
    EXPECT_EQ(seen, (std::vector<std::string>{"0:2,2,148,32", "1:2,32,148,62", "2:2,62,148,92"}))
        << "default look: the full row";
    Load(test::ListsFixtureSkin());
    seen.clear();
    list->Repaint();
    // Skinned: the row inset by 2; the highlighted row on its own bitmap from (2, 2).
    EXPECT_EQ(seen, (std::vector<std::string>{"0:5,5,145,31", "1:2,2,142,28", "2:5,65,145,91"}));
}

}  // namespace
}  // namespace skin
