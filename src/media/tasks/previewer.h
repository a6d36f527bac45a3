// The live preview window of one conversion job: a plain, unskinned form that floats above the
// others with the picture's time in its caption, made at the first picture and kept at that
// picture's size; a press anywhere on the picture drags it like its caption.
//
// Owns the form (no owner of its own, freed with the previewer) and its message filter. The
// conversion thread calls PaintFrame and waits while the main thread copies and paints the
// picture; every window call runs on the main thread through CallInMainThread, so the
// previewer takes no engine lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "media/engine/ffmpeg_engine.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/surface.h"
#include "platform/vcl/forms.h"
#include "platform/win/win.h"

namespace media {

class TWindowPreviewer : public TPreviewer {
public:
    TWindowPreviewer() = default;
    // Frees the window on the main thread.
    ~TWindowPreviewer() override;
    TWindowPreviewer(const TWindowPreviewer&) = delete;
    TWindowPreviewer& operator=(const TWindowPreviewer&) = delete;

    // Any thread; false once the user closed the window (the picture is then not drawn).
    bool PaintFrame(const gfx::TBitmap& bitmap, int frameNumber, int64_t pts) override;

    // Main thread: the window, or null before the first picture.
    vcl::TForm* Form() const { return FForm; }

private:
    void PaintPreview();
    // Main thread: a surface of the size to copy the next picture into.
    std::shared_ptr<gfx::TSurface> NextSurface(int width, int height);
    void CreatePreviewForm();
    void FreePreviewForm();
    bool PreviewAppMessage(win::MSG& message);

    win::TFilterToken FFilter = 0;
    win::HWND FFormHandle{};
    vcl::TForm* FForm = nullptr;
    std::atomic<bool> FClosed{false};  // set on the main thread, read by the painter
    const gfx::TBitmap* FBitmap = nullptr;
    // Two in turn: the window's video host keeps the one shown, the other is written.
    std::array<std::shared_ptr<gfx::TSurface>, 2> FSurfaces;
    int FFrameNumber = 0;
    int64_t FPTS = 0;
};

}  // namespace media
