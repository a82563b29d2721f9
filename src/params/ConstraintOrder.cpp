#include "params/ConstraintOrder.h"

void ConstraintOrder::Apply(CameraParameters&) const {}

std::unique_ptr<Constraint> ConstraintOrder::Clone() const
{
    return std::make_unique<ConstraintOrder>(*this);
}
