#include "skin/form/skin_form.h"

#include <algorithm>

#include "platform/win/win.h"
#include "skin/controls/skin_control.h"
#include "skin/core/system_routines.h"
#include "skin/form/form_layer_border.h"
#include "skin/menus/skin_hint.h"

namespace skin {

namespace {

vcl::TComponent* FormOwner(vcl::TComponent* owner) {
    if (!dynamic_cast<vcl::TCustomForm*>(owner)) throw EInvalidCast("Invalid class typecast");
    return owner;
}

// The later frame classes are known here only by name; a component that goes away is compared
// by address (they are single-inheritance components).
bool Same(const vcl::TComponent* a, const void* b) {
    return b && static_cast<const void*>(a) == b;
}

struct THintText {
    TbsStdCommand Command;
    const char* Key;
    const char* Text;
};
constexpr THintText kObjectHints[] = {
    {cmClose, "CLOSEBUTTON_HINT", "Close"},
    {cmMaximize, "MAXBUTTON_HINT", "Maximize"},
    {cmMinimize, "MINBUTTON_HINT", "Minimize"},
    {cmSysMenu, "MENUBUTTON_HINT", "System menu"},
    {cmRollUp, "ROLLUPBUTTON_HINT", "Roll Up"},
    {cmMinimizeToTray, "TRAYBUTTON_HINT", "Minimize to Tray"},
};

}  // namespace

gfx::TSize GetSmallIconSize() {
    int cx = win::GetSystemMetrics(win::SM_CXSMICON);
    int cy = win::GetSystemMetrics(win::SM_CYSMICON);
    if (cx == 0) cx = win::GetSystemMetrics(win::SM_CXSIZE);
    if (cy == 0) cy = win::GetSystemMetrics(win::SM_CYSIZE);
    return {cx, cy};
}

// --- construction -----------------------------------------------------------------------------

TbsSkinForm::TbsSkinForm(vcl::TComponent* AOwner) : vcl::TComponent(FormOwner(AOwner)) {
    FForm = static_cast<vcl::TCustomForm*>(AOwner);
    FLayerManager = new TbsLayerManager(this);
    FMenuLayerManager = new TbsLayerManager(this);
    FBorderLayer = new TbsFormLayerBorder(this);
    FIsLayerEnabled = OsIsW2kUp();
    FIsVistaOs = OsIsVistaUp();

    auto makeTimer = [this](unsigned interval, void (TbsSkinForm::*proc)()) {
        auto* timer = new vcl::TTimer(this);
        timer->SetEnabled(false);
        timer->SetInterval(interval);
        timer->SetOnTimer([this, proc](vcl::TObject*) { (this->*proc)(); });
        return timer;
    };
    MouseTimer = makeTimer(50, &TbsSkinForm::MouseTimerProc);
    MorphTimer = makeTimer(25, &TbsSkinForm::MorphTimerProc);
    AnimateTimer = makeTimer(25, &TbsSkinForm::AnimateTimerProc);

    for (gfx::TFont* font : {&FDefCaptionFont, &FDefInActiveCaptionFont}) {
        font->SetName("Arial");
        font->SetHeight(14);
        font->SetStyle(gfx::fsBold);
    }
    FDefCaptionFont.SetColor(gfx::clBtnText);
    FDefInActiveCaptionFont.SetColor(gfx::clBtnShadow);

    FForm->SetBorderIcons({});
    FForm->SetAutoSize(false);
    FForm->SetAutoScroll(false);
    FForm->OnShortCut = [this](vcl::TWMKey& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
    FSysMenu = new vcl::TPopupMenu(this);
    FSysTrayMenu = new TbsSkinPopupMenu(this);
    FSysTrayMenu->ComponentForm = FForm;
    CreateSysTrayMenu();
    SkinMenu = new TbsSkinMenu(this, FForm);
    SetSkinMenuHostLookup(
        [](vcl::TCustomForm* form) -> TbsSkinMenuHost* { return GetSkinFormComponent(form); });
    SetMainMenuBarHostLookup(
        [](vcl::TCustomForm* form) -> TbsMainMenuBarHost* { return GetSkinFormComponent(form); });

    if (!Designing()) {
        OldWindowProc = FForm->WindowProc;
        FForm->WindowProc = [this](vcl::TMessage& m) { NewWindowProc(m); };
        if (FForm->HandleAllocated()) {
            // The window is made again so its creation messages pass the new procedure.
            FForm->RecreateWnd();
            const bool mdi =
                FForm->FormStyle() == vcl::fsMDIForm || FForm->FormStyle() == vcl::fsMDIChild;
            if (mdi && !FIsVistaOs) {
                win::HWND wnd = FForm->Handle();
                win::SetWindowLongPtr(
                    wnd, win::GWL_STYLE,
                    win::GetWindowLongPtr(wnd, win::GWL_STYLE) & ~std::intptr_t(win::WS_CAPTION));
            }
        }
    }
}

TbsSkinForm::~TbsSkinForm() = default;

void TbsSkinForm::BeforeDestruction() {
    UnHookApp();
    ObjectList.clear();
    // The form still exists here even when it is the one being freed.
    if (!Designing() && FForm) FForm->WindowProc = OldWindowProc;
    if (FForm) FForm->OnShortCut = nullptr;
    FRgn.reset();
    vcl::TComponent::BeforeDestruction();
}

bool TbsSkinForm::Designing() const {
    return ComponentState().Contains(vcl::csDesigning);
}

bool TbsSkinForm::HasSkin() const {
    return FSD && !FSD->Empty;
}

bool TbsSkinForm::FormHandle(win::HWND& wnd) const {
    if (!FForm || !FForm->HandleAllocated()) return false;
    wnd = FForm->Handle();
    return true;
}

void TbsSkinForm::NCPaint() {
    win::HWND wnd;
    if (FormHandle(wnd)) win::SendMessage(wnd, win::WM_NCPAINT, 0, 0);
}

bool TbsSkinForm::MaximizedMDIChild() const {
    return FForm->FormStyle() == vcl::fsMDIChild && FWindowState == vcl::wsMaximized;
}

void TbsSkinForm::ForceFormResize() {
    // A size change and back: the frame is rebuilt even when the size stays.
    const int w = FForm->Width();
    if (w - 1 < GetMinWidth()) {
        FForm->SetWidth(w + 1);
    } else {
        FForm->SetWidth(w - 1);
    }
    FForm->SetWidth(w);
}

void TbsSkinForm::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) {
        // The objects point into the skin's pictures and records: they go with it, so no
        // timer tick or repaint ever reads a freed skin.
        FSD = nullptr;
        ClearObjects();
        FSkinSupport = false;
        MorphTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
    }
    if (AComponent == FMSD) FMSD = nullptr;
    if (AComponent == FMainMenu) FMainMenu = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (Same(AComponent, FMainMenuBar)) FMainMenuBar = nullptr;
    if (Same(AComponent, FMDITabsBar)) FMDITabsBar = nullptr;
    if (Same(AComponent, FTrayIcon)) FTrayIcon = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (Same(AComponent, FStatusBar)) FStatusBar = nullptr;
    if (AComponent == FQuickImageList) FQuickImageList = nullptr;
}

