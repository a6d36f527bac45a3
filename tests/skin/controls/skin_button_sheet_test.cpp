// The button's screenshot sheet: a row per state (normal, hot, pressed, focused, disabled,
// default with the focus elsewhere, a four-frame glyph under the pointer, an image-list glyph),
// a column per look (no skin, the first-start skin, the morphing skin, the skin with a frame
// strip and a glow layer). Also the sheet comparison rule itself.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/edits.h"
#include "platform/vcl/img_list.h"
#include "sheet_test_support.h"
#include "skin/controls/skin_button.h"

namespace skin {
namespace {

TEST(SheetCompareTest, ChannelsWithinTwoAndATenthOfAPercentOfThePixels) {
    gfx::TImage base;
    base.Width = 100;
    base.Height = 20;  // 2000 pixels: two may differ
    base.Pixels.assign(2000, 0xFF808080u);
    struct TCase {
        const char* What;
        int Pixels;
        uint32_t Colour;
        bool Match;
    };
    const TCase cases[] = {
        {"every pixel 2 off in each channel", 2000, 0xFF828282u, true},
        {"one channel 3 off in one pixel", 1, 0xFF808083u, true},
        {"two pixels far off", 2, 0xFF000000u, true},
        {"three pixels far off", 3, 0xFF000000u, false},
        {"every pixel 3 off in blue", 2000, 0xFF80807Du, false},
    };
    for (const TCase& c : cases) {
        gfx::TImage other = base;
        for (int i = 0; i < c.Pixels; ++i) other.Pixels[std::size_t(i)] = c.Colour;
        EXPECT_EQ(test::SheetsMatch(other, base), c.Match) << c.What;
    }
    gfx::TImage smaller = base;
    smaller.Width = 50;
    smaller.Pixels.resize(1000);
    EXPECT_FALSE(test::SheetsMatch(smaller, base));
}

TEST(SheetCompareTest, CellsTileIntoRowsAndColumns) {
    auto cell = [](int w, int h, uint32_t colour) {
        gfx::TImage image;
        image.Width = w;
        image.Height = h;
        image.Pixels.assign(std::size_t(w) * h, colour);
        return image;
    };
    test::TSheet sheet;
    sheet.Add(0, 0, cell(10, 5, 0xFFFF0000u));
    sheet.Add(0, 1, cell(4, 8, 0xFF00FF00u));
    sheet.Add(1, 1, cell(6, 3, 0xFF0000FFu));
    const gfx::TImage all = sheet.Compose();
    EXPECT_EQ(all.Width, 6 + 10 + 6 + 6 + 6);
    EXPECT_EQ(all.Height, 6 + 8 + 6 + 3 + 6);
    auto at = [&](int x, int y) { return all.Pixels[std::size_t(y) * all.Width + x]; };
    EXPECT_EQ(at(6, 6), 0xFFFF0000u);  // red
    EXPECT_EQ(at(22, 6), 0xFF00FF00u);
    EXPECT_EQ(at(22, 20), 0xFF0000FFu);
    EXPECT_EQ(at(6, 20), 0xFF7F7F7Fu);  // no cell there
}

// A four-frame glyph strip: normal, disabled, down, hot, each a shape on the transparent colour.
std::unique_ptr<gfx::TBitmap> GlyphStrip() {
    auto strip = test::SolidPicture(64, 16, gfx::clFuchsia);
    const gfx::TColor colours[4] = {gfx::RGB(30, 60, 160), gfx::RGB(150, 150, 150),
                                    gfx::RGB(170, 30, 30), gfx::RGB(240, 150, 20)};
    for (int f = 0; f < 4; ++f) {
        gfx::TCanvas& c = strip->Canvas();
        c.Brush().SetColor(colours[f]);
        c.Pen().SetColor(colours[f]);
        c.Ellipse(16 * f + 2, 2, 16 * f + 14, 14);
    }
    return strip;
}

class ButtonSheetTest : public test::TSheetTest {};

TEST_F(ButtonSheetTest, StatesByLook) {
    enum { kNormal, kHot, kPressed, kFocused, kDisabled, kDefault, kFrames, kImageList, kRows };
    const std::vector<test::TSheetLook> looks = {test::kNoSkinLook, test::kFirstStartLook,
                                                 test::kMorphLook, test::kFramesGlowLook};
    Form->SetClientHeight(kRows * 42 + 20);
    auto* images = new vcl::TImageList(Form, 16, 16);
    {
        auto picture = test::SolidPicture(16, 16, gfx::clFuchsia);
        picture->Canvas().Brush().SetColor(gfx::RGB(40, 140, 60));
        picture->Canvas().FillRect({3, 3, 13, 13});
        images->AddMasked(*picture, gfx::clFuchsia);
    }
    const auto glyph = GlyphStrip();
    test::TSheet sheet;
    for (std::size_t column = 0; column < looks.size(); ++column) {
        ApplyLook(looks[column]);
        auto* elsewhere = new vcl::TEdit(Form);
        elsewhere->SetParent(Form);
        elsewhere->SetBounds(250, 10, 100, 24);
        std::vector<TbsSkinButton*> buttons;
        for (int row = 0; row < kRows; ++row) {
            auto* b = Make<TbsSkinButton>(20, 10 + row * 42, 96, 28);
            b->SetCaption(row >= kFrames ? "打开" : "确定");
            buttons.push_back(b);
        }
        buttons[kFrames]->SetGlyph(*glyph);
        buttons[kFrames]->SetNumGlyphs(4);
        buttons[kImageList]->SetImageList(images);
        buttons[kImageList]->SetImageIndex(0);
        elsewhere->SetFocus();
        MoveAway();
        Settle();
        auto capture = [&](int row) {
            sheet.Add(row, int(column), CaptureAround(buttons[std::size_t(row)]));
        };
        capture(kNormal);
        capture(kImageList);
        Hover(buttons[kHot]);
        capture(kHot);
        Hover(buttons[kFrames]);
        capture(kFrames);
        MoveAway();
        Hold(buttons[kPressed]);
        capture(kPressed);
        ReleaseAway();
        TabTo(buttons[kFocused]);
        EXPECT_TRUE(buttons[kFocused]->Focused());
        capture(kFocused);
        buttons[kDisabled]->SetEnabled(false);
        Settle();
        capture(kDisabled);
        buttons[kDefault]->SetDefault(true);
        elsewhere->SetFocus();
        Settle();
        capture(kDefault);
        for (TbsSkinButton* b : buttons) b->Free();
        elsewhere->Free();
        Run();
    }
    test::ExpectSheetMatches(sheet.Compose(), "button");
}

}  // namespace
}  // namespace skin
