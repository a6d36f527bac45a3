// Draws the application's own pictures and writes them as C++ arrays: the tool bar's image
// list (18 pictures of 40 x 40; 0, 3-7 and 12 drawn, 13-17 their greyed disabled looks), the
// preview buttons' glyphs, the category pictures (48 x 48 and 32 x 32, by category code), the
// logo of the empty task list, the about box's logo (53 x 55) and the legacy settings dialog's
// pictures (legacy_pictures.cpp).
// Shapes are distance functions, so edges are smooth and the alpha is real.
//   appgen <output.cpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "paint.h"

namespace {

using namespace appgen;

// A dark shape on a light rim: it stands out from the light buttons and from the dark ones.
std::vector<TLayer> Rimmed(const TShape& shape, double rim = 1.3) {
    return {{[shape, rim](double x, double y) { return shape(x, y) - rim; }, kWhite, 0.8},
            {shape, kDark}};
}

std::vector<TPicture> ToolBarPictures() {
    const int s = 40;
    auto blank = [&](int i) { return Paint("tool" + std::to_string(i), s, s, {}); };
    std::vector<TPicture> list;
    for (int i = 0; i < 18; ++i) list.push_back(blank(i));
    // 0 add: a folder with a plus.
    list[0] = Paint("tool0", s, s,
                    {{[](double x, double y) { return Box(x, y, 17, 12, 9, 4, 2); }, kGold},
                     {[](double x, double y) { return Box(x, y, 20, 22, 16, 12, 3); }, kGold},
                     {[](double x, double y) { return Circle(x, y, 29, 29, 9); }, kGreen},
                     {[](double x, double y) {
                          return std::min(Box(x, y, 29, 29, 5.5, 1.5), Box(x, y, 29, 29, 1.5, 5.5));
                      },
                      kWhite}});
    list[3] =
        Paint("tool3", s, s,
              {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kGreen},
               {[](double x, double y) { return PlayTriangle(x, y, 15, 30, 20, 9); }, kWhite}});
    list[4] =
        Paint("tool4", s, s,
              {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kRed},
               {[](double x, double y) { return Box(x, y, 20, 20, 7.5, 7.5, 1.5); }, kWhite}});
    list[5] = Paint("tool5", s, s,
                    {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kBlue},
                     {[](double x, double y) {
                          return std::min(Box(x, y, 15.5, 20, 2.8, 8.5, 1),
                                          Box(x, y, 24.5, 20, 2.8, 8.5, 1));
                      },
                      kWhite}});
    list[6] = Paint("tool6", s, s,
                    {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kBlue},
                     {[](double x, double y) {
                          return std::min(Box(x, y, 13.5, 20, 2.3, 8.5, 1),
                                          PlayTriangle(x, y, 19, 31, 20, 9));
                      },
                      kWhite}});
    // 7 options: a gear.
    std::vector<TLayer> gear = Rimmed(
        [](double x, double y) {
            const double a = std::atan2(y - 20, x - 20);
            const double teeth = 13 + 3.5 * (std::cos(8 * a) > 0.2 ? 1 : 0);
            return std::hypot(x - 20, y - 20) - teeth;
        },
        1.5);
    gear.push_back({[](double x, double y) { return Circle(x, y, 20, 20, 5.5); }, kWhite});
    list[7] = Paint("tool7", s, s, gear);
    // 12 skin: a palette with paint spots.
    list[12] = Paint("tool12", s, s,
                     {{[](double x, double y) { return Circle(x, y, 20, 21, 16); }, kGold},
                      {[](double x, double y) { return Circle(x, y, 13, 16, 3.5); }, kRed},
                      {[](double x, double y) { return Circle(x, y, 21, 12, 3.5); }, kBlue},
                      {[](double x, double y) { return Circle(x, y, 29, 17, 3.5); }, kGreen}});
    list[13] = Greyed(list[3], "tool13");
    list[14] = Greyed(list[4], "tool14");
    list[15] = Greyed(list[5], "tool15");
    list[16] = Greyed(list[6], "tool16");
    list[17] = Greyed(list[0], "tool17");
    return list;
}

