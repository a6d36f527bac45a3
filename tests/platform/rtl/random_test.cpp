#include "platform/rtl/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace rtl {
namespace {

std::vector<int> Draw(std::uint64_t seed, int range, int count) {
    RandSeed(seed);
    std::vector<int> out;
    for (int i = 0; i < count; ++i) out.push_back(Random(range));
    return out;
}

TEST(RandomTest, SeedRepeatsTheSequenceAndValuesStayInRange) {
    EXPECT_EQ(Draw(42, 1000, 50), Draw(42, 1000, 50));
    EXPECT_NE(Draw(42, 1000, 50), Draw(43, 1000, 50));
    for (const int range : {1, 2, 7, 1000, 1 << 30}) {
        for (const int v : Draw(1, range, 2000)) {
            ASSERT_GE(v, 0);
            ASSERT_LT(v, range);
        }
    }
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
}

TEST(RandomTest, EveryValueOfASmallRangeComesUpEvenly) {
    std::vector<int> counts(10);
    for (const int v : Draw(9, 10, 10000)) ++counts[std::size_t(v)];
    for (const int c : counts) {
        EXPECT_GT(c, 850);
        EXPECT_LT(c, 1150);
    }
}

}  // namespace
}  // namespace rtl
