#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace rtl {
namespace {

std::string Printf(const char* format, long long value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string Printf(const char* format, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Our conversions follow printf exactly; the C library is the reference in the "C" locale.
TEST(Format, IntegersMatchPrintf) {
    const char* formats[] = {"%d",   "%.2d",  "%5d",    "%-5d|", "%05d", "%+d", "% d",
                             "%.0d", "%x",    "%X",     "%#x",   "%08X", "%o",  "%#o",
                             "%u",   "%5.3d", "%-+6d|", "%lld",  "%ld",  "%i"};
    const long long values[] = {0, 7, -7, 42, 255, -123456, 2147483647LL, -9000000000LL};
    for (const char* format : formats) {
        for (long long value : values) {
            std::string specifier(format);
            bool isUnsigned = specifier.find_first_of("xXou") != std::string::npos;
            if (isUnsigned && value < 0) continue;
            std::string withLongLong = specifier;
            size_t at = withLongLong.find_last_of("dxXoui");
            if (withLongLong.find('l') == std::string::npos) withLongLong.insert(at, "ll");
            EXPECT_EQ(Format(format, value), Printf(withLongLong.c_str(), value))
                << format << " " << value;
        }
    }
}

TEST(Format, RealsMatchPrintfInTheCLocale) {
    const char* formats[] = {"%f",   "%.2f", "%8.3f", "%-8.1f|", "%08.2f", "%+.1f", "%e",
                             "%.3E", "%g",   "%.3g",  "%G",      "%.0f",   "%10.4e"};
    const double values[] = {0.0, 1.0, -1.5, 2.5, 3.14159265, 1e-5, 123456789.0, 1e20, -0.0};
    for (const char* format : formats)
        for (double value : values)
            EXPECT_EQ(Format(format, value), Printf(format, value)) << format << " " << value;
}

TEST(Format, TakesTypedArguments) {
    std::string name = "clip.avi";
    EXPECT_EQ(Format("%.2d:%.2d:%.2d", 1, 2, 3), "01:02:03");
    EXPECT_EQ(Format("File Name: %s", name), "File Name: clip.avi");
    EXPECT_EQ(Format("%s|%-6s|%6s|%.3s", "a", "bc", "de", "fghij"), "a|bc    |    de|fgh");
    EXPECT_EQ(Format("%d%%", 50), "50%");
    EXPECT_EQ(Format("%d", int64_t{-9000000000}), "-9000000000");
    EXPECT_EQ(Format("%u", uint64_t{18446744073709551615ULL}), "18446744073709551615");
    EXPECT_EQ(Format("%c%c", 'o', 'k'), "ok");
    EXPECT_EQ(Format("%*d|%-*d|%.*f", 4, 7, 3, 8, 2, 0.5), "   7|8  |0.50");
    EXPECT_EQ(Format("%p", static_cast<const void*>(nullptr)), "(nil)");
    int object = 0;
    char pointer[32];
    std::snprintf(pointer, sizeof pointer, "%p", static_cast<void*>(&object));
    EXPECT_EQ(Format("[%s @ %p]", "mpeg4", &object), std::string("[mpeg4 @ ") + pointer + "]");
    EXPECT_EQ(Format("no arguments"), "no arguments");
    EXPECT_EQ(Format("%5.1f%%", 12.345), " 12.3%");
    EXPECT_EQ(Format("%s", std::string("视频")), "视频");
}

TEST(Format, MismatchedArgumentsRaise) {
    const std::string kError = "Format '%d' invalid or incompatible with argument";
    try {
        Format("%d", "text");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), kError);
    }
    EXPECT_THROW(Format("%s", 5), EConvertError);
    EXPECT_THROW(Format("%f", 5), EConvertError);
    EXPECT_THROW(Format("%d"), EConvertError);
    EXPECT_THROW(Format("%d %d", 1), EConvertError);
    EXPECT_THROW(Format("%q", 1), EConvertError);
    EXPECT_THROW(Format("50%"), EConvertError);
}

}  // namespace
}  // namespace rtl
