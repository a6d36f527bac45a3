#include "media/engine/frame_hook.h"

#include <map>
#include <mutex>

#include "media/libs/ffmpeg_api.h"
#include "platform/sys/dynlib.h"

namespace media {

namespace {

constexpr size_t kMaxHookWords = 64;

std::mutex gHookModulesLock;

// Library name, exactly as written in the option, to its handle.
std::map<std::string, sys::TLibHandle>& HookModules() {
    static std::map<std::string, sys::TLibHandle> modules;
    return modules;
}

sys::TLibHandle HookModule(const std::string& name) {
    std::lock_guard lock(gHookModulesLock);
    auto found = HookModules().find(name);
    if (found != HookModules().end()) return found->second;
    sys::TLibHandle handle = sys::LoadLibrary(name);
    if (handle == nullptr) {
        lib::av_log(nullptr, AV_LOG_ERROR, "%s\n", sys::LibraryError().c_str());
        return nullptr;
    }
    HookModules().emplace(name, handle);
    return handle;
}

}  // namespace

std::vector<std::string> SplitHookWords(const std::string& command) {
    char separator = command.find('|') != std::string::npos ? '|' : ' ';
    std::vector<std::string> words;
    size_t start = 0;
    while (start < command.size() && words.size() < kMaxHookWords) {
        size_t end = command.find(separator, start);
        if (end == std::string::npos) end = command.size();
        if (end > start) words.push_back(command.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

int FrameHookAdd(TFrameHookChain& chain, const std::vector<std::string>& args) {
    if (args.empty()) return -2;
    const std::string& name = args[0];
    sys::TLibHandle module = HookModule(name);
    if (module == nullptr) return -1;

    TFrameHookEntry entry;
    entry.Configure =
        reinterpret_cast<TFrameHookConfigureFn>(sys::GetProcAddress(module, "Configure"));
    entry.Process = reinterpret_cast<TFrameHookProcessFn>(sys::GetProcAddress(module, "Process"));
    entry.Release = reinterpret_cast<TFrameHookReleaseFn>(sys::GetProcAddress(module, "Release"));
    if (entry.Process == nullptr) {
        lib::av_log(nullptr, AV_LOG_ERROR, "Failed to find Process entrypoint in %s\n",
                    name.c_str());
        return -2;
    }
    if (entry.Configure == nullptr && args.size() > 1) {
        lib::av_log(nullptr, AV_LOG_ERROR, "Failed to find Configure entrypoint in %s\n",
                    name.c_str());
        return -2;
    }
    if (args.size() > 1 || entry.Configure != nullptr) {
        entry.Args = std::make_unique<const std::vector<std::string>>(args);
        std::vector<char*> argv;
        for (const std::string& arg : *entry.Args) argv.push_back(const_cast<char*>(arg.c_str()));
        if (entry.Configure(&entry.ctx, int(argv.size()), argv.data()) != 0) {
            lib::av_log(nullptr, AV_LOG_ERROR, "Failed to Configure %s\n", name.c_str());
            return -22;
        }
    }
    chain.push_back(std::move(entry));
    return 0;
}

void FrameHookProcess(const TFrameHookChain& chain, TAVPicture& picture, int pixFmt, int width,
                      int height, int64_t pts) {
    for (const TFrameHookEntry& entry : chain)
        entry.Process(entry.ctx, &picture, pixFmt, width, height, pts);
}

void FrameHookRelease(TFrameHookChain& chain) {
    for (TFrameHookEntry& entry : chain)
        if (entry.Release != nullptr) entry.Release(entry.ctx);
    chain.clear();
}

}  // namespace media
