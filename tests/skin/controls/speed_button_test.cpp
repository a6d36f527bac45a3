// The speed button and the menu speed button: which picture shows in each state, the order of
// the mouse and click events alone and in a group, the click repetition and the fades on the
// virtual clock, and the menus dropped through the menu seam (a recording double that closes on
// demand, as the menu controller will with WM_CLOSESKINMENU).
#include "skin/controls/speed_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "controls_test_support.h"
#include "menu_doubles.h"
#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/core/skin_messages.h"

namespace skin {
namespace {

using gfx::TColor;
using test::TRecordText;

constexpr TColor kNormal = gfx::RGB(200, 40, 40);
constexpr TColor kHot = gfx::RGB(40, 200, 40);
constexpr TColor kDown = gfx::RGB(40, 40, 200);
constexpr TColor kDisabled = gfx::RGB(120, 120, 120);
constexpr TColor kFrames[4] = {gfx::RGB(10, 20, 30), gfx::RGB(60, 70, 80), gfx::RGB(110, 120, 130),
                               gfx::RGB(160, 170, 180)};
constexpr TColor kParent = gfx::RGB(250, 240, 0);

// One picture: the four state faces side by side in the first row of 20 x 20 cells, a strip of
// four animation frames below them, and a drop-down part (pressed) under the down face.
std::unique_ptr<gfx::TBitmap> StatePicture() {
    auto p = test::SolidPicture(100, 60, kNormal);
    test::FillArea(*p, {20, 0, 40, 20}, kHot);
    test::FillArea(*p, {40, 0, 60, 20}, kDown);
    test::FillArea(*p, {60, 0, 80, 20}, kDisabled);
    for (int k = 0; k < 4; ++k) test::FillArea(*p, {20 * k, 20, 20 * k + 20, 40}, kFrames[k]);
    return p;
}

const std::string kNineSlice =
    "pictureindex=0\nskinrect=0,0,20,20\nlefttoppoint=2,2\nrighttoppoint=18,2\n"
    "leftbottompoint=2,18\nrightbottompoint=18,18\nclientrect=2,2,18,18\n"
    "activeskinrect=20,0,40,20\ndownskinrect=40,0,60,20\ndisabledskinrect=60,0,80,20\n";

TbsSkinContent SpeedSkin() {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(StatePicture());
    return test::FixtureSkin(
        {
            {"toolbutton", "button", kNineSlice},
            {"morph", "button", kNineSlice + "morphing=1\nmorphkind=mkdefault\n"},
            {"anim", "button",
             kNineSlice + "animateskinrect=0,20,80,40\nframecount=4\nanimateinterval=40\n"},
            {"toolmenubutton", "menubutton", kNineSlice + "trackbuttonrect=14,0,20,20\n"},
        },
        std::move(pictures));
}

// The blend Morph gives for a factor, channel by channel, rounded half to even.
TColor Blend(TColor from, TColor to, double kf) {
    auto channel = [&](int shift) {
        const double v = (1 - kf) * ((from >> shift) & 0xFF) + kf * ((to >> shift) & 0xFF);
        return int(std::nearbyint(v)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

class SpeedButtonTest : public test::TControlsTest {
public:
    // Handlers that write "name:event" for each mouse and click event.
    void Record(vcl::TControl* c) {
        const std::string name = c->Name();
        c->OnMouseDown = [this, name](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int,
                                      int) { Events.push_back(name + ":down"); };
        c->OnMouseUp = [this, name](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            Events.push_back(name + ":up");
        };
        c->OnClick = [this, name](vcl::TObject*) { Events.push_back(name + ":click"); };
    }
    // Milliseconds on the clock since Mark().
    void Mark() { FStart = FClock.NowMicros(); }
    int Elapsed() { return int((FClock.NowMicros() - FStart) / 1000); }

    std::vector<std::string> Events;

private:
    std::int64_t FStart = 0;
};

TEST_F(SpeedButtonTest, NewButtonsTakeTheirDefaults) {
    auto* b = new TbsSkinSpeedButton(Form);
    EXPECT_EQ(b->Width(), 25);
    EXPECT_EQ(b->Height(), 25);
    EXPECT_EQ(b->SkinDataName(), "toolbutton");
    EXPECT_FALSE(b->Transparent());
    EXPECT_FALSE(b->Flat());
    EXPECT_EQ(b->Spacing(), 1);
    EXPECT_EQ(b->Margin(), -1);
    EXPECT_EQ(b->NumGlyphs(), 1);
    EXPECT_EQ(b->RepeatInterval(), 100);
    EXPECT_TRUE(b->ShowCaption());
    b->SetFlat(true);
    EXPECT_TRUE(b->Transparent());

    auto* m = new TbsSkinMenuSpeedButton(Form);
    EXPECT_EQ(m->SkinDataName(), "toolmenubutton");
    EXPECT_FALSE(m->TrackButtonMode());
    EXPECT_EQ(m->TrackPosition(), bstpRight);
    m->SetNewStyle(true);
    EXPECT_EQ(m->SkinDataName(), "resizetoolbutton");
}

// The picture of each state, with the skin's record and without a skin.
TEST_F(SpeedButtonTest, EachStateShowsItsPicture) {
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "B");
    auto* flat = Make<TbsSkinSpeedButton>(100, 10, 40, 24, "Flat");
    flat->SetFlat(true);
    Form->SetColor(kParent);
    Run();
    // No skin: the default look.
    EXPECT_EQ(PixelOf(b, 20, 12), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(PixelOf(b, 0, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(flat, 20, 12), kParent);
    MoveTo(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), TColor(0x00D2BDB6));
    EXPECT_EQ(PixelOf(b, 0, 0), TColor(gfx::clNavy));
    Down(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), TColor(0x00B59385));
    Up(b, 20, 12);
    MoveAway();

    Load(SpeedSkin());
    EXPECT_EQ(PixelOf(b, 20, 12), kNormal);
    EXPECT_EQ(PixelOf(flat, 20, 12), kParent);
    MoveTo(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), kHot);
    Down(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), kDown);
    // Leaving while held shows the normal picture; coming back shows the pressed one again.
    MoveAway();
    EXPECT_EQ(PixelOf(b, 20, 12), kNormal);
    MoveTo(b, 10, 10);
    EXPECT_EQ(PixelOf(b, 20, 12), kDown);
    Up(b, 20, 12);
    MoveTo(flat, 5, 5);
    EXPECT_EQ(PixelOf(flat, 20, 12), kHot);
    MoveAway();
    EXPECT_EQ(PixelOf(flat, 20, 12), kParent);
    b->SetEnabled(false);
    Run();
    EXPECT_EQ(PixelOf(b, 20, 12), kDisabled);
}

TEST_F(SpeedButtonTest, EventsComeInTheirOrder) {
    Load(SpeedSkin());
    auto* single = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "S");
    auto* g1 = Make<TbsSkinSpeedButton>(60, 10, 40, 24, "G1");
    auto* g2 = Make<TbsSkinSpeedButton>(110, 10, 40, 24, "G2");
    for (TbsSkinSpeedButton* b : {single, g1, g2}) Record(b);
    g1->SetGroupIndex(1);
    g2->SetGroupIndex(1);

