// Screenshot sheets of the scrolling controls, a row per state and a column per look: scroll bars
// (horizontal with their parts normal, hot and pressed, the thumb dragged, focused, disabled, a
// page thumb and the corner of both bars; vertical), sliders (own pictures and the skin's thumb,
// pressed, disabled, focused, points, the seek bar, vertical), up-downs (each button hot and
// pressed, both orientations, the skin's button at any size, a skin without "resizebutton") and
// the scroll box's borders.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sheet_test_support.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_box.h"
#include "skin/controls/slider.h"
#include "skin/controls/up_down.h"

namespace skin {
namespace {

// The fixed skin of the category and format lists, whose lists scroll with these bars.
const test::TSheetLook kListLook{"list skin", 8};

class ScrollSheetTest : public test::TSheetTest {
protected:
    // Controls of one look, freed before the next look is applied.
    template <class T>
    T* Add(int x, int y, int w, int h, const std::string& name = "") {
        T* c = Make<T>(x, y, w, h, name);
        FMade.push_back(c);
        return c;
    }
    void FreeMade() {
        for (vcl::TControl* c : FMade) c->Free();
        FMade.clear();
        Run();
    }
    std::vector<vcl::TControl*> FMade;
};

TEST_F(ScrollSheetTest, HorizontalScrollBars) {
    enum {
        kNormal,
        kHotUp,
        kPressedDown,
        kHotThumb,
        kDragged,
        kFocused,
        kDisabled,
        kPage,
        kBoth,
        kRows
    };
    test::TSheet sheet;
    const std::vector<test::TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook,
                                                 kListLook};
    Form->SetClientHeight(kRows * 28 + 20);
    for (std::size_t column = 0; column < looks.size(); ++column) {
        ApplyLook(looks[column]);
        std::vector<TbsSkinScrollBar*> bars;
        for (int row = 0; row < kRows; ++row) {
            auto* bar = Add<TbsSkinScrollBar>(10, 12 + row * 28, 160, 19);
            bar->SetPosition(30);
            bars.push_back(bar);
        }
        bars[kPage]->SetRange(0, 99, 30, 25);
        bars[kBoth]->SetBoth(true);
        bars[kBoth]->SetRange(0, 99, 30, 25);
        bars[kDisabled]->SetEnabled(false);
        bars[kFocused]->SetCanFocused(true);
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(bars[std::size_t(row)]));
        };
        for (int row : {int(kNormal), int(kDisabled), int(kPage), int(kBoth)}) capture(row);
        TbsSkinScrollBar* b = bars[kHotUp];
        MoveTo(b, b->Part(1).R.Left + 8, 9);
        capture(kHotUp);
        b = bars[kHotThumb];
        MoveTo(b, (b->Part(0).R.Left + b->Part(0).R.Right) / 2, 9);
        capture(kHotThumb);
        b = bars[kPressedDown];
        Down(b, b->Part(2).R.Left + 8, 9);
        capture(kPressedDown);
        ReleaseAway();
        b = bars[kDragged];
        const int grab = (b->Part(0).R.Left + b->Part(0).R.Right) / 2;
        Down(b, grab, 9);
        MoveTo(b, grab + 30, 9);
        capture(kDragged);
        ReleaseAway();
        bars[kFocused]->SetFocus();
        Settle();
        capture(kFocused);
        FreeMade();
    }
    test::ExpectSheetMatches(sheet.Compose(), "scroll_bar_horizontal");
}

TEST_F(ScrollSheetTest, VerticalScrollBars) {
    enum { kNormal, kHotUp, kPressedThumb, kPage, kRows };
    test::TSheet sheet;
    const std::vector<test::TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook,
                                                 kListLook};
    for (std::size_t column = 0; column < looks.size(); ++column) {
        ApplyLook(looks[column]);
        std::vector<TbsSkinScrollBar*> bars;
        for (int row = 0; row < kRows; ++row) {
            // As a form would build it: kind, record name and default sizes before the skin.
            auto* bar = new TbsSkinScrollBar(Form);
            bar->SetKind(sbVertical);
            bar->SetSkinDataName("vscrollbar");
            bar->SetDefaultHeight(0);
            bar->SetDefaultWidth(19);
            bar->SetParent(Form);
            bar->SetBounds(10 + row * 40, 12, 19, 110);
            bar->SetSkinData(Data);
            bar->SetPosition(30);
            FMade.push_back(bar);
            bars.push_back(bar);
        }
        bars[kPage]->SetRange(0, 99, 60, 30);
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(bars[std::size_t(row)]));
        };
        capture(kNormal);
        capture(kPage);
        TbsSkinScrollBar* b = bars[kHotUp];
        MoveTo(b, 9, b->Part(1).R.Top + 8);
        capture(kHotUp);
        b = bars[kPressedThumb];
        Down(b, 9, (b->Part(0).R.Top + b->Part(0).R.Bottom) / 2);
        capture(kPressedThumb);
        ReleaseAway();
        FreeMade();
    }
    test::ExpectSheetMatches(sheet.Compose(), "scroll_bar_vertical");
}

