// Shared helpers of the player tests: the player's libraries, a video host that records what is
// published, and bounded waits that keep the main thread's hand-overs running.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/media_test_support.h"
#include "media/player/ff_player.h"
#include "media/player/video_host.h"

namespace media::test {

// Loads the player's set (with SDL) from the system; fails the calling test when that fails.
void RequirePlayerLibraries();

// Runs the main thread's hand-overs for `ms`.
void PumpFor(int ms);

class TRecordingVideoHost : public TPlayerVideoHost {
public:
    TRecordingVideoHost(int width, int height) : FSize{width, height} {}

    TVideoSize ClientSize() const override { return FSize; }
    void Publish(std::shared_ptr<const TVideoImage> image) override {
        std::lock_guard lock(FLock);
        FImages.push_back(std::move(image));
    }
    void Clear() override {
        std::lock_guard lock(FLock);
        ++FClears;
    }
    void Repaint() override {}

    size_t Count() const {
        std::lock_guard lock(FLock);
        return FImages.size();
    }
    std::shared_ptr<const TVideoImage> Last() const {
        std::lock_guard lock(FLock);
        return FImages.empty() ? nullptr : FImages.back();
    }
    int Clears() const {
        std::lock_guard lock(FLock);
        return FClears;
    }

private:
    const TVideoSize FSize;
    mutable std::mutex FLock;
    std::vector<std::shared_ptr<const TVideoImage>> FImages;
    int FClears = 0;
};

// A player that shows every picture, so nothing a slow machine does changes what is published,
// playing into a recording host; stopped after each test.
class TPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        RequirePlayerLibraries();
        FPlayer.Setframedrop(0);
    }
    void TearDown() override { FPlayer.Stop(true); }

    TVideoState& State() { return *FPlayer.FVideoState.load(); }
    bool OpenWithHost(const std::string& fileName, bool paused, int width, int height) {
        FHost = std::make_shared<TRecordingVideoHost>(width, height);
        return FPlayer.Open(fileName, FHost, paused);
    }

    TCustomPlayer FPlayer;
    std::shared_ptr<TRecordingVideoHost> FHost;
};

}  // namespace media::test
