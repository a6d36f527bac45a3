// The skin description's value syntax: the enumerations a description names by word, and one
// reader and writer per value type (integer, colour, text, boolean, rect, point, font styles,
// the enumeration words) over an INI object. The record tables (skin_record_keys.h) name these
// types; everything that reads or writes a description goes through them.
//
// Readers never fail on a missing key: the default applies. A rect or point field without a
// digit raises rtl::EConvertError "'' is not a valid integer value". Pure functions; main thread
// only because the INI objects are.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/gfx/types.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"

namespace skin {

using gfx::TColor;
using gfx::TFontStyles;
using gfx::TPoint;
using gfx::TRect;

enum TbsStretchType { bsstFull, bsstHorz, bsstVert };
enum TbsInActiveEffect { ieBrightness, ieDarkness, ieGrayScale, ieNoise, ieSplitBlur, ieInvert };
enum TbsMorphKind {
    mkDefault,
    mkGradient,
    mkLeftGradient,
    mkRightGradient,
    mkLeftSlide,
    mkRightSlide,
    mkPush
};
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TbsStdCommand {
    cmClose,
    cmMaximize,
    cmMinimize,
    cmSysMenu,
    cmDefault,
    cmRollUp,
    cmMinimizeToTray
};
// Shared by the controls; a description never names it.
enum TbsButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// "1,2,3,4" and "5,6". Only digits count in a field, and a field whose first non-blank character
// is "-" is negative; fields past the fourth (second) are ignored.
TRect ParseRect(std::string_view text);
TPoint ParsePoint(std::string_view text);
std::string FormatRect(const TRect& r);
std::string FormatPoint(const TPoint& p);

// "fsbold,fsitalic,fsunderline,fsstrikeout": each word found anywhere in the text sets its style.
TFontStyles ParseFontStyles(std::string_view text);
std::string FormatFontStyles(TFontStyles styles);

// A list as key + "count" and the keys "0" to count - 1 of the same section (a missing item is
// empty). ForEachListItem hands the items over one by one; ReadStringList appends them.
void ForEachListItem(const rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                     const std::function<void(const std::string&)>& visit);
void ReadStringList(const rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                    rtl::TStrings& target);
void WriteStringList(rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                     const rtl::TStrings& list);

// The value types the record tables name: each turns its field to text and back. Parse also
// gets the field's default, which a malformed integer falls back to. Value<> reads a key (a
// missing key reads the default) and writes one, the same way for every type.
namespace value {

template <class TCodec>
struct Value {
    using Type = typename TCodec::Type;
    static Type Read(const rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                     const Type& def) {
        return TCodec::Parse(ini.ReadString(section, key, TCodec::Format(def)), def);
    }
    static void Write(rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                      const Type& value) {
        ini.WriteString(section, key, TCodec::Format(value));
    }
};

// Decimal, or hex after "$" or "0x", as the INI reader's integers.
struct IntCodec {
    using Type = int;
    static Type Parse(const std::string& text, Type def);
    static std::string Format(Type value);
};

// 1 or 0; exactly 1 is True, any other number, or no number, is False.
struct BoolCodec {
    using Type = bool;
    static Type Parse(const std::string& text, Type def);
    static std::string Format(Type value);
};

struct TextCodec {
    using Type = std::string;
    static Type Parse(const std::string& text, const Type&) { return text; }
    static std::string Format(const Type& value) { return value; }
};

struct RectCodec {
    using Type = TRect;
    static Type Parse(const std::string& text, const Type&) { return ParseRect(text); }
    static std::string Format(const Type& value) { return FormatRect(value); }
};

struct PointCodec {
    using Type = TPoint;
    static Type Parse(const std::string& text, const Type&) { return ParsePoint(text); }
    static std::string Format(const Type& value) { return FormatPoint(value); }
};

struct FontStylesCodec {
    using Type = TFontStyles;
    static Type Parse(const std::string& text, Type) { return ParseFontStyles(text); }
    static std::string Format(Type value) { return FormatFontStyles(value); }
};

// An enumeration written as the word of its member (words in member order, compared exactly);
// any text that is not one of the words reads kOther.
template <class E, const auto& kWords, E kOther>
struct WordsCodec {
    using Type = E;
    static Type Parse(const std::string& text, Type) {
        for (std::size_t i = 0; i < kWords.size(); ++i)
            if (text == kWords[i]) return static_cast<E>(i);
        return kOther;
    }
    static std::string Format(Type value) { return std::string(kWords[value]); }
};

inline constexpr std::array<std::string_view, 3> kStretchWords = {"stfull", "sthorz", "stvert"};
inline constexpr std::array<std::string_view, 6> kInActiveEffectWords = {
    "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
inline constexpr std::array<std::string_view, 7> kMorphWords = {
    "mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
    "mkleftslide", "mkrightslide", "mkpush"};
inline constexpr std::array<std::string_view, 3> kAlignmentWords = {"taleftjustify",
                                                                    "tarightjustify", "tacenter"};
inline constexpr std::array<std::string_view, 7> kCommandWords = {
    "cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
    "cmdefault", "cmrollup",   "cmminimizetotray"};

// The names the record tables use.
using Int = Value<IntCodec>;
// 0x00BBGGRR, written as a decimal integer.
struct Colour : Value<IntCodec> {};
using Text = Value<TextCodec>;
using Bool = Value<BoolCodec>;
using Rect = Value<RectCodec>;
using Point = Value<PointCodec>;
using FontStyles = Value<FontStylesCodec>;
using Stretch = Value<WordsCodec<TbsStretchType, kStretchWords, bsstHorz>>;
using Effect = Value<WordsCodec<TbsInActiveEffect, kInActiveEffectWords, ieGrayScale>>;
using Morph = Value<WordsCodec<TbsMorphKind, kMorphWords, mkDefault>>;
using Align = Value<WordsCodec<TAlignment, kAlignmentWords, taRightJustify>>;
using Command = Value<WordsCodec<TbsStdCommand, kCommandWords, cmMinimizeToTray>>;

}  // namespace value

// Expanders for the key tables: X(type, field, key, default) rows become declarations, reads
// from `ini` into the fields of the current object under `section`, and writes.
#define MORADEX_SKIN_DECLARE(type, field, key, def) ::skin::value::type::Type field = def;
#define MORADEX_SKIN_READ(type, field, key, def) \
    field = ::skin::value::type::Read(ini, section, key, def);
#define MORADEX_SKIN_WRITE(type, field, key, def) \
    ::skin::value::type::Write(ini, section, key, field);

}  // namespace skin
