#include "skin/dialogs/shell_folder.h"

#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/sys/launcher.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "skin/menus/skin_menu.h"

namespace skin {

namespace {

std::unique_ptr<TbsShellFolder>& DesktopSlot() {
    static std::unique_ptr<TbsShellFolder> desktop;
    return desktop;
}

std::string PathError(const std::string& path) {
    return rtl::Format("Error setting path: \"%s\"", path);
}

}  // namespace

TbsShellFolder::TbsShellFolder(TbsShellFolder* AParent, PCItemIDList ID, TShellFolderPtr SF)
    : FPIDL(shell::ItemIdListCopy(ID)), FParent(AParent), FIShellFolder(std::move(SF)) {
    if (AParent) {
        FFullPIDL = shell::ItemIdListJoin(AParent->AbsoluteID(), ID);
    } else {
        FFullPIDL = shell::ItemIdListJoin(shell::DesktopItemIdList().get(), ID);
        FParent = DesktopSlot().get();
    }
    for (TbsShellFolder* p = AParent; p; p = p->Parent())
        if (p->Parent()) ++FLevel;
}

TbsShellFolder::~TbsShellFolder() = default;

TShellFolderPtr TbsShellFolder::ShellFolder2() {
    if (!FDetailChosen && FIShellFolder) {
        FDetailChosen = true;
        FIShellFolder2 = FIShellFolder->HasDetails() ? FIShellFolder : nullptr;
    }
    return FIShellFolder2;
}

TShellFolderPtr TbsShellFolder::ParentShellFolder() const {
    if (FParent && FParent->ShellFolder()) return FParent->ShellFolder();
    return shell::DesktopShellFolder();
}

// Items with a parent ask it about their relative id; the others ask the desktop about the
// absolute one (the desktop item itself, and items whose parent has no folder object).
#define SKIN_SHELL_QUERY_ARGS                                                                   \
    (FParent && FParent->ShellFolder() ? FParent->ShellFolder() : shell::DesktopShellFolder()), \
        (FParent && FParent->ShellFolder() ? RelativeID() : AbsoluteID())

shell::TbsShellFolderProperties TbsShellFolder::Properties() const {
    return shell::ItemProperties(SKIN_SHELL_QUERY_ARGS);
}

shell::TbsShellFolderCapabilities TbsShellFolder::Capabilities() const {
    return shell::ItemCapabilities(SKIN_SHELL_QUERY_ARGS);
}

bool TbsShellFolder::SubFolders() const {
    return shell::ItemHasSubFolders(SKIN_SHELL_QUERY_ARGS);
}

bool TbsShellFolder::IsFolder() const {
    if (!shell::ItemIsFolder(SKIN_SHELL_QUERY_ARGS)) return false;
    return rtl::UpperCase(sys::ExtractFileExt(FullObjectName())) != ".ZIP";
}

std::string TbsShellFolder::DisplayName() const {
    return shell::ItemDisplayText(SKIN_SHELL_QUERY_ARGS, shell::SHGDN_INFOLDER);
}

#undef SKIN_SHELL_QUERY_ARGS

std::string TbsShellFolder::PathName() const {
    return shell::ItemDisplayText(shell::DesktopShellFolder(), AbsoluteID(),
                                  shell::SHGDN_FORPARSING);
}

std::string TbsShellFolder::FullObjectName() const {
    std::string path;
    if (!shell::SHGetPathFromIDList(AbsoluteID(), path)) return "";
    return path;
}

int TbsShellFolder::ImageIndex(bool LargeIcon) const {
    return shell::ShellIconIndex(AbsoluteID(), LargeIcon, false);
}

bool TbsShellFolder::ExecuteDefault() {
    const std::string path = FullObjectName();
    if (path.empty()) return false;
    sys::OpenDocument(path);
    return true;
}

bool TbsShellFolder::Rename(const std::string& NewName) {
    if (!Capabilities().Contains(shell::fcCanRename)) return false;
    TItemIdPtr newId;
    if (!ParentShellFolder()->SetNameOf(RelativeID(), NewName, newId))
        throw rtl::Exception(rtl::Format("Rename to %s failed", NewName));
    FPIDL = std::move(newId);
    FFullPIDL = FParent ? shell::ItemIdListJoin(FParent->AbsoluteID(), FPIDL.get())
                        : shell::ItemIdListCopy(FPIDL.get());
    return true;
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* Source, uintptr_t AViewHandle,
                                       int ColumnCount) {
    if (static_cast<int>(FDetails.size()) >= ColumnCount) return;
    FDetails.clear();
    FViewHandle = AViewHandle;
    if (!Source) return;
    if (TShellFolderPtr details = Source->ShellFolder2()) {
        for (int column = 1; column <= ColumnCount; ++column) {
            shell::TShellDetails cell;
            FDetails.push_back(details->GetDetailsOf(RelativeID(), column, cell)
                                   ? shell::ShellTextToString(cell.Str, RelativeID())
                                   : "");
        }
        return;
    }
    if (!Source->Properties().Contains(shell::fpFileSystem)) return;
    shell::TFindData find;
    if (!shell::ItemFindData(AbsoluteID(), find))
        throw EInvalidPath(rtl::Format(
            "Unable to retrieve folder details for \"%s\". Error code $%x", DisplayName(), 2));
    for (int column = 1; column <= ColumnCount; ++column) {
        switch (column) {
            case 1:
                FDetails.push_back(rtl::IntToStr(find.Size));
                break;
            case 2:
                FDetails.push_back(sys::ExtractFileExt(FullObjectName()));
                break;
            case 3:
                FDetails.push_back(find.Directory ? "-1" : rtl::IntToStr(find.WriteTime));
                break;
            case 4:
                FDetails.push_back(find.Directory ? "16" : "0");
                break;
            default:
                FDetails.push_back("");
                break;
        }
    }
}

std::string TbsShellFolder::DetailText(int Index) const {
    if (FDetails.empty())
        throw rtl::Exception(rtl::Format("%s: Missing call to LoadColumnDetails", DisplayName()));
    if (Index < 1 || Index > static_cast<int>(FDetails.size())) return "";
    return FDetails[Index - 1];
}

TbsShellFolder* DesktopFolder() {
    std::unique_ptr<TbsShellFolder>& slot = DesktopSlot();
    if (!slot) {
        TItemIdPtr desktop = shell::DesktopItemIdList();
        if (desktop)
            slot = std::make_unique<TbsShellFolder>(nullptr, desktop.get(),
                                                    shell::DesktopShellFolder());
    }
    return slot.get();
}

std::unique_ptr<TbsShellFolder> FolderFromAbsoluteId(PCItemIDList Id) {
    TShellFolderPtr folder = shell::BindChildShellFolder(shell::DesktopShellFolder(), Id);
    if (!folder && shell::ItemIdListIsEmpty(Id)) folder = shell::DesktopShellFolder();
    return std::make_unique<TbsShellFolder>(DesktopFolder(), Id, folder);
}

std::unique_ptr<TbsShellFolder> RootFolderFromText(std::unique_ptr<TbsShellFolder>& OldFolder,
                                                   const TRoot& OldRoot, TRoot& Root) {
    TItemIdPtr id;
    bool found = false;
    const int index = shell::RootFolderIndex(Root);
    if (index >= 0)
        found = shell::SHGetSpecialFolderLocation(shell::RootFolderCSIDL[index], id);
    else if (!Root.empty())
        found = shell::DesktopShellFolder()->ParseDisplayName(Root, id);
    if (!found) {
        const std::string message = PathError(Root);
        Root = OldRoot;
        throw rtl::Exception(message);
    }
    OldFolder.reset();
    return FolderFromAbsoluteId(id.get());
}

TItemIdPtr ParsePathOrRaise(const std::string& Path) {
    TItemIdPtr id;
    if (!shell::DesktopShellFolder()->ParseDisplayName(Path, id))
        throw EInvalidPath(PathError(Path));
    return id;
}

bool InvokeShellVerb(TbsShellFolder* Folder, const std::string& Verb) {
    if (!Folder) return false;
    if (rtl::SameText(Verb, "open")) return Folder->ExecuteDefault();
    if (rtl::SameText(Verb, "delete")) {
        const std::string path = Folder->FullObjectName();
        return !path.empty() && (sys::DeleteFile(path) || sys::RemoveDir(path));
    }
    return false;
}

void RunShellVerb(vcl::TWinControl* Control, TbsShellFolder* Folder, const std::string& Verb) {
    if (!Folder) return;
    auto* handler = dynamic_cast<IbsShellCommandHandler*>(Control);
    bool handled = false;
    bool succeeded = true;
    if (handler) handler->ExecuteCommand(Verb, handled);
    if (!handled) succeeded = InvokeShellVerb(Folder, Verb);
    if (handler) handler->CommandCompleted(Verb, succeeded);
}

void ShowShellContextMenu(vcl::TWinControl* Control, TbsShellFolder* Folder, int X, int Y) {
    if (!Control || !Folder) return;
    vcl::TCustomForm* form = vcl::GetParentForm(Control);
    if (!form || !FindSkinMenuHost(form)) return;
    // One menu per control, made at first use and owned by it.
    const std::string name = "ShellContextMenu";
    auto* menu = dynamic_cast<TbsSkinPopupMenu*>(Control->FindComponent(name));
    if (!menu) {
        menu = new TbsSkinPopupMenu(Control);
        menu->SetName(name);
        menu->ComponentForm = form;
        struct TVerb {
            const char* Caption;
            const char* Verb;
        };
        for (const TVerb& verb : {TVerb{"打开", "open"}, TVerb{"重命名", "rename"}}) {
            auto* item = new vcl::TMenuItem(menu);
            item->SetCaption(verb.Caption);
            const std::string name = verb.Verb;
            item->OnClick = [Control, name](vcl::TObject*) {
                // The view names the item the menu was opened for.
                auto* source = dynamic_cast<IbsShellContextSource*>(Control);
                if (source) RunShellVerb(Control, source->ContextFolder(), name);
            };
            menu->Items()->Add(item);
        }
    }
    const TPoint p = Control->ClientToScreen({X, Y});
    menu->Popup(p.X, p.Y);
}

}  // namespace skin
