#include "platform/shell/item_ids.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace shell;

// A list of one-character item ids: "abc" is a/b/c.
TItemIdPtr Make(const std::string& levels) {
    TItemIdPtr list(ShellAllocZeroed(2));
    for (char level : levels) {
        const uint8_t data[] = {static_cast<uint8_t>(level)};
        TItemIdPtr one = ItemIdFromData(data, 1);
        list = ItemIdListJoin(list.get(), one.get());
    }
    return list;
}

std::string Levels(PCItemIDList list) {
    std::string levels;
    for (PCItemIDList id = list; ItemIdByteCount(id) != 0; id = ItemIdNext(id))
        levels += static_cast<char>(ItemIdData(id)[0]);
    return levels;
}

TEST(ItemIdsTest, LayoutIsCountedItemsAndAZeroTerminator) {
    TItemIdPtr list = Make("ab");
    const std::vector<uint8_t> expected = {3, 0, 'a', 3, 0, 'b', 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(list.get(), list.get() + 8), expected);
    EXPECT_EQ(ItemIdListSize(list.get()), 8u);
    EXPECT_EQ(ItemIdCount(list.get()), 2);
    EXPECT_EQ(ItemIdListSize(Make("").get()), 2u);
    EXPECT_EQ(ItemIdListSize(nullptr), 0u);
    EXPECT_EQ(ItemIdCount(nullptr), 0);
}

TEST(ItemIdsTest, JoinStripLastAndCopies) {
    struct TCase {
        const char* First;  // "-" for nullptr
        const char* Second;
        const char* Joined;
    };
    const TCase cases[] = {
        {"-", "ab", "ab"}, {"", "ab", "ab"}, {"ab", "", "ab"}, {"a", "bc", "abc"}};
    for (const TCase& c : cases) {
        TItemIdPtr first = std::string(c.First) == "-" ? nullptr : Make(c.First);
        TItemIdPtr joined = ItemIdListJoin(first.get(), Make(c.Second).get());
        EXPECT_EQ(Levels(joined.get()), c.Joined) << c.First << "+" << c.Second;
    }
    struct TStrip {
        const char* List;
        const char* Stripped;
        const char* Last;
    };
    const TStrip strips[] = {{"a", "", "a"}, {"abc", "ab", "c"}, {"", "", ""}};
    for (const TStrip& c : strips) {
        TItemIdPtr list = Make(c.List);
        EXPECT_EQ(Levels(ItemIdLastCopy(list.get()).get()), c.Last) << c.List;
        ItemIdStripLast(list.get());
        EXPECT_EQ(Levels(list.get()), c.Stripped) << c.List;
    }
    ItemIdStripLast(nullptr);
    EXPECT_EQ(ItemIdListCopy(nullptr), nullptr);
    EXPECT_EQ(ItemIdLastCopy(nullptr), nullptr);
}

TEST(ItemIdsTest, AncestorsRunFromTheDesktopToTheParent) {
    std::vector<std::string> levels;
    for (const TItemIdPtr& ancestor : ItemIdAncestors(Make("abc").get()))
        levels.push_back(Levels(ancestor.get()));
    EXPECT_EQ(levels, (std::vector<std::string>{"", "a", "ab"}));
    const auto one = ItemIdAncestors(Make("a").get());
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(ItemIdListSize(one[0].get()), 2u);
    EXPECT_TRUE(ItemIdAncestors(Make("").get()).empty());
}

TEST(ItemIdsTest, AnItemTooLongForItsCountIsRefused) {
    std::vector<uint8_t> data(0xFFFE, 'x');
    EXPECT_EQ(ItemIdFromData(data.data(), data.size()), nullptr);
    EXPECT_NE(ItemIdFromData(data.data(), data.size() - 1), nullptr);
}

}  // namespace
