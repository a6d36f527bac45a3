// Frame geometry: the skin's values at the form's size, the caption-button rows, the hit test
// with and without a skin, and the window region cut from the mask.
#include "skin/form/form_test_support.h"

namespace skin::test {
namespace {

using TFrameGeometry = TFormSkinTest;

gfx::TPoint Shift(gfx::TPoint p, int dx) {
    return {p.X + dx, p.Y};
}

TEST_F(TFrameGeometry, AFormOfThePicturesSizeTakesTheSkinsValues) {
    TbsSkinForm* sf = SkinnedForm();
    const TbsSkinData& sd = *sf->SkinData();
    EXPECT_EQ(sf->NewLTPoint, sd.LTPoint);
    EXPECT_EQ(sf->NewRTPoint, sd.RTPoint);
    EXPECT_EQ(sf->NewLBPoint, sd.LBPoint);
    EXPECT_EQ(sf->NewRBPoint, sd.RBPoint);
    EXPECT_EQ(sf->NewClRect, sd.ClRect);
    EXPECT_EQ(sf->NewCaptionRect, sd.CaptionRect);
    EXPECT_EQ(sf->NewButtonsRect, sd.ButtonsRect);
    EXPECT_EQ(sf->NewMaskRectArea, sd.MaskRectArea);
    EXPECT_EQ(sf->NewHitTestRBPoint, sd.HitTestRBPoint);
    EXPECT_EQ(sf->NewButtonsOffset, kButtonsOffset);
    EXPECT_FALSE(sf->ButtonsInLeft);
    EXPECT_EQ(Object(sf, "morphbutton")->ObjectRect, kMorphRect);
}

TEST_F(TFrameGeometry, AWiderFormMovesTheRightHandParts) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight);
    const TbsSkinData& sd = *sf->SkinData();
    EXPECT_EQ(sf->NewLTPoint, sd.LTPoint);
    EXPECT_EQ(sf->NewLBPoint, sd.LBPoint);
    EXPECT_EQ(sf->NewRTPoint, Shift(sd.RTPoint, 100));
    EXPECT_EQ(sf->NewRBPoint, Shift(sd.RBPoint, 100));
    EXPECT_EQ(sf->NewClRect,
              (gfx::TRect{kClRect.Left, kClRect.Top, kClRect.Right + 100, kClRect.Bottom}));
    EXPECT_EQ(sf->NewCaptionRect.Right, kCaptionRect.Right + 100);
    EXPECT_EQ(sf->NewCaptionRect.Left, kCaptionRect.Left);
    gfx::TRect buttons = kButtonsRect;
    buttons = buttons.Offset(100, 0);
    EXPECT_EQ(sf->NewButtonsRect, buttons);
    EXPECT_EQ(Object(sf, "closebutton")->ObjectRect,
              (gfx::TRect{buttons.Right - 16, buttons.Top, buttons.Right, buttons.Top + 14}));
    // Pictures in one zone keep their place; the caption spans into the right zone and grows.
    EXPECT_EQ(Object(sf, "morphbutton")->ObjectRect, kMorphRect);
    EXPECT_EQ(Object(sf, "caption")->ObjectRect.Right, kCaptionRect.Right + 100);

    // A button rectangle left of the picture's middle stays where it is.
    sf->SkinData()->ButtonsRect = {8, 6, 100, 24};
    sf->CalcSkinRects();
    EXPECT_EQ(sf->NewButtonsRect, (gfx::TRect{8, 6, 100, 24}));
}

TEST_F(TFrameGeometry, MapsRectanglesByTheZonesTheyLieIn) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 40, kPictureHeight + 30);
    const struct {
        gfx::TRect In, Out;
    } cases[] = {
        {{2, 2, 10, 10}, {2, 2, 10, 10}},            // left top corner
        {{200, 2, 210, 10}, {240, 2, 250, 10}},      // right top
        {{2, 92, 10, 98}, {2, 122, 10, 128}},        // left bottom
        {{200, 92, 210, 98}, {240, 122, 250, 128}},  // right bottom
        {{2, 2, 200, 95}, {2, 2, 240, 125}},         // left top to right bottom
        {{2, 2, 200, 10}, {2, 2, 240, 10}},          // along the top
        {{2, 92, 200, 98}, {2, 122, 240, 128}},      // along the bottom
        {{2, 2, 10, 95}, {2, 2, 10, 125}},           // down the left
        {{200, 2, 210, 95}, {240, 2, 250, 125}},     // down the right
        {{40, 40, 60, 60}, {40, 40, 60, 60}},        // the middle stays
    };
    for (const auto& c : cases)
        EXPECT_EQ(sf->MapSkinRect(c.In), c.Out) << c.In.Left << "," << c.In.Top;
}

