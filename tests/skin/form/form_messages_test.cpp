// The skinned form at work: its messages never reach the window's own frame, it paints its frame
// and client background, moves and sizes through the window's loop, drives its caption buttons
// and follows skin changes.
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "form_test_support.h"
#include "skin/controls/skin_control.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_messages.h"

namespace skin::test {
namespace {

using TFormMessages = TFormSkinTest;

// Counts the non-client messages that get past the component to the form's own procedure.
struct TNCRecorder {
    vcl::TWndMethod Next;
    std::vector<win::UINT>* Seen;
    void operator()(vcl::TMessage& m) const {
        switch (m.Msg) {
            case win::WM_NCPAINT:
            case win::WM_NCCALCSIZE:
            case win::WM_NCHITTEST:
            case win::WM_NCACTIVATE:
            case win::WM_ERASEBKGND:
                Seen->push_back(m.Msg);
                break;
            default:
                break;
        }
        Next(m);
    }
};

gfx::TColor Brightened(gfx::TColor c) {
    TbsEffectBmp e(1, 1);
    e.PutPixel(0, 0, int((c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF)));
    e.ChangeBrightness(0.5);
    const int v = e.GetPixelValue(0, 0);
    return gfx::TColor((v >> 16 & 0xFF) | (v & 0xFF00) | (v & 0xFF) << 16);
}

TEST_F(TFormMessages, FrameMessagesNeverReachTheFormsOwnProcedure) {
    vcl::TForm* form = MakeForm(336, 140);
    std::vector<win::UINT> seen;
    form->WindowProc = TNCRecorder{form->WindowProc, &seen};
    // Taking the border icons away remakes the window before the component hooks in.
    auto* sf = new TbsSkinForm(form);
    seen.clear();
    sf->SetSkinData(MakeSkin());
    Run();
    // Active, hovered, inactive, active again.
    Screen->MouseMove({100 + 60, 100 + 15});
    Run();
    vcl::TForm* other = MakeForm(200, 100, "G");
    Run();
    EXPECT_FALSE(form->Active());
    win::SendMessage(form->Handle(), win::WM_NCPAINT, 1, 0);
    other->Free();
    form->SetFocus();
    Run();
    EXPECT_TRUE(seen.empty()) << seen.size() << " got through, the first " << seen[0];

    // The client area is the skin's, moved to the form's size.
    EXPECT_EQ(form->ClientWidth(), kClRect.Width() + 100);
    EXPECT_EQ(form->ClientHeight(), kClRect.Height() + 40);
    gfx::TPoint origin = form->ClientToScreen({0, 0});
    EXPECT_EQ(origin, (gfx::TPoint{100 + kClRect.Left, 100 + kClRect.Top}));

    // A frame paint leaves every client pixel alone.
    gfx::HDC dc = win::GetDC(form->Handle());
    gfx::FillRect(dc, {0, 0, form->ClientWidth(), form->ClientHeight()},
                  gfx::CreateSolidBrush(gfx::clRed));
    win::ReleaseDC(form->Handle(), dc);
    win::SendMessage(form->Handle(), win::WM_NCPAINT, 1, 0);
    for (int y = 0; y < form->ClientHeight(); y += 7)
        for (int x = 0; x < form->ClientWidth(); x += 7)
            ASSERT_EQ(ClientPixel(form->Handle(), x, y), gfx::clRed) << x << "," << y;
}

TEST_F(TFormMessages, TheSkinFrameAtTheFormsSizeActiveAndInactive) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    const int W = kPictureWidth + 100, H = kPictureHeight + 40;
    auto at = [&](int x, int y) { return ScreenPixel(100 + x, 100 + y); };
    struct TProbe {
        int X, Y;
        gfx::TColor Colour;
    };
    // Corners copied, edges stretched; the caption drawn in.
    const TProbe probes[] = {
        {20, 28, kZoneLT},         {kRTPoint.X + 50, 2, kZoneTop}, {W - 10, 28, kZoneRT},
        {2, 80, kZoneLeft},        {W - 2, 80, kZoneRight},        {20, H - 3, kZoneLB},
        {150, H - 2, kZoneBottom}, {W - 2, H - 6, kZoneRB},
    };
    for (const TProbe& p : probes) EXPECT_EQ(at(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
    // The close button (normal look) lies in the frame at the right.
    auto* close = Object(sf, "closebutton");
    EXPECT_EQ(close->ObjectRect.Right, kButtonsRect.Right + 100);
    const gfx::TPoint c{close->ObjectRect.Left + 3, close->ObjectRect.Top + 3};
    EXPECT_EQ(at(c.X, c.Y), 0x606060u);

    // Inactive: from the inactive picture...
    sf->FSD->FInActivePicture = SolidPicture(kPictureWidth, kPictureHeight, 0x123456);
    vcl::TForm* other = MakeForm(100, 60, "G");
    other->SetBounds(900, 600, 100, 60);
    Run();
    EXPECT_FALSE(sf->GetFormActive());
    EXPECT_EQ(at(20, 28), 0x123456u);
    EXPECT_EQ(at(W - 2, 80), 0x123456u);
    // ...or, without one, the active frame brightened by half.
    sf->FSD->FInActivePicture = std::make_unique<gfx::TBitmap>();
    sf->FSD->AutoRenderingInActiveImage = true;
    sf->FSD->InActiveEffect = ieBrightness;
    win::SendMessage(sf->FForm->Handle(), win::WM_NCPAINT, 1, 0);
    for (const TProbe& p : probes)
        EXPECT_EQ(at(p.X, p.Y), Brightened(p.Colour)) << p.X << "," << p.Y;
    // The client is never touched by the effect.
    EXPECT_EQ(at(kClRect.Left + 10, kClRect.Top + 10), kZoneClient);
}

TEST_F(TFormMessages, TheDefaultFrameWithoutASkin) {
    vcl::TForm* form = MakeForm(300, 120);
    auto* sf = new TbsSkinForm(form);
    form->SetCaption("Moradex");
    Run();
    sf->SetSkinData(nullptr);
    Run();
    auto at = [&](int x, int y) { return ScreenPixel(100 + x, 100 + y); };
    using gfx::ColorToRGB;
    // The three one-pixel frames, outside in.
    EXPECT_EQ(at(0, 60), ColorToRGB(gfx::cl3DLight));
    EXPECT_EQ(at(1, 60), ColorToRGB(gfx::clBtnHighlight));
    EXPECT_EQ(at(2, 60), ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(at(299, 60), ColorToRGB(gfx::cl3DDkShadow));
    EXPECT_EQ(at(298, 60), ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(at(150, 119), ColorToRGB(gfx::cl3DDkShadow));
    // Stripes from row 2 of the caption, light first, left of the centred caption text.
    sf->CalcDefRects();
    const int x = sf->NewDefCaptionRect.Left + 4;
    EXPECT_EQ(at(x, 3 + 1), ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(at(x, 3 + 2), ColorToRGB(gfx::clBtnHighlight));
    EXPECT_EQ(at(x, 3 + 3), ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(at(x, 3 + 15), ColorToRGB(gfx::clBtnShadow));
    EXPECT_EQ(at(x, 3 + 16), ColorToRGB(gfx::clBtnFace));
    // The six default buttons, and a clBtnFace gap round the text in the middle.
    EXPECT_EQ(sf->ObjectList.size(), 6u);
    EXPECT_EQ(at(150, 3 + 2), ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(form->ClientWidth(), 294);
    EXPECT_EQ(form->ClientHeight(), 120 - 19 - 6);

    // OnCaptionPaint paints the text and the gap instead.
    gfx::TRect given;
    sf->FOnCaptionPaint = [&](gfx::TCanvas& c, gfx::TRect r, bool active) {
        given = r;
        EXPECT_TRUE(active);
        c.Brush().SetColor(gfx::clRed);
        c.FillRect(r);
    };
    win::SendMessage(form->Handle(), win::WM_NCPAINT, 1, 0);
    const int L = sf->NewDefCaptionRect.Left - 3;
    const int Rr = 294 - sf->NewDefCaptionRect.Right;
    EXPECT_EQ(given, (gfx::TRect{L, 0, 294 - Rr - 3, 19}));
    EXPECT_EQ(at(150, 3 + 2), gfx::clRed);
    EXPECT_EQ(at(x, 3 + 2), gfx::clRed);
    sf->FOnCaptionPaint = nullptr;
}

TEST_F(TFormMessages, ClientBackgrounds) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    TbsSkinData& sd = *sf->FSD;
    vcl::TCustomForm* form = sf->FForm;
    // A marker in the client piece of the frame picture shows where each tile starts.
    sd.FPicture->Canvas().SetPixel(kClRect.Left, kClRect.Top, gfx::clRed);
    auto paint = [&](void (TbsSkinForm::*routine)(gfx::HDC)) {
        auto b = SolidPicture(sf->FFormWidth, sf->FFormHeight, gfx::clBlack);
        (sf->*routine)(b->Canvas().Handle());
        return b;
    };
    auto px = [](gfx::TBitmap& b, int x, int y) { return b.Canvas().Pixel(x, y); };
    const int tw = kClRect.Width(), th = kClRect.Height();

    auto tiled = paint(&TbsSkinForm::PaintBG);
    EXPECT_EQ(px(*tiled, 0, 0), gfx::clRed);
    EXPECT_EQ(px(*tiled, tw, 0), gfx::clRed);
    EXPECT_EQ(px(*tiled, 0, th), gfx::clRed);
    EXPECT_EQ(px(*tiled, 1, 1), kZoneClient);

    // Stretched over the whole form size, not only the client area.
    sd.StretchEffect = true;
    sd.StretchType = bsstFull;
    gfx::TBitmap& p = *sd.FPicture;
    p.Canvas().Brush().SetColor(gfx::clBlue);
    p.Canvas().FillRect({kClRect.Left + tw / 2, kClRect.Top, kClRect.Right, kClRect.Bottom});
    auto full = paint(&TbsSkinForm::PaintBG);
    EXPECT_EQ(px(*full, sf->FFormWidth / 2 - 3, 20), kZoneClient);
    EXPECT_EQ(px(*full, sf->FFormWidth / 2 + 3, 20), gfx::clBlue);
    EXPECT_EQ(px(*full, sf->FFormWidth - 1, sf->FFormHeight - 1), gfx::clBlue);
    sd.StretchEffect = false;

    // A logo in the middle, or from (0, 0) when larger than the client area.
    sf->SetLogoBitMap(*SolidPicture(10, 6, gfx::clLime));
    auto logo = paint(&TbsSkinForm::PaintBGDefault);
    const int cx = form->ClientWidth() / 2, cy = form->ClientHeight() / 2;
    EXPECT_EQ(px(*logo, cx, cy), gfx::clLime);
    EXPECT_EQ(px(*logo, cx - 6, cy), gfx::ColorToRGB(gfx::clBtnFace));
    sf->SetLogoBitMap(
        *SolidPicture(form->ClientWidth() + 20, form->ClientHeight() + 10, gfx::clLime));
    auto big = paint(&TbsSkinForm::PaintBGDefault);
    EXPECT_EQ(px(*big, 0, 0), gfx::clLime);
    sf->SetLogoBitMap(gfx::TBitmap());

    // An empty client piece gives clBtnFace.
    sd.ClRect = {};
    auto plain = paint(&TbsSkinForm::PaintBG);
    EXPECT_EQ(px(*plain, 0, 0), gfx::ColorToRGB(gfx::clBtnFace));
    sd.ClRect = kClRect;

    // WM_ERASEBKGND is answered, with a skin and without.
    auto b = SolidPicture(10, 10, gfx::clWhite);
    EXPECT_EQ(win::SendMessage(form->Handle(), win::WM_ERASEBKGND,
                               win::WPARAM(std::uintptr_t(b->Canvas().Handle())), 0),
              1);
}

TEST_F(TFormMessages, ACaptionDragMovesTheFormAndEscapePutsItBack) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    vcl::TCustomForm* form = sf->FForm;
    Watch(form);
    const std::vector<win::UINT> kinds = {win::WM_ENTERSIZEMOVE, win::WM_MOVING,
                                          win::WM_EXITSIZEMOVE, win::WM_NCLBUTTONUP};
    Screen->MouseDown({100 + 60, 100 + 15});
    Screen->MouseMove({100 + 80, 100 + 30});
    Screen->MouseMove({100 + 100, 100 + 40});
    Screen->MouseUp({100 + 100, 100 + 40});
    Run();
    EXPECT_EQ(form->Left(), 140);
    EXPECT_EQ(form->Top(), 125);
    EXPECT_EQ(Heard(kinds), (std::vector<std::string>{"F:ENTERSIZEMOVE", "F:MOVING", "F:MOVING",
                                                      "F:MOVING", "F:EXITSIZEMOVE"}));
    EXPECT_FALSE(sf->FSizeMove);
    EXPECT_EQ(sf->FFormLeft, 140);

    Screen->MouseDown({140 + 60, 125 + 15});
    Screen->MouseMove({140 + 160, 125 + 115});
    Press(win::VK_ESCAPE);
    Screen->MouseUp({140 + 160, 125 + 115});
    Run();
    EXPECT_EQ(form->Left(), 140);
    EXPECT_EQ(form->Top(), 125);
}

TEST_F(TFormMessages, EdgeSizingRedrawsTheFrameAndRegionWithinTheClamp) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    vcl::TCustomForm* form = sf->FForm;
    form->SetBorderStyle(vcl::bsSizeable);
    form->SetBounds(0, 0, kPictureWidth + 100, kPictureHeight + 40);
    Run();
    // At every step of the loop: the frame of the last step on the screen (the skin's right
    // edge at the right edge), the region of the last step (corner cut off); then the sizes.
    std::vector<std::string> wrong;
    std::vector<gfx::TSize> sizes;
    const int W = form->Width(), H = form->Height();
    const gfx::TPoint grip{W - 5, H - 5};
    // The pointer moves on once the last step is on the screen, as a hand would.
    std::deque<gfx::TPoint> path = {
        {grip.X + 60, grip.Y + 40}, {0, 0}, {grip.X + 30, grip.Y + 20}, {1279, 799}};
    auto inner = form->WindowProc;
    form->WindowProc = [&, inner](vcl::TMessage& m) {
        if (m.Msg == win::WM_SIZING) {
            const int w = form->Width(), h = form->Height();
            // (At the minimum size the frame has no right edge zone left.)
            if (h >= kPictureHeight && ScreenPixel(w - 2, 80) != kZoneRight)
                wrong.push_back("edge at " + std::to_string(w));
            if (sf->FRgn->Contains(w - 1, h - 1) || !sf->FRgn->Contains(w - 8, h - 8))
                wrong.push_back("region at " + std::to_string(w));
        }
        inner(m);
        if (m.Msg == win::WM_SIZING) {
            const auto* r = win::ParamToPtr<gfx::TRect>(std::uint64_t(m.LParam));
            sizes.push_back({r->Width(), r->Height()});
        }
        if (m.Msg == win::WM_NCPAINT && sf->FSizeMove) {
            if (!path.empty()) {
                Screen->MouseMove(path.front());
                path.pop_front();
            } else {
                Screen->MouseUp({1279, 799});
            }
        }
    };
    Screen->MouseDown(grip);
    Screen->MouseMove({grip.X + 30, grip.Y + 20});
    Run();
    form->WindowProc = inner;
    EXPECT_TRUE(wrong.empty()) << wrong.front() << " of " << wrong.size();
    const gfx::TSize min{sf->GetMinWidth(), sf->GetMinHeight()};
    EXPECT_EQ(
        sizes,
        (std::vector<gfx::TSize>{
            {W + 30, H + 20}, {W + 60, H + 40}, min, {W + 30, H + 20}, {1280, 760}, {1280, 760}}));
    EXPECT_EQ(form->Width(), 1280);
    EXPECT_EQ(form->Height(), 760);
    EXPECT_EQ(ScreenPixel(1280 - 2, 80), kZoneRight);
    EXPECT_FALSE(sf->FSizing);
}

TEST_F(TFormMessages, CaptionButtonsByInput) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    vcl::TCustomForm* form = sf->FForm;
    auto* morph = Object(sf, "morphbutton");
    const gfx::TPoint hover{100 + kMorphRect.Left + 12, 100 + kMorphRect.Top + 10};
    // The hover timer finds the button; its hot look comes in five 25 ms steps.
    Screen->MouseMove(hover);
    AdvanceMs(50);
    Run();
    EXPECT_TRUE(morph->FMouseIn);
    const gfx::TColor normal = ScreenPixel(hover.X, hover.Y);
    for (int tick = 1; tick <= 5; ++tick) {
        EXPECT_LT(morph->MorphKf(), 1.0) << tick;
        AdvanceMs(25);
        Run();
    }
    EXPECT_DOUBLE_EQ(morph->MorphKf(), 1.0);
    EXPECT_NE(ScreenPixel(hover.X, hover.Y), normal);
    EXPECT_TRUE(morph->FMouseIn);

    int closes = 0;
    form->OnClose = [&](vcl::TObject*, vcl::TCloseAction& action) {
        ++closes;
        action = vcl::caNone;
    };
    auto* close = Object(sf, "closebutton");
    const gfx::TPoint on{100 + close->ObjectRect.Left + 5, 100 + close->ObjectRect.Top + 5};
    // Press, move off, release: nothing.
    Screen->MouseMove(on);
    AdvanceMs(50);
    Run();
    Screen->MouseDown(on);
    Screen->MouseMove({on.X, on.Y + 60});
    AdvanceMs(50);
    Run();
    Screen->MouseUp({on.X, on.Y + 60});
    Run();
    EXPECT_EQ(closes, 0);
    // Press and release on it: closes once.
    Screen->MouseMove(on);
    AdvanceMs(50);
    Run();
    Screen->MouseDown(on);
    Screen->MouseUp(on);
    Run();
    EXPECT_EQ(closes, 1);
    // Off the form the hot button is let go within 50 ms.
    Screen->MouseMove(hover);
    AdvanceMs(50);
    Run();
    EXPECT_EQ(sf->ActiveObject, sf->GetIndex("morphbutton"));
    Screen->MouseMove({900, 700});
    AdvanceMs(50);
    Run();
    EXPECT_EQ(sf->ActiveObject, -1);
    form->OnClose = nullptr;
}

// A skinned control that logs its skin-change calls.
class TLoggingControl : public TbsSkinControl {
public:
    TLoggingControl(vcl::TComponent* owner, std::vector<std::string>* log, std::string name)
        : TbsSkinControl(owner), Log(log), Name(std::move(name)) {}
    void BeforeChangeSkinData() override {
        Log->push_back("before " + Name);
        TbsSkinControl::BeforeChangeSkinData();
    }
    void ChangeSkinData() override {
        Log->push_back("change " + Name);
        TbsSkinControl::ChangeSkinData();
    }
    std::vector<std::string>* Log;
    std::string Name;
};

TEST_F(TFormMessages, ASkinChangeReachesFrameAndControlsInOrder) {
    TbsSkinForm* sf = SkinnedForm();
    vcl::TCustomForm* form = sf->FForm;
    TbsSkinData* A = sf->FSD;
    TbsSkinData* B = MakeSkin();
    std::vector<std::string> log;
    auto objects = [&] { return "objects " + std::to_string(sf->ObjectList.size()); };
    auto make = [&](const std::string& name, TbsSkinData* data, vcl::TWinControl* parent) {
        auto* c = new TLoggingControl(form, &log, name);
        c->SetParent(parent);
        c->SetSkinData(data);
        return c;
    };
    auto* a1 = make("a1", A, form);
    make("a2", A, a1);
    make("b", B, form);
    Run();
    log.clear();
    sf->FOnBeforeChangeSkinData = [&](vcl::TObject*) { log.push_back("OnBefore " + objects()); };
    sf->FOnChangeSkinData = [&](vcl::TObject*) { log.push_back("OnChange " + objects()); };
    sf->FOnAfterChangeSkinData = [&](vcl::TObject*) { log.push_back("OnAfter"); };
    const win::WPARAM a = win::WPARAM(reinterpret_cast<std::uintptr_t>(A));
    win::SendMessage(form->Handle(), WM_BEFORECHANGESKINDATA, a, kSkinDataLParam);
    log.push_back("after 1225: " + objects());
    win::SendMessage(form->Handle(), WM_CHANGESKINDATA, a, kSkinDataLParam);
    win::SendMessage(form->Handle(), WM_AFTERCHANGESKINDATA, a, kSkinDataLParam);
    EXPECT_EQ(log, (std::vector<std::string>{"before a1", "before a2", "OnBefore objects 0",
                                             "after 1225: objects 0", "OnChange objects 9",
                                             "change a1", "change a2", "OnAfter"}));
}

TEST_F(TFormMessages, CaptionAnimationRunsUpAndBackAndStops) {
    vcl::TForm* form = MakeForm(kPictureWidth + 100, kPictureHeight + 40);
    auto* sd = MakeSkin();
    auto* caption = dynamic_cast<TbsDataSkinCaption*>(sd->ObjectList[0].get());
    caption->AnimateSkinRect = {0, 0, 15, 10};
    caption->FrameCount = 3;
    caption->AnimateInterval = 25;
    sd->SetEnableSkinEffects(true);
    auto* sf = new TbsSkinForm(form);
    sf->SetSkinData(sd);
    Run();
    auto* object = dynamic_cast<TbsSkinCaptionObject*>(Object(sf, "caption"));
    ASSERT_TRUE(object);
    ASSERT_TRUE(object->EnableAnimation());
    // Deactivate: back to 0; activate: 1 .. FrameCount, stopping at FrameCount + 1.
    vcl::TForm* other = MakeForm(100, 60, "G");
    other->SetBounds(900, 600, 100, 60);
    Run();
    for (int i = 0; i < 10; ++i) {
        AdvanceMs(25);
        Run();
    }
    EXPECT_EQ(object->CurrentFrame, 0);
    EXPECT_FALSE(sf->AnimateTimer->Enabled());
    other->Free();
    form->SetFocus();
    Run();
    EXPECT_TRUE(object->Active);
    std::vector<int> frames{object->CurrentFrame};
    for (int i = 0; i < 10; ++i) {
        AdvanceMs(25);
        Run();
        if (frames.back() != object->CurrentFrame) frames.push_back(object->CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(sf->AnimateTimer->Enabled());
}

TEST_F(TFormMessages, FramePointsLeftOfThePrimaryMonitorAreNegative) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    vcl::TCustomForm* form = sf->FForm;
    form->SetBounds(-500, 100, form->Width(), form->Height());
    Run();
    struct TCase {
        int X, Y, Hit;
    };
    const TCase cases[] = {{60, 15, win::HTCAPTION},
                           {60, 60, win::HTCLIENT},
                           {kMorphRect.Left + 12, kMorphRect.Top + 10, win::HTOBJECT}};
    for (const TCase& c : cases)
        EXPECT_EQ(win::SendMessage(form->Handle(), win::WM_NCHITTEST, 0,
                                   win::MAKELPARAM(-500 + c.X, 100 + c.Y)),
                  c.Hit)
            << c.X << "," << c.Y;
    EXPECT_EQ(sf->ScreenToFramePoint({-500 + 60, 100 + 15}), (gfx::TPoint{60, 15}));
}

}  // namespace
}  // namespace skin::test
