#include "media/tasks/previewer.h"

#include <cstring>

#include "media/libs/ff_utils.h"
#include "platform/gfx/surface.h"
#include "platform/sys/main_thread.h"
#include "platform/win/video_host.h"

namespace media {

namespace {

// The window's video host shows 32-bit pictures; the converted frame may be 24-bit.
std::shared_ptr<gfx::TSurface> SurfaceOf(const gfx::TBitmap& bitmap) {
    auto surface = std::make_shared<gfx::TSurface>(bitmap.Width(), bitmap.Height(), 32);
    const int bytesPerPixel = BitsPerPixel(bitmap) / 8;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* source = bitmap.ScanLine(y);
        uint8_t* target = surface->ScanLine(y);
        if (bytesPerPixel == 4) {
            std::memcpy(target, source, size_t(bitmap.Width()) * 4);
            continue;
        }
        for (int x = 0; x < bitmap.Width(); ++x) {
            std::memcpy(target + x * 4, source + x * bytesPerPixel, 3);
            target[x * 4 + 3] = 0xFF;
        }
    }
    return surface;
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
    if (std::shared_ptr<win::TVideoHost> host = win::GetVideoHost(FFormHandle))
        host->Present(SurfaceOf(*FBitmap));
    // Painted now: a run on the main thread has no loop to paint it later, and the host's own
    // repaint request may still wait for one.
    FForm->Invalidate();
    FForm->Update();
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
}

}  // namespace media
