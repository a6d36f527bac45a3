// The skinned combo box: the ItemIndex cascade the main window relies on, the popup's size and
// placement, the mouse gestures and keys on the virtual clock, the edit style's search and
// completion (also after composed Chinese text), cancel mode, and the built-in face's pixels.
#include "skin/lists/combo_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists_test_support.h"
#include "platform/sys/clock.h"
#include "platform/win/win.h"
#include "skin/core/resource_strings.h"

namespace skin {
namespace {

using TEvents = std::vector<std::string>;

// Records SelectionChanged, which the subclasses of the program override.
class TRecordingCombo : public TbsSkinComboBox {
public:
    using TbsSkinComboBox::TbsSkinComboBox;
    TEvents* Log = nullptr;
    using TbsSkinCustomComboBox::CBItem;

protected:
    void SelectionChanged() override {
        if (Log) Log->push_back("sel");
    }
};

class ComboTest : public test::TControlsTest {
protected:
    TRecordingCombo* NewCombo(const std::vector<std::string>& items, int x = 20, int y = 20,
                              const std::string& name = "Combo") {
        auto* combo = Make<TRecordingCombo>(x, y, 120, 20, name);
        Wire(combo);
        for (const std::string& s : items) combo->Items().Add(s);
        Run();
        return combo;
    }
    void Wire(TRecordingCombo* combo) {
        combo->Log = &Events;
        combo->OnClick = [this](vcl::TObject*) { Events.push_back("click"); };
        combo->OnChange = [this](vcl::TObject*) { Events.push_back("change"); };
        combo->OnCloseUp = [this](vcl::TObject*) { Events.push_back("closeup"); };
        combo->OnDropDown = [this](vcl::TObject*) { Events.push_back("dropdown"); };
    }
    static std::vector<std::string> Numbered(int n, const std::string& prefix = "item ") {
        std::vector<std::string> v;
        for (int i = 0; i < n; ++i) v.push_back(prefix + std::to_string(i));
        return v;
    }
    gfx::TRect PopupRect(TbsSkinCustomComboBox* combo) {
        gfx::TRect r;
        win::GetWindowRect(combo->ListBox()->Handle(), r);
        return r;
    }
    // Inner-list y of the middle of visible row i (default look: rows of 20).
    static int RowY(int i) { return 20 * i + 10; }
    void Key(int vk) {
        Press(vk);
        Run();
    }
    void Type(const std::string& utf8) {
        Screen->Text(utf8);
        Run();
    }

