#include "skin/controls/menu_speed_button.h"

#include <string_view>

#include "skin/core/drawing_routines.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_messages.h"
#include "skin/core/skin_records.h"

namespace skin {

namespace {

constexpr int kStrip = 15;

bool IsToolRecordName(std::string_view name) {
    return name == "resizebutton" || name == "resizetoolbutton" || name == "toolbutton" ||
           name == "bigtoolbutton";
}

// The further picture a record names, or null.
gfx::TBitmap* RecordPicture(TbsSkinData& sd, const TbsDataSkinControl& rec) {
    if (rec.PictureIndex < 0 || rec.PictureIndex >= int(sd.FActivePictures.size())) return nullptr;
    gfx::TBitmap* p = sd.FActivePictures[std::size_t(rec.PictureIndex)].get();
    return p && !p->Empty() ? p : nullptr;
}

// The button record of that name in the skin, or null.
const TbsDataSkinButtonControl* ButtonRecord(TbsSkinData& sd, std::string_view name) {
    const int i = sd.GetControlIndex(name);
    if (i < 0) return nullptr;
    return dynamic_cast<const TbsDataSkinButtonControl*>(sd.CtrlList[std::size_t(i)].get());
}

// The normal, hot or pressed picture of a button record, empty ones falling back as the speed
// button's copy does.
gfx::TRect StateRect(const TbsDataSkinButtonControl& rec, bool pressed, bool hot) {
    const gfx::TRect active = rec.ActiveSkinRect.IsEmpty() ? rec.SkinRect : rec.ActiveSkinRect;
    const gfx::TRect down = rec.DownSkinRect.IsEmpty() ? active : rec.DownSkinRect;
    return pressed ? down : hot ? active : rec.SkinRect;
}

// State picture `state` of a nine-slice record over `dest` of B, the record's corner points and
// client rectangle moved to dest's size.
void DrawRecordPart(gfx::TBitmap& B, gfx::TBitmap& picture, const TbsDataSkinCustomControl& rec,
                    const gfx::TRect& state, const gfx::TRect& dest) {
    if (dest.IsEmpty() || state.IsEmpty()) return;
    const int dx = dest.Width() - rec.SkinRect.Width();
    const int dy = dest.Height() - rec.SkinRect.Height();
    const gfx::TPoint rt{rec.RTPoint.X + dx, rec.RTPoint.Y};
    const gfx::TPoint lb{rec.LBPoint.X, rec.LBPoint.Y + dy};
    const gfx::TPoint rb{rec.RBPoint.X + dx, rec.RBPoint.Y + dy};
    const gfx::TRect cl{rec.ClRect.Left, rec.ClRect.Top, rec.ClRect.Right + dx,
                        rec.ClRect.Bottom + dy};
    gfx::TBitmap image;
    BuildNineSliceImage(rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint, rec.ClRect, rec.LTPoint,
                        rt, lb, rb, cl, image, picture, state, dest.Width(), dest.Height(), true,
                        rec.LeftStretch, rec.TopStretch, rec.RightStretch, rec.BottomStretch,
                        rec.StretchEffect, rec.StretchType);
    B.Canvas().Draw(dest.Left, dest.Top, image);
}

// State picture `state` stretched over `dest` of B as a nine-slice whose borders are clRect's
// margins.
void DrawRectPart(gfx::TBitmap& B, gfx::TBitmap& picture, const gfx::TRect& state,
                  const gfx::TRect& clRect, const gfx::TRect& dest) {
    if (dest.IsEmpty() || state.IsEmpty()) return;
    gfx::TBitmap image;
    image.SetSize(dest.Width(), dest.Height());
    BuildNineSliceFromRect(image, picture, state, clRect, true);
    B.Canvas().Draw(dest.Left, dest.Top, image);
}

}  // namespace

TbsSkinMenuSpeedButton::TbsSkinMenuSpeedButton(vcl::TComponent* AOwner)
    : TbsSkinSpeedButton(AOwner) {
    SetSkinDataName("toolmenubutton");
}

void TbsSkinMenuSpeedButton::SetNewStyle(bool value) {
    FNewStyle = value;
    if (value) SetSkinDataName("resizetoolbutton");
}

void TbsSkinMenuSpeedButton::SetTrackPosition(TbsTrackPosition value) {
    FTrackPosition = value;
    Repaint();
}

void TbsSkinMenuSpeedButton::SetTrackButtonMode(bool value) {
    FTrackButtonMode = value;
    if (FIndex == -1) Repaint();
}

void TbsSkinMenuSpeedButton::SetSkinPopupMenu(TbsSkinDropMenu* value) {
    FSkinPopupMenu = value;
    if (value) value->MenuComponent()->FreeNotification(this);
}

void TbsSkinMenuSpeedButton::SetSkinImagesMenu(TbsSkinDropImagesMenu* value) {
    TbsSkinSpeedButton::SetSkinImagesMenu(value);
    if (value) value->OnInternalChange = [this](vcl::TObject*) { Repaint(); };
    Repaint();
}

void TbsSkinMenuSpeedButton::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    TbsSkinSpeedButton::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && FSkinPopupMenu &&
        AComponent == FSkinPopupMenu->MenuComponent())
        FSkinPopupMenu = nullptr;
}

