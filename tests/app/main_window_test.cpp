// Start-up and the main window: the first start's file, dialog and lists; the options dialog's
// OK, Cancel and live-preview box; the output folder; the skin chooser; menus, help, about box,
// exit and close.
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "catalogue/choice_lists.h"
#include "platform/sys/files.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/frame_objects.h"
#include "skin/lists/list_box.h"
#include "skin/menus/skin_hint.h"

namespace app::test {
namespace {

TEST_F(TAppTest, AFirstStartWritesTheDefaultsAndFillsTheWindow) {
    Start();
    EXPECT_EQ(testsupport::ReadFile(SettingsPath()),
              "[OutPath]\r\nOutPath=" + home.Path() +
                  "/Zorvani视频软件/输出\r\n"
                  "[Skin]\r\nSetSkin=0\r\n"
                  "[Options]\r\nThread_Count=0\r\nAfter_Done=0\r\nThread_Priority=3\r\n"
                  "Overwrite_File=1\r\nShow_Preview=0\r\n");
    EXPECT_TRUE(sys::DirectoryExists(home.Path() + "/Zorvani视频软件/输出"));
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 0);
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), home.Path() + "/Zorvani视频软件/输出");
    EXPECT_EQ(Form1->FileOutPutPath, home.Path() + "/Zorvani视频软件/输出");
    EXPECT_TRUE(report.RefusedWrite.empty());

    EXPECT_EQ(Form5->bsSkinComboBox2->Text(), "1");
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox1->Checked());
    EXPECT_EQ(Form5->bsSkinCheckRadioBox1->Caption(), "自动打开输出文件夹");
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox12->Checked());
    EXPECT_EQ(Form5->bsSkinCheckRadioBox12->Caption(), "正常优先级进行");
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox6->Checked());
    EXPECT_EQ(Form5->bsSkinCheckRadioBox6->Caption(), "自动重命名输出文件");
    EXPECT_FALSE(Form5->bsSkinCheckRadioBox8->Checked());
    EXPECT_FALSE(Form1->FFTasks->Preview());

    ASSERT_EQ(Form1->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Form1->bsSkinOfficeComboBox1->Items()[0]->Title(), "AVI - 音频视频交错格式(*.avi)");
    const catalogue::TPresetChoices* choices = catalogue::FindPresetChoices(100);
    ASSERT_NE(choices, nullptr);
    skin::TbsSkinComboBox* const lists[] = {Form1->bsSkinComboBox1,  Form1->bsSkinComboBox2,
                                            Form1->bsSkinComboBox9,  Form1->bsSkinComboBox3,
                                            Form1->bsSkinComboBox10, Form1->bsSkinComboBox4};
    for (int p = 0; p < catalogue::kPresetParamCount; ++p) {
        SCOPED_TRACE(lists[p]->Name());
        const catalogue::TPresetChoice& c = choices->Choices[std::size_t(p)];
        ASSERT_EQ(lists[p]->Items().Count(), int(c.List->Entries.size()));
        for (int i = 0; i < lists[p]->Items().Count(); ++i)
            EXPECT_EQ(lists[p]->Items().Get(i), c.List->Entries[std::size_t(i)]);
        EXPECT_EQ(lists[p]->ItemIndex(), c.DefaultIndex);
        EXPECT_TRUE(lists[p]->Enabled());
    }
    EXPECT_EQ(Form1->OO1[0].AudioLanguage, "kong");
    EXPECT_EQ(Form1->OO1[500].AudioLanguage, "kong");
    EXPECT_EQ(Form1->bsSkinSlider1_down_UP, "UP");
    EXPECT_EQ(Form1->cboScreens->Items()[0], "Panel6");
}

TEST_F(TAppTest, AStoredLivePreviewReachesTheTaskManagerAtStartUp) {
    testsupport::WriteFile(SettingsPath(),
                           "[Options]\r\nShow_Preview=1\r\n[Skin]\r\nSetSkin=7\r\n");
    Start();
    EXPECT_TRUE(Form1->FFTasks->Preview());
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox8->Checked());
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 7);
}

