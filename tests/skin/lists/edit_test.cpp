// The inner edit, the numeric edit and the skinned edit, driven through the headless input path:
// one-line editing with the clipboard and undo, soft read-only, Enter and Esc as dialog keys,
// the skinned context menu, the numeric filter with its beeps, and the skinned edit's geometry,
// hit codes, colours and text placement.
#include "skin/lists/custom_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists_test_support.h"
#include "platform/vcl/std_ctrls.h"
#include "platform/win/win.h"
#include "skin/core/resource_strings.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"

namespace skin {
namespace {

using TEvents = std::vector<std::string>;

class EditTest : public test::TControlsTest {
protected:
    template <class T>
    T* NewEdit(int x = 20, int y = 20, int width = 200, int height = 20,
               const std::string& name = "Edit") {
        auto* edit = new T(Form);
        edit->SetName(name);
        edit->SetParent(Form);
        edit->SetBounds(x, y, width, height);
        edit->OnKeyPress = [this](vcl::TObject*, char32_t& key) {
            Events.push_back("keypress " + std::to_string(int(key)));
        };
        edit->SetFocus();
        Run();
        return edit;
    }
    void Ctrl(int vk) {
        Screen->KeyDown(win::VK_CONTROL);
        Screen->KeyPress(vk);
        Screen->KeyUp(win::VK_CONTROL);
        Run();
    }
    void Shift(int vk) {
        Screen->KeyDown(win::VK_SHIFT);
        Screen->KeyPress(vk);
        Screen->KeyUp(win::VK_SHIFT);
        Run();
    }
    void Key(int vk) {
        Screen->KeyPress(vk);
        Run();
    }
    void Type(const std::string& utf8) {
        Screen->Text(utf8);
        Run();
    }
    std::string Clipboard() const { return win::GetClipboardText().value_or("<none>"); }

