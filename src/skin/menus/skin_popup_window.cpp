// One level of an open skinned menu: filling, sizing, placing, painting, scrolling, the pointer
// and the keys the form hands over.
#include <algorithm>
#include <string>

#include "platform/gfx/text.h"
#include "platform/vcl/messages.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/skin_images.h"
#include "skin/core/system_routines.h"
#include "skin/menus/menu_parts.h"
#include "skin/menus/skin_menu.h"

namespace skin {

namespace {

TbsDataSkinMenuItem* FirstMenuItemRecord(TbsSkinData* sd) {
    if (!sd || sd->Empty) return nullptr;
    for (auto& rec : sd->ObjectList)
        if (auto* mi = dynamic_cast<TbsDataSkinMenuItem*>(rec.get())) return mi;
    return nullptr;
}

constexpr std::uintptr_t kScrollTimer = 1;

}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(vcl::TComponent* AOwner, TbsSkinMenu* AParentMenu,
                                       TbsDataSkinPopupWindow* AData)
    : vcl::TCustomControl(AOwner),
      MouseTimer(new vcl::TTimer(this)),
      MorphTimer(new vcl::TTimer(this)),
      ParentMenu(AParentMenu) {
    SetVisible(false);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(50);
    MouseTimer->SetOnTimer([this](vcl::TObject*) { MouseTimerProc(); });
    MorphTimer->SetEnabled(false);
    MorphTimer->SetInterval(20);
    MorphTimer->SetOnTimer([this](vcl::TObject*) { MorphTimerProc(); });
    TbsSkinData* sd = ParentMenu->SkinData;
    // A window picture outside the list, or no menu item record to size the items by, leaves
    // the level in the default look.
    if (AData && MenuSkinPicture(sd, AData->WindowPictureIndex) && FirstMenuItemRecord(sd)) {
        PW = AData;
        SD = sd;
        WindowPicture = MenuSkinPicture(sd, AData->WindowPictureIndex);
        MaskPicture = MenuSkinPicture(sd, AData->MaskPictureIndex);
    }
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() = default;

void TbsSkinPopupWindow::CreateParams(vcl::TCreateParams& Params) {
    vcl::TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP;
    Params.ExStyle = win::WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= win::CS_SAVEBITS;
    if (OsIsXpUp()) Params.WindowClass.style |= win::CS_DROPSHADOW;
}

int TbsSkinPopupWindow::ItemIndexOf(const TbsSkinMenuItem* item) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i) == item) return i;
    return -1;
}

int TbsSkinPopupWindow::ItemHeight(const TbsSkinMenuItem& item, bool) const {
    if (DSMI)
        return item.IsSeparator() ? RectHeight(DSMI->DividerRect) : RectHeight(DSMI->SkinRect);
    return item.IsSeparator() ? 4 : ParentMenu->DefaultMenuItemHeight;
}

bool TbsSkinPopupWindow::Usable(int i) const {
    return i >= 0 && i < ItemCount() && Item(i)->MenuItem->Enabled() && !Item(i)->IsSeparator();
}

void TbsSkinPopupWindow::Fill(vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2, int StartIndex) {
    DSMI = PW ? FirstMenuItemRecord(SD) : nullptr;
    gfx::TFont& font = Canvas().Font();
    if (PW && DSMI && ParentMenu->UseSkinFont) {
        font.SetHeight(DSMI->FontHeight);
        font.SetStyle(DSMI->FontStyle);
        font.SetName(DSMI->FontName);
    } else {
        font.Assign(ParentMenu->DefaultMenuItemFont());
    }
    if (ParentMenu->SkinData && ParentMenu->SkinData->ResourceStrData())
        font.SetCharset(ParentMenu->SkinData->ResourceStrData()->CharSet());
    ImgL = nullptr;
    if (vcl::TMenu* menu = AItem->GetParentMenu()) {
        if (menu->AutoLineReduction() == vcl::maAutomatic) AItem->RethinkLines();
        ImgL = menu->Images();
    }
    ItemList.clear();
    auto add = [this](vcl::TMenuItem* parent, int from) {
        for (int i = std::max(from, 0); i < parent->Count(); ++i)
            if (parent->Items(i)->Visible())
                ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, parent->Items(i), DSMI));
    };
    add(AItem, StartIndex);
    if (AItem2) add(AItem2, StartIndex - AItem->Count());
}

