// Exceptions with a message text, the one error type the platform and the program raise.
#pragma once

#include <stdexcept>
#include <string>

namespace rtl {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

}  // namespace rtl
