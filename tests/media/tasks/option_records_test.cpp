#include "media/tasks/option_records.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/media_test_support.h"
#include "media/tasks/ff_task_manager.h"
#include "platform/rtl/datetime.h"

namespace media {
namespace {

using TCalls = std::vector<std::string>;

// Writes down every call a record makes, and models the audio streams of one output: the output
// opens with the audio codec in force, each "newaudio" adds a stream with the codec then in force.
class TCallRecorder : public TOptionCalls {
public:
    TCalls Calls;
    std::vector<std::string> AudioStreams;

    void OpenOutput() { AudioStreams.push_back(FAudioCodec); }

    void ParseOption(const std::string& name, const std::string& value) override {
        Calls.push_back(name + "=" + value);
        if (name == "acodec") FAudioCodec = value;
        if (name == "newaudio") AudioStreams.push_back(FAudioCodec);
    }
    void SetFormatName(const std::string& v) override { Add("SetFormatName", v); }
    void SetStartTime(int64_t v) override { Add("SetStartTime", v); }
    void SetRecordingTime(int64_t v) override { Add("SetRecordingTime", v); }
    void SetProgramId(int v) override { Add("SetProgramId", v); }
    bool SetCodecOptionInt(const std::string& name, int value) override {
        Add("SetCodecOptionInt", name + "," + std::to_string(value));
        return true;
    }
    void SetMuxMaxDelay(float v) override { Add("SetMuxMaxDelay", rtl::FloatToStr(v)); }
    void SetMuxPreload(float v) override { Add("SetMuxPreload", rtl::FloatToStr(v)); }
    void SetAudioCodec(const std::string& v) override {
        Add("SetAudioCodec", v);
        FAudioCodec = v;
    }
    void SetVideoCodec(const std::string& v) override { Add("SetVideoCodec", v); }
    void SetSubtitleCodec(const std::string& v) override { Add("SetSubtitleCodec", v); }
    void SetAudioVolume(int v) override { Add("SetAudioVolume", v); }
    void SetAudioChannels(int v) override { Add("SetAudioChannels", v); }
    void SetAudioSampleRate(int v) override { Add("SetAudioSampleRate", v); }
    void SetAudioSyncMethod(int v) override { Add("SetAudioSyncMethod", v); }
    void SetAudioTag(const std::string& v) override { Add("SetAudioTag", v); }
    void SetFrameRate(const std::string& v) override { Add("SetFrameRate", v); }
    void SetFrameSize(const std::string& v) override { Add("SetFrameSize", v); }
    void SetFrameAspect(const std::string& v) override { Add("SetFrameAspect", v); }
    void SetCropTop(int v) override { Add("SetCropTop", v); }
    void SetCropBottom(int v) override { Add("SetCropBottom", v); }
    void SetCropLeft(int v) override { Add("SetCropLeft", v); }
    void SetCropRight(int v) override { Add("SetCropRight", v); }
    void SetVideoSyncMethod(int v) override { Add("SetVideoSyncMethod", v); }
    void SetVideoTag(const std::string& v) override { Add("SetVideoTag", v); }
    void SetVideoFilters(const std::string& v) override { Add("SetVideoFilters", v); }
    void SetRecordingTimestamp(int64_t v) override { Add("SetRecordingTimestamp", v); }
    void AddMetadata(const std::string& key, const std::string& value) override {
        Add("AddMetadata", key + "," + value);
    }
    void ApplyPreset(const std::string& kind, const std::string& name) override {
        Add("ApplyPreset", kind + "," + name);
    }
    void ApplyTarget(const std::string& target, const std::string& norm,
                     const std::string& defaultNorm) override {
        Add("ApplyTarget", target + "," + norm + "," + defaultNorm);
    }

private:
    void Add(const char* call, const std::string& value) {
        Calls.push_back(std::string(call) + "(" + value + ")");
    }
    void Add(const char* call, int64_t value) { Add(call, std::to_string(value)); }

