// Hands a document or a web address to the desktop's default program ("xdg-open"), the way a
// link label or a help menu item opens what it names.
//
// The program is started from an argument vector (no shell sees the text), in a session of its
// own, and left to run: nothing waits for it and its outcome is not reported. Tests replace the
// opener with a recording one. Safe from any thread; replacing the opener is for tests, before
// anything opens.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sys {

using TDocumentOpener = std::function<void(const std::string& target)>;

// Opens target with the installed opener; the system's by default.
void OpenDocument(const std::string& target);
// Installs an opener and returns the previous one; an empty one puts the system's back.
TDocumentOpener SetDocumentOpener(TDocumentOpener opener);
// The system's opener: "xdg-open target", detached; a failure to start is not reported.
void SystemOpenDocument(const std::string& target);

// Starts argv[0] (looked up on PATH) with the given arguments, in a session of its own, its
// standard streams on /dev/null, and returns at once; a failure to start is not reported.
void LaunchDetached(const std::vector<std::string>& argv);

}  // namespace sys
