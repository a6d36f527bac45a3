// Focus, keys and the mouse notices: what reaches which control, in which order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using test::TVclTest;
using Lines = std::vector<std::string>;

// A focusable control that answers the dialog keys and special-key questions it is told to.
class TField : public TCustomControl {
public:
    TField(TComponent* owner, const std::string& name) : TCustomControl(owner) {
        SetName(name);
        SetTabStop(true);
    }
    int AnswerDialogKey = 0;   // a key it answers in CM_DIALOGKEY
    int AnswerDialogChar = 0;  // a character it answers in CM_DIALOGCHAR
    int ClaimKey = 0;          // a key it keeps through CM_WANTSPECIALKEY
    UINT DialogCode = 0;       // its WM_GETDLGCODE answer
    Lines Keys;                // what its own key handlers saw

    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
            case CM_DIALOGKEY:
                if (AnswerDialogKey && int(m.WParam) == AnswerDialogKey) {
                    m.Result = 1;
                    return;
                }
                break;
            case CM_DIALOGCHAR:
                if (AnswerDialogChar && int(m.WParam) == AnswerDialogChar) {
                    m.Result = 1;
                    return;
                }
                break;
            case CM_WANTSPECIALKEY:
                m.Result = ClaimKey && int(m.WParam) == ClaimKey;
                return;
            case win::WM_GETDLGCODE:
                m.Result = DialogCode;
                return;
            case win::WM_CHAR:
                TCustomControl::Dispatch(m);
                Keys.push_back("char " + std::string(1, char(m.WParam)));
                return;
            default:
                break;
        }
        TCustomControl::Dispatch(m);
    }

protected:
    void KeyDown(int& key, TShiftState shift) override {
        Keys.push_back("down " + std::to_string(key));
        TCustomControl::KeyDown(key, shift);
    }
};

class KeysTest : public TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        form = ShowForm(0, 0, 400, 200, "F");
        spot = new TGraphicControl(form);
        spot->SetName("G");
        spot->SetParent(form);
        spot->SetBounds(300, 100, 40, 40);
        x = Add("X", 0);
        y = Add("Y", 1);
        z = Add("Z", 2);
    }

    TField* Add(const std::string& name, int column) {
        auto* f = new TField(form, name);
        f->SetBounds(10 + column * 60, 10, 50, 30);
        f->SetParent(form);
        return f;
    }

    TForm* form = nullptr;
    TGraphicControl* spot = nullptr;
    TField* x = nullptr;
    TField* y = nullptr;
    TField* z = nullptr;
};

TEST_F(KeysTest, FocusMovesWithKillSetExitChangedToEveryControlThenEnter) {
    x->SetFocus();
    Run();
    for (TControl* c : std::vector<TControl*>{form, spot, x, y, z}) Watch(c);
    y->SetFocus();
    Run();
    EXPECT_EQ(
        Heard({win::WM_KILLFOCUS, win::WM_SETFOCUS, CM_EXIT, CM_FOCUSCHANGED, CM_ENTER}),
        (Lines{"X:KILLFOCUS", "Y:SETFOCUS", "X:CM_EXIT", "F:CM_FOCUSCHANGED", "G:CM_FOCUSCHANGED",
               "X:CM_FOCUSCHANGED", "Y:CM_FOCUSCHANGED", "Z:CM_FOCUSCHANGED", "Y:CM_ENTER"}));
    EXPECT_EQ(form->ActiveControl(), y);
    EXPECT_EQ(vcl::Screen->ActiveControl(), y);
}

TEST_F(KeysTest, TabFollowsTabOrderToOffScreenControlsAndSkipsDisabledOnes) {
    auto* far = Add("Far", 0);
    far->SetLeft(-500);  // outside the form, still in the tab order
    y->SetEnabled(false);
    z->SetTabOrder(0);  // order: Z, X, Y, Far
    x->SetFocus();
    Run();
    Press(win::VK_TAB);
    Run();
    EXPECT_EQ(form->ActiveControl(), far);  // Y is disabled
    Press(win::VK_TAB);
    Run();
    EXPECT_EQ(form->ActiveControl(), z);  // round again
    Screen->KeyDown(win::VK_SHIFT);
    Press(win::VK_TAB);
    Screen->KeyUp(win::VK_SHIFT);
    Run();
    EXPECT_EQ(form->ActiveControl(), far);
    EXPECT_TRUE(far->Keys.empty());  // navigation keys never reach the controls
}

