#include "platform/sys/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sys/clock.h"
#include "platform/sys/env.h"
#include "support/temp_dir.h"

namespace {

TEST(Launcher, AnInstalledOpenerHearsEveryTargetAndTheSystemOneComesBack) {
    std::vector<std::string> heard;
    sys::SetDocumentOpener([&](const std::string& target) { heard.push_back(target); });
    sys::OpenDocument("https://example.org/help.html");
    sys::OpenDocument("");
    const sys::TDocumentOpener mine = sys::SetDocumentOpener({});
    EXPECT_EQ(heard, (std::vector<std::string>{"https://example.org/help.html", ""}));
    EXPECT_TRUE(bool(mine));
}

// The system opener runs the "xdg-open" first on PATH with the target as one argument, however
// the target is spelled: no shell ever reads it.
TEST(Launcher, TheSystemOpenerPassesTheTargetAsOneArgumentWithoutAShell) {
    testsupport::TTempDir dir;
    const std::string out = dir / "heard.txt";
    const std::string script =
        dir.Touch("xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + out + ".part'\nmv '" +
                                  out + ".part' '" + out + "'\n");
    chmod(script.c_str(), 0755);
    const std::string path = sys::GetEnv("PATH");
    sys::SetEnv("PATH", dir.Path() + ":" + path);
    const std::string target = "/home/user/视频/a b; touch '" + dir.File("hacked") + "'";
    sys::SystemOpenDocument(target);
    sys::SetEnv("PATH", path);
    // The opener runs on its own; give it a long while on a loaded machine.
    for (int i = 0; i < 3000 && !std::filesystem::exists(out); ++i) sys::SleepMs(10);
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "1|" + target);
    EXPECT_FALSE(std::filesystem::exists(dir.File("hacked")));
}

}  // namespace
