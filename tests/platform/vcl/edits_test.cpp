// The edit through the input path: typing, selection keys, clipboard and undo keys that travel
// as messages, OnChange once per change, the colour question before drawing, and the memo.
#include "platform/vcl/edits.h"

#include "platform/vcl/vcl_test_support.h"
#include "platform/win/caret.h"

namespace vcl::test {
namespace {

class EditTest : public TVclTest {
protected:
    void SetUp() override {
        TVclTest::SetUp();
        Form = ShowForm(100, 100, 300, 120);
        Edit = new TEdit(Form);
        Edit->SetName("E");
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 150, 24);
        Edit->OnChange = [this](TObject*) { ++Changes; };
        Edit->SetFocus();
        Run();
    }
    void Chord(int modifier, int key) {
        Screen->KeyDown(modifier);
        Screen->KeyPress(key);
        Screen->KeyUp(modifier);
        Run();
    }
    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    int Changes = 0;
};

TEST_F(EditTest, TypedTextCutPasteUndoThroughKeys) {
    Screen->Text("视频 abc");
    Run();
    EXPECT_EQ(Edit->Text(), "视频 abc");
    EXPECT_EQ(Edit->SelStart(), 6) << "positions count characters, not bytes";
    EXPECT_EQ(Changes, 6);

    Chord(win::VK_SHIFT, win::VK_HOME);
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 6);
    Changes = 0;
    Chord(win::VK_CONTROL, 'X');
    EXPECT_EQ(Edit->Text(), "");
    EXPECT_EQ(win::GetClipboardText().value_or(""), "视频 abc");
    Chord(win::VK_CONTROL, 'V');
    EXPECT_EQ(Edit->Text(), "视频 abc");
    EXPECT_EQ(Edit->SelStart(), 6);
    Chord(win::VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->Text(), "");
    EXPECT_EQ(Changes, 3) << "one OnChange per change";
    // One level: undoing again redoes.
    Chord(win::VK_CONTROL, 'Z');
    EXPECT_EQ(Edit->Text(), "视频 abc");
}

TEST_F(EditTest, PasteStopsAtTheFirstLineBreakAndKeysCanBeRefused) {
    win::SetClipboardText("a\r\nb");
    Chord(win::VK_CONTROL, 'V');
    EXPECT_EQ(Edit->Text(), "a");
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(Edit->Text(), "a") << "line breaks are never typed";

    // A subclass that drops WM_PASTE refuses Ctrl+V and Shift+Ins alike.
    TWndMethod old = Edit->WindowProc;
    Edit->WindowProc = [old](TMessage& m) {
        if (m.Msg != win::WM_PASTE) old(m);
    };
    win::SetClipboardText("x");
    Chord(win::VK_CONTROL, 'V');
    Chord(win::VK_SHIFT, win::VK_INSERT);
    EXPECT_EQ(Edit->Text(), "a");
    // Ctrl+Ins and Shift+Del go through WM_COPY and WM_CUT.
    Edit->SelectAll();
    Chord(win::VK_CONTROL, win::VK_INSERT);
    EXPECT_EQ(win::GetClipboardText().value_or(""), "a");
    Chord(win::VK_SHIFT, win::VK_DELETE);
    EXPECT_EQ(Edit->Text(), "");
}

TEST_F(EditTest, EditingKeysTable) {
    struct TCase {
        const char* Start;
        int SelStart, SelLength;
        int Modifier, Key;
        const char* Text;
        int WantStart, WantLength;
    } cases[] = {
        {"abc", 3, 0, 0, win::VK_BACK, "ab", 2, 0},
        {"abc", 0, 0, 0, win::VK_DELETE, "bc", 0, 0},
        {"abc", 1, 1, 0, win::VK_DELETE, "ac", 1, 0},
        {"a视c", 3, 0, 0, win::VK_LEFT, "a视c", 2, 0},
        {"a视c", 3, 0, win::VK_SHIFT, win::VK_LEFT, "a视c", 2, 1},
        {"abc", 1, 0, win::VK_SHIFT, win::VK_END, "abc", 1, 2},
        {"one two", 7, 0, win::VK_CONTROL, win::VK_LEFT, "one two", 4, 0},
        {"abc", 0, 3, 0, 'X', "x", 1, 0},
    };
    for (const TCase& c : cases) {
        Edit->SetText(c.Start);
        Edit->SetSelStart(c.SelStart);
        Edit->SetSelLength(c.SelLength);
        if (c.Modifier)
            Chord(c.Modifier, c.Key);
        else {
            Press(c.Key);
            Run();
        }
        EXPECT_EQ(Edit->Text(), c.Text) << c.Start << " key " << c.Key;
        EXPECT_EQ(Edit->SelStart(), c.WantStart) << c.Start << " key " << c.Key;
        EXPECT_EQ(Edit->SelLength(), c.WantLength) << c.Start << " key " << c.Key;
    }
}

