// Forms and the application: TCustomForm/TForm (a top-level window, or a child when parented,
// an MDI form or child; focus handling for all of its controls, modal showing, closing),
// TApplication (main form, message loop with the key and hint handling, exceptions, the hidden
// application window, hints, the plain message box), TScreen (forms, active form and control,
// size, cursor) and THintWindow.
//
// Every queued message of every loop (the main loop, ShowModal, message boxes) passes
// TApplication's filter: OnMessage, hint cancelling, then for keys the form's KeyPreview,
// OnShortCut and menu shortcuts, Tab and arrow navigation, dialog keys, and only then
// translation and dispatch. Sent messages never pass it. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/icons.h"
#include "platform/vcl/controls.h"
#include "platform/win/win.h"

namespace vcl {

class TMainMenu;
class TMenuItem;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

// Modal results 0..11; they equal the message box answers where both exist.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;
inline constexpr TModalResult mrClose = 11;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

class TCustomForm : public TWinControl {
public:
    // A form without loading (the classic CreateNew); a form class built in code wraps its
    // construction in BeginLoading/EndLoading.
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void BeforeDestruction() override;
    // Loaded on each component, then on the form, then OnCreate.
    void EndLoading() override;

    // --- Focus -------------------------------------------------------------------------------
    TWinControl* ActiveControl() const { return FActiveControl; }
    // Raises "Cannot focus a disabled or invisible window" when the form is showing and the
    // control can't take the focus.
    void SetActiveControl(TWinControl* control);
    // Makes the control the active one and gives it the focus when the form is showing.
    void FocusControl(TWinControl* control);
    // The focus went to `control` (WM_SETFOCUS): CM_EXIT to the controls it left, innermost
    // first, CM_FOCUSCHANGED to every control, CM_ENTER to the controls it entered, outermost
    // first.
    void SetFocusedControl(TWinControl* control);
    // A control goes away or can no longer be active.
    void DefocusControl(TWinControl* control, bool removing);
    bool Active() const { return FActive; }

    // --- Frame and placement -------------------------------------------------------------------
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    // Its shortcuts only: no menu bar is drawn.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value);
    gfx::TIcon& Icon() { return FIcon; }
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value) { FAutoScroll = value; }
    gfx::TCanvas& Canvas() { return *FCanvas; }

    // --- Showing and closing ------------------------------------------------------------------
    void SetVisible(bool value) override;
    // Visible, and an MDI child becomes its MDI form's active child.
    void Show();
    TFormState FormState() const { return FFormState; }
    TModalResult ModalResult() const { return FModalResult; }
    // A value other than 0 ends ShowModal (after OnCloseQuery and OnClose agree).
    void SetModalResult(TModalResult value);
    // Raises EInvalidOperation "Cannot make a visible window modal" for a form that is visible,
    // disabled, already modal or an MDI child.
    virtual TModalResult ShowModal();
    // OnCloseQuery, then OnClose with the action (hide; an MDI child minimizes; the main form
    // ends the application). A modal form just gets mrCancel.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the message being handled is done (a posted free).
    void Release();
    // OnShortCut, then the main menu's shortcuts.
    virtual bool IsShortCut(TWMKey& Message);

    // --- MDI ---------------------------------------------------------------------------------
    // The client window of an MDI form: a child window the MDI children live in, which the
    // program may subclass. Null for other forms.
    HWND ClientHandle() const { return FClientHandle; }
    int MDIChildCount() const { return int(FMDIChildren.size()); }
    // The most recently active first.
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;
    TMenuItem* WindowMenu() const { return FWindowMenu; }
    void SetWindowMenu(TMenuItem* value) { FWindowMenu = value; }
    // Brings an MDI child to the top of its MDI form and gives it the focus.
    void MDIActivate(TCustomForm* child);

    TRect ClientRect() const override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void PaintWindow(HDC DC) override;
    virtual void Paint();
    virtual void Activate();
    virtual void Deactivate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoClose(TCloseAction& Action);

private:
    friend class TApplication;
    friend class TWinControl;

    void ShowingChanged();
    void PlaceOnFirstShow();
    void WmActivate(TMessage& m);
    void CloseModal();
    bool IsMDIChild() const { return FFormStyle == fsMDIChild; }
    TCustomForm* MDIParentForm() const;
    void MDIChildGone(TCustomForm* child);
    TWinControl* FocusTarget() const;

    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FActive = false;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TMainMenu* FMenu = nullptr;
    gfx::TIcon FIcon;
    bool FAutoScroll = false;
    std::unique_ptr<TControlCanvas> FCanvas;
    TFormState FFormState;
    TModalResult FModalResult = mrNone;
    bool FPlaced = false;
    bool FReleasePending = false;  // a Release that waits for ShowModal to finish
    HWND FClientHandle;
    std::vector<TCustomForm*> FMDIChildren;  // most recently active first
    TCustomForm* FActiveMDIChild = nullptr;
    TCustomForm* FMDIParent = nullptr;  // the MDI form of an MDI child
    // Forms whose windows this form's window owns, taken down while it is made again.
    std::vector<std::pair<TCustomForm*, bool>> FOwnedWhileRecreating;
    TMenuItem* FWindowMenu = nullptr;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    static TForm* CreateNew(TComponent* AOwner) { return new TForm(AOwner); }
};

