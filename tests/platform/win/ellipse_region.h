// The ellipse-shaped window region the hit-test and composition tests give their windows.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gfx/region.h"

namespace win::test {

// The ellipse inscribed in (0, 0, w, h), one rectangle per row.
inline gfx::TRegion EllipseRegion(int w, int h) {
    std::vector<gfx::TRect> rows;
    const double a = w / 2.0, b = h / 2.0;
    for (int y = 0; y < h; ++y) {
        const double dy = (y + 0.5 - b) / b;
        const double half = a * std::sqrt(std::max(0.0, 1 - dy * dy));
        const int left = int(std::lround(a - half)), right = int(std::lround(a + half));
        if (right > left) rows.push_back({left, y, right, y + 1});
    }
    return gfx::TRegion::FromRects(rows);
}

}  // namespace win::test
