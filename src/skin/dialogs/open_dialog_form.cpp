#include "skin/dialogs/open_dialog_form.h"

#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "platform/vcl/menus.h"
#include "skin/controls/bars.h"
#include "skin/controls/bevel.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/panels.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/dialog_support.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/dialogs/path_routines.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/skin_form.h"
#include "skin/lists/skin_edit.h"
#include "skin/menus/skin_menu.h"

namespace skin {

namespace {

template <class T>
T* MakeChild(vcl::TComponent* owner, vcl::TWinControl* parent) {
    auto* c = new T(owner);
    c->SetParent(parent);
    return c;
}

}  // namespace

TbsOpenDlgForm::TbsOpenDlgForm(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {}

TbsOpenDlgForm* TbsOpenDlgForm::CreateEx(vcl::TComponent* AOwner, bool ASaveMode,
                                         TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent) {
    auto* f = new TbsOpenDlgForm(AOwner);
    f->FSaveMode = ASaveMode;
    f->CtrlSD = ACtrlSkinData;
    f->BuildControls(AToolButtonsTransparent);
    return f;
}

void TbsOpenDlgForm::BuildControls(bool AToolButtonsTransparent) {
    SetPosition(vcl::poScreenCenter);
    BSF = new TbsSkinForm(this);
    auto text = [this](const char* key, const char* builtIn) {
        return DialogText(CtrlSD, key, builtIn);
    };

    ToolPanel = MakeChild<TbsSkinToolBar>(this, this);
    ToolPanel->SetAlign(vcl::alTop);
    ToolPanel->SetBorderStyle(bvNone);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetSkinDataName("toolpanel");

    auto spacer = [this](vcl::TAlign align) {
        auto* gap = new TbsSkinBevel(this);
        gap->SetBounds(kAppendToBar, 0, 10, 25);
        gap->SetShape(vcl::bsSpacer);
        gap->SetAlign(align);
        gap->SetParent(ToolPanel);
    };
    spacer(vcl::alLeft);
    Drivelabel = new TbsSkinStdLabel(this);
    Drivelabel->SetLeft(kAppendToBar);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetLayout(vcl::tlCenter);
    Drivelabel->SetAlign(vcl::alLeft);
    Drivelabel->SetCaption(text("FLV_LOOKIN", "Look in: "));
    Drivelabel->SetParent(ToolPanel);

    ShellBox = MakeChild<TbsSkinShellComboBox>(this, ToolPanel);
    ShellBox->SetWidth(190);
    ShellBox->SetAlign(vcl::alClient);
    ShellBox->SetDropDownCount(10);

    auto toolButton = [&](TbsSkinSpeedButton* b, const char* glyph, const std::string& hint) {
        b->SetBounds(kAppendToBar, 0, b->Width(), 25);
        b->SetAlign(vcl::alRight);
        b->SetDefaultHeight(25);
        b->SetHint(hint);
        b->SetShowHint(true);
        b->SetFlat(AToolButtonsTransparent);
        LoadDialogGlyph(b, glyph);
        b->SetParent(ToolPanel);
    };
    auto speedButton = [&](TbsSkinSpeedButton*& b, const char* glyph, const char* key,
                           const char* builtIn, void (TbsOpenDlgForm::*handler)(vcl::TObject*)) {
        b = new TbsSkinSpeedButton(this);
        b->SetDefaultWidth(27);
        b->SetSkinDataName("toolbutton");
        toolButton(b, glyph, text(key, builtIn));
        b->OnClick = [this, handler](vcl::TObject* s) { (this->*handler)(s); };
    };
    speedButton(BackToolButton, "BS_BACK", "MSG_BTN_BACK_HINT", "Go To Last Folder Visited",
                &TbsOpenDlgForm::BackToolButtonClick);
    speedButton(UpToolButton, "BS_UP", "MSG_BTN_UP_HINT", "Up One Level",
                &TbsOpenDlgForm::UpToolButtonClick);
    speedButton(NewFolderToolButton, "BS_NEWFOLDER", "MSG_BTN_NEWFOLDER_HINT", "Create New Folder",
                &TbsOpenDlgForm::NewFolderToolButtonClick);
    spacer(vcl::alRight);

    StylePopupMenu = new TbsSkinPopupMenu(this);
    auto styleItem = [&](vcl::TMenuItem*& item, const char* key, const char* builtIn,
                         void (TbsOpenDlgForm::*handler)(vcl::TObject*)) {
        item = new vcl::TMenuItem(this);
        item->SetCaption(text(key, builtIn));
        item->SetRadioItem(true);
        item->OnClick = [this, handler](vcl::TObject* s) { (this->*handler)(s); };
        StylePopupMenu->Items()->Add(item);
    };
    styleItem(IconMenuItem, "MSG_LV_ICON", "Large icons", &TbsOpenDlgForm::IconItemClick);
    styleItem(SmallIconMenuItem, "MSG_LV_SMALLICON", "Small icons",
              &TbsOpenDlgForm::SmallIconItemClick);
    styleItem(ListMenuItem, "MSG_LV_LIST", "List", &TbsOpenDlgForm::ListItemClick);
    styleItem(ReportMenuItem, "MSG_LV_DETAILS", "Details", &TbsOpenDlgForm::ReportItemClick);
    StyleToolButton = new TbsSkinMenuSpeedButton(this);
    StyleToolButton->SetDefaultWidth(37);
    StyleToolButton->SetSkinDataName("toolmenubutton");
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
    toolButton(StyleToolButton, "BS_LVSTYLE", text("MSG_BTN_VIEWMENU_HINT", "View Menu"));

    BottomPanel = MakeChild<TbsSkinPanel>(this, this);
    BottomPanel->SetAlign(vcl::alBottom);
    BottomPanel->SetBorderStyle(bvNone);
    BottomPanel->SetHeight(80);

    FileListViewPanel = MakeChild<TbsSkinPanel>(this, this);
    FileListViewPanel->SetAlign(vcl::alClient);
    FileListViewPanel->SetBorderStyle(bvFrame);

    FLVHScrollBar = MakeChild<TbsSkinScrollBar>(this, FileListViewPanel);
    FLVHScrollBar->SetAlign(vcl::alBottom);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetEnabled(false);
    FLVHScrollBar->SetSkinDataName("hscrollbar");

    FLVVScrollBar = new TbsSkinScrollBar(this);
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetAlign(vcl::alRight);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetEnabled(false);
    FLVVScrollBar->SetSkinDataName("vscrollbar");

    FileListView = MakeChild<TbsSkinFileListView>(this, FileListViewPanel);
    FileListView->SetAlign(vcl::alClient);
    FileListView->SetViewStyle(vcl::vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->SetShellComboBox(ShellBox);
    ShellBox->SetShellListView(FileListView);
    FileListView->OnChange = [this](vcl::TObject* s) { FLVChange(s); };
    FileListView->OnPathChanged = [this](vcl::TObject* s) { FLVPathChange(s); };
    FileListView->OnDblClick = [this](vcl::TObject* s) { FLVDBLClick(s); };
    FileListView->OnKeyPress = [this](vcl::TObject* s, char32_t& key) { FLVKeyPress(s, key); };

    const int w = ClientWidth();
    auto label = [&](TbsSkinStdLabel*& l, int top, const std::string& caption) {
        l = MakeChild<TbsSkinStdLabel>(this, BottomPanel);
        l->SetAutoSize(true);
        l->SetLeft(10);
        l->SetTop(top);
        l->SetCaption(caption);
    };
    label(OpenFileLabel, 10, text("MSG_FILENAME", "File name:"));
    label(FileTypeLabel, 45, text("MSG_FILETYPE", "File type:"));
    const vcl::TAnchors stretch{vcl::akLeft, vcl::akTop, vcl::akRight};
    FileNameEdit = MakeChild<TbsSkinEdit>(this, BottomPanel);
    FileNameEdit->SetBounds(70, 10, w - 160, 21);
    FileNameEdit->SetDefaultHeight(21);
    FileNameEdit->SetAnchors(stretch);
    FileNameEdit->OnKeyPress = [this](vcl::TObject* s, char32_t& key) { EditKeyPress(s, key); };
    FilterComboBox = MakeChild<TbsSkinFilterComboBox>(this, BottomPanel);
    FilterComboBox->SetBounds(70, 45, w - 160, 21);
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetAnchors(stretch);
    FilterComboBox->OnChange = [this](vcl::TObject* s) { FCBChange(s); };

    const vcl::TAnchors follow{vcl::akTop, vcl::akRight};
    OpenButton = MakeChild<TbsSkinButton>(this, BottomPanel);
    OpenButton->SetCaption(FSaveMode ? text("MSG_BTN_SAVE", "&Save")
                                     : text("MSG_BTN_OPEN", "&Open"));
    OpenButton->SetCanFocused(true);
    OpenButton->SetBounds(w - 80, 10, 70, 25);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetAnchors(follow);
    OpenButton->OnClick = [this](vcl::TObject* s) { OpenButtonClick(s); };
    CancelButton = MakeChild<TbsSkinButton>(this, BottomPanel);
    CancelButton->SetCaption(text("MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetBounds(w - 80, 45, 70, 25);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetAnchors(follow);
    CancelButton->SetModalResult(vcl::mrCancel);
    CancelButton->SetCancel(true);

    SetActiveControl(FileNameEdit);
    OnFolderChange = nullptr;
    CheckFileExists = true;
}

// --- Choosing ----------------------------------------------------------------------------------

std::string TbsOpenDlgForm::FolderPrefix() {
    return sys::IncludeTrailingPathDelimiter(FileListView->Path());
}

std::string TbsOpenDlgForm::FilterExtension() {
    const std::string mask = FilterComboBox->Mask();
    if (mask.find(".*") != std::string::npos) return "";
    return sys::ExtractFileExt(rtl::Trim(mask.substr(0, mask.find(';'))));
}

std::string TbsOpenDlgForm::DefaultExtension() {
    return DefaultExt.empty() ? FilterExtension() : "." + DefaultExt;
}

std::string TbsOpenDlgForm::ExistingFile(const std::string& path) {
    if (sys::FileExists(path)) return path;
    // Names are case-sensitive here: a lone file differing only in ASCII case is the one meant.
    const std::string folder = sys::ExtractFilePath(path);
    const std::string wanted = rtl::LowerCase(sys::ExtractFileName(path));
    std::vector<sys::TDirEntry> entries;
    if (wanted.empty() || !sys::ListDirectory(folder, entries)) return "";
    std::string found;
    for (const sys::TDirEntry& e : entries) {
        if (e.Directory || rtl::LowerCase(e.Name) != wanted) continue;
        if (!found.empty()) return "";
        found = folder + e.Name;
    }
    return found;
}

std::string TbsOpenDlgForm::SaveName(const std::string& name) {
    if (!sys::ExtractFileExt(sys::ExtractFileName(name)).empty()) return name;
    const std::string ext = FilterExtension();
    if (!ext.empty()) return name + ext;
    return DefaultExt.empty() ? name : name + "." + DefaultExt;
}

bool TbsOpenDlgForm::MayOverwrite(const std::string& name) {
    if (!FSaveMode || !OverwritePromt || !sys::FileExists(name)) return true;
    auto* box = new TbsSkinMessage(this);
    struct TFree {
        TbsSkinMessage* Box;
        ~TFree() { Box->Free(); }
    } freeIt{box};
    box->SetSkinData(BSF->SkinData());
    box->SetCtrlSkinData(CtrlSD);
    const std::string question =
        DialogText(CtrlSD, "MSG_OVERWRITE", "Do you want to overwrite old file?");
    return box->MessageDlg(question, vcl::mtWarning, {vcl::mbOK, vcl::mbCancel}, 0) == vcl::mrOk;
}

void TbsOpenDlgForm::CloseWith(const std::string& name) {
    FileName = name;
    SetModalResult(vcl::mrOk);
}

void TbsOpenDlgForm::OpenButtonClick(vcl::TObject*) {
    const std::string selected = FileListView->GetSelectedFile();
    const std::string typed = FileNameEdit->Text();
    if (typed.empty()) return;
    if (FSaveMode) {
        if (typed.find('*') != std::string::npos) return;
        // One final name, asked about and reported alike.
        const std::string name = SaveName(FolderPrefix() + typed);
        if (MayOverwrite(name)) CloseWith(name);
        return;
    }
    if (!selected.empty()) {
        if (!CheckFileExists || sys::FileExists(selected)) CloseWith(selected);
        return;
    }
    std::string candidate = FolderPrefix() + typed;
    if (sys::ExtractFileExt(sys::ExtractFileName(candidate)).empty())
        candidate += DefaultExtension();
    if (!CheckFileExists) {
        CloseWith(candidate);
        return;
    }
    const std::string found = ExistingFile(candidate);
    if (!found.empty()) CloseWith(found);
}

void TbsOpenDlgForm::FLVDBLClick(vcl::TObject*) {
    const std::string selected = FileListView->GetSelectedFile();
    if (selected.empty()) return;
    if (MayOverwrite(selected)) CloseWith(selected);
}

void TbsOpenDlgForm::FLVKeyPress(vcl::TObject* Sender, char32_t& Key) {
    if (Key == U'\r' && !FileListView->GetSelectedFile().empty()) OpenButtonClick(Sender);
}

void TbsOpenDlgForm::EditKeyPress(vcl::TObject* Sender, char32_t& Key) {
    if (Key != U'\r') return;
    const std::string typed = FileNameEdit->Text();
    if (typed.find('*') != std::string::npos) {
        FileListView->SetMask(typed);
    } else if (typed.find('/') != std::string::npos) {
        if (IsDirectoryPath(typed)) FileListView->SetPath(typed);
    } else {
        OpenButtonClick(Sender);
    }
}

void TbsOpenDlgForm::FCBChange(vcl::TObject*) {
    FileListView->SetMask(FilterComboBox->Mask());
    if (!FSaveMode) return;
    const std::string ext = FilterExtension();
    const std::string typed = FileNameEdit->Text();
    if (ext.empty() || typed.empty()) return;
    FileNameEdit->SetText(sys::ChangeFileExt(typed, ext));
}

void TbsOpenDlgForm::FLVChange(vcl::TObject*) {
    const std::string selected = FileListView->GetSelectedFile();
    if (!selected.empty()) FileNameEdit->SetText(sys::ExtractFileName(selected));
    if (OnFolderChange) OnFolderChange(this);
}

// --- Folders -----------------------------------------------------------------------------------

void TbsOpenDlgForm::InitHistory() {
    if (TbsShellFolder* folder = FileListView->RootFolder())
        FolderHistory.push_back(shell::ItemIdListCopy(folder->AbsoluteID()));
}

void TbsOpenDlgForm::FLVPathChange(vcl::TObject*) {
    if (!StopAddToHistory) InitHistory();
    if (FileListView->Items().Count() > 0) FileListView->Items().Item(0)->SetFocused(true);
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::BackToolButtonClick(vcl::TObject*) {
    if (FolderHistory.size() < 2) return;
    StopAddToHistory = true;
    struct TRestore {
        bool& Flag;
        ~TRestore() { Flag = false; }
    } restore{StopAddToHistory};
    FileListView->FollowItemId(FolderHistory[FolderHistory.size() - 2].get());
    FolderHistory.pop_back();
}

void TbsOpenDlgForm::UpToolButtonClick(vcl::TObject*) {
    FileListView->Back();
}

void TbsOpenDlgForm::NewFolderToolButtonClick(vcl::TObject*) {
    const std::string folder = FileListView->Path();
    // Only a shown folder with a file-system path gets a new folder: 计算机 has none.
    if (folder.empty() || folder.front() != '/') return;
    ++FNewFolderCount;
    std::string name = DialogText(CtrlSD, "MSG_NEWFOLDER", "New Folder");
    if (FNewFolderCount > 1) name += "(" + std::to_string(FNewFolderCount) + ")";
    const std::string full = JoinPath(folder, name);
    if (sys::DirectoryExists(full)) return;
    CreateDialogFolder(full);
    FileListView->Refresh();
    vcl::Application->ProcessMessages();
    for (int i = 0; i < FileListView->FolderCount(); ++i)
        if (FileListView->FolderAt(i)->DisplayName() == name) {
            FileListView->Items().Item(i)->EditCaption();
            break;
        }
}

void TbsOpenDlgForm::SetViewStyleItem(vcl::TMenuItem* item) {
    const std::pair<vcl::TMenuItem*, vcl::TViewStyle> styles[] = {
        {IconMenuItem, vcl::vsIcon},
        {SmallIconMenuItem, vcl::vsSmallIcon},
        {ListMenuItem, vcl::vsList},
        {ReportMenuItem, vcl::vsReport}};
    for (const auto& [menuItem, style] : styles) {
        menuItem->SetChecked(menuItem == item);
        if (menuItem == item) FileListView->SetViewStyle(style);
    }
}

void TbsOpenDlgForm::IconItemClick(vcl::TObject*) {
    SetViewStyleItem(IconMenuItem);
}
void TbsOpenDlgForm::SmallIconItemClick(vcl::TObject*) {
    SetViewStyleItem(SmallIconMenuItem);
}
void TbsOpenDlgForm::ListItemClick(vcl::TObject*) {
    SetViewStyleItem(ListMenuItem);
}
void TbsOpenDlgForm::ReportItemClick(vcl::TObject*) {
    SetViewStyleItem(ReportMenuItem);
}

}  // namespace skin
