#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/unicode_protocol.h"
#include "media/media_test_support.h"
#include "media/probe/av_probe.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace media {
namespace {

// The GOP-12 clip at 25 fps: key frames at 0, 0.48, 0.96, 1.44 and 1.92 s, the last picture at
// 1.96 s.
constexpr int64_t kFrame = 40000;

class FrameGrabberTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequireLibraries();
        ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kClipAvi))) << FProbe.LastErrMsg();
    }

    // Seeks back to the key frame before `pts` and decodes forward to it.
    void DecodeAt(int64_t pts) {
        ASSERT_TRUE(FProbe.Seek(pts, {sfBackward})) << FProbe.LastErrMsg();
        do {
            ASSERT_TRUE(FProbe.Decode()) << FProbe.LastErrMsg();
        } while (FProbe.FrameInfo().PTS < pts);
        ASSERT_EQ(FProbe.FrameInfo().PTS, pts);
    }

    TAVProbe FProbe;
};

TEST_F(FrameGrabberTest, FirstDecodeGivesTheFirstKeyPicture) {
    ASSERT_TRUE(FProbe.Decode());
    const TFrameInfo& frame = FProbe.FrameInfo();
    EXPECT_TRUE(frame.Ready);
    EXPECT_EQ(frame.PTS, 0);
    EXPECT_TRUE(frame.IsKeyFrame);
    EXPECT_EQ(frame.PictureType, ptI);
    EXPECT_EQ(frame.StreamIndex, 0);
    EXPECT_EQ(frame.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(frame.Width, 320);
    EXPECT_EQ(frame.Height, 240);
    EXPECT_EQ(frame.OriginalDTS, 0);
    EXPECT_GT(frame.Position, 0);
    EXPECT_GE(frame.Size, 320 * 240 * 3 / 2);

    ASSERT_TRUE(FProbe.Decode());
    EXPECT_EQ(FProbe.FrameInfo().PTS, kFrame);
    EXPECT_FALSE(FProbe.FrameInfo().IsKeyFrame);
    EXPECT_EQ(FProbe.FrameInfo().PictureType, ptP);
}

TEST_F(FrameGrabberTest, CopyToBitmapNeedsADecodedPicture) {
    std::unique_ptr<gfx::TBitmap> owned = CreateFrameBitmap(1, 1, 32);
    gfx::TBitmap& bitmap = *owned;
    EXPECT_FALSE(FProbe.CopyToBitmap(bitmap));
    EXPECT_EQ(FProbe.LastErrMsg(), "picture not ready, please decode first");

    ASSERT_TRUE(FProbe.Decode());
    ASSERT_TRUE(FProbe.CopyToBitmap(bitmap));
    EXPECT_EQ(bitmap.Width(), 320);
    EXPECT_EQ(bitmap.Height(), 240);
    EXPECT_EQ(BitsPerPixel(bitmap), 24);
    // The test picture is colourful: its rows are not black.
    int lit = 0;
    for (int x = 0; x < 320 * 3; ++x) lit += bitmap.ScanLine(120)[x] > 32;
    EXPECT_GT(lit, 320);

    // A seek empties the picture again.
    ASSERT_TRUE(FProbe.Seek(0));
    EXPECT_FALSE(FProbe.FrameInfo().Ready);
    EXPECT_FALSE(FProbe.CopyToBitmap(bitmap));
}

TEST(FrameGrabberOddWidths, TheScalerReadsNothingPastThePictureCopy) {
    // The copy is moved to the end of readable memory, a page that cannot be read right behind
    // its bytes: a scaler that reads past them ends the process.
    test::RequireLibraries();
    for (const char* format : {"yuv420p.mkv", "nv12.avi"}) {
        for (int width : {33, 161, 175}) {
            SCOPED_TRACE(rtl::Format("%d %s", width, format));
            test::RunInOwnProcess([width, format] {
                TAVProbe probe;
                if (!probe.LoadFile(
                        fixtures::Path(rtl::Format("odd_width_%d_%s", width, format))) ||
                    !probe.Decode())
                    return "not decoded: " + probe.LastErrMsg();
                const TFrameInfo& info = probe.FrameInfo();
                if (info.Width != width) return std::string("wrong width");
                size_t page = size_t(sysconf(_SC_PAGESIZE));
                size_t span = (size_t(info.Size) + page - 1) / page * page;
                auto* memory =
                    static_cast<uint8_t*>(mmap(nullptr, span + page, PROT_READ | PROT_WRITE,
                                               MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
                if (memory == MAP_FAILED || mprotect(memory + span, page, PROT_NONE) != 0)
                    return std::string("no guard page");
                uint8_t* copy = memory + span - size_t(info.Size);
                std::memcpy(copy, info.Buffer, size_t(info.Size));
                TAVPicture picture;
                for (int plane = 0; plane < 4; ++plane) {
                    picture.data[plane] = info.Picture.data[plane] != nullptr
                                              ? copy + (info.Picture.data[plane] - info.Buffer)
                                              : nullptr;
                    picture.linesize[plane] = info.Picture.linesize[plane];
                }
                TRGBConvertContext context;
                ResetRGBConvertContext(context);
                bool converted = PictureToBitmap(context, picture, AVPixelFormat(info.PixFmt),
                                                 info.Width, info.Height);
                ResetRGBConvertContext(context);
                munmap(memory, span + page);
                return std::string(converted ? "" : "not converted");
            });
        }
    }
}

TEST_F(FrameGrabberTest, StepsBetweenKeyFramesAndBack) {
    struct TCase {
        const char* Name;
        int64_t From;  // -1: right after opening
        bool (TAVProbe::*Step)(int);
        int64_t To;
    };
    const std::vector<TCase> cases = {
        {"next key from the start", -1, &TAVProbe::DecodeNextKeyFrame, 480000},
        {"next key from a key frame", 480000, &TAVProbe::DecodeNextKeyFrame, 960000},
        {"next key from between", 1000000, &TAVProbe::DecodeNextKeyFrame, 1440000},
        {"previous frame", 1000000, &TAVProbe::DecodePreviousFrame, 960000},
        {"previous frame over a key frame", 960000, &TAVProbe::DecodePreviousFrame, 920000},
        {"previous frame inside a group", 1120000, &TAVProbe::DecodePreviousFrame, 1080000},
        {"previous key from between", 1000000, &TAVProbe::DecodePreviousKeyFrame, 960000},
        {"previous key from a key frame", 960000, &TAVProbe::DecodePreviousKeyFrame, 480000},
        {"previous key from the last picture", 1960000, &TAVProbe::DecodePreviousKeyFrame, 1920000},
        {"previous key before any picture", -1, &TAVProbe::DecodePreviousKeyFrame, 1920000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kClipAvi)));
        if (c.From >= 0) DecodeAt(c.From);
        ASSERT_TRUE((FProbe.*c.Step)(-1)) << FProbe.LastErrMsg();
        EXPECT_EQ(FProbe.FrameInfo().PTS, c.To);
        if (c.Step != &TAVProbe::DecodePreviousFrame) {
            EXPECT_TRUE(FProbe.FrameInfo().IsKeyFrame);
        }
    }
}

TEST_F(FrameGrabberTest, PreviousKeyFrameOfAnMp4Clip) {
    // The MP4 reader seeks without moving the file position: the step back must not take that
    // for a seek that failed to get back.
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kClipMp4)));
    DecodeAt(1960000);
    ASSERT_TRUE(FProbe.DecodePreviousKeyFrame());
    EXPECT_EQ(FProbe.FrameInfo().PTS, 1920000);
    DecodeAt(1000000);
    ASSERT_TRUE(FProbe.DecodePreviousFrame());
    EXPECT_EQ(FProbe.FrameInfo().PTS, 960000);
    ASSERT_TRUE(FProbe.DecodePreviousKeyFrame());
    EXPECT_EQ(FProbe.FrameInfo().PTS, 480000);
}

