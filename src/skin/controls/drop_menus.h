// The skinned menus a control drops below itself, as the controls see them: the skinned popup
// menu (a chain of menu levels run by the form's menu controller) and the images menu (a grid of
// pictures to choose one from). The menus module implements both classes; controls hold them
// through these bases and never include that module.
//
// A popup menu dropped with PopupFromRect2 tells the dropping control that its chain closed by
// sending it WM_CLOSESKINMENU (1228). An images menu reports its close through
// OnInternalMenuClose and a new choice through OnInternalChange; the chosen cell is read back
// with SelectedItem. Main thread only.
#pragma once

#include <optional>
#include <string>

#include "platform/gfx/types.h"
#include "platform/vcl/classes.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"

namespace skin {

// The skinned popup menu (TbsSkinPopupMenu).
class TbsSkinDropMenu {
public:
    virtual ~TbsSkinDropMenu() = default;
    // The menu as a component, for the owners' remove notifications.
    virtual vcl::TComponent* MenuComponent() = 0;
    // Drops the menu below (or, with aPopupUp, above) the screen rectangle r on behalf of aCtrl,
    // which hears WM_CLOSESKINMENU when the chain closes. False when nothing opened (no items,
    // no skinned form to run the chain): then no close message follows.
    virtual bool PopupFromRect2(vcl::TControl* aCtrl, const gfx::TRect& r, bool aPopupUp) = 0;
};

// The cell chosen in an images menu.
struct TbsImagesMenuChoice {
    int ImageIndex = -1;
    std::string Caption;
};

// The images menu (TbsSkinImagesMenu).
class TbsSkinDropImagesMenu {
public:
    virtual ~TbsSkinDropImagesMenu() = default;
    virtual vcl::TComponent* MenuComponent() = 0;
    // The pictures the cells show.
    virtual vcl::TCustomImageList* Images() const = 0;
    // The chosen cell; none while ItemIndex names no item.
    virtual std::optional<TbsImagesMenuChoice> SelectedItem() const = 0;
    // Opens the grid below the screen rectangle r. False when nothing opened (no images): then
    // OnInternalMenuClose does not follow.
    virtual bool PopupFromRect(const gfx::TRect& r) = 0;

    // Set by the control that owns the menu: the choice changed; the window closed.
    vcl::TNotifyEvent OnInternalChange;
    vcl::TNotifyEvent OnInternalMenuClose;
};

}  // namespace skin
