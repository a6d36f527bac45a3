// The images menu and its grid window.
#include "skin/menus/skin_images_menu.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/messages.h"
#include "skin/core/system_routines.h"
#include "skin/menus/skin_menu.h"

namespace skin {

void TbsImagesMenuItem::Assign(const TbsImagesMenuItem& source) {
    ImageIndex = source.ImageIndex;
    Caption = source.Caption;
    Button = source.Button;
    Hint = source.Hint;
}

// ---- TbsSkinImagesMenuPopupWindow

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(vcl::TComponent* AOwner,
                                                           TbsSkinImagesMenu* AMenu)
    : vcl::TCustomControl(AOwner), ImagesMenu(AMenu) {
    SetVisible(false);
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() {
    if (FFilter) win::RemoveMessageFilter(FFilter);
}

void TbsSkinImagesMenuPopupWindow::CreateParams(vcl::TCreateParams& Params) {
    vcl::TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP;
    Params.ExStyle = win::WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= win::CS_SAVEBITS;
    if (OsIsXpUp()) Params.WindowClass.style |= win::CS_DROPSHADOW;
}

void TbsSkinImagesMenuPopupWindow::Arrange() {
    vcl::TCustomImageList* images = ImagesMenu->Images();
    const int CW = images->Width() + 10, CH = images->Height() + 10;
    const int RW = ImagesMenu->ColumnsCount() * CW;
    const int L = 5, T = 5;
    int x = L, y = T;
    for (int i = 0; i < ImagesMenu->ItemCount(); ++i) {
        TbsImagesMenuItem& item = ImagesMenu->Item(i);
        if (item.Header || item.Button) {
            if (x != L) y += CH + 1;
            item.ItemRect = {L, y, L + RW, y + CH};
            y += CH + 1;
            x = L;
        } else {
            item.ItemRect = {x, y, x + CW, y + CH};
            x += CW;
            if (x + CW > L + RW) {
                x = L;
                y += CH + 1;
            }
        }
    }
    int bottom = T;
    for (int i = 0; i < ImagesMenu->ItemCount(); ++i)
        bottom = std::max(bottom, ImagesMenu->Item(i).ItemRect.Bottom);
    const int top = ImagesMenu->ItemCount() ? ImagesMenu->Item(0).ItemRect.Top : T;
    SetBounds(Left(), Top(), RW + 10, bottom - top + 10);
}

void TbsSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
    Arrange();
    int x = PopupRect.Left, y = PopupRect.Bottom;
    vcl::TCustomForm* form = vcl::Application->MainForm();
    if (!form || !form->Visible()) form = dynamic_cast<vcl::TCustomForm*>(ImagesMenu->Owner());
    if (form && form->HandleAllocated()) {
        TRect wa;
        GetWindowMonitorRect(form->Handle(), true, wa);
        if (y + Height() > wa.Bottom) y = PopupRect.Top - Height();
        if (x + Width() > wa.Right) x = wa.Right - Width();
        x = std::max(x, wa.Left);
        y = std::max(y, wa.Top);
    }
    SetBounds(x, y, Width(), Height());
    win::SetWindowPos(Handle(), win::HWND_TOPMOST, x, y, 0, 0,
                      win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE);
    SetVisible(true);
    FFilter = win::AddMessageFilter([this](win::MSG& msg) { return Hook(msg); });
    win::SetCapture(Handle());
}

bool TbsSkinImagesMenuPopupWindow::Hook(win::MSG& msg) {
    switch (msg.message) {
        case 3: case 5: case 6: case 8: case 31: case 33: case 161: case 164: case 167:
        case 260: case 262: case 516: case 519: case 528:
            Hide(false);
            return false;
        case win::WM_KEYDOWN:
            KeyDownAt(int(msg.wParam));
            msg.message = 0;
            return true;
        default:
            return false;
    }
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
    if (FClosing) return;
    FClosing = true;
    win::SetWindowPos(Handle(), win::HWND(), 0, 0, 0, 0,
                      win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE |
                          win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    SetVisible(false);
    if (FFilter) {
        win::RemoveMessageFilter(FFilter);
        FFilter = 0;
    }
    if (win::GetCapture() == Handle()) win::ReleaseCapture();
    ImagesMenu->WindowClosed(AProcessEvents);
}

int TbsSkinImagesMenuPopupWindow::ItemAt(TPoint p) const {
    for (int i = 0; i < ImagesMenu->ItemCount(); ++i) {
        const TbsImagesMenuItem& item = ImagesMenu->Item(i);
        if (!item.Header && item.ItemRect.Contains(p.X, p.Y)) return i;
    }
    return -1;
}

void TbsSkinImagesMenuPopupWindow::Focus(int index) {
    MouseInItem = index;
    Invalidate();
}

void TbsSkinImagesMenuPopupWindow::KeyDownAt(int Key) {
    const int n = ImagesMenu->ItemCount();
    auto header = [this](int i) { return ImagesMenu->Item(i).Header; };
    auto firstItem = [&] { return n > 1 && header(0) ? 1 : 0; };
    const int cur = MouseInItem;
    switch (Key) {
        case win::VK_RETURN:
        case win::VK_SPACE:
            if (cur >= 0) {
                ImagesMenu->ItemIndex = cur;
                Hide(true);
            }
            return;
        case win::VK_ESCAPE:
            Hide(false);
            return;
        case win::VK_LEFT:
            if (cur < 0 || cur == firstItem()) {
                Focus(n - 1);
            } else {
                for (int i = cur - 1; i >= 0; --i)
                    if (!header(i)) {
                        Focus(i);
                        break;
                    }
            }
            return;
        case win::VK_RIGHT:
            if (cur < 0 || cur == n - 1) {
                Focus(firstItem());
            } else {
                for (int i = cur + 1; i < n; ++i)
                    if (!header(i)) {
                        Focus(i);
                        break;
                    }
            }
            return;
        case win::VK_UP:
        case win::VK_DOWN: {
            if (cur < 0) {
                Focus(Key == win::VK_UP ? n - 1 : firstItem());
                return;
            }
            const TRect& r = ImagesMenu->Item(cur).ItemRect;
            const int step = Key == win::VK_UP ? -1 : 1;
            for (int i = cur + step; i >= 0 && i < n; i += step) {
                const TbsImagesMenuItem& item = ImagesMenu->Item(i);
                const bool moved = step < 0 ? item.ItemRect.Top < r.Top : item.ItemRect.Top > r.Top;
                if (!item.Header && moved && (item.Button || item.ItemRect.Left == r.Left)) {
                    Focus(i);
                    return;
                }
            }
            return;
        }
        default:
            return;
    }
}

void TbsSkinImagesMenuPopupWindow::Dispatch(vcl::TMessage& Message) {
    switch (Message.Msg) {
        case win::WM_MOUSEACTIVATE:
            Message.Result = win::MA_NOACTIVATE;
            return;
        case win::WM_ERASEBKGND:
            Message.Result = 1;
            return;
        case vcl::CM_RELEASE:
            Free();
            return;
        default:
            break;
    }
    vcl::TCustomControl::Dispatch(Message);
    if (FClosing) return;
    const TPoint p{win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)};
    switch (Message.Msg) {
        case win::WM_CAPTURECHANGED:
            // Another window took the mouse: the grid no longer sees outside clicks.
            if (Visible()) Hide(false);
            return;
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK: {
            TPoint cursor;
            win::GetCursorPos(cursor);
            if (win::WindowFromPoint(cursor) != Handle()) {
                Hide(false);
                return;
            }
            FDown = true;
            FItemDown = ItemAt(p) >= 0;
            Invalidate();
            return;
        }
        case win::WM_RBUTTONDOWN:
            Hide(false);
            return;
        case win::WM_MOUSEMOVE: {
            const int i = ItemAt(p);
            if (i != MouseInItem) Focus(i);
            return;
        }
        case win::WM_LBUTTONUP: {
            if (!FDown) return;
            FDown = false;
            const int i = ItemAt(p);
            if (i >= 0) {
                ImagesMenu->ItemIndex = i;
                Hide(true);
            } else {
                win::SetCapture(Handle());
            }
            return;
        }
        default:
            return;
    }
}

void TbsSkinImagesMenuPopupWindow::Paint() {
    const int W = Width(), H = Height();
    gfx::TBitmap b;
    b.SetPixelFormat(gfx::pf24bit);
    b.SetSize(W, H);
    gfx::TCanvas& C = b.Canvas();
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(gfx::clWindow);
    C.FillRect({0, 0, W, H});
    C.Brush().SetColor(gfx::clBtnShadow);
    C.FrameRect({0, 0, W, H});
    vcl::TCustomImageList* images = ImagesMenu->Images();
    for (int i = 0; i < ImagesMenu->ItemCount(); ++i) {
        const TbsImagesMenuItem& item = ImagesMenu->Item(i);
        const TRect& r = item.ItemRect;
        if (item.Header) {
            TRect tr = r;
            C.Brush().SetStyle(gfx::bsClear);
            C.Font().SetColor(gfx::clWindowText);
            C.DrawText(item.Caption, tr, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
            continue;
        }
        const bool chosen = ShowSelected(i);
        const bool pressed = (chosen && !FDown) || (i == MouseInItem && FDown);
        const bool hot = i == MouseInItem && !FDown;
        if (pressed || hot) {
            C.Brush().SetStyle(gfx::bsSolid);
            C.Brush().SetColor(gfx::clNavy);
            C.FrameRect(r);
            C.Brush().SetColor(pressed ? 0x00B59385 : 0x00D2BDB6);
            C.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
        }
        bool drew = false;
        if (images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
            images->Draw(C, r.Left + 5, r.Top + 5, item.ImageIndex, true);
            drew = true;
        }
        if (item.Button && !item.Caption.empty()) {
            TRect tr = r;
            if (drew) tr.Left += images->Width() + 5;
            C.Brush().SetStyle(gfx::bsClear);
            C.Font().SetColor(gfx::clWindowText);
            const int tw = C.TextWidth(item.Caption);
            C.DrawText(item.Caption, tr,
                       gfx::DT_VCENTER | gfx::DT_SINGLELINE |
                           (tw <= RectWidth(tr) ? gfx::DT_CENTER : 0u));
        }
    }
    Canvas().Draw(0, 0, b);
}

bool TbsSkinImagesMenuPopupWindow::ShowSelected(int i) const {
    return ImagesMenu->ShowSelectedItem && ImagesMenu->ItemIndex == i;
}

// ---- TbsSkinImagesMenu

TbsSkinImagesMenu::TbsSkinImagesMenu(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {}

TbsSkinImagesMenu::~TbsSkinImagesMenu() = default;

void TbsSkinImagesMenu::BeforeDestruction() {
    Destroying();
    if (FPopupWindow) {
        TbsSkinImagesMenuPopupWindow* w = FPopupWindow;
        FPopupWindow = nullptr;
        w->Free();
    }
    vcl::TComponent::BeforeDestruction();
}

void TbsSkinImagesMenu::SetImages(vcl::TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
}

void TbsSkinImagesMenu::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == SkinData) SkinData = nullptr;
}

TbsImagesMenuItem& TbsSkinImagesMenu::AddItem() {
    FItems.push_back(std::make_unique<TbsImagesMenuItem>());
    return *FItems.back();
}

void TbsSkinImagesMenu::SetColumnsCount(int value) {
    if (value >= 1 && value <= 50) FColumnsCount = value;
}

std::optional<TbsImagesMenuChoice> TbsSkinImagesMenu::SelectedItem() const {
    if (ItemIndex < 0 || ItemIndex >= int(FItems.size())) return std::nullopt;
    const TbsImagesMenuItem& item = *FItems[std::size_t(ItemIndex)];
    return TbsImagesMenuChoice{item.ImageIndex, item.Caption};
}

bool TbsSkinImagesMenu::PopupFromRect(const TRect& R) {
    if (FPopupWindow) Hide();
    if (OnMenuPopup) OnMenuPopup(this);
    if (!FImages || FImages->Count() == 0) return false;
    FOldItemIndex = ItemIndex;
    FPopupWindow = new TbsSkinImagesMenuPopupWindow(this, this);
    FPopupWindow->Show(R);
    return true;
}

void TbsSkinImagesMenu::Popup(int X, int Y) {
    PopupFromRect({X, Y, X, Y});
}

void TbsSkinImagesMenu::Hide() {
    if (FPopupWindow) FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::WindowClosed(bool AProcessEvents) {
    if (TbsSkinImagesMenuPopupWindow* w = FPopupWindow) {
        FPopupWindow = nullptr;
        // Freed once the handler that closed it has returned.
        win::PostMessage(w->Handle(), vcl::CM_RELEASE);
    }
    if (OnInternalMenuClose) OnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (!AProcessEvents || ItemIndex < 0 || ItemIndex >= ItemCount()) return;
    if (vcl::TNotifyEvent click = Item(ItemIndex).OnClick) click(this);
    if (OnItemClick) OnItemClick(this);
    if (ItemIndex != FOldItemIndex) {
        if (OnInternalChange) OnInternalChange(this);
        if (OnChange) OnChange(this);
    }
}

}  // namespace skin
