#include "skin/dialogs/dialog_support.h"

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/sys/files.h"
#include "skin/controls/speed_button.h"
#include "skin/core/resource_strings.h"
#include "skin/form/skin_form.h"
#include "skin/packages/default_pictures.h"

namespace skin {

std::string DialogText(TbsSkinData* ctrl, const char* key, const char* builtIn) {
    TbsResourceStrData* table = ctrl ? ctrl->ResourceStrData() : nullptr;
    return table ? table->GetResStr(key) : builtIn;
}

void LoadDialogGlyph(TbsSkinSpeedButton* button, const char* name) {
    RegisterDefaultPictures();
    gfx::TBitmap glyph;
    if (!glyph.LoadFromResourceName(name)) return;
    glyph.SetTransparent(true);
    button->SetGlyph(glyph);
    button->SetNumGlyphs(1);
}

void CreateDialogFolder(const std::string& path) {
    if (!sys::ForceDirectories(path))
        throw rtl::EInOutError(5, "Unable to create directory \"" + path + "\"");
}

void ApplyDialogFrame(TbsSkinForm* BSF, const TbsDialogFrameSettings& settings) {
    BSF->SetBorderIcons({});
    BSF->SetSkinData(settings.SkinData);
    BSF->SetMenusSkinData(settings.MenusSkinData);
    BSF->SetMinWidth(settings.MinWidth);
    BSF->SetMinHeight(settings.MinHeight);
    BSF->SetAlphaBlend(settings.AlphaBlend);
    BSF->SetAlphaBlendAnimation(settings.AlphaBlendAnimation);
    BSF->SetAlphaBlendValue(settings.AlphaBlendValue);
}

gfx::TSize DialogClientSize(TbsSkinForm* BSF, TbsSkinData* SkinData, int width, int height,
                            int defaultWidth, int defaultHeight) {
    gfx::TSize size{width > 0 ? width : defaultWidth, height > 0 ? height : defaultHeight};
    if (SkinData && !SkinData->Empty) {
        size.cx = std::max(size.cx, BSF->GetMinWidth());
        size.cy = std::max(size.cy, BSF->GetMinHeight());
    }
    return size;
}

}  // namespace skin
