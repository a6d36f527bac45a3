// Screenshots of the list box, list view, tree view and page control in their plain look:
// enabled, disabled, focused and with a selection, compared with reviewed references.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/vcl/list_box.h"
#include "platform/vcl/list_view.h"
#include "platform/vcl/tab_controls.h"
#include "platform/vcl/tree_view.h"
#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;
using ViewsGalleryTest = TVclTest;

enum TState { stEnabled, stDisabled, stFocused, stSelected };

// Four copies side by side, in the four states; `select` gives a copy its selection.
void Gallery(TVclTest& t, const std::string& reference, int width, int height,
             const std::function<TWinControl*(TForm*)>& make,
             const std::function<void(TWinControl*)>& select) {
    TForm* form = t.ShowForm(50, 50, 4 * (width + 10) + 10, height + 20);
    TWinControl* focused = nullptr;
    for (int s = stEnabled; s <= stSelected; ++s) {
        TWinControl* c = make(form);
        c->SetBounds(10 + s * (width + 10), 10, width, height);
        c->SetParent(form);
        if (s != stEnabled) select(c);
        if (s == stDisabled) c->SetEnabled(false);
        if (s == stFocused) focused = c;
    }
    focused->SetFocus();
    t.Run();
    test::ExpectLooksLike(*t.Screen->CaptureWindow(form->Handle()), reference);
}

TEST_F(ViewsGalleryTest, ListBox) {
    Gallery(
        *this, "list_box.png", 120, 90,
        [](TForm* form) {
            auto* box = new TListBox(form);
            for (const char* s : {"视频文件", "Audio", "Pictures", "Music", "Documents", "Films"})
                box->Items().Add(s);
            return box;
        },
        [](TWinControl* c) { static_cast<TListBox*>(c)->SetItemIndex(1); });
}

TEST_F(ViewsGalleryTest, ListView) {
    Gallery(
        *this, "list_view.png", 170, 110,
        [](TForm* form) {
            auto* view = new TListView(form);
            view->SetViewStyle(vsReport);
            view->SetGridLines(true);
            view->SetRowSelect(true);
            for (const char* name : {"名称", "Size"}) {
                TListColumn* column = view->Columns().Add();
                column->SetCaption(name);
                column->SetWidth(70);
            }
            for (int i = 0; i < 8; ++i) {
                TListItem* item = view->Items().Add();
                item->SetCaption("clip" + std::to_string(i) + ".mp4");
                item->SubItems().Add(std::to_string(10 * i + 3) + " MB");
            }
            return view;
        },
        [](TWinControl* c) { static_cast<TListView*>(c)->SetItemIndex(1); });
}

TEST_F(ViewsGalleryTest, TreeView) {
    Gallery(
        *this, "tree_view.png", 130, 110,
        [](TForm* form) {
            auto* tree = new TTreeView(form);
            TTreeNode* home = tree->Items().Add(nullptr, "主文件夹");
            for (const char* s : {"Videos", "Music"}) tree->Items().AddChild(home, s);
            TTreeNode* root = tree->Items().Add(nullptr, "/");
            root->SetHasChildren(true);
            home->Expand(false);
            return tree;
        },
        [](TWinControl* c) {
            auto* tree = static_cast<TTreeView*>(c);
            tree->SetHideSelection(false);
            tree->SetSelected(tree->Items().GetFirstNode()->Item(0));
        });
}

TEST_F(ViewsGalleryTest, PageControl) {
    Gallery(
        *this, "page_control.png", 150, 90,
        [](TForm* form) {
            auto* pages = new TPageControl(form);
            pages->SetTabHeight(20);
            for (const char* s : {"常规", "Audio", "Video"}) {
                auto* sheet = new TTabSheet(form);
                sheet->SetCaption(s);
                sheet->SetPageControl(pages);
            }
            return pages;
        },
        [](TWinControl* c) { static_cast<TPageControl*>(c)->SetActivePageIndex(1); });
}

// Counts the paints that come through the virtual PaintWindow.
template <class T>
class TPaintCount : public T {
public:
    using T::T;
    int Paints = 0;

protected:
    void PaintWindow(HDC DC) override {
        ++Paints;
        T::PaintWindow(DC);
    }
};

template <class T>
void ExpectPaintsThroughPaintWindow(TVclTest& t) {
    TForm* form = t.ShowForm(50, 50, 300, 200);
    auto* c = new TPaintCount<T>(form);
    c->SetBounds(10, 10, 200, 150);
    c->SetParent(form);
    t.Run();
    EXPECT_GE(c->Paints, 1);
    c->Paints = 0;
    gfx::TBitmap bitmap;
    bitmap.SetSize(200, 150);
    c->Perform(win::WM_PAINT, win::DcToParam(bitmap.Canvas().Handle()));
    EXPECT_EQ(c->Paints, 1);
    c->Repaint();
    EXPECT_EQ(c->Paints, 2);
    form->Free();
}

TEST_F(ViewsGalleryTest, EveryControlPaintsThroughPaintWindowAlsoIntoAGivenDC) {
    ExpectPaintsThroughPaintWindow<TListBox>(*this);
    ExpectPaintsThroughPaintWindow<TListView>(*this);
    ExpectPaintsThroughPaintWindow<TTreeView>(*this);
    ExpectPaintsThroughPaintWindow<TPageControl>(*this);
}

}  // namespace
}  // namespace vcl