TEST_F(KeysTest, SetFocusRefusesDisabledAndInvisibleControls) {
    y->SetEnabled(false);
    z->SetVisible(false);
    for (TField* f : {y, z}) {
        try {
            f->SetFocus();
            FAIL() << f->Name();
        } catch (const EInvalidOperation& e) {
            EXPECT_EQ(e.Message(), "Cannot focus a disabled or invisible window");
        }
    }
}

TEST_F(KeysTest, DialogKeysAreOfferedUntilOneAnswersUnlessTheFocusedControlClaimsThem) {
    y->AnswerDialogKey = win::VK_RETURN;
    x->SetFocus();
    Run();
    for (TControl* c : std::vector<TControl*>{form, spot, x, y, z}) Watch(c);
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(Heard({CM_DIALOGKEY}),
              (Lines{"F:CM_DIALOGKEY", "G:CM_DIALOGKEY", "X:CM_DIALOGKEY", "Y:CM_DIALOGKEY"}));
    EXPECT_TRUE(x->Keys.empty());

    // A control that keeps the key gets it as a plain key instead.
    ForgetHeard();
    x->ClaimKey = win::VK_RETURN;
    x->DialogCode = win::DLGC_WANTARROWS;
    Press(win::VK_RETURN);
    Press(win::VK_RIGHT);
    Run();
    EXPECT_EQ(Heard({CM_DIALOGKEY}), Lines{});
    EXPECT_EQ(x->Keys, (Lines{"down 13", "char \r", "down 39"}));
    EXPECT_EQ(form->ActiveControl(), x);

    // Arrows move among the controls of one parent when nobody keeps them.
    x->DialogCode = 0;
    Press(win::VK_RIGHT);
    Run();
    EXPECT_EQ(form->ActiveControl(), y);
}

TEST_F(KeysTest, CharactersTheFocusedControlDoesNotWantAreOfferedAsDialogChars) {
    y->AnswerDialogChar = 'y';
    x->SetFocus();
    Run();
    for (TControl* c : std::vector<TControl*>{form, spot, x, y, z}) Watch(c);
    Press('Y');
    Run();
    EXPECT_EQ(Heard({CM_DIALOGCHAR}),
              (Lines{"F:CM_DIALOGCHAR", "G:CM_DIALOGCHAR", "X:CM_DIALOGCHAR", "Y:CM_DIALOGCHAR"}));
    EXPECT_EQ(x->Keys, Lines{"down 89"});  // the character went to Y as an accelerator

    // A control that wants characters types them.
    ForgetHeard();
    x->DialogCode = win::DLGC_WANTCHARS;
    Press('Y');
    Run();
    EXPECT_EQ(Heard({CM_DIALOGCHAR}), Lines{});
    EXPECT_EQ(x->Keys, (Lines{"down 89", "down 89", "char y"}));
}

TEST_F(KeysTest, KeyPreviewShortcutsAndHandlersMayChangeOrEatKeys) {
    form->SetKeyPreview(true);
    form->OnKeyDown = [](TObject*, int& key, TShiftState) {
        if (key == win::VK_F1 + 1) key = 0;  // eaten by the form
        if (key == 'Q') key = 'W';           // changed for the control
    };
    x->OnKeyPress = [](TObject*, char32_t& ch) {
        if (ch == U'w') ch = U'v';
    };
    auto* menu = new TMainMenu(form);
    auto* help = new TMenuItem(form);
    help->SetShortCut(ShortCut(win::VK_F1, {}));
    int helps = 0;
    help->OnClick = [&](TObject*) { ++helps; };
    menu->Items()->Add(help);
    form->SetMenu(menu);
    x->SetFocus();
    Run();
    Press(win::VK_F1 + 1);
    Press('Q');
    Press(win::VK_F1);
    Run();
    z->SetFocus();
    Press(win::VK_F1);
    Run();
    EXPECT_EQ(x->Keys, (Lines{"down 87", "char v"}));
    EXPECT_EQ(helps, 2);  // from any control
    EXPECT_TRUE(z->Keys.empty());

    // OnShortCut comes first and can keep the key from the menu.
    form->OnShortCut = [](TWMKey& key, bool& handled) { handled = key.CharCode == win::VK_F1; };
    Press(win::VK_F1);
    Run();
    EXPECT_EQ(helps, 2);
}

