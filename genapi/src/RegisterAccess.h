// Where a register node's bytes are (address, length, port) and the bytes it
// keeps from the camera, with the caching the description asks for.
#ifndef GENAPI_DETAIL_REGISTERACCESS_H
#define GENAPI_DETAIL_REGISTERACCESS_H

#include <memory>
#include <vector>

#include <GenApi/Types.h>

#include "Tags.h"
#include "ValueRef.h"

namespace pugi {
class xml_node;
}

namespace GenApi {
namespace Detail {

class Loader;
class Node;
class PortNode;

// The bytes last read from or written to one register. The entries of a
// StructReg share one, as they share the register.
struct RegisterCache {
    bool mValid = false;
    int64_t mAddress = 0;
    std::vector<uint8_t> mBytes;
    std::vector<Node*> mOwners;
};

class RegisterAccess {
public:
    RegisterAccess() = default;
    RegisterAccess(const RegisterAccess&) = delete;
    RegisterAccess& operator=(const RegisterAccess&) = delete;

    // Takes the register's own elements; false for any other element.
    bool Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner);
    void Finish(const pugi::xml_node& element, Loader& loader) const;
    // Takes over where another register lies and how it is accessed (not what it cached).
    void TakePlace(const RegisterAccess& other);
    void ShareCache(std::shared_ptr<RegisterCache> cache) { mCache = std::move(cache); }
    // The registers that share the cache with this one (none for a cache of its own).
    const std::vector<Node*>& CacheOwners() const;
    bool HasLiteralLength() const { return !mLength.IsNode(); }

    // The caller holds the map's lock.
    int64_t Address() const;
    int64_t Length(const Node& owner) const;
    void Read(uint8_t* buffer, int64_t length, bool ignoreCache);
    void Write(const uint8_t* buffer, int64_t length);
    // The register's own access, as far as its port allows it.
    EAccessMode Access() const;
    ECachingMode Caching() const { return mCaching; }
    void Drop()
    {
        if (mCache) {
            mCache->mValid = false;
        }
    }

private:
    int64_t mAddress = 0;
    std::vector<ValueRef> mAddressNodes;
    ValueRef mIndex;
    // How far apart indexed registers lie; the register's length when not given.
    ValueRef mOffset;
    ValueRef mLength;
    PortNode* mPort = nullptr;
    ECachingMode mCaching = WriteThrough;
    EAccessMode mAccess = RO;
    bool mHasAddress = false;
    RegisterCache& Cache();

    // Shared with the other entries of a StructReg; else the register's own,
    // made at its first read or write, as loading touches no register.
    std::shared_ptr<RegisterCache> mCache;
};

} // namespace Detail
} // namespace GenApi

#endif
