#include "app/sdl_sound.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "media/libs/ffmpeg_loader.h"
#include "platform/sys/clock.h"
#include "platform/sys/sound.h"
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

// Live threads of the process. A joined thread's entry may stay a moment longer, dead.
int ThreadCount() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        const std::string stat = testsupport::ReadFile(entry.path() / "stat");
        const size_t name = stat.rfind(')');
        if (name != std::string::npos && name + 2 < stat.size() && stat[name + 2] != 'Z' &&
            stat[name + 2] != 'X')
            ++count;
    }
    return count;
}

// A hang guard only: the condition holds long before on any machine.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 6000 && !done(); ++i) sys::SleepMs(5);
    return done();
}

class SdlSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // ThreadSanitizer starts a helper thread of its own with the first thread: one started
        // here makes it part of every count taken before and after.
        std::thread([] {}).join();
    }
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

// While SDL's audio is up, SIGTERM, SIGINT and SIGHUP keep the actions the program gave them:
// SDL's own handlers would turn them into an event nobody reads.
TEST_F(SdlSoundTest, PlayingLeavesTheTerminationSignalsAlone) {
    const std::string longFile = dir.Touch("long.wav", Tone(120));
    TSdlSound sound;
    sound.Play(longFile);
    ASSERT_TRUE(WaitFor([&] { return sound.Counts().Opened == 1; }));
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction action {};
        sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
    sound.Shutdown();
}

// Play returns while a long sound still plays; a newer sound, or Shutdown, cuts it.
TEST_F(SdlSoundTest, ANewSoundOrShutdownCutsOneStillPlaying) {
    const std::string longFile = dir.Touch("long.wav", Tone(120));
    const std::string shortFile = dir.Touch("short.wav", Tone(0.1));
    TSdlSound sound;
    sound.Play(longFile);
    ASSERT_TRUE(WaitFor([&] { return sound.Counts().Opened == 1; }));
    sound.Play(shortFile);
    sound.WaitIdle();
    TSdlSound::TCounts counts = sound.Counts();
    EXPECT_EQ(counts.Opened, 2);
    EXPECT_EQ(counts.Cut, 1);
    EXPECT_EQ(counts.PlayedOut, 1);

    sound.Play(longFile);
    ASSERT_TRUE(WaitFor([&] { return sound.Counts().Opened == 3; }));
    sound.Shutdown();
    EXPECT_EQ(sound.Counts().Cut, 2);
    // A player shut down plays again.
    sound.Play(shortFile);
    sound.WaitIdle();
    EXPECT_EQ(sound.Counts().PlayedOut, 2);
}

// What the program does: the player installed at start-up hears sys::PlaySoundFile and returns
// while the sound plays; removing it at exit cuts the sound and leaves no thread behind.
TEST_F(SdlSoundTest, TheInstalledPlayerReturnsAtOnceAndItsRemovalLeavesNoThread) {
    const std::string longFile = dir.Touch("long.wav", Tone(120));
    const int threads = ThreadCount();
    const TSdlSound::TCounts before = SdlSound().Counts();
    InstallSdlSound();
    sys::PlaySoundFile(longFile);
    ASSERT_TRUE(WaitFor([&] { return SdlSound().Counts().Opened == before.Opened + 1; }));
    RemoveSdlSound();
    EXPECT_EQ(SdlSound().Counts().Cut, before.Cut + 1);
    EXPECT_EQ(ThreadCount(), threads);
    // Silence again.
    sys::PlaySoundFile(longFile);
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_EQ(SdlSound().Counts().Opened, before.Opened + 1);
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
