#include "StringNode.h"

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {


bool StringNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Value:
        mLiteral = element.text().get();
        mHasLiteral = true;
        return true;
    case Tag::pValue: {
        Node& target = loader.Reference(*this, element, Loader::Link::Reads);
        if (!target.HasText()) {
            loader.Fail(element, "pValue names '%s', which holds no text", target.NameText());
        }
        mValue = &target;
        return true;
    }
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void StringNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mHasLiteral && !mValue) {
        loader.Fail(element, "a String needs a Value or pValue");
    }
}

EAccessMode StringNode::OwnAccess()
{
    if (!mValue) {
        return RW;
    }
    ReferenceStep step(mMap, *mValue);
    return mValue->Access();
}

std::string StringNode::ReadText(bool verify, bool ignoreCache)
{
    if (!mValue) {
        return mLiteral;
    }
    ReferenceStep step(mMap, *mValue);
    return mValue->EvaluateText(verify, ignoreCache);
}

void StringNode::WriteTextValue(const std::string& text, bool verify)
{
    if (!mValue) {
        mLiteral = text;
        return;
    }
    ReferenceStep step(mMap, *mValue);
    mValue->WriteText(text, verify);
}

int64_t StringNode::MaxTextLength()
{
    if (!mValue) {
        return INT64_MAX;
    }
    ReferenceStep step(mMap, *mValue);
    return mValue->MaxTextLength();
}

gcstring StringNode::GetValue(bool Verify, bool IgnoreCache)
{
    MapLock lock(mMap);
    return TextValue(Verify, IgnoreCache);
}

void StringNode::SetValue(const gcstring& Value, bool Verify)
{
    MapLock lock(mMap);
    WriteText(Value.str(), Verify);
}

int64_t StringNode::GetMaxLength()
{
    MapLock lock(mMap);
    return MaxTextLength();
}

} // namespace Detail
} // namespace GenApi
