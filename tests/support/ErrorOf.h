// Test helper: the message of the system's error that a call raises.
#pragma once

#include <string>

#include "common/KestalError.h"

using namespace kestal;

// The message of the KestalError the call throws, or "no error".
template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const KestalError& error) {
        return error.what();
    }
    return "no error";
}
