#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/engine/engine_test_support.h"
#include "media/engine/frame_hook.h"
#include "media/media_test_support.h"

namespace media {
namespace {

using test::TTestEngine;

// A decoder and an encoder context with just a picture description, for the video graph.
class TStreamPair {
public:
    TStreamPair(int inWidth, int inHeight, int outWidth, int outHeight) {
        ist.dec_ctx = lib::avcodec_alloc_context3(nullptr);
        ist.dec_ctx->width = inWidth;
        ist.dec_ctx->height = inHeight;
        ist.dec_ctx->pix_fmt = AV_PIX_FMT_YUV420P;
        ost.enc_ctx = lib::avcodec_alloc_context3(nullptr);
        ost.enc_ctx->width = outWidth;
        ost.enc_ctx->height = outHeight;
        ost.enc_ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    }
    ~TStreamPair() {
        lib::avcodec_free_context(&ist.dec_ctx);
        lib::avcodec_free_context(&ost.enc_ctx);
    }
    TStreamPair(const TStreamPair&) = delete;
    TStreamPair& operator=(const TStreamPair&) = delete;

    TAVInputStream ist;
    TAVOutputStream ost;
};

// The names of the graph's filters that we asked for (the library may add format converters).
std::vector<std::string> FilterKinds(const AVFilterGraph* graph) {
    std::vector<std::string> kinds;
    for (unsigned i = 0; i < graph->nb_filters; ++i) {
        std::string kind = graph->filters[i]->filter->name;
        std::string name = graph->filters[i]->name != nullptr ? graph->filters[i]->name : "";
        if (name.rfind("auto_", 0) != 0) kinds.push_back(kind);
    }
    return kinds;
}

class VideoGraphTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }
};

TEST_F(VideoGraphTest, SameSizeWithoutFiltersIsSourceToSink) {
    TTestEngine engine;
    TStreamPair pair(320, 240, 320, 240);
    ASSERT_EQ(engine.ConfigureFilters(pair.ist, pair.ost), 0);
    ASSERT_EQ(engine.FFilterGraphs.size(), 1u);
    EXPECT_EQ(FilterKinds(engine.FFilterGraphs[0]),
              (std::vector<std::string>{"buffer", "buffersink"}));
    EXPECT_NE(pair.ist.input_video_filter, nullptr);
    EXPECT_NE(pair.ist.out_video_filter, nullptr);
    EXPECT_STREQ(engine.FFilterGraphs[0]->scale_sws_opts, "flags=0x4");
}

TEST_F(VideoGraphTest, SinkWithoutAPictureGivesMinusOne) {
    TTestEngine engine;
    TStreamPair pair(320, 240, 320, 240);
    ASSERT_EQ(engine.ConfigureFilters(pair.ist, pair.ost), 0);
    AVFrame* frame = lib::av_frame_alloc();
    int64_t pts = 12345;
    EXPECT_EQ(engine.GetFilteredVideoPicture(pair.ist.out_video_filter, frame, pts), -1);
    EXPECT_EQ(pts, 12345);
    lib::av_frame_free(&frame);
}

TEST_F(VideoGraphTest, CropComesBeforeScale) {
    TTestEngine engine;
    TStreamPair pair(320, 240, 160, 120);
    pair.ost.video_crop = 1;
    pair.ost.topBand = 8;
    pair.ost.bottomBand = 8;
    pair.ost.leftBand = 16;
    ASSERT_EQ(engine.ConfigureFilters(pair.ist, pair.ost), 0);
    EXPECT_EQ(FilterKinds(engine.FFilterGraphs[0]),
              (std::vector<std::string>{"buffer", "buffersink", "crop", "scale"}));
    AVFilterContext* sink = pair.ist.out_video_filter;
    EXPECT_EQ(sink->inputs[0]->src->filter->name, std::string("scale"));
    EXPECT_EQ(sink->inputs[0]->src->inputs[0]->src->filter->name, std::string("crop"));
    EXPECT_EQ(sink->inputs[0]->src->inputs[0]->w, 304);
    EXPECT_EQ(sink->inputs[0]->src->inputs[0]->h, 224);
    EXPECT_EQ(pair.ost.enc_ctx->width, 160);
}

TEST_F(VideoGraphTest, UserChainGoesBetweenInAndOut) {
    TTestEngine engine;
    engine.ParseOption("vf", "hflip,pad=400:300");
    TStreamPair pair(320, 240, 320, 240);
    ASSERT_EQ(engine.ConfigureFilters(pair.ist, pair.ost), 0);
    EXPECT_EQ(FilterKinds(engine.FFilterGraphs[0]),
              (std::vector<std::string>{"buffer", "buffersink", "hflip", "pad"}));
    // The output takes the size the chain gives.
    EXPECT_EQ(pair.ost.enc_ctx->width, 400);
    EXPECT_EQ(pair.ost.enc_ctx->height, 300);
}

TEST_F(VideoGraphTest, EveryFailureIsMinusOne) {
    struct TCase {
        const char* Filters;
        int Width;
    };
    for (TCase c : {TCase{"nosuchfilter", 320}, TCase{"crop=1000:1000", 320}, TCase{"", 0}}) {
        TTestEngine engine;
        engine.ParseOption("vf", c.Filters);
        TStreamPair pair(c.Width, 240, 320, 240);
        EXPECT_EQ(engine.ConfigureFilters(pair.ist, pair.ost), -1) << c.Filters;
    }
    // Every graph of the job goes with the job.
    TTestEngine engine;
    TStreamPair first(320, 240, 320, 240);
    TStreamPair second(320, 240, 176, 144);
    ASSERT_EQ(engine.ConfigureFilters(first.ist, first.ost), 0);
    ASSERT_EQ(engine.ConfigureFilters(second.ist, second.ost), 0);
    EXPECT_EQ(engine.FFilterGraphs.size(), 2u);
    engine.ReleaseAll();
    EXPECT_TRUE(engine.FFilterGraphs.empty());
}

// --- hooks ---

TEST(VideoHookWords, SplitAtBarsOrSpaces) {
    struct TCase {
        std::string Command;
        std::vector<std::string> Words;
    };
    const TCase cases[] = {
        {"hook.so -a  1", {"hook.so", "-a", "1"}},
        {"my hook.so|-text|a b||c|", {"my hook.so", "-text", "a b", "c"}},
        {"  ", {}},
        {"", {}},
    };
    for (const TCase& c : cases) EXPECT_EQ(SplitHookWords(c.Command), c.Words) << c.Command;
    std::string many;
    for (int i = 0; i < 70; ++i) many += "w" + std::to_string(i) + " ";
    std::vector<std::string> words = SplitHookWords(many);
    ASSERT_EQ(words.size(), 64u);
    EXPECT_EQ(words.back(), "w63");
}

TEST(VideoHooks, LibrariesThatCannotHookAreRefused) {
    test::RequireLibraries();
    test::TLogCapture log;
    TFrameHookChain chain;
    EXPECT_EQ(FrameHookAdd(chain, {}), -2);
    EXPECT_EQ(FrameHookAdd(chain, {"/nonexistent/hook.so"}), -1);
    // A library without the entry point.
    EXPECT_EQ(FrameHookAdd(chain, {"libm.so.6"}), -2);
    EXPECT_TRUE(chain.empty());
    ASSERT_TRUE(log.WaitForLines(2));
    std::vector<std::string> lines = log.Messages();
    EXPECT_NE(lines[0].find("/nonexistent/hook.so"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "Failed to find Process entrypoint in libm.so.6");
}

}  // namespace
}  // namespace media
