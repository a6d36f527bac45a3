// Milliseconds per call of the skin builders on one core: window regions from an 839x522 mask
// (rounded corners, and a checkerboard of 2x2 cells with about 110,000 runs), a window region
// rebuilt at 839x522 from a 200x120 mask, a nine-slice image of a 200x120 frame picture built at
// 839x522 (tiled and stretched), and a layered push of an 839x522 bitmap onto the headless
// screen. Each line shows its goal.
#include <cstdio>

#include "measure.h"
#include "platform/rtl/random.h"
#include "platform/vcl/forms.h"
#include "platform/win/headless.h"
#include "platform/win/win.h"
#include "skin/core/effects.h"

using namespace skin;
using bench::Measure;

namespace {

constexpr int kWidth = 839, kHeight = 522;

void Line(const char* name, double ms, double goal) {
    std::printf("  %-52s %8.3f ms   (goal %.0f ms: %s)\n", name, ms, goal,
                ms <= goal ? "met" : "MISSED");
}

// Black inside, white outside; corners cut by a circle of the given radius.
void RoundedMask(gfx::TBitmap& mask, int w, int h, int radius) {
    mask.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(mask.ScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int dx = x < radius ? radius - x : x >= w - radius ? x - (w - radius - 1) : 0;
            const int dy = y < radius ? radius - y : y >= h - radius ? y - (h - radius - 1) : 0;
            row[x] = dx * dx + dy * dy > radius * radius ? 0x00FFFFFF : 0;
        }
    }
}

// A frame picture of random colours, so no copy can take a short cut.
void FramePicture(gfx::TBitmap& picture) {
    picture.SetSize(200, 120);
    for (int y = 0; y < 120; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(picture.ScanLine(y));
        for (int x = 0; x < 200; ++x) row[x] = std::uint32_t(rtl::Random(1 << 24));
    }
}

}  // namespace

int main() {
    std::printf("Skin builders, milliseconds per call:\n");

    gfx::TBitmap rounded, checker;
    RoundedMask(rounded, kWidth, kHeight, 12);
    checker.SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(checker.ScanLine(y));
        for (int x = 0; x < kWidth; ++x) row[x] = (x / 2 + y / 2) % 2 ? 0x00FFFFFF : 0;
    }
    std::optional<gfx::TRegion> rgn;
    Line("MaskToRegion, 839x522 with rounded corners", Measure([&] { MaskToRegion(rgn, rounded); }),
         2);
    std::vector<std::uint8_t> data;
    const int runs = (MaskRunsToRegionData(checker, 0, 0, data) - 32) / 16;
    char name[80];
    std::snprintf(name, sizeof name, "MaskToRegion, 839x522 2x2 checkerboard (%d runs)", runs);
    Line(name, Measure([&] { MaskToRegion(rgn, checker); }), 150);

    // A 200x120 form picture: caption 30, borders 4, corners 60 across and 40 / 20 down.
    gfx::TBitmap mask, picture, image;
    RoundedMask(mask, 200, 120, 12);
    FramePicture(picture);
    const TPoint lt{60, 40}, rt{140, 40}, lb{60, 100}, rb{140, 100};
    const TRect cl{4, 30, 196, 116};
    const TPoint nlt{60, 40}, nrt{kWidth - 60, 40}, nlb{60, kHeight - 20},
        nrb{kWidth - 60, kHeight - 20};
    const TRect ncl{4, 30, kWidth - 4, kHeight - 4};
    Line("BuildSkinWindowRegion, 200x120 mask at 839x522", Measure([&] {
             BuildSkinWindowRegion(rgn, lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, mask, kWidth,
                                   kHeight);
         }),
         1);
    for (const bool stretch : {false, true})
        Line(stretch ? "BuildNineSliceImage, 200x120 at 839x522, stretched"
                     : "BuildNineSliceImage, 200x120 at 839x522, tiled",
             Measure([&] {
                 BuildNineSliceImage(lt, rt, lb, rb, cl, nlt, nrt, nlb, nrb, ncl, image, picture,
                                     {0, 0, 200, 120}, kWidth, kHeight, true, stretch, stretch,
                                     stretch, stretch, stretch, bsstFull);
             }),
             3);

    win::Initialize(std::make_unique<win::THeadlessBackend>());
    vcl::InitializeApplication();
    auto* layer = new TbsLayerWindow(vcl::Application);
    layer->SetBounds(0, 0, kWidth, kHeight);
    const win::HWND wnd = layer->Handle();
    win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE,
                          win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED);
    win::ShowWindow(wnd, win::SW_SHOWNA);
    TbsBitmap bitmap;
    bitmap.SetSize(kWidth, kHeight);
    TbsColor* p = bitmap.Bits();
    for (int i = 0; i < kWidth * kHeight; ++i)
        p[i] = TbsColor(rtl::Random(1 << 16)) << 16 | TbsColor(rtl::Random(1 << 16));
    Line("PushLayeredBitmap, 839x522", Measure([&] { PushLayeredBitmap(bitmap, 200, *layer); }), 3);
    vcl::FinalizeApplication();
    win::Finalize();
    return 0;
}
