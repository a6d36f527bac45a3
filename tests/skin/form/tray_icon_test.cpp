// The notification-area icon on a recording tray host: the shell record, clicks on the virtual
// clock, the icon cycle, and hiding the main form into the area and back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_test_support.h"
#include "platform/win/tray_host.h"
#include "skin/core/skin_messages.h"
#include "skin/form/tray_icon.h"
#include "skin/menus/skin_menu.h"

namespace skin {
namespace {

using test::TFormSkinTest;

// Records every call and answers what the test says.
struct TTrayLog {
    std::vector<std::string> Calls;
    std::string Tip, Title, Text;
    gfx::TImage Image;
    bool Answer = true;
    int Adds() const {
        int n = 0;
        for (const auto& c : Calls) n += c == "add";
        return n;
    }
};

class TFakeTrayHost : public win::TTrayHost {
public:
    explicit TFakeTrayHost(TTrayLog& log) : FLog(log) {}
    bool AddIcon(const win::TTrayIconKey&, const gfx::TImage& image,
                 const std::string& tip) override {
        return Note("add", image, tip);
    }
    bool ModifyIcon(const win::TTrayIconKey&, const gfx::TImage& image,
                    const std::string& tip) override {
        return Note("modify", image, tip);
    }
    bool DeleteIcon(const win::TTrayIconKey&) override {
        FLog.Calls.push_back("delete");
        return FLog.Answer;
    }
    bool ShowBalloon(const win::TTrayIconKey&, const std::string& title, const std::string& text,
                     win::DWORD kind) override {
        FLog.Calls.push_back("balloon " + std::to_string(kind));
        FLog.Title = title;
        FLog.Text = text;
        return FLog.Answer;
    }
    bool HideBalloon(const win::TTrayIconKey&) override {
        FLog.Calls.push_back("hide balloon");
        return FLog.Answer;
    }

private:
    bool Note(const std::string& what, const gfx::TImage& image, const std::string& tip) {
        FLog.Calls.push_back(what);
        FLog.Image = image;
        FLog.Tip = tip;
        return FLog.Answer;
    }
    TTrayLog& FLog;
};

int CodePoints(const std::string& s) {
    return int(gfx::DecodeUtf8(s).size());
}

class TrayIconTest : public TFormSkinTest {
public:
    void SetUp() override {
        TFormSkinTest::SetUp();
        win::SetTrayHost(std::make_unique<TFakeTrayHost>(host));
        vcl::Application->CreateForm(main);
        main->SetName("Main");
        main->SetBounds(100, 100, 300, 200);
        main->Show();
        Run();
    }
    void TearDown() override {
        TFormSkinTest::TearDown();
        win::SetTrayHost(nullptr);
    }
    TbsTrayIcon* MakeTray() {
        tray = new TbsTrayIcon(main);
        tray->OnClick = [this](vcl::TObject*) { Note("click"); };
        tray->OnDblClick = [this](vcl::TObject*) { Note("dblclick"); };
        tray->OnMouseDown = [this](vcl::TObject*, vcl::TMouseButton b, vcl::TShiftState, int, int) {
            Note("down " + std::to_string(int(b)));
        };
        tray->OnMouseUp = [this](vcl::TObject*, vcl::TMouseButton b, vcl::TShiftState, int, int) {
            Note("up " + std::to_string(int(b)));
        };
        return tray;
    }
    void Event(win::TTrayEvent e, win::TPoint p = {1200, 780}) {
        win::TrayIconEvent({tray->Handle(), 1}, e, p);
    }
    void Note(const std::string& what) { events.push_back(what + " @" + std::to_string(elapsed)); }
    void Wait(int ms) {
        for (int i = 0; i < ms / 10; ++i) {
            AdvanceMs(10);
            elapsed += 10;
            Run();
        }
    }

