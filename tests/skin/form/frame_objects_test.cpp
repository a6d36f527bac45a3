// Frame objects driven through their operations: morphing, the mask point test, animation
// frames, the close button's press and release, the default look and the caption text.
#include "skin/form/form_test_support.h"

#include <algorithm>
#include <set>

#include "skin/core/drawing_routines.h"
#include "skin/menus/skin_hint.h"

namespace skin::test {
namespace {

using TFrameObjects = TFormSkinTest;

gfx::TColor PixelOf(gfx::TBitmap& b, int x, int y) {
    return b.Canvas().Pixel(x, y) & 0xFFFFFF;
}

gfx::TPoint Centre(const gfx::TRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST_F(TFrameObjects, AMorphingButtonFadesInAndOutInFiveTicks) {
    TbsSkinForm* sf = SkinnedForm();
    TbsActiveSkinObject* morph = Object(sf, "morphbutton");
    ASSERT_TRUE(morph->EnableMorphing());
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    const gfx::TPoint c = Centre(kMorphRect);

    morph->Draw(frame->Canvas(), true);
    EXPECT_EQ(PixelOf(*frame, c.X, c.Y), kZoneLT);

    morph->MouseEnter();
    EXPECT_TRUE(sf->MorphTimer->Enabled());
    for (int tick = 1; tick <= 5; ++tick) {
        AdvanceMs(25);
        Run();
        EXPECT_DOUBLE_EQ(morph->MorphKf(), tick * 0.2) << tick;
    }
    morph->Draw(frame->Canvas(), true);
    EXPECT_EQ(PixelOf(*frame, c.X, c.Y), 0xA0A0A0);
    AdvanceMs(25);
    Run();
    EXPECT_FALSE(sf->MorphTimer->Enabled());  // nothing left to fade

    morph->MouseLeave();
    for (int tick = 1; tick <= 5; ++tick) {
        AdvanceMs(25);
        Run();
        if (tick == 2) {
            // Half-way the look lies between the two.
            morph->Draw(frame->Canvas(), true);
            const gfx::TColor mid = PixelOf(*frame, c.X, c.Y);
            EXPECT_NE(mid, kZoneLT);
            EXPECT_NE(mid, 0xA0A0A0);
        }
    }
    EXPECT_DOUBLE_EQ(morph->MorphKf(), 0);
    morph->Draw(frame->Canvas(), true);
    EXPECT_EQ(PixelOf(*frame, c.X, c.Y), kZoneLT);
}

TEST_F(TFrameObjects, APointWhereTheMaskIsWhiteDoesNotSelectTheObject) {
    TbsSkinForm* sf = SkinnedForm();
    ASSERT_TRUE(sf->GetFormActive());
    const int morph = sf->GetIndex("morphbutton");
    TbsActiveSkinObject* o = sf->ObjectList[morph].get();

    sf->TestActive(kMorphRect.Left + 2, kMorphRect.Top + 2, true);  // white corner of the mask
    EXPECT_EQ(sf->ActiveObject, -1);
    sf->TestActive(kMorphRect.Left + 12, kMorphRect.Top + 10, true);
    EXPECT_EQ(sf->ActiveObject, morph);
    EXPECT_TRUE(o->Active);
    sf->TestActive(-1, -1, false);
    EXPECT_EQ(sf->ActiveObject, -1);
    EXPECT_FALSE(o->Active);

    // The column and row just past the mask count as white; nothing outside is read.
    EXPECT_TRUE(o->PointInObject(15, 13));
    EXPECT_FALSE(o->PointInObject(16, 13));
    EXPECT_FALSE(o->PointInObject(15, 14));
    // Without a mask the whole rectangle is hot.
    TbsActiveSkinObject* close = Object(sf, "closebutton");
    EXPECT_TRUE(close->PointInObject(0, 0));
}

TEST_F(TFrameObjects, AnAnimationStepsEveryIntervalAndWrapsWhenCyclic) {
    TbsSkinForm* sf = SkinnedForm();
    TbsDataSkinAnimate record("spinner");
    record.CountFrames = 8;
    record.TimerInterval = 100;
    record.Cycle = true;
    TbsSkinAnimateObject a(sf, &record);
    a.Start();
    EXPECT_TRUE(sf->AnimateTimer->Enabled());
    std::vector<int> frames;
    for (int tick = 1; tick <= 36; ++tick) {
        a.ChangeFrame();
        frames.push_back(a.Frame());
    }
    for (int tick = 1; tick <= 36; ++tick)
        EXPECT_EQ(frames[tick - 1], tick / 4 % 8 + 1) << "tick " << tick;
    EXPECT_TRUE(a.Active);

    // Without Cycle the animation stops on its last frame.
    record.Cycle = false;
    TbsSkinAnimateObject once(sf, &record);
    once.Start();
    for (int tick = 0; tick < 40; ++tick)
        if (once.Active) once.ChangeFrame();  // the timer moves active animations only
    EXPECT_EQ(once.Frame(), 8);
    EXPECT_FALSE(once.Active);

    // A short interval is raised to one tick.
    record.TimerInterval = 10;
    EXPECT_EQ(TbsSkinAnimateObject(sf, &record).TimerInterval, 25);
}

TEST_F(TFrameObjects, TheSkinsAnimationDrawsItsFramesFromTheStrip) {
    TbsSkinForm* sf = SkinnedForm();
    auto* a = dynamic_cast<TbsSkinAnimateObject*>(Object(sf, "animate"));
    ASSERT_TRUE(a);
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    const gfx::TPoint c = Centre(kAnimateRect);
    const gfx::TColor colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int f = 1; f <= 3; ++f) {
        a->SetFrame(f);
        a->Draw(frame->Canvas(), true);
        EXPECT_EQ(PixelOf(*frame, c.X, c.Y), colours[f - 1]) << f;
    }
    a->SetFrame(4);
    EXPECT_EQ(a->Frame(), 1);
}

TEST_F(TFrameObjects, TheCloseButtonClosesOnlyWhenReleasedOverIt) {
    TbsSkinForm* sf = SkinnedForm();
    int closes = 0;
    sf->FForm->OnClose = [&](vcl::TObject*, vcl::TCloseAction& action) {
        ++closes;
        action = vcl::caNone;
    };
    auto* close = dynamic_cast<TbsSkinStdButtonObject*>(Object(sf, "closebutton"));
    const gfx::TPoint on = Centre(close->ObjectRect);

    // Press, leave, release: nothing.
    sf->TestActive(on.X, on.Y, true);
    sf->ObjectMouseDown(vcl::mbLeft, on.X, on.Y);
    EXPECT_TRUE(close->Down());
    sf->TestActive(100, 60, true);
    EXPECT_FALSE(close->Active);
    sf->ObjectMouseUp(vcl::mbLeft, 100, 60);
    EXPECT_FALSE(close->Down());
    EXPECT_EQ(closes, 0);

    // The right button runs nothing either.
    sf->TestActive(on.X, on.Y, true);
    sf->ObjectMouseDown(vcl::mbRight, on.X, on.Y);
    sf->ObjectMouseUp(vcl::mbRight, on.X, on.Y);
    EXPECT_EQ(closes, 0);

    // Press and release on it: one close, and the selection is cleared.
    sf->ObjectMouseDown(vcl::mbLeft, on.X, on.Y);
    sf->ObjectMouseUp(vcl::mbLeft, on.X, on.Y);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(close->Down());
    EXPECT_EQ(sf->ActiveObject, -1);
    EXPECT_EQ(sf->MouseCaptureObject, -1);
    EXPECT_EQ(win::GetCapture(), win::HWND{});
}

// The button holds the system menu's items and stays down until that menu closes.
TEST_F(TFrameObjects, TheSystemMenuButtonIsDownWhileItsMenuIsOpen) {
    TbsSkinForm* sf = SkinnedForm();
    auto* sys = dynamic_cast<TbsSkinStdButtonObject*>(Object(sf, "sysmenubutton"));
    const gfx::TPoint on = Centre(sys->ObjectRect);
    sf->TestActive(on.X, on.Y, true);
    sf->ObjectMouseDown(vcl::mbLeft, on.X, on.Y);
    sf->ObjectMouseUp(vcl::mbLeft, on.X, on.Y);
    EXPECT_TRUE(sys->Down());
    EXPECT_EQ(sys->MenuItem, sf->GetSysMenuItems());
    sf->SkinMenu->Hide();
    EXPECT_FALSE(sys->Down());
}

TEST_F(TFrameObjects, DefaultLookOfTheCaptionButtons) {
    vcl::TForm* form = MakeForm();
    auto* sf = new TbsSkinForm(form);
    sf->CreateDefaultButtons();
    auto* close = dynamic_cast<TbsSkinStdButtonObject*>(sf->ObjectList[0].get());
    close->ObjectRect = {0, 0, 17, 17};
    const gfx::TColor text = gfx::ColorToRGB(gfx::clBtnText);

    auto draw = [&](bool active, bool down) {
        close->Active = close->FMouseIn = active;
        close->FDown = down;
        auto b = SolidPicture(17, 17, gfx::clWhite);
        close->Draw(b->Canvas(), true);
        return b;
    };
    auto glyph = [&](gfx::TBitmap& b) {
        std::set<std::pair<int, int>> points;
        for (int y = 1; y < 16; ++y)
            for (int x = 1; x < 16; ++x)
                if (PixelOf(b, x, y) == (text & 0xFFFFFF)) points.insert({x, y});
        return points;
    };

    auto normal = draw(false, false);
    EXPECT_EQ(PixelOf(*normal, 0, 0), gfx::ColorToRGB(gfx::clBtnFace) & 0xFFFFFF);
    auto hot = draw(true, false);
    EXPECT_EQ(PixelOf(*hot, 0, 0), gfx::clNavy);
    EXPECT_EQ(PixelOf(*hot, 16, 16), gfx::clNavy);
    EXPECT_EQ(PixelOf(*hot, 1, 1), 0xD2BDB6);
    auto pressed = draw(true, true);
    EXPECT_EQ(PixelOf(*pressed, 0, 0), gfx::clNavy);
    EXPECT_EQ(PixelOf(*pressed, 1, 1), 0xB59385);

    const auto hotGlyph = glyph(*hot), pressedGlyph = glyph(*pressed);
    ASSERT_FALSE(hotGlyph.empty());
    std::set<std::pair<int, int>> moved;
    for (auto [x, y] : hotGlyph) moved.insert({x + 1, y + 1});
    EXPECT_EQ(pressedGlyph, moved);
    EXPECT_EQ(glyph(*normal), hotGlyph);

    // A disabled button draws its glyph in the shadow colour.
    close->Enabled = false;
    auto disabled = draw(false, false);
    EXPECT_TRUE(glyph(*disabled).empty());
}

// The caption's ink on a white frame picture, as columns.
struct TInk {
    int Left = 1 << 30, Right = -1;
};
TInk InkOf(gfx::TBitmap& b, const gfx::TRect& area) {
    TInk ink;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (PixelOf(b, x, y) != 0xFFFFFF) {
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x + 1);
            }
    return ink;
}

TEST_F(TFrameObjects, CaptionTextIsPlacedByItsAlignment) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 60, kPictureHeight);
    sf->FForm->SetCaption("Moradex");
    auto* caption = dynamic_cast<TbsSkinCaptionObject*>(Object(sf, "caption"));
    ASSERT_TRUE(caption);
    const gfx::TRect tr = caption->TextRectNow();
    EXPECT_EQ(tr.Right, caption->ObjectRect.Width() - (kCaptionRect.Width() - 96));
    const int origin = caption->ObjectRect.Left;

    auto measure = SolidPicture(1, 1, gfx::clWhite);
    measure->Canvas().Font().SetName(caption->FontName);
    measure->Canvas().Font().SetHeight(caption->FontHeight);
    const int tw = WideTextWidthOf(measure->Canvas(), "Moradex");
    ASSERT_GT(tw, 20);

    const struct {
        TAlignment Alignment;
        int X;
    } cases[] = {{taLeftJustify, tr.Left},
                 {taRightJustify, tr.Right - tw},
                 {taCenter, tr.Left + tr.Width() / 2 - tw / 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Alignment));
        caption->Alignment = c.Alignment;
        auto frame = SolidPicture(kPictureWidth + 60, kPictureHeight, gfx::clWhite);
        caption->Draw(frame->Canvas(), true);
        const TInk ink = InkOf(*frame, caption->ObjectRect);
        EXPECT_GE(ink.Left, origin + c.X);
        EXPECT_LE(ink.Left, origin + c.X + 2);
        EXPECT_LE(ink.Right, origin + c.X + tw);
        EXPECT_GE(ink.Right, origin + c.X + tw - 3);
    }
}

