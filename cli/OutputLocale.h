// The number conventions of kestal-sim's output: the user's locale for tables, "." for machine formats.
#pragma once

#include <string>

#include "common/NumberLocale.h"

namespace kestal {

// The conventions numbers are written in for an output format: "." as the decimal separator for
// machine-readable formats; for "table" the decimal and group separators of the user's locale
// (LC_ALL, LC_NUMERIC, LANG): what the C library knows of it where it is installed ("C" and
// "C.UTF-8" alike: "." and no grouping), otherwise Russian or English conventions by its name.
NumberLocale OutputNumberLocale(const std::string& format);

}  // namespace kestal
