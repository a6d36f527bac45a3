// From the working settings to what converts: the texts of the six parameter lists taken over
// into their working fields, and the output record a queued file gets. Both the main window's add
// and the conversion tests over the presets use these. Pure functions; any thread.
#pragma once

#include <string>

#include "catalogue/choice_lists.h"
#include "catalogue/working_settings.h"
#include "media/tasks/option_records.h"

namespace catalogue {

// The audio bit rate that lets the encoder decide (besides BitrateUnset).
inline constexpr int kBitrateAuto = -2000;

// Takes the shown text of one parameter list over into its working field: the keep and no-video
// words give an empty value (BitrateUnset for the video bit rate), "N kbps" gives N * 1000 bit/s
// ("12.2 kbps" gives 12200, "." whatever the locale), the aspect words their ratio (any other
// aspect text leaves the field), any other frame size, frame rate or sample rate the text itself.
// A bit-rate text without a number before "kbps" raises rtl::EConvertError.
void TakeOverListEntry(TPresetParam param, const std::string& text, TWorkingSettings& settings);

// Starts from InitOutputOptions and sets only what the settings ask for: empty texts, "AUTO" and
// the unset bit rates leave a field at its default; the times, FileExt and CopyTimestamp are not
// taken over. Text comparisons are exact.
media::TOutputOptions OutputOptionsFromSettings(const TWorkingSettings& settings);

}  // namespace catalogue
