// A typed parameter: its value with range, step and default. The driver
// makes them for int, bool, double and std::string; the dialog also knows
// unsigned and 64-bit ones.
#pragma once

#include "params/Param_.h"

#include <cstdint>
#include <string>

template <typename T>
class Param : public Param_ {
public:
    // Numbers: the value with its range and step (0 for none).
    Param(const std::string& category, const std::string& name, T value, T min, T max, T increment);
    // Booleans and texts: the range is [value..value] and there is no step.
    Param(const std::string& category, const std::string& name, T value);
    Param(const Param&) = default;

    void Assign(const Param_& other) override;
    void FromString(const char* text, bool clamp) override;
    // Doubles keep all their digits (precision 17); booleans are "1" or "0".
    const char* ToString() override;
    bool IsInRange() const override;
    void Print(std::ostream& out) const override;
    void PrintRange(std::ostream& out) const override;
    std::unique_ptr<Param_> Clone() const override;

    T mValue;
    T mMax;
    T mMin;
    T mDefault;
    T mIncrement;
    std::string mText;
};

extern template class Param<int>;
extern template class Param<unsigned>;
extern template class Param<std::int64_t>;
extern template class Param<bool>;
extern template class Param<double>;
extern template class Param<std::string>;
