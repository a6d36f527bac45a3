// What the two combo boxes share of their face: the copies of the skin's "combobox" record the
// painting reads, and the drawing helpers of the button and item parts. Internal to the lists
// module; main thread only, as the combos are.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/gfx/graphics.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records.h"

namespace skin {

// Copies of the "combobox" record, as public fields of the combo that holds them.
struct TbsComboBoxRecordCopy {
    TRect ActiveSkinRect;
    gfx::TColor ActiveFontColor = 0;
    std::string FontName = "Arial";
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0, FocusFontColor = 0;
    TRect SItemRect, FocusItemRect, ActiveItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect, ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false;
    bool ShowFocus = false;

    // Takes the record's values; an empty focused item rectangle falls back to the normal one.
    void CopyComboRecord(const TbsDataSkinComboBox& r);
};

// The first of the named records that is a button record, or null.
const TbsDataSkinButtonControl* FirstButtonRecord(TbsSkinData* sd,
                                                  std::initializer_list<std::string_view> names);

// The record's state picture at the given size, its corner points moved with the size.
void NineSliceOfRecord(gfx::TBitmap& dest, gfx::TBitmap& picture,
                       const TbsDataSkinButtonControl& rec, const TRect& state, int width,
                       int height);

// Area `src` of the picture drawn at (x, y) without its pixels of colour `key`.
void DrawTransparentPart(gfx::TCanvas& C, gfx::TBitmap& picture, const TRect& src, int x, int y,
                         gfx::TColor key);

}  // namespace skin
