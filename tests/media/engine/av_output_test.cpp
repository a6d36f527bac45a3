#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/engine/audio_volume.h"
#include "media/engine/run_test_support.h"
#include "media/media_test_support.h"
#include "platform/sys/dynlib.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/threads.h"

namespace media {
namespace {

using test::TRunEngine;
using TOptions = std::vector<std::pair<std::string, std::string>>;

using test::WaitUntil;

struct TPacketRecord {
    int Stream = 0;
    int64_t Pts = AV_NOPTS_VALUE;
    AVRational TimeBase{0, 1};
    std::vector<uint8_t> Data;
};

// Every packet of a written file, in file order.
std::vector<TPacketRecord> ReadPackets(const std::string& fileName) {
    std::vector<TPacketRecord> packets;
    AVFormatContext* ic = nullptr;
    if (lib::avformat_open_input(&ic, fileName.c_str(), nullptr, nullptr) < 0) return packets;
    AVPacket* packet = lib::av_packet_alloc();
    while (lib::av_read_frame(ic, packet) >= 0) {
        TPacketRecord record;
        record.Stream = packet->stream_index;
        record.Pts = packet->pts;
        record.TimeBase = ic->streams[packet->stream_index]->time_base;
        record.Data.assign(packet->data, packet->data + packet->size);
        packets.push_back(std::move(record));
        lib::av_packet_unref(packet);
    }
    lib::av_packet_free(&packet);
    lib::avformat_close_input(&ic);
    return packets;
}

// The mean of a square of the first plane of a raw 8-bit picture.
double MeanOfSquare(const std::vector<uint8_t>& picture, int width, int x, int y, int size) {
    double sum = 0;
    for (int row = y; row < y + size; ++row)
        for (int column = x; column < x + size; ++column)
            sum += picture[size_t(row) * size_t(width) + size_t(column)];
    return sum / (size * size);
}

// The mean brightness of the 4 x 4 blocks of a file's last video picture (mirrored left to
// right when asked), with its size; empty when no picture decodes.
struct TPictureBlocks {
    int Width = 0;
    int Height = 0;
    std::vector<double> Means;
};

TPictureBlocks LastPictureBlocks(const std::string& fileName, bool mirrored = false) {
    TPictureBlocks blocks;
    AVFormatContext* ic = nullptr;
    if (lib::avformat_open_input(&ic, fileName.c_str(), nullptr, nullptr) < 0) return blocks;
    AVCodecContext* dec = nullptr;
    AVPacket* packet = lib::av_packet_alloc();
    AVFrame* frame = lib::av_frame_alloc();
    AVFrame* last = lib::av_frame_alloc();
    int stream = -1;
    if (lib::avformat_find_stream_info(ic, nullptr) >= 0) {
        for (unsigned i = 0; i < ic->nb_streams; ++i)
            if (ic->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) stream = int(i);
    }
    if (stream >= 0) {
        const AVCodecParameters* par = ic->streams[stream]->codecpar;
        dec = lib::avcodec_alloc_context3(nullptr);
        if (lib::avcodec_parameters_to_context(dec, par) < 0 ||
            lib::avcodec_open2(dec, lib::avcodec_find_decoder(par->codec_id), nullptr) < 0)
            stream = -1;
    }
    auto receive = [&] {
        while (lib::avcodec_receive_frame(dec, frame) >= 0) {
            lib::av_frame_unref(last);
            lib::av_frame_move_ref(last, frame);
        }
    };
    while (stream >= 0 && lib::av_read_frame(ic, packet) >= 0) {
        if (packet->stream_index == stream && lib::avcodec_send_packet(dec, packet) >= 0) receive();
        lib::av_packet_unref(packet);
    }
    if (stream >= 0 && lib::avcodec_send_packet(dec, nullptr) >= 0) receive();
    if (last->data[0] != nullptr) {
        blocks.Width = last->width;
        blocks.Height = last->height;
        for (int by = 0; by < 4; ++by) {
            for (int bx = 0; bx < 4; ++bx) {
                double sum = 0;
                int count = 0;
                for (int y = by * last->height / 4; y < (by + 1) * last->height / 4; ++y) {
                    for (int x = bx * last->width / 4; x < (bx + 1) * last->width / 4; ++x) {
                        int column = mirrored ? last->width - 1 - x : x;
                        sum += last->data[0][ptrdiff_t(y) * last->linesize[0] + column];
                        ++count;
                    }
                }
                blocks.Means.push_back(sum / count);
            }
        }
    }
    lib::av_frame_free(&last);
    lib::av_frame_free(&frame);
    lib::av_packet_free(&packet);
    lib::avcodec_free_context(&dec);
    lib::avformat_close_input(&ic);
    return blocks;
}

// Lines of the log that start with `prefix`.
std::vector<std::string> LinesStartingWith(const test::TLogCapture& log,
                                           const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : log.Messages())
        if (line.starts_with(prefix)) found.push_back(line);
    return found;
}

class AvOutputTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    // One job from `input` to `output` in the temporary folder with `options`; the run's failure
    // text, empty when it ran through.
    std::string Convert(const std::string& input, const std::string& output,
                        const TOptions& options) {
        TRunEngine engine;
        engine.Open(fixtures::Path(input));
        engine.Apply(options);
        engine.Output(FDir.File(output));
        return engine.Run();
    }

