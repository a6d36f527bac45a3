// The plain list view: selection events, scroll information, the header window and its
// subclass, owner data and renaming.
#include "platform/vcl/list_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"
#include "platform/win/scroll_info.h"

namespace vcl {
namespace {

using test::TVclTest;
using ListViewTest = TVclTest;

TListView* MakeReport(TForm* form, int rows, int columns = 2) {
    auto* view = new TListView(form);
    view->SetViewStyle(vsReport);
    view->SetBounds(0, 0, 300, 200);
    view->SetParent(form);
    for (int c = 0; c < columns; ++c) {
        TListColumn* column = view->Columns().Add();
        column->SetCaption("C" + std::to_string(c));
        column->SetWidth(60);
    }
    view->Items().BeginUpdate();
    for (int i = 0; i < rows; ++i) {
        TListItem* item = view->Items().Add();
        item->SetCaption("row " + std::to_string(i));
        item->SubItems().Add("sub " + std::to_string(i));
    }
    view->Items().EndUpdate();
    return view;
}

TEST_F(ListViewTest, AChangedSubItemOrCaptionRedrawsItsRow) {
    TForm* form = ShowForm(100, 100, 320, 220);
    TListView* view = MakeReport(form, 5);
    int changes = 0;
    view->OnChange = [&](TObject*) { ++changes; };
    Run();
    for (const auto& change :
         std::vector<std::function<void()>>{[&] { view->Items()[2]->SubItems().Put(0, "new"); },
                                            [&] { view->Items()[2]->SetCaption("new caption"); }}) {
        TRect dirty;
        ASSERT_FALSE(win::GetUpdateRect(view->Handle(), &dirty, false));
        changes = 0;
        change();
        ASSERT_TRUE(win::GetUpdateRect(view->Handle(), &dirty, false));
        EXPECT_EQ(dirty.Top, view->Items()[2]->DisplayRect().Top);
        EXPECT_EQ(changes, 1);
        Run();
    }
}

TEST_F(ListViewTest, ASelectionMovesWithDeselectFirstAndNoSelectionInBetween) {
    TForm* form = ShowForm(100, 100, 320, 220);
    TListView* view = MakeReport(form, 5);
    Run();
    std::vector<std::string> log;
    view->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        log.push_back((selected ? "select(" : "deselect(") + std::to_string(item->Index()) + ") " +
                      std::to_string(view->ItemIndex()));
    };
    view->SetItemIndex(1);
    view->SetItemIndex(2);
    EXPECT_EQ(log, (std::vector<std::string>{"select(1) 1", "deselect(1) -1", "select(2) 2"}));
    // The same through clicks; a click on empty space clears the selection.
    log.clear();
    const TRect row1 = view->Items()[1]->DisplayRect();
    Click(view, 10, row1.Top + 2);
    Click(view, 10, view->ClientHeight() - 3);
    EXPECT_EQ(log, (std::vector<std::string>{"deselect(2) -1", "select(1) 1", "deselect(1) -1"}));
    EXPECT_EQ(view->ItemIndex(), -1);
    EXPECT_EQ(view->Selected(), nullptr);
}

// A double click that shows other rows (a folder opened) leaves them unselected: the second
// press comes after OnDblClick and must not choose the new row under the pointer.
TEST_F(ListViewTest, ADoubleClickThatReplacesTheRowsSelectsNoneOfThem) {
    TForm* form = ShowForm(100, 100, 420, 320);
    TListView* view = MakeReport(form, 3);
    int doubles = 0;
    view->OnDblClick = [&](TObject*) {
        ++doubles;
        view->ClearSelection();
        view->Items().Clear();
        view->Items().Add()->SetCaption("inside");
    };
    Run();
    const TRect r = view->Items()[0]->DisplayRect();
    const TPoint p = At(view, r.Left + 4, r.Top + 4);
    Screen->Click(p);
    Screen->Click(p);
    Run();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(view->SelCount(), 0);
    EXPECT_EQ(view->ItemIndex(), -1);
}

TEST_F(ListViewTest, ReportScrollUnitsAreRowsDownAndPixelsAcross) {
    TForm* form = ShowForm(100, 100, 320, 320);
    TListView* view = MakeReport(form, 100);
    const int rh = view->RowHeight();
    // Height for exactly 10 rows below the header, with the horizontal bar and the border.
    view->SetHeight(rh + 2 + 10 * rh + 17 + 2);
    Run();
    EXPECT_EQ(view->Perform(LVM_GETCOUNTPERPAGE), 10);
    EXPECT_EQ(view->Perform(LVM_GETITEMCOUNT), 100);
    win::SCROLLINFO si;
    win::GetScrollInfo(view->Handle(), win::SB_VERT, si);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 99);
    EXPECT_EQ(si.nPage, 10u);
    win::GetScrollInfo(view->Handle(), win::SB_HORZ, si);
    EXPECT_EQ(si.nMax, 119);
    EXPECT_EQ(si.nPage, UINT(view->ClientWidth()));
    view->Scroll(0, 3 * rh);
    EXPECT_EQ(view->TopItem()->Index(), 3);
    EXPECT_EQ(win::GetScrollPos(view->Handle(), win::SB_VERT), 3);
    TRect r;
    r.Left = LVIR_BOUNDS;
    view->Perform(LVM_GETITEMRECT, 4, win::PtrToParam(&r));
    EXPECT_EQ(r.Top, rh + 2 + rh);
    EXPECT_EQ(view->Items()[4]->Top(), r.Top);
    view->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 40));
    EXPECT_EQ(view->TopItem()->Index(), 40);
    view->Perform(win::WM_VSCROLL, win::SB_BOTTOM);
    EXPECT_EQ(view->TopItem()->Index(), 90);
    // The list view scrolls whole columns across.
    view->SetViewStyle(vsList);
    win::GetScrollInfo(view->Handle(), win::SB_VERT, si);
    EXPECT_EQ(si.nMax, 0);
    win::GetScrollInfo(view->Handle(), win::SB_HORZ, si);
    const int perColumn = view->ClientHeight() / rh;
    EXPECT_EQ(si.nMax, (100 + perColumn - 1) / perColumn - 1);
    view->Perform(win::WM_HSCROLL, win::SB_LINERIGHT);
    EXPECT_EQ(win::GetScrollPos(view->Handle(), win::SB_HORZ), 1);
    EXPECT_EQ(view->TopItem()->Index(), perColumn);
}

