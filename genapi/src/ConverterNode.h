// Converter: a floating-point feature whose value is converted, by a pair of
// formulas, to and from another node's value.
#ifndef GENAPI_DETAIL_CONVERTERNODE_H
#define GENAPI_DETAIL_CONVERTERNODE_H

#include "ConverterCore.h"
#include "FloatInterface.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

class ConverterNode final : public Node, public FloatInterface {
public:
    ConverterNode(NodeMap& map, std::string_view name)
        : Node(map, name, intfIFloat), mCore(Formula::Mode::Float)
    {
    }
    NumberKind Kind() const override { return NumberKind::Float; }
    void Finish(const pugi::xml_node& element, Loader& loader) override { mCore.Finish(element, loader); }

protected:
    Node& Self() override { return *this; }
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mCore.Access(); }
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override { mCore.Write(Number::Float(value.AsFloat()), verify, NameText()); }
    Number MinNumber() override;
    Number MaxNumber() override;

private:
    ConverterCore mCore;
};

} // namespace Detail
} // namespace GenApi

#endif
