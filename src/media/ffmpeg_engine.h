// The transcoding engine: one TCustomFFmpeg object holds one conversion job modelled on the
// command-line transcoder — its option state, its input and output files, stream maps, open
// codecs and video filter graphs — and runs it on the caller's thread or on a thread of its own.
//
// Threads: the owner's thread sets the job up (options, input and output set-up), starts it and
// calls Stop, Pause, Resume and TerminateOrStop; the conversion runs on the engine's
// TConvertThread (or on the caller's thread), and a job that never ran reports its end from a
// TDoTerminateThread. The engine owns both threads and joins them. The job's state (ready,
// converting, terminating, terminated) changes under one lock, so every job reports its end
// through OnTerminate exactly once. Pause is cooperative: the conversion loop holds at
// WaitWhilePaused between packets, where it holds no lock. PreviewWindowLock guards every
// engine's post hooks and preview window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/ff_logger.h"
#include "media/ff_utils.h"
#include "media/ffmpeg_api.h"
#include "media/ffmpeg_options.h"
#include "media/frame_bitmap.h"
#include "media/frame_hook.h"
#include "media/transcode_tables.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {

class TCustomFFmpeg;

// The live preview window of a job, made by the video path at its first preview picture.
class TPreviewer {
public:
    virtual ~TPreviewer() = default;
    // False once the user closed the window.
    virtual bool PaintFrame(const TFrameBitmap& bitmap, int frameNumber, int64_t pts) = 0;
};

struct TPostHookContext {
    TRGBConvertContext Context;
    std::unique_ptr<TPreviewer> Previewer;
    int64_t preview_last_time = 0;
    int64_t preview_cur_time = 0;
};

struct TCustomHookContext {
    TRGBConvertContext Context;
};

using TCustomHookEvent =
    std::function<void(TCustomFFmpeg* sender, TFrameBitmap& bitmap, int frameNumber, int64_t pts,
                       bool& update, bool& stopHook)>;
using TPreviewBitmapEvent = std::function<void(TCustomFFmpeg* sender, const TFrameBitmap& bitmap,
                                               int frameNumber, int64_t pts)>;
using TProgressEvent = std::function<void(
    TCustomFFmpeg* sender, int fileIndex, int frameNumber, int fps, float quality, float bitRate,
    int64_t currentSize, int64_t currentDuration, int64_t totalDuration)>;
using TNotifyEvent = std::function<void(TCustomFFmpeg* sender)>;

// The codec contexts of a job that are open, newest first. The contexts belong to their input
// or output stream (Finput_codec_contexts, Foutput_codec_contexts); the closing routines take a
// context off with RemoveCodecItem before they close it, and whatever a failed run leaves on the
// lists is closed by CloseOpenEncoders / CloseOpenDecoders.
using TCodecList = std::list<AVCodecContext*>;

// Guards FPostHooks and the preview window of every engine.
sys::TCriticalSection& PreviewWindowLock();

// Holds PreviewWindowLock for a scope; on the main thread it keeps hand-overs running while it
// waits.
class TPreviewLockGuard {
public:
    TPreviewLockGuard();
    ~TPreviewLockGuard();
    TPreviewLockGuard(const TPreviewLockGuard&) = delete;
    TPreviewLockGuard& operator=(const TPreviewLockGuard&) = delete;
};

class TConvertThread;
class TDoTerminateThread;

class TCustomFFmpeg : protected TFFmpegOptionState {
public:
    // `maxFiles`: the job's capacity of input and of output files, 1 to 512; anything else is a
    // misuse and raises.
    explicit TCustomFFmpeg(int maxFiles);
    // Stops the job and waits for its threads (keeping the main thread's hand-overs running),
    // then releases everything.
    virtual ~TCustomFFmpeg();
    TCustomFFmpeg(const TCustomFFmpeg&) = delete;
    TCustomFFmpeg& operator=(const TCustomFFmpeg&) = delete;

    // Makes the engine ready for a new job; does nothing while the task manager's libraries are
    // not loaded.
    void FullReset();

    // Starts the job. In thread mode returns the conversion thread, not yet running: the caller
    // starts it with Resume(). Without a thread, runs the whole job and returns nullptr. A job
    // that is not ready (started or ended already) gives nullptr; a refused start reports the end
    // on the calling thread before it returns nullptr.
    TConvertThread* StartConvert(bool useThread, sys::TThreadPriority priority);
    // Asks the conversion to end at its next check; with `waitFor`, returns once the conversion
    // thread is done with the engine.
    void Stop(bool waitFor);
    // A running job is stopped; a job that never started reports its end from a thread of its own.
    void TerminateOrStop(bool waitFor);
    // Holds the conversion thread at its next pause point, until Resume or Stop.
    void Pause();
    void Resume();

