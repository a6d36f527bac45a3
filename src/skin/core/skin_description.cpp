#include "skin/core/skin_description.h"

#include "platform/rtl/sysutils.h"

namespace skin {

namespace {

// Field `index` of a comma-separated value, "" past the last one.
std::string_view Field(std::string_view text, int index) {
    for (int i = 0; i < index; ++i) {
        std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) return {};
        text.remove_prefix(comma + 1);
    }
    return text.substr(0, text.find(','));
}

// Blanks, letters and signs inside a field are dropped; a leading "-" keeps the number negative,
// so a coordinate the writer wrote as -10 reads back as -10.
int FieldValue(std::string_view field) {
    std::string digits;
    std::size_t first = 0;
    while (first < field.size() && static_cast<unsigned char>(field[first]) <= ' ') ++first;
    if (first < field.size() && field[first] == '-') digits = "-";
    bool any = false;
    for (char c : field) {
        if (c < '0' || c > '9') continue;
        digits += c;
        any = true;
    }
    // StrToInt raises the conversion error that names the empty field.
    return rtl::StrToInt(any ? std::string_view(digits) : std::string_view());
}

constexpr std::array<std::pair<std::string_view, gfx::TFontStyle>, 4> kFontStyleWords = {{
    {"fsbold", gfx::fsBold},
    {"fsitalic", gfx::fsItalic},
    {"fsunderline", gfx::fsUnderline},
    {"fsstrikeout", gfx::fsStrikeOut},
}};

}  // namespace

TRect ParseRect(std::string_view text) {
    TRect r;
    r.Left = FieldValue(Field(text, 0));
    r.Top = FieldValue(Field(text, 1));
    r.Right = FieldValue(Field(text, 2));
    r.Bottom = FieldValue(Field(text, 3));
    return r;
}

TPoint ParsePoint(std::string_view text) {
    TPoint p;
    p.X = FieldValue(Field(text, 0));
    p.Y = FieldValue(Field(text, 1));
    return p;
}

std::string FormatRect(const TRect& r) {
    return rtl::Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom);
}

std::string FormatPoint(const TPoint& p) {
    return rtl::Format("%d,%d", p.X, p.Y);
}

TFontStyles ParseFontStyles(std::string_view text) {
    TFontStyles styles = 0;
    for (const auto& [word, style] : kFontStyleWords)
        if (text.find(word) != std::string_view::npos) styles |= style;
    return styles;
}

std::string FormatFontStyles(TFontStyles styles) {
    std::string text;
    for (const auto& [word, style] : kFontStyleWords) {
        if ((styles & style) == 0) continue;
        if (!text.empty()) text += ',';
        text += word;
    }
    return text;
}

void ForEachListItem(const rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                     const std::function<void(const std::string&)>& visit) {
    const int count = ini.ReadInteger(section, std::string(key) + "count", 0);
    for (int i = 0; i < count; ++i) visit(ini.ReadString(section, rtl::IntToStr(i), ""));
}

void ReadStringList(const rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                    rtl::TStrings& target) {
    ForEachListItem(ini, section, key, [&](const std::string& item) { target.Add(item); });
}

void WriteStringList(rtl::TCustomIniFile& ini, std::string_view section, std::string_view key,
                     const rtl::TStrings& list) {
    ini.WriteInteger(section, std::string(key) + "count", list.Count());
    for (int i = 0; i < list.Count(); ++i) ini.WriteString(section, rtl::IntToStr(i), list.Get(i));
}

namespace value {

IntCodec::Type IntCodec::Parse(const std::string& text, Type def) {
    return rtl::StrToIntDef(text, def);
}

std::string IntCodec::Format(Type value) {
    return rtl::IntToStr(value);
}

// The INI class's own boolean takes any non-zero number as True; a description means exactly 1.
BoolCodec::Type BoolCodec::Parse(const std::string& text, Type def) {
    return rtl::StrToIntDef(text, def ? 1 : 0) == 1;
}

std::string BoolCodec::Format(Type value) {
    return value ? "1" : "0";
}

}  // namespace value

}  // namespace skin
