// Files, folders and file-name helpers.
//
// Names are UTF-8 byte strings and "/" is the only delimiter (":" and "\" are ordinary
// characters). Queries answer false / -1 / empty instead of raising. Safe from any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sys {

constexpr char kPathDelim = '/';

// A folder does not count as a file.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const std::string& path);
// Files only; false for a folder or a missing file.
bool DeleteFile(const std::string& path);
// Empty folders only.
bool RemoveDir(const std::string& path);
// False when newName exists already: a rename never replaces a file.
bool RenameFile(const std::string& oldName, const std::string& newName);
// -1 when the file is missing or is a folder.
int64_t FileSize(const std::string& path);
std::string GetCurrentDir();
// Makes `path` the process's current folder; on failure false, with the system's error number in
// *error when given.
bool SetCurrentDir(const std::string& path, int* error = nullptr);

// One entry of a folder. Hidden means a name starting with "."; read-only means this process
// may not write it.
struct TDirEntry {
    std::string Name;
    bool Directory = false;
    bool Hidden = false;
    bool ReadOnly = false;
};
// The entries of `path` in the order the file system gives them, without "." and "..". A
// symbolic link counts as what it points to. False (with the error number in *error) when the
// folder cannot be read.
bool ListDirectory(const std::string& path, std::vector<TDirEntry>& entries, int* error = nullptr);

// "/a/b/c.txt" -> "/a/b/"
std::string ExtractFilePath(const std::string& fileName);
// "/a/b/c.txt" -> "/a/b"; "/c.txt" -> "/"
std::string ExtractFileDir(const std::string& fileName);
// "/a/b/c.txt" -> "c.txt"
std::string ExtractFileName(const std::string& fileName);
// "/a/b/c.tar.gz" -> ".gz" (with the dot); "" when the name has no dot.
std::string ExtractFileExt(const std::string& fileName);
// Replaces the extension, or appends `extension` when there is none; "" removes it.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
std::string IncludeTrailingPathDelimiter(const std::string& path);
// Keeps "/" itself: the root folder never turns into an empty name.
std::string ExcludeTrailingPathDelimiter(const std::string& path);

}  // namespace sys
