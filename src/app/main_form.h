// The main window: its components, built in code under the loading state with the names the
// other parts of the program use, its creation handler, activation focus and close handling.
// Commands of the add, edit, run and preview work have their controls, enabled states and menu
// items here; their handlers come with that work. Main thread only.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/task_rows.h"
#include "catalogue/choice_lists.h"
#include "catalogue/working_settings.h"
#include "media/libs/ff_logger.h"
#include "media/player/ff_player.h"
#include "media/tasks/ff_task_manager.h"
#include "media/tasks/option_records.h"
#include "platform/vcl/edits.h"
#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/list_box.h"
#include "platform/vcl/menus.h"
#include "platform/vcl/std_ctrls.h"
#include "skin/controls/bars.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/page_control.h"
#include "skin/controls/panels.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/slider.h"
#include "skin/controls/std_label.h"
#include "skin/controls/view_wrappers.h"
#include "skin/core/png_image_list.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_package.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/picture_dialogs.h"
#include "skin/dialogs/select_skin_dialog.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/skin_form.h"
#include "skin/lists/combo_box.h"
#include "skin/lists/office_combo_box.h"
#include "skin/lists/skin_edit.h"
#include "skin/menus/main_menu_bar.h"
#include "skin/menus/skin_hint.h"
#include "skin/menus/skin_menu.h"

namespace app {

class TForm1 : public vcl::TForm {
public:
    explicit TForm1(vcl::TComponent* AOwner);
    ~TForm1() override;

    // Non-visual.
    skin::TbsCompressedSkinList* bsCompressedSkinList1 = nullptr;  // the eight chooser skins
    skin::TbsCompressedSkinList* bsCompressedSkinList2 = nullptr;  // the lists' fixed skin
    skin::TbsSkinData* bsSkinData1 = nullptr;
    skin::TbsSkinData* bsSkinData2 = nullptr;
    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    skin::TbsSkinHint* bsSkinHint1 = nullptr;
    skin::TbsSkinMessage* bsSkinMessage1 = nullptr;
    skin::TbsSelectSkinDialog* bsSelectSkinDialog1 = nullptr;
    skin::TbsSkinPopupMenu* bsSkinPopupMenu1 = nullptr;
    skin::TbsPngImageList* bsPngImageList1 = nullptr;  // tool bar, 40 x 40
    skin::TbsPngImageList* bsPngImageList2 = nullptr;  // preview glyphs, 16 x 16
    std::unique_ptr<media::TFFTaskManager> FFTasks;
    std::unique_ptr<media::TFFLogger> FFLogger;
    std::unique_ptr<media::TFFPlayer> FFPlayer;

    // Menu bar.
    skin::TbsSkinMainMenu* bsSkinMainMenu1 = nullptr;
    skin::TbsSkinMainMenuBar* bsSkinMainMenuBar1 = nullptr;
    vcl::TMenuItem *N1 = nullptr, *N2 = nullptr, *N3 = nullptr, *N21 = nullptr, *N4 = nullptr;
    vcl::TMenuItem *N6 = nullptr, *N7 = nullptr, *N8 = nullptr, *N9 = nullptr, *N26 = nullptr;
    vcl::TMenuItem *N10 = nullptr, *N11 = nullptr, *N12 = nullptr, *N13 = nullptr;
    vcl::TMenuItem *N24 = nullptr, *N23 = nullptr, *N15 = nullptr, *N19 = nullptr, *N5 = nullptr;
    std::vector<vcl::TMenuItem*> TopMenus;  // 文件, 编辑, 动作, 功能, 帮助

    // Tool bar.
    skin::TbsSkinToolBar* bsSkinToolBar2 = nullptr;
    skin::TbsSkinMenuSpeedButton* bsSkinMenuSpeedButton1 = nullptr;
    skin::TbsSkinButton *bsSkinButton2 = nullptr, *bsSkinButton10 = nullptr,
                        *bsSkinButton11 = nullptr, *bsSkinButton12 = nullptr,
                        *bsSkinButton19 = nullptr, *bsSkinButton9 = nullptr;

    // Preview.
    skin::TbsSkinGroupBox* bsSkinGroupBox1 = nullptr;
    vcl::TPanel* Panel6 = nullptr;
    skin::TbsSkinSlider* bsSkinSlider1 = nullptr;
    skin::TbsSkinButton *btnPreviewPlay = nullptr, *btnPreviewPause = nullptr,
                        *btnPreviewStop = nullptr, *btnMute = nullptr, *bsSkinButton1 = nullptr;

