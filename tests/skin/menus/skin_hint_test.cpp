// The skinned hint on a headless screen with a manual clock: its sizes and places in the default
// look and with skins built in code, the delayed own hints, which component is in charge, the
// application's hints through it, and screenshots of each look.
#include "skin/menus/skin_hint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"
#include "skin/packages/stored_skins.h"

namespace skin {
namespace {

using gfx::TColor;
using gfx::TSize;

gfx::TColor Rgb(TColor c) {
    return gfx::ColorToRGB(c) & 0xFFFFFF;
}

std::unique_ptr<gfx::TBitmap> Filled(int w, int h, TColor color) {
    auto b = std::make_unique<gfx::TBitmap>();
    b->SetPixelFormat(gfx::pf24bit);
    b->SetSize(w, h);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect({0, 0, w, h});
    return b;
}

// Corner points at the corners of `corners`, and the client rectangle.
void Geometry(TbsDataSkinHintWindow& rec, const TRect& corners, const TRect& client) {
    rec.LTPoint = {corners.Left, corners.Top};
    rec.RTPoint = {corners.Right, corners.Top};
    rec.LBPoint = {corners.Left, corners.Bottom};
    rec.RBPoint = {corners.Right, corners.Bottom};
    rec.ClRect = client;
}

// The font of the masked skin's record.
gfx::TFont MaskedSkinFont() {
    gfx::TFont font;
    font.SetName("Arial");
    font.SetHeight(14);
    return font;
}

class SkinHintTest : public vcl::test::TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        vcl::Application->CreateForm(main);
        main->SetName("Main");
        main->SetBounds(20, 20, 320, 220);
        main->Show();
        Run();
        hint = new TbsSkinHint(main);
        hint->SetName("Hint1");
    }
    void TearDown() override {
        vcl::HintWindowClass = vcl::HintWindowClassOf<vcl::THintWindow>();
        TVclTest::TearDown();
    }

    // What the hint's text measures in a font, as the window measures it.
    static TSize Extent(const gfx::TFont& font, const std::string& text) {
        gfx::TBitmap b;
        b.SetSize(1, 1);
        b.Canvas().Font().Assign(font);
        TRect r{0, 0, 0, 0};
        b.Canvas().DrawText(text, r, gfx::DT_CALCRECT);
        return {r.Width(), r.Height()};
    }
    TSize Extent(const std::string& text) const { return Extent(hint->DefaultFont(), text); }

    TRect Shown() const { return hint->HW->BoundsRect(); }

