#include "app/sdl_sound.h"

#include <chrono>
#include <vector>

#include "media/libs/ffmpeg_api.h"
#include "media/libs/ffmpeg_loader.h"
#include "platform/sys/sound.h"

namespace app {

namespace lib = media::lib;

namespace {

// How often the worker looks at the device's queue while nothing wakes it.
constexpr auto kQueuePoll = std::chrono::milliseconds(20);

}  // namespace

TSdlSound::~TSdlSound() {
    Shutdown();
}

void TSdlSound::Play(const std::string& fileName) {
    // Binding belongs to the main thread; a library the player bound already is left as it is.
    if (!media::AVLibLoader().Load(media::lbSDL)) {
        std::lock_guard<std::mutex> guard(FLock);
        ++FCounts.Silent;
        return;
    }
    std::lock_guard<std::mutex> guard(FLock);
    FPending = fileName;
    FHasPending = true;
    FCutting = true;
    FChanged.notify_all();
    if (FWorkerRunning) return;
    // A worker that has left its loop holds no lock any more, so joining it here is short.
    if (FWorker) FWorker->WaitFor();
    FWorkerRunning = true;
    FWorker = sys::StartThread([this] { Run(); });
}

void TSdlSound::Shutdown() {
    {
        std::lock_guard<std::mutex> guard(FLock);
        FHasPending = false;
        FCutting = true;
        FChanged.notify_all();
    }
    JoinWorker();
}

void TSdlSound::WaitIdle() {
    {
        std::unique_lock<std::mutex> lock(FLock);
        FChanged.wait(lock, [this] { return !FWorkerRunning; });
    }
    JoinWorker();
}

TSdlSound::TCounts TSdlSound::Counts() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FCounts;
}

void TSdlSound::JoinWorker() {
    std::unique_ptr<sys::TThread> worker;
    {
        std::lock_guard<std::mutex> guard(FLock);
        worker = std::move(FWorker);
    }
    worker.reset();
}

void TSdlSound::Run() {
    std::unique_lock<std::mutex> lock(FLock);
    while (FHasPending) {
        const std::string fileName = std::move(FPending);
        FHasPending = false;
        FCutting = false;
        lock.unlock();
        const TOutcome outcome = PlayOne(fileName);
        lock.lock();
        if (outcome == soPlayedOut) ++FCounts.PlayedOut;
        if (outcome == soCut) ++FCounts.Cut;
        if (outcome == soSilent) ++FCounts.Silent;
    }
    FWorkerRunning = false;
    FChanged.notify_all();
    lock.unlock();
    // SDL keeps its error text per thread.
    lib::SDL_TLSCleanup();
}

TSdlSound::TOutcome TSdlSound::PlayOne(const std::string& fileName) {
    // Counted by SDL: the preview player's own use of the audio subsystem is not disturbed.
    // Without SDL's signal handlers, which would swallow SIGINT and SIGTERM.
    lib::SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (lib::SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return soSilent;
    TOutcome outcome = soSilent;
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    // SDL_LoadWAV_RW frees the stream (last argument 1), also when it fails.
    SDL_RWops* stream = lib::SDL_RWFromFile(fileName.c_str(), "rb");
    if (stream != nullptr &&
        lib::SDL_LoadWAV_RW(stream, 1, &format, &samples, &length) != nullptr) {
        // The file's own format: SDL converts to what the device takes. Buffers of about 25 ms
        // whatever the rate, so the silent tail and a close wait no longer than that.
        format.callback = nullptr;
        format.userdata = nullptr;
        format.samples = 16;
        while (format.samples * 2 <= format.freq / 40) format.samples *= 2;
        SDL_AudioSpec granted{};
        const SDL_AudioDeviceID device = lib::SDL_OpenAudioDevice(nullptr, 0, &format, &granted, 0);
        if (device != 0) {
            {
                std::lock_guard<std::mutex> guard(FLock);
                ++FCounts.Opened;
            }
            lib::SDL_QueueAudio(device, samples, length);
            // The queue empties when its last bytes enter the device's buffers, not when they
            // are heard: two buffers of silence behind them, so closing cuts nothing.
            const std::vector<Uint8> tail(size_t(granted.size) * 2, granted.silence);
            lib::SDL_QueueAudio(device, tail.data(), Uint32(tail.size()));
            lib::SDL_PauseAudioDevice(device, 0);
            outcome = soPlayedOut;
            std::unique_lock<std::mutex> lock(FLock);
            while (lib::SDL_GetQueuedAudioSize(device) > 0) {
                if (FChanged.wait_for(lock, kQueuePoll, [this] { return FCutting; })) {
                    outcome = soCut;
                    break;
                }
            }
            lock.unlock();
            lib::SDL_CloseAudioDevice(device);
        }
        lib::SDL_FreeWAV(samples);
    }
    lib::SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return outcome;
}

TSdlSound& SdlSound() {
    static TSdlSound sound;
    return sound;
}

void InstallSdlSound() {
    sys::SetSoundPlayer([](const std::string& fileName) { SdlSound().Play(fileName); });
}

void RemoveSdlSound() {
    sys::SetSoundPlayer({});
    SdlSound().Shutdown();
}

}  // namespace app