    test::TTempDir FDir;
};

// --- audio ---

TEST(AudioVolume, ScalesEverySampleFormat) {
    test::RequireLibraries();
    struct TCase {
        int Volume;
        std::vector<int16_t> In;
        std::vector<int16_t> Out;
    };
    const TCase cases[] = {
        {512, {20000, -20000, 100, -100}, {32767, -32768, 200, -200}},
        {0, {20000, -20000, 1, -1}, {0, 0, 0, 0}},
        {128, {3, -3, 1, -1}, {2, -1, 1, 0}},
        {256, {123, -456, 32767, -32768}, {123, -456, 32767, -32768}},
    };
    for (const TCase& c : cases) {
        std::vector<int16_t> s16 = c.In;
        uint8_t* planes[] = {reinterpret_cast<uint8_t*>(s16.data())};
        ScaleSamples(planes, 1, int(s16.size()), AV_SAMPLE_FMT_S16, c.Volume);
        EXPECT_EQ(s16, c.Out) << c.Volume;

        // Planar: each plane scaled alike.
        std::vector<int16_t> left = c.In;
        std::vector<int16_t> right = c.In;
        uint8_t* planar[] = {reinterpret_cast<uint8_t*>(left.data()),
                             reinterpret_cast<uint8_t*>(right.data())};
        ScaleSamples(planar, 2, int(left.size()), AV_SAMPLE_FMT_S16P, c.Volume);
        EXPECT_EQ(left, c.Out) << c.Volume;
        EXPECT_EQ(right, c.Out) << c.Volume;

        // The same gains on float input, without the integer clamp.
        std::vector<float> flt;
        for (int16_t v : c.In) flt.push_back(float(v) / 32768.0f);
        uint8_t* floats[] = {reinterpret_cast<uint8_t*>(flt.data())};
        ScaleSamples(floats, 1, int(flt.size()), AV_SAMPLE_FMT_FLTP, c.Volume);
        for (size_t i = 0; i < flt.size(); ++i)
            EXPECT_FLOAT_EQ(flt[i], float(c.In[i]) / 32768.0f * float(c.Volume) / 256.0f)
                << c.Volume << " " << i;
    }

    // The other integer widths clamp to their own range; unsigned 8-bit scales around 128.
    std::vector<int32_t> s32 = {1 << 30, -(1 << 30), 3};
    uint8_t* wide[] = {reinterpret_cast<uint8_t*>(s32.data())};
    ScaleSamples(wide, 1, 3, AV_SAMPLE_FMT_S32, 512);
    EXPECT_EQ(s32, (std::vector<int32_t>{INT32_MAX, INT32_MIN, 6}));
    std::vector<uint8_t> u8 = {128, 228, 28, 255};
    uint8_t* bytes[] = {u8.data()};
    ScaleSamples(bytes, 1, 4, AV_SAMPLE_FMT_U8, 512);
    EXPECT_EQ(u8, (std::vector<uint8_t>{128, 255, 0, 255}));
    std::vector<double> dbl = {0.25, -2.0};
    uint8_t* doubles[] = {reinterpret_cast<uint8_t*>(dbl.data())};
    ScaleSamples(doubles, 1, 2, AV_SAMPLE_FMT_DBL, 128);
    EXPECT_EQ(dbl, (std::vector<double>{0.125, -1.0}));
}

TEST_F(AvOutputTest, AudioReachesTheEncoderWhole) {
    struct TCase {
        const char* Input;
        const char* Output;
        TOptions Options;
        const char* Codec;
        int Rate;
        int Channels;
        double Frame;     // seconds of one encoded frame
        double Duration;  // of the input's sound; 0: as its packets tell
    };
    const TCase cases[] = {
        // Stereo 44.1 kHz to mono 22.05 kHz.
        {fixtures::kClipAvi,
         "mono.mp2",
         {{"vn", "1"}, {"ar", "22050"}, {"ac", "1"}},
         "mp2",
         22050,
         1,
         1152.0 / 22050,
         0},
        // Planar float frames of 1024, and the encoder's delayed frames drained at the end.
        {fixtures::kClipAvi,
         "sound.m4a",
         {{"vn", "1"}, {"acodec", "aac"}},
         "aac",
         44100,
         2,
         1024.0 / 44100,
         0},
        // The decoder changes rate and layout after 1 s: a new resampler takes over. The
        // packets' times do not follow the change: 39 frames at 44.1 kHz and 20 at 22.05 kHz.
        {fixtures::kFormatChangeMp2,
         "changed.mp2",
         {{"ar", "44100"}, {"ac", "2"}},
         "mp2",
         44100,
         2,
         1152.0 / 44100,
         39 * 1152.0 / 44100 + 20 * 1152.0 / 22050},
        // Sync with resampler compensation.
        {fixtures::kClipAvi,
         "compensated.mp2",
         {{"vn", "1"}, {"async", "1000"}},
         "mp2",
         44100,
         2,
         1152.0 / 44100,
         0},
    };
    for (const TCase& c : cases) {
        ASSERT_EQ(Convert(c.Input, c.Output, c.Options), "") << c.Output;
        test::TFileInfo input = test::DescribeFile(fixtures::Path(c.Input));
        const test::TStreamInfo& source = input.Streams.back();
        ASSERT_EQ(source.Type, AVMEDIA_TYPE_AUDIO);
        test::TFileInfo output = test::DescribeFile(FDir.File(c.Output));
        ASSERT_EQ(output.Streams.size(), 1u) << c.Output;
        const test::TStreamInfo& audio = output.Streams[0];
        EXPECT_EQ(audio.Codec, c.Codec) << c.Output;
        EXPECT_EQ(audio.SampleRate, c.Rate) << c.Output;
        EXPECT_EQ(audio.Channels, c.Channels) << c.Output;
        // All of the input's sound, the last frame filled up.
        double duration = c.Duration != 0 ? c.Duration : source.Duration;
        EXPECT_GE(audio.Duration, duration - 0.001) << c.Output;
        EXPECT_LE(audio.Duration, duration + c.Frame) << c.Output;
    }
}

