// Skinned popup menus on a headless screen (work area 0, 0, 1280, 760) with a manual clock: the
// closing messages, the default look's pixels, sizing and placing, the event order of a chain
// dropped by a control, submenus under a resting pointer, and the keys a form hands over while
// its edit keeps the focus.
#include "skin/menus/skin_menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "menu_test_skin.h"
#include "platform/sys/clock.h"
#include "platform/vcl/edits.h"
#include "platform/vcl/vcl_test_support.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"
#include "skin/menus/skin_hint.h"
#include "skin/menus/skin_images_menu.h"

namespace skin {
namespace {

gfx::TColor Rgb(gfx::TColor c) {
    return gfx::ColorToRGB(c) & 0xFFFFFF;
}

TEST(MenuCloseMessageTest, HoldsExactlyForTheMessagesThatEndAMenu) {
    const std::vector<win::UINT> closing{3, 5, 6, 8, 31, 33, 161, 164, 167, 513, 516, 519, 528};
    for (win::UINT m = 0; m < 1300; ++m) {
        const bool expected = std::find(closing.begin(), closing.end(), m) != closing.end();
        EXPECT_EQ(IsMenuCloseMessage(m), expected) << m;
    }
}

class SkinMenuTest : public vcl::test::TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        vcl::Application->CreateForm(form);
        form->SetName("Main");
        form->SetBounds(100, 100, 400, 300);
        skinForm = new TbsSkinForm(form);
        skinForm->FOnSkinMenuOpen = [this](vcl::TObject*) { log.push_back("open"); };
        skinForm->FOnSkinMenuClose = [this](vcl::TObject*) { log.push_back("close"); };
        edit = new vcl::TEdit(form);
        edit->SetName("Edit");
        edit->SetParent(form);
        edit->SetBounds(10, 10, 100, 22);
        edit->OnKeyDown = [this](vcl::TObject*, int& key, vcl::TShiftState) {
            log.push_back("editkey " + std::to_string(key));
        };
        form->Show();
        Run();
        edit->SetFocus();
        Run();
        menu = new TbsSkinPopupMenu(form);
        menu->SetName("Popup");
    }

    vcl::TMenuItem* Add(vcl::TMenuItem* parent, const std::string& caption) {
        auto* item = new vcl::TMenuItem(form);
        item->SetCaption(caption);
        item->OnClick = [this, caption](vcl::TObject*) { log.push_back("click " + caption); };
        parent->Add(item);
        return item;
    }
    void AddItems(vcl::TMenuItem* parent, int n, const std::string& prefix = "Item") {
        for (int i = 0; i < n; ++i) Add(parent, prefix + std::to_string(i));
    }
    TbsSkinMenu& Controller() { return *skinForm->SkinMenu; }
    TbsSkinPopupWindow& Level(int i) { return *Controller().Level(i); }
    void Key(int vk) {
        Press(vk);
        Run();
    }

    vcl::TForm* form = nullptr;
    TbsSkinForm* skinForm = nullptr;
    vcl::TEdit* edit = nullptr;
    TbsSkinPopupMenu* menu = nullptr;
    std::vector<std::string> log;
};

