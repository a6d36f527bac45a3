#include "media/player/ff_player.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"
#include "media/libs/media_utils.h"
#include "media/player/player_clock.h"
#include "media/player/player_read_thread.h"
#include "media/player/player_window_host.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"

namespace media {

namespace {

constexpr int kStopWaitStepMs = 100;
constexpr int kStopForceAfterReadTurns = 10;
constexpr int kStopForceTurns = 20;
constexpr int64_t kPositionStep = 10000;

sys::TWaitResult PumpingStopWait(sys::TEvent& event, int ms) {
    if (!sys::IsMainThread()) return event.Wait(ms);
    sys::TWaitResult result = sys::PumpingWait(event, ms);
    PumpMessages();
    return result;
}

// Tries the lock for up to `ms`; the play thread holds it for one event at a time only.
bool TryLockFor(std::unique_lock<std::mutex>& lock, int ms) {
    for (int waited = 0;; ++waited) {
        if (lock.try_lock()) return true;
        if (waited >= ms) return false;
        sys::SleepMs(1);
    }
}

// Takes the lock, keeping the main thread's hand-overs running meanwhile.
std::unique_lock<std::mutex> LockPumping(std::mutex& mutex) {
    std::unique_lock lock(mutex, std::defer_lock);
    while (!TryLockFor(lock, kStopWaitStepMs))
        if (sys::IsMainThread()) PumpMessages();
    return lock;
}

}  // namespace

TCustomPlayer::TCustomPlayer() : FAVProbe(std::make_unique<TAVProbe>()) {
    Fwanted_stream.fill(-1);
    InitOptions();
}

TCustomPlayer::~TCustomPlayer() {
    FEventsEnabled = false;
    Stop(true);
    StopAudio();
    if (FRGBContext) ResetRGBConvertContext(*FRGBContext);
    if (FHookContext) ResetRGBConvertContext(*FHookContext);
}

bool TCustomPlayer::AVLibLoaded() const {
    return AVLibLoader().Loaded(FFPlayLibraries);
}

bool TCustomPlayer::LoadAVLib(const std::string& path) {
    AVLibLoader().SetLibraryPath(path);
    if (AVLibLoader().Load(FFPlayLibraries)) return true;
    std::lock_guard lock(FErrLock);
    FLastErrMsg = AVLibLoader().LastErrMsg();
    return false;
}

void TCustomPlayer::SetProbedStreams(std::shared_ptr<const TProbedStreams> value) {
    FProbedStreams = std::move(value);
}

void TCustomPlayer::UnloadAVLib() {
    // The copied parameters are freed by the library.
    FProbedStreams.reset();
    StopAudio();
    AVLibLoader().Unload(FFPlayLibraries);
}

TAudioDeviceCloser::TAudioDeviceCloser() {
    FThread = std::thread([this] {
        std::unique_lock lock(FLock);
        for (;;) {
            FWake.wait(lock, [this] { return FEnd || !FQueue.empty(); });
            if (FQueue.empty()) return;
            const SDL_AudioDeviceID device = FQueue.back();
            FQueue.pop_back();
            lock.unlock();
            lib::SDL_CloseAudioDevice(device);
            lock.lock();
            if (--FClosing == 0) FDrained.notify_all();
        }
    });
}

TAudioDeviceCloser::~TAudioDeviceCloser() {
    {
        std::lock_guard lock(FLock);
        FEnd = true;
    }
    FWake.notify_all();
    FThread.join();
}

void TAudioDeviceCloser::Close(SDL_AudioDeviceID device) {
    {
        std::lock_guard lock(FLock);
        FQueue.push_back(device);
        ++FClosing;
    }
    FWake.notify_all();
}

bool TAudioDeviceCloser::Drain() {
    std::unique_lock lock(FLock);
    if (FClosing == 0) return false;
    FDrained.wait(lock, [this] { return FClosing == 0; });
    return true;
}

void TCustomPlayer::StopAudio() {
    // Every playback ended and every device closed before the subsystem goes.
    ReapCancelledOpens(*this, true);
    FAudioCloser.reset();
    if (!FAudioStarted) return;
    if (AVLibLoaded()) lib::SDL_QuitSubSystem(SDL_INIT_AUDIO);
    FAudioStarted = false;
}

void TCustomPlayer::InitOptions() {
    Fvfilters.clear();
    Fsws_flags = 4;
    Ffile_iformat = nullptr;
    Finput_filename.clear();
    Ffs_screen_width = 0;
    Ffs_screen_height = 0;
    Fframe_width = 0;
    Fframe_height = 0;
    Fframe_pix_fmt = -1;
    Fav_sync_type = AV_SYNC_AUDIO_MASTER;
    Fdebug = 0;
    Fworkaround_bugs = 1;
    Ffast = false;
    Fgenpts = false;
    Flowres = 0;
    Fidct_algo = 0;
    Fskip_frame = 0;
    Fskip_idct = 0;
    Fskip_loop_filter = 0;
    Ferror_recognition = 1;
    Ferror_concealment = 3;
    Fdecoder_reorder_pts = -1;
    Fframedrop = 1;
    Frdftspeed = 20;
    ResetState();
}

void TCustomPlayer::ResetState() {
    Fscreen.reset();
    FLastPTS = AV_NOPTS_VALUE;
    FCurrentPTS = -1;
    Fstep = false;
    Fwanted_stream.fill(-1);
    Fseek_by_bytes = -1;
    Fstart_time = AV_NOPTS_VALUE;
    FPlayTime = AV_NOPTS_VALUE;
    FRepeatType = rtStop;
    FVerticalFlip = false;
    FSeekEvent.Set();
    FSeeking = false;
}

void TCustomPlayer::ReportError(const std::string& text, bool store) {
    GetFFLogger().Log(this, llError, text);
    if (!store) return;
    std::lock_guard lock(FErrLock);
    FLastErrMsg = text;
}

std::string TCustomPlayer::LastErrMsg() const {
    std::lock_guard lock(FErrLock);
    return FLastErrMsg;
}

bool TCustomPlayer::Open(const std::string& fileName, win::HWND screenHandle, bool paused) {
    std::shared_ptr<TWindowVideoHost> host;
    if (!PrepareWindowOpen(screenHandle, host)) return false;
    if (!Open(fileName, std::shared_ptr<TPlayerVideoHost>(host), paused)) return false;
    FScreenHandle = screenHandle;
    if (host) host->Attach(FVideoState.load()->events);
    return true;
}

bool TCustomPlayer::PrepareWindowOpen(win::HWND screenHandle,
                                      std::shared_ptr<TWindowVideoHost>& host) {
    // Libraries, then the playback that runs, then the handle: a refused handle still stops
    // the old file.
    if (!AVLibLoaded()) {
        ReportError("libav or libsdl not loaded.", true);
        return false;
    }
    Stop(true);
    if (!screenHandle) return true;
    host = MakeWindowVideoHost(screenHandle);
    if (host) return true;
    ReportError(rtl::Format("Could not initialize SDL with ScreenHandle(%u): %s",
                            screenHandle.Value(), "not a window"),
                true);
    return false;
}

bool TCustomPlayer::PrepareOpen(std::shared_ptr<TPlayerVideoHost> host) {
    if (!AVLibLoaded()) {
        ReportError("libav or libsdl not loaded.", true);
        return false;
    }
    Stop(true);
    FScreenHandle = win::HWND();
    // Before the video thread may call the hook: the contexts start afresh for every file.
    if (FRGBContext) ResetRGBConvertContext(*FRGBContext);
    if (FHookContext) ResetRGBConvertContext(*FHookContext);
    FPlayEvent = std::make_shared<TPlayEventRing>();
    // Without an audio device the file still plays, without sound: the audio stream's
    // opening reports it. Started once, it stays up until the player ends. SDL would take
    // SIGINT and SIGTERM for an event nobody reads: the program ends on them itself.
    lib::SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!FAudioStarted && lib::SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        FAudioStarted = true;
        const char* driver = lib::SDL_GetCurrentAudioDriver();
        if (driver != nullptr)
            lib::av_log(nullptr, AV_LOG_DEBUG, "using audio driver: %s\n", driver);
    }
    if (FAudioStarted && !FAudioCloser) FAudioCloser = std::make_unique<TAudioDeviceCloser>();
    if (Fdisplay_disable) Fvideo_disable = true;
    FVideoHost = std::move(host);
    return true;
}

