// The office combo box: the event contract of ItemIndex writes, the popup's placement, the
// press-drag-release and click-click gestures with the focus staying on the combo, the keys,
// the wheel and the cancel paths, the fade on the program's clock, and the faces' pixels.
#include "skin/lists/office_combo_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lists_test_support.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/win.h"

namespace skin {
namespace {

using gfx::TColor;

class OfficeComboTest : public test::TControlsTest {
protected:
    // A combo at the form's client point (x, y) with `count` entries of 30-pixel popup rows,
    // recording every event.
    TbsSkinOfficeComboBox* NewCombo(int count = 3, int x = 20, int y = 20,
                                    const std::string& name = "Combo") {
        auto* combo = Make<TbsSkinOfficeComboBox>(x, y, 120, 41, name);
        Record(combo, count);
        Run();
        return combo;
    }
    void Record(TbsSkinOfficeComboBox* combo, int count) {
        for (int i = 0; i < count; ++i) {
            TbsSkinOfficeItem* item = combo->Items().Add();
            item->SetCaption("item " + std::to_string(i));
            item->OnClick = [this, i](vcl::TObject*) {
                Events.push_back("row" + std::to_string(i));
            };
        }
        combo->ListBox()->OnItemClick = [this](vcl::TObject*) { Events.push_back("item"); };
        combo->OnClick = [this](vcl::TObject*) { Events.push_back("click"); };
        combo->OnChange = [this](vcl::TObject*) { Events.push_back("change"); };
        combo->OnCloseUp = [this](vcl::TObject*) { Events.push_back("closeup"); };
        combo->OnDropDown = [this](vcl::TObject*) { Events.push_back("dropdown"); };
    }
    // The combo keeps the focus, its form stays active and keys reach it.
    void ExpectKeyboardStaysWith(TbsSkinOfficeComboBox* combo) {
        EXPECT_TRUE(combo->Focused());
        EXPECT_EQ(win::GetActiveWindow(), Form->Handle());
        int keys = 0;
        combo->OnKeyDown = [&keys](vcl::TObject*, int&, vcl::TShiftState) { ++keys; };
        Press(win::VK_SHIFT);
        Run();
        EXPECT_EQ(keys, 1);
        combo->OnKeyDown = nullptr;
    }
    // Client y of the middle of popup row i (default look, rows of 30 from y 2).
    static int RowY(int i) { return 2 + 30 * i + 15; }

