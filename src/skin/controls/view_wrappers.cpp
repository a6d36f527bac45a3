// The skinned tree and list views: skin colours and font, the external bars kept in step with
// the views' scroll state, scrolling from the bars, and the list view's header taken over and
// painted from the skin.
#include "skin/controls/view_wrappers.h"

#include <algorithm>
#include <vector>

#include "platform/win/scroll_info.h"
#include "skin/controls/solid_fill.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"

namespace skin {

using namespace win;
using vcl::TMessage;

namespace {

// What the header is widened by at every placement (room under a system bar's corner).
constexpr int kHeaderExtra = 25;

// Raises a flag for a scope.
class TRaised {
public:
    explicit TRaised(bool& flag) : FFlag(flag), FOld(flag) { flag = true; }
    ~TRaised() { FFlag = FOld; }
    TRaised(const TRaised&) = delete;
    TRaised& operator=(const TRaised&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

SCROLLINFO ScrollInfoOf(HWND window, int bar) {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(window, bar, si);
    return si;
}

}  // namespace

// --- TbsSkinViewLink ---------------------------------------------------------------------------

TbsSkinViewLink::TbsSkinViewLink(vcl::TControl& view, std::string skinDataName)
    : FView(view), FSkinDataName(std::move(skinDataName)) {
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetStyle(0);
    FDefaultFont.SetHeight(14);
}

TbsSkinViewLink::~TbsSkinViewLink() {
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) bar->OnChange = nullptr;
}

void TbsSkinViewLink::SetSkinData(TbsSkinData* value) {
    if (FSD != value) {
        if (FSD) FSD->RemoveFreeNotification(&FView);
        FSD = value;
        if (FSD) FSD->FreeNotification(&FView);
    }
    if (FSD && !FSD->Empty && !FView.ComponentState().Contains(vcl::csDesigning)) ChangeSkinData();
}

void TbsSkinViewLink::SetDefaultFont(const gfx::TFont& value) {
    FDefaultFont.Assign(value);
    if (FIndex == -1) FView.Font().Assign(value);
}

void TbsSkinViewLink::SetDefaultColor(gfx::TColor value) {
    FDefaultColor = value;
    if (FIndex == -1) FView.SetColor(value);
}

void TbsSkinViewLink::TakeBar(TbsSkinScrollBar*& slot, TbsSkinScrollBar* value, bool vertical) {
    // A bar let go of no longer scrolls the view (the form's own handler is gone anyway).
    if (slot && slot != value) slot->OnChange = nullptr;
    slot = value;
    if (value) {
        value->FreeNotification(&FView);
        value->SetEnabled(true);
        value->SetVisible(false);
        value->OnChange = [this, vertical](vcl::TObject*) {
            if (vertical)
                OnVScrollBarChange();
            else
                OnHScrollBarChange();
        };
    }
    UpDateScrollBars();
}

void TbsSkinViewLink::SetVScrollBar(TbsSkinScrollBar* value) {
    TakeBar(FVScrollBar, value, true);
}

void TbsSkinViewLink::SetHScrollBar(TbsSkinScrollBar* value) {
    TakeBar(FHScrollBar, value, false);
}

void TbsSkinViewLink::Forget(vcl::TComponent* AComponent) {
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

template <class TRecord>
void TbsSkinViewLink::ApplySkin() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    gfx::TFont& font = FView.Font();
    if (FIndex < 0) {
        FView.SetColor(FDefaultColor);
        font.Assign(FDefaultFont);
    } else if (const auto* r = dynamic_cast<const TRecord*>(FSD->CtrlList[FIndex].get())) {
        if (FUseSkinFont) {
            font.SetName(r->FontName);
            font.SetStyle(r->FontStyle);
            font.SetHeight(r->FontHeight);
        } else {
            font.Assign(FDefaultFont);
        }
        font.SetColor(r->FontColor);
        FView.SetColor(r->BGColor);
    }
    font.SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                  : FDefaultFont.Charset());
}

void TbsSkinViewLink::ApplyBars(const TBarState& v, const TBarState& h) {
    vcl::TWinControl* parent = FView.Parent();
    if (parent) parent->DisableAlign();
    bool shown = false;
    auto apply = [&](TbsSkinScrollBar* bar, const TBarState& s) {
        if (!bar) return;
        if (bar->Visible() != s.Visible) {
            TRaised guard(FInCheckScrollBars);
            bar->SetVisible(s.Visible);
            shown = true;
        }
        if (!s.Visible) return;
        bar->SetRange(s.Min, s.Max, s.Position, s.Page);
        if (s.SmallChange > 0) bar->SetSmallChange(s.SmallChange);
        if (s.LargeChange > 0) bar->SetLargeChange(s.LargeChange);
    };
    apply(FVScrollBar, v);
    apply(FHScrollBar, h);
    if (FVScrollBar && FHScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
        FHScrollBar->SetBoth(FVScrollBar->Visible());
    // The bars' visibility asked the parent to realign; it does so once, now.
    if (parent) {
        TRaised guard(FInCheckScrollBars);
        parent->EnableAlign();
    }
    // A bar that came or went moved the view's edges, often from the view's own paint, whose
    // end validates the whole window: the strip the view gained is painted now, or it would
    // stay unpainted until something else asks for a paint.
    if (auto* view = dynamic_cast<vcl::TWinControl*>(&FView);
        shown && view && view->HandleAllocated()) {
        view->Invalidate();
        view->Update();
    }
}

bool TbsSkinViewLink::HandleFrameMessage(vcl::TMessage& m) {
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            m.Result = 0;
            return true;
        case WM_NCPAINT:
            return true;
        case CM_PAINTSKINFRAME:
            m.Result = kPaintSkinFrameDone;
            return true;
        default:
            return false;
    }
}

void TbsSkinViewLink::ShowBarsWithView() {
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar) bar->SetVisible(FView.Visible());
}

