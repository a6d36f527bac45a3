#include "skin/lists/office_combo_box.h"

#include <algorithm>

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

}  // namespace

// ---- TbsPopupOfficeListBox ----------------------------------------------------------------------

void TbsPopupOfficeListBox::PopupFadeIn(TbsSkinCustomOfficeComboBox& combo, win::HWND h) {
    vcl::Application->ProcessMessages();
    // The message run may have closed us, or freed the combo with us.
    if (!Visible()) return;
    combo.FLBDown = false;
    const int target = combo.AlphaBlendValue();
    // Blocking on purpose: nothing may run between the steps of the fade.
    FadeIn(target, FadeInStep(target), [h](int alpha) {
        ApplyWindowAlpha(h, std::uint8_t(alpha));
        return true;
    });
}

// ---- TbsSkinCustomOfficeComboBox ----------------------------------------------------------------

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(vcl::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner) {
    SetControlStyle({vcl::csAcceptsControls, vcl::csCaptureMouse, vcl::csOpaque,
                     vcl::csDoubleClicks, vcl::csReplicatable});
    FListBox = new TbsPopupOfficeListBox(this);
    FListBoxWindowProc = FListBox->WindowProc;
    FListBox->WindowProc = [this](vcl::TMessage& m) { ListBoxWindowProcHook(m); };
    FListBox->SetMouseMoveChangeIndex(true);
    SetTabStop(true);
    SetSkinDataName("combobox");
    SetBounds(Left(), Top(), 120, 41);
    Font().Assign(DefaultFont());
    CalcRects();
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() {
    StopTimer();
    TbsPopupOfficeListBox* list = FListBox;
    FListBox = nullptr;
    if (list) list->Free();
}

void TbsSkinCustomOfficeComboBox::Notification(vcl::TComponent* AComponent,
                                               vcl::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FListBox) {
        FListBox = nullptr;
        return;
    }
    if (FListBox && AComponent == FListBox->Images()) FListBox->SetImages(nullptr);
}

bool TbsSkinCustomOfficeComboBox::Loading() const {
    const vcl::TComponentState s = ComponentState();
    return s.Contains(vcl::csLoading) || s.Contains(vcl::csDesigning);
}

// ---- properties ---------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::SetItemIndex(int value) {
    FListBox->SetItemIndex(value);
    FOldItemIndex = FListBox->ItemIndex();
    Repaint();
    if (!Loading()) ReportChoice();
}

void TbsSkinCustomOfficeComboBox::ReportChoice() {
    if (OnClick) {
        const vcl::TNotifyEvent handler = OnClick;
        handler(this);
    }
    DoChange();
}