// --- properties -------------------------------------------------------------------------------

void TbsSkinForm::SetSkinData(TbsSkinData* value) {
    FSD = value;
    if (value) {
        // A skin data on another form tells us when it goes.
        value->FreeNotification(this);
        if (FForm->FormStyle() != vcl::fsMDIChild) FSkinnableForm = value->SkinnableForm();
    }
    if (!Designing()) ChangeSkinData();
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* value) {
    FMSD = value;
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons value) {
    FBorderIcons = value;
    const auto state = ComponentState();
    if (state.Contains(vcl::csDesigning) || state.Contains(vcl::csLoading)) return;
    UpdateCaptionButtons();
    NCPaint();
}

void TbsSkinForm::SetShowIcon(bool value) {
    FShowIcon = value;
    const auto state = ComponentState();
    if (!state.Contains(vcl::csDesigning) && !state.Contains(vcl::csLoading)) NCPaint();
}

void TbsSkinForm::ApplyAlpha() {
    win::HWND wnd;
    if (!FormHandle(wnd)) return;
    auto ex = win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE);
    if (FAlphaBlend) {
        if (!(ex & win::WS_EX_LAYERED))
            win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE, ex | win::WS_EX_LAYERED);
        ApplyWindowAlpha(wnd, FAlphaBlendValue);
    } else if (ex & win::WS_EX_LAYERED) {
        win::SetWindowLongPtr(wnd, win::GWL_EXSTYLE, ex & ~std::intptr_t(win::WS_EX_LAYERED));
    }
}

