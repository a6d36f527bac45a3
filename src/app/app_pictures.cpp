#include "app/app_pictures.h"

#include "platform/gfx/codecs.h"

namespace app {

void LoadAppPicture(std::string_view name, gfx::TPngImage& image) {
    for (const TAppPicture& p : AppPictures()) {
        if (name != p.Name) continue;
        image.CreateBlank(gfx::pctRgbAlpha, p.Width, p.Height);
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < p.Width; ++x) {
                const std::uint32_t argb = p.Argb[std::size_t(y) * p.Width + x];
                // TColor is 0x00BBGGRR.
                image.SetPixel(
                    x, y,
                    gfx::TColor((argb & 0xFF) << 16 | (argb & 0xFF00) | ((argb >> 16) & 0xFF)));
                image.SetAlpha(x, y, std::uint8_t(argb >> 24));
            }
        return;
    }
}

}  // namespace app
