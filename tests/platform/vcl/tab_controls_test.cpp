// The page control on its tab control: the classic layout, hidden sheets, vetoed changes,
// corrected display areas and the up-down of overflowing tabs.
#include "platform/vcl/tab_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"
#include "platform/vcl/view_support.h"
#include "platform/win/scroll_info.h"

namespace vcl {
namespace {

using test::TVclTest;
using TabsTest = TVclTest;

TPageControl* MakePages(TForm* form, const std::vector<std::string>& captions) {
    auto* pages = new TPageControl(form);
    pages->SetBounds(0, 0, 300, 200);
    pages->SetParent(form);
    pages->SetTabHeight(20);
    for (const std::string& caption : captions) {
        auto* sheet = new TTabSheet(form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    return pages;
}

TEST_F(TabsTest, TheClassicLayoutOnEverySide) {
    TForm* form = ShowForm(100, 100, 320, 220);
    TPageControl* pages = MakePages(form, {"General", "Audio"});
    Run();
    const int w0 = detail::MeasureText(pages->Font(), "General") + 12;
    const int w1 = detail::MeasureText(pages->Font(), "Audio") + 12;
    struct TCase {
        TTabPosition Position;
        TRect Tab0, Tab1, Display;
    };
    const TCase cases[] = {
        {tpTop, {2, 2, 2 + w0, 22}, {2 + w0, 2, 2 + w0 + w1, 22}, {4, 26, 296, 196}},
        {tpBottom, {2, 178, 2 + w0, 198}, {2 + w0, 178, 2 + w0 + w1, 198}, {4, 4, 296, 174}},
        {tpLeft, {2, 2, 22, 2 + w0}, {2, 2 + w0, 22, 2 + w0 + w1}, {26, 4, 296, 196}},
        {tpRight, {278, 2, 298, 2 + w0}, {278, 2 + w0, 298, 2 + w0 + w1}, {4, 4, 274, 196}},
    };
    for (const TCase& c : cases) {
        pages->SetTabPosition(c.Position);
        TRect r;
        ASSERT_EQ(pages->Perform(TCM_GETITEMRECT, 0, win::PtrToParam(&r)), 1);
        EXPECT_EQ(r, c.Tab0) << c.Position;
        pages->Perform(TCM_GETITEMRECT, 1, win::PtrToParam(&r));
        EXPECT_EQ(r, c.Tab1) << c.Position;
        r = pages->ClientRect();
        pages->Perform(TCM_ADJUSTRECT, 0, win::PtrToParam(&r));
        EXPECT_EQ(r, c.Display) << c.Position;
        EXPECT_EQ(pages->ActivePage()->BoundsRect(), c.Display) << c.Position;
        pages->Perform(TCM_ADJUSTRECT, 1, win::PtrToParam(&r));
        EXPECT_EQ(r, pages->ClientRect()) << c.Position;
    }
    // A fixed width, and images reserved in each tab.
    pages->SetTabPosition(tpTop);
    pages->SetTabWidth(70);
    TRect r;
    pages->Perform(TCM_GETITEMRECT, 1, win::PtrToParam(&r));
    EXPECT_EQ(r, gfx::Rect(72, 2, 142, 22));
    pages->SetTabWidth(0);
    auto* images = new TImageList(form);
    images->SetWidth(16);
    pages->SetImages(images);
    pages->Perform(TCM_GETITEMRECT, 0, win::PtrToParam(&r));
    EXPECT_EQ(r.Width(), w0 + 16 + 3);
}

TEST_F(TabsTest, HiddenSheetsHaveNoTabAndChangesCanBeRefused) {
    TForm* form = ShowForm(100, 100, 320, 220);
    TPageControl* pages = MakePages(form, {"One", "Two", "Three"});
    Run();
    pages->Pages(1)->SetTabVisible(false);
    EXPECT_EQ(pages->Perform(TCM_GETITEMCOUNT), 2);
    EXPECT_EQ(pages->Pages(2)->TabIndex(), 1);
    EXPECT_EQ(pages->Pages(1)->TabIndex(), -1);
    std::vector<std::string> events;
    bool allow = false;
    pages->OnChanging = [&](TObject*, bool& a) {
        events.push_back("changing");
        a = allow;
    };
    pages->OnChange = [&](TObject*) { events.push_back("change"); };
    TRect tab;
    pages->Perform(TCM_GETITEMRECT, 1, win::PtrToParam(&tab));
    Click(pages, tab.Left + 5, tab.Top + 5);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    allow = true;
    Click(pages, tab.Left + 5, tab.Top + 5);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(2));
    EXPECT_TRUE(pages->Pages(2)->Visible());
    EXPECT_FALSE(pages->Pages(0)->Visible());
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "changing", "change"}));
    // From code: no events.
    events.clear();
    pages->Perform(TCM_SETCURSEL, 0);
    EXPECT_EQ(pages->TabIndex(), 0);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    pages->SetActivePage(pages->Pages(2));
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_TRUE(events.empty());
}