bool TCustomPlayer::Open(const std::string& fileName, std::shared_ptr<TPlayerVideoHost> host,
                         bool paused) {
    if (!PrepareOpen(std::move(host))) return false;
    if (!OpenStream(*this, fileName, Ffile_iformat, paused)) return false;
    StartPlayback(fileName);
    return true;
}

void TCustomPlayer::StartPlayback(const std::string& fileName) {
    Finput_filename = fileName;
    FAVProbe->SetFileHandle(FVideoState.load()->ic);
    if (FTriggerEventInMainThread.load())
        CallInMainThread([this] { DoFileOpen(); });
    else
        DoFileOpen();
    FStopEvent.Reset();
    FEventThread = std::make_unique<TEventThread>(
        FPlayEvent, [this](const TPlayEventItem& item) { Deliver(item); }, int(psStop));
    FPlayThread = std::make_unique<TPlayThread>(*this, FVideoState.load()->events, FPlayEvent);
}

struct TCustomPlayer::TPendingOpen {
    std::string FileName;
    win::HWND ScreenHandle;
    std::shared_ptr<TWindowVideoHost> Host;
    std::unique_ptr<TVideoState> State;
    TOpenDone Done;
};

void TCustomPlayer::BeginOpen(const std::string& fileName, win::HWND screenHandle, bool paused,
                              TOpenDone done) {
    auto pending = std::make_shared<TPendingOpen>();
    pending->FileName = fileName;
    pending->ScreenHandle = screenHandle;
    pending->Done = std::move(done);
    auto fail = [&pending] {
        if (pending->Done) pending->Done(false);
    };
    if (!PrepareWindowOpen(screenHandle, pending->Host) ||
        !PrepareOpen(std::shared_ptr<TPlayerVideoHost>(pending->Host)))
        return fail();
    // The read thread decides on the file; the rest of the open waits for the main thread's
    // next turn, and a Stop or Open before that cancels it.
    std::weak_ptr<TPendingOpen> weak = pending;
    pending->State = StartOpenStream(*this, fileName, Ffile_iformat, paused, [this, weak] {
        sys::QueueInMainThread([this, weak] {
            std::shared_ptr<TPendingOpen> current = weak.lock();
            if (current && current == FPendingOpen) FinishBackgroundOpen();
        });
    });
    if (!pending->State) return fail();
    FPendingOpen = std::move(pending);
}

