#pragma once
// The root of the program's exception classes. Every failure carries a text
// that the default error report shows to the user as it stands.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};