    // The screen under a rectangle, as a person would see it.
    gfx::TSurface Crop(const TRect& r) const {
        gfx::HBITMAP screen = Screen->Compose();
        gfx::TSurface out(r.Width(), r.Height(), 32);
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x)
                out.Pixels()[std::size_t(y) * r.Width() + x] =
                    screen->Pixels()[std::size_t(r.Top + y) * screen->Width() + r.Left + x];
        return out;
    }
    TColor HintPixel(int x, int y) const { return ScreenPixel(Shown().Left + x, Shown().Top + y); }

    // A skin data of the main form holding only a hint record and its pictures.
    TbsSkinData* SkinWith(std::unique_ptr<gfx::TBitmap> picture,
                          std::unique_ptr<gfx::TBitmap> mask = nullptr) {
        auto* sd = new TbsSkinData(main);
        sd->FActivePictures.push_back(std::move(picture));
        TbsDataSkinHintWindow& rec = sd->HintWindow;
        rec.WindowPictureIndex = 0;
        if (mask) {
            sd->FActivePictures.push_back(std::move(mask));
            rec.MaskPictureIndex = 1;
        }
        sd->Empty = false;
        return sd;
    }

    // The masked look: a cream face in a two-pixel navy frame, corners cut off by the mask.
    TbsSkinData* MaskedSkin() {
        auto face = Filled(40, 28, gfx::RGB(0xFF, 0xF4, 0xD0));
        face->Canvas().Brush().SetColor(gfx::clNavy);
        face->Canvas().FrameRect({0, 0, 40, 28});
        face->Canvas().FrameRect({1, 1, 39, 27});
        auto mask = Filled(40, 28, gfx::clBlack);
        for (int y = 0; y < 28; ++y)
            for (int x = 0; x < 40; ++x) {
                const int cx = std::min(x, 39 - x), cy = std::min(y, 27 - y);
                if (cx + cy < 4) mask->Canvas().SetPixel(x, y, gfx::clWhite);
            }
        TbsSkinData* sd = SkinWith(std::move(face), std::move(mask));
        TbsDataSkinHintWindow& rec = sd->HintWindow;
        Geometry(rec, {6, 6, 34, 22}, {6, 6, 34, 22});
        rec.FontName = "Arial";
        rec.FontHeight = 14;
        rec.FontColor = gfx::clNavy;
        rec.LeftStretch = rec.TopStretch = rec.RightStretch = rec.BottomStretch = true;
        rec.StretchEffect = true;
        return sd;
    }

    // The skin a first start loads: stored skin 0.
    TbsSkinData* FirstStartSkin() {
        auto* list = new TbsCompressedSkinList(main);
        AddStoredSkins(*list, ChooserSkinPackages().first(1));
        auto* sd = new TbsSkinData(main);
        sd->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
        return sd;
    }

    vcl::TCustomImageList* Images() {
        auto* images = new vcl::TCustomImageList(main, 16, 16);
        auto picture = Filled(16, 16, gfx::RGB(0x20, 0x90, 0x30));
        picture->Canvas().Brush().SetColor(gfx::RGB(0xF0, 0xC0, 0x20));
        picture->Canvas().FillRect({4, 4, 12, 12});
        images->Add(picture.get(), nullptr);
        return images;
    }

    vcl::TForm* main = nullptr;
    TbsSkinHint* hint = nullptr;
};

TEST_F(SkinHintTest, TheSeparatorBreaksLinesInOnePass) {
    struct TCase {
        std::string Separator, Text, Lines;
    };
    const std::vector<TCase> cases = {
        {"@", "play@pause", "play\npause"},
        {"@", "a@@b@", "a\n\nb\n"},
        {"", "play@pause", "play@pause"},
        {"--", "one--two", "one\ntwo"},
        // A separator holding a line break is not found again in what replaced it.
        {"\n", "a\nb", "a\nb"},
        {"@\n", "x@\ny", "x\ny"},
    };
    for (const TCase& c : cases) {
        hint->SetLineSeparator(c.Separator);
        EXPECT_EQ(hint->HintLines(c.Text), c.Lines) << "separator \"" << c.Separator << "\"";
    }
    hint->SetLineSeparator("@");
    hint->ActivateHint({100, 100}, "play@pause");
    const TSize one = Extent("play"), two = Extent("play\npause");
    EXPECT_EQ(two.cy, 2 * one.cy);
    EXPECT_EQ(Shown().Height(), two.cy + 4);
}

TEST_F(SkinHintTest, TheDefaultLookIsAnInfoBoxFramedInShadow) {
    hint->ActivateHint({100, 100}, "play@pause");
    Run();
    const TSize text = Extent("play\npause");
    EXPECT_EQ(Shown(), (TRect{100, 100, 100 + text.cx + 4, 100 + text.cy + 4}));
    ASSERT_TRUE(hint->IsVisible());
    const win::TTopLevelState* state = Screen->Find(hint->HW->Handle());
    ASSERT_TRUE(state);
    EXPECT_TRUE(state->Shown);
    EXPECT_TRUE(state->NoActivate);
    EXPECT_TRUE(state->Topmost);
    EXPECT_FALSE(state->Region);
    const int W = Shown().Width(), H = Shown().Height();
    for (const TPoint p : {TPoint{0, 0}, TPoint{W - 1, 0}, TPoint{0, H - 1}, TPoint{W - 1, H - 1},
                           TPoint{W / 2, 0}, TPoint{0, H / 2}})
        EXPECT_EQ(HintPixel(p.X, p.Y), Rgb(gfx::clBtnShadow)) << p.X << "," << p.Y;
    EXPECT_EQ(HintPixel(1, 1), Rgb(gfx::clInfoBk));
    EXPECT_EQ(HintPixel(W - 2, H - 2), Rgb(gfx::clInfoBk));
    vcl::test::ExpectLooksLike(Crop({96, 96, 104 + W, 104 + H}), "hint_default.png");
}

