// Buttons, check and radio boxes, the label and the combo box through the input path, and the
// panel, bevel, splitter and image.
#include "platform/vcl/std_ctrls.h"

#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/vcl_test_support.h"

namespace vcl::test {
namespace {

class StdCtrlsTest : public TVclTest {
protected:
    void SetUp() override {
        TVclTest::SetUp();
        Form = ShowForm(100, 100, 300, 200);
    }
    template <class T>
    T* Add(int x, int y, int w, int h, const std::string& name = "") {
        auto* c = new T(Form);
        if (!name.empty()) c->SetName(name);
        c->SetParent(Form);
        c->SetBounds(x, y, w, h);
        return c;
    }
    TForm* Form = nullptr;
};

TEST_F(StdCtrlsTest, DefaultAndCancelButtonsAnswerEnterAndEsc) {
    auto* edit = Add<TEdit>(10, 10, 100, 24);
    auto* ok = Add<TButton>(10, 50, 75, 25);
    auto* cancel = Add<TButton>(100, 50, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    std::vector<std::string> log;
    ok->OnClick = [&](TObject*) { log.push_back("ok"); };
    cancel->OnClick = [&](TObject*) { log.push_back("cancel"); };
    edit->SetFocus();
    Run();
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(Form->ModalResult(), mrOk);
    Form->SetModalResult(mrNone);
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel"}));
    EXPECT_EQ(edit->Text(), "");

    // A disabled default button ignores Enter; a click and Space press it.
    Form->SetModalResult(mrNone);
    ok->SetEnabled(false);
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(Form->ModalResult(), mrNone);
    Click(cancel, 10, 10);
    EXPECT_TRUE(cancel->Focused());
    cancel->SetModalResult(mrNone);
    Press(win::VK_SPACE);
    Run();
    EXPECT_EQ(log.size(), 4u);
    // Enter presses the focused button rather than the default one.
    ok->SetEnabled(true);
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(log.back(), "cancel");
    edit->SetFocus();
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(log.back(), "ok");
}

TEST_F(StdCtrlsTest, CheckAndRadioBoxesToggle) {
    auto* check = Add<TCheckBox>(10, 10, 120, 17);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    Click(check, 5, 8);
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(clicks, 1) << "one click event per toggle";
    Press(win::VK_SPACE);
    Run();
    EXPECT_FALSE(check->Checked());
    check->SetAllowGrayed(true);
    Click(check, 5, 8);
    Click(check, 5, 8);
    EXPECT_EQ(check->State(), cbGrayed);
    check->SetChecked(true);
    EXPECT_EQ(clicks, 5) << "code changes raise OnClick too";
    EXPECT_EQ(check->Perform(BM_GETCHECK), cbChecked);
    // A press released outside does nothing.
    Screen->MouseDown(At(check, 5, 8));
    Screen->MouseUp(At(check, 5, 80));
    Run();
    EXPECT_TRUE(check->Checked());

    auto* a = Add<TRadioButton>(10, 40, 100, 17);
    auto* b = Add<TRadioButton>(10, 60, 100, 17);
    a->SetChecked(true);
    Click(b, 5, 8);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    Click(b, 5, 8);
    EXPECT_TRUE(b->Checked()) << "a radio button does not uncheck itself";
    EXPECT_TRUE(check->Checked()) << "check boxes are not in the group";

    b->RecreateWnd();
    EXPECT_TRUE(b->Checked());
}

// A label whose text drawing is replaced sees every measurement and paint.
class THookLabel : public TLabel {
public:
    using TLabel::TLabel;
    std::vector<unsigned> Flags;

protected:
    void DoDrawText(TRect& rect, unsigned flags) override {
        Flags.push_back(flags);
        TLabel::DoDrawText(rect, flags);
    }
};

TEST_F(StdCtrlsTest, LabelSizesDrawsThroughItsHookAndFocusesItsControl) {
    auto* label = Add<THookLabel>(10, 10, 10, 10);
    label->SetCaption("&Name");
    const int oneLine = label->Height();
    EXPECT_GT(label->Width(), 20);
    EXPECT_GT(oneLine, 8);
    ASSERT_FALSE(label->Flags.empty());
    EXPECT_TRUE(label->Flags.back() & gfx::DT_CALCRECT);

    label->SetCaption("");
    EXPECT_EQ(label->Height(), oneLine) << "an empty label keeps one line";
    label->SetCaption("a long text that wraps");
    label->SetAutoSize(false);
    label->SetWidth(60);
    label->SetWordWrap(true);
    label->SetAutoSize(true);
    EXPECT_GT(label->Height(), oneLine);

    label->Flags.clear();
    label->SetLayout(tlBottom);
    label->SetShowAccelChar(false);
    label->Repaint();
    Run();
    ASSERT_GE(label->Flags.size(), 2u) << "a bottom layout measures first";
    EXPECT_TRUE(label->Flags.back() & gfx::DT_NOPREFIX);
    EXPECT_TRUE(label->Flags.back() & gfx::DT_WORDBREAK);

    // Right alignment keeps the right edge when the text grows.
    label->SetWordWrap(false);
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("wider text than before");
    EXPECT_EQ(label->Left() + label->Width(), right);

    auto* edit = Add<TEdit>(100, 100, 100, 24);
    auto* button = Add<TButton>(10, 150, 75, 25);
    label->SetCaption("&Name");
    label->SetShowAccelChar(true);
    label->SetFocusControl(edit);
    button->SetFocus();
    Run();
    Screen->KeyDown(win::VK_MENU);
    Screen->KeyPress('N');
    Screen->KeyUp(win::VK_MENU);
    Run();
    EXPECT_TRUE(edit->Focused());
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdCtrlsTest, TransparentLabelLetsTheParentShow) {
    Form->SetColor(gfx::clRed);
    auto* label = Add<TLabel>(10, 10, 10, 10);
    label->SetCaption("i");
    label->SetColor(gfx::clWhite);
    Form->Repaint();
    Run();
    const HWND h = Form->Handle();
    EXPECT_EQ(ClientPixel(h, label->Left() + label->Width() - 1, label->Top()), gfx::clWhite);
    label->SetTransparent(true);
    Form->Repaint();
    Run();
    EXPECT_EQ(ClientPixel(h, label->Left() + label->Width() - 1, label->Top()), gfx::clRed);
}

TEST_F(StdCtrlsTest, ComboBoxChoosesByKeysWheelAndList) {
    auto* combo = Add<TComboBox>(10, 10, 120, 21);
    combo->Items().Add("一");
    combo->Items().Add("二");
    combo->Items().Add("三");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "二");
    EXPECT_EQ(changes, 0) << "no OnChange from code";
    combo->SetFocus();
    Run();
    Press(win::VK_DOWN);
    Run();
    EXPECT_EQ(combo->ItemIndex(), 2);
    Press(win::VK_DOWN);
    Run();
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(changes, 1) << "no change at the end of the list";
    Screen->Wheel(At(combo, 5, 5), win::WHEEL_DELTA);
    Run();
    EXPECT_EQ(combo->ItemIndex(), 1);

    Click(combo, 5, 5);
    ASSERT_TRUE(combo->DroppedDown());
    const int h = combo->ItemHeight();
    Screen->Click(combo->ClientToScreen({5, combo->Height() + h / 2 + 1}));
    Run();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "一");
    EXPECT_EQ(changes, 3);

