#include "media/player/player_event_thread.h"

namespace media {

void TPlayEventRing::Push(TPlayEventItem item) {
    std::lock_guard lock(FLock);
    const TPlayEventItem& newest = FEvents[size_t((FTailer + kSlots - 1) % kSlots)];
    // Only positions give way to newer ones: a state change the application never saw is lost
    // for good (a play followed at once by a pause would show as a pause alone).
    bool replace = FTailer != FHeader && newest.Kind == item.Kind &&
                   (item.Kind != pekState || newest.Value == item.Value);
    if (!replace) {
        FTailer = (FTailer + 1) % kSlots;
        if (FTailer == FHeader) FHeader = (FHeader + 1) % kSlots;
    }
    FEvents[size_t((FTailer + kSlots - 1) % kSlots)] = item;
    FWaiting.Set();
}

TPlayEventItem TPlayEventRing::Pop() {
    std::lock_guard lock(FLock);
    if (FTailer == FHeader) return {};
    TPlayEventItem item = FEvents[size_t(FHeader)];
    FHeader = (FHeader + 1) % kSlots;
    if (FTailer == FHeader) FWaiting.Reset();
    return item;
}

TEventThread::TEventThread(std::shared_ptr<TPlayEventRing> ring, TDeliver deliver, int stopState)
    : sys::TThread(true),
      FRing(std::move(ring)),
      FDeliver(std::move(deliver)),
      FStopState(stopState) {
    Start();
}

TEventThread::~TEventThread() {
    Terminate();
    FRing->Waiting().Set();
    WaitFor();
}

void TEventThread::Execute() {
    while (!Terminated()) {
        TPlayEventItem item = FRing->Pop();
        if (item.Kind == pekQuit) break;
        if (item.Kind == pekPosition || item.Kind == pekState) {
            try {
                FDeliver(item);
            } catch (...) {
                // A handler's failure must not end the hand-over before the stop is delivered.
            }
            if (item.Kind == pekState && item.Value == FStopState) break;
        }
        if (item.Kind == pekNone) FRing->Waiting().Wait();
    }
    FEnded.Set();
}

}  // namespace media
