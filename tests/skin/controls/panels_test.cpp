// The skinned panel family and the check and radio box: checked mode, roll-up, where children
// go, transparency over a moving backdrop, and the box's events from code and from the user.
#include "skin/controls/panels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls_test_support.h"
#include "skin/controls/check_radio_box.h"

namespace skin {
namespace {

using gfx::TColor;
using test::TRecordText;

constexpr TColor kFace = gfx::RGB(200, 180, 160);
constexpr TColor kBand = gfx::RGB(40, 60, 120);
constexpr TColor kLeft = gfx::RGB(250, 0, 0);
constexpr TColor kRight = gfx::RGB(0, 0, 250);

// A panel record: 40 x 40 with a 20-pixel caption band on top, client 4,20,36,36; a group box
// record whose client lies above its caption; a check box record.
TbsSkinContent PanelSkin(bool withBackground = false) {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(80, 80, kFace));
    test::FillArea(*pictures[0], {0, 0, 40, 20}, kBand);
    pictures.push_back(test::SolidPicture(16, 16, gfx::RGB(0, 160, 0)));
    const std::string panel =
        "pictureindex=0\nskinrect=0,0,40,40\nlefttoppoint=4,20\nrighttoppoint=36,20\n"
        "leftbottompoint=4,36\nrightbottompoint=36,36\nclientrect=4,20,36,36\n"
        "captionrect=4,2,36,18\n" +
        std::string(withBackground ? "bgpictureindex=1\n" : "");
    return test::FixtureSkin(
        {
            {"panel", "panel", panel},
            {"groupbox", "panel",
             "pictureindex=0\nskinrect=0,0,40,40\nlefttoppoint=4,4\nrighttoppoint=36,4\n"
             "leftbottompoint=4,36\nrightbottompoint=36,36\nclientrect=4,4,36,10\n"
             "captionrect=4,20,36,30\n"},
            {"checkbox", "checkradio",
             "pictureindex=0\nskinrect=40,40,80,60\nlefttoppoint=2,2\nrighttoppoint=38,2\n"
             "leftbottompoint=2,18\nrightbottompoint=38,18\nclientrect=2,2,38,18\n"
             "checkimagerect=40,0,53,13\nuncheckimagerect=53,0,66,13\n"
             "checkimagearea=2,2,16,18\ntextarea=18,0,40,20\n"},
        },
        std::move(pictures));
}

// A plain platform control on the form or a parent.
template <class T>
T* Plain(vcl::TForm* form, vcl::TWinControl* parent, int x, int y, int w, int h,
         const std::string& name = "") {
    auto* c = new T(form);
    if (!name.empty()) c->SetName(name);
    c->SetParent(parent ? parent : form);
    c->SetBounds(x, y, w, h);
    return c;
}

class Panels : public test::TControlsTest {};

TEST_F(Panels, UncheckingInCheckedModeDisablesEveryChildAndAlwaysTellsOnChecked) {
    auto* panel = Make<TbsSkinPanel>(10, 10, 200, 150);
    panel->SetCaptionMode(true);
    panel->SetCheckedMode(true);
    panel->SetCaption("Options");
    auto* a = Make<TbsSkinCheckRadioBox>(10, 30, 100, 20, "", panel);
    auto* b = Plain<vcl::TButton>(Form, panel, 10, 60, 100, 20);
    int told = 0;
    panel->OnChecked = [&](vcl::TObject*) { ++told; };
    panel->SetChecked(false);
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(b->Enabled());
    panel->SetChecked(false);
    EXPECT_EQ(told, 2);
    // A release in the caption bar (no record: the default bar) toggles it.
    Click(panel, 100, 10);
    EXPECT_TRUE(panel->Checked());
    EXPECT_TRUE(a->Enabled());
    EXPECT_EQ(told, 3);
    Click(panel, 100, 100);
    EXPECT_TRUE(panel->Checked());
}

TEST_F(Panels, RollUpHidesTheChildrenAndLeavesTheCaption) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "record" : "no record");
        if (skinned) Load(PanelSkin());
        auto* panel = Make<TbsSkinPanel>(10, 10, 200, 150);
        panel->SetCaptionMode(true);
        panel->SetRollUpMode(true);
        auto* child = Make<TbsSkinCheckRadioBox>(10, 30, 100, 20, "", panel);
        auto* hidden = Make<TbsSkinCheckRadioBox>(10, 60, 100, 20, "", panel);
        hidden->Hide();
        int told = 0;
        panel->OnChangeRollUpState = [&](vcl::TObject*) { ++told; };
        panel->SetRollUpState(true);
        EXPECT_FALSE(child->Visible());
        // Without a record the caption bar and a line; with one, the panel less its client.
        EXPECT_EQ(panel->Height(), skinned ? 150 - (150 - 20 - 4) : 22 + 1);
        EXPECT_EQ(panel->RealHeight(), 150);
        panel->SetRollUpState(false);
        EXPECT_EQ(panel->Height(), 150);
        EXPECT_TRUE(child->Visible());
        EXPECT_TRUE(hidden->Visible());
        EXPECT_EQ(told, 2);
        // Without RollUpMode nothing rolls.
        panel->SetRollUpMode(false);
        panel->SetRollUpState(true);
        EXPECT_FALSE(panel->RollUpState());
        EXPECT_EQ(panel->Height(), 150);
        panel->Free();
    }
}

