// File-name masks: "*" any run of characters, "?" one character, "[...]" one character of a set
// ("a-c" ranges, a leading "!" for the complement). ASCII letters match without regard to case,
// every other character exactly; characters are UTF-8 code points. "*.*" matches every name, a
// name without a dot included. Pure functions, safe on any thread.
#pragma once

#include <string_view>

namespace rtl {

// True when the whole of `name` matches `mask`. Raises EMaskException
// "'<mask>' is not a valid mask" for a "[" without its "]", whatever the name.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace rtl