TEST_F(AvOutputTest, TheSoundLeftAtTheEndGoesOutInFramesOfTheEncodersSize) {
    // Resampled from 24 to 48 kHz, the input leaves more than one encoder frame at its end:
    // whole frames first, then a short last one (AAC, MP3) or one padded with silence (MP2).
    struct TCase {
        const char* Codec;
        const char* Name;  // as the file reads back
        int FrameSize;
    };
    const TCase cases[] = {{"mp2", "mp2", 1152}, {"aac", "aac", 1024}, {"libmp3lame", "mp3", 1152}};
    const double input = 9220.0 / 24000;
    for (const TCase& c : cases) {
        std::string output = std::string("tail_") + c.Name + ".mka";
        ASSERT_EQ(Convert(fixtures::kOddTailWav, output, {{"acodec", c.Codec}, {"ar", "48000"}}),
                  "")
            << c.Codec;
        test::TFileInfo written = test::DescribeFile(FDir.File(output));
        ASSERT_EQ(written.Streams.size(), 1u) << c.Codec;
        EXPECT_EQ(written.Streams[0].Codec, c.Name);
        EXPECT_EQ(written.Streams[0].SampleRate, 48000);
        // All of the sound, with at most the encoder's start-up delay and one frame more.
        EXPECT_GE(written.Streams[0].Duration, input) << c.Codec;
        EXPECT_LE(written.Streams[0].Duration, input + 2.0 * c.FrameSize / 48000) << c.Codec;
    }
}

TEST_F(AvOutputTest, SyncMethodOneFillsAGapWithSilence) {
    struct TCase {
        const char* Output;
        const char* Codec;
        int FrameSize;
    };
    // Interleaved 16-bit and planar float encoders count the same samples.
    const TCase cases[] = {{"gap.mp2", "mp2", 1152}, {"gap.m4a", "aac", 1024}};
    for (const TCase& c : cases) {
        test::TLogCapture log;
        ASSERT_EQ(Convert(fixtures::kAudioGapMkv, c.Output,
                          {{"acodec", c.Codec}, {"async", "1"}, {"v", "3"}}),
                  "")
            << c.Output;
        test::TFileInfo output = test::DescribeFile(FDir.File(c.Output));
        ASSERT_EQ(output.Streams.size(), 1u);
        // 3 s of sound: 2 s of the input and 1 s of silence in the hole.
        EXPECT_NEAR(output.Streams[0].Packets * double(c.FrameSize) / 44100, 3.0, 0.1) << c.Output;
        EXPECT_NEAR(output.Streams[0].Duration, 3.0, 0.1) << c.Output;
        std::vector<std::string> added = LinesStartingWith(log, "adding ");
        ASSERT_EQ(added.size(), 1u) << c.Output;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(added[0], match,
                                     std::regex("adding (\\d+) audio samples of silence")));
        EXPECT_NEAR(std::stoi(match[1]), 44100, 1100) << c.Output;
    }

    // Without sync the hole stays a hole: only the input's sound is encoded.
    ASSERT_EQ(Convert(fixtures::kAudioGapMkv, "hole.m4a", {{"acodec", "aac"}}), "");
    test::TFileInfo output = test::DescribeFile(FDir.File("hole.m4a"));
    EXPECT_NEAR(output.Streams[0].Packets * 1024.0 / 44100, 2.0, 0.1);
}

// --- video ---

TEST_F(AvOutputTest, EncodesTheClipSmallerWithAllItsFrames) {
    ASSERT_EQ(Convert(fixtures::kClipAvi, "small.avi", {{"vcodec", "mpeg4"}, {"s", "176x144"}}),
              "");
    test::TFileInfo output = test::DescribeFile(FDir.File("small.avi"));
    ASSERT_EQ(output.Streams.size(), 2u);
    EXPECT_EQ(output.Streams[0].Codec, "mpeg4");
    EXPECT_EQ(output.Streams[0].Width, 176);
    EXPECT_EQ(output.Streams[0].Height, 144);
    EXPECT_NEAR(output.Streams[0].Packets, 50, 1);

    // Deinterlacing gives each picture back one later: the last one comes with the end.
    ASSERT_EQ(Convert(fixtures::kClipAvi, "deinterlaced.avi",
                      {{"vcodec", "mpeg4"}, {"deinterlace", "1"}}),
              "");
    output = test::DescribeFile(FDir.File("deinterlaced.avi"));
    EXPECT_EQ(output.Streams[0].Packets, 50);
    EXPECT_NEAR(output.Streams[0].Duration, 2.0, 0.05);
}