TEST_F(TAppTest, AnUnusableSkinIndexLeavesTheFormDataSkin) {
    const struct {
        const char* Stored;
        int Index;
        const char* After;
    } cases[] = {{"8", 1, "8"}, {"-1", 1, "-1"}, {"abc", 0, "0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Stored);
        testsupport::WriteFile(SettingsPath(),
                               std::string("[Skin]\r\nSetSkin=") + c.Stored + "\r\n");
        Start();
        EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), c.Index);
        EXPECT_EQ(Stored("Skin", "SetSkin"), c.After);
        for (vcl::TCustomForm* f :
             {static_cast<vcl::TCustomForm*>(Form6), static_cast<vcl::TCustomForm*>(Form5),
              static_cast<vcl::TCustomForm*>(Form2), static_cast<vcl::TCustomForm*>(Form1)})
            f->Free();
        Run();
    }
}

TEST_F(TAppTest, OptionsOkWritesCancelKeepsTheControlsAndThePreviewBoxActsAtOnce) {
    Start();
    const std::string before = testsupport::ReadFile(SettingsPath());
    Screen->QueueIdleStep([] {
        Form5->bsSkinCheckRadioBox9->SetChecked(true);
        Form5->bsSkinCheckRadioBox8->SetChecked(true);
        EXPECT_TRUE(Form1->FFTasks->Preview()) << "ticking the box acts at once";
        Form5->bsSkinButton1->ButtonClick();  // 取消
    });
    Form1->N24Click();
    EXPECT_EQ(testsupport::ReadFile(SettingsPath()), before) << "Cancel writes nothing";
    EXPECT_TRUE(Form5->bsSkinCheckRadioBox9->Checked()) << "the change stays in force";
    EXPECT_FALSE(Form5->bsSkinCheckRadioBox12->Checked());
    EXPECT_EQ(Form5->Values().ThreadPriority, 0);

    Screen->QueueIdleStep([] {
        Form5->bsSkinComboBox2->SetItemIndex(3);
        Form5->bsSkinCheckRadioBox5->SetChecked(true);
        Form5->bsSkinCheckRadioBox3->SetChecked(true);
        Form5->bsSkinButton6->ButtonClick();  // 确定
    });
    Form1->bsSkinButton19->ButtonClick();
    EXPECT_EQ(Stored("Options", "Thread_Count"), "4");
    EXPECT_EQ(Stored("Options", "After_Done"), "3");
    EXPECT_EQ(Stored("Options", "Show_Preview"), "1");
    EXPECT_EQ(Stored("Options", "Thread_Priority"), "0");
    EXPECT_EQ(Stored("Options", "Overwrite_File"), "0");
    EXPECT_FALSE(Form5->Visible());

    // The ten radio boxes draw from the skin's radio record, the two check boxes from its check
    // record.
    for (skin::TbsSkinCheckRadioBox* b :
         {Form5->bsSkinCheckRadioBox1, Form5->bsSkinCheckRadioBox2, Form5->bsSkinCheckRadioBox3,
          Form5->bsSkinCheckRadioBox4, Form5->bsSkinCheckRadioBox5, Form5->bsSkinCheckRadioBox6,
          Form5->bsSkinCheckRadioBox9, Form5->bsSkinCheckRadioBox10, Form5->bsSkinCheckRadioBox11,
          Form5->bsSkinCheckRadioBox12})
        EXPECT_EQ(b->SkinDataName(), "radiobox") << b->Name();
    EXPECT_EQ(Form5->bsSkinCheckRadioBox7->SkinDataName(), "checkbox");
    EXPECT_EQ(Form5->bsSkinCheckRadioBox8->SkinDataName(), "checkbox");

    // Esc closes the dialog as Cancel does, writing nothing.
    const std::string saved = testsupport::ReadFile(SettingsPath());
    bool closedByEsc = false;
    Screen->QueueIdleStep([this, &closedByEsc] {
        Form5->bsSkinComboBox2->SetItemIndex(1);
        Press(win::VK_ESCAPE);
        Run();
        closedByEsc = Form5->ModalResult() != vcl::mrNone;
        if (!closedByEsc) Form5->bsSkinButton1->ButtonClick();
    });
    Form1->N24Click();
    EXPECT_TRUE(closedByEsc);
    EXPECT_FALSE(Form5->Visible());
    EXPECT_EQ(testsupport::ReadFile(SettingsPath()), saved) << "Esc writes nothing";
}

