#include "platform/sys/volumes.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/sys/files.h"

namespace sys {

namespace {

struct TMount {
    std::string MajorMinor, MountPoint, FileSystem, Source;
};

bool IsOneOf(const std::string& s, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* x) { return s == x; });
}

bool IsUnder(const std::string& path, const std::string& folder) {
    return path == folder || path.rfind(folder + "/", 0) == 0;
}

// mountinfo writes blanks, tabs, line breaks and backslashes as "\ooo".
std::string UnescapeOctal(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit((unsigned char)s[i + 1]) &&
            std::isdigit((unsigned char)s[i + 2]) && std::isdigit((unsigned char)s[i + 3])) {
            out += char((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// by-label names write unsafe characters as "\xHH".
std::string UnescapeHex(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' &&
            std::isxdigit((unsigned char)s[i + 2]) && std::isxdigit((unsigned char)s[i + 3])) {
            out += char(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<TMount> ParseMountInfo(const std::string& text) {
    std::vector<TMount> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
        const auto dash = std::find(f.begin(), f.end(), "-");
        if (f.size() < 5 || dash == f.end() || std::distance(dash, f.end()) < 3) continue;
        mounts.push_back({f[2], UnescapeOctal(f[4]), dash[1], UnescapeOctal(dash[2])});
    }
    return mounts;
}

std::string ReadSmallFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool SysfsRemovable(const std::string& sysRoot, const std::string& majorMinor) {
    const std::string dev = sysRoot + "/dev/block/" + majorMinor;
    std::string flag = ReadSmallFile(dev + "/removable");
    // A partition has no flag of its own; its disk, the folder above, has.
    if (flag.empty() && FileExists(dev + "/partition")) flag = ReadSmallFile(dev + "/../removable");
    return !flag.empty() && flag[0] == '1';
}

std::string BaseName(const std::string& path) {
    return ExtractFileName(path);
}

std::string LabelOf(const std::string& byLabelDir, const std::string& source) {
    std::string device = BaseName(source);
    if (char* real = realpath(source.c_str(), nullptr)) {
        device = BaseName(real);
        free(real);
    }
    std::vector<TDirEntry> entries;
    if (!ListDirectory(byLabelDir, entries)) return "";
    for (const TDirEntry& e : entries) {
        char target[PATH_MAX];
        const ssize_t n = readlink((byLabelDir + "/" + e.Name).c_str(), target, sizeof target - 1);
        if (n <= 0) continue;
        target[n] = '\0';
        if (BaseName(target) == device) return UnescapeHex(e.Name);
    }
    return "";
}

bool IsNetwork(const std::string& fs) {
    return IsOneOf(fs, {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"});
}

bool UnderMediaFolders(const std::string& mountPoint) {
    return IsUnder(mountPoint, "/media") || IsUnder(mountPoint, "/run/media");
}

bool Offered(const TMount& m) {
    if (IsNetwork(m.FileSystem)) return true;
    if (m.FileSystem == "tmpfs")
        return UnderMediaFolders(m.MountPoint) || IsUnder(m.MountPoint, "/mnt");
    if (m.Source.rfind("/dev/", 0) != 0) return false;
    if (IsOneOf(m.FileSystem, {"squashfs", "overlay", "proc", "sysfs", "cgroup", "cgroup2",
                               "devtmpfs", "devpts", "autofs", "ramfs"}))
        return false;
    return !IsUnder(m.MountPoint, "/boot");
}

}  // namespace

std::vector<TVolume> ReadVolumes(const TVolumeSources& sources) {
    const std::string text =
        sources.MountInfo.empty() ? ReadSmallFile("/proc/self/mountinfo") : sources.MountInfo;
    const auto isDirectory = sources.IsDirectory ? sources.IsDirectory : [](const std::string& p) {
        return DirectoryExists(p);
    };

    // The last mount on a mount point hides the earlier ones.
    std::map<std::string, TMount> top;
    for (TMount& m : ParseMountInfo(text)) top[m.MountPoint] = std::move(m);

    std::vector<TVolume> volumes;
    for (const auto& [mountPoint, m] : top) {
        const bool root = mountPoint == "/";
        if (!root && !Offered(m)) continue;
        TVolume v;
        v.MountPoint = mountPoint;
        v.Source = m.Source;
        v.FileSystem = m.FileSystem;
        v.CaseInsensitive = IsOneOf(m.FileSystem, {"vfat", "exfat", "ntfs", "ntfs3", "iso9660"});
        if (IsNetwork(m.FileSystem)) {
            v.Kind = TVolumeKind::Network;
        } else {
            if (!root && !isDirectory(mountPoint)) continue;
            if (m.FileSystem == "iso9660" || m.FileSystem == "udf" ||
                m.Source.rfind("/dev/sr", 0) == 0)
                v.Kind = TVolumeKind::CD;
            else if (m.FileSystem == "tmpfs")
                v.Kind = TVolumeKind::RAM;
            else if (UnderMediaFolders(mountPoint) ||
                     (m.Source.rfind("/dev/", 0) == 0 &&
                      SysfsRemovable(sources.SysRoot, m.MajorMinor)))
                v.Kind = TVolumeKind::Removable;
            if (m.Source.rfind("/dev/", 0) == 0) v.Label = LabelOf(sources.ByLabelDir, m.Source);
        }
        volumes.push_back(std::move(v));
    }
    if (top.find("/") == top.end()) {
        TVolume v;
        v.MountPoint = "/";
        volumes.push_back(v);
    }
    // "/" sorts first of all mount points anyway; say so rather than rely on it.
    std::stable_sort(volumes.begin(), volumes.end(), [](const TVolume& a, const TVolume& b) {
        if ((a.MountPoint == "/") != (b.MountPoint == "/")) return a.MountPoint == "/";
        return a.MountPoint < b.MountPoint;
    });
    return volumes;
}

const TVolume* VolumeOfPath(const std::vector<TVolume>& volumes, const std::string& path) {
    const TVolume* best = nullptr;
    for (const TVolume& v : volumes)
        if ((v.MountPoint == "/" || IsUnder(path, v.MountPoint)) &&
            (!best || v.MountPoint.size() > best->MountPoint.size()))
            best = &v;
    return best;
}

}  // namespace sys
