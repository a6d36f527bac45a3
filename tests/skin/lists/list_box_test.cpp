// The skinned list box: the layout of the inner list and the bars as the content grows and
// shrinks, the extent bar's range and keys, the heights for a row count, the inner list's events
// and hooks, the wheel, the caption buttons on the virtual clock, the row painters' pixels and
// skin switches.
#include "skin/lists/list_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists_test_support.h"
#include "platform/win/scroll_info.h"
#include "platform/win/win.h"
#include "skin/controls/scroll_box.h"

namespace skin {
namespace {

using gfx::TColor;

TRect Bounds(const vcl::TControl* c) {
    return {c->Left(), c->Top(), c->Width(), c->Height()};  // left, top, width, height
}

class ListBoxTest : public test::TControlsTest {
protected:
    TbsSkinListBox* NewBox(int items = 0, int width = 120, int height = 120) {
        auto* box = Make<TbsSkinListBox>(10, 10, width, height, "Box");
        for (int i = 0; i < items; ++i) box->Items().Add("item " + std::to_string(i));
        box->OnListBoxClick = [this](vcl::TObject* s) {
            Events.push_back(s == Box ? "listclick" : "listclick?");
        };
        // The frame's own OnClick answers presses on the caption, not the items.
        box->OnClick = [this](vcl::TObject*) { FrameClicks++; };
        Box = box;
        Run();
        return box;
    }
    // Width of a text in the given font.
    static int TextWidthIn(const gfx::TFont& font, const std::string& text) {
        gfx::TBitmap b;
        b.SetSize(4, 4);
        b.Canvas().Font().Assign(font);
        return b.Canvas().TextWidth(text);
    }
    // The leftmost column of row y in [x0, x1) whose pixel is not `back`, -1 when none.
    static int FirstInk(const gfx::TImage& img, int y, int x0, int x1, TColor back) {
        const TColor c = gfx::ColorToRGB(back);
        const std::uint32_t argb =
            0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        for (int x = x0; x < x1; ++x)
            if (img.Pixels[std::size_t(y) * std::size_t(img.Width) + std::size_t(x)] != argb)
                return x;
        return -1;
    }
    TbsSkinListBox* Box = nullptr;
    std::vector<std::string> Events;
    int FrameClicks = 0;
};

// ---- layout ----------------------------------------------------------------------------------

TEST_F(ListBoxTest, MainBarComesWithTheSixthItemAndGoesAgain) {
    auto* box = NewBox();
    EXPECT_EQ(box->Width(), 120);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->ListBox->ItemHeight(), 20);
    EXPECT_EQ(box->ScrollBar, nullptr);
    EXPECT_EQ(box->HScrollBar, nullptr);
    EXPECT_EQ(Bounds(box->ListBox), TRect(2, 2, 116, 116));
    for (int i = 0; i < 5; ++i) box->Items().Add("item " + std::to_string(i));
    Run();
    EXPECT_EQ(box->ScrollBar, nullptr);
    box->Items().Add("item 5");
    Run();
    ASSERT_NE(box->ScrollBar, nullptr);
    EXPECT_EQ(box->ScrollBar->Kind(), sbVertical);
    EXPECT_EQ(Bounds(box->ScrollBar), TRect(100, 1, 19, 118));
    EXPECT_EQ(box->ScrollBar->Min(), 0);
    EXPECT_EQ(box->ScrollBar->Max(), 5);
    EXPECT_EQ(box->ScrollBar->PageSize(), 5);
    EXPECT_EQ(box->ScrollBar->LargeChange(), 5);
    EXPECT_EQ(box->ScrollBar->SkinDataName(), "");
    EXPECT_EQ(Bounds(box->ListBox), TRect(2, 2, 98, 116));
    box->Items().Delete(5);
    Run();
    EXPECT_EQ(box->ScrollBar, nullptr);
    EXPECT_EQ(Bounds(box->ListBox), TRect(2, 2, 116, 116));
}

TEST_F(ListBoxTest, MainBarScrollsTheListAndFollowsIt) {
    auto* box = NewBox(20);
    ASSERT_NE(box->ScrollBar, nullptr);
    box->ScrollBar->SetPosition(7);
    Run();
    EXPECT_EQ(box->TopIndex(), 7);
    box->SetTopIndex(2);
    Run();
    EXPECT_EQ(box->ScrollBar->Position(), 2);
    // Writing Sorted drops the bar; the next update brings it back.
    box->SetSorted(true);
    EXPECT_EQ(box->ScrollBar, nullptr);
    box->UpDateScrollBar();
    EXPECT_NE(box->ScrollBar, nullptr);
}

TEST_F(ListBoxTest, MultiColumnListHasAHorizontalMainBarAndNoExtentBar) {
    auto* box = NewBox();
    box->SetHorizontalExtent(true);
    box->SetColumns(2);
    for (int i = 0; i < 30; ++i) box->Items().Add(std::string(40, 'W'));
    Run();
    ASSERT_NE(box->ScrollBar, nullptr);
    EXPECT_EQ(box->ScrollBar->Kind(), sbHorizontal);
    EXPECT_EQ(box->ScrollBar->PageSize(), 2);
    EXPECT_EQ(Bounds(box->ScrollBar), TRect(1, 100, 118, 19));
    EXPECT_EQ(box->HScrollBar, nullptr);
    box->ScrollBar->SetPosition(1);
    Run();
    EXPECT_EQ(box->TopIndex(), box->ListBox->RowsPerPage());
}

TEST_F(ListBoxTest, ExtentBarLayoutRangeAndRemoval) {
    auto* box = NewBox(5);
    box->SetHorizontalExtent(true);
    Run();
    EXPECT_EQ(box->HScrollBar, nullptr);
    const std::string wide(40, 'W');
    box->Items().Add(wide);
    Run();
    ASSERT_NE(box->HScrollBar, nullptr);
    ASSERT_NE(box->ScrollBar, nullptr);
    EXPECT_EQ(Bounds(box->HScrollBar), TRect(1, 100, 118, 19));
    EXPECT_TRUE(box->HScrollBar->Both());
    EXPECT_EQ(box->HScrollBar->BothMarkerWidth(), 19);
    EXPECT_EQ(box->HScrollBar->SkinDataName(), "");
    EXPECT_EQ(Bounds(box->ScrollBar), TRect(100, 1, 19, 100));
    EXPECT_EQ(Bounds(box->ListBox), TRect(2, 2, 98, 98));
    EXPECT_EQ(box->HScrollBar->Min(), 0);
    EXPECT_EQ(box->HScrollBar->Max(), TextWidthIn(box->ListBoxFont(), wide));
    EXPECT_EQ(box->HScrollBar->PageSize(), box->ListBox->Width() - 4);
    const int zero = TextWidthIn(box->ListBoxFont(), "0");
    EXPECT_EQ(box->HScrollBar->SmallChange(), zero);
    EXPECT_EQ(box->HScrollBar->LargeChange(), zero);

    // Left and Right scroll the items and never reach the list.
    box->SetItemIndex(2);
    box->ListBox->SetFocus();
    Run();
    Press(win::VK_RIGHT);
    Press(win::VK_RIGHT);
    Run();
    EXPECT_EQ(box->ListBox->HorizontalExtentValue(), 2 * zero);
    Press(win::VK_LEFT);
    Run();
    EXPECT_EQ(box->ListBox->HorizontalExtentValue(), zero);
    EXPECT_EQ(box->ItemIndex(), 2);

    box->Items().Delete(5);
    Run();
    EXPECT_EQ(box->HScrollBar, nullptr);
    EXPECT_EQ(box->ScrollBar, nullptr);
    EXPECT_EQ(box->ListBox->HorizontalExtentValue(), 0);
    EXPECT_EQ(Bounds(box->ListBox), TRect(2, 2, 116, 116));
}

TEST_F(ListBoxTest, ExtentBarAloneEndsTheListAtItsTop) {
    auto* box = NewBox(2);
    box->SetHorizontalExtent(true);
    box->Items().Add(std::string(40, 'W'));
    Run();
    ASSERT_NE(box->HScrollBar, nullptr);
    EXPECT_EQ(box->ScrollBar, nullptr);
    EXPECT_FALSE(box->HScrollBar->Both());
    EXPECT_EQ(box->ListBox->Top() + box->ListBox->Height(), box->Height() - 20);
    box->ListBox->SetFocus();
    Run();
    // Without the main bar the wheel moves the items sideways.
    Screen->Wheel(At(box->ListBox, 10, 10), -120);
    Run();
    EXPECT_EQ(box->ListBox->HorizontalExtentValue(), box->HScrollBar->SmallChange());
}

TEST_F(ListBoxTest, WideningTheListEatsTheHorizontalOffset) {
    auto* box = NewBox(1);
    TbsListBox* list = box->ListBox;
    const TRect b = Bounds(list);
    for (const auto& [grow, expected] : {std::pair{10, 20}, std::pair{50, 0}}) {
        list->SetBounds(b.Left, b.Top, b.Right, b.Bottom);
        list->SetHorizontalExtentValue(30);
        list->SetBounds(b.Left, b.Top, b.Right + grow, b.Bottom);
        EXPECT_EQ(list->HorizontalExtentValue(), expected) << grow;
    }
}

TEST_F(ListBoxTest, HeightsForARowCount) {
    auto* box = NewBox();
    box->SetRowCount(5);
    EXPECT_EQ(box->Height(), 104);
    box->SetCaptionMode(true);
    box->SetRowCount(5);
    EXPECT_EQ(box->Height(), 124);
    box->SetCaptionMode(false);
    box->SetHorizontalExtent(true);
    box->Items().Add(std::string(40, 'W'));
    Run();
    ASSERT_NE(box->HScrollBar, nullptr);
    EXPECT_EQ(box->CalcHeight(5), 104 + box->HScrollBar->Height());
    EXPECT_EQ(box->HScrollBar->Height(), 19);
}

TEST_F(ListBoxTest, RowCountEqualToTheItemsShowsNoMainBar) {
    auto* box = NewBox(6);
    ASSERT_NE(box->ScrollBar, nullptr);
    box->SetRowCount(6);
    box->SetHeight(60);
    Run();
    EXPECT_EQ(box->ScrollBar, nullptr);
}

// ---- events and hooks ------------------------------------------------------------------------

TEST_F(ListBoxTest, ClicksRaiseListEventsAndCodeWritesNone) {
    auto* box = NewBox(4);
    box->SetItemIndex(2);
    box->SetItemIndex(-1);
    Run();
    EXPECT_TRUE(Events.empty());
    Click(box->ListBox, 10, 25);
    Run();
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(Events, std::vector<std::string>{"listclick"});
    EXPECT_EQ(FrameClicks, 0);
}

TEST_F(ListBoxTest, KeyHookCanStopTheInnerList) {
    auto* box = NewBox(4);
    box->SetItemIndex(1);
    std::vector<int> keys;
    box->OnListBoxKeyDown = [&](vcl::TObject* s, int& Key, vcl::TShiftState) {
        EXPECT_EQ(s, box);
        keys.push_back(Key);
        if (Key == win::VK_DOWN) Key = 0;
    };
    box->ListBox->SetFocus();
    Run();
    Press(win::VK_DOWN);
    Run();
    EXPECT_EQ(box->ItemIndex(), 1);
    Press(win::VK_UP);
    Run();
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(keys, (std::vector<int>{win::VK_DOWN, win::VK_UP}));
}

class TSwallowingBox : public TbsSkinListBox {
public:
    using TbsSkinListBox::TbsSkinListBox;
    void ListBoxWProc(vcl::TMessage& Message, bool& Pass) override {
        Pass = Message.Msg != vcl::LB_SETCURSEL;
    }
};

TEST_F(ListBoxTest, WindowProcedureHookSwallowsMessages) {
    auto* box = Make<TSwallowingBox>(10, 10, 120, 120);
    box->Items().Add("a");
    box->Items().Add("b");
    box->SetItemIndex(1);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->ListBox->Perform(vcl::LB_FINDSTRING, win::WPARAM(-1), win::PtrToParam("b")), 1);
}