    TTrayLog host;
    vcl::TForm* main = nullptr;
    TbsTrayIcon* tray = nullptr;
    std::vector<std::string> events;
    int elapsed = 0;
};

TEST_F(TrayIconTest, TheShellRecordIsCutAndEveryCallAnswersWhatTheHostDid) {
    MakeTray();
    EXPECT_TRUE(tray->IconVisible());
    host.Calls.clear();
    tray->SetIconVisible(true);
    tray->SetIconVisible(false);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"add", "delete"}));
    EXPECT_FALSE(tray->IconVisible());

    tray->SetIconVisible(true);
    EXPECT_EQ(host.Image.Width, 16);
    EXPECT_EQ(host.Image.Height, 16);
    // Counted in characters, not bytes: a Chinese tip is cut at 127 of them as well.
    for (const std::string unit : {"a", "托"}) {
        std::string hint;
        for (int i = 0; i < 200; ++i) hint += unit;
        tray->SetHint(hint);
        EXPECT_EQ(CodePoints(host.Tip), 127) << unit;
    }
    tray->SetShowHint(false);
    EXPECT_EQ(host.Tip, "");

    host.Calls.clear();
    EXPECT_TRUE(tray->ShowBalloonHint(std::string(100, 't'), std::string(300, 'x'), bsbitWarning));
    EXPECT_EQ(host.Calls,
              (std::vector<std::string>{"modify", "hide balloon", "modify", "balloon 2"}));
    EXPECT_EQ(host.Text.size(), 255u);
    EXPECT_EQ(host.Title.size(), 63u);

    host.Answer = false;
    EXPECT_FALSE(tray->ShowBalloonHint("t", "x", bsbitInfo));
    EXPECT_FALSE(tray->HideBalloonHint());
    EXPECT_FALSE(tray->Refresh());
    EXPECT_FALSE(tray->AddTrayIcon());
    host.Answer = true;
    EXPECT_TRUE(tray->Refresh());
}

TEST_F(TrayIconTest, TheAreasReturnBringsBackAVisibleIconOnly) {
    MakeTray();
    tray->SetIconVisible(true);
    host.Calls.clear();
    win::TrayAreaCreated();
    EXPECT_EQ(host.Adds(), 1);
    tray->SetIconVisible(false);
    host.Calls.clear();
    win::TrayAreaCreated();
    EXPECT_EQ(host.Adds(), 0);
}

TEST_F(TrayIconTest, WithTheNullHostEveryCallFailsAndNothingHappens) {
    win::SetTrayHost(nullptr);
    MakeTray();
    EXPECT_FALSE(tray->AddTrayIcon());
    EXPECT_FALSE(tray->ModifyTrayIcon());
    EXPECT_FALSE(tray->ShowBalloonHint("t", "x", bsbitError));
    EXPECT_FALSE(tray->HideBalloonHint());
    EXPECT_FALSE(tray->DeleteTrayIcon());
    // The area never took the icon, so no event reaches it.
    Event(win::TTrayEvent::LeftDown);
    Event(win::TTrayEvent::LeftUp);
    Wait(600);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(host.Calls.empty());
}

TEST_F(TrayIconTest, ClicksFollowTheDoubleClickTime) {
    struct TCase {
        const char* name;
        int upAfterMs;
        std::vector<std::string> expected;
    };
    const TCase cases[] = {
        {"quick click", 100, {"down 0 @0", "up 0 @100", "click @500"}},
        {"slow release", 700, {"down 0 @0", "up 0 @700", "click @700"}},
    };
    for (const TCase& c : cases) {
        MakeTray();
        tray->SetIconVisible(true);
        events.clear();
        elapsed = 0;
        Event(win::TTrayEvent::LeftDown);
        Wait(c.upAfterMs);
        // The click of a slow release comes at the release, before OnMouseUp.
        Event(win::TTrayEvent::LeftUp);
        Wait(1000);
        std::vector<std::string> expected = c.expected;
        if (c.upAfterMs > 500) std::swap(expected[1], expected[2]);
        EXPECT_EQ(events, expected) << c.name;
        tray->Free();
    }
}

