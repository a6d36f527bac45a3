#include "skin/dialogs/path_routines.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"

namespace skin {

namespace {

constexpr char kEllipsisDir[] = ".../";

const sys::TVolume* VolumeAt(const std::string& mountPoint,
                             const std::vector<sys::TVolume>& volumes) {
    const auto it = std::find_if(volumes.begin(), volumes.end(),
                                 [&](const sys::TVolume& v) { return v.MountPoint == mountPoint; });
    return it == volumes.end() ? nullptr : &*it;
}

// Puts the saved folder back when it still exists, also while an exception passes.
class TCurrentDirGuard {
public:
    TCurrentDirGuard() : FSaved(sys::GetCurrentDir()) {}
    ~TCurrentDirGuard() {
        if (IsDirectoryPath(FSaved)) sys::SetCurrentDir(FSaved);
    }
    const std::string& Saved() const { return FSaved; }

private:
    std::string FSaved;
};

bool HasWildcard(const std::string& s) {
    return s.find_first_of("*?") != std::string::npos;
}

}  // namespace

bool IsDirectoryPath(const std::string& name) {
    return sys::DirectoryExists(name);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (!dir.empty() && dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

void DropFirstDirectory(std::string& path) {
    if (path == "/") {
        path.clear();
        return;
    }
    const bool rooted = !path.empty() && path[0] == '/';
    if (rooted) path.erase(0, 1);
    // Only our own ".../" is skipped; a folder whose name starts with "." is a folder.
    if (path.rfind(kEllipsisDir, 0) == 0) path.erase(0, 4);
    const std::size_t slash = path.find('/');
    path = slash == std::string::npos ? "" : kEllipsisDir + path.substr(slash + 1);
    if (rooted) path.insert(0, "/");
}

std::string ShortenPathToWidth(const std::string& fileName, gfx::TCanvas& canvas, int maxLen) {
    std::string result = fileName;
    std::string dir = sys::ExtractFilePath(fileName);
    const std::string name = sys::ExtractFileName(fileName);
    while (!dir.empty() && canvas.TextWidth(result) > maxLen) {
        if (dir == "/.../")
            dir = kEllipsisDir;
        else
            DropFirstDirectory(dir);
        result = dir + name;
    }
    return result;
}

std::string GetVolumeLabelText(const std::string& mountPoint,
                               const std::vector<sys::TVolume>& volumes) {
    const sys::TVolume* v = VolumeAt(mountPoint, volumes);
    return "[" + (v ? v->Label : std::string()) + "]";
}

std::string GetNetworkVolumeText(const std::string& mountPoint,
                                 const std::vector<sys::TVolume>& volumes) {
    const sys::TVolume* v = VolumeAt(mountPoint, volumes);
    if (v && v->Kind == sys::TVolumeKind::Network && !v->Source.empty()) return v->Source;
    return GetVolumeLabelText(mountPoint, volumes);
}

void ChangeCurrentDir(const std::string& path) {
    int error = 0;
    if (!sys::SetCurrentDir(path, &error))
        throw rtl::EInOutError(error, rtl::SysErrorMessage(error));
}

void SplitEditPath(const std::string& editText, std::string& dirPart, std::string& filePart) {
    TCurrentDirGuard guard;
    dirPart = editText;
    if (dirPart.size() >= 2 && dirPart.front() == '[' && dirPart.back() == ']')
        dirPart = dirPart.substr(1, dirPart.size() - 2);
    filePart = sys::ExtractFileName(dirPart);
    if (dirPart.size() == filePart.size() + 1)
        dirPart = "/";
    else if (dirPart.size() > filePart.size())
        dirPart.resize(dirPart.size() - filePart.size() - 1);
    else
        dirPart = sys::GetCurrentDir();
    if (dirPart.empty()) dirPart = "/";
    ChangeCurrentDir(dirPart);
    if (!filePart.empty() && !HasWildcard(filePart) && !sys::FileExists(filePart)) {
        ChangeCurrentDir(filePart);
        dirPart = dirPart == "/" ? "/" + filePart : dirPart + "/" + filePart;
        filePart.clear();
    }
}

int CountPathSeparators(const std::string& path) {
    return int(std::count(path.begin(), path.end(), '/'));
}

}  // namespace skin
