// The skinned button: event orders of mouse clicks, the keys (Space, Return, the default and
// cancel buttons, the accelerator), the repeat timer, the morph fade in exact fifths, the frame
// strip, the glow layer and the masked window, on skins built here with known colours.
#include "skin/controls/skin_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_test_support.h"
#include "platform/vcl/edits.h"

namespace skin {
namespace {

using gfx::TColor;

constexpr TColor kNormal = gfx::RGB(200, 0, 0);
constexpr TColor kActive = gfx::RGB(0, 200, 0);
constexpr TColor kDown = gfx::RGB(0, 0, 200);
constexpr TColor kDisabled = gfx::RGB(128, 128, 128);
constexpr TColor kFocused = gfx::RGB(200, 200, 0);
const TColor kFrames[4] = {gfx::RGB(10, 10, 10), gfx::RGB(20, 20, 20), gfx::RGB(30, 30, 30),
                           gfx::RGB(40, 40, 40)};

// Picture 0: the five 40 x 20 state faces stacked, and a four-frame strip to their right.
// Picture 1 and 2: a 50 x 30 glow picture and its mask. Picture 3: a region mask, the top-left
// 6 x 6 corner outside.
std::vector<std::unique_ptr<gfx::TBitmap>> ButtonPictures() {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    auto faces = test::SolidPicture(200, 100, kNormal);
    const TColor states[5] = {kNormal, kActive, kDown, kDisabled, kFocused};
    for (int i = 0; i < 5; ++i) test::FillArea(*faces, {0, 20 * i, 40, 20 * i + 20}, states[i]);
    for (int f = 0; f < 4; ++f)
        test::FillArea(*faces, {40 + 40 * f, 0, 80 + 40 * f, 20}, kFrames[f]);
    pictures.push_back(std::move(faces));
    pictures.push_back(test::SolidPicture(50, 30, gfx::RGB(255, 255, 0)));
    pictures.push_back(test::SolidPicture(50, 30, gfx::clWhite));
    auto mask = test::SolidPicture(40, 20, gfx::clBlack);
    test::FillArea(*mask, {0, 0, 6, 6}, gfx::clWhite);
    pictures.push_back(std::move(mask));
    return pictures;
}

const std::string kFaces =
    "pictureindex=0\nskinrect=0,0,40,20\nactiveskinrect=0,20,40,40\ndownskinrect=0,40,40,60\n"
    "disabledskinrect=0,60,40,80\nfocusedskinrect=0,80,40,100\n"
    "lefttoppoint=2,2\nrighttoppoint=38,2\nleftbottompoint=2,18\nrightbottompoint=38,18\n"
    "clientrect=2,2,38,18\nleftstretch=1\ntopstretch=1\nrightstretch=1\nbottomstretch=1\n"
    "stretcheffect=1\nfontcolor=0\nactivefontcolor=0\ndownfontcolor=0\n";

std::string WithoutFocusedPicture(std::string keys) {
    const std::string line = "focusedskinrect=0,80,40,100\n";
    keys.erase(keys.find(line), line.size());
    return keys;
}

TbsSkinContent ButtonSkin() {
    return test::FixtureSkin(
        {
            {"button", "button", kFaces},
            {"plain", "button", WithoutFocusedPicture(kFaces)},
            {"morph", "button", kFaces + "morphing=1\nmorphkind=mkdefault\n"},
            {"anim", "button",
             kFaces + "animateskinrect=40,0,200,20\nframecount=4\nanimateinterval=40\n"},
            {"glow", "button",
             kFaces + "glowlayerpictureindex=1\nglowlayermaskpictureindex=2\n"
                      "glowlayeroffsetleft=4\nglowlayeroffsetright=4\nglowlayeroffsettop=4\n"
                      "glowlayeroffsetbottom=4\nglowlayershowoffsetx=5\nglowlayershowoffsety=6\n"},
            {"masked", "button",
             "pictureindex=0\nmaskpictureindex=3\nskinrect=0,0,40,20\n"
             "activeskinrect=0,20,40,40\ndownskinrect=0,40,40,60\n"},
        },
        ButtonPictures());
}

class SkinButtonTest : public test::TControlsTest {
protected:
    void SetUp() override {
        TControlsTest::SetUp();
        Load(ButtonSkin());
    }

    TbsSkinButton* Button(int x, int y, const std::string& name = "B",
                          const std::string& record = "button") {
        auto* b = Make<TbsSkinButton>(x, y, 80, 30, name);
        b->SetSkinDataName(record);
        b->SetCaption(name);
        b->OnClick = [this, b](vcl::TObject*) { Log.push_back(b->Name() + ":click"); };
        b->OnMouseDown = [this, b](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            Log.push_back(b->Name() + ":down");
        };
        b->OnMouseUp = [this, b](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            Log.push_back(b->Name() + ":up");
        };
        b->Repaint();
        Run();
        return b;
    }

