// Screenshot comparison, the one rule every picture test uses: a picture matches its reviewed
// reference PNG when both have the same size and at most 0.1 % of the pixels differ by more than
// 2 in some colour channel (alpha is not compared). A failing or missing reference fails the test
// and leaves the picture, and a difference image when the sizes agree, in the test-output folder
// the caller names, for a person to look at.
//
// The one way to re-make references: run the tests with MORADEX_UPDATE_REFERENCES=1, which
// writes each picture over its reference instead of comparing; a person looks at every one
// before it is committed. A plain run never writes a reference. Header only; link gfx.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/gfx/codecs.h"

namespace testsupport {

inline int PictureChannel(std::uint32_t p, int shift) {
    return int(p >> shift & 0xFF);
}

// Counts the pixels that break the rule and marks them in `difference` (same size as the
// pictures, which must agree in size): magenta where they differ, the picture faded elsewhere.
inline int CountDifferentPixels(const gfx::TImage& actual, const gfx::TImage& expected,
                                gfx::TImage& difference) {
    difference = actual;
    int count = 0;
    for (std::size_t i = 0; i < actual.Pixels.size(); ++i) {
        const std::uint32_t a = actual.Pixels[i], e = expected.Pixels[i];
        bool differs = false;
        for (int shift : {0, 8, 16})
            differs |= std::abs(PictureChannel(a, shift) - PictureChannel(e, shift)) > 2;
        if (differs) {
            ++count;
            difference.Pixels[i] = 0xFFFF00FFu;
        } else {
            const int grey =
                (PictureChannel(a, 0) + PictureChannel(a, 8) + PictureChannel(a, 16)) / 6 + 128;
            difference.Pixels[i] = 0xFF000000u | std::uint32_t(grey) * 0x010101u;
        }
    }
    return count;
}

inline bool PicturesMatch(const gfx::TImage& actual, const gfx::TImage& expected) {
    if (actual.Width != expected.Width || actual.Height != expected.Height) return false;
    gfx::TImage difference;
    const int count = CountDifferentPixels(actual, expected, difference);
    return std::int64_t(count) * 1000 <= std::int64_t(actual.Pixels.size());
}

inline void WritePicture(const gfx::TImage& image, const std::string& path) {
    gfx::TBytes png;
    std::string error;
    gfx::WritePng(image, 9, gfx::PNG_ROW_FILTER_SUB, false, png, error);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

// Compares `picture` with the PNG at `reference` (see above); a failure leaves
// <outputFolder>/<name>.png and <name>.diff.png, <name> being the reference's file name.
inline void ExpectMatchesReference(const gfx::TImage& picture, const std::string& reference,
                                   const std::string& outputFolder) {
    if (const char* update = std::getenv("MORADEX_UPDATE_REFERENCES"); update && *update) {
        WritePicture(picture, reference);
        std::cout << "wrote " << reference << ": look at it before committing it\n";
        return;
    }
    std::ifstream in(reference, std::ios::binary);
    const gfx::TBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    gfx::TImage expected;
    std::string error;
    const bool read = !bytes.empty() && gfx::ReadPng(bytes, expected, error);
    if (read && PicturesMatch(picture, expected)) return;

    std::filesystem::create_directories(outputFolder);
    const std::string out = outputFolder + "/" + std::filesystem::path(reference).stem().string();
    WritePicture(picture, out + ".png");
    if (!read) {
        ADD_FAILURE() << "no readable reference " << reference << "; the picture is in " << out
                      << ".png";
        return;
    }
    if (expected.Width != picture.Width || expected.Height != picture.Height) {
        ADD_FAILURE() << "the picture is " << picture.Width << " x " << picture.Height
                      << ", the reference " << expected.Width << " x " << expected.Height
                      << "; the picture is in " << out << ".png";
        return;
    }
    gfx::TImage difference;
    const int count = CountDifferentPixels(picture, expected, difference);
    WritePicture(difference, out + ".diff.png");
    ADD_FAILURE() << count << " of " << picture.Pixels.size() << " pixels differ from " << reference
                  << "; the picture is in " << out << ".png, the differences in " << out
                  << ".diff.png";
}

}  // namespace testsupport
