#include "platform/vcl/menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;

TEST(ShortCutTest, TextsOfShortCutsAndBack) {
    struct TCase {
        int Key;
        TShiftState Shift;
        const char* Text;
    };
    const TCase cases[] = {
        {win::VK_F4, {ssCtrl}, "Ctrl+F4"},
        {win::VK_F4, {ssAlt}, "Alt+F4"},
        {win::VK_F1, {}, "F1"},
        {win::VK_F1 + 11, {ssShift}, "Shift+F12"},
        {'S', {ssCtrl, ssShift}, "Shift+Ctrl+S"},
        {win::VK_DELETE, {}, "Del"},
        {win::VK_RETURN, {ssAlt}, "Alt+Enter"},
        {win::VK_PRIOR, {}, "PgUp"},
        {'7', {ssCtrl}, "Ctrl+7"},
    };
    for (const TCase& c : cases) {
        const TShortCut sc = ShortCut(c.Key, c.Shift);
        EXPECT_EQ(ShortCutToText(sc), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), sc) << c.Text;
        int key = 0;
        TShiftState shift;
        ShortCutToKey(sc, key, shift);
        EXPECT_EQ(key, c.Key);
        EXPECT_EQ(shift, c.Shift);
    }
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
}

TEST(ShortCutTest, AcceleratorsAreTheCharacterAfterASingleAmpersand) {
    struct TCase {
        int Key;
        const char* Caption;
        bool Accel;
    };
    const TCase cases[] = {
        {'S', "&Save", true},          {'s', "&Save", true},
        {'A', "S&ave", true},          {'S', "Save", false},
        {'D', "Fish && Chips", false}, {'C', "Fish && &Chips", true},
        {'N', "否(&N)", true},         {'X', "&", false},
    };
    for (const TCase& c : cases) EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Accel) << c.Caption;
    EXPECT_EQ(StripHotkey("Fish && &Chips"), "Fish & Chips");
}

// A menu built from a text: one item per character, "-" a separator, "x" a hidden item.
std::vector<TMenuItem*> Build(TMenuItem* parent, TComponent* owner, const std::string& layout) {
    std::vector<TMenuItem*> items;
    for (char c : layout) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(c == '-' ? "-" : std::string(1, c));
        item->SetVisible(c != 'x');
        parent->Add(item);
        items.push_back(item);
    }
    return items;
}

TEST(MenuItemTest, RethinkLinesShowsOnlySeparatorsThatSeparate) {
    struct TCase {
        const char* Layout;
        const char* Visible;  // the separators' visibility afterwards, in order
    };
    const TCase cases[] = {
        {"a-b", "1"}, {"-a-b-", "010"}, {"a--b", "10"},  {"a-x-b", "10"},
        {"a-x", "0"}, {"--", "00"},     {"a-b-c", "11"}, {"x-a", "0"},
    };
    for (const TCase& c : cases) {
        TMenuItem root(nullptr);
        const auto items = Build(&root, nullptr, c.Layout);
        root.RethinkLines();
        std::string visible;
        for (TMenuItem* item : items)
            if (item->IsLine()) visible += item->Visible() ? '1' : '0';
        EXPECT_EQ(visible, c.Visible) << c.Layout;
        EXPECT_FALSE(root.RethinkLines()) << "a second pass changes nothing";
        root.Clear();
    }
}

TEST(MenuItemTest, CheckingARadioItemUnchecksItsGroupAmongItsSiblings) {
    TMenuItem root(nullptr);
    const auto items = Build(&root, nullptr, "abcd");
    for (TMenuItem* item : items) item->SetRadioItem(true);
    items[3]->SetGroupIndex(1);
    items[3]->SetChecked(true);
    items[0]->SetChecked(true);
    items[1]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_TRUE(items[3]->Checked());  // another group
    items[2]->SetAutoCheck(true);
    items[2]->Click();
    EXPECT_TRUE(items[2]->Checked());
    EXPECT_FALSE(items[1]->Checked());
    root.Clear();
}

TEST(MenuItemTest, TheTreeOwnsItsItemsAndAnItemLeavesItWhenFreed) {
    TMenuItem root(nullptr);
    const auto top = Build(&root, nullptr, "ab");
    const auto sub = Build(top[0], nullptr, "cd");
    EXPECT_THROW(root.Add(sub[0]), EMenuError);
    EXPECT_EQ(root.Find("&A"), top[0]);
    EXPECT_EQ(sub[1]->MenuIndex(), 1);
    sub[0]->Free();
    EXPECT_EQ(top[0]->Count(), 1);
    top[0]->Free();  // takes "d" with it
    EXPECT_EQ(root.Count(), 1);
    root.Clear();
    EXPECT_EQ(root.Count(), 0);
}

TEST(MenuTest, DispatchCommandClicksTheItemWithThatNumberAnywhereInTheTree) {
    TPopupMenu menu(nullptr);
    const auto top = Build(menu.Items(), nullptr, "ab");
    const auto sub = Build(top[1], nullptr, "cd");
    std::vector<TMenuItem*> clicked;
    for (TMenuItem* item : {top[0], top[1], sub[0], sub[1]})
        item->OnClick = [&clicked, item](TObject*) { clicked.push_back(item); };
    EXPECT_NE(sub[0]->Command(), sub[1]->Command());
    EXPECT_EQ(sub[1]->GetParentMenu(), &menu);
    EXPECT_TRUE(menu.DispatchCommand(sub[1]->Command()));
    EXPECT_TRUE(menu.DispatchCommand(top[0]->Command()));
    TMenuItem stray(nullptr);
    EXPECT_FALSE(menu.DispatchCommand(stray.Command()));
    EXPECT_EQ(clicked, (std::vector<TMenuItem*>{sub[1], top[0]}));
}

