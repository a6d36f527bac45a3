#include "app/program.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/about_form.h"
#include "app/app_services.h"
#include "app/legacy_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/sdl_sound.h"
#include "platform/sys/env.h"
#include "platform/sys/signals.h"
#include "platform/vcl/message_box.h"
#include "platform/vcl/vcl.h"
#include "platform/win/headless.h"
#include "platform/win/win.h"
#include "platform/win/x11_backend.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/dialogs/skin_message.h"

namespace app {

void InstallFolderChooser() {
    auto make = [](const char* name) {
        auto* dialog = new skin::TbsSkinSelectDirectoryDialog(Form1);
        dialog->SetName(name);
        dialog->SetSkinData(Form1->bsSkinData1);
        dialog->SetCtrlSkinData(Form1->bsSkinData1);
        return dialog;
    };
    // One dialog for adding a folder's files, one shared by the output and snapshot folders:
    // each opens where it was last left.
    auto* addFolder = make("bsSkinSelectDirectoryDialog1");
    auto* outputFolder = make("bsSkinSelectDirectoryDialog2");
    Services().ChooseFolder = [addFolder, outputFolder](
                                  const std::string& title,
                                  const std::string& start) -> std::optional<std::string> {
        auto* dialog = title == kAddFolderTitle ? addFolder : outputFolder;
        dialog->Title = title;
        if (!start.empty()) dialog->Directory = start;
        if (!dialog->Execute()) return std::nullopt;
        return dialog->Directory;
    };
}

namespace {

// The settings could not be saved: a skinned box says so, once in a run; the old file stays as it
// was and the program goes on with what it holds in memory.
void TellRefusedWrite(const std::string& message) {
    if (Form1 && Form1->bsSkinMessage1)
        Form1->bsSkinMessage1->MessageDlg2(message, vcl::Application->Title, vcl::mtWarning,
                                           {vcl::mbOK}, 0);
    else
        vcl::Application->MessageBox(message, vcl::Application->Title);
}

}  // namespace

TStartUpReport CreateForms() {
    TStartUpReport report;
    TSettingsFile& settings = Services().Settings;
    settings = TSettingsFile(ChooseSettingsPath());
    // Kept until start-up is over: the box needs the main window.
    auto told = std::make_shared<bool>(false);
    settings.OnWriteRefused = [&report](const std::string& message) {
        if (report.RefusedWrite.empty()) report.RefusedWrite = message;
    };
    vcl::Application->Title = "Moradex";
    vcl::Application->HelpFile = "help.chm";
    vcl::Application->CreateForm(Form1);
    vcl::Application->CreateForm(Form2);
    vcl::Application->CreateForm(Form5);
    vcl::Application->CreateForm(Form6);
    settings.OnWriteRefused = [told](const std::string& message) {
        if (*told) return;
        *told = true;
        TellRefusedWrite(message);
    };
    if (!report.RefusedWrite.empty()) settings.OnWriteRefused(report.RefusedWrite);
    return report;
}

int RunProgram() {
    std::unique_ptr<win::TBackend> backend;
    if (sys::GetEnv("MORADEX_BACKEND") == "headless") {
        backend = std::make_unique<win::THeadlessBackend>();
    } else {
        const std::string display = sys::GetEnv("DISPLAY");
        if (display.empty()) {
            std::fputs("Moradex needs an X display (DISPLAY is not set).\n", stderr);
            return 1;
        }
        // The layer's own choice would fall back to an invisible screen and run on unseen.
        std::string error;
        backend = win::TX11Backend::Open(display, &error);
        if (!backend) {
            std::fprintf(stderr, "Moradex: %s.\n", error.c_str());
            return 1;
        }
    }
    win::Initialize(std::move(backend));
    vcl::InitializeApplication();
    CreateForms();
    // Tests keep their own chooser and sound: only the running program gets the dialog and SDL.
    InstallFolderChooser();
    InstallSdlSound();
    return RunApplication();
}

int RunApplication() {
    // Asked to end by a signal, the program closes as its close button closes it.
    sys::HandleTerminationSignals([](int) {
        if (vcl::TCustomForm* main = vcl::Application->MainForm())
            main->Close();
        else
            vcl::Application->Terminate();
    });
    vcl::Application->Run();
    sys::RemoveTerminationSignals();
    // Before the forms go: their players may unload SDL.
    RemoveSdlSound();
    vcl::FinalizeApplication();
    win::Finalize();
    return 0;
}

}  // namespace app
