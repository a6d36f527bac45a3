// Conversions of files as they come from cameras, phones and cut downloads, each compared with
// what the ffmpeg tool makes of the same file with the same settings (the fixture script keeps
// the tool's output beside each input).
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/engine/run_test_support.h"
#include "media/media_test_support.h"

namespace media {
namespace {

using test::TRunEngine;

class RealMediaTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    // `input` converted with `options` into `output` (a name in the test's folder); the output
    // as it reads back.
    test::TFileInfo Convert(const std::string& input,
                            const std::vector<std::pair<std::string, std::string>>& options,
                            const std::string& output) {
        TRunEngine engine;
        engine.Open(input);
        engine.Apply(options);
        std::string name = FDir.File(output);
        engine.Output(name);
        std::string failure = engine.Run();
        EXPECT_EQ(failure, "") << input;
        return test::DescribeFile(name);
    }

    test::TTempDir FDir;
};

TEST_F(RealMediaTest, Explore) {
    const char* list = std::getenv("EXPLORE");
    if (list == nullptr) GTEST_SKIP();
    std::string all = list;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(',', start);
        if (end == std::string::npos) end = all.size();
        std::string input = all.substr(start, end - start);
        start = end + 1;
        for (const char* ext : {".avi", ".mkv"}) {
            test::TFileInfo out =
                std::getenv("DESCRIBE") != nullptr
                    ? test::DescribeFile(input + ".tool" + ext)
                    : Convert(input, {{"vcodec", "mpeg4"}, {"acodec", "mp2"}}, "out" + std::string(ext));
            std::printf("%s -> %s: %.3f s", input.c_str(), ext, out.Duration);
            for (const auto& s : out.Streams)
                std::printf("  [%dx%d %.3f s %d pk]", s.Width, s.Height, s.Duration, s.Packets);
            std::printf("\n");
        }
    }
}

}  // namespace
}  // namespace media
