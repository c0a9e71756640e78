// Extended arithmetic that raises the floating-point messages instead of yielding NaN or infinity.
#include "common/CheckedMath.h"

#include <cmath>

#include "common/KestalError.h"

namespace kestal {

float ToSingle(long double value)
{
    if (std::isnan(value)) throw KestalError(ErrorText::InvalidOperation);
    // One rounding from the 64-bit significand to 24 bits: values up to half an ulp above the
    // largest single still round to it; anything larger becomes infinity, which is the overflow.
    const float single = static_cast<float>(value);
    if (std::isinf(single)) throw KestalError(ErrorText::Overflow);
    return single;
}

long double CheckedDivide(long double a, long double b)
{
    if (std::isnan(a) || std::isnan(b)) throw KestalError(ErrorText::InvalidOperation);
    if (b == 0.0L) throw KestalError(a == 0.0L ? ErrorText::InvalidOperation : ErrorText::DivisionByZero);
    if (std::isinf(a) && std::isinf(b)) throw KestalError(ErrorText::InvalidOperation);
    const long double quotient = a / b;
    if (std::isinf(quotient)) throw KestalError(ErrorText::Overflow);
    return quotient;
}

long double CheckedSqrt(long double value)
{
    if (std::isnan(value) || value < 0.0L) throw KestalError(ErrorText::InvalidOperation);
    return std::sqrt(value);
}

}  // namespace kestal
