// The free routines the shell views share: attribute queries as sets, names, icon indexes,
// binding folder objects, the root-folder names and the enumeration kinds of a view.
//
// None keeps state; each asks the namespace (namespace.h) anew, and none reports a failure:
// an empty set, False or an empty text stands for it. Main thread, like the views.
#pragma once

#include <string>

#include "platform/shell/item_ids.h"
#include "platform/shell/namespace.h"
#include "platform/vcl/classes.h"

namespace shell {

enum TRootFolder {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};
extern const int RootFolderCSIDL[rfTemplates + 1];
// A view's Root: a TRootFolder value name or a folder path.
using TRoot = std::string;

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = vcl::TSet<TShellObjectType>;

enum TbsShellFolderCapability {
    fcCanCopy,
    fcCanDelete,
    fcCanLink,
    fcCanMove,
    fcCanRename,
    fcDropTarget,
    fcHasPropSheet
};
using TbsShellFolderCapabilities = vcl::TSet<TbsShellFolderCapability>;

enum TbsShellFolderProperty {
    fpCut,
    fpIsLink,
    fpReadOnly,
    fpShared,
    fpFileSystem,
    fpFileSystemAncestor,
    fpRemovable,
    fpValidate
};
using TbsShellFolderProperties = vcl::TSet<TbsShellFolderProperty>;

TShellFolderPtr DesktopShellFolder();
TItemIdPtr DesktopItemIdList();
// Both absolute; equal when they name the same object.
bool ItemIdListsEqual(PCItemIDList a, PCItemIDList b);

TbsShellFolderCapabilities ItemCapabilities(const TShellFolderPtr& folder, PCItemIDList id);
TbsShellFolderProperties ItemProperties(const TShellFolderPtr& folder, PCItemIDList id);
bool ItemIsFolder(const TShellFolderPtr& folder, PCItemIDList id);
bool ItemHasSubFolders(const TShellFolderPtr& folder, PCItemIDList id);
// True when enumerating the folder with the flags yields at least one item.
bool FolderHasChildren(const TShellFolderPtr& folder, uint32_t flags);

// "?" is an ordinary file-name character here, so texts keep every "?".
std::string ShellTextToString(const TStrRet& rec, PCItemIDList id);
// "parentfolder = nil" without a folder.
std::string ItemDisplayText(const TShellFolderPtr& folder, PCItemIDList id, uint32_t flags);
int ShellIconIndex(PCItemIDList absolute, bool large, bool open);
uint32_t ObjectTypesToEnumFlags(TShellObjectTypes types);
// The value whose name equals the text in any letter case; -1 when none.
int RootFolderIndex(const std::string& text);
const char* RootFolderName(TRootFolder value);
// Two Root texts name the same root: folder names in any letter case, paths exactly (file
// names differ by case here).
bool SameRoot(const TRoot& a, const TRoot& b);

TShellFolderPtr BindChildShellFolder(const TShellFolderPtr& folder, PCItemIDList id);
// The detail source of a folder: its own object when it offers details.
TShellFolderPtr BindShellFolder2(const TShellFolderPtr& folder, PCItemIDList id);

}  // namespace shell
