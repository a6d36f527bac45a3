// Keeps a DC's state (origin, clip, selected tools) for a scope: what is saved on entry is back
// on exit, whatever the drawing in between changed. Main thread, like the DC.
#pragma once

#include "platform/gfx/dc.h"

namespace skin {

class TSavedDC {
public:
    explicit TSavedDC(gfx::HDC dc) : FDC(dc), FLevel(dc ? gfx::SaveDC(dc) : 0) {}
    ~TSavedDC() {
        if (FDC) gfx::RestoreDC(FDC, FLevel);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    gfx::HDC FDC;
    int FLevel;
};

}  // namespace skin
