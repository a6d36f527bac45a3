// Full repaints per second of an 839x522 form holding 200 controls, half of them windowed and
// half windowless, each filling itself and drawing its caption; the goal is at least 200.
#include <chrono>
#include <cstdio>
#include <string>

#include "headless_desktop.h"
#include "platform/vcl/vcl.h"

using namespace vcl;

namespace {

constexpr int kWidth = 839, kHeight = 522;
constexpr int kColumns = 20, kRows = 10;

void PaintCell(gfx::TCanvas& c, const TRect& r, TColor colour, const std::string& text) {
    c.Brush().SetColor(colour);
    c.FillRect(r);
    c.Brush().SetStyle(gfx::bsClear);
    TRect t = r;
    c.DrawText(text, t, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
}

class TWindowedCell : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override { PaintCell(Canvas(), ClientRect(), gfx::clWindow, Caption()); }
};

class TWindowlessCell : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override { PaintCell(Canvas(), ClientRect(), gfx::clInfoBk, Caption()); }
};

}  // namespace

int main() {
    bench::StartHeadlessDesktop();

    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientWidth(kWidth);
    form->SetClientHeight(kHeight);
    const int cellWidth = kWidth / kColumns, cellHeight = kHeight / kRows;
    for (int i = 0; i < kColumns * kRows; ++i) {
        TControl* cell = i % 2 ? static_cast<TControl*>(new TWindowedCell(form))
                               : static_cast<TControl*>(new TWindowlessCell(form));
        cell->SetBounds((i % kColumns) * cellWidth + 1, (i / kColumns) * cellHeight + 1,
                        cellWidth - 2, cellHeight - 2);
        cell->SetCaption("项 " + std::to_string(i));
        cell->SetParent(form);
    }
    form->Show();
    Application->ProcessMessages();

    const HWND window = form->Handle();
    auto repaint = [&] {
        win::RedrawWindow(
            window, nullptr, nullptr,
            win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
    };
    repaint();  // glyphs into their caches
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    double seconds = 0;
    while (frames < 20 || seconds < 1.0) {
        repaint();
        ++frames;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double perSecond = frames / seconds;
    std::printf("Full repaints of an %dx%d form with %d windowed and %d windowless controls:\n",
                kWidth, kHeight, kColumns * kRows / 2, kColumns * kRows / 2);
    std::printf("  %.1f per second, %.2f ms each (goal: at least 200 per second)\n", perSecond,
                1000.0 / perSecond);

    FinalizeApplication();
    win::Finalize();
    return perSecond >= 200 ? 0 : 1;
}
