#include "media/tasks/previewer.h"

#include <cstring>

#include "media/libs/ff_utils.h"
#include "platform/gfx/surface.h"
#include "platform/sys/main_thread.h"
#include "platform/win/video_host.h"

namespace media {

namespace {

// The window's video host shows 32-bit pictures; the converted frame may be 24-bit.
void CopyPicture(const gfx::TBitmap& bitmap, gfx::TSurface& surface) {
    const int bytesPerPixel = BitsPerPixel(bitmap) / 8;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* source = bitmap.ScanLine(y);
        if (bytesPerPixel == 4) {
            std::memcpy(surface.ScanLine(y), source, size_t(bitmap.Width()) * 4);
            continue;
        }
        uint32_t* target = surface.Pixels() + size_t(y) * size_t(surface.Width());
        for (int x = 0; x < bitmap.Width(); ++x, source += 3)
            target[x] = 0xFF000000u | uint32_t(source[2]) << 16 | uint32_t(source[1]) << 8 |
                        source[0];
    }
}

}  // namespace

TWindowPreviewer::~TWindowPreviewer() {
    sys::CallInMainThread([this] { FreePreviewForm(); });
}

bool TWindowPreviewer::PaintFrame(const gfx::TBitmap& bitmap, int frameNumber, int64_t pts) {
    if (!FClosed) {
        FBitmap = &bitmap;
        FFrameNumber = frameNumber;
        FPTS = pts;
        sys::CallInMainThread([this] { PaintPreview(); });
        FBitmap = nullptr;
    }
    return !FClosed;
}

void TWindowPreviewer::PaintPreview() {
    if (FClosed) return;
    if (FForm == nullptr) {
        CreatePreviewForm();
        FForm->Show();
    }
    FForm->SetCaption(FormatTimestamp(FPTS));
    if (std::shared_ptr<win::TVideoHost> host = win::GetVideoHost(FFormHandle)) {
        std::shared_ptr<gfx::TSurface> surface = NextSurface(FBitmap->Width(), FBitmap->Height());
        CopyPicture(*FBitmap, *surface);
        host->Present(std::move(surface));
    }
    // Painted now: a run on the main thread has no loop to paint it later, and the host's own
    // repaint request may still wait for one.
    FForm->Invalidate();
    FForm->Update();
}

std::shared_ptr<gfx::TSurface> TWindowPreviewer::NextSurface(int width, int height) {
    // A surface nobody else holds any more is written again: a new 32-bit picture for every
    // preview cost more than all the rest of it (fresh pages, cleared, then filled).
    for (std::shared_ptr<gfx::TSurface>& surface : FSurfaces)
        if (surface && surface.use_count() == 1 && surface->Width() == width &&
            surface->Height() == height)
            return surface;
    for (std::shared_ptr<gfx::TSurface>& surface : FSurfaces)
        if (!surface || surface.use_count() == 1)
            return surface = std::make_shared<gfx::TSurface>(width, height, 32);
    return std::make_shared<gfx::TSurface>(width, height, 32);
}

void TWindowPreviewer::CreatePreviewForm() {
    FForm = new vcl::TForm(nullptr);
    FForm->SetFormStyle(vcl::fsStayOnTop);
    FForm->SetBorderStyle(vcl::bsToolWindow);
    FForm->SetBorderIcons(vcl::TBorderIcons{vcl::biSystemMenu});
    FForm->SetPosition(vcl::poScreenCenter);
    FForm->OnCloseQuery = [this](vcl::TObject*, bool& canClose) {
        FClosed = true;
        canClose = true;
    };
    FForm->SetClientWidth(FBitmap->Width());
    FForm->SetClientHeight(FBitmap->Height());
    FFormHandle = FForm->Handle();
    FFilter =
        win::AddMessageFilter([this](win::MSG& message) { return PreviewAppMessage(message); });
}

bool TWindowPreviewer::PreviewAppMessage(win::MSG& message) {
    if (message.message != win::WM_LBUTTONDOWN || message.hwnd != FFormHandle) return false;
    win::SendMessage(FFormHandle, win::WM_NCLBUTTONDOWN, win::HTCAPTION,
                     win::MAKELPARAM(message.pt.X, message.pt.Y));
    return true;
}

void TWindowPreviewer::FreePreviewForm() {
    if (FForm == nullptr) return;
    win::RemoveMessageFilter(FFilter);
    FFilter = 0;
    FForm->Free();
    FForm = nullptr;
    FFormHandle = {};
    for (std::shared_ptr<gfx::TSurface>& surface : FSurfaces) surface.reset();
}

}  // namespace media
