// The skinned labels, the splitter and the bevel on a headless form, with a small skin whose
// colours are known.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panels_test_support.h"
#include "platform/sys/launcher.h"
#include "skin/controls/bevel.h"
#include "skin/controls/link_label.h"
#include "skin/controls/splitter.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"

namespace skin::test {
namespace {

using gfx::TColor;
using gfx::TRect;

constexpr TColor kLabel = 0x0000C0;      // stdlabel font colour
constexpr TColor kActive = 0xC00000;     // stdlabel hot colour
constexpr TColor kHighlight = 0x00E000;  // skin cBtnHighLight
constexpr TColor kShadow = 0xE000E0;     // skin cBtnShadow
constexpr TColor kLight = 0x40FFFF;      // bevel record
constexpr TColor kDark = 0x404000;

std::string LabelSkin() {
    return SkinHead(1, "cbtnhighlight=" + std::to_string(kHighlight) +
                           "\ncbtnshadow=" + std::to_string(kShadow) + "\n") +
           "[SKINCONTROLS]\ncount=4\n0=stdlabel:stdlabel\n1=bevel:bevel\n2=vsplitter:splitter\n"
           "3=hsplitter:splitter\n"
           "[stdlabel]\nfontname=DejaVu Sans\nfontheight=24\nfontstyle=fsbold\nfontcolor=" +
           std::to_string(kLabel) + "\nactivefontcolor=" + std::to_string(kActive) +
           "\n[bevel]\nlightcolor=" + std::to_string(kLight) +
           "\ndarkcolor=" + std::to_string(kDark) +
           "\n[vsplitter]\npictureindex=0\nskinrect=0,0,6,40\nlefttoppoint=0,4\n"
           "leftbottompoint=0,36\n"
           "[hsplitter]\npictureindex=0\nskinrect=10,0,50,6\nlefttoppoint=4,0\n"
           "righttoppoint=36,0\n";
}

class SkinLabels : public vcl::test::TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        Form = ShowForm(0, 0, 400, 300);
        Form->SetColor(gfx::clWhite);
        Data = new TbsSkinData(Form);
    }
    void LoadSkin() {
        std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
        pictures.push_back(Flat(64, 64, 0x303030));
        FillBlock(*pictures[0], {0, 4, 6, 36}, 0x5050A0);
        LoadTestSkin(*Data, LabelSkin(), std::move(pictures));
    }
    void Paint() {
        Form->Repaint();
        Run();
    }
    win::HWND Window() { return Form->Handle(); }
    TRect Ink(vcl::TControl* c, TColor colour) {
        return BoundsOfColour(*this, Window(), c->BoundsRect(), colour);
    }

    vcl::TForm* Form = nullptr;
    TbsSkinData* Data = nullptr;
};

template <class T>
T* Make(vcl::TForm* form, int left, int top) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetLeft(left);
    c->SetTop(top);
    return c;
}

TEST_F(SkinLabels, ADisabledStdLabelDrawsTheHighlightOnePixelDownRightUnderTheShadow) {
    LoadSkin();
    for (bool skinned : {true, false}) {
        SCOPED_TRACE(skinned ? "with the record" : "without a skin");
        auto* label = Make<TbsSkinStdLabel>(Form, 10, 10);
        label->DefaultFont().SetName("DejaVu Sans");
        label->DefaultFont().SetHeight(24);
        label->DefaultFont().SetStyle(gfx::fsBold);
        label->SetCaption("IH");
        if (skinned) label->SetSkinData(Data);
        label->SetEnabled(false);
        Form->SetColor(0x204060);  // neither of the system's emboss colours
        Paint();
        const TColor high = skinned ? kHighlight : gfx::ColorToRGB(gfx::clBtnHighlight);
        const TColor shadow = skinned ? kShadow : gfx::ColorToRGB(gfx::clBtnShadow);
        const TRect h = Ink(label, high), s = Ink(label, shadow);
        ASSERT_FALSE(h.IsEmpty());
        ASSERT_FALSE(s.IsEmpty());
        EXPECT_EQ(h.Right, s.Right + 1);
        EXPECT_EQ(h.Bottom, s.Bottom + 1);
        EXPECT_EQ(Ink(label, kLabel), TRect{});
        label->Free();
        Form->SetColor(gfx::clWhite);
    }
}