TEST_F(SkinMenuTest, TheDefaultLookHighlightsSeparatesAndHeads) {
    Add(menu->Items(), "First");
    Add(menu->Items(), "-");
    vcl::TMenuItem* header = Add(menu->Items(), "-Title-");
    header->SetEnabled(false);
    vcl::TMenuItem* off = Add(menu->Items(), "Off");
    off->SetEnabled(false);
    Add(menu->Items(), "-Cmd-");
    menu->Popup(300, 200);
    Run();
    ASSERT_EQ(Controller().LevelCount(), 1);
    TbsSkinPopupWindow& w = Level(0);
    const win::HWND h = w.Handle();
    // The first item is highlighted at show: a navy frame around the highlight colour.
    const TRect first = w.Item(0)->ObjectRect;
    EXPECT_EQ(ClientPixel(h, first.Left, first.Top), Rgb(gfx::clNavy));
    EXPECT_EQ(ClientPixel(h, first.Left + 3, first.Top + 2), 0x00D2BDB6u);
    // The separator is a shadow line at half height, from the image column on.
    const TRect sep = w.Item(1)->ObjectRect;
    EXPECT_EQ(RectHeight(sep), 4);
    EXPECT_EQ(ClientPixel(h, sep.Left + 19, sep.Top + 2), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(ClientPixel(h, sep.Left + 19, sep.Top + 1), Rgb(gfx::clWindow));
    // The disabled "-Title-" is a header row on shadow; the enabled one is a command.
    const TRect head = w.Item(2)->ObjectRect;
    EXPECT_EQ(ClientPixel(h, head.Left + 1, head.Top + 1), Rgb(gfx::clBtnShadow));
    EXPECT_TRUE(w.Item(2)->IsHeader());
    EXPECT_FALSE(w.Item(4)->IsHeader());
    // Keys skip the header and the disabled item.
    Key(win::VK_DOWN);
    EXPECT_EQ(w.ActiveItem, 4);
    Key(win::VK_DOWN);
    EXPECT_EQ(w.ActiveItem, 0);
    // Disabled text is drawn in the shadow colour.
    const TRect offRect = w.Item(3)->ObjectRect;
    bool shadowText = false;
    for (int x = offRect.Left + 21; x < offRect.Right - 19; ++x)
        for (int y = offRect.Top; y < offRect.Bottom; ++y)
            if (ClientPixel(h, x, y) == Rgb(gfx::clBtnShadow)) shadowText = true;
    EXPECT_TRUE(shadowText);
}

TEST_F(SkinMenuTest, CheckedItemsShowTheDotOrTheCheckAlsoWithAnImageIndexPastTheList) {
    vcl::TImageList images(form);
    images.SetWidth(16);
    images.SetHeight(16);
    menu->SetImages(&images);  // empty: index 0 equals the count
    vcl::TMenuItem* radio = Add(menu->Items(), "Radio");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    vcl::TMenuItem* check = Add(menu->Items(), "Check");
    check->SetChecked(true);
    check->SetImageIndex(0);
    vcl::TMenuItem* close = Add(menu->Items(), "Close");
    close->SetName("BSF_CLOSE");
    Add(menu->Items(), "Plain");
    menu->Popup(300, 200);
    Run();
    TbsSkinPopupWindow& w = Level(0);
    const win::HWND h = w.Handle();
    const TRect r = w.Item(0)->ObjectRect;  // highlighted; the dot is still window text
    const int gy = (RectHeight(r) - 4) / 2 + 2 - 4;
    EXPECT_EQ(ClientPixel(h, 2 + 3 + 3, r.Top + gy + 3), Rgb(gfx::clWindowText));
    const TRect c = w.Item(1)->ObjectRect;
    int dark = 0;
    for (int x = 0; x < 21; ++x)
        for (int y = c.Top; y < c.Bottom; ++y)
            if (ClientPixel(h, x, y) == Rgb(gfx::clWindowText)) ++dark;
    EXPECT_GE(dark, 15);  // three strokes of the check
    const TRect p = w.Item(3)->ObjectRect;
    int plain = 0;
    for (int x = 0; x < 21; ++x)
        for (int y = p.Top; y < p.Bottom; ++y)
            if (ClientPixel(h, x, y) == Rgb(gfx::clWindowText)) ++plain;
    EXPECT_EQ(plain, 0);
    const TRect cl = w.Item(2)->ObjectRect;
    int cross = 0;
    for (int x = 0; x < 21; ++x)
        for (int y = cl.Top; y < cl.Bottom; ++y)
            if (ClientPixel(h, x, y) == Rgb(gfx::clWindowText)) ++cross;
    EXPECT_GT(cross, 0);
}

struct TSizeCase {
    const char* Name;
    int Items;
    int MaxItems;
    bool Two;
    int Height;
    bool Scroll;
};

TEST_F(SkinMenuTest, SizingFollowsTheItemLimit) {
    const TSizeCase cases[] = {
        {"plain", 8, 0, false, 8 * 20 + 4, false},
        {"limited", 8, 5, false, 5 * 20 + 4 + 20, true},
        {"limited, two lists", 8, 5, true, 5 * 20 + 6 + 20, false},
        {"limit above the count", 4, 5, false, 4 * 20 + 4, false},
    };
    for (const TSizeCase& c : cases) {
        SCOPED_TRACE(c.Name);
        vcl::TPopupMenu m(nullptr);
        AddItems(m.Items(), c.Items);
        vcl::TMenuItem empty(nullptr);
        Controller().MaxMenuItemsInWindow = c.MaxItems;
        if (c.Two)
            Controller().Popup2(nullptr, nullptr, 0, {300, 100, 300, 100}, m.Items(), &empty,
                                false);
        else
            Controller().Popup(nullptr, nullptr, 0, {300, 100, 300, 100}, m.Items(), false);
        ASSERT_EQ(Controller().LevelCount(), 1);
        EXPECT_EQ(Level(0).Height(), c.Height);
        EXPECT_EQ(Level(0).Scroll, c.Scroll);
        Controller().CloseMenu(0);
        Run();
    }
}

struct TPlaceCase {
    const char* Name;
    TRect R;
    bool ByItem;
    int Items;
    TPoint Expected;  // -1: not checked
};

TEST_F(SkinMenuTest, PlacingAgainstTheWorkArea) {
    // 10 items: 204 pixels high.
    const TPlaceCase cases[] = {
        {"below the point", {300, 100, 300, 100}, false, 10, {300, 100}},
        {"near the bottom it opens above", {300, 700, 340, 720}, false, 10, {300, 700 - 204}},
        {"submenu from the upper half ends at the bottom",
         {500, 300, 600, 320},
         true,
         30,
         {601, 760 - 604}},
        {"submenu from the lower half opens upwards",
         {500, 700, 600, 720},
         true,
         10,
         {601, 720 - 204 + 2}},
        {"no room on the right", {1200, 100, 1270, 120}, true, 10, {-1, 100 - 2}},
        {"taller than the work area", {300, 100, 300, 100}, false, 50, {301, 0}},
    };
    for (const TPlaceCase& c : cases) {
        SCOPED_TRACE(c.Name);
        vcl::TPopupMenu m(nullptr);
        AddItems(m.Items(), c.Items);
        Controller().Popup(nullptr, nullptr, 0, c.R, m.Items(), false);
        TbsSkinPopupWindow& w = Level(0);
        if (c.ByItem) {
            // Placed again as a submenu from the rectangle.
            Controller().CloseMenu(0);
            vcl::TMenuItem holder(nullptr);
            Controller().Popup(nullptr, nullptr, 0, {0, 0, 0, 0}, m.Items(), false);
            TbsSkinPopupWindow& w2 = Level(0);
            w2.Show(c.R, m.Items(), 0, true, false);
            const int x = c.Expected.X == -1 ? c.R.Left - w2.Width() - 1 : c.Expected.X;
            EXPECT_EQ(w2.Left(), x);
            EXPECT_EQ(w2.Top(), c.Expected.Y);
        } else {
            EXPECT_EQ(w.Left(), c.Expected.X);
            EXPECT_EQ(w.Top(), c.Expected.Y);
            if (c.Items == 50) {
                EXPECT_TRUE(w.Scroll);
                EXPECT_EQ(w.Height(), 760);
            }
        }
        Controller().CloseMenu(0);
        Run();
    }
}

TEST_F(SkinMenuTest, ATallMenuScrollsOneItemPer100MsWhileThePointerRestsOnTheBand) {
    AddItems(menu->Items(), 50);
    menu->Popup(300, 100);
    Run();
    TbsSkinPopupWindow& w = Level(0);
    ASSERT_TRUE(w.Scroll);
    EXPECT_EQ(w.VisibleStartIndex, 0);
    Screen->MouseMove(w.ClientToScreen({20, w.Height() - 6}));
    AdvanceMs(50);
    Run();
    EXPECT_EQ(w.ScrollCode, 2);
    AdvanceMs(100);
    Run();
    EXPECT_EQ(w.VisibleStartIndex, 1);
    AdvanceMs(100);
    Run();
    EXPECT_EQ(w.VisibleStartIndex, 2);
}

TEST_F(SkinMenuTest, ALeafOfAChainDroppedByAControlClosesInOrder) {
    auto* button = new vcl::TButton(form);
    button->SetName("Button");
    button->SetParent(form);
    button->SetBounds(150, 10, 60, 22);
    Run();
    Watch(button);
    Watch(form);
    vcl::TMenuItem* sub = Add(menu->Items(), "Sub");
    Add(sub, "Leaf");
    menu->OnMenuClose = [this](vcl::TObject* sender) {
        log.push_back(sender == skinForm->SkinMenu ? "menuclose controller" : "menuclose ?");
    };
    ASSERT_TRUE(menu->PopupFromRect2(button, {400, 200, 460, 222}, false));
    Run();
    // Open the submenu with a click, then click its leaf.
    const TRect r = Level(0).Item(0)->ObjectRect;
    Click(&Level(0), r.Left + 5, r.Top + 5);
    ASSERT_EQ(Controller().LevelCount(), 2);
    EXPECT_TRUE(Level(0).Item(0)->Down);
    log.clear();
    ForgetHeard();
    edit->OnKeyDown = nullptr;
    // Record the messages in the log as they come.
    button->WindowProc = [this, old = button->WindowProc](vcl::TMessage& m) {
        if (m.Msg == WM_CLOSESKINMENU) log.push_back("button 1228");
        if (m.Msg == WM_AFTERDISPATCH) log.push_back("button 1229");
        old(m);
    };
    const TRect leaf = Level(1).Item(0)->ObjectRect;
    Click(&Level(1), leaf.Left + 5, leaf.Top + 5);
    EXPECT_EQ(log, (std::vector<std::string>{"button 1228", "menuclose controller", "close",
                                             "click Leaf", "button 1229"}));
    EXPECT_EQ(CountHeard("Main", WM_CLOSESKINMENU), 1);
    EXPECT_EQ(CountHeard("Main", win::WM_NCACTIVATE), 0);
    EXPECT_FALSE(Controller().Visible());
    EXPECT_TRUE(edit->Focused());
}

TEST_F(SkinMenuTest, OpenedWithPopupNoControlHearsTheClose) {
    auto* button = new vcl::TButton(form);
    button->SetName("Button");
    button->SetParent(form);
    Run();
    Watch(button);
    Add(menu->Items(), "Leaf");
    menu->Popup(300, 200);
    Run();
    Key(win::VK_RETURN);
    EXPECT_EQ(CountHeard("Button", WM_CLOSESKINMENU), 0);
    EXPECT_EQ(CountHeard("Button", WM_AFTERDISPATCH), 0);
    EXPECT_NE(std::find(log.begin(), log.end(), "click Leaf"), log.end());
}

TEST_F(SkinMenuTest, ASecondDropOverAnOpenChainReleasesTheFirstControl) {
    auto* b1 = new vcl::TButton(form);
    b1->SetName("B1");
    b1->SetParent(form);
    auto* b2 = new vcl::TButton(form);
    b2->SetName("B2");
    b2->SetParent(form);
    Run();
    Watch(b1);
    Watch(b2);
    Add(menu->Items(), "Leaf");
    auto* menu2 = new TbsSkinPopupMenu(form);
    Add(menu2->Items(), "Other");
    ASSERT_TRUE(menu->PopupFromRect2(b1, {300, 200, 340, 220}, false));
    ASSERT_TRUE(menu2->PopupFromRect2(b2, {400, 200, 440, 220}, false));
    Run();
    EXPECT_EQ(CountHeard("B1", WM_CLOSESKINMENU), 1);
    EXPECT_EQ(CountHeard("B2", WM_CLOSESKINMENU), 0);
    EXPECT_EQ(Controller().PopupCtrl, b2);
    Key(win::VK_ESCAPE);
    EXPECT_EQ(CountHeard("B2", WM_CLOSESKINMENU), 1);
}

TEST_F(SkinMenuTest, RestingOnAnItemWithSubItemsOpensItsSubmenuAfter500Ms) {
    Add(menu->Items(), "Top");
    vcl::TMenuItem* sub = Add(menu->Items(), "Sub");
    Add(sub, "Leaf");
    menu->Popup(300, 200);
    Run();
    TbsSkinPopupWindow& w = Level(0);
    EXPECT_EQ(w.ActiveItem, 0);
    EXPECT_EQ(Controller().LevelCount(), 1);
    const TRect r = w.Item(1)->ObjectRect;
    Screen->MouseMove(w.ClientToScreen({r.Left + 5, r.Top + 5}));
    AdvanceMs(50);
    Run();
    EXPECT_EQ(w.ActiveItem, 1);
    log.clear();
    AdvanceMs(400);
    Run();
    EXPECT_EQ(Controller().LevelCount(), 1);
    AdvanceMs(100);
    Run();
    ASSERT_EQ(Controller().LevelCount(), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"click Sub"}));
    EXPECT_TRUE(w.Item(1)->Down);

    // Leaving before the time is up opens nothing.
    Controller().CloseMenu(1);
    w.Item(1)->Down = false;
    const TRect top = w.Item(0)->ObjectRect;
    Screen->MouseMove(w.ClientToScreen({top.Left + 5, top.Top + 5}));
    AdvanceMs(50);
    Run();
    Screen->MouseMove(w.ClientToScreen({r.Left + 5, r.Top + 5}));
    AdvanceMs(50);
    Run();
    AdvanceMs(400);
    Run();
    Screen->MouseMove(w.ClientToScreen({top.Left + 5, top.Top + 5}));
    AdvanceMs(50);
    Run();
    AdvanceMs(600);
    Run();
    EXPECT_EQ(Controller().LevelCount(), 1);
}