    // Ungrouped: the click follows the release over the button.
    Down(single, 5, 5);
    EXPECT_TRUE(single->Down());
    Up(single, 5, 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"S:down", "S:up", "S:click"}));
    EXPECT_FALSE(single->Down());

    // Released elsewhere: up without a click.
    Events.clear();
    Down(single, 5, 5);
    MoveAway();
    Screen->MouseUp({1270, 790});
    Run();
    EXPECT_EQ(Events, (std::vector<std::string>{"S:down", "S:up"}));
    EXPECT_FALSE(single->Down());

    // Grouped: the click comes with the press, and the other member goes up.
    Events.clear();
    Down(g1, 5, 5);
    Up(g1, 5, 5);
    EXPECT_TRUE(g1->Down());
    Down(g2, 5, 5);
    Up(g2, 5, 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"G1:down", "G1:click", "G1:up", "G2:down",
                                                "G2:click", "G2:up"}));
    EXPECT_TRUE(g2->Down());
    EXPECT_FALSE(g1->Down());

    // A down member pressed again does nothing while AllowAllUp is off...
    Events.clear();
    Down(g2, 5, 5);
    Up(g2, 5, 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"G2:down", "G2:up"}));
    EXPECT_TRUE(g2->Down());
    // ...and with it comes up and clicks at the release.
    Events.clear();
    g2->SetAllowAllUp(true);
    Down(g2, 5, 5);
    Up(g2, 5, 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"G2:down", "G2:up", "G2:click"}));
    EXPECT_FALSE(g2->Down());
    // With AllowAllUp, setting Down on one member leaves the others down.
    g1->SetAllowAllUp(true);
    g1->SetDown(true);
    g2->SetDown(true);
    EXPECT_TRUE(g1->Down());
}

