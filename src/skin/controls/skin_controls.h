// The skinned basic controls: every control here draws itself from a record of the skin data it
// points to (skin/core), or in a default look in system colours without one, and follows skin
// changes through the form's walk.
//
//   skin_geometry.h         the nine-slice geometry and its size, map and draw rules
//   skin_control.h          TbsSkinControl, TbsSkinCustomControl: the windowed bases, and
//                           TbsSkinClient, what the skin-change walk needs of any skinned control
//   graphic_skin_control.h  TbsGraphicSkinControl, TbsGraphicSkinCustomControl: windowless bases
//
// Controls look their record up by name before every paint and keep only its index; pictures
// belong to the skin data. Everything runs on the main thread; animation runs on TTimers of the
// window layer's clock.
#pragma once

#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_geometry.h"
