// Each standard control in its states (enabled, disabled, focused, selected), photographed on a
// frameless form and compared with reviewed references.
#include "platform/vcl/edits.h"
#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/std_ctrls.h"
#include "platform/vcl/vcl_test_support.h"

namespace vcl::test {
namespace {

class StdGalleryTest : public TVclTest {
protected:
    TForm* Stage(int width, int height) {
        auto* form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(50, 50, width, height);
        form->Show();
        Run();
        return form;
    }
    template <class T>
    T* Add(TWinControl* parent, int x, int y, int w, int h, const std::string& caption = "") {
        auto* c = new T(parent);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        if (!caption.empty()) c->SetCaption(caption);
        return c;
    }
    void Shoot(TForm* form, const std::string& name) {
        form->Repaint();
        Run();
        ExpectLooksLike(*Screen->CaptureWindow(form->Handle()), name);
    }
};

TEST_F(StdGalleryTest, Buttons) {
    TForm* f = Stage(340, 130);
    Add<TButton>(f, 5, 5, 75, 25, "确定");
    Add<TButton>(f, 85, 5, 75, 25, "Disabled")->SetEnabled(false);
    auto* focused = Add<TButton>(f, 165, 5, 75, 25, "Focused");
    Add<TButton>(f, 245, 5, 75, 25, "Default")->SetDefault(true);
    Add<TCheckBox>(f, 5, 40, 100, 17, "Check");
    auto* disabled = Add<TCheckBox>(f, 110, 40, 100, 17, "Disabled");
    disabled->SetChecked(true);
    disabled->SetEnabled(false);
    Add<TCheckBox>(f, 215, 40, 100, 17, "选中")->SetChecked(true);
    auto* grayed = Add<TCheckBox>(f, 5, 65, 100, 17, "Grayed");
    grayed->SetAllowGrayed(true);
    grayed->SetState(cbGrayed);
    auto* focusedCheck = Add<TCheckBox>(f, 110, 65, 100, 17, "Focused");
    Add<TRadioButton>(f, 5, 90, 100, 17, "Radio");
    auto* radioOff = Add<TRadioButton>(f, 110, 90, 100, 17, "Disabled");
    radioOff->SetEnabled(false);
    auto* group = Add<TPanel>(f, 215, 85, 120, 40);
    group->SetBevelOuter(bvNone);
    Add<TRadioButton>(group, 0, 2, 100, 17, "Selected")->SetChecked(true);
    Add<TRadioButton>(group, 0, 21, 100, 17, "Other");
    focused->SetFocus();
    Shoot(f, "std_buttons.png");
    focusedCheck->SetFocus();
    Shoot(f, "std_buttons_check_focused.png");
}

TEST_F(StdGalleryTest, EditsAndMemo) {
    TForm* f = Stage(330, 150);
    Add<TEdit>(f, 5, 5, 150, 21)->SetText("视频 abc");
    auto* disabled = Add<TEdit>(f, 165, 5, 150, 21);
    disabled->SetText("Disabled");
    disabled->SetEnabled(false);
    auto* selected = Add<TEdit>(f, 5, 35, 150, 21);
    selected->SetText("Selected text");
    selected->SetHideSelection(false);
    selected->Perform(EM_SETSEL, 0, 8);
    auto* right = Add<TEdit>(f, 165, 35, 150, 21);
    right->SetAlignment(taRightJustify);
    right->SetText("右对齐");
    auto* focused = Add<TEdit>(f, 5, 65, 150, 21);
    focused->SetText("Focused");
    auto* memo = Add<TMemo>(f, 165, 65, 150, 80);
    for (int i = 1; i <= 6; ++i) memo->Lines().Add("第 " + std::to_string(i) + " 行");
    auto* combo = Add<TComboBox>(f, 5, 95, 150, 21);
    combo->Items().Add("MP4");
    combo->Items().Add("AVI");
    combo->SetItemIndex(0);
    auto* comboOff = Add<TComboBox>(f, 5, 122, 150, 21);
    comboOff->Items().Add("Disabled");
    comboOff->SetItemIndex(0);
    comboOff->SetEnabled(false);
    focused->SetFocus();
    focused->Perform(EM_SETSEL, 7, 7);
    Shoot(f, "std_edits.png");
    combo->SetFocus();
    Shoot(f, "std_edits_combo_focused.png");
}

TEST_F(StdGalleryTest, LabelsPanelsBevelsSplitterImage) {
    TForm* f = Stage(330, 170);
    Add<TLabel>(f, 5, 5, 10, 10, "&Label 标签");
    Add<TLabel>(f, 110, 5, 10, 10, "Disabled")->SetEnabled(false);
    auto* wrapped = Add<TLabel>(f, 200, 5, 10, 10);
    wrapped->SetAutoSize(false);
    wrapped->SetBounds(200, 5, 60, 40);
    wrapped->SetWordWrap(true);
    wrapped->SetAlignment(taCenter);
    wrapped->SetLayout(tlCenter);
    wrapped->SetColor(gfx::clWindow);
    wrapped->SetCaption("Centred and wrapped");

    Add<TPanel>(f, 5, 50, 90, 40, "Panel");
    auto* lowered = Add<TPanel>(f, 100, 50, 90, 40, "Disabled");
    lowered->SetBevelOuter(bvLowered);
    lowered->SetBevelInner(bvRaised);
    lowered->SetEnabled(false);
    const std::vector<TBevelShape> shapes{bsBox, bsFrame, bsTopLine, bsLeftLine};
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        auto* b = Add<TBevel>(f, 200 + int(i) * 30, 55, 25, 30);
        b->SetShape(shapes[i]);
        b->SetStyle(i % 2 ? bsRaised : bsLowered);
    }
    auto* host = Add<TPanel>(f, 5, 100, 200, 65);
    host->SetBevelOuter(bvLowered);
    auto* left = Add<TPanel>(host, 0, 0, 60, 10, "Left");
    left->SetAlign(alLeft);
    auto* splitter = Add<TSplitter>(host, 70, 0, 6, 10);
    splitter->SetBeveled(true);
    auto* client = Add<TPanel>(host, 100, 0, 10, 10, "Client");
    client->SetAlign(alClient);

    gfx::TBitmap bitmap;
    bitmap.SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            bitmap.Canvas().SetPixel(x, y, (x + y) % 2 ? gfx::clNavy : gfx::clYellow);
    auto* plain = Add<TImage>(f, 215, 105, 30, 30);
    plain->Picture().SetGraphic(&bitmap);
    auto* stretched = Add<TImage>(f, 255, 105, 60, 60);
    stretched->SetStretch(true);
    stretched->Picture().SetGraphic(&bitmap);
    Shoot(f, "std_labels_panels.png");
}

}  // namespace
}  // namespace vcl::test
