#include "platform/vcl/controls.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "platform/rtl/lists.h"
#include "platform/rtl/scope_exit.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "platform/win/video_host.h"
#include "platform/win/win.h"

namespace vcl {

namespace {

std::unordered_map<std::uint32_t, TWinControl*>& HandleMap() {
    static std::unordered_map<std::uint32_t, TWinControl*> map;
    return map;
}

TControl* GCaptureControl = nullptr;
int GMessageDepth = 0;

std::vector<TControlCanvas*>& OwnDCCanvases() {
    static std::vector<TControlCanvas*> canvases;
    return canvases;
}

bool IsClientMouseMessage(UINT m) {
    return m >= win::WM_MOUSEMOVE && m <= win::WM_MBUTTONDBLCLK;
}

}  // namespace

// ---- cursors -----------------------------------------------------------------------------------

win::HCURSOR CursorToHandle(TCursor cursor) {
    switch (cursor) {
        case crArrow:
            return win::IDC_ARROW;
        case crCross:
            return win::IDC_CROSS;
        case crIBeam:
            return win::IDC_IBEAM;
        case crSizeNESW:
            return win::IDC_SIZENESW;
        case crSizeNS:
            return win::IDC_SIZENS;
        case crSizeNWSE:
            return win::IDC_SIZENWSE;
        case crSizeWE:
            return win::IDC_SIZEWE;
        case crUpArrow:
            return win::IDC_UPARROW;
        case crHourGlass:
            return win::IDC_WAIT;
        case crNo:
            return win::IDC_NO;
        case crHandPoint:
            return win::IDC_HAND;
        case crHelp:
            return win::IDC_HELP;
        case crSizeAll:
            return win::IDC_SIZEALL;
        default:
            return 0;
    }
}

// ---- shift state
// ---------------------------------------------------------------------------------

TShiftState KeysToShiftState(UINT keys) {
    TShiftState s;
    if (keys & win::MK_SHIFT) s += ssShift;
    if (keys & win::MK_CONTROL) s += ssCtrl;
    if (keys & win::MK_LBUTTON) s += ssLeft;
    if (keys & win::MK_RBUTTON) s += ssRight;
    if (keys & win::MK_MBUTTON) s += ssMiddle;
    if (win::GetKeyState(win::VK_MENU) < 0) s += ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (win::GetKeyState(win::VK_SHIFT) < 0) s += ssShift;
    if (win::GetKeyState(win::VK_CONTROL) < 0) s += ssCtrl;
    if (keyData & (LPARAM(1) << 29)) s += ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState s;
    if (win::GetKeyState(win::VK_SHIFT) < 0) s += ssShift;
    if (win::GetKeyState(win::VK_CONTROL) < 0) s += ssCtrl;
    if (win::GetKeyState(win::VK_MENU) < 0) s += ssAlt;
    if (win::GetKeyState(win::VK_LBUTTON) < 0) s += ssLeft;
    if (win::GetKeyState(win::VK_RBUTTON) < 0) s += ssRight;
    if (win::GetKeyState(win::VK_MBUTTON) < 0) s += ssMiddle;
    return s;
}

// ---- TSizeConstraints ---------------------------------------------------------------------------

void TSizeConstraints::SetMinWidth(int value) {
    FMinWidth = std::max(0, value);
    Changed();
}
void TSizeConstraints::SetMinHeight(int value) {
    FMinHeight = std::max(0, value);
    Changed();
}
void TSizeConstraints::SetMaxWidth(int value) {
    FMaxWidth = std::max(0, value);
    Changed();
}
void TSizeConstraints::SetMaxHeight(int value) {
    FMaxHeight = std::max(0, value);
    Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const {
    if (FMaxWidth > 0) width = std::min(width, FMaxWidth);
    if (FMaxHeight > 0) height = std::min(height, FMaxHeight);
    width = std::max(width, FMinWidth);
    height = std::max(height, FMinHeight);
}

void TSizeConstraints::AssignTo(TPersistent* Dest) const {
    if (auto* d = dynamic_cast<TSizeConstraints*>(Dest)) {
        d->FMinWidth = FMinWidth;
        d->FMinHeight = FMinHeight;
        d->FMaxWidth = FMaxWidth;
        d->FMaxHeight = FMaxHeight;
        d->Changed();
        return;
    }
    TPersistent::AssignTo(Dest);
}

void TSizeConstraints::Changed() {
    if (OnChange) OnChange(this);
}

// ---- TControlCanvas
// ------------------------------------------------------------------------------

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::CreateHandle() {
    if (!FControl || FOwnDC) return;
    HWND window;
    TPoint offset{0, 0};
    if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
        window = w->Handle();
    } else if (TWinControl* parent = FControl->Parent()) {
        window = parent->Handle();
        offset = {FControl->Left(), FControl->Top()};
    }
    if (!window) return;
    HDC dc = win::GetDC(window);
    if (!dc) return;
    if (offset.X || offset.Y) {
        TPoint origin;
        gfx::GetViewportOrgEx(dc, &origin);
        gfx::SetViewportOrgEx(dc, origin.X + offset.X, origin.Y + offset.Y);
        gfx::IntersectClipRect(dc, 0, 0, FControl->Width(), FControl->Height());
    }
    FOwnDC = dc;
    FOwnWindow = window;
    SetHandle(dc);
    OwnDCCanvases().push_back(this);
}

void TControlCanvas::FreeHandle() {
    if (!FOwnDC) return;
    if (Handle() == FOwnDC) SetHandle(nullptr);
    win::ReleaseDC(FOwnWindow, FOwnDC);
    FOwnDC = nullptr;
    auto& list = OwnDCCanvases();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::PaintOn(HDC dc, const std::function<void()>& paint) {
    FreeHandle();
    SetHandle(dc);
    rtl::TScopeExit lent([this] { SetHandle(nullptr); });
    paint();
}

void TControlCanvas::FreeDeviceContexts() {
    const auto list = OwnDCCanvases();
    for (TControlCanvas* c : list) c->FreeHandle();
}

// ---- TControl
// --------------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont.OnChange = [this] {
        if (!FSettingParentFont) FParentFont = false;
        Perform(CM_FONTCHANGED);
    };
    FConstraints.OnChange = [this](TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); };
}

