// The shapes of the standard cursors, as their masks: what the hint placement measures.
#include <array>

#include "platform/win/model.h"

namespace win {

namespace {

// 'X' black, 'o' white, anything else transparent; row 0 is the top.
constexpr const char* kArrow[] = {
    "X",         "XX",        "XoX",        "XooX",        "XoooX",        "XooooX",   "XoooooX",
    "XooooooX",  "XoooooooX", "XooooooooX", "XoooooooooX", "XooooooXXXXX", "XoooXooX", "XooXXooX",
    "XoX  XooX", "XX   XooX", "X     XooX", "      XooX",  "       XX",
};

constexpr const char* kCross[] = {
    "       XXX", "       XoX", "       XoX",        "       XoX",        "       XoX",
    "       XoX", "       XoX", "XXXXXXXXoXXXXXXXX", "Xoooooooooooooooo", "XXXXXXXXoXXXXXXXX",
    "       XoX", "       XoX", "       XoX",        "       XoX",        "       XoX",
    "       XoX", "       XXX",
};

struct TShape {
    HCURSOR Cursor;
    const char* const* Rows;
    int RowCount;
    TPoint HotSpot;
};

constexpr int kArrowRows = int(std::size(kArrow));
constexpr int kCrossRows = int(std::size(kCross));

constexpr TShape kShapes[] = {
    {IDC_ARROW, kArrow, kArrowRows, {0, 0}},    {IDC_WAIT, kArrow, kArrowRows, {0, 0}},
    {IDC_UPARROW, kArrow, kArrowRows, {0, 0}},  {IDC_HAND, kArrow, kArrowRows, {0, 0}},
    {IDC_NO, kArrow, kArrowRows, {0, 0}},       {IDC_HELP, kArrow, kArrowRows, {0, 0}},
    {IDC_IBEAM, kCross, kCrossRows, {8, 8}},    {IDC_CROSS, kCross, kCrossRows, {8, 8}},
    {IDC_SIZEALL, kCross, kCrossRows, {8, 8}},  {IDC_SIZENS, kCross, kCrossRows, {8, 8}},
    {IDC_SIZEWE, kCross, kCrossRows, {8, 8}},   {IDC_SIZENWSE, kCross, kCrossRows, {8, 8}},
    {IDC_SIZENESW, kCross, kCrossRows, {8, 8}},
};

}  // namespace

bool GetIconInfo(HCURSOR cursor, ICONINFO& info) {
    const TShape* shape = nullptr;
    for (const TShape& s : kShapes)
        if (s.Cursor == cursor) shape = &s;
    if (!shape) return false;
    constexpr int kSize = 32;
    auto mask = std::make_shared<gfx::TSurface>(kSize, kSize * 2, 32);
    std::uint32_t* px = mask->Pixels();
    constexpr std::uint32_t kSet = 0xFFFFFFFFu, kClear = 0xFF000000u;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            char c = ' ';
            if (y < shape->RowCount) {
                const char* row = shape->Rows[y];
                for (int i = 0; i <= x && row[i]; ++i)
                    if (i == x) c = row[i];
            }
            const bool opaque = c == 'X' || c == 'o';
            px[std::size_t(y) * kSize + x] = opaque ? kClear : kSet;            // AND
            px[std::size_t(y + kSize) * kSize + x] = c == 'o' ? kSet : kClear;  // XOR
        }
    info.fIcon = false;
    info.xHotspot = shape->HotSpot.X;
    info.yHotspot = shape->HotSpot.Y;
    info.hbmMask = std::move(mask);
    info.hbmColor = nullptr;
    return true;
}

bool MessageBeep(UINT type) {
    detail::Ready().Backend->Beep(type);
    return true;
}

}  // namespace win
