// Milliseconds for an 839x522 form of 100 skinned controls: a full repaint, and the skin-change
// walk (BeforeChangeSkinData on every control, then ChangeSkinData, parents first) followed by a
// full repaint; with no skin and with the first-start skin. Medians of many rounds. Goals: a full
// repaint at most 5 ms, the walk with its repaint at most 20 ms. Also printed: a whole skin load
// (the package inflated and read, the walk, the repaint) for comparison.
//
// The kinds of control are a table: each further kind of skinned control adds a row.
//
// Then, with the first-start skin, two drags: 200 pointer moves dragging the seek-bar slider
// (241 x 26, smooth, transparent, the skin's thumb) over a skinned panel, and 200 dragging a
// scroll bar's thumb; each move is handled with its repaint. Goal: at most 1 ms per move, median.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "headless_desktop.h"
#include "platform/vcl/vcl.h"
#include "skin/controls/bars.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/link_label.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/page_control.h"
#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/slider.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"
#include "skin/controls/up_down.h"
#include "skin/controls/view_wrappers.h"
#include "skin/core/skin_data.h"
#include "skin/packages/stored_skins.h"

using namespace vcl;

// controls_speed_views.cpp: the list view's thumb drag and the page control's tab switch.
bool MeasureViewsAndTabs(skin::TbsCompressedStoredSkin* firstStart);

namespace {

constexpr int kWidth = 839, kHeight = 522;
constexpr int kColumns = 10, kRows = 10;

struct TKind {
    const char* Name;
    // Makes one control of the kind on the form, bound to the skin data, in the cell.
    std::function<TControl*(TForm* form, skin::TbsSkinData* data, const TRect& cell, int i)> Make;
};

const TKind kKinds[] = {
    {"button",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* b = new skin::TbsSkinButton(form);
         b->SetParent(form);
         b->SetBounds(cell.Left + 4, cell.Top + 12, cell.Width() - 8, 26);
         b->SetCaption("按钮 " + std::to_string(i));
         b->SetSkinData(data);
         return b;
     }},
    {"page control",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* pc = new skin::TbsSkinPageControl(form);
         pc->SetParent(form);
         pc->SetBounds(cell.Left + 2, cell.Top + 2, cell.Width() - 4, cell.Height() - 4);
         for (int p = 0; p < 2; ++p) {
             auto* sheet = new skin::TbsSkinTabSheet(form);
             sheet->SetCaption(p == 0 ? "常规" : std::to_string(i));
             sheet->SetPageControl(pc);
         }
         pc->SetSkinData(data);
         return pc;
     }},
    {"list view",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* list = new skin::TbsSkinListView(form);
         list->SetParent(form);
         list->SetBounds(cell.Left + 2, cell.Top + 2, cell.Width() - 4, cell.Height() - 4);
         list->SetViewStyle(vsReport);
         list->Columns().Add()->SetCaption("名称");
         for (int r = 0; r < 3; ++r) list->Items().Add()->SetCaption(std::to_string(i * 3 + r));
         list->SetSkinData(data);
         return list;
     }},
    {"scroll bar",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* b = new skin::TbsSkinScrollBar(form);
         b->SetParent(form);
         b->SetBounds(cell.Left + 4, cell.Top + 16, cell.Width() - 8, 19);
         b->SetRange(0, 99, i, 20);
         b->SetSkinData(data);
         return b;
     }},
    {"slider",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* s = new skin::TbsSkinSlider(form);
         s->SetParent(form);
         s->SetBounds(cell.Left + 2, cell.Top + 4, cell.Width() - 4, cell.Height() - 8);
         s->SetValue(i);
         s->SetSkinData(data);
         return s;
     }},
    {"up-down",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int) -> TControl* {
         auto* u = new skin::TbsSkinUpDown(form);
         u->SetParent(form);
         u->SetBounds(cell.Left + 20, cell.Top + 16, 36, 20);
         u->SetSkinData(data);
         return u;
     }},
    {"scroll box",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int) -> TControl* {
         auto* b = new skin::TbsSkinScrollBox(form);
         b->SetParent(form);
         b->SetBounds(cell.Left + 4, cell.Top + 4, cell.Width() - 8, cell.Height() - 8);
         b->SetSkinData(data);
         return b;
     }},
    {"speed button",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* b = new skin::TbsSkinSpeedButton(form);
         b->SetParent(form);
         b->SetBounds(cell.Left + 4, cell.Top + 12, cell.Width() - 8, 26);
         b->SetCaption("工具 " + std::to_string(i));
         b->SetSkinData(data);
         return b;
     }},
    {"menu speed button",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* b = new skin::TbsSkinMenuSpeedButton(form);
         b->SetParent(form);
         b->SetBounds(cell.Left + 4, cell.Top + 12, cell.Width() - 8, 26);
         b->SetCaption("添加 " + std::to_string(i));
         b->SetTrackButtonMode(i % 2 == 0);
         b->SetSkinData(data);
         return b;
     }},
    {"panel",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* p = new skin::TbsSkinPanel(form);
         p->SetParent(form);
         p->SetBounds(cell.Left + 2, cell.Top + 2, cell.Width() - 4, cell.Height() - 4);
         p->SetCaption("面板 " + std::to_string(i));
         p->SetSkinData(data);
         return p;
     }},
    {"std label",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* l = new skin::TbsSkinStdLabel(form);
         l->SetParent(form);
         l->SetBounds(cell.Left + 4, cell.Top + 16, cell.Width() - 8, 20);
         l->SetCaption("标签 " + std::to_string(i));
         l->SetSkinData(data);
         return l;
     }},
    {"text label",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* l = new skin::TbsSkinTextLabel(form);
         l->SetParent(form);
         l->SetBounds(cell.Left + 4, cell.Top + 8, cell.Width() - 8, 40);
         l->Lines().SetText("视频码率\n" + std::to_string(i));
         l->SetSkinData(data);
         return l;
     }},
    {"link label",
     [](TForm* form, skin::TbsSkinData* data, const TRect& cell, int i) -> TControl* {
         auto* l = new skin::TbsSkinLinkLabel(form);
         l->SetParent(form);
         l->SetAutoSize(false);
         l->SetBounds(cell.Left + 4, cell.Top + 8, cell.Width() - 8, 36);
         l->SetGlowEffect(true);
         l->SetGlowSize(6);
         l->SetCaption("链接 " + std::to_string(i));
         l->SetSkinData(data);
         return l;
     }},
};

