// The nine-slice geometry a skinned control copies from its record (corner points, skin and
// client rectangles, stretch flags, the picture), with the one set of rules both the windowed
// and the windowless bases size, map and draw by: how the control may be resized, the size a
// request is fitted to, where a rectangle of the skin lands at the current size, and which image
// builder draws a state picture. Plain data with pure functions; main thread, like the controls.
#pragma once

#include "platform/gfx/graphics.h"
#include "platform/gfx/types.h"
#include "skin/core/skin_description.h"

namespace skin {

class TbsDataSkinControl;
class TbsSkinContent;

using gfx::TPoint;
using gfx::TRect;

// How a control with a record may be resized.
inline constexpr int kResizeNone = -1;  // no usable skin rectangle: no fitting, no drawing
inline constexpr int kResizeFixed = 0;  // the size of SkinRect, the picture copied unscaled
inline constexpr int kResizeFree = 1;   // nine-slice: width and height free
inline constexpr int kResizeHorz = 2;   // three-part strip: width free, height fixed
inline constexpr int kResizeVert = 3;   // three-part strip: height free, width fixed

class TbsSkinGeometry {
public:
    // Copied from the record.
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect;
    TRect ClRect;
    // The corner points and client rectangle moved to the current control size.
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    // A picture of the skin data, never owned; null when the record names none.
    gfx::TBitmap* Picture = nullptr;
    int ResizeMode = kResizeFixed;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    // The last record copied was a nine-slice one: only such a record fits sizes.
    bool NineSliceRecord = false;

    // Copies a nine-slice record and its picture, then ResizeMode; a record of another kind
    // gives ResizeMode 0 and no picture, the other fields keeping their values. Returns whether
    // the record was a nine-slice one.
    bool CopySkinRecord(const TbsDataSkinControl& record, const TbsSkinContent& skin);
    // The picture of the skin's list at index, or null for -1 or an index beyond the list.
    static gfx::TBitmap* PictureAt(const TbsSkinContent& skin, int index);

    int ComputeResizeMode() const;
    // Fixes a requested size by ResizeMode and moves the New* fields to it. Mode -1, and mode 0
    // without a record, change nothing; so does a record of another kind, whose kept geometry
    // would otherwise squeeze a fresh control to nothing.
    void FitSkinSizeTo(int& AWidth, int& AHeight, bool hasRecord);
    // A rectangle given in SkinRect's coordinates, moved to a control of width x height.
    void MapSkinRectAt(const TRect& R, TRect& NewR, int width, int height) const;
    // The area ARect of APicture drawn into B for a control of width x height: mode 0 a plain
    // copy at ARect's size, 1 the nine-slice image (only when nineSlice), 2 and 3 the strips,
    // -1 and a missing picture nothing.
    void DrawSkinRectAt(gfx::TBitmap& B, gfx::TBitmap* APicture, const TRect& ARect, int width,
                        int height, bool nineSlice) const;
};

}  // namespace skin
