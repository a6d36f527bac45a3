// Watches one folder (and, on request, the folders below it) and calls OnChange on the main
// thread when something in it changes.
//
// The notifier is a component of the main thread. Its first OnChange starts a
// TbsShellChangeThread, which waits on an inotify descriptor and an eventfd (stop, re-target);
// each wake-up reads every pending event and hands one call to the main thread unless one is
// still waiting there. The notifier's destruction stops and joins the thread, and a call handed
// over before that finds the notifier gone and does nothing. The thread's directory options
// are guarded by one lock; the main thread only sets them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/shell/shell_routines.h"
#include "platform/sys/threads.h"
#include "platform/vcl/classes.h"

namespace shell {

enum TNotifyFilter {
    nfFileNameChange,
    nfDirNameChange,
    nfAttributeChange,
    nfSizeChange,
    nfWriteChange,
    nfSecurityChange
};
using TNotifyFilters = vcl::TSet<TNotifyFilter>;
using TThreadMethod = std::function<void()>;

// The filter bits: 0x1 file name, 0x2 directory name, 0x4 attributes, 0x8 size, 0x10 last
// write, 0x100 security.
uint32_t FiltersToFlags(TNotifyFilters filters);

class TbsShellChangeThread : public sys::TThread {
public:
    // `handOver` runs on this thread after each wake-up that read changes; the thread starts
    // suspended.
    explicit TbsShellChangeThread(TThreadMethod handOver);
    ~TbsShellChangeThread() override;

    // Re-targets the watch; once the thread runs, returns after it watches the new folder.
    void SetDirectoryOptions(const std::string& directory, bool watchSubTree, uint32_t flags);
    // Returns once the running thread watches what the last options name.
    void WaitForOptions();
    // Asks the thread to end and wakes it; the destructor also joins.
    void Stop();

protected:
    void Execute() override;

private:
    void ApplyOptions();
    void AddWatch(const std::string& folder, bool subTree);
    bool ReadEvents();

    TThreadMethod FHandOver;
    int FInotify = -1;
    int FWake = -1;
    std::mutex FLock;
    std::condition_variable FApplied;
    std::string FDirectory;
    bool FWatchSubTree = false;
    uint32_t FNotifyOptionFlags = 0;
    uint64_t FRequested = 0;  // option changes asked for, guarded by FLock
    uint64_t FDone = 0;       // option changes the thread has applied
    struct TWatches;
    std::unique_ptr<TWatches> FWatches;  // thread-side only
};

class TbsCustomShellChangeNotifier : public vcl::TComponent {
public:
    explicit TbsCustomShellChangeNotifier(vcl::TComponent* AOwner);
    ~TbsCustomShellChangeNotifier() override;
    void BeforeDestruction() override;

    TNotifyFilters NotifyFilters() const { return FFilters; }
    void SetNotifyFilters(TNotifyFilters value);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool value);
    const TRoot& Root() const { return FRoot; }
    // The same text in another letter case changes nothing.
    void SetRoot(const TRoot& value);
    const TThreadMethod& OnChange() const { return FOnChange; }
    // The first one starts the thread; later ones only replace the method.
    void SetOnChange(TThreadMethod value);
    // True while a thread watches.
    bool Watching() const { return FThread != nullptr; }

private:
    void StartThread();
    void StopThread();
    void ApplyOptions();

    TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
    bool FWatchSubTree = true;
    TRoot FRoot = "/";
    std::unique_ptr<TbsShellChangeThread> FThread;
    TThreadMethod FOnChange;
    // Shared with the calls handed to the main thread: they look here before they call.
    struct TDelivery;
    std::shared_ptr<TDelivery> FDelivery;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
public:
    using TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier;
};

}  // namespace shell
