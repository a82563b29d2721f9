#include "ConverterNode.h"

#include <pugixml.hpp>

#include "Loader.h"

namespace GenApi {
namespace Detail {

bool ConverterNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
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

Number ConverterNode::ReadNumber(bool verify, bool ignoreCache)
{
    return Number::Float(mCore.Read(verify, ignoreCache, NameText()).AsFloat());
}

Number ConverterNode::MinNumber()
{
    Number min;
    Number max;
    mCore.Range(min, max, NameText());
    return Number::Float(min.AsFloat());
}

Number ConverterNode::MaxNumber()
{
    Number min;
    Number max;
    mCore.Range(min, max, NameText());
    return Number::Float(max.AsFloat());
}

} // namespace Detail
} // namespace GenApi
