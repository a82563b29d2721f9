// IEnumeration: a value chosen from a list of named entries.
#ifndef GENAPI_IENUMERATION_H
#define GENAPI_IENUMERATION_H

#include <GenApi/IEnumEntry.h>
#include <GenApi/IValue.h>

namespace GenApi {

struct IEnumeration : virtual IValue {
    // The entry names of the implemented and available entries.
    virtual void GetSymbolics(StringList_t& Symbolics) = 0;
    // The implemented entries, in the order of the description.
    virtual void GetEntries(NodeList_t& Entries) = 0;
    virtual void SetIntValue(int64_t Value, bool Verify = true) = 0;
    virtual int64_t GetIntValue(bool Verify = false, bool IgnoreCache = false) = 0;
    virtual IEnumEntry* GetEntryByName(const gcstring& Symbolic) = 0;
    virtual IEnumEntry* GetEntry(const int64_t IntValue) = 0;
    virtual IEnumEntry* GetCurrentEntry(bool Verify = false, bool IgnoreCache = false) = 0;

    IEnumeration& operator=(const gcstring& ValueStr)
    {
        FromString(ValueStr);
        return *this;
    }
    gcstring operator*() { return ToString(); }
};

} // namespace GenApi

#endif
