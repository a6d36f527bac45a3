#include "skin/lists/combo_box.h"

#include <algorithm>

#include "platform/gfx/dc.h"
#include "platform/gfx/text.h"
#include "platform/sys/clock.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/messages.h"
#include "platform/win/win.h"
#include "skin/core/fades.h"
#include "skin/core/layered_windows.h"
#include "skin/core/system_routines.h"

namespace skin {

namespace {

constexpr std::uintptr_t kScrollTimer = 1;
constexpr win::UINT kScrollTimerMs = 25;
constexpr std::uint32_t kSearchPauseMs = 500;
constexpr std::uint32_t kCompletionPauseMs = 200;

std::uint32_t TickCount() {
    return std::uint32_t(sys::Clock().NowMicros() / 1000);
}

void Raise(const vcl::TNotifyEvent& event, vcl::TObject* sender) {
    if (!event) return;
    const vcl::TNotifyEvent handler = event;
    handler(sender);
}

// The platform list's prefix search (case-insensitive) from the item after `start`, wrapping.
int FindPrefix(vcl::TListBox* list, int start, const std::string& text) {
    const auto found =
        list->Perform(vcl::LB_FINDSTRING, win::WPARAM(start), win::PtrToParam(text.c_str()));
    return found < 0 ? -1 : int(found);
}

}  // namespace

// ---- TbsPopupListBox ----------------------------------------------------------------------------

TbsPopupListBox::TbsPopupListBox(vcl::TComponent* AOwner) : TbsPopupList(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csAcceptsControls + vcl::csReplicatable);
}

void TbsPopupListBox::PopupFadeIn(TbsSkinCustomComboBox& combo, win::HWND h) {
    const int target = combo.AlphaBlendValue();
    // A handler run between the steps may hide or free the popup (and the combo with it): the
    // fade watches its own window and stops when it is gone or hidden.
    auto alive = [h] { return win::IsWindow(h) && win::IsWindowVisible(h); };
    vcl::Application->ProcessMessages();
    if (!alive()) return;
    FadeIn(target, FadeInStep(target), [h, alive](int alpha) {
        ApplyWindowAlpha(h, std::uint8_t(alpha));
        vcl::Application->ProcessMessages();
        return alive();
    });
}

// ---- construction -------------------------------------------------------------------------------

TbsSkinCustomComboBox::TbsSkinCustomComboBox(vcl::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner) {
    InstallDropDownControlTest();
    SetTabStop(true);
    SetControlStyle({vcl::csAcceptsControls, vcl::csCaptureMouse, vcl::csOpaque,
                     vcl::csDoubleClicks, vcl::csReplicatable});
    Font().SetName("Arial");
    Font().SetColor(gfx::clWindowText);
    Font().SetStyle(0);
    Font().SetHeight(14);
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TbsPopupListBox(this);
    FListBox->ListBox->SetTabStop(false);
    FListBox->OnListBoxMouseMove = [this](vcl::TObject*, vcl::TShiftState, int X, int Y) {
        ListBoxHotTrack(X, Y);
    };
    FListBoxWindowProc = FListBox->ListBox->WindowProc;
    FListBox->ListBox->WindowProc = [this](vcl::TMessage& m) { ListBoxWindowProcHook(m); };
    FListBox->OnCheckButtonClick = [this](vcl::TObject*) { CloseUp(true); };
    CalcRects();
    SetSkinDataName("combobox");
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
    StopTimer();
    FreeEditControl();
    TbsPopupListBox* list = FListBox;
    FListBox = nullptr;
    if (list) list->Free();
}

void TbsSkinCustomComboBox::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FListBox) {
        FListBox = nullptr;
    } else if (AComponent == FEdit) {
        FEdit = nullptr;
    } else if (FListBox && AComponent == FListBox->Images()) {
        FListBox->SetImages(nullptr);
    }
}

bool TbsSkinCustomComboBox::Loading() const {
    const vcl::TComponentState s = ComponentState();
    if (s.Contains(vcl::csLoading) || s.Contains(vcl::csDesigning)) return true;
    const vcl::TCustomForm* form = vcl::GetParentForm(this);
    return form && form->ComponentState().Contains(vcl::csLoading);
}

// ---- selection and text -------------------------------------------------------------------------