    std::string FAudioCodec;
};

// What a record left at its defaults always assigns.
const TCalls kAlwaysCalls = {
    "alang=", "SetAudioSyncMethod(0)", "SetVideoSyncMethod(-1)", "vlang=", "slang=", "isync=0"};

TCalls OutputCalls(const TOutputOptions& options) {
    TCallRecorder recorder;
    TStreamDefaults list;
    ApplyOutputRecord(recorder, options, list);
    return recorder.Calls;
}

TEST(OptionRecordsTest, ADefaultOutputRecordMakesOnlyTheAlwaysCalls) {
    TOutputOptions options;
    EXPECT_EQ(OutputCalls(options), kAlwaysCalls);

    // A line of an option the record always assigns is undone; one it leaves alone stays.
    options.ExtOptions = "async=1\nab=128000";
    TCalls expected = {"async=1", "ab=128000"};
    expected.insert(expected.end(), kAlwaysCalls.begin(), kAlwaysCalls.end());
    EXPECT_EQ(OutputCalls(options), expected);

    // A reused record is back at its defaults.
    options.AudioCodec = "mp2";
    options.TimeLength = 5;
    InitOutputOptions(options);
    EXPECT_EQ(OutputCalls(options), kAlwaysCalls);
    TInputOptions input;
    input.ExtOptions = "ss=1";
    InitInputOptions(input);
    TCallRecorder recorder;
    ApplyInputRecord(recorder, input);
    EXPECT_TRUE(recorder.Calls.empty());
}

TEST(OptionRecordsTest, EveryFieldOfAnOutputRecordInItsPlace) {
    TOutputOptions o;
    o.FileName = "out.avi";
    o.FileExt = ".avi";
    o.FileFormat = "avi";
    o.PacketSize = 2048;
    o.MuxRate = 10080000;
    o.MuxDelay = 0.5f;
    o.MuxPreload = 0.25f;
    o.AudioCodec = "mp2";
    o.AudioPreset = "hq";
    o.DisableAudio = true;
    o.AudioVolume = 300;
    o.AudioChannels = 2;
    o.AudioSampleRate = 48000;
    o.AudioBitrate = 192000;
    o.AudioBitRateTolerance = 1000;
    o.AudioLanguage = "eng";
    o.AudioSyncMethod = 1;
    o.AudioTag = "abcd";
    o.VideoCodec = "mpeg4";
    o.VideoPreset = "fast";
    o.DisableVideo = true;
    o.FrameRate = "25";
    o.FrameSize = "320x240";
    o.FrameAspectRatio = "4:3";
    o.CropTop = 2;
    o.CropBottom = 4;
    o.CropLeft = 6;
    o.CropRight = 8;
    o.GroupPictureSize = 12;
    o.VideoBitrate = 800000;
    o.VideoMaxRate = 900000;
    o.VideoMinRate = 100000;
    o.VideoBitRateTolerance = 5000;
    o.VideoBufSize = 65536;
    o.VideoSyncMethod = 2;
    o.VideoTag = "XVID";
    o.VideoFilters = "hflip";
    o.VideoLanguage = "fra";
    o.SubtitleCodec = "srt";
    o.SubtitlePreset = "plain";
    o.DisableSubtitle = true;
    o.SubtitleLanguage = "deu";
    o.InputSync = true;
    o.CopyTimestamp = true;
    o.TimeStart = 1000000;
    o.TimeLength = 10000000;
    o.Info.TimeStamp = rtl::UnixToDateTime(86400);  // read as local time below
    o.Info.Year = 2010;
    o.Info.Track = 3;
    o.Info.Title = "T";
    o.Info.Author = "A";
    o.Info.Copyright = "C";
    o.Info.Comment = "M";
    o.Info.Album = "L";
    o.Info.Genre = "G";
    o.TargetType = ttSVCD;
    o.NormType = ntPAL;
    o.NormDefault = ntNTSC;
    o.ExtOptions = "ar=22050\nacodec=ac3";

    const TCalls expected = {
        "ApplyTarget(svcd,pal,ntsc)",
        "SetAudioCodec(mp2)",
        "SetVideoCodec(mpeg4)",
        "SetSubtitleCodec(srt)",
        "ApplyPreset(apre,hq)",
        "ApplyPreset(vpre,fast)",
        "ApplyPreset(spre,plain)",
        "ar=22050",
        "SetFormatName(avi)",
        "SetCodecOptionInt(packetsize,2048)",
        "SetCodecOptionInt(muxrate,10080000)",
        "SetMuxMaxDelay(0.5)",
        "SetMuxPreload(0.25)",
        "an=1",
        "SetAudioVolume(300)",
        "SetAudioChannels(2)",
        "SetAudioSampleRate(48000)",
        "SetCodecOptionInt(ab,192000)",
        "SetCodecOptionInt(abt,1000)",
        "alang=eng",
        "SetAudioSyncMethod(1)",
        "SetAudioTag(abcd)",
        "vn=1",
        "SetFrameRate(25)",
        "SetFrameAspect(4:3)",
        "SetCropTop(2)",
        "SetCropBottom(4)",
        "SetCropLeft(6)",
        "SetCropRight(8)",
        "SetCodecOptionInt(g,12)",
        "SetCodecOptionInt(vb,800000)",
        "SetCodecOptionInt(maxrate,900000)",
        "SetCodecOptionInt(minrate,100000)",
        "SetCodecOptionInt(bt,5000)",
        "SetCodecOptionInt(bufsize,65536)",
        "SetVideoSyncMethod(2)",
        "SetVideoTag(XVID)",
        "vlang=fra",
        "sn=1",
        "slang=deu",
        "isync=1",
        "copyts=1",
        "SetStartTime(1000000)",
        "SetRecordingTime(10000000)",
        "SetRecordingTimestamp(" + std::to_string(DateTimeToUnixTime(o.Info.TimeStamp)) + ")",
        "AddMetadata(year,2010)",
        "AddMetadata(track,3)",
        "AddMetadata(title,T)",
        "AddMetadata(author,A)",
        "AddMetadata(copyright,C)",
        "AddMetadata(comment,M)",
        "AddMetadata(album,L)",
        "AddMetadata(genre,G)",
        "SetFrameSize(320x240)",
        "SetVideoFilters(hflip)",
    };
    EXPECT_EQ(OutputCalls(o), expected);
}

TEST(OptionRecordsTest, AFieldIsAppliedOnlyWhenItIsSet) {
    struct TCase {
        const char* Name;
        void (*Set)(TOutputOptions&);
        const char* Call;  // nullptr: nothing beyond the always calls
    };
    const TCase cases[] = {
        {"volume 0", [](TOutputOptions& o) { o.AudioVolume = 0; }, "SetAudioVolume(0)"},
        {"volume -1", [](TOutputOptions& o) { o.AudioVolume = -1; }, nullptr},
        {"audio bit rate 0", [](TOutputOptions& o) { o.AudioBitrate = 0; }, nullptr},
        {"channels 0", [](TOutputOptions& o) { o.AudioChannels = 0; }, nullptr},
        {"crop 0", [](TOutputOptions& o) { o.CropLeft = 0; }, nullptr},
        {"mux delay 0", [](TOutputOptions& o) { o.MuxDelay = 0; }, nullptr},
        {"start 0", [](TOutputOptions& o) { o.TimeStart = 0; }, "SetStartTime(0)"},
        {"length 0", [](TOutputOptions& o) { o.TimeLength = 0; }, "SetRecordingTime(0)"},
        {"year 0", [](TOutputOptions& o) { o.Info.Year = 0; }, nullptr},
        {"time stamp -0.5", [](TOutputOptions& o) { o.Info.TimeStamp = -0.5; }, nullptr},
        {"copy ts false", [](TOutputOptions& o) { o.CopyTimestamp = false; }, nullptr},
        {"file ext", [](TOutputOptions& o) { o.FileExt = ".mp4"; }, nullptr},
        {"join", [](TOutputOptions& o) { o.Join = true; }, nullptr},
        {"hook", [](TOutputOptions& o) { o.CustomHook = true; }, nullptr},
    };
    for (const TCase& c : cases) {
        TOutputOptions options;
        c.Set(options);
        TCalls calls = OutputCalls(options);
        TCalls extra;
        for (const std::string& call : calls)
            if (std::find(kAlwaysCalls.begin(), kAlwaysCalls.end(), call) == kAlwaysCalls.end())
                extra.push_back(call);
        EXPECT_EQ(extra, c.Call != nullptr ? TCalls{c.Call} : TCalls{}) << c.Name;
    }
}

TEST(OptionRecordsTest, TheTargetAndItsNorms) {
    struct TCase {
        int Target;
        int Norm;
        int Default;
        const char* Call;  // nullptr: no target
    };
    const TCase cases[] = {
        {ttDVD, ntNTSC, ntPAL, "ApplyTarget(dvd,ntsc,pal)"},
        {ttVCD, ntAuto, ntNTSC, "ApplyTarget(vcd,auto,ntsc)"},
        {ttSVCD, ntPAL, ntPAL, "ApplyTarget(svcd,pal,pal)"},
        // Values outside the enumerations take the default branch.
        {ttDVD, 7, ntAuto, "ApplyTarget(dvd,auto,ntsc)"},
        {ttIgnore, ntPAL, ntPAL, nullptr},
        {9, ntPAL, ntPAL, nullptr},
    };
    for (const TCase& c : cases) {
        TOutputOptions options;
        options.TargetType = TOptionTargetType(c.Target);
        options.NormType = TOptionNormType(c.Norm);
        options.NormDefault = TOptionNormDefault(c.Default);
        TCallRecorder recorder;
        ApplyOutputTarget(recorder, options);
        EXPECT_EQ(recorder.Calls, c.Call != nullptr ? TCalls{c.Call} : TCalls{}) << c.Target;
    }
}

TEST(OptionRecordsTest, AudioCodecOfEachStreamFromTheFieldAndTheLines) {
    struct TCase {
        const char* AudioCodec;
        const char* ExtOptions;
        std::vector<std::string> Streams;
    };
    const TCase cases[] = {
        {"", "acodec=mp2", {"mp2"}},
        {"aac", "acodec=mp2\nnewaudio", {"aac", "mp2"}},
        {"", "acodec=mp2\nacodec=ac3\nnewaudio=\nnewaudio=", {"mp2", "mp2", "ac3"}},
        // A stream for which no line is left takes the default again.
        {"aac", "newaudio\nnewaudio", {"aac", "aac", "aac"}},
    };
    for (const TCase& c : cases) {
        TOutputOptions options;
        options.AudioCodec = c.AudioCodec;
        options.ExtOptions = c.ExtOptions;
        TCallRecorder recorder;
        TStreamDefaults list;
        ApplyOutputRecord(recorder, options, list);
        recorder.OpenOutput();
        AddExtraStreams(recorder, options.ExtOptions, list);
        EXPECT_EQ(recorder.AudioStreams, c.Streams) << c.ExtOptions;
    }
}

TEST(OptionRecordsTest, StreamDefaultsAndTheExtraVideoAndSubtitleStreams) {
    TOutputOptions options;
    options.VideoCodec = "mpeg4";
    options.ExtOptions =
        "VFilters=hflip\ns=\nvcodec=h263\nS=176x144\nscodec=srt\nvf=vflip\nnewvideo\n"
        "newsubtitle=x\nnewvideo";
    TStreamDefaults list;
    CollectStreamDefaults(list, options);
    // The field wins over the lines; the first line wins among them; empty values are dropped.
    EXPECT_EQ(list.Values("def_vcodec"), "mpeg4");
    EXPECT_EQ(list.Values("DEF_VF"), "hflip");
    EXPECT_EQ(list.Values("def_s"), "176x144");
    EXPECT_EQ(list.Values("def_scodec"), "srt");
    EXPECT_EQ(list.IndexOfName("def_acodec"), -1);

    TCallRecorder recorder;
    ApplyOutputRecord(recorder, options, list);
    // The stream lines are not applied as plain options on an output.
    const TCalls head = {"SetVideoCodec(mpeg4)", "SetSubtitleCodec(srt)"};
    EXPECT_EQ(TCalls(recorder.Calls.begin(), recorder.Calls.begin() + 2), head);
    const TCalls tail = {"SetFrameSize(176x144)", "SetVideoFilters(hflip)"};
    EXPECT_EQ(TCalls(recorder.Calls.end() - 2, recorder.Calls.end()), tail);

    recorder.Calls.clear();
    AddExtraStreams(recorder, options.ExtOptions, list);
    const TCalls extra = {"vcodec=h263",   "s=176x144",    "vf=hflip",  "newvideo=", "scodec=srt",
                          "newsubtitle=x", "vcodec=mpeg4", "s=176x144", "vf=vflip",  "newvideo="};
    EXPECT_EQ(recorder.Calls, extra);
}

TEST(OptionRecordsTest, TheInputSideAppliesItsLinesThenTheFields) {
    TInputOptions options;
    options.ExtOptions =
        "ACodec=mp3\ns=320x240\napre=hq\nnewaudio\nvf=hflip\nvfilters=vflip\nss=2<CRLF>f=avi";
    options.FileFormat = "mpeg";
    options.TimeStart = 3000000;
    options.ProgramID = 0;
    TCallRecorder recorder;
    ApplyInputRecord(recorder, options);
    const TCalls expected = {"acodec=mp3",     "s=320x240",           "ss=2",
                             "f=avi",          "SetFormatName(mpeg)", "SetStartTime(3000000)",
                             "SetProgramId(0)"};
    EXPECT_EQ(recorder.Calls, expected);
}

TEST(OptionRecordsTest, RecordsFromOptionText) {
    {
        TOutputOptions o = OutputOptionsFromText("Join=0\nHook");
        EXPECT_TRUE(o.Join);
        EXPECT_TRUE(o.CustomHook);
        EXPECT_EQ(o.ExtOptions, "");
    }
    {
        TOutputOptions o = OutputOptionsFromText("Join<CRLF>TimeLength=10000000");
        EXPECT_TRUE(o.Join);
        EXPECT_FALSE(o.CustomHook);
        EXPECT_EQ(o.TimeLength, 10000000);
        EXPECT_EQ(o.TimeStart, kNoTimestamp);
    }
    {
        TOutputOptions o =
            OutputOptionsFromText("customhook=0\r\nTIMESTART=abc\r\nVCodec=mpeg4\nnewaudio");
        EXPECT_TRUE(o.CustomHook);
        EXPECT_FALSE(o.Join);
        EXPECT_EQ(o.TimeStart, kNoTimestamp);
        EXPECT_EQ(o.ExtOptions, "VCodec=mpeg4\nnewaudio=\n");
    }
    {
        TInputOptions i = InputOptionsFromText("timestart=5000000\nJoin\nf=avi");
        EXPECT_EQ(i.TimeStart, 5000000);
        EXPECT_EQ(i.ExtOptions, "Join=\nf=avi\n");
    }
    {
        TInputOptions i = InputOptionsFromText("TimeStart=5s");
        EXPECT_EQ(i.TimeStart, kNoTimestamp);
        EXPECT_EQ(i.ExtOptions, "");
    }
}

TEST(OptionRecordsTest, TheCreationTime) {
    TCallRecorder recorder;
    TOutputOptions options;
    options.Info.TimeStamp = 0;
    int64_t before = std::time(nullptr);
    ApplyOutputOptions(recorder, options);
    int64_t after = std::time(nullptr);
    int64_t stamped = -1;
    for (const std::string& call : recorder.Calls)
        if (call.rfind("SetRecordingTimestamp(", 0) == 0) stamped = std::stoll(call.substr(22));
    EXPECT_GE(stamped, before - 1);
    EXPECT_LE(stamped, after + 1);
}

// Sets TZ for its lifetime.
class TTimeZone {
public:
    explicit TTimeZone(const char* zone) {
        const char* saved = std::getenv("TZ");
        if (saved != nullptr) FSaved = saved;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TTimeZone() {
        if (FSaved)
            setenv("TZ", FSaved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> FSaved;
};

TEST(OptionRecordsTest, LocalTimeToUnixTimeWithDaylightSaving) {
    struct TCase {
        const char* Zone;
        rtl::TDateTime Local;
        int64_t Unix;
    };
    const TCase cases[] = {
        {"UTC0", rtl::EncodeDate(1970, 1, 1), 0},
        {"UTC0", rtl::EncodeDate(2021, 7, 1) + rtl::EncodeTime(12, 0, 0, 0), 1625140800},
        // Central Europe: one hour ahead in winter, two in summer.
        {"CET-1CEST,M3.5.0,M10.5.0/3", rtl::EncodeDate(2021, 1, 1) + rtl::EncodeTime(12, 0, 0, 0),
         1609498800},
        {"CET-1CEST,M3.5.0,M10.5.0/3", rtl::EncodeDate(2021, 7, 1) + rtl::EncodeTime(12, 0, 0, 0),
         1625133600},
        {"CST-8", rtl::EncodeDate(2021, 7, 1) + rtl::EncodeTime(8, 0, 0, 0), 1625097600},
        // To the nearest second.
        {"UTC0", rtl::EncodeDate(2021, 7, 1) + rtl::EncodeTime(12, 0, 0, 600), 1625140801},
        {"UTC0", rtl::EncodeDate(2021, 7, 1) + rtl::EncodeTime(12, 0, 0, 400), 1625140800},
        {"UTC0", rtl::EncodeDate(1969, 12, 31) + rtl::EncodeTime(23, 0, 0, 0), -3600},
    };
    for (const TCase& c : cases) {
        TTimeZone zone(c.Zone);
        EXPECT_EQ(DateTimeToUnixTime(c.Local), c.Unix) << c.Zone << " " << c.Local;
    }
}

// A task whose option state the test can read.
class TOptionTask : public TFFmpeg {
public:
    TOptionTask() : TFFmpeg(20) { FullReset(); }
    const TFFmpegOptionState& State() const { return *this; }
    using TCustomFFmpeg::Fmetadata;
    int64_t CodecOption(AVMediaType type, const char* name) {
        int64_t value = 0;
        lib::av_opt_get_int(FOptions.avcodec_opts[type], name, 0, &value);
        return value;
    }
};

class OptionRecordsEngineTest : public testing::Test {
protected:
    void SetUp() override { test::RequireLibraries(); }
};

TEST_F(OptionRecordsEngineTest, ARecordOnAnEngineOverridesOnlyWhatItSets) {
    TOptionTask task;
    TOutputOptions options;
    options.ExtOptions = "async=1\nab=128000\nvol=100\nvsync=0";
    options.AudioVolume = 0;
    options.Info.Year = 1999;
    options.Info.Title = "Song";
    TStreamDefaults list;
    ApplyOutputRecord(task, options, list);
    EXPECT_EQ(task.State().Faudio_sync_method, 0);
    EXPECT_EQ(task.CodecOption(AVMEDIA_TYPE_AUDIO, "b"), 128000);
    EXPECT_EQ(task.State().Faudio_volume, 0);
    EXPECT_EQ(task.State().Fvideo_sync_method, -1);
    ASSERT_EQ(task.Fmetadata.size(), 2u);
    EXPECT_EQ(task.Fmetadata[0].Key, "year");
    EXPECT_EQ(task.Fmetadata[0].Value, "1999");
    EXPECT_EQ(task.Fmetadata[1].Key, "title");
}

TEST_F(OptionRecordsEngineTest, AValueTheEngineCannotReadRaisesAndWhatCameBeforeStays) {
    struct TCase {
        void (*Set)(TOutputOptions&);
        const char* Message;
    };
    const TCase cases[] = {
        {[](TOutputOptions& o) { o.FrameRate = "fast"; }, "Incorrect frame rate"},
        {[](TOutputOptions& o) { o.FrameAspectRatio = "wide"; },
         "Incorrect aspect ratio specification."},
        {[](TOutputOptions& o) { o.AudioTag = "abc"; }, "audio tag parameter must be 4 chars"},
        {[](TOutputOptions& o) { o.FrameSize = "big"; }, "Incorrect frame size"},
        {[](TOutputOptions& o) { o.ExtOptions = "r=fast"; }, "Incorrect frame rate"},
    };
    for (const TCase& c : cases) {
        TOptionTask task;
        TOutputOptions options;
        options.AudioVolume = 512;
        c.Set(options);
        TStreamDefaults list;
        try {
            ApplyOutputRecord(task, options, list);
            ADD_FAILURE() << c.Message << " was not raised";
        } catch (const FFmpegException& e) {
            EXPECT_EQ(std::string(e.what()), c.Message);
        }
        // The volume comes before every failing field but the ExtOptions line.
        bool lineFailed = !options.ExtOptions.empty();
        EXPECT_EQ(task.State().Faudio_volume, lineFailed ? 256 : 512) << c.Message;
    }
}

}  // namespace
}  // namespace media
