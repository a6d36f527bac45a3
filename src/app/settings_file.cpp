#include "app/settings_file.h"

#include <cstdint>
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

// A write replaces the file through a new one beside it, so the folder must take a new file; the
// probe file is removed again, so a first start still finds no file.
bool CanWrite(const std::string& path) {
    const std::string probe = path + ".probe";
    const bool existed = sys::FileExists(probe);
    bool ok = false;
    {
        std::ofstream file(probe, std::ios::app | std::ios::binary);
        ok = file.is_open();
    }
    if (ok && !existed) sys::DeleteFile(probe);
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

std::string DefaultOutputFolder() {
    return sys::HomeDir() + "/" + kFolder + "/输出";
}
std::string DefaultSnapshotFolder() {
    return sys::HomeDir() + "/" + kFolder + "/快照";
}

bool IsUsableFolderText(const std::string& text) {
    if (text.empty() || text[0] != '/') return false;
    // Well-formed UTF-8 without control characters: anything else is a damaged file, and a
    // folder made from it would land wherever its bytes happen to point.
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80                   ? 0
                          : lead >= 0xC2 && lead < 0xE0 ? 1
                          : lead >= 0xE0 && lead < 0xF0 ? 2
                          : lead >= 0xF0 && lead < 0xF5 ? 3
                                                        : -1;
        if (extra < 0) return false;
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= text.size()) return false;
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[extra] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        if (code < 0x20 || (code >= 0x7F && code < 0xA0)) return false;
        i += extra + 1;
    }
    return true;
}

bool TSettingsFile::Exists() const {
    return sys::FileExists(FPath);
}

std::string TSettingsFile::Read(const std::string& section, const std::string& key) const {
    const std::string value = rtl::TIniFile(FPath).ReadString(section, key, "Error");
    return value == "Error" ? std::string() : value;
}

void TSettingsFile::Guarded(const std::function<void()>& write) {
    try {
        write();
    } catch (const rtl::EIniFileException& e) {
        if (!OnWriteRefused) throw;
        OnWriteRefused(e.what());
    }
}

void TSettingsFile::Write(const std::string& section, const std::string& key,
                          const std::string& value) {
    Guarded([&] { rtl::TIniFile(FPath).WriteString(section, key, value); });
}

TOptionsValues TSettingsFile::ReadOptions() {
    TOptionsValues values;
    if (!Exists()) {
        Guarded([&] {
            rtl::TMemIniFile ini(FPath);
            ini.WriteString("Options", "Thread_Count", "0");
            ini.WriteString("Options", "After_Done", "0");
            ini.WriteString("Options", "Show_Preview", "0");
            ini.WriteString("Options", "Thread_Priority", "3");
            ini.WriteString("Options", "Overwrite_File", "1");
            ini.UpdateFile();
        });
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
    Guarded([&] {
        rtl::TMemIniFile ini(FPath);
        if (multiThread) ini.WriteString("Options", "Thread_Count", values.ThreadCount);
        ini.WriteString("Options", "After_Done", std::to_string(values.AfterDone));
        ini.WriteString("Options", "Show_Preview", values.ShowPreview ? "1" : "0");
        ini.WriteString("Options", "Thread_Priority", std::to_string(values.ThreadPriority));
        ini.WriteString("Options", "Overwrite_File", std::to_string(values.OverwriteFile));
        ini.UpdateFile();
    });
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

void TSettingsFile::WriteSkin(int index) {
    Write("Skin", "SetSkin", std::to_string(index));
}

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
