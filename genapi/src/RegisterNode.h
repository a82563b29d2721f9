// Register: a block of raw bytes, shown as hexadecimal text.
#ifndef GENAPI_DETAIL_REGISTERNODE_H
#define GENAPI_DETAIL_REGISTERNODE_H

#include "RegisterBase.h"

namespace GenApi {
namespace Detail {

class RegisterNode final : public RegisterBase {
public:
    RegisterNode(NodeMap& map, std::string_view name) : RegisterBase(map, name, intfIRegister) {}

    INode* GetNode() override { return this; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
};

} // namespace Detail
} // namespace GenApi

#endif