TEST_F(SpeedButtonTest, RepeatModeClicksOnTheVirtualClock) {
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "R");
    b->SetRepeatMode(true);
    std::vector<int> clicks;
    b->OnClick = [&](vcl::TObject*) { clicks.push_back(Elapsed()); };

    Down(b, 5, 5);
    Mark();
    Wait(850);
    EXPECT_EQ(clicks, (std::vector<int>{600, 700, 800}));
    Up(b, 5, 5);
    EXPECT_EQ(clicks.size(), 4u);

    // Leaving pauses; coming back waits the first 500 ms again.
    clicks.clear();
    Down(b, 5, 5);
    Mark();
    Wait(650);
    EXPECT_EQ(clicks, (std::vector<int>{600}));
    MoveAway();
    Wait(1000);
    EXPECT_EQ(clicks.size(), 1u);
    MoveTo(b, 5, 5);
    Mark();
    clicks.clear();
    Wait(650);
    EXPECT_EQ(clicks, (std::vector<int>{600}));
    Up(b, 5, 5);
    EXPECT_EQ(clicks.size(), 2u);
}

// A morphing record fades from normal to hot in five 20 ms ticks, and back.
TEST_F(SpeedButtonTest, MorphFadesInFiveTicks) {
    Load(SpeedSkin());
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "M");
    b->SetSkinDataName("morph");
    b->ChangeSkinData();
    MoveTo(b, 20, 12);
    EXPECT_EQ(b->MorphKf(), 0.0);
    for (int step = 1; step <= 4; ++step) {
        Wait(20);
        EXPECT_DOUBLE_EQ(b->MorphKf(), step / 5.0) << step;
        EXPECT_EQ(PixelOf(b, 20, 12), Blend(kNormal, kHot, step / 5.0)) << step;
    }
    Wait(20);
    EXPECT_EQ(b->MorphKf(), 1.0);
    EXPECT_EQ(PixelOf(b, 20, 12), kHot);
    Wait(100);
    EXPECT_EQ(b->MorphKf(), 1.0);

    MoveAway();
    for (int step = 4; step >= 1; --step) {
        Wait(20);
        EXPECT_EQ(PixelOf(b, 20, 12), Blend(kNormal, kHot, step / 5.0)) << step;
    }
    Wait(20);
    EXPECT_EQ(b->MorphKf(), 0.0);
    EXPECT_EQ(PixelOf(b, 20, 12), kNormal);

    // A click shows the pressed picture, then the hot one at once; a new skin under the pointer
    // starts hot, without a fade.
    Down(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), kDown);
    Up(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), kHot);
    Wait(100);
    EXPECT_EQ(PixelOf(b, 20, 12), kHot);
    Load(SpeedSkin());
    EXPECT_EQ(b->MorphKf(), 1.0);
    EXPECT_EQ(PixelOf(b, 20, 12), kHot);
}

// A four-frame strip plays frames 1 to 4 on enter and 4 to 1 on leave, then the plain picture.
TEST_F(SpeedButtonTest, FrameStripPlaysOnEnterAndLeave) {
    Load(SpeedSkin());
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "A");
    b->SetSkinDataName("anim");
    b->ChangeSkinData();
    MoveTo(b, 20, 12);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(PixelOf(b, 20, 12), kFrames[k]) << k;
        Wait(40);
    }
    EXPECT_EQ(PixelOf(b, 20, 12), kHot);
    EXPECT_EQ(b->CurrentFrame(), 0);
    MoveAway();
    for (int k = 3; k >= 0; --k) {
        EXPECT_EQ(PixelOf(b, 20, 12), kFrames[k]) << k;
        Wait(40);
    }
    EXPECT_EQ(PixelOf(b, 20, 12), kNormal);
    EXPECT_EQ(b->CurrentFrame(), 0);
}

