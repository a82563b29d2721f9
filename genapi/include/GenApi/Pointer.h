// CPointer: a node pointer taken as one interface. It is null when the node is
// of another kind, and it refuses to be dereferenced while null.
#ifndef GENAPI_POINTER_H
#define GENAPI_POINTER_H

#include <GenApi/IBoolean.h>
#include <GenApi/ICategory.h>
#include <GenApi/ICommand.h>
#include <GenApi/IEnumEntry.h>
#include <GenApi/IEnumeration.h>
#include <GenApi/IFloat.h>
#include <GenApi/IInteger.h>
#include <GenApi/INode.h>
#include <GenApi/INodeMap.h>
#include <GenApi/IPort.h>
#include <GenApi/IRegister.h>
#include <GenApi/IString.h>
#include <GenApi/IValue.h>

namespace GenApi {

template <class T>
class CPointer {
public:
    CPointer() = default;
    CPointer(T* pT) : mPtr(pT) {}
    template <class U>
    CPointer(U* pU) : mPtr(dynamic_cast<T*>(pU)) {}
    template <class U>
    CPointer(const CPointer<U>& other) : mPtr(dynamic_cast<T*>(static_cast<U*>(other))) {}

    CPointer& operator=(T* pT)
    {
        mPtr = pT;
        return *this;
    }
    template <class U>
    CPointer& operator=(U* pU)
    {
        mPtr = dynamic_cast<T*>(pU);
        return *this;
    }

    T* operator->() const
    {
        if (!mPtr) {
            throw LOGICAL_ERROR_EXCEPTION("NULL pointer dereferenced");
        }
        return mPtr;
    }
    T& operator*() const { return *operator->(); }
    operator T*() const { return mPtr; }
    explicit operator bool() const { return mPtr != nullptr; }
    bool IsValid() const { return mPtr != nullptr; }
    void Release() { mPtr = nullptr; }

private:
    T* mPtr = nullptr;
};

using CBasePtr = CPointer<IBase>;
using CNodePtr = CPointer<INode>;
using CValuePtr = CPointer<IValue>;
using CIntegerPtr = CPointer<IInteger>;
using CFloatPtr = CPointer<IFloat>;
using CBooleanPtr = CPointer<IBoolean>;
using CStringPtr = CPointer<IString>;
using CEnumerationPtr = CPointer<IEnumeration>;
using CEnumEntryPtr = CPointer<IEnumEntry>;
using CCommandPtr = CPointer<ICommand>;
using CCategoryPtr = CPointer<ICategory>;
using CRegisterPtr = CPointer<IRegister>;
using CPortPtr = CPointer<IPort>;

} // namespace GenApi

#endif