    int Clicks(const std::string& name) const {
        int n = 0;
        for (const std::string& s : Log) n += s == name + ":click";
        return n;
    }

    std::vector<std::string> Log;
};

TEST_F(SkinButtonTest, MouseEventOrders) {
    auto* b = Button(10, 10);
    b->SetModalResult(vcl::mrOk);
    b->OnClick = [&](vcl::TObject*) {
        Log.push_back("B:click result " + std::to_string(Form->ModalResult()));
    };
    Click(b, 20, 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"B:down", "B:click result 1", "B:up"}));

    // Press, leave, release outside: no click; the button is up again.
    Log.clear();
    Down(b, 20, 10);
    EXPECT_EQ(PixelOf(b, 4, 4), kDown);
    MoveTo(Form, 300, 200);
    EXPECT_NE(PixelOf(b, 4, 4), kDown);
    // Coming back before the release shows the pressed picture again.
    MoveTo(b, 30, 10);
    EXPECT_EQ(PixelOf(b, 4, 4), kDown);
    MoveTo(Form, 300, 200);
    Up(Form, 300, 200);
    EXPECT_EQ(Log, (std::vector<std::string>{"B:down", "B:up"}));
    EXPECT_FALSE(b->Down());

    // A click whose handler hides the button: no OnMouseUp, nothing breaks.
    Log.clear();
    b->OnClick = [&](vcl::TObject*) {
        Log.push_back("B:click");
        b->Hide();
    };
    Click(b, 20, 10);
    EXPECT_EQ(Log, (std::vector<std::string>{"B:down", "B:click"}));
}

TEST_F(SkinButtonTest, GroupedButtonsClickAtThePressAndPushTheOtherUp) {
    auto* one = Button(10, 10, "One");
    auto* two = Button(100, 10, "Two");
    one->SetGroupIndex(1);
    two->SetGroupIndex(1);
    EXPECT_FALSE(one->CanFocused());
    EXPECT_FALSE(one->TabStop());
    Down(one, 5, 5);
    EXPECT_EQ(Log, (std::vector<std::string>{"One:down", "One:click"}));
    Up(one, 5, 5);
    Click(two, 5, 5);
    EXPECT_FALSE(one->Down());
    EXPECT_TRUE(two->Down());
    // A press on a down button keeps it down; with AllowAllUp the release raises it and clicks.
    Log.clear();
    Click(two, 5, 5);
    EXPECT_TRUE(two->Down());
    EXPECT_EQ(Log, (std::vector<std::string>{"Two:down", "Two:up"}));
    two->SetAllowAllUp(true);
    Log.clear();
    Click(two, 5, 5);
    EXPECT_FALSE(two->Down());
    EXPECT_EQ(Log, (std::vector<std::string>{"Two:down", "Two:click", "Two:up"}));
}

TEST_F(SkinButtonTest, SpaceReturnAndTheAccelerator) {
    auto* b = Button(10, 10);
    b->SetFocus();
    Run();
    Screen->KeyDown(win::VK_SPACE);
    Run();
    EXPECT_EQ(Clicks("B"), 0);
    EXPECT_TRUE(b->Down());
    Screen->KeyUp(win::VK_SPACE);
    Run();
    EXPECT_EQ(Clicks("B"), 1);
    EXPECT_FALSE(b->Down());

    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(Clicks("B"), 2);

    auto* open = Button(100, 10, "Open");
    open->SetCaption("&Open");
    Screen->KeyDown(win::VK_MENU);
    Screen->KeyPress('O');
    Screen->KeyUp(win::VK_MENU);
    Run();
    EXPECT_TRUE(open->Focused());
    EXPECT_EQ(Clicks("Open"), 1);
    EXPECT_EQ(Clicks("B"), 2);
}

TEST_F(SkinButtonTest, DefaultAndCancelAnswerReturnAndEscapeFromAPlainControl) {
    auto* ok = Button(10, 10, "Ok");
    auto* cancel = Button(100, 10, "Cancel");
    auto* other = Button(190, 10, "Other", "plain");
    auto* edit = new vcl::TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 100, 100, 24);
    ok->SetDefault(true);
    cancel->SetCancel(true);
    edit->SetFocus();
    Run();
    // The default button looks hot while a plain control has the focus.
    EXPECT_TRUE(ok->MouseIn());
    EXPECT_EQ(PixelOf(ok, 4, 4), kActive);
    Press(win::VK_RETURN);
    Press(win::VK_ESCAPE);
    Run();
    EXPECT_EQ(Log, (std::vector<std::string>{"Ok:click", "Cancel:click"}));

    // Another skinned button takes the focus: the default one is plain again, and Return
    // presses the focused one.
    other->SetFocus();
    Run();
    EXPECT_FALSE(ok->MouseIn());
    EXPECT_EQ(PixelOf(ok, 4, 4), kNormal);
    Log.clear();
    Press(win::VK_RETURN);
    Run();
    EXPECT_EQ(Log, (std::vector<std::string>{"Other:click"}));
}

