// Milliseconds for an 839x522 form of 100 skinned controls: a full repaint, and the skin-change
// walk (BeforeChangeSkinData on every control, then ChangeSkinData, parents first) followed by a
// full repaint; with no skin and with the first-start skin. Medians of many rounds. Goals: a full
// repaint at most 5 ms, the walk with its repaint at most 20 ms. Also printed: a whole skin load
// (the package inflated and read, the walk, the repaint) for comparison.
//
// The kinds of control are a table: each further kind of skinned control adds a row.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "headless_desktop.h"
#include "platform/vcl/vcl.h"
#include "skin/controls/skin_button.h"
#include "skin/core/skin_data.h"
#include "skin/packages/stored_skins.h"

using namespace vcl;

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
};

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
    for (int i = 0; i < kColumns * kRows; ++i) {
        const TRect cell = gfx::Bounds((i % kColumns) * cellWidth, (i / kColumns) * cellHeight,
                                       cellWidth, cellHeight);
        kKinds[i % kinds].Make(form, data, cell, i);
    }
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
    std::printf("An %dx%d form of %d skinned controls (%s), median ms:\n", kWidth, kHeight,
                kColumns * kRows, names.c_str());
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

    FinalizeApplication();
    win::Finalize();
    return met ? 0 : 1;
}