    TEvents Events;
};

// ---- the selection cascade ----------------------------------------------------------------------

TEST_F(ComboTest, ItemIndexWritesRunTheCascade) {
    auto* combo = NewCombo({"A", "B", "B"});
    EXPECT_EQ(combo->Width(), 120);
    EXPECT_EQ(combo->Height(), 20);
    EXPECT_EQ(combo->DropDownCount(), 8);
    combo->SetDropDownCount(0);
    EXPECT_EQ(combo->DropDownCount(), 8);
    EXPECT_EQ(combo->Style(), bscbFixedStyle);
    combo->SetItemIndex(0);
    ASSERT_EQ(combo->Text(), "A");
    struct TStep {
        int Write;
        TEvents Expected;
        std::string Text;
    };
    const TStep steps[] = {
        {1, {"change", "click", "sel"}, "B"},
        {1, {"click", "sel"}, "B"},
        {2, {"click", "sel"}, "B"},  // another item of the same text
        {-1, {"click", "sel"}, "B"},
        {7, {"click", "sel"}, "B"},  // refused by the list: reads -1
        {0, {"change", "click", "sel"}, "A"},
    };
    for (const TStep& s : steps) {
        Events.clear();
        combo->SetItemIndex(s.Write);
        EXPECT_EQ(Events, s.Expected) << "write " << s.Write;
        EXPECT_EQ(combo->Text(), s.Text) << "write " << s.Write;
    }
    Events.clear();
    combo->Items().Clear();
    combo->Items().Add("C");
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(combo->Text(), "A");
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(ComboTest, MinusOneLeavesTheFaceEmpty) {
    auto* combo = NewCombo({"A", "B"});
    combo->SetItemIndex(1);
    Run();
    const gfx::TRect item{2, 2, 100, 18};
    const int area = 98 * 16;
    EXPECT_LT(test::CountColour(Capture(combo), item, gfx::clWindow), area);
    combo->SetItemIndex(-1);
    Run();
    EXPECT_EQ(combo->Text(), "B");
    EXPECT_EQ(test::CountColour(Capture(combo), item, gfx::clWindow), area);
}

TEST_F(ComboTest, WhileTheFormLoadsOnlyOnChangeFires) {
    Form->BeginLoading();
    auto* combo = new TRecordingCombo(Form);
    combo->SetParent(Form);
    combo->Items().Add("A");
    combo->Items().Add("B");
    combo->SetItemIndex(0);  // no handler yet: nothing at all
    Wire(combo);
    combo->SetItemIndex(1);
    Form->EndLoading();
    EXPECT_EQ(Events, (TEvents{"change"}));
    Events.clear();
    combo->SetItemIndex(0);
    EXPECT_EQ(Events, (TEvents{"change", "click", "sel"}));
}

// ---- drop-down ----------------------------------------------------------------------------------

TEST_F(ComboTest, PopupHeightFollowsTheRowCountAndWidthTheSetting) {
    struct TCase {
        int Items;
        int ListBoxWidth;
        int Width, Height;
    };
    const TCase cases[] = {{20, 0, 120, 164}, {3, 0, 120, 64}, {3, 300, 300, 64}};
    for (const TCase& c : cases) {
        auto* combo = NewCombo(Numbered(c.Items));
        combo->SetListBoxWidth(c.ListBoxWidth);
        combo->SetItemIndex(0);
        Events.clear();
        combo->DropDown();
        Run();
        ASSERT_TRUE(combo->IsPopupVisible());
        const gfx::TRect r = PopupRect(combo);
        EXPECT_EQ(r.Width(), c.Width) << c.Items;
        EXPECT_EQ(r.Height(), c.Height) << c.Items;
        EXPECT_EQ(r.Left, combo->ClientToScreen({0, 0}).X);
        EXPECT_EQ(r.Top, combo->ClientToScreen({0, 20}).Y);
        EXPECT_EQ(Events, (TEvents{"dropdown"}));
        combo->CloseUp(false);
        combo->Free();
    }
}

TEST_F(ComboTest, OpensAboveNearTheWorkAreasBottomWithTheSelectionOnTop) {
    Form->SetBounds(0, 0, 1280, 760);
    Run();
    const gfx::TPoint c = Form->ScreenToClient({200, 700});
    auto* combo = NewCombo(Numbered(20), c.X, c.Y);
    combo->SetFocus();
    combo->SetItemIndex(10);
    combo->DropDown();
    Run();
    EXPECT_EQ(PopupRect(combo), (gfx::TRect{200, 700 - 164, 320, 700}));
    EXPECT_EQ(combo->ListBox()->TopIndex(), 10);
    EXPECT_TRUE(combo->Focused());
    EXPECT_EQ(win::GetActiveWindow(), Form->Handle());
    combo->CloseUp(false);
}

TEST_F(ComboTest, NoItemsNoDropDown) {
    auto* combo = NewCombo({});
    combo->DropDown();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(Events.empty());
}

// ---- gestures -----------------------------------------------------------------------------------

TEST_F(ComboTest, ButtonClickOpensAndASecondPressClosesWithoutEvents) {
    auto* combo = NewCombo(Numbered(5));
    combo->SetItemIndex(1);
    Events.clear();
    MoveTo(combo, 110, 10);
    Click(combo, 110, 10);
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_EQ(Events, (TEvents{"dropdown"}));
    EXPECT_TRUE(combo->Focused());
    MoveTo(combo->ListBox()->ListBox, 30, RowY(3));
    // Five items fit the popup: the list stays unscrolled although the selection asks to be the
    // first row, so no empty row shows under the last item.
    EXPECT_EQ(combo->ListBox()->TopIndex(), 0);
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 3);
    Events.clear();
    Click(combo, 110, 10);
    Run();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ComboTest, ReleaseOnARowChoosesItReleaseOutsideRestores) {
    auto* combo = NewCombo(Numbered(5));
    combo->SetItemIndex(0);
    Events.clear();
    Down(combo, 110, 10);
    ASSERT_TRUE(combo->IsPopupVisible());
    MoveTo(combo->ListBox()->ListBox, 30, RowY(2));
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 2);
    Up(combo->ListBox()->ListBox, 30, RowY(2));
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "item 2");
    EXPECT_EQ(Events, (TEvents{"dropdown", "change", "click", "sel", "closeup"}));

