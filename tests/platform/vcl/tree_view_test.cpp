// The plain tree view: lazy expansion, vetoable selection, deletion and rename hooks, scroll
// information.
#include "platform/vcl/tree_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/vcl/vcl_test_support.h"
#include "platform/win/scroll_info.h"

namespace vcl {
namespace {

using test::TVclTest;
using TreeViewTest = TVclTest;

// Logs the hooks a shell tree relies on.
class THookedTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    int Asked = 0;
    std::vector<std::string> Deleted;
    std::vector<std::string> Ends;
    bool Veto = false;

protected:
    bool CanExpand(TTreeNode* Node) override {
        ++Asked;
        if (Node->Count() == 0)  // children are made when first needed
            for (const char* name : {"a", "b", "c"}) Items().AddChild(Node, name);
        return TTreeView::CanExpand(Node);
    }
    bool CanChange(TTreeNode* Node) override { return !Veto && TTreeView::CanChange(Node); }
    void Delete(TTreeNode* Node) override {
        Deleted.push_back(Node->Text());
        TTreeView::Delete(Node);
    }
    void Edit(const TTVItem& Item) override {
        Ends.push_back(Item.pszText ? Item.pszText : "<cancelled>");
        TTreeView::Edit(Item);
    }
};

THookedTree* MakeTree(TForm* form) {
    auto* tree = new THookedTree(form);
    tree->SetBounds(10, 10, 200, 5 * 16 + 2 + 17);
    tree->SetParent(form);
    return tree;
}

TEST_F(TreeViewTest, ExpandingALazyNodeAsksOnceAndShowsTheNewChildren) {
    TForm* form = ShowForm(100, 100, 300, 200);
    THookedTree* tree = MakeTree(form);
    TTreeNode* folder = tree->Items().Add(nullptr, "folder");
    folder->SetHasChildren(true);
    tree->Items().Add(nullptr, "file");
    Run();
    EXPECT_EQ(tree->ShownCount(), 2);
    // A press on the expand button.
    const TRect row = folder->DisplayRect(false);
    Click(tree, 2 + tree->Indent() / 2, (row.Top + row.Bottom) / 2);
    EXPECT_EQ(tree->Asked, 1);
    EXPECT_TRUE(folder->Expanded());
    EXPECT_EQ(folder->Count(), 3);
    EXPECT_EQ(folder->Item(0)->Level(), 1);
    EXPECT_EQ(tree->ShownCount(), 5);
    EXPECT_EQ(tree->Perform(TVM_GETCOUNT), 5);
    folder->Collapse(false);
    folder->Expand(false);
    EXPECT_EQ(tree->Asked, 2);
    EXPECT_EQ(folder->Count(), 3);
    // A node that stays empty loses its button and does not open.
    TTreeNode* empty = tree->Items().Add(nullptr, "empty");
    empty->SetHasChildren(true);
    bool allowed = false;
    tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allow) {
        allow = allowed;
        (void)node;
    };
    empty->Expand(false);
    EXPECT_FALSE(empty->Expanded());
    EXPECT_EQ(tree->Asked, 3);
}

TEST_F(TreeViewTest, AVetoedChangeKeepsTheOldNodeAndRaisesNoChange) {
    TForm* form = ShowForm(100, 100, 300, 200);
    THookedTree* tree = MakeTree(form);
    TTreeNode* first = tree->Items().Add(nullptr, "first");
    TTreeNode* second = tree->Items().Add(nullptr, "second");
    std::vector<std::string> changes;
    tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node->Text()); };
    tree->SetSelected(first);
    tree->Veto = true;
    tree->SetSelected(second);
    Click(tree, 40, second->DisplayRect(false).Top + 3);
    EXPECT_EQ(tree->Selected(), first);
    tree->Veto = false;
    Click(tree, 40, second->DisplayRect(false).Top + 3);
    EXPECT_EQ(tree->Selected(), second);
    EXPECT_EQ(changes, (std::vector<std::string>{"first", "second"}));
    // The right button selects only with RightClickSelect.
    Click(tree, 40, first->DisplayRect(false).Top + 3);
    Screen->Click(At(tree, 40, second->DisplayRect(false).Top + 3), win::TMouseButton::Right);
    Run();
    EXPECT_EQ(tree->Selected(), first);
    tree->SetRightClickSelect(true);
    Screen->Click(At(tree, 40, second->DisplayRect(false).Top + 3), win::TMouseButton::Right);
    Run();
    EXPECT_EQ(tree->Selected(), second);
}

