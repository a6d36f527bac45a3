#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sys/clock.h"
#include "platform/sys/launcher.h"
#include "platform/sys/power.h"
#include "platform/sys/sound.h"
#include "support/sys_fakes.h"
#include "support/temp_dir.h"

namespace {

TEST(PowerOff, TheRecordingRequesterHearsEachRequestAndTheSystemOneComesBack) {
    {
        testsupport::TRecordingPowerOff power;
        sys::RequestPowerOff();
        sys::RequestPowerOff();
        EXPECT_EQ(power.Requests(), 2);
    }
    // The fake put the system's requester back (empty means the system's).
    EXPECT_FALSE(bool(sys::SetPowerOffRequester({})));
}

// The real request is never sent: its argument vector runs through a stand-in program that
// writes down what it was given, one argument per line.
TEST(PowerOff, TheSystemRequestIsLogindsNonInteractivePowerOffOnTheSystemBus) {
    testsupport::TTempDir dir;
    const std::string out = dir / "heard.txt";
    const std::string script =
        dir.Touch("busctl", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out + ".part'\nmv '" + out +
                                ".part' '" + out + "'\n");
    chmod(script.c_str(), 0755);
    std::vector<std::string> argv = sys::PowerOffCommand();
    ASSERT_EQ(argv.front(), "busctl");
    argv.front() = script;
    sys::LaunchDetached(argv);
    // The program runs on its own; give it a long while on a loaded machine.
    for (int i = 0; i < 3000 && !std::filesystem::exists(out); ++i) sys::SleepMs(10);
    EXPECT_EQ(testsupport::ReadFile(out),
              "--system\ncall\norg.freedesktop.login1\n/org/freedesktop/login1\n"
              "org.freedesktop.login1.Manager\nPowerOff\nb\nfalse\n");
}

TEST(Sound, WithoutAPlayerNothingPlaysAndTheRecordingOneHearsEveryFileInOrder) {
    sys::PlaySoundFile("/nowhere/ring001.wav");
    {
        testsupport::TRecordingSound sound;
        sys::PlaySoundFile("/app/sounds/ring001.wav");
        sys::PlaySoundFile("");
        EXPECT_EQ(sound.Played(), (std::vector<std::string>{"/app/sounds/ring001.wav", ""}));
    }
    EXPECT_FALSE(bool(sys::SetSoundPlayer({})));
}

}  // namespace