void TbsSkinCustomComboBox::RaiseClick() {
    Raise(OnClick, this);
    SelectionChanged();
}

void TbsSkinCustomComboBox::SetItemIndex(int value) {
    FListBox->SetItemIndex(value);
    const int index = FListBox->ItemIndex();
    if (Items().Count() > 0 && index != -1) SetText(Items()[index]);
    FOldItemIndex = FListBox->ItemIndex();
    if (!FEdit) Repaint();
    if (!Loading()) RaiseClick();
}

void TbsSkinCustomComboBox::EditChange() {
    FromEdit = true;
    const std::string text = FEdit->Text();
    if (FListBox && !text.empty()) {
        const int found = FindPrefix(FListBox->ListBox, -1, text);
        if (found >= 0) {
            if (FAutoComplete)
                FListBox->ListBox->Perform(vcl::LB_SETCURSEL, win::WPARAM(found));
            else
                FListBox->ListBox->Perform(vcl::LB_SETTOPINDEX, win::WPARAM(found));
        }
    }
    SetText(text);
    FromEdit = false;
}

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle value) {
    if (FStyle == value && ComponentState().Contains(vcl::csDesigning)) return;
    FStyle = value;
    if (value == bscbEditStyle) {
        // A second write keeps the edit there is (the older one would be lost otherwise).
        if (!FEdit) CreateEditControl();
        if (!ComponentState().Contains(vcl::csDesigning)) {
            if (TabStop()) {
                SetTabStop(false);
                FEdit->SetTabStop(true);
            } else {
                FEdit->SetTabStop(false);
            }
        }
        FEdit->SetText(Text());
        if (Focused() && FEdit->CanFocus()) FEdit->SetFocus();
    } else {
        FreeEditControl();
    }
    CalcRects();
    if (HandleAllocated()) RecreateWnd();
    Invalidate();
}

void TbsSkinCustomComboBox::CreateEditControl() {
    FEdit = FNumEdit ? new TbsSkinNumEdit(this) : new TbsCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetVisible(true);
    FEdit->SetEditTransparent(false);
    FEdit->OnChange = [this](vcl::TObject*) { EditChange(); };
    FEditWindowProc = FEdit->WindowProc;
    FEdit->WindowProc = [this](vcl::TMessage& m) { EditWindowProcHook(m); };
    FEdit->OnEditCancelMode = [this](vcl::TControl* C) { EditCancelMode(C); };
    FEdit->OnKeyDown = [this](vcl::TObject*, int& Key, vcl::TShiftState Shift) {
        if (OnKeyDown) OnKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](vcl::TObject*, char32_t& Key) {
        if (OnKeyPress) OnKeyPress(this, Key);
    };
    FEdit->OnKeyUp = [this](vcl::TObject*, int& Key, vcl::TShiftState Shift) {
        if (OnKeyUp) OnKeyUp(this, Key, Shift);
    };
    FEdit->SetCharCase(FCharCase);
    GetSkinData();
    if (FIndex == -1) {
        FEdit->Font().SetName(Font().Name());
        FEdit->Font().SetStyle(Font().Style());
        FEdit->Font().SetColor(Font().Color());
        FEdit->Font().SetHeight(Font().Height());
    } else {
        FEdit->Font().SetStyle(FontStyle);
        FEdit->Font().SetColor(FontColor);
        FEdit->Font().SetHeight(FontHeight);
        FEdit->Font().SetName(FontName);
    }
    FEdit->SetEditTransparent(FIndex != -1);
    CalcRects();
}

void TbsSkinCustomComboBox::FreeEditControl() {
    if (!FEdit) return;
    TbsCustomEdit* edit = FEdit;
    FEdit = nullptr;
    edit->SetVisible(false);
    edit->Free();
}

void TbsSkinCustomComboBox::SetCharCase(vcl::TEditCharCase value) {
    FCharCase = value;
    if (FEdit) FEdit->SetCharCase(value);
}