TEST_F(SkinHintTest, PastTheWorkAreaItMovesToTheOtherSide) {
    const TSize text = Extent("Convert");
    const int W = text.cx + 4, H = text.cy + 4;
    struct TCase {
        TPoint At;
        TPoint Expected;
    };
    // The work area is 1280 x 760.
    const std::vector<TCase> cases = {
        {{1250, 100}, {1250 - W - 2, 100}},         {{1280 - W, 100}, {1280 - W, 100}},
        {{100, 750}, {100, 750 - H - 2}},           {{100, 760 - H}, {100, 760 - H}},
        {{1279, 759}, {1279 - W - 2, 759 - H - 2}},
    };
    for (const TCase& c : cases) {
        hint->ActivateHint(c.At, "Convert");
        EXPECT_EQ(Shown(), (TRect{c.Expected.X, c.Expected.Y, c.Expected.X + W, c.Expected.Y + H}))
            << c.At.X << "," << c.At.Y;
    }
}

TEST_F(SkinHintTest, ADelayedHintShowsBelowTheCursorAfterThePauseAndGoes) {
    Screen->MouseMove({400, 300});
    Run();
    hint->ActivateHint2("Convert");
    AdvanceMs(vcl::Application->HintPause - 1);
    Run();
    EXPECT_FALSE(hint->IsVisible());
    AdvanceMs(1);
    Run();
    ASSERT_TRUE(hint->IsVisible());
    // The arrow reaches 19 pixels below its hot spot.
    EXPECT_EQ(hint->GetCursorHeightMargin(), 19);
    EXPECT_EQ(Shown().Left, 400);
    EXPECT_EQ(Shown().Top, 319);
    EXPECT_EQ(hint->HW->Caption(), "Convert");
    AdvanceMs(vcl::Application->HintHidePause - 1);
    Run();
    EXPECT_TRUE(hint->IsVisible());
    AdvanceMs(1);
    Run();
    EXPECT_FALSE(hint->IsVisible());
    EXPECT_FALSE(win::IsWindowVisible(hint->HW->Handle()));
}

TEST_F(SkinHintTest, HideHintCancelsAPendingHintAndANewRequestStartsOver) {
    hint->ActivateHint2("first");
    AdvanceMs(300);
    Run();
    hint->HideHint();
    AdvanceMs(1000);
    Run();
    EXPECT_FALSE(hint->IsVisible());

    hint->ActivateHint2("first");
    AdvanceMs(300);
    Run();
    hint->ActivateHint2("second");
    AdvanceMs(300);
    Run();
    EXPECT_FALSE(hint->IsVisible());
    AdvanceMs(200);
    Run();
    ASSERT_TRUE(hint->IsVisible());
    EXPECT_EQ(hint->HW->Caption(), "second");
    // Shown, then hidden by hand: the showing time runs out on nothing.
    hint->HideHint();
    AdvanceMs(5000);
    Run();
    EXPECT_FALSE(hint->IsVisible());
}

TEST_F(SkinHintTest, TheCursorMarginComesFromTheCursorMasks) {
    struct TCase {
        win::HCURSOR Cursor;
        int Margin;
    };
    // The cross shapes are 17 rows with the hot spot on row 8; an unknown shape counts as a
    // whole standard cursor.
    const std::vector<TCase> cases = {
        {win::IDC_ARROW, 19}, {win::IDC_IBEAM, 9}, {win::IDC_SIZEALL, 9}, {12345, 32}};
    for (const TCase& c : cases) {
        win::SetCursor(c.Cursor);
        EXPECT_EQ(hint->GetCursorHeightMargin(), c.Margin) << c.Cursor;
    }
    win::SetCursor(win::IDC_ARROW);
}