    Events.clear();
    Down(combo, 110, 10);
    MoveTo(combo->ListBox()->ListBox, 30, RowY(4));
    Up(combo, 300, 10);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(Events, (TEvents{"dropdown"}));
}

TEST_F(ComboTest, DraggingBelowTheRowsScrollsOneRowPer25Ms) {
    auto* combo = NewCombo(Numbered(12));
    combo->SetItemIndex(0);
    Down(combo, 110, 10);
    ASSERT_NE(combo->ListBox()->ScrollBar, nullptr);
    MoveTo(combo->ListBox()->ListBox, 30, RowY(7));
    ASSERT_EQ(combo->ListBox()->ItemIndex(), 7);
    MoveTo(combo->ListBox()->ListBox, 30, 200);
    EXPECT_EQ(combo->TimerMode, 2);
    std::vector<int> seen;
    for (int tick = 0; tick < 6; ++tick) {
        AdvanceMs(25);
        Run();
        seen.push_back(combo->ListBox()->ItemIndex());
    }
    EXPECT_EQ(seen, (std::vector<int>{8, 9, 10, 11, 11, 11}));
    Events.clear();
    Up(combo, 300, 10);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_TRUE(Events.empty());
}

// ---- keys ---------------------------------------------------------------------------------------

TEST_F(ComboTest, ArrowAndPageKeysSelect) {
    auto* combo = NewCombo(Numbered(20));
    combo->SetFocus();
    Run();
    struct TCase {
        int From;
        int Key;
        int Expected;
    };
    const TCase cases[] = {
        {10, win::VK_PRIOR, 1}, {1, win::VK_NEXT, 8},   {-1, win::VK_UP, -1},
        {-1, win::VK_DOWN, 0},  {-1, win::VK_PRIOR, 0}, {19, win::VK_DOWN, 19},
        {5, win::VK_LEFT, 4},   {5, win::VK_RIGHT, 6},  {17, win::VK_NEXT, 19},
    };
    for (const TCase& c : cases) {
        combo->SetItemIndex(c.From);
        Events.clear();
        Key(c.Key);
        EXPECT_EQ(combo->ItemIndex(), c.Expected) << c.From << " key " << c.Key;
        if (c.Expected != c.From) {
            EXPECT_EQ(Events, (TEvents{"change", "click", "sel"})) << c.From << " key " << c.Key;
        }
        combo->SetItemIndex(-1);
        combo->SetText("");
    }
}

