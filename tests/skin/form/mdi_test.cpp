// MDI through the form skin component: arranging children, the window menu, maximized children
// in the MDI area with their buttons on the main form's menu bar, the tabs bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "skin/form/mdi_tabs_bar.h"
#include "skin/menus/main_menu_bar.h"

namespace skin {
namespace {

using test::FillArea;
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

// Rows wrap at the area's width, a freed place is taken again, and the stack follows the
// area's bottom when the main form changes size.
TEST_F(MdiTest, MinimizedChildrenWrapIntoRowsAndFollowTheAreasBottom) {
    std::vector<vcl::TForm*> kids;
    for (const char* name : {"A", "B", "C", "D"}) kids.push_back(Child(name));
    const int w = Of(kids[0])->GetMinWidth(), h = Of(kids[0])->GetMinHeight();
    // Room for two and a half in a row.
    main->SetBounds(0, 0, main->Width() - Area().Width() + 2 * w + w / 2, 600);
    Run();
    for (int i = 0; i < 3; ++i) {
        Of(kids[std::size_t(i)])->SetWindowState(vcl::wsMinimized);
        Run();
    }
    auto at = [&](int i) {
        return gfx::TPoint{kids[std::size_t(i)]->Left(), kids[std::size_t(i)]->Top()};
    };
    const int H = Area().Height();
    EXPECT_EQ(at(0), (gfx::TPoint{0, H - h}));
    EXPECT_EQ(at(1), (gfx::TPoint{w, H - h}));
    EXPECT_EQ(at(2), (gfx::TPoint{0, H - 2 * h}));
    Of(kids[0])->SetWindowState(vcl::wsNormal);
    Of(kids[3])->SetWindowState(vcl::wsMinimized);
    Run();
    EXPECT_EQ(at(3), (gfx::TPoint{0, H - h}));

    main->SetBounds(0, 0, main->Width(), 500);
    Run();
    const int H2 = Area().Height();
    ASSERT_NE(H2, H);
    // Stacked again from the new bottom, in whatever order.
    std::vector<std::pair<int, int>> places;
    for (int i : {1, 2, 3}) places.push_back({at(i).X, at(i).Y});
    std::sort(places.begin(), places.end());
    EXPECT_EQ(places,
              (std::vector<std::pair<int, int>>{{0, H2 - 2 * h}, {0, H2 - h}, {w, H2 - h}}));
}

// A child dragged by its caption snaps to the MDI area's edges, not to the screen's.
TEST_F(MdiTest, ADraggedChildSnapsToTheAreasEdges) {
    vcl::TForm* a = Child("A");
    Of(a)->FMagnetic = true;
    Of(a)->FMagneticSize = 10;
    a->SetBounds(100, 100, 200, 150);
    Run();
    win::TRect w;
    win::GetWindowRect(a->Handle(), w);
    const gfx::TPoint start{w.Left + 60, w.Top + 8};
    ASSERT_EQ(
        win::SendMessage(a->Handle(), win::WM_NCHITTEST, 0, win::MAKELPARAM(start.X, start.Y)),
        win::HTCAPTION);
    struct TCase {
        const char* Name;
        gfx::TPoint By;
        gfx::TPoint Expected;  // in the area
    };
    const gfx::TRect area = Area();
    const TCase cases[] = {
        {"left and top", {-91, -93}, {0, 0}},
        {"right and bottom",
         {area.Width() - 300 + 8, area.Height() - 250 + 7},
         {area.Width() - 200, area.Height() - 150}},
        {"far from the edges", {-50, -40}, {50, 60}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        a->SetBounds(100, 100, 200, 150);
        Run();
        win::GetWindowRect(a->Handle(), w);
        const gfx::TPoint p{w.Left + 60, w.Top + 8};
        Screen->MouseDown(p);
        Screen->MouseMove({p.X + c.By.X, p.Y + c.By.Y});
        Screen->MouseUp({p.X + c.By.X, p.Y + c.By.Y});
        AdvanceMs(1000);
        Run();
        EXPECT_EQ((gfx::TPoint{a->Left(), a->Top()}), c.Expected);
    }
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

// The whole round: caption, the four child buttons through 1231 / 1232 and their clicks, the
// merged menu going out with the child.
TEST_F(MdiMenuBarTest, TheMaximizedChildsButtonsActOnItAndItsMenuLeavesWithIt) {
    Child("Doc2");
    vcl::TForm* doc = Child("Doc1", [](vcl::TForm* f) {
        auto* childMenu = new vcl::TMainMenu(f);
        auto* view = new vcl::TMenuItem(f);
        view->SetCaption("&View");
        view->SetGroupIndex(1);
        childMenu->Items()->Add(view);
    });
    Of(doc)->SetBorderIcons({biSystemMenu, biMaximize});
    const std::vector<std::string> mainItems{"&File", "&Edit", "&Help"};
    const std::vector<std::string> merged{"&File", "&View", "&Help"};
    // The active child's menu is merged even while it is not maximized.
    EXPECT_EQ(BarCaptions(), merged);
    EXPECT_EQ(sf->CaptionText(), "Main");

    auto button = [&](const std::string& id) -> TbsMenuBarObject* {
        for (int i = 0; i < bar->ButtonsCount; ++i)
            if (bar->Object(i)->IDName == id) return bar->Object(i);
        ADD_FAILURE() << id;
        return nullptr;
    };
    auto click = [&](const std::string& id) {
        TbsMenuBarObject* b = button(id);
        if (!b) return;
        const gfx::TPoint p = bar->ClientToScreen({(b->ObjectRect.Left + b->ObjectRect.Right) / 2,
                                                   (b->ObjectRect.Top + b->ObjectRect.Bottom) / 2});
        Screen->MouseMove(p);
        Run();
        Screen->MouseDown(p, win::TMouseButton::Left);
        Run();
        Screen->MouseUp(p, win::TMouseButton::Left);
        Run();
    };
    auto maximize = [&] {
        Of(doc)->SetWindowState(vcl::wsMaximized);
        Run();
        ASSERT_EQ(bar->ButtonsCount, 4);
    };

    maximize();
    EXPECT_EQ(sf->CaptionText(), "Main - [Doc1]");
    // The list starts system menu, close, maximize, minimize; the system menu at the left end.
    std::vector<std::string> ids;
    for (int i = 0; i < 4; ++i) ids.push_back(bar->Object(i)->IDName);
    EXPECT_EQ(ids,
              (std::vector<std::string>{"SysMenuButton", "CloseButton", "MaxButton", "MinButton"}));
    EXPECT_LT(button("SysMenuButton")->ObjectRect.Left, button("MinButton")->ObjectRect.Left);
    EXPECT_EQ(BarCaptions(), merged);
    // A second 1231 adds no buttons; a 1232 while the child is still maximized keeps them.
    win::SendMessage(main->Handle(), WM_MDICHILDMAXIMIZED, 0, 0);
    win::SendMessage(main->Handle(), WM_MDICHILDRESTORED, 0, 0);
    Run();
    EXPECT_EQ(bar->ButtonsCount, 4);
    EXPECT_TRUE(sf->FMDIChildMaximized);

    // The disabled minimize button does nothing.
    click("MinButton");
    EXPECT_EQ(Of(doc)->WindowState(), vcl::wsMaximized);
    // The maximize button restores the child: buttons and the caption's child part go.
    click("MaxButton");
    EXPECT_EQ(Of(doc)->WindowState(), vcl::wsNormal);
    EXPECT_EQ(bar->ButtonsCount, 0);
    EXPECT_FALSE(sf->FMDIChildMaximized);
    EXPECT_EQ(sf->CaptionText(), "Main");
    EXPECT_EQ(BarCaptions(), merged);

    // With biMinimize the minimize button minimizes it.
    Of(doc)->SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
    maximize();
    EXPECT_TRUE(button("MinButton")->Enabled);
    click("MinButton");
    EXPECT_EQ(Of(doc)->WindowState(), vcl::wsMinimized);
    EXPECT_EQ(bar->ButtonsCount, 0);

    // The close button closes it; its menu leaves the bar with it.
    doc->OnClose = [](vcl::TObject*, vcl::TCloseAction& action) { action = vcl::caFree; };
    maximize();
    click("CloseButton");
    Run();
    EXPECT_EQ(main->MDIChildCount(), 1);
    EXPECT_EQ(bar->ButtonsCount, 0);
    EXPECT_FALSE(sf->FMDIChildMaximized);
    EXPECT_EQ(sf->CaptionText(), "Main");
    EXPECT_EQ(BarCaptions(), mainItems);
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

// A tab skin with flat colours: each look has an edge and a centre of its own, so a probe tells
// which picture, and which part of its nine slices, a pixel came from.
constexpr gfx::TColor kTabEdge = 0x00402010, kTabCentre = 0x00E0C0A0;
constexpr gfx::TColor kActiveEdge = 0x00104020, kActiveCentre = 0x00A0E0C0;
constexpr gfx::TColor kBarBack = 0x00707070;
constexpr gfx::TColor kButtonEdge = 0x00000080;
constexpr gfx::TColor kButtonCentre = 0x00C0C000, kButtonHot = 0x0000C0C0, kButtonDown = 0x00C000C0;
constexpr gfx::TColor kButtonFont = 0x00FF0000, kButtonHotFont = 0x0000FF00,
                      kButtonDownFont = 0x000000FF;

// Smoothed text reaches its colour only nearly.
bool Near(gfx::TColor a, gfx::TColor b) {
    int d = 0;
    for (int shift : {0, 8, 16}) d += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    return d <= 24;
}

TbsSkinData* TabsSkin(bool withButtonRecord) {
    auto* sd = new TbsSkinData(vcl::Application);
    // Picture 0: the normal tab (40 x 20, 4-pixel sides, 5-pixel top and bottom), the active
    // one (40 x 24, 4 taller) and the bar's background column.
    auto tabs = test::SolidPicture(48, 44, kTabEdge);
    FillArea(*tabs, {4, 5, 36, 15}, kTabCentre);
    FillArea(*tabs, {0, 20, 40, 44}, kActiveEdge);
    FillArea(*tabs, {4, 25, 36, 39}, kActiveCentre);
    FillArea(*tabs, {40, 0, 48, 20}, kBarBack);
    sd->FActivePictures.push_back(std::move(tabs));
    auto tab = std::make_unique<TbsDataSkinTabControl>("tab");
    tab->PictureIndex = 0;
    tab->TabRect = {0, 0, 40, 20};
    tab->ActiveTabRect = {0, 20, 40, 44};
    tab->TabsBGRect = {40, 0, 48, 20};
    tab->TabLeftOffset = tab->TabRightOffset = 4;
    tab->FontHeight = 12;
    sd->CtrlList.push_back(std::move(tab));
    // Picture 1: the button looks, 20 x 20 each with a 3-pixel edge: normal, hot, pressed.
    auto buttons = test::SolidPicture(60, 20, kButtonEdge);
    FillArea(*buttons, {3, 3, 17, 17}, kButtonCentre);
    FillArea(*buttons, {23, 3, 37, 17}, kButtonHot);
    FillArea(*buttons, {43, 3, 57, 17}, kButtonDown);
    sd->FActivePictures.push_back(std::move(buttons));
    if (withButtonRecord) {
        auto button = std::make_unique<TbsDataSkinButtonControl>("resizebutton");
        button->PictureIndex = 1;
        button->SkinRect = {0, 0, 20, 20};
        button->ActiveSkinRect = {20, 0, 40, 20};
        button->DownSkinRect = {40, 0, 60, 20};
        button->ClRect = {3, 3, 17, 17};
        button->FontColor = kButtonFont;
        button->ActiveFontColor = kButtonHotFont;
        button->DownFontColor = kButtonDownFont;
        sd->CtrlList.push_back(std::move(button));
    }
    sd->Empty = false;
    return sd;
}

TEST_F(MdiTabsTest, ButtonTabsAndFreeHeightTabsDrawFromTheirSkinPicturesByState) {
    tabs->SetAlign(vcl::alNone);
    tabs->SetBounds(0, 0, 215, 21);
    Child("A");
    Child("B");  // the active child: tab 1
    struct TProbe {
        int X, Y;  // in the tab
        gfx::TColor Color;
    };
    struct TCase {
        const char* Name;
        TbsSkinMDITabKind Kind;
        bool UseSkinSize;
        int Height;  // of the bar
        bool Hover;  // the pointer over tab 0
        std::vector<TProbe> Tab0, Tab1;
        gfx::TColor Font0, Font1;  // a caption pixel of each tab; 0: none looked for
    };
    const std::vector<TCase> cases = {
        // Nine slices: the 3-pixel edges stay, the centre runs to 3 pixels from the tab's edge.
        {"buttons",
         bstkButton,
         true,
         0,
         false,
         {{1, 10, kButtonEdge},
          {8, 10, kButtonCentre},
          {94, 10, kButtonCentre},
          {98, 10, kButtonEdge}},
         {{1, 10, kButtonEdge}, {8, 10, kButtonDown}, {94, 10, kButtonDown}},
         kButtonFont,
         kButtonDownFont},
        {"hot button", bstkButton, true, 0, true, {{8, 10, kButtonHot}}, {}, kButtonHotFont, 0},
        // A 30-pixel bar: top and bottom edges stay 5 pixels, the active tab is 4 taller.
        {"free height",
         bstkTab,
         false,
         30,
         false,
         {{1, 15, kTabEdge},
          {50, 2, kTabEdge},
          {8, 6, kTabCentre},
          {8, 24, kTabCentre},
          {50, 27, kTabEdge}},
         {{1, 15, kActiveEdge}, {8, 6, kActiveCentre}, {8, 27, kActiveCentre}},
         0,
         0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        tabs->SetSkinData(TabsSkin(true));
        tabs->SetTabKind(c.Kind);
        tabs->UseSkinSize = c.UseSkinSize;
        if (c.Height) tabs->SetDefaultHeight(c.Height);
        tabs->ChangeSkinData();
        MoveTo(On(c.Hover ? 60 : 5, 200));
        if (c.Hover) MoveTo(On(60, 3));
        tabs->Invalidate();
        Run();
        ASSERT_EQ(tabs->Height(), c.Height ? c.Height : 20);
        tabs->CalcTabRects();
        ASSERT_TRUE(tabs->Tabs(1)->Active);
        ASSERT_EQ(tabs->Tabs(0)->MouseIn, c.Hover);
        const win::HWND h = tabs->Handle();
        for (int t = 0; t < 2; ++t) {
            const gfx::TRect r = tabs->Tabs(t)->ObjectRect;
            for (const TProbe& p : t == 0 ? c.Tab0 : c.Tab1)
                EXPECT_EQ(ClientPixel(h, r.Left + p.X, r.Top + p.Y), p.Color)
                    << "tab " << t << " at " << p.X << "," << p.Y;
            const gfx::TColor font = t == 0 ? c.Font0 : c.Font1;
            if (!font) continue;
            bool seen = false;
            for (int x = r.Left; x < r.Right && !seen; ++x)
                for (int y = r.Top; y < r.Bottom && !seen; ++y)
                    seen = Near(ClientPixel(h, x, y), font);
            EXPECT_TRUE(seen) << "caption of tab " << t;
        }
    }
    // Without the button record, button tabs draw nothing over the bar's background.
    tabs->SetSkinData(TabsSkin(false));
    tabs->SetTabKind(bstkButton);
    tabs->UseSkinSize = true;
    tabs->ChangeSkinData();
    Run();
    tabs->CalcTabRects();
    const gfx::TRect r = tabs->Tabs(0)->ObjectRect;
    EXPECT_EQ(ClientPixel(tabs->Handle(), r.Left + 1, 10), kBarBack);
    EXPECT_EQ(ClientPixel(tabs->Handle(), r.Left + 50, 10), kBarBack);
}

}  // namespace
}  // namespace skin