void TbsSkinCustomComboBox::SetDefaultColor(gfx::TColor value) {
    FDefaultColor = value;
    if (FIndex != -1) return;
    if (FEdit) FEdit->SetColor(value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool value) {
    if (FToolButtonStyle == value) return;
    FToolButtonStyle = value;
    if (value) {
        SetStyle(bscbFixedStyle);
        FUseSkinSize = false;
    }
    Repaint();
}

void TbsSkinCustomComboBox::SetImages(vcl::TCustomImageList* value) {
    FListBox->SetImages(value);
    if (value) value->FreeNotification(this);
    Repaint();
}

void TbsSkinCustomComboBox::SetImageIndex(int value) {
    FListBox->SetImageIndex(value);
    Repaint();
}

void TbsSkinCustomComboBox::SetOnListBoxDrawItem(TbsDrawSkinItemEvent value) {
    FOnListBoxDrawItem = value;
    FListBox->OnDrawItem = value;
}

void TbsSkinCustomComboBox::DefaultFontChanged() {
    Font().Assign(DefaultFont());
}

void TbsSkinCustomComboBox::Invalidate() {
    TbsSkinCustomControl::Invalidate();
    if (FIndex != -1 && FEdit) FEdit->Invalidate();
}

bool TbsSkinCustomComboBox::IsPopupVisible() const {
    return FListBox && FListBox->Visible();
}

bool TbsSkinCustomComboBox::CanCancelDropDown() const {
    return IsPopupVisible() && !FMouseIn;
}

bool TbsSkinCustomComboBox::EditFocused() const {
    return FEdit && FEdit->Focused();
}

// ---- drop-down and close-up ---------------------------------------------------------------------

void TbsSkinCustomComboBox::DropDown() {
    if (FListBox->Items().Count() == 0) return;
    WasInLB = false;
    StopTimer();
    Raise(OnDropDown, this);
    if (!FListBox) return;
    const int width = FListBoxWidth > 0 ? FListBoxWidth : Width();
    FListBox->SetBounds(FListBox->Left(), FListBox->Top(), width, FListBox->Height());
    FListBox->SetRowCount(std::min(FListBox->Items().Count(), FDropDownCount));
    const int height = FListBox->Height();
    TPoint p{Left(), Top() + Height()};
    if (Parent()) p = Parent()->ClientToScreen(p);
    TRect work;
    GetWindowMonitorRect(Handle(), true, work);
    if (p.Y + height > work.Bottom) p.Y = p.Y - Height() - height;
    FListBox->SetBounds(p.X, p.Y, width, height);
    if (FEdit && FEdit->CanFocus()) FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && FListBox->Items().Count() > 1) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->SetTopIndex(FListBox->ItemIndex());
    FListBox->SetSkinData(SkinData());
    FListBox->Show(p);
}

void TbsSkinCustomComboBox::CloseUp(bool Value) {
    StopTimer();
    if (!IsPopupVisible()) return;
    FListBox->Hide();
    const int index = FListBox->ItemIndex();
    if (Value && index >= 0 && index < FListBox->Items().Count()) {
        AcceptChoice();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (Value) Raise(OnCloseUp, this);
}

void TbsSkinCustomComboBox::AcceptChoice() {
    const std::string text = Items()[FListBox->ItemIndex()];
    if (FEdit) {
        FEdit->SetText(text);
        FEdit->SelectAll();
    } else {
        SetText(text);
        Repaint();
    }
    RaiseClick();
}

// ---- the popup's inner list ---------------------------------------------------------------------

void TbsSkinCustomComboBox::ListBoxWindowProcHook(vcl::TMessage& Message) {
    using namespace win;
    switch (Message.Msg) {
        case WM_MOUSEACTIVATE:
            Message.Result = MA_NOACTIVATE;
            break;
        case WM_LBUTTONDOWN:
            FLBDown = true;
            WasInLB = true;
            if (HandleAllocated()) SetCapture(Handle());
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return;
        default:
            break;
    }
    FListBoxWindowProc(Message);
}

void TbsSkinCustomComboBox::ListBoxHotTrack(int X, int Y) {
    const int i = FListBox->ItemAtPos({X, Y}, true);
    if (i >= 0 && i < FListBox->Items().Count()) FListBox->SetItemIndex(i);
}

// ---- mouse on the control -----------------------------------------------------------------------

void TbsSkinCustomComboBox::MouseDown(vcl::TMouseButton Btn, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (!FEdit && !Focused() && CanFocus()) SetFocus();
    if (Btn != vcl::mbLeft) return;
    if (Button.MouseIn || (CBItem.R.Contains(X, Y) && !FEdit) || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (IsPopupVisible()) {
            CloseUp(false);
        } else {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        }
    } else if (IsPopupVisible()) {
        CloseUp(false);
    }
}

void TbsSkinCustomComboBox::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FLBDown) {
        TrackListBoxDrag();
        return;
    }
    const bool in = Button.R.Contains(X, Y);
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Repaint();
    }
}

