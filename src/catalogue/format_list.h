// The format list: refilled with the presets of the category chosen in the category list
// whenever that choice is written. Main thread only; runs inside the category list's change
// event, and the format list's own change event runs nested inside it.
#pragma once

#include "catalogue/list_controls.h"

namespace catalogue {

// Empties the format list, adds the chosen category's presets (title, caption, picture) in
// order and then selects item 0, so the format list's click and change events always fire and
// its handlers see the complete new list. A category position without a row leaves the list
// empty; item 0 is still written.
void FillFormatList(const TOfficeComboList& categoryList, TOfficeComboList& formatList);

}  // namespace catalogue
