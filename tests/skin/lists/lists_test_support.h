// The shared scene of the list, combo and dialog tests: one small synthetic skin built in code
// whose every state rectangle is a distinct flat colour (so a pixel names the rectangle it came
// from), with the records the office list and combo read, a variant without some of them for
// the fallbacks, and an image list of 32 x 32 flat squares for item pictures. Later list and
// dialog tests add their records here.
#pragma once

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../controls/controls_test_support.h"
#include "platform/vcl/img_list.h"

namespace skin::test {

// Picture 0 holds the list, header, combo and tool-button rectangles; picture 1 the vertical
// scroll bar at its origin; picture 2 the skinned list box ("itemlistbox") with its item and
// caption-button pictures.
namespace lists {
inline constexpr gfx::TColor kListBack = gfx::RGB(200, 220, 240);      // "listbox" skinrect
inline constexpr gfx::TColor kListActive = gfx::RGB(255, 200, 0);      // activeitemrect
inline constexpr gfx::TColor kListFocus = gfx::RGB(255, 120, 0);       // focusitemrect
inline constexpr gfx::TColor kPanelBack = gfx::RGB(180, 230, 180);     // "resizetoolpanel"
inline constexpr gfx::TColor kHeaderBack = gfx::RGB(120, 60, 160);     // "menuheader"
inline constexpr gfx::TColor kLabelBack = gfx::RGB(60, 120, 60);       // "label"
inline constexpr gfx::TColor kComboBack = gfx::RGB(230, 230, 200);     // "combobox" skinrect
inline constexpr gfx::TColor kComboHot = gfx::RGB(240, 200, 200);      // activeskinrect
inline constexpr gfx::TColor kComboItem = gfx::RGB(250, 250, 250);     // itemrect
inline constexpr gfx::TColor kComboFocus = gfx::RGB(100, 140, 220);    // focusitemrect
inline constexpr gfx::TColor kToolNormal = gfx::RGB(240, 240, 240);    // "resizetoolbutton"
inline constexpr gfx::TColor kToolHot = gfx::RGB(255, 230, 160);       // activeskinrect
inline constexpr gfx::TColor kToolDown = gfx::RGB(200, 160, 80);       // downskinrect
inline constexpr gfx::TColor kResizeNormal = gfx::RGB(210, 210, 255);  // "resizebutton"
inline constexpr gfx::TColor kResizeHot = gfx::RGB(170, 170, 255);
inline constexpr gfx::TColor kResizeDown = gfx::RGB(130, 130, 255);
inline constexpr gfx::TColor kEditBack = gfx::RGB(255, 255, 230);  // "edit"
inline constexpr gfx::TColor kBarTrack = gfx::RGB(220, 220, 220);  // "vscrollbar"
inline constexpr gfx::TColor kBarButton = gfx::RGB(150, 150, 150);
inline constexpr gfx::TColor kBarThumb = gfx::RGB(90, 90, 90);

// Picture 2: the "itemlistbox" record of the skinned list box.
inline constexpr gfx::TColor kLbFrame = gfx::RGB(90, 60, 30);      // skinrect
inline constexpr gfx::TColor kLbTile = gfx::RGB(230, 250, 210);    // clientrect
inline constexpr gfx::TColor kLbItem = gfx::RGB(250, 240, 200);    // itemrect
inline constexpr gfx::TColor kLbItemTop = gfx::RGB(200, 80, 80);   // itemrect's top 2 rows
inline constexpr gfx::TColor kLbItemEdge = gfx::RGB(80, 200, 80);  // its left and right 4
inline constexpr gfx::TColor kLbActive = gfx::RGB(255, 210, 10);   // activeitemrect
inline constexpr gfx::TColor kLbFocus = gfx::RGB(255, 130, 10);    // focusitemrect
inline constexpr gfx::TColor kLbButton = gfx::RGB(100, 100, 200);  // the three buttons
inline constexpr gfx::TColor kLbButtonHot = gfx::RGB(150, 220, 255);
inline constexpr gfx::TColor kLbButtonDown = gfx::RGB(20, 40, 120);
inline constexpr gfx::TColor kLbText = gfx::RGB(0, 0, 160);

inline constexpr gfx::TColor kListText = gfx::RGB(0, 0, 96);
inline constexpr gfx::TColor kListActiveText = gfx::RGB(96, 0, 0);
inline constexpr gfx::TColor kListFocusText = gfx::RGB(255, 255, 255);
inline constexpr gfx::TColor kHeaderText = gfx::RGB(255, 255, 0);
inline constexpr gfx::TColor kEditDisabledText = gfx::RGB(160, 100, 100);
// "thickedit": an edit record 24 high with its client 4 in from the left and 5 from the top.
inline constexpr gfx::TColor kThickBack = gfx::RGB(210, 240, 255);    // skinrect
inline constexpr gfx::TColor kThickActive = gfx::RGB(255, 220, 240);  // activeskinrect
inline constexpr gfx::TColor kThickText = gfx::RGB(0, 96, 0);
inline constexpr gfx::TColor kThickActiveText = gfx::RGB(160, 0, 160);
}  // namespace lists

// The fixture skin; records named in `without` are left out.
inline TbsSkinContent ListsFixtureSkin(const std::set<std::string>& without = {}) {
    using namespace lists;
    std::vector<std::unique_ptr<gfx::TBitmap>> pictures;
    pictures.push_back(SolidPicture(200, 150, gfx::clBlack));
    gfx::TBitmap& p = *pictures[0];
    FillArea(p, {0, 0, 40, 40}, kListBack);
    FillArea(p, {40, 0, 60, 20}, kListActive);
    FillArea(p, {60, 0, 80, 20}, kListFocus);
    FillArea(p, {0, 40, 40, 80}, kPanelBack);
    FillArea(p, {80, 0, 100, 20}, kHeaderBack);
    FillArea(p, {100, 0, 120, 20}, kLabelBack);
    FillArea(p, {0, 80, 60, 101}, kComboBack);
    FillArea(p, {60, 80, 120, 101}, kComboHot);
    FillArea(p, {120, 0, 160, 15}, kComboItem);
    FillArea(p, {120, 20, 160, 35}, kComboFocus);
    FillArea(p, {0, 110, 30, 140}, kToolNormal);
    FillArea(p, {30, 110, 60, 140}, kToolHot);
    FillArea(p, {60, 110, 90, 140}, kToolDown);
    FillArea(p, {90, 110, 120, 140}, kResizeNormal);
    FillArea(p, {120, 110, 150, 140}, kResizeHot);
    FillArea(p, {150, 110, 180, 140}, kResizeDown);
    FillArea(p, {40, 40, 80, 60}, kEditBack);
    FillArea(p, {80, 40, 120, 64}, kThickBack);
    FillArea(p, {120, 40, 160, 64}, kThickActive);
    pictures.push_back(SolidPicture(40, 100, kBarTrack));
    FillArea(*pictures[1], {0, 0, 19, 19}, kBarButton);
    FillArea(*pictures[1], {0, 81, 19, 100}, kBarButton);
    FillArea(*pictures[1], {20, 0, 39, 30}, kBarThumb);
    pictures.push_back(SolidPicture(100, 100, gfx::clBlack));
    {
        gfx::TBitmap& q = *pictures[2];
        FillArea(q, {0, 0, 60, 60}, kLbFrame);
        FillArea(q, {4, 24, 56, 56}, kLbTile);
        FillArea(q, {30, 4, 56, 20}, kLbButton);
        FillArea(q, {60, 0, 100, 20}, kLbItem);
        FillArea(q, {60, 0, 64, 20}, kLbItemEdge);
        FillArea(q, {96, 0, 100, 20}, kLbItemEdge);
        FillArea(q, {60, 0, 100, 2}, kLbItemTop);
        FillArea(q, {60, 20, 100, 40}, kLbActive);
        FillArea(q, {60, 40, 100, 60}, kLbFocus);
        FillArea(q, {0, 70, 24, 86}, kLbButtonHot);
        FillArea(q, {30, 70, 54, 86}, kLbButtonDown);
    }

    const std::string nine40 =
        "lefttoppoint=3,3\nrighttoppoint=37,3\nleftbottompoint=3,37\nrightbottompoint=37,37\n"
        "clientrect=3,3,37,37\nstretcheffect=1\n";
    const std::string tool =
        "lefttoppoint=3,3\nrighttoppoint=27,3\nleftbottompoint=3,27\nrightbottompoint=27,27\n"
        "clientrect=3,3,27,27\nstretcheffect=1\nfontname=Arial\nfontheight=14\n";
    const auto colour = [](gfx::TColor c) { return std::to_string(c); };
    std::vector<TRecordText> records = {
        {"listbox", "listbox",
         "pictureindex=0\nskinrect=0,0,40,40\n" + nine40 +
             "activeitemrect=40,0,60,20\nfocusitemrect=60,0,80,20\nitemtextrect=2,2,18,18\n"
             "fontname=Arial\nfontheight=14\nfontcolor=" +
             colour(kListText) + "\nactivefontcolor=" + colour(kListActiveText) +
             "\nfocusfontcolor=" + colour(kListFocusText) + "\n"},
        {"resizetoolpanel", "panel", "pictureindex=0\nskinrect=0,40,40,80\n" + nine40},
        {"menuheader", "label",
         "pictureindex=0\nskinrect=80,0,100,20\nclientrect=2,2,18,18\nfontname=Arial\n"
         "fontheight=14\nfontcolor=" +
             colour(kHeaderText) + "\n"},
        {"label", "label",
         "pictureindex=0\nskinrect=100,0,120,20\nclientrect=2,2,18,18\nfontcolor=" +
             colour(gfx::clWhite) + "\n"},
        {"combobox", "combobox",
         "pictureindex=0\nskinrect=0,80,60,101\nlefttoppoint=3,3\nrighttoppoint=40,3\n"
         "leftbottompoint=3,18\nrightbottompoint=40,18\nclientrect=3,3,40,18\n"
         "activeskinrect=60,80,120,101\nitemrect=120,0,160,15\nfocusitemrect=120,20,160,35\n"
         "itemtextrect=2,0,38,15\nbuttonrect=41,2,58,19\nfontname=Arial\nfontheight=14\n"},
        {"resizetoolbutton", "button",
         "pictureindex=0\nskinrect=0,110,30,140\nactiveskinrect=30,110,60,140\n"
         "downskinrect=60,110,90,140\n" +
             tool},
        {"resizebutton", "button",
         "pictureindex=0\nskinrect=90,110,120,140\nactiveskinrect=120,110,150,140\n"
         "downskinrect=150,110,180,140\n" +
             tool},
        {"vscrollbar", "scrollbar",
         "pictureindex=1\nskinrect=0,0,19,100\nlefttoppoint=0,19\nrighttoppoint=19,19\n"
         "leftbottompoint=0,81\nrightbottompoint=19,81\nclientrect=0,19,19,81\n"
         "stretcheffect=1\ntrackarea=0,19,19,81\nupbuttonrect=0,81,19,100\n"
         "downbuttonrect=0,0,19,19\nthumbrect=20,0,39,30\n"},
        {"itemlistbox", "listbox",
         "pictureindex=2\nskinrect=0,0,60,60\nlefttoppoint=4,24\nrighttoppoint=29,24\n"
         "leftbottompoint=4,56\nrightbottompoint=56,56\nclientrect=4,24,56,56\n"
         "itemrect=60,0,100,20\nactiveitemrect=60,20,100,40\nfocusitemrect=60,40,100,60\n"
         "itemleftoffset=4\nitemrightoffset=4\nitemtextrect=4,2,36,18\nfontname=Arial\n"
         "fontheight=20\nfontcolor=" +
             colour(kLbText) + "\nactivefontcolor=" + colour(kLbText) +
             "\nfocusfontcolor=" + colour(kLbText) +
             "\ncaptionrect=4,2,30,22\ncheckbuttonrect=30,4,38,20\ndownbuttonrect=39,4,47,20\n"
             "upbuttonrect=48,4,56,20\nactiveupbuttonrect=16,70,24,86\n"
             "activedownbuttonrect=8,70,16,86\nactivecheckbuttonrect=0,70,8,86\n"
             "downupbuttonrect=46,70,54,86\ndowndownbuttonrect=38,70,46,86\n"
             "downcheckbuttonrect=30,70,38,86\nvscrollbarname=lbv\nhscrollbarname=lbh\n"
             "bothhscrollbarname=lbboth\n"},
        {"edit", "edit",
         "pictureindex=0\nskinrect=40,40,80,60\nclientrect=2,2,38,18\ndisabledfontcolor=" +
             colour(kEditDisabledText) + "\n"},
        {"thickedit", "edit",
         "pictureindex=0\nskinrect=80,40,120,64\nactiveskinrect=120,40,160,64\n"
         "lefttoppoint=4,5\nrighttoppoint=34,5\nclientrect=4,5,34,19\nfontname=Arial\n"
         "fontheight=14\nfontcolor=" +
             colour(kThickText) + "\nactivefontcolor=" + colour(kThickActiveText) + "\n"},
    };
    records.erase(std::remove_if(records.begin(), records.end(),
                                 [&](const TRecordText& r) { return without.count(r.Name) > 0; }),
                  records.end());
    return FixtureSkin(records, std::move(pictures), "Lists");
}

// The colour of the 32 x 32 square of picture i.
inline gfx::TColor SquareColour(int i) {
    return gfx::RGB(40 + 50 * (i % 4), 200 - 30 * (i % 5), 60 + 40 * (i % 3));
}

// An image list of `count` flat 32 x 32 squares owned by `owner`.
inline vcl::TCustomImageList* SquareImages(vcl::TComponent* owner, int count) {
    auto* images = new vcl::TCustomImageList(owner, 32, 32);
    for (int i = 0; i < count; ++i) {
        auto square = SolidPicture(32, 32, SquareColour(i));
        images->Add(square.get(), nullptr);
    }
    return images;
}

}  // namespace skin::test

namespace skin::test {

// How many pixels of `area` (control coordinates) of a capture have the colour (system colours
// resolved).
inline int CountColour(const gfx::TImage& image, const TRect& area, gfx::TColor color) {
    const gfx::TColor c = gfx::ColorToRGB(color);
    const std::uint32_t argb = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    int n = 0;
    for (int y = std::max(0, area.Top); y < std::min(image.Height, area.Bottom); ++y)
        for (int x = std::max(0, area.Left); x < std::min(image.Width, area.Right); ++x)
            if (image.Pixels[std::size_t(y) * std::size_t(image.Width) + std::size_t(x)] == argb)
                ++n;
    return n;
}

}  // namespace skin::test
