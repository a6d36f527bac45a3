// The output record a queued file gets from the working settings. The main window will own this
// when it comes; until then the conversion tests over the presets use it as the add does.
#pragma once

#include "catalogue/working_settings.h"
#include "media/tasks/option_records.h"

namespace catalogue::test {

// Starts from InitOutputOptions and sets only what the settings ask for: empty texts, "AUTO" and
// the unset bit rates leave a field at its default; the times, FileExt and CopyTimestamp are not
// taken over. Text comparisons are exact.
media::TOutputOptions OutputOptionsFromSettings(const TWorkingSettings& settings);

}  // namespace catalogue::test