    std::vector<std::string> Events;
};

using TEvents = std::vector<std::string>;

// ---- the event contract -------------------------------------------------------------------------

TEST_F(OfficeComboTest, ItemIndexWritesRaiseTheirEventsEveryTime) {
    auto* combo = NewCombo();
    EXPECT_EQ(combo->Width(), 120);
    EXPECT_EQ(combo->Height(), 41);
    EXPECT_EQ(combo->ListBoxSkinDataName(), "listbox");
    EXPECT_EQ(combo->SkinDataName(), "combobox");
    EXPECT_EQ(combo->Font().Name(), "Arial");
    EXPECT_EQ(combo->Font().Height(), 14);
    EXPECT_TRUE(combo->TabStop());
    EXPECT_EQ(combo->DropDownCount(), 7);
    combo->SetDropDownCount(-1);
    EXPECT_EQ(combo->DropDownCount(), 7);
    combo->SetItemIndex(0);
    Events.clear();
    combo->SetItemIndex(2);
    EXPECT_EQ(Events, (TEvents{"row2", "item", "click", "change"}));
    Events.clear();
    combo->SetItemIndex(2);
    EXPECT_EQ(Events, (TEvents{"row2", "item", "click", "change"}));
    Events.clear();
    combo->SetItemIndex(-1);
    EXPECT_EQ(Events, (TEvents{"click", "change"}));
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_TRUE(combo->Items()[2]->Active);
    Events.clear();
    combo->SetItemIndex(2);
    const int old = combo->FOldItemIndex;
    Events.clear();
    EXPECT_THROW(combo->SetItemIndex(3), rtl::EListError);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(combo->FOldItemIndex, old);
    combo->Items().Clear();
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(combo->ItemIndex(), 3);
}

TEST_F(OfficeComboTest, AWriteWhileTheFormLoadsRaisesOnlyTheItemEvents) {
    Form->BeginLoading();
    auto* combo = new TbsSkinOfficeComboBox(Form);
    combo->SetParent(Form);
    Record(combo, 3);
    combo->SetItemIndex(2);
    Form->EndLoading();
    EXPECT_EQ(Events, (TEvents{"row2", "item"}));
    Events.clear();
    combo->SetItemIndex(1);
    EXPECT_EQ(Events, (TEvents{"row1", "item", "click", "change"}));
}

TEST_F(OfficeComboTest, FaceShowsNoItemForMinusOneOrAnIndexBeyondTheItems) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    Run();
    const int area = 98 * 37;
    EXPECT_LT(test::CountColour(Capture(combo), {2, 2, 100, 39}, gfx::clWindow), area);
    combo->SetItemIndex(-1);
    Run();
    EXPECT_EQ(test::CountColour(Capture(combo), {2, 2, 100, 39}, gfx::clWindow), area);
    combo->SetItemIndex(2);
    combo->Items().Clear();
    combo->Repaint();
    Run();
    EXPECT_EQ(test::CountColour(Capture(combo), {2, 2, 100, 39}, gfx::clWindow), area);
}

// ---- placement ----------------------------------------------------------------------------------

class OfficeComboPlacementTest : public OfficeComboTest {
protected:
    void SetUp() override {
        OfficeComboTest::SetUp();
        Form->SetBounds(0, 0, 1280, 760);
        Run();
    }
    // A combo whose screen rectangle starts at (x, y), four items, rows of 50.
    TbsSkinOfficeComboBox* ComboAt(int x, int y) {
        const gfx::TPoint c = Form->ScreenToClient({x, y});
        auto* combo = NewCombo(4, c.X, c.Y);
        combo->SetDropDownCount(4);
        combo->SetListBoxItemHeight(50);
        combo->SetItemIndex(0);
        return combo;
    }
    gfx::TRect PopupRect(TbsSkinOfficeComboBox* combo) {
        gfx::TRect r;
        win::GetWindowRect(combo->ListBox()->Handle(), r);
        return r;
    }
};

TEST_F(OfficeComboPlacementTest, OpensUnderTheComboFlushRight) {
    auto* combo = ComboAt(200, 300);
    ASSERT_EQ(combo->ClientToScreen({0, 0}), (gfx::TPoint{200, 300}));
    Events.clear();
    combo->DropDown();
    Run();
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_EQ(PopupRect(combo), (gfx::TRect{200, 341, 320, 546}));
    EXPECT_EQ(Events, (TEvents{"dropdown", "row1", "item", "row0", "item"}));
}

TEST_F(OfficeComboPlacementTest, OpensAboveWhenTheWorkAreaEndsAndWidensToTheLeft) {
    auto* combo = ComboAt(200, 600);
    combo->DropDown();
    Run();
    EXPECT_EQ(PopupRect(combo), (gfx::TRect{200, 395, 320, 600}));
    combo->CloseUp(false);
    combo->SetListBoxWidth(300);
    combo->DropDown();
    Run();
    EXPECT_EQ(PopupRect(combo).Left, 20);
    EXPECT_EQ(PopupRect(combo).Right, 320);
}

TEST_F(OfficeComboTest, NoItemsNoDropDownAndAnUnchangedHeightWithoutCount) {
    auto* combo = NewCombo(0);
    combo->DropDown();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(Events.empty());
    combo->Items().Add();
    combo->SetDropDownCount(0);
    combo->DropDown();
    EXPECT_EQ(combo->ListBox()->Height(), 150);
    combo->CloseUp(false);
}

// ---- gestures -----------------------------------------------------------------------------------

TEST_F(OfficeComboTest, PressDragReleaseOverARowChoosesIt) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    Events.clear();
    Down(combo, 30, 20);
    ASSERT_TRUE(combo->IsPopupVisible());
    MoveTo(combo->ListBox(), 30, RowY(1));
    MoveTo(combo->ListBox(), 30, RowY(2));
    Events.clear();
    Up(combo->ListBox(), 30, RowY(2));
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(Events, (TEvents{"click", "change", "closeup"}));
    ExpectKeyboardStaysWith(combo);
}