TEST_F(Panels, ASkinChangeRollsARolledUpPanelUpAgainWithTheNewCaptionHeight) {
    auto* panel = Make<TbsSkinPanel>(10, 10, 200, 150);
    panel->SetCaptionMode(true);
    panel->SetRollUpMode(true);
    panel->SetRollUpState(true);
    ASSERT_EQ(panel->Height(), 23);
    Load(PanelSkin());
    // The record keeps the caption band and the bottom border: 20 + 4.
    EXPECT_EQ(panel->Height(), 24);
    EXPECT_EQ(panel->RealHeight(), 150);
    auto* child = Make<TbsSkinCheckRadioBox>(0, 0, 50, 20, "", panel);
    child->Hide();
    child->SetAlign(vcl::alClient);
    panel->SetRollUpState(false);
    EXPECT_EQ(panel->Height(), 150);
    // Alignment is back on: the child fills the client again.
    EXPECT_EQ(child->BoundsRect(), (TRect{4, 20, 196, 146}));
}

TEST_F(Panels, AGroupBoxWhoseClientLiesAboveItsCaptionPaintsWithoutForcedBackground) {
    Load(PanelSkin());
    auto* group = Make<TbsSkinGroupBox>(10, 10, 200, 150);
    auto* panel = Make<TbsSkinPanel>(220, 10, 100, 100);
    group->Repaint();
    EXPECT_TRUE(group->CaptionMode());
    EXPECT_FALSE(group->ForcebackGround());
    EXPECT_TRUE(panel->ForcebackGround());
}

