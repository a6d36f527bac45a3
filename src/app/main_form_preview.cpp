// The main window's preview pane and snapshots: opening the selected file in the player over
// Panel6, the seek bar, play, pause, stop and mute, the player's events, and the snapshot
// button, its settings menu and the keyboard-only capture command.
#include <sstream>

#include "app/app_pictures.h"
#include "app/app_services.h"
#include "app/main_form.h"
#include "app/snapshot_file.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/sys/launcher.h"
#include "platform/sys/paths.h"
#include "platform/vcl/messages.h"
#include "platform/win/video_host.h"
#include "platform/win/win.h"

namespace app {

namespace {

const char* StateName(media::TPlayState state) {
    switch (state) {
        case media::psPlay:
            return "Play";
        case media::psPause:
            return "Pause";
        case media::psResume:
            return "Resume";
        case media::psStep:
            return "Step";
        case media::psStop:
            return "Stop";
        case media::psEnd:
            return "End";
    }
    return "";
}

void FocusList(skin::TbsSkinListView* list) {
    if (list->CanFocus()) list->SetFocus();
}

}  // namespace

void TForm1::BuildPreviewPane() {
    bsSkinPopupMenu2 = new skin::TbsSkinPopupMenu(this);
    bsSkinPopupMenu2->SetName("bsSkinPopupMenu2");
    bsSkinPopupMenu2->SetSkinData(bsSkinData1);
    auto item = [this](vcl::TMenuItem* parent, const char* name, const char* caption) {
        auto* i = new vcl::TMenuItem(this);
        if (*name) i->SetName(name);
        i->SetCaption(caption);
        parent->Add(i);
        return i;
    };
    vcl::TMenuItem* root = bsSkinPopupMenu2->Items();
    MenuItem1 = item(root, "MenuItem1", "打开快照目录");
    MenuItem2 = item(root, "MenuItem2", "设置快照目录");
    item(root, "", "-");
    N27 = item(root, "N27", "快照保存类型");
    const struct {
        vcl::TMenuItem** Item;
        const char* Name;
        const char* Caption;
        const char* Type;
    } types[] = {{&BMP1, "BMP1", "BMP文件", "BMP"},
                 {&JPG1, "JPG1", "JPG文件", "JPG"},
                 {&GIF1, "GIF1", "GIF文件", "GIF"},
                 {&PNG1, "PNG1", "PNG文件", "PNG"}};
    for (const auto& t : types) {
        *t.Item = item(N27, t.Name, t.Caption);
        (*t.Item)->SetRadioItem(true);
        (*t.Item)->SetGroupIndex(1);
        const std::string type = t.Type;
        (*t.Item)->OnClick = [this, type](vcl::TObject*) { PictureTypeClick(type); };
    }
    BMP1->SetChecked(true);

    Button31 = MakeCommand("Button31", "打开播放视频", 390, [this] { Button31Click(); });

    FFPlayer->OnFileOpen = [this](media::TCustomPlayer*, int64_t duration, int frameWidth,
                                  int frameHeight, int& screenWidth, int& screenHeight) {
        FFPlayerFileOpen(duration, frameWidth, frameHeight, screenWidth, screenHeight);
    };
    FFPlayer->OnPosition = [this](media::TCustomPlayer*, int64_t pts) { FFPlayerPosition(pts); };
    FFPlayer->OnState = [this](media::TCustomPlayer*, media::TPlayState state) {
        FFPlayerState(state);
    };

    btnPreviewPlay->OnClick = [this](vcl::TObject*) { btnPreviewPlayClick(); };
    btnPreviewPause->OnClick = [this](vcl::TObject*) { btnPreviewPauseClick(); };
    btnPreviewStop->OnClick = [this](vcl::TObject*) { btnPreviewStopClick(); };
    btnMute->OnClick = [this](vcl::TObject*) { btnMuteClick(); };
    bsSkinButton20->OnClick = [this](vcl::TObject*) { bsSkinButton20Click(); };
    bsSkinButton1->OnClick = [this](vcl::TObject*) { bsSkinButton1Click(); };
    bsSkinButton23->OnClick = [this](vcl::TObject*) { bsSkinButton23Click(); };
    bsSkinButton23->OnMouseDown = [this](vcl::TObject*, vcl::TMouseButton button, vcl::TShiftState,
                                         int, int) { bsSkinButton23MouseDown(button); };
    bsSkinSlider1->OnMouseDown = [this](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int,
                                        int) { bsSkinSlider1MouseDown(); };
    bsSkinSlider1->OnMouseUp = [this](vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int,
                                      int) { bsSkinSlider1MouseUp(); };
    MenuItem1->OnClick = [this](vcl::TObject*) { MenuItem1Click(); };
    MenuItem2->OnClick = [this](vcl::TObject*) { MenuItem2Click(); };
    btnCapture->SetCaption("Capture");
    btnCapture->OnClick = [this](vcl::TObject*) { btnCaptureClick(); };
}

// --- Preview
// ---------------------------------------------------------------------------------------

vcl::TWinControl* TForm1::FindChildControlByName(const std::string& name) {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* w = dynamic_cast<vcl::TWinControl*>(Controls(i)); w && w->Name() == name)
            return w;
    return nullptr;
}