    // --- options ---
    // One option: `name` is matched exactly; a name not in the option table goes to the codec,
    // format and scaler option contexts. Raises FFmpegException (or the conversion error of a
    // number) with the option's text.
    void ParseOption(const std::string& name, const std::string& value);
    void SetFormatName(const std::string& value);
    void SetFrameRate(const std::string& value);
    void SetFrameSize(const std::string& value);
    void SetFrameAspect(const std::string& value);
    void SetCropTop(int value);
    void SetCropBottom(int value);
    void SetCropLeft(int value);
    void SetCropRight(int value);
    void SetAudioSampleRate(int value);
    void SetAudioChannels(int value);
    void SetAudioCodec(const std::string& value);
    void SetVideoCodec(const std::string& value);
    void SetSubtitleCodec(const std::string& value);
    void SetAudioTag(const std::string& value);
    void SetVideoTag(const std::string& value);
    void SetSubtitleTag(const std::string& value);
    void SetVideoFilters(const std::string& value);
    void SetVerbose(int value);
    bool SetCodecOptionInt(const std::string& name, int value);
    void AddMetadata(const std::string& key, const std::string& value);
    // AV_NOPTS_VALUE leaves the value unchanged.
    void SetStartTime(int64_t value);
    void SetRecordingTime(int64_t value);
    void SetProgramId(int value);
    void SetAudioVolume(int value);
    void SetAudioSyncMethod(int value);
    void SetVideoSyncMethod(int value);
    void SetMuxMaxDelay(float value);
    void SetMuxPreload(float value);
    // Any thread, also while the job runs: takes PreviewWindowLock.
    void SetPostHooks(TPostHooks hooks);

    // --- input set-up ---
    // Opens and registers the next input. False with LastErrMsg() when the library refuses the
    // file; raises FFmpegException for the failures the option state causes.
    bool OpenInputFile(const std::string& fileName);

    int nb_input_files() const { return Fnb_input_files; }
    int nb_output_files() const { return Fnb_output_files; }
    bool Finished() const { return FFinished.load(); }
    bool FatalException() const { return FFatalException.load(); }
    std::string FatalMessage() const;
    std::string LastErrMsg() const { return FLastErrMsg; }
    bool Converting() const;
    bool Terminated() const;

    // Set by the owner before the job starts.
    TCustomHookEvent OnCustomHook;
    TPreviewBitmapEvent OnPreviewBitmap;
    TProgressEvent OnProgress;
    TNotifyEvent OnTerminate;

protected:
    enum class TJobState { Ready, Converting, Terminating, Terminated };

    // The body of a run over the registered files; raises on failure. Runs on the conversion
    // thread (or the caller's, without a thread).
    virtual void Transcode();

    // Between two packets of the conversion loop: holds while the job is paused. The caller must
    // hold no lock.
    void WaitWhilePaused();
    bool Broken() const { return FBroken.load(); }

    // Stop(true), then waits for a terminate thread. A descendant whose members the job uses
    // calls it first in its own destructor.
    void WaitForThreads();
    void ResetDefaults();
    // Releases everything a job opened; safe to repeat; nothing while the libraries are unloaded.
    void ReleaseAll();
    void DoConvert();
    void NotifyTerminated();
    void ClearPostHookContext();
    // SetPostHooks for a caller that holds PreviewWindowLock already; a preview window that the
    // change drops is handed out in `dropped`, to be freed after the lock is left.
    void SetPostHooksLocked(TPostHooks hooks, std::unique_ptr<TPreviewer>& dropped);

    // The video graph of one input and output stream pair: source, crop and scale when asked,
    // the user's chain, sink in the output pixel format. 0, or -1 on any failure.
    int ConfigureFilters(TAVInputStream& ist, TAVOutputStream& ost);
    // The next picture from a graph's sink: 1 with the frame and its pts, or -1.
    int GetFilteredVideoPicture(AVFilterContext* sink, AVFrame* frame, int64_t& pts);

    void AddCodecItem(TCodecList& list, AVCodecContext* context);
    void RemoveCodecItem(TCodecList& list, AVCodecContext* context);
    void CloseOpenEncoders();
    void CloseOpenDecoders();

    // Looks an encoder or decoder up by name: true with `codecId` (AV_CODEC_ID_NONE for no
    // name), false with the reason in FLastErrMsg.
    bool FindCodecByName(const std::optional<std::string>& name, AVMediaType type,
                         AVCodecID& codecId, int strict, bool encoder);

    // The job tables, sized from the capacity.
    int FMaxFiles;
    std::vector<AVFormatContext*> Finput_files;
    std::vector<int64_t> Finput_files_ts_offset;
    std::vector<std::array<double, kMaxStreams>> Finput_files_ts_scale;
    // Per input, one decoder context per stream, made when the input opens.
    std::vector<std::vector<AVCodecContext*>> Finput_codec_contexts;
    // Decoders forced by name, one entry per input stream (nullptr when none was named).
    std::vector<const AVCodec*> Finput_codecs;
    int Fnb_input_files = 0;
    int Fnb_icodecs = 0;
    std::vector<AVFormatContext*> Foutput_files;
    // Per output file, one encoder context per stream, made when the stream is created.
    std::vector<std::vector<AVCodecContext*>> Foutput_codec_contexts;
    std::vector<const AVCodec*> Foutput_codecs;
    int Fnb_output_files = 0;
    int Fnb_ocodecs = 0;
    std::vector<TAVStreamMap> Fstream_maps;
    int Fnb_stream_maps = 0;
    std::vector<TAVMetaDataMap> Fmeta_data_maps;
    int Fnb_meta_data_maps = 0;
    std::vector<TMetadataPair> Fmetadata;

