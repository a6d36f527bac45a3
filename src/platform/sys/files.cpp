#include "platform/sys/files.h"

#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

bool Stat(const std::string& path, struct stat& info) {
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

// Position of the extension's dot, or npos when the name part has none.
size_t ExtensionDot(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    const size_t slash = fileName.rfind(kPathDelim);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat info;
    return Stat(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat info;
    return Stat(path, info) && S_ISDIR(info.st_mode);
}

bool ForceDirectories(const std::string& path) {
    if (path.empty()) return false;
    const std::string dir = ExcludeTrailingPathDelimiter(path);
    if (DirectoryExists(dir)) return true;
    const std::string parent = ExtractFileDir(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    if (mkdir(dir.c_str(), 0777) == 0) return true;
    return errno == EEXIST && DirectoryExists(dir);
}

bool DeleteFile(const std::string& path) {
    return FileExists(path) && unlink(path.c_str()) == 0;
}

bool RemoveDir(const std::string& path) {
    return !path.empty() && rmdir(path.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    if (oldName.empty() || newName.empty()) return false;
    if (renameat2(AT_FDCWD, oldName.c_str(), AT_FDCWD, newName.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system cannot refuse a replace by itself.
    struct stat info;
    if (lstat(newName.c_str(), &info) == 0) return false;
    return rename(oldName.c_str(), newName.c_str()) == 0;
}

int64_t FileSize(const std::string& path) {
    struct stat info;
    if (!Stat(path, info) || S_ISDIR(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

std::string GetCurrentDir() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) return buffer.c_str();
        if (errno != ERANGE) return "";
        buffer.resize(buffer.size() * 2);
    }
}

bool SetCurrentDir(const std::string& path, int* error) {
    if (chdir(path.c_str()) == 0) return true;
    if (error) *error = path.empty() ? ENOENT : errno;
    return false;
}

bool ListDirectory(const std::string& path, std::vector<TDirEntry>& entries, int* error) {
    entries.clear();
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        if (error) *error = errno;
        return false;
    }
    const int fd = dirfd(dir);
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        TDirEntry entry;
        entry.Name = name;
        entry.Hidden = name[0] == '.';
        struct stat info;
        if (fstatat(fd, name.c_str(), &info, 0) == 0)
            entry.Directory = S_ISDIR(info.st_mode);
        else
            entry.Directory = e->d_type == DT_DIR;
        entry.ReadOnly = faccessat(fd, name.c_str(), W_OK, AT_EACCESS) != 0;
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    return true;
}

std::string ExtractFilePath(const std::string& fileName) {
    const size_t slash = fileName.rfind(kPathDelim);
    return slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
}

std::string ExtractFileDir(const std::string& fileName) {
    const size_t slash = fileName.rfind(kPathDelim);
    if (slash == std::string::npos) return "";
    if (slash == 0) return std::string(1, kPathDelim);
    return fileName.substr(0, slash);
}

std::string ExtractFileName(const std::string& fileName) {
    const size_t slash = fileName.rfind(kPathDelim);
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& fileName) {
    const size_t dot = ExtensionDot(fileName);
    return dot == std::string::npos ? "" : fileName.substr(dot);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
    const size_t dot = ExtensionDot(fileName);
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && path.back() == kPathDelim) return path;
    return path + kPathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path) {
    if (path.size() > 1 && path.back() == kPathDelim) return path.substr(0, path.size() - 1);
    return path;
}

}  // namespace sys
