#include "skin/lists/skin_edit.h"

#include <algorithm>

#include "platform/gfx/dc.h"
#include "platform/gfx/text.h"
#include "platform/vcl/messages.h"
#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/no_skin_colors.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"

namespace skin {

namespace {

void FramedFill(gfx::TCanvas& C, const TRect& r, gfx::TColor frame, gfx::TColor fill) {
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(frame);
    C.FrameRect(r);
    C.Brush().SetColor(fill);
    C.FillRect(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

gfx::TBitmap* PictureOf(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= int(sd->FActivePictures.size())) return nullptr;
    return sd->FActivePictures[std::size_t(index)].get();
}

}  // namespace

TbsSkinCustomEdit::TbsSkinCustomEdit(vcl::TComponent* AOwner) : TbsCustomEdit(AOwner) {
    InstallDropDownControlTest();
    SetControlStyle(ControlStyle() + vcl::csOpaque);
    Font().SetName("Arial");
    Font().SetColor(gfx::clBlack);
    Font().SetStyle(0);
    Font().SetHeight(14);
    SetHeight(20);
    SetBorderStyle(vcl::bsNone);
    FEditTransparent = true;
    FDefaultFont.Assign(Font());
    FDefaultFont.OnChange = [this]() {
        if (FIndex == -1) Font().Assign(FDefaultFont);
    };
}

TbsSkinCustomEdit::~TbsSkinCustomEdit() {
    FDefaultFont.OnChange = nullptr;
}

void TbsSkinCustomEdit::CreateParams(vcl::TCreateParams& Params) {
    TbsCustomEdit::CreateParams(Params);
    // The control colours stay transparent; the window itself is not.
    Params.ExStyle &= ~win::WS_EX_TRANSPARENT;
    Params.Style &= ~win::WS_BORDER;
    Params.Style &= ~(vcl::ES_RIGHT | vcl::ES_CENTER);
    if (FAlignment == vcl::taRightJustify) Params.Style |= vcl::ES_RIGHT;
    if (FAlignment == vcl::taCenter) Params.Style |= vcl::ES_CENTER;
}

void TbsSkinCustomEdit::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsCustomEdit::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) FImages = nullptr;
}

void TbsSkinCustomEdit::Loaded() {
    TbsCustomEdit::Loaded();
    if (FSD && FSD->ResourceStrData()) Font().SetCharset(FSD->ResourceStrData()->CharSet());
}

// ---- skin link ----------------------------------------------------------------------------------

void TbsSkinCustomEdit::SetSkinData(TbsSkinData* value) {
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !ComponentState().Contains(vcl::csDesigning)) ChangeSkinData();
}

void TbsSkinCustomEdit::GetSkinData() {
    if (!FSD || FSD->Empty) {
        FIndex = -1;
        return;
    }
    FIndex = FSD->GetControlIndex(FSkinDataName);
    if (FIndex == -1) return;
    const auto* r =
        dynamic_cast<const TbsDataSkinEditControl*>(FSD->CtrlList[std::size_t(FIndex)].get());
    if (!r) return;
    Picture = PictureOf(FSD, r->PictureIndex);
    SkinRect = r->SkinRect;
    ActiveSkinRect = r->ActiveSkinRect.IsEmpty() ? r->SkinRect : r->ActiveSkinRect;
    LOffset = r->LTPoint.X;
    ROffset = SkinRect.Width() - r->RTPoint.X;
    ClRect = r->ClRect;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    DisabledFontColor = r->DisabledFontColor;
    ActiveFontColor = r->ActiveFontColor;
    ButtonRectRec = r->ButtonRect;
    ActiveButtonRect = r->ActiveButtonRect;
    DownButtonRect = r->DownButtonRect.IsEmpty() ? r->ActiveButtonRect : r->DownButtonRect;
    UnEnabledButtonRect = r->UnEnabledButtonRect;
    StretchEffect = r->StretchEffect;
}

