#include "IntSwissKnifeNode.h"

#include <pugixml.hpp>

#include "Loader.h"

namespace GenApi {
namespace Detail {

bool IntSwissKnifeNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (mVariables.Configure(tag, element, loader, *this)) {
        return true;
    }
    if (ConfigureDisplay(tag, element, loader)) {
        return true;
    }
    switch (tag) {
    case Tag::Formula:
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void IntSwissKnifeNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    const pugi::xml_node formula = element.child("Formula");
    if (!formula) {
        loader.Fail(element, "an IntSwissKnife needs a Formula");
    }
    mFormula = mVariables.Compile(formula, loader, Formula::Mode::Integer, nullptr);
}

Number IntSwissKnifeNode::ReadNumber(bool, bool ignoreCache)
{
    return Number::Int(ToInt64(mVariables.Evaluate(*mFormula, Number(), ignoreCache, NameText()), mName.data()));
}

} // namespace Detail
} // namespace GenApi
