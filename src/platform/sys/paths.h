// The program folder and the user's folders.
//
// Read from the environment at each call, so tests can redirect them. Safe from any thread.
#pragma once

#include <string>

namespace sys {

// The folder of the running executable with a trailing "/"; MORADEX_APPDIR, when set, overrides
// it (tests, packaging).
std::string GetAppPath();
// $HOME, else the password database's entry; no trailing "/".
std::string HomeDir();
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; no trailing "/".
std::string ConfigHome();
// The desktop folder: XDG_DESKTOP_DIR of user-dirs.dirs in ConfigHome(), else ~/Desktop, when it
// exists; otherwise the home folder. No trailing "/".
std::string DesktopDir();

// The user's other well-known folders.
enum class TUserDir { Documents, Download, Music, Pictures, Videos, Templates };
// XDG_<NAME>_DIR of user-dirs.dirs in ConfigHome(), else ~/<English default name>, when that
// folder exists and is not the home folder itself; otherwise "". No trailing "/".
std::string UserDir(TUserDir dir);

}  // namespace sys
