// What Converter and IntConverter share: the value node they convert, the
// formula from it (FormulaFrom, input TO) and to it (FormulaTo, input FROM),
// and the slope that gives their range from the value node's range.
#ifndef GENAPI_DETAIL_CONVERTERCORE_H
#define GENAPI_DETAIL_CONVERTERCORE_H

#include <string>

#include <GenApi/Types.h>

#include "Formula.h"
#include "FormulaVariables.h"
#include "Tags.h"
#include "ValueRef.h"

namespace pugi {
class xml_node;
}

namespace GenApi {
namespace Detail {

class Loader;
class Node;

class ConverterCore {
public:
    explicit ConverterCore(Formula::Mode mode) : mMode(mode) {}

    bool Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner);
    void Finish(const pugi::xml_node& element, Loader& loader);

    EAccessMode Access() const { return mVariables.AllReadable() ? mValue.AccessMode() : NA; }
    Number Read(bool verify, bool ignoreCache, const char* owner);
    void Write(Number value, bool verify, const char* owner);
    // The converted range of the value node; unbounded when the slope varies.
    void Range(Number& min, Number& max, const char* owner);

private:
    // When the value node takes integers, the integer next to the formula's
    // result whose converted value comes closest to the wanted one.
    int64_t NearestInteger(Number wanted, double converted, const char* owner);

    Formula::Mode mMode;
    FormulaVariables mVariables;
    std::shared_ptr<const Formula> mTo;
    std::shared_ptr<const Formula> mFrom;
    ValueRef mValue;
    ESlope mSlope = Automatic;
};

} // namespace Detail
} // namespace GenApi

#endif
