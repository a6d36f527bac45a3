// dialog_check [--show] SCRIPT [SHOT-FOLDER]: runs one skinned dialog over one script and prints
// the outcome (result, then the dialog's Directory, FileName, Files, FilterIndex as it has them),
// paths under the fixture home written "~/...".
//
// The script's "@" lines set the scene, the others are player steps (support/dialog_script.h):
//   @dialog KIND          the dialog to run: folder, open, picture, savepicture
//   @folder PATH          a folder made in the fixture home (PATH relative to it)
//   @file PATH            a small file made there
//   @set NAME VALUE       a property of the dialog before Execute
//   @skin N               stored skin N as SkinData and CtrlSkinData (none by default)
// "~/" in a step or a value stands for the fixture home. Without --show the dialog runs on the
// headless screen with the virtual clock and the steps drive it; with --show (DISPLAY set) it
// is shown for a person to try, the steps ignored.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/shell/namespace.h"
#include "platform/sys/env.h"
#include "platform/vcl/vcl.h"
#include "platform/win/backend.h"
#include "platform/win/headless.h"
#include "platform/win/win.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_package.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/picture_dialogs.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/packages/stored_skins.h"
#include "support/dialog_script.h"
#include "support/temp_dir.h"

namespace {

struct TUsage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

bool Truth(const std::string& name, const std::string& value) {
    if (value == "true") return true;
    if (value == "false") return false;
    throw TUsage("@set " + name + ": \"" + value + "\" is neither true nor false");
}

// One kind of dialog as the program runs it.
class TDialogRun {
public:
    virtual ~TDialogRun() = default;
    virtual void Set(const std::string& name, const std::string& value) = 0;
    virtual void SetSkin(skin::TbsSkinData* data) = 0;
    virtual bool Execute() = 0;
    // The dialog's window while it runs, else null.
    virtual win::HWND Window() const = 0;
    // Everything after the result line.
    virtual void Print(std::ostream& out, const std::string& home) const = 0;
};

std::string Shown(const std::string& path, const std::string& home) {
    return path.rfind(home + "/", 0) == 0 ? "~" + path.substr(home.size()) : path;
}

// What every dialog component runs alike: its skin, its Execute and its form's window.
template <class TDialog>
class TComponentRun : public TDialogRun {
public:
    explicit TComponentRun(TDialog* dialog) : FDialog(dialog) {}
    void SetSkin(skin::TbsSkinData* data) override {
        FDialog->SetSkinData(data);
        FDialog->SetCtrlSkinData(data);
    }
    bool Execute() override { return FDialog->Execute(); }
    win::HWND Window() const override {
        return FDialog->DlgFrm() ? FDialog->DlgFrm()->Handle() : win::HWND{};
    }

protected:
    TDialog* FDialog;  // owned by the application
};

class TFolderRun : public TComponentRun<skin::TbsSkinSelectDirectoryDialog> {
public:
    TFolderRun() : TComponentRun(new skin::TbsSkinSelectDirectoryDialog(vcl::Application)) {}
    void Set(const std::string& name, const std::string& value) override {
        if (name == "Directory")
            FDialog->Directory = value;
        else if (name == "Title")
            FDialog->Title = value;
        else if (name == "ShowToolBar")
            FDialog->ShowToolBar = Truth(name, value);
        else if (name == "DialogWidth")
            FDialog->DialogWidth = std::stoi(value);
        else if (name == "DialogHeight")
            FDialog->DialogHeight = std::stoi(value);
        else
            throw TUsage("@set: the folder dialog has no property " + name);
    }
    void Print(std::ostream& out, const std::string& home) const override {
        out << "Directory: " << Shown(FDialog->Directory, home) << "\n";
    }
};

// The file dialogs: the open dialog and (with their own properties) the picture dialogs.
class TFileRun : public TComponentRun<skin::TbsSkinOpenDialog> {
public:
    explicit TFileRun(skin::TbsSkinOpenDialog* dialog) : TComponentRun(dialog) {}
    void Set(const std::string& name, const std::string& value) override {
        if (name == "FileName")
            FDialog->SetFileName(value);
        else if (name == "Title")
            FDialog->Title = value;
        else if (name == "Filter")
            FDialog->Filter = value;
        else if (name == "FilterIndex")
            FDialog->FilterIndex = std::stoi(value);
        else if (name == "InitialDir")
            FDialog->InitialDir = value;
        else if (name == "DefaultExt")
            FDialog->DefaultExt = value;
        else if (name == "MultiSelection")
            FDialog->MultiSelection = Truth(name, value);
        else if (name == "CheckFileExists")
            FDialog->CheckFileExists = Truth(name, value);
        else if (name == "OverwritePromt")
            FDialog->OverwritePromt = Truth(name, value);
        else if (name == "DialogWidth")
            FDialog->DialogWidth = std::stoi(value);
        else if (name == "DialogHeight")
            FDialog->DialogHeight = std::stoi(value);
        else
            throw TUsage("@set: the file dialog has no property " + name);
    }
    void Print(std::ostream& out, const std::string& home) const override {
        out << "FileName: " << Shown(FDialog->FileName(), home) << "\nFiles: [";
        for (int i = 0; i < FDialog->Files().Count(); ++i)
            out << (i ? ", " : "") << Shown(FDialog->Files()[i], home);
        out << "]\nFilterIndex: " << FDialog->FilterIndex << "\n";
    }
};

class TPictureRun : public TFileRun {
public:
    explicit TPictureRun(skin::TbsSkinOpenPictureDialog* dialog)
        : TFileRun(dialog), FPicture(dialog) {}
    void Set(const std::string& name, const std::string& value) override {
        if (name == "StretchPicture")
            FPicture->StretchPicture = Truth(name, value);
        else if (name == "ImagePanelWidth")
            FPicture->ImagePanelWidth = std::stoi(value);
        else
            TFileRun::Set(name, value);
    }

private:
    skin::TbsSkinOpenPictureDialog* FPicture;
};

std::unique_ptr<TDialogRun> MakeRun(const std::string& kind) {
    if (kind == "picture")
        return std::make_unique<TPictureRun>(new skin::TbsSkinOpenPictureDialog(vcl::Application));
    if (kind == "savepicture")
        return std::make_unique<TPictureRun>(new skin::TbsSkinSavePictureDialog(vcl::Application));
    if (kind == "folder") return std::make_unique<TFolderRun>();
    if (kind == "open")
        return std::make_unique<TFileRun>(new skin::TbsSkinOpenDialog(vcl::Application));
    throw TUsage("@dialog: no dialog is called \"" + kind + "\"");
}

struct TScript {
    std::string Dialog;
    std::vector<std::string> Folders, Files;
    std::vector<std::pair<std::string, std::string>> Sets;
    int Skin = -1;
    std::string Steps;  // the player's lines, "@" lines blanked so line numbers hold
};

TScript ReadScript(const std::string& text, const std::string& home) {
    TScript script;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = Replace(line, "~/", home + "/");
        if (line.rfind('@', 0) != 0) {
            script.Steps += line + "\n";
            continue;
        }
        script.Steps += "\n";
        std::istringstream words(line.substr(1));
        std::string verb, arg;
        words >> verb >> arg;
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
        if (verb == "dialog")
            script.Dialog = arg;
        else if (verb == "folder")
            script.Folders.push_back(arg);
        else if (verb == "file")
            script.Files.push_back(arg);
        else if (verb == "set")
            script.Sets.emplace_back(arg, rest);
        else if (verb == "skin")
            script.Skin = std::stoi(arg);
        else
            throw TUsage("no scene line is called @" + verb);
    }
    if (script.Dialog.empty()) throw TUsage("the script names no @dialog");
    return script;
}