    TEvents Events;
};

// ---- one-line editing ---------------------------------------------------------------------------

TEST_F(EditTest, TypingCutPasteAndUndoCountCharactersAndStayOnOneLine) {
    auto* edit = NewEdit<TbsCustomEdit>();
    Type("视频 abc");
    EXPECT_EQ(edit->Text(), "视频 abc");
    EXPECT_EQ(edit->SelStart(), 6);
    Shift(win::VK_HOME);
    EXPECT_EQ(edit->SelLength(), 6);
    Ctrl('X');
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(Clipboard(), "视频 abc");
    Ctrl('V');
    EXPECT_EQ(edit->Text(), "视频 abc");
    Ctrl('Z');
    EXPECT_EQ(edit->Text(), "");
    win::SetClipboardText("a\r\nb");
    Ctrl('V');
    EXPECT_EQ(edit->Text(), "a");
    Ctrl(win::VK_RETURN);
    EXPECT_EQ(edit->Text(), "a");
}

// ---- soft read-only -----------------------------------------------------------------------------

TEST_F(EditTest, ReadOnlyRefusesEveryChangeButCopies) {
    auto* edit = NewEdit<TbsCustomEdit>();
    edit->SetText("hello");
    edit->SetReadOnly(true);
    win::SetClipboardText("pasted");
    struct TCase {
        const char* Name;
        std::function<void()> Act;
    };
    const TCase cases[] = {
        {"typing", [&] { Type("x"); }},
        {"backspace", [&] { Key(win::VK_BACK); }},
        {"delete", [&] { Key(win::VK_DELETE); }},
        {"ctrl+v", [&] { Ctrl('V'); }},
        {"ctrl+x", [&] { Ctrl('X'); }},
        {"ctrl+z", [&] { Ctrl('Z'); }},
        {"shift+insert", [&] { Shift(win::VK_INSERT); }},
        {"shift+delete", [&] { Shift(win::VK_DELETE); }},
        {"menu undo", [&] { edit->Undo(); }},
        {"menu cut", [&] { edit->CutToClipboard(); }},
        {"menu paste", [&] { edit->PasteFromClipboard(); }},
        {"menu delete", [&] { edit->ClearSelection(); }},
    };
    for (const TCase& c : cases) {
        edit->SelectAll();
        c.Act();
        EXPECT_EQ(edit->Text(), "hello") << c.Name;
        EXPECT_EQ(Clipboard(), "pasted") << c.Name;
    }
    edit->SelectAll();
    Ctrl('C');
    EXPECT_EQ(Clipboard(), "pasted");  // Ctrl+C is a typed control character: dropped
    edit->CopyToClipboard();
    EXPECT_EQ(Clipboard(), "hello");
    win::SetClipboardText("pasted");
    Ctrl(win::VK_INSERT);
    EXPECT_EQ(Clipboard(), "hello");
    edit->SetText("set by code");
    EXPECT_EQ(edit->Text(), "set by code");
}

TEST_F(EditTest, EnterAndEscPressTheFormsButtonsAndAreNeverTyped) {
    int ok = 0, cancel = 0;
    auto* okButton = new vcl::TButton(Form);
    okButton->SetParent(Form);
    okButton->SetBounds(20, 60, 80, 24);
    okButton->SetDefault(true);
    okButton->OnClick = [&](vcl::TObject*) { ++ok; };
    auto* cancelButton = new vcl::TButton(Form);
    cancelButton->SetParent(Form);
    cancelButton->SetBounds(120, 60, 80, 24);
    cancelButton->SetCancel(true);
    cancelButton->OnClick = [&](vcl::TObject*) { ++cancel; };
    for (bool readOnly : {false, true}) {
        auto* edit = NewEdit<TbsCustomEdit>();
        edit->SetReadOnly(readOnly);
        edit->SetText("x");
        edit->SetSelStart(1);
        Events.clear();
        ok = cancel = 0;
        Key(win::VK_RETURN);
        Key(win::VK_ESCAPE);
        EXPECT_EQ(edit->Text(), "x") << readOnly;
        EXPECT_EQ(Events, (TEvents{"keypress 13", "keypress 27"})) << readOnly;
        EXPECT_EQ(ok, 1) << readOnly;
        EXPECT_EQ(cancel, 1) << readOnly;
        edit->Free();
    }
}

// ---- the context menu ---------------------------------------------------------------------------

class EditMenuTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        Load(test::ListsFixtureSkin());
    }
    // The form's skin component, and a text table on the skin data when `lines` is given.
    void AddSkinForm(const std::vector<std::string>& lines = {}) {
        auto* skinForm = new TbsSkinForm(Form);
        skinForm->SetSkinData(Data);
        if (lines.empty()) return;
        auto* table = new TbsResourceStrData(Form);
        rtl::TStringList strings;
        for (const std::string& l : lines) strings.Add(l);
        table->SetResStrings(strings);
        Data->SetResourceStrData(table);
    }
    // Captions and enabled flags of the menu the last right click built.
    static std::vector<std::string> Rows(TbsCustomEdit* edit) {
        std::vector<std::string> rows;
        TbsSkinPopupMenu* menu = edit->SysPopupMenu();
        if (!menu) return rows;
        for (int i = 0; i < menu->Items()->Count(); ++i) {
            vcl::TMenuItem* item = menu->Items()->Items(i);
            rows.push_back(item->Caption() + (item->Enabled() ? "" : " (off)"));
        }
        return rows;
    }
    void RightClick(vcl::TControl* control) {
        Screen->Click(At(control, 10, 5), win::TMouseButton::Right);
        Run();
    }
};