// A submenu opens right of its item, its first item level with it, however it was opened.
TEST_F(SkinMenuTest, ASubmenuOpensBesideItsItemByKeyAndByMouse) {
    Add(menu->Items(), "Top");
    vcl::TMenuItem* sub = Add(menu->Items(), "Sub");
    Add(sub, "Leaf");
    Add(sub, "Leaf2");
    for (const bool byMouse : {false, true}) {
        SCOPED_TRACE(byMouse ? "mouse" : "keyboard");
        menu->Popup(300, 200);
        Run();
        TbsSkinPopupWindow& w = Level(0);
        const TRect item = w.Item(1)->ObjectRect;
        if (byMouse) {
            Screen->MouseMove(w.ClientToScreen({item.Left + 5, item.Top + 5}));
            AdvanceMs(50);
            Run();
            AdvanceMs(550);
            Run();
        } else {
            Key(win::VK_DOWN);
            Key(win::VK_RIGHT);
        }
        ASSERT_EQ(Controller().LevelCount(), 2);
        TbsSkinPopupWindow& s = Level(1);
        EXPECT_EQ(s.Left(), w.Left() + item.Right + 1);
        EXPECT_EQ(s.Top(), w.Top() + item.Top - s.NewItemsRect.Top);
        EXPECT_GT(s.Left(), 300);
        Key(win::VK_ESCAPE);
        Key(win::VK_ESCAPE);
        ASSERT_FALSE(Controller().Visible());
    }
}

