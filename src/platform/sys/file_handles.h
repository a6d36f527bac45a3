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

}  // namespace sys
