// The skinned control bases, windowed and windowless: record look-up by name, the size rules of
// each ResizeMode, where rectangles of the skin land, which builder paints, the default look and
// sizes without a record, the skin-change walk and the window region cut from a mask.
#include "skin/controls/skin_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls_test_support.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/core/skin_images.h"

namespace skin {
namespace {

using gfx::TColor;
using test::TRecordText;

// The bases with their painting open to the tests.
class TWindowedProbe : public TbsSkinCustomControl {
public:
    using TbsSkinCustomControl::CreateControlSkinImage;
    using TbsSkinCustomControl::TbsSkinCustomControl;
    int Paints = 0;
    int Checks = 0;
    void CheckParentBackground() override { ++Checks; }

protected:
    void Paint() override {
        ++Paints;
        TbsSkinCustomControl::Paint();
    }
};

class TGraphicProbe : public TbsGraphicSkinCustomControl {
public:
    using TbsGraphicSkinCustomControl::CreateControlSkinImage;
    using TbsGraphicSkinCustomControl::TbsGraphicSkinCustomControl;
};

constexpr TColor kMarker = gfx::RGB(1, 2, 3);

// A record per ResizeMode and one of another kind, all on one patterned 60 x 40 picture.
TbsSkinContent ModesSkin() {
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::PatternPicture(60, 40, 5));
    return test::FixtureSkin(
        {
            {"none", "panel", "pictureindex=0\nskinrect=0,0,0,20\n"},
            {"fixed", "panel", "pictureindex=0\nskinrect=0,0,30,20\nclientrect=2,2,28,18\n"},
            {"nine", "panel",
             "pictureindex=0\nskinrect=0,0,30,20\nlefttoppoint=4,4\nrighttoppoint=26,4\n"
             "leftbottompoint=4,16\nrightbottompoint=26,16\nclientrect=4,4,26,16\n"
             "leftstretch=1\ntopstretch=0\nstretcheffect=1\n"},
            {"horz", "panel",
             "pictureindex=0\nskinrect=0,20,30,30\nlefttoppoint=5,0\nrighttoppoint=25,0\n"
             "clientrect=5,2,25,8\n"},
            {"vert", "panel",
             "pictureindex=0\nskinrect=30,0,40,40\nlefttoppoint=0,5\nleftbottompoint=0,35\n"
             "clientrect=2,5,8,35\n"},
            {"label", "stdlabel", "pictureindex=0\nskinrect=0,0,30,20\n"},
        },
        std::move(pictures));
}

struct TModeCase {
    const char* Name;
    int Mode;
    int Width, Height;  // after SetBounds(.., 300, 80)
    TRect NewClRect;
    std::vector<std::pair<TRect, TRect>> Maps;  // rectangle of the skin -> at 300 x 80
};

std::vector<TModeCase> ModeCases() {
    return {
        {"none", kResizeNone, 300, 80, {}, {{{1, 1, 3, 3}, {1, 1, 3, 3}}}},
        {"fixed", kResizeFixed, 30, 20, {2, 2, 28, 18}, {{{27, 17, 29, 19}, {27, 17, 29, 19}}}},
        {"nine",
         kResizeFree,
         300,
         80,
         {4, 4, 296, 76},
         {
             {{1, 1, 3, 3}, {1, 1, 3, 3}},            // left-top corner stays
             {{27, 1, 29, 3}, {297, 1, 299, 3}},      // right-top corner moves right
             {{1, 17, 3, 19}, {1, 77, 3, 79}},        // left-bottom moves down
             {{27, 17, 29, 19}, {297, 77, 299, 79}},  // right-bottom moves both ways
             {{2, 2, 28, 18}, {2, 2, 298, 78}},       // from left-top to right-bottom grows
             {{2, 1, 28, 3}, {2, 1, 298, 3}},         // across the top grows wider
             {{10, 8, 12, 10}, {10, 8, 12, 10}},      // in the middle stays
         }},
        {"horz",
         kResizeHorz,
         300,
         10,
         {5, 2, 295, 8},
         {{{0, 0, 30, 10}, {0, 0, 300, 10}},
          {{26, 1, 28, 3}, {296, 1, 298, 3}},
          {{1, 1, 3, 3}, {1, 1, 3, 3}}}},
        {"vert",
         kResizeVert,
         10,
         80,
         {2, 5, 8, 75},
         {{{0, 0, 10, 40}, {0, 0, 10, 80}}, {{1, 36, 3, 38}, {1, 76, 3, 78}}}},
        // Another kind: no geometry to fit by, so the size stays as asked.
        {"label", kResizeFixed, 300, 80, {}, {{{1, 1, 3, 3}, {1, 1, 3, 3}}}},
    };
}

std::vector<uint32_t> PixelsOf(const gfx::TBitmap& b) {
    return b.ToImage().Pixels;
}

// What the record's builder makes at 300 x 80, or the marker left alone when nothing draws.
std::vector<uint32_t> Expected(const TbsSkinGeometry& g, int mode, int w, int h) {
    gfx::TBitmap b;
    b.SetSize(w, h);
    test::FillArea(b, {0, 0, w, h}, kMarker);
    switch (mode) {
        case kResizeFixed:
            if (!g.Picture) break;
            b.SetSize(30, 20);
            b.Canvas().CopyRect({0, 0, 30, 20}, g.Picture->Canvas(), g.SkinRect);
            break;
        case kResizeFree:
            BuildNineSliceImage(g.LTPt, g.RTPt, g.LBPt, g.RBPt, g.ClRect, g.NewLTPoint,
                                g.NewRTPoint, g.NewLBPoint, g.NewRBPoint, g.NewClRect, b,
                                *g.Picture, g.SkinRect, w, h, true, true, false, false, false, true,
                                bsstFull);
            break;
        case kResizeHorz:
            BuildHorzSkinStrip(5, 5, b, *g.Picture, g.SkinRect, w, h, false);
            break;
        case kResizeVert:
            BuildVertSkinStrip(5, 5, b, *g.Picture, g.SkinRect, w, h, false);
            break;
        default:
            break;
    }
    return PixelsOf(b);
}

template <class TProbe>
void CheckModes(test::TControlsTest& t) {
    t.Load(ModesSkin());
    for (const TModeCase& c : ModeCases()) {
        SCOPED_TRACE(c.Name);
        auto* control = t.Make<TProbe>(10, 10, 50, 30);
        control->SetSkinDataName(c.Name);
        control->SetBounds(5, 6, 300, 80);
        EXPECT_EQ(control->ResizeMode, c.Mode);
        EXPECT_EQ(control->Left(), 5);
        EXPECT_EQ(control->Top(), 6);
        EXPECT_EQ(control->Width(), c.Width);
        EXPECT_EQ(control->Height(), c.Height);
        if (c.Mode != kResizeNone) {
            EXPECT_EQ(control->NewClRect, c.NewClRect);
        }
        EXPECT_EQ(control->RealClientRect(), control->NewClRect);
        for (const auto& [from, to] : c.Maps) {
            TRect mapped;
            control->MapSkinRect(from, mapped);
            EXPECT_EQ(mapped, to) << from.Left << "," << from.Top;
        }
        gfx::TBitmap b;
        b.SetSize(control->Width(), control->Height());
        test::FillArea(b, {0, 0, b.Width(), b.Height()}, kMarker);
        control->CreateControlSkinImage(b);
        EXPECT_EQ(PixelsOf(b), Expected(*control, c.Mode, control->Width(), control->Height()));
        control->Free();
    }
}

class SkinControlTest : public test::TControlsTest {};

TEST_F(SkinControlTest, EachResizeModeFitsMapsAndPaintsByItsRule) {
    CheckModes<TWindowedProbe>(*this);
}

TEST_F(SkinControlTest, TheGraphicBaseFitsAndPaintsTheSame) {
    CheckModes<TGraphicProbe>(*this);
}

TEST_F(SkinControlTest, RecordlessControlsShowButtonFaceAndTakeTheirDefaultSizeAtTheSkinChange) {
    auto* windowed = Make<TWindowedProbe>(10, 10, 50, 30, "W");
    auto* graphic = Make<TGraphicProbe>(100, 10, 50, 30, "G");
    windowed->SetSkinDataName("missing");
    graphic->SetSkinDataName("missing");
    windowed->SetDefaultWidth(0);  // 0 never sizes
    EXPECT_EQ(windowed->Width(), 50);
    windowed->SetDefaultWidth(70);  // no record yet: taken at once
    EXPECT_EQ(windowed->Width(), 70);
    windowed->SetDefaultHeight(40);
    graphic->SetDefaultHeight(0);
    EXPECT_EQ(graphic->Height(), 30);
    Run();
    EXPECT_EQ(PixelOf(windowed, 5, 5), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(PixelOf(graphic, 5, 5), gfx::ColorToRGB(gfx::clBtnFace));

    // With a record the default size is only stored.
    Load(ModesSkin());
    windowed->SetSkinDataName("nine");
    windowed->SetBounds(10, 10, 120, 60);
    windowed->SetDefaultWidth(90);
    EXPECT_EQ(windowed->Width(), 120);

    // A skin that lacks the name: the default look and the default size at the change.
    windowed->SetWidth(200);
    graphic->SetDefaultWidth(33);
    graphic->SetDefaultHeight(22);
    windowed->SetSkinDataName("missing");
    Load(ModesSkin());
    EXPECT_EQ(windowed->Width(), 90);
    EXPECT_EQ(windowed->Height(), 40);
    EXPECT_EQ(graphic->Width(), 33);
    EXPECT_EQ(graphic->Height(), 22);
    Run();
    EXPECT_EQ(PixelOf(windowed, 5, 5), gfx::ColorToRGB(gfx::clBtnFace));
}

TEST_F(SkinControlTest, AMissingNameShowsTheDefaultLookAtTheNextPaint) {
    Load(ModesSkin());
    auto* control = Make<TWindowedProbe>(10, 10, 30, 20);
    control->SetSkinDataName("fixed");
    control->Repaint();
    Run();
    EXPECT_NE(PixelOf(control, 5, 5), gfx::ColorToRGB(gfx::clBtnFace));
    control->SetSkinDataName("Fixed");  // names are exact
    control->Repaint();
    Run();
    EXPECT_EQ(control->FIndex, -1);
    EXPECT_EQ(PixelOf(control, 5, 5), gfx::ColorToRGB(gfx::clBtnFace));
}

TEST_F(SkinControlTest, AnEmptySkinDataIsOnlyStored) {
    auto* control = Make<TWindowedProbe>(10, 10, 30, 20);
    auto* other = new TbsSkinData(Form);
    control->SetSkinDataName("fixed");
    control->SetSkinData(other);
    EXPECT_EQ(control->SkinData(), other);
    EXPECT_EQ(control->FIndex, -1);
    EXPECT_EQ(control->Width(), 30);
}

TEST_F(SkinControlTest, TheWalkForgetsRecordsBeforeTheChangeAndPaintsFromTheNewSkinOnly) {
    Load(ModesSkin());
    auto* windowed = Make<TWindowedProbe>(10, 10, 100, 40);
    auto* graphic = Make<TGraphicProbe>(150, 10, 100, 40);
    windowed->SetSkinDataName("nine");
    graphic->SetSkinDataName("nine");
    auto* unbound = Make<TWindowedProbe>(10, 100, 30, 20);
    unbound->SetSkinData(nullptr);
    unbound->FIndex = 7;  // the walk leaves controls of other skin data alone

    // Outside the walk's hook: the walk has run when WM_BEFORECHANGESKINDATA comes back, and
    // not yet when WM_CHANGESKINDATA arrives.
    std::vector<std::string> seen;
    vcl::TWndMethod old = Form->WindowProc;
    Form->WindowProc = [&](vcl::TMessage& m) {
        if (m.Msg == WM_CHANGESKINDATA) {
            seen.push_back("between " + std::to_string(windowed->FIndex));
            // A paint here looks up the new skin (AddressSanitizer watches the old pictures).
            windowed->Repaint();
            seen.push_back("painted " + std::to_string(windowed->FIndex));
        }
        old(m);
        if (m.Msg == WM_BEFORECHANGESKINDATA)
            seen.push_back("before " + std::to_string(windowed->FIndex) + " " +
                           std::to_string(graphic->FIndex));
    };
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(30, 20, gfx::RGB(0, 200, 0)));
    Load(test::FixtureSkin({{"nine", "panel",
                             "pictureindex=0\nskinrect=0,0,30,20\nlefttoppoint=4,4\n"
                             "righttoppoint=26,4\nleftbottompoint=4,16\nrightbottompoint=26,16\n"
                             "clientrect=4,4,26,16\n"}},
                           std::move(pictures), "Green"));
    Form->WindowProc = old;
    EXPECT_EQ(seen, (std::vector<std::string>{"before -1 -1", "between -1", "painted 0"}));
    EXPECT_EQ(unbound->FIndex, 7);
    Run();
    EXPECT_EQ(PixelOf(windowed, 50, 20), gfx::RGB(0, 200, 0));
    EXPECT_EQ(PixelOf(graphic, 50, 20), gfx::RGB(0, 200, 0));
    unbound->FIndex = -1;
}

TEST_F(SkinControlTest, FreeingTheSkinDataClearsItOnEveryControl) {
    Load(ModesSkin());
    auto* panel = Make<TWindowedProbe>(10, 10, 200, 100);
    panel->SetSkinDataName("nine");
    auto* inner = Make<TWindowedProbe>(10, 10, 50, 30, "", panel);
    auto* graphic = Make<TGraphicProbe>(10, 50, 50, 30, "", panel);
    Data->Free();
    Data = nullptr;
    for (TbsSkinClient* c : std::initializer_list<TbsSkinClient*>{panel, inner, graphic})
        EXPECT_EQ(c->SkinData(), nullptr);
    panel->Repaint();
    Run();
    EXPECT_EQ(PixelOf(panel, 100, 5), gfx::ColorToRGB(gfx::clBtnFace));
}

TEST_F(SkinControlTest, AStretchedRecordTellsTheChildrenTheirBackgroundMoved) {
    Load(ModesSkin());
    auto* panel = Make<TWindowedProbe>(10, 10, 200, 100);
    panel->SetSkinDataName("nine");  // stretcheffect=1
    auto* child = Make<TWindowedProbe>(5, 5, 20, 20, "", panel);
    child->SetSkinData(nullptr);
    panel->Paints = 0;
    panel->SetBounds(10, 10, 200, 100);  // unchanged size: no repaint, still a broadcast
    EXPECT_EQ(child->Checks, 1);
    Run();
    EXPECT_EQ(panel->Paints, 0);
    panel->SetSkinDataName("fixed");
    panel->SetBounds(10, 10, 200, 100);
    EXPECT_EQ(child->Checks, 1);
}

TEST_F(SkinControlTest, TheForcedBackgroundDrawsBordersAndTilesOrStretchesTheClient) {
    // A red frame round a green client piece whose top-left pixel is blue.
    auto picture = test::SolidPicture(30, 20, gfx::RGB(200, 0, 0));
    test::FillArea(*picture, {4, 4, 26, 16}, gfx::RGB(0, 200, 0));
    test::FillArea(*picture, {4, 4, 5, 5}, gfx::RGB(0, 0, 200));
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(std::move(picture));
    const std::string nine =
        "pictureindex=0\nskinrect=0,0,30,20\nlefttoppoint=4,4\nrighttoppoint=26,4\n"
        "leftbottompoint=4,16\nrightbottompoint=26,16\nclientrect=4,4,26,16\n"
        "leftstretch=1\ntopstretch=1\nrightstretch=1\nbottomstretch=1\n";
    Load(test::FixtureSkin(
        {{"tiled", "panel", nine}, {"stretched", "panel", nine + "stretcheffect=1\n"}},
        std::move(pictures)));
    struct TCase {
        const char* Record;
        TColor At26x4;  // where the second tile starts
        TColor At5x5;   // inside the first (stretched) blue pixel
    };
    const TCase cases[] = {{"tiled", gfx::RGB(0, 0, 200), gfx::RGB(0, 200, 0)},
                           {"stretched", gfx::RGB(0, 200, 0), gfx::RGB(0, 0, 200)}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Record);
        auto* control = Make<TWindowedProbe>(10, 10, 100, 60);
        control->SetSkinDataName(c.Record);
        control->SetForcebackGround(true);
        control->Repaint();
        Run();
        EXPECT_EQ(PixelOf(control, 1, 1), gfx::RGB(200, 0, 0));
        EXPECT_EQ(PixelOf(control, 98, 58), gfx::RGB(200, 0, 0));
        EXPECT_EQ(PixelOf(control, 26, 4), c.At26x4);
        EXPECT_EQ(PixelOf(control, 5, 5), c.At5x5);
        EXPECT_EQ(PixelOf(control, 60, 30), gfx::RGB(0, 200, 0));
        control->Free();
    }
}

