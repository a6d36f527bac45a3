// Path routines of the file-system controls and dialogs, on "/" paths: there is no drive part,
// so what a drive letter did elsewhere a mount point does here. SplitEditPath changes the
// process's current folder while it runs and puts it back. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/sys/volumes.h"

namespace gfx {
class TCanvas;
}

namespace skin {

// True when `name` exists and is a folder.
bool IsDirectoryPath(const std::string& name);
// `dir` and `name` joined by one "/".
std::string JoinPath(const std::string& dir, const std::string& name);
// Replaces the first folder by ".../": "/a/b/" -> "/.../b/" -> "/.../" -> "/"; "/" -> "".
void DropFirstDirectory(std::string& path);
// Drops leading folders ("/.../c/file.ext", ".../file.ext") until the text fits `maxLen` pixels
// of the canvas's font; the file name itself is never cut.
std::string ShortenPathToWidth(const std::string& fileName, gfx::TCanvas& canvas, int maxLen);
// "[label]" of the volume mounted at `mountPoint`, in the label's own case; "[]" when it has
// none or nothing is mounted there.
std::string GetVolumeLabelText(const std::string& mountPoint,
                               const std::vector<sys::TVolume>& volumes);
// The remote name (mount source) of a network volume, else its GetVolumeLabelText.
std::string GetNetworkVolumeText(const std::string& mountPoint,
                                 const std::vector<sys::TVolume>& volumes);
// Splits an edited path into its folder and its file name or mask. "[name]" (a folder as the
// file list shows it) is taken relative to the current folder; a last part that is neither a
// file nor a mask must be a folder and moves into dirPart. Raises rtl::EInOutError with the
// system's text when a folder cannot be entered; the current folder is restored either way.
void SplitEditPath(const std::string& editText, std::string& dirPart, std::string& filePart);
// The number of "/" in `path`: the depth of a folder path.
int CountPathSeparators(const std::string& path);

// Makes `path` current or raises rtl::EInOutError with the system's text.
void ChangeCurrentDir(const std::string& path);

}  // namespace skin
