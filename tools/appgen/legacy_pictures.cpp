// The legacy settings dialog's pictures: one 32 x 32 picture per category of its catalogue, in
// category order, and the picture on its command panel.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "paint.h"

namespace appgen {

namespace {

constexpr std::uint32_t kScreen = 0x5DA9E9, kGrey = 0xB8C2CC, kPurple = 0x7B4FC4;

// A gear of `teeth` teeth around (cx, cy).
double Gear(double x, double y, double cx, double cy, double r, double tooth, int teeth) {
    const double a = std::atan2(y - cy, x - cx);
    return std::hypot(x - cx, y - cy) - r - tooth * (std::cos(teeth * a) > 0.2 ? 1 : 0);
}

TPicture Category(int index, const std::vector<TLayer>& layers) {
    return Paint("legacy" + std::to_string(index), 32, 32, layers);
}

}  // namespace

std::vector<TPicture> LegacyPictures() {
    std::vector<TPicture> list;
    // 0 常用视频: a play sign on a rounded square.
    list.push_back(Category(
        0, {{[](double x, double y) { return Box(x, y, 16, 16, 14, 12, 4); }, kBlue},
            {[](double x, double y) { return PlayTriangle(x, y, 12, 23, 16, 7); }, kWhite}}));
    // 1 常用音频: a double note.
    list.push_back(
        Category(1, {{[](double x, double y) { return Circle(x, y, 16, 16, 15); }, kGreen},
                     {[](double x, double y) {
                          return std::min({Circle(x, y, 11, 22, 3.5), Circle(x, y, 21, 20, 3.5),
                                           Segment(x, y, 14, 22, 14, 9, 1.2),
                                           Segment(x, y, 24, 20, 24, 7, 1.2),
                                           Segment(x, y, 14, 9, 24, 7, 1.8)});
                      },
                      kWhite}}));
    // 2 HD视频: a monitor showing "HD".
    list.push_back(Category(
        2, {{[](double x, double y) {
                 return std::min({Box(x, y, 16, 13, 15, 10, 2), Box(x, y, 16, 24, 2, 2),
                                  Box(x, y, 16, 27, 6, 2, 1)});
             },
             kDark},
            {[](double x, double y) { return Box(x, y, 16, 13, 12.5, 7.5, 1); }, kScreen},
            {[](double x, double y) {
                 const double h =
                     std::min({Segment(x, y, 8, 8, 8, 18, 1.1), Segment(x, y, 14, 8, 14, 18, 1.1),
                               Segment(x, y, 8, 13, 14, 13, 1.1)});
                 const double bow =
                     std::max(std::abs(std::hypot(x - 19, y - 13) - 5) - 1.1, 19 - x);
                 const double d = std::min({Segment(x, y, 19, 8, 19, 18, 1.1), bow});
                 return std::min(h, d);
             },
             kWhite}}));
    // 3 iPod视频: a pocket player with a click wheel.
    list.push_back(
        Category(3, {{[](double x, double y) { return Box(x, y, 16, 16, 10, 15, 3); }, kGrey},
                     {[](double x, double y) { return Box(x, y, 16, 9, 7, 5, 1); }, kScreen},
                     {[](double x, double y) { return Circle(x, y, 16, 22.5, 6); }, kWhite},
                     {[](double x, double y) { return Circle(x, y, 16, 22.5, 2.2); }, kGrey}}));
    // 4 iPhone视频: a phone that is all screen.
    list.push_back(
        Category(4, {{[](double x, double y) { return Box(x, y, 16, 16, 9, 15, 3); }, kDark},
                     {[](double x, double y) { return Box(x, y, 16, 15, 7, 11, 0.5); }, kScreen},
                     {[](double x, double y) { return PlayTriangle(x, y, 13, 20, 15, 4); }, kWhite},
                     {[](double x, double y) { return Circle(x, y, 16, 28.5, 1.3); }, kGrey}}));
    // 5 PSP视频: a wide handheld console.
    list.push_back(Category(
        5, {{[](double x, double y) { return Box(x, y, 16, 16, 15, 8, 7); }, kDark},
            {[](double x, double y) { return Box(x, y, 16, 16, 7, 5, 0.5); }, kScreen},
            {[](double x, double y) {
                 return std::min(Box(x, y, 4.5, 16, 2.5, 0.9), Box(x, y, 4.5, 16, 0.9, 2.5));
             },
             kWhite},
            {[](double x, double y) {
                 return std::min(Circle(x, y, 27, 14, 1.4), Circle(x, y, 27, 18.5, 1.4));
             },
             kRed}}));
    // 6 3GP视频: a keypad phone.
    list.push_back(Category(
        6, {{[](double x, double y) { return Box(x, y, 16, 16, 8, 15, 3); }, kGreen},
            {[](double x, double y) { return Box(x, y, 16, 9, 5.5, 4.5, 0.5); }, kScreen},
            {[](double x, double y) {
                 double d = 1e9;
                 for (int r = 0; r < 3; ++r)
                     for (int c = 0; c < 3; ++c)
                         d = std::min(d, Box(x, y, 12 + 4 * c, 18.5 + 3.7 * r, 1.4, 1.1, 0.4));
                 return d;
             },
             kWhite}}));
    // 7 APPLE视频: a television on a set-top box.
    list.push_back(Category(
        7, {{[](double x, double y) {
                 return std::min({Box(x, y, 16, 13, 14, 9, 2), Segment(x, y, 11, 1.5, 15, 4, 0.9),
                                  Segment(x, y, 21, 1.5, 17, 4, 0.9)});
             },
             kDark},
            {[](double x, double y) { return Box(x, y, 16, 13, 11.5, 6.5, 1); }, kScreen},
            {[](double x, double y) { return Box(x, y, 16, 27, 9, 2.5, 1.2); }, kGrey},
            {[](double x, double y) { return Circle(x, y, 22, 27, 0.9); }, kGreen}}));
    // 8 XboX视频: a game pad.
    list.push_back(
        Category(8, {{[](double x, double y) {
                          return std::min({Box(x, y, 16, 14, 12, 6, 5), Circle(x, y, 8, 19, 6),
                                           Circle(x, y, 24, 19, 6)});
                      },
                      kDark},
                     {[](double x, double y) {
                          return std::min(Box(x, y, 9, 16, 3.5, 1), Box(x, y, 9, 16, 1, 3.5));
                      },
                      kWhite},
                     {[](double x, double y) { return Circle(x, y, 23, 14, 1.6); }, kGreen},
                     {[](double x, double y) { return Circle(x, y, 26, 17.5, 1.6); }, kRed},
                     {[](double x, double y) { return Circle(x, y, 20, 17.5, 1.6); }, kBlue},
                     {[](double x, double y) { return Circle(x, y, 23, 21, 1.6); }, kGold}}));
    // 9 PMP视频: a wide-screen media player.
    list.push_back(
        Category(9, {{[](double x, double y) { return Box(x, y, 16, 16, 15, 10, 3); }, kPurple},
                     {[](double x, double y) { return Box(x, y, 13, 16, 10, 7, 0.5); }, kScreen},
                     {[](double x, double y) { return PlayTriangle(x, y, 10, 17, 16, 4); }, kWhite},
                     {[](double x, double y) {
                          return std::min(Circle(x, y, 27, 12, 1.5), Circle(x, y, 27, 20, 1.5));
                      },
                      kWhite}}));
    // 10 MP4视频: a small player showing a film strip.
    list.push_back(
        Category(10, {{[](double x, double y) { return Box(x, y, 16, 16, 12, 15, 3); }, kGold},
                      {[](double x, double y) { return Box(x, y, 16, 11, 9, 7, 0.5); }, kDark},
                      {[](double x, double y) {
                           double d = Box(x, y, 16, 11, 5, 4, 0.5);
                           for (int i = 0; i < 4; ++i) {
                               d = std::min(d, Box(x, y, 9, 6 + 3.3 * i, 0.8, 0.8));
                               d = std::min(d, Box(x, y, 23, 6 + 3.3 * i, 0.8, 0.8));
                           }
                           return d;
                       },
                       kWhite},
                      {[](double x, double y) { return Circle(x, y, 16, 24.5, 3.5); }, kDark}}));
    // 11 Flash视频: a lightning bolt.
    list.push_back(
        Category(11, {{[](double x, double y) { return Circle(x, y, 16, 16, 15); }, kRed},
                      {[](double x, double y) {
                           return std::min({Segment(x, y, 20, 5, 12, 16.5, 2.2),
                                            Segment(x, y, 12, 16.5, 20, 15.5, 2.2),
                                            Segment(x, y, 20, 15.5, 12, 27, 2.2)});
                       },
                       kWhite}}));
    // The command panel's picture: a film strip with a gear over its frame, opaque to its edges
    // (the image control draws it without transparency).
    list.push_back(
        Paint("legacyimage", 171, 103,
              {{[](double x, double y) { return Box(x, y, 85.5, 51.5, 85.5, 51.5); }, kDark},
               {[](double x, double y) {
                    double d = 1e9;
                    for (int i = 0; i < 10; ++i) {
                        d = std::min(d, Box(x, y, 14 + i * 16, 12, 4.5, 3.5, 1));
                        d = std::min(d, Box(x, y, 14 + i * 16, 91, 4.5, 3.5, 1));
                    }
                    return d;
                },
                kWhite},
               {[](double x, double y) { return Box(x, y, 85.5, 51.5, 70, 28, 3); }, kScreen},
               {[](double x, double y) { return Gear(x, y, 85.5, 51.5, 19, 5, 10); }, kGold},
               {[](double x, double y) { return Circle(x, y, 85.5, 51.5, 8); }, kScreen}}));
    return list;
}

}  // namespace appgen
