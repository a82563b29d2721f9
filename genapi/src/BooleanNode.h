// Boolean: on or off, stored as the OnValue or OffValue of an integer node.
#ifndef GENAPI_DETAIL_BOOLEANNODE_H
#define GENAPI_DETAIL_BOOLEANNODE_H

#include <GenApi/IBoolean.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

class BooleanNode final : public Node, public IBoolean {
public:
    BooleanNode(NodeMap& map, std::string_view name) : Node(map, name, intfIBoolean) {}
    NumberKind Kind() const override { return NumberKind::Integer; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;

    INode* GetNode() override { return this; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    void SetValue(bool Value, bool Verify = true) override;
    bool GetValue(bool Verify = false, bool IgnoreCache = false) const override;

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mValue.AccessMode(); }
    // 1 for on, 0 for off.
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override;
    Number MinNumber() override { return Number::Int(0); }
    Number MaxNumber() override { return Number::Int(1); }

private:
    ValueRef mValue;
    int64_t mOnValue = 1;
    int64_t mOffValue = 0;
};

} // namespace Detail
} // namespace GenApi

#endif
