// Snapshot files: the picture types of the snapshot menu, the first free name in the snapshot
// folder, and a picture written as one of the types. Main thread only.
#pragma once

#include <string>

#include "platform/gfx/graphics.h"

namespace app {

// ".bmp", ".jpg", ".gif" or ".png" for the types "BMP", "JPG", "GIF" and "PNG".
std::string SnapshotExtension(const std::string& type);

// folder/<base>_N.<ext>, where <base> is `previewFile` without folder and extension and N the
// first number from 1 without a file of that name (a deleted number is used again).
std::string NextSnapshotName(const std::string& folder, const std::string& previewFile,
                             const std::string& type);

// Writes `picture` as a 24-bit bitmap, JPEG of quality 90, GIF of at most 256 colours or PNG of
// level 7 with the Sub filter on every row, not interlaced. Raises the picture classes' file
// errors; a failed save leaves no file.
void SavePictureAs(const gfx::TBitmap& picture, const std::string& type,
                   const std::string& fileName);

}  // namespace app
