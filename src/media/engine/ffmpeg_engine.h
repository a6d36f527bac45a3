// Transcoding engine (src/media/engine): one conversion job from its options to the written
// files. The job and its threads (this header, ffmpeg_engine.cpp); options and their vocabulary
// (ffmpeg_options.h/.cpp); inputs (input_setup.cpp); outputs with their streams and encoder
// settings (output_setup.cpp); built-in presets (encoder_presets.h/.cpp) and disc targets
// (target_settings.cpp); the run: stream mapping (stream_mapping.cpp), the loop over the
// packets (transcode_loop.cpp, tables in transcode_tables.h), one packet's way
// (packet_processing.cpp), the audio, video and subtitle output (audio_output.cpp with
// audio_volume.h, video_output.cpp with video_sync.h, subtitle_output.cpp), writing
// (write_packet.cpp); video filters (ffmpeg_filters.cpp), picture hooks (picture_hooks.cpp,
// hook libraries in frame_hook.h/.cpp), progress (progress_report.cpp) and the job's files on
// disk (job_files.cpp). Uses the media libraries (libs) only; it never includes the player or
// the task manager.
//
// Files: the set-up opens the inputs for reading and only asks whether each output could be
// written; an output file is opened, an existing one replaced, when the run starts writing it.
// A run deletes only an output it opened itself, that is still the file it opened and that it
// gave up or left empty. A run whose output went away or whose input changed under it fails.
//
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
// WaitWhilePaused between packets, where it holds no lock. The post hooks the owner wants are an
// atomic that any thread sets without waiting; while the job runs, its conversion thread applies
// them at its next picture and alone owns the preview window, so no lock is held while a preview
// or a preview bitmap goes to the main thread.
#pragma once

#include <array>
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

#include "media/engine/ffmpeg_options.h"
#include "media/engine/frame_hook.h"
#include "media/engine/transcode_tables.h"
#include "media/libs/ff_logger.h"
#include "media/libs/ff_utils.h"
#include "media/libs/ffmpeg_api.h"
#include "platform/sys/file_handles.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {

class TCustomFFmpeg;

// The video stream of `ic` an output takes, the ffmpeg tool's choice: the largest picture, a
// stream marked default first; an attached picture (cover art) only when there is nothing else,
// never a stream without a size or one the input discards. -1 when there is none.
int MappedVideoStream(const AVFormatContext* ic);

