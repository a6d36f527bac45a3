#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "media/engine/run_test_support.h"
#include "media/engine/video_sync.h"
#include "media/media_test_support.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"

namespace media {
namespace {

using test::TRunEngine;

using test::WaitUntil;

struct TProgress {
    int FileIndex;
    int FrameNumber;
    int64_t Size;
    int64_t Duration;
    int64_t Total;
};

// Collects the progress events of a job, on whatever thread they come.
class TProgressLog {
public:
    void Attach(TCustomFFmpeg& engine) {
        engine.OnProgress = [this](TCustomFFmpeg*, int fileIndex, int frameNumber, int, float,
                                   float, int64_t size, int64_t duration, int64_t total) {
            {
                std::lock_guard lock(FLock);
                FEvents.push_back({fileIndex, frameNumber, size, duration, total});
            }
            if (OnEvent) OnEvent(fileIndex);
        };
    }
    std::vector<TProgress> Events() const {
        std::lock_guard lock(FLock);
        return FEvents;
    }
    std::function<void(int fileIndex)> OnEvent;

private:
    mutable std::mutex FLock;
    std::vector<TProgress> FEvents;
};

class TranscodeRunTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }

    // What the input holds, stream by stream, to compare outputs with.
    static test::TFileInfo Input(const char* fixture) {
        return test::DescribeFile(fixtures::Path(fixture));
    }

    test::TTempDir FDir;
};

TEST_F(TranscodeRunTest, TargetsMakeDiscAndDvFiles) {
    struct TCase {
        const char* Target;
        const char* Format;  // as the file reads back
        std::vector<std::string> Codecs;
        int Width;
        int Height;
    };
    const TCase cases[] = {
        {"pal-vcd", "mpeg", {"mpeg1video", "mp2"}, 352, 288},
        {"ntsc-svcd", "mpeg", {"mpeg2video", "mp2"}, 480, 480},
        {"pal-dvd", "mpeg", {"dvd_nav_packet", "mpeg2video", "ac3"}, 720, 576},
        {"ntsc-dv", "dv", {"dvvideo", "pcm_s16le"}, 720, 480},
        {"pal-dv50", "dv", {"dvvideo", "pcm_s16le", "pcm_s16le"}, 720, 576},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClip1sAvi));
        engine.ParseOption("target", c.Target);
        std::string name = FDir.File(std::string(c.Target) + ".out");
        engine.Output(name);
        ASSERT_EQ(engine.Run(), "") << c.Target;
        EXPECT_TRUE(engine.Finished());
        test::TFileInfo info = test::DescribeFile(name);
        ASSERT_TRUE(info.Opened) << c.Target;
        EXPECT_EQ(info.Format, c.Format) << c.Target;
        std::vector<std::string> codecs;
        for (const test::TStreamInfo& stream : info.Streams) {
            codecs.push_back(stream.Codec);
            if (stream.Type != AVMEDIA_TYPE_VIDEO) continue;
            EXPECT_EQ(stream.Width, c.Width) << c.Target;
            EXPECT_EQ(stream.Height, c.Height) << c.Target;
            EXPECT_NEAR(stream.Duration, 1.0, 0.1) << c.Target;
        }
        EXPECT_EQ(codecs, c.Codecs) << c.Target;
    }
}

TEST_F(TranscodeRunTest, StreamCopyKeepsStreamsAndDurations) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipMp4));
    engine.Apply({{"vcodec", "copy"}, {"acodec", "copy"}});
    std::string name = FDir.File("copy.mkv");
    engine.Output(name);
    ASSERT_EQ(engine.Run(), "");
    test::TFileInfo input = Input(fixtures::kClipMp4);
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_TRUE(output.Opened);
    EXPECT_EQ(output.Format, "matroska,webm");
    ASSERT_EQ(output.Streams.size(), input.Streams.size());
    for (size_t i = 0; i < input.Streams.size(); ++i) {
        EXPECT_EQ(output.Streams[i].Codec, input.Streams[i].Codec);
        EXPECT_EQ(output.Streams[i].Packets, input.Streams[i].Packets);
        EXPECT_NEAR(output.Streams[i].Duration, input.Streams[i].Duration, 0.04) << i;
    }
    // Nothing was opened to copy.
    EXPECT_TRUE(engine.FEncoderList.empty());
}

