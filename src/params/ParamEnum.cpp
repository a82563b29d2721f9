#include "params/ParamEnum.h"

#include <algorithm>

ParamEnum::ParamEnum(const std::string& category, const std::string& name, const std::string& value)
    : Param<std::string>(category, name, value)
{
}

ParamEnum::~ParamEnum() = default;

bool ParamEnum::IsInRange() const
{
    return std::find(mEntryNames.begin(), mEntryNames.end(), mValue) != mEntryNames.end();
}

std::unique_ptr<Param_> ParamEnum::Clone() const
{
    return std::make_unique<ParamEnum>(*this);
}

void ParamEnum::AddEntry(const char* name, std::int64_t value)
{
    if (name == nullptr || *name == '\0') {
        return;
    }
    mEntryNames.emplace_back(name);
    mEntryValues.push_back(value);
    if (mEntryNames.size() == 1) {
        mValue = name;
    }
}

std::int64_t ParamEnum::GetIntValue(const char* name) const
{
    if (name == nullptr || *name == '\0') {
        return 0;
    }
    const auto found = std::find(mEntryNames.begin(), mEntryNames.end(), name);
    return found == mEntryNames.end() ? 0 : mEntryValues[static_cast<std::size_t>(found - mEntryNames.begin())];
}

std::int64_t ParamEnum::GetIntValue() const
{
    return GetIntValue(mValue.c_str());
}

void ParamEnum::SetIntValue(std::int64_t value)
{
    const auto found = std::find(mEntryValues.begin(), mEntryValues.end(), value);
    if (found != mEntryValues.end()) {
        mValue = mEntryNames[static_cast<std::size_t>(found - mEntryValues.begin())];
    }
}

std::int64_t ParamEnum::GetMinValue() const
{
    return mEntryValues.empty() ? 0 : *std::min_element(mEntryValues.begin(), mEntryValues.end());
}

std::int64_t ParamEnum::GetMaxValue() const
{
    return mEntryValues.empty() ? 0 : *std::max_element(mEntryValues.begin(), mEntryValues.end());
}
