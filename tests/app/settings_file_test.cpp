// option.ini: every key read through its rule (missing, empty, "Error", unknown, valid: the value
// used and the text stored afterwards), the first start, the options written on OK, the place of
// the file when the program folder is read-only, and refused writes.
#include "app/settings_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/inifiles.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TTempDir;

class TSettingsTest : public ::testing::Test {
public:
    void SetUp() override {
        setenv("HOME", home.Path().c_str(), 1);
        setenv("MORADEX_APPDIR", program.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home.Path() + "/config").c_str(), 1);
    }
    std::string Stored(const std::string& section, const std::string& key) const {
        return rtl::TIniFile(path).ReadString(section, key, "<absent>");
    }
    std::string Lines() const { return testsupport::ReadFile(path); }

    TTempDir home, program;
    std::string path = program.File("option.ini");
};

struct TKeyRule {
    const char* Section;
    const char* Key;
    std::optional<std::string> StoredBefore;  // nullopt: no such key
    std::string Used;                         // what the read gives
    std::string StoredAfter;                  // "<default>" stands for the default folder
};

// The value a read gives, as text.
std::string ReadKey(TSettingsFile& file, const std::string& key) {
    if (key == "OutPath") return file.ReadOutPath();
    if (key == "SetSkin") {
        const std::optional<int> index = file.ReadSkin();
        return index ? std::to_string(*index) : "none";
    }
    if (key == "Dir") return file.ReadSnapshotDir();
    if (key == "Picture") return file.ReadPicture();
    const TOptionsValues v = file.ReadOptions();
    if (key == "Thread_Count") return v.ThreadCount;
    if (key == "After_Done") return std::to_string(v.AfterDone);
    if (key == "Thread_Priority") return std::to_string(v.ThreadPriority);
    if (key == "Overwrite_File") return std::to_string(v.OverwriteFile);
    return v.ShowPreview ? "on" : "off";
}