TEST_F(ListViewTest, ClosedColumnsWithATinyMaximumCannotBeDraggedOpen) {
    TForm* form = ShowForm(100, 100, 620, 220);
    auto* view = new TListView(form);
    view->SetViewStyle(vsReport);
    view->SetBounds(0, 0, 600, 200);
    view->SetParent(form);
    for (int c = 0; c < 25; ++c) {
        TListColumn* column = view->Columns().Add();
        if (c >= 5) {
            column->SetWidth(0);
            column->SetMaxWidth(1);
        } else {
            column->SetWidth(40);
        }
    }
    Run();
    const HWND header = view->HeaderHandle();
    ASSERT_TRUE(win::IsWindow(header));
    EXPECT_EQ(win::GetClassName(header), "SysHeader32");
    EXPECT_EQ(win::SendMessage(header, HDM_GETITEMCOUNT), 25);
    // The divider at x 200 belongs to the closed columns after the fifth.
    HDHITTESTINFO hit;
    hit.pt = {200, 5};
    win::SendMessage(header, HDM_HITTEST, 0, win::PtrToParam(&hit));
    EXPECT_TRUE(hit.flags & HHT_ONDIVIDER);
    EXPECT_GE(hit.iItem, 5);
    TPoint origin{0, 0};
    win::ClientToScreen(header, origin);
    Screen->MouseDown({origin.X + 200, origin.Y + 5});
    Screen->MouseMove({origin.X + 260, origin.Y + 5});
    Screen->MouseUp({origin.X + 260, origin.Y + 5});
    Run();
    for (int c = 5; c < 25; ++c) EXPECT_LE(view->Columns()[c]->Width(), 1) << c;
    // An open column follows the drag within its limits.
    view->Columns()[0]->SetMinWidth(30);
    Screen->MouseDown({origin.X + 40, origin.Y + 5});
    Screen->MouseMove({origin.X + 5, origin.Y + 5});
    Screen->MouseUp({origin.X + 5, origin.Y + 5});
    Run();
    EXPECT_EQ(view->Columns()[0]->Width(), 30);
    TRect r;
    win::SendMessage(header, HDM_GETITEMRECT, 1, win::PtrToParam(&r));
    EXPECT_EQ(r, gfx::Rect(30, 0, 70, view->RowHeight() + 2));
    int order[3] = {-1, -1, -1};
    win::SendMessage(header, HDM_GETORDERARRAY, 3, win::PtrToParam(order));
    EXPECT_EQ(order[2], 2);
}

