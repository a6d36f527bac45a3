#include "platform/sys/env.h"

#include <cstdlib>
#include <mutex>

namespace sys {

namespace {

std::mutex gEnvLock;

bool ValidName(const std::string& name) {
    return !name.empty() && name.find('=') == std::string::npos;
}

}  // namespace

std::string GetEnv(const std::string& name) {
    std::lock_guard lock(gEnvLock);
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

bool HasEnv(const std::string& name) {
    std::lock_guard lock(gEnvLock);
    return std::getenv(name.c_str()) != nullptr;
}

bool SetEnv(const std::string& name, const std::string& value) {
    if (!ValidName(name)) return false;
    std::lock_guard lock(gEnvLock);
    return setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool UnsetEnv(const std::string& name) {
    if (!ValidName(name)) return false;
    std::lock_guard lock(gEnvLock);
    return unsetenv(name.c_str()) == 0;
}

}  // namespace sys