TEST_F(TranscodeRunTest, CopyStartsAtTheFirstKeyPacketUnlessAskedOtherwise) {
    test::TFileInfo input = Input(fixtures::kLateKeyMkv);
    ASSERT_FALSE(input.Streams[0].FirstIsKey);
    for (bool keepAll : {false, true}) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kLateKeyMkv));
        engine.Apply({{"vcodec", "copy"}, {"copyinkf", keepAll ? "1" : "0"}});
        std::string name = FDir.File("late.mkv");
        engine.Output(name);
        ASSERT_EQ(engine.Run(), "");
        test::TFileInfo output = test::DescribeFile(name);
        ASSERT_EQ(output.Streams.size(), 1u);
        EXPECT_EQ(output.Streams[0].FirstIsKey, !keepAll);
        if (keepAll)
            EXPECT_EQ(output.Streams[0].Packets, input.Streams[0].Packets);
        else
            EXPECT_LT(output.Streams[0].Packets, input.Streams[0].Packets);
    }
}

TEST_F(TranscodeRunTest, RecordingTimeAndFrameLimit) {
    struct TCase {
        std::vector<std::pair<std::string, std::string>> Options;
        const char* Output;
        double Duration;   // of the video stream
        int VideoPackets;  // -1: not checked
    };
    const TCase cases[] = {
        {{{"t", "1"}}, "one_second.mp4", 1.0, 25},
        {{{"t", "0.5"}, {"vcodec", "copy"}, {"acodec", "copy"}}, "half.avi", 0.5, 12},
        {{{"vframes", "10"}, {"vcodec", "copy"}}, "ten.mkv", 0.4, 10},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.Apply(c.Options);
        std::string name = FDir.File(c.Output);
        engine.Output(name);
        ASSERT_EQ(engine.Run(), "") << c.Output;
        test::TFileInfo output = test::DescribeFile(name);
        ASSERT_TRUE(output.Opened) << c.Output;
        const test::TStreamInfo& video = output.Streams[0];
        EXPECT_NEAR(video.Duration, c.Duration, 0.05) << c.Output;
        if (c.VideoPackets >= 0) {
            EXPECT_NEAR(video.Packets, c.VideoPackets, 1) << c.Output;
        }
        for (const test::TStreamInfo& stream : output.Streams)
            EXPECT_LT(stream.Duration, c.Duration + 0.1) << c.Output;
    }
}

TEST_F(TranscodeRunTest, BitstreamFiltersOnACopy) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipMp4));
    engine.Apply({{"vcodec", "copy"}, {"acodec", "copy"}, {"vbsf", "h264_mp4toannexb"}});
    std::string name = FDir.File("annexb.ts");
    engine.Output(name);
    ASSERT_EQ(engine.Run(), "");
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_EQ(output.Streams.size(), 2u);
    EXPECT_EQ(output.Streams[0].Codec, "h264");
    EXPECT_EQ(output.Streams[0].Packets, 50);

    // A filter that cannot take the stream stops the run before anything is written.
    TRunEngine refused;
    refused.Open(fixtures::Path(fixtures::kClipAvi));
    refused.Apply({{"vcodec", "copy"}, {"vbsf", "h264_mp4toannexb"}});
    refused.Output(FDir.File("refused.ts"));
    std::string message = refused.Run();
    EXPECT_TRUE(message.starts_with("h264_mp4toannexb failed for stream 0, codec copy: "))
        << message;
}

TEST_F(TranscodeRunTest, ShortestEndsWithTheFirstInputToEnd) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClip1sAvi));
    engine.Open(fixtures::Path(fixtures::kAudioMp3));
    engine.Apply({{"shortest", "1"}, {"map", "0:0"}, {"map", "1:0"}});
    std::string name = FDir.File("shortest.mkv");
    engine.Output(name);
    ASSERT_EQ(engine.Run(), "");
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_EQ(output.Streams.size(), 2u);
    EXPECT_LT(output.Streams[1].Duration, 1.5);
}