TEST_F(SkinHintTest, AHintFromARectangleIsCentredBelowOrAbove) {
    const TSize text = Extent("Convert");
    const int W = text.cx + 4, H = text.cy + 4;
    for (const bool top : {false, true}) {
        hint->ActivateHint3({200, 300, 301, 340}, "Convert", top);
        AdvanceMs(vcl::Application->HintPause);
        Run();
        ASSERT_TRUE(hint->IsVisible());
        EXPECT_EQ(Shown().Left, 250 - W / 2);
        EXPECT_EQ(Shown().Top, top ? 300 - H : 340);
        hint->HideHint();
    }
}

TEST_F(SkinHintTest, TitleAndImageSizeTheDefaultLook) {
    vcl::TCustomImageList* images = Images();
    const TSize text = Extent("play\npause"), title = Extent("Convert all");
    struct TCase {
        std::string Title;
        int Index;
        int Width, Height;
    };
    const int iw = 16, ih = 16;
    const std::vector<TCase> cases = {
        {"Convert all", 0, std::max(text.cx, title.cx) + iw + 10 + 4,
         std::max(text.cy + title.cy + 10, ih + title.cy + 5) + 4},
        {"Convert all", 5, std::max(text.cx, title.cx) + 4, text.cy + title.cy + 10 + 4},
        {"Convert all", -1, std::max(text.cx, title.cx) + 4, text.cy + title.cy + 10 + 4},
        {"", 0, text.cx + iw + 10 + 4, std::max(text.cy, ih + 5) + 4},
    };
    for (const TCase& c : cases) {
        hint->ActivateHintEx({100, 100}, c.Title, "play@pause", c.Index, images);
        EXPECT_TRUE(hint->HW->AExtendedStyle);
        EXPECT_EQ(Shown().Width(), c.Width) << c.Title << " " << c.Index;
        EXPECT_EQ(Shown().Height(), c.Height) << c.Title << " " << c.Index;
    }
    // The title in bold above, the picture at the left below it, the text beside the picture.
    hint->ActivateHintEx({100, 100}, "Convert all", "play@pause", 0, images);
    Run();
    EXPECT_EQ(HintPixel(2 + 8, title.cy + 5 + 8), gfx::RGB(0xF0, 0xC0, 0x20));
    vcl::test::ExpectLooksLike(Crop({96, 96, 104 + Shown().Width(), 104 + Shown().Height()}),
                               "hint_default_title.png");
}

TEST_F(SkinHintTest, ActivatingOneHintComponentDeactivatesTheOther) {
    auto* second = new TbsSkinHint(main);
    EXPECT_EQ(TbsSkinHint::InCharge(), hint);
    second->SetActive(true);
    EXPECT_FALSE(hint->Active());
    EXPECT_EQ(TbsSkinHint::InCharge(), second);
    hint->SetActive(true);
    EXPECT_FALSE(second->Active());
    EXPECT_EQ(TbsSkinHint::InCharge(), hint);
    hint->SetActive(false);
    EXPECT_EQ(TbsSkinHint::InCharge(), nullptr);
    // Nobody in charge: a request shows nothing.
    hint->ActivateHint({100, 100}, "Convert");
    EXPECT_FALSE(hint->IsVisible());
}

class SkinHintAppTest : public SkinHintTest {
public:
    void SetUp() override {
        SkinHintTest::SetUp();
        target = new vcl::TCustomControl(main);
        target->SetName("Target");
        target->SetParent(main);
        target->SetBounds(20, 20, 100, 50);
        target->SetHint("play@pause");
        target->SetShowHint(true);
        Run();
    }
    // Rests the pointer on the target until the application's hint is due.
    void Hover(int x) {
        Screen->MouseMove(At(main, 200, 150));
        Run();
        Screen->MouseMove(At(target, x, 10));
        Run();
        AdvanceMs(vcl::Application->HintPause);
        Run();
    }
    bool AppHintShowing() const {
        vcl::THintWindow* w = vcl::Application->HintWindow();
        return w && w->HandleAllocated() && win::IsWindowVisible(w->Handle());
    }
    vcl::TCustomControl* target = nullptr;
};