TEST_F(ListViewTest, AHeaderSubclassTakenOverAtCreationKeepsItsExtraWidth) {
    TForm* form = ShowForm(100, 100, 420, 320);
    auto* view = new TListView(form);
    view->SetBounds(0, 0, 300, 200);
    view->SetParent(form);
    view->Columns().Add()->SetCaption("Name");
    // As a skinned view does: take the header over when it is made, and widen it by 25.
    std::vector<win::TSubclassToken> tokens;
    int clicks = 0;
    view->OnColumnClick = [&](TObject*, TListColumn* column) { clicks += column->Index() + 1; };
    const TWndMethod old = view->WindowProc;
    view->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == win::WM_PARENTNOTIFY && win::LOWORD(m.WParam) == win::WM_CREATE) {
            const HWND child = win::ParamToHwnd(std::uint64_t(m.LParam));
            if (win::GetClassName(child) == kHeaderClass)
                tokens.push_back(win::SubclassWindow(
                    child, [](HWND h, UINT msg, WPARAM w, LPARAM l, const win::TNextProc& next) {
                        if (msg == win::WM_WINDOWPOSCHANGING) {
                            win::ParamToPtr<win::WINDOWPOS>(std::uint64_t(l))->cx += 25;
                            return LRESULT(0);
                        }
                        return next(h, msg, w, l);
                    }));
        }
        old(m);
    };
    view->SetViewStyle(vsReport);
    Run();
    ASSERT_EQ(tokens.size(), 1u);
    TRect r;
    win::GetWindowRect(view->HeaderHandle(), r);
    EXPECT_EQ(r.Width(), view->ClientWidth() + 25);
    view->SetWidth(380);
    Run();
    win::GetWindowRect(view->HeaderHandle(), r);
    EXPECT_EQ(r.Width(), view->ClientWidth() + 25);
    // A new window makes a new header, taken over again.
    view->RecreateWnd();
    Run();
    EXPECT_EQ(tokens.size(), 2u);
    win::GetWindowRect(view->HeaderHandle(), r);
    EXPECT_EQ(r.Width(), view->ClientWidth() + 25);
    Click(view, 20, 5);
    EXPECT_EQ(clicks, 1);
    view->WindowProc = old;
}

// Counts what it is asked to fetch.
class TOwnerList : public TListView {
public:
    using TListView::TListView;
    std::vector<int> Fetched;

protected:
    bool OwnerDataFetch(TListItem* Item, TItemRequest) override {
        Fetched.push_back(Item->Index());
        Item->SetCaption("n" + std::to_string(Item->Index()));
        Item->SubItems().Add("s");
        return true;
    }
    int OwnerDataFind(const std::string& Text, int StartIndex) override {
        return Text == "n7" ? 7 : StartIndex;
    }
};

TEST_F(ListViewTest, OwnerDataFetchesOnlyTheShownRows) {
    TForm* form = ShowForm(100, 100, 420, 320);
    auto* view = new TOwnerList(form);
    view->SetOwnerData(true);
    view->SetViewStyle(vsReport);
    view->SetBounds(0, 0, 300, 200);
    view->Columns().Add()->SetWidth(100);
    view->SetParent(form);
    view->Items().SetCount(100000);
    Run();
    view->Fetched.clear();
    view->Repaint();
    const int page = int(view->Perform(LVM_GETCOUNTPERPAGE));
    ASSERT_FALSE(view->Fetched.empty());
    EXPECT_EQ(view->Fetched.front(), 0);
    EXPECT_LE(int(view->Fetched.size()), page + 1);
    view->Fetched.clear();
    view->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 500));
    view->Repaint();
    EXPECT_EQ(view->Fetched.front(), 500);
    EXPECT_LE(view->Fetched.back(), 500 + page);
    EXPECT_EQ(view->Items()[42]->Caption(), "n42");
    view->SetFocus();
    Screen->Text("n7");
    Run();
    EXPECT_EQ(view->ItemIndex(), 7);
}

// Logs what the rename hook gets.
class TRenameLog : public TListView {
public:
    using TListView::TListView;
    std::vector<std::string> Ends;

protected:
    void Edit(const TLVItem& Item) override {
        Ends.push_back(Item.pszText ? Item.pszText : "<cancelled>");
        TListView::Edit(Item);
    }
};

TEST_F(ListViewTest, RenamingEndsInTheEditHook) {
    TForm* form = ShowForm(100, 100, 420, 320);
    auto* view = new TRenameLog(form);
    view->SetViewStyle(vsReport);
    view->SetBounds(0, 0, 300, 200);
    view->Columns().Add()->SetWidth(120);
    view->SetParent(form);
    view->Items().Add()->SetCaption("old name");
    view->Items().Add()->SetCaption("other");
    Run();
    const LRESULT editor = view->Perform(LVM_EDITLABEL, 0);
    ASSERT_NE(editor, 0);
    EXPECT_TRUE(view->IsEditing());
    Screen->Text("新名");
    Press(win::VK_RETURN);
    Run();
    EXPECT_FALSE(view->IsEditing());
    EXPECT_EQ(view->Items()[0]->Caption(), "新名");
    ASSERT_TRUE(view->Items()[1]->EditCaption());
    Screen->Text("x");
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_EQ(view->Items()[1]->Caption(), "other");
    EXPECT_EQ(view->Ends, (std::vector<std::string>{"新名", "<cancelled>"}));
    view->SetReadOnly(true);
    EXPECT_EQ(view->Perform(LVM_EDITLABEL, 0), 0);
    EXPECT_TRUE(view->Focused());
}

