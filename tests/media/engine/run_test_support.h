// Engines and helpers for the tests of whole conversions: an engine that shows its outputs, a
// job run on the calling thread, and a description of a written file read back through the
// library. Tests only.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/fixtures.h"
#include "media/engine/engine_test_support.h"
#include "platform/sys/env.h"

namespace media::test {

class TRunEngine : public TTestEngine {
public:
    explicit TRunEngine(int maxFiles = 20) : TTestEngine(maxFiles) {}

    using TCustomFFmpeg::Fbitstream_filters;
    using TCustomFFmpeg::FDecoderList;
    using TCustomFFmpeg::FEncoderList;
    using TCustomFFmpeg::FJoinMode;
    using TCustomFFmpeg::Fmux_options;
    using TCustomFFmpeg::Fnb_ocodecs;
    using TCustomFFmpeg::Foutput_codec_contexts;
    using TCustomFFmpeg::Foutput_codecs;
    using TCustomFFmpeg::Foutput_files;
    using TCustomFFmpeg::Foutput_stream_setups;
    using TCustomFFmpeg::ReportInterval;

    void Open(const std::string& input) { ASSERT_TRUE(OpenInputFile(input)) << LastErrMsg(); }
    void Output(const std::string& output, bool join = false) {
        ASSERT_GT(OpenOutputFile(output, join), 0) << LastErrMsg();
    }
    // Options in order, as "name=value" pairs.
    void Apply(const std::vector<std::pair<std::string, std::string>>& options) {
        for (const auto& [name, value] : options) ParseOption(name, value);
    }
    // The job on this thread; the failure text, empty when it ran through.
    std::string Run() {
        StartConvert(false, sys::tpNormal);
        return FatalException() ? FatalMessage() : std::string();
    }
};

// What a written file holds, read back through the library.
struct TStreamInfo {
    AVMediaType Type = AVMEDIA_TYPE_UNKNOWN;
    std::string Codec;
    int Width = 0;
    int Height = 0;
    AVPixelFormat PixelFormat = AV_PIX_FMT_NONE;
    int SampleRate = 0;
    int Channels = 0;
    double Duration = 0;  // seconds, from the packets
    int Packets = 0;
    bool FirstIsKey = false;
};

struct TFileInfo {
    bool Opened = false;
    std::string Format;
    double Duration = 0;  // seconds, the container's
    std::vector<TStreamInfo> Streams;
};

TFileInfo DescribeFile(const std::string& fileName);

// Points the temporary folder (TMPDIR) at `folder` while it lives: the statistics files a
// two-pass job writes there by default stay in the test's own folder.
class TTempFolderOverride {
public:
    explicit TTempFolderOverride(const std::string& folder)
        : FHad(sys::HasEnv("TMPDIR")), FSaved(sys::GetEnv("TMPDIR")) {
        sys::SetEnv("TMPDIR", folder);
    }
    ~TTempFolderOverride() {
        if (FHad)
            sys::SetEnv("TMPDIR", FSaved);
        else
            sys::UnsetEnv("TMPDIR");
    }
    TTempFolderOverride(const TTempFolderOverride&) = delete;
    TTempFolderOverride& operator=(const TTempFolderOverride&) = delete;

private:
    bool FHad;
    std::string FSaved;
};

// The value of `key` in a library dictionary; '' when missing.
inline std::string MetadataOf(const AVDictionary* dictionary, const char* key) {
    const AVDictionaryEntry* entry = lib::av_dict_get(dictionary, key, nullptr, 0);
    return entry != nullptr && entry->value != nullptr ? entry->value : "";
}

}  // namespace media::test
