#include "platform/rtl/lists.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace rtl {
namespace {

void ExpectListError(const std::function<void()>& call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no exception, expected " << message;
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

TEST(TList, KeepsPointersInOrder) {
    int a = 1, b = 2, c = 3;
    TList<int> list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&c), 1);
    list.Insert(1, &b);
    EXPECT_EQ(*list[0] + *list[1] * 10 + *list[2] * 100, 321);
    list.Exchange(0, 2);
    EXPECT_EQ(list.First(), &c);
    EXPECT_EQ(list.Last(), &a);
    list.Move(0, 2);
    EXPECT_EQ(list.IndexOf(&c), 2);
    EXPECT_EQ(list.Remove(&b), 0);
    EXPECT_EQ(list.Remove(&b), -1);
    EXPECT_EQ(list.Count(), 2);
    list.Sort([](int* x, int* y) { return *x - *y; });
    EXPECT_EQ(list[0], &a);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TList, IndexErrors) {
    int a = 0;
    TList<> list;  // untyped pointers
    list.Add(&a);
    ExpectListError([&] { list.Items(1); }, "List index out of bounds (1)");
    ExpectListError([&] { list.Items(-1); }, "List index out of bounds (-1)");
    ExpectListError([&] { list.Delete(5); }, "List index out of bounds (5)");
    ExpectListError([&] { list.Insert(2, &a); }, "List index out of bounds (2)");
    ExpectListError([&] { list.Put(1, &a); }, "List index out of bounds (1)");
    ExpectListError([&] { list.Exchange(0, 1); }, "List index out of bounds (1)");
    ExpectListError([&] { list.Move(0, 3); }, "List index out of bounds (3)");
    list.Clear();
    ExpectListError([&] { list.First(); }, "List index out of bounds (0)");
    ExpectListError([&] { list.Last(); }, "List index out of bounds (-1)");
}

// An item that counts its own destruction and can copy its caption.
class TCaptionItem : public TCollectionItem {
public:
    ~TCaptionItem() override {
        if (Destroyed) ++*Destroyed;
    }
    void Assign(const TCollectionItem& source) override {
        Caption = static_cast<const TCaptionItem&>(source).Caption;
    }
    void SetCaption(const std::string& caption) {
        Caption = caption;
        Changed(false);
    }

    std::string Caption;
    int* Destroyed = nullptr;
};

class TCaptionItems : public TCollectionOf<TCaptionItem> {
public:
    std::vector<const TCollectionItem*> Updates;
    std::vector<std::string> Notices;  // "+index" or "-index"

protected:
    void Update(TCollectionItem* item) override { Updates.push_back(item); }
    void Notify(TCollectionItem* item, TCollectionNotification action) override {
        Notices.push_back((action == cnAdded ? "+" : "-") + std::to_string(item->Index()));
    }
};

TEST(TCollection, OwnsAndNumbersItems) {
    int destroyed = 0;
    {
        TCaptionItems items;
        TCaptionItem* first = items.Add();
        TCaptionItem* second = items.Add();
        TCaptionItem* inserted = items.Insert(0);
        for (TCaptionItem* item : {first, second, inserted}) item->Destroyed = &destroyed;
        EXPECT_EQ(items.Count(), 3);
        EXPECT_EQ(inserted->Index(), 0);
        EXPECT_EQ(first->Index(), 1);
        EXPECT_EQ((std::vector<int>{first->ID(), second->ID(), inserted->ID()}),
                  (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(first->Collection(), &items);

        items.Delete(0);
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(first->Index(), 0);
        EXPECT_EQ(items.Add()->ID(), 3);  // IDs are never reused
        EXPECT_EQ(items.FindItemID(1), second);
        EXPECT_EQ(items.FindItemID(2), nullptr);

        second->SetIndex(0);
        EXPECT_EQ(items.Items(0), second);
        EXPECT_EQ(items.Items(1), first);
        ExpectListError([&] { items.Items(3); }, "List index out of bounds (3)");
        ExpectListError([&] { items.Delete(-1); }, "List index out of bounds (-1)");
        ExpectListError([&] { second->SetIndex(3); }, "List index out of bounds (3)");
    }
    EXPECT_EQ(destroyed, 3);  // the collection freed what it still held
}

TEST(TCollection, NotifiesItemsComingAndGoingAtTheirPlace) {
    TCaptionItems items;
    items.Add();
    items.Add();
    items.Insert(1);
    items.Delete(2);
    items.Clear();
    EXPECT_EQ(items.Notices, (std::vector<std::string>{"+0", "+1", "+1", "-2", "-1", "-0"}));
}

TEST(TCollection, UpdateHookAndAssign) {
    TCaptionItems items;
    TCaptionItem* item = items.Add();
    items.Updates.clear();
    item->SetCaption("one");
    EXPECT_EQ(items.Updates, (std::vector<const TCollectionItem*>{item}));

    items.Updates.clear();
    items.BeginUpdate();
    item->SetCaption("two");
    items.Add()->SetCaption("three");
    EXPECT_TRUE(items.Updates.empty());
    items.EndUpdate();
    EXPECT_EQ(items.Updates, (std::vector<const TCollectionItem*>{nullptr}));

    TCaptionItems copy;
    copy.Add()->SetCaption("old");
    copy.Assign(items);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(0)->Caption, "two");
    EXPECT_EQ(copy.Items(1)->Caption, "three");

    TCollectionOf<TCollectionItem> plain;
    plain.Add();
    TCollectionOf<TCollectionItem> target;
    EXPECT_THROW(target.Assign(plain), EConvertError);  // an item class must say how it copies
}

}  // namespace
}  // namespace rtl