TEST_F(SpeedButtonTest, GlyphFramesFollowTheState) {
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "G");
    // Four 8 x 8 frames, each with a magenta bottom row as its key: normal, disabled, pressed,
    // hot.
    gfx::TBitmap glyph;
    glyph.SetSize(32, 8);
    const TColor frames[4] = {gfx::RGB(255, 0, 0), gfx::RGB(0, 255, 0), gfx::RGB(0, 0, 255),
                              gfx::RGB(255, 255, 0)};
    for (int k = 0; k < 4; ++k) {
        glyph.Canvas().Brush().SetColor(frames[k]);
        glyph.Canvas().FillRect({8 * k, 0, 8 * k + 8, 8});
        glyph.Canvas().Brush().SetColor(gfx::RGB(255, 0, 255));
        glyph.Canvas().FillRect({8 * k, 7, 8 * k + 8, 8});
    }
    b->SetNumGlyphs(4);
    b->SetGlyph(glyph);
    Load(SpeedSkin());
    // The 8 x 8 glyph sits centred in the 40 x 24 button: its middle at (20, 12).
    EXPECT_EQ(PixelOf(b, 20, 11), frames[0]);
    MoveTo(b, 5, 5);
    EXPECT_EQ(PixelOf(b, 20, 11), frames[3]);
    Down(b, 5, 5);
    EXPECT_EQ(PixelOf(b, 21, 12), frames[2]);
    Up(b, 5, 5);
    MoveAway();
    b->SetEnabled(false);
    Run();
    EXPECT_EQ(PixelOf(b, 20, 11), frames[1]);
}

TEST_F(SpeedButtonTest, ShowCaptionSwitchesWidths) {
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 60, 24, "C");
    b->SetUseSkinSize(false);
    b->SetWidthWithCaption(60);
    b->SetWidthWithoutCaption(30);
    b->SetShowCaption(false);
    EXPECT_EQ(b->Width(), 30);
    b->SetShowCaption(true);
    EXPECT_EQ(b->Width(), 60);
}

// A parent that lends its image lists to the buttons on it, as the tool bar does.
class TImagesParent : public vcl::TPanel, public TbsSkinParent {
public:
    using vcl::TPanel::TPanel;
    bool ChildImages(vcl::TCustomImageList*& images, vcl::TCustomImageList*& hotImages,
                     vcl::TCustomImageList*& disabledImages) override {
        images = Images;
        hotImages = HotImages;
        disabledImages = DisabledImages;
        return true;
    }
    vcl::TCustomImageList *Images = nullptr, *HotImages = nullptr, *DisabledImages = nullptr;
};

// An image list of 8 x 8 images in one colour each.
vcl::TImageList* SolidImages(vcl::TComponent* owner, std::initializer_list<TColor> colors) {
    auto* list = new vcl::TImageList(owner, 8, 8);
    for (TColor c : colors) {
        auto picture = test::SolidPicture(8, 8, c);
        list->Add(picture.get(), nullptr);
    }
    return list;
}

// The 8 x 8 image sits centred in the 40 x 24 button: (20, 11) is inside it.
constexpr int kImageX = 20, kImageY = 11;

TEST_F(SpeedButtonTest, AParentsImageListsComeBeforeTheButtonsOwn) {
    constexpr TColor kPlain[2] = {gfx::RGB(255, 0, 0), gfx::RGB(255, 128, 0)};
    constexpr TColor kHotImage = gfx::RGB(0, 255, 0), kGrey = gfx::RGB(0, 0, 255);
    auto* bar = new TImagesParent(Form);
    bar->SetParent(Form);
    bar->SetBounds(0, 0, 300, 40);
    bar->Images = SolidImages(Form, {kPlain[0], kPlain[1]});
    bar->HotImages = SolidImages(Form, {kHotImage, kHotImage});
    bar->DisabledImages = SolidImages(Form, {kGrey, kGrey});
    auto* onBar = Make<TbsSkinSpeedButton>(10, 8, 40, 24, "OnBar", bar);
    onBar->SetImageList(SolidImages(Form, {gfx::clBlack, gfx::clBlack}));
    Run();
    EXPECT_EQ(PixelOf(onBar, kImageX, kImageY), kPlain[0]);
    MoveTo(onBar, 5, 5);
    EXPECT_EQ(PixelOf(onBar, kImageX, kImageY), kHotImage);
    MoveAway();
    // A new index shows at once on such a parent.
    onBar->SetImageIndex(1);
    EXPECT_EQ(PixelOf(onBar, kImageX, kImageY), kPlain[1]);
    // The bar's disabled images are drawn as they are.
    onBar->SetEnabled(false);
    Run();
    EXPECT_EQ(PixelOf(onBar, kImageX, kImageY), kGrey);

    // Elsewhere the button's own list draws, and a new index waits for the next paint.
    auto* own = Make<TbsSkinSpeedButton>(10, 100, 40, 24, "Own");
    own->SetImageList(SolidImages(Form, {kPlain[0], kPlain[1]}));
    own->Repaint();
    EXPECT_EQ(PixelOf(own, kImageX, kImageY), kPlain[0]);
    own->SetImageIndex(1);
    EXPECT_EQ(PixelOf(own, kImageX, kImageY), kPlain[0]);
    own->Repaint();
    EXPECT_EQ(PixelOf(own, kImageX, kImageY), kPlain[1]);
}

