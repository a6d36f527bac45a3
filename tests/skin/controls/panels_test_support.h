// Small skins for the panel, bar, check box, label, splitter and bevel tests: a description with
// the records these controls read and a picture of flat colour blocks, so a test knows the colour
// every record rectangle paints. Pixels are read back from the headless screen.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/vcl/vcl_test_support.h"
#include "skin/core/skin_content.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_description.h"
#include "skin/core/skin_package.h"
#include "skin/core/skin_test_support.h"

namespace skin::test {

// A 24-bit picture filled with one colour.
inline std::unique_ptr<gfx::TBitmap> Flat(int width, int height, gfx::TColor color) {
    auto b = std::make_unique<gfx::TBitmap>();
    b->SetPixelFormat(gfx::pf24bit);
    b->SetSize(width, height);
    b->Canvas().Brush().SetColor(color);
    b->Canvas().FillRect({0, 0, width, height});
    return b;
}

inline void FillBlock(gfx::TBitmap& b, const gfx::TRect& r, gfx::TColor color) {
    b.Canvas().Brush().SetStyle(gfx::bsSolid);
    b.Canvas().Brush().SetColor(color);
    b.Canvas().FillRect(r);
}

// Reads the description (its "activepictures" list names the pictures in order), packs it with
// the pictures and loads the package into the skin data, as a stored skin would.
inline void LoadTestSkin(TbsSkinData& data, std::string_view description,
                         std::vector<std::unique_ptr<gfx::TBitmap>> pictures) {
    rtl::TStringList lines;
    lines.SetText(description);
    rtl::TMemIniFile ini;
    ini.SetStrings(lines);
    TbsSkinContent skin;
    skin.ReadNames(ini);
    ReadStringList(ini, "PICTURES", "activepictures", skin.FActivePicturesNames);
    skin.ReadDescription(ini);
    for (auto& p : pictures) skin.FActivePictures.push_back(std::move(p));
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinData(skin);
    data.LoadCompressedStoredSkin(&stored);
}

// The head every test description starts with; records follow as "n=name:kind" lines under
// [SKINCONTROLS] and their own sections.
inline std::string SkinHead(int pictureCount, std::string_view colours = "") {
    std::string text =
        "[VERSION]\nskinname=Test\n[PICTURES]\npicture=\ninactivepicture=\nmask=\n"
        "activepicturescount=" +
        std::to_string(pictureCount) + "\n";
    for (int i = 0; i < pictureCount; ++i)
        text += std::to_string(i) + "=p" + std::to_string(i) + ".bmp\n";
    text += "[FORMINFO]\n[SKINOBJECTS]\ncount=0\n[SKINCOLORS]\n";
    text += colours;
    return text;
}

// Every pixel of the window's client area in one rectangle with exactly that colour.
inline int CountColour(win::test::TWinTest& t, win::HWND window, const gfx::TRect& r,
                       gfx::TColor colour) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (t.ClientPixel(window, x, y) == colour) ++n;
    return n;
}

// The smallest rectangle holding every pixel of that colour; empty when there is none.
inline gfx::TRect BoundsOfColour(win::test::TWinTest& t, win::HWND window, const gfx::TRect& r,
                                 gfx::TColor colour) {
    gfx::TRect b{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (t.ClientPixel(window, x, y) == colour) {
                b.Left = std::min(b.Left, x);
                b.Top = std::min(b.Top, y);
                b.Right = std::max(b.Right, x + 1);
                b.Bottom = std::max(b.Bottom, y + 1);
            }
    return b.IsEmpty() ? gfx::TRect{} : b;
}

// The smallest rectangle holding every pixel that differs from the background colour.
inline gfx::TRect BoundsOfInk(win::test::TWinTest& t, win::HWND window, const gfx::TRect& r,
                              gfx::TColor background) {
    gfx::TRect b{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (t.ClientPixel(window, x, y) != background) {
                b.Left = std::min(b.Left, x);
                b.Top = std::min(b.Top, y);
                b.Right = std::max(b.Right, x + 1);
                b.Bottom = std::max(b.Bottom, y + 1);
            }
    return b.IsEmpty() ? gfx::TRect{} : b;
}

}  // namespace skin::test
