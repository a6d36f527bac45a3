// Key symbols of X to the model's virtual keys and to characters (private to the x11 backend).
#pragma once

#include <cstdint>

namespace win::x11 {

// The virtual key of a key symbol, 0 for none. Letters map case-insensitively.
int VirtualKeyOf(std::uint32_t keysym);
bool IsKeypadSym(std::uint32_t keysym);
// The character a key symbol stands for (Latin-1 and the Unicode range), 0 for none; used when
// no input method is at hand.
std::uint32_t CharOf(std::uint32_t keysym);

}  // namespace win::x11