void TbsSkinCustomComboBox::MouseUp(vcl::TMouseButton Btn, vcl::TShiftState Shift, int X, int Y) {
    if (FLBDown && WasInLB) {
        win::ReleaseCapture();
        FLBDown = false;
        TPoint cursor;
        win::GetCursorPos(cursor);
        const win::HWND under = win::WindowFromPoint(cursor);
        CloseUp(FListBox->ListBox->HandleAllocated() && under == FListBox->ListBox->Handle());
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

void TbsSkinCustomComboBox::TrackListBoxDrag() {
    if (!IsPopupVisible()) return;
    TPoint cursor;
    win::GetCursorPos(cursor);
    vcl::TListBox* list = FListBox->ListBox;
    const TPoint p = list->ScreenToClient(cursor);
    const bool bar = FListBox->ScrollBar != nullptr;
    if (p.Y < 0 && bar && WasInLB) {
        if (TimerMode != 1) {
            TimerMode = 1;
            StartTimer();
        }
    } else if (p.Y > list->Height() && bar && WasInLB) {
        if (TimerMode != 2) {
            TimerMode = 2;
            StartTimer();
        }
    } else if (p.Y >= 0 && p.Y <= list->Height()) {
        StopTimer();
        ListBoxHotTrack(1, p.Y);
        WasInLB = true;
    }
}

void TbsSkinCustomComboBox::StartTimer() {
    if (!HandleAllocated()) return;
    win::KillTimer(Handle(), kScrollTimer);
    win::SetTimer(Handle(), kScrollTimer, kScrollTimerMs);
}

void TbsSkinCustomComboBox::StopTimer() {
    if (HandleAllocated()) win::KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

// ---- keys in the fixed style --------------------------------------------------------------------

void TbsSkinCustomComboBox::ComboUp(bool AChange) {
    const int i = FListBox->ItemIndex();
    if (i <= 0) return;
    if (AChange)
        SetItemIndex(i - 1);
    else
        FListBox->SetItemIndex(i - 1);
}

void TbsSkinCustomComboBox::ComboDown(bool AChange) {
    const int i = FListBox->ItemIndex();
    if (i >= FListBox->Items().Count() - 1) return;
    if (AChange)
        SetItemIndex(i + 1);
    else
        FListBox->SetItemIndex(i + 1);
}

void TbsSkinCustomComboBox::ComboPageUp(bool AChange) {
    const int i = std::max(0, FListBox->ItemIndex() - FDropDownCount - 1);
    if (AChange)
        SetItemIndex(i);
    else
        FListBox->SetItemIndex(i);
}

void TbsSkinCustomComboBox::ComboPageDown(bool AChange) {
    const int i =
        std::min(FListBox->Items().Count() - 1, FListBox->ItemIndex() + FDropDownCount - 1);
    if (AChange)
        SetItemIndex(i);
    else
        FListBox->SetItemIndex(i);
}

void TbsSkinCustomComboBox::KeyDown(int& Key, vcl::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    const bool alt = Shift.Contains(vcl::ssAlt);
    switch (Key) {
        case win::VK_RETURN:
            if (IsPopupVisible()) CloseUp(true);
            break;
        case win::VK_ESCAPE:
            if (IsPopupVisible()) CloseUp(false);
            break;
        case win::VK_PRIOR:
            ComboPageUp(true);
            break;
        case win::VK_NEXT:
            ComboPageDown(true);
            break;
        case win::VK_LEFT:
        case win::VK_UP:
            if (alt) {
                if (IsPopupVisible()) CloseUp(false);
            } else {
                ComboUp(true);
            }
            break;
        case win::VK_RIGHT:
        case win::VK_DOWN:
            if (alt) {
                if (!IsPopupVisible()) DropDown();
            } else {
                ComboDown(true);
            }
            break;
        default:
            break;
    }
}

int TbsSkinCustomComboBox::FindItem(const std::string& text) const {
    if (text.empty()) return -1;
    vcl::TListBox* list = FListBox->ListBox;
    if (gfx::DecodeUtf8(text).size() == 1) {
        // After the current item, then from the first, so a repeated letter steps on.
        const int found = FindPrefix(list, FListBox->ItemIndex(), text);
        return found;
    }
    return FindPrefix(list, -1, text);
}

void TbsSkinCustomComboBox::FindListItem(char32_t Key) {
    std::string text;
    if (FAutoComplete) {
        const std::uint32_t now = TickCount();
        if (now - FLastTime >= kSearchPauseMs) FFilter.clear();
        FLastTime = now;
        FFilter.push_back(Key);
        text = gfx::EncodeUtf8(FFilter);
    } else {
        text = gfx::EncodeUtf8(std::u32string(1, Key));
    }
    const int found = FindItem(text);
    if (found >= 0) SetItemIndex(found);
}

void TbsSkinCustomComboBox::KeyPress(char32_t& Key) {
    TbsSkinCustomControl::KeyPress(Key);
    FindListItem(Key);
}

// ---- the edit style -----------------------------------------------------------------------------

void TbsSkinCustomComboBox::EditUp(bool ATakeOver) {
    const int i = FListBox->ItemIndex();
    if (i <= 0) return;
    FListBox->SetItemIndex(i - 1);
    if (!ATakeOver) return;
    SetText(Items()[i - 1]);
    if (FEdit) FEdit->SelectAll();
    Raise(OnClick, this);
}

void TbsSkinCustomComboBox::EditDown(bool ATakeOver) {
    const int i = FListBox->ItemIndex();
    if (i >= FListBox->Items().Count() - 1) return;
    FListBox->SetItemIndex(i + 1);
    if (!ATakeOver) return;
    SetText(Items()[i + 1]);
    if (FEdit) FEdit->SelectAll();
    Raise(OnClick, this);
}

void TbsSkinCustomComboBox::AutoCompleteEdit() {
    const std::uint32_t now = TickCount();
    if (now - FLastTime <= kCompletionPauseMs) return;
    FLastTime = now;
    const std::string typed = Text();
    // Typing has already put the list on the first item that begins with the text; a single
    // character would otherwise step past it to the next one.
    const int current = FListBox->ItemIndex();
    int found = -1;
    if (current >= 0 && current < Items().Count() &&
        FindPrefix(FListBox->ListBox, current - 1, typed) == current)
        found = current;
    else
        found = FindItem(typed);
    if (found < 0) return;
    SetItemIndex(found);
    if (!FEdit) return;
    const int start = int(gfx::DecodeUtf8(typed).size());
    const int length = int(gfx::DecodeUtf8(FEdit->Text()).size());
    FEdit->SetSelStart(start);
    FEdit->SetSelLength(length - start);
}

void TbsSkinCustomComboBox::EditWindowProcHook(vcl::TMessage& Message) {
    using namespace win;
    const bool activeRecord = FIndex != -1 && !ActiveSkinRect.IsEmpty();
    switch (Message.Msg) {
        case WM_SETFOCUS:
            if (activeRecord) {
                FEdit->Font().SetColor(ActiveFontColor);
                Invalidate();
            }
            break;
        case WM_KILLFOCUS:
            if (IsPopupVisible()) CloseUp(false);
            if (activeRecord && FEdit) {
                FEdit->Font().SetColor(FontColor);
                Invalidate();
            }
            break;
        case WM_KEYDOWN:
            switch (Message.WParam) {
                case VK_RETURN:
                    if (IsPopupVisible()) CloseUp(true);
                    break;
                case VK_ESCAPE:
                    if (IsPopupVisible()) CloseUp(false);
                    break;
                case VK_PRIOR:
                    if (IsPopupVisible()) ComboPageUp(false);
                    break;
                case VK_NEXT:
                    if (IsPopupVisible()) ComboPageDown(false);
                    break;
                case VK_UP:
                    EditUp(true);
                    return;
                case VK_DOWN:
                    EditDown(true);
                    return;
                default:
                    break;
            }
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const int charset = int(TextCharset());
            const int key = int(Message.WParam);
            if (charset == 128 || charset == 134 || charset == 136) {
                if (key == VK_DELETE || key == VK_BACK) break;
                if (FEdit) FEdit->SetSelLength(0);
                FEditWindowProc(Message);
                if (FAutoComplete) AutoCompleteEdit();
                return;
            }
            if (Message.Msg == WM_KEYUP && key >= 48) {
                FEditWindowProc(Message);
                if (FAutoComplete) AutoCompleteEdit();
                return;
            }
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (IsPopupVisible()) CloseUp(false);
            break;
        case WM_MOUSEWHEEL:
            if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
                EditUp(!IsPopupVisible());
            else
                EditDown(!IsPopupVisible());
            break;
        default:
            break;
    }
    if (FEdit) FEditWindowProc(Message);
}

bool TbsSkinCustomComboBox::OwnsSender(vcl::TControl* C) const {
    if (!C) return false;
    return C == this || C == FListBox ||
           (FListBox &&
            (C == FListBox->ScrollBar || C == FListBox->HScrollBar || C == FListBox->ListBox));
}

void TbsSkinCustomComboBox::EditCancelMode(vcl::TControl* C) {
    if (!OwnsSender(C)) CloseUp(false);
}

// ---- messages -----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::Dispatch(vcl::TMessage& Message) {
    using namespace win;
    const bool activeRecord = FIndex != -1 && !ActiveSkinRect.IsEmpty();
    switch (Message.Msg) {
        case WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case WM_TIMER:
            TbsSkinCustomControl::Dispatch(Message);
            if (TimerMode == 1)
                ComboUp(false);
            else if (TimerMode == 2)
                ComboDown(false);
            return;
        case WM_SETFOCUS:
            if (FEdit) {
                if (FEdit->CanFocus()) FEdit->SetFocus();
                if (activeRecord) {
                    FEdit->Font().SetColor(ActiveFontColor);
                    Invalidate();
                }
                return;
            }
            TbsSkinCustomControl::Dispatch(Message);
            Repaint();
            return;
        case WM_KILLFOCUS:
            TbsSkinCustomControl::Dispatch(Message);
            if (!FEdit && IsPopupVisible()) CloseUp(false);
            Repaint();
            if (FEdit && activeRecord) {
                FEdit->Font().SetColor(FontColor);
                Invalidate();
            }
            return;
        case WM_SIZE:
            TbsSkinCustomControl::Dispatch(Message);
            CalcRects();
            return;
        case vcl::CM_MOUSEENTER:
        case vcl::CM_MOUSELEAVE:
            TbsSkinCustomControl::Dispatch(Message);
            FMouseIn = Message.Msg == vcl::CM_MOUSEENTER;
            if (FEdit && activeRecord && !FEdit->Focused()) {
                FEdit->Font().SetColor(FMouseIn ? ActiveFontColor : FontColor);
                Invalidate();
            }
            if (!FMouseIn && Button.MouseIn) {
                Button.MouseIn = false;
                Repaint();
            }
            if (activeRecord || FToolButtonStyle) Invalidate();
            return;
        case vcl::CM_ENABLEDCHANGED:
            TbsSkinCustomControl::Dispatch(Message);
            if (FEdit) {
                if (!Enabled())
                    FEdit->Font().SetColor(GetDisabledFontColor());
                else
                    FEdit->Font().SetColor(FIndex == -1 ? DefaultFont().Color() : FontColor);
            }
            Repaint();
            return;
        case vcl::CM_TEXTCHANGED:
            TbsSkinCustomControl::Dispatch(Message);
            if (FEdit && !FromEdit) FEdit->SetText(Text());
            Raise(OnChange, this);
            if (FromEdit) SelectionChanged();
            return;
        case vcl::CM_CANCELMODE:
            TbsSkinCustomControl::Dispatch(Message);
            if (!OwnsSender(reinterpret_cast<vcl::TControl*>(Message.LParam))) CloseUp(false);
            return;
        case vcl::CM_WANTSPECIALKEY: {
            TbsSkinCustomControl::Dispatch(Message);
            const int key = int(Message.WParam);
            if (key >= VK_LEFT && key <= VK_DOWN) Message.Result = 1;
            return;
        }
        case WM_MOUSEWHEEL:
            TbsSkinCustomControl::Dispatch(Message);
            if (FEdit) return;
            if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
                ComboUp(!IsPopupVisible());
            else
                ComboDown(!IsPopupVisible());
            return;
        default:
            TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---- skin ---------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* r =
        dynamic_cast<const TbsDataSkinComboBox*>(FSD->CtrlList[std::size_t(FIndex)].get());
    if (!r) return;
    CopyComboRecord(*r);
    ListBoxName = r->ListBoxName;
}

gfx::TFontCharset TbsSkinCustomComboBox::TextCharset() {
    if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->CharSet();
    return DefaultFont().Charset();
}

gfx::TColor TbsSkinCustomComboBox::GetDisabledFontColor() {
    if (FIndex == -1 || !FSD) return gfx::clGrayText;
    const int i = FSD->GetControlIndex("edit");
    if (i < 0) return gfx::clGrayText;
    if (const auto* r =
            dynamic_cast<const TbsDataSkinEditControl*>(FSD->CtrlList[std::size_t(i)].get()))
        return r->DisabledFontColor;
    return gfx::clGrayText;
}

void TbsSkinCustomComboBox::ApplyEditFont() {
    if (!FEdit) return;
    gfx::TFont& f = FEdit->Font();
    if (FIndex != -1 && UseSkinFont()) {
        f.SetStyle(FontStyle);
        f.SetHeight(FontHeight);
        f.SetName(FontName);
        f.SetColor(FontColor);
    } else {
        f.Assign(DefaultFont());
        if (FIndex != -1) f.SetColor(FontColor);
    }
    if (FIndex != -1 && !ActiveSkinRect.IsEmpty() && (FEdit->Focused() || FMouseIn))
        f.SetColor(ActiveFontColor);
    f.SetCharset(TextCharset());
    FEdit->SetEditTransparent(FIndex != -1);
    if (!Enabled()) f.SetColor(GetDisabledFontColor());
}

void TbsSkinCustomComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    ApplyEditFont();
    Repaint();
    FListBox->SetSkinDataName(FIndex != -1 ? ListBoxName : std::string());
    FListBox->SetSkinData(SkinData());
    FListBox->UpDateScrollBar();
    CalcRects();
    if (FEdit && FIndex != -1) {
        int w = Width(), h = Height();
        FitSkinSize(w, h);
        if (w != Width()) SetWidth(w);
        if (h != Height()) SetHeight(h);
    }
}

void TbsSkinCustomComboBox::FitSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize) {
        TbsSkinCustomControl::FitSkinSize(AWidth, AHeight);
        return;
    }
    const int dw = AWidth - SkinRect.Width();
    NewLTPoint = LTPt;
    NewRTPoint = TPoint{RTPt.X + dw, RTPt.Y};
    NewClRect = TRect{ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom};
}