TEST_F(TranscodeRunTest, SetUpRefusals) {
    struct TCase {
        const char* Input;
        std::vector<std::pair<std::string, std::string>> Options;
        std::string Message;
    };
    const TCase cases[] = {
        {fixtures::kAudioMp3, {{"an", "1"}}, "Output file #0 does not contain any stream"},
        {fixtures::kClipAvi,
         {{"map", "0:0"}},
         "Number of stream maps must match number of output streams"},
        {fixtures::kClipAvi, {{"map", "0:0"}, {"map", "0:5"}}, "Could not find input stream #0.5"},
        {fixtures::kClipAvi,
         {{"map", "0:0"}, {"map", "0:1:1:0"}},
         "Could not find sync stream #1.0"},
        {fixtures::kClipAvi,
         {{"map", "0:1"}, {"map", "0:0"}},
         "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)"},
        {fixtures::kClipAvi,
         {{"map_meta_data", "1:0"}},
         "Invalid output file index 1 map_meta_data(1,0)"},
        {fixtures::kClipAvi,
         {{"map_meta_data", "0:3"}},
         "Invalid input file index 3 map_meta_data(0,3)"},
        {fixtures::kClipAvi,
         {{"acodec", "copy"}, {"vol", "512"}},
         "-acodec copy and -vol are incompatible (frames are not decoded)"},
        // H.263 takes only its own picture sizes.
        {fixtures::kClipAvi,
         {{"vcodec", "h263"}},
         "Error while opening encoder for output stream #0.0 (Video) - maybe incorrect "
         "parameters such as bit_rate, rate, width or height. Please check error log message "
         "to find out more detail information."},
        {fixtures::kClipAvi,
         {{"vcodec", "mpeg4"}, {"pass", "2"}, {"passlogfile", "/no/such/folder/stats"}},
         "Cannot read file: Error reading log file \"/no/such/folder/stats-0.log\" for pass-2 "
         "encoding"},
        {fixtures::kClipAvi,
         {{"vcodec", "mpeg4"}, {"pass", "1"}, {"passlogfile", "/no/such/folder/stats"}},
         "Cannot write log file /no/such/folder/stats-0.log for pass-1 encoding"},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(c.Input));
        engine.Apply(c.Options);
        std::string name = FDir.File("refused.mkv");
        engine.Output(name);
        // An earlier file of the name: a run refused before it writes leaves it as it was.
        testsupport::WriteFile(name, "an earlier conversion");
        EXPECT_EQ(engine.Run(), c.Message);
        EXPECT_FALSE(engine.Finished());
        EXPECT_TRUE(engine.FEncoderList.empty());
        EXPECT_TRUE(engine.FDecoderList.empty());
        EXPECT_EQ(testsupport::ReadFile(name), "an earlier conversion") << c.Message;
    }
}

TEST_F(TranscodeRunTest, VideoCopyRefusesThePostHooks) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Apply({{"vcodec", "copy"}});
    engine.Output(FDir.File("copy.mkv"));
    engine.SetPostHooks({phBitmap});
    EXPECT_EQ(engine.Run(), "-vcodec copy and PostHooks are incompatible (frames are not decoded)");
}

TEST_F(TranscodeRunTest, TwoPassStatisticsFiles) {
    std::string prefix = FDir.File("stats");
    for (const char* pass : {"1", "2"}) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kClip1sAvi));
        engine.Apply({{"vcodec", "mpeg4"}, {"an", "1"}, {"pass", pass}, {"passlogfile", prefix}});
        engine.Output(FDir.File(std::string("pass") + pass + ".avi"));
        EXPECT_EQ(engine.Run(), "") << pass;
        EXPECT_GT(std::filesystem::file_size(prefix + "-0.log"), 0u);
    }
}

TEST_F(TranscodeRunTest, StatisticsFilesWithoutAPrefixBelongToTheInput) {
    // The statistics files go to the temporary folder: this test's own folder stands in for it,
    // so that no other run's files are seen or touched.
    test::TTempFolderOverride tempFolder(FDir.Path());
    ASSERT_EQ(std::filesystem::temp_directory_path(), FDir.Path());
    // A copy of the clip under a name of this test's own, so no other job shares its files.
    std::string input = FDir.File("two_pass.avi");
    std::filesystem::copy_file(fixtures::Path(fixtures::kClip1sAvi), input);
    auto passFiles = [] {
        std::set<std::string> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
            std::string name = entry.path().filename().string();
            if (name.starts_with("ffmpeg2pass-") && name.ends_with("-0.log"))
                files.insert(entry.path().string());
        }
        return files;
    };
    std::set<std::string> before = passFiles();
    auto run = [&](const char* pass, const std::string& source) {
        TRunEngine engine;
        engine.Open(source);
        engine.Apply({{"vcodec", "mpeg4"}, {"an", "1"}, {"pass", pass}});
        engine.Output(FDir.File(std::string("pass") + pass + ".avi"));
        return engine.Run();
    };
    ASSERT_EQ(run("1", input), "");
    std::set<std::string> after = passFiles();
    std::vector<std::string> made;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(made));
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(run("2", input), "");
    // Another input has statistics of its own: none yet.
    std::string other = run("2", fixtures::Path(fixtures::kClipAvi));
    EXPECT_TRUE(other.starts_with("Cannot read file: Error reading log file \"")) << other;
    EXPECT_EQ(other.find(made[0]), std::string::npos);
    std::filesystem::remove(made[0]);
}