TEST_F(SkinMenuTest, KeysMoveWrapOpenAndCloseWhileTheEditWaits) {
    AddItems(menu->Items(), 3);
    vcl::TMenuItem* sub = Add(menu->Items(), "&Sub");
    Add(sub, "Leaf");
    menu->Popup(300, 200);
    Run();
    log.clear();
    TbsSkinPopupWindow& w = Level(0);
    EXPECT_EQ(w.ActiveItem, 0);
    Key(win::VK_UP);
    EXPECT_EQ(w.ActiveItem, 3);
    Key(win::VK_DOWN);
    EXPECT_EQ(w.ActiveItem, 0);
    Key(win::VK_LEFT);  // one level: nothing
    EXPECT_EQ(Controller().LevelCount(), 1);
    Key('S');  // the accelerator opens the submenu
    ASSERT_EQ(Controller().LevelCount(), 2);
    Key(win::VK_LEFT);
    EXPECT_EQ(Controller().LevelCount(), 1);
    Key(win::VK_RIGHT);
    EXPECT_EQ(Controller().LevelCount(), 2);
    Key(win::VK_ESCAPE);
    EXPECT_EQ(Controller().LevelCount(), 1);
    Key(win::VK_ESCAPE);
    EXPECT_FALSE(Controller().Visible());
    EXPECT_EQ(std::count(log.begin(), log.end(), "close"), 1);
    for (const std::string& entry : log) EXPECT_EQ(entry.rfind("editkey", 0), std::string::npos);
    log.clear();
    Key('A');
    EXPECT_EQ(log, (std::vector<std::string>{"editkey 65"}));
}

