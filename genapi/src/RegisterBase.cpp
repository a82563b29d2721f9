#include "RegisterBase.h"

#include <GenICam/GCException.h>

#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

void RegisterBase::ShareCache(std::shared_ptr<RegisterCache> cache)
{
    cache->mOwners.push_back(this);
    mAccess.ShareCache(std::move(cache));
}

bool RegisterBase::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    return mAccess.Configure(tag, element, loader, *this) || Node::ConfigureElement(tag, element, loader);
}

void RegisterBase::Finish(const pugi::xml_node& element, Loader& loader) { mAccess.Finish(element, loader); }

std::vector<uint8_t> RegisterBase::ReadBytes(bool ignoreCache)
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(Length()));
    mAccess.Read(bytes.data(), static_cast<int64_t>(bytes.size()), ignoreCache);
    return bytes;
}

void RegisterBase::WriteBytes(const std::vector<uint8_t>& bytes)
{
    mAccess.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
    for (Node* owner : mAccess.CacheOwners()) {
        if (owner != this) {
            mMap.NotifyChanged(*owner);
        }
    }
}

void RegisterBase::Set(const uint8_t* pBuffer, int64_t Length, bool)
{
    MapLock lock(mMap);
    CheckWritable();
    const int64_t length = this->Length();
    if (!pBuffer || Length != length) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': the register holds %s bytes, not %s", mName.data(),
                                     FormatInt(length).c_str(), FormatInt(Length).c_str());
    }
    WriteBytes(std::vector<uint8_t>(pBuffer, pBuffer + length));
    mMap.NotifyChanged(*this);
}

void RegisterBase::Get(uint8_t* pBuffer, int64_t Length, bool, bool IgnoreCache)
{
    MapLock lock(mMap);
    CheckReadable();
    const int64_t length = this->Length();
    if (!pBuffer || Length != length) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': the register holds %s bytes, not %s", mName.data(),
                                     FormatInt(length).c_str(), FormatInt(Length).c_str());
    }
    mAccess.Read(pBuffer, length, IgnoreCache);
}

int64_t RegisterBase::GetLength()
{
    MapLock lock(mMap);
    return Length();
}

int64_t RegisterBase::GetAddress()
{
    MapLock lock(mMap);
    return mAccess.Address();
}

} // namespace Detail
} // namespace GenApi