TEST_F(TranscodeRunTest, ProgressFollowsTheIntervalAndEndsOnce) {
    // Every look at the clock moves it on by 0.1 s.
    class TSteppingClock : public sys::TClock {
    public:
        int64_t NowMicros() override { return FNow += 100000; }

    private:
        std::atomic<int64_t> FNow{0};
    } clock;
    sys::SetClock(&clock);
    TRunEngine engine;
    engine.ReportInterval = 500000;
    TProgressLog progress;
    progress.Attach(engine);
    std::vector<int64_t> times;
    progress.OnEvent = [&](int) { times.push_back(clock.NowMicros()); };
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Output(FDir.File("progress.mkv"));
    std::string failure = engine.Run();
    sys::SetClock(nullptr);
    ASSERT_EQ(failure, "");

    std::vector<TProgress> events = progress.Events();
    ASSERT_GT(events.size(), 3u);
    for (size_t i = 0; i + 1 < events.size(); ++i) {
        EXPECT_EQ(events[i].FileIndex, 0);
        if (i > 0) {
            EXPECT_GE(times[i] - times[i - 1], 500000);
            EXPECT_LE(times[i] - times[i - 1], 900000);
        }
    }
    const TProgress& last = events.back();
    EXPECT_EQ(last.FileIndex, -1);
    EXPECT_EQ(last.FrameNumber, 50);
    EXPECT_GT(last.Size, 0);
    EXPECT_NEAR(double(last.Duration), 2e6, 1e5);
    EXPECT_NEAR(double(last.Total), 2e6, 1e5);
}

TEST_F(TranscodeRunTest, WithoutAnEventTheStatusGoesToTheLog) {
    TRunEngine engine;
    engine.ReportInterval = 0;
    engine.Open(fixtures::Path(fixtures::kAudioMp3));
    engine.Apply({{"map_meta_data", "0:0"}});
    std::string name = FDir.File("tone.mka");
    engine.Output(name);
    test::TLogCapture log;
    ASSERT_EQ(engine.Run(), "");
    std::vector<std::string> lines = log.Messages();
    auto has = [&](const std::string& start) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.starts_with(start); });
    };
    EXPECT_TRUE(has("Stream mapping:"));
    EXPECT_TRUE(has("  Stream #0.0 -> #0.0 (Audio)"));
    // No picture: the status line begins with the size.
    EXPECT_TRUE(has("size="));
    EXPECT_FALSE(has("frame="));
    EXPECT_TRUE(has("video:0kB audio:"));
    // The input's tags went along with the map.
    AVFormatContext* ic = nullptr;
    ASSERT_GE(lib::avformat_open_input(&ic, name.c_str(), nullptr, nullptr), 0);
    EXPECT_EQ(test::MetadataOf(ic->metadata, "title"), "Fixture Tone");
    lib::avformat_close_input(&ic);
}

TEST_F(TranscodeRunTest, AudioOnlyProgressHasNoFrames) {
    TRunEngine engine;
    TProgressLog progress;
    progress.Attach(engine);
    engine.Open(fixtures::Path(fixtures::kAudioMp3));
    engine.Output(FDir.File("tone.mp2"));
    ASSERT_EQ(engine.Run(), "");
    std::vector<TProgress> events = progress.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().FileIndex, -1);
    EXPECT_EQ(events.back().FrameNumber, -1);
    EXPECT_NEAR(double(events.back().Duration), 2e6, 1e5);
}

// Holds the conversion thread inside its `holdAt`-th progress report until the test has taken its
// step (stop, pause) and released it; bounded waits on both sides guard against hangs.
class TReportGate {
public:
    explicit TReportGate(int holdAt) : FHoldAt(holdAt) {}

