// The output record a queued file gets from the working settings. The main window will own this
// when it comes; until then the conversion tests over the presets use it as the add does.
#pragma once

#include <string>

#include "catalogue/choice_lists.h"
#include "catalogue/working_settings.h"
#include "media/tasks/option_records.h"

namespace catalogue::test {

// Starts from InitOutputOptions and sets only what the settings ask for: empty texts, "AUTO" and
// the unset bit rates leave a field at its default; the times, FileExt and CopyTimestamp are not
// taken over. Text comparisons are exact.
media::TOutputOptions OutputOptionsFromSettings(const TWorkingSettings& settings);

// Takes the shown text of one parameter list over into its working field, as the main window
// does after the preset's defaults: the keep and no-video words give an empty value (-1000 for
// the video bit rate), "N kbps" gives N * 1000 bit/s ("12.2 kbps" gives 12200), the aspect words
// their ratio, any other frame size, frame rate or sample rate text itself.
void TakeOverListEntry(TPresetParam param, const std::string& text, TWorkingSettings& settings);

}  // namespace catalogue::test