// In a dialog, Enter and Esc end the rename; they must not press its default or cancel button.
TEST_F(ListViewTest, EnterAndEscEndARenameNotTheDialog) {
    TForm* form = ShowForm(100, 100, 420, 320);
    std::vector<std::string> pressed;
    for (bool isDefault : {true, false}) {
        auto* button = new TButton(form);
        button->SetParent(form);
        button->SetBounds(isDefault ? 310 : 360, 250, 45, 25);
        if (isDefault)
            button->SetDefault(true);
        else
            button->SetCancel(true);
        button->OnClick = [&pressed, isDefault](TObject*) {
            pressed.push_back(isDefault ? "default" : "cancel");
        };
    }
    auto* view = new TRenameLog(form);
    view->SetViewStyle(vsReport);
    view->SetBounds(0, 0, 300, 200);
    view->Columns().Add()->SetWidth(120);
    view->SetParent(form);
    view->Items().Add()->SetCaption("a");
    Run();
    for (int key : {win::VK_RETURN, win::VK_ESCAPE}) {
        ASSERT_TRUE(view->Items()[0]->EditCaption());
        Press(key);
        Run();
        EXPECT_FALSE(view->IsEditing());
    }
    EXPECT_EQ(view->Ends, (std::vector<std::string>{"a", "<cancelled>"}));
    EXPECT_TRUE(pressed.empty());
}

TEST_F(ListViewTest, AFactoryChoosesTheRenameEditor) {
    int made = 0;
    SetInplaceEditFactory([&](TComponent* owner) {
        ++made;
        auto* edit = new TEdit(owner);
        edit->SetName("SkinnedEdit");
        return edit;
    });
    struct TReset {
        ~TReset() { SetInplaceEditFactory(nullptr); }
    } reset;
    TForm* form = ShowForm(100, 100, 420, 320);
    TListView* view = MakeReport(form, 3);
    Run();
    const HWND editor = win::ParamToHwnd(std::uint64_t(view->Perform(LVM_EDITLABEL, 1)));
    ASSERT_TRUE(editor);
    EXPECT_EQ(FindControl(editor)->Name(), "SkinnedEdit");
    Screen->Text("abc");
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(view->Items()[1]->Caption(), "abc");
    // The editor is made once and used again.
    view->Perform(LVM_EDITLABEL, 2);
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_EQ(made, 1);
}

TEST_F(ListViewTest, ContentAndImagesOutliveANewWindow) {
    TForm* form = ShowForm(100, 100, 420, 320);
    TListView* view = MakeReport(form, 20, 3);
    auto* images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    EXPECT_EQ(view->Perform(LVM_SETIMAGELIST, LVSIL_SMALL, win::PtrToParam(images)), 0);
    EXPECT_EQ(view->SmallImages(), images);
    view->SetItemIndex(4);
    view->Scroll(0, 2 * view->RowHeight());
    view->RecreateWnd();
    Run();
    EXPECT_EQ(view->Items().Count(), 20);
    EXPECT_EQ(view->ItemIndex(), 4);
    EXPECT_EQ(view->Columns().Count(), 3);
    EXPECT_EQ(view->TopItem()->Index(), 2);
    EXPECT_TRUE(win::IsWindow(view->HeaderHandle()));
    int lo = 0, hi = 0;
    win::GetScrollRange(view->Handle(), win::SB_VERT, lo, hi);
    EXPECT_EQ(hi, 19);
    images->Free();
    EXPECT_EQ(view->SmallImages(), nullptr);
}

TEST_F(ListViewTest, AViewFreedWhileRenamingHearsACancel) {
    TForm* form = ShowForm(100, 100, 420, 320);
    auto* view = new TRenameLog(form);
    view->SetViewStyle(vsReport);
    view->Columns().Add()->SetWidth(120);
    view->SetParent(form);
    view->Items().Add()->SetCaption("name");
    Run();
    ASSERT_NE(view->Perform(LVM_EDITLABEL, 0), 0);
    std::vector<std::string> ends;
    view->OnEdited = [&](TObject*, TListItem*, std::string& s) { ends.push_back(s); };
    // The editor, owned by the view, goes before the window: the session must not touch it.
    view->Free();
    EXPECT_TRUE(ends.empty());
}

}  // namespace
}  // namespace vcl