TEST_F(SkinHintAppTest, ApplicationHintsAreDrawnByTheSkinnedWindow) {
    std::vector<std::string> heard;
    hint->OnShowHint = [&](std::string& text, bool&, vcl::THintInfo& info) {
        heard.push_back(text + " for " + info.HintControl->Name());
    };
    auto* window = dynamic_cast<TbsSkinHintWindow*>(vcl::Application->HintWindow());
    ASSERT_TRUE(window);
    EXPECT_EQ(vcl::Application->HintShortPause, 100);
    Hover(10);
    ASSERT_TRUE(AppHintShowing());
    EXPECT_EQ(heard, (std::vector<std::string>{"play@pause for Target"}));
    const TPoint cursor = At(target, 10, 10);
    const TSize text = Extent("play\npause");
    EXPECT_EQ(window->BoundsRect(), (TRect{cursor.X, cursor.Y + 19, cursor.X + text.cx + 4,
                                           cursor.Y + 19 + text.cy + 4}));
    EXPECT_EQ(window->Caption(), "play\npause");
    EXPECT_FALSE(window->AExtendedStyle);
}

TEST_F(SkinHintAppTest, WithNoComponentInChargeApplicationHintsShowNothing) {
    hint->SetActive(false);
    Hover(10);
    EXPECT_FALSE(AppHintShowing());
    hint->SetActive(true);
    Hover(12);
    EXPECT_TRUE(AppHintShowing());
    // A freed component leaves its handler behind in Application; it must do nothing.
    vcl::Application->CancelHint();
    hint->Free();
    hint = nullptr;
    Hover(14);
    EXPECT_FALSE(AppHintShowing());
}

// A skinned control's hint title and image, windowed or not, reach the application's hint.
TEST_F(SkinHintAppTest, ASkinnedControlGivesItsTitleAndImage) {
    vcl::TCustomImageList* images = Images();
    auto* windowed = new TbsSkinControl(main);
    auto* windowless = new TbsGraphicSkinControl(main);
    const std::vector<std::pair<vcl::TControl*, std::string>> controls = {
        {windowed, "windowed"}, {windowless, "windowless"}};
    for (const auto& [control, kind] : controls) {
        control->SetParent(main);
        control->SetBounds(150, 20, 100, 50);
        control->SetHint("play@pause");
        control->SetShowHint(true);
    }
    windowed->SetHintTitle("Convert all");
    windowed->SetHintImageList(images);
    windowless->SetHintTitle("Convert all");
    windowless->SetHintImageList(images);
    auto* window = dynamic_cast<TbsSkinHintWindow*>(vcl::Application->HintWindow());
    ASSERT_TRUE(window);
    // The same hint through the component's own window, to compare with.
    hint->ActivateHintEx({600, 400}, "Convert all", "play@pause", 0, images);
    Run();
    const gfx::HBITMAP expected = Screen->CaptureWindow(hint->HW->Handle());
    const TSize titled = {hint->HW->Width(), hint->HW->Height()};
    hint->ActivateHintEx({600, 400}, "Convert all", "play@pause", 5, images);
    const TSize withoutImage = {hint->HW->Width(), hint->HW->Height()};
    hint->HideHint();
    ASSERT_NE(titled, withoutImage);

    for (const auto& [control, kind] : controls) {
        windowless->SetVisible(control == windowless);
        windowed->SetVisible(control == windowed);
        for (const int index : {0, 5}) {
            SCOPED_TRACE(kind + " image " + std::to_string(index));
            windowed->SetHintImageIndex(index);
            windowless->SetHintImageIndex(index);
            vcl::Application->CancelHint();
            Screen->MouseMove(At(main, 200, 150));
            Run();
            Screen->MouseMove(At(control, 10 + index, 10));
            Run();
            AdvanceMs(vcl::Application->HintPause);
            Run();
            ASSERT_TRUE(AppHintShowing());
            EXPECT_TRUE(window->AExtendedStyle);
            EXPECT_EQ(hint->FHintTitle, "Convert all");
            EXPECT_EQ((TSize{window->Width(), window->Height()}),
                      index == 0 ? titled : withoutImage);
            if (index != 0) continue;
            const gfx::HBITMAP shown = Screen->CaptureWindow(window->Handle());
            ASSERT_EQ(shown->Width(), expected->Width());
            ASSERT_EQ(shown->Height(), expected->Height());
            EXPECT_TRUE(std::equal(shown->Pixels(),
                                   shown->Pixels() + std::size_t(shown->Width()) * shown->Height(),
                                   expected->Pixels()));
        }
    }
    // A plain control after a skinned one: no title, no image.
    vcl::Application->CancelHint();
    Hover(10);
    ASSERT_TRUE(AppHintShowing());
    EXPECT_FALSE(window->AExtendedStyle);
    EXPECT_EQ(hint->FHintImageList, nullptr);
}