void TbsSkinPopupWindow::DoShow(const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2,
                                int StartIndex, bool PopupByItem, bool PopupUp, bool two) {
    const bool fade = OsIsW2kUp() && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation &&
                      ParentMenu->First();
    if (fade) vcl::Application->ProcessMessages();
    Fill(AItem, AItem2, StartIndex);
    VisibleStartIndex = 0;
    VisibleCount = ItemCount();
    Scroll = Scroll2 = false;

    // Width from the widest text.
    gfx::TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas().Font().Assign(Canvas().Font());
    int w = 0;
    for (auto& item : ItemList) {
        std::string text = item->MenuItem->Caption();
        if (item->MenuItem->ShortCut() != vcl::scNone)
            text += "  " + vcl::ShortCutToText(item->MenuItem->ShortCut());
        TRect r{0, 0, 0, 0};
        measure.Canvas().DrawText(text, r, gfx::DT_CALCRECT);
        w = std::max(w, RectWidth(r));
    }
    w += 2;
    GlyphWidth = ImgL ? ImgL->Width() + 5 : 19;
    w += GlyphWidth + 19;
    if (PW)
        w += WindowPicture->Width() - RectWidth(PW->ItemsRect) + DSMI->TextRct.Left +
             (RectWidth(DSMI->SkinRect) - DSMI->TextRct.Right);
    else
        w += 10;

    // Height.
    const int frameH =
        PW ? WindowPicture->Height() + PW->ItemsRect.Top - PW->ItemsRect.Bottom : (two ? 6 : 4);
    int h = 0;
    const int maxItems = ParentMenu->MaxMenuItemsInWindow;
    if (maxItems > 0 && maxItems < ItemCount()) {
        h = maxItems * (PW ? RectHeight(DSMI->SkinRect) : ParentMenu->DefaultMenuItemHeight) +
            frameH + 20;
        if (!two) Scroll = Scroll2 = true;
    } else {
        int s = 0;
        for (auto& item : ItemList) s += ItemHeight(*item, true);
        h = s + frameH;
    }
    const TRect& WA = ParentMenu->WorkArea;
    if (h > RectHeight(WA)) {
        h = RectHeight(WA);
        Scroll = true;
    }
    SetBounds(Left(), Top(), w, h);

    TPopupGeometry g;
    if (PW) {
        g = PopupGeometry(*PW, *WindowPicture, w, h);
        NewLTPoint = g.LT;
        NewRTPoint = g.RT;
        NewLBPoint = g.LB;
        NewRBPoint = g.RB;
        NewItemsRect = g.ItemsRect;
    } else {
        NewItemsRect = {2, 2, w - 2, h - 2};
    }
    ArrangeItems();
    if (MaskPicture) {
        std::optional<gfx::TRegion> rgn = PopupMaskRegion(*PW, g, *MaskPicture, w, h);
        win::SetWindowRgn(Handle(), rgn, true);
        FRgn = std::move(rgn);
    }
    Place(R, PopupByItem, PopupUp);

    const win::HWND wnd = Handle();
    if (OsIsW2kUp() && ParentMenu->AlphaBlend) {
        win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE,
                              win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED);
        win::SetLayeredWindowAttributes(wnd, 0, fade ? 0 : ParentMenu->AlphaBlendValue,
                                        win::LWA_ALPHA);
    }
    win::SetWindowPos(wnd, win::HWND_TOPMOST, ShowX, ShowY, 0, 0,
                      win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE | win::SWP_NOSIZE);
    SetVisible(true);
    if (fade) FadeIn();

    MouseTimer->SetEnabled(true);
    ActiveItem = -1;
    for (int i = 0; i < ItemCount(); ++i)
        if (Usable(i)) {
            Item(i)->WaitCommand = true;
            ActiveItem = i;
            Item(i)->MouseEnter(true);
            break;
        }
}

void TbsSkinPopupWindow::FadeIn() {
    const int target = ParentMenu->AlphaBlendValue;
    FadeInLayered(Handle(), target, std::max(target / 15, 1));
}

void TbsSkinPopupWindow::Show(const TRect& R, vcl::TMenuItem* AItem, int StartIndex,
                              bool PopupByItem, bool PopupUp) {
    DoShow(R, AItem, nullptr, StartIndex, PopupByItem, PopupUp, false);
}