TEST_F(EditMenuTest, EnablementFollowsSelectionTextReadOnlyAndClipboard) {
    AddSkinForm();
    auto* edit = NewEdit<TbsCustomEdit>();
    struct TCase {
        const char* Name;
        std::string Text;
        bool SelectAll;
        bool ReadOnly;
        std::string Clipboard;
        std::vector<std::string> Rows;
    };
    const TCase cases[] = {
        {"no selection",
         "abc",
         false,
         false,
         "c",
         {"Undo (off)", "-", "Cut (off)", "Copy (off)", "Paste", "Delete (off)", "-",
          "Select All"}},
        {"empty field",
         "",
         false,
         false,
         "c",
         {"Undo (off)", "-", "Cut (off)", "Copy (off)", "Paste", "Delete (off)", "-",
          "Select All (off)"}},
        {"all selected",
         "abc",
         true,
         false,
         "c",
         {"Undo (off)", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All (off)"}},
        {"read-only",
         "abc",
         true,
         true,
         "c",
         {"Undo (off)", "-", "Cut (off)", "Copy", "Paste (off)", "Delete (off)", "-",
          "Select All (off)"}},
        {"empty clipboard",
         "abc",
         false,
         false,
         "",
         {"Undo (off)", "-", "Cut (off)", "Copy (off)", "Paste (off)", "Delete (off)", "-",
          "Select All"}},
    };
    for (const TCase& c : cases) {
        edit->SetReadOnly(false);
        edit->SetText(c.Text);
        edit->ClearUndo();
        edit->SetReadOnly(c.ReadOnly);
        if (c.SelectAll)
            edit->SelectAll();
        else
            edit->SetSelStart(0);
        win::SetClipboardText(c.Clipboard);
        edit->Perform(win::WM_CONTEXTMENU, 0, win::MAKELPARAM(300, 200));
        Run();
        EXPECT_EQ(Rows(edit), c.Rows) << c.Name;
        edit->Perform(WM_AFTERDISPATCH);
        EXPECT_EQ(edit->SysPopupMenu(), nullptr);
    }
}

TEST_F(EditMenuTest, CaptionsComeFromTheSkinsTableAndTheMenuCopies) {
    AddSkinForm({"EDIT_UNDO=撤销", "EDIT_CUT=剪切", "EDIT_COPY=复制", "EDIT_DELETE=删除",
                 "EDIT_SELECTALL=全选"});
    auto* edit = NewEdit<TbsCustomEdit>();
    edit->SetText("abc");
    edit->SelectAll();
    RightClick(edit);
    const std::vector<std::string> rows = Rows(edit);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], "撤销 (off)");
    EXPECT_EQ(rows[3], "复制");
    EXPECT_EQ(rows[4].substr(0, 1), " ");  // no "EDIT_PASTE" line: an empty caption
    EXPECT_EQ(rows[7], "全选 (off)");
    EXPECT_EQ(edit->SysPopupMenu()->PopupPoint(), At(edit, 10, 5));
    edit->SysPopupMenu()->Items()->Items(3)->Click();
    EXPECT_EQ(Clipboard(), "abc");
}

TEST_F(EditMenuTest, FromTheKeyboardItOpensAtTheCentre) {
    AddSkinForm();
    auto* edit = NewEdit<TbsCustomEdit>(20, 20, 201, 21);
    const gfx::TPoint centre = edit->ClientToScreen({0, 0});
    for (bool menuKey : {true, false}) {
        if (menuKey)
            Key(win::VK_APPS);
        else
            Shift(win::VK_F10);
        ASSERT_NE(edit->SysPopupMenu(), nullptr) << menuKey;
        EXPECT_EQ(edit->SysPopupMenu()->PopupPoint(), (gfx::TPoint{centre.X + 100, centre.Y + 10}))
            << menuKey;
        edit->Perform(WM_AFTERDISPATCH);
    }
}

TEST_F(EditMenuTest, NoFormSkinComponentNoMenu) {
    auto* edit = NewEdit<TbsCustomEdit>();
    RightClick(edit);
    ASSERT_NE(edit->SysPopupMenu(), nullptr);
    EXPECT_EQ(Rows(edit)[2], "Cut (off)");  // built-in captions, nothing shown
    EXPECT_EQ(edit->SysPopupMenu()->PopupPoint(), (gfx::TPoint{-1, -1}));
}

// ---- the numeric edit ---------------------------------------------------------------------------

TEST_F(EditTest, NumericFilterBeepsOnceForEachRefusal) {
    auto* edit = NewEdit<TbsSkinNumEdit>();
    struct TCase {
        bool Float;
        std::string Start;
        int Caret;
        std::string Typed;
        std::string Result;
        std::size_t Beeps;
    };
    const TCase cases[] = {
        {false, "12", 0, "-", "-12", 0}, {false, "12", 1, "-", "1-2", 0},
        {false, "12", 2, "3", "123", 0}, {false, "12", 2, ".", "12", 1},
        {false, "12", 2, "a", "12", 1},  {false, "-12", 3, "-", "-12", 1},
        {true, "12", 2, ".", "12.", 0},  {true, "1.2", 3, ".", "1.2", 1},
    };
    for (const TCase& c : cases) {
        edit->Float = c.Float;
        edit->SetText(c.Start);
        edit->SetSelStart(c.Caret);
        const std::size_t before = Screen->Beeps().size();
        Type(c.Typed);
        EXPECT_EQ(edit->Text(), c.Result) << c.Start << " + " << c.Typed;
        EXPECT_EQ(Screen->Beeps().size() - before, c.Beeps) << c.Start << " + " << c.Typed;
    }
    edit->SetText("-12");
    edit->SelectAll();
    const std::size_t before = Screen->Beeps().size();
    Type("-");  // the selected "-" still counts
    EXPECT_EQ(edit->Text(), "-12");
    EXPECT_EQ(Screen->Beeps().size() - before, 1u);
}