// The main window's tool tips are the skin's: resting on a button with a hint shows the skinned
// hint window with that text, drawn from the skin's hint picture, in every skin.
TEST_F(TAppTest, AButtonsHintShowsInTheSkinnedHintWindowInEverySkin) {
    Start();
    ASSERT_EQ(skin::TbsSkinHint::InCharge(), Form1->bsSkinHint1);
    const std::pair<vcl::TControl*, std::string> buttons[] = {{Form1->btnPreviewPlay, "播放"},
                                                              {Form1->bsSkinButton1, "快照"},
                                                              {Form1->bsSkinButton23, "设置"}};
    for (int skinIndex = 0; skinIndex < 8; ++skinIndex) {
        Form1->bsSkinData1->SetSkinIndex(skinIndex);
        Run();
        const auto& [button, hint] = buttons[skinIndex % 3];
        SCOPED_TRACE("skin " + std::to_string(skinIndex) + " " + hint);
        vcl::Application->CancelHint();
        Screen->MouseMove(At(Form1->lvFiles, 100, 100));
        Run();
        Screen->MouseMove(At(button, 5, 5));
        Run();
        AdvanceMs(vcl::Application->HintPause);
        Run();
        auto* window = dynamic_cast<skin::TbsSkinHintWindow*>(vcl::Application->HintWindow());
        ASSERT_TRUE(window) << "the application's hint window is the skinned one";
        ASSERT_TRUE(window->HandleAllocated() && win::IsWindowVisible(window->Handle()));
        EXPECT_EQ(window->Caption(), hint);
        EXPECT_EQ(Form1->bsSkinHint1->HintSkinData(), Form1->bsSkinData1)
            << "drawn from the skin's hint picture";
        // Not the plain look: a shadow-coloured frame round an info-coloured face.
        const vcl::TRect r = window->BoundsRect();
        const bool plain =
            ScreenPixel(r.Left, r.Top) == (gfx::ColorToRGB(gfx::clBtnShadow) & 0xFFFFFF) &&
            ScreenPixel(r.Left + 1, r.Top + 1) == (gfx::ColorToRGB(gfx::clInfoBk) & 0xFFFFFF);
        EXPECT_FALSE(plain);
    }
}

TEST_F(TAppTest, TheOutputFolderFollowsTheChooserOnlyForAnExistingFolder) {
    Start();
    const std::string first = Form1->FileOutPutPath;
    const struct {
        const char* How;
        std::optional<std::string> Answer;
    } refusals[] = {{"cancel", std::nullopt}, {"missing", home.File("gone")}};
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.How);
        folderAnswer = r.Answer;
        Form1->bsSkinButton5->ButtonClick();
        EXPECT_EQ(Form1->FileOutPutPath, first);
        EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), first);
        EXPECT_EQ(Stored("OutPath", "OutPath"), first);
    }
    home.MakeFolder("chosen");
    folderAnswer = home.File("chosen");
    Form1->bsSkinButton5->ButtonClick();
    EXPECT_EQ(folderQuestions.back(), "选择输出目录");
    EXPECT_EQ(Form1->FileOutPutPath, home.File("chosen"));
    EXPECT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), home.File("chosen"));
    EXPECT_EQ(Stored("OutPath", "OutPath"), home.File("chosen"));
    EXPECT_EQ(Form1->ActiveControl(), Form1->lvFiles);

    Form1->bsSkinOfficeComboBox1->SetFocus();
    Form1->bsSkinButton6->ButtonClick();  // 打开
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], home.File("chosen"));
    EXPECT_EQ(Form1->ActiveControl(), Form1->lvFiles);
}

