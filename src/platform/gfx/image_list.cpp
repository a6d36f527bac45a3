#include "platform/gfx/image_list.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/gfx/paint.h"

namespace gfx {

namespace {

struct TList {
    int Width = 0;
    int Height = 0;
    TColor BkColor = CLR_NONE;
    std::vector<TImage> Images;  // straight alpha, Width x Height
};

struct TTable {
    std::mutex Lock;
    std::map<HIMAGELIST, std::unique_ptr<TList>> Lists;
    HIMAGELIST Next = 1;
};

TTable& Table() {
    static TTable table;
    return table;
}

TList* Find(HIMAGELIST handle) {
    TTable& t = Table();
    std::lock_guard lock(t.Lock);
    auto it = t.Lists.find(handle);
    return it == t.Lists.end() ? nullptr : it->second.get();
}

TImage Blank(int width, int height) {
    TImage image;
    image.Width = width;
    image.Height = height;
    image.HasAlpha = true;
    image.BitCount = 32;
    image.Pixels.assign(std::size_t(width) * height, 0);
    return image;
}

// Cuts a strip into images of the list's size; `transparent` decides per pixel.
template <class F>
std::vector<TImage> Cut(const TList& list, const TImage& strip, F transparent) {
    std::vector<TImage> out;
    if (list.Width <= 0 || list.Height <= 0 || strip.Width <= 0) return out;
    const int count = std::max(1, strip.Width / list.Width);
    for (int n = 0; n < count; ++n) {
        TImage image = Blank(list.Width, list.Height);
        for (int y = 0; y < std::min(list.Height, strip.Height); ++y)
            for (int x = 0; x < list.Width; ++x) {
                const int sx = n * list.Width + x;
                if (sx >= strip.Width) break;
                std::uint32_t p = strip.Pixels[std::size_t(y) * strip.Width + sx];
                if (!strip.HasAlpha) p |= 0xFF000000u;
                if (transparent(sx, y, p)) p = 0;
                image.Pixels[std::size_t(y) * list.Width + x] = p;
            }
        out.push_back(std::move(image));
    }
    return out;
}

std::uint32_t RgbOf(TColor c) {
    const TColor rgb = ColorToRGB(c);
    return std::uint32_t(GetRValue(rgb)) << 16 | std::uint32_t(GetGValue(rgb)) << 8 |
           std::uint32_t(GetBValue(rgb));
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, unsigned, int, int) {
    if (cx <= 0 || cy <= 0) return 0;
    TTable& t = Table();
    std::lock_guard lock(t.Lock);
    auto list = std::make_unique<TList>();
    list->Width = cx;
    list->Height = cy;
    const HIMAGELIST handle = t.Next++;
    t.Lists[handle] = std::move(list);
    return handle;
}

bool ImageList_Destroy(HIMAGELIST handle) {
    TTable& t = Table();
    std::lock_guard lock(t.Lock);
    return t.Lists.erase(handle) > 0;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
    TList* list = Find(handle);
    return list ? int(list->Images.size()) : 0;
}

bool ImageList_SetImageCount(HIMAGELIST handle, int count) {
    TList* list = Find(handle);
    if (!list || count < 0) return false;
    list->Images.resize(std::size_t(count), Blank(list->Width, list->Height));
    return true;
}

bool ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
    TList* list = Find(handle);
    if (!list) return false;
    if (cx) *cx = list->Width;
    if (cy) *cy = list->Height;
    return true;
}

bool ImageList_SetIconSize(HIMAGELIST handle, int cx, int cy) {
    TList* list = Find(handle);
    if (!list || cx <= 0 || cy <= 0) return false;
    list->Width = cx;
    list->Height = cy;
    list->Images.clear();
    return true;
}

TColor ImageList_SetBkColor(HIMAGELIST handle, TColor color) {
    TList* list = Find(handle);
    if (!list) return CLR_NONE;
    return std::exchange(list->BkColor, color);
}

TColor ImageList_GetBkColor(HIMAGELIST handle) {
    TList* list = Find(handle);
    return list ? list->BkColor : CLR_NONE;
}

int ImageList_Add(HIMAGELIST handle, const TImage& image, const TImage* mask) {
    TList* list = Find(handle);
    if (!list || image.Width <= 0) return -1;
    auto images = Cut(*list, image, [&](int x, int y, std::uint32_t) {
        if (!mask || x >= mask->Width || y >= mask->Height) return false;
        return (mask->Pixels[std::size_t(y) * mask->Width + x] & 0xFFFFFFu) == 0xFFFFFFu;
    });
    const int first = int(list->Images.size());
    for (auto& i : images) list->Images.push_back(std::move(i));
    return images.empty() ? -1 : first;
}

int ImageList_AddMasked(HIMAGELIST handle, const TImage& image, TColor maskColor) {
    TList* list = Find(handle);
    if (!list || image.Width <= 0) return -1;
    const std::uint32_t key = RgbOf(maskColor);
    auto images =
        Cut(*list, image, [&](int, int, std::uint32_t p) { return (p & 0xFFFFFFu) == key; });
    const int first = int(list->Images.size());
    for (auto& i : images) list->Images.push_back(std::move(i));
    return images.empty() ? -1 : first;
}

int ImageList_ReplaceIcon(HIMAGELIST handle, int index, const HICON& icon) {
    TList* list = Find(handle);
    if (!list || !icon || index < -1 || index >= int(list->Images.size())) return -1;
    TImage image = IconImage(icon, list->Width, list->Height);
    if (index == -1) {
        list->Images.push_back(std::move(image));
        return int(list->Images.size()) - 1;
    }
    list->Images[std::size_t(index)] = std::move(image);
    return index;
}

bool ImageList_Replace(HIMAGELIST handle, int index, const TImage& image, const TImage* mask) {
    TList* list = Find(handle);
    if (!list || index < 0 || index >= int(list->Images.size())) return false;
    auto images = Cut(*list, image, [&](int x, int y, std::uint32_t) {
        if (!mask || x >= mask->Width || y >= mask->Height) return false;
        return (mask->Pixels[std::size_t(y) * mask->Width + x] & 0xFFFFFFu) == 0xFFFFFFu;
    });
    if (images.empty()) return false;
    list->Images[std::size_t(index)] = std::move(images.front());
    return true;
}

bool ImageList_Remove(HIMAGELIST handle, int index) {
    TList* list = Find(handle);
    if (!list || index < -1 || index >= int(list->Images.size())) return false;
    if (index == -1)
        list->Images.clear();
    else
        list->Images.erase(list->Images.begin() + index);
    return true;
}

bool ImageList_Move(HIMAGELIST handle, int from, int to) {
    TList* list = Find(handle);
    const int count = list ? int(list->Images.size()) : 0;
    if (!list || from < 0 || from >= count || to < 0 || to >= count) return false;
    TImage image = std::move(list->Images[std::size_t(from)]);
    list->Images.erase(list->Images.begin() + from);
    list->Images.insert(list->Images.begin() + to, std::move(image));
    return true;
}

bool ImageList_GetImage(HIMAGELIST handle, int index, TImage& image) {
    TList* list = Find(handle);
    if (!list || index < 0 || index >= int(list->Images.size())) return false;
    image = list->Images[std::size_t(index)];
    return true;
}

bool ImageList_Draw(HIMAGELIST handle, int index, HDC dc, int x, int y, unsigned style) {
    return ImageList_DrawEx(handle, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

bool ImageList_DrawEx(HIMAGELIST handle, int index, HDC dc, int x, int y, int dx, int dy,
                      TColor background, TColor foreground, unsigned style) {
    TList* list = Find(handle);
    if (!list || !dc || index < 0 || index >= int(list->Images.size())) return false;
    TImage image = list->Images[std::size_t(index)];
    const int width = dx > 0 ? std::min(dx, image.Width) : image.Width;
    const int height = dy > 0 ? std::min(dy, image.Height) : image.Height;
    if (background == CLR_DEFAULT) background = list->BkColor;
    if (style & ILD_TRANSPARENT) background = CLR_NONE;

    const unsigned blend = style & (ILD_BLEND25 | ILD_BLEND50);
    const std::uint32_t fg =
        RgbOf(foreground == CLR_DEFAULT || foreground == CLR_NONE ? clHighlight : foreground);
    for (auto& p : image.Pixels) {
        std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (style & ILD_DISABLED) {
            const std::uint32_t l = (r * 77 + g * 151 + b * 28) >> 8;
            r = g = b = 128 + l / 2;
        }
        if (blend && foreground != CLR_NONE) {
            const std::uint32_t k = blend == ILD_BLEND25 ? 64 : 128;
            r = (r * (256 - k) + ((fg >> 16) & 0xFF) * k) >> 8;
            g = (g * (256 - k) + ((fg >> 8) & 0xFF) * k) >> 8;
            b = (b * (256 - k) + (fg & 0xFF) * k) >> 8;
        }
        std::uint32_t a = p >> 24;
        if (style & ILD_MASK) r = g = b = 0;
        if (style & ILD_IMAGE) a = 255;
        p = a << 24 | r << 16 | g << 8 | b;
    }
    const TRect dest = Bounds(x, y, width, height);
    if (background != CLR_NONE) FillRect(dc, dest, CreateSolidBrush(background));
    TSurface surface(image.Width, image.Height, 32);
    std::memcpy(surface.Pixels(), image.Pixels.data(), image.Pixels.size() * 4);
    detail::BlendStretch(*dc, dest, surface, {0, 0, width, height});
    return true;
}

HICON ImageList_GetIcon(HIMAGELIST handle, int index, unsigned) {
    TImage image;
    if (!ImageList_GetImage(handle, index, image)) return nullptr;
    return CreateIconFromImages({std::move(image)});
}

}  // namespace gfx
