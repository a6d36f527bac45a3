#include "media/tasks/previewer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "media/libs/ff_logger.h"
#include "media/libs/ff_utils.h"
#include "platform/gfx/surface.h"
#include "platform/sys/main_thread.h"
#include "platform/win/video_host.h"

namespace media {

namespace {

// Main thread: the preview windows on the screen, oldest first, and what they keep clear of.
std::vector<win::HWND>& OpenPreviews() {
    static std::vector<win::HWND> open;
    return open;
}

std::function<gfx::TRect()>& KeepClear() {
    static std::function<gfx::TRect()> area;
    return area;
}

// Where a window of `size` goes: the centre of the screen when nothing taken lies there; else
// the topmost, then leftmost free place inside the work area that lies against its edges or
// against something taken; else a step down and right of `newest`, back at the work area's
// top left when that step would leave it.
gfx::TPoint FreePlace(gfx::TSize size, const std::vector<gfx::TRect>& taken,
                      const gfx::TRect& screen, const gfx::TRect& work,
                      const std::optional<gfx::TRect>& newest) {
    auto free = [&](int x, int y) {
        const gfx::TRect r = gfx::Bounds(x, y, size.cx, size.cy);
        return std::none_of(taken.begin(), taken.end(), [&](const gfx::TRect& t) {
            return !gfx::IntersectRect(r, t).IsEmpty();
        });
    };
    const gfx::TPoint centre{screen.Left + (screen.Width() - size.cx) / 2,
                             screen.Top + (screen.Height() - size.cy) / 2};
    if (free(centre.X, centre.Y)) return centre;
    std::vector<int> xs{work.Left, work.Right - size.cx}, ys{work.Top, work.Bottom - size.cy};
    for (const gfx::TRect& t : taken) {
        xs.insert(xs.end(), {t.Right, t.Left - size.cx});
        ys.insert(ys.end(), {t.Bottom, t.Top - size.cy});
    }
    for (std::vector<int>* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }
    for (int y : ys) {
        if (y < work.Top || y + size.cy > work.Bottom) continue;
        for (int x : xs)
            if (x >= work.Left && x + size.cx <= work.Right && free(x, y)) return {x, y};
    }
    if (!newest) return centre;
    constexpr int kCascade = 24;
    gfx::TPoint next{newest->Left + kCascade, newest->Top + kCascade};
    if (next.X + size.cx > work.Right || next.Y + size.cy > work.Bottom)
        next = {work.Left, work.Top};
    return next;
}

// One row of 24-bit BGR as 32-bit pixels, on the conversion thread. Four pixels are three 32-bit
// words on a little-endian machine; reading each pixel's bytes one by one took twice as long.
void CopyRow24(const uint8_t* source, uint32_t* target, int width) {
    int x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 4 <= width; x += 4, source += 12) {
            uint32_t a, b, c;
            std::memcpy(&a, source, 4);
            std::memcpy(&b, source + 4, 4);
            std::memcpy(&c, source + 8, 4);
            target[x] = 0xFF000000u | (a & 0xFFFFFFu);
            target[x + 1] = 0xFF000000u | a >> 24 | (b & 0xFFFFu) << 8;
            target[x + 2] = 0xFF000000u | b >> 16 | (c & 0xFFu) << 16;
            target[x + 3] = 0xFF000000u | c >> 8;
        }
    }
    for (; x < width; ++x, source += 3)
        target[x] = 0xFF000000u | uint32_t(source[2]) << 16 | uint32_t(source[1]) << 8 | source[0];
}

// The window's video host shows 32-bit pictures; the converted frame may be 24-bit.
void CopyPicture(const gfx::TBitmap& bitmap, gfx::TSurface& surface) {
    const bool packed = BitsPerPixel(bitmap) == 32;
    for (int y = 0; y < bitmap.Height(); ++y) {
        if (packed)
            std::memcpy(surface.ScanLine(y), bitmap.ScanLine(y), size_t(bitmap.Width()) * 4);
        else
            CopyRow24(bitmap.ScanLine(y), surface.Pixels() + size_t(y) * size_t(surface.Width()),
                      bitmap.Width());
    }
}

}  // namespace