void TbsSkinViewLink::FollowView(UINT message, bool followSize) {
    switch (message) {
        case WM_SIZE:
            if (followSize && !FInCheckScrollBars) UpDateScrollBars();
            break;
        case WM_PAINT:
            if (!FInCheckScrollBars) UpDateScrollBars();
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONUP:
            UpDateScrollBars();
            break;
        default:
            break;
    }
}

void TbsSkinViewLink::RealignBars() {
    vcl::TWinControl* first = FVScrollBar ? FVScrollBar->Parent() : nullptr;
    if (first) first->Realign();
    if (FHScrollBar && FHScrollBar->Parent() && FHScrollBar->Parent() != first)
        FHScrollBar->Parent()->Realign();
}

// --- TbsSkinCustomTreeView ---------------------------------------------------------------------

TbsSkinCustomTreeView::TbsSkinCustomTreeView(vcl::TComponent* AOwner)
    : vcl::TCustomTreeView(AOwner), TbsSkinViewLink(*this, "treeview") {}

void TbsSkinCustomTreeView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomTreeView::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove) Forget(AComponent);
}

void TbsSkinCustomTreeView::Loaded() {
    vcl::TCustomTreeView::Loaded();
    ChangeSkinData();
}

void TbsSkinCustomTreeView::CreateParams(vcl::TCreateParams& Params) {
    vcl::TCustomTreeView::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomTreeView::ChangeSkinData() {
    if (ComponentState().Contains(vcl::csLoading)) return;
    ApplySkin<TbsDataSkinTreeView>();
    for (vcl::TCustomImageList* images : {Images(), StateImages()})
        if (images) images->SetBkColor(Color());
    UpDateScrollBars();
    RealignBars();
}

void TbsSkinCustomTreeView::UpDateScrollBars() {
    if (ComponentState().Contains(vcl::csLoading) || FInCheckScrollBars || !HandleAllocated())
        return;
    TBarState v, h;
    if (FVScrollBar) {
        const SCROLLINFO si = ScrollInfoOf(Handle(), SB_VERT);
        const int shown = int(Perform(vcl::TVM_GETVISIBLECOUNT));
        const int count = int(Perform(vcl::TVM_GETCOUNT));
        v.Visible = si.nMax > 0 && shown <= si.nMax && si.nMax < count && Visible();
        v.Min = si.nMin;
        v.Max = si.nMax;
        v.Position = si.nPos;
        v.Page = shown;
    }
    if (FHScrollBar) {
        const SCROLLINFO si = ScrollInfoOf(Handle(), SB_HORZ);
        h.Visible = si.nMax > Width() && Visible();
        h.Min = si.nMin;
        h.Max = si.nMax;
        h.Position = si.nPos;
        h.Page = Width();
    }
    ApplyBars(v, h);
}

// The full position goes into the tree's scroll information first; the message's 16 bits then
// agree with it, and the tree takes the full one.
void TbsSkinCustomTreeView::OnVScrollBarChange() {
    if (!FVScrollBar) return;
    const int pos = FVScrollBar->Position();
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPage = 0;
    si.nPos = pos;
    SetScrollInfo(Handle(), SB_VERT, si, true);
    Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::OnHScrollBarChange() {
    if (!FHScrollBar) return;
    Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FHScrollBar->Position() & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::WndProc(TMessage& m) {
    vcl::TCustomTreeView::WndProc(m);
    FollowView(m.Msg, !FromAlignment());
}

void TbsSkinCustomTreeView::Dispatch(TMessage& m) {
    if (HandleFrameMessage(m)) return;
    vcl::TCustomTreeView::Dispatch(m);
    if (m.Msg == vcl::CM_VISIBLECHANGED) ShowBarsWithView();
}

void TbsSkinCustomTreeView::Change(vcl::TTreeNode* Node) {
    vcl::TCustomTreeView::Change(Node);
    UpDateScrollBars();
}

// --- TbsSkinCustomListView ---------------------------------------------------------------------

TbsSkinCustomListView::TbsSkinCustomListView(vcl::TComponent* AOwner)
    : vcl::TCustomListView(AOwner), TbsSkinViewLink(*this, "listview") {
    Font().Assign(FDefaultFont);
}

TbsSkinCustomListView::~TbsSkinCustomListView() {
    ReleaseHeader();
}

void TbsSkinCustomListView::ReleaseHeader() {
    if (FHeaderToken) RemoveSubclass(FHeaderHandle, FHeaderToken);
    FHeaderToken = 0;
    FHeaderHandle = {};
}

void TbsSkinCustomListView::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TCustomListView::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove) Forget(AComponent);
}

void TbsSkinCustomListView::Loaded() {
    {
        TRaised guard(FInCheckScrollBars);
        vcl::TCustomListView::Loaded();
    }
    ChangeSkinData();
}

void TbsSkinCustomListView::CreateParams(vcl::TCreateParams& Params) {
    vcl::TCustomListView::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomListView::ChangeSkinData() {
    ApplySkin<TbsDataSkinListView>();
    UpDateScrollBars();
    RealignBars();
    if (ViewStyle() == vcl::vsReport && FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, true);
}

int TbsSkinCustomListView::ItemHeightOf0() {
    TRect r{vcl::LVIR_BOUNDS, 0, 0, 0};
    if (!Perform(vcl::LVM_GETITEMRECT, 0, PtrToParam(&r))) return 0;
    return r.Height();
}

void TbsSkinCustomListView::UpDateScrollBars() {
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5 || FInCheckScrollBars) return;
    const SCROLLINFO vs = ScrollInfoOf(Handle(), SB_VERT);
    const SCROLLINFO hs = ScrollInfoOf(Handle(), SB_HORZ);
    TBarState v{false, vs.nMin, vs.nMax, vs.nPos, 0, 0, 0};
    TBarState h{false, hs.nMin, hs.nMax, hs.nPos, 0, 0, 0};
    const bool shown = Visible();
    switch (ViewStyle()) {
        case vcl::vsReport: {
            const int perPage = int(Perform(vcl::LVM_GETCOUNTPERPAGE));
            v.Visible = perPage < vs.nMax + 1 && shown;
            v.Page = perPage;
            v.SmallChange = 1;
            v.LargeChange = perPage > 0 ? perPage : 1;
            h.Visible = hs.nMax > Width() && shown;
            h.Page = Width();
            break;
        }
        case vcl::vsList: {
            const int count = int(Perform(vcl::LVM_GETITEMCOUNT));
            TRect r0{vcl::LVIR_BOUNDS, 0, 0, 0};
            const int w0 =
                count > 0 && Perform(vcl::LVM_GETITEMRECT, 0, PtrToParam(&r0)) ? r0.Width() : 0;
            h.Page = w0 > 0 ? Width() / w0 : 1;
            h.Visible = int(Perform(vcl::LVM_GETCOUNTPERPAGE)) < count && shown;
            h.SmallChange = h.LargeChange = 1;
            break;
        }
        default: {
            const int step = std::max(ItemHeightOf0() / 2, 1);
            v.Visible = vs.nMax > Height() && shown;
            v.Page = Height();
            v.SmallChange = v.LargeChange = step;
            h.Visible = hs.nMax > Width() && shown;
            h.Page = Width();
            h.SmallChange = h.LargeChange = step;
            break;
        }
    }
    if (v.Visible) FOldVScrollBarPos = v.Position;
    if (h.Visible) FOldHScrollBarPos = h.Position;
    ApplyBars(v, h);
}

void TbsSkinCustomListView::OnVScrollBarChange() {
    if (!FVScrollBar) return;
    TRaised guard(FromSB);
    const int pos = FVScrollBar->Position();
    int dy = pos - FOldVScrollBarPos;
    if (ViewStyle() == vcl::vsList || ViewStyle() == vcl::vsReport) dy *= ItemHeightOf0();
    Scroll(0, dy);
    FOldVScrollBarPos = pos;
}

void TbsSkinCustomListView::OnHScrollBarChange() {
    if (!FHScrollBar) return;
    TRaised guard(FromSB);
    const int pos = FHScrollBar->Position();
    const int d = pos - FOldHScrollBarPos;
    if (ViewStyle() == vcl::vsList) {
        for (int i = 0; i < std::abs(d); ++i)
            Perform(WM_HSCROLL, MAKEWPARAM(d < 0 ? SB_LINELEFT : SB_LINERIGHT, 0), 0);
    } else {
        Scroll(d, 0);
    }
    FOldHScrollBarPos = pos;
}

void TbsSkinCustomListView::WndProc(TMessage& m) {
    if (m.Msg == WM_PARENTNOTIFY && LOWORD(m.WParam) == WM_CREATE && ShowColumnHeaders()) {
        const HWND child = ParamToHwnd(std::uint64_t(m.LParam));
        if (GetClassName(child) == vcl::kHeaderClass) {
            ReleaseHeader();
            FHeaderHandle = child;
            FHeaderToken = SubclassWindow(child, [this](HWND h, UINT msg, WPARAM wParam,
                                                        LPARAM lParam, const TNextProc& next) {
                return HeaderProc(h, msg, wParam, lParam, next);
            });
        }
    }
    vcl::TCustomListView::WndProc(m);
    FollowView(m.Msg, Items().Count() > 0 && !FromAlignment());
    if (m.Msg == WM_SIZE && ViewStyle() == vcl::vsReport && FHeaderHandle)
        InvalidateRect(FHeaderHandle, nullptr, false);
}

void TbsSkinCustomListView::Dispatch(TMessage& m) {
    if (HandleFrameMessage(m)) return;
    if (m.Msg == CM_UPDATEHEADER) {
        if (FHeaderHandle && IsWindow(FHeaderHandle)) {
            if (m.WParam) {
                PaintHeader(ParamToDc(m.WParam));
            } else {
                InvalidateRect(FHeaderHandle, nullptr, false);
                UpdateWindow(FHeaderHandle);
            }
        }
        return;
    }
    vcl::TCustomListView::Dispatch(m);
    if (m.Msg == vcl::CM_VISIBLECHANGED) ShowBarsWithView();
}

void TbsSkinCustomListView::Change(vcl::TListItem* Item, vcl::TItemChange Change) {
    vcl::TCustomListView::Change(Item, Change);
    if (!FInCheckScrollBars) UpDateScrollBars();
}

// --- The header ----------------------------------------------------------------------------------

LRESULT TbsSkinCustomListView::HeaderProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam,
                                          const TNextProc& next) {
    LRESULT result = 0;
    switch (msg) {
        case WM_WINDOWPOSCHANGING:
            if (auto* wp = ParamToPtr<WINDOWPOS>(std::uint64_t(lParam))) wp->cx += kHeaderExtra;
            return 0;
        case WM_PAINT: {
            if (wParam) {
                PaintHeader(ParamToDc(wParam));
            } else {
                PAINTSTRUCT ps;
                if (HDC dc = BeginPaint(h, ps)) {
                    PaintHeader(dc);
                    EndPaint(h, ps);
                }
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        default:
            result = next(h, msg, wParam, lParam);
    }
    switch (msg) {
        case WM_LBUTTONDOWN: {
            const TPoint p = PointFromParam(lParam);
            FActiveSection = -1;
            for (int i = 0; i < Columns().Count(); ++i) {
                TRect r;
                if (SendMessage(h, vcl::HDM_GETITEMRECT, WPARAM(i), PtrToParam(&r)) &&
                    r.Contains(p.X, p.Y)) {
                    FActiveSection = i;
                    break;
                }
            }
            vcl::HDHITTESTINFO hit;
            hit.pt = p;
            SendMessage(h, vcl::HDM_HITTEST, 0, PtrToParam(&hit));
            FDevDown = (hit.flags & vcl::HHT_ONDIVIDER) != 0;
            FHeaderDown = !FDevDown;
            InvalidateRect(h, nullptr, false);
            break;
        }
        case WM_MOUSEMOVE:
            if (FDevDown) InvalidateRect(h, nullptr, false);
            break;
        case WM_LBUTTONUP:
            FHeaderDown = false;
            FDevDown = false;
            FActiveSection = -1;
            InvalidateRect(h, nullptr, false);
            break;
        default:
            break;
    }
    return result;
}

void TbsSkinCustomListView::ReadHeaderRecord() {
    FHIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FHeaderSkinDataName);
    HPicture = nullptr;
    if (FHIndex < 0) return;
    const auto* r = dynamic_cast<const TbsDataSkinButtonControl*>(FSD->CtrlList[FHIndex].get());
    if (!r) return;  // another kind: no picture, the default look
    const int pictures = int(FSD->FActivePictures.size());
    if (r->PictureIndex >= 0 && r->PictureIndex < pictures)
        HPicture = FSD->FActivePictures[r->PictureIndex].get();
    HLTPt = r->LTPoint;
    HRTPt = r->RTPoint;
    HLBPt = r->LBPoint;
    HRBPt = r->RBPoint;
    HSkinRect = r->SkinRect;
    HClRect = r->ClRect;
    HActiveSkinRect = r->ActiveSkinRect.IsEmpty() ? r->SkinRect : r->ActiveSkinRect;
    HDownSkinRect = r->DownSkinRect.IsEmpty() ? HActiveSkinRect : r->DownSkinRect;
    HFontColor = r->FontColor;
    HActiveFontColor = r->ActiveFontColor;
    HDownFontColor = r->DownFontColor;
    HStretchEffect = r->StretchEffect;
    HLeftStretch = r->LeftStretch;
    HTopStretch = r->TopStretch;
    HRightStretch = r->RightStretch;
    HBottomStretch = r->BottomStretch;
    HStretchType = r->StretchType;
}

void TbsSkinCustomListView::PaintHeader(HDC dc) {
    const HWND h = FHeaderHandle;
    if (!dc || !h || !IsWindow(h)) return;
    ReadHeaderRecord();
    TRect client;
    GetClientRect(h, client);
    const int n = int(SendMessage(h, vcl::HDM_GETITEMCOUNT, 0, 0));
    std::vector<int> order(std::size_t(std::max(n, 0)));
    for (int i = 0; i < n; ++i) order[i] = i;
    if (n > 0) SendMessage(h, vcl::HDM_GETORDERARRAY, WPARAM(n), PtrToParam(order.data()));
    gfx::TCanvas c(dc);
    int right = 0;
    for (int i = 0; i < n; ++i) {
        TRect r;
        if (!SendMessage(h, vcl::HDM_GETITEMRECT, WPARAM(order[i]), PtrToParam(&r))) continue;
        right = std::max(right, r.Right);
        if (i < Columns().Count())
            DrawSection(c, Columns()[i], r, i == FActiveSection && FHeaderDown);
    }
    // The rest of the header, one pixel past its width.
    const TRect rest{right, 0, client.Right + 1, client.Bottom};
    if (!rest.IsEmpty()) {
        if (FHIndex < 0 || !HPicture) {
            FillSolid(c, rest, gfx::clBtnFace);
            FrameSolid(c, rest, gfx::clBtnShadow);
        } else {
            gfx::TBitmap b;
            const int w = rest.Width(), hh = rest.Height();
            if (HLBPt.X != 0 || HLBPt.Y != 0) {
                const int dx = w - HSkinRect.Width(), dy = hh - HSkinRect.Height();
                b.SetSize(w, hh);
                BuildNineSliceImageNoRight(
                    HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, {HRTPt.X + dx, HRTPt.Y},
                    {HLBPt.X, HLBPt.Y + dy}, {HRBPt.X + dx, HRBPt.Y + dy},
                    {HClRect.Left, HClRect.Top, HClRect.Right + dx, HClRect.Bottom + dy}, b,
                    *HPicture, HSkinRect, w, hh, true, HLeftStretch, HTopStretch, HRightStretch,
                    HBottomStretch, HStretchEffect, HStretchType);
                c.Draw(rest.Left, rest.Top, b);
            } else {
                b.SetSize(w, HSkinRect.Height());
                BuildHorzSkinStripNoRight(HLTPt.X, HSkinRect.Width() - HRTPt.X, b, *HPicture,
                                          HSkinRect, w, HSkinRect.Height(), HStretchEffect);
                c.StretchDraw(rest, b);
            }
        }
    }
    c.SetHandle(nullptr);
}

void TbsSkinCustomListView::DrawSection(gfx::TCanvas& C, vcl::TListColumn* column, const TRect& R,
                                        bool pressed) {
    if (R.IsEmpty()) return;
    const int w = R.Width(), h = R.Height();
    gfx::TBitmap b;
    b.SetSize(w, h);
    gfx::TCanvas& c = b.Canvas();
    c.Font().Assign(Font());
    if (FHIndex < 0 || !HPicture) {
        FillSolid(c, {0, 0, w, h}, pressed ? kNoSkin.DownFill : gfx::clBtnFace);
        FrameSolid(c, {0, 0, w, h}, pressed ? gfx::clNavy : gfx::clBtnShadow);
        c.Font().SetColor(gfx::clBtnText);
    } else {
        const TRect s = pressed ? HDownSkinRect : HSkinRect;
        c.Font().SetColor(pressed ? HDownFontColor : HFontColor);
        if (HLBPt.X != 0 || HLBPt.Y != 0) {
            const int dx = w - HSkinRect.Width(), dy = h - HSkinRect.Height();
            BuildNineSliceImage(
                HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HLTPt, {HRTPt.X + dx, HRTPt.Y},
                {HLBPt.X, HLBPt.Y + dy}, {HRBPt.X + dx, HRBPt.Y + dy},
                {HClRect.Left, HClRect.Top, HClRect.Right + dx, HClRect.Bottom + dy}, b, *HPicture,
                s, w, h, true, HLeftStretch, HTopStretch, HRightStretch, HBottomStretch,
                HStretchEffect, HStretchType);
        } else {
            gfx::TBitmap strip;
            strip.SetSize(w, s.Height());
            BuildHorzSkinStrip(HLTPt.X, HSkinRect.Width() - HRTPt.X, strip, *HPicture, s, w,
                               s.Height(), HStretchEffect);
            c.StretchDraw({0, 0, w, h}, strip);
        }
    }
    c.Brush().SetStyle(gfx::bsClear);
    if (OnDrawHeaderSection) {
        OnDrawHeaderSection(c, column, pressed, {0, 0, w, h});
    } else {
        const TRect t{5, 0, w - 5, h};
        std::string caption = column->Caption();
        vcl::TCustomImageList* images = SmallImages();
        const bool image =
            images && column->ImageIndex() >= 0 && column->ImageIndex() < images->Count();
        const vcl::TAlignment align = column->Alignment();
        int x = t.Left;
        if (image) {
            const int iw = images->Width(), ih = images->Height();
            const std::string whole = caption;
            EllipsizeText(c, caption, t.Width() - 10 - iw);
            const int tw = c.TextWidth(caption);
            int ix = t.Left;
            if (caption == whole && align == vcl::taRightJustify) ix = t.Right - tw - iw - 10;
            if (caption == whole && align == vcl::taCenter)
                ix = t.Left + t.Width() / 2 - (tw + iw + 10) / 2;
            images->Draw(c, ix, t.Top + t.Height() / 2 - ih / 2, column->ImageIndex(), Enabled());
            x = ix + iw + 10;
        } else {
            EllipsizeText(c, caption, t.Width());
            const int tw = c.TextWidth(caption);
            if (align == vcl::taRightJustify) x = t.Right - tw;
            if (align == vcl::taCenter) x = t.Left + t.Width() / 2 - tw / 2;
        }
        const int th = c.TextHeight(caption.empty() ? std::string("W") : caption);
        c.Brush().SetStyle(gfx::bsClear);
        c.TextRect(t, x, t.Top + t.Height() / 2 - th / 2, caption);
    }
    C.Draw(R.Left, R.Top, b);
}

}  // namespace skin