// The live preview window of a job, made by the video path at its first preview picture
// (TCustomFFmpeg::CreatePreviewer) and used by the conversion thread only.
class TPreviewer {
public:
    virtual ~TPreviewer() = default;
    // False once the user closed the window.
    virtual bool PaintFrame(const gfx::TBitmap& bitmap, int frameNumber, int64_t pts) = 0;
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
    std::function<void(TCustomFFmpeg* sender, gfx::TBitmap& bitmap, int frameNumber, int64_t pts,
                       bool& update, bool& stopHook)>;
using TPreviewBitmapEvent = std::function<void(TCustomFFmpeg* sender, const gfx::TBitmap& bitmap,
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
    // Any thread, also while the job runs, without waiting: a running job applies the change at
    // its next picture (a preview window it drops is closed there), an idle one at once.
    void SetPostHooks(TPostHooks hooks);

    // --- input set-up ---
    // Opens and registers the next input. False with LastErrMsg() when the library refuses the
    // file; raises FFmpegException for the failures the option state causes.
    bool OpenInputFile(const std::string& fileName);

    // --- output set-up ---
    // Creates the next output with its streams from the option state; its file is only checked
    // for writing here and opened by the run. The count of registered output slots (more than
    // one for a joined output: every input of the job goes into it, one after the other), or -1
    // with LastErrMsg(); raises FFmpegException for the failures the option state causes.
    int OpenOutputFile(const std::string& fileName, bool join);
    // One more stream of `type` (video, audio or subtitle) on the last output, with the settings
    // in force now ("newvideo", "newaudio", "newsubtitle"); raises when there is no output or
    // the stream cannot be made.
    void AddStream(AVMediaType type);

    // --- presets and targets ---
    // Applies a preset: `kind` is the option's name ("apre", "vpre", "spre" or "fpre"), `name`
    // a built-in preset (also as "<codec>-<name>") or a file of key=value lines. Nothing for an
    // empty argument; raises FFmpegException.
    void ApplyPreset(const std::string& kind, const std::string& presetName);
    // The settings of a disc or DV target ("vcd", "svcd", "dvd", "dv", "dv50") for the norm
    // "pal", "ntsc" or "film"; any other norm is guessed, `defaultNorm` deciding when the guess
    // fails. Raises FFmpegException.
    void ApplyTarget(const std::string& target, const std::string& norm,
                     const std::string& defaultNorm);
    // The option "target": an optional "pal-", "ntsc-" or "film-" prefix, then the target.
    void ApplyTargetText(const std::string& text);

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
    // Makes `hooks` the hooks in force; a preview window that the change drops is handed out in
    // `dropped`, to be freed outside any lock. The caller owns the preview (the conversion thread
    // while the job runs).
    void ApplyPostHooks(TPostHooks hooks, std::unique_ptr<TPreviewer>& dropped);
    // Applies the wanted hooks now unless the job runs.
    void ApplyWantedPostHooksIfIdle();
    // The hooks asked for, less those the run dropped for good.
    TPostHooks WantedPostHooks() const;
    // The preview window of the job; none by default (the job then drops the preview hook).
    virtual std::unique_ptr<TPreviewer> CreatePreviewer() { return nullptr; }

    // The video graph of one input and output stream pair: source, crop and scale when asked,
    // the user's chain, sink in the output pixel format. 0, or -1 on any failure. With `like`,
    // the graph is made anew for pictures like it and ends at the open encoder's size.
    int ConfigureFilters(TAVInputStream& ist, TAVOutputStream& ost, const AVFrame* like = nullptr);
    // The input stream's pictures changed size or format midway: the old graph gives out what
    // it holds through `deliverHeld`, and a graph for the new pictures takes its place.
    void ReconfigureFilters(TAVInputStream& ist, int istIndex, const AVFrame* frame,
                            const std::function<void()>& deliverHeld);
    // The next picture from a graph's sink: 1 with the frame and its pts, or -1.
    int GetFilteredVideoPicture(AVFilterContext* sink, AVFrame* frame, int64_t& pts);

    // --- output set-up ---
    // One stream of `type` (video, audio or subtitle) on the output `oc` registered (or being
    // registered) in slot `slot`, with the type's settings in force; they are reset after it.
    void NewStream(AVFormatContext* oc, int slot, AVMediaType type);
    // The encoder settings of one type only; `quality` is the stream's fixed quantiser.
    void SetUpVideoEncoder(AVFormatContext* oc, AVStream* st, AVCodecContext* enc,
                           const AVCodec* codec, AVCodecID codecId, bool copy,
                           const std::vector<RcOverride>& overrides, float& quality);
    void SetUpAudioEncoder(AVFormatContext* oc, AVCodecContext* enc, const AVCodec* codec,
                           AVCodecID codecId, bool copy, float& quality);
    // Which stream types the inputs hold (input 0 alone with `firstOnly`).
    void CheckInputStreamTypes(bool firstOnly, bool& hasVideo, bool& hasAudio, bool& hasSubtitle);
    void SetupJoin();
    // The stream record every new stream starts with; raises when the output is full.
    AVStream* NewOutputStream(AVFormatContext* oc, int slot, AVMediaType type, const AVCodec* codec,
                              TBitstreamFilterChain& filters, uint32_t codecTag);
    // The encoder named by `name` (aliases of older names included), or the one the output's
    // format suggests; raises with FLastErrMsg when a name finds no encoder.
    const AVCodec* FindOutputEncoder(std::optional<std::string>& name, AVFormatContext* oc,
                                     AVMediaType type, int strict);

    // Match the encoder's settings to what it accepts; the rate choice logs when it moves.
    void ChoosePixelFormat(AVCodecContext* enc, const AVCodec* codec);
    void ChooseSampleFormat(AVCodecContext* enc, const AVCodec* codec);
    void ChooseSampleRate(AVCodecContext* enc, const AVCodec* codec);

    // --- the job's files on disk (job_files.cpp) ---
    // Notes input `index` as it is before it is opened.
    void RememberInputFile(int index, const std::string& fileName);
    // The set-up's check of an output's name: empty when the file could be written, else the
    // reason with the name. Nothing is created, opened or emptied.
    std::string CheckOutputName(const std::string& fileName) const;
    // Opens the outputs' files for writing, just before their headers: only now is an existing
    // file of the name replaced. Raises with the name and the system's text.
    void OpenOutputFiles();
    // Whether output entry `entry` is a file this run opened and its name still leads to it.
    bool OwnsOutputFile(int entry) const;
    // What happened to the run's files since they were opened: an output gone or replaced, an
    // input whose contents changed; empty when nothing did.
    std::string CheckRunFiles() const;
    // The text of a failed write to `oc` by `operation`: a failure of the file itself gives its
    // name and the system's text.
    static std::string WriteErrorText(const AVFormatContext* oc, const char* operation, int code);

    // --- the run ---
    // The run's tables; filled by the set-up and emptied by FreeTranscodeTables.
    TTranscodeRun FRun;
    void BuildInputStreamTable();
    void BuildOutputStreamTable();
    void AssignSourceStreams();
    void MapStreamByTable(TAVOutputStream& ost, int n);
    void FindSourceStream(TAVOutputStream& ost, int entry);
    void SetupOutputStreams();
    void SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist);
    void SetupEncoding(TAVOutputStream& ost, TAVInputStream& ist, int i);
    void OpenPassLogFile(TAVOutputStream& ost, int i);
    void OpenEncoders();
    void OpenDecoders();
    void InitInputTimestamps();
    void CopyMetadataMaps();
    void CopyAllChapters();
    // `joinOffset`: microseconds of the joined inputs before this one.
    void CopyChapters(int inFile, int outFile, int64_t joinOffset = 0);
    void WriteHeaders();
    void LogStreamMapping();
    void CloseEncoders();
    void CloseDecoders();
    void ReopenEncoders();
    // Opens one encoder under the codec lock with its private options; a negative library code
    // on failure (the options it left unused make a failure too).
    int OpenEncoder(TAVOutputStream& ost, const AVCodec* codec);
    void FreeTranscodeTables();
    // The main loop and the end of the run.
    void RunMainLoop();
    void SwitchJoinInput(int k);
    // The output entry's stream time now, in seconds: what it has written so far.
    static double OutputStreamTime(const TAVOutputStream& ost);

