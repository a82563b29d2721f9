// Enumeration: a value chosen from named entries, stored in an integer node.
#ifndef GENAPI_DETAIL_ENUMERATIONNODE_H
#define GENAPI_DETAIL_ENUMERATIONNODE_H

#include <vector>

#include <GenApi/IEnumeration.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

class EnumEntryNode;

class EnumerationNode final : public Node, public IEnumeration {
public:
    EnumerationNode(NodeMap& map, std::string_view name) : Node(map, name, intfIEnumeration) {}
    NumberKind Kind() const override { return NumberKind::Integer; }
    void AddEntry(EnumEntryNode* entry);
    void Finish(const pugi::xml_node& element, Loader& loader) override;
    bool FindEntryValue(std::string_view symbolic, int64_t& value) const override;

    INode* GetNode() override { return this; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    void GetSymbolics(StringList_t& Symbolics) override;
    void GetEntries(NodeList_t& Entries) override;
    void SetIntValue(int64_t Value, bool Verify = true) override;
    int64_t GetIntValue(bool Verify = false, bool IgnoreCache = false) override;
    IEnumEntry* GetEntryByName(const gcstring& Symbolic) override;
    IEnumEntry* GetEntry(const int64_t IntValue) override;
    IEnumEntry* GetCurrentEntry(bool Verify = false, bool IgnoreCache = false) override;

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mValue.AccessMode(); }
    Number ReadNumber(bool verify, bool ignoreCache) override;
    void WriteNumber(Number value, bool verify) override;
    void VerifyValue(const Number& value) override;

private:
    EnumEntryNode* FindEntry(int64_t value) const;
    EnumEntryNode* FindEntry(std::string_view symbolic) const;
    EnumEntryNode& CurrentEntry(bool verify, bool ignoreCache);

    std::vector<EnumEntryNode*> mEntries;
    ValueRef mValue;
};

} // namespace Detail
} // namespace GenApi

#endif
