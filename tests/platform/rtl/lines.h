// The lines of a string list as a vector, so tests can compare them in one expectation.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/strings.h"

namespace rtl::test {

inline std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

}  // namespace rtl::test