void TbsSkinForm::SetAlphaBlend(bool value) {
    if (FAlphaBlend == value) return;
    FAlphaBlend = value;
    if (!ComponentState().Empty() || !FIsLayerEnabled) return;
    ApplyAlpha();
}

void TbsSkinForm::SetAlphaBlendValue(std::uint8_t value) {
    if (FAlphaBlendValue == value) return;
    FAlphaBlendValue = value;
    win::HWND wnd;
    if (FAlphaBlend && ComponentState().Empty() && FIsLayerEnabled && FormHandle(wnd))
        ApplyWindowAlpha(wnd, FAlphaBlendValue);
}

void TbsSkinForm::SetUseRibbon(bool value) {
    FUseRibbon = value;
    if (value && !Designing()) SetSkinnableForm(false);
}

void TbsSkinForm::SetMaxMenuItemsInWindow(int value) {
    if (value < 0) return;
    // The menu controller takes its copy when it is made.
    FMaxMenuItemsInWindow = value;
}

void TbsSkinForm::SetDefCaptionFont(const gfx::TFont& value) {
    FDefCaptionFont.Assign(value);
    const auto state = ComponentState();
    if (!state.Contains(vcl::csDesigning) && !state.Contains(vcl::csLoading) && !FSkinSupport)
        NCPaint();
}

void TbsSkinForm::SetDefInActiveCaptionFont(const gfx::TFont& value) {
    FDefInActiveCaptionFont.Assign(value);
    const auto state = ComponentState();
    if (!state.Contains(vcl::csDesigning) && !state.Contains(vcl::csLoading) && !FSkinSupport)
        NCPaint();
}

void TbsSkinForm::SetSkinHint(TbsSkinHint* value) {
    FSkinHint = value;
    // The hint usually sits on the main form: it tells us when it goes.
    if (value) value->FreeNotification(this);
}

void TbsSkinForm::SetFormStyle(vcl::TFormStyle FS) {
    if (FS != vcl::fsNormal && FS != vcl::fsStayOnTop) return;
    FForm->SetFormStyle(FS);
    ChangeControlsSkinData(nullptr, FForm);
}

void TbsSkinForm::SetFormBorderStyle(vcl::TFormBorderStyle BS) {
    FForm->SetBorderStyle(BS);
    ChangeControlsSkinData(nullptr, FForm);
}

bool TbsSkinForm::GetFormActive() const {
    if (PreviewMode) return true;
    const auto style = FForm->FormStyle();
    if (style == vcl::fsMDIForm || style == vcl::fsMDIChild) return FFormActive;
    return FForm->Active();
}

void TbsSkinForm::ResetObjects() {
    for (auto& object : ObjectList) {
        if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(object.get())) {
            animate->FMouseIn = false;
            animate->Active = false;
            animate->FFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject*>(object.get())) {
            object->Active = false;
            object->FMouseIn = false;
            object->SetMorphKf(0);
        }
    }
}

bool TbsSkinForm::CanShowLayerFrame() const {
    return HasSkin() && FSD->ShowLayeredBorders() && FSD->LayerFrame.PictureIndex != -1 &&
           FIsLayerEnabled && FSkinnableForm && !AlwaysDisableLayeredFrames && !PreviewMode &&
           FForm->BorderStyle() != vcl::bsNone && FForm->FormStyle() != vcl::fsMDIChild &&
           !FSmartEffectsShow;
}

bool TbsSkinForm::UseVistaLayerShow() const {
    return FIsVistaOs && CanShowLayerFrame() && !FAlphaBlend && !FAlphaBlendAnimation &&
           (!FSD || !FSD->AnimationForAllWindows());
}

// --- the skin rebuild -------------------------------------------------------------------------

void TbsSkinForm::SetSkinnableForm(bool value) {
    FFormActive = GetFormActive();
    if (FForm->FormStyle() == vcl::fsMDIForm && FForm->MDIChildCount() > 0) return;
    if (Designing()) return;
    const bool mdiForm = FForm->FormStyle() == vcl::fsMDIForm;
    bool wasMaximized = false;
    if (FWindowState == vcl::wsMaximized && FSkinnableForm) {
        if (!mdiForm) FForm->Hide();
        SetWindowState(vcl::wsNormal);
        wasMaximized = true;
    } else if (FForm->WindowState() == vcl::wsMaximized && !FSkinnableForm) {
        FForm->SetWindowState(vcl::wsNormal);
        if (!mdiForm) FForm->Hide();
        wasMaximized = true;
    }
    FSkinnableForm = value && !FUseRibbon;
    ChangeSkinData();
    ChangeControlsSkinData(nullptr, FForm);
    FForm->WindowProc = [this](vcl::TMessage& m) { NewWindowProc(m); };
    if (!FSkinnableForm && FIsVistaOs && FForm->HandleAllocated()) FForm->RecreateWnd();
    if (wasMaximized) {
        if (FSkinnableForm)
            SetWindowState(vcl::wsMaximized);
        else
            FForm->SetWindowState(vcl::wsMaximized);
        if (!mdiForm) FForm->Show();
    }
}

