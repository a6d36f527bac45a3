// option.ini: every key read through its rule (missing, empty, "Error", unknown, valid: the value
// used and the text stored afterwards), the first start, the options written on OK, the place of
// the file when the program folder is read-only, and refused writes.
#include "app/settings_file.h"

#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

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
        if (rule.StoredBefore)
            text += "[" + std::string(rule.Section) + "]\r\n" + rule.Key + "=" + before + "\r\n";
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
    EXPECT_EQ(Lines(), "[OutPath]\r\nOutPath=" + home.Path() +
                           "/Zorvani视频软件/输出\r\n"
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

std::vector<std::string> OtherEntries(const std::string& folder);

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

// A write replaces the file through a new one beside it: a writable file in a folder that takes
// no new file cannot be saved safely, so the settings go under the config folder too.
TEST_F(TSettingsTest, AWritableFileInAReadOnlyFolderIsNotChosen) {
    testsupport::WriteFile(path, "[Skin]\r\nSetSkin=3\r\n");
    chmod(path.c_str(), 0666);
    chmod(home.Path().c_str(), 0777);
    chmod(program.Path().c_str(), 0555);
    const int failures = RunUnprivileged(
        [&] { return int(ChooseSettingsPath() != home.Path() + "/config/moradex/option.ini"); });
    EXPECT_EQ(failures, 0);
    chmod(program.Path().c_str(), 0755);
    EXPECT_EQ(Lines(), "[Skin]\r\nSetSkin=3\r\n");
    EXPECT_EQ(OtherEntries(program.Path()), std::vector<std::string>()) << "no probe left";
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

// The folder's entries besides option.ini: a failed write leaves no half-written file behind.
std::vector<std::string> OtherEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != "option.ini") names.push_back(entry.path().filename());
    return names;
}

// Settings a little short of `size` bytes, each key on its own line.
std::string SettingsOfSize(size_t size) {
    std::string text = "[Skin]\r\nSetSkin=3\r\n[Padding]\r\n";
    for (int i = 0; text.size() + 40 < size; ++i)
        text += "Key" + std::to_string(i) + "=" + std::string(24, 'x') + "\r\n";
    return text;
}

// A write that runs out of room halfway: the process may not make files larger than the old
// one, as a full disk would refuse. The old file stays byte for byte, the refusal is handed on,
// and no new file is left beside it.
TEST_F(TSettingsTest, AWriteCutShortLeavesTheOldFileWhole) {
    const std::string before = SettingsOfSize(4000);
    testsupport::WriteFile(path, before);
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{before.size() + 16, before.size() + 16};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(100);
        int bad = 0;
        TSettingsFile file(path);
        std::vector<std::string> refused;
        file.OnWriteRefused = [&](const std::string& m) { refused.push_back(m); };
        file.Write("OutPath", "OutPath", "/" + std::string(200, 'o'));
        bad += refused.size() != 1;
        TOptionsValues v;
        v.ThreadCount = std::string(100, '9');
        file.WriteOptions(v, true);
        bad += refused.size() != 2;
        for (const std::string& m : refused) bad += m != "Unable to write to " + path;
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Lines(), before);
    EXPECT_EQ(OtherEntries(program.Path()), std::vector<std::string>());
    // With room again the same write goes through.
    TSettingsFile(path).Write("OutPath", "OutPath", "/o");
    EXPECT_EQ(Stored("OutPath", "OutPath"), "/o");
    EXPECT_EQ(Stored("Padding", "Key0"), std::string(24, 'x'));
}

// The same on a file system that is really full: a small tmpfs of its own, mounted in a mount
// namespace of a child process (so nothing outlives the test), filled up, with option.ini taking
// one page that the rewrite outgrows. Needs the right to mount.
TEST_F(TSettingsTest, AFullFileSystemLeavesTheOldFileWhole) {
    constexpr int kCannotMount = 77;
    testsupport::TTempDir mountPoint;
    const std::string ini = mountPoint.File("option.ini");
    const std::string before = SettingsOfSize(4000);
    const pid_t pid = fork();
    if (pid == 0) {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", mountPoint.Path().c_str(), "tmpfs", 0, "size=16k,mode=0755") != 0)
            _exit(kCannotMount);
        int bad = 0;
        testsupport::WriteFile(ini, before);
        bad += testsupport::ReadFile(ini) != before;
        {
            std::ofstream filler(mountPoint.File("filler"), std::ios::binary);
            const std::string page(4096, 'f');
            for (int i = 0; i < 16 && filler.write(page.data(), page.size()).flush(); ++i) {
            }
        }
        TSettingsFile file(ini);
        std::vector<std::string> refused;
        file.OnWriteRefused = [&](const std::string& m) { refused.push_back(m); };
        file.Write("OutPath", "OutPath", "/" + std::string(200, 'o'));
        bad += (refused.size() != 1) << 1;
        bad += (testsupport::ReadFile(ini) != before) << 2;
        const std::vector<std::string> others = OtherEntries(mountPoint.Path());
        bad += (others != std::vector<std::string>{"filler"}) << 3;
        umount(mountPoint.Path().c_str());
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotMount)
        GTEST_SKIP() << "no right to mount a tmpfs here (needs root or CAP_SYS_ADMIN)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bit 1: no refusal, 2: the file changed, 3: left over";
}

// A stored folder that is no absolute path of this system, or holds bytes no path of ours
// has, counts as missing: the default is used and written back, and nothing is made where the
// value points.
TEST_F(TSettingsTest, ACorruptFolderValueFallsBackToTheDefault) {
    // Absolute ones under the test's home, so a failure makes nothing outside it.
    const std::string h = home.Path();
    const std::vector<std::string> values = {
        "relative/out",
        "out",
        "./out",
        "../out",
        "~/out",
        "\xff\xfe\x80garbage",
        h + "/\xff\xfe\x80garbage",
        h + "/\xc3(bad",
        h + "/out\001ctl",
        h + "/out\x7f",
        h + "/out\xc2\x85next",
        h + "/\xed\xa0\x80surrogate",
        h + "/\xc0\xafoverlong",
    };
    for (const char* key : {"OutPath", "Dir"}) {
        const std::string section = std::string(key) == "Dir" ? "SnapShot" : "OutPath";
        const std::string fallback =
            section == "OutPath" ? DefaultOutputFolder() : DefaultSnapshotFolder();
        for (const std::string& value : values) {
            SCOPED_TRACE(section + " stored as \"" + value + "\"");
            // Relative values would land in the current folder: make that one of ours.
            testsupport::TTempDir cwd;
            const std::string previous = sys::GetCurrentDir();
            ASSERT_TRUE(sys::SetCurrentDir(cwd.Path()));
            testsupport::WriteFile(path, "[" + section + "]\r\n" + key + "=" + value + "\r\n");
            TSettingsFile file(path);
            const std::string used = ReadKey(file, key);
            sys::SetCurrentDir(previous);
            EXPECT_EQ(used, fallback);
            EXPECT_EQ(Stored(section, key), fallback);
            EXPECT_EQ(OtherEntries(cwd.Path()), std::vector<std::string>()) << "made in the cwd";
            if (value[0] == '/') {
                EXPECT_FALSE(std::filesystem::exists(value)) << "made at the root";
            }
        }
    }
}

}  // namespace
}  // namespace app