    // One packet of an input stream, or its end (`packet` nullptr): decoded when an output
    // encodes it, handed to every output stream it feeds. 0, or -1 when decoding failed.
    // The time corrections of a packet just read: a restart of the times followed, damaged
    // times dropped.
    void CorrectTimestamps(TAVInputStream& ist, int fileIndex, AVPacket* packet);
    int ProcessInputPacket(TAVInputStream& ist, int istIndex, AVPacket* packet);
    // The units of one decoded frame (or of the packet itself without decoding) to the outputs.
    void DeliverUnit(TAVInputStream& ist, int istIndex, const AVPacket* packet, AVFrame* frame,
                     AVSubtitle* subtitle);
    void CopyPacket(TAVOutputStream& ost, TAVInputStream& ist, const AVPacket& packet);
    // Drains the encoders fed by one input stream at the end of its input.
    void DrainEncoders(int istIndex);
    // Sends `frame` (nullptr: the end) to the stream's encoder and writes what comes back; the
    // bytes written, counted into `counter`.
    int EncodeFrame(TAVOutputStream& ost, const AVFrame* frame, int64_t& counter);

    // The audio and video output paths.
    void DoAudioOut(TAVOutputStream& ost, TAVInputStream& ist, const AVFrame* frame);
    void DrainAudio(TAVOutputStream& ost);
    // `samples` of silence in the input's units before the next block.
    void InsertSilence(TAVOutputStream& ost, int samples);
    // What the stream's resampler still holds, into its FIFO.
    void FlushResampler(TAVOutputStream& ost);
    // The frame size written (0 when nothing was encoded).
    int EncodeVideo(TAVOutputStream& ost, TAVInputStream& ist, AVFrame* frame);
    // The picture the encoder gets for `frame`: cropped and scaled to the encoder's size and
    // format when they differ (a scaler is made when the input changes midway).
    AVFrame* PreparePicture(TAVOutputStream& ost, const TAVInputStream& ist, AVFrame* frame);
    // The crop bands and the cropped size for an input picture of `width` x `height`.
    static void FollowPictureSize(TAVOutputStream& ost, int width, int height);
    // `copies` of `picture` (made from `frame`) encoded and written; the last frame size.
    int EncodeCopies(TAVOutputStream& ost, const TAVInputStream& ist, const AVFrame* frame,
                     AVFrame* picture, int copies);
    // At the end of the input: the last picture repeated until its display time is over.
    void FillLastPicture(TAVOutputStream& ost);
    void DrainVideo(TAVOutputStream& ost);
    // Every video unit of an input stream, decoded or not: counted; a decoded picture is
    // deinterlaced ("deinterlace") and shown to the custom hook or the video hooks, then handed
    // to the outputs (a deinterlaced one a picture later; `frame` nullptr at the end of the input
    // gives out the last one).
    void PreprocessPicture(TAVInputStream& ist, int istIndex, const AVPacket* packet,
                           AVFrame* frame);
    // The "yadif" graph of the stream for pictures like `frame`; false when it cannot be made.
    bool PrepareDeinterlacer(TAVInputStream& ist, int istIndex, const AVFrame* frame);
    // Hands out what the stream's deinterlacer gives back.
    void DeliverDeinterlaced(TAVInputStream& ist, int istIndex, const AVPacket* packet);
    // The hooks on a writable picture.
    void RunPictureHooks(TAVInputStream& ist, AVFrame* frame);
    void CallCustomHook(AVFrame* frame, int64_t pts);
    // The preview bitmap event or the preview window, at most once per PreviewInterval.
    void RunPostHooks(const AVFrame* picture, const AVCodecContext* enc);
    // One line of the video statistics file for the frame just written.
    void WriteVideoStats(const TAVOutputStream& ost, int frameSize);
    void EncodeSubtitle(TAVOutputStream& ost, TAVInputStream& ist, AVSubtitle& subtitle,
                        int64_t pts);