    // Task list.
    skin::TbsSkinPanel* bsSkinPanel1 = nullptr;
    skin::TbsSkinListView* lvFiles = nullptr;
    skin::TbsSkinPanel* bsSkinPanel5 = nullptr;
    vcl::TImage* Image2 = nullptr;  // the logo on bsSkinPanel5
    skin::TbsSkinButton *bsSkinButton7 = nullptr, *bsSkinButton8 = nullptr,
                        *bsSkinButton3 = nullptr, *bsSkinButton4 = nullptr,
                        *bsSkinButton21 = nullptr;

    // Settings tabs.
    skin::TbsSkinPageControl* bsSkinPageControl1 = nullptr;
    skin::TbsSkinTabSheet *bsSkinTabSheet1 = nullptr, *bsSkinTabSheet2 = nullptr;
    skin::TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;  // categories
    skin::TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;  // formats
    skin::TbsSkinEdit* Video_OutPut_Folder_Edit = nullptr;
    skin::TbsSkinButton *bsSkinButton5 = nullptr, *bsSkinButton6 = nullptr;
    skin::TbsSkinComboBox *bsSkinComboBox1 = nullptr, *bsSkinComboBox2 = nullptr,
                          *bsSkinComboBox3 = nullptr, *bsSkinComboBox4 = nullptr,
                          *bsSkinComboBox9 = nullptr, *bsSkinComboBox10 = nullptr;

    // Outside the client area.
    vcl::TMemo* mmoLog = nullptr;
    vcl::TListBox* ListBox1 = nullptr;
    vcl::TCheckBox *chkThreadMode = nullptr, *chkOpenPaused = nullptr;
    vcl::TComboBox* cboScreens = nullptr;
    vcl::TButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr,
                 *Button6 = nullptr, *Button15 = nullptr, *Button16 = nullptr, *Button17 = nullptr,
                 *Button18 = nullptr, *Button21 = nullptr, *Button26 = nullptr, *Button27 = nullptr,
                 *btnCapture = nullptr;

    // State.
    catalogue::TWorkingSettings Work;
    std::array<media::TInputOptions, 501> IO1;
    std::array<media::TOutputOptions, 501> OO1;
    std::string FileOutPutPath;
    std::string T_Movie_PLayer_FileName;
    std::string bsSkinSlider1_down_UP;
    std::string OpenDialogFilter;

    // Handlers.
    void FormCreate();
    void FormActivate();
    void FormCloseQuery(bool& CanClose);
    void Button2Click();        // fill the format list
    void Button3Click();        // read the skin index
    void Button4Click();        // write the skin index
    void Button6Click();        // reset the working settings
    void Button15Click();       // free the option slots
    void Button16Click();       // write the output folder
    void Button17Click();       // read the output folder
    void Button18Click();       // fill the parameter lists
    void Button21Click();       // the open dialogs' filter
    void bsSkinButton5Click();  // 浏览...
    void bsSkinButton6Click();  // 打开
    void bsSkinButton9Click();  // skin chooser
    void N4Click();
    void N5Click();
    void N15Click();
    void N19Click();
    void N24Click();
    void Button1Click();
    void Video_OutPut_Folder_EditClick();
    // Appends a line to the log, keeping the last 10,000.
    void Log(const std::string& line);

    // Every skinned form of the program repainted.
    void RepaintAll();

    // Start-up leftovers.
    skin::TbsPngImageList* bsPngImageList4 = nullptr;  // category pictures, 48 x 48, by code
    skin::TbsPngImageList* bsPngImageList5 = nullptr;  // the same, 32 x 32, for the formats
    skin::TbsTrayIcon* bsTrayIcon1 = nullptr;          // disabled and hidden
    skin::TbsSkinSavePictureDialog* SavePictureDialog1 = nullptr;  // the snapshot's file
    void BuildStartUpLeftovers();
    void PrepareSavePictureDialog();  // creation step 7

    // Legacy settings dialog.
    // Working fields only its routines write; nothing reads them, Button6Click leaves them.
    int Video_TimeStart = 0;
    int Video_TimeLength = 0;

