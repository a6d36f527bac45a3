// The skinned frame's geometry as a value. One pure function of the frame's record (the skin's
// form values and its frame objects, or the default frame), the form's outer size and the form's
// state gives the corner points, client, caption, button and mask rectangles, the hit-test
// corners, the default caption, the client area and where each frame object lies and whether it
// shows. The form skin component (skin_form.h) computes it for layout, hit testing and painting;
// it needs no form and no window, so it is tested as a table.
//
// Owns nothing: the record refers to the skin's object records, which the skin data owns. Any
// thread, though the form calls it on the main thread only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/vcl/forms.h"
#include "skin/core/skin_records.h"

namespace skin {

class TbsSkinData;

enum TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = vcl::TSet<TbsBorderIcon>;

// Default frame: caption height and caption button size, for tool windows and others.
int GetDefCaptionHeight(vcl::TFormBorderStyle style);
int GetDefButtonSize(vcl::TFormBorderStyle style);

// The kinds of frame object the form makes from object records.
enum TbsFrameObjectKind { fokButton, fokStdButton, fokAnimate, fokCaption, fokUser };

// One frame object as the layout sees it.
struct TbsFrameObjectRecord {
    TbsDataSkinObject* Data = nullptr;  // the skin's record; nil for a default button
    TbsFrameObjectKind Kind = fokButton;
    std::string IDName;
    TbsStdCommand Command = cmDefault;
    gfx::TRect SkinRect;
    bool SkinRectInAPicture = false;
    bool ButtonStyle = false;  // an animation that acts as a caption button
};

// The frame's record: the skin's form values, or the default frame when Skinned is false.
struct TbsFrameRecord {
    bool Skinned = false;
    gfx::TSize Picture;  // the frame picture's size, the size the values are given for
    gfx::TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    gfx::TRect ClRect, CaptionRect, ButtonsRect, MaskRectArea;
    int ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    gfx::TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    // Frame objects in the order the form makes them.
    std::vector<TbsFrameObjectRecord> Objects;
};

// The record of a skin's frame; menu records make no frame object and are left out.
TbsFrameRecord FrameRecordOf(const TbsSkinData& sd);
// The default frame with its six caption buttons, or none.
TbsFrameRecord DefaultFrameRecord(bool withButtons = true);

struct TbsFrameState {
    vcl::TWindowState WindowState = vcl::wsNormal;
    bool RolledUp = false;
    bool Active = true;
    vcl::TFormBorderStyle BorderStyle = vcl::bsSizeable;
    bool AlwaysResize = false;
    TbsBorderIcons BorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp};
    bool HideCaptionButtons = false;
    bool DisableSystemMenu = false;
    // The system-menu button shows the form's icon at the small icon size.
    bool ShowIcon = false;
    gfx::TSize SmallIcon{16, 16};
    // The program's own caption objects it chose to show.
    std::vector<std::string> ShownCustomObjects;
};

// Where a frame object lies and whether it shows. Rect is empty when the layout leaves the
// object where it was (a button left out of the row); Enabled is empty when the state does not
// decide it.
struct TbsFrameObjectPlace {
    std::optional<gfx::TRect> Rect;
    bool Visible = true;
    std::optional<bool> Enabled;
    friend bool operator==(const TbsFrameObjectPlace&, const TbsFrameObjectPlace&) = default;
};

struct TbsFrameGeometry {
    gfx::TSize Size;
    gfx::TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    gfx::TRect ClRect, CaptionRect, ButtonsRect, MaskRectArea;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;     // the skin's button rectangle lies in the picture's left half
    bool CapButtonsInLeft = false;  // the row runs from the left
    gfx::TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    // The default frame's caption, between its buttons.
    gfx::TRect DefCaptionRect;
    // What the frame leaves of the window for the client, left, top, right and bottom.
    gfx::TRect ClientInsets;
    // The client area in frame coordinates; never inverted.
    gfx::TRect ClientArea;
    // The borders resize the form (sizeable, neither maximized, minimized nor rolled up).
    bool ResizeBorders = false;
    std::vector<TbsFrameObjectPlace> Objects;  // one per record object
    friend bool operator==(const TbsFrameGeometry&, const TbsFrameGeometry&) = default;
};

// The form's border style lets it be resized.
bool FrameSizeable(const TbsFrameState& state);
// Its borders resize it now: sizeable, neither maximized, minimized nor rolled up.
bool FrameResizes(const TbsFrameState& state);

[[nodiscard]] TbsFrameGeometry CalcFrameGeometry(const TbsFrameRecord& record, gfx::TSize size,
                                                 const TbsFrameState& state);

// A rectangle of the frame picture moved to the size by the corner zone it lies in.
[[nodiscard]] gfx::TRect MapFrameRect(const TbsFrameRecord& record, gfx::TSize size,
                                      const gfx::TRect& R);

}  // namespace skin
