// IntSwissKnife: a read-only integer computed by a formula over other nodes.
// Registers also use one, without a name, to compute their address.
#ifndef GENAPI_DETAIL_INTSWISSKNIFENODE_H
#define GENAPI_DETAIL_INTSWISSKNIFENODE_H

#include "Formula.h"
#include "FormulaVariables.h"
#include "IntegerInterface.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

class IntSwissKnifeNode final : public Node, public IntegerInterface {
public:
    IntSwissKnifeNode(NodeMap& map, std::string_view name) : Node(map, name, intfIInteger) {}
    NumberKind Kind() const override { return NumberKind::Integer; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mVariables.AllReadable() ? RO : NA; }
    Number ReadNumber(bool verify, bool ignoreCache) override;

private:
    FormulaVariables mVariables;
    std::shared_ptr<const Formula> mFormula;
};

} // namespace Detail
} // namespace GenApi

#endif
