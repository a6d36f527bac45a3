// The conversion tests over the presets build each file's output record as the main window's add
// does, with the catalogue's own routines.
#pragma once

#include "catalogue/output_record.h"

namespace catalogue::test {

using catalogue::OutputOptionsFromSettings;
using catalogue::TakeOverListEntry;

}  // namespace catalogue::test