void TbsSkinForm::ChangeSkinData() {
    if (FUseRibbon) FSkinnableForm = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    FSkinSupport = HasSkin();
    HideFrameLayers();
    if (LayerShown()) FBorderLayer->Hide();

    if (FSkinSupport && FSkinnableForm) {
        CreateSkinObjects();
        UpdateCaptionButtons();
    } else {
        ClearObjects();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        SetFormRegion(true);
    }
    if (FSkinnableForm) {
        if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons({});
    } else {
        UpdateFormBorderIcons();
    }

    FInChangeSkinData = true;
    const int minW = GetMinWidth(), minH = GetMinHeight();
    if (FForm->Width() < minW && FForm->Height() < minH)
        FForm->SetBounds(FForm->Left(), FForm->Top(), minW, minH);
    else if (FForm->Height() < minH)
        FForm->SetHeight(minH);
    else if (FForm->Width() < minW)
        FForm->SetWidth(minW);
    else
        ForceFormResize();
    if ((FRollUpState || Minimized()) && FForm->Height() != GetMinHeight())
        FForm->SetHeight(GetMinHeight());
    if (Minimized() && FForm->Width() != GetMinWidth()) FForm->SetWidth(GetMinWidth());

    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (FSkinSupport) UpdateFrame(true);

    if (FForm->FormStyle() == vcl::fsMDIForm) {
        HookMDIClient();
        if (FForm->ClientHandle())
            win::RedrawWindow(FForm->ClientHandle(), nullptr, nullptr,
                              win::RDW_ERASE | win::RDW_INVALIDATE);
        RefitMDIChilds();
    } else {
        FForm->Repaint();
    }

    SetCaptionsActive(!MaximizedMDIChild());
    MouseTimer->SetEnabled(true);
    if (FOnChangeSkinData) FOnChangeSkinData(this);
    FInChangeSkinData = false;

    if (!FRollUpState) {
        if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
        if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
    }
    LayerAfterSkinChange();
}

void TbsSkinForm::ClearObjects() {
    ObjectList.clear();
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinForm::CreateSkinObjects() {
    ClearObjects();
    if (!FSD) return;
    for (const TbsFrameObjectRecord& record : FrameRecordOf(*FSD).Objects) {
        std::unique_ptr<TbsActiveSkinObject> object;
        switch (record.Kind) {
            case fokStdButton:
                object = std::make_unique<TbsSkinStdButtonObject>(this, record.Data);
                break;
            case fokButton:
                object = std::make_unique<TbsSkinButtonObject>(this, record.Data);
                break;
            case fokCaption:
                object = std::make_unique<TbsSkinCaptionObject>(this, record.Data);
                break;
            case fokAnimate:
                object = std::make_unique<TbsSkinAnimateObject>(this, record.Data);
                break;
            case fokUser:
                object = std::make_unique<TbsUserObject>(this, record.Data);
                break;
        }
        ObjectList.push_back(std::move(object));
    }
}

void TbsSkinForm::CreateDefaultButtons() {
    ClearObjects();
    for (const TbsFrameObjectRecord& record : DefaultFrameRecord().Objects) {
        auto button = std::make_unique<TbsSkinStdButtonObject>(this, nullptr);
        button->IDName = record.IDName;
        button->Command = record.Command;
        button->SkinRectInAPicture = record.SkinRectInAPicture;
        button->SkinRect = button->ActiveSkinRect = button->DownRect = record.SkinRect;
        ObjectList.push_back(std::move(button));
    }
    UpdateCaptionButtons();
}

void TbsSkinForm::UpdateCaptionButtons() {
    if (ObjectList.empty()) return;
    const TbsFrameRecord record = FrameRecord();
    // The program says which of its own caption buttons show.
    std::vector<std::string> shown;
    if (!FHideCaptionButtons && FOnActivateCustomObject)
        for (const TbsFrameObjectRecord& o : record.Objects) {
            const bool button = o.Kind == fokStdButton || (o.Kind == fokAnimate && o.ButtonStyle);
            if (!button || o.Command != cmDefault) continue;
            bool visible = false;
            FOnActivateCustomObject(o.IDName, visible);
            if (visible) shown.push_back(o.IDName);
        }
    FShownCustomObjects = std::move(shown);
    const TbsFrameGeometry g = FrameGeometry(record);
    if (g.Objects.size() == ObjectList.size())
        for (std::size_t i = 0; i < ObjectList.size(); ++i) {
            ObjectList[i]->Visible = g.Objects[i].Visible;
            if (g.Objects[i].Enabled) ObjectList[i]->Enabled = *g.Objects[i].Enabled;
        }
    SetDefaultObjectHints();
}

void TbsSkinForm::SetDefaultObjectHints() {
    if (!FUseDefaultObjectHint || !FSD) return;
    TbsResourceStrData* table = FSD->ResourceStrData();
    auto text = [table](const char* key, const char* builtIn) {
        return table ? table->GetResStr(key) : std::string(builtIn);
    };
    for (auto& object : ObjectList) {
        TbsCommandLooks* looks = nullptr;
        if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(object.get()))
            looks = animate;
        else if (auto* std = dynamic_cast<TbsSkinStdButtonObject*>(object.get()))
            looks = std;
        if (!looks) continue;
        for (const THintText& hint : kObjectHints)
            if (hint.Command == looks->Command) object->Hint = text(hint.Key, hint.Text);
        looks->FTempHint = object->Hint;
        looks->RestoreHint = text("RESTORE_HINT", "Restore");
    }
}

