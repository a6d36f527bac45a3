#include "platform/rtl/sysutils.h"

#include <cerrno>
#include <cmath>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace rtl {
namespace {

struct TIntCase {
    std::string text;
    std::optional<int32_t> value;  // nullopt: StrToInt raises
};

TEST(StrToInt, AcceptsDecimalAndHexOnly) {
    const TIntCase cases[] = {
        {"12", 12},
        {"$1F", 31},
        {"0x1f", 31},
        {"0X1F", 31},
        {"-12", -12},
        {"+7", 7},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},  // colour values use the full 32 bits
        {" 7", std::nullopt},
        {"7 ", std::nullopt},
        {"", std::nullopt},
        {"1e3", std::nullopt},
        {"12a", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"-", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$100000000", std::nullopt},
        {"1.0", std::nullopt},
    };
    for (const TIntCase& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        if (c.value) {
            EXPECT_EQ(StrToInt(c.text), *c.value);
            EXPECT_EQ(StrToIntDef(c.text, 99), *c.value);
        } else {
            try {
                StrToInt(c.text);
                ADD_FAILURE() << "no exception";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), "'" + c.text + "' is not a valid integer value");
            }
            EXPECT_EQ(StrToIntDef(c.text, 99), 99);
        }
    }
}

TEST(StrToInt, EmptyTextNamesItselfInTheError) {
    try {
        StrToInt("");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
}

TEST(StrToInt64, CoversTheFullRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("0x100000000"), 4294967296LL);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_THROW(StrToInt64("$10000000000000000"), EConvertError);
}

struct TFloatCase {
    std::string text;
    std::optional<double> value;
};

TEST(StrToFloat, ReadsDotDecimalsAndExponents) {
    const TFloatCase cases[] = {
        {"1e3", 1000.0},
        {"1.5", 1.5},
        {"-0.25", -0.25},
        {".5", 0.5},
        {"5.", 5.0},
        {"+2", 2.0},
        {"1E-2", 0.01},
        {"12", 12.0},
        {"1,5", std::nullopt},
        {"", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"e3", std::nullopt},
        {"1e", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {".", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const TFloatCase& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        if (c.value) {
            EXPECT_DOUBLE_EQ(StrToFloat(c.text), *c.value);
        } else {
            try {
                StrToFloat(c.text);
                ADD_FAILURE() << "no exception";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message(), "'" + c.text + "' is not a valid floating point value");
            }
            EXPECT_EQ(StrToFloatDef(c.text, -7.0), -7.0);
        }
    }
}

TEST(NumberToText, WritesClassicForms) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(FloatToStr(1000), "1000");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(-2.5), "-2.5");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
    for (double v : {0.1, 1234.5678, -1e-3, 3e15})
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v)), v) << v;
}

TEST(Round, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int64_t> cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {-2.5001, -3},
        {0.0, 0},
        {7.0, 7},
        {1e15 + 0.5, 1000000000000000},
        {4503599627370497.0, 4503599627370497},
    };
    for (auto [value, expected] : cases) EXPECT_EQ(Round(value), expected) << value;
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_EQ(Round(1e300), INT64_MAX);
    EXPECT_EQ(Round(-HUGE_VAL), INT64_MIN);
}

TEST(Text, TrimsBlanksAndControlCharacters) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim(std::string("\0x\x1f", 3)), "x");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(" 视频 "), "视频");
}

TEST(Text, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(LowerCase("AbC-Ä视频Z"), "abc-Ä视频z");
    EXPECT_EQ(UpperCase("abc-ä视频z"), "ABC-ä视频Z");
    EXPECT_TRUE(SameText("Thread_Count", "THREAD_count"));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_FALSE(SameText("Ä", "ä"));
    EXPECT_LT(CompareText("apple", "Banana"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_EQ(CompareText("MiXeD", "mixed"), 0);
}

TEST(SysErrorMessageTest, TheSystemsTextFillsAnInOutError) {
    EXPECT_EQ(SysErrorMessage(ENOENT), "No such file or directory");
    EXPECT_EQ(SysErrorMessage(EACCES), "Permission denied");
    const EInOutError error(ENOTDIR, SysErrorMessage(ENOTDIR));
    EXPECT_EQ(error.ErrorCode, ENOTDIR);
    EXPECT_EQ(error.Message(), "Not a directory");
    EXPECT_THROW(throw error, Exception) << "one catch for every error of the program";
}

}  // namespace
}  // namespace rtl