// A menu freed while its levels are open (as an edit frees its own menu) closes them first: the
// next keys go to the focused control, never to levels that list freed items.
TEST_F(SkinMenuTest, AMenuFreedWhileOpenClosesItsLevelsFirst) {
    AddItems(menu->Items(), 2);
    vcl::TMenuItem* sub = Add(menu->Items(), "&Sub");
    Add(sub, "Leaf");
    menu->Popup(300, 200);
    Run();
    Key('S');
    ASSERT_EQ(Controller().LevelCount(), 2);
    log.clear();
    menu->Free();
    menu = nullptr;
    Run();
    EXPECT_EQ(Controller().LevelCount(), 0);
    EXPECT_FALSE(Controller().Visible());
    Key(win::VK_DOWN);
    Key('A');
    EXPECT_EQ(log, (std::vector<std::string>{"close", "editkey 40", "editkey 65"}));
}

TEST_F(SkinMenuTest, AKeyDownOnAScrolledMenuWrapsTheView) {
    AddItems(menu->Items(), 8);
    skinForm->SetMaxMenuItemsInWindow(5);
    menu->Popup(300, 200);
    Run();
    TbsSkinPopupWindow& w = Level(0);
    ASSERT_TRUE(w.Scroll);
    for (int i = 0; i < 7; ++i) Key(win::VK_DOWN);
    EXPECT_EQ(w.ActiveItem, 7);
    EXPECT_EQ(w.VisibleStartIndex, 3);
    Key(win::VK_DOWN);
    EXPECT_EQ(w.ActiveItem, 0);
    EXPECT_EQ(w.VisibleStartIndex, 0);
    Key(win::VK_UP);
    EXPECT_EQ(w.ActiveItem, 7);
    EXPECT_EQ(w.VisibleStartIndex, 3);
}

TEST_F(SkinMenuTest, AClickInTheFormClosesTheMenuBeforeTheEditSeesIt) {
    Add(menu->Items(), "Leaf");
    menu->Popup(300, 400);
    Run();
    Watch(edit);
    bool openAtDown = true;
    edit->WindowProc = [&, old = edit->WindowProc](vcl::TMessage& m) {
        if (m.Msg == win::WM_LBUTTONDOWN) openAtDown = Controller().Visible();
        old(m);
    };
    Click(edit, 5, 5);
    EXPECT_FALSE(openAtDown);
    EXPECT_FALSE(Controller().Visible());
}

TEST_F(SkinMenuTest, AnEmptyMenuOpensAndClosesTheMenuModeAndTheEditKeepsItsKeys) {
    menu->Popup(300, 200);
    Run();
    EXPECT_EQ(log, (std::vector<std::string>{"open", "close"}));
    log.clear();
    Key('A');
    EXPECT_EQ(log, (std::vector<std::string>{"editkey 65"}));
}

// A clock that moves 1 ms on every read and lets the test look around at each read.
class TStepClock : public sys::TClock {
public:
    std::int64_t NowMicros() override {
        if (OnRead) OnRead(Now);
        Now += 1000;
        return Now;
    }
    std::int64_t Now = 5'000'000'000;
    std::function<void(std::int64_t)> OnRead;
};

