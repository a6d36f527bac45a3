#include "skin/controls/label_text.h"

#include "skin/core/skin_records.h"

namespace skin {

int LookUpLabelRecord(TbsSkinData* skinData, std::string_view name, TbsLabelRecordFont& font) {
    if (!skinData || skinData->Empty) return -1;
    const int index = skinData->GetControlIndex(name);
    if (index < 0) return -1;
    if (auto* r = dynamic_cast<TbsDataSkinStdLabelControl*>(skinData->CtrlList[index].get())) {
        font.FontName = r->FontName;
        font.FontStyle = r->FontStyle;
        font.FontHeight = r->FontHeight;
        font.FontColor = r->FontColor;
        font.ActiveFontColor = r->ActiveFontColor;
    }
    return index;
}

gfx::TFontCharset SkinCharset(TbsSkinData* skinData, const gfx::TFont& defaultFont) {
    if (skinData && skinData->ResourceStrData()) return skinData->ResourceStrData()->CharSet();
    return defaultFont.Charset();
}

void SelectLabelFont(gfx::TFont& target, TbsSkinData* skinData, bool hasRecord,
                     const TbsLabelRecordFont& record, bool useSkinFont, bool useSkinColor,
                     const gfx::TFont& defaultFont, const gfx::TFont& ownFont) {
    if (!hasRecord) {
        target.Assign(useSkinFont ? defaultFont : ownFont);
    } else {
        target.Assign(ownFont);
        if (useSkinFont) {
            target.SetName(record.FontName);
            target.SetStyle(record.FontStyle);
            target.SetHeight(record.FontHeight);
        }
        target.SetColor(useSkinColor ? record.FontColor : ownFont.Color());
    }
    target.SetCharset(SkinCharset(skinData, defaultFont));
}

void DrawEmbossedText(gfx::TCanvas& canvas, TbsSkinData* skinData, bool hasRecord,
                      std::string_view text, gfx::TRect rect, unsigned flags) {
    const bool skinned = hasRecord && skinData;
    canvas.Brush().SetStyle(gfx::bsClear);
    gfx::TRect shifted = rect.Offset(1, 1);
    canvas.Font().SetColor(skinned ? skinData->SkinColors()->cBtnHighLight : gfx::clBtnHighlight);
    canvas.DrawText(text, shifted, flags);
    canvas.Font().SetColor(skinned ? skinData->SkinColors()->cBtnShadow : gfx::clBtnShadow);
    canvas.DrawText(text, rect, flags);
}

void BindSkinData(vcl::TComponent* self, TbsSkinData*& field, TbsSkinData* value) {
    if (field && field != value) field->RemoveFreeNotification(self);
    field = value;
    if (value) value->FreeNotification(self);
}

}  // namespace skin
