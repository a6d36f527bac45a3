// How the drive pictures look in the drive combo's open list, in each look, the eight pictures
// of the file-system controls and the five tool-button glyphs of the dialogs at four times their
// size, against reviewed sheets.
#include <gtest/gtest.h>

#include "sheet_test_support.h"
#include "skin/dialogs/file_combo_boxes.h"
#include "skin/packages/default_pictures.h"

namespace skin {
namespace {

using test::TSheet;

gfx::TImage Enlarged(const char* name, int factor) {
    gfx::TBitmap b;
    b.LoadFromResourceName(name);
    gfx::TImage image;
    image.Width = b.Width() * factor;
    image.Height = b.Height() * factor;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const gfx::TColor c = b.Canvas().Pixel(x / factor, y / factor);
            image.Pixels.push_back(0xFF000000u | (gfx::GetRValue(c) << 16) |
                                   (gfx::GetGValue(c) << 8) | gfx::GetBValue(c));
        }
    return image;
}

class FileControlsSheetTest : public test::TSheetTest {};

TEST_F(FileControlsSheetTest, DrivePicturesInTheOpenListAndEnlarged) {
    sys::TVolumeSources& sources = FileControlVolumeSources();
    sources.MountInfo =
        "1 0 8:2 / / rw - ext4 /dev/sda2 rw\n"
        "2 1 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n"
        "3 1 8:17 / /media/u/STICK rw - vfat /dev/sdb1 rw\n"
        "4 1 0:50 / /mnt/nas rw - nfs4 nas:/export rw\n"
        "5 1 0:51 / /mnt/ram rw - tmpfs tmpfs rw\n";
    sources.ByLabelDir = "/nonexistent-label-folder";
    sources.IsDirectory = [](const std::string&) { return true; };

    TSheet sheet;
    int column = 0;
    for (const test::TSheetLook& look : {test::kNoSkinLook, test::kFirstStartLook}) {
        ApplyLook(look);
        auto* combo = Make<TbsSkinDriveComboBox>(20, 20, 220, 22, "Drives");
        Run();
        sheet.Add(0, column, CaptureAround(combo));
        combo->DropDown();
        Settle();
        sheet.Add(1, column, CaptureAround(combo->ListBox(), 2));
        combo->CloseUp(false);
        combo->Free();
        Run();
        ++column;
    }
    int i = 0;
    for (const char* name : {"BS_FLOPPY", "BS_HARD", "BS_NETWORK", "BS_CDROM", "BS_RAM",
                             "BS_OPENFOLDER", "BS_CLOSEDFOLDER", "BS_CURRENTFOLDER"})
        sheet.Add(2 + i / 4, i % 4, Enlarged(name, 4)), ++i;
    test::ExpectSheetMatches(sheet.Compose(), "drive_pictures");
    sources = {};
}

TEST_F(FileControlsSheetTest, DialogGlyphsEnlarged) {
    RegisterDefaultPictures();
    TSheet sheet;
    int i = 0;
    for (const char* name : {"BS_NEWFOLDER", "BS_BACK", "BS_UP", "BS_LVSTYLE", "BS_STRETCH"})
        sheet.Add(0, i++, Enlarged(name, 4));
    test::ExpectSheetMatches(sheet.Compose(), "dialog_glyphs");
}

}  // namespace
}  // namespace skin
