// Milliseconds per call of the skin effects on one core: stack blur of an 839x522 bitmap at
// three radii, glow and band-glow captions of 24 Chinese and Latin characters, and the blend of
// one 839x522 bitmap onto another with each blend variant. Each line shows its goal.
#include <cstdio>

#include "measure.h"
#include "platform/rtl/random.h"
#include "skin/core/effects.h"

using namespace skin;
using bench::Measure;

namespace {

constexpr int kWidth = 839, kHeight = 522;
const char* const kCaption = "Moradex 视频格式转换 v1.0 专业版本";  // 24 characters

void Noise(TbsBitmap& b) {
    TbsColor* p = b.Bits();
    for (int i = 0; i < kWidth * kHeight; ++i)
        p[i] = TbsColor(rtl::Random(1 << 16)) << 16 | TbsColor(rtl::Random(1 << 16));
}

void Line(const char* name, double ms, double goal) {
    std::printf("  %-44s %8.3f ms   (goal %.0f ms: %s)\n", name, ms, goal,
                ms <= goal ? "met" : "MISSED");
}

}  // namespace

int main() {
    TbsBitmap source, picture, target;
    for (TbsBitmap* b : {&source, &picture, &target}) {
        b->SetSize(kWidth, kHeight);
        Noise(*b);
    }

    std::printf("Skin effects, %dx%d bitmaps, milliseconds per call:\n", kWidth, kHeight);
    double blur[3];
    const int radii[3] = {1, 6, 20};
    for (int i = 0; i < 3; ++i) {
        blur[i] = Measure([&] {
            picture.Assign(source);
            StackBlurBitmap(picture, radii[i]);
        });
    }
    // The copy that restores the picture each time, measured alone and taken off.
    const double copy = Measure([&] { picture.Assign(source); });
    char name[64];
    for (int i = 0; i < 3; ++i) {
        std::snprintf(name, sizeof name, "StackBlurBitmap radius %d", radii[i]);
        Line(name, blur[i] - copy, 6);
    }
    const double ratio = (blur[2] - copy) / (blur[0] - copy);
    std::printf("  %-44s %8.2f      (goal 1.5: %s)\n", "radius 20 / radius 1", ratio,
                ratio <= 1.5 ? "met" : "MISSED");

    TbsBitmap caption;
    caption.SetSize(kWidth, 30);
    gfx::TCanvas& canvas = caption.Canvas();
    canvas.Font().SetName("宋体");
    canvas.Font().SetHeight(-14);
    canvas.Font().SetColor(gfx::clWhite);
    const gfx::TRect r{30, 6, 330, 24};
    Line("DrawGlowText (GlowSize 3)", Measure([&] {
             DrawGlowText(canvas, r, kCaption, gfx::DT_SINGLELINE | gfx::DT_VCENTER, 0,
                          gfx::RGB(255, 200, 0), 3);
         }),
         1);
    Line("DrawVistaGlowText", Measure([&] {
             DrawVistaGlowText(canvas, r, kCaption, gfx::DT_SINGLELINE | gfx::DT_VCENTER,
                               gfx::clWhite);
         }),
         1);

    source.AlphaBlend = true;
    for (const bool mmx : {false, true}) {
        PickPixelRoutines(mmx);
        Line(mmx ? "blend onto another bitmap (MMX arithmetic)"
                 : "blend onto another bitmap (plain arithmetic)",
             Measure([&] { source.Draw(target, 0, 0); }), 2);
    }
    PickPixelRoutines();
    return 0;
}
