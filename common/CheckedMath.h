// Extended-precision arithmetic that raises the system's floating-point messages instead of
// producing infinities or NaNs silently.
#pragma once

#include <limits>

namespace kestal {

static_assert(std::numeric_limits<long double>::digits == 64,
              "extended precision must be the x87 80-bit format with a 64-bit significand");

// Rounds to single (nearest, ties to even). A NaN raises "Invalid floating point operation",
// a finite value too large for single raises "Floating point overflow".
float ToSingle(long double value);

// a / b: 0/0 raises "Invalid floating point operation", x/0 "Floating point division by zero".
long double CheckedDivide(long double a, long double b);

// Square root; a negative argument raises "Invalid floating point operation".
long double CheckedSqrt(long double value);

}  // namespace kestal
