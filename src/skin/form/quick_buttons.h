// Caption quick buttons: small image buttons that the caption object draws at the left end of
// the caption and clicks. The form skin component owns the collection; any change repaints the
// frame unless the component is loading. Main thread only.
#pragma once

#include <string>

#include "platform/gfx/graphics.h"
#include "platform/rtl/lists.h"
#include "platform/vcl/classes.h"

namespace skin {

class TbsSkinForm;

class TbsQuickButtonItem : public rtl::TCollectionItem {
public:
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // OnClick is not copied.
    void Assign(const rtl::TCollectionItem& source) override;

    std::string Hint;
    // Raised by the caption object, itself the Sender.
    vcl::TNotifyEvent OnClick;
    gfx::TRect ItemRect;  // where the caption drew it, frame coordinates
    bool Active = false;  // under the mouse
    bool Down = false;

private:
    int FImageIndex = -1;
    bool FEnabled = true;
    bool FVisible = true;
};

class TbsQuickButtonItems : public rtl::TCollectionOf<TbsQuickButtonItem> {
public:
    explicit TbsQuickButtonItems(TbsSkinForm* ABSF) : BSF(ABSF) {}
    TbsSkinForm* GetOwner() const { return BSF; }

    TbsSkinForm* BSF;

protected:
    void Update(rtl::TCollectionItem* Item) override;
};

}  // namespace skin
