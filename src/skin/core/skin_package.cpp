#include "skin/core/skin_package.h"

#include <span>
#include <string_view>

#include "platform/rtl/exception.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"
#include "skin/core/zlib_streams.h"

namespace skin {

namespace {

constexpr std::size_t kBmpHeaderSize = 54;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

[[noreturn]] void Invalid(const std::string& reason) {
    throw rtl::EReadError("Invalid skin package: " + reason);
}

// Walks the payload bytes; every field is checked against what is left before it is read.
class TPayloadReader {
public:
    explicit TPayloadReader(std::span<const uint8_t> data) : FData(data) {}

    int32_t Int32(const char* field) {
        if (Left() < 4) Invalid(std::string("the data ends before ") + field);
        uint32_t value = uint32_t(FData[FPos]) | uint32_t(FData[FPos + 1]) << 8 |
                         uint32_t(FData[FPos + 2]) << 16 | uint32_t(FData[FPos + 3]) << 24;
        FPos += 4;
        return static_cast<int32_t>(value);
    }

    // A flag byte; 0 is followed by a BMP file, anything else leaves the picture empty.
    void FlaggedPicture(gfx::TBitmap& target) {
        if (Left() < 1) Invalid("the data ends before a picture flag");
        if (FData[FPos++] == 0) Picture(target);
    }

    // A whole BMP file, as long as its own size field says.
    void Picture(gfx::TBitmap& target) {
        ++FPictures;
        if (Left() < 6) Invalid(rtl::Format("picture %d is cut short", FPictures));
        const uint32_t size = uint32_t(FData[FPos + 2]) | uint32_t(FData[FPos + 3]) << 8 |
                              uint32_t(FData[FPos + 4]) << 16 | uint32_t(FData[FPos + 5]) << 24;
        if (size < kBmpHeaderSize)
            Invalid(rtl::Format("picture %d has a size field below 54", FPictures));
        if (size > Left()) Invalid(rtl::Format("picture %d is cut short", FPictures));
        target.LoadFromBuffer(FData.subspan(FPos, size));
        FPos += size;
    }

    std::string_view Rest() const {
        return {reinterpret_cast<const char*>(FData.data()) + FPos, Left()};
    }

private:
    std::size_t Left() const { return FData.size() - FPos; }

