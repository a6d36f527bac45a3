// The process environment. Calls are serialised among themselves; a library that reads the
// environment on another thread at the same time is not covered.
#pragma once

#include <string>

namespace sys {

// Empty when unset.
std::string GetEnv(const std::string& name);
// True when set, also when set to an empty value.
bool HasEnv(const std::string& name);
// False when the name is empty or holds "=".
bool SetEnv(const std::string& name, const std::string& value);
bool UnsetEnv(const std::string& name);

}  // namespace sys