TEST_F(SkinControlTest, TheMaskCutsTheWindowAndASkinWithoutItGivesTheWholeRectangleBack) {
    // Mask: black inside, the top-left 6 x 6 corner white (outside).
    auto mask = test::SolidPicture(30, 20, gfx::clBlack);
    test::FillArea(*mask, {0, 0, 6, 6}, gfx::clWhite);
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(test::SolidPicture(30, 20, gfx::RGB(200, 0, 0)));
    pictures.push_back(std::move(mask));
    const std::string keys = "pictureindex=0\nmaskpictureindex=1\nskinrect=0,0,30,20\n";
    Load(test::FixtureSkin({{"fixed", "panel", keys}}, std::move(pictures)));
    Form->SetColor(gfx::clWhite);
    auto* control = Make<TWindowedProbe>(40, 40, 30, 20);
    control->SetSkinDataName("fixed");
    control->ChangeSkinData();
    Run();
    Watch(Form);
    Watch(control);
    Click(control, 2, 2);
    EXPECT_EQ(CountHeard("Form", win::WM_LBUTTONDOWN), 1);
    EXPECT_EQ(CountHeard("", win::WM_LBUTTONDOWN), 0);
    EXPECT_EQ(PixelOf(control, 2, 2), gfx::clWhite);
    EXPECT_EQ(PixelOf(control, 10, 10), gfx::RGB(200, 0, 0));

    std::vector<std::unique_ptr<gfx::TBitmap>> plain;
    plain.push_back(test::SolidPicture(30, 20, gfx::RGB(200, 0, 0)));
    Load(test::FixtureSkin({{"fixed", "panel", "pictureindex=0\nskinrect=0,0,30,20\n"}},
                           std::move(plain)));
    Run();
    ForgetHeard();
    Click(control, 2, 2);
    EXPECT_EQ(CountHeard("Form", win::WM_LBUTTONDOWN), 0);
    EXPECT_EQ(PixelOf(control, 2, 2), gfx::RGB(200, 0, 0));
}

}  // namespace
}  // namespace skin
