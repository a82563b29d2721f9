#include "IntRegNode.h"

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

namespace {
constexpr int64_t kMaxIntegerLength = 8;
} // namespace

bool IntRegNode::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    if (ConfigureDisplay(tag, element, loader)) {
        return true;
    }
    switch (tag) {
    case Tag::Sign:
        mSign = loader.Sign(element);
        return true;
    case Tag::Endianess:
        mEndianess = loader.Endianess(element);
        return true;
    case Tag::LSB:
        mLsb = loader.Integer(element);
        return true;
    case Tag::MSB:
        mMsb = loader.Integer(element);
        return true;
    case Tag::Bit:
        mLsb = mMsb = loader.Integer(element);
        return true;
    case Tag::pSelected:
        loader.Reference(*this, element, Loader::Link::Selects);
        return true;
    default:
        return RegisterBase::ConfigureElement(tag, element, loader);
    }
}

void IntRegNode::TakeStructSettings(const IntRegNode& first)
{
    TakeSettings(first);
    mAccess.TakePlace(first.mAccess);
    mSign = first.mSign;
    mEndianess = first.mEndianess;
    mLsb = first.mLsb;
    mMsb = first.mMsb;
    mRepresentation = first.mRepresentation;
    mUnit = first.mUnit;
}

void IntRegNode::Finish(const pugi::xml_node& element, Loader& loader)
{
    RegisterBase::Finish(element, loader);
    if (mMasked) {
        // A field named by one end only is one bit wide.
        if (mLsb < 0 && mMsb < 0) {
            loader.Fail(element, "a bit field needs a Bit or LSB and MSB");
        }
        if (mLsb < 0) {
            mLsb = mMsb;
        }
        if (mMsb < 0) {
            mMsb = mLsb;
        }
    }
    if (!mAccess.HasLiteralLength()) {
        return;
    }
    const int64_t length = Length();
    if (length > kMaxIntegerLength) {
        loader.Fail(element, "an integer register holds 1 to 8 bytes, not %s", FormatInt(length).c_str());
    }
    BitRange range;
    if (mMasked && !DescribedRange(mLsb, mMsb, static_cast<std::size_t>(length), mEndianess, range)) {
        loader.Fail(element, "bits %s to %s lie outside a register of %s bytes", FormatInt(mLsb).c_str(),
                    FormatInt(mMsb).c_str(), FormatInt(length).c_str());
    }
}

BitRange IntRegNode::Range()
{
    const int64_t length = Length();
    if (length < 1 || length > kMaxIntegerLength) {
        throw RUNTIME_EXCEPTION("Node '%s': an integer register holds 1 to 8 bytes, not %s", mName.data(),
                                FormatInt(length).c_str());
    }
    BitRange range;
    if (!mMasked) {
        range.mLow = 0;
        range.mHigh = static_cast<unsigned>(length * 8 - 1);
    } else if (!DescribedRange(mLsb, mMsb, static_cast<std::size_t>(length), mEndianess, range)) {
        throw RUNTIME_EXCEPTION("Node '%s': bits %s to %s lie outside a register of %s bytes", mName.data(),
                                FormatInt(mLsb).c_str(), FormatInt(mMsb).c_str(), FormatInt(length).c_str());
    }
    return range;
}

Number IntRegNode::ReadNumber(bool, bool ignoreCache)
{
    const BitRange range = Range();
    const std::vector<uint8_t> bytes = ReadBytes(ignoreCache);
    const uint64_t raw = LoadUnsigned(bytes.data(), bytes.size(), mEndianess);
    return Number::Int(ExtractField(raw, range, mSign == Signed));
}

void IntRegNode::WriteNumber(Number value, bool)
{
    const BitRange range = Range();
    const int64_t field = ToInt64(value, mName.data());
    std::vector<uint8_t> bytes;
    // Bits around a field keep what the camera holds; a register that cannot
    // be read has nothing to keep.
    if (mMasked && IsReadable(mAccess.Access())) {
        bytes = ReadBytes(false);
    } else {
        bytes.assign(static_cast<std::size_t>(Length()), 0);
    }
    const uint64_t raw = LoadUnsigned(bytes.data(), bytes.size(), mEndianess);
    StoreUnsigned(InsertField(raw, range, field), bytes.data(), bytes.size(), mEndianess);
    WriteBytes(bytes);
}

Number IntRegNode::MinNumber() { return Number::Int(FieldMin(Range(), mSign == Signed)); }

Number IntRegNode::MaxNumber() { return Number::Int(FieldMax(Range(), mSign == Signed)); }

} // namespace Detail
} // namespace GenApi