// The rows below the grid of single controls: a tool bar of speed buttons and a transparent
// group box holding flat check and radio boxes.
constexpr int kGridCells = 70;
constexpr int kToolButtons = 8;
constexpr int kGroupBoxes = 20;

void MakeBars(TForm* form, skin::TbsSkinData* data, int top) {
    auto* bar = new skin::TbsSkinToolBar(form);
    bar->SetParent(form);
    bar->SetBounds(0, top, kWidth, 30);
    bar->SetSkinData(data);
    for (int i = 0; i < kToolButtons; ++i) {
        auto* b = new skin::TbsSkinSpeedButton(form);
        b->SetParent(bar);
        b->SetBounds(i * 80, 0, 76, 24);
        b->SetCaption("工具 " + std::to_string(i));
        b->SetSkinData(data);
    }
    auto* group = new skin::TbsSkinGroupBox(form);
    group->SetParent(form);
    group->SetBounds(0, top + 32, kWidth, kHeight - top - 32);
    group->SetCaption("选项");
    group->SetTransparentMode(true);
    group->SetSkinData(data);
    for (int i = 0; i < kGroupBoxes; ++i) {
        auto* box = new skin::TbsSkinCheckRadioBox(form);
        box->SetParent(group);
        box->SetBounds(10 + (i % 5) * 165, 24 + (i / 5) * 28, 150, 22);
        box->SetRadio(i % 2 == 1);
        if (i % 2 == 1) box->SetSkinDataName("radiobox");
        box->SetCaption((i % 2 ? "单选 " : "复选 ") + std::to_string(i));
        box->SetChecked(i % 3 == 0);
        box->SetSkinData(data);
    }
}

void Walk(TWinControl* root, skin::TbsSkinData* data, bool before) {
    for (int i = 0; i < root->ControlCount(); ++i) {
        TControl* control = root->Controls(i);
        if (skin::TbsSkinClient* c = skin::AsSkinClient(control); c && c->SkinData() == data) {
            if (before)
                c->BeforeChangeSkinData();
            else
                c->ChangeSkinData();
        }
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) Walk(windowed, data, before);
    }
}

