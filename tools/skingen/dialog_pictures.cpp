#include "dialog_pictures.h"

#include <array>
#include <stdexcept>
#include <string>

namespace skingen {

namespace {

constexpr std::array<std::string_view, 13> kNames = {
    "BS_FLOPPY",     "BS_HARD",         "BS_NETWORK",       "BS_CDROM",     "BS_RAM",
    "BS_OPENFOLDER", "BS_CLOSEDFOLDER", "BS_CURRENTFOLDER", "BS_NEWFOLDER", "BS_BACK",
    "BS_UP",         "BS_LVSTYLE",      "BS_STRETCH"};

// One letter per colour; "." is the transparent key.
gfx::TColor ColorOf(char c) {
    switch (c) {
        case '.':
            return gfx::RGB(255, 0, 255);
        case 'k':
            return gfx::RGB(0, 0, 0);
        case 'g':
            return gfx::RGB(128, 128, 128);
        case 'l':
            return gfx::RGB(192, 192, 192);
        case 'w':
            return gfx::RGB(255, 255, 255);
        case 'b':
            return gfx::RGB(40, 72, 160);
        case 'c':
            return gfx::RGB(120, 176, 232);
        case 'G':
            return gfx::RGB(0, 200, 0);
        case 'd':
            return gfx::RGB(0, 112, 48);
        case 'y':
            return gfx::RGB(255, 216, 96);
        case 'Y':
            return gfx::RGB(255, 240, 176);
        case 'o':
            return gfx::RGB(176, 128, 24);
        case 'a':
            return gfx::RGB(224, 176, 32);
        case 'r':
            return gfx::RGB(208, 48, 32);
        case 'O':
            return gfx::RGB(240, 144, 0);
    }
    throw std::logic_error(std::string("dialog picture: no colour for '") + c + "'");
}

struct TGrid {
    std::string_view Name;
    std::array<std::string_view, 16> Rows;
    int Height;
};

// A diskette, a drive box with its lamp, the box on a cable, a disc, a memory module, and a
// folder shut, open, and open with a sheet in it (the folder being shown). Then the dialogs'
// tool buttons: a shut folder with a spark (new folder), an arrow to the left (back), a folder
// with an arrow up (up one level), four small panes (view style) and arrows out to two corners
// (stretch).
constexpr TGrid kGrids[] = {
    {"BS_FLOPPY",
     {"................", ".kkkkkkkkkkkkkk.", ".kbbkwwwwwwkbbk.", ".kbbkwwwwwwkbbk.",
      ".kbbkwwwwwwkbbk.", ".kbbkwwwwwwkbbk.", ".kbbbkkkkkkbbbk.", ".kbbbbbbbbbbbbk.",
      ".kbbllllllllbbk.", ".kbblggglllllbbk", ".kbblggglllllbbk", ".kbblggglllllbbk",
      ".kbbllllllllbbk.", ".kkkkkkkkkkkkkk.", "................", "................"},
     16},
    {"BS_HARD",
     {"................", "................", "................", "................",
      "................", "...kkkkkkkkkkkk.", "..kwwwwwwwwwwkk.", ".kwwwwwwwwwwkgk.",
      ".kkkkkkkkkkkkgk.", ".kllllllllllkgk.", ".klllllllllllkk.", ".klGlllllgglkk..",
      ".kllllllllllk...", ".kkkkkkkkkkkk...", "................", "................"},
     16},
    {"BS_NETWORK",
     {"................", "................", "...kkkkkkkkkkkk.", "..kwwwwwwwwwwkk.",
      ".kwwwwwwwwwwkgk.", ".kkkkkkkkkkkkgk.", ".kllllllllllkgk.", ".klGlllllgglkk..",
      ".kllllllllllk...", ".kkkkkkkkkkkk...", "......kk........", "......kk........",
      ".kkkkkkkkkkkkkk.", ".kkkkkkkkkkkkkk.", "................", "................"},
     16},
    {"BS_CDROM",
     {"................", ".....kkkkkk.....", "...kkwwwwllkk...", "..kwwwcwwwlllk..",
      ".kwwwwccwwlllgk.", ".kwwwwwclllllgk.", "kwwwwwwkkllllggk", "kwwwwwk..kllgggk",
      "kwwwwwk..klggggk", "kwwwwwwkkwwggggk", ".kwwwwwwwwwggck.", ".kwwwwwwwwwwcck.",
      "..kwwwwwwwwwck..", "...kkwwwwwwkk...", ".....kkkkkk.....", "................"},
     16},
    {"BS_RAM",
     {"................", ".dddddddddddddd.", ".dkkkdkkkdkkkdd.", ".dkkkdkkkdkkkdd.",
      ".dkkkdkkkdkkkdd.", ".dddddddddddddd.", ".dddddddddddddd.", ".dadadadadaddad.",
      ".dadadadadaddad.", ".dddddddddddddd.", "................", "", "", "", "", ""},
     11},
    {"BS_OPENFOLDER",
     {
         "................",
         "................",
         "..kkkkk.........",
         ".kyyyyyk........",
         ".kyYYYYykkkkkkk.",
         ".kyYkkkkkkkkkkkk",
         ".kyYkaaaaaaaaaak",
         ".kykaaaaaaaaaak.",
         ".kykaaaaaaaaaak.",
         ".kkaaaaaaaaaak..",
         ".kkaaaaaaaaaak..",
         ".kaaaaaaaaaak...",
         ".kkkkkkkkkkkk...",
         "................",
         "................",
         "",
     },
     15},
    {"BS_CLOSEDFOLDER",
     {"................", "................", "..kkkkk.........", ".kYYYYYk........",
      ".kYyyyyykkkkkk..", ".kYYYYYYYYYYYok.", ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.",
      ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.",
      ".kooooooooooook.", "..kkkkkkkkkkkk..", "................", ""},
     15},
    {"BS_CURRENTFOLDER",
     {"................", ".....kkkkkkk....", "..kkkkwwwwwkk...", ".kyyykwcccwwk...",
      ".kyYYkwwwwwwkkkk", ".kyYkkkkkkkkkkkk", ".kyYkaaaaaaaaaak", ".kykaaaaaaaaaak.",
      ".kykaaaaaaaaaak.", ".kkaaaaaaaaaak..", ".kkaaaaaaaaaak..", ".kaaaaaaaaaak...",
      ".kkkkkkkkkkkk...", "................", "................", ""},
     15},
    {"BS_NEWFOLDER",
     {"............O...", "..........O.O.O.", "...........OOO..", ".........OOOYOOO",
      "..kkkkk....OOO..", ".kYYYYYk..O.O.O.", ".kYyyyyykkkkOk..", ".kYYYYYYYYYYYok.",
      ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.", ".kYyyyyyyyyyyok.",
      ".kooooooooooook.", "..kkkkkkkkkkkk..", "................", "................"},
     16},
    {"BS_BACK",
     {"................", "................", "......d.........", ".....dd.........",
      "....dGd.........", "...dGGdddddddd..", "..dGGGGGGGGGGd..", ".dGGGGGGGGGGGd..",
      "..dGGGGGGGGGGd..", "...dGGdddddddd..", "....dGd.........", ".....dd.........",
      "......d.........", "................", "................", "................"},
     16},
    {"BS_UP",
     {"................", "................", "..kkkkk.........", ".kYYYYYk........",
      ".kYyyyyykkkkkk..", ".kYYYYYYYkYYYok.", ".kYyyyyykkkyyok.", ".kYyyyykkkkkyok.",
      ".kYyyykkkkkkkok.", ".kYyyyyykkkyyok.", ".kYyyyyykkkyyok.", ".kYyyyyykkkyyok.",
      ".kooooooooooook.", "..kkkkkkkkkkkk..", "................", "................"},
     16},
    {"BS_LVSTYLE",
     {"................", ".bbbbbb..bbbbbb.", ".bwwwwb..bwwwwb.", ".bwccwb..bwccwb.",
      ".bwccwb..bwccwb.", ".bwwwwb..bwwwwb.", ".bbbbbb..bbbbbb.", "................",
      "................", ".bbbbbb..bbbbbb.", ".bwwwwb..bwwwwb.", ".bwccwb..bwccwb.",
      ".bwccwb..bwccwb.", ".bwwwwb..bwwwwb.", ".bbbbbb..bbbbbb.", "................"},
     16},
    {"BS_STRETCH",
     {"................", ".bbbbb..........", ".bbbb...........", ".bbbb...........",
      ".bb.bb..........", ".b...bb.........", "......bb........", ".......bb.......",
      ".......bb.......", "........bb......", ".........bb...b.", "..........bb.bb.",
      "...........bbbb.", "...........bbbb.", "..........bbbbb.", "................"},
     16},
};

}  // namespace

std::span<const std::string_view> DialogPictureNames() {
    return kNames;
}

std::unique_ptr<gfx::TBitmap> DrawDialogPicture(std::string_view name) {
    for (const TGrid& grid : kGrids) {
        if (grid.Name != name) continue;
        auto b = std::make_unique<gfx::TBitmap>();
        b->SetPixelFormat(gfx::pf24bit);
        b->SetSize(16, grid.Height);
        for (int y = 0; y < grid.Height; ++y) {
            const std::string_view row = grid.Rows[y];
            if (row.size() != 16)
                throw std::logic_error(std::string(name) + ": row " + std::to_string(y) +
                                       " is not 16 pixels wide");
            std::uint8_t* p = b->ScanLine(y);
            for (char c : row) {
                const gfx::TColor color = ColorOf(c);
                *p++ = std::uint8_t(gfx::GetBValue(color));
                *p++ = std::uint8_t(gfx::GetGValue(color));
                *p++ = std::uint8_t(gfx::GetRValue(color));
            }
        }
        return b;
    }
    return nullptr;
}

}  // namespace skingen