void TCustomPlayer::FinishBackgroundOpen() {
    std::shared_ptr<TPendingOpen> pending = std::move(FPendingOpen);
    const bool opened = FinishOpenStream(*this, std::move(pending->State));
    if (opened) {
        StartPlayback(pending->FileName);
        FScreenHandle = pending->ScreenHandle;
        if (pending->Host) pending->Host->Attach(FVideoState.load()->events);
    }
    if (pending->Done) pending->Done(opened);
}

void TCustomPlayer::CancelPendingOpen() {
    if (!FPendingOpen) return;
    std::shared_ptr<TPendingOpen> pending = std::move(FPendingOpen);
    CancelOpenStream(*this, std::move(pending->State));
}

void TCustomPlayer::DoFileOpen() {
    TVideoState* is = FVideoState.load();
    if (is != nullptr && OnFileOpen) {
        int64_t duration = is->IsImage2 != 0 ? 0 : is->Duration;
        int frameWidth = -1;
        int frameHeight = -1;
        if (is->video_ctx != nullptr && is->video_ctx->width != 0) {
            frameWidth = is->video_ctx->width;
            frameHeight = is->video_ctx->height;
            // The pictures are shown upright.
            if (UprightSwapsSides(is->video_st.load())) std::swap(frameWidth, frameHeight);
        }
        OnFileOpen(this, duration, frameWidth, frameHeight, Fscreen_width, Fscreen_height);
    }
    if (FVideoHost && (Fscreen_width == 0 || Fscreen_height == 0)) {
        TVideoSize size = FVideoHost->ClientSize();
        Fscreen_width = size.Width;
        Fscreen_height = size.Height;
    }
}

