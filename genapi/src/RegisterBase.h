// What every register node shares: its place in register memory, its cached
// bytes, its own access mode, and the IRegister operations on its raw bytes.
#ifndef GENAPI_DETAIL_REGISTERBASE_H
#define GENAPI_DETAIL_REGISTERBASE_H

#include <vector>

#include <GenApi/IRegister.h>

#include "Node.h"
#include "RegisterAccess.h"

namespace GenApi {
namespace Detail {

class RegisterBase : public Node, public IRegister {
public:
    RegisterBase(NodeMap& map, std::string_view name, EInterfaceType type) : Node(map, name, type) {}
    // The entries of a StructReg keep one register's bytes together.
    void ShareCache(std::shared_ptr<RegisterCache> cache);
    void Finish(const pugi::xml_node& element, Loader& loader) override;
    void DropCache() override { mAccess.Drop(); }
    ECachingMode GetCachingMode() const override { return mAccess.Caching(); }

    void Set(const uint8_t* pBuffer, int64_t Length, bool Verify = true) override;
    void Get(uint8_t* pBuffer, int64_t Length, bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetLength() override;
    int64_t GetAddress() override;

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mAccess.Access(); }
    std::vector<uint8_t> ReadBytes(bool ignoreCache);
    // Writes the register and tells the nodes that share it.
    void WriteBytes(const std::vector<uint8_t>& bytes);
    int64_t Length() const { return mAccess.Length(*this); }

    RegisterAccess mAccess;
};

} // namespace Detail
} // namespace GenApi

#endif
