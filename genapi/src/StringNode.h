// String: a text feature kept in the description or taken from another text node.
#ifndef GENAPI_DETAIL_STRINGNODE_H
#define GENAPI_DETAIL_STRINGNODE_H

#include <GenApi/IString.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

class StringNode final : public Node, public IString {
public:
    StringNode(NodeMap& map, std::string_view name) : Node(map, name, intfIString) {}
    bool HasText() const override { return true; }
    void Finish(const pugi::xml_node& element, Loader& loader) override;

    INode* GetNode() override { return this; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override { return GetValue(Verify, IgnoreCache); }
    void FromString(const gcstring& ValueStr, bool Verify = true) override { SetValue(ValueStr, Verify); }
    void SetValue(const gcstring& Value, bool Verify = true) override;
    gcstring GetValue(bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetMaxLength() override;
    int64_t MaxTextLength() override;

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override;
    std::string ReadText(bool verify, bool ignoreCache) override;
    void WriteTextValue(const std::string& text, bool verify) override;

private:
    std::string mLiteral;
    bool mHasLiteral = false;
    Node* mValue = nullptr;
};

} // namespace Detail
} // namespace GenApi

#endif
