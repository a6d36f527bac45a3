#include "platform/rtl/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// The cleanup runs exactly once on each way out of the scope: falling off the end, an early
// return, and an exception passing through.
TEST(ScopeExitTest, RunsOnceOnEveryWayOut) {
    int runs = 0;
    auto leave = [&](int how) {
        rtl::TScopeExit count([&] { ++runs; });
        if (how == 1) return;
        if (how == 2) throw std::runtime_error("out");
    };
    for (int how : {0, 1, 2}) {
        runs = 0;
        try {
            leave(how);
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(runs, 1) << "way out " << how;
    }
}

// A flag set for a block is back when the exception reaches the caller, and the exception is
// the block's own.
TEST(ScopeExitTest, PutsStateBackBeforeTheCallerSeesTheException) {
    bool busy = false;
    try {
        busy = true;
        rtl::TScopeExit done([&] { busy = false; });
        throw std::logic_error("inner");
    } catch (const std::logic_error& e) {
        EXPECT_FALSE(busy);
        EXPECT_STREQ(e.what(), "inner");
    }
}

// Guards end in the reverse order of their making, as the states they undo were set.
TEST(ScopeExitTest, NestedGuardsEndInReverse) {
    std::string order;
    {
        rtl::TScopeExit outer([&] { order += "outer "; });
        rtl::TScopeExit inner([&] { order += "inner "; });
    }
    EXPECT_EQ(order, "inner outer ");
}

}  // namespace
