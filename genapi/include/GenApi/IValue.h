// IValue: a node that has a value that can be read and written as text.
#ifndef GENAPI_IVALUE_H
#define GENAPI_IVALUE_H

#include <GenApi/IBase.h>

namespace GenApi {

struct INode;

struct IValue : virtual IBase {
    virtual INode* GetNode() = 0;
    virtual gcstring ToString(bool Verify = false, bool IgnoreCache = false) = 0;
    virtual void FromString(const gcstring& ValueStr, bool Verify = true) = 0;
};

} // namespace GenApi

#endif
