// Float: a floating-point feature with its value from a literal, another node
// or an index, and its range from literals or other nodes.
#ifndef GENAPI_DETAIL_FLOATNODE_H
#define GENAPI_DETAIL_FLOATNODE_H

#include "FloatInterface.h"
#include "Node.h"
#include "ValueSource.h"

namespace GenApi {
namespace Detail {

class FloatNode final : public Node, public FloatInterface {
public:
    FloatNode(NodeMap& map, std::string_view name) : Node(map, name, intfIFloat) {}
    NumberKind Kind() const override { return NumberKind::Float; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;
    bool HasInc() override { return mInc.IsSet(); }
    double GetInc() override;

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override;
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override;
    Number MinNumber() override;
    Number MaxNumber() override;

private:
    ValueSource mSource;
    ValueRef mMin;
    ValueRef mMax;
    ValueRef mInc;
};

} // namespace Detail
} // namespace GenApi

#endif
