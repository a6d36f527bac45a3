// Every output preset converts: its defaults, applied as the add applies them and turned into an
// output record, run through the engine and the task manager on a tiny clip; the written file is
// probed against what the preset asks for. "Subset" takes one preset per container, codecs and
// target and is what the binary runs by default; "AllPresets" takes all 320, and every entry of
// the parameter lists of the AMR presets, whose encoder takes a few values only.
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "catalogue/apply_preset.h"
#include "catalogue/categories.h"
#include "catalogue/preset_defaults.h"
#include "catalogue/presets.h"
#include "fixtures/fixtures.h"
#include "media/media_test_support.h"
#include "media/probe/av_probe.h"
#include "media/tasks/ff_task_manager.h"
#include "preset_conversion_support.h"

namespace catalogue {
namespace {

using testing::HasSubstr;

// The input: tiny_clip.avi.
constexpr int kInputWidth = 160;
constexpr int kInputHeight = 120;
constexpr int kInputSampleRate = 44100;
constexpr int kInputChannels = 2;

// The presets that write AMR-NB. Its encoder takes 8000 Hz mono only, and these bit rates, one
// per mode: the mode is written into the header byte of every frame.
const std::set<int> kAmrPresets = {212, 700, 702, 704, 708};
constexpr int kAmrBitrates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};

// What the probe names each output container, and the codecs the container writes when the
// preset names none. The probe names the ISO family alone; the brand its file type box names
// first (its start, where the version follows) tells 3GP from MP4.
struct TContainer {
    std::string_view Ext;
    const char* Format;
    const char* VideoCodec;
    const char* AudioCodec;
    const char* Brand = "";
};
constexpr const char* kIsoFormat = "mov,mp4,m4a,3gp,3g2,mj2";
constexpr TContainer kContainers[] = {
    {".avi", "avi", "mpeg4", "mp3"},
    {".mp4", kIsoFormat, "h264", "aac", "isom"},
    {".mov", kIsoFormat, "h264", "aac", "qt  "},
    {".3gp", kIsoFormat, "h263", "amr_nb", "3gp"},
    {".3g2", kIsoFormat, "h263", "amr_nb", "3g2"},
    {".m4a", kIsoFormat, "", "aac", "M4A "},
    {".mkv", "matroska,webm", "h264", "vorbis"},
    {".mpg", "mpeg", "mpeg1video", "mp2"},
    {".mpeg", "mpeg", "mpeg1video", "mp2"},
    {".vob", "mpeg", "mpeg2video", "mp2"},
    {".asf", "asf", "msmpeg4v3", "wmav2"},
    {".wmv", "asf", "msmpeg4v3", "wmav2"},
    {".wma", "asf", "", "wmav2"},
    {".flv", "flv", "flv1", "mp3"},
    {".swf", "swf", "flv1", "mp3"},
    {".rm", "rm", "rv10", "ac3"},
    {".ra", "rm", "", "ac3"},
    {".mp3", "mp3", "", "mp3"},
    {".mp2", "mp3", "", "mp2"},
    {".wav", "wav", "", "pcm_s16le"},
    {".aiff", "aiff", "", "pcm_s16be"},
    {".aac", "aac", "", "aac"},
    {".ac3", "ac3", "", "ac3"},
    {".ogg", "ogg", "", "vorbis"},
    {".flac", "flac", "", "flac"},
    {".amr", "amr", "", "amr_nb"},
};

// The codec each encoder name of the catalogue writes.
constexpr std::pair<std::string_view, const char*> kEncoderCodecs[] = {
    {"mpeg4", "mpeg4"},
    {"libxvid", "mpeg4"},
    {"libx264", "h264"},
    {"msmpeg4", "msmpeg4v3"},
    {"msmpeg4v2", "msmpeg4v2"},
    {"msmpeg4v1", "msmpeg4v2"},  // no encoder of its own any more
    {"wmv2", "wmv2"},
    {"h263", "h263"},
    {"rv20", "rv20"},
    {"mpeg1video", "mpeg1video"},
    {"mpeg2video", "mpeg2video"},
    {"libmp3lame", "mp3"},
    {"libfaac", "aac"},  // the native encoder stands in
    {"wmav2", "wmav2"},
    {"libvorbis", "vorbis"},
    {"ac3", "ac3"},
    {"flac", "flac"},
    {"libopencore_amrnb", "amr_nb"},
};

// Codecs a container cannot carry, and what is written instead.
struct TSubstitute {
    std::string_view Codec;
    std::array<std::string_view, 3> Exts;
    const char* Written;
};
constexpr TSubstitute kSubstitutes[] = {
    {"aac", {".mpg", ".mpeg", ".vob"}, "mp2"},
    {"msmpeg4v2", {".mp4"}, "mpeg4"},
    {"msmpeg4v3", {".mp4"}, "mpeg4"},
};

// What a disc target writes on its own.
struct TDiscTarget {
    std::string_view Target;
    std::string_view Norm;
    const char* VideoCodec;
    int Width;
    int Height;
    const char* AudioCodec;
    int SampleRate;
};
constexpr TDiscTarget kDiscTargets[] = {
    {"vcd", "PAL", "mpeg1video", 352, 288, "mp2", 44100},
    {"vcd", "NTSC", "mpeg1video", 352, 240, "mp2", 44100},
    {"svcd", "PAL", "mpeg2video", 480, 576, "mp2", 44100},
    {"svcd", "NTSC", "mpeg2video", 480, 480, "mp2", 44100},
    {"dvd", "PAL", "mpeg2video", 720, 576, "ac3", 48000},
    {"dvd", "NTSC", "mpeg2video", 720, 480, "ac3", 48000},
};

struct TExpectedOutput {
    std::string Format;
    std::string Brand;       // ISO files only
    std::string VideoCodec;  // empty: no video stream
    int Width = 0;
    int Height = 0;
    std::string AudioCodec;
    int SampleRate = 0;
    int Channels = 0;
    int AmrMode = -1;  // AMR-NB only
};

int AmrModeOf(int bitrate) {
    for (int mode = 0; mode < int(std::size(kAmrBitrates)); ++mode)
        if (kAmrBitrates[mode] == bitrate) return mode;
    ADD_FAILURE() << "no AMR-NB mode of " << bitrate << " bit/s";
    return -1;
}

void SetFrameSize(TExpectedOutput& e, const std::string& size) {  // "W*H"
    const size_t star = size.find('*');
    e.Width = std::stoi(size.substr(0, star));
    e.Height = std::stoi(size.substr(star + 1));
}

const TContainer& ContainerOf(std::string_view ext) {
    for (const TContainer& container : kContainers)
        if (container.Ext == ext) return container;
    ADD_FAILURE() << "no container for " << ext;
    return kContainers[0];
}

std::string CodecWritten(std::string_view encoder, std::string_view ext, const char* byDefault) {
    if (encoder.empty()) return byDefault;
    std::string codec;
    for (const auto& [name, written] : kEncoderCodecs)
        if (name == encoder) codec = written;
    if (codec.empty()) ADD_FAILURE() << "no codec for " << encoder;
    for (const TSubstitute& substitute : kSubstitutes)
        if (substitute.Codec == codec &&
            std::ranges::find(substitute.Exts, ext) != substitute.Exts.end())
            return substitute.Written;
    return codec;
}

int NumberOr(const char* text, int fallback) {
    return *text != '\0' ? std::stoi(text) : fallback;
}

TExpectedOutput ExpectedOutputOf(const TPresetDefaults& d) {
    TExpectedOutput e;
    const TContainer& container = ContainerOf(d.OutputExt);
    e.Format = container.Format;
    e.Brand = container.Brand;
    if (d.Template == TPresetTemplate::Disc) {
        for (const TDiscTarget& disc : kDiscTargets) {
            if (disc.Target != d.TargetType || disc.Norm != d.NormType) continue;
            e.VideoCodec = disc.VideoCodec;
            e.Width = disc.Width;
            e.Height = disc.Height;
            e.AudioCodec = disc.AudioCodec;
            e.SampleRate = disc.SampleRate;
            e.Channels = 2;
            return e;
        }
        ADD_FAILURE() << "no disc target " << d.TargetType << " " << d.NormType;
        return e;
    }
    if (d.Template != TPresetTemplate::Audio) {
        e.VideoCodec = CodecWritten(d.VideoCodec, d.OutputExt, container.VideoCodec);
        e.Width = kInputWidth;
        e.Height = kInputHeight;
        if (*d.FrameSize != '\0') SetFrameSize(e, d.FrameSize);
    }
    e.AudioCodec = CodecWritten(d.AudioCodec, d.OutputExt, container.AudioCodec);
    e.SampleRate = NumberOr(d.AudioSampleRate, kInputSampleRate);
    e.Channels = NumberOr(d.AudioChannels, kInputChannels);
    if (e.AudioCodec == "amr_nb") e.AmrMode = AmrModeOf(d.AudioBitrate);
    return e;
}

struct TPresetCase {
    int PresetKey;
    int CategoryIndex;
    int PresetIndex;
};

void PrintTo(const TPresetCase& c, std::ostream* os) {
    *os << c.PresetKey;
}

std::vector<TPresetCase> AllPresetCases() {
    std::vector<TPresetCase> cases;
    for (const TPresetCategory& category : PresetCategories()) {
        std::span<const TOutputPreset> presets = PresetsOfCategory(category.CategoryIndex);
        for (size_t i = 0; i < presets.size(); ++i)
            cases.push_back({presets[i].PresetKey, category.CategoryIndex, int(i)});
    }
    return cases;
}

// The first preset of each container, stream kinds, codecs and target.
std::vector<TPresetCase> SubsetCases() {
    std::vector<TPresetCase> cases;
    std::set<std::string> signatures;
    for (const TPresetCase& c : AllPresetCases()) {
        const TPresetDefaults* d = FindPresetDefaults(c.PresetKey);
        if (d == nullptr) continue;
        std::string signature = std::string(d->OutputExt) + "|" + std::to_string(int(d->Template)) +
                                "|" + d->VideoCodec + "|" + d->AudioCodec + "|" + d->TargetType +
                                "|" + d->NormType;
        if (signatures.insert(signature).second) cases.push_back(c);
    }
    return cases;
}

std::string CodecNameOf(media::TAVProbe& probe, int streamIndex) {
    const AVCodecParameters* par = probe.FileHandle()->streams[streamIndex]->codecpar;
    const AVCodecDescriptor* descriptor = media::lib::avcodec_descriptor_get(par->codec_id);
    return descriptor != nullptr ? descriptor->name : "";
}

std::string MajorBrand(media::TAVProbe& probe) {
    const AVDictionaryEntry* entry =
        media::lib::av_dict_get(probe.FileHandle()->metadata, "major_brand", nullptr, 0);
    return entry != nullptr ? entry->value : "";
}

// The mode of the first AMR-NB frame of the audio stream: bits 3 to 6 of its header byte.
int FirstAmrMode(media::TAVProbe& probe) {
    AVPacket* packet = media::lib::av_packet_alloc();
    int mode = -1;
    while (mode < 0 && media::lib::av_read_frame(probe.FileHandle(), packet) >= 0) {
        if (packet->stream_index == probe.FirstAudioStreamIndex() && packet->size > 0)
            mode = (packet->data[0] >> 3) & 0x0F;
        media::lib::av_packet_unref(packet);
    }
    media::lib::av_packet_free(&packet);
    return mode;
}

class ConversionTest : public testing::Test {
protected:
    void SetUp() override {
        media::test::RequireLibraries();
        FManager.SetTriggerEventInMainThread(false);
        FManager.SetOnTerminate(
            [this](media::TCustomFFTaskManager*, const media::TTerminateInfo& info) {
                FReports.push_back(info);
            });
    }

