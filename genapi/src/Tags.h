// The element names of a camera description that the loader understands.
// Everything else is skipped.
#ifndef GENAPI_DETAIL_TAGS_H
#define GENAPI_DETAIL_TAGS_H

#include <cstdint>

namespace GenApi {
namespace Detail {

enum class Tag : uint8_t {
    Unknown,
    // Node kinds
    Node,
    Category,
    Integer,
    IntReg,
    MaskedIntReg,
    Boolean,
    Command,
    Float,
    FloatReg,
    String,
    StringReg,
    Register,
    Enumeration,
    EnumEntry,
    SwissKnife,
    IntSwissKnife,
    Converter,
    IntConverter,
    Port,
    StructReg,
    StructEntry,
    Group,
    // Common node elements
    ToolTip,
    Description,
    DisplayName,
    Visibility,
    EventID,
    pIsImplemented,
    pIsAvailable,
    pIsLocked,
    ImposedAccessMode,
    pAlias,
    pCastAlias,
    pInvalidator,
    Streamable,
    PollingTime,
    Cachable,
    // Values
    Value,
    pValue,
    pValueCopy,
    Min,
    pMin,
    Max,
    pMax,
    Inc,
    pInc,
    Representation,
    Unit,
    DisplayNotation,
    DisplayPrecision,
    pIndex,
    ValueIndexed,
    pValueIndexed,
    ValueDefault,
    pValueDefault,
    pSelected,
    pFeature,
    OnValue,
    OffValue,
    CommandValue,
    pCommandValue,
    NumericValue,
    Symbolic,
    IsSelfClearing,
    // Registers
    Address,
    pAddress,
    Length,
    pLength,
    AccessMode,
    pPort,
    Endianess,
    Sign,
    LSB,
    MSB,
    Bit,
    // Formulas
    pVariable,
    Constant,
    Expression,
    Formula,
    FormulaTo,
    FormulaFrom,
    Slope,
};

Tag TagOf(const char* name);

// Whether the element changes nothing the map computes (no value, range,
// address, access mode or cached read), so that an empty or malformed one
// is passed over with a warning instead of failing the description.
bool Ignorable(Tag tag);

} // namespace Detail
} // namespace GenApi

#endif
