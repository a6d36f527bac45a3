#include "platform/win/x11_keymap.h"

#include "platform/win/types.h"

namespace win::x11 {

namespace {

struct TKeyName {
    std::uint32_t Sym;
    int Key;
};

// Symbols from X11/keysymdef.h.
constexpr TKeyName kKeys[] = {
    {0xff08, VK_BACK},      {0xff09, VK_TAB},        {0xfe20, VK_TAB},
    {0xff0d, VK_RETURN},    {0xff8d, VK_RETURN},     {0xff13, VK_PAUSE},
    {0xff1b, VK_ESCAPE},    {0xffff, VK_DELETE},     {0xff9f, VK_DELETE},
    {0xff50, VK_HOME},      {0xff95, VK_HOME},       {0xff51, VK_LEFT},
    {0xff96, VK_LEFT},      {0xff52, VK_UP},         {0xff97, VK_UP},
    {0xff53, VK_RIGHT},     {0xff98, VK_RIGHT},      {0xff54, VK_DOWN},
    {0xff99, VK_DOWN},      {0xff55, VK_PRIOR},      {0xff9a, VK_PRIOR},
    {0xff56, VK_NEXT},      {0xff9b, VK_NEXT},       {0xff57, VK_END},
    {0xff9c, VK_END},       {0xff63, VK_INSERT},     {0xff9e, VK_INSERT},
    {0xff67, VK_APPS},      {0xff7f, VK_NUMLOCK},    {0xff80, VK_SPACE},
    {0xffaa, VK_MULTIPLY},  {0xffab, VK_ADD},        {0xffad, VK_SUBTRACT},
    {0xffae, VK_DECIMAL},   {0xffaf, VK_DIVIDE},     {0xffe1, VK_SHIFT},
    {0xffe2, VK_SHIFT},     {0xffe3, VK_CONTROL},    {0xffe4, VK_CONTROL},
    {0xffe5, VK_CAPITAL},   {0xffe7, VK_MENU},       {0xffe8, VK_MENU},
    {0xffe9, VK_MENU},      {0xffea, VK_MENU},       {0xffeb, VK_LWIN},
    {0xffec, VK_LWIN},      {0x0020, VK_SPACE},      {0x003b, VK_OEM_1},
    {0x003a, VK_OEM_1},     {0x003d, VK_OEM_PLUS},   {0x002b, VK_OEM_PLUS},
    {0x002c, VK_OEM_COMMA}, {0x003c, VK_OEM_COMMA},  {0x002d, VK_OEM_MINUS},
    {0x005f, VK_OEM_MINUS}, {0x002e, VK_OEM_PERIOD}, {0x003e, VK_OEM_PERIOD},
    {0x002f, VK_OEM_2},     {0x003f, VK_OEM_2},      {0x0060, VK_OEM_3},
    {0x007e, VK_OEM_3},     {0x005b, VK_OEM_4},      {0x007b, VK_OEM_4},
    {0x005c, VK_OEM_5},     {0x007c, VK_OEM_5},      {0x005d, VK_OEM_6},
    {0x007d, VK_OEM_6},     {0x0027, VK_OEM_7},      {0x0022, VK_OEM_7},
};

constexpr std::uint32_t kKeypad0 = 0xffb0, kKeypad9 = 0xffb9;
constexpr std::uint32_t kF1 = 0xffbe, kF24 = 0xffd5;

}  // namespace

int VirtualKeyOf(std::uint32_t sym) {
    if (sym >= 'a' && sym <= 'z') return int(sym - 'a' + 'A');
    if ((sym >= 'A' && sym <= 'Z') || (sym >= '0' && sym <= '9')) return int(sym);
    if (sym >= kKeypad0 && sym <= kKeypad9) return VK_NUMPAD0 + int(sym - kKeypad0);
    if (sym >= kF1 && sym <= kF24) return VK_F1 + int(sym - kF1);
    for (const TKeyName& k : kKeys)
        if (k.Sym == sym) return k.Key;
    return 0;
}

bool IsKeypadSym(std::uint32_t sym) {
    return sym >= 0xff80 && sym <= 0xffbd;
}

std::uint32_t CharOf(std::uint32_t sym) {
    if ((sym >= 0x20 && sym <= 0x7e) || (sym >= 0xa0 && sym <= 0xff)) return sym;
    if (sym >= 0x01000100 && sym <= 0x0110ffff) return sym - 0x01000000;
    return 0;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::uint32_t SingleCodePoint(const std::string& text) {
    if (text.empty()) return 0;
    const auto b = static_cast<unsigned char>(text[0]);
    const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    if (text.size() != length) return 0;
    if (length == 1) return b;
    std::uint32_t cp = b & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) cp = cp << 6 | (text[i] & 0x3F);
    return cp;
}

}  // namespace win::x11
