#include "skin/form/mdi_tabs_bar.h"

#include <algorithm>
#include <string>

#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"

namespace skin {
namespace {

constexpr const char* kBarItem = "_BSFCHILDITEMBAR";
constexpr const char* kHiddenBarItem = "_BSFCHILDITEMBARHIDE";

[[nodiscard]] gfx::TRect Moved(gfx::TRect r, int dx) {
    r.Left += dx;
    r.Right += dx;
    return r;
}

const TbsDataSkinButtonControl* ButtonRecord(TbsSkinData* sd, const char* name) {
    if (!sd || sd->Empty) return nullptr;
    const int i = sd->GetControlIndex(name);
    return i >= 0
               ? dynamic_cast<const TbsDataSkinButtonControl*>(sd->CtrlList[std::size_t(i)].get())
               : nullptr;
}

gfx::TBitmap* PictureOf(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= int(sd->FActivePictures.size())) return nullptr;
    return sd->FActivePictures[std::size_t(index)].get();
}

}  // namespace

// ---- a tab

void TbsMDITab::Draw(gfx::TCanvas& Cnvs) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0 || !Child) return;
    TbsSkinMDITabsBar& bar = *TabsBar;
    if (bar.HasRecord() && bar.FTabKind == bstkButton) {
        ButtonDraw(Cnvs);
        return;
    }
    if (bar.HasRecord() && bar.Picture && !bar.UseSkinSize) {
        ResizeDraw(Cnvs);
        return;
    }
    gfx::TBitmap image;
    image.SetSize(w, h);
    gfx::TCanvas& c = image.Canvas();
    const bool skinned = bar.HasRecord() && bar.Picture;
    if (!skinned) {
        c.Brush().SetColor(Active ? kNoSkin.DownFill : MouseIn ? kNoSkin.HotFill : gfx::clBtnFace);
        c.FillRect({0, 0, w, h});
        c.Font().Assign(bar.FDefaultFont);
        SetCharset(c);
    } else {
        const gfx::TRect source = MouseIn && !Active ? bar.MouseInTabRect
                                  : Active           ? bar.ActiveTabRect
                                                     : bar.TabRect;
        BuildHorzSkinStrip(bar.TabLeftOffset, bar.TabRightOffset, image, *bar.Picture, source, w, h,
                           bar.TabStretchEffect);
        SetSkinFont(c);
    }

    gfx::TRect text;
    if (bar.ShowCloseButtons) {
        text = {2, 0, w - bar.FCloseSize - 5, h};
        DrawCloseButton(c, {text.Right, 0, w, h});
    } else if (skinned) {
        text = {bar.TabLeftOffset, 0, w - bar.TabRightOffset, h};
    } else {
        text = {2, 0, w - 2, h};
    }
    DrawCaption(c, text, !skinned);
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TbsMDITab::SetCharset(gfx::TCanvas& c) const {
    TbsSkinData* sd = TabsBar->SkinData();
    if (sd && sd->ResourceStrData()) c.Font().SetCharset(sd->ResourceStrData()->CharSet());
}

void TbsMDITab::SetSkinFont(gfx::TCanvas& c) const {
    TbsSkinMDITabsBar& bar = *TabsBar;
    if (bar.UseSkinFont) {
        c.Font().SetName(bar.FontName);
        c.Font().SetStyle(bar.FontStyle);
        c.Font().SetHeight(bar.FontHeight);
    } else {
        c.Font().Assign(bar.FDefaultFont);
    }
    c.Font().SetColor(MouseIn && !Active ? bar.MouseInFontColor
                      : Active           ? bar.ActiveFontColor
                                         : bar.FontColor);
    SetCharset(c);
}

