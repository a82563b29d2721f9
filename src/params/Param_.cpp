#include "params/Param_.h"

#include <boost/format.hpp>

#include <stdexcept>

Param_::Param_(const std::string& category, const std::string& name, bool enabled)
    : mName(name), mCategory(category), mEnabled(enabled)
{
}

Param_::~Param_() = default;

void Param_::Assign(const Param_& other)
{
    mCategory = other.mCategory;
    mName = other.mName;
    mEnabled = other.mEnabled;
    mGeneral = other.mGeneral;
    mPersistent = other.mPersistent;
    mVisible = other.mVisible;
    mDescription = other.mDescription;
    if (&other != this) {
        mOptions = other.mOptions;
    }
}

bool Param_::HasOption(const std::string& name) const
{
    return mOptions.find(name) != mOptions.end();
}

const boost::any& Param_::Option(const std::string& name) const
{
    const auto found = mOptions.find(name);
    if (found == mOptions.end()) {
        throw std::out_of_range((boost::format("Parameter %s does not have option %s") % mName % name).str());
    }
    return found->second;
}

template <>
int Param_::GetOption<int>(const std::string& name) const
{
    return boost::any_cast<int>(Option(name));
}

template <>
std::string Param_::GetOption<std::string>(const std::string& name) const
{
    return boost::any_cast<std::string>(Option(name));
}
