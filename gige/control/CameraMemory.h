// The camera's memory and registers over its control channel: READREG and
// WRITEREG for single registers, READMEM in pieces for blocks, WRITEMEM in
// pieces when the camera has it, else one WRITEREG per word.
#pragma once

#include "common/Status.h"
#include "control/ControlChannel.h"

#include <cstddef>
#include <cstdint>

namespace Gige {

class CameraMemory {
public:
    explicit CameraMemory(ControlChannel& channel) : mChannel(channel) {}

    // From the capability register (0x0934): the camera answers WRITEMEM.
    void SetWriteMemory(bool available) { mWriteMemory = available; }

    Status ReadRegister(std::uint32_t address, std::uint32_t& value, bool silenceLoses = false);
    Status WriteRegister(std::uint32_t address, std::uint32_t value);
    // Bytes of the camera's memory as it holds them (registers big-endian).
    Status Read(std::uint64_t address, void* buffer, std::size_t size);
    // GC_ERR_INVALID_ADDRESS, writing nothing, for an address or size that
    // is not a multiple of 4 or a range past 32 bits.
    Status Write(std::uint64_t address, const void* buffer, std::size_t size);

private:
    Status ReadPiece(std::uint32_t address, std::uint32_t size, std::uint8_t* out);
    Status WritePiece(std::uint32_t address, const std::uint8_t* data, std::uint32_t size);

    ControlChannel& mChannel;
    bool mWriteMemory = false;
};

}
