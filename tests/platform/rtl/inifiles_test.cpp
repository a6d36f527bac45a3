#include "platform/rtl/inifiles.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lines.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/strings.h"
#include "support/temp_dir.h"

namespace rtl {
namespace {

using test::Lines;

const char kSample[] =
    "\xEF\xBB\xBF; settings of the converter\r\n"
    "[Options]\r\n"
    "Thread_Count=4\r\n"
    "  After_Done  =  2  \r\n"
    "Quoted=\"a b\" ;not a comment\r\n"
    "Empty=\r\n"
    "Hex=0x1F\r\n"
    "Dollar=$10\r\n"
    "Rate=29.97\r\n"
    "Bad=12abc\r\n"
    "no equals sign\r\n"
    "\r\n"
    "[ OutPath ]\n"
    "OutPath=/home/user/视频/输出\n"
    "; comment=not a key\n"
    "[SnapShot]\r"
    "Picture=BMP\r"
    "[options]\r\n"
    "Thread_Count=99\r\n";

// Every read rule holds for both kinds of INI object.
class IniReaders : public testing::TestWithParam<const char*> {
protected:
    std::unique_ptr<TCustomIniFile> Open(const std::string& fileName) {
        if (std::string(GetParam()) == "TIniFile") return std::make_unique<TIniFile>(fileName);
        return std::make_unique<TMemIniFile>(fileName);
    }
    testsupport::TTempDir FDir;
};

TEST_P(IniReaders, MissingFileGivesDefaults) {
    for (std::string fileName :
         {FDir.File("option.ini"), FDir.File("no/folder/option.ini"), FDir.Path()}) {
        SCOPED_TRACE(fileName);
        std::unique_ptr<TCustomIniFile> ini = Open(fileName);
        EXPECT_EQ(ini->ReadString("Options", "After_Done", "Error"), "Error");
        EXPECT_EQ(ini->ReadInteger("Options", "Thread_Count", 7), 7);
        EXPECT_TRUE(ini->ReadBool("Options", "Show_Preview", true));
        EXPECT_EQ(ini->ReadFloat("Options", "Rate", 1.5), 1.5);
        EXPECT_FALSE(ini->SectionExists("Options"));
        EXPECT_FALSE(ini->ValueExists("Options", "After_Done"));
        TStringList sections;
        sections.Add("stale");
        ini->ReadSections(sections);
        EXPECT_EQ(sections.Count(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(FDir.File("option.ini")));  // reading creates nothing
}

TEST_P(IniReaders, ReadRules) {
    testsupport::WriteFile(FDir.File("option.ini"), kSample);
    std::unique_ptr<TCustomIniFile> ini = Open(FDir.File("option.ini"));
    struct TCase {
        const char* section;
        const char* key;
        std::string expected;
    };
    const TCase cases[] = {
        {"Options", "Thread_Count", "4"},  // the first of two same-named sections wins
        {"OPTIONS", "thread_count", "4"},
        {"options", "AFTER_DONE", "2"},  // blanks around name and value dropped
        {"Options", " After_Done ", "2"},
        {"Options", "Quoted", "\"a b\" ;not a comment"},  // the value is kept exactly
        {"Options", "Empty", ""},                         // present but empty is not the default
        {"Options", "no equals sign", "Error"},
        {"outpath", "OutPath", "/home/user/视频/输出"},
        {"OutPath", "; comment", "Error"},
        {"snapshot", "picture", "BMP"},  // CR-only line ends
        {"Skin", "SetSkin", "Error"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini->ReadString(c.section, c.key, "Error"), c.expected);
    }
    EXPECT_EQ(ini->ReadInteger("Options", "Hex", 0), 31);
    EXPECT_EQ(ini->ReadInteger("Options", "Dollar", 0), 16);
    EXPECT_EQ(ini->ReadInteger("Options", "Bad", -1), -1);
    EXPECT_EQ(ini->ReadInteger("Options", "Empty", -1), -1);
    EXPECT_TRUE(ini->ReadBool("Options", "After_Done", false));
    EXPECT_DOUBLE_EQ(ini->ReadFloat("Options", "Rate", 0), 29.97);
    EXPECT_EQ(ini->ReadFloat("Options", "Bad", 2.0), 2.0);
    EXPECT_TRUE(ini->SectionExists("SNAPSHOT"));
    EXPECT_TRUE(ini->ValueExists("Options", "Empty"));
    EXPECT_FALSE(ini->ValueExists("Options", "Show_Preview"));

    TStringList list;
    ini->ReadSections(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Options", "OutPath", "SnapShot"}));
    ini->ReadSection("options", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Thread_Count", "After_Done", "Quoted",
                                                     "Empty", "Hex", "Dollar", "Rate", "Bad"}));
    ini->ReadSectionValues("OutPath", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"OutPath=/home/user/视频/输出"}));
}

INSTANTIATE_TEST_SUITE_P(Rtl, IniReaders, testing::Values("TIniFile", "TMemIniFile"));

TEST(TIniFile, WritesKeepTheRestOfTheFile) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("option.ini");
    testsupport::WriteFile(fileName,
                           "; keep me\n"
                           "[Options]\n"
                           "Thread_Count=4\n"
                           "After_Done=2\n"
                           "; options end here\n"
                           "\n"
                           "[Skin]\n"
                           "SetSkin=1\n");
    TIniFile ini(fileName);
    struct TCase {
        const char* section;
        const char* key;
        const char* value;
    };
    const TCase writes[] = {
        {"options", "after_done", "0"},      // in place, the caller's spelling
        {"Options", "Show_Preview", " 1 "},  // after the section's last key
        {"SnapShot", "Picture", "BMP"},      // a new section at the end
        {"snapshot", "Dir", "/tmp/快照"},
    };
    for (const TCase& w : writes) ini.WriteString(w.section, w.key, w.value);
    EXPECT_EQ(testsupport::ReadFile(fileName),
              "; keep me\r\n"
              "[Options]\r\n"
              "Thread_Count=4\r\n"
              "after_done=0\r\n"
              "Show_Preview=1\r\n"
              "; options end here\r\n"
              "\r\n"
              "[Skin]\r\n"
              "SetSkin=1\r\n"
              "[SnapShot]\r\n"
              "Picture=BMP\r\n"
              "Dir=/tmp/快照\r\n");
    EXPECT_EQ(ini.ReadString("OPTIONS", "AFTER_DONE", "Error"), "0");