    // Open dialogs.
    skin::TbsSkinOpenDialog* OpenDialog1 = nullptr;  // one file
    skin::TbsSkinOpenDialog* OpenDialog2 = nullptr;  // several files
    // The open dialogs' filter text: 42 entries, "*.*" first.
    static std::string OpenDialogFilterText();
    void BuildOpenDialogs();

    // Adding and editing files.
    // The rows' records (slot, task); made on first use over lvFiles, IO1 and OO1.
    TTaskRows& Rows();
    std::unique_ptr<TTaskRows> FRows;
    vcl::TButton *btnAdd = nullptr, *Button8 = nullptr, *Button12 = nullptr, *Button5 = nullptr,
                 *Button13 = nullptr, *btnRemove = nullptr, *btnClear = nullptr;
    vcl::TEdit* edt = nullptr;  // the rename editor
    void BuildFileCommands();
    void btnAddClick();    // add one file
    void Button8Click();   // add several files
    void Button12Click();  // add a folder's files
    void N2222Click();
    void N21Click();
    void N3331Click();
    // Regular files (and links to them) of a folder, in the file system's order; nothing when
    // the folder does not exist.
    std::optional<std::vector<std::string>> GetFilenames(const std::string& FilePath,
                                                         const std::string& ExtMask);
    void Button5Click();   // the preset's defaults, written back into the selected row
    void Button13Click();  // the six lists into the working settings
    void bsSkinOfficeComboBox1Change();
    void ParameterListChange(int pair);  // pair 0..5 in OptionString order
    void lvFilesSelectItem();
    void lvFilesClick();
    void lvFilesDblClick();
    void btnRemoveClick();
    void btnClearClick();
    void bsSkinButton3Click();  // move up
    void bsSkinButton4Click();  // move down
    void Button27Click();
    void bsSkinButton21Click();  // rename
    void N26Click();
    void edtExit();
    // Delete, rename, clear and start with all their controls.
    void SetListCommandsEnabled(bool enabled);
    void Inform(const std::string& text);  // the "提示" information box
    std::string CurrentOptionString() const;
    int CurrentChoiceKey() const;
    std::string ChosenExtension() const;  // from the chosen format's title
    struct TParameterList {
        skin::TbsSkinComboBox* TForm1::*Box;
        catalogue::TPresetParam Param;
        TFileSubItem SubItem;
    };
    const std::array<TParameterList, 6>& ParameterLists() const;

    // Running the queue.
    vcl::TButton *btnStart = nullptr, *btnStop = nullptr, *btnPause = nullptr, *btnResume = nullptr,
                 *button28 = nullptr, *Button20 = nullptr, *Button22 = nullptr, *Button23 = nullptr,
                 *Button25 = nullptr, *Button29 = nullptr;
    // Makes the hidden run commands and binds the task manager's and the logger's events.
    void BuildRunCommands();
    void btnStartClick();
    void btnStopClick();
    void btnPauseClick();
    void btnResumeClick();
    void bsSkinButton2Click();   // 开始
    void bsSkinButton10Click();  // 停止
    void bsSkinButton11Click();  // 暂停
    void bsSkinButton12Click();  // 继续
    // Builds a task for every row it can; the number built. Rows left out are listed in one box.
    int button28Click();
    void Button20Click();  // open the output folder
    void Button22Click();  // lock the settings
    void Button23Click();  // unlock the settings
    void Button25Click();  // power off
    void Button29Click();  // the completion sound
    void FFTasksProgress(media::TCustomFFTaskManager* Sender, media::PProgressInfo AProgressInfo);
    // Any thread: hands a copy to the main thread, tagged with the run it belongs to.
    void FFTasksTerminate(media::TCustomFFTaskManager* Sender,
                          const media::TTerminateInfo& ATerminateInfo);
    // Main thread: one end report of run `run`; reports of another run, or once closing has
    // begun, are dropped.
    void TaskEnded(const media::TTerminateInfo& info, int run);
    void FFLoggerLog(const void* Sender, sys::TThreadId AThreadID, media::TLogLevel ALogLevel,
                     const std::string& ALogMsg);
    static std::string LogLine(sys::TThreadId threadId, media::TLogLevel level,
                               const std::string& msg);
    bool Running() const { return FRunning; }
    int RunNumber() const { return FRunNumber.load(); }