TEST_F(OfficeComboTest, PressDragReleaseOutsideRestoresTheOldIndex) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    Down(combo, 30, 20);
    MoveTo(combo->ListBox(), 30, RowY(2));
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 2);
    Events.clear();
    Up(combo, 300, 20);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(Events, (TEvents{"row0", "item"}));  // the restore goes through the list's setter
    ExpectKeyboardStaysWith(combo);
}

TEST_F(OfficeComboTest, ClickOpensClickOnARowChoosesClickOnTheFaceCloses) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    Click(combo, 30, 20);
    Run();
    EXPECT_TRUE(combo->IsPopupVisible());
    MoveTo(combo->ListBox(), 30, RowY(1));
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 1);
    Events.clear();
    Down(combo->ListBox(), 30, RowY(1));
    EXPECT_TRUE(combo->IsPopupVisible());
    Up(combo->ListBox(), 30, RowY(1));
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Events, (TEvents{"click", "change", "closeup"}));
    ExpectKeyboardStaysWith(combo);

    Click(combo, 30, 20);
    Run();
    ASSERT_TRUE(combo->IsPopupVisible());
    MoveTo(combo->ListBox(), 30, RowY(2));
    Events.clear();
    Click(combo, 30, 20);
    Run();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Events, (TEvents{"row1", "item"}));
    ExpectKeyboardStaysWith(combo);
}

TEST_F(OfficeComboTest, DraggingBelowThePopupScrollsItOnTheTimer) {
    auto* combo = NewCombo(10);
    combo->SetDropDownCount(4);
    combo->SetItemIndex(0);
    Down(combo, 30, 20);
    ASSERT_NE(combo->ListBox()->ScrollBar, nullptr);
    MoveTo(combo->ListBox(), 30, RowY(1));
    MoveTo(combo->ListBox(), 30, combo->ListBox()->Height() + 20);
    EXPECT_EQ(combo->TimerMode, 2);
    Events.clear();
    Wait(100);
    EXPECT_GE(combo->ListBox()->ItemIndex(), 4);
    EXPECT_GT(combo->ListBox()->ScrollOffset(), 0);
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "click"), 0);
    MoveTo(combo->ListBox(), 30, RowY(1));
    EXPECT_EQ(combo->TimerMode, 0);
    Up(combo, 300, 20);
    EXPECT_EQ(combo->ItemIndex(), 0);
}

// ---- keys, wheel and cancel ---------------------------------------------------------------------

TEST_F(OfficeComboTest, DownOnTheLastRowStillReportsAChoice) {
    auto* combo = NewCombo();
    combo->SetItemIndex(2);
    combo->SetFocus();
    Run();
    Events.clear();
    Press(win::VK_DOWN);
    Run();
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(Events, (TEvents{"row2", "item", "click", "change"}));
}

TEST_F(OfficeComboTest, KeysWhileOpenReportAtOnceAndEscapeKeepsTheKeyedRow) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    combo->SetFocus();
    combo->DropDown();
    Run();
    Events.clear();
    Press(win::VK_DOWN);
    Run();
    EXPECT_EQ(Events, (TEvents{"row1", "item", "row1", "item", "click", "change"}));
    Events.clear();
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Events, (TEvents{"row1", "item"}));
}

