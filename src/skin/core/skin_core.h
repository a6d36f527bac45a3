// The skin core: one loaded skin and the drawing foundation every skinned part builds on.
//
//   skin_data.h         TbsSkinData, the component that holds a skin and announces its changes
//   skin_content.h      TbsSkinContent: pictures, frame geometry, singletons, colours, records
//   skin_records.h      the record classes, generated from the key tables of skin_record_keys.h
//   skin_description.h  the description's value syntax and enumeration words
//   skin_package.h      packages, stored skins and the stored-skin list; the payload reader
//   zlib_streams.h      the compression and decompression stream adapters
//   resource_strings.h  TbsResourceStrData, the interface texts by name
//   skin_messages.h     the skin engine's private window messages
//   fades.h             the hover fade and the window fade-in every skinned part runs
//   effects.h           the drawing half: 32-bit bitmaps, pixel routines, effects, glow text,
//                       image and region builders, layered windows, PNG image lists, drawing
//                       routines
//
// Who talks to whom: a TbsSkinData reads a stored skin (skin_package.h, through zlib_streams.h)
// or a description file into a TbsSkinContent aside, then switches it in and sends the change
// messages to Screen's forms; form skin components and skinned controls look their records up
// by name on those messages and draw with the drawing half. Records and pictures belong to the
// skin data; controls keep only an index. Everything runs on the main thread, except what
// effects.h says of its pixel routines and effect bitmaps.
#pragma once

#include "skin/core/effects.h"
#include "skin/core/fades.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_content.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_description.h"
#include "skin/core/skin_messages.h"
#include "skin/core/skin_package.h"
#include "skin/core/skin_records.h"
#include "skin/core/zlib_streams.h"