void TbsMDITab::DrawCaption(gfx::TCanvas& c, gfx::TRect text, bool raiseEvent) {
    TbsSkinMDITabsBar& bar = *TabsBar;
    std::string caption = Child->Caption();
    EllipsizeWideText(c, caption, text.Width());
    if (raiseEvent && bar.OnTabGetDrawParamsEvent) bar.OnTabGetDrawParamsEvent(this, c);
    c.Brush().SetStyle(gfx::bsClear);
    DrawWideTextOn(c, caption, text, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
}

void TbsMDITab::ButtonDraw(gfx::TCanvas& Cnvs) {
    TbsSkinMDITabsBar& bar = *TabsBar;
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    const TbsDataSkinButtonControl* rec = ButtonRecord(bar.SkinData(), "resizebutton");
    gfx::TBitmap* picture = rec ? PictureOf(bar.SkinData(), rec->PictureIndex) : nullptr;
    if (!picture) return;
    const gfx::TRect active = !rec->ActiveSkinRect.IsEmpty() ? rec->ActiveSkinRect : rec->SkinRect;
    const gfx::TRect down = !rec->DownSkinRect.IsEmpty() ? rec->DownSkinRect : active;
    gfx::TBitmap image;
    image.SetSize(w, h);
    gfx::TCanvas& c = image.Canvas();
    BuildNineSliceFromRect(image, *picture,
                           Active    ? down
                           : MouseIn ? active
                                     : rec->SkinRect,
                           rec->ClRect, true);
    SetSkinFont(c);
    c.Font().SetColor(Active    ? rec->DownFontColor
                      : MouseIn ? rec->ActiveFontColor
                                : rec->FontColor);
    gfx::TRect text{rec->ClRect.Left, rec->ClRect.Top,
                    rec->ClRect.Right + w - rec->SkinRect.Width(),
                    rec->ClRect.Bottom + h - rec->SkinRect.Height()};
    if (bar.ShowCloseButtons) {
        text.Right -= bar.FCloseSize + 3;
        DrawCloseButton(c, {text.Right, 0, text.Right + bar.FCloseSize + 3, h});
    }
    const int th = c.TextHeight("Wg");
    if (text.Height() < th) {
        text.Top = (h - th) / 2;
        text.Bottom = text.Top + th;
    }
    DrawCaption(c, text, true);
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TbsMDITab::ResizeDraw(gfx::TCanvas& Cnvs) {
    TbsSkinMDITabsBar& bar = *TabsBar;
    const int w = ObjectRect.Width();
    const int h = ObjectRect.Height() + (Active ? bar.FActiveTabOffset : 0);
    if (h <= 0) return;
    const gfx::TRect source = MouseIn && !Active && !bar.MouseInTabRect.IsEmpty()
                                  ? bar.MouseInTabRect
                              : Active ? bar.ActiveTabRect
                                       : bar.TabRect;
    const int q = bar.TabRect.Height() / 4;
    gfx::TBitmap image;
    image.SetSize(w, h);
    gfx::TCanvas& c = image.Canvas();
    BuildNineSliceFromRect(
        image, *bar.Picture, source,
        {bar.TabLeftOffset, q, source.Width() - bar.TabRightOffset, source.Height() - q}, true);
    SetSkinFont(c);
    gfx::TRect text;
    if (bar.ShowCloseButtons) {
        text = {2, 2, w - bar.FCloseSize - 5, h};
        DrawCloseButton(c, {text.Right, 2, w, h});
    } else {
        text = {2, 0, w - 2, h};
    }
    DrawCaption(c, text, true);
    Cnvs.Draw(ObjectRect.Left, ObjectRect.Top, image);
}

void TbsMDITab::DrawCloseButton(gfx::TCanvas& Cnvs, const gfx::TRect& R) {
    TbsSkinMDITabsBar& bar = *TabsBar;
    const int cy = R.Top + R.Height() / 2;
    if (!bar.HasRecord() || !bar.Picture) {
        ButtonRect = {R.Left, cy - 7, R.Left + 14, cy + 7};
        DrawCloseGlyph(Cnvs, ButtonRect.Left + 2, ButtonRect.Top + 2,
                       ButtonMouseIn ? gfx::clWhite : gfx::clBlack);
        return;
    }
    if (!bar.CloseButtonRect.IsEmpty()) {
        const gfx::TRect look = ButtonMouseDown && ButtonMouseIn ? bar.CloseButtonDownRect
                                : ButtonMouseIn                  ? bar.ClosebuttonActiveRect
                                                                 : bar.CloseButtonRect;
        ButtonRect = {R.Left, cy - look.Height() / 2, R.Left + look.Width(),
                      cy - look.Height() / 2 + look.Height()};
        gfx::TBitmap b;
        b.SetSize(look.Width(), look.Height());
        b.Canvas().CopyRect({0, 0, look.Width(), look.Height()}, bar.Picture->Canvas(), look);
        if (bar.ButtonTransparent) {
            b.SetTransparent(true);
            b.SetTransparentColor(bar.ButtonTransparentColor);
        }
        Cnvs.Draw(ButtonRect.Left, ButtonRect.Top, b);
        return;
    }
    const TbsDataSkinButtonControl* rec = ButtonRecord(bar.SkinData(), "resizetoolbutton");
    gfx::TBitmap* picture = rec ? PictureOf(bar.SkinData(), rec->PictureIndex) : nullptr;
    if (!picture) return;
    const gfx::TRect active = rec->ActiveSkinRect.IsEmpty() ? rec->SkinRect : rec->ActiveSkinRect;
    const gfx::TRect down = rec->DownSkinRect.IsEmpty() ? active : rec->DownSkinRect;
    const bool pressed = ButtonMouseDown && ButtonMouseIn;
    const int s = bar.FCloseSize;
    gfx::TBitmap b;
    b.SetSize(s, s);
    BuildNineSliceFromRect(b, *picture,
                           pressed         ? down
                           : ButtonMouseIn ? active
                                           : rec->SkinRect,
                           rec->ClRect, true);
    DrawCloseGlyph(b.Canvas(), s / 2 - 5, s / 2 - 5,
                   pressed         ? rec->DownFontColor
                   : ButtonMouseIn ? rec->ActiveFontColor
                                   : rec->FontColor);
    ButtonRect = {R.Left, cy - s / 2, R.Left + s, cy - s / 2 + s};
    Cnvs.Draw(ButtonRect.Left, ButtonRect.Top, b);
}

// ---- the bar

TbsSkinMDITabsBar::TbsSkinMDITabsBar(vcl::TComponent* AOwner) : TbsSkinControl(AOwner) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FListMenu = new TbsSkinPopupMenu(this);
    FHideListMenu = new TbsSkinPopupMenu(this);
    SetSkinDataName("tab");
    SetBounds(Left(), Top(), 150, 21);
}

void TbsSkinMDITabsBar::BeforeDestruction() {
    ClearTabs();
    TbsSkinControl::BeforeDestruction();
}

void TbsSkinMDITabsBar::ClearTabs() {
    ObjectList.clear();
}

TbsSkinForm* TbsSkinMDITabsBar::ChildComponent(vcl::TCustomForm* child) {
    return GetSkinFormComponent(child);
}

void TbsSkinMDITabsBar::SetSkinForm(TbsSkinForm* value) {
    if (BSF) BSF->RemoveFreeNotification(this);
    BSF = value;
    if (BSF) BSF->FreeNotification(this);
}

void TbsSkinMDITabsBar::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == BSF) BSF = nullptr;
    if (AComponent == FListButton) FListButton = nullptr;
    if (AComponent == FHideListButton) FHideListButton = nullptr;
    // A child freed without a word to its component: its tab goes with it.
    std::erase_if(ObjectList, [&](const std::unique_ptr<TbsMDITab>& t) {
        return static_cast<vcl::TComponent*>(t->Child) == AComponent;
    });
}

