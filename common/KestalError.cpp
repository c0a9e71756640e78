// The texts of the conversion errors.
#include "common/KestalError.h"

namespace kestal {

namespace ErrorText {

std::string NotAnInteger(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

std::string NotAFloat(const std::string& text) { return "'" + text + "' is not a valid floating point value"; }

}  // namespace ErrorText

}  // namespace kestal