void TbsSkinCustomEdit::ChangeSkinData() {
    GetSkinData();
    if (FIndex == -1) {
        Font().Assign(FDefaultFont);
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else {
        if (FUseSkinFont) {
            Font().SetName(FontName);
            Font().SetStyle(FontStyle);
            SetHeight(SkinRect.Height());
            Font().SetHeight(FontHeight);
        } else {
            Font().Assign(FDefaultFont);
        }
        Font().SetColor(Focused() ? ActiveFontColor : FontColor);
    }
    Font().SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                    : FDefaultFont.Charset());
    if (HandleAllocated()) RecreateWnd();
    if (FIndex == -1)
        Font().SetColor(FDefaultFont.Color());
    else
        Font().SetColor(Focused() ? ActiveFontColor : FontColor);
    if (!FUseSkinFont) SetHeight(TextFitHeight());
    RepaintFrame();
    if (FImages) {
        CalcImageButtons(true);
        Invalidate();
    }
}

// ---- properties ---------------------------------------------------------------------------------

void TbsSkinCustomEdit::SetDefaultColor(gfx::TColor value) {
    FDefaultColor = value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomEdit::SetDefaultFont(const gfx::TFont& value) {
    FDefaultFont.Assign(value);
    if (FIndex == -1) Font().Assign(value);
}

void TbsSkinCustomEdit::SetDefaultWidth(int value) {
    FDefaultWidth = value;
    if (FIndex == -1 && value > 0) SetWidth(value);
}

void TbsSkinCustomEdit::SetDefaultHeight(int value) {
    FDefaultHeight = value;
    if (FIndex == -1 && value > 0 && FUseSkinFont)
        SetHeight(value);
    else
        SetHeight(TextFitHeight());
}

void TbsSkinCustomEdit::SetButtonMode(bool value) {
    FButtonMode = value;
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetAlignment(vcl::TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    TbsCustomEdit::SetAlignment(value);
    if (HandleAllocated()) RecreateWnd();
}

void TbsSkinCustomEdit::SetImages(vcl::TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    CalcImageButtons(true);
}

void TbsSkinCustomEdit::SetLeftImageIndex(int value) {
    FLeftImageIndex = value;
    CalcImageButtons(true);
}

void TbsSkinCustomEdit::SetRightImageIndex(int value) {
    FRightImageIndex = value;
    CalcImageButtons(true);
}

// ---- geometry -----------------------------------------------------------------------------------

int TbsSkinCustomEdit::TextFitHeight() {
    GetSkinData();
    const int line = vcl::LineHeightOf(Font());
    return FIndex == -1 ? line + 4 : line + SkinRect.Height() - ClRect.Height();
}

void TbsSkinCustomEdit::CalcRects() {
    const int w = Width(), h = Height();
    if (FIndex == -1) {
        if (FButtonMode) {
            FButtonRect = TRect{w - h, 0, w, h};
            FEditRect = TRect{2, 2, FButtonRect.Left - 2, h - 2};
        } else {
            FEditRect = TRect{2, 2, w - 2, h - 2};
        }
        return;
    }
    const int d = w - SkinRect.Width();
    FEditRect = ClRect;
    FEditRect.Right += d;
    FButtonRect = ButtonRectRec;
    if (ButtonRectRec.Left >= SkinRect.Width() - ROffset) {
        FButtonRect.Left += d;
        FButtonRect.Right += d;
    }
    if (!FUseSkinFont) {
        const int e = h - SkinRect.Height();
        FEditRect.Bottom += e;
        FButtonRect.Bottom += e;
    }
}

void TbsSkinCustomEdit::CalcImageButtons(bool setFormatRect) {
    if (!FImages) return;
    LeftButton.R = RightButton.R = TRect{};
    TRect R = ClientRect();
    const int iw = FImages->Width();
    if (FLeftImageIndex >= 0) {
        LeftButton.R = TRect{R.Left, R.Top, R.Left + iw, R.Bottom};
        R.Left += iw + 2;
    }
    if (FRightImageIndex >= 0) {
        RightButton.R = TRect{R.Right - iw, R.Top, R.Right, R.Bottom};
        R.Right -= iw + 2;
    }
    if (setFormatRect && HandleAllocated()) Perform(vcl::EM_SETRECTNP, 0, win::PtrToParam(&R));
}

void TbsSkinCustomEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    GetSkinData();
    if ((AWidth != Width() || AHeight != Height()) && !(FIndex == -1 && FUseSkinFont))
        AHeight = FUseSkinFont ? SkinRect.Height() : TextFitHeight();
    if (Parent() && Align() != vcl::alNone) ATop = CentredChildTop(Parent(), ATop, AHeight);
    TbsCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
    RepaintFrame();
}

void TbsSkinCustomEdit::Invalidate() {
    if (!Parent() || !HandleAllocated()) return;
    FStopDraw = false;
    win::RedrawWindow(Handle(), nullptr, nullptr, win::RDW_ERASE | win::RDW_INVALIDATE);
}

void TbsSkinCustomEdit::RepaintFrame() {
    if (Parent() && HandleAllocated()) win::SendMessage(Handle(), win::WM_NCPAINT, 0, 0);
}

void TbsSkinCustomEdit::FocusColour() {
    if (FIndex == -1) return;
    Font().SetColor(Focused() || FMouseIn ? ActiveFontColor : FontColor);
}

// ---- messages -----------------------------------------------------------------------------------

void TbsSkinCustomEdit::Dispatch(vcl::TMessage& Message) {
    using namespace win;
    const bool designing = ComponentState().Contains(vcl::csDesigning);
    switch (Message.Msg) {
        case WM_NCCALCSIZE: {
            GetSkinData();
            TRect* r = Message.WParam
                           ? &ParamToPtr<NCCALCSIZE_PARAMS>(std::uint64_t(Message.LParam))->rgrc[0]
                           : ParamToPtr<TRect>(std::uint64_t(Message.LParam));
            if (FIndex == -1) {
                r->Left += 2;
                r->Top += 2;
                r->Bottom -= 2;
                r->Right -= FButtonMode ? Height() + 2 : 2;
            } else {
                r->Left += ClRect.Left;
                r->Top += ClRect.Top;
                r->Right -= SkinRect.Width() - ClRect.Right;
                r->Bottom -= SkinRect.Height() - ClRect.Bottom;
            }
            Message.Result = 0;
            return;
        }
        case WM_NCPAINT:
            NcPaint();
            Invalidate();
            return;
        case WM_ERASEBKGND:
            // The paint lays the background itself, under the text.
            Message.Result = 1;
            return;
        case CM_PAINTSKINFRAME:
            if (Message.WParam) {
                gfx::TBitmap B;
                B.SetSize(std::max(Width(), 1), std::max(Height(), 1));
                DrawFrameImage(B, false, true);
                gfx::BitBlt(ParamToDc(Message.WParam), 0, 0, Width(), Height(), B.Canvas().Handle(),
                            0, 0, gfx::SRCCOPY);
                Message.Result = kPaintSkinFrameDone;
            }
            return;
        case CM_PAINTSKINNC:
            if (Message.LParam != kPaintSkinNCKey) break;
            if (Message.WParam) {
                const auto dc = ParamToDc(Message.WParam);
                GetSkinData();
                CalcRects();
                gfx::ExcludeClipRect(dc, FEditRect.Left, FEditRect.Top, FEditRect.Right,
                                     FEditRect.Bottom);
                gfx::TBitmap B;
                B.SetSize(std::max(Width(), 1), std::max(Height(), 1));
                DrawFrameImage(B, false, true);
                gfx::BitBlt(dc, 0, 0, Width(), Height(), B.Canvas().Handle(), 0, 0, gfx::SRCCOPY);
            }
            Message.Result = kPaintSkinNCKey;
            return;
        case WM_SIZE:
            TbsCustomEdit::Dispatch(Message);
            CalcImageButtons(true);
            RepaintFrame();
            return;
        case WM_SETFOCUS:
            TbsCustomEdit::Dispatch(Message);
            RepaintFrame();
            Invalidate();
            if (!FMouseIn && FIndex != -1) Font().SetColor(ActiveFontColor);
            if (FImages) CalcImageButtons(true);
            return;
        case WM_KILLFOCUS:
            TbsCustomEdit::Dispatch(Message);
            RepaintFrame();
            Invalidate();
            if (!FMouseIn && FIndex != -1) Font().SetColor(FontColor);
            if (FImages) CalcImageButtons(true);
            return;
        case vcl::CM_MOUSEENTER:
            TbsCustomEdit::Dispatch(Message);
            FMouseIn = true;
            if (!Focused() && FIndex != -1) {
                Font().SetColor(ActiveFontColor);
                if (FImages) CalcImageButtons(true);
                RepaintFrame();
                Invalidate();
            }
            if (OnMouseEnter) OnMouseEnter(this);
            return;
        case vcl::CM_MOUSELEAVE:
            TbsCustomEdit::Dispatch(Message);
            FMouseIn = false;
            if (!Focused() && FIndex != -1) {
                Font().SetColor(FontColor);
                if (FImages) CalcImageButtons(true);
                RepaintFrame();
                Invalidate();
            }
            if (FButtonDown || FButtonActive) {
                FButtonDown = FButtonActive = false;
                RepaintFrame();
                Invalidate();
            }
            if (FImages) {
                for (TbsCBButtonX* b : {&LeftButton, &RightButton})
                    if (b->MouseIn) {
                        b->MouseIn = false;
                        Invalidate();
                    }
            }
            if (OnMouseLeave) OnMouseLeave(this);
            return;
        case vcl::CM_ENABLEDCHANGED:
            TbsCustomEdit::Dispatch(Message);
            Invalidate();
            return;
        case vcl::CM_FONTCHANGED:
            TbsCustomEdit::Dispatch(Message);
            if (!FUseSkinFont && !(designing && ComponentState().Contains(vcl::csLoading))) {
                SetHeight(TextFitHeight());
                if (FIndex == -1 && HandleAllocated()) RecreateWnd();
            }
            return;
        case WM_MOUSEMOVE:
            TbsCustomEdit::Dispatch(Message);
            if (FButtonMode && FButtonActive) {
                FButtonActive = false;
                RepaintFrame();
            }
            return;
        case WM_NCHITTEST: {
            if (designing) break;
            const TPoint client = ScreenToClient(PointFromParam(Message.LParam));
            if (FImages) {
                CalcImageButtons(false);
                if (FLeftImageIndex >= 0 && LeftButton.R.Contains(client.X, client.Y)) {
                    if (!LeftButton.MouseIn) {
                        LeftButton.MouseIn = true;
                        Invalidate();
                    }
                    Message.Result = kHitLeftImageButton;
                    return;
                }
                if (FRightImageIndex >= 0 && RightButton.R.Contains(client.X, client.Y)) {
                    if (!RightButton.MouseIn) {
                        RightButton.MouseIn = true;
                        Invalidate();
                    }
                    Message.Result = kHitRightImageButton;
                    return;
                }
                for (TbsCBButtonX* b : {&LeftButton, &RightButton})
                    if (b->MouseIn) {
                        b->MouseIn = false;
                        Invalidate();
                    }
            }
            if (FButtonMode) {
                GetSkinData();
                const TPoint shift = FIndex == -1 ? TPoint{2, 2} : TPoint{ClRect.Left, ClRect.Top};
                const TPoint p{client.X + shift.X, client.Y + shift.Y};
                CalcRects();
                if (FButtonRect.Contains(p.X, p.Y)) {
                    Message.Result = kHitEditButton;
                    return;
                }
                if (!FEditRect.Contains(p.X, p.Y)) {
                    Message.Result = kHitEditFrame;
                    return;
                }
            }
            break;
        }
        case WM_NCMOUSEMOVE:
            if (!FButtonMode || designing) break;
            if (int(Message.WParam) == kHitEditButton) {
                if (!FButtonActive) {
                    FButtonActive = true;
                    RepaintFrame();
                    Invalidate();
                }
                return;
            }
            if (FButtonActive) {
                FButtonActive = false;
                RepaintFrame();
                Invalidate();
            }
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: {
            const int hit = int(Message.WParam);
            const bool dbl = Message.Msg == WM_NCLBUTTONDBLCLK;
            if (FImages && (hit == kHitLeftImageButton || hit == kHitRightImageButton)) {
                (hit == kHitLeftImageButton ? LeftButton : RightButton).Down = true;
                if (!Focused() && CanFocus()) SetFocus();
                if (dbl)
                    Repaint();
                else
                    Invalidate();
                return;
            }
            if (FButtonMode && !designing && hit == kHitEditButton) {
                FButtonDown = true;
                RepaintFrame();
                return;
            }
            break;
        }
        case WM_NCLBUTTONUP: {
            const int hit = int(Message.WParam);
            if (FImages && hit == kHitLeftImageButton && LeftButton.Down) {
                LeftButton.Down = false;
                Invalidate();
                if (OnLeftButtonClick) OnLeftButtonClick(this);
                return;
            }
            if (FImages && hit == kHitRightImageButton && RightButton.Down) {
                RightButton.Down = false;
                Invalidate();
                if (OnRightButtonClick) OnRightButtonClick(this);
                return;
            }
            if (FButtonMode && !designing && hit == kHitEditButton) {
                FButtonDown = false;
                RepaintFrame();
                if (!Focused() && CanFocus()) SetFocus();
                if (OnButtonClick) OnButtonClick(this);
                return;
            }
            break;
        }
        default:
            break;
    }
    TbsCustomEdit::Dispatch(Message);
}

// ---- painting -----------------------------------------------------------------------------------

void TbsSkinCustomEdit::NcPaint() {
    if (!HandleAllocated() || Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    CalcRects();
    gfx::TBitmap B;
    B.SetSize(Width(), Height());
    DrawFrameImage(B, false, true);
    const gfx::HDC dc = win::GetWindowDC(Handle());
    gfx::ExcludeClipRect(dc, FEditRect.Left, FEditRect.Top, FEditRect.Right, FEditRect.Bottom);
    gfx::BitBlt(dc, 0, 0, Width(), Height(), B.Canvas().Handle(), 0, 0, gfx::SRCCOPY);
    win::ReleaseDC(Handle(), dc);
}

void TbsSkinCustomEdit::DrawDefaultFrame(gfx::TBitmap& B, bool withButton) {
    gfx::TCanvas& C = B.Canvas();
    C.Brush().SetStyle(gfx::bsSolid);
    C.Brush().SetColor(FDefaultColor);
    C.FillRect(TRect{0, 0, Width(), Height()});
    const int a = FButtonMode ? Width() - FButtonRect.Left : 0;
    TRect R{0, 0, Width() - a, Height()};
    C.Brush().SetColor(gfx::clBtnShadow);
    C.FrameRect(R);
    R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    C.Brush().SetColor(gfx::clBtnFace);
    C.FrameRect(R);
    if (!FButtonMode || !withButton) return;
    if (FButtonDown && FButtonActive)
        FramedFill(C, FButtonRect, kNoSkin.Frame, kNoSkin.DownFill);
    else if (FButtonActive)
        FramedFill(C, FButtonRect, kNoSkin.Frame, kNoSkin.HotFill);
    else
        FramedFill(C, FButtonRect, gfx::clBtnShadow, gfx::clBtnFace);
}

void TbsSkinCustomEdit::DrawFrameImage(gfx::TBitmap& B, bool normalOnly, bool withButton) {
    if (Width() <= 0 || Height() <= 0) return;
    B.SetSize(Width(), Height());
    if (FIndex == -1 || !Picture) {
        DrawDefaultFrame(B, withButton);
        return;
    }
    const TRect state = !normalOnly && (FMouseIn || Focused()) ? ActiveSkinRect : SkinRect;
    if (FUseSkinFont) {
        gfx::TBitmap strip;
        BuildHorzSkinStrip(LOffset, ROffset, strip, *Picture, state, Width(), Height(),
                           StretchEffect);
        B.Canvas().Draw(0, 0, strip);
        if (!FButtonMode || !withButton) return;
        TRect src;
        if (!Enabled() && !UnEnabledButtonRect.IsEmpty())
            src = UnEnabledButtonRect;
        else if (FButtonDown && FButtonActive)
            src = DownButtonRect;
        else if (FButtonActive)
            src = ActiveButtonRect;
        if (!src.IsEmpty()) B.Canvas().CopyRect(FButtonRect, Picture->Canvas(), src);
        return;
    }
    BuildNineSliceFromRect(B, *Picture, state, ClRect, false);
    if (FButtonMode && withButton) DrawSkinEditButton(B);
}

void TbsSkinCustomEdit::DrawSkinEditButton(gfx::TBitmap& B) {
    if (!FSD) return;
    int i = FSD->GetControlIndex("editbutton");
    if (i < 0) i = FSD->GetControlIndex("resizebutton");
    if (i < 0) return;
    const auto* rec =
        dynamic_cast<const TbsDataSkinButtonControl*>(FSD->CtrlList[std::size_t(i)].get());
    gfx::TBitmap* picture = rec ? PictureOf(FSD, rec->PictureIndex) : nullptr;
    if (!picture) return;
    const TRect active = rec->ActiveSkinRect.IsEmpty() ? rec->SkinRect : rec->ActiveSkinRect;
    const TRect down = rec->DownSkinRect.IsEmpty() ? active : rec->DownSkinRect;
    const TRect src = FButtonDown && FButtonActive ? down : FButtonActive ? active : rec->SkinRect;
    const int w = FButtonRect.Width(), h = FButtonRect.Height();
    const int dx = w - rec->SkinRect.Width(), dy = h - rec->SkinRect.Height();
    gfx::TBitmap b;
    b.SetSize(w, h);
    BuildNineSliceImage(
        rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, rec->ClRect, rec->LTPoint,
        TPoint{rec->RTPoint.X + dx, rec->RTPoint.Y}, TPoint{rec->LBPoint.X, rec->LBPoint.Y + dy},
        TPoint{rec->RBPoint.X + dx, rec->RBPoint.Y + dy},
        TRect{rec->ClRect.Left, rec->ClRect.Top, rec->ClRect.Right + dx, rec->ClRect.Bottom + dy},
        b, *picture, src, w, h, true, rec->LeftStretch, rec->TopStretch, rec->RightStretch,
        rec->BottomStretch, rec->StretchEffect, rec->StretchType);
    B.Canvas().Draw(FButtonRect.Left, FButtonRect.Top, b);
}

void TbsSkinCustomEdit::PaintClientBackground(gfx::HDC DC) {
    if (FEditRect.Width() < 1 || FEditRect.Height() < 1) return;
    const int w = FEditRect.Width(), h = FEditRect.Height();
    if (FIndex == -1 || !Picture) {
        gfx::FillRect(DC, TRect{0, 0, w, h}, gfx::CreateSolidBrush(FDefaultColor));
        return;
    }
    const TRect state = FMouseIn || Focused() ? ActiveSkinRect : SkinRect;
    const TRect src{state.Left + ClRect.Left, state.Top + ClRect.Top,
                    state.Left + ClRect.Left + ClRect.Width(),
                    state.Top + ClRect.Top + ClRect.Height()};
    const int left = std::max(0, LOffset - ClRect.Left);
    const int right = std::max(0, ClRect.Right + ROffset - SkinRect.Width());
    gfx::TBitmap strip;
    BuildHorzSkinStrip(left, right, strip, *Picture, src, w, h, StretchEffect);
    if (FUseSkinFont)
        gfx::BitBlt(DC, 0, 0, strip.Width(), strip.Height(), strip.Canvas().Handle(), 0, 0,
                    gfx::SRCCOPY);
    else
        gfx::StretchBlt(DC, 0, 0, w, h, strip.Canvas().Handle(), 0, 0, strip.Width(),
                        strip.Height(), gfx::SRCCOPY);
}

void TbsSkinCustomEdit::PaintImageButtons(gfx::HDC DC) {
    if (!FImages) return;
    CalcImageButtons(false);
    const int count = FImages->Count();
    auto in = [count](int i) { return i >= 0 && i < count; };
    auto paint = [&](const TbsCBButtonX& b, int normal, int hot, int down) {
        if (!in(normal)) return;
        int image = normal;
        if (b.Pressed() && in(down))
            image = down;
        else if (b.MouseIn && in(hot))
            image = hot;
        const int y = std::max(b.R.Top, b.R.Top + b.R.Height() / 2 - FImages->Height() / 2);
        gfx::TCanvas C;
        C.SetHandle(DC);
        FImages->Draw(C, b.R.Left, y, image, Enabled());
        C.SetHandle({});
    };
    paint(LeftButton, FLeftImageIndex, LeftImageHotIndex, LeftImageDownIndex);
    paint(RightButton, FRightImageIndex, RightImageHotIndex, RightImageDownIndex);
}

void TbsSkinCustomEdit::SelectTextFont(gfx::TFont& font, gfx::TColor skinColor) {
    if (FIndex != -1 && FUseSkinFont) {
        font.SetName(FontName);
        font.SetHeight(FontHeight);
        font.SetColor(skinColor);
        font.SetStyle(FontStyle);
    } else {
        font.Assign(FDefaultFont);
        if (skinColor == DisabledFontColor)
            font.SetColor(FIndex == -1 ? gfx::clGrayText : DisabledFontColor);
    }
    font.SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                  : FDefaultFont.Charset());
}

void TbsSkinCustomEdit::PaintDisabledText(gfx::HDC DC) {
    gfx::TCanvas C;
    C.SetHandle(DC);
    SelectTextFont(C.Font(), DisabledFontColor);
    if (FIndex == -1) C.Font().SetColor(gfx::clGrayText);
    const TRect R{0, 0, FEditRect.Width(), FEditRect.Height()};
    const int tw = C.TextWidth(Text());
    int x = 2;
    if (FAlignment == vcl::taRightJustify) x = R.Right - 1 - tw;
    if (FAlignment == vcl::taCenter) x = R.Width() / 2 - tw / 2;
    C.Brush().SetStyle(gfx::bsClear);
    C.TextRect(R, x, 0, Text());
    C.SetHandle({});
}

void TbsSkinCustomEdit::PaintWindow(gfx::HDC DC) {
    GetSkinData();
    CalcRects();
    PaintClientBackground(DC);
    PaintImageButtons(DC);
    if (Enabled())
        TbsCustomEdit::PaintWindow(DC);
    else
        PaintDisabledText(DC);
}

void TbsSkinCustomEdit::PaintSkinTo(gfx::TCanvas& C, int X, int Y, const std::string& AText) {
    GetSkinData();
    if (Width() <= 0 || Height() <= 0) return;
    CalcRects();
    gfx::TBitmap B;
    B.SetSize(Width(), Height());
    if (FIndex == -1 || !Picture) {
        DrawDefaultFrame(B, true);
        B.Canvas().Brush().SetColor(FDefaultColor);
    } else if (FUseSkinFont) {
        gfx::TBitmap strip;
        BuildHorzSkinStrip(LOffset, ROffset, strip, *Picture, SkinRect, Width(), Height(),
                           StretchEffect);
        B.Canvas().Draw(0, 0, strip);
    } else {
        BuildNineSliceFromRect(B, *Picture, SkinRect, ClRect, false);
        if (FButtonMode) DrawSkinEditButton(B);
    }
    gfx::TCanvas& BC = B.Canvas();
    if (FIndex != -1 && FUseSkinFont)
        SelectTextFont(BC.Font(), FontColor);
    else
        BC.Font().Assign(FDefaultFont);
    TRect R = FEditRect;
    if (FImages && FLeftImageIndex >= 0) R.Left += FImages->Width() + 2;
    if (FImages && FRightImageIndex >= 0) R.Right -= FImages->Width() + 2;
    const int tw = BC.TextWidth(AText);
    int x = R.Left + 2;
    if (FAlignment == vcl::taRightJustify) x = R.Right - tw;
    if (FAlignment == vcl::taCenter) x = R.Left + 2 + R.Width() / 2 - tw / 2;
    BC.Brush().SetStyle(gfx::bsClear);
    BC.TextRect(R, x, R.Top, AText);
    C.Draw(X, Y, B);
}

}  // namespace skin
