#include "platform/vcl/controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/vcl_test_support.h"
#include "platform/win/video_host.h"

namespace vcl {
namespace {

using test::TVclTest;

// A windowed control that fills itself with one colour.
class TFill : public TCustomControl {
public:
    TFill(TComponent* owner, TColor color) : TCustomControl(owner), FColor(color) {}
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas().Brush().SetColor(FColor);
        Canvas().FillRect(ClientRect());
    }

private:
    TColor FColor;
};

// A windowless control that fills itself, or paints nothing when its colour is clNone.
class TSpot : public TGraphicControl {
public:
    TSpot(TComponent* owner, TColor color) : TGraphicControl(owner), FColor(color) {}
    std::vector<std::string>* Order = nullptr;

protected:
    void Paint() override {
        if (Order) Order->push_back(Name());
        if (FColor == gfx::clNone) return;
        Canvas().Brush().SetColor(FColor);
        Canvas().FillRect(ClientRect());
    }

private:
    TColor FColor;
};

template <class T, class... A>
T* Place(TWinControl* parent, int x, int y, int w, int h, A&&... args) {
    auto* c = new T(parent, std::forward<A>(args)...);
    c->SetBounds(x, y, w, h);
    c->SetParent(parent);
    return c;
}

// ---- layout
// --------------------------------------------------------------------------------------

class AlignmentTest : public TVclTest, public ::testing::WithParamInterface<bool> {};

TEST_P(AlignmentTest, TopBottomLeftAndClientFillTheFormExactly) {
    const bool shown = GetParam();
    auto* form = new TForm(Application);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    auto* top = Place<TWinControl>(form, 0, 0, 10, 30);
    auto* bottom = Place<TWinControl>(form, 0, 0, 10, 20);
    auto* left = Place<TWinControl>(form, 0, 0, 100, 10);
    auto* client = Place<TWinControl>(form, 0, 0, 10, 10);
    auto* anchored = Place<TWinControl>(form, 300, 40, 50, 20);
    anchored->SetAnchors({akTop, akRight});
    top->SetAlign(alTop);
    bottom->SetAlign(alBottom);
    left->SetAlign(alLeft);
    client->SetAlign(alClient);
    if (shown) {
        form->Show();
        Run();
    }

    EXPECT_EQ(form->ClientRect(), (TRect{0, 0, 400, 300}));
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 400, 30}));
    EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 280, 400, 300}));
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 100, 280}));
    EXPECT_EQ(client->BoundsRect(), (TRect{100, 30, 400, 280}));
    EXPECT_EQ(anchored->BoundsRect(), (TRect{300, 40, 350, 60}));

    form->SetClientWidth(500);
    form->SetClientHeight(400);
    Run();
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 500, 30}));
    EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 380, 500, 400}));
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 30, 100, 380}));
    EXPECT_EQ(client->BoundsRect(), (TRect{100, 30, 500, 380}));
    EXPECT_EQ(anchored->BoundsRect(), (TRect{400, 40, 450, 60}));  // still 50 from the right
    if (shown) {
        TRect r;
        win::GetClientRect(client->Handle(), r);
        EXPECT_EQ(r, (TRect{0, 0, 400, 350}));  // the window follows the control
    }
}

INSTANTIATE_TEST_SUITE_P(HiddenAndShown, AlignmentTest, ::testing::Values(false, true));

TEST_F(TVclTest, ConstraintsAndAnchorsOnBothSidesShapeEveryBoundsChange) {
    TForm* form = ShowForm(0, 0, 200, 100);
    auto* stretched = Place<TWinControl>(form, 10, 10, 180, 20);
    stretched->SetAnchors({akLeft, akTop, akRight, akBottom});
    auto* limited = Place<TWinControl>(form, 0, 50, 40, 40);
    limited->Constraints().SetMaxWidth(30);
    limited->Constraints().SetMinHeight(45);
    EXPECT_EQ(limited->BoundsRect(), (TRect{0, 50, 30, 95}));
    limited->SetWidth(100);
    EXPECT_EQ(limited->Width(), 30);
    form->SetClientWidth(260);
    form->SetClientHeight(130);
    EXPECT_EQ(stretched->BoundsRect(), (TRect{10, 10, 250, 60}));
}

