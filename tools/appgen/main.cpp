// Draws the application's own pictures and writes them as C++ arrays: the tool bar's image
// list (18 pictures of 40 x 40; 0, 3-7 and 12 drawn, 13-17 their greyed disabled looks), the
// preview buttons' glyphs, the logo of the empty task list and the about box's logo (53 x 55).
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

namespace {

struct TPicture {
    std::string Name;
    int Width, Height;
    std::vector<std::uint32_t> Argb;  // 0xAARRGGBB, not premultiplied
};

// Coverage of a signed distance (negative inside) for one pixel.
double Cover(double d) { return std::clamp(0.5 - d, 0.0, 1.0); }

double Box(double x, double y, double cx, double cy, double hw, double hh, double r = 0) {
    const double qx = std::abs(x - cx) - hw + r, qy = std::abs(y - cy) - hh + r;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

double Circle(double x, double y, double cx, double cy, double r) {
    return std::hypot(x - cx, y - cy) - r;
}

// A triangle pointing right, from its left edge x0 to its tip x1, height 2*h around cy.
double PlayTriangle(double x, double y, double x0, double x1, double cy, double h) {
    const double slope = h / (x1 - x0);
    const double edge = (std::abs(y - cy) - (x1 - x) * slope) / std::hypot(1.0, slope);
    return std::max(x0 - x, edge);
}

using TShape = std::function<double(double, double)>;

struct TLayer {
    TShape Shape;
    std::uint32_t Rgb;
};

// Layers painted in order over a transparent ground; light from the top gives a soft gradient.
TPicture Paint(const std::string& name, int w, int h, const std::vector<TLayer>& layers) {
    TPicture p{name, w, h, std::vector<std::uint32_t>(std::size_t(w) * h, 0)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (const TLayer& l : layers) {
                const double c = Cover(l.Shape(x + 0.5, y + 0.5));
                if (c <= 0) continue;
                const double shade = 1.15 - 0.3 * (y + 0.5) / h;
                const double lr = std::min(255.0, ((l.Rgb >> 16) & 255) * shade);
                const double lg = std::min(255.0, ((l.Rgb >> 8) & 255) * shade);
                const double lb = std::min(255.0, (l.Rgb & 255) * shade);
                const double na = c + a * (1 - c);
                r = (lr * c + r * a * (1 - c)) / na;
                g = (lg * c + g * a * (1 - c)) / na;
                b = (lb * c + b * a * (1 - c)) / na;
                a = na;
            }
            const auto ch = [](double v) { return std::uint32_t(std::lround(std::clamp(v, 0.0, 255.0))); };
            p.Argb[std::size_t(y) * w + x] = ch(a * 255) << 24 | ch(r) << 16 | ch(g) << 8 | ch(b);
        }
    return p;
}

// The disabled look: grey by luminance, lighter and fainter.
TPicture Greyed(const TPicture& source, const std::string& name) {
    TPicture p = source;
    p.Name = name;
    for (std::uint32_t& px : p.Argb) {
        const double lum = 0.3 * ((px >> 16) & 255) + 0.59 * ((px >> 8) & 255) + 0.11 * (px & 255);
        const auto grey = std::uint32_t(std::lround(140 + lum * 0.35));
        const auto alpha = std::uint32_t(std::lround(((px >> 24) & 255) * 0.6));
        px = alpha << 24 | grey << 16 | grey << 8 | grey;
    }
    return p;
}

constexpr std::uint32_t kGreen = 0x2E9E3E, kRed = 0xD0392B, kBlue = 0x2F6FD0, kGold = 0xE0A020,
                        kDark = 0x33404D, kWhite = 0xFFFFFF;

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
                      }, kWhite}});
    list[3] = Paint("tool3", s, s,
                    {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kGreen},
                     {[](double x, double y) { return PlayTriangle(x, y, 15, 30, 20, 9); }, kWhite}});
    list[4] = Paint("tool4", s, s,
                    {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kRed},
                     {[](double x, double y) { return Box(x, y, 20, 20, 7.5, 7.5, 1.5); }, kWhite}});
    list[5] = Paint("tool5", s, s,
                    {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kBlue},
                     {[](double x, double y) {
                          return std::min(Box(x, y, 15.5, 20, 2.8, 8.5, 1), Box(x, y, 24.5, 20, 2.8, 8.5, 1));
                      }, kWhite}});
    list[6] = Paint("tool6", s, s,
                    {{[](double x, double y) { return Circle(x, y, 20, 20, 17); }, kBlue},
                     {[](double x, double y) {
                          return std::min(Box(x, y, 13.5, 20, 2.3, 8.5, 1), PlayTriangle(x, y, 19, 31, 20, 9));
                      }, kWhite}});
    // 7 options: a gear.
    list[7] = Paint("tool7", s, s,
                    {{[](double x, double y) {
                          const double a = std::atan2(y - 20, x - 20);
                          const double teeth = 14 + 3.5 * (std::cos(8 * a) > 0.2 ? 1 : 0);
                          return std::hypot(x - 20, y - 20) - teeth;
                      }, kDark},
                     {[](double x, double y) { return Circle(x, y, 20, 20, 5.5); }, kWhite}});
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
    return {
        Paint("play", s, s, {{[](double x, double y) { return PlayTriangle(x, y, 4, 13, 8, 5.5); }, kDark}}),
        Paint("pause", s, s, {{[](double x, double y) {
                  return std::min(Box(x, y, 5.5, 8, 1.8, 5.5), Box(x, y, 10.5, 8, 1.8, 5.5));
              }, kDark}}),
        Paint("stop", s, s, {{[](double x, double y) { return Box(x, y, 8, 8, 5, 5, 1); }, kDark}}),
        Paint("mute", s, s, {{[](double x, double y) {
                  const double body = Box(x, y, 4.5, 8, 2, 3);
                  const double cone = std::max(PlayTriangle(16 - x, y, 4, 11, 8, 6.5), x - 10);
                  return std::min(body, cone);
              }, kDark}}),
        Paint("snapshot", s, s, {{[](double x, double y) { return Box(x, y, 8, 9, 7, 5, 1.5); }, kDark},
                                 {[](double x, double y) { return Box(x, y, 8, 4, 3, 2); }, kDark},
                                 {[](double x, double y) { return Circle(x, y, 8, 9, 3); }, kWhite}}),
        // The muted speaker: the same speaker, a red cross where the sound would be.
        Paint("muted", s, s, {{[](double x, double y) {
                  const double body = Box(x, y, 3.5, 8, 2, 3);
                  const double cone = std::max(PlayTriangle(13 - x, y, 4, 11, 8, 6.5), x - 7);
                  return std::min(body, cone);
              }, kDark},
              {[](double x, double y) {
                  const double a = std::abs((x - 12) - (y - 8)) / std::sqrt(2.0);
                  const double b = std::abs((x - 12) + (y - 8)) / std::sqrt(2.0);
                  return std::max(std::min(a, b) - 0.9, Box(x, y, 12, 8, 3.2, 3.2));
              }, kRed}}),
        // Settings: a small gear.
        Paint("settings", s, s, {{[](double x, double y) {
                  const double a = std::atan2(y - 8, x - 8);
                  const double teeth = 5.5 + 1.5 * (std::cos(6 * a) > 0.1 ? 1 : 0);
                  return std::hypot(x - 8, y - 8) - teeth;
              }, kDark},
              {[](double x, double y) { return Circle(x, y, 8, 8, 2.2); }, kWhite}}),
    };
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
                   }, kWhite},
                  {[](double x, double y) { return Box(x, y, 80, 45, 50, 22, 3); }, 0xC8D4E0},
                  {[](double x, double y) {
                       return std::min(Box(x, y, 80, 45, 14, 3.5), Box(x, y, 80, 45, 3.5, 14));
                   }, kGreen}});
}

