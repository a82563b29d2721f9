#include "camsim/RegisterLayout.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace CamSim {

namespace {

std::uint64_t Number(const pugi::xml_node& node)
{
    return std::strtoull(node.child_value(), nullptr, 0);
}

Access ParseAccess(const char* text)
{
    if (std::strcmp(text, "RO") == 0)
        return Access::ReadOnly;
    if (std::strcmp(text, "WO") == 0)
        return Access::WriteOnly;
    return Access::ReadWrite;
}

Access Combine(Access a, Access b)
{
    return a == b ? a : Access::ReadWrite;
}

// Bit numbers in the description count from the most significant bit for
// big-endian registers and from the least significant one otherwise.
unsigned ValueBit(const pugi::xml_node& bit, std::uint32_t length, bool bigEndian)
{
    const auto n = static_cast<unsigned>(Number(bit));
    return bigEndian ? length * 8 - 1 - n : n;
}

void SetBits(RegisterField& field, const pugi::xml_node& source)
{
    if (const auto bit = source.child("Bit")) {
        field.mLowBit = field.mHighBit = ValueBit(bit, field.mLength, field.mBigEndian);
    } else if (source.child("LSB") && source.child("MSB")) {
        field.mLowBit = ValueBit(source.child("LSB"), field.mLength, field.mBigEndian);
        field.mHighBit = ValueBit(source.child("MSB"), field.mLength, field.mBigEndian);
    }
    if (field.mLowBit > field.mHighBit || field.mHighBit >= 64)
        throw std::runtime_error("bad bit field in the description");
}

}

RegisterLayout::RegisterLayout(const std::string& description)
{
    pugi::xml_document document;
    if (!document.load_buffer(description.data(), description.size()))
        throw std::runtime_error("the description is not XML");
    const pugi::xml_node root = document.child("RegisterDescription");
    for (const pugi::xpath_node& found : root.select_nodes(
             ".//IntReg | .//MaskedIntReg | .//FloatReg | .//StringReg | .//Register | .//StructReg")) {
        const pugi::xml_node node = found.node();
        if (!node.child("Address"))
            continue;
        std::uint64_t address = 0;
        for (const pugi::xml_node part : node.children("Address"))
            address += Number(part);
        const auto length = static_cast<std::uint32_t>(Number(node.child("Length")));
        if (length == 0)
            throw std::runtime_error("register without length in the description");
        AddRegion(address, length, ParseAccess(node.child_value("AccessMode")));

        RegisterField field{};
        field.mAddress = address;
        field.mLength = length;
        field.mBigEndian = std::strcmp(node.child_value("Endianess"), "BigEndian") == 0;
        field.mSigned = std::strcmp(node.child_value("Sign"), "Signed") == 0;
        field.mLowBit = 0;
        field.mHighBit = length >= 8 ? 63 : length * 8 - 1;
        const std::string type = node.name();
        if (type == "FloatReg") {
            field.mKind = RegisterField::Kind::Float;
        } else if (type == "StringReg" || type == "Register") {
            field.mKind = RegisterField::Kind::Bytes;
        } else {
            field.mKind = RegisterField::Kind::Integer;
        }
        if (type == "StructReg") {
            for (const pugi::xml_node entry : node.children("StructEntry")) {
                RegisterField entryField = field;
                entryField.mSigned = std::strcmp(entry.child_value("Sign"), "Signed") == 0;
                SetBits(entryField, entry);
                mFields[entry.attribute("Name").value()] = entryField;
            }
            continue;
        }
        if (type == "MaskedIntReg")
            SetBits(field, node);
        mFields[node.attribute("Name").value()] = field;
    }
}

void RegisterLayout::AddRegion(std::uint64_t address, std::uint32_t length, Access access)
{
    std::uint64_t begin = address;
    std::uint64_t end = address + length;
    // Merge every region this one overlaps into it.
    auto it = std::find_if(mRegions.begin(), mRegions.end(),
                           [&](const RegisterRegion& r) { return r.mAddress + r.mLength > begin; });
    while (it != mRegions.end() && it->mAddress < end) {
        begin = std::min(begin, it->mAddress);
        end = std::max(end, it->mAddress + it->mLength);
        access = Combine(access, it->mAccess);
        it = mRegions.erase(it);
    }
    mRegions.insert(it, RegisterRegion{begin, static_cast<std::uint32_t>(end - begin), access});
}

const RegisterField* RegisterLayout::FindField(const std::string& nodeName) const
{
    const auto found = mFields.find(nodeName);
    return found == mFields.end() ? nullptr : &found->second;
}

}
