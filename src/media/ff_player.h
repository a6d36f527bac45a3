// The player component: plays one media file at a time into a video host, with pause, step,
// seek and stream switching, through the engine of player_state.h and its threads.
//
// Owns the playback (TVideoState), its play thread and the engine's events and locks. The
// application calls it from the main thread; the engine's threads read its options and call
// ReportError, UpdatePosition and SetState. Open, Stop(true) and a waiting Seek keep the main
// thread's hand-overs and window messages running while they wait.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "media/av_probe.h"
#include "media/ff_base_component.h"
#include "media/player_state.h"
#include "media/video_host.h"
#include "platform/sys/sync.h"
#include "platform/sys/threads.h"

namespace media {

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
// Kept for the interface; every choice plays through SDL's default driver.
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };

class TCustomPlayer : public TFFBaseComponent {
public:
    TCustomPlayer();
    ~TCustomPlayer() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& path);
    void UnloadAVLib();

    // Stops what plays, opens `fileName` and starts playing it into `host` (may be null: then
    // nothing is shown). With `paused` the first pictures are shown and the playback pauses.
    // False with LastErrMsg set when the file cannot be played.
    bool Open(const std::string& fileName, std::shared_ptr<TPlayerVideoHost> host, bool paused);
    // Ends the playback; with `waitForStop` returns once it has ended.
    void Stop(bool waitForStop);
    void Pause();
    void Resume();
    void TogglePause();
    void StepToNextFrame();
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
    TPlayState PlayState() const { return FState.load(); }
    bool Paused() const;
    bool Seeking() const { return FSeeking.load(); }
    int64_t CurrentPTS() const { return FCurrentPTS.load(); }
    bool Playing() const { return FVideoState.load() != nullptr; }

    // Options. The ones marked "per playback" go back to their defaults when a playback ends.
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

    // The engine's side: what its threads read and call.
    void ReportError(const std::string& text, bool store);
    void UpdatePosition();
    void SetState(TPlayState state);
    void ResetState();
    void InitOptions();

    // Decoder and format options, read when a file or stream opens.
    int Fsws_flags = 4;
    const AVInputFormat* Ffile_iformat = nullptr;
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
    std::atomic<bool> Fstep{false};
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
    int Frdftspeed = 20;
    std::string Fvfilters;
    bool Fis_full_screen = false;
    std::atomic<int64_t> Faudio_callback_time{0};
    float FAspectRatio = 0;
    std::atomic<int> FAudioVolume{128};
    TShowAudio FShowAudio = saWave;
    std::atomic<bool> FMute{false};
    int64_t FPlayTime = AV_NOPTS_VALUE;
    TRepeatType FRepeatType = rtStop;
    std::atomic<bool> FVerticalFlip{false};
    TAudioDriver FAudioDriver = adDefault;

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
    std::atomic<int64_t> FLastPTS{AV_NOPTS_VALUE};
    std::atomic<int64_t> FCurrentPTS{-1};
    std::atomic<TPlayState> FState{psStop};
    std::unique_ptr<sys::TThread> FPlayThread;
    bool FAudioStarted = false;  // the SDL audio subsystem is started for the playback

private:
    void AwaitPlaybackEnd();
    bool SwitchStreamIndex(AVMediaType type, int index);
    int PlayedStream(AVMediaType type) const;

    std::unique_ptr<TAVProbe> FAVProbe;
    mutable std::mutex FErrLock;
    std::string FLastErrMsg;
};

class TFFPlayer : public TCustomPlayer {};

}  // namespace media
