#include "platform/shell/namespace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>

#include "platform/rtl/sysutils.h"
#include "platform/sys/env.h"
#include "platform/sys/files.h"
#include "platform/sys/paths.h"
#include "platform/sys/volumes.h"

namespace shell {

namespace {

// Kind byte of an item id's data.
enum TItemKind : uint8_t { ikPlace = 1, ikComputer = 2, ikVolume = 3, ikEntry = 4 };

// Places: 主文件夹 and the well-known folders under 桌面, 主文件夹 again under 计算机.
enum TPlace : uint8_t {
    plHome,
    plDocuments,
    plDownload,
    plMusic,
    plPictures,
    plVideos,
    plHomeInComputer
};
constexpr uint8_t kComputerRank = 6;
constexpr uint8_t kHomeInComputerRank = 255;

// Entry flags.
constexpr uint8_t efDirectory = 0x1;
constexpr uint8_t efHidden = 0x2;
constexpr uint8_t efLink = 0x4;
constexpr uint8_t efReadOnly = 0x8;

// Entry data: kind, flags, size, write time, create time (little-endian 64-bit), name bytes.
constexpr size_t kEntryHeader = 2 + 3 * 8;
// Where an entry's name starts inside its item id (after the 2 count bytes).
constexpr uint32_t kEntryNameOffset = 2 + kEntryHeader;

const char* const kDesktopName = "桌面";
const char* const kComputerName = "计算机";
const char* const kHomeName = "主文件夹";

void PutInt64(std::string& data, int64_t value) {
    for (int i = 0; i < 8; ++i) data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

int64_t GetInt64(const uint8_t* p) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | p[i];
    return static_cast<int64_t>(value);
}

TItemIdPtr IdFromString(const std::string& data) {
    return ItemIdFromData(reinterpret_cast<const uint8_t*>(data.data()), data.size());
}

// A parsed view of one item id.
struct TItem {
    uint8_t Kind = 0;
    uint8_t Rank = 0;
    // Place
    uint8_t Place = 0;
    std::string Path;
    // Volume
    TVolume Volume;
    // Entry
    uint8_t Flags = 0;
    TFindData Find;
    std::string Name;
    bool Valid = false;
};

TItem ReadItem(PCItemIDList id) {
    TItem item;
    const size_t size = ItemIdDataSize(id);
    if (size == 0) return item;
    const uint8_t* data = ItemIdData(id);
    item.Kind = data[0];
    switch (item.Kind) {
        case ikPlace:
            if (size < 3) return item;
            item.Rank = data[1];
            item.Place = data[2];
            item.Path.assign(reinterpret_cast<const char*>(data + 3), size - 3);
            break;
        case ikComputer:
            if (size < 2) return item;
            item.Rank = data[1];
            break;
        case ikVolume: {
            if (size < 3) return item;
            item.Rank = data[1];
            item.Volume.Kind = static_cast<TVolumeKind>(data[2]);
            std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
            std::vector<std::string> parts;
            size_t start = 0;
            for (size_t i = 0; i <= rest.size(); ++i)
                if (i == rest.size() || rest[i] == '\0') {
                    parts.push_back(rest.substr(start, i - start));
                    start = i + 1;
                }
            parts.resize(3);
            item.Volume.MountPoint = parts[0];
            item.Volume.Label = parts[1];
            item.Volume.RemoteName = parts[2];
            break;
        }
        case ikEntry:
            if (size < kEntryHeader) return item;
            item.Flags = data[1];
            item.Find.Directory = (item.Flags & efDirectory) != 0;
            item.Find.Size = GetInt64(data + 2);
            item.Find.WriteTime = GetInt64(data + 10);
            item.Find.CreateTime = GetInt64(data + 18);
            item.Name.assign(reinterpret_cast<const char*>(data + kEntryHeader),
                             size - kEntryHeader);
            break;
        default:
            return item;
    }
    item.Valid = true;
    return item;
}

TItemIdPtr PlaceId(uint8_t place, uint8_t rank, const std::string& path) {
    std::string data{static_cast<char>(ikPlace), static_cast<char>(rank), static_cast<char>(place)};
    return IdFromString(data + path);
}

TItemIdPtr ComputerId() {
    return IdFromString(
        std::string{static_cast<char>(ikComputer), static_cast<char>(kComputerRank)});
}

TItemIdPtr VolumeId(const TVolume& volume, uint8_t rank) {
    std::string data{static_cast<char>(ikVolume), static_cast<char>(rank),
                     static_cast<char>(volume.Kind)};
    data += volume.MountPoint;
    data.push_back('\0');
    data += volume.Label;
    data.push_back('\0');
    data += volume.RemoteName;
    return IdFromString(data);
}

// Reads one entry (links followed; a broken link is a file). dirFd -1: `name` is a full path.
bool StatEntry(int dirFd, const std::string& name, uint8_t& flags, TFindData& find) {
    struct statx info;
    const int fd = dirFd < 0 ? AT_FDCWD : dirFd;
    flags = 0;
    if (statx(fd, name.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &info) !=
        0) {
        if (statx(fd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                  STATX_BASIC_STATS | STATX_BTIME, &info) != 0)
            return false;
        flags |= efLink;
    } else {
        struct statx self;
        if (statx(fd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT, STATX_TYPE,
                  &self) == 0 &&
            S_ISLNK(self.stx_mode))
            flags |= efLink;
    }
    const bool directory = S_ISDIR(info.stx_mode);
    if (directory) flags |= efDirectory;
    if ((info.stx_mode & 0222) == 0) flags |= efReadOnly;
    find.Directory = directory;
    find.Size = directory ? -1 : static_cast<int64_t>(info.stx_size);
    find.WriteTime = info.stx_mtime.tv_sec;
    find.CreateTime = (info.stx_mask & STATX_BTIME) ? info.stx_btime.tv_sec : info.stx_ctime.tv_sec;
    return true;
}

TItemIdPtr EntryId(const std::string& name, uint8_t flags, const TFindData& find) {
    std::string data{static_cast<char>(ikEntry), static_cast<char>(flags)};
    PutInt64(data, find.Size);
    PutInt64(data, find.WriteTime);
    PutInt64(data, find.CreateTime);
    return IdFromString(data + name);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The place folders under 桌面, in order, that exist.
std::vector<std::pair<TPlace, std::string>> DesktopPlaces() {
    std::vector<std::pair<TPlace, std::string>> places{{plHome, sys::HomeDir()}};
    const std::pair<TPlace, sys::TUserDir> known[] = {{plDocuments, sys::TUserDir::Documents},
                                                      {plDownload, sys::TUserDir::Download},
                                                      {plMusic, sys::TUserDir::Music},
                                                      {plPictures, sys::TUserDir::Pictures},
                                                      {plVideos, sys::TUserDir::Videos}};
    for (const auto& [place, dir] : known) {
        const std::string path = sys::UserDir(dir);
        if (!path.empty()) places.emplace_back(place, path);
    }
    return places;
}

// Resolves an absolute id to its object's path; false for 计算机 (and broken ids).
bool ResolvePath(PCItemIDList absolute, std::string& path) {
    path.clear();
    if (!absolute) return false;
    // The desktop folder is looked up only when an id starts there: it costs a file read.
    const TItem first = ReadItem(absolute);
    if (ItemIdListIsEmpty(absolute) || first.Kind == ikEntry) path = sys::DesktopDir();
    for (PCItemIDList id = absolute; ItemIdByteCount(id) != 0; id = ItemIdNext(id)) {
        const TItem item = ReadItem(id);
        if (!item.Valid) return false;
        switch (item.Kind) {
            case ikPlace:
                path = item.Path;
                break;
            case ikComputer:
                path.clear();
                break;
            case ikVolume:
                path = item.Volume.MountPoint;
                break;
            case ikEntry:
                if (path.empty()) return false;
                path = JoinPath(path, item.Name);
                break;
        }
    }
    return !path.empty();
}

std::string VolumeDisplayName(const TVolume& volume) {
    std::string label = volume.Label;
    if (volume.Kind == TVolumeKind::Network && !volume.RemoteName.empty())
        label = volume.RemoteName;
    if (label.empty()) {
        if (volume.MountPoint == "/")
            label = "文件系统";
        else if (volume.Kind == TVolumeKind::Removable)
            label = "可移动磁盘";
        else if (volume.Kind == TVolumeKind::CdRom)
            label = "光盘";
        else
            label = "本地磁盘";
    }
    return label + " (" + volume.MountPoint + ")";
}

std::string ItemName(const TItem& item) {
    switch (item.Kind) {
        case ikPlace:
            if (item.Place == plHome) return kHomeName;
            if (item.Place == plHomeInComputer)
                return std::string(kHomeName) + " (" + item.Path + ")";
            return sys::ExtractFileName(item.Path);
        case ikComputer:
            return kComputerName;
        case ikVolume:
            return VolumeDisplayName(item.Volume);
        case ikEntry:
            return item.Name;
    }
    return "";
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string piece;
    std::istringstream in(path);
    while (std::getline(in, piece, '/')) {
        if (piece.empty() || piece == ".") continue;
        if (piece == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(piece);
    }
    return parts;
}

std::string NormalisePath(const std::string& path) {
    std::string result;
    for (const std::string& part : SplitPath(path)) result += "/" + part;
    return result.empty() ? "/" : result;
}

bool IsUnder(const std::string& path, const std::string& mount) {
    if (mount == "/") return true;
    return path == mount || (path.compare(0, mount.size(), mount) == 0 &&
                             path.size() > mount.size() && path[mount.size()] == '/');
}

// Code points of a UTF-8 text; a byte that starts no valid sequence stands for itself.
std::vector<uint32_t> CodePoints(const std::string& text) {
    std::vector<uint32_t> points;
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size();
        uint32_t point = length == 1   ? c
                         : length == 2 ? (c & 0x1F)
                         : length == 3 ? (c & 0x0F)
                                       : (c & 0x07);
        for (int k = 1; valid && k < length; ++k) {
            const uint8_t next = static_cast<uint8_t>(text[i + k]);
            if ((next >> 6) != 2) valid = false;
            point = (point << 6) | (next & 0x3F);
        }
        if (!valid) {
            points.push_back(c);
            ++i;
        } else {
            points.push_back(point);
            i += length;
        }
    }
    return points;
}

uint32_t FoldCase(uint32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

int Sign(int64_t value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

bool IsDigit(uint32_t c) {
    return c >= '0' && c <= '9';
}

int CompareItems(const TItem& a, const TItem& b, PCItemIDList rawA, PCItemIDList rawB) {
    const bool virtualA = a.Kind != ikEntry, virtualB = b.Kind != ikEntry;
    if (virtualA != virtualB) return virtualA ? -1 : 1;
    if (virtualA) {
        if (a.Rank != b.Rank) return a.Rank < b.Rank ? -1 : 1;
    } else {
        const bool dirA = a.Find.Directory, dirB = b.Find.Directory;
        if (dirA != dirB) return dirA ? -1 : 1;
        const int byName = CompareNamesNatural(a.Name, b.Name);
        if (byName != 0) return byName;
    }
    const size_t sizeA = ItemIdDataSize(rawA), sizeB = ItemIdDataSize(rawB);
    const int bytes = std::memcmp(ItemIdData(rawA), ItemIdData(rawB), std::min(sizeA, sizeB));
    if (bytes != 0) return Sign(bytes);
    return Sign(static_cast<int64_t>(sizeA) - static_cast<int64_t>(sizeB));
}

std::mutex gVolumeLock;
TVolumeSource gVolumeSource;

// The system's volumes, "/" first.
std::vector<TVolume> SystemVolumes() {
    std::vector<TVolume> volumes;
    for (const sys::TVolume& volume : sys::ReadVolumes()) {
        TVolume shellVolume{volume.MountPoint, volume.Label, TVolumeKind::Fixed, ""};
        switch (volume.Kind) {
            case sys::TVolumeKind::Fixed:
                break;
            case sys::TVolumeKind::Removable:
                shellVolume.Kind = TVolumeKind::Removable;
                break;
            case sys::TVolumeKind::CD:
                shellVolume.Kind = TVolumeKind::CdRom;
                break;
            case sys::TVolumeKind::RAM:
                shellVolume.Kind = TVolumeKind::Ram;
                break;
            case sys::TVolumeKind::Network:
                shellVolume.Kind = TVolumeKind::Network;
                shellVolume.RemoteName = volume.Source;
                break;
        }
        volumes.push_back(shellVolume);
    }
    return volumes;
}

std::string ThousandsText(int64_t value) {
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
    return digits;
}

std::string LocalTimeText(int64_t seconds) {
    const time_t t = static_cast<time_t>(seconds);
    struct tm local;
    if (!localtime_r(&t, &local)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::string TypeText(const TItem& item) {
    if (item.Kind != ikEntry || item.Find.Directory) return "文件夹";
    const std::string ext = sys::ExtractFileExt(item.Name);
    if (ext.size() <= 1) return "文件";
    return rtl::UpperCase(ext.substr(1)) + " 文件";
}

struct TColumn {
    const char* Caption;
    int Fmt;
    int CxChar;
    bool Shown;
};
constexpr TColumn kColumns[] = {{"名称", 0, 25, true},
                                {"大小", 1, 10, true},
                                {"类型", 0, 14, true},
                                {"修改日期", 0, 14, true},
                                {"创建日期", 0, 14, false}};
constexpr int kColumnCount = 5;

}  // namespace

TVolumeSource SetVolumeSource(TVolumeSource source) {
    std::lock_guard<std::mutex> lock(gVolumeLock);
    TVolumeSource previous = std::move(gVolumeSource);
    gVolumeSource = std::move(source);
    return previous;
}

std::vector<TVolume> ShellVolumes() {
    TVolumeSource source;
    {
        std::lock_guard<std::mutex> lock(gVolumeLock);
        source = gVolumeSource;
    }
    return source ? source() : SystemVolumes();
}

IShellFolder::IShellFolder(PCItemIDList absolute) : FAbsolute(ItemIdListCopy(absolute)) {
    FDesktop = ItemIdListIsEmpty(absolute);
    // The desktop's folder is looked up when it is listed: binding the desktop happens often.
    if (FDesktop) return;
    if (!ResolvePath(absolute, FPath)) {
        FPath.clear();
        FComputer = true;
    }
}

std::string IShellFolder::Path() const {
    return FDesktop ? sys::DesktopDir() : FPath;
}

bool IShellFolder::EnumObjects(uint32_t flags, std::vector<TItemIdPtr>& ids) const {
    ids.clear();
    const std::string path = Path();
    const bool folders = flags & SHCONTF_FOLDERS, files = flags & SHCONTF_NONFOLDERS,
               hidden = flags & SHCONTF_INCLUDEHIDDEN;
    if (FComputer) {
        if (!folders) return true;
        const std::vector<TVolume> volumes = ShellVolumes();
        for (size_t i = 0; i < volumes.size() && i < kHomeInComputerRank; ++i)
            ids.push_back(VolumeId(volumes[i], static_cast<uint8_t>(i)));
        ids.push_back(PlaceId(plHomeInComputer, kHomeInComputerRank, sys::HomeDir()));
        return true;
    }
    if (FDesktop && folders) {
        for (const auto& [place, path] : DesktopPlaces())
            ids.push_back(PlaceId(place, static_cast<uint8_t>(place), path));
        ids.push_back(ComputerId());
        // A desktop that is the home folder would list home twice.
        if (path == sys::HomeDir()) return true;
    }
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        std::fprintf(stderr, "cannot read folder \"%s\": %s\n", path.c_str(), std::strerror(errno));
        return FDesktop;
    }
    const int fd = dirfd(dir);
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (!hidden && name[0] == '.') continue;
        uint8_t entryFlags = 0;
        TFindData find;
        if (!StatEntry(fd, name, entryFlags, find)) continue;
        if (name[0] == '.') entryFlags |= efHidden;
        if (find.Directory ? !folders : !files) continue;
        ids.push_back(EntryId(name, entryFlags, find));
    }
    closedir(dir);
    return true;
}

uint32_t IShellFolder::GetAttributesOf(PCItemIDList child, uint32_t mask) const {
    if (!child) return 0;
    if (ItemIdListIsEmpty(child))
        return mask &
               (SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR);
    const TItem item = ReadItem(ItemIdLast(child));
    if (!item.Valid) return 0;
    uint32_t bits = 0;
    constexpr uint32_t kFolder = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
    switch (item.Kind) {
        case ikPlace:
            bits = kFolder | SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK | SFGAO_DROPTARGET;
            break;
        case ikComputer:
            bits = kFolder | SFGAO_CANLINK;
            break;
        case ikVolume:
            bits = kFolder | SFGAO_FILESYSTEM | SFGAO_CANLINK | SFGAO_DROPTARGET;
            if (item.Volume.Kind == TVolumeKind::Removable ||
                item.Volume.Kind == TVolumeKind::CdRom)
                bits |= SFGAO_REMOVABLE;
            break;
        case ikEntry:
            bits = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK |
                   SFGAO_CANRENAME | SFGAO_CANDELETE;
            if (item.Find.Directory) bits |= kFolder | SFGAO_DROPTARGET;
            if (item.Flags & efHidden) bits |= SFGAO_GHOSTED;
            if (item.Flags & efLink) bits |= SFGAO_LINK;
            if (item.Flags & efReadOnly) bits |= SFGAO_READONLY;
            break;
    }
    return bits & mask;
}

bool IShellFolder::GetDisplayNameOf(PCItemIDList child, uint32_t flags, TStrRet& name) const {
    name = TStrRet{};
    if (!child) return false;
    if (flags & SHGDN_FORPARSING && !(flags & SHGDN_INFOLDER)) {
        TItemIdPtr absolute = ItemIdListJoin(FAbsolute.get(), child);
        std::string path;
        if (ResolvePath(absolute.get(), path)) {
            name.Str = path;
            return true;
        }
        // Only 计算机 has no path: its parsing name is its name.
    }
    if (ItemIdListIsEmpty(child)) {
        name.Str = FDesktop ? kDesktopName : "";
        return true;
    }
    PCItemIDList last = ItemIdLast(child);
    const TItem item = ReadItem(last);
    if (!item.Valid) return false;
    if (item.Kind == ikEntry && last == child) {
        // The name stays in the id, so bytes that are no UTF-8 come back unchanged.
        name.Kind = 1;
        name.Offset = kEntryNameOffset;
        return true;
    }
    name.Str = ItemName(item);
    return true;
}

bool IShellFolder::ParseDisplayName(const std::string& name, TItemIdPtr& id) const {
    id.reset();
    if (!FDesktop) return false;
    if (name == kDesktopName) {
        id.reset(ShellAllocZeroed(2));
        return id != nullptr;
    }
    if (name == kComputerName) {
        id = ComputerId();
        return true;
    }
    if (name.empty() || name[0] != '/') return false;
    const std::string path = NormalisePath(name);
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return false;
    const std::vector<TVolume> volumes = ShellVolumes();
    int best = -1;
    for (size_t i = 0; i < volumes.size() && i < kHomeInComputerRank; ++i)
        if (IsUnder(path, volumes[i].MountPoint) &&
            (best < 0 || volumes[i].MountPoint.size() > volumes[best].MountPoint.size()))
            best = static_cast<int>(i);
    if (best < 0) return false;
    const TVolume& volume = volumes[best];
    TItemIdPtr result = ComputerId();
    TItemIdPtr volumeId = VolumeId(volume, static_cast<uint8_t>(best));
    result = ItemIdListJoin(result.get(), volumeId.get());
    std::string current = volume.MountPoint;
    const std::vector<std::string> mountParts = SplitPath(volume.MountPoint);
    const std::vector<std::string> parts = SplitPath(path);
    for (size_t i = mountParts.size(); i < parts.size(); ++i) {
        current = JoinPath(current, parts[i]);
        uint8_t flags = 0;
        TFindData find;
        if (!StatEntry(-1, current, flags, find)) return false;
        if (parts[i][0] == '.') flags |= efHidden;
        TItemIdPtr entry = EntryId(parts[i], flags, find);
        result = ItemIdListJoin(result.get(), entry.get());
        if (!result) return false;
    }
    id = std::move(result);
    return true;
}

int IShellFolder::CompareIDs(int column, PCItemIDList a, PCItemIDList b) const {
    (void)column;
    if (!a || !b) return 0;
    if (FDesktop && SameObject(a, b)) return 0;
    PCItemIDList x = a, y = b;
    for (;;) {
        const bool endX = ItemIdByteCount(x) == 0, endY = ItemIdByteCount(y) == 0;
        if (endX || endY) return endX == endY ? 0 : endX ? -1 : 1;
        const int order = CompareItems(ReadItem(x), ReadItem(y), x, y);
        if (order != 0) return order;
        x = ItemIdNext(x);
        y = ItemIdNext(y);
    }
}

bool IShellFolder::SetNameOf(PCItemIDList child, const std::string& newName,
                             TItemIdPtr& newId) const {
    newId.reset();
    if (!child || FComputer || ItemIdCount(child) != 1) return false;
    const TItem item = ReadItem(child);
    if (!item.Valid || item.Kind != ikEntry) return false;
    if (newName.empty() || newName == "." || newName == ".." ||
        newName.find('/') != std::string::npos)
        return false;
    const std::string folder = Path();
    const std::string oldPath = JoinPath(folder, item.Name), newPath = JoinPath(folder, newName);
    if (!sys::RenameFile(oldPath, newPath)) return false;
    uint8_t flags = 0;
    TFindData find;
    if (!StatEntry(-1, newPath, flags, find)) return false;
    if (newName[0] == '.') flags |= efHidden;
    newId = EntryId(newName, flags, find);
    return newId != nullptr;
}

TShellFolderPtr IShellFolder::BindToObject(PCItemIDList child) const {
    if (!child) return nullptr;
    if (!ItemIdListIsEmpty(child) && !(GetAttributesOf(child, SFGAO_FOLDER) & SFGAO_FOLDER))
        return nullptr;
    TItemIdPtr absolute = ItemIdListJoin(FAbsolute.get(), child);
    if (!absolute) return nullptr;
    return std::make_shared<IShellFolder>(absolute.get());
}

bool IShellFolder::HasDetails() const {
    return !FComputer;
}

bool IShellFolder::GetDetailsOf(PCItemIDList child, int column, TShellDetails& details) const {
    details = TShellDetails{};
    if (!HasDetails() || column < 0 || column >= kColumnCount) return false;
    details.Fmt = kColumns[column].Fmt;
    details.CxChar = kColumns[column].CxChar;
    if (!child) {
        details.Str.Str = kColumns[column].Caption;
        return true;
    }
    const TItem item = ReadItem(ItemIdLast(child));
    if (!item.Valid) return false;
    const bool entry = item.Kind == ikEntry;
    switch (column) {
        case 0:
            return GetDisplayNameOf(child, SHGDN_INFOLDER, details.Str);
        case 1:
            if (entry && !item.Find.Directory)
                details.Str.Str = ThousandsText((item.Find.Size + 1023) / 1024) + " KB";
            break;
        case 2:
            details.Str.Str = TypeText(item);
            break;
        case 3:
            if (entry) details.Str.Str = LocalTimeText(item.Find.WriteTime);
            break;
        case 4:
            if (entry) details.Str.Str = LocalTimeText(item.Find.CreateTime);
            break;
    }
    return true;
}

bool IShellFolder::GetDefaultColumnState(int column, uint32_t& state) const {
    state = 0;
    if (!HasDetails() || column < 0 || column >= kColumnCount) return false;
    if (kColumns[column].Shown) state |= SHCOLSTATE_ONBYDEFAULT;
    return true;
}

TShellFolderPtr SHGetDesktopFolder() {
    static const uint8_t kEmpty[2] = {0, 0};
    return std::make_shared<IShellFolder>(kEmpty);
}

bool SHGetSpecialFolderLocation(int csidl, TItemIdPtr& id) {
    id.reset();
    std::string path;
    switch (csidl) {
        case CSIDL_DESKTOP:
            return SHGetDesktopFolder()->ParseDisplayName(kDesktopName, id);
        case CSIDL_DRIVES:
            id = ComputerId();
            return id != nullptr;
        case CSIDL_DESKTOPDIRECTORY:
            path = sys::DesktopDir();
            break;
        case CSIDL_APPDATA:
            path = sys::ConfigHome();
            break;
        case CSIDL_PERSONAL:
            path = sys::UserDir(sys::TUserDir::Documents);
            if (path.empty()) path = sys::HomeDir();
            break;
        case CSIDL_TEMPLATES:
            path = sys::UserDir(sys::TUserDir::Templates);
            break;
        case CSIDL_BITBUCKET: {
            std::string data = sys::GetEnv("XDG_DATA_HOME");
            if (data.empty() || data[0] != '/') data = sys::HomeDir() + "/.local/share";
            path = data + "/Trash/files";
            break;
        }
        default:
            return false;
    }
    if (path.empty() || !sys::DirectoryExists(path)) return false;
    return SHGetDesktopFolder()->ParseDisplayName(path, id);
}

bool SHGetPathFromIDList(PCItemIDList absolute, std::string& path) {
    return ResolvePath(absolute, path);
}

bool ItemFindData(PCItemIDList absolute, TFindData& data) {
    data = TFindData{};
    if (ItemIdListIsEmpty(absolute)) return false;
    const TItem item = ReadItem(ItemIdLast(absolute));
    if (!item.Valid) return false;
    if (item.Kind == ikEntry) {
        data = item.Find;
        return true;
    }
    std::string path;
    uint8_t flags = 0;
    return ResolvePath(absolute, path) && StatEntry(-1, path, flags, data);
}

bool SameObject(PCItemIDList a, PCItemIDList b) {
    if (!a || !b) return false;
    std::string pathA, pathB;
    const bool hasA = ResolvePath(a, pathA), hasB = ResolvePath(b, pathB);
    if (hasA && hasB) return pathA == pathB;
    if (hasA != hasB) return false;
    const size_t size = ItemIdListSize(a);
    return size == ItemIdListSize(b) && std::memcmp(a, b, size) == 0;
}

TShellIcon IconOfFileName(const std::string& name) {
    struct TExtIcon {
        const char* Ext;
        TShellIcon Icon;
    };
    static constexpr TExtIcon kTable[] = {
        {"3g2", siVideo},    {"3gp", siVideo},   {"3gp2", siVideo},  {"3gpp", siVideo},
        {"aac", siAudio},    {"ac3", siAudio},   {"aif", siAudio},   {"aiff", siAudio},
        {"ape", siAudio},    {"asf", siVideo},   {"asx", siVideo},   {"avi", siVideo},
        {"avs", siVideo},    {"bmp", siPicture}, {"cda", siAudio},   {"cue", siText},
        {"dat", siVideo},    {"dif", siVideo},   {"dts", siAudio},   {"dv", siVideo},
        {"dvr-ms", siVideo}, {"flac", siAudio},  {"flv", siVideo},   {"gif", siPicture},
        {"gz", siArchive},   {"h261", siVideo},  {"h264", siVideo},  {"ifo", siVideo},
        {"jpeg", siPicture}, {"jpg", siPicture}, {"m4a", siAudio},   {"m4v", siVideo},
        {"mid", siAudio},    {"mjpeg", siVideo}, {"mjpg", siVideo},  {"mka", siAudio},
        {"mkv", siVideo},    {"mov", siVideo},   {"mp2", siAudio},   {"mp3", siAudio},
        {"mp4", siVideo},    {"mpa", siAudio},   {"mpc", siAudio},   {"mpeg", siVideo},
        {"mpg", siVideo},    {"nsv", siVideo},   {"ofr", siAudio},   {"ogg", siAudio},
        {"ogm", siVideo},    {"png", siPicture}, {"qt", siVideo},    {"ra", siAudio},
        {"ram", siAudio},    {"rar", siArchive}, {"rm", siVideo},    {"rmvb", siVideo},
        {"swf", siVideo},    {"tar", siArchive}, {"tp", siVideo},    {"ts", siVideo},
        {"tta", siAudio},    {"txt", siText},    {"vob", siVideo},   {"wav", siAudio},
        {"wma", siAudio},    {"wmv", siVideo},   {"wv", siAudio},    {"xwmv", siVideo},
        {"xz", siArchive},   {"yuv", siVideo},   {"zip", siArchive}, {"7z", siArchive}};
    const std::string ext = sys::ExtractFileExt(name);
    if (ext.size() <= 1) return siFile;
    const std::string key = rtl::LowerCase(ext.substr(1));
    for (const TExtIcon& entry : kTable)
        if (key == entry.Ext) return entry.Icon;
    return siFile;
}

int IconOfItem(PCItemIDList absolute, bool open) {
    if (ItemIdListIsEmpty(absolute)) return siDesktop;
    const TItem item = ReadItem(ItemIdLast(absolute));
    switch (item.Kind) {
        case ikPlace:
            if (item.Place == plHome || item.Place == plHomeInComputer) return siHome;
            return open ? siFolderOpen : siFolderClosed;
        case ikComputer:
            return siComputer;
        case ikVolume:
            switch (item.Volume.Kind) {
                case TVolumeKind::Removable:
                    return siVolumeRemovable;
                case TVolumeKind::CdRom:
                    return siVolumeCdRom;
                case TVolumeKind::Network:
                    return siVolumeNetwork;
                case TVolumeKind::Ram:
                    return siVolumeRam;
                default:
                    return siVolumeFixed;
            }
        case ikEntry:
            if (item.Find.Directory) return open ? siFolderOpen : siFolderClosed;
            return IconOfFileName(item.Name);
    }
    return siFile;
}

int CompareNamesNatural(const std::string& a, const std::string& b) {
    const std::vector<uint32_t> x = CodePoints(a), y = CodePoints(b);
    size_t i = 0, j = 0;
    while (i < x.size() && j < y.size()) {
        if (IsDigit(x[i]) && IsDigit(y[j])) {
            size_t endI = i, endJ = j;
            while (endI < x.size() && IsDigit(x[endI])) ++endI;
            while (endJ < y.size() && IsDigit(y[endJ])) ++endJ;
            size_t startI = i, startJ = j;
            while (startI + 1 < endI && x[startI] == '0') ++startI;
            while (startJ + 1 < endJ && y[startJ] == '0') ++startJ;
            const size_t lengthI = endI - startI, lengthJ = endJ - startJ;
            if (lengthI != lengthJ) return lengthI < lengthJ ? -1 : 1;
            for (size_t k = 0; k < lengthI; ++k)
                if (x[startI + k] != y[startJ + k]) return x[startI + k] < y[startJ + k] ? -1 : 1;
            i = endI;
            j = endJ;
            continue;
        }
        const uint32_t p = FoldCase(x[i]), q = FoldCase(y[j]);
        if (p != q) return p < q ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < x.size() || j < y.size()) return i < x.size() ? 1 : -1;
    return Sign(a.compare(b));
}

int AnsiCompareText(const std::string& a, const std::string& b) {
    const std::vector<uint32_t> x = CodePoints(a), y = CodePoints(b);
    for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
        const uint32_t p = FoldCase(x[i]), q = FoldCase(y[i]);
        if (p != q) return p < q ? -1 : 1;
    }
    return Sign(static_cast<int64_t>(x.size()) - static_cast<int64_t>(y.size()));
}

}  // namespace shell
