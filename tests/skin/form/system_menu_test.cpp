// The skinned system menu of a form (headless, virtual clock): its items by window state, with
// the application's own items and with a resource table; where it opens from the caption's right
// click, Alt+Space and the system-menu button; the button's double click; the tray menu.
#include <string>
#include <vector>

#include "form_test_support.h"
#include "skin/core/resource_strings.h"

namespace skin::test {
namespace {

class TSystemMenuTest : public TFormSkinTest {
public:
    void SetUp() override {
        TFormSkinTest::SetUp();
        sf = SkinnedForm({}, 400, 200);
        form = sf->FForm;
        form->OnClose = [this](vcl::TObject*, vcl::TCloseAction& action) {
            ++closes;
            action = vcl::caNone;
        };
    }
    void TearDown() override {
        form->OnClose = nullptr;
        TFormSkinTest::TearDown();
    }
    static std::vector<std::string> Captions(vcl::TMenuItem* root) {
        std::vector<std::string> out;
        for (int i = 0; i < root->Count(); ++i) out.push_back(root->Items(i)->Caption());
        return out;
    }
    TbsSkinMenu& Controller() { return *sf->SkinMenu; }
    // The screen rectangle of the system-menu button.
    gfx::TRect SysButton() {
        const gfx::TRect r = Object(sf, "sysmenubutton")->ObjectRect;
        return r.Offset(form->Left(), form->Top());
    }
    gfx::TPoint OnCaption() { return {form->Left() + kCaptionRect.Left + 40, form->Top() + 15}; }

    TbsSkinForm* sf = nullptr;
    vcl::TCustomForm* form = nullptr;
    int closes = 0;
};

TEST_F(TSystemMenuTest, ItsItemsFollowTheWindowState) {
    const std::vector<std::string> normal{"Mi&nimize", "Ma&ximize", "Ro&llUp", "-", "&Close"};
    struct TCase {
        const char* Name;
        vcl::TWindowState State;
        bool RolledUp;
        bool Tray;
        bool UserMenu;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"normal", vcl::wsNormal, false, false, false, normal},
        {"maximized",
         vcl::wsMaximized,
         false,
         false,
         false,
         {"Mi&nimize", "&Restore", "Ro&llUp", "-", "&Close"}},
        {"minimized",
         vcl::wsMinimized,
         false,
         false,
         false,
         {"Ma&ximize", "&Restore", "-", "&Close"}},
        {"rolled up",
         vcl::wsNormal,
         true,
         false,
         false,
         {"Mi&nimize", "Ma&ximize", "&Restore", "-", "&Close"}},
        {"tray button",
         vcl::wsNormal,
         false,
         true,
         false,
         {"Mi&nimize", "Ma&ximize", "Ro&llUp", "Minimize to &Tray", "-", "&Close"}},
        {"own items",
         vcl::wsNormal,
         false,
         false,
         true,
         {"Mi&nimize", "Ma&ximize", "Ro&llUp", "Alpha", "Beta", "&Close"}},
    };
    auto* own = new vcl::TPopupMenu(form);
    for (const char* caption : {"Alpha", "Beta"}) {
        auto* item = new vcl::TMenuItem(form);
        item->SetCaption(caption);
        own->Items()->Add(item);
    }
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        sf->FWindowState = c.State;
        sf->FRollUpState = c.RolledUp;
        sf->SetBorderIcons(c.Tray ? TbsBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp,
                                                   biMinimizeToTray}
                                  : TbsBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp});
        sf->SetSystemMenu(c.UserMenu ? own : nullptr);
        // Made again on every opening, never added twice.
        for (int opening = 0; opening < 2; ++opening)
            EXPECT_EQ(Captions(sf->GetSysMenuItems()), c.Expected) << opening;
        vcl::TMenuItem* root = sf->GetSysMenuItems();
        EXPECT_EQ(vcl::ShortCutToText(root->Items(root->Count() - 1)->ShortCut()), "Alt+F4");
    }
    sf->FWindowState = vcl::wsNormal;
    sf->FRollUpState = false;
    sf->SetSystemMenu(nullptr);
    // Opened twice at the cursor: the same five items.
    for (int opening = 0; opening < 2; ++opening) {
        sf->PopupSystemMenu(300, 300);
        Run();
        ASSERT_TRUE(Controller().Visible());
        EXPECT_EQ(Controller().Level(0)->ItemCount(), 5);
    }
}

