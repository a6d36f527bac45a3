// The row texts and keys: time text, megabyte text (also under a locale with a decimal comma),
// the option string and the choice key.
#include "app/state_text.h"

#include <clocale>
#include <string>

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(StateText, SecToDateWrapsHoursAtADay) {
    const struct {
        int Sec;
        const char* Text;
    } cases[] = {{0, "00:00:00"},
                 {59, "00:00:59"},
                 {3725, "01:02:05"},
                 {86399, "23:59:59"},
                 {90000, "01:00:00"}};
    for (const auto& c : cases) EXPECT_EQ(SecToDate(c.Sec), c.Text) << c.Sec;
}

void ExpectMegabyteTexts() {
    const struct {
        long long Bytes;
        const char* Text;
    } cases[] = {
        {0, "0MB"},
        {1572864, "1.5MB"},
        {10000000, "9.54MB"},
        {1048576, "1MB"},
        {131072, "0.12MB"},  // 12.5 hundredths: the even neighbour below
        {393216, "0.38MB"},  // 37.5 hundredths: the even neighbour above
        {5368709120LL, "5120MB"},
    };
    for (const auto& c : cases) EXPECT_EQ(MegabyteText(c.Bytes), c.Text) << c.Bytes;
}

TEST(StateText, MegabyteTextRoundsToHundredthsWithAPoint) {
    ExpectMegabyteTexts();
}

TEST(StateText, MegabyteTextKeepsThePointUnderADecimalCommaLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    // scripts/deps makes this locale; without it the check would prove nothing.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing (scripts/deps generates it)";
    ExpectMegabyteTexts();
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(StateText, OptionStringPairsInRowOrder) {
    EXPECT_EQ(OptionString({3, 12, 0, 1, 9, 2}), "031200010902");
    EXPECT_EQ(OptionString({0, 0, 0, 0, 0, 0}), "000000000000");
    EXPECT_EQ(OptionString({10, 99, 9, 11, 0, 45}), "109909110045");
}

TEST(StateText, ChoiceKeyRoundTrips) {
    EXPECT_EQ(ChoiceKey(14, 7), 1507);
    const struct { int Category, Preset; } cases[] = {{14, 7}, {0, 0}, {34, 12}, {9, 99}};
    for (const auto& c : cases) {
        const TChoice back = DecodeChoiceKey(ChoiceKey(c.Category, c.Preset));
        EXPECT_EQ(back.CategoryIndex, c.Category);
        EXPECT_EQ(back.PresetIndex, c.Preset);
    }
}

}  // namespace
}  // namespace app
