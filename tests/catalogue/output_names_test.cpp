#include "catalogue/output_names.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using catalogue::MakeUniqueOutputFileName;
using catalogue::OutputFileNameFor;
using catalogue::TOutputNameRules;

TEST(OutputNames, NameFromFolderBaseNameAndExtension) {
    struct TCase {
        const char *folder, *input, *ext, *name;
    };
    const TCase cases[] = {
        {"/out", "/v/clip.rmvb", ".avi", "/out/clip.avi"},
        {"/out", "/v/movie", ".avi", "/out/movie.avi"},
        {"/out", "/v/a.b.mov", ".avi", "/out/a.b.avi"},
        {"/out", "/v.d/movie", ".mp4", "/out/movie.mp4"},
        {"/out/", "/v/clip.rmvb", ".avi", "/out/clip.avi"},
        {"/输出", "/v/视频 片段.mts", ".mpeg", "/输出/视频 片段.mpeg"},
    };
    for (const TCase& c : cases) EXPECT_EQ(OutputFileNameFor(c.folder, c.input, c.ext), c.name);
}

TEST(OutputNames, ExistingFilesGetTheFirstFreeNumber) {
    testsupport::TTempDir out;
    TOutputNameRules rules{out.Path(), false, {}};
    const std::string input = "/v/clip.rmvb";
    const std::string name = OutputFileNameFor(out.Path(), input, ".avi");

    EXPECT_EQ(MakeUniqueOutputFileName(name, input, rules), out / "clip.avi");
    out.Touch("clip.avi");
    EXPECT_EQ(MakeUniqueOutputFileName(name, input, rules), out / "clip_1.avi");
    out.Touch("clip_1.avi");
    EXPECT_EQ(MakeUniqueOutputFileName(name, input, rules), out / "clip_2.avi");
    out.Touch("clip_3.avi");  // a gap further up is not looked at
    EXPECT_EQ(MakeUniqueOutputFileName(name, input, rules), out / "clip_2.avi");

    rules.Overwrite = true;
    EXPECT_EQ(MakeUniqueOutputFileName(name, input, rules), out / "clip.avi");
}

TEST(OutputNames, FoldersDoNotCountButOtherEntriesDo) {
    testsupport::TTempDir out;
    const TOutputNameRules rules{out.Path(), false, {}};
    out.MakeFolder("clip.avi");
    EXPECT_EQ(MakeUniqueOutputFileName(out / "clip.avi", "/v/clip.rmvb", rules), out / "clip.avi");

    std::filesystem::create_symlink(out / "nowhere", out / "song.mp3");
    EXPECT_EQ(MakeUniqueOutputFileName(out / "song.mp3", "/v/song.wav", rules), out / "song_1.mp3");
}

TEST(OutputNames, PlannedOutputsCountAsTaken) {
    testsupport::TTempDir out;
    TOutputNameRules rules{out.Path(), false, {out / "x.avi"}};
    // Two queued inputs with one base name: the second gets its own output.
    EXPECT_EQ(MakeUniqueOutputFileName(out / "x.avi", "/b/x.mkv", rules), out / "x_1.avi");
    rules.PlannedPaths.push_back(out / "x_1.avi");
    out.Touch("x_2.avi");
    EXPECT_EQ(MakeUniqueOutputFileName(out / "x.avi", "/c/x.mov", rules), out / "x_3.avi");
    // Spelled differently, still the same file.
    rules.PlannedPaths = {out.Path() + "/./x.avi"};
    EXPECT_EQ(MakeUniqueOutputFileName(out / "x.avi", "/b/x.mkv", rules), out / "x_1.avi");

    // Overwriting replaces files on disk, never another row's output of the same queue.
    rules.Overwrite = true;
    out.Touch("x.avi");
    EXPECT_EQ(MakeUniqueOutputFileName(out / "x.avi", "/b/x.mkv", rules), out / "x_1.avi");
    rules.PlannedPaths.clear();
    EXPECT_EQ(MakeUniqueOutputFileName(out / "x.avi", "/b/x.mkv", rules), out / "x.avi");
}

TEST(OutputNames, TheInputItselfIsNeverTheOutput) {
    testsupport::TTempDir dir;
    dir.Touch("clip.avi");
    dir.Touch("clip_1.avi");
    const std::string input = dir / "clip.avi";
    for (bool overwrite : {false, true}) {
        const TOutputNameRules rules{dir.Path(), overwrite, {}};
        EXPECT_EQ(MakeUniqueOutputFileName(input, input, rules), dir / "clip_2.avi") << overwrite;
    }
    // The same file reached through a trailing delimiter or a link.
    const TOutputNameRules trailing{dir.Path() + "/", true, {}};
    EXPECT_EQ(MakeUniqueOutputFileName(input, input, trailing), dir / "clip_2.avi");
    std::filesystem::create_directory_symlink(dir.Path(), dir / "link");
    const TOutputNameRules viaLink{dir / "link", true, {}};
    EXPECT_EQ(MakeUniqueOutputFileName(input, input, viaLink), dir / "link/clip_2.avi");
}

TEST(OutputNames, EmptyFolderGivesNoName) {
    const TOutputNameRules rules{"", true, {}};
    EXPECT_EQ(MakeUniqueOutputFileName("/out/clip.avi", "/v/clip.rmvb", rules), "");
}

}  // namespace
