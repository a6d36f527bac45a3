// One loaded skin: its pictures, the frame geometry of a skinned form (FORMINFO), the VERSION
// texts, the singleton records, the colours and the object and control records, with the
// reading and writing of its description. The skin data component is one of these plus its
// settings and messages; a load first reads a whole new one aside, so a skin that fails to read
// never replaces the one in use.
//
// Owns its pictures and records. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"
#include "skin/core/skin_description.h"
#include "skin/core/skin_record_keys.h"
#include "skin/core/skin_records.h"

namespace skin {

class TbsSkinContent {
public:
    TbsSkinContent();
    ~TbsSkinContent();
    TbsSkinContent(TbsSkinContent&&);
    TbsSkinContent& operator=(TbsSkinContent&&);

    // FORMINFO
    MORADEX_SKIN_FORMINFO_KEYS(MORADEX_SKIN_DECLARE)
    // VERSION
    MORADEX_SKIN_VERSION_KEYS(MORADEX_SKIN_DECLARE)

    TbsDataSkinPopupWindow PopupWindow;
    TbsDataSkinLayerFrame LayerFrame;
    TbsDataSkinHintWindow HintWindow;

    // The main picture the frame and its objects draw from, the inactive frame and the form
    // mask; each may be empty, never null.
    std::unique_ptr<gfx::TBitmap> FPicture;
    std::unique_ptr<gfx::TBitmap> FInActivePicture;
    std::unique_ptr<gfx::TBitmap> FMask;
    // The further pictures the records name by index; same count as FActivePicturesNames.
    std::vector<std::unique_ptr<gfx::TBitmap>> FActivePictures;
    MORADEX_SKIN_PICTURE_KEYS(MORADEX_SKIN_DECLARE)
    rtl::TStringList FActivePicturesNames;

    // Records in description order.
    std::vector<std::unique_ptr<TbsDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TbsDataSkinControl>> CtrlList;

    TbsSkinColors* SkinColors() { return &FSkinColors; }
    const TbsSkinColors* SkinColors() const { return &FSkinColors; }

    // Index of the first record named exactly (case and every character count), or -1.
    int GetIndex(std::string_view aIDName) const;
    int GetControlIndex(std::string_view aIDName) const;

    // Frees every record and further picture, resets the singletons' picture indexes to -1 and
    // the colours to the system colours. Pictures, names, FORMINFO and texts stay.
    void ClearObjects();
    // ClearObjects, and the three pictures and their names.
    void ClearPictures();

    // Appends a further picture read from a BMP file, named by the file's name.
    void AddBitMap(const std::string& fileName);
    // Raises rtl::EListError for an index outside the list.
    void DeleteBitMap(int index);

    // The VERSION texts and the three picture names; the "activepictures" list is read with
    // the pictures themselves (LoadSkinFromDescriptionFile).
    void ReadNames(const rtl::TCustomIniFile& ini);
    // FORMINFO with its adjustments, the singletons, the colours and the records.
    void ReadDescription(const rtl::TCustomIniFile& ini);
    // The whole description: every section this skin writes is erased first, others stay.
    void WriteDescription(rtl::TCustomIniFile& ini) const;

    // Writes the description to a file, keeping sections of an existing file that the writer
    // does not erase. No BOM, CR LF.
    void SaveToFile(const std::string& fileName) const;
    // SaveToFile, then every non-empty picture as a 24-bit BMP file beside it under its name.
    // Raises, writing nothing, when a stored picture's name is not a plain file name.
    void StoreToDisk(const std::string& fileName) const;

protected:
    TbsSkinColors FSkinColors;
};

// The sections a description must have.
inline constexpr std::string_view kRequiredSections[] = {"VERSION", "PICTURES", "FORMINFO",
                                                         "SKINOBJECTS", "SKINCONTROLS"};
bool HasRequiredSections(const rtl::TCustomIniFile& ini);

// Reads a description file and the BMP files beside it into `skin`. False, with `skin`
// untouched, when a required section is missing; a picture file that cannot be read, or a
// value that cannot be converted, raises.
bool LoadSkinFromDescriptionFile(const std::string& fileName, TbsSkinContent& skin);

// 24-bit BMP bytes of a picture, as the package and StoreToDisk write it.
gfx::TBytes PictureToBmp(const gfx::TBitmap& picture);

}  // namespace skin
