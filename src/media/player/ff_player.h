// Player (src/media/player): plays a media file into a window. The component (this header,
// ff_player.cpp), its events (player_event_thread.h/.cpp), the per-picture hook and picture copy
// (player_hook.cpp) and the window host (player_window_host.h/.cpp behind video_host.h); its
// engine: the playback record (player_state.h/.cpp) with the packet queue (packet_queue.h/.cpp),
// the picture queue (picture_queue.h/.cpp) and the play thread's events (player_events.h), the
// clocks (player_clock.h/.cpp), the decoders (player_decoders.h/.cpp), the read and play threads
// (player_read_thread.h/.cpp) and the display (player_display.h/.cpp). Uses the probe and the
// media libraries; it never includes the engine or the task manager.
//
// The player component: plays one media file at a time into a window's video host, with pause,
// step, seek, stream switching, the audio displays, a per-picture hook and a copy of the picture
// shown, through the engine of player_state.h and its threads.
//
// Owns the playback (TVideoState), its play thread, the event ring and event thread of the
// playback, the engine's events and locks, and a thread that closes audio devices. The
// application calls it from the main thread; the engine's threads read its options and call
// ReportError, UpdatePosition and SetState. OnFileOpen runs inside Open (after BeginOpen, in a
// later turn of the main thread's hand-overs), OnPosition and OnState on the main thread (or
// the event thread with TriggerEventInMainThread off), OnHook on the video thread. Open,
// Stop(true) and a waiting Seek keep the main thread's hand-overs and window messages running
// while they wait.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "media/libs/ff_base_component.h"
#include "media/libs/ff_utils.h"
#include "media/player/player_event_thread.h"
#include "media/player/player_state.h"
#include "media/player/video_host.h"
#include "media/probe/av_probe.h"
#include "media/probe/probed_streams.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"
#include "platform/win/types.h"

namespace media {

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
// Kept for the interface; every choice plays through SDL's default driver and the video host.
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };

class TCustomPlayer;
class TWindowVideoHost;

// Closes SDL audio devices on a thread of its own: a close waits for the device's thread, up to
// a buffer's time, and a stop need not wait with it. The destructor closes what is queued.
class TAudioDeviceCloser {
public:
    TAudioDeviceCloser();
    ~TAudioDeviceCloser();
    TAudioDeviceCloser(const TAudioDeviceCloser&) = delete;
    TAudioDeviceCloser& operator=(const TAudioDeviceCloser&) = delete;
    // The device must be paused: its callback no longer touches the playback.
    void Close(SDL_AudioDeviceID device);
    // Waits until every device handed over is closed; false when none was left to close.
    bool Drain();

private:
    std::mutex FLock;
    std::condition_variable FWake;
    std::condition_variable FDrained;
    std::vector<SDL_AudioDeviceID> FQueue;
    int FClosing = 0;  // handed over and not closed yet
    bool FEnd = false;
    std::thread FThread;
};

using TFileOpenEvent = std::function<void(TCustomPlayer* sender, int64_t duration, int frameWidth,
                                          int frameHeight, int& screenWidth, int& screenHeight)>;
using TPositionEvent = std::function<void(TCustomPlayer* sender, int64_t pts)>;
using TPlayStateEvent = std::function<void(TCustomPlayer* sender, TPlayState state)>;
// The picture as a 24-bit bitmap; what the handler draws on it is shown.
using THookEvent = std::function<void(TCustomPlayer* sender, gfx::TBitmap& bitmap, int64_t pts)>;

// One event of the player. The main thread sets or clears it while the player's threads call it
// (closing clears the events of a running preview); a call runs the handler found when it began,
// which stays alive until that call returns.
template <typename Handler>
class TEventSlot {
public:
    TEventSlot() = default;
    TEventSlot(const TEventSlot&) = delete;
    TEventSlot& operator=(const TEventSlot&) = delete;

    TEventSlot& operator=(Handler handler) {
        std::shared_ptr<const Handler> next =
            handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr;
        {
            std::lock_guard lock(FLock);
            FHandler.swap(next);
        }
        return *this;  // the old handler goes here, outside the lock
    }
    TEventSlot& operator=(std::nullptr_t) { return *this = Handler(); }