// A panel with a border: its aligned children get what AdjustClientRect leaves.
class TBordered : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void AdjustClientRect(TRect& r) override {
        r = {r.Left + 5, r.Top + 7, r.Right - 5, r.Bottom - 3};
    }
};

TEST_F(TVclTest, AlignmentLaysOutInWhatAdjustClientRectLeaves) {
    auto* panel = Place<TBordered>(ShowForm(0, 0, 200, 100), 0, 0, 200, 100);
    auto* top = Place<TWinControl>(panel, 0, 0, 10, 20);
    auto* client = Place<TWinControl>(panel, 0, 0, 10, 10);
    top->SetAlign(alTop);
    client->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), (TRect{5, 7, 195, 27}));
    EXPECT_EQ(client->BoundsRect(), (TRect{5, 27, 195, 97}));
}

// ---- children
// ------------------------------------------------------------------------------------

TEST_F(TVclTest, ControlsListWindowlessChildrenBeforeWindowedOnesEachInInsertionOrder) {
    TForm* form = ShowForm(0, 0, 200, 100);
    auto* w1 = Place<TWinControl>(form, 0, 0, 10, 10);
    auto* g1 = Place<TSpot>(form, 0, 0, 10, 10, gfx::clRed);
    auto* w2 = Place<TWinControl>(form, 0, 0, 10, 10);
    auto* g2 = Place<TSpot>(form, 0, 0, 10, 10, gfx::clRed);
    ASSERT_EQ(form->ControlCount(), 4);
    EXPECT_EQ(form->Controls(0), g1);
    EXPECT_EQ(form->Controls(1), g2);
    EXPECT_EQ(form->Controls(2), w1);
    EXPECT_EQ(form->Controls(3), w2);
    EXPECT_THROW(form->Controls(4), rtl::EListError);
}

TEST_F(TVclTest, ParentCanChangeAtRunTimeAndTheWindowMovesWithTheControl) {
    TForm* form = ShowForm(0, 0, 300, 200);
    auto* panelA = Place<TFill>(form, 0, 0, 100, 100, gfx::clBlue);
    auto* panelB = Place<TFill>(form, 150, 0, 100, 100, gfx::clGreen);
    auto* child = Place<TFill>(panelA, 10, 10, 20, 20, gfx::clRed);
    const HWND handle = child->Handle();
    EXPECT_EQ(win::GetParent(handle), panelA->Handle());

    child->SetParent(panelB);
    Run();
    EXPECT_EQ(child->Handle(), handle);  // a child window just moves
    EXPECT_EQ(win::GetParent(handle), panelB->Handle());
    EXPECT_EQ(panelA->ControlCount(), 0);
    EXPECT_EQ(panelB->Controls(0), child);
    EXPECT_EQ(ClientPixel(panelB->Handle(), 15, 15), gfx::clRed);
    EXPECT_EQ(ClientPixel(panelA->Handle(), 15, 15), gfx::clBlue);

    child->SetParent(nullptr);
    EXPECT_FALSE(child->HandleAllocated());  // a top-level needs another window
    child->Free();
}

TEST_F(TVclTest, RecreateWndMakesANewWindowWithTheSameState) {
    TForm* form = ShowForm(0, 0, 300, 200);
    auto* panel = Place<TFill>(form, 5, 6, 100, 80, gfx::clBlue);
    panel->SetCaption("panel");
    auto* inner = Place<TFill>(panel, 10, 10, 20, 20, gfx::clRed);
    panel->SetEnabled(false);
    const HWND before = panel->Handle();
    const HWND innerBefore = inner->Handle();

    panel->RecreateWnd();
    Run();
    EXPECT_NE(panel->Handle(), before);
    EXPECT_FALSE(win::IsWindow(before));
    EXPECT_NE(inner->Handle(), innerBefore);
    EXPECT_EQ(win::GetWindowText(panel->Handle()), "panel");
    EXPECT_FALSE(win::IsWindowEnabled(panel->Handle()));
    EXPECT_EQ(panel->BoundsRect(), (TRect{5, 6, 105, 86}));
    EXPECT_EQ(ClientPixel(inner->Handle(), 1, 1), gfx::clRed);
    EXPECT_EQ(FindControl(panel->Handle()), panel);
    EXPECT_EQ(FindControl(before), nullptr);
}

