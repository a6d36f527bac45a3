// Icons: pictures with an alpha channel at one or more sizes (HICON), the system icons
// (application, stop, question, warning, information) drawn by our own code, DrawIcon and
// DrawIconEx, and TIcon, the picture class over them with ICO files (32-bit, 24-bit and PNG
// entries). An HICON is an immutable value, shared freely between threads.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/graphics.h"

namespace gfx {

// The images of an icon, the one at its own size first; straight (not premultiplied) alpha.
struct TIconData {
    std::vector<TImage> Images;
    TPoint HotSpot;
};
using HICON = std::shared_ptr<const TIconData>;

enum : int {
    IDI_APPLICATION = 32512,
    IDI_HAND = 32513,
    IDI_QUESTION = 32514,
    IDI_EXCLAMATION = 32515,
    IDI_ASTERISK = 32516,
    IDI_ERROR = IDI_HAND,
    IDI_WARNING = IDI_EXCLAMATION,
    IDI_INFORMATION = IDI_ASTERISK,
};

// The large and small sizes (SM_CXICON and SM_CXSMICON of the classic metrics).
constexpr int kIconSize = 32;
constexpr int kSmallIconSize = 16;

// A system icon (instance 0 and an IDI_* number) at 32 and 16 pixels; null for anything else.
HICON LoadIcon(std::uintptr_t instance, int id);
// Null when there is no image or one of them is empty.
HICON CreateIconFromImages(std::vector<TImage> images, TPoint hotSpot = {});
// A copy whose own size is cx x cy (0 keeps that side), made from the image that fits best.
HICON CopyIcon(const HICON& icon, int cx = 0, int cy = 0);
// The image of `icon` that fits cx x cy best, scaled to that size.
TImage IconImage(const HICON& icon, int cx, int cy);

enum : unsigned { DI_MASK = 1, DI_IMAGE = 2, DI_NORMAL = 3, DI_DEFAULTSIZE = 8 };

bool DrawIcon(HDC dc, int x, int y, const HICON& icon);
// cx and cy 0 draw the icon at its own size, or at the large size with DI_DEFAULTSIZE. A
// background brush first fills the rectangle. DI_MASK alone draws the shape in black.
bool DrawIconEx(HDC dc, int x, int y, const HICON& icon, int cx, int cy, unsigned step,
                const TLogBrush* background, unsigned flags);

class TIcon : public TGraphic {
public:
    TIcon() = default;

    HICON Handle() const { return FHandle; }
    void SetHandle(HICON icon);
    bool HandleAllocated() const { return FHandle != nullptr; }

    // The size of the icon's own image.
    int Width() const override;
    int Height() const override;
    // Keeps the image that fits best, scaled to this size.
    void SetSize(int width, int height);

    void Draw(TCanvas& canvas, const TRect& rect) const override;
    // Takes another icon or any picture (as a one-image icon of its size).
    void Assign(const TGraphic& source) override;
    const char* ClassName() const override { return "TIcon"; }
    void LoadFromBuffer(std::span<const std::uint8_t> data) override;
    TBytes SaveToBuffer() const override;

private:
    HICON FHandle;
};

// ICO files, for TIcon and for tests.
bool ReadIco(std::span<const std::uint8_t> data, std::vector<TImage>& images, std::string& error);
bool WriteIco(const std::vector<TImage>& images, TBytes& out, std::string& error);

}  // namespace gfx