    std::span<const uint8_t> FData;
    std::size_t FPos = 0;
    int FPictures = 0;
};

void WriteInt32(rtl::TStream& stream, int32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    stream.WriteBuffer(bytes, 4);
}

int32_t ReadInt32(rtl::TStream& stream) {
    uint8_t bytes[4];
    stream.ReadBuffer(bytes, 4);
    return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                                uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

void WriteBytes(rtl::TStream& stream, const gfx::TBytes& bytes) {
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void WriteFlaggedPicture(rtl::TStream& stream, const gfx::TBitmap& picture) {
    const uint8_t flag = picture.Empty() ? 1 : 0;
    stream.WriteBuffer(&flag, 1);
    if (!picture.Empty()) WriteBytes(stream, PictureToBmp(picture));
}

}  // namespace

bool ReadSkinPayload(rtl::TMemoryStream& payload, TbsSkinContent& skin) {
    TPayloadReader reader({payload.Memory(), static_cast<std::size_t>(payload.Size())});
    const int32_t version = reader.Int32("its version");
    if (version > kSkinPackageVersion) return false;
    reader.FlaggedPicture(*skin.FPicture);
    reader.FlaggedPicture(*skin.FInActivePicture);
    reader.FlaggedPicture(*skin.FMask);
    if (version == 2) {
        gfx::TBitmap dropped;
        reader.FlaggedPicture(dropped);
        reader.FlaggedPicture(dropped);
    }
    const int32_t count = reader.Int32("the picture count");
    if (count < 0) Invalid("the picture count is negative");
    for (int32_t i = 0; i < count; ++i) {
        auto picture = std::make_unique<gfx::TBitmap>();
        reader.Picture(*picture);
        skin.FActivePictures.push_back(std::move(picture));
    }

    std::string_view text = reader.Rest();
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    rtl::TStringList lines;
    lines.SetText(text);
    rtl::TMemIniFile ini;
    ini.SetStrings(lines);
    skin.ReadNames(ini);
    // The records address pictures by their place in this list and the names follow it: a
    // description that lists another number of pictures does not belong to these pictures.
    const int listed = std::max(0, ini.ReadInteger("PICTURES", "activepicturescount", 0));
    if (listed != count)
        Invalid(rtl::Format("the description lists %d further pictures, the package holds %d",
                            listed, count));
    ReadStringList(ini, "PICTURES", "activepictures", skin.FActivePicturesNames);
    skin.ReadDescription(ini);
    return true;
}

void WriteSkinPayload(const TbsSkinContent& skin, rtl::TStream& payload) {
    WriteInt32(payload, kSkinPackageVersion);
    WriteFlaggedPicture(payload, *skin.FPicture);
    WriteFlaggedPicture(payload, *skin.FInActivePicture);
    WriteFlaggedPicture(payload, *skin.FMask);
    WriteInt32(payload, static_cast<int32_t>(skin.FActivePictures.size()));
    for (const auto& picture : skin.FActivePictures) WriteBytes(payload, PictureToBmp(*picture));
    rtl::TMemIniFile ini;
    skin.WriteDescription(ini);
    rtl::TStringList lines;
    ini.GetStrings(lines);
    lines.SaveToStream(payload);
}

// --- TbsCompressedStoredSkin ---

TbsCompressedStoredSkin::TbsCompressedStoredSkin(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner) {}
TbsCompressedStoredSkin::~TbsCompressedStoredSkin() = default;

bool TbsCompressedStoredSkin::Empty() const {
    return FCompressedStream.Size() == 0;
}

void TbsCompressedStoredSkin::ReadPackage(rtl::TStream& stream) {
    FCompressedStream.Clear();
    if (ReadInt32(stream) > kSkinPackageVersion) return;
    const int32_t length = ReadInt32(stream);
    if (length < 0 || length > stream.Size() - stream.Position())
        throw rtl::EReadError("Stream read error");
    try {
        FCompressedStream.SetSize(length);
        stream.ReadBuffer(FCompressedStream.Memory(), length);
    } catch (...) {
        FCompressedStream.Clear();
        throw;
    }
}

void TbsCompressedStoredSkin::LoadFromCompressStream(rtl::TStream& stream) {
    FCompressedStream.Clear();
    stream.SetPosition(0);
    ReadPackage(stream);
}

void TbsCompressedStoredSkin::SaveToCompressStream(rtl::TStream& stream) const {
    WriteInt32(stream, kSkinPackageVersion);
    WriteInt32(stream, static_cast<int32_t>(FCompressedStream.Size()));
    stream.WriteBuffer(FCompressedStream.Memory(), FCompressedStream.Size());
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const std::string& fileName) {
    FCompressedStream.Clear();
    rtl::TFileStream file(fileName, rtl::fmOpenRead);
    ReadPackage(file);
}

void TbsCompressedStoredSkin::SaveToCompressFile(const std::string& fileName) const {
    if (Empty()) return;
    rtl::TFileStream file(fileName, rtl::fmCreate);
    SaveToCompressStream(file);
}

// The package changes only once the new one is whole.
void TbsCompressedStoredSkin::SetPayload(rtl::TMemoryStream& payload) {
    rtl::TMemoryStream zlib;
    ZlibCompressStream(payload, zlib);
    zlib.SetPosition(0);
    FCompressedStream.LoadFromStream(zlib);
}

void TbsCompressedStoredSkin::LoadFromSkinData(const TbsSkinContent& skinData) {
    rtl::TMemoryStream payload;
    WriteSkinPayload(skinData, payload);
    SetPayload(payload);
}

void TbsCompressedStoredSkin::LoadFromIniFile(const std::string& fileName) {
    rtl::TStringList lines;
    lines.LoadFromFile(fileName);
    rtl::TMemIniFile ini;
    ini.SetStrings(lines);
    if (!HasRequiredSections(ini)) return;

    const std::string folder = sys::ExtractFilePath(fileName);
    rtl::TMemoryStream payload;
    WriteInt32(payload, kSkinPackageVersion);
    for (const char* key : {"picture", "inactivepicture", "mask"}) {
        const std::string name = ini.ReadString("PICTURES", key, "");
        gfx::TBitmap picture;
        if (!name.empty()) picture.LoadFromFile(folder + name);
        WriteFlaggedPicture(payload, picture);
    }
    // Read and written again like the three above: a file's own size field may be wrong or
    // below 54 and still read, but the package reader finds the next picture by it. The count
    // goes in front once it is known.
    rtl::TMemoryStream pictures;
    int32_t count = 0;
    ForEachListItem(ini, "PICTURES", "activepictures", [&](const std::string& name) {
        gfx::TBitmap picture;
        picture.LoadFromFile(folder + name);
        WriteBytes(pictures, PictureToBmp(picture));
        ++count;
    });
    WriteInt32(payload, count);
    payload.WriteBuffer(pictures.Memory(), pictures.Size());
    lines.SaveToStream(payload);
    SetPayload(payload);
}

void TbsCompressedStoredSkin::DeCompressToStream(rtl::TStream& stream) const {
    ZlibDecompressStream(stream, FCompressedStream);
}

// --- the stored-skin list ---

TbsSkinListItem::TbsSkinListItem(int index)
    : FSkin(new TbsCompressedStoredSkin(nullptr)), FName(rtl::Format("bsSkin%d", index)) {}

TbsSkinListItem::~TbsSkinListItem() = default;

void TbsSkinListItem::Assign(const rtl::TCollectionItem& source) {
    const auto* item = dynamic_cast<const TbsSkinListItem*>(&source);
    if (item == nullptr) {
        rtl::TCollectionItem::Assign(source);
        return;
    }
    rtl::TMemoryStream package;
    item->FSkin->SaveToCompressStream(package);
    FSkin->LoadFromCompressStream(package);
    FDescription = item->FDescription;
    FFileName = item->FFileName;
    FCompressedFileName = item->FCompressedFileName;
    FName = item->FName;
}

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* skinList)
    : TCollection([this] { return std::make_unique<TbsSkinListItem>(Count()); }),
      FSkinList(skinList) {}

TbsCompressedSkinList::TbsCompressedSkinList(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), FSkins(this) {}
TbsCompressedSkinList::~TbsCompressedSkinList() = default;

}  // namespace skin
