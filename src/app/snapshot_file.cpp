#include "app/snapshot_file.h"

#include <memory>

#include "platform/sys/files.h"

namespace app {

std::string SnapshotExtension(const std::string& type) {
    if (type == "JPG") return ".jpg";
    if (type == "GIF") return ".gif";
    if (type == "PNG") return ".png";
    return ".bmp";
}

std::string NextSnapshotName(const std::string& folder, const std::string& previewFile,
                             const std::string& type) {
    const std::string base = sys::ChangeFileExt(sys::ExtractFileName(previewFile), "");
    const std::string extension = SnapshotExtension(type);
    for (int n = 1;; ++n) {
        const std::string name = folder + "/" + base + "_" + std::to_string(n) + extension;
        if (!sys::FileExists(name)) return name;
    }
}

void SavePictureAs(const gfx::TBitmap& picture, const std::string& type,
                   const std::string& fileName) {
    if (type == "JPG" || type == "GIF" || type == "PNG") {
        std::unique_ptr<gfx::TRasterImage> image;
        if (type == "JPG") {
            auto jpeg = std::make_unique<gfx::TJPEGImage>();
            jpeg->CompressionQuality = 90;
            image = std::move(jpeg);
        } else if (type == "PNG") {
            auto png = std::make_unique<gfx::TPngImage>();
            png->CompressionLevel = 7;
            png->Filters = gfx::pfSub;
            image = std::move(png);
        } else {
            image = std::make_unique<gfx::TGIFImage>();
        }
        image->Assign(picture);
        image->SaveToFile(fileName);
        return;
    }
    gfx::TBitmap bitmap;
    bitmap.Assign(picture);
    bitmap.SetPixelFormat(gfx::pf24bit);
    bitmap.SaveToFile(fileName);
}

}  // namespace app
