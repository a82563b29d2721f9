#include "params/Constraint.h"

Constraint::~Constraint() = default;
