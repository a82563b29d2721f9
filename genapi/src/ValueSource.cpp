#include "ValueSource.h"

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

bool ValueSource::Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner, bool floats)
{
    auto literal = [&]() {
        return ValueRef::Literal(floats ? Number::Float(loader.Float(element)) : Number::Int(loader.Integer(element)));
    };
    switch (tag) {
    case Tag::Value:
        mValue = literal();
        return true;
    case Tag::pValue:
        mValue = loader.NumericReference(owner, element);
        return true;
    case Tag::pIndex:
        mIndex = loader.NumericReference(owner, element);
        return true;
    case Tag::ValueIndexed:
        mIndexed.emplace_back(loader.IntegerAttribute(element, "Index"), literal());
        return true;
    case Tag::pValueIndexed:
        mIndexed.emplace_back(loader.IntegerAttribute(element, "Index"), loader.NumericReference(owner, element));
        return true;
    case Tag::ValueDefault:
        mDefault = literal();
        return true;
    case Tag::pValueDefault:
        mDefault = loader.NumericReference(owner, element);
        return true;
    default:
        return false;
    }
}

ValueRef* ValueSource::Find()
{
    if (!mIndex.IsSet()) {
        return &mValue;
    }
    const int64_t index = mIndex.GetInt();
    for (auto& indexed : mIndexed) {
        if (indexed.first == index) {
            return &indexed.second;
        }
    }
    return mDefault.IsSet() ? &mDefault : nullptr;
}

ValueRef& ValueSource::Current(const Node& owner)
{
    ValueRef* current = Find();
    if (!current) {
        throw ACCESS_EXCEPTION("Node '%s': no value for index %lld and no default", owner.NameText(),
                               static_cast<long long>(mIndex.GetInt()));
    }
    return *current;
}

EAccessMode ValueSource::AccessMode()
{
    ValueRef* current = Find();
    return current ? current->AccessMode() : NA;
}

} // namespace Detail
} // namespace GenApi
