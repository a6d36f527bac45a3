// Writes PCM samples as a RIFF WAVE file: the completion sound's generator and the sound tests
// share it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

// 8-bit unsigned (bitsPerSample 8) or 16-bit signed little-endian (16) samples, channels
// interleaved, as the bytes of a whole file.
inline std::string WavBytes(const std::vector<uint8_t>& data, int sampleRate, int channels,
                            int bitsPerSample) {
    std::string bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
    };
    const uint32_t blockAlign = uint32_t(channels * bitsPerSample / 8);
    bytes += "RIFF";
    put(uint32_t(36 + data.size()), 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(uint32_t(channels), 2);
    put(uint32_t(sampleRate), 4);
    put(uint32_t(sampleRate) * blockAlign, 4);
    put(blockAlign, 2);
    put(uint32_t(bitsPerSample), 2);
    bytes += "data";
    put(uint32_t(data.size()), 4);
    bytes.append(data.begin(), data.end());
    return bytes;
}

}  // namespace soundgen
