#include "catalogue/format_list.h"

#include "catalogue/presets.h"

namespace catalogue {

void FillFormatList(const TOfficeComboList& categoryList, TOfficeComboList& formatList) {
    formatList.ClearItems();
    for (const TOutputPreset& preset : PresetsOfCategory(categoryList.ItemIndex()))
        formatList.AddItem(preset.Title, preset.Caption, preset.ImageIndex);
    // Written even when it already reads 0: the format handlers must run for the new list.
    formatList.SetItemIndex(0);
}

}  // namespace catalogue
