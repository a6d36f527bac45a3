// Engines for the engine's tests: one that shows its job state, and a fake job whose run is a
// loop of steps, so the lifecycle can be driven before real outputs exist. Tests only.
#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "media/engine/ffmpeg_engine.h"

namespace media::test {

class TTestEngine : public TCustomFFmpeg {
public:
    // Prepared the way the task manager prepares each new task; the libraries must be loaded.
    explicit TTestEngine(int maxFiles = 20) : TCustomFFmpeg(maxFiles) { FullReset(); }
    ~TTestEngine() override { WaitForThreads(); }

    const TFFmpegOptionState& State() const { return *this; }
    TFFOptions& Options() { return FOptions; }

    using TCustomFFmpeg::ConfigureFilters;
    using TCustomFFmpeg::FFilterGraphs;
    using TCustomFFmpeg::FFirstHook;
    using TCustomFFmpeg::FindCodecByName;
    using TCustomFFmpeg::Finput_codecs;
    using TCustomFFmpeg::Finput_files;
    using TCustomFFmpeg::Finput_files_ts_offset;
    using TCustomFFmpeg::Finput_files_ts_scale;
    using TCustomFFmpeg::Fmeta_data_maps;
    using TCustomFFmpeg::Fmetadata;
    using TCustomFFmpeg::Fnb_icodecs;
    using TCustomFFmpeg::Fnb_meta_data_maps;
    using TCustomFFmpeg::Fnb_stream_maps;
    using TCustomFFmpeg::FPostContext;
    using TCustomFFmpeg::FPostHooks;
    using TCustomFFmpeg::Fstream_maps;
    using TCustomFFmpeg::FTotalOutputDuration;
    using TCustomFFmpeg::GetFilteredVideoPicture;
    using TCustomFFmpeg::ReleaseAll;
};

// A job whose run counts steps until it is stopped, reaches StepLimit (0: no limit) or raises.
class TFakeJob : public TTestEngine {
public:
    explicit TFakeJob(int maxFiles = 20) : TTestEngine(maxFiles) {}
    // The run reads this object's members: it must be over before they go.
    ~TFakeJob() override { WaitForThreads(); }

    // Count one input or output without opening anything.
    void RegisterPlaceholderInput() { ++Fnb_input_files; }
    void RegisterPlaceholderOutput() { ++Fnb_output_files; }
    void RegisterPlaceholderFiles() {
        RegisterPlaceholderInput();
        RegisterPlaceholderOutput();
    }
    // An output whose only content is its file name, as a released output leaves it behind.
    void RegisterOutputNamed(const std::string& fileName);

    std::atomic<int> StepLimit{0};
    std::atomic<int> Steps{0};
    // Runs inside the fake run before its loop, on the run's thread.
    std::function<void(TFakeJob&)> BeforeLoop;

    using TCustomFFmpeg::AddCodecItem;
    using TCustomFFmpeg::FDecoderList;
    using TCustomFFmpeg::FEncoderList;

protected:
    void Transcode() override {
        if (BeforeLoop) BeforeLoop(*this);
        while (!Broken()) {
            WaitWhilePaused();
            if (Broken()) break;
            int steps = ++Steps;
            if (StepLimit != 0 && steps >= StepLimit) break;
        }
        FFinished = !Broken();
    }
};

inline void TFakeJob::RegisterOutputNamed(const std::string& fileName) {
    AVFormatContext* context = lib::avformat_alloc_context();
    context->url = lib::av_strdup(fileName.c_str());
    Foutput_files[size_t(Fnb_output_files++)] = context;
}

}  // namespace media::test