void TCustomPlayer::Deliver(const TPlayEventItem& item) {
    auto run = [this, item] {
        sys::TThreadId previous = FHandlerThread.exchange(sys::CurrentThreadId());
        try {
            if (item.Kind == pekPosition && HasHandler(OnPosition))
                OnPosition(this, item.Value);
            else if (item.Kind == pekState && HasHandler(OnState))
                OnState(this, TPlayState(item.Value));
        } catch (const std::exception& e) {
            GetFFLogger().Log(this, llError,
                              std::string("Error occurs in event handler: ") + e.what());
        }
        FHandlerThread = previous;
    };
    if (FTriggerEventInMainThread.load())
        CallInMainThread(run);
    else
        run();
}

void TCustomPlayer::Stop(bool waitForStop) {
    CancelPendingOpen();
    bool paused = false;
    {
        std::lock_guard lock(FStateLock);
        TVideoState* is = FVideoState.load();
        paused = is != nullptr && is->paused.load() != 0;
    }
    // Resumed first, so that the threads waiting on the pause see the end.
    Fstep = false;
    if (paused) TogglePauseState(*this);
    {
        std::lock_guard lock(FStateLock);
        if (TVideoState* is = FVideoState.load()) PushQuitEvent(*is);
    }
    if (!waitForStop) return;
    AwaitPlaybackEnd();
    FPlayThread.reset();
    AwaitEventThreadEnd();
}

void TCustomPlayer::AwaitEventThreadEnd() {
    if (FEventThread) FEndedEventThreads.push_back(std::move(FEventThread));
    // From inside a handler its event thread waits for this very call: it is joined later.
    if (FHandlerThread.load() == sys::CurrentThreadId()) return;
    // Each ends once it delivered the stop of its playback (the play threads are joined, so
    // every stop is in its ring); the main thread keeps delivering meanwhile.
    for (std::unique_ptr<TEventThread>& thread : FEndedEventThreads)
        while (PumpingStopWait(thread->Ended(), kStopWaitStepMs) == sys::TWaitResult::Timeout) {
        }
    FEndedEventThreads.clear();
}

void TCustomPlayer::AwaitPlaybackEnd() {
    if (!FPlayThread) return;
    int count = 1;
    for (;;) {
        if (PumpingStopWait(FStopEvent, kStopWaitStepMs) == sys::TWaitResult::Signaled) return;
        if (FVideoState.load() == nullptr) return;
        std::unique_lock lock(FDataLock, std::defer_lock);
        if (!TryLockFor(lock, kStopWaitStepMs)) continue;
        ++count;
        TVideoState* is = FVideoState.load();
        if (is == nullptr) return;
        if ((count > kStopForceAfterReadTurns && is->Reading.load() != 0) ||
            count > kStopForceTurns) {
            ShutdownPlayback(*this);
            return;
        }
        PushQuitEvent(*is);
    }
}

bool TCustomPlayer::Paused() const {
    TVideoState* is = FVideoState.load();
    return is == nullptr || is->paused.load() != 0;
}

void TCustomPlayer::Pause() {
    {
        std::lock_guard lock(FStateLock);
        TVideoState* is = FVideoState.load();
        if (is == nullptr || is->paused.load() != 0) return;
    }
    Fstep = false;
    TogglePauseState(*this);
    SetState(psPause);
}

void TCustomPlayer::Resume() {
    {
        std::lock_guard lock(FStateLock);
        TVideoState* is = FVideoState.load();
        if (is == nullptr || is->paused.load() == 0) return;
    }
    // Not stepping any more before the video thread runs again, or it would pause once more.
    Fstep = false;
    TogglePauseState(*this);
    SetState(psResume);
}

