#include "platform/rtl/lists.h"

#include <fmt/format.h>

#include "platform/rtl/exception.h"

namespace rtl {

void RaiseListIndexError(int index) {
    throw EListError(fmt::format("List index out of bounds ({})", index));
}

// --- TCollectionItem ---

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    const auto& items = FCollection->FItems;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i);
    return -1;
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current >= 0 && index != current) FCollection->MoveItem(current, index);
}

void TCollectionItem::Assign(const TCollectionItem&) {
    throw EConvertError("Cannot assign a collection item of this kind");
}

void TCollectionItem::Changed(bool allItems) {
    if (FCollection) FCollection->Changed(allItems ? nullptr : this);
}

// --- TCollection ---

TCollection::TCollection(TItemFactory factory) : FFactory(std::move(factory)) {}

// Items go first, while the collection they point to is still whole.
TCollection::~TCollection() {
    while (!FItems.empty()) {
        std::unique_ptr<TCollectionItem> item = std::move(FItems.back());
        FItems.pop_back();
    }
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FItems[static_cast<size_t>(index)].get();
}

TCollectionItem* TCollection::Add() {
    return Insert(Count());
}

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    std::unique_ptr<TCollectionItem> item = FFactory();
    item->FCollection = this;
    item->FID = FNextID++;
    TCollectionItem* result = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    Notify(result, cnAdded);
    Changed(nullptr);
    return result;
}

void TCollection::Delete(int index) {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    Notify(FItems[static_cast<size_t>(index)].get(), cnDeleting);
    // Out of the list first, so the item's destructor never finds itself still listed.
    std::unique_ptr<TCollectionItem> item = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    item.reset();
    Changed(nullptr);
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) Delete(Count() - 1);
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (const auto& item : FItems)
        if (item->FID == id) return item.get();
    return nullptr;
}

void TCollection::Assign(const TCollection& source) {
    if (&source == this) return;
    BeginUpdate();
    try {
        Clear();
        for (const auto& item : source.FItems) Add()->Assign(*item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item) {
    if (FUpdateCount == 0) Update(item);
}

void TCollection::MoveItem(int curIndex, int newIndex) {
    if (newIndex < 0 || newIndex >= Count()) RaiseListIndexError(newIndex);
    std::unique_ptr<TCollectionItem> item = std::move(FItems[static_cast<size_t>(curIndex)]);
    FItems.erase(FItems.begin() + curIndex);
    FItems.insert(FItems.begin() + newIndex, std::move(item));
    Changed(nullptr);
}

}  // namespace rtl
