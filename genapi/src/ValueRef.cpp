#include "ValueRef.h"

#include "Node.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {

ValueRef ValueRef::Literal(Number value)
{
    ValueRef ref;
    ref.KeepLiteral(value);
    ref.mSet = true;
    return ref;
}

void ValueRef::KeepLiteral(Number value)
{
    mFloat = value.mIsFloat;
    if (mFloat) {
        mLiteral.mFloat = value.mFloat;
    } else {
        mLiteral.mInt = value.mInt;
    }
}

ValueRef ValueRef::To(Node* node)
{
    ValueRef ref;
    ref.mNode = node;
    ref.mSet = node != nullptr;
    return ref;
}

Number ValueRef::Get(bool verify, bool ignoreCache) const
{
    if (!mNode) {
        return LiteralValue();
    }
    ReferenceStep step(mNode->Map(), *mNode);
    return mNode->Evaluate(verify, ignoreCache);
}

int64_t ValueRef::GetInt(bool verify, bool ignoreCache) const
{
    return ToInt64(Get(verify, ignoreCache), mNode ? mNode->NameText() : "value");
}

double ValueRef::GetFloat(bool verify, bool ignoreCache) const { return Get(verify, ignoreCache).AsFloat(); }

void ValueRef::Set(Number value, bool verify)
{
    if (!mNode) {
        KeepLiteral(mFloat ? Number::Float(value.AsFloat()) : Number::Int(ToInt64(value, "value")));
        return;
    }
    ReferenceStep step(mNode->Map(), *mNode);
    mNode->Write(value, verify);
}

Number ValueRef::Min() const
{
    if (!mNode) {
        return LiteralValue();
    }
    ReferenceStep step(mNode->Map(), *mNode);
    return mNode->MinValue();
}

Number ValueRef::Max() const
{
    if (!mNode) {
        return LiteralValue();
    }
    ReferenceStep step(mNode->Map(), *mNode);
    return mNode->MaxValue();
}

Number ValueRef::Inc() const
{
    if (!mNode) {
        return Number::Int(1);
    }
    ReferenceStep step(mNode->Map(), *mNode);
    return mNode->IncValue();
}

EAccessMode ValueRef::AccessMode() const
{
    if (!mNode) {
        return RW;
    }
    ReferenceStep step(mNode->Map(), *mNode);
    return mNode->Access();
}

bool ValueRef::IsReadable() const { return GenApi::IsReadable(AccessMode()); }

} // namespace Detail
} // namespace GenApi