TEST_F(ListBoxTest, WheelScrollsThreeRowsAndOneMore) {
    auto* box = NewBox(20);
    ASSERT_NE(box->ScrollBar, nullptr);
    box->ListBox->SetFocus();
    Run();
    Screen->Wheel(At(box->ListBox, 10, 10), -120);
    Run();
    EXPECT_EQ(box->TopIndex(), 4);
    EXPECT_EQ(box->ScrollBar->Position(), 4);
    Screen->Wheel(At(box->ListBox, 10, 10), 120);
    Run();
    EXPECT_EQ(box->TopIndex(), 0);
    EXPECT_EQ(box->ScrollBar->Position(), 0);
}

// ---- caption bar -----------------------------------------------------------------------------

TEST_F(ListBoxTest, CaptionButtonRectangles) {
    auto* box = NewBox(3);
    box->SetCaptionMode(true);
    box->Repaint();
    Run();
    EXPECT_EQ(box->Buttons[0].R, gfx::Rect(101, 2, 118, 18));
    EXPECT_EQ(box->Buttons[1].R, gfx::Rect(84, 2, 101, 18));
    EXPECT_EQ(box->Buttons[2].R, gfx::Rect(67, 2, 84, 18));
    EXPECT_EQ(Bounds(box->ListBox), TRect(2, 21, 116, 97));
    box->SetDefaultCaptionHeight(12);
    box->Repaint();
    Run();
    for (const TbsCBButtonX& b : box->Buttons) EXPECT_EQ(b.R.Width(), 9);
    EXPECT_EQ(box->ListBox->Top(), 13);
}

