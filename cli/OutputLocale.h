// The number conventions of kestal-sim's output: the user's locale for tables, "." for machine formats.
#pragma once

#include <string>

#include "common/NumberLocale.h"

// The decimal and group separators of the user's locale (LC_ALL, LC_NUMERIC, LANG), for table
// output: what the C library knows of it where it is installed ("C" and "C.UTF-8" alike: "." and
// no grouping), otherwise Russian or English conventions by the language of its name.
NumberLocale UserNumberLocale();

// The conventions numbers are written in for an output format: the user's for "table", "." as the
// decimal separator for machine-readable formats.
NumberLocale OutputNumberLocale(const std::string& format);