std::shared_ptr<const media::TProbedStreams> TForm1::ProbedStreamsOfSelection() {
    const vcl::TListItem* row = lvFiles->Selected();
    const TRowRecord* record = TTaskRows::Record(row);
    if (!record || record->Task < 0 || record->Task >= FFTasks->TasksCount() ||
        row->Caption() != T_Movie_PLayer_FileName)
        return nullptr;
    return FFTasks->GetTaskStreams(record->Task, 0);
}

void TForm1::Button31Click() {
    if (!FFPlayer->AVLibLoaded() && !FFPlayer->LoadAVLib(sys::GetAppPath() + "LibAV")) {
        Log(FFPlayer->LastErrMsg());
        return;
    }
    FScreenControl = FindChildControlByName(cboScreens->Text());
    FFPlayer->SetVideoDriver(media::vdDefault);
    FFPlayer->SetAudioDriver(media::adDefault);
    FFPlayer->SetProbedStreams(ProbedStreamsOfSelection());
    // The file opens on the player's read thread: a selection does not wait for it. The
    // probe text, the duration and the states reach the log in the same order once it is open.
    FFPlayer->BeginOpen(T_Movie_PLayer_FileName, Panel6->Handle(), chkOpenPaused->Checked(),
                        [this](bool opened) {
                            if (!opened) Log(FFPlayer->LastErrMsg());
                        });
}

void TForm1::FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight,
                              int& AScreenWidth, int& AScreenHeight) {
    std::istringstream info(FFPlayer->AVProbe().FileInfoText());
    for (std::string line; std::getline(info, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Log(line);
    }
    Log(rtl::Format("duration: %.2f, frame size: %dx%d", double(ADuration) / 1000000.0, AFrameWidth,
                    AFrameHeight));
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    } else {
        AScreenWidth = vcl::Screen->Width();
        AScreenHeight = vcl::Screen->Height();
    }
    FDuration = ADuration;
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->SetValue(0);
}

void TForm1::FFPlayerPosition(int64_t APTS) {
    if (bsSkinSlider1_down_UP != "UP") return;
    if (APTS >= 0 && FDuration > 0)
        bsSkinSlider1->SetValue(int(int64_t(bsSkinSlider1->MaxValue()) * APTS / FDuration));
}

void TForm1::FFPlayerState(media::TPlayState AState) {
    Log(StateName(AState));
    if (AState == media::psStop) {
        const win::HWND screen = FFPlayer->ScreenHandle();
        if (!screen) return;
        // A new file may already show its first picture: only an idle player's host is cleared.
        if (!FFPlayer->Playing())
            if (auto host = win::FindVideoHost(screen)) host->Clear();
        win::PostMessage(screen, vcl::CM_INVALIDATE, 0, 0);
        win::UpdateWindow(screen);
    } else if (AState == media::psEnd) {
        FFPlayer->Seek(int64_t(0), {media::sfAny}, false);
        FFPlayer->Pause();
    }
}

void TForm1::bsSkinSlider1MouseDown() {
    bsSkinSlider1_down_UP = "Down";
    FFPlayer->Pause();
}