    ini.DeleteKey("options", "THREAD_COUNT");
    ini.EraseSection("skin");
    ini.DeleteKey("Nowhere", "x");  // nothing to delete, nothing written
    EXPECT_EQ(testsupport::ReadFile(fileName),
              "; keep me\r\n"
              "[Options]\r\n"
              "after_done=0\r\n"
              "Show_Preview=1\r\n"
              "; options end here\r\n"
              "\r\n"
              "[SnapShot]\r\n"
              "Picture=BMP\r\n"
              "Dir=/tmp/快照\r\n");
}

TEST(TIniFile, TypedWritesAndANewFile) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("new.ini");
    TIniFile ini(fileName);
    ini.WriteInteger("Skin", "SetSkin", 0);
    ini.WriteBool("Options", "Show_Preview", true);
    ini.WriteFloat("Options", "Rate", 0.5);
    EXPECT_EQ(testsupport::ReadFile(fileName),
              "[Skin]\r\nSetSkin=0\r\n[Options]\r\nShow_Preview=1\r\nRate=0.5\r\n");
}

TEST(TIniFile, KeepsAByteOrderMarkItFound) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("bom.ini");
    testsupport::WriteFile(fileName, "\xEF\xBB\xBF[A]\r\nx=1\r\n");
    TIniFile(fileName).WriteString("A", "x", "2");
    EXPECT_EQ(testsupport::ReadFile(fileName), "\xEF\xBB\xBF[A]\r\nx=2\r\n");
}

TEST(TIniFile, SeesEditsBetweenReads) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("option.ini");
    TIniFile ini(fileName);
    testsupport::WriteFile(fileName, "[Skin]\nSetSkin=1\n");
    EXPECT_EQ(ini.ReadString("Skin", "SetSkin", "Error"), "1");
    testsupport::WriteFile(fileName, "[Skin]\nSetSkin=5\n");
    EXPECT_EQ(ini.ReadString("Skin", "SetSkin", "Error"), "5");
    std::filesystem::remove(fileName);
    EXPECT_EQ(ini.ReadString("Skin", "SetSkin", "Error"), "Error");
}

// Tests run as root, which ignores permission bits, so every refusal here comes from the
// file system's shape: no folder to create the file in, a folder where the file should be, or
// a plain file where a folder should be. Root cannot get past any of these.
TEST(TIniFile, RefusedWritesRaise) {
    testsupport::TTempDir dir;
    testsupport::WriteFile(dir.File("plain.txt"), "x");
    std::filesystem::create_directory(dir.File("folder.ini"));
    const std::string targets[] = {
        dir.File("missing/option.ini"),
        dir.File("folder.ini"),
        dir.File("plain.txt/option.ini"),
    };
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        TIniFile ini(target);
        try {
            ini.WriteString("Options", "After_Done", "0");
            ADD_FAILURE() << "no exception";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + target);
        }
        TMemIniFile memory(target);
        memory.WriteString("Options", "After_Done", "0");
        EXPECT_THROW(memory.UpdateFile(), EIniFileException);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
    // A file that exists but cannot be read is never overwritten with a guess.
    EXPECT_THROW(TIniFile(dir.File("folder.ini")).EraseSection("Options"), EIniFileException);
}

