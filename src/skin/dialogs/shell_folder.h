// The shell model of the views: TbsShellFolder, one namespace item a tree node, list row or
// look-in entry holds (its relative and absolute ids, its parent, its folder object and a cache
// of report texts); the desktop item; the resolution of a view's Root text; the context menu
// with its verb hand-over to the view (IbsShellCommandHandler); the module's errors.
//
// Items own their ids and are owned by their holder; an item's Parent must outlive it. Every
// query but the report texts asks the namespace again (platform/shell), which answers from the
// ids without touching the file system. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/shell/shell_routines.h"
#include "platform/vcl/controls.h"

namespace skin {

using shell::PCItemIDList;
using shell::TItemIdPtr;
using shell::TRoot;
using shell::TShellFolderPtr;

// The views' path errors: "Error setting path: \"%s\"" and the report texts' missing file.
class EInvalidPath : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// What a view does around the verbs of its context menu.
class IbsShellCommandHandler {
public:
    virtual ~IbsShellCommandHandler() = default;
    // Before the verb; Handled stops the namespace's own command.
    virtual void ExecuteCommand(const std::string& Verb, bool& Handled) = 0;
    virtual void CommandCompleted(const std::string& Verb, bool Succeeded) = 0;
};

class TbsShellFolder;

// The item a view's context menu works on when a verb is chosen (its selected one).
class IbsShellContextSource {
public:
    virtual ~IbsShellContextSource() = default;
    virtual TbsShellFolder* ContextFolder() = 0;
};

class TbsShellFolder {
public:
    // No parent: the desktop item is the parent (none while the desktop item itself is made).
    TbsShellFolder(TbsShellFolder* AParent, PCItemIDList ID, TShellFolderPtr SF);
    ~TbsShellFolder();
    TbsShellFolder(const TbsShellFolder&) = delete;
    TbsShellFolder& operator=(const TbsShellFolder&) = delete;

    PCItemIDList AbsoluteID() const { return FFullPIDL.get(); }
    PCItemIDList RelativeID() const { return FPIDL.get(); }
    int Level() const { return FLevel; }
    TbsShellFolder* Parent() const { return FParent; }
    const TShellFolderPtr& ShellFolder() const { return FIShellFolder; }
    // The detail source, chosen on first use; none for 计算机.
    TShellFolderPtr ShellFolder2();
    uintptr_t ViewHandle() const { return FViewHandle; }
    void SetViewHandle(uintptr_t value) { FViewHandle = value; }

    TShellFolderPtr ParentShellFolder() const;
    shell::TbsShellFolderProperties Properties() const;
    shell::TbsShellFolderCapabilities Capabilities() const;
    bool SubFolders() const;
    // A ".zip" file is no folder, whatever the namespace says.
    bool IsFolder() const;
    // The parsing name: the path, or the name of an item without one.
    std::string PathName() const;
    // The file-system path; empty for an item without one.
    std::string FullObjectName() const;
    std::string DisplayName() const;
    int ImageIndex(bool LargeIcon) const;
    // Opens the item with the desktop's opener.
    bool ExecuteDefault();
    // False without fcCanRename; raises "Rename to %s failed" when the namespace refuses.
    bool Rename(const std::string& NewName);
    void LoadColumnDetails(TbsShellFolder* Source, uintptr_t AViewHandle, int ColumnCount);
    // 1-based; raises "%s: Missing call to LoadColumnDetails" before any load.
    std::string DetailText(int Index) const;

private:
    TItemIdPtr FPIDL;
    TItemIdPtr FFullPIDL;
    TbsShellFolder* FParent = nullptr;
    TShellFolderPtr FIShellFolder;
    TShellFolderPtr FIShellFolder2;
    bool FDetailChosen = false;
    int FLevel = 0;
    uintptr_t FViewHandle = 0;
    std::vector<std::string> FDetails;
};

// The desktop item, made at first use and kept for the process.
TbsShellFolder* DesktopFolder();
// A new item for an absolute id, with the desktop item as parent.
std::unique_ptr<TbsShellFolder> FolderFromAbsoluteId(PCItemIDList Id);
// A new item for a Root text (a root-folder name or a path). On success OldFolder is freed;
// on failure Root := OldRoot and rtl::Exception "Error setting path: \"<Root>\"" is raised,
// OldFolder kept.
std::unique_ptr<TbsShellFolder> RootFolderFromText(std::unique_ptr<TbsShellFolder>& OldFolder,
                                                   const TRoot& OldRoot, TRoot& Root);
// The absolute id of a path, or EInvalidPath "Error setting path: \"<path>\"".
TItemIdPtr ParsePathOrRaise(const std::string& Path);

// The context menu of Folder at client point (X, Y) of Control: a skinned popup of Control's
// form offering 打开 and 重命名; none without a form skin component.
void ShowShellContextMenu(vcl::TWinControl* Control, TbsShellFolder* Folder, int X, int Y);
// What a chosen verb does: the handler's ExecuteCommand, the namespace's command unless handled,
// then the handler's CommandCompleted.
void RunShellVerb(vcl::TWinControl* Control, TbsShellFolder* Folder, const std::string& Verb);
// The namespace's own command for a verb: "open" opens, "delete" deletes a file or an empty
// folder; others do nothing. True on success.
bool InvokeShellVerb(TbsShellFolder* Folder, const std::string& Verb);

}  // namespace skin