void TbsSkinCustomOfficeComboBox::DoChange() {
    if (OnChange) {
        const vcl::TNotifyEvent handler = OnChange;
        handler(this);
    }
}

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool value) {
    if (FToolButtonStyle == value) return;
    FToolButtonStyle = value;
    if (value) FUseSkinSize = false;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetImages(vcl::TCustomImageList* value) {
    FListBox->SetImages(value);
    if (value) value->FreeNotification(this);
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool value) {
    if (FShowItemTitle == value) return;
    FShowItemTitle = value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool value) {
    if (FShowItemImage == value) return;
    FShowItemImage = value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool value) {
    if (FShowItemText == value) return;
    FShowItemText = value;
    Repaint();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(gfx::TColor value) {
    FDefaultColor = value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomOfficeComboBox::DefaultFontChanged() {
    Font().Assign(DefaultFont());
}

bool TbsSkinCustomOfficeComboBox::IsPopupVisible() const {
    return FListBox && FListBox->Visible();
}

bool TbsSkinCustomOfficeComboBox::CanCancelDropDown() const {
    return IsPopupVisible() && !FMouseIn;
}

// ---- drop-down ----------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::DropDown() {
    if (FListBox->Items().Count() == 0) return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown) {
        const vcl::TNotifyEvent handler = OnDropDown;
        handler(this);
    }
    const int width = FListBoxWidth > 0 ? FListBoxWidth : Width();
    FListBox->OnDrawItem = OnDrawItem;
    FListBox->SetSkinData(SkinData());
    int height = FListBox->Height();
    if (FListBoxHeight > 0)
        height = FListBoxHeight;
    else if (FDropDownCount > 0)
        height = FListBox->CalcHeight(FDropDownCount);
    FListBox->SetBounds(FListBox->Left(), FListBox->Top(), width, height);
    TPoint p{Left() + Width() - width, Top() + Height()};
    if (Parent()) p = Parent()->ClientToScreen(p);
    TRect work;
    GetWindowMonitorRect(Handle(), true, work);
    if (p.Y + height > work.Bottom) p.Y = p.Y - Height() - height;
    FListBox->SetBounds(p.X, p.Y, width, height);

    FOldItemIndex = FListBox->ItemIndex();
    if (FOldItemIndex == 0 && FListBox->Items().Count() > 1) {
        // Scrolls row 0 into view with its header, through the item events as a move would.
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FDropDown = true;
    if (FToolButtonStyle) Repaint();
    FListBox->Show(p);
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool Value) {
    StopTimer();
    if (!IsPopupVisible()) return;
    FListBox->Hide();
    const int index = FListBox->ItemIndex();
    if (Value && index >= 0 && index < FListBox->Items().Count()) {
        Repaint();
        ReportChoice();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Repaint();
    if (Value && OnCloseUp) {
        const vcl::TNotifyEvent handler = OnCloseUp;
        handler(this);
    }
}

// ---- the popup's window procedure ---------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::ListBoxWindowProcHook(vcl::TMessage& Message) {
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

// ---- mouse --------------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::MouseDown(vcl::TMouseButton Btn, vcl::TShiftState Shift, int X,
                                            int Y) {
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (!Focused() && CanFocus()) SetFocus();
    if (Btn != vcl::mbLeft) return;
    if (Button.MouseIn || CBItem.R.Contains(X, Y) || FToolButtonStyle) {
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

void TbsSkinCustomOfficeComboBox::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (IsPopupVisible()) TrackPopupMouse();
    const bool in = Button.R.Contains(X, Y);
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Repaint();
    }
}

void TbsSkinCustomOfficeComboBox::MouseUp(vcl::TMouseButton Btn, vcl::TShiftState Shift, int X,
                                          int Y) {
    if (FLBDown && WasInLB) {
        win::ReleaseCapture();
        FLBDown = false;
        TPoint cursor;
        win::GetCursorPos(cursor);
        const win::HWND under = win::WindowFromPoint(cursor);
        CloseUp(FListBox->HandleAllocated() && under == FListBox->Handle());
    } else {
        FLBDown = false;
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    if (Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

void TbsSkinCustomOfficeComboBox::TrackPopupMouse() {
    TPoint cursor;
    win::GetCursorPos(cursor);
    const TPoint p = FListBox->ScreenToClient(cursor);
    const bool bar = FListBox->ScrollBar != nullptr;
    if (p.Y < 0 && bar && WasInLB) {
        if (TimerMode != 1) {
            TimerMode = 1;
            StartTimer();
        }
    } else if (p.Y > FListBox->Height() && bar && WasInLB) {
        if (TimerMode != 2) {
            TimerMode = 2;
            StartTimer();
        }
    } else if (p.Y >= 0 && p.Y <= FListBox->Height()) {
        StopTimer();
        FListBox->TrackMouseMove(p.X, p.Y);
        WasInLB = true;
        if (!FLBDown) {
            FLBDown = true;
            WasInLB = false;
        }
    }
}

void TbsSkinCustomOfficeComboBox::StartTimer() {
    if (!HandleAllocated()) return;
    win::KillTimer(Handle(), kScrollTimer);
    win::SetTimer(Handle(), kScrollTimer, kScrollTimerMs);
}

void TbsSkinCustomOfficeComboBox::StopTimer() {
    if (HandleAllocated()) win::KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

// ---- keys ---------------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::SelectUp(bool AChange) {
    FListBox->FindUp();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::SelectDown(bool AChange) {
    FListBox->FindDown();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::SelectPageUp(bool AChange) {
    FListBox->FindPageUp();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::SelectPageDown(bool AChange) {
    FListBox->FindPageDown();
    if (AChange) SetItemIndex(FListBox->ItemIndex());
}

void TbsSkinCustomOfficeComboBox::KeyDown(int& Key, vcl::TShiftState Shift) {
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
            SelectPageUp(true);
            break;
        case win::VK_NEXT:
            SelectPageDown(true);
            break;
        case win::VK_UP:
        case win::VK_LEFT:
            if (!alt)
                SelectUp(true);
            else if (IsPopupVisible())
                CloseUp(false);
            break;
        case win::VK_DOWN:
        case win::VK_RIGHT:
            if (!alt)
                SelectDown(true);
            else if (!IsPopupVisible())
                DropDown();
            break;
        default:
            break;
    }
}

// ---- messages -----------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::Dispatch(vcl::TMessage& Message) {
    using namespace win;
    switch (Message.Msg) {
        case WM_TIMER:
            if (TimerMode == 1)
                FListBox->FindUp();
            else if (TimerMode == 2)
                FListBox->FindDown();
            return;
        case WM_SETFOCUS:
            TbsSkinCustomControl::Dispatch(Message);
            Repaint();
            return;
        case WM_KILLFOCUS:
            TbsSkinCustomControl::Dispatch(Message);
            if (IsPopupVisible()) CloseUp(false);
            Repaint();
            return;
        case WM_SIZE:
            TbsSkinCustomControl::Dispatch(Message);
            CalcRects();
            return;
        case vcl::CM_MOUSEENTER:
        case vcl::CM_MOUSELEAVE:
            TbsSkinCustomControl::Dispatch(Message);
            FMouseIn = Message.Msg == vcl::CM_MOUSEENTER;
            if (!FMouseIn && Button.MouseIn) {
                Button.MouseIn = false;
                Repaint();
            }
            if ((FIndex != -1 && !ActiveSkinRect.IsEmpty()) || FToolButtonStyle) Invalidate();
            return;
        case vcl::CM_CANCELMODE: {
            TbsSkinCustomControl::Dispatch(Message);
            auto* sender = reinterpret_cast<vcl::TControl*>(Message.LParam);
            const bool ours = sender && (sender == this || sender == FListBox ||
                                         (FListBox && sender == FListBox->ScrollBar));
            if (!ours && IsPopupVisible()) CloseUp(false);
            return;
        }
        case vcl::CM_ENABLEDCHANGED:
            TbsSkinCustomControl::Dispatch(Message);
            Repaint();
            return;
        case vcl::CM_WANTSPECIALKEY: {
            const int key = int(Message.WParam);
            if (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT) {
                Message.Result = 1;
                return;
            }
            TbsSkinCustomControl::Dispatch(Message);
            return;
        }
        case WM_MOUSEWHEEL:
            TbsSkinCustomControl::Dispatch(Message);
            if (GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0)
                SelectUp(!IsPopupVisible());
            else
                SelectDown(!IsPopupVisible());
            return;
        default:
            TbsSkinCustomControl::Dispatch(Message);
    }
}

// ---- skin ---------------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* r =
        dynamic_cast<const TbsDataSkinComboBox*>(FSD->CtrlList[std::size_t(FIndex)].get());
    if (!r) return;
    CopyComboRecord(*r);
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    CalcRects();
    Repaint();
    if (FIndex == -1) FListBox->SetSkinDataName("");
    FListBox->SetSkinData(SkinData());
    CalcRects();
}

void TbsSkinCustomOfficeComboBox::FitSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize) {
        TbsSkinCustomControl::FitSkinSize(AWidth, AHeight);
        return;
    }
    const int dw = AWidth - SkinRect.Width();
    NewLTPoint = LTPt;
    NewRTPoint = TPoint{RTPt.X + dw, RTPt.Y};
    NewClRect = TRect{ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom};
}

void TbsSkinCustomOfficeComboBox::UpdateWindowRegion() {
    if (FUseSkinSize) {
        TbsSkinCustomControl::UpdateWindowRegion();
        return;
    }
    if (FRgn && HandleAllocated()) {
        win::SetWindowRgn(Handle(), std::nullopt, true);
        FRgn.reset();
    }
}

}  // namespace skin
