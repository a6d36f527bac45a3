// PNG files of any header colour type, written chunk by chunk, for tests that need what our own
// writer never makes (grey and palette pictures, transparency chunks). Link ZLIB::ZLIB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <zlib.h>

namespace testsupport {

struct TPngSpec {
    int Width = 0;
    int Height = 0;
    int ColorType = 2;  // as in the header
    int BitDepth = 8;
    // Packed samples of each row, without the filter byte, row after row.
    std::vector<std::uint8_t> Rows;
    std::vector<std::uint8_t> Palette;       // PLTE: R, G, B per entry
    std::vector<std::uint8_t> Transparency;  // tRNS as the colour type has it
};

inline void AppendChunk(std::vector<std::uint8_t>& out, const char* type,
                        const std::vector<std::uint8_t>& body) {
    const auto put32 = [&](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
    };
    put32(std::uint32_t(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

inline std::vector<std::uint8_t> MakePng(const TPngSpec& spec) {
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    for (std::uint32_t v : {std::uint32_t(spec.Width), std::uint32_t(spec.Height)})
        for (int shift = 24; shift >= 0; shift -= 8) ihdr.push_back(std::uint8_t(v >> shift));
    ihdr.insert(ihdr.end(), {std::uint8_t(spec.BitDepth), std::uint8_t(spec.ColorType), 0, 0, 0});
    AppendChunk(out, "IHDR", ihdr);
    if (!spec.Palette.empty()) AppendChunk(out, "PLTE", spec.Palette);
    if (!spec.Transparency.empty()) AppendChunk(out, "tRNS", spec.Transparency);
    std::vector<std::uint8_t> raw;
    const std::size_t rowBytes = spec.Rows.size() / std::size_t(spec.Height);
    for (int y = 0; y < spec.Height; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), spec.Rows.begin() + long(y * rowBytes),
                   spec.Rows.begin() + long((y + 1) * rowBytes));
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> packed(size);
    compress2(packed.data(), &size, raw.data(), uLong(raw.size()), 9);
    packed.resize(size);
    AppendChunk(out, "IDAT", packed);
    AppendChunk(out, "IEND", {});
    return out;
}

}  // namespace testsupport
