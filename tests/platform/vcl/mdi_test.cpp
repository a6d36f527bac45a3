// MDI: the client window of an MDI form and the children that live in it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;

class MdiTest : public TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        Application->CreateForm(main);
        main->SetName("Main");
        main->SetFormStyle(fsMDIForm);
        main->SetBounds(0, 0, 600, 400);
        bar = new TCustomControl(main);
        bar->SetParent(main);
        bar->SetHeight(30);
        bar->SetAlign(alTop);
        main->Show();
        Run();
    }

    TForm* Child(const std::string& name, int x) {
        auto* child = new TForm(Application);
        child->SetName(name);
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(x, 10, 150, 100);
        Run();
        return child;
    }

    TForm* main = nullptr;
    TCustomControl* bar = nullptr;
};

TEST_F(MdiTest, TheClientWindowFillsWhatAlignedControlsLeaveAndCanBeSubclassed) {
    const HWND client = main->ClientHandle();
    ASSERT_TRUE(client);
    EXPECT_EQ(win::GetClassName(client), "MDICLIENT");
    EXPECT_EQ(win::GetParent(client), main->Handle());
    TRect r;
    win::GetWindowRect(client, r);
    TPoint origin = {r.Left, r.Top};
    win::ScreenToClient(main->Handle(), origin);
    EXPECT_EQ(origin, (TPoint{0, 30}));
    EXPECT_EQ(r.Width(), main->ClientWidth());

    std::vector<UINT> seen;
    const auto token = win::SubclassWindow(
        client, [&](HWND h, UINT m, WPARAM w, LPARAM l, const win::TNextProc& next) {
            seen.push_back(m);
            return next(h, m, w, l);
        });
    main->SetClientHeight(300);
    Run();
    EXPECT_NE(std::find(seen.begin(), seen.end(), win::WM_SIZE), seen.end());
    win::RemoveSubclass(client, token);
}

TEST_F(MdiTest, ChildrenLiveInTheClientAndTheLastOneActivatedComesFirst) {
    TForm* a = Child("A", 10);
    TForm* b = Child("B", 200);
    EXPECT_EQ(win::GetParent(a->Handle()), main->ClientHandle());
    ASSERT_EQ(main->MDIChildCount(), 2);
    EXPECT_EQ(main->MDIChildren(0), b);
    EXPECT_EQ(main->ActiveMDIChild(), b);
    EXPECT_TRUE(b->Active());

    int activations = 0;
    a->OnActivate = [&](TObject*) { ++activations; };
    Watch(a);
    Watch(b);
    Click(a, 20, 20);
    EXPECT_EQ(main->ActiveMDIChild(), a);
    EXPECT_EQ(main->MDIChildren(1), b);
    EXPECT_EQ(activations, 1);
    EXPECT_FALSE(b->Active());
    EXPECT_EQ(Heard({win::WM_NCACTIVATE}),
              (std::vector<std::string>{"B:NCACTIVATE", "A:NCACTIVATE"}));
    EXPECT_EQ(vcl::Screen->ActiveForm(), main);

    // Showing a child that is already visible makes it the active one.
    b->Show();
    EXPECT_EQ(main->ActiveMDIChild(), b);
    a->Show();
    EXPECT_EQ(main->ActiveMDIChild(), a);

    b->Free();
    EXPECT_EQ(main->MDIChildCount(), 1);
    a->Close();  // an MDI child minimizes by default
    EXPECT_EQ(a->WindowState(), wsMinimized);
}

TEST_F(MdiTest, WindowMenuIsKeptUntilItGoes) {
    auto* item = new TMenuItem(main);
    main->SetWindowMenu(item);
    EXPECT_EQ(main->WindowMenu(), item);
    item->Free();
    EXPECT_EQ(main->WindowMenu(), nullptr);
}

TEST_F(TVclTest, AnMdiChildNeedsAnMdiMainForm) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    auto* child = new TForm(Application);
    try {
        child->SetFormStyle(fsMDIChild);
        FAIL();
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Cannot create form. No MDI forms are currently active");
    }
    EXPECT_EQ(child->FormStyle(), fsNormal);
}

}  // namespace
}  // namespace vcl
