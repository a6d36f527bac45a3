// The component's own window states (maximize into the work area, minimize to a stack of
// caption-sized forms, roll-up), the first placement, the magnetic edges and the fade-in of a
// form, driven by injected input where a user would click.
#include <functional>
#include <string>
#include <vector>

#include "form_test_support.h"

namespace skin::test {
namespace {

// A clock that moves 1 ms on every read and lets the test look around at each read.
class TStepClock : public sys::TClock {
public:
    std::int64_t NowMicros() override {
        if (OnRead) OnRead();
        Now += 1000;
        return Now;
    }
    std::int64_t Now = 5'000'000'000;
    std::function<void()> OnRead;
};

class TFormStates : public TFormSkinTest {
public:
    // Caption point of a form at its present place (between caption text and buttons).
    gfx::TPoint Caption(vcl::TCustomForm* form) const {
        return {form->Left() + kCaptionRect.Left + 20, form->Top() + 15};
    }
    void DoubleClickCaption(vcl::TCustomForm* form) {
        const gfx::TPoint p = Caption(form);
        Screen->Click(p);
        Screen->Click(p);
        Run();
    }
    void ClickObject(TbsSkinForm* sf, const std::string& name) {
        TbsActiveSkinObject* o = Object(sf, name);
        ASSERT_NE(o, nullptr);
        const gfx::TPoint p{sf->FForm->Left() + o->ObjectRect.Left + 5,
                            sf->FForm->Top() + o->ObjectRect.Top + 5};
        Screen->MouseMove(p);
        AdvanceMs(50);
        Run();
        Screen->MouseDown(p);
        Screen->MouseUp(p);
        Run();
        // Off the button again, so the next click starts fresh.
        Screen->MouseMove({p.X, p.Y + 200});
        AdvanceMs(50);
        Run();
    }
    // The system menu's item of that caption, as it is built for the present state.
    void RunSysMenuItem(TbsSkinForm* sf, const std::string& caption) {
        vcl::TMenuItem* root = sf->GetSysMenuItems();
        for (int i = 0; i < root->Count(); ++i)
            if (root->Items(i)->Caption() == caption) {
                root->Items(i)->Click();
                return;
            }
        ADD_FAILURE() << "no system-menu item " << caption;
    }
    void DragCaption(vcl::TCustomForm* form, gfx::TPoint by) {
        const gfx::TPoint p = Caption(form);
        Screen->MouseDown(p);
        Screen->MouseMove({p.X + by.X, p.Y + by.Y});
        Screen->MouseUp({p.X + by.X, p.Y + by.Y});
        AdvanceMs(1000);  // no double click with the next press
        Run();
    }
    // A skinned form of its own name at (100, 100).
    TbsSkinForm* Named(const std::string& name, int width, int height) {
        auto* sf = new TbsSkinForm(MakeForm(width, height, name));
        sf->SetSkinData(MakeSkin());
        Run();
        return sf;
    }
    void SetMonitor(gfx::TRect workArea) {
        Screen->SetMonitors({{{0, 0, 1280, 800}, workArea, true}});
        win::DisplayChanged();
        Run();
    }
};

using B = gfx::TRect;

TEST_F(TFormStates, MaximizeFillsTheWorkAreaAndRestoreGivesTheBoundsBack) {
    enum How { kDoubleClick, kButton, kSystemMenu, kEntryPoint };
    for (How how : {kDoubleClick, kButton, kSystemMenu, kEntryPoint}) {
        SCOPED_TRACE(how);
        TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
        vcl::TCustomForm* form = sf->FForm;
        const B before = form->BoundsRect();
        int maximized = 0, restored = 0;
        sf->FOnMaximize = [&](vcl::TObject*) { ++maximized; };
        sf->FOnRestore = [&](vcl::TObject*) { ++restored; };
        auto toggle = [&] {
            if (how == kDoubleClick)
                DoubleClickCaption(form);
            else if (how == kButton)
                ClickObject(sf, "maxbutton");
            else if (how == kSystemMenu)
                RunSysMenuItem(sf,
                               sf->WindowState() == vcl::wsMaximized ? "&Restore" : "Ma&ximize");
            else
                sf->SetWindowState(sf->WindowState() == vcl::wsMaximized ? vcl::wsNormal
                                                                         : vcl::wsMaximized);
            Run();
        };
        for (int cycle = 1; cycle <= 2; ++cycle) {
            toggle();
            EXPECT_EQ(sf->WindowState(), vcl::wsMaximized);
            EXPECT_EQ(form->BoundsRect(), (B{0, 0, 1280, 760}));
            auto* max = dynamic_cast<TbsSkinStdButtonObject*>(Object(sf, "maxbutton"));
            ASSERT_NE(max, nullptr);
            EXPECT_TRUE(max->RestoreState());
            // A maximized form does not move.
            DragCaption(form, {40, 30});
            EXPECT_EQ(form->BoundsRect(), (B{0, 0, 1280, 760}));
            toggle();
            EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
            EXPECT_EQ(form->BoundsRect(), before) << cycle;
            EXPECT_FALSE(max->RestoreState());
            EXPECT_EQ(maximized, cycle);
            EXPECT_EQ(restored, cycle);
        }
        form->Free();
        Run();
    }
}

TEST_F(TFormStates, MaximizedBoundsByMonitorAndFullScreen) {
    struct TCase {
        B WorkArea;
        bool FullScreen;
        B Expected;
    } cases[] = {
        {{0, 0, 1280, 760}, false, {0, 0, 1280, 760}},
        // A work area as big as the primary monitor keeps a hidden taskbar reachable.
        {{0, 0, 1280, 800}, false, {1, 1, 1279, 799}},
        {{0, 0, 1280, 760}, true, {0, 0, 1280, 800}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.FullScreen);
        SetMonitor(c.WorkArea);
        TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
        sf->FMaximizeOnFullScreen = c.FullScreen;
        sf->SetWindowState(vcl::wsMaximized);
        EXPECT_EQ(sf->FForm->BoundsRect(), c.Expected);
        sf->FForm->Free();
        Run();
    }
}

TEST_F(TFormStates, MinimizedFormsStackFromTheBottomLeftAndWrapUpwards) {
    // Room for two minimized forms (200 wide, the skin's minimum) in a row.
    SetMonitor({0, 0, 450, 760});
    std::vector<TbsSkinForm*> forms;
    std::vector<B> before;
    int minimized = 0;
    for (int i = 0; i < 3; ++i) {
        forms.push_back(
            Named("F" + std::to_string(i), kPictureWidth + 20 * i, kPictureHeight + 40));
        forms.back()->FForm->SetLeft(100 + 300 * i);  // side by side, each clickable
        forms.back()->FOnMinimize = [&](vcl::TObject*) { ++minimized; };
        before.push_back(forms.back()->FForm->BoundsRect());
    }
    ClickObject(forms[0], "minbutton");
    forms[1]->SetWindowState(vcl::wsMinimized);
    forms[2]->SetWindowState(vcl::wsMinimized);
    Run();
    const int w = 200, h = kPictureHeight - (kClRect.Bottom - kClRect.Top);
    const B expected[] = {
        {0, 760 - h, w, 760}, {w, 760 - h, 2 * w, 760}, {0, 760 - 2 * h, w, 760 - h}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(forms[i]->WindowState(), vcl::wsMinimized) << i;
        EXPECT_EQ(forms[i]->FForm->BoundsRect(), expected[i]) << i;
    }
    EXPECT_EQ(minimized, 3);
    // Restore, by its button and by the entry point, gives each its bounds back.
    ClickObject(forms[0], "minbutton");
    forms[1]->SetWindowState(vcl::wsNormal);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(forms[i]->WindowState(), vcl::wsNormal) << i;
        EXPECT_EQ(forms[i]->FForm->BoundsRect(), before[i]) << i;
    }
    // The freed place is the first taken again.
    forms[0]->SetWindowState(vcl::wsMinimized);
    EXPECT_EQ(forms[0]->FForm->BoundsRect(), expected[0]);
}

TEST_F(TFormStates, TheMainWindowsSetUpMinimizesTheApplication) {
    vcl::TForm* main = nullptr;
    vcl::Application->CreateForm(main);
    main->SetBorderStyle(vcl::bsSingle);
    main->SetBounds(100, 100, kPictureWidth + 100, kPictureHeight + 40);
    main->Show();
    Run();
    auto* sf = new TbsSkinForm(main);
    sf->SetSkinData(MakeSkin());
    sf->SetBorderIcons({biMinimize});
    Run();
    const B before = main->BoundsRect();
    // Not sizeable and no roll-up: a caption double click changes nothing.
    DoubleClickCaption(main);
    EXPECT_EQ(main->BoundsRect(), before);
    EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
    EXPECT_FALSE(sf->RollUpState());

    int appMinimized = 0;
    vcl::Application->OnMinimize = [&](vcl::TObject*) { ++appMinimized; };
    ClickObject(sf, "minbutton");
    EXPECT_EQ(appMinimized, 1);
    EXPECT_TRUE(win::IsIconic(main->Handle()));
    // The component's own state stays normal; the application brings the form back.
    EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
    vcl::Application->Restore();
    Run();
    EXPECT_FALSE(win::IsIconic(main->Handle()));
    EXPECT_EQ(main->BoundsRect(), before);
}

// What the system (a window manager, a task bar) does to the main window runs through the
// component's own states: brought back from the icon it is active again, maximized and restored
// by the system its state, bounds and maximize button follow.
TEST_F(TFormStates, TheSystemsIconifyMaximizeAndRestoreRunThroughTheComponentsStates) {
    vcl::TForm* main = nullptr;
    vcl::Application->CreateForm(main);
    main->SetBorderStyle(vcl::bsSingle);
    main->SetBounds(100, 100, kPictureWidth + 100, kPictureHeight + 40);
    main->Show();
    Run();
    auto* sf = new TbsSkinForm(main);
    sf->SetSkinData(MakeSkin());
    sf->SetBorderIcons({biMinimize, biMaximize});
    Run();
    const B before = main->BoundsRect();
    const win::HWND h = main->Handle();
    int appMinimized = 0, maximized = 0, restored = 0;
    vcl::Application->OnMinimize = [&](vcl::TObject*) { ++appMinimized; };
    sf->FOnMaximize = [&](vcl::TObject*) { ++maximized; };
    sf->FOnRestore = [&](vcl::TObject*) { ++restored; };

    ClickObject(sf, "minbutton");
    ASSERT_TRUE(win::IsIconic(h));
    Screen->SystemShow(h, win::TSystemShow::Restored);
    Run();
    EXPECT_FALSE(win::IsIconic(h));
    EXPECT_EQ(win::GetActiveWindow(), h);
    EXPECT_TRUE(sf->GetFormActive());
    EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
    EXPECT_EQ(main->BoundsRect(), before);

    auto* max = dynamic_cast<TbsSkinStdButtonObject*>(Object(sf, "maxbutton"));
    ASSERT_NE(max, nullptr);
    Screen->SystemShow(h, win::TSystemShow::Maximized);
    Run();
    EXPECT_EQ(sf->WindowState(), vcl::wsMaximized);
    EXPECT_EQ(main->BoundsRect(), (B{0, 0, 1280, 760}));
    EXPECT_TRUE(max->RestoreState());
    EXPECT_EQ(maximized, 1);
    Screen->SystemShow(h, win::TSystemShow::Restored);
    Run();
    EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
    EXPECT_EQ(main->BoundsRect(), before);
    EXPECT_FALSE(max->RestoreState());
    EXPECT_EQ(restored, 2);  // from the icon, from maximized

    // Iconified by the system, the application goes down as by the button.
    Screen->SystemShow(h, win::TSystemShow::Minimized);
    Run();
    EXPECT_TRUE(win::IsIconic(h));
    EXPECT_EQ(appMinimized, 2);
    EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
}

TEST_F(TFormStates, RollUpToTheCaptionAndBack) {
    const int minH = kPictureHeight - (kClRect.Bottom - kClRect.Top);
    enum How { kButton, kDoubleClick };
    for (How how : {kButton, kDoubleClick}) {
        SCOPED_TRACE(how);
        TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
        vcl::TCustomForm* form = sf->FForm;
        form->SetBorderStyle(vcl::bsSingle);  // not sizeable: the double click rolls up
        sf->SetBorderIcons({biSystemMenu, biRollUp});
        Run();
        const B before = form->BoundsRect();
        int changes = 0;
        sf->FOnChangeRollUpState = [&](vcl::TObject*) { ++changes; };
        auto toggle = [&] {
            if (how == kButton)
                ClickObject(sf, "rollupbutton");
            else
                DoubleClickCaption(form);
        };
        toggle();
        EXPECT_TRUE(sf->RollUpState());
        EXPECT_EQ(form->Height(), minH);
        EXPECT_EQ(form->Width(), before.Width());
        toggle();
        EXPECT_FALSE(sf->RollUpState());
        EXPECT_EQ(form->BoundsRect(), before);
        EXPECT_EQ(changes, 2);

        // With the ClientHeight property set, the form rolls down to that client height.
        sf->FClientHeight = 120;
        toggle();
        toggle();
        EXPECT_EQ(form->ClientHeight(), 120);
        sf->FClientHeight = 0;

        // Refused while minimized; nothing at all without biRollUp.
        sf->SetWindowState(vcl::wsMinimized);
        sf->SetRollUpState(true);
        EXPECT_FALSE(sf->RollUpState());
        sf->SetWindowState(vcl::wsNormal);
        sf->SetBorderIcons({biSystemMenu});
        const B now = form->BoundsRect();
        sf->SetRollUpState(true);
        DoubleClickCaption(form);
        EXPECT_FALSE(sf->RollUpState());
        EXPECT_EQ(form->BoundsRect(), now);
        form->Free();
        Run();
    }
}

TEST_F(TFormStates, RollingUpTwiceKeepsTheHeightToComeBackTo) {
    TbsSkinForm* sf = SkinnedForm({}, kPictureWidth + 100, kPictureHeight + 40);
    const int height = sf->FForm->Height();
    sf->SetRollUpState(true);
    sf->SetRollUpState(true);
    sf->SetRollUpState(false);
    EXPECT_EQ(sf->FForm->Height(), height);
}

TEST_F(TFormStates, TheAboutBoxIsCentredAndItsLeftEdgeSnaps) {
    auto* form = new vcl::TForm(vcl::Application);
    form->SetBorderStyle(vcl::bsSingle);
    form->SetBounds(30, 40, 300, 200);
    form->HandleNeeded();
    auto* sf = new TbsSkinForm(form);
    sf->FPositionInMonitor = bspDesktopCenter;
    sf->FClientWidth = 340;
    sf->FClientHeight = 245;
    sf->FMagnetic = true;
    sf->FMagneticSize = 10;
    sf->SetBorderIcons({biRollUp});
    sf->SetSkinData(MakeSkin());
    form->Show();
    Run();
    const int W = form->Width(), H = form->Height();
    EXPECT_EQ(form->ClientWidth(), 340);
    EXPECT_EQ(form->Left(), 640 - W / 2);
    EXPECT_EQ(form->Top(), 380 - H / 2);

    // Dragged until its left edge is 9 pixels from the work area's: it snaps to 0 and stays
    // while the cursor moves up to 10 pixels further.
    const gfx::TPoint start = Caption(form);
    const int toNine = 9 - form->Left();
    const int moves[] = {toNine, toNine + 10, toNine + 11, toNine + 40};
    std::vector<gfx::TPoint> places;
    Screen->MouseDown(start);
    Screen->MouseMove({start.X + moves[0], start.Y + 5});
    // Each step runs while the move loop waits for the next input.
    for (int i = 1; i <= 4; ++i)
        Screen->QueueIdleStep([&, i] {
            places.push_back({form->Left(), form->Top()});
            if (i < 4)
                Screen->MouseMove({start.X + moves[i], start.Y + 5});
            else
                Screen->MouseUp({start.X + moves[3], start.Y + 5});
        });
    Run();
    const int top = 380 - H / 2 + 5;
    // Past the 10 pixels it is back under the cursor, where it would be without the snap.
    EXPECT_EQ(places, (std::vector<gfx::TPoint>{{0, top}, {0, top}, {20, top}, {49, top}}));
    EXPECT_EQ(form->Left(), 49);
}

TEST_F(TFormStates, CentredPlacesByMonitorArea) {
    TbsSkinForm* sf = SkinnedForm();
    struct TCase {
        TbsPositionInMonitor Place;
        gfx::TPoint Expected;
    } cases[] = {
        {bspDefault, {7, 9}},
        // Halves truncate: 301 / 2 = 150, 201 / 2 = 100.
        {bspDesktopCenter, {640 - 150, 380 - 100}},
        {bspScreenCenter, {640 - 150, 400 - 100}},
    };
    for (const TCase& c : cases) {
        sf->FPositionInMonitor = c.Place;
        EXPECT_EQ(sf->GetPositionInMonitor(7, 9, 301, 201), c.Expected) << int(c.Place);
    }
}

TEST_F(TFormStates, EnableShadowSwitchesTheClassStyle) {
    TbsSkinForm* sf = SkinnedForm();
    const win::HWND wnd = sf->FForm->Handle();
    auto shadow = [&] {
        return (win::GetClassLong(wnd, win::GCL_STYLE) & win::CS_DROPSHADOW) != 0;
    };
    sf->EnableShadow(true, true);
    EXPECT_TRUE(shadow());
    EXPECT_TRUE(sf->FForm->Visible());
    sf->EnableShadow(false, false);
    EXPECT_FALSE(shadow());
}

TEST_F(TFormStates, TheShowFadeRunsItsStepsAndKeepsOrDropsTheLayeredStyle) {
    struct TCase {
        const char* Name;
        bool AlphaBlend, Animation, Layered;
        std::vector<int> Alphas;
        bool KeepsLayered;
    };
    std::vector<int> by13{0}, by17{0};
    for (int a = 13; a <= 195; a += 13) by13.push_back(a);
    by13.push_back(200);
    for (int a = 17; a < 255; a += 17) by17.push_back(a);
    const TCase cases[] = {
        {"alpha 200 with the fade", true, true, true, by13, true},
        // The last step, 255, leaves the layered style at once: the window is plainly opaque.
        {"the fade alone", false, true, true, by17, false},
        {"no layered windows", true, true, false, {}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Screen->SetCapabilities({c.Layered, false});
        auto* form = new vcl::TForm(vcl::Application);
        form->SetBounds(100, 100, kPictureWidth + 100, kPictureHeight + 40);
        auto* sf = new TbsSkinForm(form);
        sf->SetSkinData(MakeSkin());
        sf->FAlphaBlendAnimation = c.Animation;
        sf->FAlphaBlend = c.AlphaBlend;
        sf->FAlphaBlendValue = 200;
        const win::HWND wnd = form->Handle();
        std::vector<int> seen;
        auto look = [&] {
            const win::TTopLevelState* s = Screen->Find(wnd);
            if (!s || !s->Shown || s->Layer == win::TLayerMode::None) return;
            if (seen.empty() || seen.back() != s->ConstantAlpha) seen.push_back(s->ConstantAlpha);
        };
        TStepClock clock;
        clock.OnRead = look;
        sys::SetClock(&clock);
        form->Show();
        Run();
        for (int i = 0; i < 5; ++i) {
            clock.Now += 5000;
            Run();
        }
        look();
        sys::SetClock(&FClock);
        EXPECT_EQ(seen, c.Alphas);
        const bool layered =
            (win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) & win::WS_EX_LAYERED) != 0;
        EXPECT_EQ(layered, c.KeepsLayered);
        EXPECT_TRUE(form->Visible());
        form->Free();
        Run();
    }
}

}  // namespace
}  // namespace skin::test
