// FloatReg: an IEEE 754 single or double held in a 4- or 8-byte register.
#ifndef GENAPI_DETAIL_FLOATREGNODE_H
#define GENAPI_DETAIL_FLOATREGNODE_H

#include "FloatInterface.h"
#include "RegisterBase.h"

namespace GenApi {
namespace Detail {

class FloatRegNode final : public RegisterBase, public FloatInterface {
public:
    FloatRegNode(NodeMap& map, std::string_view name) : RegisterBase(map, name, intfIFloat) {}
    NumberKind Kind() const override { return NumberKind::Float; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override;
    Number MinNumber() override;
    Number MaxNumber() override;

private:
    int64_t CheckedLength();

    EEndianess mEndianess = LittleEndian;
};

} // namespace Detail
} // namespace GenApi

#endif