TEST_F(TSettingsTest, EveryKeyFollowsItsReadRule) {
    const std::optional<std::string> absent;
    const std::string out = "<out>", snap = "<snap>";
    const std::vector<TKeyRule> rules = {
        {"Options", "Thread_Count", absent, "1", "0"},
        {"Options", "Thread_Count", "", "1", "0"},
        {"Options", "Thread_Count", "Error", "1", "0"},
        {"Options", "Thread_Count", "x", "1", "0"},
        {"Options", "Thread_Count", "20", "1", "0"},
        {"Options", "Thread_Count", "07", "1", "0"},
        {"Options", "Thread_Count", "0", "1", "0"},
        {"Options", "Thread_Count", "7", "7", "7"},
        {"Options", "Thread_Count", "19", "19", "19"},
        {"Options", "After_Done", absent, "0", "0"},
        {"Options", "After_Done", "", "0", "0"},
        {"Options", "After_Done", "Error", "0", "0"},
        {"Options", "After_Done", "4", "0", "0"},
        {"Options", "After_Done", "2", "2", "2"},
        {"Options", "Thread_Priority", absent, "3", "3"},
        {"Options", "Thread_Priority", "", "3", "3"},
        {"Options", "Thread_Priority", "Error", "3", "3"},
        {"Options", "Thread_Priority", "normal", "3", "3"},
        {"Options", "Thread_Priority", "1", "1", "1"},
        {"Options", "Overwrite_File", absent, "1", "1"},
        {"Options", "Overwrite_File", "", "1", "1"},
        {"Options", "Overwrite_File", "Error", "1", "1"},
        {"Options", "Overwrite_File", "2", "1", "1"},
        {"Options", "Overwrite_File", "0", "0", "0"},
        {"Options", "Show_Preview", absent, "off", "0"},
        {"Options", "Show_Preview", "", "off", "0"},
        {"Options", "Show_Preview", "Error", "off", "0"},
        {"Options", "Show_Preview", "yes", "off", "0"},
        {"Options", "Show_Preview", "1", "on", "1"},
        {"OutPath", "OutPath", absent, out, out},
        {"OutPath", "OutPath", "", out, out},
        {"OutPath", "OutPath", "Error", out, out},
        {"OutPath", "OutPath", "D:\\out", out, out},
        {"OutPath", "OutPath", "relative/out", out, out},
        {"OutPath", "OutPath", "<mine>", "<mine>", "<mine>"},
        {"Skin", "SetSkin", absent, "0", "0"},
        {"Skin", "SetSkin", "", "0", "0"},
        {"Skin", "SetSkin", "Error", "0", "0"},
        {"Skin", "SetSkin", "abc", "0", "0"},
        {"Skin", "SetSkin", "7", "7", "7"},
        {"Skin", "SetSkin", "8", "8", "8"},
        {"Skin", "SetSkin", "-1", "-1", "-1"},
        {"SnapShot", "Dir", absent, snap, snap},
        {"SnapShot", "Dir", "", snap, snap},
        {"SnapShot", "Dir", "Error", snap, snap},
        {"SnapShot", "Dir", "D:\\shots", snap, snap},
        {"SnapShot", "Dir", "<mine>", "<mine>", "<mine>"},
        {"SnapShot", "Picture", absent, "BMP", "BMP"},
        {"SnapShot", "Picture", "", "BMP", "BMP"},
        {"SnapShot", "Picture", "Error", "BMP", "BMP"},
        {"SnapShot", "Picture", "png", "BMP", "BMP"},
        {"SnapShot", "Picture", "PNG", "PNG", "PNG"},
    };
    const std::string mine = home.File("mine/folder");
    auto expand = [&](const std::string& text) {
        if (text == out) return DefaultOutputFolder();
        if (text == snap) return DefaultSnapshotFolder();
        if (text == "<mine>") return mine;
        return text;
    };
    for (const TKeyRule& rule : rules) {
        const std::string before = rule.StoredBefore ? expand(*rule.StoredBefore) : "<absent>";
        SCOPED_TRACE(std::string(rule.Key) + " stored as \"" + before + "\"");
        // The file exists: a key of another section keeps it from being "no file".
        std::string text = "[Other]\r\nKeep=1\r\n";
        if (rule.StoredBefore) text += "[" + std::string(rule.Section) + "]\r\n" +
                                       rule.Key + "=" + before + "\r\n";
        testsupport::WriteFile(path, text);
        sys::RemoveDir(mine);
        TSettingsFile file(path);
        EXPECT_EQ(ReadKey(file, rule.Key), expand(rule.Used));
        EXPECT_EQ(Stored(rule.Section, rule.Key), expand(rule.StoredAfter));
        EXPECT_EQ(Stored("Other", "Keep"), "1");
        const std::string used = expand(rule.Used);
        if (used[0] == '/') EXPECT_TRUE(sys::DirectoryExists(used)) << "the folder is made";
    }
}

TEST_F(TSettingsTest, AFirstStartWritesTheDefaultsInOrder) {
    TSettingsFile file(path);
    ASSERT_FALSE(file.Exists());
    // The main window's reads come first, then the options dialog's.
    EXPECT_EQ(file.ReadOutPath(), home.Path() + "/Zorvani视频软件/输出");
    EXPECT_EQ(file.ReadSkin(), 0) << "the output folder's read made the file";
    const TOptionsValues v = file.ReadOptions();
    EXPECT_EQ(v.ThreadCount, "1");
    EXPECT_EQ(v.AfterDone, 0);
    EXPECT_FALSE(v.ShowPreview);
    EXPECT_EQ(v.ThreadPriority, 3);
    EXPECT_EQ(v.OverwriteFile, 1);
    EXPECT_TRUE(sys::DirectoryExists(home.Path() + "/Zorvani视频软件/输出"));
    EXPECT_EQ(Lines(),
              "[OutPath]\r\nOutPath=" + home.Path() + "/Zorvani视频软件/输出\r\n"
              "[Skin]\r\nSetSkin=0\r\n"
              "[Options]\r\nThread_Count=0\r\nAfter_Done=0\r\nThread_Priority=3\r\n"
              "Overwrite_File=1\r\nShow_Preview=0\r\n");
}