TEST_F(SkinMenuTest, TheFirstLevelFadesInAndAChainOverAChainShowsAtOnce) {
    AddItems(menu->Items(), 2);
    skinForm->FMenusAlphaBlend = true;
    skinForm->FMenusAlphaBlendAnimation = true;
    skinForm->FMenusAlphaBlendValue = 200;
    TStepClock clock;
    std::vector<int> alphas;
    std::vector<std::int64_t> times;
    clock.OnRead = [&](std::int64_t now) {
        if (Controller().LevelCount() == 0 || !Level(0).HandleAllocated()) return;
        const win::TTopLevelState* state = Screen->Find(Level(0).Handle());
        if (!state || state->Layer != win::TLayerMode::Attributes) return;
        if (alphas.empty() || alphas.back() != state->ConstantAlpha) {
            alphas.push_back(state->ConstantAlpha);
            times.push_back(now);
        }
    };
    sys::SetClock(&clock);
    menu->Popup(300, 200);
    std::vector<int> expected;
    for (int a = 0; a <= 195; a += 13) expected.push_back(a);
    expected.push_back(200);
    EXPECT_EQ(alphas, expected);
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i] - times[i - 1], 5000);
    alphas.clear();
    menu->Popup(320, 220);  // over the open chain
    EXPECT_EQ(alphas, (std::vector<int>{200}));
    sys::SetClock(&FClock);
    Key(win::VK_ESCAPE);

    // Without the layered capability no layered style is set.
    win::TBackendCaps caps = Screen->Capabilities();
    caps.LayeredWindows = false;
    Screen->SetCapabilities(caps);
    menu->Popup(300, 200);
    const win::TTopLevelState* state = Screen->Find(Level(0).Handle());
    ASSERT_TRUE(state);
    EXPECT_EQ(state->Layer, win::TLayerMode::None);
    EXPECT_EQ(win::GetWindowLongPtr(Level(0).Handle(), win::GWL_EXSTYLE) & win::WS_EX_LAYERED, 0);
}

TEST_F(SkinMenuTest, TheMouseWheelScrollsNothingWhileAMenuIsOpen) {
    AddItems(menu->Items(), 2);
    menu->Popup(300, 200);
    Run();
    Watch(edit);
    win::PostMessage(edit->Handle(), win::WM_MOUSEWHEEL, 120 << 16, 0);
    Run();
    EXPECT_EQ(CountHeard("Edit", win::WM_MOUSEWHEEL), 0);
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

class ImagesMenuTest : public vcl::test::TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        vcl::Application->CreateForm(form);
        form->SetName("Main");
        form->SetBounds(100, 100, 400, 300);
        form->Show();
        Run();
        images = new vcl::TImageList(form);
        images->SetWidth(16);
        images->SetHeight(16);
        gfx::TBitmap b;
        b.SetPixelFormat(gfx::pf24bit);
        b.SetSize(16, 16);
        b.Canvas().Brush().SetColor(gfx::clRed);
        b.Canvas().FillRect({0, 0, 16, 16});
        for (int i = 0; i < 7; ++i) images->Add(&b, nullptr);
        menu = new TbsSkinImagesMenu(form);
        menu->SetImages(images);
        menu->SetColumnsCount(3);
        for (int i = 0; i < 7; ++i) menu->AddItem().ImageIndex = i;
        menu->OnMenuClose = [this](vcl::TObject*) { log.push_back("close"); };
        menu->OnItemClick = [this](vcl::TObject*) { log.push_back("itemclick"); };
        menu->OnChange = [this](vcl::TObject*) { log.push_back("change"); };
    }
    void Key(int vk) {
        Press(vk);
        Run();
    }

    vcl::TForm* form = nullptr;
    vcl::TImageList* images = nullptr;
    TbsSkinImagesMenu* menu = nullptr;
    std::vector<std::string> log;
};

TEST_F(ImagesMenuTest, CellsFormRowsAndAHeaderStartsANewRow) {
    TbsImagesMenuItem& header = menu->AddItem();
    header.Header = true;
    header.Caption = "More";
    menu->AddItem().ImageIndex = 0;
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    Run();
    std::vector<int> tops;
    for (int i = 0; i < menu->ItemCount(); ++i) tops.push_back(menu->Item(i).ItemRect.Top);
    EXPECT_EQ(tops, (std::vector<int>{5, 5, 5, 32, 32, 32, 59, 86, 113}));
    EXPECT_EQ(menu->Item(6).ItemRect.Left, 5);
    EXPECT_EQ(menu->Item(7).ItemRect.Width(), 3 * 26);
    EXPECT_EQ(menu->PopupWindow()->Width(), 3 * 26 + 10);
    // Arrow keys skip the header.
    Key(win::VK_DOWN);
    EXPECT_EQ(menu->PopupWindow()->MouseInItem, 0);
    for (int i = 0; i < 6; ++i) Key(win::VK_RIGHT);
    EXPECT_EQ(menu->PopupWindow()->MouseInItem, 6);
    Key(win::VK_RIGHT);
    EXPECT_EQ(menu->PopupWindow()->MouseInItem, 8);
    Key(win::VK_UP);
    EXPECT_EQ(menu->PopupWindow()->MouseInItem, 6);
}

TEST_F(ImagesMenuTest, ColumnsOutsideOneToFiftyAreRefused) {
    for (int refused : {0, 51}) {
        menu->SetColumnsCount(refused);
        EXPECT_EQ(menu->ColumnsCount(), 3);
    }
    menu->SetColumnsCount(50);
    EXPECT_EQ(menu->ColumnsCount(), 50);
}

