// The skinned list box: construction, properties, the inner list's input, the scroll bars and
// the layout, the caption buttons. Painting is in list_box_paint.cpp.
#include "skin/lists/list_box.h"

#include <algorithm>

#include "platform/win/scroll_info.h"
#include "platform/win/win.h"
#include "skin/controls/scroll_box.h"
#include "skin/core/skin_records.h"

namespace skin {

using namespace vcl;

namespace {
constexpr std::uintptr_t kRepeatTimer = 1;
constexpr unsigned kFirstDelayMs = 500;
constexpr unsigned kRepeatMs = 100;
constexpr unsigned kResumeMs = 50;

int WidthOf(const TRect& r) {
    return r.Right - r.Left;
}
int HeightOf(const TRect& r) {
    return r.Bottom - r.Top;
}
bool EmptyRect(const TRect& r) {
    return WidthOf(r) <= 0 || HeightOf(r) <= 0;
}
}  // namespace

// ---- TbsListBox ------------------------------------------------------------------------------

TbsListBox::TbsListBox(TComponent* AOwner) : TListBox(AOwner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
    SetTabStop(true);
}

void TbsListBox::CreateParams(TCreateParams& Params) {
    TListBox::CreateParams(Params);
    Params.Style &= ~(win::WS_BORDER | win::WS_VSCROLL | win::WS_HSCROLL);
    Params.ExStyle &= ~win::WS_EX_CLIENTEDGE;
    Params.WindowClass.style = win::CS_DBLCLKS;
    Params.Style |= win::WS_TABSTOP;
}

void TbsListBox::CreateWnd() {
    TListBox::CreateWnd();
    if (SkinListBox) SkinListBox->ListBoxCreateWnd();
}

void TbsListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const int oldWidth = Width();
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (oldWidth != AWidth && FHorizontalExtentValue > 0) {
        FHorizontalExtentValue = std::max(FHorizontalExtentValue + oldWidth - AWidth, 0);
        Invalidate();
    }
}

void TbsListBox::WndProc(TMessage& Message) {
    if (SkinListBox) {
        bool pass = true;
        SkinListBox->ListBoxWProc(Message, pass);
        if (!pass) return;
    }
    TListBox::WndProc(Message);
    if (!SkinListBox) return;
    switch (Message.Msg) {
        // This platform's list repaints scrolled rows without erasing them; its paint stands
        // in for the erase as the moment the bars catch up.
        case win::WM_PAINT:
        case win::WM_ERASEBKGND:
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
            SkinListBox->UpDateScrollBar();
            break;
        case win::WM_LBUTTONDBLCLK:
            SkinListBox->ListBoxDblClick();
            break;
        case win::WM_MOUSEWHEEL:
            if (SkinListBox->ScrollBar) {
                const int delta = int(std::int32_t(Message.WParam));
                win::SendMessage(Handle(), win::WM_VSCROLL,
                                 delta > 0 ? win::SB_LINEUP : win::SB_LINEDOWN, 0);
                SkinListBox->UpDateScrollBar();
            } else if (TbsSkinScrollBar* bar = SkinListBox->HScrollBar) {
                const int delta = int(std::int32_t(Message.WParam));
                bar->SetPosition(delta > 0 ? bar->Position() - bar->SmallChange()
                                           : bar->Position() + bar->SmallChange());
            }
            break;
        case CM_PAINTLISTBACKGROUND:
            if (Message.LParam == kPaintListBackgroundKey && Count() == 0) {
                if (Message.WParam != 0)
                    PaintBackground(reinterpret_cast<gfx::HDC>(Message.WParam));
                Message.Result = kPaintListBackgroundKey;
            }
            break;
        default:
            break;
    }
}

void TbsListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case win::WM_ERASEBKGND:
            if (Width() > 0 && Height() > 0)
                PaintBackground(reinterpret_cast<gfx::HDC>(Message.WParam));
            Message.Result = 1;
            return;
        case win::WM_NCCALCSIZE:
            return;
        case CM_PAINTSKINFRAME:
            Message.Result = kPaintSkinFrameDone;
            return;
        case CN_DRAWITEM: {
            const auto* dis = win::ParamToPtr<DRAWITEMSTRUCT>(std::uint64_t(Message.LParam));
            if (!dis) return;
            FCanvas.SetHandle(dis->hDC);
            FCanvas.Font().Assign(Font());
            PaintItem(FCanvas, int(dis->itemID), dis->rcItem, OwnerDrawStateFrom(dis->itemState));
            FCanvas.SetHandle(nullptr);
            Message.Result = 1;
            return;
        }
        default:
            TListBox::Dispatch(Message);
    }
}

void TbsListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
    TListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
    TListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
    TListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::KeyDown(int& Key, TShiftState Shift) {
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(Key, Shift);
        if (TbsSkinScrollBar* bar = SkinListBox->HScrollBar) {
            if (Key == win::VK_LEFT) {
                bar->SetPosition(bar->Position() - bar->SmallChange());
                Key = 0;
            } else if (Key == win::VK_RIGHT) {
                bar->SetPosition(bar->Position() + bar->SmallChange());
                Key = 0;
            }
        }
    }
    // A cleared key reaches no one.
    if (Key == 0) return;
    TListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyUp(int& Key, TShiftState Shift) {
    if (SkinListBox) SkinListBox->ListBoxKeyUp(Key, Shift);
    TListBox::KeyUp(Key, Shift);
}

void TbsListBox::KeyPress(char32_t& Key) {
    if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
    TListBox::KeyPress(Key);
}

void TbsListBox::Click() {
    if (SkinListBox) SkinListBox->ListBoxClick();
    TListBox::Click();
}

void TbsListBox::DoEnter() {
    if (SkinListBox) SkinListBox->ListBoxEnter();
    TListBox::DoEnter();
}

void TbsListBox::DoExit() {
    if (SkinListBox) SkinListBox->ListBoxExit();
    TListBox::DoExit();
}

// ---- TbsSkinCustomListBox: construction and properties -------------------------------------

TbsSkinCustomListBox::TbsSkinCustomListBox(TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FTabWidths(std::make_unique<rtl::TStringList>()) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                                  csReplicatable, csAcceptsControls});
    SetForcebackGround(true);
    SetDrawbackGround(false);
    FDefaultCaptionFont.SetName("Arial");
    FDefaultCaptionFont.SetHeight(14);
    FDefaultCaptionFont.OnChange = [this] {
        if (FIndex == -1 && FCaptionMode) Repaint();
    };
    Font().SetName("Arial");
    Font().SetHeight(14);
    Font().SetColor(gfx::clWindowText);
    Font().SetStyle(0);
    ListBox = new TbsListBox(this);
    ListBox->SkinListBox = this;
    ListBox->SetStyle(lbOwnerDrawFixed);
    ListBox->SetItemHeight(FDefaultItemHeight);
    ListBox->SetParent(this);
    ListBox->SetVisible(true);
    SetBounds(Left(), Top(), 120, 120);
    SetSkinDataName("listbox");
}

TbsSkinCustomListBox::~TbsSkinCustomListBox() {
    FDefaultCaptionFont.OnChange = nullptr;
    if (HandleAllocated()) win::KillTimer(Handle(), kRepeatTimer);
    // The children's hooks must not reach a half-destroyed owner.
    if (ListBox) ListBox->SkinListBox = nullptr;
}

void TbsSkinCustomListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == ListBox) ListBox = nullptr;
    if (AComponent == ScrollBar) ScrollBar = nullptr;
    if (AComponent == HScrollBar) HScrollBar = nullptr;
}

void TbsSkinCustomListBox::CreateParams(TCreateParams& Params) {
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~(win::CS_HREDRAW | win::CS_VREDRAW);
}