TEST_F(TFrameGeometry, ButtonRowsLeaveNoGapsAndPutTheSystemMenuAtTheCaptionsStart) {
    struct TCase {
        const char* Name;
        bool Left;
        bool UseButtonsRect;
        // Left edges of close, minimize, roll-up, tray (maximize is missing from the skin).
        int Close, Min, RollUp, Tray;
        gfx::TRect SysMenu;
        int CaptionLeft, CaptionRight;
    };
    const int captionTop = kCaptionRect.Top + kCaptionRect.Height() / 2 - 7;
    const TCase cases[] = {
        {"right, button rectangle",
         false,
         true,
         215,
         197,
         179,
         161,
         {30, captionTop, 46, captionTop + 14},
         46,
         kCaptionRect.Right},
        {"right, caption row",
         false,
         false,
         112,
         94,
         76,
         58,
         {30, captionTop, 46, captionTop + 14},
         46,
         58},
        {"left, caption row",
         true,
         false,
         30,
         48,
         66,
         84,
         {102, 5, 118, 19},
         122,
         kCaptionRect.Right},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TSkinOptions options;
        options.ButtonsInLeft = c.Left;
        options.UseButtonsRect = c.UseButtonsRect;
        vcl::TForm* form = MakeForm();
        auto* sf = new TbsSkinForm(form);
        sf->FBorderIcons += biMinimizeToTray;
        TbsSkinData* sd = MakeSkin(options);
        sd->ObjectList.erase(sd->ObjectList.begin() + sd->GetIndex("maxbutton"));
        sf->SetSkinData(sd);
        EXPECT_EQ(sf->GetIndex("maxbutton"), -1);
        EXPECT_EQ(Object(sf, "closebutton")->ObjectRect.Left, c.Close);
        EXPECT_EQ(Object(sf, "minbutton")->ObjectRect.Left, c.Min);
        EXPECT_EQ(Object(sf, "rollupbutton")->ObjectRect.Left, c.RollUp);
        EXPECT_EQ(Object(sf, "traybutton")->ObjectRect.Left, c.Tray);
        EXPECT_EQ(Object(sf, "sysmenubutton")->ObjectRect, c.SysMenu);
        EXPECT_EQ(Object(sf, "caption")->ObjectRect.Left, c.CaptionLeft);
        EXPECT_EQ(Object(sf, "caption")->ObjectRect.Right, c.CaptionRight);
        form->Free();
    }
}

TEST_F(TFrameGeometry, HitTestWithASkin) {
    TbsSkinForm* sf = SkinnedForm();
    struct TCase {
        gfx::TPoint P;
        int Normal, Maximized, RolledUp;
    };
    const TCase cases[] = {
        {{2, 4}, win::HTTOPLEFT, win::HTOBJECT, win::HTOBJECT},
        {{233, 4}, win::HTTOPRIGHT, win::HTOBJECT, win::HTOBJECT},
        {{2, 96}, win::HTBOTTOMLEFT, win::HTOBJECT, win::HTOBJECT},
        {{233, 96}, win::HTBOTTOMRIGHT, win::HTOBJECT, win::HTOBJECT},
        {{2, 50}, win::HTLEFT, win::HTOBJECT, win::HTOBJECT},
        {{233, 50}, win::HTRIGHT, win::HTOBJECT, win::HTOBJECT},
        {{100, 2}, win::HTTOP, win::HTOBJECT, win::HTOBJECT},
        {{100, 97}, win::HTBOTTOM, win::HTOBJECT, win::HTOBJECT},
        {{80, 15}, win::HTCAPTION, win::HTCAPTION, win::HTCAPTION},
        {{100, 60}, win::HTCLIENT, win::HTCLIENT, win::HTOBJECT},
        {{220, 12}, win::HTOBJECT, win::HTOBJECT, win::HTOBJECT},  // the close button
        {{7, 27}, win::HTOBJECT, win::HTOBJECT, win::HTOBJECT},    // dead frame inside the mask
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.P.X << "," << c.P.Y);
        sf->FWindowState = vcl::wsNormal;
        sf->FRollUpState = false;
        EXPECT_EQ(sf->GetHitTest(c.P), c.Normal);
        sf->FWindowState = vcl::wsMaximized;
        EXPECT_EQ(sf->GetHitTest(c.P), c.Maximized);
        sf->FWindowState = vcl::wsNormal;
        sf->FRollUpState = true;
        EXPECT_EQ(sf->GetHitTest(c.P), c.RolledUp);
    }
    sf->FRollUpState = false;
    // With an object under the mouse the frame outside the client area belongs to it.
    sf->ActiveObject = sf->GetIndex("closebutton");
    EXPECT_EQ(sf->GetHitTest({2, 50}), win::HTOBJECT);
    EXPECT_EQ(sf->GetHitTest({80, 15}), win::HTCAPTION);
    EXPECT_EQ(sf->GetHitTest({100, 60}), win::HTCLIENT);
    sf->ActiveObject = -1;
    // A form that cannot be sized has no sizing codes.
    sf->FForm->SetBorderStyle(vcl::bsSingle);
    EXPECT_EQ(sf->GetHitTest({2, 4}), win::HTOBJECT);
    EXPECT_EQ(sf->GetHitTest({80, 15}), win::HTCAPTION);
}

