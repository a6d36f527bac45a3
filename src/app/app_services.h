// What the application's forms reach outside themselves, in one place so tests replace it: the
// settings file, the folder chooser (until the skinned folder dialog exists) and the messages of
// start-up. Main thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/settings_file.h"

namespace app {

// Shows a folder dialog titled `title` opened at `start`; the chosen folder, or nothing on
// Cancel.
using TFolderChooser =
    std::function<std::optional<std::string>(const std::string& title, const std::string& start)>;

struct TAppServices {
    TSettingsFile Settings{std::string()};
    TFolderChooser ChooseFolder;
    // The web site and its help page.
    std::string WebSite = "https://moradex.example/";
    std::string HelpPage = "https://moradex.example/help.html";
};

TAppServices& Services();

}  // namespace app