void TbsSkinPopupWindow::Show2(const TRect& R, vcl::TMenuItem* AItem, vcl::TMenuItem* AItem2,
                               int StartIndex, bool PopupByItem, bool PopupUp) {
    DoShow(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp, true);
}

void TbsSkinPopupWindow::Place(const TRect& R, bool PopupByItem, bool PopupUp) {
    const TRect& WA = ParentMenu->WorkArea;
    const int W = Width(), H = Height();
    const int mid = WA.Top + RectHeight(WA) / 2;
    bool shifted = false;
    int y;
    if (Scroll && !Scroll2) {
        y = WA.Top;
    } else if (PopupByItem) {
        if (R.Top + H - NewItemsRect.Top <= WA.Bottom)
            y = R.Top - NewItemsRect.Top;
        else if (R.Top < mid)
            y = WA.Bottom - H;
        else
            y = std::max(R.Bottom - H + NewItemsRect.Top, WA.Top);
    } else if (PopupUp) {
        if (R.Top - H >= WA.Top) {
            y = R.Top - H;
        } else if (R.Top >= mid) {
            y = WA.Top;
            shifted = true;
        } else if (R.Bottom + H <= WA.Bottom) {
            y = R.Bottom;
        } else {
            y = WA.Bottom - H;
            shifted = true;
        }
    } else {
        if (R.Bottom + H <= WA.Bottom) {
            y = R.Bottom;
        } else if (R.Top < mid) {
            y = WA.Bottom - H;
            shifted = true;
        } else if (R.Top - H >= WA.Top) {
            y = R.Top - H;
        } else {
            y = WA.Top;
            shifted = true;
        }
    }
    int x;
    if (PopupByItem || (Scroll && !Scroll2) || shifted)
        x = R.Right + W + 1 > WA.Right ? R.Left - W - 1 : R.Right + 1;
    else if (R.Left + W > WA.Right)
        x = WA.Right - W;
    else if (R.Left < WA.Left)
        x = WA.Left;
    else
        x = R.Left;
    ShowX = x;
    ShowY = y;
    SetBounds(x, y, W, H);
}

void TbsSkinPopupWindow::ArrangeItems() {
    int top = NewItemsRect.Top, bottom = NewItemsRect.Bottom;
    if (Scroll) {
        top += 10;
        bottom -= 10;
    }
    VisibleCount = 0;
    int last = VisibleStartIndex - 1;
    for (int i = VisibleStartIndex; i < ItemCount(); ++i) {
        TbsSkinMenuItem& item = *Item(i);
        item.ObjectRect = {NewItemsRect.Left, top, NewItemsRect.Right,
                           top + ItemHeight(item, false)};
        if (item.ObjectRect.Bottom > bottom) break;
        item.FVisible = true;
        ++VisibleCount;
        top = item.ObjectRect.Bottom;
        last = i;
    }
    if (Scroll)
        for (int i = 0; i < ItemCount(); ++i)
            if (i < VisibleStartIndex || i > last) Item(i)->FVisible = false;
}