TEST_F(EditTest, NumericUpDownAndWheel) {
    auto* edit = NewEdit<TbsSkinNumEdit>();
    edit->OnUpClick = [this](vcl::TObject*) { Events.push_back("up"); };
    edit->OnDownClick = [this](vcl::TObject*) { Events.push_back("down"); };
    edit->OnKeyDown = [this](vcl::TObject*, int&, vcl::TShiftState) {
        Events.push_back("keydown");
    };
    Events.clear();
    Key(win::VK_UP);
    Key(win::VK_DOWN);
    Screen->Wheel(At(edit, 10, 5), 120);  // away from the user
    Run();
    Screen->Wheel(At(edit, 10, 5), -120);
    Run();
    EXPECT_EQ(Events, (TEvents{"up", "down", "down", "up"}));
}

// ---- the skinned edit ---------------------------------------------------------------------------

class SkinEditTest : public EditTest {
protected:
    TbsSkinEdit* NewSkinEdit(const std::string& record = "edit", int height = 20) {
        auto* edit = NewEdit<TbsSkinEdit>(20, 20, 200, height);
        edit->SetSkinDataName(record);
        edit->SetSkinData(Data);
        edit->OnClick = [this](vcl::TObject*) { Events.push_back("click"); };
        Run();
        return edit;
    }
    // Pixels of a colour in a rectangle of the control's window (frame included).
    int CountInWindow(vcl::TWinControl* c, const gfx::TRect& r, gfx::TColor colour) const {
        gfx::TRect w;
        win::GetWindowRect(c->Handle(), w);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (ScreenPixel(w.Left + x, w.Top + y) == gfx::ColorToRGB(colour)) ++n;
        return n;
    }
    static gfx::TRect ClientInWindow(vcl::TWinControl* c) {
        gfx::TRect w;
        win::GetWindowRect(c->Handle(), w);
        const gfx::TPoint o = c->ClientToScreen({0, 0});
        return {o.X - w.Left, o.Y - w.Top, o.X - w.Left + c->ClientWidth(),
                o.Y - w.Top + c->ClientHeight()};
    }
};

TEST_F(SkinEditTest, HeightAndClientAreaFollowTheRecord) {
    auto* edit = NewSkinEdit("edit", 20);
    EXPECT_EQ(edit->Height(), 20);
    edit->SetBounds(20, 20, 200, 37);
    EXPECT_EQ(edit->Height(), 37);  // free without a record
    EXPECT_EQ(ClientInWindow(edit), (gfx::TRect{2, 2, 198, 35}));
    Load(test::ListsFixtureSkin());
    edit->SetSkinDataName("thickedit");
    edit->ChangeSkinData();
    Run();
    EXPECT_EQ(edit->Height(), 24);
    edit->SetBounds(20, 20, 200, 50);
    EXPECT_EQ(edit->Height(), 24);
    EXPECT_EQ(ClientInWindow(edit), (gfx::TRect{4, 5, 194, 19}));
}

TEST_F(SkinEditTest, JoinsTheFormsSkinChangeWalk) {
    auto* edit = NewSkinEdit("thickedit", 20);
    EXPECT_EQ(edit->FIndex, -1);
    Load(test::ListsFixtureSkin());
    Run();
    EXPECT_NE(edit->FIndex, -1);
    EXPECT_EQ(edit->Height(), 24);
    // The frame left of the text area, from the record's picture (focused: the active one).
    EXPECT_EQ(CountInWindow(edit, {0, 0, 4, 24}, test::lists::kThickActive), 4 * 24);
}

TEST_F(SkinEditTest, FocusTurnsTheTextActiveAndClicksInTheTextRaiseOnClick) {
    Load(test::ListsFixtureSkin());
    auto* other = NewEdit<TbsCustomEdit>(20, 100, 200, 20, "Other");
    auto* edit = NewSkinEdit("thickedit");
    other->SetFocus();
    MoveAway();
    Run();
    EXPECT_EQ(edit->Font().Color(), test::lists::kThickText);
    edit->SetFocus();
    Run();
    EXPECT_EQ(edit->Font().Color(), test::lists::kThickActiveText);
    EXPECT_EQ(CountInWindow(edit, {0, 0, 4, 24}, test::lists::kThickActive), 4 * 24);
    Events.clear();
    Click(edit, 20, 5);
    EXPECT_EQ(Events, (TEvents{"click"}));
}