// Counts the seeks a step back makes.
class TCountingProbe : public TAVProbe {
public:
    int64_t SeekCount() const { return FSeekCount; }
};

TEST(FrameGrabberSeeks, AStepBackCostsSeeksLogarithmicInTheFrameAndLinearInTwoSecondStrides) {
    // MPEG-TS seeks land late, so every stride that does not reach the previous key frame costs
    // a seek. Strides double from one frame up to 2 s: a gap of G seconds at 25 fps needs at most
    // log2(2 s / 40 ms) < 6 doubling seeks, then G / 2 s capped ones, plus the seek back to the
    // nearest key frame found. One frame per seek would cost 100 to 250 here.
    test::RequireLibraries();
    struct TCase {
        const char* Name;
        int64_t From;  // relative to the first picture
        int64_t To;
    };
    const std::vector<TCase> cases = {
        {"from the last picture", 9960000, 8000000},
        {"from a key frame", 8000000, 4000000},
        {"from inside a group", 7000000, 4000000},
        {"to the first picture", 3960000, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCountingProbe probe;
        ASSERT_TRUE(probe.LoadFile(fixtures::Path(fixtures::kLongGopTs))) << probe.LastErrMsg();
        ASSERT_TRUE(probe.Decode()) << probe.LastErrMsg();
        const int64_t start = probe.FrameInfo().PTS;
        while (probe.FrameInfo().PTS - start < c.From) ASSERT_TRUE(probe.Decode());
        ASSERT_EQ(probe.FrameInfo().PTS - start, c.From);

        const int64_t before = probe.SeekCount();
        ASSERT_TRUE(probe.DecodePreviousKeyFrame()) << probe.LastErrMsg();
        EXPECT_EQ(probe.FrameInfo().PTS - start, c.To);
        EXPECT_TRUE(probe.FrameInfo().IsKeyFrame);
        const int64_t gap = c.From - c.To;
        EXPECT_LE(probe.SeekCount() - before, 6 + (gap + 1999999) / 2000000 + 1);
    }
}

TEST(FrameGrabberEnd, PreviousKeyFrameAtTheStartOfTheStreamReturns) {
    // Each file in a process of its own that an alarm ends when the step back never returns: a
    // hang guard only, generous enough for a loaded machine.
    for (const char* name : {fixtures::kClipAvi, fixtures::kLateKeyMkv}) {
        SCOPED_TRACE(name);
        test::RunInOwnProcess([name] {
            alarm(60);
            AVLibLoader().SetLibraryPath("");
            if (!AVLibLoader().Load(AVProbeLibraries)) return AVLibLoader().LastErrMsg();
            TAVProbe probe;
            if (!probe.LoadFile(fixtures::Path(name))) return probe.LastErrMsg();
            if (!probe.Decode()) return probe.LastErrMsg();
            int64_t first = probe.FrameInfo().PTS;
            std::string failures;
            failures += test::Check(probe.DecodePreviousKeyFrame(), probe.LastErrMsg());
            failures += test::Check(probe.FrameInfo().PTS == first, "not the first picture");
            failures += test::Check(probe.DecodePreviousFrame(), probe.LastErrMsg());
            failures += test::Check(probe.FrameInfo().PTS == first, "not the first picture");
            return failures;
        });
    }
}

TEST_F(FrameGrabberTest, LateKeyClipStartsWithItsFirstDecodablePicture) {
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kLateKeyMkv)));
    ASSERT_TRUE(FProbe.Decode());
    EXPECT_EQ(FProbe.FrameInfo().PTS, 280000);
    EXPECT_TRUE(FProbe.FrameInfo().IsKeyFrame);
}

