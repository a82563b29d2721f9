#include "IntegerNode.h"

#include <pugixml.hpp>

#include "Loader.h"

namespace GenApi {
namespace Detail {

bool IntegerNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (mSource.Configure(tag, element, loader, *this, false)) {
        return true;
    }
    if (ConfigureDisplay(tag, element, loader)) {
        return true;
    }
    switch (tag) {
    case Tag::Min:
        mMin = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pMin:
        mMin = loader.NumericReference(*this, element);
        return true;
    case Tag::Max:
        mMax = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pMax:
        mMax = loader.NumericReference(*this, element);
        return true;
    case Tag::Inc:
        mInc = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pInc:
        mInc = loader.NumericReference(*this, element);
        return true;
    case Tag::pValueCopy:
        mCopies.push_back(loader.NumericReference(*this, element));
        return true;
    case Tag::pSelected:
        loader.Reference(*this, element, Loader::Link::Selects);
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void IntegerNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mSource.IsSet()) {
        loader.Fail(element, "an Integer needs a Value, pValue or pIndex");
    }
}

EAccessMode IntegerNode::OwnAccess() { return mSource.AccessMode(); }

Number IntegerNode::ReadNumber(bool verify, bool ignoreCache)
{
    return Number::Int(ToInt64(mSource.Current(*this).Get(verify, ignoreCache), mName.data()));
}

void IntegerNode::WriteNumber(Number value, bool verify)
{
    const Number integer = Number::Int(ToInt64(value, mName.data()));
    mSource.Current(*this).Set(integer, verify);
    for (ValueRef& copy : mCopies) {
        copy.Set(integer, verify);
    }
}

Number IntegerNode::MinNumber()
{
    if (mMin.IsSet()) {
        return mMin.Get();
    }
    Node* target = mSource.ValueNode();
    return target && !mSource.IsIndexed() ? mSource.Current(*this).Min() : Node::MinNumber();
}

Number IntegerNode::MaxNumber()
{
    if (mMax.IsSet()) {
        return mMax.Get();
    }
    Node* target = mSource.ValueNode();
    return target && !mSource.IsIndexed() ? mSource.Current(*this).Max() : Node::MaxNumber();
}

Number IntegerNode::IncNumber()
{
    if (mInc.IsSet()) {
        return mInc.Get();
    }
    Node* target = mSource.ValueNode();
    return target && !mSource.IsIndexed() ? mSource.Current(*this).Inc() : Node::IncNumber();
}

} // namespace Detail
} // namespace GenApi
