// A skinned popup menu on a real X server (x11_run.sh starts a private Xvfb, no window manager):
// its level is an override-redirect X window, the form keeps the X input focus, and keys typed
// by xdotool reach the menu through the form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/edits.h"
#include "platform/vcl/vcl.h"
#include "platform/win/x11_test_support.h"
#include "skin/form/skin_form.h"
#include "skin/menus/skin_menu.h"

namespace skin {
namespace {

class MenuX11Test : public win::test::TX11Test {
public:
    void SetUp() override {
        TX11Test::SetUp();
        vcl::InitializeApplication();
    }
    void TearDown() override {
        vcl::FinalizeApplication();
        TX11Test::TearDown();
    }

    void Xdo(const std::vector<std::string>& args) {
        std::vector<std::string> command{"xdotool"};
        command.insert(command.end(), args.begin(), args.end());
        const win::test::TToolResult r = Tool(command);
        ASSERT_EQ(r.ExitCode, 0) << r.Errors;
    }

    win::test::TXClient Other;
};

TEST_F(MenuX11Test, APopupLevelIsOverrideRedirectAndTheFormKeepsTheFocusWhileKeysWalkIt) {
    auto* form = new vcl::TForm(vcl::Application);
    form->SetBounds(100, 80, 400, 300);
    auto* skinForm = new TbsSkinForm(form);
    auto* edit = new vcl::TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 120, 22);
    std::vector<std::string> log;
    edit->OnKeyDown = [&](vcl::TObject*, int& key, vcl::TShiftState) {
        log.push_back("editkey " + std::to_string(key));
    };
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Shows(form->Handle()); }));
    edit->SetFocus();
    const std::uint64_t formWindow = X->XWindowOf(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return Other.FocusWindow() == formWindow; }));

    auto* menu = new TbsSkinPopupMenu(form);
    for (const char* caption : {"Open", "Convert", "Quit"}) {
        auto* item = new vcl::TMenuItem(form);
        item->SetCaption(caption);
        item->OnClick = [&log, caption](vcl::TObject*) {
            log.push_back(std::string("click ") + caption);
        };
        menu->Items()->Add(item);
    }
    menu->Popup(300, 200);
    TbsSkinMenu& controller = *skinForm->SkinMenu;
    ASSERT_EQ(controller.LevelCount(), 1);
    TbsSkinPopupWindow& level = *controller.Level(0);
    ASSERT_TRUE(PumpUntil([&] { return Shows(level.Handle()); }));
    const std::string info = WindowInfo(X->XWindowOf(level.Handle()));
    EXPECT_NE(info.find("Override Redirect State: yes"), std::string::npos) << info;
    EXPECT_EQ(Other.FocusWindow(), formWindow);
    EXPECT_EQ(level.ActiveItem, 0);

    Xdo({"key", "Down"});
    ASSERT_TRUE(PumpUntil([&] { return level.ActiveItem == 1; })) << level.ActiveItem;
    EXPECT_EQ(Other.FocusWindow(), formWindow);

    Xdo({"key", "Return"});
    ASSERT_TRUE(PumpUntil([&] { return !log.empty(); }));
    EXPECT_EQ(log, (std::vector<std::string>{"click Convert"}));
    EXPECT_EQ(controller.LevelCount(), 0);
    EXPECT_EQ(Other.FocusWindow(), formWindow);

    // Closed, the menu no longer takes the keys: the edit has them again.
    Xdo({"key", "Down"});
    ASSERT_TRUE(PumpUntil([&] { return log.size() == 2; }));
    EXPECT_EQ(log.back(), "editkey " + std::to_string(win::VK_DOWN));
}

// Where X shows a window: xwininfo's absolute upper-left corner.
gfx::TPoint XPlace(const std::string& info) {
    auto number = [&](const std::string& label) {
        const auto at = info.find(label);
        return at == std::string::npos ? -100000 : std::stoi(info.substr(at + label.size()));
    };
    return {number("Absolute upper-left X:"), number("Absolute upper-left Y:")};
}

TEST_F(MenuX11Test, ASubmenuShowsBesideItsItemOpenedByKeyAndByMouse) {
    auto* form = new vcl::TForm(vcl::Application);
    form->SetBounds(100, 80, 400, 300);
    auto* skinForm = new TbsSkinForm(form);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return Shows(form->Handle()); }));
    auto* menu = new TbsSkinPopupMenu(form);
    auto add = [&](vcl::TMenuItem* parent, const char* caption) {
        auto* item = new vcl::TMenuItem(form);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    };
    add(menu->Items(), "Open");
    vcl::TMenuItem* sub = add(menu->Items(), "Save as");
    add(sub, "PNG");
    add(sub, "JPEG");
    TbsSkinMenu& controller = *skinForm->SkinMenu;
    for (const bool byMouse : {false, true}) {
        SCOPED_TRACE(byMouse ? "mouse" : "keyboard");
        menu->Popup(300, 200);
        ASSERT_EQ(controller.LevelCount(), 1);
        TbsSkinPopupWindow& level = *controller.Level(0);
        ASSERT_TRUE(PumpUntil([&] { return Shows(level.Handle()); }));
        const gfx::TRect item = level.Item(1)->ObjectRect;
        if (byMouse) {
            const gfx::TPoint p = level.ClientToScreen({item.Left + 8, item.Top + 4});
            Xdo({"mousemove", std::to_string(p.X), std::to_string(p.Y)});
        } else {
            Xdo({"key", "Down"});
            Xdo({"key", "Right"});
        }
        ASSERT_TRUE(PumpUntil([&] { return controller.LevelCount() == 2; }));
        TbsSkinPopupWindow& child = *controller.Level(1);
        ASSERT_TRUE(PumpUntil([&] { return Shows(child.Handle()); }));
        const gfx::TPoint shown = XPlace(WindowInfo(X->XWindowOf(child.Handle())));
        const gfx::TPoint parent = XPlace(WindowInfo(X->XWindowOf(level.Handle())));
        EXPECT_EQ(shown.X, parent.X + item.Right + 1);
        EXPECT_EQ(shown.Y, parent.Y + item.Top - child.NewItemsRect.Top);
        Xdo({"key", "Escape"});
        Xdo({"key", "Escape"});
        ASSERT_TRUE(PumpUntil([&] { return controller.LevelCount() == 0; }));
        if (byMouse) Xdo({"mousemove", "20", "20"});
    }
}

}  // namespace
}  // namespace skin
