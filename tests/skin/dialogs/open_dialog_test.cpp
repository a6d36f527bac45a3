// The file chooser over the fixture namespace, driven by clicks and keys while its modal loop
// waits.
#include "skin/dialogs/open_dialog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/shell/shell_fixture.h"
#include "platform/sys/env.h"
#include "platform/sys/files.h"
#include "platform/vcl/menus.h"
#include "sheet_test_support.h"
#include "skin/controls/bars.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"
#include "skin/menus/skin_menu.h"

namespace skin {
namespace {

using Names = std::vector<std::string>;

// A save dialog as the picture dialogs make one.
class TSaveDialog : public TbsSkinOpenDialog {
public:
    explicit TSaveDialog(vcl::TComponent* AOwner) : TbsSkinOpenDialog(AOwner) { FSaveMode = true; }
};

Names Lines(rtl::TStringList& list) {
    Names lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
    return lines;
}

Names FolderNames(const std::string& path) {
    return shelltest::ChildNames(shelltest::FolderOfPath(path),
                                 shell::ObjectTypesToEnumFlags({shell::otFolders}));
}

Names RowNames(TbsCustomShellListView* list) {
    Names names;
    for (int i = 0; i < list->FolderCount(); ++i) names.push_back(list->FolderAt(i)->DisplayName());
    return names;
}

class OpenDialogTest : public test::TControlsTest {
protected:
    void SetUp() override {
        TControlsTest::SetUp();
        FHome = std::make_unique<shelltest::TShellHome>();
        FSavedAppDir = sys::GetEnv("MORADEX_APPDIR");
        Dir().MakeFolder("app");
        sys::SetEnv("MORADEX_APPDIR", Dir() / "app");
        Dialog = new TbsSkinOpenDialog(Form);
    }
    void TearDown() override {
        if (FSavedAppDir.empty())
            sys::UnsetEnv("MORADEX_APPDIR");
        else
            sys::SetEnv("MORADEX_APPDIR", FSavedAppDir);
        FHome.reset();
        TControlsTest::TearDown();
    }
    const testsupport::TTempDir& Dir() const { return FHome->Dir(); }
    std::string Touch(const std::string& name) const { return FHome->Touch(name); }
    void WhenShown(TbsSkinOpenDialog* dialog, std::function<void(TbsOpenDlgForm*)> step) {
        Screen->QueueIdleStep([dialog, step] {
            ASSERT_NE(dialog->DlgFrm(), nullptr);
            step(dialog->DlgFrm());
        });
    }
    void WhenShown(std::function<void(TbsOpenDlgForm*)> step) { WhenShown(Dialog, step); }

    // Text typed into the name edit (replacing what it held), then Enter or a click on Open.
    void Type(TbsOpenDlgForm* form, const std::string& text) {
        form->FileNameEdit->SetText("");
        form->FileNameEdit->SetFocus();
        Screen->Text(text);
        Run();
    }
    void Key(int key) {
        Press(key);
        Run();
    }
    void Enter(TbsOpenDlgForm* form, const std::string& text) {
        Type(form, text);
        Key(win::VK_RETURN);
    }
    void ClickOpen(TbsOpenDlgForm* form) {
        Click(form->OpenButton, 10, 10);
        Run();
    }
    int RowOf(TbsOpenDlgForm* form, const std::string& name) {
        for (int i = 0; i < form->FileListView->FolderCount(); ++i)
            if (form->FileListView->FolderAt(i)->DisplayName() == name) return i;
        ADD_FAILURE() << name << " is not listed";
        return -1;
    }
    TPoint RowPoint(TbsOpenDlgForm* form, const std::string& name) {
        const int row = RowOf(form, name);
        const TRect r = form->FileListView->Items().Item(row)->DisplayRect();
        return At(form->FileListView, r.Left + 4, r.Top + 4);
    }
    // Each after a pause, so no click joins the one before into a double click.
    void ClickRow(TbsOpenDlgForm* form, const std::string& name, bool ctrl = false) {
        Wait(1000);
        const TPoint p = RowPoint(form, name);
        if (ctrl) Screen->KeyDown(win::VK_CONTROL);
        Screen->Click(p);
        if (ctrl) Screen->KeyUp(win::VK_CONTROL);
        Run();
    }
    void DoubleClickRow(TbsOpenDlgForm* form, const std::string& name) {
        Wait(1000);
        const TPoint p = RowPoint(form, name);
        Screen->Click(p);
        Screen->Click(p);
        Run();
    }