TWindowPreviewer::TWindowPreviewer() {
    FMailbox->Owner = this;
}

TWindowPreviewer::~TWindowPreviewer() {
    if (!sys::IsMainThread()) {
        // The window goes in a later hand-over than the last paint, as it did when every paint
        // was waited for.
        std::unique_lock lock(FMailbox->Lock);
        FMailbox->Painted.wait(lock, [this] { return !FMailbox->Queued; });
    }
    sys::CallInMainThread([this] {
        FMailbox->Owner = nullptr;
        FreePreviewForm();
    });
}

bool TWindowPreviewer::PaintFrame(const gfx::TBitmap& bitmap, int frameNumber, int64_t pts) {
    if (FClosed) return false;
    // Copied here: the engine writes its next picture into the same bitmap.
    std::shared_ptr<gfx::TSurface> picture = TakeSurface(bitmap.Width(), bitmap.Height());
    CopyPicture(bitmap, *picture);
    if (sys::IsMainThread()) {
        PaintPreview(std::move(picture), frameNumber, pts);
        return !FClosed;
    }
    // The conversion does not wait for the main thread's paint, which cost it most of the
    // preview's time; a picture the main thread has not got to yet is replaced by this one.
    std::shared_ptr<gfx::TSurface> replaced;
    bool queue;
    {
        std::lock_guard lock(FMailbox->Lock);
        replaced = std::exchange(FMailbox->Picture, std::move(picture));
        FMailbox->FrameNumber = frameNumber;
        FMailbox->PTS = pts;
        queue = !std::exchange(FMailbox->Queued, true);
    }
    Recycle(std::move(replaced));
    if (queue) QueuePaint(FMailbox);
    return !FClosed;
}

std::shared_ptr<gfx::TSurface> TWindowPreviewer::TakeSurface(int width, int height) {
    std::shared_ptr<gfx::TSurface> surface;
    {
        std::lock_guard lock(FMailbox->Lock);
        surface = std::move(FMailbox->Spare);
    }
    // A new 32-bit picture for every preview cost more than all the rest of it (fresh pages,
    // cleared, then filled).
    if (surface && surface->Width() == width && surface->Height() == height) return surface;
    return std::make_shared<gfx::TSurface>(width, height, 32);
}

void TWindowPreviewer::Recycle(std::shared_ptr<gfx::TSurface> surface) {
    // One the video host still keeps (tests record what is presented) is not written again.
    if (!surface || surface.use_count() != 1) return;
    std::lock_guard lock(FMailbox->Lock);
    FMailbox->Spare = std::move(surface);
}

void TWindowPreviewer::MakeSpare(int width, int height) {
    // Fresh pages cost the conversion thread more than the copy itself: they are touched here.
    {
        std::lock_guard lock(FMailbox->Lock);
        if (FMailbox->Spare) return;
    }
    Recycle(std::make_shared<gfx::TSurface>(width, height, 32));
}

void TWindowPreviewer::QueuePaint(const std::shared_ptr<TMailbox>& mailbox) {
    sys::QueueInMainThread([mailbox] {
        if (mailbox->Owner != nullptr) mailbox->Owner->PaintPending();
    });
}

