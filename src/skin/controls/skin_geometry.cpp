#include "skin/controls/skin_geometry.h"

#include "skin/core/skin_content.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"
#include "skin/core/system_routines.h"

namespace skin {

gfx::TBitmap* TbsSkinGeometry::PictureAt(const TbsSkinContent& skin, int index) {
    if (index < 0 || index >= int(skin.FActivePictures.size())) return nullptr;
    return skin.FActivePictures[std::size_t(index)].get();
}

bool TbsSkinGeometry::CopySkinRecord(const TbsDataSkinControl& record, const TbsSkinContent& skin) {
    const auto* r = dynamic_cast<const TbsDataSkinCustomControl*>(&record);
    NineSliceRecord = r != nullptr;
    if (!r) {
        ResizeMode = kResizeFixed;
        Picture = nullptr;
        return false;
    }
    LTPt = r->LTPoint;
    RTPt = r->RTPoint;
    LBPt = r->LBPoint;
    RBPt = r->RBPoint;
    SkinRect = r->SkinRect;
    StretchEffect = r->StretchEffect;
    StretchType = r->StretchType;
    LeftStretch = r->LeftStretch;
    TopStretch = r->TopStretch;
    RightStretch = r->RightStretch;
    BottomStretch = r->BottomStretch;
    ClRect = r->ClRect;
    Picture = PictureAt(skin, r->PictureIndex);
    ResizeMode = ComputeResizeMode();
    return true;
}

int TbsSkinGeometry::ComputeResizeMode() const {
    if (RectWidthOf(SkinRect) <= 0 || RectHeightOf(SkinRect) <= 0) return kResizeNone;
    if (RBPt.X != 0 && RBPt.Y != 0) return kResizeFree;
    if (RTPt.X != 0 || RTPt.Y != 0) return kResizeHorz;
    if (LBPt.X != 0 || LBPt.Y != 0) return kResizeVert;
    return kResizeFixed;
}

void TbsSkinGeometry::FitSkinSizeTo(int& AWidth, int& AHeight, bool hasRecord) {
    if (ResizeMode == kResizeNone) return;
    if (ResizeMode == kResizeFixed) {
        if (!hasRecord || !NineSliceRecord) return;
        AWidth = RectWidthOf(SkinRect);
        AHeight = RectHeightOf(SkinRect);
        NewClRect = ClRect;
        return;
    }
    const int dx = AWidth - RectWidthOf(SkinRect);
    const int dy = AHeight - RectHeightOf(SkinRect);
    NewLTPoint = LTPt;
    switch (ResizeMode) {
        case kResizeFree:
            NewRTPoint = {RTPt.X + dx, RTPt.Y};
            NewLBPoint = {LBPt.X, LBPt.Y + dy};
            NewRBPoint = {RBPt.X + dx, RBPt.Y + dy};
            NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy};
            break;
        case kResizeHorz:
            AHeight = RectHeightOf(SkinRect);
            NewRTPoint = {RTPt.X + dx, RTPt.Y};
            NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom};
            break;
        case kResizeVert:
            AWidth = RectWidthOf(SkinRect);
            NewLBPoint = {LBPt.X, LBPt.Y + dy};
            NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dy};
            break;
        default:
            break;
    }
}

void TbsSkinGeometry::MapSkinRectAt(const TRect& R, TRect& NewR, int width, int height) const {
    const int w = RectWidthOf(SkinRect), h = RectHeightOf(SkinRect);
    const int dx = width - w, dy = height - h;
    NewR = R;
    switch (ResizeMode) {
        case kResizeFree: {
            const TRect lt{0, 0, LTPt.X, LTPt.Y};
            const TRect rt{RTPt.X, 0, w, RTPt.Y};
            const TRect lb{0, LBPt.Y, LBPt.X, h};
            const TRect rb{RBPt.X, RBPt.Y, w, h};
            if (RectInsideRect(R, lt)) return;
            if (RectInsideRect(R, rt)) {
                NewR = R.Offset(dx, 0);
                return;
            }
            if (RectInsideRect(R, lb)) {
                NewR = R.Offset(0, dy);
                return;
            }
            if (RectInsideRect(R, rb)) {
                NewR = R.Offset(dx, dy);
                return;
            }
            // The rectangle spans zones: each end moves with the zone it lies in.
            const TPoint tl{R.Left, R.Top}, br{R.Right, R.Bottom};
            auto in = [](const TRect& zone, TPoint p) { return PointInRectIncl(zone, p); };
            if (in(lt, tl) && in(rb, br)) {
                NewR.Right += dx;
                NewR.Bottom += dy;
            } else if (in(lt, tl) && in(rt, br)) {
                NewR.Right += dx;
            } else if (in(lb, tl) && in(rb, br)) {
                NewR = {R.Left, R.Top + dy, R.Right + dx, R.Bottom + dy};
            } else if (in(lt, tl) && in(lb, br)) {
                NewR.Bottom += dy;
            } else if (in(rt, tl) && in(rb, br)) {
                NewR = {R.Left + dx, R.Top, R.Right + dx, R.Bottom + dy};
            }
            break;
        }
        case kResizeHorz:
            if (R.Left <= LTPt.X && R.Right >= RTPt.X)
                NewR.Right += dx;
            else if (RTPt.X <= R.Left && RTPt.X < R.Right)
                NewR = R.Offset(dx, 0);
            break;
        case kResizeVert:
            if (R.Top <= LTPt.Y && R.Bottom >= LBPt.Y)
                NewR.Bottom += dy;
            else if (LBPt.Y <= R.Top && LBPt.Y < R.Bottom)
                NewR = R.Offset(0, dy);
            break;
        default:
            break;
    }
}

void TbsSkinGeometry::DrawSkinRectAt(gfx::TBitmap& B, gfx::TBitmap* APicture, const TRect& ARect,
                                     int width, int height, bool nineSlice) const {
    if (!APicture) return;
    switch (ResizeMode) {
        case kResizeFixed:
            B.SetSize(RectWidthOf(ARect), RectHeightOf(ARect));
            B.Canvas().CopyRect({0, 0, B.Width(), B.Height()}, APicture->Canvas(), ARect);
            break;
        case kResizeFree:
            if (nineSlice)
                BuildNineSliceImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint,
                                    NewLBPoint, NewRBPoint, NewClRect, B, *APicture, ARect, width,
                                    height, true, LeftStretch, TopStretch, RightStretch,
                                    BottomStretch, StretchEffect, StretchType);
            break;
        case kResizeHorz:
            BuildHorzSkinStrip(LTPt.X, RectWidthOf(SkinRect) - RTPt.X, B, *APicture, ARect, width,
                               height, StretchEffect);
            break;
        case kResizeVert:
            BuildVertSkinStrip(LTPt.Y, RectHeightOf(SkinRect) - LBPt.Y, B, *APicture, ARect, width,
                               height, StretchEffect);
            break;
        default:
            break;
    }
}

}  // namespace skin
