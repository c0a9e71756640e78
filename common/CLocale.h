// The C library's "C" locale, for number conversions that must not follow the process locale.
#pragma once

#include <locale.h>

namespace kestal {

// Created once; valid for the life of the process.
locale_t NeutralCLocale();

}  // namespace kestal
