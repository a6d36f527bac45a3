#include "media/engine/ffmpeg_engine.h"

#include <algorithm>
#include <utility>

#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/media_utils.h"
#include "media/libs/unicode_protocol.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/main_thread.h"

namespace media {

namespace {

// Runs one stage of a job; what it throws is handed to `fail`, so later stages still run.
template <class TStage, class TFail>
void Guarded(TStage stage, TFail fail) {
    try {
        stage();
    } catch (const std::exception& e) {
        fail(e.what());
    } catch (...) {
        fail("Unknown exception");
    }
}

bool LibrariesLoaded() {
    return AVLibLoader().Loaded(FFTaskManagerLibraries);
}

}  // namespace

// --- threads ---

TConvertThread::TConvertThread(TCustomFFmpeg& owner, sys::TThreadPriority priority)
    : sys::TThread(true), FOwner(owner) {
    SetPriority(priority);
}

TConvertThread::~TConvertThread() {
    WaitFor();
}

void TConvertThread::Resume() {
    std::call_once(FStarted, [this] { Start(); });
}

void TConvertThread::Execute() {
    FOwner.DoConvert();
    // The last touch of the engine: its waits end here.
    FOwner.FStopEvent.Set();
}

TDoTerminateThread::TDoTerminateThread(TCustomFFmpeg& owner) : sys::TThread(true), FOwner(owner) {}

TDoTerminateThread::~TDoTerminateThread() {
    WaitFor();
}

void TDoTerminateThread::Execute() {
    try {
        FOwner.NotifyTerminated();
    } catch (...) {
        // A raising OnTerminate must not keep the waits from ending.
    }
    FOwner.FTermEvent.Set();
}

// --- life ---

TCustomFFmpeg::TCustomFFmpeg(int maxFiles) : FMaxFiles(maxFiles) {
    if (maxFiles < 1 || maxFiles > kMaxFilesLimit)
        throw rtl::Exception(rtl::Format("Assertion failed: file capacity %d is outside 1 to %d",
                                         maxFiles, kMaxFilesLimit));
    size_t files = size_t(maxFiles);
    Finput_files.assign(files, nullptr);
    Finput_files_ts_offset.assign(files, 0);
    Finput_files_ts_scale.assign(files, {});
    Finput_codec_contexts.assign(files, {});
    Foutput_files.assign(files, nullptr);
    Foutput_codec_contexts.assign(files, {});
    Fmeta_data_maps.assign(files, {});
    Fmux_options.assign(files, nullptr);
    Foutput_discard.assign(files, 0);
    Finput_disk_files.assign(files, {});
    Foutput_disk_files.assign(files, {});
    Foutput_stream_setups.assign(files, {});
    Fbitstream_filters.assign(files, {});
    Finput_codecs.assign(files * kMaxStreams, nullptr);
    Foutput_codecs.assign(files * kMaxStreams, nullptr);
    Fstream_maps.assign(files * kMaxStreams, {});
    ResetDefaults();
}

TCustomFFmpeg::~TCustomFFmpeg() {
    WaitForThreads();
    ReleaseAll();
}

void TCustomFFmpeg::WaitForThreads() {
    Stop(true);
    TDoTerminateThread* terminateThread;
    {
        std::lock_guard lock(FStateLock);
        terminateThread = FTerminateThread.get();
    }
    if (terminateThread != nullptr) {
        sys::PumpingWait(FTermEvent);
        terminateThread->WaitFor();
    }
}

void TCustomFFmpeg::ResetDefaults() {
    for (auto& scales : Finput_files_ts_scale) scales.fill(0);
    Fnb_input_files = 0;
    Fnb_output_files = 0;
    Fnb_stream_maps = 0;
    Fnb_meta_data_maps = 0;
    Fnb_icodecs = 0;
    Fnb_ocodecs = 0;
    Fmetadata.clear();
    // Every option field to its reset value; ReleaseAll has freed what they held.
    static_cast<TFFmpegOptionState&>(*this) = TFFmpegOptionState();
    for (auto& chains : Fbitstream_filters)
        for (TBitstreamFilterChain& chain : chains) chain.clear();

    Faudio_buf = nullptr;
    Faudio_out = nullptr;
    Fallocated_audio_out_size = 0;
    Fallocated_audio_buf_size = 0;
    Finput_tmp = nullptr;
    Fsamples = nullptr;
    Fsamples_size = 0;
    Fvideo_size = 0;
    Faudio_size = 0;
    Fextra_size = 0;
    Fnb_frames_dup = 0;
    Fnb_frames_drop = 0;
    FShowDupOrDrop = false;
    Fqp_histogram.fill(0);

    FTotalOutputDuration = -1;
    FFirstHook.clear();
    FHookBuf = nullptr;
    FHookBufSize = 0;
    ResetRGBConvertContext(FHookContext.Context);
    FHookFrameNumber = 0;
    ClearPostHookContext();
    FPostHooks = TPostHooks();
    FWantedPostHooks = TPostHooks();
    FDroppedPostHooks = TPostHooks();
    FFatalException = false;
}

void TCustomFFmpeg::ClearPostHookContext() {
    ResetRGBConvertContext(FPostContext.Context);
    std::unique_ptr<TPreviewer> previewer;
    {
        // An idle job's window may be dropped by a hook change from another thread.
        std::lock_guard lock(FStateLock);
        previewer = std::move(FPostContext.Previewer);
    }
    // Freed outside the lock: closing the window hands work to the main thread.
    previewer.reset();
    FPostContext.preview_last_time = 0;
    FPostContext.preview_cur_time = 0;
}

void TCustomFFmpeg::FullReset() {
    if (!LibrariesLoaded()) return;
    WaitForThreads();
    ReleaseAll();
    ResetDefaults();
    {
        std::lock_guard lock(FStateLock);
        FState = TJobState::Ready;
        FConvertThread.reset();
        FTerminateThread.reset();
    }
    FJoinMode = false;
    FBroken = false;
    FFinished = false;
    FTotalOutputDuration = -1;
    AllocFFOptions(FOptions, Fsws_flags);
}

void TCustomFFmpeg::ReleaseAll() {
    if (!LibrariesLoaded()) return;
    FreeTranscodeTables();
    FreeFFOptions(FOptions);
    Fsubtitle_out.clear();
    Fsubtitle_out.shrink_to_fit();

    for (uint8_t** buffer : {&Faudio_buf, &Faudio_out, &Finput_tmp}) {
        lib::av_free(*buffer);
        *buffer = nullptr;
    }
    lib::av_free(Fsamples);
    Fsamples = nullptr;
    Fallocated_audio_out_size = 0;
    Fallocated_audio_buf_size = 0;
    Fsamples_size = 0;

    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[size_t(i)];
        for (AVCodecContext*& encoder : Foutput_codec_contexts[size_t(i)])
            lib::avcodec_free_context(&encoder);
        Foutput_codec_contexts[size_t(i)].clear();
        for (TOutputStreamSetup& setup : Foutput_stream_setups[size_t(i)])
            lib::av_dict_free(&setup.CodecOptions);
        Foutput_stream_setups[size_t(i)].clear();
        lib::av_dict_free(&Fmux_options[size_t(i)]);
        if (oc != nullptr) {
            bool noFile = oc->oformat != nullptr && (oc->oformat->flags & AVFMT_NOFILE) != 0;
            if (!noFile && oc->pb != nullptr) CloseOutputIO(&oc->pb);
            lib::avformat_free_context(oc);
            // An output of this run that never received a byte, or that the run gave up, is not
            // left behind; a file the run did not open is never its to delete.
            const std::string& path = Foutput_disk_files[size_t(i)].Path;
            if (OwnsOutputFile(i) && (Foutput_discard[size_t(i)] != 0 || FileSizeOf(path) == 0))
                sys::DeleteFile(path);
        }
        // A joined output fills every slot with the same context.
        if (FJoinMode) break;
    }
    std::fill(Foutput_files.begin(), Foutput_files.end(), nullptr);
    std::fill(Foutput_discard.begin(), Foutput_discard.end(), 0);
    std::fill(Foutput_disk_files.begin(), Foutput_disk_files.end(), TJobFile());
    std::fill(Finput_disk_files.begin(), Finput_disk_files.end(), TJobFile());
    Fnb_output_files = 0;

