// Only the writing order: the dependents follow the controlling parameter
// (an image offset is written before the size it limits).
#pragma once

#include "params/ConstraintEnumOff.h"

class ConstraintOrder : public ConstraintEnumOff {
public:
    using ConstraintEnumOff::ConstraintEnumOff;

    void Apply(CameraParameters& params) const override;
    std::unique_ptr<Constraint> Clone() const override;
};
