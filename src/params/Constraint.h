// A dependency between a controlling parameter and dependent ones: it fixes
// the order in which they are written to the camera, and may switch the
// dependents on and off whenever the set is validated.
#pragma once

#include <memory>
#include <vector>

class CameraParameters;
class Param_;

class Constraint {
public:
    virtual ~Constraint();
    // Moves the dependents directly behind the controlling parameter.
    virtual void Reorder(std::vector<std::unique_ptr<Param_>>& params) const = 0;
    virtual void Apply(CameraParameters& params) const = 0;
    virtual std::unique_ptr<Constraint> Clone() const = 0;

protected:
    Constraint() = default;
    Constraint(const Constraint&) = default;
    Constraint& operator=(const Constraint&) = default;
};
