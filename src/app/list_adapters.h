// The catalogue's view of the main window's skinned lists.
#pragma once

#include "catalogue/list_controls.h"
#include "skin/lists/combo_box.h"
#include "skin/lists/office_combo_box.h"

namespace app {

class TComboListAdapter : public catalogue::TComboList {
public:
    explicit TComboListAdapter(skin::TbsSkinComboBox* box) : FBox(box) {}
    void ClearItems() override { FBox->Items().Clear(); }
    void AddItem(const std::string& text) override { FBox->Items().Add(text); }
    int ItemCount() const override { return FBox->Items().Count(); }
    std::string Item(int index) const override { return FBox->Items().Get(index); }
    int ItemIndex() const override { return FBox->ItemIndex(); }
    void SetItemIndex(int index) override { FBox->SetItemIndex(index); }
    std::string Text() const override { return FBox->Text(); }
    bool Enabled() const override { return FBox->Enabled(); }
    void SetEnabled(bool enabled) override { FBox->SetEnabled(enabled); }

private:
    skin::TbsSkinComboBox* FBox;
};

class TOfficeListAdapter : public catalogue::TOfficeComboList {
public:
    explicit TOfficeListAdapter(skin::TbsSkinOfficeComboBox* box) : FBox(box) {}
    void ClearItems() override { FBox->Items().Clear(); }
    void AddItem(const std::string& title, const std::string& caption, int imageIndex) override {
        skin::TbsSkinOfficeItem* item = FBox->Items().Add();
        item->SetTitle(title);
        item->SetCaption(caption);
        item->SetImageIndex(imageIndex);
    }
    int ItemCount() const override { return FBox->Items().Count(); }
    int ItemIndex() const override { return FBox->ItemIndex(); }
    void SetItemIndex(int index) override { FBox->SetItemIndex(index); }

private:
    skin::TbsSkinOfficeComboBox* FBox;
};

}  // namespace app
