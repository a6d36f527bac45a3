#include "skin/lists/custom_edit.h"

#include <array>
#include <string_view>

#include "platform/gfx/dc.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/messages.h"
#include "platform/win/win.h"
#include "skin/controls/drop_down_client.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_messages.h"

namespace skin {

namespace {

char32_t gDecimalSeparator = U'.';

// The context menu's rows: text-table key, built-in caption.
struct TMenuRow {
    std::string_view Key;
    std::string_view Caption;
};
constexpr std::array<TMenuRow, 8> kMenuRows{{
    {"EDIT_UNDO", "Undo"},
    {"", "-"},
    {"EDIT_CUT", "Cut"},
    {"EDIT_COPY", "Copy"},
    {"EDIT_PASTE", "Paste"},
    {"EDIT_DELETE", "Delete"},
    {"", "-"},
    {"EDIT_SELECTALL", "Select All"},
}};

}  // namespace

void InstallDropDownControlTest() {
    static const bool installed = [] {
        SetDropDownControlTest([](const vcl::TComponent* component) {
            return dynamic_cast<const TbsDropDownClient*>(component) != nullptr;
        });
        return true;
    }();
    (void)installed;
}

char32_t DecimalSeparator() {
    return gDecimalSeparator;
}

void SetDecimalSeparator(char32_t value) {
    gDecimalSeparator = value;
}

// ---- TbsCustomEdit ------------------------------------------------------------------------------

TbsCustomEdit::TbsCustomEdit(vcl::TComponent* AOwner) : vcl::TCustomMaskEdit(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csOpaque);
}

TbsCustomEdit::~TbsCustomEdit() {
    if (FSysPopupMenu) {
        TbsSkinPopupMenu* menu = FSysPopupMenu;
        FSysPopupMenu = nullptr;
        menu->Free();
    }
}

void TbsCustomEdit::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSysPopupMenu) FSysPopupMenu = nullptr;
}