    // From the progress handler, on the conversion thread.
    void OnReport() {
        std::unique_lock hold(FLock);
        if (FHeld || ++FReports < FHoldAt) return;
        FHeld = true;
        FChanged.notify_all();
        FChanged.wait_for(hold, std::chrono::milliseconds(test::kHangGuardMs),
                          [&] { return FReleased; });
    }
    bool WaitHeld() {
        std::unique_lock hold(FLock);
        return FChanged.wait_for(hold, std::chrono::milliseconds(test::kHangGuardMs),
                                 [&] { return FHeld; });
    }
    void Release() {
        {
            std::lock_guard hold(FLock);
            FReleased = true;
        }
        FChanged.notify_all();
    }

private:
    const int FHoldAt;
    std::mutex FLock;
    std::condition_variable FChanged;
    int FReports = 0;
    bool FHeld = false;
    bool FReleased = false;
};

TEST_F(TranscodeRunTest, StopFromAnotherThreadLeavesAPlayableFile) {
    TRunEngine engine;
    engine.ReportInterval = 0;
    TProgressLog progress;
    progress.Attach(engine);
    // The tenth report holds the run until the stop has been asked for.
    TReportGate gate(10);
    progress.OnEvent = [&](int fileIndex) {
        if (fileIndex >= 0) gate.OnReport();
    };
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    std::string name = FDir.File("stopped.mp4");
    engine.Output(name);
    TConvertThread* thread = engine.StartConvert(true, sys::tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Resume();
    ASSERT_TRUE(gate.WaitHeld());
    engine.Stop(false);
    gate.Release();
    ASSERT_TRUE(WaitUntil([&] { return engine.Terminated(); }));
    EXPECT_FALSE(engine.Finished());
    EXPECT_FALSE(engine.FatalException());
    EXPECT_EQ(progress.Events().back().FileIndex, -1);
    // The file has its index (written by the trailer) and holds the start only.
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_TRUE(output.Opened);
    ASSERT_EQ(output.Streams.size(), 2u);
    EXPECT_GT(output.Streams[0].Packets, 0);
    EXPECT_LT(output.Streams[0].Duration, 1.9);
}

TEST_F(TranscodeRunTest, AnInputWithoutADecodableFrameFailsAndLeavesNoFile) {
    // The only track's samples are all zeros: every packet fails to decode.
    std::string input = fixtures::Path(fixtures::kUndecodableMp4);
    for (const char* output : {"nothing.mp4", "nothing.avi"}) {
        TRunEngine engine;
        engine.Open(input);
        engine.Apply({{"vcodec", "mpeg4"}});
        std::string name = FDir.File(output);
        engine.Output(name);
        EXPECT_EQ(engine.Run(), "no frame could be decoded from '" + input + "'") << output;
        EXPECT_FALSE(engine.Finished()) << output;
        EXPECT_FALSE(std::filesystem::exists(name)) << output;
    }
}

// Files that change under a run, at its tenth picture: an output removed with its folder or
// replaced by another file, an input rewritten in place. The run fails naming the file, keeps
// nothing it wrote and leaves the file that took its output's place. A removed input still
// reads whole through the open file.
TEST_F(TranscodeRunTest, FilesThatChangeUnderTheRunFailIt) {
    namespace fs = std::filesystem;
    struct TCase {
        const char* Folder;
        void (*Change)(const std::string& input, const std::string& output);
        std::string Message;  // "<in>" and "<out>" stand for the names; empty: the run succeeds
    };
    const TCase cases[] = {
        {"folder_removed",
         [](const std::string&, const std::string& output) {
             fs::remove_all(fs::path(output).parent_path());
         },
         "<out>: No such file or directory; the file was removed while it was written"},
        {"output_replaced",
         [](const std::string&, const std::string& output) {
             testsupport::WriteFile(output + ".new", "someone else's");
             fs::rename(output + ".new", output);
         },
         "<out>: another file took its place while it was written"},
        {"input_rewritten",
         [](const std::string& input, const std::string&) {
             const std::string bytes = testsupport::ReadFile(input);
             testsupport::WriteFile(input, bytes.substr(0, bytes.size() / 2));
         },
         "<in>: the file changed while it was converted"},
        {"input_removed", [](const std::string& input, const std::string&) { fs::remove(input); },
         ""},
    };
    for (const TCase& c : cases) {
        FDir.MakeFolder(std::string(c.Folder) + "/out");
        const std::string input = FDir.File(std::string(c.Folder) + "/in.avi");
        const std::string output = FDir.File(std::string(c.Folder) + "/out/out.avi");
        fs::copy_file(fixtures::Path(fixtures::kClipAvi), input);
        TRunEngine engine;
        engine.ReportInterval = -1;  // a report after every packet
        bool changed = false;
        engine.OnProgress = [&](TCustomFFmpeg*, int fileIndex, int frameNumber, int, float, float,
                                int64_t, int64_t, int64_t) {
            if (changed || fileIndex < 0 || frameNumber < 10) return;
            changed = true;
            c.Change(input, output);
        };
        engine.Open(input);
        engine.Apply({{"vcodec", "mpeg4"}, {"an", "1"}});
        engine.Output(output);
        const std::string message = engine.Run();
        ASSERT_TRUE(changed) << c.Folder;
        std::string expected = c.Message;
        for (auto [mark, name] : {std::pair{"<in>", input}, std::pair{"<out>", output}})
            if (size_t at = expected.find(mark); at != std::string::npos)
                expected.replace(at, std::string(mark).size(), name);
        EXPECT_EQ(message, expected) << c.Folder;
        EXPECT_EQ(engine.Finished(), expected.empty()) << c.Folder;
        if (std::string(c.Folder) == "output_replaced")
            EXPECT_EQ(testsupport::ReadFile(output), "someone else's");
        else if (std::string(c.Folder) == "input_rewritten")
            EXPECT_FALSE(fs::exists(output)) << "a conversion of a changing file is not kept";
        else if (expected.empty())
            EXPECT_EQ(test::DescribeFile(output).Streams.at(0).Packets, 50);
    }
}

TEST_F(TranscodeRunTest, AFailedRunKeepsWhatItConvertedPlayableAndNothingElse) {
    // The failure comes from the progress handler, at the first report after the n-th picture
    // went to the encoder; a report follows every packet.
    struct TCase {
        const char* Output;
        std::vector<std::pair<std::string, std::string>> Options;
        int FailingFrame;
        bool Kept;
    };
    const TCase cases[] = {
        // The H.264 encoder holds its first pictures back: nothing was written yet.
        {"held.mp4", {{"vcodec", "libx264"}, {"an", "1"}}, 1, false},
        // MPEG-4 writes each picture at once: ten of them are in the file, which gets its end.
        {"written.mp4", {{"vcodec", "mpeg4"}, {"an", "1"}}, 10, true},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.ReportInterval = -1;
        engine.OnProgress = [&](TCustomFFmpeg*, int fileIndex, int frameNumber, int, float, float,
                                int64_t, int64_t, int64_t) {
            if (fileIndex >= 0 && frameNumber >= c.FailingFrame)
                throw std::runtime_error("the disk went away");
        };
        engine.Open(fixtures::Path(fixtures::kClipAvi));
        engine.Apply(c.Options);
        std::string name = FDir.File(c.Output);
        engine.Output(name);
        std::string message = engine.Run();
        EXPECT_FALSE(engine.Finished()) << c.Output;
        if (!c.Kept) {
            EXPECT_EQ(message, "the disk went away") << c.Output;
            EXPECT_FALSE(std::filesystem::exists(name)) << c.Output;
            continue;
        }
        EXPECT_EQ(
            message,
            "the disk went away; what was converted before the failure was kept in '" + name + "'");
        test::TFileInfo output = test::DescribeFile(name);
        ASSERT_TRUE(output.Opened) << c.Output;
        ASSERT_EQ(output.Streams.size(), 1u);
        EXPECT_EQ(output.Streams[0].Packets, 10);
    }
}

TEST_F(TranscodeRunTest, ACutFileKeepsAsMuchAsTheToolKeeps) {
    // Files cut after half their bytes, and what the ffmpeg tool makes of them with the same
    // settings.
    for (const char* fixture :
         {fixtures::kHalfClipMkv, fixtures::kHalfClipMp4, fixtures::kHalfClipWmv}) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixture));
        engine.Apply({{"vcodec", "mpeg4"}, {"acodec", "mp2"}});
        std::string name = FDir.File(std::string(fixture) + ".avi");
        engine.Output(name);
        EXPECT_EQ(engine.Run(), "") << fixture;
        test::TFileInfo tool =
            test::DescribeFile(fixtures::Path(std::string(fixture) + ".tool.avi"));
        test::TFileInfo ours = test::DescribeFile(name);
        ASSERT_TRUE(tool.Opened && ours.Opened) << fixture;
        ASSERT_EQ(ours.Streams.size(), tool.Streams.size()) << fixture;
        EXPECT_NEAR(ours.Duration, tool.Duration, 0.1 * tool.Duration) << fixture;
        for (size_t i = 0; i < ours.Streams.size(); ++i)
            EXPECT_NEAR(ours.Streams[i].Duration, tool.Streams[i].Duration,
                        0.1 * tool.Streams[i].Duration)
                << fixture << " stream " << i;
    }
}

