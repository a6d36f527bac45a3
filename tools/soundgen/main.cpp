// Makes the completion sound, sounds/ring001.wav: a short two-note chime (a major third falling),
// each note a bell-like mix of partials that dies away. Usage: soundgen <output.wav>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

#include "wav_file.h"

namespace {

constexpr int kRate = 22050;

struct TNote {
    double Start;      // seconds
    double Frequency;  // Hz
};

// Partials of a small bell: ratio to the fundamental, loudness, decay per second.
struct TPartial {
    double Ratio, Level, Decay;
};

constexpr TNote kNotes[] = {{0.0, 1318.51}, {0.18, 1046.50}};
constexpr TPartial kPartials[] = {{1.0, 1.0, 5.0}, {2.0, 0.35, 8.0}, {3.01, 0.15, 12.0}};
constexpr double kLength = 0.9;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <output.wav>\n");
        return 2;
    }
    const int count = int(kLength * kRate);
    std::vector<double> mix(size_t(count), 0.0);
    for (const TNote& note : kNotes) {
        for (int i = int(note.Start * kRate); i < count; ++i) {
            const double t = double(i) / kRate - note.Start;
            // A 5 ms rise keeps the start from clicking.
            const double rise = std::min(1.0, t / 0.005);
            for (const TPartial& p : kPartials)
                mix[size_t(i)] += rise * p.Level * std::exp(-p.Decay * t) *
                                  std::sin(2 * std::numbers::pi * note.Frequency * p.Ratio * t);
        }
    }
    std::vector<uint8_t> data;
    data.reserve(size_t(count) * 2);
    for (int i = 0; i < count; ++i) {
        // The last 20 ms fade to nothing, so the end does not click either.
        const double fall = std::min(1.0, double(count - i) / (0.02 * kRate));
        const auto sample =
            int16_t(std::lround(std::clamp(mix[size_t(i)] * fall * 0.3, -1.0, 1.0) * 32767));
        data.push_back(uint8_t(uint16_t(sample) & 0xFF));
        data.push_back(uint8_t(uint16_t(sample) >> 8));
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << soundgen::WavBytes(data, kRate, 1, 16);
    return out.good() ? 0 : 1;
}