TEST_F(TFrameObjects, ALongCaptionEndsInDotsInsideItsRectangle) {
    TbsSkinForm* sf = SkinnedForm();
    sf->FForm->SetCaption("A caption far too long for the little frame of this skin");
    auto* caption = dynamic_cast<TbsSkinCaptionObject*>(Object(sf, "caption"));
    const gfx::TRect tr = caption->TextRectNow();
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    caption->Draw(frame->Canvas(), true);
    const TInk ink = InkOf(*frame, caption->ObjectRect);
    EXPECT_LE(ink.Right, caption->ObjectRect.Left + tr.Right);
    EXPECT_GE(ink.Left, caption->ObjectRect.Left + tr.Left);
    // The text was cut: it ends in "...", whose last dot closes the ink.
    std::string shortened = sf->FForm->Caption();
    auto measure = SolidPicture(1, 1, gfx::clWhite);
    measure->Canvas().Font().SetName(caption->FontName);
    measure->Canvas().Font().SetHeight(caption->FontHeight);
    EllipsizeWideText(measure->Canvas(), shortened, tr.Width());
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), "...");
    EXPECT_LE(ink.Right - ink.Left, WideTextWidthOf(measure->Canvas(), shortened));
}

TEST_F(TFrameObjects, OnCaptionPaintReplacesTheText) {
    TbsSkinForm* sf = SkinnedForm();
    sf->FForm->SetCaption("Moradex");
    gfx::TRect painted;
    int calls = 0;
    sf->FOnCaptionPaint = [&](gfx::TCanvas& c, gfx::TRect r, bool) {
        ++calls;
        painted = r;
        c.Brush().SetColor(gfx::clRed);
        c.FillRect(r);
    };
    auto* caption = Object(sf, "caption");
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    caption->Draw(frame->Canvas(), true);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(painted, caption->ObjectRect);
    for (int x = caption->ObjectRect.Left; x < caption->ObjectRect.Right; ++x)
        ASSERT_EQ(PixelOf(*frame, x, Centre(caption->ObjectRect).Y), gfx::clRed) << x;
    // The frame repaints while the form goes; the handler's locals are gone by then.
    sf->FOnCaptionPaint = nullptr;
}

