// Writes a small skin as a package into <dir>/skin_package/ and as a payload into
// <dir>/skin_payload/, as starting points for fuzzing the package reader.
#include <filesystem>
#include <fstream>

#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "skin/core/skin_package.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path root = argv[1];
    rtl::TStringList lines;
    lines.SetText(
        "[VERSION]\nskinname=Seed\n[PICTURES]\npicture=m.bmp\nactivepicturescount=1\n0=a.bmp\n"
        "[FORMINFO]\nclientrect=2,2,14,10\nlefttoppoint=2,2\nrightbottompoint=14,10\n"
        "[HINTWINDOW]\nfontstyle=fsbold\n[SKINCOLORS]\ncbtnface=8421504\n"
        "[SKINOBJECTS]\ncount=2\n0=cap:caption\n1=close:stdbutton\n"
        "[cap]\nskinrect=0,0,16,4\n[close]\ncommand=cmclose\nhint=Close\n"
        "[SKINCONTROLS]\ncount=3\n0=button:button\n1=list:listbox\n2=tab:tab\n"
        "[button]\npictureindex=0\nskinrect=0,0,8,8\n[list]\nitemrect=-1,0,8,4\n"
        "[tab]\nstretchtype=stvert\n");
    rtl::TMemIniFile ini;
    ini.SetStrings(lines);
    skin::TbsSkinContent skin;
    skin.ReadNames(ini);
    skin::ReadStringList(ini, "PICTURES", "activepictures", skin.FActivePicturesNames);
    skin.ReadDescription(ini);
    skin.FPicture->SetPixelFormat(gfx::pf24bit);
    skin.FPicture->SetSize(16, 12);
    skin.FActivePictures.push_back(std::make_unique<gfx::TBitmap>());
    skin.FActivePictures.back()->SetPixelFormat(gfx::pf24bit);
    skin.FActivePictures.back()->SetSize(8, 8);

    auto save = [&](const char* folder, rtl::TMemoryStream& bytes) {
        std::filesystem::create_directories(root / folder);
        std::ofstream(root / folder / "seed", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.Memory()), std::streamsize(bytes.Size()));
    };
    rtl::TMemoryStream payload;
    skin::WriteSkinPayload(skin, payload);
    save("skin_payload", payload);
    skin::TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinData(skin);
    rtl::TMemoryStream package;
    stored.SaveToCompressStream(package);
    save("skin_package", package);
    return 0;
}
