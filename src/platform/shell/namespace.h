// The shell namespace: 桌面 at the top, 主文件夹 and the user's well-known folders, 计算机 with the
// volumes, and the file system below them, addressed by item-id lists (item_ids.h).
//
// Its calls are shaped like a desktop shell's: a folder object bound to an absolute id
// enumerates its children once into ids that carry each entry's kind, size and times, and
// answers attributes, names, order and report texts from those ids alone; only enumeration,
// parsing, binding by path and renaming touch the file system. Volumes come from a source that
// tests replace. Folder objects are immutable values shared through std::shared_ptr; every call
// is safe from any thread, but the views use them on the main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/shell/item_ids.h"

namespace shell {

// Attribute bits of GetAttributesOf.
constexpr uint32_t SFGAO_CANCOPY = 0x1;
constexpr uint32_t SFGAO_CANMOVE = 0x2;
constexpr uint32_t SFGAO_CANLINK = 0x4;
constexpr uint32_t SFGAO_CANRENAME = 0x10;
constexpr uint32_t SFGAO_CANDELETE = 0x20;
constexpr uint32_t SFGAO_HASPROPSHEET = 0x40;
constexpr uint32_t SFGAO_DROPTARGET = 0x100;
constexpr uint32_t SFGAO_GHOSTED = 0x8000;
constexpr uint32_t SFGAO_LINK = 0x10000;
constexpr uint32_t SFGAO_SHARE = 0x20000;
constexpr uint32_t SFGAO_READONLY = 0x40000;
constexpr uint32_t SFGAO_VALIDATE = 0x1000000;
constexpr uint32_t SFGAO_REMOVABLE = 0x2000000;
constexpr uint32_t SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr uint32_t SFGAO_FOLDER = 0x20000000;
constexpr uint32_t SFGAO_FILESYSTEM = 0x40000000;
constexpr uint32_t SFGAO_HASSUBFOLDER = 0x80000000;

// Enumeration flags.
constexpr uint32_t SHCONTF_FOLDERS = 0x20;
constexpr uint32_t SHCONTF_NONFOLDERS = 0x40;
constexpr uint32_t SHCONTF_INCLUDEHIDDEN = 0x80;

// Display-name flags.
constexpr uint32_t SHGDN_NORMAL = 0;
constexpr uint32_t SHGDN_INFOLDER = 1;
constexpr uint32_t SHGDN_FORPARSING = 0x8000;

// Column state: shown by default.
constexpr uint32_t SHCOLSTATE_ONBYDEFAULT = 0x10;

// Special folders the namespace knows; every other number fails.
constexpr int CSIDL_DESKTOP = 0;
constexpr int CSIDL_PERSONAL = 5;
constexpr int CSIDL_BITBUCKET = 10;
constexpr int CSIDL_DESKTOPDIRECTORY = 16;
constexpr int CSIDL_DRIVES = 17;
constexpr int CSIDL_TEMPLATES = 21;
constexpr int CSIDL_APPDATA = 26;

// A shell text record: Kind 0 is Str (UTF-8 here), 1 the text at Offset inside the first item
// id of the id it was returned for, 2 the inline text Str.
struct TStrRet {
    uint32_t Kind = 0;
    uint32_t Offset = 0;
    std::string Str;
};

// One column header (no item) or one cell: Fmt 0 left, 1 right, 2 centre; CxChar the width in
// characters.
struct TShellDetails {
    int Fmt = 0;
    int CxChar = 0;
    TStrRet Str;
};

// What the file system said of an entry when it was enumerated or parsed.
struct TFindData {
    bool Directory = false;
    int64_t Size = -1;       // -1 for a folder
    int64_t WriteTime = 0;   // Unix seconds
    int64_t CreateTime = 0;  // birth time, else status-change time
};

enum class TVolumeKind { Fixed, Removable, CdRom, Network, Ram };

struct TVolume {
    std::string MountPoint;
    std::string Label;
    TVolumeKind Kind = TVolumeKind::Fixed;
    std::string RemoteName;  // network volumes
};

using TVolumeSource = std::function<std::vector<TVolume>()>;
// Installs the source of 计算机's volumes and returns the previous one; an empty one puts the
// system's back.
TVolumeSource SetVolumeSource(TVolumeSource source);
std::vector<TVolume> ShellVolumes();

class IShellFolder {
public:
    explicit IShellFolder(PCItemIDList absolute);

