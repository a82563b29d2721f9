// A value a node takes from elsewhere: a literal from the description, or
// another node it refers to (pValue, pMin, pIsAvailable, pVariable, ...).
// Every step from one node to another passes here, which is where the depth
// of nested references is bounded.
#ifndef GENAPI_DETAIL_VALUEREF_H
#define GENAPI_DETAIL_VALUEREF_H

#include <GenApi/Types.h>

#include "Number.h"

namespace GenApi {
namespace Detail {

class Node;

class ValueRef {
public:
    ValueRef() = default;
    static ValueRef Literal(Number value);
    static ValueRef To(Node* node);

    bool IsSet() const { return mSet; }
    bool IsNode() const { return mNode != nullptr; }
    Node* GetNode() const { return mNode; }

    Number Get(bool verify = false, bool ignoreCache = false) const;
    int64_t GetInt(bool verify = false, bool ignoreCache = false) const;
    double GetFloat(bool verify = false, bool ignoreCache = false) const;
    // A literal keeps the written value; a node is written with verification as asked.
    void Set(Number value, bool verify);
    Number Min() const;
    Number Max() const;
    Number Inc() const;
    // A literal reads and writes freely.
    EAccessMode AccessMode() const;
    bool IsReadable() const;

private:
    Number LiteralValue() const { return mFloat ? Number::Float(mLiteral.mFloat) : Number::Int(mLiteral.mInt); }
    void KeepLiteral(Number value);

    // 24 bytes rather than a Number's 16 and a flag: nodes hold many of them.
    Node* mNode = nullptr;
    union {
        int64_t mInt = 0;
        double mFloat;
    } mLiteral;
    bool mFloat = false;
    bool mSet = false;
};

} // namespace Detail
} // namespace GenApi

#endif