TEST_F(SkinButtonTest, PicturesByState) {
    auto* b = Button(10, 10);
    auto* plain = Button(100, 10, "P", "plain");
    EXPECT_EQ(PixelOf(b, 4, 4), kNormal);
    MoveTo(b, 40, 15);
    EXPECT_EQ(PixelOf(b, 4, 4), kActive);
    MoveAway();
    b->SetFocus();
    plain->SetEnabled(false);  // no effect on the other
    Run();
    EXPECT_EQ(PixelOf(b, 4, 4), kFocused);
    b->SetEnabled(false);
    Run();
    EXPECT_EQ(PixelOf(b, 4, 4), kDisabled);
    // A focused record without a focused picture shows the active one.
    plain->SetEnabled(true);
    plain->SetFocus();
    Run();
    EXPECT_EQ(PixelOf(plain, 4, 4), kActive);
}

TEST_F(SkinButtonTest, RepeatModeClicksOnTheClock) {
    auto* b = Button(10, 10);
    b->SetRepeatMode(true);
    Down(b, 20, 10);
    Wait(590);
    EXPECT_EQ(Clicks("B"), 0);
    Wait(10);
    EXPECT_EQ(Clicks("B"), 1);  // 600 ms
    Wait(100);
    EXPECT_EQ(Clicks("B"), 2);  // 700 ms
    Wait(100);
    EXPECT_EQ(Clicks("B"), 3);  // 800 ms
    // Leaving pauses; coming back waits 500 ms again.
    MoveTo(Form, 300, 200);
    Wait(300);
    EXPECT_EQ(Clicks("B"), 3);
    MoveTo(b, 20, 10);
    Wait(590);
    EXPECT_EQ(Clicks("B"), 3);
    Wait(10);
    EXPECT_EQ(Clicks("B"), 4);
    Up(b, 20, 10);
    EXPECT_EQ(Clicks("B"), 5);  // the release over the button
    Wait(500);
    EXPECT_EQ(Clicks("B"), 5);
}

TEST_F(SkinButtonTest, MorphFadesInExactFifthsEachWay) {
    auto* b = Button(10, 10, "B", "morph");
    MoveTo(b, 40, 15);
    std::vector<double> in;
    for (int i = 0; i < 6; ++i) {
        Wait(20);
        in.push_back(b->MorphKf());
    }
    EXPECT_EQ(in, (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1.0, 1.0}));
    EXPECT_EQ(PixelOf(b, 4, 4), kActive);
    MoveAway();
    Wait(20);
    const TColor mid = PixelOf(b, 4, 4);
    EXPECT_GT(gfx::GetRValue(mid), 0);
    EXPECT_GT(gfx::GetGValue(mid), gfx::GetRValue(mid));  // 0.8 of the way to green
    std::vector<double> out{b->MorphKf()};
    for (int i = 0; i < 5; ++i) {
        Wait(20);
        out.push_back(b->MorphKf());
    }
    EXPECT_EQ(out, (std::vector<double>{0.8, 0.6, 0.4, 0.2, 0.0, 0.0}));
    EXPECT_EQ(PixelOf(b, 4, 4), kNormal);
    // Without skin effects there is no fade.
    Data->SetEnableSkinEffects(false);
    MoveTo(b, 40, 15);
    EXPECT_EQ(PixelOf(b, 4, 4), kActive);
}

TEST_F(SkinButtonTest, FrameStripRunsForwardOnEnterAndBackOnLeave) {
    auto* b = Button(10, 10, "B", "anim");
    MoveTo(b, 40, 15);
    std::vector<TColor> seen{PixelOf(b, 4, 4)};
    for (int i = 0; i < 4; ++i) {
        Wait(40);
        seen.push_back(PixelOf(b, 4, 4));
    }
    EXPECT_EQ(seen, (std::vector<TColor>{kFrames[0], kFrames[1], kFrames[2], kFrames[3], kActive}));
    MoveAway();
    seen = {PixelOf(b, 4, 4)};
    for (int i = 0; i < 4; ++i) {
        Wait(40);
        seen.push_back(PixelOf(b, 4, 4));
    }
    EXPECT_EQ(seen, (std::vector<TColor>{kFrames[3], kFrames[2], kFrames[1], kFrames[0], kNormal}));
    EXPECT_EQ(b->CurrentFrame(), 0);
}

