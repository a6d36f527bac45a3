// The generator's drawing kit: a picture as ARGB pixels, shapes as signed distance functions
// (negative inside), and painting of shape layers with coverage as alpha, so edges are smooth.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace appgen {

struct TPicture {
    std::string Name;
    int Width, Height;
    std::vector<std::uint32_t> Argb;  // 0xAARRGGBB, not premultiplied
};

// Coverage of a signed distance (negative inside) for one pixel.
inline double Cover(double d) {
    return std::clamp(0.5 - d, 0.0, 1.0);
}

inline double Box(double x, double y, double cx, double cy, double hw, double hh, double r = 0) {
    const double qx = std::abs(x - cx) - hw + r, qy = std::abs(y - cy) - hh + r;
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

inline double Circle(double x, double y, double cx, double cy, double r) {
    return std::hypot(x - cx, y - cy) - r;
}

// A triangle pointing right, from its left edge x0 to its tip x1, height 2*h around cy.
inline double PlayTriangle(double x, double y, double x0, double x1, double cy, double h) {
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
inline TPicture Paint(const std::string& name, int w, int h, const std::vector<TLayer>& layers) {
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
            const auto ch = [](double v) {
                return std::uint32_t(std::lround(std::clamp(v, 0.0, 255.0)));
            };
            p.Argb[std::size_t(y) * w + x] = ch(a * 255) << 24 | ch(r) << 16 | ch(g) << 8 | ch(b);
        }
    return p;
}

// The disabled look: grey by luminance, lighter and fainter.
inline TPicture Greyed(const TPicture& source, const std::string& name) {
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

// A stroke of half-width r from (x0, y0) to (x1, y1) with round ends.
inline double Segment(double x, double y, double x0, double y0, double x1, double y1, double r) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - x0 - t * dx, y - y0 - t * dy) - r;
}

// The legacy settings dialog's pictures: "legacy0" .. "legacy11" (its 12 categories, 32 x 32)
// and "legacyimage" (171 x 103).
std::vector<TPicture> LegacyPictures();

}  // namespace appgen
