// The pictures of the file-system controls and dialogs, drawn here as pixel grids: the drive
// kinds ("BS_FLOPPY" for removable media, "BS_HARD", "BS_NETWORK", "BS_CDROM", 16 x 16;
// "BS_RAM", 16 x 11), the folder states ("BS_OPENFOLDER", "BS_CLOSEDFOLDER",
// "BS_CURRENTFOLDER", 16 x 15) and the dialogs' tool-button glyphs ("BS_NEWFOLDER", "BS_BACK",
// "BS_UP", "BS_LVSTYLE", "BS_STRETCH", 16 x 16). Each is a 24-bit BMP on magenta whose
// bottom-left pixel is magenta, so it draws transparent. Main thread (it draws on gfx bitmaps).
#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "platform/gfx/graphics.h"

namespace skingen {

std::span<const std::string_view> DialogPictureNames();

// The picture of one of them; null for another name.
std::unique_ptr<gfx::TBitmap> DrawDialogPicture(std::string_view name);

}  // namespace skingen