TEST_F(KeysTest, OnMessageSeesQueuedMessagesOnlyAndHandledDropsThem) {
    Watch(x);
    std::vector<UINT> filtered;
    Application->OnMessage = [&](win::MSG& msg, bool& handled) {
        if (msg.message >= win::WM_USER) filtered.push_back(msg.message);
        handled = msg.message == win::WM_USER + 1;
    };
    win::PostMessage(x->Handle(), win::WM_USER + 1);
    win::PostMessage(x->Handle(), win::WM_USER + 2);
    win::SendMessage(x->Handle(), win::WM_USER + 3);
    Run();
    EXPECT_EQ(filtered, (std::vector<UINT>{win::WM_USER + 1, win::WM_USER + 2}));
    EXPECT_EQ(CountHeard("X", win::WM_USER + 1), 0);
    EXPECT_EQ(CountHeard("X", win::WM_USER + 2), 1);
    EXPECT_EQ(CountHeard("X", win::WM_USER + 3), 1);
}

TEST_F(KeysTest, APressTellsTheActiveControlWhoWasPressed) {
    x->SetFocus();
    Run();
    Watch(x);
    std::vector<LPARAM> senders;
    auto record = [&] {
        senders.clear();
        for (const test::TSeen& s : Seen())
            if (s.Message == CM_CANCELMODE) senders.push_back(s.LParam);
        ForgetHeard();
    };
    Click(y, 5, 5);
    record();
    EXPECT_EQ(senders, (std::vector<LPARAM>{win::PtrToParam(static_cast<TControl*>(y))}));
    Click(spot, 5, 5);
    record();
    EXPECT_EQ(senders, (std::vector<LPARAM>{win::PtrToParam(static_cast<TControl*>(spot))}));
    // On the frame too: the form names itself.
    TRect frame;
    win::GetWindowRect(form->Handle(), frame);
    Screen->MouseDown({frame.Left + 40, frame.Top + 10});
    Screen->MouseUp({frame.Left + 40, frame.Top + 10});
    Run();
    record();
    EXPECT_EQ(senders, (std::vector<LPARAM>{win::PtrToParam(static_cast<TControl*>(form))}));
    // A double click names the control for its press and for its double click.
    Watch(y);
    Click(y, 5, 5);
    Click(y, 5, 5);
    EXPECT_EQ(CountHeard("Y", win::WM_LBUTTONDBLCLK), 1);
    record();
    const LPARAM named = win::PtrToParam(static_cast<TControl*>(y));
    EXPECT_EQ(senders, (std::vector<LPARAM>{named, named}));
}

TEST_F(KeysTest, EnterAndLeaveReachWindowlessControlsAlsoWhileAPressHoldsTheCapture) {
    auto* left = new TGraphicControl(form);
    left->SetName("L");
    left->SetParent(form);
    left->SetBounds(10, 100, 40, 40);
    for (TControl* c : std::vector<TControl*>{left, spot, x, form}) Watch(c);
    Screen->MouseMove(At(left, 5, 5));
    Screen->MouseDown(At(left, 5, 5));
    Screen->MouseMove(At(spot, 5, 5));
    Screen->MouseMove(At(x, 5, 5));
    Run();
    EXPECT_EQ(win::GetCapture(), form->Handle());  // the form holds it for the windowless L
    Screen->MouseUp(At(x, 5, 5));
    Run();
    EXPECT_EQ(Heard({CM_MOUSEENTER, CM_MOUSELEAVE}),
              (Lines{"L:CM_MOUSEENTER", "L:CM_MOUSELEAVE", "G:CM_MOUSEENTER", "G:CM_MOUSELEAVE",
                     "X:CM_MOUSEENTER"}));
    EXPECT_EQ(win::GetCapture(), HWND());
}

}  // namespace
}  // namespace vcl
