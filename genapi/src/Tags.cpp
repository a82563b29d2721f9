#include "Tags.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <cstdint>
#include <utility>

namespace GenApi {
namespace Detail {

namespace {

// Every element of a description passes here, so the lookup is a small open
// hash table of its own rather than a general-purpose map.
constexpr std::size_t kSlots = 512;

uint32_t Hash(std::string_view name)
{
    uint32_t hash = 2166136261u;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

struct Table {
    std::array<std::pair<std::string_view, Tag>, kSlots> mSlots{};

    Table(std::initializer_list<std::pair<std::string_view, Tag>> tags)
    {
        for (const auto& tag : tags) {
            std::size_t slot = Hash(tag.first) % kSlots;
            while (!mSlots[slot].first.empty()) {
                slot = (slot + 1) % kSlots;
            }
            mSlots[slot] = tag;
        }
    }

    Tag Find(const char* name) const
    {
        // Hashing and measuring the zero-terminated name in one pass.
        uint32_t hash = 2166136261u;
        std::size_t length = 0;
        for (; name[length]; ++length) {
            hash = (hash ^ static_cast<unsigned char>(name[length])) * 16777619u;
        }
        const std::string_view key(name, length);
        for (std::size_t slot = hash % kSlots; !mSlots[slot].first.empty(); slot = (slot + 1) % kSlots) {
            if (mSlots[slot].first == key) {
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

} // namespace Detail
} // namespace GenApi