// Median milliseconds of `rounds` calls, after a few to warm the caches.
double Median(int rounds, const std::function<void()>& call) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < 5; ++i) call();
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        call();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main() {
    bench::StartHeadlessDesktop();

    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientWidth(kWidth);
    form->SetClientHeight(kHeight);
    auto* data = new skin::TbsSkinData(form);
    // The form skin component's part of a skin change, until forms have one.
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.LParam == skin::kSkinDataLParam && m.Msg == skin::WM_BEFORECHANGESKINDATA)
            Walk(form, data, true);
        if (m.LParam == skin::kSkinDataLParam && m.Msg == skin::WM_CHANGESKINDATA)
            Walk(form, data, false);
        old(m);
    };
    const int cellWidth = kWidth / kColumns, cellHeight = kHeight / kRows;
    const int kinds = int(std::size(kKinds));
    for (int i = 0; i < kGridCells; ++i) {
        const TRect cell = gfx::Bounds((i % kColumns) * cellWidth, (i / kColumns) * cellHeight,
                                       cellWidth, cellHeight);
        kKinds[i % kinds].Make(form, data, cell, i);
    }
    MakeBars(form, data, (kGridCells / kColumns) * cellHeight);
    form->Show();
    Application->ProcessMessages();

    auto* list = new skin::TbsCompressedSkinList(form);
    skin::AddStoredSkins(*list, skin::ChooserSkinPackages().first(1));
    skin::TbsCompressedStoredSkin* firstStart = list->Skins().Items(0)->Skin();

    const HWND window = form->Handle();
    auto repaint = [&] {
        win::RedrawWindow(
            window, nullptr, nullptr,
            win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
    };
    auto walk = [&] {
        Walk(form, data, true);
        Walk(form, data, false);
        repaint();
    };

    std::string names;
    for (const TKind& k : kKinds) names += std::string(names.empty() ? "" : ", ") + k.Name;
    names += ", a tool bar of speed buttons, a transparent group box of check and radio boxes";
    std::printf("An %dx%d form of %d skinned controls (%s), median ms:\n", kWidth, kHeight,
                kGridCells + 2 + kToolButtons + kGroupBoxes, names.c_str());
    bool met = true;
    for (bool skinned : {false, true}) {
        if (skinned) {
            data->LoadCompressedStoredSkin(firstStart);
            Application->ProcessMessages();
        }
        const char* look = skinned ? "first-start skin" : "no skin";
        const double paint = Median(60, repaint);
        const double change = Median(30, walk);
        std::printf("  %-17s full repaint %7.3f ms (goal 5)   walk + repaint %7.3f ms (goal 20)\n",
                    look, paint, change);
        if (skinned) {
            const double load = Median(10, [&] {
                data->LoadCompressedStoredSkin(firstStart);
                repaint();
            });
            std::printf("  %-17s whole skin load, walk and repaint %7.3f ms\n", look, load);
        }
        met = met && paint <= 5 && change <= 20;
    }

    met = MeasureViewsAndTabs(firstStart) && met;

    // The drags, on a form of their own with the first-start skin loaded.
    TForm* dragForm = nullptr;
    Application->CreateForm(dragForm);
    dragForm->SetBounds(100, 100, 400, 160);
    auto* panel = new skin::TbsSkinPanel(dragForm);
    panel->SetParent(dragForm);
    panel->SetBounds(0, 0, 380, 120);
    panel->SetSkinData(data);
    auto* seek = new skin::TbsSkinSlider(dragForm);
    seek->SetParent(panel);
    seek->SetBounds(20, 20, 241, 26);
    seek->SetOptions({skin::soShowFocus, skin::soSmooth});
    seek->SetTransparent(true);
    seek->SetUseSkinThumb(true);
    seek->SetIncrement(5);
    seek->SetMaxValue(241);
    seek->SetSkinData(data);
    auto* bar = new skin::TbsSkinScrollBar(dragForm);
    bar->SetParent(panel);
    bar->SetBounds(20, 70, 300, 19);
    bar->SetRange(0, 1000, 0, 100);
    bar->SetSkinData(data);
    int seekChanges = 0, barChanges = 0;
    seek->OnChange = [&](TObject*) { ++seekChanges; };
    bar->OnChange = [&](TObject*) { ++barChanges; };
    dragForm->Show();
    Application->ProcessMessages();
    auto& screen = static_cast<win::THeadlessBackend&>(win::Backend());
    // Median ms of 200 moves of a drag that starts at `grab` (client point of `control`) and
    // sweeps `span` pixels to the right and back.
    auto drag = [&](TControl* control, TPoint grab, int span) {
        const TPoint start = control->ClientToScreen(grab);
        screen.MouseMove(start);
        screen.MouseDown(start);
        Application->ProcessMessages();
        using Clock = std::chrono::steady_clock;
        std::vector<double> ms;
        for (int i = 1; i <= 200; ++i) {
            const int step = (i * 3) % (2 * span);
            const int dx = step < span ? step : 2 * span - step;
            const auto t0 = Clock::now();
            screen.MouseMove({start.X + dx, start.Y});
            Application->ProcessMessages();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
        screen.MouseUp({start.X, start.Y});
        Application->ProcessMessages();
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    };
    const TRect thumb = seek->ThumbRect();
    const double seekMove = drag(seek, {thumb.Left + 2, thumb.Top + 4}, 200);
    const TRect barThumb = bar->Part(0).R;
    const double barMove = drag(
        bar, {(barThumb.Left + barThumb.Right) / 2, (barThumb.Top + barThumb.Bottom) / 2}, 200);
    std::printf(
        "  first-start skin  seek-bar drag %7.3f ms per move   scroll-bar thumb drag "
        "%7.3f ms per move (goal 1); %d and %d changes\n",
        seekMove, barMove, seekChanges, barChanges);
    met = met && seekMove <= 1 && barMove <= 1;

    FinalizeApplication();
    win::Finalize();
    return met ? 0 : 1;
}
