#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include <fmt/format.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace rtl {

namespace {

struct TDirective {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool zero = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    char conversion = 0;
};

[[noreturn]] void RaiseBadFormat(std::string_view format) {
    throw EConvertError(fmt::format("Format '{}' invalid or incompatible with argument", format));
}

// Puts sign and prefix in front, then pads to the width: zeros go between prefix and digits.
std::string Pad(const TDirective& directive, std::string_view prefix, std::string digits,
                bool zeroAllowed) {
    size_t length = prefix.size() + digits.size();
    size_t width = directive.width > 0 ? static_cast<size_t>(directive.width) : 0;
    if (length >= width) return std::string(prefix) + digits;
    size_t fill = width - length;
    if (directive.left) return std::string(prefix) + digits + std::string(fill, ' ');
    if (directive.zero && zeroAllowed) return std::string(prefix) + std::string(fill, '0') + digits;
    return std::string(fill, ' ') + std::string(prefix) + digits;
}

std::string SignPrefix(const TDirective& directive, bool negative) {
    if (negative) return "-";
    if (directive.plus) return "+";
    if (directive.space) return " ";
    return "";
}

std::string FormatInteger(const TDirective& directive, const TFormatArg& arg) {
    bool isSigned = directive.conversion == 'd' || directive.conversion == 'i';
    bool negative = false;
    uint64_t magnitude = 0;
    if (isSigned && arg.Kind() == TFormatArg::TKind::Int && arg.AsInt() < 0) {
        negative = true;
        magnitude = 0u - static_cast<uint64_t>(arg.AsInt());
    } else {
        magnitude = arg.AsUInt();
    }
    int base = directive.conversion == 'o'                                    ? 8
               : (directive.conversion == 'x' || directive.conversion == 'X') ? 16
                                                                              : 10;
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
    std::string digits(buffer, end);
    if (directive.conversion == 'X')
        for (char& c : digits) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // The precision is the least number of digits; ".0" of zero prints nothing, as printf.
    if (directive.precision >= 0) {
        if (directive.precision == 0 && magnitude == 0) digits.clear();
        if (digits.size() < static_cast<size_t>(directive.precision))
            digits.insert(0, static_cast<size_t>(directive.precision) - digits.size(), '0');
    }
    std::string prefix = isSigned ? SignPrefix(directive, negative) : "";
    if (directive.alternate && magnitude != 0) {
        if (directive.conversion == 'x') prefix = "0x";
        if (directive.conversion == 'X') prefix = "0X";
        if (directive.conversion == 'o' && (digits.empty() || digits[0] != '0'))
            digits.insert(0, "0");
    }
    return Pad(directive, prefix, std::move(digits), directive.precision < 0);
}

std::string FormatReal(const TDirective& directive, double value) {
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(directive.conversion)));
    bool upper = directive.conversion != lower;
    bool negative = std::signbit(value);
    double magnitude = std::fabs(value);
    std::string digits;
    if (std::isnan(value) || std::isinf(value)) {
        digits = std::isnan(value) ? "nan" : "inf";
    } else {
        int precision = directive.precision < 0 ? 6 : directive.precision;
        std::chars_format kind = lower == 'f'   ? std::chars_format::fixed
                                 : lower == 'e' ? std::chars_format::scientific
                                                : std::chars_format::general;
        if (lower == 'g' && precision == 0) precision = 1;
        // Large fixed values need room: 309 integer digits plus the fraction.
        std::string buffer(330 + static_cast<size_t>(precision), '\0');
        auto [end, ec] =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, kind, precision);
        if (ec != std::errc()) return std::string();
        digits.assign(buffer.data(), end);
    }
    if (upper)
        for (char& c : digits) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool finite = std::isfinite(value);
    return Pad(directive, SignPrefix(directive, negative), std::move(digits), finite);
}

}  // namespace

std::string FormatArgs(std::string_view format, std::initializer_list<TFormatArg> args) {
    std::string out;
    auto next = args.begin();
    auto take = [&]() -> const TFormatArg& {
        if (next == args.end()) RaiseBadFormat(format);
        return *next++;
    };
    auto takeCount = [&]() {
        const TFormatArg& arg = take();
        if (arg.Kind() != TFormatArg::TKind::Int && arg.Kind() != TFormatArg::TKind::UInt)
            RaiseBadFormat(format);
        return static_cast<int>(arg.AsInt());
    };

    size_t i = 0;
    while (i < format.size()) {
        char c = format[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < format.size() && format[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        TDirective directive;
        for (; i < format.size(); ++i) {
            char flag = format[i];
            if (flag == '-')
                directive.left = true;
            else if (flag == '+')
                directive.plus = true;
            else if (flag == ' ')
                directive.space = true;
            else if (flag == '0')
                directive.zero = true;
            else if (flag == '#')
                directive.alternate = true;
            else
                break;
        }
        if (i < format.size() && format[i] == '*') {
            ++i;
            directive.width = takeCount();
            if (directive.width < 0) {
                directive.left = true;
                directive.width = -directive.width;
            }
        } else {
            while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
                directive.width = directive.width * 10 + (format[i++] - '0');
        }
        if (i < format.size() && format[i] == '.') {
            ++i;
            directive.precision = 0;
            if (i < format.size() && format[i] == '*') {
                ++i;
                directive.precision = takeCount();
            } else {
                while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
                    directive.precision = directive.precision * 10 + (format[i++] - '0');
            }
        }
        while (i < format.size() && std::strchr("hlqjztL", format[i]) != nullptr) ++i;
        if (i == format.size()) RaiseBadFormat(format);
        directive.conversion = format[i++];

        switch (directive.conversion) {
            case 'd':
            case 'i':
            case 'u':
            case 'x':
            case 'X':
            case 'o': {
                const TFormatArg& arg = take();
                if (arg.Kind() != TFormatArg::TKind::Int && arg.Kind() != TFormatArg::TKind::UInt)
                    RaiseBadFormat(format);
                out += FormatInteger(directive, arg);
                break;
            }
            case 'c': {
                const TFormatArg& arg = take();
                if (arg.Kind() != TFormatArg::TKind::Int && arg.Kind() != TFormatArg::TKind::UInt)
                    RaiseBadFormat(format);
                out += Pad(directive, "", std::string(1, static_cast<char>(arg.AsInt())), false);
                break;
            }
            case 'f':
            case 'F':
            case 'e':
            case 'E':
            case 'g':
            case 'G': {
                const TFormatArg& arg = take();
                if (arg.Kind() != TFormatArg::TKind::Float) RaiseBadFormat(format);
                out += FormatReal(directive, arg.AsFloat());
                break;
            }
            case 's': {
                const TFormatArg& arg = take();
                if (arg.Kind() != TFormatArg::TKind::Text) RaiseBadFormat(format);
                std::string_view text = arg.AsText();
                if (directive.precision >= 0 &&
                    text.size() > static_cast<size_t>(directive.precision))
                    text = text.substr(0, static_cast<size_t>(directive.precision));
                out += Pad(directive, "", std::string(text), false);
                break;
            }
            case 'p': {
                const TFormatArg& arg = take();
                if (arg.Kind() != TFormatArg::TKind::Pointer) RaiseBadFormat(format);
                std::string text =
                    arg.AsPointer()
                        ? fmt::format("0x{:x}", reinterpret_cast<uintptr_t>(arg.AsPointer()))
                        : "(nil)";
                out += Pad(directive, "", std::move(text), false);
                break;
            }
            default:
                RaiseBadFormat(format);
        }
    }
    return out;
}

}  // namespace rtl
