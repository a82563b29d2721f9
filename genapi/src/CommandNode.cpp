#include "CommandNode.h"

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {

bool CommandNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Value:
        mValue = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pValue:
        mValue = loader.NumericReference(*this, element);
        return true;
    case Tag::CommandValue:
        mCommandValue = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pCommandValue:
        mCommandValue = loader.NumericReference(*this, element);
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void CommandNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mValue.IsSet()) {
        loader.Fail(element, "a Command needs a Value or pValue");
    }
}

gcstring CommandNode::ToString(bool, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' is a command and has no value", mName.data());
}

void CommandNode::FromString(const gcstring&, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' is a command and has no value", mName.data());
}

void CommandNode::Execute(bool Verify)
{
    MapLock lock(mMap);
    CheckWritable();
    mValue.Set(mCommandValue.Get(), Verify);
    mMap.NotifyChanged(*this);
}

bool CommandNode::IsDone(bool)
{
    MapLock lock(mMap);
    // The camera clears the register when done; one it does not let us read
    // tells nothing, and the command counts as done.
    if (!mValue.IsNode() || !mValue.IsReadable()) {
        return true;
    }
    const int64_t current = mValue.GetInt(false, true);
    return current != mCommandValue.GetInt();
}

} // namespace Detail
} // namespace GenApi