TEST_F(SpeedButtonTest, TheAcceleratorClicks) {
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 60, 24, "Acc");
    b->SetCaption("&Open");
    int clicks = 0;
    b->OnClick = [&](vcl::TObject*) { ++clicks; };
    Screen->KeyDown(win::VK_MENU);
    Screen->KeyPress('O');
    Screen->KeyUp(win::VK_MENU);
    Run();
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    Screen->KeyDown(win::VK_MENU);
    Screen->KeyPress('O');
    Screen->KeyUp(win::VK_MENU);
    Run();
    EXPECT_EQ(clicks, 1);
}

// What OnPaint draws shows, in the default look as with a record; clearing DrawDefault leaves
// the glyph out.
TEST_F(SpeedButtonTest, OnPaintDrawsOnThePicture) {
    auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, "P");
    b->SetImageList(SolidImages(Form, {gfx::clBlack}));
    bool drawDefault = true;
    b->OnPaint = [&](vcl::TObject*, gfx::TCanvas& c, const gfx::TRect&, bool, bool, bool& d) {
        c.Brush().SetColor(kParent);
        c.FillRect({0, 0, 6, 6});
        d = drawDefault;
    };
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned);
        if (skinned) Load(SpeedSkin());
        drawDefault = true;
        b->Repaint();
        EXPECT_EQ(PixelOf(b, 3, 3), kParent);
        EXPECT_EQ(PixelOf(b, kImageX, kImageY), TColor(gfx::clBlack));
        drawDefault = false;
        b->Repaint();
        EXPECT_NE(PixelOf(b, kImageX, kImageY), TColor(gfx::clBlack));
    }
}

// Disabled text takes the record's colour, or mid grey when the record gives the normal one.
TEST_F(SpeedButtonTest, DisabledTextColour) {
    struct TCase {
        const char* Keys;
        TColor Expected;
    };
    for (const TCase& c : {TCase{"disabledfontcolor=255\nfontcolor=255\n", 0x00808080},
                           TCase{"fontcolor=255\ndisabledfontcolor=16711680\n", 0x00FF0000}}) {
        SCOPED_TRACE(c.Keys);
        std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
        pictures.push_back(StatePicture());
        Load(test::FixtureSkin(
            {{"toolbutton", "button", kNineSlice + c.Keys + "fontheight=40\nfontstyle=fsbold\n"}},
            std::move(pictures)));
        auto* b = Make<TbsSkinSpeedButton>(10, 10, 80, 50);
        b->SetCaption("一");
        b->SetEnabled(false);
        Run();
        const gfx::TImage shot = Capture(b);
        const auto count = std::count_if(shot.Pixels.begin(), shot.Pixels.end(), [&](uint32_t p) {
            // Captures are 0xAARRGGBB.
            return gfx::RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == c.Expected;
        });
        EXPECT_GT(count, 20);
        b->Free();
    }
}

// A button freed while it fades, plays its strip and repeats leaves no timer behind.
TEST_F(SpeedButtonTest, FreeingStopsTheTimers) {
    Load(SpeedSkin());
    for (const char* record : {"morph", "anim"}) {
        auto* b = Make<TbsSkinSpeedButton>(10, 10, 40, 24, record);
        b->SetSkinDataName(record);
        b->SetRepeatMode(true);
        b->ChangeSkinData();
        int clicks = 0;
        b->OnClick = [&](vcl::TObject*) { ++clicks; };
        MoveTo(b, 5, 5);
        Wait(20);
        Down(b, 5, 5);
        Wait(20);
        b->Free();
        Wait(1000);
        EXPECT_EQ(clicks, 0);
        Screen->MouseUp(At(Form, 5, 5));
        MoveAway();
    }
}