void TbsSkinMDITabsBar::SetTabKind(TbsSkinMDITabKind value) {
    FTabKind = value;
    if (HasRecord()) Invalidate();
}

void TbsSkinMDITabsBar::SetDefaultHeight(int value) {
    FDefaultHeight = value;
    if (!HasRecord() && value > 0) SetHeight(value);
}

void TbsSkinMDITabsBar::AddTab(vcl::TCustomForm* Child) {
    if (!Child) return;
    ObjectList.push_back(std::make_unique<TbsMDITab>(this, Child));
    Child->FreeNotification(this);
    if (!FListButton) ShowListButton();
    Invalidate();
}

void TbsSkinMDITabsBar::DeleteTab(vcl::TCustomForm* Child) {
    auto it = std::find_if(ObjectList.begin(), ObjectList.end(),
                           [&](const auto& t) { return t->Child == Child; });
    if (it == ObjectList.end()) return;
    const int index = int(it - ObjectList.begin());
    if (ActiveTabIndex == index) {
        if (OnTabMouseLeave) OnTabMouseLeave(it->get());
        ActiveTabIndex = OldTabIndex = -1;
    }
    if (DragIndex == index) {
        DragIndex = -1;
        IsDrag = FDown = false;
    }
    ObjectList.erase(it);
    if (ObjectList.empty()) {
        vcl::FreeAndNil(FListButton);
        vcl::FreeAndNil(FHideListButton);
    }
    Invalidate();
}