TEST_F(TranscodeRunTest, PauseHoldsAndResumeGoesOn) {
    TRunEngine engine;
    engine.ReportInterval = 0;
    TProgressLog progress;
    progress.Attach(engine);
    // The first report holds the run until the pause has been asked for.
    TReportGate gate(1);
    progress.OnEvent = [&](int fileIndex) {
        if (fileIndex >= 0) gate.OnReport();
    };
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    std::string name = FDir.File("paused.mkv");
    engine.Output(name);
    TConvertThread* thread = engine.StartConvert(true, sys::tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Resume();
    ASSERT_TRUE(gate.WaitHeld());
    engine.Pause();
    gate.Release();
    // Held at the next packet: no report comes while paused.
    sys::SleepMs(300);
    size_t held = progress.Events().size();
    sys::SleepMs(200);
    EXPECT_EQ(progress.Events().size(), held);
    EXPECT_FALSE(engine.Terminated());
    engine.Resume();
    ASSERT_TRUE(WaitUntil([&] { return engine.Terminated(); }));
    EXPECT_TRUE(engine.Finished());
    EXPECT_GT(progress.Events().size(), held);
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_TRUE(output.Opened);
    EXPECT_NEAR(output.Streams[0].Duration, 2.0, 0.05);
}

TEST_F(TranscodeRunTest, JoinedInputsFollowOneAnother) {
    TRunEngine engine;
    TProgressLog progress;
    progress.Attach(engine);
    engine.ReportInterval = 0;
    engine.Open(fixtures::Path(fixtures::kClipAvi));
    engine.Open(fixtures::Path(fixtures::kClip1sAvi));
    std::string name = FDir.File("joined.mkv");
    ASSERT_EQ(engine.OpenOutputFile(name, true), 2);
    ASSERT_EQ(engine.Run(), "");
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_EQ(output.Streams.size(), 2u);
    EXPECT_NEAR(output.Streams[0].Duration, 3.0, 0.05);
    EXPECT_EQ(output.Streams[0].Packets, 75);
    EXPECT_NEAR(output.Streams[1].Duration, 3.0, 0.1);
    std::vector<TProgress> events = progress.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().FileIndex, 0);
    EXPECT_EQ(events[events.size() - 2].FileIndex, 1);
    EXPECT_EQ(events.back().FileIndex, -1);
    EXPECT_EQ(events.back().FrameNumber, 75);
    EXPECT_TRUE(engine.FEncoderList.empty());
}

