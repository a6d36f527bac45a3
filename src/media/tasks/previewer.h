// The live preview window of one conversion job: a plain, unskinned form that floats above the
// others with the picture's time in its caption, made at the first picture and kept at that
// picture's size; a press anywhere on the picture drags it like its caption. It opens at the
// centre of the screen, or where it covers no other preview window and no area kept clear.
//
// Owns the form (no owner of its own, freed with the previewer) and its message filter. Every
// window call runs on the main thread. PaintFrame copies the picture on the calling thread; off
// the main thread it leaves the copy for the main thread to paint and returns without waiting,
// a newer picture replacing one the main thread has not painted yet (so the last one is always
// shown). On the main thread it paints at once. The previewer takes no engine lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "media/engine/ffmpeg_engine.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/surface.h"
#include "platform/vcl/forms.h"
#include "platform/win/win.h"

namespace media {

class TWindowPreviewer : public TPreviewer {
public:
    TWindowPreviewer();
    // Frees the window on the main thread, after the last picture handed over was painted (so it
    // is on screen for a pass of the main loop); freed on the main thread, a paint still
    // waiting is dropped.
    ~TWindowPreviewer() override;
    TWindowPreviewer(const TWindowPreviewer&) = delete;
    TWindowPreviewer& operator=(const TWindowPreviewer&) = delete;

    // Any thread; false once the user closed the window (the picture is then not drawn). The
    // bitmap is not read after the call.
    bool PaintFrame(const gfx::TBitmap& bitmap, int frameNumber, int64_t pts) override;

    // Main thread: the window, or null before the first picture.
    vcl::TForm* Form() const { return FForm; }

    // Main thread: a screen rectangle that new preview windows leave free, as they leave each
    // other free (the main window's tool bar); an empty function or rectangle: none.
    static void SetKeepClear(std::function<gfx::TRect()> area);

private:
    // What the painting thread leaves for the main thread. Shared with the queued paint, which
    // may run after the previewer is gone.
    struct TMailbox {
        std::mutex Lock;
        // Under Lock: the newest picture not painted yet, its number and time.
        std::shared_ptr<gfx::TSurface> Picture;
        int FrameNumber = 0;
        int64_t PTS = 0;
        // Under Lock: a surface nobody holds, for the next picture of its size.
        std::shared_ptr<gfx::TSurface> Spare;
        // Under Lock: a paint is queued to the main thread or running there; Painted is
        // signalled when it has finished.
        bool Queued = false;
        std::condition_variable Painted;
        // Main thread: null once the previewer is being freed.
        TWindowPreviewer* Owner = nullptr;
    };

    // A 32-bit surface of the given size, reused when one is spare.
    std::shared_ptr<gfx::TSurface> TakeSurface(int width, int height);
    void Recycle(std::shared_ptr<gfx::TSurface> surface);
    // Main thread: a spare surface for the conversion thread's next picture.
    void MakeSpare(int width, int height);
    static void QueuePaint(const std::shared_ptr<TMailbox>& mailbox);
    void PaintPending();
    void PaintPreview(std::shared_ptr<gfx::TSurface> picture, int frameNumber, int64_t pts);
    void CreatePreviewForm(int clientWidth, int clientHeight);
    void PlacePreviewForm();
    void FreePreviewForm();
    bool PreviewAppMessage(win::MSG& message);

    win::TFilterToken FFilter = 0;
    win::HWND FFormHandle{};
    vcl::TForm* FForm = nullptr;
    std::atomic<bool> FClosed{false};  // set on the main thread, read by the painter
    std::shared_ptr<TMailbox> FMailbox = std::make_shared<TMailbox>();
    // Main thread: the picture the window's video host shows.
    std::shared_ptr<gfx::TSurface> FShown;
    // Main thread: the number and time of the picture shown.
    int FFrameNumber = 0;
    int64_t FPTS = 0;
};

}  // namespace media