TEST_F(SkinEditTest, HitCodesComeBackInTheNonClientMessages) {
    auto* edit = NewSkinEdit("edit", 20);
    edit->SetBounds(20, 20, 200, 40);
    edit->SetButtonMode(true);
    edit->SetImages(test::SquareImages(Form, 2));
    edit->SetLeftImageIndex(0);
    edit->SetRightImageIndex(1);
    Run();
    edit->OnButtonClick = [this](vcl::TObject*) { Events.push_back("button"); };
    edit->OnLeftButtonClick = [this](vcl::TObject*) { Events.push_back("left"); };
    edit->OnRightButtonClick = [this](vcl::TObject*) { Events.push_back("right"); };
    auto hit = [&](int x, int y) {
        const gfx::TPoint s = edit->ClientToScreen({x, y});
        return int(edit->Perform(win::WM_NCHITTEST, 0, win::MAKELPARAM(s.X, s.Y)));
    };
    const int w = edit->ClientWidth();
    EXPECT_EQ(hit(5, 10), 104);
    EXPECT_EQ(hit(w - 5, 10), 105);
    EXPECT_EQ(hit(w + 10, 10), 6);  // the edit button right of the text area
    EXPECT_EQ(hit(-1, 10), 7);
    Events.clear();
    Click(edit, 5, 10);
    Click(edit, w - 5, 10);
    Click(edit, w + 10, 10);
    EXPECT_EQ(Events, (TEvents{"left", "right", "button"}));
    // The text starts past the left image.
    EXPECT_EQ(edit->FormatRect().Left, 32 + 2);
}

TEST_F(SkinEditTest, DefaultEditButtonTurnsHotAndPressed) {
    auto* edit = NewSkinEdit("edit", 20);
    edit->SetButtonMode(true);
    Run();
    int clicks = 0;
    edit->OnButtonClick = [&](vcl::TObject*) { ++clicks; };
    EXPECT_EQ(edit->ClientWidth(), 200 - 20 - 2 - 2);
    const gfx::TRect fill{181, 1, 199, 19};  // inside the button's frame line
    const int area = fill.Width() * fill.Height();
    EXPECT_EQ(CountInWindow(edit, fill, gfx::clBtnFace), area);
    const int bx = edit->ClientWidth() + 10;  // client x over the button
    MoveTo(edit, bx, 8);
    EXPECT_EQ(CountInWindow(edit, fill, gfx::RGB(182, 189, 210)), area);
    EXPECT_EQ(CountInWindow(edit, {180, 0, 200, 1}, gfx::RGB(0, 0, 128)), 20);
    Down(edit, bx, 8);
    EXPECT_EQ(CountInWindow(edit, fill, gfx::RGB(133, 147, 181)), area);
    Up(edit, bx, 8);
    EXPECT_EQ(clicks, 1);
    MoveAway();
    Run();
    EXPECT_EQ(CountInWindow(edit, fill, gfx::clBtnFace), area);
    EXPECT_EQ(CountInWindow(edit, {180, 0, 200, 1}, gfx::clBtnShadow), 20);
}

TEST_F(SkinEditTest, DisabledTextIsGreyTwoPixelsIn) {
    auto* edit = NewSkinEdit("edit", 20);
    edit->SetText("WWWW");
    edit->SetEnabled(false);
    Run();
    const gfx::TImage shot = Capture(edit);
    int first = -1;
    const int h = edit->ClientHeight();
    for (int x = 0; x < edit->ClientWidth() && first < 0; ++x)
        if (test::CountColour(shot, {x, 0, x + 1, h}, gfx::clWindow) < h) first = x;
    EXPECT_GT(test::CountColour(shot, {0, 0, 60, h}, gfx::clGrayText), 0);
    // 2 pixels into the text area; the glyph's own bearing may add a pixel.
    EXPECT_GE(first, 2);
    EXPECT_LE(first, 3);
    // The frame in the default look.
    EXPECT_EQ(CountInWindow(edit, {0, 0, 200, 1}, gfx::clBtnShadow), 200);
    EXPECT_EQ(CountInWindow(edit, {1, 1, 199, 2}, gfx::clBtnFace), 198);
}

}  // namespace
}  // namespace skin
