// Where an Integer or Float node keeps its value: a literal (Value), another
// node (pValue), or one of several chosen by an index node (pIndex with
// ValueIndexed / pValueIndexed and a default).
#ifndef GENAPI_DETAIL_VALUESOURCE_H
#define GENAPI_DETAIL_VALUESOURCE_H

#include <utility>
#include <vector>

#include <GenApi/Types.h>

#include "Tags.h"
#include "ValueRef.h"

namespace pugi {
class xml_node;
}

namespace GenApi {
namespace Detail {

class Loader;
class Node;

class ValueSource {
public:
    // Takes the elements that say where the value is; false for any other element.
    bool Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner, bool floats);
    bool IsSet() const { return mValue.IsSet() || mIndex.IsSet(); }
    bool IsIndexed() const { return mIndex.IsSet(); }
    // The place the value is at now (for an indexed value, chosen by the
    // index's current value); raises an AccessException when the index has none.
    ValueRef& Current(const Node& owner);
    // Its access mode; an index without a value makes it unavailable.
    EAccessMode AccessMode();
    // The node the value lives in, when it is a single one.
    Node* ValueNode() const { return mValue.GetNode(); }

private:
    ValueRef* Find();

    ValueRef mValue;
    ValueRef mIndex;
    std::vector<std::pair<int64_t, ValueRef>> mIndexed;
    ValueRef mDefault;
};

} // namespace Detail
} // namespace GenApi

#endif
