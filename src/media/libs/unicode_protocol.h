// File names between the media components and the format library, and the "unicode" opener.
//
// Linux file names are UTF-8 bytes and reach the library as they are. A name in the prefixed
// form "unicode:utf8:<name>" (written by an older build or handed in by a caller) is opened
// through an I/O context of our own over a file handle instead of a library protocol; every
// component opens and closes its files through OpenInputFile / CloseInputFile and
// OpenOutputIO / CloseOutputIO so that such a context is found and freed again.
//
// Owns only the process-wide "registered" flag (set by the loader on the main thread). The name
// functions are pure and run on any thread; an opened context belongs to the thread that reads
// or writes through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "media/libs/ffmpeg_api.h"

namespace media {

inline constexpr std::string_view kUnicodePrefix = "unicode:utf8:";

// Whether the name must travel in the prefixed form: never here, every name is UTF-8 already.
bool NeedsUnicodeName(const std::string& fileName);
// True for the prefix followed by at least one byte.
bool IsUnicodeName(std::string_view name);
std::string EncodeUnicodeName(const std::string& fileName);
// The text after the second colon (after the first when there is only one; all of it when none).
std::string DecodeUnicodeName(std::string_view name);

// The name as the library gets it. Never cut: a cut name could open another file.
std::string LibraryFileName(const std::string& fileName);
// A name read back from a format context; nullptr gives ''.
std::string FileNameFromLibrary(const char* name);

// The library's open flags (AVIO_FLAG_READ, AVIO_FLAG_WRITE): writing creates or empties the
// file, reading never creates one. A handle of platform/sys/file_handles.h, or a negative error
// number.
int OpenWideFile(const std::string& fileName, int flags);

// Makes prefixed names openable; the loader calls it after every load of avformat. Idempotent.
// Raises rtl::Exception when avformat is not bound.
void RegisterUnicodeProtocol();
bool UnicodeProtocolRegistered();

// The opener of prefixed names: an I/O context over the decoded file name. 0, or a negative
// library error code (AVERROR(ENOENT) for a file that does not open).
int UnicodeOpen(AVIOContext** context, const char* url, int flags);
// I/O callbacks of that context (the opaque is ours): bytes moved, AVERROR_EOF at the end of
// the file, a negative error code on failure. The size query AVSEEK_SIZE leaves the position.
int UnicodeRead(void* opaque, uint8_t* buffer, int size);
int UnicodeWrite(void* opaque, uint8_t* buffer, int size);
int64_t UnicodeSeek(void* opaque, int64_t position, int whence);
// Flushes, closes the file and frees the context; sets *context to nullptr.
void UnicodeClose(AVIOContext** context);
bool IsUnicodeIOContext(const AVIOContext* context);

// avformat_open_input for any name: a prefixed name gets its I/O context first (the context must
// then be given, allocated or null as avformat_open_input takes it). On failure *context is
// freed and null, as the library does.
int OpenInputFile(AVFormatContext** context, const std::string& fileName,
                  const AVInputFormat* format, AVDictionary** options);
// OpenInputFile whose reads end when the context's interrupt callback (set before the call)
// asks for it: a FIFO or a device is read through an I/O context of ours that waits for data in
// short steps and asks the callback between them, where the library's own reads would wait in
// the system for good. A regular file opens as with OpenInputFile.
int OpenInterruptibleInputFile(AVFormatContext** context, const std::string& fileName,
                               const AVInputFormat* format, AVDictionary** options);
// avformat_close_input that also frees an I/O context of ours.
void CloseInputFile(AVFormatContext** context);
// avio_open2 for any name.
int OpenOutputIO(AVIOContext** context, const std::string& fileName, int flags,
                 const AVIOInterruptCB* interrupt, AVDictionary** options);
// avio_closep for any context opened by OpenOutputIO; 0 or the library's error.
int CloseOutputIO(AVIOContext** context);

}  // namespace media