TEST_F(TFrameObjects, ObjectEventsCarryTheObjectsName) {
    TbsSkinForm* sf = SkinnedForm();
    std::vector<std::string> heard;
    sf->FOnMouseEnterEvent = [&](const std::string& n) { heard.push_back("enter " + n); };
    sf->FOnMouseLeaveEvent = [&](const std::string& n) { heard.push_back("leave " + n); };
    sf->FOnMouseDownEvent = [&](const std::string& n, int, int, gfx::TRect, vcl::TMouseButton) {
        heard.push_back("down " + n);
    };
    sf->FOnMouseUpEvent = [&](const std::string& n, int, int, gfx::TRect, vcl::TMouseButton) {
        heard.push_back("up " + n);
    };
    const gfx::TPoint morph = {kMorphRect.Left + 12, kMorphRect.Top + 10};
    sf->TestActive(morph.X, morph.Y, true);
    sf->ObjectMouseDown(vcl::mbLeft, morph.X, morph.Y);
    sf->ObjectMouseUp(vcl::mbLeft, morph.X, morph.Y);
    sf->TestActive(-1, -1, false);
    EXPECT_EQ(heard, (std::vector<std::string>{"enter morphbutton", "down morphbutton",
                                               "up morphbutton", "leave morphbutton"}));
}