TEST_F(TreeViewTest, ScrollUnitsAreShownRowsAndTheCountsAnswer) {
    TForm* form = ShowForm(100, 100, 300, 200);
    THookedTree* tree = MakeTree(form);
    tree->Items().BeginUpdate();
    for (int i = 0; i < 20; ++i) {
        TTreeNode* node = tree->Items().Add(nullptr, "node " + std::to_string(i));
        tree->Items().AddChild(node, "child");
    }
    tree->Items().EndUpdate();
    Run();
    const int visible = int(tree->Perform(TVM_GETVISIBLECOUNT));
    EXPECT_EQ(visible, tree->ClientHeight() / tree->RowHeight());
    EXPECT_EQ(tree->Perform(TVM_GETCOUNT), 40);
    win::SCROLLINFO si;
    win::GetScrollInfo(tree->Handle(), win::SB_VERT, si);
    EXPECT_EQ(si.nMax, 19);
    EXPECT_EQ(int(si.nPage), visible);
    tree->Items().GetFirstNode()->Expand(false);
    win::GetScrollInfo(tree->Handle(), win::SB_VERT, si);
    EXPECT_EQ(si.nMax, 20);
    tree->Perform(win::WM_VSCROLL, win::MAKEWPARAM(win::SB_THUMBPOSITION, 4));
    EXPECT_EQ(tree->TopItem()->Text(), "node 3");
    EXPECT_EQ(win::GetScrollPos(tree->Handle(), win::SB_VERT), 4);
    tree->SetTopItem(tree->Items().GetFirstNode());
    EXPECT_EQ(win::GetScrollPos(tree->Handle(), win::SB_VERT), 0);
    // Content stays with a new window.
    tree->RecreateWnd();
    Run();
    EXPECT_EQ(tree->Perform(TVM_GETCOUNT), 40);
    win::GetScrollInfo(tree->Handle(), win::SB_VERT, si);
    EXPECT_EQ(si.nMax, 20);
}

TEST_F(TreeViewTest, DeletionRenamingAndSortingGoThroughTheHooks) {
    TForm* form = ShowForm(100, 100, 300, 200);
    THookedTree* tree = MakeTree(form);
    TTreeNode* b = tree->Items().Add(nullptr, "b");
    TTreeNode* a = tree->Items().Add(nullptr, "a");
    tree->Items().AddChild(b, "b1");
    tree->Items().AddChild(b, "b2");
    tree->CustomSort(nullptr, 0);
    EXPECT_EQ(tree->Items().GetFirstNode(), a);
    tree->CustomSort([](TTreeNode* x, TTreeNode* y,
                        std::intptr_t) { return -rtl::CompareText(x->Text(), y->Text()); },
                     0);
    EXPECT_EQ(tree->Items().GetFirstNode(), b);
    EXPECT_EQ(b->Item(0)->Text(), "b2");
    Run();
    ASSERT_NE(win::SendMessage(tree->Handle(), TVM_EDITLABEL, 0, win::PtrToParam(a)), 0);
    Screen->Text("renamed");
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(a->Text(), "renamed");
    ASSERT_TRUE(a->EditText());
    Screen->Text("no");
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_EQ(a->Text(), "renamed");
    EXPECT_EQ(tree->Ends, (std::vector<std::string>{"renamed", "<cancelled>"}));
    tree->SetSelected(b->Item(1));
    b->Delete();
    EXPECT_EQ(tree->Deleted, (std::vector<std::string>{"b1", "b2", "b"}));
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_EQ(tree->Perform(TVM_GETCOUNT), 1);
}

}  // namespace
}  // namespace vcl
