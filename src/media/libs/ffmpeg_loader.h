// Media libraries (src/media/libs): the binding of FFmpeg and SDL and what every media component
// shares. Library loading and the codec lock (this file); the typed entry-point cells
// (ffmpeg_api.h, generated from entry_point_list.h); the log (ff_logger.h); helpers over the
// libraries (ff_utils.h) and small helpers of the program (media_utils.h); file names and the
// file I/O protocol (unicode_protocol.h); the base component (ff_base_component.h). Pictures
// travel as the platform's gfx::TBitmap (ff_utils.h makes them). Nothing here includes another
// media folder.
//
// Threads: loading and unloading run on the main thread; every other thread reads the bound
// cells, logs, and uses the helpers on values of its own. The parts' own rules follow in each
// header.
//
// Loads the FFmpeg and SDL libraries by file name and binds their entry points into the cells of
// ffmpeg_api.h; holds the codec lock.
//
// Owns the process-wide library status table, LastErrMsg, LibraryPath, the one loader
// AVLibLoader() and CodecLock(). Loading and unloading run on the main thread; loading a set
// whose members are loaded already changes no cell, so it is safe while other threads call into
// them. CodecLock is no longer taken around codec or input calls (see below).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/sys/dynlib.h"
#include "platform/sys/sync.h"

namespace media {

// swResample is new beside swScale: the resampler lives in its own library now. myUtil stands
// for the C run-time, which is libc here: nothing to load and nothing to bind.
enum TLibrary { avCodec, avDevice, avFilter, avFormat, avUtil, swScale, swResample, myUtil, lbSDL };

constexpr int kLibraryCount = 9;

// Set of TLibrary; bit n is the library of ordinal n.
class TLibraries {
public:
    constexpr TLibraries() = default;
    constexpr TLibraries(std::initializer_list<TLibrary> libraries) {
        for (TLibrary library : libraries) FBits |= Bit(library);
    }

    constexpr bool Contains(TLibrary library) const { return (FBits & Bit(library)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint16_t Bits() const { return FBits; }
    constexpr void Include(TLibrary library) { FBits |= Bit(library); }
    constexpr bool operator==(const TLibraries&) const = default;

private:
    static constexpr uint16_t Bit(TLibrary library) { return uint16_t(1u << library); }
    uint16_t FBits = 0;
};

// The load sets of the components: each loads, tests and unloads exactly its own.
inline constexpr TLibraries FFTaskManagerLibraries{avCodec, avFilter,   avFormat, avUtil,
                                                   swScale, swResample, myUtil};
inline constexpr TLibraries AVProbeLibraries{avCodec, avFormat,   avUtil,
                                             swScale, swResample, myUtil};
inline constexpr TLibraries FFPlayLibraries{avCodec, avFilter,   avFormat, avUtil,
                                            swScale, swResample, myUtil,   lbSDL};

struct TLibraryStatus {
    TLibrary Lib = avCodec;
    // When not empty, replaces the built file name (may carry a folder); nothing sets it today.
    std::string Name;
    sys::TLibHandle Handle = nullptr;
    bool Fixuped = false;
};

// The file the library loads from: "libavcodec.so.59" and its siblings, with the major versions
// of the headers we build against; empty for myUtil.
std::string DllFileName(TLibrary library);

// Loads `fileName` by full path when `folder` is not empty and holds it, otherwise through the
// system's library search. A file that is in the folder but fails to load is not looked for
// elsewhere. nullptr on failure, with the system's text in `error`.
sys::TLibHandle LoadLibraryFromDir(const std::string& folder, const std::string& fileName,
                                   std::string& error);

// The address of `name` in the library; nullptr when absent and `optional`, otherwise raises
// rtl::Exception "Load function <name>@<libName> error: <system text>".
void* BindEntryPoint(const std::string& libName, sys::TLibHandle handle, const char* name,
                     bool optional);

class TFFmpegLoader {
public:
    // Every instance shares the one status table, LastErrMsg and LibraryPath.
    TFFmpegLoader() = default;
    TFFmpegLoader(const TFFmpegLoader&) = delete;
    TFFmpegLoader& operator=(const TFFmpegLoader&) = delete;

    // Loads and binds; false with LastErrMsg set on failure.
    bool Load(TLibrary library);
    // In dependency order (avutil first), so that each library's own dependencies are found among
    // those loaded before it. On failure unloads only the members this call loaded: a member that
    // was loaded before may be in use by another set's threads.
    bool Load(TLibraries libraries);
    bool Loaded(TLibrary library) const;
    bool Loaded(TLibraries libraries) const;
    // Clears the cells and frees the module. Counts no users: another set sharing the library
    // loses it too.
    void Unload(TLibrary library);
    void Unload(TLibraries libraries);

    std::string LastErrMsg() const;
    std::string LibraryPath() const;
    // The folder tried first; empty for the system search only.
    void SetLibraryPath(const std::string& path);
    bool InstallLogger() const { return FInstallLogger; }
    void SetInstallLogger(bool value) { FInstallLogger = value; }

    TLibraryStatus Status(TLibrary library) const;

private:
    bool FInstallLogger = true;
};

TFFmpegLoader& AVLibLoader();

// A process-wide lock for library calls that are unsafe across threads. FFmpeg 0.6 needed it
// around every codec open and close; 5.1 needs it for none of the calls we make, so nothing takes
// it now and tasks, probes and the player open, probe and close in parallel:
// - avcodec_open2 serialises the init of codecs not marked thread-safe with libavcodec's own
//   mutex, and the library's static tables are made once (pthread_once);
// - avformat_open_input, avformat_find_stream_info, avcodec_close and avcodec_free_context work
//   on the caller's own contexts only;
// - the globals that remain (av_log_set_callback/level, avdevice_register_all) are set by the
//   loader on the main thread before any task or player runs, which a lock here could not
//   order anyway, since the library's readers never take it.
// Our codec lists (TCodecList) belong to one job and its one conversion thread.
sys::TCriticalSection& CodecLock();

// Holds CodecLock for a scope. On the main thread it waits with PumpingLock, so workers that hand
// calls to the main thread while holding the lock can finish.
class TCodecLockGuard {
public:
    TCodecLockGuard();
    ~TCodecLockGuard();
    TCodecLockGuard(const TCodecLockGuard&) = delete;
    TCodecLockGuard& operator=(const TCodecLockGuard&) = delete;
};

}  // namespace media