    combo->SetText("三");
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->RecreateWnd();
    EXPECT_EQ(combo->Text(), "三");
}

TEST_F(StdCtrlsTest, SplitterResizesTheControlAlignedAgainstIt) {
    struct TCase {
        TAlign Align;
        TPoint From, To;
        int Want;
    } cases[] = {
        {alLeft, {101, 50}, {151, 50}, 150},          {alLeft, {101, 50}, {0, 50}, 30},
        {alLeft, {101, 50}, {299, 50}, 300 - 3 - 30}, {alRight, {198, 50}, {148, 50}, 150},
        {alTop, {50, 101}, {50, 121}, 120},           {alBottom, {50, 98}, {50, 78}, 120},
    };
    for (const TCase& c : cases) {
        auto* panel = new TPanel(Form);
        panel->SetParent(Form);
        const bool side = c.Align == alLeft || c.Align == alRight;
        panel->SetBounds(0, 0, 100, 100);
        panel->SetAlign(c.Align);
        auto* splitter = new TSplitter(Form);
        splitter->SetParent(Form);
        splitter->SetAlign(c.Align);
        // Placed beyond the panel, as a designer drops it.
        if (c.Align == alLeft) splitter->SetLeft(150);
        if (c.Align == alRight) splitter->SetLeft(0);
        if (c.Align == alTop) splitter->SetTop(150);
        if (c.Align == alBottom) splitter->SetTop(0);
        if (side)
            splitter->SetWidth(3);
        else
            splitter->SetHeight(3);
        Form->Realign();
        EXPECT_EQ(splitter->FindControl(), panel) << c.Align;
        EXPECT_EQ(splitter->Cursor(), side ? crSizeWE : crSizeNS);
        const TPoint at = Form->ClientToScreen(c.From);
        Screen->MouseDown(at);
        Screen->MouseMove(Form->ClientToScreen(c.To));
        Screen->MouseUp(Form->ClientToScreen(c.To));
        Run();
        EXPECT_EQ(side ? panel->Width() : panel->Height(), c.Want) << c.Align;
        splitter->Free();
        panel->Free();
    }
}

TEST_F(StdCtrlsTest, PanelBevelsInsetItsChildrenAndImageStretches) {
    auto* panel = Add<TPanel>(10, 10, 100, 80);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    auto* inside = new TPanel(Form);
    inside->SetParent(panel);
    inside->SetAlign(alClient);
    EXPECT_EQ(inside->BoundsRect(), (TRect{4, 4, 96, 76}));

    auto* image = Add<TImage>(150, 10, 40, 20);
    gfx::TBitmap bitmap;
    bitmap.SetSize(2, 2);
    bitmap.Canvas().Brush().SetColor(gfx::clBlue);
    bitmap.Canvas().FillRect({0, 0, 2, 2});
    bitmap.Canvas().SetPixel(1, 1, gfx::clLime);
    image->Picture().SetGraphic(&bitmap);
    image->SetStretch(true);
    Form->Repaint();
    Run();
    const HWND h = Form->Handle();
    EXPECT_EQ(ClientPixel(h, 150, 10), gfx::clBlue);
    EXPECT_EQ(ClientPixel(h, 189, 29), gfx::clLime);
    image->SetStretch(false);
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 2);
}

}  // namespace
}  // namespace vcl::test

