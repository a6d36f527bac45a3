// The scroll box: the external bars follow the extent of its children (shown, hidden, ranged,
// the corner piece), a bar moves the children, the content comes back when the box grows while
// scrolled, and the frame: non-client border by style or record, and CM_PAINTSKINFRAME. Also the
// scrolling controls in every generated skin.
#include "skin/controls/scroll_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls_test_support.h"
#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/slider.h"
#include "skin/controls/up_down.h"

namespace skin {
namespace {

using gfx::TColor;

class ScrollBoxTest : public test::TControlsTest {
protected:
    void SetUp() override {
        TControlsTest::SetUp();
        Box = Make<TbsSkinScrollBox>(0, 0, 300, 200, "Box");
        Box->SetBorderStyle(bvNone);
        HBar = Make<TbsSkinScrollBar>(0, 200, 300, 19, "HBar");
        VBar = Make<TbsSkinScrollBar>(300, 0, 19, 200, "VBar");
        VBar->SetKind(sbVertical);
        VBar->SetSkinDataName("vscrollbar");
        Box->SetHScrollBar(HBar);
        Box->SetVScrollBar(VBar);
        Child = new vcl::TPanel(Form);
        Child->SetParent(Box);
        Child->SetBounds(0, 0, 600, 400);
        Box->UpDateScrollRange();
        Run();
    }
    // Min, Max, Position, PageSize.
    static std::vector<int> RangeOf(const TbsSkinScrollBar* bar) {
        return {bar->Min(), bar->Max(), bar->Position(), bar->PageSize()};
    }
    TbsSkinScrollBox* Box = nullptr;
    TbsSkinScrollBar* HBar = nullptr;
    TbsSkinScrollBar* VBar = nullptr;
    vcl::TPanel* Child = nullptr;
};

TEST_F(ScrollBoxTest, ContentLargerThanTheViewShowsBothBars) {
    EXPECT_EQ(Box->ClientWidth(), 300);
    EXPECT_TRUE(VBar->Visible());
    EXPECT_TRUE(HBar->Visible());
    EXPECT_EQ(RangeOf(VBar), (std::vector<int>{0, 399, 0, 200}));
    EXPECT_EQ(RangeOf(HBar), (std::vector<int>{0, 599, 0, 300}));
    EXPECT_TRUE(HBar->Both()) << "the corner piece while the vertical bar shows";
    EXPECT_FALSE(VBar->CanFocused());
}

TEST_F(ScrollBoxTest, MovingABarMovesTheChildren) {
    VBar->SetPosition(120);
    EXPECT_EQ(Child->Top(), -120);
    HBar->SetPosition(250);
    EXPECT_EQ(Child->Left(), -250);
    VBar->SetPosition(30);
    EXPECT_EQ(Child->Top(), -30);
    Box->VScroll(1000);
    EXPECT_EQ(VBar->Position(), 199) << "VScroll keeps to max - page";
    EXPECT_EQ(Child->Top(), -199);
    Box->HScroll(1000);
    EXPECT_EQ(HBar->Position(), 300);
    EXPECT_EQ(Child->Left(), -300);
}

TEST_F(ScrollBoxTest, SmallContentHidesTheBarsAndComesBack) {
    VBar->SetPosition(100);
    HBar->SetPosition(50);
    Child->SetBounds(Child->Left(), Child->Top(), 100, 100);
    Box->UpDateScrollRange();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Visible());
    EXPECT_FALSE(HBar->Both());
    EXPECT_EQ(Child->Left(), 0);
    EXPECT_EQ(Child->Top(), 0);
    EXPECT_EQ(RangeOf(VBar), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(RangeOf(HBar), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(ScrollBoxTest, GrowingWhileScrolledToTheEndPullsTheContentBack) {
    VBar->SetPosition(1000);
    EXPECT_EQ(VBar->Position(), 200);
    EXPECT_EQ(Child->Top(), -200);
    Box->SetBounds(0, 0, 300, 250);
    EXPECT_EQ(Child->Top(), -150);
    EXPECT_EQ(VBar->Position(), 150);
    EXPECT_EQ(VBar->PageSize(), 250);
    // Growing by more than the scroll position brings the content home and hides the bar.
    Box->SetBounds(0, 0, 300, 500);
    EXPECT_EQ(Child->Top(), 0);
    EXPECT_FALSE(VBar->Visible());
}

TEST_F(ScrollBoxTest, BarsFollowTheBoxVisibility) {
    Box->SetVisible(false);
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Visible());
}

// What CM_PAINTSKINFRAME paints into a white memory DC of the box's size, with its answer.
struct TFrameShot {
    win::LRESULT Answer = 0;
    TColor Corner = 0, Inside = 0;
};

TFrameShot PaintFrame(TbsSkinScrollBox* box) {
    gfx::TDibDC dib = gfx::CreateDibDC(box->Width(), box->Height());
    gfx::FillRect(dib.DC.get(), {0, 0, box->Width(), box->Height()},
                  gfx::CreateSolidBrush(gfx::clWhite));
    TFrameShot shot;
    shot.Answer = box->Perform(CM_PAINTSKINFRAME, win::DcToParam(dib.DC.get()));
    shot.Corner = gfx::GetPixel(dib.DC.get(), 0, 0);
    shot.Inside = gfx::GetPixel(dib.DC.get(), box->Width() / 2, box->Height() / 2);
    return shot;
}

TEST_F(ScrollBoxTest, FrameByStyleWithoutARecord) {
    const TColor shadow = gfx::ColorToRGB(gfx::clBtnShadow),
                 light = gfx::ColorToRGB(gfx::clBtnHighlight);
    struct TCase {
        TbsSkinBorderStyle Style;
        win::LRESULT Answer;
        TColor Corner;
        int ClientWidth;
    };
    for (const TCase c :
         {TCase{bvNone, 0, gfx::clWhite, 300}, TCase{bvFrame, 12851, shadow, 298},
          TCase{bvRaised, 12851, shadow, 298}, TCase{bvLowered, 12851, light, 298}}) {
        SCOPED_TRACE(int(c.Style));
        Box->SetBorderStyle(c.Style);
        Run();
        EXPECT_EQ(Box->ClientWidth(), c.ClientWidth);
        const TFrameShot shot = PaintFrame(Box);
        EXPECT_EQ(shot.Answer, c.Answer);
        EXPECT_EQ(shot.Corner, c.Corner);
        EXPECT_EQ(shot.Inside, gfx::clWhite);
        EXPECT_EQ(Box->Perform(CM_PAINTSKINNC, 0, kPaintSkinNCKey), kPaintSkinNCKey);
    }
    EXPECT_EQ(Box->Perform(CM_PAINTSKINFRAME, 0), 0) << "no DC, no frame";
}

TEST_F(ScrollBoxTest, RecordFrameOrBackgroundPicture) {
    constexpr TColor kEdge = gfx::RGB(90, 10, 10), kInside = gfx::RGB(10, 90, 10),
                     kBack = gfx::RGB(10, 10, 90);
    auto skin = [&](bool background) {
        std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
        pictures.push_back(test::SolidPicture(20, 20, kEdge));
        test::FillArea(*pictures[0], {3, 3, 17, 17}, kInside);
        pictures.push_back(test::SolidPicture(8, 8, kBack));
        return test::FixtureSkin(
            {{"scrollbox", "scrollbox",
              std::string("pictureindex=0\nskinrect=0,0,20,20\nlefttoppoint=3,3\n"
                          "righttoppoint=17,3\nleftbottompoint=3,17\nrightbottompoint=17,17\n"
                          "clientrect=3,3,17,17\n") +
                  (background ? "bgpictureindex=1\n" : "")}},
            std::move(pictures));
    };
    Child->Hide();
    Box->SetBorderStyle(bvFrame);
    Load(skin(false));
    EXPECT_EQ(Box->ClientWidth(), 294);
    TFrameShot shot = PaintFrame(Box);
    EXPECT_EQ(shot.Answer, 12851);
    EXPECT_EQ(shot.Corner, kEdge);
    EXPECT_EQ(PixelOf(Box, 150, 100), kInside) << "the client is the record's client area";

    Load(skin(true));
    EXPECT_EQ(Box->BGPictureIndex, 1);
    EXPECT_EQ(Box->ClientWidth(), 300) << "a background picture has no frame";
    shot = PaintFrame(Box);
    EXPECT_EQ(shot.Answer, 0);
    EXPECT_EQ(shot.Corner, gfx::clWhite);
}

}  // namespace
}  // namespace skin

namespace skin {
namespace {

// Every generated skin: the scrolling controls find their records (the list skin only its
// vertical bar), take them up through the skin-change walk and paint without fault.
class ScrollingControlsInEverySkinTest : public test::TControlsTest {};

TEST_F(ScrollingControlsInEverySkinTest, RecordsFoundAndTakenUp) {
    auto* h = Make<TbsSkinScrollBar>(10, 10, 200, 19, "H");
    auto* v = new TbsSkinScrollBar(Form);
    v->SetKind(sbVertical);
    v->SetSkinDataName("vscrollbar");
    v->SetParent(Form);
    v->SetBounds(220, 10, 19, 150);
    v->SetSkinData(Data);
    auto* slider = Make<TbsSkinSlider>(10, 40, 200, 40, "S");
    auto* upDown = Make<TbsSkinUpDown>(10, 90, 40, 20, "U");
    auto* box = Make<TbsSkinScrollBox>(60, 90, 100, 60, "B");
    for (int skin = 0; skin <= 8; ++skin) {
        SCOPED_TRACE(skin);
        LoadStored(skin);
        Form->Repaint();
        Run();
        const bool listSkin = skin == 8;
        // The list skin carries both bars: its list record names them.
        EXPECT_NE(h->FIndex, -1);
        EXPECT_NE(v->FIndex, -1);
        EXPECT_EQ(slider->FIndex != -1, !listSkin);
        EXPECT_EQ(upDown->FIndex != -1, !listSkin);
        EXPECT_EQ(box->FIndex != -1, !listSkin);
        EXPECT_EQ(h->Height(), 19);
        EXPECT_EQ(v->Width(), 19);
        if (!listSkin) {
            EXPECT_GT(slider->RulerLength(), 100);
            // The record's buttons lie inside the up-down it sizes.
            const TRect all{0, 0, upDown->Width(), upDown->Height()};
            EXPECT_EQ(gfx::IntersectRect(upDown->Button(0).R, all), upDown->Button(0).R);
            EXPECT_EQ(gfx::IntersectRect(upDown->Button(1).R, all), upDown->Button(1).R);
        }
    }
}

}  // namespace
}  // namespace skin