TEST_F(AvOutputTest, ASizeChangeIsLoggedOnceAndScaledToTheEncodersSize) {
    const std::string changed = "Input Stream #0.0 frame size changed to 176x144, yuv420p";
    // The last picture of the input, a 176x144 one.
    TPictureBlocks source = LastPictureBlocks(fixtures::Path(fixtures::kSizeChangeM2v));
    ASSERT_EQ(source.Width, 176);
    struct TCase {
        const char* Output;
        TOptions Options;
        int Width;
        int Height;
        bool Mirrored;
    };
    const TCase cases[] = {
        {"scaled.avi", {{"vcodec", "mpeg4"}, {"s", "160x120"}}, 160, 120, false},
        // Outputs that keep the input's size keep its first one: the encoder was opened with it.
        {"same.avi", {{"vcodec", "mpeg4"}}, 320, 240, false},
        {"same.mp4", {{"vcodec", "libx264"}}, 320, 240, false},
        {"filtered.avi", {{"vcodec", "mpeg4"}, {"vf", "hflip"}}, 320, 240, true},
    };
    for (const TCase& c : cases) {
        test::TLogCapture log;
        ASSERT_EQ(Convert(fixtures::kSizeChangeM2v, c.Output, c.Options), "") << c.Output;
        test::TFileInfo output = test::DescribeFile(FDir.File(c.Output));
        ASSERT_EQ(output.Streams.size(), 1u);
        EXPECT_EQ(output.Streams[0].Width, c.Width) << c.Output;
        EXPECT_EQ(output.Streams[0].Height, c.Height) << c.Output;
        EXPECT_NEAR(output.Streams[0].Packets, 50, 1) << c.Output;
        std::vector<std::string> lines = log.Messages();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), changed), 1) << c.Output;
        // The pictures after the change are the input's, scaled to the output's size.
        TPictureBlocks last = LastPictureBlocks(FDir.File(c.Output), c.Mirrored);
        ASSERT_EQ(last.Width, c.Width) << c.Output;
        ASSERT_EQ(last.Height, c.Height) << c.Output;
        for (size_t i = 0; i < source.Means.size(); ++i)
            EXPECT_NEAR(last.Means[i], source.Means[i], 12) << c.Output << " block " << i;
    }
}

TEST_F(AvOutputTest, AtAConstantRateTheLastPictureLastsItsWholeTime) {
    // Eleven pictures of 0.08 s, then one of 2 s: 2.88 s in all, at 12.5 pictures a second.
    struct TCase {
        const char* Output;
        TOptions Options;
        int Packets;
        double Duration;
    };
    const TCase cases[] = {
        {"animation.mp4", {{"vcodec", "mpeg4"}}, 36, 2.88},
        {"animation_25.mp4", {{"vcodec", "mpeg4"}, {"r", "25"}}, 72, 2.88},
        // No further than the recording time.
        {"animation_cut.mp4", {{"vcodec", "mpeg4"}, {"t", "1.5"}}, 19, 1.52},
        // At a variable rate every picture is written once and the time is the timestamps'.
        {"animation_vfr.mp4", {{"vcodec", "mpeg4"}, {"vsync", "2"}}, 12, 0.96},
    };
    for (const TCase& c : cases) {
        ASSERT_EQ(Convert(fixtures::kLongLastGif, c.Output, c.Options), "") << c.Output;
        test::TFileInfo output = test::DescribeFile(FDir.File(c.Output));
        ASSERT_EQ(output.Streams.size(), 1u);
        EXPECT_EQ(output.Streams[0].Packets, c.Packets) << c.Output;
        EXPECT_NEAR(output.Streams[0].Duration, c.Duration, 0.01) << c.Output;
    }
}

// Raw pictures of the hook tests: 320x240 YUV 4:2:0 as the decoder gives them.
constexpr int kWidth = 320;
const TOptions kRawVideo = {{"vcodec", "rawvideo"}, {"pix_fmt", "yuv420p"}, {"an", "1"}};