void TbsSkinMDITabsBar::UpdateActiveTab() {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    vcl::TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    for (auto& t : ObjectList) t->Active = t->Child == active;
    Invalidate();
}

void TbsSkinMDITabsBar::RefreshTab(vcl::TCustomForm* Child) {
    for (auto& t : ObjectList)
        if (t->Child == Child) Invalidate();
}

int TbsSkinMDITabsBar::GetTabIndex(int X, int Y) const {
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        const TbsMDITab& t = *ObjectList[i];
        const gfx::TRect& r = t.ObjectRect;
        if (t.Visible && X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom) return int(i);
    }
    return -1;
}

TbsMDITab* TbsSkinMDITabsBar::GetTab(int X, int Y) const {
    const int i = GetTabIndex(X, Y);
    return i == -1 ? nullptr : ObjectList[std::size_t(i)].get();
}

int TbsSkinMDITabsBar::GetCloseSize() const {
    return !HasRecord() || CloseButtonRect.IsEmpty() ? 14 : CloseButtonRect.Width();
}

void TbsSkinMDITabsBar::GetSkinData() {
    TbsSkinControl::GetSkinData();
    Picture = nullptr;
    if (FIndex == -1) return;
    const auto* rec =
        dynamic_cast<const TbsDataSkinTabControl*>(FSD->CtrlList[std::size_t(FIndex)].get());
    if (!rec) {
        FIndex = -1;
        return;
    }
    Picture = PictureOf(FSD, rec->PictureIndex);
    TabRect = rec->TabRect;
    ActiveTabRect = rec->ActiveTabRect.IsEmpty() ? TabRect : rec->ActiveTabRect;
    MouseInTabRect = rec->MouseInTabRect.IsEmpty() ? TabRect : rec->MouseInTabRect;
    TabsBGRect = rec->TabsBGRect;
    TabLeftOffset = rec->TabLeftOffset;
    TabRightOffset = rec->TabRightOffset;
    FontName = rec->FontName;
    FontStyle = rec->FontStyle;
    FontHeight = rec->FontHeight;
    FontColor = rec->FontColor;
    ActiveFontColor = rec->ActiveFontColor;
    MouseInFontColor = rec->MouseInFontColor;
    TabStretchEffect = rec->TabStretchEffect;
    CloseButtonRect = rec->CloseButtonRect;
    ClosebuttonActiveRect =
        rec->CloseButtonActiveRect.IsEmpty() ? CloseButtonRect : rec->CloseButtonActiveRect;
    CloseButtonDownRect =
        rec->CloseButtonDownRect.IsEmpty() ? ClosebuttonActiveRect : rec->CloseButtonDownRect;
    ButtonTransparent = rec->ButtonTransparent;
    ButtonTransparentColor = rec->ButtonTransparentColor;
    LTPoint = rec->LTPoint;
    RTPoint = rec->RTPoint;
    LBPoint = rec->LBPoint;
    RBPoint = rec->RBPoint;
    ClRect = rec->ClRect;
    SkinRect = rec->SkinRect;
    TopStretch = rec->TopStretch;
    FBottomOffset = ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TbsSkinMDITabsBar::ChangeSkinData() {
    TbsSkinControl::ChangeSkinData();
    FCloseSize = GetCloseSize();
    if (HasRecord() && UseSkinSize)
        SetHeight(TabRect.Height() + (FTabKind == bstkTab ? FBottomOffset : 0));
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    if (FListButton) FListButton->SetSkinData(FSD);
    if (FHideListButton) FHideListButton->SetSkinData(FSD);
    if (ShowCloseButtons) Invalidate();
    Realign();
}

void TbsSkinMDITabsBar::AdjustClientRect(vcl::TRect& Rect) {
    TbsSkinControl::AdjustClientRect(Rect);
    if (FTabKind == bstkTab && HasRecord()) Rect.Bottom -= FBottomOffset;
}

void TbsSkinMDITabsBar::Dispatch(vcl::TMessage& Message) {
    switch (Message.Msg) {
        case WM_CHECKPARENTBG:
        case win::WM_MOVE:
            TbsSkinControl::Dispatch(Message);
            if ((Message.Msg == WM_CHECKPARENTBG || Align() == vcl::alNone) && HasRecord() &&
                FSD->MDITabsTransparent)
                Invalidate();
            return;
        case vcl::CM_MOUSELEAVE:
            TbsSkinControl::Dispatch(Message);
            HotTrackTab(-1, -1);
            return;
        default:
            TbsSkinControl::Dispatch(Message);
    }
}

// ---- layout and painting

void TbsSkinMDITabsBar::CalcTabRects() {
    FInVisibleCount = 0;
    FRightLimit = Width();
    const int n = int(ObjectList.size());
    if (n == 0) return;
    const int H = FTabKind == bstkTab ? Height() - FBottomOffset : Height();
    const int W = std::min((Width() - 15) / n, DefaultTabWidth);
    if (MinTabWidth > 0 && W < MinTabWidth) {
        const int N = (Width() - 30) / MinTabWidth;
        for (int i = 0; i < n; ++i) {
            TbsMDITab& t = *ObjectList[std::size_t(i)];
            t.Visible = i < N;
            t.ObjectRect = t.Visible
                               ? gfx::TRect{15 + i * MinTabWidth, 0, 15 + (i + 1) * MinTabWidth, H}
                               : gfx::TRect{};
            if (!t.Visible) ++FInVisibleCount;
        }
        FRightLimit = Width() - 15;
    } else {
        for (int i = 0; i < n; ++i) {
            TbsMDITab& t = *ObjectList[std::size_t(i)];
            t.Visible = true;
            t.ObjectRect = {15 + i * W, 0, 15 + (i + 1) * W, H};
        }
        if (W < DefaultTabWidth) ObjectList.back()->ObjectRect.Right = Width();
    }
    if (IsDrag && DragIndex >= 0 && DragIndex < n) {
        gfx::TRect& r = ObjectList[std::size_t(DragIndex)]->ObjectRect;
        r = Moved(r, TabDX);
        if (r.Left < 0) r = Moved(r, -r.Left);
        if (r.Right > FRightLimit) r = Moved(r, FRightLimit - r.Right);
    }
}

void TbsSkinMDITabsBar::PaintTabs(gfx::TCanvas& C) {
    CalcTabRects();
    for (int i = 0; i < int(ObjectList.size()); ++i) {
        TbsMDITab& t = *ObjectList[std::size_t(i)];
        if (!t.Visible || (i == DragIndex && (FDown || IsDrag))) continue;
        t.Draw(C);
    }
    if (IsDrag && DragIndex >= 0 && DragIndex < int(ObjectList.size())) {
        ObjectList[std::size_t(DragIndex)]->Draw(C);
        DrawDropMarker(C);
    }
}

void TbsSkinMDITabsBar::DrawDropMarker(gfx::TCanvas& C) {
    const int target = GetDropIndex();
    if (target == -1) return;
    const gfx::TRect& r = ObjectList[std::size_t(target)]->ObjectRect;
    const int X = TabDX < 1 ? r.Left : r.Right;
    const int H = Height(), m = H / 2;
    C.Pen().SetMode(gfx::pmNot);
    C.Brush().SetStyle(gfx::bsClear);
    for (int x : {X - 1, X, X + 1}) {
        C.MoveTo(x, 0);
        C.LineTo(x, H);
    }
    for (int sign : {1, -1}) {
        C.MoveTo(X + 2 * sign, m);
        C.LineTo(X + 5 * sign, m - 3);
        C.LineTo(X + 5 * sign, m + 3);
        C.LineTo(X + 2 * sign, m);
    }
    C.Pen().SetMode(gfx::pmCopy);
}

void TbsSkinMDITabsBar::CreateControlDefaultImage(gfx::TBitmap& B) {
    B.Canvas().Brush().SetColor(gfx::clBtnFace);
    B.Canvas().FillRect({0, 0, B.Width(), B.Height()});
    PaintTabs(B.Canvas());
}

void TbsSkinMDITabsBar::CreateControlSkinImage(gfx::TBitmap& B) {
    gfx::TCanvas& C = B.Canvas();
    const int H = FTabKind == bstkTab ? Height() - FBottomOffset : Height();
    if (FSD->MDITabsTransparent) {
        PaintParentBackdrop(this, C);
    } else if (Picture && !TabsBGRect.IsEmpty()) {
        gfx::TBitmap column;
        column.SetSize(TabsBGRect.Width(), TabRect.Height());
        column.Canvas().CopyRect({0, 0, column.Width(), column.Height()}, Picture->Canvas(),
                                 TabsBGRect);
        const int cw = TabsBGRect.Width();
        for (int i = 0; i <= Width() / cw; ++i) C.StretchDraw({i * cw, 0, (i + 1) * cw, H}, column);
    } else {
        C.Brush().SetColor(gfx::clBtnFace);
        C.FillRect({0, 0, B.Width(), B.Height()});
    }
    if (FTabKind == bstkTab && !SkinRect.IsEmpty() && Picture && FBottomOffset > 0) {
        gfx::TBitmap strip;
        const gfx::TRect source{SkinRect.Left + LTPoint.X, SkinRect.Top, SkinRect.Left + RTPoint.X,
                                SkinRect.Top + ClRect.Top};
        BuildHorzSkinStrip(LTPoint.X, SkinRect.Width() - RTPoint.X, strip, *Picture, source,
                           Width(), FBottomOffset, TopStretch);
        C.Draw(0, Height() - FBottomOffset, strip);
    }
    PaintTabs(C);
}

void TbsSkinMDITabsBar::Paint() {
    TbsSkinControl::Paint();
    if (FInVisibleCount > 0 && !FHideListButton)
        ShowHiddenListButton();
    else if (FInVisibleCount == 0 && FHideListButton)
        vcl::FreeAndNil(FHideListButton);
}

// ---- mouse

void TbsSkinMDITabsBar::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    const int index = GetTabIndex(X, Y);
    if (index == -1) return;
    TbsMDITab* tab = ObjectList[std::size_t(index)].get();
    vcl::TCustomForm* child = tab->Child;
    if (Button == vcl::mbLeft) {
        child->Show();
        if (TbsSkinForm* c = ChildComponent(child); c && c->WindowState() == vcl::wsMinimized)
            c->SetWindowState(vcl::wsNormal);
        // Showing may have changed the tabs.
        if (index >= int(ObjectList.size()) || ObjectList[std::size_t(index)].get() != tab) return;
        FDown = true;
        if (MoveTabs) DragIndex = index;
        DX = X;
        TabDX = 0;
        if (OnTabMouseDown) OnTabMouseDown(Button, Shift, tab);
        if (ShowCloseButtons) {
            const gfx::TRect b = Moved(tab->ButtonRect, tab->ObjectRect.Left);
            const bool on = b.Contains(X, Y - tab->ObjectRect.Top + tab->ObjectRect.Top);
            if (on) {
                FDown = false;
                DragIndex = -1;
                tab->ButtonMouseIn = tab->ButtonMouseDown = true;
            } else {
                tab->ButtonMouseIn = tab->ButtonMouseDown = false;
            }
            Invalidate();
        }
    } else if (Button == vcl::mbRight) {
        TbsSkinForm* c = ChildComponent(child);
        if (SupportChildMenus && c && BSF && BSF->SkinMenu) {
            gfx::TPoint p;
            win::GetCursorPos(p);
            BSF->SkinMenuOpen();
            BSF->SkinMenu->Popup(Parent(),
                                 BSF->MenusSkinData() ? BSF->MenusSkinData() : BSF->SkinData(), 0,
                                 {p.X, p.Y, p.X, p.Y}, c->GetSysMenuItems(), false);
        }
        if (OnTabMouseDown) OnTabMouseDown(Button, Shift, tab);
    }
}