TEST_F(TrayIconTest, ADoubleClickRunsTheDefaultItemAndNoClick) {
    MakeTray();
    tray->SetIconVisible(true);
    auto* menu = new TbsSkinPopupMenu(main);
    for (const char* name : {"Open", "Exit"}) {
        auto* item = new vcl::TMenuItem(main);
        item->SetCaption(name);
        item->OnClick = [this, name](vcl::TObject*) { Note(std::string("item ") + name); };
        menu->Items()->Add(item);
    }
    menu->Items()->Items(1)->SetDefault(true);
    tray->SetPopupMenu(menu);
    Event(win::TTrayEvent::LeftDown);
    Event(win::TTrayEvent::LeftUp);
    Wait(100);
    Event(win::TTrayEvent::LeftDoubleClick);
    Event(win::TTrayEvent::LeftUp);
    Wait(1000);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 @0", "up 0 @0", "dblclick @100",
                                                "item Exit @100", "up 0 @100"}));
}

TEST_F(TrayIconTest, ARightPressOpensTheSkinnedMenuAtTheCursorAndDisabledIgnoresAll) {
    auto* sf = new TbsSkinForm(main);
    Run();
    MakeTray();
    tray->SetIconVisible(true);
    auto* menu = new TbsSkinPopupMenu(main);
    auto* item = new vcl::TMenuItem(main);
    item->SetCaption("Restore");
    menu->Items()->Add(item);
    tray->SetPopupMenu(menu);
    int nulls = 0;
    const auto link = win::SubclassWindow(
        main->Handle(),
        [&](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l, const win::TNextProc& next) {
            nulls += m == win::WM_NULL;
            return next(h, m, w, l);
        });
    Event(win::TTrayEvent::RightDown, {700, 500});
    EXPECT_EQ(events, (std::vector<std::string>{"down 1 @0"}));
    ASSERT_EQ(sf->SkinMenu->LevelCount(), 1);
    EXPECT_EQ(menu->PopupPoint(), (gfx::TPoint{700, 500}));
    EXPECT_EQ(menu->PopupComponent(), tray);
    Run();
    EXPECT_EQ(nulls, 1);

    tray->SetEnabled(false);
    events.clear();
    for (auto e : {win::TTrayEvent::LeftDown, win::TTrayEvent::LeftUp, win::TTrayEvent::RightDown,
                   win::TTrayEvent::LeftDoubleClick, win::TTrayEvent::Move})
        Event(e, {300, 200});
    Wait(600);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(menu->PopupPoint(), (gfx::TPoint{700, 500}));
    EXPECT_EQ(nulls, 1);
    win::RemoveSubclass(main->Handle(), link);
}

TEST_F(TrayIconTest, CyclingReportsAndShowsTheNextIcon) {
    MakeTray();
    tray->SetIconVisible(true);
    vcl::TImageList list(main);
    list.SetWidth(16);
    list.SetHeight(16);
    const gfx::TColor colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (gfx::TColor c : colours) list.AddMasked(*test::SolidPicture(16, 16, c), gfx::clFuchsia);
    // An empty list is no list: nothing to load, nothing raised.
    tray->SetIconList(&list);
    tray->SetIconIndex(-3);
    EXPECT_EQ(tray->IconIndex(), 0);
    tray->SetIconIndex(10);
    EXPECT_EQ(tray->IconIndex(), 3);

    std::vector<int> reported;
    std::vector<int> shown;
    auto indexOf = [&](const gfx::TImage& image) {
        const std::uint32_t rgb = image.Pixels.at(8 * 16 + 8) & 0xFFFFFF;
        for (int i = 0; i < 4; ++i)
            if (rgb == ((colours[i] & 0xFF) << 16 | (colours[i] & 0xFF00) | colours[i] >> 16))
                return i;
        return -1;
    };
    tray->OnCycle = [&](vcl::TObject*, int next) { reported.push_back(next); };
    tray->SetAnimateTimerInterval(100);
    tray->SetCycleIcons(true);
    for (int tick = 0; tick < 5; ++tick) {
        Wait(100);
        shown.push_back(indexOf(host.Image));
    }
    EXPECT_EQ(reported, (std::vector<int>{1, 2, 3, 0, 1}));
    EXPECT_EQ(shown, reported);
    tray->SetCycleIcons(false);
    list.Clear();
    tray->SetIconIndex(2);
    EXPECT_EQ(tray->IconIndex(), 0);
}