TEST_F(AvOutputTest, TheCustomHookDrawsOnThePicture) {
    ASSERT_EQ(Convert(fixtures::kClip1sAvi, "plain.nut", kRawVideo), "");
    std::vector<TPacketRecord> plain = ReadPackets(FDir.File("plain.nut"));
    ASSERT_EQ(plain.size(), 25u);

    struct TCase {
        const char* Output;
        // What the handler does with picture n (from 1).
        std::function<void(gfx::TBitmap&, int, bool&, bool&)> Handler;
        int Calls;
        bool Drawn;  // the square is white (video white, 235) in every picture
    };
    const TCase cases[] = {
        {"box.nut",
         [](gfx::TBitmap& bitmap, int, bool&, bool&) {
             for (int row = 8; row < 40; ++row)
                 std::memset(bitmap.ScanLine(row) + 8 * 3, 255, 32 * 3);
         },
         25, true},
        // The bitmap's canvas draws on the conversion thread; its brush starts clear.
        {"canvas.nut",
         [](gfx::TBitmap& bitmap, int n, bool&, bool&) {
             gfx::TCanvas& canvas = bitmap.Canvas();
             if (n == 1) {
                 EXPECT_EQ(canvas.Brush().Style(), gfx::bsClear);
             }
             canvas.Brush().SetStyle(gfx::bsSolid);
             canvas.Brush().SetColor(gfx::clWhite);
             canvas.FillRect({8, 8, 40, 40});
         },
         25, true},
        {"raising.nut",
         [](gfx::TBitmap& bitmap, int, bool&, bool&) {
             bitmap.ScanLine(10)[30] = 0;
             throw std::runtime_error("boom");
         },
         25, false},
        {"kept.nut",
         [](gfx::TBitmap& bitmap, int, bool& update, bool&) {
             std::memset(bitmap.ScanLine(10), 255, 99);
             update = false;
         },
         25, false},
        // Stopping is final for the job.
        {"stopped.nut",
         [](gfx::TBitmap&, int n, bool& update, bool& stop) {
             update = false;
             stop = n == 3;
         },
         3, false},
    };
    for (const TCase& c : cases) {
        test::TLogCapture log;
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClip1sAvi));
        engine.Apply(kRawVideo);
        int calls = 0;
        std::vector<int> numbers;
        engine.OnCustomHook = [&](TCustomFFmpeg*, gfx::TBitmap& bitmap, int frameNumber, int64_t,
                                  bool& update, bool& stop) {
            ++calls;
            numbers.push_back(frameNumber);
            EXPECT_EQ(bitmap.Width(), kWidth);
            c.Handler(bitmap, frameNumber, update, stop);
        };
        engine.Output(FDir.File(c.Output));
        ASSERT_EQ(engine.Run(), "") << c.Output;
        EXPECT_EQ(calls, c.Calls) << c.Output;
        EXPECT_EQ(numbers.front(), 1);
        std::vector<TPacketRecord> pictures = ReadPackets(FDir.File(c.Output));
        ASSERT_EQ(pictures.size(), plain.size()) << c.Output;
        for (size_t i = 0; i < pictures.size(); ++i) {
            if (c.Drawn)
                EXPECT_GE(MeanOfSquare(pictures[i].Data, kWidth, 10, 10, 28), 234) << i;
            else
                EXPECT_EQ(pictures[i].Data, plain[i].Data) << c.Output << " " << i;
        }
        std::vector<std::string> errors = LinesStartingWith(log, "Error occurs OnCustomHook: ");
        if (std::string(c.Output) == "raising.nut") {
            EXPECT_EQ(errors.size(), 25u);
            EXPECT_EQ(errors.front(), "Error occurs OnCustomHook: boom");
        } else {
            EXPECT_TRUE(errors.empty()) << c.Output;
        }
    }
}

TEST_F(AvOutputTest, VideoHookLibrariesDrawOnThePicture) {
    struct TCase {
        std::string Hook;
        int Level;
    };
    const TCase cases[] = {{MORADEX_TEST_VIDEO_HOOK, 255},
                           {std::string(MORADEX_TEST_VIDEO_HOOK) + " 200", 200}};
    for (const TCase& c : cases) {
        TOptions options = kRawVideo;
        options.push_back({"vhook", c.Hook});
        ASSERT_EQ(Convert(fixtures::kClip1sAvi, "hooked.nut", options), "");
        std::vector<TPacketRecord> pictures = ReadPackets(FDir.File("hooked.nut"));
        ASSERT_EQ(pictures.size(), 25u);
        for (const TPacketRecord& picture : pictures)
            EXPECT_EQ(MeanOfSquare(picture.Data, kWidth, 0, 0, 16), c.Level) << c.Hook;
    }
}

// The counts of the counting hook library, read through its own entry point.
struct THookCounts {
    int Configures = 0;
    int Processes = 0;
    int Releases = 0;
    int OutOfOrder = 0;
};

THookCounts CountsOf(const char* library) {
    using TReadCounts = void (*)(int*, int*, int*, int*);
    THookCounts counts;
    sys::TLibHandle handle = sys::LoadLibrary(library);
    auto read = reinterpret_cast<TReadCounts>(sys::GetProcAddress(handle, "HookCounts"));
    if (read == nullptr) {
        ADD_FAILURE() << "no counts in " << library;
        return counts;
    }
    read(&counts.Configures, &counts.Processes, &counts.Releases, &counts.OutOfOrder);
    return counts;
}

TEST(VideoHooks, RefusalsAreLoggedAndAddNothing) {
    test::RequireLibraries();
    test::TLogCapture log;
    TFrameHookChain chain;
    EXPECT_EQ(FrameHookAdd(chain, {MORADEX_PROCESSLESS_HOOK}), -2);
    EXPECT_EQ(FrameHookAdd(chain, {MORADEX_REFUSING_HOOK, "x"}), -22);
    EXPECT_TRUE(chain.empty());
    ASSERT_TRUE(log.WaitForLines(2));
    std::vector<std::string> lines = log.Messages();
    EXPECT_EQ(lines[0],
              std::string("Failed to find Process entrypoint in ") + MORADEX_PROCESSLESS_HOOK);
    EXPECT_EQ(lines[1], std::string("Failed to Configure ") + MORADEX_REFUSING_HOOK);
}

