// IntReg, MaskedIntReg and the entries of a StructReg: an integer held in a
// register of 1 to 8 bytes, whole or as a bit field, signed or unsigned, in
// either byte order.
#ifndef GENAPI_DETAIL_INTREGNODE_H
#define GENAPI_DETAIL_INTREGNODE_H

#include "BitField.h"
#include "IntegerInterface.h"
#include "RegisterBase.h"

namespace GenApi {
namespace Detail {

class IntRegNode final : public RegisterBase, public IntegerInterface {
public:
    IntRegNode(NodeMap& map, std::string_view name, bool masked)
        : RegisterBase(map, name, intfIInteger), mMasked(masked)
    {
    }
    NumberKind Kind() const override { return NumberKind::Integer; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;

    // For the entries of a StructReg: what the struct's own elements set for
    // its first entry, taken over by the others.
    void TakeStructSettings(const IntRegNode& first);

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override;
    Number MinNumber() override;
    Number MaxNumber() override;

private:
    BitRange Range();

    bool mMasked;
    ESign mSign = Unsigned;
    EEndianess mEndianess = LittleEndian;
    int64_t mLsb = -1;
    int64_t mMsb = -1;
};

} // namespace Detail
} // namespace GenApi

#endif