TEST_F(TVclTest, ACustomControlWithoutParentIsATopLevelPopup) {
    auto* popup = new TFill(nullptr, gfx::clYellow);
    popup->SetBounds(40, 50, 30, 20);
    const HWND h = popup->Handle();
    EXPECT_EQ(win::GetAncestor(h, win::GA_ROOT), h);
    EXPECT_TRUE(DWORD(win::GetWindowLongPtr(h, win::GWL_STYLE)) & win::WS_POPUP);
    EXPECT_EQ(win::GetClassName(h), "TFill");
    popup->Show();
    Run();
    EXPECT_EQ(ScreenPixel(45, 55), gfx::clYellow);
    popup->Free();
}

// ---- painting
// ------------------------------------------------------------------------------------

TEST_F(TVclTest, WindowlessChildrenArePaintedByTheParentInListOrder) {
    TForm* form = ShowForm(0, 0, 100, 60);
    std::vector<std::string> order;
    auto* a = Place<TSpot>(form, 10, 10, 30, 30, gfx::clRed);
    auto* b = Place<TSpot>(form, 20, 20, 30, 30, gfx::clLime);
    a->SetName("a");
    b->SetName("b");
    a->Order = b->Order = &order;
    form->Repaint();
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ClientPixel(form->Handle(), 15, 15), gfx::clRed);
    EXPECT_EQ(ClientPixel(form->Handle(), 25, 25), gfx::clLime);  // b lies on top of a

    // Into a DC that WM_PAINT carries: an off-screen bitmap gets the same picture.
    gfx::TBitmap shot;
    shot.SetSize(100, 60);
    order.clear();
    form->Perform(win::WM_PAINT, win::DcToParam(shot.DC()), 0);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(shot.Canvas().Pixel(25, 25), gfx::clLime);
    EXPECT_EQ(shot.Canvas().Pixel(45, 15), gfx::clBlack);  // the form itself paints nothing
}

TEST_F(TVclTest, TheParentShowsThroughWindowlessControlsThatAreNotOpaque) {
    auto* host = Place<TFill>(ShowForm(0, 0, 100, 60), 0, 0, 100, 60, gfx::clBlue);
    auto* clear = Place<TSpot>(host, 10, 10, 20, 20, gfx::clNone);
    auto* opaque = Place<TSpot>(host, 50, 10, 20, 20, gfx::clNone);
    opaque->SetControlStyle(opaque->ControlStyle() + csOpaque);
    // Something else was there before: only the parent paints it over.
    HDC dc = win::GetDC(host->Handle());
    gfx::FillRect(dc, {0, 0, 100, 60}, gfx::CreateSolidBrush(gfx::clRed));
    win::ReleaseDC(host->Handle(), dc);
    host->Repaint();
    EXPECT_EQ(ClientPixel(host->Handle(), 15, 15), gfx::clBlue);
    EXPECT_EQ(ClientPixel(host->Handle(), 55, 15), gfx::clRed);  // left to the opaque control
    EXPECT_EQ(ClientPixel(host->Handle(), 80, 15), gfx::clBlue);
    (void)clear;
}

TEST_F(TVclTest, AVideoHostPictureShowsOverTheControlsPainting) {
    auto* screen = Place<TFill>(ShowForm(0, 0, 100, 60), 0, 0, 100, 60, gfx::clRed);
    auto picture = std::make_shared<gfx::TSurface>(10, 10, 32);
    std::fill(picture->Pixels(), picture->Pixels() + 100, 0xFF00FF00u);
    win::GetVideoHost(screen->Handle())->Present(picture);
    Run();
    EXPECT_EQ(ClientPixel(screen->Handle(), 5, 5), gfx::clLime);
    EXPECT_EQ(ClientPixel(screen->Handle(), 15, 15), gfx::clRed);
}

