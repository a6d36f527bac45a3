#include "skin/controls/splitter.h"

#include "skin/controls/label_text.h"
#include "skin/core/skin_images.h"
#include "skin/core/skin_records.h"

namespace skin {

TbsSkinSplitter::TbsSkinSplitter(vcl::TComponent* AOwner) : vcl::TSplitter(AOwner) {
    SetControlStyle(ControlStyle() + vcl::csOpaque);
}

void TbsSkinSplitter::SetSkinData(TbsSkinData* value) {
    BindSkinData(this, FSD, value);
    ChangeSkinData();
}

void TbsSkinSplitter::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    SetControlStyle(value ? ControlStyle() - vcl::csOpaque : ControlStyle() + vcl::csOpaque);
    Repaint();
}

void TbsSkinSplitter::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TSplitter::Notification(AComponent, Operation);
    if (Operation == vcl::opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinSplitter::GetSkinData() {
    FIndex = !FSD || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName);
    FSkinPicture = nullptr;
    if (FIndex == -1) return;
    auto* r = dynamic_cast<TbsDataSkinSplitterControl*>(FSD->CtrlList[FIndex].get());
    if (!r) return;
    LTPt = r->LTPoint;
    RTPt = r->RTPoint;
    LBPt = r->LBPoint;
    SkinRect = r->SkinRect;
    StretchEffect = r->StretchEffect;
    if (r->PictureIndex >= 0 && r->PictureIndex < int(FSD->FActivePictures.size()))
        FSkinPicture = FSD->FActivePictures[r->PictureIndex].get();
    GripperRect = r->GripperRect;
    GripperTransparent = r->GripperTransparent;
    GripperTransparentColor = r->GripperTransparentColor;
}

void TbsSkinSplitter::ChangeSkinData() {
    GetSkinData();
    const bool fixed = FIndex == -1 || FTransparent;
    if (Align() == vcl::alTop || Align() == vcl::alBottom)
        SetHeight(fixed ? FDefaultSize : SkinRect.Height());
    else
        SetWidth(fixed ? FDefaultSize : SkinRect.Width());
    Repaint();
}

void TbsSkinSplitter::Paint() {
    if (FTransparent || Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FIndex == -1 || !FSkinPicture || Align() == vcl::alNone || Align() == vcl::alClient) {
        vcl::TSplitter::Paint();
        return;
    }
    gfx::TBitmap strip;
    if (Align() == vcl::alTop || Align() == vcl::alBottom)
        BuildHorzSkinStrip(LTPt.X, SkinRect.Width() - RTPt.X, strip, *FSkinPicture, SkinRect,
                           Width(), SkinRect.Height(), StretchEffect);
    else
        BuildVertSkinStrip(LTPt.Y, SkinRect.Height() - LBPt.Y, strip, *FSkinPicture, SkinRect,
                           SkinRect.Width(), Height(), StretchEffect);
    if (!GripperRect.IsEmpty()) {
        gfx::TBitmap gripper;
        gripper.SetSize(GripperRect.Width(), GripperRect.Height());
        gripper.Canvas().CopyRect({0, 0, GripperRect.Width(), GripperRect.Height()},
                                  FSkinPicture->Canvas(), GripperRect);
        if (GripperTransparent) {
            gripper.SetTransparentMode(gfx::tmFixed);
            gripper.SetTransparentColor(GripperTransparentColor);
            gripper.SetTransparent(true);
        }
        strip.Canvas().Draw(strip.Width() / 2 - gripper.Width() / 2,
                            strip.Height() / 2 - gripper.Height() / 2, gripper);
    }
    Canvas().Draw(0, 0, strip);
}

}  // namespace skin