TEST_F(FrameGrabberTest, EndOfFileHoldsUntilTheNextSeek) {
    DecodeAt(1960000);
    EXPECT_FALSE(FProbe.Decode());
    EXPECT_EQ(FProbe.LastErrMsg(), "stream eof reached.");
    EXPECT_TRUE(FProbe.Eof());
    // The last picture stays for copying.
    EXPECT_TRUE(FProbe.FrameInfo().Ready);
    EXPECT_EQ(FProbe.FrameInfo().PTS, 1960000);
    EXPECT_FALSE(FProbe.Decode());
    EXPECT_TRUE(FProbe.Eof());

    EXPECT_FALSE(FProbe.DecodeNextKeyFrame());
    EXPECT_TRUE(FProbe.Eof());

    ASSERT_TRUE(FProbe.Seek(0));
    EXPECT_FALSE(FProbe.Eof());
    ASSERT_TRUE(FProbe.Decode());
    EXPECT_EQ(FProbe.FrameInfo().PTS, 0);
}

TEST_F(FrameGrabberTest, SeekTargets) {
    struct TCase {
        const char* Name;
        int64_t Target;
        TSeekFlags Flags;
        int64_t FirstPicture;
    };
    const std::vector<TCase> cases = {
        {"a negative time is the start", -5000000, {}, 0},
        {"zero", 0, {sfBackward}, 0},
        {"backward to the key frame before", 1300000, {sfBackward}, 960000},
        {"forward to the key frame after", 1300000, {}, 1440000},
        {"any frame", 1000000, {sfAny}, 1000000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_TRUE(FProbe.Decode());
        ASSERT_TRUE(FProbe.Seek(c.Target, c.Flags)) << FProbe.LastErrMsg();
        EXPECT_FALSE(FProbe.FrameInfo().Ready);
        EXPECT_EQ(FProbe.LastErrMsg(),
                  "seek to position " + std::to_string(FProbe.Position()) + " bytes");
        ASSERT_TRUE(FProbe.Decode());
        EXPECT_EQ(FProbe.FrameInfo().PTS, c.FirstPicture);
    }
}

TEST_F(FrameGrabberTest, ByteSeekPassesThePositionUnchanged) {
    ASSERT_TRUE(FProbe.Seek(100000, {sfByte}));
    EXPECT_EQ(FProbe.LastErrMsg(), "seek to position 100000 bytes");
    EXPECT_EQ(FProbe.Position(), 100000);
    ASSERT_TRUE(FProbe.Decode());
    EXPECT_GT(FProbe.FrameInfo().PTS, 0);
}

TEST_F(FrameGrabberTest, SeekBeyondTheEndReachesIt) {
    EXPECT_FALSE(FProbe.Seek(60000000));
    EXPECT_TRUE(FProbe.Eof());
    EXPECT_FALSE(FProbe.Decode());
    EXPECT_EQ(FProbe.LastErrMsg(), "stream eof reached.");
}

TEST_F(FrameGrabberTest, StillPictureDecodesOnceAndCannotSeek) {
    ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(fixtures::kStillPng)));
    ASSERT_TRUE(FProbe.Decode()) << FProbe.LastErrMsg();
    TFrameInfo first = FProbe.FrameInfo();
    std::vector<uint8_t> pixels(first.Buffer, first.Buffer + first.Size);
    EXPECT_EQ(first.Width, 320);
    EXPECT_EQ(first.PTS, 0);

    ASSERT_TRUE(FProbe.Decode());
    EXPECT_EQ(FProbe.FrameInfo().PTS, first.PTS);
    EXPECT_EQ(FProbe.FrameInfo().Size, first.Size);
    EXPECT_EQ(0, std::memcmp(FProbe.FrameInfo().Buffer, pixels.data(), pixels.size()));

    EXPECT_FALSE(FProbe.Seek(0));
    EXPECT_EQ(FProbe.LastErrMsg(), "\"image2\" format cannot to be seeked.");
    EXPECT_TRUE(FProbe.FrameInfo().Ready);

    gfx::TBitmap bitmap;
    ASSERT_TRUE(FProbe.CopyToBitmap(bitmap));
    EXPECT_EQ(bitmap.Width(), 320);
    EXPECT_EQ(bitmap.Height(), 240);
}

