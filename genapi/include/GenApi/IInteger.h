// IInteger: a signed 64-bit value with its range and increment.
#ifndef GENAPI_IINTEGER_H
#define GENAPI_IINTEGER_H

#include <GenApi/IValue.h>

namespace GenApi {

struct IInteger : virtual IValue {
    virtual void SetValue(int64_t Value, bool Verify = true) = 0;
    virtual int64_t GetValue(bool Verify = false, bool IgnoreCache = false) = 0;
    virtual int64_t GetMin() = 0;
    virtual int64_t GetMax() = 0;
    virtual int64_t GetInc() = 0;
    virtual ERepresentation GetRepresentation() = 0;
    virtual gcstring GetUnit() const = 0;

    IInteger& operator=(int64_t Value)
    {
        SetValue(Value);
        return *this;
    }
    int64_t operator()() { return GetValue(); }
    int64_t operator*() { return GetValue(); }
};

} // namespace GenApi

#endif