TEST_F(ComboTest, DownWithTheListOpenSelectsAtOnceAndEscKeepsIt) {
    auto* combo = NewCombo(Numbered(5));
    combo->SetFocus();
    combo->SetItemIndex(1);
    Screen->KeyDown(win::VK_MENU);
    Key(win::VK_DOWN);
    Screen->KeyUp(win::VK_MENU);
    Run();
    ASSERT_TRUE(combo->IsPopupVisible());
    Events.clear();
    Key(win::VK_DOWN);
    EXPECT_EQ(Events, (TEvents{"change", "click", "sel"}));
    Events.clear();
    Key(win::VK_ESCAPE);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ComboTest, TypingSearchesWithinHalfASecond) {
    auto* combo = NewCombo({"apple", "bb one", "banana", "bb two", "cherry"});
    combo->SetFocus();
    combo->SetItemIndex(0);
    Run();
    Type("b");
    EXPECT_EQ(combo->ItemIndex(), 1);
    AdvanceMs(100);
    Type("b");
    EXPECT_EQ(combo->ItemIndex(), 1);  // "bb" from the first item
    AdvanceMs(500);
    Type("b");
    EXPECT_EQ(combo->ItemIndex(), 2);  // a fresh "b" steps on
    AdvanceMs(600);
    Type("b");
    EXPECT_EQ(combo->ItemIndex(), 3);
    AdvanceMs(600);
    Type("b");
    EXPECT_EQ(combo->ItemIndex(), 1);  // round from the first
    combo->SetAutoComplete(false);
    Type("b");
    EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(ComboTest, CancelModeKeepsTheListForItsOwnBarOnly) {
    auto* combo = NewCombo(Numbered(12));
    combo->SetItemIndex(0);
    combo->DropDown();
    Run();
    ASSERT_NE(combo->ListBox()->ScrollBar, nullptr);
    combo->Perform(vcl::CM_CANCELMODE, 0, win::PtrToParam(combo->ListBox()->ScrollBar));
    EXPECT_TRUE(combo->IsPopupVisible());
    combo->Perform(vcl::CM_CANCELMODE, 0, win::PtrToParam(combo->ListBox()->ListBox));
    EXPECT_TRUE(combo->IsPopupVisible());
    Events.clear();
    combo->Perform(vcl::CM_CANCELMODE, 0, 0);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(Events.empty());
}

TEST_F(ComboTest, WheelSelectsWhileClosedAndMovesTheHighlightWhileOpen) {
    auto* combo = NewCombo(Numbered(5));
    combo->SetFocus();
    combo->SetItemIndex(2);
    Events.clear();
    Screen->Wheel(At(combo, 30, 10), -120);
    Run();
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(Events, (TEvents{"change", "click", "sel"}));
    combo->DropDown();
    Run();
    Events.clear();
    Screen->Wheel(At(combo, 30, 10), 120);
    Run();
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 2);
    EXPECT_TRUE(Events.empty());
    Key(win::VK_RETURN);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(Events, (TEvents{"change", "click", "sel", "closeup"}));
}

// ---- fade ---------------------------------------------------------------------------------------

// Moves 3 ms on every read and notes each new alpha of the popup's window.
class TFadeClock : public sys::TClock {
public:
    TFadeClock(win::THeadlessBackend* screen, std::int64_t start) : FScreen(screen), FNow(start) {}
    std::int64_t NowMicros() override {
        FNow += 3000;
        if (Window && FScreen->Find(Window)) {
            const int alpha = FScreen->Find(Window)->ConstantAlpha;
            if (Alphas.empty() || Alphas.back() != alpha) Alphas.push_back(alpha);
        }
        return FNow;
    }
    win::HWND Window;
    std::vector<int> Alphas;

private:
    win::THeadlessBackend* FScreen;
    std::int64_t FNow;
};

TEST_F(ComboTest, FadeStepsOnTheClockAndStopsWhenAHandlerClosesThePopup) {
    auto* combo = NewCombo(Numbered(5));
    combo->SetAlphaBlend(true);
    combo->SetAlphaBlendValue(150);
    combo->SetAlphaBlendAnimation(true);
    combo->ListBox()->HandleNeeded();
    TFadeClock clock(Screen, FClock.NowMicros());
    clock.Window = combo->ListBox()->Handle();
    sys::SetClock(&clock);
    combo->DropDown();
    sys::SetClock(&FClock);
    EXPECT_EQ(Screen->Find(clock.Window)->ConstantAlpha, 150);
    ASSERT_GE(clock.Alphas.size(), 2u);
    EXPECT_EQ(clock.Alphas[clock.Alphas.size() - 2], 140);  // steps of 150 / 15
    combo->CloseUp(false);

    // A message handled between the steps closes the popup: the fade ends there.
    TFadeClock second(Screen, FClock.NowMicros());
    second.Window = combo->ListBox()->Handle();
    sys::SetClock(&second);
    win::PostMessage(combo->Handle(), vcl::CM_CANCELMODE, 0, 0);
    combo->DropDown();
    sys::SetClock(&FClock);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_LT(Screen->Find(second.Window)->ConstantAlpha, 150);
}