TEST_F(SkinHintTest, TheComponentForgetsASkinDataThatGoes) {
    auto* sd = new TbsSkinData(nullptr);
    hint->SetSkinData(sd);
    EXPECT_EQ(hint->SkinData(), sd);
    sd->Free();
    EXPECT_EQ(hint->SkinData(), nullptr);
    // The same for the image list of a title hint waiting for its pause.
    auto* images = new vcl::TCustomImageList(nullptr, 16, 16);
    hint->ActivateHintEx2("Title", "text", 0, images);
    images->Free();
    EXPECT_EQ(hint->FHintImageList, nullptr);
    AdvanceMs(vcl::Application->HintPause);
    Run();
    EXPECT_TRUE(hint->IsVisible());
}

TEST_F(SkinHintTest, AnEmptySkinOrOneWithoutAHintPictureGivesTheDefaultLook) {
    TbsSkinData* sd = MaskedSkin();
    hint->SetSkinData(sd);
    EXPECT_EQ(hint->HintSkinData(), sd);
    sd->HintWindow.WindowPictureIndex = 7;  // no such picture
    EXPECT_EQ(hint->HintSkinData(), nullptr);
    sd->HintWindow.WindowPictureIndex = 0;
    sd->Empty = true;
    EXPECT_EQ(hint->HintSkinData(), nullptr);
    hint->ActivateHint({100, 100}, "Convert");
    const TSize text = Extent("Convert");
    EXPECT_EQ(Shown().Width(), text.cx + 4);
}

TEST_F(SkinHintTest, AMaskedSkinShapesAndSizesTheWindow) {
    TbsSkinData* sd = MaskedSkin();
    hint->SetSkinData(sd);
    hint->ActivateHint({900, 500}, "play@pause");
    Run();
    const TSize text = Extent(MaskedSkinFont(), "play\npause");
    // Margins of the picture outside its client rectangle, and 5 pixels of air across.
    const int W = text.cx + 6 + 40 - 34 + 5, H = text.cy + 6 + 28 - 22;
    EXPECT_EQ(Shown(), (TRect{900, 500, 900 + W, 500 + H}));
    TbsSkinHintWindow& w = *hint->HW;
    EXPECT_EQ(w.NewClRect, (TRect{6, 6, 34 + W - 40, 22 + H - 28}));
    EXPECT_EQ(w.NewRBPoint, (TPoint{34 + W - 40, 22 + H - 28}));
    const win::TTopLevelState* state = Screen->Find(w.Handle());
    ASSERT_TRUE(state && state->Region);
    // The desktop shows through a cut corner; the frame and the face inside it.
    EXPECT_EQ(ScreenPixel(900, 500), Rgb(gfx::clBlack));
    EXPECT_EQ(ScreenPixel(900 + W - 1, 500 + H - 1), Rgb(gfx::clBlack));
    EXPECT_EQ(HintPixel(4, 0), Rgb(gfx::clNavy));
    EXPECT_EQ(HintPixel(3, 3), gfx::RGB(0xFF, 0xF4, 0xD0));
    vcl::test::ExpectLooksLike(Crop({896, 496, 904 + W, 504 + H}), "hint_masked.png");

    // A skin without a mask takes the region away again.
    sd->HintWindow.MaskPictureIndex = -1;
    hint->ActivateHint({900, 500}, "play@pause");
    state = Screen->Find(w.Handle());
    ASSERT_TRUE(state);
    EXPECT_FALSE(state->Region);
}

