// The images menu and its grid window.
#include "skin/menus/skin_images_menu.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/messages.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/system_routines.h"
#include "skin/menus/menu_parts.h"
#include "skin/menus/skin_hint.h"
#include "skin/menus/skin_menu.h"

namespace skin {

void TbsImagesMenuItem::Assign(const TbsImagesMenuItem& source) {
    ImageIndex = source.ImageIndex;
    Caption = source.Caption;
    Button = source.Button;
    Hint = source.Hint;
}

void TbsImagesMenuItem::Assign(const rtl::TCollectionItem& source) {
    if (auto* item = dynamic_cast<const TbsImagesMenuItem*>(&source))
        Assign(*item);
    else
        rtl::TCollectionItem::Assign(source);
}

namespace {

TbsSkinData* UsableSkin(TbsSkinData* sd) {
    return sd && !sd->Empty ? sd : nullptr;
}

// A strip or frame picture at a size, from a control record of the skin.
void CellFrame(gfx::TBitmap& dest, TbsDataSkinButtonControl& r, gfx::TBitmap& pic, const TRect& src,
               int w, int h) {
    const int sw = RectWidth(r.SkinRect), sh = RectHeight(r.SkinRect);
    const TPoint rt{w - (sw - r.RTPoint.X), r.RTPoint.Y};
    const TPoint lb{r.LBPoint.X, h - (sh - r.LBPoint.Y)};
    const TPoint rb{w - (sw - r.RBPoint.X), h - (sh - r.RBPoint.Y)};
    const TRect cl{r.ClRect.Left, r.ClRect.Top, w - (sw - r.ClRect.Right),
                   h - (sh - r.ClRect.Bottom)};
    BuildNineSliceImage(r.LTPoint, r.RTPoint, r.LBPoint, r.RBPoint, r.ClRect, r.LTPoint, rt, lb, rb,
                        cl, dest, pic, src, w, h, true, r.LeftStretch, r.TopStretch, r.RightStretch,
                        r.BottomStretch, r.StretchEffect, r.StretchType);
}

TbsDataSkinButtonControl* FrameRecord(TbsSkinData* sd) {
    if (auto* r = MenuControlRecord<TbsDataSkinButtonControl>(sd, "menuitembutton")) return r;
    return MenuControlRecord<TbsDataSkinButtonControl>(sd, "resizebutton");
}

}  // namespace

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
    TbsSkinData* sd = UsableSkin(ImagesMenu->SkinData);
    const TbsDataSkinPopupWindow* pw = sd ? &sd->PopupWindow : nullptr;
    WindowPicture = pw ? MenuSkinPicture(sd, pw->WindowPictureIndex) : nullptr;
    MaskPicture = WindowPicture ? MenuSkinPicture(sd, pw->MaskPictureIndex) : nullptr;
    FSkinSupport = WindowPicture != nullptr;
    vcl::TCustomImageList* images = ImagesMenu->Images();
    const int CW = images->Width() + 10, CH = images->Height() + 10;
    const int RW = ImagesMenu->ColumnsCount() * CW;
    const int L = FSkinSupport ? pw->ItemsRect.Left : 5;
    const int T = FSkinSupport ? pw->ItemsRect.Top : 5;
    const auto* label = MenuControlRecord<TbsDataSkinLabelControl>(sd, "label");
    const int headerH = label ? RectHeight(label->SkinRect) : CH;
    int x = L, y = T;
    for (int i = 0; i < ImagesMenu->ItemCount(); ++i) {
        TbsImagesMenuItem& item = ImagesMenu->Item(i);
        if (item.Header || item.Button) {
            if (x != L) y += CH + 1;
            const int h = item.Header ? headerH : CH;
            item.ItemRect = {L, y, L + RW, y + h};
            y += h + 1;
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
    const int n = ImagesMenu->ItemCount();
    const int top = n ? ImagesMenu->Item(0).ItemRect.Top : T;
    const int block = (n ? ImagesMenu->Item(n - 1).ItemRect.Bottom : T) - top;
    int w = RW + 10, h = block + 10;
    if (FSkinSupport) {
        w = WindowPicture->Width() + RW - RectWidth(pw->ItemsRect);
        h = WindowPicture->Height() + block - RectHeight(pw->ItemsRect);
        const TPopupGeometry g = PopupGeometry(*pw, *WindowPicture, w, h);
        NewLTPoint = g.LT;
        NewRTPoint = g.RT;
        NewLBPoint = g.LB;
        NewRBPoint = g.RB;
        NewItemsRect = g.ItemsRect;
        if (MaskPicture) {
            FRgn = PopupMaskRegion(*pw, g, *MaskPicture, w, h);
            win::SetWindowRgn(Handle(), FRgn, true);
        }
    }
    SetBounds(Left(), Top(), w, h);
}

// The work area of the active form, else of the visible main form, else of the owner's form.
void TbsSkinImagesMenuPopupWindow::WorkAreaFit(const TRect& PopupRect, int& x, int& y) const {
    vcl::TCustomForm* form = vcl::Screen->ActiveCustomForm();
    if (!form) {
        form = vcl::Application->MainForm();
        if (!form || !form->Visible()) form = dynamic_cast<vcl::TCustomForm*>(ImagesMenu->Owner());
    }
    if (!form || !form->HandleAllocated()) return;
    TRect wa;
    GetWindowMonitorRect(form->Handle(), true, wa);
    if (y + Height() > wa.Bottom) y = PopupRect.Top - Height();
    if (x + Width() > wa.Right) x = wa.Right - Width();
    x = std::max(x, wa.Left);
    y = std::max(y, wa.Top);
}

void TbsSkinImagesMenuPopupWindow::Show(const TRect& PopupRect) {
    Arrange();
    int x = PopupRect.Left, y = PopupRect.Bottom;
    WorkAreaFit(PopupRect, x, y);
    SetBounds(x, y, Width(), Height());
    const win::HWND wnd = Handle();
    const bool layered = OsIsW2kUp() && ImagesMenu->AlphaBlend;
    const bool fade = layered && ImagesMenu->AlphaBlendAnimation;
    if (layered) {
        win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE,
                              win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED);
        win::SetLayeredWindowAttributes(wnd, 0, fade ? 0 : ImagesMenu->AlphaBlendValue,
                                        win::LWA_ALPHA);
    }
    win::SetWindowPos(wnd, win::HWND_TOPMOST, x, y, 0, 0,
                      win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE);
    SetVisible(true);
    if (fade) {
        vcl::Application->ProcessMessages();
        // The handlers run meanwhile may have closed the menu.
        if (FClosing) return;
        FadeInLayered(wnd, ImagesMenu->AlphaBlendValue, 10);
    }
    FFilter = win::AddMessageFilter([this](win::MSG& msg) { return Hook(msg); });
    win::SetCapture(Handle());
}

bool TbsSkinImagesMenuPopupWindow::Hook(win::MSG& msg) {
    switch (msg.message) {
        case 3:
        case 5:
        case 6:
        case 8:
        case 31:
        case 33:
        case 161:
        case 164:
        case 167:
        case 260:
        case 262:
        case 516:
        case 519:
        case 528:
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
    HideHint();
    win::SetWindowPos(Handle(), win::HWND(), 0, 0, 0, 0,
                      win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                          win::SWP_NOACTIVATE);
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

void TbsSkinImagesMenuPopupWindow::HideHint() {
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
}

// The pointer is over another cell (or none): its hint replaces the old one.
void TbsSkinImagesMenuPopupWindow::PointerAt(int index) {
    if (index < 0 && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
    if (index == MouseInItem) return;
    OldMouseInItem = MouseInItem;
    Focus(index);
    TbsSkinHint* hint = ImagesMenu->SkinHint();
    if (!ImagesMenu->ShowHints || !hint) return;
    hint->HideHint();
    if (index >= 0 && !ImagesMenu->Item(index).Hint.empty())
        hint->ActivateHint2(ImagesMenu->Item(index).Hint);
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
        case vcl::CM_MOUSEENTER:
            return;
        default:
            break;
    }
    vcl::TCustomControl::Dispatch(Message);
    if (FClosing) return;
    if (Message.Msg == win::WM_ACTIVATEAPP) {
        // Another program took the activation: no event, as for a click outside.
        if (!Message.WParam) Hide(false);
        return;
    }
    if (Message.Msg == vcl::CM_MOUSELEAVE) {
        HideHint();
        MouseInItem = OldMouseInItem = -1;
        Invalidate();
        return;
    }
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
            HideHint();
            FDown = true;
            FItemDown = ItemAt(p) >= 0;
            Invalidate();
            return;
        }
        case win::WM_RBUTTONDOWN:
            Hide(false);
            return;
        case win::WM_MOUSEMOVE:
            PointerAt(ItemAt(p));
            return;
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
    TbsSkinData* sd = UsableSkin(ImagesMenu->SkinData);
    if (FSkinSupport && sd) {
        const TbsDataSkinPopupWindow& pw = sd->PopupWindow;
        BuildNineSliceImage(pw.LTPoint, pw.RTPoint, pw.LBPoint, pw.RBPoint, pw.ItemsRect,
                            NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, b,
                            *WindowPicture, {0, 0, WindowPicture->Width(), WindowPicture->Height()},
                            W, H, true, pw.LeftStretch, pw.TopStretch, pw.RightStretch,
                            pw.BottomStretch, pw.StretchEffect, pw.StretchType);
    } else {
        C.Brush().SetStyle(gfx::bsSolid);
        C.Brush().SetColor(gfx::clWindow);
        C.FillRect({0, 0, W, H});
        C.Brush().SetColor(gfx::clBtnShadow);
        C.FrameRect({0, 0, W, H});
    }
    vcl::TCustomImageList* images = ImagesMenu->Images();
    for (int i = 0; i < ImagesMenu->ItemCount(); ++i) {
        const TbsImagesMenuItem& item = ImagesMenu->Item(i);
        const TRect& r = item.ItemRect;
        if (item.Header) {
            PaintHeader(C, item);
            continue;
        }
        const bool chosen = ShowSelected(i);
        const bool pressed = (chosen && !FDown) || (i == MouseInItem && FDown);
        const bool hot = !pressed && i == MouseInItem;
        if (pressed || hot) PaintFrame(C, r, pressed);
        bool drew = false;
        if (images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
            images->Draw(C, r.Left + 5, r.Top + 5, item.ImageIndex, true);
            drew = true;
        }
        if (item.Button && !item.Caption.empty()) {
            TRect tr = r;
            if (drew) tr.Left += images->Width() + 5;
            PaintButtonText(C, item, tr, pressed, hot);
        }
    }
    Canvas().Draw(0, 0, b);
}

void TbsSkinImagesMenuPopupWindow::PaintHeader(gfx::TCanvas& C, const TbsImagesMenuItem& item) {
    TbsSkinData* sd = UsableSkin(ImagesMenu->SkinData);
    auto* rec = MenuControlRecord<TbsDataSkinLabelControl>(sd, "label");
    gfx::TBitmap* pic = rec ? MenuSkinPicture(sd, rec->PictureIndex) : nullptr;
    const TRect& r = item.ItemRect;
    if (!rec || !pic || rec->SkinRect.IsEmpty()) {
        TRect tr = r;
        C.Brush().SetStyle(gfx::bsClear);
        C.DrawText(item.Caption, tr, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
        return;
    }
    const TRect& sr = rec->SkinRect;
    const int w = RectWidth(r), sh = RectHeight(sr);
    gfx::TBitmap strip;
    BuildHorzSkinStrip(rec->LTPoint.X, RectWidth(sr) - rec->RTPoint.X, strip, *pic, sr, w, sh,
                       rec->StretchEffect);
    gfx::TCanvas& S = strip.Canvas();
    S.Font().SetName(rec->FontName);
    S.Font().SetHeight(rec->FontHeight);
    S.Font().SetStyle(rec->FontStyle);
    S.Font().SetCharset(C.Font().Charset());
    S.Font().SetColor(rec->FontColor);
    S.Brush().SetStyle(gfx::bsClear);
    TRect tr{rec->ClRect.Left, rec->ClRect.Top, w + rec->ClRect.Right - RectWidth(sr), sh};
    S.DrawText(item.Caption, tr, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
    C.Draw(r.Left, r.Top, strip);
}

void TbsSkinImagesMenuPopupWindow::PaintFrame(gfx::TCanvas& C, const TRect& r, bool pressed) {
    TbsSkinData* sd = UsableSkin(ImagesMenu->SkinData);
    TbsDataSkinButtonControl* rec = FrameRecord(sd);
    gfx::TBitmap* pic = rec ? MenuSkinPicture(sd, rec->PictureIndex) : nullptr;
    if (rec && pic) {
        TRect src =
            pressed && !rec->DownSkinRect.IsEmpty() ? rec->DownSkinRect : rec->ActiveSkinRect;
        if (src.IsEmpty()) src = rec->SkinRect;
        gfx::TBitmap frame;
        CellFrame(frame, *rec, *pic, src, RectWidth(r), RectHeight(r));
        C.Draw(r.Left, r.Top, frame);
        return;
    }
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(gfx::clNavy);
    C.FrameRect(r);
    C.Brush().SetColor(pressed ? kNoSkin.DownFill : kNoSkin.HotFill);
    C.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

void TbsSkinImagesMenuPopupWindow::PaintButtonText(gfx::TCanvas& C, const TbsImagesMenuItem& item,
                                                   TRect r, bool pressed, bool hot) {
    TbsSkinData* sd = UsableSkin(ImagesMenu->SkinData);
    TbsDataSkinButtonControl* rec = FrameRecord(sd);
    const TbsDataSkinMenuItem* itemRec = nullptr;
    if (sd)
        for (const char* name : {"menuitem", "MENUITEM"}) {
            const int i = sd->GetIndex(name);
            if (i >= 0 && (itemRec = dynamic_cast<TbsDataSkinMenuItem*>(
                               sd->ObjectList[std::size_t(i)].get())))
                break;
        }
    gfx::TFont& font = C.Font();
    if (rec && ImagesMenu->UseSkinFont) {
        font.SetName(rec->FontName);
        font.SetHeight(rec->FontHeight);
        font.SetStyle(rec->FontStyle);
    } else {
        font.Assign(ImagesMenu->DefaultFont());
    }
    if (sd && sd->ResourceStrData())
        font.SetCharset(sd->ResourceStrData()->CharSet());
    else
        font.SetCharset(ImagesMenu->DefaultFont().Charset());
    gfx::TColor color = gfx::clWindowText;
    if (rec && itemRec)
        color = pressed ? rec->DownFontColor : hot ? rec->ActiveFontColor : itemRec->FontColor;
    font.SetColor(color);
    C.Brush().SetStyle(gfx::bsClear);
    const int tw = C.TextWidth(item.Caption);
    C.DrawText(item.Caption, r,
               gfx::DT_VCENTER | gfx::DT_SINGLELINE | (tw <= RectWidth(r) ? gfx::DT_CENTER : 0u));
}

bool TbsSkinImagesMenuPopupWindow::ShowSelected(int i) const {
    return ImagesMenu->ShowSelectedItem && ImagesMenu->ItemIndex == i;
}

// ---- TbsSkinImagesMenu

TbsSkinImagesMenu::TbsSkinImagesMenu(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), FImagesItems(std::make_unique<TbsImagesMenuItems>(this)) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(0);
}

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
    if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TbsSkinImagesMenu::SetSkinHint(TbsSkinHint* value) {
    if (FSkinHint == value) return;
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = value;
    if (FSkinHint) FSkinHint->FreeNotification(this);
}

TbsImagesMenuItem& TbsSkinImagesMenu::AddItem() {
    return *FImagesItems->Add();
}

void TbsSkinImagesMenu::SetColumnsCount(int value) {
    if (value >= 1 && value <= 50) FColumnsCount = value;
}

std::optional<TbsImagesMenuChoice> TbsSkinImagesMenu::SelectedItem() const {
    if (ItemIndex < 0 || ItemIndex >= FImagesItems->Count()) return std::nullopt;
    const TbsImagesMenuItem& item = *FImagesItems->Items(ItemIndex);
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