TEST_F(TAppTest, TheSkinChooserSwitchesOnOkAndWritesTheIndexEitherWay) {
    Start();
    auto ClickEntry = [this](skin::TbsSelectSkinDlgForm* form, int index) {
        skin::TbsListBox* list = form->SkinsListBox->ListBox;
        list->SetTopIndex(0);
        const vcl::TRect r = list->ItemRect(index);
        Screen->Click(list->ClientToScreen({r.Left + 10, r.Top + r.Height() / 2}));
        Run();
    };
    Screen->QueueIdleStep([this, ClickEntry] {
        auto* form = Form1->bsSelectSkinDialog1->DlgFrm();
        ASSERT_NE(form, nullptr);
        ClickEntry(form, 5);
        Press(win::VK_RETURN);
    });
    Form1->N23->Click();
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 5);
    EXPECT_EQ(Stored("Skin", "SetSkin"), "5");

    Screen->QueueIdleStep([this, ClickEntry] {
        auto* form = Form1->bsSelectSkinDialog1->DlgFrm();
        ASSERT_NE(form, nullptr);
        ClickEntry(form, 2);
        Press(win::VK_ESCAPE);
    });
    testsupport::WriteFile(SettingsPath(), "[Skin]\r\nSetSkin=6\r\n");
    Form1->N23->Click();
    EXPECT_EQ(Form1->bsSkinData1->SkinIndex(), 5);
    EXPECT_EQ(Stored("Skin", "SetSkin"), "5") << "Cancel writes the current index";
}