skin::TbsSkinData* StoredSkin(int index) {
    auto* data = new skin::TbsSkinData(vcl::Application);
    auto* list = new skin::TbsCompressedSkinList(vcl::Application);
    skin::AddStoredSkins(*list, {&skin::ChooserSkinPackages()[std::size_t(index)], 1});
    data->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    list->Free();
    return data;
}

int Run(bool show, const std::string& scriptFile, const std::string& shotFolder) {
    std::ifstream in(scriptFile, std::ios::binary);
    if (!in) throw TUsage("cannot read " + scriptFile);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    testsupport::TTempDir fixture;
    const std::string home = fixture / "home";
    fixture.MakeFolder("home/Desktop");
    sys::SetEnv("HOME", home);
    sys::SetEnv("XDG_CONFIG_HOME", home + "/.config");
    shell::SetVolumeSource([] {
        return std::vector<shell::TVolume>{{"/", "ROOT", shell::TVolumeKind::Fixed, ""}};
    });
    const TScript script = ReadScript(text, home);
    for (const std::string& f : script.Folders) fixture.MakeFolder("home/" + f);
    for (const std::string& f : script.Files) {
        const std::size_t slash = f.rfind('/');
        if (slash != std::string::npos) fixture.MakeFolder("home/" + f.substr(0, slash));
        fixture.Touch("home/" + f, "moradex");
    }

    sys::TManualClock clock{1'000'000'000};
    win::THeadlessBackend* screen = nullptr;
    if (show) {
        if (sys::GetEnv("DISPLAY").empty())
            throw TUsage("--show needs a display (DISPLAY is not set)");
        win::Initialize(win::CreateDefaultBackend());
    } else {
        sys::SetClock(&clock);
        win::THeadlessConfig config;
        config.DryWaitLimitMs = 120'000;  // a script that stalls fails instead of hanging
        auto backend = std::make_unique<win::THeadlessBackend>(config);
        screen = backend.get();
        win::Initialize(std::move(backend));
    }
    vcl::InitializeApplication();
    int code = 0;
    try {
        std::unique_ptr<TDialogRun> run = MakeRun(script.Dialog);
        for (const auto& [name, value] : script.Sets) run->Set(name, value);
        if (script.Skin >= 0) run->SetSkin(StoredSkin(script.Skin));
        std::unique_ptr<testsupport::TDialogPlayer> player;
        if (screen) {
            player = std::make_unique<testsupport::TDialogPlayer>(
                *screen, clock, [&run] { return run->Window(); }, shotFolder);
            player->Queue(testsupport::ParseDialogScript(script.Steps));
        }
        const bool result = run->Execute();
        if (player && !player->Finished())
            throw std::runtime_error("the dialog closed before the script's last step");
        std::cout << "result: " << (result ? "True" : "False") << "\n";
        run->Print(std::cout, home);
    } catch (const std::exception& e) {
        std::cout << "error: " << e.what() << "\n";
        code = 1;
    }
    vcl::FinalizeApplication();
    win::Finalize();
    sys::SetClock(nullptr);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool show = !args.empty() && args.front() == "--show";
    if (show) args.erase(args.begin());
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: dialog_check [--show] SCRIPT [SHOT-FOLDER]\n");
        return 2;
    }
    try {
        return Run(show, args[0], args.size() > 1 ? args[1] : ".");
    } catch (const TUsage& e) {
        std::fprintf(stderr, "dialog_check: %s\n", e.what());
        return 2;
    }
}
