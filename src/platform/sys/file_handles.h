// Files by handle, for code that moves the bytes itself (the media library's I/O contexts).
//
// Failures come back as a negative system error number (-ENOENT, -EAGAIN, ...), never through
// errno, so that a caller can hand the code on as it is; interrupted calls are repeated. A handle
// belongs to the thread that reads or writes through it; the calls themselves hold no state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sys {

// Writing creates the file or empties it; reading never creates one.
enum class TFileAccess { Read, Write, ReadWrite };

// A handle (>= 0), or a negative error number. `nonBlocking` opens a FIFO or device without
// waiting for its writer; its reads then answer -EAGAIN while no data is there.
int OpenFileHandle(const std::string& fileName, TFileAccess access, bool nonBlocking = false);
void CloseFileHandle(int handle);
// Bytes read (0 at the end of the file), or a negative error number.
int64_t ReadFileHandle(int handle, void* buffer, size_t size);
// Bytes written (possibly fewer than `size`), or a negative error number.
int64_t WriteFileHandle(int handle, const void* buffer, size_t size);
// `origin` is SEEK_SET, SEEK_CUR or SEEK_END; the new position, or a negative error number.
int64_t SeekFileHandle(int handle, int64_t offset, int origin);
// The file's size, the position left as it is; or a negative error number.
int64_t FileHandleSize(int handle);

enum class TDataWait {
    Ready,     // data to read (or an error the next read reports)
    HungUp,    // the writer has gone and everything it wrote was read
    TimedOut,  // nothing within the time
};
TDataWait WaitForFileData(int handle, int timeoutMs);

// A FIFO, device or socket: neither a regular file nor a folder. False for a missing name.
bool IsSpecialFile(const std::string& path);

// The system's text for an error number of either sign: "No space left on device".
std::string ErrorNumberText(int error);

// Which file a name stands for (device and inode) and the state of its contents then.
struct TFileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = -1;
    int64_t ModifiedNs = 0;  // the last change of the contents
    bool Regular = false;    // the name leads to a regular file
    bool Link = false;       // the name itself is a symbolic link

    bool Known() const { return Inode != 0; }
    bool SameFile(const TFileIdentity& other) const {
        return Known() && Device == other.Device && Inode == other.Inode;
    }
    bool SameContents(const TFileIdentity& other) const {
        return SameFile(other) && Size == other.Size && ModifiedNs == other.ModifiedNs;
    }
};
// 0 with `identity` filled in (links followed), or a negative error number (-ENOENT when nothing
// has the name).
int GetFileIdentity(const std::string& path, TFileIdentity& identity);
// Whether an open for writing (creating or emptying) could succeed, asked without creating,
// opening or changing anything: 0, or the negative error number such an open would meet
// (-ENOENT for a missing folder, -EACCES, -EISDIR, -ENOTDIR).
int CheckWritableFile(const std::string& path);

}  // namespace sys