TEST_F(TVclTest, InvalidateTravelsAsCmInvalidate) {
    auto* box = Place<TFill>(ShowForm(0, 0, 100, 60), 0, 0, 50, 50, gfx::clRed);
    box->SetName("box");
    Run();
    Watch(box);
    const int before = box->Paints;
    box->Perform(CM_INVALIDATE);
    Run();
    EXPECT_EQ(box->Paints, before + 1);
    box->Invalidate();
    Run();
    EXPECT_EQ(box->Paints, before + 2);
    EXPECT_EQ(CountHeard("box", CM_INVALIDATE), 2);
}

// ---- mouse and messages
// ------------------------------------------------------------------------------

class TPad : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<std::string> Events;
    void Click() override {
        Events.push_back("click");
        TCustomControl::Click();
    }

protected:
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Events.push_back(std::string("down") + (s.Contains(ssDouble) ? " double" : "") + " " +
                         std::to_string(x) + "," + std::to_string(y) +
                         (MouseCapture() ? " captured" : ""));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        Events.push_back("up");
        TCustomControl::MouseUp(b, s, x, y);
    }
    void DblClick() override {
        Events.push_back("dblclick");
        TCustomControl::DblClick();
    }
};

TEST_F(TVclTest, APressCapturesTheMouseAndAReleaseInsideClicks) {
    auto* pad = Place<TPad>(ShowForm(0, 0, 200, 100), 10, 10, 50, 50);
    const TPoint p = At(pad, 5, 6);
    Screen->MouseDown(p);
    Run();
    EXPECT_EQ(win::GetCapture(), pad->Handle());
    Screen->MouseUp(At(pad, 120, 6));  // released outside: no click
    Run();
    EXPECT_EQ(win::GetCapture(), HWND());
    AdvanceMs(1000);  // too late for a double click
    Click(pad, 5, 6);
    AdvanceMs(100);
    Click(pad, 5, 6);
    EXPECT_EQ(pad->Events, (std::vector<std::string>{"down 5,6 captured", "up", "down 5,6 captured",
                                                     "up", "click", "dblclick",
                                                     "down double 5,6 captured", "up", "click"}));

    pad->SetControlStyle(pad->ControlStyle() - csCaptureMouse);
    pad->Events.clear();
    Screen->MouseDown(p);
    Run();
    EXPECT_EQ(win::GetCapture(), HWND());
    Screen->MouseUp(p);
    Run();
}

TEST_F(TVclTest, ClickFromCodeRunsOnClickOnAHiddenDisabledControl) {
    auto* pad = new TPad(nullptr);
    pad->SetVisible(false);
    pad->SetEnabled(false);
    int clicks = 0;
    pad->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, pad);
        ++clicks;
    };
    pad->Click();
    EXPECT_EQ(clicks, 1);
    pad->Free();
}

class TNumbered : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Dispatch(TMessage& m) override {
        if (m.Msg == win::WM_USER + 7) {
            m.Result = LRESULT(m.WParam) * 2;
            return;
        }
        TGraphicControl::Dispatch(m);
    }
};

TEST_F(TVclTest, PerformReachesWindowlessControlsThroughAReplaceableWindowProc) {
    auto* c = new TNumbered(nullptr);
    EXPECT_EQ(c->Perform(win::WM_USER + 7, 21), 42);
    std::vector<UINT> seen;
    const TWndMethod old = c->WindowProc;
    c->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == win::WM_USER + 8) {
            m.Result = 5;
            return;
        }
        old(m);
    };
    EXPECT_EQ(c->Perform(win::WM_USER + 8), 5);
    EXPECT_EQ(c->Perform(win::WM_USER + 7, 1), 2);
    EXPECT_EQ(seen, (std::vector<UINT>{win::WM_USER + 8, win::WM_USER + 7}));
    c->Free();
}

}  // namespace
}  // namespace vcl