void TbsSkinForm::UpdateFormBorderIcons() {
    vcl::TBorderIcons icons;
    if (!FHideCaptionButtons && !FSkinnableForm) {
        icons += vcl::biSystemMenu;
        if (FBorderIcons.Contains(biMinimize)) icons += vcl::biMinimize;
        if (FBorderIcons.Contains(biMaximize)) icons += vcl::biMaximize;
    }
    FForm->SetBorderIcons(icons);
}

// --- the form's skinned controls ----------------------------------------------------------------

void TbsSkinForm::BeforeChangeControlsSkinData(TbsSkinData* SD, vcl::TControl* control) {
    if (!control) return;
    // Only windowed skinned controls prepare; graphic ones simply look up again afterwards.
    if (auto* skinned = dynamic_cast<TbsSkinControl*>(control))
        if (!SD || skinned->SkinData() == SD) skinned->BeforeChangeSkinData();
    if (auto* parent = dynamic_cast<vcl::TWinControl*>(control))
        for (int i = 0; i < parent->ControlCount(); ++i)
            BeforeChangeControlsSkinData(SD, parent->Controls(i));
}

void TbsSkinForm::ChangeControlsSkinData(TbsSkinData* SD, vcl::TControl* control) {
    if (!control) return;
    if (TbsSkinClient* client = AsSkinClient(control))
        if (!SD || client->SkinData() == SD) client->ChangeSkinData();
    if (auto* parent = dynamic_cast<vcl::TWinControl*>(control))
        for (int i = 0; i < parent->ControlCount(); ++i)
            ChangeControlsSkinData(SD, parent->Controls(i));
}

// --- sizes ------------------------------------------------------------------------------------

int TbsSkinForm::GetMinWidth() const {
    if (!FSkinSupport) return FMinWidth > 0 ? FMinWidth : 120;
    const int w = FSD->FPicture->Width();
    if (w < FMinWidth && !Minimized()) return FMinWidth;
    if (FSD->FormMinWidth > 0)
        return FSD->FormMinWidth >= FMinWidth || Minimized() ? FSD->FormMinWidth : FMinWidth;
    return w;
}

int TbsSkinForm::GetMinHeight() const {
    int h;
    if (FSkinSupport)
        h = FSD->FPicture->Height() - (FSD->ClRect.Bottom - FSD->ClRect.Top);
    else
        h = GetDefCaptionHeight(FForm->BorderStyle()) + 6;
    if (h < FMinHeight && !FRollUpState && !Minimized()) return FMinHeight;
    return h;
}

gfx::TRect TbsSkinForm::MonitorArea() const {
    gfx::TRect r;
    win::HWND wnd;
    if (FormHandle(wnd))
        GetWindowMonitorRect(wnd, !FMaximizeOnFullScreen, r);
    else
        GetDesktopWorkRect(!FMaximizeOnFullScreen, r);
    return r;
}