std::vector<TPicture> PreviewGlyphs() {
    const int s = 16;
    const TShape camera = [](double x, double y) {
        return std::min(Box(x, y, 8, 9, 6.5, 4.5, 1.5), Box(x, y, 8, 4, 3, 2));
    };
    std::vector<TLayer> snapshot = Rimmed(camera, 1);
    snapshot.push_back({[](double x, double y) { return Circle(x, y, 8, 9, 2.6); }, kWhite});
    return {
        Paint("play", s, s,
              Rimmed([](double x, double y) { return PlayTriangle(x, y, 4.5, 12.5, 8, 5); })),
        Paint("pause", s, s, Rimmed([](double x, double y) {
                  return std::min(Box(x, y, 5.5, 8, 1.7, 5), Box(x, y, 10.5, 8, 1.7, 5));
              })),
        Paint("stop", s, s,
              Rimmed([](double x, double y) { return Box(x, y, 8, 8, 4.5, 4.5, 1); })),
        Paint("mute", s, s, Rimmed([](double x, double y) {
                  const double body = Box(x, y, 4.5, 8, 2, 3);
                  const double cone = std::max(PlayTriangle(16 - x, y, 4, 11, 8, 6), x - 10);
                  return std::min(body, cone);
              })),
        Paint("snapshot", s, s, snapshot),
        // The muted speaker: the same speaker, a red cross where the sound would be.
        Paint("muted", s, s,
              [] {
                  std::vector<TLayer> layers = Rimmed([](double x, double y) {
                      const double body = Box(x, y, 3.5, 8, 2, 3);
                      const double cone = std::max(PlayTriangle(13 - x, y, 4, 11, 8, 6.5), x - 7);
                      return std::min(body, cone);
                  });
                  layers.push_back(
                      {[](double x, double y) {
                           const double a = std::abs((x - 12) - (y - 8)) / std::sqrt(2.0);
                           const double b = std::abs((x - 12) + (y - 8)) / std::sqrt(2.0);
                           return std::max(std::min(a, b) - 0.9, Box(x, y, 12, 8, 3.2, 3.2));
                       },
                       kRed});
                  return layers;
              }()),
        // Settings: a small gear.
        Paint("settings", s, s,
              [] {
                  std::vector<TLayer> layers = Rimmed([](double x, double y) {
                      const double a = std::atan2(y - 8, x - 8);
                      const double teeth = 5.5 + 1.5 * (std::cos(6 * a) > 0.1 ? 1 : 0);
                      return std::hypot(x - 8, y - 8) - teeth;
                  });
                  layers.push_back(
                      {[](double x, double y) { return Circle(x, y, 8, 8, 2.2); }, kWhite});
                  return layers;
              }()),
    };
}

// The category pictures, one per category code: a rounded tile in the category's own colour
// with a white sign of its kind. Drawn on a 48-unit grid and scaled, so both sizes match.
enum class TKind { Film, Note, Screen, Phone, Tablet, Box, Disc, Camera };

TKind KindOfCategory(int code) {
    switch (code) {
        case 1:
        case 28:
        case 29:
        case 30:
            return TKind::Note;
        case 2:
        case 7:
        case 33:
            return TKind::Screen;
        case 3:
        case 4:
        case 5:
        case 6:
        case 9:
        case 19:
        case 31:
            return TKind::Phone;
        case 12:
        case 32:
            return TKind::Tablet;
        case 8:
        case 34:
            return TKind::Box;
        case 20:
        case 24:
            return TKind::Disc;
        case 21:
        case 22:
        case 27:
            return TKind::Camera;
        default:
            return TKind::Film;
    }
}