void TWindowPreviewer::PaintPending() {
    std::shared_ptr<gfx::TSurface> picture;
    int frameNumber;
    int64_t pts;
    {
        std::lock_guard lock(FMailbox->Lock);
        picture = std::move(FMailbox->Picture);
        frameNumber = FMailbox->FrameNumber;
        pts = FMailbox->PTS;
    }
    if (picture) {
        try {
            PaintPreview(std::move(picture), frameNumber, pts);
        } catch (const std::exception& e) {
            // Nobody waits for this paint to hand the error to: the preview of the job ends,
            // the conversion goes on.
            GetFFLogger().Log(this, llError, std::string("Preview window: ") + e.what());
            FClosed = true;
        }
    }
    bool again;
    {
        std::lock_guard lock(FMailbox->Lock);
        // A picture that came during the paint found one queued and queued none.
        again = FMailbox->Picture != nullptr;
        FMailbox->Queued = again;
    }
    if (again)
        QueuePaint(FMailbox);
    else
        FMailbox->Painted.notify_all();
}

void TWindowPreviewer::PaintPreview(std::shared_ptr<gfx::TSurface> picture, int frameNumber,
                                    int64_t pts) {
    if (FClosed) return;
    FFrameNumber = frameNumber;
    FPTS = pts;
    const int width = picture->Width(), height = picture->Height();
    if (FForm == nullptr) {
        // Made before the window, which takes a while: the next picture may come meanwhile.
        MakeSpare(width, height);
        CreatePreviewForm(width, height);
        FForm->Show();
    }
    FForm->SetCaption(FormatTimestamp(FPTS));
    if (std::shared_ptr<win::TVideoHost> host = win::GetVideoHost(FFormHandle)) {
        host->Present(picture);
        Recycle(std::exchange(FShown, std::move(picture)));
        MakeSpare(width, height);
    }
    // Painted now: a run on the main thread has no loop to paint it later, and the host's own
    // repaint request may still wait for one.
    FForm->Invalidate();
    FForm->Update();
}

void TWindowPreviewer::CreatePreviewForm(int clientWidth, int clientHeight) {
    FForm = new vcl::TForm(nullptr);
    FForm->SetFormStyle(vcl::fsStayOnTop);
    FForm->SetBorderStyle(vcl::bsToolWindow);
    FForm->SetBorderIcons(vcl::TBorderIcons{vcl::biSystemMenu});
    FForm->OnCloseQuery = [this](vcl::TObject*, bool& canClose) {
        FClosed = true;
        canClose = true;
    };
    FForm->SetClientWidth(clientWidth);
    FForm->SetClientHeight(clientHeight);
    FFormHandle = FForm->Handle();
    PlacePreviewForm();
    OpenPreviews().push_back(FFormHandle);
    FFilter =
        win::AddMessageFilter([this](win::MSG& message) { return PreviewAppMessage(message); });
}

void TWindowPreviewer::SetKeepClear(std::function<gfx::TRect()> area) {
    KeepClear() = std::move(area);
}

// Several jobs of a run preview at once: each new window goes where it covers neither an
// earlier one nor the area the program keeps clear (its tool bar, whose buttons stop the run).
void TWindowPreviewer::PlacePreviewForm() {
    std::vector<gfx::TRect> taken;
    std::optional<gfx::TRect> newest;
    for (win::HWND h : OpenPreviews()) {
        gfx::TRect r;
        if (win::IsWindowVisible(h) && win::GetWindowRect(h, r)) {
            taken.push_back(r);
            newest = r;
        }
    }
    if (KeepClear())
        if (const gfx::TRect clear = KeepClear()(); !clear.IsEmpty()) taken.push_back(clear);
    win::MONITORINFO info;
    if (!win::GetMonitorInfo(
            win::MonitorFromRect(FForm->BoundsRect(), win::MONITOR_DEFAULTTOPRIMARY), info))
        return;
    const gfx::TSize size{FForm->Width(), FForm->Height()};
    const gfx::TPoint at = FreePlace(size, taken, info.rcMonitor, info.rcWork, newest);
    FForm->SetBounds(at.X, at.Y, size.cx, size.cy);
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
    std::erase(OpenPreviews(), FFormHandle);
    FForm->Free();
    FForm = nullptr;
    FFormHandle = {};
    FShown.reset();
}

}  // namespace media
