#include "skin/core/skin_content.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "platform/gfx/codecs.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"

namespace skin {

namespace {

// Entries "0" to count - 1 of a section, as the skin lists its records. A count far beyond the
// entries the section holds reads empty entries, which create nothing; stopping after the last
// entry present gives the same records without walking a count a damaged skin made huge.
template <class TVisit>
void ForEachEntry(const rtl::TCustomIniFile& ini, std::string_view section, int count,
                  TVisit&& visit) {
    rtl::TStringList keys;
    ini.ReadSection(section, keys);
    int end = 0;
    for (const std::string& key : keys) {
        int32_t n = 0;
        if (rtl::TryStrToInt(key, n) && n >= 0 && rtl::IntToStr(n) == key)
            end = std::max(end, n + 1);
    }
    end = std::min(end, count);
    for (int i = 0; i < end; ++i) visit(ini.ReadString(section, rtl::IntToStr(i), ""));
}

// "IDName:kind"; without ":" both parts are empty.
std::pair<std::string, std::string> SplitEntry(const std::string& entry) {
    std::size_t colon = entry.find(':');
    if (colon == std::string::npos) return {};
    return {entry.substr(0, colon), entry.substr(colon + 1)};
}

template <class TRecord, class TFactory>
void ReadRecords(const rtl::TCustomIniFile& ini, std::string_view section, TFactory create,
                 std::vector<std::unique_ptr<TRecord>>& list) {
    ForEachEntry(ini, section, ini.ReadInteger(section, "count", 0), [&](const std::string& entry) {
        auto [idName, kind] = SplitEntry(entry);
        std::unique_ptr<TRecord> record = create(kind, idName);
        if (!record) return;
        record->LoadFromFile(ini);
        list.push_back(std::move(record));
    });
}

template <class TRecord, class TWord>
void WriteRecords(rtl::TCustomIniFile& ini, std::string_view section, TWord kindWord,
                  const std::vector<std::unique_ptr<TRecord>>& list) {
    ini.EraseSection(section);
    ini.WriteInteger(section, "count", static_cast<int64_t>(list.size()));
    for (std::size_t i = 0; i < list.size(); ++i) {
        ini.WriteString(section, rtl::IntToStr(static_cast<int64_t>(i)),
                        list[i]->IDName + ":" + std::string(kindWord(*list[i])));
        list[i]->SaveToFile(ini);
    }
}

template <class TRecordList>
int FindByName(const TRecordList& list, std::string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]->IDName == name) return static_cast<int>(i);
    return -1;
}

void WriteFileBytes(const std::string& fileName, const gfx::TBytes& bytes) {
    rtl::TFileStream file(fileName, rtl::fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

}  // namespace

TbsSkinContent::TbsSkinContent()
    : FPicture(std::make_unique<gfx::TBitmap>()),
      FInActivePicture(std::make_unique<gfx::TBitmap>()),
      FMask(std::make_unique<gfx::TBitmap>()) {}

TbsSkinContent::~TbsSkinContent() = default;
TbsSkinContent::TbsSkinContent(TbsSkinContent&&) = default;
TbsSkinContent& TbsSkinContent::operator=(TbsSkinContent&&) = default;

int TbsSkinContent::GetIndex(std::string_view aIDName) const {
    return FindByName(ObjectList, aIDName);
}

int TbsSkinContent::GetControlIndex(std::string_view aIDName) const {
    return FindByName(CtrlList, aIDName);
}

void TbsSkinContent::ClearObjects() {
    ObjectList.clear();
    CtrlList.clear();
    FActivePictures.clear();
    FActivePicturesNames.Clear();
    LayerFrame.PictureIndex = -1;
    PopupWindow.WindowPictureIndex = -1;
    HintWindow.WindowPictureIndex = -1;
    FSkinColors.SetColorsToDefault();
}

void TbsSkinContent::ClearPictures() {
    ClearObjects();
    FPicture = std::make_unique<gfx::TBitmap>();
    FInActivePicture = std::make_unique<gfx::TBitmap>();
    FMask = std::make_unique<gfx::TBitmap>();
    FPictureName.clear();
    FInActivePictureName.clear();
    FMaskName.clear();
}

// The picture is read before anything is appended, so a file that fails leaves both lists as
// they were.
void TbsSkinContent::AddBitMap(const std::string& fileName) {
    auto picture = std::make_unique<gfx::TBitmap>();
    picture->LoadFromFile(fileName);
    FActivePicturesNames.Add(sys::ExtractFileName(fileName));
    FActivePictures.push_back(std::move(picture));
}

void TbsSkinContent::DeleteBitMap(int index) {
    FActivePicturesNames.Delete(index);
    FActivePictures.erase(FActivePictures.begin() + index);
}

void TbsSkinContent::ReadNames(const rtl::TCustomIniFile& ini) {
    {
        const std::string_view section = "VERSION";
        MORADEX_SKIN_VERSION_KEYS(MORADEX_SKIN_READ)
    }
    const std::string_view section = "PICTURES";
    MORADEX_SKIN_PICTURE_KEYS(MORADEX_SKIN_READ)
}

void TbsSkinContent::ReadDescription(const rtl::TCustomIniFile& ini) {
    {
        const std::string_view section = "FORMINFO";
        MORADEX_SKIN_FORMINFO_KEYS(MORADEX_SKIN_READ)
    }
    // With a mask the hit-test area and points fall back to the frame's own geometry.
    if (!FMaskName.empty()) {
        if (MaskRectArea.IsEmpty()) {
            MaskRectArea = ClRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
        }
        const std::pair<TPoint*, const TPoint*> corners[] = {{&HitTestLTPoint, &LTPoint},
                                                             {&HitTestRTPoint, &RTPoint},
                                                             {&HitTestLBPoint, &LBPoint},
                                                             {&HitTestRBPoint, &RBPoint}};
        for (auto [hitTest, corner] : corners)
            if (hitTest->X == 0 || hitTest->Y == 0) *hitTest = *corner;
    }
    // A frame without corners is left alone; otherwise the corners lie inside the client area.
    if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
        LTPoint.X = std::max(LTPoint.X, ClRect.Left);
        LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
        RTPoint.X = std::min(RTPoint.X, ClRect.Right);
        RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
        LBPoint.X = std::max(LBPoint.X, ClRect.Left);
        LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
        RBPoint.X = std::min(RBPoint.X, ClRect.Right);
        RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
    }
    PopupWindow.LoadFromFile(ini);
    LayerFrame.LoadFromFile(ini);
    HintWindow.LoadFromFile(ini);
    FSkinColors.LoadFromFile(ini);
    ReadRecords(ini, "SKINOBJECTS", CreateObjectRecord, ObjectList);
    ReadRecords(ini, "SKINCONTROLS", CreateControlRecord, CtrlList);
}