void TbsSkinMenuSpeedButton::GetSkinData() {
    TbsSkinSpeedButton::GetSkinData();
    if (FIndex == -1) return;
    if (auto* r = dynamic_cast<TbsDataSkinMenuButtonControl*>(
            SkinData()->CtrlList[std::size_t(FIndex)].get()))
        TrackButtonRect = r->TrackButtonRect;
}

// ---- tracking -----------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::Dispatch(vcl::TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSESKINMENU:
            CloseTrack();
            return;
        case vcl::CM_MOUSEENTER:
        case vcl::CM_MOUSELEAVE:
            // While a menu is open the button stays pressed whatever the pointer does.
            if (FMenuTracked) {
                FMouseIn = m.Msg == vcl::CM_MOUSEENTER;
                return;
            }
            TbsSkinSpeedButton::Dispatch(m);
            return;
        default:
            TbsSkinSpeedButton::Dispatch(m);
    }
}

bool TbsSkinMenuSpeedButton::UsesTrackButtonRect() const {
    return FIndex != -1 && !IsToolRecordName(SkinDataName());
}

gfx::TRect TbsSkinMenuSpeedButton::Strip() const {
    if (FNewStyle && FTrackPosition == bstpBottom) return {0, Height() - kStrip, Width(), Height()};
    return {Width() - kStrip, 0, Width(), Height()};
}

gfx::TRect TbsSkinMenuSpeedButton::MarkerPart() const {
    if (!UsesTrackButtonRect()) return Strip();
    if (ResizeMode == kResizeHorz) return TrackButtonRect.Offset(Width() - SkinRect.Width(), 0);
    if (ResizeMode == kResizeVert) return TrackButtonRect.Offset(0, Height() - SkinRect.Height());
    if (ResizeMode != kResizeFree) return TrackButtonRect;
    // A nine-slice record stretches its middle: the part keeps to the right edge, as with a
    // horizontal strip, and grows with the height when it runs to the bottom.
    gfx::TRect part = TrackButtonRect.Offset(Width() - SkinRect.Width(), 0);
    if (part.Bottom >= SkinRect.Height()) part.Bottom += Height() - SkinRect.Height();
    return part;
}

gfx::TRect TbsSkinMenuSpeedButton::ContentPart() const {
    gfx::TRect r = ClientRect();
    if (FNewStyle && FTrackPosition == bstpBottom)
        r.Bottom -= kStrip;
    else
        r.Right -= kStrip;
    return r;
}

bool TbsSkinMenuSpeedButton::InTrackPart(int X, int Y) {
    if (!FSkinPopupMenu && !SkinImagesMenu()) return false;
    if (!FTrackButtonMode) return true;
    GetSkinData();
    return MarkerPart().Contains(X, Y);
}

void TbsSkinMenuSpeedButton::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                                       int Y) {
    if (Button == vcl::mbLeft) {
        FMenuTracked = InTrackPart(X, Y);
        FMouseIn = true;
        if (FMenuTracked) {
            if (!FDown) SetDown(true);
            DropMenus();
            return;
        }
    }
    TbsSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X,
                                     int Y) {
    if (FMenuTracked) return;
    TbsSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMenuSpeedButton::DropMenus() {
    const gfx::TPoint origin = ClientToScreen({0, 0});
    const gfx::TRect r = gfx::Bounds(origin.X, origin.Y, Width(), Height());
    bool opened = false;
    if (FSkinPopupMenu) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        if (FSkinPopupMenu) opened = FSkinPopupMenu->PopupFromRect2(this, r, false) || opened;
    }
    if (SkinImagesMenu()) {
        if (OnShowTrackMenu) OnShowTrackMenu(this);
        if (TbsSkinDropImagesMenu* menu = SkinImagesMenu()) {
            menu->OnInternalMenuClose = [this](vcl::TObject*) { CloseTrack(); };
            opened = menu->PopupFromRect(r) || opened;
        }
    }
    // A menu that did not open sends no close: the button would stay down for good.
    if (!opened && FMenuTracked) CloseTrack();
}

void TbsSkinMenuSpeedButton::CloseTrack() {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Repaint();
}

// ---- painting -----------------------------------------------------------------------------------

