#include "platform/shell/shell_routines.h"

#include <algorithm>

#include "platform/rtl/sysutils.h"

namespace shell {

namespace {

const char* const kRootFolderNames[] = {
    "rfDesktop",        "rfMyComputer",       "rfNetwork",
    "rfRecycleBin",     "rfAppData",          "rfCommonDesktopDirectory",
    "rfCommonPrograms", "rfCommonStartMenu",  "rfCommonStartup",
    "rfControlPanel",   "rfDesktopDirectory", "rfFavorites",
    "rfFonts",          "rfInternet",         "rfPersonal",
    "rfPrinters",       "rfPrintHood",        "rfPrograms",
    "rfRecent",         "rfSendTo",           "rfStartMenu",
    "rfStartup",        "rfTemplates"};

template <class TValue>
struct TBitMap {
    uint32_t Bit;
    TValue Value;
};

constexpr TBitMap<TbsShellFolderCapability> kCapabilities[] = {
    {SFGAO_CANCOPY, fcCanCopy},          {SFGAO_CANDELETE, fcCanDelete},
    {SFGAO_CANLINK, fcCanLink},          {SFGAO_CANMOVE, fcCanMove},
    {SFGAO_CANRENAME, fcCanRename},      {SFGAO_DROPTARGET, fcDropTarget},
    {SFGAO_HASPROPSHEET, fcHasPropSheet}};

constexpr TBitMap<TbsShellFolderProperty> kFirstProperties[] = {{SFGAO_GHOSTED, fpCut},
                                                                {SFGAO_LINK, fpIsLink},
                                                                {SFGAO_READONLY, fpReadOnly},
                                                                {SFGAO_SHARE, fpShared}};
constexpr TBitMap<TbsShellFolderProperty> kSecondProperties[] = {
    {SFGAO_FILESYSTEM, fpFileSystem},
    {SFGAO_FILESYSANCESTOR, fpFileSystemAncestor},
    {SFGAO_REMOVABLE, fpRemovable},
    {SFGAO_VALIDATE, fpValidate}};

template <class TValue, size_t N>
void AddBits(vcl::TSet<TValue>& set, uint32_t bits, const TBitMap<TValue> (&map)[N]) {
    for (const auto& entry : map)
        if (bits & entry.Bit) set += entry.Value;
}

}  // namespace

const int RootFolderCSIDL[rfTemplates + 1] = {0,  17, 18, 10, 26, 25, 23, 22, 24, 3, 16, 6,
                                              20, 1,  5,  4,  27, 2,  8,  9,  11, 7, 21};

TShellFolderPtr DesktopShellFolder() {
    return SHGetDesktopFolder();
}

TItemIdPtr DesktopItemIdList() {
    TItemIdPtr id;
    SHGetSpecialFolderLocation(CSIDL_DESKTOP, id);
    return id;
}

bool ItemIdListsEqual(PCItemIDList a, PCItemIDList b) {
    return a && b && DesktopShellFolder()->CompareIDs(0, a, b) == 0;
}

TbsShellFolderCapabilities ItemCapabilities(const TShellFolderPtr& folder, PCItemIDList id) {
    TbsShellFolderCapabilities result;
    if (folder) AddBits(result, folder->GetAttributesOf(id, 0x177), kCapabilities);
    return result;
}

TbsShellFolderProperties ItemProperties(const TShellFolderPtr& folder, PCItemIDList id) {
    TbsShellFolderProperties result;
    if (!folder) return result;
    AddBits(result, folder->GetAttributesOf(id, 0xFC000), kFirstProperties);
    AddBits(result,
            folder->GetAttributesOf(
                id, SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_REMOVABLE | SFGAO_VALIDATE),
            kSecondProperties);
    return result;
}

bool ItemIsFolder(const TShellFolderPtr& folder, PCItemIDList id) {
    return folder && (folder->GetAttributesOf(id, SFGAO_FOLDER) & SFGAO_FOLDER) != 0;
}

bool ItemHasSubFolders(const TShellFolderPtr& folder, PCItemIDList id) {
    return folder && (folder->GetAttributesOf(id, SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER) != 0;
}

bool FolderHasChildren(const TShellFolderPtr& folder, uint32_t flags) {
    std::vector<TItemIdPtr> ids;
    return folder && folder->EnumObjects(flags, ids) && !ids.empty();
}

std::string ShellTextToString(const TStrRet& rec, PCItemIDList id) {
    switch (rec.Kind) {
        case 0:
        case 2: {
            const size_t end = rec.Str.find('\0');
            return end == std::string::npos ? rec.Str : rec.Str.substr(0, end);
        }
        case 1: {
            if (!id || ItemIdByteCount(id) == 0) return "";
            const size_t count = ItemIdByteCount(id);
            if (rec.Offset >= count) return "";
            const char* start = reinterpret_cast<const char*>(id) + rec.Offset;
            const size_t length = count - rec.Offset;
            return std::string(start, std::find(start, start + length, '\0'));
        }
        default:
            return "";
    }
}

std::string ItemDisplayText(const TShellFolderPtr& folder, PCItemIDList id, uint32_t flags) {
    if (!folder) return "parentfolder = nil";
    TStrRet rec;
    if (!folder->GetDisplayNameOf(id, flags, rec)) return "";
    std::string text = ShellTextToString(rec, id);
    if (text.rfind("::{", 0) == 0) {
        folder->GetDisplayNameOf(id, SHGDN_NORMAL, rec);
        text = ShellTextToString(rec, id);
    }
    return text;
}

int ShellIconIndex(PCItemIDList absolute, bool large, bool open) {
    (void)large;  // both image lists hold the icons in the same order
    return IconOfItem(absolute, open);
}

uint32_t ObjectTypesToEnumFlags(TShellObjectTypes types) {
    return static_cast<uint32_t>(types.Bits()) * 32;
}

int RootFolderIndex(const std::string& text) {
    for (int i = 0; i <= rfTemplates; ++i)
        if (rtl::SameText(text, kRootFolderNames[i])) return i;
    return -1;
}

const char* RootFolderName(TRootFolder value) {
    return kRootFolderNames[value];
}

bool SameRoot(const TRoot& a, const TRoot& b) {
    if (RootFolderIndex(a) >= 0 || RootFolderIndex(b) >= 0) return rtl::SameText(a, b);
    return a == b;
}

TShellFolderPtr BindChildShellFolder(const TShellFolderPtr& folder, PCItemIDList id) {
    if (folder)
        if (TShellFolderPtr child = folder->BindToObject(id)) return child;
    return DesktopShellFolder()->BindToObject(id);
}

TShellFolderPtr BindShellFolder2(const TShellFolderPtr& folder, PCItemIDList id) {
    TShellFolderPtr bound = DesktopShellFolder()->BindToObject(id);
    if (!bound && folder) bound = folder->BindToObject(id);
    return bound && bound->HasDetails() ? bound : nullptr;
}

}  // namespace shell
