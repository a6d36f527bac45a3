// The pictures skinned controls draw with when no skin gives them theirs (the slider's own
// thumbs and rulers, the drive and folder pictures of the file-system controls), generated at
// build time by tools/skingen like the skins and compiled in as BMP files.
// RegisterDefaultPictures makes them resources, so controls load them by name
// (gfx::TBitmap::LoadFromResourceName). Read-only data; registration is safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace skin {

struct TDefaultPicture {
    std::string_view Name;
    std::span<const std::uint8_t> Bmp;
};

std::span<const TDefaultPicture> DefaultPictures();

// Registers every default picture as a resource of its name; later calls do nothing.
void RegisterDefaultPictures();

}  // namespace skin
