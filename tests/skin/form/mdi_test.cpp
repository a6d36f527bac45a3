// MDI through the form skin component: arranging children, the window menu, maximized children
// in the MDI area with their buttons on the main form's menu bar, the tabs bar.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "skin/form/mdi_tabs_bar.h"
#include "skin/menus/main_menu_bar.h"

namespace skin {
namespace {

using test::TFormSkinTest;

class MdiTest : public TFormSkinTest {
public:
    void SetUp() override {
        TFormSkinTest::SetUp();
        vcl::Application->CreateForm(main);
        main->SetName("Main");
        main->SetCaption("Main");
        main->SetFormStyle(vcl::fsMDIForm);
        main->SetBounds(0, 0, 800, 600);
        sf = new TbsSkinForm(main);
        main->Show();
        Run();
    }
    // A shown MDI child with its own component; the newest child is MDIChildren(0).
    vcl::TForm* Child(const std::string& name,
                      const std::function<void(vcl::TForm*)>& prepare = nullptr) {
        auto* child = new vcl::TForm(vcl::Application);
        child->SetName(name);
        child->SetCaption(name);
        child->SetBounds(10, 10, 200, 150);
        new TbsSkinForm(child);
        if (prepare) prepare(child);
        child->SetFormStyle(vcl::fsMDIChild);
        Run();
        return child;
    }
    static TbsSkinForm* Of(vcl::TCustomForm* form) { return GetSkinFormComponent(form); }
    gfx::TRect Area() {
        gfx::TRect r{0, 0, 0, 0};
        GetMDIClientArea(sf, r);
        return r;
    }
    static gfx::TRect Bounds(vcl::TCustomForm* f) { return f->BoundsRect(); }