TEST_F(ImagesMenuTest, ChoosingTheChosenCellAgainClicksWithoutAChange) {
    menu->ItemIndex = 4;
    menu->Item(4).OnClick = [this](vcl::TObject* sender) {
        log.push_back(sender == menu ? "click" : "click ?");
    };
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    Run();
    const TRect r = menu->Item(4).ItemRect;
    Click(menu->PopupWindow(), r.Left + 3, r.Top + 3);
    EXPECT_EQ(log, (std::vector<std::string>{"close", "click", "itemclick"}));
    EXPECT_EQ(menu->PopupWindow(), nullptr);
    log.clear();
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    Run();
    const TRect r2 = menu->Item(2).ItemRect;
    Click(menu->PopupWindow(), r2.Left + 3, r2.Top + 3);
    EXPECT_EQ(log, (std::vector<std::string>{"close", "itemclick", "change"}));
    EXPECT_EQ(menu->SelectedItem()->ImageIndex, 2);
}

TEST_F(ImagesMenuTest, EscAClickOutsideARightClickOrALostCaptureCloseWithoutEvents) {
    const std::vector<std::string> onlyClose{"close"};
    auto open = [&] {
        log.clear();
        ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
        Run();
    };
    open();
    Key(win::VK_ESCAPE);
    EXPECT_EQ(log, onlyClose);
    open();
    Screen->Click({900, 600});
    Run();
    EXPECT_EQ(log, onlyClose);
    open();
    Screen->Click(menu->PopupWindow()->ClientToScreen({10, 10}), win::TMouseButton::Right);
    Run();
    EXPECT_EQ(log, onlyClose);
    open();
    win::SetCapture(form->Handle());
    Run();
    EXPECT_EQ(log, onlyClose);
    open();
    Screen->DeactivateApp();
    Run();
    EXPECT_EQ(log, onlyClose);
    EXPECT_EQ(menu->PopupWindow(), nullptr);
    EXPECT_EQ(menu->ItemIndex, -1);
}

TEST_F(ImagesMenuTest, NearTheBottomOfTheWorkAreaItOpensAbove) {
    ASSERT_TRUE(menu->PopupFromRect({200, 700, 240, 720}));
    Run();
    EXPECT_EQ(menu->PopupWindow()->Top(), 700 - menu->PopupWindow()->Height());
    menu->Hide();
    Run();
    // No images: nothing opens.
    TbsSkinImagesMenu empty(nullptr);
    EXPECT_FALSE(empty.PopupFromRect({0, 0, 1, 1}));
}

TEST_F(ImagesMenuTest, ItemsAreACollectionWhoseSetterCopiesImageCaptionButtonAndHint) {
    TbsSkinImagesMenu other(nullptr);
    TbsImagesMenuItem& source = other.AddItem();
    source.ImageIndex = 5;
    source.Caption = "Caption";
    source.Button = true;
    source.Hint = "Hint";
    source.Header = true;
    source.OnClick = [](vcl::TObject*) {};
    menu->SetImagesItems(other.ImagesItems());
    ASSERT_EQ(menu->ItemCount(), 1);
    const TbsImagesMenuItem& copy = menu->Item(0);
    EXPECT_EQ(copy.ImageIndex, 5);
    EXPECT_EQ(copy.Caption, "Caption");
    EXPECT_TRUE(copy.Button);
    EXPECT_EQ(copy.Hint, "Hint");
    EXPECT_FALSE(copy.Header);
    EXPECT_FALSE(copy.OnClick);
    EXPECT_EQ(menu->ImagesItems().GetOwner(), menu);
    EXPECT_EQ(other.ItemCount(), 1);
}

