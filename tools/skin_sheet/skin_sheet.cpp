// skin_sheet OUTDIR: loads each of the nine stored skins through a skin data and writes its
// contact sheet as OUTDIR/skin_N.png, for a person to look at. Fails when a sheet shows magenta
// or the key colour.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "skin/packages/stored_skins.h"
#include "skin_contents.h"
#include "skin_sheet_render.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_sheet OUTDIR\n");
        return 2;
    }
    std::unique_ptr<skin::TbsCompressedSkinList, skin::TComponentFree> list(
        new skin::TbsCompressedSkinList(nullptr));
    skin::AddStoredSkins(*list, skin::ChooserSkinPackages());
    skin::AddStoredSkins(*list, {&skin::ListSkinPackage(), 1});
    int failures = 0;
    for (int i = 0; i < list->Skins().Count(); ++i) {
        std::unique_ptr<skin::TbsSkinData, skin::TComponentFree> data(
            new skin::TbsSkinData(nullptr));
        data->LoadCompressedStoredSkin(list->Skins().Items(i)->Skin());
        gfx::TBitmap sheet;
        skinsheet::RenderSkinSheet(*data, sheet);
        const int leaks = skinsheet::CountKeyColourPixels(sheet);
        if (leaks) {
            std::fprintf(stderr, "skin %d: %d magenta or key-colour pixels\n", i, leaks);
            ++failures;
        }
        gfx::TPngImage png;
        png.Assign(sheet);
        png.SaveToFile(std::string(argv[1]) + "/skin_" + std::to_string(i) + ".png");
    }
    return failures ? 1 : 0;
}
