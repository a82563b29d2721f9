#include "CategoryNode.h"

#include <pugixml.hpp>

#include <GenApi/IValue.h>
#include <GenICam/GCException.h>

#include "Loader.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {

bool CategoryNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (tag == Tag::pFeature) {
        mFeatures.push_back(&loader.Reference(*this, element, Loader::Link::Plain));
        return true;
    }
    return Node::ConfigureElement(tag, element, loader);
}

gcstring CategoryNode::ToString(bool, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' is a category and has no value", mName.data());
}

void CategoryNode::FromString(const gcstring&, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' is a category and has no value", mName.data());
}

void CategoryNode::GetFeatures(FeatureList_t& Features) const
{
    MapLock lock(mMap);
    Features.clear();
    for (Node* feature : mFeatures) {
        // Only nodes with a value are features; a port listed here has none.
        if (auto* value = dynamic_cast<IValue*>(feature)) {
            Features.push_back(value);
        }
    }
}

} // namespace Detail
} // namespace GenApi
