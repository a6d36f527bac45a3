#include "media/player/player_test_support.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "media/libs/ffmpeg_loader.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"

namespace media::test {

namespace {

// The tests play through SDL's dummy audio driver: no sound card, callbacks at real pace.
struct TDummyAudio {
    TDummyAudio() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
} gDummyAudio;

}  // namespace

void RequirePlayerLibraries() {
    AVLibLoader().SetLibraryPath("");
    ASSERT_TRUE(AVLibLoader().Load(FFPlayLibraries)) << AVLibLoader().LastErrMsg();
}

void PumpFor(int ms) {
    int64_t end = sys::Clock().NowMicros() + int64_t(ms) * 1000;
    while (sys::Clock().NowMicros() < end) sys::CheckSynchronize(5);
}

}  // namespace media::test