TEST_F(OfficeComboTest, WheelOnAnOpenPopupMovesTheHighlightAndEnterReports) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    combo->SetFocus();
    combo->DropDown();
    Run();
    Events.clear();
    Screen->Wheel(At(combo->ListBox(), 30, RowY(0)), -120);
    Run();
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 1);
    EXPECT_EQ(Events, (TEvents{"row1", "item"}));
    Events.clear();
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Events, (TEvents{"click", "change", "closeup"}));
    Events.clear();
    Screen->Wheel(At(combo, 30, 20), -120);  // closed: each step is a choice
    Run();
    EXPECT_EQ(Events, (TEvents{"row2", "item", "row2", "item", "click", "change"}));
}

TEST_F(OfficeComboTest, APressElsewhereInTheFormCancelsButNotOnThePopupsScrollBar) {
    auto* combo = NewCombo(10);
    combo->SetDropDownCount(4);
    combo->SetItemIndex(0);
    auto* other = Make<TbsSkinCustomControl>(200, 200, 50, 50, "Other");
    Click(combo, 30, 20);
    Run();
    ASSERT_TRUE(combo->IsPopupVisible());
    ASSERT_NE(combo->ListBox()->ScrollBar, nullptr);
    TbsSkinScrollBar* bar = combo->ListBox()->ScrollBar;
    Down(bar, 9, bar->Height() - 5);
    Up(bar, 9, bar->Height() - 5);
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_GT(combo->ListBox()->ScrollOffset(), 0);
    ExpectKeyboardStaysWith(combo);
    MoveTo(combo->ListBox(), 30, RowY(2));
    Events.clear();
    Down(other, 10, 10);
    Up(other, 10, 10);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(Events, (TEvents{"row0", "item"}));
}

TEST_F(OfficeComboTest, AltDownOpensAltUpCloses) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    combo->SetFocus();
    Run();
    Events.clear();
    Screen->KeyDown(win::VK_MENU);
    Press(win::VK_DOWN);
    Run();
    EXPECT_TRUE(combo->IsPopupVisible());
    Press(win::VK_UP);
    Run();
    Screen->KeyUp(win::VK_MENU);
    Run();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "click"), 0);
}

TEST_F(OfficeComboTest, ThePopupIsAnOwnerlessToolWindowThatNeverActivates) {
    Screen->SetCapabilities({true, true});
    auto* combo = NewCombo();
    combo->DropDown();
    Run();
    const win::HWND popup = combo->ListBox()->Handle();
    const win::TTopLevelState* state = Screen->Find(popup);
    ASSERT_NE(state, nullptr);
    EXPECT_TRUE(state->Shown);
    EXPECT_TRUE(state->NoActivate);
    EXPECT_FALSE(state->Owner);
    EXPECT_TRUE(state->DropShadow);
    EXPECT_EQ(win::GetActiveWindow(), Form->Handle());
    combo->CloseUp(false);
    EXPECT_FALSE(Screen->Find(popup)->Shown);
}

