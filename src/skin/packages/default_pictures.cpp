#include "skin/packages/default_pictures.h"

#include <mutex>

#include "platform/gfx/resources.h"

namespace skin {

extern const TDefaultPicture kGeneratedDefaultPictures[];
extern const std::size_t kGeneratedDefaultPictureCount;

std::span<const TDefaultPicture> DefaultPictures() {
    return {kGeneratedDefaultPictures, kGeneratedDefaultPictureCount};
}

void RegisterDefaultPictures() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const TDefaultPicture& p : DefaultPictures()) gfx::RegisterResource(p.Name, p.Bmp);
    });
}

}  // namespace skin
