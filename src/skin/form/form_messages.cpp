// The form's window procedure while the component sits on it: the frame's size, hit test,
// painting and activation are answered here and never reach the window's default frame; the
// non-client mouse goes on to the window's own handling (which runs the move/size loop from the
// hit code answered here) and then to the frame objects; the skin messages run the frame rebuild
// and the walks over the form's skinned controls.
#include <algorithm>

#include "platform/win/win.h"
#include "skin/core/skin_messages.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

constexpr win::WPARAM SC_KEYMENU = 0xF100;
constexpr win::WPARAM SC_RESTORE_EXACT = 0xF120;

}  // namespace

gfx::TPoint TbsSkinForm::ScreenToFramePoint(gfx::TPoint P) const {
    if (FForm->FormStyle() != vcl::fsMDIChild) return {P.X - FForm->Left(), P.Y - FForm->Top()};
    const gfx::TPoint c = FForm->ScreenToClient(P);
    if (FSkinSupport) return {c.X + NewClRect.Left, c.Y + NewClRect.Top};
    return {c.X + 3, c.Y + GetDefCaptionHeight(FForm->BorderStyle()) + 3};
}

void TbsSkinForm::PaintFrameTo(gfx::HDC DC) {
    if (FSkinSupport)
        PaintNCSkin(DC, DC != nullptr);
    else if (!FStopPainting)
        PaintNCDefault(DC, DC != nullptr);
}

void TbsSkinForm::EraseBackground(vcl::TMessage& Message) {
    const gfx::HDC dc = win::ParamToDc(Message.WParam);
    if (FForm->FormStyle() != vcl::fsMDIForm || FClientInActiveDraw) {
        if (FSkinSupport && HasSkin()) {
            if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
                PaintBG3(dc);
            else if (FSD->BGPictureIndex == -1)
                PaintBG(dc);
            else
                PaintBG2(dc);
        } else {
            PaintBGDefault(dc);
        }
    }
    Message.Result = 1;
}

void TbsSkinForm::NCCalcSize(vcl::TMessage& Message) {
    if (MaximizedMDIChild() || FForm->BorderStyle() == vcl::bsNone) return;
    gfx::TRect* r =
        Message.WParam
            ? &win::ParamToPtr<win::NCCALCSIZE_PARAMS>(std::uint64_t(Message.LParam))->rgrc[0]
            : win::ParamToPtr<gfx::TRect>(std::uint64_t(Message.LParam));
    TbsFrameRecord record = DefaultFrameRecord(false);
    if (FSkinSupport && HasSkin()) {
        CalcSkinRects();
        record = FrameRecordOf(*FSD);
        record.Objects.clear();
    }
    const gfx::TRect in = FrameGeometry(record).ClientInsets;
    r->Left += in.Left;
    r->Top += in.Top;
    r->Right -= in.Right;
    r->Bottom -= in.Bottom;
    r->Right = std::max(r->Right, r->Left);
    r->Bottom = std::max(r->Bottom, r->Top);
}

void TbsSkinForm::NCActivate(vcl::TMessage& Message) {
    FBorderLayerChangeSize = false;
    HideFrameLayers();
    FFormActive = Message.WParam != 0;
    if (!FFormActive) TestActive(-1, -1, false);
    const auto style = FForm->FormStyle();
    if (style == vcl::fsMDIChild || (style == vcl::fsMDIForm && !FIsVistaOs)) {
        if (OldWindowProc) OldWindowProc(Message);
        if (style == vcl::fsMDIChild) FForm->Repaint();
    } else {
        Message.Result = 1;
    }
    if (!MaximizedMDIChild() && FForm->BorderStyle() != vcl::bsNone) {
        // The captions learn the state first: a frame painted in the new state with a caption
        // text still in the old one's colour shows dark text on the dark band (or light on light).
        SetCaptionsActive(true);
        NCPaint();
    } else {
        SetCaptionsActive(false);
    }
    if (FClientInActiveEffect && FForm->Visible()) {
        if (FFormActive)
            HideClientInActiveEffect();
        else
            ShowClientInActiveEffect();
    }
    if (style == vcl::fsMDIChild) MDIChildActivated();
    LayerActivated();
}

