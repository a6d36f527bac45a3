// The skinned page control's model: the skin link, tab sizes, the corrections of the display area
// and tab rectangles, hidden tabs and frame, hover, close buttons, wheel paging and the tab
// scroller. Painting is in page_control_paint.cpp.
#include "skin/controls/page_control.h"

#include <algorithm>

#include "platform/win/scroll_info.h"
#include "platform/win/win.h"
#include "skin/controls/up_down.h"
#include "skin/core/skin_messages.h"

namespace skin {

using namespace win;
using vcl::TMessage;
using vcl::TTabSheet;

namespace {

// The plain tab scroller among the control's children, if there is one.
HWND PlainScroller(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetClassName(child) == vcl::kUpDownClass) return child;
    return {};
}

LPARAM ShiftedPoint(LPARAM lParam, int dx) {
    return MAKELPARAM(GET_X_LPARAM(lParam) - dx, GET_Y_LPARAM(lParam));
}

}  // namespace

// --- TbsSkinPageControl: skin link and sizes ---------------------------------------------------

TbsSkinPageControl::TbsSkinPageControl(vcl::TComponent* AOwner) : vcl::TPageControl(AOwner) {
    FTempImages = std::make_unique<vcl::TImageList>(nullptr);
    FTempImages->SetWidth(1);
    FTempImages->SetHeight(1);
    vcl::TPageControl::SetImages(FTempImages.get());
    for (gfx::TFont* f : {&Font(), &FDefaultFont}) {
        f->SetName("Arial");
        f->SetStyle(0);
        f->SetColor(gfx::clBtnText);
        f->SetHeight(14);
    }
}

TbsSkinPageControl::~TbsSkinPageControl() {
    // The plain control lets go of the phantom list before it goes.
    vcl::TPageControl::SetImages(nullptr);
    FTempImages.reset();
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* value) {
    if (FSD == value) {
    } else {
        if (FSD) FSD->RemoveFreeNotification(this);
        FSD = value;
        if (FSD) FSD->FreeNotification(this);
    }
    if (FSD && !FSD->Empty && !ComponentState().Contains(vcl::csDesigning)) ChangeSkinData();
}

void TbsSkinPageControl::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TPageControl::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == FSkinUpDown) FSkinUpDown = nullptr;
}

void TbsSkinPageControl::ReadSkinRecord() {
    BGPictureIndex = -1;
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    if (FIndex < 0) return;
    const auto* r = dynamic_cast<const TbsDataSkinTabControl*>(FSD->CtrlList[FIndex].get());
    if (!r) {
        // Another kind of record under the name: the default look.
        FIndex = -1;
        return;
    }
    const int pictures = int(FSD->FActivePictures.size());
    Picture = r->PictureIndex >= 0 && r->PictureIndex < pictures
                  ? FSD->FActivePictures[r->PictureIndex].get()
                  : nullptr;
    SkinRect = r->SkinRect;
    ClRect = r->ClRect;
    TabRect = r->TabRect;
    ActiveTabRect = r->ActiveTabRect.IsEmpty() ? r->TabRect : r->ActiveTabRect;
    FocusTabRect = r->FocusTabRect.IsEmpty() ? r->ActiveTabRect : r->FocusTabRect;
    MouseInTabRect = r->MouseInTabRect;
    TabsBGRect = r->TabsBGRect;
    LTPoint = r->LTPoint;
    RTPoint = r->RTPoint;
    LBPoint = r->LBPoint;
    RBPoint = r->RBPoint;
    TabLeftOffset = r->TabLeftOffset;
    TabRightOffset = r->TabRightOffset;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    FocusFontColor = r->FocusFontColor;
    MouseInFontColor = r->MouseInFontColor;
    UpDown = r->UpDown;
    BGPictureIndex = r->BGPictureIndex;
    TabStretchEffect = r->TabStretchEffect;
    ShowFocus = r->ShowFocus;
    FocusOffsetX = r->FocusOffsetX;
    FocusOffsetY = r->FocusOffsetY;
    StretchEffect = r->StretchEffect;
    LeftStretch = r->LeftStretch;
    TopStretch = r->TopStretch;
    RightStretch = r->RightStretch;
    BottomStretch = r->BottomStretch;
    StretchType = r->StretchType;
    CloseButtonRect = r->CloseButtonRect;
    ClosebuttonActiveRect =
        r->CloseButtonActiveRect.IsEmpty() ? r->CloseButtonRect : r->CloseButtonActiveRect;
    CloseButtonDownRect =
        r->CloseButtonDownRect.IsEmpty() ? ClosebuttonActiveRect : r->CloseButtonDownRect;
    ButtonTransparent = r->ButtonTransparent;
    ButtonTransparentColor = r->ButtonTransparentColor;
}

