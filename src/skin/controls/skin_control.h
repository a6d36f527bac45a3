// The windowed bases of the skinned controls. A skinned control points to a skin data
// component and names a record of its skin; before every paint, size change and skin change it
// looks the record up again by that name and keeps only its index (FIndex, -1 for none), so a
// skin change needs no invalidation. It paints into an off-screen bitmap of its own size, the
// default look in system colours without a record, the skin look with one, and copies that in
// one draw; the background is never erased on its own.
//
// TbsSkinCustomControl adds the nine-slice geometry of skin_geometry.h: it fits every requested
// size to the record, stretches or tiles the picture to the control's size and cuts its window
// to the record's mask. The form's skin-change walk calls BeforeChangeSkinData and then, with the
// new skin in place, ChangeSkinData on every control bound to the changing skin data, parents
// first (TbsSkinClient names what the walk needs of windowed and windowless controls alike).
//
// Controls refer to the skin data and its pictures; they own neither. Main thread only.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/gfx/region.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"
#include "skin/controls/skin_geometry.h"
#include "skin/core/skin_data.h"

namespace skin {

// What the form's skin-change walk needs of a skinned control, windowed or not.
class TbsSkinClient {
public:
    virtual ~TbsSkinClient() = default;
    virtual TbsSkinData* SkinData() const = 0;
    // Forget the record before the skin data replaces its records and pictures.
    virtual void BeforeChangeSkinData() = 0;
    // Take up the new skin: look the record up, fit, repaint.
    virtual void ChangeSkinData() = 0;
};

// The skinned control a control is, or null.
TbsSkinClient* AsSkinClient(vcl::TControl* control);

// Which components are the skinned combo boxes and edits whose drop-downs an MDI form closes
// when a menu-closing message reaches it. The lists module, which owns those classes, installs
// the test; without one nothing counts.
using TbsDropDownControlTest = std::function<bool(const vcl::TComponent* component)>;
void SetDropDownControlTest(TbsDropDownControlTest test);
bool IsDropDownControl(const vcl::TComponent* component);

// What a parent tells its skinned children (the skinned tool bar answers; other parents don't
// implement it): where it centres them, and the image lists it lends their glyphs.
class TbsSkinParent {
public:
    virtual ~TbsSkinParent() = default;
    // True, with the rectangle, when children are to be centred vertically in it.
    virtual bool CentresChildren(TRect& clientRect) {
        (void)clientRect;
        return false;
    }
    // True when the parent lends image lists to its children's glyphs; any of them may be null.
    virtual bool ChildImages(vcl::TCustomImageList*& images, vcl::TCustomImageList*& hotImages,
                             vcl::TCustomImageList*& disabledImages) {
        images = hotImages = disabledImages = nullptr;
        return false;
    }
};

// The control's parent as a TbsSkinParent, or null.
TbsSkinParent* SkinParentOf(const vcl::TControl* control);

// A top for a child of `parent` that the parent centres, or ATop as it is.
int CentredChildTop(vcl::TWinControl* parent, int ATop, int AHeight);

// Focus before click: a left press (down or double click) on a control without the focus gives
// it the focus first, with its clicks held off (clicksDisabled raised) while the focus moves.
// False when the press is to be dropped: the control did not get the focus.
bool FocusBeforeClick(vcl::TWinControl& control, win::UINT msg, bool& clicksDisabled);

// What the windowed and the windowless bases share over their platform class (TCustomControl
// or TGraphicControl): the skin data and record name, the look-up, the skin-change calls and the
// paint through an off-screen bitmap. Instantiated for those two classes only.
template <class TBase>
class TbsSkinLink : public TBase, public TbsSkinClient {
public:
    explicit TbsSkinLink(vcl::TComponent* AOwner) : TBase(AOwner) {}

    // Index of the record in the skin data's CtrlList, -1 when there is none.
    int FIndex = -1;

    TbsSkinData* SkinData() const override { return FSD; }
    // With a loaded skin the control takes it up at once; an empty one is only stored.
    virtual void SetSkinData(TbsSkinData* value);
    const std::string& SkinDataName() const { return FSkinDataName; }
    // Only stores: the next look-up (every paint does one) takes the record up.
    virtual void SetSkinDataName(const std::string& value) { FSkinDataName = value; }

    const std::string& HintTitle() const { return FHintTitle; }
    void SetHintTitle(const std::string& value) { FHintTitle = value; }
    int HintImageIndex() const { return FHintImageIndex; }
    void SetHintImageIndex(int value) { FHintImageIndex = value; }
    vcl::TCustomImageList* HintImageList() const { return FHintImageList; }
    void SetHintImageList(vcl::TCustomImageList* value) { FHintImageList = value; }

