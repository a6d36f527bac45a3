#include "sheet_test_support.h"

#include <algorithm>

namespace skin::test {

namespace {

constexpr int kGap = 6;
constexpr uint32_t kSheetBack = 0xFF7F7F7Fu;  // a neutral grey between the cells

}  // namespace

gfx::TImage TSheet::ImageOf(const gfx::HBITMAP& shot) {
    gfx::TImage image;
    image.Width = shot->Width();
    image.Height = shot->Height();
    for (int i = 0; i < image.Width * image.Height; ++i)
        image.Pixels.push_back(shot->Pixels()[i] | 0xFF000000u);
    return image;
}

gfx::TImage TSheet::Label(const std::string& text) {
    gfx::TBitmap b;
    b.SetPixelFormat(gfx::pf32bit);
    b.Canvas().Font().SetName("Arial");
    b.Canvas().Font().SetHeight(16);
    const int w = b.Canvas().TextWidth(text) + 4, h = b.Canvas().TextHeight(text) + 4;
    b.SetSize(w, h);
    b.Canvas().Brush().SetColor(gfx::TColor(kSheetBack & 0xFFFFFF));
    b.Canvas().FillRect({0, 0, w, h});
    b.Canvas().Font().SetColor(gfx::clBlack);
    b.Canvas().Brush().SetStyle(gfx::bsClear);
    b.Canvas().TextOut(2, 2, text);
    gfx::TImage image;
    image.Width = w;
    image.Height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const gfx::TColor c = b.Canvas().Pixel(x, y);
            image.Pixels.push_back(0xFF000000u | std::uint32_t(gfx::GetRValue(c)) << 16 |
                                   std::uint32_t(gfx::GetGValue(c)) << 8 | gfx::GetBValue(c));
        }
    return image;
}

void TSheet::Add(int row, int column, gfx::TImage cell) {
    if (int(FRows.size()) <= row) FRows.resize(std::size_t(row) + 1);
    auto& cells = FRows[std::size_t(row)];
    if (int(cells.size()) <= column) cells.resize(std::size_t(column) + 1);
    cells[std::size_t(column)] = std::move(cell);
}

gfx::TImage TSheet::Compose() const {
    std::vector<int> widths, heights;
    for (const auto& cells : FRows) {
        int h = 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (widths.size() <= c) widths.resize(c + 1, 0);
            widths[c] = std::max(widths[c], cells[c].Width);
            h = std::max(h, cells[c].Height);
        }
        heights.push_back(h);
    }
    gfx::TImage sheet;
    sheet.Width = kGap;
    for (int w : widths) sheet.Width += w + kGap;
    sheet.Height = kGap;
    for (int h : heights) sheet.Height += h + kGap;
    sheet.Pixels.assign(std::size_t(sheet.Width) * sheet.Height, kSheetBack);
    int y = kGap;
    for (std::size_t r = 0; r < FRows.size(); ++r) {
        int x = kGap;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            if (c < FRows[r].size()) {
                const gfx::TImage& cell = FRows[r][c];
                for (int cy = 0; cy < cell.Height; ++cy)
                    for (int cx = 0; cx < cell.Width; ++cx)
                        sheet.Pixels[std::size_t(y + cy) * sheet.Width + x + cx] =
                            cell.Pixels[std::size_t(cy) * cell.Width + cx] | 0xFF000000u;
            }
            x += widths[c] + kGap;
        }
        y += heights[r] + kGap;
    }
    return sheet;
}

void ExpectSheetMatches(const gfx::TImage& sheet, const std::string& name) {
    testsupport::ExpectMatchesReference(
        sheet, std::string(MORADEX_CONTROLS_REFERENCES) + "/" + name + ".png", MORADEX_TEST_OUTPUT);
}

void TSheetTest::ApplyLook(const TSheetLook& look) {
    if (look.StoredSkin < 0) {
        if (!Data->Empty) Data->ClearSkin();
        Run();
    } else {
        LoadStored(look.StoredSkin);
    }
}

void TSheetTest::Hover(vcl::TControl* control) {
    MoveTo(control, control->Width() / 2, control->Height() / 2);
    Settle();
}

void TSheetTest::Hold(vcl::TControl* control) {
    Down(control, control->Width() / 2, control->Height() / 2);
    Settle();
}

void TSheetTest::ReleaseAway() {
    Screen->MouseMove({1270, 790});
    Screen->MouseUp({1270, 790});
    Run();
    Settle();
}

void TSheetTest::TabTo(vcl::TWinControl* control) {
    vcl::TWinControl* before = Form->FindNextControl(control, false, true, false);
    if (before && before != control) before->SetFocus();
    Run();
    Press(win::VK_TAB);
    Run();
    Settle();
}

}  // namespace skin::test
