#include "platform/shell/change_notifier.h"

#include <chrono>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "platform/sys/main_thread.h"
#include "platform/sys/threads.h"
#include "support/temp_dir.h"

namespace {

using namespace shell;

// A hang guard only: runs hand-overs until `done` holds; false after 120 s.
bool WaitUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        sys::CheckSynchronize(20);
    }
    return true;
}

// Runs hand-overs for a quiet spell; a call that should not come has had its chance by then
// (a slow machine can only make such a check pass, never fail).
void Drain(int ms = 300) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) sys::CheckSynchronize(10);
}

class ShellChangeNotifierTest : public testing::Test {
protected:
    void SetUp() override { sys::SetMainThread(); }
    testsupport::TTempDir FDir;
};

TEST_F(ShellChangeNotifierTest, NoThreadWithoutOnChangeAndOneForTwoAssignments) {
    auto* notifier = new TbsShellChangeNotifier(nullptr);
    EXPECT_EQ(notifier->Root(), "/");
    EXPECT_TRUE(notifier->WatchSubTree());
    EXPECT_EQ(FiltersToFlags(notifier->NotifyFilters()), 0x3u);
    notifier->SetRoot(FDir.Path());
    notifier->SetWatchSubTree(false);
    notifier->SetNotifyFilters({nfWriteChange});
    EXPECT_FALSE(notifier->Watching());
    int first = 0, second = 0;
    notifier->SetNotifyFilters({nfFileNameChange});
    notifier->SetOnChange([&] { ++first; });
    ASSERT_TRUE(notifier->Watching());
    notifier->SetOnChange([&] { ++second; });
    FDir.Touch("a");
    EXPECT_TRUE(WaitUntil([&] { return second > 0; }));
    EXPECT_EQ(first, 0);
    EXPECT_TRUE(sys::IsMainThread());
    notifier->Free();
}

TEST_F(ShellChangeNotifierTest, ManyFilesAtOnceGiveFewCalls) {
    auto* notifier = new TbsShellChangeNotifier(nullptr);
    notifier->SetRoot(FDir.Path());
    int calls = 0;
    bool onMain = true;
    notifier->SetOnChange([&] {
        ++calls;
        onMain = onMain && sys::IsMainThread();
    });
    for (int i = 0; i < 100; ++i) FDir.Touch("f" + std::to_string(i));
    EXPECT_TRUE(WaitUntil([&] { return calls > 0; }));
    Drain();
    EXPECT_LE(calls, 10);
    EXPECT_TRUE(onMain);
    notifier->Free();
}

TEST_F(ShellChangeNotifierTest, RetargetedOnlyTheNewFolderReports) {
    FDir.MakeFolder("old");
    FDir.MakeFolder("new");
    auto* notifier = new TbsShellChangeNotifier(nullptr);
    notifier->SetRoot(FDir / "old");
    int calls = 0;
    notifier->SetOnChange([&] { ++calls; });
    notifier->SetRoot(FDir / "new");
    Drain(50);
    calls = 0;
    FDir.Touch("old/x");
    Drain();
    EXPECT_EQ(calls, 0);
    FDir.Touch("new/x");
    EXPECT_TRUE(WaitUntil([&] { return calls > 0; }));
    notifier->Free();
}

TEST_F(ShellChangeNotifierTest, SubTreeWatchesFoldersAsTheyAppear) {
    auto* notifier = new TbsShellChangeNotifier(nullptr);
    notifier->SetRoot(FDir.Path());
    int calls = 0;
    notifier->SetOnChange([&] { ++calls; });
    FDir.MakeFolder("a");
    ASSERT_TRUE(WaitUntil([&] { return calls > 0; }));
    Drain(100);
    calls = 0;
    FDir.Touch("a/inner");
    EXPECT_TRUE(WaitUntil([&] { return calls > 0; }));

    notifier->SetWatchSubTree(false);
    Drain(50);
    calls = 0;
    FDir.Touch("a/second");
    Drain();
    EXPECT_EQ(calls, 0);
    notifier->Free();
}

TEST_F(ShellChangeNotifierTest, FreedRightAfterOnChangeItMakesNoCall) {
    int calls = 0;
    for (int round = 0; round < 5; ++round) {
        auto* notifier = new TbsShellChangeNotifier(nullptr);
        notifier->SetRoot(FDir.Path());
        notifier->SetOnChange([&] { ++calls; });
        FDir.Touch("r" + std::to_string(round));
        notifier->Free();
    }
    Drain();
    EXPECT_EQ(calls, 0);
}

TEST_F(ShellChangeNotifierTest, AFolderThatCannotBeWatchedReportsNothing) {
    auto* notifier = new TbsShellChangeNotifier(nullptr);
    notifier->SetRoot(FDir / "missing");
    int calls = 0;
    notifier->SetOnChange([&] { ++calls; });
    FDir.Touch("x");
    Drain();
    EXPECT_EQ(calls, 0);
    notifier->SetRoot(FDir.Path());
    FDir.Touch("y");
    EXPECT_TRUE(WaitUntil([&] { return calls > 0; }));
    notifier->Free();
}

TEST(ShellChangeFiltersTest, FlagsAndRootComparison) {
    EXPECT_EQ(FiltersToFlags({nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange,
                              nfWriteChange, nfSecurityChange}),
              0x11Fu);
    EXPECT_TRUE(SameRoot("RFDESKTOP", "rfDesktop"));
    EXPECT_FALSE(SameRoot("/tmp/A", "/tmp/a"));
    EXPECT_TRUE(SameRoot("/tmp/a", "/tmp/a"));
}

}  // namespace
