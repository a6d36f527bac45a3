// The main menu bar on a skinned form (headless, 1280 x 800, virtual clock): its default look,
// the scroll marker of a narrow bar, submenus under the mouse, commands on mouse down, merged
// menus, and the keyboard: Alt, F10, arrows, Return, Esc, Alt+letter, menu shortcuts and Alt+F4,
// while an edit keeps the focus.
#include "skin/menus/main_menu_bar.h"

#include <algorithm>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "platform/vcl/edits.h"
#include "skin/core/skin_messages.h"

namespace skin::test {
namespace {

class TMenuBarTest : public TFormSkinTest {
public:
    void SetUp() override {
        TFormSkinTest::SetUp();
        sf = SkinnedForm({}, 500, 200);
        form = sf->FForm;
        sf->FOnMainMenuEnter = [this](vcl::TObject*) { log.push_back("enter"); };
        sf->FOnMainMenuExit = [this](vcl::TObject*) { log.push_back("exit"); };
        edit = new vcl::TEdit(form);
        edit->SetName("Edit");
        edit->SetParent(form);
        edit->SetBounds(10, 40, 100, 22);
        edit->OnKeyDown = [this](vcl::TObject*, int& key, vcl::TShiftState) {
            log.push_back("editkey " + std::to_string(key));
        };
        menu = new vcl::TMainMenu(form);
        bar = new TbsSkinMainMenuBar(form);
        bar->SetParent(form);
        bar->SetSkinData(sf->SkinData());
        bar->SetSkinForm(sf);
        sf->SetMainMenuBar(bar);
        Run();
        edit->SetFocus();
        Run();
    }

    // A top-level item (with `subs` sub-items) or a sub-item; the name is optional.
    vcl::TMenuItem* Add(vcl::TMenuItem* parent, const std::string& caption, int subs = 0,
                        const std::string& name = "") {
        auto* item = new vcl::TMenuItem(form);
        if (!name.empty()) item->SetName(name);
        item->SetCaption(caption);
        item->OnClick = [this, caption](vcl::TObject*) { log.push_back("click " + caption); };
        parent->Add(item);
        for (int i = 0; i < subs; ++i)
            Add(item, vcl::StripHotkey(caption) + " &" + std::to_string(i));
        return item;
    }
    void Build(const std::vector<std::string>& captions, bool named = true) {
        for (const std::string& c : captions)
            Add(menu->Items(), c, 2, named ? "mi" + std::string(1, c[1]) : "");
        bar->SetMainMenu(menu);
        Run();
    }
    TbsSkinMainMenuBarItem* Item(int i) {
        return dynamic_cast<TbsSkinMainMenuBarItem*>(bar->Object(i));
    }
    gfx::TPoint OnItem(int i) {
        const TRect r = Item(i)->ObjectRect;
        return bar->ClientToScreen({r.Left + 4, r.Top + r.Height() / 2});
    }
    void Key(int vk) {
        Press(vk);
        Run();
    }
    void AltWith(int vk) {
        Screen->KeyDown(win::VK_MENU);
        Screen->KeyPress(vk);
        Screen->KeyUp(win::VK_MENU);
        Run();
    }
    TbsSkinMenu& Controller() { return *sf->SkinMenu; }
    // The captions of the open level i.
    std::vector<std::string> LevelCaptions(int i) {
        std::vector<std::string> out;
        TbsSkinPopupWindow* w = Controller().Level(i);
        for (int k = 0; k < w->ItemCount(); ++k) out.push_back(w->Item(k)->MenuItem->Caption());
        return out;
    }
    // Indexes of the hot items.
    std::vector<int> Hot() {
        std::vector<int> out;
        for (int i = 0; i < bar->ObjectCount(); ++i)
            if (Item(i) && Item(i)->Active) out.push_back(i);
        return out;
    }
    int Count(const std::string& entry) { return int(std::count(log.begin(), log.end(), entry)); }
    // Keys other than Alt and F10, which reach the focused control as system keys anyway.
    bool EditHeardAKey() {
        return std::any_of(log.begin(), log.end(), [](const std::string& e) {
            return e.rfind("editkey", 0) == 0 && e != "editkey 18" && e != "editkey 121";
        });
    }
    std::vector<std::string> MenuEvents() {
        std::vector<std::string> out;
        for (const std::string& e : log)
            if (e == "enter" || e == "exit") out.push_back(e);
        return out;
    }
    void MoveTo(gfx::TPoint p) {
        Screen->MouseMove(p);
        Run();
        AdvanceMs(50);
        Run();
    }