// ---- the edit style -----------------------------------------------------------------------------

class ComboEditTest : public ComboTest {
protected:
    TRecordingCombo* EditCombo(const std::vector<std::string>& items) {
        auto* combo = NewCombo(items);
        combo->SetStyle(bscbEditStyle);
        combo->SetFocus();
        Run();
        Events.clear();
        return combo;
    }
    // A skin whose text table names the charset.
    void LoadWithCharset(int charset) {
        auto* table = new TbsResourceStrData(Form);
        table->SetCharSet(gfx::TFontCharset(charset));
        Data->SetResourceStrData(table);
    }
};

TEST_F(ComboEditTest, TheEditTakesTheTabStopAndFocus) {
    auto* combo = EditCombo({"apple", "banana"});
    ASSERT_NE(combo->Edit(), nullptr);
    EXPECT_FALSE(combo->TabStop());
    EXPECT_TRUE(combo->Edit()->TabStop());
    EXPECT_TRUE(combo->Edit()->Focused());
    TbsCustomEdit* first = combo->Edit();
    combo->SetStyle(bscbEditStyle);
    EXPECT_EQ(combo->Edit(), first);  // a second write keeps the edit
    combo->SetStyle(bscbFixedStyle);
    EXPECT_EQ(combo->Edit(), nullptr);
    EXPECT_FALSE(combo->TabStop());
}

TEST_F(ComboEditTest, TypingSelectsInTheListAndCompletesOnTheLateRelease) {
    auto* combo = EditCombo({"banana", "apple", "apricot"});
    AdvanceMs(300);
    Screen->KeyPress('A');  // key-up within the pause after typing's first completion
    Run();
    Events.clear();
    Screen->KeyDown('P');
    Run();
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 1);
    EXPECT_EQ(combo->Edit()->Text(), "ap");
    AdvanceMs(100);
    Screen->KeyUp('P');
    Run();
    EXPECT_EQ(combo->Edit()->Text(), "ap");
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "click"), 0);
    AdvanceMs(300);
    Screen->KeyDown(win::VK_SHIFT);
    Screen->KeyUp('P');  // a late release of a letter completes
    Screen->KeyUp(win::VK_SHIFT);
    Run();
    EXPECT_EQ(combo->Edit()->Text(), "apple");
    EXPECT_EQ(combo->Edit()->SelStart(), 2);
    EXPECT_EQ(combo->Edit()->SelLength(), 3);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_GE(std::count(Events.begin(), Events.end(), "click"), 1);
}

TEST_F(ComboEditTest, ChineseCharsetBackspaceCompletesNothingComposedTextDoes) {
    LoadWithCharset(134);
    auto* combo = EditCombo({"音频", "视频", "视频文件"});
    AdvanceMs(300);
    Type("视");  // composed text, then the window layer's key-up 229
    EXPECT_EQ(combo->Edit()->Text(), "视频");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Edit()->SelStart(), 1);
    EXPECT_EQ(combo->Edit()->SelLength(), 1);
    AdvanceMs(300);
    Key(win::VK_BACK);
    EXPECT_EQ(combo->Edit()->Text(), "视");
    AdvanceMs(300);
    Screen->KeyUp(win::VK_BACK);
    Run();
    EXPECT_EQ(combo->Edit()->Text(), "视");
}

TEST_F(ComboEditTest, UpAndDownTakeTheItemOver) {
    auto* combo = EditCombo({"apple", "banana", "cherry"});
    combo->SetItemIndex(0);
    Events.clear();
    Key(win::VK_DOWN);
    EXPECT_EQ(combo->Edit()->Text(), "banana");
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 1);
    EXPECT_EQ(Events.back(), "click");
    EXPECT_EQ(std::count(Events.begin(), Events.end(), "click"), 1);
}

