// The skinned form with the shipped skins: a skin change travels from the skin data through the
// form to every kind of skinned control, and the frame looks as reviewed (a dialog in the
// masked skin, active and inactive, and the default frame).
#include <algorithm>
#include <string>

#include "form_test_support.h"
#include "platform/vcl/ext_ctrls.h"
#include "sheet_test_support.h"
#include "skin/controls/bevel.h"
#include "skin/controls/link_label.h"
#include "skin/controls/page_control.h"
#include "skin/controls/panels.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/splitter.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"
#include "skin/controls/view_wrappers.h"
#include "skin/core/drawing_routines.h"
#include "skin/packages/stored_skins.h"

namespace skin::test {
namespace {

// One of the generated stored skins into `data`, through the skin data's own load (its change
// messages reach every form).
void LoadShipped(TbsSkinData* data, int index) {
    auto* list = new TbsCompressedSkinList(vcl::Application);
    AddStoredSkins(*list, {&ChooserSkinPackages()[std::size_t(index)], 1});
    data->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    list->Free();
    vcl::Application->ProcessMessages();
}

class TFormLooks : public TFormSkinTest {
public:
    // The form's window with a margin round it, as the screen shows it.
    gfx::TImage CaptureWindow(const vcl::TCustomForm* form, int margin) const;
};

gfx::TImage TFormLooks::CaptureWindow(const vcl::TCustomForm* form, int margin) const {
    const gfx::HBITMAP screen = Screen->Compose();
    gfx::TImage image;
    image.Width = form->Width() + 2 * margin;
    image.Height = form->Height() + 2 * margin;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const int sx = form->Left() - margin + x, sy = form->Top() - margin + y;
            const bool inside = sx >= 0 && sy >= 0 && sx < screen->Width() && sy < screen->Height();
            image.Pixels.push_back(
                inside ? screen->Pixels()[std::size_t(sy) * screen->Width() + sx] | 0xFF000000u
                       : 0xFF000000u);
        }
    return image;
}

TEST_F(TFormLooks, ASkinChangeReachesEveryKindOfSkinnedControl) {
    vcl::TForm* form = MakeForm(500, 400);
    auto* data = new TbsSkinData(form);
    auto* other = new TbsSkinData(form);
    auto* sf = new TbsSkinForm(form);
    sf->SetSkinData(data);
    auto* panel = new TbsSkinPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    auto* button = new TbsSkinButton(form);
    button->SetParent(panel);
    auto* std = new TbsSkinStdLabel(form);
    std->SetParent(panel);
    auto* link = new TbsSkinLinkLabel(form);
    link->SetParent(form);
    auto* text = new TbsSkinTextLabel(form);
    text->SetParent(form);
    auto* bevel = new TbsSkinBevel(form);
    bevel->SetParent(form);
    auto* splitter = new TbsSkinSplitter(form);
    splitter->SetParent(form);
    auto* tree = new TbsSkinTreeView(form);
    tree->SetParent(form);
    auto* list = new TbsSkinListView(form);
    list->SetParent(form);
    auto* pages = new TbsSkinPageControl(form);
    pages->SetParent(form);
    // Bound to the other skin data: it follows that one only.
    auto* stranger = new TbsSkinButton(form);
    stranger->SetParent(form);
    stranger->SetSkinData(other);
    panel->SetSkinData(data);
    button->SetSkinData(data);
    std->SetSkinData(data);
    link->SetSkinData(data);
    text->SetSkinData(data);
    bevel->SetSkinData(data);
    splitter->SetSkinData(data);
    tree->SetSkinData(data);
    list->SetSkinData(data);
    pages->SetSkinData(data);
    Run();
    ASSERT_EQ(panel->FIndex, -1);

    LoadShipped(data, 0);
    EXPECT_TRUE(sf->FSkinSupport);
    EXPECT_FALSE(sf->ObjectList.empty());
    struct TSeenIndex {
        const char* Kind;
        int Index;
        std::string Name;
    };
    const TSeenIndex seen[] = {
        {"panel", panel->FIndex, panel->SkinDataName()},
        {"button", button->FIndex, button->SkinDataName()},
        {"std label", std->FIndex, std->SkinDataName()},
        {"link label", link->FIndex, link->SkinDataName()},
        {"text label", text->FIndex, text->SkinDataName()},
        {"bevel", bevel->FIndex, bevel->SkinDataName()},
        {"splitter", splitter->FIndex, splitter->SkinDataName()},
        {"tree view", tree->FIndex, tree->SkinDataName()},
        {"list view", list->FIndex, list->SkinDataName()},
        {"page control", pages->FIndex, pages->SkinDataName()},
    };
    int found = 0;
    for (const TSeenIndex& s : seen) {
        EXPECT_EQ(s.Index, data->GetControlIndex(s.Name)) << s.Kind;
        found += s.Index != -1;
    }
    EXPECT_GE(found, 5) << "the first-start skin has records for most of them";
    EXPECT_EQ(stranger->FIndex, -1);

    // A second skin: the frame is rebuilt from it, the controls look up again.
    LoadShipped(data, 2);
    EXPECT_TRUE(sf->FSkinSupport);
    EXPECT_FALSE(sf->ObjectList.empty());
    EXPECT_TRUE(sf->FRgn.has_value());
    EXPECT_EQ(panel->FIndex, data->GetControlIndex(panel->SkinDataName()));
    EXPECT_EQ(tree->FIndex, data->GetControlIndex(tree->SkinDataName()));
    EXPECT_EQ(sf->FFormWidth, form->Width());
}

// A dialog wider than the frame picture: in every shipped skin the caption object stretches
// with the form, so a caption the picture's width would cut shows whole, drawn without "...".
TEST_F(TFormLooks, ACaptionStretchesWithAWideDialogInEveryShippedSkin) {
    const std::string title = "Moradex 选项";
    const auto packages = ChooserSkinPackages();
    int checked = 0;
    for (std::size_t i = 0; i < packages.size(); ++i) {
        SCOPED_TRACE(std::string(packages[i].Name));
        vcl::TForm* form = MakeForm(380, 260, "D" + std::to_string(i));
        form->SetCaption(title);
        auto* data = new TbsSkinData(form);
        auto* sf = new TbsSkinForm(form);
        sf->SetSkinData(data);
        LoadShipped(data, int(i));
        Run();
        TbsSkinCaptionObject* caption = nullptr;
        for (auto& o : sf->ObjectList)
            if ((caption = dynamic_cast<TbsSkinCaptionObject*>(o.get()))) break;
        if (!caption) {
            form->Free();
            continue;
        }
        ++checked;
        const int dx = form->Width() - data->FPicture->Width();
        ASSERT_GT(dx, 0);
        // The caption's right end follows the form; its left end makes room for the
        // system-menu button that the form lays out there.
        int shift = 0;
        for (auto& o : sf->ObjectList)
            if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o.get()))
                if (b->Command == cmSysMenu && b->Visible && b->SkinRectInAPicture) {
                    EXPECT_EQ(caption->ObjectRect.Left, b->ObjectRect.Right);
                    shift = caption->ObjectRect.Left - caption->SkinRect.Left;
                }
        EXPECT_EQ(caption->ObjectRect.Right, caption->SkinRect.Right + dx);
        EXPECT_EQ(caption->ObjectRect.Width(), caption->SkinRect.Width() + dx - shift);
        const gfx::TRect tr = caption->TextRectNow();
        EXPECT_EQ(tr.Width(), caption->TextRct.Width() + dx - shift);
        // What the caption draws: the title as it stands, whole, inside the caption object.
        auto measure = SolidPicture(1, 1, gfx::clWhite);
        measure->Canvas().Font().SetName(caption->FontName);
        measure->Canvas().Font().SetHeight(caption->FontHeight);
        measure->Canvas().Font().SetStyle(caption->FontStyle);
        std::string shown = title;
        EllipsizeWideText(measure->Canvas(), shown, tr.Width());
        EXPECT_EQ(shown, title);
        // On a ground unlike the text's colour, so the text's columns show.
        const gfx::TColor ground = (caption->ActiveFontColor & 0xFFFFFF) ^ 0xFFFFFF;
        auto frame = SolidPicture(form->Width(), form->Height(), ground);
        caption->Draw(frame->Canvas(), true);
        int inkLeft = 1 << 30, inkRight = -1;
        for (int y = caption->ObjectRect.Top; y < caption->ObjectRect.Bottom; ++y)
            for (int x = caption->ObjectRect.Left; x < caption->ObjectRect.Right; ++x)
                if ((frame->Canvas().Pixel(x, y) & 0xFFFFFF) != ground) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x + 1);
                }
        EXPECT_GE(inkRight - inkLeft, WideTextWidthOf(measure->Canvas(), title) - 3);
        form->Free();
    }
    EXPECT_EQ(checked, int(packages.size())) << "every chooser skin has a caption record";
}