std::uint32_t Hsv(double h, double s, double v) {
    const double c = v * s, hp = std::fmod(h, 1.0) * 6,
                 x = c * (1 - std::abs(std::fmod(hp, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (hp < 1)
        r = c, g = x;
    else if (hp < 2)
        r = x, g = c;
    else if (hp < 3)
        g = c, b = x;
    else if (hp < 4)
        g = x, b = c;
    else if (hp < 5)
        r = x, b = c;
    else
        r = c, b = x;
    const auto ch = [&](double t) { return std::uint32_t(std::lround((t + v - c) * 255)); };
    return ch(r) << 16 | ch(g) << 8 | ch(b);
}

// The sign of a kind on the 48-unit grid; negative inside.
double Sign(TKind kind, double x, double y) {
    switch (kind) {
        case TKind::Note:
            return std::min({Circle(x, y, 19, 32, 5.5), Box(x, y, 23.5, 21, 1.5, 11),
                             Box(x, y, 28, 12, 6, 2.5, 1)});
        case TKind::Screen:
            return std::min({std::max(Box(x, y, 24, 21, 14, 9.5, 2), -Box(x, y, 24, 21, 11, 6.5)),
                             Box(x, y, 24, 33, 2, 2), Box(x, y, 24, 36, 8, 1.5, 1)});
        case TKind::Phone:
            return std::min(std::max(Box(x, y, 24, 24, 8.5, 14, 3), -Box(x, y, 24, 22.5, 6, 9.5)),
                            std::max(Box(x, y, 24, 24, 8.5, 14, 3), Circle(x, y, 24, 35, 1.5)));
        case TKind::Tablet:
            return std::min(std::max(Box(x, y, 24, 24, 13, 15, 3), -Box(x, y, 24, 23, 10.5, 11.5)),
                            std::max(Box(x, y, 24, 24, 13, 15, 3), Circle(x, y, 24, 36.5, 1.5)));
        case TKind::Box:
            return std::max(Box(x, y, 24, 26, 15, 6, 2), -Circle(x, y, 33, 26, 2));
        case TKind::Disc:
            return std::max(Circle(x, y, 24, 24, 14), -Circle(x, y, 24, 24, 4));
        case TKind::Camera:
            return std::min(Box(x, y, 20, 24, 10, 8, 2),
                            std::max(PlayTriangle(48 - x, y, 10, 18, 24, 7), x - 38));
        case TKind::Film: {
            double holes = 1e9;
            for (int i = 0; i < 4; ++i) {
                holes = std::min(holes, Box(x, y, 15 + i * 6, 15.5, 1.6, 1.4));
                holes = std::min(holes, Box(x, y, 15 + i * 6, 32.5, 1.6, 1.4));
            }
            const double strip = Box(x, y, 24, 24, 14, 12, 2);
            return std::max({strip, -holes, -Box(x, y, 24, 24, 10, 4.5, 1)});
        }
    }
    return 1e9;
}

TPicture CategoryPicture(int code, int size) {
    const double k = 48.0 / size;  // pixel to grid
    // Neighbouring codes far apart on the colour wheel.
    const std::uint32_t tile = Hsv(code * 0.381966, 0.55, 0.78);
    const TKind kind = KindOfCategory(code);
    return Paint(
        "cat" + std::to_string(size) + "_" + std::to_string(code), size, size,
        {{[k](double x, double y) { return Box(x * k, y * k, 24, 24, 22, 22, 8) / k; }, tile},
         {[k, kind](double x, double y) { return Sign(kind, x * k, y * k) / k; }, kWhite}});
}

std::vector<TPicture> CategoryPictures() {
    std::vector<TPicture> list;
    for (int size : {48, 32})
        for (int code = 0; code < 35; ++code) list.push_back(CategoryPicture(code, size));
    return list;
}

// The empty list's logo: a film strip with a plus.
TPicture ListLogo() {
    return Paint("listlogo", 160, 90,
                 {{[](double x, double y) { return Box(x, y, 80, 45, 70, 38, 6); }, 0x8090A0},
                  {[](double x, double y) {
                       double d = 1e9;
                       for (int i = 0; i < 9; ++i) {
                           d = std::min(d, Box(x, y, 22 + i * 14.5, 14, 4, 3, 1));
                           d = std::min(d, Box(x, y, 22 + i * 14.5, 76, 4, 3, 1));
                       }
                       return d;
                   },
                   kWhite},
                  {[](double x, double y) { return Box(x, y, 80, 45, 50, 22, 3); }, 0xC8D4E0},
                  {[](double x, double y) {
                       return std::min(Box(x, y, 80, 45, 14, 3.5), Box(x, y, 80, 45, 3.5, 14));
                   },
                   kGreen}});
}

// The about box's logo: an "M" of two strokes and a V in a rounded square.
TPicture AboutLogo() {
    return Paint("aboutlogo", 53, 55,
                 {{[](double x, double y) { return Box(x, y, 26.5, 27.5, 24, 25, 9); }, kBlue},
                  {[](double x, double y) {
                       const double left = Box(x, y, 14, 28, 3, 13),
                                    right = Box(x, y, 39, 28, 3, 13);
                       // Two slanted strokes meeting at the middle.
                       return std::min({left, right, Segment(x, y, 14, 16, 26.5, 32, 3),
                                        Segment(x, y, 39, 16, 26.5, 32, 3)});
                   },
                   kWhite}});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: appgen <output.cpp>\n");
        return 2;
    }
    std::vector<TPicture> all = ToolBarPictures();
    for (TPicture& p : PreviewGlyphs()) all.push_back(std::move(p));
    for (TPicture& p : CategoryPictures()) all.push_back(std::move(p));
    all.push_back(ListLogo());
    all.push_back(AboutLogo());
    for (TPicture& p : LegacyPictures()) all.push_back(std::move(p));
    std::ofstream out(argv[1]);
    out << "// Generated by tools/appgen; not kept in the repository.\n"
           "#include \"app/app_pictures.h\"\n\nnamespace app {\nnamespace {\n";
    for (std::size_t i = 0; i < all.size(); ++i) {
        out << "const std::uint32_t kPixels" << i << "[] = {";
        for (std::size_t k = 0; k < all[i].Argb.size(); ++k)
            out << (k % 12 ? "" : "\n    ") << "0x" << std::hex << all[i].Argb[k] << std::dec
                << "u,";
        out << "\n};\n";
    }
    out << "const TAppPicture kPictures[] = {\n";
    for (std::size_t i = 0; i < all.size(); ++i)
        out << "    {\"" << all[i].Name << "\", " << all[i].Width << ", " << all[i].Height
            << ", kPixels" << i << "},\n";
    out << "};\n}  // namespace\n\nstd::span<const TAppPicture> AppPictures() { return kPictures; "
           "}\n"
           "\n}  // namespace app\n";
    return out ? 0 : 1;
}
