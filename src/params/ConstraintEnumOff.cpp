#include "params/ConstraintEnumOff.h"

#include "diag/DriverContext.h"
#include "params/CameraParameters.h"
#include "params/ParamEnum.h"

#include <algorithm>

ConstraintEnumOff::ConstraintEnumOff(const std::string& paramName, const std::string& offValue)
    : mParamName(paramName), mOffValue(offValue)
{
}

ConstraintEnumOff::~ConstraintEnumOff() = default;

void ConstraintEnumOff::Reorder(std::vector<std::unique_ptr<Param_>>& params) const
{
    // The last parameter of the controlling name is the anchor; without one
    // the list stays as it is.
    const auto anchorFromEnd = std::find_if(params.rbegin(), params.rend(),
                                            [&](const auto& param) { return param->mName == mParamName; });
    if (anchorFromEnd == params.rend()) {
        return;
    }
    const Param_* anchor = anchorFromEnd->get();
    std::vector<std::unique_ptr<Param_>> kept;
    std::vector<std::unique_ptr<Param_>> held;
    kept.reserve(params.size());
    for (auto& param : params) {
        const bool dependent = param.get() != anchor && mDependents.count(param->mName) != 0;
        (dependent ? held : kept).push_back(std::move(param));
    }
    const auto position = std::find_if(kept.begin(), kept.end(), [&](const auto& param) { return param.get() == anchor; });
    kept.insert(position + 1, std::make_move_iterator(held.begin()), std::make_move_iterator(held.end()));
    params = std::move(kept);
}

void ConstraintEnumOff::Apply(CameraParameters& params) const
{
    auto* control = dynamic_cast<ParamEnum*>(params.GetParam(mParamName));
    if (control == nullptr) {
        Log(1, "ConstraintEnumOff::Apply: Parameter '%s' is not enumeration\n", mParamName.c_str());
        return;
    }
    const bool off = control->mValue == mOffValue;
    for (const std::string& name : mDependents) {
        params.GetParam(name)->mEnabled = !off;
    }
}

std::unique_ptr<Constraint> ConstraintEnumOff::Clone() const
{
    return std::make_unique<ConstraintEnumOff>(*this);
}
