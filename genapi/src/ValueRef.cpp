#include "ValueRef.h"

#include "Node.h"
#include "NodeMap.h"

namespace GenApi {
namespace Detail {


ValueRef ValueRef::Literal(Number value)
{
    ValueRef ref;
    ref.mLiteral = value;
    ref.mSet = true;
    return ref;
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
        return mLiteral;
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
        if (mLiteral.mIsFloat) {
            mLiteral = Number::Float(value.AsFloat());
        } else {
            mLiteral = Number::Int(ToInt64(value, "value"));
        }
        return;
    }
    ReferenceStep step(mNode->Map(), *mNode);
    mNode->Write(value, verify);
}

Number ValueRef::Min() const
{
    if (!mNode) {
        return mLiteral;
    }
    ReferenceStep step(mNode->Map(), *mNode);
    return mNode->MinValue();
}

Number ValueRef::Max() const
{
    if (!mNode) {
        return mLiteral;
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
