// The program's sound player behind sys::PlaySoundFile: plays a WAV file through SDL2 audio on a
// worker of its own, so the caller never waits.
//
// SDL is bound at run time by the media loader (the lbSDL library); nothing links it. Each sound
// opens an audio device of its own, queues the whole file and closes the device once it has
// played; a new sound cuts one still playing. A missing, unreadable or undecodable file, no SDL
// library, no audio device: silence, nothing shown.
//
// Threads: Play and Shutdown run on the main thread (the loader binds there); the worker owns the
// device and its SDL calls. The loader counts no users, so Shutdown comes before anything unloads
// a library set that holds SDL; the program calls it at exit.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sys/threads.h"

namespace app {

class TSdlSound {
public:
    // What became of the sounds handed over, for tests.
    struct TCounts {
        int Opened = 0;     // a device was opened for it
        int PlayedOut = 0;  // it played to its end
        int Cut = 0;        // a newer sound or Shutdown ended it early
        int Silent = 0;     // it could not play at all
    };

    TSdlSound() = default;
    ~TSdlSound();
    TSdlSound(const TSdlSound&) = delete;
    TSdlSound& operator=(const TSdlSound&) = delete;

    // Returns at once.
    void Play(const std::string& fileName);
    // Cuts what plays, drops what waits and joins the worker; Play may start afresh later.
    void Shutdown();
    // Waits until every sound handed over has played, been cut or stayed silent and the worker
    // has left; joins it.
    void WaitIdle();
    TCounts Counts() const;

private:
    enum TOutcome { soPlayedOut, soCut, soSilent };

    void Run();
    TOutcome PlayOne(const std::string& fileName);
    void JoinWorker();

    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::string FPending;
    bool FHasPending = false;
    bool FCutting = false;
    bool FWorkerRunning = false;
    TCounts FCounts;
    std::unique_ptr<sys::TThread> FWorker;
};

// The process-wide player the program installs.
TSdlSound& SdlSound();
// Makes SdlSound() the sys sound player (program start-up).
void InstallSdlSound();
// Silence again, the worker joined (program exit).
void RemoveSdlSound();

}  // namespace app