TEST_F(ComboEditTest, AChoiceFromTheListFillsTheEdit) {
    auto* combo = EditCombo({"apple", "banana", "cherry"});
    Down(combo, 110, 10);
    MoveTo(combo->ListBox()->ListBox, 30, RowY(2));
    Up(combo->ListBox()->ListBox, 30, RowY(2));
    EXPECT_EQ(combo->Edit()->Text(), "cherry");
    EXPECT_EQ(combo->Text(), "cherry");
    EXPECT_EQ(combo->Edit()->SelLength(), 6);
    EXPECT_EQ(Events, (TEvents{"dropdown", "change", "sel", "click", "sel", "closeup"}));
    EXPECT_TRUE(combo->Edit()->Focused());
}

// ---- the built-in face --------------------------------------------------------------------------

TEST_F(ComboTest, BuiltInFacePixels) {
    auto* combo = NewCombo({"A", "B"});
    auto* other = NewCombo({"A"}, 20, 60, "Other");
    other->SetFocus();
    Run();
    const gfx::TImage idle = Capture(combo);
    auto at = [](const gfx::TImage& img, int x, int y) {
        const std::uint32_t p =
            img.Pixels[std::size_t(y) * std::size_t(img.Width) + std::size_t(x)];
        return gfx::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    const gfx::TRect b = combo->Button.R;
    EXPECT_EQ(b, (gfx::TRect{101, 2, 118, 18}));
    EXPECT_EQ(at(idle, 0, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(at(idle, 1, 1), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(at(idle, 40, 3), gfx::ColorToRGB(gfx::clWindow));
    EXPECT_EQ(at(idle, b.Left, b.Top + 5), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(at(idle, b.Left + 2, b.Top + 2), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_GT(test::CountColour(idle, b, gfx::clBlack), 0);

    MoveTo(combo, 110, 10);
    EXPECT_EQ(at(Capture(combo), b.Left + 2, b.Top + 2), gfx::RGB(182, 189, 210));
    EXPECT_EQ(at(Capture(combo), b.Left, b.Top + 5), gfx::RGB(0, 0, 128));
    Down(combo, 110, 10);
    EXPECT_EQ(at(Capture(combo), b.Left + 2, b.Top + 2), gfx::RGB(133, 147, 181));
    Up(combo, 110, 10);
    combo->CloseUp(false);
    Run();

    TEvents states;
    combo->OnComboBoxDrawItem = [&](gfx::TCanvas&, int, int, int, const gfx::TRect&,
                                    vcl::TOwnerDrawState s) {
        states.push_back(s.Contains(vcl::odFocused) ? "focused" : "plain");
    };
    other->SetFocus();
    Run();
    combo->Repaint();
    Run();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), "plain");
    combo->OnComboBoxDrawItem = nullptr;
    combo->SetFocus();
    combo->SetItemIndex(0);
    Run();
    const gfx::TImage focused = Capture(combo);
    EXPECT_GT(test::CountColour(focused, combo->CBItem.R, gfx::clHighlight), 100);
    EXPECT_GT(test::CountColour(focused, combo->CBItem.R, gfx::clHighlightText), 0);
    combo->OnComboBoxDrawItem = [&](gfx::TCanvas&, int, int, int, const gfx::TRect&,
                                    vcl::TOwnerDrawState s) {
        states.push_back(s.Contains(vcl::odFocused) ? "focused" : "plain");
    };
    combo->Repaint();
    Run();
    EXPECT_EQ(states.back(), "focused");
    combo->OnComboBoxDrawItem = nullptr;

    combo->SetEnabled(false);
    Run();
    const gfx::TImage disabled = Capture(combo);
    EXPECT_EQ(test::CountColour(disabled, b, gfx::clBlack), 0);
}

// ---- the skin look -----------------------------------------------------------------------------

TEST_F(ComboTest, SkinLookTakesTheRecordsStatePictures) {
    using namespace test::lists;
    Load(test::ListsFixtureSkin());
    auto* combo = NewCombo({"HH", "B"});
    auto* other = NewCombo({"A"}, 20, 60, "Other");
    combo->SetItemIndex(0);
    other->SetFocus();
    MoveAway();
    Run();
    ASSERT_NE(combo->FIndex, -1);
    const int h = combo->Height();
    EXPECT_EQ(combo->CBItem.R, (gfx::TRect{3, 3, 100, 18}));
    EXPECT_EQ(combo->Button.R, (gfx::TRect{101, 2, 118, 19}));
    const gfx::TRect frame{0, 0, 3, h};
    EXPECT_EQ(test::CountColour(Capture(combo), frame, kComboBack), 3 * h);
    EXPECT_GT(test::CountColour(Capture(combo), combo->CBItem.R, kComboItem), 0);
    MoveTo(combo, 50, 10);
    EXPECT_EQ(test::CountColour(Capture(combo), frame, kComboHot), 3 * h);
    MoveAway();
    combo->SetFocus();
    Run();
    EXPECT_GT(test::CountColour(Capture(combo), combo->CBItem.R, kComboFocus), 0);
    EXPECT_EQ(test::CountColour(Capture(combo), combo->CBItem.R, kComboItem), 0);
    other->SetFocus();
    combo->SetEnabled(false);
    Run();
    EXPECT_GT(test::CountColour(Capture(combo), combo->CBItem.R, kEditDisabledText), 0);
}

TEST_F(ComboTest, ARecordWithoutItsPicturePaintsTheBuiltInLook) {
    Load(test::FixtureSkin(
        {{"combobox", "combobox",
          "pictureindex=7\nskinrect=0,80,60,101\nclientrect=3,3,40,18\nbuttonrect=41,2,58,19\n"}},
        {}, "NoPicture"));
    auto* combo = NewCombo({"A"});
    combo->SetItemIndex(0);
    Run();
    ASSERT_NE(combo->FIndex, -1);
    const gfx::TImage face = Capture(combo);
    EXPECT_EQ(test::CountColour(face, {0, 0, combo->Width(), 1}, gfx::clBtnShadow), combo->Width());
}

TEST_F(ComboTest, ToolButtonStyleDropsTheEditAndShowsThePressedLookWhileOpen) {
    auto* combo = NewCombo({"A", "B"});
    combo->SetStyle(bscbEditStyle);
    ASSERT_NE(combo->Edit(), nullptr);
    combo->SetToolButtonStyle(true);
    EXPECT_EQ(combo->Edit(), nullptr);
    EXPECT_EQ(combo->Style(), bscbFixedStyle);
    EXPECT_FALSE(combo->UseSkinSize());
    combo->SetItemIndex(0);
    MoveAway();
    Run();
    EXPECT_GT(test::CountColour(Capture(combo), {1, 1, 119, 19}, gfx::clBtnFace), 1000);
    combo->DropDown();
    Run();
    EXPECT_GT(test::CountColour(Capture(combo), {1, 1, 119, 19}, gfx::RGB(133, 147, 181)), 1000);
    combo->CloseUp(false);
}

TEST_F(ComboTest, PaintSkinToShowsTheGivenTextAndPutsTextBack) {
    auto* combo = NewCombo({"A", "B"});
    combo->SetItemIndex(0);
    Events.clear();
    gfx::TBitmap target;
    target.SetSize(140, 40);
    combo->PaintSkinTo(target.Canvas(), 10, 10, "other");
    EXPECT_EQ(Events, (TEvents{"change", "change"}));
    EXPECT_EQ(combo->Text(), "A");
    EXPECT_EQ(target.Canvas().Pixel(10, 10), gfx::ColorToRGB(gfx::clBtnShadow));
}

TEST_F(ComboTest, ImageIndexDrawsOneImageForEveryItem) {
    auto* combo = NewCombo({"A", "B"});
    combo->SetBounds(20, 20, 120, 40);
    combo->SetImages(test::SquareImages(Form, 3));
    struct TCase {
        int ImageIndex, Item;
        gfx::TColor Expected;
    };
    const TCase cases[] = {{2, 0, test::SquareColour(2)},
                           {2, 1, test::SquareColour(2)},
                           {-1, 1, test::SquareColour(1)}};
    for (const TCase& c : cases) {
        combo->SetImageIndex(c.ImageIndex);
        combo->SetItemIndex(c.Item);
        Run();
        EXPECT_GT(test::CountColour(Capture(combo), combo->CBItem.R, c.Expected), 200)
            << c.ImageIndex << " " << c.Item;
    }
}

}  // namespace
}  // namespace skin
