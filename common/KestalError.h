// The one error type of the logic: its text is the message the user sees, exactly.
#pragma once

#include <stdexcept>
#include <string>

namespace kestal {

struct KestalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The messages raised by conversions and checked arithmetic.
namespace ErrorText {
inline constexpr const char* InvalidOperation = "Invalid floating point operation";
inline constexpr const char* DivisionByZero = "Floating point division by zero";
inline constexpr const char* Overflow = "Floating point overflow";
std::string NotAnInteger(const std::string& text);  // "'%s' is not a valid integer value"
std::string NotAFloat(const std::string& text);     // "'%s' is not a valid floating point value"
}  // namespace ErrorText

}  // namespace kestal
