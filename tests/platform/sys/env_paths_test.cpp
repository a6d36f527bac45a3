#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/sys/env.h"
#include "platform/sys/files.h"
#include "platform/sys/paths.h"

namespace {

// Sets variables for one test and puts the old values back afterwards.
class TEnvOverride {
public:
    ~TEnvOverride() {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
            if (it->had)
                sys::SetEnv(it->name, it->value);
            else
                sys::UnsetEnv(it->name);
        }
    }
    void Set(const std::string& name, const std::string& value) {
        Save(name);
        sys::SetEnv(name, value);
    }
    void Unset(const std::string& name) {
        Save(name);
        sys::UnsetEnv(name);
    }

private:
    struct TSaved {
        std::string name;
        bool had;
        std::string value;
    };
    void Save(const std::string& name) {
        FSaved.push_back({name, sys::HasEnv(name), sys::GetEnv(name)});
    }
    std::vector<TSaved> FSaved;
};

TEST(EnvTest, SetReadUnset) {
    TEnvOverride env;
    env.Unset("MORADEX_TEST_VAR");
    EXPECT_FALSE(sys::HasEnv("MORADEX_TEST_VAR"));
    EXPECT_EQ(sys::GetEnv("MORADEX_TEST_VAR"), "");
    EXPECT_TRUE(sys::SetEnv("MORADEX_TEST_VAR", "值=1"));
    EXPECT_EQ(sys::GetEnv("MORADEX_TEST_VAR"), "值=1");
    EXPECT_TRUE(sys::SetEnv("MORADEX_TEST_VAR", ""));
    EXPECT_TRUE(sys::HasEnv("MORADEX_TEST_VAR")) << "set to empty is still set";
    EXPECT_TRUE(sys::UnsetEnv("MORADEX_TEST_VAR"));
    EXPECT_FALSE(sys::HasEnv("MORADEX_TEST_VAR"));
    EXPECT_FALSE(sys::SetEnv("", "x"));
    EXPECT_FALSE(sys::SetEnv("A=B", "x"));
}

TEST(PathsTest, AppPathIsTheExecutablesFolderUnlessOverridden) {
    TEnvOverride env;
    env.Unset("MORADEX_APPDIR");
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(sys::GetAppPath(), exe.parent_path().string() + "/");
    env.Set("MORADEX_APPDIR", "/opt/moradex");
    EXPECT_EQ(sys::GetAppPath(), "/opt/moradex/");
    env.Set("MORADEX_APPDIR", "/opt/moradex/");
    EXPECT_EQ(sys::GetAppPath(), "/opt/moradex/");
    env.Set("MORADEX_APPDIR", "");
    EXPECT_EQ(sys::GetAppPath(), exe.parent_path().string() + "/") << "empty means unset";
}

TEST(PathsTest, HomeAndConfigHome) {
    struct TCase {
        const char* home;
        const char* xdg;  // nullptr: unset
        const char* expectHome;
        const char* expectConfig;
    };
    const TCase cases[] = {
        {"/home/ann", nullptr, "/home/ann", "/home/ann/.config"},
        {"/home/ann/", nullptr, "/home/ann", "/home/ann/.config"},
        {"/home/ann", "/cfg/", "/home/ann", "/cfg"},
        {"/home/ann", "relative", "/home/ann", "/home/ann/.config"},
        {"/home/ann", "", "/home/ann", "/home/ann/.config"},
        {"/", nullptr, "/", "/.config"},
    };
    TEnvOverride env;
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.home << " " << (c.xdg ? c.xdg : "(unset)"));
        env.Set("HOME", c.home);
        if (c.xdg)
            env.Set("XDG_CONFIG_HOME", c.xdg);
        else
            env.Unset("XDG_CONFIG_HOME");
        EXPECT_EQ(sys::HomeDir(), c.expectHome);
        EXPECT_EQ(sys::ConfigHome(), c.expectConfig);
    }
}

TEST(PathsTest, HomeFallsBackToThePasswordEntry) {
    TEnvOverride env;
    env.Unset("HOME");
    EXPECT_FALSE(sys::HomeDir().empty());
    EXPECT_EQ(sys::HomeDir().front(), '/');
}

TEST(PathsTest, DesktopFromUserDirsThenDesktopThenHome) {
    char pattern[] = "/tmp/moradex-home-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string home = pattern;
    TEnvOverride env;
    env.Set("HOME", home);
    env.Unset("XDG_CONFIG_HOME");

    EXPECT_EQ(sys::DesktopDir(), home);
    ASSERT_TRUE(sys::ForceDirectories(home + "/Desktop"));
    EXPECT_EQ(sys::DesktopDir(), home + "/Desktop");
    ASSERT_TRUE(sys::ForceDirectories(home + "/.config"));
    ASSERT_TRUE(sys::ForceDirectories(home + "/桌面"));
    std::ofstream(home + "/.config/user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
        << "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n";
    EXPECT_EQ(sys::DesktopDir(), home + "/桌面");
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/gone\"\n";
    EXPECT_EQ(sys::DesktopDir(), home + "/Desktop") << "a configured folder that is missing";
    std::filesystem::remove_all(home);
}

}  // namespace