// Corrects the display area the way a skinned page control does without a record.
class TCorrected : public TPageControl {
public:
    using TPageControl::TPageControl;
    void Dispatch(TMessage& m) override {
        TPageControl::Dispatch(m);
        if (m.Msg == TCM_ADJUSTRECT && !m.WParam) {
            auto* r = win::ParamToPtr<TRect>(std::uint64_t(m.LParam));
            *r = {1, r->Top - 5, ClientWidth() - 1, ClientHeight() - 1};
        }
    }
};

TEST_F(TabsTest, SheetsGoWhereTheControlsOwnAnswerSays) {
    TForm* form = ShowForm(100, 100, 320, 220);
    auto* pages = new TCorrected(form);
    pages->SetBounds(0, 0, 300, 200);
    pages->SetParent(form);
    pages->SetTabHeight(20);
    auto* sheet = new TTabSheet(form);
    sheet->SetPageControl(pages);
    Run();
    EXPECT_EQ(sheet->BoundsRect(), gfx::Rect(1, 21, 299, 199));
}

// Moves presses 100 px to the left before the tab control sees them, as centred skinned tabs do.
class TShiftedPresses : public TPageControl {
public:
    using TPageControl::TPageControl;
    void Dispatch(TMessage& m) override {
        if (m.Msg == win::WM_LBUTTONDOWN)
            m.LParam =
                win::MAKELPARAM(win::GET_X_LPARAM(m.LParam) - 100, win::GET_Y_LPARAM(m.LParam));
        TPageControl::Dispatch(m);
    }
};

TEST_F(TabsTest, PressesAreTakenAtTheMessagesPoint) {
    TForm* form = ShowForm(100, 100, 320, 220);
    auto* pages = new TShiftedPresses(form);
    pages->SetBounds(0, 0, 300, 200);
    pages->SetParent(form);
    pages->SetTabHeight(20);
    pages->SetTabWidth(50);
    for (const char* caption : {"a", "b", "c"}) {
        auto* sheet = new TTabSheet(form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    Run();
    Click(pages, 100 + 2 + 50 + 10, 10);  // reaches the control as a press on tab 1
    EXPECT_EQ(pages->ActivePageIndex(), 1);
}

TEST_F(TabsTest, OverflowingTabsGetAnUpDownThatScrollsThem) {
    TForm* form = ShowForm(100, 100, 320, 220);
    TPageControl* pages = MakePages(form, {"a", "b", "c", "d", "e", "f"});
    pages->SetTabWidth(80);
    Run();
    auto findUpDown = [&] {
        for (HWND c = win::GetWindow(pages->Handle(), win::GW_CHILD); c;
             c = win::GetWindow(c, win::GW_HWNDNEXT))
            if (win::GetClassName(c) == kUpDownClass) return c;
        return HWND();
    };
    const HWND upDown = findUpDown();
    ASSERT_TRUE(upDown);
    TRect r;
    win::GetClientRect(upDown, r);
    // Two clicks on its forward half make tab 2 the first one shown.
    TPoint p{r.Right - 3, 5};
    win::ClientToScreen(upDown, p);
    Screen->Click(p);
    Run();
    Screen->Click(p);
    Run();
    EXPECT_EQ(pages->FirstShownTab(), 2);
    pages->Perform(TCM_GETITEMRECT, 2, win::PtrToParam(&r));
    EXPECT_EQ(r.Left, 2);
    pages->Perform(win::WM_HSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 0));
    pages->Perform(TCM_GETITEMRECT, 0, win::PtrToParam(&r));
    EXPECT_EQ(r.Left, 2);
    // A new window keeps the tabs, their scroll and the up-down.
    pages->Perform(win::WM_HSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 1));
    pages->RecreateWnd();
    Run();
    EXPECT_TRUE(findUpDown());
    EXPECT_EQ(pages->FirstShownTab(), 1);
    EXPECT_EQ(pages->Perform(TCM_GETITEMCOUNT), 6);
    // Several lines need none.
    pages->SetMultiLine(true);
    EXPECT_FALSE(findUpDown());
    EXPECT_EQ(pages->RowCount(), 2);
    EXPECT_EQ(pages->DisplayRect().Top, 6 + 2 * 20);
}

}  // namespace
}  // namespace vcl
