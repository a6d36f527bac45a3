#include "app/sdl_sound.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "media/libs/ffmpeg_loader.h"
#include "platform/sys/clock.h"
#include "support/temp_dir.h"
#include "wav_file.h"

namespace app {
namespace {

// A plain tone, 8-bit mono at a low rate: small files, however long.
std::string Tone(double seconds, int rate = 2000) {
    std::vector<uint8_t> data(size_t(seconds * rate));
    for (size_t i = 0; i < data.size(); ++i) data[i] = (i / 4) % 2 ? 0xA0 : 0x60;
    return soundgen::WavBytes(data, rate, 1, 8);
}

int ThreadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// A hang guard only: the condition holds long before on any machine.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 6000 && !done(); ++i) sys::SleepMs(5);
    return done();
}

class SdlSoundTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }

    testsupport::TTempDir dir;
};

TEST_F(SdlSoundTest, ASoundPlaysToItsEndOnAWorkerThatIsGoneAfterwards) {
    const std::string file = dir.Touch("tone.wav", Tone(0.2));
    const int threads = ThreadCount();
    TSdlSound sound;
    sound.Play(file);
    sound.WaitIdle();
    const TSdlSound::TCounts counts = sound.Counts();
    EXPECT_EQ(counts.Opened, 1);
    EXPECT_EQ(counts.PlayedOut, 1);
    EXPECT_EQ(counts.Cut + counts.Silent, 0);
    EXPECT_EQ(ThreadCount(), threads);
}

// The program's own chime, as the build made it beside the program, is a file SDL plays.
TEST_F(SdlSoundTest, TheBuiltChimePlays) {
    ASSERT_TRUE(std::filesystem::exists(MORADEX_RING_SOUND));
    TSdlSound sound;
    sound.Play(MORADEX_RING_SOUND);
    sound.WaitIdle();
    EXPECT_EQ(sound.Counts().PlayedOut, 1);
}

// Play returns while a long sound still plays; a newer sound, or the exit, cuts it.
TEST_F(SdlSoundTest, ANewSoundOrTheExitCutsOneStillPlaying) {
    const std::string longFile = dir.Touch("long.wav", Tone(120));
    const std::string shortFile = dir.Touch("short.wav", Tone(0.1));
    const int threads = ThreadCount();
    {
        TSdlSound sound;
        sound.Play(longFile);
        ASSERT_TRUE(WaitFor([&] { return sound.Counts().Opened == 1; }));
        sound.Play(shortFile);
        sound.WaitIdle();
        const TSdlSound::TCounts counts = sound.Counts();
        EXPECT_EQ(counts.Opened, 2);
        EXPECT_EQ(counts.Cut, 1);
        EXPECT_EQ(counts.PlayedOut, 1);
    }
    {
        TSdlSound sound;
        sound.Play(longFile);
        ASSERT_TRUE(WaitFor([&] { return sound.Counts().Opened == 1; }));
        sound.Shutdown();
        EXPECT_EQ(sound.Counts().Cut, 1);
        EXPECT_EQ(ThreadCount(), threads);
        // A player shut down plays again.
        sound.Play(shortFile);
        sound.WaitIdle();
        EXPECT_EQ(sound.Counts().PlayedOut, 1);
    }
    EXPECT_EQ(ThreadCount(), threads);
}

TEST_F(SdlSoundTest, WhatCannotPlayIsSilence) {
    const struct {
        const char* Name;
        std::function<std::string(const testsupport::TTempDir&)> File;
        const char* Driver;
    } cases[] = {
        {"missing file", [](const auto& d) { return d / "none.wav"; }, "dummy"},
        {"not a sound", [](const auto& d) { return d.Touch("text.wav", "not a sound"); }, "dummy"},
        {"cut short", [](const auto& d) { return d.Touch("short.wav", Tone(0.2).substr(0, 30)); },
         "dummy"},
        {"a folder", [](const auto& d) { return d.Path(); }, "dummy"},
        {"empty name", [](const auto&) { return std::string(); }, "dummy"},
        {"no audio device", [](const auto& d) { return d.Touch("tone.wav", Tone(0.1)); },
         "no-such-driver"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        setenv("SDL_AUDIODRIVER", c.Driver, 1);
        TSdlSound sound;
        sound.Play(c.File(dir));
        sound.WaitIdle();
        const TSdlSound::TCounts counts = sound.Counts();
        EXPECT_EQ(counts.Silent, 1);
        EXPECT_EQ(counts.Opened + counts.PlayedOut + counts.Cut, 0);
    }
}

// Without a loadable SDL library: silence. The loader's state is the process's, so the case runs
// in a child of its own.
TEST_F(SdlSoundTest, NoSdlLibraryIsSilenceDeathTest) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string file = dir.Touch("tone.wav", Tone(0.1));
    dir.Touch("libSDL2-2.0.so.0", "not a library");
    EXPECT_EXIT(
        {
            media::AVLibLoader().Unload(media::lbSDL);
            media::AVLibLoader().SetLibraryPath(dir.Path());
            TSdlSound sound;
            sound.Play(file);
            sound.WaitIdle();
            const TSdlSound::TCounts counts = sound.Counts();
            exit(counts.Silent == 1 && counts.Opened == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace app
