// The event queue of one playback: what the engine's threads and the player ask of the play
// thread (show the due pictures, set the video mode for a new picture size, end the playback).
//
// Owned jointly (shared_ptr) by the playback and its play thread, so a play thread that outlives
// its playback only ever sees its own, closed queue. Push and Close are safe from any thread;
// only the play thread waits.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace media {

// AudioDisplay: the next of the audio displays, on a cleared screen.
enum class TPlayerEventKind { Alloc, Refresh, Quit, Redisplay, Resize, Expose, AudioDisplay };

struct TPlayerEvent {
    TPlayerEventKind Kind = TPlayerEventKind::Refresh;
    int Width = 0;  // Resize: the new size of the display area
    int Height = 0;
};

class TPlayerEventQueue {
public:
    // False once the queue is closed: the event is dropped.
    bool Push(TPlayerEvent event) {
        std::lock_guard lock(FLock);
        if (FClosed) return false;
        FEvents.push_back(event);
        FCond.notify_one();
        return true;
    }
    // Blocks until an event is there; nothing once the queue is closed (queued events are
    // dropped: the playback they were for is over).
    std::optional<TPlayerEvent> Wait() {
        std::unique_lock lock(FLock);
        FCond.wait(lock, [this] { return FClosed || !FEvents.empty(); });
        if (FClosed) return std::nullopt;
        TPlayerEvent event = FEvents.front();
        FEvents.pop_front();
        return event;
    }
    void Close() {
        std::lock_guard lock(FLock);
        FClosed = true;
        FEvents.clear();
        FCond.notify_all();
    }
    bool Closed() const {
        std::lock_guard lock(FLock);
        return FClosed;
    }

private:
    mutable std::mutex FLock;
    std::condition_variable FCond;
    std::deque<TPlayerEvent> FEvents;
    bool FClosed = false;
};

}  // namespace media
