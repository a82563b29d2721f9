#include "Tags.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace GenApi {
namespace Detail {

namespace {

// Every element of a description passes here, so the lookup is a small open
// hash table of its own. The hash takes the length and three characters,
// which tells the element names apart nearly without collisions.
constexpr std::size_t kSlots = 256;

std::size_t Hash(const char* name, std::size_t length)
{
    const auto at = [name](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(name[i])); };
    return (length + at(0) * 13 + at(length - 1) + at(length / 2) * 13) % kSlots;
}

struct Table {
    std::array<std::pair<std::string_view, Tag>, kSlots> mSlots{};

    Table(std::initializer_list<std::pair<std::string_view, Tag>> tags)
    {
        for (const auto& tag : tags) {
            std::size_t slot = Hash(tag.first.data(), tag.first.size());
            while (!mSlots[slot].first.empty()) {
                slot = (slot + 1) % kSlots;
            }
            mSlots[slot] = tag;
        }
    }

    Tag Find(const char* name) const
    {
        const std::size_t length = std::strlen(name);
        if (length == 0) {
            return Tag::Unknown;
        }
        for (std::size_t slot = Hash(name, length); !mSlots[slot].first.empty(); slot = (slot + 1) % kSlots) {
            const std::string_view candidate = mSlots[slot].first;
            if (candidate.size() == length && candidate[0] == name[0] &&
                std::memcmp(candidate.data(), name, length) == 0) {
                return mSlots[slot].second;
            }
        }
        return Tag::Unknown;
    }
};

} // namespace

Tag TagOf(const char* name)
{
    static const Table tags = {
        {"Node", Tag::Node},
        {"Category", Tag::Category},
        {"Integer", Tag::Integer},
        {"IntReg", Tag::IntReg},
        {"MaskedIntReg", Tag::MaskedIntReg},
        {"Boolean", Tag::Boolean},
        {"Command", Tag::Command},
        {"Float", Tag::Float},
        {"FloatReg", Tag::FloatReg},
        {"String", Tag::String},
        {"StringReg", Tag::StringReg},
        {"Register", Tag::Register},
        {"Enumeration", Tag::Enumeration},
        {"EnumEntry", Tag::EnumEntry},
        {"SwissKnife", Tag::SwissKnife},
        {"IntSwissKnife", Tag::IntSwissKnife},
        {"Converter", Tag::Converter},
        {"IntConverter", Tag::IntConverter},
        {"Port", Tag::Port},
        {"StructReg", Tag::StructReg},
        {"StructEntry", Tag::StructEntry},
        {"Group", Tag::Group},
        {"ToolTip", Tag::ToolTip},
        {"Description", Tag::Description},
        {"DisplayName", Tag::DisplayName},
        {"Visibility", Tag::Visibility},
        {"EventID", Tag::EventID},
        {"pIsImplemented", Tag::pIsImplemented},
        {"pIsAvailable", Tag::pIsAvailable},
        {"pIsLocked", Tag::pIsLocked},
        {"ImposedAccessMode", Tag::ImposedAccessMode},
        {"pAlias", Tag::pAlias},
        {"pCastAlias", Tag::pCastAlias},
        {"pInvalidator", Tag::pInvalidator},
        {"Streamable", Tag::Streamable},
        {"PollingTime", Tag::PollingTime},
        {"Cachable", Tag::Cachable},
        {"Value", Tag::Value},
        {"pValue", Tag::pValue},
        {"pValueCopy", Tag::pValueCopy},
        {"Min", Tag::Min},
        {"pMin", Tag::pMin},
        {"Max", Tag::Max},
        {"pMax", Tag::pMax},
        {"Inc", Tag::Inc},
        {"pInc", Tag::pInc},
        {"Representation", Tag::Representation},
        {"Unit", Tag::Unit},
        {"DisplayNotation", Tag::DisplayNotation},
        {"DisplayPrecision", Tag::DisplayPrecision},
        {"pIndex", Tag::pIndex},
        {"ValueIndexed", Tag::ValueIndexed},
        {"pValueIndexed", Tag::pValueIndexed},
        {"ValueDefault", Tag::ValueDefault},
        {"pValueDefault", Tag::pValueDefault},
        {"pSelected", Tag::pSelected},
        {"pFeature", Tag::pFeature},
        {"OnValue", Tag::OnValue},
        {"OffValue", Tag::OffValue},
        {"CommandValue", Tag::CommandValue},
        {"pCommandValue", Tag::pCommandValue},
        {"NumericValue", Tag::NumericValue},
        {"Symbolic", Tag::Symbolic},
        {"IsSelfClearing", Tag::IsSelfClearing},
        {"Address", Tag::Address},
        {"pAddress", Tag::pAddress},
        {"Length", Tag::Length},
        {"pLength", Tag::pLength},
        {"AccessMode", Tag::AccessMode},
        {"pPort", Tag::pPort},
        {"Endianess", Tag::Endianess},
        {"Sign", Tag::Sign},
        {"LSB", Tag::LSB},
        {"MSB", Tag::MSB},
        {"Bit", Tag::Bit},
        {"pVariable", Tag::pVariable},
        {"Constant", Tag::Constant},
        {"Expression", Tag::Expression},
        {"Formula", Tag::Formula},
        {"FormulaTo", Tag::FormulaTo},
        {"FormulaFrom", Tag::FormulaFrom},
        {"Slope", Tag::Slope},
    };
    return tags.Find(name);
}

bool Ignorable(Tag tag)
{
    switch (tag) {
    // What a host shows and how: texts, how prominently, numbers' notation and unit.
    case Tag::ToolTip:
    case Tag::Description:
    case Tag::DisplayName:
    case Tag::Visibility:
    case Tag::Representation:
    case Tag::Unit:
    case Tag::DisplayNotation:
    case Tag::DisplayPrecision:
    // Hints to a host: whether to save the feature, how often to read it again.
    case Tag::Streamable:
    case Tag::PollingTime:
    // Other nodes that only present this one: the members of a category, an alias.
    case Tag::pFeature:
    case Tag::pAlias:
        return true;
    // Everything else counts, among them Cachable, pInvalidator and pSelected:
    // ignored, they would let a read return a stale value.
    default:
        return false;
    }
}

} // namespace Detail
} // namespace GenApi
