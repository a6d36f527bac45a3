// Key symbols of X to the model's virtual keys and to characters, and the bits of UTF-8 the x11
// backend needs (private to it).
#pragma once

#include <cstdint>
#include <string>

namespace win::x11 {

// The virtual key of a key symbol, 0 for none. Letters map case-insensitively.
int VirtualKeyOf(std::uint32_t keysym);
bool IsKeypadSym(std::uint32_t keysym);
// The character a key symbol stands for (Latin-1 and the Unicode range), 0 for none; used when
// no input method is at hand.
std::uint32_t CharOf(std::uint32_t keysym);

void AppendUtf8(std::string& out, std::uint32_t codePoint);
// The one code point of `text`, 0 when it holds several or none.
std::uint32_t SingleCodePoint(const std::string& text);

}  // namespace win::x11