    vcl::TForm* main = nullptr;
    TbsSkinForm* sf = nullptr;
};

TEST_F(MdiTest, TileFillsTwoColumnsFromTheBottomRight) {
    for (int i = 0; i < 5; ++i) Child("Doc" + std::to_string(i));
    sf->Tile();
    const int W = Area().Width(), H = Area().Height();
    const int cw = W / 2;
    auto child = [&](int i) { return Bounds(main->MDIChildren(i)); };
    // The right column holds children 4, 3, 2 from the bottom, a third of the height each.
    EXPECT_EQ(child(4), (gfx::TRect{cw, H - H / 3, 2 * cw, H}));
    for (int i : {4, 3, 2}) {
        EXPECT_EQ(child(i).Left, cw) << i;
        EXPECT_EQ(child(i).Height(), H / 3) << i;
    }
    EXPECT_GT(child(4).Top, child(3).Top);
    EXPECT_GT(child(3).Top, child(2).Top);
    // The left column holds children 1 and 0, half the height each.
    for (int i : {1, 0}) {
        EXPECT_EQ(child(i).Left, 0) << i;
        EXPECT_EQ(child(i).Height(), H / 2) << i;
    }
    EXPECT_EQ(child(1).Top, H - H / 2);
    EXPECT_EQ(child(0).Top, H - 2 * (H / 2));
}

TEST_F(MdiTest, CascadeRestartsAtTheTopLeftAndSurvivesAZeroStep) {
    sf->SetSkinData(MakeSkin());
    Run();
    for (int i = 0; i < 7; ++i) Child("Doc" + std::to_string(i));
    sf->Cascade();
    const int s = sf->NewClRect.Top;
    ASSERT_GT(s, 0);
    std::vector<int> tops;
    for (int i = 6; i >= 0; --i) tops.push_back(Bounds(main->MDIChildren(i)).Top);
    // Placed from the last child: each one step further until the next would not fit.
    EXPECT_EQ(tops.front(), 0);
    EXPECT_EQ(tops[1], s);
    EXPECT_NE(std::find(tops.begin() + 1, tops.end(), 0), tops.end());
    for (std::size_t i = 1; i < tops.size(); ++i)
        EXPECT_TRUE(tops[i] == 0 || tops[i] == tops[i - 1] + s) << i;

    // A skin whose client starts at the top edge: the step is 1, not a division by zero.
    sf->NewClRect.Top = 0;
    sf->Cascade();
    EXPECT_EQ(Bounds(main->MDIChildren(6)).Top, 0);
    EXPECT_EQ(Bounds(main->MDIChildren(5)).Top, 1);
}

TEST_F(MdiTest, TheWindowMenuListsChildrenRestoresThemAndChecksTheActiveOne) {
    auto* windowMenu = new vcl::TMenuItem(main);
    windowMenu->SetCaption("Window");
    main->SetWindowMenu(windowMenu);
    vcl::TForm* doc1 = Child("Doc1");
    vcl::TForm* doc2 = Child("Doc2");
    ASSERT_EQ(windowMenu->Count(), 2);
    vcl::TMenuItem* item1 = windowMenu->Items(0);
    EXPECT_EQ(item1->Name(), "Doc1_BSFCHILDITEM");
    EXPECT_EQ(item1->Caption(), "Doc1");
    EXPECT_FALSE(item1->Checked());
    EXPECT_TRUE(windowMenu->Items(1)->Checked());

    doc1->SetCaption("Report");
    EXPECT_EQ(item1->Caption(), "Report");

    Of(doc1)->SetWindowState(vcl::wsMinimized);
    Run();
    item1->Click();
    Run();
    EXPECT_EQ(Of(doc1)->WindowState(), vcl::wsNormal);
    EXPECT_EQ(main->ActiveMDIChild(), doc1);
    EXPECT_TRUE(item1->Checked());
    EXPECT_FALSE(windowMenu->Items(1)->Checked());

    doc2->Free();
    Run();
    EXPECT_EQ(windowMenu->Count(), 1);
}

TEST_F(MdiTest, TheMdiClientPaintsTheWorkspaceWithoutAFrame) {
    const win::HWND client = main->ClientHandle();
    win::TRect r;
    win::GetClientRect(client, r);
    EXPECT_EQ(r.Width(), Area().Width());
    EXPECT_EQ(ClientPixel(client, 2, 2), gfx::ColorToRGB(gfx::clAppWorkSpace));
}

TEST_F(MdiTest, MinimizedChildrenStackAtTheAreasBottomLeft) {
    vcl::TForm* a = Child("A");
    vcl::TForm* b = Child("B");
    Of(a)->SetWindowState(vcl::wsMinimized);
    Of(b)->SetWindowState(vcl::wsMinimized);
    Run();
    const int h = Of(a)->GetMinHeight(), w = Of(a)->GetMinWidth();
    EXPECT_EQ(Bounds(a), (gfx::TRect{0, Area().Height() - h, w, Area().Height()}));
    EXPECT_EQ(Bounds(b).Left, w);
    EXPECT_EQ(Bounds(b).Top, Area().Height() - h);
}

TEST_F(MdiTest, AMenuClosingMessageClosesTheDropDownsOfTheFormsComboBoxesAndEdits) {
    // The lists module installs the real test; here edits named "Drop" stand for its controls.
    SetDropDownControlTest(
        [](const vcl::TComponent* c) { return c->Name().rfind("Drop", 0) == 0; });
    std::vector<std::string> cancelled;
    auto make = [&](const std::string& name, bool enabled) {
        auto* edit = new vcl::TEdit(main);
        edit->SetName(name);
        edit->SetParent(main);
        edit->SetBounds(10, 10, 80, 20);
        edit->SetEnabled(enabled);
        edit->WindowProc = [edit, &cancelled, old = edit->WindowProc](vcl::TMessage& m) {
            if (m.Msg == vcl::CM_CANCELMODE) cancelled.push_back(edit->Name());
            old(m);
        };
    };
    make("Drop1", true);
    make("Drop2", false);
    make("Plain", true);
    Run();
    cancelled.clear();
    win::SendMessage(main->Handle(), win::WM_CANCELMODE, 0, 0);
    EXPECT_EQ(cancelled, (std::vector<std::string>{"Drop1"}));
    // Only an MDI form does it.
    vcl::TForm* plain = MakeForm(200, 100, "Plain");
    auto* drop = new vcl::TEdit(plain);
    drop->SetName("Drop3");
    drop->SetParent(plain);
    new TbsSkinForm(plain);
    Run();
    cancelled.clear();
    win::SendMessage(plain->Handle(), win::WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(cancelled.empty());
    SetDropDownControlTest(nullptr);
}

class MdiMenuBarTest : public MdiTest {
public:
    void SetUp() override {
        MdiTest::SetUp();
        menu = new vcl::TMainMenu(main);
        for (const auto& [caption, group] :
             std::vector<std::pair<std::string, int>>{{"&File", 0}, {"&Edit", 1}, {"&Help", 9}}) {
            auto* item = new vcl::TMenuItem(main);
            item->SetCaption(caption);
            item->SetGroupIndex(std::uint8_t(group));
            menu->Items()->Add(item);
        }
        bar = new TbsSkinMainMenuBar(main);
        bar->SetParent(main);
        bar->SetSkinForm(sf);
        bar->SetMainMenu(menu);
        sf->SetMainMenuBar(bar);
        Run();
    }
    std::vector<std::string> BarCaptions() {
        std::vector<std::string> out;
        for (int i = 0; i < bar->ObjectCount(); ++i)
            if (auto* item = dynamic_cast<TbsSkinMainMenuBarItem*>(bar->Object(i)))
                out.push_back(item->MenuItem->Caption());
        return out;
    }
    vcl::TMainMenu* menu = nullptr;
    TbsSkinMainMenuBar* bar = nullptr;
};

TEST_F(MdiMenuBarTest, AMaximizedChildFillsTheAreaAndPutsItsButtonsAndMenuOnTheBar) {
    vcl::TForm* doc = Child("Doc1", [](vcl::TForm* f) {
        auto* childMenu = new vcl::TMainMenu(f);
        auto* view = new vcl::TMenuItem(f);
        view->SetCaption("&View");
        view->SetGroupIndex(1);
        childMenu->Items()->Add(view);
    });
    Of(doc)->SetBorderIcons({biSystemMenu, biMaximize});
    Of(doc)->SetWindowState(vcl::wsMaximized);
    Run();

    const gfx::TRect area = Area();
    EXPECT_EQ(Bounds(doc), (gfx::TRect{0, 0, area.Width(), area.Height()}));
    // No frame of its own: the client is the whole window.
    EXPECT_EQ(doc->ClientWidth(), doc->Width());
    EXPECT_EQ(doc->ClientHeight(), doc->Height());
    EXPECT_TRUE(sf->FMDIChildMaximized);
    EXPECT_EQ(sf->GetMaximizedMDIChild(), doc);

    ASSERT_EQ(bar->ButtonsCount, 4);
    bool minimizeSeen = false;
    for (int i = 0; i < 4; ++i) {
        auto* b = bar->Object(i);
        if (b->IDName == "MinButton") {
            minimizeSeen = true;
            EXPECT_FALSE(b->Enabled);
        } else {
            EXPECT_TRUE(b->Enabled) << b->IDName;
        }
    }
    EXPECT_TRUE(minimizeSeen);
    // The MDI client's procedure keeps the child fitted when the main form changes size.
    main->SetBounds(0, 0, 700, 500);
    Run();
    EXPECT_EQ(Bounds(doc), (gfx::TRect{0, 0, Area().Width(), Area().Height()}));
    // The child's menu takes the place of the main items of its group.
    EXPECT_EQ(BarCaptions(), (std::vector<std::string>{"&File", "&View", "&Help"}));

    Of(doc)->SetWindowState(vcl::wsNormal);
    Run();
    EXPECT_FALSE(sf->FMDIChildMaximized);
    EXPECT_EQ(bar->ButtonsCount, 0);
    EXPECT_NE(doc->ClientWidth(), doc->Width());
}

// --- the tabs bar -------------------------------------------------------------------------------

class MdiTabsTest : public MdiTest {
public:
    void SetUp() override {
        MdiTest::SetUp();
        tabs = new TbsSkinMDITabsBar(main);
        tabs->SetParent(main);
        tabs->SetAlign(vcl::alTop);
        tabs->SetSkinForm(sf);
        sf->SetMDITabsBar(tabs);
        Run();
    }
    // The bar's client point in screen coordinates.
    gfx::TPoint On(int x, int y) { return tabs->ClientToScreen({x, y}); }
    void Press(gfx::TPoint p, bool right = false) {
        at = p;
        Screen->MouseMove(p);
        Screen->MouseDown(p, right ? win::TMouseButton::Right : win::TMouseButton::Left);
        Run();
    }
    void Release(bool right = false) {
        Screen->MouseUp(at, right ? win::TMouseButton::Right : win::TMouseButton::Left);
        Run();
    }
    void MoveTo(gfx::TPoint p) {
        at = p;
        Screen->MouseMove(p);
        Run();
    }
    gfx::TPoint at;
    std::vector<std::string> TabNames() {
        std::vector<std::string> out;
        for (int i = 0; i < tabs->TabCount(); ++i) out.push_back(tabs->Tabs(i)->Child->Name());
        return out;
    }
    TbsSkinMDITabsBar* tabs = nullptr;
};

TEST_F(MdiTabsTest, TenTabsShareTheBarOrHideBehindAListButton) {
    tabs->SetAlign(vcl::alNone);
    tabs->SetBounds(0, 0, 500, 21);
    for (int i = 0; i < 10; ++i) Child("Doc" + std::to_string(i));
    ASSERT_EQ(tabs->TabCount(), 10);
    tabs->CalcTabRects();
    for (int i = 0; i < 10; ++i) {
        const gfx::TRect r = tabs->Tabs(i)->ObjectRect;
        EXPECT_EQ(r.Left, 15 + 48 * i) << i;
        if (i < 9) EXPECT_EQ(r.Width(), 48) << i;
    }
    EXPECT_EQ(tabs->Tabs(9)->ObjectRect.Right, 500);
    EXPECT_NE(tabs->ListButton(), nullptr);

    tabs->MinTabWidth = 80;
    tabs->Invalidate();
    Run();
    int visible = 0;
    for (int i = 0; i < 10; ++i) visible += tabs->Tabs(i)->Visible;
    EXPECT_EQ(visible, 5);
    ASSERT_NE(tabs->HiddenListButton(), nullptr);
    tabs->FillHiddenListMenu();
    vcl::TMenuItem* hidden = tabs->HiddenListMenu()->Items();
    ASSERT_EQ(hidden->Count(), 5);
    EXPECT_EQ(hidden->Items(0)->Name(), tabs->Tabs(5)->Child->Name() + "_BSFCHILDITEMBARHIDE");
    // Choosing one brings its child up.
    vcl::TCustomForm* target = tabs->Tabs(7)->Child;
    hidden->Items(2)->Click();
    Run();
    EXPECT_EQ(main->ActiveMDIChild(), target);
}

TEST_F(MdiTabsTest, DraggingPastTheNeighboursMiddleSwapsAndAPlainPressOnlyActivates) {
    vcl::TForm* a = Child("A");
    Child("B");
    Child("C");
    ASSERT_EQ(TabNames(), (std::vector<std::string>{"A", "B", "C"}));
    tabs->CalcTabRects();
    const gfx::TRect ra = tabs->Tabs(0)->ObjectRect;
    const int y = ra.Height() / 2;

    Press(On(ra.Left + 10, y));
    Release();
    EXPECT_EQ(main->ActiveMDIChild(), a);
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "B", "C"}));

