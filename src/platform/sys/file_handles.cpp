#include "platform/sys/file_handles.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

int64_t ErrorNumber() {
    return errno != 0 ? -int64_t(errno) : -int64_t(EIO);
}

}  // namespace

int OpenFileHandle(const std::string& fileName, TFileAccess access, bool nonBlocking) {
    int flags = O_RDONLY;
    if (access == TFileAccess::Write) flags = O_WRONLY | O_CREAT | O_TRUNC;
    if (access == TFileAccess::ReadWrite) flags = O_RDWR | O_CREAT | O_TRUNC;
    if (nonBlocking) flags |= O_NONBLOCK;
    int handle;
    do {
        handle = ::open(fileName.c_str(), flags | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    return handle >= 0 ? handle : int(ErrorNumber());
}

void CloseFileHandle(int handle) {
    // Not repeated on EINTR: the handle is released either way on Linux.
    if (handle >= 0) ::close(handle);
}

int64_t ReadFileHandle(int handle, void* buffer, size_t size) {
    for (;;) {
        ssize_t count = ::read(handle, buffer, size);
        if (count >= 0) return count;
        if (errno != EINTR) return ErrorNumber();
    }
}

int64_t WriteFileHandle(int handle, const void* buffer, size_t size) {
    for (;;) {
        ssize_t count = ::write(handle, buffer, size);
        if (count >= 0) return count;
        if (errno != EINTR) return ErrorNumber();
    }
}

int64_t SeekFileHandle(int handle, int64_t offset, int origin) {
    off_t result = ::lseek(handle, off_t(offset), origin);
    return result < 0 ? ErrorNumber() : int64_t(result);
}

int64_t FileHandleSize(int handle) {
    struct stat info;
    if (::fstat(handle, &info) != 0) return ErrorNumber();
    return int64_t(info.st_size);
}

TDataWait WaitForFileData(int handle, int timeoutMs) {
    pollfd request{handle, POLLIN, 0};
    int ready = ::poll(&request, 1, timeoutMs);
    if (ready <= 0) return ready == 0 ? TDataWait::TimedOut : TDataWait::Ready;
    if ((request.revents & POLLIN) == 0 && (request.revents & POLLHUP) != 0)
        return TDataWait::HungUp;
    return TDataWait::Ready;
}

bool IsSpecialFile(const std::string& path) {
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) &&
           !S_ISDIR(info.st_mode);
}

std::string ErrorNumberText(int error) {
    char buffer[256];
    // The GNU strerror_r: the text may be a constant of the library rather than the buffer.
    return ::strerror_r(error < 0 ? -error : error, buffer, sizeof buffer);
}

int GetFileIdentity(const std::string& path, TFileIdentity& identity) {
    struct stat info;
    if (path.empty()) return -ENOENT;
    if (::stat(path.c_str(), &info) != 0) return int(ErrorNumber());
    identity.Device = uint64_t(info.st_dev);
    identity.Inode = uint64_t(info.st_ino);
    identity.Size = int64_t(info.st_size);
    identity.ModifiedNs = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    identity.Regular = S_ISREG(info.st_mode);
    identity.Link = ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    return 0;
}

int CheckWritableFile(const std::string& path) {
    if (path.empty()) return -ENOENT;
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return -EISDIR;
        return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : int(ErrorNumber());
    }
    if (errno != ENOENT) return int(ErrorNumber());
    // A new file: its folder must be there and take one.
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    if (::stat(folder.c_str(), &info) != 0) return int(ErrorNumber());
    if (!S_ISDIR(info.st_mode)) return -ENOTDIR;
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0
                                                                               : int(ErrorNumber());
}

}  // namespace sys
