#include "EnumEntryNode.h"

#include <pugixml.hpp>

#include "Loader.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {

bool EnumEntryNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Value:
        mValue = loader.Integer(element);
        mHasValue = true;
        return true;
    case Tag::NumericValue:
        mNumericValue = loader.Float(element);
        mHasNumericValue = true;
        return true;
    case Tag::Symbolic:
        mSymbolic = loader.Text(element);
        return true;
    case Tag::IsSelfClearing:
        mSelfClearing = loader.YesNo(element);
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void EnumEntryNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mHasValue) {
        loader.Fail(element, "an EnumEntry needs a Value");
    }
}

gcstring EnumEntryNode::ToString(bool, bool)
{
    MapLock lock(mMap);
    CheckReadable();
    return GetSymbolic();
}

void EnumEntryNode::FromString(const gcstring&, bool)
{
    MapLock lock(mMap);
    CheckWritable();
}

} // namespace Detail
} // namespace GenApi