    // Passes the packet through the stream's bitstream filters and writes it interleaved; the
    // packet is blank afterwards. Raises when the file refuses it.
    void WritePacket(AVFormatContext* oc, AVPacket* packet, TAVOutputStream& ost);
    // The filters from `stage` on, then the write.
    void FilterPacket(AVFormatContext* oc, AVPacket* packet, TAVOutputStream& ost, size_t stage);
    void WriteInterleaved(AVFormatContext* oc, AVPacket* packet, TAVOutputStream& ost);
    // The stream's chain; `first`: the record of the first group of a joined output.
    void InitBitstreamFilters(TAVOutputStream& ost, const TAVOutputStream* first = nullptr);
    // The status of the run, to OnProgress (or the log); `fileIndex` -1 at the end.
    void ReportProgress(bool isLast, int fileIndex);

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
    // Per output file: the run failed or left it without a frame, so it is not kept.
    std::vector<char> Foutput_discard;
    // A file of the job on disk: the path the file protocol opens (empty for a name of another
    // protocol) and the file it was.
    struct TJobFile {
        std::string Path;
        sys::TFileIdentity Identity;
    };
    // Per input file: as it was when opened.
    std::vector<TJobFile> Finput_disk_files;
    // Per output entry: as this run opened it (nothing known before the run opens it).
    std::vector<TJobFile> Foutput_disk_files;
    // Per output file: the muxer's private options ("muxrate", "preload", ...) for its header.
    std::vector<AVDictionary*> Fmux_options;
    // Per output file, one per stream: how the stream was made.
    struct TOutputStreamSetup {
        bool StreamCopy = false;
        float Quality = 0;                     // fixed quantiser x 118, 0 for none
        AVDictionary* CodecOptions = nullptr;  // the encoder's private options
    };
    std::vector<std::vector<TOutputStreamSetup>> Foutput_stream_setups;

    int64_t Ftimer_start = 0;
    // What the report counts (bytes of encoded or copied data, frames dropped and duplicated).
    int64_t Fvideo_size = 0;
    int64_t Faudio_size = 0;
    int64_t Fextra_size = 0;
    int Fnb_frames_dup = 0;
    int Fnb_frames_drop = 0;
    bool FShowDupOrDrop = false;
    // Option "qphist": this job's quantiser counts.
    std::array<int, 52> Fqp_histogram{};
    // The encoded subtitle of this job; made on first use.
    std::vector<uint8_t> Fsubtitle_out;
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
    // The hooks in force: the conversion thread's while the job runs, the owner's otherwise.
    TPostHooks FPostHooks;
    // The hooks the owner wants; set from any thread.
    std::atomic<TPostHooks> FWantedPostHooks{TPostHooks()};
    // Hooks the run dropped for good (a failed conversion, a closed window); the conversion
    // thread's.
    TPostHooks FDroppedPostHooks;

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
    // The picture size, aspect, format and rate of the video stream an output will take.
    void TakeOverVideoStream(const AVStream* st, const AVCodecContext* dec, int index);
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
