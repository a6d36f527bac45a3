// What the skinned labels share (the standard, link and text labels): the copy of the skin's
// "stdlabel" record they draw their font from, the rule that picks a label's font, and the
// embossed look of disabled text. Main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "skin/core/skin_data.h"

namespace skin {

// The font fields of a "stdlabel" record, as a label copies them.
struct TbsLabelRecordFont {
    std::string FontName = "Arial";
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0;
    gfx::TColor ActiveFontColor = 0;
};

// The record's index (-1 without skin data, with an empty one or without the name); a
// "stdlabel" record's font is copied into `font`, any other leaves it as it was.
int LookUpLabelRecord(TbsSkinData* skinData, std::string_view name, TbsLabelRecordFont& font);

// The character set skinned text takes: the attached resource strings', else the default font's.
gfx::TFontCharset SkinCharset(TbsSkinData* skinData, const gfx::TFont& defaultFont);

// The font a label draws with. Without a record: the default font when useSkinFont, else the
// label's own. With one: the record's name, style and height when useSkinFont (else the label's
// font), and the record's colour when useSkinColor (else the label's font colour).
void SelectLabelFont(gfx::TFont& target, TbsSkinData* skinData, bool hasRecord,
                     const TbsLabelRecordFont& record, bool useSkinFont, bool useSkinColor,
                     const gfx::TFont& defaultFont, const gfx::TFont& ownFont);

// Disabled text: once in the highlight colour one pixel right and down, then in the shadow
// colour in place; the skin's colours with a record, the system's without. The brush is left
// clear.
void DrawEmbossedText(gfx::TCanvas& canvas, TbsSkinData* skinData, bool hasRecord,
                      std::string_view text, gfx::TRect rect, unsigned flags);

}  // namespace skin