namespace vcl::test {
namespace {

// Every windowed standard control paints through PaintWindow, into a DC that WM_PAINT carries
// as well, and looks the same after its window was made again.
TEST_F(StdCtrlsTest, EveryControlPaintsIntoAGivenDCAndSurvivesRecreation) {
    using TMake = std::function<TWinControl*(TForm*)>;
    const std::vector<std::pair<const char*, TMake>> makers = {
        {"button",
         [](TForm* f) {
             auto* c = new TButton(f);
             c->SetCaption("OK");
             c->SetDefault(true);
             return c;
         }},
        {"check",
         [](TForm* f) {
             auto* c = new TCheckBox(f);
             c->SetCaption("Check");
             c->SetChecked(true);
             return c;
         }},
        {"radio",
         [](TForm* f) {
             auto* c = new TRadioButton(f);
             c->SetCaption("Radio");
             c->SetChecked(true);
             return c;
         }},
        {"panel",
         [](TForm* f) {
             auto* c = new TPanel(f);
             c->SetCaption("Panel");
             c->SetBevelInner(bvLowered);
             return c;
         }},
        {"edit",
         [](TForm* f) {
             auto* c = new TEdit(f);
             c->SetText("视频 abc");
             c->SetHideSelection(false);
             c->SetSelStart(1);
             c->SetSelLength(2);
             return c;
         }},
        {"memo",
         [](TForm* f) {
             auto* c = new TMemo(f);
             c->Lines().Add("one");
             c->Lines().Add("two");
             return c;
         }},
        {"combo",
         [](TForm* f) {
             auto* c = new TComboBox(f);
             c->Items().Add("MP4");
             c->SetItemIndex(0);
             return c;
         }},
    };
    for (const auto& [name, make] : makers) {
        TWinControl* c = make(Form);
        c->SetParent(Form);
        c->SetBounds(10, 10, 120, 40);
        Form->Repaint();
        Run();
        const int w = c->ClientWidth(), h = c->ClientHeight();
        auto shot = [&] {
            std::vector<gfx::TColor> pixels;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) pixels.push_back(ClientPixel(c->Handle(), x, y));
            return pixels;
        };
        const auto before = shot();
        gfx::TDibDC dib = gfx::CreateDibDC(w, h);
        gfx::FillRect(dib.DC.get(), {0, 0, w, h}, gfx::CreateSolidBrush(gfx::clFuchsia));
        c->Perform(win::WM_PAINT, win::DcToParam(dib.DC.get()), 0);
        std::vector<gfx::TColor> carried;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) carried.push_back(gfx::GetPixel(dib.DC.get(), x, y));
        EXPECT_EQ(carried, before) << name << ": a carried DC gets the same picture";