int TbsSkinForm::GetMaxWidth() const {
    return FMaxWidth != 0 ? FMaxWidth : MonitorArea().Width();
}

int TbsSkinForm::GetMaxHeight() const {
    return FMaxHeight != 0 ? FMaxHeight : MonitorArea().Height();
}

// --- frame objects ----------------------------------------------------------------------------

int TbsSkinForm::GetIndex(const std::string& AIDName) const {
    for (std::size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return int(i);
    return -1;
}

void TbsSkinForm::SetEnabled(const std::string& AIDName, bool Value) {
    const int i = GetIndex(AIDName);
    if (i != -1) ObjectList[i]->Enabled = Value;
}

void TbsSkinForm::TestActive(int X, int Y, bool AActive) {
    if (ObjectList.empty() || !GetFormActive() || FSizeMove || FBorderLayerChangeSize ||
        PreviewMode || MaximizedMDIChild() || FForm->BorderStyle() == vcl::bsNone)
        return;
    OldActiveObject = ActiveObject;
    int hit = -1;
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject& o = *ObjectList[i];
        if (o.Enabled && o.Visible && o.ObjectRect.Contains(X, Y) &&
            o.PointInObject(X - o.ObjectRect.Left, Y - o.ObjectRect.Top)) {
            hit = int(i);
            break;
        }
    }
    ActiveObject = AActive ? hit : -1;
    if (MouseCaptureObject != -1 && MouseCaptureObject != ActiveObject && ActiveObject != -1)
        ActiveObject = -1;
    const int count = int(ObjectList.size());
    if (ActiveObject >= count) ActiveObject = -1;
    if (OldActiveObject >= count) OldActiveObject = -1;
    if (OldActiveObject == ActiveObject) return;
    if (OldActiveObject != -1) {
        TbsActiveSkinObject& old = *ObjectList[OldActiveObject];
        if (old.Enabled && old.Visible) {
            old.MouseLeave();
            if (FShowObjectHint && FSkinHint && !old.Hint.empty()) FSkinHint->HideHint();
        }
    }
    // A handler may have rebuilt the list; look the new object up again.
    if (ActiveObject != -1 && ActiveObject < int(ObjectList.size())) {
        TbsActiveSkinObject& now = *ObjectList[ActiveObject];
        if (now.Enabled && now.Visible) {
            // Enter first: a standard button picks its hint (restore or not) there.
            now.MouseEnter();
            if (FShowObjectHint && FSkinHint && !now.Hint.empty())
                FSkinHint->ActivateHint2(now.Hint);
        }
    }
}

void TbsSkinForm::ObjectMouseMove(int X, int Y) {
    const int i = MouseCaptureObject != -1 ? MouseCaptureObject : ActiveObject;
    if (i >= 0 && i < int(ObjectList.size())) ObjectList[i]->MouseMove(X, Y);
}

void TbsSkinForm::ObjectDblClick() {
    if (ActiveObject >= 0 && ActiveObject < int(ObjectList.size()))
        ObjectList[ActiveObject]->DblClick();
}

void TbsSkinForm::ObjectMouseDown(vcl::TMouseButton Button, int X, int Y) {
    if (ActiveObject < 0 || ActiveObject >= int(ObjectList.size())) return;
    TbsActiveSkinObject* o = ObjectList[ActiveObject].get();
    win::HWND wnd;
    if (!dynamic_cast<TbsSkinCaptionObject*>(o) && FormHandle(wnd)) win::SetCapture(wnd);
    MouseCaptureObject = ActiveObject;
    o->MouseDown(X, Y, Button);
}

void TbsSkinForm::ObjectMouseUp(vcl::TMouseButton Button, int X, int Y) {
    if (MouseCaptureObject < 0 || MouseCaptureObject >= int(ObjectList.size())) return;
    TbsActiveSkinObject* o = ObjectList[MouseCaptureObject].get();
    if (!dynamic_cast<TbsSkinCaptionObject*>(o)) win::ReleaseCapture();
    MouseCaptureObject = -1;
    o->MouseUp(X, Y, Button);
}

// --- the frame objects' host ---------------------------------------------------------------------