TEST_F(SkinHintTest, ASmallTextNeverMakesTheCornerPointsCross) {
    // Client rectangle wider and taller than the span between the corner points: a short text
    // would pull the right and bottom points past the left and top ones.
    TbsSkinData* sd = MaskedSkin();
    Geometry(sd->HintWindow, {14, 10, 26, 16}, {2, 2, 38, 26});
    hint->SetSkinData(sd);
    const gfx::TFont font = MaskedSkinFont();
    for (const std::string text : {"i", "Convert", "play@pause@stop@and the rest"}) {
        hint->ActivateHint({100, 100}, text);
        const TbsSkinHintWindow& w = *hint->HW;
        EXPECT_GE(w.NewRTPoint.X, w.NewLTPoint.X) << text;
        EXPECT_GE(w.NewRBPoint.X, w.NewLBPoint.X) << text;
        EXPECT_GE(w.NewLBPoint.Y, w.NewLTPoint.Y) << text;
        EXPECT_GE(w.NewRBPoint.Y, w.NewRTPoint.Y) << text;
        const TSize size = Extent(font, hint->HintLines(text));
        const int W = size.cx + 2 + 40 - 38 + 5, H = size.cy + 2 + 28 - 26;
        // Grown by exactly what the points would have crossed by.
        EXPECT_EQ(Shown().Width(), std::max(W, 40 - (26 - 14))) << text;
        EXPECT_EQ(Shown().Height(), std::max(H, 28 - (16 - 10))) << text;
    }
}

TEST_F(SkinHintTest, TheFirstStartSkinDrawsTheHint) {
    TbsSkinData* sd = FirstStartSkin();
    ASSERT_FALSE(sd->Empty);
    ASSERT_NE(sd->HintWindow.WindowPictureIndex, -1);
    hint->SetSkinData(sd);
    hint->ActivateHint({900, 500}, "play@pause");
    Run();
    const TRect r = Shown();
    vcl::test::ExpectLooksLike(Crop({r.Left - 4, r.Top - 4, r.Right + 4, r.Bottom + 4}),
                               "hint_skin0.png");
    hint->ActivateHintEx({900, 500}, "Convert all", "play@pause", 0, Images());
    Run();
    const TRect t = Shown();
    vcl::test::ExpectLooksLike(Crop({t.Left - 4, t.Top - 4, t.Right + 4, t.Bottom + 4}),
                               "hint_skin0_title.png");
}

TEST_F(SkinHintTest, AlphaBlendMakesTheWindowLayered) {
    hint->SetAlphaBlend(true);
    hint->SetAlphaBlendValue(200);
    hint->ActivateHint({100, 100}, "Convert");
    const win::TTopLevelState* state = Screen->Find(hint->HW->Handle());
    ASSERT_TRUE(state);
    EXPECT_EQ(state->Layer, win::TLayerMode::Attributes);
    EXPECT_EQ(state->ConstantAlpha, 200);
    // The fade ends at the value whatever the clock does.
    hint->SetAlphaBlendValue(150);
    hint->SetAlphaBlendAnimation(true);
    hint->ActivateHint({100, 100}, "Convert");
    state = Screen->Find(hint->HW->Handle());
    EXPECT_EQ(state->ConstantAlpha, 150);
    hint->SetAlphaBlend(false);
    hint->ActivateHint({100, 100}, "Convert");
    state = Screen->Find(hint->HW->Handle());
    EXPECT_EQ(state->Layer, win::TLayerMode::None);
    // Back on after off: the value is applied again.
    hint->SetAlphaBlend(true);
    hint->SetAlphaBlendAnimation(false);
    hint->ActivateHint({100, 100}, "Convert");
    state = Screen->Find(hint->HW->Handle());
    EXPECT_EQ(state->Layer, win::TLayerMode::Attributes);
    EXPECT_EQ(state->ConstantAlpha, 150);
}

}  // namespace
}  // namespace skin
