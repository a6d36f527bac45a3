#include "platform/vcl/forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;

TEST_F(TVclTest, TheFirstFormMadeWithCreateFormIsTheMainForm) {
    TForm* first = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_EQ(first->Owner(), Application);
    // Other forms stay above the main form: its window owns theirs.
    EXPECT_EQ(win::GetParent(second->Handle()), first->Handle());
    EXPECT_EQ(win::GetParent(first->Handle()), HWND());
}

TEST_F(TVclTest, ScreenListsFormsMostRecentlyActiveFirstParentedOnesIncluded) {
    TForm* a = ShowForm(0, 0, 200, 100, "A");
    TForm* b = ShowForm(300, 0, 200, 100, "B");
    auto* inner = new TForm(Application);
    inner->SetName("Inner");
    inner->SetBorderStyle(bsNone);
    inner->SetParent(a);
    inner->SetBounds(10, 10, 100, 50);
    auto* field = new TCustomControl(inner);
    field->SetParent(inner);
    field->SetBounds(0, 0, 20, 20);
    inner->Show();
    Run();
    auto names = [] {
        std::vector<std::string> out;
        for (int i = 0; i < vcl::Screen->FormCount(); ++i)
            out.push_back(vcl::Screen->Forms(i)->Name());
        return out;
    };
    EXPECT_EQ(vcl::Screen->ActiveForm(), b);
    EXPECT_EQ(names().front(), "B");
    a->SetFocus();
    Run();
    EXPECT_EQ(vcl::Screen->ActiveForm(), a);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "Inner"}));
    field->SetFocus();
    Run();
    EXPECT_EQ(names(), (std::vector<std::string>{"Inner", "A", "B"}));
    EXPECT_EQ(vcl::Screen->ActiveForm(), a);  // the parented form is not a window of its own
    EXPECT_EQ(vcl::Screen->ActiveControl(), field);
    EXPECT_EQ(GetParentForm(field), a);
}

TEST_F(TVclTest, OnActivateRunsOnEveryActivation) {
    TForm* a = ShowForm(0, 0, 200, 100, "A");
    int activations = 0;
    a->OnActivate = [&](TObject*) { ++activations; };
    TForm* b = ShowForm(300, 0, 200, 100, "B");
    EXPECT_FALSE(a->Active());
    a->SetFocus();
    b->SetFocus();
    a->SetFocus();
    Run();
    EXPECT_EQ(activations, 2);
    EXPECT_TRUE(a->Active());
    EXPECT_FALSE(b->Active());
}

TEST_F(TVclTest, PositionCentresOnTheFirstShow) {
    struct TCase {
        TPosition Position;
        TRect Expected;
    };
    // The headless screen is 1280 x 800; the main form sits at (100, 100), 400 x 300.
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(100, 100, 400, 300);
    main->Show();
    for (const TCase& c : {TCase{poScreenCenter, gfx::Bounds(540, 350, 200, 100)},
                           TCase{poDesktopCenter, gfx::Bounds(540, 350, 200, 100)},
                           TCase{poMainFormCenter, gfx::Bounds(200, 200, 200, 100)},
                           TCase{poDesigned, gfx::Bounds(7, 8, 200, 100)}}) {
        auto* form = new TForm(Application);
        form->SetBounds(7, 8, 200, 100);
        form->SetPosition(c.Position);
        form->Show();
        Run();
        EXPECT_EQ(form->BoundsRect(), c.Expected) << int(c.Position);
        form->Hide();
        form->SetLeft(0);
        form->Show();
        EXPECT_EQ(form->Left(), 0) << "placed once";
        form->Free();
    }
}

TEST_F(TVclTest, ClientSizeStayOnTopAndFrameFollowTheForm) {
    TForm* form = ShowForm(0, 0, 300, 200);
    TRect r;
    win::GetClientRect(form->Handle(), r);
    EXPECT_EQ(r, (TRect{0, 0, 300, 200}));
    EXPECT_GT(form->Width(), 300);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(DWORD(win::GetWindowLongPtr(form->Handle(), win::GWL_EXSTYLE)) &
                win::WS_EX_TOPMOST);
    form->SetBorderStyle(bsNone);
    Run();
    win::GetClientRect(form->Handle(), r);
    EXPECT_EQ(r, (TRect{0, 0, form->Width(), form->Height()}));
}

TEST_F(TVclTest, CloseAsksOnCloseQueryHidesAndTheMainFormEndsTheApplication) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    TForm* other = ShowForm(300, 0, 100, 100, "Other");
    bool allow = false;
    std::vector<std::string> log;
    other->OnCloseQuery = [&](TObject*, bool& canClose) {
        log.push_back("query");
        canClose = allow;
    };
    other->OnClose = [&](TObject*, TCloseAction& action) {
        log.push_back(action == caHide ? "close hide" : "close");
    };
    other->Close();
    EXPECT_TRUE(other->Visible());
    allow = true;
    win::SendMessage(other->Handle(), win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    EXPECT_FALSE(other->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close hide"}));

    main->Close();
    Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(TVclTest, ReleaseFreesTheFormOnceItsMessageIsDone) {
    TForm* form = ShowForm(0, 0, 100, 100);
    auto* button = new TCustomControl(form);
    button->SetParent(form);
    button->SetBounds(0, 0, 50, 50);
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    button->OnClick = [&](TObject*) {
        form->Release();
        EXPECT_FALSE(destroyed);  // still here while its own handler runs
    };
    Click(button, 5, 5);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Application->FindComponent("F"), nullptr);
}

}  // namespace
}  // namespace vcl
