// Which exception a refused value raises, as GenApi does: a value no
// implemented entry has is out of range (OutOfRangeException), an entry the
// camera does not offer now is an access refusal (AccessException). The
// driver skips access refusals and stops at anything else, so an entry that
// is merely unavailable does not keep the other settings from the camera.
#include "EnumerationNode.h"

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "EnumEntryNode.h"
#include "Loader.h"
#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

void EnumerationNode::AddEntry(EnumEntryNode* entry) { mEntries.push_back(entry); }

bool EnumerationNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::Value:
        mValue = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pValue:
        mValue = loader.NumericReference(*this, element);
        return true;
    case Tag::pSelected:
        loader.Reference(*this, element, Loader::Link::Selects);
        return true;
    case Tag::EnumEntry:
        // Configured as nodes of their own.
        return true;
    default:
        return Node::ConfigureElement(tag, element, loader);
    }
}

void EnumerationNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    if (!mValue.IsSet()) {
        loader.Fail(element, "an Enumeration needs a Value or pValue");
    }
}

bool EnumerationNode::FindEntryValue(std::string_view symbolic, int64_t& value) const
{
    const EnumEntryNode* entry = FindEntry(symbolic);
    if (entry) {
        value = entry->EntryValue();
    }
    return entry != nullptr;
}

EnumEntryNode* EnumerationNode::FindEntry(int64_t value) const
{
    for (EnumEntryNode* entry : mEntries) {
        if (entry->EntryValue() == value) {
            return entry;
        }
    }
    return nullptr;
}

EnumEntryNode* EnumerationNode::FindEntry(std::string_view symbolic) const
{
    for (EnumEntryNode* entry : mEntries) {
        if (entry->Symbolic() == symbolic) {
            return entry;
        }
    }
    return nullptr;
}

Number EnumerationNode::ReadNumber(bool verify, bool ignoreCache)
{
    return Number::Int(mValue.GetInt(verify, ignoreCache));
}

void EnumerationNode::VerifyValue(const Number& value)
{
    const int64_t raw = ToInt64(value, mName.data());
    EnumEntryNode* entry = FindEntry(raw);
    if (!entry || !IsImplemented(entry->Access())) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': %s is the value of none of its entries", mName.data(),
                                     FormatInt(raw).c_str());
    }
    if (!IsAvailable(entry->Access())) {
        throw ACCESS_EXCEPTION("Node '%s': entry '%s' is not available", mName.data(),
                               std::string(entry->Symbolic()).c_str());
    }
}

void EnumerationNode::WriteNumber(Number value, bool verify)
{
    const int64_t raw = ToInt64(value, mName.data());
    // Whether verified or not, only an entry's value goes to the camera.
    EnumEntryNode* entry = FindEntry(raw);
    if (!entry || !IsImplemented(entry->Access())) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': %s is the value of none of its entries", mName.data(),
                                     FormatInt(raw).c_str());
    }
    mValue.Set(Number::Int(raw), verify);
}

EnumEntryNode& EnumerationNode::CurrentEntry(bool verify, bool ignoreCache)
{
    const int64_t raw = ToInt64(Value(verify, ignoreCache), mName.data());
    EnumEntryNode* entry = FindEntry(raw);
    if (!entry) {
        throw ACCESS_EXCEPTION("Node '%s': the camera holds %s, the value of none of its entries", mName.data(),
                               FormatInt(raw).c_str());
    }
    return *entry;
}

gcstring EnumerationNode::ToString(bool Verify, bool IgnoreCache)
{
    MapLock lock(mMap);
    return CurrentEntry(Verify, IgnoreCache).GetSymbolic();
}

void EnumerationNode::FromString(const gcstring& ValueStr, bool Verify)
{
    MapLock lock(mMap);
    const EnumEntryNode* entry = FindEntry(Trim(ValueStr.str()));
    if (!entry) {
        throw INVALID_ARGUMENT_EXCEPTION("Node '%s' has no entry '%s'", mName.data(), ValueStr.c_str());
    }
    Write(Number::Int(entry->EntryValue()), Verify);
}

void EnumerationNode::GetSymbolics(StringList_t& Symbolics)
{
    MapLock lock(mMap);
    Symbolics.clear();
    for (EnumEntryNode* entry : mEntries) {
        if (IsAvailable(entry->Access())) {
            Symbolics.push_back(entry->GetSymbolic());
        }
    }
}

void EnumerationNode::GetEntries(NodeList_t& Entries)
{
    MapLock lock(mMap);
    Entries.clear();
    for (EnumEntryNode* entry : mEntries) {
        if (IsImplemented(entry->Access())) {
            Entries.push_back(entry);
        }
    }
}

void EnumerationNode::SetIntValue(int64_t Value, bool Verify)
{
    MapLock lock(mMap);
    Write(Number::Int(Value), Verify);
}

int64_t EnumerationNode::GetIntValue(bool Verify, bool IgnoreCache)
{
    MapLock lock(mMap);
    return ToInt64(Value(Verify, IgnoreCache), mName.data());
}

IEnumEntry* EnumerationNode::GetEntryByName(const gcstring& Symbolic)
{
    MapLock lock(mMap);
    return FindEntry(Symbolic.str());
}

IEnumEntry* EnumerationNode::GetEntry(const int64_t IntValue)
{
    MapLock lock(mMap);
    return FindEntry(IntValue);
}

IEnumEntry* EnumerationNode::GetCurrentEntry(bool Verify, bool IgnoreCache)
{
    MapLock lock(mMap);
    return &CurrentEntry(Verify, IgnoreCache);
}

} // namespace Detail
} // namespace GenApi
