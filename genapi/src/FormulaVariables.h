// The names a formula node declares for its formulas: pVariable (another
// node), Constant and Expression.
#ifndef GENAPI_DETAIL_FORMULAVARIABLES_H
#define GENAPI_DETAIL_FORMULAVARIABLES_H

#include <memory>
#include <vector>

#include "Formula.h"
#include "Tags.h"
#include "ValueRef.h"

namespace pugi {
class xml_node;
}

namespace GenApi {
namespace Detail {

class Loader;
class Node;
class NodeMap;

class FormulaVariables {
public:
    // Takes pVariable, Constant and Expression; false for any other element.
    bool Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner);
    // Compiles the text of `element` (Formula, FormulaTo, FormulaFrom); a
    // malformed formula fails the load there.
    std::shared_ptr<const Formula> Compile(const pugi::xml_node& element, Loader& loader, Formula::Mode mode,
                                           const char* inputName);
    // A formula node can be read only while every node it draws on can be.
    bool AllReadable() const;
    Number Evaluate(const Formula& formula, Number input, bool ignoreCache, const char* owner);

private:
    FormulaSymbols mSymbols;
    std::vector<ValueRef> mVariables;
    // The map whose evaluation depth the formulas count against.
    NodeMap* mMap = nullptr;
};

} // namespace Detail
} // namespace GenApi

#endif