void TbsSkinContent::WriteDescription(rtl::TCustomIniFile& ini) const {
    {
        const std::string_view section = "VERSION";
        ini.EraseSection(section);
        ini.WriteInteger(section, "ver", 1);
        MORADEX_SKIN_VERSION_KEYS(MORADEX_SKIN_WRITE)
    }
    {
        const std::string_view section = "PICTURES";
        ini.EraseSection(section);
        MORADEX_SKIN_PICTURE_KEYS(MORADEX_SKIN_WRITE)
        WriteStringList(ini, section, "activepictures", FActivePicturesNames);
    }
    {
        const std::string_view section = "FORMINFO";
        ini.EraseSection(section);
        MORADEX_SKIN_FORMINFO_KEYS(MORADEX_SKIN_WRITE)
    }
    ini.EraseSection(PopupWindow.kSection);
    PopupWindow.SaveToFile(ini);
    ini.EraseSection(LayerFrame.kSection);
    LayerFrame.SaveToFile(ini);
    ini.EraseSection(HintWindow.kSection);
    HintWindow.SaveToFile(ini);
    ini.EraseSection(FSkinColors.kSection);
    FSkinColors.SaveToFile(ini);
    WriteRecords(ini, "SKINOBJECTS", ObjectKindWord, ObjectList);
    WriteRecords(ini, "SKINCONTROLS", ControlKindWord, CtrlList);
}

void TbsSkinContent::SaveToFile(const std::string& fileName) const {
    rtl::TMemIniFile ini(fileName);
    // Rewritten as plain lines, so a byte-order mark the file had is not written again.
    rtl::TStringList lines;
    ini.GetStrings(lines);
    ini.SetStrings(lines);
    WriteDescription(ini);
    ini.UpdateFile();
}

void TbsSkinContent::StoreToDisk(const std::string& fileName) const {
    const std::pair<const gfx::TBitmap*, std::string> pictures[] = {
        {FPicture.get(), FPictureName},
        {FInActivePicture.get(), FInActivePictureName},
        {FMask.get(), FMaskName}};
    std::vector<std::pair<const gfx::TBitmap*, std::string>> stored;
    for (const auto& [picture, name] : pictures)
        if (!picture->Empty()) stored.emplace_back(picture, name);
    for (std::size_t i = 0; i < FActivePictures.size(); ++i)
        if (!FActivePictures[i]->Empty())
            stored.emplace_back(FActivePictures[i].get(),
                                FActivePicturesNames.Get(static_cast<int>(i)));
    // Names come from skin packages of any origin: one naming another folder would write
    // outside the target folder, so such a skin is refused before anything is written.
    for (const auto& [picture, name] : stored)
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of("/\\") != std::string::npos)
            throw rtl::Exception("Picture name \"" + name + "\" is not a plain file name");
    SaveToFile(fileName);
    const std::string folder = sys::ExtractFilePath(fileName);
    for (const auto& [picture, name] : stored)
        WriteFileBytes(folder + name, PictureToBmp(*picture));
}

bool HasRequiredSections(const rtl::TCustomIniFile& ini) {
    return std::all_of(std::begin(kRequiredSections), std::end(kRequiredSections),
                       [&](std::string_view section) { return ini.SectionExists(section); });
}

bool LoadSkinFromDescriptionFile(const std::string& fileName, TbsSkinContent& skin) {
    const rtl::TMemIniFile ini(fileName);
    if (!HasRequiredSections(ini)) return false;
    TbsSkinContent staged;
    staged.ReadNames(ini);
    const std::string folder = sys::ExtractFilePath(fileName);
    const std::pair<gfx::TBitmap*, const std::string*> pictures[] = {
        {staged.FPicture.get(), &staged.FPictureName},
        {staged.FInActivePicture.get(), &staged.FInActivePictureName},
        {staged.FMask.get(), &staged.FMaskName}};
    for (auto [picture, name] : pictures)
        if (!name->empty()) picture->LoadFromFile(folder + *name);
    // Each listed picture is read as its name is, so a missing file stops the load at once.
    ForEachListItem(ini, "PICTURES", "activepictures", [&](const std::string& name) {
        auto picture = std::make_unique<gfx::TBitmap>();
        picture->LoadFromFile(folder + name);
        staged.FActivePicturesNames.Add(name);
        staged.FActivePictures.push_back(std::move(picture));
    });
    staged.ReadDescription(ini);
    skin = std::move(staged);
    return true;
}

gfx::TBytes PictureToBmp(const gfx::TBitmap& picture) {
    gfx::TBytes bytes;
    std::string error;
    if (!gfx::WriteBmp(picture.ToImage(), 24, bytes, error)) throw rtl::Exception(error);
    return bytes;
}

}  // namespace skin
