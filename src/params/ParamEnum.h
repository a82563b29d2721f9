// An enumeration parameter: the value is the symbolic name of the current
// entry; the entries keep their full 64-bit values.
#pragma once

#include "params/Param.h"

#include <cstdint>
#include <string>
#include <vector>

class ParamEnum : public Param<std::string> {
public:
    ParamEnum(const std::string& category, const std::string& name, const std::string& value);
    ParamEnum(const ParamEnum&) = default;
    ~ParamEnum() override;

    // True when the value names one of the entries (exactly).
    bool IsInRange() const override;
    // Copies the entries too.
    std::unique_ptr<Param_> Clone() const override;

    // A null or empty name is ignored; the first entry becomes the value.
    void AddEntry(const char* name, std::int64_t value);
    // The value of the first entry of that name; 0 when there is none.
    std::int64_t GetIntValue(const char* name) const;
    // The value of the current entry.
    std::int64_t GetIntValue() const;
    // The first entry with that value becomes current; none changes nothing.
    void SetIntValue(std::int64_t value);
    // The smallest and largest entry values; 0 without entries.
    std::int64_t GetMinValue() const;
    std::int64_t GetMaxValue() const;

    std::vector<std::string> mEntryNames;
    std::vector<std::int64_t> mEntryValues;
};
