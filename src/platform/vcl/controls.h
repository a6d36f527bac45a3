// Controls: TControl (bounds, alignment, anchors, constraints, visibility, mouse, messages),
// TWinControl (a window of the window layer made on demand, children, tab order, focus, keys,
// painting of its windowless children), TCustomControl (a windowed control that paints itself
// on a canvas; without a parent a top-level popup) and TGraphicControl (windowless, painted by
// its parent and fed its mouse through it).
//
// Every message a control handles travels WindowProc -> WndProc -> Dispatch: WindowProc can be
// replaced (a skin hooks a form that way), WndProc does the routing every message needs, and
// Dispatch picks the handler by message number, falling back to DefaultHandler (the window
// layer's default procedure for a windowed control). A subclass handles a message by overriding
// Dispatch and calling the base class's Dispatch for "the inherited handling".
//
// Main thread only. A handler may free the control it runs on only through TCustomForm::Release.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/gfx/dc.h"
#include "platform/vcl/classes.h"
#include "platform/vcl/messages.h"

namespace vcl {

using gfx::HDC;
using gfx::TColor;
using gfx::TPoint;
using gfx::TRect;
using gfx::TSize;

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,  // a press captures the mouse until the button goes up
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,  // paints every pixel: nothing of the parent needs painting under it
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoStdEvents,
    csReplicatable,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
};
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Cursor shapes; crDefault leaves the choice to the parent or the window class.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crSizeAll = -22;
// The window layer's cursor for a shape; 0 for crDefault and crNone.
win::HCURSOR CursorToHandle(TCursor cursor);

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, int& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Smallest and largest size of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
public:
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int value);
    void SetMinHeight(int value);
    void SetMaxWidth(int value);
    void SetMaxHeight(int value);
    // Clamps a size to the limits.
    void Apply(int& width, int& height) const;

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Changed();
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// A canvas over a control: during painting it draws into the DC of the paint; otherwise it gets
// a DC of the control (a windowless one through its parent, moved and clipped to the control)
// when a drawing call needs one, and gives it back when the message being handled is done.
class TControlCanvas : public gfx::TCanvas {
public:
    explicit TControlCanvas(class TControl* control) : FControl(control) {}
    ~TControlCanvas() override;
    // Gives back a DC this canvas made itself.
    void FreeHandle();
    // Gives back the DCs of every control canvas (at the end of each message).
    static void FreeDeviceContexts();

protected:
    void CreateHandle() override;

private:
    class TControl* FControl;
    HDC FOwnDC = nullptr;
    HWND FOwnWindow;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    void BeforeDestruction() override;

    // --- Parent and geometry ---------------------------------------------------------------
    TWinControl* Parent() const { return FParent; }
    // Moves the control to another parent (or none) at run time.
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const { return FParent != nullptr; }

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Every change of the bounds comes here (properties, alignment, anchors, auto size).
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return gfx::Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

    // (0, 0, client width, client height).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    // The screen point of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints& Constraints() { return FConstraints; }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool value);
    // The size the control would like; true when it has one.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    // Takes the auto size now (when AutoSize is on).
    virtual void AdjustSize();