// The about box's logo: an "M" of two strokes and a V in a rounded square.
TPicture AboutLogo() {
    return Paint("aboutlogo", 53, 55,
                 {{[](double x, double y) { return Box(x, y, 26.5, 27.5, 24, 25, 9); }, kBlue},
                  {[](double x, double y) {
                       const double left = Box(x, y, 14, 28, 3, 13), right = Box(x, y, 39, 28, 3, 13);
                       // Two slanted strokes meeting at the middle.
                       const auto stroke = [&](double x0, double y0, double x1, double y1) {
                           const double dx = x1 - x0, dy = y1 - y0;
                           const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                           return std::hypot(x - x0 - t * dx, y - y0 - t * dy) - 3;
                       };
                       return std::min({left, right, stroke(14, 16, 26.5, 32), stroke(39, 16, 26.5, 32)});
                   }, kWhite}});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: appgen <output.cpp>\n");
        return 2;
    }
    std::vector<TPicture> all = ToolBarPictures();
    for (TPicture& p : PreviewGlyphs()) all.push_back(std::move(p));
    all.push_back(ListLogo());
    all.push_back(AboutLogo());
    std::ofstream out(argv[1]);
    out << "// Generated by tools/appgen; not kept in the repository.\n"
           "#include \"app/app_pictures.h\"\n\nnamespace app {\nnamespace {\n";
    for (std::size_t i = 0; i < all.size(); ++i) {
        out << "const std::uint32_t kPixels" << i << "[] = {";
        for (std::size_t k = 0; k < all[i].Argb.size(); ++k)
            out << (k % 12 ? "" : "\n    ") << "0x" << std::hex << all[i].Argb[k] << std::dec << "u,";
        out << "\n};\n";
    }
    out << "const TAppPicture kPictures[] = {\n";
    for (std::size_t i = 0; i < all.size(); ++i)
        out << "    {\"" << all[i].Name << "\", " << all[i].Width << ", " << all[i].Height
            << ", kPixels" << i << "},\n";
    out << "};\n}  // namespace\n\nstd::span<const TAppPicture> AppPictures() { return kPictures; }\n"
           "\n}  // namespace app\n";
    return out ? 0 : 1;
}