        c->RecreateWnd();
        Form->Repaint();
        Run();
        EXPECT_EQ(shot(), before) << name << ": the same after RecreateWnd";
        c->Free();
    }
}

// A subclass sees its paint as PaintWindow.
class TCountingButton : public TButton {
public:
    using TButton::TButton;
    int Paints = 0;

protected:
    void PaintWindow(HDC dc) override {
        ++Paints;
        TButton::PaintWindow(dc);
    }
};

TEST_F(StdCtrlsTest, SubclassesPaintThroughPaintWindowAndMaskIsKept) {
    auto* b = new TCountingButton(Form);
    b->SetParent(Form);
    b->Repaint();
    EXPECT_GE(b->Paints, 1);

    auto* mask = new TMaskEdit(Form);
    mask->SetParent(Form);
    mask->SetEditMask("!999;1;_");
    mask->SetFocus();
    Screen->Text("ab");
    Run();
    EXPECT_EQ(mask->EditMask(), "!999;1;_");
    EXPECT_EQ(mask->Text(), "ab") << "the mask is never applied";
}

// The edit stays on one line whatever its window style says.
class TMultiLineEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& p) override {
        TEdit::CreateParams(p);
        p.Style |= ES_MULTILINE;
    }
};

TEST_F(StdCtrlsTest, MultiLineStyleStaysSingleLine) {
    auto* e = new TMultiLineEdit(Form);
    e->SetParent(Form);
    e->SetFocus();
    Run();
    ASSERT_TRUE(win::GetWindowLongPtr(e->Handle(), win::GWL_STYLE) & ES_MULTILINE);
    win::SetClipboardText("first\nsecond");
    e->PasteFromClipboard();
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(e->Text(), "first");
    const TRect r{5, 3, 60, 15};
    e->Perform(EM_SETRECTNP, 0, win::PtrToParam(&r));
    EXPECT_EQ(e->FormatRect(), r);
}

// A splitter subclass hears every alignment change through RequestAlign.
class TWatchedSplitter : public TSplitter {
public:
    using TSplitter::TSplitter;
    int Requests = 0;

protected:
    void RequestAlign() override {
        ++Requests;
        TSplitter::RequestAlign();
    }
};

TEST_F(StdCtrlsTest, SplitterRequestAlignIsVirtualAndTransparentImageShowsTheParent) {
    auto* s = new TWatchedSplitter(Form);
    s->SetParent(Form);
    const int before = s->Requests;
    s->SetAlign(alTop);
    EXPECT_GT(s->Requests, before);
    EXPECT_EQ(s->Cursor(), crSizeNS);
    s->SetHeight(3);

    Form->SetColor(gfx::clRed);
    auto* image = new TImage(Form);
    image->SetParent(Form);
    image->SetBounds(100, 100, 4, 4);
    gfx::TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Canvas().Brush().SetColor(gfx::clWhite);
    bitmap.Canvas().FillRect({0, 0, 4, 4});
    bitmap.Canvas().SetPixel(1, 1, gfx::clBlue);
    image->Picture().SetGraphic(&bitmap);
    image->SetTransparent(true);
    Form->Repaint();
    Run();
    const HWND h = Form->Handle();
    EXPECT_EQ(ClientPixel(h, 100, 100), gfx::clRed)
        << "the white of the bottom-left corner is a hole";
    EXPECT_EQ(ClientPixel(h, 101, 101), gfx::clBlue);
}

}  // namespace
}  // namespace vcl::test
