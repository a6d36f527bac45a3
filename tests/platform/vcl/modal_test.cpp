// Modal forms and the plain message box, driven from the headless screen's idle steps while
// their nested loops wait.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;

class TAnswersEnter : public TCustomControl {
public:
    explicit TAnswersEnter(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
    void Dispatch(TMessage& m) override {
        if (m.Msg == CM_DIALOGKEY && m.WParam == win::VK_RETURN) {
            GetParentForm(this)->SetModalResult(mrOk);
            m.Result = 1;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

// The screen point of a window's close button, (-1, -1) when it has none.
TPoint CloseButtonOf(HWND window) {
    TRect r;
    win::GetWindowRect(window, r);
    for (int y = r.Top; y < r.Top + 30; ++y)
        for (int x = r.Right - 1; x > r.Right - 40; --x)
            if (win::SendMessage(window, win::WM_NCHITTEST, 0, win::MAKELPARAM(x, y)) ==
                win::HTCLOSE)
                return {x, y};
    return {-1, -1};
}

class ModalTest : public TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        Application->Title = "Moradex";
        Application->CreateForm(main);
        main->SetName("Main");
        main->SetBounds(100, 100, 500, 360);
        main->Show();
        Run();
    }
    // Runs `step` when the nested loop waits next.
    void WhenWaiting(std::function<void()> step) { Screen->QueueIdleStep(std::move(step)); }

    TForm* main = nullptr;
};

TEST_F(ModalTest, AControlAnsweringEnterEndsShowModalWithItsResult) {
    auto* dialog = new TForm(Application);
    auto* field = new TAnswersEnter(dialog);
    field->SetParent(dialog);
    field->SetBounds(10, 10, 50, 20);
    bool mainDisabled = false;
    WhenWaiting([&] {
        mainDisabled = !win::IsWindowEnabled(main->Handle());
        Press(win::VK_RETURN);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(win::IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(win::GetActiveWindow(), main->Handle());
    EXPECT_THROW(
        {
            dialog->Show();
            dialog->ShowModal();
        },
        EInvalidOperation);
}

TEST_F(ModalTest, TheModalLoopRunsMenuShortCutsFromAnyControlAndLetsOnMessageDrop) {
    auto* dialog = new TForm(Application);
    dialog->SetName("Dialog");
    auto* first = new TAnswersEnter(dialog);
    first->SetParent(dialog);
    first->SetBounds(10, 10, 50, 20);
    auto* second = new TAnswersEnter(dialog);
    second->SetParent(dialog);
    second->SetBounds(10, 40, 50, 20);
    auto* menu = new TMainMenu(dialog);
    auto* help = new TMenuItem(dialog);
    help->SetShortCut(ShortCut(win::VK_F1, {}));
    int helps = 0;
    help->OnClick = [&](TObject*) { ++helps; };
    menu->Items()->Add(help);
    dialog->SetMenu(menu);
    int dropped = 0;
    Application->OnMessage = [&](win::MSG& msg, bool& handled) {
        handled = msg.message == win::WM_USER + 1;
        dropped += handled;
    };
    Watch(dialog);
    WhenWaiting([&] {
        first->SetFocus();
        Press(win::VK_F1);
    });
    WhenWaiting([&] {
        second->SetFocus();
        Press(win::VK_F1);
        win::PostMessage(dialog->Handle(), win::WM_USER + 1);
        win::PostMessage(dialog->Handle(), win::WM_USER + 2);
    });
    WhenWaiting([&] { Press(win::VK_RETURN); });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(helps, 2);
    EXPECT_EQ(dropped, 1);
    EXPECT_EQ(CountHeard("Dialog", win::WM_USER + 1), 0);
    EXPECT_EQ(CountHeard("Dialog", win::WM_USER + 2), 1);
    Application->OnMessage = nullptr;
}

TEST_F(ModalTest, ClosingTheFrameAsksOnCloseQueryAndAnswersCancel) {
    auto* dialog = new TForm(Application);
    int asked = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    auto closeIt = [&] {
        const TPoint p = CloseButtonOf(dialog->Handle());
        Screen->Click(p);
    };
    WhenWaiting(closeIt);
    WhenWaiting(closeIt);  // the first close was refused
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Screen->PendingIdleSteps(), 0u);
}

TEST_F(ModalTest, AnExceptionInOnClickShowsThePlainMessageBoxAndTheLoopGoesOn) {
    auto* button = new TCustomControl(main);
    button->SetParent(main);
    button->SetBounds(20, 20, 80, 24);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        if (++clicks == 1) throw rtl::Exception("Cannot open the file \"clip.avi\".");
    };
    std::string caption;
    WhenWaiting([&] {
        const HWND box = win::GetActiveWindow();
        caption = win::GetWindowText(box);
        test::ExpectLooksLike(*Screen->CaptureWindow(box), "exception_box.png");
        Press(win::VK_RETURN);
    });
    Click(button, 5, 5);
    EXPECT_EQ(caption, "Moradex");
    EXPECT_EQ(Screen->Beeps(), std::vector<unsigned>{win::MB_ICONHAND});
    EXPECT_EQ(win::GetActiveWindow(), main->Handle());
    Click(button, 5, 5);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(Screen->PendingIdleSteps(), 0u);
}

struct TBoxCase {
    UINT Flags;
    std::vector<int> Keys;  // one key per wait of the box's loop
    int Answer;
};

TEST_F(ModalTest, MessageBoxButtonsKeysAndAnswers) {
    using namespace win;
    const TBoxCase cases[] = {
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, {VK_ESCAPE, 'N'}, IDNO},  // nothing cancels a yes/no box
        {MB_YESNOCANCEL, {'Y'}, IDYES},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, {VK_TAB, VK_RETURN}, IDIGNORE},
        {MB_RETRYCANCEL, {VK_SPACE}, IDRETRY},
    };
    for (const TBoxCase& c : cases) {
        for (int key : c.Keys) WhenWaiting([this, key] { Press(key); });
        EXPECT_EQ(Application->MessageBox("Text", "Caption", c.Flags), c.Answer) << c.Flags;
        EXPECT_EQ(Screen->PendingIdleSteps(), 0u) << c.Flags;
    }
}

TEST_F(ModalTest, MessageBoxFrameClosesOnlyABoxWithACancellingAnswer) {
    bool closable = true;
    WhenWaiting([&] {
        const HWND box = win::GetActiveWindow();
        closable = CloseButtonOf(box).X >= 0;
        Press('Y');
    });
    EXPECT_EQ(Application->MessageBox("?", "", win::MB_YESNO), win::IDYES);
    EXPECT_FALSE(closable);
    WhenWaiting([&] { Screen->Click(CloseButtonOf(win::GetActiveWindow())); });
    EXPECT_EQ(Application->MessageBox("?", "", win::MB_OKCANCEL), win::IDCANCEL);
}

}  // namespace
}  // namespace vcl