class CaptionButtonTest : public ListBoxTest {
protected:
    TbsSkinListBox* NewCaptionBox(int items = 10) {
        auto* box = NewBox(items);
        box->SetCaptionMode(true);
        box->Repaint();
        Run();
        return box;
    }
    TPoint Centre(TbsSkinListBox* box, int i) {
        const TRect& r = box->Buttons[i].R;
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void Press(TbsSkinListBox* box, int i) {
        MoveTo(box, Centre(box, i).X, Centre(box, i).Y);
        Down(box, Centre(box, i).X, Centre(box, i).Y);
    }
    void Release(TbsSkinListBox* box, int i) { Up(box, Centre(box, i).X, Centre(box, i).Y); }
};

TEST_F(CaptionButtonTest, HoldingDownRepeatsAndAClickStepsOnce) {
    auto* box = NewCaptionBox();
    box->SetItemIndex(0);
    Press(box, 1);
    Wait(750);
    Release(box, 1);
    EXPECT_EQ(box->ItemIndex(), 3);
    Press(box, 1);
    Release(box, 1);
    EXPECT_EQ(box->ItemIndex(), 4);
    Press(box, 0);
    Release(box, 0);
    EXPECT_EQ(box->ItemIndex(), 3);
    Wait(1000);
    EXPECT_EQ(box->ItemIndex(), 3);
    EXPECT_TRUE(Events.empty());
}

TEST_F(CaptionButtonTest, EndsOfTheListStayPut) {
    auto* box = NewCaptionBox(3);
    box->SetItemIndex(0);
    Press(box, 0);
    Release(box, 0);
    EXPECT_EQ(box->ItemIndex(), 0);
    box->SetItemIndex(2);
    Press(box, 1);
    Release(box, 1);
    EXPECT_EQ(box->ItemIndex(), 2);
}

TEST_F(CaptionButtonTest, AnAssignedEventReplacesRepeatAndDefaultAction) {
    auto* box = NewCaptionBox();
    box->SetItemIndex(5);
    int ups = 0;
    box->OnUpButtonClick = [&](vcl::TObject* s) {
        EXPECT_EQ(s, box);
        ++ups;
    };
    Press(box, 0);
    Wait(750);
    EXPECT_EQ(box->ItemIndex(), 5);
    Release(box, 0);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(box->ItemIndex(), 5);
}

TEST_F(CaptionButtonTest, ReleaseAwayRunsTheDefaultActionOnceAndNeverTheEvent) {
    auto* box = NewCaptionBox();
    box->SetItemIndex(5);
    int downs = 0;
    box->OnDownButtonClick = [&](vcl::TObject*) { ++downs; };
    Press(box, 1);
    MoveTo(box, 10, 60);
    Up(box, 10, 60);
    EXPECT_EQ(downs, 0);
    EXPECT_EQ(box->ItemIndex(), 6);
    // Without an event: the repeat pauses while away, and the release still steps once.
    box->OnDownButtonClick = nullptr;
    Press(box, 1);
    MoveTo(box, 10, 60);
    Wait(1000);
    EXPECT_EQ(box->ItemIndex(), 6);
    Up(box, 10, 60);
    EXPECT_EQ(box->ItemIndex(), 7);
}

TEST_F(CaptionButtonTest, CheckWithoutEventClicksTheListAndLeavingClearsHot) {
    auto* box = NewCaptionBox();
    box->SetItemIndex(1);
    Press(box, 2);
    Release(box, 2);
    EXPECT_EQ(Events, std::vector<std::string>{"listclick"});
    for (int i = 0; i < 3; ++i) {
        MoveTo(box, Centre(box, i).X, Centre(box, i).Y);
        EXPECT_TRUE(box->Buttons[i].MouseIn) << i;
        MoveAway();
        for (const TbsCBButtonX& b : box->Buttons) EXPECT_FALSE(b.MouseIn) << i;
    }
}

// ---- painting --------------------------------------------------------------------------------

TEST_F(ListBoxTest, DefaultPainterSelectionFocusAndEmptyArea) {
    auto* box = NewBox(3);
    box->SetItemIndex(1);
    box->ListBox->SetFocus();
    Run();
    const gfx::TImage img = Capture(box->ListBox);
    EXPECT_EQ(test::CountColour(img, {60, 22, 100, 38}, gfx::clHighlight), 40 * 16);
    EXPECT_EQ(test::CountColour(img, {0, 0, 116, 20}, gfx::clHighlight), 0);
    // The focus frame runs along the selected row's edge.
    EXPECT_LT(test::CountColour(img, {0, 20, 116, 21}, gfx::clHighlight), 100);
    EXPECT_EQ(test::CountColour(img, {0, 60, 116, 116}, gfx::clWindow), 116 * 56);
}

TEST_F(ListBoxTest, ImageIndexBeyondTheImagesDrawsNoImageButKeepsItsRoom) {
    auto* box = NewBox(1);
    vcl::TCustomImageList* images = test::SquareImages(Form, 2);
    box->SetDefaultItemHeight(36);
    box->SetImages(images);
    box->SetImageIndex(1);
    Run();
    gfx::TImage img = Capture(box->ListBox);
    EXPECT_EQ(test::CountColour(img, {2, 2, 34, 34}, test::SquareColour(1)), 32 * 32);
    const int withImage = FirstInk(img, 18, 34, 100, gfx::clWindow);
    box->SetImageIndex(5);
    Run();
    img = Capture(box->ListBox);
    EXPECT_EQ(test::CountColour(img, {2, 2, 34, 34}, test::SquareColour(1)), 0);
    EXPECT_EQ(FirstInk(img, 18, 0, 100, gfx::clWindow), withImage);
    EXPECT_GE(withImage, 2 + 32 + 2 + 2);
    EXPECT_LE(withImage, 2 + 32 + 2 + 2 + 2);
    // Removing the image list clears Images.
    images->Free();
    EXPECT_EQ(box->Images(), nullptr);
}

TEST_F(ListBoxTest, TabWidthsAreDigitLinesAndAtMostTen) {
    auto* box = NewBox();
    box->Items().Add("\tI");
    Run();
    const auto inkAt = [&](const std::vector<std::string>& lines) {
        rtl::TStringList tabs;
        for (const std::string& l : lines) tabs.Add(l);
        box->SetTabWidths(tabs);
        Run();
        return FirstInk(Capture(box->ListBox), 10, 0, 116, gfx::clWindow);
    };
    const int at40 = inkAt({"40"});
    EXPECT_GE(at40, 40);
    EXPECT_LE(at40, 42);
    // "12a" and the empty line count as stops at 0, passed at once; "0080" is 80.
    EXPECT_EQ(inkAt({"12a", "40"}), at40);
    EXPECT_EQ(inkAt({"", "0080"}) - 80, at40 - 40);
    box->Items().Put(0, "\tI\tI");
    const int two = inkAt({"40", "12a", "", "0080"});
    EXPECT_EQ(two, at40);
    const gfx::TImage img = Capture(box->ListBox);
    EXPECT_GE(FirstInk(img, 10, at40 + 4, 116, gfx::clWindow), 80);
    // An eleventh line is ignored.
    std::vector<std::string> eleven(10, "0");
    eleven.push_back("60");
    box->Items().Put(0, "\tI");
    EXPECT_NE(inkAt(eleven), inkAt({"60"}));
}

class SkinnedListBoxTest : public ListBoxTest {
protected:
    TbsSkinListBox* NewSkinnedBox(int items, bool skinItemHeight) {
        Load(test::ListsFixtureSkin());
        auto* box = Make<TbsSkinListBox>(10, 10, 120, 120, "Box");
        box->SetSkinDataName("itemlistbox");
        box->SetUseSkinItemHeight(skinItemHeight);
        box->SetDefaultItemHeight(30);
        for (int i = 0; i < items; ++i) box->Items().Add("");
        box->ChangeSkinData();
        Run();
        return box;
    }
};

TEST_F(SkinnedListBoxTest, StripAndStretchedPaintersCutTheirSources) {
    using namespace test::lists;
    for (const bool strip : {true, false}) {
        auto* box = NewSkinnedBox(3, strip);
        const int h = strip ? 20 : 30;
        EXPECT_EQ(box->ListBox->ItemHeight(), h);
        EXPECT_EQ(Bounds(box->ListBox), TRect(4, 24, 112, 92));
        const gfx::TImage img = Capture(box->ListBox);
        // Row 1 starts with the two-pixel band of the item picture's top.
        EXPECT_EQ(test::CountColour(img, {10, h, 100, h + 2}, kLbItemTop), 90 * 2) << strip;
        EXPECT_EQ(test::CountColour(img, {0, h + 5, 4, h + 10}, kLbItemEdge), 4 * 5) << strip;
        // The stretched painter keeps the centre at its record height, stretched to 30.
        EXPECT_EQ(test::CountColour(img, {10, 22, 100, 28}, strip ? kLbItemTop : kLbItem),
                  strip ? 0 : 90 * 6);
        // The empty area below the last row shows the client tile.
        EXPECT_EQ(test::CountColour(img, {0, 3 * h, 112, 92}, kLbTile), 112 * (92 - 3 * h));
        box->Free();
    }
}

TEST_F(SkinnedListBoxTest, SelectedAndFocusedRowsTakeTheirPictures) {
    using namespace test::lists;
    auto* box = NewSkinnedBox(3, true);
    box->SetItemIndex(1);
    Run();
    EXPECT_GT(test::CountColour(Capture(box->ListBox), {0, 20, 112, 40}, kLbActive), 90 * 10);
    box->ListBox->SetFocus();
    Run();
    EXPECT_GT(test::CountColour(Capture(box->ListBox), {0, 20, 112, 40}, kLbFocus), 90 * 10);
}

TEST_F(SkinnedListBoxTest, FocusedUnselectedRowDotsOnlyInTheStripPainter) {
    for (const bool strip : {true, false}) {
        auto* box = NewSkinnedBox(1, strip);
        ASSERT_FALSE(box->ShowFocus);
        gfx::TBitmap b;
        b.SetSize(112, 30);
        b.Canvas().Brush().SetColor(gfx::clWhite);
        b.Canvas().FillRect({0, 0, 112, 30});
        box->ListBox->PaintItem(b.Canvas(), 0, {0, 0, 112, strip ? 20 : 30},
                                vcl::TOwnerDrawState{vcl::odFocused});
        int dots = 0;
        for (int x = 0; x < 112; ++x)
            if (gfx::ColorToRGB(b.Canvas().Pixel(x, 0)) == gfx::ColorToRGB(gfx::clWindowText))
                ++dots;
        if (strip)
            EXPECT_GE(dots, 50);
        else
            EXPECT_EQ(dots, 0);
        box->Free();
    }
}

TEST_F(SkinnedListBoxTest, SkinSwitchesTakeItemHeightBarNamesAndFont) {
    auto* box = NewBox(20);
    box->SetSkinDataName("itemlistbox");
    box->SetDefaultItemHeight(16);
    box->SetHorizontalExtent(true);
    box->Items().Add(std::string(40, 'W'));
    Run();
    EXPECT_EQ(box->ListBox->ItemHeight(), 16);
    ASSERT_NE(box->HScrollBar, nullptr);
    ASSERT_NE(box->ScrollBar, nullptr);
    const int defaultStep = box->HScrollBar->SmallChange();

    Load(test::ListsFixtureSkin());
    Run();
    EXPECT_NE(box->FIndex, -1);
    EXPECT_EQ(box->ListBox->ItemHeight(), 20);
    ASSERT_NE(box->ScrollBar, nullptr);
    ASSERT_NE(box->HScrollBar, nullptr);
    EXPECT_EQ(box->ScrollBar->SkinDataName(), "lbv");
    EXPECT_EQ(box->HScrollBar->SkinDataName(), "lbboth");
    EXPECT_TRUE(box->HScrollBar->Both());
    gfx::TFont itemFont;
    itemFont.SetName("Arial");
    itemFont.SetHeight(20);
    EXPECT_EQ(box->HScrollBar->SmallChange(), TextWidthIn(itemFont, "0"));
    EXPECT_NE(box->HScrollBar->SmallChange(), defaultStep);
    // Skinned layout: the bars inside the record's client rectangle grown to the size.
    EXPECT_EQ(box->NewClRect, gfx::Rect(4, 24, 116, 116));
    EXPECT_EQ(box->ScrollBar->Left() + box->ScrollBar->Width(), 116);
    EXPECT_EQ(box->HScrollBar->Top() + box->HScrollBar->Height(), 116);

    // The extent bar alone takes the plain horizontal name.
    for (int i = 19; i >= 1; --i) box->Items().Delete(i);
    Run();
    EXPECT_EQ(box->ScrollBar, nullptr);
    ASSERT_NE(box->HScrollBar, nullptr);
    Load(test::ListsFixtureSkin());
    Run();
    ASSERT_NE(box->HScrollBar, nullptr);
    EXPECT_EQ(box->HScrollBar->SkinDataName(), "lbh");
    EXPECT_FALSE(box->HScrollBar->Both());

    Load(test::ListsFixtureSkin({"itemlistbox"}));
    Run();
    EXPECT_EQ(box->FIndex, -1);
    EXPECT_EQ(box->ListBox->ItemHeight(), 16);
    ASSERT_NE(box->HScrollBar, nullptr);
    EXPECT_EQ(box->HScrollBar->SkinDataName(), "");
    EXPECT_EQ(box->HScrollBar->SmallChange(), defaultStep);
}

TEST_F(SkinnedListBoxTest, DefaultItemHeightAppliesOnlyWithoutTheSkinItemHeight) {
    auto* box = NewSkinnedBox(3, true);
    EXPECT_EQ(box->ListBox->ItemHeight(), 20);
    box->SetDefaultItemHeight(24);
    EXPECT_EQ(box->ListBox->ItemHeight(), 20);
    box->SetUseSkinItemHeight(false);
    box->SetDefaultItemHeight(26);
    EXPECT_EQ(box->ListBox->ItemHeight(), 26);
    box->ChangeSkinData();
    EXPECT_EQ(box->ListBox->ItemHeight(), 26);
    // A skinned height for a row count: the frame around the rows.
    EXPECT_EQ(box->CalcHeight(3), 60 + 3 * 26 - 32);
}

TEST_F(SkinnedListBoxTest, CaptionButtonsFollowTheSizeAndHideWithTheirSwitch) {
    auto* box = NewSkinnedBox(5, true);
    box->SetCaptionMode(true);
    box->Repaint();
    Run();
    // The record's buttons lie right of its top-right corner point and move with the width.
    EXPECT_EQ(box->Buttons[0].R, gfx::Rect(48 + 60, 4, 56 + 60, 20));
    EXPECT_EQ(box->Buttons[2].R, gfx::Rect(30 + 60, 4, 38 + 60, 20));
    box->SetItemIndex(1);
    const TRect up = box->Buttons[0].R;
    Down(box, up.Left + 2, up.Top + 2);
    Up(box, up.Left + 2, up.Top + 2);
    EXPECT_EQ(box->ItemIndex(), 0);
    box->SetShowCaptionButtons(false);
    Run();
    for (const TbsCBButtonX& b : box->Buttons) EXPECT_TRUE(b.R.IsEmpty());
    box->SetItemIndex(1);
    Down(box, up.Left + 2, up.Top + 2);
    Up(box, up.Left + 2, up.Top + 2);
    EXPECT_EQ(box->ItemIndex(), 1);
}

TEST_F(ListBoxTest, EmptyListAnswersTheBackgroundRequest) {
    auto* box = NewBox();
    EXPECT_EQ(box->ListBox->Perform(CM_PAINTLISTBACKGROUND, 0, kPaintListBackgroundKey),
              kPaintListBackgroundKey);
    EXPECT_NE(box->ListBox->Perform(CM_PAINTLISTBACKGROUND, 0, 1), kPaintListBackgroundKey);
    box->Items().Add("a");
    EXPECT_NE(box->ListBox->Perform(CM_PAINTLISTBACKGROUND, 0, kPaintListBackgroundKey),
              kPaintListBackgroundKey);
    EXPECT_EQ(box->ListBox->Perform(skin::CM_PAINTSKINFRAME), 12851);
}

}  // namespace
}  // namespace skin