void TbsSkinMDITabsBar::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex != -1 && (IsDrag || X != DX)) {
        IsDrag = true;
        TabDX = X - DX;
        Invalidate();
    } else if (!IsDrag) {
        HotTrackTab(X, Y);
    }
}

void TbsSkinMDITabsBar::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        const int target = GetDropIndex();
        if (target != -1 && target != DragIndex) {
            auto tab = std::move(ObjectList[std::size_t(DragIndex)]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + target, std::move(tab));
        }
        IsDrag = false;
        DragIndex = -1;
        TabDX = 0;
        Invalidate();
    } else {
        DragIndex = -1;
        if (OnTabMouseUp) OnTabMouseUp(Button, Shift, GetTab(X, Y));
    }
    if (!ShowCloseButtons || Button != vcl::mbLeft) return;
    TbsMDITab* tab = GetTab(X, Y);
    if (tab && tab->ButtonMouseDown &&
        Moved(tab->ButtonRect, tab->ObjectRect.Left).Contains(X, Y)) {
        tab->ButtonMouseIn = true;
        tab->ButtonMouseDown = false;
        Invalidate();
        tab->Child->Close();
        return;
    }
    for (auto& t : ObjectList) t->ButtonMouseDown = false;
    if (tab) tab->ButtonMouseIn = false;
    Invalidate();
}