TEST_F(SkinLabels, StdLabelFontRules) {
    LoadSkin();
    auto* own = Make<TbsSkinStdLabel>(Form, 10, 10);
    own->Font().SetName("DejaVu Sans");
    own->Font().SetHeight(12);
    own->Font().SetColor(gfx::clGreen);
    own->SetCaption("HHHH");
    own->SetUseSkinFont(false);
    own->SetSkinData(Data);
    auto* skinned = Make<TbsSkinStdLabel>(Form, 10, 60);
    skinned->SetCaption("HHHH");
    skinned->SetSkinData(Data);
    Paint();
    // The label's own face and size, the record's colour.
    EXPECT_FALSE(Ink(own, kLabel).IsEmpty());
    EXPECT_LT(own->Height(), skinned->Height());
    EXPECT_FALSE(Ink(skinned, kLabel).IsEmpty());
    own->SetUseSkinColor(false);
    Paint();
    EXPECT_TRUE(Ink(own, kLabel).IsEmpty());
    EXPECT_FALSE(Ink(own, gfx::clGreen).IsEmpty());
}

TEST_F(SkinLabels, AnEmptyAutoSizeCaptionIsOneLineHigh) {
    auto* empty = Make<TbsSkinStdLabel>(Form, 10, 10);
    auto* one = Make<TbsSkinStdLabel>(Form, 10, 40);
    one->SetCaption("Ag");
    empty->SetCaption("Ag");
    empty->SetCaption("");
    EXPECT_GT(one->Height(), 5);
    EXPECT_EQ(empty->Height(), one->Height());
}

TEST_F(SkinLabels, PathEllipsisKeepsTheFileNameAndShortensTheFolders) {
    const std::string path = "/home/user/视频/2024/十二月/clip_final.mkv";
    auto* label = Make<TbsSkinStdLabel>(Form, 0, 10);
    label->DefaultFont().SetColor(gfx::clBlack);
    label->SetAutoSize(false);
    label->SetBounds(0, 10, 190, 20);
    label->SetCaption(path);
    label->SetEllipsType(bsetPathEllips);
    // What the tail alone looks like, right where the label's text ends.
    auto* tail = Make<TbsSkinStdLabel>(Form, 0, 40);
    tail->DefaultFont().SetColor(gfx::clBlack);
    tail->SetCaption(".../clip_final.mkv");
    Paint();
    const TRect ink = BoundsOfInk(*this, Window(), label->BoundsRect(), gfx::clWhite);
    const TRect tailInk = BoundsOfInk(*this, Window(), tail->BoundsRect(), gfx::clWhite);
    ASSERT_FALSE(ink.IsEmpty());
    ASSERT_FALSE(tailInk.IsEmpty());
    EXPECT_LE(ink.Right, 190);
    const int dx = ink.Right - tailInk.Right;
    EXPECT_GT(dx, 20);  // some folders are left before the dots
    for (int y = 0; y < 20; ++y)
        for (int x = tailInk.Left; x < tailInk.Right; ++x)
            ASSERT_EQ(ClientPixel(Window(), x + dx, 10 + y), ClientPixel(Window(), x, 40 + y))
                << x << "," << y;
    // The end ellipsis loses the file name instead.
    label->SetEllipsType(bsetEndEllips);
    Paint();
    bool same = true;
    for (int y = 0; y < 20 && same; ++y)
        for (int x = tailInk.Left; x < tailInk.Right && same; ++x)
            same = ClientPixel(Window(), x + dx, 10 + y) == ClientPixel(Window(), x, 40 + y);
    EXPECT_FALSE(same);
}