TEST_F(ImagesMenuTest, WithASkinTheWindowWearsThePopupPictureAndTheCellsTheButtonFrames) {
    auto* sd = new TbsSkinData(form);
    test::FillMenuSkin(*sd, {.MenuHeader = false, .Mask = true});
    menu->SkinData = sd;
    TbsImagesMenuItem& header = menu->AddItem();
    header.Header = true;
    header.Caption = "More";
    TbsImagesMenuItem& button = menu->AddItem();
    button.Button = true;
    button.Caption = "Wide";
    menu->ItemIndex = 4;
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    Run();
    TbsSkinImagesMenuPopupWindow& w = *menu->PopupWindow();
    // The picture's 2-pixel frame around the items block; the header is the label's 16 pixels.
    EXPECT_EQ(menu->Item(0).ItemRect.Left, 2);
    EXPECT_EQ(menu->Item(0).ItemRect.Top, 2);
    EXPECT_EQ(RectHeight(menu->Item(7).ItemRect), 16);
    EXPECT_EQ(w.Width(), 3 * 26 + 4);
    EXPECT_EQ(w.Height(), menu->Item(8).ItemRect.Bottom + 2);
    const win::HWND h = w.Handle();
    EXPECT_EQ(ClientPixel(h, 1, 1), test::kFrameColor);
    EXPECT_EQ(ClientPixel(h, 2, menu->Item(7).ItemRect.Top + 1), test::kHeaderColor);
    // The mask cuts the corner pixels out of the window.
    const TPoint corner = w.ClientToScreen({0, 0});
    EXPECT_NE(win::WindowFromPoint(corner), h);
    EXPECT_EQ(win::WindowFromPoint(w.ClientToScreen({1, 1})), h);
    // The chosen cell is pressed, the focused one hot, both from "menuitembutton".
    Key(win::VK_DOWN);
    ASSERT_EQ(w.MouseInItem, 0);
    const TRect hot = menu->Item(0).ItemRect, chosen = menu->Item(4).ItemRect;
    EXPECT_EQ(ClientPixel(h, hot.Left + 1, hot.Top + 1), test::kButtonHotColor);
    EXPECT_EQ(ClientPixel(h, chosen.Left + 1, chosen.Top + 1), test::kButtonDownColor);
    // A hot button's text is in the record's hot font colour (yellow).
    for (int i = 0; i < 7; ++i) Key(win::VK_RIGHT);
    ASSERT_EQ(w.MouseInItem, 8);
    const TRect br = menu->Item(8).ItemRect;
    int yellow = 0;
    for (int y = br.Top; y < br.Bottom; ++y)
        for (int x = br.Left; x < br.Right; ++x) {
            const gfx::TColor p = ClientPixel(h, x, y);
            if ((p & 0xFF) > 0xC0 && (p >> 8 & 0xFF) > 0xC0 && (p >> 16 & 0xFF) < 0x40) ++yellow;
        }
    EXPECT_GT(yellow, 10);
}

TEST_F(ImagesMenuTest, TheWindowFadesInTenAtATimeWhenAsked) {
    menu->AlphaBlend = true;
    menu->AlphaBlendAnimation = true;
    menu->AlphaBlendValue = 95;
    TStepClock clock;
    std::vector<int> alphas;
    std::vector<std::int64_t> times;
    clock.OnRead = [&](std::int64_t now) {
        TbsSkinImagesMenuPopupWindow* w = menu->PopupWindow();
        if (!w || !w->HandleAllocated()) return;
        const win::TTopLevelState* state = Screen->Find(w->Handle());
        if (!state || state->Layer != win::TLayerMode::Attributes) return;
        if (alphas.empty() || alphas.back() != state->ConstantAlpha) {
            alphas.push_back(state->ConstantAlpha);
            times.push_back(now);
        }
    };
    sys::SetClock(&clock);
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    sys::SetClock(&FClock);
    const win::TTopLevelState* shown = Screen->Find(menu->PopupWindow()->Handle());
    ASSERT_TRUE(shown);
    alphas.push_back(shown->ConstantAlpha);  // the last step, set after the last clock read
    EXPECT_EQ(alphas, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 95}));
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i] - times[i - 1], 5000);
    menu->Hide();
    Run();
    // Without the animation the window shows at its alpha at once.
    menu->AlphaBlendAnimation = false;
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    const win::TTopLevelState* state = Screen->Find(menu->PopupWindow()->Handle());
    ASSERT_TRUE(state);
    EXPECT_EQ(state->ConstantAlpha, 95);
}

TEST_F(ImagesMenuTest, TheCellUnderThePointerShowsItsHintThroughTheSkinHint) {
    auto* hint = new TbsSkinHint(form);
    menu->SetSkinHint(hint);
    menu->Item(0).Hint = "Red";
    menu->Item(2).Hint = "Also red";
    ASSERT_TRUE(menu->PopupFromRect({200, 200, 240, 220}));
    Run();
    TbsSkinImagesMenuPopupWindow& w = *menu->PopupWindow();
    auto pointAt = [&](int item) {
        const TRect r = menu->Item(item).ItemRect;
        Screen->MouseMove(w.ClientToScreen({r.Left + 4, r.Top + 4}));
        Run();
    };
    auto waitHintPause = [&] {
        AdvanceMs(vcl::Application->HintPause + 10);
        Run();
    };
    struct TStep {
        int Item;
        bool Shown;
    };
    for (const TStep& step : {TStep{0, true}, TStep{1, false}, TStep{2, true}, TStep{3, false}}) {
        SCOPED_TRACE(step.Item);
        pointAt(step.Item);
        waitHintPause();
        EXPECT_EQ(w.MouseInItem, step.Item);
        EXPECT_EQ(hint->IsVisible(), step.Shown);
    }
    pointAt(0);
    waitHintPause();
    ASSERT_TRUE(hint->IsVisible());
    // Without ShowHints no hint comes; closing hides the one shown.
    menu->ShowHints = false;
    pointAt(2);
    EXPECT_TRUE(hint->IsVisible());
    menu->ShowHints = true;
    Key(win::VK_ESCAPE);
    EXPECT_FALSE(hint->IsVisible());
    // A hint component that goes is forgotten.
    hint->Free();
    EXPECT_EQ(menu->SkinHint(), nullptr);
}

}  // namespace
}  // namespace skin
