// Exceptions with a message text, the one error type the platform and the program raise.
// The subclasses name the run-time library's error families so callers can catch one of them.
#pragma once

#include <stdexcept>
#include <string>

namespace rtl {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not a number, a bad format string, an invalid date.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list, a string list or a collection.
class EListError : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A failed file-system call (a folder that cannot be made current, a folder that cannot be read);
// the message is the system's text for the failure, ErrorCode the system's number.
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, const std::string& message)
        : Exception(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

// A file mask that cannot be read ("'<mask>' is not a valid mask").
class EMaskException : public Exception {
public:
    using Exception::Exception;
};

// A refused write to an INI file.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

}  // namespace rtl