    // --- State -------------------------------------------------------------------------------
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible with all its parents (a windowed control: its window is visible).
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    const std::string& Caption() const { return Text(); }
    void SetCaption(const std::string& value) { SetText(value); }
    virtual const std::string& Text() const { return FText; }
    virtual void SetText(const std::string& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    gfx::TFont& Font() { return FFont; }
    void SetFont(const gfx::TFont& value) { FFont.Assign(value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }
    // A windowed control holds the window layer's capture; a windowless one holds it through
    // its parent.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // --- Messages ------------------------------------------------------------------------------
    // Replaceable; WndProc by default. Keep the old value to pass messages on.
    TWndMethod WindowProc;
    // Sends a message through WindowProc (windowless controls too) and returns its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // --- Painting and order ------------------------------------------------------------------
    // Performs CM_INVALIDATE; a windowless control invalidates its place on the parent (erasing
    // the background unless it is csOpaque).
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Runs OnClick, whatever the control's state.
    virtual void Click();
    virtual void DblClick();

    // --- Events ----------------------------------------------------------------------------------
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TContextPopupEvent OnContextPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // OnContextPopup; Handled stops the popup menu.
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void Resize();
    // Asks the parent to lay out its aligned and anchored controls again.
    virtual void RequestAlign();
    // Sends CM_CANCELMODE, naming Sender, to the active control of this control's form.
    void SendCancelMode(TControl* Sender);
    // Records the anchor distances from the current bounds and parent size.
    void UpdateAnchorRules();
    bool FromAlignment() const { return FAnchorMove; }

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TControlCanvas;

    void HandleMouseDown(TMessage& m, TMouseButton button, TShiftState extra);
    void HandleMouseUp(TMessage& m, TMouseButton button);
    void HandleContextMenu(TMessage& m);
    void DoParentFontChanged();
    void DoParentColorChanged();
    bool IsVisibleInParent() const;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints FConstraints;
    bool FAutoSize = false;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FText;
    TColor FColor = gfx::clBtnFace;
    bool FParentColor = false;
    gfx::TFont FFont;
    bool FParentFont = true;
    bool FSettingParentFont = false;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TCursor FCursor = crDefault;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    // Anchors: the bounds and parent client size when the control was last placed by hand.
    TRect FAnchorBounds;
    TSize FAnchorParentSize;
    bool FAnchorsValid = false;
    bool FAnchorMove = false;  // bounds set by alignment or anchoring
};

// What CreateWnd makes a window from; CreateParams fills it.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent;
    void* Param = nullptr;
    struct {
        UINT style = 0;
        win::HCURSOR hCursor = win::IDC_ARROW;
    } WindowClass;
    // The window class; ClassName() unless CreateParams says otherwise.
    std::string WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    // --- Window ------------------------------------------------------------------------------
    // Makes the window (and its parent's) when there is none yet.
    HWND Handle();
    bool HandleAllocated() const { return bool(FHandle); }
    void HandleNeeded();
    // Destroys the window and makes a new one from the control's properties (text, bounds,
    // visibility, enabled state, children).
    void RecreateWnd();
    virtual void CreateHandle();
    virtual void DestroyHandle();
    bool Showing() const override;

    // --- Children ------------------------------------------------------------------------------
    int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
    // Windowless children first, then windowed ones, each in insertion order.
    TControl* Controls(int index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    // The control itself or one of its descendants.
    bool ContainsControl(const TControl* control) const;
    // The visible child under a client point, the last added first.
    TControl* ControlAtPos(TPoint pos, bool AllowDisabled, bool AllowWinControls = false) const;
    // Performs the message on every child until one answers (Result not 0).
    void Broadcast(TMessage& Message);
    void DisableAlign();
    void EnableAlign();
    void Realign();
    // Moves the children and the window's content.
    void ScrollBy(int DeltaX, int DeltaY);

    // --- Focus and keys ------------------------------------------------------------------------
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    // Visible and enabled with all its parents, wherever it lies.
    virtual bool CanFocus() const;
    bool Focused() const;
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when CanFocus is
    // false.
    virtual void SetFocus();
    // Windowed descendants in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    gfx::TBrush& Brush() { return FBrush; }

    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void SetParent(TWinControl* AParent) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void Loaded() override;

    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    // Lays out the aligned children in Rect (the adjusted client rectangle) and moves the
    // anchored ones; AControl is the child that asked, if any.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    // Paints the control itself into DC (nothing in the base).
    virtual void PaintWindow(HDC DC);
    // Paints the windowless children, from First (all when null), each moved and clipped.
    void PaintControls(HDC DC, TControl* First);
    // The whole paint: the control (without what opaque windowless children cover), then the
    // windowless children, then the picture of a video host on the window.
    void PaintHandler(HDC DC);

    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual void KeyPress(char32_t& Key);
    virtual void DoEnter();
    virtual void DoExit();
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;

    // The window is gone (WM_NCDESTROY): the control forgets it.
    void WindowGone();

private:
    friend class TControl;
    friend class TCustomForm;
    friend class TControlCanvas;
    friend LRESULT ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam);

    void AlignControl(TControl* AControl);
    void DoAlign(TAlign kind, TControl* AControl, TRect& Rect);
    void ApplyAnchors(TControl* control);
    void UpdateBounds();
    void WmPaint(TMessage& m);
    void WmEraseBkgnd(TMessage& m);
    void WmKeyDown(TMessage& m, bool down);
    void WmChar(TMessage& m);
    void CnKeyDown(TMessage& m);
    void CnChar(TMessage& m);
    bool IsControlMouseMsg(TMessage& m);
    void ReflectNotification(TMessage& m);
    void WmSetCursor(TMessage& m);
    void CreateChildHandles();
    void UpdateShowing();

    HWND FHandle;
    std::vector<TControl*> FControls;        // windowless children
    std::vector<TWinControl*> FWinControls;  // windowed children, in creation order
    std::vector<TWinControl*> FTabList;
    gfx::TBrush FBrush;
    bool FTabStop = false;
    int FAlignLevel = 0;
    bool FAligning = false;
    bool FRecreating = false;
};

// A windowed control that paints itself: Paint draws on Canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    gfx::TCanvas& Canvas() { return *FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// A windowless control: its parent paints it (in list order, also into a DC that WM_PAINT
// carries) and passes it the mouse, capturing for it.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    gfx::TCanvas& Canvas() { return *FCanvas; }
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// The control of a window made by this library; null for any other window.
TWinControl* FindControl(HWND window);
// The outermost parent when it is a form, else null.
TCustomForm* GetParentForm(const TControl* control);
// The windowless control that holds the mouse capture through its parent, or the windowed
// control whose window holds it.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

}  // namespace vcl
