#include "platform/sys/paths.h"

#include <fstream>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "platform/sys/env.h"
#include "platform/sys/files.h"

namespace sys {

namespace {

std::string ExecutablePath() {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return "";
        if (static_cast<size_t>(length) < buffer.size()) return buffer.substr(0, length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string PasswordHome() {
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return "";
    return found->pw_dir;
}

// XDG_<NAME>_DIR="$HOME/Desktop" or ="/absolute/path", as xdg-user-dirs writes it.
std::string UserDirsEntry(const std::string& name) {
    std::ifstream file(ConfigHome() + "/user-dirs.dirs");
    const std::string key = "XDG_" + name + "_DIR=";
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        const std::string home = "$HOME";
        if (value.compare(0, home.size(), home) == 0) value = HomeDir() + value.substr(home.size());
        if (!value.empty() && value.front() == kPathDelim) return value;
    }
    return "";
}

}  // namespace

std::string GetAppPath() {
    const std::string overridden = GetEnv("MORADEX_APPDIR");
    if (!overridden.empty()) return IncludeTrailingPathDelimiter(overridden);
    const std::string exe = ExecutablePath();
    if (!exe.empty()) return ExtractFilePath(exe);
    // Without /proc (a bare chroot) the current folder is the best remaining guess.
    return IncludeTrailingPathDelimiter(GetCurrentDir());
}

std::string HomeDir() {
    std::string home = GetEnv("HOME");
    if (home.empty()) home = PasswordHome();
    if (home.empty()) home = "/";
    return ExcludeTrailingPathDelimiter(home);
}

std::string ConfigHome() {
    const std::string config = GetEnv("XDG_CONFIG_HOME");
    // The XDG rules ignore a relative value.
    if (!config.empty() && config.front() == kPathDelim)
        return ExcludeTrailingPathDelimiter(config);
    return IncludeTrailingPathDelimiter(HomeDir()) + ".config";
}

std::string DesktopDir() {
    const std::string configured = UserDirsEntry("DESKTOP");
    if (!configured.empty() && DirectoryExists(configured))
        return ExcludeTrailingPathDelimiter(configured);
    const std::string desktop = IncludeTrailingPathDelimiter(HomeDir()) + "Desktop";
    if (DirectoryExists(desktop)) return desktop;
    return HomeDir();
}

std::string UserDir(TUserDir dir) {
    struct TEntry {
        const char* Key;
        const char* DefaultName;
    };
    static constexpr TEntry kEntries[] = {{"DOCUMENTS", "Documents"}, {"DOWNLOAD", "Downloads"},
                                          {"MUSIC", "Music"},         {"PICTURES", "Pictures"},
                                          {"VIDEOS", "Videos"},       {"TEMPLATES", "Templates"}};
    const TEntry& entry = kEntries[static_cast<int>(dir)];
    std::string path = UserDirsEntry(entry.Key);
    if (path.empty()) path = IncludeTrailingPathDelimiter(HomeDir()) + entry.DefaultName;
    path = ExcludeTrailingPathDelimiter(path);
    // xdg-user-dirs points a disabled folder at $HOME itself.
    if (path == HomeDir() || !DirectoryExists(path)) return "";
    return path;
}

}  // namespace sys
