// A recording stand-in for the office-style combo box: keeps its items, behaves on ItemIndex
// writes as the skinned control does and logs every event in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/list_controls.h"

class TRecordingOfficeCombo : public catalogue::TOfficeComboList {
public:
    struct TItem {
        std::string Title, Caption;
        int ImageIndex;
    };

    explicit TRecordingOfficeCombo(std::vector<std::string>* log, std::string name)
        : FLog(log), FName(std::move(name)) {}

    std::function<void()> OnChange;  // run after the "change" entry is logged
    std::vector<TItem> Items;

    void ClearItems() override {
        Items.clear();
        Record("clear");
    }
    void AddItem(const std::string& title, const std::string& caption, int imageIndex) override {
        Items.push_back({title, caption, imageIndex});
        Record("add");
    }
    int ItemCount() const override { return static_cast<int>(Items.size()); }
    int ItemIndex() const override { return FItemIndex; }
    void SetItemIndex(int index) override {
        FItemIndex = index;
        if (index >= 0 && index < ItemCount()) Record("item-click " + std::to_string(index));
        Record("click");
        Record("change");
        if (OnChange) OnChange();
    }

private:
    void Record(const std::string& event) { FLog->push_back(FName + " " + event); }

    std::vector<std::string>* FLog;
    std::string FName;
    int FItemIndex = -1;
};