TEST_F(AvOutputTest, ALibraryAddedTwiceRunsTwiceInChainOrderOnEveryPicture) {
    const THookCounts before = CountsOf(MORADEX_COUNTING_HOOK);
    TOptions options = kRawVideo;
    options.push_back({"vhook", std::string(MORADEX_COUNTING_HOOK) + " first"});
    options.push_back({"vhook", std::string(MORADEX_COUNTING_HOOK) + " second"});
    ASSERT_EQ(Convert(fixtures::kClip1sAvi, "counted.nut", options), "");
    const THookCounts after = CountsOf(MORADEX_COUNTING_HOOK);
    EXPECT_EQ(after.Configures - before.Configures, 2);
    EXPECT_EQ(after.Processes - before.Processes, 2 * 25) << "both, on each of the 25 pictures";
    EXPECT_EQ(after.OutOfOrder, 0);
    EXPECT_EQ(after.Releases - before.Releases, 2) << "once per entry with the job";
}

// --- post hooks ---

struct TPreviewLog {
    std::atomic<int> Made{0};
    std::atomic<int> Paints{0};
    std::atomic<int> Destroyed{0};
    std::atomic<sys::TThreadId> DestroyedOn{0};
    int PaintLimit = 1000;  // the window is closed after this many paints
    std::function<void()> OnPaint;
};

class TLoggedPreviewer : public TPreviewer {
public:
    explicit TLoggedPreviewer(TPreviewLog& log) : FLog(log) { ++FLog.Made; }
    ~TLoggedPreviewer() override {
        FLog.DestroyedOn = sys::CurrentThreadId();
        ++FLog.Destroyed;
    }
    bool PaintFrame(const gfx::TBitmap& bitmap, int, int64_t) override {
        EXPECT_EQ(bitmap.Width(), 176);
        if (FLog.OnPaint) FLog.OnPaint();
        return ++FLog.Paints < FLog.PaintLimit;
    }

private:
    TPreviewLog& FLog;
};

class TPreviewEngine : public TRunEngine {
public:
    explicit TPreviewEngine(TPreviewLog& log) : FLog(log) { PreviewInterval = 0; }
    ~TPreviewEngine() override { WaitForThreads(); }

    using TCustomFFmpeg::FPostHooks;

protected:
    std::unique_ptr<TPreviewer> CreatePreviewer() override {
        return std::make_unique<TLoggedPreviewer>(FLog);
    }

private:
    TPreviewLog& FLog;
};

TEST_F(AvOutputTest, PostHooksShowTheEncodedPictures) {
    // The bitmap event wins over the window while it is assigned.
    {
        TPreviewLog previews;
        TPreviewEngine engine(previews);
        engine.Open(fixtures::Path(fixtures::kClip1sAvi));
        engine.Apply({{"vcodec", "mpeg4"}, {"s", "176x144"}});
        engine.SetPostHooks({phPreview, phBitmap});
        std::vector<int> numbers;
        std::vector<int64_t> times;
        engine.OnPreviewBitmap = [&](TCustomFFmpeg*, const gfx::TBitmap& bitmap, int frameNumber,
                                     int64_t pts) {
            EXPECT_EQ(bitmap.Width(), 176);
            EXPECT_EQ(bitmap.Height(), 144);
            numbers.push_back(frameNumber);
            times.push_back(pts);
        };
        engine.Output(FDir.File("bitmaps.avi"));
        ASSERT_EQ(engine.Run(), "");
        ASSERT_EQ(numbers.size(), 25u);
        EXPECT_EQ(numbers.front(), 1);
        EXPECT_EQ(numbers.back(), 25);
        EXPECT_EQ(times[1] - times[0], 40000);
        EXPECT_EQ(previews.Made, 0);
    }
    // A window closed by the user ends the preview for the job.
    {
        TPreviewLog previews;
        previews.PaintLimit = 3;
        TPreviewEngine engine(previews);
        engine.Open(fixtures::Path(fixtures::kClip1sAvi));
        engine.Apply({{"vcodec", "mpeg4"}, {"s", "176x144"}});
        engine.SetPostHooks({phPreview});
        engine.Output(FDir.File("window.avi"));
        ASSERT_EQ(engine.Run(), "");
        EXPECT_EQ(previews.Made, 1);
        EXPECT_EQ(previews.Paints, 3);
        EXPECT_EQ(previews.Destroyed, 1);
        EXPECT_EQ(engine.FPostHooks, TPostHooks());
    }
}

