#include "FloatInterface.h"

#include <GenICam/GCException.h>

#include "Loader.h"
#include "Node.h"
#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

INode* FloatInterface::GetNode() { return &Self(); }

gcstring FloatInterface::ToString(bool Verify, bool IgnoreCache) { return FormatFloat(GetValue(Verify, IgnoreCache)); }

void FloatInterface::FromString(const gcstring& ValueStr, bool Verify)
{
    double value = 0.0;
    if (!ParseFloat(ValueStr.str(), value)) {
        throw INVALID_ARGUMENT_EXCEPTION("Node '%s': '%s' is not a number", Self().NameText(), ValueStr.c_str());
    }
    SetValue(value, Verify);
}

void FloatInterface::SetValue(double Value, bool Verify)
{
    Node& node = Self();
    MapLock lock(node.Map());
    node.Write(Number::Float(Value), Verify);
}

double FloatInterface::GetValue(bool Verify, bool IgnoreCache)
{
    Node& node = Self();
    MapLock lock(node.Map());
    return node.Value(Verify, IgnoreCache).AsFloat();
}

double FloatInterface::GetMin()
{
    Node& node = Self();
    MapLock lock(node.Map());
    return node.MinValue().AsFloat();
}

double FloatInterface::GetMax()
{
    Node& node = Self();
    MapLock lock(node.Map());
    return node.MaxValue().AsFloat();
}

bool FloatInterface::ConfigureDisplay(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Representation:
        mRepresentation = loader.Representation(element);
        return true;
    case Tag::Unit:
        mUnit = loader.Text(element);
        return true;
    case Tag::DisplayNotation:
        mDisplayNotation = loader.DisplayNotation(element);
        return true;
    case Tag::DisplayPrecision:
        mDisplayPrecision = loader.Integer(element);
        return true;
    default:
        return false;
    }
}

} // namespace Detail
} // namespace GenApi