TEST_F(EditTest, PropertiesLimitAndShapeTheText) {
    Edit->SetMaxLength(4);
    Screen->Text("视频abcdef");
    Run();
    EXPECT_EQ(Edit->Text(), "视频ab") << "MaxLength counts characters";
    EXPECT_FALSE(Screen->Beeps().empty()) << "a refused character beeps";

    Edit->SetMaxLength(0);
    Edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(Edit->Text(), "视频AB");
    Screen->Text("x");
    Run();
    EXPECT_EQ(Edit->Text(), "视频ABX");

    Edit->SetReadOnly(true);
    Changes = 0;
    Screen->Text("y");
    Press(win::VK_BACK);
    Chord(win::VK_CONTROL, 'V');
    Run();
    EXPECT_EQ(Edit->Text(), "视频ABX");
    EXPECT_EQ(Changes, 0);
    Edit->SetText("set by code");
    EXPECT_EQ(Changes, 1) << "WM_SETTEXT changes a read-only edit and raises OnChange";
    EXPECT_FALSE(Edit->CanUndo());
}

TEST_F(EditTest, MessagesSetSelectionMarginsAndRectangle) {
    Edit->SetText("hello world");
    Edit->Perform(EM_SETSEL, 2, 5);
    EXPECT_EQ(Edit->SelText(), "llo");
    Edit->Perform(EM_SETSEL, 0, -1);
    EXPECT_EQ(Edit->SelLength(), 11);
    Edit->Perform(EM_SETSEL, WPARAM(-1), 0);
    EXPECT_EQ(Edit->SelLength(), 0);

    Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, win::MAKELPARAM(7, 9));
    const TRect client = Edit->ClientRect();
    EXPECT_EQ(Edit->FormatRect(), (TRect{7, 0, client.Right - 9, client.Bottom}));
    EXPECT_EQ(Edit->PosFromChar(0), 7);
    const TRect custom{20, 2, 60, 18};
    Edit->Perform(EM_SETRECTNP, 0, win::PtrToParam(&custom));
    EXPECT_EQ(Edit->FormatRect(), custom);

    // A long text scrolls inside the rectangle so the caret stays in it.
    Edit->SetText(std::string(60, 'w'));
    Edit->Perform(EM_SETSEL, 60, 60);
    EXPECT_GT(Edit->ScrollX(), 0);
    TPoint caret;
    ASSERT_TRUE(win::GetCaretPos(caret));
    EXPECT_GE(caret.X, custom.Left);
    EXPECT_LE(caret.X, custom.Right);
    Edit->Perform(EM_SETSEL, 0, 0);
    EXPECT_EQ(Edit->ScrollX(), 0);
}

TEST_F(EditTest, MouseSelectsClicksAndDoubleClicksAWord) {
    Edit->SetText("one two three");
    int clicks = 0;
    Edit->OnClick = [&](TObject*) { ++clicks; };
    const int x = Edit->PosFromChar(5);
    Click(Edit, x, 8);
    EXPECT_EQ(Edit->SelStart(), 5);
    EXPECT_EQ(Edit->SelLength(), 0);
    EXPECT_EQ(clicks, 1);

    Screen->MouseDown(At(Edit, Edit->PosFromChar(1), 8));
    Screen->MouseMove(At(Edit, Edit->PosFromChar(3), 8));
    Screen->MouseUp(At(Edit, Edit->PosFromChar(3), 8));
    Run();
    EXPECT_EQ(Edit->SelText(), "ne");

    AdvanceMs(1000);
    Screen->Click(At(Edit, x, 8));
    Screen->Click(At(Edit, x, 8));
    Run();
    EXPECT_EQ(Edit->SelText(), "two");
}

TEST_F(EditTest, ContentSurvivesRecreateWnd) {
    Edit->SetText("keep me");
    Edit->Perform(EM_SETSEL, 1, 3);
    Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN, 5);
    const HWND before = Edit->Handle();
    Edit->SetAlignment(taRightJustify);  // recreates the window
    EXPECT_NE(Edit->Handle(), before);
    EXPECT_EQ(Edit->Text(), "keep me");
    EXPECT_EQ(Edit->SelText(), "ee");
    EXPECT_EQ(Edit->FormatRect().Left, 5);
    EXPECT_EQ(win::GetWindowLongPtr(Edit->Handle(), win::GWL_STYLE) & ES_RIGHT, ES_RIGHT);
    EXPECT_TRUE(Edit->Focused());
}