void TbsSkinPopupWindow::Hide() {
    if (HandleAllocated())
        win::SetWindowPos(Handle(), win::HWND(), 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE |
                              win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    if (HandleAllocated()) win::KillTimer(Handle(), kScrollTimer);
    SetVisible(false);
}

// ---- Painting

void TbsSkinPopupWindow::ItemBackground(gfx::TCanvas& C, const TRect& R) {
    if (!SD || RectWidth(R) <= 0 || RectHeight(R) <= 0) return;
    int i = SD->GetIndex("menuitem");
    if (i < 0) i = SD->GetIndex("MENUITEM");
    if (i < 0) return;
    auto* rec = dynamic_cast<TbsDataSkinMenuItem*>(SD->ObjectList[std::size_t(i)].get());
    if (!rec) return;
    if (rec->InActiveTransparent && FPaintBuffer) {
        C.CopyRect(R, FPaintBuffer->Canvas(), R);
        return;
    }
    gfx::TBitmap* pic = MenuSkinPicture(SD, rec->ActivePictureIndex);
    if (!pic || rec->SkinRect.IsEmpty()) return;
    gfx::TBitmap strip;
    BuildHorzSkinStrip(rec->ItemLO, rec->ItemRO, strip, *pic, rec->SkinRect, RectWidth(R),
                       RectHeight(rec->SkinRect), rec->InActiveStretchEffect);
    C.CopyRect(R, strip.Canvas(), {0, 0, RectWidth(R), RectHeight(R)});
}

void TbsSkinPopupWindow::DrawScrollBands(gfx::TCanvas& C) {
    TRect up, down;
    gfx::TColor upColor, downColor;
    if (PW) {
        up = {NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10};
        down = {NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right,
                NewItemsRect.Bottom};
        ItemBackground(C, up);
        ItemBackground(C, down);
        upColor = ScrollCode == 1 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
        downColor = ScrollCode == 2 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    } else {
        up = {3, 3, Width() - 3, 13};
        down = {3, Height() - 10, Width() - 3, Height() - 3};
        upColor = ScrollCode == 1 ? gfx::clBtnText : gfx::clBtnShadow;
        downColor = ScrollCode == 2 ? gfx::clBtnText : gfx::clBtnShadow;
    }
    DrawDirArrow(C, up, upColor, 3);
    DrawDirArrow(C, down, downColor, 4);
}

void TbsSkinPopupWindow::PaintMenu(gfx::TCanvas& Target) {
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    gfx::TBitmap b;
    b.SetPixelFormat(gfx::pf24bit);
    b.SetSize(W, H);
    gfx::TCanvas& C = b.Canvas();
    if (PW) {
        BuildNineSliceImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect,
                            NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, b,
                            *WindowPicture, {0, 0, WindowPicture->Width(), WindowPicture->Height()},
                            W, H, Scroll, PW->LeftStretch, PW->TopStretch, PW->RightStretch,
                            PW->BottomStretch, PW->StretchEffect, PW->StretchType);
        if (DSMI && DSMI->InActiveTransparent) {
            FPaintBuffer = std::make_unique<gfx::TBitmap>();
            BuildNineSliceImage(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect,
                                NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect,
                                *FPaintBuffer, *WindowPicture,
                                {0, 0, WindowPicture->Width(), WindowPicture->Height()}, W, H, true,
                                PW->LeftStretch, PW->TopStretch, PW->RightStretch,
                                PW->BottomStretch, PW->StretchEffect, PW->StretchType);
        }
    } else {
        const int a = ImgL ? GlyphWidth + 2 : 21;
        C.Brush().SetStyle(gfx::bsSolid);
        C.Brush().SetColor(gfx::clBtnFace);
        C.FillRect({0, 0, a, H});
        C.Brush().SetColor(gfx::clWindow);
        C.FillRect({a, 0, W, H});
        C.Brush().SetColor(gfx::clBtnShadow);
        C.FrameRect({0, 0, W, H});
        C.Brush().SetColor(gfx::clWindow);
        C.FrameRect({1, 1, W - 1, H - 1});
    }
    int lastBottom = -1;
    for (int i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i) {
        Item(i)->Draw(C);
        lastBottom = Item(i)->ObjectRect.Bottom;
    }
    if (Scroll) {
        DrawScrollBands(C);
        const int bandTop = PW ? NewItemsRect.Bottom - 10 : Height() - 10;
        if (lastBottom >= 0 && lastBottom < bandTop)
            ItemBackground(C, {NewItemsRect.Left, lastBottom, NewItemsRect.Right, bandTop});
    }
    Target.Draw(0, 0, b);
}

void TbsSkinPopupWindow::Paint() {
    PaintMenu(Canvas());
}

void TbsSkinPopupWindow::RedrawBands() {
    if (HandleAllocated() && Visible()) Invalidate();
}

// ---- Scrolling

bool TbsSkinPopupWindow::ScrollUp(bool wrap) {
    if (CanScrollUp()) {
        --VisibleStartIndex;
    } else if (wrap) {
        int k = 0, top = NewItemsRect.Bottom - 10;
        for (int i = ItemCount() - 1; i >= 0; --i) {
            top -= ItemHeight(*Item(i), false);
            if (top < 10) break;
            ++k;
        }
        VisibleStartIndex = std::max(ItemCount() - k, 0);
    } else {
        return false;
    }
    ArrangeItems();
    if (HandleAllocated()) Invalidate();
    return true;
}

bool TbsSkinPopupWindow::ScrollDown(bool wrap) {
    if (CanScrollDown())
        ++VisibleStartIndex;
    else if (wrap)
        VisibleStartIndex = 0;
    else
        return false;
    ArrangeItems();
    if (HandleAllocated()) Invalidate();
    return true;
}