TEST_F(TSettingsTest, OptionsWithoutAFileGetTheFiveDefaultsInOneGo) {
    TSettingsFile file(path);
    const TOptionsValues v = file.ReadOptions();
    EXPECT_EQ(v.ThreadCount, "1");
    EXPECT_EQ(Lines(),
              "[Options]\r\nThread_Count=0\r\nAfter_Done=0\r\nShow_Preview=0\r\n"
              "Thread_Priority=3\r\nOverwrite_File=1\r\n");
}

TEST_F(TSettingsTest, OkWritesTheFiveKeysInOrderAndThreadCountOnlyInMultiThreadMode) {
    testsupport::WriteFile(path, "[Skin]\r\nSetSkin=3\r\n");
    TSettingsFile file(path);
    TOptionsValues v;
    v.ThreadCount = "4";
    v.AfterDone = 2;
    v.ShowPreview = true;
    v.ThreadPriority = 1;
    v.OverwriteFile = 0;
    file.WriteOptions(v, true);
    EXPECT_EQ(Lines(),
              "[Skin]\r\nSetSkin=3\r\n[Options]\r\nThread_Count=4\r\nAfter_Done=2\r\n"
              "Show_Preview=1\r\nThread_Priority=1\r\nOverwrite_File=0\r\n");
    v.ThreadCount = "9";
    file.WriteOptions(v, false);
    EXPECT_EQ(Stored("Options", "Thread_Count"), "4");
}

TEST_F(TSettingsTest, TheOutputFolderIsWrittenOnlyWhenItExists) {
    TSettingsFile file(path);
    file.WriteOutPath(home.File("nowhere"));
    EXPECT_FALSE(file.Exists());
    home.MakeFolder("here");
    file.WriteOutPath(home.File("here"));
    EXPECT_EQ(Stored("OutPath", "OutPath"), home.File("here"));
}

// Runs `body` as an unprivileged user when the suite runs as root (root writes anywhere), in a
// child process; the child's exit status is the count of failed checks.
int RunUnprivileged(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST_F(TSettingsTest, AReadOnlyProgramFolderPutsTheFileUnderTheConfigFolder) {
    chmod(home.Path().c_str(), 0777);
    chmod(program.Path().c_str(), 0555);
    const int failures = RunUnprivileged([&] {
        int bad = 0;
        const std::string chosen = ChooseSettingsPath();
        bad += chosen != home.Path() + "/config/moradex/option.ini";
        bad += !sys::DirectoryExists(home.Path() + "/config/moradex");
        bad += sys::FileExists(path);
        return bad;
    });
    EXPECT_EQ(failures, 0);
    chmod(program.Path().c_str(), 0755);
}

TEST_F(TSettingsTest, AWritableProgramFolderKeepsTheFileThereWithoutMakingIt) {
    EXPECT_EQ(ChooseSettingsPath(), path);
    EXPECT_FALSE(sys::FileExists(path)) << "the writability probe leaves no file";
}

TEST_F(TSettingsTest, ARefusedWriteRaisesOrIsHandedToTheStartUpHandler) {
    chmod(home.Path().c_str(), 0777);
    chmod(program.Path().c_str(), 0555);
    const int failures = RunUnprivileged([&] {
        int bad = 0;
        TSettingsFile file(path);
        try {
            file.WriteSkin(2);
            ++bad;
        } catch (const rtl::EIniFileException& e) {
            bad += std::string(e.what()) != "Unable to write to " + path;
        }
        std::vector<std::string> refused;
        file.OnWriteRefused = [&](const std::string& m) { refused.push_back(m); };
        bad += file.ReadOutPath() != DefaultOutputFolder();
        bad += file.ReadSkin() != std::nullopt;
        const TOptionsValues v = file.ReadOptions();
        bad += v.ThreadCount != "1" || v.ThreadPriority != 3;
        bad += refused.size() != 3;
        for (const std::string& m : refused) bad += m != "Unable to write to " + path;
        return bad;
    });
    EXPECT_EQ(failures, 0);
    chmod(program.Path().c_str(), 0755);
}

}  // namespace
}  // namespace app
