// The plain list box: owner-drawn rows, find requests, user and code selection, scrolling.
#include "platform/vcl/list_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"
#include "platform/win/scroll_info.h"

namespace vcl {
namespace {

using test::TVclTest;
using ListBoxTest = TVclTest;

// Records the rows it is asked to draw and their states.
class TDrawLog : public TListBox {
public:
    using TListBox::TListBox;
    std::vector<int> Rows;
    std::vector<UINT> States;
    void Dispatch(TMessage& m) override {
        if (m.Msg == CN_DRAWITEM) {
            const auto* dis = win::ParamToPtr<DRAWITEMSTRUCT>(std::uint64_t(m.LParam));
            Rows.push_back(int(dis->itemID));
            States.push_back(dis->itemState);
        }
        TListBox::Dispatch(m);
    }
};

TListBox* MakeBox(TForm* form, int rows = 0) {
    auto* box = new TListBox(form);
    box->SetBounds(10, 10, 150, 5 * 16 + 2);  // 5 rows inside the border
    box->SetParent(form);
    for (int i = 0; i < rows; ++i) box->Items().Add("item " + std::to_string(i));
    return box;
}

TEST_F(ListBoxTest, OwnerDrawnRowsAreAskedForOnlyWhenShown) {
    TForm* form = ShowForm(100, 100, 300, 200);
    auto* box = new TDrawLog(form);
    box->SetBounds(10, 10, 150, 5 * 16 + 2);
    box->SetStyle(lbOwnerDrawFixed);
    box->SetParent(form);
    for (int i = 0; i < 100; ++i) box->Items().Add("row " + std::to_string(i));
    Run();
    EXPECT_EQ(box->Rows, (std::vector<int>{0, 1, 2, 3, 4}));
    box->Rows.clear();
    box->States.clear();
    box->SetTopIndex(50);
    box->SetItemIndex(51);
    box->SetFocus();
    box->Repaint();
    EXPECT_EQ(box->Rows, (std::vector<int>{50, 51, 52, 53, 54}));
    EXPECT_EQ(box->States[1], ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(box->States[0], 0u);
    // A paint into a DC that WM_PAINT carries draws the same rows.
    box->Rows.clear();
    gfx::TBitmap bitmap;
    bitmap.SetSize(150, 82);
    box->Perform(win::WM_PAINT, win::DcToParam(bitmap.Canvas().Handle()));
    EXPECT_EQ(box->Rows, (std::vector<int>{50, 51, 52, 53, 54}));
}

TEST_F(ListBoxTest, FindStringIsACaseInsensitivePrefixSearchAfterTheStartThatWraps) {
    TForm* form = ShowForm(100, 100, 300, 200);
    TListBox* box = MakeBox(form);
    for (const char* s : {"Apple", "banana", "apricot", "Cherry", "APPLE pie"}) box->Items().Add(s);
    struct TCase {
        int Start;
        const char* Text;
        int Expected;
    };
    const TCase cases[] = {
        {-1, "ap", 0}, {0, "ap", 2}, {2, "ap", 4},       {4, "ap", 0},
        {-1, "CH", 3}, {3, "ch", 3}, {-1, "kiwi", -1},   {-1, "", 0},
        {1, "", 2},    {99, "b", 1}, {-1, "apple p", 4},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(box->Perform(LB_FINDSTRING, WPARAM(c.Start), win::PtrToParam(c.Text)), c.Expected)
            << c.Start << " " << c.Text;
}

TEST_F(ListBoxTest, OnlyTheUserRaisesOnClick) {
    TForm* form = ShowForm(100, 100, 300, 200);
    TListBox* box = MakeBox(form, 20);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetItemIndex(3);
    box->Perform(LB_SETCURSEL, 4);
    box->Items().Add("more");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(box->ItemIndex(), 4);
    Click(box, 20, 16 * 2 + 5);
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    Press(win::VK_DOWN);
    Run();
    EXPECT_EQ(box->ItemIndex(), 3);
    EXPECT_EQ(clicks, 2);
    // Typing searches incrementally.
    box->Items().Add("zebra");
    Screen->Text("ze");
    Run();
    EXPECT_EQ(box->Items()[box->ItemIndex()], "zebra");
    EXPECT_EQ(clicks, 3);
}

// Sees the strings arrive as requests.
class TStringLog : public TListBox {
public:
    using TListBox::TListBox;
    std::vector<UINT> Requests;
    void Dispatch(TMessage& m) override {
        if (m.Msg == LB_ADDSTRING || m.Msg == LB_INSERTSTRING || m.Msg == LB_DELETESTRING)
            Requests.push_back(m.Msg);
        TListBox::Dispatch(m);
    }
};

TEST_F(ListBoxTest, StringsTravelAsRequestsAndSurviveANewWindow) {
    TForm* form = ShowForm(100, 100, 300, 200);
    auto* box = new TStringLog(form);
    box->SetParent(form);
    box->SetSorted(true);
    TObject marker;
    box->Items().AddObject("pear", &marker);
    box->Items().Add("Apple");
    box->Items().Add("fig");
    box->Items().Delete(1);
    EXPECT_EQ(box->Requests,
              (std::vector<UINT>{LB_ADDSTRING, LB_ADDSTRING, LB_ADDSTRING, LB_DELETESTRING}));
    box->SetSorted(false);
    box->Items().Insert(0, "kiwi");
    EXPECT_EQ(box->Requests.back(), LB_INSERTSTRING);
    box->SetItemIndex(2);
    box->RecreateWnd();
    Run();
    ASSERT_EQ(box->Items().Count(), 3);
    EXPECT_EQ(box->Items().Text(), "kiwi\r\nApple\r\npear\r\n");
    EXPECT_EQ(box->Items().Objects(2), &marker);
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_THROW(box->Items().Delete(7), rtl::EListError);
}

TEST_F(ListBoxTest, ScrollingByWheelBarAndRequests) {
    TForm* form = ShowForm(100, 100, 300, 200);
    TListBox* box = MakeBox(form, 30);
    Run();
    int lo = -1, hi = -1;
    win::GetScrollRange(box->Handle(), win::SB_VERT, lo, hi);
    EXPECT_EQ(hi, 29);
    win::SCROLLINFO si;
    win::GetScrollInfo(box->Handle(), win::SB_VERT, si);
    EXPECT_EQ(si.nPage, 5u);
    box->SetFocus();
    Screen->Wheel(At(box, 10, 10), -120);
    Run();
    EXPECT_EQ(box->TopIndex(), 3);
    box->Perform(win::WM_VSCROLL, win::SB_PAGEDOWN);
    EXPECT_EQ(box->TopIndex(), 8);
    box->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 20));
    EXPECT_EQ(box->TopIndex(), 20);
    box->Perform(win::WM_VSCROLL, win::SB_BOTTOM);
    EXPECT_EQ(box->TopIndex(), 25);
    EXPECT_EQ(win::GetScrollPos(box->Handle(), win::SB_VERT), 25);
    box->Perform(LB_SETTOPINDEX, 2);
    EXPECT_EQ(box->TopIndex(), 2);
    EXPECT_EQ(box->ItemRect(4), gfx::Rect(0, 32, box->ClientWidth(), 48));
    EXPECT_EQ(box->ItemAtPos({5, 33}, true), 4);
    EXPECT_EQ(box->ItemAtPos({5, 500}, true), -1);
}

TEST_F(ListBoxTest, VerticalRangeIsEmptyWhileTheRowsFit) {
    TForm* form = ShowForm(100, 100, 300, 200);
    TListBox* box = MakeBox(form, 0);
    Run();
    const int rows = box->RowsPerPage();
    const auto range = [&] {
        int lo = -1, hi = -1;
        win::GetScrollRange(box->Handle(), win::SB_VERT, lo, hi);
        return std::pair{lo, hi};
    };
    for (int i = 0; i < rows; ++i) box->Items().Add("row " + std::to_string(i));
    EXPECT_EQ(range(), std::pair(0, 0));
    box->Items().Add("one more");
    EXPECT_EQ(range(), std::pair(0, rows));
    box->Perform(win::WM_VSCROLL, win::SB_LINEDOWN);
    EXPECT_EQ(box->TopIndex(), 1);
    EXPECT_EQ(win::GetScrollPos(box->Handle(), win::SB_VERT), 1);
    box->Perform(win::WM_VSCROLL, win::SB_LINEUP);
    EXPECT_EQ(box->TopIndex(), 0);
    box->Items().Delete(rows);
    EXPECT_EQ(range(), std::pair(0, 0));
}

TEST_F(ListBoxTest, ExtendedSelectionTakesRangesAndToggles) {
    TForm* form = ShowForm(100, 100, 300, 200);
    TListBox* box = MakeBox(form, 10);
    box->SetMultiSelect(true);
    Run();
    Click(box, 10, 5);
    Screen->KeyDown(win::VK_SHIFT);
    Click(box, 10, 16 * 3 + 5);
    Screen->KeyUp(win::VK_SHIFT);
    Run();
    EXPECT_EQ(box->SelCount(), 4);
    Screen->KeyDown(win::VK_CONTROL);
    Click(box, 10, 16 + 5);
    Screen->KeyUp(win::VK_CONTROL);
    Run();
    EXPECT_EQ(box->SelCount(), 3);
    EXPECT_FALSE(box->Selected(1));
    EXPECT_TRUE(box->Selected(3));
    box->ClearSelection();
    EXPECT_EQ(box->SelCount(), 0);
}

}  // namespace
}  // namespace vcl