    // The working settings of a preset as the add fills them for tiny_clip.avi.
    TWorkingSettings Apply(const TPresetCase& c) {
        TWorkingSettings settings;
        settings.Video_AddFileName = fixtures::Path(fixtures::kTinyClipAvi);
        TOutputNameRules rules;
        rules.OutputFolder = FDir.Path();
        std::string errorText;
        EXPECT_TRUE(ApplyPreset(c.CategoryIndex, c.PresetIndex, rules, settings, errorText))
            << errorText;
        EXPECT_EQ(settings.All_Trant_Number, c.PresetKey);
        return settings;
    }

    // Queues the input with the settings' output record; false when the output is refused.
    bool Queue(const TWorkingSettings& settings) {
        media::TOutputOptions output = test::OutputOptionsFromSettings(settings);
        media::TInputOptions input;
        media::InitInputOptions(input);
        EXPECT_EQ(FManager.AddTask(settings.Video_AddFileName, &input), 0) << FManager.LastErrMsg();
        return FManager.SetOutputFile(0, settings.Video_OutPutFileName, &output);
    }

    // Converts on this thread and probes what was written.
    void ConvertAndCheck(const TWorkingSettings& settings, const TExpectedOutput& expected) {
        const std::string& outputName = settings.Video_OutPutFileName;
        ASSERT_TRUE(Queue(settings)) << FManager.LastErrMsg();
        FManager.Start(0);
        ASSERT_EQ(FReports.size(), 2u);
        EXPECT_TRUE(FReports[0].Finished);
        ASSERT_FALSE(FReports[0].Exception) << FReports[0].ExceptionMsg;

        media::TAVProbe probe;
        ASSERT_TRUE(probe.LoadFile(outputName)) << probe.LastErrMsg();
        EXPECT_EQ(probe.FormatName(), expected.Format);
        if (!expected.Brand.empty()) {
            EXPECT_THAT(MajorBrand(probe), testing::StartsWith(expected.Brand));
        }
        if (expected.VideoCodec.empty()) {
            EXPECT_EQ(probe.VideoStreamCount(), 0);
        } else {
            ASSERT_EQ(probe.VideoStreamCount(), 1);
            EXPECT_EQ(CodecNameOf(probe, probe.FirstVideoStreamIndex()), expected.VideoCodec);
            media::TVideoStreamInfo video = probe.FirstVideoStreamInfo();
            EXPECT_EQ(video.Width, expected.Width);
            EXPECT_EQ(video.Height, expected.Height);
        }
        ASSERT_EQ(probe.AudioStreamCount(), 1);
        EXPECT_EQ(CodecNameOf(probe, probe.FirstAudioStreamIndex()), expected.AudioCodec);
        media::TAudioStreamInfo audio = probe.FirstAudioStreamInfo();
        EXPECT_EQ(audio.SampleRate, expected.SampleRate);
        EXPECT_EQ(audio.Channels, expected.Channels);
        if (expected.AmrMode >= 0) {
            EXPECT_EQ(FirstAmrMode(probe), expected.AmrMode);
        }
    }