// --- menu speed button ------------------------------------------------------------------------

using test::TDropMenuDouble;
using test::TImagesMenuDouble;

class MenuSpeedButtonTest : public SpeedButtonTest {
public:
    TbsSkinMenuSpeedButton* MakeMenuButton(int width = 60) {
        auto* b = Make<TbsSkinMenuSpeedButton>(10, 10, width, 24, "MB");
        Record(b);
        b->OnShowTrackMenu = [this](vcl::TObject*) { Events.push_back("MB:show"); };
        b->OnHideTrackMenu = [this](vcl::TObject*) { Events.push_back("MB:hide"); };
        Popup = new TDropMenuDouble(Form);
        b->SetSkinPopupMenu(Popup);
        return b;
    }
    TDropMenuDouble* Popup = nullptr;
};

TEST_F(MenuSpeedButtonTest, APressAnywhereDropsTheMenuUntilItCloses) {
    auto* b = MakeMenuButton();
    auto* images = new TImagesMenuDouble(Form);
    b->SetSkinImagesMenu(images);
    Down(b, 5, 5);
    Up(b, 5, 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"MB:show", "MB:show"}));
    ASSERT_EQ(Popup->Drops.size(), 1u);
    const gfx::TPoint origin = b->ClientToScreen({0, 0});
    EXPECT_EQ(Popup->Drops[0], gfx::Bounds(origin.X, origin.Y, 60, 24));
    EXPECT_EQ(images->Drops, 1);
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(b->MenuTracked());
    MoveAway();
    EXPECT_TRUE(b->Down());

    Popup->Close();
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_EQ(Events.back(), "MB:hide");

    // The images menu's own close releases the button as well.
    Events.clear();
    b->SetSkinPopupMenu(nullptr);
    Down(b, 5, 5);
    EXPECT_TRUE(b->MenuTracked());
    images->Close();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Events, (std::vector<std::string>{"MB:show", "MB:hide"}));
}

// In track mode only the drop-down part drops the menu; the rest is a speed button.
TEST_F(MenuSpeedButtonTest, TrackModeDropsOnlyFromItsPart) {
    struct TCase {
        bool NewStyle;
        TbsTrackPosition Position;
        gfx::TPoint Drops, Clicks;
    };
    for (const TCase& c :
         {TCase{false, bstpRight, {50, 12}, {40, 12}}, TCase{false, bstpBottom, {50, 12}, {40, 12}},
          TCase{true, bstpRight, {50, 5}, {40, 5}}, TCase{true, bstpBottom, {20, 20}, {50, 5}}}) {
        SCOPED_TRACE(std::to_string(c.NewStyle) + " " + std::to_string(c.Position));
        auto* b = MakeMenuButton();
        b->SetTrackButtonMode(true);
        b->SetNewStyle(c.NewStyle);
        b->SetTrackPosition(c.Position);
        Events.clear();
        Down(b, c.Clicks.X, c.Clicks.Y);
        Up(b, c.Clicks.X, c.Clicks.Y);
        EXPECT_EQ(Events, (std::vector<std::string>{"MB:down", "MB:up", "MB:click"}));
        EXPECT_TRUE(Popup->Drops.empty());
        Events.clear();
        Down(b, c.Drops.X, c.Drops.Y);
        Up(b, c.Drops.X, c.Drops.Y);
        EXPECT_EQ(Events, (std::vector<std::string>{"MB:show"}));
        Popup->Close();
        EXPECT_FALSE(b->Down());
        MoveAway();
        b->Free();
        Popup->Free();
    }
}

// With a menu-button record the record's drop-down part decides, kept at the right edge of a
// wider button: a strip record moves it there, and so does a nine-slice one.
TEST_F(MenuSpeedButtonTest, AMenuButtonRecordPlacesThePart) {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(StatePicture());
    Load(test::FixtureSkin(
        {
            {"nine", "menubutton", kNineSlice + "trackbuttonrect=14,0,20,20\n"},
            {"strip", "menubutton",
             "pictureindex=0\nskinrect=0,0,20,20\nlefttoppoint=2,0\nrighttoppoint=18,0\n"
             "clientrect=2,2,18,18\ntrackbuttonrect=14,0,20,20\n"},
        },
        std::move(pictures)));
    for (const char* record : {"nine", "strip"}) {
        SCOPED_TRACE(record);
        auto* b = MakeMenuButton(60);
        b->SetSkinDataName(record);
        b->SetTrackButtonMode(true);
        b->ChangeSkinData();
        ASSERT_EQ(b->Width(), 60);
        // The part is 54..60: 50 lies in the plain 15-pixel strip but not in the part.
        Events.clear();
        Down(b, 50, 5);
        Up(b, 50, 5);
        EXPECT_EQ(Events, (std::vector<std::string>{"MB:down", "MB:up", "MB:click"}));
        Events.clear();
        Down(b, 56, 5);
        Up(b, 56, 5);
        EXPECT_EQ(Events, (std::vector<std::string>{"MB:show"}));
        Popup->Close();
        MoveAway();
        b->Free();
        Popup->Free();
    }
}

