// The player's event hand-over: a ring of ten position and state events that the engine's
// threads fill, and the event thread that takes them out and hands them to the application.
//
// A ring and its event thread belong to one playback; the player keeps the current pair and
// joins every event thread it made. Push and Pop are safe from any thread; the ring's lock is
// never held while a handler runs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {

enum TPlayEventKind { pekNone = 0, pekPosition = 1, pekState = 2, pekQuit = 3 };

struct TPlayEventItem {
    int Kind = pekNone;
    int64_t Value = 0;  // microseconds, or the state's ordinal
};

class TPlayEventRing {
public:
    static constexpr int kSlots = 10;

    // Replaces the newest unread event when it is a position and this one is too (or the same
    // state again); otherwise appends, dropping the oldest unread event when nine wait already.
    void Push(TPlayEventItem item);
    // The oldest unread event, or one of kind pekNone when none waits.
    TPlayEventItem Pop();
    // Set while events wait.
    sys::TEvent& Waiting() { return FWaiting; }

private:
    std::mutex FLock;
    sys::TEvent FWaiting{true, false};
    int FHeader = 0;  // the oldest unread slot
    int FTailer = 0;  // the next free slot
    std::array<TPlayEventItem, kSlots> FEvents{};
};

// Takes events out of its ring until a stop state or a quit event, and hands each to `deliver`
// (which runs the handler, on the main thread or here).
class TEventThread : public sys::TThread {
public:
    using TDeliver = std::function<void(const TPlayEventItem&)>;

    TEventThread(std::shared_ptr<TPlayEventRing> ring, TDeliver deliver, int stopState);
    ~TEventThread() override;

    // Set once Execute has returned.
    sys::TEvent& Ended() { return FEnded; }

protected:
    void Execute() override;

private:
    std::shared_ptr<TPlayEventRing> FRing;
    TDeliver FDeliver;
    const int FStopState;
    sys::TEvent FEnded{true, false};
};

}  // namespace media