TEST_F(TFrameObjects, AHotButtonIsRepaintedOnTheWindowsFrame) {
    TbsSkinForm* sf = SkinnedForm();
    TbsActiveSkinObject* close = Object(sf, "closebutton");
    const gfx::TPoint c = Centre(close->ObjectRect);
    const gfx::TRect wr = sf->FForm->BoundsRect();
    sf->TestActive(c.X, c.Y, true);
    EXPECT_EQ(ScreenPixel(wr.Left + c.X, wr.Top + c.Y), 0xA0A0A0);
    sf->TestActive(-1, -1, false);
    EXPECT_EQ(ScreenPixel(wr.Left + c.X, wr.Top + c.Y), 0x606060);
}

TEST_F(TFrameObjects, TheGlowLayerFloatsBesideTheObject) {
    TbsSkinForm* sf = SkinnedForm();
    TbsActiveSkinObject* morph = Object(sf, "morphbutton");
    morph->MouseEnter();
    ASSERT_TRUE(sf->FLayerManager->IsVisible);
    ASSERT_TRUE(sf->FLayerManager->LayerWindow);
    const gfx::TRect layer = sf->FLayerManager->LayerWindow->BoundsRect();
    EXPECT_EQ(layer, (gfx::TRect{100 + kMorphRect.Left - 4, 100 + kMorphRect.Top - 4,
                                 100 + kMorphRect.Left + 20, 100 + kMorphRect.Top + 18}));
    morph->MouseLeave();
    EXPECT_FALSE(sf->FLayerManager->IsVisible);

    // Without layered windows, or with the skin's glow frames off, no layer shows.
    sf->SkinData()->SetShowCaptionButtonGlowFrames(false);
    morph->MouseEnter();
    EXPECT_FALSE(sf->FLayerManager->IsVisible);
}