TEST_F(TranscodeRunTest, SubtitlesAreEncodedOrCopied) {
    struct TCase {
        const char* Output;
        std::vector<std::pair<std::string, std::string>> Options;
        std::string Codec;
        int Packets;
        double Duration;
    };
    const TCase cases[] = {
        // Without a name the container's own subtitle codec, as for pictures and sound.
        {"subtitles.mkv", {}, "ass", 2, 0.8},
        {"copied.mkv", {{"scodec", "copy"}}, "subrip", 2, 0.8},
        // The muxer fills the time before and between the texts with empty samples.
        {"subtitles.mp4", {{"scodec", "mov_text"}}, "mov_text", 4, 0.9},
    };
    for (const TCase& c : cases) {
        TRunEngine engine;
        engine.Open(fixtures::Path(fixtures::kSubtitlesMkv));
        engine.Apply(c.Options);
        std::string name = FDir.File(c.Output);
        engine.Output(name);
        ASSERT_EQ(engine.Run(), "") << c.Output;
        test::TFileInfo output = test::DescribeFile(name);
        ASSERT_EQ(output.Streams.size(), 2u) << c.Output;
        EXPECT_EQ(output.Streams[1].Type, AVMEDIA_TYPE_SUBTITLE);
        EXPECT_EQ(output.Streams[1].Codec, c.Codec);
        EXPECT_EQ(output.Streams[1].Packets, c.Packets) << c.Output;
        EXPECT_NEAR(output.Streams[1].Duration, c.Duration, 0.01) << c.Output;
    }
}

TEST_F(TranscodeRunTest, PrivateOptionsOfAnotherEncoderAreNotUsed) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClip1sAvi));
    engine.Apply({{"vcodec", "mpeg4"}, {"crf", "20"}, {"an", "1"}});
    engine.Output(FDir.File("crf.avi"));
    test::TLogCapture log;
    ASSERT_EQ(engine.Run(), "");
    std::vector<std::string> lines = log.Messages();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Option crf does not apply to mpeg4: not used"),
              lines.end());
}