void TbsSkinPopupWindow::StartScroll() {
    const int level = ParentMenu->LevelOf(this);
    if (level < ParentMenu->LevelCount()) ParentMenu->CloseMenu(level + 1);
    win::SetTimer(Handle(), kScrollTimer, 100);
}

void TbsSkinPopupWindow::StopScroll() {
    ScrollCode = 0;
    RedrawBands();
    if (HandleAllocated()) win::KillTimer(Handle(), kScrollTimer);
}

// ---- Pointer

void TbsSkinPopupWindow::MouseTimerProc() {
    TPoint p;
    if (!win::GetCursorPos(p)) return;
    if (p.X != OMX || p.Y != OMY) {
        if (win::WindowFromPoint(p) == Handle()) {
            TestMouse(p);
        } else if (Scroll && ScrollCode != 0) {
            ScrollCode = 0;
            RedrawBands();
        }
    }
    OMX = p.X;
    OMY = p.Y;
}

void TbsSkinPopupWindow::TestMouse(TPoint screen) {
    const TPoint pt = ScreenToClient(screen);
    if (Scroll) {
        const TRect up = PW ? TRect{NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right,
                                    NewItemsRect.Top + 10}
                            : TRect{3, 3, Width() - 3, 13};
        const TRect down = PW ? TRect{NewItemsRect.Left, NewItemsRect.Bottom - 10,
                                      NewItemsRect.Right, NewItemsRect.Bottom}
                              : TRect{3, Height() - 10, Width() - 3, Height() - 3};
        if (up.Contains(pt.X, pt.Y) && ScrollCode == 0 && CanScrollUp()) {
            ScrollCode = 1;
            RedrawBands();
            StartScroll();
        } else if (down.Contains(pt.X, pt.Y) && ScrollCode == 0 && CanScrollDown()) {
            ScrollCode = 2;
            RedrawBands();
            StartScroll();
        } else if (ScrollCode != 0 && !up.Contains(pt.X, pt.Y) && !down.Contains(pt.X, pt.Y)) {
            StopScroll();
        }
    }
    if (ItemList.empty()) return;
    OldActiveItem = ActiveItem;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->FVisible && Item(i)->ObjectRect.Contains(pt.X, pt.Y)) {
            ActiveItem = i;
            break;
        }
    if (ActiveItem >= ItemCount()) ActiveItem = -1;
    if (ActiveItem == OldActiveItem) {
        if (ActiveItem != -1 && Item(ActiveItem)->WaitCommand) {
            Item(ActiveItem)->WaitCommand = false;
            if (Item(ActiveItem)->MenuItem->Count() > 0) Item(ActiveItem)->MouseEnter(false);
        }
        return;
    }
    if (Usable(OldActiveItem)) Item(OldActiveItem)->MouseLeave();
    if (Usable(ActiveItem)) Item(ActiveItem)->MouseEnter(false);
}

void TbsSkinPopupWindow::MouseUpAt(TPoint client) {
    TestMouse(ClientToScreen(client));
    if (ActiveItem < 0 || ActiveItem >= ItemCount()) return;
    bool inItem = false;
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->FVisible && Item(i)->ObjectRect.Contains(client.X, client.Y)) inItem = true;
    if (inItem && !Item(ActiveItem)->IsSeparator()) Item(ActiveItem)->MouseDown(client.X, client.Y);
}

void TbsSkinPopupWindow::Dispatch(vcl::TMessage& Message) {
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
        case win::WM_TIMER:
            vcl::TCustomControl::Dispatch(Message);
            if (Message.WParam == kScrollTimer) {
                const bool stepped = ScrollCode == 1   ? ScrollUp(false)
                                     : ScrollCode == 2 ? ScrollDown(false)
                                                       : true;
                if (!stepped) StopScroll();
            }
            return;
        case win::WM_LBUTTONUP: {
            vcl::TCustomControl::Dispatch(Message);
            MouseUpAt({win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)});
            return;
        }
        case win::WM_RBUTTONUP:
            vcl::TCustomControl::Dispatch(Message);
            TestMouse(ClientToScreen(
                {win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam)}));
            return;
        default:
            vcl::TCustomControl::Dispatch(Message);
    }
}

// ---- Keys