    std::unique_ptr<shelltest::TShellHome> FHome;
    std::string FSavedAppDir;
    TbsSkinOpenDialog* Dialog = nullptr;
};

TEST_F(OpenDialogTest, BuildsTheFormAndRunsItsLifeCycle) {
    Dir().MakeFolder("v");
    Dialog->SetFileName("");
    Dialog->InitialDir = Dir() / "v";
    Names events;
    Dialog->OnShow = [&](vcl::TObject* s) {
        EXPECT_EQ(s, Dialog);
        EXPECT_EQ(Dialog->DlgFrm(), nullptr) << "OnShow comes before the form";
        EXPECT_EQ(Dialog->GetSelectedFile(), "");
        events.push_back("show");
    };
    Dialog->OnClose = [&](vcl::TObject* s) {
        EXPECT_EQ(s, Dialog);
        EXPECT_NE(Dialog->DlgFrm(), nullptr) << "OnClose comes before the form goes";
        events.push_back("close");
    };
    WhenShown([&](TbsOpenDlgForm* form) {
        events.push_back("shown");
        EXPECT_EQ(form->Caption(), "Open file");
        EXPECT_EQ(form->ClientWidth(), 450);
        EXPECT_EQ(form->ClientHeight(), 290);
        EXPECT_EQ(form->OpenButton->Caption(), "&Open");
        EXPECT_EQ(form->CancelButton->Caption(), "Cancel");
        EXPECT_EQ(form->Drivelabel->Caption(), "Look in: ");
        EXPECT_EQ(form->OpenFileLabel->Caption(), "File name:");
        EXPECT_EQ(form->FileTypeLabel->Caption(), "File type:");
        const Names hints{form->BackToolButton->Hint(), form->UpToolButton->Hint(),
                          form->NewFolderToolButton->Hint(), form->StyleToolButton->Hint()};
        EXPECT_EQ(hints, (Names{"Go To Last Folder Visited", "Up One Level", "Create New Folder",
                                "View Menu"}));
        // Left to right on the bar: label, look-in combo, back, up, new folder, view style.
        EXPECT_LT(form->Drivelabel->Left(), form->ShellBox->Left());
        EXPECT_LT(form->ShellBox->Left(), form->BackToolButton->Left());
        EXPECT_LT(form->BackToolButton->Left(), form->UpToolButton->Left());
        EXPECT_LT(form->UpToolButton->Left(), form->NewFolderToolButton->Left());
        EXPECT_LT(form->NewFolderToolButton->Left(), form->StyleToolButton->Left());
        EXPECT_EQ(form->StyleToolButton->Left() + form->StyleToolButton->Width(),
                  form->ToolPanel->ClientWidth());
        // The bottom row follows the right edge.
        EXPECT_EQ(form->OpenButton->Left() + form->OpenButton->Width(), 440);
        EXPECT_EQ(form->FileNameEdit->Left() + form->FileNameEdit->Width(), 360);
        EXPECT_EQ(form->ShellBox->Text(), "v");
        EXPECT_EQ(form->ActiveControl(), form->FileNameEdit);
        EXPECT_TRUE(form->ListMenuItem->Checked());
        EXPECT_EQ(form->HistoryCount(), 1);
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_EQ(events, (Names{"show", "shown", "close"}));
    EXPECT_EQ(Dialog->GetSelectedFile(), "");
}

TEST_F(OpenDialogTest, StartFolderComesFromTheLastFileThenInitialDirThenTheProgram) {
    Dir().MakeFolder("init");
    const std::string last = Touch("last/clip.mp4");
    const struct {
        const char* Case;
        std::string FileName, InitialDir, Folder, Edit;
    } cases[] = {
        {"nothing", "", "", Dir() / "app", ""},
        {"missing InitialDir", "", Dir() / "nowhere", Dir() / "app", ""},
        {"InitialDir", "", Dir() / "init", Dir() / "init", ""},
        {"last file", last, Dir() / "init", Dir() / "last", "clip.mp4"},
        {"its folder gone", Dir() / "gone/x.mp4", Dir() / "init", Dir() / "init", "x.mp4"},
        {"both gone", Dir() / "gone/x.mp4", Dir() / "nowhere", Dir() / "app", "x.mp4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        Dialog->SetFileName(c.FileName);
        Dialog->InitialDir = c.InitialDir;
        WhenShown([&](TbsOpenDlgForm* form) {
            EXPECT_EQ(form->FileListView->Path(), c.Folder);
            EXPECT_EQ(form->FileNameEdit->Text(), c.Edit);
            ClickOpen(form);
            if (Dialog->DlgFrm() && form->ModalResult() == vcl::mrNone) Press(win::VK_ESCAPE);
        });
        const bool chosen = Dialog->Execute();
        // Only the last file still there is chosen again by Open at once.
        EXPECT_EQ(chosen, c.FileName == last);
        if (chosen) {
            EXPECT_EQ(Dialog->FileName(), last);
        }
    }
}

TEST_F(OpenDialogTest, TypedNamesCloseOnlyOnAnExistingFile) {
    Dialog->Filter = "MP4 (*.mp4;*.m4v)|*.mp4;*.m4v|All|*.*";
    const struct {
        const char* Case;
        Names Files;
        std::string Typed;
        std::string Chosen;  // "" the dialog stays open
    } cases[] = {
        {"filter extension added", {"clip.mp4"}, "clip", "clip.mp4"},
        {"missing", {"clip.avi"}, "clip", ""},
        {"lone case twin", {"clip.MP4"}, "clip", "clip.MP4"},
        {"two case twins", {"clip.MP4", "clip.Mp4"}, "clip", ""},
        {"with extension", {"a.m4v"}, "a.m4v", "a.m4v"},
        {"a folder is no file", {"d.mp4/"}, "d", ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const std::string folder = "t" + std::to_string(n++);
        Dir().MakeFolder(folder);
        for (const std::string& f : c.Files)
            if (f.back() == '/')
                Dir().MakeFolder(folder + "/" + f);
            else
                Touch(folder + "/" + f);
        Dialog->SetFileName("");
        Dialog->InitialDir = Dir() / folder;
        bool stayed = false;
        WhenShown([&](TbsOpenDlgForm* form) {
            EXPECT_EQ(form->FilterExtension(), ".mp4");
            Type(form, c.Typed);
            ClickOpen(form);
            stayed = Dialog->DlgFrm() != nullptr && form->ModalResult() == vcl::mrNone;
            if (stayed) {
                EXPECT_EQ(Screen->Beeps().size(), 0u) << "no message";
                Press(win::VK_ESCAPE);
            }
        });
        const bool chosen = Dialog->Execute();
        EXPECT_EQ(chosen, !c.Chosen.empty());
        EXPECT_EQ(stayed, c.Chosen.empty());
        if (chosen) {
            EXPECT_EQ(Dialog->FileName(), Dir() / (folder + "/" + c.Chosen));
        }
    }
}

TEST_F(OpenDialogTest, DoubleClicksEnterMasksAndFolderPaths) {
    Touch("m/a.mp4");
    Touch("m/b.wav");
    Touch("m/sub/c.mp4");
    Dialog->InitialDir = Dir() / "m";
    Dialog->Filter = "All|*.*";
    WhenShown([&](TbsOpenDlgForm* form) {
        EXPECT_EQ(RowNames(form->FileListView), (Names{"sub", "a.mp4", "b.wav"}));
        // A mask typed with Enter filters the list; a folder path opens it; a missing one
        // changes nothing.
        Enter(form, "*.wav");
        EXPECT_EQ(RowNames(form->FileListView), (Names{"sub", "b.wav"}));
        EXPECT_NE(Dialog->DlgFrm(), nullptr);
        Enter(form, Dir() / "m/sub");
        EXPECT_EQ(form->FileListView->Path(), Dir() / "m/sub");
        Enter(form, Dir() / "m/none");
        EXPECT_EQ(form->FileListView->Path(), Dir() / "m/sub");
        form->UpToolButton->Click();
        EXPECT_EQ(form->FileListView->Path(), Dir() / "m");
        // A double click on a folder opens it, on a file closes at once.
        form->FileListView->SetMask("*.*");
        DoubleClickRow(form, "sub");
        EXPECT_EQ(form->FileListView->Path(), Dir() / "m/sub");
        EXPECT_NE(Dialog->DlgFrm(), nullptr);
        EXPECT_EQ(form->FileListView->SelCount(), 0) << "no selection carried into the folder";
        ClickRow(form, "c.mp4");
        EXPECT_EQ(form->FileNameEdit->Text(), "c.mp4");
        // A selected file still needs a name in the edit.
        form->FileNameEdit->SetText("");
        ClickOpen(form);
        EXPECT_EQ(form->ModalResult(), vcl::mrNone);
        DoubleClickRow(form, "c.mp4");
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->FileName(), Dir() / "m/sub/c.mp4");
    EXPECT_EQ(Lines(Dialog->Files()), (Names{Dir() / "m/sub/c.mp4"}));

    // Enter in the list on a file chooses it; on a folder it opens the folder.
    Dialog->SetFileName("");
    WhenShown([&](TbsOpenDlgForm* form) {
        ClickRow(form, "sub");
        Key(win::VK_RETURN);
        EXPECT_EQ(form->FileListView->Path(), Dir() / "m/sub");
        EXPECT_EQ(form->ModalResult(), vcl::mrNone);
        ClickRow(form, "c.mp4");
        Key(win::VK_RETURN);
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->FileName(), Dir() / "m/sub/c.mp4");
}

TEST_F(OpenDialogTest, MultiSelectionGivesTheFilesInListOrder) {
    for (const char* f : {"s/a.mp3", "s/b.mp3", "s/c.mp3", "s/d.mp3"}) Touch(f);
    Dir().MakeFolder("s/folder");
    Dialog->MultiSelection = true;
    Dialog->InitialDir = Dir() / "s";
    WhenShown([&](TbsOpenDlgForm* form) {
        EXPECT_TRUE(form->FileListView->MultiSelect());
        ClickRow(form, "c.mp3");
        ClickRow(form, "folder", true);
        ClickRow(form, "a.mp3", true);
        ClickRow(form, "d.mp3", true);
        EXPECT_EQ(Dialog->GetSelectedFile(), Dir() / "s/d.mp3");
        ClickOpen(form);
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->FileName(), Dir() / "s/d.mp3");
    EXPECT_EQ(Lines(Dialog->Files()),
              (Names{Dir() / "s/a.mp3", Dir() / "s/c.mp3", Dir() / "s/d.mp3"}));

    // A name typed with nothing selected is the one file chosen.
    Dialog->SetFileName("");
    WhenShown([&](TbsOpenDlgForm* form) {
        form->FileListView->ClearSelection();
        Enter(form, "b.mp3");
    });
    EXPECT_TRUE(Dialog->Execute());
    EXPECT_EQ(Dialog->FileName(), Dir() / "s/b.mp3");
    EXPECT_EQ(Lines(Dialog->Files()), (Names{Dir() / "s/b.mp3"}));
}

TEST_F(OpenDialogTest, CancelKeepsTheChoiceButTakesFilterViewAndSize) {
    Touch("c/a.mp3");
    Touch("c/b.wav");
    Dialog->Filter = "All|*.*|Wave|*.wav|MP3|*.mp3";
    Dialog->SetFileName(Dir() / "c/a.mp3");
    Dialog->Files().Add("kept");
    for (const char* how : {"Esc", "Cancel button", "close command"}) {
        SCOPED_TRACE(how);
        WhenShown([&](TbsOpenDlgForm* form) {
            form->FilterComboBox->SetItemIndex(1);
            EXPECT_EQ(RowNames(form->FileListView), (Names{"b.wav"}));
            form->StylePopupMenu->Items()->Items(3)->Click();
            EXPECT_EQ(form->FileListView->ViewStyle(), vcl::vsReport);
            EXPECT_TRUE(form->ReportMenuItem->Checked());
            EXPECT_FALSE(form->ListMenuItem->Checked());
            ClickRow(form, "b.wav");
            form->SetClientWidth(500);
            form->SetClientHeight(330);
            if (std::string(how) == "Esc")
                Press(win::VK_ESCAPE);
            else if (std::string(how) == "Cancel button")
                Click(form->CancelButton, 10, 10);
            else
                form->Close();
        });
        EXPECT_FALSE(Dialog->Execute());
        EXPECT_EQ(Dialog->FileName(), Dir() / "c/a.mp3");
        EXPECT_EQ(Lines(Dialog->Files()), (Names{"kept"}));
        EXPECT_EQ(Dialog->FilterIndex, 2);
        EXPECT_EQ(Dialog->ListViewStyle, vcl::vsReport);
        EXPECT_EQ(Dialog->DialogWidth, 500);
        EXPECT_EQ(Dialog->DialogHeight, 330);
    }
    // The next Execute opens as the user left it.
    WhenShown([&](TbsOpenDlgForm* form) {
        EXPECT_EQ(form->FilterComboBox->ItemIndex(), 1);
        EXPECT_EQ(RowNames(form->FileListView), (Names{"b.wav"}));
        EXPECT_EQ(form->FileListView->ViewStyle(), vcl::vsReport);
        EXPECT_TRUE(form->ReportMenuItem->Checked());
        EXPECT_EQ(form->ClientWidth(), 500);
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
}

TEST_F(OpenDialogTest, BackWalksTheHistoryAndUpCounts) {
    Dir().MakeFolder("A/B/C");
    Dir().MakeFolder("A/D");
    Dialog->InitialDir = Dir() / "A";
    int changes = 0;
    vcl::TObject* shown = nullptr;
    Dialog->OnFolderChange = [&](vcl::TObject* s) {
        EXPECT_EQ(s, shown) << "the form is the Sender";
        ++changes;
    };
    WhenShown([&](TbsOpenDlgForm* form) {
        shown = form;
        auto path = [&] { return form->FileListView->Path(); };
        form->BackToolButton->Click();
        EXPECT_EQ(path(), Dir() / "A") << "one entry: nothing to go back to";
        DoubleClickRow(form, "B");
        DoubleClickRow(form, "C");
        EXPECT_EQ(path(), Dir() / "A/B/C");
        EXPECT_EQ(form->ShellBox->Text(), "C");
        form->BackToolButton->Click();
        EXPECT_EQ(path(), Dir() / "A/B");
        EXPECT_EQ(form->ShellBox->Text(), "B");
        form->BackToolButton->Click();
        EXPECT_EQ(path(), Dir() / "A");
        DoubleClickRow(form, "D");
        form->BackToolButton->Click();
        EXPECT_EQ(path(), Dir() / "A");
        // Up is a folder change like any other: Back returns below.
        DoubleClickRow(form, "B");
        form->UpToolButton->Click();
        EXPECT_EQ(path(), Dir() / "A");
        form->BackToolButton->Click();
        EXPECT_EQ(path(), Dir() / "A/B");
        EXPECT_GE(changes, 8) << "every folder change tells the owner";
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
}

TEST_F(OpenDialogTest, NewFolderNumbersFromTheSecondRequestAndStartsRenaming) {
    Dir().MakeFolder("n1");
    Dir().MakeFolder("n2/New Folder");
    const struct {
        const char* Folder;
        Names AfterFirst, AfterSecond;
    } cases[] = {
        {"n1", {"New Folder"}, {"New Folder", "New Folder(2)"}},
        {"n2", {"New Folder"}, {"New Folder", "New Folder(2)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Folder);
        Dialog->InitialDir = Dir() / c.Folder;
        WhenShown([&](TbsOpenDlgForm* form) {
            form->NewFolderToolButton->Click();
            EXPECT_EQ(FolderNames(Dir() / c.Folder), c.AfterFirst);
            EXPECT_EQ(form->FileListView->IsEditing(), std::string(c.Folder) == "n1");
            if (form->FileListView->IsEditing()) Key(win::VK_ESCAPE);
            form->NewFolderToolButton->Click();
            EXPECT_EQ(FolderNames(Dir() / c.Folder), c.AfterSecond);
            EXPECT_TRUE(form->FileListView->IsEditing());
            ASSERT_NE(form->FileListView->ItemFocused(), nullptr);
            Key(win::VK_ESCAPE);
            EXPECT_FALSE(form->FileListView->IsEditing());
            EXPECT_NE(Dialog->DlgFrm(), nullptr) << "Esc ends the renaming, not the dialog";
            Press(win::VK_ESCAPE);
        });
        EXPECT_FALSE(Dialog->Execute());
    }
    // Under 计算机 there is no folder to make one in.
    Dialog->InitialDir = Dir() / "n1";
    WhenShown([&](TbsOpenDlgForm* form) {
        form->FileListView->Back();
        while (!form->FileListView->Path().empty() && form->FileListView->Path().front() == '/')
            form->FileListView->Back();
        const int count = form->FileListView->FolderCount();
        form->NewFolderToolButton->Click();
        EXPECT_EQ(form->NewFolderCount(), 0);
        EXPECT_EQ(form->FileListView->FolderCount(), count);
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute());
}

// Run as root (as in CI), the case first drops to an unprivileged user in a child process so
// the folder really is read-only; it is never skipped.
TEST_F(OpenDialogTest, ReadOnlyFolderShowsTheErrorBoxAndTheDialogStaysOpen) {
    Dir().MakeFolder("ro");
    chmod(Dir().Path().c_str(), 0755);
    chmod((Dir() / "app").c_str(), 0755);
    chmod((Dir() / "ro").c_str(), 0555);
    Dialog->InitialDir = Dir() / "ro";
    EXPECT_EXIT(
        {
            if (getuid() == 0 && setuid(65534) != 0) std::_Exit(3);
            std::string boxText;
            bool openAfter = false;
            WhenShown([&](TbsOpenDlgForm* form) {
                Screen->QueueIdleStep([&] {
                    const win::HWND box = win::GetActiveWindow();
                    boxText = win::GetWindowText(box);
                    Press(win::VK_RETURN);
                });
                Click(form->NewFolderToolButton, 5, 5);
                Run();
                openAfter = Dialog->DlgFrm() == form && form->ModalResult() == vcl::mrNone;
                Press(win::VK_ESCAPE);
            });
            const bool result = Dialog->Execute();
            const bool made = sys::DirectoryExists(Dir() / "ro/New Folder");
            std::_Exit(!result && openAfter && !boxText.empty() && !made &&
                               Screen->Beeps() == std::vector<unsigned>{win::MB_ICONHAND}
                           ? 0
                           : 5);
        },
        testing::ExitedWithCode(0), "");
    chmod((Dir() / "ro").c_str(), 0755);
}

TEST_F(OpenDialogTest, SaveModeNamesOneFileAndAsksAboutExactlyIt) {
    auto* save = new TSaveDialog(Form);
    save->Filter = "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|All|*.*";
    save->OverwritePromt = true;
    save->DefaultExt = "png";
    save->InitialDir = Dir() / "p";
    Dir().MakeFolder("p");
    WhenShown(save, [&](TbsOpenDlgForm* form) {
        EXPECT_EQ(form->OpenButton->Caption(), "&Save");
        // Switching the filter rewrites the typed extension; ".*" leaves it.
        form->FilterComboBox->SetItemIndex(1);
        Type(form, "photo.jpg");
        form->FilterComboBox->SetItemIndex(0);
        EXPECT_EQ(form->FileNameEdit->Text(), "photo.bmp");
        form->FilterComboBox->SetItemIndex(2);
        EXPECT_EQ(form->FileNameEdit->Text(), "photo.bmp");
        form->FilterComboBox->SetItemIndex(0);
        // A "*" name filters instead of saving.
        Type(form, "*.bmp");
        ClickOpen(form);
        EXPECT_EQ(form->ModalResult(), vcl::mrNone);
        Type(form, "photo");
        ClickOpen(form);
    });
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(save->FileName(), Dir() / "p/photo.bmp");

    // The existing target: the warning names it; Cancel keeps the dialog, OK takes it.
    Touch("p/photo.bmp");
    int asked = 0;
    WhenShown(save, [&](TbsOpenDlgForm* form) {
        for (int answer : {win::VK_ESCAPE, win::VK_RETURN}) {
            Screen->QueueIdleStep([&, answer] {
                ++asked;
                Press(answer);
            });
            Type(form, "photo");
            ClickOpen(form);
            if (answer == win::VK_ESCAPE) {
                EXPECT_EQ(form->ModalResult(), vcl::mrNone);
                EXPECT_EQ(form->FileNameEdit->Text(), "photo");
            }
        }
    });
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(save->FileName(), Dir() / "p/photo.bmp");

    // Without a filter extension DefaultExt gives the one name.
    save->FilterIndex = 3;
    Touch("p/pic.png");
    asked = 0;
    WhenShown(save, [&](TbsOpenDlgForm* form) {
        Screen->QueueIdleStep([&] {
            ++asked;
            Press(win::VK_RETURN);
        });
        Type(form, "pic");
        ClickOpen(form);
    });
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(save->FileName(), Dir() / "p/pic.png");
}

TEST_F(OpenDialogTest, AnExceptionStillClosesAndFreesTheForm) {
    bool closed = false;
    Dialog->OnClose = [&](vcl::TObject*) { closed = true; };
    Dialog->SetFileName(Dir() / "app/x.mp4");
    Dialog->DialogWidth = 480;
    Dialog->FilterIndex = 1;
    WhenShown([&](TbsOpenDlgForm*) { throw std::runtime_error("boom"); });
    EXPECT_ANY_THROW(Dialog->Execute());
    EXPECT_TRUE(closed);
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_EQ(Dialog->FileName(), Dir() / "app/x.mp4");
    EXPECT_EQ(Dialog->DialogWidth, 480);
}

// The default look and the first-start skin side by side, as the screen shows them; with the skin
// the dialog is at least the frame's minimum.
TEST_F(OpenDialogTest, TheDialogLooksAsReviewedWithoutAndWithASkin) {
    Dir().MakeFolder("look/Music");
    Dir().MakeFolder("look/Videos");
    for (const char* f : {"look/clip.mp4", "look/song.mp3", "look/voice.wav", "look/notes.txt"})
        Touch(f);
    test::TSheet sheet;
    int column = 0;
    for (bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skin" : "default");
        auto* dialog = new TbsSkinOpenDialog(Form);
        dialog->Filter = "Media (*.mp4;*.mp3;*.wav)|*.mp4;*.mp3;*.wav|All files|*.*";
        dialog->InitialDir = Dir() / "look";
        dialog->SetFileName("clip");
        dialog->ToolButtonsTransparent = true;
        if (skinned) {
            LoadStored(0);
            dialog->SetSkinData(Data);
            dialog->SetCtrlSkinData(Data);
        }
        WhenShown(dialog, [&](TbsOpenDlgForm* form) {
            if (skinned) {
                EXPECT_GE(form->ClientWidth(), std::max(450, form->BSF->GetMinWidth()));
                EXPECT_GE(form->ClientHeight(), std::max(290, form->BSF->GetMinHeight()));
            }
            EXPECT_FALSE(form->BackToolButton->Glyph().Empty()) << "the glyph is drawn";
            ClickRow(form, "song.mp3");
            MoveAway();
            Run();
            sheet.Add(0, column++, test::TSheet::ImageOf(Screen->CaptureWindow(form->Handle())));
            Press(win::VK_ESCAPE);
        });
        EXPECT_FALSE(dialog->Execute());
    }
    ASSERT_EQ(column, 2) << "both dialogs were shown";
    test::ExpectSheetMatches(sheet.Compose(), "open_dialog");
}

}  // namespace
}  // namespace skin