int TbsSkinMDITabsBar::GetDropIndex() const {
    const int n = int(ObjectList.size());
    if (n == 0 || DragIndex < 0 || DragIndex >= n) return -1;
    const gfx::TRect& dragged = ObjectList[std::size_t(DragIndex)]->ObjectRect;
    int result = -1;
    if (TabDX > 0) {
        for (int i = DragIndex + 1; i < n; ++i) {
            const TbsMDITab& t = *ObjectList[std::size_t(i)];
            if (t.Visible && (t.ObjectRect.Left + t.ObjectRect.Right) / 2 < dragged.Right)
                result = i;
        }
    } else if (TabDX < 0) {
        for (int i = DragIndex - 1; i >= 0; --i) {
            const TbsMDITab& t = *ObjectList[std::size_t(i)];
            if (t.Visible && (t.ObjectRect.Left + t.ObjectRect.Right) / 2 > dragged.Left)
                result = i;
        }
    }
    return result;
}

void TbsSkinMDITabsBar::HotTrackTab(int X, int Y) {
    CalcTabRects();
    ActiveTabIndex = GetTabIndex(X, Y);
    const bool changed = ActiveTabIndex != OldTabIndex;
    const int n = int(ObjectList.size());
    if (changed) {
        if (OldTabIndex >= 0 && OldTabIndex < n) {
            TbsMDITab* old = ObjectList[std::size_t(OldTabIndex)].get();
            old->MouseIn = false;
            if (OnTabMouseLeave) OnTabMouseLeave(old);
        }
        if (ActiveTabIndex >= 0) {
            TbsMDITab* now = ObjectList[std::size_t(ActiveTabIndex)].get();
            now->MouseIn = true;
            if (OnTabMouseEnter) OnTabMouseEnter(now);
        }
        OldTabIndex = ActiveTabIndex;
        Invalidate();
    }
    if (!ShowCloseButtons) return;
    if (ActiveTabIndex >= 0) {
        TbsMDITab* t = ObjectList[std::size_t(ActiveTabIndex)].get();
        const bool in = Moved(t->ButtonRect, t->ObjectRect.Left).Contains(X, Y);
        if (in != t->ButtonMouseIn) {
            t->ButtonMouseIn = in;
            if (!in) t->ButtonMouseDown = false;
            Invalidate();
        }
    }
    if (changed)
        for (int i = 0; i < n; ++i)
            if (i != ActiveTabIndex && ObjectList[std::size_t(i)]->ButtonMouseIn) {
                ObjectList[std::size_t(i)]->ButtonMouseIn = false;
                Invalidate();
            }
}

