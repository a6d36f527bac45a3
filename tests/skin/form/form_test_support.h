// A small skin built in code for the form skin tests, so every rectangle and pixel is known: a
// 236 x 100 frame picture with one colour per zone, a mask with cut-off corners, a caption,
// standard buttons for the six commands, a morphing button with a masked hot look and a
// 3-frame animation strip. Forms are made on the headless screen (1280 x 800, work area
// 1280 x 760).
#pragma once

#include <memory>
#include <string>

#include "platform/vcl/vcl_test_support.h"
#include "skin/core/skin_data_test_support.h"
#include "skin/form/skin_form.h"

namespace skin::test {

// Zone colours of the frame picture (0x00BBGGRR).
inline constexpr gfx::TColor kZoneLT = 0x0000C0;
inline constexpr gfx::TColor kZoneTop = 0x00C000;
inline constexpr gfx::TColor kZoneRT = 0xC00000;
inline constexpr gfx::TColor kZoneLeft = 0x00C0C0;
inline constexpr gfx::TColor kZoneClient = 0xFFFFFF;
inline constexpr gfx::TColor kZoneRight = 0xC0C000;
inline constexpr gfx::TColor kZoneLB = 0xC000C0;
inline constexpr gfx::TColor kZoneBottom = 0x808080;
inline constexpr gfx::TColor kZoneRB = 0x404040;

// Geometry of the test skin, frame coordinates of a form of the picture's size.
inline constexpr int kPictureWidth = 236;
inline constexpr int kPictureHeight = 100;
inline constexpr gfx::TRect kClRect{5, 30, 231, 95};
inline constexpr gfx::TPoint kLTPoint{40, 30};
inline constexpr gfx::TPoint kRTPoint{120, 30};
inline constexpr gfx::TPoint kLBPoint{40, 90};
inline constexpr gfx::TPoint kRBPoint{120, 90};
inline constexpr gfx::TRect kCaptionRect{30, 5, 128, 25};
// The morphing button (left of the caption) and the animation (in the left border).
inline constexpr gfx::TRect kMorphRect{8, 8, 24, 22};
inline constexpr gfx::TRect kAnimateRect{0, 40, 5, 50};
inline constexpr gfx::TRect kButtonsRect{130, 6, 231, 24};
inline constexpr gfx::TRect kMaskRectArea{10, 10, 226, 90};
inline constexpr int kButtonsOffset = 2;
inline constexpr int kBorderW = 4;
// Caption buttons are 16 x 14; the corner of the mask cut off is this many pixels deep.
inline constexpr int kCut = 6;

struct TSkinOptions {
    bool Mask = true;
    bool Buttons = true;  // the six standard buttons
    bool Extras = true;   // the morphing button and the animation
    bool ButtonsInLeft = false;
    bool UseButtonsRect = true;  // else the buttons lie in the caption row
};

// Fills an empty skin data with the test skin and marks it loaded.
void FillTestSkin(TbsSkinData& sd, const TSkinOptions& options = {});

class TFormSkinTest : public vcl::test::TVclTest {
public:
    void SetUp() override;
    // A shown, active form with the given window size at (100, 100).
    vcl::TForm* MakeForm(int width = kPictureWidth, int height = kPictureHeight,
                         const std::string& name = "F");
    TbsSkinData* MakeSkin(const TSkinOptions& options = {});
    // A form with the test skin attached through a new component.
    TbsSkinForm* SkinnedForm(const TSkinOptions& options = {}, int width = kPictureWidth,
                             int height = kPictureHeight);
    // The object of a form component by name; fails the test when missing.
    TbsActiveSkinObject* Object(TbsSkinForm* sf, const std::string& name);
};

}  // namespace skin::test
