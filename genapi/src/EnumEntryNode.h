// EnumEntry: one named value of an enumeration, with its own availability.
// It is a node of the map named "EnumEntry_<enumeration>_<entry>".
#ifndef GENAPI_DETAIL_ENUMENTRYNODE_H
#define GENAPI_DETAIL_ENUMENTRYNODE_H

#include <GenApi/IEnumEntry.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

class EnumEntryNode final : public Node, public IEnumEntry {
public:
    EnumEntryNode(NodeMap& map, std::string_view name, std::string_view symbolic)
        : Node(map, name, intfIEnumEntry), mSymbolic(symbolic)
    {
    }
    NumberKind Kind() const override { return NumberKind::Integer; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;
    int64_t EntryValue() const { return mValue; }
    std::string_view Symbolic() const { return mSymbolic; }

    INode* GetNode() override { return this; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    int64_t GetValue() override { return mValue; }
    gcstring GetSymbolic() const override { return gcstring(mSymbolic.data(), mSymbolic.size()); }
    double GetNumericValue() override { return mHasNumericValue ? mNumericValue : static_cast<double>(mValue); }
    bool IsSelfClearing() override { return mSelfClearing; }

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return RO; }
    Number ReadNumber(bool, bool) override { return Number::Int(mValue); }

private:
    std::string_view mSymbolic;
    int64_t mValue = 0;
    bool mHasValue = false;
    double mNumericValue = 0.0;
    bool mHasNumericValue = false;
    bool mSelfClearing = false;
};

} // namespace Detail
} // namespace GenApi

#endif