TEST_F(TFormLooks, ADialogInTheMaskedSkinAndTheDefaultFrame) {
    // Dialog-sized, with the masked skin (its cut corners show the screen behind).
    vcl::TForm* form = MakeForm(380, 260);
    form->SetCaption("选项");
    auto* data = new TbsSkinData(form);
    auto* sf = new TbsSkinForm(form);
    sf->SetSkinData(data);
    LoadShipped(data, 2);
    Run();
    TSheet sheet;
    sheet.Add(0, 0, CaptureWindow(form, 6));
    vcl::TForm* other = MakeForm(60, 40, "G");
    other->SetBounds(1200, 740, 60, 40);
    Run();
    ASSERT_FALSE(sf->GetFormActive());
    sheet.Add(0, 1, CaptureWindow(form, 6));
    ExpectSheetMatches(sheet.Compose(), "form_masked_skin");
    other->Free();
    Run();

    // The default frame: a short caption between its stripes, active and inactive, and a
    // caption too long for the space, ending in "...".
    form->Hide();
    vcl::TForm* plain = MakeForm(300, 120, "P");
    plain->SetCaption("默认框架");
    new TbsSkinForm(plain);
    vcl::TForm* longer = MakeForm(300, 120, "L");
    longer->SetBounds(100, 300, 300, 120);
    longer->SetCaption("A caption far too long to fit between the caption buttons");
    new TbsSkinForm(longer);
    plain->SetFocus();
    Run();
    TSheet defaults;
    defaults.Add(0, 0, CaptureWindow(plain, 6));
    defaults.Add(1, 0, CaptureWindow(longer, 6));
    vcl::TForm* third = MakeForm(60, 40, "T");
    third->SetBounds(1200, 740, 60, 40);
    Run();
    ASSERT_FALSE(plain->Active());
    defaults.Add(0, 1, CaptureWindow(plain, 6));
    defaults.Add(1, 1, CaptureWindow(longer, 6));
    ExpectSheetMatches(defaults.Compose(), "form_default_frame");
}

}  // namespace
}  // namespace skin::test
