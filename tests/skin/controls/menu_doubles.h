// Doubles of the skinned menus a control drops (drop_menus.h), for the control tests: they
// record each drop and close when the test says so, the way the menu controller closes a chain
// (WM_CLOSESKINMENU to the dropping control) and the images menu reports its close and choice.
#pragma once

#include <optional>
#include <vector>

#include "platform/vcl/classes.h"
#include "skin/controls/drop_menus.h"
#include "skin/core/skin_messages.h"

namespace skin::test {

// A popup menu that records its drops and closes when told, as the menu controller will.
class TDropMenuDouble : public vcl::TComponent, public TbsSkinDropMenu {
public:
    using vcl::TComponent::TComponent;
    vcl::TComponent* MenuComponent() override { return this; }
    bool PopupFromRect2(vcl::TControl* aCtrl, const gfx::TRect& r, bool) override {
        Drops.push_back(r);
        if (Opens) FCtrl = aCtrl;
        return Opens;
    }
    void Close() {
        vcl::TControl* c = FCtrl;
        FCtrl = nullptr;
        if (c) c->Perform(WM_CLOSESKINMENU, 0, 0);
    }
    bool Opens = true;
    std::vector<gfx::TRect> Drops;

private:
    vcl::TControl* FCtrl = nullptr;
};

class TImagesMenuDouble : public vcl::TComponent, public TbsSkinDropImagesMenu {
public:
    using vcl::TComponent::TComponent;
    vcl::TComponent* MenuComponent() override { return this; }
    vcl::TCustomImageList* Images() const override { return List; }
    std::optional<TbsImagesMenuChoice> SelectedItem() const override { return Choice; }
    // A new choice, announced as the images menu does.
    void Choose(int index) {
        Choice = TbsImagesMenuChoice{index, "Item"};
        if (OnInternalChange) OnInternalChange(this);
    }
    vcl::TCustomImageList* List = nullptr;
    std::optional<TbsImagesMenuChoice> Choice;
    bool PopupFromRect(const gfx::TRect&) override {
        ++Drops;
        return true;
    }
    void Close() {
        if (OnInternalMenuClose) OnInternalMenuClose(this);
    }
    int Drops = 0;
};

}  // namespace skin::test
