// Text and number helpers with the classic run-time rules: integers in decimal or "$"/"0x" hex,
// reals with "." whatever the locale, ASCII-only case folding, printf-style formatting with
// typed arguments, rounding half to even. Pure functions, safe on any thread.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace rtl {

// --- integers and reals ---

// Decimal with an optional sign, or hex after "$", "0x" or "0X"; no blanks. Hex may use the
// full unsigned width and wraps ("$FFFFFFFF" is -1), as colour values rely on.
bool TryStrToInt(std::string_view s, int32_t& value);
bool TryStrToInt64(std::string_view s, int64_t& value);
// Raise EConvertError "'<s>' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);

std::string IntToStr(int64_t value);
// Upper-case hex, at least `digits` digits; negative values show their 64-bit pattern.
std::string IntToHex(int64_t value, int digits);

// Optional sign, digits with an optional ".", optional exponent; no blanks, no "inf"/"nan".
bool TryStrToFloat(std::string_view s, double& value);
// Raises EConvertError "'<s>' is not a valid floating point value".
double StrToFloat(std::string_view s);
double StrToFloatDef(std::string_view s, double def);
// Up to 15 significant digits, "." as separator, "E" exponent only for very large or small.
std::string FloatToStr(double value);

// Nearest integer; exact halves go to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// NaN gives 0; values beyond the 64-bit range give its nearest end.
int64_t Round(double value);

// --- text ---

// Blanks are every character up to and including the space (tabs, line breaks, controls).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// Only A-Z and a-z change; UTF-8 sequences pass through untouched.
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
// ASCII case-insensitive comparison: <0, 0, >0.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);

// --- system errors ---

// The system's text for an error number ("No such file or directory" for ENOENT).
std::string SysErrorMessage(int errorCode);

// --- formatting ---

// One argument of Format, kept with its kind so "%d" of a 64-bit value or "%s" of a
// std::string is never undefined behaviour.
class TFormatArg {
public:
    enum class TKind { Int, UInt, Float, Text, Pointer };

    template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && std::is_signed_v<T>)
        TFormatArg(T v)
        : FKind(TKind::Int), FInt(v) {}
    template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && std::is_unsigned_v<T>)
        TFormatArg(T v)
        : FKind(TKind::UInt), FUInt(v) {}
    TFormatArg(bool v) : FKind(TKind::Int), FInt(v ? 1 : 0) {}
    TFormatArg(double v) : FKind(TKind::Float), FFloat(v) {}
    TFormatArg(float v) : FKind(TKind::Float), FFloat(v) {}
    TFormatArg(const char* v) : FKind(TKind::Text), FText(v ? v : "") {}
    TFormatArg(std::string_view v) : FKind(TKind::Text), FText(v) {}
    TFormatArg(const std::string& v) : FKind(TKind::Text), FText(v) {}
    TFormatArg(const void* v) : FKind(TKind::Pointer), FPointer(v) {}

    TKind Kind() const { return FKind; }
    int64_t AsInt() const { return FKind == TKind::UInt ? static_cast<int64_t>(FUInt) : FInt; }
    uint64_t AsUInt() const { return FKind == TKind::Int ? static_cast<uint64_t>(FInt) : FUInt; }
    double AsFloat() const { return FFloat; }
    std::string_view AsText() const { return FText; }
    const void* AsPointer() const { return FPointer; }

private:
    TKind FKind;
    int64_t FInt = 0;
    uint64_t FUInt = 0;
    double FFloat = 0;
    std::string_view FText;
    const void* FPointer = nullptr;
};

// printf syntax: %[flags -+ 0#][width|*][.precision|*][length]conversion with d i u x X o c s
// p f F e E g G %. Length modifiers (l, ll, h, z, j, t, L) are accepted and ignored because the
// argument carries its own width. "%.2d" gives at least two digits. Reals always use ".".
// A conversion that does not fit its argument, or a missing argument, raises EConvertError
// "Format '<format>' invalid or incompatible with argument".
std::string FormatArgs(std::string_view format, std::initializer_list<TFormatArg> args);

template <class... TArgs>
std::string Format(std::string_view format, const TArgs&... args) {
    return FormatArgs(format, {TFormatArg(args)...});
}

}  // namespace rtl
