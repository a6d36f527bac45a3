#include "platform/shell/change_notifier.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>

#include "platform/rtl/sysutils.h"
#include "platform/sys/main_thread.h"

namespace shell {

namespace {

uint32_t FlagsToInotify(uint32_t flags) {
    uint32_t mask = 0;
    if (flags & 0x3)
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
    if (flags & 0x104) mask |= IN_ATTRIB;
    if (flags & 0x18) mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask;
}

}  // namespace

uint32_t FiltersToFlags(TNotifyFilters filters) {
    static constexpr uint32_t kFlags[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x100};
    uint32_t flags = 0;
    for (int i = nfFileNameChange; i <= nfSecurityChange; ++i)
        if (filters.Contains(static_cast<TNotifyFilter>(i))) flags |= kFlags[i];
    return flags;
}

struct TbsShellChangeThread::TWatches {
    std::map<int, std::string> Folders;  // watch descriptor -> folder
    uint32_t Reported = 0;               // inotify bits the filters ask for
    bool SubTree = false;
    bool Full = false;  // the system's limit was reached
};

TbsShellChangeThread::TbsShellChangeThread(TThreadMethod handOver)
    : sys::TThread(true), FHandOver(std::move(handOver)), FWatches(std::make_unique<TWatches>()) {
    FInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    FWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

TbsShellChangeThread::~TbsShellChangeThread() {
    Stop();
    WaitFor();
    if (FInotify >= 0) close(FInotify);
    if (FWake >= 0) close(FWake);
}

void TbsShellChangeThread::Stop() {
    Terminate();
    const uint64_t one = 1;
    if (FWake >= 0) [[maybe_unused]]
        auto written = write(FWake, &one, sizeof one);
}

void TbsShellChangeThread::SetDirectoryOptions(const std::string& directory, bool watchSubTree,
                                               uint32_t flags) {
    std::unique_lock<std::mutex> lock(FLock);
    FDirectory = directory;
    FWatchSubTree = watchSubTree;
    FNotifyOptionFlags = flags;
    ++FRequested;
    const uint64_t one = 1;
    if (FWake >= 0) [[maybe_unused]]
        auto written = write(FWake, &one, sizeof one);
    if (ThreadId() == 0) return;  // not started: it applies the options when it starts
    lock.unlock();
    WaitForOptions();
}

void TbsShellChangeThread::WaitForOptions() {
    // Callers rely on the new folder being watched when this returns; the thread never waits
    // for the main thread, so this wait ends.
    std::unique_lock<std::mutex> lock(FLock);
    while (FDone < FRequested && !Finished() && !Terminated())
        FApplied.wait_for(lock, std::chrono::milliseconds(50));
}

void TbsShellChangeThread::AddWatch(const std::string& folder, bool subTree) {
    if (FWatches->Full) return;
    uint32_t mask = FWatches->Reported | IN_ONLYDIR;
    if (subTree) mask |= IN_CREATE | IN_MOVED_TO;
    const int wd = inotify_add_watch(FInotify, folder.c_str(), mask);
    if (wd < 0) {
        if (errno == ENOSPC) FWatches->Full = true;
        return;
    }
    FWatches->Folders[wd] = folder;
    if (!subTree) return;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || entry->d_type != DT_DIR) continue;
        AddWatch(folder == "/" ? "/" + name : folder + "/" + name, true);
    }
    closedir(dir);
}

void TbsShellChangeThread::ApplyOptions() {
    std::lock_guard<std::mutex> lock(FLock);
    for (const auto& [wd, folder] : FWatches->Folders) inotify_rm_watch(FInotify, wd);
    FWatches->Folders.clear();
    FWatches->Full = false;
    FWatches->SubTree = FWatchSubTree;
    FWatches->Reported = FlagsToInotify(FNotifyOptionFlags);
    // A folder that cannot be watched reports nothing until the notifier is re-targeted.
    if (FInotify >= 0 && !FDirectory.empty()) AddWatch(FDirectory, FWatchSubTree);
    FDone = FRequested;
    FApplied.notify_all();
}

bool TbsShellChangeThread::ReadEvents() {
    alignas(inotify_event) char buffer[64 * 1024];
    bool changed = false;
    for (;;) {
        const ssize_t length = read(FInotify, buffer, sizeof buffer);
        if (length <= 0) break;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += sizeof(inotify_event) + event->len;
            if (FWatches->SubTree && (event->mask & IN_ISDIR) &&
                (event->mask & (IN_CREATE | IN_MOVED_TO)) && event->len > 0) {
                const auto folder = FWatches->Folders.find(event->wd);
                if (folder != FWatches->Folders.end())
                    AddWatch(folder->second == "/" ? "/" + std::string(event->name)
                                                   : folder->second + "/" + event->name,
                             true);
            }
            if (event->mask & IN_IGNORED) FWatches->Folders.erase(event->wd);
            if (event->mask & FWatches->Reported) changed = true;
        }
    }
    return changed;
}

void TbsShellChangeThread::Execute() {
    if (FInotify < 0 || FWake < 0) return;
    ApplyOptions();
    while (!Terminated()) {
        pollfd fds[2] = {{FInotify, POLLIN, 0}, {FWake, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            [[maybe_unused]] auto got = read(FWake, &count, sizeof count);
            if (Terminated()) return;
            bool retarget;
            {
                std::lock_guard<std::mutex> lock(FLock);
                retarget = FDone != FRequested;
            }
            if (retarget) ApplyOptions();
        }
        if ((fds[0].revents & POLLIN) && ReadEvents() && !Terminated() && FHandOver) FHandOver();
    }
}

struct TbsCustomShellChangeNotifier::TDelivery {
    std::atomic<bool> Pending{false};
    bool Alive = true;      // main thread only
    TThreadMethod Handler;  // main thread only
};

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), FDelivery(std::make_shared<TDelivery>()) {}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier() {
    StopThread();
}

void TbsCustomShellChangeNotifier::BeforeDestruction() {
    StopThread();
    vcl::TComponent::BeforeDestruction();
}

void TbsCustomShellChangeNotifier::StopThread() {
    FDelivery->Alive = false;
    FThread.reset();
}

void TbsCustomShellChangeNotifier::StartThread() {
    if (!FOnChange) return;
    std::shared_ptr<TDelivery> delivery = FDelivery;
    FThread = std::make_unique<TbsShellChangeThread>([delivery] {
        if (delivery->Pending.exchange(true)) return;
        sys::QueueInMainThread([delivery] {
            delivery->Pending = false;
            if (!delivery->Alive || !delivery->Handler) return;
            const TThreadMethod handler = delivery->Handler;
            handler();
        });
    });
    FThread->SetDirectoryOptions(FRoot, FWatchSubTree, FiltersToFlags(FFilters));
    FThread->Start();
    FThread->WaitForOptions();
}

void TbsCustomShellChangeNotifier::ApplyOptions() {
    if (FThread) FThread->SetDirectoryOptions(FRoot, FWatchSubTree, FiltersToFlags(FFilters));
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters value) {
    FFilters = value;
    ApplyOptions();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool value) {
    FWatchSubTree = value;
    ApplyOptions();
}

void TbsCustomShellChangeNotifier::SetRoot(const TRoot& value) {
    if (SameRoot(value, FRoot)) return;
    FRoot = value;
    ApplyOptions();
}

void TbsCustomShellChangeNotifier::SetOnChange(TThreadMethod value) {
    FOnChange = std::move(value);
    FDelivery->Handler = FOnChange;
    if (!FThread) StartThread();
}

}  // namespace shell