TEST_F(SkinButtonTest, GlowLayerFollowsThePointer) {
    auto* b = Button(10, 10, "B", "glow");
    b->Perform(vcl::CM_MOUSEENTER);
    EXPECT_FALSE(b->LayerManager()->IsVisible);  // shown once the posted message is handled
    Run();
    ASSERT_TRUE(b->LayerManager()->IsVisible);
    vcl::TWinControl* layer = b->LayerManager()->LayerWindow;
    ASSERT_TRUE(layer);
    const gfx::TPoint origin = b->ClientOrigin();
    EXPECT_EQ(layer->Left(), origin.X - 5);
    EXPECT_EQ(layer->Top(), origin.Y - 6);
    // Grown with the button: 80 x 30 from a 40 x 20 record and a 50 x 30 picture.
    EXPECT_EQ(layer->Width(), 90);
    EXPECT_EQ(layer->Height(), 40);
    // The layer lets the mouse through to what lies under it.
    Watch(Form);
    Screen->Click({origin.X - 3, origin.Y - 3});
    Run();
    EXPECT_EQ(CountHeard("Form", win::WM_LBUTTONDOWN), 1);
    b->Perform(vcl::CM_MOUSELEAVE);
    Run();
    EXPECT_FALSE(b->LayerManager()->IsVisible);

    // Where the screen can't show layered windows nothing shows and nothing fails.
    Screen->SetCapabilities({false, false});
    MoveTo(b, 40, 15);
    EXPECT_FALSE(b->LayerManager()->IsVisible);
    MoveAway();
    Screen->SetCapabilities({true, false});
}

TEST_F(SkinButtonTest, AMaskedCornerLetsTheClickThroughToTheParent) {
    Form->SetColor(gfx::clWhite);
    auto* b = Button(40, 40, "M", "masked");
    b->ChangeSkinData();
    Run();
    EXPECT_EQ(b->Width(), 40);  // a fixed-size record
    Watch(Form);
    Click(b, 2, 2);
    EXPECT_EQ(CountHeard("Form", win::WM_LBUTTONDOWN), 1);
    EXPECT_EQ(Clicks("M"), 0);
    Click(b, 20, 10);
    EXPECT_EQ(Clicks("M"), 1);
    // Without UseSkinSize the button keeps any size and has no region.
    b->SetUseSkinSize(false);
    b->ChangeSkinData();
    b->SetBounds(40, 40, 80, 30);
    MoveAway();
    EXPECT_EQ(b->Width(), 80);
    // Focused since the click: the active picture, stretched over the whole button.
    EXPECT_EQ(PixelOf(b, 76, 27), kActive);
    ForgetHeard();
    Click(b, 2, 2);
    EXPECT_EQ(CountHeard("Form", win::WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Clicks("M"), 2);
}

TEST_F(SkinButtonTest, AFourFrameGlyphShowsTheFrameOfTheState) {
    const TColor frames[4] = {gfx::RGB(0, 0, 90), gfx::RGB(90, 90, 90), gfx::RGB(90, 0, 0),
                              gfx::RGB(0, 90, 0)};
    auto strip = test::SolidPicture(64, 16, gfx::clFuchsia);
    for (int f = 0; f < 4; ++f) test::FillArea(*strip, {16 * f + 2, 2, 16 * f + 14, 14}, frames[f]);
    auto* b = Button(10, 10);
    b->SetCaption("");
    b->SetGlyph(*strip);
    b->SetNumGlyphs(4);
    Run();
    EXPECT_EQ(PixelOf(b, 40, 15), frames[0]);
    MoveTo(b, 4, 4);
    EXPECT_EQ(PixelOf(b, 40, 15), frames[3]);
    Down(b, 4, 4);
    EXPECT_EQ(PixelOf(b, 41, 16), frames[2]);  // pressed: one pixel right and down
    Up(b, 4, 4);
    MoveAway();
    b->SetEnabled(false);
    Run();
    EXPECT_EQ(PixelOf(b, 40, 15), frames[1]);
    EXPECT_EQ(PixelOf(b, 4, 4), kDisabled);
}

TEST_F(SkinButtonTest, NoRecordDrawsTheDefaultLook) {
    auto* b = Button(10, 10, "B", "missing");
    EXPECT_EQ(PixelOf(b, 0, 0), gfx::ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(PixelOf(b, 5, 5), gfx::ColorToRGB(gfx::clBtnFace));
    MoveTo(b, 5, 5);
    EXPECT_EQ(PixelOf(b, 0, 0), gfx::clNavy);
    EXPECT_EQ(PixelOf(b, 5, 5), TColor(0x00D2BDB6));
    Down(b, 5, 5);
    EXPECT_EQ(PixelOf(b, 5, 5), TColor(0x00B59385));
    Up(b, 5, 5);
    EXPECT_EQ(Clicks("B"), 1);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
}

}  // namespace
}  // namespace skin