TEST_F(TVclTest, MenuShortCutsSkipDisabledAndHiddenItemsAndSubmenus) {
    TMainMenu menu(nullptr);
    const auto top = Build(menu.Items(), nullptr, "fe");
    const auto sub = Build(top[0], nullptr, "no");
    int runs = 0;
    sub[0]->SetShortCut(ShortCut('N', {ssCtrl}));
    sub[0]->OnClick = [&](TObject*) { ++runs; };
    top[1]->SetShortCut(ShortCut('E', {ssCtrl}));
    top[1]->SetEnabled(false);
    top[1]->OnClick = [&](TObject*) { runs += 100; };
    Screen->KeyDown(win::VK_CONTROL);
    Run();
    auto key = [](int k) {
        TWMKey m;
        m.Msg = win::WM_KEYDOWN;
        m.CharCode = k;
        return m;
    };
    TWMKey n = key('N'), e = key('E');
    EXPECT_TRUE(menu.IsShortCut(n));
    EXPECT_FALSE(menu.IsShortCut(e));
    top[0]->SetVisible(false);
    EXPECT_FALSE(menu.IsShortCut(n));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(menu.FindShortCut(ShortCut('E', {ssCtrl})), top[1]);
    Screen->KeyUp(win::VK_CONTROL);
    Application->ProcessMessages();
}

class PopupTest : public TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        form = ShowForm(100, 100, 300, 200);
        menu = new TPopupMenu(form);
        items = Build(menu->Items(), form, "ab-c");
        sub = Build(items[3], form, "de");
        for (TMenuItem* item : items)
            item->OnClick = [this](TObject* s) { chosen += static_cast<TMenuItem*>(s)->Caption(); };
        for (TMenuItem* item : sub)
            item->OnClick = [this](TObject* s) { chosen += static_cast<TMenuItem*>(s)->Caption(); };
        items[1]->SetEnabled(false);
    }
    void WhenWaiting(std::function<void()> step) { Screen->QueueIdleStep(std::move(step)); }
    void Keys(std::initializer_list<int> keys) {
        for (int k : keys) WhenWaiting([this, k] { Press(k); });
    }

    TForm* form = nullptr;
    TPopupMenu* menu = nullptr;
    std::vector<TMenuItem*> items;
    std::vector<TMenuItem*> sub;
    std::string chosen;
};

TEST_F(PopupTest, KeysMoveThroughThePlainPopupAndChooseAnItem) {
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    Keys({win::VK_DOWN, win::VK_DOWN, win::VK_RETURN});  // a, then b (disabled: no choice)
    Keys({win::VK_DOWN, win::VK_RIGHT, win::VK_DOWN, win::VK_RETURN});  // c, its submenu, e
    menu->Popup(150, 150);
    EXPECT_EQ(chosen, "e");
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupPoint(), (TPoint{150, 150}));
    EXPECT_EQ(Screen->PendingIdleSteps(), 0u);
    EXPECT_EQ(win::GetCapture(), HWND());

    Keys({win::VK_DOWN, win::VK_ESCAPE});
    menu->Popup(150, 150);
    EXPECT_EQ(chosen, "e");
    Keys({'c', 'd'});  // accelerators of captions without "&" do nothing; the popup stays
    Keys({win::VK_ESCAPE});
    menu->Popup(150, 150);
    EXPECT_EQ(chosen, "e");
}

TEST_F(PopupTest, TheMouseChoosesAnItemAndAPressOutsideCancels) {
    WhenWaiting([this] {
        // The first item lies at the popup's top-left, inside its 1-pixel border.
        Screen->MouseMove({155, 155});
        Screen->MouseDown({155, 155});
        Screen->MouseUp({155, 155});
    });
    menu->Popup(150, 150);
    EXPECT_EQ(chosen, "a");
    WhenWaiting([this] { Screen->Click({20, 20}); });
    menu->Popup(150, 150);
    EXPECT_EQ(chosen, "a");
}

TEST_F(PopupTest, ARightClickOpensTheControlsPopupUnlessOnContextPopupHandlesIt) {
    auto* pad = new TCustomControl(form);
    pad->SetParent(form);
    pad->SetBounds(10, 10, 100, 50);
    pad->SetPopupMenu(menu);
    Keys({win::VK_DOWN, win::VK_RETURN});
    Screen->Click(At(pad, 20, 20), win::TMouseButton::Right);
    Run();
    EXPECT_EQ(chosen, "a");
    EXPECT_EQ(menu->PopupComponent(), pad);
    EXPECT_EQ(menu->PopupPoint(), At(pad, 20, 20));

    TPoint seen{-9, -9};
    pad->OnContextPopup = [&](TObject*, TPoint pos, bool& handled) {
        seen = pos;
        handled = true;
    };
    Screen->Click(At(pad, 30, 25), win::TMouseButton::Right);
    Run();
    EXPECT_EQ(seen, (TPoint{30, 25}));
    EXPECT_EQ(chosen, "a");
    pad->Free();
    EXPECT_EQ(menu->PopupComponent(), nullptr);
}

}  // namespace
}  // namespace vcl
