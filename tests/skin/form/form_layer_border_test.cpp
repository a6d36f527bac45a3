// The layered border: its geometry around the form, the cutting of the picture into side
// images, its windows (never activated, letting clicks through without resize zones), its
// resize zones and drags, its alpha and fade, and how it follows the form.
#include <functional>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "skin/form/form_layer_border.h"

namespace skin::test {
namespace {

class TStepClock : public sys::TClock {
public:
    std::int64_t NowMicros() override {
        if (OnRead) OnRead(Now);
        Now += 1000;
        return Now;
    }
    std::int64_t Now = 5'000'000'000;
    std::function<void(std::int64_t)> OnRead;
};

// Column x of the picture is red x * 4, green by row band, so every copied pixel tells where
// it came from.
gfx::TColor PictureColor(int x, int y) {
    return gfx::TColor(x * 4 | (y * 2) << 8);
}

// The same colour as a TbsColor (blue in the low byte), without alpha.
TbsColor Bgr(gfx::TColor c) {
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

struct TLayerOptions {
    int Height = 60;         // the picture is 60 wide
    bool BorderRect = true;  // resize zones 10 deep on every side
    bool HitTestEnable = true;
};

// Adds a LAYERFRAME record (pictures 5 and 6) to the test skin: the form covers the picture's
// middle (20, 20, 40, Height - 20); the mask is grey 128 (soft) in the outer 10 pixels.
void AddLayerFrame(TbsSkinData& sd, const TLayerOptions& o) {
    const int PW = 60, PH = o.Height;
    auto picture = SolidPicture(PW, PH, gfx::clWhite);
    auto mask = SolidPicture(PW, PH, gfx::clWhite);
    for (int y = 0; y < PH; ++y)
        for (int x = 0; x < PW; ++x) {
            picture->Canvas().SetPixel(x, y, PictureColor(x, y));
            if (x < 10 || y < 10 || x >= PW - 10 || y >= PH - 10)
                mask->Canvas().SetPixel(x, y, 0x808080);
        }
    sd.FActivePicturesNames.Add("layer.bmp");
    sd.FActivePicturesNames.Add("layermask.bmp");
    sd.FActivePictures.push_back(std::move(picture));
    sd.FActivePictures.push_back(std::move(mask));
    TbsDataSkinLayerFrame& r = sd.LayerFrame;
    r.PictureIndex = 5;
    r.MaskPictureIndex = 6;
    r.ClRect = {20, 20, 40, PH - 20};
    r.LTPoint = {20, 20};
    r.RTPoint = {40, 20};
    r.LBPoint = {20, PH - 20};
    r.RBPoint = {40, PH - 20};
    r.BorderRect = o.BorderRect ? gfx::TRect{10, 10, 50, PH - 10} : gfx::TRect{};
    r.AlphaBlendValue = 255;
    r.InActiveAlphaBlendValue = 255;
    r.HitTestEnable = o.HitTestEnable;
}

class TLayerBorder : public TFormSkinTest {
public:
    // A sizeable skinned form at (100, 50), 400 x 300, with the layered border shown.
    TbsSkinForm* BorderedForm(const TLayerOptions& o = {}) {
        vcl::TForm* form = MakeForm(400, 300);
        form->SetBounds(100, 50, 400, 300);
        auto* sf = new TbsSkinForm(form);
        TbsSkinData* sd = MakeSkin();
        AddLayerFrame(*sd, o);
        sf->SetSkinData(sd);
        Run();
        return sf;
    }
};

gfx::TRect Bounds(vcl::TControl* c) {
    return c ? c->BoundsRect() : gfx::TRect{};
}

TEST_F(TLayerBorder, TheBorderLiesAroundTheFormAndTheTopImageStretchesItsMiddle) {
    TbsSkinForm* sf = BorderedForm();
    TbsFormLayerBorder* b = sf->BorderLayer();
    ASSERT_TRUE(sf->CanShowLayerFrame());
    ASSERT_TRUE(b->Visible());
    EXPECT_EQ(b->FormMapping(100, 50, 400, 300), (gfx::TRect{80, 30, 520, 370}));
    EXPECT_EQ(b->FWidth, 440);
    EXPECT_EQ(b->FHeight, 340);
    // Picture 60 high: the side strip (rows 20 to 60 - 20 - 20) is empty, so no side windows.
    EXPECT_EQ(b->LeftBorder, nullptr);
    EXPECT_EQ(b->RightBorder, nullptr);
    EXPECT_EQ(Bounds(b->TopBorder), (gfx::TRect{80, 30, 520, 50}));
    EXPECT_EQ(Bounds(b->BottomBorder), (gfx::TRect{80, 350, 520, 370}));
    ASSERT_EQ(b->TopImage->Width(), 440);
    ASSERT_EQ(b->TopImage->Height(), 20);
    struct TCol {
        int Target, Source;
    } cols[] = {{0, 0}, {19, 19}, {20, 20}, {219, 29}, {419, 39}, {420, 40}, {439, 59}};
    for (const TCol& c : cols) {
        const TbsColor p = b->TopImage->ScanLine(15)[c.Target];
        EXPECT_EQ(p & 0xFFFFFF, Bgr(PictureColor(c.Source, 15))) << c.Target;
        // The mask's soft outer 10 columns.
        EXPECT_EQ(p >> 24, c.Source < 10 || c.Source >= 50 ? 128u : 255u) << c.Target;
    }
    // The soft margin keeps the mask's alpha.
    EXPECT_EQ(b->TopImage->ScanLine(5)[200] >> 24, 128u);
    // The screen shows it: an opaque pixel at its place above the form.
    EXPECT_EQ(ScreenPixel(80 + 219, 30 + 15), PictureColor(29, 15));
}

TEST_F(TLayerBorder, SideImagesTileTheStripAndTheirWindowsSitBesideTheForm) {
    // Picture 60 x 100: TH 20, BH 20, strip rows 20..60 (K = 40), tiled down 300 - 0 rows.
    TbsSkinForm* sf = BorderedForm({100});
    TbsFormLayerBorder* b = sf->BorderLayer();
    EXPECT_EQ(b->FormMapping(100, 50, 400, 300), (gfx::TRect{80, 30, 520, 370}));
    ASSERT_NE(b->LeftBorder, nullptr);
    ASSERT_NE(b->RightBorder, nullptr);
    EXPECT_EQ(Bounds(b->LeftBorder), (gfx::TRect{80, 50, 100, 350}));
    EXPECT_EQ(Bounds(b->RightBorder), (gfx::TRect{500, 50, 520, 350}));
    // Rows 0, 39, 40 (second tile) and 299 (last, cut short) of the left image.
    for (auto [row, src] : {std::pair{0, 20}, {39, 59}, {40, 20}, {299, 39}})
        EXPECT_EQ(b->LeftImage->ScanLine(row)[15] & 0xFFFFFF, Bgr(PictureColor(15, src))) << row;
    EXPECT_EQ(b->RightImage->ScanLine(0)[5] & 0xFFFFFF, Bgr(PictureColor(45, 20)));
    // The windows are layered, never activated and in no task list.
    for (TbsFormLayerWindow* w : {b->LeftBorder, b->TopBorder, b->RightBorder, b->BottomBorder}) {
        const auto ex = win::GetWindowLongPtr(w->Handle(), win::GWL_EXSTYLE);
        EXPECT_TRUE(ex & win::WS_EX_LAYERED);
        EXPECT_TRUE(ex & win::WS_EX_NOACTIVATE);
        EXPECT_FALSE(ex & win::WS_EX_TRANSPARENT);
        EXPECT_EQ(w->ClassName(), "TbsFormLayerWindow");
    }
}

TEST_F(TLayerBorder, ResizeZonesByPoint) {
    TbsSkinForm* sf = BorderedForm({100});
    TbsFormLayerBorder* b = sf->BorderLayer();
    const int L = 100, T = 50, W = 400, H = 300;
    struct TCase {
        TbsFormLayerWindow* Window;
        gfx::TPoint P;
        TbsFormLayerBorderHit Hit;
    } cases[] = {
        {b->TopBorder, {L + 2, T - 1}, bsflhTopLeft},
        {b->TopBorder, {L - 1, T - 1}, bsflhTopLeft},
        {b->TopBorder, {L + 3, T - 1}, bsflhTop},
        {b->TopBorder, {L + W - 3, T - 5}, bsflhTop},  // the top row comes first
        {b->TopBorder, {L + W + 2, T - 5}, bsflhTopRight},
        {b->TopBorder, {L + W - 2, T + 1}, bsflhTopRight},
        {b->TopBorder, {L + 200, T - 11}, bsflhNone},  // the soft margin
        {b->BottomBorder, {L + 200, T + H + 2}, bsflhBottom},
        {b->BottomBorder, {L + W + 5, T + H + 5}, bsflhBottomRight},
        {b->LeftBorder, {L - 10, T + 100}, bsflhLeft},
        {b->LeftBorder, {L - 11, T + 100}, bsflhNone},
        {b->RightBorder, {L + W + 10, T + 100}, bsflhRight},
        {b->RightBorder, {L + W + 11, T + 100}, bsflhNone},
    };
    for (const TCase& c : cases) {
        Screen->MouseMove(c.P);
        Run();
        EXPECT_EQ(c.Window->GetHitMode(), c.Hit) << c.P.X << "," << c.P.Y;
    }
}

TEST_F(TLayerBorder, DraggingAZoneSizesTheFormWithinItsMinimumAndNeverActivatesTheBorder) {
    TbsSkinForm* sf = BorderedForm({100});
    vcl::TCustomForm* form = sf->FForm;
    TbsFormLayerBorder* b = sf->BorderLayer();
    sf->FMinWidth = 395;
    ASSERT_EQ(sf->GetMinWidth(), 395);
    ASSERT_EQ(win::GetActiveWindow(), form->Handle());
    auto drag = [&](gfx::TPoint from, int dx) {
        Screen->MouseMove(from);
        Screen->MouseDown(from);
        Screen->MouseMove({from.X + dx, from.Y});
        Screen->MouseUp({from.X + dx, from.Y});
        Run();
    };
    // Left zone 10 to the right: the width would fall under the minimum, so nothing.
    drag({95, 150}, 10);
    EXPECT_EQ(form->BoundsRect(), (gfx::TRect{100, 50, 500, 350}));
    // Right zone 10 to the left: cut at the minimum, the left edge stays.
    drag({505, 150}, -10);
    EXPECT_EQ(form->BoundsRect(), (gfx::TRect{100, 50, 495, 350}));
    // The border followed and the form kept the activation.
    EXPECT_EQ(Bounds(b->TopBorder), (gfx::TRect{80, 30, 515, 50}));
    EXPECT_EQ(win::GetActiveWindow(), form->Handle());
    EXPECT_FALSE(sf->FBorderLayerChangeSize);
    // The bottom-right corner grows both ways.
    drag({form->Left() + form->Width() + 2, 355}, 20);
    EXPECT_EQ(form->Width(), 415);
}

TEST_F(TLayerBorder, AnEmptyBorderRectLetsClicksThrough) {
    auto* below = new vcl::TForm(vcl::Application);
    below->SetName("Below");
    below->SetBounds(0, 0, 600, 450);
    below->Show();
    Run();
    TbsSkinForm* sf = BorderedForm({100, false});
    TbsFormLayerBorder* b = sf->BorderLayer();
    ASSERT_NE(b->LeftBorder, nullptr);
    EXPECT_EQ(b->LeftSize + b->TopSize + b->RightSize + b->BottomSize, 0);
    EXPECT_TRUE(win::GetWindowLongPtr(b->LeftBorder->Handle(), win::GWL_EXSTYLE) &
                win::WS_EX_TRANSPARENT);
    Watch(below);
    Screen->Click({95, 150});
    Run();
    EXPECT_EQ(CountHeard("Below", win::WM_LBUTTONDOWN), 1);
}

TEST_F(TLayerBorder, AlphaFollowsTheFormAndTheFadeTakesItsSteps) {
    TbsSkinForm* sf = BorderedForm();
    TbsFormLayerBorder* b = sf->BorderLayer();
    TbsDataSkinLayerFrame& rec = sf->SkinData()->LayerFrame;
    struct TAlpha {
        int Record, Form, Expected;
    } alphas[] = {{200, 128, 100}, {255, 128, 128}, {200, 0, 0}, {255, 0, 0}, {200, 255, 200}};
    for (const TAlpha& a : alphas) {
        rec.AlphaBlendValue = a.Record;
        b->CheckFormAlpha(a.Form, false);
        EXPECT_EQ(b->FCurrentAlphaBlendValue, a.Expected) << a.Record << " " << a.Form;
    }

    struct TFade {
        int Target, Steps;
    } fades[] = {{255, 15}, {200, 16}, {10, 10}};
    for (const TFade& f : fades) {
        b->FCurrentAlphaBlendValue = f.Target;
        std::vector<std::pair<std::int64_t, int>> seen;
        TStepClock clock;
        clock.OnRead = [&](std::int64_t now) {
            if (seen.empty() || seen.back().second != b->FCurrentAlphaBlendValue)
                seen.push_back({now, b->FCurrentAlphaBlendValue});
        };
        sys::SetClock(&clock);
        b->ShowWithFormAnimation();
        sys::SetClock(&FClock);
        seen.push_back({clock.Now, b->FCurrentAlphaBlendValue});
        // seen: 0, then one entry per step (the last one taken after the loop).
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(int(seen.size()) - 1, f.Steps) << f.Target;
        EXPECT_EQ(seen.back().second, f.Target);
        for (std::size_t i = 2; i + 1 < seen.size(); ++i)
            EXPECT_GT(seen[i].first - seen[i - 1].first, 5000) << f.Target << " step " << i;
        const win::TTopLevelState* top = Screen->Find(b->TopBorder->Handle());
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->ConstantAlpha, f.Target);
    }
}

TEST_F(TLayerBorder, TheBorderFollowsCaptionAndEdgeDragsAndGoesWithTheForm) {
    TbsSkinForm* sf = BorderedForm({100});
    vcl::TCustomForm* form = sf->FForm;
    TbsFormLayerBorder* b = sf->BorderLayer();
    const gfx::TPoint grab{form->Left() + 60, form->Top() + 15};
    Screen->MouseDown(grab);
    Screen->MouseMove({grab.X + 50, grab.Y + 30});
    Screen->MouseUp({grab.X + 50, grab.Y + 30});
    Run();
    EXPECT_EQ(form->BoundsRect(), (gfx::TRect{150, 80, 550, 380}));
    EXPECT_EQ(Bounds(b->TopBorder), (gfx::TRect{130, 60, 570, 80}));
    EXPECT_EQ(Bounds(b->LeftBorder), (gfx::TRect{130, 80, 150, 380}));

    // The form's own right edge, through the window's size loop.
    AdvanceMs(1000);
    const gfx::TPoint edge{form->Left() + form->Width() - 2, form->Top() + 150};
    Screen->MouseMove(edge);
    Screen->MouseDown(edge);
    Screen->MouseMove({edge.X + 40, edge.Y});
    Screen->MouseUp({edge.X + 40, edge.Y});
    Run();
    EXPECT_EQ(form->Width(), 440);
    EXPECT_EQ(Bounds(b->TopBorder), (gfx::TRect{130, 60, 610, 80}));
    EXPECT_EQ(Bounds(b->RightBorder), (gfx::TRect{590, 80, 610, 380}));

    // Hidden with the form, back with it.
    form->Hide();
    Run();
    EXPECT_FALSE(b->Visible());
    EXPECT_EQ(b->TopBorder, nullptr);
    form->Show();
    Run();
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(Bounds(b->TopBorder), (gfx::TRect{130, 60, 610, 80}));
    // Without the skin's permission it goes.
    sf->SkinData()->SetShowLayeredBorders(false);
    Run();
    EXPECT_FALSE(b->Visible());
}

TEST_F(TLayerBorder, AnotherComponentsShowEffectsKeepTheBorderAwayUntilTheyEnd) {
    TbsSkinForm* sf = BorderedForm({100});
    vcl::TCustomForm* form = sf->FForm;
    TbsFormLayerBorder* b = sf->BorderLayer();
    form->Hide();
    Run();
    const win::HWND wnd = form->Handle();
    win::SendMessage(wnd, 0xB1B3, 0, 0);  // CM_BEGINSMARTEFFECTS
    EXPECT_FALSE(sf->CanShowLayerFrame());
    form->Show();
    Run();
    EXPECT_FALSE(b->Visible());
    win::SendMessage(wnd, 0xB1B4, 0, 0);  // CM_ENDSMARTEFFECTS: shown with its fade
    Run();
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(b->FCurrentAlphaBlendValue, 255);
    EXPECT_EQ(Bounds(b->TopBorder), (gfx::TRect{80, 30, 520, 50}));
}

}  // namespace
}  // namespace skin::test
