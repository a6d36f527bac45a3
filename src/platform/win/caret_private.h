// The caret's hooks into painting and the loop (not public).
#pragma once

#include <cstdint>

#include "platform/win/model.h"

namespace win::detail {

// Draws or removes the caret as its state and the blink phase want; runs before damage goes out.
void CaretTick();
// Takes the caret off `root`'s surface before a DC draws there.
void CaretOffSurface(TWindow* root);
// Milliseconds until the caret changes by itself, -1 when it never will.
int CaretTimeoutMs();

}  // namespace win::detail
