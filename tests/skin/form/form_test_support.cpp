#include "skin/form/form_test_support.h"

#include <memory>

namespace skin::test {

namespace {

template <class T>
T* Add(TbsSkinData& sd, const std::string& name) {
    auto record = std::make_unique<T>(name);
    T* raw = record.get();
    sd.ObjectList.push_back(std::move(record));
    return raw;
}

}  // namespace

void FillTestSkin(TbsSkinData& sd, const TSkinOptions& o) {
    const int w = kPictureWidth, h = kPictureHeight;
    sd.FPicture = SolidPicture(w, h, kZoneClient);
    gfx::TBitmap& p = *sd.FPicture;
    FillArea(p, {0, 0, kLTPoint.X, kLTPoint.Y}, kZoneLT);
    FillArea(p, {kLTPoint.X, 0, kRTPoint.X, kClRect.Top}, kZoneTop);
    FillArea(p, {kRTPoint.X, 0, w, kRTPoint.Y}, kZoneRT);
    FillArea(p, {0, kLTPoint.Y, kClRect.Left, kLBPoint.Y}, kZoneLeft);
    FillArea(p, {kClRect.Right, kRTPoint.Y, w, kRBPoint.Y}, kZoneRight);
    FillArea(p, {0, kLBPoint.Y, kLBPoint.X, h}, kZoneLB);
    FillArea(p, {kLBPoint.X, kClRect.Bottom, kRBPoint.X, h}, kZoneBottom);
    FillArea(p, {kRBPoint.X, kRBPoint.Y, w, h}, kZoneRB);

    if (o.Mask) {
        sd.FMask = SolidPicture(w, h, gfx::clBlack);
        for (int y = 0; y < kCut; ++y)
            for (int x = 0; x + y < kCut; ++x)
                for (auto [px, py] :
                     {std::pair{x, y}, {w - 1 - x, y}, {x, h - 1 - y}, {w - 1 - x, h - 1 - y}})
                    sd.FMask->Canvas().SetPixel(px, py, gfx::clWhite);
    } else {
        sd.FMask = std::make_unique<gfx::TBitmap>();
    }

    // Picture 0: caption-button looks, 16 x 14 each: normal, hot, pressed, inactive, restore,
    // restore hot.
    auto buttons = SolidPicture(96, 14, 0x606060);
    FillArea(*buttons, {16, 0, 32, 14}, 0xA0A0A0);
    FillArea(*buttons, {32, 0, 48, 14}, 0x303030);
    FillArea(*buttons, {48, 0, 64, 14}, 0x909000);
    FillArea(*buttons, {64, 0, 80, 14}, 0x00A000);
    FillArea(*buttons, {80, 0, 96, 14}, 0x00F000);
    // Picture 1: the morphing button's mask, white in its top-left quarter.
    auto mask = SolidPicture(16, 14, gfx::clBlack);
    FillArea(*mask, {0, 0, 8, 7}, gfx::clWhite);
    // Picture 2: the animation strip, three 5 x 10 frames.
    auto strip = SolidPicture(15, 10, 0x0000FF);
    FillArea(*strip, {5, 0, 10, 10}, 0x00FF00);
    FillArea(*strip, {10, 0, 15, 10}, 0xFF0000);
    sd.FActivePictures.clear();
    sd.FActivePicturesNames.Clear();
    for (auto* name : {"buttons.bmp", "mask.bmp", "strip.bmp", "glow.bmp", "glowmask.bmp"})
        sd.FActivePicturesNames.Add(name);
    sd.FActivePictures.push_back(std::move(buttons));
    sd.FActivePictures.push_back(std::move(mask));
    sd.FActivePictures.push_back(std::move(strip));
    // Pictures 3 and 4: the morphing button's glow layer and its (opaque) mask.
    sd.FActivePictures.push_back(SolidPicture(24, 22, 0x00FFFF));
    sd.FActivePictures.push_back(SolidPicture(24, 22, gfx::clWhite));

    sd.LTPoint = kLTPoint;
    sd.RTPoint = kRTPoint;
    sd.LBPoint = kLBPoint;
    sd.RBPoint = kRBPoint;
    sd.ClRect = kClRect;
    sd.CaptionRect = kCaptionRect;
    sd.ButtonsRect = o.UseButtonsRect ? kButtonsRect : gfx::TRect{};
    sd.ButtonsOffset = kButtonsOffset;
    sd.CapButtonsInLeft = o.ButtonsInLeft;
    sd.MaskRectArea = kMaskRectArea;
    sd.HitTestLTPoint = {10, 10};
    sd.HitTestRTPoint = {226, 10};
    sd.HitTestLBPoint = {10, 90};
    sd.HitTestRBPoint = {226, 90};
    sd.BorderW = kBorderW;
    sd.FormMinWidth = 200;

    sd.ObjectList.clear();
    auto* caption = Add<TbsDataSkinCaption>(sd, "caption");
    caption->SkinRect = kCaptionRect;
    caption->TextRct = {2, 0, 96, 20};
    caption->FontHeight = 14;
    caption->FontColor = 0x000000;
    caption->ActiveFontColor = 0x000000;
    caption->Alignment = taLeftJustify;

    if (o.Buttons) {
        const std::pair<const char*, TbsStdCommand> commands[] = {
            {"closebutton", cmClose},     {"maxbutton", cmMaximize},
            {"minbutton", cmMinimize},    {"rollupbutton", cmRollUp},
            {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
        for (auto [name, command] : commands) {
            auto* b = Add<TbsDataSkinStdButton>(sd, name);
            b->Command = command;
            b->SkinRectInAPicture = true;
            b->ActivePictureIndex = 0;
            b->SkinRect = {0, 0, 16, 14};
            b->ActiveSkinRect = {16, 0, 32, 14};
            b->DownRect = {32, 0, 48, 14};
            b->InActiveSkinRect = {48, 0, 64, 14};
            if (command == cmMaximize || command == cmRollUp) {
                b->RestoreRect = {64, 0, 80, 14};
                b->RestoreActiveRect = {80, 0, 96, 14};
                b->RestoreHint = "Restore";
            }
        }
    }
    if (o.Extras) {
        auto* morph = Add<TbsDataSkinButton>(sd, "morphbutton");
        morph->SkinRect = kMorphRect;
        morph->ActivePictureIndex = 0;
        morph->ActiveMaskPictureIndex = 1;
        morph->ActiveSkinRect = {16, 0, 32, 14};
        morph->Morphing = true;
        morph->GlowLayerPictureIndex = 3;
        morph->GlowLayerMaskPictureIndex = 4;
        morph->GlowLayerOffsetX = 4;
        morph->GlowLayerOffsetY = 4;
        auto* animate = Add<TbsDataSkinAnimate>(sd, "animate");
        animate->SkinRect = kAnimateRect;
        animate->ActivePictureIndex = 2;
        animate->ActiveSkinRect = {0, 0, 15, 10};
        animate->CountFrames = 3;
        animate->Cycle = true;
    }
    sd.Empty = false;
}

void TFormSkinTest::SetUp() {
    vcl::test::TVclTest::SetUp();
}

vcl::TForm* TFormSkinTest::MakeForm(int width, int height, const std::string& name) {
    auto* form = new vcl::TForm(vcl::Application);
    form->SetName(name);
    form->SetBounds(100, 100, width, height);
    form->Show();
    Run();
    return form;
}

TbsSkinData* TFormSkinTest::MakeSkin(const TSkinOptions& options) {
    auto* sd = new TbsSkinData(vcl::Application);
    FillTestSkin(*sd, options);
    return sd;
}

TbsSkinForm* TFormSkinTest::SkinnedForm(const TSkinOptions& options, int width, int height) {
    vcl::TForm* form = MakeForm(width, height);
    auto* sf = new TbsSkinForm(form);
    sf->SetSkinData(MakeSkin(options));
    Run();
    return sf;
}

TbsActiveSkinObject* TFormSkinTest::Object(TbsSkinForm* sf, const std::string& name) {
    const int i = sf->GetIndex(name);
    EXPECT_NE(i, -1) << name;
    return i == -1 ? nullptr : sf->ObjectList[i].get();
}

}  // namespace skin::test
