#include "IntConverterNode.h"

#include <pugixml.hpp>

#include "Loader.h"

namespace GenApi {
namespace Detail {

bool IntConverterNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (mCore.Configure(tag, element, loader, *this)) {
        return true;
    }
    if (ConfigureDisplay(tag, element, loader)) {
        return true;
    }
    switch (tag) {
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

Number IntConverterNode::ReadNumber(bool verify, bool ignoreCache)
{
    return Number::Int(ToInt64(mCore.Read(verify, ignoreCache, NameText()), mName.data()));
}

Number IntConverterNode::MinNumber()
{
    Number min;
    Number max;
    mCore.Range(min, max, NameText());
    return min;
}

Number IntConverterNode::MaxNumber()
{
    Number min;
    Number max;
    mCore.Range(min, max, NameText());
    return max;
}

} // namespace Detail
} // namespace GenApi