TEST_F(TFrameGeometry, HitTestWithoutASkin) {
    vcl::TForm* form = MakeForm(300, 200);
    auto* sf = new TbsSkinForm(form);
    const int w = 300, h = 200;
    struct TCase {
        gfx::TPoint P;
        int Code;
    };
    const TCase cases[] = {
        {{0, 0}, win::HTTOPLEFT},
        {{2, 2}, win::HTTOPLEFT},
        {{w - 2, 1}, win::HTTOPRIGHT},
        {{1, h - 2}, win::HTBOTTOMLEFT},
        {{w - 1, h - 1}, win::HTBOTTOMRIGHT},
        {{2, 100}, win::HTLEFT},
        {{100, 2}, win::HTTOP},
        {{w - 2, 100}, win::HTRIGHT},
        {{100, h - 2}, win::HTBOTTOM},
        {{w - 3, 100}, win::HTOBJECT},
        {{100, h - 3}, win::HTOBJECT},
        {{3, 100}, win::HTCLIENT},
        {{100, 10}, win::HTCAPTION},
        {{100, 100}, win::HTCLIENT},
    };
    for (const TCase& c : cases) EXPECT_EQ(sf->GetDefHitTest(c.P), c.Code) << c.P.X << "," << c.P.Y;
    sf->FWindowState = vcl::wsMaximized;
    EXPECT_EQ(sf->GetDefHitTest({0, 0}), win::HTOBJECT);
    EXPECT_EQ(sf->GetDefHitTest({100, 10}), win::HTCAPTION);
}

TEST_F(TFrameGeometry, PointInMaskReadsTheStripsForTheCurrentSize) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 50, kPictureHeight + 20);
    const int w = kPictureWidth + 50, h = kPictureHeight + 20;
    EXPECT_FALSE(sf->PointInMask({0, 0}));
    EXPECT_TRUE(sf->PointInMask({kCut, 0}));
    EXPECT_FALSE(sf->PointInMask({w - 1, 0}));
    EXPECT_FALSE(sf->PointInMask({0, h - 1}));
    EXPECT_FALSE(sf->PointInMask({w - 1, h - 1}));
    EXPECT_TRUE(sf->PointInMask({w - 1, h - 1 - kCut}));
    EXPECT_TRUE(sf->PointInMask({w / 2, h / 2}));
    EXPECT_FALSE(sf->PointInMask({-1, 50}));
    EXPECT_FALSE(sf->PointInMask({w, 50}));
}

TEST_F(TFrameGeometry, TheMaskCutsTheWindowsCorners) {
    vcl::TForm* below = MakeForm(400, 300, "Below");
    below->SetBounds(50, 50, 400, 300);
    below->SetColor(gfx::clRed);
    Run();
    TbsSkinForm* sf = SkinnedForm();
    Run();
    const win::HWND top = sf->FForm->Handle();
    ASSERT_TRUE(sf->FRgn);
    // Frame (0, 0) is at the screen point (100, 100).
    EXPECT_EQ(win::WindowFromPoint({100, 100}), below->Handle());
    EXPECT_EQ(ScreenPixel(100, 100), gfx::clRed);
    EXPECT_EQ(win::WindowFromPoint({100 + kPictureWidth - 1, 100 + kPictureHeight - 1}),
              below->Handle());
    EXPECT_EQ(win::WindowFromPoint({100 + kCut, 100}), top);
    EXPECT_EQ(win::WindowFromPoint({150, 150}), top);
    EXPECT_NE(ScreenPixel(150, 150), gfx::clRed);

    // A skin without a mask gives the whole rectangle back.
    sf->SkinData()->FMask = std::make_unique<gfx::TBitmap>();
    sf->ChangeSkinData();
    Run();
    EXPECT_EQ(*sf->FRgn, gfx::TRegion(gfx::TRect{0, 0, kPictureWidth, kPictureHeight}));
    EXPECT_EQ(win::WindowFromPoint({100, 100}), top);
    EXPECT_NE(ScreenPixel(100, 100), gfx::clRed);
}

TEST_F(TFrameGeometry, ASystemFrameHasNoRegion) {
    TbsSkinForm* sf = SkinnedForm();
    ASSERT_TRUE(sf->FRgn);
    sf->SetSkinnableForm(false);
    EXPECT_FALSE(sf->FRgn);
    gfx::TRegion region;
    EXPECT_EQ(win::GetWindowRgn(sf->FForm->Handle(), region), gfx::RGN_ERROR);
    EXPECT_TRUE(sf->ObjectList.empty());
    EXPECT_FALSE(sf->FForm->BorderIcons().Empty());
}

}  // namespace
}  // namespace skin::test
