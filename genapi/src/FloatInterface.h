// IFloat over a node's numeric operations: shared by every node kind that
// offers a double (Float, FloatReg, SwissKnife, Converter).
#ifndef GENAPI_DETAIL_FLOATINTERFACE_H
#define GENAPI_DETAIL_FLOATINTERFACE_H

#include <string_view>

#include "Tags.h"

namespace pugi {
class xml_node;
}

#include <GenApi/IFloat.h>

namespace GenApi {
namespace Detail {

class Loader;
class Node;

class FloatInterface : public IFloat {
public:
    INode* GetNode() override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    void SetValue(double Value, bool Verify = true) override;
    double GetValue(bool Verify = false, bool IgnoreCache = false) override;
    double GetMin() override;
    double GetMax() override;
    bool HasInc() override { return false; }
    double GetInc() override { return 0.0; }
    ERepresentation GetRepresentation() override { return mRepresentation; }
    gcstring GetUnit() const override { return gcstring(mUnit.data(), mUnit.size()); }
    EDisplayNotation GetDisplayNotation() const override { return mDisplayNotation; }
    int64_t GetDisplayPrecision() const override { return mDisplayPrecision; }

protected:
    virtual Node& Self() = 0;
    // Takes the elements that say how the value is shown; false for any other.
    bool ConfigureDisplay(Tag tag, const pugi::xml_node& element, Loader& loader);

    ERepresentation mRepresentation = PureNumber;
    std::string_view mUnit;
    EDisplayNotation mDisplayNotation = fnAutomatic;
    int64_t mDisplayPrecision = 6;
};

} // namespace Detail
} // namespace GenApi

#endif