void TbsSkinForm::WMSize(vcl::TMessage& Message) {
    if (!FBorderLayerChangeSize) {
        if (OldWindowProc) OldWindowProc(Message);
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
    }
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    if (!(FSkinSupport && HasSkin())) {
        if (FSkinnableForm) {
            SetFormRegion(true);
            NCPaint();
        }
    } else if (FSD && FSkinnableForm && FForm->Width() >= GetMinWidth() &&
               FForm->Height() >= GetMinHeight()) {
        if (CanShowLayerFrame()) {
            if (FBorderLayerChangeSize)
                FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
            else
                FBorderLayer->SetBoundsWithForm();
        }
        UpdateFrame(true);
    }
    if (FBorderLayerChangeSize && OldWindowProc) OldWindowProc(Message);
    if (FAlphaBlend && FAlphaBlendValue != 255 && FIsLayerEnabled) {
        NCPaint();
        FForm->Repaint();
    }
    if (FLogoBitMap.Width() > 0 && FForm->FormStyle() != vcl::fsMDIForm) FForm->Repaint();
}

void TbsSkinForm::WMSizing(vcl::TMessage& Message) {
    FSizing = true;
    FBorderLayerChangeSize = false;
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    if (OldWindowProc) OldWindowProc(Message);
    const gfx::TRect r = *win::ParamToPtr<gfx::TRect>(std::uint64_t(Message.LParam));
    const bool changed = r.Width() != FFormWidth || r.Height() != FFormHeight;
    FFormWidth = r.Width();
    FFormHeight = r.Height();
    if (!FSD || (FSkinnableForm && FSD->Empty)) {
        SetFormRegion(true);
    } else if (FSkinnableForm && !FSD->Empty && FFormWidth >= GetMinWidth() &&
               FFormHeight >= GetMinHeight() && changed) {
        if (CanShowLayerFrame() && FFormLeft == FOldFormLeft && FFormTop == FOldFormTop)
            FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        FOldFormLeft = FFormLeft;
        FOldFormTop = FFormTop;
        // Frame and region for the new size before the window takes it.
        UpdateFrame(true);
    }
}

void TbsSkinForm::NonClientMouse(vcl::TMessage& Message) {
    const gfx::TPoint p = ScreenToFramePoint(win::PointFromParam(Message.LParam));
    const int code = int(std::int32_t(Message.WParam));
    switch (Message.Msg) {
        case win::WM_NCMOUSEMOVE:
            ObjectMouseMove(p.X, p.Y);
            break;
        case win::WM_NCLBUTTONDOWN:
            if (FSizeMove) {
                FSizeMove = false;
                break;
            }
            TestActive(p.X, p.Y, true);
            ObjectMouseDown(vcl::mbLeft, p.X, p.Y);
            if (code == win::HTCAPTION) MouseCaptureObject = -1;
            break;
        case win::WM_NCLBUTTONUP:
            ObjectMouseUp(vcl::mbLeft, p.X, p.Y);
            break;
        case win::WM_NCLBUTTONDBLCLK:
            TestActive(p.X, p.Y, true);
            ObjectMouseDown(vcl::mbLeft, p.X, p.Y);
            ObjectDblClick();
            if (code == win::HTCAPTION) {
                if (IsSizeable() && FWindowState == vcl::wsMinimized)
                    SetWindowState(vcl::wsNormal);
                else if (IsSizeable() && FWindowState != vcl::wsMaximized && !FRollUpState &&
                         FBorderIcons.Contains(biMaximize))
                    SetWindowState(vcl::wsMaximized);
                else if (IsSizeable() && FWindowState == vcl::wsMaximized && !MaxRollUpState)
                    SetWindowState(vcl::wsNormal);
                else
                    SetRollUpState(!FRollUpState);
                MouseCaptureObject = -1;
            }
            break;
        case win::WM_NCRBUTTONDOWN:
            TestActive(p.X, p.Y, true);
            ObjectMouseDown(vcl::mbRight, p.X, p.Y);
            if (code == win::HTCAPTION) {
                MouseCaptureObject = -1;
                if (!FDisableSystemMenu) {
                    const gfx::TPoint at = win::PointFromParam(Message.LParam);
                    PopupSystemMenu(at.X, at.Y);
                }
            }
            break;
        case win::WM_NCRBUTTONUP:
            ObjectMouseUp(vcl::mbRight, p.X, p.Y);
            break;
        case win::WM_NCRBUTTONDBLCLK:
            TestActive(p.X, p.Y, true);
            ObjectMouseDown(vcl::mbRight, p.X, p.Y);
            if (code == win::HTCAPTION) MouseCaptureObject = -1;
            break;
        default:
            break;
    }
}

