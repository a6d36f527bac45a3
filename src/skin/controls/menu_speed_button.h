// TbsSkinMenuSpeedButton: a speed button with a drop-down part. A press on that part (a strip
// 15 pixels wide at the right edge, or with NewStyle optionally 15 high at the bottom; with a
// menu-button record the record's TrackButtonRect), or anywhere on the button while
// TrackButtonMode is off, drops the skinned popup menu and/or the images menu below the button.
// The button stays pressed ("tracked") until the menu reports that it closed: WM_CLOSESKINMENU
// from the popup menu's controller, OnInternalMenuClose from the images menu.
//
// The background is drawn by the record's name, since one class serves plain tool-button
// records ("toolbutton", "resizetoolbutton", ...) and menu-button records ("toolmenubutton").
// Holds the menus by reference; main thread only.
#pragma once

#include "skin/controls/drop_menus.h"
#include "skin/controls/speed_button.h"

namespace skin {

enum TbsTrackPosition { bstpRight, bstpBottom };

class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
public:
    explicit TbsSkinMenuSpeedButton(vcl::TComponent* AOwner);

    // Also switches to the "resizetoolbutton" record.
    bool NewStyle() const { return FNewStyle; }
    void SetNewStyle(bool value);
    TbsTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TbsTrackPosition value);
    // Only the drop-down part drops the menus; the rest clicks like a speed button.
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool value);
    TbsSkinDropMenu* SkinPopupMenu() const { return FSkinPopupMenu; }
    void SetSkinPopupMenu(TbsSkinDropMenu* value);
    // A new choice in the images menu repaints the button.
    void SetSkinImagesMenu(TbsSkinDropImagesMenu* value) override;
    // A menu dropped from this button is open.
    bool MenuTracked() const { return FMenuTracked; }

    // Before each menu drops (twice with both menus); after the menus closed.
    vcl::TNotifyEvent OnShowTrackMenu;
    vcl::TNotifyEvent OnHideTrackMenu;

    // Record copy: the drop-down part of a menu-button record, in its skin coordinates.
    gfx::TRect TrackButtonRect;
    // A plain arrow of DrawDirArrow's kind FArrowType in place of the marker.
    bool FDrawStandardArrow = false;
    int FArrowType = 0;

    void GetSkinData() override;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Dispatch(vcl::TMessage& Message) override;
    void Paint() override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateButtonImage(gfx::TBitmap& B, const gfx::TRect& R, bool ADown,
                           bool AMouseIn) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    // Whether a press at the client point drops the menus.
    bool InTrackPart(int X, int Y);
    void DropMenus();
    // The menus closed: the button comes up.
    void CloseTrack();
    // The record's TrackButtonRect rules the drop-down part (a menu-button record).
    bool UsesTrackButtonRect() const;
    // The 15-pixel strip: right, or bottom for NewStyle with bstpBottom.
    gfx::TRect Strip() const;
    // Where the marker goes: the placed TrackButtonRect of a menu-button record, else Strip().
    gfx::TRect MarkerPart() const;
    // The client area less the strip.
    gfx::TRect ContentPart() const;
    // The marker: a plain arrow, the record's marker picture or the small drop arrow.
    void DrawMarker(gfx::TCanvas& canvas, const gfx::TRect& part, bool pressed, bool hot, bool flat,
                    gfx::TColor textColor);
    // Background of the tool-button records in two parts (main and strip) or one.
    void DrawToolBackground(gfx::TBitmap& B, bool ownGeometry, bool pressed, bool hot);
    void DrawNewStyleBackground(gfx::TBitmap& B, bool pressed, bool hot);
    // The glyph, caption and marker of the tool-button rows.
    void DrawToolContent(gfx::TBitmap& B, const gfx::TRect& content, const gfx::TRect& marker,
                         int markerShift, bool pressed, bool hot);

    bool FTrackButtonMode = false;
    bool FMenuTracked = false;
    TbsSkinDropMenu* FSkinPopupMenu = nullptr;
    bool FNewStyle = false;
    TbsTrackPosition FTrackPosition = bstpRight;
};

}  // namespace skin