// ---- list buttons

void TbsSkinMDITabsBar::ShowListButton() {
    FListButton = new TbsSkinMenuSpeedButton(this);
    FListButton->SetParent(this);
    FListButton->SetAlign(vcl::alLeft);
    FListButton->SetWidth(15);
    FListButton->SetSkinDataName("resizetoolbutton");
    FListButton->SetSkinData(FSD);
    FListButton->SetSkinPopupMenu(FListMenu);
    FListButton->FDrawStandardArrow = true;
    FListButton->FArrowType = 4;
    FListButton->OnShowTrackMenu = [this](vcl::TObject*) { FillListMenu(); };
}

void TbsSkinMDITabsBar::ShowHiddenListButton() {
    FHideListButton = new TbsSkinMenuSpeedButton(this);
    FHideListButton->SetParent(this);
    FHideListButton->SetAlign(vcl::alRight);
    FHideListButton->SetWidth(15);
    FHideListButton->SetSkinDataName("resizetoolbutton");
    FHideListButton->SetSkinData(FSD);
    FHideListButton->SetSkinPopupMenu(FHideListMenu);
    FHideListButton->FDrawStandardArrow = true;
    FHideListButton->FArrowType = 2;
    FHideListButton->OnShowTrackMenu = [this](vcl::TObject*) { FillHiddenListMenu(); };
    FHideListButton->Invalidate();
}