TEST_F(TrayIconTest, MinimizingHidesTheMainFormIntoTheAreaAndRestoringBringsItBack) {
    auto* sf = new TbsSkinForm(main);
    sf->SetSkinData(MakeSkin());
    Run();
    MakeTray();
    tray->SetEnabled(false);  // the icon's clicks are off; minimizing still works
    sf->SetTrayIcon(tray);
    EXPECT_FALSE(tray->IconVisible());
    EXPECT_FALSE(tray->MinimizeToTray());
    std::vector<std::string> log;
    sf->FOnMinimizeToTray = [&](vcl::TObject*) { log.push_back("to tray"); };
    sf->FOnRestoreFromTray = [&](vcl::TObject*) { log.push_back("from tray"); };
    host.Calls.clear();
    sf->MinimizeToTray();
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(main->Tag(), -10000);
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_EQ(host.Adds(), 1);

    sf->RestoreFromTray();
    EXPECT_TRUE(main->Visible());
    EXPECT_TRUE(win::IsWindowVisible(main->Handle()));
    EXPECT_FALSE(win::IsIconic(main->Handle()));
    EXPECT_EQ(main->Tag(), -10000);
    EXPECT_FALSE(tray->IconVisible());
    Run();  // 1426 tells the form the transition is over
    EXPECT_EQ(main->Tag(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"to tray", "from tray"}));
    EXPECT_FALSE(win::IsWindowVisible(vcl::Application->Handle()));

    // Always shown in the area: restoring keeps the icon; the minimize button goes to the area.
    sf->FAlwaysShowInTray = true;
    sf->FAlwaysMinimizeToTray = true;
    sf->MinimizeToTray();
    sf->RestoreFromTray();
    EXPECT_TRUE(tray->IconVisible());
    host.Calls.clear();
    TbsActiveSkinObject* minButton = Object(sf, "minbutton");
    ASSERT_NE(minButton, nullptr);
    const gfx::TRect r = minButton->ObjectRect;
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    sf->TestActive(x, y, true);
    sf->ObjectMouseDown(vcl::mbLeft, x, y);
    sf->ObjectMouseUp(vcl::mbLeft, x, y);
    EXPECT_FALSE(main->Visible());
    EXPECT_TRUE(tray->IconVisible());
}

TEST_F(TrayIconTest, TheApplicationsSetUpNeverShowsTheIconAndKeepsTheFocus) {
    auto* edit = new vcl::TEdit(main);
    edit->SetParent(main);
    edit->SetBounds(10, 10, 100, 22);
    auto* sf = new TbsSkinForm(main);
    Run();
    edit->SetFocus();
    // As the main window's form data has it: disabled, hidden, given to the form component.
    host.Calls.clear();
    tray = new TbsTrayIcon(main);
    tray->BeginLoading();
    tray->SetEnabled(false);
    tray->SetIconVisible(false);
    tray->EndLoading();
    sf->SetTrayIcon(tray);
    EXPECT_FALSE(tray->MinimizeToTray());
    EXPECT_EQ(host.Adds(), 0);

    vcl::TForm* other = MakeForm(200, 100, "Other");
    other->SetFocus();
    Run();
    win::SetActiveWindow(main->Handle());
    Run();
    EXPECT_EQ(win::GetFocus(), edit->Handle());
    EXPECT_EQ(host.Adds(), 0);
}

}  // namespace
}  // namespace skin
