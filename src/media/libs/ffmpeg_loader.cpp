#include "media/libs/ffmpeg_loader.h"

#include <array>
#include <cfenv>
#include <cstdio>

#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_api.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/exception.h"
#include "platform/sys/files.h"
#include "platform/sys/main_thread.h"

namespace media::lib {

#define MORADEX_DEFINE_CELL(library, name) decltype(&::name) name = nullptr;
MORADEX_MEDIA_ENTRY_POINTS(MORADEX_DEFINE_CELL)
#undef MORADEX_DEFINE_CELL

}  // namespace media::lib

namespace media {

namespace {

// Each library after the ones it needs: the dynamic linker then finds a library's dependencies
// among those already loaded (by their sonames) instead of searching the system for them.
constexpr std::array<TLibrary, kLibraryCount> kLoadOrder = {
    avUtil, swResample, swScale, avCodec, avFormat, avFilter, avDevice, myUtil, lbSDL};

struct TLibraryFile {
    const char* Base;
    int Major;  // -1: the base is the whole file name
};

// Built from the major versions of the headers the cells are typed with, so the library we bind
// is the one we compiled against.
constexpr std::array<TLibraryFile, kLibraryCount> kLibraryFiles = {{
    {"libavcodec.so", LIBAVCODEC_VERSION_MAJOR},
    {"libavdevice.so", LIBAVDEVICE_VERSION_MAJOR},
    {"libavfilter.so", LIBAVFILTER_VERSION_MAJOR},
    {"libavformat.so", LIBAVFORMAT_VERSION_MAJOR},
    {"libavutil.so", LIBAVUTIL_VERSION_MAJOR},
    {"libswscale.so", LIBSWSCALE_VERSION_MAJOR},
    {"libswresample.so", LIBSWRESAMPLE_VERSION_MAJOR},
    {"", -1},
    {"libSDL2-2.0.so.0", -1},
}};
static_assert(SDL_MAJOR_VERSION == 2, "the SDL file name is SDL2's");

struct TLoaderState {
    TLoaderState() {
        for (int i = 0; i < kLibraryCount; ++i) Status[i].Lib = TLibrary(i);
        // The libraries' floating-point code expects every exception masked.
        fedisableexcept(FE_ALL_EXCEPT);
    }

