// The dependencies between the features of this camera family.
#include "params/ConstraintOrder.h"
#include "params/NodeMapParams.h"

#include <initializer_list>

namespace NodeMapParams {

namespace {

// A rule whose controlling parameter exists, with those of its dependents
// that exist; unless empty dependents are allowed, a rule needs one.
template <typename Kind>
void AddRule(CameraParameters& params, const char* control, const char* value,
             std::initializer_list<const char*> dependents, bool withoutDependents = false)
{
    if (!params.HasParam(control)) {
        return;
    }
    auto constraint = std::make_unique<Kind>(control, value);
    for (const char* name : dependents) {
        if (params.HasParam(name)) {
            constraint->mDependents.insert(name);
        }
    }
    if (withoutDependents || !constraint->mDependents.empty()) {
        params.AddConstraint(std::move(constraint));
    }
}

}

void AddConstraints(CameraParameters& params)
{
    // Offsets go to the camera before the sizes they limit.
    AddRule<ConstraintOrder>(params, "OffsetY", "not-used", {"Height"});
    AddRule<ConstraintOrder>(params, "OffsetX", "not-used", {"Width"});
    // An automatic setting makes its manual value meaningless.
    AddRule<ConstraintEnumOff>(params, "AutoFrameRate", "Auto", {"FrameRate"});
    AddRule<ConstraintEnumOff>(params, "AcquisitionFrameRateAuto", "On", {"AcquisitionFrameRateAbs"});
    AddRule<ConstraintEnumOff>(params, "GainAuto", "Continuous", {"GainAbs"});
    // With triggering off, the trigger settings mean nothing.
    AddRule<ConstraintEnumOff>(params, "TriggerMode", "Off",
                               {"TriggerInhibit", "TriggerSource", "TriggerActivation", "TriggerOverlap",
                                "TriggerDelayRaw"},
                               true);
}

}
