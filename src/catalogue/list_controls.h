// What the catalogue's fillers need of the main window's lists: the skinned combo box (the six
// parameter lists) and the office-style combo box (the category and format lists). The skinned
// controls implement these; the fillers never see a control class. Main thread only.
#pragma once

#include <string>

namespace catalogue {

// A fixed-style combo box. Clearing and adding items raise no event and leave the shown text.
// Writing ItemIndex selects the item (an index outside the items leaves -1); when the shown text
// changes that raises OnChange, and then, unless the form is loading, OnClick.
class TComboList {
public:
    virtual ~TComboList() = default;
    virtual void ClearItems() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual int ItemCount() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
    virtual std::string Text() const = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

// An office-style combo box whose items carry a title, a caption and a picture index. Every
// ItemIndex write, also of the current value or of an index without an item, stores the value
// and raises the item's click (when the item exists), then OnClick and OnChange.
class TOfficeComboList {
public:
    virtual ~TOfficeComboList() = default;
    virtual void ClearItems() = 0;
    virtual void AddItem(const std::string& title, const std::string& caption, int imageIndex) = 0;
    virtual int ItemCount() const = 0;
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;
};

}  // namespace catalogue
