#include "sheet_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace skin::test {

namespace {

constexpr int kGap = 6;
constexpr uint32_t kSheetBack = 0xFF7F7F7Fu;  // a neutral grey between the cells

int Channel(uint32_t p, int shift) {
    return int(p >> shift & 0xFF);
}

void WriteImage(const gfx::TImage& image, const std::string& path) {
    gfx::TBytes png;
    std::string error;
    gfx::WritePng(image, 9, gfx::PNG_ROW_FILTER_SUB, false, png, error);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

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

int CountDifferentPixels(const gfx::TImage& actual, const gfx::TImage& expected,
                         gfx::TImage& difference) {
    difference = actual;
    int count = 0;
    for (std::size_t i = 0; i < actual.Pixels.size(); ++i) {
        const uint32_t a = actual.Pixels[i], e = expected.Pixels[i];
        bool differs = false;
        for (int shift : {0, 8, 16}) differs |= std::abs(Channel(a, shift) - Channel(e, shift)) > 2;
        if (differs) {
            ++count;
            difference.Pixels[i] = 0xFFFF00FFu;
        } else {
            // The agreeing picture faded, so the marks stand out.
            const int grey = (Channel(a, 0) + Channel(a, 8) + Channel(a, 16)) / 6 + 128;
            difference.Pixels[i] = 0xFF000000u | uint32_t(grey) * 0x010101u;
        }
    }
    return count;
}

bool SheetsMatch(const gfx::TImage& actual, const gfx::TImage& expected) {
    if (actual.Width != expected.Width || actual.Height != expected.Height) return false;
    gfx::TImage difference;
    const int count = CountDifferentPixels(actual, expected, difference);
    return std::int64_t(count) * 1000 <= std::int64_t(actual.Pixels.size());
}

void ExpectSheetMatches(const gfx::TImage& sheet, const std::string& name) {
    const std::string reference = std::string(MORADEX_CONTROLS_REFERENCES) + "/" + name + ".png";
    if (const char* update = std::getenv("MORADEX_UPDATE_REFERENCES"); update && *update) {
        WriteImage(sheet, reference);
        std::cout << "wrote " << reference << ": look at it before committing it\n";
        return;
    }
    std::ifstream in(reference, std::ios::binary);
    const gfx::TBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    gfx::TImage expected;
    std::string error;
    const bool read = !bytes.empty() && gfx::ReadPng(bytes, expected, error);
    if (read && SheetsMatch(sheet, expected)) return;

    std::filesystem::create_directories(MORADEX_TEST_OUTPUT);
    const std::string out = std::string(MORADEX_TEST_OUTPUT) + "/" + name;
    WriteImage(sheet, out + ".png");
    if (!read) {
        ADD_FAILURE() << "no readable reference " << reference << "; the sheet is in " << out
                      << ".png";
        return;
    }
    if (expected.Width != sheet.Width || expected.Height != sheet.Height) {
        ADD_FAILURE() << "the sheet is " << sheet.Width << " x " << sheet.Height
                      << ", the reference " << expected.Width << " x " << expected.Height
                      << "; the sheet is in " << out << ".png";
        return;
    }
    gfx::TImage difference;
    const int count = CountDifferentPixels(sheet, expected, difference);
    WriteImage(difference, out + ".diff.png");
    ADD_FAILURE() << count << " of " << sheet.Pixels.size() << " pixels differ from " << reference
                  << "; the sheet is in " << out << ".png, the differences in " << out
                  << ".diff.png";
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