TEST_F(TAppTest, TheMenusHoldTheirItemsInOrderWithTheirStates) {
    Start();
    const std::vector<std::string> expected = {
        "文件: 添加一个文件 添加多个文件 添加整个目录 - 退出",
        "编辑: 上移文件 下移文件 - (删除选择) (清空文件) - (重新命名)",
        "动作: (开始转换) (停止转换) - (暂停转换) (继续继续)",
        "功能: 转换设置 软件皮肤",
        "帮助: 帮助系统 - 官方网站 关于软件",
    };
    std::vector<std::string> seen;
    vcl::TMenuItem* root = Form1->bsSkinMainMenu1->Items();
    for (int i = 0; i < root->Count(); ++i) {
        vcl::TMenuItem* top = root->Items(i);
        std::string line = top->Caption() + ":";
        for (int k = 0; k < top->Count(); ++k) {
            vcl::TMenuItem* item = top->Items(k);
            line += " " + (item->Enabled() ? item->Caption() : "(" + item->Caption() + ")");
        }
        seen.push_back(line);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(Form1->bsSkinButton9->Visible()) << "the tool bar's skin button stays hidden";
    EXPECT_FALSE(Form1->bsSkinButton2->Enabled());
    EXPECT_TRUE(Form1->bsSkinButton19->Enabled());
}

TEST_F(TAppTest, F1AnywhereOpensTheHelpPageAndTheSiteItemTheSite) {
    Start();
    for (vcl::TWinControl* focus : std::vector<vcl::TWinControl*>{
             Form1->bsSkinOfficeComboBox1, Form1->lvFiles, Form1->bsSkinComboBox3}) {
        SCOPED_TRACE(focus->Name());
        opened.clear();
        Form1->bsSkinPageControl1->SetActivePage(
            focus == Form1->bsSkinComboBox3 ? Form1->bsSkinTabSheet2 : Form1->bsSkinTabSheet1);
        Run();
        focus->SetFocus();
        Run();
        Press(win::VK_F1);
        Run();
        EXPECT_EQ(opened, std::vector<std::string>{"https://moradex.example/help.html"});
    }
    opened.clear();
    Form1->N19->Click();
    EXPECT_EQ(opened, std::vector<std::string>{"https://moradex.example/"});
}

TEST_F(TAppTest, TheAboutBoxShowsItsContentsAndOkReturnsTheFocusToTheFormatList) {
    Start();
    bool looked = false;
    Screen->QueueIdleStep([&] {
        looked = true;
        EXPECT_TRUE(Form2->Visible());
        EXPECT_EQ(Form2->Caption(), "关于软件");
        EXPECT_EQ(Form2->ClientWidth(), 340);
        EXPECT_EQ(Form2->ClientHeight(), 245);
        EXPECT_EQ(Form2->bsSkinStdLabel1->Caption(), "Moradex");
        EXPECT_EQ(Form2->bsSkinStdLabel2->Caption(), "版本:9.6.5.0");
        // The name large and the version bold: the labels draw in their own fonts.
        EXPECT_FALSE(Form2->bsSkinStdLabel1->UseSkinFont());
        EXPECT_EQ(Form2->bsSkinStdLabel1->Font().Size(), 20);
        EXPECT_FALSE(Form2->bsSkinStdLabel2->UseSkinFont());
        EXPECT_NE(Form2->bsSkinStdLabel2->Font().Style() & gfx::fsBold, 0u);
        EXPECT_EQ(Form2->bsSkinLinkLabel1->Caption(), "https://moradex.example/");
        EXPECT_EQ(Form2->Image1->Width(), 53);
        EXPECT_EQ(Form2->Image1->Height(), 55);
        Form2->bsSkinButton1->ButtonClick();
    });
    Form1->N5->Click();
    Run();
    EXPECT_TRUE(looked);
    EXPECT_FALSE(Form2->Visible());
    EXPECT_EQ(Form1->ActiveControl(), Form1->bsSkinOfficeComboBox1);
}

// The caption buttons the main window's frame shows, by command.
std::set<skin::TbsStdCommand> ShownCaptionButtons(const skin::TbsSkinForm* form) {
    std::set<skin::TbsStdCommand> shown;
    for (const auto& o : form->ObjectList)
        if (const auto* b = dynamic_cast<const skin::TbsSkinStdButtonObject*>(o.get()))
            if (b->Visible) shown.insert(b->Command);
    return shown;
}

// In every skin the main window's caption holds only minimize and close, at its right end; the
// places where the skin's other buttons (maximize, roll-up, tray, the system-menu icon) would
// sit are plain caption that a click does nothing on; minimize takes the program down and it
// comes back; close ends the program.
TEST_F(TAppTest, TheMainWindowsCaptionButtonsAreMinimizeAndCloseAndBothWork) {
    Start();
    skin::TbsSkinForm* sf = Form1->bsSkinForm1;
    auto click = [&](gfx::TPoint at) {
        Screen->MouseMove(at);
        AdvanceMs(50);
        Run();
        Screen->MouseDown(at);
        Screen->MouseUp(at);
        Run();
        Screen->MouseMove({at.X, at.Y + 300});  // off the caption, so the next click is fresh
        AdvanceMs(1000);                        // and no double click
        Run();
    };
    auto button = [&](skin::TbsStdCommand command) -> skin::TbsActiveSkinObject* {
        for (const auto& o : sf->ObjectList)
            if (auto* b = dynamic_cast<skin::TbsSkinStdButtonObject*>(o.get()))
                if (b->Command == command) return b;
        return nullptr;
    };
    auto onScreen = [&](const gfx::TRect& r) {
        return gfx::TPoint{Form1->Left() + (r.Left + r.Right) / 2,
                           Form1->Top() + (r.Top + r.Bottom) / 2};
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        Form1->bsSkinData1->SetSkinIndex(i);
        Run();
        EXPECT_EQ(ShownCaptionButtons(sf),
                  (std::set<skin::TbsStdCommand>{skin::cmClose, skin::cmMinimize}));
        skin::TbsActiveSkinObject* close = button(skin::cmClose);
        skin::TbsActiveSkinObject* minimize = button(skin::cmMinimize);
        ASSERT_TRUE(close && minimize);
        // The two sit side by side at the caption's end that the skin puts its buttons at.
        const gfx::TRect c = close->ObjectRect, m = minimize->ObjectRect;
        EXPECT_EQ(c.Top, m.Top);
        const bool left = sf->NewButtonsInLeft;
        EXPECT_LE(std::abs(left ? m.Left - c.Right : c.Left - m.Right), 4);
        EXPECT_LE(left ? c.Left : Form1->Width() - c.Right, 12);
        // Where the skin's left-out buttons would stand: five button widths on from the shown
        // pair, and the caption's other end (the system-menu icon's place).
        const int step = c.Width() + 2;
        std::vector<gfx::TPoint> empty;
        for (int k = 2; k < 5; ++k)
            empty.push_back(onScreen(left ? c.Offset(k * step, 0) : c.Offset(-k * step, 0)));
        empty.push_back(
            onScreen(left ? gfx::TRect{Form1->Width() - 24, c.Top, Form1->Width() - 6, c.Bottom}
                          : gfx::TRect{6, c.Top, 24, c.Bottom}));
        const gfx::TRect before = Form1->BoundsRect();
        for (const gfx::TPoint& p : empty) {
            click(p);
            EXPECT_EQ(sf->WindowState(), vcl::wsNormal);
            EXPECT_FALSE(sf->RollUpState());
            EXPECT_FALSE(win::IsIconic(Form1->Handle()));
            EXPECT_FALSE(sf->InMenu) << "no system menu";
            EXPECT_EQ(Form1->BoundsRect(), before);
            EXPECT_TRUE(Form1->Visible());
        }
        click(onScreen(m));
        EXPECT_TRUE(win::IsIconic(Form1->Handle())) << "minimize takes the program down";
        vcl::Application->Restore();
        Run();
        EXPECT_FALSE(win::IsIconic(Form1->Handle()));
        EXPECT_EQ(Form1->BoundsRect(), before);
        EXPECT_FALSE(vcl::Application->Terminated());
    }
    Form1->FFLogger->SetOnLog(
        [](const void*, sys::TThreadId, media::TLogLevel, const std::string&) {});
    click(onScreen(button(skin::cmClose)->ObjectRect));
    EXPECT_TRUE(vcl::Application->Terminated()) << "close ends the program";
    EXPECT_FALSE(Form1->FFLogger->OnLog()) << "the close handling ran";
}

// In every skin the options dialog and the message box show only the close button, the about
// box only roll-up and close; the about box's roll-up folds it to its caption and back, and a
// message box's close button closes the box.
TEST_F(TAppTest, TheDialogsShowOnlyTheCaptionButtonsTheirBorderIconsNameAndTheyWork) {
    Start();
    using TButtons = std::set<skin::TbsStdCommand>;
    auto clickButton = [&](skin::TbsSkinForm* sf, skin::TbsStdCommand command) {
        for (const auto& o : sf->ObjectList)
            if (auto* b = dynamic_cast<skin::TbsSkinStdButtonObject*>(o.get()))
                if (b->Command == command) {
                    const gfx::TPoint p{sf->FForm->Left() + b->ObjectRect.Left + 5,
                                        sf->FForm->Top() + b->ObjectRect.Top + 5};
                    Screen->MouseMove(p);
                    AdvanceMs(50);
                    Run();
                    Screen->MouseDown(p);
                    Screen->MouseUp(p);
                    Run();
                    Screen->MouseMove({p.X, p.Y + 300});
                    AdvanceMs(1000);
                    Run();
                    return;
                }
        ADD_FAILURE() << "no such button";
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        Form1->bsSkinData1->SetSkinIndex(i);
        Run();
        Form5->Show();
        Run();
        EXPECT_EQ(ShownCaptionButtons(Form5->bsSkinForm1), TButtons{skin::cmClose});
        Form5->Hide();
        Form2->Show();
        Run();
        EXPECT_EQ(ShownCaptionButtons(Form2->bsSkinForm1),
                  (TButtons{skin::cmClose, skin::cmRollUp}));
        const int height = Form2->Height();
        clickButton(Form2->bsSkinForm1, skin::cmRollUp);
        EXPECT_TRUE(Form2->bsSkinForm1->RollUpState());
        EXPECT_LT(Form2->Height(), height);
        clickButton(Form2->bsSkinForm1, skin::cmRollUp);
        EXPECT_FALSE(Form2->bsSkinForm1->RollUpState());
        EXPECT_EQ(Form2->Height(), height);
        clickButton(Form2->bsSkinForm1, skin::cmClose);
        EXPECT_FALSE(Form2->Visible());
        bool shown = false;
        Screen->QueueIdleStep([&] {
            Run();
            auto* box =
                dynamic_cast<skin::TbsMessageForm*>(vcl::FindControl(win::GetActiveWindow()));
            ASSERT_NE(box, nullptr);
            shown = true;
            EXPECT_EQ(ShownCaptionButtons(box->BSF), TButtons{skin::cmClose});
            clickButton(box->BSF, skin::cmClose);
        });
        Form1->bsSkinMessage1->MessageDlg("转换完成。", vcl::mtInformation, {vcl::mbOK}, 0);
        EXPECT_TRUE(shown);
        EXPECT_EQ(Screen->PendingIdleSteps(), 0) << "the box closed by its close button";
    }
}

TEST_F(TAppTest, ExitClosesTheMainWindowAndEndsTheProgram) {
    Start();
    Form1->FFLogger->SetOnLog(
        [](const void*, sys::TThreadId, media::TLogLevel, const std::string&) {});
    Form1->N4->Click();
    Run();
    EXPECT_TRUE(vcl::Application->Terminated());
    EXPECT_FALSE(Form1->FFLogger->OnLog()) << "the close handling ran";
}

}  // namespace
}  // namespace app::test

