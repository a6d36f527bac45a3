// Edge-drag and caption-drag steps of a skinned form: a sizeable form with an 839 x 522 client
// area in the masked shipped skin, dragged through the window's move/size loop by injected
// input, 200 steps each. A step is the time from one WM_SIZING (WM_MOVING) to the next: the
// frame and region for the new size, the window's new bounds, the frame and client repaint and
// the screen's composition. The pointer moves on once the step's client paint is done (a move
// repaints nothing: once the window moved), as a hand would on a real screen.
// A second run adds a layered border to that skin (no shipped skin has one: a synthetic 60 x 100
// shadow picture with a grey mask), so each size step also re-cuts and pushes the border's four
// images. Prints milliseconds per step, median and worst. Targets: size steps median under
// 5 ms and none over 16 ms; move steps under 1 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <vector>

#include "headless_desktop.h"
#include "platform/vcl/vcl.h"
#include "skin/core/skin_data.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/skin_form.h"
#include "skin/packages/stored_skins.h"

namespace {

using Clock = std::chrono::steady_clock;

struct TFigures {
    double Median = 0, Worst = 0;
    std::size_t WorstStep = 0;
};

TFigures Summarise(std::vector<double> ms) {
    if (ms.empty()) return {};
    const auto worst = std::max_element(ms.begin(), ms.end());
    const std::size_t step = std::size_t(worst - ms.begin()) + 1;
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back(), step};
}

// Drags from `start` along `path` and returns the time of each step; the pointer moves on
// when `nextMessage` has been handled in the loop.
std::vector<double> Drag(vcl::TForm* form, skin::TbsSkinForm* sf, win::UINT stepMessage,
                         win::UINT nextMessage, gfx::TPoint start, std::deque<gfx::TPoint> path) {
    auto& screen = static_cast<win::THeadlessBackend&>(win::Backend());
    std::vector<double> steps;
    Clock::time_point last{};
    bool haveLast = false;
    const gfx::TPoint end = path.back();
    auto inner = form->WindowProc;
    form->WindowProc = [&, inner](vcl::TMessage& m) {
        if (m.Msg == stepMessage) {
            const auto now = Clock::now();
            if (haveLast)
                steps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
            haveLast = true;
        }
        inner(m);
        if (m.Msg == nextMessage && sf->FSizeMove) {
            if (!path.empty()) {
                screen.MouseMove(path.front());
                path.pop_front();
            } else {
                screen.MouseUp(end);
            }
        }
    };
    screen.MouseDown(start);
    screen.MouseMove(path.front());
    path.pop_front();
    vcl::Application->ProcessMessages();
    form->WindowProc = inner;
    return steps;
}

// A soft shadow around the form: picture 60 x 100, the form over (20, 20, 40, 80), resize
// zones 6 deep; alpha falls off towards the picture's edge.
void AddLayerFrame(skin::TbsSkinData& sd) {
    const int PW = 60, PH = 100;
    auto picture = std::make_unique<gfx::TBitmap>();
    auto mask = std::make_unique<gfx::TBitmap>();
    for (auto* b : {picture.get(), mask.get()}) {
        b->SetPixelFormat(gfx::pf24bit);
        b->SetSize(PW, PH);
    }
    for (int y = 0; y < PH; ++y)
        for (int x = 0; x < PW; ++x) {
            const int d = std::min({x, y, PW - 1 - x, PH - 1 - y, 20});
            const int grey = d * 255 / 20;
            picture->Canvas().SetPixel(x, y, 0x202020);
            mask->Canvas().SetPixel(x, y, gfx::TColor(grey | grey << 8 | grey << 16));
        }
    const int index = int(sd.FActivePictures.size());
    sd.FActivePicturesNames.Add("benchlayer.bmp");
    sd.FActivePicturesNames.Add("benchlayermask.bmp");
    sd.FActivePictures.push_back(std::move(picture));
    sd.FActivePictures.push_back(std::move(mask));
    skin::TbsDataSkinLayerFrame& r = sd.LayerFrame;
    r.PictureIndex = index;
    r.MaskPictureIndex = index + 1;
    r.ClRect = {20, 20, 40, 80};
    r.LTPoint = {20, 20};
    r.RTPoint = {40, 20};
    r.LBPoint = {20, 80};
    r.RBPoint = {40, 80};
    r.BorderRect = {14, 14, 46, 86};
    r.AlphaBlendValue = 255;
    r.InActiveAlphaBlendValue = 180;
    r.HitTestEnable = true;
}

void RunCase(bool layered) {
    auto* form = new vcl::TForm(vcl::Application);
    form->SetBorderStyle(vcl::bsSizeable);
    form->SetBounds(60, 40, 900, 600);
    form->Show();
    auto* data = new skin::TbsSkinData(form);
    auto* sf = new skin::TbsSkinForm(form);
    sf->SetSkinData(data);
    auto* list = new skin::TbsCompressedSkinList(form);
    skin::AddStoredSkins(*list, {&skin::ChooserSkinPackages()[2], 1});
    data->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    if (layered) {
        AddLayerFrame(*data);
        sf->ChangeSkinData();
    }
    form->SetClientWidth(839);
    form->SetClientHeight(522);
    vcl::Application->ProcessMessages();
    std::printf("%s\nform %d x %d, client %d x %d, skin with a mask: %s\n",
                layered ? "with a layered border" : "without a layered border", form->Width(),
                form->Height(), form->ClientWidth(), form->ClientHeight(),
                data->FMask && data->FMask->Width() > 0 ? "yes" : "no");
    if (layered && !sf->BorderLayer()->Visible()) std::printf("the layered border is not shown!\n");

    // Edge drag: the bottom-right corner out and back in, one pixel a step each way.
    const gfx::TPoint grip{form->Left() + form->Width() - 4, form->Top() + form->Height() - 4};
    std::deque<gfx::TPoint> sizePath;
    for (int i = 1; i <= 100; ++i) sizePath.push_back({grip.X + i, grip.Y + i / 2});
    for (int i = 99; i >= -1; --i) sizePath.push_back({grip.X + i, grip.Y + i / 2});
    const std::vector<double> sizes = Drag(form, sf, win::WM_SIZING, win::WM_PAINT, grip, sizePath);

    // Caption drag: 201 pointer moves.
    sf->CalcSkinRects();
    const gfx::TPoint caption{
        form->Left() + sf->NewCaptionRect.Left + 40,
        form->Top() + (sf->NewCaptionRect.Top + sf->NewCaptionRect.Bottom) / 2};
    std::deque<gfx::TPoint> movePath;
    for (int i = 1; i <= 201; ++i) movePath.push_back({caption.X + i % 40, caption.Y + i % 25});
    const std::vector<double> moves =
        Drag(form, sf, win::WM_MOVING, win::WM_MOVE, caption, movePath);

    const TFigures s = Summarise(sizes), m = Summarise(moves);
    std::printf(
        "size steps: %zu, median %.3f ms, worst %.3f ms at step %zu (goal: median < 5, "
        "worst <= 16)\n",
        sizes.size(), s.Median, s.Worst, s.WorstStep);
    std::printf("move steps: %zu, median %.3f ms, worst %.3f ms at step %zu (goal: < 1)\n",
                moves.size(), m.Median, m.Worst, m.WorstStep);
    delete form;
    vcl::Application->ProcessMessages();
}

}  // namespace

int main() {
    bench::StartHeadlessDesktop();
    RunCase(false);
    RunCase(true);
    return 0;
}
