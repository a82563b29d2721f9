// One camera's register memory: the regions its description maps plus the
// blocks the camera serves by itself (description, URLs). Reads and writes
// must lie wholly in mapped memory and respect each region's access.
#pragma once

#include "camsim/RegisterLayout.h"
#include "TLI.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace CamSim {

class RegisterSpace {
public:
    explicit RegisterSpace(std::shared_ptr<const RegisterLayout> layout);

    // Maps a block of memory (replacing one at that address) with its content.
    void MapBlock(std::uint64_t address, std::vector<std::uint8_t> content, Access access);

    // GC_ERR_INVALID_ADDRESS when any byte is unmapped; with access checked,
    // GC_ERR_ACCESS_DENIED for reading write-only or writing read-only memory.
    // A refused write changes nothing.
    GC_ERROR Read(std::uint64_t address, void* buffer, std::size_t size, bool checkAccess) const;
    bool IsMapped(std::uint64_t address, std::size_t size) const;
    GC_ERROR Write(std::uint64_t address, const void* buffer, std::size_t size, bool checkAccess);

    // Register nodes by name; a name the description lacks raises
    // std::out_of_range (a model's code and its description disagree).
    std::int64_t GetInteger(const std::string& field) const;
    void SetInteger(const std::string& field, std::int64_t value);
    double GetFloat(const std::string& field) const;
    void SetFloat(const std::string& field, double value);
    void SetText(const std::string& field, const std::string& text);
    bool HasField(const std::string& field) const { return mLayout->FindField(field) != nullptr; }
    // Whether [address, address + size) touches the field's register.
    bool Touches(const std::string& field, std::uint64_t address, std::size_t size) const;

private:
    struct Block {
        Access mAccess;
        std::vector<std::uint8_t> mBytes;
    };
    const RegisterField& Field(const std::string& name) const;
    std::uint64_t GetRaw(const RegisterField& field) const;
    void SetRaw(const RegisterField& field, std::uint64_t raw);

    std::shared_ptr<const RegisterLayout> mLayout;
    std::map<std::uint64_t, Block> mBlocks;
};

}
