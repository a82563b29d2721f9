#include "FormulaVariables.h"

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "Node.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {

bool FormulaVariables::Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner)
{
    if (tag != Tag::pVariable && tag != Tag::Constant && tag != Tag::Expression) {
        return false;
    }
    // Attribute values lie in the map's text, zero-terminated.
    const std::string_view name = element.attribute("Name").value();
    if (name.empty()) {
        loader.Fail(element, "a %s needs a Name", element.name());
    }
    switch (tag) {
    case Tag::pVariable: {
        if (mVariables.empty()) {
            // Room for all of them at once rather than growing by copies.
            std::size_t count = 0;
            for (pugi::xml_node next = element; next; next = next.next_sibling("pVariable")) {
                ++count;
            }
            mVariables.reserve(count);
            mSymbols.ReserveVariables(count);
        }
        ValueRef variable = loader.NumericReference(owner, element);
        mSymbols.AddVariable(name, variable.GetNode());
        mVariables.push_back(variable);
        break;
    }
    case Tag::Constant:
        mSymbols.AddConstant(name, loader.NumberOf(element));
        break;
    default:
        mSymbols.AddExpression(name, loader.Text(element));
        break;
    }
    return true;
}

bool FormulaVariables::AllReadable() const
{
    for (const ValueRef& variable : mVariables) {
        if (!variable.IsReadable()) {
            return false;
        }
    }
    return true;
}

std::shared_ptr<const Formula> FormulaVariables::Compile(const pugi::xml_node& element, Loader& loader,
                                                       Formula::Mode mode, const char* inputName)
{
    mMap = &loader.Map();
    try {
        return loader.CompileFormula(loader.Text(element), mSymbols, mode, inputName);
    } catch (const GenICam::GenericException& e) {
        loader.Fail(element, "%s", e.GetDescription());
    }
}

Number FormulaVariables::Evaluate(const Formula& formula, Number input, bool ignoreCache, const char* owner)
{
    FormulaStep step(*mMap, formula.Height(), owner);
    return formula.Evaluate(mVariables, input, ignoreCache, owner);
}

} // namespace Detail
} // namespace GenApi
