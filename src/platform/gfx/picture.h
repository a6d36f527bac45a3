// TPicture: one picture of any class. Files are read by their extension (.bmp, .png, .jpg,
// .jpeg, .jpe, .jfif, .gif, .ico), streams by the picture's signature; an unknown kind or a
// damaged file raises EInvalidGraphic and leaves the picture as it was. One thread at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/gfx/icons.h"

namespace rtl {
class TStream;
}

namespace gfx {

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // Null while the picture is empty.
    TGraphic* Graphic() const { return FGraphic.get(); }
    // A copy of `graphic` (of its own class); null empties the picture.
    void SetGraphic(const TGraphic* graphic);
    // The picture as a bitmap: another kind is turned into one, an empty picture gets an empty
    // bitmap.
    TBitmap& Bitmap();
    // The picture as an icon, made the same way.
    TIcon& Icon();

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // Raises EInvalidGraphic "Unknown picture file extension (.<ext>)" for other extensions.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    // Raises EInvalidGraphic "Unknown picture format" for a stream no class recognises.
    void LoadFromStream(rtl::TStream& stream);
    void SaveToStream(rtl::TStream& stream) const;
    void Assign(const TPicture& source) { SetGraphic(source.Graphic()); }

    std::function<void()> OnChange;

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    void Changed() {
        if (OnChange) OnChange();
    }

    std::unique_ptr<TGraphic> FGraphic;
};

// The picture class for a file extension (with or without the dot, any case); null when none.
std::unique_ptr<TGraphic> GraphicForExtension(const std::string& extension);
// The picture class whose signature starts `data`; null when none.
std::unique_ptr<TGraphic> GraphicForSignature(std::span<const std::uint8_t> data);

}  // namespace gfx
