#include "camsim/RegisterSpace.h"

#include <cstring>
#include <stdexcept>

namespace CamSim {

namespace {

// Calls visit(block, offset, count, done) for each block piece of the range;
// GC_ERR_INVALID_ADDRESS when a piece is unmapped, or the first failure visit
// answers.
template <class Blocks, class Visit>
GC_ERROR WalkBlocks(Blocks& blocks, std::uint64_t address, std::size_t size, Visit visit)
{
    if (size > 0 && address + size < address)
        return GC_ERR_INVALID_ADDRESS;
    std::size_t done = 0;
    while (done < size) {
        const std::uint64_t at = address + done;
        const auto next = blocks.upper_bound(at);
        if (next == blocks.begin())
            return GC_ERR_INVALID_ADDRESS;
        auto& [start, block] = *std::prev(next);
        if (at >= start + block.mBytes.size())
            return GC_ERR_INVALID_ADDRESS;
        const auto offset = static_cast<std::size_t>(at - start);
        const std::size_t count = std::min(size - done, block.mBytes.size() - offset);
        if (const GC_ERROR result = visit(block, offset, count, done))
            return result;
        done += count;
    }
    return GC_ERR_SUCCESS;
}

}

RegisterSpace::RegisterSpace(std::shared_ptr<const RegisterLayout> layout) : mLayout(std::move(layout))
{
    for (const RegisterRegion& region : mLayout->Regions())
        mBlocks[region.mAddress] = Block{region.mAccess, std::vector<std::uint8_t>(region.mLength)};
}

void RegisterSpace::MapBlock(std::uint64_t address, std::vector<std::uint8_t> content, Access access)
{
    mBlocks[address] = Block{access, std::move(content)};
}

GC_ERROR RegisterSpace::Read(std::uint64_t address, void* buffer, std::size_t size, bool checkAccess) const
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    const GC_ERROR checked = WalkBlocks(mBlocks, address, size, [&](const auto& block, std::size_t, std::size_t, std::size_t) {
        return checkAccess && block.mAccess == Access::WriteOnly ? GC_ERR_ACCESS_DENIED : GC_ERR_SUCCESS;
    });
    if (checked != GC_ERR_SUCCESS)
        return checked;
    return WalkBlocks(mBlocks, address, size, [&](const auto& block, std::size_t offset, std::size_t count, std::size_t done) {
        std::memcpy(out + done, block.mBytes.data() + offset, count);
        return GC_ERR_SUCCESS;
    });
}

bool RegisterSpace::IsMapped(std::uint64_t address, std::size_t size) const
{
    return WalkBlocks(mBlocks, address, size, [](const auto&, std::size_t, std::size_t, std::size_t) {
               return GC_ERR_SUCCESS;
           }) == GC_ERR_SUCCESS;
}

GC_ERROR RegisterSpace::Write(std::uint64_t address, const void* buffer, std::size_t size, bool checkAccess)
{
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    const GC_ERROR checked = WalkBlocks(mBlocks, address, size, [&](const auto& block, std::size_t, std::size_t, std::size_t) {
        return checkAccess && block.mAccess == Access::ReadOnly ? GC_ERR_ACCESS_DENIED : GC_ERR_SUCCESS;
    });
    if (checked != GC_ERR_SUCCESS)
        return checked;
    return WalkBlocks(mBlocks, address, size, [&](auto& block, std::size_t offset, std::size_t count, std::size_t done) {
        std::memcpy(block.mBytes.data() + offset, in + done, count);
        return GC_ERR_SUCCESS;
    });
}

const RegisterField& RegisterSpace::Field(const std::string& name) const
{
    if (const RegisterField* field = mLayout->FindField(name))
        return *field;
    throw std::out_of_range("the description has no register " + name);
}

std::uint64_t RegisterSpace::GetRaw(const RegisterField& field) const
{
    std::uint8_t bytes[8] = {};
    const std::uint32_t length = std::min<std::uint32_t>(field.mLength, 8);
    Read(field.mAddress, bytes, length, false);
    std::uint64_t raw = 0;
    for (std::uint32_t i = 0; i < length; ++i) {
        const std::uint32_t index = field.mBigEndian ? i : length - 1 - i;
        raw = (raw << 8) | bytes[index];
    }
    return raw;
}

void RegisterSpace::SetRaw(const RegisterField& field, std::uint64_t raw)
{
    std::uint8_t bytes[8] = {};
    const std::uint32_t length = std::min<std::uint32_t>(field.mLength, 8);
    for (std::uint32_t i = 0; i < length; ++i) {
        const std::uint32_t index = field.mBigEndian ? length - 1 - i : i;
        bytes[index] = static_cast<std::uint8_t>(raw >> (8 * i));
    }
    Write(field.mAddress, bytes, length, false);
}

std::int64_t RegisterSpace::GetInteger(const std::string& name) const
{
    const RegisterField& field = Field(name);
    const unsigned width = field.mHighBit - field.mLowBit + 1;
    std::uint64_t value = GetRaw(field) >> field.mLowBit;
    if (width < 64) {
        value &= (std::uint64_t{1} << width) - 1;
        if (field.mSigned && (value >> (width - 1)) != 0)
            value |= ~std::uint64_t{0} << width;
    }
    return static_cast<std::int64_t>(value);
}

void RegisterSpace::SetInteger(const std::string& name, std::int64_t value)
{
    const RegisterField& field = Field(name);
    const unsigned width = field.mHighBit - field.mLowBit + 1;
    const std::uint64_t mask =
        (width < 64 ? (std::uint64_t{1} << width) - 1 : ~std::uint64_t{0}) << field.mLowBit;
    const std::uint64_t raw = (GetRaw(field) & ~mask) | ((static_cast<std::uint64_t>(value) << field.mLowBit) & mask);
    SetRaw(field, raw);
}

double RegisterSpace::GetFloat(const std::string& name) const
{
    const RegisterField& field = Field(name);
    const std::uint64_t raw = GetRaw(field);
    if (field.mLength == 4) {
        const auto bits = static_cast<std::uint32_t>(raw);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

void RegisterSpace::SetFloat(const std::string& name, double value)
{
    const RegisterField& field = Field(name);
    if (field.mLength == 4) {
        const auto single = static_cast<float>(value);
        std::uint32_t bits;
        std::memcpy(&bits, &single, sizeof bits);
        SetRaw(field, bits);
        return;
    }
    std::uint64_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    SetRaw(field, raw);
}

void RegisterSpace::SetText(const std::string& name, const std::string& text)
{
    const RegisterField& field = Field(name);
    // Zero-padded, and always terminated within the register.
    std::vector<std::uint8_t> bytes(field.mLength, 0);
    std::memcpy(bytes.data(), text.data(), std::min<std::size_t>(text.size(), field.mLength - 1));
    Write(field.mAddress, bytes.data(), bytes.size(), false);
}

bool RegisterSpace::Touches(const std::string& name, std::uint64_t address, std::size_t size) const
{
    const RegisterField* field = mLayout->FindField(name);
    return field != nullptr && address < field->mAddress + field->mLength && field->mAddress < address + size;
}

}