TControl::~TControl() = default;

void TControl::BeforeDestruction() {
    Destroying();
    if (Application) Application->ControlGone(this);
    if (GCaptureControl == this) {
        GCaptureControl = nullptr;
        if (FParent && FParent->HandleAllocated() && win::GetCapture() == FParent->FHandle)
            win::ReleaseCapture();
    }
    if (FParent) FParent->RemoveControl(this);
    TComponent::BeforeDestruction();
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    FConstraints.Apply(AWidth, AHeight);
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    if (FParent && FParent->HandleAllocated() && IsVisibleInParent()) {
        const TRect old = BoundsRect();
        win::InvalidateRect(FParent->FHandle, &old, true);
    }
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!FAnchorMove) UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (sized && !ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::ClientRect() const {
    return {0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(int value) {
    SetBounds(FLeft, FTop, FWidth - ClientWidth() + value, FHeight);
}

void TControl::SetClientHeight(int value) {
    SetBounds(FLeft, FTop, FWidth, FHeight - ClientHeight() + value);
}

TPoint TControl::ClientOrigin() const {
    if (!FParent) return {FLeft, FTop};
    const TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint point) const {
    const TPoint o = ClientOrigin();
    return {point.X + o.X, point.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint point) const {
    const TPoint o = ClientOrigin();
    return {point.X - o.X, point.Y - o.Y};
}

void TControl::SetAlign(TAlign value) {
    if (value == FAlign) return;
    FAlign = value;
    if (value == alNone) UpdateAnchorRules();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    FAnchors = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (!FParent || FAnchorMove) return;
    const TRect client = FParent->ClientRect();
    FAnchorBounds = BoundsRect();
    FAnchorParentSize = {client.Width(), client.Height()};
    FAnchorsValid = true;
}

void TControl::SetAutoSize(bool value) {
    FAutoSize = value;
    if (value) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) {
    return false;
}

void TControl::AdjustSize() {
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    int w = FWidth, h = FHeight;
    if (CanAutoSize(w, h)) SetBounds(FLeft, FTop, w, h);
}

void TControl::RequestAlign() {
    if (FParent) FParent->AlignControl(this);
}

bool TControl::IsVisibleInParent() const {
    return FVisible;
}

void TControl::SetVisible(bool value) {
    if (Change(FVisible, value, CM_VISIBLECHANGED, value ? 1 : 0)) RequestAlign();
}

bool TControl::Showing() const {
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool value) {
    Change(FEnabled, value, CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& value) {
    Change(FText, value, CM_TEXTCHANGED);
}

void TControl::SetColor(TColor value) {
    FParentColor = false;
    Change(FColor, value, CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    if (value && FParent) DoParentColorChanged();
}

void TControl::DoParentColorChanged() {
    if (FParentColor && FParent) Change(FColor, FParent->FColor, CM_COLORCHANGED);
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value && FParent) DoParentFontChanged();
}

void TControl::DoParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FSettingParentFont = true;
    FFont.Assign(FParent->FFont);
    FSettingParentFont = false;
}

void TControl::SetShowHint(bool value) {
    FParentShowHint = false;
    Change(FShowHint, value, CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    FParentShowHint = value;
    if (value && FParent) Change(FShowHint, FParent->FShowHint, CM_SHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    FPopupMenu = value;
    if (value) value->FreeNotification(this);
}

void TControl::SetCursor(TCursor value) {
    Change(FCursor, value, CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (value == MouseCapture()) return;
    if (!value) {
        GCaptureControl = nullptr;
        win::ReleaseCapture();
        return;
    }
    HWND window;
    if (auto* w = dynamic_cast<TWinControl*>(this))
        window = w->Handle();
    else if (FParent)
        window = FParent->Handle();
    if (!window) return;
    GCaptureControl = this;
    win::SetCapture(window);
    GCaptureControl = this;  // the capture change notice forgot the old holder, not us
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage m{Msg, WParam, LParam, 0};
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& m) {
    const UINT msg = m.Msg;
    if (IsClientMouseMessage(msg)) {
        if (Application) Application->MouseMessage(this, m);
        if ((msg == win::WM_LBUTTONDOWN || msg == win::WM_LBUTTONDBLCLK) &&
            FControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
    }
    // The control may be freed by what it runs; nothing of it is touched after Dispatch.
    const bool releaseAfter = msg == win::WM_LBUTTONUP && MouseCapture();
    Dispatch(m);
    if (releaseAfter && GetCaptureControl() == this) {
        GCaptureControl = nullptr;
        win::ReleaseCapture();
    }
}

void TControl::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
            HandleMouseDown(m, mbLeft, {});
            return;
        case WM_RBUTTONDOWN:
            HandleMouseDown(m, mbRight, {});
            return;
        case WM_MBUTTONDOWN:
            HandleMouseDown(m, mbMiddle, {});
            return;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            const TMouseButton b = m.Msg == WM_LBUTTONDBLCLK   ? mbLeft
                                   : m.Msg == WM_RBUTTONDBLCLK ? mbRight
                                                               : mbMiddle;
            if (FControlStyle.Contains(csDoubleClicks))
                HandleMouseDown(m, b, {ssDouble});
            else
                HandleMouseDown(m, b, {});
            return;
        }
        case WM_LBUTTONUP:
            HandleMouseUp(m, mbLeft);
            return;
        case WM_RBUTTONUP:
            HandleMouseUp(m, mbRight);
            return;
        case WM_MBUTTONUP:
            HandleMouseUp(m, mbMiddle);
            return;
        case WM_MOUSEMOVE: {
            const TWMMouse mm = TWMMouse::From(m);
            MouseMove(KeysToShiftState(mm.Keys), mm.XPos, mm.YPos);
            return;
        }
        case WM_CONTEXTMENU:
            HandleContextMenu(m);
            return;
        case CM_HITTEST:
            m.Result = 1;
            return;
        case CM_INVALIDATE:
            if (FParent && FParent->HandleAllocated() && FVisible) {
                const TRect r = BoundsRect();
                win::InvalidateRect(FParent->FHandle, &r, !FControlStyle.Contains(csOpaque));
            }
            return;
        case CM_VISIBLECHANGED:
            if (FParent && FParent->HandleAllocated()) {
                const TRect r = BoundsRect();
                win::InvalidateRect(FParent->FHandle, &r, true);
            }
            return;
        case CM_ENABLEDCHANGED:
        case CM_FONTCHANGED:
        case CM_COLORCHANGED:
            Invalidate();
            return;
        case CM_PARENTFONTCHANGED:
            DoParentFontChanged();
            return;
        case CM_PARENTCOLORCHANGED:
            DoParentColorChanged();
            return;
        case CM_PARENTSHOWHINTCHANGED:
            if (FParentShowHint && FParent)
                Change(FShowHint, FParent->FShowHint, CM_SHOWHINTCHANGED);
            return;
        default:
            DefaultHandler(m);
    }
}

void TControl::DefaultHandler(TMessage& m) {
    m.Result = 0;
}

void TControl::HandleMouseDown(TMessage& m, TMouseButton button, TShiftState extra) {
    const TWMMouse mm = TWMMouse::From(m);
    if (m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK) SendCancelMode(this);
    if (button == mbLeft && FControlStyle.Contains(csClickEvents)) FControlState += csClicked;
    if (extra.Contains(ssDouble) && button == mbLeft && FControlStyle.Contains(csClickEvents))
        DblClick();
    MouseDown(button, KeysToShiftState(mm.Keys) + extra, mm.XPos, mm.YPos);
}

void TControl::HandleMouseUp(TMessage& m, TMouseButton button) {
    const TWMMouse mm = TWMMouse::From(m);
    MouseUp(button, KeysToShiftState(mm.Keys), mm.XPos, mm.YPos);
    if (button == mbLeft && FControlState.Contains(csClicked)) {
        FControlState -= csClicked;
        if (ClientRect().Contains(mm.XPos, mm.YPos)) Click();
        return;
    }
    if (button == mbRight) {
        const TPoint screen = ClientToScreen({mm.XPos, mm.YPos});
        Perform(win::WM_CONTEXTMENU, 0, win::MAKELPARAM(screen.X, screen.Y));
    }
}

void TControl::HandleContextMenu(TMessage& m) {
    const TPoint screen = win::PointFromParam(m.LParam);
    const bool fromKeys = screen.X == -1 && screen.Y == -1;
    bool handled = false;
    DoContextPopup(fromKeys ? TPoint{-1, -1} : ScreenToClient(screen), handled);
    if (handled) {
        m.Result = 1;
        return;
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        const TPoint at = fromKeys ? ClientToScreen({FWidth / 2, FHeight / 2}) : screen;
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(at.X, at.Y);
        m.Result = 1;
        return;
    }
    if (FParent) m.Result = FParent->Perform(win::WM_CONTEXTMENU, m.WParam, m.LParam);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::SendCancelMode(TControl* Sender) {
    TCustomForm* form = GetParentForm(this);
    if (!form && Sender) form = dynamic_cast<TCustomForm*>(Sender);
    if (form && form->ActiveControl())
        form->ActiveControl()->Perform(CM_CANCELMODE, 0, win::PtrToParam(Sender));
}

void TControl::Invalidate() {
    Perform(CM_INVALIDATE);
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::Restack(bool toFront) {
    const HWND place = toFront ? win::HWND_TOP : win::HWND_BOTTOM;
    auto* windowed = dynamic_cast<TWinControl*>(this);
    auto move = [toFront](auto& list, auto* item) {
        list.erase(std::remove(list.begin(), list.end(), item), list.end());
        if (toFront)
            list.push_back(item);
        else
            list.insert(list.begin(), item);
    };
    if (FParent) {
        if (windowed)
            move(FParent->FWinControls, windowed);
        else
            move(FParent->FControls, this);
    }
    if (windowed && windowed->HandleAllocated())
        win::SetWindowPos(windowed->FHandle, place, 0, 0, 0, 0,
                          win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
    else if (!windowed)
        Invalidate();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParentFont) DoParentFontChanged();
    if (FParentColor) DoParentColorChanged();
}

// ---- window procedure --------------------------------------------------------------------------

LRESULT ControlWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(h);
    if (!control && msg == win::WM_NCCREATE) {
        const auto* cs = win::ParamToPtr<win::CREATESTRUCT>(std::uint64_t(lParam));
        control = cs ? static_cast<TWinControl*>(cs->lpCreateParams) : nullptr;
        if (control) {
            HandleMap()[h.Value()] = control;
            control->FHandle = h;
        }
    }
    if (!control) return win::DefWindowProc(h, msg, wParam, lParam);
    return control->MainWndProc(msg, wParam, lParam);
}

TWinControl* FindControl(HWND window) {
    if (!window) return nullptr;
    auto& map = HandleMap();
    auto it = map.find(window.Value());
    return it == map.end() ? nullptr : it->second;
}

LRESULT TWinControl::MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    ++GMessageDepth;
    try {
        if (WindowProc)
            WindowProc(m);
        else
            WndProc(m);
    } catch (...) {
        // The window procedure is the border: what a handler throws is shown, and the loop
        // goes on.
        if (Application) {
            Application->HandleException(nullptr);
        } else {
            try {
                throw;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "moradex: %s\n", e.what());
            } catch (...) {
                std::fprintf(stderr, "moradex: an unknown exception left a window procedure\n");
            }
        }
    }
    if (--GMessageDepth == 0) TControlCanvas::FreeDeviceContexts();
    return m.Result;
}

// ---- TWinControl --------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    FBrush.SetColor(Color());
}

TWinControl::~TWinControl() {
    // Freed without Free: the window must not outlive the object it calls.
    if (FHandle) {
        const HWND h = FHandle;
        HandleMap().erase(h.Value());
        FHandle = HWND();
        win::DestroyWindow(h);
    }
}

void TWinControl::BeforeDestruction() {
    Destroying();
    while (!FWinControls.empty()) FWinControls.back()->Free();
    while (!FControls.empty()) FControls.back()->Free();
    DestroyHandle();
    TControl::BeforeDestruction();
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    CreateChildHandles();
    // A top-level popup shows as soon as it exists when it is visible; forms show themselves.
    if (!Parent() && !dynamic_cast<TCustomForm*>(this)) UpdateShowing();
}

void TWinControl::CreateChildHandles() {
    const auto children = FWinControls;
    for (TWinControl* c : children)
        if (!c->FHandle) c->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& p) {
    using namespace win;
    p.Caption = Text();
    p.Style = 0;
    p.ExStyle = 0;
    if (Parent()) {
        p.Style = WS_CHILD | WS_CLIPSIBLINGS;
        p.WndParent = Parent()->Handle();
        if (Visible()) p.Style |= WS_VISIBLE;
    } else {
        p.Style = WS_POPUP;
    }
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WindowClass.style = CS_VREDRAW | CS_HREDRAW;
    if (ControlStyle().Contains(csDoubleClicks)) p.WindowClass.style |= CS_DBLCLKS;
    p.WindowClass.hCursor = IDC_ARROW;
    p.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    win::TWndClass cls;
    cls.Name = p.WinClassName;
    cls.Style = p.WindowClass.style;
    cls.Proc = ControlWindowProc;
    cls.Background = gfx::clNone;
    cls.Cursor = p.WindowClass.hCursor;
    win::RegisterClass(cls);  // false when it exists already: it is ours
    CreateWindowHandle(p);
    if (!FHandle) throw EInvalidOperation("Error creating window of class " + p.WinClassName);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
    const HWND h = win::CreateWindowEx(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y,
                                       p.Width, p.Height, p.WndParent, this);
    if (h && !FHandle) {
        HandleMap()[h.Value()] = this;
        FHandle = h;
    }
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    FControlState += csDestroyingHandle;
    TControlCanvas::FreeDeviceContexts();
    DestroyWnd();
    FControlState -= csDestroyingHandle;
}

void TWinControl::DestroyWnd() {
    const HWND h = FHandle;
    win::DestroyWindow(h);
    if (FHandle == h) WindowGone();
}

void TWinControl::WindowGone() {
    if (!FHandle) return;
    HandleMap().erase(FHandle.Value());
    FHandle = HWND();
    TControlCanvas::FreeDeviceContexts();
    if (GCaptureControl && (GCaptureControl == this || GCaptureControl->Parent() == this))
        GCaptureControl = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    const bool focused = Focused();
    const bool topLevel = !(DWORD(win::GetWindowLongPtr(FHandle, win::GWL_STYLE)) & win::WS_CHILD);
    const bool shown = win::IsWindowVisible(FHandle);
    const bool active = win::GetActiveWindow() == FHandle;
    FRecreating = true;
    DestroyHandle();
    CreateHandle();
    FRecreating = false;
    if (topLevel && shown) win::ShowWindow(FHandle, active ? win::SW_SHOW : win::SW_SHOWNA);
    if (focused && CanFocus()) win::SetFocus(FHandle);
}

bool TWinControl::Showing() const {
    return FHandle && win::IsWindowVisible(FHandle);
}

void TWinControl::UpdateShowing() {
    if (!FHandle) {
        if (Visible() && Parent() && Parent()->HandleAllocated()) CreateHandle();
        return;
    }
    const bool visible = (DWORD(win::GetWindowLongPtr(FHandle, win::GWL_STYLE)) & win::WS_VISIBLE);
    if (Visible() != visible) win::ShowWindow(FHandle, Visible() ? win::SW_SHOWNA : win::SW_HIDE);
}

TControl* TWinControl::Controls(int index) const {
    const int graphic = int(FControls.size());
    if (index < 0 || index >= ControlCount()) rtl::RaiseListIndexError(index);
    if (index < graphic) return FControls[std::size_t(index)];
    return FWinControls[std::size_t(index - graphic)];
}

void TWinControl::InsertControl(TControl* c) {
    if (!c || c->FParent == this) return;
    c->FParent = this;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        FWinControls.push_back(w);
        FTabList.push_back(w);
    } else {
        FControls.push_back(c);
    }
    if (c->FParentFont) c->DoParentFontChanged();
    if (c->FParentColor) c->DoParentColorChanged();
    if (c->FParentShowHint) c->FShowHint = ShowHint();
    Perform(CM_CONTROLLISTCHANGE, win::WPARAM(reinterpret_cast<std::uintptr_t>(c)), 1);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (FHandle && !w->FHandle) w->CreateHandle();
    } else {
        c->Invalidate();
    }
    c->UpdateAnchorRules();
    if (c->FAlign != alNone || FAutoSize) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    if (!c || c->FParent != this) return;
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(w, true);
    if (!w && FHandle && c->FVisible) {
        const TRect r = c->BoundsRect();
        win::InvalidateRect(FHandle, &r, true);
    }
    if (GCaptureControl == c) SetCaptureControl(nullptr);
    if (w) {
        FWinControls.erase(std::remove(FWinControls.begin(), FWinControls.end(), w),
                           FWinControls.end());
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    } else {
        FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
    }
    c->FParent = nullptr;
    Perform(CM_CONTROLLISTCHANGE, win::WPARAM(reinterpret_cast<std::uintptr_t>(c)), 0);
    if (!ComponentState().Contains(csDestroying)) Realign();
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    // A child window can move to another window; anything else makes a new one.
    const bool keep = FHandle && Parent() && AParent && AParent->HandleAllocated();
    if (FHandle && !keep) DestroyHandle();
    TControl::SetParent(AParent);
    if (keep && FHandle) {
        win::SetParent(FHandle, AParent->FHandle);
        win::SetWindowPos(FHandle, win::HWND_TOP, Left(), Top(), Width(), Height(),
                          win::SWP_NOACTIVATE);
    }
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool AllowDisabled, bool AllowWinControls) const {
    auto hits = [&](TControl* c) {
        if (!c->Visible() || (!c->Enabled() && !AllowDisabled)) return false;
        if (!c->BoundsRect().Contains(pos.X, pos.Y)) return false;
        return c->Perform(CM_HITTEST, 0, win::MAKELPARAM(pos.X - c->Left(), pos.Y - c->Top())) != 0;
    };
    if (AllowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hits(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hits(*it)) return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
    std::vector<TControl*> all(FControls.begin(), FControls.end());
    all.insert(all.end(), FWinControls.begin(), FWinControls.end());
    for (TControl* c : all) {
        if (c->Parent() != this) continue;
        c->WindowProc ? c->WindowProc(m) : c->WndProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::DisableAlign() {
    ++FAlignLevel;
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0 && ControlState().Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl) {
    if (FAlignLevel > 0 || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying)) {
        SetControlState(ControlState() + csAlignmentNeeded);
        return;
    }
    SetControlState(ControlState() - csAlignmentNeeded);
    if (FAligning) return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    {
        FAligning = true;
        rtl::TScopeExit aligned([this] { FAligning = false; });
        AlignControls(AControl, r);
    }
    if (AutoSize()) AdjustSize();
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::ApplyAnchors(TControl* c) {
    if (!c->FAnchorsValid || c->Align() != alNone) return;
    const TAnchors a = c->Anchors();
    if (a == TAnchors{akLeft, akTop}) return;
    const TRect client = ClientRect();
    const int dw = client.Width() - c->FAnchorParentSize.cx;
    const int dh = client.Height() - c->FAnchorParentSize.cy;
    const TRect b = c->FAnchorBounds;
    int left = b.Left, top = b.Top, width = b.Width(), height = b.Height();
    if (a.Contains(akRight)) {
        if (a.Contains(akLeft))
            width += dw;
        else
            left += dw;
    } else if (!a.Contains(akLeft)) {
        left += dw / 2;
    }
    if (a.Contains(akBottom)) {
        if (a.Contains(akTop))
            height += dh;
        else
            top += dh;
    } else if (!a.Contains(akTop)) {
        top += dh / 2;
    }
    c->FAnchorMove = true;
    c->SetBounds(left, top, std::max(0, width), std::max(0, height));
    c->FAnchorMove = false;
}

void TWinControl::DoAlign(TAlign kind, TControl* AControl, TRect& r) {
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() == kind && c->Visible()) list.push_back(c);
    }
    auto key = [&](TControl* c) {
        switch (kind) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(c->Top() + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
        if (key(a) != key(b)) return key(a) < key(b);
        return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
        c->FAnchorMove = true;
        switch (kind) {
            case alTop:
                c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
                r.Top = std::min(r.Bottom, r.Top + c->Height());
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
                r.Bottom = std::max(r.Top, r.Bottom - c->Height());
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
                r.Left = std::min(r.Right, r.Left + c->Width());
                break;
            case alRight:
                c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
                r.Right = std::max(r.Left, r.Right - c->Width());
                break;
            case alClient:
                c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                break;
            default:
                break;
        }
        c->FAnchorMove = false;
    }
}

void TWinControl::AlignControls(TControl* AControl, TRect& r) {
    for (int i = 0; i < ControlCount(); ++i) ApplyAnchors(Controls(i));
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(kind, AControl, r);
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight) {
    int right = 0, bottom = 0;
    bool any = false;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        any = true;
        right = std::max(right, c->Left() + c->Width());
        bottom = std::max(bottom, c->Top() + c->Height());
    }
    if (!any) return false;
    NewWidth = Width() - ClientWidth() + right;
    NewHeight = Height() - ClientHeight() + bottom;
    return true;
}

void TWinControl::ScrollBy(int DeltaX, int DeltaY) {
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->FAnchorMove = true;
        c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
        c->FAnchorMove = false;
    }
    EnableAlign();
    Invalidate();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->UpdateAnchorRules();
    Realign();
}

TRect TWinControl::ClientRect() const {
    if (FHandle) {
        TRect r;
        win::GetClientRect(FHandle, r);
        return r;
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
    if (FHandle) {
        TPoint p{0, 0};
        win::ClientToScreen(FHandle, p);
        return p;
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    Constraints().Apply(AWidth, AHeight);
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    if (FHandle && !win::IsIconic(FHandle)) {
        // The window answers with WM_WINDOWPOSCHANGED and WM_SIZE, which update the fields,
        // lay the children out and tell OnResize.
        win::SetWindowPos(FHandle, HWND(), ALeft, ATop, AWidth, AHeight,
                          win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    } else {
        const bool sized = AWidth != Width() || AHeight != Height();
        FLeft = ALeft;
        FTop = ATop;
        FWidth = AWidth;
        FHeight = AHeight;
        if (sized) {
            Realign();
            if (!ComponentState().Contains(csLoading)) Resize();
        }
    }
    if (!FromAlignment()) UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::SetText(const std::string& value) {
    if (!FHandle) {
        TControl::SetText(value);
        return;
    }
    if (value == Text()) return;
    win::SetWindowText(FHandle, value);  // WM_SETTEXT keeps the control's copy
    Perform(CM_TEXTCHANGED);
}

void TWinControl::UpdateBounds() {
    if (!FHandle) return;
    TRect r;
    win::GetWindowRect(FHandle, r);
    const DWORD style = DWORD(win::GetWindowLongPtr(FHandle, win::GWL_STYLE));
    if (style & win::WS_CHILD) {
        if (const HWND parent = win::GetParent(FHandle)) {
            TPoint p{r.Left, r.Top};
            win::ScreenToClient(parent, p);
            r = gfx::Bounds(p.X, p.Y, r.Width(), r.Height());
        }
    } else if (win::IsIconic(FHandle) || win::IsZoomed(FHandle)) {
        // A minimized or maximized window keeps its normal bounds as the control's own.
        if (win::IsIconic(FHandle)) return;
    }
    FLeft = r.Left;
    FTop = r.Top;
    FWidth = r.Width();
    FHeight = r.Height();
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!Parent()) return;
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    value = std::clamp(value, 0, int(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
    if (value == FTabStop) return;
    FTabStop = value;
    if (FHandle) {
        DWORD style = DWORD(win::GetWindowLongPtr(FHandle, win::GWL_STYLE));
        style = value ? (style | win::WS_TABSTOP) : (style & ~win::WS_TABSTOP);
        win::SetWindowLongPtr(FHandle, win::GWL_STYLE, std::intptr_t(style));
    }
    Perform(CM_TABSTOPCHANGED);
}

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    if (!form && (!Visible() || !Enabled())) return false;
    return true;
}

bool TWinControl::Focused() const {
    return FHandle && win::GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this); form && form != this) {
        form->FocusControl(this);
        return;
    }
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    win::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* cur, bool forward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int n = int(list.size());
    if (n == 0) return nullptr;
    int i = int(std::find(list.begin(), list.end(), cur) - list.begin());
    if (i == n) i = forward ? n - 1 : 0;
    const int start = i;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[std::size_t(i)];
        if (c == cur && step > 0 && i == start) break;
        if (c != cur && c->CanFocus() && (!checkTabStop || c->TabStop()) &&
            (!checkParent || c->Parent() == this))
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* cur, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(cur, forward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

void TWinControl::Invalidate() {
    Perform(CM_INVALIDATE);
}

void TWinControl::Update() {
    if (FHandle) win::UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* First) {
    if (FControls.empty()) return;
    const std::vector<TControl*> list = FControls;
    TRect clip;
    gfx::GetClipBox(dc, &clip);
    bool painting = First == nullptr;
    for (TControl* c : list) {
        if (!painting) {
            if (c != First) continue;
            painting = true;
        }
        if (c->Parent() != this || !c->Visible()) continue;
        if (gfx::IntersectRect(c->BoundsRect(), clip).IsEmpty()) continue;
        const int saved = gfx::SaveDC(dc);
        TPoint origin;
        gfx::GetViewportOrgEx(dc, &origin);
        gfx::SetViewportOrgEx(dc, origin.X + c->Left(), origin.Y + c->Top());
        gfx::IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(win::WM_PAINT, win::DcToParam(dc), 0);
        gfx::RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(HDC dc) {
    const int saved = gfx::SaveDC(dc);
    for (TControl* c : FControls)
        if (c->Visible() && c->ControlStyle().Contains(csOpaque))
            gfx::ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(),
                                 c->Top() + c->Height());
    PaintWindow(dc);
    gfx::RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
    if (FHandle)
        if (auto host = win::FindVideoHost(FHandle)) host->Paint(dc);
}

void TWinControl::WmPaint(TMessage& m) {
    if (m.WParam) {
        PaintHandler(win::ParamToDc(m.WParam));
        return;
    }
    if (!FHandle) return;
    const HWND h = FHandle;
    win::PAINTSTRUCT ps;
    HDC dc = win::BeginPaint(h, ps);
    if (!dc) return;
    PaintHandler(dc);
    win::EndPaint(h, ps);
}

void TWinControl::WmEraseBkgnd(TMessage& m) {
    HDC dc = win::ParamToDc(m.WParam);
    if (dc && FBrush.Style() != gfx::bsClear) {
        // What opaque windowless children cover is theirs to paint.
        const int saved = gfx::SaveDC(dc);
        for (TControl* c : FControls)
            if (c->Visible() && c->ControlStyle().Contains(csOpaque))
                gfx::ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(),
                                     c->Top() + c->Height());
        gfx::FillRect(dc, ClientRect(), FBrush.Handle());
        gfx::RestoreDC(dc, saved);
    }
    m.Result = 1;
}

void TWinControl::KeyDown(int& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(int& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::WmKeyDown(TMessage& m, bool down) {
    int key = int(m.WParam);
    const TShiftState shift = KeyDataToShiftState(m.LParam);
    if (down)
        KeyDown(key, shift);
    else
        KeyUp(key, shift);
    if (key == 0) return;
    m.WParam = WPARAM(key);
    DefaultHandler(m);
}

void TWinControl::WmChar(TMessage& m) {
    char32_t ch = char32_t(m.WParam);
    KeyPress(ch);
    if (ch == 0) return;
    m.WParam = WPARAM(ch);
    DefaultHandler(m);
}

namespace {

bool IsArrow(int key) {
    return key == win::VK_LEFT || key == win::VK_RIGHT || key == win::VK_UP || key == win::VK_DOWN;
}

}  // namespace

void TWinControl::CnKeyDown(TMessage& m) {
    using namespace win;
    m.Result = 1;
    TCustomForm* form = GetParentForm(this);
    int key = int(m.WParam);
    const TShiftState shift = KeyDataToShiftState(m.LParam);
    if (form && form != this && form->KeyPreview()) {
        int previewed = key;
        form->KeyDown(previewed, shift);
        if (previewed == 0) return;
        key = previewed;
        m.WParam = WPARAM(key);
    }
    TWMKey k = TWMKey::From(m);
    k.Msg = m.Msg - CN_BASE;
    for (TControl* c = this; c; c = c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(k)) return;
    if (form && form->IsShortCut(k)) return;
    if (form) {
        UINT mask = 0;
        if (key == VK_TAB)
            mask = DLGC_WANTTAB;
        else if (IsArrow(key))
            mask = DLGC_WANTARROWS;
        else if (key == VK_RETURN || key == VK_ESCAPE || key == VK_EXECUTE || key == VK_CANCEL)
            mask = DLGC_WANTALLKEYS;
        if (mask && Perform(CM_WANTSPECIALKEY, WPARAM(key), m.LParam) == 0 &&
            (Perform(WM_GETDLGCODE) & mask) == 0) {
            const bool plain = !shift.Contains(ssAlt) && !shift.Contains(ssCtrl);
            if (key == VK_TAB && plain) {
                form->SelectNext(form->ActiveControl() ? form->ActiveControl() : this,
                                 !shift.Contains(ssShift), true);
                return;
            }
            if (IsArrow(key) && plain && Parent()) {
                const bool forward = key == VK_RIGHT || key == VK_DOWN;
                if (TWinControl* next = Parent()->FindNextControl(this, forward, false, true)) {
                    next->SetFocus();
                    return;
                }
            }
            if (form->Perform(CM_DIALOGKEY, WPARAM(key), m.LParam) != 0) return;
        }
    }
    m.Result = 0;
}

void TWinControl::CnChar(TMessage& m) {
    m.Result = 1;
    TCustomForm* form = GetParentForm(this);
    if (form) {
        const bool dialogChar =
            m.Msg == CN_SYSCHAR || (Perform(win::WM_GETDLGCODE) & win::DLGC_WANTCHARS) == 0;
        if (dialogChar && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
    }
    m.Result = 0;
}

void TWinControl::ReflectNotification(TMessage& m) {
    using namespace win;
    HWND child;
    switch (m.Msg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            child = ParamToHwnd(std::uint64_t(m.LParam));
            break;
        default:
            // WM_DRAWITEM, WM_MEASUREITEM and WM_NOTIFY name the child as the window in wParam.
            child = ParamToHwnd(m.WParam);
            break;
    }
    TWinControl* control = FindControl(child);
    if (control && control != this) {
        m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::WmSetCursor(TMessage& m) {
    if (win::LOWORD(std::uint64_t(m.LParam)) == win::HTCLIENT &&
        win::ParamToHwnd(m.WParam) == FHandle) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
            TPoint p;
            win::GetCursorPos(p);
            TControl* c = ControlAtPos(ScreenToClient(p), false);
            cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
        }
        if (cursor != crDefault) {
            win::SetCursor(CursorToHandle(cursor));
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* target = nullptr;
    TControl* capture = GetCaptureControl();
    if (capture && capture != this && capture->Parent() == this)
        target = capture;
    else if (capture != this)
        target = ControlAtPos(win::PointFromParam(m.LParam), false);
    if (!target) return false;
    TMessage forwarded = m;
    const TPoint p = win::PointFromParam(m.LParam);
    forwarded.LParam = win::MAKELPARAM(p.X - target->Left(), p.Y - target->Top());
    if (!target->ControlStyle().Contains(csDoubleClicks) &&
        (m.Msg == win::WM_LBUTTONDBLCLK || m.Msg == win::WM_RBUTTONDBLCLK ||
         m.Msg == win::WM_MBUTTONDBLCLK))
        forwarded.Msg -= 2;  // a press for a control that does not want double clicks
    target->WindowProc ? target->WindowProc(forwarded) : target->WndProc(forwarded);
    m.Result = forwarded.Result;
    return true;
}

void TWinControl::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_MOUSEENTER:
            if (Application) Application->HoverWindow(this, true);
            break;
        case WM_MOUSELEAVE:
            if (Application) Application->HoverWindow(this, false);
            break;
        default:
            if (IsClientMouseMessage(m.Msg)) {
                if (Application) Application->MouseMessage(nullptr, m);
                if (IsControlMouseMsg(m)) return;
            }
    }
    TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_PAINT:
            WmPaint(m);
            return;
        case WM_ERASEBKGND:
            WmEraseBkgnd(m);
            return;
        case WM_WINDOWPOSCHANGED:
            UpdateBounds();
            DefaultHandler(m);
            return;
        case WM_MOVE:
            UpdateBounds();
            DefaultHandler(m);
            return;
        case WM_SIZE:
            UpdateBounds();
            DefaultHandler(m);
            Realign();
            if (!ComponentState().Contains(csLoading)) Resize();
            return;
        case WM_SETTEXT:
            DefaultHandler(m);
            FText = m.LParam ? ParamToPtr<const char>(std::uint64_t(m.LParam)) : "";
            return;
        case WM_SETFOCUS:
            if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
            DefaultHandler(m);
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            WmKeyDown(m, true);
            return;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            WmKeyDown(m, false);
            return;
        case WM_CHAR:
            WmChar(m);
            return;
        case CN_KEYDOWN:
        case CN_SYSKEYDOWN:
            CnKeyDown(m);
            return;
        case CN_CHAR:
        case CN_SYSCHAR:
            CnChar(m);
            return;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            SendCancelMode(this);
            DefaultHandler(m);
            return;
        case WM_SETCURSOR:
            WmSetCursor(m);
            return;
        case WM_CAPTURECHANGED:
            if (GCaptureControl && (GCaptureControl == this || GCaptureControl->Parent() == this) &&
                ParamToHwnd(std::uint64_t(m.LParam)) != FHandle)
                GCaptureControl = nullptr;
            DefaultHandler(m);
            return;
        case WM_NCDESTROY:
            DefaultHandler(m);
            WindowGone();
            return;
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_NOTIFY:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            ReflectNotification(m);
            return;
        case CM_INVALIDATE:
            if (FHandle) win::InvalidateRect(FHandle, nullptr, !ControlStyle().Contains(csOpaque));
            return;
        case CM_VISIBLECHANGED:
            UpdateShowing();
            return;
        case CM_ENABLEDCHANGED:
            if (FHandle) win::EnableWindow(FHandle, Enabled());
            Invalidate();
            return;
        case CM_COLORCHANGED: {
            FBrush.SetColor(Color());
            Invalidate();
            TMessage notice{CM_PARENTCOLORCHANGED, 0, 0, 0};
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(notice.Msg);
            return;
        }
        case CM_FONTCHANGED:
            Invalidate();
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED);
            return;
        case CM_SHOWHINTCHANGED:
            for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTSHOWHINTCHANGED);
            return;
        case CM_FOCUSCHANGED: {
            // Every control of the form hears it, windowless ones too.
            const std::vector<TControl*> all = [&] {
                std::vector<TControl*> v(FControls.begin(), FControls.end());
                v.insert(v.end(), FWinControls.begin(), FWinControls.end());
                return v;
            }();
            for (TControl* c : all)
                if (c->Parent() == this) c->Perform(m.Msg, m.WParam, m.LParam);
            return;
        }
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            Broadcast(m);
            return;
        case CM_ENTER:
            DoEnter();
            return;
        case CM_EXIT:
            DoExit();
            return;
        case CM_WANTSPECIALKEY:
            m.Result = 0;
            return;
        case CM_RECREATEWND:
            RecreateWnd();
            return;
        default:
            TControl::Dispatch(m);
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    m.Result = FHandle ? win::DefWindowProc(FHandle, m.Msg, m.WParam, m.LParam) : 0;
}

// ---- TCustomControl and TGraphicControl
// -----------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
    FCanvas->PaintOn(DC, [this] { Paint(); });
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& m) {
    if (m.Msg == win::WM_PAINT && m.WParam) {
        FCanvas->PaintOn(win::ParamToDc(m.WParam), [this] { Paint(); });
        return;
    }
    TControl::Dispatch(m);
}

// ---- free functions
// --------------------------------------------------------------------------------

TCustomForm* GetParentForm(const TControl* control) {
    if (!control) return nullptr;
    const TControl* top = control;
    while (top->Parent()) top = top->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

TControl* GetCaptureControl() {
    const HWND capture = win::GetCapture();
    if (!capture) {
        GCaptureControl = nullptr;
        return nullptr;
    }
    TWinControl* owner = FindControl(capture);
    if (GCaptureControl && owner && GCaptureControl->Parent() == owner) return GCaptureControl;
    return owner;
}

void SetCaptureControl(TControl* control) {
    if (!control) {
        if (GCaptureControl || win::GetCapture()) {
            GCaptureControl = nullptr;
            win::ReleaseCapture();
        }
        return;
    }
    control->SetMouseCapture(true);
}

}  // namespace vcl
