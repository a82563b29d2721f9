// A number as the node map passes it between nodes and formulas: a signed
// 64-bit integer or a double, keeping which one it is.
#ifndef GENAPI_DETAIL_NUMBER_H
#define GENAPI_DETAIL_NUMBER_H

#include <cstdint>

namespace GenApi {
namespace Detail {

struct Number {
    // Only the member mIsFloat names is read; the union keeps nodes small.
    union {
        int64_t mInt = 0;
        double mFloat;
    };
    bool mIsFloat = false;

    static Number Int(int64_t value)
    {
        Number number;
        number.mInt = value;
        return number;
    }
    static Number Float(double value)
    {
        Number number;
        number.mIsFloat = true;
        number.mFloat = value;
        return number;
    }
    double AsFloat() const { return mIsFloat ? mFloat : static_cast<double>(mInt); }
    bool IsZero() const { return mIsFloat ? mFloat == 0.0 : mInt == 0; }
};

// A double rounded to the nearest integer (halves away from zero); false when
// it is not a number or lies outside the 64-bit range.
bool RoundToInt64(double value, int64_t& result);

// The number as an integer, rounded when it is a double; raises a
// RuntimeException naming `what` when it cannot be one.
int64_t ToInt64(const Number& number, const char* what);

} // namespace Detail
} // namespace GenApi

#endif