    // A bar record (picture strip kBar) and an item record (normal kItem, hot kHot).
    static constexpr gfx::TColor kBar = 0x3060A0, kItem = 0x20C020, kHot = 0xC02020;
    void AddBarRecords(bool morphing) {
        TbsSkinData& sd = *sf->SkinData();
        auto picture = std::make_unique<gfx::TBitmap>();
        picture->SetPixelFormat(gfx::pf24bit);
        picture->SetSize(60, 44);
        for (auto [r, color] :
             {std::pair{TRect{0, 0, 60, 24}, kBar}, std::pair{TRect{0, 24, 30, 44}, kItem},
              std::pair{TRect{30, 24, 60, 44}, kHot}}) {
            picture->Canvas().Brush().SetColor(color);
            picture->Canvas().FillRect(r);
        }
        sd.FActivePicturesNames.Add("menubar.bmp");
        sd.FActivePictures.push_back(std::move(picture));
        const int index = int(sd.FActivePictures.size()) - 1;
        auto record = std::make_unique<TbsDataSkinMainMenuBar>("mainmenubar");
        record->PictureIndex = index;
        record->SkinRect = {0, 0, 60, 24};
        record->ItemsRect = {4, 2, 56, 22};
        record->MenuBarItem = "mbitem";
        sd.CtrlList.push_back(std::move(record));
        auto item = std::make_unique<TbsDataSkinMainMenuBarItem>("mbitem");
        item->ActivePictureIndex = index;
        item->SkinRect = {0, 24, 30, 44};
        item->ActiveSkinRect = {30, 24, 60, 44};
        item->TextRct = {5, 0, 25, 20};
        item->ItemLO = 5;
        item->ItemRO = 5;
        item->Morphing = morphing;
        sd.ObjectList.push_back(std::move(item));
    }

