// Screenshot sheets of the skinned controls: a test builds its controls on the headless form in
// each look (no skin, the first-start skin, and the generated skins that alone exercise a path),
// drives each state with injected input, waits past the fades, captures the control with a margin
// around it and tiles the captures into one picture: a row per state, a column per look.
//
// Sheets are compared with the reviewed references in the test's reference folder by the one
// screenshot rule and update path of support/screenshot.h.
#pragma once

#include <string>
#include <vector>

#include "controls_test_support.h"
#include "platform/gfx/codecs.h"
#include "support/screenshot.h"

namespace skin::test {

struct TSheetLook {
    std::string Name;
    int StoredSkin = -1;  // -1: no skin loaded
};

// The looks every sheet starts from; a sheet adds the skins that alone show its paths.
inline const TSheetLook kNoSkinLook{"no skin", -1};
inline const TSheetLook kFirstStartLook{"first start", 0};
inline const TSheetLook kMorphLook{"morphing", 1};
inline const TSheetLook kFramesGlowLook{"frames and glow", 4};

// Cells in a grid: each row as tall as its tallest cell, each column as wide as its widest,
// with gaps between them.
class TSheet {
public:
    // A captured window as an opaque cell.
    static gfx::TImage ImageOf(const gfx::HBITMAP& shot);
    // A line of text on the sheet's own grey, to name the cell below or beside it.
    static gfx::TImage Label(const std::string& text);
    void Add(int row, int column, gfx::TImage cell);
    gfx::TImage Compose() const;

private:
    std::vector<std::vector<gfx::TImage>> FRows;
};

// The screenshot rule of support/screenshot.h.
inline bool SheetsMatch(const gfx::TImage& actual, const gfx::TImage& expected) {
    return testsupport::PicturesMatch(actual, expected);
}

// Compares a sheet with reference/<name>.png (see above).
void ExpectSheetMatches(const gfx::TImage& sheet, const std::string& name);

class TSheetTest : public TControlsTest {
public:
    // Loads the look's stored skin, or drops the skin for "no skin"; runs the messages.
    void ApplyLook(const TSheetLook& look);
    // The control's rectangle grown by `margin` on every side, as the screen shows it.
    gfx::TImage CaptureAround(vcl::TControl* control, int margin = 8) const {
        return Capture(control, margin);
    }

    // The states a sheet drives, each on one control; Release* puts things back.
    void Hover(vcl::TControl* control);  // the pointer over its centre, past the fades
    void Hold(vcl::TControl* control);   // the left button held over its centre
    void ReleaseAway();                  // the button up outside every control
    // Focus to the control before it in the form's tab order, then Tab.
    void TabTo(vcl::TWinControl* control);
    void Settle() { Wait(300); }  // past every fade and frame animation
};

}  // namespace skin::test
