// The drawing library: surfaces, device contexts with their state stack, block transfers,
// shapes, regions, text through FreeType and fontconfig, and the BMP, PNG, JPEG and GIF codecs,
// with the component library's canvas, bitmap, image, icon and picture classes on top, image
// lists and compiled-in named resources. It owns pixel memory, fonts and their glyph caches,
// image lists and resources; nothing else. A DC or surface is used by one thread at a time (the
// main thread, or a media thread drawing its own pictures); fonts and icons may be shared.
#pragma once

#include "platform/gfx/canvas.h"
#include "platform/gfx/codecs.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/icons.h"
#include "platform/gfx/image_list.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/region.h"
#include "platform/gfx/resources.h"
#include "platform/gfx/surface.h"
#include "platform/gfx/text.h"
#include "platform/gfx/types.h"
