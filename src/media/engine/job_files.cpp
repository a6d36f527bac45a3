// The job's files on disk: the outputs asked about at set-up and opened when the run starts
// writing, and what became of the inputs and outputs while the run went on.
#include <algorithm>
#include <string_view>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

// The path the library's file protocol opens for `fileName`; empty for a name that goes to
// another protocol ("http:", "pipe:", ...).
std::string LocalPath(const std::string& fileName) {
    const std::string name = LibraryFileName(fileName);
    if (IsUnicodeName(name)) return DecodeUnicodeName(name);
    // A protocol prefix as the library reads one: scheme characters, then a colon.
    const size_t end =
        name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.");
    if (end == std::string::npos || end == 0 || name[end] != ':') return name;
    if (std::string_view(name).substr(0, end) == "file") return name.substr(end + 1);
    return "";
}

// "<name>: <the system's text>" for an error number the library passed on; its own codes get
// its own texts.
std::string OpenErrorText(const std::string& fileName, int code) {
    constexpr int kLastErrorNumber = 4095;
    if (code < 0 && code >= -kLastErrorNumber)
        return rtl::Format("%s: %s", fileName, sys::ErrorNumberText(code));
    return ErrorCodeText(fileName, code);
}

bool WritesFile(const AVFormatContext* oc) {
    return (oc->oformat->flags & AVFMT_NOFILE) == 0;
}

}  // namespace

void TCustomFFmpeg::RememberInputFile(int index, const std::string& fileName) {
    TJobFile& file = Finput_disk_files[size_t(index)];
    file = TJobFile();
    file.Path = LocalPath(fileName);
    if (!file.Path.empty() && sys::GetFileIdentity(file.Path, file.Identity) < 0)
        file.Identity = sys::TFileIdentity();
}

std::string TCustomFFmpeg::CheckOutputName(const std::string& fileName) const {
    const std::string path = LocalPath(fileName);
    if (path.empty()) return "";
    const int error = sys::CheckWritableFile(path);
    return error < 0 ? OpenErrorText(fileName, error) : "";
}

void TCustomFFmpeg::OpenOutputFiles() {
    const int count = FJoinMode ? 1 : Fnb_output_files;
    // Every name is asked first: a refused one must not cost another output's old file.
    for (int j = 0; j < count; ++j) {
        const AVFormatContext* oc = Foutput_files[size_t(j)];
        if (!WritesFile(oc)) continue;
        const std::string failure = CheckOutputName(FileNameFromLibrary(oc->url));
        if (!failure.empty()) throw FFmpegException(failure);
    }
    for (int j = 0; j < count; ++j) {
        AVFormatContext* oc = Foutput_files[size_t(j)];
        if (!WritesFile(oc) || oc->pb != nullptr) continue;
        const std::string fileName = FileNameFromLibrary(oc->url);
        const int result =
            OpenOutputIO(&oc->pb, fileName, AVIO_FLAG_WRITE, &oc->interrupt_callback, nullptr);
        if (result < 0) throw FFmpegException(OpenErrorText(fileName, result));
        TJobFile& file = Foutput_disk_files[size_t(j)];
        file.Path = LocalPath(fileName);
        if (!file.Path.empty() && sys::GetFileIdentity(file.Path, file.Identity) < 0)
            file.Identity = sys::TFileIdentity();
    }
}

bool TCustomFFmpeg::OwnsOutputFile(int entry) const {
    const TJobFile& file = Foutput_disk_files[size_t(entry)];
    // A link or a device the run wrote through stays: only a plain file of the run's own goes.
    if (!file.Identity.Regular || file.Identity.Link) return false;
    sys::TFileIdentity now;
    return sys::GetFileIdentity(file.Path, now) == 0 && now.SameFile(file.Identity) &&
           now.Regular && !now.Link;
}

std::string TCustomFFmpeg::CheckRunFiles() const {
    const int count = FJoinMode ? 1 : Fnb_output_files;
    for (int j = 0; j < count; ++j) {
        const TJobFile& file = Foutput_disk_files[size_t(j)];
        if (!file.Identity.Regular) continue;
        sys::TFileIdentity now;
        const int error = sys::GetFileIdentity(file.Path, now);
        if (error < 0)
            return rtl::Format("%s: %s; the file was removed while it was written", file.Path,
                               sys::ErrorNumberText(error));
        if (!now.SameFile(file.Identity))
            return rtl::Format("%s: another file took its place while it was written", file.Path);
    }
    for (int i = 0; i < Fnb_input_files; ++i) {
        const TJobFile& file = Finput_disk_files[size_t(i)];
        if (!file.Identity.Regular) continue;
        // A removed or renamed input still reads whole through the open file; new contents in
        // the same file do not.
        sys::TFileIdentity now;
        if (sys::GetFileIdentity(file.Path, now) == 0 && now.SameFile(file.Identity) &&
            !now.SameContents(file.Identity))
            return rtl::Format("%s: the file changed while it was converted", file.Path);
    }
    return "";
}

std::string TCustomFFmpeg::WriteErrorText(const AVFormatContext* oc, const char* operation,
                                          int code) {
    if (oc->pb != nullptr && oc->pb->error < 0)
        return OpenErrorText(FileNameFromLibrary(oc->url), oc->pb->error);
    return ErrorCodeText(operation, code);
}

}  // namespace media
