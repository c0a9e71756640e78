// Sums and products of independent small values: every pair of values, its mass the product.
#include "analysis/ValueMasses.h"

#include <cassert>

namespace kestal {

namespace {

template <class Join>
ValueMasses Combine(const ValueMasses& a, const ValueMasses& b, Join join)
{
    ValueMasses c;
    c.largest = join(a.largest, b.largest);
    assert(c.largest <= LargestValue);
    for (int i = 0; i <= a.largest; ++i) {
        if (a.mass[i] == 0.0L) continue;
        for (int j = 0; j <= b.largest; ++j) {
            c.mass[join(i, j)] += a.mass[i] * b.mass[j];
        }
    }
    return c;
}

}  // namespace

ValueMasses operator+(const ValueMasses& a, const ValueMasses& b)
{
    return Combine(a, b, [](int i, int j) { return i + j; });
}

ValueMasses operator*(const ValueMasses& a, const ValueMasses& b)
{
    return Combine(a, b, [](int i, int j) { return i * j; });
}

}  // namespace kestal