    media::test::TTempDir FDir;
    media::TFFTaskManager FManager;
    std::vector<media::TTerminateInfo> FReports;
};

TPresetCase PresetCaseOf(int presetKey) {
    for (const TPresetCase& c : AllPresetCases())
        if (c.PresetKey == presetKey) return c;
    ADD_FAILURE() << "no preset " << presetKey;
    return {};
}

class PresetConversionTest : public ConversionTest,
                             public testing::WithParamInterface<TPresetCase> {};

TEST_P(PresetConversionTest, WritesWhatItsDefaultsAskFor) {
    const TPresetCase& c = GetParam();
    const TPresetDefaults* defaults = FindPresetDefaults(c.PresetKey);
    ASSERT_NE(defaults, nullptr);
    ConvertAndCheck(Apply(c), ExpectedOutputOf(*defaults));
}

// One entry of one parameter list of an AMR preset, the other five at their defaults.
struct TListEntryCase {
    int PresetKey;
    TPresetParam Param;
    int EntryIndex;
};

void PrintTo(const TListEntryCase& c, std::ostream* os) {
    *os << c.PresetKey << " list " << int(c.Param) << " entry " << c.EntryIndex;
}

std::vector<TListEntryCase> AmrListEntryCases() {
    std::vector<TListEntryCase> cases;
    for (int key : kAmrPresets) {
        const TPresetChoices* row = FindPresetChoices(key);
        if (row == nullptr) continue;
        for (int param = 0; param < kPresetParamCount; ++param)
            for (size_t i = 0; i < row->Choices[param].List->Entries.size(); ++i)
                cases.push_back({key, TPresetParam(param), int(i)});
    }
    return cases;
}

class AmrListEntryTest : public ConversionTest,
                         public testing::WithParamInterface<TListEntryCase> {};

// What the entries give is what the encoder takes: each one converts, and its bit rate is the
// mode of the frames written, not a neighbour the encoder rounded to.
TEST_P(AmrListEntryTest, ConvertsWithTheEntryTakenOver) {
    const TListEntryCase& c = GetParam();
    const TPresetDefaults* defaults = FindPresetDefaults(c.PresetKey);
    const TPresetChoices* row = FindPresetChoices(c.PresetKey);
    ASSERT_NE(defaults, nullptr);
    ASSERT_NE(row, nullptr);
    TWorkingSettings settings = Apply(PresetCaseOf(c.PresetKey));
    for (int param = 0; param < kPresetParamCount; ++param) {
        const TPresetChoice& choice = row->Choices[param];
        const int index = param == c.Param ? c.EntryIndex : choice.DefaultIndex;
        test::TakeOverListEntry(TPresetParam(param), choice.List->Entries[index], settings);
    }

    TExpectedOutput expected = ExpectedOutputOf(*defaults);
    if (!expected.VideoCodec.empty()) {
        expected.Width = kInputWidth;
        expected.Height = kInputHeight;
        if (!settings.Video_FrameSize.empty()) SetFrameSize(expected, settings.Video_FrameSize);
    }
    expected.SampleRate = std::stoi(settings.Video_AudioSampleRate);
    expected.AmrMode = AmrModeOf(settings.Video_AudioBitrate);
    ConvertAndCheck(settings, expected);
}

// Where the libraries lack the encoder a preset names, the output is refused with the library's
// word for it and no file is left behind.
TEST_F(ConversionTest, MissingEncoderRefusesTheOutputAndLeavesNoFile) {
    TWorkingSettings settings = Apply(PresetCaseOf(212));
    settings.Video_AudioCodec = "libopencore_amrnb_absent";
    EXPECT_FALSE(Queue(settings));
    EXPECT_THAT(FManager.LastErrMsg(), HasSubstr("Unknown encoder 'libopencore_amrnb_absent'"));
    EXPECT_FALSE(std::filesystem::exists(settings.Video_OutPutFileName));
}

// A value the encoder cannot take is its refusal, reported as the task's error; nothing is
// changed to make it fit, and no file is left behind.
TEST_F(ConversionTest, AmrRefusesWhatItCannotTakeAsTheTasksError) {
    struct TCase {
        const char* SampleRate;
        const char* Channels;
        const char* Refusal;
    };
    const TCase cases[] = {
        {"22050", "1", "Only 8000Hz sample rate supported"},
        {"8000", "2", "Only mono supported"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.SampleRate) + " Hz, " + c.Channels + " channels");
        FReports.clear();
        FManager.ClearTasks();
        TWorkingSettings settings = Apply(PresetCaseOf(212));
        settings.Video_AudioSampleRate = c.SampleRate;
        settings.Video_AudioChannels = c.Channels;
        ASSERT_TRUE(Queue(settings)) << FManager.LastErrMsg();
        FManager.Start(0);
        ASSERT_EQ(FReports.size(), 2u);
        EXPECT_FALSE(FReports[0].Finished);
        EXPECT_TRUE(FReports[0].Exception);
        EXPECT_THAT(FReports[0].ExceptionMsg, HasSubstr("Error while opening encoder"));
        EXPECT_FALSE(std::filesystem::exists(settings.Video_OutPutFileName));
    }
}

