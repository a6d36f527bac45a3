#include "media/libs/media_utils.h"

#include <cstdlib>
#include <ctime>
#include <deque>

#include <gtest/gtest.h>

#include "media/libs/ff_base_component.h"
#include "media/media_test_support.h"
#include "platform/sys/main_thread.h"

namespace media {
namespace {

TEST(MediaUtilsTest, SizeToText) {
    const std::pair<int64_t, const char*> cases[] = {{-1, "-1 Byte"},
                                                     {0, "0 Byte"},
                                                     {1024, "1024 Byte"},
                                                     {1025, "1.00 KB"},
                                                     {1048576, "1024.00 KB"},
                                                     {1048577, "1.00 MB"},
                                                     {1073741824, "1024.00 MB"},
                                                     {1073741825, "1.00 GB"},
                                                     {int64_t(5) << 40, "5120.00 GB"}};
    for (auto [size, text] : cases) EXPECT_EQ(SizeToText(size), text) << size;
}

TEST(MediaUtilsTest, SplitFirst) {
    struct TCase {
        const char* Text;
        const char* Delimiter;
        bool Remove;
        const char* Head;
        const char* Rest;
    };
    const TCase cases[] = {
        {"name=value", "=", true, "name", "value"},
        {"name=value", "=", false, "name", "name=value"},
        {"a<CRLF>b<CRLF>c", "<CRLF>", true, "a", "b<CRLF>c"},
        {"no delimiter", "=", true, "no delimiter", ""},
        {"no delimiter", "=", false, "no delimiter", "no delimiter"},
        {"=starts", "=", true, "", "starts"},
        {"Case", "c", true, "Case", ""},
    };
    for (const TCase& c : cases) {
        std::string text = c.Text;
        EXPECT_EQ(SplitFirst(text, c.Delimiter, c.Remove), c.Head) << c.Text;
        EXPECT_EQ(text, c.Rest) << c.Text;
    }
}

TEST(MediaUtilsTest, LibraryTextKeepsUtf8AndWidensOtherBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"\xE4\xB8\xAD\xE6\x96\x87", "\u4E2D\u6587"},
        {"\xE4", "\u00E4"},
        {"a\xE4\xB8", "a\u00E4\u00B8"},          // cut sequence
        {"\xC0\x80", "\u00C0\u0080"},            // overlong
        {"\xED\xA0\x80", "\u00ED\u00A0\u0080"},  // surrogate
        {"\xF0\x9F\x98\x80", "\U0001F600"},
        {"\xFF", "\u00FF"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(LibraryText(bytes), text) << bytes;
}

TEST(MediaUtilsTest, FileSizeOf) {
    test::TTempDir folder;
    EXPECT_EQ(FileSizeOf(folder.Touch("five", "12345")), 5);
    EXPECT_EQ(FileSizeOf(folder.File("missing")), -1);
    EXPECT_EQ(FileSizeOf(folder.Path()), -1);
}

TEST(MediaUtilsTest, UnixTimeToLocalFollowsTheStandardTimeZone) {
    const char* savedTz = std::getenv("TZ");
    std::string saved = savedTz != nullptr ? savedTz : "";
    // China Standard Time, UTC+8; then a zone whose summer time is left out.
    const std::pair<const char*, const char*> cases[] = {
        {"CST-8", "1970-01-01 08:00:00"},
        {"UTC0", "1970-01-01 00:00:00"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", "1970-01-01 01:00:00"}};
    for (auto [zone, text] : cases) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(DateTimeText("yyyy-mm-dd hh:nn:ss", UnixTimeToLocal(0)), text) << zone;
    }
    // 2020-07-01 12:00 UTC is 14:00 summer time there, but standard time is asked for.
    EXPECT_EQ(DateTimeText("hh:nn", UnixTimeToLocal(1593604800)), "13:00");
    if (savedTz != nullptr)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(MediaUtilsTest, SeekFlagsValueIsTheLibrarysFlags) {
    EXPECT_EQ(SeekFlagsValue({}), 0);
    EXPECT_EQ(SeekFlagsValue({sfBackward}), 1);
    EXPECT_EQ(SeekFlagsValue({sfByte, sfAny}), 6);
    EXPECT_EQ(SeekFlagsValue({sfBackward, sfFrame}), 9);
    EXPECT_EQ(SeekFlagsValue({sfBackward, sfByte, sfAny, sfFrame}), 15);
}

// A window layer's queue, scripted.
class PumpMessagesTest : public testing::Test {
protected:
    void SetUp() override {
        SetWindowMessagePump({[this](int& exitCode) {
                                  if (FQueue.empty()) return TPumpResult::Empty;
                                  int message = FQueue.front();
                                  FQueue.pop_front();
                                  if (message < 0) {
                                      exitCode = -message;
                                      return TPumpResult::Quit;
                                  }
                                  FDispatched.push_back(message);
                                  return TPumpResult::Dispatched;
                              },
                              [this](int exitCode) {
                                  FQueue.push_back(-exitCode);
                                  FPostedQuits.push_back(exitCode);
                              }});
    }
    void TearDown() override { SetWindowMessagePump({}); }

    std::deque<int> FQueue;
    std::vector<int> FDispatched;
    std::vector<int> FPostedQuits;
};

TEST_F(PumpMessagesTest, RunsHandOversAndMessagesUntilNoneIsLeft) {
    FQueue = {1, 2, 3};
    int handOvers = 0;
    sys::QueueInMainThread([&] { ++handOvers; });
    sys::QueueInMainThread([&] { ++handOvers; });
    PumpMessages();
    EXPECT_EQ(handOvers, 2);
    EXPECT_EQ(FDispatched, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(FPostedQuits.empty());
    EXPECT_TRUE(FQueue.empty());
}

TEST_F(PumpMessagesTest, AQuitSeenWhileWaitingIsPostedAgainAfterwards) {
    FQueue = {1, -7, 2};
    PumpMessages();
    EXPECT_EQ(FDispatched, (std::vector<int>{1, 2}));
    EXPECT_EQ(FPostedQuits, std::vector<int>{7});
    // Still there for the message loop once the wait is over.
    EXPECT_EQ(FQueue, std::deque<int>{-7});
}

TEST_F(PumpMessagesTest, PumpMessageReportsWhetherAnythingRan) {
    std::optional<int> quit;
    EXPECT_FALSE(PumpMessage(quit));
    FQueue = {-3};
    EXPECT_TRUE(PumpMessage(quit));
    EXPECT_EQ(quit, 3);
    EXPECT_FALSE(PumpMessage(quit));
    EXPECT_TRUE(FPostedQuits.empty());
}

}  // namespace
}  // namespace media
