// The skinned page control: the display areas and tab rectangles it answers on every side with
// and without a record, centred rows, hidden tabs, the skinned tab scroller, wheel paging, close
// buttons, the default look of its tabs, and the sheets' backgrounds.
#include "skin/controls/page_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_test_support.h"
#include "platform/win/win.h"
#include "skin/controls/up_down.h"

namespace skin {
namespace {

using gfx::TColor;
using vcl::TTabPosition;
using win::PtrToParam;

constexpr TColor kFrame = gfx::RGB(0, 0, 200);
constexpr TColor kClient = gfx::RGB(0, 200, 200);
constexpr TColor kTab = gfx::RGB(220, 220, 0);
constexpr TColor kTabEdge = gfx::RGB(200, 0, 0);
constexpr TColor kActive = gfx::RGB(0, 160, 0);
constexpr TColor kHot = gfx::RGB(250, 150, 0);
constexpr TColor kBackPicture = gfx::RGB(90, 40, 140);
constexpr TColor kWallPaper = gfx::RGB(10, 120, 30);
constexpr TColor kNavy = gfx::RGB(0, 0, 128);

// A "tab" record on a 40 x 40 frame picture (client 3,4 - 36,35) with tab pictures 30 wide: the
// normal one 20 high, the selected one 24 high, each with a red outer edge row.
TbsSkinContent TabSkin(const std::string& extra = "") {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(100, 100, kFrame));
    pictures.push_back(test::SolidPicture(8, 8, kBackPicture));
    gfx::TBitmap& p = *pictures[0];
    test::FillArea(p, {3, 4, 36, 35}, kClient);
    test::FillArea(p, {50, 0, 80, 20}, kTab);
    test::FillArea(p, {50, 0, 80, 1}, kTabEdge);
    test::FillArea(p, {50, 30, 80, 54}, kActive);
    test::FillArea(p, {50, 30, 80, 31}, kTabEdge);
    test::FillArea(p, {50, 60, 80, 80}, kHot);
    return test::FixtureSkin(
        {{"tab", "tab",
          "pictureindex=0\nskinrect=0,0,40,40\nclientrect=3,4,36,35\nlefttoppoint=3,4\n"
          "righttoppoint=36,4\nleftbottompoint=3,35\nrightbottompoint=36,35\n"
          "leftstretch=1\ntopstretch=1\nrightstretch=1\nbottomstretch=1\n"
          "tabrect=50,0,80,20\nactivetabrect=50,30,80,54\nmouseintabrect=50,60,80,80\n"
          "tableftoffset=4\ntabrightoffset=4\ntabstretcheffect=1\nfontname=Arial\n"
          "fontheight=13\n" +
              extra}},
        std::move(pictures));
}

class PageControlTest : public test::TControlsTest {
public:
    // A 300 x 200 page control on the form with a sheet per caption; tabs 80 wide (0: as wide
    // as their text).
    TbsSkinPageControl* MakePages(const std::vector<std::string>& captions, int tabWidth = 80) {
        auto* pc = Make<TbsSkinPageControl>(10, 10, 300, 200, "Pages");
        pc->SetTabWidth(tabWidth);
        for (const std::string& caption : captions) AddSheet(pc, caption);
        // As after loading: the tab height of the record, or DefaultItemHeight.
        pc->UpDateTabs();
        Run();
        return pc;
    }
    TbsSkinTabSheet* AddSheet(TbsSkinPageControl* pc, const std::string& caption) {
        auto* sheet = new TbsSkinTabSheet(Form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pc);
        return sheet;
    }
    static TRect Display(TbsSkinPageControl* pc) {
        TRect r = pc->ClientRect();
        pc->Perform(vcl::TCM_ADJUSTRECT, 0, PtrToParam(&r));
        return r;
    }
    static TRect Item(TbsSkinPageControl* pc, int index) {
        TRect r;
        pc->Perform(vcl::TCM_GETITEMRECT, index, PtrToParam(&r));
        return r;
    }
    static bool PlainScrollerShown(TbsSkinPageControl* pc) {
        for (win::HWND c = win::GetWindow(pc->Handle(), win::GW_CHILD); c;
             c = win::GetWindow(c, win::GW_HWNDNEXT))
            if (win::GetClassName(c) == vcl::kUpDownClass) return true;
        return false;
    }
};

// The plain control answers (4, 26, 296, 196) for top tabs 20 high in 300 x 200, and mirrors it;
// hidden tabs are a top row 1 high, (4, 7, 296, 196), or (4, 4, 296, 193) at the bottom.
TEST_F(PageControlTest, DisplayAreasAndTabRectanglesOnEverySide) {
    enum TMode { kNormal, kTabsHidden, kBorderHidden };
    struct TCase {
        TTabPosition Position;
        bool Record;
        TMode Mode;
        TRect Display;
    };
    const TCase cases[] = {
        {vcl::tpTop, false, kNormal, {1, 21, 299, 199}},
        {vcl::tpBottom, false, kNormal, {1, 1, 299, 177}},
        {vcl::tpLeft, false, kNormal, {23, 1, 299, 199}},
        {vcl::tpRight, false, kNormal, {1, 1, 277, 199}},
        {vcl::tpTop, false, kTabsHidden, {1, 1, 299, 199}},
        {vcl::tpBottom, false, kTabsHidden, {1, 1, 299, 196}},
        {vcl::tpLeft, false, kTabsHidden, {1, 1, 299, 199}},
        {vcl::tpRight, false, kTabsHidden, {1, 1, 299, 199}},
        // cl 3, ct 4, rb 4, bb 5
        {vcl::tpTop, true, kNormal, {3, 24, 296, 195}},
        {vcl::tpBottom, true, kNormal, {3, 4, 296, 173}},
        {vcl::tpLeft, true, kNormal, {25, 4, 296, 195}},
        {vcl::tpRight, true, kNormal, {3, 4, 274, 195}},
        {vcl::tpTop, true, kTabsHidden, {3, 4, 296, 195}},
        {vcl::tpBottom, true, kTabsHidden, {3, 4, 296, 193}},
        {vcl::tpLeft, true, kTabsHidden, {3, 4, 296, 195}},
        {vcl::tpRight, true, kTabsHidden, {3, 4, 296, 195}},
        {vcl::tpTop, false, kBorderHidden, {0, -2, 300, 200}},
        {vcl::tpRight, true, kBorderHidden, {0, -2, 300, 200}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "position " << c.Position << " record " << c.Record << " mode " << c.Mode);
        TbsSkinPageControl* pc = MakePages({"One", "Two"});
        if (c.Record) Load(TabSkin());
        pc->SetTabPosition(c.Position);
        if (c.Mode == kTabsHidden) pc->HideTabs();
        if (c.Mode == kBorderHidden) pc->HideBorderAndTabs();
        EXPECT_EQ(Display(pc), c.Display);
        EXPECT_EQ(pc->ActivePage()->BoundsRect(), c.Display);
        pc->Free();
    }
    // Tab rectangles: top tabs move up and left by 2; the others already touch the frame.
    TbsSkinPageControl* pc = MakePages({"One", "Two"});
    struct TItemCase {
        TTabPosition Position;
        TRect Tab0, Tab1;
    };
    const TItemCase items[] = {
        {vcl::tpTop, {0, 0, 80, 20}, {80, 0, 160, 20}},
        {vcl::tpBottom, {0, 178, 80, 198}, {80, 178, 160, 198}},
        {vcl::tpLeft, {2, 2, 22, 82}, {2, 82, 22, 162}},
        {vcl::tpRight, {278, 2, 298, 82}, {278, 82, 298, 162}},
    };
    for (const TItemCase& c : items) {
        pc->SetTabPosition(c.Position);
        EXPECT_EQ(Item(pc, 0), c.Tab0) << c.Position;
        EXPECT_EQ(Item(pc, 1), c.Tab1) << c.Position;
    }
    pc->SetTabPosition(vcl::tpTop);
    EXPECT_EQ(pc->TabRectOf(0), gfx::Rect(1, 0, 80, 20));
    pc->SetMultiLine(true);
    EXPECT_EQ(Item(pc, 0), gfx::Rect(2, 0, 82, 20));
    EXPECT_EQ(pc->TabRectOf(0), gfx::Rect(2, 0, 82, 20));
}

// The selected tab's frame-side edge and the frame line are neighbours on every side (the
// default look: a navy tab frame, a clBtnShadow frame line around the display area).
TEST_F(PageControlTest, TheTabRowTouchesTheFrameLineOnEverySide) {
    TbsSkinPageControl* pc = MakePages({"One", "Two"});
    struct TCase {
        TTabPosition Position;
        TPoint TabEdge, FrameLine;
    };
    const TCase cases[] = {
        {vcl::tpTop, {40, 19}, {40, 20}},
        {vcl::tpBottom, {40, 178}, {40, 177}},
        {vcl::tpLeft, {21, 40}, {22, 40}},
        {vcl::tpRight, {278, 40}, {277, 40}},
    };
    for (const TCase& c : cases) {
        pc->SetTabPosition(c.Position);
        Run();
        EXPECT_EQ(PixelOf(pc, c.TabEdge.X, c.TabEdge.Y), kNavy) << c.Position;
        EXPECT_EQ(PixelOf(pc, c.FrameLine.X, c.FrameLine.Y), gfx::ColorToRGB(gfx::clBtnShadow))
            << c.Position;
    }
}

TEST_F(PageControlTest, CentredAndOffsetTabRows) {
    TbsSkinPageControl* pc = MakePages({"One", "Two", "Three"}, 0);
    pc->SetTabsInCenter(true);
    EXPECT_FALSE(pc->TabsInCenter());  // no fixed width to centre
    pc->SetTabWidth(80);
    pc->SetTabsInCenter(true);
    EXPECT_TRUE(pc->TabsInCenter());
    EXPECT_TRUE(pc->TabsBGTransparent());
    EXPECT_EQ(pc->TabsOffsetValue(), 30);
    EXPECT_EQ(Item(pc, 1), gfx::Rect(110, 0, 190, 20));
    // A click on the shifted second tab selects it.
    Click(pc, 115, 10);
    EXPECT_EQ(pc->ActivePage(), pc->Pages(1));
    AddSheet(pc, "Four");
    AddSheet(pc, "Five");
    EXPECT_EQ(pc->TabsOffsetValue(), 0);  // 150 - 200 is below 0
    pc->SetTabsInCenter(false);
    pc->SetTabsOffset(12);
    EXPECT_EQ(pc->TabsOffsetValue(), 12);
    EXPECT_EQ(Item(pc, 0), gfx::Rect(12, 0, 92, 20));
}

TEST_F(PageControlTest, HidingTabsTwiceAndShowingThemOnceRestoresTheRow) {
    TbsSkinPageControl* pc = MakePages({"One", "Two"});
    pc->SetTabPosition(vcl::tpLeft);
    pc->SetMultiLine(true);
    pc->SetTabHeight(24);
    pc->HideTabs();
    pc->HideTabs();
    EXPECT_EQ(pc->TabPosition(), vcl::tpTop);
    EXPECT_FALSE(pc->MultiLine());
    EXPECT_EQ(pc->TabHeight(), 1);
    pc->ShowTabs();
    EXPECT_EQ(pc->TabPosition(), vcl::tpLeft);
    EXPECT_TRUE(pc->MultiLine());
    EXPECT_EQ(pc->TabHeight(), 24);
    EXPECT_EQ(Item(pc, 0), gfx::Rect(2, 2, 26, 82));
    EXPECT_FALSE(pc->TabsHidden());
}

TEST_F(PageControlTest, AClickOnATabAsksThenChangesAndShowsItsSheet) {
    TbsSkinPageControl* pc = MakePages({"One", "Two"});
    std::vector<std::string> events;
    pc->OnChanging = [&](vcl::TObject*, bool&) { events.push_back("changing"); };
    pc->OnChange = [&](vcl::TObject*) {
        events.push_back(pc->ActivePage() == pc->Pages(1) ? "change to two" : "change");
    };
    Click(pc, 100, 10);
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change to two"}));
    EXPECT_TRUE(pc->Pages(1)->Visible());
    EXPECT_FALSE(pc->Pages(0)->Visible());
}

TEST_F(PageControlTest, OverflowingTabsGetTheSkinnedScrollerOnly) {
    TbsSkinPageControl* pc =
        MakePages({"One", "Two", "Three", "Four", "Five", "Six"});  // 480 px in 300
    Run();
    TbsSkinUpDown* scroller = pc->Scroller();
    ASSERT_NE(scroller, nullptr);
    EXPECT_FALSE(PlainScrollerShown(pc));
    // Tabs 3, 4 and 5 pass the right end (less 3 pixels).
    EXPECT_EQ(pc->HiddenTabCount(), 3);
    EXPECT_EQ(scroller->Max(), 3);
    EXPECT_EQ(scroller->Parent(), pc);
    EXPECT_EQ(scroller->BoundsRect(),
              gfx::Bounds(300 - scroller->Width(), 0, scroller->Width(), scroller->Height()));
    // The forward button scrolls the row by one tab.
    Click(scroller, scroller->Width() - 5, scroller->Height() / 2);
    Run();
    EXPECT_EQ(pc->FirstShownTab(), 1);
    EXPECT_EQ(Item(pc, 1), gfx::Rect(0, 0, 80, 20));
    EXPECT_FALSE(PlainScrollerShown(pc));
    // Bottom tabs: at the bottom right.
    pc->SetTabPosition(vcl::tpBottom);
    pc->SetBounds(10, 10, 320, 200);
    Run();
    ASSERT_NE(pc->Scroller(), nullptr);
    EXPECT_EQ(pc->Scroller()->Top(), 200 - pc->Scroller()->Height());
    EXPECT_FALSE(PlainScrollerShown(pc));
    // Several lines need no scroller.
    pc->SetMultiLine(true);
    pc->UpDateTabs();
    Run();
    EXPECT_EQ(pc->Scroller(), nullptr);
}

TEST_F(PageControlTest, TheWheelPagesThroughVisibleSheets) {
    TbsSkinPageControl* pc = MakePages({"One", "Two", "Three", "Four"});
    pc->Pages(1)->SetTabVisible(false);
    auto wheel = [&](int delta) {
        pc->Perform(win::WM_MOUSEWHEEL, win::MAKEWPARAM(0, delta), 0);
        return pc->ActivePageIndex();
    };
    EXPECT_EQ(wheel(-120), 0);  // off: nothing
    pc->SetMouseWheelSupport(true);
    EXPECT_EQ(wheel(-120), 2);  // the hidden second sheet is passed over
    EXPECT_EQ(wheel(-120), 3);
    EXPECT_EQ(wheel(-120), 3);  // the end
    EXPECT_EQ(wheel(120), 2);
    EXPECT_EQ(wheel(120), 0);
    EXPECT_EQ(wheel(120), 0);
}

class PageCloseTest : public PageControlTest {
public:
    // The close button of visible tab i, in client coordinates of the page control.
    TRect CloseButton(TbsSkinPageControl* pc, int i) {
        Run();
        auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(pc->Pages(i));
        const TRect tab = pc->TabRectOf(i);
        return sheet->ButtonRect.Offset(tab.Left, tab.Top);
    }
    void ClickIn(TbsSkinPageControl* pc, const TRect& r) {
        MoveTo(pc, r.Left + 3, r.Top + 3);
        Down(pc, r.Left + 3, r.Top + 3);
        Up(pc, r.Left + 3, r.Top + 3);
    }
};

TEST_F(PageCloseTest, CloseButtonsAskHideAndReport) {
    TbsSkinPageControl* pc = MakePages({"One", "Two", "Three"}, 0);
    const int plain = Item(pc, 0).Width();
    pc->SetShowCloseButtons(true);
    // Each tab reserves the button.
    EXPECT_EQ(Item(pc, 0).Width(), plain + 14);
    std::vector<std::string> log;
    bool allow = false;
    pc->OnClose = [&](vcl::TObject* Sender, bool& CanClose) {
        log.push_back("close " + dynamic_cast<vcl::TTabSheet*>(Sender)->Caption());
        CanClose = allow;
    };
    pc->OnAfterClose = [&](vcl::TObject*) {
        log.push_back(std::string("after, tab shown: ") +
                      (pc->Pages(0)->TabVisible() ? "yes" : "no"));
    };
    const TRect button = CloseButton(pc, 0);
    EXPECT_EQ(button.Width(), 14);
    ClickIn(pc, button);
    EXPECT_EQ(log, (std::vector<std::string>{"close One"}));
    EXPECT_TRUE(pc->Pages(0)->TabVisible());
    allow = true;
    ClickIn(pc, button);
    EXPECT_EQ(log, (std::vector<std::string>{"close One", "close One", "after, tab shown: no"}));
    EXPECT_EQ(pc->PageCount(), 3);  // FreeOnClose is off: hidden, not freed
    // Freed when asked to.
    pc->SetFreeOnClose(true);
    log.clear();
    ClickIn(pc, CloseButton(pc, 0));
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(log.front(), "close Two");
}

// A refused change at the press leaves another page active; the pressed button's own page
// closes.
TEST_F(PageCloseTest, TheButtonPressedAndReleasedClosesItsOwnPage) {
    TbsSkinPageControl* pc = MakePages({"One", "Two"}, 0);
    pc->SetShowCloseButtons(true);
    pc->OnChanging = [](vcl::TObject*, bool& allow) { allow = false; };
    std::vector<vcl::TObject*> closed;
    pc->OnClose = [&](vcl::TObject* Sender, bool&) { closed.push_back(Sender); };
    ClickIn(pc, CloseButton(pc, 1));
    EXPECT_EQ(pc->ActivePage(), pc->Pages(0));
    EXPECT_EQ(closed, (std::vector<vcl::TObject*>{pc->Pages(1)}));
    EXPECT_FALSE(pc->Pages(1)->TabVisible());
    EXPECT_TRUE(pc->Pages(0)->TabVisible());
    // Pressed elsewhere and released on a button: nothing closes.
    closed.clear();
    const TRect b = CloseButton(pc, 0);
    Down(pc, 5, 5);
    MoveTo(pc, b.Left + 3, b.Top + 3);
    Up(pc, b.Left + 3, b.Top + 3);
    EXPECT_TRUE(closed.empty());
}

TEST_F(PageCloseTest, TheDefaultLookOfTabsAndCloseButtons) {
    TbsSkinPageControl* pc = MakePages({"One", "Two", "Three"});
    pc->SetShowCloseButtons(true);
    pc->SetFocus();
    Run();
    // Selected and focused: a navy frame on RGB(133, 147, 181).
    EXPECT_EQ(PixelOf(pc, 1, 10), kNavy);
    EXPECT_EQ(PixelOf(pc, 3, 10), gfx::RGB(133, 147, 181));
    // Others: clBtnFace; hot: RGB(182, 189, 210) once the pointer is over it.
    EXPECT_EQ(PixelOf(pc, 85, 10), gfx::ColorToRGB(gfx::clBtnFace));
    MoveTo(pc, 90, 10);
    EXPECT_EQ(PixelOf(pc, 85, 10), gfx::RGB(182, 189, 210));
    // The cross is black, and white while the pointer is over the button.
    const TRect b = CloseButton(pc, 1);
    auto crossPixels = [&](TColor color) {
        int n = 0;
        for (int y = b.Top; y < b.Bottom; ++y)
            for (int x = b.Left; x < b.Right; ++x) n += PixelOf(pc, x, y) == color;
        return n;
    };
    EXPECT_GT(crossPixels(gfx::clBlack), 4);
    EXPECT_EQ(crossPixels(gfx::clWhite), 0);
    MoveTo(pc, b.Left + 3, b.Top + 3);
    EXPECT_GT(crossPixels(gfx::clWhite), 4);
    // Not focused: the selected tab is navy-framed on the hot colour.
    pc->Pages(0)->SetFocus();
    Run();
    EXPECT_EQ(PixelOf(pc, 3, 10), gfx::RGB(182, 189, 210));
}

TEST_F(PageControlTest, SkinnedFrameTabsAndSheetBackgrounds) {
    TbsSkinPageControl* pc = MakePages({"One", "Two"});
    pc->SetTabWidth(0);
    Load(TabSkin());
    Run();
    EXPECT_EQ(pc->FIndex, 0);
    EXPECT_EQ(pc->Font().Height(), 13);   // the record's font
    EXPECT_EQ(Item(pc, 0).Height(), 20);  // the tab picture's height
    // Frame around the sheet, the sheet from the record's client area.
    const TRect d = Display(pc);
    EXPECT_EQ(PixelOf(pc, d.Left - 1, d.Top + 20), kFrame);
    EXPECT_EQ(PixelOf(pc, d.Left + 10, d.Top + 10), kClient);
    // The selected tab (24 high) reaches 4 pixels into the frame; the other one stops at it.
    const TRect tab0 = pc->TabRectOf(0), tab1 = pc->TabRectOf(1);
    EXPECT_EQ(PixelOf(pc, tab0.Left + 10, 0), kTabEdge);
    EXPECT_EQ(PixelOf(pc, tab0.Left + 10, 22), kActive);
    EXPECT_EQ(PixelOf(pc, tab1.Left + 10, 0), kTabEdge);
    EXPECT_EQ(PixelOf(pc, tab1.Left + 10, 10), kTab);
    EXPECT_EQ(PixelOf(pc, tab1.Left + 10, 22), kFrame);
    // Bottom tabs are mirrored: the outer edge row at the bottom; the selected tab reaches up.
    pc->SetTabPosition(vcl::tpBottom);
    Run();
    const TRect b0 = pc->TabRectOf(0), b1 = pc->TabRectOf(1);
    EXPECT_EQ(PixelOf(pc, b1.Left + 10, b1.Bottom - 1), kTabEdge);
    EXPECT_EQ(PixelOf(pc, b1.Left + 10, b1.Top), kTab);
    EXPECT_EQ(PixelOf(pc, b0.Left + 10, b0.Bottom - 1), kTabEdge);
    EXPECT_EQ(PixelOf(pc, b0.Left + 10, b0.Top - 3), kActive);
    EXPECT_EQ(PixelOf(pc, b1.Left + 10, b1.Top - 3), kFrame);
    // Left tabs turn their picture: the outer edge column on the left.
    pc->SetTabPosition(vcl::tpLeft);
    Run();
    const TRect l1 = pc->TabRectOf(1);
    EXPECT_EQ(PixelOf(pc, l1.Left, l1.Top + 10), kTabEdge);
    EXPECT_EQ(PixelOf(pc, l1.Left + 5, l1.Top + 10), kTab);
    // A wallpaper wins over the skin; the record's background picture over its client area.
    auto* sheet = dynamic_cast<TbsSkinTabSheet*>(pc->ActivePage());
    sheet->SetWallPaper(*test::SolidPicture(5, 5, kWallPaper));
    sheet->Invalidate();
    Run();
    EXPECT_EQ(PixelOf(sheet, 7, 7), kWallPaper);
    sheet->SetWallPaper(gfx::TBitmap());
    Load(TabSkin("bgpictureindex=1\n"));
    sheet->Invalidate();
    Run();
    EXPECT_EQ(PixelOf(sheet, 7, 7), kBackPicture);
}

TEST_F(PageControlTest, TabRowBackgroundsAndCloseButtonPictures) {
    TbsSkinPageControl* pc = MakePages({"One", "Two"});
    Load(TabSkin());
    Run();
    // Right of the last tab: the skin's client piece, or what the form shows there.
    const int x = pc->TabRectOf(1).Right + 20;
    EXPECT_EQ(PixelOf(pc, x, 5), kClient);
    pc->SetTabsBGTransparent(true);
    Run();
    EXPECT_EQ(PixelOf(pc, x, 5), gfx::ColorToRGB(Form->Color()));
    // Neither a close picture nor a "resizetoolbutton" record: no close buttons.
    pc->SetShowCloseButtons(true);
    Run();
    EXPECT_EQ(pc->CloseSize(), 14);
    EXPECT_TRUE(dynamic_cast<TbsSkinCustomTabSheet*>(pc->Pages(0))->ButtonRect.IsEmpty());
    // A close picture of the record: its width is the close size, drawn at its own size.
    Load(TabSkin("closebuttonrect=84,0,96,12\n"));
    Run();
    EXPECT_EQ(pc->CloseSize(), 12);
    const TRect b = dynamic_cast<TbsSkinCustomTabSheet*>(pc->Pages(1))->ButtonRect;
    EXPECT_EQ(b.Width(), 12);
    EXPECT_EQ(b.Height(), 12);
    const TRect tab = pc->TabRectOf(1);
    EXPECT_EQ(PixelOf(pc, tab.Left + b.Left + 5, tab.Top + b.Top + 5), kFrame);
}

}  // namespace
}  // namespace skin
