#include "platform/gfx/picture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

namespace gfx {

namespace {

std::unique_ptr<TGraphic> NewOfClass(const TGraphic& graphic) {
    const std::string name = graphic.ClassName();
    if (name == "TBitmap") return std::make_unique<TBitmap>();
    if (name == "TPngImage") return std::make_unique<TPngImage>();
    if (name == "TJPEGImage") return std::make_unique<TJPEGImage>();
    if (name == "TGIFImage") return std::make_unique<TGIFImage>();
    if (name == "TIcon") return std::make_unique<TIcon>();
    return std::make_unique<TBitmap>();
}

std::string ExtensionOf(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return fileName.substr(dot);
}

}  // namespace

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& extension) {
    std::string e = rtl::LowerCase(extension);
    if (!e.empty() && e[0] == '.') e.erase(0, 1);
    if (e == "bmp") return std::make_unique<TBitmap>();
    if (e == "png") return std::make_unique<TPngImage>();
    if (e == "jpg" || e == "jpeg" || e == "jpe" || e == "jfif")
        return std::make_unique<TJPEGImage>();
    if (e == "gif") return std::make_unique<TGIFImage>();
    if (e == "ico") return std::make_unique<TIcon>();
    return nullptr;
}

std::unique_ptr<TGraphic> GraphicForSignature(std::span<const std::uint8_t> d) {
    auto starts = [&](std::initializer_list<std::uint8_t> sig) {
        return d.size() >= sig.size() && std::equal(sig.begin(), sig.end(), d.begin());
    };
    if (starts({'B', 'M'})) return std::make_unique<TBitmap>();
    if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return std::make_unique<TPngImage>();
    if (starts({0xFF, 0xD8, 0xFF})) return std::make_unique<TJPEGImage>();
    if (starts({'G', 'I', 'F', '8'})) return std::make_unique<TGIFImage>();
    if (starts({0, 0, 1, 0})) return std::make_unique<TIcon>();
    return nullptr;
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic) FGraphic->OnChange = [this] { Changed(); };
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == FGraphic.get()) return;
    if (!graphic) {
        Take(nullptr);
        return;
    }
    auto copy = NewOfClass(*graphic);
    copy->Assign(*graphic);
    Take(std::move(copy));
}

TBitmap& TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get())) return *bitmap;
    auto bitmap = std::make_unique<TBitmap>();
    if (FGraphic && !FGraphic->Empty()) bitmap->Assign(*FGraphic);
    TBitmap& result = *bitmap;
    Take(std::move(bitmap));
    return result;
}

TIcon& TPicture::Icon() {
    if (auto* icon = dynamic_cast<TIcon*>(FGraphic.get())) return *icon;
    auto icon = std::make_unique<TIcon>();
    if (FGraphic && !FGraphic->Empty()) icon->Assign(*FGraphic);
    TIcon& result = *icon;
    Take(std::move(icon));
    return result;
}

void TPicture::LoadFromFile(const std::string& fileName) {
    const std::string extension = ExtensionOf(fileName);
    auto graphic = GraphicForExtension(extension);
    if (!graphic)
        throw EInvalidGraphic("Unknown picture file extension (" +
                              (extension.empty() ? std::string(".") : extension) + ")");
    graphic->LoadFromFile(fileName);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) const {
    if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::LoadFromStream(rtl::TStream& stream) {
    const std::int64_t left = std::max<std::int64_t>(stream.Size() - stream.Position(), 0);
    TBytes data(static_cast<std::size_t>(left));
    if (!data.empty()) stream.ReadBuffer(data.data(), left);
    auto graphic = GraphicForSignature(data);
    if (!graphic) throw EInvalidGraphic("Unknown picture format");
    graphic->LoadFromBuffer(data);
    Take(std::move(graphic));
}

void TPicture::SaveToStream(rtl::TStream& stream) const {
    if (FGraphic) FGraphic->SaveToStream(stream);
}

}  // namespace gfx