std::string ListEntryCaseName(const testing::TestParamInfo<TListEntryCase>& info) {
    constexpr const char* kNames[] = {"FrameSize",    "VideoBitrate", "FrameRate",
                                      "AudioBitrate", "SampleRate",   "AspectMode"};
    return "Key" + std::to_string(info.param.PresetKey) + kNames[info.param.Param] +
           std::to_string(info.param.EntryIndex);
}

std::string CaseName(const testing::TestParamInfo<TPresetCase>& info) {
    return "Key" + std::to_string(info.param.PresetKey);
}

INSTANTIATE_TEST_SUITE_P(Subset, PresetConversionTest, testing::ValuesIn(SubsetCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(AllPresets, PresetConversionTest, testing::ValuesIn(AllPresetCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(AllPresets, AmrListEntryTest, testing::ValuesIn(AmrListEntryCases()),
                         ListEntryCaseName);

TEST(PresetConversionCases, CoverEveryPresetAndTheSubsetEverySignature) {
    std::set<int> keys;
    for (const TPresetCase& c : AllPresetCases()) keys.insert(c.PresetKey);
    EXPECT_EQ(keys.size(), size_t(kPresetCount));
    for (int key : kAmrPresets) EXPECT_TRUE(keys.contains(key)) << key;
    // Every AMR preset, and only those, name the AMR-NB encoder and expect it at 8000 Hz mono.
    for (const TPresetDefaults& d : PresetDefaultsTable()) {
        const bool amr = std::string_view(d.AudioCodec) == "libopencore_amrnb";
        EXPECT_EQ(amr, kAmrPresets.contains(d.PresetKey)) << d.PresetKey;
        if (!amr) continue;
        const TExpectedOutput e = ExpectedOutputOf(d);
        EXPECT_EQ(e.AudioCodec, "amr_nb") << d.PresetKey;
        EXPECT_EQ(e.SampleRate, 8000) << d.PresetKey;
        EXPECT_EQ(e.Channels, 1) << d.PresetKey;
        EXPECT_GE(e.AmrMode, 0) << d.PresetKey;
    }
    // Each entry of each list of the AMR presets is one case.
    EXPECT_EQ(AmrListEntryCases().size(), 169u);
    std::vector<TPresetCase> subset = SubsetCases();
    EXPECT_LT(subset.size(), keys.size());
}

}  // namespace
}  // namespace catalogue

int main(int argc, char** argv) {
    // A run that names no tests of its own leaves the full run out; that asks for "AllPresets/*".
    if (std::getenv("GTEST_FILTER") == nullptr) GTEST_FLAG_SET(filter, "-AllPresets/*");
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
