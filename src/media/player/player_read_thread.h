// Opening and closing a playback, and the two threads that drive it: the read thread
// (demultiplexing into the packet queues, seeking, the end of the file) and the play thread (the
// event loop that shows pictures and ends the playback).
//
// OpenStream, RequestSeek and SwitchStream run on the player's thread; ReadThreadProc and the
// stream components on the read thread; EventLoop on the play thread. The read thread alone
// calls the demuxer. Each playback's file has its own interrupt callback, so closing one
// playback breaks only its own blocking reads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/libs/ff_base_component.h"
#include "media/player/player_event_thread.h"
#include "media/player/player_state.h"
#include "platform/sys/threads.h"

namespace media {

class TCustomPlayer;

// Starts the read thread on `fileName` and waits until the file is open and its streams are
// playing. False with the player's LastErrMsg set when it cannot be played.
bool OpenStream(TCustomPlayer& player, const std::string& fileName, const AVInputFormat* format,
                bool paused);
// OpenStream in two halves, for a caller that does not wait: the read thread starts on the file
// and runs `decided` once the open is decided (null with LastErrMsg set when no thread starts).
// FinishOpenStream then makes the playback the player's (true), or frees a file that could not
// be played (false, LastErrMsg set); CancelOpenStream ends one whose open is not finished.
std::unique_ptr<TVideoState> StartOpenStream(TCustomPlayer& player, const std::string& fileName,
                                             const AVInputFormat* format, bool paused,
                                             std::function<void()> decided);
bool FinishOpenStream(TCustomPlayer& player, std::unique_ptr<TVideoState> state);
void CancelOpenStream(TCustomPlayer& player, std::unique_ptr<TVideoState> state);
// Frees the cancelled opens whose read thread has ended; with `wait` all of them, once ended.
void ReapCancelledOpens(TCustomPlayer& player, bool wait);
void ReadThreadProc(TVideoState& is);
// The format library asks during blocking I/O; 1 aborts.
int InterruptCallback(void* opaque);
int OpenStreamComponent(TVideoState& is, int streamIndex);
void CloseStreamComponent(TVideoState& is, int streamIndex);
// Asks the read thread to seek; a request while one is pending is dropped. With `wait` returns
// once the seek is carried out and, with video, its first picture is queued.
void RequestSeek(TVideoState& is, TSeekFlags flags, bool wait, int64_t pos, int64_t rel);
// The two halves of RequestSeek, for a caller that holds the player's FStateLock for the first:
// false when a seek is pending already.
bool PostSeekRequest(TVideoState& is, TSeekFlags flags, int64_t pos, int64_t rel);
// Waits, keeping the main thread running, until the seek is carried out and, with video, its
// first picture is queued, or the playback `is` is gone.
void AwaitSeek(TCustomPlayer& player, const TVideoState* is, bool hasVideo);
// Plays stream `streamIndex` of `type` (video, audio, subtitle; a subtitle index of -1 turns
// subtitles off) instead of the current one. False with LastErrMsg set when refused.
bool SwitchStream(TVideoState& is, AVMediaType type, int streamIndex);
void CloseStream(TVideoState& is);
// Ends the player's playback: threads joined, everything freed. The caller holds FDataLock.
void ShutdownPlayback(TCustomPlayer& player);
void PushQuitEvent(TVideoState& is);
void PushRedisplayEvent(TVideoState& is);
// The play thread's loop over the events of its playback's queue.
void EventLoop(TCustomPlayer& player, const std::shared_ptr<TPlayerEventQueue>& events);

class TPlayThread : public sys::TThread {
public:
    // `ring` takes the playback's play and stop states.
    TPlayThread(TCustomPlayer& owner, std::shared_ptr<TPlayerEventQueue> events,
                std::shared_ptr<TPlayEventRing> ring);
    ~TPlayThread() override;

protected:
    void Execute() override;

private:
    TCustomPlayer& FOwner;
    std::shared_ptr<TPlayerEventQueue> FEvents;
    std::shared_ptr<TPlayEventRing> FRing;
};

}  // namespace media
