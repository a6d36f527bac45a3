// TbsSkinTextLabel: a windowless multi-line label whose text is a string list (Lines), drawn in
// the font and colour of the skin's "stdlabel" record, sized to its text with AutoSize. Main
// thread only.
#pragma once

#include <string>

#include "platform/rtl/strings.h"
#include "platform/vcl/std_ctrls.h"
#include "skin/controls/label_text.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinTextLabel : public vcl::TGraphicControl,
                         public TbsSkinClient,
                         public TbsLabelSkinLink {
public:
    explicit TbsSkinTextLabel(vcl::TComponent* AOwner);
    ~TbsSkinTextLabel() override;

    TbsSkinData* SkinData() const override { return FSD; }
    // Stores; any skin data, empty or not, is taken up at once.
    void SetSkinData(TbsSkinData* value);
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
    // Changing the lines re-measures (AutoSize) and repaints.
    rtl::TStringList& Lines() { return FLines; }
    void SetLines(const rtl::TStrings& value);
    vcl::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(vcl::TAlignment value);
    vcl::TTextLayout Layout() const { return FLayout; }
    void SetLayout(vcl::TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // On by default; turning it on fits the size at once.
    void SetAutoSize(bool value) override;

    void GetSkinData();
    void ChangeSkinData() override;
    // The record index is stale once the skin data starts replacing its records.
    void BeforeChangeSkinData() override { FIndex = -1; }
    // Fits the size to the text (AutoSize), keeping the right edge of a right-aligned label.
    virtual void AdjustBounds();
    void Dispatch(vcl::TMessage& Message) override;

protected:
    // The lines as one text, each line ended by a line break.
    virtual std::string GetLabelText();
    void Paint() override;
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void DrawLabelText(vcl::TRect& R, unsigned Flags);
    // The height of the text less the empty line after its final line break, never below 0.
    int TextHeightOf(vcl::TRect& R, unsigned Flags);

    bool FUseSkinColor = true;
    rtl::TStringList FLines;
    vcl::TAlignment FAlignment = vcl::taLeftJustify;
    vcl::TTextLayout FLayout = vcl::tlTop;
    bool FWordWrap = false;
};

}  // namespace skin