TEST_F(SkinLabels, TextLabelLayoutAndAutoSize) {
    LoadSkin();
    auto* line = Make<TbsSkinTextLabel>(Form, 10, 10);
    line->SetSkinData(Data);
    line->Lines().SetText("One line");
    auto* a = Make<TbsSkinTextLabel>(Form, 200, 0);
    a->SetSkinData(Data);
    const int lineHeight = line->Height();
    EXPECT_GT(lineHeight, 10);
    // Empty lines measure nothing.
    EXPECT_EQ(a->Height(), 0);

    // Two lines at the bottom of a 65-pixel label start 2 lines above its bottom.
    auto* top = Make<TbsSkinTextLabel>(Form, 10, 100);
    auto* bottom = Make<TbsSkinTextLabel>(Form, 200, 100);
    for (auto* l : {top, bottom}) {
        l->SetSkinData(Data);
        l->SetAutoSize(false);
        l->SetBounds(l->Left(), 100, 150, 65);
        l->Lines().SetText("Hg\nHg");
    }
    bottom->SetLayout(vcl::tlBottom);
    Paint();
    const TRect t = Ink(top, kLabel), b = Ink(bottom, kLabel);
    ASSERT_FALSE(t.IsEmpty());
    EXPECT_EQ(b.Top - t.Top, 65 - 2 * lineHeight);

    // A right-aligned label keeps its right edge as it grows.
    auto* right = Make<TbsSkinTextLabel>(Form, 100, 200);
    right->SetAlignment(vcl::taRightJustify);
    right->Lines().SetText("ab");
    const int edge = right->Left() + right->Width();
    right->Lines().SetText("a much longer line");
    EXPECT_EQ(right->Left() + right->Width(), edge);
    EXPECT_LT(right->Left(), 100);
}

TEST_F(SkinLabels, ADisabledTextLabelIsEmbossed) {
    LoadSkin();
    auto* label = Make<TbsSkinTextLabel>(Form, 10, 10);
    label->SetSkinData(Data);
    label->Lines().SetText("IH");
    label->SetEnabled(false);
    Paint();
    const TRect h = Ink(label, kHighlight), s = Ink(label, kShadow);
    ASSERT_FALSE(s.IsEmpty());
    EXPECT_EQ(h.Right, s.Right + 1);
    EXPECT_EQ(h.Bottom, s.Bottom + 1);
}

class LinkLabels : public SkinLabels {
public:
    void SetUp() override {
        SkinLabels::SetUp();
        FPrevious = sys::SetDocumentOpener(
            [this](const std::string& url) { Events.push_back("open " + url); });
    }
    void TearDown() override {
        sys::SetDocumentOpener(FPrevious);
        SkinLabels::TearDown();
    }
    TbsSkinLinkLabel* Link(int left, int top) {
        auto* l = Make<TbsSkinLinkLabel>(Form, left, top);
        l->SetCaption("Moradex");
        l->DefaultFont().SetName("DejaVu Sans");
        l->DefaultFont().SetHeight(20);
        l->DefaultFont().SetColor(kLabel);
        l->SetAutoSize(false);
        l->SetBounds(left, top, 150, 50);
        l->OnClick = [this](vcl::TObject*) { Events.push_back("click"); };
        return l;
    }
    std::vector<std::string> Events;

private:
    sys::TDocumentOpener FPrevious;
};

TEST_F(LinkLabels, TheGlowKeepsItsRoomAboveTheTextWithThePointerAway) {
    auto* plain = Link(10, 10);
    auto* glowing = Link(200, 10);
    glowing->SetGlowEffect(true);
    glowing->SetGlowSize(6);
    Paint();
    const TRect p = Ink(plain, kLabel), g = Ink(glowing, kLabel);
    ASSERT_FALSE(p.IsEmpty());
    EXPECT_EQ(g.Top - p.Top, 6);
}