namespace vcl {
namespace {

using test::TVclTest;

// Answers what its parent reflects back to it.
class TChildWindow : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<UINT> Reflected;
    gfx::TLogBrush Brush{gfx::BS_SOLID, gfx::clYellow};
    void Dispatch(TMessage& m) override {
        if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
            Reflected.push_back(m.Msg);
            m.Result = m.Msg == CN_CTLCOLOREDIT ? win::PtrToParam(&Brush) : 7;
            return;
        }
        TCustomControl::Dispatch(m);
    }
};

TEST_F(TVclTest, ParentsReflectChildNotificationsAsCnMessages) {
    TForm* form = ShowForm(0, 0, 200, 100);
    auto* child = new TChildWindow(form);
    child->SetParent(form);
    child->SetBounds(0, 0, 20, 20);
    const HWND h = child->Handle();
    EXPECT_EQ(win::SendMessage(form->Handle(), win::WM_COMMAND, 0, win::HwndToParam(h)), 7);
    EXPECT_EQ(win::SendMessage(form->Handle(), win::WM_DRAWITEM, win::WPARAM(h.Value()), 0), 7);
    const LRESULT brush =
        win::SendMessage(form->Handle(), win::WM_CTLCOLOREDIT, 0, win::HwndToParam(h));
    EXPECT_EQ(win::ParamToPtr<gfx::TLogBrush>(std::uint64_t(brush))->Color, gfx::clYellow);
    EXPECT_EQ(child->Reflected, (std::vector<UINT>{CN_COMMAND, CN_DRAWITEM, CN_CTLCOLOREDIT}));
    // A notification from a window that is no control of ours goes to the default procedure.
    EXPECT_EQ(win::SendMessage(form->Handle(), win::WM_COMMAND, 0, 0), 0);
}

TEST_F(TVclTest, NoticesOfChangedPropertiesReachTheControlAndFontsFlowToChildren) {
    TForm* form = ShowForm(0, 0, 200, 100);
    auto* panel = Place<TFill>(form, 0, 0, 100, 100, gfx::clBlue);
    auto* label = Place<TSpot>(panel, 0, 0, 10, 10, gfx::clRed);
    panel->SetName("P");
    label->SetName("L");
    Watch(panel);
    Watch(label);
    panel->SetCaption("text");
    panel->SetEnabled(false);
    panel->SetColor(gfx::clGreen);
    panel->Font().SetHeight(-20);
    label->SetVisible(false);
    EXPECT_EQ(Heard({CM_TEXTCHANGED, CM_ENABLEDCHANGED, CM_VISIBLECHANGED}),
              (std::vector<std::string>{"P:CM_TEXTCHANGED", "P:CM_ENABLEDCHANGED",
                                        "L:CM_VISIBLECHANGED"}));
    EXPECT_EQ(label->Font().Height(), -20);  // ParentFont
    EXPECT_TRUE(label->ParentFont());
    label->Font().SetHeight(-9);
    EXPECT_FALSE(label->ParentFont());
    panel->Font().SetHeight(-30);
    EXPECT_EQ(label->Font().Height(), -9);
    EXPECT_FALSE(win::IsWindowEnabled(panel->Handle()));
}

TEST_F(TVclTest, ScrollByMovesTheChildrenAndAutoSizeFitsThem) {
    TForm* form = ShowForm(0, 0, 300, 200);
    auto* box = Place<TFill>(form, 10, 10, 100, 100, gfx::clBlue);
    auto* a = Place<TFill>(box, 5, 5, 20, 20, gfx::clRed);
    auto* b = Place<TSpot>(box, 30, 40, 20, 20, gfx::clLime);
    box->ScrollBy(10, -5);
    EXPECT_EQ(a->BoundsRect(), (TRect{15, 0, 35, 20}));
    EXPECT_EQ(b->BoundsRect(), (TRect{40, 35, 60, 55}));
    box->SetAutoSize(true);
    EXPECT_EQ(box->BoundsRect(), (TRect{10, 10, 70, 65}));
}

}  // namespace
}  // namespace vcl