void TbsSkinForm::NewWindowProc(vcl::TMessage& Message) {
    auto callOld = [&] {
        if (OldWindowProc) OldWindowProc(Message);
    };
    const bool skinnable = FSkinnableForm;
    const bool skinInUse = FSkinSupport && HasSkin();
    const bool mdiForm = FForm->FormStyle() == vcl::fsMDIForm;
    CheckMenuCloseMessage(Message);
    switch (Message.Msg) {
        case WM_CLOSESKINMENU:
            SkinMenuClose();
            break;
        case win::WM_DESTROY:
            MouseTimer->SetEnabled(false);
            MorphTimer->SetEnabled(false);
            AnimateTimer->SetEnabled(false);
            if (FForm->FormStyle() == vcl::fsMDIChild) MDIChildDestroyed();
            callOld();
            return;
        case win::WM_SIZE:
            if (FSizeMove && FFullDrag) {
                callOld();
                if (FLogoBitMap.Width() > 0 && !mdiForm) FForm->Repaint();
                return;
            }
            WMSize(Message);
            return;
        case win::WM_ACTIVATE:
            if (!skinnable) break;
            callOld();
            // The captions take the state before the frame paints, as on activation above.
            if (MaximizedMDIChild()) {
                SetCaptionsActive(false);
            } else {
                ResetObjects();
                SetCaptionsActive(true);
            }
            NCPaint();
            // The active child's menu may have to be merged again.
            if (mdiForm && FMainMenuBar) FMainMenuBar->UpDateItems();
            return;
        case win::WM_SETTEXT:
            if (!skinnable) break;
            callOld();
            if (FForm->BorderStyle() != vcl::bsNone && !MaximizedMDIChild()) NCPaint();
            if (FForm->FormStyle() == vcl::fsMDIChild) {
                UpDateChildCaptionInMenu(FForm);
                RefreshMDIBarTab(FForm);
            }
            return;
        case win::WM_ERASEBKGND:
            EraseBackground(Message);
            return;
        case win::WM_MOUSEACTIVATE:
            // A click on the active child of an inactive MDI form lights its caption at once.
            if (skinnable && FForm->FormStyle() == vcl::fsMDIChild && !FFormActive &&
                vcl::Application && vcl::Application->MainForm() &&
                vcl::Application->MainForm()->ActiveMDIChild() == FForm) {
                FFormActive = true;
                SetCaptionsActive(!MaximizedMDIChild());
            }
            break;
        case win::WM_SHOWWINDOW:
            ShowWindowFirstStage(Message.WParam != 0);
            if (Message.WParam) {
                if (mdiForm) {
                    const win::TSubclassToken before = FClientLink;
                    HookMDIClient();
                    if (FClientLink != before) ForceFormResize();
                } else if (skinnable) {
                    ForceFormResize();
                }
                if (skinnable && FForm->Menu()) FForm->SetMenu(nullptr);
            } else if (skinnable) {
                HideFrameLayers();
            }
            if (skinnable && FForm->FormStyle() == vcl::fsMDIChild)
                MDIChildShown(Message.WParam != 0);
            break;
        case win::WM_SETCURSOR:
            if (skinnable && FUseFormCursorInNCArea) {
                const int code = std::int16_t(Message.LParam & 0xFFFF);
                if (code != win::HTCLIENT && (code < 10 || code > 17))
                    Message.LParam = (Message.LParam & ~win::LPARAM(0xFFFF)) | win::HTCLIENT;
            }
            break;
        case win::WM_GETMINMAXINFO:
            if (skinnable) {
                auto* mm = win::ParamToPtr<win::MINMAXINFO>(std::uint64_t(Message.LParam));
                mm->ptMinTrackSize = {GetMinWidth(), GetMinHeight()};
                mm->ptMaxTrackSize = {GetMaxWidth(), GetMaxHeight()};
            }
            break;
        case win::WM_WINDOWPOSCHANGED: {
            const auto* wp = win::ParamToPtr<win::WINDOWPOS>(std::uint64_t(Message.LParam));
            if (!(wp->flags & win::SWP_NOMOVE)) {
                FFormLeft = wp->x;
                FFormTop = wp->y;
            }
            if (!FSizing && FBorderLayerChangeSize && !(wp->flags & win::SWP_NOSIZE)) {
                FFormWidth = wp->cx;
                FFormHeight = wp->cy;
            }
            LayerPosChanged(*wp);
            FOldFormLeft = FFormLeft;
            FOldFormTop = FFormTop;
            break;
        }
        case win::WM_DISPLAYCHANGE:
            if (FForm->BorderStyle() != vcl::bsNone &&
                (GetMaxWidth() < FForm->Width() || GetMaxHeight() < FForm->Height()))
                ForceFormResize();
            break;
        case win::WM_NCCALCSIZE:
            if (!skinnable) break;
            NCCalcSize(Message);
            return;
        case win::WM_NCHITTEST: {
            if (!skinnable) break;
            const gfx::TPoint p = ScreenToFramePoint(win::PointFromParam(Message.LParam));
            Message.Result = skinInUse ? GetHitTest(p) : GetDefHitTest(p);
            if (Message.Result == win::HTOBJECT && !MouseTimer->Enabled()) {
                TestActive(p.X, p.Y, true);
                MouseTimer->SetEnabled(true);
            }
            return;
        }
        case win::WM_NCPAINT:
            if (!skinnable) break;
            if (FForm->BorderStyle() != vcl::bsNone && !MaximizedMDIChild()) PaintFrameTo(nullptr);
            return;
        case win::WM_NCACTIVATE:
            if (!skinnable) break;
            NCActivate(Message);
            return;
        case win::WM_SYNCPAINT:
            if (!skinnable || !FRollUpState) break;
            NCPaint();
            Message.Result = 0;
            return;
        case win::WM_SYSCOMMAND:
            if (skinnable && FollowSystemCommand(Message.WParam)) return;
            if (Message.WParam == SC_RESTORE_EXACT) {
                if (FOnRestore) FOnRestore(this);
                break;
            }
            // Alt or F10: the menu bar's keyboard mode starts or ends; the system never sees
            // the key.
            if (Message.WParam == SC_KEYMENU) {
                if (InMainMenu) {
                    SkinMainMenuClose();
                    return;
                }
                if (SkinMenu->Visible())
                    SkinMenu->Hide();
                else if (InMenu)
                    SkinMenuClose();
                if (FMainMenuBar) FMainMenuBar->EnterMainMenu();
                return;
            }
            break;
        case win::WM_SIZING:
            if (!(FSizeMove && FFullDrag)) break;
            WMSizing(Message);
            return;
        case win::WM_MOVING:
            if (skinnable) WMMoving(Message);
            break;
        case win::WM_TIMER:
            if (Message.WParam == 1) ShowAnimationTimer();
            break;
        case win::WM_ENTERSIZEMOVE:
            if (!skinnable) break;
            win::GetCursorPos(FOnMouseDownCoord);
            ResetObjects();
            MouseTimer->SetEnabled(false);
            ActiveObject = MouseCaptureObject = -1;
            FSizeMove = true;
            {
                bool full = true;
                win::SystemParametersInfo(win::SPI_GETDRAGFULLWINDOWS, &full);
                FFullDrag = full;
            }
            break;
        case win::WM_EXITSIZEMOVE:
            if (!skinnable) break;
            if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
                FFormLeft = FForm->Left();
                FFormTop = FForm->Top();
                FFormWidth = FForm->Width();
                FFormHeight = FForm->Height();
                UpdateFrame(true);
            }
            FSizing = FSizeMove = false;
            MouseTimer->SetEnabled(false);
            ActiveObject = OldActiveObject = MouseCaptureObject = -1;
            if (skinInUse) NCPaint();
            if (CanShowLayerFrame()) FBorderLayer->SetBoundsWithForm();
            break;
        default:
            break;
    }

    // The skin data's messages (numbers above WM_USER, so not constant cases above).
    const win::UINT m = Message.Msg;
    if (m == WM_BEFORECHANGESKINDATA) {
        if (reinterpret_cast<TbsSkinData*>(Message.WParam) == FSD && FSD) {
            FStopPainting = true;
            FSkinSupport = false;
            MouseTimer->SetEnabled(false);
            MorphTimer->SetEnabled(false);
            AnimateTimer->SetEnabled(false);
            ClearObjects();
            BeforeChangeControlsSkinData(FSD, FForm);
            if (FOnBeforeChangeSkinData) FOnBeforeChangeSkinData(this);
        }
    } else if (m == WM_CHANGESKINDATA) {
        FStopPainting = false;
        auto* sd = reinterpret_cast<TbsSkinData*>(Message.WParam);
        if (sd == FSD && FSD) ChangeSkinData();
        ChangeControlsSkinData(sd, FForm);
    } else if (m == WM_AFTERCHANGESKINDATA) {
        if (mdiForm && FSD && reinterpret_cast<TbsSkinData*>(Message.WParam) == FSD)
            RefitMDIChilds();
        if (FOnAfterChangeSkinData) FOnAfterChangeSkinData(this);
    } else if (m == WM_FITMAXIMIZEDCHILD) {
        if (MaximizedMDIChild()) {
            gfx::TRect area{0, 0, 0, 0};
            GetMDIClientArea(this, area);
            FForm->SetBounds(0, 0, area.Width(), area.Height());
        }
    } else if (m == WM_CHANGERESSTRDATA) {
        SetDefaultObjectHints();
    } else if (m == WM_CHANGEFORMSKINNABLE) {
        if (!FUseRibbon && FSD && reinterpret_cast<TbsSkinData*>(Message.WParam) == FSD &&
            FForm->FormStyle() != vcl::fsMDIChild)
            SetSkinnableForm(FSD->SkinnableForm());
    } else if (m == CM_QUERYSKINFORM) {
        Message.Result = !skinnable && FIsVistaOs ? 12852 : 12853;
        return;
    } else if (m == WM_MDICHILDMAXIMIZED && mdiForm) {
        FMDIChildMaximized = true;
        NCPaint();
        if (FMainMenuBar) FMainMenuBar->MDIChildMaximize();
    } else if (m == WM_MDICHILDRESTORED && mdiForm) {
        if (!GetMaximizedMDIChildSkinForm()) FMDIChildMaximized = false;
        NCPaint();
        if (FMainMenuBar) FMainMenuBar->MDIChildRestore();
    } else if (m == CM_BEGINSMARTEFFECTS) {
        FSmartEffectsShow = true;
    } else if (m == CM_ENDSMARTEFFECTS) {
        EndSmartEffects();
    } else if (m == WM_TRAYRESTORED) {
        TrayRestored();
    } else if (m == WM_CHANGELAYEREDBORDERS) {
        ChangeLayeredBorders();
    } else if ((m == CM_PAINTSKINFRAME ||
                (m == CM_PAINTSKINNC && Message.LParam == kPaintSkinNCKey)) &&
               skinnable) {
        const gfx::HDC dc = win::ParamToDc(Message.WParam);
        if (m == CM_PAINTSKINNC ||
            (dc && FForm->BorderStyle() != vcl::bsNone && !MaximizedMDIChild())) {
            if (dc) PaintFrameTo(dc);
        }
        Message.Result = m == CM_PAINTSKINFRAME ? kPaintSkinFrameDone : kPaintSkinNCKey;
        return;
    }

    callOld();

    // Second stage.
    switch (Message.Msg) {
        case win::WM_SHOWWINDOW:
            ShowWindowSecondStage(Message.WParam != 0);
            break;
        case win::WM_LBUTTONUP:
            ObjectMouseUp(vcl::mbLeft, -1, -1);
            break;
        case win::WM_RBUTTONUP:
            ObjectMouseUp(vcl::mbRight, -1, -1);
            break;
        case win::WM_NCMOUSEMOVE:
        case win::WM_NCLBUTTONDOWN:
        case win::WM_NCLBUTTONUP:
        case win::WM_NCLBUTTONDBLCLK:
        case win::WM_NCRBUTTONDOWN:
        case win::WM_NCRBUTTONUP:
        case win::WM_NCRBUTTONDBLCLK:
            if (skinnable) NonClientMouse(Message);
            break;
        default:
            break;
    }
}

}  // namespace skin