TEST_F(LinkLabels, HoverColours) {
    auto* label = Link(10, 10);
    Screen->MouseMove(At(label, 20, 10));
    Run();
    Paint();
    EXPECT_TRUE(label->MouseIn());
    EXPECT_FALSE(Ink(label, gfx::clBlue).IsEmpty());
    EXPECT_TRUE(Ink(label, kLabel).IsEmpty());

    // With a record and the glow the text keeps the record's colour and glows in the hot one.
    LoadSkin();
    label->SetSkinData(Data);
    label->SetGlowEffect(true);
    Paint();
    EXPECT_FALSE(Ink(label, kLabel).IsEmpty());
    int glow = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 150; ++x) {
            const TColor c = ClientPixel(Window(), 10 + x, 10 + y);
            // Blended blue over white: blue stays high, red and green drop.
            if ((c >> 16 & 0xFF) > 0xE0 && (c & 0xFF) < 0xE0) ++glow;
        }
    EXPECT_GT(glow, 20);

    Screen->MouseMove({390, 290});
    Run();
    Paint();
    EXPECT_FALSE(label->MouseIn());
}

TEST_F(LinkLabels, AClickRaisesOnClickThenOpensTheUrlOnce) {
    auto* label = Link(10, 10);
    label->SetURL("https://moradex.example/help.html");
    Click(label, 20, 20);
    EXPECT_EQ(Events,
              (std::vector<std::string>{"click", "open https://moradex.example/help.html"}));
    Events.clear();
    label->SetURL("");
    Click(label, 20, 20);
    EXPECT_EQ(Events, (std::vector<std::string>{"click"}));
}

TEST_F(SkinLabels, SplitterSizes) {
    auto* left = new vcl::TPanel(Form);
    left->SetParent(Form);
    left->SetAlign(vcl::alLeft);
    left->SetWidth(100);
    auto* split = new TbsSkinSplitter(Form);
    split->SetParent(Form);
    split->SetLeft(150);
    split->SetAlign(vcl::alLeft);
    split->SetSkinData(nullptr);
    EXPECT_EQ(split->Width(), 10);
    EXPECT_EQ(split->Left(), 100);

    LoadSkin();
    split->SetSkinData(Data);
    EXPECT_EQ(split->Width(), 6);
    Paint();
    EXPECT_EQ(ClientPixel(Window(), 103, 150), 0x5050A0u);
    split->SetTransparent(true);
    split->ChangeSkinData();
    EXPECT_EQ(split->Width(), 10);

    // Dragging it resizes the panel against it.
    Screen->MouseDown(At(split, 5, 50));
    Screen->MouseMove(At(split, 45, 50));
    Screen->MouseUp(At(split, 45, 50));
    Run();
    EXPECT_EQ(left->Width(), 140);
}

TEST_F(SkinLabels, BevelShapesAndTheSkinDataGoingAway) {
    LoadSkin();
    auto* divider = Make<TbsSkinBevel>(Form, 10, 10);
    divider->SetBounds(10, 10, 100, 20);
    divider->SetShape(vcl::bsTopLine);
    divider->SetDividerMode(true);
    divider->SetSkinData(Data);
    auto* spacer = Make<TbsSkinBevel>(Form, 10, 50);
    spacer->SetShape(vcl::bsSpacer);
    spacer->SetSkinData(Data);
    Paint();
    // Lowered: dark on top, light below, 2 pixels in from the ends.
    EXPECT_EQ(ClientPixel(Window(), 10 + 2, 10 + 9), kDark);
    EXPECT_EQ(ClientPixel(Window(), 10 + 50, 10 + 9), kDark);
    EXPECT_EQ(ClientPixel(Window(), 10 + 50, 10 + 10), kLight);
    EXPECT_EQ(ClientPixel(Window(), 10 + 1, 10 + 9), gfx::clWhite);
    EXPECT_EQ(ClientPixel(Window(), 10 + 99, 10 + 10), gfx::clWhite);
    EXPECT_EQ(ClientPixel(Window(), 10 + 50, 10 + 8), gfx::clWhite);
    EXPECT_EQ(ClientPixel(Window(), 10 + 50, 10 + 11), gfx::clWhite);
    EXPECT_EQ(CountColour(*this, Window(), spacer->BoundsRect(), gfx::clWhite),
              spacer->Width() * spacer->Height());

    Data->Free();
    EXPECT_EQ(divider->SkinData(), nullptr);
    EXPECT_EQ(spacer->SkinData(), nullptr);
}

}  // namespace
}  // namespace skin::test