TEST_F(Panels, ChildrenAlignInsideTheAdjustedClientRectangle) {
    struct TCase {
        const char* What;
        bool Skin;
        bool Background;
        TbsSkinBorderStyle Border;
        bool Caption;
        TRect Child;
    };
    const TCase cases[] = {
        {"frame", false, false, bvFrame, false, {1, 1, 199, 149}},
        {"raised", false, false, bvRaised, false, {1, 1, 199, 149}},
        {"lowered, caption", false, false, bvLowered, true, {1, 23, 199, 149}},
        {"none", false, false, bvNone, false, {0, 0, 200, 150}},
        {"none, caption", false, false, bvNone, true, {0, 22, 200, 150}},
        {"record", true, false, bvFrame, false, {4, 20, 196, 146}},
        {"record, none", true, false, bvNone, false, {0, 0, 200, 150}},
        {"record, none, caption", true, false, bvNone, true, {4, 20, 196, 146}},
        {"background picture", true, true, bvFrame, true, {0, 0, 200, 150}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        if (c.Skin) Load(PanelSkin(c.Background));
        auto* panel = Make<TbsSkinPanel>(10, 10, 200, 150);
        panel->SetBorderStyle(c.Border);
        panel->SetCaptionMode(c.Caption);
        auto* child = Plain<vcl::TPanel>(Form, panel, 0, 0, 10, 10);
        child->SetAlign(vcl::alClient);
        EXPECT_EQ(child->BoundsRect(), c.Child);
        panel->Free();
    }
}

TEST_F(Panels, AMovingTransparentPanelRepaintsTheFlatBoxInsideOverTheNewBackdrop) {
    Load(PanelSkin());
    auto* back = Make<TbsSkinPaintPanel>(0, 0, 400, 300);
    back->SetSkinData(nullptr);
    back->OnPanelPaint = [](gfx::TCanvas& c, vcl::TRect) {
        c.Brush().SetStyle(gfx::bsSolid);
        c.Brush().SetColor(kLeft);
        c.FillRect({0, 0, 200, 300});
        c.Brush().SetColor(kRight);
        c.FillRect({200, 0, 400, 300});
    };
    auto* glass = Make<TbsSkinPanel>(20, 20, 120, 100, "", back);
    glass->SetTransparentMode(true);
    auto* box = Make<TbsSkinCheckRadioBox>(10, 40, 100, 20, "", glass);
    box->SetCaption("");
    Run();
    EXPECT_EQ(PixelOf(box, 90, 10), kLeft);
    glass->SetLeft(240);
    Run();
    EXPECT_EQ(PixelOf(box, 90, 10), kRight);
    EXPECT_EQ(PixelOf(glass, 60, 10), kRight);
}

// ---- check and radio boxes ----------------------------------------------------------------------

class Boxes : public test::TControlsTest {
public:
    TbsSkinCheckRadioBox* Box(const std::string& name, bool radio, int group, int y) {
        auto* b = Make<TbsSkinCheckRadioBox>(10, y, 150, 22, name);
        b->SetRadio(radio);
        b->SetGroupIndex(group);
        b->SetCaption("&" + name);
        b->OnClick = [this](vcl::TObject* s) {
            Clicks.push_back(static_cast<vcl::TControl*>(s)->Name());
        };
        return b;
    }
    std::vector<std::string> Clicks;
};

TEST_F(Boxes, EventsOfCheckedAndStateFromCode) {
    auto* r1 = Box("R1", true, 1, 10);
    auto* r2 = Box("R2", true, 1, 40);
    auto* c1 = Box("C1", false, 1, 70);
    auto* c2 = Box("C2", false, 2, 100);
    struct TStep {
        const char* What;
        std::function<void()> Do;
        std::vector<std::string> Clicks;
    };
    const TStep steps[] = {
        {"check box of group 1 checked", [&] { c1->SetChecked(true); }, {"C1"}},
        {"radio R1 checked clears C1, which tells", [&] { r1->SetChecked(true); }, {"C1", "R1"}},
        {"radio R2 checked clears R1 quietly", [&] { r2->SetChecked(true); }, {"R2"}},
        {"radio cleared says nothing", [&] { r2->SetChecked(false); }, {}},
        {"check box cleared twice tells twice",
         [&] {
             c2->SetChecked(false);
             c2->SetChecked(false);
         },
         {"C2", "C2"}},
        {"grayed tells", [&] { c2->SetState(vcl::cbGrayed); }, {"C2"}},
        {"cleared keeps grayed", [&] { c2->SetChecked(false); }, {"C2"}},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.What);
        Clicks.clear();
        s.Do();
        EXPECT_EQ(Clicks, s.Clicks);
    }
    EXPECT_FALSE(r1->Checked());
    EXPECT_FALSE(c1->Checked());
    EXPECT_EQ(c2->State(), vcl::cbGrayed);
    // Radio at run time keeps the record name and the group.
    c2->SetRadio(true);
    EXPECT_EQ(c2->SkinDataName(), "checkbox");
    EXPECT_EQ(c2->GroupIndex(), 2);
}

TEST_F(Boxes, UserInput) {
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skin" : "no skin");
        if (skinned) Load(PanelSkin());
        auto* c = Box("C", false, 0, 10);
        auto* r = Box("R", true, 0, 40);
        std::vector<std::string> events;
        c->OnMouseDown = [&](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            events.push_back("down");
        };
        c->OnMouseUp = [&](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int, int) {
            events.push_back("up");
        };
        c->OnClick = [&](vcl::TObject*) { events.push_back("click"); };
        Click(c, 30, 10);
        EXPECT_EQ(events, (std::vector<std::string>{"down", "up", "click"}));
        EXPECT_TRUE(c->Checked());
        EXPECT_TRUE(c->Focused());

        r->SetChecked(true);
        Clicks.clear();
        Click(r, 30, 10);
        EXPECT_TRUE(r->Checked());
        EXPECT_TRUE(Clicks.empty());

        // Three clicks with AllowGrayed: grayed, checked, unchecked.
        c->SetChecked(false);
        c->SetAllowGrayed(true);
        events.clear();
        std::vector<vcl::TCheckBoxState> states;
        for (int i = 0; i < 3; ++i) {
            Click(c, 30, 10);
            states.push_back(c->State());
        }
        EXPECT_EQ(states, (std::vector<vcl::TCheckBoxState>{vcl::cbGrayed, vcl::cbChecked,
                                                            vcl::cbUnchecked}));
        EXPECT_EQ(std::count(events.begin(), events.end(), "click"), 3);

        // Space released on the focused box toggles it.
        c->SetAllowGrayed(false);
        c->SetFocus();
        Press(win::VK_SPACE);
        Run();
        EXPECT_TRUE(c->Checked());
        c->Free();
        r->Free();
    }
}

