#include "RegisterAccess.h"

#include <algorithm>

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "IntSwissKnifeNode.h"
#include "Loader.h"
#include "Node.h"
#include "NodeMap.h"
#include "NumberText.h"
#include "PortNode.h"

namespace GenApi {
namespace Detail {

namespace {
// Registers are read whole; a length beyond this can only be a broken description.
constexpr int64_t kMaxRegisterLength = int64_t{1} << 24;

int64_t WrappingAdd(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
} // namespace

bool RegisterAccess::Configure(Tag tag, const pugi::xml_node& element, Loader& loader, Node& owner)
{
    switch (tag) {
    case Tag::Address:
        mAddress = WrappingAdd(mAddress, loader.Integer(element));
        mHasAddress = true;
        return true;
    case Tag::pAddress:
        mAddressNodes.push_back(loader.NumericReference(owner, element));
        mHasAddress = true;
        return true;
    case Tag::IntSwissKnife: {
        // An address computed by a formula of the register's own.
        const std::string_view name = loader.Map().Keep({owner.Name(), "/IntSwissKnife"});
        NodePtr formula = loader.Map().Make<IntSwissKnifeNode>(name);
        Node& node = loader.AddHidden(std::move(formula), element);
        loader.Depend(node, owner, Loader::Link::Reads);
        mAddressNodes.push_back(ValueRef::To(&node));
        mHasAddress = true;
        return true;
    }
    case Tag::pIndex: {
        mIndex = loader.NumericReference(owner, element);
        if (element.attribute("Offset")) {
            mOffset = ValueRef::Literal(Number::Int(loader.IntegerAttribute(element, "Offset")));
        } else if (const pugi::xml_attribute offset = element.attribute("pOffset")) {
            mOffset = loader.NumericReferenceByName(owner, element, offset.value());
        }
        return true;
    }
    case Tag::Length:
        mLength = ValueRef::Literal(Number::Int(loader.Integer(element)));
        return true;
    case Tag::pLength:
        mLength = loader.NumericReference(owner, element);
        return true;
    case Tag::pPort: {
        Node& port = loader.Reference(owner, element, Loader::Link::Reads);
        if (port.GetPrincipalInterfaceType() != intfIPort) {
            loader.Fail(element, "pPort names '%s', which is not a port", port.NameText());
        }
        // Port nodes are the only ones with the port interface.
        mPort = static_cast<PortNode*>(&port);
        return true;
    }
    case Tag::Cachable:
        mCaching = loader.Caching(element);
        return true;
    case Tag::AccessMode:
        mAccess = loader.AccessMode(element);
        return true;
    default:
        return false;
    }
}

void RegisterAccess::TakePlace(const RegisterAccess& other)
{
    mAddress = other.mAddress;
    mAddressNodes = other.mAddressNodes;
    mIndex = other.mIndex;
    mOffset = other.mOffset;
    mLength = other.mLength;
    mPort = other.mPort;
    mCaching = other.mCaching;
    mAccess = other.mAccess;
    mHasAddress = other.mHasAddress;
}

void RegisterAccess::Finish(const pugi::xml_node& element, Loader& loader) const
{
    if (!mPort) {
        loader.Fail(element, "a register needs a pPort");
    }
    if (!mHasAddress && !mIndex.IsSet()) {
        loader.Fail(element, "a register needs an Address, pAddress or IntSwissKnife");
    }
    if (!mLength.IsSet()) {
        loader.Fail(element, "a register needs a Length or pLength");
    }
    if (!mLength.IsNode()) {
        const int64_t length = mLength.GetInt();
        if (length < 1 || length > kMaxRegisterLength) {
            loader.Fail(element, "register length %s is out of range", FormatInt(length).c_str());
        }
    }
}

RegisterCache& RegisterAccess::Cache()
{
    if (!mCache) {
        mCache = std::make_shared<RegisterCache>();
    }
    return *mCache;
}

const std::vector<Node*>& RegisterAccess::CacheOwners() const
{
    static const std::vector<Node*> none;
    return mCache ? mCache->mOwners : none;
}

int64_t RegisterAccess::Address() const
{
    int64_t address = mAddress;
    for (const ValueRef& part : mAddressNodes) {
        address = WrappingAdd(address, part.GetInt());
    }
    if (mIndex.IsSet()) {
        const int64_t offset = (mOffset.IsSet() ? mOffset : mLength).GetInt();
        address = WrappingAdd(address, static_cast<int64_t>(static_cast<uint64_t>(mIndex.GetInt()) *
                                                            static_cast<uint64_t>(offset)));
    }
    return address;
}

int64_t RegisterAccess::Length(const Node& owner) const
{
    // A length the camera reports may be 0: an empty register.
    const int64_t length = mLength.GetInt();
    if (length < 0 || length > kMaxRegisterLength) {
        throw RUNTIME_EXCEPTION("Node '%s': register length %s is out of range", owner.NameText(),
                                FormatInt(length).c_str());
    }
    return length;
}

void RegisterAccess::Read(uint8_t* buffer, int64_t length, bool ignoreCache)
{
    const int64_t address = Address();
    RegisterCache& cache = Cache();
    const std::size_t size = static_cast<std::size_t>(length);
    if (!ignoreCache && mCaching != NoCache && cache.mValid && cache.mAddress == address &&
        cache.mBytes.size() == size) {
        std::copy(cache.mBytes.begin(), cache.mBytes.end(), buffer);
        return;
    }
    cache.mValid = false;
    if (length > 0) {
        mPort->ReadPort(buffer, address, length);
    }
    if (mCaching != NoCache) {
        cache.mBytes.assign(buffer, buffer + size);
        cache.mAddress = address;
        cache.mValid = true;
    }
}

void RegisterAccess::Write(const uint8_t* buffer, int64_t length)
{
    const int64_t address = Address();
    RegisterCache& cache = Cache();
    cache.mValid = false;
    if (length > 0) {
        mPort->WritePort(buffer, address, length);
    }
    // WriteAround registers may change what was written, so they are read anew.
    if (mCaching == WriteThrough) {
        cache.mBytes.assign(buffer, buffer + static_cast<std::size_t>(length));
        cache.mAddress = address;
        cache.mValid = true;
    }
}

EAccessMode RegisterAccess::Access() const
{
    ReferenceStep step(mPort->Map(), *mPort);
    return CombineAccess(mAccess, mPort->Access());
}

} // namespace Detail
} // namespace GenApi
