// The program's start-up: the platform, the application and its four forms, then the loop.
#pragma once

#include <string>

namespace app {

// What start-up reports before the loop (a refused settings write, shown once).
struct TStartUpReport {
    std::string RefusedWrite;
};

// Decides where option.ini lives, makes the application's forms in order (main window, about
// box, options dialog, the never shown legacy settings dialog) and returns what start-up had to
// report. A refused settings write is told once in the run, in a skinned box (one from start-up
// once the forms exist), and the program goes on with the values in memory. The platform layer
// and the application object must exist.
TStartUpReport CreateForms();

// The title of the folder question that adds a folder's files; every other title goes to the
// dialog shared by the output and snapshot folders.
inline constexpr const char* kAddFolderTitle = "选择目录";

// The running program's folder chooser (Services().ChooseFolder): two skinned folder dialogs on
// the main window, skinned like it, each keeping the folder and size the user left. Form1 must
// exist; tests that keep their scripted chooser do not call it.
void InstallFolderChooser();

// The whole program: a display that is not set or cannot be opened prints the reason and gives 1
// at once (MORADEX_BACKEND=headless runs on the invisible screen instead); else the loop runs
// until the main window closes and gives 0.
int RunProgram();

// The loop and the end, once the forms exist: runs until the main window closes, by its close
// button or by SIGTERM, SIGINT or SIGHUP, which close it the same way (a second signal during
// that close ends the process at once); then frees the application and the window layer and
// gives 0.
int RunApplication();

}  // namespace app
