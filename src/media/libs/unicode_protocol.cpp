#include "media/libs/unicode_protocol.h"

#include <atomic>
#include <cerrno>

#include "platform/rtl/exception.h"
#include "platform/sys/file_handles.h"

namespace media {

namespace {

constexpr int kIOBufferSize = 32768;
// How long one wait for data of a FIFO or device lasts before the interrupt is asked again.
constexpr int kStreamPollMs = 10;

std::atomic<bool> gRegistered{false};

// The opaque of our I/O contexts.
struct TUnicodeFile {
    int Handle = -1;
    // A FIFO or device opened without blocking: reads wait in steps, no seeking.
    bool Stream = false;
    AVIOInterruptCB Interrupt{};
};

}  // namespace

bool NeedsUnicodeName(const std::string& /*fileName*/) {
    // Linux names are UTF-8 bytes, which the library opens as they are.
    return false;
}

bool IsUnicodeName(std::string_view name) {
    return name.size() > kUnicodePrefix.size() && name.starts_with(kUnicodePrefix);
}

std::string EncodeUnicodeName(const std::string& fileName) {
    return std::string(kUnicodePrefix) + fileName;
}

std::string DecodeUnicodeName(std::string_view name) {
    for (int i = 0; i < 2; ++i) {
        size_t colon = name.find(':');
        if (colon == std::string_view::npos) break;
        name.remove_prefix(colon + 1);
    }
    return std::string(name);
}

std::string LibraryFileName(const std::string& fileName) {
    return NeedsUnicodeName(fileName) ? EncodeUnicodeName(fileName) : fileName;
}

std::string FileNameFromLibrary(const char* name) {
    if (name == nullptr) return "";
    return IsUnicodeName(name) ? DecodeUnicodeName(name) : std::string(name);
}

int OpenWideFile(const std::string& fileName, int flags) {
    sys::TFileAccess access = sys::TFileAccess::Read;
    if ((flags & AVIO_FLAG_WRITE) != 0)
        access =
            (flags & AVIO_FLAG_READ) != 0 ? sys::TFileAccess::ReadWrite : sys::TFileAccess::Write;
    return sys::OpenFileHandle(fileName, access);
}

void RegisterUnicodeProtocol() {
    if (lib::avio_alloc_context == nullptr || lib::avio_context_free == nullptr)
        throw rtl::Exception("Assertion failed: avformat is not bound");
    gRegistered = true;
}

bool UnicodeProtocolRegistered() {
    return gRegistered && lib::avio_alloc_context != nullptr;
}

namespace {

// An I/O context of ours over `handle`, which it owns from here on.
int MakeIOContext(AVIOContext** context, int handle, bool writing, const TUnicodeFile& info) {
    auto* buffer = static_cast<unsigned char*>(lib::av_malloc(kIOBufferSize));
    auto* file = static_cast<TUnicodeFile*>(lib::av_malloc(sizeof(TUnicodeFile)));
    if (buffer != nullptr && file != nullptr) {
        *file = info;
        file->Handle = handle;
        *context = lib::avio_alloc_context(buffer, kIOBufferSize, writing ? 1 : 0, file,
                                           UnicodeRead, UnicodeWrite, UnicodeSeek);
    }
    if (*context == nullptr) {
        sys::CloseFileHandle(handle);
        lib::av_free(buffer);
        lib::av_free(file);
        return AVERROR(ENOMEM);
    }
    if (info.Stream) (*context)->seekable = 0;
    return 0;
}

bool Interrupted(const TUnicodeFile& file) {
    return file.Interrupt.callback != nullptr && file.Interrupt.callback(file.Interrupt.opaque);
}

}  // namespace

int UnicodeOpen(AVIOContext** context, const char* url, int flags) {
    *context = nullptr;
    int handle = OpenWideFile(DecodeUnicodeName(url != nullptr ? url : ""), flags);
    if (handle < 0) return AVERROR(ENOENT);
    return MakeIOContext(context, handle, (flags & AVIO_FLAG_WRITE) != 0, TUnicodeFile());
}

int UnicodeRead(void* opaque, uint8_t* buffer, int size) {
    auto* file = static_cast<TUnicodeFile*>(opaque);
    for (;;) {
        int64_t count = sys::ReadFileHandle(file->Handle, buffer, size_t(size));
        bool waiting = file->Stream && (count == 0 || count == AVERROR(EAGAIN));
        if (!waiting) {
            if (count < 0) return int(count);
            return count == 0 ? AVERROR_EOF : int(count);
        }
        // Nothing yet: no data, or a FIFO whose writer has not come yet.
        if (Interrupted(*file)) return AVERROR_EXIT;
        if (sys::WaitForFileData(file->Handle, kStreamPollMs) == sys::TDataWait::HungUp)
            return AVERROR_EOF;
    }
}

int UnicodeWrite(void* opaque, uint8_t* buffer, int size) {
    auto* file = static_cast<TUnicodeFile*>(opaque);
    int written = 0;
    while (written < size) {
        int64_t count =
            sys::WriteFileHandle(file->Handle, buffer + written, size_t(size - written));
        if (count <= 0) return count < 0 ? int(count) : AVERROR(EIO);
        written += int(count);
    }
    return written;
}

int64_t UnicodeSeek(void* opaque, int64_t position, int whence) {
    auto* file = static_cast<TUnicodeFile*>(opaque);
    if (file->Stream) return AVERROR(ESPIPE);
    if ((whence & AVSEEK_SIZE) != 0) return sys::FileHandleSize(file->Handle);
    return sys::SeekFileHandle(file->Handle, position, whence & ~AVSEEK_FORCE);
}

void UnicodeClose(AVIOContext** context) {
    if (context == nullptr || *context == nullptr) return;
    AVIOContext* io = *context;
    if (io->write_flag) lib::avio_flush(io);
    auto* file = static_cast<TUnicodeFile*>(io->opaque);
    if (file != nullptr) {
        sys::CloseFileHandle(file->Handle);
        lib::av_free(file);
    }
    // The library may have replaced the buffer we gave it; free the one it holds now.
    lib::av_freep(&io->buffer);
    lib::avio_context_free(context);
}

bool IsUnicodeIOContext(const AVIOContext* context) {
    return context != nullptr && context->read_packet == UnicodeRead;
}

int OpenInputFile(AVFormatContext** context, const std::string& fileName,
                  const AVInputFormat* format, AVDictionary** options) {
    std::string name = LibraryFileName(fileName);
    if (!IsUnicodeName(name) || !UnicodeProtocolRegistered())
        return lib::avformat_open_input(context, name.c_str(), format, options);

    if (*context == nullptr) *context = lib::avformat_alloc_context();
    if (*context == nullptr) return AVERROR(ENOMEM);
    AVIOContext* io = nullptr;
    int result = UnicodeOpen(&io, name.c_str(), AVIO_FLAG_READ);
    if (result < 0) {
        lib::avformat_free_context(*context);
        *context = nullptr;
        return result;
    }
    (*context)->pb = io;
    result = lib::avformat_open_input(context, name.c_str(), format, options);
    // The library frees the format context on failure but never a context it did not open.
    if (result < 0) UnicodeClose(&io);
    return result;
}

int OpenInterruptibleInputFile(AVFormatContext** context, const std::string& fileName,
                               const AVInputFormat* format, AVDictionary** options) {
    std::string path = DecodeUnicodeName(LibraryFileName(fileName));
    if (!sys::IsSpecialFile(path) || *context == nullptr)
        return OpenInputFile(context, fileName, format, options);

    // Opening a FIFO without blocking: the wait for its writer happens in the reads.
    int handle = sys::OpenFileHandle(path, sys::TFileAccess::Read, true);
    if (handle < 0) {
        lib::avformat_free_context(*context);
        *context = nullptr;
        return handle;
    }
    TUnicodeFile stream;
    stream.Stream = true;
    stream.Interrupt = (*context)->interrupt_callback;
    AVIOContext* io = nullptr;
    int result = MakeIOContext(&io, handle, false, stream);
    if (result < 0) {
        lib::avformat_free_context(*context);
        *context = nullptr;
        return result;
    }
    (*context)->pb = io;
    result = lib::avformat_open_input(context, path.c_str(), format, options);
    if (result < 0) UnicodeClose(&io);
    return result;
}

void CloseInputFile(AVFormatContext** context) {
    if (context == nullptr || *context == nullptr) return;
    AVIOContext* io = (*context)->pb;
    bool ours = ((*context)->flags & AVFMT_FLAG_CUSTOM_IO) != 0 && IsUnicodeIOContext(io);
    lib::avformat_close_input(context);
    if (ours) UnicodeClose(&io);
}

int OpenOutputIO(AVIOContext** context, const std::string& fileName, int flags,
                 const AVIOInterruptCB* interrupt, AVDictionary** options) {
    std::string name = LibraryFileName(fileName);
    if (IsUnicodeName(name) && UnicodeProtocolRegistered())
        return UnicodeOpen(context, name.c_str(), flags);
    return lib::avio_open2(context, name.c_str(), flags, interrupt, options);
}

int CloseOutputIO(AVIOContext** context) {
    if (context == nullptr || *context == nullptr) return 0;
    if (!IsUnicodeIOContext(*context)) return lib::avio_closep(context);
    int error = (*context)->error;
    UnicodeClose(context);
    return error;
}

}  // namespace media