void TbsCustomEdit::SetEditTransparent(bool value) {
    FEditTransparent = value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsCustomEdit::CreateParams(vcl::TCreateParams& Params) {
    vcl::TCustomMaskEdit::CreateParams(Params);
    Params.Style &= ~win::WS_BORDER;
    Params.ExStyle &= ~win::WS_EX_CLIENTEDGE;
    if (FEditTransparent) Params.ExStyle |= win::WS_EX_TRANSPARENT;
    // One line on purpose, also without a password character: a multi-line window would let a
    // line break into a file name. The formatting rectangle works in both modes here.
    if (PasswordChar()) Params.Style |= vcl::ES_PASSWORD;
}

void TbsCustomEdit::Invalidate() {
    if (!FEditTransparent) {
        vcl::TCustomMaskEdit::Invalidate();
        return;
    }
    if (!Parent() || !HandleAllocated() || !Parent()->HandleAllocated()) return;
    const TRect c = ClientRect();
    TPoint corners[2] = {ClientToScreen({c.Left, c.Top}), ClientToScreen({c.Right, c.Bottom})};
    corners[0] = Parent()->ScreenToClient(corners[0]);
    corners[1] = Parent()->ScreenToClient(corners[1]);
    const TRect r{corners[0].X, corners[0].Y, corners[1].X, corners[1].Y};
    win::InvalidateRect(Parent()->Handle(), &r, true);
    win::RedrawWindow(Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_FRAME);
}

void TbsCustomEdit::Change() {
    vcl::TCustomMaskEdit::Change();
    if (FEditTransparent) Invalidate();
}

void TbsCustomEdit::EnterOrEscape(vcl::TMessage& Message) {
    char32_t copy = char32_t(Message.WParam);
    if (OnKeyPress) OnKeyPress(this, copy);
    if (vcl::TCustomForm* form = vcl::GetParentForm(this))
        form->Perform(vcl::CM_DIALOGKEY, Message.WParam, Message.LParam);
    Message.Result = 0;
}

void TbsCustomEdit::Dispatch(vcl::TMessage& Message) {
    using namespace win;
    const bool transparent = FEditTransparent;
    switch (Message.Msg) {
        case WM_SETFONT:
            vcl::TCustomMaskEdit::Dispatch(Message);
            Perform(vcl::EM_SETMARGINS, vcl::EC_LEFTMARGIN | vcl::EC_RIGHTMARGIN, MAKELPARAM(2, 0));
            return;
        case WM_GETDLGCODE:
            // Enter and Esc come as characters, as to a multi-line edit, and go to the form here.
            vcl::TCustomMaskEdit::Dispatch(Message);
            Message.Result |= DLGC_WANTALLKEYS;
            return;
        case WM_CHAR:
            if (Message.WParam == 13 || Message.WParam == 27) {
                EnterOrEscape(Message);
                return;
            }
            if (FReadOnly) return;
            vcl::TCustomMaskEdit::Dispatch(Message);
            return;
        case vcl::CN_CTLCOLOREDIT:
        case vcl::CN_CTLCOLORSTATIC: {
            if (!transparent) break;
            const auto dc = ParamToDc(Message.WParam);
            gfx::SetBkMode(dc, gfx::TRANSPARENT);
            gfx::SetTextColor(dc, Font().Color());
            static gfx::TLogBrush nullBrush{gfx::BS_NULL, gfx::clWhite};
            Message.Result = PtrToParam(&nullBrush);
            return;
        }
        case WM_ERASEBKGND:
            if (!transparent) break;
            Invalidate();
            Message.Result = 1;
            return;
        case WM_KEYDOWN:
            if (FReadOnly && Message.WParam == VK_DELETE) return;
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (transparent) Invalidate();
            return;
        case WM_SETTEXT:
        case WM_MOVE:
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (transparent) Invalidate();
            return;
        case WM_CUT:
        case WM_PASTE:
        case vcl::WM_CLEAR:
        case WM_UNDO:
        case vcl::EM_UNDO:
            if (FReadOnly) return;
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (transparent) Invalidate();
            return;
        case WM_CONTEXTMENU:
            ShowSysPopupMenu(Message);
            return;
        case WM_LBUTTONDOWN:
            vcl::TCustomMaskEdit::Dispatch(Message);
            FDown = true;
            if (transparent) Invalidate();
            return;
        case WM_MOUSEMOVE:
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (FDown && transparent) Invalidate();
            return;
        case WM_LBUTTONUP:
            vcl::TCustomMaskEdit::Dispatch(Message);
            FDown = false;
            return;
        case WM_SETFOCUS:
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (transparent) Invalidate();
            if (AutoSelect()) SelectAll();
            return;
        case WM_KILLFOCUS:
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (transparent) Invalidate();
            return;
        case vcl::CM_CANCELMODE:
            vcl::TCustomMaskEdit::Dispatch(Message);
            if (OnEditCancelMode) {
                const TbsOnEditCancelMode handler = OnEditCancelMode;
                handler(reinterpret_cast<vcl::TControl*>(Message.LParam));
            }
            return;
        case WM_AFTERDISPATCH:
            if (FSysPopupMenu) {
                TbsSkinPopupMenu* menu = FSysPopupMenu;
                FSysPopupMenu = nullptr;
                menu->Free();
            }
            return;
        default:
            break;
    }
    vcl::TCustomMaskEdit::Dispatch(Message);
}

void TbsCustomEdit::ShowSysPopupMenu(vcl::TMessage& Message) {
    if (PopupMenu()) {
        vcl::TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (FSysPopupMenu) {
        TbsSkinPopupMenu* old = FSysPopupMenu;
        FSysPopupMenu = nullptr;
        old->Free();
    }
    FSysPopupMenu = new TbsSkinPopupMenu(this);
    vcl::TCustomForm* form = vcl::GetParentForm(this);
    if (form && form->FormStyle() == vcl::fsMDIChild && vcl::Application)
        FSysPopupMenu->ComponentForm = vcl::Application->MainForm();
    else
        FSysPopupMenu->ComponentForm = form;

    TbsResourceStrData* table = nullptr;
    if (form)
        if (TbsSkinMenuHost* host = FindSkinMenuHost(form))
            if (TbsSkinData* sd = host->MenuHostSkinData()) table = sd->ResourceStrData();

    const int selStart = SelStart(), selEnd = SelStart() + SelLength();
    const int length = int(gfx::DecodeUtf8(Text()).size());
    const bool selection = selStart < selEnd;
    const auto clip = win::GetClipboardText();
    const bool clipboard = clip && !clip->empty();
    const bool everything = selStart == 0 && selEnd == length;
    const std::array<bool, 8> enabled{CanUndo(),
                                      true,
                                      selection && !FReadOnly,
                                      selection,
                                      clipboard && !FReadOnly,
                                      selection && !FReadOnly,
                                      true,
                                      !everything};
    const std::array<vcl::TNotifyEvent, 8> actions{
        [this](vcl::TObject*) { Undo(); },
        nullptr,
        [this](vcl::TObject*) { CutToClipboard(); },
        [this](vcl::TObject*) { CopyToClipboard(); },
        [this](vcl::TObject*) { PasteFromClipboard(); },
        [this](vcl::TObject*) { ClearSelection(); },
        nullptr,
        [this](vcl::TObject*) { SelectAll(); },
    };
    for (std::size_t i = 0; i < kMenuRows.size(); ++i) {
        auto* item = new vcl::TMenuItem(FSysPopupMenu);
        const TMenuRow& row = kMenuRows[i];
        if (row.Key.empty())
            item->SetCaption(std::string(row.Caption));
        else
            item->SetCaption(table ? table->GetResStr(row.Key) : std::string(row.Caption));
        item->SetEnabled(enabled[i]);
        item->OnClick = actions[i];
        FSysPopupMenu->Items()->Add(item);
    }

    TPoint at = win::PointFromParam(Message.LParam);
    if (at.X < 0 || at.Y < 0) {
        const TPoint origin = ClientToScreen({0, 0});
        at = {origin.X + Width() / 2, origin.Y + Height() / 2};
    }
    FSysPopupMenu->Popup2(this, at.X, at.Y);
    Message.Result = 1;
}

// ---- TbsSkinNumEdit -----------------------------------------------------------------------------

TbsSkinNumEdit::TbsSkinNumEdit(vcl::TComponent* AOwner) : TbsCustomEdit(AOwner) {}

void TbsSkinNumEdit::KeyDown(int& Key, vcl::TShiftState Shift) {
    if (Key == win::VK_UP) {
        if (OnUpClick) OnUpClick(this);
        return;
    }
    if (Key == win::VK_DOWN) {
        if (OnDownClick) OnDownClick(this);
        return;
    }
    TbsCustomEdit::KeyDown(Key, Shift);
}

bool TbsSkinNumEdit::IsValidChar(char32_t Key) const {
    const bool control = Key < 32 && Key != 13;
    bool ok = control || Key == U'-' || (Key >= U'0' && Key <= U'9');
    // The decimal separator joins the byte-sized set by its low byte.
    if (Float && !ok && Key <= 255) ok = Key == (DecimalSeparator() & 0xFF);
    if (!ok) return false;
    if (!FEditorEnabled && (Key >= 32 || Key == 8 || Key == U'.')) return false;
    const std::u32string text = gfx::DecodeUtf8(Text());
    if (Key == DecimalSeparator() && text.find(DecimalSeparator()) != std::u32string::npos)
        return false;
    if (Key == U'-' && text.find(U'-') != std::u32string::npos) return false;
    return true;
}

void TbsSkinNumEdit::KeyPress(char32_t& Key) {
    if (!IsValidChar(Key)) {
        Key = 0;
        win::MessageBeep(0);
    }
    if (Key != 0) TbsCustomEdit::KeyPress(Key);
}

void TbsSkinNumEdit::Dispatch(vcl::TMessage& Message) {
    switch (Message.Msg) {
        case win::WM_MOUSEWHEEL:
            if (std::int32_t(Message.WParam) > 0) {
                if (OnDownClick) OnDownClick(this);
            } else if (OnUpClick) {
                OnUpClick(this);
            }
            return;
        case vcl::CM_MOUSEENTER:
            TbsCustomEdit::Dispatch(Message);
            if (OnMouseEnter) OnMouseEnter(this);
            return;
        case vcl::CM_MOUSELEAVE:
            TbsCustomEdit::Dispatch(Message);
            if (OnMouseLeave) OnMouseLeave(this);
            return;
        default:
            TbsCustomEdit::Dispatch(Message);
    }
}

}  // namespace skin
