// What the skinned labels share (the standard, link and text labels): their link to the skin
// (skin data, record name, default font), the copy of the skin's "stdlabel" record they draw
// their font from, the rule that picks a label's font, and the embossed look of disabled text;
// and how the windowless skinned parts that are no skinned control follow their skin data.
// Main thread only.
#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/vcl/classes.h"
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

// Points `field` at another skin data. A skin data of another owner (the program's one skin data
// lives on the main window) is asked to tell `self` when it goes, so nothing keeps pointing to it.
void BindSkinData(vcl::TComponent* self, TbsSkinData*& field, TbsSkinData* value);

// The skin link of the three labels: skin data, record name ("stdlabel"), default font and the
// record's copy.
class TbsLabelSkinLink {
public:
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    // Copies the font; nothing repaints.
    void SetDefaultFont(const gfx::TFont& value) { FDefaultFont.Assign(value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }

    int FIndex = -1;
    TbsLabelRecordFont RecordFont;

protected:
    void LookUpRecord() { FIndex = LookUpLabelRecord(FSD, FSkinDataName, RecordFont); }
    // SelectLabelFont with this link's skin data, record and fonts.
    void SelectFont(gfx::TFont& target, bool useSkinColor, const gfx::TFont& ownFont) {
        SelectLabelFont(target, FSD, FIndex != -1, RecordFont, FUseSkinFont, useSkinColor,
                        FDefaultFont, ownFont);
    }

    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName = "stdlabel";
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
};

}  // namespace skin