    std::atomic<int> FRunNumber{0};
    bool FRunning = false;   // from a start until its final report was handled
    bool FStopping = false;  // inside the stop handler
    bool FClosing = false;   // the window's close has begun
    // The user stopped the current run: it did not run to its end.
    bool FStopAsked = false;
    // Queued end reports hold a weak reference, so none runs on a freed window.
    std::shared_ptr<int> FAliveToken = std::make_shared<int>(0);

    // Preview pane and snapshots.
    skin::TbsSkinButton* bsSkinButton20 = nullptr;  // mute off, over btnMute
    skin::TbsSkinButton* bsSkinButton23 = nullptr;  // 设置
    skin::TbsSkinPopupMenu* bsSkinPopupMenu2 = nullptr;
    vcl::TMenuItem *MenuItem1 = nullptr, *MenuItem2 = nullptr, *N27 = nullptr;
    vcl::TMenuItem *BMP1 = nullptr, *JPG1 = nullptr, *GIF1 = nullptr, *PNG1 = nullptr;
    vcl::TButton* Button31 = nullptr;  // 打开播放视频
    int64_t FDuration = 0;
    vcl::TWinControl* FScreenControl = nullptr;
    // The save-picture dialog of btnCapture (filter SavePictureFilter, default extension "bmp",
    // overwrite prompt): the chosen file name, or nothing.
    static constexpr const char* SavePictureFilter =
        "Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg";
    std::function<std::optional<std::string>()> ExecuteSavePicture;
    void BuildPreviewPane();
    void Button31Click();
    // What the add found of the selected row's file when the preview is to open that file (its
    // task is there): the player then does not probe it again. Null otherwise.
    std::shared_ptr<const media::TProbedStreams> ProbedStreamsOfSelection();
    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(int64_t APTS);
    void FFPlayerState(media::TPlayState AState);
    void btnPreviewPlayClick();
    void btnPreviewPauseClick();
    void btnPreviewStopClick();
    void btnMuteClick();         // mute on
    void bsSkinButton20Click();  // mute off
    void bsSkinSlider1MouseDown();
    void bsSkinSlider1MouseUp();
    void WndProc(vcl::TMessage& Message) override;
    vcl::TWinControl* FindChildControlByName(const std::string& name);
    void bsSkinButton1Click();  // 快照
    void bsSkinButton23MouseDown(vcl::TMouseButton Button);
    void bsSkinButton23Click();
    void PictureTypeClick(const std::string& type);  // BMP1Click .. PNG1Click
    void MenuItem1Click();
    void MenuItem2Click();
    void btnCaptureClick();
    // Reads the stored picture type by the settings rule and ticks its menu item.
    std::string TickStoredPictureType();
    vcl::TMenuItem* PictureTypeItem(const std::string& type);

private:
    enum TAddKind { akOne, akMany, akFolder };
    enum TAddResult { arAdded, arSkipped, arStop };
    void LogMessage(const std::string& line);
    bool LibrariesReady();
    // The paths chosen in an open dialog, in its order; nothing on Cancel.
    std::optional<std::vector<std::string>> ChooseFiles(skin::TbsSkinOpenDialog& dialog);
    TAddResult AddOneFile(const std::string& F);
    void AddFiles(const std::vector<std::string>& files, TAddKind kind);
    void SelectLastRow();
    void ApplyDefaults(bool writeBack);
    void TakeOverList(catalogue::TPresetParam param, const std::string& text);
    void TakeListsIntoRow(vcl::TListItem* row);
    void MoveSelected(int step);
    void StartRename();
    void CancelRename();
    std::vector<std::string> FNotAdded;
    bool FAddListFull = false;
    std::string FDefaultsError;
    std::string FAddFolder;

private:
    // Clears the media objects' events, then stops the run and the preview, waiting for both.
    void StopMedia();
    void BuildImageLists();
    void BuildMenus();
    void BuildToolBar();
    void BuildPreview();
    void BuildTaskList();
    void BuildSettingsTabs();
    void BuildHidden();
    skin::TbsSkinButton* MakeButton(vcl::TWinControl* parent, const std::string& name,
                                    const std::string& caption, int left, int top, int width,
                                    int height);
    vcl::TButton* MakeCommand(const std::string& name, const std::string& caption, int top,
                              std::function<void()> handler);
    skin::TbsSkinComboBox* MakeParameterList(const std::string& name, const std::string& label,
                                             int column, int row);
};

extern TForm1* Form1;

}  // namespace app