TEST_F(AvOutputTest, APreviewSwitchedOffFromTheMainThreadEndsAtTheNextPicture) {
    TPreviewLog previews;
    TPreviewEngine engine(previews);
    engine.Open(fixtures::Path(fixtures::kClip1sAvi));
    engine.Apply({{"vcodec", "mpeg4"}, {"s", "176x144"}});
    engine.SetPostHooks({phPreview});
    // The window hands its painting to the main thread, which switches the preview off right
    // then: it must not wait for the painting job.
    previews.OnPaint = [&] { sys::CallInMainThread([&] { engine.SetPostHooks({}); }); };
    engine.Output(FDir.File("switched.avi"));
    sys::TThreadId mainThread = sys::CurrentThreadId();
    engine.StartConvert(true, sys::tpNormal)->Resume();
    ASSERT_TRUE(WaitUntil([&] { return engine.Terminated(); }));
    EXPECT_FALSE(engine.FatalException()) << engine.FatalMessage();
    EXPECT_EQ(previews.Paints, 1);
    EXPECT_EQ(previews.Destroyed, 1);
    EXPECT_NE(previews.DestroyedOn, mainThread);
}

TEST_F(AvOutputTest, VideoStatisticsHaveALinePerFrame) {
    std::string name = FDir.File("vstats.log");
    ASSERT_EQ(Convert(fixtures::kClip1sAvi, "stats.avi",
                      {{"vcodec", "mpeg4"}, {"vstats_file", name}, {"an", "1"}}),
              "");
    std::ifstream file(name);
    std::string line;
    std::regex format(
        "frame= +(\\d+) q= +[0-9.]+ f_size= +(\\d+) s_size= +\\d+kB time= [0-9.]+ "
        "br= +([0-9.]+)kbits/s avg_br= +[0-9.]+kbits/s type= ([IPB])");
    int lines = 0;
    while (std::getline(file, line)) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, format)) << line;
        ++lines;
        EXPECT_EQ(std::stoi(match[1]), lines);
        // A frame lasts 1/25 s.
        EXPECT_NEAR(std::stod(match[3]), std::stoi(match[2]) * 8 * 25 / 1000.0, 0.05) << line;
        if (lines == 1) {
            EXPECT_EQ(match[4], "I");
        }
    }
    EXPECT_EQ(lines, 25);

    // A file that cannot be made ends the run, after the first picture was written: that one
    // is kept, in a file that is ended properly.
    EXPECT_EQ(Convert(fixtures::kClip1sAvi, "nostats.avi",
                      {{"vcodec", "mpeg4"}, {"vstats_file", FDir.File("no/such/folder.log")}}),
              "fopen fail: " + FDir.File("no/such/folder.log") +
                  "; what was converted before the failure was kept in '" +
                  FDir.File("nostats.avi") + "'");
    test::TFileInfo kept = test::DescribeFile(FDir.File("nostats.avi"));
    ASSERT_TRUE(kept.Opened);
    EXPECT_GE(kept.Streams[0].Packets, 1);
}

// --- packets, subtitles, chapters ---

TEST_F(AvOutputTest, AFailingBitstreamFilterLogsAndStillWrites) {
    test::TLogCapture log;
    // Bytes spoilt by "noise" leave NAL sizes that the Annex B filter cannot follow.
    ASSERT_EQ(
        Convert(fixtures::kClipMkv, "spoilt.nut",
                {{"vcodec", "copy"}, {"an", "1"}, {"vbsf", "noise"}, {"vbsf", "h264_mp4toannexb"}}),
        "");
    test::TFileInfo output = test::DescribeFile(FDir.File("spoilt.nut"));
    ASSERT_EQ(output.Streams.size(), 1u);
    EXPECT_EQ(output.Streams[0].Packets, 50);
    std::vector<std::string> failures;
    WaitUntil([&] {
        failures = LinesStartingWith(log, "h264_mp4toannexb failed");
        return !failures.empty();
    });
    ASSERT_FALSE(failures.empty());
    EXPECT_LT(failures.size(), 50u);
    EXPECT_EQ(failures[0],
              "h264_mp4toannexb failed for stream 0, codec copy: Invalid data found when "
              "processing input");
}