void TForm1::bsSkinSlider1MouseUp() {
    FFPlayer->Pause();
    if (bsSkinSlider1->MaxValue() > 0)
        FFPlayer->Seek(FDuration * int64_t(bsSkinSlider1->Value()) / bsSkinSlider1->MaxValue(), {},
                       false);
    FFPlayer->Resume();
    bsSkinSlider1_down_UP = "UP";
}

void TForm1::btnPreviewPlayClick() {
    FFPlayer->Resume();
    FocusList(lvFiles);
}

void TForm1::btnPreviewPauseClick() {
    FFPlayer->Pause();
    FocusList(lvFiles);
}

void TForm1::btnPreviewStopClick() {
    if (lvFiles->ItemIndex() < 0) return;
    try {
        FFPlayer->Stop(true);
        if (!FFPlayer->Open(T_Movie_PLayer_FileName, Panel6->Handle(), chkOpenPaused->Checked()))
            Log(FFPlayer->LastErrMsg());
        FocusList(lvFiles);
    } catch (const std::exception&) {
        FFPlayer->Stop(true);
    }
}

void TForm1::btnMuteClick() {
    FFPlayer->SetMute(true);
    bsSkinButton20->SetVisible(true);
    btnMute->SetVisible(false);
}

void TForm1::bsSkinButton20Click() {
    FFPlayer->SetMute(false);
    btnMute->SetVisible(true);
    bsSkinButton20->SetVisible(false);
}

void TForm1::WndProc(vcl::TMessage& Message) {
    vcl::TForm::WndProc(Message);
    if ((Message.Msg == win::WM_WINDOWPOSCHANGING || Message.Msg == win::WM_WINDOWPOSCHANGED) &&
        FFPlayer)
        FFPlayer->UpdateScreenPosition();
}

// --- Snapshots
// -------------------------------------------------------------------------------------

vcl::TMenuItem* TForm1::PictureTypeItem(const std::string& type) {
    return type == "JPG" ? JPG1 : type == "GIF" ? GIF1 : type == "PNG" ? PNG1 : BMP1;
}

std::string TForm1::TickStoredPictureType() {
    const std::string type = Services().Settings.ReadPicture();
    PictureTypeItem(type)->SetChecked(true);
    return type;
}

void TForm1::bsSkinButton1Click() {
    gfx::TBitmap picture;
    picture.Assign(FFPlayer->CurrentFrame());
    const std::string folder = Services().Settings.ReadSnapshotDir();
    const std::string type = TickStoredPictureType();
    if (picture.Width() == 0) return;
    SavePictureAs(picture, type, NextSnapshotName(folder, T_Movie_PLayer_FileName, type));
}

void TForm1::bsSkinButton23MouseDown(vcl::TMouseButton Button) {
    if (Button != vcl::mbLeft) return;
    win::TPoint at;
    win::GetCursorPos(at);
    bsSkinPopupMenu2->Popup(at.X, at.Y);
}

void TForm1::bsSkinButton23Click() {
    TickStoredPictureType();
}

void TForm1::PictureTypeClick(const std::string& type) {
    Services().Settings.Write("SnapShot", "Picture", type);
    PictureTypeItem(type)->SetChecked(true);
}

void TForm1::MenuItem1Click() {
    sys::OpenDocument(Services().Settings.ReadSnapshotDir());
}

void TForm1::MenuItem2Click() {
    if (!Services().ChooseFolder) return;
    // Cancel writes nothing, whatever folder the shared dialog last held.
    const std::optional<std::string> folder = Services().ChooseFolder("选择输出目录", "");
    if (folder && sys::DirectoryExists(*folder))
        Services().Settings.Write("SnapShot", "Dir", *folder);
}

void TForm1::btnCaptureClick() {
    gfx::TBitmap picture;
    picture.Assign(FFPlayer->CurrentFrame());
    if (picture.Width() == 0 || !ExecuteSavePicture) return;
    const std::optional<std::string> fileName = ExecuteSavePicture();
    if (!fileName) return;
    const bool bitmap = rtl::LowerCase(sys::ExtractFileExt(*fileName)) == ".bmp";
    SavePictureAs(picture, bitmap ? "BMP" : "JPG", *fileName);
}

}  // namespace app
