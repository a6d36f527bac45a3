#include "skin/packages/stored_skins.h"

#include "platform/rtl/streams.h"

namespace skin {

// Written by tools/skingen: the chooser's eight, then the list skin.
extern const TStoredSkinPackage kGeneratedSkinPackages[9];

std::span<const TStoredSkinPackage> ChooserSkinPackages() {
    return {kGeneratedSkinPackages, 8};
}

const TStoredSkinPackage& ListSkinPackage() {
    return kGeneratedSkinPackages[8];
}

void AddStoredSkins(TbsCompressedSkinList& list, std::span<const TStoredSkinPackage> packages) {
    for (const TStoredSkinPackage& package : packages) {
        rtl::TMemoryStream stream;
        stream.Write(package.Package.data(), std::int64_t(package.Package.size()));
        stream.Seek(0, rtl::soFromBeginning);
        TbsSkinListItem* item = list.Skins().Add();
        item->Skin()->LoadFromCompressStream(stream);
        if (!package.Name.empty()) item->SetName(std::string(package.Name));
    }
}

}  // namespace skin