TEST(TIniFile, RefusesTextThatWouldBreakTheFileApart) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("option.ini");
    testsupport::WriteFile(fileName, "[A]\r\nx=1\r\n");
    TIniFile ini(fileName);
    struct TCase {
        const char* section;
        const char* key;
        const char* value;
    };
    const TCase cases[] = {
        {"A", "x", "1\r\n[Evil]\r\ny=2"},
        {"A", "x\ny", "1"},
        {"A", "x=y", "1"},
        {"A]", "x", "1"},
        {"A", "", "1"},
        {"", "x", "1"},
        {"A", "[B]", "1"},
        {"A", ";x", "1"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.section) + "|" + c.key + "|" + c.value));
        EXPECT_THROW(ini.WriteString(c.section, c.key, c.value), EIniFileException);
    }
    EXPECT_EQ(testsupport::ReadFile(fileName), "[A]\r\nx=1\r\n");
}

TEST(TMemIniFile, ReadsOnceAndWritesOnUpdate) {
    testsupport::TTempDir dir;
    std::string fileName = dir.File("skin.ini");
    testsupport::WriteFile(fileName,
                           "[VERSION]\nskinname=Jupiter\n; note\n[PICTURES]\npicture=a.bmp\n");
    TMemIniFile ini(fileName);
    testsupport::WriteFile(fileName, "[VERSION]\nskinname=changed\n");
    EXPECT_EQ(ini.ReadString("version", "SKINNAME", ""), "Jupiter");  // loaded once

    ini.EraseSection("PICTURES");
    ini.WriteString("PICTURES", "mask", "m.bmp");
    ini.WriteInteger("VERSION", "ver", 1);
    ini.DeleteKey("VERSION", "skinname");
    EXPECT_EQ(testsupport::ReadFile(fileName), "[VERSION]\nskinname=changed\n");  // not yet written
    ini.UpdateFile();
    EXPECT_EQ(testsupport::ReadFile(fileName),
              "[VERSION]\r\nver=1\r\n; note\r\n[PICTURES]\r\nmask=m.bmp\r\n");
}

// Reads go through an index of names; every edit that moves lines must keep it true.
TEST(TMemIniFile, LookUpsFollowEveryEdit) {
    TStringList text;
    text.SetText("[A]\nx=1\nx=2\n; end of A\n[B]\ny=1\n[a]\nz=3\n[C]\n; only a comment");
    TMemIniFile ini;
    ini.SetStrings(text);
    EXPECT_EQ(ini.ReadString("A", "x", "-"), "1");  // the first of two same-named keys
    EXPECT_EQ(ini.ReadString("A", "z", "-"), "-");  // the second [a] is hidden behind the first

    ini.WriteString("a", "w", "4");  // goes after x=2, before the comment
    ini.WriteString("A", "X", "5");
    ini.DeleteKey("A", "x");  // now the second x shows
    EXPECT_EQ(ini.ReadString("A", "x", "-"), "2");
    EXPECT_EQ(ini.ReadString("A", "w", "-"), "4");
    ini.WriteString("C", "k", "6");
    ini.WriteString("C", "m", "7");

    ini.EraseSection("A");  // the hidden [a] takes its place
    EXPECT_EQ(ini.ReadString("A", "z", "-"), "3");
    EXPECT_EQ(ini.ReadString("B", "y", "-"), "1");
    ini.WriteString("a", "z", "8");
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(Lines(lines), (std::vector<std::string>{"[B]", "y=1", "[a]", "z=8", "[C]", "k=6",
                                                      "m=7", "; only a comment"}));
    ini.ReadSections(lines);
    EXPECT_EQ(Lines(lines), (std::vector<std::string>{"B", "a", "C"}));
}

TEST(TMemIniFile, LivesInMemoryWithoutAFileName) {
    TStringList text;
    text.SetText("[FORMINFO]\nclrect=1,2,3,4\n[SKINOBJECTS]\ncount=0");
    TMemIniFile ini;
    ini.SetStrings(text);
    EXPECT_TRUE(ini.SectionExists("skinobjects"));
    EXPECT_EQ(ini.ReadString("FormInfo", "ClRect", "0,0,0,0"), "1,2,3,4");
    ini.WriteString("SKINOBJECTS", "count", "2");
    ini.UpdateFile();  // no file name: nothing to write, nothing raised
    TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(Lines(lines), (std::vector<std::string>{"[FORMINFO]", "clrect=1,2,3,4",
                                                      "[SKINOBJECTS]", "count=2"}));
    ini.Clear();
    EXPECT_FALSE(ini.SectionExists("FORMINFO"));
}

}  // namespace
}  // namespace rtl
