#include "platform/rtl/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include <fmt/format.h>

#include "platform/rtl/exception.h"

namespace rtl {

namespace {

constexpr int64_t kCopyBufferSize = 64 * 1024;

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

}  // namespace

// --- TStream ---

int64_t TStream::Size() {
    int64_t position = Seek(0, soFromCurrent);
    int64_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count < 0) return 0;
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyBufferSize)));
    int64_t left = count;
    while (left > 0) {
        int64_t chunk = std::min(left, kCopyBufferSize);
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return count;
}

// --- TMemoryStream ---

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t available = Size() - FPosition;
    if (count <= 0 || available <= 0) return 0;
    int64_t n = std::min(count, available);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    int64_t end = FPosition + count;
    if (end > Size()) FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? FPosition : Size();
    int64_t target = base + offset;
    if (target < 0) return -1;
    FPosition = target;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
    FData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t size = source.Size();
    std::vector<uint8_t> data(static_cast<size_t>(size));
    source.ReadBuffer(data.data(), size);
    FData = std::move(data);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
    target.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// --- TFileStream ---

TFileStream::TFileStream(const std::string& fileName, uint32_t mode) : FFileName(fileName) {
    if ((mode & 0xFF00) == fmCreate) {
        FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(
                fmt::format("Cannot create file \"{}\". {}", fileName, ErrnoText(errno)));
        return;
    }
    int access = O_RDONLY;
    if ((mode & 3) == fmOpenWrite) access = O_WRONLY;
    if ((mode & 3) == fmOpenReadWrite) access = O_RDWR;
    FHandle = ::open(fileName.c_str(), access | O_CLOEXEC);
    // A folder opens read-only on Linux; a stream over it would only fail later.
    struct stat info {};
    if (FHandle >= 0 && ::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        errno = EISDIR;
    }
    if (FHandle < 0)
        throw EFOpenError(fmt::format("Cannot open file \"{}\". {}", fileName, ErrnoText(errno)));
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t done = 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::read(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::write(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == soFromBeginning ? SEEK_SET
                 : origin == soFromCurrent ? SEEK_CUR
                                           : SEEK_END;
    return ::lseek(FHandle, offset, whence);
}

int64_t TFileStream::Size() {
    struct stat info {};
    return ::fstat(FHandle, &info) == 0 ? info.st_size : TStream::Size();
}

void TFileStream::SetSize(int64_t size) {
    if (::ftruncate(FHandle, size) != 0)
        throw EStreamError(
            fmt::format("Cannot set the size of \"{}\". {}", FFileName, ErrnoText(errno)));
    if (Position() > size) Seek(0, soFromEnd);
}

}  // namespace rtl
