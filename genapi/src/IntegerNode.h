// Integer: an integer feature with its value from a literal, another node or
// an index, and its range and increment from literals or other nodes.
#ifndef GENAPI_DETAIL_INTEGERNODE_H
#define GENAPI_DETAIL_INTEGERNODE_H

#include <vector>

#include "IntegerInterface.h"
#include "Node.h"
#include "ValueSource.h"

namespace GenApi {
namespace Detail {

class IntegerNode final : public Node, public IntegerInterface {
public:
    IntegerNode(NodeMap& map, std::string_view name) : Node(map, name, intfIInteger) {}
    NumberKind Kind() const override { return NumberKind::Integer; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override;
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override;
    Number MinNumber() override;
    Number MaxNumber() override;
    Number IncNumber() override;

private:
    ValueSource mSource;
    std::vector<ValueRef> mCopies;
    ValueRef mMin;
    ValueRef mMax;
    ValueRef mInc;
};

} // namespace Detail
} // namespace GenApi

#endif