// A menu that opens nothing sends no close; the button comes straight up again.
TEST_F(MenuSpeedButtonTest, AMenuThatDoesNotOpenReleasesTheButton) {
    auto* b = MakeMenuButton();
    Popup->Opens = false;
    Down(b, 5, 5);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(b->MenuTracked());
    EXPECT_EQ(Events, (std::vector<std::string>{"MB:show", "MB:hide"}));
}

// A flat menu button at rest shows its parent, its content and the small drop arrow only.
TEST_F(MenuSpeedButtonTest, AFlatIdleButtonShowsTheParentAndTheArrow) {
    Form->SetColor(kParent);
    auto* b = MakeMenuButton(60);
    b->SetFlat(true);
    Run();
    EXPECT_EQ(PixelOf(b, 20, 12), kParent);
    // The arrow's top row in the middle of the right 15 pixels.
    EXPECT_EQ(PixelOf(b, 60 - 15 + 7, 12), gfx::ColorToRGB(gfx::clBtnText));
    MoveTo(b, 20, 12);
    EXPECT_EQ(PixelOf(b, 20, 12), TColor(0x00D2BDB6));
}

// The images menu's choice gives the picture, and a new choice repaints at once.
TEST_F(MenuSpeedButtonTest, TheImagesMenusChoiceShows) {
    constexpr TColor kImages[2] = {gfx::RGB(255, 0, 0), gfx::RGB(0, 0, 255)};
    auto* b = MakeMenuButton(40);
    auto* images = new TImagesMenuDouble(Form);
    images->List = SolidImages(Form, {kImages[0], kImages[1]});
    b->SetImageList(SolidImages(Form, {gfx::clBlack}));
    b->SetSkinImagesMenu(images);
    b->SetUseImagesMenuImage(true);
    b->Repaint();
    // No choice yet: the button's own image list. The content sits left of the 15-pixel strip.
    const int x = (40 - 15) / 2;
    EXPECT_EQ(PixelOf(b, x, kImageY), TColor(gfx::clBlack));
    images->Choose(1);
    EXPECT_EQ(PixelOf(b, x, kImageY), kImages[1]);
    images->Choose(0);
    EXPECT_EQ(PixelOf(b, x, kImageY), kImages[0]);
}

// A button freed while its images menu is open is not called back when the menu closes.
TEST_F(MenuSpeedButtonTest, AFreedButtonHearsNoClose) {
    auto* b = MakeMenuButton();
    b->SetSkinPopupMenu(nullptr);
    auto* images = new TImagesMenuDouble(Form);
    b->SetSkinImagesMenu(images);
    Down(b, 5, 5);
    EXPECT_TRUE(b->MenuTracked());
    b->Free();
    images->Close();
    images->Choose(0);
    EXPECT_EQ(Events, (std::vector<std::string>{"MB:show"}));
    Screen->MouseUp(At(Form, 5, 5));
}

TEST_F(MenuSpeedButtonTest, FreedMenusAreForgotten) {
    auto* b = MakeMenuButton();
    auto* images = new TImagesMenuDouble(Form);
    b->SetSkinImagesMenu(images);
    auto* list = new vcl::TImageList(Form);
    b->SetImageList(list);
    Popup->Free();
    images->Free();
    list->Free();
    EXPECT_EQ(b->SkinPopupMenu(), nullptr);
    EXPECT_EQ(b->SkinImagesMenu(), nullptr);
    EXPECT_EQ(b->ImageList(), nullptr);
    Down(b, 5, 5);
    Up(b, 5, 5);
    EXPECT_EQ(Events, (std::vector<std::string>{"MB:down", "MB:up", "MB:click"}));
}

}  // namespace
}  // namespace skin