namespace app::test {
namespace {

TEST_F(TAppTest, EveryControlFindsItsRecordInEverySkin) {
    Start();
    std::set<std::string, std::less<>> missed, missedInLists;
    Form1->bsSkinData1->MissedNames = &missed;
    Form1->bsSkinData2->MissedNames = &missedInLists;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 0}) {
        Form1->bsSkinData1->SetSkinIndex(i);
        Run();
        Form1->RepaintAll();
        Run();
    }
    Form1->bsSkinData2->LoadCompressedStoredSkin(
        Form1->bsCompressedSkinList2->Skins().Items(0)->Skin());
    Run();
    Form1->bsSkinData1->MissedNames = nullptr;
    Form1->bsSkinData2->MissedNames = nullptr;
    EXPECT_TRUE(missed.empty()) << ::testing::PrintToString(missed);
    EXPECT_TRUE(missedInLists.empty()) << ::testing::PrintToString(missedInLists);
}

// A skin's frame sets the client area's size; what starts inside it must end inside it, or it
// runs under the frame (the tool bar did, by two pixels). The hidden commands lie outside.
TEST_F(TAppTest, TheWindowsPartsStayInsideTheClientAreaInEverySkin) {
    Start();
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        Form1->bsSkinData1->SetSkinIndex(i);
        Run();
        const int width = Form1->ClientWidth(), height = Form1->ClientHeight();
        for (int k = 0; k < Form1->ControlCount(); ++k) {
            vcl::TControl* c = Form1->Controls(k);
            if (!c->Visible() || c->Left() >= width || c->Top() >= height) continue;
            EXPECT_LE(c->Left() + c->Width(), width) << c->Name();
            EXPECT_LE(c->Top() + c->Height(), height) << c->Name();
        }
    }
}

}  // namespace
}  // namespace app::test

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/vcl/message_box.h"
#include "skin/dialogs/skin_message.h"

