// IInteger over a node's numeric operations: shared by every node kind that
// offers an integer (Integer, IntReg, MaskedIntReg, IntSwissKnife, IntConverter).
#ifndef GENAPI_DETAIL_INTEGERINTERFACE_H
#define GENAPI_DETAIL_INTEGERINTERFACE_H

#include <string_view>

#include "Tags.h"

namespace pugi {
class xml_node;
}

#include <GenApi/IInteger.h>

namespace GenApi {
namespace Detail {

class Loader;
class Node;

class IntegerInterface : public IInteger {
public:
    INode* GetNode() override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    void SetValue(int64_t Value, bool Verify = true) override;
    int64_t GetValue(bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetMin() override;
    int64_t GetMax() override;
    int64_t GetInc() override;
    ERepresentation GetRepresentation() override { return mRepresentation; }
    gcstring GetUnit() const override { return gcstring(mUnit.data(), mUnit.size()); }

protected:
    virtual Node& Self() = 0;
    // Takes the elements that say how the value is shown; false for any other.
    bool ConfigureDisplay(Tag tag, const pugi::xml_node& element, Loader& loader);

    ERepresentation mRepresentation = PureNumber;
    std::string_view mUnit;
};

} // namespace Detail
} // namespace GenApi

#endif