    for (int i = 0; i < Fnb_input_files; ++i)
        CloseInputCleanup(Finput_files[size_t(i)], Finput_codec_contexts[size_t(i)]);
    Fnb_input_files = 0;

    Fintra_matrix.reset();
    Finter_matrix.reset();
    if (Fvstats_file != nullptr) {
        std::fclose(Fvstats_file);
        Fvstats_file = nullptr;
    }
    Fvstats_filename.reset();
    Fvideo_codec_name.reset();
    Faudio_codec_name.reset();
    Fsubtitle_codec_name.reset();
    Fvideo_standard.reset();
    Fvideo_rc_override_string.reset();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;

    FrameHookRelease(FFirstHook);
    lib::av_free(FHookBuf);
    FHookBuf = nullptr;
    for (AVFilterGraph*& graph : FFilterGraphs) lib::avfilter_graph_free(&graph);
    FFilterGraphs.clear();
    ResetRGBConvertContext(FHookContext.Context);
    ClearPostHookContext();
}

void TCustomFFmpeg::CloseInputCleanup(AVFormatContext*& context,
                                      std::vector<AVCodecContext*>& decoders) {
    for (AVCodecContext*& decoder : decoders) lib::avcodec_free_context(&decoder);
    decoders.clear();
    if (context != nullptr) CloseInputFile(&context);
}

// --- running ---

bool TCustomFFmpeg::Converting() const {
    std::lock_guard lock(FStateLock);
    return FState == TJobState::Converting;
}

bool TCustomFFmpeg::Terminated() const {
    std::lock_guard lock(FStateLock);
    return FState == TJobState::Terminated;
}

std::string TCustomFFmpeg::FatalMessage() const {
    std::lock_guard lock(FFatalLock);
    return FFatalMessage;
}

