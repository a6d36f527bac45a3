// Recording stand-ins for the platform's end-of-run actions: the power-off request and the sound
// player. Each installs itself for its lifetime and puts back what was there before; calls may
// come from any thread.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/sys/power.h"
#include "platform/sys/sound.h"

namespace testsupport {

class TRecordingPowerOff {
public:
    TRecordingPowerOff()
        : FPrevious(sys::SetPowerOffRequester([this] {
              std::lock_guard<std::mutex> guard(FLock);
              ++FRequests;
          })) {}
    ~TRecordingPowerOff() { sys::SetPowerOffRequester(FPrevious); }
    TRecordingPowerOff(const TRecordingPowerOff&) = delete;
    TRecordingPowerOff& operator=(const TRecordingPowerOff&) = delete;

    int Requests() const {
        std::lock_guard<std::mutex> guard(FLock);
        return FRequests;
    }

private:
    mutable std::mutex FLock;
    int FRequests = 0;
    sys::TPowerOffRequester FPrevious;
};

class TRecordingSound {
public:
    TRecordingSound()
        : FPrevious(sys::SetSoundPlayer([this](const std::string& fileName) {
              std::lock_guard<std::mutex> guard(FLock);
              FPlayed.push_back(fileName);
          })) {}
    ~TRecordingSound() { sys::SetSoundPlayer(FPrevious); }
    TRecordingSound(const TRecordingSound&) = delete;
    TRecordingSound& operator=(const TRecordingSound&) = delete;

    // The files handed to the player, in order.
    std::vector<std::string> Played() const {
        std::lock_guard<std::mutex> guard(FLock);
        return FPlayed;
    }

private:
    mutable std::mutex FLock;
    std::vector<std::string> FPlayed;
    sys::TSoundPlayer FPrevious;
};

}  // namespace testsupport
