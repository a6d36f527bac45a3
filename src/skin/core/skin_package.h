// Skin packages: how a skin travels. A package is Int32 version (3), Int32 length n and n bytes of
// a zlib stream; the stream inflates to the payload: Int32 version, the main, inactive and mask
// pictures each behind a flag byte (1 = empty, 0 = a BMP file follows), two more flagged
// pictures in version 2 only, Int32 count c, c BMP files, and the description text to the end.
//
// TbsCompressedStoredSkin keeps one package's zlib stream in memory; TbsCompressedSkinList keeps
// a named list of them. Reading a package never inflates it: a skin data does that when it loads
// the stored skin (ReadSkinPayload). Every reader refuses damaged data with an exception and
// leaves what it was reading into as it was. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/lists.h"
#include "platform/rtl/streams.h"
#include "platform/vcl/classes.h"
#include "skin/core/skin_content.h"

namespace skin {

// The highest package and payload version a reader accepts, and the one written.
inline constexpr int32_t kSkinPackageVersion = 3;

// Reads an inflated payload into `skin`, which must be fresh. False, with nothing read, when
// its version is above 3. Damaged data raises rtl::EReadError "Invalid skin package: <reason>";
// a picture the BMP reader refuses raises its reader's error; a bad description value raises
// rtl::EConvertError.
bool ReadSkinPayload(rtl::TMemoryStream& payload, TbsSkinContent& skin);
// Writes the payload of a loaded skin at the stream's position.
void WriteSkinPayload(const TbsSkinContent& skin, rtl::TStream& payload);

class TbsCompressedStoredSkin : public vcl::TComponent {
public:
    explicit TbsCompressedStoredSkin(vcl::TComponent* AOwner);
    ~TbsCompressedStoredSkin() override;

    // Names of the description or package file this skin was built from; setting only stores
    // (forms are built in code, so there is no designer to load them).
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const std::string& value) { FCompressedFileName = value; }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& value) { FDescription = value; }

    // True while no zlib stream is held.
    bool Empty() const;

    // Reads a package from the stream's start. A version above 3 leaves the skin empty; a length
    // that is negative or runs past the stream's end raises rtl::EReadError "Stream read error"
    // and also leaves it empty.
    void LoadFromCompressStream(rtl::TStream& stream);
    // Writes the package (version 3, length, zlib stream) at the stream's position.
    void SaveToCompressStream(rtl::TStream& stream) const;
    void LoadFromCompressFile(const std::string& fileName);
    // An empty skin writes no file.
    void SaveToCompressFile(const std::string& fileName) const;

    // Packs a loaded skin: its pictures and its description.
    void LoadFromSkinData(const TbsSkinContent& skinData);
    // Packs a description file and the BMP files beside it. A description without one of the
    // required sections leaves the package as it was.
    void LoadFromIniFile(const std::string& fileName);
    // Inflates the whole zlib stream and writes the payload at the stream's position.
    void DeCompressToStream(rtl::TStream& stream) const;

    // The zlib stream, without the package header.
    const rtl::TMemoryStream& CompressedStream() const { return FCompressedStream; }

private:
    void ReadPackage(rtl::TStream& stream);
    void SetPayload(rtl::TMemoryStream& payload);

    std::string FFileName;
    std::string FCompressedFileName;
    // Reading it moves its position, which is no change of the package.
    mutable rtl::TMemoryStream FCompressedStream;
    std::string FDescription;
};

class TbsCompressedSkinList;

// Frees a component the classic way, for the few that live without an owner.
struct TComponentFree {
    void operator()(vcl::TComponent* component) const { component->Free(); }
};

class TbsSkinListItem : public rtl::TCollectionItem {
public:
    // Named "bsSkin" and the index the item gets when it is created.
    explicit TbsSkinListItem(int index);
    ~TbsSkinListItem() override;

    TbsCompressedStoredSkin* Skin() const { return FSkin.get(); }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& value) { FDescription = value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }
    const std::string& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const std::string& value) { FCompressedFileName = value; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }
    std::string GetDisplayName() const { return FName; }

    // Copies the skin and every text.
    void Assign(const rtl::TCollectionItem& source) override;

private:
    // Made without an owner; freed with the item.
    std::unique_ptr<TbsCompressedStoredSkin, TComponentFree> FSkin;
    std::string FDescription;
    std::string FFileName;
    std::string FCompressedFileName;
    std::string FName;
};

class TbsSkinListItems : public rtl::TCollection {
public:
    explicit TbsSkinListItems(TbsCompressedSkinList* skinList);

    TbsSkinListItem* Items(int index) const {
        return static_cast<TbsSkinListItem*>(TCollection::Items(index));
    }
    TbsSkinListItem* Add() { return static_cast<TbsSkinListItem*>(TCollection::Add()); }
    TbsSkinListItem* Insert(int index) {
        return static_cast<TbsSkinListItem*>(TCollection::Insert(index));
    }
    TbsCompressedSkinList* Owner() const { return FSkinList; }

private:
    TbsCompressedSkinList* FSkinList;
};

class TbsCompressedSkinList : public vcl::TComponent {
public:
    explicit TbsCompressedSkinList(vcl::TComponent* AOwner);
    ~TbsCompressedSkinList() override;

    TbsSkinListItems& Skins() { return FSkins; }
    const TbsSkinListItems& Skins() const { return FSkins; }
    // Copies the items of another list.
    void SetSkins(const TbsSkinListItems& value) { FSkins.Assign(value); }

private:
    TbsSkinListItems FSkins;
};

}  // namespace skin