TEST_F(TFrameObjects, ObjectHintsShowAfterThePauseAndGoWithTheMouse) {
    TbsSkinForm* sf = SkinnedForm();
    // The hint in charge sits on the main form.
    vcl::TForm* main = nullptr;
    vcl::Application->CreateForm(main);
    auto* hint = new TbsSkinHint(main);
    sf->SetSkinHint(hint);
    sf->FShowObjectHint = true;
    const gfx::TPoint on = Centre(Object(sf, "closebutton")->ObjectRect);
    // The component's hover timer follows the real cursor, so it is put over the button.
    Screen->MouseMove({100 + on.X, 100 + on.Y});
    Run();
    sf->TestActive(on.X, on.Y, true);
    EXPECT_EQ(Object(sf, "closebutton")->Hint, "Close");
    EXPECT_FALSE(hint->IsVisible());
    AdvanceMs(vcl::Application->HintPause + 10);
    Run();
    EXPECT_TRUE(hint->IsVisible());
    sf->TestActive(-1, -1, false);
    EXPECT_FALSE(hint->IsVisible());

    // Freed hint components are forgotten.
    hint->Free();
    EXPECT_EQ(sf->SkinHint(), nullptr);
    sf->TestActive(on.X, on.Y, true);
}

TEST_F(TFrameObjects, CaptionButtonsShowTheirRestoreAndInactiveLooks) {
    TbsSkinForm* sf = SkinnedForm();
    auto* max = dynamic_cast<TbsSkinStdButtonObject*>(Object(sf, "maxbutton"));
    auto* close = Object(sf, "closebutton");
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    auto look = [&](TbsActiveSkinObject* o) {
        o->Draw(frame->Canvas(), true);
        const gfx::TPoint c = Centre(o->ObjectRect);
        return PixelOf(*frame, c.X, c.Y);
    };
    EXPECT_EQ(look(max), 0x606060);
    max->MouseEnter();
    EXPECT_EQ(max->Hint, "Maximize");
    EXPECT_EQ(look(max), 0xA0A0A0);
    max->MouseLeave();

    // The state change itself comes with the window states; the look follows the state.
    sf->FWindowState = vcl::wsMaximized;
    sf->FFormActive = true;
    EXPECT_TRUE(max->RestoreState());
    EXPECT_EQ(look(max), 0x00A000);
    max->MouseEnter();
    EXPECT_EQ(max->Hint, "Restore");
    EXPECT_EQ(look(max), 0x00F000);
    max->MouseLeave();
    sf->FWindowState = vcl::wsNormal;

    // Another form takes the activation: the frame shows its inactive looks.
    EXPECT_EQ(look(close), 0x606060);
    MakeForm(100, 100, "Other");
    ASSERT_FALSE(sf->GetFormActive());
    EXPECT_EQ(look(close), 0x909000);
    close->Enabled = false;
    EXPECT_EQ(look(close), 0x606060);  // a disabled button keeps its normal look
}

