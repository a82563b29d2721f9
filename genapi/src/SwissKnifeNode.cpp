#include "SwissKnifeNode.h"

#include <pugixml.hpp>

#include "Loader.h"

namespace GenApi {
namespace Detail {

bool SwissKnifeNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
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

void SwissKnifeNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    const pugi::xml_node formula = element.child("Formula");
    if (!formula) {
        loader.Fail(element, "a SwissKnife needs a Formula");
    }
    mFormula = mVariables.Compile(formula, loader, Formula::Mode::Float, nullptr);
}

Number SwissKnifeNode::ReadNumber(bool, bool ignoreCache)
{
    return Number::Float(mVariables.Evaluate(*mFormula, Number(), ignoreCache, NameText()).AsFloat());
}

} // namespace Detail
} // namespace GenApi
