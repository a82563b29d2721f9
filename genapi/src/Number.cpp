#include "Number.h"

#include <cmath>

#include <GenICam/GCException.h>

namespace GenApi {
namespace Detail {

bool RoundToInt64(double value, int64_t& result)
{
    if (!std::isfinite(value)) {
        return false;
    }
    const double rounded = std::round(value);
    // 2^63 is exactly representable; every double below it in magnitude fits.
    if (rounded >= 9223372036854775808.0 || rounded < -9223372036854775808.0) {
        return false;
    }
    result = static_cast<int64_t>(rounded);
    return true;
}

int64_t ToInt64(const Number& number, const char* what)
{
    if (!number.mIsFloat) {
        return number.mInt;
    }
    int64_t result = 0;
    if (!RoundToInt64(number.mFloat, result)) {
        throw RUNTIME_EXCEPTION("%s: %g is no 64-bit integer", what, number.mFloat);
    }
    return result;
}

} // namespace Detail
} // namespace GenApi
