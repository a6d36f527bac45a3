// TbsSkinStdLabel: the platform's label drawing its text in the font and colour of the skin's
// "stdlabel" record, disabled text embossed in the skin's highlight and shadow colours, and an
// optional ellipsis at the end or in the middle of a path. Windowless; main thread only.
#pragma once

#include <string>

#include "platform/vcl/std_ctrls.h"
#include "skin/controls/label_text.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace skin {

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

class TbsSkinStdLabel : public vcl::TCustomLabel, public TbsSkinClient, public TbsLabelSkinLink {
public:
    explicit TbsSkinStdLabel(vcl::TComponent* AOwner);

    TbsSkinData* SkinData() const override { return FSD; }
    // Stores; a skin data (empty or not) is taken up at once.
    void SetSkinData(TbsSkinData* value);
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value) { FUseSkinColor = value; }
    TbsEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsEllipsType value);

    // Looks the record up by name and copies its font.
    void GetSkinData();
    // Look-up, re-measure with AutoSize, repaint.
    void ChangeSkinData() override;
    // The record index is stale once the skin data starts replacing its records.
    void BeforeChangeSkinData() override { FIndex = -1; }

protected:
    void DoDrawText(vcl::TRect& Rect, unsigned Flags) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    TbsEllipsType FEllipsType = bsetNone;
    bool FUseSkinColor = true;
};

}  // namespace skin
