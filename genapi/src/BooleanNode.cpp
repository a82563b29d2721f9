#include "BooleanNode.h"

#include <algorithm>
#include <cctype>

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

bool BooleanNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Value:
        mValue = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pValue:
        mValue = loader.NumericReference(*this, element);
        return true;
    case Tag::OnValue:
        mOnValue = loader.Integer(element);
        return true;
    case Tag::OffValue:
        mOffValue = loader.Integer(element);
        return true;
    case Tag::pSelected:
        loader.Reference(*this, element, Loader::Link::Selects);
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void BooleanNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mValue.IsSet()) {
        loader.Fail(element, "a Boolean needs a Value or pValue");
    }
}

Number BooleanNode::ReadNumber(bool verify, bool ignoreCache)
{
    const int64_t raw = mValue.GetInt(verify, ignoreCache);
    if (raw == mOnValue) {
        return Number::Int(1);
    }
    if (raw == mOffValue) {
        return Number::Int(0);
    }
    // Neither on nor off: say so rather than guess.
    throw OUT_OF_RANGE_EXCEPTION("Node '%s': the value %s is neither the OnValue %s nor the OffValue %s",
                                 mName.data(), FormatInt(raw).c_str(), FormatInt(mOnValue).c_str(),
                                 FormatInt(mOffValue).c_str());
}

void BooleanNode::WriteNumber(Number value, bool verify)
{
    mValue.Set(Number::Int(value.IsZero() ? mOffValue : mOnValue), verify);
}

bool BooleanNode::GetValue(bool Verify, bool IgnoreCache) const
{
    MapLock lock(mMap);
    return !const_cast<BooleanNode*>(this)->Value(Verify, IgnoreCache).IsZero();
}

void BooleanNode::SetValue(bool Value, bool Verify)
{
    MapLock lock(mMap);
    Write(Number::Int(Value ? 1 : 0), Verify);
}

gcstring BooleanNode::ToString(bool Verify, bool IgnoreCache) { return GetValue(Verify, IgnoreCache) ? "1" : "0"; }

void BooleanNode::FromString(const gcstring& ValueStr, bool Verify)
{
    std::string text(Trim(ValueStr.str()));
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (text == "1" || text == "true") {
        SetValue(true, Verify);
    } else if (text == "0" || text == "false") {
        SetValue(false, Verify);
    } else {
        throw INVALID_ARGUMENT_EXCEPTION("Node '%s': '%s' is neither true nor false", mName.data(),
                                         ValueStr.c_str());
    }
}

} // namespace Detail
} // namespace GenApi
