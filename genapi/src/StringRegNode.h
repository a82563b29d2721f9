// StringReg: text held in a register, zero-terminated unless it fills it.
#ifndef GENAPI_DETAIL_STRINGREGNODE_H
#define GENAPI_DETAIL_STRINGREGNODE_H

#include <GenApi/IString.h>

#include "RegisterBase.h"

namespace GenApi {
namespace Detail {

class StringRegNode final : public RegisterBase, public IString {
public:
    StringRegNode(NodeMap& map, std::string_view name) : RegisterBase(map, name, intfIString) {}
    bool HasText() const override { return true; }
    int64_t MaxTextLength() override { return Length(); }

    INode* GetNode() override { return this; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override { return GetValue(Verify, IgnoreCache); }
    void FromString(const gcstring& ValueStr, bool Verify = true) override { SetValue(ValueStr, Verify); }
    void SetValue(const gcstring& Value, bool Verify = true) override;
    gcstring GetValue(bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetMaxLength() override;

protected:
    std::string ReadText(bool verify, bool ignoreCache) override;
    void WriteTextValue(const std::string& text, bool verify) override;
};

} // namespace Detail
} // namespace GenApi

#endif