void TbsSkinPageControl::SendItemSize(int width, int height) {
    Perform(vcl::TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
}

void TbsSkinPageControl::SetTabItemSize() {
    int h = TabHeight();
    if (h <= 0) h = FIndex >= 0 ? TabRect.Height() : FDefaultItemHeight;
    SendItemSize(TabWidth(), h);
}

bool TbsSkinPageControl::SideTabs() const {
    return TabPosition() == vcl::tpLeft || TabPosition() == vcl::tpRight;
}

// The phantom list reserves the close button and the images along every tab: its width counts
// for top and bottom tabs, its height for side tabs, so both grow and a change of TabPosition
// needs nothing.
void TbsSkinPageControl::UpdateTempImages() {
    int w = 1, h = 1;
    if (FShowCloseButtons) {
        w += FCloseSize;
        h += FCloseSize;
    }
    if (FImages) {
        w += FImages->Width();
        h += FImages->Height();
    }
    if (FTempImages->Width() == w && FTempImages->Height() == h) return;
    FTempImages->SetWidth(w);
    FTempImages->SetHeight(h);
    // The plain control measures its tabs again.
    vcl::TPageControl::SetImages(FTempImages.get());
}

void TbsSkinPageControl::ApplyFont() {
    TbsResourceStrData* strings = FSD ? FSD->ResourceStrData() : nullptr;
    gfx::TFont& font = Font();
    if (FIndex < 0) {
        font.Assign(FDefaultFont);
        if (strings) font.SetCharset(strings->CharSet());
        return;
    }
    if (FUseSkinFont) {
        font.SetName(FontName);
        font.SetHeight(FontHeight);
        font.SetStyle(FontStyle);
    } else {
        font.Assign(FDefaultFont);
    }
    font.SetCharset(strings ? strings->CharSet() : FDefaultFont.Charset());
    font.SetColor(FontColor);
}

void TbsSkinPageControl::ChangeSkinData() {
    ReadSkinRecord();
    FCloseSize = FIndex < 0 || CloseButtonRect.IsEmpty() ? 14 : CloseButtonRect.Width();
    UpdateTempImages();
    ApplyFont();
    SetTabItemSize();
    SyncScroller();
    Realign();
    FreeScroller();
    UpdateScroller();
    if (ActivePage()) ActivePage()->Repaint();
}

void TbsSkinPageControl::Loaded() {
    vcl::TPageControl::Loaded();
    ReadSkinRecord();
    if (FIndex < 0) {
        SendItemSize(TabWidth(), TabHeight() > 0 ? TabHeight() : FDefaultItemHeight);
        SyncScroller();
        Realign();
    }
}

void TbsSkinPageControl::SetDefaultItemHeight(int value) {
    FDefaultItemHeight = value;
    ReadSkinRecord();
    if (FIndex >= 0) return;
    SendItemSize(TabWidth(), value);
    SyncScroller();
    Realign();
}

void TbsSkinPageControl::SetTabExtededDraw(bool value) {
    FTabExtendedDraw = value;
    Invalidate();
}

void TbsSkinPageControl::SetTextInHorizontal(bool value) {
    FTextInHorizontal = value;
    Invalidate();
}

void TbsSkinPageControl::SetTabMargin(int value) {
    if (value == FTabMargin || value < -1) return;
    FTabMargin = value;
    Repaint();
}

void TbsSkinPageControl::SetTabSpacing(int value) {
    if (value == FTabSpacing) return;
    FTabSpacing = value;
    Repaint();
}

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout value) {
    if (value == FTabLayout) return;
    FTabLayout = value;
    Repaint();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool value) {
    if (value == FTabsBGTransparent) return;
    FTabsBGTransparent = value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsInCenter(bool value) {
    if (TabWidth() == 0) {
        FTabsInCenter = false;
        return;
    }
    FTabsInCenter = value;
    if (value) {
        SetTabPosition(vcl::tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(int value) {
    FTabsOffset = value;
    if (value > 0) {
        SetTabPosition(vcl::tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetShowCloseButtons(bool value) {
    if (value == FShowCloseButtons) return;
    FShowCloseButtons = value;
    UpdateTempImages();
    Invalidate();
}

void TbsSkinPageControl::SetImages(vcl::TCustomImageList* value) {
    if (value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    UpdateTempImages();
    Invalidate();
}

// --- Tabs and their rectangles -----------------------------------------------------------------

int TbsSkinPageControl::VisibleTabCount() const {
    int n = 0;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible()) ++n;
    return n;
}

TTabSheet* TbsSkinPageControl::VisiblePage(int visibleIndex) const {
    if (visibleIndex < 0) return nullptr;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible() && visibleIndex-- == 0) return Pages(i);
    return nullptr;
}

int TbsSkinPageControl::TabsOffsetValue() {
    if (FTabsOffset > 0) return FTabsOffset;
    if (TabWidth() == 0) return 0;
    return std::max(0, Width() / 2 - (VisibleTabCount() * TabWidth()) / 2);
}

TRect TbsSkinPageControl::TabRectOf(int index) {
    TRect r;
    if (!Perform(vcl::TCM_GETITEMRECT, WPARAM(index), PtrToParam(&r))) return {};
    // Side tabs always lie in several lines in the classic control, so only a row across gets
    // the first tab's pixel.
    if (index == 0 && !MultiLine() && !SideTabs()) ++r.Left;
    return r;
}

void TbsSkinPageControl::CorrectDisplayRect(TRect& R) {
    const int CW = ClientWidth(), CH = ClientHeight();
    if (FHideBorder) {
        R = {0, -2, Width(), Height()};
        return;
    }
    const int hidden = FHideTabs ? 1 : 0;
    if (FIndex >= 0) {
        const int cl = ClRect.Left, ct = ClRect.Top;
        const int rb = SkinRect.Width() - ClRect.Right, bb = SkinRect.Height() - ClRect.Bottom;
        switch (TabPosition()) {
            case vcl::tpTop:
                R = {cl, R.Top - 6 + ct - hidden, CW - rb, CH - bb};
                break;
            case vcl::tpBottom:
                R = {cl, R.Top - 4 + ct, CW - rb, R.Bottom + 4 - bb + hidden};
                break;
            case vcl::tpLeft:
                R = {R.Left + cl - 4 - hidden, R.Top - 4 + ct, CW - rb, CH - bb};
                break;
            case vcl::tpRight:
                R = {cl, R.Top - 4 + ct, R.Right - rb + 4 + hidden, CH - bb};
                break;
        }
        return;
    }
    switch (TabPosition()) {
        case vcl::tpTop:
            R = {1, R.Top - 5 - hidden, CW - 1, CH - 1};
            break;
        case vcl::tpBottom:
            R = {1, 1, CW - 1, R.Bottom + 3};
            break;
        // Side tabs: the frame's top line at 0, as with a record (the plain answer's top is
        // 4, so 5 less would put the line above the control).
        case vcl::tpLeft:
            R = {R.Left - 3 - hidden, R.Top - 3, CW - 1, CH - 1};
            break;
        case vcl::tpRight:
            R = {R.Left - 3, R.Top - 3, R.Right + 3 + hidden, CH - 1};
            break;
    }
}

// The plain layout mirrors the top row exactly, so only top tabs move toward the frame; bottom
// and side tabs already touch it (their shift by 2 would leave a gap).
void TbsSkinPageControl::CorrectItemRect(TRect& R) {
    const bool single = !MultiLine();
    switch (TabPosition()) {
        case vcl::tpTop:
            if (single) R.Left -= 2, R.Right -= 2;
            R.Top -= 2;
            R.Bottom -= 2;
            if (FTabsInCenter || FTabsOffset > 0) {
                const int dx = TabsOffsetValue();
                R.Left += dx;
                R.Right += dx;
            }
            break;
        case vcl::tpBottom:
            if (single) R.Left -= 2, R.Right -= 2;
            break;
        case vcl::tpLeft:
        case vcl::tpRight:
            break;
    }
}

// --- The tab scroller --------------------------------------------------------------------------

int TbsSkinPageControl::HiddenTabCount() {
    const int n = VisibleTabCount(), W = Width();
    int hidden = 0;
    for (int i = 0; i < n; ++i) {
        const TRect r = TabRectOf(i);
        if (r.Right > W - 3 || r.Right <= 0) ++hidden;
    }
    return hidden;
}

int TbsSkinPageControl::FirstShownTab() {
    const int n = VisibleTabCount();
    int first = 0;
    for (int i = 0; i < n; ++i)
        if (TabRectOf(i).Right <= 0) ++first;
    return first;
}

void TbsSkinPageControl::FreeScroller() {
    if (!FSkinUpDown) return;
    TbsSkinUpDown* scroller = FSkinUpDown;
    FSkinUpDown = nullptr;
    scroller->Free();
}

void TbsSkinPageControl::UpdateScroller() {
    if (HandleAllocated())
        if (HWND plain = PlainScroller(Handle())) DestroyWindow(plain);
    const int hidden = HiddenTabCount();
    if (hidden == 0 || MultiLine()) {
        FreeScroller();
        return;
    }
    if (!FSkinUpDown && !FHideTabs) {
        auto* scroller = new TbsSkinUpDown(this);
        scroller->SetWidth(2 * FDefaultItemHeight);
        scroller->SetHeight(FDefaultItemHeight);
        scroller->SetMin(0);
        scroller->SetMax(hidden);
        scroller->SetPosition(FirstShownTab());
        scroller->SetIncrement(1);
        scroller->OnChange = [this](vcl::TObject* Sender) { ScrollerChanged(Sender); };
        scroller->SetSkinDataName(FIndex >= 0 ? UpDown : std::string());
        scroller->SetParent(this);
        scroller->SetSkinData(FSD);
        scroller->SetVisible(true);
        FSkinUpDown = scroller;
    }
    if (!FSkinUpDown) return;
    FSkinUpDown->SetMax(hidden);
    const int top = TabPosition() == vcl::tpTop ? 0 : Height() - FSkinUpDown->Height();
    FSkinUpDown->SetBounds(Width() - FSkinUpDown->Width(), top, FSkinUpDown->Width(),
                           FSkinUpDown->Height());
}

void TbsSkinPageControl::ScrollerChanged(vcl::TObject*) {
    if (!FSkinUpDown) return;
    FSkinUpDown->SetMax(HiddenTabCount());
    Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FSkinUpDown->Position()), 0);
}

void TbsSkinPageControl::SyncScroller() {
    if (FSkinUpDown) FSkinUpDown->SetPosition(FirstShownTab());
    Invalidate();
}

// --- Hiding tabs and border --------------------------------------------------------------------

void TbsSkinPageControl::HideTabs() {
    if (FHideTabs || VisibleTabCount() == 0) return;
    FHideTabs = true;
    FOLdTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    FOldTabHeight = TabHeight();
    if (SideTabs()) SetTabPosition(vcl::tpTop);
    SetMultiLine(false);
    SetTabHeight(1);
    FreeScroller();
}

void TbsSkinPageControl::ShowTabs() {
    if (!FHideTabs) return;
    SetTabPosition(FOLdTabPosition);
    SetMultiLine(FOldMultiLine);
    FHideTabs = false;
    SetTabHeight(FOldTabHeight);
    ReadSkinRecord();
    if (FOldTabHeight <= 0 && FIndex >= 0) SetTabItemSize();
    FOldTabHeight = -1;
    if (!MultiLine()) UpdateScroller();
}

void TbsSkinPageControl::HideBorderAndTabs() {
    if (TabPosition() != vcl::tpTop) SetTabPosition(vcl::tpTop);
    FHideTabs = true;
    FHideBorder = true;
    FreeScroller();
    Realign();
}

void TbsSkinPageControl::ShowBorderAndTabs() {
    FHideTabs = false;
    FHideBorder = false;
    ShowTabs();
    Realign();
}

void TbsSkinPageControl::UpDateTabs() {
    ReadSkinRecord();
    SetTabItemSize();
    if (MultiLine()) FreeScroller();
    Realign();
}

// --- Messages ----------------------------------------------------------------------------------

void TbsSkinPageControl::WndProc(TMessage& m) {
    const bool shifted = FTabsInCenter || FTabsOffset > 0;
    if (shifted) {
        switch (m.Msg) {
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                vcl::TPageControl::WndProc(m);
                Invalidate();
                return;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_LBUTTONDBLCLK:
                // The plain control hit-tests its own, unshifted tabs.
                m.LParam = ShiftedPoint(m.LParam, TabsOffsetValue());
                break;
            default:
                break;
        }
    }
    vcl::TPageControl::WndProc(m);
    switch (m.Msg) {
        case vcl::TCM_ADJUSTRECT:
            if (!m.WParam)
                if (auto* r = ParamToPtr<TRect>(std::uint64_t(m.LParam))) CorrectDisplayRect(*r);
            break;
        case vcl::TCM_GETITEMRECT:
            if (m.Result)
                if (auto* r = ParamToPtr<TRect>(std::uint64_t(m.LParam))) CorrectItemRect(*r);
            break;
        case WM_SIZE:
            if (!MultiLine() && !ComponentState().Contains(vcl::csDesigning)) UpdateScroller();
            break;
        case WM_PARENTNOTIFY:
            if (LOWORD(m.WParam) == WM_CREATE && HandleAllocated() &&
                GetClassName(ParamToHwnd(std::uint64_t(m.LParam))) == vcl::kUpDownClass)
                PostMessage(Handle(), CM_REPLACESCROLLER, 0, 0);
            break;
        default:
            break;
    }
}

void TbsSkinPageControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case CM_PAINTSKINFRAME:
            m.Result = kPaintSkinFrameDone;
            return;
        case CM_REPLACESCROLLER:
            if (!MultiLine()) UpdateScroller();
            return;
        case WM_CHECKPARENTBG:
            if (FTabsBGTransparent) Repaint();
            return;
        case vcl::TCM_SETCURSEL:
            vcl::TPageControl::Dispatch(m);
            if (!ComponentState().Contains(vcl::csLoading)) Invalidate();
            return;
        case WM_HSCROLL:
            vcl::TPageControl::Dispatch(m);
            Repaint();
            return;
        case WM_SIZE:
            ReadSkinRecord();
            vcl::TPageControl::Dispatch(m);
            return;
        case WM_ERASEBKGND: {
            if (PageCount() > 0 && VisibleTabCount() > 0) {
                m.Result = 1;
                return;
            }
            ReadSkinRecord();
            if (FIndex < 0) {
                vcl::TPageControl::Dispatch(m);
                return;
            }
            PaintClientBackground(ParamToDc(m.WParam));
            m.Result = 1;
            return;
        }
        case WM_MOUSEWHEEL: {
            vcl::TPageControl::Dispatch(m);
            if (!FMouseWheelSupport || !ActivePage()) return;
            const bool forward = GET_WHEEL_DELTA_WPARAM(m.WParam) < 0;
            const int from = ActivePage()->PageIndex();
            for (int i = from + (forward ? 1 : -1); i >= 0 && i < PageCount();
                 i += forward ? 1 : -1)
                if (Pages(i)->TabVisible()) {
                    SetActivePage(Pages(i));
                    return;
                }
            return;
        }
        case vcl::CM_MOUSELEAVE: {
            vcl::TPageControl::Dispatch(m);
            if (FHideTabs || ComponentState().Contains(vcl::csDesigning)) return;
            UpdateHover(-1, -1);
            const int old = FOldActiveTabIndex;
            FOldActiveTab = -1;
            FOldActiveTabIndex = -1;
            if (old >= 0 && old != TabIndex()) RedrawTabs();
            return;
        }
        default:
            vcl::TPageControl::Dispatch(m);
    }
}

void TbsSkinPageControl::Change() {
    if (FSkinUpDown) FSkinUpDown->SetPosition(FirstShownTab());
    vcl::TPageControl::Change();
    Invalidate();
    if (ActivePage()) ActivePage()->Invalidate();
}

// --- Hover and close buttons -------------------------------------------------------------------

void TbsSkinPageControl::RedrawTabs() {
    Invalidate();
}

void TbsSkinPageControl::UpdateHover(int X, int Y) {
    if (FHideTabs || ComponentState().Contains(vcl::csDesigning)) return;
    FOldActiveTab = FActiveTab;
    FOldActiveTabIndex = FActiveTabIndex;
    const int n = VisibleTabCount();
    FActiveTab = PageCount();
    FActiveTabIndex = -1;
    for (int i = 0; i < n; ++i)
        if (TabRectOf(i).Contains(X, Y)) {
            FActiveTab = VisiblePage(i)->PageIndex();
            FActiveTabIndex = i;
            break;
        }
    if (FActiveTabIndex != FOldActiveTabIndex) {
        if (FOldActiveTabIndex >= 0 && FOldActiveTabIndex != TabIndex() &&
            FOldActiveTab < PageCount()) {
            if (auto* page = dynamic_cast<TbsSkinCustomTabSheet*>(Pages(FOldActiveTab))) {
                page->ButtonMouseIn = false;
                page->ButtonMouseDown = false;
            }
            RedrawTabs();
        }
        if (FActiveTabIndex >= 0 && FActiveTabIndex != TabIndex()) RedrawTabs();
    }
    if (!FShowCloseButtons || FActiveTabIndex < 0) return;
    auto* page = dynamic_cast<TbsSkinCustomTabSheet*>(VisiblePage(FActiveTabIndex));
    if (!page) return;
    const bool in = InCloseButton(page, FActiveTabIndex, X, Y, false);
    if (in && !page->ButtonMouseIn) {
        page->ButtonMouseIn = true;
        RedrawTabs();
    } else if (!in && page->ButtonMouseIn) {
        page->ButtonMouseIn = false;
        page->ButtonMouseDown = false;
        RedrawTabs();
    }
}

bool TbsSkinPageControl::InCloseButton(TTabSheet* page, int visibleIndex, int X, int Y,
                                       bool shifted) {
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(page);
    if (!sheet) return false;
    const TRect tab = TabRectOf(visibleIndex);
    TRect b = sheet->ButtonRect;
    int dx = tab.Left;
    if (shifted && (FTabsInCenter || FTabsOffset > 0)) dx -= TabsOffsetValue();
    b = {b.Left + dx, b.Top + tab.Top, b.Right + dx, b.Bottom + tab.Top};
    return b.Contains(X, Y);
}

void TbsSkinPageControl::MouseMove(vcl::TShiftState Shift, int X, int Y) {
    vcl::TPageControl::MouseMove(Shift, X, Y);
    UpdateHover(X, Y);
}

void TbsSkinPageControl::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    vcl::TPageControl::MouseDown(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    if (!FTabsInCenter && FTabsOffset <= 0) UpdateHover(X, Y);
    FClosePressed = nullptr;
    if (!FShowCloseButtons || FActiveTabIndex < 0) return;
    auto* page = dynamic_cast<TbsSkinCustomTabSheet*>(VisiblePage(FActiveTabIndex));
    if (!page) return;
    const bool in = InCloseButton(page, FActiveTabIndex, X, Y, true);
    page->ButtonMouseIn = in;
    page->ButtonMouseDown = in;
    if (in) {
        FClosePressed = page;
        RedrawTabs();
    }
}

void TbsSkinPageControl::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
    vcl::TPageControl::MouseUp(Button, Shift, X, Y);
    if (Button != vcl::mbLeft) return;
    if (!FTabsInCenter && FTabsOffset <= 0) UpdateHover(X, Y);
    TTabSheet* pressed = FClosePressed;
    FClosePressed = nullptr;
    if (!FShowCloseButtons || FActiveTabIndex < 0) return;
    auto* page = dynamic_cast<TbsSkinCustomTabSheet*>(VisiblePage(FActiveTabIndex));
    if (!page) return;
    if (!InCloseButton(page, FActiveTabIndex, X, Y, true)) {
        page->ButtonMouseIn = false;
        page->ButtonMouseDown = false;
        return;
    }
    page->ButtonMouseIn = true;
    page->ButtonMouseDown = false;
    RedrawTabs();
    // Only the page whose button went down and came up here closes, whichever page is active.
    if (page == pressed) ClosePageByButton(page);
}

void TbsSkinPageControl::ClosePageByButton(TTabSheet* page) {
    bool canClose = true;
    if (OnClose) OnClose(page, canClose);
    // The handler may have freed the page.
    bool present = false;
    for (int i = 0; i < PageCount(); ++i) present = present || Pages(i) == page;
    if (!present) return;
    if (canClose) {
        page->SetTabVisible(false);
        if (FFreeOnClose) page->Free();
        if (OnAfterClose) OnAfterClose(this);
        return;
    }
    TPoint cursor;
    GetCursorPos(cursor);
    if (!HandleAllocated() || WindowFromPoint(cursor) != Handle()) {
        if (auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(page)) {
            sheet->ButtonMouseIn = false;
            sheet->ButtonMouseDown = false;
        }
        RedrawTabs();
    }
}

// --- TbsSkinCustomTabSheet ---------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(vcl::TComponent* AOwner) : vcl::TTabSheet(AOwner) {
    SetAlign(vcl::alClient);
    SetControlStyle(ControlStyle() + vcl::csAcceptsControls);
    SetVisible(false);
}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() {
    SetPageControl(nullptr);
}