TEST_F(TFrameObjects, AMorphingCaptionFadesItsBackgroundAndDimsWhenInactive) {
    TbsSkinForm* sf = SkinnedForm();
    TbsDataSkinCaption record("caption2");
    record.SkinRect = kCaptionRect;
    // The hot look: a picture of the caption's size.
    TbsSkinData* sd = sf->SkinData();
    sd->FActivePictures.push_back(
        SolidPicture(kCaptionRect.Width(), kCaptionRect.Height(), 0xA0A0A0));
    sd->FActivePicturesNames.Add("caption.bmp");
    record.ActivePictureIndex = int(sd->FActivePictures.size()) - 1;
    record.ActiveSkinRect = {0, 0, kCaptionRect.Width(), kCaptionRect.Height()};
    record.Morphing = true;
    record.TextRct = {2, 0, 40, 20};
    TbsSkinCaptionObject caption(sf, &record);
    // A point of the caption's stretched middle, right of its text.
    const gfx::TPoint p{kCaptionRect.Left + 60, kCaptionRect.Bottom - 2};
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    auto look = [&] {
        caption.Draw(frame->Canvas(), true);
        return PixelOf(*frame, p.X, p.Y);
    };
    caption.Active = true;
    EXPECT_EQ(look(), kZoneTop);  // the fade starts from the normal look
    caption.SetMorphKf(0.6);
    const gfx::TColor mid = look();
    EXPECT_NE(mid, kZoneTop);
    EXPECT_NE(mid, 0xA0A0A0);
    caption.SetMorphKf(1);
    EXPECT_EQ(look(), 0xA0A0A0);

    caption.Active = false;
    caption.SetMorphKf(0);
    EXPECT_EQ(look(), kZoneTop);
    sf->SkinData()->AutoRenderingInActiveImage = true;
    sf->SkinData()->InActiveEffect = ieInvert;
    EXPECT_EQ(look(), ~kZoneTop & 0xFFFFFF);
}

TEST_F(TFrameObjects, InIconModeTheSystemMenuButtonShowsTheFormsIcon) {
    TbsSkinForm* sf = SkinnedForm();
    gfx::TImage image;
    image.Width = image.Height = 16;
    image.Pixels.assign(16 * 16, 0xFF00FF00);  // opaque green (A, R, G, B)
    image.HasAlpha = true;
    sf->FForm->Icon().SetHandle(gfx::CreateIconFromImages({image}));
    auto* sys = dynamic_cast<TbsSkinStdButtonObject*>(Object(sf, "sysmenubutton"));
    EXPECT_FALSE(sys->IconMode());
    sf->SetShowIcon(true);
    ASSERT_TRUE(sys->IconMode());
    // The icon mode's button hits everywhere, never fades and never glows.
    EXPECT_TRUE(sys->PointInObject(-5, -5));
    sys->Active = true;
    EXPECT_FALSE(sys->CanMorphing());
    auto frame = SolidPicture(kPictureWidth, kPictureHeight, gfx::clWhite);
    sys->Draw(frame->Canvas(), true);
    const gfx::TPoint c = Centre(sys->ObjectRect);
    EXPECT_EQ(PixelOf(*frame, c.X, c.Y), 0x00FF00);
    // Its place has the small icon's size.
    sf->UpdateFrame(true);
    const gfx::TSize icon = GetSmallIconSize();
    EXPECT_EQ(sys->ObjectRect.Width(), icon.cx);
    EXPECT_EQ(sys->ObjectRect.Height(), icon.cy);
}

}  // namespace
}  // namespace skin::test
