// Pointer lists and owned collections. TList<T> keeps T* in order and owns nothing;
// TCollection owns its TCollectionItem objects and numbers them with IDs that are never reused.
// Index errors raise EListError "List index out of bounds (<index>)".
// Not thread-safe: a list belongs to the thread that uses it.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace rtl {

[[noreturn]] void RaiseListIndexError(int index);

template <class T = void>
class TList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }

    T* Items(int index) const {
        Check(index);
        return FItems[static_cast<size_t>(index)];
    }
    T* operator[](int index) const { return Items(index); }
    void Put(int index, T* item) {
        Check(index);
        FItems[static_cast<size_t>(index)] = item;
    }
    T* First() const { return Items(0); }
    T* Last() const { return Items(Count() - 1); }

    int Add(T* item) {
        FItems.push_back(item);
        return Count() - 1;
    }
    void Insert(int index, T* item) {
        if (index < 0 || index > Count()) RaiseListIndexError(index);
        FItems.insert(FItems.begin() + index, item);
    }
    void Delete(int index) {
        Check(index);
        FItems.erase(FItems.begin() + index);
    }
    // Removes the first occurrence; returns its former index or -1.
    int Remove(T* item) {
        int index = IndexOf(item);
        if (index >= 0) Delete(index);
        return index;
    }
    int IndexOf(const T* item) const {
        auto at = std::find(FItems.begin(), FItems.end(), item);
        return at == FItems.end() ? -1 : static_cast<int>(at - FItems.begin());
    }
    void Exchange(int index1, int index2) {
        Check(index1);
        Check(index2);
        std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
    }
    void Move(int curIndex, int newIndex) {
        if (curIndex == newIndex) return;
        Check(curIndex);
        Check(newIndex);
        T* item = FItems[static_cast<size_t>(curIndex)];
        FItems.erase(FItems.begin() + curIndex);
        FItems.insert(FItems.begin() + newIndex, item);
    }
    void Clear() { FItems.clear(); }
    // `compare` answers <0, 0 or >0; equal items keep their order.
    void Sort(const std::function<int(T*, T*)>& compare) {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&](T* a, T* b) { return compare(a, b) < 0; });
    }

    typename std::vector<T*>::const_iterator begin() const { return FItems.begin(); }
    typename std::vector<T*>::const_iterator end() const { return FItems.end(); }

private:
    void Check(int index) const {
        if (index < 0 || index >= Count()) RaiseListIndexError(index);
    }

    std::vector<T*> FItems;
};

class TCollection;

enum TCollectionNotification { cnAdded, cnDeleting };

class TCollectionItem {
public:
    TCollectionItem() = default;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;
    virtual ~TCollectionItem() = default;

    TCollection* Collection() const { return FCollection; }
    int ID() const { return FID; }
    // Position in the collection, -1 while the item belongs to none.
    int Index() const;
    void SetIndex(int index);

    // Copies the settings of another item; TCollection::Assign relies on it. The base raises
    // EConvertError: an item class that can be copied says how.
    virtual void Assign(const TCollectionItem& source);

protected:
    // Tells the collection that this item (or, with allItems, every item) needs updating.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection {
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;

    explicit TCollection(TItemFactory factory);
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    virtual ~TCollection();

    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    // Frees the item.
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    // Clears, then adds one item per source item and lets it Assign from it.
    virtual void Assign(const TCollection& source);

    void BeginUpdate();
    void EndUpdate();

protected:
    // Runs after every change outside BeginUpdate/EndUpdate: with the item that changed, or
    // nullptr when the set of items (or all of them) changed.
    virtual void Update(TCollectionItem* item) { (void)item; }
    // An item has just taken its place (cnAdded) or is about to leave it (cnDeleting); either
    // way Index() tells where it is. Not called while the collection itself is destroyed.
    virtual void Notify(TCollectionItem* item, TCollectionNotification action) {
        (void)item;
        (void)action;
    }

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem* item);
    void MoveItem(int curIndex, int newIndex);

    TItemFactory FFactory;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};

// A collection of one item class with typed access.
template <class TItem>
class TCollectionOf : public TCollection {
public:
    TCollectionOf() : TCollection([] { return std::make_unique<TItem>(); }) {}

    TItem* Items(int index) const { return static_cast<TItem*>(TCollection::Items(index)); }
    TItem* Add() { return static_cast<TItem*>(TCollection::Add()); }
    TItem* Insert(int index) { return static_cast<TItem*>(TCollection::Insert(index)); }
};

}  // namespace rtl
