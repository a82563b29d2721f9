// SwissKnife: a read-only floating-point value computed by a formula over other nodes.
#ifndef GENAPI_DETAIL_SWISSKNIFENODE_H
#define GENAPI_DETAIL_SWISSKNIFENODE_H

#include "FloatInterface.h"
#include "Formula.h"
#include "FormulaVariables.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

class SwissKnifeNode final : public Node, public FloatInterface {
public:
    SwissKnifeNode(NodeMap& map, std::string_view name) : Node(map, name, intfIFloat) {}
    NumberKind Kind() const override { return NumberKind::Float; }
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