gfx::TRect TbsSkinForm::FrameRectToScreen(const gfx::TRect& R) const {
    gfx::TPoint origin;
    if (FForm->FormStyle() == vcl::fsMDIChild) {
        const gfx::TPoint client =
            FSkinnableForm ? gfx::TPoint{-NewClRect.Left, -NewClRect.Top}
                           : gfx::TPoint{-3, -GetDefCaptionHeight(FForm->BorderStyle()) - 3};
        origin = FForm->ClientToScreen(client);
    } else {
        origin = {FForm->Left(), FForm->Top()};
    }
    return R.Offset(origin.X, origin.Y);
}

void TbsSkinForm::RepaintFrame() {
    if (FForm && FForm->HandleAllocated()) win::SendMessage(FForm->Handle(), win::WM_NCPAINT, 0, 0);
}

void TbsSkinForm::StartMorphTimer() {
    MorphTimer->SetEnabled(true);
}

void TbsSkinForm::StartAnimateTimer() {
    AnimateTimer->SetEnabled(true);
}

void TbsSkinForm::HideFrameLayers() {
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
}

// Runs a window command of a caption button or animation; the selection is cleared first so
// no object stays hot behind a state change.
void TbsSkinForm::RunFrameCommand(TbsStdCommand command) {
    switch (command) {
        case cmClose:
            TestActive(-1, -1, false);
            // Closing frees the form only through a posted release, after this handling.
            FForm->Close();
            break;
        case cmMaximize:
            TestActive(-1, -1, false);
            SetWindowState(WindowState() == vcl::wsMaximized ? vcl::wsNormal : vcl::wsMaximized);
            break;
        case cmMinimize:
            TestActive(-1, -1, false);
            if (FAlwaysMinimizeToTray)
                MinimizeToTray();
            else
                SetWindowState(WindowState() == vcl::wsMinimized ? vcl::wsNormal
                                                                 : vcl::wsMinimized);
            break;
        case cmRollUp:
            SetRollUpState(!RollUpState());
            break;
        case cmMinimizeToTray:
            TestActive(-1, -1, false);
            MinimizeToTray();
            break;
        case cmSysMenu:
        case cmDefault:
            break;
    }
}

void TbsSkinForm::ObjectEntered(const std::string& IDName) {
    if (FOnMouseEnterEvent) FOnMouseEnterEvent(IDName);
}

void TbsSkinForm::ObjectLeft(const std::string& IDName) {
    if (FOnMouseLeaveEvent) FOnMouseLeaveEvent(IDName);
}

void TbsSkinForm::ObjectPressed(const std::string& IDName, int X, int Y, gfx::TRect R,
                                vcl::TMouseButton Button) {
    if (FOnMouseDownEvent) FOnMouseDownEvent(IDName, X, Y, R, Button);
}

void TbsSkinForm::ObjectReleased(const std::string& IDName, int X, int Y, gfx::TRect R,
                                 vcl::TMouseButton Button) {
    if (FOnMouseUpEvent) FOnMouseUpEvent(IDName, X, Y, R, Button);
}

void TbsSkinForm::ObjectMoved(const std::string& IDName, int X, int Y, gfx::TRect R) {
    if (FOnMouseMoveEvent) FOnMouseMoveEvent(IDName, X, Y, R);
}

void TbsSkinForm::ObjectPaint(const std::string& IDName, gfx::TCanvas& Canvas, gfx::TRect R) {
    if (FOnPaintEvent) FOnPaintEvent(IDName, Canvas, R);
}

bool TbsSkinForm::PaintCaptionByProgram(gfx::TCanvas& Cnvs, gfx::TRect R, bool AActive) {
    if (!FOnCaptionPaint) return false;
    FOnCaptionPaint(Cnvs, R, AActive);
    return true;
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject) {
    win::HWND wnd;
    if (!AObject || MaximizedMDIChild() || FForm->BorderStyle() == vcl::bsNone || !FormHandle(wnd))
        return;
    gfx::HDC dc = win::GetWindowDC(wnd);
    if (!dc) return;
    {
        gfx::TCanvas canvas(dc);
        AObject->Draw(canvas, true);
    }
    win::ReleaseDC(wnd, dc);
}

