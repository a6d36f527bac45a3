// The views' and page control's part of bench/controls_speed: a 500-row, 25-column report list
// with its two bars whose vertical thumb is dragged from top to bottom in 100 moves, each followed
// by the list's repaint (goal: at most 3 ms a move, median), and a tab switch of a two-page page
// control by a click, with its repaint (goal: at most 3 ms, median); with no skin and with the
// first-start skin.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/vcl.h"
#include "platform/win/headless.h"
#include "skin/controls/page_control.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/view_wrappers.h"
#include "skin/core/skin_data.h"

using namespace vcl;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double MedianOf(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
}

// Milliseconds of each of the 100 moves of a thumb drag from the top of the track to its end.
std::vector<double> DragThumb(win::THeadlessBackend& screen, skin::TbsSkinScrollBar* bar,
                              TWinControl* list) {
    Application->ProcessMessages();
    const TRect thumb = bar->Part(0).R;
    const TRect track = bar->TrackRect();
    const int x = (thumb.Left + thumb.Right) / 2;
    int y = (thumb.Top + thumb.Bottom) / 2;
    screen.MouseMove(bar->ClientToScreen({x, y}));
    screen.MouseDown(bar->ClientToScreen({x, y}));
    Application->ProcessMessages();
    const int from = y, to = track.Bottom - thumb.Height() / 2 + 1;
    std::vector<double> ms;
    for (int i = 1; i <= 100; ++i) {
        y = from + (to - from) * i / 100;
        const auto start = Clock::now();
        screen.MouseMove(bar->ClientToScreen({x, y}));
        Application->ProcessMessages();
        win::UpdateWindow(list->Handle());
        ms.push_back(Ms(start));
    }
    screen.MouseUp(bar->ClientToScreen({x, y}));
    Application->ProcessMessages();
    return ms;
}

}  // namespace

// Runs both measures on a form of their own; true when both goals are met.
bool MeasureViewsAndTabs(skin::TbsCompressedStoredSkin* firstStart) {
    auto& screen = dynamic_cast<win::THeadlessBackend&>(win::Backend());
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientWidth(839);
    form->SetClientHeight(522);
    auto* data = new skin::TbsSkinData(form);

    auto* list = new skin::TbsSkinListView(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 520, 400);
    list->SetViewStyle(vsReport);
    list->SetSkinData(data);
    for (int c = 0; c < 25; ++c) {
        TListColumn* column = list->Columns().Add();
        column->SetCaption("列 " + std::to_string(c));
        column->SetWidth(c < 5 ? 110 : 40);
    }
    list->Items().BeginUpdate();
    for (int r = 0; r < 500; ++r) {
        TListItem* item = list->Items().Add();
        item->SetCaption("视频文件 " + std::to_string(r) + ".avi");
        for (int c = 1; c < 25; ++c) item->SubItems().Add(std::to_string(r * c));
    }
    list->Items().EndUpdate();
    auto* v = new skin::TbsSkinScrollBar(form);
    v->SetParent(form);
    v->SetKind(skin::sbVertical);
    v->SetSkinDataName("vscrollbar");
    v->SetBounds(530, 10, 19, 400);
    v->SetSkinData(data);
    auto* h = new skin::TbsSkinScrollBar(form);
    h->SetParent(form);
    h->SetBounds(10, 410, 520, 19);
    h->SetSkinData(data);
    list->SetVScrollBar(v);
    list->SetHScrollBar(h);

    auto* pages = new skin::TbsSkinPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(560, 10, 270, 300);
    pages->SetSkinData(data);
    for (int p = 0; p < 2; ++p) {
        auto* sheet = new skin::TbsSkinTabSheet(form);
        sheet->SetCaption(p == 0 ? "常规" : "高级");
        sheet->SetPageControl(pages);
        for (int b = 0; b < 4; ++b) {
            auto* button = new skin::TbsSkinButton(form);
            button->SetParent(sheet);
            button->SetBounds(12, 12 + b * 34, 100, 26);
            button->SetCaption("按钮 " + std::to_string(b));
            button->SetSkinData(data);
        }
    }
    pages->UpDateTabs();
    form->Show();
    Application->ProcessMessages();

    bool met = true;
    std::printf("Views and tabs, median ms:\n");
    for (bool skinned : {false, true}) {
        if (skinned) {
            data->LoadCompressedStoredSkin(firstStart);
            list->ChangeSkinData();
            pages->ChangeSkinData();
            Application->ProcessMessages();
        }
        std::vector<double> moves;
        for (int round = 0; round < 5; ++round) {
            v->SetPosition(0);
            Application->ProcessMessages();
            const std::vector<double> ms = DragThumb(screen, v, list);
            moves.insert(moves.end(), ms.begin(), ms.end());
        }
        std::vector<double> switches;
        int changes = 0;
        pages->OnChange = [&](TObject*) { ++changes; };
        for (int i = 0; i < 61; ++i) {
            const TRect tab = pages->TabRectOf(i % 2 == 0 ? 1 : 0);
            const TPoint at = pages->ClientToScreen({tab.Left + 8, tab.Top + 6});
            const auto start = Clock::now();
            screen.MouseMove(at);
            screen.MouseDown(at);
            screen.MouseUp(at);
            Application->ProcessMessages();
            win::UpdateWindow(pages->Handle());
            if (i > 0) switches.push_back(Ms(start));  // the first one warms up
        }
        const double move = MedianOf(moves), tabSwitch = MedianOf(switches);
        std::printf(
            "  %-17s 500x25 list thumb move + repaint %7.3f ms (goal 3)   tab switch + repaint "
            "%7.3f ms (goal 3)   (list at row %d after the drags, %d switches)\n",
            skinned ? "first-start skin" : "no skin", move, tabSwitch,
            list->TopItem() ? list->TopItem()->Index() : -1, changes);
        met = met && move <= 3 && tabSwitch <= 3;
    }
    form->Free();
    Application->ProcessMessages();
    return met;
}