void TCustomPlayer::TogglePause() {
    if (FVideoState.load() == nullptr) return;
    Fstep = false;
    TogglePauseState(*this);
    SetState(Paused() ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame() {
    bool paused;
    {
        std::lock_guard lock(FStateLock);
        TVideoState* is = FVideoState.load();
        if (is == nullptr) return;
        paused = is->paused.load() != 0;
        // A picture the video thread is still finishing (a seek's) is not the step's.
        if (!Fstep.load()) FStepFrom = is->pictures_queued.load();
    }
    // Stepping before resuming: the video thread pauses again after exactly one picture.
    bool stepping = Fstep.exchange(true);
    if (paused) TogglePauseState(*this);
    if (!stepping) SetState(psStep);
}

void TCustomPlayer::Seek(int64_t pts, TSeekFlags flags, bool waitForSeekEnd) {
    TVideoState* is;
    bool hasVideo;
    {
        std::lock_guard lock(FStateLock);
        is = FVideoState.load();
        if (is == nullptr) return;
        int64_t target = pts;
        int64_t rel = 0;
        if (!flags.Contains(sfByte)) {
            // A file without a duration has nothing to clamp to.
            if (is->ic->duration != AV_NOPTS_VALUE) target = std::min(target, is->ic->duration);
            if (is->ic->start_time != AV_NOPTS_VALUE) target += is->ic->start_time;
            rel = pts <= 0 ? 1 : 0;
        }
        if (!PostSeekRequest(*is, flags, target, rel)) return;
        hasVideo = is->video_st.load() != nullptr;
    }
    if (waitForSeekEnd) AwaitSeek(*this, is, hasVideo);
}

void TCustomPlayer::Seek(double delta, TSeekFlags flags, bool waitForSeekEnd) {
    TVideoState* is;
    bool hasVideo;
    {
        std::lock_guard lock(FStateLock);
        is = FVideoState.load();
        if (is == nullptr) return;
        double pos;
        double rel;
        if (flags.Contains(sfByte)) {
            int64_t bitRate = is->ic->bit_rate;
            rel = bitRate != 0 ? delta * double(bitRate) / 8.0 : delta * 180000.0;
            pos = double(is->read_pos.load()) + rel;
        } else {
            pos = (MasterClock(*is) + delta) * 1000000.0;
            rel = delta * 1000000.0;
        }
        if (!PostSeekRequest(*is, flags, int64_t(std::nearbyint(pos)),
                             int64_t(std::nearbyint(rel))))
            return;
        hasVideo = is->video_st.load() != nullptr;
    }
    if (waitForSeekEnd) AwaitSeek(*this, is, hasVideo);
}

int TCustomPlayer::PlayedStream(AVMediaType type) const {
    TVideoState* is = FVideoState.load();
    if (is == nullptr) return -1;
    switch (type) {
        case AVMEDIA_TYPE_VIDEO:
            return is->video_stream.load();
        case AVMEDIA_TYPE_AUDIO:
            return is->audio_stream.load();
        case AVMEDIA_TYPE_SUBTITLE:
            return is->subtitle_stream.load();
        default:
            return -1;
    }
}

int TCustomPlayer::VideoStreamIndex() const {
    return PlayedStream(AVMEDIA_TYPE_VIDEO);
}

int TCustomPlayer::AudioStreamIndex() const {
    return PlayedStream(AVMEDIA_TYPE_AUDIO);
}

int TCustomPlayer::SubtitleStreamIndex() const {
    return PlayedStream(AVMEDIA_TYPE_SUBTITLE);
}

bool TCustomPlayer::SwitchStreamIndex(AVMediaType type, int index) {
    if (FVideoState.load() == nullptr || PlayedStream(type) == index) return true;
    // The play thread cannot end the playback while its streams are switched.
    std::unique_lock lock = LockPumping(FDataLock);
    TVideoState* is = FVideoState.load();
    if (is == nullptr) return true;
    return SwitchStream(*is, type, index);
}

bool TCustomPlayer::SetVideoStreamIndex(int index) {
    return SwitchStreamIndex(AVMEDIA_TYPE_VIDEO, index);
}

bool TCustomPlayer::SetAudioStreamIndex(int index) {
    return SwitchStreamIndex(AVMEDIA_TYPE_AUDIO, index);
}

bool TCustomPlayer::SetSubtitleStreamIndex(int index) {
    return SwitchStreamIndex(AVMEDIA_TYPE_SUBTITLE, index);
}

void TCustomPlayer::SetState(TPlayState state) {
    SetState(state, FPlayEvent.get());
}

void TCustomPlayer::SetState(TPlayState state, TPlayEventRing* ring) {
    FState = state;
    if (ring == nullptr) return;
    if (HasHandler(OnState))
        ring->Push({pekState, int64_t(state)});
    else if (state == psStop)
        ring->Push({pekQuit, 0});  // the event thread ends all the same
}

void TCustomPlayer::ToggleAudioDisplay() {
    std::lock_guard lock(FStateLock);
    if (TVideoState* is = FVideoState.load()) is->events->Push({TPlayerEventKind::AudioDisplay});
}

void TCustomPlayer::SetAspectRatio(float value) {
    if (FAspectRatio.exchange(value) == value) return;
    std::lock_guard lock(FStateLock);
    if (TVideoState* is = FVideoState.load()) PushRedisplayEvent(*is);
}

void TCustomPlayer::SetShowAudio(TShowAudio value) {
    FShowAudio = value;
    std::lock_guard lock(FStateLock);
    TVideoState* is = FVideoState.load();
    if (is != nullptr && is->audio_st.load() != nullptr && !Fdisplay_disable)
        is->show_audio = int(value);
}

std::string TCustomPlayer::Format() const {
    return Ffile_iformat != nullptr ? Ffile_iformat->name : "";
}

void TCustomPlayer::SetFormat(const std::string& name) {
    if (!AVLibLoaded()) {
        ReportError("libav or libsdl not loaded.", true);
        return;
    }
    const AVInputFormat* format = lib::av_find_input_format(name.c_str());
    if (format == nullptr) throw rtl::Exception(rtl::Format("Unknown input format: %s", name));
    Ffile_iformat = format;
}

void TCustomPlayer::UpdatePosition() {
    TVideoState* is = FVideoState.load();
    if (is == nullptr || is->IsImage2 != 0) return;
    int64_t cur;
    bool ended = false;
    {
        // Two threads reading the clock a moment apart would both pass the step against the
        // same last report, and both raise the end.
        std::lock_guard lock(FPositionLock);
        if (is->video_st.load() != nullptr) {
            cur = std::llround(VideoClock(*is) * 1000000.0) - is->StartTime;
        } else if (is->audio_st.load() != nullptr) {
            cur = std::llround(AudioClock(*is) * 1000000.0) - is->StartTime;
            // The audio track may end before the file does.
            int64_t audioDuration = is->AudioDuration.load();
            if (audioDuration > 0 && cur >= audioDuration && cur < is->Duration) cur = is->Duration;
        } else {
            return;
        }
        FCurrentPTS = cur;
        if (is->Duration > 0 && cur >= is->Duration) cur = is->Duration;
        int64_t last = FLastPTS.load();
        // Pictures still shown after the end was reported do not move the position back.
        bool afterEnd = is->EventEOF.load() != 0 && last != AV_NOPTS_VALUE && cur < last;
        // Nor does the video clock falling back when a late picture is shown (it ran on while
        // none was ready): only a picture from after a seek moves the position back.
        const int serial = is->video_current_serial.load();
        const bool fallsBack = is->video_st.load() != nullptr && last != AV_NOPTS_VALUE &&
                               cur < last && serial == FLastSerial;
        if (!afterEnd && !fallsBack &&
            (last == AV_NOPTS_VALUE || std::llabs(cur - last) > kPositionStep)) {
            FLastPTS = cur;
            FLastSerial = serial;
            if (HasHandler(OnPosition) && FPlayEvent) FPlayEvent->Push({pekPosition, cur});
        }
        if (is->IsDevice == 0 && is->EventEOF.load() == 0 && is->ReachEOF.load() == 1) {
            if (is->video_st.load() != nullptr) {
                is->EventEOF = 1;
                // The end may come while the last pictures still wait to be shown, and a stop
                // may follow at once: the seek bar gets the end before the end's state.
                int64_t end = is->Duration > 0 ? is->Duration : cur;
                int64_t reported = FLastPTS.load();
                if (reported == AV_NOPTS_VALUE || std::llabs(end - reported) > kPositionStep) {
                    FLastPTS = end;
                    FLastSerial = serial;
                    if (HasHandler(OnPosition) && FPlayEvent) FPlayEvent->Push({pekPosition, end});
                }
            }
            ended = true;
        }
    }
    if (ended) SetState(psEnd);
    if (FPlayTime != AV_NOPTS_VALUE) {
        int64_t end = FPlayTime + (Fstart_time != AV_NOPTS_VALUE ? Fstart_time : 0);
        if (cur >= end) {
            if (FRepeatType == rtStop)
                Stop(false);
            else if (FRepeatType == rtLoop)
                Fstart_time != AV_NOPTS_VALUE ? Seek(Fstart_time, TSeekFlags{}, false)
                                              : Seek(int64_t(0), TSeekFlags{sfAny}, false);
        }
    }
}

}  // namespace media
