#include "ConverterCore.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

bool ConverterCore::Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner)
{
    if (mVariables.Configure(tag, element, loader, owner)) {
        return true;
    }
    switch (tag) {
    case Tag::FormulaTo:
    case Tag::FormulaFrom:
        return true;
    case Tag::pValue:
        mValue = loader.NumericReference(owner, element);
        return true;
    case Tag::Slope:
        mSlope = loader.Slope(element);
        return true;
    default:
        return false;
    }
}

void ConverterCore::Finish(const pugi::xml_node& element, Loader& loader)
{
    const pugi::xml_node to = element.child("FormulaTo");
    const pugi::xml_node from = element.child("FormulaFrom");
    if (!to || !from) {
        loader.Fail(element, "a converter needs a FormulaTo and a FormulaFrom");
    }
    if (!mValue.IsSet()) {
        loader.Fail(element, "a converter needs a pValue");
    }
    mTo = mVariables.Compile(to, loader, mMode, "FROM");
    mFrom = mVariables.Compile(from, loader, mMode, "TO");
}

Number ConverterCore::Read(bool verify, bool ignoreCache, const char* owner)
{
    return mVariables.Evaluate(*mFrom, mValue.Get(verify, ignoreCache), ignoreCache, owner);
}

void ConverterCore::Write(Number value, bool verify, const char* owner)
{
    Number converted = mVariables.Evaluate(*mTo, value, false, owner);
    if (converted.mIsFloat && mValue.GetNode()->Kind() == NumberKind::Integer) {
        converted = Number::Int(NearestInteger(value, converted.mFloat, owner));
    }
    mValue.Set(converted, verify);
}

int64_t ConverterCore::NearestInteger(Number wanted, double converted, const char* owner)
{
    int64_t nearest = 0;
    if (!RoundToInt64(converted, nearest)) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': %g converts to no 64-bit integer", owner, wanted.AsFloat());
    }
    if (mSlope == Varying) {
        return nearest;
    }
    // FormulaTo need not be the exact inverse of FormulaFrom; of the integers
    // around its result, the one FormulaFrom maps closest to the wanted value wins.
    int64_t best = nearest;
    double bestError = std::numeric_limits<double>::infinity();
    for (int64_t delta : {-1, 0, 1}) {
        if ((delta < 0 && nearest == INT64_MIN) || (delta > 0 && nearest == INT64_MAX)) {
            continue;
        }
        const int64_t candidate = nearest + delta;
        try {
            const double back = mVariables.Evaluate(*mFrom, Number::Int(candidate), false, owner).AsFloat();
            const double error = std::fabs(back - wanted.AsFloat());
            if (error < bestError || (error == bestError && candidate == nearest)) {
                best = candidate;
                bestError = error;
            }
        } catch (const GenICam::RuntimeException&) {
            // A neighbour the formula cannot convert back (a division by zero) is no candidate.
        }
    }
    return best;
}

void ConverterCore::Range(Number& min, Number& max, const char* owner)
{
    const bool integers = mMode == Formula::Mode::Integer;
    if (mSlope == Varying) {
        min = integers ? Number::Int(INT64_MIN) : Number::Float(-DBL_MAX);
        max = integers ? Number::Int(INT64_MAX) : Number::Float(DBL_MAX);
        return;
    }
    Number low = mVariables.Evaluate(*mFrom, mValue.Min(), false, owner);
    Number high = mVariables.Evaluate(*mFrom, mValue.Max(), false, owner);
    if (integers) {
        low = Number::Int(ToInt64(low, owner));
        high = Number::Int(ToInt64(high, owner));
    }
    const bool swap = mSlope == Decreasing || (mSlope == Automatic && high.AsFloat() < low.AsFloat());
    min = swap ? high : low;
    max = swap ? low : high;
}

} // namespace Detail
} // namespace GenApi
