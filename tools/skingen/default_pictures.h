// The pictures that skinned controls fall back on when a skin gives them none, drawn from code
// as the skins are: the slider's own thumbs and rulers ("BS_HTB", "BS_HRL", "BS_VTB", "BS_VRL"),
// and the drive and folder pictures of the file-system controls (dialog_pictures.h).
// Each is a 24-bit BMP on magenta whose bottom-left pixel is magenta, so it draws transparent.
// Main thread (it draws on gfx bitmaps).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace skingen {

// The resource names, in the order the generated source lists them.
std::span<const std::string_view> DefaultPictureNames();

// The BMP file of one of them; empty for another name.
std::vector<std::uint8_t> BuildDefaultPicture(std::string_view name);

}  // namespace skingen