void TCustomFFmpeg::RecordFailure(const std::string& message) {
    GetFFLogger().Log(this, llQuiet, message);
    {
        std::lock_guard lock(FFatalLock);
        FFatalMessage = message;
    }
    FFatalException = true;
}

void TCustomFFmpeg::LogOnce(bool& logged, TLogLevel level, const std::string& message) {
    if (logged) return;
    logged = true;
    GetFFLogger().Log(this, level, message);
}

TConvertThread* TCustomFFmpeg::StartConvert(bool useThread, sys::TThreadPriority priority) {
    std::string refusal;
    TConvertThread* thread = nullptr;
    {
        std::lock_guard lock(FStateLock);
        if (FState != TJobState::Ready) return nullptr;
        if (Fnb_output_files <= 0)
            refusal = "At least one output file must be specified";
        else if (Fnb_input_files == 0)
            refusal = "At least one input file must be specified";
        if (!refusal.empty()) {
            FState = TJobState::Terminating;
        } else {
            FState = TJobState::Converting;
            FBroken = false;
            FFinished = false;
            if (useThread) {
                FStopEvent.Reset();
                FConvertThread = std::make_unique<TConvertThread>(*this, priority);
                thread = FConvertThread.get();
            }
        }
    }
    if (!refusal.empty()) {
        Guarded([this] { ReleaseAll(); }, [this](const std::string& m) { RecordFailure(m); });
        RecordFailure(refusal);
        NotifyTerminated();
        return nullptr;
    }
    if (!useThread) DoConvert();
    return thread;
}

void TCustomFFmpeg::DoConvert() {
    FFinished = false;
    auto fail = [this](const std::string& message) { RecordFailure(message); };
    Guarded([this] { Transcode(); }, fail);
    Guarded([this] { CloseOpenEncoders(); }, fail);
    Guarded([this] { CloseOpenDecoders(); }, fail);
    Guarded([this] { ReleaseAll(); }, fail);
    Guarded([this] { NotifyTerminated(); }, fail);
}

void TCustomFFmpeg::NotifyTerminated() {
    {
        std::lock_guard lock(FStateLock);
        FState = TJobState::Terminated;
    }
    if (OnTerminate) OnTerminate(this);
}

void TCustomFFmpeg::Stop(bool waitFor) {
    FBroken = true;
    {
        std::lock_guard lock(FPauseLock);
        FPaused = false;
    }
    FPauseCond.notify_all();
    TConvertThread* thread;
    {
        std::lock_guard lock(FStateLock);
        thread = FConvertThread.get();
    }
    if (thread == nullptr) return;
    // A thread its caller never started still has to run, to report the end.
    thread->Resume();
    // The conversion thread itself cannot wait for its own end.
    if (waitFor && thread->ThreadId() != sys::CurrentThreadId()) {
        sys::PumpingWait(FStopEvent);
        thread->WaitFor();
    }
}

void TCustomFFmpeg::TerminateOrStop(bool waitFor) {
    TDoTerminateThread* terminateThread = nullptr;
    bool stop = false;
    bool started = false;
    {
        std::lock_guard lock(FStateLock);
        if (FState == TJobState::Converting) {
            stop = true;
        } else if (FState == TJobState::Ready) {
            FState = TJobState::Terminating;
            FTermEvent.Reset();
            FTerminateThread = std::make_unique<TDoTerminateThread>(*this);
            started = true;
        }
        terminateThread = FTerminateThread.get();
    }
    if (stop) {
        Stop(waitFor);
        return;
    }
    if (started) terminateThread->Start();
    if (waitFor && terminateThread != nullptr) {
        sys::PumpingWait(FTermEvent);
        terminateThread->WaitFor();
    }
}

void TCustomFFmpeg::Pause() {
    std::lock_guard stateLock(FStateLock);
    if (FState != TJobState::Converting || FConvertThread == nullptr || FBroken) return;
    std::lock_guard lock(FPauseLock);
    FPaused = true;
}

void TCustomFFmpeg::Resume() {
    {
        std::lock_guard lock(FPauseLock);
        FPaused = false;
    }
    FPauseCond.notify_all();
}

void TCustomFFmpeg::WaitWhilePaused() {
    std::unique_lock lock(FPauseLock);
    FPauseCond.wait(lock, [this] { return !FPaused || FBroken; });
}

// --- open codecs ---

void TCustomFFmpeg::AddCodecItem(TCodecList& list, AVCodecContext* context) {
    list.push_front(context);
}

void TCustomFFmpeg::RemoveCodecItem(TCodecList& list, AVCodecContext* context) {
    auto found = std::find(list.begin(), list.end(), context);
    if (found != list.end()) list.erase(found);
}

namespace {

void CloseCodecs(TCodecList& list) {
    while (!list.empty()) {
        AVCodecContext* context = list.front();
        list.pop_front();
        lib::avcodec_close(context);
    }
}

}  // namespace

void TCustomFFmpeg::CloseOpenEncoders() {
    CloseCodecs(FEncoderList);
}

void TCustomFFmpeg::CloseOpenDecoders() {
    CloseCodecs(FDecoderList);
}

}  // namespace media