void TbsSkinCustomComboBox::UpdateWindowRegion() {
    if (FUseSkinSize) {
        TbsSkinCustomControl::UpdateWindowRegion();
        return;
    }
    if (FRgn && HandleAllocated()) {
        win::SetWindowRgn(Handle(), std::nullopt, true);
        FRgn.reset();
    }
}

// ---- layout -------------------------------------------------------------------------------------

void TbsSkinCustomComboBox::CalcRects() {
    const int w = Width(), h = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = TRect{w - 19, 2, w - 2, h - 2};
        CBItem.R = TRect{2, 2, Button.R.Left - 1, h - 2};
    } else {
        const int dw = w - SkinRect.Width();
        Button.R = ButtonRect;
        if (ButtonRect.Left >= SkinRect.Width() - RTPt.X) {
            Button.R.Left += dw;
            Button.R.Right += dw;
        }
        CBItem.R = ClRect;
        CBItem.R.Right += dw;
        if (!FUseSkinSize) {
            const int dh = h - SkinRect.Height();
            Button.R.Bottom += dh;
            CBItem.R.Bottom += dh;
        }
    }
    if (FEdit) AdjustEditHeight();
}

void TbsSkinCustomComboBox::AdjustEditHeight() {
    const int height = vcl::LineHeightOf(FEdit->Font());
    const int top = CBItem.R.Top + CBItem.R.Height() / 2 - height / 2;
    FEdit->SetBounds(CBItem.R.Left, top, CBItem.R.Width(), height);
}

}  // namespace skin