TEST_F(TranscodeRunTest, JobsRunSideBySide) {
    // The first pass's statistics files stay in the test's folder.
    test::TTempFolderOverride tempFolder(FDir.Path());
    std::vector<std::unique_ptr<TRunEngine>> engines;
    for (int i = 0; i < 3; ++i) {
        engines.push_back(std::make_unique<TRunEngine>());
        engines.back()->Open(fixtures::Path(fixtures::kClip1sAvi));
        engines.back()->Apply({{"vcodec", "mpeg4"}, {"pass", "1"}});
        engines.back()->Output(FDir.File("side" + std::to_string(i) + ".avi"));
    }
    for (auto& engine : engines) engine->StartConvert(true, sys::tpNormal)->Resume();
    for (auto& engine : engines) {
        ASSERT_TRUE(WaitUntil([&] { return engine->Terminated(); }));
        EXPECT_TRUE(engine->Finished());
        EXPECT_FALSE(engine->FatalException()) << engine->FatalMessage();
    }
    for (int i = 0; i < 3; ++i) {
        test::TFileInfo output = test::DescribeFile(FDir.File("side" + std::to_string(i) + ".avi"));
        ASSERT_EQ(output.Streams.size(), 2u);
        EXPECT_EQ(output.Streams[0].Packets, 25);
    }
}

TEST_F(TranscodeRunTest, JoinedCopiesThroughFilters) {
    TRunEngine engine;
    engine.Open(fixtures::Path(fixtures::kClipMp4));
    engine.Open(fixtures::Path(fixtures::kClipMp4));
    engine.Apply({{"vcodec", "copy"}, {"acodec", "copy"}, {"vbsf", "h264_mp4toannexb"}});
    std::string name = FDir.File("joined.ts");
    ASSERT_EQ(engine.OpenOutputFile(name, true), 2);
    ASSERT_EQ(engine.Run(), "");
    test::TFileInfo output = test::DescribeFile(name);
    ASSERT_EQ(output.Streams.size(), 2u);
    EXPECT_EQ(output.Streams[0].Packets, 100);
    EXPECT_NEAR(output.Streams[0].Duration, 4.0, 0.05);
    EXPECT_NEAR(output.Streams[1].Duration, 4.0, 0.1);
}

TEST_F(TranscodeRunTest, VideoSyncDecisions) {
    struct TCase {
        int Method;
        bool Variable;
        double Ipts;
        int64_t Opts;
        int FramesLeft;
        int Wanted;
        int Written;
        int64_t OptsAfter;
    };
    const TCase cases[] = {
        // Constant rate: a gap duplicates, a picture on time is kept, one too early dropped.
        {1, false, 13.4, 10, 100, 3, 3, 10},
        {1, false, 11.0, 10, 100, 1, 1, 10},
        {1, false, 8.8, 10, 100, 0, 0, 10},
        // Variable rate: never duplicates, jumps over a gap.
        {2, false, 9.3, 10, 100, 0, 0, 10},
        {2, false, 9.5, 10, 100, 1, 1, 10},
        {2, false, 15.0, 10, 100, 1, 1, 15},
        // Automatic: the output format decides.
        {-1, false, 13.4, 10, 100, 3, 3, 10},
        {-1, true, 9.3, 10, 100, 0, 0, 10},
        {-1, true, 13.4, 10, 100, 1, 1, 13},
        // Timestamps only: every picture once, the clock follows the input.
        {0, false, 42.4, 10, 100, 1, 1, 42},
        // The frame limit cuts duplicates, and leaves nothing once it is reached.
        {1, false, 13.4, 10, 1, 3, 1, 10},
        {1, false, 11.0, 10, 0, 1, 0, 10},
        {0, false, 42.4, 10, -3, 1, 0, 42},
    };
    for (const TCase& c : cases) {
        int64_t opts = c.Opts;
        TVideoSync sync = VideoSyncFrames(c.Method, c.Variable, c.Ipts, opts, c.FramesLeft);
        EXPECT_EQ(sync.Wanted, c.Wanted) << c.Method << " " << c.Ipts << " " << c.FramesLeft;
        EXPECT_EQ(sync.Written, c.Written) << c.Method << " " << c.Ipts << " " << c.FramesLeft;
        EXPECT_EQ(opts, c.OptsAfter) << c.Method << " " << c.Ipts;
    }
}

}  // namespace
}  // namespace media