    std::array<TLibraryStatus, kLibraryCount> Status;
    std::string LastErrMsg;
    std::string LibraryPath;
};

TLoaderState& State() {
    static TLoaderState state;
    return state;
}

bool HasFile(TLibrary library) {
    return kLibraryFiles[library].Base[0] != '\0';
}

void Fixup(TLibrary library, const std::string& libName, sys::TLibHandle handle) {
#define MORADEX_BIND_CELL(lib_, name) \
    if (library == (lib_))            \
        lib::name =                   \
            reinterpret_cast<decltype(lib::name)>(BindEntryPoint(libName, handle, #name, false));
    MORADEX_MEDIA_ENTRY_POINTS(MORADEX_BIND_CELL)
#undef MORADEX_BIND_CELL
    // Capture devices still register at run time.
    if (library == avDevice) lib::avdevice_register_all();
}

void Unfix(TLibrary library) {
#define MORADEX_CLEAR_CELL(lib_, name) \
    if (library == (lib_)) lib::name = nullptr;
    MORADEX_MEDIA_ENTRY_POINTS(MORADEX_CLEAR_CELL)
#undef MORADEX_CLEAR_CELL
}

void RequireSet(TLibraries libraries) {
    if (libraries.Empty()) throw rtl::Exception("Assertion failed: empty library set");
}

std::string FormatMessage(const char* pattern, const std::string& a, const std::string& b) {
    int size = std::snprintf(nullptr, 0, pattern, a.c_str(), b.c_str());
    std::string text(size_t(size), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, a.c_str(), b.c_str());
    return text;
}

}  // namespace

std::string DllFileName(TLibrary library) {
    const TLibraryStatus& row = State().Status[library];
    if (!row.Name.empty()) return row.Name;
    const TLibraryFile& file = kLibraryFiles[library];
    if (file.Major < 0) return file.Base;
    return std::string(file.Base) + "." + std::to_string(file.Major);
}

sys::TLibHandle LoadLibraryFromDir(const std::string& folder, const std::string& fileName,
                                   std::string& error) {
    std::string path = fileName;
    if (!folder.empty()) {
        std::string fullName = sys::IncludeTrailingPathDelimiter(folder) + fileName;
        if (sys::FileExists(fullName)) path = fullName;
    }
    sys::TLibHandle handle = sys::LoadLibrary(path);
    if (handle == nullptr) error = sys::LibraryError();
    return handle;
}

void* BindEntryPoint(const std::string& libName, sys::TLibHandle handle, const char* name,
                     bool optional) {
    void* address = sys::GetProcAddress(handle, name);
    if (address == nullptr && !optional) {
        std::string text = "Load function " + std::string(name) + "@" + libName + " error: ";
        throw rtl::Exception(text + sys::LibraryError());
    }
    return address;
}

bool TFFmpegLoader::Load(TLibrary library) {
    TLoaderState& state = State();
    TLibraryStatus& row = state.Status[library];
    if (row.Handle == nullptr && HasFile(library)) {
        std::string fileName = DllFileName(library);
        std::string folder = sys::ExtractFilePath(fileName);
        std::string bareName = sys::ExtractFileName(fileName);
        if (folder.empty() && !state.LibraryPath.empty())
            folder = sys::IncludeTrailingPathDelimiter(state.LibraryPath);
        std::string error;
        sys::TLibHandle handle = LoadLibraryFromDir(folder, bareName, error);
        if (handle == nullptr) {
            state.LastErrMsg = FormatMessage("Load library %s error: %s", folder + bareName, error);
            return false;
        }
        row.Handle = handle;
    }
    if (!row.Fixuped) {
        try {
            Fixup(library, DllFileName(library), row.Handle);
            row.Fixuped = true;
        } catch (const rtl::Exception& e) {
            state.LastErrMsg = e.Message();
        }
    }
    if (!row.Fixuped) {
        Unload(library);
        return false;
    }
    if (library == avUtil && FInstallLogger) GetFFLogger().InstallAVLogCallback();
    if (library == avFormat) RegisterUnicodeProtocol();
    return true;
}

bool TFFmpegLoader::Load(TLibraries libraries) {
    RequireSet(libraries);
    TLibraries loadedHere;
    for (TLibrary library : kLoadOrder) {
        if (!libraries.Contains(library)) continue;
        bool wasLoaded = Loaded(library);
        if (!Load(library)) {
            for (auto it = kLoadOrder.rbegin(); it != kLoadOrder.rend(); ++it)
                if (loadedHere.Contains(*it)) Unload(*it);
            return false;
        }
        if (!wasLoaded) loadedHere.Include(library);
    }
    return true;
}

bool TFFmpegLoader::Loaded(TLibrary library) const {
    const TLibraryStatus& row = State().Status[library];
    return row.Fixuped && (row.Handle != nullptr || !HasFile(library));
}

bool TFFmpegLoader::Loaded(TLibraries libraries) const {
    RequireSet(libraries);
    for (int i = 0; i < kLibraryCount; ++i)
        if (libraries.Contains(TLibrary(i)) && !Loaded(TLibrary(i))) return false;
    return true;
}

void TFFmpegLoader::Unload(TLibrary library) {
    TLibraryStatus& row = State().Status[library];
    // Also after a bind that failed half-way: the names bound before the failing one go too.
    Unfix(library);
    row.Fixuped = false;
    if (row.Handle != nullptr) {
        sys::FreeLibrary(row.Handle);
        row.Handle = nullptr;
    }
}

void TFFmpegLoader::Unload(TLibraries libraries) {
    RequireSet(libraries);
    for (auto it = kLoadOrder.rbegin(); it != kLoadOrder.rend(); ++it)
        if (libraries.Contains(*it)) Unload(*it);
}

std::string TFFmpegLoader::LastErrMsg() const {
    return State().LastErrMsg;
}

std::string TFFmpegLoader::LibraryPath() const {
    return State().LibraryPath;
}

void TFFmpegLoader::SetLibraryPath(const std::string& path) {
    State().LibraryPath = path;
}

TLibraryStatus TFFmpegLoader::Status(TLibrary library) const {
    return State().Status[library];
}

TFFmpegLoader& AVLibLoader() {
    static TFFmpegLoader loader;
    return loader;
}

sys::TCriticalSection& CodecLock() {
    static sys::TCriticalSection lock;
    return lock;
}

TCodecLockGuard::TCodecLockGuard() {
    sys::PumpingLock(CodecLock());
}

TCodecLockGuard::~TCodecLockGuard() {
    CodecLock().Leave();
}

}  // namespace media