void TbsSkinMDITabsBar::ShowChildNamed(const std::string& name) {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!main || !BSF) return;
    for (int i = 0; i < main->MDIChildCount(); ++i) {
        vcl::TCustomForm* child = main->MDIChildren(i);
        if (child->Name() != name) continue;
        if (TbsSkinForm* c = ChildComponent(child); c && c->WindowState() == vcl::wsMinimized)
            c->SetWindowState(vcl::wsNormal);
        child->Show();
        return;
    }
}

namespace {

void FillMenu(TbsSkinPopupMenu* menu, const std::vector<TbsMDITab*>& tabs, const char* suffix,
              const std::function<void(const std::string&)>& show) {
    vcl::TMenuItem* items = menu->Items();
    while (items->Count() > 0) items->Items(items->Count() - 1)->Free();
    for (TbsMDITab* t : tabs) {
        auto* item = new vcl::TMenuItem(menu);
        const std::string name = t->Child->Name();
        item->SetName(name + suffix);
        item->SetCaption(t->Child->Caption());
        item->SetRadioItem(true);
        item->SetGroupIndex(0);
        item->SetChecked(t->Active);
        item->OnClick = [show, name](vcl::TObject*) { show(name); };
        items->Add(item);
    }
}

}  // namespace

void TbsSkinMDITabsBar::FillListMenu() {
    std::vector<TbsMDITab*> tabs;
    for (auto& t : ObjectList) tabs.push_back(t.get());
    FillMenu(FListMenu, tabs, kBarItem, [this](const std::string& n) { ShowChildNamed(n); });
}

void TbsSkinMDITabsBar::FillHiddenListMenu() {
    std::vector<TbsMDITab*> tabs;
    for (auto& t : ObjectList)
        if (!t->Visible) tabs.push_back(t.get());
    FillMenu(FHideListMenu, tabs, kHiddenBarItem,
             [this](const std::string& n) { ShowChildNamed(n); });
}

}  // namespace skin