void TbsSkinMenuSpeedButton::Paint() {
    if (FMouseIn || FDown || FMenuTracked || !Transparent()) {
        TbsSkinSpeedButton::Paint();
        return;
    }
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    const bool menuRecord =
        UsesTrackButtonRect() && dynamic_cast<TbsDataSkinMenuButtonControl*>(
                                     SkinData()->CtrlList[std::size_t(FIndex)].get()) != nullptr;
    DrawTransparentContent(menuRecord ? NewClRect : ContentPart());
    gfx::TCanvas& c = Canvas();
    const gfx::TColor text =
        FIndex == -1 ? gfx::TColor(gfx::clBtnText) : SkinData()->SkinColors()->cBtnText;
    DrawMarker(c, MarkerPart(), false, false, true, text);
}

void TbsSkinMenuSpeedButton::DrawMarker(gfx::TCanvas& c, const gfx::TRect& part, bool pressed,
                                        bool hot, bool flat, gfx::TColor textColor) {
    if (FDrawStandardArrow) {
        DrawDirArrow(c, part, textColor, FArrowType);
        return;
    }
    if (FIndex != -1 && Picture && !MenuMarkerRect.IsEmpty()) {
        const gfx::TRect src = pressed ? MenuMarkerDownRect
                               : hot   ? MenuMarkerActiveRect
                               : flat  ? MenuMarkerFlatRect
                                       : MenuMarkerRect;
        gfx::TBitmap marker;
        marker.SetSize(src.Width(), src.Height());
        marker.Canvas().CopyRect({0, 0, src.Width(), src.Height()}, Picture->Canvas(), src);
        marker.SetTransparentMode(gfx::tmFixed);
        marker.SetTransparentColor(MenuMarkerTransparentColor);
        marker.SetTransparent(true);
        c.Draw(part.Left + (part.Width() - src.Width()) / 2,
               part.Top + (part.Height() - src.Height()) / 2, marker);
        return;
    }
    DrawDropArrow3(c, part, FMenuTracked ? DownFontColor : textColor);
}

void TbsSkinMenuSpeedButton::CreateControlDefaultImage(gfx::TBitmap& B) {
    gfx::TCanvas& c = B.Canvas();
    const bool pressed = Pressed();
    const gfx::TRect strip = Strip();
    if (FTrackButtonMode && (!FNewStyle || FMouseIn)) {
        const gfx::TRect main = ContentPart();
        bool mainDown = false, mainHot = false, stripDown = false, stripHot = false;
        if (FMenuTracked) {
            mainHot = true;
            stripDown = true;
        } else if (pressed) {
            mainDown = true;
            (FNewStyle ? stripHot : stripDown) = true;
        } else if (FMouseIn) {
            mainHot = stripHot = true;
        }
        DrawDefaultFace(c, main, mainDown, mainHot, Flat());
        DrawDefaultFace(c, strip, stripDown, stripHot, Flat());
    } else {
        DrawDefaultFace(c, ClientRect(), pressed, FMouseIn, Flat());
    }
    SetDefaultLookFont(c);
    const gfx::TRect content = ContentPart();
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, content, pressed, FMouseIn, drawDefault);
    if (drawDefault) DrawContent(c, content, FDown && FMouseIn, pressed, FMouseIn);
    const int shift = pressed ? 2 : 0;
    DrawDropArrow3(c, strip.Offset(shift, shift), gfx::clBtnText);
}

void TbsSkinMenuSpeedButton::CreateButtonImage(gfx::TBitmap& B, const gfx::TRect& R, bool ADown,
                                               bool AMouseIn) {
    const std::string& name = SkinDataName();
    const bool pressed = ADown && AMouseIn;
    if (name == "resizetoolbutton" && FNewStyle) {
        DrawNewStyleBackground(B, pressed, AMouseIn);
        return;
    }
    if (name == "toolbutton" || name == "bigtoolbutton") {
        DrawToolBackground(B, false, pressed, AMouseIn);
        DrawToolContent(B, ContentPart(), Strip(), pressed || FMenuTracked ? 2 : 0, pressed,
                        AMouseIn);
        return;
    }
    if (name == "resizebutton" || name == "resizetoolbutton") {
        DrawToolBackground(B, true, pressed, AMouseIn);
        DrawToolContent(B, ContentPart(), Strip(), pressed || FMenuTracked ? 2 : 0, pressed,
                        AMouseIn);
        return;
    }
    // A menu-button record: the speed button's picture, and while the menu is open in track
    // mode the hot face with the pressed drop-down part.
    const bool trackedPart =
        FMenuTracked && FTrackButtonMode && !TrackButtonRect.IsEmpty() && !DownSkinRect.IsEmpty();
    if (trackedPart) {
        TbsSkinSpeedButton::CreateButtonImage(B, ActiveSkinRect, false, true);
        if (Picture) {
            const gfx::TRect part = MarkerPart();
            B.Canvas().CopyRect(part, Picture->Canvas(),
                                TrackButtonRect.Offset(DownSkinRect.Left, DownSkinRect.Top));
        }
    } else {
        TbsSkinSpeedButton::CreateButtonImage(B, R, ADown, AMouseIn);
    }
    if (!TrackButtonRect.IsEmpty())
        DrawMarker(B.Canvas(), MarkerPart(), pressed || FMenuTracked, AMouseIn, false,
                   B.Canvas().Font().Color());
}