// The items run the form's state commands.
TEST_F(TSystemMenuTest, ChosenItemsMaximizeRestoreAndRollUp) {
    const gfx::TRect normal = form->BoundsRect();
    auto choose = [&](int accelerator) {
        sf->PopupSystemMenu(300, 300);
        Run();
        ASSERT_TRUE(Controller().Visible());
        Press(accelerator);
        Run();
        EXPECT_FALSE(Controller().Visible());
    };
    choose('X');
    EXPECT_EQ(sf->WindowState(), vcl::wsMaximized);
    EXPECT_EQ(form->BoundsRect(), (gfx::TRect{0, 0, 1280, 760}));
    choose('R');
    EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
    EXPECT_EQ(form->BoundsRect(), normal);
    choose('L');
    EXPECT_TRUE(sf->RollUpState());
    EXPECT_EQ(form->Height(), sf->GetMinHeight());
    choose('R');
    EXPECT_FALSE(sf->RollUpState());
    EXPECT_EQ(form->BoundsRect(), normal);
}

TEST_F(TSystemMenuTest, AResourceTableRenamesTheItemsButNotTheTrayMenus) {
    auto* table = new TbsResourceStrData(vcl::Application);
    rtl::TStringList lines;
    for (const char* line :
         {"MI_MINCAPTION=最小化", "MI_MAXCAPTION=最大化", "MI_ROLLUPCAPTION=卷起",
          "MI_RESTORECAPTION=还原", "MI_CLOSECAPTION=关闭"})
        lines.Add(line);
    table->SetResStrings(lines);
    sf->SkinData()->SetResourceStrData(table);
    EXPECT_EQ(Captions(sf->GetSysMenuItems()),
              (std::vector<std::string>{"最小化", "最大化", "卷起", "-", "关闭"}));
    EXPECT_EQ(Captions(sf->SysTrayMenu()->Items()),
              (std::vector<std::string>{"&Restore", "-", "&Close"}));
    // The tray menu's close runs the form's Close.
    sf->SysTrayMenu()->Items()->Items(2)->Click();
    EXPECT_EQ(closes, 1);
}

TEST_F(TSystemMenuTest, ARightClickOnTheCaptionOpensItAtTheCursorUnlessDisabled) {
    for (const bool disabled : {false, true}) {
        SCOPED_TRACE(disabled);
        sf->FDisableSystemMenu = disabled;
        const gfx::TPoint at = OnCaption();
        Screen->MouseMove(at);
        Screen->MouseDown(at, win::TMouseButton::Right);
        Screen->MouseUp(at, win::TMouseButton::Right);
        Run();
        ASSERT_EQ(Controller().Visible(), !disabled);
        if (disabled) continue;
        EXPECT_EQ(Controller().Level(0)->Left(), at.X);
        EXPECT_EQ(Controller().Level(0)->Top(), at.Y);
        // Choosing Close by its accelerator closes the form.
        Press('C');
        Run();
        EXPECT_FALSE(Controller().Visible());
        EXPECT_EQ(closes, 1);
    }
}

TEST_F(TSystemMenuTest, AltSpaceOpensItBelowTheSystemMenuButton) {
    Watch(form);
    Screen->KeyDown(win::VK_MENU);
    Screen->KeyPress(win::VK_SPACE);
    Screen->KeyUp(win::VK_MENU);
    Run();
    ASSERT_TRUE(Controller().Visible());
    const gfx::TRect button = SysButton();
    EXPECT_EQ(Controller().Level(0)->Left(), button.Left);
    EXPECT_EQ(Controller().Level(0)->Top(), button.Bottom);
    EXPECT_EQ(CountHeard("F", win::WM_SYSCHAR), 0);
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_FALSE(Controller().Visible());
    EXPECT_FALSE(sf->InMenu);
}

TEST_F(TSystemMenuTest, TheButtonOpensItOnPressStaysDownAndItsDoubleClickCloses) {
    auto* button = dynamic_cast<TbsSkinButtonObject*>(Object(sf, "sysmenubutton"));
    const gfx::TRect r = SysButton();
    const gfx::TPoint on{r.Left + 5, r.Top + 5};
    Screen->MouseMove(on);
    Run();
    Screen->MouseDown(on);
    Run();
    ASSERT_TRUE(Controller().Visible());
    EXPECT_EQ(Controller().Level(0)->Left(), r.Left);
    EXPECT_EQ(Controller().Level(0)->Top(), r.Bottom);
    EXPECT_TRUE(button->Down());
    Screen->MouseUp(on);
    Run();
    EXPECT_TRUE(button->Down());
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_FALSE(Controller().Visible());
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(closes, 0);
    AdvanceMs(1000);
    Screen->MouseDown(on);
    Screen->MouseUp(on);
    Screen->MouseDown(on);
    Screen->MouseUp(on);
    Run();
    EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace skin::test
