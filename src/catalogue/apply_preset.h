// Applying the chosen preset to the working settings: reset, the preset's defaults, the output
// file name, and the texts that a selected task row takes over. Main thread only.
#pragma once

#include <array>
#include <string>

#include "catalogue/output_names.h"
#include "catalogue/working_settings.h"

namespace catalogue {

// Resets the settings, stores the defaults of the preset chosen by the two list positions and
// its key in All_Trant_Number, and names the output for Video_AddFileName. A choice without a
// preset leaves the reset values and a name that is only the folder. Returns false, with
// kEmptyOutputFolderText in errorText and no output name, when the output folder is empty; the
// settings are filled all the same, so a format change can still write them back.
bool ApplyPreset(int categoryIndex, int presetIndex, const TOutputNameRules& rules,
                 TWorkingSettings& settings, std::string& errorText);

// A settings column of a task row and the text it gets.
struct TSubItemText {
    int SubItem;
    std::string Text;
};

inline constexpr int kWriteBackCount = 14;

// The texts of a task row's settings sub-items 10 to 23, in the order they are written.
std::array<TSubItemText, kWriteBackCount> DefaultsWriteBack(const TWorkingSettings& settings);

}  // namespace catalogue
