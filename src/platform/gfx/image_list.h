// Image lists: numbered pictures of one size, each with its transparency, drawn plain, blended
// with a highlight (selected, focused) or greyed (disabled), as the classic ImageList_* calls
// do. A list is named by an HIMAGELIST handle that is never reused, so a stale handle is just
// invalid. The table of lists is locked; a list is drawn by one thread at a time.
#pragma once

#include <cstdint>

#include "platform/gfx/codecs.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/icons.h"

namespace gfx {

using HIMAGELIST = std::uintptr_t;

enum : unsigned {
    ILC_MASK = 0x0001,
    ILC_COLOR = 0x0000,
    ILC_COLOR4 = 0x0004,
    ILC_COLOR8 = 0x0008,
    ILC_COLOR16 = 0x0010,
    ILC_COLOR24 = 0x0018,
    ILC_COLOR32 = 0x0020,
};

enum : unsigned {
    ILD_NORMAL = 0x0000,
    ILD_TRANSPARENT = 0x0001,
    ILD_BLEND25 = 0x0002,
    ILD_FOCUS = ILD_BLEND25,
    ILD_BLEND50 = 0x0004,
    ILD_SELECTED = ILD_BLEND50,
    ILD_MASK = 0x0010,
    ILD_IMAGE = 0x0020,
    // Ours: the image greyed and lightened, as a disabled control shows it.
    ILD_DISABLED = 0x40000000,
};

// Colours of the image list calls: no background (transparent), or the list's own.
constexpr TColor CLR_NONE = MakeColor(0xFFFFFFFFu);
constexpr TColor CLR_DEFAULT = MakeColor(0xFF000000u);

// cx x cy images; flags, initial and grow are accepted as the classic call takes them.
HIMAGELIST ImageList_Create(int cx, int cy, unsigned flags, int initial, int grow);
bool ImageList_Destroy(HIMAGELIST list);

int ImageList_GetImageCount(HIMAGELIST list);
// Growing adds blank (transparent) images.
bool ImageList_SetImageCount(HIMAGELIST list, int count);
bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Removes every image.
bool ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
// CLR_NONE draws transparent; returns the previous colour.
TColor ImageList_SetBkColor(HIMAGELIST list, TColor color);
TColor ImageList_GetBkColor(HIMAGELIST list);

// A strip of images side by side (each cx wide) becomes that many images; with a mask, its
// white pixels are transparent. Return the index of the first new image, -1 on failure.
int ImageList_Add(HIMAGELIST list, const TImage& image, const TImage* mask);
// Pixels of maskColor are transparent.
int ImageList_AddMasked(HIMAGELIST list, const TImage& image, TColor maskColor);
// index -1 appends; returns the index used.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, const HICON& icon);
bool ImageList_Replace(HIMAGELIST list, int index, const TImage& image, const TImage* mask);
// index -1 removes every image.
bool ImageList_Remove(HIMAGELIST list, int index);
// Moves one image to another place; the others close up.
bool ImageList_Move(HIMAGELIST list, int from, int to);

bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, unsigned style);
// dx, dy 0: the whole image, else that much of it. background CLR_DEFAULT is the list's own
// colour, CLR_NONE none; foreground is the blend colour (CLR_DEFAULT: the highlight colour).
bool ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy,
                      TColor background, TColor foreground, unsigned style);
HICON ImageList_GetIcon(HIMAGELIST list, int index, unsigned flags);
// The image's pixels with their alpha (straight); false for an invalid index.
bool ImageList_GetImage(HIMAGELIST list, int index, TImage& image);

}  // namespace gfx