TEST_F(OfficeComboTest, PaintSkinToDrawsTheFaceWithAGivenText) {
    auto* combo = NewCombo();
    combo->SetItemIndex(-1);
    gfx::TBitmap target;
    target.SetSize(140, 60);
    combo->PaintSkinTo(target.Canvas(), 10, 10, "X");
    EXPECT_EQ(target.Canvas().Pixel(10, 10), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(target.Canvas().Pixel(13, 13), gfx::ColorToRGB(gfx::clWindow));
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(OfficeComboTest, LosingTheFocusCloses) {
    auto* combo = NewCombo();
    auto* other = NewCombo(3, 200, 20, "Other");
    combo->SetItemIndex(0);
    combo->SetFocus();
    combo->DropDown();
    Run();
    Events.clear();
    other->SetFocus();
    Run();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(Events, (TEvents{"row0", "item"}));
}

// ---- fade ---------------------------------------------------------------------------------------

// Moves 3 ms on every read and notes each new alpha of the popup's window with its time.
class TFadeClock : public sys::TClock {
public:
    TFadeClock(win::THeadlessBackend* screen, std::int64_t start) : FScreen(screen), FNow(start) {}
    std::int64_t NowMicros() override {
        FNow += 3000;
        if (Window && FScreen->Find(Window)) {
            const int alpha = FScreen->Find(Window)->ConstantAlpha;
            if (Alphas.empty() || Alphas.back() != alpha) {
                Alphas.push_back(alpha);
                Times.push_back(FNow / 1000);
            }
        }
        return FNow;
    }
    win::HWND Window;
    std::vector<int> Alphas;
    std::vector<std::int64_t> Times;

private:
    win::THeadlessBackend* FScreen;
    std::int64_t FNow;
};

TEST_F(OfficeComboTest, FadeRunsInFifteenStepsMoreThanFiveMillisecondsApart) {
    auto* combo = NewCombo();
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendValue(200);
    combo->SetAlphaBlendAnimation(true);
    combo->ListBox()->HandleNeeded();
    TFadeClock clock(Screen, FClock.NowMicros());
    clock.Window = combo->ListBox()->Handle();
    sys::SetClock(&clock);
    combo->DropDown();
    sys::SetClock(&FClock);
    // The last step ends the loop before the clock is read again.
    if (Screen->Find(clock.Window)->ConstantAlpha != clock.Alphas.back())
        clock.Alphas.push_back(Screen->Find(clock.Window)->ConstantAlpha);
    std::vector<int> expected;
    for (int a = 0; a < 200; a += 13) expected.push_back(a);
    expected.push_back(200);
    ASSERT_FALSE(clock.Alphas.empty());
    if (clock.Alphas.front() == 255) clock.Alphas.erase(clock.Alphas.begin());
    EXPECT_EQ(clock.Alphas, expected);
    for (std::size_t i = 1; i < clock.Times.size(); ++i)
        EXPECT_GT(clock.Times[i] - clock.Times[i - 1], 5);
    const win::TTopLevelState* state = Screen->Find(combo->ListBox()->Handle());
    ASSERT_NE(state, nullptr);
    EXPECT_NE(state->Layer, win::TLayerMode::None);
    EXPECT_EQ(state->ConstantAlpha, 200);
}

TEST_F(OfficeComboTest, WithoutAnimationThePopupIsAtItsAlphaAtOnce) {
    auto* combo = NewCombo();
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendValue(200);
    combo->DropDown();
    Run();
    const win::TTopLevelState* state = Screen->Find(combo->ListBox()->Handle());
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->ConstantAlpha, 200);
    combo->CloseUp(false);
    combo->SetAlphaBlend(false);
    combo->DropDown();
    Run();
    EXPECT_EQ(Screen->Find(combo->ListBox()->Handle())->Layer, win::TLayerMode::None);
}

TEST_F(OfficeComboTest, WithoutLayeredWindowsThePopupShowsOpaqueWithoutFading) {
    Screen->SetCapabilities({false, false});
    auto* combo = NewCombo();
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendValue(200);
    combo->SetAlphaBlendAnimation(true);
    combo->DropDown();
    Run();
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_EQ(Screen->Find(combo->ListBox()->Handle())->ConstantAlpha, 255);
}

// ---- faces --------------------------------------------------------------------------------------

// The top-left corner of the first pixel of that colour, or (-1, -1).
gfx::TPoint FirstOf(const gfx::TImage& image, TColor color) {
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            if (test::CountColour(image, {x, y, x + 1, y + 1}, color)) return {x, y};
    return {-1, -1};
}

TEST_F(OfficeComboTest, DefaultToolButtonFaceNormalHotAndOpen) {
    auto* combo = NewCombo(2);
    combo->SetToolButtonStyle(true);
    combo->SetImages(test::SquareImages(Form, 2));
    combo->Items()[0]->SetImageIndex(0);
    combo->SetItemIndex(0);
    MoveAway();
    Run();
    EXPECT_EQ(PixelOf(combo, 0, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(combo, 1, 1), gfx::ColorToRGB(gfx::clBtnFace));
    MoveTo(combo, 110, 5);
    EXPECT_EQ(PixelOf(combo, 0, 0), gfx::RGB(0, 0, 128));
    EXPECT_EQ(PixelOf(combo, 1, 1), gfx::RGB(182, 189, 210));
    const gfx::TPoint closed = FirstOf(Capture(combo), test::SquareColour(0));
    ASSERT_NE(closed.X, -1);
    combo->DropDown();
    Run();
    EXPECT_EQ(PixelOf(combo, 0, 0), gfx::RGB(0, 0, 128));
    EXPECT_EQ(PixelOf(combo, 1, 1), gfx::RGB(133, 147, 181));
    const gfx::TPoint open = FirstOf(Capture(combo), test::SquareColour(0));
    EXPECT_EQ(open.X, closed.X + 2);
    EXPECT_EQ(open.Y, closed.Y + 2);
    combo->CloseUp(false);
}

TEST_F(OfficeComboTest, SkinnedToolButtonFaceFollowsTheRecordStates) {
    Load(test::ListsFixtureSkin());
    auto* combo = NewCombo(2);
    combo->SetToolButtonStyle(true);
    combo->SetItemIndex(0);
    MoveAway();
    Run();
    EXPECT_EQ(PixelOf(combo, 117, 3), test::lists::kToolNormal);
    MoveTo(combo, 110, 5);
    EXPECT_EQ(PixelOf(combo, 117, 3), test::lists::kToolHot);
    combo->DropDown();
    Run();
    EXPECT_EQ(PixelOf(combo, 117, 3), test::lists::kToolDown);
    combo->CloseUp(false);
    Load(test::ListsFixtureSkin({"resizetoolbutton"}));
    MoveAway();
    Run();
    EXPECT_EQ(PixelOf(combo, 117, 3), test::lists::kResizeNormal);
}

TEST_F(OfficeComboTest, DefaultFaceFramesTheItemAndTheButton) {
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    MoveAway();
    Run();
    EXPECT_EQ(PixelOf(combo, 0, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(combo, 1, 1), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(PixelOf(combo, 3, 3), gfx::ColorToRGB(gfx::clWindow));
    EXPECT_EQ(PixelOf(combo, 101, 2), gfx::ColorToRGB(gfx::clBtnShadow));  // the button's frame
    combo->SetFocus();
    Run();
    EXPECT_EQ(PixelOf(combo, 4, 10), gfx::ColorToRGB(gfx::clHighlight));
}

TEST_F(OfficeComboTest, SkinnedFaceTakesBackgroundItemAndButtonFromTheRecords) {
    Load(test::ListsFixtureSkin());
    auto* combo = NewCombo();
    combo->SetItemIndex(0);
    MoveAway();
    Run();
    ASSERT_NE(combo->FIndex, -1);
    EXPECT_EQ(combo->Button.R, (TRect{101, 2, 118, 39}));
    EXPECT_EQ(combo->CBItem.R, (TRect{3, 3, 100, 38}));
    EXPECT_EQ(PixelOf(combo, 1, 1), test::lists::kComboBack);
    EXPECT_EQ(PixelOf(combo, 4, 4), test::lists::kComboItem);
    EXPECT_EQ(PixelOf(combo, 103, 4), test::lists::kResizeNormal);  // no "combobutton" record
    MoveTo(combo, 50, 20);
    EXPECT_EQ(PixelOf(combo, 1, 1), test::lists::kComboHot);
    combo->SetFocus();
    Run();
    EXPECT_EQ(PixelOf(combo, 4, 4), test::lists::kComboFocus);
}

TEST_F(OfficeComboTest, ASkinWithoutComboRecordClearsTheListName) {
    Load(test::ListsFixtureSkin({"combobox"}));
    auto* combo = NewCombo();
    combo->ChangeSkinData();
    EXPECT_EQ(combo->ListBoxSkinDataName(), "");
}

}  // namespace
}  // namespace skin