void TbsSkinMenuSpeedButton::DrawToolBackground(gfx::TBitmap& B, bool ownGeometry, bool pressed,
                                                bool hot) {
    if (!Picture || FIndex == -1) return;
    const auto* rec = dynamic_cast<const TbsDataSkinCustomControl*>(
        SkinData()->CtrlList[std::size_t(FIndex)].get());
    if (!rec) return;
    auto part = [&](const gfx::TRect& state, const gfx::TRect& dest) {
        if (ownGeometry)
            DrawRecordPart(B, *Picture, *rec, state, dest);
        else
            DrawRectPart(B, *Picture, state, ClRect, dest);
    };
    const gfx::TRect normal = Flat() ? gfx::TRect{} : SkinRect;
    if (!FTrackButtonMode) {
        part(pressed ? DownSkinRect : hot ? ActiveSkinRect : normal, ClientRect());
        return;
    }
    const gfx::TRect main{0, 0, Width() - kStrip, Height()};
    const gfx::TRect strip{Width() - kStrip, 0, Width(), Height()};
    if (FMenuTracked) {
        part(ActiveSkinRect, main);
        part(DownSkinRect, strip);
    } else if (pressed) {
        part(DownSkinRect, main);
        part(DownSkinRect, strip);
    } else if (hot) {
        part(ActiveSkinRect, main);
        part(ActiveSkinRect, strip);
    } else {
        part(normal, main);
        part(normal, strip);
    }
}

void TbsSkinMenuSpeedButton::DrawNewStyleBackground(gfx::TBitmap& B, bool pressed, bool hot) {
    TbsSkinData& sd = *SkinData();
    const TbsDataSkinButtonControl* rec = ButtonRecord(sd, "resizetoolbutton");
    if (!rec) rec = ButtonRecord(sd, "resizebutton");
    gfx::TBitmap* picture = rec ? RecordPicture(sd, *rec) : nullptr;
    // A skin with neither record gets no background and no content.
    if (!picture) return;
    const bool bottom = FTrackPosition == bstpBottom;
    const gfx::TRect strip = Strip();
    const bool mainPressed = pressed && !(FTrackButtonMode && FMenuTracked);
    const gfx::TRect mainState = StateRect(*rec, mainPressed, hot);
    if (FTrackButtonMode && hot) {
        const TbsDataSkinButtonControl* stripRec =
            ButtonRecord(sd, bottom ? "htracktoolbutton" : "vtracktoolbutton");
        gfx::TBitmap* stripPicture = stripRec ? RecordPicture(sd, *stripRec) : nullptr;
        if (stripPicture) {
            DrawRecordPart(B, *picture, *rec, mainState, ClientRect());
            DrawRecordPart(B, *stripPicture, *stripRec, StateRect(*stripRec, FMenuTracked, true),
                           strip);
        } else {
            DrawRecordPart(B, *picture, *rec, mainState, ContentPart());
            DrawRecordPart(B, *picture, *rec, StateRect(*rec, FMenuTracked, true), strip);
        }
    } else {
        DrawRecordPart(B, *picture, *rec, mainState, ClientRect());
    }
    const bool shifted = FTrackButtonMode ? FMenuTracked : pressed;
    DrawToolContent(B, ContentPart(), strip, shifted ? 1 : 0, pressed, hot);
}

void TbsSkinMenuSpeedButton::DrawToolContent(gfx::TBitmap& B, const gfx::TRect& content,
                                             const gfx::TRect& marker, int markerShift,
                                             bool pressed, bool hot) {
    gfx::TCanvas& c = B.Canvas();
    SetButtonFont(c);
    gfx::TColor color = pressed ? DownFontColor : !hot ? FontColor : ActiveFontColor;
    if (!Enabled())
        color = DisabledFontColor;
    else if (!UseSkinFontColor())
        color = DefaultFont().Color();
    c.Font().SetColor(color);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, content, pressed, hot, drawDefault);
    if (drawDefault) DrawContent(c, content, pressed, pressed, hot, true);
    DrawMarker(c, marker.Offset(markerShift, markerShift), pressed || FMenuTracked, hot, false,
               color);
}

}  // namespace skin
