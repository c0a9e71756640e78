// What an open register holds: its location, why it is read-only (if it is), its clock and connection.
#pragma once

#include <string>

#include "register/Connection.h"
#include "register/Register.h"

namespace kestal {

struct Register::Impl {
    Impl(const RegisterLocation& where, std::string readOnly, const Clock& clockUsed)
        : location(where.display),
          readOnlyReason(std::move(readOnly)),
          clock(clockUsed),
          connection(where, !readOnlyReason.empty())
    {}
    std::string location;
    std::string readOnlyReason;
    const Clock& clock;
    Connection connection;
};

}  // namespace kestal