    // Not past B's middle: nothing moves.
    const int w = ra.Width();
    Press(On(ra.Left + 10, y));
    MoveTo(On(ra.Left + 10 + w / 2 - 5, y));
    Release();
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"A", "B", "C"}));
    // Past it: A and B change places.
    Press(On(ra.Left + 10, y));
    MoveTo(On(ra.Left + 10 + w / 2 + 5, y));
    Release();
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"B", "A", "C"}));
}

TEST_F(MdiTabsTest, CloseButtonsCloseOnReleaseAndARightClickOpensTheSystemMenu) {
    tabs->ShowCloseButtons = true;
    vcl::TForm* a = Child("A");
    Child("B");
    std::vector<std::string> closed;
    a->OnClose = [&](vcl::TObject*, vcl::TCloseAction& action) {
        closed.push_back("A");
        action = vcl::caFree;
    };
    tabs->Invalidate();
    Run();
    const TbsMDITab* tab = tabs->Tabs(0);
    const gfx::TRect b = tab->ButtonRect;
    ASSERT_FALSE(b.IsEmpty());
    const gfx::TPoint on = On(tab->ObjectRect.Left + b.Left + 3, tab->ObjectRect.Top + b.Top + 3);
    Press(on);
    EXPECT_TRUE(closed.empty());
    Release();
    EXPECT_EQ(closed, (std::vector<std::string>{"A"}));
    Run();
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"B"}));

    Press(On(tabs->Tabs(0)->ObjectRect.Left + 5, 5), true);
    Release(true);
    ASSERT_EQ(sf->SkinMenu->LevelCount(), 1);
    EXPECT_EQ(sf->SkinMenu->Level(0)->ItemCount(),
              Of(tabs->Tabs(0)->Child)->GetSysMenuItems()->Count());
}

TEST_F(MdiTabsTest, ARefusedChildStaysOutOfTheBarButNotOutOfTheWindowMenu) {
    auto* windowMenu = new vcl::TMenuItem(main);
    main->SetWindowMenu(windowMenu);
    auto* child = new vcl::TForm(vcl::Application);
    child->SetName("Secret");
    auto* c = new TbsSkinForm(child);
    c->FOnAcceptToMDITabsBar = [](bool& accept) { accept = false; };
    child->SetFormStyle(vcl::fsMDIChild);
    Child("Open");
    EXPECT_EQ(TabNames(), (std::vector<std::string>{"Open"}));
    EXPECT_EQ(windowMenu->Count(), 2);
}

}  // namespace
}  // namespace skin
