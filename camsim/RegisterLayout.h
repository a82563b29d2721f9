// Where a camera's registers lie, read from its own GenICam description: the
// mapped regions with their access, and every register node as a field the
// simulation can read and write by name. The description is the one source of
// the layout, so the register space and the description cannot disagree.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace CamSim {

enum class Access { ReadOnly, WriteOnly, ReadWrite };

struct RegisterRegion {
    std::uint64_t mAddress;
    std::uint32_t mLength;
    Access mAccess;
};

// One register node: an integer (possibly a bit field), a floating-point
// number, or raw bytes (strings, blocks).
struct RegisterField {
    enum class Kind { Integer, Float, Bytes };
    Kind mKind;
    std::uint64_t mAddress;
    std::uint32_t mLength;
    bool mBigEndian;
    bool mSigned;
    unsigned mLowBit;    // bits of the register's value, 0 = least significant
    unsigned mHighBit;
};

class RegisterLayout {
public:
    // Raises std::runtime_error when the description cannot be read.
    explicit RegisterLayout(const std::string& description);

    // Sorted by address; overlapping register nodes share one region.
    const std::vector<RegisterRegion>& Regions() const { return mRegions; }
    // Null when the description has no register node of that name.
    const RegisterField* FindField(const std::string& nodeName) const;

private:
    void AddRegion(std::uint64_t address, std::uint32_t length, Access access);

    std::vector<RegisterRegion> mRegions;
    std::map<std::string, RegisterField> mFields;
};

}