TEST_F(ScrollSheetTest, Sliders) {
    enum { kNormal, kOwnThumb, kPressed, kDisabled, kFocused, kSeekBar, kVertical, kRows };
    test::TSheet sheet;
    const std::vector<test::TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook};
    Form->SetClientHeight(kRows * 60 + 110);
    for (std::size_t column = 0; column < looks.size(); ++column) {
        ApplyLook(looks[column]);
        std::vector<TbsSkinSlider*> sliders;
        for (int row = 0; row < kRows; ++row) {
            auto* s = Add<TbsSkinSlider>(10, 12 + row * 60, 160, 40);
            s->SetValue(30);
            sliders.push_back(s);
        }
        sliders[kOwnThumb]->SetUseSkinThumb(false);
        sliders[kDisabled]->SetEnabled(false);
        TbsSkinSlider* seek = sliders[kSeekBar];
        seek->SetBounds(10, seek->Top(), 241, 26);
        seek->SetOptions({soShowFocus, soSmooth});
        seek->SetTransparent(true);
        seek->SetIncrement(5);
        seek->SetMaxValue(seek->Width());
        seek->SetValue(150);
        TbsSkinSlider* vertical = sliders[kVertical];
        vertical->SetOrientation(soVertical);
        vertical->SetBounds(200, 12, 40, 150);
        vertical->SetValue(70);
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(sliders[std::size_t(row)]));
        };
        for (int row :
             {int(kNormal), int(kOwnThumb), int(kDisabled), int(kSeekBar), int(kVertical)})
            capture(row);
        TbsSkinSlider* s = sliders[kPressed];
        Down(s, s->ThumbRect().Left + 2, s->ThumbRect().Top + 4);
        capture(kPressed);
        ReleaseAway();
        sliders[kFocused]->SetFocus();
        Settle();
        capture(kFocused);
        FreeMade();
    }
    test::ExpectSheetMatches(sheet.Compose(), "slider");
}

TEST_F(ScrollSheetTest, UpDowns) {
    enum {
        kNormal,
        kUpHot,
        kUpPressed,
        kDownHot,
        kDownPressed,
        kVertical,
        kVerticalUpPressed,
        kAnySize,
        kAnySizeHot,
        kNoResizeButton,
        kRows
    };
    test::TSheet sheet;
    const std::vector<test::TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook};
    Form->SetClientHeight(kRows * 32 + 20);
    for (std::size_t column = 0; column < looks.size(); ++column) {
        ApplyLook(looks[column]);
        std::vector<TbsSkinUpDown*> ups;
        for (int row = 0; row < kRows; ++row) {
            const bool vertical = row == kVertical || row == kVerticalUpPressed;
            auto* u = new TbsSkinUpDown(Form);
            u->SetParent(Form);
            if (vertical) {
                u->SetOrientation(udVertical);
                u->SetSkinDataName("vupdown");
            }
            if (row >= kAnySize) u->SetUseSkinSize(false);
            u->SetBounds(10 + (vertical ? 60 : 0), 12 + row * 32, vertical ? 18 : 36,
                         vertical ? 26 : 20);
            u->SetSkinData(Data);
            FMade.push_back(u);
            ups.push_back(u);
        }
        ups[kVerticalUpPressed]->SetTop(ups[kVertical]->Top());
        ups[kVerticalUpPressed]->SetLeft(110);
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(ups[std::size_t(row)]));
        };
        for (int row : {int(kNormal), int(kVertical), int(kAnySize)}) capture(row);
        auto centre = [](const TRect& r) {
            return gfx::Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        };
        auto hover = [&](int row, int button) {
            TbsSkinUpDown* u = ups[std::size_t(row)];
            const gfx::TPoint p = centre(u->Button(button).R);
            MoveTo(u, p.X, p.Y);
            capture(row);
        };
        auto hold = [&](int row, int button) {
            TbsSkinUpDown* u = ups[std::size_t(row)];
            const gfx::TPoint p = centre(u->Button(button).R);
            Down(u, p.X, p.Y);
            capture(row);
            ReleaseAway();
        };
        hover(kUpHot, 0);
        hover(kDownHot, 1);
        hover(kAnySizeHot, 0);
        hold(kUpPressed, 0);
        hold(kDownPressed, 1);
        hold(kVerticalUpPressed, 0);
        if (!Data->Empty) {
            // The skin without its "resizebutton": the buttons keep the plain look.
            auto& list = Data->CtrlList;
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [](const auto& r) { return r->IDName == "resizebutton"; }),
                       list.end());
            ups[kNoResizeButton]->Repaint();
            Run();
        }
        capture(kNoResizeButton);
        FreeMade();
    }
    test::ExpectSheetMatches(sheet.Compose(), "up_down");
}

TEST_F(ScrollSheetTest, ScrollBoxBorders) {
    test::TSheet sheet;
    const std::vector<test::TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook};
    const TbsSkinBorderStyle styles[] = {bvFrame, bvRaised, bvLowered, bvNone};
    for (std::size_t column = 0; column < looks.size(); ++column) {
        ApplyLook(looks[column]);
        for (int row = 0; row < 4; ++row) {
            auto* box = Add<TbsSkinScrollBox>(12, 12 + row * 60, 80, 44);
            box->SetColor(gfx::clWindow);
            box->SetBorderStyle(styles[row]);
        }
        MoveAway();
        Settle();
        for (int row = 0; row < 4; ++row)
            sheet.Add(row, int(column), CaptureAround(FMade[std::size_t(row)]));
        FreeMade();
    }
    test::ExpectSheetMatches(sheet.Compose(), "scroll_box");
}

}  // namespace
}  // namespace skin
