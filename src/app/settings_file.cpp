#include "app/settings_file.h"

#include <fstream>
#include <initializer_list>

#include "platform/rtl/exception.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/sys/paths.h"

namespace app {

namespace {

constexpr const char* kFileName = "option.ini";
constexpr const char* kFolder = "Zorvani视频软件";

bool IsOneOf(const std::string& value, std::initializer_list<const char*> texts) {
    for (const char* t : texts)
        if (value == t) return true;
    return false;
}

// Opening for append answers both "the file is writable" and "a new file can be made there";
// a file the probe made is removed again, so a first start still finds no file.
bool CanWrite(const std::string& path) {
    const bool existed = sys::FileExists(path);
    bool ok = false;
    {
        std::ofstream probe(path, std::ios::app | std::ios::binary);
        ok = probe.is_open();
    }
    if (ok && !existed) sys::DeleteFile(path);
    return ok;
}

}  // namespace

std::string ChooseSettingsPath() {
    const std::string beside = sys::GetAppPath() + kFileName;
    if (CanWrite(beside)) return beside;
    const std::string folder = sys::ConfigHome() + "/moradex";
    sys::ForceDirectories(folder);
    return folder + "/" + kFileName;
}

std::string DefaultOutputFolder() { return sys::HomeDir() + "/" + kFolder + "/输出"; }
std::string DefaultSnapshotFolder() { return sys::HomeDir() + "/" + kFolder + "/快照"; }

bool IsUsableFolderText(const std::string& text) { return !text.empty() && text[0] == '/'; }

bool TSettingsFile::Exists() const { return sys::FileExists(FPath); }

std::string TSettingsFile::Read(const std::string& section, const std::string& key) const {
    const std::string value = rtl::TIniFile(FPath).ReadString(section, key, "Error");
    return value == "Error" ? std::string() : value;
}

void TSettingsFile::Write(const std::string& section, const std::string& key,
                          const std::string& value) {
    try {
        rtl::TIniFile(FPath).WriteString(section, key, value);
    } catch (const rtl::EIniFileException& e) {
        if (!OnWriteRefused) throw;
        OnWriteRefused(e.what());
    }
}

TOptionsValues TSettingsFile::ReadOptions() {
    TOptionsValues values;
    if (!Exists()) {
        try {
            rtl::TMemIniFile ini(FPath);
            ini.WriteString("Options", "Thread_Count", "0");
            ini.WriteString("Options", "After_Done", "0");
            ini.WriteString("Options", "Show_Preview", "0");
            ini.WriteString("Options", "Thread_Priority", "3");
            ini.WriteString("Options", "Overwrite_File", "1");
            ini.UpdateFile();
        } catch (const rtl::EIniFileException& e) {
            if (!OnWriteRefused) throw;
            OnWriteRefused(e.what());
        }
        return values;
    }
    const std::string count = Read("Options", "Thread_Count");
    int n = 0;
    if (count.size() <= 2 && count.find_first_not_of("0123456789") == std::string::npos &&
        !count.empty() && count[0] != '0' && (n = std::stoi(count)) >= 1 && n <= 19)
        values.ThreadCount = count;
    else if (count != "0")
        Write("Options", "Thread_Count", "0");

    const std::string after = Read("Options", "After_Done");
    if (IsOneOf(after, {"0", "1", "2", "3"}))
        values.AfterDone = after[0] - '0';
    else
        Write("Options", "After_Done", "0");

    const std::string priority = Read("Options", "Thread_Priority");
    if (IsOneOf(priority, {"0", "1", "2", "3"}))
        values.ThreadPriority = priority[0] - '0';
    else
        Write("Options", "Thread_Priority", "3");

    const std::string overwrite = Read("Options", "Overwrite_File");
    if (IsOneOf(overwrite, {"0", "1"}))
        values.OverwriteFile = overwrite[0] - '0';
    else
        Write("Options", "Overwrite_File", "1");

    const std::string preview = Read("Options", "Show_Preview");
    if (IsOneOf(preview, {"0", "1"}))
        values.ShowPreview = preview == "1";
    else
        Write("Options", "Show_Preview", "0");
    return values;
}

void TSettingsFile::WriteOptions(const TOptionsValues& values, bool multiThread) {
    rtl::TMemIniFile ini(FPath);
    if (multiThread) ini.WriteString("Options", "Thread_Count", values.ThreadCount);
    ini.WriteString("Options", "After_Done", std::to_string(values.AfterDone));
    ini.WriteString("Options", "Show_Preview", values.ShowPreview ? "1" : "0");
    ini.WriteString("Options", "Thread_Priority", std::to_string(values.ThreadPriority));
    ini.WriteString("Options", "Overwrite_File", std::to_string(values.OverwriteFile));
    ini.UpdateFile();
}

std::string TSettingsFile::ReadOutPath() {
    const std::string fallback = DefaultOutputFolder();
    auto useDefault = [&] {
        if (!sys::DirectoryExists(fallback)) sys::ForceDirectories(fallback);
        Write("OutPath", "OutPath", fallback);
        return fallback;
    };
    try {
        if (!Exists()) return useDefault();
        const std::string folder = Read("OutPath", "OutPath");
        if (!IsUsableFolderText(folder)) return useDefault();
        if (!sys::DirectoryExists(folder)) sys::ForceDirectories(folder);
        return folder;
    } catch (const rtl::Exception&) {
        return useDefault();
    }
}

void TSettingsFile::WriteOutPath(const std::string& folder) {
    if (sys::DirectoryExists(folder)) Write("OutPath", "OutPath", folder);
}

std::optional<int> TSettingsFile::ReadSkin() {
    if (!Exists()) {
        Write("Skin", "SetSkin", "0");
        return std::nullopt;
    }
    const std::string text = Read("Skin", "SetSkin");
    int32_t index = 0;
    // A value that is no integer would stop start-up; it counts as missing instead.
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos ||
        !rtl::TryStrToInt(text, index)) {
        Write("Skin", "SetSkin", "0");
        return 0;
    }
    return index;
}

void TSettingsFile::WriteSkin(int index) { Write("Skin", "SetSkin", std::to_string(index)); }

std::string TSettingsFile::ReadSnapshotDir() {
    if (Exists()) {
        const std::string folder = Read("SnapShot", "Dir");
        if (IsUsableFolderText(folder)) {
            if (!sys::DirectoryExists(folder)) sys::ForceDirectories(folder);
            return folder;
        }
    }
    const std::string fallback = DefaultSnapshotFolder();
    if (!sys::DirectoryExists(fallback)) sys::ForceDirectories(fallback);
    Write("SnapShot", "Dir", fallback);
    return fallback;
}

std::string TSettingsFile::ReadPicture() {
    if (Exists()) {
        const std::string type = Read("SnapShot", "Picture");
        if (IsOneOf(type, {"BMP", "JPG", "GIF", "PNG"})) return type;
    }
    Write("SnapShot", "Picture", "BMP");
    return "BMP";
}

}  // namespace app
