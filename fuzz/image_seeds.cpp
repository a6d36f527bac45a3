// Writes small valid files of each format into <dir>/<format>/ as starting points for fuzzing.
#include <filesystem>
#include <fstream>

#include "platform/gfx/codecs.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::filesystem::path root = argv[1];
    gfx::TImage image;
    image.Width = 7;
    image.Height = 5;
    for (int i = 0; i < 35; ++i) image.Pixels.push_back(0x80000000u | std::uint32_t(i * 0x070503));
    auto save = [&](const char* format, const char* name, const gfx::TBytes& bytes) {
        std::filesystem::create_directories(root / format);
        std::ofstream(root / format / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
    gfx::TBytes out;
    std::string error;
    for (int bits : {24, 32})
        if (gfx::WriteBmp(image, bits, out, error))
            save("bmp", bits == 24 ? "24.bmp" : "32.bmp", out);
    for (bool alpha : {false, true})
        if (gfx::WritePng(image, 6, gfx::PNG_ROW_FILTER_SUB, alpha, out, error))
            save("png", alpha ? "rgba.png" : "rgb.png", out);
    if (gfx::WriteJpeg(image, 75, out, error)) save("jpeg", "q75.jpg", out);
    if (gfx::WriteGif(image, out, error)) save("gif", "small.gif", out);
    return 0;
}
