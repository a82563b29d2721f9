// IntConverter: an integer feature whose value is converted, by a pair of
// formulas, to and from another node's value.
#ifndef GENAPI_DETAIL_INTCONVERTERNODE_H
#define GENAPI_DETAIL_INTCONVERTERNODE_H

#include "ConverterCore.h"
#include "IntegerInterface.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

class IntConverterNode final : public Node, public IntegerInterface {
public:
    IntConverterNode(NodeMap& map, std::string_view name)
        : Node(map, name, intfIInteger), mCore(Formula::Mode::Integer)
    {
    }
    NumberKind Kind() const override { return NumberKind::Integer; }
    void Finish(const pugi::xml_node& element, Loader& loader) override { mCore.Finish(element, loader); }

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mCore.Access(); }
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override { mCore.Write(value, verify, NameText()); }
    Number MinNumber() override;
    Number MaxNumber() override;

private:
    ConverterCore mCore;
};

} // namespace Detail
} // namespace GenApi

#endif