namespace app::test {
namespace {

// Nowhere to write: one box tells so, and start-up still gives a complete window. Root writes
// anywhere, so the start runs in a child process that first drops to an unprivileged user.
TEST_F(TAppTest, NowhereToWriteGivesOneBoxAndACompleteWindow) {
    chmod(home.Path().c_str(), 0777);
    chmod(program.Path().c_str(), 0555);
    home.MakeFolder("config");
    chmod((home.Path() + "/config").c_str(), 0555);
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        int bad = 0;
        Screen->QueueIdleStep([this] { Press(win::VK_RETURN); });
        Start();
        bad += Screen->PendingIdleSteps() != 0;  // the box came and went
        bad += report.RefusedWrite !=
               "Unable to write to " + home.Path() + "/config/moradex/option.ini";
        bad += Form1->bsSkinOfficeComboBox1->Items().Count() != 15;
        bad += Form1->bsSkinOfficeComboBox1->ItemIndex() != 0;
        for (skin::TbsSkinComboBox* list :
             {Form1->bsSkinComboBox1, Form1->bsSkinComboBox2, Form1->bsSkinComboBox9,
              Form1->bsSkinComboBox3, Form1->bsSkinComboBox10, Form1->bsSkinComboBox4})
            bad += list->Items().Count() == 0 || list->ItemIndex() < 0;
        bad += Form1->FileOutPutPath != DefaultOutputFolder();
        bad += Form1->bsSkinData1->SkinIndex() != 1;  // no file: the form data's skin stays
        bad += Form5->bsSkinComboBox2->Text() != "1";
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    chmod(program.Path().c_str(), 0755);
    chmod((home.Path() + "/config").c_str(), 0755);
}

// Settings that cannot be saved after start-up (the disk is full: here the process may not make
// a file larger than it was): the first refused save is told in a skinned box, later ones in
// the same run are not, the old file stays as it was, and the window goes on with its choices.
TEST_F(TAppTest, ARefusedSaveIsToldOnceInARun) {
    Start();
    const std::string before = testsupport::ReadFile(SettingsPath());
    home.MakeFolder("a much longer name for the output folder");
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size(), before.size()};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(100);
        int bad = 0;
        std::vector<std::string> boxes;
        for (int i = 0; i < 2; ++i)
            Screen->QueueIdleStep([this, &boxes] {
                const win::HWND box = win::GetActiveWindow();
                if (auto* skinned = dynamic_cast<skin::TbsMessageForm*>(vcl::FindControl(box)))
                    boxes.push_back(skinned->Message->Caption());
                else
                    boxes.push_back("<not skinned> " + vcl::MessageBoxText(box));
                Press(win::VK_RETURN);
            });
        Form5->bsSkinComboBox2->SetItemIndex(18);  // "19" where "0" was stored
        Form5->Button2Click();
        Run();
        Form1->FileOutPutPath = home.File("a much longer name for the output folder");
        Form1->Button16Click();
        Run();
        bad += (boxes != std::vector<std::string>{"Unable to write to " + SettingsPath()}) << 0;
        bad += (Screen->PendingIdleSteps() != 1) << 1;
        bad += (testsupport::ReadFile(SettingsPath()) != before) << 2;
        bad += (Form5->bsSkinComboBox2->Text() != "19") << 3;
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bit 0: not one skinned box, 1: more boxes, 2: the file "
                                         "changed, 3: the choice was lost";
}

}  // namespace
}  // namespace app::test