void TbsSkinCustomTabSheet::SetWallPaper(const gfx::TBitmap& value) {
    FWallPaper.Assign(value);
    // Shown at once, also at run time: the page erases only what is invalid.
    Invalidate();
}

TbsSkinPageControl* TbsSkinCustomTabSheet::SkinPageControl() const {
    return dynamic_cast<TbsSkinPageControl*>(PageControl());
}

void TbsSkinCustomTabSheet::CreateParams(vcl::TCreateParams& Params) {
    vcl::TTabSheet::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinCustomTabSheet::NotifySheetChildren() {
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* child = dynamic_cast<vcl::TWinControl*>(Controls(i)))
            if (child->HandleAllocated()) SendMessage(child->Handle(), WM_CHECKPARENTBG, 0, 0);
}

void TbsSkinCustomTabSheet::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case CM_PAINTSKINFRAME:
            m.Result = kPaintSkinFrameDone;
            return;
        case WM_ERASEBKGND:
            PaintBG(ParamToDc(m.WParam));
            m.Result = 1;
            return;
        case WM_SIZE: {
            vcl::TTabSheet::Dispatch(m);
            Repaint();
            TbsSkinPageControl* pc = SkinPageControl();
            if (pc && pc->SkinData() && !pc->SkinData()->Empty) {
                pc->ReadSkinRecord();
                if (pc->FIndex >= 0 && pc->StretchEffect) NotifySheetChildren();
            }
            return;
        }
        default:
            vcl::TTabSheet::Dispatch(m);
    }
}

}  // namespace skin