    TbsSkinForm* sf = nullptr;
    vcl::TCustomForm* form = nullptr;
    vcl::TEdit* edit = nullptr;
    vcl::TMainMenu* menu = nullptr;
    TbsSkinMainMenuBar* bar = nullptr;
    std::vector<std::string> log;
};

TEST_F(TMenuBarTest, WithoutABarRecordAButtonFaceBar22HighWithPlainItems) {
    Build({"&File", "&Edit"});
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_FALSE(bar->FSkinSupport);
    ASSERT_EQ(bar->ObjectCount(), 2);
    const TRect file = Item(0)->ObjectRect;
    EXPECT_EQ(file.Left, 2);
    EXPECT_EQ(file.Top, 2);
    EXPECT_EQ(file.Bottom, 20);
    EXPECT_EQ(Item(1)->ObjectRect.Left, file.Right);
    const int face = gfx::ColorToRGB(gfx::clBtnFace) & 0xFFFFFF;
    EXPECT_EQ(ClientPixel(bar->Handle(), 1, 1), face);
    EXPECT_EQ(ClientPixel(bar->Handle(), bar->Width() - 3, 10), face);
    // The hot item: a navy frame round the light fill.
    MoveTo(OnItem(1));
    EXPECT_EQ(Hot(), std::vector<int>{1});
    const TRect edit = Item(1)->ObjectRect;
    EXPECT_EQ(ClientPixel(bar->Handle(), edit.Left, edit.Top + 5), 0x800000);
    EXPECT_EQ(ClientPixel(bar->Handle(), edit.Left + 2, edit.Top + 2), 0xD2BDB6);
}

// A bar record: the bar takes its picture's height and strip, items their record's strips and
// a width of the record's ends plus the caption.
TEST_F(TMenuBarTest, WithRecordsTheBarAndItemsDrawFromTheSkinPictures) {
    AddBarRecords(false);
    Build({"&File", "&Edit"});
    bar->ChangeSkinData();
    Run();
    EXPECT_TRUE(bar->FSkinSupport);
    EXPECT_EQ(bar->Height(), 24);
    ASSERT_EQ(bar->ObjectCount(), 2);
    const TRect file = Item(0)->ObjectRect;
    EXPECT_EQ(file.Left, 4);
    EXPECT_EQ(file.Top, 2);
    EXPECT_EQ(file.Height(), 20);
    gfx::TCanvas& c = bar->Canvas();
    c.Font().SetName("Arial");
    c.Font().SetHeight(14);
    EXPECT_EQ(file.Width(), 30 + 5 - 25 + c.TextWidth("File") + 2);
    EXPECT_EQ(Item(1)->ObjectRect.Left, file.Right);
    EXPECT_EQ(ClientPixel(bar->Handle(), 1, 1), kBar);
    EXPECT_EQ(ClientPixel(bar->Handle(), bar->Width() - 2, 23), kBar);
    EXPECT_EQ(ClientPixel(bar->Handle(), file.Left + 1, file.Top + 1), kItem);
    MoveTo(OnItem(0));
    EXPECT_EQ(ClientPixel(bar->Handle(), file.Left + 1, file.Top + 1), kHot);
}

// A morphing item fades to its hot look in five 25 ms steps and back when the mouse leaves.
TEST_F(TMenuBarTest, AMorphingItemFadesInAndOut) {
    AddBarRecords(true);
    Build({"&File", "&Edit"});
    bar->ChangeSkinData();
    Run();
    const TRect file = Item(0)->ObjectRect;
    auto look = [&] { return ClientPixel(bar->Handle(), file.Left + 1, file.Top + 1); };
    EXPECT_EQ(look(), kItem);
    MoveTo(OnItem(0));
    for (int tick = 1; tick <= 5; ++tick) {
        EXPECT_NE(look(), kHot) << tick;
        AdvanceMs(25);
        Run();
    }
    EXPECT_DOUBLE_EQ(Item(0)->MorphKf(), 1.0);
    EXPECT_EQ(look(), kHot);
    MoveTo(bar->ClientToScreen({bar->Width() - 10, 10}));
    EXPECT_FALSE(Item(0)->Active);
    for (int tick = 0; tick < 5; ++tick) {
        AdvanceMs(25);
        Run();
    }
    EXPECT_DOUBLE_EQ(Item(0)->MorphKf(), 0.0);
    EXPECT_EQ(look(), kItem);
}

TEST_F(TMenuBarTest, ANarrowBarShowsWhatFitsAndItsMarkerOpensTheRest) {
    Build({"&File", "&Edit", "&View", "&Help"});
    const int fits = Item(1)->ObjectRect.Right + 5 + 2;  // two items, the marker, the margin
    bar->SetAlign(vcl::alNone);
    bar->SetBounds(0, 0, fits + 2, 22);
    Run();
    EXPECT_TRUE(Item(0)->Fits());
    EXPECT_TRUE(Item(1)->Fits());
    EXPECT_FALSE(Item(2)->Fits());
    EXPECT_FALSE(Item(3)->Fits());
    EXPECT_FALSE(Item(2)->Enabled);
    EXPECT_TRUE(bar->Scroll);
    const TRect marker = bar->GetMarkerRect();
    EXPECT_EQ(marker.Width(), 5);
    bool arrow = false;
    for (int x = marker.Left; x < marker.Right; ++x)
        for (int y = marker.Top; y < marker.Bottom; ++y)
            arrow = arrow || ClientPixel(bar->Handle(), x, y) ==
                                 (gfx::ColorToRGB(gfx::clBtnShadow) & 0xFFFFFF);
    EXPECT_TRUE(arrow);
    Click(bar, marker.Left + 2, marker.Top + 5);
    Run();
    ASSERT_TRUE(Controller().Visible());
    EXPECT_EQ(LevelCaptions(0), (std::vector<std::string>{"&View", "&Help"}));
    // Wide again: everything shows, enabled as before.
    Press(win::VK_ESCAPE);
    bar->SetBounds(0, 0, 480, 22);
    Run();
    EXPECT_TRUE(Item(3)->Fits());
    EXPECT_TRUE(Item(3)->Enabled);
    EXPECT_FALSE(bar->Scroll);
}

// Items of unnamed menu items (made in code) are told apart as well as named ones.
TEST_F(TMenuBarTest, PressingAnItemAndMovingToTheNextOpensItsSubmenuNamedOrNot) {
    for (const bool named : {true, false}) {
        SCOPED_TRACE(named ? "named" : "unnamed");
        menu->Items()->Clear();
        log.clear();
        Build({"&File", "&Edit", "&View"}, named);
        Screen->MouseMove(OnItem(0));
        Screen->MouseDown(OnItem(0));
        Screen->MouseUp(OnItem(0));
        Run();
        ASSERT_TRUE(Controller().Visible());
        EXPECT_EQ(LevelCaptions(0), (std::vector<std::string>{"File &0", "File &1"}));
        EXPECT_TRUE(Item(0)->FDown);
        EXPECT_TRUE(sf->InMainMenu);
        MoveTo(OnItem(1));
        ASSERT_TRUE(Controller().Visible());
        EXPECT_EQ(LevelCaptions(0), (std::vector<std::string>{"Edit &0", "Edit &1"}));
        EXPECT_FALSE(Item(0)->FDown);
        EXPECT_TRUE(Item(1)->FDown);
        EXPECT_EQ(Hot(), std::vector<int>{1});
        EXPECT_EQ(Count("enter"), 1);
        // A click in the form closes the menu and the bar's menu mode.
        Click(form, 250, 120);
        Run();
        EXPECT_FALSE(Controller().Visible());
        EXPECT_FALSE(sf->InMainMenu);
        EXPECT_FALSE(Item(1)->FDown);
        EXPECT_EQ(Count("exit"), 1);
    }
}

TEST_F(TMenuBarTest, AnItemWithoutSubItemsRunsItsCommandOnMouseDown) {
    Add(menu->Items(), "&Go");
    bar->SetMainMenu(menu);
    Run();
    Screen->MouseMove(OnItem(0));
    Screen->MouseDown(OnItem(0));
    Run();
    EXPECT_EQ(log, std::vector<std::string>{"click &Go"});
    Screen->MouseUp(OnItem(0));
    Run();
    EXPECT_EQ(log, std::vector<std::string>{"click &Go"});
    EXPECT_FALSE(Controller().Visible());
}

TEST_F(TMenuBarTest, MergeReplacesItemsOfTheSameGroupAndEndsTheMarkerForGood) {
    Add(menu->Items(), "&File", 1)->SetGroupIndex(0);
    Add(menu->Items(), "&Edit", 1)->SetGroupIndex(1);
    Add(menu->Items(), "&Help", 1)->SetGroupIndex(5);
    bar->SetMainMenu(menu);
    auto* child = new vcl::TMainMenu(form);
    Add(child->Items(), "&Tools", 1)->SetGroupIndex(3);
    Add(child->Items(), "&Document", 1)->SetGroupIndex(1);
    auto captions = [&] {
        std::vector<std::string> out;
        for (int i = 0; i < bar->ObjectCount(); ++i) out.push_back(Item(i)->MenuItem->Caption());
        return out;
    };
    EXPECT_TRUE(bar->ScrollMenu());
    bar->Merge(child);
    EXPECT_EQ(captions(), (std::vector<std::string>{"&File", "&Document", "&Tools", "&Help"}));
    EXPECT_TRUE(bar->ChildMenuIn);
    EXPECT_FALSE(bar->ScrollMenu());
    bar->UnMerge();
    EXPECT_EQ(captions(), (std::vector<std::string>{"&File", "&Edit", "&Help"}));
    EXPECT_FALSE(bar->ChildMenuIn);
    EXPECT_FALSE(bar->ScrollMenu());
}

// The buttons of a maximized MDI child: the system-menu button at the left end, close, restore
// and minimize from the right end, squares of the items' height without records.
TEST_F(TMenuBarTest, MDIChildButtonsFrameTheItems) {
    Build({"&File", "&Edit"});
    bar->MDIChildMaximize();
    Run();
    ASSERT_EQ(bar->ButtonsCount, 4);
    ASSERT_EQ(bar->ObjectCount(), 6);
    const int w = bar->Width();
    struct TCase {
        TbsStdCommand Command;
        TRect Rect;
    };
    const TCase cases[] = {{cmSysMenu, {2, 2, 20, 20}},
                           {cmClose, {w - 20, 2, w - 2, 20}},
                           {cmMaximize, {w - 40, 2, w - 22, 20}},
                           {cmMinimize, {w - 60, 2, w - 42, 20}}};
    for (int i = 0; i < 4; ++i) {
        auto* button = dynamic_cast<TbsSkinMainMenuBarButton*>(bar->Object(i));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Command, cases[i].Command) << i;
        EXPECT_EQ(button->ObjectRect, cases[i].Rect) << i;
        EXPECT_TRUE(button->Enabled) << i;
    }
    EXPECT_EQ(Item(4)->ObjectRect.Left, 22);
    // Once the child is restored they go.
    bar->MDIChildRestore();
    EXPECT_EQ(bar->ButtonsCount, 0);
    EXPECT_EQ(bar->ObjectCount(), 2);
}

// Alt alone enters the keyboard mode; the arrows wrap; Down or Return opens; Esc closes the
// submenu, then leaves. The edit never hears a key meanwhile.
TEST_F(TMenuBarTest, AltAloneThenArrowsOpenAndEscapeTwice) {
    Build({"&File", "&Edit", "&View"});
    for (const int opener : {win::VK_DOWN, win::VK_RETURN}) {
        SCOPED_TRACE(opener);
        log.clear();
        Key(win::VK_MENU);
        EXPECT_EQ(MenuEvents(), std::vector<std::string>{"enter"});
        EXPECT_TRUE(sf->InMainMenu);
        EXPECT_EQ(Hot(), std::vector<int>{0});
        Key(win::VK_LEFT);
        EXPECT_EQ(Hot(), std::vector<int>{2});
        Key(win::VK_RIGHT);
        EXPECT_EQ(Hot(), std::vector<int>{0});
        Key(win::VK_RIGHT);
        EXPECT_EQ(Hot(), std::vector<int>{1});
        EXPECT_FALSE(Controller().Visible());
        Key(opener);
        ASSERT_TRUE(Controller().Visible());
        EXPECT_EQ(LevelCaptions(0), (std::vector<std::string>{"Edit &0", "Edit &1"}));
        // Right with a submenu open moves it along the bar.
        Key(win::VK_RIGHT);
        ASSERT_TRUE(Controller().Visible());
        EXPECT_EQ(LevelCaptions(0), (std::vector<std::string>{"View &0", "View &1"}));
        Key(win::VK_ESCAPE);
        EXPECT_FALSE(Controller().Visible());
        EXPECT_TRUE(sf->InMainMenu);
        EXPECT_EQ(Hot(), std::vector<int>{2});
        EXPECT_EQ(Count("exit"), 0);
        Key(win::VK_ESCAPE);
        EXPECT_FALSE(sf->InMainMenu);
        EXPECT_TRUE(Hot().empty());
        EXPECT_EQ(Count("exit"), 1);
        EXPECT_FALSE(EditHeardAKey());
        // The keys are the edit's again.
        log.clear();
        Key('A');
        EXPECT_EQ(log, std::vector<std::string>{"editkey 65"});
    }
}

TEST_F(TMenuBarTest, F10EntersAndLeavesTheKeyboardMode) {
    Build({"&File"});
    Key(win::VK_F10);
    EXPECT_TRUE(sf->InMainMenu);
    Key(win::VK_F10);
    EXPECT_FALSE(sf->InMainMenu);
    EXPECT_EQ(MenuEvents(), (std::vector<std::string>{"enter", "exit"}));
}

TEST_F(TMenuBarTest, AltLetterOpensItsItemWithoutSysCharOrKeyMenu) {
    Build({"&File", "&Edit"});
    Watch(form);
    Watch(edit);
    AltWith('E');
    ASSERT_TRUE(Controller().Visible());
    EXPECT_EQ(LevelCaptions(0), (std::vector<std::string>{"Edit &0", "Edit &1"}));
    EXPECT_EQ(CountHeard("F", win::WM_SYSCHAR) + CountHeard("Edit", win::WM_SYSCHAR), 0);
    int keyMenus = 0;
    for (const vcl::test::TSeen& seen : Seen())
        keyMenus += seen.Message == win::WM_SYSCOMMAND && seen.WParam == 0xF100u;
    EXPECT_EQ(keyMenus, 0);
    // Its sub-item's accelerator, then the command.
    Key('1');
    EXPECT_FALSE(Controller().Visible());
    EXPECT_FALSE(sf->InMainMenu);
    EXPECT_EQ(Count("click Edit &1"), 1);
    EXPECT_FALSE(EditHeardAKey());
}

TEST_F(TMenuBarTest, AMenuShortcutRunsOnceWhileTheEditHasTheFocus) {
    vcl::TMenuItem* file = Add(menu->Items(), "&File");
    vcl::TMenuItem* open = Add(file, "&Open");
    open->SetShortCut(vcl::ShortCut('O', {vcl::ssCtrl}));
    bar->SetMainMenu(menu);
    Run();
    Screen->KeyDown(win::VK_CONTROL);
    Screen->KeyPress('O');
    Screen->KeyUp(win::VK_CONTROL);
    Run();
    EXPECT_EQ(Count("click &Open"), 1);
    EXPECT_FALSE(Controller().Visible());
    EXPECT_FALSE(sf->InMainMenu);
}

// F4's key code is the letter "s": an item "&Save" must not take Alt+F4 from the window.
TEST_F(TMenuBarTest, AltF4IsNeverAnAcceleratorAndClosesTheForm) {
    Build({"&Save"});
    int closes = 0;
    form->OnClose = [&](vcl::TObject*, vcl::TCloseAction& action) {
        ++closes;
        action = vcl::caNone;
    };
    AltWith(win::VK_F4);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(Controller().Visible());
    EXPECT_FALSE(Item(0)->FDown);
    form->OnClose = nullptr;
}

}  // namespace
}  // namespace skin::test
