#include "IntegerInterface.h"

#include <GenICam/GCException.h>

#include "Loader.h"
#include "Node.h"
#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

INode* IntegerInterface::GetNode() { return &Self(); }

gcstring IntegerInterface::ToString(bool Verify, bool IgnoreCache)
{
    return FormatInt(GetValue(Verify, IgnoreCache));
}

void IntegerInterface::FromString(const gcstring& ValueStr, bool Verify)
{
    int64_t value = 0;
    if (!ParseInt(ValueStr.str(), value)) {
        throw INVALID_ARGUMENT_EXCEPTION("Node '%s': '%s' is not an integer", Self().NameText(), ValueStr.c_str());
    }
    SetValue(value, Verify);
}

void IntegerInterface::SetValue(int64_t Value, bool Verify)
{
    Node& node = Self();
    MapLock lock(node.Map());
    node.Write(Number::Int(Value), Verify);
}

int64_t IntegerInterface::GetValue(bool Verify, bool IgnoreCache)
{
    Node& node = Self();
    MapLock lock(node.Map());
    return ToInt64(node.Value(Verify, IgnoreCache), node.NameText());
}

int64_t IntegerInterface::GetMin()
{
    Node& node = Self();
    MapLock lock(node.Map());
    return ToInt64(node.MinValue(), node.NameText());
}

int64_t IntegerInterface::GetMax()
{
    Node& node = Self();
    MapLock lock(node.Map());
    return ToInt64(node.MaxValue(), node.NameText());
}

int64_t IntegerInterface::GetInc()
{
    Node& node = Self();
    MapLock lock(node.Map());
    return ToInt64(node.IncValue(), node.NameText());
}

bool IntegerInterface::ConfigureDisplay(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Representation:
        mRepresentation = loader.Representation(element);
        return true;
    case Tag::Unit:
        mUnit = loader.Text(element);
        return true;
    default:
        return false;
    }
}

} // namespace Detail
} // namespace GenApi