    std::shared_ptr<const Handler> Get() const {
        std::lock_guard lock(FLock);
        return FHandler;
    }
    explicit operator bool() const { return Get() != nullptr; }
    template <typename... Args>
    void operator()(Args&&... args) const {
        if (std::shared_ptr<const Handler> handler = Get()) (*handler)(std::forward<Args>(args)...);
    }

private:
    mutable std::mutex FLock;
    std::shared_ptr<const Handler> FHandler;
};

class TCustomPlayer : public TFFBaseComponent {
public:
    TCustomPlayer();
    ~TCustomPlayer() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& path);
    void UnloadAVLib();

    // Stops what plays, opens `fileName` and starts playing it into the video host of the
    // window `screenHandle` (none: nothing is shown). With `paused` the first pictures are shown
    // and the playback pauses. False with LastErrMsg set when the file cannot be played.
    bool Open(const std::string& fileName, win::HWND screenHandle, bool paused);
    // The same into any host (may be null).
    bool Open(const std::string& fileName, std::shared_ptr<TPlayerVideoHost> host, bool paused);
    bool Open(const std::string& fileName, std::nullptr_t, bool paused) {
        return Open(fileName, std::shared_ptr<TPlayerVideoHost>(), paused);
    }
    // Open without waiting for the file (main thread only): stops what plays and returns while
    // the read thread opens `fileName`. Once it is decided, a later turn of the main thread's
    // hand-overs finishes the open as Open does (OnFileOpen, then the playback's states) and
    // calls `done` with Open's result. A Stop or another open before that cancels it, without
    // a call of `done`.
    using TOpenDone = std::function<void(bool opened)>;
    void BeginOpen(const std::string& fileName, win::HWND screenHandle, bool paused,
                   TOpenDone done);
    // What a probe of a file found out (the task manager's, see probed_streams.h): an open of
    // that very file takes the streams' parameters from it instead of probing the file again.
    // Main thread; kept until replaced; an open of another file does not use it.
    void SetProbedStreams(std::shared_ptr<const TProbedStreams> value);
    // Ends the playback; with `waitForStop` returns once it has ended.
    void Stop(bool waitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
    // Cycles the audio display (none, wave, spectrum) of the playback; ShowAudio stays.
    void ToggleAudioDisplay();
    // The picture is part of the window's content and moves with it: nothing to do.
    void UpdateScreenPosition() {}
    // A copy of the picture shown last, with its time in microseconds from the file's start;
    // 0 x 0 and -1 without a playback or without video. The bitmap is the player's and stays
    // valid until the next call, the next Open or the player's end.
    gfx::TBitmap& CurrentFrame(int64_t& pts);
    gfx::TBitmap& CurrentFrame() {
        int64_t pts;
        return CurrentFrame(pts);
    }
    // Microseconds from the file's start (a byte position with sfByte).
    void Seek(int64_t pts, TSeekFlags flags, bool waitForSeekEnd);
    void Seek(int pts, TSeekFlags flags, bool waitForSeekEnd) {
        Seek(int64_t(pts), flags, waitForSeekEnd);
    }
    // Seconds from the current position (bytes estimated from seconds with sfByte).
    void Seek(double delta, TSeekFlags flags, bool waitForSeekEnd);

    // The played stream of each kind, -1 without one or without a playback. Setting another
    // index while playing switches the stream; false with LastErrMsg set when refused.
    int VideoStreamIndex() const;
    int AudioStreamIndex() const;
    int SubtitleStreamIndex() const;
    bool SetVideoStreamIndex(int index);
    bool SetAudioStreamIndex(int index);
    bool SetSubtitleStreamIndex(int index);

    // The probe attached to the playback's file while it plays (main thread).
    TAVProbe& AVProbe() { return *FAVProbe; }
    std::string LastErrMsg() const;
    std::string FileName() const { return Finput_filename; }
    win::HWND ScreenHandle() const { return FScreenHandle; }
    bool FullScreen() const { return Fis_full_screen; }
    static std::string Version() { return "1.0"; }
    std::string About() const { return FAbout; }
    void SetAbout(const std::string& value) { FAbout = value; }
    TPlayState PlayState() const { return FState.load(); }
    bool Paused() const;
    bool Seeking() const { return FSeeking.load(); }
    int64_t CurrentPTS() const { return FCurrentPTS.load(); }
    bool Playing() const { return FVideoState.load() != nullptr; }

    // The forced input format's name, empty for none. Setting it needs the libraries loaded;
    // a name the library does not know raises "Unknown input format: %s".
    std::string Format() const;
    void SetFormat(const std::string& name);

    // Options. The ones marked "per playback" go back to their defaults when a playback ends.
    float AspectRatio() const { return FAspectRatio.load(); }
    // Shown at once while playing.
    void SetAspectRatio(float value);
    TShowAudio ShowAudio() const { return FShowAudio.load(); }
    void SetShowAudio(TShowAudio value);
    bool Hook() const { return FHook.load(); }
    void SetHook(bool value) { FHook = value; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread.load(); }
    void SetTriggerEventInMainThread(bool value) { FTriggerEventInMainThread = value; }
    bool DisableDisplay() const { return Fdisplay_disable; }
    void SetDisableDisplay(bool value) { Fdisplay_disable = value; }
    int FrameWidth() const { return Fframe_width; }
    void SetFrameWidth(int value) { Fframe_width = value; }
    int FrameHeight() const { return Fframe_height; }
    void SetFrameHeight(int value) { Fframe_height = value; }
    int ScreenWidth() const { return Fscreen_width; }
    void SetScreenWidth(int value) { Fscreen_width = value; }
    int ScreenHeight() const { return Fscreen_height; }
    void SetScreenHeight(int value) { Fscreen_height = value; }
    TVideoDriver VideoDriver() const { return FVideoDriver; }
    void SetVideoDriver(TVideoDriver value) { FVideoDriver = value; }
    bool is_full_screen() const { return Fis_full_screen; }
    void Setis_full_screen(bool value) { Fis_full_screen = value; }
    int wanted_audio_stream() const { return wanted_stream(AVMEDIA_TYPE_AUDIO); }
    void Setwanted_audio_stream(int value) { Setwanted_stream(AVMEDIA_TYPE_AUDIO, value); }
    int wanted_video_stream() const { return wanted_stream(AVMEDIA_TYPE_VIDEO); }
    void Setwanted_video_stream(int value) { Setwanted_stream(AVMEDIA_TYPE_VIDEO, value); }
    int wanted_subtitle_stream() const { return wanted_stream(AVMEDIA_TYPE_SUBTITLE); }
    void Setwanted_subtitle_stream(int value) { Setwanted_stream(AVMEDIA_TYPE_SUBTITLE, value); }
    int seek_by_bytes() const { return Fseek_by_bytes; }
    void Setseek_by_bytes(int value) { Fseek_by_bytes = value; }  // per playback
    int workaround_bugs() const { return Fworkaround_bugs; }
    void Setworkaround_bugs(int value) { Fworkaround_bugs = value; }
    int debug_mv() const { return Fdebug_mv; }
    void Setdebug_mv(int value) { Fdebug_mv = value; }
    bool fast() const { return Ffast; }
    void Setfast(bool value) { Ffast = value; }
    bool genpts() const { return Fgenpts; }
    void Setgenpts(bool value) { Fgenpts = value; }
    int decoder_reorder_pts() const { return Fdecoder_reorder_pts; }
    void Setdecoder_reorder_pts(int value) { Fdecoder_reorder_pts = value; }
    int rdftspeed() const { return Frdftspeed.load(); }
    void Setrdftspeed(int value) { Frdftspeed = value; }
    int lowres() const { return Flowres; }
    void Setlowres(int value) { Flowres = value; }
    int idct_algo() const { return Fidct_algo; }
    void Setidct_algo(int value) { Fidct_algo = value; }
    int error_recognition() const { return Ferror_recognition; }
    void Seterror_recognition(int value) { Ferror_recognition = value; }
    int error_concealment() const { return Ferror_concealment; }
    void Seterror_concealment(int value) { Ferror_concealment = value; }
    std::string VideoFilters() const { return Fvfilters; }
    void SetVideoFilters(const std::string& value) { Fvfilters = value; }
    int AudioVolume() const { return FAudioVolume.load(); }
    void SetAudioVolume(int value) { FAudioVolume = value < 0 ? 0 : value > 128 ? 128 : value; }
    bool Mute() const { return FMute.load(); }
    void SetMute(bool value) { FMute = value; }
    int framedrop() const { return Fframedrop.load(); }
    void Setframedrop(int value) { Fframedrop = value; }
    bool VerticalFlip() const { return FVerticalFlip.load(); }
    void SetVerticalFlip(bool value) { FVerticalFlip = value; }  // per playback
    bool DisableAudio() const { return Faudio_disable; }
    void SetDisableAudio(bool value) { Faudio_disable = value; }
    bool DisableVideo() const { return Fvideo_disable; }
    void SetDisableVideo(bool value) { Fvideo_disable = value; }
    TAudioDriver AudioDriver() const { return FAudioDriver; }
    void SetAudioDriver(TAudioDriver value) { FAudioDriver = value; }
    Tav_sync_type av_sync_type() const { return Fav_sync_type; }
    void Setav_sync_type(Tav_sync_type value) { Fav_sync_type = value; }
    int wanted_stream(AVMediaType type) const { return Fwanted_stream[type + 1]; }
    void Setwanted_stream(AVMediaType type, int value) { Fwanted_stream[type + 1] = value; }
    int64_t PlayTime() const { return FPlayTime; }
    void SetPlayTime(int64_t value) { FPlayTime = value; }  // per playback
    TRepeatType RepeatType() const { return FRepeatType; }
    void SetRepeatType(TRepeatType value) { FRepeatType = value; }  // per playback
    int64_t start_time() const { return Fstart_time; }
    void Setstart_time(int64_t value) { Fstart_time = value; }  // per playback

    // Set before Open; cleared when the player ends.
    TEventSlot<TFileOpenEvent> OnFileOpen;
    TEventSlot<TPositionEvent> OnPosition;
    TEventSlot<TPlayStateEvent> OnState;
    TEventSlot<THookEvent> OnHook;

    // The engine's side: what its threads read and call.
    void ReportError(const std::string& text, bool store);
    void UpdatePosition();
    void SetState(TPlayState state);
    void ResetState();
    void InitOptions();
    // Video thread: hands the picture to OnHook as a bitmap and takes the bitmap back into
    // `frame` (made writable first). False when no hook ran or it failed: the picture is shown
    // as decoded.
    bool CallHook(AVFrame* frame, double pts);

    // Decoder and format options, read when a file or stream opens.
    int Fsws_flags = 4;
    const AVInputFormat* Ffile_iformat = nullptr;
    std::shared_ptr<const TProbedStreams> FProbedStreams;
    std::string Finput_filename;
    int Ffs_screen_width = 0;
    int Ffs_screen_height = 0;
    int Fscreen_width = 0;
    int Fscreen_height = 0;
    int Fframe_width = 0;
    int Fframe_height = 0;
    int Fframe_pix_fmt = -1;
    bool Faudio_disable = false;
    bool Fvideo_disable = false;
    std::array<int, AVMEDIA_TYPE_NB + 1> Fwanted_stream;  // media types -1..4
    int Fseek_by_bytes = -1;
    bool Fdisplay_disable = false;
    Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    int64_t Fstart_time = AV_NOPTS_VALUE;
    int Fdebug = 0;
    int Fdebug_mv = 0;
    std::atomic<bool> Fstep{false};
    // The count of queued pictures when the step was asked for: only a later picture ends it.
    std::atomic<int64_t> FStepFrom{0};
    int Fworkaround_bugs = 1;
    bool Ffast = false;
    bool Fgenpts = false;
    int Flowres = 0;
    int Fidct_algo = 0;
    int Fskip_frame = 0;
    int Fskip_idct = 0;
    int Fskip_loop_filter = 0;
    int Ferror_recognition = 1;
    int Ferror_concealment = 3;
    int Fdecoder_reorder_pts = -1;
    std::atomic<int> Fframedrop{1};
    std::atomic<int> Frdftspeed{20};
    std::string Fvfilters;
    bool Fis_full_screen = false;
    std::atomic<int64_t> Faudio_callback_time{0};
    std::atomic<float> FAspectRatio{0};
    std::atomic<int> FAudioVolume{128};
    std::atomic<TShowAudio> FShowAudio{saWave};
    std::atomic<bool> FMute{false};
    int64_t FPlayTime = AV_NOPTS_VALUE;
    TRepeatType FRepeatType = rtStop;
    std::atomic<bool> FVerticalFlip{false};
    TAudioDriver FAudioDriver = adDefault;
    TVideoDriver FVideoDriver = vdDefault;
    std::atomic<bool> FHook{false};
    std::atomic<bool> FTriggerEventInMainThread{true};
    win::HWND FScreenHandle;
    std::string FAbout;

    // The playback and what the engine's threads meet on.
    std::atomic<TVideoState*> FVideoState{nullptr};
    std::unique_ptr<TVideoState> FVideoStateOwner;
    std::shared_ptr<TPlayerVideoHost> FVideoHost;
    // The screen image the display draws into; exists from the first video mode of a playback.
    std::optional<TVideoImage> Fscreen;
    std::mutex FDataLock;
    // Serialises pause toggles and seek requests, and keeps FVideoState alive while they run:
    // the playback is released only under it.
    std::mutex FStateLock;
    sys::TEvent FSeekEvent{true, true};
    sys::TEvent FPictEvent{true, true};
    sys::TEvent FStopEvent{true, true};
    std::atomic<bool> FSeeking{false};
    // The play thread and the video decoder both update the position: the step check, its
    // report and the end are taken by one of them at a time.
    std::mutex FPositionLock;
    std::atomic<int64_t> FLastPTS{AV_NOPTS_VALUE};
    int FLastSerial = -1;  // video serial of the last report; under FPositionLock
    std::atomic<int64_t> FCurrentPTS{-1};
    std::atomic<TPlayState> FState{psStop};
    std::unique_ptr<sys::TThread> FPlayThread;
    bool FAudioStarted = false;  // the SDL audio subsystem is started (until the player ends)
    // Opens cancelled before their file was decided, until their read threads end.
    std::vector<std::unique_ptr<TVideoState>> FCancelledOpens;
    // While the audio subsystem is started; the read threads hand it their devices.
    std::unique_ptr<TAudioDeviceCloser> FAudioCloser;
    // The ring of the current playback; the play thread keeps its own for its stop.
    std::shared_ptr<TPlayEventRing> FPlayEvent;

    // Pushes the state into `ring` (the play thread's own at its end).
    void SetState(TPlayState state, TPlayEventRing* ring);

private:
    struct TPendingOpen;
    // The steps of an open: the window's host (stops what plays), the player made ready for a
    // file, and the playback started once its file is open.
    bool PrepareWindowOpen(win::HWND screenHandle, std::shared_ptr<TWindowVideoHost>& host);
    bool PrepareOpen(std::shared_ptr<TPlayerVideoHost> host);
    void StartPlayback(const std::string& fileName);
    void FinishBackgroundOpen();
    void CancelPendingOpen();
    void StopAudio();
    void AwaitPlaybackEnd();
    void AwaitEventThreadEnd();
    void DoFileOpen();
    void Deliver(const TPlayEventItem& item);
    template <typename Handler>
    bool HasHandler(const TEventSlot<Handler>& handler) const {
        return FEventsEnabled.load() && bool(handler);
    }
    bool SwitchStreamIndex(AVMediaType type, int index);
    int PlayedStream(AVMediaType type) const;

    std::unique_ptr<TAVProbe> FAVProbe;
    mutable std::mutex FErrLock;
    std::string FLastErrMsg;
    // Off once the player ends: no handler runs any more.
    std::atomic<bool> FEventsEnabled{true};
    std::unique_ptr<TEventThread> FEventThread;
    // Event threads that could not be joined yet (a stop from inside their own handler).
    std::vector<std::unique_ptr<TEventThread>> FEndedEventThreads;
    // The thread that runs a handler of an event thread right now.
    std::atomic<sys::TThreadId> FHandlerThread{0};
    std::unique_ptr<TRGBConvertContext> FRGBContext;
    std::unique_ptr<TRGBConvertContext> FHookContext;
    // A BeginOpen whose file is not decided yet.
    std::shared_ptr<TPendingOpen> FPendingOpen;
};

class TFFPlayer : public TCustomPlayer {};

}  // namespace media