    virtual void GetSkinData();
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override { FIndex = -1; }

    // CM_MOUSEENTER and CM_MOUSELEAVE raise OnMouseEnter and OnMouseLeave after the platform.
    void Dispatch(vcl::TMessage& Message) override;

    vcl::TNotifyEvent OnMouseEnter;
    vcl::TNotifyEvent OnMouseLeave;

protected:
    // The record-less look and the skin look, painted into B (empty here).
    virtual void CreateControlDefaultImage(gfx::TBitmap& B) { (void)B; }
    virtual void CreateControlSkinImage(gfx::TBitmap& B) { (void)B; }
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Paint() override { PaintThroughBitmap(); }
    // The look-up, an off-screen bitmap of the control's size with the look, and its one draw.
    void PaintThroughBitmap();

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;

private:
    std::string FHintTitle;
    int FHintImageIndex = 0;
    vcl::TCustomImageList* FHintImageList = nullptr;
};

extern template class TbsSkinLink<vcl::TCustomControl>;
extern template class TbsSkinLink<vcl::TGraphicControl>;

class TbsSkinControl : public TbsSkinLink<vcl::TCustomControl> {
public:
    explicit TbsSkinControl(vcl::TComponent* AOwner) : TbsSkinLink(AOwner) {}

    // True only while the control paints in answer to WM_PAINT.
    bool FromWMPaint = false;

    // Nothing calls it; kept as the hook after a skin change.
    virtual void AfterChangeSkinData() {}
    // WM_CHECKPARENTBG: the background behind the control changed.
    virtual void CheckParentBackground() {}

    void Dispatch(vcl::TMessage& Message) override;

protected:
    // The region set on the window, none when the window has its full rectangle.
    std::optional<gfx::TRegion> FRgn;
};

// What the nine-slice bases share over TbsSkinControl or TbsGraphicSkinControl: the record's
// geometry, the default size and font, fitting every size to the record, the skin change and
// the skin look. Instantiated for those two classes only.
template <class TBase>
class TbsSkinSizing : public TBase, public TbsSkinGeometry {
public:
    explicit TbsSkinSizing(vcl::TComponent* AOwner);
    ~TbsSkinSizing() override { FDefaultFont.OnChange = nullptr; }

    // Sizes taken only while there is no record, and only above 0.
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int value);
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    void SetDefaultFont(const gfx::TFont& value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }

    TRect RealClientRect() const { return NewClRect; }
    int RealClientWidth() const { return NewClRect.Width(); }
    int RealClientHeight() const { return NewClRect.Height(); }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Fixes a requested size by the record and moves the New* fields to it.
    virtual void FitSkinSize(int& AWidth, int& AHeight);
    virtual void DefaultFontChanged() {}

    // The area ARect of APicture drawn into B at the control's size, by ResizeMode.
    void DrawSkinRect(gfx::TBitmap& B, gfx::TBitmap* APicture, const TRect& ARect);
    // A rectangle of SkinRect's coordinates at the control's current size.
    void MapSkinRect(const TRect& R, TRect& NewR) const {
        MapSkinRectAt(R, NewR, this->Width(), this->Height());
    }

protected:
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    // The windowed base's part: its region after a size was taken, its children's background
    // after every SetBounds, and whether nine-slice records draw into the off-screen bitmap.
    virtual void SkinSizeTaken() {}
    virtual void BoundsSet() {}
    virtual bool NineSliceDrawn() const { return true; }

private:
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
};

extern template class TbsSkinSizing<TbsSkinControl>;

class TbsSkinCustomControl : public TbsSkinSizing<TbsSkinControl> {
public:
    explicit TbsSkinCustomControl(vcl::TComponent* AOwner) : TbsSkinSizing(AOwner) {}

    // The record's mask picture, null when none.
    gfx::TBitmap* MaskPicture = nullptr;

    // With a nine-slice record: borders and client background straight onto the canvas.
    bool ForcebackGround() const { return FForceBackground; }
    void SetForcebackGround(bool value) { FForceBackground = value; }
    bool DrawbackGround() const { return FDrawbackground; }
    void SetDrawbackGround(bool value) { FDrawbackground = value; }

    void GetSkinData() override;

    // Cuts the window to the record's mask at the current size, or gives it back its full
    // rectangle when there is no mask or no record.
    virtual void UpdateWindowRegion();
    // WM_CHECKPARENTBG to every child.
    void BroadcastParentBackground();

protected:
    void Paint() override;
    void SkinSizeTaken() override { UpdateWindowRegion(); }
    void BoundsSet() override;
    bool NineSliceDrawn() const override { return !FForceBackground; }

private:
    void PaintForcedBackground();

    bool FForceBackground = false;
    bool FDrawbackground = true;
};

}  // namespace skin
