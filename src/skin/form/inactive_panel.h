// The client inactive panel: a frozen picture of a form's client area laid over it while the
// form is inactive, blurred or washed over with the form's own background. Owns its picture.
// Main thread only.
#pragma once

#include <memory>

#include "skin/controls/panels.h"
#include "skin/core/bs_bitmap.h"

namespace skin {

enum TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };

class TbsClientInActivePanel : public TbsSkinPaintPanel {
public:
    explicit TbsClientInActivePanel(vcl::TComponent* AOwner);

    // Nothing for no form, a hidden one or an empty client area.
    void ShowPanel(vcl::TCustomForm* AForm, TbsClientInActiveEffect AEffect);
    void HidePanel();
    TbsBitmap* Buffer() const { return FBuffer.get(); }

protected:
    void Paint() override;

private:
    std::unique_ptr<TbsBitmap> FBuffer;
};

}  // namespace skin