void TbsSkinPopupWindow::SetActive(int index, bool Kb) {
    if (index == ActiveItem) return;
    const int old = ActiveItem;
    ActiveItem = index;
    if (old >= 0 && old < ItemCount()) Item(old)->MouseLeave();
    if (index >= 0) Item(index)->MouseEnter(Kb);
}

void TbsSkinPopupWindow::PopupKeyDown(int CharCode) {
    if (!Visible()) return;
    for (int i = 0; i < ItemCount(); ++i)
        if (Enabled() && vcl::IsAccel(CharCode, Item(i)->MenuItem->Caption())) {
            const int old = ActiveItem;
            Item(i)->MouseEnter(false);
            ActiveItem = i;
            if (old >= 0 && old != i && old < ItemCount()) Item(old)->MouseLeave();
            Item(i)->MouseDown(0, 0);
            return;
        }
    const int n = ItemCount();
    switch (CharCode) {
        case win::VK_RETURN:
            if (ActiveItem >= 0 && ActiveItem < n) Item(ActiveItem)->MouseDown(0, 0);
            break;
        case win::VK_ESCAPE:
        case win::VK_LEFT: {
            const int levels = ParentMenu->LevelCount();
            if (CharCode == win::VK_LEFT && levels < 2) break;
            if (levels >= 2) {
                TbsSkinPopupWindow* parent = ParentMenu->Level(levels - 2);
                if (parent->ActiveItem >= 0 && parent->ActiveItem < parent->ItemCount()) {
                    parent->Item(parent->ActiveItem)->Down = false;
                    parent->Item(parent->ActiveItem)->ReDraw();
                }
            }
            ParentMenu->CloseMenu(levels - 1);
            break;
        }
        case win::VK_RIGHT:
            if (ActiveItem >= 0 && ActiveItem < n && Item(ActiveItem)->MenuItem->Count() > 0)
                Item(ActiveItem)->MouseDown(0, 0);
            break;
        case win::VK_DOWN: {
            if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex + VisibleCount - 1)
                ScrollDown(true);
            int i = ActiveItem + 1;
            if (ActiveItem < 0 || i >= n) i = 0;
            for (; i < n; ++i)
                if (Usable(i)) break;
            if (i >= n) break;
            // The view follows the selection.
            while (Scroll && i >= VisibleStartIndex + VisibleCount && ScrollDown(false)) {
            }
            while (Scroll && i < VisibleStartIndex && ScrollUp(false)) {
            }
            SetActive(i, true);
            break;
        }
        case win::VK_UP: {
            if (Scroll && ScrollCode == 0 && ActiveItem == VisibleStartIndex) ScrollUp(true);
            int i = ActiveItem - 1;
            if (ActiveItem < 0 || i < 0) i = n - 1;
            for (; i >= 0; --i)
                if (Usable(i)) break;
            if (i < 0) break;
            while (Scroll && i < VisibleStartIndex && ScrollUp(false)) {
            }
            while (Scroll && i >= VisibleStartIndex + VisibleCount && ScrollDown(false)) {
            }
            SetActive(i, true);
            break;
        }
        default:
            break;
    }
}

// ---- Morph and frame animation

void TbsSkinPopupWindow::MorphTimerProc() {
    if (!PW) {
        MorphTimer->SetEnabled(false);
        return;
    }
    bool any = false;
    for (auto& item : ItemList) {
        if (item->EnableMorphing() && item->CanMorphing()) {
            item->DoMorphing();
            any = true;
        } else if (item->EnableAnimation()) {
            if ((item->Active || item->Down) && item->CurrentFrame <= item->MI->FrameCount) {
                ++item->CurrentFrame;
                item->Draw(Canvas());
                any = true;
            } else if (!(item->Active || item->Down) && item->CurrentFrame > 0) {
                --item->CurrentFrame;
                item->Draw(Canvas());
                any = true;
            }
        }
    }
    if (!any) MorphTimer->SetEnabled(false);
}

void TbsSkinPopupWindow::Collapse() {
    const int level = ParentMenu->LevelOf(this);
    if (level + 1 < ParentMenu->LevelCount()) ParentMenu->CloseMenu(level + 1);
    for (auto& item : ItemList)
        if (item->Down) {
            item->Down = false;
            if (item->MI && !item->MI->InActiveAnimation) item->CurrentFrame = 0;
            item->ReDraw();
        }
}

}  // namespace skin