TEST_F(FrameGrabberTest, StreamsThatCannotBeDecoded) {
    struct TCase {
        const char* FileName;
        int StreamIndex;
        const char* Message;
    };
    const std::vector<TCase> cases = {
        {fixtures::kClipAvi, 1, "stream #1 is not video stream."},
        {fixtures::kClipAvi, 2, "stream index #2 is invalid."},
        {fixtures::kAudioMp3, -1, "no video stream."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message);
        ASSERT_TRUE(FProbe.LoadFile(fixtures::Path(c.FileName)));
        EXPECT_FALSE(FProbe.Decode(c.StreamIndex));
        EXPECT_EQ(FProbe.LastErrMsg(), c.Message);
        EXPECT_FALSE(FProbe.DecodeNextKeyFrame(c.StreamIndex));
        EXPECT_EQ(FProbe.LastErrMsg(), c.Message);
    }
}

TEST_F(FrameGrabberTest, WithoutAFileNothingDecodes) {
    FProbe.CloseFile();
    EXPECT_FALSE(FProbe.Decode());
    EXPECT_EQ(FProbe.LastErrMsg(), "file not loaded.");
    EXPECT_FALSE(FProbe.Seek(0));
    EXPECT_EQ(FProbe.Position(), -1);
    EXPECT_FALSE(FProbe.FrameInfo().Ready);
    EXPECT_FALSE(FProbe.Eof());
}

TEST_F(FrameGrabberTest, AnAttachedContextIsReadOnly) {
    AVFormatContext* context = nullptr;
    ASSERT_EQ(OpenInputFile(&context, fixtures::Path(fixtures::kClipAvi), nullptr, nullptr), 0);
    FProbe.SetFileHandle(context);
    EXPECT_EQ(FProbe.StreamCount(), 2);
    for (const std::function<void()>& use :
         std::vector<std::function<void()>>{[&] { FProbe.Decode(); }, [&] { FProbe.Seek(0); },
                                            [&] { FProbe.DecodePreviousKeyFrame(); }}) {
        try {
            use();
            ADD_FAILURE() << "no exception";
        } catch (const rtl::Exception& e) {
            EXPECT_EQ(e.Message(), "file cannot be seeked, handle is readonly.");
        }
    }
    FProbe.SetFileHandle(nullptr);
    CloseInputFile(&context);
}

}  // namespace
}  // namespace media