// --- Hints ---------------------------------------------------------------------------------------

// A tool tip: a top-level popup shown without activation.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    // Shows AHint with its window at Rect (screen coordinates), on top, without activating.
    virtual void ActivateHint(TRect Rect, const std::string& AHint);
    virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData);
    // The rectangle (at 0, 0) the hint needs: the text wrapped at MaxWidth with a margin.
    virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
    // Hides the window and lets it go.
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
};

// What makes the application's hint window; HintWindowClassOf<T>() for a class.
using THintWindowClass = std::function<THintWindow*(TComponent* Owner)>;
template <class T>
THintWindowClass HintWindowClassOf() {
    return [](TComponent* owner) -> THintWindow* { return new T(owner); };
}
extern THintWindowClass HintWindowClass;

struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass;
    TPoint HintPos;  // screen
    int HintMaxWidth = 0;
    TColor HintColor = gfx::clInfoBk;
    TRect CursorRect;  // the hint control's client coordinates
    TPoint CursorPos;  // the hint control's client coordinates
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};

using TShowHintEvent =
    std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TMessageEvent = std::function<void(win::MSG& Msg, bool& Handled)>;

// --- Application ---------------------------------------------------------------------------------

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    void BeforeDestruction() override;

    // The hidden application window; other code may subclass it.
    HWND Handle() const { return FHandle; }
    // The first form made with CreateForm.
    TCustomForm* MainForm() const { return FMainForm; }
    template <class T>
    void CreateForm(T*& Reference) {
        T* form = new T(this);
        Reference = form;
        FormCreated(form);
    }
    // Shows the main form (when ShowMainForm) and runs the loop until Terminate.
    void Run();
    // Runs the messages pending now.
    void ProcessMessages();
    // Waits for one message and runs it.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    void Minimize();
    void Restore();

    bool ShowMainForm = true;
    std::string Title;
    std::string HelpFile;

    // --- Hints -------------------------------------------------------------------------------
    bool ShowHint() const { return FShowHint; }
    // Turning hints on makes the hint window from HintWindowClass; off frees it.
    void SetShowHint(bool value);
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    THintWindow* HintWindow() const { return FHintWindow; }
    // The control whose hint is pending or shown.
    TControl* HintControl() const { return FHintControl; }
    void CancelHint();
    // Shows the hint of the control under the cursor now.
    void ActivateHint(TPoint CursorPos);

    // --- Errors and the message box ---------------------------------------------------------
    // Shows the exception being handled in the plain message box; the loop goes on.
    void HandleException(TObject* Sender);
    void ShowException(const std::string& message);
    // The plain message box: MB_* buttons, icon and default button; returns the ID* answer.
    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags = win::MB_OK);

    TMessageEvent OnMessage;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

    // --- For the library -------------------------------------------------------------------------
    // A control saw a mouse message: hover and hint tracking.
    void MouseMessage(TControl* control, const TMessage& Message);
    void HoverWindow(TWinControl* control, bool entered);
    void ControlGone(TControl* control);
    TControl* MouseControl() const { return FMouseControl; }

private:
    friend class TCustomForm;
    friend LRESULT ApplicationWindowProc(HWND, UINT, WPARAM, LPARAM);
    void FormCreated(TCustomForm* form);
    bool Filter(win::MSG& msg);
    bool IsKeyMsg(win::MSG& msg);
    void IsHintMsg(const win::MSG& msg);
    void UpdateMouseControl();
    void HintTimerExpired(int which);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void HintRestart(TControl* control);

    HWND FHandle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FShowHint = false;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    bool FHintActive = false;    // the hint window shows a hint
    bool FHintRecently = false;  // a hint showed: the next one comes after HintShortPause
    TControl* FMouseControl = nullptr;
    TWinControl* FHoverWindow = nullptr;
    win::TFilterToken FFilter = 0;
};

// --- Screen --------------------------------------------------------------------------------------

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);

    // Every form, parented ones included, the most recently active first.
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int index) const;
    int CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int index) const { return Forms(index); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    TRect DesktopRect() const;
    // Not crDefault: this shape everywhere in the application.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    friend class TCustomForm;
    friend class TApplication;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void FormActivated(TCustomForm* form);
    void SetActiveControl(TWinControl* control);

    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

// Makes Application and Screen (after the window layer started); FinalizeApplication frees
// them with every form the application owns.
void InitializeApplication();
void FinalizeApplication();

}  // namespace vcl