    int64_t Ftimer_start = 0;
    uint8_t* Faudio_buf = nullptr;
    uint8_t* Faudio_out = nullptr;
    unsigned Fallocated_audio_out_size = 0;
    unsigned Fallocated_audio_buf_size = 0;
    uint8_t* Finput_tmp = nullptr;
    unsigned Fsamples_size = 0;
    int16_t* Fsamples = nullptr;
    // The chain of each output stream, kMaxStreams per output file.
    std::vector<std::array<TBitstreamFilterChain, kMaxStreams>> Fbitstream_filters;
    TCodecList FEncoderList;
    TCodecList FDecoderList;
    // Every video graph the job built; each output stream pair has its own.
    std::vector<AVFilterGraph*> FFilterGraphs;

    TFrameHookChain FFirstHook;
    uint8_t* FHookBuf = nullptr;
    int FHookBufSize = 0;
    TCustomHookContext FHookContext;
    int FHookFrameNumber = 0;
    TPostHookContext FPostContext;
    TPostHooks FPostHooks;

    bool FJoinMode = false;
    int64_t FTotalOutputDuration = -1;
    std::string FLastErrMsg;

    // A stop was requested: the conversion loop ends at its next check.
    std::atomic<bool> FBroken{false};
    // The conversion loop ran to its end without a stop; the loop sets it.
    std::atomic<bool> FFinished{false};

    int64_t ReportInterval = 500000;
    int64_t PreviewInterval = 100000;

private:
    friend class TConvertThread;
    friend class TDoTerminateThread;

    // Records a failure of the job: logged, FatalException set, FatalMessage the text.
    void RecordFailure(const std::string& message);
    // Logs `message` once per engine.
    void LogOnce(bool& logged, TLogLevel level, const std::string& message);
    void SetCodecName(std::optional<std::string>& name, int& streamCopy, const std::string& value);
    void SetBitrateOption(const std::string& name, const std::string& value);
    void SetPixelFormat(const std::string& value);
    void SetSampleFormat(const std::string& value);
    void SetCodecTag(uint32_t& tag, const char* kind, const std::string& value);
    void SetCrop(int& band, int& size, const char* message, int value);
    int64_t ParseTimeOption(const std::string& name, const std::string& value, bool isDuration);
    void AddMetadataText(const std::string& value);
    void AddStreamMap(const std::string& value);
    void AddMetadataMap(const std::string& value);
    void SetInputTimeScale(const std::string& value);
    void SetStreamId(const std::string& name, const std::string& value);
    void AddBitstreamFilter(const std::string& name, const std::string& value);
    void AddVideoHook(const std::string& value);
    void SetVstats();
    void SetMatrix(std::optional<std::array<uint16_t, 64>>& matrix, const std::string& value);
    void SetPassNumber(int value);
    void SetVideoQScale(double value);
    void SetMeThreshold(int value);
    void SetSameQuality(bool value);
    void CloseInputCleanup(AVFormatContext*& context, std::vector<AVCodecContext*>& decoders);
    void AppendInputCodec(const std::optional<std::string>& name);

    mutable std::mutex FStateLock;
    TJobState FState = TJobState::Ready;
    std::unique_ptr<TConvertThread> FConvertThread;
    std::unique_ptr<TDoTerminateThread> FTerminateThread;
    sys::TEvent FStopEvent{true, true};
    sys::TEvent FTermEvent{true, true};

    std::mutex FPauseLock;
    std::condition_variable FPauseCond;
    bool FPaused = false;

    std::atomic<bool> FFatalException{false};
    mutable std::mutex FFatalLock;
    std::string FFatalMessage;

    bool FLoggedMeThreshold = false;
    bool FLoggedSameQuality = false;
};

// The engine's conversion thread; the engine owns it. Created suspended.
class TConvertThread : public sys::TThread {
public:
    TConvertThread(TCustomFFmpeg& owner, sys::TThreadPriority priority);
    ~TConvertThread() override;
    // Starts the thread; later calls do nothing.
    void Resume();

protected:
    void Execute() override;

private:
    TCustomFFmpeg& FOwner;
    std::once_flag FStarted;
};

// Reports the end of a job that never ran; the engine owns it.
class TDoTerminateThread : public sys::TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpeg& owner);
    ~TDoTerminateThread() override;

protected:
    void Execute() override;

private:
    TCustomFFmpeg& FOwner;
};

}  // namespace media