void TbsSkinForm::SetCaptionsActive(bool AUpdate) {
    const bool a = GetFormActive();
    for (auto& object : ObjectList) {
        auto* caption = dynamic_cast<TbsSkinCaptionObject*>(object.get());
        if (!caption || caption->Active == a) continue;
        caption->Active = a;
        if (AUpdate) {
            if (caption->EnableAnimation()) {
                caption->FIncTime = 25;
                caption->CurrentFrame =
                    a ? 1 : (caption->InActiveAnimation ? caption->FrameCount : 0);
                AnimateTimer->SetEnabled(true);
            }
            NCPaint();
            if (caption->EnableMorphing()) MorphTimer->SetEnabled(true);
        } else if (caption->EnableMorphing()) {
            caption->SetMorphKf(a ? 1 : 0);
        }
        break;
    }
    if (a) {
        if (FOnActivate) FOnActivate(this);
    } else if (FOnDeActivate) {
        FOnDeActivate(this);
    }
}

void TbsSkinForm::MorphTimerProc() {
    if (!StepHoverFades(ObjectList)) MorphTimer->SetEnabled(false);
}

void TbsSkinForm::AnimateTimerProc() {
    bool any = false;
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i].get();
        if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            if (animate->Active && (!animate->FDown || RectIsEmpty(animate->DownSkinRect))) {
                animate->ChangeFrame();
                any = true;
            }
        } else if (auto* caption = dynamic_cast<TbsSkinCaptionObject*>(o)) {
            if (!caption->EnableAnimation()) continue;
            if (caption->FIncTime < caption->AnimateInterval) {
                caption->FIncTime += 25;
                any = true;
            } else if (caption->Active && caption->CurrentFrame <= caption->FrameCount) {
                ++caption->CurrentFrame;
                DrawSkinObject(caption);
                caption->FIncTime = 25;
                any = true;
            } else if (!caption->Active && caption->CurrentFrame > 0) {
                --caption->CurrentFrame;
                DrawSkinObject(caption);
                caption->FIncTime = 25;
                any = true;
            }
        }
    }
    if (!any) AnimateTimer->SetEnabled(false);
}

void TbsSkinForm::MouseTimerProc() {
    if (!GetFormActive()) return;
    win::HWND wnd;
    if (!FormHandle(wnd)) return;
    gfx::TPoint p;
    win::GetCursorPos(p);
    if (win::WindowFromPoint(p) != wnd) {
        MouseTimer->SetEnabled(false);
        TestActive(-1, -1, false);
        return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
        MouseTimer->SetEnabled(false);
        return;
    }
    gfx::TRect wr;
    win::GetWindowRect(wnd, wr);
    const gfx::TPoint fp{p.X - wr.Left, p.Y - wr.Top};
    const gfx::TRect client = FSkinSupport
                                  ? NewClRect
                                  : gfx::TRect{3, GetDefCaptionHeight(FForm->BorderStyle()) + 3,
                                               FFormWidth - 3, FFormHeight - 3};
    if (!client.Contains(fp.X, fp.Y))
        TestActive(fp.X, fp.Y, true);
    else if (ActiveObject != -1)
        TestActive(-1, -1, true);
}

// --- unit procedures --------------------------------------------------------------------------

TbsSkinForm* GetSkinFormComponent(vcl::TCustomForm* AForm) {
    if (!AForm) return nullptr;
    for (int i = 0; i < AForm->ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TbsSkinForm*>(AForm->Components(i))) return c;
    return nullptr;
}

TbsSkinForm* GetMaximizedMDIChildSkinForm() {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (int i = 0; i < main->MDIChildCount(); ++i) {
        TbsSkinForm* c = GetSkinFormComponent(main->MDIChildren(i));
        if (c && c->WindowState() == vcl::wsMaximized) return c;
    }
    return nullptr;
}

TbsSkinForm* GetActiveMDIChildSkinForm() {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!main || !main->ActiveMDIChild()) return nullptr;
    return GetSkinFormComponent(main->ActiveMDIChild());
}

void GetMDIClientArea(TbsSkinForm*, gfx::TRect& R) {
    vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
    if (!main) return;
    int left = 0, top = 0, right = main->ClientWidth(), bottom = main->ClientHeight();
    for (int i = 0; i < main->ControlCount(); ++i) {
        vcl::TControl* c = main->Controls(i);
        if (!c->Visible()) continue;
        switch (c->Align()) {
            case vcl::alLeft:
                left = std::max(left, c->Left() + c->Width());
                break;
            case vcl::alTop:
                top = std::max(top, c->Top() + c->Height());
                break;
            case vcl::alRight:
                right = std::min(right, c->Left());
                break;
            case vcl::alBottom:
                bottom = std::min(bottom, c->Top());
                break;
            default:
                break;
        }
    }
    R = {left, top, right, bottom};
}

}  // namespace skin