    PCItemIDList AbsoluteID() const { return FAbsolute.get(); }
    // The folder's file-system path; empty for 计算机.
    std::string Path() const;

    // False (and one line on standard error) when the folder cannot be read.
    bool EnumObjects(uint32_t flags, std::vector<TItemIdPtr>& ids) const;
    // The bits of `mask` that the child (a relative id, possibly of several levels) has.
    uint32_t GetAttributesOf(PCItemIDList child, uint32_t mask) const;
    bool GetDisplayNameOf(PCItemIDList child, uint32_t flags, TStrRet& name) const;
    // An absolute path (normalised lexically; it must exist), "桌面" or "计算机"; the id is
    // relative to this folder, so the desktop's is absolute. False when it cannot be parsed.
    bool ParseDisplayName(const std::string& name, TItemIdPtr& id) const;
    // Column 0: order of the relative ids (virtual items by rank, folders before files,
    // case-insensitive natural order, ties by bytes); 0 when they name the same object.
    int CompareIDs(int column, PCItemIDList a, PCItemIDList b) const;
    // Renames a file-system child; the new id comes back. False when refused or failed.
    bool SetNameOf(PCItemIDList child, const std::string& newName, TItemIdPtr& newId) const;
    // The folder object of a child; nullptr when the child is not a folder.
    std::shared_ptr<IShellFolder> BindToObject(PCItemIDList child) const;

    // The detail interface: file-system folders have one, 计算机 none.
    bool HasDetails() const;
    // child nullptr: the column header. False past the last column.
    bool GetDetailsOf(PCItemIDList child, int column, TShellDetails& details) const;
    bool GetDefaultColumnState(int column, uint32_t& state) const;

private:
    TItemIdPtr FAbsolute;
    std::string FPath;
    bool FComputer = false;
    bool FDesktop = false;
};

using TShellFolderPtr = std::shared_ptr<IShellFolder>;

TShellFolderPtr SHGetDesktopFolder();
// False for a special folder that does not exist or is unknown.
bool SHGetSpecialFolderLocation(int csidl, TItemIdPtr& id);
// The file-system path of an absolute id; false for 计算机 and other items without one.
bool SHGetPathFromIDList(PCItemIDList absolute, std::string& path);
// Find data of the object an absolute id names, from the id where it holds them.
bool ItemFindData(PCItemIDList absolute, TFindData& data);
// The ids of the same object? Absolute ids are when their resolved paths are.
bool SameObject(PCItemIDList a, PCItemIDList b);

// Icons of the namespace: indexes into the image lists the views draw.
enum TShellIcon {
    siFile,
    siFolderClosed,
    siFolderOpen,
    siAudio,
    siVideo,
    siPicture,
    siText,
    siArchive,
    siVolumeFixed,
    siVolumeRemovable,
    siVolumeCdRom,
    siVolumeNetwork,
    siVolumeRam,
    siComputer,
    siDesktop,
    siHome,
    siIconCount
};
int IconOfItem(PCItemIDList absolute, bool open);
// The icon a file of that name gets by its extension.
TShellIcon IconOfFileName(const std::string& name);

// Case-insensitive natural order (digit runs by value), ties by bytes.
int CompareNamesNatural(const std::string& a, const std::string& b);
// Folds case (ASCII, Latin-1, Greek, Cyrillic) and compares code points.
int AnsiCompareText(const std::string& a, const std::string& b);

}  // namespace shell
