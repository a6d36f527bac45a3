// The parameter list filler: gives the main window's six parameter lists the choices of the
// preset chosen in the category and format lists and selects its defaults. The main window runs
// it first thing in the format list's change handler. Main thread only.
#pragma once

#include "catalogue/list_controls.h"

namespace catalogue {

// The main window's six parameter lists.
struct TParameterLists {
    TComboList& FrameSize;         // bsSkinComboBox1
    TComboList& VideoBitrate;      // bsSkinComboBox2
    TComboList& FrameRate;         // bsSkinComboBox9
    TComboList& AudioBitrate;      // bsSkinComboBox3
    TComboList& AudioSampleRate;   // bsSkinComboBox10
    TComboList& FrameAspectRatio;  // bsSkinComboBox4
};

// The two main-window fields the filler writes.
struct TFillerFields {
    int& All_Trant_Number;
    bool& Video_DisableVideo;
};

// Empties and enables the six lists, stores the preset key (CategoryCode + 1) * 100 +
// presetIndex and clears Video_DisableVideo, then fills each list from the preset's row and
// selects its default before the next list is filled; each selection that changes a list's
// shown text runs that list's change handler right there. Audio-only presets end with the four
// video lists disabled. A category or format index that names no preset leaves the lists empty
// and enabled; for a category index outside the list the stored key is -1.
void FillParameterLists(const TParameterLists& lists, int categoryIndex, int presetIndex,
                        const TFillerFields& fields);

}  // namespace catalogue
