#include "FloatRegNode.h"

#include <cfloat>
#include <cstring>

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "BitField.h"
#include "Loader.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

bool FloatRegNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (ConfigureDisplay(tag, element, loader)) {
        return true;
    }
    switch (tag) {
    case Tag::Endianess:
        mEndianess = loader.Endianess(element);
        return true;
    case Tag::pSelected:
        loader.Reference(*this, element, Loader::Link::Selects);
        return true;
    default:
        return RegisterBase::ConfigureElement(tag, element, loader);
    }
}

void FloatRegNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    RegisterBase::Finish(element, loader);
    if (mAccess.HasLiteralLength() && Length() != 4 && Length() != 8) {
        loader.Fail(element, "a float register holds 4 or 8 bytes, not %s", FormatInt(Length()).c_str());
    }
}

int64_t FloatRegNode::CheckedLength()
{
    const int64_t length = Length();
    if (length != 4 && length != 8) {
        throw RUNTIME_EXCEPTION("Node '%s': a float register holds 4 or 8 bytes, not %s", mName.data(),
                                FormatInt(length).c_str());
    }
    return length;
}

Number FloatRegNode::ReadNumber(bool, bool ignoreCache)
{
    const int64_t length = CheckedLength();
    const std::vector<uint8_t> bytes = ReadBytes(ignoreCache);
    const uint64_t raw = LoadUnsigned(bytes.data(), bytes.size(), mEndianess);
    if (length == 4) {
        const uint32_t bits = static_cast<uint32_t>(raw);
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return Number::Float(value);
    }
    double value = 0.0;
    std::memcpy(&value, &raw, sizeof value);
    return Number::Float(value);
}

void FloatRegNode::WriteNumber(Number number, bool)
{
    const int64_t length = CheckedLength();
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
    uint64_t raw = 0;
    if (length == 4) {
        const float value = static_cast<float>(number.AsFloat());
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        raw = bits;
    } else {
        const double value = number.AsFloat();
        std::memcpy(&raw, &value, sizeof raw);
    }
    StoreUnsigned(raw, bytes.data(), bytes.size(), mEndianess);
    WriteBytes(bytes);
}

Number FloatRegNode::MinNumber() { return Number::Float(CheckedLength() == 4 ? -FLT_MAX : -DBL_MAX); }

Number FloatRegNode::MaxNumber() { return Number::Float(CheckedLength() == 4 ? FLT_MAX : DBL_MAX); }

} // namespace Detail
} // namespace GenApi