TEST_F(Boxes, TheSkinnedLookFadesInFiveTicksEachWay) {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(80, 40, kFace));
    test::FillArea(*pictures[0], {0, 20, 40, 40}, kBand);
    Load(test::FixtureSkin({{"checkbox", "checkradio",
                             "pictureindex=0\nskinrect=0,0,40,20\nactiveskinrect=0,20,40,40\n"
                             "lefttoppoint=2,2\nrighttoppoint=38,2\nleftbottompoint=2,18\n"
                             "rightbottompoint=38,18\nclientrect=2,2,38,18\nmorphing=1\n"}},
                           std::move(pictures)));
    auto* box = Box("Fade", false, 0, 10);
    box->SetFlat(false);
    box->SetCaption("");
    MoveTo(box, 10, 10);
    std::vector<double> kf;
    for (int i = 0; i < 6; ++i) {
        Wait(20);
        kf.push_back(box->MorphKf());
    }
    EXPECT_EQ(kf, (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1.0, 1.0}));
    EXPECT_EQ(PixelOf(box, 75, 10), kBand);
    MoveAway();
    kf.clear();
    for (int i = 0; i < 6; ++i) {
        Wait(20);
        kf.push_back(box->MorphKf());
    }
    EXPECT_EQ(kf, (std::vector<double>{0.8, 0.6, 0.4, 0.2, 0.0, 0.0}));
    EXPECT_EQ(PixelOf(box, 75, 10), kFace);

    // A record that stops fading half-way in (a skin change): the next tick settles on the
    // pointer's look, shows it, and the fade stops there; leaving shows the normal look at once.
    MoveTo(box, 10, 10);
    Wait(40);
    ASSERT_EQ(box->MorphKf(), 0.4);
    const gfx::TColor halfWay = PixelOf(box, 75, 10);
    ASSERT_NE(halfWay, kFace);
    ASSERT_NE(halfWay, kBand);
    // The record itself stops fading: the box reads it again at every paint.
    TbsSkinData* sd = box->SkinData();
    auto* record = dynamic_cast<TbsDataSkinCheckRadioControl*>(
        sd->CtrlList[std::size_t(sd->GetControlIndex("checkbox"))].get());
    ASSERT_NE(record, nullptr);
    record->Morphing = false;
    box->Morphing = false;
    Wait(20);
    EXPECT_EQ(box->MorphKf(), 1.0);
    EXPECT_EQ(PixelOf(box, 75, 10), kBand) << "the settled face, not the half-way one";
    MoveAway();
    Wait(100);
    EXPECT_EQ(box->MorphKf(), 1.0) << "no tick runs any more";
    EXPECT_EQ(PixelOf(box, 75, 10), kFace) << "no hot look kept";
    // A box freed while its fade runs leaves no tick behind.
    record->Morphing = true;
    box->Morphing = true;
    MoveTo(box, 10, 10);
    Wait(20);
    box->Free();
    Wait(100);
}

TEST_F(Boxes, AcceleratorAndTabStop) {
    auto* first = Plain<vcl::TButton>(Form, nullptr, 200, 10, 80, 22, "First");
    first->SetTabStop(true);
    auto* c = Box("Keep", false, 0, 10);
    auto* last = Plain<vcl::TButton>(Form, nullptr, 200, 40, 80, 22, "Last");
    last->SetTabStop(true);
    first->SetFocus();
    Run();
    // Made in code: Tab passes it by.
    Press(win::VK_TAB);
    Run();
    EXPECT_TRUE(last->Focused());
    c->SetCanFocused(true);
    first->SetFocus();
    Press(win::VK_TAB);
    Run();
    EXPECT_TRUE(c->Focused());
    // Alt+K focuses and toggles.
    first->SetFocus();
    Clicks.clear();
    Screen->KeyDown(win::VK_MENU);
    Press('K');
    Screen->KeyUp(win::VK_MENU);
    Run();
    EXPECT_TRUE(c->Focused());
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(Clicks, (std::vector<std::string>{"Keep"}));
}

}  // namespace
}  // namespace skin
