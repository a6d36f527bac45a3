// What the application's forms reach outside themselves, in one place so tests replace it: the
// settings file, the folder chooser (until the skinned folder dialog exists) and the messages of
// start-up. Main thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/settings_file.h"

namespace skin {
class TbsSkinOpenDialog;
}

namespace app {

// Shows a folder dialog titled `title` opened at `start`; the chosen folder, or nothing on
// Cancel.
using TFolderChooser =
    std::function<std::optional<std::string>(const std::string& title, const std::string& start)>;

// Answers an open dialog in place of its Execute, as a user would: sets the dialog's FileName
// (SetFileName) and, for several files, its Files, and returns what Execute would.
using TOpenDialogResponder = std::function<bool(skin::TbsSkinOpenDialog& Dialog)>;

struct TAppServices {
    TSettingsFile Settings{std::string()};
    TFolderChooser ChooseFolder;
    // Set by tests; unset, the real dialog runs.
    TOpenDialogResponder AnswerOpenDialog;
    // The web site and its help page.
    std::string WebSite = "https://moradex.example/";
    std::string HelpPage = "https://moradex.example/help.html";
};

TAppServices& Services();

// The dialog's Execute, or the responder's answer when one is set.
bool ExecuteOpenDialog(skin::TbsSkinOpenDialog& Dialog);

}  // namespace app
