// option.ini: the program's few lasting settings, and the rules by which each key is read.
//
// Every read uses the default "Error"; a missing key, an empty value and "Error" all count as
// missing, and values compare exactly. A missing or unknown value has its default written back at
// once. Every access opens and closes the file, except the two several-key writes (the options
// defaults and OK), which go through one opening. Every write replaces the file whole (written
// beside it, synced, renamed over it), so a full disk leaves the old file as it was. A refused
// write raises rtl::EIniFileException "Unable to write to <path>", or goes to OnWriteRefused.
// Main thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace app {

// The settings file's place, decided once at start: beside the program when that folder is
// writable (a write replaces the file through a new one beside it), else
// $XDG_CONFIG_HOME/moradex/option.ini (the folder is made).
std::string ChooseSettingsPath();

// The default output and snapshot folders under the user's home.
std::string DefaultOutputFolder();
std::string DefaultSnapshotFolder();

// The Options section as the options dialog shows it.
struct TOptionsValues {
    std::string ThreadCount = "1";  // the thread-count list's text, "1" to "19"
    int AfterDone = 0;              // 0 open folder, 1 shut down, 2 sound, 3 nothing
    bool ShowPreview = false;
    int ThreadPriority = 3;  // 0 idle .. 3 normal
    int OverwriteFile = 1;   // 0 overwrite, 1 rename
};

class TSettingsFile {
public:
    explicit TSettingsFile(std::string path) : FPath(std::move(path)) {}

    const std::string& Path() const { return FPath; }

    // While set, a refused write calls this with the error's text and the operation goes on
    // with the value in memory (the running program sets it); unset, the error is raised.
    std::function<void(const std::string& message)> OnWriteRefused;
    bool Exists() const;

    // The stored text, or "" when missing (absent, empty or "Error").
    std::string Read(const std::string& section, const std::string& key) const;
    void Write(const std::string& section, const std::string& key, const std::string& value);

    // Options into the dialog: on a missing file the five defaults in one opening; otherwise
    // each key by itself with its fallback written back.
    TOptionsValues ReadOptions();
    // OK: the five keys in one opening, Thread_Count only while the multi-thread box is on.
    void WriteOptions(const TOptionsValues& values, bool multiThread);

    // The output folder (made when missing; a folder that cannot be made is still used). Any
    // failure ends in the default folder, made and written; that fallback's own write failure
    // leaves the default in memory and is raised.
    std::string ReadOutPath();
    // Written only when the folder exists.
    void WriteOutPath(const std::string& folder);

    // The skin index to give the skin data, if any: no file writes "0" and gives nothing; a
    // missing or non-integer value writes "0" and gives 0; any other integer is given as it is.
    std::optional<int> ReadSkin();
    void WriteSkin(int index);

    // The snapshot folder (made when missing) and picture type ("BMP", "JPG", "GIF", "PNG").
    std::string ReadSnapshotDir();
    std::string ReadPicture();

private:
    void Guarded(const std::function<void()>& write);

    std::string FPath;
};

// A stored folder that is not an absolute path (a file from another system, a relative path) or
// not well-formed UTF-8 free of control characters (damaged bytes) counts as missing.
bool IsUsableFolderText(const std::string& text);

}  // namespace app
