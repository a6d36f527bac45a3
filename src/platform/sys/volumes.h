// The mounted volumes the drive lists offer: "/" always, block-device file systems (not /boot and
// below), network shares, and RAM disks mounted under /media, /run/media or /mnt, read from
// /proc/self/mountinfo. Pseudo file systems (proc, sysfs, cgroup, overlay, squashfs and the
// like) never appear. Network mounts are never touched while listing, so a dead server cannot
// block the caller. Each call reads afresh; safe from any thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sys {

enum class TVolumeKind { Fixed, Removable, CD, Network, RAM };

struct TVolume {
    std::string MountPoint;
    std::string Source;  // the mount source: a device, "server:/export", "//server/share"
    std::string FileSystem;
    std::string Label;  // from /dev/disk/by-label, in its own case; "" when there is none
    TVolumeKind Kind = TVolumeKind::Fixed;
    bool CaseInsensitive = false;  // vfat, exfat, ntfs and iso9660 fold letter case
};

// Where the reader looks; tests give it fixture text and folders.
struct TVolumeSources {
    std::string MountInfo;         // the text itself; empty reads /proc/self/mountinfo
    std::string SysRoot = "/sys";  // for <root>/dev/block/MAJ:MIN/removable
    std::string ByLabelDir = "/dev/disk/by-label";
    // Whether a local mount point is a folder (a mounted file, as containers have, is not); never
    // called for a network mount.
    std::function<bool(const std::string& path)> IsDirectory;
};

// "/" first, then by mount point; one entry per mount point (the mount on top).
std::vector<TVolume> ReadVolumes(const TVolumeSources& sources = {});

// The volume holding `path` (longest mount-point prefix); nullptr when `volumes` is empty.
const TVolume* VolumeOfPath(const std::vector<TVolume>& volumes, const std::string& path);

}  // namespace sys
