// The dependents of an enumeration are switched off while it holds one
// entry ("Off", "Auto", ...) and on otherwise.
#pragma once

#include "params/Constraint.h"

#include <set>
#include <string>

class ConstraintEnumOff : public Constraint {
public:
    ConstraintEnumOff(const std::string& paramName, const std::string& offValue);
    ConstraintEnumOff(const ConstraintEnumOff&) = default;
    ~ConstraintEnumOff() override;

    void Reorder(std::vector<std::unique_ptr<Param_>>& params) const override;
    // A missing controlling or dependent parameter raises the set's
    // std::runtime_error; a controlling parameter that is no enumeration is
    // logged and changes nothing.
    void Apply(CameraParameters& params) const override;
    std::unique_ptr<Constraint> Clone() const override;

    std::string mParamName;
    std::string mOffValue;
    std::set<std::string> mDependents;
};