// The edit asks its colours before drawing; a transparent answer leaves the parent's red.
TEST_F(EditTest, ColourQuestionDecidesFillAndText) {
    Form->SetColor(gfx::clRed);
    Edit->SetBorderStyle(bsNone);
    Edit->SetText("Wm");
    int asked = 0, askedStatic = 0;
    static const gfx::TLogBrush kNull{gfx::BS_NULL, 0};
    TWndMethod old = Edit->WindowProc;
    Edit->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == CN_CTLCOLOREDIT || m.Msg == CN_CTLCOLORSTATIC) {
            ++(m.Msg == CN_CTLCOLOREDIT ? asked : askedStatic);
            HDC dc = win::ParamToDc(m.WParam);
            gfx::SetBkMode(dc, gfx::TRANSPARENT);
            gfx::SetTextColor(dc, gfx::clBlue);
            m.Result = win::PtrToParam(&kNull);
            return;
        }
        if (m.Msg == win::WM_ERASEBKGND) {
            // The parent paints what lies behind the edit.
            HDC dc = win::ParamToDc(m.WParam);
            const int saved = gfx::SaveDC(dc);
            TPoint o;
            gfx::GetViewportOrgEx(dc, &o);
            gfx::SetViewportOrgEx(dc, o.X - Edit->Left(), o.Y - Edit->Top());
            Form->Perform(win::WM_ERASEBKGND, m.WParam, 0);
            gfx::RestoreDC(dc, saved);
            m.Result = 1;
            return;
        }
        old(m);
    };
    Edit->Perform(EM_SETSEL, 0, 0);
    Edit->Repaint();
    Run();
    EXPECT_GT(asked, 0);
    const HWND h = Edit->Handle();
    int red = 0, blue = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            const gfx::TColor c = ClientPixel(h, x, y);
            red += c == gfx::clRed;
            blue += gfx::GetBValue(c) > 128 && gfx::GetRValue(c) < 128;
        }
    EXPECT_GT(red, 400) << "no fill behind the text";
    EXPECT_GT(blue, 5) << "the text in the answer's colour";
    EXPECT_EQ(ClientPixel(h, 120, 10), gfx::clRed);

    Edit->SetReadOnly(true);
    Edit->Repaint();
    EXPECT_GT(askedStatic, 0) << "a read-only edit asks CN_CTLCOLORSTATIC";
}

TEST_F(EditTest, CaretFollowsFocusAndBlinks) {
    Edit->SetText("ab");
    Edit->Perform(EM_SETSEL, 2, 2);
    Run();
    TPoint p;
    ASSERT_TRUE(win::GetCaretPos(p));
    EXPECT_EQ(p.X, Edit->PosFromChar(2));
    EXPECT_TRUE(win::IsCaretDrawn());
    AdvanceMs(int(win::GetCaretBlinkTime()));
    Run();
    EXPECT_FALSE(win::IsCaretDrawn());

    auto* other = new TEdit(Form);
    other->SetParent(Form);
    other->SetBounds(10, 50, 100, 24);
    other->SetText("zz");
    other->SetFocus();
    Run();
    EXPECT_EQ(other->SelLength(), 2) << "AutoSelect selects all on entry";
    ASSERT_TRUE(win::GetCaretPos(p));
    EXPECT_EQ(p.X, other->PosFromChar(2));
}

TEST_F(EditTest, EnterAndEscReachTheFormsButtonsNotTheText) {
    Screen->Text("ok");
    Run();
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_EQ(Edit->Text(), "ok");
}

class MemoTest : public TVclTest {};

TEST_F(MemoTest, AppendsShowTheEndAndSurviveRecreate) {
    TForm* form = ShowForm(100, 100, 300, 200);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    memo->SetBounds(0, 0, 200, 100);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    for (int i = 0; i < 1000; ++i) memo->Lines().Add("line " + std::to_string(i));
    EXPECT_EQ(changes, 1000);
    EXPECT_EQ(memo->Lines().Count(), 1000);
    EXPECT_EQ(memo->TopLine(), 1000 - memo->LinesPerPage());
    memo->SetBorderStyle(bsNone);
    EXPECT_EQ(memo->Lines().Get(999), "line 999");
    memo->SetText("a\r\nb");
    EXPECT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Text(), "a\r\nb\r\n");
}

}  // namespace
}  // namespace vcl::test