void TbsSkinCustomListBox::SetTabWidths(const rtl::TStrings& value) {
    FTabWidths->Assign(value);
    if (FTabWidths->Count() > 0 && ListBox) ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool value) {
    FHorizontalExtent = value;
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetColumns(int value) {
    ListBox->SetColumns(value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(int value) {
    FRowCount = value;
    if (value != 0) SetHeight(CalcHeight(value));
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetImages(TCustomImageList* value) {
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    if (ListBox) ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(int value) {
    FImageIndex = value;
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetGlyph(const gfx::TBitmap& value) {
    FGlyph.Assign(value);
    Repaint();
}

void TbsSkinCustomListBox::SetNumGlyphs(int value) {
    FNumGlyphs = value;
    Repaint();
}

void TbsSkinCustomListBox::SetSpacing(int value) {
    FSpacing = value;
    Repaint();
}

void TbsSkinCustomListBox::SetCaptionMode(bool value) {
    FCaptionMode = value;
    if (FIndex == -1) {
        AlignControls();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(int value) {
    FDefaultCaptionHeight = value;
    if (FIndex == -1 && FCaptionMode) {
        AlignControls();
        Repaint();
    }
}

void TbsSkinCustomListBox::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    if (FCaptionMode) Repaint();
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int value) {
    FDefaultItemHeight = value;
    if (FIndex == -1 || !FUseSkinItemHeight) ListBox->SetItemHeight(value);
}

void TbsSkinCustomListBox::SetItems(const rtl::TStrings& value) {
    ListBox->Items().Assign(value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetItemIndex(int value) {
    ListBox->SetItemIndex(value);
}

void TbsSkinCustomListBox::SetSorted(bool value) {
    if (ScrollBar) RemoveMainBar();
    ListBox->SetSorted(value);
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool value) {
    if (FShowCaptionButtons == value) return;
    FShowCaptionButtons = value;
    Repaint();
}

gfx::TCanvas& TbsSkinCustomListBox::ListBoxCanvas() {
    return ListBox->Canvas();
}

void TbsSkinCustomListBox::Clear() {
    ListBox->Items().Clear();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::DefaultFontChanged() {
    if (FIndex == -1) Font().Assign(DefaultFont());
}

// ---- skin ------------------------------------------------------------------------------------

void TbsSkinCustomListBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) return;
    const auto* r =
        dynamic_cast<const TbsDataSkinListBox*>(FSD->CtrlList[std::size_t(FIndex)].get());
    if (!r) return;
    const auto orElse = [](const TRect& a, const TRect& b) { return EmptyRect(a) ? b : a; };
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    SItemRect = r->SItemRect;
    ActiveItemRect = orElse(r->ActiveItemRect, r->SItemRect);
    FocusItemRect = orElse(r->FocusItemRect, r->SItemRect);
    ItemLeftOffset = r->ItemLeftOffset;
    ItemRightOffset = r->ItemRightOffset;
    ItemTextRect = r->ItemTextRect;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    FocusFontColor = r->FocusFontColor;
    CaptionRect = r->CaptionRect;
    CaptionFontName = r->CaptionFontName;
    CaptionFontStyle = r->CaptionFontStyle;
    CaptionFontHeight = r->CaptionFontHeight;
    CaptionFontColor = r->CaptionFontColor;
    UpButtonRect = r->UpButtonRect;
    ActiveUpButtonRect = r->ActiveUpButtonRect;
    DownUpButtonRect = orElse(r->DownUpButtonRect, r->ActiveUpButtonRect);
    DownButtonRect = r->DownButtonRect;
    ActiveDownButtonRect = r->ActiveDownButtonRect;
    DownDownButtonRect = orElse(r->DownDownButtonRect, r->ActiveDownButtonRect);
    CheckButtonRect = r->CheckButtonRect;
    ActiveCheckButtonRect = r->ActiveCheckButtonRect;
    DownCheckButtonRect = orElse(r->DownCheckButtonRect, r->ActiveCheckButtonRect);
    VScrollBarName = r->VScrollBarName;
    HScrollBarName = r->HScrollBarName;
    BothScrollBarName = r->BothScrollBarName;
    ShowFocus = r->ShowFocus;
    DisabledButtonsRect = r->DisabledButtonsRect;
    ButtonsArea = r->ButtonsArea;
}

void TbsSkinCustomListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    FStopUpDateHScrollBar = true;
    if (FIndex == -1) {
        ListBox->SetItemHeight(FDefaultItemHeight);
        Font().Assign(DefaultFont());
    } else if (FUseSkinItemHeight) {
        ListBox->SetItemHeight(HeightOf(SItemRect));
    }
    if (ScrollBar) NameMainBar();
    if (HScrollBar) NameExtentBar();
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    AlignControls();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FIndex == -1) Repaint();
}

int TbsSkinCustomListBox::CalcHeight(int AItemsCount) {
    const int h = ListBox->ItemHeight();
    int result;
    if (FIndex == -1) {
        result = AItemsCount * h + 4;
        if (FCaptionMode) result += FDefaultCaptionHeight;
    } else {
        result = HeightOf(SkinRect) + AItemsCount * h - HeightOf(ClRect);
    }
    if (HScrollBar) result += HScrollBar->Height();
    return result;
}

// ---- hooks -----------------------------------------------------------------------------------

int TbsSkinCustomListBox::GetItemTextWidth(int Index, gfx::TCanvas& Canvas) {
    return Canvas.TextWidth(ListBox->Items().Get(Index));
}

void TbsSkinCustomListBox::ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick() {
    if (OnListBoxClick) OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick() {
    if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(int& Key, TShiftState Shift) {
    if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(int& Key, TShiftState Shift) {
    if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(char32_t& Key) {
    if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

void TbsSkinCustomListBox::ListBoxWProc(TMessage& Message, bool& Pass) {
    (void)Message;
    Pass = true;
}

// ---- scroll bars and layout -----------------------------------------------------------------

void TbsSkinCustomListBox::UpDateScrollBar() {
    if (!ListBox || !ListBox->HandleAllocated()) return;
    const HWND h = ListBox->Handle();
    const int count = ListBox->Count();
    if (ListBox->Columns() <= 0) {
        if (FHorizontalExtent && !FStopUpDateHScrollBar) {
            gfx::TCanvas& C = ListBox->Canvas();
            SelectItemFont(C);
            int widest = 0;
            for (int i = 0; i < count; ++i) widest = std::max(widest, GetItemTextWidth(i, C));
            int page = FIndex == -1
                           ? ListBox->Width() - 4
                           : ListBox->Width() - (WidthOf(SItemRect) - WidthOf(ItemTextRect));
            if (FImages) page -= FImages->Width() + 4;
            if (page < widest) {
                if (!HScrollBar) CreateExtentBar();
                HScrollBar->SetRange(0, widest, HScrollBar->Position(), page);
                const int step = C.TextWidth("0");
                HScrollBar->SetSmallChange(step);
                HScrollBar->SetLargeChange(step);
            } else if (HScrollBar && HScrollBar->Visible()) {
                RemoveExtentBar();
            }
        } else if (HScrollBar && HScrollBar->Visible()) {
            RemoveExtentBar();
        }
        if (FRowCount >= 1 && FRowCount == count) {
            if (ScrollBar && ScrollBar->Visible()) RemoveMainBar();
            return;
        }
        int lo = 0, hi = 0;
        win::GetScrollRange(h, win::SB_VERT, lo, hi);
        const int pos = win::GetScrollPos(h, win::SB_VERT);
        const int page = ListBox->Height() / std::max(ListBox->ItemHeight(), 1);
        if (hi > lo && pos <= hi && page < count) {
            if (!ScrollBar) CreateMainBar();
            ScrollBar->SetRange(lo, hi, pos, page);
            ScrollBar->SetLargeChange(page);
        } else if (ScrollBar && ScrollBar->Visible()) {
            RemoveMainBar();
        }
    } else {
        int lo = 0, hi = 0;
        win::GetScrollRange(h, win::SB_HORZ, lo, hi);
        const int pos = win::GetScrollPos(h, win::SB_HORZ);
        const int columns = ListBox->Columns();
        const int rows = ListBox->Height() / std::max(ListBox->ItemHeight(), 1);
        if (hi > lo && pos <= hi && columns <= hi && rows * columns < count) {
            if (!ScrollBar) CreateMainBar();
            ScrollBar->SetRange(lo, hi, pos, columns);
        } else if (ScrollBar && ScrollBar->Visible()) {
            RemoveMainBar();
        }
    }
}

void TbsSkinCustomListBox::NameMainBar() {
    if (FIndex == -1)
        ScrollBar->SetSkinDataName("");
    else
        ScrollBar->SetSkinDataName(ListBox->Columns() > 0 ? HScrollBarName : VScrollBarName);
    ScrollBar->SetSkinData(SkinData());
}

void TbsSkinCustomListBox::NameExtentBar() {
    // The bar's own Both switching would swap record names; the names are set here first so
    // that the switch lands on the same ones.
    if (FIndex == -1) {
        HScrollBar->SetBothSkinDataName("");
        HScrollBar->SetSkinDataName("");
        HScrollBar->SetBoth(ScrollBar != nullptr);
        if (ScrollBar) HScrollBar->SetBothMarkerWidth(19);
        HScrollBar->SetSkinDataName("");
    } else {
        const std::string& name = ScrollBar ? BothScrollBarName : HScrollBarName;
        HScrollBar->SetBothSkinDataName(name);
        HScrollBar->SetSkinDataName(name);
        HScrollBar->SetBoth(ScrollBar != nullptr);
        HScrollBar->SetSkinDataName(name);
    }
    HScrollBar->SetSkinData(SkinData());
}

void TbsSkinCustomListBox::CreateMainBar() {
    auto* bar = new TbsSkinScrollBar(this);
    bar->SetKind(ListBox->Columns() > 0 ? sbHorizontal : sbVertical);
    // A bar without a record keeps its thickness and takes its length from the layout.
    if (bar->Kind() == sbVertical) {
        bar->SetDefaultHeight(0);
        bar->SetDefaultWidth(19);
    }
    bar->SetBounds(bar->Left(), bar->Top(), 20, 100);
    bar->SetPageSize(0);
    bar->SetMin(0);
    bar->SetPosition(0);
    bar->OnChange = [this](TObject*) {
        if (!ScrollBar || !ListBox) return;
        const UINT msg = ListBox->Columns() > 0 ? win::WM_HSCROLL : win::WM_VSCROLL;
        win::SendMessage(
            ListBox->Handle(), msg,
            win::MAKEWPARAM(win::SB_THUMBPOSITION, std::uint16_t(ScrollBar->Position())), 0);
    };
    ScrollBar = bar;
    NameMainBar();
    if (HScrollBar) NameExtentBar();
    bar->SetParent(this);
    AlignControls();
    bar->SetVisible(true);
    Repaint();
}

void TbsSkinCustomListBox::CreateExtentBar() {
    auto* bar = new TbsSkinScrollBar(this);
    bar->SetKind(sbHorizontal);
    bar->SetBounds(bar->Left(), bar->Top(), 20, 100);
    bar->SetPageSize(0);
    bar->SetMin(0);
    bar->SetPosition(0);
    bar->OnChange = [this](TObject*) {
        if (!HScrollBar || !ListBox) return;
        ListBox->SetHorizontalExtentValue(HScrollBar->Position());
        ListBox->Invalidate();
    };
    HScrollBar = bar;
    NameExtentBar();
    bar->SetParent(this);
    bar->SetVisible(true);
    AlignControls();
    Repaint();
}

void TbsSkinCustomListBox::RemoveMainBar() {
    TbsSkinScrollBar* bar = ScrollBar;
    ScrollBar = nullptr;
    bar->SetVisible(false);
    bar->Free();
    AlignControls();
}

void TbsSkinCustomListBox::RemoveExtentBar() {
    ListBox->SetHorizontalExtentValue(0);
    TbsSkinScrollBar* bar = HScrollBar;
    HScrollBar = nullptr;
    bar->SetVisible(false);
    bar->Free();
    AlignControls();
    ListBox->Invalidate();
}

void TbsSkinCustomListBox::AlignControls() {
    if (!ListBox) return;
    const int W = Width(), H = Height();
    const bool skinned = FIndex != -1;
    const int capH = FCaptionMode ? FDefaultCaptionHeight : 1;
    if (skinned) {
        NewClRect = ClRect;
        NewClRect.Right += W - WidthOf(SkinRect);
        NewClRect.Bottom += H - HeightOf(SkinRect);
    }
    int HB = 0;
    if (HScrollBar && HScrollBar->Visible() && ListBox->Columns() == 0) {
        if (!skinned) {
            HScrollBar->SetBounds(1, H - 20, W - 2, 19);
            HB = HScrollBar->Height() - 1;
        } else {
            const int bh = HScrollBar->Height();
            HScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - bh, WidthOf(NewClRect), bh);
            HB = bh;
        }
    }
    if (ScrollBar && ScrollBar->Visible()) {
        const bool cols = ListBox->Columns() > 0;
        if (!skinned && !cols) {
            ScrollBar->SetBounds(W - 20, capH, 19, H - capH - HB - 1);
            ListRect = {2, capH + 1, ScrollBar->Left(), H - HB - 2};
        } else if (!skinned) {
            ScrollBar->SetBounds(1, H - 20, W - 2, 19);
            ListRect = {2, capH + 1, W - 2, ScrollBar->Top()};
        } else if (!cols) {
            const int bw = ScrollBar->Width();
            ScrollBar->SetBounds(NewClRect.Right - bw, NewClRect.Top, bw, HeightOf(NewClRect) - HB);
            ListRect = NewClRect;
            ListRect.Right -= bw;
            ListRect.Bottom -= HB;
        } else {
            const int bh = ScrollBar->Height();
            ScrollBar->SetBounds(NewClRect.Left, NewClRect.Bottom - bh, WidthOf(NewClRect), bh);
            ListRect = NewClRect;
            ListRect.Bottom -= bh;
        }
    } else if (!skinned) {
        ListRect = {2, capH + 1, W - 2, H - 2 - HB};
    } else {
        ListRect = NewClRect;
        ListRect.Bottom -= HB;
    }
    ListBox->SetBounds(ListRect.Left, ListRect.Top, WidthOf(ListRect), HeightOf(ListRect));
}

// ---- messages and caption buttons ------------------------------------------------------------

void TbsSkinCustomListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case win::WM_SIZE:
            TbsSkinCustomControl::Dispatch(Message);
            AlignControls();
            UpDateScrollBar();
            if (ScrollBar) ScrollBar->Repaint();
            return;
        case win::WM_TIMER:
            TbsSkinCustomControl::Dispatch(Message);
            if (WaitMode) {
                WaitMode = false;
                StartTimer(kRepeatMs);
                return;
            }
            if (TimerMode == 1 && ItemIndex() >= 1)
                SetItemIndex(ItemIndex() - 1);
            else if (TimerMode == 2 && ItemIndex() + 1 < ListBox->Count())
                SetItemIndex(ItemIndex() + 1);
            return;
        case CM_TEXTCHANGED:
            TbsSkinCustomControl::Dispatch(Message);
            if (FCaptionMode) Repaint();
            return;
        case CM_MOUSEENTER:
            TbsSkinCustomControl::Dispatch(Message);
            if (FCaptionMode && FShowCaptionButtons) TestActive(-1, -1);
            return;
        case CM_MOUSELEAVE:
            TbsSkinCustomControl::Dispatch(Message);
            if (FCaptionMode && FShowCaptionButtons) {
                bool any = false;
                for (TbsCBButtonX& b : Buttons)
                    if (b.MouseIn) {
                        b.MouseIn = false;
                        any = true;
                    }
                if (any) Repaint();
            }
            return;
        default:
            TbsSkinCustomControl::Dispatch(Message);
    }
}

void TbsSkinCustomListBox::StartTimer(unsigned ms) {
    win::KillTimer(Handle(), kRepeatTimer);
    win::SetTimer(Handle(), kRepeatTimer, ms);
}

void TbsSkinCustomListBox::StopTimer() {
    if (HandleAllocated()) win::KillTimer(Handle(), kRepeatTimer);
}

void TbsSkinCustomListBox::TestActive(int X, int Y) {
    if (!FShowCaptionButtons) return;
    if (FIndex != -1 && EmptyRect(UpButtonRect) && EmptyRect(DownButtonRect)) return;
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 3; ++i)
        if (Buttons[i].R.Contains(X, Y)) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
    if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TbsSkinCustomListBox::ButtonEnter(int i) {
    Buttons[i].MouseIn = true;
    DrawButtonNow(i);
    if (TimerMode != 0 && Buttons[i].Down) StartTimer(kResumeMs);
}

void TbsSkinCustomListBox::ButtonLeave(int i) {
    Buttons[i].MouseIn = false;
    DrawButtonNow(i);
    if (TimerMode != 0 && Buttons[i].Down) StopTimer();
}

void TbsSkinCustomListBox::ButtonDown(int i) {
    Buttons[i].MouseIn = true;
    Buttons[i].Down = true;
    DrawButtonNow(i);
    const TNotifyEvent& event = i == 0   ? OnUpButtonClick
                                : i == 1 ? OnDownButtonClick
                                         : OnCheckButtonClick;
    if (event) return;
    TimerMode = i == 0 ? 1 : i == 1 ? 2 : 0;
    if (TimerMode != 0) {
        WaitMode = true;
        StartTimer(kFirstDelayMs);
    }
}

void TbsSkinCustomListBox::ButtonUp(int i) {
    Buttons[i].Down = false;
    if (i != ActiveButton) Buttons[i].MouseIn = false;
    DrawButtonNow(i);
    const TNotifyEvent event = i == 0   ? OnUpButtonClick
                               : i == 1 ? OnDownButtonClick
                                        : OnCheckButtonClick;
    if (Buttons[i].MouseIn && event) {
        event(this);
        return;
    }
    switch (i) {
        case 0:
            if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
            break;
        case 1:
            if (ItemIndex() + 1 < ListBox->Count()) SetItemIndex(ItemIndex() + 1);
            break;
        default:
            ListBox->Click();
            break;
    }
    if (TimerMode != 0) {
        StopTimer();
        TimerMode = 0;
    }
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FCaptionMode && FShowCaptionButtons) {
        TestActive(X, Y);
        if (ActiveButton != -1) {
            CaptureButton = ActiveButton;
            ButtonDown(ActiveButton);
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (FCaptionMode && FShowCaptionButtons) TestActive(X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FCaptionMode && FShowCaptionButtons && CaptureButton != -1) {
        const int i = CaptureButton;
        CaptureButton = -1;
        ButtonUp(i);
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

}  // namespace skin
