// The dialog script player: reading scripts, and playing them into the folder dialog's modal
// loop with real input on the virtual clock.
#include "support/dialog_script.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/gfx/picture.h"
#include "platform/shell/shell_fixture.h"
#include "skin/controls/skin_button.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/dialogs/shell_tree_view.h"

namespace skin {
namespace {

using testsupport::TDialogStep;

TEST(DialogScriptTest, StepsAndTheirValues) {
    const auto steps = testsupport::ParseDialogScript(
        "# choose a folder\n"
        "\n"
        "click 10 20\r\n"
        "  dblclick -3 4\n"
        "type 新建 folder  two\n"
        "key Enter\n"
        "key F12\n"
        "key Z\n"
        "wait 25\n"
        "shot tree.png\n"
        "key ctrl+shift+End\n");
    using K = TDialogStep::TKind;
    ASSERT_EQ(steps.size(), 9u);
    EXPECT_EQ(steps[0].Kind, K::Click);
    EXPECT_EQ(steps[0].X, 10);
    EXPECT_EQ(steps[0].Y, 20);
    EXPECT_EQ(steps[0].Line, 3);
    EXPECT_EQ(steps[1].Kind, K::DblClick);
    EXPECT_EQ(steps[1].X, -3);
    EXPECT_EQ(steps[2].Text, "新建 folder  two") << "the rest of the line, inner spaces kept";
    EXPECT_EQ(steps[3].Value, win::VK_RETURN);
    EXPECT_EQ(steps[4].Value, win::VK_F12);
    EXPECT_EQ(steps[5].Value, 'Z');
    EXPECT_EQ(steps[6].Kind, K::Wait);
    EXPECT_EQ(steps[6].Value, 25);
    EXPECT_EQ(steps[7].Kind, K::Shot);
    EXPECT_EQ(steps[7].Text, "tree.png");
    EXPECT_EQ(steps[8].Value, win::VK_END);
    EXPECT_EQ(steps[8].Modifiers, (std::vector<int>{win::VK_CONTROL, win::VK_SHIFT}));
    EXPECT_TRUE(steps[3].Modifiers.empty());
}

TEST(DialogScriptTest, ABadStepNamesItsLine) {
    const struct {
        const char* Script;
        const char* Message;
    } bad[] = {
        {"clik 1 2", "line 1: no step is called \"clik\""},
        {"# c\nclick 1", "line 2: click takes 2 argument(s), not 1"},
        {"click 1 2 3", "line 1: click takes 2 argument(s), not 3"},
        {"dblclick a 2", "line 1: \"a\" is not a number"},
        {"click 1 2x", "line 1: \"2x\" is not a number"},
        {"key Foo", "line 1: no key is named \"Foo\""},
        {"key q", "line 1: no key is named \"q\""},
        {"key F13", "line 1: no key is named \"F13\""},
        {"key meta+A", "line 1: no modifier is named \"meta\""},
        {"key shift+", "line 1: no key is named \"\""},
        {"wait -5", "line 1: wait needs a time of 0 ms or more"},
        {"type", "line 1: type needs a text"},
        {"shot", "line 1: shot takes 1 argument(s), not 0"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.Script);
        try {
            testsupport::ParseDialogScript(b.Script);
            ADD_FAILURE() << "read without complaint";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), b.Message);
        }
    }
}

class DialogPlayerTest : public test::TControlsTest {
protected:
    void SetUp() override {
        TControlsTest::SetUp();
        FHome = std::make_unique<shelltest::TShellHome>();
        Dialog = new TbsSkinSelectDirectoryDialog(Form);
        FHome->Dir().MakeFolder("music/a");
        FHome->Dir().MakeFolder("music/b");
        Dialog->Directory = FHome->Dir() / "music/a";
        Player = std::make_unique<testsupport::TDialogPlayer>(
            *Screen, FClock,
            [this] { return Dialog->DlgFrm() ? Dialog->DlgFrm()->Handle() : win::HWND{}; },
            FHome->Dir().Path());
    }
    void TearDown() override {
        Player.reset();
        FHome.reset();
        TControlsTest::TearDown();
    }
    // A client point of the dialog: the middle of a control's rectangle inside it.
    std::string At(vcl::TControl* control, const TRect& r) const {
        const gfx::TPoint p = Dialog->DlgFrm()->ScreenToClient(
            control->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
        return std::to_string(p.X) + " " + std::to_string(p.Y);
    }
    // Plays a script whose text is only known once the dialog is shown.
    void PlayWhenShown(std::function<std::string(TbsSelDirDlgForm*)> script) {
        Screen->QueueIdleStep([this, script] {
            Player->Queue(testsupport::ParseDialogScript(script(Dialog->DlgFrm())));
        });
    }

    std::unique_ptr<shelltest::TShellHome> FHome;
    TbsSkinSelectDirectoryDialog* Dialog = nullptr;
    std::unique_ptr<testsupport::TDialogPlayer> Player;
};

TEST_F(DialogPlayerTest, ClicksKeysWaitsAndShotsReachTheDialog) {
    std::vector<std::string> seen;  // what the tree went through
    std::int64_t shownAt = 0;
    int width = 0, height = 0;
    PlayWhenShown([&](TbsSelDirDlgForm* form) {
        shownAt = FClock.NowMicros();
        width = form->Width();
        height = form->Height();
        vcl::TCustomTreeView* tree = form->DirTreeView;
        auto chain = [&](vcl::TTVExpandedEvent& event, const char* what) {
            event = [&seen, what, old = event](vcl::TObject* s, vcl::TTreeNode* n) {
                if (old) old(s, n);
                seen.push_back(std::string(what) + " " + n->Text());
            };
        };
        chain(tree->OnExpanded, "expanded");
        chain(tree->OnCollapsed, "collapsed");
        const std::string onMusic =
            At(tree, form->DirTreeView->Selected()->Parent()->DisplayRect(true));
        // Two clicks of separate steps select; a double click folds the node; Right unfolds
        // it, then goes down to its first folder.
        return "click " + onMusic + "\nclick " + onMusic + "\ndblclick " + onMusic +
               "\nkey Right\nkey Right\nwait 95\nshot shown.png\nclick " +
               At(form->OkButton, form->OkButton->ClientRect()) + "\n";
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->Directory, FHome->Dir() / "music/a");
    EXPECT_EQ(seen, (std::vector<std::string>{"collapsed music", "expanded music"}));
    EXPECT_GE(FClock.NowMicros() - shownAt, 95'000);

    gfx::TPicture shot;
    ASSERT_NO_THROW(shot.LoadFromFile(FHome->Dir() / "shown.png"));
    EXPECT_EQ(shot.Width(), width) << "the whole window, frame included";
    EXPECT_EQ(shot.Height(), height);
}

TEST_F(DialogPlayerTest, AScriptThatLeavesTheDialogOpenFailsTheRun) {
    PlayWhenShown([](TbsSelDirDlgForm*) { return "key Down\nwait 20\n"; });
    try {
        Dialog->Execute();
        ADD_FAILURE() << "Execute came back";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "the script ended with the dialog still open");
    }
    EXPECT_EQ(Dialog->DlgFrm(), nullptr) << "the dialog closed on the way out";
}

}  // namespace
}  // namespace skin