// A Matroska file with one DVB subtitle: a 16 x 8 picture shown from `startMs` to `endMs`
// after the packet's time `ptsMs`.
void WriteDvbSubtitle(const std::string& fileName, int64_t ptsMs, uint32_t startMs,
                      uint32_t endMs) {
    const AVCodec* codec = lib::avcodec_find_encoder(AV_CODEC_ID_DVB_SUBTITLE);
    ASSERT_NE(codec, nullptr);
    AVCodecContext* enc = lib::avcodec_alloc_context3(codec);
    enc->time_base = AVRational{1, 1000};
    enc->width = 720;
    enc->height = 576;
    ASSERT_GE(lib::avcodec_open2(enc, codec, nullptr), 0);
    AVFormatContext* oc = nullptr;
    ASSERT_GE(lib::avformat_alloc_output_context2(&oc, nullptr, "matroska", fileName.c_str()), 0);
    AVStream* st = lib::avformat_new_stream(oc, nullptr);
    lib::avcodec_parameters_from_context(st->codecpar, enc);
    st->time_base = AVRational{1, 1000};
    ASSERT_GE(lib::avio_open2(&oc->pb, fileName.c_str(), AVIO_FLAG_WRITE, nullptr, nullptr), 0);
    ASSERT_GE(lib::avformat_write_header(oc, nullptr), 0);

    std::vector<uint8_t> indexes(16 * 8, 1);
    uint32_t palette[4] = {0x00000000, 0xffffffff, 0xff000000, 0xff808080};
    AVSubtitleRect rect{};
    rect.x = 100;
    rect.y = 400;
    rect.w = 16;
    rect.h = 8;
    rect.nb_colors = 4;
    rect.type = SUBTITLE_BITMAP;
    rect.data[0] = indexes.data();
    rect.linesize[0] = 16;
    rect.data[1] = reinterpret_cast<uint8_t*>(palette);
    AVSubtitleRect* rects[] = {&rect};
    AVSubtitle subtitle{};
    subtitle.format = 0;
    subtitle.start_display_time = startMs;
    subtitle.end_display_time = endMs;
    subtitle.num_rects = 1;
    subtitle.rects = rects;
    subtitle.pts = ptsMs * 1000;
    std::vector<uint8_t> buffer(65536);
    int size = lib::avcodec_encode_subtitle(enc, buffer.data(), int(buffer.size()), &subtitle);
    ASSERT_GT(size, 0);
    AVPacket* packet = lib::av_packet_alloc();
    ASSERT_GE(lib::av_new_packet(packet, size), 0);
    std::memcpy(packet->data, buffer.data(), size_t(size));
    packet->pts = packet->dts = ptsMs;
    packet->duration = endMs;
    packet->flags = AV_PKT_FLAG_KEY;
    ASSERT_GE(lib::av_interleaved_write_frame(oc, packet), 0);
    lib::av_packet_free(&packet);
    lib::av_write_trailer(oc);
    lib::avio_closep(&oc->pb);
    lib::avformat_free_context(oc);
    lib::avcodec_free_context(&enc);
}

TEST_F(AvOutputTest, DvbSubtitlesGiveAShowingAndAClearingPacket) {
    std::string input = FDir.File("dvb.mkv");
    WriteDvbSubtitle(input, 500, 0, 2000);
    ASSERT_FALSE(HasFatalFailure());
    TRunEngine engine;
    engine.Open(input);
    engine.Apply({{"scodec", "dvbsub"}});
    std::string output = FDir.File("dvb.ts");
    engine.Output(output);
    ASSERT_EQ(engine.Run(), "");
    std::vector<TPacketRecord> packets = ReadPackets(output);
    ASSERT_EQ(packets.size(), 2u);
    ASSERT_EQ(packets[0].TimeBase.den, 90000);
    // The second packet clears the screen when the display time is over: the decoder shows a
    // DVB page for its time-out, 30 s as the encoder writes it.
    EXPECT_EQ(packets[1].Pts - packets[0].Pts, 90 * 30000);
    EXPECT_LT(packets[1].Data.size(), packets[0].Data.size());
}

struct TChapter {
    double Start;
    double End;
    std::string Title;
    bool operator==(const TChapter&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TChapter& c) {
    return out << c.Title << " " << c.Start << "-" << c.End;
}

std::vector<TChapter> ChaptersOf(const std::string& fileName) {
    std::vector<TChapter> chapters;
    AVFormatContext* ic = nullptr;
    if (lib::avformat_open_input(&ic, fileName.c_str(), nullptr, nullptr) < 0) return chapters;
    for (unsigned i = 0; i < ic->nb_chapters; ++i) {
        const AVChapter* c = ic->chapters[i];
        // Milliseconds are enough here.
        auto seconds = [&](int64_t t) {
            return std::round(t * av_q2d(c->time_base) * 1000) / 1000;
        };
        chapters.push_back(
            {seconds(c->start), seconds(c->end), test::MetadataOf(c->metadata, "title")});
    }
    lib::avformat_close_input(&ic);
    return chapters;
}

TEST_F(AvOutputTest, ChaptersAreCopiedAndShifted) {
    ASSERT_EQ(
        Convert(fixtures::kChaptersMkv, "copied.mkv", {{"vcodec", "copy"}, {"acodec", "copy"}}),
        "");
    EXPECT_EQ(ChaptersOf(FDir.File("copied.mkv")),
              (std::vector<TChapter>{{0, 1, "First"}, {1, 2, "Second"}}));

    ASSERT_EQ(Convert(fixtures::kChaptersMkv, "late.mkv", {{"ss", "0.5"}, {"vcodec", "mpeg4"}}),
              "");
    EXPECT_EQ(ChaptersOf(FDir.File("late.mkv")),
              (std::vector<TChapter>{{0, 0.5, "First"}, {0.5, 1.5, "Second"}}));

    // Joined, each input's chapters come after those of the input before.
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kChaptersMkv));
    engine.Open(fixtures::Path(fixtures::kChaptersMkv));
    engine.Apply({{"vcodec", "mpeg4"}});
    std::string joined = FDir.File("joined.mkv");
    ASSERT_EQ(engine.OpenOutputFile(joined, true), 2);
    ASSERT_EQ(engine.Run(), "");
    std::vector<TChapter> chapters = ChaptersOf(joined);
    ASSERT_EQ(chapters.size(), 4u);
    for (size_t i = 0; i < chapters.size(); ++i) {
        EXPECT_NEAR(chapters[i].Start, double(i), 0.05) << chapters[i];
        EXPECT_NEAR(chapters[i].End, double(i + 1), 0.05) << chapters[i];
    }
}

}  // namespace
}  // namespace media
