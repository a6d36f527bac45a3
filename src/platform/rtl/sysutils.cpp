#include "platform/rtl/sysutils.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include <fmt/format.h>

#include "platform/rtl/exception.h"

namespace rtl {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
char LowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses into a 64-bit magnitude; `limit` is the largest accepted decimal magnitude for a
// positive value (the negative side allows one more), `hexLimit` the largest hex pattern.
bool ParseInteger(std::string_view s, uint64_t limit, uint64_t hexLimit, uint64_t& magnitude,
                  bool& negative) {
    size_t i = 0;
    negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == s.size()) return false;
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        if (hex) {
            int d = HexDigit(s[i]);
            if (d < 0 || value > (hexLimit >> 4)) return false;
            value = value << 4 | static_cast<uint64_t>(d);
            if (value > hexLimit) return false;
        } else {
            if (!IsDigit(s[i])) return false;
            uint64_t d = static_cast<uint64_t>(s[i] - '0');
            if (value > (limit + 1 - d) / 10) return false;
            value = value * 10 + d;
        }
    }
    if (!hex && value > limit + (negative ? 1 : 0)) return false;
    magnitude = value;
    return true;
}

[[noreturn]] void RaiseNotInteger(std::string_view s) {
    throw EConvertError(fmt::format("'{}' is not a valid integer value", s));
}

}  // namespace

bool TryStrToInt(std::string_view s, int32_t& value) {
    uint64_t magnitude = 0;
    bool negative = false;
    if (!ParseInteger(s, std::numeric_limits<int32_t>::max(), 0xFFFFFFFFu, magnitude, negative))
        return false;
    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
}

bool TryStrToInt64(std::string_view s, int64_t& value) {
    uint64_t magnitude = 0;
    bool negative = false;
    if (!ParseInteger(s, std::numeric_limits<int64_t>::max(), std::numeric_limits<uint64_t>::max(),
                      magnitude, negative))
        return false;
    if (negative) magnitude = 0u - magnitude;
    value = static_cast<int64_t>(magnitude);
    return true;
}

int32_t StrToInt(std::string_view s) {
    int32_t value = 0;
    if (!TryStrToInt(s, value)) RaiseNotInteger(s);
    return value;
}

int64_t StrToInt64(std::string_view s) {
    int64_t value = 0;
    if (!TryStrToInt64(s, value)) RaiseNotInteger(s);
    return value;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
    int32_t value = 0;
    return TryStrToInt(s, value) ? value : def;
}

std::string IntToStr(int64_t value) {
    return fmt::format("{}", value);
}

std::string IntToHex(int64_t value, int digits) {
    return fmt::format("{:0{}X}", static_cast<uint64_t>(value), digits < 0 ? 0 : digits);
}

bool TryStrToFloat(std::string_view s, double& value) {
    // Check the grammar ourselves: from_chars would also take "inf", "nan" and hex forms.
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    if (i != s.size()) return false;

    std::string_view body = s[0] == '+' ? s.substr(1) : s;
    double result = 0;
    auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), result);
    if (ec != std::errc() || end != body.data() + body.size()) return false;
    value = result;
    return true;
}

double StrToFloat(std::string_view s) {
    double value = 0;
    if (!TryStrToFloat(s, value))
        throw EConvertError(fmt::format("'{}' is not a valid floating point value", s));
    return value;
}

double StrToFloatDef(std::string_view s, double def) {
    double value = 0;
    return TryStrToFloat(s, value) ? value : def;
}

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    // "1e+20" reads "1E20", "1e-05" reads "1E-5".
    size_t e = text.find('e');
    if (e != std::string::npos) {
        std::string mantissa = text.substr(0, e);
        std::string_view exponent(text.data() + e + 1, text.size() - e - 1);
        bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+'))
            exponent.remove_prefix(1);
        while (exponent.size() > 1 && exponent[0] == '0') exponent.remove_prefix(1);
        text = mantissa + (negative ? "E-" : "E") + std::string(exponent);
    }
    return text;
}

int64_t Round(double value) {
    // Casting a value outside the 64-bit range is undefined; such input saturates instead.
    if (std::isnan(value)) return 0;
    if (value >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    double floor = std::floor(value);
    double fraction = value - floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) floor += 1;
    return static_cast<int64_t>(floor);
}

std::string Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

std::string TrimLeft(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

std::string LowerCase(std::string_view s) {
    std::string result(s);
    for (char& c : result) c = LowerChar(c);
    return result;
}

std::string UpperCase(std::string_view s) {
    std::string result(s);
    for (char& c : result) c = UpperChar(c);
    return result;
}

int CompareText(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(LowerChar(a[i]));
        auto cb = static_cast<unsigned char>(LowerChar(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string SysErrorMessage(int errorCode) {
    return std::generic_category().message(errorCode);
}

}  // namespace rtl
