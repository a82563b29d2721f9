#include "FloatNode.h"

#include <pugixml.hpp>

#include "Loader.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {

bool FloatNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (mSource.Configure(tag, element, loader, *this, true)) {
        return true;
    }
    if (ConfigureDisplay(tag, element, loader)) {
        return true;
    }
    switch (tag) {
    case Tag::Min:
        mMin = ValueRef::Literal(Number::Float(loader.Float(element)));
        return true;
    case Tag::pMin:
        mMin = loader.NumericReference(*this, element);
        return true;
    case Tag::Max:
        mMax = ValueRef::Literal(Number::Float(loader.Float(element)));
        return true;
    case Tag::pMax:
        mMax = loader.NumericReference(*this, element);
        return true;
    case Tag::Inc:
        mInc = ValueRef::Literal(Number::Float(loader.Float(element)));
        return true;
    case Tag::pInc:
        mInc = loader.NumericReference(*this, element);
        return true;
    case Tag::pSelected:
        loader.Reference(*this, element, Loader::Link::Selects);
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void FloatNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mSource.IsSet()) {
        loader.Fail(element, "a Float needs a Value, pValue or pIndex");
    }
}

double FloatNode::GetInc()
{
    MapLock lock(mMap);
    return mInc.IsSet() ? mInc.GetFloat() : 0.0;
}

EAccessMode FloatNode::OwnAccess() { return mSource.AccessMode(); }

Number FloatNode::ReadNumber(bool verify, bool ignoreCache)
{
    return Number::Float(mSource.Current(*this).Get(verify, ignoreCache).AsFloat());
}

void FloatNode::WriteNumber(Number value, bool verify)
{
    ValueRef& target = mSource.Current(*this);
    Node* node = target.GetNode();
    // An integer node behind a Float takes the nearest integer.
    if (node && node->Kind() == NumberKind::Integer) {
        target.Set(Number::Int(ToInt64(value, mName.data())), verify);
    } else {
        target.Set(Number::Float(value.AsFloat()), verify);
    }
}

Number FloatNode::MinNumber()
{
    if (mMin.IsSet()) {
        return Number::Float(mMin.GetFloat());
    }
    return mSource.ValueNode() && !mSource.IsIndexed() ? Number::Float(mSource.Current(*this).Min().AsFloat())
                                                       : Node::MinNumber();
}

Number FloatNode::MaxNumber()
{
    if (mMax.IsSet()) {
        return Number::Float(mMax.GetFloat());
    }
    return mSource.ValueNode() && !mSource.IsIndexed() ? Number::Float(mSource.Current(*this).Max().AsFloat())
                                                       : Node::MaxNumber();
}

} // namespace Detail
} // namespace GenApi
